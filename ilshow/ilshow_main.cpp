// ilshow's main program. Until the IL reader and the database writer exist it
// only checks its command line.
#include "ilshow/ilshow.h"

#include <cstdio>

int ilshow_main(int argc, char** argv) {
  (void)argv;
  if (argc < 2) {
    std::fputs("Command-line error: IL display requires name of IL file\n", stderr);
    return 4;
  }
  return 4;
}
