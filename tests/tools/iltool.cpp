// iltool: a test-only program for the IL text file without the parser.
//   iltool copy IN OUT   reads IN and writes the graph it holds to OUT
//   iltool check IN      reads IN; prints nothing when it is valid
//   iltool html IN       lists every entry of IN with its fields, as HTML
//   iltool text IN       the same listing as plain text
//   iltool fortran IN    prints IN regenerated as Fortran text
// A file that is not valid ends the run with the reader's catastrophic error.
#include <cstdio>
#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/base/il_output.h"
#include "frontend/base/pools.h"
#include "frontend/ilfile/il_file.h"
#include "frontend/ilfile/il_listings.h"

namespace {

// Atoms as the file gives them: one record per atom, names not interned, so
// that a copy keeps every atom record of the input.
atom* plain_atom(const char* text) {
  atom* a = pool_new<atom>();
  a->text = text;
  a->length = static_cast<uint32_t>(std::strlen(text));
  return a;
}

void ignore_symbol(atom*, int, void*) {}

int usage() {
  std::fputs("usage: iltool copy IN OUT | iltool check|html|text|fortran IN\n", stderr);
  return 4;
}

il_header* read_file(const char* name) {
  FILE* in = std::fopen(name, "rb");
  if (!in) {
    std::fprintf(stderr, "iltool: cannot open %s\n", name);
    std::exit(4);
  }
  il_header* header = il_read(in, plain_atom, ignore_symbol);
  std::fclose(in);
  return header;
}

}  // namespace

int main(int argc, char** argv) {
  pools_reset();
  diagnostics_reset();
  if (argc == 4 && std::strcmp(argv[1], "copy") == 0) {
    il_header* header = read_file(argv[2]);
    FILE* out = std::fopen(argv[3], "wb");
    if (!out) {
      std::fprintf(stderr, "iltool: cannot create %s\n", argv[3]);
      return 4;
    }
    il_output_set(out, argv[3]);
    il_write(header);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "check") == 0) {
    read_file(argv[2]);
    return 0;
  }
  if (argc == 3 && (std::strcmp(argv[1], "html") == 0 || std::strcmp(argv[1], "text") == 0)) {
    il_header* header = read_file(argv[2]);
    il_dump.stream = stdout;
    il_dump.html = argv[1][0] == 'h';
    dump_il_html(header);
    return std::fflush(stdout) == 0 ? 0 : 4;
  }
  if (argc == 3 && std::strcmp(argv[1], "fortran") == 0) {
    print_il_as_fortran(read_file(argv[2]));
    return std::fflush(stdout) == 0 ? 0 : 4;
  }
  return usage();
}
