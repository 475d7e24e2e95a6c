// Generic interfaces, defined operators and defined assignment: the records
// of the interface blocks of each scope level, their look-ups, the choice
// of a function of a defined operator for the operands of an expression,
// of a subroutine of ASSIGNMENT(=) for an assignment, and the choice of
// the specific procedure of a reference to a generic name.
#include "checker/semantics/interfaces.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/base/errmsg.h"
#include "checker/base/passes.h"
#include "checker/base/exprstate.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/tokens.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/modtable.h"
#include "checker/semantics/samestruct.h"

IntfState intfs;

namespace {

// One row of the operator-name table.
struct OpName {
  int32_t code;      // operator code of the expression reader
  const char* name;  // null for the codes without a name
  int32_t operands;  // operand count
};
constexpr OpName opnames[] = {
#define OPNAME(code, name, operands) {code, name, operands},
#include "checker/semantics/intf_opnames.def"
};
static_assert(std::size(opnames) == OP_DEFINED + 1);

// True when the records kept for level belong to the unit that owns the
// level now.
bool level_valid(int32_t level) {
  if (level < 1 || level > MAX_SCOPES || level > Status.scope_level) return false;
  const IntfLevel& l = intfs.level[level];
  return l.unitsym != nullptr && l.unitsym == Scope[level].unitsym;
}

// The records of the current level, emptied first when the level has been
// entered again by another unit.
IntfLevel* current_level() {
  int32_t level = Status.scope_level;
  if (level < 1 || level > MAX_SCOPES) return nullptr;
  IntfLevel& l = intfs.level[level];
  if (!level_valid(level)) {
    l = IntfLevel{};
    l.unitsym = Scope[level].unitsym;
  }
  return &l;
}

bool same_name(const locsym* a, const locsym* b) {
  return a != nullptr && b != nullptr && a->name != nullptr && b->name != nullptr &&
         std::strcmp(a->name, b->name) == 0;
}

}  // namespace

IntfRec* intf_current() {
  return intfs.depth > 0 ? intfs.open[intfs.depth].rec : nullptr;
}

std::string intf_getopname(int32_t code) {
  if (code < 0 || code > OP_DEFINED || opnames[code].name == nullptr) return std::string();
  return std::string("OPERATOR_") + opnames[code].name;
}

int32_t intf_getopcode(const char* name) {
  if (name == nullptr) return 1;
  for (int32_t c = 2; c <= 28; ++c) {
    if (std::strcmp(opnames[c].name, name) == 0) return c;
  }
  return 1;
}

int32_t intf_opnd_count(int32_t code) {
  return code >= 0 && code <= OP_DEFINED ? opnames[code].operands : 0;
}

dtdesc intf_get_defdtyp(int32_t opcode) {
  if (opcode == 9) return expr_type(expr_default_code(TC_CHARACTER, 14));
  if ((opcode >= 10 && opcode <= 25) || opcode == 28) {
    return expr_type(expr_default_code(TC_LOGICAL, 19));
  }
  return dtdesc{};
}

IntfRec* intf_get_interface_at(int32_t level, const locsym* generic, int32_t opcode) {
  if (!level_valid(level) || generic == nullptr) return nullptr;
  for (IntfRec* r = intfs.level[level].head; r != nullptr; r = r->next) {
    if (r->opcode == opcode && (r->generic == generic || same_name(r->generic, generic))) return r;
  }
  return nullptr;
}

IntfRec* intf_get_interface(const locsym* generic, int32_t opcode) {
  for (int32_t level = Status.scope_level; level >= 1; --level) {
    if (IntfRec* r = intf_get_interface_at(level, generic, opcode)) return r;
  }
  return nullptr;
}

locsym* intf_get_proc(const IntfRec* rec, int32_t n) {
  if (rec == nullptr || n < 0) return nullptr;
  const IntfProc* p = rec->first;
  for (; p != nullptr && n > 0; --n) p = p->next;
  return p != nullptr ? p->sym : nullptr;
}

bool intf_hasnoname(const IntfRec* rec) { return rec != nullptr && rec->kind == IK_NONAME; }

