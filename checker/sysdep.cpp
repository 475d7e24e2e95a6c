// Host services of tarvo: the date and time for the report headers, the size
// of the in-memory global symbol store, the timing hooks, and the search of
// an INCLUDE file along the directories that the INCLUDE rules name.
#include "checker/sysdep.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include "checker/common/symtable.h"

std::time_t origtime = 0;

namespace {

constexpr int32_t memglo_records = 100000;   // global records kept in memory

bool isabsolute(const std::string& p) { return !p.empty() && p[0] == '/'; }

std::string joinpath(const std::string& dir, const std::string& name) {
  if (dir.empty() || isabsolute(name)) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string uppered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

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

std::string parse_vms_include_name(std::string& name) {
  std::string module;
  std::string file;
  size_t i = 0;
  for (; i < name.size(); ++i) {
    char c = name[i];
    if (c == '(') {
      size_t close = name.find(')', i + 1);
      module = name.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
      break;
    }
    if (c == ')') break;
    if (c == '/') {
      std::string rest = lowered(name.substr(i));
      if (rest == "/list" || rest == "/nolist") break;
    }
    file += c;
  }
  // A logical name before the first ":" is looked up in LOGICALNAMEMAPPING
  // ("NAME=dir;NAME2=dir2").
  size_t colon = file.find(':');
  if (colon != std::string::npos && colon > 0) {
    std::string logical = file.substr(0, colon);
    if (const char* map = std::getenv("LOGICALNAMEMAPPING")) {
      std::string m = map;
      size_t start = 0;
      while (start <= m.size()) {
        size_t semi = m.find(';', start);
        if (semi == std::string::npos) semi = m.size();
        std::string entry = m.substr(start, semi - start);
        size_t eq = entry.find('=');
        if (eq != std::string::npos && entry.substr(0, eq) == logical) {
          file = joinpath(entry.substr(eq + 1), file.substr(colon + 1));
          break;
        }
        start = semi + 1;
      }
    }
  }
  name = file;
  return module;
}

std::string set_incdir(const std::string& name, const std::string& wd) {
  size_t slash = name.rfind('/');
  if (slash == std::string::npos) return std::string();
  std::string dir = name.substr(0, slash);
  if (dir.empty()) return "/";
  if (isabsolute(dir)) return dir;
  if (wd.empty()) return std::string();
  std::string base = wd;
  size_t p = 0;
  for (;;) {
    if (dir.compare(p, 2, "./") == 0) {
      p += 2;
    } else if (dir.compare(p, 3, "../") == 0) {
      size_t up = base.rfind('/');
      base = up == std::string::npos || up == 0 ? std::string("/") : base.substr(0, up);
      p += 3;
    } else {
      break;
    }
  }
  std::string rest = dir.substr(p);
  if (rest == ".") return base;
  if (rest == "..") {
    size_t up = base.rfind('/');
    return up == std::string::npos || up == 0 ? std::string("/") : base.substr(0, up);
  }
  return rest.empty() ? base : joinpath(base, rest);
}

std::string include_name(const std::string& text, const IncludeSearch& how) {
  std::string name;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < '!') continue;
    name += c == '\\' ? '/' : c;
  }
  if (how.vms) {
    std::string module = parse_vms_include_name(name);
    if (!module.empty()) name = module;
  }
  if (how.lowercase) name = lowered(name);
  if (how.ignore_logicals) {
    size_t cut = std::string::npos;
    for (size_t i = 0; i < name.size(); ++i) {
      if (name[i] == ']') cut = i;
      if (name[i] == ':' && !(i + 1 < name.size() && (name[i + 1] == '/' || name[i + 1] == '\\'))) {
        cut = i;
      }
    }
    if (cut != std::string::npos) name.erase(0, cut + 1);
  }
  if (how.ignore_paths) {
    size_t cut = name.find_last_of("/\\");
    if (cut != std::string::npos) name.erase(0, cut + 1);
  }
  return name;
}

std::FILE* include_open(const std::string& name, const IncludeSearch& how,
                        std::string& path, std::string& failed) {
  std::vector<std::string> forms{name};
  if (how.vms) {
    forms.push_back(lowered(name));
    forms.push_back(uppered(name));
  }
  // A relative directory is taken from the start directory.
  auto fromstart = [&](const std::string& dir) {
    return isabsolute(dir) ? dir : joinpath(how.startdir, dir);
  };
  std::vector<std::string> dirs;
  dirs.push_back(fromstart(how.incdir));
  for (const std::string& p : how.paths) dirs.push_back(fromstart(p));
  dirs.push_back(how.startdir);
  dirs.push_back("/usr/include");
  for (const std::string& form : forms) {
    for (const std::string& dir : dirs) {
      std::string candidate = joinpath(dir, form);
      if (std::FILE* fp = std::fopen(candidate.c_str(), "r")) {
        path = candidate;
        return fp;
      }
      failed = candidate;
    }
  }
  return nullptr;
}
