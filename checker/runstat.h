// Run statistics and the last steps of tarvo's main program.
#pragma once
#include <cstdint>

// Message groups of the statistics; a group whose option is off is not
// counted (-1).
enum : int { SG_USAGE, SG_GLOBAL, SG_PORT, SG_WARN, SG_FYI, SG_IMPLICIT, SG_COUNT };
extern int32_t statmsg[SG_COUNT];

void initstat();
void summaryout();   // SUMMARY report: nothing yet
void prnstat();      // STATISTICS report: nothing yet
void doanalysis();   // progress display around analyzesources
// The process status of a completed run: with the shell-exit option the
// return codes 1 and 2 become 0.
int exitstatus(int32_t code, int32_t shellexit);
