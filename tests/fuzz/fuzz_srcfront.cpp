// Fuzz target: one whole srcfront compilation of a source text, in process.
// Input: the first byte chooses the options (bit 0: fixed form, bit 1:
// case-sensitive names, bit 2: remarks shown), the rest is the source file.
// The run takes the steps of srcfront_main; a fatal end leaves the exit
// routine through the exit hook, which throws, so that the next input starts
// a fresh run. An internal error traps (a fault of the front end, as a crash
// is).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/driver/driver.h"
#include "frontend/base/host.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/source_input.h"

namespace {

struct run_ended {
  int completion_code;  // as given to the exit routine
};

void leave_run(int completion_code) {
  if (completion_code >= 6) __builtin_trap();
  throw run_ended{completion_code};
}

// A private working folder (module files land there, found again by USE in
// the same run) with an empty include folder, made once.
const std::string& work_folder() {
  static std::string folder = [] {
    char templ[] = "/tmp/fuzz_srcfront.XXXXXX";
    const char* made = mkdtemp(templ);
    if (!made) __builtin_trap();
    std::string f = made;
    std::string inc = f + "/include";
    mkdir(inc.c_str(), 0700);
    setenv("USR_INCLUDE", inc.c_str(), 1);
    if (chdir(f.c_str()) != 0) __builtin_trap();
    return f;
  }();
  return folder;
}

// Removes the module files of the previous run, so that every run stands
// on its own input.
void remove_module_files(const std::string& folder) {
  DIR* d = opendir(folder.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".mod") == 0)
      unlink((folder + "/" + name).c_str());
  }
  closedir(d);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string& folder = work_folder();
  uint8_t options = data[0];
  std::string source = folder + ((options & 1) ? "/input.f" : "/input.f90");
  FILE* f = std::fopen(source.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data + 1, 1, size - 1, f);
  std::fclose(f);

  remove_module_files(folder);
  std::vector<std::string> words = {"srcfront", "-n", "-M", folder};
  if (options & 1) words.push_back("-F");
  if (options & 2) words.push_back("-U");
  if (options & 4) words.push_back("-r");
  words.push_back(source);
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
  return 0;
}
