// Character search and lexical comparison, the inquiry functions with their
// assumed-size rules, the status inquiries and the intrinsic subroutines.
#include "tests/unit/intrinsics/checks_fixture.h"

using CharacterInquiryTest = IntrinsicChecksTest;

TEST_F(CharacterInquiryTest, IndexBackIsRefusedInRestrictedExpressions) {
  type* c = default_character_type(5);
  // INDEX without BACK in a restricted expression: accepted.
  expr_node* back = omitted();
  expr_node* n = call(ir_index, 1, {var(c), var(default_character_type(1)), back});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  EXPECT_EQ(n->type, default_integer_type());
  EXPECT_EQ(back->type, default_logical_type());
  EXPECT_TRUE(n->operands->any_type_argument);
  EXPECT_EQ(messages(), "");
  // With BACK: 111.
  n = call(ir_index, 1, {var(c), var(default_character_type(1)), var(default_logical_type())});
  EXPECT_EQ(intrinsic_check(n, 24, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
  // An array STRING makes the result an array.
  n = call(ir_index, 1, {var(vector_of(c, 3)), var(default_character_type(1)), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(is_array_type(n->type));
  EXPECT_TRUE(n->for_all);
}

TEST_F(CharacterInquiryTest, LexicalComparisonAndLen) {
  expr_node* n = call(ir_lge, 0, {var(default_character_type(2)), var(vector_of(default_character_type(3), 4))});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  ASSERT_TRUE(is_array_type(n->type));
  EXPECT_EQ(n->type->element_type, default_logical_type());
  n = call(ir_llt, 0, {var(default_character_type(2)), var(default_character_type(3))});
  EXPECT_EQ(intrinsic_check(n, 24, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
  // LEN of an array is a scalar.
  n = call(ir_len, 0, {var(vector_of(default_character_type(3), 4))});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  EXPECT_EQ(n->type, default_integer_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(CharacterInquiryTest, BoundsOfAssumedSizeArrays) {
  type* real = default_real_type();
  struct Case {
    int row;
    uint32_t rank;
    int dim;  // 0: omitted
    bool accepted;
  };
  const Case cases[] = {
      {ir_ubound, 1, 0, false}, {ir_ubound, 2, 1, true}, {ir_ubound, 2, 2, false},
      {ir_size, 1, 0, false},   {ir_size, 2, 1, true},   {ir_size, 2, 2, false},
      {ir_lbound, 1, 0, true},  {ir_lbound, 2, 2, true},
  };
  for (const Case& c : cases) {
    expr_node* dim = c.dim ? int_const(c.dim) : omitted();
    expr_node* n = call(c.row, 0, {var(assumed_size_of(real, c.rank), 5, "A"), dim});
    EXPECT_EQ(intrinsic_check(n, 0, nullptr), c.accepted ? 1 : 0) << c.row << " " << c.rank << " " << c.dim;
    EXPECT_EQ(count(messages(), "an assumed-size array is not allowed"), c.accepted ? 0 : 1);
  }
  // SIZE(A, K) does not look at the value of a DIM beyond that.
  expr_node* n = call(ir_size, 0, {var(array_of(real, {2, 2})), int_const(9)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 1);
  // SHAPE of an assumed-size array: 36.
  n = call(ir_shape, 0, {var(assumed_size_of(real, 1))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "an assumed-size array is not allowed"), 1);
}

TEST_F(CharacterInquiryTest, BoundResults) {
  // LBOUND(A) of a rank-3 array: default INTEGER of extent 3.
  expr_node* dim = omitted();
  expr_node* n = call(ir_lbound, 0, {var(array_of(default_real_type(), {2, 3, 4})), dim});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  ASSERT_TRUE(is_array_type(n->type));
  EXPECT_EQ(n->type->element_type, default_integer_type());
  EXPECT_EQ(n->type->bound_info->upper(0).kind, bk_constant);
  EXPECT_EQ(n->type->bound_info->upper(0).value, 3);
  EXPECT_EQ(dim->type, default_integer_type());
  // UBOUND(A, D) with an OPTIONAL dummy D: 42.
  n = call(ir_ubound, 0, {var(vector_of(default_real_type(), 3)), dummy(default_integer_type(), true)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "argument must not be an optional dummy argument"), 1);
  // SHAPE of a scalar: a vector of no elements.
  n = call(ir_shape, 0, {var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type->bound_info->upper(0).value, 0);
  // HUGE of a DOUBLE PRECISION array: a scalar of its element type.
  n = call(ir_huge, 0, {var(vector_of(double_precision_type(), 2))});
  ASSERT_EQ(intrinsic_check(n, 24, nullptr), 1);
  EXPECT_EQ(n->type, double_precision_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(CharacterInquiryTest, PresentNamesItsArgument) {
  // A non-optional dummy: 550 naming it; a local: 551; an expression: 549.
  expr_node* n = call(ir_present, 0, {dummy(default_real_type(), false, 5, "X")});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  std::string out = messages();
  EXPECT_EQ(count(out, "symbol \"X\" is not OPTIONAL"), 1) << out;
  n = call(ir_present, 0, {var(default_real_type(), 5, "Y")});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  out = messages();
  EXPECT_EQ(count(out, "symbol \"Y\" is not dummy argument"), 1) << out;
  n = call(ir_present, 0, {int_const(1)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "argument to intrinsic function PRESENT is not a name"), 1);
  n = call(ir_present, 0, {dummy(default_real_type(), true)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_logical_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(CharacterInquiryTest, AllocatedAndAssociated) {
  expr_node* p = var(default_real_type(), 5, "P");
  p->object->is_pointer = true;
  expr_node* target = omitted();
  expr_node* n = call(ir_associated, 0, {p, target});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(target->type, p->type);
  EXPECT_EQ(n->type, default_logical_type());
  // POINTER not a pointer: 353; TARGET neither pointer nor target: 355.
  n = call(ir_associated, 0, {var(default_real_type()), omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a pointer"), 1);
  p = var(default_real_type(), 5, "P");
  p->object->is_pointer = true;
  n = call(ir_associated, 0, {p, var(default_real_type())});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a pointer or target"), 1);
  // ALLOCATED of a non-allocatable array: 345; of a constant: 241.
  n = call(ir_allocated, 0, {var(vector_of(default_real_type(), 2))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be an allocatable array"), 1);
  n = call(ir_allocated, 0, {int_const(1)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "expected a variable"), 1);
  // Status inquiries are refused in restricted expressions.
  expr_node* a = var(vector_of(default_real_type(), 2));
  a->object->is_allocatable = true;
  n = call(ir_allocated, 0, {a});
  EXPECT_EQ(intrinsic_check(n, 24, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
}

TEST_F(CharacterInquiryTest, IntrinsicSubroutines) {
  // RANDOM_SEED(SIZE=N, PUT=P): 445 at PUT.
  expr_node* put = var(vector_of(default_integer_type(), 4), 7, "P");
  expr_node* n = call(ir_random_seed, 0, {var(default_integer_type()), put, omitted()});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "too many actual arguments"), 1);
  // A GET of another INTEGER kind: 613.
  n = call(ir_random_seed, 0, {omitted(), omitted(), var(vector_of(integer_type(0), 4))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "argument must be of type default integer"), 1);
  // SYSTEM_CLOCK tests kinds before the restricted rule.
  n = call(ir_system_clock, 0, {var(integer_type(0)), omitted(), omitted()});
  EXPECT_EQ(intrinsic_check(n, 24, nullptr), 0);
  std::string out = messages();
  EXPECT_EQ(count(out, "argument must be of type default integer"), 1);
  EXPECT_EQ(count(out, "must be a restricted expression"), 0);
  n = call(ir_system_clock, 0, {var(default_integer_type()), omitted(), omitted()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type->type_code, tk_void);
  // DATE_AND_TIME with VALUES of another kind: 613.
  n = call(ir_date_and_time, 0, {omitted(), omitted(), omitted(), var(vector_of(integer_type(0), 8))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "argument must be of type default integer"), 1);
  // MVBITS with an array TO: every argument takes its shape.
  n = call(ir_mvbits, 0,
           {var(default_integer_type()), int_const(0), int_const(2), var(vector_of(default_integer_type(), 3)),
            int_const(1)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(n->for_all);
  EXPECT_TRUE(is_array_type(n->operands->type));
  EXPECT_EQ(messages(), "");
}
