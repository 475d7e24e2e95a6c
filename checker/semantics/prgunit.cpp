// Begin and end of a program unit: prgbeg resets the per-unit state before
// the first statement, prgend settles what only the whole unit can tell
// (function results, classes and implicit types of names never declared),
// locchk runs the usage checks over the unit's symbols and its labels.
#include <cstring>
#include <string>

#include "checker/base/errmsg.h"

#include "checker/semantics/arglist.h"
#include "checker/common/error.h"
#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/modtable.h"
#include "checker/semantics/sizes.h"
#include "checker/semantics/workfiles.h"

// Saved function results (the function name became its result variable).
constexpr int32_t MAX_SAVED_FUNCVARS = 500;
// A host's results stay saved while its contained procedures are read:
// each entry keeps the scope level it was saved at.
struct SavedResults {
  locsym* sym[MAX_SAVED_FUNCVARS];   // saved function symbols
  void* word[MAX_SAVED_FUNCVARS];    // their saved list-head word
  int32_t level[MAX_SAVED_FUNCVARS]; // scope level of the function
  int32_t count;                     // saved so far
};
static SavedResults saved;

struct UnknownArgs {
  UnkArg* unkhead;    // the unit's records
  UnkArg* unktail;
  int32_t numunks;    // records of the run
  int32_t begunk;     // numunks + 1 at the unit start
  int32_t usdunktbl;  // all records made
};
static UnknownArgs unk;

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


// A unit that continues after its contained procedures (the host's own
// END) keeps the kind of its unit symbol.
static int32_t kind_of_unit(const locsym* u) {
  if (u == nullptr) return 0;
  switch (u->sclass) {
    case SC_MODULE: return 12;
    case SC_SUB: return 6;
    case SC_PROG: return 7;
    case SC_BLKD: return 8;
    case SC_FUNC: return 5;
    default: return u->squal == SQ_FUNCVAR ? 5 : 0;
  }
}

