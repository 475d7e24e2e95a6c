// The reductions and the array construction and manipulation functions:
// DIM and MASK rules, result shapes with their bounds, shift shapes, the
// default boundary of EOSHIFT, the SHAPE argument of RESHAPE, SPREAD's rank
// limit and the extent of TRANSFER.
#include "frontend/lexer/literal_constants.h"
#include "tests/unit/intrinsics/checks_fixture.h"

using ArrayChecksTest = IntrinsicChecksTest;

TEST_F(ArrayChecksTest, SumReducesAlongDim) {
  type* real = default_real_type();
  // SUM(A) of a rank-2 array: a scalar; the omitted DIM and MASK get types.
  expr_node* a = var(array_of(real, {3, 4}));
  expr_node* dim = omitted();
  expr_node* mask = omitted();
  expr_node* n = call(ir_sum, 0, {a, dim, mask});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_intrinsic);
  EXPECT_EQ(n->type, real);
  EXPECT_EQ(dim->type, default_integer_type());
  ASSERT_TRUE(is_array_type(mask->type));
  EXPECT_EQ(mask->type->rank, 2);
  EXPECT_EQ(mask->type->element_type, default_logical_type());

  // SUM(A, 2): rank 1, bounds 1 to the first extent of A.
  a = var(array_of(real, {3, 4}));
  n = call(ir_sum, 0, {a, int_const(2), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_TRUE(is_array_type(n->type));
  EXPECT_EQ(n->type->rank, 1);
  EXPECT_EQ(n->type->shape_kind, explicit_shape);
  EXPECT_EQ(n->type->element_type, real);
  EXPECT_EQ(n->type->bound_info->lower(0).kind, bk_constant);
  EXPECT_EQ(n->type->bound_info->lower(0).value, 1);
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(0), a, 1));

  // SUM(A, 1) of a rank-3 array keeps the extents of dimensions 2 and 3.
  a = var(array_of(real, {2, 3, 4}));
  n = call(ir_sum, 0, {a, int_const(1), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_EQ(n->type->rank, 2);
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(0), a, 2));
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(1), a, 3));

  // SUM(V, 1) of a rank-1 array is a scalar.
  n = call(ir_sum, 0, {var(vector_of(real, 5)), int_const(1), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, real);
  EXPECT_EQ(messages(), "");
}

