// The expression parser: operator levels and associativity, the error of
// consecutive operators, parentheses, complex constants, argument lists with
// keywords, alternate returns and sections, and implied-DO lists.
#include "frontend/lexer/literal_constants.h"
#include "tests/unit/parser/parser_fixture.h"

namespace {

const expr_node* arg(const expr_node* n, int i) {
  const expr_node* a = n ? n->operands : nullptr;
  while (a && i-- > 0) a = a->next;
  return a;
}

TEST_F(ParserTest, BinaryLevels) {
  struct Row {
    int token, level;
  };
  const Row rows[] = {
      {tok_defined_op, 2}, {tok_eqv, 3},  {tok_neqv, 3},   {tok_or, 4},   {tok_and, 5},
      {tok_lt, 7},         {tok_ge, 7},   {tok_concat, 8}, {tok_plus, 9}, {tok_minus, 9},
      {tok_star, 10},      {tok_slash, 10}, {tok_power, 11}, {tok_not, 0}, {tok_comma, 0},
      {tok_equals, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(binary_level(r.token), r.level) << r.token;
}

TEST_F(ParserTest, SubtractionGroupsToTheLeftPowerToTheRight) {
  expr_node* e = expression("a - b - c");
  ASSERT_EQ(op(e), "-");
  EXPECT_EQ(op(arg(e, 0)), "-");
  EXPECT_EQ(ref(arg(e, 1)), "C");
  EXPECT_EQ(ref(arg(arg(e, 0), 0)), "A");
  EXPECT_TRUE(arg(e, 0)->intent_in);

  e = expression("2 ** 3 ** 2");
  ASSERT_EQ(op(e), "**");
  EXPECT_EQ(arg(e, 0)->node_kind, enk_constant);
  EXPECT_EQ(op(arg(e, 1)), "**");
  EXPECT_EQ(scan.cur_token, tok_eos);
  EXPECT_EQ(messages(), "");
}

TEST_F(ParserTest, UnaryMinusBindsLooserThanPower) {
  expr_node* e = expression("-a ** 2");
  ASSERT_EQ(op(e), "-");
  EXPECT_EQ(arg(e, 1), nullptr);
  EXPECT_EQ(op(arg(e, 0)), "**");

  // A signed literal before ** is negated after the power as well.
  e = expression("-2 ** 2");
  ASSERT_EQ(op(e), "-");
  ASSERT_EQ(op(arg(e, 0)), "**");
  const_value base;
  const_to_host_form(arg(arg(e, 0), 0)->constant, &base);
  EXPECT_EQ(const_int(&base), 2);

  e = expression(".not. a .and. b");
  ASSERT_EQ(op(e), ".AND.");
  EXPECT_EQ(op(arg(e, 0)), ".NOT.");
  EXPECT_EQ(messages(), "");

  e = expression("a .and. .not. b");
  EXPECT_EQ(op(e), ".AND.");
  EXPECT_EQ(messages(), "");
}

TEST_F(ParserTest, ConsecutiveOperatorsAreReportedAndParsed) {
  const char* cases[] = {"a * -b", "a + -b", "a ** -b", ".not. .not. x"};
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    expr_node* e = expression(text);
    EXPECT_NE(e->node_kind, enk_error);
    EXPECT_EQ(scan.cur_token, tok_eos);
    EXPECT_NE(messages().find("invalid consecutive operators"), std::string::npos);
  }
  expr_node* e = expression("a * -b");
  EXPECT_EQ(op(e), "*");
  EXPECT_EQ(op(arg(e, 1)), "-");
  messages();
}

TEST_F(ParserTest, ParenthesesClearReordering) {
  expr_node* e = expression("(a + b)");
  EXPECT_EQ(op(e), "+");
  EXPECT_FALSE(e->allow_reordering);
  e = expression("a + b");
  EXPECT_TRUE(e->allow_reordering);
  EXPECT_EQ(messages(), "");
}

TEST_F(ParserTest, ComplexConstants) {
  expr_node* e = expression("(1, 2.5D0)");
  ASSERT_EQ(e->node_kind, enk_constant);
  EXPECT_EQ(e->constant->type->type_code, tk_complex);
  EXPECT_EQ(e->constant->type, complex_type(double_precision_type()->kind));

  e = expression("(1, 2)");
  ASSERT_EQ(e->node_kind, enk_constant);
  EXPECT_EQ(e->constant->type, complex_type(kind_defaults.default_real));
  const_value v;
  const_to_host_form(e->constant, &v);
  EXPECT_EQ(const_real(&v, 0), 1.0);
  EXPECT_EQ(const_real(&v, 1), 2.0);

  e = expression("(-1.5, +2)");
  ASSERT_EQ(e->node_kind, enk_constant);
  const_to_host_form(e->constant, &v);
  EXPECT_EQ(const_real(&v, 0), -1.5);
  EXPECT_EQ(const_real(&v, 1), 2.0);
  EXPECT_EQ(messages(), "");

  e = expression("(x, 1.0)");
  EXPECT_EQ(e->node_kind, enk_error);
  EXPECT_NE(messages().find("expected an integer or real constant"), std::string::npos);
}

TEST_F(ParserTest, ArgumentLists) {
  expr_node* e = expression("f(x=1, 2)");
  EXPECT_EQ(e->node_kind, enk_error);
  std::string m = messages();
  EXPECT_EQ(count_of(m, "keyword must not be omitted"), 1);

  e = expression("f(1, y=2)");
  ASSERT_EQ(e->node_kind, enk_apply);
  EXPECT_EQ(arg(e, 0)->arg_keyword, nullptr);
  ASSERT_NE(arg(e, 1)->arg_keyword, nullptr);
  EXPECT_STREQ(arg(e, 1)->arg_keyword->text, "Y");
  EXPECT_FALSE(apply_has_triplet(e));

  e = expression("a(1::2)");
  ASSERT_EQ(e->node_kind, enk_apply);
  const expr_node* t = arg(e, 0);
  ASSERT_EQ(t->node_kind, enk_triplet);
  EXPECT_NE(t->first, nullptr);
  EXPECT_EQ(t->second, nullptr);
  EXPECT_NE(t->stride, nullptr);
  EXPECT_TRUE(apply_has_triplet(e));

  e = expression("c(:)");
  ASSERT_EQ(arg(e, 0)->node_kind, enk_triplet);
  EXPECT_EQ(arg(e, 0)->first, nullptr);
  EXPECT_EQ(arg(e, 0)->second, nullptr);
  EXPECT_EQ(messages(), "");

  e = expression("s(*10, x)");
  ASSERT_EQ(e->node_kind, enk_apply);
  EXPECT_EQ(arg(e, 0)->node_kind, enk_stmt_label_value);
  EXPECT_EQ(arg(e, 0)->type, stmt_label_type());
  messages();
}

TEST_F(ParserTest, SubstringOfAConstant) {
  expr_node* e = expression("'abcdef'(2:3)");
  ASSERT_EQ(e->node_kind, enk_substring);
  EXPECT_EQ(e->array_expr->node_kind, enk_constant);
  ASSERT_EQ(e->ind_list->node_kind, enk_triplet);
  EXPECT_NE(e->ind_list->first, nullptr);
  EXPECT_NE(e->ind_list->second, nullptr);
  EXPECT_EQ(messages(), "");
}

TEST_F(ParserTest, BozAndMissingOperandsAreErrors) {
  expr_node* e = expression("z'1f'");
  EXPECT_EQ(e->node_kind, enk_error);
  EXPECT_NE(messages().find("BOZ-constant not in a DATA statement"), std::string::npos);
  e = expression("a +");
  EXPECT_NE(messages().find("expected an expression"), std::string::npos);
  (void)e;
}

TEST_F(ParserTest, MissingClosingParenthesesAreOneError) {
  expr_node* e = expression("f(g(h(1, 2");
  EXPECT_EQ(e->node_kind, enk_error);
  EXPECT_EQ(count_of(messages(), "expected a \")\""), 1);
  stop_tokens_clear();
  e = expression("(a + (b");
  EXPECT_EQ(count_of(messages(), "expected a \")\""), 1);
}

TEST_F(ParserTest, ComponentOfANonDerivedObject) {
  expr_node* e = expression("p%q");
  EXPECT_EQ(e->node_kind, enk_error);
  EXPECT_NE(messages().find("object is not of a derived type"), std::string::npos);
}

TEST_F(ParserTest, ArrayConstructorWithImpliedDo) {
  expr_node* e = expression("(/ (i, i = 1, 3) /)");
  ASSERT_EQ(e->node_kind, enk_constructor);
  EXPECT_EQ(e->type->type_code, tk_farray);
  ASSERT_NE(e->constructor, nullptr);
  const expr_node* ido = e->constructor;
  ASSERT_EQ(ido->node_kind, enk_implied_do);
  EXPECT_TRUE(ido->has_a_scope);
  EXPECT_NE(ido->do_info->initial_value, nullptr);
  EXPECT_NE(ido->do_info->final_value, nullptr);
  EXPECT_EQ(ido->do_info->increment, nullptr);
  EXPECT_EQ(scan.cur_token, tok_eos);
  EXPECT_EQ(messages(), "");

  e = expression("(/ (a(i) = 1, 2) /)");
  EXPECT_EQ(e->node_kind, enk_error);
  EXPECT_NE(messages().find("do-variable must be a named variable"), std::string::npos);
}

}  // namespace
