// Declarations of the names that stand inside a unit: dummy arguments and
// alternate returns, function results (shared storage for ENTRY results),
// statement functions and their dummies, implied-DO variables, and COMMON
// blocks with their member lists.
#include "frontend/model/dummies.h"

#include <cstdint>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"

namespace {

constexpr int link_chain_limit = 256;

std::string name_text(const atom* a) { return a && a->text ? std::string(a->text, a->length) : std::string(); }

object* object_of(symbol_entry* s) { return s ? static_cast<object*>(s->entity.get()) : nullptr; }

// A dummy argument: classes 23-26, or a variable whose object is a dummy.
bool is_dummy_argument(symbol_entry* s) {
  if (!s) return false;
  if (s->cls >= sym_dummy && s->cls <= sym_dummy_procedure) return true;
  object* o = s->cls == sym_variable ? object_of(s) : nullptr;
  return o && o->is_parameter;
}

scope* current_unit_scope() { return symtab.cur_scope >= 0 ? current_scope_record().il_scope : nullptr; }

void append_member(pool_ref_field<object_list_member>& head, object* o) {
  object_list_member* m = new_object_list_member();
  m->object = o;
  pool_ref_field<object_list_member>* p = &head;
  while (*p) p = &(*p)->next;
  *p = m;
}

// Appends a dummy to an ENTRY's own list, or to the unit's parameter list.
void add_to_dummy_list(object* o, entry_description* entry) {
  if (entry)
    append_member(entry->parameters, o);
  else
    unit_add_parameter(o);
}

bool in_list(const object_list_member* m, const object* o) {
  for (; m; m = m->next)
    if (m->object == o) return true;
  return false;
}

// The n-th (from 1) alternate-return dummy of a list, or null.
object* nth_alt_return(object_list_member* m, int n) {
  for (; m; m = m->next) {
    if (m->object && m->object->type && m->object->type->type_code == tk_stmt_label && --n == 0) return m->object;
  }
  return nullptr;
}

// A fresh class-23 symbol under the error name with a dummy of the error type.
symbol_entry* error_dummy(source_pos_record pos) {
  symbol_entry* s = symbol_create(sym_dummy, nullptr, pos, symtab.cur_scope);
  s->entity = new_dummy_object(s, error_type());
  return s;
}

// The main result object moves into a new local association object, once;
// returns that association.
object* shared_result_storage(scope* unit) {
  object* main_result = unit->function_result_var;
  if (!main_result) return nullptr;
  if (main_result->storage_class == sc_associated && main_result->assoc_variable) return main_result->assoc_variable;
  object* storage = new_object();
  storage->storage_class = sc_local;
  storage->assoc_routine = unit->assoc_routine;
  type* t = new_type(tk_association);
  if (main_result->type) {
    type_storage_size(main_result->type);
    t->size = main_result->type->size;
    t->alignment = main_result->type->alignment;
  }
  storage->type = t;
  unit_add_entity(storage, symtab.cur_scope);
  main_result->storage_class = sc_associated;
  main_result->assoc_variable = storage;
  main_result->association_offset = 0;
  return storage;
}

common_block_record* new_common_record(symbol_entry* s, bool blank) {
  auto* r = pool_new<common_block_record>();
  r->corresp = source_corresp_template;
  object* o = new_object();
  o->type = new_type(tk_association);
  o->storage_class = sc_common;
  set_source_corresp(o, s);
  o->corresp.referenced = true;
  o->corresp.scope_depth = 0;
  if (blank) o->corresp.name = nullptr;
  unit_add_entity(o, 0);
  r->storage = o;
  return r;
}

}  // namespace

bool is_variable_like(symbol_entry* s) {
  for (int n = 0; s && n < link_chain_limit; ++n) {
    switch (s->cls) {
      case sym_variable: {
        object* o = object_of(s);
        return !(o && o->is_constant);
      }
      case sym_undeclared:
      case sym_stmt_func_dummy:
        return true;
      case sym_host_link:
        if (!s->link) return true;
        s = s->link;
        continue;
      default:
        return false;
    }
  }
  return false;
}

