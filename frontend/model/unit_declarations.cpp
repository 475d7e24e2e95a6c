// Declarations of program units, procedures and external names: the class of
// a unit or procedure name from its context, its routine object and routine
// type, its attachment to the unit, and the one global record per external
// name against which every use of the name in the file is checked.
#include "frontend/model/unit_declarations.h"

#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/base/pools.h"
#include "frontend/model/tokens.h"
#include "frontend/model/dummies.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/types.h"

namespace {

// Longest name the case check folds; longer names are folded in part.
constexpr uint32_t max_folded_name = 5320;

std::string name_text(const atom* a) { return a && a->text ? std::string(a->text, a->length) : std::string(); }

// An interned-name record with empty text that is not entered in the name
// hash: the shared name of unnamed main programs, BLOCK DATA or COMMON.
atom* shared_empty_name(atom*& slot) {
  if (!slot) {
    slot = pool_new<atom>();
    slot->text = pool_copy_string("");
    slot->length = 0;
  }
  return slot;
}

int host_level() { return symtab.cur_scope > 0 ? symtab.cur_scope - 1 : 0; }
bool in_interface_body() { return symtab.interface_depth > 0; }

bool is_module_unit(const object* o) { return o && o->storage_class == sc_module; }

// The unit of the current level has a module as host.
bool host_is_module() { return is_module_unit(unit_routine_of_level(host_level())); }

// The class of the unit being compiled (its main routine's symbol), or -1.
int current_unit_class() {
  if (symtab.cur_scope < 0) return -1;
  scope* u = current_scope_record().il_scope;
  if (!u || !u->assoc_routine || !u->assoc_routine->symbol) return -1;
  return u->assoc_routine->symbol->cls;
}

// An in-scope symbol of the name at the current level or deeper, other than
// a COMMON block name and (when allow_undeclared) an undeclared name.
bool declared_here_or_deeper(const atom* name, bool allow_undeclared) {
  if (!name) return false;
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name) {
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block) continue;
    if (s->level < symtab.cur_scope) continue;
    if (allow_undeclared && s->cls == sym_undeclared) continue;
    return true;
  }
  return false;
}

// Merges a host link's own referenced and used-in-bounds marks into its flags.
void merge_link_flags(symbol_entry* s) {
  if (s->word2 & linkf_referenced) s->flags |= symf_referenced;
  if (s->word2 & linkf_in_bound) s->flags |= symf_in_bound;
}

// The out-of-scope class-20 symbol of a name at a level.
symbol_entry* hidden_module_procedure(const atom* name, int level) {
  if (!name) return nullptr;
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name)
    if (!(s->flags & symf_in_scope) && s->level == level && s->cls == sym_module_procedure) return s;
  return nullptr;
}

symbol_entry* make_level0_unit_symbol(int cls, name_pos_record* name) {
  return symbol_create(cls, name->name, name->pos, 0);
}

void make_unit_alias(symbol_entry* target) {
  if (symtab.cur_scope < 1 || !target || target->name == names.error_name) return;
  symbol_entry* a = symbol_create_quiet(sym_alias, target->name, target->decl_position, 1);
  a->entity = target;
}

// What an existing symbol of the subprogram's name leaves for the declaration.
struct SubprogramPlan {
  symbol_entry* symbol;   // the symbol that becomes the procedure
  object* reused;         // a routine object to reuse, or null
  bool dummy_procedure;   // a dummy in an interface body: the dummy becomes the procedure
  bool hide_afterwards;   // the symbol leaves the scope when declared
  int msg;                // error to report at the name, 0 for none
};