bool intf_body_named(const char* name) {
  int32_t level = Status.scope_level;
  if (name == nullptr || level < 1 || level > MAX_SCOPES || !level_valid(level)) return false;
  for (const IntfRec* r = intfs.level[level].head; r != nullptr; r = r->next)
    for (const IntfProc* p = r->first; p != nullptr; p = p->next)
      if (p->sym != nullptr && std::strcmp(p->sym->name, name) == 0) return true;
  return false;
}

bool isIntfObj(const locsym* sym) {
  return sym != nullptr && (sym->attrib & (ATTR_IN_INTF | ATTR_INTF_BODY)) != 0;
}

locsym* intf_find_defop(const char* name) {
  std::string full = std::string("OPERATOR_") + name;
  if (full.size() > static_cast<size_t>(MAX_NAME)) full.resize(MAX_NAME);
  for (int32_t level = Status.scope_level; level >= 1; --level) {
    if (!level_valid(level)) continue;
    for (UsrOpRec* u = intfs.level[level].usrops; u != nullptr; u = u->next) {
      if (u->opcode == OP_DEFINED && u->generic != nullptr && full == u->generic->name) {
        return u->generic;
      }
    }
  }
  return nullptr;
}

bool intf_may_come_from_module() {
  for (int32_t level = 1; level <= Status.scope_level && level <= MAX_SCOPES; ++level) {
    for (const locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
      if (s->sclass == SC_MODULE && s != Scope[level].unitsym) return true;
    }
  }
  return false;
}

IntfRec* intf_new_interface(int32_t kind, int32_t opcode, locsym* generic) {
  IntfLevel* l = current_level();
  if (l == nullptr) return nullptr;
  IntfRec* r = local_new<IntfRec>();
  r->kind = kind;
  r->opcode = opcode;
  r->generic = generic;
  if (l->tail != nullptr) l->tail->next = r; else l->head = r;
  l->tail = r;
  if (intfs.InterfaceTail != nullptr) intfs.InterfaceTail->gnext = r; else intfs.InterfaceHead = r;
  intfs.InterfaceTail = r;
  return r;
}

UsrOpRec* intf_add_usrop(int32_t kind, int32_t opcode, locsym* generic) {
  IntfLevel* l = current_level();
  if (l == nullptr) return nullptr;
  UsrOpRec* last = nullptr;
  for (UsrOpRec* u = l->usrops; u != nullptr; u = u->next) {
    bool same = u->kind == kind &&
                (kind == IK_ASSIGNMENT ||
                 (u->opcode == opcode && (opcode != OP_DEFINED || same_name(u->generic, generic))));
    if (same) return u;
    last = u;
  }
  UsrOpRec* u = local_new<UsrOpRec>();
  u->kind = kind;
  u->opcode = kind == IK_ASSIGNMENT ? 0 : opcode;
  u->noperands = kind == IK_ASSIGNMENT ? 2 : intf_opnd_count(opcode);
  u->generic = generic;
  if (last != nullptr) last->next = u; else l->usrops = u;
  return u;
}

IntfProc* intf_update(IntfRec* rec, locsym* proc) {
  if (rec == nullptr || proc == nullptr) return nullptr;
  for (IntfProc* p = rec->first; p != nullptr; p = p->next) {
    if (p->sym == proc) return p;
  }
  IntfProc* p = local_new<IntfProc>();
  p->sym = proc;
  if (rec->last != nullptr) rec->last->next = p; else rec->first = p;
  rec->last = p;
  if (proc->intflink == nullptr && rec->generic != nullptr) proc->intflink = rec->generic;
  return p;
}

namespace {

// The dummies of a procedure symbol, first first.
const DummyNode* dummies_of(const locsym* proc) {
  return proc != nullptr ? static_cast<const DummyNode*>(proc->list) : nullptr;
}

OpOperand operand_of(const locsym* s) {
  OpOperand o{};
  if (s != nullptr) {
    o.type = s->type;
    o.rank = get_array_rank(s);
  }
  return o;
}

// A function's result variable: the RESULT name, else the function itself.
const locsym* result_of(const locsym* fn) {
  if (fn->sclass == SC_FUNC && fn->locdata != nullptr) return static_cast<const locsym*>(fn->locdata);
  return fn;
}

}  // namespace

