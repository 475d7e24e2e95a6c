// The module table: at the end of a MODULE unit its visible entities are
// copied, with everything they refer to (types, components, COMMON members,
// bounds, constant values), into entries of the pool "module"; USE copies
// entries back into the local symbol table of the unit being read.
#include "checker/semantics/modtable.h"

#include <cstring>
#include <utility>
#include <vector>

#include "checker/common/dtype.h"
#include "checker/common/error.h"
#include "checker/common/mystring.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/tokens.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"

ModuleTable modtbl;

// Extra-flag bits of a local symbol used while copying.
constexpr uint32_t EXTRA_VISIT_TO = 16;      // being copied into the table
constexpr uint32_t EXTRA_VISIT_STRUCT = 32;  // its type being copied
constexpr int32_t MAX_COPY_DEPTH = 250;

qlist* module_pool() {
  if (qlist* q = qfind("module")) return q;
  return qcreate(0, "module");
}

int32_t TransSC(int32_t sclass) {
  switch (sclass) {
    case SC_COM: case SC_NML: case SC_STRUCT: case SC_STRUCT90: return sclass;
    default: return 0;
  }
}

void modtbl_reset() {
  modtbl.head = modtbl.tail = nullptr;
  modtbl.lochead2 = modtbl.loctail2 = nullptr;
  std::memset(modtbl.lochash2, 0, sizeof modtbl.lochash2);
  modtbl.ModulesUsed = 0;
  modtbl.unknown_use = 0;
  modtbl.depth = modtbl.sdepth = 0;
}

namespace {

// The copies put aside for each open interface body, innermost last.
std::vector<std::vector<std::pair<locsym*, void*>>> body_copies;

}  // namespace

void modtbl_reset_entity_flags() {
  modtbl.unknown_use = 0;
  body_copies.clear();
  if (!modtbl.ModulesUsed) return;
  for (locsym* e = modtbl.lochead2; e != nullptr; e = e->snext) e->modcopy = nullptr;
  modtbl.ModulesUsed = 0;
}

void modtbl_enter_interface_body() {
  std::vector<std::pair<locsym*, void*>>& kept = body_copies.emplace_back();
  for (locsym* e = modtbl.lochead2; e != nullptr; e = e->snext) {
    if (e->modcopy == nullptr) continue;
    kept.emplace_back(e, e->modcopy);
    e->modcopy = nullptr;
  }
}

void modtbl_leave_interface_body() {
  if (body_copies.empty()) return;
  for (locsym* e = modtbl.lochead2; e != nullptr; e = e->snext) e->modcopy = nullptr;
  for (const auto& [entry, copy] : body_copies.back()) entry->modcopy = copy;
  body_copies.pop_back();
}

namespace {

template <class T>
T* mod_new() {
  return qnew<T>(module_pool());
}

char* copy_text(qlist* pool, const char* text, size_t len) {
  char* c = qnew<char>(pool, len + 1);
  std::memcpy(c, text, len);
  c[len] = '\0';
  return c;
}

arrdim* copy_dims(const void* spec, qlist* pool) {
  arrdim* head = nullptr;
  arrdim** tail = &head;
  for (const arrdim* d = static_cast<const arrdim*>(spec); d != nullptr; d = d->next) {
    arrdim* c = qnew<arrdim>(pool);
    *c = *d;
    c->next = nullptr;
    *tail = c;
    tail = &c->next;
  }
  return head;
}

// A named constant's value, by the store class of its type.
conval* copy_value(const locsym* sym, qlist* pool) {
  const conval* v = static_cast<const conval*>(sym->list);
  if (v == nullptr) return nullptr;
  conval* c = qnew<conval>(pool);
  *c = *v;
  if (getdtstore(sym->type.code) == 4) {
    int32_t len = IsQCharsize(&sym->type) ? PGetQCharsize(&sym->type) : 0;
    if (len < 0 || v->s == nullptr) len = 0;
    c->s = copy_text(pool, v->s != nullptr ? v->s : "", static_cast<size_t>(len));
  }
  return c;
}

dtdesc default_integer() {
  dtdesc d{};
  d.tag = 'p';
  d.code = static_cast<uint8_t>(defdtypes[3] != 0 ? defdtypes[3] : DT_INT);
  return d;
}

bool is_data_class(int32_t sc) {
  return sc == SC_VAR || sc == SC_REC || sc == SC_REC90 || sc == SC_PROCESSORS ||
         sc == SC_TEMPLATE || sc == SC_PAR90 || sc == SC_PAR90REC;
}

bool is_private(const locsym* s, const modblock* block) {
  if (s->attrib & 0x800) return true;
  return block->defprivate && (s->attrib & 0x1000) == 0;
}

}  // namespace

