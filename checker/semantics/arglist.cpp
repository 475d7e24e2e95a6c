// The argument-list reader of CALL statements and function references:
// reads each actual argument with the expression evaluator, builds its
// actual-argument record (pool "actargs", one per reference), records the
// use of the names passed and compares each actual with the callee's dummy:
// a statement function's dummies, or the dummy descriptors of the
// procedure's global record. Intrinsic references go to the intrinsic
// reader as a whole.
#include "checker/semantics/arglist.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "checker/base/cmmdline.h"
#include "checker/base/errmsg.h"
#include "checker/base/directives.h"
#include "checker/base/exprstate.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/getfun.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/samestruct.h"
#include "checker/semantics/sizes.h"

namespace {

// The argument-kind table, expanded from its rows.
struct ArgKindRow {
  const char* name;
  const char* article;
  int8_t match[argkind_count];
};
constexpr ArgKindRow argkind_rows[] = {
#define ARGKIND(code, name, article, sca, arr, sub, arrmem, altret, agg, val, null) \
  {name, article, {sca, arr, sub, arrmem, altret, agg, val, null}},
#include "checker/semantics/argkinds.def"
};
static_assert(std::size(argkind_rows) == argkind_count);

// Portability notes (issues, not reported in this build).
constexpr int32_t NOTE_SF_ARRAY_ARG = 9201;    // array or procedure for a statement function
constexpr int32_t NOTE_AMP_ALTRET = 9202;      // "&" alternate return
constexpr int32_t NOTE_PERCENT_FORM = 9203;    // %VAL, %REF, %DESCR
constexpr int32_t NOTE_SIZE_DIFFERS = 9204;    // integer or logical of another size
constexpr int32_t NOTE_CHAR_FOR_NUMBER = 9205; // character actual for a number
constexpr int32_t NOTE_CHAR_FOR_BYTE = 9206;   // character for a BYTE or LOGICAL*1 array
constexpr int32_t NOTE_SFDUM_SET = 9207;       // a statement-function dummy set by a call

// Type bits of dtstuff: integer and logical families.
constexpr uint32_t TB_LOGICAL = 0x1, TB_INTEGER = 0x2;
constexpr uint8_t DT_HOLL = 12, DT_CHARACTER = 14, DT_RECORD = 15, DT_TYPELESS = 16,
                  DT_DERIVED = 26;

bool f77() { return ropt.Language == 1; }

void msg(int32_t n, int32_t col, const char* inserts = "") {
  tk.errcol = col;
  errmsg(n, inserts);
}

bool is_structure(uint8_t code) { return code == DT_RECORD || code == DT_DERIVED; }

int32_t char_length(const dtdesc& t) { return t.code == DT_CHARACTER && t.tag == 'p' ? t.value : 0; }

// The call records of the unit, by procedure symbol.
std::unordered_map<locsym*, locdata2*> call_records;

// State of one reference.
struct ArgRef {
  locsym* proc = nullptr;
  const symrec* rec = nullptr;  // the procedure's global record, or null
  bool generic = false;         // rec is a generic interface with candidates
  const intrin_generic* intrinsic = nullptr;  // an intrinsic of the generic's name
  bool to_intrinsic = false;    // that intrinsic takes the reference
  bool checks = false;          // a description of the callee is in hand
  bool statfun = false;
  StatFuncDummy* sfnext = nullptr;  // next statement-function dummy
  uint8_t* given = nullptr;     // position flags
  int32_t ngiven = 0;
  bool keyword_seen = false;
  bool altret_seen = false;
  bool hpf_checks = false;
  int32_t index = 0;            // arguments read so far
  qlist* pool = nullptr;        // "actargs"
  actarg* first = nullptr;
  actarg* last = nullptr;
  callrec* call = nullptr;
  argtext* lasttext = nullptr;
};

// The argument text of pstat[from, to) with character constants written
// out between apostrophes.
std::string source_text(int32_t from, int32_t to) {
  std::string out;
  for (int32_t p = from; p < to && p < PSTAT_SIZE;) {
    int c = pstat[p];
    if ((c == 'a' || c == 'q' || c == 'h') && p + 2 < PSTAT_SIZE) {
      int32_t len = (pstat[p + 1] << 8) | pstat[p + 2];
      out += '\'';
      for (int32_t i = 0; i < len && p + 5 + i < PSTAT_SIZE; ++i) out += static_cast<char>(pstat[p + 5 + i]);
      out += '\'';
      p += 6 + len;
      continue;
    }
    if (c == 10) break;
    out += static_cast<char>(c);
    ++p;
  }
  return out;
}

void add_argtext(ArgRef& r, int32_t from, int32_t to, bool quoted) {
  if (r.call == nullptr) return;
  argtext* t = local_new<argtext>();
  std::string s = source_text(from, to);
  if (quoted && s.size() >= 2 && s.front() == '\'' && s.back() == '\'') s = s.substr(1, s.size() - 2);
  t->text = qstore(local_pool(), s);
  t->quoted = quoted ? 1 : 0;
  if (r.lasttext == nullptr) {
    r.call->args = t;
  } else {
    r.lasttext->next = t;
  }
  r.lasttext = t;
}

actarg* new_actarg(ArgRef& r, int32_t col) {
  actarg* a = qnew<actarg>(r.pool);
  a->col = col;
  a->position = r.index;
  a->kind = AC_UNUSED;
  a->present = 1;
  if (r.last == nullptr) {
    r.first = a;
  } else {
    r.last->next = a;
  }
  r.last = a;
  return a;
}

// The size in bytes of a symbol's storage (0 when not known).
int32_t symbol_size(locsym* s) {
  if (s == nullptr) return 0;
  if (s->size > 0) return s->size;
  int32_t n = getnumele(s);
  int32_t t = gettypsiz(s->type);
  if (n <= 0 || t <= 0) return 0;
  int64_t total = static_cast<int64_t>(n) * t;
  return total > INT32_MAX ? 0 : static_cast<int32_t>(total);
}

int32_t element_bytes(int32_t count, const dtdesc& type) {
  int32_t t = gettypsiz(type);
  if (count <= 0 || t <= 0) return 0;
  int64_t total = static_cast<int64_t>(count) * t;
  return total > INT32_MAX ? 0 : static_cast<int32_t>(total);
}

// Argument kind and size of a plain form; false when the reference ends.
bool classify(actarg* a, uint32_t form, locsym* sym) {
  take_expression(a, form, sym);
  if (form == 0x1) {
    a->kind = AC_SCA;
    return true;
  }
  if (form == 0x800) {
    a->kind = AC_ARR;
    a->size = element_bytes(got_arrelm, got_typ);
    return true;
  }
  if (form == 0x80000) {
    if (sym == nullptr || (sym->sclass != SC_STRUCT && sym->sclass != SC_STRUCT90)) return false;
    a->kind = AC_SCA;
    a->size = sym->size > 0 ? sym->size : 0;
    return true;
  }
  if (sym == nullptr) return false;
  switch (form) {
    case 0x2: case 0x10: case 0x100000:
      a->kind = sym->arrspec != nullptr ? AC_ARRMEM : AC_SCA;
      if (is_structure(a->type.code)) {
        locsym* st = a->type.tag == 'q' ? PGetQStructsym(&a->type) : nullptr;
        a->size = st != nullptr && st->size > 0 ? st->size : 0;
      } else {
        a->size = gettypsiz(a->type) > 0 ? gettypsiz(a->type) : 0;
      }
      return true;
    case 0x4: case 0x40:
      a->kind = AC_ARR;
      a->rank = get_array_rank(sym);
      a->size = symbol_size(sym);
      return true;
    case 0x8:
      a->kind = AC_SUB;
      return true;
    case 0x200: case 0x400:
      if (f77()) break;
      a->kind = AC_ARR;
      a->size = element_bytes(got_arrelm, got_typ);
      return true;
    case 0x200000:
      if (f77()) break;
      a->kind = AC_ARR;
      a->size = symbol_size(sym);
      return true;
    default:
      break;
  }
  msg(58, a->col);
  return false;
}

// A name passed on that is a dummy of the unit (or, while a statement
// function is defined, one of its dummies) is left to the global pass with
// its use so far: dummypass. False when the actual is no such name.
bool pass_dummy(locsym* proc, const actarg* a) {
  locsym* s = a->sym;
  if (s == nullptr || (a->form & 0x300801u) != 0) return false;
  if (!(instatfunc() && s->squal == SQ_SFDUMARG) && !((s->usage & QB_DUM) && is_unit_dummy(s)))
    return false;
  dummypass(proc, s, a->position);
  return true;
}

// Step 9: the use of an actual passed to a procedure of which nothing is
// known: it may be defined through the call.
void record_unknown_use(const actarg* a) {
  if (a->sym == nullptr || a->kind == AC_NULL || a->kind == AC_ALTRET) return;
  if (a->form == 0x8) {
    flaguse(a->sym, QB_ACT | 0x10000000u, a->col);
  } else if (a->form == 0x1) {
    return;
  } else if (a->kind == AC_VAL) {
    flaguse(a->sym, QB_ACT | QB_REF, a->col);
  } else {
    flaguse(a->sym, QB_ACT | 0x10000000u, a->col);
  }
}

// Step 8: the use of an actual by what the dummy's usage word says.
void record_dummy_use(const actarg* a, const argdesc& d) {
  if (a->sym == nullptr) return;
  uint32_t use = QB_ACT;
  if (a->form == 0x8) {
    use |= d.usage & (0x10000000u | QB_CALLED);
  } else if ((a->form & 0x300801u) == 0) {
    use |= d.usage & (QB_SET | QB_REF | 0x10000000u | QB_RBS | QB_CALLED);
    if ((use & QB_SET) && a->sym->squal == SQ_SFDUMARG) issue(NOTE_SFDUM_SET);
  }
  flaguse(a->sym, use, a->col);
}

// The dummy's kind as chkarg sees it: an array dummy written with kind 0
// but with dimensions is an ARRAY.
int32_t dummy_kind(const argdesc* d) {
  if (d->usage & AD_BYVALUE) return AC_VAL;
  if (d->kind == AC_SCA && d->ndims > 0) return AC_ARR;
  return d->kind;
}

// The storage size of a structure type (local or global), 0 unknown.
int32_t structure_size(const dtdesc& t) {
  if (t.tag == 'q') {
    locsym* s = PGetQStructsym(&t);
    return s != nullptr && s->size > 0 ? s->size : 0;
  }
  if (t.tag == 'r' && PGetQGlostruct(&t) > 0 && PGetQGlostruct(&t) <= symt.symcnt) {
    symrec r;
    readsymb(PGetQGlostruct(&t), r);
    return r.size > 0 ? r.size : 0;
  }
  return 0;
}

// Compares the structures of an actual and a dummy of the same data type;
// true after a message.
bool compare_structures(const actarg* a, const argdesc* d, int32_t dkind) {
  int32_t drec = d->type.tag == 'r' ? PGetQGlostruct(&d->type) : 0;
  if (drec <= 0 || drec > symt.symcnt) return false;
  locsym* alocal = a->type.tag == 'q' ? PGetQStructsym(&a->type) : nullptr;
  int32_t arec = a->type.tag == 'r' ? PGetQGlostruct(&a->type)
                 : alocal != nullptr ? static_cast<int32_t>(alocal->glorec) : 0;
  if (arec == drec) return false;
  if (arec <= 0 && alocal == nullptr) return false;
  int32_t asize = structure_size(a->type);
  int32_t dsize = structure_size(d->type);
  bool scalar = dkind == AC_SCA;
  if (asize != dsize) {
    msg(scalar ? 255 : 273, a->col, "qg");
    return true;
  }
  int same;
  if (arec > 0 && arec <= symt.symcnt) {
    same = samestruct_GG(arec, drec);
  } else {
    same = samestruct_GL(drec, alocal);
    symrec r;
    readsymb(drec, r);
    if (same == 1 && std::strcmp(r.namebuf, alocal->name) == 0) same = 2;
  }
  if (same == 2) return false;
  msg(scalar ? (same == 1 ? 256 : 249) : (same == 1 ? 274 : 272), a->col, "qg");
  return true;
}

// chkarg and chkarg_glostruct: glo names the inserts "gg" and leaves out 736.
void check_argument(const actarg* a, int32_t isexp, int32_t iscon, const argdesc* d, bool glo) {
  if (a == nullptr || d == nullptr || (d->usage & AD_NOCHECK)) return;
  const char* qg = glo ? "gg" : "qg";
  int32_t dkind = dummy_kind(d);
  int32_t akind = a->kind;
  if (dkind < 0 || dkind >= argkind_count || akind < 0 || akind >= argkind_count) return;
  switch (argkind_match(dkind, akind)) {
    case 0:
      msg(250, a->col, "sss");
      return;
    case 1:
      return;
    case 3:
      if ((d->usage & AD_OMITTABLE) == 0) msg(258, a->col);
      return;
    case 2:
      break;
    default:
      rd_interr("chkarg");
  }
  dtdesc at = a->type;
  const dtdesc& dt = d->type;
  // Hollerith concatenation: a character constant is passed as Hollerith.
  if ((compiler & 64) && concholl && at.code == DT_CHARACTER && isexp && iscon) at.code = DT_HOLL;
  if ((d->attrs & AD_POINTER) && actual_is_pointer(a) == 0) msg(754, a->col);
  bool notype = (d->usage & AD_NOTYPECHECK) != 0;
  bool shape_msg = false;
  if (akind == AC_SCA && dkind == AC_ARR && at.code != DT_HOLL && at.code != DT_TYPELESS && !notype) {
    shape_msg = true;
    if (at.code == DT_CHARACTER && (dt.code == 10 || dt.code == 11)) {
      issue(NOTE_CHAR_FOR_BYTE);
    } else if (isexp) {
      msg(257, a->col, qg);
    } else if (is_structure(at.code) && dt.code != at.code) {
      msg(271, a->col, qg);
    } else {
      msg(251, a->col, qg);
    }
  } else if (akind == AC_ARR && dkind == AC_SCA) {
    shape_msg = true;
    msg(254, a->col, qg);
  }
  if (!notype && !shape_msg) {
    if (at.code == dt.code) {
      if (is_structure(at.code)) compare_structures(a, d, dkind);
    } else if (dkind == AC_SCA) {
      uint32_t au = getdtusg(at.code), du = getdtusg(dt.code);
      if ((at.code == DT_HOLL || at.code == DT_TYPELESS) && dt.code != DT_CHARACTER) {
        // typeless data for anything but CHARACTER
      } else if (((au & du) & TB_INTEGER) || ((au & du) & TB_LOGICAL)) {
        if (getdtsize(at.code) != getdtsize(dt.code)) issue(NOTE_SIZE_DIFFERS);
      } else if (at.code == DT_CHARACTER) {
        issue(NOTE_CHAR_FOR_NUMBER);
      } else if (is_structure(at.code) && dt.code != at.code) {
        msg(248, a->col, qg);
      } else if (!glo && is_same_dtclass(at.code, dt.code)) {
        msg(736, a->col, qg);
      } else {
        msg(55, a->col, qg);
      }
    } else if (dkind == AC_ARR) {
      if (akind == AC_ARRMEM) {
        msg(is_structure(at.code) && dt.code != at.code ? 271 : 253, a->col, qg);
      } else {
        msg(252, a->col, qg);
      }
    }
  }
  if (at.kind != 0 && dt.kind != 0 && at.kind != dt.kind) msg(751, a->col, "dd");
  argchk_rank(a, akind, a->size, d, dkind);
  if (akind == AC_ARR && dkind == AC_ARR && a->size > 0 && d->size > 0 && a->size != d->size) {
    msg(a->size < d->size ? 287 : 279, a->col, "qgd");
  } else if (akind == AC_ARRMEM && dkind == AC_ARR && at.code == dt.code && a->size > 0 &&
             d->size <= 0 && a->sym != nullptr && a->sym->arrspec != nullptr &&
             (a->sym->attrib & 0x3u)) {
    msg(253, a->col, qg);
  }
  if ((akind == AC_SCA || akind == AC_ARRMEM) && dkind == AC_SCA) {
    int32_t al = char_length(at), dl = char_length(dt);
    if (al > 0 && dl > 0 && al != dl) {
      msg(al < dl ? 282 : (iscon && isexp ? 280 : 281), a->col, qg);
    }
  }
  if (isexp && (d->usage & AD_SETS)) msg(iscon ? 59 : 63, a->col);
}

// The record whose dummies an argument is compared with: the procedure's
// own, or nothing for a generic interface (its specific is chosen after
// the list).
const symrec* dummies_of(const ArgRef& r) { return r.generic ? nullptr : r.rec; }

// Checks of one actual against the callee (steps 8 and 9).
void check_actual(ArgRef& r, actarg* a, const char* keyword, int32_t kwcol) {
  pass_dummy(r.proc, a);
  if (!r.checks || r.rec == nullptr) {
    record_unknown_use(a);
    return;
  }
  int32_t pos = r.index;
  if (keyword != nullptr) {
    if (r.generic) {
      pos = r.index;
    } else {
      pos = getArgKeywd(keyword, kwcol, r.given, r.rec);
      if (pos < 0) {
        r.checks = false;
        record_unknown_use(a);
        return;
      }
    }
    a->position = pos;
  }
  if (r.generic) {
    if (pos < r.ngiven) r.given[pos] = 1;
    intf_argmatch(pos, keyword, a);
    // An intrinsic of the generic's name that fits the actual better than
    // every specific takes the reference; the specifics' no-match message
    // does not apply to it then.
    if (!r.to_intrinsic && r.intrinsic != nullptr && intf_overload_intrinsic(pos, a) == 1)
      r.to_intrinsic = true;
    if (!r.to_intrinsic && intf_chkNomatch(pos) == -1) r.checks = false;
    record_unknown_use(a);
    return;
  }
  const symrec* rec = dummies_of(r);
  if (pos >= rec_ndummies(*rec)) {
    msg(57, a->col);
    r.checks = false;
    record_unknown_use(a);
    return;
  }
  if (pos < r.ngiven) r.given[pos] = 1;
  argdesc d = rec_dummy(*rec, pos);
  if (d.kind == 8 || d.kind == 9) {
    record_unknown_use(a);
    return;
  }
  record_dummy_use(a, d);
  if (a->glostruct) {
    chkarg_glostruct(a, is_exp(a->form), a->con != 0, &d);
  } else {
    chkarg(a, is_exp(a->form), a->con != 0, &d);
  }
  if (r.hpf_checks && (a->form & 0x644u) && a->sym != nullptr) {
    int32_t explicit_intf =
        (r.proc->attrib & (0x2000000u | 0x80000u)) || r.proc->squal == 7 ? 1 : 0;
    if (chkarg_hpf(a->sym, &d, explicit_intf) == -2) r.hpf_checks = false;
  }
}

// The argument kinds with which the actuals of a procedure are read.
uint32_t argument_kinds(bool statfun, int32_t litval) {
  uint32_t k = f77() ? 0x5fu : (statfun ? 0x38065fu : 0x380e5fu);
  return litval ? k | 0x20u : k;
}

// A structure actual of a host unit that already has a global record is
// compared through the global store.
bool host_structure(const locsym* s) {
  if (s == nullptr || !is_structure(s->type.code)) return false;
  if (s->sclass == SC_STRUCT || s->sclass == SC_STRUCT90 || s->squal == SQ_STRUCTFLD) return false;
  return Status.scope_level > 1 && s->owner != nullptr && s->owner != prgnam && s->glorec != 0;
}

// Reads one actual of a statement function (step 7, first case).
bool read_statfun_actual(ArgRef& r, int32_t litval) {
  int32_t col = tk.stacol;
  while (pstat[col] == ' ') ++col;
  uint32_t form = read_expression(argument_kinds(true, litval));
  if (form == 0) return false;
  add_argtext(r, col, tk.stacol, argisquoted != 0 && form == 0x1 && got_sym == nullptr);
  if (form & 0x64cu) issue(NOTE_SF_ARRAY_ARG);
  actarg* a = new_actarg(r, col);
  take_expression(a, form, got_sym);
  if (!r.checks) return true;
  if (r.sfnext == nullptr) {
    msg(57, col);
    r.checks = false;
    return true;
  }
  bool set = (r.sfnext->usage & QB_SET) != 0;
  if (got_sym != nullptr && form != 0x1) {
    // The body's passes of the dummy pass the actual on (first, so that
    // the uses replayed after them stay with the actual); any other
    // actual may be defined through them.
    uint32_t use = QB_ACT | r.sfnext->usage;
    for (const StatFuncPass* p = r.sfnext->passes; p != nullptr; p = p->next) {
      a->position = p->word;
      if (!pass_dummy(p->proc, a)) use |= QB_INDIRECT;
    }
    a->position = r.index;
    flaguse(got_sym, use, col);
  }
  const locsym* dummy = r.sfnext->sym;
  // A dummy that got no type of its own (message 136 under IMPLICIT NONE)
  // is not compared.
  bool typed = dummy != nullptr && ((dummy->props & CP_TYPIMP) || (dummy->usage & QB_DECL));
  tk.errcol = col;
  if (typed)
    chksfarg(&got_typ, dummy != nullptr ? &dummy->type : &got_typ, form == 0x1 ? 1 : 0,
           got_con != 0 ? 1 : 0, set ? 1 : 0);
  r.sfnext = r.sfnext->next;
  return true;
}

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }

// Reads one actual of any other procedure (step 7, last case); false when
// the reference ends.
bool read_procedure_actual(ArgRef& r, int32_t litval) {
  TokenState start = tk;
  getokn();
  int32_t col = tk.tokbeg;
  // An omitted argument.
  if (is_other(',') || is_other(')')) {
    tk = start;
    if (r.keyword_seen) {
      msg(705, col);
      r.checks = false;
    }
    actarg* a = new_actarg(r, col);
    a->kind = AC_NULL;
    add_argtext(r, col, col, false);
    check_actual(r, a, nullptr, 0);
    return true;
  }
  // An alternate return: "*" or "&" and a label.
  if (is_other('*') || is_other('&')) {
    if (!f77() && !r.altret_seen) msg(600, col);
    r.altret_seen = true;
    if (is_other('&')) issue(NOTE_AMP_ALTRET);
    if (r.keyword_seen) {
      msg(705, col);
      r.checks = false;
    }
    getokn();
    if (tk.toktyp != TT_DIGITS) {
      msg(26, tk.tokbeg);
      return false;
    }
    if (unit.labpro) lhand(labfind(), 1);
    actarg* a = new_actarg(r, col);
    a->kind = AC_ALTRET;
    add_argtext(r, col, tk.stacol, false);
    check_actual(r, a, nullptr, 0);
    return true;
  }
  // %VAL, %REF and %DESCR.
  int32_t percent = 0;  // 1 VAL, 2 REF, 3 DESCR
  if (is_other('%')) {
    getokn();
    if (tk.toktyp == TT_NAME && pstat[tk.stacol] == '(') {
      std::string w(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(tk.toksiz));
      percent = w == "VAL" ? 1 : w == "REF" ? 2 : w == "DESCR" ? 3 : 0;
    }
    if (percent == 0) {
      tk = start;
    } else {
      issue(NOTE_PERCENT_FORM);
      getokn();  // "("
    }
  } else {
    tk = start;
  }
  // A keyword argument: name "=".
  const char* keyword = nullptr;
  int32_t kwcol = col;
  std::string kwname;
  if (percent == 0 && !f77()) {
    TokenState keep = tk;
    getokn();
    if (tk.toktyp == TT_NAME && pstat[tk.stacol] == '=' && pstat[tk.stacol + 1] != '=') {
      kwname.assign(reinterpret_cast<const char*>(pstat + tk.tokbeg),
                    static_cast<size_t>(tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz));
      keyword = kwname.c_str();
      ++tk.stacol;
      r.keyword_seen = true;
    } else {
      tk = keep;
    }
  }
  if (keyword == nullptr && r.keyword_seen) {
    msg(705, col);
    r.checks = false;
  }
  int32_t textbeg = tk.stacol;
  while (pstat[textbeg] == ' ') ++textbeg;
  uint32_t form = read_expression(percent == 1 ? 0x1u : argument_kinds(false, litval));
  if (form == 0) return false;
  locsym* sym = got_sym;
  bool quoted = argisquoted != 0 && form == 0x1 && sym == nullptr;
  actarg* a = new_actarg(r, col);
  if (percent != 0) {
    getokn();
    if (!is_other(')')) {
      msg(7, tk.tokbeg);
      return false;
    }
  }
  if (percent == 1) {
    take_expression(a, form, sym);
    a->kind = AC_VAL;
  } else {
    int32_t sub = vhs ? charsubsize : -1;
    if (!classify(a, form, sym)) return false;
    if (percent == 2 && a->type.code == DT_CHARACTER) a->type.code = DT_HOLL;
    if (percent == 3) {
      a->type.code = DT_CHARACTER;
      if (sub >= 0) PSetQCharsize(&a->type, sub);
    }
  }
  add_argtext(r, textbeg, tk.stacol, quoted);
  if (host_structure(sym)) a->glostruct = 1;
  check_actual(r, a, keyword, kwcol);
  return true;
}