object* new_dummy_object(symbol_entry* s, type* t) {
  object* o = new_object();
  o->type = t ? t : unknown_type();
  o->is_parameter = true;
  o->storage_class = sc_local;
  o->assoc_routine = unit_routine_of_level(symtab.cur_scope);
  if (s) set_source_corresp(o, s);
  return o;
}

void declare_dummy_argument(symbol_entry* s, name_pos_record* name, entry_description* entry) {
  int cur = symtab.cur_scope;
  if (s && s->level != cur) s = nullptr;
  object* o = nullptr;
  bool is_new = false;
  int msg = 0;
  if (!s) {
    s = symbol_create(sym_dummy, name->name, name->pos, cur);
    o = new_dummy_object(s, unknown_type());
    s->entity = o;
    unit_add_entity(o, cur);
    is_new = true;
  } else if (is_dummy_argument(s)) {
    o = object_of(s);
    if (!entry || !o || in_list(entry->parameters, o)) msg = 9;
  } else {
    switch (s->cls) {
      case sym_variable: {
        o = object_of(s);
        if ((s->flags & symf_referenced) && entry)
          msg = 175;
        else if (s->word3 & varf_in_common)
          msg = 155;
        else if (s->word3 & varf_in_equivalence)
          msg = 197;
        else if ((s->word3 & varf_data_initialized) || (o && o->initializer))
          msg = 168;
        else if ((s->flags & symf_saved) || (o && o->is_saved))
          msg = 415;
        else if (s->word3 & varf_namelist_member)
          msg = 365;
        else if (o && o->is_result)
          msg = 267;
        if (!msg && o) {
          o->is_parameter = true;
          o->is_auto = false;
          o->storage_class = sc_local;
          o->assoc_routine = unit_routine_of_level(cur);
          o->corresp.decl_position = name->pos;
          is_new = true;
        }
        break;
      }
      case sym_undeclared:
      case sym_stmt_func_dummy: {
        type* t = static_cast<type*>(s->entity.get());
        symbol_set_class(s, sym_dummy);
        s->decl_position = name->pos;
        o = new_dummy_object(s, t);
        s->entity = o;
        unit_add_entity(o, cur);
        is_new = true;
        break;
      }
      case sym_external_named: {
        type* t = static_cast<type*>(s->entity.get());
        bool untyped = !t || t->type_code == tk_unknown;
        symbol_set_class(s, untyped ? sym_dummy_procedure : sym_dummy_function);
        o = new_dummy_object(s, untyped ? unknown_type() : nullptr);
        if (!untyped) o->type = routine_type(o, t);
        o->storage_class = sc_external;
        s->entity = o;
        unit_add_entity(o, cur);
        is_new = true;
        break;
      }
      case sym_host_link:
        symbol_set_class(s, sym_dummy);
        s->decl_position = name->pos;
        o = new_dummy_object(s, unknown_type());
        s->entity = o;
        unit_add_entity(o, cur);
        is_new = true;
        break;
      default:
        msg = 276;
        break;
    }
  }
  if (msg) {
    error_at(msg, name->pos);
    drop_name(name);
    s = error_dummy(name->pos);
    o = object_of(s);
    is_new = true;
  }
  add_to_dummy_list(o, entry);
  xref_note(s, name->pos, is_new);
}

void declare_alt_return_dummy(int n, source_pos_record pos, entry_description* entry) {
  object* o = nullptr;
  scope* unit = current_unit_scope();
  if (entry && unit) {
    o = nth_alt_return(unit->parameters, n);
    for (entry_description* e = unit->entries; !o && e && e != entry; e = e->next) o = nth_alt_return(e->parameters, n);
  }
  if (!o) {
    o = new_dummy_object(nullptr, stmt_label_type());
    o->corresp.decl_position = pos;
    unit_add_entity(o, symtab.cur_scope);
  }
  add_to_dummy_list(o, entry);
}

