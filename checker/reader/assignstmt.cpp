// Assignment statements: variable = expression, the statement-function
// definition that shares its shape, and the pointer assignment
// pointer => target. The variable is flagged as set and the operands of the
// expression as referenced; types, lengths and shapes of the two sides are
// compared, and PURE procedures are kept from changing global data or
// their dummy arguments.
#include "checker/reader/assignstmt.h"

#include <cstring>
#include <vector>

#include "checker/common/qualcodes.h"
#include "checker/base/errmsg.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/unit_queries.h"

namespace {

constexpr uint32_t AT_INTENT_IN = 0x20;
constexpr uint32_t AT_INTENT_OUT = 0x40;
constexpr uint32_t AT_POINTER = 0x2;
constexpr uint32_t AT_TARGET = 0x4;
constexpr uint32_t AT_USE_ASSOC = 0x8000;
constexpr int32_t MAX_SF_DUMMIES = 256;

bool at_end() { return tk.tok1 == 10 && tk.toktyp == TT_OTHER; }
bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }

// Kinds the left side of an assignment may be.
constexpr uint32_t LHS_KINDS = EK_SCALARVAR | EK_ARRAY | EK_STRUCT | EK_STRUCTARRAY | EK_SECTION |
                               EK_ARRCOMP;

// Kinds the expression of an assignment may be: values and every array or
// structure form (whole arrays and sections stay apart from computed arrays
// for the shape checks).
uint32_t rhs_kinds() {
  if (ropt.Language == 1) return EK_VALUE | EK_ARRAY | EK_SECTION | EK_ARRAYEXP;
  return EK_VALUE | EK_ARRAY | EK_STRUCT | EK_STRUCTARRAY | EK_SECTION | EK_ARRCOMP |
         EK_ARRAYEXP | EK_STRUCTCONS | EK_STRUCTEXP | EK_STRUCTARREXP;
}

// A function unit's own name (or one of its entries) on the left side is
// its result variable: the function itself, or the variable that stands
// for it while its body is read (SQ_FUNCVAR: a structure for a function
// of derived type), which the FUNCTION statement declares.
bool is_result_name(const locsym* s) {
  return s != nullptr && unit.prgtyp == 5 && (s->sclass == SC_FUNC || s->squal == SQ_FUNCVAR) &&
         s->squal != SQ_STATFUN && (s == prgnam || s->owner == prgnam);
}

bool structured(uint8_t code) { return code == DT_REC || code == DT_TYPE; }


}  // namespace

bool entities_may_be_hidden() { return unit.pabort[CL_USE] != 0 || Status.scope_level > 1; }

bool undeclared_here(const locsym* sym) {
  return entities_may_be_hidden() && !is_result_name(sym) &&
         (sym == nullptr || ((sym->usage & QB_DECL) == 0 && sym->squal != SQ_STATFUN &&
                             (sym->attrib & (AT_POINTER | AT_TARGET | 0x8u)) == 0));
}

int32_t pure_object_check(const locsym* sym, int32_t global_msg, int32_t dummy_msg, int32_t col) {
  if (sym == nullptr || !isInPureProc()) return 0;
  const locsym* top = sym;
  while (top->squal == SQ_STRUCTFLD && top->link != nullptr) top = top->link;
  bool dummy = (top->usage & QB_DUM) != 0 || top->squal == SQ_DUMRTN;
  bool result = is_result_name(top) || top->squal == SQ_FUNCVAR;
  bool procedure = top->sclass == SC_FUNC || top->sclass == SC_SUB;
  // COMMON members, module entities and entities of a host.
  bool global = !dummy && !result && !procedure && top->squal != SQ_SFDUMARG &&
                ((top->props & CP_COMBLK) != 0 || (top->attrib & AT_USE_ASSOC) != 0 ||
                 (top->owner != nullptr && top->owner != prgnam && top->owner != top));
  if (global) {
    msg_at(global_msg, col);
    return -1;
  }
  if (dummy) {
    const locsym* proc = top->owner;
    bool intent_in = (top->attrib & (AT_INTENT_IN | AT_INTENT_OUT)) == AT_INTENT_IN;
    if (intent_in || (proc != nullptr && proc->sclass != SC_SUB)) {
      msg_at(dummy_msg, col);
      return -1;
    }
  }
  return 0;
}

