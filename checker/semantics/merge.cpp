// The merge into the global symbol table: for every global entity of the
// unit just read, the record of the same entity is searched among the
// records of its name (class, qualifiers, definition place, type, bounds,
// COMMON place and module identity decide), refilled or made new, and
// written; COMMON blocks are compared member by member (121, 122, 185).
#include "checker/semantics/merge.h"

#include <bitset>
#include <cstring>

#include "checker/base/cmmdline.h"
#include "checker/common/error.h"
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/tokens.h"
#include "checker/semantics/getfun.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/modtable.h"

namespace {

constexpr uint32_t EXTRA_IN_MERGE = 0x40;    // structure being merged
constexpr int32_t MAX_COMMON_ITEMS = 9935;   // member items a record holds
constexpr uint32_t MEMBER_USAGE_MASK = 0x79300000;

bool is_procedure_class(int32_t sc) {
  return sc == SC_EXT || sc == SC_FUNC || sc == SC_SUB || sc == SC_PROG || sc == SC_BLKD ||
         sc == SC_MODULE || sc == SC_INTERFACE;
}
bool is_variable(int32_t sc) { return sc == SC_VAR || sc == SC_REC || sc == SC_REC90; }
bool is_struct_class(int32_t sc) { return sc == SC_STRUCT || sc == SC_STRUCT90; }
bool is_global_name_class(int32_t sc) { return (sc >= 4 && sc <= 8) || sc == 12 || sc == 13; }
bool is_defined(uint32_t usage) { return (usage & QB_SET) != 0; }

int32_t lookup_flags(int32_t sc) { return is_global_name_class(sc) && (compiler & 64) ? 2 : 0; }

// Reports a merge message at the symbol's first line, without source lines.
void merge_message(int32_t n, const locsym* at) {
  (void)at;
  int32_t saved = tk.errcol;
  tk.errcol = ERRCOL_NOLINES;
  rd_errmsg(n);
  tk.errcol = saved;
}

int32_t ndims_of(const locsym* s) {
  int32_t n = 0;
  for (const arrdim* d = static_cast<const arrdim*>(s->arrspec); d != nullptr; d = d->next) ++n;
  return n;
}

// The 12-byte dimension items of a variable: lower, upper, bound bytes.
void put_dims(const locsym* s, symrec& r) {
  int32_t n = ndims_of(s);
  r.nitems = n;
  r.extra.assign(static_cast<size_t>(12 * n), 0);
  uint8_t* p = r.extra.data();
  for (const arrdim* d = static_cast<const arrdim*>(s->arrspec); d != nullptr; d = d->next, p += 12) {
    put_be32(p, static_cast<uint32_t>(d->lower));
    put_be32(p + 4, static_cast<uint32_t>(d->upper));
    p[8] = d->flags;
    p[9] = d->second;
  }
}

// The dummy-argument descriptors of a procedure.
void put_dummies(const locsym* proc, symrec& r, bool typesonly) {
  int32_t n = 0;
  for (const DummyNode* d = static_cast<const DummyNode*>(proc->list); d != nullptr; d = d->next) ++n;
  r.nitems = n;
  r.extra.assign(static_cast<size_t>(argdesc_bytes * n), 0);
  uint8_t* p = r.extra.data();
  for (const DummyNode* d = static_cast<const DummyNode*>(proc->list); d != nullptr;
       d = d->next, p += argdesc_bytes) {
    argdesc a{};
    const locsym* s = d->sym;
    if (s == nullptr) {
      a.kind = 4;
    } else {
      a.type = glo_type(s);
      if (!typesonly) {
        bool procedure = s->squal == SQ_DUMRTN || s->sclass == SC_EXT || s->sclass == SC_FUNC ||
                         s->sclass == SC_SUB || s->sclass == SC_INTERFACE;
        a.kind = procedure ? 2 : 0;
        a.usage = s->usage & 0x7002BE00u;
        a.size = s->size;
        a.attrs = static_cast<uint8_t>(s->attrib & 0x73);
        int32_t k = 0;
        for (const arrdim* dm = static_cast<const arrdim*>(s->arrspec); dm != nullptr && k < 20;
             dm = dm->next)
          a.dimkind[k++] = dm->flags;
        a.ndims = static_cast<uint8_t>(k);
        std::strncpy(a.name, s->name, 35);
      }
    }
    argdesc_put(a, p);
  }
}

// The 16 value bytes of a named constant, or its characters.
void put_value(const locsym* s, symrec& r) {
  const conval* v = static_cast<const conval*>(s->list);
  r.nitems = 0;
  r.extra.clear();
  if (v == nullptr) return;
  int store = getdtstore(s->type.code);
  if (store >= 1 && store <= 3) {
    r.nitems = 16;
    r.extra.assign(16, 0);
    uint8_t* p = r.extra.data();
    if (store == 1) {
      put_be32(p, static_cast<uint32_t>(v->i));
    } else {
      uint64_t bits[2] = {};
      std::memcpy(&bits[0], &v->c[0], 8);
      if (store == 3) std::memcpy(&bits[1], &v->c[1], 8);
      for (int w = 0; w < 2; ++w) {
        put_be32(p + 8 * w, static_cast<uint32_t>(bits[w] >> 32));
        put_be32(p + 8 * w + 4, static_cast<uint32_t>(bits[w]));
      }
    }
  } else if (store == 4 && v->s != nullptr) {
    int32_t len = IsQCharsize(&s->type) ? PGetQCharsize(&s->type) : 0;
    if (len < 0) len = 0;
    r.nitems = len;
    r.extra.assign(static_cast<size_t>((len + 3) / 4 * 4), 0);
    size_t have = strnlen(v->s, static_cast<size_t>(len));
    std::memcpy(r.extra.data(), v->s, have);
  }
}

const locsym* unit_module() {
  const locsym* top = loc_top_scope();
  return top != nullptr && top->sclass == SC_MODULE ? top : nullptr;
}

bool is_home_module_record(const locsym* s) {
  return (s->attrib & 0x8000) && s->homemod != nullptr && s->homemod->glorec != 0;
}

// Whether a variable record stands for the same module entity as sym.
bool same_mod_entity(const locsym* s, const symrec& r) {
  if (r.container != 0 && (s->props & CP_COMBLK)) return true;
  if (prgnam == nullptr) return true;
  const locsym* mod = unit_module();
  if (r.host != 0) {
    if (is_home_module_record(s)) return r.host == static_cast<int32_t>(s->homemod->glorec);
    if (mod == nullptr) return false;
    if (mod->glorec == 0) return true;
    bool priv = (s->attrib & 0x800) && !((s->attrib & 0x8000) && !is_home_module_record(s));
    return !priv && r.host == static_cast<int32_t>(mod->glorec);
  }
  if (s->homemod != nullptr || mod != nullptr) return false;
  return s->owner == nullptr || s->owner->sclass != SC_MODULE;
}

bool has_same_equiv(const locsym* s, const symrec& r) {
  if (s->props & CP_COMBLK) return true;
  if ((s->attrib & 0x8000) && !(s->attrib & 0x8000000)) return true;
  if (s->intflink == nullptr || s->intflink->glorec == 0) return r.related == 0;
  return r.related == static_cast<int32_t>(s->intflink->glorec);
}

bool dims_agree(const locsym* s, const symrec& r) {
  int32_t n = ndims_of(s);
  if (r.nitems != n) return false;
  const uint8_t* p = r.extra.data();
  for (const arrdim* d = static_cast<const arrdim*>(s->arrspec); d != nullptr; d = d->next, p += 12) {
    if (p[8] != d->flags || static_cast<int32_t>(get_be32(p)) != d->lower ||
        static_cast<int32_t>(get_be32(p + 4)) != d->upper)
      return false;
    if (ropt.hpf && p[9] != d->second) return false;
  }
  return true;
}

// Whether record n names the unit that holds it (its containing record).
bool has_holder(int32_t n) {
  if (n == 0) return false;
  symrec r;
  readsymi(n, r);
  return r.container != 0;
}

// A pointer COMMON member against a record of the same count of
// dimensions: from the first dimension on while the bound bytes agree, the
// first whose bounds differ is 826 when the block's record names its unit.
void pointer_bounds(const locsym* s, const symrec& r) {
  const uint8_t* p = r.extra.data();
  for (const arrdim* d = static_cast<const arrdim*>(s->arrspec); d != nullptr; d = d->next, p += 12) {
    if (p[8] != d->flags) return;
    if (static_cast<int32_t>(get_be32(p)) == d->lower && static_cast<int32_t>(get_be32(p + 4)) == d->upper)
      continue;
    if (has_holder(static_cast<int32_t>(s->link->glorec))) merge_message(826, s);
    return;
  }
}

bool types_agree(const dtdesc& a, const dtdesc& b) {
  if (a.code != b.code) return false;
  if (a.code == DT_CHAR) return a.value == b.value && a.kind == b.kind;
  if (a.code == DT_REC || a.code == DT_TYPE) return a.value == b.value;
  return a.kind == b.kind;
}

bool value_agrees(const locsym* s, const symrec& r) {
  symrec mine;
  symrec_clear(mine);
  mine.sc = SC_PAR;
  put_value(s, mine);
  if (s->list == nullptr) return r.nitems == 0;
  int store = getdtstore(s->type.code);
  if (store < 1 || store > 4) return true;
  if (r.nitems != mine.nitems) return false;
  size_t bytes = store == 1 ? 4 : store == 2 ? 8 : store == 3 ? 16 : static_cast<size_t>(mine.nitems);
  return r.extra.size() >= bytes && std::memcmp(r.extra.data(), mine.extra.data(), bytes) == 0;
}

// The storage-class pair test of the record search.
bool matchsc(const locsym* s, const symrec& r) {
  if (s->sclass == r.sc) return true;
  auto external_like = [](int32_t sc) {
    return sc == SC_EXT || sc == SC_FUNC || sc == SC_SUB || sc == SC_MODULE || sc == SC_INTERFACE;
  };
  if (external_like(s->sclass) && external_like(r.sc)) return true;
  if (ropt.Language == 1) return false;
  const locsym* host = loc_parent_scope();
  auto own_proc = [&](int32_t container) {
    return (prgnam != nullptr && container == static_cast<int32_t>(prgnam->glorec) && container != 0) ||
           (host != nullptr && host->glorec != 0 && container == static_cast<int32_t>(host->glorec));
  };
  if ((s->sclass == SC_VAR || s->sclass == SC_REC90) && r.sq == 7 && !is_defined(r.usage) &&
      own_proc(r.container))
    return true;
  if ((r.sc == SC_VAR || r.sc == SC_REC90) && s->squal == 7 && !is_defined(s->usage)) return true;
  return false;
}

// The procedure tests of the record search.
bool procedure_passes(const locsym* s, const symrec& r) {
  bool mainprog = s->sclass == SC_PROG;
  bool def = is_defined(s->usage);
  if (!mainprog && s->squal != r.sq) {
    const locsym* host = loc_parent_scope();
    bool ok = false;
    if (!def && s->squal == SQ_EXTERNAL && r.sq == 7) {
      ok = (prgnam != nullptr && r.container == static_cast<int32_t>(prgnam->glorec)) ||
           (host != nullptr && r.container == static_cast<int32_t>(host->glorec));
    } else if (def && s->squal == 7 && r.sq == SQ_EXTERNAL) {
      ok = true;
    }
    if (!ok) return false;
  }
  if (!mainprog) {
    if ((s->usage & QB_DUM) != (r.usage & QB_DUM)) return false;
    if (!def && s->squal == SQ_EXTERNAL && !(s->attrib & (0x2000000 | 0x1000000 | 0x80000 | 0x8000)) &&
        isIntfProc(r.attrs))
      return false;
  }
  if (def && is_defined(r.usage) && (r.line != static_cast<int32_t>(s->line) || r.filno != an.curfil))
    return false;
  return true;
}

bool data_passes(const locsym* s, const symrec& r) {
  if (is_variable(s->sclass)) {
    bool member = (s->props & CP_COMBLK) != 0;
    bool rmember = (r.props & CP_COMBLK) != 0;
    if (member) {
      const locsym* blk = s->link;
      if (!rmember || blk == nullptr || r.container != static_cast<int32_t>(blk->glorec) ||
          r.offset != s->offset || r.size != s->size)
        return false;
    } else if (rmember) {
      return false;
    }
  }
  if ((s->props & CP_PTRBASED) != (r.props & CP_PTRBASED)) return false;
  if ((s->attrib & 2) != (r.attrs & 2)) return false;
  if (!types_agree(glo_type(s), r.type)) return false;
  if (s->sclass == SC_PAR) return value_agrees(s, r);
  if (is_variable(s->sclass) && (s->props & CP_COMBLK) && (s->attrib & 2)) {
    // A pointer in COMMON: its bounds may change from unit to unit.
    if (ndims_of(s) != r.nitems) return false;
    if (gloopt && r.container != 0 && s->link != nullptr) pointer_bounds(s, r);
  } else if (!dims_agree(s, r)) {
    return false;
  }
  if (is_variable(s->sclass)) return same_mod_entity(s, r) && has_same_equiv(s, r);
  return true;
}

// Local COMMON members against the record's member items.
void mrg_commoncmp(locsym* blk, symrec& r) {
  const ComMember* m = static_cast<const ComMember*>(blk->list);
  uint8_t* item = r.extra.data();
  int32_t items = r.nitems;
  bool compared = false;
  for (int32_t i = 0; m != nullptr && i < items; m = m->next, ++i, item += 8) {
    const locsym* s = m->sym;
    uint32_t flags = get_be32(item);
    if ((s->usage & 0x1000000) || (flags & 0x1000000)) continue;
    int32_t rec = static_cast<int32_t>(get_be32(item + 4));
    if (rec == static_cast<int32_t>(s->glorec) && rec != 0) {
      put_be32(item, flags | (s->usage & MEMBER_USAGE_MASK));
      continue;
    }
    compared = true;
    symrec mr;
    readsymb(rec, mr);
    dtdesc t = glo_type(s);
    bool same = mr.sc == s->sclass && mr.type.code == t.code &&
                (t.code != DT_CHAR || mr.type.value == t.value) &&
                (mr.attrs & 2) == (s->attrib & 2) && dims_agree(s, mr);
    if (!same) {
      blk->usage = 128;
      if (gloopt) merge_message(122, s);
      return;
    }
  }
  if (compared) {
    blk->usage = 0x8000000;
    if (gloopt) merge_message(121, blk);
  }
}

// Sweep 4 of a COMMON block: the member items of a new record, or the
// comparison with an existing one.
void common_members(locsym* blk, symrec& r, int32_t unitword) {
  if (r.sq == SQ_NEWCOMMON) {
    r.sq = 0;
    int32_t n = 0;
    for (const ComMember* m = static_cast<const ComMember*>(blk->list); m != nullptr; m = m->next) {
      if (n >= MAX_COMMON_ITEMS) interr("merge2 (HUGESYMWID overflow)");
      ++n;
    }
    r.nitems = n;
    r.extra.assign(static_cast<size_t>(8 * n), 0);
    uint8_t* p = r.extra.data();
    for (const ComMember* m = static_cast<const ComMember*>(blk->list); m != nullptr; m = m->next, p += 8) {
      put_be32(p, m->sym->usage & MEMBER_USAGE_MASK);
      put_be32(p + 4, m->sym->glorec);
    }
    r.usage |= blk->usage;
    r.filno = an.curfil;
    r.container = unitword;
    if (!is_defined(r.usage) || is_defined(blk->usage)) r.attrs |= blk->attrib;
    return;
  }
  if (r.size != blk->size && gloopt) merge_message(185, blk);
  mrg_commoncmp(blk, r);
  r.usage |= blk->usage;
}

}  // namespace