locsym* modtbl_getsym(const char* name, int32_t len, int32_t flags, int32_t space,
                      locsym* module) {
  if (len > MAX_NAME) len = MAX_NAME;
  if (len < 0) len = 0;
  locsym* e = nullptr;
  if (space == -1) {
    e = mod_new<locsym>();
    e->name = copy_text(module_pool(), name, static_cast<size_t>(len));
    e->type.tag = 'p';
    e->squal = SQ_STRUCTFLD;
    e->line = static_cast<uint32_t>(rsrc.codlno);
    return e;
  }
  int32_t bucket = hashy(name, len);
  locsym* prev = nullptr;
  for (locsym* s = modtbl.lochash2[bucket]; s != nullptr; s = s->hnext) {
    int32_t c = strcmpmn(name, s->name, len);
    if (c == 0 && s->name[len] != '\0') c = -1;
    if (c < 0) break;
    if (c == 0 && module != nullptr && s->owner == module) {
      int32_t have = TransSC(s->sclass);
      if (have == space || (have == SC_STRUCT90 && space == 0 && (flags & 16))) {
        if (len >= 7 && (flags & 2) == 0) cksymlen(len);
        return s;
      }
    }
    prev = s;
  }
  if ((flags & 1) == 0) return nullptr;
  e = mod_new<locsym>();
  e->name = copy_text(module_pool(), name, static_cast<size_t>(len));
  e->type.tag = 'p';
  e->line = static_cast<uint32_t>(rsrc.codlno);
  if (modtbl.loctail2 == nullptr) {
    modtbl.lochead2 = e;
  } else {
    modtbl.loctail2->snext = e;
  }
  modtbl.loctail2 = e;
  if (prev == nullptr) {
    e->hnext = modtbl.lochash2[bucket];
    modtbl.lochash2[bucket] = e;
  } else {
    e->hnext = prev->hnext;
    prev->hnext = e;
  }
  return e;
}

modblock* get_module_block(const char* name) {
  for (modblock* b = modtbl.head; b != nullptr; b = b->next) {
    if (b->entry != nullptr && b->entry->sclass == SC_MODULE && std::strcmp(b->entry->name, name) == 0)
      return b;
  }
  return nullptr;
}

uint32_t modtbl_copy_usage_to(const locsym* sym) {
  uint32_t u = sym->usage & ~(QB_RBS | 0x40u | QB_NULL | QB_ALLOC | QB_DEALLOC);
  switch (sym->sclass) {
    case SC_VAR: case SC_REC: case SC_REC90: case SC_PROCESSORS: case SC_TEMPLATE:
      u &= ~(QB_SET | QB_REF | 0x10000000u);
      break;
    case SC_FUNC: case SC_SUB: case SC_PROG: case SC_BLKD: case SC_MODULE: case SC_INTERFACE:
      u &= ~(QB_SET | QB_CALLED);
      break;
    default:
      break;
  }
  return u;
}

locsym* modtbl_copy_struct_to(locsym* type, modblock* block) {
  if (type == nullptr) return nullptr;
  if (type->modcopy != nullptr) return static_cast<locsym*>(type->modcopy);
  if (++modtbl.sdepth > MAX_COPY_DEPTH) rd_interr("modtbl_copy_struct_to");
  locsym* e = nullptr;
  if ((type->extra & EXTRA_VISIT_STRUCT) == 0) {
    type->extra |= EXTRA_VISIT_STRUCT;
    e = modtbl_copy_locsym_to(type, block);
    type->extra &= ~EXTRA_VISIT_STRUCT;
  }
  --modtbl.sdepth;
  return e;
}

// The entry's type: a structure type names the structure's entry.
static void copy_type_to(locsym* e, const locsym* sym, modblock* block) {
  e->type = sym->type;
  if (sym->type.tag == 'q') {
    locsym* t = modtbl_copy_struct_to(PGetQStructsym(&sym->type), block);
    if (t != nullptr) {
      PSetQStructsym(&e->type, t);
    } else {
      e->type = default_integer();
    }
  }
}