int32_t chkAsmVarInPure(const locsym* sym, int32_t col) { return pure_object_check(sym, 809, 810, col); }

int32_t chkAsmExpInPure(const locsym* sym, const dtdesc& type, int32_t col) {
  if (sym == nullptr || !structured(type.code) || type.tag != 'q') return 0;
  if (!hasPtrComponentInStruct(type.sym)) return 0;
  return pure_object_check(sym, 813, 814, col);
}

int32_t chkTargetInPure(const locsym* sym, int32_t col) { return pure_object_check(sym, 811, 812, col); }

int32_t chkAllocObjInPure(const locsym* sym, int32_t col) { return pure_object_check(sym, 815, 816, col); }

void ckassign(const dtdesc& left, const dtdesc& right, bool right_const, int32_t col) {
  int32_t l = left.code, r = right.code;
  if (l == 0 || r == 0) return;
  tk.errcol = col;
  // Hollerith and typeless values go anywhere; structures are left to
  // the defined assignments.
  if (r == 12 || r == 13 || r == 16 || structured(static_cast<uint8_t>(l)) ||
      structured(static_cast<uint8_t>(r))) {
    return;
  }
  bool lchar = l == DT_CHAR, rchar = r == DT_CHAR;
  if (lchar && !rchar) {
    errmsg(161, "tt");
    return;
  }
  if (!lchar && rchar) {
    // A character constant for a number is only a portability matter.
    if (!right_const) errmsg(162, "tt");
    return;
  }
  if (lchar) {
    if (right_const && left.value > 0 && right.value > left.value) errmsg(105, "dd");
    return;
  }
  // BYTE takes numbers and truth values alike.
  if (l == 10 || r == 10) return;
  bool lnum = isNumericType(l) != 0, rnum = isNumericType(r) != 0;
  bool llog = getdtname(l) == TC_LOGICAL, rlog = getdtname(r) == TC_LOGICAL;
  if ((lnum && rlog && !rnum) || (llog && rnum && !rlog)) {
    errmsg(276, "tt");
  }
  // Conversions between numeric types are only portability matters.
}

void ckassign_extents(const std::vector<int32_t>& left, const std::vector<int32_t>& right,
                      int32_t col) {
  if (left.size() != right.size()) return;
  for (size_t i = 0; i < left.size(); ++i) {
    if (left[i] >= 0 && right[i] >= 0 && left[i] != right[i]) {
      msg_at(538, col);
      return;
    }
  }
}

namespace {

// The dummies of a statement function while its body is read: their own
// state is kept here and given back afterwards.
struct SfSaved {
  locsym* sym;
  uint8_t sclass, squal;
  void* arrspec;
  uint32_t usage;
};

// Reads the dummy list and "=" of a statement function whose "(" has been
// read; false after a message (the statement is consumed then).
bool sf_dummies(locsym* fn, SfSaved* saved, int32_t& count) {
  StatFuncDummy* tail = nullptr;
  getokn();
  if (is_other(')')) return true;
  for (;;) {
    if (tk.toktyp != TT_NAME) {
      msg_at(116, tk.tokbeg);
      return false;
    }
    int32_t col = tk.tokbeg;
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    locsym* d = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
    if (d == nullptr) {
      msg_at(116, col);
      return false;
    }
    if (count >= MAX_SF_DUMMIES) {
      msg_at(52, col);
      return false;
    }
    if (d->sclass != SC_UNK && d->sclass != SC_VAR) {
      msg_at(144, col);
      return false;
    }
    for (int32_t i = 0; i < count; ++i) {
      if (saved[i].sym == d) {
        msg_at(41, col);
        return false;
      }
    }
    saved[count] = SfSaved{d, d->sclass, d->squal, d->arrspec, d->usage};
    ++count;
    if (d->type.code == 0) imptypit(d, col);
    StatFuncDummy* node = local_new<StatFuncDummy>();
    node->sym = d;
    if (tail == nullptr) {
      fn->list = node;
    } else {
      tail->next = node;
    }
    tail = node;
    getokn();
    if (is_other(',')) {
      getokn();
      continue;
    }
    if (is_other(')')) return true;
    msg_at(at_end() ? 7 : 116, tk.tokbeg);
    return false;
  }
}

// The statement function being defined, for sf_dummy_use.
locsym* sf_current = nullptr;

// The node of the dummy sym of the statement function being defined.
StatFuncDummy* sf_node(const locsym* sym) {
  for (StatFuncDummy* d = sf_current != nullptr ? static_cast<StatFuncDummy*>(sf_current->list)
                                                : nullptr;
       d != nullptr; d = d->next) {
    if (d->sym == sym) return d;
  }
  return nullptr;
}

// Records a use of a dummy in the body on the dummy's node.
void sf_dummy_use(locsym* sym, uint32_t usage) {
  if (StatFuncDummy* d = sf_node(sym)) d->usage |= usage;
}

// Records a pass of a dummy to a procedure in the body on its node.
void sf_dummy_pass(locsym* sym, locsym* proc, int32_t word) {
  StatFuncDummy* d = sf_node(sym);
  if (d == nullptr) return;
  StatFuncPass* p = local_new<StatFuncPass>();
  p->proc = proc;
  p->word = word;
  StatFuncPass** tail = &d->passes;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = p;
}

// Gives the dummies their own state back.
void sf_restore(SfSaved* saved, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    locsym* d = saved[i].sym;
    d->sclass = saved[i].sclass;
    d->squal = saved[i].squal;
    d->arrspec = saved[i].arrspec;
    // The name served as a statement-function dummy.
    d->usage = saved[i].usage | QB_SFD;
  }
}

}  // namespace