dtdesc glo_type(const locsym* sym) {
  dtdesc t = sym->type;
  if (t.tag == 'q') {
    const locsym* st = PGetQStructsym(&t);
    int32_t rec = st != nullptr ? static_cast<int32_t>(st->glorec) : 0;
    t.sym = nullptr;
    PSetQGlostruct(&t, rec);
  }
  return t;
}

void update_symbol(locsym* sym, symrec& r, bool fresh) {
  if (fresh) {
    int32_t next = r.next;
    symrec_clear(r);
    r.next = next;
    symrec_setname(r, sym->name);
  }
  r.sc = sym->sclass;
  r.sq = sym->squal;
  r.type = glo_type(sym);
  r.attrs = sym->attrib;
  r.props = sym->props;
  r.usage = sym->usage & QB_DUM;
  r.size = sym->size;
  r.line = static_cast<int32_t>(sym->line);
  r.hpf = sym->hpfbits;
  r.filno = -1;
  r.w40 = r.w64 = r.w68 = 0;
  r.container = sym->link != nullptr && sym->link != sym ? static_cast<int32_t>(sym->link->glorec) : 0;
  r.offset = is_variable(sym->sclass) ? sym->offset : 0;
  const locsym* mod = unit_module();
  if (is_home_module_record(sym)) {
    r.host = static_cast<int32_t>(sym->homemod->glorec);
  } else if (mod != nullptr && sym != mod && sym->owner == mod &&
             (sym->attrib & (0x4000000 | 0x2000000 | 0x1000000 | 0x80000)) == 0) {
    r.host = static_cast<int32_t>(mod->glorec);
  } else {
    r.host = 0;
  }
  if (!(is_variable(sym->sclass) && sym->intflink != nullptr && sym->intflink->glorec != 0)) {
    if (fresh || !((sym->sclass == SC_FUNC || sym->sclass == SC_SUB) && (sym->attrib & 0x2000000)))
      r.related = 0;
  } else {
    r.related = static_cast<int32_t>(sym->intflink->glorec);
  }
  r.nitems = 0;
  r.extra.clear();
  if (sym->sclass == SC_FUNC && sym->squal == SQ_STATFUN) {
    put_dummies(sym, r, true);
  } else if (sym->sclass == SC_FUNC || sym->sclass == SC_SUB) {
    put_dummies(sym, r, false);
  } else if (sym->sclass == SC_PAR) {
    put_value(sym, r);
  } else if (is_variable(sym->sclass) || (sym->sclass >= 16 && sym->sclass <= 20)) {
    put_dims(sym, r);
  } else if (sym->sclass == SC_COM) {
    r.sq = SQ_NEWCOMMON;
  }
}

