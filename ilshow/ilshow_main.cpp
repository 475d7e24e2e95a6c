// ilshow's main program: one IL file name on the command line, the file read
// with the front end's IL reader, its program database on the standard output.
#include "ilshow/ilshow.h"

#include <sys/stat.h>

#include <cstdio>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/ilfile/expr_text.h"
#include "frontend/ilfile/il_file.h"
#include "ilshow/il_display_kvt.h"

namespace {

bool is_directory(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int ilshow_main(int argc, char** argv) {
  pools_reset();
  diagnostics_reset();  // counters cleared; no position for the messages below
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') command_line_error("invalid option: %s", {argv[i]});
  }
  if (argc != 2) command_line_error("IL display requires name of IL file");
  const char* name = argv[1];
  FILE* in = is_directory(name) ? nullptr : std::fopen(name, "r");
  if (!in) command_line_error("could not open IL file %s", {name});
  // ilshow has no name table: the atoms are the file's own records. A module
  // file holds symbol records: without a receiver they are skipped.
  // The reader leaves the marks of its depth check's walk for the first
  // pass, which puts them back (see run_source_file_pass).
  il_read_leave_walk_marks(true);
  il_header* header = il_read(in, nullptr, nullptr);
  if (!header) catastrophe_here(78);

  tvx_reset(stdout);
  tvx.restore_walk_marks = il_restore_walk_marks;
  // A run that ends on a damaged entry deep in a walk still writes the
  // whole lines it has.
  set_exit_hook([](int) { tvx_write_lines(); });
  fortran_text_reset();
  fortran_text.stream = stdout;
  set_fortran_output(nullptr);
  il_display_tvx(header);
  // A database that could not be written whole is no success.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) catastrophe_here(261, {"program database"});
  exit_program(0);
}
