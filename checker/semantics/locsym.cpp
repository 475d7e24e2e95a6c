// The local symbol table: lookup and creation of the symbols of the unit
// being read through the hash tables of its scope levels, the levels
// themselves, uses and occurrences of symbols, and implicit typing.
#include "checker/semantics/arglist.h"
#include "checker/semantics/locsym.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "checker/common/mystring.h"
#include "checker/base/errmsg.h"
#include "checker/base/exprstate.h"
#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/modtable.h"

struct OvIntrinNode;
struct OvIntrinList {
  OvIntrinNode* head;  // OvIntrinHead
  OvIntrinNode* tail;  // OvIntrinTail
};
static OvIntrinList ovintrin;

// Name spaces of the storage classes: COMMON blocks, NAMELIST groups,
// STRUCTURE names and derived-type names never collide with other names.
static int32_t name_space(int32_t sclass) {
  switch (sclass) {
    case SC_COM:
    case SC_NML:
    case SC_STRUCT:
    case SC_STRUCT90:
      return sclass;
    default:
      return 0;
  }
}

int32_t chk_scope(const locsym* sym, int32_t level, int32_t flags) {
  int32_t cur = Status.scope_level;
  bool same = level == cur;
  bool in_intf_rec = (sym->attrib & 0x4000000) != 0;
  if (Status.interface != 2 && !in_intf_rec) {
    if (same || (flags & 32)) return 1;
    if (prgnam == nullptr) {
      // An INTERFACE block of a unit contained in another sees its host.
      if (Status.interface != 0 && Status.nesting == 2) return 1;
      return (flags & 8) ? 2 : 0;
    }
  } else {
    if (sym->owner != nullptr && sym->owner != prgnam && sym->owner != sym) return 0;
    if (same || (flags & 32)) return 1;
  }
  // An entity of an outer level while a unit is open: the statement class
  // reached so far decides. Declaring uses do not take host entities in
  // the specification part, except inside a KIND selector.
  if (unit.parmod > CL_SPEC || stmtIsAssignmt()) return 1;
  if ((unit.parmod >= CL_USE || isinKindSelector) && (flags & 4) == 0) return 1;
  return 0;
}

locsym* getsym_in_scope(const char* name, int32_t len, int32_t flags, int32_t cls,
                        int32_t bucket, int32_t level, locsym** stop, locsym** prev) {
  *stop = nullptr;
  *prev = nullptr;
  if (level < 1 || level > MAX_SCOPES) return nullptr;
  locsym* before = nullptr;
  for (locsym* s = Scope[level].bucket[bucket]; s != nullptr; s = s->hnext) {
    int32_t c = strcmpmn(name, s->name, len);
    if (c == 0 && s->name[len] != '\0') c = -1;
    if (c < 0) {
      *stop = s;
      *prev = before;
      return nullptr;
    }
    if (c == 0) {
      int32_t vis = chk_scope(s, level, flags);
      if (vis != 0) {
        int32_t space = name_space(s->sclass);
        if (space == cls) {
          if (len >= 7 && (flags & 2) == 0) cksymlen(len);
          return s;
        }
        if (vis == 1 && (stmtIs(ST_PUBLIC) || stmtIs(ST_PRIVATE))) return s;
        if (space == 0 && cls == 14 && (stmtIs(ST_TYPE) || stmtIs(ST_USE))) return s;
        if (space > cls) {
          if (space == 14 && cls == 0 && pstat[tk.stacol] == '(') return s;
          *stop = s->hnext;
          *prev = s;
          return nullptr;
        }
      }
    }
    before = s;
  }
  *prev = before;
  return nullptr;
}

