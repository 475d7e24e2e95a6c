// tarvo's run: switches, message file, library tables, analysis, report.
#pragma once
#include <cstdint>

#include "checker/base/pools.h"

extern int fu_stdout;          // the standard output as a file unit
extern int32_t return_code;    // exit status of a run that completes

int tarvo_main(int argc, char** argv);
