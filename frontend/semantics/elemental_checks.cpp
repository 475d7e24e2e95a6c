// Handlers of the elemental intrinsic procedures: mathematical and bit
// functions, the specific names (which test the kind of their first argument
// and then run their generic's check), functions of two arguments of one
// type, MAX and MIN, and the type conversions.
#include <iterator>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/intrinsic_check.h"

namespace {

int fail(expr_node* node) { return expr_set_error(node); }

bool element_is(const expr_node* e, int code) {
  type* t = arg_element_type(e);
  return t && t->type_code == code;
}

int finish_conversion(expr_node* node, type* result) {
  set_array_valued(node, result);
  return finish_conversion_call(node, result);
}

// Exact kinds that specific names require of their first argument.
enum required_kind { need_default_integer, need_default_real, need_double, need_default_complex };

bool has_required_kind(const expr_node* e, required_kind need) {
  type* t = arg_element_type(e);
  if (!t) return false;
  switch (need) {
    case need_default_integer:
      return t->type_code == tk_integer && t->kind == kind_defaults.default_integer;
    case need_default_real:
      return t->type_code == tk_float && t->kind == kind_defaults.default_real;
    case need_double:
      return t->type_code == tk_float && t->kind == kind_defaults.double_precision;
    case need_default_complex:
      return t->type_code == tk_complex && t->kind == kind_defaults.default_real;
  }
  return false;
}

int required_kind_message(required_kind need) {
  switch (need) {
    case need_default_integer: return 613;
    case need_default_real: return 614;
    case need_double: return 616;
    case need_default_complex: return 615;
  }
  return 616;
}

// The type that a KIND= argument selects through the given lookup; the
// fallback when KIND is omitted. Null after a failure (98 at KIND, 85 for
// an INTEGER KIND that is no constant, silent after an earlier message).
type* kind_selected(expr_node* kind, type* (*lookup)(int32_t, int*), type* fallback) {
  if (!arg_present(kind)) return fallback;
  int32_t value = 0;
  if (!constant_int_value(kind, &value)) {
    const_value v;
    if (kind->node_kind != enk_error && kind->type && kind->type->type_code == tk_integer &&
        !evaluate_constant_expression(kind, &v, 0))
      error_at(85, kind->source_pos);
    return nullptr;
  }
  int error = 0;
  type* t = lookup(value, &error);
  if (error) {
    error_at(98, kind->source_pos);
    return nullptr;
  }
  return t;
}

type* character_kind_length_one(int32_t kind, int* error) { return character_type_for_kind(kind, 1, error); }

// Elemental functions whose result has the argument's type.
int same_type_result(expr_node* node, int flags, object* context, bool accept_restricted) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!accept_restricted && !reject_if_restricted(node, flags)) return fail(node);
  expr_node* x = node->operands;
  if (!x) return fail(node);
  return finish_intrinsic(node, x->type);
}

// The element type e in the shape of the first argument.
int shaped_result(expr_node* node, int flags, object* context, bool accept_restricted, type* e) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!accept_restricted && !reject_if_restricted(node, flags)) return fail(node);
  return finish_intrinsic(node, elemental_shaped(e, node->operands));
}

// The first two arguments conform in shape and keep their types; the result
// has element type e (I's element type when e is null).
int conforming_pair(expr_node* node, int flags, object* context, bool accept_restricted, type* e) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!accept_restricted && !reject_if_restricted(node, flags)) return fail(node);
  if (!node->operands) return fail(node);
  type* t = coerce_operands(&node->operands, e ? e : arg_element_type(node->operands));
  if (!t) return fail(node);
  return finish_intrinsic(node, t);
}

// AINT, ANINT, DINT, DNINT: REAL of the KIND or of A's kind.
int truncation_with_kind(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* a = node->operands;
  type* t = kind_selected(intrinsic_arg(node, 1), real_type_for_kind, arg_element_type(a));
  if (!t) return fail(node);
  return finish_intrinsic(node, elemental_shaped(t, a));
}