void declare_result_variable(symbol_entry* s, name_pos_record* result_name, entry_description* entry) {
  int cur = symtab.cur_scope;
  scope* unit = current_unit_scope();
  object* routine = entry ? entry->assoc_routine : (unit ? unit->assoc_routine : nullptr);
  if (!routine || !unit) return;
  symbol_entry* function = routine->symbol;
  name_pos_record n = result_name ? *result_name
                                  : name_pos_record{function ? function->name : nullptr,
                                                    function ? function->decl_position : current_statement_pos};
  int msg = 0;
  if (s && s->level == cur && is_dummy_argument(s))
    msg = 19;
  else if (result_name && entry && function && result_name->name && result_name->name == function->name)
    msg = 177;
  if (msg) {
    error_at(msg, n.pos);
    drop_name(&n);
    if (result_name) drop_name(result_name);
    s = nullptr;
  }
  type* rt = routine->type && routine->type->type_code == tk_routine ? routine->type->return_type.get() : nullptr;
  bool usable = s && s->level == cur &&
                (s->cls == sym_variable || s->cls == sym_undeclared || s->cls == sym_stmt_func_dummy ||
                 s->cls == sym_host_link);
  if (!usable) {
    // Without RESULT the name is the function's, whose length was reported.
    s = result_name ? symbol_create(sym_undeclared, n.name, n.pos, cur)
                    : symbol_create_quiet(sym_undeclared, n.name, n.pos, cur);
    if (rt && rt->type_code != tk_unknown) symbol_set_type(s, rt, false);
  }
  s = symbol_as_variable(s, &n);
  object* o = object_of(s);
  if (!o) return;
  o->is_result = true;
  bool function_implicit = function && (function->flags & symf_type_implicit);
  if (routine->type && routine->type->type_code == tk_routine && (!rt || rt->type_code == tk_unknown || function_implicit) &&
      o->type && o->type->type_code != tk_unknown)
    routine->type->return_type = o->type;
  o->result_var_function = routine;
  if (!entry) {
    unit->function_result_var = o;
  } else {
    entry->function_result_var = o;
    object* storage = shared_result_storage(unit);
    if (storage && o != unit->function_result_var) {
      o->storage_class = sc_associated;
      o->assoc_variable = storage;
      o->association_offset = 0;
      if (o->type) {
        type_storage_size(o->type);
        if (o->type->size > storage->type->size) storage->type->size = o->type->size;
        if (o->type->alignment > storage->type->alignment) storage->type->alignment = o->type->alignment;
      }
    }
  }
  xref_note(s, n.pos, true);
}

param_type* add_param_type(object* dummy, object* routine) {
  param_type* p = new_param_type();
  p->symbol = dummy->symbol;
  p->corresp = dummy->corresp;
  p->type = dummy->type;
  p->is_optional = dummy->is_optional;
  p->intent_in = dummy->intent_in;
  p->intent_out = dummy->intent_out;
  p->is_pointer = dummy->is_pointer;
  p->next = nullptr;
  if (routine && routine->type && routine->type->type_code == tk_routine) {
    pool_ref_field<param_type>* tail = &routine->type->param_type_list;
    while (*tail) tail = &(*tail)->next;
    *tail = p;
  }
  return p;
}

