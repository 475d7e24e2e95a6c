// Handlers of the array reductions and of the array construction and
// manipulation functions. Besides the argument checks they give the result
// its rank and, where the program knows them, its bounds as IL expressions
// (extents of the arguments, elements of SHAPE, COUNT, LEN, LEN_TRIM and
// MAX0 references).
#include "frontend/semantics/array_intrinsic_checks.h"

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/model/types.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/intrinsic_check.h"
#include "frontend/semantics/procedure_refs.h"

namespace {

constexpr uint32_t max_rank = 7;

int fail(expr_node* node) { return expr_set_error(node); }

// The common argument rules, and 111 in a restricted expression unless the
// function is accepted there.
bool common_rules(expr_node* node, int flags, object* context, bool accept_restricted) {
  if (!check_intrinsic_args(node, flags, context)) return false;
  return accept_restricted || reject_if_restricted(node, flags);
}

uint32_t rank_of(const expr_node* e) { return e && is_array_type(e->type) ? e->type->rank : 0u; }

// 537 at e (at the reference when e is missing) unless e is an array.
bool must_be_array(const expr_node* e, const expr_node* node) {
  if (e && is_array_type(e->type)) return true;
  error_at(537, (e ? e : node)->source_pos);
  return false;
}

// A DIM that is an OPTIONAL dummy argument: 42 at it.
bool dim_not_optional_dummy(const expr_node* dim) {
  if (!arg_present(dim) || dim->node_kind != enk_object || !dim->object) return true;
  const object* o = dim->object;
  if (!(o->is_parameter && o->is_optional)) return true;
  error_at(42, dim->source_pos);
  return false;
}

// The value of a DIM written as a literal or a named constant; false for any
// other expression.
bool literal_dim_value(expr_node* dim, int32_t* value) {
  if (!arg_present(dim)) return false;
  bool named = dim->node_kind == enk_object && dim->object && dim->object->is_constant;
  if (dim->node_kind != enk_constant && !named) return false;
  return constant_int_value(dim, value) != 0;
}

// The zero-based DIM against a rank: 0 when omitted, -1 when unknown (435
// at DIM when its value is outside 1..rank, unless told to be quiet).
int32_t zero_based_dim(expr_node* dim, uint32_t rank, bool report = true) {
  if (!arg_present(dim)) return 0;
  int32_t v = 0;
  if (!literal_dim_value(dim, &v)) return -1;
  if (v < 1 || static_cast<uint32_t>(v) > rank) {
    if (report) error_at(435, dim->source_pos);
    return -1;
  }
  return v - 1;
}

// The extent of dimension `dim` (from 1) of an argument: a SIZE reference.
expr_node* extent_node(expr_node* x, int32_t dim) { return size_call_node(make_ref_node(x), dim); }

// Lays an explicit-shape result out once its bounds are set.
type* laid_out(type* t) {
  t->size = 0;
  type_storage_size(t);
  return t;
}

type* reduced_shape_of(expr_node* array, expr_node* dim, type* e, bool report);

// The shape rule of SHIFT and BOUNDARY: scalar for a rank-1 ARRAY (113);
// else a scalar is converted to the reduced shape, an array must have the
// rank of ARRAY minus one (538). DIM is judged once for both arguments:
// *dim_judged tells whether its 435 has had its chance already.
bool shift_shape_ok(expr_node* array, expr_link* slot, expr_node* dim, bool* dim_judged) {
  expr_node* s = *slot;
  uint32_t r = rank_of(array);
  if (r <= 1) {
    if (!is_array_type(s->type)) return true;
    error_at(113, s->source_pos);
    return false;
  }
  if (!is_array_type(s->type)) {
    type_unify(slot, reduced_shape_of(array, dim, s->type, !*dim_judged));
    *dim_judged = true;
    return true;
  }
  if (s->type->rank == r - 1) return true;
  error_at(538, s->source_pos);
  return false;
}

// ---- Reductions ----

// ALL, ANY (result over MASK's element type) and COUNT (default INTEGER).
int mask_reduction(expr_node* node, int flags, object* context, type* result_element) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* mask = intrinsic_arg(node, 0);
  expr_node* dim = intrinsic_arg(node, 1);
  if (!must_be_array(mask, node)) return fail(node);
  if (!dim_not_optional_dummy(dim)) return fail(node);
  type* e = result_element ? result_element : arg_element_type(mask);
  type* result = e;
  if (arg_present(dim))
    result = reduced_shape(mask, dim, e);
  else
    type_omitted_arg(dim, default_integer_type());
  return set_intrinsic_call(node, result);
}

