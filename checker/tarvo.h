// tarvo's run: switches, message file, library tables, analysis, report.
#pragma once

int tarvo_main(int argc, char** argv);