void prgbeg() {
  arglist_unit_reset();
  rsrc.prglogsiz = rsrc.filelogsiz;
  rsrc.prgintsiz = rsrc.fileintsiz;
  int32_t len[9];
  getdefdnlen(len);
  defdtypes[0] = 0;
  for (int32_t i = 1; i <= 8; ++i) defdtypes[i] = default_code(i, len[i]);
  // The type statements of this unit give a type from a class, a length and
  // a KIND value by the same defaults and the same KIND rules as the rest
  // of the checker: REAL(KIND=8) is REAL*8, not the default REAL.
  dtopts.language = ropt.Language;
  dtopts.compiler = ropt.compiler;
  for (int32_t i = 1; i <= 8; ++i) dtopts.deflen[i] = len[i];
  dtopts.kindcode = [](int tclass, int kind) { return static_cast<int>(adjust_dt_with_kind(tclass, kind)); };
  for (int32_t r = 0; r < 27; ++r) {
    imptbl[r] = dtdesc{};
    imptbl[r].tag = 'p';
    if (r >= 8 && r <= 13) {
      imptbl[r].code = static_cast<uint8_t>(defdtypes[3]);
    } else if (r < 26) {
      imptbl[r].code = static_cast<uint8_t>(defdtypes[4]);
    }
  }
  int32_t level = Status.scope_level > MAX_SCOPES ? MAX_SCOPES : Status.scope_level;
  Status.scope_level = level;
  bool host_open = level >= 1;
  int32_t defaccess = spec.defaccess;
  unit_order_reset();
  spec_unit_reset();
  workfiles_unit_reset();
  if (host_open) {
    // The host stays open: its IMPLICIT rules, labels, default access and
    // saved results carry on into its contained procedures and its END.
    prgnam = Scope[level].unitsym;
    for (int32_t r = 0; r < 27; ++r) imptbl[r] = Scope[level].imptbl[r];
    spec.defaccess = defaccess;
    unit.prgtyp = kind_of_unit(prgnam);
  } else {
    labels_reset();
    Status.scope_level = 0;
    prgnam = nullptr;
    intf_reset();
    pp_resetSrcForm();
    int32_t curfile = Status.curfile;
    Status = UnitStatus{};
    Status.curfile = curfile;
    for (int32_t l = 1; l <= MAX_SCOPES; ++l) {
      Scope[l].kind = 0;
      Scope[l].unitsym = nullptr;
      Scope[l].head = nullptr;
      Scope[l].tail = nullptr;
      clear_buckets(Scope[l]);
    }
    saved.count = 0;
    unk.unkhead = nullptr;
    unk.unktail = nullptr;
    Status.hpfseq = 0;
  }
  unk.begunk = unk.numunks + 1;
  nest_reset();
  implicit_none = 0;
  Status.interface = 0;
  Status.contains = 0;
  ovintrin_reset();
  PrintImptypMsg = 1;
  if (!host_open) unit.prgtyp = 0;
  unit.labpro = an.lpass == 1 ? 1 : 0;
  nest.codblk = OUTER_BLOCK;
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
  saved.level[saved.count] = Status.scope_level;
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

// Raises message n at an occurrence (its line, without source lines), or
// without a place when there is none.
static void report_at(int32_t n, const xrefrec* x) {
  int32_t saved_col = tk.errcol;
  if (x != nullptr) {
    errplace.line = x->line;
    errplace.incline = x->incid > 0 ? x->incline : 0;
    tk.errcol = -30003;
  } else {
    tk.errcol = 0;
  }
  rd_errmsg(n);
  errplace = ErrPlace{};
  tk.errcol = saved_col;
}

// The result variable of a function symbol: its RESULT name, else itself.
static locsym* result_of(locsym* f) {
  locsym* r = static_cast<locsym*>(f->locdata);
  return r != nullptr ? r : f;
}

// Function results saved at the current level: 106 for one never set,
// then the name becomes the function again.
static void restore_results() {
  int32_t kept = 0;
  for (int32_t i = 0; i < saved.count; ++i) {
    if (saved.level[i] != Status.scope_level) {
      saved.sym[kept] = saved.sym[i];
      saved.word[kept] = saved.word[i];
      saved.level[kept] = saved.level[i];
      ++kept;
      continue;
    }
    locsym* f = saved.sym[i];
    if (f->squal != SQ_FUNCVAR) continue;
    const locsym* r = result_of(f);
    bool set = (r->usage & (QB_SET | QB_INDIRECT)) != 0 || (f->usage & (QB_SET | QB_INDIRECT)) != 0;
    if (!set && an.lpass == 1 && (f->attrib & (0x2000000u | 0x80000u)) == 0) report_at(106, nullptr);
    f->sclass = SC_FUNC;
    f->usage |= QB_SET;
    f->list = saved.word[i];
    bool nested = Status.scope_level > 1 && (f->attrib & (0x2000000u | 0x80000u)) == 0;
    f->squal = nested ? 7 : SQ_EXTERNAL;
  }
  saved.count = kept;
}

// Classes an HPF sequence default reaches.
static bool takes_sequence_default(const locsym* s) {
  switch (s->sclass) {
    case SC_PAR: case SC_VAR: case SC_COM: case SC_FUNC: case SC_REC: case SC_PAR90:
    case SC_PAR90REC: case SC_REC90:
      break;
    default:
      return false;
  }
  if (s->hpfbits & (0x40u | 0x800u)) return false;
  bool function = (s->sclass == SC_FUNC && s->squal != SQ_INTRINSIC) || s->squal == SQ_FUNCVAR;
  if (!function) return true;
  const locsym* r = static_cast<const locsym*>(s->locdata);
  return s->arrspec == nullptr && (r == nullptr || r->arrspec == nullptr);
}

void prgend() {
  for (int32_t r = 0; r < 26; ++r) chk_imptyp(r);
  if (unit.body_begin != 0 && unit.rtn_end == 0) unit.rtn_end = unit.rtn_begin;
  restore_results();
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) return;
  // The unit's contained procedures are all read now.
  settle_held_references();
  bool module = unit.prgtyp == 12;
  for (locsym* s = Scope[Status.scope_level].head; s != nullptr; s = s->snext) {
    // A name of a module given only in PUBLIC or PRIVATE is a procedure
    // or generic that the module defines after CONTAINS: left as it is.
    if (module && s->sclass == SC_UNK && (s->attrib & 0x1800u) != 0 &&
        (s->usage & ~static_cast<uint32_t>(QB_DECL)) == 0) {
      continue;
    }
    if (s->sclass == SC_UNK) {
      if ((s->attrib & 0x1000000) == 0) {
        s->sclass = SC_VAR;
      } else if ((s->usage & QB_SET) == 0) {
        s->sclass = SC_SUB;
        s->attrib &= ~0x1000000u;
      }
    }
    if (module && (s->sclass == SC_FUNC || s->sclass == SC_SUB) && (s->attrib & 0x1000000u) &&
        ((s->attrib & (0x2000000u | 0x80000u)) || (s->usage & QB_SET) == 0)) {
      s->attrib &= ~0x1000000u;
    }
    // An intrinsic's type is its own (NULL has none).
    if ((s->sclass == SC_VAR || s->sclass == SC_FUNC) && s->type.code == 0 &&
        s->squal != SQ_INTRINSIC)
      imptypit(s, 0);
    if (s->sclass == SC_VAR && s->type.code == DT_TYPE) s->sclass = SC_REC90;
    if ((s->sclass == SC_FUNC || s->sclass == SC_SUB || s->sclass == SC_MODULE) &&
        s->squal == SQ_UNK) {
      s->squal = SQ_EXTERNAL;
    }
    if (module && spec.defaccess != 0 && (s->attrib & (ATTR_PRIVATE | ATTR_PUBLIC)) == 0) {
      s->attrib |= spec.defaccess == 2 ? ATTR_PRIVATE : ATTR_PUBLIC;
    }
    if (Status.hpfseq != 0 && takes_sequence_default(s)) s->hpfbits |= static_cast<uint32_t>(Status.hpfseq);
  }
  // An array-valued or typed result gives the function its type and shape.
  locsym* f = prgnam;
  if (f != nullptr && f->sclass == SC_FUNC && f->locdata != nullptr) {
    const locsym* r = static_cast<const locsym*>(f->locdata);
    if (r != f && r->type.code != 0 &&
        (r->type.code != f->type.code || r->type.sym != f->type.sym || r->type.value != f->type.value)) {
      f->type = r->type;
      f->props &= static_cast<uint8_t>(~CP_TYPIMP);
    }
    if (r != f && r->arrspec != nullptr && f->arrspec == nullptr) f->arrspec = r->arrspec;
  }
  // Only now are the dummies and the result of a module procedure typed
  // (implicitly too): the module's interfaces that name it learn its
  // class and its operands.
  if (Status.interface == 0 && Status.scope_level == 2 && prgnam != nullptr) intf_modproc_end(prgnam);
  // A module procedure: the module table's copies take its class and type
  // (known only now, from its result).
  if (f != nullptr && unit.prgtyp != 12) adjust_intf_sc(f);
  if (f != nullptr && Status.scope_level >= 2) note_contained_end(f);
}