locsym* modtbl_copy_locsym_to(locsym* sym, modblock* block) {
  if (sym == nullptr || block == nullptr) return nullptr;
  bool field = sym->squal == SQ_STRUCTFLD;
  if (field && sym->sclass == SC_UNK) sym->sclass = sym->type.code == DT_TYPE ? SC_REC90 : SC_VAR;
  if (sym->sclass < 1 || sym->sclass > 19) return nullptr;
  if (!field && sym->modcopy != nullptr) return static_cast<locsym*>(sym->modcopy);
  if (sym->extra & EXTRA_VISIT_TO) return nullptr;  // a cycle
  if (++modtbl.depth > MAX_COPY_DEPTH) rd_interr("modtbl_copy_locsym_to");
  sym->extra |= EXTRA_VISIT_TO;
  if ((sym->props & CP_PTRBASED) && sym->link != nullptr) modtbl_copy_locsym_to(sym->link, block);
  int32_t len = static_cast<int32_t>(std::strlen(sym->name));
  locsym* e = modtbl_getsym(sym->name, len, 3, field ? -1 : TransSC(sym->sclass), block->entry);
  // A procedure named in an access statement before CONTAINS was exported
  // then as an untyped variable: its definition takes that entry over.
  if (e != nullptr && (sym->sclass == SC_FUNC || sym->sclass == SC_SUB) && e->sclass == SC_VAR &&
      e->type.code == 0 && (e->usage & (QB_SET | QB_REF)) == 0)
    e->sclass = 0;
  if (e == nullptr) {
    rd_errmsg(24);
  } else if (e->sclass == 0) {
    e->sclass = sym->sclass;
    e->squal = sym->squal;
    e->props = sym->props;
    e->flagbyte = sym->flagbyte;
    e->offset = sym->offset;
    e->size = sym->size;
    e->attrib = sym->attrib;
    e->usage = modtbl_copy_usage_to(sym);
    e->line = sym->line;
    e->owner = block->entry != nullptr ? block->entry : e;
    e->hpfbits = sym->hpfbits;
    e->glorec = sym->glorec;
    if ((sym->attrib & 0x8000) && sym->sclass != SC_MODULE && (sym->attrib & 0x2000000) == 0)
      e->homemod = sym->homemod != nullptr ? sym->homemod : block->entry;
    if (!field) sym->modcopy = e;
    copy_type_to(e, sym, block);
    // Dependent data.
    if ((sym->sclass == SC_PAR || sym->sclass == SC_PAR90 || sym->sclass == SC_PAR90REC) &&
        sym->arrspec == nullptr)
      e->list = copy_value(sym, module_pool());
    if (sym->sclass == SC_COM) {
      ComMember** tail = reinterpret_cast<ComMember**>(&e->list);
      for (const ComMember* m = static_cast<const ComMember*>(sym->list); m != nullptr; m = m->next) {
        locsym* me = modtbl_copy_locsym_to(m->sym, block);
        if (me == nullptr) continue;
        me->link = e;
        ComMember* c = mod_new<ComMember>();
        c->sym = me;
        c->line = m->line;
        *tail = c;
        tail = &c->next;
      }
    }
    if (sym->sclass == SC_NML) {
      NmlMember** tail = reinterpret_cast<NmlMember**>(&e->list);
      for (const NmlMember* m = static_cast<const NmlMember*>(sym->list); m != nullptr; m = m->next) {
        NmlMember* c = mod_new<NmlMember>();
        c->sym = modtbl_copy_locsym_to(m->sym, block);
        *tail = c;
        tail = &c->next;
      }
    }
    if (sym->sclass == SC_STRUCT || sym->sclass == SC_STRUCT90) {
      FieldNode** tail = reinterpret_cast<FieldNode**>(&e->list);
      for (const FieldNode* f = static_cast<const FieldNode*>(sym->list); f != nullptr; f = f->next) {
        FieldNode* c = mod_new<FieldNode>();
        c->sym = modtbl_copy_locsym_to(f->sym, block);
        if (c->sym != nullptr) c->sym->owner = e->owner;
        *tail = c;
        tail = &c->next;
      }
    }
    if (is_data_class(sym->sclass)) e->arrspec = copy_dims(sym->arrspec, module_pool());
    if ((sym->props & CP_PTRBASED) && sym->link != nullptr)
      e->link = static_cast<locsym*>(sym->link->modcopy);
  }
  // A COMMON member outside EQUIVALENCE points at its block's entry.
  if (e != nullptr && (sym->props & CP_COMBLK) && !(sym->props & CP_EQVGRP) && sym->link != nullptr &&
      sym->link != sym && e->link == nullptr) {
    locsym* blk = static_cast<locsym*>(sym->link->modcopy);
    if (blk == nullptr) blk = modtbl_copy_locsym_to(sym->link, block);
    if (blk == nullptr) rd_interr("LOC2-002");
    e->link = blk;
  }
  sym->extra &= ~EXTRA_VISIT_TO;
  --modtbl.depth;
  return e;
}