locsym* loc_addsym(const char* name, int32_t len, int32_t flags, int32_t cls, int32_t bucket,
                   locsym* next, locsym* prev) {
  locsym* s = local_new<locsym>();
  char* copy = local_array<char>(len + 1);
  std::memcpy(copy, name, static_cast<size_t>(len));
  copy[len] = '\0';
  s->name = copy;
  s->type.tag = 'p';
  s->squal = cls == -1 ? SQ_STRUCTFLD : cls == -2 ? SQ_INTRINSIC : SQ_UNK;
  s->line = static_cast<uint32_t>(rsrc.codlno);
  s->owner = prgnam != nullptr ? prgnam : s;
  s->attrib = Status.interface != 0 ? 0x4000000u : 0u;
  if (cls >= 0) {
    loc_scope& lv = Scope[Status.scope_level];
    if (lv.tail == nullptr) {
      lv.head = s;
    } else {
      lv.tail->snext = s;
    }
    lv.tail = s;
    s->hnext = next;
    if (prev == nullptr) {
      lv.bucket[bucket] = s;
      lv.used[bucket / 64] |= uint64_t{1} << (bucket % 64);
    } else {
      prev->hnext = s;
    }
  }
  if (len >= 7 && (flags & 2) == 0) cksymlen(len);
  return s;
}

locsym* getsym(const char* name, int32_t len, int32_t flags, int32_t cls) {
  if (len > MAX_NAME) len = MAX_NAME;
  if (len < 0) len = 0;
  if (Status.scope_level < 1) increase_scoping_level();
  if (Status.scope_level < 1) rd_interr("LOC-007");
  if (Status.scope_level > MAX_SCOPES) rd_interr("LOC-008");
  if (cls == -1 || cls == -2) return loc_addsym(name, len, flags, cls, 0, nullptr, nullptr);
  int32_t bucket = hashy(name, len);
  locsym* keep_stop = nullptr;
  locsym* keep_prev = nullptr;
  int32_t lowest = Status.interface == 2 ? Status.scope_level : 1;
  for (int32_t level = Status.scope_level; level >= lowest; --level) {
    locsym* stop = nullptr;
    locsym* prev = nullptr;
    locsym* s = getsym_in_scope(name, len, flags, cls, bucket, level, &stop, &prev);
    if (level == Status.scope_level) {
      keep_stop = stop;
      keep_prev = prev;
    }
    if (s != nullptr) return s;
  }
  if ((flags & 1) == 0) return nullptr;
  // The insertion point kept from the current level keeps the chain sorted.
  if (keep_prev == nullptr && keep_stop == nullptr) {
    locsym* p = nullptr;
    for (locsym* s = Scope[Status.scope_level].bucket[bucket]; s != nullptr; s = s->hnext) p = s;
    keep_prev = p;
  }
  return loc_addsym(name, len, flags, cls, bucket, keep_stop, keep_prev);
}

// Occurrences of host entities in contained procedures, by the first
// letter of the name, in the pool "pxref".
struct PscopeNode {
  locsym* sym;       // the host entity
  xrefrec* occ;      // its occurrence
  PscopeNode* next;
};
struct PscopeLists {
  PscopeNode* head[26];
  PscopeNode* tail[26];
};
static PscopeLists pscope;
static qlist* pxrf_storage = nullptr;

void xrefit_pscope_init() {
  if (pxrf_storage == nullptr) pxrf_storage = qcreate(0, "pxref");
  qflush(pxrf_storage);
  pscope = PscopeLists{};
}

void xrefit_pscope(locsym* sym, xrefrec* occ) {
  if (sym == nullptr || occ == nullptr) return;
  if (pxrf_storage == nullptr) xrefit_pscope_init();
  int32_t c = static_cast<unsigned char>(sym->name[0]);
  int32_t b = c < 'A' ? 0 : c > 'Z' ? 25 : c - 'A';
  for (const PscopeNode* n = pscope.head[b]; n != nullptr; n = n->next) {
    if (n->sym == sym && n->occ != nullptr) return;
  }
  PscopeNode* n = qnew<PscopeNode>(pxrf_storage);
  n->sym = sym;
  n->occ = occ;
  if (pscope.tail[b] == nullptr) {
    pscope.head[b] = n;
  } else {
    pscope.tail[b]->next = n;
  }
  pscope.tail[b] = n;
}

