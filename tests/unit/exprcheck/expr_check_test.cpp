// The expression checker on parsed expressions: resolution of names and
// applications by symbol class, designators and sections, folding, context
// rules, array constructors, and the character comparisons.
#include "tests/unit/exprcheck/exprcheck_fixture.h"

namespace {

TEST_F(ExprCheckTest, NamesBecomeObjectsAndOperationsGetTypedOperators) {
  object* i = declare("I", default_integer_type());
  declare("X", default_real_type());
  int r = 0;
  expr_node* e = checked("i + x", 0, &r);
  EXPECT_EQ(r, 0);
  ASSERT_EQ(e->node_kind, enk_operation);
  EXPECT_EQ(e->op_kind, eok_fadd);
  EXPECT_EQ(e->type, default_real_type());
  // The integer operand is converted to REAL by a cast over its object.
  expr_node* left = e->operands;
  ASSERT_EQ(left->node_kind, enk_operation);
  EXPECT_EQ(left->op_kind, eok_cast);
  ASSERT_EQ(left->operands->node_kind, enk_object);
  EXPECT_EQ(left->operands->object, i);
  EXPECT_TRUE(i->corresp.referenced);
  EXPECT_EQ(messages(), "");
}

TEST_F(ExprCheckTest, ConstantSubexpressionsFoldUnlessExpressionsAreKept) {
  expr_node* e = checked("2 * 3");
  ASSERT_EQ(e->node_kind, enk_constant);
  EXPECT_EQ(int_value(e), 6);
  EXPECT_EQ(e->type, default_integer_type());

  driver_options.keep_expressions = true;
  e = checked("2 * 3");
  ASSERT_EQ(e->node_kind, enk_operation);
  EXPECT_EQ(e->op_kind, eok_imultiply);
  driver_options.keep_expressions = false;
  EXPECT_EQ(messages(), "");
}

TEST_F(ExprCheckTest, SubscriptsSectionsAndSubstringsBySymbolAndType) {
  declare("A", vector_of(default_real_type(), 1, 10));
  declare("X", default_real_type());
  declare("C", default_character_type(10));
  declare("IDX", vector_of(default_integer_type(), 1, 3));

  expr_node* e = checked("a(2)");
  ASSERT_EQ(e->node_kind, enk_subscript);
  EXPECT_EQ(e->type, default_real_type());
  EXPECT_EQ(e->array_expr->node_kind, enk_object);

  e = checked("a(2:5)");
  ASSERT_EQ(e->node_kind, enk_section);
  ASSERT_EQ(e->type->type_code, tk_farray);
  EXPECT_EQ(e->type->rank, 1);
  EXPECT_EQ(e->type->shape_kind, same_shape);
  EXPECT_TRUE(e->for_all);

  // A vector subscript gives the section an explicit shape at once.
  e = checked("a(idx)");
  ASSERT_EQ(e->node_kind, enk_section);
  EXPECT_EQ(e->type->shape_kind, explicit_shape);
  ASSERT_NE(e->type->bound_info, nullptr);
  EXPECT_EQ(e->type->bound_info->lower(0).value, 1);

  // c(2) on a CHARACTER scalar is the substring c(2:2).
  e = checked("c(2)");
  ASSERT_EQ(e->node_kind, enk_substring);
  ASSERT_EQ(e->type->type_code, tk_fcharacter);
  EXPECT_EQ(e->type->length.kind, bk_constant);
  EXPECT_EQ(e->type->length.value, 1);
  e = checked("c(3:7)");
  EXPECT_EQ(e->type->length.value, 5);
  e = checked("c(:4)");
  EXPECT_EQ(e->type->length.value, 4);
  EXPECT_EQ(messages(), "");

  int r = 0;
  e = checked("x(2)", 0, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(e->node_kind, enk_error);
  EXPECT_NE(messages().find("subscript used on non-array"), std::string::npos);
  checked("a(1, 2)", 0, &r);
  EXPECT_EQ(r, 1);
  EXPECT_NE(messages().find("too many subscripts"), std::string::npos);
  checked("a(idx, 1)", 0, &r);
  EXPECT_NE(messages().find("too many subscripts"), std::string::npos);
}

TEST_F(ExprCheckTest, DesignatorsOfVariableSizeGetPrivateTypes) {
  type* adjustable = array_type(default_real_type(), 1);
  adjustable->shape_kind = explicit_shape;
  adjustable->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  adjustable->bound_info->upper(0) = make_bound(0, bk_assumed, nullptr);
  object* a = declare("A", adjustable);
  object* c = declare("C", assumed_character_type());
  a->is_parameter = true;  // dummy arguments
  c->is_parameter = true;
  object* v = declare("V", vector_of(default_real_type(), 1, 4));

  expr_node* e = checked("a", ctx_actual_arg);
  ASSERT_EQ(e->node_kind, enk_object);
  EXPECT_NE(e->type, a->type);
  EXPECT_EQ(e->type->shape_kind, same_shape);
  ASSERT_NE(e->type->bound_args, nullptr);
  EXPECT_EQ(e->type->bound_args->node_kind, enk_ref);
  EXPECT_EQ(e->type->bound_args->reference, e);
  EXPECT_TRUE(e->multiply_referenced);
  EXPECT_EQ(messages(), "");
  // As a whole it is refused outside an argument list.
  int r = 0;
  checked("a", 0, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(count_of(messages(), "an assumed-size array is not allowed"), 1);

  e = checked("c");
  ASSERT_EQ(e->node_kind, enk_object);
  EXPECT_NE(e->type, c->type);
  EXPECT_EQ(e->type->length.kind, bk_same_as);
  EXPECT_EQ(e->type->length.expr, e);

  // A constant shape keeps the declared type.
  e = checked("v");
  EXPECT_EQ(e->type, v->type);
  EXPECT_FALSE(e->multiply_referenced);
  EXPECT_EQ(messages(), "");
}

TEST_F(ExprCheckTest, ASharedNodeIsCheckedOnce) {
  declare("X", default_real_type());
  int r = 0;
  expr_node* e = checked("x(1)", 0, &r);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(count_of(messages(), "subscript used on non-array"), 1);
  EXPECT_EQ(check_expr(e, 0, nullptr), 1);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(check_expr(nullptr, 0, nullptr), 0);
}

TEST_F(ExprCheckTest, ContextRules) {
  declare("X", default_real_type());
  declare("K", default_integer_type());
  struct Row {
    const char* text;
    int context;
    const char* message;  // expected in the output, or "" for success
  };
  const Row rows[] = {
      {"x + 1.0", ctx_int_spec, "must be a specification expression"},
      {"k + 1", ctx_int_spec, ""},
      {"k + 1", ctx_variable, "expected a variable"},
      {"k", ctx_variable, ""},
      {"(/ 1, 2.0 /)", 0, "type of the expression must be the same as of previous ones"},
  };
  for (const Row& row : rows) {
    int r = 0;
    checked(row.text, row.context, &r);
    std::string out = messages();
    if (*row.message) {
      EXPECT_EQ(r, 1) << row.text;
      EXPECT_EQ(count_of(out, row.message), 1) << row.text << "\n" << out;
    } else {
      EXPECT_NE(r, 1) << row.text;
      EXPECT_EQ(out, "") << row.text;
    }
  }
}

TEST_F(ExprCheckTest, ArrayConstructorsCountTheirElements) {
  declare("I", default_integer_type());
  expr_node* e = checked("(/ 1, 2, 3 /)");
  ASSERT_NE(e->node_kind, enk_error);
  type* t = e->node_kind == enk_constant ? e->constant->type.get() : e->type.get();
  ASSERT_EQ(t->type_code, tk_farray);
  EXPECT_EQ(t->element_type, default_integer_type());
  EXPECT_EQ(t->bound_info->upper(0).kind, bk_constant);
  EXPECT_EQ(t->bound_info->upper(0).value, 3);

  // MAX0((10 - 1) / 3 + 1, 0) = 4 elements.
  e = checked("(/ (i, i = 1, 10, 3) /)");
  ASSERT_NE(e->node_kind, enk_error);
  t = e->node_kind == enk_constant ? e->constant->type.get() : e->type.get();
  ASSERT_EQ(t->type_code, tk_farray);
  EXPECT_EQ(t->bound_info->upper(0).kind, bk_constant);
  EXPECT_EQ(t->bound_info->upper(0).value, 4);

  // An item count that depends on the outer loop is summed over it:
  // 1 + 2 + 3 elements.
  declare("J", default_integer_type());
  e = checked("(/ ((j, j = 1, i), i = 1, 3) /)");
  ASSERT_NE(e->node_kind, enk_error);
  t = e->node_kind == enk_constant ? e->constant->type.get() : e->type.get();
  ASSERT_EQ(t->type_code, tk_farray);
  EXPECT_EQ(t->bound_info->upper(0).kind, bk_constant);
  EXPECT_EQ(t->bound_info->upper(0).value, 6);
  EXPECT_EQ(messages(), "");
}

TEST_F(ExprCheckTest, AssignmentConvertsTheValueAndNeedsADefinableVariable) {
  object* k = declare("K", default_integer_type());
  expr_node* value = checked("2.5");
  expr_node* left = new_expr_node(enk_object);
  left->object = k;
  left->type = k->type;
  left->next = value;
  expr_node* assign = new_operation_node(eok_iassign, nullptr, left);
  EXPECT_NE(check_expr(assign, 0, nullptr), 1);
  EXPECT_EQ(assign->type, void_type());
  EXPECT_TRUE(left->intent_out);
  ASSERT_EQ(left->next->node_kind, enk_operation);
  EXPECT_EQ(left->next->op_kind, eok_cast);
  EXPECT_EQ(left->next->type, default_integer_type());

  k->is_constant = true;
  EXPECT_EQ(check_definable(left), 0);
  EXPECT_EQ(count_of(messages(), "must be definable variable"), 1);
  expr_node* c = checked("1");
  EXPECT_EQ(check_definable(c), 0);
  EXPECT_EQ(count_of(messages(), "expected a variable"), 1);
}

TEST_F(ExprCheckTest, CharacterConstantsCompareBlankPadded) {
  auto node = [](const char* text) { return checked(text); };
  struct Row {
    const char* a;
    const char* b;
    int order;
  };
  const Row rows[] = {{"'ab'", "'ab   '", 0}, {"'abc'", "'abd'", -1}, {"'b'", "'abc'", 1},
                      {"''", "' '", 0},        {"'a'", "' '", 1}};
  for (const Row& r : rows) {
    expr_node* a = node(r.a);
    expr_node* b = node(r.b);
    ASSERT_EQ(a->node_kind, enk_constant);
    ASSERT_EQ(b->node_kind, enk_constant);
    EXPECT_EQ(const_char_compare(a->constant, b->constant), r.order) << r.a << " " << r.b;
  }
}

TEST_F(ExprCheckTest, CharacterLengthPositions) {
  type* five = default_character_type(5);
  EXPECT_EQ(char_len_compare(five, 0), 0);
  EXPECT_EQ(char_len_compare(five, 1), 1);
  EXPECT_EQ(char_len_compare(five, 5), 1);
  EXPECT_EQ(char_len_compare(five, 6), 0);
  EXPECT_EQ(char_len_compare(assumed_character_type(), 1000), 1);
  EXPECT_EQ(char_len_compare(vector_of(five, 1, 2), 6), 0);

  bound_record c3 = make_bound(3, bk_constant, nullptr);
  bound_record c8 = make_bound(8, bk_constant, nullptr);
  bound_record open = make_bound(0, bk_assumed, nullptr);
  EXPECT_EQ(char_len_fits(&c3, &c8, 2), 0);
  EXPECT_EQ(char_len_fits(&c3, &c8, 3), 1);
  EXPECT_EQ(char_len_fits(&c3, &c8, 8), 1);
  EXPECT_EQ(char_len_fits(&c3, &c8, 9), 0);
  EXPECT_EQ(char_len_fits(&c3, &open, 1000), 1);
  EXPECT_EQ(char_len_fits(&open, &c8, 1), 1);
}

}  // namespace