// Step 4: a recursive reference to the function being defined takes the
// type of its result variable.
void take_result_type(locsym* sym) {
  if (sym != prgnam || unit.prgtyp != 5 || sym->locdata == nullptr) return;
  const locsym* res = static_cast<const locsym*>(sym->locdata);
  if (res->type.code == 0 || res->type.code == sym->type.code) return;
  sym->type.code = res->type.code;
  if (res->type.code == DT_DERIVED) {
    sym->type = res->type;
  } else if (res->type.code == DT_CHARACTER) {
    PSetQCharsize(&sym->type, res->type.value > 0 ? res->type.value : 0);
  }
}

// Step 4: a reference to an EXTRINSIC(HPF_LOCAL) procedure inside FORALL.
void check_hpf_local(const ArgRef& r, int32_t col) {
  if (!flopt_hpf || !unit.labpro || nest.nestdep <= 0 || nest.e[nest.nestdep].code != 12) return;
  if ((r.rec != nullptr && (r.rec->hpf & 0x4000u)) || (r.proc->hpfbits & 0x4000u)) msg(802, col);
}

// Step 10 for a procedure with a global record.
void check_list_end(ArgRef& r, int32_t col) {
  if (!r.checks || r.rec == nullptr) return;
  symrec spec;
  const symrec* target = r.rec;
  bool matched = false;
  if (r.generic) {
    int32_t recno = intf_matchargnum(r.index);
    if (recno <= 0 || recno > symt.symcnt) return;
    readsymb(recno, spec);
    target = &spec;
    matched = true;
  }
  int32_t nd = rec_ndummies(*target);
  if (!r.keyword_seen) {
    for (int32_t i = r.index; i < nd; ++i) {
      argdesc d = rec_dummy(*target, i);
      if ((d.attrs & AD_OPTIONAL) || (d.usage & AD_NOCOUNT)) continue;
      msg(matched ? 834 : 56, col, matched ? "ss" : "");
      break;
    }
  } else {
    uint8_t* flags = r.given;
    if (nd > r.ngiven) {
      flags = static_cast<uint8_t*>(qcalloc(r.pool, nd));
      std::memcpy(flags, r.given, static_cast<size_t>(r.ngiven));
    }
    tk.errcol = col;
    if (matched) {
      intf_chkargnum(target, flags);
    } else {
      chkargnum(target, flags);
    }
  }
  if (matched) {
    intf_chkAmbiguous(r.proc);
    assign_dt_generic(r.proc, target);
  }
}

