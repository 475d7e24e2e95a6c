// Symbol typing: the type of a variable, a function result or a dummy
// procedure from a declaration or from the IMPLICIT rule, with the check that
// an implicit type may be confirmed once by an equal declaration and any other
// second typing conflicts; names made variables, generic interface names and
// derived-type names.
#include "frontend/model/symbol_typing.h"

#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/model/tokens.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/types.h"

namespace {

std::string name_text(const symbol_entry* s) {
  return s && s->name && s->name->text ? std::string(s->name->text, s->name->length) : std::string();
}

bool is_type(const type* t, int code) { return t && t->type_code == code; }

// Sets the element type of an array in place and recomputes its size.
void set_element_type(type* array, type* t) {
  array->element_type = t;
  array->size = 0;
  type_storage_size(array);
}

// Stores type t in a holder (an object's type, a symbol's entity or a return
// type) whose current type is `holder`; returns 1 when accepted. The steps
// are those shared by every holder: an unknown holder takes the type, an
// array of unknown elements takes it as element type, an implicit type is
// confirmed by an equal one; anything else is refused (and stored with force).
// Holder is a type* or a record's pool_ref to a type.
template <class Holder>
int set_holder(Holder& holder, type* t, symbol_entry* s, bool force) {
  type* h = holder;
  // Storing the unknown type gives no type: the symbol does not count as typed.
  uint32_t typed = t->type_code == tk_unknown ? 0u : static_cast<uint32_t>(symf_type_explicit);
  if (!h || h->type_code == tk_unknown) {
    holder = t;
    s->flags |= typed;
    return 1;
  }
  if (h->type_code == tk_farray && is_type(h->element_type, tk_unknown)) {
    set_element_type(h, t);
    s->flags |= typed;
    return 1;
  }
  type* base = h->type_code == tk_farray ? h->element_type : h;
  if ((s->flags & symf_type_implicit) && (base == t || type_equal(base, t))) {
    s->flags &= ~symf_type_implicit;
    return 1;
  }
  if (force) {
    if (h->type_code == tk_farray && t->type_code != tk_farray)
      set_element_type(h, t);
    else
      holder = t;
  }
  return 0;
}

// 599 at the name being declared when its position is known, else at the
// statement.
void report_conflict(const symbol_entry* s, source_pos_record pos) {
  if (!(s->flags & symf_unresolved)) error_at(599, pos.seq ? pos : current_statement_pos);
}

object* symbol_object(symbol_entry* s) { return static_cast<object*>(s->entity.get()); }

// The result variable of a routine that is the unit being compiled, or null.
object* result_var_of_current_routine(object* routine) {
  if (symtab.cur_scope < 0 || !routine->assoc_scope) return nullptr;
  scope* unit = current_scope_record().il_scope;
  if (!unit || routine->assoc_scope != unit) return nullptr;
  if (unit->assoc_routine == routine) return unit->function_result_var;
  for (entry_description* e = unit->entries; e; e = e->next)
    if (e->assoc_routine == routine) return e->function_result_var;
  return nullptr;
}

// A symbol bearing the error name made a variable: what a refused name
// continues as.
symbol_entry* error_variable(source_pos_record pos) {
  name_pos_record dropped{nullptr, pos};
  symbol_entry* s = symbol_create(sym_undeclared, nullptr, pos, symtab.cur_scope);
  return symbol_as_variable(s, &dropped);
}

type* new_derived_type(symbol_entry* s) {
  type* t = new_type(tk_derived_type);
  t->symbol = s;
  return t;
}

// The first in-scope symbol of a name at exactly the given level and class.
symbol_entry* symbol_at_level(atom* name, int level, int cls) {
  if (!name) return nullptr;
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name)
    if ((s->flags & symf_in_scope) && s->level == level && s->cls == cls) return s;
  return nullptr;
}

}  // namespace

object* unit_routine_of_level(int level) {
  if (level > symtab.cur_scope) level = symtab.cur_scope;
  for (; level >= 1; --level) {
    scope* s = scope_at(level).il_scope;
    if (s && s->assoc_routine) return s->assoc_routine;
  }
  return nullptr;
}