const OpSignature* intf_add_signature(UsrOpRec* u, const OpSignature& sig, qlist* pool) {
  if (u == nullptr) return nullptr;
  for (const OpSignature* o = u->first; o != nullptr; o = o->next) {
    if (o->proc == sig.proc || same_name(o->proc, sig.proc)) return o;  // recorded already
  }
  OpSignature* s = qnew<OpSignature>(pool);
  *s = sig;
  s->next = nullptr;
  if (u->last != nullptr) u->last->next = s; else u->first = s;
  u->last = s;
  return s;
}

const OpSignature* intf_add_usrop_dtyp(IntfRec* rec, locsym* proc) {
  if (rec == nullptr || rec->usrop == nullptr || proc == nullptr) return nullptr;
  const DummyNode* d = dummies_of(proc);
  if (d == nullptr) return nullptr;
  OpSignature s{};
  s.proc = proc;
  s.opd[0] = operand_of(d->sym);
  if (d->next != nullptr) s.opd[1] = operand_of(d->next->sym);
  s.opd[2] = rec->kind == IK_ASSIGNMENT ? s.opd[0] : operand_of(result_of(proc));
  return intf_add_signature(rec->usrop, s, local_pool());
}

void intf_modproc_end(locsym* proc) {
  if (proc == nullptr || !level_valid(1) || Scope[1].unitsym == nullptr ||
      Scope[1].unitsym->sclass != SC_MODULE) {
    return;
  }
  for (IntfRec* r = intfs.level[1].head; r != nullptr; r = r->next) {
    for (IntfProc* p = r->first; p != nullptr; p = p->next) {
      if (!same_name(p->sym, proc) || (p->sym->attrib & ATTR_MODPROC) == 0) continue;
      p->def = proc;
      // The name of the MODULE PROCEDURE statement follows its definition.
      if (proc->sclass == SC_FUNC || proc->sclass == SC_SUB) p->sym->sclass = proc->sclass;
      if (proc->sclass == SC_FUNC && proc->type.code != 0) p->sym->type = proc->type;
      // The module's table copy of the operator learns the signature too.
      if (const OpSignature* sig = intf_add_usrop_dtyp(r, proc)) modtbl_add_usrop_dtyp_MP(r, sig);
    }
  }
}

// ---------------------------------------------------------------------
// Defined operators and assignment in expressions.

