// Storage association of COMMON and EQUIVALENCE: once per unit every
// variable in a COMMON block or an EQUIVALENCE set is given its storage
// object and byte offset; EQUIVALENCE sets that share a variable are merged,
// and a set that touches COMMON extends the block. Also the completion of
// derived-type definitions and the resolution of forward-referenced types.
#include "frontend/semantics/storage_association.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/options.h"
#include "frontend/base/pools.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/dummies.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/semantics/constant_designators.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/unit_pass.h"

StorageState storage;

void storage_state_reset() { storage = StorageState{}; }

void add_equivalence_group(equivalence_group* g) {
  g->next = nullptr;
  if (storage.groups_tail)
    storage.groups_tail->next = g;
  else
    storage.groups_head = g;
  storage.groups_tail = g;
}

namespace {

const char* name_of(const object* o) {
  return o && o->corresp.name && o->corresp.name->text ? o->corresp.name->text : "";
}

source_pos_record decl_pos_of(const object* o, source_pos_record fallback) {
  return o && o->corresp.decl_position.seq != 0 ? o->corresp.decl_position : fallback;
}

bool in_common(const object* o) {
  return o->storage_class == sc_associated && o->assoc_variable &&
         o->assoc_variable->storage_class == sc_common;
}

bool is_blank_common(const object* block) {
  return !block->corresp.name || block->corresp.name == decl_ctx.blank_common_name;
}

// Implicit type and entity checks of a variable that is about to be placed.
void complete_member(object* v) {
  if (v->symbol) implicit_type_of(v->symbol);
  check_entity_decl(v);
}

int64_t round_up(int64_t offset, uint32_t alignment) {
  if (alignment <= 1) return offset;
  int64_t rest = offset % alignment;
  return rest ? offset + (alignment - rest) : offset;
}

uint32_t clamp_size(int64_t n) {
  if (n < 0) return 0;
  if (n > INT32_MAX) return INT32_MAX;
  return static_cast<uint32_t>(n);
}

// Step 1: the members of every COMMON block of the unit, in order.
void layout_common_blocks() {
  for (common_block_record* r = current_scope_record().commons_head; r; r = r->next) {
    object* block = r->storage;
    if (!block) continue;
    int64_t offset = 0;
    for (common_member* m = r->first_member; m; m = m->next) {
      object* v = m->member;
      if (!v) continue;
      complete_member(v);
      uint32_t size = 0, alignment = 1;
      object_storage_size(v, &size, &alignment);
      if (alignment > 1 && offset % alignment != 0) {
        remark_at(5, decl_pos_of(v, m->pos), {name_of(v)});
        offset = round_up(offset, alignment);
      }
      assign_storage(v, block, static_cast<int32_t>(std::min<int64_t>(offset, INT32_MAX)));
      offset += size;
    }
    if (block->type) {
      r->size = block->type->size;
      block->type->size = clamp_size(offset);
    }
    r->first_member = r->last_member = nullptr;
  }
}

// Step 2: the byte offset of every designator and the set's largest one.
void equivalence_offsets() {
  for (equivalence_group* g = storage.groups_head; g; g = g->next) {
    type* first_type = nullptr;
    bool first = true;
    g->largest_offset = 0;
    for (equivalence_member* m = g->first_member; m; m = m->next) {
      object* obj = nullptr;
      int32_t offset = 0;
      bool ok = m->ref && check_ok(check_expr(m->ref, ctx_data_objects, nullptr)) &&
                designator_storage_offset(m->ref, m->pos, &obj, &offset);
      m->obj = ok ? obj : nullptr;
      m->offset = ok ? offset : 0;
      if (!m->obj) continue;
      if (first) {
        first_type = m->obj->type;
        first = false;
        g->largest_offset = m->offset;
      } else {
        if (first_type && m->ref->type && !storage_types_agree(m->ref->type, first_type))
          error_at(507, m->pos);
        g->largest_offset = std::max(g->largest_offset, m->offset);
      }
    }
  }
}

// Step 3: offsets relative to the start of the set, and the set's size.
void relative_offsets() {
  for (equivalence_group* g = storage.groups_head; g; g = g->next) {
    int64_t size = 0;
    for (equivalence_member* m = g->first_member; m; m = m->next) {
      if (!m->obj) continue;
      m->offset = g->largest_offset - m->offset;
      uint32_t s = 0, a = 1;
      object_storage_size(m->obj, &s, &a);
      size = std::max<int64_t>(size, int64_t{m->offset} + s);
    }
    g->size = clamp_size(size);
  }
}

// The first member of g that holds v.
equivalence_member* member_of(equivalence_group* g, const object* v, const equivalence_member* besides) {
  for (equivalence_member* m = g->first_member; m; m = m->next)
    if (m->obj == v && m != besides) return m;
  return nullptr;
}

// Moves the members of `from` behind those of `to`, each shifted by shift.
void move_set(equivalence_group* from, equivalence_group* to, int64_t shift,
              std::unordered_map<object*, equivalence_group*>& owner) {
  for (equivalence_member* x = from->first_member; x; x = x->next) {
    x->offset = static_cast<int32_t>(x->offset + shift);
    if (x->obj && owner[x->obj] == from) owner[x->obj] = to;
  }
  if (from->first_member) {
    if (to->last_member)
      to->last_member->next = from->first_member;
    else
      to->first_member = from->first_member;
    to->last_member = from->last_member;
  }
  from->first_member = from->last_member = nullptr;
}

// Step 4: sets that share a variable become one set.
void merge_sets(std::unordered_map<object*, equivalence_group*>& owner) {
  for (equivalence_group* g = storage.groups_head; g; g = g->next) {
    std::vector<equivalence_member*> members;
    for (equivalence_member* m = g->first_member; m; m = m->next) members.push_back(m);
    equivalence_group* cur = g;
    for (equivalence_member* m : members) {
      object* v = m->obj;
      if (!v) continue;
      auto it = owner.find(v);
      if (it == owner.end() || !it->second) {
        owner[v] = cur;
        continue;
      }
      equivalence_group* t = it->second;
      if (t == cur) {
        equivalence_member* earlier = member_of(cur, v, m);
        if (earlier && earlier->offset != m->offset) error_at(286, m->pos, {name_of(v)});
        m->obj = nullptr;
        continue;
      }
      equivalence_member* there = member_of(t, v, nullptr);
      int64_t d = int64_t{there ? there->offset : 0} - m->offset;
      if (d > 0) {
        // This set goes into t, shifted by d; m duplicates v's member there.
        m->obj = nullptr;
        uint32_t size = cur->size;
        move_set(cur, t, d, owner);
        t->size = std::max(t->size, clamp_size(int64_t{size} + d));
        cur->size = 0;
        cur = t;
      } else {
        // t goes into this set, shifted by -d.
        owner[v] = cur;
        uint32_t size = t->size;
        move_set(t, cur, -d, owner);
        cur->size = std::max(cur->size, clamp_size(int64_t{size} - d));
        t->size = 0;
      }
    }
  }
}

// Warnings of -A for a variable placed in COMMON through EQUIVALENCE.
void common_data_warnings(object* v, object* block) {
  if (!driver_options.std_warnings || !v->symbol) return;
  symbol_entry* s = v->symbol;
  if (is_blank_common(block)) {
    s->word3 |= varf_in_blank_common;
    if (s->word3 & varf_data_initialized) warning_at(509, decl_pos_of(v, s->decl_position));
  } else if ((s->word3 & varf_data_initialized) && units.cur_unit_kind != uc_block_data) {
    warning_at(508, decl_pos_of(v, s->decl_position));
  }
}

// Step 5: storage for each set of two or more variables.
void assign_set_storage(equivalence_group* g) {
  std::vector<equivalence_member*> vars;
  for (equivalence_member* m = g->first_member; m; m = m->next) {
    if (!m->obj) continue;
    bool seen = false;
    for (equivalence_member* x : vars) seen = seen || x->obj == m->obj;
    if (!seen) vars.push_back(m);
  }
  if (vars.size() < 2) return;
  equivalence_member* k = nullptr;
  for (equivalence_member* m : vars)
    if (in_common(m->obj)) {
      k = m;
      break;
    }
  if (k) {
    object* block = k->obj->assoc_variable;
    int64_t base = int64_t{k->obj->association_offset} - k->offset;
    if (block->type)
      block->type->size = std::max(block->type->size, clamp_size(int64_t{g->size} + base));
    for (equivalence_member* m : vars) {
      if (m == k) continue;
      object* v = m->obj;
      int64_t o = int64_t{m->offset} + base;
      if (in_common(v)) {
        if (v->assoc_variable != block || v->association_offset != o) error_at(196, m->pos, {name_of(v)});
      } else if (o >= 0) {
        complete_member(v);
        assign_storage(v, block, static_cast<int32_t>(std::min<int64_t>(o, INT32_MAX)));
        common_data_warnings(v, block);
      } else {
        error_at(63, m->pos, {name_of(v)});
      }
    }
    return;
  }
  object* s = new_object();
  s->storage_class = sc_local;
  s->assoc_routine = unit_routine_of_level(symtab.cur_scope);
  s->corresp.referenced = false;
  s->type = new_type(tk_association);
  s->type->size = g->size;
  unit_add_entity(s, symtab.cur_scope);
  for (equivalence_member* m : vars) {
    complete_member(m->obj);
    assign_storage(m->obj, s, m->offset);
  }
}

// Step 6: a block whose size differs from an earlier specification.
void common_size_check() {
  scope_record& level = current_scope_record();
  common_block_record* next = nullptr;
  for (common_block_record* r = level.commons_head; r; r = next) {
    next = r->next;
    r->next = nullptr;
    r->listed = false;
    object* block = r->storage;
    if (!block || !block->type) continue;
    if (block->type->size != r->size && r->size != 0) {
      remark_at(154, r->corresp.decl_position,
                {r->corresp.name && r->corresp.name->text ? r->corresp.name->text : ""});
      block->type->size = std::max(block->type->size, r->size);
    }
  }
  level.commons_head = level.commons_tail = nullptr;
}

}  // namespace

