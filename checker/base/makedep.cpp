// Module dependency order: what the dependency pass learns about MODULE and
// USE statements, the order of the source files derived from it, the
// report of files whose modules use each other and the dependency file.
#include "checker/base/makedep.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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
#include "checker/base/source.h"

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

namespace {

// The statement words the dependency pass acts on, or which open program
// units inside a file.
constexpr std::string_view dep_words[] = {"MODULE",   "USE",       "INCLUDE", "DICTIONARY",
                                          "INVOKE",   "INTERFACE", "CONTAINS"};

// Blanks inside statement text (a carriage return counts too: leaving it
// out only finds more words).
bool scan_blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r'; }

unsigned char scan_upper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

// Whether the characters of line from position at on, blanks left out,
// begin with word.
bool begins_with(std::string_view line, size_t at, std::string_view word) {
  size_t w = 0;
  for (; at < line.size() && w < word.size(); ++at) {
    unsigned char c = static_cast<unsigned char>(line[at]);
    if (scan_blank(c)) continue;
    if (scan_upper(c) != static_cast<unsigned char>(word[w])) return false;
    ++w;
  }
  return w == word.size();
}

// The text in capitals with the blanks left out (a line end stays): where
// a word can be read on a line whatever blanks it holds. A NUL stays a
// character of its own.
struct Squeezer {
  unsigned char map[256];  // 0: a blank, left out
  Squeezer() {
    for (int c = 0; c < 256; ++c) map[c] = scan_upper(static_cast<unsigned char>(c));
    map[0] = 1;
    for (unsigned char b : {' ', '\t', '\f', '\v', '\r'}) map[b] = 0;
  }
  std::string operator()(std::string_view text) const {
    std::string out(text.size(), '\0');
    size_t n = 0;
    for (unsigned char c : text) {
      unsigned char m = map[c];
      out[n] = static_cast<char>(m);
      n += m != 0;
    }
    out.resize(n);
    return out;
  }
};

// The first two letters of the words: a word is compared only where they
// stand.
struct WordStarts {
  std::array<bool, 256 * 256> pair{};
  WordStarts() {
    for (std::string_view w : dep_words) pair[index(w[0], w[1])] = true;
  }
  static size_t index(char a, char b) {
    return static_cast<size_t>(static_cast<unsigned char>(a)) * 256 + static_cast<unsigned char>(b);
  }
};

// Whether one of the words stands in the squeezed text.
bool holds_word(std::string_view sq) {
  static const WordStarts starts;
  for (size_t at = 0; at + 1 < sq.size(); ++at) {
    if (!starts.pair[WordStarts::index(sq[at], sq[at + 1])]) continue;
    for (std::string_view w : dep_words) {
      if (sq.compare(at, w.size(), w) == 0) return true;
    }
  }
  return false;
}

// Whether the characters of line from position at on begin with the rest
// of a word begun on an earlier line.
bool continues_word_at(std::string_view line, size_t at) {
  for (std::string_view w : dep_words) {
    for (size_t cut = 1; cut < w.size(); ++cut) {
      if (begins_with(line, at, w.substr(cut))) return true;
    }
  }
  return false;
}

// Whether the line may continue a statement with the rest of a word begun
// on an earlier line, looked for where the continued text starts: in
// column 7 after a fixed-form mark in column 6, behind a tab (and the
// digit after it) among the first columns, behind a leading "&", and, in
// free form after a line ending in "&", at the first nonblank character.
bool continues_word(std::string_view line, size_t first, bool after_amp) {
  if (line.size() > 5 && line[5] != ' ' && line[5] != '0' && line[5] != '\t' &&
      continues_word_at(line, 6))
    return true;
  size_t tab = line.substr(0, 6).find('\t');
  if (tab != std::string_view::npos && (continues_word_at(line, tab + 1) || continues_word_at(line, tab + 2)))
    return true;
  bool amp = first < line.size() && line[first] == '&';
  if ((amp || after_amp) && (continues_word_at(line, first) || continues_word_at(line, first + 1))) return true;
  return false;
}

// Whether the next line may continue this one in free form: an "&" with
// nothing but blanks after it, or before a "!" comment. An "&" from column
// 73 on counts whatever follows, as the text behind a margin is dropped.
bool free_continued(std::string_view line) {
  for (size_t amp = line.find('&'); amp != std::string_view::npos; amp = line.find('&', amp + 1)) {
    if (amp >= 72) return true;
    size_t r = amp + 1;
    while (r < line.size() && scan_blank(static_cast<unsigned char>(line[r]))) ++r;
    if (r >= line.size() || line[r] == '!') return true;
  }
  return false;
}

}  // namespace

bool mkdep_text_may_matter(std::string_view text) {
  // In free form a line after one ending in "&" may continue it, with
  // comment lines between them.
  bool after_amp = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    // The reader keeps the first MAX_LINE characters of a line; the words
    // are looked for in the whole text.
    std::string_view line = text.substr(pos, std::min(end - pos, static_cast<size_t>(MAX_LINE)));
    pos = end + 1;
    size_t first = 0;
    while (first < line.size() && scan_blank(static_cast<unsigned char>(line[first]))) ++first;
    bool blank = first >= line.size();
    char lead = blank ? ' ' : line[first];
    // Preprocessor lines and the "$" directives.
    if (lead == '#' || lead == '$') return true;
    if (continues_word(line, first, after_amp)) return true;
    // A line of blanks and ";" or a comment leaves an open line open.
    size_t rest = first;
    while (rest < line.size() && (line[rest] == ';' || scan_blank(static_cast<unsigned char>(line[rest])))) ++rest;
    bool comment = rest >= line.size() || line[rest] == '!';
    after_amp = (comment && after_amp) || free_continued(line);
  }
  static const Squeezer squeeze;
  return holds_word(squeeze(text));
}

bool mkdep_file_may_matter(std::FILE* fp) {
  if (fp == nullptr) return true;
  int fd = ::fileno(fp);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return true;
  // A very large file is read line by line as before rather than held whole.
  constexpr off_t largest = off_t{1} << 26;
  if (st.st_size > largest) return true;
  // pread leaves the stream's position where the reader expects it.
  std::string text;
  // One byte more than its size, so that the end is met without growing.
  text.resize(static_cast<size_t>(st.st_size > 0 ? st.st_size : 0) + 1);
  size_t got = 0;
  for (;;) {
    if (got == text.size()) text.resize(2 * text.size());
    ssize_t n = ::pread(fd, text.data() + got, text.size() - got, static_cast<off_t>(got));
    if (n < 0) return true;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  text.resize(got);
  return mkdep_text_may_matter(text);
}