namespace {

bool structured(const dtdesc& d) { return d.code == DT_REC || d.code == DT_TYPE; }

// Two types of the same structure code name the same definition: the same
// symbol or the same name; a side whose definition is not known here
// agrees with anything.
bool same_definition(const dtdesc& a, const dtdesc& b) {
  const locsym* sa = a.tag == 'q' ? a.sym : nullptr;
  const locsym* sb = b.tag == 'q' ? b.sym : nullptr;
  if (sa != nullptr && sb != nullptr) return sa == sb || same_name(sa, sb);
  if (a.tag == 'r' && b.tag == 'r') return a.value == b.value;
  return true;
}

// The score of an operand against a signature's: 28 for the same type,
// 12 for another type of the same type bit, else 4; plus 2 for the same
// rank.
int32_t operand_score(const dtdesc& type, int32_t rank, const OpOperand& o) {
  int32_t s = 4;
  if (type.code == o.type.code && (!structured(type) || same_definition(type, o.type))) {
    s = 28;
  } else if ((getdtusg(type.code) & getdtusg(o.type.code)) != 0) {
    s = 12;
  }
  if (rank == o.rank) s += 2;
  return s;
}

bool same_store(const dtdesc& type, const OpOperand& o) {
  return o.type.code != 0 && getdtstore(type.code) == getdtstore(o.type.code);
}

bool unary_code(int32_t code) { return code == 7 || code == 8 || code == 16 || code == 22; }

// The record of a defined operator for the expression operator code (and
// the operator's symbol for code 29): inside the body of an operator
// interface the block's own record, else the innermost level's.
UsrOpRec* intf_get_usropr(int32_t code, const locsym* opsym) {
  // Unary plus and minus are declared as OPERATOR(+) and OPERATOR(-).
  int32_t want = code == 7 ? 2 : code == 8 ? 3 : code;
  auto fits = [&](const UsrOpRec* u) {
    if (u->kind != IK_OPERATOR || u->opcode != want) return false;
    return want != OP_DEFINED || u->generic == opsym || same_name(u->generic, opsym);
  };
  if (Status.interface == 2) {
    const IntfRec* r = intf_current();
    if (r != nullptr && r->usrop != nullptr && fits(r->usrop)) return r->usrop;
  }
  for (int32_t level = Status.scope_level; level >= 1; --level) {
    if (!level_valid(level)) continue;
    for (UsrOpRec* u = intfs.level[level].usrops; u != nullptr; u = u->next) {
      if (fits(u)) return u;
    }
  }
  return nullptr;
}

// The signature of u that takes the operands (left null for a unary
// operator), or null.
const OpSignature* intf_match_usropr_dt(const UsrOpRec* u, const exprec* left, const exprec* right) {
  const OpSignature* best = nullptr;
  int32_t best_sum = -1;
  for (const OpSignature* s = u->first; s != nullptr; s = s->next) {
    if (left == nullptr) {
      // One operand: a function of one dummy, scored on the right operand.
      if (s->opd[1].type.code != 0 || !same_store(right->v.type, s->opd[0])) continue;
      int32_t r = operand_score(right->v.type, right->v.rank, s->opd[0]);
      if (r == 30) return s;
      if (r > best_sum) best = s, best_sum = r;
      continue;
    }
    if (!same_store(left->v.type, s->opd[0]) || !same_store(right->v.type, s->opd[1])) continue;
    int32_t l = operand_score(left->v.type, left->v.rank, s->opd[0]);
    int32_t r = operand_score(right->v.type, right->v.rank, s->opd[1]);
    if (l > 29 && r > 29) return s;
    if (l + r > best_sum) best = s, best_sum = l + r;
  }
  return best;
}

}  // namespace

int32_t intf_chk_usropr_dt(exprec* left, exprec* right, locsym* opsym) {
  int32_t code = left->opr;
  if (code < 2 || code > OP_DEFINED) return -2;
  const UsrOpRec* u = intf_get_usropr(code, opsym);
  if (u == nullptr) return -2;
  if (u->first == nullptr) return -1;
  bool unary = unary_code(code) || (code == OP_DEFINED && left->kind == 0);
  const OpSignature* s = intf_match_usropr_dt(u, unary ? nullptr : left, right);
  // An operand whose type is not known here (a function defined later in
  // the file) may still fit one of the functions.
  if (s == nullptr) return right->v.type.code == 0 || (!unary && left->v.type.code == 0) ? -3 : -2;
  right->v = typedval{};
  right->v.type = s->opd[2].type;
  right->v.rank = s->opd[2].rank;
  bool record = structured(s->opd[2].type);
  right->kind = s->opd[2].rank > 0 ? (record ? 0x40u : 0x800u) : (record ? 0x10u : 0x1u);
  right->usrop = nullptr;
  if (!unary) right->col = left->col;
  if (s->proc != nullptr) s->proc->usage |= QB_CALLED;
  return 0;
}