// The local copy of the intrinsic that a generic of its name hands a
// reference to, typed by the intrinsic's first specific when untyped.
locsym* overloaded_intrinsic(locsym* sym, const intrin_generic* g) {
  locsym* s = getsym_ov_intrin(sym);
  if (s != nullptr && s->type.code == 0) {
    const intrin_spec* const* spec = intrin_find_specific(g);
    if (spec != nullptr && *spec != nullptr && (*spec)->rettype != 0) {
      s->type.code = static_cast<uint8_t>(changeinftyp((*spec)->rettype));
      s->type.tag = 'p';
    }
  }
  return s;
}

void record_call(ArgRef& r) {
  locdata2* d = get_locdata2(r.proc);
  callrec* c = local_new<callrec>();
  c->codlno = rsrc.codlno;
  if (d->last == nullptr) {
    d->calls = c;
  } else {
    d->last->next = c;
  }
  d->last = c;
  r.call = c;
}

}  // namespace

// Copies what the expression reader found into the actual's record.
void take_expression(actarg* a, uint32_t form, locsym* sym) {
  a->form = form;
  a->type = got_typ;
  a->rank = got_arrsecdims;
  a->rank_unknown = got_rank_unknown;
  a->valok = got_ok;
  a->con = got_con;
  a->value = got_val;
  a->sym = sym;
  // The component reference that the expression reader read last is the
  // argument's own when the argument is a single name.
  a->field = sym != nullptr ? got_field : nullptr;
  a->field_unknown = sym != nullptr && got_field_unknown;
}