int32_t isinternal_proc(const locsym* module, const locsym* sym) {
  return (sym->sclass == SC_FUNC || sym->sclass == SC_SUB) && (sym->usage & QB_SET) &&
         sym->owner != module;
}

// Exports one procedure of the module as an external procedure, unless
// the module's level makes it PRIVATE.
static void export_procedure(locsym* proc, modblock* block) {
  if (proc->modcopy != nullptr) return;
  // The module's own symbol of the name carries its access attributes.
  const locsym* decl = nullptr;
  for (const locsym* s = Scope[1].head; s != nullptr && decl == nullptr; s = s->snext)
    if (s != proc && std::strcmp(s->name, proc->name) == 0) decl = s;
  if (is_private(decl != nullptr ? decl : proc, block)) return;
  locsym* e = modtbl_copy_locsym_to(proc, block);
  if (e != nullptr) e->squal = SQ_EXTERNAL;
}

void modtbl_copy_internalproc_to(locsym* sym) {
  if (sym == nullptr || (sym->sclass != SC_FUNC && sym->sclass != SC_SUB)) return;
  if ((sym->attrib & 0x800) || sym->modcopy != nullptr) return;
  const locsym* host = loc_parent_scope();
  modblock* block = host != nullptr ? get_module_block(host->name) : nullptr;
  if (block != nullptr) export_procedure(sym, block);
}

// A module ends twice: at CONTAINS, and at its END after its procedures;
// the second time adds to the block of the first.
void modtbl_copy_entities_to() {
  locsym* unit = prgnam;
  if (unit == nullptr || unit->sclass != SC_MODULE) return;
  if (unit->squal != SQ_EXTERNAL && unit->squal != SQ_UNK) return;
  modblock* block = get_module_block(unit->name);
  if (block == nullptr || unit->modcopy != block->entry) {
    block = mod_new<modblock>();
    block->defprivate = spec.defaccess == 2;
    block->entry = modtbl_copy_locsym_to(unit, block);
    if (block->entry == nullptr) return;
    block->entry->owner = block->entry;
    block->entry->homemod = nullptr;
    if (modtbl.tail == nullptr) {
      modtbl.head = block;
    } else {
      modtbl.tail->next = block;
    }
    modtbl.tail = block;
  }
  for (locsym* s = Scope[1].head; s != nullptr; s = s->snext) {
    if (s == unit) continue;
    if (s->owner != unit && s->owner != nullptr && !isinternal_proc(unit, s)) continue;
    if (s->squal == SQ_STRUCTFLD || s->squal == SQ_INTRINSIC) continue;
    if (s->squal == SQ_STATFUN && s->sclass == SC_FUNC) continue;
    if (s->usage & QB_SFD) continue;
    if (is_private(s, block)) continue;
    if (s->sclass == SC_UNK) s->sclass = s->type.code == DT_TYPE ? SC_REC90 : SC_VAR;
    if (s->owner != unit && s->owner != nullptr) {
      export_procedure(s, block);
      continue;
    }
    locsym* e = modtbl_copy_locsym_to(s, block);
    if (e != nullptr && (s->attrib & 0x2000000)) {
      // An interface body's procedure is exported as an external procedure.
      uint32_t kept = 0;
      for (uint32_t bit : {0x1000000u, 0x80000u, 0x2000000u}) {
        if (s->attrib & bit) {
          kept = bit;
          break;
        }
      }
      e->attrib = (e->attrib & ~(0x1000000u | 0x80000u | 0x2000000u)) | kept;
      e->squal = SQ_EXTERNAL;
    }
  }
  modtbl_copy_interfaces_to(block);
  modtbl_copy_usropr_usrasm_to(block);
}

// The USE side.

locsym* modtbl_copy_struct_from(locsym* type) {
  if (type == nullptr) return nullptr;
  if (type->modcopy != nullptr) return static_cast<locsym*>(type->modcopy);
  return modtbl_copy_locsym_from(type);
}