int32_t intf_applied_usrasm(const dtdesc& ltype, const dtdesc& rtype, const locsym* lstruct,
                            const locsym* rstruct, int32_t lglo, int32_t rglo, int32_t lrank,
                            int32_t rrank, int32_t pos) {
  int32_t l = ltype.code, r = rtype.code;
  if (l < 1 || l > 26 || r < 1 || r > 26) return 0;
  bool wanted = (lrank != rrank && rrank != 0) || structured(ltype) || structured(rtype) ||
                ((getdtusg(l) & getdtusg(r)) == 0 && !is_same_dtclass(l, r));
  if (!wanted) return 0;
  const UsrOpRec* u = nullptr;
  for (int32_t level = Status.scope_level; level >= 1 && u == nullptr; --level) {
    if (!level_valid(level)) continue;
    for (const UsrOpRec* a = intfs.level[level].usrops; a != nullptr; a = a->next) {
      if (a->kind == IK_ASSIGNMENT) {
        u = a;
        break;
      }
    }
  }
  if (u == nullptr) return 0;
  // One side against a signature's operand: -1 when it cannot take it.
  auto side = [](const dtdesc& t, const locsym* st, int32_t glo, int32_t rank,
                 const OpOperand& o) -> int32_t {
    if (o.type.code == 0 || getdtstore(t.code) != getdtstore(o.type.code)) return -1;
    int32_t s = 4;
    if (t.code == o.type.code) {
      if (structured(t)) {
        locsym* os = o.type.tag == 'q' ? o.type.sym : nullptr;
        if (st != nullptr && os != nullptr) {
          if (st != os && !samestruct_LL(st, os)) return -1;
        } else if (glo != 0 && os != nullptr) {
          if (!samestruct_GL(glo, os)) return -1;
        }
      }
      s = 28;
    } else if ((getdtusg(t.code) & getdtusg(o.type.code)) != 0) {
      s = 12;
    }
    return rank == o.rank ? s + 2 : s;
  };
  const OpSignature* best = nullptr;
  int32_t best_sum = -1;
  for (const OpSignature* s = u->first; s != nullptr; s = s->next) {
    int32_t a = side(ltype, lstruct, lglo, lrank, s->opd[0]);
    int32_t b = side(rtype, rstruct, rglo, rrank, s->opd[1]);
    if (a < 0 || b < 0) continue;
    if (a == 30 && b == 30) {
      best = s;
      break;
    }
    if (a + b > best_sum) best = s, best_sum = a + b;
  }
  if (best == nullptr) return 0;
  if (u->generic != nullptr) {
    flaguse(u->generic, QB_CALLED, pos);
    if (best->proc != nullptr) best->proc->usage |= QB_CALLED;
  }
  return 1;
}

// ---------------------------------------------------------------------
// Generic resolution.