// True when every letter of the IMPLICIT table is without a type.
static bool implicit_none_here() {
  for (int32_t r = 0; r < 26; ++r) {
    if (imptbl[r].code != 0) return false;
  }
  return true;
}

// The row flags of the check table.
struct UsageCheck {
  int32_t msg;
  uint8_t pointee, plain, notcom, dummies, notuse;
};
static const UsageCheck usage_checks[] = {
#define USAGE_CHECK(msg, pointee, plain, notcom, dummies, notuse) {msg, pointee, plain, notcom, dummies, notuse},
#include "checker/semantics/usagechecks.def"
    {0, 0, 0, 0, 0, 0}};
static_assert(std::size(usage_checks) == 14);

static bool row_takes(const UsageCheck& row, const locsym* s) {
  bool pointee = (s->props & CP_PTRBASED) != 0;
  if (row.pointee && !pointee) return false;
  if (row.plain && pointee) return false;
  if (row.notcom) {
    if (s->props & CP_COMBLK) return false;
    if (pointee && s->link != nullptr && (s->link->props & CP_COMBLK)) return false;
  }
  if (row.dummies && (s->usage & QB_DUM) == 0) return false;
  if (row.notuse && (s->attrib & 0x8000u)) return false;
  return true;
}

// Occurrences: the first or the last with any of the bits (0: any).
static const xrefrec* first_with(const locsym* s, uint32_t bits) {
  for (const xrefrec* x = s->xhead; x != nullptr; x = x->next) {
    if (bits == 0 || (x->usage & bits)) return x;
  }
  return nullptr;
}
static const xrefrec* last_with(const locsym* s, uint32_t bits) {
  const xrefrec* last = nullptr;
  for (const xrefrec* x = s->xhead; x != nullptr; x = x->next) {
    if (bits == 0 || (x->usage & bits)) last = x;
  }
  return last;
}