int32_t actual_is_pointer(const actarg* a) {
  if (a == nullptr || a->sym == nullptr || a->field_unknown) return -1;
  if (a->field != nullptr) return (a->field->attrib & 0x2) != 0 ? 1 : 0;
  return (a->sym->attrib & 0x2) != 0 || (a->sym->props & CP_POINTER) != 0 ? 1 : 0;
}

const char* argkind_name(int32_t kind) {
  return kind >= 0 && kind < argkind_count ? argkind_rows[kind].name : "";
}
const char* argkind_article(int32_t kind) {
  return kind >= 0 && kind < argkind_count ? argkind_rows[kind].article : "";
}
int32_t argkind_match(int32_t dummy, int32_t actual) {
  if (dummy < 0 || dummy >= argkind_count || actual < 0 || actual >= argkind_count) return 9;
  return argkind_rows[dummy].match[actual];
}

int32_t rec_ndummies(const symrec& rec) {
  if (rec.sc != SC_FUNC && rec.sc != SC_SUB) return 0;
  int32_t fit = static_cast<int32_t>(rec.extra.size() / argdesc_bytes);
  return rec.nitems < fit ? (rec.nitems > 0 ? rec.nitems : 0) : fit;
}

argdesc rec_dummy(const symrec& rec, int32_t i) {
  argdesc d{};
  if (i >= 0 && i < rec_ndummies(rec)) argdesc_get(d, rec.extra.data() + static_cast<size_t>(i) * argdesc_bytes);
  d.name[sizeof d.name - 1] = '\0';
  return d;
}

