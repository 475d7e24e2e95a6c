// Begin and end of a program unit: prgbeg resets the per-unit state before
// the first statement, prgend settles what only the whole unit can tell
// (function results, classes and implicit types of names never declared).
#include <cstring>

#include "checker/semantics/arglist.h"
#include "checker/common/error.h"
#include "checker/reader/analyze.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/specstmt.h"
#include "checker/reader/statement.h"
#include "checker/reader/tokens.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/workfiles.h"

// Saved function results (the function name became its result variable).
constexpr int32_t MAX_SAVED_FUNCVARS = 500;
struct SavedResults {
  locsym* sym[MAX_SAVED_FUNCVARS];   // saved function symbols
  void* word[MAX_SAVED_FUNCVARS];    // their saved list-head word
  int32_t count;                     // saved so far
};
static SavedResults saved;

// Default lengths by type class 1..8: CHARACTER, LOGICAL, INTEGER, REAL,
// COMPLEX, DOUBLE PRECISION, DOUBLE COMPLEX, BYTE.
static void getdefdnlen(int32_t len[9]) {
  if (ropt.compiler & 128) {
    const int32_t cray[9] = {0, 1, 8, 8, 8, 16, 16, 16, 1};
    std::memcpy(len, cray, sizeof cray);
  } else {
    const int32_t std_len[9] = {0, 1, rsrc.prglogsiz, rsrc.prgintsiz, 4, 8, 8, 16, 1};
    std::memcpy(len, std_len, sizeof std_len);
  }
}

// Data-type code of a type class and length (the standard and the Cray
// tables of the type statements), 0 when there is none.
static int32_t default_code(int32_t tclass, int32_t len) {
  static const int32_t standard[8][6] = {
      {0, 0, 0, 0, 0, 0},  {11, 1, 2, 0, 0, 0}, {25, 3, 4, 17, 0, 0}, {0, 0, 5, 6, 9, 0},
      {0, 0, 0, 7, 8, 23}, {0, 0, 0, 6, 0, 0},  {0, 0, 0, 0, 8, 0},   {0, 0, 0, 0, 0, 0}};
  static const int32_t cray[8][6] = {
      {0, 0, 0, 0, 0, 0}, {0, 18, 18, 18, 0, 0}, {0, 17, 17, 17, 0, 0}, {0, 0, 6, 6, 9, 0},
      {0, 0, 8, 8, 8, 0}, {0, 0, 0, 0, 9, 0},    {0, 0, 0, 0, 8, 0},    {0, 0, 0, 0, 0, 0}};
  if (tclass == 1) return DT_CHAR;
  if (tclass == 8) return DT_B;
  if (tclass < 2 || tclass > 7) return 0;
  int32_t lg = -1;
  for (int32_t i = 0; i < 6; ++i) {
    if (len == (1 << i)) lg = i;
  }
  if (lg < 0) return 0;
  return (ropt.compiler & 0x80) ? cray[tclass - 1][lg] : standard[tclass - 1][lg];
}

void prgbeg() {
  arglist_unit_reset();
  rsrc.prglogsiz = rsrc.filelogsiz;
  rsrc.prgintsiz = rsrc.fileintsiz;
  int32_t len[9];
  getdefdnlen(len);
  defdtypes[0] = 0;
  for (int32_t i = 1; i <= 8; ++i) defdtypes[i] = default_code(i, len[i]);
  for (int32_t r = 0; r < 27; ++r) {
    imptbl[r] = dtdesc{};
    imptbl[r].tag = 'p';
    if (r >= 8 && r <= 13) {
      imptbl[r].code = static_cast<uint8_t>(defdtypes[3]);
    } else if (r < 26) {
      imptbl[r].code = static_cast<uint8_t>(defdtypes[4]);
    }
  }
  unit_order_reset();
  spec_unit_reset();
  workfiles_unit_reset();
  labels_reset();
  int32_t level = Status.scope_level > MAX_SCOPES ? MAX_SCOPES : Status.scope_level;
  Status.scope_level = level;
  if (level >= 1) {
    prgnam = Scope[level].unitsym;
    for (int32_t r = 0; r < 27; ++r) Scope[level].imptbl[r] = imptbl[r];
  } else {
    Status.scope_level = 0;
    prgnam = nullptr;
    pp_resetSrcForm();
    int32_t curfile = Status.curfile;
    Status = UnitStatus{};
    Status.curfile = curfile;
    for (int32_t l = 1; l <= MAX_SCOPES; ++l) {
      Scope[l].kind = 0;
      Scope[l].unitsym = nullptr;
      Scope[l].head = nullptr;
      Scope[l].tail = nullptr;
      std::memset(Scope[l].bucket, 0, sizeof Scope[l].bucket);
    }
  }
  nest_reset();
  implicit_none = 0;
  Status.interface = 0;
  Status.contains = 0;
  Status.hpfseq = 0;
  saved.count = 0;
  unit.prgtyp = 0;
  unit.labpro = an.lpass == 1 ? 1 : 0;
  nest.codblk = 0;
  nest.newcodblk = 0;
}

