// Handlers of rows 0-17 of the intrinsic table: intrinsic assignment and the
// intrinsic operators. Each brings its operands to a common type, gives the
// operation its result type and makes the reference an enk_operation node
// whose operator is the typed code for the operands' element type.
#include <iterator>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/types.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/intrinsic_check.h"
#include "frontend/semantics/procedure_refs.h"

namespace {

// Typed operator codes of a generic code by element type; eok_error where the
// signatures exclude the combination.
struct typed_codes {
  int generic;
  int integer_code, real_code, complex_code, character_code;
};
constexpr typed_codes typed_code_table[] = {
    {eok_negate, eok_inegate, eok_fnegate, eok_xnegate, eok_error},
    {eok_add, eok_iadd, eok_fadd, eok_xadd, eok_error},
    {eok_subtract, eok_isubtract, eok_fsubtract, eok_xsubtract, eok_error},
    {eok_multiply, eok_imultiply, eok_fmultiply, eok_xmultiply, eok_error},
    {eok_divide, eok_idivide, eok_fdivide, eok_xdivide, eok_error},
    {eok_eq, eok_ieq, eok_feq, eok_xeq, eok_ceq},
    {eok_ne, eok_ine, eok_fne, eok_xne, eok_cne},
    {eok_gt, eok_igt, eok_fgt, eok_error, eok_cgt},
    {eok_lt, eok_ilt, eok_flt, eok_error, eok_clt},
    {eok_ge, eok_ige, eok_fge, eok_error, eok_cge},
    {eok_le, eok_ile, eok_fle, eok_error, eok_cle},
};
static_assert(std::size(typed_code_table) == 11);

int typed_code(int generic, const type* element) {
  for (const typed_codes& row : typed_code_table) {
    if (row.generic != generic) continue;
    switch (element ? static_cast<int>(element->type_code) : -1) {
      case tk_integer: return row.integer_code;
      case tk_float: return row.real_code;
      case tk_complex: return row.complex_code;
      case tk_fcharacter: return row.character_code;
      default: return eok_error;
    }
  }
  return eok_error;
}

// Makes the reference an operation over its (converted) operands.
int make_operation(expr_node* node, int op, type* t) {
  expr_node* operands = node->operands;
  node->routine = nullptr;
  node->call_interface = nullptr;
  init_expr_node_kind(node, enk_operation);
  node->op_kind = static_cast<uint8_t>(op);
  node->operands = operands;
  node->type = t;
  set_array_valued(node, t);
  return 1;
}

int fail_incompatible(expr_node* node, expr_node* at) {
  error_at(285, at ? at->source_pos : node->source_pos);
  return expr_set_error(node);
}

// +X: the operand takes the reference's place (its link, keyword and the
// flags it had as an operand), so no operation node is left.
int replace_by_operand(expr_node* node) {
  expr_node* operand = node->operands;
  operand->next = node->next;
  operand->arg_keyword = node->arg_keyword;
  operand->intent_in = node->intent_in;
  operand->element_sequence = node->element_sequence;
  *node = *operand;
  return 1;
}

// + - * / with the generic code.
int check_arithmetic(expr_node* node, int flags, object* context, int generic) {
  if (!check_intrinsic_args(node, flags, context)) return expr_set_error(node);
  expr_node* x = node->operands;
  if (!x) return expr_set_error(node);
  type* t = nullptr;
  if (x->next) {
    t = unify_operand_types(&node->operands);
    if (!t) return fail_incompatible(node, x);
  } else {
    if (generic == eok_add) return replace_by_operand(node);
    generic = eok_negate;
    t = x->type;
  }
  return make_operation(node, typed_code(generic, intrinsic_element_type(t)), t);
}

// == /= > >= < <= with the generic code.
int check_relational(expr_node* node, int flags, object* context, int generic) {
  if (!check_intrinsic_args(node, flags, context)) return expr_set_error(node);
  expr_node* x = node->operands;
  type* t = unify_operand_types(&node->operands);
  if (!t) return fail_incompatible(node, x);
  type* element = intrinsic_element_type(t);
  if (element->type_code == tk_fcharacter)
    for (expr_node* a = node->operands; a; a = a->next) a->any_type_argument = true;
  return make_operation(node, typed_code(generic, element),
                        elemental_result_type(t, default_logical_type()));
}

// .AND. .OR. .EQV. .NEQV. keep their code.
int check_logical(expr_node* node, int flags, object* context, int code) {
  if (!check_intrinsic_args(node, flags, context)) return expr_set_error(node);
  expr_node* x = node->operands;
  type* t = unify_operand_types(&node->operands);
  if (!t) return fail_incompatible(node, x);
  return make_operation(node, code, t);
}

}  // namespace

int check_plus_op(expr_node* node, int flags, object* context) {
  return check_arithmetic(node, flags, context, eok_add);
}
int check_minus_op(expr_node* node, int flags, object* context) {
  return check_arithmetic(node, flags, context, eok_subtract);
}
int check_multiply_op(expr_node* node, int flags, object* context) {
  return check_arithmetic(node, flags, context, eok_multiply);
}
int check_divide_op(expr_node* node, int flags, object* context) {
  return check_arithmetic(node, flags, context, eok_divide);
}