// The common part of SUBROUTINE and FUNCTION: the plan for an existing symbol
// of classes 20, 23, 27 and 31 and for the error cases; undeclared names and
// no symbol are left to the callers.
void plan_existing(SubprogramPlan& p, int cls, bool internal_cls, name_pos_record* name, int L) {
  symbol_entry* s = p.symbol;
  switch (s->cls) {
    case sym_module_procedure:
      if (internal_cls && !is_module_unit(unit_routine_of_level(L))) {
        p.msg = 20;
        return;
      }
      p.reused = static_cast<object*>(s->entity.get());
      return;
    case sym_dummy:
      if (in_interface_body()) {
        p.dummy_procedure = true;
        return;
      }
      p.msg = 19;
      return;
    case sym_generic:
      if (in_interface_body()) {
        if (L >= 0 && scope_at(L).cur_interface && scope_at(L).cur_interface == s->entity) {
          p.symbol = symbol_create_quiet(sym_undeclared, name->name, name->pos, L);
          p.hide_afterwards = true;
          return;
        }
        p.msg = 19;
        return;
      }
      if (internal_cls && is_module_unit(unit_routine_of_level(L))) {
        if (symbol_entry* hidden = hidden_module_procedure(name->name, L)) {
          p.symbol = hidden;
          p.reused = static_cast<object*>(hidden->entity.get());
          p.hide_afterwards = true;
          return;
        }
      }
      p.msg = 19;
      return;
    case sym_host_link:
      merge_link_flags(s);
      return;
    default:
      (void)cls;
      p.msg = 19;
      return;
  }
}

// Gives the planned symbol its class and routine object and attaches it.
symbol_entry* finish_subprogram(SubprogramPlan& p, int cls, type* result, name_pos_record* name, int L) {
  if (p.msg) {
    error_at(p.msg, name->pos);
    // The procedure goes on under its name with a fresh symbol, so that the
    // symbol that conflicted keeps what it was.
    if (p.symbol && p.symbol->cls != sym_undeclared && p.symbol->cls != sym_host_link)
      p.symbol = symbol_create_quiet(sym_undeclared, name->name, name->pos, L);
    p.reused = nullptr;
    p.dummy_procedure = false;
  }
  symbol_entry* s = p.symbol;
  object* o;
  if (p.dummy_procedure) {
    o = static_cast<object*>(s->entity.get());
    symbol_set_class(s, cls == sym_external_subroutine || cls == sym_internal_subroutine ? sym_dummy_subroutine
                                                                                       : sym_dummy_function);
    if (!o) {
      o = new_object();
      set_source_corresp(o, s);
    }
    s->entity = o;
    o->storage_class = sc_external;
    o->type = routine_type(o, result);
  } else if (p.reused) {
    symbol_set_class(s, cls);
    o = p.reused;
    s->entity = o;
    set_entry_position(o, s);
    // A procedure named by MODULE PROCEDURE before its definition: it stands
    // where it is defined, and in its host's list like any other.
    o->corresp.decl_position = name->pos;
    if ((cls == sym_internal_subroutine || cls == sym_internal_function) && !unit_has_entity(o, L))
      unit_add_entity(o, L);
    if (!o->type || o->type->type_code != tk_routine)
      o->type = routine_type(o, result);
    else
      o->type->return_type = result;
    s->flags |= symf_type_explicit;
  } else {
    symbol_set_class(s, cls);
    o = new_routine_object(s, result);
    if (result->type_code != tk_unknown) s->flags |= symf_type_explicit;
    if (cls == sym_internal_subroutine || cls == sym_internal_function) unit_add_entity(o, L);
  }
  attach_unit_routine(o);
  if (p.hide_afterwards) s->flags &= ~symf_in_scope;
  return s;
}

// The plan for a SUBROUTINE, FUNCTION or ENTRY name at the host level L:
// no symbol or an undeclared name become the procedure unless they clash
// with a COMMON block name or (not for a function ENTRY) an explicit type.
SubprogramPlan plan_subprogram(symbol_entry* s, name_pos_record* name, int cls, bool function, bool is_entry, int L) {
  if (s && s->level != L) s = nullptr;
  SubprogramPlan p{s, nullptr, false, false, 0};
  bool external = cls == sym_external_subroutine || cls == sym_external_function;
  if (!s) {
    if (external && name_is_common_block(name->name)) p.msg = 19;
    p.symbol = symbol_create(sym_undeclared, name->name, name->pos, L);
  } else if (s->cls == sym_undeclared) {
    bool typed = (s->flags & symf_type_explicit) && !(s->flags & symf_type_implicit);
    if ((external && name_is_common_block(name->name)) || (typed && !(function && is_entry))) p.msg = 19;
  } else {
    plan_existing(p, cls, cls == sym_internal_subroutine || cls == sym_internal_function, name, L);
  }
  return p;
}