// MAXVAL, MINVAL, PRODUCT, SUM.
int value_reduction(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  expr_node* dim = intrinsic_arg(node, 1);
  expr_link* mask_slot = intrinsic_arg_slot(node, 2);
  if (!must_be_array(array, node)) return fail(node);
  if (!dim_not_optional_dummy(dim)) return fail(node);
  if (mask_slot && arg_present(*mask_slot)) {
    expr_node* mask = *mask_slot;
    type* t = elemental_binary_type(array->type, mask->type, arg_element_type(mask));
    if (!t) {
      error_at(285, mask->source_pos);
      return fail(node);
    }
    type_unify(mask_slot, t);
  } else if (mask_slot) {
    type_omitted_arg(*mask_slot, elemental_result_type(array->type, default_logical_type()));
  }
  type* result = arg_element_type(array);
  if (arg_present(dim))
    result = reduced_shape(array, dim, result);
  else
    type_omitted_arg(dim, default_integer_type());
  return set_intrinsic_call(node, result);
}

// MAXLOC, MINLOC.
int location_reduction(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  expr_node* mask = intrinsic_arg(node, 1);
  if (!must_be_array(array, node)) return fail(node);
  if (arg_present(mask)) {
    if (!coerce_operands(&node->operands, arg_element_type(mask))) return fail(node);
    array = intrinsic_arg(node, 0);
  } else {
    type_omitted_arg(mask, elemental_result_type(array->type, default_logical_type()));
  }
  return set_intrinsic_call(node, default_integer_vector(rank_of(array)));
}

}  // namespace

// ---- Shared routines ----

bool same_element_type(type* a, type* b) { return a == b || (a && b && type_equal(a, b)); }

void type_omitted_arg(expr_node* arg, type* t) {
  if (arg && arg->node_kind == enk_empty) arg->type = t;
}

type* default_integer_vector(uint32_t n) {
  type* t = explicit_result_array(default_integer_type(), 1);
  init_bound(&t->bound_info->upper(0), bk_constant);
  t->bound_info->upper(0).value = static_cast<int32_t>(n);
  return laid_out(t);
}

type* explicit_result_array(type* e, uint32_t rank) {
  type* t = array_type(e, rank);
  for (uint32_t d = 0; d < rank; ++d) {
    init_bound(&t->bound_info->lower(d), bk_constant);
    t->bound_info->lower(d).value = 1;
    init_bound(&t->bound_info->upper(d), bk_undefined);
  }
  return t;
}

void set_bound_expr(bound_record* b, expr_node* value) {
  if (value && value->node_kind == enk_constant && value->type && value->type->type_code == tk_integer) {
    int32_t v = 0;
    if (constant_int_value(value, &v)) {
      init_bound(b, bk_constant);
      b->value = v;
      return;
    }
  }
  init_bound(b, bk_expression);
  b->expr = value;
}

type* reduced_shape(expr_node* array, expr_node* dim, type* e) { return reduced_shape_of(array, dim, e, true); }

namespace {
type* reduced_shape_of(expr_node* array, expr_node* dim, type* e, bool report) {
  uint32_t full = rank_of(array);
  uint32_t r = full > 0 ? full - 1 : 0;
  int32_t d = zero_based_dim(dim, full, report);
  if (r == 0) return e;
  if (d < 0) {
    type* t = new_type(tk_farray);
    t->element_type = e;
    t->rank = static_cast<uint8_t>(r);
    t->shape_kind = delete_dimension;
    t->bound_args = make_ref_node(array);
    t->bound_args->next = make_ref_node(dim);
    return t;
  }
  type* t = explicit_result_array(e, r);
  for (uint32_t i = 0; i < r; ++i) {
    int32_t source_dim = static_cast<int32_t>(i) < d ? static_cast<int32_t>(i) + 1 : static_cast<int32_t>(i) + 2;
    set_bound_expr(&t->bound_info->upper(i), extent_node(array, source_dim));
  }
  return laid_out(t);
}
}  // namespace

