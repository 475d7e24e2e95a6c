// Handlers of the character search and lexical comparison functions, the
// inquiry functions, the status inquiries (ALLOCATED, ASSOCIATED, PRESENT)
// and the intrinsic subroutines.
#include "frontend/semantics/character_inquiry_checks.h"

#include "frontend/base/diagnostics.h"
#include "frontend/model/types.h"
#include "frontend/semantics/array_intrinsic_checks.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/intrinsic_check.h"

namespace {

int fail(expr_node* node) { return expr_set_error(node); }

bool same_character_kind(const expr_node* a, const expr_node* b) {
  type* ea = arg_element_type(a);
  type* eb = arg_element_type(b);
  return ea && eb && ea->type_code == tk_fcharacter && eb->type_code == tk_fcharacter && ea->kind == eb->kind;
}

bool is_default_integer(const expr_node* e) {
  type* t = arg_element_type(e);
  return t && t->type_code == tk_integer && t->kind == kind_defaults.default_integer;
}

bool is_optional_dummy(const expr_node* e) {
  return e && e->node_kind == enk_object && e->object && e->object->is_parameter && e->object->is_optional;
}

bool is_assumed_size(const expr_node* e) { return e && e->type && array_is_assumed_size(e->type); }

// The assumed-size rule of UBOUND and SIZE: the last extent is unknown, so
// neither the whole shape nor the last dimension may be asked for.
bool assumed_size_ok(expr_node* array, expr_node* dim) {
  if (!is_assumed_size(array)) return true;
  if (arg_present(dim)) {
    int32_t d = 0;
    if (!constant_int_value(dim, &d) || d != static_cast<int32_t>(array->type->rank)) return true;
  }
  error_at(36, array->source_pos);
  return false;
}

// The search functions after their first conformance: BACK and the result.
int finish_search(expr_node* node, int flags, type* r) {
  expr_node* string = intrinsic_arg(node, 0);
  expr_node* substring = intrinsic_arg(node, 1);
  expr_link* back_slot = intrinsic_arg_slot(node, 2);
  if (back_slot && arg_present(*back_slot)) {
    if (!reject_if_restricted(node, flags)) return fail(node);
    r = coerce_operands(&string->next, default_integer_type());
    if (!r) return fail(node);
    type_unify(&node->operands, elemental_result_type(r, arg_element_type(node->operands)));
  } else if (back_slot) {
    type_omitted_arg(*back_slot, elemental_result_type(r, default_logical_type()));
  }
  node->operands->any_type_argument = true;
  if (substring) node->operands->next->any_type_argument = true;
  return finish_intrinsic(node, r);
}

// LBOUND and UBOUND once the assumed-size rule passed.
int bound_result(expr_node* node) {
  expr_node* array = intrinsic_arg(node, 0);
  expr_node* dim = intrinsic_arg(node, 1);
  if (!array || !is_array_type(array->type)) {
    error_at(537, (array ? array : node)->source_pos);
    return fail(node);
  }
  type* result = default_integer_type();
  if (!arg_present(dim)) {
    type_omitted_arg(dim, default_integer_type());
    result = default_integer_vector(array->type->rank);
  } else if (is_optional_dummy(dim)) {
    error_at(42, dim->source_pos);
    return fail(node);
  }
  array->any_type_argument = true;
  return set_intrinsic_call(node, result);
}

// An object or component designator's entity, else null.
object* designated_entity(const expr_node* e) {
  if (!e) return nullptr;
  if (e->node_kind == enk_object) return e->object;
  if (e->node_kind == enk_field) return e->field_var;
  return nullptr;
}

int inquiry_with_result(expr_node* node, int flags, object* context, type* result) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  if (expr_node* x = intrinsic_arg(node, 0)) x->any_type_argument = true;
  return set_intrinsic_call(node, result);
}

bool subroutine_rules(expr_node* node, int flags, object* context) {
  return check_intrinsic_args(node, flags, context) && reject_if_restricted(node, flags);
}

}  // namespace

// ---- Character search and lexical comparison ----