namespace {

// One candidate specific procedure of a generic reference.
struct OvlCand {
  bool active;          // still in the running
  int32_t ndummies;     // dummies of the procedure
  int32_t nmatched;     // dummies matched so far
  int32_t score;        // score sum (31 to start with when the classes agree)
  int32_t lastpos;      // position of the last matched dummy
  int32_t lastscore;    // score of the last match
  char name[MAX_NAME + 1];
  int32_t glorec;       // global record, 0 when none
  locsym* proc;         // the procedure's symbol
  uint8_t* matched;     // one flag per dummy
  argdesc* dummies;     // the dummies
  OvlCand* next;
};

// The resolution of one reference; a reference inside an actual argument
// has its own, above the outer one.
struct OvlContext {
  locsym* generic;      // the generic name referenced
  OvlCand* first;       // candidates in interface order
  bool uncertain;       // a candidate or an actual is not fully known:
                        // no 834 or 696 then
  OvlCand* chosen;      // the choice of intf_matchargnum
  int32_t stmt_line;    // the statement of the reference
  int32_t stmt_beg;
  OvlContext* below;
};

struct OvlState {
  OvlContext* top;      // innermost open resolution
  OvlContext* last;     // the latest resolution that was finished
  qlist* pool;          // "intfcand": candidates and contexts
};
OvlState ovl;

qlist* cand_pool() {
  if (ovl.pool == nullptr) ovl.pool = qnamed("intfcand");
  return ovl.pool;
}

// Messages of the steps that act only in the local pass of a run with
// global checks.
bool global_steps() { return ropt.gloopt != 0 && an.lpass == 1; }

// Default-kind type codes as the codes of the unit's default types.
uint8_t sized_code(uint8_t code) {
  static const struct {
    uint8_t code;
    int32_t tclass;
  } defaults[] = {{19, TC_LOGICAL}, {20, TC_INTEGER}, {21, TC_REAL}, {22, TC_DOUBLE}, {24, TC_COMPLEX}};
  for (const auto& d : defaults) {
    if (code == d.code && defdtypes[d.tclass] != 0) return static_cast<uint8_t>(defdtypes[d.tclass]);
  }
  return code;
}

// The type score of an actual against a dummy's type: 28 the same type
// (for structures the same definition, another one 4), else 8 for the same
// type bits and 4 more for the same store class.
int32_t type_score(const dtdesc& dummy, const dtdesc& actual) {
  uint8_t d = sized_code(dummy.code), a = sized_code(actual.code);
  if (d == a) {
    if (structured(dummy) && !same_definition(dummy, actual)) return 4;
    return 28;
  }
  int32_t s = (getdtusg(d) & getdtusg(a)) != 0 ? 8 : 0;
  if (getdtstore(d) == getdtstore(a)) s += 4;
  return s;
}

// intf_testmatch: an actual against a dummy; 31 is a complete match.
int32_t testmatch(const argdesc& d, const actarg* a) {
  int32_t s = type_score(d.type, a->type);
  if (d.ndims == a->rank) s += 2;
  // An array element counts as a scalar.
  int32_t ak = a->kind == AC_ARRMEM ? static_cast<int32_t>(AC_SCA) : a->kind;
  int32_t dk = d.kind == AC_ARRMEM ? static_cast<int32_t>(AC_SCA) : d.kind;
  if (ak == dk) s += 1;
  return s;
}

// The dummy descriptor of a local dummy (null: an alternate return).
argdesc local_dummy(const locsym* s) {
  argdesc a{};
  if (s == nullptr) {
    a.kind = AC_ALTRET;
    return a;
  }
  bool procedure = s->squal == SQ_DUMRTN || s->sclass == SC_EXT || s->sclass == SC_FUNC ||
                   s->sclass == SC_SUB;
  int32_t rank = get_array_rank(s);
  a.kind = static_cast<uint8_t>(procedure ? AC_SUB : rank > 0 ? AC_ARR : AC_SCA);
  a.type = s->type;
  a.ndims = static_cast<uint8_t>(rank > 20 ? 20 : rank);
  a.attrs = static_cast<uint8_t>(s->attrib & 0x13);
  std::strncpy(a.name, s->name, sizeof a.name - 1);
  return a;
}

int32_t count_dummies(const DummyNode* d) {
  int32_t n = 0;
  for (; d != nullptr; d = d->next) ++n;
  return n;
}

// Fills the candidate's dummies from the global record of its name, or
// else from the procedure's own dummy list; false when neither is known.
bool candidate_dummies(OvlCand* c, const locsym* proc, const locsym* def) {
  symrec r{};
  int32_t recno = 0;
  lookup(c->name, r, &recno, 1);
  if (recno != 0 && (r.sc == SC_FUNC || r.sc == SC_SUB)) {
    int32_t n = r.nitems > 0 ? r.nitems : 0;
    if (static_cast<int64_t>(n) * argdesc_bytes > static_cast<int64_t>(r.extra.size())) {
      n = static_cast<int32_t>(r.extra.size() / argdesc_bytes);
    }
    c->glorec = recno;
    c->ndummies = n;
    c->dummies = qnew<argdesc>(cand_pool(), static_cast<size_t>(n > 0 ? n : 1));
    for (int32_t i = 0; i < n; ++i) argdesc_get(c->dummies[i], r.extra.data() + i * argdesc_bytes);
    return true;
  }
  const locsym* with_list = def != nullptr ? def : proc;
  bool known = def != nullptr || (proc->attrib & ATTR_INTF_BODY) != 0;
  if (!known) return false;
  const DummyNode* d = dummies_of(with_list);
  c->ndummies = count_dummies(d);
  c->dummies = qnew<argdesc>(cand_pool(), static_cast<size_t>(c->ndummies > 0 ? c->ndummies : 1));
  for (int32_t i = 0; d != nullptr; d = d->next, ++i) c->dummies[i] = local_dummy(d->sym);
  return true;
}

// The active candidate with the highest score sum (the first of equals).
OvlCand* best_candidate(const OvlContext* x) {
  OvlCand* best = nullptr;
  for (OvlCand* c = x->first; c != nullptr; c = c->next) {
    if (c->active && (best == nullptr || c->score > best->score)) best = c;
  }
  return best;
}

// Ends the innermost resolution; it stays at hand for intf_chkAmbiguous.
void pop_context() {
  if (ovl.top == nullptr) return;
  ovl.last = ovl.top;
  ovl.top = ovl.top->below;
}

void report(int32_t n, const char* inserts) {
  int32_t saved = tk.errcol;
  errmsg(n, inserts);
  tk.errcol = saved;
}

}  // namespace

