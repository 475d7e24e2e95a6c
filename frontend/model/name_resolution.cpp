// Name resolution and symbol completion: the symbol a name denotes through
// aliases (host and USE association) and host links, and what every symbol
// turns out to be when it is used or its unit's specification part ends.
#include "frontend/model/name_resolution.h"

#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/model/dummies.h"
#include "frontend/model/labels.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"

namespace {

// Alias chains are never longer than the scope levels; the bound only keeps a
// damaged chain from looping.
constexpr int alias_chain_limit = 256;

std::string name_text(const symbol_entry* s) {
  return s && s->name && s->name->text ? std::string(s->name->text, s->name->length) : std::string();
}

symbol_entry* follow_aliases(symbol_entry* s) {
  for (int n = 0; s && s->cls == sym_alias && s->entity && n < alias_chain_limit; ++n)
    s = static_cast<symbol_entry*>(s->entity.get());
  return s;
}

// Changes the class of a symbol whose entity stays the same object.
void reclass_keep_entity(symbol_entry* s, int cls) {
  void* entity = s->entity;
  symbol_set_class(s, cls);
  s->entity = entity;
}

// The type a symbol has or will have; "untyped" means unknown (or an array of
// unknown elements, or a routine of unknown result).
type* current_type(symbol_entry* s) {
  type* t = symbol_type(s);
  if (t && t->type_code == tk_routine) t = t->return_type;
  return t;
}
bool untyped(symbol_entry* s) {
  type* t = current_type(s);
  if (!t) return true;
  if (t->type_code == tk_farray) t = t->element_type;
  return !t || t->type_code == tk_unknown;
}
bool is_array(const type* t) { return t && t->type_code == tk_farray; }

bool is_character_assumed(type* t) {
  if (is_array(t)) t = t->element_type;
  return t && t->type_code == tk_fcharacter && t->length.kind == bk_assumed;
}

// The flags of a link's own uses, in the bits of the symbol flags.
uint32_t link_use_flags(const symbol_entry* s) {
  uint32_t f = s->flags & (symf_referenced | symf_in_bound);
  if (s->word2 & linkf_referenced) f |= symf_referenced;
  if (s->word2 & linkf_in_bound) f |= symf_in_bound;
  return f;
}

void complete_variable(symbol_entry* s) {
  auto* o = static_cast<object*>(s->entity.get());
  if (!o) return;
  if (untyped(s)) implicit_type_of(s);
  int level = s->level;
  if (level >= 0 && level <= symtab.cur_scope && o->storage_class == sc_local &&
      (scope_at(level).flags & scopef_save_all))
    o->is_saved = true;
  if (is_character_assumed(o->type) && !o->is_parameter && !o->is_result && !o->is_constant)
    error_at(150, s->decl_position, {name_text(s)});
  if (array_is_assumed_size(o->type) && !o->is_parameter && !o->is_result)
    error_at(381, s->decl_position, {name_text(s)});
  object* unit = unit_routine_of_level(level);
  if (unit && unit->storage_class == sc_blockdata && !(s->word3 & (varf_in_common | varf_in_equivalence)) &&
      o->storage_class != sc_common && !o->is_constant && o->storage_class != sc_implied_do_var) {
    if (o->initializer && (s->word3 & varf_init_in_decl)) {
      warning_at(316, s->decl_position, {name_text(s)});
      o->initializer = nullptr;
    } else if (!o->initializer && !(s->word3 & varf_data_initialized)) {
      warning_at(315, s->decl_position, {name_text(s)});
    }
  }
}

// An external procedure (class 19, or 17 referenced as a procedure): its
// routine object, subroutine or function by its use and type.
void complete_external(symbol_entry* s) {
  type* t = static_cast<type*>(s->entity.get());
  bool no_type = !t || t->type_code == tk_unknown;
  type* result;
  int cls;
  if (s->flags & symf_proc_ref) {
    if ((s->flags & symf_called) && (no_type || (s->flags & symf_type_implicit))) {
      result = void_type();
    } else {
      if (no_type) {
        implicit_type_of(s);
        t = static_cast<type*>(s->entity.get());
      }
      result = t ? t : error_type();
    }
    cls = result->type_code != tk_void ? sym_external_function : sym_external_subroutine;
  } else if (!no_type) {
    result = t;
    cls = sym_external_function;
  } else {
    result = unspec_routine_type();
    cls = sym_unknown_external;
  }
  symbol_set_class(s, cls);
  object* o = new_routine_object(s, result);
  o->type->has_param_info = false;
  o->corresp.scope_depth = 0;
  o->storage_class = sc_external;
  s->entity = o;
  external_name_check(s);
}

type* routine_result(symbol_entry* s) {
  auto* o = static_cast<object*>(s->entity.get());
  return o && o->type && o->type->type_code == tk_routine ? o->type->return_type.get() : nullptr;
}
void set_routine_result(symbol_entry* s, type* t) {
  auto* o = static_cast<object*>(s->entity.get());
  if (o && o->type && o->type->type_code == tk_routine) o->type->return_type = t;
}

// A dummy known to be a procedure gets a routine type of result t.
void make_procedure_dummy(symbol_entry* s, int cls, type* t) {
  reclass_keep_entity(s, cls);
  auto* o = static_cast<object*>(s->entity.get());
  if (!o) return;
  if (!o->type || o->type->type_code != tk_routine) o->type = routine_type(o, t);
  else o->type->return_type = t;
  o->storage_class = sc_external;
}

// Whether a link's path through the outer levels ends at a declared
// symbol (a link that still has a target somewhere).
bool declared_in_a_host(const symbol_entry* link) {
  const symbol_entry* t = link->link;
  for (int n = 0; t && t->cls == sym_host_link && n < alias_chain_limit; ++n) t = t->link;
  return t != nullptr && t->cls != sym_host_link;
}

}  // namespace

