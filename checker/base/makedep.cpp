// Module dependency order: what the dependency pass learns about MODULE and
// USE statements, the order of the source files derived from it, the
// report of files whose modules use each other and the dependency file.
#include "checker/base/makedep.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "checker/base/cmmdline.h"
#include "checker/common/filnam.h"
#include "checker/common/flio.h"
#include "checker/common/mystring.h"
#include "checker/common/qmalloc.h"
#include "checker/base/out.h"
#include "checker/base/passes.h"

namespace {

constexpr int nbuckets = 1024;
constexpr uint8_t MD_DEFINED = 1;
constexpr uint8_t MD_USED = 2;
constexpr uint8_t FD_PLACED = 4;
constexpr uint8_t FD_REGULAR = 8;

struct mkdep_module {
  char* name;              // the module's name (copy)
  uint8_t flags;           // MD_DEFINED, MD_USED
  int32_t file;            // defining file (provisional until defined)
  mkdep_module* hnext;     // next in its bucket
  mkdep_module* next;      // next in the list of all modules
};

struct mkdep_ref {         // a list node: a module or a file number
  mkdep_module* module;
  int32_t file;
  mkdep_ref* next;
};

}  // namespace

struct mkdep_file {
  int32_t fileno;          // its number in the file-name table
  int32_t highest;         // highest file number it depends on
  uint8_t flags;           // FD_PLACED, FD_REGULAR
  mkdep_ref* uses;         // modules it uses, each once
  mkdep_ref* usestail;
  int32_t ndeps;           // files it depends on
  mkdep_ref* deps;         // those files, each once, in the order found
  mkdep_ref* depstail;
};

MkdepState mkdep{};

namespace {

struct MkdepWork {
  qlist* pool;                    // "mkdep"
  mkdep_module* hash[nbuckets];   // mkdephash
  mkdep_module* modhead;          // all modules, in the order met
  mkdep_module* modtail;
};
MkdepWork work{};

qlist* perm() { return qnamed("perm"); }

int32_t current_file() { return an.curfil; }

mkdep_module* find_module(const char* name, bool make) {
  if (work.pool == nullptr) return nullptr;
  int len = static_cast<int>(std::strlen(name));
  mkdep_module*& head = work.hash[hashy(name, len < 4 ? len : 4) & (nbuckets - 1)];
  for (mkdep_module* m = head; m != nullptr; m = m->hnext) {
    if (std::strcmp(m->name, name) == 0) return m;
  }
  if (!make) return nullptr;
  mkdep_module* m = qnew<mkdep_module>(work.pool);
  m->name = qstore(work.pool, name);
  m->file = current_file();
  m->hnext = head;
  head = m;
  if (work.modtail) work.modtail->next = m; else work.modhead = m;
  work.modtail = m;
  return m;
}

mkdep_file* file_rec(int32_t f) {
  if (mkdep.files == nullptr || f < 1 || f > mkdep.nfiles) return nullptr;
  return &mkdep.files[f];
}

bool skipped(int32_t f) { return skip_file(getfilent(f)) != 0; }

std::string file_name(int32_t f) {
  const filnament* e = getfilent(f);
  return e != nullptr && e->name != nullptr ? std::string(e->name) : std::string();
}

// Adds file d to the dependency list of file f unless it is there.
void mkdep_add_filedep(mkdep_file* fr, int32_t d) {
  for (mkdep_ref* r = fr->deps; r != nullptr; r = r->next) {
    if (r->file == d) return;
  }
  mkdep_ref* r = qnew<mkdep_ref>(work.pool);
  r->file = d;
  if (fr->depstail) fr->depstail->next = r; else fr->deps = r;
  fr->depstail = r;
  ++fr->ndeps;
  if (d > fr->highest) fr->highest = d;
}

// Keeps the dependency list of file f for the rest of the run.
void mkdep_copy_deplist(mkdep_file* fr) {
  int32_t f = fr->fileno;
  mkdep.depcounts[f] = fr->ndeps;
  int32_t* list = qnew<int32_t>(perm(), static_cast<size_t>(fr->ndeps > 0 ? fr->ndeps : 1));
  int32_t i = 0;
  for (mkdep_ref* r = fr->deps; r != nullptr; r = r->next) list[i++] = r->file;
  mkdep.deplists[f] = list;
}

bool deps_placed(const mkdep_file* fr) {
  for (mkdep_ref* r = fr->deps; r != nullptr; r = r->next) {
    const mkdep_file* d = file_rec(r->file);
    if (d != nullptr && (d->flags & FD_PLACED) == 0) return false;
  }
  return true;
}

// Files whose modules use one another: placed after their dependencies
// where that can be done, each pair that cannot reported.
void place_cycles() {
  outstr("\n\n");
  for (int32_t f = 1; f <= mkdep.nfiles; ++f) {
    mkdep_file* fr = file_rec(f);
    if (fr->flags & FD_REGULAR) continue;
    for (mkdep_ref* r = fr->deps; r != nullptr; r = r->next) {
      mkdep_file* d = file_rec(r->file);
      if (d == nullptr || (d->flags & FD_REGULAR)) continue;
      if ((d->flags & FD_PLACED) == 0) {
        mkdep_append_file(r->file);
      } else if (fr->flags & FD_PLACED) {
        outstr("   E - Modules in files " + file_name(f) + " and " + file_name(r->file) +
               " referenced each other.\n");
      }
    }
    if ((fr->flags & FD_PLACED) == 0) mkdep_append_file(f);
  }
  outstr("\n");
}

void mkdep_sort() {
  for (;;) {
    bool placed_new = false;
    int32_t placed = 0;
    for (int32_t f = 1; f <= mkdep.nfiles; ++f) {
      mkdep_file* fr = file_rec(f);
      if ((fr->flags & FD_PLACED) == 0 && deps_placed(fr)) {
        mkdep_append_file(f);
        fr->flags |= FD_REGULAR;
        placed_new = true;
      }
      if (fr->flags & FD_PLACED) ++placed;
    }
    if (placed >= mkdep.nfiles) return;
    if (!placed_new) {
      place_cycles();
      return;
    }
  }
}

void put(int unit, const std::string& text) {
  std::FILE* fp = myfpno(unit);
  if (fp != nullptr) std::fputs(text.c_str(), fp);
}

void mkdep_prn_dep() {
  if (mkdep_output == 0) return;
  for (int32_t k = 1; k <= mkdep.newfcount; ++k) {
    int32_t f = mkdep.NewFOrder[k - 1];
    if (skipped(f)) continue;
    std::string name = file_name(f);
    put(mkdep_output, name + ":");
    int64_t col = static_cast<int64_t>(name.size()) + 1;
    for (int32_t i = 0; i < mkdep.depcounts[f]; ++i) {
      std::string dep = file_name(mkdep.deplists[f][i]);
      int64_t len = static_cast<int64_t>(dep.size()) + 1;
      if (col + len >= outwid) {
        put(mkdep_output, "\n             ");
        col = 13;
      }
      put(mkdep_output, " " + dep);
      col += len;
    }
    put(mkdep_output, "\n");
  }
  iclose(mkdep_output);
  mkdep_output = 0;
}

}  // namespace

