// Fuzz target: a module file read by USE. The input is written as the module
// file M.mod of a private folder, and a small program that uses M (and
// references what a module usually exports) is compiled against it in
// process, as srcfront_main would. A damaged file must end the run with a
// diagnostic (module file has bad format, invalid intermediate language
// file) or compile; a crash or an internal error traps.
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

// The program that uses the module: every kind of name a module exports
// (types, variables, procedures, generics, operators, namelists) is tried.
constexpr const char user_program[] =
    "program u\n"
    "use m\n"
    "type(pair) q\n"
    "q = p + p\n"
    "call s(n)\n"
    "write (*, nml=g)\n"
    "print *, v, q%a\n"
    "end program u\n";

// A private working folder holding the program and the module folder, made
// once; the program is written once too.
const std::string& work_folder() {
  static std::string folder = [] {
    char templ[] = "/tmp/fuzz_module_file.XXXXXX";
    const char* made = mkdtemp(templ);
    if (!made) __builtin_trap();
    std::string f = made;
    std::string inc = f + "/include";
    std::string mods = f + "/mods";
    mkdir(inc.c_str(), 0700);
    mkdir(mods.c_str(), 0700);
    setenv("USR_INCLUDE", inc.c_str(), 1);
    if (chdir(f.c_str()) != 0) __builtin_trap();
    FILE* p = std::fopen((f + "/u.f90").c_str(), "wb");
    if (!p) __builtin_trap();
    std::fputs(user_program, p);
    std::fclose(p);
    return f;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = work_folder();
  std::string mods = folder + "/mods";
  FILE* f = std::fopen((mods + "/M.mod").c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  std::string source = folder + "/u.f90";
  std::vector<std::string> words = {"srcfront", "-n", "-M", mods, source};
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
  pools_reset();
  return 0;
}