int32_t mergestruct(locsym* type) {
  if (type == nullptr) return 0;
  if (type->extra & EXTRA_IN_MERGE) return static_cast<int32_t>(type->glorec);
  if (type->glorec != 0) errf("F-INTERR", "internal error in routine mergestruct()");
  type->extra |= EXTRA_IN_MERGE;
  for (const FieldNode* f = static_cast<const FieldNode*>(type->list); f != nullptr; f = f->next) {
    const locsym* c = f->sym;
    if (c != nullptr && c->type.tag == 'q') {
      locsym* st = PGetQStructsym(&c->type);
      if (st != nullptr && st != type && st->glorec == 0) mergestruct(st);
    }
  }
  int32_t ncomp = 0;
  for (const FieldNode* f = static_cast<const FieldNode*>(type->list); f != nullptr; f = f->next) ++ncomp;
  symrec r;
  int32_t rec = 0;
  int32_t found = 0;
  for (lookup(type->name, r, &rec, 0); rec != 0; lookup(type->name, r, &rec, 0)) {
    if (!is_struct_class(r.sc) || r.nitems != ncomp) continue;
    bool same = true;
    const FieldNode* f = static_cast<const FieldNode*>(type->list);
    for (int32_t i = 0; same && f != nullptr; f = f->next, ++i) {
      symrec cr;
      readsymi(static_cast<int32_t>(get_be32(r.extra.data() + 4 * i)), cr);
      dtdesc t = glo_type(f->sym);
      same = cr.type.code == t.code && cr.size == f->sym->size;
      if (same && (t.code == DT_REC || t.code == DT_TYPE)) {
        const locsym* st = PGetQStructsym(&f->sym->type);
        same = st == type ? cr.type.value == rec : cr.type.value == t.value;
      }
    }
    if (same) {
      found = rec;
      break;
    }
  }
  if (found != 0) {
    int32_t i = 0;
    for (FieldNode* f = static_cast<FieldNode*>(type->list); f != nullptr; f = f->next, ++i) {
      if (f->sym->glorec == 0) f->sym->glorec = get_be32(r.extra.data() + 4 * i);
    }
    type->glorec = static_cast<uint32_t>(found);
    return found;
  }
  // A new record: its number is fixed before its components' records.
  symrec nr;
  symrec_clear(nr);
  int32_t n = instal(type->name, nr);
  update_symbol(type, nr, true);
  nr.next = symt.aboveptr;
  nr.nitems = ncomp;
  nr.extra.assign(static_cast<size_t>(4 * ncomp), 0);
  writesymh(n, nr);
  type->glorec = static_cast<uint32_t>(n);
  int32_t i = 0;
  for (FieldNode* f = static_cast<FieldNode*>(type->list); f != nullptr; f = f->next, ++i) {
    locsym* c = f->sym;
    if (c->glorec == 0) {
      symrec cr;
      symrec_clear(cr);
      update_symbol(c, cr, true);
      cr.props = 0;
      cr.usage = 0;
      int32_t cn = symt.symcnt + 1;
      writesymh(cn, cr);
      c->glorec = static_cast<uint32_t>(cn);
    }
    put_be32(nr.extra.data() + 4 * i, c->glorec);
  }
  writesymh(n, nr);
  return n;
}