locsym* modtbl_copy_locsym_from(locsym* entry) {
  if (entry == nullptr || entry->sclass > 20) return nullptr;
  if (entry->type.tag == 'q') modtbl_copy_struct_from(PGetQStructsym(&entry->type));
  if (entry->squal != SQ_STRUCTFLD && entry->modcopy != nullptr)
    return static_cast<locsym*>(entry->modcopy);
  if ((entry->props & CP_PTRBASED) && entry->link != nullptr) modtbl_copy_locsym_from(entry->link);
  bool field = entry->squal == SQ_STRUCTFLD;
  int32_t len = static_cast<int32_t>(std::strlen(entry->name));
  locsym* local = getsym(entry->name, len, 3, field ? -1 : TransSC(entry->sclass));
  if (local == nullptr) return nullptr;
  if (local->extra & 4) local->sclass = 0;
  if (local->sclass != 0) return local;
  if ((entry->props & CP_COMBLK) && entry->link != nullptr && entry->link != entry &&
      entry->link->modcopy == nullptr && modtbl_copy_locsym_from(entry->link) == nullptr)
    rd_interr("LOC2-003");
  modtbl_copy_locsym(entry, local, local_pool());
  return local;
}

void modtbl_copy_locsym(locsym* entry, locsym* local, qlist* pool) {
  if (entry == nullptr || local == nullptr) return;
  modtbl.ModulesUsed = 1;
  bool field = entry->squal == SQ_STRUCTFLD;
  if (!field) entry->modcopy = local;
  local->sclass = entry->sclass;
  local->squal = entry->squal;
  local->props = entry->props;
  local->flagbyte = entry->flagbyte;
  local->type = entry->type;
  if (entry->type.tag == 'q') {
    locsym* t = modtbl_copy_struct_from(PGetQStructsym(&entry->type));
    if (t != nullptr) PSetQStructsym(&local->type, t);
  }
  local->offset = entry->offset;
  local->size = entry->size;
  local->attrib = ((entry->attrib | 0x8000u) & ~(0x20000u | 0x8000000u)) |
                  (Status.interface != 0 ? 0x4000000u : 0u);
  local->usage = entry->usage;
  local->owner = prgnam != nullptr ? prgnam : local;
  local->homemod = entry->homemod != nullptr ? entry->homemod : entry->owner;
  local->hpfbits = entry->hpfbits;
  local->glorec = entry->glorec;
  local->arrspec = copy_dims(entry->arrspec, pool);
  local->list = nullptr;
  if (entry->sclass == SC_PAR || entry->sclass == SC_PAR90 || entry->sclass == SC_PAR90REC) {
    if (entry->arrspec == nullptr) local->list = copy_value(entry, pool);
  } else if (entry->sclass == SC_COM) {
    ComMember** tail = reinterpret_cast<ComMember**>(&local->list);
    for (const ComMember* m = static_cast<const ComMember*>(entry->list); m != nullptr; m = m->next) {
      locsym* ml = modtbl_copy_locsym_from(m->sym);
      if (ml == nullptr) continue;
      ml->link = local;
      ComMember* c = qnew<ComMember>(pool);
      c->sym = ml;
      c->line = m->line;
      *tail = c;
      tail = &c->next;
    }
  } else if (entry->sclass == SC_NML) {
    NmlMember** tail = reinterpret_cast<NmlMember**>(&local->list);
    for (const NmlMember* m = static_cast<const NmlMember*>(entry->list); m != nullptr; m = m->next) {
      NmlMember* c = qnew<NmlMember>(pool);
      c->sym = modtbl_copy_locsym_from(m->sym);
      *tail = c;
      tail = &c->next;
    }
  } else if (entry->sclass == SC_STRUCT || entry->sclass == SC_STRUCT90) {
    FieldNode** tail = reinterpret_cast<FieldNode**>(&local->list);
    for (const FieldNode* f = static_cast<const FieldNode*>(entry->list); f != nullptr; f = f->next) {
      FieldNode* c = qnew<FieldNode>(pool);
      c->sym = modtbl_copy_locsym_from(f->sym);
      if (c->sym != nullptr) {
        c->sym->owner = local->owner;
        c->sym->link = nullptr;
      }
      *tail = c;
      tail = &c->next;
    }
  }
  if ((entry->props & CP_PTRBASED) && entry->link != nullptr)
    local->link = static_cast<locsym*>(entry->link->modcopy);
}

int32_t modtbl_copy_entities_from(modblock* block) {
  if (block == nullptr || block->entry == nullptr || block->entry->sclass != SC_MODULE) return -2;
  for (locsym* e = block->entry->snext; e != nullptr; e = e->snext) {
    if (e->owner == block->entry && e->squal != SQ_STRUCTFLD) modtbl_copy_locsym_from(e);
  }
  modtbl_copy_usropr_usrasm_from(block);
  return 0;
}