std::vector<locsym*> pscope_entities() {
  std::vector<locsym*> all;
  for (const PscopeNode* head : pscope.head) {
    for (const PscopeNode* n = head; n != nullptr; n = n->next) {
      if (n->sym != nullptr && n->occ != nullptr) all.push_back(n->sym);
    }
  }
  return all;
}

int32_t pscope_refbefset(const locsym* sym) {
  const locsym* cur = loc_current_scope();
  if (sym->owner == nullptr || sym->owner == sym || sym->owner == cur || sym->link == cur) return 0;
  if (sym->owner->sclass == SC_MODULE) return 0;
  if (sym->sclass != SC_VAR && sym->sclass != SC_REC && sym->sclass != SC_REC90) return 0;
  if (sym->attrib & 0x8000u) return 0;
  if (sym->props & (CP_COMBLK | CP_PTRBASED)) return 0;
  return (sym->usage & (QB_SET | QB_REF | QB_INDIRECT | QB_INIT | QB_INDINIT)) == 0 ? 1 : 0;
}

// The occurrence records of the unit are marked associated while a use
// spreads through COMMON or EQUIVALENCE.
static uint8_t assoc_mark = 0;

void xrefitone(locsym* s, uint32_t usage, int32_t tokpos, int32_t first) {
  constexpr uint32_t ever_set = QB_SET | QB_INDIRECT | QB_INIT | QB_INDINIT;
  if ((usage & QB_RBS) && (s->usage & ever_set)) usage &= ~static_cast<uint32_t>(QB_RBS);
  if ((usage & (QB_SET | QB_REF | QB_INDIRECT)) == QB_REF && (s->usage & ever_set) == 0) {
    usage |= QB_RBS;
    if (pscope_refbefset(s)) {
      int32_t saved = tk.errcol;
      tk.errcol = tokpos;
      rd_errmsg(823);
      tk.errcol = saved;
    }
  }
  s->usage |= usage;
  int32_t line = 0;
  int32_t col = getcol(tokpos > 0 ? tokpos : 0, &line);
  int32_t srcline = line >= 0 && line < MAX_STMT_LINES ? stmtlines.lineno[line] : rsrc.srclno;
  if (tokpos <= 0) srcline = rsrc.codlno;
  if (s->line == 0 && (usage & (QB_SET | QB_REF))) s->line = static_cast<uint32_t>(srcline);
  xrefrec* x = s->xtail;
  if (x != nullptr && x->line == srcline && x->col == col) {
    x->usage |= usage;
  } else {
    x = local_new<xrefrec>();
    x->sym = s;
    x->assoc = assoc_mark;
    x->line = srcline;
    x->col = col;
    x->usage = usage;
    x->incid = rsrc.inclev > 0 ? rsrc.inclev : 0;
    x->incline = rsrc.inclev > 0 ? rsrc.inc[1].incline : 0;
    if (first && s->squal == SQ_STRUCTFLD && got_recstrend > got_recstrbeg) {
      x->path = store_structcomp(chunkosource(got_recstrbeg, got_recstrend - 1).c_str());
    }
    if (s->xtail == nullptr) {
      s->xhead = x;
    } else {
      s->xtail->next = x;
    }
    s->xtail = x;
  }
  // A host entity used in a contained procedure.
  const locsym* cur = loc_current_scope();
  if (s->owner != nullptr && cur != nullptr && s->owner != cur && s->owner != s &&
      !(s->link == cur && s->squal != SQ_STRUCTFLD)) {
    xrefit_pscope(s, x);
  }
}

void xrefit(locsym* sym, uint32_t usage, int32_t tokpos) {
  int32_t first = 1;
  for (locsym* s = sym; s != nullptr; s = s->squal == SQ_STRUCTFLD ? s->link : nullptr) {
    xrefitone(s, usage, tokpos, first);
    first = 0;
  }
}

locsym* useptr(locsym* sym) {
  while (sym != nullptr && sym->squal == SQ_STRUCTFLD && sym->link != nullptr) sym = sym->link;
  return sym;
}

