// USE module-name [, rename-list]  |  USE module-name, ONLY: [only-list]
// The module's entities come onto an import level (use_module); each one
// imported is bound to a name of the unit, which gets its own copy of the
// entity's IL entry; the import level is closed at the end.
#include "frontend/parser/use_statement.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/ilfile/module_import.h"
#include "frontend/model/names.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

namespace {

constexpr int msg_expected_identifier = 218;
constexpr int msg_expected_comma = 206;
constexpr int msg_expected_arrow = 229;
constexpr int msg_name_clash = 473;
constexpr int msg_not_in_module = 474;

struct UseState {
  int unit_level;                 // the level of the unit that USEs
  scope* copies_for;              // the unit scope the copies below belong to
  uint32_t copies_generation;     // il_tables_generation of copies_for
  std::unordered_map<const void*, void*> copies;  // module entry -> the unit's copy
  std::unordered_set<symbol_entry*> renamed;      // entities imported under a rename
  std::unordered_set<const type*> copied_types;   // module derived types copied for the unit
  std::vector<object*> copied_variables;          // the unit's copies of module variables
};
UseState use;

std::string atom_text(const atom* a) { return a && a->text ? std::string(a->text, a->length) : std::string(); }

bool fold_equal(const atom* a, const char* word) {
  if (!a || !a->text) return false;
  for (uint32_t i = 0; i < a->length; ++i, ++word)
    if (!*word || name_fold[static_cast<unsigned char>(a->text[i])] != static_cast<unsigned char>(*word)) return false;
  return *word == '\0';
}

// The unit's own symbol of a name (at the unit's level), or null.
symbol_entry* unit_symbol_of(atom* name) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name) {
    if (s->level < use.unit_level) break;
    if (s->level == use.unit_level && (s->flags & symf_in_scope) && s->cls != sym_common_block) return s;
  }
  return nullptr;
}

// In the unit that uses it, the module's name stands for the module (a
// global name), not for a new local variable: an alias of the unit's level
// leads to the module's symbol.
void name_module_in_unit(symbol_entry* module) {
  if (!module || module->cls != sym_module || module->name == names.error_name) return;
  if (unit_symbol_of(module->name)) return;
  symbol_entry* a = symbol_create_quiet(sym_alias, module->name, module->decl_position, use.unit_level);
  a->entity = module;
}

// The module's symbol of a name on the import level, or null.
symbol_entry* import_symbol_of(atom* name) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name)
    if (s->level == symtab.cur_scope && (s->flags & symf_in_scope)) return s;
  return nullptr;
}

// The module symbol that USE names: a symbol visible in the unit, or the
// global record of a module.
symbol_entry* module_name_symbol(atom* name) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name) {
    if (s->cls == sym_module && s->level == 0) return s;
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block || s->cls == sym_host_link) continue;
    if (s->cls == sym_alias && s->entity) return static_cast<symbol_entry*>(s->entity.get());
    return s;
  }
  return nullptr;
}

// A fresh entry made a copy of an original: its own header word, on no list.
template <class T>
T* entry_copy(const T* original, T* fresh) {
  il_entry_header header = fresh->header;
  *fresh = *original;
  fresh->header = header;
  fresh->next = nullptr;
  return fresh;
}

void reset_copies_for_unit() {
  scope* unit = scope_at(use.unit_level).il_scope;
  // A scope of a new compilation may have the address of an earlier one.
  if (use.copies_for == unit && use.copies_generation == il_tables_generation) return;
  use.copies_for = unit;
  use.copies_generation = il_tables_generation;
  use.copies.clear();
  use.copied_types.clear();
  use.copied_variables.clear();
}

// The unit's copy of a module's derived type that it already copied
// through another way: the same type of the same module read along two
// paths (a module and a module that uses it) is one type in the unit.
type* copied_module_type(type* t) {
  if (t->type_code != tk_derived_type || !t->module) return nullptr;
  for (auto& [original, copy] : use.copies) {
    auto* o = static_cast<const type*>(original);
    if (use.copied_types.count(o) && type_equal(const_cast<type*>(o), t))
      return static_cast<type*>(copy);
  }
  return nullptr;
}