// ---- Handlers: reductions ----

int check_mask_reduction(expr_node* node, int flags, object* context) {
  return mask_reduction(node, flags, context, nullptr);
}

int check_count(expr_node* node, int flags, object* context) {
  return mask_reduction(node, flags, context, default_integer_type());
}

int check_value_reduction(expr_node* node, int flags, object* context) {
  return value_reduction(node, flags, context);
}

int check_location_reduction(expr_node* node, int flags, object* context) {
  return location_reduction(node, flags, context);
}

// ---- Handlers: construction and manipulation ----

int check_cshift(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  expr_link* shift_slot = intrinsic_arg_slot(node, 1);
  expr_node* dim = intrinsic_arg(node, 2);
  if (!must_be_array(array, node) || !shift_slot) return fail(node);
  bool dim_judged = false;
  if (!shift_shape_ok(array, shift_slot, dim, &dim_judged)) return fail(node);
  type_omitted_arg(dim, default_integer_type());
  array->any_type_argument = true;
  return set_intrinsic_call(node, array->type);
}

namespace {
// The default boundary of EOSHIFT for an element type: a zero, false or
// blank constant node; null for other element types.
expr_node* default_boundary(type* e) {
  if (!e) return nullptr;
  const_value v;
  switch (e->type_code) {
    case tk_integer:
    case tk_logical:
    case tk_float:
    case tk_complex:
      type_storage_size(e);
      const_init_sized(&v, e->size);
      v.c.type = e;
      if (e->type_code == tk_integer || e->type_code == tk_logical) {
        const_set_int(&v, 0);
      } else {
        const_set_real(&v, 0.0, 0);
        if (e->type_code == tk_complex) const_set_real(&v, 0.0, 1);
      }
      break;
    case tk_fcharacter: {
      type* blank = character_type(e->kind, false, 1);
      const_init_sized(&v, blank->size ? blank->size : 1)[0] = ' ';
      v.c.type = blank;
      break;
    }
    default:
      return nullptr;
  }
  return const_il_node(&v);
}
}  // namespace

int check_eoshift(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  expr_link* shift_slot = intrinsic_arg_slot(node, 1);
  expr_link* boundary_slot = intrinsic_arg_slot(node, 2);
  expr_node* dim = intrinsic_arg(node, 3);
  if (!must_be_array(array, node) || !shift_slot || !boundary_slot) return fail(node);
  bool dim_judged = false;
  if (!shift_shape_ok(array, shift_slot, dim, &dim_judged)) return fail(node);
  boundary_slot = intrinsic_arg_slot(node, 2);  // SHIFT may have been replaced
  type* e = arg_element_type(array);
  expr_node* boundary = *boundary_slot;
  if (!arg_present(boundary)) {
    expr_node* value = default_boundary(e);
    if (!value) {
      // An ARRAY whose declaration already failed gets no second message.
      if (e && e->type_code == tk_error) return fail(node);
      error_at(581, (*shift_slot)->source_pos);
      return fail(node);
    }
    // The omitted node becomes the constant, keeping its place in the list.
    expr_node* next = boundary->next;
    source_pos_record pos = boundary->source_pos;
    *boundary = *value;
    boundary->next = next;
    boundary->source_pos = pos;
  } else {
    if (!same_element_type(arg_element_type(boundary), e)) {
      error_at(285, boundary->source_pos);
      return fail(node);
    }
    if (!shift_shape_ok(array, boundary_slot, dim, &dim_judged)) return fail(node);
  }
  (*boundary_slot)->is_optional = false;
  (*boundary_slot)->any_type_argument = true;
  type_omitted_arg(dim, default_integer_type());
  array->any_type_argument = true;
  return set_intrinsic_call(node, array->type);
}