int max_min_default_real(expr_node* node, int flags, object* context) {
  return check_max_min_call(node, default_real_type(), flags, context);
}
int max_min_double(expr_node* node, int flags, object* context) {
  return check_max_min_call(node, double_precision_type(), flags, context);
}
int max_min_default_integer(expr_node* node, int flags, object* context) {
  return check_max_min_call(node, default_integer_type(), flags, context);
}

// Specific names: the kind their first argument must have and the check
// that runs after the test.
struct specific_row {
  int row;
  required_kind need;
  intrinsic_handler then;
};
constexpr specific_row specific_rows[] = {
    {ir_iabs, need_default_integer, check_abs},
    {ir_dabs, need_double, check_abs},
    {ir_cabs, need_default_complex, check_abs},
    {ir_dacos, need_double, check_same_type_elemental},
    {ir_dasin, need_double, check_same_type_elemental},
    {ir_datan, need_double, check_same_type_elemental},
    {ir_dcos, need_double, check_same_type_elemental},
    {ir_dcosh, need_double, check_same_type_elemental},
    {ir_dexp, need_double, check_same_type_elemental},
    {ir_dlog, need_double, check_same_type_elemental},
    {ir_dlog10, need_double, check_same_type_elemental},
    {ir_dsin, need_double, check_same_type_elemental},
    {ir_dsinh, need_double, check_same_type_elemental},
    {ir_dsqrt, need_double, check_same_type_elemental},
    {ir_dtan, need_double, check_same_type_elemental},
    {ir_dtanh, need_double, check_same_type_elemental},
    {ir_ccos, need_default_complex, check_same_type_elemental},
    {ir_cexp, need_default_complex, check_same_type_elemental},
    {ir_clog, need_default_complex, check_same_type_elemental},
    {ir_csin, need_default_complex, check_same_type_elemental},
    {ir_csqrt, need_default_complex, check_same_type_elemental},
    {ir_alog, need_default_real, check_same_type_elemental},
    {ir_alog10, need_default_real, check_same_type_elemental},
    {ir_datan2, need_double, check_atan2},
    {ir_dint, need_double, check_truncation},
    {ir_dnint, need_double, check_truncation},
    {ir_idim, need_default_integer, check_same_type_pair},
    {ir_isign, need_default_integer, check_same_type_pair},
    {ir_ddim, need_double, check_same_type_pair},
    {ir_dsign, need_double, check_same_type_pair},
    {ir_amod, need_default_real, check_same_type_pair},
    {ir_dmod, need_double, check_same_type_pair},
    {ir_idnint, need_double, check_nint},
    {ir_amax0, need_default_integer, max_min_default_real},
    {ir_amin0, need_default_integer, max_min_default_real},
    {ir_amax1, need_default_real, max_min_default_real},
    {ir_amin1, need_default_real, max_min_default_real},
    {ir_dmax1, need_double, max_min_double},
    {ir_dmin1, need_double, max_min_double},
    {ir_max0, need_default_integer, max_min_default_integer},
    {ir_min0, need_default_integer, max_min_default_integer},
    {ir_max1, need_default_real, max_min_default_integer},
    {ir_min1, need_default_real, max_min_default_integer},
};
static_assert(std::size(specific_rows) == 43);

int row_of(const expr_node* node) {
  return node->routine ? intrinsic_row_of(node->routine) : node->intrinsic;
}

}  // namespace

// ---- Family 1: the result has the argument's type ----

// ACOS, ASIN, ATAN, CONJG, COS, COSH, EXP, FRACTION, LOG, LOG10, RRSPACING,
// SIN, SINH, SPACING, SQRT, TAN, TANH
int check_same_type_elemental(expr_node* node, int flags, object* context) {
  return same_type_result(node, flags, context, false);
}

// NOT(I)
int check_not_call(expr_node* node, int flags, object* context) {
  return same_type_result(node, flags, context, true);
}