// Uses met while a statement-function body is read, replayed when it ends:
// kind 0 a use of a symbol, kind 1 a dummy argument passed to a procedure.
struct StatFuncOp {
  uint8_t kind;
  locsym* sym;      // the symbol used, or the argument passed
  uint32_t usage;   // usage bits (kind 0)
  locsym* proc;     // the procedure (kind 1)
  int32_t word;     // token position (kind 0) or argument word (kind 1)
  StatFuncOp* next;
};
struct StatFuncQueue {
  StatFuncOp* head;  // stafunoprhead
  StatFuncOp* tail;  // stafunoprtail
  bool active;       // instatfunc
};
static StatFuncQueue stafunopr;

static void statfunc_queue(uint8_t kind, locsym* sym, uint32_t usage, locsym* proc, int32_t word) {
  StatFuncOp* op = local_new<StatFuncOp>();
  op->kind = kind;
  op->sym = sym;
  op->usage = usage;
  op->proc = proc;
  op->word = word;
  if (stafunopr.tail == nullptr) {
    stafunopr.head = op;
  } else {
    stafunopr.tail->next = op;
  }
  stafunopr.tail = op;
}

bool instatfunc() { return stafunopr.active; }

void statfunc_begin() { stafunopr = StatFuncQueue{nullptr, nullptr, true}; }

void statfunc_queue_pass(locsym* proc, locsym* arg, int32_t word) {
  statfunc_queue(1, arg, 0, proc, word);
}

void statfunc_end(void (*dummy_use)(locsym*, uint32_t),
                  void (*dummy_pass)(locsym* arg, locsym* proc, int32_t word)) {
  StatFuncOp* op = stafunopr.head;
  stafunopr = StatFuncQueue{};
  for (; op != nullptr; op = op->next) {
    if (op->kind == 1) {
      if (op->sym->squal != SQ_SFDUMARG) {
        dummypass(op->proc, op->sym, op->word);
      } else if (dummy_pass != nullptr) {
        dummy_pass(op->sym, op->proc, op->word);
      }
    } else if (op->sym->squal == SQ_SFDUMARG) {
      dummy_use(op->sym, op->usage);
    } else {
      flaguse(op->sym, op->usage, op->word);
    }
  }
}

// Whether the storage of two associated objects may overlap. An object
// whose place could not be known (offset -2) may lie anywhere in the
// storage it shares; one whose size could not be known (-2) reaches from
// its place to the end of that storage.
static bool may_overlap(const locsym* a, const locsym* b) {
  if (a->offset == -2 || b->offset == -2) return a->size != 0 && b->size != 0;
  auto end = [](const locsym* s) {
    return s->size == -2 ? INT64_MAX : static_cast<int64_t>(s->offset) + s->size;
  };
  if ((a->size <= 0 && a->size != -2) || (b->size <= 0 && b->size != -2)) return false;
  return static_cast<int64_t>(b->offset) < end(a) && static_cast<int64_t>(a->offset) < end(b);
}

// Walks the EQUIVALENCE ring of sym: every other member whose storage
// may overlap sym's gets the same use. A ring whose members all carry the
// USE-rename mark ends after one full circle.
static void flaguse_ring(locsym* sym, uint32_t usage, int32_t tokpos) {
  locsym* end = sym;
  bool marked = (sym->attrib & 0x8000000u) != 0;
  locsym* m = sym;
  for (int32_t steps = 0;; ++steps) {
    if (steps > 2500) rd_interr("LOC-003");
    m = m->link;
    if (m == nullptr) rd_interr("LOC-002");
    if (m == end) break;
    if (marked) {
      end = m;
      marked = (m->attrib & 0x8000000u) != 0;
      if (marked && m == sym) break;  // all of the ring carries the mark
    }
    if (may_overlap(sym, m)) xrefit(m, usage, tokpos);
  }
}

