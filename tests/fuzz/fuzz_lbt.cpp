// libFuzzer target for library tables: any bytes are either read into the
// global symbol store or refused as incorrectly formatted; a table that is
// read is walked bucket by bucket and record by record, which must neither
// loop nor end the run with an internal error.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "checker/common/error.h"
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/common/symtable.h"

namespace {

void discard(std::string_view) {}
int no_terminal(int) { return 0; }

// A file of our own for the table, named with the ".lbt" extension.
const std::string& table_path() {
  static const std::string path = [] {
    const char* t = std::getenv("TMPDIR");
    std::string p = std::string(t != nullptr && *t != '\0' ? t : "/tmp") + "/tarvo_fuzz_lbtXXXXXX";
    int fd = ::mkstemp(p.data());
    if (fd >= 0) ::close(fd);
    ::unlink(p.c_str());
    return p + ".lbt";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  report_hook = discard;
  errstate.isatty_fn = no_terminal;
  FILE* f = std::fopen(table_path().c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  symt.memglomax = 100000;
  opensymt();
  lbtfilnam = table_path();
  getlib();
  // Only a table the validator accepts may have been read.
  if (symt.symcnt > 0 && !lbt_valid(data, static_cast<int64_t>(size))) std::abort();
  for (int b = 0; b < hashtbl_size; ++b) {
    for (int32_t n = hashtbl[b]; n != 0;) {
      symrec r;
      readsymh(n, r);
      n = r.next;
    }
  }
  closesymt();
  ::unlink(lbtfilnam.c_str());
  return 0;
}
