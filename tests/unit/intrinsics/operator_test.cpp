// Intrinsic operator and assignment handlers: typed operator codes, common
// operand types, result types and the array-valued flag.
#include "frontend/semantics/expr_check.h"
#include "tests/unit/intrinsics/intrinsics_fixture.h"

using OperatorTest = IntrinsicsTest;

TEST_F(OperatorTest, ArithmeticTakesTheCommonTypeAndTypedCode) {
  type* i = default_integer_type();
  type* r = default_real_type();
  type* d = double_precision_type();
  type* z = default_complex_type();
  struct {
    int row;
    type* left;
    type* right;
    type* result;
    int op;
  } cases[] = {
      {ir_plus_op, i, i, i, eok_iadd},          {ir_plus_op, i, r, r, eok_fadd},
      {ir_minus_op, r, d, d, eok_fsubtract},    {ir_multiply_op, z, r, z, eok_xmultiply},
      {ir_divide_op, i, i, i, eok_idivide},     {ir_multiply_op, integer_type(0), i, i, eok_imultiply},
  };
  for (auto& c : cases) {
    expr_node* x = var(c.left);
    expr_node* y = var(c.right);
    expr_node* n = call(c.row, 1 - (c.row > ir_minus_op), {x, y});
    ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1) << c.row;
    EXPECT_EQ(n->node_kind, enk_operation);
    EXPECT_EQ(n->op_kind, c.op) << c.row;
    EXPECT_EQ(n->type, c.result);
    EXPECT_FALSE(n->for_all);
    ASSERT_NE(n->operands, nullptr);
    EXPECT_TRUE(type_equal(n->operands->type, c.result));
    ASSERT_NE(n->operands->next, nullptr);
    EXPECT_TRUE(type_equal(n->operands->next->type, c.result));
    EXPECT_EQ(n->routine, nullptr);
  }
  EXPECT_EQ(messages(), "");
}

TEST_F(OperatorTest, UnaryMinusNegatesByType) {
  struct { type* t; int op; } cases[] = {
      {default_integer_type(), eok_inegate},
      {default_real_type(), eok_fnegate},
      {default_complex_type(), eok_xnegate},
  };
  for (auto& c : cases) {
    expr_node* n = call(ir_minus_op, 0, {var(c.t)});
    ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
    EXPECT_EQ(n->op_kind, c.op);
    EXPECT_EQ(n->type, c.t);
  }
}

TEST_F(OperatorTest, UnaryPlusLeavesTheOperand) {
  expr_node* x = var(default_real_type(), 7);
  expr_node* n = call(ir_plus_op, 0, {x});
  expr_node* after = int_const(1);
  n->next = after;
  n->intent_in = true;
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_object);
  EXPECT_EQ(n->object, x->object);
  EXPECT_EQ(n->source_pos.seq, 7u);
  EXPECT_EQ(n->next, after);
  EXPECT_TRUE(n->intent_in);
}

TEST_F(OperatorTest, Exponentiation) {
  type* i = default_integer_type();
  type* r = default_real_type();
  type* z = default_complex_type();
  struct { type* base; type* exponent; int op; type* result; type* exponent_after; } cases[] = {
      {r, i, eok_f_to_i_expon, r, i},
      {r, r, eok_f_to_f_expon, r, r},
      {z, r, eok_x_to_x_expon, z, z},
      {i, i, eok_i_to_i_expon, i, i},
      {z, i, eok_x_to_i_expon, z, i},
      {i, r, eok_f_to_f_expon, r, r},
  };
  for (auto& c : cases) {
    expr_node* n = call(ir_expon_op, 0, {var(c.base), var(c.exponent)});
    ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
    EXPECT_EQ(n->op_kind, c.op);
    EXPECT_EQ(n->type, c.result);
    EXPECT_TRUE(type_equal(n->operands->next->type, c.exponent_after)) << c.op;
  }
}

