// The analysis of a tarvo run: the passes over the source files and, per
// file, the loop over its program units (statement reader, dispatch, end of
// unit checks).
#pragma once

#include <cstdint>

#include "checker/base/passes.h"

// Prepares the reader for a run: option values from the switches, the
// message hooks that tell errmsg where the current statement stands, the
// expression reader that the argument checks call, and the keyword index.
void reader_begin_run();

// Runs every pass of the analysis over the source files of the run.
void analyzesources();

// Reads every program unit of the file that srcbeg opened, in the pass that
// an is set to.
void analyze_open_file();

// Progress display of the parse: kind 1 starts it, 2 shows the percentage,
// 4 ends it.
void progress(int32_t kind, int32_t percent);
