// libFuzzer target for the IL reader: any bytes are either read into a graph
// or rejected with a status, never read or written out of bounds. A graph
// that is read is written back, which follows every reference it holds.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/ilfile/il_file.h"

namespace {

atom* plain_atom(const char* text) {
  atom* a = pool_new<atom>();
  a->text = text;
  a->length = static_cast<uint32_t>(std::strlen(text));
  return a;
}

void count_symbol(atom* name, int, void*) {
  if (name && name->text) (void)std::strlen(name->text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pools_reset();
  diagnostics_reset();
  il_read_result r = il_read_buffer(data, size, plain_atom, count_symbol);
  if (r.status == il_read_ok) {
    FILE* sink = std::fopen("/dev/null", "wb");
    if (sink) {
      il_write_graph(sink, r.header, false);
      std::fclose(sink);
    }
  }
  return 0;
}