int check_matmul(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_link* a_slot = intrinsic_arg_slot(node, 0);
  expr_link* b_slot = intrinsic_arg_slot(node, 1);
  if (!a_slot || !b_slot) return fail(node);
  type* e = common_numeric_type(arg_element_type(*a_slot), arg_element_type(*b_slot));
  if (!e) {
    error_at(285, (*a_slot)->source_pos);
    return fail(node);
  }
  // A conversion replaces the node in its slot: each slot is found afresh.
  for (int i = 0; i < 2; ++i) {
    expr_link* slot = intrinsic_arg_slot(node, i);
    if (!same_element_type(arg_element_type(*slot), e)) type_unify(slot, elemental_result_type((*slot)->type, e));
  }
  expr_node* a = intrinsic_arg(node, 0);
  expr_node* b = intrinsic_arg(node, 1);
  type* result = nullptr;
  if (rank_of(a) == 1) {
    result = explicit_result_array(e, 1);
    set_bound_expr(&result->bound_info->upper(0), extent_node(b, 2));
  } else if (rank_of(b) == 1) {
    result = explicit_result_array(e, 1);
    set_bound_expr(&result->bound_info->upper(0), extent_node(a, 1));
  } else {
    result = explicit_result_array(e, 2);
    set_bound_expr(&result->bound_info->upper(0), extent_node(a, 1));
    set_bound_expr(&result->bound_info->upper(1), extent_node(b, 2));
  }
  return set_intrinsic_call(node, laid_out(result));
}

int check_merge(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  if (!intrinsic_arg(node, 2) || !unify_intrinsic_args(&node->operands)) return fail(node);
  type* e = arg_element_type(node->operands);
  type* t = coerce_operands(&node->operands->next, e);
  if (!t) return fail(node);
  type_unify(&node->operands, t);
  node->operands->any_type_argument = true;
  node->operands->next->any_type_argument = true;
  set_array_valued(node, t);
  return set_intrinsic_call(node, t);
}

int check_pack(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* array = intrinsic_arg(node, 0);
  expr_link* mask_slot = intrinsic_arg_slot(node, 1);
  expr_node* vector = intrinsic_arg(node, 2);
  if (!must_be_array(array, node) || !mask_slot) return fail(node);
  type* t = elemental_binary_type(array->type, (*mask_slot)->type, arg_element_type(*mask_slot));
  if (!t) {
    error_at(285, (*mask_slot)->source_pos);
    return fail(node);
  }
  type_unify(mask_slot, t);
  type* e = arg_element_type(array);
  type* result = explicit_result_array(e, 1);
  if (arg_present(vector)) {
    if (!same_element_type(arg_element_type(vector), e)) {
      error_at(285, vector->source_pos);
      return fail(node);
    }
    set_bound_expr(&result->bound_info->upper(0), extent_node(vector, 1));
    vector->any_type_argument = true;
  } else {
    set_bound_expr(&result->bound_info->upper(0), count_call_node(make_ref_node(*mask_slot)));
    type_omitted_arg(vector, result);
  }
  array->any_type_argument = true;
  return set_intrinsic_call(node, laid_out(result));
}

int check_unpack(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* vector = intrinsic_arg(node, 0);
  expr_link* mask_slot = intrinsic_arg_slot(node, 1);
  expr_node* field = intrinsic_arg(node, 2);
  if (!vector || !mask_slot || !field) return fail(node);
  if (!same_element_type(arg_element_type(vector), arg_element_type(field))) {
    error_at(285, field->source_pos);
    return fail(node);
  }
  if (!must_be_array(*mask_slot, node)) return fail(node);
  type* t = coerce_operands(mask_slot, arg_element_type(vector));
  if (!t) return fail(node);
  vector->any_type_argument = true;
  intrinsic_arg(node, 2)->any_type_argument = true;
  return set_intrinsic_call(node, t);
}

