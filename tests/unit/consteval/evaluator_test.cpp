// The evaluator on checked expressions: operators in every type, their
// messages and positions, strict evaluation, constructors with implied DOs,
// implied sums and element-wise array operations.
#include "tests/unit/consteval/consteval_fixture.h"

namespace {

using Evaluator = ConstEvalTest;

constexpr int32_t kMin = INT32_MIN;

TEST_F(Evaluator, IntegerOperatorsAndTheirMessages) {
  struct Case {
    const char* label;
    int eok;
    int32_t a, b;
    int32_t value;
    const char* message;  // null: folds to value
  } cases[] = {
      {"2147483647 + 1", eok_iadd, 2147483647, 1, 0, "integer operation result is out of range"},
      {"-2147483647 - 2", eok_isubtract, -2147483647, 2, 0, "integer operation result is out of range"},
      {"65536 * 32768", eok_imultiply, 65536, 32768, 0, "integer operation result is out of range"},
      {"-1 * min", eok_imultiply, -1, kMin, 0, "integer operation result is out of range"},
      {"min * 1", eok_imultiply, kMin, 1, kMin, nullptr},
      {"-2 ** 31", eok_i_to_i_expon, -2, 31, kMin, nullptr},
      {"min / -1", eok_idivide, kMin, -1, 0, "integer operation result is out of range"},
      {"7 / -2", eok_idivide, 7, -2, -3, nullptr},
      {"7 / 0", eok_idivide, 7, 0, 0, "division by zero"},
      {"0 ** 0", eok_i_to_i_expon, 0, 0, 0, "zero raised to a nonpositive power is undefined"},
      {"0 ** -1", eok_i_to_i_expon, 0, -1, 0, "zero raised to a nonpositive power is undefined"},
      {"2 ** -1", eok_i_to_i_expon, 2, -1, 0, nullptr},
      {"-1 ** -3", eok_i_to_i_expon, -1, -3, -1, nullptr},
      {"1 ** -5", eok_i_to_i_expon, 1, -5, 1, nullptr},
      {"3 >= 3", eok_ige, 3, 3, 1, nullptr},
      {"min < -1", eok_ilt, kMin, -1, 1, nullptr},
      {"-1 > 0", eok_igt, -1, 0, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    messages();
    bool relation = c.eok >= eok_ieq && c.eok <= eok_ile;
    expr_node* n = at(op(c.eok, relation ? l4() : i4(), num(c.a), num(c.b)), 7);
    Eval e = eval(n);
    std::string out = messages();
    if (c.message) {
      EXPECT_EQ(e.status, 0);  // not constant after the message
      EXPECT_NE(out.find(c.message), std::string::npos) << out;
    } else {
      EXPECT_EQ(out, "");
      ASSERT_EQ(e.status, 1);
      ASSERT_EQ(e.v.c.kind, ck_value);
      EXPECT_EQ(const_int(&e.v), c.value);
    }
  }
}

TEST_F(Evaluator, NegationWrapsWithoutMessage) {
  expr_node* min = op(eok_isubtract, i4(), op(eok_inegate, i4(), num(2147483647)), num(1));
  EXPECT_EQ(int_of(op(eok_inegate, i4(), min)), kMin);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(int_of(op(eok_not, l4(), num(0, l4()))), 1);
  EXPECT_EQ(int_of(op(eok_not, l4(), num(5, l4()))), 0);
}

TEST_F(Evaluator, StrictEvaluationReportsAndTurnsTheNodeIntoAnError) {
  object* v = variable("V", i4());
  expr_node* n = at(op(eok_iadd, i4(), ref(v), num(1)), 3);
  Eval lax = eval(n, 0);
  EXPECT_EQ(lax.status, 0);
  EXPECT_EQ(messages(), "");
  Eval strict = eval(n, 1);
  EXPECT_EQ(strict.status, 1);
  EXPECT_EQ(strict.v.c.kind, ck_error);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_NE(messages().find("must be an initialization expression"), std::string::npos);
  // An error node evaluates silently to the error constant.
  Eval again = eval(n, 1);
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.v.c.kind, ck_error);
  EXPECT_EQ(messages(), "");
}

TEST_F(Evaluator, AnArithmeticMessageUnderStrictEvaluationAlsoDraws85) {
  Eval e = eval(at(op(eok_idivide, i4(), num(1), num(0)), 4), 1);
  EXPECT_EQ(e.v.c.kind, ck_error);
  std::string out = messages();
  EXPECT_NE(out.find("division by zero"), std::string::npos);
  EXPECT_NE(out.find("must be an initialization expression"), std::string::npos);
}

TEST_F(Evaluator, RealAndComplexOperators) {
  EXPECT_EQ(real_of(op(eok_f_to_i_expon, r4(), real(2.0), num(-2))), 0.25);
  Eval zero_power = eval(op(eok_f_to_i_expon, r4(), real(0.0), num(0)));
  EXPECT_EQ(zero_power.status, 0);
  EXPECT_NE(messages().find("zero raised to a nonpositive power is undefined"), std::string::npos);
  EXPECT_EQ(real_of(op(eok_fdivide, r8(), real(1.0, r8()), real(4.0, r8()))), 0.25);
  EXPECT_EQ(eval(op(eok_fdivide, r4(), real(1.0), real(0.0))).status, 0);
  EXPECT_NE(messages().find("division by zero"), std::string::npos);
  EXPECT_EQ(int_of(op(eok_flt, l4(), real(1.0), real(2.0))), 1);

  EXPECT_EQ(eval(op(eok_xdivide, z4(), cplx(1.0, 0.0), cplx(0.0, 0.0))).status, 0);
  EXPECT_NE(messages().find("division by zero"), std::string::npos);
  expr_node* product = op(eok_xmultiply, z4(), cplx(1, 2), cplx(3, 4));
  EXPECT_EQ(real_of(product, 0), -5.0);
  EXPECT_EQ(real_of(op(eok_xmultiply, z4(), cplx(1, 2), cplx(3, 4)), 1), 10.0);
  EXPECT_EQ(int_of(op(eok_xeq, l4(), cplx(1, 2), cplx(1, 2))), 1);
  EXPECT_EQ(int_of(op(eok_xeq, l4(), cplx(1, 2), cplx(1, 3))), 0);
  EXPECT_EQ(real_of(op(eok_x_to_i_expon, z4(), cplx(0, 1), num(2)), 0), -1.0);
  EXPECT_EQ(real_of(op(eok_fnegate, r4(), real(1.5))), -1.5);
  // INTEGER to REAL through a cast.
  EXPECT_EQ(real_of(op(eok_cast, r8(), num(-3))), -3.0);
}

TEST_F(Evaluator, CharacterOperators) {
  EXPECT_EQ(text_of(op(eok_concat, ch(5), text("ab"), text("cde"))), "abcde");
  EXPECT_EQ(int_of(op(eok_ceq, l4(), text("AB"), text("AB  "))), 1);
  EXPECT_EQ(int_of(op(eok_clt, l4(), text("AB"), text("AB!"))), 1);  // blank is below "!"
  EXPECT_EQ(int_of(op(eok_cgt, l4(), text("B"), text("AZ"))), 1);
  std::string long_text(50, 'x');
  Eval cat = eval(op(eok_concat, ch(52), text(long_text.c_str()), text("yz")));
  ASSERT_EQ(cat.v.c.kind, ck_value);
  EXPECT_EQ(text_of(cat.v), long_text + "yz");
}

TEST_F(Evaluator, LogicalOperatorsAndUnfoldedOperators) {
  EXPECT_EQ(int_of(op(eok_land, l4(), num(1, l4()), num(0, l4()))), 0);
  EXPECT_EQ(int_of(op(eok_lor, l4(), num(1, l4()), num(0, l4()))), 1);
  EXPECT_EQ(int_of(op(eok_neqv, l4(), num(1, l4()), num(0, l4()))), 1);
  EXPECT_EQ(int_of(op(eok_eqv, l4(), num(1, l4()), num(1, l4()))), 1);
  EXPECT_EQ(eval(op(eok_f_to_f_expon, r4(), real(2.0), real(2.0))).status, 0);
  EXPECT_EQ(eval(op(eok_iassign, i4(), num(1), num(2))).status, 0);
  EXPECT_EQ(messages(), "");
}

TEST_F(Evaluator, NamedConstantsAndErrorOperands) {
  const_value five;
  const_init_sized(&five, 4);
  five.c.type = i4();
  const_set_int(&five, 5);
  object* k = named_constant("K", i4(), new_il_constant(&five));
  EXPECT_EQ(int_of(op(eok_imultiply, i4(), ref(k), num(3))), 15);
  // An error operand propagates silently as the error constant.
  Eval e = eval(op(eok_iadd, i4(), error_expr_node(), num(1)));
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.v.c.kind, ck_error);
  EXPECT_EQ(messages(), "");
}