namespace {

// The first record of sym's name that passes; 0 when none does, with the
// search left at the insertion point of a new record of that name.
template <class Passes>
int32_t search_records(const locsym* sym, symrec& r, Passes passes) {
  int32_t rec = 0;
  int32_t flags = lookup_flags(sym->sclass);
  for (lookup(sym->name, r, &rec, flags); rec != 0; lookup(sym->name, r, &rec, flags)) {
    if (matchsc(sym, r) && passes(r)) return rec;
  }
  return 0;
}

// A new record for sym at the insertion point the search left.
int32_t new_record(locsym* sym, symrec& r) {
  symrec_clear(r);
  int32_t n = instal(sym->name, r);
  update_symbol(sym, r, true);
  r.next = symt.aboveptr;
  return n;
}

// The record of sym's structure type, made first.
void merge_type_of(const locsym* sym) {
  if (sym->type.tag != 'q') return;
  locsym* st = PGetQStructsym(&sym->type);
  if (st != nullptr && st->glorec == 0) mergestruct(st);
}

}  // namespace

int32_t mergeit(locsym* sym, int32_t sweep, int32_t* unitword) {
  if (sym == nullptr) return 0;
  int32_t sc = sym->sclass;
  // Symbols that are not merged.
  if (Status.scope_level == 1 && (sc == SC_VAR || sc == SC_REC90) && sym->usage == QB_DECL &&
      (sym->attrib == 0x1000 || sym->attrib == 0x800))
    return 0;
  if ((sym->props & CP_PTRBASED) && sym->link == nullptr) return 0;
  if (sweep == 2 && !(xrsave & 2) && !(sym->props & CP_COMBLK) &&
      (sc == SC_PAR || is_variable(sc) || sc == SC_NML || is_struct_class(sc) || (sc >= 16 && sc <= 18))) {
    bool pointee = (sym->props & CP_PTRBASED) != 0;
    if (pointee ? !(sym->link->props & CP_COMBLK)
                : sym->homemod == nullptr && !(sym->attrib & 0x1000) && unit_module() == nullptr)
      return 0;
  }
  // A structure type and a pointer first.
  merge_type_of(sym);
  if ((sym->props & CP_PTRBASED) && sym->link->glorec == 0) mergeit(sym->link, sweep, unitword);

  symrec r;
  int32_t found = search_records(sym, r, [&](const symrec& rr) {
    if (is_procedure_class(sc)) return procedure_passes(sym, rr);
    if (sc == SC_PAR || is_variable(sc) || (sc >= 16 && sc <= 20)) return data_passes(sym, rr);
    return true;
  });
  if (found == 0) {
    found = new_record(sym, r);
  } else if (is_procedure_class(sc) && (r.sc == SC_EXT || r.sc != sc) && !is_defined(r.usage) &&
             (sc == SC_FUNC || sc == SC_SUB) && is_defined(sym->usage)) {
    update_symbol(sym, r, false);
  }
  if (sweep == 1 && sc == SC_COM) {
    for (const ComMember* m = static_cast<const ComMember*>(sym->list); m != nullptr; m = m->next) {
      m->sym->link = sym;
      r.usage |= m->sym->usage;
    }
  }
  if (sweep == 4 && sc == SC_COM) common_members(sym, r, unitword != nullptr ? *unitword : 0);
  if (sweep == 2 || sweep == 0) {
    if (is_procedure_class(sc)) {
      if (sym == prgnam && unitword != nullptr) *unitword = found;
      if (is_defined(sym->usage) && (!gloopt || r.sq == SQ_STATFUN)) {
        r.line = static_cast<int32_t>(sym->line);
        r.filno = an.curfil;
      }
      r.usage |= sym->usage;
    }
    if (!is_defined(r.usage) || is_defined(sym->usage)) r.attrs |= sym->attrib;
  }
  sym->glorec = static_cast<uint32_t>(found);
  writesymh(found, r);
  return found;
}

