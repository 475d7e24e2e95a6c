// Module files: after an error-free compilation every module of the source is
// written into the first "-M" directory as <name>.mod, in the IL text format
// with the module-file form of the writer (the module's symbols as records,
// no declaration positions, links out of the module cut).
#include "frontend/ilfile/module_file.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "frontend/base/diagnostics.h"
#include "frontend/base/host.h"
#include "frontend/base/il_output.h"
#include "frontend/ilfile/il_file.h"

namespace {

constexpr int msg_no_module_dir = 183;
constexpr int msg_write_failed = 261;
constexpr int msg_cannot_open_module = 341;
constexpr int msg_bad_module_file = 342;

}  // namespace

bool exists_not_regular(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && !S_ISREG(st.st_mode);
}

std::string module_file_path(const char* dir, const atom* module_name) {
  std::string name = module_name && module_name->text ? std::string(module_name->text, module_name->length)
                                                      : std::string();
  // make_path hands back a pool string for a path longer than the buffer, so
  // a long directory is never cut.
  char buffer[130];
  return make_path(dir, name.c_str(), ".mod", buffer, sizeof buffer);
}

void module_write(il_header* header, object* module) {
  if (!host.module_dirs.head) catastrophe_here(msg_no_module_dir);
  std::string path = module_file_path(host.module_dirs.head->name, module->corresp.name);
  if (exists_not_regular(path.c_str())) catastrophe_here(msg_bad_module_file);
  bool cannot_open = false;
  bool invalid = false;
  // An output never replaces the source file being compiled.
  FILE* out = open_output_file(path.c_str(), true, false, &cannot_open, &invalid);
  if (!out) catastrophe_here(msg_cannot_open_module);
  if (!is_regular_file(path.c_str())) {
    std::fclose(out);
    catastrophe_here(msg_bad_module_file);
  }

  // The copy keeps the header word, so the walk's marks agree with the graph's.
  il_header copy = *header;
  copy.primary_scope = nullptr;
  copy.main_routine = module;
  il_write_graph(out, &copy, true);

  // A file that could not be written whole is removed before the run ends,
  // so that no later USE reads half a module.
  bool failed = std::fflush(out) != 0 || std::ferror(out);
  if (std::fclose(out) != 0) failed = true;
  if (failed) {
    std::remove(path.c_str());
    catastrophe_here(msg_write_failed, {"intermediate language"});
  }
}
