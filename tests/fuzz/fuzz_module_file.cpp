// Fuzz target: a module file read by USE. The input is written as the module
// file M.mod of a private folder, and a small program that uses M (and
// references what a module usually exports) is compiled against it in
// process, as srcfront_main would. A damaged file must end the run with a
// diagnostic (module file has bad format, invalid intermediate language
// file) or compile; a crash or an internal error traps.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/fuzz/module_user_program.h"
#include "tests/fuzz/srcfront_in_process.h"

namespace {

// A private working folder holding the program and the module folder, made
// once; the program is written once too.
const std::string& work_folder() {
  static std::string folder = [] {
    std::string f = fuzz_srcfront_run::make_work_folder("fuzz_module_file");
    std::string mods = f + "/mods";
    mkdir(mods.c_str(), 0700);
    FILE* p = std::fopen((f + "/u.f90").c_str(), "wb");
    if (!p) __builtin_trap();
    std::fputs(module_user_program, p);
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
  fuzz_srcfront_run::run({"srcfront", "-n", "-M", mods, source});
  return 0;
}
