// The file-name table: the run's source files by number, each name split into
// directory, base name and extension.
#include "checker/common/filnam.h"

#include <cstring>

#include "checker/common/error.h"
#include "checker/common/mystring.h"
#include "checker/common/qmalloc.h"
#include "checker/common/tlink.h"

FilnamState filnam;

void filnam_reset() { filnam = FilnamState{}; }

namespace {

const filnament& entry_or_interr(int n, const char* routine) {
  if (n < 1 || n > filnam.filnamcnt) interr(routine);
  return filnam.table[n - 1];
}

}  // namespace

void srcfile(tlink* list) {
  filnam.filmax = list != nullptr ? list->count : 0;
  filnam.filnamcnt = 0;
  filnam.names.clear();
  filnam.table = filnam.filmax > 0 ? qnew<filnament>(qnamed("perm"), static_cast<size_t>(filnam.filmax))
                                   : nullptr;
  if (list != nullptr) {
    while (const void* v = gettlink(list)) {
      const char* name = static_cast<const char*>(v);
      if (isnewfile(name)) addfilnam(name);
    }
  }
  if (qlist* file = qfind("file")) qdestroy(file);
}

int isnewfile(const char* name) { return filnam.names.count(name) == 0 ? 1 : 0; }

void addfilnam(const char* name) {
  if (filnam.filnamcnt >= filnam.filmax) errf("F-INTERR", "\ninternal error in addfilnam");
  filnament& e = filnam.table[filnam.filnamcnt++];
  e = filnament{};
  e.name = qstore(qnamed("perm"), name);
  filnam.names.insert(e.name);
  size_t len = std::strlen(name);
  size_t slash = len;  // position of the last "/", len when none
  size_t dot = len;    // position of the extension's ".", len when none
  for (size_t i = len; i-- > 0;) {
    if (name[i] == '/') {
      slash = i;
      break;
    }
    if (name[i] == '.' && dot == len) dot = i;
  }
  size_t base = slash == len ? 0 : slash + 1;
  // Lengths beyond 16 bits are kept at their largest value; names never come
  // near it in practice.
  auto len16 = [](size_t n) { return static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n); };
  e.dirlen = len16(base);
  e.baselen = len16(dot - base);
  e.extlen = len16(len - dot);
  e.mtime = 0;
}

std::string getfname(int n) {
  const filnament& e = entry_or_interr(n, "getfname");
  return std::string(e.name + e.dirlen);
}

std::string getfilext(int n) {
  const filnament& e = entry_or_interr(n, "getfilext");
  return std::string(e.name + e.dirlen + e.baselen);
}

std::string getfnameWithDir(int n) {
  const filnament& e = entry_or_interr(n, "getfnameWithDir");
  const char* shortname = e.name + e.dirlen;
  if (strcmpii(shortname, "unixlib.lbt") == 0 || strcmpii(shortname, "vmslib.lbt") == 0)
    return std::string(shortname);
  return std::string(e.name);
}

void set_file_time(int n, int32_t time) {
  if (n < 1 || n > filnam.filnamcnt) interr("setfiledate");
  filnam.table[n - 1].mtime = time;
}

int32_t get_file_time(int n) { return entry_or_interr(n, "getfiledate").mtime; }

const filnament* getfilent(int n) {
  if (n < 1 || n > filnam.filnamcnt) return nullptr;
  return &filnam.table[n - 1];
}

int skip_file(const filnament* entry) {
  if (entry == nullptr || entry->name == nullptr || entry->name[0] == '\0') return 1;
  const char* ext = entry->name + entry->dirlen + entry->baselen;
  if (std::strcmp(ext, ".lbt") == 0) return 1;
  if (!filnam.fdbopt && std::strcmp(ext, ".fdb") == 0) return 1;
  return 0;
}
