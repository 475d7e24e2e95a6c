// The DATA and EQUIVALENCE work files: temporary binary files of the run
// that hold the records of the current program unit.
#include "checker/semantics/workfiles.h"

#include <vector>

#include "checker/common/flio.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/tokens.h"

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
  if (wf.fu_data != 0) iclose(wf.fu_data);
  if (wf.fu_equiv != 0) iclose(wf.fu_equiv);
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

bool workfile_next_record(int32_t* unit, int32_t* count) {
  if (*count == 0) {
    if (*unit == 0) {
      // Binary, write and read; no name.
      *unit = iopen(nullptr, 35, nullptr, 16384);
      if (*unit <= 0) {
        *unit = 0;
        return false;
      }
    }
    iseek(*unit, 0);
  }
  if (*count < INT32_MAX) ++*count;
  return true;
}

void workfile_words(int32_t unit, const int32_t* words, int32_t n) {
  if (unit == 0 || n <= 0) return;
  iwrite(unit, words, n * static_cast<int32_t>(sizeof(int32_t)));
}

bool workfile_read(int32_t unit, int32_t* words, int32_t n) {
  for (int32_t i = 0; i < n; ++i) words[i] = 0;
  if (unit == 0 || n <= 0) return n <= 0;
  int32_t want = n * static_cast<int32_t>(sizeof(int32_t));
  return iread(unit, words, want) == want;
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