void mkdep_reset() {
  if (work.pool != nullptr) qdestroy(work.pool);
  work = MkdepWork{};
  mkdep = MkdepState{};
}

int mkdep_init() {
  int32_t n = filnam.filnamcnt;
  if (Language == 1 || !mkdep_opt || n < 1) return 0;
  if (work.pool != nullptr) qdestroy(work.pool);
  work = MkdepWork{};
  work.pool = qcreate(0, "mkdep");
  mkdep.nfiles = n;
  mkdep.newfcount = 0;
  mkdep.NewFOrder = qnew<int32_t>(perm(), static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) mkdep.NewFOrder[i] = i + 1;
  mkdep.deplists = qnew<int32_t*>(perm(), static_cast<size_t>(n) + 1);
  mkdep.depcounts = qnew<int32_t>(perm(), static_cast<size_t>(n) + 1);
  mkdep.files = qnew<mkdep_file>(work.pool, static_cast<size_t>(n) + 1);
  for (int32_t f = 1; f <= n; ++f) mkdep.files[f].fileno = f;
  return 1;
}

void mkdep_add_module_def(const char* name) {
  if (!an.MakingDep || name == nullptr || work.pool == nullptr) return;
  mkdep_module* m = find_module(name, true);
  if (m->flags & MD_DEFINED) return;  // the first definition wins
  m->flags |= MD_DEFINED;
  m->file = current_file();
}

void mkdep_add_module_use(const char* name) {
  if (!an.MakingDep || name == nullptr || work.pool == nullptr) return;
  mkdep_module* m = find_module(name, true);
  m->flags |= MD_USED;
  mkdep_file* fr = file_rec(current_file());
  if (fr == nullptr) return;
  for (mkdep_ref* r = fr->uses; r != nullptr; r = r->next) {
    if (r->module == m) return;
  }
  mkdep_ref* r = qnew<mkdep_ref>(work.pool);
  r->module = m;
  if (fr->usestail) fr->usestail->next = r; else fr->uses = r;
  fr->usestail = r;
}

int mkdep_append_file(int32_t f) {
  if (f < 1 || f > mkdep.nfiles || mkdep.newfcount >= mkdep.nfiles) return 0;
  mkdep.NewFOrder[mkdep.newfcount++] = f;
  mkdep.files[f].flags |= FD_PLACED;
  return 1;
}

bool mkdep_depended_by(int32_t f, int32_t other) {
  if (mkdep.depcounts == nullptr || f < 1 || f > mkdep.nfiles) return false;
  for (int32_t i = 0; i < mkdep.depcounts[f]; ++i) {
    if (mkdep.deplists[f][i] == other) return true;
  }
  return false;
}

void mkdep_main() {
  if (work.pool == nullptr) return;
  mkdep.newfcount = 0;
  for (int32_t f = 1; f <= mkdep.nfiles; ++f) {
    mkdep_file* fr = file_rec(f);
    if (fr->uses != nullptr && !skipped(f)) {
      for (mkdep_ref* r = fr->uses; r != nullptr; r = r->next) {
        // A module defined in no source file makes no dependency.
        const mkdep_module* m = r->module;
        if ((m->flags & MD_DEFINED) && m->file != f && m->file >= 1 && m->file <= mkdep.nfiles) {
          mkdep_add_filedep(fr, m->file);
        }
      }
      mkdep_copy_deplist(fr);
    } else {
      mkdep_copy_deplist(fr);
      mkdep_append_file(f);
      fr->flags |= FD_REGULAR;
    }
  }
  mkdep_sort();
  mkdep_prn_dep();
  mkdep_end();
}

void mkdep_end() {
  if (work.pool != nullptr) qdestroy(work.pool);
  work = MkdepWork{};
  mkdep.files = nullptr;
}

int32_t mkdep_order(int32_t k) {
  if (mkdep.NewFOrder == nullptr || k < 1 || k > mkdep.nfiles || k > mkdep.newfcount) return k;
  return mkdep.NewFOrder[k - 1];
}