symbol_entry* declare_stmt_function(symbol_entry* s, name_pos_record* name) {
  int cur = symtab.cur_scope;
  int L = cur > 0 ? cur - 1 : 0;
  if (s && s->cls != sym_undeclared) {
    error_at(19, name->pos);
    drop_name(name);
    s = nullptr;
  }
  if (!s) {
    s = symbol_create(sym_undeclared, name->name, name->pos, L);
    implicit_type_of(s, name->pos);
  }
  type* result = symbol_type(s);
  if (!result) result = unknown_type();
  symbol_set_class(s, sym_stmt_function);
  xref_note(s, name->pos, true);
  object* o = new_object();
  o->type = routine_type(o, result);
  o->storage_class = sc_stmt_func;
  o->assoc_routine = unit_routine_of_level(L);
  set_source_corresp(o, s);
  o->corresp.scope_depth = static_cast<uint32_t>(L);
  o->initializer = nullptr;
  unit_add_entity(o, L);
  s->entity = o;
  // The statement function is the routine of its own level.
  if (scope* own = current_unit_scope(); own && cur > L) {
    own->assoc_routine = o;
    o->assoc_scope = own;
  }
  return s;
}

void declare_stmt_function_dummy(symbol_entry* s, name_pos_record* name) {
  int cur = symtab.cur_scope;
  int L = cur > 0 ? cur - 1 : 0;
  type* t = nullptr;
  uint32_t typed_flags = 0;
  if (s && !is_variable_like(s) && !is_dummy_argument(s)) {
    error_at(19, name->pos);
    drop_name(name);
    t = error_type();
  } else if (s && s->level == cur) {
    error_at(9, name->pos);
    drop_name(name);
    t = error_type();
  } else if (s) {
    t = symbol_type(s);
    if (t && t->type_code == tk_farray) t = t->element_type;
    if (s->cls == sym_undeclared) {
      type* keep = static_cast<type*>(s->entity.get());
      symbol_set_class(s, sym_stmt_func_dummy);
      s->entity = keep;
    } else if (s->cls == sym_dummy) {
      void* keep = s->entity;
      symbol_set_class(s, sym_variable);
      s->entity = keep;
    }
    if (!t || t->type_code == tk_unknown) {
      t = implicit_map_type(s->name, s->level);
      if (!t) {
        error_at(243, name->pos, {name_text(s->name)});
        t = error_type();
      }
    }
    typed_flags = s->flags & (symf_type_explicit | symf_type_implicit);
  } else {
    s = symbol_create(sym_stmt_func_dummy, name->name, name->pos, L);
    implicit_type_of(s, name->pos);
    t = symbol_type(s);
    typed_flags = s->flags & (symf_type_explicit | symf_type_implicit);
  }
  symbol_entry* d = symbol_create_quiet(sym_variable, name->name, name->pos, cur);
  d->flags |= typed_flags;
  object* o = new_dummy_object(d, t ? t : error_type());
  d->entity = o;
  unit_add_parameter(o);
  if (d->name != names.error_name) unit_add_entity(o, cur);
}

symbol_entry* implied_do_var(symbol_entry* s, name_pos_record* name) {
  type* t = nullptr;
  bool has_type = false;
  if (s && s->cls == sym_outer_implied_do_var) {
    error_at(12, name->pos, {name_text(s->name)});
  } else if (s && !is_variable_like(s) && !is_dummy_argument(s)) {
    error_at(276, name->pos);
  } else if (s && (s->cls == sym_variable || is_dummy_argument(s))) {
    object* o = object_of(s);
    t = o ? o->type : nullptr;
    if (t && t->type_code == tk_farray) {
      error_at(29, name->pos);
      t = nullptr;
    } else {
      has_type = true;
    }
  } else if (s) {
    t = symbol_type(s);
    if (!t && s->cls == sym_host_link) t = static_cast<type*>(s->entity.get());
    if (s->cls == sym_undeclared) {
      type* keep = static_cast<type*>(s->entity.get());
      symbol_set_class(s, sym_stmt_func_dummy);
      s->entity = keep;
    }
    has_type = true;
  } else {
    s = symbol_create(sym_stmt_func_dummy, name->name, name->pos, symtab.cur_scope);
    t = unknown_type();
    has_type = true;
  }
  if (has_type) {
    s->flags |= symf_implied_do_var;
    if (!t || t->type_code == tk_unknown) {
      t = implicit_map_type(s->name, s->level);
      if (!t) {
        error_at(243, name->pos, {name_text(s->name)});
        t = error_type();
      }
    }
    if (t->type_code != tk_integer && t->type_code != tk_error) error_at(279, name->pos);
  }
  auto* v = pool_new<symbol_entry>();
  symbol_set_class(v, sym_outer_implied_do_var);
  v->name = name->name ? name->name : error_name();
  v->decl_position = name->pos;
  if (has_type) {
    v->entity = t;
    v->flags |= symf_type_explicit;
  }
  if (symtab.implied_do_level < 0) symtab.implied_do_level = symtab.cur_scope;
  if (symtab.implied_do_level < INT32_MAX) ++symtab.implied_do_level;
  v->level = symtab.implied_do_level;
  return v;
}

