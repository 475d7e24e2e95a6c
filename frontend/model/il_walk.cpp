// The IL walker: visits every entry reachable from a root once per pass, in a
// fixed order (an entry's name atoms, the entry, then its children by kind),
// flipping bit 30 of each header; two passes leave every mark as it was.
#include "frontend/model/il_walk.h"

#include <algorithm>

#include "frontend/base/diagnostics.h"
#include "frontend/model/symbols.h"

WalkState walk;

void il_walk_noop(void*, int, uint32_t) {}

uint32_t il_entry_size(int kind) {
  switch (kind) {
    case ilk_il_header: return sizeof(il_header);
    case ilk_source_file: return sizeof(source_file);
    case ilk_constant: return sizeof(constant);
    case ilk_param_type: return sizeof(param_type);
    case ilk_type: return sizeof(type);
    case ilk_label: return sizeof(label);
    case ilk_expr_node: return sizeof(expr_node);
    case ilk_object: return sizeof(object);
    case ilk_interface: return sizeof(interface);
    case ilk_statement: return sizeof(statement);
    case ilk_scope: return sizeof(scope);
    case ilk_atom: return sizeof(atom);
    case ilk_do_loop: return sizeof(do_loop);
    case ilk_label_list_entry: return sizeof(label_list_entry);
    case ilk_object_list_member: return sizeof(object_list_member);
    case ilk_alloc: return sizeof(alloc);
    case ilk_case_range: return sizeof(case_range);
    case ilk_namelist_group: return sizeof(namelist_group);
    case ilk_input_output_description: return sizeof(input_output_description);
    case ilk_entry_description: return sizeof(entry_description);
    case ilk_symbol_entry: return sizeof(symbol_entry);
    default: return 0;
  }
}

namespace {
// One pass from root: the entries that have root's mark are visited.
void walk_pass(void* root, int kind, uint32_t size, il_visitor before, il_visitor visitor) {
  walk.visitor = visitor;
  walk.parity = (*static_cast<il_entry_header*>(root) & il_walk_mark) ^ il_walk_mark;
  if (before) before(root, kind, size);
  il_walk_entry(root, kind, size);
}

void begin_walk() {
  walk.depth = 0;
  walk.too_deep = false;
  walk.module_root = nullptr;
}
}  // namespace

void il_walk(void* root, int kind, uint32_t size, il_visitor before1, il_visitor visitor1,
             il_visitor before2, il_visitor visitor2) {
  if (!root) return;
  begin_walk();
  walk_pass(root, kind, size, before1, visitor1);
  if (!walk.too_deep) walk_pass(root, kind, size, before2, visitor2);
}

void il_walk_once(void* root, int kind, uint32_t size, il_visitor visitor) {
  if (!root) return;
  begin_walk();
  walk_pass(root, kind, size, nullptr, visitor);
}

