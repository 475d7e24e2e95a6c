// Builders shared by the tests of the reduction, array, character, inquiry,
// status and subroutine intrinsic checks.
#pragma once

#include "frontend/model/types.h"
#include "frontend/semantics/array_intrinsic_checks.h"
#include "frontend/semantics/character_inquiry_checks.h"
#include "tests/unit/intrinsics/intrinsics_fixture.h"

class IntrinsicChecksTest : public IntrinsicsTest {
 public:
  // An explicit-shape array of the given extents (lower bounds 1).
  static type* array_of(type* element, std::initializer_list<int32_t> extents) {
    type* t = array_type(element, static_cast<uint32_t>(extents.size()));
    uint32_t d = 0;
    for (int32_t n : extents) set_bounds(t, d++, 1, n);
    t->size = 0;
    type_storage_size(t);
    return t;
  }
  // An assumed-size array of the given rank: every extent but the last 3.
  static type* assumed_size_of(type* element, uint32_t rank) {
    type* t = array_type(element, rank);
    for (uint32_t d = 0; d + 1 < rank; ++d) set_bounds(t, d, 1, 3);
    t->bound_info->lower(rank - 1) = make_bound(1, bk_constant, nullptr);
    init_bound(&t->bound_info->upper(rank - 1), bk_assumed);
    t->shape_kind = assumed_size;
    return t;
  }
  static expr_node* omitted() { return new_expr_node(enk_empty); }
  // A dummy argument of type t, OPTIONAL when asked.
  static expr_node* dummy(type* t, bool optional, uint32_t line = 5, const char* name = "D") {
    expr_node* n = var(t, line, name);
    n->object->is_parameter = true;
    n->object->is_optional = optional;
    return n;
  }
  // The row of an enk_intrinsic node built by the IL builders, or -1.
  static int intrinsic_row(const expr_node* e) {
    return e && e->node_kind == enk_intrinsic ? e->intrinsic : -1;
  }
  // Whether a bound is SIZE(x, dim) of a reference to x.
  static bool is_extent_of(const bound_record& b, const expr_node* x, int32_t dim) {
    if (b.kind != bk_expression || intrinsic_row(b.expr) != ir_size) return false;
    const expr_node* ref = b.expr->operands;
    if (!ref || ref->node_kind != enk_ref || ref->reference != x) return false;
    const expr_node* d = ref->next;
    int32_t v = 0;
    return d && constant_int_value(const_cast<expr_node*>(d), &v) && v == dim;
  }
};
