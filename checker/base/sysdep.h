// tarvo's few dependencies on the host: the date and time of the run, the
// sizing of the global symbol store and empty timing hooks. (The INCLUDE
// line, which also belongs to the host services, stands with the source
// reader's include stack.)
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

extern std::time_t origtime;   // when the run started

// Date as "dd-Mon-yyyy" (a blank for a day below 10) and time "hh:mm:ss".
// SOURCE_DATE_EPOCH, when it holds a number, stands for the clock, so that
// reports can be reproduced.
void getcurdate(std::string& date, std::string& time);
// The same texts for a given moment (local time).
void formatdate(std::time_t when, std::string& date, std::string& time);
void sizemem();    // global store: 100,000 records in memory
void inittimer();
void showmem();
void perfstat();