TEST_F(Evaluator, ConstructorsWithImpliedDos) {
  object* i = variable("I", i4(), sc_implied_do_var);
  expr_node* c = constructor(array_of(i4(), {{1, 3}}),
                             {implied_do(enk_implied_do, i, ref(i), num(1), num(3))});
  EXPECT_EQ(ints_of(c), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(i->symbol, nullptr);  // the DO variable's link is restored
  expr_node* c2 = constructor(array_of(i4(), {{1, 1}}),
                              {num(0), implied_do(enk_implied_do, i, ref(i), num(5), num(1))});
  EXPECT_EQ(ints_of(c2), (std::vector<int32_t>{0}));
  expr_node* down = constructor(array_of(i4(), {{1, 3}}),
                                {implied_do(enk_implied_do, i, op(eok_imultiply, i4(), ref(i), ref(i)),
                                            num(3), num(1), num(-1))});
  EXPECT_EQ(ints_of(down), (std::vector<int32_t>{9, 4, 1}));
  // A loop up to the largest integer stops instead of wrapping around.
  expr_node* top = constructor(array_of(i4(), {{1, 2}}),
                               {implied_do(enk_implied_do, i, ref(i), num(2147483646), num(2147483647))});
  EXPECT_EQ(ints_of(top), (std::vector<int32_t>{2147483646, 2147483647}));
  EXPECT_EQ(messages(), "");
}

TEST_F(Evaluator, ZeroStrideOfAConstructorImpliedDo) {
  object* i = variable("I", i4(), sc_implied_do_var);
  expr_node* d = implied_do(enk_implied_do, i, ref(i), num(1), num(3), at(num(0), 9));
  Eval e = eval(constructor(array_of(i4(), {{1, 3}}), {d}));
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.v.c.kind, ck_error);
  EXPECT_EQ(d->node_kind, enk_error);
  EXPECT_NE(messages().find("increment of DO is not allowed to be zero"), std::string::npos);
}

