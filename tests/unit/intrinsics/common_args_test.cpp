// The argument rules every intrinsic handler applies, the common types of
// operands, the finishing of references, and the check of rows from their
// table forms.
#include "frontend/semantics/expr_check.h"
#include "tests/unit/intrinsics/intrinsics_fixture.h"

namespace {

// A unit routine at scope depth 0 (its locals are deeper).
object* unit_routine() {
  object* o = new_object();
  o->storage_class = sc_external;
  o->corresp.scope_depth = 0;
  return o;
}

type* assumed_size_vector() {
  type* t = array_type(default_real_type(), 1);
  t->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  init_bound(&t->bound_info->upper(0), bk_assumed);
  return t;
}

}  // namespace

using CommonArgsTest = IntrinsicsTest;

TEST_F(CommonArgsTest, RestrictedExpressionsRejectLocalsOfTheUnit) {
  object* unit = unit_routine();
  expr_node* local = var(default_integer_type(), 6, "N");
  expr_node* named = var(default_integer_type(), 7, "K");
  named->object->is_constant = true;
  expr_node* dummy = var(default_integer_type(), 8, "D");
  dummy->object->is_parameter = true;
  expr_node* local2 = var(default_integer_type(), 9, "M");
  expr_node* n = call(ir_max, 0, {local, named, dummy, local2});
  EXPECT_EQ(check_intrinsic_args(n, 24, unit), 0);
  // Both locals are reported, each once.
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 2);
  // A variable in COMMON and a use-associated one pass; no context routine
  // accepts everything.
  expr_node* in_common = var(default_integer_type(), 6, "C");
  in_common->object->symbol = symbol_create(sym_variable, intern_cstring("C"), null_pos, 1);
  in_common->object->symbol->word3 |= varf_in_common;
  expr_node* used = var(default_integer_type(), 6, "U");
  used->object->storage_class = sc_use_associated;
  n = call(ir_max, 0, {in_common, used});
  EXPECT_EQ(check_intrinsic_args(n, 28, unit), 1);
  n = call(ir_max, 0, {var(default_integer_type()), var(default_integer_type())});
  EXPECT_EQ(check_intrinsic_args(n, 24, nullptr), 1);
  EXPECT_EQ(messages(), "");
}

TEST_F(CommonArgsTest, RestrictedRuleLooksIntoOperationsButNotInquiries) {
  object* unit = unit_routine();
  // SIZE(A) in a restricted expression: A is only inspected.
  expr_node* size = call(ir_size, 0, {var(vector_of(default_real_type(), 3)), new_expr_node(enk_empty)});
  EXPECT_EQ(check_inquiry_args(size, 24, unit), 1);
  // SIZE(A, N) still checks N.
  size = call(ir_size, 0, {var(vector_of(default_real_type(), 3)), var(default_integer_type())});
  EXPECT_EQ(check_inquiry_args(size, 24, unit), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
  // An operation over a local inside an argument.
  expr_node* sum = new_operation_node(eok_iadd, default_integer_type(), var(default_integer_type()));
  sum->operands->next = int_const(1);
  expr_node* n = call(ir_abs, 0, {sum});
  EXPECT_EQ(check_intrinsic_args(n, 24, unit), 0);
  // An enk_intrinsic of an inquiry function skips its first operand.
  expr_node* kind = new_expr_node(enk_intrinsic);
  kind->intrinsic = ir_kind;
  kind->operands = var(default_real_type());
  n = call(ir_abs, 0, {kind});
  EXPECT_EQ(check_intrinsic_args(n, 24, unit), 1);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 1);
}

TEST_F(CommonArgsTest, RestrictedRuleWalksDesignators) {
  object* unit = unit_routine();
  // P(N) with P a named constant array and N a local: the subscript fails.
  expr_node* base = var(vector_of(default_integer_type(), 4), 6, "P");
  base->object->is_constant = true;
  expr_node* element = new_expr_node(enk_subscript);
  element->array_expr = base;
  element->ind_list = var(default_integer_type(), 6, "N");
  element->type = default_integer_type();
  expr_node* n = call(ir_abs, 0, {element});
  EXPECT_EQ(check_intrinsic_args(n, 24, unit), 0);
  // P(1:M) as the first argument of an inquiry: the bounds are checked even
  // though the designator itself passes.
  expr_node* triplet = new_expr_node(enk_triplet);
  triplet->first = int_const(1);
  triplet->second = var(default_integer_type(), 7, "M");
  expr_node* section = new_expr_node(enk_section);
  section->array_expr = var(vector_of(default_integer_type(), 4), 7, "Q");
  section->ind_list = triplet;
  section->type = vector_of(default_integer_type(), 4);
  n = call(ir_size, 0, {section, new_expr_node(enk_empty)});
  EXPECT_EQ(check_inquiry_args(n, 24, unit), 0);
  // A component of a local structure in a constructor.
  expr_node* field = new_expr_node(enk_field);
  field->base_expr = var(new_type(tk_derived_type), 8, "S");
  field->type = default_integer_type();
  expr_node* items = new_expr_node(enk_constructor);
  items->constructor = field;
  items->type = vector_of(default_integer_type(), 1);
  n = call(ir_size, 0, {var(vector_of(default_integer_type(), 2)), items});
  EXPECT_EQ(check_inquiry_args(n, 24, unit), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 3);
}