// ADJUSTL(STRING), ADJUSTR(STRING)
int check_adjust(expr_node* node, int flags, object* context) {
  if (node->operands) node->operands->any_type_argument = true;
  return same_type_result(node, flags, context, true);
}

// ABS(A): INTEGER only in restricted expressions; COMPLEX gives REAL.
int check_abs(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  expr_node* a = node->operands;
  if (!a) return fail(node);
  if (!element_is(a, tk_integer) && !reject_if_restricted(node, flags)) return fail(node);
  if (element_is(a, tk_complex)) return finish_intrinsic(node, elemental_shaped(real_type(arg_element_type(a)->kind), a));
  return finish_intrinsic(node, a->type);
}

// AIMAG(Z): REAL of Z's kind.
int check_aimag(expr_node* node, int flags, object* context) {
  expr_node* z = node->operands;
  if (!z) return fail(node);
  return shaped_result(node, flags, context, false, real_type(arg_element_type(z)->kind));
}

// ATAN2(Y, X): one type and kind, conforming.
int check_atan2(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  type* t = unify_intrinsic_args(&node->operands);
  if (!t) return fail(node);
  return finish_intrinsic(node, t);
}

// DOT_PRODUCT(VECTOR_A, VECTOR_B): a scalar of the common numeric type.
int check_dot_product(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* a = node->operands;
  type* t = unify_operand_types(&node->operands);
  if (!t) {
    error_at(285, a ? a->source_pos : node->source_pos);
    return fail(node);
  }
  return finish_intrinsic(node, intrinsic_element_type(t));
}

// EXPONENT(X), FLOOR(A), CEILING(A): default INTEGER.
int check_integer_valued(expr_node* node, int flags, object* context) {
  return shaped_result(node, flags, context, false, default_integer_type());
}

// LEN_TRIM(STRING)
int check_len_trim(expr_node* node, int flags, object* context) {
  if (node->operands) node->operands->any_type_argument = true;
  return shaped_result(node, flags, context, true, default_integer_type());
}

// ACHAR(I): default CHARACTER of length 1.
int check_achar(expr_node* node, int flags, object* context) {
  return shaped_result(node, flags, context, true, default_character_type(1));
}

// SCALE(X, I), SET_EXPONENT(X, I), NEAREST(X, S): X's element type.
int check_real_with_modifier(expr_node* node, int flags, object* context) {
  return conforming_pair(node, flags, context, false, arg_element_type(node->operands));
}

// BTEST(I, POS): default LOGICAL.
int check_btest(expr_node* node, int flags, object* context) {
  return conforming_pair(node, flags, context, false, default_logical_type());
}

// IBCLR(I, POS), IBSET(I, POS), ISHFT(I, SHIFT): I's element type.
int check_bit_pair(expr_node* node, int flags, object* context) {
  return conforming_pair(node, flags, context, true, nullptr);
}

// IBITS(I, POS, LEN)
int check_ibits(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  expr_node* i = node->operands;
  if (!i || !i->next || !i->next->next) return fail(node);
  type* e = arg_element_type(i);
  if (!coerce_operands(&node->operands, e)) return fail(node);
  type* t = coerce_operands(&node->operands->next, e);
  if (!t) return fail(node);
  type_unify(&node->operands, elemental_result_type(t, arg_element_type(node->operands)));
  return finish_intrinsic(node, t);
}

// ISHFTC(I, SHIFT [, SIZE])
int check_ishftc(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  expr_node* i = node->operands;
  if (!i || !i->next) return fail(node);
  type* e = arg_element_type(i);
  type* t = coerce_operands(&node->operands, e);
  if (!t) return fail(node);
  expr_node* size = intrinsic_arg(node, 2);
  if (!arg_present(size)) {
    if (size) size->type = elemental_result_type(t, default_integer_type());
    return finish_intrinsic(node, t);
  }
  t = coerce_operands(&node->operands->next, e);
  if (!t) return fail(node);
  type_unify(&node->operands, elemental_result_type(t, arg_element_type(node->operands)));
  return finish_intrinsic(node, t);
}