int check_index(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  expr_node* string = intrinsic_arg(node, 0);
  expr_node* substring = intrinsic_arg(node, 1);
  if (!string || !substring) return fail(node);
  if (!same_character_kind(string, substring)) {
    error_at(285, string->source_pos);
    return fail(node);
  }
  type* r = coerce_operands(&node->operands, default_integer_type());
  if (!r) return fail(node);
  return finish_search(node, flags, r);
}

int check_char_search(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!intrinsic_arg(node, 1)) return fail(node);
  type* r = coerce_operands(&node->operands, default_integer_type());
  if (!r) return fail(node);
  if (!same_character_kind(intrinsic_arg(node, 0), intrinsic_arg(node, 1))) return fail(node);
  return finish_search(node, flags, r);
}

int check_lexical_compare(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  if (!intrinsic_arg(node, 1)) return fail(node);
  type* t = coerce_operands(&node->operands, default_logical_type());
  if (!t) return fail(node);
  node->operands->any_type_argument = true;
  node->operands->next->any_type_argument = true;
  return finish_intrinsic(node, t);
}

int check_len(expr_node* node, int flags, object* context) {
  return inquiry_with_result(node, flags, context, default_integer_type());
}

// ---- Inquiry functions ----

int check_lbound(expr_node* node, int flags, object* context) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  return bound_result(node);
}

int check_ubound(expr_node* node, int flags, object* context) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  if (!assumed_size_ok(intrinsic_arg(node, 0), intrinsic_arg(node, 1))) return fail(node);
  return bound_result(node);
}

int check_size(expr_node* node, int flags, object* context) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  expr_node* dim = intrinsic_arg(node, 1);
  if (!array || !is_array_type(array->type)) {
    error_at(537, (array ? array : node)->source_pos);
    return fail(node);
  }
  if (!assumed_size_ok(array, dim)) return fail(node);
  type_omitted_arg(dim, default_integer_type());
  array->any_type_argument = true;
  return set_intrinsic_call(node, default_integer_type());
}

int check_shape(expr_node* node, int flags, object* context) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  expr_node* source = intrinsic_arg(node, 0);
  if (!source) return fail(node);
  if (is_assumed_size(source)) {
    error_at(36, source->source_pos);
    return fail(node);
  }
  source->any_type_argument = true;
  uint32_t rank = is_array_type(source->type) ? source->type->rank : 0;
  return set_intrinsic_call(node, default_integer_vector(rank));
}

int check_bit_size(expr_node* node, int flags, object* context) {
  return inquiry_with_result(node, flags, context, arg_element_type(intrinsic_arg(node, 0)));
}

int check_integer_inquiry(expr_node* node, int flags, object* context) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  return set_intrinsic_call(node, default_integer_type());
}

int check_real_inquiry(expr_node* node, int flags, object* context) {
  if (!check_inquiry_args(node, flags, context)) return fail(node);
  return set_intrinsic_call(node, arg_element_type(intrinsic_arg(node, 0)));
}

// ---- Status inquiries ----

int check_allocated(expr_node* node, int flags, object*) {
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  if (!array) return fail(node);
  object* o = designated_entity(array);
  if (!o) {
    error_at(241, array->source_pos);
    return fail(node);
  }
  if (!is_array_type(o->type) || !o->is_allocatable) {
    error_at(345, array->source_pos);
    return fail(node);
  }
  return set_intrinsic_call(node, default_logical_type());
}

