// The module table: at the end of a MODULE unit its visible entities are
// copied, with everything they refer to (types, components, COMMON members,
// bounds, constant values), into entries of the pool "module"; USE copies
// entries back into the local symbol table of the unit being read.
#include "checker/semantics/modtable.h"

#include <cstring>

#include "checker/common/dtype.h"
#include "checker/common/error.h"
#include "checker/common/mystring.h"
#include "checker/reader/commonstmt.h"
#include "checker/reader/dertype.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/tokens.h"
#include "checker/reader/specstmt.h"
#include "checker/reader/typedecl.h"
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

void modtbl_reset_entity_flags() {
  modtbl.unknown_use = 0;
  if (!modtbl.ModulesUsed) return;
  for (locsym* e = modtbl.lochead2; e != nullptr; e = e->snext) e->modcopy = nullptr;
  modtbl.ModulesUsed = 0;
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
      e->type = dtdesc{};
      e->type.tag = 'p';
      e->type.code = static_cast<uint8_t>(defdtypes[3] != 0 ? defdtypes[3] : DT_INT);
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
  return 0;
}