static bool data_class(const locsym* s) {
  return s->sclass == SC_VAR || s->sclass == SC_REC || s->sclass == SC_REC90;
}

// Whether row msg reports symbol s, and the occurrence to report at.
static bool usage_condition(int32_t msg, const locsym* s, const xrefrec** at) {
  constexpr uint32_t labels = QB_LABASSIGN | QB_LABUSE;
  constexpr uint32_t defined = QB_SET | QB_INIT | QB_INDINIT;
  uint32_t u = s->usage;
  bool dummy_class = (s->sclass == SC_UNK || data_class(s)) && (s->attrib & 0x4000000u) == 0;
  uint32_t intent = s->attrib & (0x4000000u | 0x40u | 0x20u | 4u | 2u);
  bool plain_var = data_class(s) && s->squal != SQ_FUNCVAR;
  switch (msg) {
    case 126:
    case 480:
      *at = first_with(s, QB_REF);
      return plain_var && (u & (QB_SET | QB_REF | QB_INDIRECT | QB_DUM | QB_INIT | QB_INDINIT)) == QB_REF;
    case 127:
    case 482:
      *at = last_with(s, QB_SET);
      return plain_var && (s->extra & 2) == 0 && (u & (QB_SET | QB_REF | QB_INDIRECT | QB_DUM)) == QB_SET;
    case 128:
      *at = last_with(s, 0);
      return plain_var && (s->extra & 2) == 0 &&
             (u & (QB_SET | QB_REF | QB_INDIRECT | QB_DUM | QB_SFD | labels | QB_NULL | QB_ALLOC |
                   QB_DEALLOC)) == 0;
    case 124:
      *at = last_with(s, 0);
      return dummy_class &&
             (u & (QB_SET | QB_REF | QB_INDIRECT | labels | QB_NULL | QB_ALLOC | QB_DEALLOC)) == 0;
    case 192:
      *at = first_with(s, QB_LABUSE);
      return s->sclass == SC_VAR && (u & labels) == QB_LABUSE;
    case 193:
      *at = last_with(s, QB_LABASSIGN);
      return s->sclass == SC_VAR && (u & labels) == QB_LABASSIGN;
    case 194: {
      if (s->sclass != SC_VAR || (u & labels) == 0 || (u & (QB_SET | QB_REF | QB_INDIRECT)) == 0) return false;
      int32_t nlab = 0, nnum = 0;
      for (const xrefrec* x = s->xhead; x != nullptr; x = x->next) {
        if (x->usage & labels) ++nlab;
        if (x->usage & (QB_SET | QB_REF | QB_INDIRECT)) ++nnum;
      }
      *at = nlab > nnum ? last_with(s, QB_SET | QB_REF | QB_INDIRECT) : last_with(s, labels);
      return true;
    }
    case 195:
      *at = first_with(s, labels);
      return s->sclass == SC_VAR && (u & labels) != 0;
    case 739:
      *at = last_with(s, defined);
      return dummy_class && intent == 0x20 && (u & defined) != 0;
    case 740:
      *at = first_with(s, QB_REF);
      return dummy_class && intent == 0x40 && (u & (QB_SET | QB_INDIRECT | QB_INIT | QB_INDINIT)) == 0;
    default:
      return false;
  }
}