// The members of sym's COMMON block that overlap it get the same use.
static void flaguse_common(locsym* sym, uint32_t usage, int32_t tokpos) {
  const locsym* blk = sym->link;
  if (blk == nullptr) rd_interr("LOC-004");
  for (const ComMember* n = static_cast<const ComMember*>(blk->list); n != nullptr; n = n->next) {
    locsym* m = n->sym;
    if (m != nullptr && m != sym && may_overlap(sym, m)) xrefit(m, usage, tokpos);
  }
}

void flaguse(locsym* sym, uint32_t usage, int32_t tokpos) {
  if (sym == nullptr) return;
  if (stafunopr.active) {
    statfunc_queue(0, sym, usage, nullptr, tokpos);
    return;
  }
  sym = useptr(sym);
  assoc_mark = 0;
  if ((sym->props & CP_PTRBASED) && sym->link != nullptr && sym->link != sym) {
    flaguse(sym->link, QB_REF, tokpos);
  }
  if (sym->sclass == SC_REC90 && sym->type.code == DT_TYPE && (sym->attrib & 0x2)) usage |= QB_REF;
  xrefit(sym, usage, tokpos);
  bool eqv = (sym->props & CP_EQVGRP) != 0;
  bool com = (sym->props & CP_COMBLK) != 0;
  // Sizes are known once the declarations of the unit end; one that
  // could not be known (-2) still shares storage.
  if ((eqv || com) && (sym->size > 0 || sym->size == -2)) {
    assoc_mark = 1;
    if (usage & QB_INIT) usage = (usage & ~static_cast<uint32_t>(QB_INIT)) | QB_INDINIT;
    if (eqv) {
      flaguse_ring(sym, usage, tokpos);
    } else {
      flaguse_common(sym, usage, tokpos);
    }
  }
  assoc_mark = 0;
}

// Default type of an IMPLICIT row: I to N integer, other letters real,
// names that begin with another character untyped.
static dtdesc default_row(int32_t row) {
  dtdesc d{};
  d.tag = 'p';
  if (row >= 8 && row <= 13) {
    d.code = static_cast<uint8_t>(defdtypes[3]);
  } else if (row < 26) {
    d.code = static_cast<uint8_t>(defdtypes[4]);
  }
  return d;
}

int32_t chk_imptyp(int32_t row) {
  if (row > 26) row = 26;
  if (row < 0) row = 26;
  if (imptbl[row].code != DT_TYPE) return 1;
  const locsym* t = imptbl[row].tag == 'q' ? imptbl[row].sym : nullptr;
  if (t != nullptr && t->sclass == SC_STRUCT90 && (t->usage & QB_SET)) return 1;
  int32_t level = Status.scope_level;
  if (level > 1 && Status.interface == 0) {
    imptbl[row] = Scope[level - 1].imptbl[row];
    Scope[level].imptbl[row] = imptbl[row];
  } else {
    imptbl[row] = default_row(row);
    if (Status.interface == 0 && level >= 1 && level <= MAX_SCOPES) {
      Scope[level].imptbl[row] = imptbl[row];
    }
  }
  return 0;
}

// Function references that IMPLICIT NONE leaves without a type in a unit
// that may still gain the contained procedure of that name: the file is
// read once, so their message 136 waits (in its place in the report) for
// the END of the unit whose contained procedures can still define them.
struct HeldReference {
  locsym* sym;     // the function's symbol where it was referenced
  int32_t level;   // scope level whose END settles it next
  int32_t slot;    // the waiting message (0: none to print in this pass)
};
struct HeldReferences {
  std::vector<HeldReference> refs;  // in the order of the references
};
static HeldReferences held;

// True when the current unit may still gain contained procedures that a
// name it references could be: a unit contained in a host (the host's
// later procedures), or a unit of a kind that contains, before its
// CONTAINS. Interface bodies see nothing of their host.
static bool may_gain_contained() {
  if (ropt.Language == 1 || Status.interface != 0) return false;
  int32_t level = Status.scope_level;
  if (level < 1 || level > MAX_SCOPES) return false;
  if (level >= 2) return true;
  return unit.prgtyp == 5 || unit.prgtyp == 6 || unit.prgtyp == 7 || unit.prgtyp == 12;
}