void hidefuncvar(locsym* sym) {
  if (sym == nullptr) return;
  if (saved.count >= MAX_SAVED_FUNCVARS) {
    errf("F-OVRFLW", "exceeded max # of function entries");
    return;
  }
  saved.sym[saved.count] = sym;
  saved.word[saved.count] = sym->list;
  ++saved.count;
  sym->sclass = sym->type.code == DT_TYPE ? SC_REC90 : SC_VAR;
  sym->squal = SQ_FUNCVAR;
  sym->usage = 0;
}

void* hiddenargs(const locsym* sym) {
  for (int32_t i = 0; i < saved.count; ++i) {
    if (saved.sym[i] == sym) return saved.word[i];
  }
  errf("F-INTERR", "internal error in routine 'hiddenargs'");
  return nullptr;
}

void prgend() {
  for (int32_t r = 0; r < 26; ++r) chk_imptyp(r);
  if (unit.body_begin != 0 && unit.rtn_end == 0) unit.rtn_end = unit.rtn_begin;
  // Function results saved when the function's name became its result.
  for (int32_t i = 0; i < saved.count; ++i) {
    locsym* f = saved.sym[i];
    if (f->squal != SQ_FUNCVAR) continue;
    bool set = (f->usage & (QB_SET | 0x10000000u)) != 0;
    if (!set && an.lpass == 1 && (f->attrib & (0x2000000u | 0x80000u)) == 0) {
      int32_t savedcol = tk.errcol;
      tk.errcol = 0;
      rd_errmsg(106);
      tk.errcol = savedcol;
    }
    f->sclass = SC_FUNC;
    f->usage |= QB_SET;
    f->list = saved.word[i];
    bool nested = Status.scope_level > 1 && (f->attrib & (0x2000000u | 0x80000u)) == 0;
    f->squal = nested ? 7 : SQ_EXTERNAL;
  }
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) return;
  for (locsym* s = Scope[Status.scope_level].head; s != nullptr; s = s->snext) {
    if (s->sclass == SC_UNK) {
      if ((s->attrib & 0x1000000) == 0) {
        s->sclass = SC_VAR;
      } else if ((s->usage & QB_SET) == 0) {
        s->sclass = SC_SUB;
        s->attrib &= ~0x1000000u;
      }
    }
    if ((s->sclass == SC_VAR || s->sclass == SC_FUNC) && s->type.code == 0) imptypit(s, 0);
    if (s->sclass == SC_VAR && s->type.code == DT_TYPE) s->sclass = SC_REC90;
    if ((s->sclass == SC_FUNC || s->sclass == SC_SUB || s->sclass == SC_MODULE) &&
        s->squal == SQ_UNK) {
      s->squal = SQ_EXTERNAL;
    }
  }
}

// The end-of-unit checks of the local table come with the checks of the
// symbols' usage; the label checks already have their data here.
void locchk() {}

// The first executable statement closes the specification part: storage
// sizes, EQUIVALENCE and DATA are settled by the parts that own them.
void close_specification_part() {}