namespace {

// The unit's COMMON blocks with their members: the block, its members, and
// the member items that name the members' records.
void merge_commons(int32_t level, int32_t* unitword) {
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (s->sclass == SC_COM && s->squal != SQ_STRUCTFLD) mergeit(s, 1, unitword);
  }
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (s->sclass != SC_COM || s->squal == SQ_STRUCTFLD) continue;
    for (const ComMember* m = static_cast<const ComMember*>(s->list); m != nullptr; m = m->next) {
      if (m->sym->sclass == SC_UNK) m->sym->sclass = m->sym->type.code == DT_TYPE ? SC_REC90 : SC_VAR;
      if (m->sym->glorec == 0) mergeit(m->sym, 2, unitword);
    }
  }
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (s->sclass == SC_COM && s->squal != SQ_STRUCTFLD) mergeit(s, 4, unitword);
  }
}

// The record that a procedure this unit defines takes: the first of its
// name that is not a definition yet (any, with the library option), else
// a new one; an external procedure passes over other definitions.
void merge1_subprog(locsym* s, int32_t* unitword) {
  if (s->squal == SQ_STATFUN || s->squal == SQ_INTRINSIC || s->squal == SQ_STRUCTFLD) return;
  if (s->sclass == SC_UNK) s->sclass = s->type.code == DT_TYPE ? SC_REC90 : SC_VAR;
  int32_t sc = s->sclass;
  if (!((sc >= 5 && sc <= 8) || sc == 12 || sc == 13)) return;
  if (libopt) {
    if (s->usage & 0x40) return;
    if (!(sc == SC_FUNC || sc == SC_SUB || sc == SC_MODULE || sc == SC_INTERFACE) || !is_defined(s->usage))
      return;
  }
  merge_type_of(s);
  if (!is_defined(s->usage)) {
    mergeit(s, 2, unitword);
    return;
  }
  symrec r;
  // Another definition of the name keeps its own record.
  int32_t found = search_records(s, r, [](const symrec& rr) { return !is_defined(rr.usage) || libopt; });
  uint32_t accumulated = 0;
  if (found == 0) {
    found = new_record(s, r);
  } else {
    accumulated = r.usage;
    update_symbol(s, r, false);
  }
  const locsym* host = loc_parent_scope();
  r.container = host != nullptr ? static_cast<int32_t>(host->glorec) : 0;
  r.sq = s->squal == 7 ? 7 : SQ_EXTERNAL;
  r.usage = accumulated | s->usage;
  r.line = static_cast<int32_t>(s->line);
  r.filno = an.curfil;
  if (s == prgnam && unitword != nullptr) *unitword = found;
  s->glorec = static_cast<uint32_t>(found);
  writesymh(found, r);
  if (s == prgnam) update_glointf(s);
}

}  // namespace

