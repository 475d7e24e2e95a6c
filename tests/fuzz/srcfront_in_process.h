// One srcfront compilation run in process by a fuzz target, with the steps
// of srcfront_main: a fatal end leaves the exit routine through the exit
// hook, which throws, so that the next input starts a fresh run; an internal
// error traps (a fault of the front end, as a crash is).
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/host.h"
#include "frontend/base/pools.h"
#include "frontend/driver/driver.h"
#include "frontend/lexer/source_input.h"

namespace fuzz_srcfront_run {

struct run_ended {
  int completion_code;  // as given to the exit routine
};

inline void leave_run(int completion_code) {
  if (completion_code >= 6) __builtin_trap();
  throw run_ended{completion_code};
}

// Makes a private working folder from a mkdtemp template, with an empty
// include folder named by USR_INCLUDE, and makes it the current directory.
inline std::string make_work_folder(const char* prefix) {
  std::string templ = std::string("/tmp/") + prefix + ".XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  const char* made = mkdtemp(buf.data());
  if (!made) __builtin_trap();
  std::string f = made;
  std::string inc = f + "/include";
  mkdir(inc.c_str(), 0700);
  setenv("USR_INCLUDE", inc.c_str(), 1);
  if (chdir(f.c_str()) != 0) __builtin_trap();
  return f;
}

// Runs srcfront on the command-line words (the program name first).
inline void run(std::vector<std::string> words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  diagnostics_reset();
  driver_options_reset();
  host_reset();
  pools_reset();
  try {
    set_exit_hook(leave_run);
    process_command_line(static_cast<int>(words.size()), argv.data());
    compile_source();
  } catch (const run_ended&) {
  }
  source_close_all();  // a run cut short leaves its files open
  pools_reset();       // the run's memory goes back now, not at the next run
}

}  // namespace fuzz_srcfront_run