// X ** Y: an INTEGER exponent keeps its type (only the shapes conform);
// any other exponent brings both operands to their common type.
int check_expon_op(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return expr_set_error(node);
  expr_node* base = node->operands;
  if (!base || !base->next) return expr_set_error(node);
  type* t = nullptr;
  int op = eok_error;
  if (intrinsic_element_type(base->next->type)->type_code == tk_integer) {
    t = coerce_operands(&node->operands, intrinsic_element_type(base->type));
    if (!t) return expr_set_error(node);
    switch (intrinsic_element_type(t)->type_code) {
      case tk_integer: op = eok_i_to_i_expon; break;
      case tk_float: op = eok_f_to_i_expon; break;
      default: op = eok_x_to_i_expon; break;
    }
  } else {
    t = unify_operand_types(&node->operands);
    if (!t) return fail_incompatible(node, base);
    op = intrinsic_element_type(t)->type_code == tk_float ? eok_f_to_f_expon : eok_x_to_x_expon;
  }
  return make_operation(node, op, t);
}

// X // Y: the result length is LEN(X) + LEN(Y), as an expression.
int check_concat_op(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return expr_set_error(node);
  expr_node* x = node->operands;
  if (!x || !x->next) return expr_set_error(node);
  type* t = common_numeric_type(x->type, x->next->type);
  if (!t) return fail_incompatible(node, nullptr);
  expr_link* first = &node->operands;
  type_unify(first, elemental_result_type(t, intrinsic_element_type((*first)->type)));
  expr_link* second = &(*first)->next;
  type_unify(second, elemental_result_type(t, intrinsic_element_type((*second)->type)));
  type* element = intrinsic_element_type(t);
  type* result_element = pool_new<type>();
  copy_type_entry(element, result_element);
  result_element->header &= ~il_check_mark;
  result_element->size = 0;
  result_element->char_cache_next = nullptr;
  // The lengths refer to the operands; the operands stay in the operation.
  expr_node* lengths = len_call_node(make_ref_node(*first));
  lengths->next = len_call_node(make_ref_node(*second));
  result_element->length =
      make_bound(0, bk_expression, new_operation_node(eok_iadd, default_integer_type(), lengths));
  for (expr_node* a = node->operands; a; a = a->next) a->any_type_argument = true;
  return make_operation(node, eok_concat, elemental_result_type(t, result_element));
}

int check_eq_op(expr_node* node, int flags, object* context) {
  return check_relational(node, flags, context, eok_eq);
}
int check_ne_op(expr_node* node, int flags, object* context) {
  return check_relational(node, flags, context, eok_ne);
}
int check_gt_op(expr_node* node, int flags, object* context) {
  return check_relational(node, flags, context, eok_gt);
}
int check_ge_op(expr_node* node, int flags, object* context) {
  return check_relational(node, flags, context, eok_ge);
}
int check_lt_op(expr_node* node, int flags, object* context) {
  return check_relational(node, flags, context, eok_lt);
}
int check_le_op(expr_node* node, int flags, object* context) {
  return check_relational(node, flags, context, eok_le);
}

// .NOT. X
int check_not_op(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return expr_set_error(node);
  if (!node->operands) return expr_set_error(node);
  return make_operation(node, eok_not, node->operands->type);
}

int check_land_op(expr_node* node, int flags, object* context) {
  return check_logical(node, flags, context, eok_land);
}
int check_lor_op(expr_node* node, int flags, object* context) {
  return check_logical(node, flags, context, eok_lor);
}
int check_eqv_op(expr_node* node, int flags, object* context) {
  return check_logical(node, flags, context, eok_eqv);
}
int check_neqv_op(expr_node* node, int flags, object* context) {
  return check_logical(node, flags, context, eok_neqv);
}

// X = Y: the value is converted to the variable's type; the operator is the
// assignment code of the variable's element type.
int check_assignment_op(expr_node* node, int flags, object* /*context*/) {
  if ((flags & 24) == 24) {
    error_at(111, node->source_pos);
    return expr_set_error(node);
  }
  expr_node* left = node->operands;
  if (!left || !left->next) return expr_set_error(node);
  check_definable(left);
  if (!check_assignment(left->type, &left->next)) return expr_set_error(node);
  left->intent_out = true;
  type* element = intrinsic_element_type(left->type);
  int op = eok_error;
  switch (element ? static_cast<int>(element->type_code) : -1) {
    case tk_integer: op = eok_iassign; break;
    case tk_logical: op = eok_lassign; break;
    case tk_float: op = eok_fassign; break;
    case tk_complex: op = eok_xassign; break;
    case tk_fcharacter:
      op = eok_cassign;
      left->any_type_argument = left->next->any_type_argument = true;
      break;
    default: op = eok_sassign; break;
  }
  type* kept = node->type;
  make_operation(node, op, kept);
  node->for_all = is_array_type(left->type);
  return 1;
}