namespace {

constexpr int32_t UNKARG_BUFFER = 32768;  // buffer of the unknown-argument work file

// The unit's passes of its dummies as actual arguments: each record's
// called procedure (as its global record), argument word, a zero word and
// the dummy's usage before the pass, to the unknown-argument work file.
void write_unkargs(int32_t* unitword) {
  for (const UnkArg* a = unkarg_head(); a != nullptr; a = a->next) {
    locsym* proc = a->proc;
    if (proc == nullptr) continue;
    if (proc->glorec == 0) merge1_subprog(proc, unitword);
    if (proc->glorec == 0) {
      // The library option merges only what the unit defines: a called
      // procedure may stay without a record, and the pass is not kept.
      if (libopt) continue;
      interr("merge1 (can't translate unkarg)");
    }
    if (fu_unkargs == 0) fu_unkargs = iopen(nullptr, FM_WRITE, nullptr, UNKARG_BUFFER);
    if (fu_unkargs == 0) return;
    uint8_t rec[16];
    put_be32(rec, proc->glorec);
    put_be32(rec + 4, static_cast<uint32_t>(a->word));
    put_be32(rec + 8, static_cast<uint32_t>(a->zero));
    put_be32(rec + 12, a->usage);
    iwrite(fu_unkargs, rec, sizeof rec);
  }
}

bool is_subprog_class(int32_t sc) { return (sc >= 5 && sc <= 8) || sc == 12 || sc == 13; }

// Procedures of the host that the contained unit refers to.
void merge1_subprog_pscope(int32_t* unitword) {
  if (Status.scope_level < 2) return;
  for (locsym* s : pscope_entities()) {
    if (s->glorec == 0 && is_subprog_class(s->sclass)) merge1_subprog(s, unitword);
  }
}

// Procedures of the unit's interfaces that no symbol of the scope brought.
void merge1_interfaces(int32_t* unitword) {
  for (const IntfRec* r = intfs.InterfaceHead; r != nullptr; r = r->gnext) {
    for (const IntfProc* p = r->first; p != nullptr; p = p->next) {
      if (p->sym != nullptr && p->sym->glorec == 0 && is_subprog_class(p->sym->sclass))
        merge1_subprog(p->sym, unitword);
    }
  }
}

}  // namespace

