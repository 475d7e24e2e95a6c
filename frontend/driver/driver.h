// srcfront's run: command line, compilation set-up, unit loop and output.
#pragma once

int srcfront_main(int argc, char** argv);
