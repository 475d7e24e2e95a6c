// The DATA and EQUIVALENCE work files: temporary binary files of the run
// that hold the records of the current program unit.
#include "checker/semantics/workfiles.h"

#include <algorithm>
#include <vector>

#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/tokens.h"

WorkFiles wf;
RecordMsg recmsg;

// Symbols referenced by the records of the current unit, reference - 1.
static std::vector<locsym*> wsyms;

void workfiles_unit_reset() {
  wf.datacnt = 0;
  wf.equivcnt = 0;
  wsyms.clear();
}

void workfiles_close() {
  wf = WorkFiles{};
  wsyms.clear();
}

uint32_t wsym_ref(locsym* sym) {
  if (sym == nullptr) return 0;
  for (size_t i = 0; i < wsyms.size(); ++i)
    if (wsyms[i] == sym) return static_cast<uint32_t>(i + 1);
  wsyms.push_back(sym);
  return static_cast<uint32_t>(wsyms.size());
}

locsym* wsym_at(uint32_t ref) {
  if (ref == 0 || ref > wsyms.size()) return nullptr;
  return wsyms[ref - 1];
}

void workfile_next_record(WorkFile& file, int32_t* count) {
  if (*count == 0) {
    file.words.clear();
    file.readpos = 0;
  }
  if (*count < INT32_MAX) ++*count;
}

void workfile_words(WorkFile& file, const int32_t* words, int32_t n) {
  if (n <= 0) return;
  file.words.insert(file.words.end(), words, words + n);
}

void workfile_rewind(WorkFile& file) { file.readpos = 0; }

bool workfile_read(WorkFile& file, int32_t* words, int32_t n) {
  for (int32_t i = 0; i < n; ++i) words[i] = 0;
  if (n <= 0) return true;
  size_t want = static_cast<size_t>(n);
  if (file.words.size() - file.readpos < want) return false;
  std::copy_n(file.words.begin() + static_cast<std::ptrdiff_t>(file.readpos), want, words);
  file.readpos += want;
  return true;
}

void record_errmsg(int32_t n) {
  // The place line shows the record's line of the main file.
  int32_t srclno = rsrc.srclno;
  int32_t inclev = rsrc.inclev;
  int32_t errcol = tk.errcol;
  rsrc.srclno = recmsg.errmsglinnum;
  rsrc.inclev = 0;
  tk.errcol = ERRCOL_NOLINES;
  rd_errmsg(n);
  tk.errcol = errcol;
  rsrc.inclev = inclev;
  rsrc.srclno = srclno;
}