// A type as the unit sees it: derived types, arrays and routine types are
// copied (once per unit), the shared intrinsic types stay as they are.
type* copy_type(type* t) {
  if (!t) return nullptr;
  switch (t->type_code) {
    case tk_derived_type:
    case tk_farray:
      break;
    default:
      return t;
  }
  auto it = use.copies.find(t);
  if (it != use.copies.end()) return static_cast<type*>(it->second);
  if (type* same = copied_module_type(t)) {
    use.copies[t] = same;
    return same;
  }
  type* c = pool_new<type>();
  copy_type_entry(t, c);
  c->header = 0;
  c->next = nullptr;
  use.copies[t] = c;
  if (t->type_code == tk_derived_type) use.copied_types.insert(t);
  if (t->type_code == tk_farray) {
    c->element_type = copy_type(t->element_type);
    if (bound_info_entry* b = t->bound_info) {
      // The unit's own bounds block: checks of the unit may rewrite it.
      bound_info_entry* own = new_bound_info_entry(b->rank);
      for (uint32_t i = 0; i < 2 * b->rank; ++i) own->bounds[i] = b->bounds[i];
      c->bound_info = own;
    }
  } else {
    // Its module is the unit's record of the module, which leads to none of
    // the module's own symbols.
    if (c->module) c->module = use_module_object(c->module);
    // The components are the copy's own, leading back to it.
    pool_ref_field<object>* tail = &c->first_field;
    *tail = nullptr;
    for (object* f = t->first_field; f; f = f->next) {
      object* field = entry_copy(f, new_object());
      field->assoc_derived_type = c;
      field->type = copy_type(f->type);
      *tail = field;
      tail = &field->next;
    }
    unit_add_type(c, use.unit_level);
  }
  return c;
}

object* copy_object(object* o) {
  if (!o) return nullptr;
  auto it = use.copies.find(o);
  if (it != use.copies.end()) return static_cast<object*>(it->second);
  object* c = entry_copy(o, new_object());
  use.copies[o] = c;
  c->corresp.scope_depth = static_cast<uint32_t>(use.unit_level);
  c->corresp.referenced = false;
  // The copy belongs to the unit, not to the module's routines.
  c->assoc_routine = nullptr;
  return c;
}

// A copied routine gets its own routine type, whose routine link leads to
// the copy and not back into the module.
void own_routine_type(object* c) {
  if (!c->type || c->type->type_code != tk_routine) return;
  type* t = pool_new<type>();
  copy_type_entry(c->type, t);
  t->header = 0;
  t->next = nullptr;
  t->assoc_routine = c;
  // Its result and dummies have the types as the unit sees them, so a
  // dummy of a module's derived type is of the unit's copy of that type.
  t->return_type = copy_type(t->return_type);
  pool_ref_field<param_type>* tail = &t->param_type_list;
  for (param_type* p = *tail; p; p = p->next) {
    param_type* n = entry_copy(p, new_param_type());
    n->type = copy_type(p->type);
    *tail = n;
    tail = &n->next;
  }
  c->type = t;
}

// The copy of a module variable: use-associated, its module the file scope's
// object of the module.
object* copy_variable(object* o, symbol_entry* local, object* module) {
  bool fresh = !use.copies.count(o);
  // A variable the module itself imported keeps the module that defines it.
  bool imported = o->storage_class == sc_use_associated && o->assoc_module;
  object* defining = fresh ? use_module_object(imported ? o->assoc_module.get() : module) : nullptr;
  // The same variable reached through a module that passes it on is the
  // copy the unit has already.
  for (object* seen : use.copied_variables)
    if (fresh && seen->assoc_module == defining && seen->corresp.name == o->corresp.name) {
      use.copies[o] = seen;
      return seen;
    }
  object* c = copy_object(o);
  if (!fresh) return c;
  c->symbol = local;
  c->type = copy_type(o->type);
  c->storage_class = sc_use_associated;
  c->assoc_module = defining;
  use.copied_variables.push_back(c);
  unit_add_entity(c, use.unit_level);
  return c;
}

// The copy of a module's procedure: no symbol, next link or scope; a module
// procedure's module is the file scope's object of the module.
object* copy_routine(object* o, object* module) {
  bool fresh = !use.copies.count(o);
  object* c = copy_object(o);
  if (!fresh) return c;
  c->symbol = nullptr;
  c->assoc_scope = nullptr;
  own_routine_type(c);
  // A procedure of the module itself moves to the unit's record of the
  // module; one the module imported keeps the module that defines it.
  if (o->storage_class == sc_internal) {
    c->storage_class = sc_mod_proc;
    c->assoc_module = use_module_object(module);
  } else if (o->storage_class == sc_mod_proc) {
    c->assoc_module = use_module_object(o->assoc_module);
  }
  unit_add_entity(c, use.unit_level);
  return c;
}