// Implicit typing of sym; reference: sym is referenced as a function.
static void imptypit_as(locsym* sym, int32_t col, bool reference) {
  if (sym == nullptr || (sym->attrib & 0x1000000)) return;
  int32_t c = static_cast<unsigned char>(sym->name[0]);
  int32_t row = c >= 'A' && c <= 'Z' ? c - 'A' : 26;
  chk_imptyp(row);
  sym->type = imptbl[row];
  if (sym->type.code != 0) {
    sym->props |= CP_TYPIMP;
    if (sym->type.code == DT_TYPE) {
      bool par = sym->sclass == SC_PAR || (sym->sclass == SC_UNK && (sym->attrib & 0x200));
      if (sym->sclass == SC_VAR || (sym->sclass == SC_UNK && !par)) sym->sclass = SC_REC90;
      else if (par) sym->sclass = SC_PAR90REC;
    }
    return;
  }
  sym->type = default_row(8);
  if (!flagerr_typedec_missing(sym)) return;
  int32_t saved = tk.errcol;
  tk.errcol = col;
  if (reference && may_gain_contained()) {
    sym->extra |= EXTRA_TYPE_PENDING;
    held.refs.push_back(HeldReference{sym, Status.scope_level, errmsg_hold(136)});
  } else {
    rd_errmsg(136);
  }
  tk.errcol = saved;
}

void imptypit(locsym* sym, int32_t col) { imptypit_as(sym, col, false); }

void imptypit_reference(locsym* sym, int32_t col) { imptypit_as(sym, col, true); }

// The function of the name that the unit of level contains, else null.
static const locsym* contained_function(int32_t level, const char* name) {
  if (level < 1 || level > MAX_SCOPES) return nullptr;
  for (const UnitNode* n = Scope[level].contained; n != nullptr; n = n->next) {
    if (n->sym->sclass == SC_FUNC && std::strcmp(n->sym->name, name) == 0) return n->sym;
  }
  return nullptr;
}

// Ends the wait of a held reference: typed by the function found, or its
// message printed in its place.
static void settle(const HeldReference& r, const locsym* found) {
  r.sym->extra &= ~EXTRA_TYPE_PENDING;
  if (found != nullptr) {
    r.sym->type = found->type;
    r.sym->props &= static_cast<uint8_t>(~CP_TYPIMP);
  }
  errmsg_settle(r.slot, found == nullptr);
}

void settle_held_references() {
  int32_t level = Status.scope_level;
  if (Status.interface != 0) return;
  std::vector<HeldReference> left;
  for (const HeldReference& r : held.refs) {
    const locsym* found = r.level == level ? contained_function(level, r.sym->name) : nullptr;
    if (found != nullptr) {
      settle(r, found);
    } else {
      left.push_back(r);
    }
  }
  held.refs.swap(left);
}

// Leaving level: its held references wait on for the host's END; at the
// outermost level nothing can define them any more.
static void pass_held_references_up(int32_t level) {
  std::vector<HeldReference> left;
  for (HeldReference& r : held.refs) {
    if (r.level < level) {
      left.push_back(r);
    } else if (level > 1) {
      r.level = level - 1;
      left.push_back(r);
    } else {
      settle(r, nullptr);
    }
  }
  held.refs.swap(left);
}

