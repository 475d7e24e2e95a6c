// Host services of tarvo: the date and time for the report headers, the size
// of the in-memory global symbol store and the timing hooks.
#include "checker/base/sysdep.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include "checker/common/symtable.h"

std::time_t origtime = 0;

namespace {

constexpr int32_t memglo_records = 100000;   // global records kept in memory

}  // namespace

void formatdate(std::time_t when, std::string& date, std::string& time) {
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm tmv{};
  localtime_r(&when, &tmv);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%2d-%s-%04d", tmv.tm_mday, months[tmv.tm_mon % 12],
                tmv.tm_year + 1900);
  date = buf;
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tmv.tm_hour, tmv.tm_min, tmv.tm_sec);
  time = buf;
}

void getcurdate(std::string& date, std::string& time) {
  std::time_t now = std::time(nullptr);
  if (const char* sde = std::getenv("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(sde, &end, 10);
    if (end != sde && *end == '\0' && errno == 0 && v >= 0) now = static_cast<std::time_t>(v);
  }
  origtime = now;
  formatdate(now, date, time);
}

void sizemem() { symt.memglomax = memglo_records; }
void inittimer() {}
void showmem() {}
void perfstat() {}