// name ( [dummy [, dummy]...] ) = expression
int32_t shstafun(const StmtCall& c) {
  if (!tstord(CL_STFUNC, CL_STFUNC)) return skip_statement(), 0;
  getokn();
  int32_t col = tk.tokbeg;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  locsym* fn = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
  if (fn == nullptr) {
    msg_at(24, col);
    return skip_statement(), 0;
  }
  (void)c;
  fn->sclass = SC_FUNC;
  fn->squal = SQ_STATFUN;
  fn->list = nullptr;
  if (fn->type.code == 0) imptypit(fn, col);
  xrefit(fn, QB_SET, col);
  getokn();  // "("
  static SfSaved saved[MAX_SF_DUMMIES];
  int32_t count = 0;
  if (!sf_dummies(fn, saved, count)) {
    sf_restore(saved, count);
    return skip_statement(), 0;
  }
  getokn();
  if (!is_other('=')) {
    msg_at(33, tk.tokbeg);
    sf_restore(saved, count);
    return skip_statement(), 0;
  }
  // Inside the body the dummies are plain scalar variables.
  for (int32_t i = 0; i < count; ++i) {
    locsym* d = saved[i].sym;
    d->sclass = SC_VAR;
    d->squal = SQ_SFDUMARG;
    d->arrspec = nullptr;
  }
  int32_t ecol = tk.stacol;
  statfunc_begin();
  uint32_t k = getmeta(ropt.Language == 1 ? 0x8a1u : 0x380cf1u);
  sf_current = fn;
  statfunc_end(sf_dummy_use, sf_dummy_pass);
  sf_restore(saved, count);
  if (k == 0) return skip_statement(), 0;
  ckassign(fn->type, got_typ, got_con != 0, ecol);
  if (chk_endofline(1) != 0) return skip_statement(), 0;
  return 0;
}