int32_t intf_initovload(locsym* sym) {
  // Resolutions left open by an earlier statement are forgotten.
  while (ovl.top != nullptr &&
         (ovl.top->stmt_line != rsrc.statsrclno || ovl.top->stmt_beg != rsrc.statbeg)) {
    ovl.top = ovl.top->below;
  }
  if (ovl.top == nullptr) {
    ovl.last = nullptr;
    if (ovl.pool != nullptr) qflush(ovl.pool);
  }
  const IntfRec* rec = intf_get_interface(sym, 0);
  if (rec == nullptr || rec->first == nullptr) return 0;
  OvlContext* x = qnew<OvlContext>(cand_pool());
  x->generic = sym;
  x->stmt_line = rsrc.statsrclno;
  x->stmt_beg = rsrc.statbeg;
  OvlCand** tail = &x->first;
  int32_t count = 0;
  for (const IntfProc* p = rec->first; p != nullptr; p = p->next) {
    const locsym* proc = p->sym;
    if (proc == nullptr || proc->name == nullptr) continue;
    bool duplicate = false;
    for (const OvlCand* c = x->first; c != nullptr; c = c->next) {
      if (std::strcmp(c->name, proc->name) == 0) duplicate = true;
    }
    if (duplicate) continue;
    OvlCand* c = qnew<OvlCand>(cand_pool());
    std::strncpy(c->name, proc->name, MAX_NAME);
    c->proc = const_cast<locsym*>(proc);
    if (!candidate_dummies(c, proc, p->def)) {
      // A module procedure not read yet: its dummies are not known.
      x->uncertain = true;
      continue;
    }
    c->matched = qnew<uint8_t>(cand_pool(), static_cast<size_t>(c->ndummies > 0 ? c->ndummies : 1));
    c->active = true;
    c->lastpos = -1;
    int32_t pclass = p->def != nullptr ? p->def->sclass : proc->sclass;
    c->score = sym != nullptr && pclass == sym->sclass ? 31 : 0;
    *tail = c;
    tail = &c->next;
    ++count;
  }
  if (count == 0) return 0;
  x->below = ovl.top;
  ovl.top = x;
  return count;
}

int32_t intf_get_maxargs() {
  int32_t n = 0;
  if (ovl.top == nullptr) return 0;
  for (const OvlCand* c = ovl.top->first; c != nullptr; c = c->next) {
    if (c->ndummies > n) n = c->ndummies;
  }
  return n;
}

void intf_argmatch(int32_t position, const char* keyword, const actarg* arg) {
  OvlContext* x = ovl.top;
  if (x == nullptr || arg == nullptr) return;
  if (arg->type.code == 0) x->uncertain = true;
  int32_t best = -1;
  for (OvlCand* c = x->first; c != nullptr; c = c->next) {
    if (!c->active) continue;
    int32_t pos = position;
    if (keyword != nullptr && keyword[0] != '\0') {
      pos = -1;
      for (int32_t i = 0; i < c->ndummies; ++i) {
        if (std::strcmp(c->dummies[i].name, keyword) == 0) pos = i;
      }
    }
    if (pos < 0 || pos >= c->ndummies || c->matched[pos]) {
      c->active = false;
      continue;
    }
    c->matched[pos] = 1;
    ++c->nmatched;
    c->lastpos = pos;
    c->lastscore = testmatch(c->dummies[pos], arg);
    c->score += c->lastscore;
    if (c->lastscore > best) best = c->lastscore;
  }
  // A best match of the same type class puts the weaker ones out.
  if (best >= 0 && (best & 8) != 0) {
    for (OvlCand* c = x->first; c != nullptr; c = c->next) {
      if (c->active && c->lastscore < best) c->active = false;
    }
  }
}

