// ilshow's versions of the walker's type, expression and scope walks, and the
// walk of a routine body. They keep routine bodies out of the ordinary passes,
// keep declarations out of the body walk, and keep the current scope and the
// nesting counter that the type pass reads. They go down through
// il_walk_entry, so the walker's depth limit bounds them too.
#include "frontend/model/il_enums.h"
#include "frontend/model/il_walk.h"
#include "ilshow/il_display_kvt.h"
#include "ilshow/tvx_chain.h"

namespace {

// True while a routine body is walked.
bool in_body() { return tvx.pass == 2; }

void walk_child(void* entry, int kind) {
  if (il_walk_pending(entry)) il_walk_entry(entry, kind, il_entry_size(kind));
}

template <class T>
void walk_chain(T* first, int kind) {
  tvx_for_chain(first, [kind](T* e) {
    walk_child(e, kind);
    return true;
  });
}
template <class T>
void walk_chain(const pool_ref_field<T>& first, int kind) {
  walk_chain(first.get(), kind);
}

}  // namespace

void il_walk_statements(statement* s) { walk_child(s, ilk_statement); }

// tk_routine: result and dummies count as nested types; the routine object
// is not visited. tk_derived_type: components nested, then the module
// (except from a body).
void il_walk_type(void* entry) {
  type* t = static_cast<type*>(entry);
  switch (t->type_code) {
    case tk_routine:
      ++tvx.nesting;
      walk_child(t->return_type, ilk_type);
      walk_chain(t->param_type_list, ilk_param_type);
      --tvx.nesting;
      break;
    case tk_fcharacter:
      if (t->length.kind == bk_expression || t->length.kind == bk_same_as)
        walk_child(t->length.expr, ilk_expr_node);
      break;
    case tk_farray:
      walk_child(t->element_type, ilk_type);
      if (t->shape_kind <= as_shaped) {
        il_walk_entry(t->bound_info, ilk_bound_info_entry, bound_info_size(t->rank));
      } else if (t->shape_kind <= delete_dimension) {
        walk_chain(t->bound_args, ilk_expr_node);
      }
      break;
    case tk_derived_type:
      ++tvx.nesting;
      walk_chain(t->first_field, ilk_object);
      --tvx.nesting;
      // From a routine body the module would lead to the module's
      // procedures, which would then be marked and miss their blocks.
      if (!in_body()) walk_child(t->module, ilk_object);
      break;
    default:
      break;
  }
}

// Like the walker's, except that calls and object references lead to no
// routine or variable, and that nothing in a body leads to an interface.
void il_walk_expr_node(void* entry) {
  expr_node* n = static_cast<expr_node*>(entry);
  walk_child(n->type, ilk_type);
  if (!n->is_specifier) walk_child(n->arg_keyword, ilk_atom);
  switch (n->node_kind) {
    case enk_operation:
    case enk_intrinsic:
    case enk_call: walk_chain(n->operands, ilk_expr_node); break;
    case enk_constant: walk_child(n->constant, ilk_constant); break;
    case enk_stmt_label_value: walk_child(n->stmt_label_value, ilk_label); break;
    case enk_field:
      walk_child(n->base_expr, ilk_expr_node);
      walk_child(n->field_var, ilk_object);
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      walk_child(n->array_expr, ilk_expr_node);
      walk_chain(n->ind_list, ilk_expr_node);
      break;
    case enk_constructor: walk_chain(n->constructor, ilk_expr_node); break;
    case enk_implied_do:
    case enk_isum:
      walk_chain(n->expr_list, ilk_expr_node);
      walk_child(n->do_info, ilk_do_loop);
      break;
    case enk_triplet:
      walk_child(n->first, ilk_expr_node);
      walk_child(n->second, ilk_expr_node);
      walk_child(n->stride, ilk_expr_node);
      break;
    case enk_ref: walk_child(n->reference, ilk_expr_node); break;
    case enk_param: walk_child(n->parameter, ilk_param_type); break;
    // A body leads to no interface: its specific procedures would be marked
    // by the body walk and miss their routine blocks.
    case enk_generic_call:
      if (!in_body()) walk_child(n->generic_routine, ilk_interface);
      walk_chain(n->operands, ilk_expr_node);
      break;
    case enk_interface_ref:
      if (!in_body()) walk_child(n->interface_block, ilk_interface);
      break;
    default: break;
  }
}

// The scope's lists with the scope current; never its body.
void il_walk_scope(void* entry) {
  scope* s = static_cast<scope*>(entry);
  scope* saved = tvx.current_scope;
  tvx.current_scope = s;
  walk_chain(s->constants, ilk_constant);
  if (s->assoc_routine) walk_chain(s->types, ilk_type);
  walk_chain(s->labels, ilk_label);
  walk_chain(s->entries, ilk_entry_description);
  walk_chain(s->namelist_groups, ilk_namelist_group);
  walk_child(s->assoc_routine, ilk_object);
  walk_chain(s->parameters, ilk_object_list_member);
  walk_child(s->function_result_var, ilk_object);
  walk_chain(s->objects, ilk_object);
  walk_chain(s->interfaces, ilk_interface);
  tvx.current_scope = saved;
}

void tvx_install_walks(bool on) {
  il_set_child_walker(ilk_type, on ? il_walk_type : nullptr);
  il_set_child_walker(ilk_expr_node, on ? il_walk_expr_node : nullptr);
  il_set_child_walker(ilk_scope, on ? il_walk_scope : nullptr);
}