bool entry_refused(int internal_cls, bool allow_undeclared, name_pos_record* name) {
  if (current_unit_class() == internal_cls && !host_is_module()) {
    error_at(194, name->pos);
    return true;
  }
  if (declared_here_or_deeper(name->name, allow_undeclared)) {
    error_at(19, name->pos);
    drop_name(name);
  }
  return false;
}

// The routine type of an object, or null.
type* routine_type_of(object* o) { return o && o->type && o->type->type_code == tk_routine ? o->type : nullptr; }

// G becomes the routine of the unit OWN was the routine of.
void make_unit_routine(scope* unit, object* own, object* g) {
  unit->assoc_routine = g;
  for (object* o = unit->objects; o; o = o->next)
    if (o->assoc_routine == own) o->assoc_routine = g;
  if (unit->function_result_var && unit->function_result_var->result_var_function == own)
    unit->function_result_var->result_var_function = g;
}

// G's object takes the place of a definition's own routine object: its
// position, its unit and its role there (main routine or alternate entry).
void take_over_definition(object* g, object* own) {
  decl_ctx.interface_bodies.erase(g);
  g->corresp.decl_position = own->corresp.decl_position;
  unit_remove_entity(g);
  g->corresp.scope_depth = 0;
  unit_add_entity(g, 0);
  scope* unit = own->assoc_scope;
  g->assoc_scope = unit;
  if (!unit) return;
  if (unit->assoc_routine == own) {
    g->is_host = own->is_host;
    make_unit_routine(unit, own, g);
  } else {
    g->is_fortran_entry = true;
    for (entry_description* e = unit->entries; e; e = e->next)
      if (e->assoc_routine == own) e->assoc_routine = g;
    if (unit->function_result_var && unit->function_result_var->result_var_function == own)
      unit->function_result_var->result_var_function = g;
  }
  for (entry_description* e = unit->entries; e; e = e->next)
    if (e->function_result_var && e->function_result_var->result_var_function == own)
      e->function_result_var->result_var_function = g;
}

// An external procedure first known by a reference and then described by an
// interface body, with no definition yet: G's object takes the interface
// body's unit, as it would had the interface body come first. The routine
// type's parameter bounds name the interface body's dummies, so that unit
// must be checked and written with the procedure. A later definition takes
// the unit over again.
void adopt_interface_body(object* g, object* own) {
  scope* unit = own ? own->assoc_scope : nullptr;
  if (!unit || g->assoc_scope || unit->assoc_routine != own) return;
  decl_ctx.interface_bodies.insert(g);
  g->assoc_scope = unit;
  make_unit_routine(unit, own, g);
  // Checked already (at the END of the unit that referenced it): the new unit
  // waits for the END of the unit holding the interface body.
  if (g->header & il_check_mark) decl_ctx.adopted_interface_bodies.push_back(g);
}

// Parameter lists of two specifications of one procedure; returns false after 572.
// Only a definition's list replaces G's: an interface body's list refers to
// the interface body's own dummies, which the definition's routine type must
// not carry.
bool merge_param_lists(symbol_entry* s, object* g, object* own, bool definition) {
  type* gt = routine_type_of(g);
  type* st = routine_type_of(own);
  if (!gt || !st || !st->has_param_info) return true;
  if (gt->has_param_info) {
    if (!param_lists_compatible(st, gt)) {
      error_at(572, s->decl_position, {name_text(s->name)});
      return false;
    }
    if (definition) gt->param_type_list = st->param_type_list;
  } else if (s->cls == sym_external_subroutine) {
    g->type = st;  // the first specification with parameters gives the routine type
    st->assoc_routine = g;
  } else {
    gt->param_type_list = st->param_type_list;
    gt->has_param_info = true;
    gt->has_ellipsis = st->has_ellipsis;
  }
  return true;
}

bool character_length_constant(const type* t) { return t->length.kind == bk_constant; }

// Result types of two specifications of a function; the routine type of G's
// object takes an assumed length from the symbol's side.
bool result_types_agree(type* gt, type* st) {
  type* a = gt->return_type;
  type* b = st->return_type;
  if (!a || !b || a == b || type_equal(a, b)) return true;
  if (a->type_code == tk_farray && b->type_code == tk_farray)
    return array_shape_agree(a, b) && (a->element_type == b->element_type || type_equal(a->element_type, b->element_type));
  if (a->type_code == tk_fcharacter && b->type_code == tk_fcharacter && a->kind == b->kind) {
    if (!character_length_constant(b)) {
      gt->return_type = b;
      return true;
    }
    if (!character_length_constant(a)) return true;
  }
  return false;
}