// RESHAPE is one of the transformational functions allowed in restricted
// and initialization expressions (named constant arrays are built with it).
int check_reshape(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, true)) return fail(node);
  expr_node* source = intrinsic_arg(node, 0);
  expr_node* shape = intrinsic_arg(node, 1);
  expr_node* pad = intrinsic_arg(node, 2);
  expr_node* order = intrinsic_arg(node, 3);
  if (!must_be_array(source, node) || !shape) return fail(node);
  bound_info_entry* b = is_array_type(shape->type) ? array_bounds(shape->type) : nullptr;
  if (!b || b->rank < 1 || b->lower(0).kind != bk_constant || b->upper(0).kind != bk_constant) {
    error_at(380, shape->source_pos);
    return fail(node);
  }
  int32_t lower = b->lower(0).value;
  int64_t n = static_cast<int64_t>(b->upper(0).value) - lower + 1;
  if (n < 1) {
    error_at(383, shape->source_pos, {"array size"});
    return fail(node);
  }
  if (n > static_cast<int64_t>(max_rank)) {
    error_at(553, shape->source_pos);
    return fail(node);
  }
  type* e = arg_element_type(source);
  if (arg_present(pad)) {
    if (!is_array_type(pad->type)) {
      error_at(537, source->source_pos);
      return fail(node);
    }
    if (!same_element_type(arg_element_type(pad), e)) {
      error_at(285, pad->source_pos);
      return fail(node);
    }
    pad->any_type_argument = true;
  } else {
    type_omitted_arg(pad, array_type(e, 1));
  }
  if (!arg_present(order)) {
    type_omitted_arg(order, elemental_result_type(source->type, default_integer_type()));
  } else if (!array_shape_agree(order->type, shape->type)) {
    error_at(285, order->source_pos);
    return fail(node);
  }
  type* result = explicit_result_array(e, static_cast<uint32_t>(n));
  for (int32_t i = 0; i < n; ++i)
    set_bound_expr(&result->bound_info->upper(static_cast<uint32_t>(i)),
                   elem_ref_il_node(make_ref_node(shape), int_const_il_node(lower + i)));
  source->any_type_argument = true;
  return set_intrinsic_call(node, laid_out(result));
}

int check_spread(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* source = intrinsic_arg(node, 0);
  expr_node* dim = intrinsic_arg(node, 1);
  expr_node* ncopies = intrinsic_arg(node, 2);
  if (!source || !dim || !ncopies) return fail(node);
  uint32_t rank = rank_of(source) + 1;
  if (rank > max_rank) {
    error_at(542, source->source_pos);
    return fail(node);
  }
  int32_t d = zero_based_dim(dim, rank);
  expr_node* copies = max0_zero_node(make_ref_node(ncopies));
  type* e = arg_element_type(source);
  source->any_type_argument = true;
  if (d < 0) {
    type* t = new_type(tk_farray);
    t->element_type = e;
    t->rank = static_cast<uint8_t>(rank);
    t->shape_kind = add_dimension;
    t->bound_args = make_ref_node(source);
    t->bound_args->next = make_ref_node(dim);
    t->bound_args->next->next = copies;
    return set_intrinsic_call(node, t);
  }
  type* t = explicit_result_array(e, rank);
  for (uint32_t i = 0; i < rank; ++i) {
    int32_t at = static_cast<int32_t>(i);
    if (at == d)
      set_bound_expr(&t->bound_info->upper(i), copies);
    else
      set_bound_expr(&t->bound_info->upper(i), extent_node(source, at < d ? at + 1 : at));
  }
  return set_intrinsic_call(node, laid_out(t));
}

int check_transpose(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, false)) return fail(node);
  expr_node* matrix = intrinsic_arg(node, 0);
  if (!matrix) return fail(node);
  type* t = explicit_result_array(arg_element_type(matrix), 2);
  set_bound_expr(&t->bound_info->upper(0), extent_node(matrix, 2));
  set_bound_expr(&t->bound_info->upper(1), extent_node(matrix, 1));
  matrix->any_type_argument = true;
  return set_intrinsic_call(node, laid_out(t));
}