int32_t flagerr_typedec_missing(const locsym* sym) {
  if (!PrintImptypMsg) return 0;
  if (stmtIs(ST_MODULEPROCEDURE) || stmtIs(ST_PUBLIC) || stmtIs(ST_PRIVATE)) return 0;
  // A module's name in its MODULE PROCEDURE, PUBLIC or PRIVATE statements
  // that nothing types is a procedure of the module, typed by its own
  // definition: in the module and in the procedures it contains.
  const locsym* home = prgnam != nullptr && prgnam->sclass == SC_MODULE ? prgnam : sym->owner;
  if (home != nullptr && home->sclass == SC_MODULE && (sym->attrib & (0x80000u | 0x1000u | 0x800u)))
    return 0;
  // A generic intrinsic's name takes its type from its arguments; a name
  // that only other dialects or languages know as an intrinsic is not one.
  if (intrin_lookup(sym->name) != nullptr) return 0;
  // A unit that USEs a module not read in this run may take any name from it.
  if (modtbl.unknown_use != 0) return 0;
  if (sym != prgnam) return 1;
  // The unit's own name: a function whose result variable has a type is typed.
  bool function = sym->sclass == SC_FUNC ||
                  ((sym->sclass == SC_VAR || sym->sclass == SC_REC90) && sym->squal == SQ_FUNCVAR);
  const locsym* result = static_cast<const locsym*>(sym->locdata);
  if (function && result != nullptr && result != sym && result->type.code != 0) return 0;
  return 1;
}

void set_current_unit(locsym* sym) {
  prgnam = sym;
  if (Status.scope_level >= 1 && Status.scope_level <= MAX_SCOPES) {
    Scope[Status.scope_level].unitsym = sym;
    if (sym != nullptr) sym->owner = sym;
  }
}

locsym* loc_current_scope() {
  return Status.scope_level >= 1 && Status.scope_level <= MAX_SCOPES
             ? Scope[Status.scope_level].unitsym
             : nullptr;
}

locsym* loc_parent_scope() {
  return Status.scope_level >= 2 && Status.scope_level <= MAX_SCOPES
             ? Scope[Status.scope_level - 1].unitsym
             : nullptr;
}

locsym* loc_top_scope() { return Status.scope_level >= 1 ? Scope[1].unitsym : nullptr; }

void increase_scoping_level() {
  if (Status.scope_level >= MAX_SCOPES) rd_interr("increase_scoping_level");
  int32_t from = Status.scope_level;
  if (from >= 1) {
    // The enclosing unit's labels and defaults wait for its END.
    Scope[from].labels = labhead;
    Scope[from].defaccess = spec.defaccess;
    Scope[from].hpfseq = Status.hpfseq;
    labhead = nullptr;
    spec.defaccess = 0;
    Status.hpfseq = 0;
  }
  ++Status.scope_level;
  loc_scope& lv = Scope[Status.scope_level];
  lv.kind = 0;
  lv.unitsym = nullptr;
  lv.contained = nullptr;
  lv.head = nullptr;
  lv.tail = nullptr;
  clear_buckets(lv);
  // The new level starts from the host's IMPLICIT rules.
  for (int32_t r = 0; r < 27; ++r) lv.imptbl[r] = from >= 1 ? Scope[from].imptbl[r] : imptbl[r];
  for (int32_t r = 0; r < 27; ++r) imptbl[r] = lv.imptbl[r];
}

void note_contained_end(locsym* proc) {
  int32_t host = Status.scope_level - 1;
  if (proc == nullptr || Status.interface != 0 || host < 1 || host > MAX_SCOPES) return;
  UnitNode* n = local_new<UnitNode>();
  n->sym = proc;
  n->next = Scope[host].contained;
  Scope[host].contained = n;
}

const locsym* contained_procedure(const char* name) {
  if (name == nullptr) return nullptr;
  for (int32_t level = Status.scope_level - 1; level >= 1; --level) {
    if (level > MAX_SCOPES) continue;
    for (const UnitNode* n = Scope[level].contained; n != nullptr; n = n->next) {
      if (std::strcmp(n->sym->name, name) == 0) return n->sym;
    }
  }
  return nullptr;
}

void decrease_scoping_level() {
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) {
    rd_interr("decrease_scoping_level");
  }
  pass_held_references_up(Status.scope_level);
  --Status.scope_level;
  if (Status.scope_level >= 1) {
    loc_scope& lv = Scope[Status.scope_level];
    for (int32_t r = 0; r < 27; ++r) imptbl[r] = lv.imptbl[r];
    prgnam = lv.unitsym;
    labhead = lv.labels;
    spec.defaccess = lv.defaccess;
    Status.hpfseq = lv.hpfseq;
    lv.labels = nullptr;
  } else {
    prgnam = nullptr;
  }
}

