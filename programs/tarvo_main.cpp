// tarvo: the Fortran checker.
#include "checker/tarvo.h"

int main(int argc, char** argv) { return tarvo_main(argc, argv); }