int set_procedure_type(symbol_entry* s, type* t, source_pos_record pos) {
  object* o = symbol_object(s);
  if (!o) {
    o = new_object();
    set_source_corresp(o, s);
    o->storage_class = sc_external;
    s->entity = o;
  }
  int accepted = 0;
  if (!is_type(o->type, tk_routine)) {
    o->type = routine_type(o, t);
    accepted = 1;
  } else if (is_type(o->type->return_type, tk_unspec_routine)) {
    o->type->return_type = t;
    accepted = 1;
  } else if ((s->flags & symf_type_implicit) && (o->type->return_type == t || type_equal(o->type->return_type, t))) {
    s->flags &= ~symf_type_implicit;
    accepted = 1;
  }
  if (!is_type(t, tk_unknown)) s->flags |= symf_type_explicit;
  if (!accepted) report_conflict(s, pos);
  return accepted;
}

int set_function_result_type(symbol_entry* s, type* t, bool force, source_pos_record pos) {
  object* o = symbol_object(s);
  if (!o || !is_type(o->type, tk_routine) || !t) return 0;
  auto& holder = o->type->return_type;
  type* h = holder;
  int accepted;
  if (!h || h->type_code == tk_unknown || (h->type_code == tk_farray && is_type(h->element_type, tk_unknown))) {
    accepted = set_holder(holder, t, s, force);
  } else if (h->type_code == tk_farray) {
    accepted = set_holder(holder, t, s, force);
  } else if (!(s->flags & symf_type_implicit) && h->type_code == tk_unspec_routine && h == t) {
    accepted = 1;
  } else if ((s->flags & symf_type_implicit) && (h == t || type_equal(h, t))) {
    s->flags &= ~symf_type_implicit;
    accepted = 1;
  } else {
    accepted = 0;
    if (force) holder = t;
  }
  if (!accepted) report_conflict(s, pos);
  if (t->type_code == tk_void) return accepted;
  if (object* result = result_var_of_current_routine(o)) {
    if (!result->symbol || !(result->symbol->flags & symf_type_explicit)) result->type = holder;
    if (result->storage_class == sc_associated && result->assoc_variable) {
      type* storage = result->assoc_variable->type;
      type_storage_size(holder);
      if (storage && holder) {
        if (holder->size > storage->size) storage->size = holder->size;
        if (holder->alignment > storage->alignment) storage->alignment = holder->alignment;
      }
    }
  }
  return accepted;
}

int symbol_set_type(symbol_entry* s, type* t, bool force, source_pos_record pos) {
  if (!s || !t) return 0;
  switch (s->cls) {
    case sym_variable:
    case sym_dummy: {
      object* o = symbol_object(s);
      if (!o) return 0;
      int accepted = set_holder(o->type, t, s, force);
      if (!accepted) report_conflict(s, pos);
      if (o->is_result) {
        object* routine = routine_of_result_var(o);
        if (routine && routine->symbol && routine->symbol != s) {
          // The function takes the variable's typing; a conflict was
          // reported for the variable already.
          symbol_entry* r = routine->symbol;
          r->flags = (r->flags & ~symf_type_implicit) | (s->flags & symf_type_implicit);
          uint32_t quiet = r->flags & symf_unresolved;
          r->flags |= symf_unresolved;
          set_function_result_type(r, t, force);
          r->flags = (r->flags & ~symf_unresolved) | quiet;
        }
      }
      return accepted;
    }
    case sym_undeclared:
    case sym_stmt_func_dummy:
    case sym_external_named: {
      type* holder = static_cast<type*>(s->entity.get());
      int accepted = set_holder(holder, t, s, force);
      s->entity = holder;
      if (!accepted) report_conflict(s, pos);
      return accepted;
    }
    case sym_dummy_function:
    case sym_dummy_procedure: {
      s->cls = sym_dummy_function;
      int accepted = set_procedure_type(s, t, pos);
      s->flags |= symf_type_explicit;
      return accepted;
    }
    default:
      report_conflict(s, pos);
      return 0;
  }
}

const source_pos_record* current_token_position = nullptr;

namespace {
source_pos_record current_token_pos() {
  return current_token_position ? *current_token_position : null_pos;
}
}  // namespace