void rec_set_dummy(symrec& rec, int32_t i, const argdesc& d) {
  size_t need = static_cast<size_t>(i + 1) * argdesc_bytes;
  if (rec.extra.size() < need) rec.extra.resize(need, 0);
  if (rec.nitems < i + 1) rec.nitems = i + 1;
  argdesc_put(d, rec.extra.data() + static_cast<size_t>(i) * argdesc_bytes);
}

int32_t arglist(locsym* sym, int32_t litval, locsym** out) {
  if (out != nullptr) *out = nullptr;
  if (sym != nullptr && sym->squal == SQ_INTRINSIC) {
    return arglist_intrinsic(sym, litval, sym->sclass == SC_SUB ? 1 : 0);
  }
  symrec rec;
  int32_t recno = 0;
  bool found = sym != nullptr && getfun(sym, &rec, &recno) == 1;
  return arglist_with_record(sym, litval, out, found ? &rec : nullptr);
}

int32_t arglist_with_record(locsym* sym, int32_t litval, locsym** out, const symrec* rec) {
  if (out != nullptr) *out = nullptr;
  if (sym == nullptr) return 0;
  if (sym->squal == SQ_INTRINSIC) return arglist_intrinsic(sym, litval, sym->sclass == SC_SUB ? 1 : 0);
  int32_t namecol = tk.tokbeg;
  ArgRef r;
  r.proc = sym;
  r.pool = qcreate(0, "actargs");
  record_call(r);
  if (sym->squal == SQ_STATFUN) {
    r.statfun = true;
    r.checks = true;
    r.sfnext = static_cast<StatFuncDummy*>(sym->list);
  } else {
    r.rec = rec;
    r.checks = rec != nullptr;
    take_result_type(sym);
    check_hpf_local(r, namecol);
    if (rec != nullptr && (rec->attrs & 0x1000000u)) {
      r.intrinsic = findgeneric(sym->name, nullptr);
      if (intf_initovload(sym) == 0) {
        // No interface here: the name can only mean the intrinsic.
        r.checks = false;
        r.to_intrinsic = r.intrinsic != nullptr;
      } else {
        r.generic = true;
        if (sym->sclass == SC_FUNC) assign_dt_generic(sym, rec);
        r.ngiven = intf_get_maxargs();
      }
    } else if (rec != nullptr) {
      r.ngiven = rec_ndummies(*rec);
    }
    r.hpf_checks = flopt_hpf && rec != nullptr;
  }
  r.given = static_cast<uint8_t*>(qcalloc(r.pool, r.ngiven > 0 ? r.ngiven : 1));
  bool ok = true;
  int32_t endcol = tk.stacol;
  if (pstat[tk.stacol] == '(') {
    getokn();
    endcol = tk.tokbeg;
    if (pstat[tk.stacol] == ')') {
      getokn();
      endcol = tk.tokbeg;
    } else {
      for (;;) {
        bool read = r.statfun ? read_statfun_actual(r, litval) : read_procedure_actual(r, litval);
        if (!read) {
          ok = false;
          break;
        }
        ++r.index;
        getokn();
        if (is_other(',')) continue;
        if (is_other(')')) {
          endcol = tk.tokbeg;
          break;
        }
        if (tk.tok1 == 10 && tk.toktyp == TT_OTHER) {
          msg(7, tk.tokbeg);
        } else {
          msg(sym->sclass == SC_FUNC ? 107 : sym->sclass == SC_SUB ? 108 : 25, tk.tokbeg);
        }
        ok = false;
        break;
      }
    }
  }
  if (ok) {
    if (r.statfun) {
      if (r.checks && r.sfnext != nullptr) msg(56, endcol);
    } else if (r.to_intrinsic) {
      // The generic's own resolution ends without a choice.
      if (r.generic) intf_matchargnum(r.index);
      if (out != nullptr) *out = overloaded_intrinsic(sym, r.intrinsic);
    } else {
      check_list_end(r, endcol);
    }
  }
  qdestroy(r.pool);
  // A statement function's value is not known; nor is that of a reference
  // that ended early.
  if (r.statfun || !ok) {
    gota_const = 0;
    gota_valok = 0;
  }
  return ok ? 1 : 0;
}