TEST_F(CommonArgsTest, AssumedSizeArrays) {
  expr_node* n = call(ir_sum, 0, {var(assumed_size_vector()), new_expr_node(enk_empty),
                                  new_expr_node(enk_empty)});
  EXPECT_EQ(check_intrinsic_args(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "an assumed-size array is not allowed"), 1);
  // The first argument of LBOUND is exempt.
  n = call(ir_lbound, 0, {var(assumed_size_vector()), new_expr_node(enk_empty)});
  EXPECT_EQ(check_inquiry_args(n, 0, nullptr), 1);
  EXPECT_EQ(messages(), "");
}

TEST_F(CommonArgsTest, StatementFunctionBodies) {
  type* v = vector_of(default_real_type(), 3);
  expr_node* n = call(ir_sqrt, 1, {var(v)});
  EXPECT_EQ(check_intrinsic_args(n, 128, nullptr), 0);
  EXPECT_EQ(count(messages(), "processing array-valued expressions is not allowed"), 1);
  // An element-sequence actual is accepted.
  expr_node* seq = var(v);
  seq->element_sequence = true;
  n = call(ir_sqrt, 1, {seq});
  EXPECT_EQ(check_intrinsic_args(n, 128, nullptr), 1);
  // An omitted MASK typed with its dummy's elemental form is no array value.
  expr_node* mask = new_expr_node(enk_empty);
  mask->type = signature_of(ir_sum)->type->param_type_list->next->next->type;
  n = call(ir_sum, 0, {seq, new_expr_node(enk_empty), mask});
  EXPECT_EQ(check_intrinsic_args(n, 128, nullptr), 1);
  EXPECT_EQ(messages(), "");
  // A section (of scalar type here) is not allowed in the body at all.
  expr_node* section = new_expr_node(enk_section);
  section->type = default_real_type();
  n = call(ir_sqrt, 1, {section});
  EXPECT_EQ(check_intrinsic_args(n, 128, nullptr), 0);
  EXPECT_EQ(count(messages(), "not allowed for a statement function scalar expression"), 1);
  // An inquiry with an array-valued further argument: reported at the
  // argument and once more at the reference.
  n = call(ir_size, 0, {var(v), var(vector_of(default_integer_type(), 2))});
  EXPECT_EQ(check_inquiry_args(n, 128, nullptr), 0);
  EXPECT_EQ(count(messages(), "processing array-valued expressions is not allowed"), 2);
}

TEST_F(CommonArgsTest, CommonNumericType) {
  type* i = default_integer_type();
  type* r = default_real_type();
  type* d = double_precision_type();
  type* z = default_complex_type();
  type* l = default_logical_type();
  struct { type* a; type* b; type* result; } cases[] = {
      {i, r, r}, {r, i, r}, {r, d, d}, {d, z, z}, {i, integer_type(0), i},
      {logical_type(0), l, l}, {z, complex_type(1), complex_type(1)},
  };
  for (auto& c : cases) EXPECT_EQ(common_numeric_type(c.a, c.b), c.result);
  type* c3 = default_character_type(3);
  EXPECT_EQ(common_numeric_type(c3, default_character_type(7)), c3);
  EXPECT_EQ(common_numeric_type(c3, i), nullptr);
  // Shapes: a scalar takes the array's shape.
  type* v = vector_of(i, 4);
  type* t = common_numeric_type(r, v);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->type_code, tk_farray);
  EXPECT_EQ(t->element_type, r);
  EXPECT_EQ(common_numeric_type(v, vector_of(r, 5)), nullptr);
}

TEST_F(CommonArgsTest, ElementalBinaryType) {
  type* i = default_integer_type();
  type* r = default_real_type();
  type* v = vector_of(i, 2);
  type* w = vector_of(r, 2);
  EXPECT_EQ(elemental_binary_type(i, r, r), r);
  EXPECT_EQ(elemental_binary_type(v, r, i), v);
  EXPECT_EQ(elemental_binary_type(i, w, r), w);
  EXPECT_EQ(elemental_binary_type(v, w, r), w);
  EXPECT_EQ(elemental_binary_type(v, w, i), v);
  type* l = elemental_binary_type(v, w, default_logical_type());
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->element_type, default_logical_type());
  EXPECT_EQ(l->rank, 1);
  EXPECT_EQ(elemental_binary_type(v, vector_of(r, 3), r), nullptr);
}