void merge1() {
  int32_t level = Status.scope_level;
  if (level < 1 || level > MAX_SCOPES) return;
  int32_t unitword = 0;
  // The unit's own record first, so that the records of its COMMON blocks
  // and procedures can name it.
  if (prgnam != nullptr) merge1_subprog(prgnam, &unitword);
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (s != prgnam) merge1_subprog(s, &unitword);
  }
  if (prgnam != nullptr && prgnam->sclass == SC_MODULE && prgnam->modcopy != nullptr)
    static_cast<locsym*>(prgnam->modcopy)->glorec = prgnam->glorec;
  write_unkargs(&unitword);
  merge1_subprog_pscope(&unitword);
  merge1_interfaces(&unitword);
  merge_commons(level, &unitword);
}


namespace {

// The related-entity word of record n.
int32_t related_of(int32_t n) {
  symrec r;
  readsymh(n, r);
  return r.related;
}

void set_related(int32_t n, int32_t related) {
  symrec r;
  readsymh(n, r);
  r.related = related;
  writesymh(n, r);
}

// The records collected into one EQUIVALENCE ring: marked in a bitmap of
// the first record numbers, the others found in the list itself.
struct RingCollect {
  static constexpr int32_t limit = 49;       // records a ring takes
  static constexpr int32_t bitmap_bits = 16384;
  std::bitset<bitmap_bits> marked;
  int32_t recs[limit];
  int32_t count = 0;

  bool has(int32_t n) const {
    if (n > 0 && n < bitmap_bits) return marked.test(static_cast<size_t>(n));
    for (int32_t i = 0; i < count; ++i)
      if (recs[i] == n) return true;
    return false;
  }
  // False when the ring is full.
  bool add(int32_t n) {
    if (count >= limit) return false;
    recs[count++] = n;
    if (n > 0 && n < bitmap_bits) marked.set(static_cast<size_t>(n));
    return true;
  }
};

}  // namespace