int check_transfer(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, true)) return fail(node);
  expr_node* source = intrinsic_arg(node, 0);
  expr_node* mold = intrinsic_arg(node, 1);
  expr_node* size = intrinsic_arg(node, 2);
  if (!source || !mold) return fail(node);
  source->any_type_argument = true;
  mold->any_type_argument = true;
  type* e = arg_element_type(mold);
  if (arg_present(size)) {
    if (!dim_not_optional_dummy(size)) return fail(node);
    type* t = explicit_result_array(e, 1);
    set_bound_expr(&t->bound_info->upper(0), make_ref_node(size));
    return set_intrinsic_call(node, laid_out(t));
  }
  type_omitted_arg(size, default_integer_type());
  if (!is_array_type(mold->type)) return set_intrinsic_call(node, mold->type);
  type* t = explicit_result_array(e, 1);
  type_storage_size(e);
  uint32_t m = e ? e->size : 0;
  type_storage_size(source->type);
  uint32_t s = source->type ? source->type->size : 0;
  if (m == 0) {
    // A MOLD element of no storage holds no part of SOURCE: no elements.
    set_bound_expr(&t->bound_info->upper(0), int_const_il_node(0));
  } else if (s != 0) {
    uint64_t extent = (static_cast<uint64_t>(s) + m - 1) / m;
    set_bound_expr(&t->bound_info->upper(0),
                   int_const_il_node(extent > INT32_MAX ? INT32_MAX : static_cast<int32_t>(extent)));
  } else {
    type* se = arg_element_type(source);
    type_storage_size(se);
    expr_node* count = is_array_type(source->type) ? build_elem_count_node(source) : int_const_il_node(1);
    expr_node* element_size = int_const_il_node(static_cast<int32_t>(se && se->size ? se->size : 1));
    if (se && se->type_code == tk_fcharacter && se->size == 0) {
      // A CHARACTER element of unknown length: LEN bytes of its kind each.
      const kind_row* row = kind_row_of(kf_character, se->kind);
      expr_node* len = len_call_node(make_ref_node(source));
      len->next = int_const_il_node(static_cast<int32_t>(row ? row->size : 1));
      element_size = new_operation_node(eok_imultiply, default_integer_type(), len);
    }
    count->next = element_size;
    expr_node* bytes = new_operation_node(eok_imultiply, default_integer_type(), count);
    bytes->next = int_const_il_node(static_cast<int32_t>(m - 1));
    expr_node* rounded = new_operation_node(eok_iadd, default_integer_type(), bytes);
    rounded->next = int_const_il_node(static_cast<int32_t>(m));
    set_bound_expr(&t->bound_info->upper(0), new_operation_node(eok_idivide, default_integer_type(), rounded));
  }
  return set_intrinsic_call(node, laid_out(t));
}

namespace {
// A CHARACTER type copied from STRING's type with the given length
// expression.
type* character_with_length(expr_node* string, expr_node* length) {
  type* t = private_type_copy(string->type);
  t->size = 0;
  set_bound_expr(&t->length, length);
  if (t->length.kind == bk_expression) t->length.expr = length;
  type_storage_size(t);
  return t;
}
}  // namespace

int check_repeat(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, true)) return fail(node);
  expr_node* string = intrinsic_arg(node, 0);
  expr_node* ncopies = intrinsic_arg(node, 1);
  if (!string || !ncopies || !string->type) return fail(node);
  expr_node* len = len_call_node(make_ref_node(string));
  len->next = make_ref_node(ncopies);
  expr_node* length = new_operation_node(eok_imultiply, default_integer_type(), len);
  string->any_type_argument = true;
  return set_intrinsic_call(node, character_with_length(string, length));
}

int check_trim(expr_node* node, int flags, object* context) {
  if (!common_rules(node, flags, context, true)) return fail(node);
  expr_node* string = intrinsic_arg(node, 0);
  if (!string || !string->type) return fail(node);
  string->any_type_argument = true;
  return set_intrinsic_call(node, character_with_length(string, len_trim_call_node(make_ref_node(string))));
}