void storage_association() {
  if (symtab.cur_scope < 0) return;
  layout_common_blocks();
  equivalence_offsets();
  relative_offsets();
  std::unordered_map<object*, equivalence_group*> owner;
  merge_sets(owner);
  for (equivalence_group* g = storage.groups_head; g; g = g->next) assign_set_storage(g);
  storage.groups_head = storage.groups_tail = nullptr;
  common_size_check();
}

void assign_storage(object* v, object* s, int32_t offset) {
  uint32_t size = 0, alignment = 1;
  object_storage_size(v, &size, &alignment);
  v->storage_class = sc_associated;
  v->assoc_variable = s;
  v->association_offset = offset;
  s->is_public = s->is_public || v->is_public;
  s->is_saved = s->is_saved || v->is_saved;
  s->corresp.referenced = s->corresp.referenced || v->corresp.referenced;
  if (s->type && (v->is_pointer || (v->type && v->type->contains_ptrs))) s->type->contains_ptrs = true;
  if (alignment > 1 && offset % static_cast<int32_t>(alignment) != 0)
    warning_at(s->storage_class == sc_common ? 320 : 321, decl_pos_of(v, null_pos), {name_of(v)});
  if (s->type) s->type->alignment = static_cast<uint8_t>(std::max<uint32_t>(s->type->alignment, alignment));
  if (v->initializer && units.cur_unit_kind == uc_block_data && !v->is_constant) {
    if (s->storage_class != sc_common) {
      warning_at(316, decl_pos_of(v, null_pos), {name_of(v)});
      v->initializer = nullptr;
    } else if (driver_options.std_warnings && is_blank_common(s)) {
      warning_at(86, decl_pos_of(v, null_pos), {name_of(v)});
    }
  }
  if (!v->is_result && v->initializer) mark_initialized_storage(v);
}