namespace {
void entry(void* e, int kind) {
  if (il_walk_pending(e)) il_walk_entry(e, kind, il_entry_size(kind));
}

// Walks a chain of entries linked through their next fields.
template <class T>
void list(T* head, int kind) {
  for (T* p = head; p; p = p->next) entry(p, kind);
}
template <class T>
void list(const pool_ref_field<T>& head, int kind) {
  list(head.get(), kind);
}

void bounds(bound_info_entry* b, uint32_t rank) {
  il_walk_entry(b, ilk_bound_info_entry, bound_info_size(rank));
}

// The name atoms an entry bears, walked before the entry itself.
void names_of(void* e, int kind) {
  switch (kind) {
    case ilk_param_type: entry(static_cast<param_type*>(e)->corresp.name, ilk_atom); break;
    case ilk_type: entry(static_cast<type*>(e)->corresp.name, ilk_atom); break;
    case ilk_label: entry(static_cast<label*>(e)->corresp.name, ilk_atom); break;
    case ilk_object: entry(static_cast<object*>(e)->corresp.name, ilk_atom); break;
    case ilk_interface: entry(static_cast<interface*>(e)->corresp.name, ilk_atom); break;
    case ilk_namelist_group: entry(static_cast<namelist_group*>(e)->corresp.name, ilk_atom); break;
    case ilk_expr_node: {
      auto* n = static_cast<expr_node*>(e);
      if (!n->is_specifier) entry(n->arg_keyword, ilk_atom);
      break;
    }
    case ilk_symbol_entry: {
      auto* s = static_cast<symbol_entry*>(e);
      entry(s->name, ilk_atom);
      if (s->cls >= sym_specific_intrinsic && s->cls <= sym_intrinsic_subroutine)
        entry(intrinsic_entity_name(s), ilk_atom);
      break;
    }
    default:
      break;
  }
}

void walk_constant(constant* c) {
  entry(c->type, ilk_type);
  switch (c->kind) {
    case ck_expression:
      if (!walk.il_module_mode) entry(c->expr, ilk_expr_node);
      break;
    case ck_aggregate:
      list(c->first_constant, ilk_constant);
      break;
    case ck_init_repeat:
      list(c->repeat_constant, ilk_constant);
      break;
    default:
      break;
  }
}

void walk_type(type* t) {
  switch (t->type_code) {
    case tk_routine:
      entry(t->return_type, ilk_type);
      list(t->param_type_list, ilk_param_type);
      entry(t->assoc_routine, ilk_object);
      break;
    case tk_fcharacter:
      if (t->length.kind == bk_expression || t->length.kind == bk_same_as)
        entry(t->length.expr, ilk_expr_node);
      break;
    case tk_farray:
      entry(t->element_type, ilk_type);
      if (t->shape_kind <= as_shaped)
        bounds(t->bound_info, t->rank);
      else if (t->shape_kind <= delete_dimension)
        list(t->bound_args, ilk_expr_node);
      break;
    case tk_derived_type:
      if (!walk.il_module_mode || (t->first_field && t->first_field->is_public))
        list(t->first_field, ilk_object);
      entry(t->module, ilk_object);
      break;
    default:
      break;
  }
}

void walk_expr(expr_node* n) {
  entry(n->type, ilk_type);
  if (!n->is_specifier) entry(n->arg_keyword, ilk_atom);
  switch (n->node_kind) {
    case enk_operation:
    case enk_intrinsic:
      list(n->operands, ilk_expr_node);
      break;
    case enk_call:
      list(n->operands, ilk_expr_node);
      entry(n->routine, ilk_object);
      entry(n->call_interface, ilk_interface);
      break;
    case enk_constant: entry(n->constant, ilk_constant); break;
    case enk_stmt_label_value: entry(n->stmt_label_value, ilk_label); break;
    case enk_object: entry(n->object, ilk_object); break;
    case enk_field:
      entry(n->base_expr, ilk_expr_node);
      entry(n->field_var, ilk_object);
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      entry(n->array_expr, ilk_expr_node);
      list(n->ind_list, ilk_expr_node);
      break;
    case enk_constructor: list(n->constructor, ilk_expr_node); break;
    case enk_implied_do:
    case enk_isum:
      list(n->expr_list, ilk_expr_node);
      entry(n->do_info, ilk_do_loop);
      break;
    case enk_triplet:
      entry(n->first, ilk_expr_node);
      entry(n->second, ilk_expr_node);
      entry(n->stride, ilk_expr_node);
      break;
    case enk_ref: entry(n->reference, ilk_expr_node); break;
    case enk_param: entry(n->parameter, ilk_param_type); break;
    case enk_generic_call:
      entry(n->generic_routine, ilk_interface);
      list(n->operands, ilk_expr_node);
      break;
    case enk_interface_ref: entry(n->interface_block, ilk_interface); break;
    default:
      break;
  }
}

void walk_object(object* o) {
  entry(o->type, ilk_type);
  switch (o->storage_class) {
    case sc_local:
      if (o->is_result)
        entry(o->result_var_function, ilk_object);
      else
        entry(o->initializer, ilk_constant);
      entry(o->assoc_routine, ilk_object);
      break;
    case sc_common: entry(o->initializer, ilk_constant); break;
    case sc_associated: entry(o->assoc_variable, ilk_object); break;
    case sc_mod_proc: entry(o->assoc_module, ilk_object); break;
    case sc_implied_do_var: entry(o->assoc_implied_do, ilk_expr_node); break;
    case sc_use_associated:
      entry(o->initializer, ilk_constant);
      entry(o->assoc_module, ilk_object);
      break;
    case sc_type_field: entry(o->assoc_derived_type, ilk_type); break;
    case sc_external:
    case sc_program:
    case sc_blockdata:
      // The files write the routine link of every unit object.
      entry(o->assoc_routine, ilk_object);
      if (!walk.il_module_mode) entry(o->assoc_scope, ilk_scope);
      break;
    case sc_internal:
    case sc_stmt_func:
    case sc_unspecified:
      entry(o->assoc_routine, ilk_object);
      if (!walk.il_module_mode) entry(o->assoc_scope, ilk_scope);
      break;
    case sc_module:
      if (!walk.il_module_mode) {
        entry(o->assoc_scope, ilk_scope);
      } else {
        // The first module reached (the written module, the header's main
        // routine) gives its symbols; a module reached from it does not.
        if (!walk.module_root) walk.module_root = o;
        if (o->symbol && o == walk.module_root)
          for (symbol_entry* s = o->symbol->link; s; s = s->next_same_level) entry(s, ilk_symbol_entry);
      }
      break;
    default:  // sc_intrinsic
      break;
  }
}

void walk_statement(statement* s) {
  list(s->expr, ilk_expr_node);
  switch (s->kind) {
    case stmk_if:
      entry(s->then_statement, ilk_statement);
      entry(s->else_statement, ilk_statement);
      break;
    case stmk_where:
      entry(s->where_assignment, ilk_statement);
      entry(s->elsewhere_assignment, ilk_statement);
      break;
    case stmk_while:
    case stmk_select:
      entry(s->body_statement, ilk_statement);
      break;
    case stmk_exit:
    case stmk_cycle:
      entry(s->constr_label, ilk_statement);
      break;
    case stmk_goto:
    case stmk_label:
      entry(s->label, ilk_label);
      break;
    case stmk_block: list(s->statements, ilk_statement); break;
    case stmk_fentry:
      entry(s->entry_descr, ilk_entry_description);
      list(s->prologue, ilk_statement);
      break;
    case stmk_ido:
    case stmk_fdo:
      entry(s->loop_statement, ilk_statement);
      entry(s->loop, ilk_do_loop);
      break;
    case stmk_iarith_if:
    case stmk_farith_if:
    case stmk_computed_goto:
    case stmk_assigned_goto:
      list(s->label_list, ilk_label_list_entry);
      break;
    case stmk_stop:
    case stmk_pause:
      entry(s->stop_pause_string, ilk_constant);
      break;
    case stmk_case:
      list(s->case_range_list, ilk_case_range);
      entry(s->statements, ilk_statement);
      break;
    case stmk_alloc:
      list(s->alloc_list, ilk_alloc);
      entry(s->stat_variable, ilk_expr_node);
      break;
    case stmk_dealloc:
      list(s->dealloc_list, ilk_expr_node);
      entry(s->stat_variable, ilk_expr_node);
      break;
    case stmk_set_array_shape: entry(s->array_variable, ilk_object); break;
    case stmk_set_char_length: entry(s->string_variable, ilk_object); break;
    default:
      if (s->kind >= stmk_open && s->kind <= stmk_rewind)
        entry(s->io_descr, ilk_input_output_description);
      break;
  }
}

void walk_scope(scope* u) {
  scope* saved = walk.current_scope;
  walk.current_scope = u;
  list(u->parameters, ilk_object_list_member);
  entry(u->function_result_var, ilk_object);
  list(u->constants, ilk_constant);
  if (u->assoc_routine) list(u->types, ilk_type);  // the file scope's types are reached by reference
  list(u->objects, ilk_object);
  list(u->labels, ilk_label);
  list(u->entries, ilk_entry_description);
  list(u->namelist_groups, ilk_namelist_group);
  list(u->interfaces, ilk_interface);
  entry(u->assoc_routine, ilk_object);
  entry(u->assoc_block, ilk_statement);
  walk.current_scope = saved;
}

void walk_symbol(symbol_entry* s) {
  switch (s->cls) {
    case sym_derived_type: entry(s->entity, ilk_type); break;
    case sym_external_subroutine:
    case sym_external_function:
      if (s->entity) static_cast<object*>(s->entity.get())->symbol = s;
      [[fallthrough]];
    case sym_variable:
    case sym_internal_subroutine:
    case sym_internal_function:
      entry(s->entity, ilk_object);
      break;
    case sym_generic: entry(s->entity, ilk_interface); break;
    case sym_namelist: entry(s->entity, ilk_namelist_group); break;
    default:
      break;
  }
}
}  // namespace