void chkarg(const actarg* a, int32_t isexp, int32_t iscon, const argdesc* d) {
  check_argument(a, isexp, iscon, d, false);
}

void chkarg_glostruct(const actarg* a, int32_t isexp, int32_t iscon, const argdesc* d) {
  check_argument(a, isexp, iscon, d, true);
}

int32_t argchk_rank(const actarg* a, int32_t akind, int32_t asize, const argdesc* d,
                    int32_t dkind) {
  (void)asize;
  if (a == nullptr || d == nullptr || akind != AC_ARR || dkind != AC_ARR) return 0;
  if (a->rank == d->ndims) return 0;
  msg((d->attrs & (AD_DIMENSION | AD_POINTER)) ? 753 : 752, a->col, "dd");
  return 1;
}

int32_t chkarg_hpf(const locsym* actual, const argdesc* d, int32_t explicit_intf) {
  if (!flopt_hpf || actual == nullptr || d == nullptr) return -2;
  const arrdim* dim = static_cast<const arrdim*>(actual->arrspec);
  if (dim == nullptr || d->ndims == 0) return 0;
  int32_t n = d->ndims < 20 ? d->ndims : 20;
  for (int32_t i = 0; i < n && dim != nullptr; ++i, dim = dim->next) {
    uint8_t b = d->dimkind[i];
    if (b & 64) return 0;
    if (b & 16) continue;
    if ((b & 3) != (dim->second & 3)) {
      if ((b & 32) && explicit_intf == 0) {
        errmsg(596, "");
        return -2;
      }
      errmsg(597, "");
      return -1;
    }
  }
  return 0;
}