TEST_F(CommonArgsTest, UnifyIntrinsicArgsNeedsOneTypeAndKind) {
  expr_node* n = call(ir_mod, 1, {var(default_integer_type()), var(integer_type(0), 9)});
  EXPECT_EQ(unify_intrinsic_args(&n->operands), nullptr);
  std::string out = messages();
  EXPECT_EQ(count(out, "operands are incompatible"), 1) << out;
  n = call(ir_mod, 1, {var(vector_of(default_integer_type(), 3)), var(default_integer_type())});
  type* t = unify_intrinsic_args(&n->operands);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->rank, 1);
  EXPECT_EQ(messages(), "");
}

TEST_F(CommonArgsTest, SetIntrinsicCallAndConversions) {
  expr_node* x = var(default_real_type());
  expr_node* n = call(ir_sqrt, 0, {x});
  ASSERT_EQ(set_intrinsic_call(n, default_real_type()), 1);
  EXPECT_EQ(n->node_kind, enk_intrinsic);
  EXPECT_EQ(n->intrinsic, ir_sqrt);
  EXPECT_EQ(n->operands, x);
  EXPECT_EQ(n->routine, nullptr);
  // A conversion to another type is a cast of the first argument only.
  x = var(default_real_type());
  expr_node* kind = int_const(4);
  n = call(ir_int, 0, {x, kind});
  ASSERT_EQ(finish_conversion_call(n, default_integer_type()), 1);
  EXPECT_EQ(n->node_kind, enk_operation);
  EXPECT_EQ(n->op_kind, eok_cast);
  EXPECT_EQ(n->operands, x);
  EXPECT_EQ(x->next, nullptr);
  EXPECT_EQ(n->type, default_integer_type());
  // INT(I) of an INTEGER leaves I itself, with the reference's link.
  expr_node* i = var(default_integer_type(), 9);
  n = call(ir_int, 0, {i, new_expr_node(enk_empty)});
  expr_node* after = int_const(2);
  n->next = after;
  ASSERT_EQ(finish_conversion_call(n, default_integer_type()), 1);
  EXPECT_EQ(n->node_kind, enk_object);
  EXPECT_EQ(n->object, i->object);
  EXPECT_EQ(n->next, after);
  EXPECT_EQ(n->source_pos.seq, 5u);
}

TEST_F(CommonArgsTest, ConstantIntValue) {
  int32_t v = 0;
  EXPECT_EQ(constant_int_value(int_const(8), &v), 1);
  EXPECT_EQ(v, 8);
  EXPECT_EQ(constant_int_value(var(default_integer_type()), &v), 0);
  EXPECT_EQ(constant_int_value(const_node(real_constant(default_real_type(), 4.0)), &v), 0);
  EXPECT_EQ(constant_int_value(error_expr_node(), &v), 0);
  EXPECT_EQ(messages(), "");
}

TEST_F(CommonArgsTest, RowsCheckedByTheirTableForms) {
  // LEN_TRIM (elemental, default INTEGER e): an array argument gives an
  // INTEGER array of its shape.
  type* names = vector_of(default_character_type(8), 5);
  expr_node* n = call(ir_len_trim, 0, {var(names)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_intrinsic);
  EXPECT_EQ(n->intrinsic, ir_len_trim);
  ASSERT_EQ(n->type->type_code, tk_farray);
  EXPECT_EQ(n->type->element_type, default_integer_type());
  EXPECT_TRUE(n->for_all);
  // TRANSPOSE (any type r2): a rank-2 array of the argument's element type.
  type* m = array_type(double_precision_type(), 2);
  n = call(ir_transpose, 0, {var(m)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type->rank, 2);
  EXPECT_EQ(n->type->element_type, double_precision_type());
  // CSHIFT (any type e, not elemental): the type of ARRAY; its own check
  // leaves the array-valued flag as it was.
  type* v = vector_of(default_logical_type(), 6);
  n = call(ir_cshift, 0, {var(v), int_const(1), new_expr_node(enk_empty)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, v);
  EXPECT_FALSE(n->for_all);
  // SUM without DIM: a scalar of the element type.
  n = call(ir_sum, 0, {var(vector_of(integer_type(0), 3)), new_expr_node(enk_empty),
                       new_expr_node(enk_empty)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, integer_type(0));
  EXPECT_FALSE(n->for_all);
  // A subroutine keeps its void type.
  n = call(ir_random_number, 0, {var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type->type_code, tk_void);
  // An argument that already failed fails the reference quietly.
  n = call(ir_plus_op, 1, {error_expr_node(), var(default_real_type())});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_EQ(messages(), "");
  // A failed argument rule fails the reference.
  n = call(ir_len_trim, 0, {var(vector_of(default_character_type(8), 2))});
  EXPECT_EQ(intrinsic_check(n, 128, nullptr), 0);
  EXPECT_EQ(n->node_kind, enk_error);
}