void symbol_make_visible(symbol_entry* s) {
  if (!s) return;
  symbol_chain_insert(s);
  s->flags |= symf_in_scope;
}

symbol_entry* declare_common_block(name_pos_record* name) {
  int cur = symtab.cur_scope;
  bool blank = name->name && name->name == decl_ctx.blank_common_name;
  symbol_entry* taken = nullptr;
  for (symbol_entry* p = name->name ? name->name->first_symbol : nullptr; p; p = p->next_same_name) {
    if (p->cls != sym_common_block) continue;
    if ((p->flags & symf_in_scope) || p->level != 0) return p;
    if (!taken) taken = p;
  }
  symbol_entry* s = taken;
  if (s) {
    // A block an earlier unit left: this unit takes it over.
    symbol_move_to_level(s, cur);
    s->decl_position = name->pos;
    s->flags &= ~symf_saved;
    if (auto* r = static_cast<common_block_record*>(s->entity.get())) {
      r->next = nullptr;
      r->listed = false;
      r->first_member = r->last_member = nullptr;
    }
  } else {
    int msg = 0;
    for (symbol_entry* p = name->name ? name->name->first_symbol : nullptr; p && !msg; p = p->next_same_name) {
      if (p->cls == sym_common_block || !((p->flags & symf_in_scope) || p->level != 0)) continue;
      switch (p->cls) {
        case sym_main_program:
        case sym_block_data:
        case sym_module:
        case sym_external_subroutine:
        case sym_external_function:
        case sym_unknown_external:
          msg = 19;
          break;
        default:
          break;
      }
    }
    if (!msg && !blank) {
      symbol_entry* g = global_symbol_of(name->name);
      if (g && g->cls != sym_common_block) msg = 254;
    }
    if (msg) {
      error_at(msg, name->pos);
      drop_name(name);
    } else if (!blank) {
      external_name_case_check(name);
    }
    s = symbol_create(sym_common_block, name->name, name->pos, cur);
    s->entity = new_common_record(s, blank);
  }
  auto* r = static_cast<common_block_record*>(s->entity.get());
  if (!r) {
    r = new_common_record(s, blank);
    s->entity = r;
  }
  copy_decl_pos(s, &r->corresp);
  if (!r->listed && cur >= 0) {
    scope_record& level = current_scope_record();
    r->next = nullptr;
    if (level.commons_tail)
      level.commons_tail->next = r;
    else
      level.commons_head = r;
    level.commons_tail = r;
    r->listed = true;
  }
  return s;
}

symbol_entry* blank_common_block(source_pos_record pos) {
  if (!decl_ctx.blank_common_name) {
    decl_ctx.blank_common_name = pool_new<atom>();
    decl_ctx.blank_common_name->text = pool_copy_string("");
  }
  name_pos_record n{decl_ctx.blank_common_name, pos};
  return declare_common_block(&n);
}

void common_add_member(object* o, common_block_record* r, source_pos_record pos) {
  if (!r) return;
  auto* m = pool_new<common_member>();
  m->member = o;
  m->pos = pos;
  if (r->last_member)
    r->last_member->next = m;
  else
    r->first_member = m;
  r->last_member = m;
}