void imprep() {
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) return;
  for (int32_t code = 1; code < dtstuff_rows; ++code) {
    bool printed = false;
    for (const locsym* s = Scope[Status.scope_level].head; s != nullptr; s = s->snext) {
      if (s->sclass != SC_VAR && s->sclass != SC_EXT && s->sclass != SC_FUNC) continue;
      if (s->type.code != 0 && (s->props & CP_TYPIMP) == 0) continue;
      if (s->type.code != code) continue;
      const xrefrec* x = first_with(s, 0);
      int32_t before = ecat.errcnt[125];
      report_at(125, x);
      printed = printed || ecat.errcnt[125] != before;
    }
    if (printed) rd_outstr("\n");
  }
}

// Places of a label's definition and first reference.
static void report_label(int32_t n, int32_t line) {
  xrefrec x{};
  x.line = line;
  report_at(n, line > 0 ? &x : nullptr);
}

void labchk() {
  bool want137 = ropt.fdbopt || errtoberep(137);
  bool want138 = ropt.fdbopt || errtoberep(138);
  if (want137) {
    bool printed = false;
    for (const LabelRec* l = labhead; l != nullptr; l = l->next) {
      if ((l->flags & (1 | 4 | 8 | 16)) && (l->flags & (2 | 32)) == 0) {
        report_label(137, l->refline);
        printed = true;
      }
    }
    if (printed && an.lpass == 1) rd_outstr("\n");
  }
  if (want138) {
    bool printed = false;
    for (const LabelRec* l = labhead; l != nullptr; l = l->next) {
      if ((l->flags & (2 | 32)) && (l->flags & (1 | 4 | 8 | 16)) == 0) {
        report_label(138, l->line);
        printed = true;
      }
    }
    if (printed && an.lpass == 1) rd_outstr("\n");
  }
}

static void loc_doFlowAnalysis() {}

void locchk() {
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) return;
  locsym* head = Scope[Status.scope_level].head;
  bool host_proc = (unit.prgtyp == 5 || unit.prgtyp == 6) && prgnam != nullptr &&
                   (prgnam->attrib & 0x10000u) != 0;
  for (const UsageCheck* row = usage_checks; head != nullptr && row->msg != 0; ++row) {
    int32_t msg = row->msg;
    if (msg == 125 && implicit_none_here()) continue;
    if (host_proc && msg == 126) msg = 824;
    if (host_proc && msg == 127) msg = 825;
    if (!errtoberep(msg) && !ropt.fdbopt) continue;
    if ((msg == 739 || msg == 740) && ropt.Language == 1) continue;
    if (msg == 128 && unit.prgtyp == 12) continue;
    // A module's variable that is not PRIVATE is there for the units that
    // use the module: what they set or reference is not known here.
    bool public_vars_skipped = unit.prgtyp == 12 && (row->msg == 126 || row->msg == 127 ||
                                                     row->msg == 480 || row->msg == 482);
    for (const locsym* s = head; s != nullptr; s = s->snext) {
      if (s == prgnam || !row_takes(*row, s)) continue;
      if (msg == 125) {
        if ((s->sclass == SC_VAR || s->sclass == SC_FUNC) && (s->props & CP_TYPIMP)) {
          imprep();
          break;
        }
        continue;
      }
      if (public_vars_skipped && (s->attrib & 0x800u) == 0) continue;
      const xrefrec* at = nullptr;
      if (usage_condition(row->msg, s, &at)) report_at(msg, at);
    }
  }
  loc_doFlowAnalysis();
  if (unit.labpro) labchk();
}

