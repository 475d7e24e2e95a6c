// srcfront's main program (being built).
#include "frontend/driver/driver.h"

int srcfront_main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  return 4;
}