symbol_entry* resolve_alias_link(symbol_entry* link) {
  if (!link || link->cls != sym_host_link) return link;
  symbol_entry* target = link->link;
  for (int n = 0; target && target->cls == sym_host_link && n < alias_chain_limit; ++n) {
    symbol_entry* next = resolve_alias_link(target);
    if (next == target) break;
    target = next;
  }
  target = follow_aliases(target);
  if (target && target->cls != sym_host_link) {
    uint32_t uses = link_use_flags(link);
    symbol_set_class(link, sym_alias);
    link->entity = target;
    target->flags |= uses;
    return target;
  }
  uint32_t uses = link_use_flags(link);
  if (!uses) return nullptr;
  type* carried = static_cast<type*>(link->entity.get());
  symbol_set_class(link, sym_undeclared);
  // The name keeps the uses its link saw: those of contained procedures
  // came as the link's own marks, not as its flags.
  link->flags |= symf_unresolved | uses;
  if (carried && carried->type_code != tk_unknown) {
    link->entity = carried;
    link->flags |= symf_type_explicit | symf_type_implicit;
  }
  return link;
}

bool symbol_names_array(const symbol_entry* s) {
  for (int n = 0; s && n < alias_chain_limit; ++n) {
    if (s->cls == sym_alias)
      s = static_cast<const symbol_entry*>(s->entity.get());
    else if (s->cls == sym_host_link)
      s = s->link;
    else
      break;
  }
  if (!s || !s->entity) return false;
  // A name declared and not used yet holds its type; a variable its object.
  if (s->cls == sym_undeclared) return static_cast<const type*>(s->entity.get())->type_code == tk_farray;
  if (s->cls != sym_variable && s->cls != sym_dummy) return false;
  const auto* o = static_cast<const object*>(s->entity.get());
  return o->type && o->type->type_code == tk_farray;
}

symbol_entry* resolve_alias_chain(symbol_entry* first, int level) {
  int cur = symtab.cur_scope;
  bool in_body = symtab.interface_depth > 0;
  symbol_entry* s = first;
  for (; s; s = s->next_same_name) {
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block) continue;
    if (in_body && s->level >= 1 && s->level <= cur - 1) continue;
    break;
  }
  if (!s) return nullptr;
  symbol_entry* first_alias = s->cls == sym_alias ? s : nullptr;
  symbol_entry* result = s;
  for (int n = 0; result && result->cls == sym_alias && result->entity && n < alias_chain_limit; ++n) {
    result = static_cast<symbol_entry*>(result->entity.get());
    result->flags |= symf_referenced;
  }
  if (!result) return nullptr;
  if (result->cls == sym_host_link) {
    result = resolve_alias_link(result);
  } else if (result->cls == sym_forward_derived_type) {
    result = follow_aliases(symbol_complete(result));
  }
  if (!result) return nullptr;
  if (result->level >= level || !first_alias) return result;
  // Found in an outer level through an alias: the levels in between get
  // their own alias, so that the next lookups there find the symbol directly.
  for (int l = level; l > first_alias->level; --l) {
    if (l < 0 || l > cur) continue;
    symbol_entry* a = symbol_create(sym_alias, result->name, result->decl_position, l);
    a->entity = result;
  }
  return result;
}

