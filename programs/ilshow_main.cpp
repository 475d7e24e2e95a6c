// ilshow: prints the program database of an IL file.
#include "ilshow/ilshow.h"

int main(int argc, char** argv) { return ilshow_main(argc, argv); }