TEST_F(Evaluator, ImpliedSums) {
  object* i = variable("I", i4());
  expr_node* s = implied_do(enk_isum, i, op(eok_imultiply, i4(), ref(i), ref(i)), num(1), num(4));
  EXPECT_EQ(int_of(s), 30);
  EXPECT_EQ(int_of(implied_do(enk_isum, i, ref(i), num(5), num(1))), 0);
  EXPECT_EQ(eval(ref(i)).status, 0);  // the variable is no constant once the sum is done
}

TEST_F(Evaluator, ElementWiseArrayOperations) {
  type* t3 = array_of(i4(), {{1, 3}});
  object* a = named_constant("A", t3, int_aggregate(t3, {10, 20, 30}));
  EXPECT_EQ(ints_of(op(eok_iadd, t3, ref(a), num(1))), (std::vector<int32_t>{11, 21, 31}));
  EXPECT_EQ(ints_of(op(eok_isubtract, t3, num(100), ref(a))), (std::vector<int32_t>{90, 80, 70}));
  EXPECT_EQ(ints_of(op(eok_imultiply, t3, ref(a), ref(a))), (std::vector<int32_t>{100, 400, 900}));
  EXPECT_EQ(ints_of(op(eok_inegate, t3, ref(a))), (std::vector<int32_t>{-10, -20, -30}));
  // A scalar spread over an array type only under strict evaluation.
  EXPECT_EQ(eval(op(eok_inegate, t3, num(4))).status, 0);
  Eval spread = eval(op(eok_inegate, t3, num(4)), 1);
  ASSERT_EQ(spread.v.c.kind, ck_aggregate);
  EXPECT_EQ(ints_of(spread.v), (std::vector<int32_t>{-4, -4, -4}));
  EXPECT_EQ(messages(), "");
}