// Child walks that replace the walker's own, by kind (see il_set_child_walker).
static il_child_walker child_walkers[il_kind_count];

void il_set_child_walker(int kind, il_child_walker walker) {
  if (kind >= 0 && kind < il_kind_count) child_walkers[kind] = walker;
}

namespace {
// The one check of il_walk_depth_limit: true when one more entry may be
// opened; at the limit the walk stops, quietly or with the catastrophic error.
bool open_one_more_level() {
  if (walk.too_deep) return false;
  if (walk.depth < il_walk_depth_limit) return true;
  walk.too_deep = true;
  if (!walk.quiet_too_deep) {
    err_pos = null_pos;  // the fault lies in the graph, not at a source line
    catastrophe_here(78);
  }
  return false;
}

// Counts one entry open in il_walk_entry for as long as it lives.
struct OpenLevel {
  OpenLevel() { ++walk.depth; }
  ~OpenLevel() { --walk.depth; }
};
}  // namespace

void il_walk_entry(void* e, int kind, uint32_t size) {
  if (!e) return;
  il_entry_header& header = *static_cast<il_entry_header*>(e);
  if ((header & il_walk_mark) == walk.parity) return;
  if (!open_one_more_level()) return;
  OpenLevel level;
  header ^= il_walk_mark;
  // Name atoms are walked in every pass, with or without a visitor, so that
  // a pass without one still puts their marks back.
  names_of(e, kind);
  if (walk.visitor) walk.visitor(e, kind, size);
  if (kind >= 0 && kind < il_kind_count && child_walkers[kind]) {
    child_walkers[kind](e);
    return;
  }
  switch (kind) {
    case ilk_il_header: {
      auto* h = static_cast<il_header*>(e);
      entry(h->primary_source_file, ilk_source_file);
      entry(h->primary_scope, ilk_scope);
      entry(h->main_routine, ilk_object);
      break;
    }
    case ilk_source_file: {
      auto* f = static_cast<source_file*>(e);
      entry(f->first_child_file, ilk_source_file);
      entry(f->last_child_file, ilk_source_file);
      entry(f->next, ilk_source_file);
      break;
    }
    case ilk_constant: walk_constant(static_cast<constant*>(e)); break;
    case ilk_param_type: entry(static_cast<param_type*>(e)->type, ilk_type); break;
    case ilk_type: walk_type(static_cast<type*>(e)); break;
    case ilk_label: {
      auto* l = static_cast<label*>(e);
      if (l->kind == lk_format) entry(l->format_constant, ilk_constant);
      break;
    }
    case ilk_expr_node: walk_expr(static_cast<expr_node*>(e)); break;
    case ilk_object: walk_object(static_cast<object*>(e)); break;
    case ilk_interface:
      list(static_cast<interface*>(e)->routine_prototype_list, ilk_object_list_member);
      break;
    case ilk_statement: walk_statement(static_cast<statement*>(e)); break;
    case ilk_scope: walk_scope(static_cast<scope*>(e)); break;
    case ilk_bound_info_entry: {
      auto* b = static_cast<bound_info_entry*>(e);
      uint32_t records = 2 * std::min(bound_info_rank(size), b->rank);
      for (uint32_t i = 0; i < records; ++i)
        if (b->bounds[i].kind == bk_expression) entry(b->bounds[i].expr, ilk_expr_node);
      break;
    }
    case ilk_do_loop: {
      auto* d = static_cast<do_loop*>(e);
      entry(d->variable, ilk_expr_node);
      entry(d->initial_value, ilk_expr_node);
      entry(d->final_value, ilk_expr_node);
      entry(d->increment, ilk_expr_node);
      break;
    }
    case ilk_label_list_entry: entry(static_cast<label_list_entry*>(e)->label, ilk_label); break;
    case ilk_object_list_member:
      entry(static_cast<object_list_member*>(e)->object, ilk_object);
      break;
    case ilk_alloc: {
      auto* a = static_cast<alloc*>(e);
      entry(a->var, ilk_expr_node);
      bounds(a->bounds, a->rank);
      break;
    }
    case ilk_case_range: {
      auto* r = static_cast<case_range*>(e);
      entry(r->low, ilk_constant);
      entry(r->high, ilk_constant);
      break;
    }
    case ilk_namelist_group: {
      auto* g = static_cast<namelist_group*>(e);
      entry(g->original_name, ilk_atom);
      list(g->member_list, ilk_expr_node);
      break;
    }
    case ilk_input_output_description: {
      auto* d = static_cast<input_output_description*>(e);
      if (d->unit_kind == iou_external || d->unit_kind == iou_internal)
        entry(d->unit_expr, ilk_expr_node);
      switch (d->format_kind) {
        case iof_format_label: entry(d->format_label, ilk_label); break;
        case iof_assigned_var:
        case iof_char_expr: entry(d->format_expr, ilk_expr_node); break;
        case iof_namelist_directed: entry(d->format_namelist_group, ilk_namelist_group); break;
        default: break;
      }
      list(d->specifier_list, ilk_expr_node);
      break;
    }
    case ilk_entry_description: {
      auto* d = static_cast<entry_description*>(e);
      entry(d->assoc_routine, ilk_object);
      list(d->parameters, ilk_object_list_member);
      entry(d->function_result_var, ilk_object);
      break;
    }
    case ilk_symbol_entry: walk_symbol(static_cast<symbol_entry*>(e)); break;
    default:  // atoms have no children
      break;
  }
}