TEST_F(OperatorTest, RelationalComparesInTheCommonType) {
  // I .EQ. X compares as REAL with a default LOGICAL result.
  expr_node* n = call(ir_eq_op, 0, {var(default_integer_type()), var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_feq);
  EXPECT_EQ(n->type, default_logical_type());
  EXPECT_TRUE(type_equal(n->operands->type, default_real_type()));
  EXPECT_FALSE(n->operands->any_type_argument);
  // CHARACTER comparisons mark their operands.
  n = call(ir_lt_op, 4, {var(default_character_type(3)), var(default_character_type(5))});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_clt);
  EXPECT_TRUE(n->operands->any_type_argument && n->operands->next->any_type_argument);
  // Complex equality.
  n = call(ir_ne_op, 0, {var(default_complex_type()), var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_xne);
}

TEST_F(OperatorTest, ArraysMustConform) {
  type* a = vector_of(default_real_type(), 4);
  type* b = vector_of(default_real_type(), 4);
  expr_node* n = call(ir_eq_op, 0, {var(a), var(b)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(n->for_all);
  ASSERT_EQ(n->type->type_code, tk_farray);
  EXPECT_EQ(n->type->element_type, default_logical_type());
  // Array with scalar: the array's shape.
  n = call(ir_plus_op, 1, {var(a), var(default_integer_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, a);
  EXPECT_TRUE(n->for_all);
  EXPECT_EQ(messages(), "");
  // Extents 4 and 5 do not conform.
  n = call(ir_eq_op, 0, {var(a, 8), var(vector_of(default_real_type(), 5))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(n->node_kind, enk_error);
  std::string out = messages();
  EXPECT_EQ(count(out, "operands are incompatible"), 1) << out;
  EXPECT_EQ(count(out, ": 3) error"), 1) << out;  // at the first operand (column 3)
}

TEST_F(OperatorTest, CharacterKindsMustAgree) {
  type* other_kind = new_type(tk_fcharacter);
  copy_type_entry(default_character_type(2), other_kind);
  other_kind->kind = 1;
  for (int row : {ir_concat_op, ir_eq_op, ir_ge_op}) {
    int k = row == ir_concat_op ? 0 : row == ir_eq_op ? 1 : 4;
    expr_node* n = call(row, k, {var(default_character_type(2)), var(other_kind)});
    EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0) << row;
  }
  EXPECT_EQ(count(messages(), "operands are incompatible"), 3);
}

TEST_F(OperatorTest, ConcatenationLengthIsTheSumOfLengths) {
  expr_node* n = call(ir_concat_op, 0, {var(default_character_type(2)), var(default_character_type(3))});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_concat);
  ASSERT_EQ(n->type->type_code, tk_fcharacter);
  EXPECT_EQ(n->type->length.kind, bk_expression);
  expr_node* sum = n->type->length.expr;
  ASSERT_NE(sum, nullptr);
  EXPECT_EQ(sum->node_kind, enk_operation);
  EXPECT_EQ(sum->op_kind, eok_iadd);
  EXPECT_EQ(sum->type, default_integer_type());
  ASSERT_NE(sum->operands, nullptr);
  ASSERT_NE(sum->operands->next, nullptr);
  EXPECT_EQ(n->type->size, 0u);
  EXPECT_TRUE(n->operands->any_type_argument && n->operands->next->any_type_argument);
  // The canonical CHARACTER*2 type is left as it was.
  EXPECT_EQ(default_character_type(2)->length.kind, bk_constant);
}

TEST_F(OperatorTest, LogicalAndNegation) {
  expr_node* n = call(ir_land_op, 0, {var(logical_type(0)), var(default_logical_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_land);
  EXPECT_EQ(n->type, default_logical_type());  // the greater kind
  for (int row : {ir_lor_op, ir_eqv_op, ir_neqv_op}) {
    n = call(row, 0, {var(default_logical_type()), var(default_logical_type())});
    ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
    EXPECT_EQ(n->op_kind, row == ir_lor_op ? eok_lor : row == ir_eqv_op ? eok_eqv : eok_neqv);
  }
  type* mask = vector_of(default_logical_type(), 3);
  n = call(ir_not_op, 0, {var(mask)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_not);
  EXPECT_EQ(n->type, mask);
  EXPECT_TRUE(n->for_all);
}

TEST_F(OperatorTest, AssignmentCodes) {
  struct { type* left; type* right; int k; int op; } cases[] = {
      {default_integer_type(), default_real_type(), 0, eok_iassign},
      {default_real_type(), default_integer_type(), 0, eok_fassign},
      {default_complex_type(), default_real_type(), 0, eok_xassign},
      {default_logical_type(), default_logical_type(), 1, eok_lassign},
      {default_character_type(4), default_character_type(2), 2, eok_cassign},
  };
  for (auto& c : cases) {
    expr_node* left = var(c.left);
    expr_node* n = call(ir_assign_op, c.k, {left, var(c.right)});
    type* matched = n->type;
    ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1) << c.op;
    EXPECT_EQ(n->node_kind, enk_operation);
    EXPECT_EQ(n->op_kind, c.op);
    EXPECT_EQ(n->operands, left);
    EXPECT_TRUE(left->intent_out);
    EXPECT_EQ(n->type, matched);
    EXPECT_FALSE(n->for_all);
    EXPECT_EQ(left->any_type_argument, c.op == eok_cassign);
  }
  // A derived type, and an array destination.
  type* point = new_type(tk_derived_type);
  expr_node* n = call(ir_assign_op, 3, {var(point), var(point)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_sassign);
  n = call(ir_assign_op, 0, {var(vector_of(default_real_type(), 3)), var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->op_kind, eok_fassign);
  EXPECT_TRUE(n->for_all);
  EXPECT_EQ(messages(), "");
}

TEST_F(OperatorTest, AssignmentIsNoRestrictedExpression) {
  expr_node* n = call(ir_assign_op, 0, {var(default_integer_type()), int_const(1)});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 0);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
}
