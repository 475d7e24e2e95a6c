// The local symbol table: lookup and creation of the symbols of the unit
// being read through the hash tables of its scope levels, the levels
// themselves, uses and occurrences of symbols, and implicit typing.
#include "checker/semantics/arglist.h"
#include "checker/semantics/locsym.h"

#include <cstring>
#include <vector>

#include "checker/common/mystring.h"
#include "checker/reader/analyze.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/statement.h"
#include "checker/reader/tokens.h"

loc_scope ScopeOne[MAX_SCOPES + 1];
loc_scope ScopeTwo[MAX_SCOPES + 1];
loc_scope* Scope = ScopeOne;
UnitStatus Status;
locsym* prgnam;
dtdesc imptbl[27];
int32_t defdtypes[9];
int32_t implicit_none;

qlist* local_pool() {
  for (qlist* q = qm_allqlists(); q != nullptr; q = q->next) {
    if (std::strcmp(q->name, "local") == 0) return q;
  }
  return qcreate(0, "local");
}

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
    if (prgnam == nullptr) return (flags & 8) ? 2 : 0;
  } else {
    if (sym->owner != nullptr && sym->owner != prgnam && sym->owner != sym) return 0;
    if (same || (flags & 32)) return 1;
  }
  // An entity of an outer level while a unit is open: the parse mode decides.
  if (Status.parse_mode > 6 || stmtIsAssignmt()) return 1;
  if (Status.parse_mode >= 3 && (flags & 4) == 0) return 1;
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

void xrefit(locsym* sym, uint32_t usage, int32_t tokpos) {
  for (locsym* s = sym; s != nullptr;) {
    if ((usage & QB_RBS) && (s->usage & (QB_SET | 0x10000000u | QB_INIT | QB_INDINIT))) {
      usage &= ~static_cast<uint32_t>(QB_RBS);
    }
    if ((usage & (QB_SET | QB_REF | 0x10000000u)) == QB_REF &&
        (s->usage & (QB_SET | 0x10000000u | QB_INIT | QB_INDINIT)) == 0) {
      usage |= QB_RBS;
    }
    s->usage |= usage;
    int32_t line = 0;
    int32_t col = getcol(tokpos > 0 ? tokpos : 0, &line);
    int32_t srcline = line >= 0 && line < MAX_STMT_LINES ? stmtlines.lineno[line] : rsrc.srclno;
    if (s->line == 0 && (usage & (QB_SET | QB_REF))) s->line = static_cast<uint32_t>(srcline);
    if (s->xtail != nullptr && s->xtail->line == srcline && s->xtail->col == col) {
      s->xtail->usage |= usage;
    } else {
      xrefrec* x = local_new<xrefrec>();
      x->sym = s;
      x->line = srcline;
      x->col = col;
      x->usage = usage;
      x->incid = rsrc.inclev > 0 ? rsrc.inclev : 0;
      x->incline = rsrc.inclev > 0 ? rsrc.inc[1].incline : 0;
      if (s->xtail == nullptr) {
        s->xhead = x;
      } else {
        s->xtail->next = x;
      }
      s->xtail = x;
    }
    s = s->squal == SQ_STRUCTFLD ? s->link : nullptr;
  }
}

// Uses met while a statement-function body is read, replayed when it ends.
struct StatFuncUse {
  locsym* sym;
  uint32_t usage;
  int32_t tokpos;
};
static std::vector<StatFuncUse> statfunc_uses;
static bool instatfunc = false;

void statfunc_begin() {
  instatfunc = true;
  statfunc_uses.clear();
}

void statfunc_end(void (*dummy_use)(locsym*, uint32_t)) {
  instatfunc = false;
  for (const StatFuncUse& u : statfunc_uses) {
    if (u.sym->squal == SQ_SFDUMARG) {
      dummy_use(u.sym, u.usage);
    } else {
      flaguse(u.sym, u.usage, u.tokpos);
    }
  }
  statfunc_uses.clear();
}

void flaguse(locsym* sym, uint32_t usage, int32_t tokpos) {
  if (sym == nullptr) return;
  if (instatfunc) {
    statfunc_uses.push_back(StatFuncUse{sym, usage, tokpos});
    return;
  }
  while (sym->squal == SQ_STRUCTFLD && sym->link != nullptr) sym = sym->link;
  if ((sym->props & CP_PTRBASED) && sym->link != nullptr) flaguse(sym->link, QB_REF, tokpos);
  xrefit(sym, usage, tokpos);
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

void imptypit(locsym* sym, int32_t col) {
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
  // In a unit with USE, or contained in a host, the name may be a module
  // entity that USE does not copy yet: no 136 there.
  bool maybe_hidden = unit.pabort[CL_USE] != 0 || Status.scope_level > 1;
  if (implicit_none && !maybe_hidden && !stmtIs(ST_MODULEPROCEDURE) && !stmtIs(ST_PUBLIC) &&
      !stmtIs(ST_PRIVATE)) {
    int32_t saved = tk.errcol;
    tk.errcol = col;
    rd_errmsg(136);
    tk.errcol = saved;
  }
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
  ++Status.scope_level;
  loc_scope& lv = Scope[Status.scope_level];
  lv.kind = 0;
  lv.unitsym = nullptr;
  lv.head = nullptr;
  lv.tail = nullptr;
  std::memset(lv.bucket, 0, sizeof lv.bucket);
  // The new level starts from the host's IMPLICIT rules.
  for (int32_t r = 0; r < 27; ++r) lv.imptbl[r] = from >= 1 ? Scope[from].imptbl[r] : imptbl[r];
  for (int32_t r = 0; r < 27; ++r) imptbl[r] = lv.imptbl[r];
}

void decrease_scoping_level() {
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) {
    rd_interr("decrease_scoping_level");
  }
  --Status.scope_level;
  if (Status.scope_level >= 1) {
    for (int32_t r = 0; r < 27; ++r) imptbl[r] = Scope[Status.scope_level].imptbl[r];
    prgnam = Scope[Status.scope_level].unitsym;
  } else {
    prgnam = nullptr;
  }
}

void locsym_reset() {
  arglist_unit_reset();
  instatfunc = false;
  statfunc_uses.clear();
  Status = UnitStatus{};
  prgnam = nullptr;
  Scope = ScopeOne;
  for (auto& lv : ScopeOne) lv = loc_scope{};
  for (auto& lv : ScopeTwo) lv = loc_scope{};
  implicit_none = 0;
}