void derived_type_complete(type* t) {
  if (t && t->type_code == tk_derived_type) {
    scope* sc = current_scope_record().il_scope;
    t->first_field = sc ? sc->objects : nullptr;
    for (object* c = t->first_field; c; c = c->next) {
      c->storage_class = sc_type_field;
      c->assoc_derived_type = t;
      if (c->is_pointer) continue;
      type* ct = c->type;
      type* base = ct && ct->type_code == tk_farray ? ct->element_type : ct;
      if (base == t) {
        const ::atom* tn = t->corresp.name;
        error_at(456, t->corresp.decl_position, {tn && tn->text ? tn->text : ""});
        c->type = error_type();
      } else {
        c->type = resolve_forward_type(ct);
      }
    }
  }
  scope_end_unit();
}

type* resolve_forward_type(type* t) {
  if (!t) return t;
  type* b = t->type_code == tk_farray ? t->element_type : t;
  if (!b || b->type_code != tk_derived_type) return t;
  symbol_entry* s = b->symbol;
  if (!s || (s->cls != sym_forward_derived_type && s->cls != sym_alias)) return t;
  if (s->cls == sym_forward_derived_type && !s->link) {
    error_at(465, s->decl_position);
    return t;
  }
  symbol_entry* d = symbol_complete(s);
  for (int n = 0; d && d->cls == sym_alias && n < 64; ++n) d = static_cast<symbol_entry*>(d->entity.get());
  if (!d || d->cls != sym_derived_type || !d->entity) return t;
  type* def = static_cast<type*>(d->entity.get());
  if (t->type_code != tk_farray) return def;
  type* copy = new_type(tk_farray);
  copy_type_entry(t, copy);
  copy->header &= ~(1u << 31);
  copy->element_type = def;
  return copy;
}

void implicit_map_resolve() {
  if (symtab.cur_scope < 0) return;
  scope_record& level = current_scope_record();
  if (!level.implicit_none)
    for (type*& t : level.implicit_map)
      if (t) t = resolve_forward_type(t);
  if (units.cur_unit_kind != uc_function || !level.il_scope) return;
  object* result = level.il_scope->function_result_var;
  if (!result || !result->type) return;
  result->type = resolve_forward_type(result->type);
  // A result type that is still a forward reference was reported (465) and
  // goes on as the error type, so that its uses draw no further message.
  // Its symbol stands as an (empty) type, already reported.
  const type* b = result->type->type_code == tk_farray ? result->type->element_type : result->type;
  if (b && b->type_code == tk_derived_type && b->symbol && b->symbol->cls == sym_forward_derived_type) {
    symbol_entry* forward = b->symbol;
    void* entity = forward->entity;
    symbol_set_class(forward, sym_derived_type);
    forward->entity = entity;
    result->type = error_type();
  }
  object* routine = level.il_scope->assoc_routine;
  if (routine && routine->type && routine->type->type_code == tk_routine)
    routine->type->return_type = result->type;
}