// variable = expression (a statement function when the left side reads as
// a function reference)
int32_t shasm(const StmtCall& c) {
  // The statement-function shape: name "(" ... ")" "=" where the name is
  // neither an array nor a character scalar with a substring.
  TokenState start = tk;
  getokn();
  if (tk.toktyp == TT_NAME) {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 2, 0);
    bool paren = pstat[tk.stacol] == '(';
    if (undeclared_here(s) &&
        (paren || (s != nullptr && s->sclass != SC_UNK && s->sclass != SC_VAR))) {
      // An array of a module, or a statement function: not to be told
      // apart while USE does not copy the module's entities, so the
      // statement is not analysed.
      tstord(c.lowest, c.cls);
      skip_statement();
      return 0;
    }
  }
  tk = start;
  getokn();
  if (tk.toktyp == TT_NAME && pstat[tk.stacol] == '(') {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 2, 0);
    bool array = s != nullptr && s->arrspec != nullptr;
    bool substring = s != nullptr && s->type.code == DT_CHAR && (++tk.stacol, itacolon() != 0);
    tk = start;
    getokn();
    bool result = is_result_name(s);
    if (!array && !substring && !result &&
        (s == nullptr || s->sclass == SC_UNK || s->sclass == SC_VAR || s->sclass == SC_SUB ||
         s->squal == SQ_STATFUN)) {
      if (s != nullptr && s->sclass == SC_SUB) {
        msg_at(37, tk.tokbeg);
        return skip_statement(), 0;
      }
      tk = start;
      return shstafun(c);
    }
  }
  tk = start;
  if (!tstord(c.lowest == CL_STFUNC ? CL_EXEC : c.lowest, c.cls == CL_STFUNC ? CL_EXEC : c.cls))
    return skip_statement(), 0;
  getokn();
  int32_t lcol = tk.tokbeg;
  varout lv{};
  uint32_t lk = 0;
  {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    locsym* s = tk.toktyp == TT_NAME
                    ? getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 2, 0)
                    : nullptr;
    if (is_result_name(s)) {
      // The result variable of the function being defined.
      uint8_t q = s->squal;
      s->squal = SQ_FUNCVAR;
      lk = getvar(LHS_KINDS, &lv);
      s->squal = q;
    } else {
      lk = getvar(LHS_KINDS, &lv);
    }
  }
  if (lk == 0) return skip_statement(), 0;
  std::vector<int32_t> lextents = got_extents;
  // A component of a type whose components are not known here: its type
  // and shape are not known either.
  bool lknown = !got_field_unknown;
  locsym* lsym = lv.sym;
  locsym* ltop = lsym;
  dtdesc ltype = lv.comp ? lv.comptype : (lsym != nullptr ? lsym->type : dtdesc{});
  if (vhs) ltype.value = charsubsize;
  int32_t lrank = lv.rank;
  getokn();
  if (!is_other('=')) {
    msg_at(33, tk.tokbeg);
    return skip_statement(), 0;
  }
  chkAsmVarInPure(ltop, lcol);
  flaguse(lsym, QB_SET, lcol);
  int32_t rcol = tk.stacol;
  uint32_t rk = getmeta(rhs_kinds());
  if (rk == 0) return skip_statement(), 0;
  if (got_field_unknown) lknown = false;
  dtdesc rtype = got_typ;
  int32_t rrank = got_arrsecdims;
  locsym* rsym = got_sym;
  bool rconst = got_con != 0;
  // The extents are known only for a plain whole array or section.
  std::vector<int32_t> rextents;
  if (rk == EK_ARRAY || rk == EK_SECTION) rextents = got_extents;
  // A plain reference to an array, section or structure is referenced too.
  if (rsym != nullptr && (rk & (EK_ARRAY | EK_SECTION | EK_ARRCOMP | EK_STRUCT | EK_STRUCTARRAY)))
    flaguse(rsym, QB_REF, rcol);
  if (rsym != nullptr && (rk & (EK_VALUE | EK_STRUCT | EK_ARRAY | EK_SECTION | EK_STRUCTARRAY)))
    chkAsmExpInPure(rsym, rtype, rcol);
  // A subroutine of an ASSIGNMENT(=) interface that takes the two sides
  // makes the statement a defined assignment: no intrinsic checks then.
  if (lknown && ropt.Language != 1) {
    const locsym* ls = ltype.tag == 'q' ? ltype.sym : nullptr;
    const locsym* rs = rtype.tag == 'q' ? rtype.sym : nullptr;
    int32_t lg = ltype.tag == 'r' ? ltype.value : 0;
    int32_t rg = rtype.tag == 'r' ? rtype.value : 0;
    if (intf_applied_usrasm(ltype, rtype, ls, rs, lg, rg, lrank, rrank, lcol)) {
      if (chk_endofline(1) != 0) return skip_statement(), 0;
      return 0;
    }
  }
  // Shapes.
  bool rarray = (rk & (EK_ARRAY | EK_SECTION | EK_ARRCOMP | EK_ARRAYEXP | EK_STRUCTARRAY |
                       EK_STRUCTARREXP | EK_ARRFUNC)) != 0 || rrank > 0;
  tk.errcol = rcol;
  if (!lknown) {
    // Nothing to compare.
  } else if (lrank == 0 && rarray && (lk & (EK_SCALARVAR | EK_STRUCT))) {
    if (rk & (EK_ARRAY | EK_SECTION | EK_ARRCOMP | EK_STRUCTARRAY))
      errmsg(719, "");
    else
      errmsg(452, "");
  } else if (lrank > 0 && rrank > 0 && lrank != rrank) {
    errmsg(451, "dd");
  } else {
    // (A result typed only by the IMPLICIT rules may still take the type
    // of its FUNCTION statement's prefix.)
    if (!(is_result_name(lsym) && (lsym->props & CP_TYPIMP))) ckassign(ltype, rtype, rconst, rcol);
    if (lk == EK_ARRAY || lk == EK_SECTION) ckassign_extents(lextents, rextents, rcol);
  }
  if (chk_endofline(1) != 0) return skip_statement(), 0;
  return 0;
}