void implicit_type_of(symbol_entry* s, source_pos_record pos) {
  if (!s) return;
  bool error_named = s->name == names.error_name || !s->name;
  if ((s->flags & symf_type_explicit) && !error_named) return;
  type* t = error_named ? error_type() : implicit_map_type(s->name, s->level);
  int msg = 0;
  if (!t) {
    msg = 243;
  } else if (!error_named && t->type_code != tk_integer) {
    if (s->cls == sym_variable && (s->flags & symf_in_bound))
      msg = 79;
    else if (s->flags & symf_implied_do_var)
      msg = 80;
  }
  bool function = s->cls == sym_external_function || s->cls == sym_internal_function;
  if (msg) {
    error_at(msg, pos.seq ? pos : s->decl_position, {name_text(s)});
    // The conflict is reported once: the error type goes in without a 599.
    uint32_t quiet = s->flags & symf_unresolved;
    s->flags |= symf_unresolved;
    if (function)
      set_function_result_type(s, error_type(), true, pos);
    else
      symbol_set_type(s, error_type(), true);
    s->flags = (s->flags & ~symf_unresolved) | quiet;
    return;
  }
  s->flags |= symf_type_implicit;
  int accepted;
  if (function)
    accepted = set_function_result_type(s, t, false, pos);
  else if (s->cls == sym_external_subroutine || s->cls == sym_internal_subroutine)
    accepted = set_function_result_type(s, void_type(), false, pos);
  else
    accepted = symbol_set_type(s, t, false);
  if (accepted && t->type_code == tk_derived_type && t->symbol)
    xref_note_use(xref_definition, t->symbol, pos.seq ? pos : s->decl_position);
}

symbol_entry* symbol_as_variable(symbol_entry* s, name_pos_record* name) {
  if (!s) s = symbol_create(sym_undeclared, name->name, name->pos, symtab.cur_scope);
  switch (s->cls) {
    case sym_variable:
      return s;
    case sym_host_link: {
      symbol_entry* target = resolve_alias_link(s);
      if (!target) {
        type* t = static_cast<type*>(s->entity.get());
        symbol_set_class(s, sym_undeclared);
        if (t) s->entity = t;
        target = s;
      }
      if (target->cls == sym_host_link) return error_variable(name->pos);
      return symbol_as_variable(target, name);
    }
    case sym_undeclared:
    case sym_stmt_func_dummy: {
      type* t = static_cast<type*>(s->entity.get());
      object* o = new_object();
      o->type = t ? t : unknown_type();
      symbol_set_class(s, sym_variable);
      s->entity = o;
      o->storage_class = sc_local;
      o->assoc_routine = s->level > 0 ? unit_routine_of_level(s->level) : nullptr;
      set_source_corresp(o, s);
      if (decl_ctx.spec_part_done && !(s->flags & symf_type_explicit)) implicit_type_of(s, current_token_pos());
      if (s->name != names.error_name) unit_add_entity(o, s->level < 0 ? 0 : s->level);
      return s;
    }
    case sym_dummy: {
      void* o = s->entity;
      uint32_t word3 = s->word3;
      symbol_set_class(s, sym_variable);
      s->entity = o;
      s->word3 = word3;
      if (decl_ctx.spec_part_done && !(s->flags & symf_type_explicit)) implicit_type_of(s, current_token_pos());
      return s;
    }
    case sym_outer_implied_do_var:
      error_at(141, name->pos);
      break;
    default:
      error_at(276, name->pos);
      break;
  }
  drop_name(name);
  return error_variable(name->pos);
}

symbol_entry* declare_interface_name(symbol_entry* s, name_pos_record* name) {
  if (s && ((s->cls != sym_generic && s->cls != sym_undeclared && s->cls != sym_host_link) ||
            (s->flags & symf_type_explicit))) {
    error_at(92, name->pos);
    drop_name(name);
    s = nullptr;
  }
  if (s && s->cls == sym_generic) return s;
  interface* i = new_interface_entry();
  if (!s) {
    s = symbol_create(sym_generic, name->name, name->pos, symtab.cur_scope);
  } else if (s->cls == sym_host_link) {
    if (s->word2 & linkf_referenced) s->flags |= symf_referenced;
    if (s->word2 & linkf_in_bound) s->flags |= symf_in_bound;
    symbol_set_class(s, sym_generic);
  } else {
    symbol_set_class(s, sym_generic);
  }
  s->entity = i;
  set_source_corresp(i, s);
  // A generic of the same name in a host, or an intrinsic, is inherited.
  for (symbol_entry* o = s->next_same_name; o; o = o->next_same_name) {
    if (!(o->flags & symf_in_scope)) continue;
    symbol_entry* t = o;
    for (int n = 0; t && t->cls == sym_alias && n < 64; ++n) t = static_cast<symbol_entry*>(t->entity.get());
    if (!t || t->level >= s->level) continue;
    // A specific intrinsic name (LEN, ABS) stands on the chain before the
    // intrinsic function of the same name: the generic extends the latter.
    if (t->cls == sym_specific_intrinsic || t->cls == sym_specific_intrinsic_sub) continue;
    if (t->cls == sym_generic)
      i->inherited = static_cast<interface*>(t->entity.get());
    else if ((t->cls == sym_intrinsic_function || t->cls == sym_intrinsic_subroutine) && t->entity)
      i->inherited = static_cast<intrinsic_descriptor*>(t->entity.get())->table_entry;
    break;
  }
  return s;
}