// SELECTED_INT_KIND(R)
int check_selected_int_kind(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  return finish_intrinsic(node, default_integer_type());
}

// SELECTED_REAL_KIND([P] [, R]): at least one of them.
int check_selected_real_kind(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  expr_node* p = node->operands;
  if (!arg_present(p) && !arg_present(intrinsic_arg(node, 1))) {
    // Both are omitted and have no place in the source: the reference's.
    error_at(541, node->source_pos);
    return fail(node);
  }
  return finish_intrinsic(node, default_integer_type());
}

// DPROD(X, Y): default REAL arguments of one type, DOUBLE PRECISION result.
int check_dprod(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* x = node->operands;
  if (!x || !x->next) return fail(node);
  if (!has_required_kind(x, need_default_real)) {
    error_at(614, node->source_pos);
    return fail(node);
  }
  if (!unify_intrinsic_args(&node->operands)) {
    error_at(614, node->operands->next->source_pos);
    return fail(node);
  }
  type* t = coerce_operands(&node->operands, double_precision_type());
  if (!t) return fail(node);
  return finish_intrinsic(node, t);
}

// ---- Family 2: specific names ----

// The specific rows: the first argument's exact kind, then the generic check.
int check_specific_kind(expr_node* node, int flags, object* context) {
  int row = row_of(node);
  for (const specific_row& s : specific_rows) {
    if (s.row != row) continue;
    if (!has_required_kind(node->operands, s.need)) {
      error_at(required_kind_message(s.need), node->source_pos);
      return fail(node);
    }
    return s.then(node, flags, context);
  }
  return check_by_table_forms(node, flags, context);
}

// ---- Family 3: two arguments of one common type ----

// DIM, IAND, IEOR, IOR, MOD, MODULO, SIGN and their specific rows
int check_same_type_pair(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  type* t = unify_intrinsic_args(&node->operands);
  if (!t) return fail(node);
  if (intrinsic_restricted(flags) && intrinsic_element_type(t)->type_code != tk_integer) {
    error_at(111, node->source_pos);
    return fail(node);
  }
  return finish_intrinsic(node, t);
}

// ---- Family 4: MAX and MIN ----

int check_max_min_call(expr_node* node, type* e, int flags, object* context) {
  if (intrinsic_restricted(flags)) {
    if (!check_intrinsic_args(node, flags, context)) return fail(node);
    if (!e || e->type_code != tk_integer) {
      error_at(111, node->source_pos);
      return fail(node);
    }
  }
  type* t = nullptr;
  int count = 0;
  for (expr_link* slot = &node->operands; *slot; slot = &(*slot)->next) {
    ++count;
    if (!(*slot)->next) break;
    if (intrinsic_restricted(flags) && !element_is(*slot, tk_integer)) {
      error_at(111, node->source_pos);
      return fail(node);
    }
    t = unify_intrinsic_args(slot);
    if (!t) return fail(node);
  }
  if (!t) t = node->operands ? node->operands->type.get() : e;
  if (count >= 3)
    for (expr_link* slot = &node->operands; *slot && (*slot)->next; slot = &(*slot)->next)
      type_unify(slot, t);
  return finish_intrinsic(node, elemental_result_type(t, e));
}

// MAX(A1, A2, ...), MIN(A1, A2, ...): the first argument's element type.
int check_max_min(expr_node* node, int flags, object* context) {
  return check_max_min_call(node, arg_element_type(node->operands), flags, context);
}

// ---- Family 5: type conversions ----

// INT(A [, KIND])
int check_int(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  expr_node* a = node->operands;
  if (intrinsic_restricted(flags) && !element_is(a, tk_integer)) {
    error_at(111, node->source_pos);
    return fail(node);
  }
  type* t = kind_selected(intrinsic_arg(node, 1), integer_type_for_kind, default_integer_type());
  if (!t) return fail(node);
  return finish_conversion(node, elemental_shaped(t, a));
}