// ---------------------------------------------------------------------
// Interfaces and defined operators.

dtdesc modtbl_copy_dt_to(modblock* block, const dtdesc& src) {
  if (src.code < 1 || src.code > 26) return default_integer();
  dtdesc d{};
  d.tag = 'p';
  d.code = src.code;
  d.kind = src.kind;
  if (src.code == DT_CHAR) {
    if (IsQCharsize(&src) && PGetQCharsize(&src) > 0) d.value = src.value;
  } else if (src.code == DT_REC || src.code == DT_TYPE) {
    locsym* t = src.tag == 'q' ? modtbl_copy_struct_to(PGetQStructsym(&src), block) : nullptr;
    if (t == nullptr) return default_integer();
    PSetQStructsym(&d, t);
  }
  return d;
}

namespace {

bool same_text(const locsym* a, const char* name) {
  return a != nullptr && a->name != nullptr && name != nullptr && std::strcmp(a->name, name) == 0;
}

// The records of a unit's level 1 while the module owns it.
const IntfLevel* module_level() {
  if (Status.scope_level < 1 || Scope[1].unitsym == nullptr) return nullptr;
  const IntfLevel& l = intfs.level[1];
  return l.unitsym == Scope[1].unitsym ? &l : nullptr;
}

// The module entry that stands for a symbol of the module in an interface
// or operator record: its exported entry, else a detached entry (a name
// the module keeps PRIVATE: reachable from the record, never by name).
locsym* table_entry(locsym* sym, modblock* block) {
  if (sym == nullptr || sym->name == nullptr) return nullptr;
  if (sym->modcopy != nullptr) return static_cast<locsym*>(sym->modcopy);
  int32_t len = static_cast<int32_t>(std::strlen(sym->name));
  if (locsym* e = modtbl_getsym(sym->name, len, 2, TransSC(sym->sclass), block->entry)) return e;
  locsym* e = mod_new<locsym>();
  e->name = copy_text(module_pool(), sym->name, std::strlen(sym->name));
  e->sclass = sym->sclass;
  e->squal = sym->squal == 7 ? static_cast<uint8_t>(SQ_EXTERNAL) : sym->squal;
  e->type = sym->type.code != 0 ? modtbl_copy_dt_to(block, sym->type) : dtdesc{};
  if (e->type.code == 0) e->type.tag = 'p';
  e->attrib = sym->attrib;
  e->line = sym->line;
  e->owner = block->entry;
  return e;
}

// A type of a signature as the table keeps it (code 0: no operand).
OpOperand table_operand(modblock* block, const OpOperand& o) {
  OpOperand t = o;
  if (o.type.code != 0) t.type = modtbl_copy_dt_to(block, o.type);
  return t;
}

// The local symbol that stands for a module entry in the unit's records:
// the entity USE copied, else a symbol of the unit's pool that no name
// reaches (a name the unit does not see).
locsym* local_view(locsym* entry) {
  if (entry == nullptr || entry->name == nullptr) return nullptr;
  if (entry->modcopy != nullptr) return static_cast<locsym*>(entry->modcopy);
  locsym* l = local_new<locsym>();
  l->name = copy_text(local_pool(), entry->name, std::strlen(entry->name));
  l->sclass = entry->sclass;
  l->squal = entry->squal;
  l->type = entry->type;
  if (entry->type.tag == 'q') {
    locsym* t = modtbl_copy_struct_from(PGetQStructsym(&entry->type));
    l->type.sym = nullptr;
    if (t != nullptr) PSetQStructsym(&l->type, t);
  }
  l->attrib = entry->attrib | 0x8000u;
  l->line = static_cast<uint32_t>(rsrc.codlno);
  l->owner = prgnam != nullptr ? prgnam : l;
  l->homemod = entry->owner;
  return l;
}

OpOperand local_operand(const OpOperand& o) {
  OpOperand t = o;
  if (o.type.tag == 'q') {
    locsym* st = modtbl_copy_struct_from(PGetQStructsym(&o.type));
    t.type.sym = nullptr;
    if (st != nullptr) PSetQStructsym(&t.type, st);
  }
  return t;
}

}  // namespace

UsrOpRec* modtbl_get_usrop(modblock* block, int32_t kind, int32_t code, const char* name) {
  if (block == nullptr) return nullptr;
  if (kind == IK_ASSIGNMENT) return block->usrasm;
  if (kind != IK_OPERATOR || code < 2 || code > OP_DEFINED) return nullptr;
  for (UsrOpRec* u = block->usrop_head; u != nullptr; u = u->next) {
    if (u->opcode == code && (code != OP_DEFINED || same_text(u->generic, name))) return u;
  }
  return nullptr;
}