void share_global(symbol_entry* s, object* g) {
  s->entity = g;
}

}  // namespace

object* new_routine_object(symbol_entry* s, type* result) {
  object* o = new_object();
  o->type = routine_type(o, result ? result : unknown_type());
  set_source_corresp(o, s);
  if (s->name == decl_ctx.unnamed_main_name || s->name == decl_ctx.unnamed_block_data_name) o->corresp.name = nullptr;
  int level;
  if (s->cls == sym_external_subroutine || s->cls == sym_external_function)
    level = 0;
  else if (s->cls == sym_module_procedure)
    level = 1;
  else
    level = symtab.cur_scope > 0 ? symtab.cur_scope - 1 : 0;
  o->corresp.scope_depth = static_cast<uint32_t>(level);
  bool dummy_procedure = s->cls == sym_dummy_function || s->cls == sym_dummy_subroutine;
  o->storage_class = level != 0 && !dummy_procedure ? sc_internal : sc_external;
  if (level != 0) o->assoc_routine = unit_routine_of_level(level);
  o->initializer = nullptr;
  s->entity = o;
  return o;
}

void attach_unit_routine(object* routine) {
  if (routine->type && routine->type->type_code == tk_routine) routine->type->assoc_routine = routine;
  if (symtab.cur_scope < 0) return;
  scope* unit = current_scope_record().il_scope;
  if (!unit) return;
  routine->assoc_scope = unit;
  if (in_interface_body()) decl_ctx.interface_bodies.insert(routine);
  if (!unit->assoc_routine) {
    unit->assoc_routine = routine;
    return;
  }
  routine->is_fortran_entry = true;
  entry_description* e = new_entry_description();
  e->assoc_routine = routine;
  unit_add_entry(e);
}

void set_entry_position(object* routine, symbol_entry* s) {
  routine->symbol = s;
  copy_decl_pos(s, &routine->corresp);
}

symbol_entry* declare_program(name_pos_record* name) {
  symbol_entry* s = make_level0_unit_symbol(sym_main_program, name);
  object* o = new_routine_object(s, void_type());
  attach_unit_routine(o);
  o->storage_class = sc_program;
  if (!the_il_header.main_routine) the_il_header.main_routine = o;
  // The file scope lists the program among its units, in source order.
  unit_add_entity(o, 0);
  make_unit_alias(s);
  return s;
}

symbol_entry* declare_unnamed_main_program(source_pos_record pos) {
  symbol_entry* s = symbol_create(sym_main_program, shared_empty_name(decl_ctx.unnamed_main_name), pos, 0);
  object* o = new_routine_object(s, void_type());
  attach_unit_routine(o);
  o->storage_class = sc_program;
  if (!the_il_header.main_routine) the_il_header.main_routine = o;
  // The file scope lists the program among its units, in source order.
  unit_add_entity(o, 0);
  return s;
}

symbol_entry* declare_module(name_pos_record* name) {
  symbol_entry* s = make_level0_unit_symbol(sym_module, name);
  object* o = new_routine_object(s, new_type(tk_module));
  attach_unit_routine(o);
  o->storage_class = sc_module;
  // The file scope lists the module, so that the unit pass reaches it and
  // its module file is written.
  unit_add_entity(o, 0);
  // What a module declares is public unless a PRIVATE statement says otherwise.
  scope_set_default_access(symtab.cur_scope, true);
  make_unit_alias(s);
  return s;
}

void declare_block_data(const name_pos_record* name) {
  int L = host_level();
  symbol_entry* s;
  if (name) {
    s = symbol_create(sym_block_data, name->name, name->pos, L);
  } else if (decl_ctx.unnamed_block_data_seen) {
    error_at(468, current_statement_pos);
    s = symbol_create(sym_block_data, nullptr, current_statement_pos, L);
  } else {
    decl_ctx.unnamed_block_data_seen = true;
    s = symbol_create(sym_block_data, shared_empty_name(decl_ctx.unnamed_block_data_name), current_statement_pos, L);
  }
  object* o = new_routine_object(s, new_type(tk_blockdata));
  attach_unit_routine(o);
  o->storage_class = sc_blockdata;
}

