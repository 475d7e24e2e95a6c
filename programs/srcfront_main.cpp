// srcfront: the Fortran front end. The whole run lives in the driver library.
#include "frontend/driver/driver.h"

int main(int argc, char** argv) { return srcfront_main(argc, argv); }
