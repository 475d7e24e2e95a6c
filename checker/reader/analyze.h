// The analysis of a tarvo run: the passes over the source files and, per
// file, the loop over its program units (statement reader, dispatch, end of
// unit checks).
#pragma once

#include <cstdint>

// Runs every pass of the analysis over the source files of the run.
void analyzesources();

// Progress display of the parse: kind 1 starts it, 2 shows the percentage,
// 4 ends it.
void progress(int32_t kind, int32_t percent);