TEST_F(Evaluator, ArraysOfDifferentSizes) {
  type* t3 = array_of(i4(), {{1, 3}});
  type* t2 = array_of(i4(), {{1, 2}});
  object* a = named_constant("A", t3, int_aggregate(t3, {1, 2, 3}));
  object* b = named_constant("B", t2, int_aggregate(t2, {1, 2}));
  expr_node* n = at(op(eok_iadd, t3, ref(a), ref(b)), 12);
  EXPECT_EQ(eval(n).status, 0);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_NE(messages().find("different array sizes"), std::string::npos);
}

TEST_F(Evaluator, AFailingElementFailsTheWholeOperation) {
  type* t3 = array_of(i4(), {{1, 3}});
  object* a = named_constant("A", t3, int_aggregate(t3, {1, 0, 2}));
  EXPECT_EQ(eval(op(eok_idivide, t3, num(6), ref(a))).status, 0);
  std::string out = messages();
  EXPECT_NE(out.find("division by zero"), std::string::npos);
}

TEST_F(Evaluator, AScalarSpreadOverAnArrayOperandPairsWithEveryElement) {
  type* t3 = array_of(i4(), {{1, 3}});
  object* a = named_constant("A", t3, int_aggregate(t3, {10, 20, 30}));
  expr_node* spread = op(eok_spread, t3, num(1));
  EXPECT_EQ(ints_of(op(eok_iadd, t3, ref(a), spread)), (std::vector<int32_t>{11, 21, 31}));
  EXPECT_EQ(messages(), "");
}

TEST_F(Evaluator, ANamedConstantStillHeldAsAnExpression) {
  constant* c = new_constant();
  init_constant(c, ck_expression);
  c->expr = op(eok_imultiply, i4(), num(6), num(7));
  c->type = i4();
  object* k = named_constant("K", i4(), c);
  EXPECT_EQ(int_of(op(eok_iadd, i4(), ref(k), num(0))), 42);
}

TEST_F(Evaluator, ValuesTooLargeToFoldAreNotConstant) {
  object* i = variable("I", i4(), sc_implied_do_var);
  expr_node* huge_list = constructor(array_of(i4(), {{1, 1 << 30}}),
                                     {implied_do(enk_implied_do, i, ref(i), num(1), num(1 << 30))});
  EXPECT_EQ(eval(huge_list).status, 0);
  EXPECT_EQ(eval(implied_do(enk_isum, i, ref(i), num(1), num(2147483647))).status, 0);
  EXPECT_EQ(i->symbol, nullptr);
}

TEST_F(Evaluator, StructureConstructorsAndComponents) {
  type* pair = new_type(tk_derived_type);
  object* first = variable("FIRST", i4(), sc_type_field);
  object* second = variable("SECOND", i4(), sc_type_field);
  first->next = second;
  pair->first_field = first;
  auto component = [&](expr_node* base, object* field) {
    expr_node* n = new_expr_node(enk_field);
    n->base_expr = base;
    n->field_var = field;
    n->type = field->type;
    return n;
  };
  EXPECT_EQ(int_of(component(constructor(pair, {num(1), num(2)}), second)), 2);
  // The component of every element of an array of structures.
  type* pairs = array_of(pair, {{1, 2}});
  expr_node* list = constructor(pairs, {constructor(pair, {num(1), num(2)}),
                                        constructor(pair, {num(3), num(4)})});
  expr_node* firsts = component(list, first);
  firsts->type = array_of(i4(), {{1, 2}});
  EXPECT_EQ(ints_of(firsts), (std::vector<int32_t>{1, 3}));
  // A component that is not constant makes the constructor not constant.
  EXPECT_EQ(eval(constructor(pair, {num(1), ref(variable("V", i4()))})).status, 0);
}

}  // namespace
