// Fuzz target: one whole srcfront compilation of a source text, in process.
// Input: the first byte chooses the options (bit 0: fixed form, bit 1:
// case-sensitive names, bit 2: remarks shown), the rest is the source file.
// The run takes the steps of srcfront_main; a fatal end leaves the exit
// routine through the exit hook, which throws, so that the next input starts
// a fresh run. An internal error traps (a fault of the front end, as a crash
// is).
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/fuzz/srcfront_in_process.h"

namespace {

// A private working folder (module files land there, found again by USE in
// the same run) with an empty include folder, made once.
const std::string& work_folder() {
  static std::string folder = [] {
    std::string f = fuzz_srcfront_run::make_work_folder("fuzz_srcfront");
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
  fuzz_srcfront_run::run(words);
  return 0;
}