int32_t chkargnum(const symrec* rec, const uint8_t* given) {
  if (rec == nullptr || given == nullptr) return 0;
  int32_t nd = rec_ndummies(*rec);
  for (int32_t i = 0; i < nd; ++i) {
    if (given[i]) continue;
    if (rec_dummy(*rec, i).attrs & AD_OPTIONAL) continue;
    errmsg(681, "");
    return -1;
  }
  return 0;
}

int32_t intf_chkargnum(const symrec* rec, const uint8_t* given) {
  if (rec == nullptr) return -1;
  return chkargnum(rec, given);
}

int32_t getArgKeywd(const char* name, int32_t col, uint8_t* given, const symrec* rec) {
  if (rec == nullptr || name == nullptr) return -2;
  tk.errcol = col;
  int32_t nd = rec_ndummies(*rec);
  for (int32_t i = 0; i < nd; ++i) {
    argdesc d = rec_dummy(*rec, i);
    if (std::strcmp(d.name, name) != 0) continue;
    if (given != nullptr && given[i]) {
      errmsg(716, "");
      return -2;
    }
    return i;
  }
  errmsg(682, "");
  return -2;
}

void chksfarg(const dtdesc* atype, const dtdesc* dtype, int32_t isexp, int32_t iscon,
              int32_t set) {
  if (atype == nullptr || dtype == nullptr) return;
  if (set && isexp) errmsg(iscon ? 59 : 63, "");
  uint8_t a = atype->code, d = dtype->code;
  if (a == d || a == 0 || d == 0) return;
  if ((a == DT_HOLL || a == DT_TYPELESS) && d != DT_CHARACTER) return;
  uint32_t au = getdtusg(a), du = getdtusg(d);
  if (((au & du) & TB_INTEGER) || ((au & du) & TB_LOGICAL)) {
    if (iscon && isexp && getdtsize(a) < getdtsize(d)) issue(NOTE_SIZE_DIFFERS);
    return;
  }
  if (a == DT_CHARACTER && iscon && isexp) {
    issue(NOTE_CHAR_FOR_NUMBER);
    return;
  }
  errmsg(is_same_dtclass(a, d) ? 736 : 55, "qt");
}

void assign_dt_generic(locsym* sym, const symrec* rec) {
  if (sym == nullptr || rec == nullptr) return;
  if (sym->sclass != SC_FUNC && sym->squal != SQ_FUNCVAR) return;
  if (rec->sc != SC_FUNC || rec->type.code == 0) return;
  sym->type.code = rec->type.code;
  sym->type.kind = rec->type.kind;
  if (rec->type.code == DT_CHARACTER) {
    PSetQCharsize(&sym->type, rec->type.tag == 'p' ? rec->type.value : 0);
  } else if (rec->type.code == DT_DERIVED && rec->type.tag == 'r') {
    int32_t trec = PGetQGlostruct(&rec->type);
    if (trec > 0 && trec <= symt.symcnt) {
      symrec t;
      readsymb(trec, t);
      int32_t len = static_cast<int32_t>(std::strlen(t.namebuf));
      locsym* def = getsym(t.namebuf, len, 0, SC_STRUCT90);
      if (def != nullptr) PSetQStructsym(&sym->type, def);
    }
  }
  sym->attrib |= rec->attrs & 0x6u;
}

int32_t is_undef_intf(const locsym* sym) {
  if (sym == nullptr) return 0;
  // A generic interface name: the test is made on its first specific.
  if (sym->sclass == SC_INTERFACE && sym->intflink != nullptr) sym = sym->intflink;
  if ((sym->usage & QB_SET) == 0 || Status.scope_level <= 1) return 0;
  if (sym->owner == nullptr || sym->owner->sclass != SC_MODULE) return 0;
  return (sym->attrib & 0x80000u) && sym->squal != 7 ? 1 : 0;
}

locdata2* get_locdata2(locsym* sym) {
  locdata2*& d = call_records[sym];
  if (d == nullptr) d = local_new<locdata2>();
  return d;
}

void arglist_unit_reset() { call_records.clear(); }