symbol_entry* declare_subroutine(symbol_entry* s, name_pos_record* name, bool is_entry) {
  int L = host_level();
  int cls = L == 0 || in_interface_body() ? sym_external_subroutine : sym_internal_subroutine;
  if (is_entry) entry_refused(sym_internal_subroutine, false, name);
  SubprogramPlan p = plan_subprogram(s, name, cls, false, is_entry, L);
  return finish_subprogram(p, cls, void_type(), name, L);
}

symbol_entry* declare_function(symbol_entry* s, name_pos_record* name, type* result, bool is_entry) {
  int L = host_level();
  int cls = L == 0 || in_interface_body() ? sym_external_function : sym_internal_function;
  if (!result) result = unknown_type();
  if (is_entry) entry_refused(sym_internal_function, true, name);
  if (s && s->level != L) s = nullptr;
  SubprogramPlan p = plan_subprogram(s, name, cls, true, is_entry, L);
  if (!s) {
    if (!p.msg) {
      symbol_set_type(p.symbol, result, false);
      if (result->type_code == tk_unknown && decl_ctx.spec_part_done) {
        implicit_type_of(p.symbol, name->pos);
        if (type* t = symbol_type(p.symbol)) result = t;
      }
    }
  } else if (s->cls == sym_undeclared) {
    if (!p.msg && result->type_code == tk_unknown && s->entity) result = static_cast<type*>(s->entity.get());
  } else {
    if (!p.msg && result->type_code == tk_unknown) {
      // Without a given type the result comes from what the name had.
      object* had = p.reused ? p.reused : (p.dummy_procedure ? static_cast<object*>(s->entity.get()) : nullptr);
      if (had && had->type) {
        type* t = had->type->type_code == tk_routine ? had->type->return_type : had->type;
        if (t && t->type_code != tk_unspec_routine) result = t;
      }
    }
  }
  return finish_subprogram(p, cls, result, name, L);
}

symbol_entry* declare_module_procedure_name(symbol_entry* s, name_pos_record* name) {
  int cur = symtab.cur_scope;
  bool hide = false;
  if (s) {
    switch (s->cls) {
      case sym_internal_subroutine:
      case sym_internal_function: {
        auto* o = static_cast<object*>(s->entity.get());
        if (o && (o->storage_class == sc_mod_proc || is_module_unit(o->assoc_routine))) return s;
        error_at(19, name->pos);
        s = nullptr;
        break;
      }
      case sym_module_procedure:
        return s;
      case sym_undeclared: {
        auto* t = static_cast<type*>(s->entity.get());
        if (t && t->type_code != tk_unknown && t->type_code != tk_error) {
          error_at(19, name->pos);
          s = nullptr;
        }
        break;
      }
      case sym_generic:
        if (cur >= 0 && scope_at(cur).cur_interface && scope_at(cur).cur_interface == s->entity) {
          hide = true;
        } else {
          error_at(19, name->pos);
        }
        s = nullptr;
        break;
      case sym_host_link:
        merge_link_flags(s);
        break;
      default:
        error_at(19, name->pos);
        s = nullptr;
        break;
    }
  }
  if (!s)
    s = symbol_create_quiet(sym_module_procedure, name->name, name->pos, cur);
  else
    symbol_set_class(s, sym_module_procedure);
  new_routine_object(s, unspec_routine_type());
  if (hide) s->flags &= ~symf_in_scope;
  return s;
}

