// tarvo's main program. Until the switches and the analysis exist it ends
// with the status of a run that has nothing to check.
#include "checker/tarvo.h"

int tarvo_main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  return 4;
}