// The generic interface or intrinsic that a name stands for in an enclosing
// level, which a generic copied into the unit extends.
interface* inherited_interface(const atom* name) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name) {
    if (s->level >= use.unit_level) continue;
    if (s->cls == sym_generic && (s->flags & symf_in_scope)) return static_cast<interface*>(s->entity.get());
    if ((s->cls == sym_intrinsic_function || s->cls == sym_intrinsic_subroutine) && s->entity)
      return static_cast<intrinsic_descriptor*>(s->entity.get())->table_entry;
  }
  return nullptr;
}

interface* copy_interface(interface* i, symbol_entry* local, object* module) {
  // An interface copied for this unit already is reused.
  auto it = use.copies.find(i);
  if (it != use.copies.end()) return static_cast<interface*>(it->second);
  interface* c = entry_copy(i, new_interface_entry());
  c->symbol = local;
  c->routine_prototype_list = nullptr;
  c->inherited = inherited_interface(local ? local->name : i->corresp.name);
  use.copies[i] = c;
  pool_ref_field<object_list_member>* tail = &c->routine_prototype_list;
  for (object_list_member* m = i->routine_prototype_list; m; m = m->next) {
    if (!m->object) continue;
    object_list_member* n = new_object_list_member();
    n->object = copy_routine(m->object, module);
    *tail = n;
    tail = &n->next;
  }
  unit_add_interface(c, use.unit_level);
  return c;
}

namelist_group* copy_namelist(namelist_group* g, symbol_entry* local) {
  namelist_group* c = entry_copy(g, new_namelist_group());
  c->symbol = local;
  c->corresp.name = local->name;
  unit_add_namelist(c, use.unit_level);
  return c;
}

// Gives a local symbol the copy of the module symbol's entity.
void copy_entity(symbol_entry* local, symbol_entry* from, symbol_entry* module) {
  auto* module_object = static_cast<object*>(module->entity.get());
  local->flags |= from->flags & (symf_type_explicit | symf_saved);
  local->flags |= symf_public;
  switch (from->cls) {
    case sym_derived_type: {
      auto* t = static_cast<type*>(from->entity.get());
      type* c = copy_type(t);
      if (local->cls == sym_derived_type && local->entity && local->entity != c &&
          static_cast<type*>(local->entity.get())->type_code != tk_unknown) {
        // A type referenced before its definition keeps its entry.
        auto* own = static_cast<type*>(local->entity.get());
        copy_type_entry(c, own);
        for (object* f = own->first_field; f; f = f->next) f->assoc_derived_type = own;
        c = own;
        use.copies[t] = own;
      }
      c->symbol = local;
      local->entity = c;
      break;
    }
    case sym_variable:
      local->entity = copy_variable(static_cast<object*>(from->entity.get()), local, module_object);
      break;
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function: {
      object* c = copy_routine(static_cast<object*>(from->entity.get()), module_object);
      local->entity = c;
      local->word1 = (local->word1 & ~1u) | (from->word1 & 1u);
      if (from->cls == sym_external_subroutine || from->cls == sym_external_function) external_name_check(local);
      break;
    }
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine:
      local->entity = from->entity;
      local->word1 = from->word1;
      break;
    case sym_generic:
      local->entity = copy_interface(static_cast<interface*>(from->entity.get()), local, module_object);
      break;
    case sym_namelist:
      local->entity = copy_namelist(static_cast<namelist_group*>(from->entity.get()), local);
      break;
    default:
      break;
  }
}

// Where an entity of a module comes from: the name of the module that
// defines it and its own name. The same module read through two module
// files gives two entries of one entity, which this tells apart from two
// different entities of one name. No module: the entry itself tells.
struct Origin {
  const atom* module;  // the defining module's name; null for a global entity
  const atom* name;    // the entity's own name
  const void* entry;   // the entry, where neither name tells
};

Origin origin_of(int cls, const void* entity, const atom* importing) {
  switch (cls) {
    case sym_derived_type: {
      auto* t = static_cast<const type*>(entity);
      return {t->module ? t->module->corresp.name : importing, t->corresp.name, nullptr};
    }
    case sym_variable:
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function: {
      auto* o = static_cast<const object*>(entity);
      switch (o->storage_class) {
        case sc_use_associated:
        case sc_mod_proc:
          if (o->assoc_module) return {o->assoc_module->corresp.name, o->corresp.name, nullptr};
          break;
        case sc_external:
          return {nullptr, o->corresp.name, nullptr};
        default:
          break;
      }
      return {importing, o->corresp.name, nullptr};
    }
    default:
      return {nullptr, nullptr, entity};
  }
}