void locsym_reset() {
  held = HeldReferences{};
  stafunopr = StatFuncQueue{};
  pscope = PscopeLists{};
  ovintrin = OvIntrinList{};
  assoc_mark = 0;
  PrintImptypMsg = 1;
  arglist_unit_reset();
  Status = UnitStatus{};
  prgnam = nullptr;
  Scope = ScopeOne;
  for (auto& lv : ScopeOne) lv = loc_scope{};
  for (auto& lv : ScopeTwo) lv = loc_scope{};
  implicit_none = 0;
}

// Structure-component paths, interned in the pool "record".
constexpr int32_t REC_BUCKETS = 1024;
struct RecNode {
  const char* text;
  RecNode* next;
};
struct StructCompTable {
  RecNode* bucket[REC_BUCKETS];  // rechash, chains in ascending strcmp order
  int32_t RecTblSiz;             // bytes of all strings stored
};
static StructCompTable rectbl;

static qlist* record_storage() { return qnamed("record"); }

void init_structcomp_tbl() { rectbl = StructCompTable{}; }

int32_t structcomp_bytes() { return rectbl.RecTblSiz; }

const char* getstr_structcomp(const char* path) {
  if (path == nullptr) return nullptr;
  int32_t len = static_cast<int32_t>(std::strlen(path));
  for (const RecNode* n = rectbl.bucket[hashy(path, len)]; n != nullptr; n = n->next) {
    int32_t c = std::strcmp(path, n->text);
    if (c == 0) return n->text;
    if (c < 0) break;
  }
  return nullptr;
}

const char* add_structcomp(const char* path) {
  int32_t len = static_cast<int32_t>(std::strlen(path));
  RecNode** at = &rectbl.bucket[hashy(path, len)];
  while (*at != nullptr && std::strcmp((*at)->text, path) < 0) at = &(*at)->next;
  RecNode* n = qnew<RecNode>(record_storage());
  n->text = qstore(record_storage(), path);
  n->next = *at;
  *at = n;
  rectbl.RecTblSiz += len + 1;
  return n->text;
}

const char* store_structcomp(const char* path) {
  if (path == nullptr) return nullptr;
  const char* have = getstr_structcomp(path);
  return have != nullptr ? have : add_structcomp(path);
}

// Local copies of intrinsics that the user overloads, in the pool "local".
struct OvIntrinNode {
  locsym* sym;
  OvIntrinNode* next;
};
void ovintrin_reset() { ovintrin = OvIntrinList{}; }

locsym* getsym_ov_intrin(const locsym* sym) {
  if (sym == nullptr) return nullptr;
  if (locsym* have = getsym_ov_intrin_if_overloaded(sym)) return have;
  locsym* s = getsym(sym->name, static_cast<int32_t>(std::strlen(sym->name)), 1, -2);
  OvIntrinNode* n = local_new<OvIntrinNode>();
  n->sym = s;
  if (ovintrin.tail == nullptr) {
    ovintrin.head = n;
  } else {
    ovintrin.tail->next = n;
  }
  ovintrin.tail = n;
  s->squal = SQ_INTRINSIC;
  s->sclass = sym->sclass;
  s->type = sym->type;
  return s;
}

// The list holds the intrinsics whose names a generic interface of the
// unit takes (the INTERFACE statement enters them).
locsym* getsym_ov_intrin_if_overloaded(const locsym* sym) {
  if (sym == nullptr || sym->name == nullptr) return nullptr;
  for (const OvIntrinNode* n = ovintrin.head; n != nullptr; n = n->next) {
    if (std::strcmp(n->sym->name, sym->name) == 0) return n->sym;
  }
  return nullptr;
}

void CopyScopes() {
  for (int32_t l = 0; l <= MAX_SCOPES; ++l) ScopeTwo[l] = ScopeOne[l];
}

void SetScopes(int32_t which) { Scope = which != 0 ? ScopeOne : ScopeTwo; }
