// Fuzz target: tarvo's statement reader and handlers over one source file.
// Input: the first byte chooses the options (bit 0: fixed form, bit 1: the
// HPF option, bit 2: Fortran 77 mode), the rest is the source text, written
// to a file in a private folder and read as the local pass reads it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "checker/base/errmsg.h"
#include "checker/analyze.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/semantics/locsym.h"

namespace {

const std::string& work_folder() {
  static std::string folder = [] {
    char templ[] = "/tmp/fuzz_tarvo_reader.XXXXXX";
    const char* made = mkdtemp(templ);
    if (!made) __builtin_trap();
    return std::string(made);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint8_t opts = data[0];
  std::string path = work_folder() + ((opts & 1) ? "/in.f" : "/in.f90");
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) __builtin_trap();
  if (size > 1) std::fwrite(data + 1, 1, size - 1, out);
  std::fclose(out);

  errmsg_reset();
  reader_begin_run();
  ropt = ReaderOptions{};
  ropt.hpf = (opts & 2) ? 1 : 0;
  ropt.Language = (opts & 4) ? 1 : 2;
  an.lpass = 1;
  an.pass = 1;
  an.MakingDep = 0;
  locsym_reset();
  unit = UnitState{};
  unit_order_reset();
  unit.labpro = 1;
  nest_reset();
  labels_reset();
  FILE* fp = std::fopen(path.c_str(), "r");
  if (!fp) __builtin_trap();
  srcbeg(path.c_str(), fp, 0);
  pp_resetSrcForm();
  analyze_open_file();
  srcend();
  std::fclose(fp);
  rsrc.input = nullptr;
  rsrc.cur = nullptr;
  return 0;
}