int32_t intf_chkNomatch(int32_t position) {
  OvlContext* x = ovl.top;
  if (x == nullptr || !global_steps()) return 0;
  const OvlCand* best = best_candidate(x);
  if (best != nullptr && best->lastscore == 31 && position < best->ndummies) return 0;
  if (x->uncertain) return 0;
  report(834, "ss");
  pop_context();
  return -1;
}

int32_t intf_overload_intrinsic(int32_t position, const actarg* arg) {
  OvlContext* x = ovl.top;
  if (x == nullptr || arg == nullptr || x->generic == nullptr) return 0;
  const intrin_generic* g = findgeneric(x->generic->name, nullptr);
  if (g == nullptr) return 0;
  const OvlCand* best = best_candidate(x);
  if (best != nullptr && best->lastpos == position && (best->lastscore & 30) == 30) return 0;
  int32_t best_type = best != nullptr ? (best->lastscore & ~3) : 0;
  for (const intrin_spec* const* s = intrin_find_specific(g); s != nullptr && *s != nullptr; ++s) {
    if (!specificIntrinIsAcceptable(s)) continue;
    dtdesc want = expr_type((*s)->argtype);
    if (type_score(want, arg->type) > best_type) return 1;
  }
  return 0;
}

int32_t intf_matchargnum(int32_t nactuals) {
  OvlContext* x = ovl.top;
  if (x == nullptr) return 0;
  pop_context();
  if (!global_steps()) return 0;
  OvlCand* chosen = nullptr;
  if (nactuals == 0) {
    // intf_noargs: the candidate without dummies.
    for (OvlCand* c = x->first; c != nullptr && chosen == nullptr; c = c->next) {
      if (c->active && c->ndummies == 0) chosen = c;
    }
  } else {
    int32_t top = -1;
    for (OvlCand* c = x->first; c != nullptr; c = c->next) {
      if (!c->active) continue;
      bool complete = true;
      for (int32_t i = 0; i < c->ndummies; ++i) {
        if (!c->matched[i] && (c->dummies[i].attrs & 0x10) == 0) complete = false;
      }
      if (!complete) {
        c->active = false;
        continue;
      }
      if (c->score > top) top = c->score;
    }
    for (OvlCand* c = x->first; c != nullptr; c = c->next) {
      if (!c->active || c->score != top) continue;
      if (chosen == nullptr ||
          std::abs(c->ndummies - nactuals) < std::abs(chosen->ndummies - nactuals)) {
        chosen = c;
      }
    }
  }
  x->chosen = chosen;
  return chosen != nullptr ? chosen->glorec : 0;
}

locsym* intf_chosen_proc() {
  return ovl.last != nullptr && ovl.last->chosen != nullptr ? ovl.last->chosen->proc : nullptr;
}

void intf_chkAmbiguous(locsym* sym) {
  OvlContext* x = ovl.last;
  if (x == nullptr || x->chosen == nullptr || !global_steps() || x->uncertain) return;
  if (sym != nullptr && x->generic != sym && !same_name(x->generic, sym)) return;
  int32_t same = 0;
  for (const OvlCand* c = x->first; c != nullptr; c = c->next) {
    if (c->active && c->ndummies == x->chosen->ndummies) ++same;
  }
  if (same >= 2 && (x->chosen->lastscore & (2 | 4 | 8 | 16)) != 0) report(696, "sss");
}

void intf_reset() {
  intfs = IntfState{};
  if (ovl.pool != nullptr) qflush(ovl.pool);
  ovl.top = nullptr;
  ovl.last = nullptr;
}
