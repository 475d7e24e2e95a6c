// ilshow's run: reads one IL file and prints its program database.
#pragma once

int ilshow_main(int argc, char** argv);