UsrOpRec* modtbl_get_usropr(modblock* block, const IntfRec* rec) {
  if (rec == nullptr || rec->generic == nullptr) return nullptr;
  return modtbl_get_usrop(block, rec->kind, rec->opcode, rec->generic->name);
}

UsrOpRec* modtbl_add_usrop(modblock* block, const UsrOpRec* op, int32_t kind) {
  if (block == nullptr || op == nullptr || op->generic == nullptr) return nullptr;
  if (UsrOpRec* u = modtbl_get_usrop(block, kind, op->opcode, op->generic->name)) return u;
  if (kind != IK_ASSIGNMENT && (op->opcode < 2 || op->opcode > OP_DEFINED)) return nullptr;
  UsrOpRec* u = mod_new<UsrOpRec>();
  u->kind = kind;
  u->opcode = op->opcode;
  u->noperands = op->noperands;
  u->generic = table_entry(op->generic, block);
  if (kind == IK_ASSIGNMENT) {
    block->usrasm = u;
  } else {
    if (block->usrop_tail != nullptr) block->usrop_tail->next = u; else block->usrop_head = u;
    block->usrop_tail = u;
  }
  return u;
}

void modtbl_add_usrop_dtyp(modblock* block, UsrOpRec* op, const OpSignature* sig) {
  if (block == nullptr || op == nullptr || sig == nullptr) return;
  OpSignature s{};
  for (int i = 0; i < 3; ++i) s.opd[i] = table_operand(block, sig->opd[i]);
  s.proc = table_entry(sig->proc, block);
  intf_add_signature(op, s, module_pool());
}

void modtbl_add_usrop_dtyp_MP(const IntfRec* rec, const OpSignature* sig) {
  if (rec == nullptr || rec->usrop == nullptr || Scope[1].unitsym == nullptr ||
      Scope[1].unitsym->sclass != SC_MODULE)
    return;
  modblock* block = get_module_block(Scope[1].unitsym->name);
  if (block == nullptr) return;
  UsrOpRec* u = modtbl_get_usropr(block, rec);
  if (u == nullptr) u = modtbl_add_usrop(block, rec->usrop, rec->kind);
  modtbl_add_usrop_dtyp(block, u, sig);
}

void modtbl_copy_usropr_usrasm_to(modblock* block) {
  const IntfLevel* l = module_level();
  if (block == nullptr || l == nullptr) return;
  for (const UsrOpRec* u = l->usrops; u != nullptr; u = u->next) {
    UsrOpRec* m = modtbl_add_usrop(block, u, u->kind);
    for (const OpSignature* s = u->first; m != nullptr && s != nullptr; s = s->next)
      modtbl_add_usrop_dtyp(block, m, s);
  }
}

void modtbl_copy_interfaces_to(modblock* block) {
  const IntfLevel* l = module_level();
  if (block == nullptr || l == nullptr) return;
  for (const IntfRec* r = l->head; r != nullptr; r = r->next) {
    if (r->kind == IK_NONAME || r->generic == nullptr) continue;
    IntfRec* m = block->intf_head;
    while (m != nullptr &&
           !(m->kind == r->kind && m->opcode == r->opcode && same_text(m->generic, r->generic->name)))
      m = m->next;
    if (m == nullptr) {
      m = mod_new<IntfRec>();
      m->kind = r->kind;
      m->opcode = r->opcode;
      m->generic = table_entry(r->generic, block);
      if (block->intf_tail != nullptr) block->intf_tail->next = m; else block->intf_head = m;
      block->intf_tail = m;
    }
    if (m->pclass == 0) m->pclass = r->pclass;
    if (m->usrop == nullptr && r->usrop != nullptr) m->usrop = modtbl_add_usrop(block, r->usrop, r->kind);
    for (const IntfProc* p = r->first; p != nullptr; p = p->next) {
      locsym* e = table_entry(p->sym, block);
      if (e == nullptr) continue;
      bool have = false;
      for (const IntfProc* q = m->first; q != nullptr && !have; q = q->next) have = same_text(q->sym, e->name);
      if (have) continue;
      IntfProc* n = mod_new<IntfProc>();
      n->sym = e;
      if (m->last != nullptr) m->last->next = n; else m->first = n;
      m->last = n;
    }
  }
}

