// tarvo's few dependencies on the host: the date and time of the run, the
// sizing of the global symbol store, empty timing hooks, and the search for
// the file of an INCLUDE line (VMS-style names, logical-name mapping, search
// directories).
#pragma once
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

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

// Rewrites a VMS-style include name in place ("/list", "/nolist" cut, a
// logical name mapped through LOGICALNAMEMAPPING); returns the module name
// of a text-library reference "lib(module)", or "" when there is none.
std::string parse_vms_include_name(std::string& name);
// The absolute directory of an included file named with a directory part,
// from the working directory wd; "" when it has none or cannot be formed.
std::string set_incdir(const std::string& name, const std::string& wd);

// Where an INCLUDE file is looked for.
struct IncludeSearch {
  std::string incdir;     // directory of the including file ("" none)
  std::string startdir;   // working directory at the start of the analysis
  std::vector<std::string> paths;  // include paths in the order given
  bool vms;               // VMS dialect: also lower and upper case forms
  bool lowercase;         // internal word lowercase_includes
  bool ignore_logicals;   // drop "dev:" and "[dir]" prefixes
  bool ignore_paths;      // drop every directory part
};
// The file name of an INCLUDE constant made ready for the search: control
// characters and blanks dropped, "\" turned into "/", VMS names parsed and
// the name options applied.
std::string include_name(const std::string& text, const IncludeSearch& how);
// Opens the first file that the search finds, for reading; null when none,
// with failed holding the last name tried. path gets the name opened.
std::FILE* include_open(const std::string& name, const IncludeSearch& how,
                        std::string& path, std::string& failed);