// Whether a local symbol bound by an earlier USE and a module's symbol stand
// for the same entity.
bool same_entity(const symbol_entry* local, const symbol_entry* from, const symbol_entry* module) {
  if (!local->link) return false;
  if (local->link->entity == from->entity) return true;
  if (local->cls != from->cls || !local->entity || !from->entity) return false;
  Origin mine = origin_of(local->cls, local->entity, nullptr);
  Origin theirs = origin_of(from->cls, from->entity, module->name);
  if (mine.entry || theirs.entry) return false;
  return mine.module == theirs.module && mine.name == theirs.name;
}

// Whether a generic's list already holds the procedure, the same one
// reached through another module.
bool holds_procedure(const interface* generic, const object* routine, const atom* importing) {
  Origin theirs = origin_of(sym_internal_function, routine, importing);
  for (const object_list_member* m = generic->routine_prototype_list; m; m = m->next) {
    if (!m->object) continue;
    if (m->object == routine) return true;
    Origin mine = origin_of(sym_internal_function, m->object, nullptr);
    if (!mine.entry && !theirs.entry && mine.name == theirs.name && mine.module == theirs.module) return true;
  }
  return false;
}

// The module's procedures added to a local generic interface; one the
// generic already has (the module re-exports what another USE brought in)
// is not added twice.
void merge_generic(symbol_entry* local, symbol_entry* from, symbol_entry* module) {
  auto* mine = static_cast<interface*>(local->entity.get());
  auto* theirs = static_cast<interface*>(from->entity.get());
  if (!mine || !theirs) return;
  pool_ref_field<object_list_member>* tail = &mine->routine_prototype_list;
  while (*tail) tail = &(*tail)->next;
  for (object_list_member* m = theirs->routine_prototype_list; m; m = m->next) {
    if (!m->object || holds_procedure(mine, m->object, module->name)) continue;
    object_list_member* n = new_object_list_member();
    n->object = copy_routine(m->object, static_cast<object*>(module->entity.get()));
    *tail = n;
    tail = &n->next;
  }
}

// The local name (with an optional "=>" use name): reads one rename item
// from its first token; returns false after a syntax error.
bool read_name(name_pos_record* out) {
  if (scan.cur_token != tok_name) {
    syntax_error(msg_expected_identifier);
    return false;
  }
  *out = current_name_token();
  scan_token(expression_mode);
  return true;
}

// Skips a faulty item up to the next "," (not consumed) or the end.
void skip_item() {
  while (scan.cur_token != tok_comma && scan.cur_token != tok_eos) {
    if (scan.cur_token == tok_lparen)
      skip_paren_group(expression_mode);
    else
      scan_token(expression_mode);
  }
}

// An item of an ONLY list: [local =>] name | OPERATOR (op) | ASSIGNMENT (=).
void only_item(symbol_entry* module) {
  name_pos_record local{};
  bool renamed = false;
  if (scan.cur_token == tok_name && quiet_peek_for(tok_arrow) == 1) {
    scan_cursor at = scan_save();
    name_pos_record first = current_name_token();
    scan_token(expression_mode);
    if (scan.cur_token == tok_arrow) {
      local = first;
      renamed = true;
      scan_token(expression_mode);
    } else {
      scan_restore(at);
    }
  }
  name_pos_record used{};
  if (scan.cur_token == tok_name || scan.cur_token == tok_operator || scan.cur_token == tok_assignment) {
    used = current_name_token();
    bool assignment = fold_equal(scan.token_atom, "ASSIGNMENT");
    bool generic_form = assignment || fold_equal(scan.token_atom, "OPERATOR");
    scan_token(generic_form ? expression_mode | scan_single_lparen : expression_mode);
    if (generic_form && scan.cur_token == tok_lparen) {
      // The generic's name is the operator's own spelling.
      ::atom* op = scan_generic_operator(assignment);
      used = name_pos_record{op, scan.token_pos};
      if (!op) {
        if (assignment) {
          syntax_error(202);
        } else {
          error_at(222, scan.token_pos);
        }
        return skip_item();
      }
      scan_token(expression_mode);
      if (!expect_token(tok_rparen, 231, expression_mode)) return skip_item();
    }
  } else {
    syntax_error(msg_expected_identifier);
    return skip_item();
  }
  if (!renamed) local = used;
  symbol_entry* from = import_symbol_of(used.name);
  import_entity(unit_symbol_of(local.name), local, from, module);
}