namespace {

// Calls node(d) for every node of the dummy lists of the unit, of its
// entries and of the host. A statement function's list holds its own
// dummies, not the unit's, and is passed over.
template <class F>
void walk_unit_dummies(F node) {
  locsym* owners[3] = {prgnam, nullptr, nullptr};
  if (Status.scope_level > 1) owners[1] = Scope[Status.scope_level - 1].unitsym;
  auto visit = [&](locsym* u) {
    if (u == nullptr || (u->attrib & 0x1000000u)) return;
    for (DummyNode* d = static_cast<DummyNode*>(u->list); d != nullptr; d = d->next) node(d);
  };
  for (locsym* u : owners) visit(u);
  for (locsym* s = Scope[Status.scope_level].head; s != nullptr; s = s->snext) {
    if (s != prgnam && s->owner == prgnam && (s->sclass == SC_FUNC || s->sclass == SC_SUB) &&
        s->squal != SQ_STATFUN && s->list)
      visit(s);
  }
}

}  // namespace

bool is_unit_dummy(const locsym* arg) {
  if (arg == nullptr || (unit.prgtyp != 5 && unit.prgtyp != 6) || prgnam == nullptr) return false;
  bool found = false;
  walk_unit_dummies([&](DummyNode* d) { found = found || d->sym == arg; });
  return found;
}
const UnkArg* unkarg_head() { return unk.unkhead; }

void dummypass(locsym* proc, locsym* arg, int32_t word) {
  if (proc == nullptr || arg == nullptr || (arg->attrib & 0x1000000u)) return;
  if (instatfunc()) {
    statfunc_queue_pass(proc, arg, word);
    return;
  }
  if ((unit.prgtyp != 5 && unit.prgtyp != 6) || prgnam == nullptr) rd_interr("LOC-005");
  bool found = false;
  walk_unit_dummies([&](DummyNode* d) {
    if (d->sym != arg) return;
    found = true;
    ++unk.numunks;
    ++unk.usdunktbl;
    UnkArg* r = local_new<UnkArg>();
    r->proc = proc;
    r->word = word;
    r->usage = arg->usage & (QB_SET | QB_REF | QB_INDIRECT | QB_RBS);
    r->seq = unk.numunks;
    arg->usage &= ~static_cast<uint32_t>(QB_SET | QB_REF | QB_INDIRECT | QB_RBS);
    if (unk.unktail == nullptr) {
      unk.unkhead = r;
    } else {
      unk.unktail->next = r;
    }
    unk.unktail = r;
    if (d->unklast == nullptr) {
      d->unkfirst = r;
    } else {
      d->unklast->dnext = r;
    }
    d->unklast = r;
  });
  if (!found) rd_interr("LOC-006");
}

void checkloc(const char* caller) {
  if (!ropt.qmsane) return;
  std::string who = caller != nullptr ? caller : "";
  for (int32_t l = 1; l <= MAX_SCOPES; ++l) {
    for (const locsym* s = Scope[l].head; s != nullptr; s = s->snext) {
      qmcheckp((who + ": checkmem [001]").c_str(), s);
      qmcheckp((who + ": checkmem [002]").c_str(), s->name);
      if (s->hnext) qmcheckp((who + ": checkmem [003]").c_str(), s->hnext);
      if (s->link) qmcheckp((who + ": checkmem [004]").c_str(), s->link);
      if (s->intflink) qmcheckp((who + ": checkmem [005]").c_str(), s->intflink);
      for (const xrefrec* x = s->xhead; x != nullptr; x = x->next) {
        qmcheckp((who + ": checkmem [006]").c_str(), x);
      }
      if (s->type.tag == 'q' && s->type.sym) qmcheckp((who + ": checkmem [007]").c_str(), s->type.sym);
      if (s->list) qmcheckp((who + ": checkmem [008]").c_str(), s->list);
      if (s->arrspec) qmcheckp((who + ": checkmem [009]").c_str(), s->arrspec);
      if (s->locdata) qmcheckp((who + ": checkmem [010]").c_str(), s->locdata);
      if (s->owner && s->owner != s) qmcheckp((who + ": checkmem [011]").c_str(), s->owner);
      if (s->modcopy) qmcheckp((who + ": checkmem [012]").c_str(), s->modcopy);
    }
  }
}

// The first executable statement closes the specification part: storage
// sizes are settled (EQUIVALENCE and DATA are read back by the owners of
// the work files).
void close_specification_part() { setsizes(); }