void merge2_linkequiv(locsym* sym) {
  if (sym == nullptr || sym->intflink == nullptr) return;
  if ((sym->props & CP_COMBLK) && !(sym->usage & QB_EQV)) return;
  int32_t rec = static_cast<int32_t>(sym->glorec);
  int32_t partner = static_cast<int32_t>(sym->intflink->glorec);
  if (rec == 0 || partner == 0) return;
  if (related_of(rec) == 0) {
    set_related(rec, partner);
    return;
  }
  // Join the two rings: R and its ring, then the partner and its ring.
  RingCollect c;
  c.add(rec);
  int32_t start = related_of(rec);
  for (int32_t n = start; n != 0 && n != rec && !c.has(n);) {
    if (!c.add(n)) break;
    n = related_of(n);
    if (n == start) break;
  }
  for (int32_t n = partner; n != 0 && n != rec && !c.has(n);) {
    if (!c.add(n)) break;
    n = related_of(n);
    if (n == partner) break;
  }
  for (int32_t i = 0; i < c.count; ++i) set_related(c.recs[i], c.recs[i + 1 < c.count ? i + 1 : 0]);
}

void merge2() {
  int32_t level = Status.scope_level;
  if (level < 1 || level > MAX_SCOPES || Scope[level].head == nullptr) return;
  int32_t unitword = 0;
  auto merged_here = [](const locsym* s) { return s->squal != SQ_STRUCTFLD; };
  auto classify = [](locsym* s) {
    if (s->sclass == SC_UNK) s->sclass = s->type.code == DT_TYPE ? SC_REC90 : SC_VAR;
  };
  // Sweep 1: COMMON blocks.
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (!merged_here(s)) continue;
    classify(s);
    if (s->sclass == SC_COM) mergeit(s, 1, &unitword);
  }
  // Sweep 2: everything else, the unit itself and the COMMON members too.
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (!merged_here(s) || s->sclass == SC_COM) continue;
    if (is_struct_class(s->sclass)) {
      if (s->glorec == 0) mergestruct(s);
      continue;
    }
    if ((s->sclass == SC_PAR || s->sclass == 16 || s->sclass == 17) && !(xrsave & 4) &&
        !(s->usage & QB_REF))
      continue;
    if (s->glorec == 0 || s == prgnam) mergeit(s, 2, &unitword);
  }
  // Sweep 3: the records of storage-associated variables form rings.
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (merged_here(s) && (s->sclass == SC_VAR || s->sclass == SC_REC90) && s->intflink != nullptr &&
        s->intflink->glorec != 0)
      merge2_linkequiv(s);
  }
  // Sweep 4: COMMON blocks with their member items.
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    if (merged_here(s) && s->sclass == SC_COM) mergeit(s, 4, &unitword);
  }
  addxref_pscope();
}

void addxref_pscope() {
  if (Status.scope_level < 2 || prgnam == nullptr || prgnam->glorec == 0) return;
  int32_t unitword = static_cast<int32_t>(prgnam->glorec);
  const locsym* top = Scope[1].unitsym;
  int32_t module = top != nullptr && top->sclass == SC_MODULE ? static_cast<int32_t>(top->glorec) : 0;
  for (locsym* s : pscope_entities()) {
    if (s->owner == prgnam || (s->link == prgnam && s->squal != SQ_STRUCTFLD)) continue;
    bool procedure = is_procedure_class(s->sclass);
    if (s->glorec == 0) {
      int32_t n = mergeit(s, 0, &unitword);
      if (n == 0 || procedure) continue;
      // A host entity of a module seen first from a module procedure.
      symrec r;
      readsymh(n, r);
      if (r.host == 0) r.host = module;
      if (s->modcopy != nullptr && static_cast<locsym*>(s->modcopy)->glorec == 0)
        static_cast<locsym*>(s->modcopy)->glorec = static_cast<uint32_t>(n);
      writesymh(n, r);
      continue;
    }
    if (!procedure) continue;  // its record stays as it is
    int32_t n = static_cast<int32_t>(s->glorec);
    symrec r;
    readsymh(n, r);
    r.usage |= s->usage;
    if (r.sc == SC_EXT && (s->sclass == SC_FUNC || s->sclass == SC_SUB)) {
      r.sc = s->sclass;
      if (s->sclass == SC_FUNC && s->type.code != r.type.code && s->type.code != DT_TYPE) {
        r.type = glo_type(s);
        r.hpf = s->hpfbits;
      }
    }
    writesymh(n, r);
  }
}