TEST_F(ArrayChecksTest, UnknownOrOutOfRangeDimDeletesADimensionByArguments) {
  type* real = default_real_type();
  // SUM(A, K) with a variable K: no message, a delete_dimension type.
  expr_node* a = var(array_of(real, {3, 4}));
  expr_node* k = var(default_integer_type(), 5, "K");
  expr_node* n = call(ir_sum, 0, {a, k, omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(messages(), "");
  ASSERT_EQ(n->type->type_code, tk_farray);
  EXPECT_EQ(n->type->shape_kind, delete_dimension);
  EXPECT_EQ(n->type->rank, 1);
  ASSERT_NE(n->type->bound_args, nullptr);
  EXPECT_EQ(n->type->bound_args->reference, a);
  ASSERT_NE(n->type->bound_args->next, nullptr);
  EXPECT_EQ(n->type->bound_args->next->reference, k);

  // SUM(A, 3) of a rank-2 array: 435 at DIM, and the same kind of type.
  a = var(array_of(real, {3, 4}));
  n = call(ir_sum, 0, {a, int_const(3, 8), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  std::string out = messages();
  EXPECT_EQ(count(out, "subscript out of range"), 1);
  EXPECT_EQ(n->type->shape_kind, delete_dimension);
}

TEST_F(ArrayChecksTest, ReductionArgumentRules) {
  type* logical = default_logical_type();
  // ALL(M, D) with an OPTIONAL dummy D: 42.
  expr_node* n = call(ir_all, 0, {var(array_of(logical, {2, 2})), dummy(default_integer_type(), true)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_EQ(count(messages(), "argument must not be an optional dummy argument"), 1);
  // ANY of a scalar: 537.
  n = call(ir_any, 0, {var(logical), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "expected an array valued expression"), 1);
  // COUNT(M, 1) of a rank-2 mask: a default INTEGER vector.
  n = call(ir_count, 0, {var(array_of(logical, {2, 5})), int_const(1)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_TRUE(is_array_type(n->type));
  EXPECT_EQ(n->type->element_type, default_integer_type());
  // SUM(A, MASK=M) with a mask of another shape: 285.
  n = call(ir_sum, 0, {var(vector_of(default_real_type(), 3)), omitted(), var(vector_of(logical, 4))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "operands are incompatible"), 1);
  // Reductions are refused in restricted expressions.
  n = call(ir_sum, 0, {var(vector_of(default_real_type(), 3)), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 24, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
}

TEST_F(ArrayChecksTest, LocationReductionIsAVectorOfTheRank) {
  expr_node* mask = omitted();
  expr_node* n = call(ir_maxloc, 0, {var(array_of(default_integer_type(), {2, 3, 4})), mask});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_TRUE(is_array_type(n->type));
  EXPECT_EQ(n->type->rank, 1);
  EXPECT_EQ(n->type->element_type, default_integer_type());
  EXPECT_EQ(n->type->bound_info->upper(0).kind, bk_constant);
  EXPECT_EQ(n->type->bound_info->upper(0).value, 3);
  EXPECT_EQ(mask->type->rank, 3);
  EXPECT_EQ(messages(), "");
}

TEST_F(ArrayChecksTest, ReshapeTakesItsBoundsFromShape) {
  type* real = default_real_type();
  expr_node* shape = var(vector_of(default_integer_type(), 2), 5, "S");
  expr_node* pad = omitted();
  expr_node* order = omitted();
  expr_node* n = call(ir_reshape, 0, {var(vector_of(real, 6)), shape, pad, order});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(messages(), "");
  ASSERT_EQ(n->type->rank, 2);
  EXPECT_EQ(n->type->element_type, real);
  for (uint32_t d = 0; d < 2; ++d) {
    const bound_record& u = n->type->bound_info->upper(d);
    ASSERT_EQ(u.kind, bk_expression);
    ASSERT_EQ(u.expr->node_kind, enk_subscript);
    EXPECT_EQ(u.expr->array_expr->reference, shape);
    int32_t v = 0;
    ASSERT_TRUE(constant_int_value(u.expr->ind_list, &v));
    EXPECT_EQ(v, static_cast<int32_t>(d) + 1);
  }
  ASSERT_TRUE(is_array_type(pad->type));
  EXPECT_EQ(pad->type->element_type, real);
  EXPECT_EQ(order->type->element_type, default_integer_type());

  // A SHAPE of size 8: 553; of size 0: 383; of non-constant size: 380.
  n = call(ir_reshape, 0, {var(vector_of(real, 6)), var(vector_of(default_integer_type(), 8)), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "argument size must be less or equal to seven"), 1);
  n = call(ir_reshape, 0, {var(vector_of(real, 6)), var(vector_of(default_integer_type(), 0)), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "array size must be positive"), 1);
  type* adjustable = array_type(default_integer_type(), 1);
  adjustable->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  adjustable->bound_info->upper(0) = make_bound(0, bk_expression, var(default_integer_type()));
  n = call(ir_reshape, 0, {var(vector_of(real, 6)), var(adjustable), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "non-constant bound array or non-constant length string not allowed"), 1);
}

TEST_F(ArrayChecksTest, SpreadAddsADimension) {
  type* real = default_real_type();
  // SOURCE of rank 7: 542.
  expr_node* n = call(ir_spread, 0, {var(array_of(real, {1, 1, 1, 1, 1, 1, 1})), int_const(1), int_const(2)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "maximum rank may be six"), 1);
  // SPREAD(V, 2, N): rank 2, V's extent first, then MAX0(N, 0).
  expr_node* v = var(vector_of(real, 4));
  n = call(ir_spread, 0, {v, int_const(2), var(default_integer_type(), 5, "N")});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_EQ(n->type->rank, 2);
  EXPECT_EQ(n->type->shape_kind, explicit_shape);
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(0), v, 1));
  EXPECT_EQ(intrinsic_row(n->type->bound_info->upper(1).expr), ir_max0);
  // A variable DIM: an add_dimension type of SOURCE, DIM and the count.
  n = call(ir_spread, 0, {var(vector_of(real, 4)), var(default_integer_type()), int_const(3)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type->shape_kind, add_dimension);
  ASSERT_NE(n->type->bound_args, nullptr);
  ASSERT_NE(n->type->bound_args->next, nullptr);
  EXPECT_EQ(intrinsic_row(n->type->bound_args->next->next), ir_max0);
  // DIM 3 for a rank-2 result: 435.
  n = call(ir_spread, 0, {var(vector_of(real, 4)), int_const(3), int_const(3)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(count(messages(), "subscript out of range"), 1);
}

TEST_F(ArrayChecksTest, ShiftShapes) {
  type* real = default_real_type();
  // CSHIFT(V, S) with rank-1 V and an array S: 113.
  expr_node* n = call(ir_cshift, 0, {var(vector_of(real, 4)), var(vector_of(default_integer_type(), 4)), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a scalar expression"), 1);
  // A rank-2 ARRAY with a rank-2 SHIFT: 538.
  n = call(ir_cshift, 0,
           {var(array_of(real, {2, 2})), var(array_of(default_integer_type(), {2, 2})), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "the rank must be equal to rank of the first argument minus one"), 1);
  // Accepted: the result is ARRAY's type, DIM gets a type.
  expr_node* a = var(array_of(real, {2, 2}));
  expr_node* dim = omitted();
  n = call(ir_cshift, 0, {a, int_const(1), dim});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, a->type);
  EXPECT_EQ(dim->type, default_integer_type());
  EXPECT_TRUE(a->any_type_argument);
  EXPECT_EQ(messages(), "");
  // EOSHIFT with scalar SHIFT and BOUNDARY and a DIM out of range: one 435.
  n = call(ir_eoshift, 0, {var(array_of(real, {2, 2})), int_const(1), var(real), int_const(3, 9)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(count(messages(), "subscript out of range"), 1);
}

TEST_F(ArrayChecksTest, EoshiftDefaultBoundary) {
  // An INTEGER array: the omitted BOUNDARY becomes a zero constant.
  expr_node* boundary = omitted();
  expr_node* n = call(ir_eoshift, 0, {var(vector_of(default_integer_type(), 4)), int_const(1), boundary, omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(messages(), "");
  expr_node* b = intrinsic_arg(n, 2);
  ASSERT_EQ(b->node_kind, enk_constant);
  EXPECT_EQ(b->type, default_integer_type());
  EXPECT_TRUE(const_is_zero(b->constant));
  EXPECT_FALSE(b->is_optional);
  ASSERT_NE(intrinsic_arg(n, 3), nullptr);  // DIM stays in its place
  // A CHARACTER array: one blank.
  n = call(ir_eoshift, 0, {var(vector_of(default_character_type(3), 4)), int_const(1), omitted(), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  b = intrinsic_arg(n, 2);
  ASSERT_EQ(b->node_kind, enk_constant);
  EXPECT_EQ(b->type->type_code, tk_fcharacter);
  EXPECT_EQ(b->type->length.value, 1);
  EXPECT_EQ(b->constant->value[0], ' ');
  // A derived-type array: 581 at SHIFT.
  type* derived = new_type(tk_derived_type);
  n = call(ir_eoshift, 0, {var(vector_of(derived, 4)), int_const(1, 7), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "expected obligatory argument"), 1);
  // An array whose declaration failed: refused without a message of its own.
  n = call(ir_eoshift, 0, {var(vector_of(error_type(), 4)), int_const(1), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(messages(), "");
}

TEST_F(ArrayChecksTest, TransferExtentFromStorageSizes) {
  // TRANSFER(X, (/1/)) with X of 12 bytes and a 4-byte MOLD element: 3.
  expr_node* n = call(ir_transfer, 0,
                      {var(vector_of(default_real_type(), 3)), var(vector_of(default_integer_type(), 1)), omitted()});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  ASSERT_TRUE(is_array_type(n->type));
  EXPECT_EQ(n->type->bound_info->upper(0).kind, bk_constant);
  EXPECT_EQ(n->type->bound_info->upper(0).value, 3);
  // A scalar MOLD gives MOLD's type.
  n = call(ir_transfer, 0, {var(vector_of(default_real_type(), 3)), var(default_integer_type()), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_integer_type());
  // SIZE an OPTIONAL dummy: 42.
  n = call(ir_transfer, 0, {var(default_real_type()), var(default_integer_type()), dummy(default_integer_type(), true)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "argument must not be an optional dummy argument"), 1);
}

TEST_F(ArrayChecksTest, MatmulAndTransposeExtents) {
  expr_node* a = var(array_of(default_integer_type(), {2, 3}));
  expr_node* b = var(array_of(default_real_type(), {3, 4}));
  expr_node* n = call(ir_matmul, 0, {a, b});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_EQ(n->type->rank, 2);
  EXPECT_EQ(n->type->element_type, default_real_type());
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(1), b, 2));
  expr_node* m = var(array_of(default_real_type(), {2, 5}));
  n = call(ir_transpose, 0, {m});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(0), m, 2));
  EXPECT_TRUE(is_extent_of(n->type->bound_info->upper(1), m, 1));
  EXPECT_EQ(messages(), "");
}

TEST_F(ArrayChecksTest, CharacterResultsTakeLengthExpressions) {
  expr_node* s = var(default_character_type(4), 5, "S");
  expr_node* n = call(ir_trim, 0, {s});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  EXPECT_NE(n->type, s->type);
  ASSERT_EQ(n->type->length.kind, bk_expression);
  EXPECT_EQ(intrinsic_row(n->type->length.expr), ir_len_trim);
  s = var(default_character_type(4), 5, "S");
  n = call(ir_repeat, 0, {s, int_const(3)});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  ASSERT_EQ(n->type->length.kind, bk_expression);
  EXPECT_EQ(n->type->length.expr->node_kind, enk_operation);
  EXPECT_EQ(n->type->length.expr->op_kind, eok_imultiply);
  EXPECT_EQ(default_character_type(4)->length.value, 4);  // the original is untouched
  EXPECT_EQ(messages(), "");
}