// pointer => target
int32_t shptrasm(const StmtCall& c) {
  if (!tstord(CL_EXEC, CL_EXEC)) return skip_statement(), 0;
  (void)c;
  getokn();
  int32_t pcol = tk.tokbeg;
  if (tk.toktyp == TT_NAME) {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    if (undeclared_here(getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 2, 0))) {
      // A pointer of a module: not known here.
      skip_statement();
      return 0;
    }
  }
  varout pv{};
  uint32_t pk = getvar(LHS_KINDS, &pv);
  if (pk == 0) return skip_statement(), 0;
  locsym* p = pv.sym;
  if (p == nullptr || (p->sclass != SC_VAR && p->sclass != SC_REC90 && p->sclass != SC_UNK)) {
    msg_at(24, pcol);
    return skip_statement(), 0;
  }
  // A component reference takes the attributes of its last component.
  const locsym* pattr = pv.comp && got_field != nullptr ? got_field : p;
  bool pknown = !got_field_unknown;
  if (pknown && (pattr->attrib & AT_POINTER) == 0) {
    msg_at(666, pcol);
    return skip_statement(), 0;
  }
  getokn();
  if (!is_other('=')) {
    msg_at(33, tk.tokbeg);
    return skip_statement(), 0;
  }
  if (pstat[tk.stacol] != '>') {
    msg_at(75, tk.stacol);
    return skip_statement(), 0;
  }
  ++tk.stacol;
  flaguse(p, QB_SET, pcol);
  int32_t tcol = tk.stacol;
  while (tcol < rsrc.statend && pstat[tcol] == ' ') ++tcol;
  uint32_t tkinds = LHS_KINDS | EK_VALUE | EK_ARRAYEXP | EK_STRUCTEXP | EK_STRUCTARREXP | EK_FUNC |
                    EK_ARRFUNC;
  uint32_t k = getmeta(tkinds);
  if (k == 0) return skip_statement(), 0;
  locsym* t = got_sym;
  int32_t trank = got_arrsecdims;
  if (got_field_unknown || !pknown || (t != nullptr && undeclared_here(t))) {
    // A component of a type not known here: nothing to check.
    if (t != nullptr) flaguse(t, QB_REF, tcol);
  } else if (t != nullptr && (k & (EK_SCALARVAR | EK_ARRAY | EK_SECTION | EK_STRUCT | EK_STRUCTARRAY |
                            EK_ARRCOMP))) {
    flaguse(t, QB_REF, tcol);
    // A component counts when its parent structure has POINTER or TARGET,
    // or when it is a pointer itself.
    bool through_pointer = got_field != nullptr && got_field != t && (got_field->attrib & AT_POINTER) != 0;
    bool ok = (t->attrib & (AT_POINTER | AT_TARGET)) != 0 || through_pointer;
    if (!ok) {
      msg_at(670, tcol);
    } else if ((t->usage & QB_DUM) && !through_pointer &&
               (t->attrib & (AT_INTENT_IN | AT_INTENT_OUT)) == AT_INTENT_IN) {
      msg_at(745, tcol);
    } else if (trank != pv.rank) {
      msg_at(676, tcol);
    } else {
      chkTargetInPure(t, tcol);
    }
  } else if (!(k & (EK_FUNC | EK_ARRFUNC))) {
    // Function references (NULL() among them) are taken as they come: what
    // a function returns is only known from its interface.
    msg_at(670, tcol);
  }
  if (chk_endofline(1) != 0) return skip_statement(), 0;
  return 0;
}