symbol_entry* declare_intrinsic_name(symbol_entry* s, name_pos_record* name) {
  if (s && s->cls >= sym_specific_intrinsic && s->cls <= sym_intrinsic_subroutine) return s;
  type* declared = nullptr;
  if (s && (s->cls == sym_undeclared || s->cls == sym_host_link) && (s->flags & symf_type_explicit) &&
      !(s->flags & symf_type_implicit))
    declared = static_cast<type*>(s->entity.get());
  if (s && s->cls != sym_undeclared && s->cls != sym_host_link) {
    error_at(19, name->pos);
    drop_name(name);
    s = nullptr;
  }
  if (!s) s = symbol_create(sym_undeclared, name->name, name->pos, symtab.cur_scope);
  symbol_entry* found = nullptr;
  static constexpr int search_order[] = {sym_intrinsic_function, sym_specific_intrinsic, sym_intrinsic_subroutine,
                                         sym_specific_intrinsic_sub};
  for (int cls : search_order) {
    for (symbol_entry* p = s->name ? s->name->first_symbol : nullptr; p && !found; p = p->next_same_name)
      if (p->level == predefined_level && p->cls == cls) found = p;
    if (found) break;
  }
  if (!found) {
    if (s->name != names.error_name) error_at(95, name->pos);
    return s;
  }
  symbol_set_class(s, found->cls);
  s->entity = found->entity;
  s->word1 = found->word1;
  if (declared && declared->type_code != tk_unknown) {
    bool agrees = true;
    if (found->cls == sym_specific_intrinsic_sub || found->cls == sym_intrinsic_subroutine) {
      agrees = false;
    } else if (found->cls == sym_specific_intrinsic) {
      auto* specific = static_cast<intrinsic_specific*>(found->entity.get());
      type* r = specific && specific->signature_object && specific->signature_object->type
                    ? specific->signature_object->type->return_type.get()
                    : nullptr;
      if (r) agrees = r == declared || type_equal(r, declared) || arg_type_agree(declared, r);
    } else {
      // A generic agrees when one of its specific procedures returns the type;
      // the specifics are known once the intrinsic table is built.
      auto* d = static_cast<intrinsic_descriptor*>(found->entity.get());
      bool any_known = false;
      bool any_agrees = false;
      for (uint32_t i = 0; i < symtab.specific_count; ++i) {
        intrinsic_specific& sp = symtab.specifics[i];
        if (sp.descriptor != d || !sp.signature_object || !sp.signature_object->type) continue;
        type* r = sp.signature_object->type->return_type;
        if (!r) continue;
        any_known = true;
        if (r == declared || type_equal(r, declared) || arg_type_agree(declared, r)) any_agrees = true;
      }
      if (any_known) agrees = any_agrees;
    }
    if (!agrees) error_at(578, s->decl_position);
    s->word1 |= 1u;
  }
  return s;
}

void external_name_case_check(name_pos_record* name) {
  if (!names.case_sensitive_identifiers || !name->name || name->name == names.error_name) return;
  uint32_t n = name->name->length < max_folded_name ? name->name->length : max_folded_name;
  std::string folded(name->name->text, n);
  for (char& c : folded) c = static_cast<char>(name_fold[static_cast<unsigned char>(c)]);
  atom* key = name_intern(folded);
  for (symbol_entry* s = key->first_symbol; s; s = s->next_same_name) {
    if (s->cls != sym_folded_external) continue;
    auto* spelling = static_cast<atom*>(s->entity.get());
    if (spelling != name->name) error_at(256, name->pos, {name_text(spelling)});
    return;
  }
  symbol_entry* record = symbol_create_quiet(sym_folded_external, key, name->pos, predefined_level);
  record->entity = name->name;
}