symbol_entry* type_spec_derived_lookup(symbol_entry* s, name_pos_record* name) {
  if (s && s->cls == sym_host_link) s = resolve_alias_link(s);
  if (s && s->cls == sym_host_link) s = nullptr;
  symbol_entry* answer = nullptr;
  bool reported = false;
  int cur = symtab.cur_scope;
  if (decl_ctx.in_type_definition) {
    if (s && (s->cls == sym_derived_type || s->cls == sym_forward_derived_type)) {
      answer = s;
    } else if (s && s->cls == sym_undeclared && s->entity == unknown_type()) {
      symbol_set_class(s, sym_derived_type);
      s->entity = new_derived_type(s);
      answer = s;
    } else if (s) {
      error_at(454, name->pos);
      drop_name(name);
    }
    if (!answer) {
      // A forward reference, made where the definition being read lives.
      int level = cur > 0 ? cur - 1 : 0;
      answer = symbol_create(sym_forward_derived_type, name->name, name->pos, level);
      answer->entity = new_derived_type(answer);
      if (level >= 1) answer->link = symbol_at_level(name->name, level - 1, sym_derived_type);
    }
  } else {
    if (s && s->cls == sym_derived_type) {
      answer = s;
    } else if (s) {
      error_at(454, name->pos);
      drop_name(name);
      reported = true;
    }
    if (!answer && !reported && (decl_ctx.in_implicit_stmt || decl_ctx.in_function_prefix)) {
      answer = symbol_create(sym_forward_derived_type, name->name, name->pos, cur);
      answer->entity = new_derived_type(answer);
      if (cur >= 1) answer->link = symbol_at_level(name->name, cur - 1, sym_derived_type);
    } else if (!answer) {
      if (!reported) error_at(465, name->pos);
      answer = symbol_create(sym_derived_type, nullptr, name->pos, cur);
      answer->entity = error_type();
    }
  }
  if (answer->name != names.error_name) xref_note_use(xref_definition, answer, name->pos);
  return answer;
}

symbol_entry* define_derived_type_name(symbol_entry* s, name_pos_record* name) {
  type* t = nullptr;
  if (s) {
    switch (s->cls) {
      case sym_derived_type:
        t = static_cast<type*>(s->entity.get());
        if (t && t->type_code == tk_derived_type && !t->first_field) break;
        error_at(19, name->pos);
        drop_name(name);
        s = nullptr;
        t = nullptr;
        break;
      case sym_undeclared:
        if (s->entity == unknown_type()) {
          symbol_set_class(s, sym_derived_type);
          t = new_derived_type(s);
          s->entity = t;
          break;
        }
        error_at(19, name->pos);
        drop_name(name);
        s = nullptr;
        break;
      case sym_forward_derived_type: {
        t = static_cast<type*>(s->entity.get());
        symbol_set_class(s, sym_derived_type);
        if (!t || t->type_code != tk_derived_type) t = new_derived_type(s);
        s->entity = t;
        break;
      }
      default:
        error_at(19, name->pos);
        drop_name(name);
        s = nullptr;
        break;
    }
  }
  if (!s) {
    if (name->name) {
      switch (name->name->token_code) {
        case tok_character:
        case tok_complex:
        case tok_integer:
        case tok_logical:
        case tok_real:
          error_at(577, name->pos);
          drop_name(name);
          break;
        default:
          break;
      }
    }
    s = symbol_create(sym_derived_type, name->name, name->pos, symtab.cur_scope);
    t = new_derived_type(s);
    s->entity = t;
  }
  t->symbol = s;
  set_source_corresp(t, s);
  if (s->name != names.error_name) {
    object* unit = unit_routine_of_level(symtab.cur_scope);
    if (unit && unit->storage_class == sc_module) t->module = unit;
    unit_add_type(t, symtab.cur_scope);
  }
  return s;
}