// REAL(A [, KIND])
int check_real(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* a = node->operands;
  type* fallback = element_is(a, tk_complex) ? real_type(arg_element_type(a)->kind) : default_real_type();
  type* t = kind_selected(intrinsic_arg(node, 1), real_type_for_kind, fallback);
  if (!t) return fail(node);
  return finish_conversion(node, elemental_shaped(t, a));
}

// DBLE(A)
int check_dble(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  return finish_conversion(node, elemental_shaped(double_precision_type(), node->operands));
}

// LOGICAL(L [, KIND])
int check_logical_call(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  type* t = kind_selected(intrinsic_arg(node, 1), logical_type_for_kind, default_logical_type());
  if (!t) return fail(node);
  return finish_conversion(node, elemental_shaped(t, node->operands));
}

// IACHAR(C), ICHAR(C)
int check_char_code(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  return finish_conversion(node, elemental_shaped(default_integer_type(), node->operands));
}

// IFIX(A), IDINT(A), FLOAT(A), SNGL(A): a fixed argument kind.
int check_fixed_conversion(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* a = node->operands;
  if (!a) return fail(node);
  required_kind need = need_default_real;
  type* result = default_integer_type();
  bool at_argument = true;
  switch (row_of(node)) {
    case ir_ifix: need = need_default_real; at_argument = false; break;
    case ir_idint: need = need_double; at_argument = false; break;
    case ir_float: need = need_default_integer; result = default_real_type(); break;
    default: need = need_double; result = default_real_type(); break;  // SNGL
  }
  if (!has_required_kind(a, need)) {
    error_at(required_kind_message(need), at_argument ? a->source_pos : node->source_pos);
    return fail(node);
  }
  return finish_conversion(node, elemental_shaped(result, a));
}

// NINT(A [, KIND])
int check_nint(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  type* t = kind_selected(intrinsic_arg(node, 1), integer_type_for_kind, default_integer_type());
  if (!t) return fail(node);
  return finish_intrinsic(node, elemental_shaped(t, node->operands));
}

// AINT(A [, KIND]), ANINT(A [, KIND])
int check_truncation(expr_node* node, int flags, object* context) {
  return truncation_with_kind(node, flags, context);
}

// CHAR(I [, KIND])
int check_char(expr_node* node, int flags, object* context) {
  expr_node* kind = intrinsic_arg(node, 1);
  if (!arg_present(kind)) return check_achar(node, flags, context);
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  type* t = kind_selected(kind, character_kind_length_one, nullptr);
  if (!t) return fail(node);
  return finish_intrinsic(node, elemental_shaped(t, node->operands));
}

// CMPLX(X [, Y] [, KIND])
int check_cmplx(expr_node* node, int flags, object* context) {
  if (!check_intrinsic_args(node, flags, context)) return fail(node);
  if (!reject_if_restricted(node, flags)) return fail(node);
  expr_node* x = node->operands;
  if (!x) return fail(node);
  bool x_complex = element_is(x, tk_complex);
  expr_node* y = x_complex ? nullptr : intrinsic_arg(node, 1);
  expr_node* kind = intrinsic_arg(node, x_complex ? 1 : 2);
  type* t = kind_selected(kind, complex_type_for_kind, default_complex_type());
  if (!t) return fail(node);
  if (!arg_present(y)) return finish_conversion(node, elemental_shaped(t, x));
  type* part = real_type(t->kind);
  type* common = elemental_binary_type(x->type, y->type, part);
  if (!common) {
    error_at(285, y->source_pos);
    return fail(node);
  }
  type_unify(&node->operands, common);
  type_unify(&node->operands->next, common);
  return finish_intrinsic(node, elemental_shaped(t, node->operands));
}