symbol_entry* external_name_check(symbol_entry* s) {
  if (!s || !s->name || s->name == names.error_name) return nullptr;
  auto* own = static_cast<object*>(s->entity.get());
  if (name_is_common_block(s->name)) {
    error_at(253, s->decl_position, {name_text(s->name)});
    return nullptr;
  }
  symbol_entry* g = global_symbol_of(s->name);
  if (!g) {
    if (!own) return nullptr;
    unit_remove_entity(own);
    unit_add_entity(own, 0);
    name_pos_record n{s->name, s->decl_position};
    external_name_case_check(&n);
    g = symbol_create_quiet(s->cls, s->name, s->decl_position, 0);
    g->flags &= ~symf_in_scope;
    g->entity = own;
    return g;
  }
  auto* gobj = static_cast<object*>(g->entity.get());
  if (gobj == own) return g;
  // An interface body specifies the procedure; it does not define it.
  auto defines = [](const object* o) { return o && o->assoc_scope && !decl_ctx.interface_bodies.count(o); };
  bool definition = defines(own);
  bool conflict = false;
  switch (g->cls) {
    case sym_external_subroutine:
    case sym_external_function: {
      if (s->cls == sym_unknown_external) {
        symbol_set_class(s, g->cls);
        share_global(s, gobj);
        return g;
      }
      if (s->cls != g->cls || !own || !gobj) {
        conflict = true;
        break;
      }
      if (definition && defines(gobj) && gobj->assoc_scope != own->assoc_scope) {
        conflict = true;
        break;
      }
      if (g->cls == sym_external_function) {
        type* gt = routine_type_of(gobj);
        type* st = routine_type_of(own);
        if (gt && st && !result_types_agree(gt, st)) {
          error_at(259, s->decl_position, {name_text(s->name)});
          symbol_unlink(g);
          return nullptr;
        }
      }
      merge_param_lists(s, gobj, own, definition);
      share_global(s, gobj);
      if (definition)
        take_over_definition(gobj, own);
      else
        adopt_interface_body(gobj, own);
      return g;
    }
    case sym_block_data:
      if (s->cls == sym_unknown_external) {
        symbol_set_class(s, sym_block_data);
        share_global(s, gobj);
        return g;
      }
      conflict = true;
      break;
    case sym_common_block:
      error_at(253, s->decl_position, {name_text(s->name)});
      symbol_unlink(g);
      return nullptr;
    case sym_unknown_external:
      if (gobj && own && (s->cls == sym_external_subroutine || s->cls == sym_external_function ||
                          s->cls == sym_block_data)) {
        gobj->type = own->type;
        if (gobj->type && gobj->type->type_code == tk_routine) gobj->type->assoc_routine = gobj;
        if (s->cls == sym_block_data) gobj->storage_class = sc_blockdata;
        share_global(s, gobj);
        if (definition) take_over_definition(gobj, own);
        symbol_unlink(g);
        return nullptr;
      }
      if (s->cls == sym_unknown_external && gobj) {
        share_global(s, gobj);
        symbol_unlink(g);
        return nullptr;
      }
      conflict = true;
      break;
    default:
      conflict = true;
      break;
  }
  if (conflict) {
    error_at(255, s->decl_position, {name_text(s->name)});
    symbol_unlink(g);
  }
  return nullptr;
}

symbol_entry* namelist_stmt_name(symbol_entry* s, name_pos_record* name) {
  int cur = symtab.cur_scope;
  if (s && s->cls == sym_namelist) return s;
  if (s && !(s->cls == sym_undeclared && !((s->flags & symf_type_explicit) && !(s->flags & symf_type_implicit)))) {
    error_at(104, name->pos);
    drop_name(name);
    s = nullptr;
  }
  if (!s)
    s = symbol_create(sym_namelist, name->name, name->pos, cur);
  else
    symbol_set_class(s, sym_namelist);
  namelist_group* g = new_namelist_group();
  set_source_corresp(g, s);
  g->original_name = g->corresp.name;
  s->entity = g;
  if (s->name != names.error_name) unit_add_namelist(g, cur);
  return s;
}

void unit_param_types_complete() {
  if (symtab.cur_scope < 0) return;
  scope* unit = current_scope_record().il_scope;
  if (!unit) return;
  auto fill = [](object* routine, object_list_member* dummies) {
    type* t = routine_type_of(routine);
    if (!t) return;
    t->param_type_list = nullptr;
    for (object_list_member* m = dummies; m; m = m->next)
      if (m->object) add_param_type(m->object, routine);
    t->has_param_info = true;
  };
  fill(unit->assoc_routine, unit->parameters);
  for (entry_description* e = unit->entries; e; e = e->next) fill(e->assoc_routine, e->parameters);
}

void unit_external_names_check() {
  if (symtab.cur_scope < 0) return;
  scope* unit = current_scope_record().il_scope;
  if (!unit) return;
  auto check = [](object* routine) {
    symbol_entry* s = routine ? routine->symbol : nullptr;
    if (!s) return;
    if (s->cls == sym_external_subroutine || s->cls == sym_external_function || s->cls == sym_block_data)
      external_name_check(s);
    if (s->level != 0 || !(s->flags & symf_in_scope)) return;
    if (s->cls == sym_module)
      s->flags &= ~symf_in_scope;  // the module's symbol stays as the global record of its name
    else
      symbol_unlink(s);
  };
  check(unit->assoc_routine);
  for (entry_description* e = unit->entries; e; e = e->next) check(e->assoc_routine);
}