int check_associated(expr_node* node, int flags, object*) {
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* pointer = intrinsic_arg(node, 0);
  expr_node* target = intrinsic_arg(node, 1);
  if (!pointer) return fail(node);
  object* p = designated_entity(pointer);
  if (!p) {
    error_at(241, pointer->source_pos);
    return fail(node);
  }
  if (!p->is_pointer) {
    error_at(353, pointer->source_pos);
    return fail(node);
  }
  if (!arg_present(target)) {
    if (target) target->type = pointer->type;
  } else {
    // A subobject (element, section, substring, component) of a pointer
    // or of a target is a target too: the walk looks for either from the
    // designator down to its base variable.
    const expr_node* e = target;
    bool seen = false;
    bool is_target = false;
    while (e) {
      if (e->node_kind == enk_subscript || e->node_kind == enk_substring || e->node_kind == enk_section) {
        e = e->array_expr;
        continue;
      }
      object* t = designated_entity(e);
      if (!t) break;
      seen = true;
      is_target = is_target || t->is_pointer || t->is_target;
      e = e->node_kind == enk_field ? e->base_expr : nullptr;
    }
    if (!seen) {
      error_at(241, target->source_pos);
      return fail(node);
    }
    if (!is_target) {
      error_at(355, target->source_pos);
      return fail(node);
    }
  }
  return set_intrinsic_call(node, default_logical_type());
}

int check_present(expr_node* node, int flags, object*) {
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* a = intrinsic_arg(node, 0);
  if (!a) return fail(node);
  if (a->node_kind != enk_object || !a->object) {
    error_at(549, a->source_pos);
    return fail(node);
  }
  object* o = a->object;
  const char* name = o->corresp.name && o->corresp.name->text ? o->corresp.name->text : "";
  if (!o->is_parameter) {
    error_at(551, a->source_pos, {name});
    return fail(node);
  }
  if (!o->is_optional) {
    error_at(550, a->source_pos, {name});
    return fail(node);
  }
  a->any_type_argument = true;
  return set_intrinsic_call(node, default_logical_type());
}

// ---- Intrinsic subroutines ----

int check_date_and_time(expr_node* node, int flags, object* context) {
  if (!subroutine_rules(node, flags, context)) return fail(node);
  expr_node* values = intrinsic_arg(node, 3);
  if (arg_present(values) && !is_default_integer(values)) {
    error_at(613, values->source_pos);
    return fail(node);
  }
  for (int i = 0; i < 3; ++i)
    if (expr_node* a = intrinsic_arg(node, i)) a->any_type_argument = true;
  return set_intrinsic_call(node, void_type());
}

int check_mvbits(expr_node* node, int flags, object* context) {
  if (!subroutine_rules(node, flags, context)) return fail(node);
  expr_node* to = intrinsic_arg(node, 3);
  if (!to || !intrinsic_arg(node, 4)) return fail(node);
  type* e = arg_element_type(node->operands);
  if (!same_element_type(e, arg_element_type(to))) {
    error_at(285, to->source_pos);
    return fail(node);
  }
  type* shape = nullptr;
  for (int i = 0; i < 4; ++i) {
    shape = coerce_operands(intrinsic_arg_slot(node, i), e);
    if (!shape) return fail(node);
  }
  for (int i = 0; i < 3; ++i) {
    expr_link* slot = intrinsic_arg_slot(node, i);
    type_unify(slot, elemental_result_type(shape, arg_element_type(*slot)));
  }
  set_array_valued(node, shape);
  return set_intrinsic_call(node, void_type());
}

int check_random_number(expr_node* node, int flags, object* context) {
  if (!subroutine_rules(node, flags, context)) return fail(node);
  return set_intrinsic_call(node, void_type());
}

int check_random_seed(expr_node* node, int flags, object* context) {
  if (!subroutine_rules(node, flags, context)) return fail(node);
  bool seen = false;
  for (int i = 0; i < 3; ++i) {
    expr_node* a = intrinsic_arg(node, i);
    if (!arg_present(a)) continue;
    if (seen) {
      error_at(445, a->source_pos);
      return fail(node);
    }
    seen = true;
    if (!is_default_integer(a)) {
      error_at(613, a->source_pos);
      return fail(node);
    }
  }
  return set_intrinsic_call(node, void_type());
}

int check_system_clock(expr_node* node, int flags, object* context) {
  for (expr_node* a = node->operands; a; a = a->next)
    if (arg_present(a) && !is_default_integer(a)) {
      error_at(613, a->source_pos);
      return fail(node);
    }
  if (!subroutine_rules(node, flags, context)) return fail(node);
  return set_intrinsic_call(node, void_type());
}