// The predefined symbol of a name of the generic class, else of the
// specific class.
static symbol_entry* find_predefined(symbol_entry* s, int generic_cls, int specific_cls) {
  if (!s || !s->name || s->name == names.error_name) return nullptr;
  symbol_entry* specific = nullptr;
  for (symbol_entry* p = s->name->first_symbol; p; p = p->next_same_name) {
    if (p->level != predefined_level) continue;
    if (p->cls == generic_cls) return p;
    if (p->cls == specific_cls && !specific) specific = p;
  }
  return specific;
}

symbol_entry* find_intrinsic_function(symbol_entry* s) {
  return find_predefined(s, sym_intrinsic_function, sym_specific_intrinsic);
}

symbol_entry* find_intrinsic_subroutine(symbol_entry* s) {
  return find_predefined(s, sym_intrinsic_subroutine, sym_specific_intrinsic_sub);
}

bool type_from_use(const type* t) {
  if (!t || !t->module) return false;
  // The unit's record of a module read from its file has no scope; a module
  // of the same source is the module itself, and differs from the unit that
  // holds the type's symbol.
  if (!t->module->assoc_scope) return true;
  return t->symbol && t->module != unit_routine_of_level(t->symbol->level);
}

symbol_entry* symbol_complete(symbol_entry* s) {
  if (!s) return s;
  switch (s->cls) {
    case sym_derived_type:
      // A type brought in by USE was declared in its own module, public
      // there; PRIVATE here only keeps its name from being passed on, so
      // the flag its module gave it stands.
      if (auto* t = static_cast<type*>(s->entity.get()); t && !type_from_use(t))
        t->is_public = (s->flags & symf_public) != 0;
      break;
    case sym_variable:
      complete_variable(s);
      break;
    case sym_external_subroutine:
    case sym_external_function:
      if (untyped(s)) implicit_type_of(s);
      external_name_check(s);
      break;
    case sym_stmt_function:
    case sym_stmt_func_dummy:
    case sym_dummy_function:
      if (untyped(s)) implicit_type_of(s);
      break;
    case sym_stmt_label:
      if (!(s->word2 & labelf_defined)) error_at(308, s->decl_position, {name_text(s)});
      break;
    case sym_outer_implied_do_var: {
      type* t = static_cast<type*>(s->entity.get());
      symbol_set_class(s, sym_variable);
      object* o = new_object();
      o->type = t ? t : unknown_type();
      o->storage_class = sc_implied_do_var;
      set_source_corresp(o, s);
      s->entity = o;
      break;
    }
    case sym_undeclared: {
      if (!(s->flags & symf_proc_ref) || is_array(static_cast<type*>(s->entity.get()))) {
        if (untyped(s)) implicit_type_of(s);
        name_pos_record n{s->name, s->decl_position};
        return symbol_as_variable(s, &n);
      }
      // Only an intrinsic of the kind the reference asks for: a name called
      // by CALL that is an intrinsic function only (CALL RANGE(...)) is an
      // external subroutine, and a function reference to a name that is an
      // intrinsic subroutine only is an external function.
      bool called = (s->flags & symf_called) != 0;
      symbol_entry* intrinsic = called ? find_intrinsic_subroutine(s) : find_intrinsic_function(s);
      if (intrinsic) {
        name_pos_record n{s->name, s->decl_position};
        return declare_intrinsic_name(s, &n);
      }
      reclass_keep_entity(s, sym_external_named);
      complete_external(s);
      break;
    }
    case sym_external_named:
      complete_external(s);
      break;
    case sym_module_procedure:
      error_at(337, s->decl_position, {name_text(s)});
      break;
    case sym_forward_derived_type:
      if (s->link) {
        symbol_entry* target = s->link;
        symbol_set_class(s, sym_alias);
        s->entity = target;
        return target;
      }
      error_at(455, s->decl_position, {name_text(s)});
      reclass_keep_entity(s, sym_derived_type);
      break;
    case sym_unknown_external:
      if (!(s->flags & symf_proc_ref)) {
        set_routine_result(s, unspec_routine_type());
      } else if (s->flags & symf_called) {
        reclass_keep_entity(s, sym_external_subroutine);
        set_routine_result(s, void_type());
      } else {
        reclass_keep_entity(s, sym_external_function);
        type* r = routine_result(s);
        if (!r || r->type_code == tk_unspec_routine || r->type_code == tk_unknown) {
          set_routine_result(s, unknown_type());
          s->flags &= ~symf_type_explicit;
          implicit_type_of(s);
        }
      }
      external_name_check(s);
      break;
    case sym_dummy: {
      auto* o = static_cast<object*>(s->entity.get());
      if ((s->flags & symf_proc_ref) && !(o && is_array(o->type))) {
        if ((s->flags & symf_called) && untyped(s)) {
          make_procedure_dummy(s, sym_dummy_subroutine, void_type());
        } else {
          bool no_type = untyped(s);
          make_procedure_dummy(s, sym_dummy_function, no_type ? unspec_routine_type() : o->type.get());
          if (no_type) {
            s->flags &= ~symf_type_explicit;
            implicit_type_of(s);
          }
        }
      } else {
        reclass_keep_entity(s, sym_variable);
        if (untyped(s)) implicit_type_of(s);
      }
      break;
    }
    case sym_dummy_procedure:
      if (!(s->flags & symf_proc_ref)) {
        make_procedure_dummy(s, sym_dummy_procedure, unspec_routine_type());
      } else if (s->flags & symf_called) {
        make_procedure_dummy(s, sym_dummy_subroutine, void_type());
      } else {
        type* r = routine_result(s);
        make_procedure_dummy(s, sym_dummy_function, r ? r : unspec_routine_type());
        if (!r || r->type_code == tk_unspec_routine || r->type_code == tk_unknown) {
          set_routine_result(s, unspec_routine_type());
          s->flags &= ~symf_type_explicit;
          implicit_type_of(s);
        }
      }
      break;
    case sym_generic:
      if (auto* i = static_cast<interface*>(s->entity.get())) i->is_public = (s->flags & symf_public) != 0;
      break;
    case sym_namelist:
      if (auto* g = static_cast<namelist_group*>(s->entity.get())) g->is_public = (s->flags & symf_public) != 0;
      break;
    case sym_host_link: {
      symbol_entry* target = s->link;
      // In a contained procedure every host is complete: a name that no host
      // declares is the procedure's own local, unless it is used as a
      // procedure or passed as an actual argument (a sibling procedure
      // defined later may still take it).
      if (target && !(s->flags & (symf_proc_ref | symf_called)) &&
          !(s->word2 & linkf_actual_argument) && s->level >= 0 &&
          scope_at(s->level).kind == sk_unit && !declared_in_a_host(s)) {
        s->link = nullptr;
        target = nullptr;
      }
      if (!target) {
        // A name used in this unit and declared nowhere: settled here like
        // an undeclared name (a variable with its implicit type, or an
        // external procedure), unless it was never really used.
        if (resolve_alias_link(s) == s && s->cls == sym_undeclared) return symbol_complete(s);
        break;
      }
      uint32_t procedure_flags = s->flags & (symf_proc_ref | symf_called);
      if (target->cls == sym_host_link) {
        uint32_t uses = link_use_flags(s);
        if (uses & symf_referenced) target->word2 |= linkf_referenced;
        if (uses & symf_in_bound) target->word2 |= linkf_in_bound;
        // A variable that no host declares is typed by the IMPLICIT rules
        // of the procedure that uses it, not by those of its host.
        if (!procedure_flags && s->entity && !declared_in_a_host(s)) target->entity = s->entity;
      } else {
        target->flags |= link_use_flags(s);
      }
      target->flags |= procedure_flags;
      break;
    }
    default:
      break;
  }
  return s;
}