// A rename item: local => use-name.
void rename_item(symbol_entry* module) {
  name_pos_record local{}, used{};
  if (!read_name(&local)) return skip_item();
  if (scan.cur_token != tok_arrow) {
    syntax_error(msg_expected_arrow);
    return skip_item();
  }
  scan_token(expression_mode);
  if (!read_name(&used)) return skip_item();
  symbol_entry* from = import_symbol_of(used.name);
  if (from) use.renamed.insert(from);
  import_entity(unit_symbol_of(local.name), local, from, module);
}

// Items separated by ",": a missing comma is 206 and the item is skipped.
template <class Item>
void item_list(Item item) {
  while (scan.cur_token != tok_eos) {
    item();
    if (scan.cur_token == tok_eos) break;
    if (scan.cur_token != tok_comma) {
      syntax_error(msg_expected_comma);
      skip_item();
      if (scan.cur_token == tok_eos) break;
    }
    scan_token(expression_mode);
  }
}

}  // namespace

object* use_module_object(object* module) {
  if (!module) return nullptr;
  scope* file_scope = scope_at(0).il_scope;
  // A module defined in the source is its own record; a module file written
  // for another module that uses it holds none of its symbols, as the writer
  // gives only the written module its symbols.
  for (object* o = file_scope ? file_scope->objects : nullptr; o; o = o->next)
    if (o->storage_class == sc_module && o->corresp.name == module->corresp.name) return o;
  object* c = entry_copy(module, new_object());
  c->symbol = nullptr;
  c->assoc_scope = nullptr;  // no module file is written for a module only used
  own_routine_type(c);
  unit_add_entity(c, 0);
  return c;
}

void import_entity(symbol_entry* local, name_pos_record name, symbol_entry* entity, symbol_entry* module) {
  if (!entity) {
    error_at(msg_not_in_module, name.pos, {atom_text(module->name)});
    return;
  }
  if (local && local->link == entity) return;  // the same import again
  if (local && (local->cls == sym_undeclared || local->cls == sym_host_link)) {
    symbol_set_class(local, entity->cls);
    local->link = entity;
    local->flags |= symf_referenced;
    copy_entity(local, entity, module);
    return;
  }
  if (local && local->cls == sym_forward_derived_type && entity->cls == sym_derived_type) {
    auto* own = static_cast<type*>(local->entity.get());
    symbol_set_class(local, sym_derived_type);
    local->entity = own;
    local->link = entity;
    local->flags |= symf_referenced;
    copy_entity(local, entity, module);
    return;
  }
  if (local && local->cls == sym_generic && entity->cls == sym_generic) {
    merge_generic(local, entity, module);
    return;
  }
  if (local) {
    if (!local->link) {
      error_at(msg_name_clash, name.pos, {atom_text(name.name), atom_text(module->name)});
    } else if (!same_entity(local, entity, module)) {
      local->flags |= symf_use_clash;
    }
    return;
  }
  symbol_entry* s = symbol_create(entity->cls, name.name, name.pos, use.unit_level);
  s->link = entity;
  s->flags |= symf_referenced;
  copy_entity(s, entity, module);
}

// USE module-name [, rename-list] | USE module-name, ONLY: [only-list]
int use_statement() {
  int t = scan_after_keyword(expression_mode);
  if (t != tok_name) {
    syntax_error(msg_expected_identifier);
    return 0;
  }
  name_pos_record name = current_name_token();
  use.unit_level = symtab.cur_scope;
  use.renamed.clear();
  reset_copies_for_unit();
  symbol_entry* module = use_module(module_name_symbol(name.name), name);
  scan_token(expression_mode);
  if (!usable_module(module)) {
    while (scan.cur_token != tok_eos) scan_token(expression_mode);
    scope_end_unit();
    return 1;
  }
  bool only = false;
  if (scan.cur_token == tok_comma) {
    scan_token(expression_mode);
    if (scan.cur_token == tok_name && fold_equal(scan.token_atom, "ONLY")) {
      scan_cursor at = scan_save();
      scan_token(expression_mode);
      if (scan.cur_token == tok_colon) {
        only = true;
        scan_token(expression_mode);
      } else {
        scan_restore(at);
      }
    }
    if (only)
      item_list([&] { only_item(module); });
    else
      item_list([&] { rename_item(module); });
  } else if (scan.cur_token != tok_eos) {
    syntax_error(msg_expected_comma);
    while (scan.cur_token != tok_eos) scan_token(expression_mode);
  }
  if (!only) {
    for (symbol_entry* s = current_scope_record().sym_head; s; s = s->next_same_level) {
      if (use.renamed.count(s)) continue;
      name_pos_record own{s->name, name.pos};
      import_entity(unit_symbol_of(s->name), own, s, module);
    }
  }
  scope_end_unit();
  name_module_in_unit(module);
  return 1;
}