void adjust_intf_sc(locsym* proc) {
  if (proc == nullptr || (proc->sclass != SC_FUNC && proc->sclass != SC_SUB) || proc->squal != 7 ||
      Status.scope_level != 2)
    return;
  const locsym* module = Scope[1].unitsym;
  if (module == nullptr || module->sclass != SC_MODULE) return;
  modblock* block = get_module_block(module->name);
  if (block == nullptr) return;
  // The procedure's type as the table keeps it; a derived type names the
  // type's entry of this module (the default INTEGER when it has none).
  dtdesc type = proc->type;
  if (proc->sclass == SC_FUNC && proc->type.code != 0) {
    type = modtbl_copy_dt_to(block, proc->type);
    if (proc->type.code == DT_TYPE && proc->type.tag == 'q') {
      const locsym* st = PGetQStructsym(&proc->type);
      locsym* te = st != nullptr ? modtbl_getsym(st->name, static_cast<int32_t>(std::strlen(st->name)), 2,
                                                 SC_STRUCT90, block->entry)
                                 : nullptr;
      if (te != nullptr) PSetQStructsym(&type, te); else type = default_integer();
    }
  }
  auto adjust = [&](locsym* e) {
    e->sclass = proc->sclass;
    if (proc->sclass == SC_FUNC && proc->type.code != 0) e->type = type;
  };
  // The module's own symbol of the name (exported when the module reached
  // CONTAINS, before the procedure's class and type were known).
  for (locsym* s = Scope[1].head; s != nullptr; s = s->snext) {
    if (s == proc || !same_text(s, proc->name) || s->modcopy == nullptr) continue;
    locsym* e = static_cast<locsym*>(s->modcopy);
    if (e->sclass != SC_FUNC && e->sclass != SC_SUB && e->sclass != SC_VAR && e->sclass != SC_UNK) continue;
    adjust(e);
    e->squal = SQ_EXTERNAL;
  }
  // The specifics of the module's interfaces that name it.
  for (IntfRec* m = block->intf_head; m != nullptr; m = m->next) {
    for (IntfProc* p = m->first; p != nullptr; p = p->next) {
      if (same_text(p->sym, proc->name) && p->sym->sclass != proc->sclass) adjust(p->sym);
    }
  }
}

void modtbl_copy_interfaces_from(modblock* block) {
  if (block == nullptr) return;
  for (const IntfRec* m = block->intf_head; m != nullptr; m = m->next) {
    if (m->generic == nullptr) continue;
    // A generic name that the unit does not see brings nothing.
    locsym* g = m->kind == IK_GENERIC ? static_cast<locsym*>(m->generic->modcopy) : local_view(m->generic);
    if (g == nullptr) continue;
    // A generic name that an intrinsic bears overloads the intrinsic here
    // as in the module.
    if (m->kind == IK_GENERIC && intrin_lookup(g->name) != nullptr) getsym_ov_intrin(g);
    IntfRec* r = intf_get_interface_at(Status.scope_level, g, m->opcode);
    if (r == nullptr) r = intf_new_interface(m->kind, m->opcode, g);
    if (r == nullptr) return;
    if (r->pclass == 0) r->pclass = m->pclass;
    if (r->usrop == nullptr && m->kind != IK_GENERIC) r->usrop = intf_add_usrop(m->kind, m->opcode, g);
    for (const IntfProc* p = m->first; p != nullptr; p = p->next) {
      bool have = false;
      for (const IntfProc* q = r->first; q != nullptr && !have; q = q->next) have = same_text(q->sym, p->sym->name);
      if (have) continue;
      locsym* l = local_view(p->sym);
      if (l == nullptr) {
        rd_errmsg(24);
        continue;
      }
      intf_update(r, l);
    }
  }
}

void modtbl_copy_usropr_usrasm_from(modblock* block) {
  if (block == nullptr || Status.interface != 0) return;
  auto take = [](const UsrOpRec* m) {
    UsrOpRec* u = intf_add_usrop(m->kind, m->opcode, local_view(m->generic));
    for (const OpSignature* s = m->first; u != nullptr && s != nullptr; s = s->next) {
      OpSignature l{};
      for (int i = 0; i < 3; ++i) l.opd[i] = local_operand(s->opd[i]);
      l.proc = local_view(s->proc);
      intf_add_signature(u, l, local_pool());
    }
  };
  if (block->usrasm != nullptr) take(block->usrasm);
  for (const UsrOpRec* m = block->usrop_head; m != nullptr; m = m->next) take(m);
}
