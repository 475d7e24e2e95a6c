// Folding of intrinsic procedure references: the elemental INTEGER and
// CHARACTER intrinsics with their messages at the offending argument, the
// kind-table inquiries, the kind selectors, the array inquiries, RESHAPE,
// REPEAT, TRIM and TRANSFER.
#include "tests/unit/consteval/consteval_fixture.h"

namespace {

using Folding = ConstEvalTest;

// Rows of the intrinsic table.
enum : int {
#define INTRINSIC(row, id, name, cls) row_##id = row,
#define SIGNATURE(row, specific, form, dummies, result)
#include "frontend/model/intrinsics.def"
};

constexpr int32_t kMin = INT32_MIN;

TEST_F(Folding, ElementalIntegerIntrinsics) {
  struct Case {
    const char* label;
    int row;
    std::vector<int32_t> args;
    int32_t value;
  } cases[] = {
      {"IAND(12, 10)", row_iand, {12, 10}, 8},
      {"IEOR(12, 10)", row_ieor, {12, 10}, 6},
      {"IOR(12, 10)", row_ior, {12, 10}, 14},
      {"NOT(0)", row_not, {0}, -1},
      {"ISHFT(1, 31)", row_ishft, {1, 31}, kMin},
      {"ISHFT(-1, -28)", row_ishft, {-1, -28}, 15},
      {"ISHFT(1, 32)", row_ishft, {1, 32}, 0},
      {"ISHFTC(6, 1, 3)", row_ishftc, {6, 1, 3}, 5},
      {"ISHFTC(6, -1, 3)", row_ishftc, {6, -1, 3}, 3},
      {"IBITS(14, 1, 3)", row_ibits, {14, 1, 3}, 7},
      {"IBITS(-1, 0, 32)", row_ibits, {-1, 0, 32}, -1},
      {"IBSET(0, 31)", row_ibset, {0, 31}, kMin},
      {"IBCLR(-1, 0)", row_ibclr, {-1, 0}, -2},
      {"MOD(-7, 3)", row_mod, {-7, 3}, -1},
      {"MODULO(-7, 3)", row_modulo, {-7, 3}, 2},
      {"MODULO(7, -3)", row_modulo, {7, -3}, -2},
      {"MODULO(1, min)", row_modulo, {1, kMin}, -2147483647},
      {"MAX(3, 9, -2)", row_max, {3, 9, -2}, 9},
      {"MIN0(3, 9, -2)", row_min0, {3, 9, -2}, -2},
      {"SIGN(5, -1)", row_sign, {5, -1}, -5},
      {"SIGN(-5, 0)", row_sign, {-5, 0}, 5},
      {"DIM(3, 5)", row_dim, {3, 5}, 0},
      {"ABS(min)", row_abs, {kMin}, kMin},
      {"IABS(-4)", row_iabs, {-4}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    expr_node* n = call(c.row, i4(), {});
    expr_node* tail = nullptr;
    for (int32_t a : c.args) {
      expr_node* e = num(a);
      if (tail) tail->next = e; else n->operands = e;
      tail = e;
    }
    EXPECT_EQ(int_of(n), c.value);
  }
  EXPECT_EQ(messages(), "");
}

TEST_F(Folding, MessagesGoToTheOffendingArgument) {
  struct Case {
    const char* label;
    int row;
    type* kind;
    std::vector<int32_t> args;
    int bad;  // index of the argument the message is reported at
    const char* message;
  } cases[] = {
      {"ISHFT(1, 33)", row_ishft, nullptr, {1, 33}, 1, "argument value out of bit size of integer"},
      {"ISHFTC(1, 4, 3)", row_ishftc, nullptr, {1, 4, 3}, 1, "argument value out of bit size of integer"},
      {"ISHFTC(1, 1, 0)", row_ishftc, nullptr, {1, 1, 0}, 2, "argument value out of bit size of integer"},
      {"IBITS(1, 30, 3)", row_ibits, nullptr, {1, 30, 3}, 1, "argument value out of bit size of integer"},
      {"IBITS(1, 0, -1)", row_ibits, nullptr, {1, 0, -1}, 2, "argument must not be negative"},
      {"IBCLR(1_1, 16)", row_ibclr, i2(), {1, 16}, 1, "argument value out of bit size of integer"},
      {"MOD(5, 0)", row_mod, nullptr, {5, 0}, 1, "division by zero"},
      {"MODULO(5, 0)", row_modulo, nullptr, {5, 0}, 1, "division by zero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    messages();
    expr_node* n = call(c.row, c.kind ? c.kind : i4(), {});
    expr_node* tail = nullptr;
    uint32_t line = 20;
    for (int32_t a : c.args) {
      expr_node* e = at(num(a, tail ? nullptr : c.kind), line++);
      if (tail) tail->next = e; else n->operands = e;
      tail = e;
    }
    EXPECT_EQ(eval(n).status, 0);
    std::string out = messages();
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    // Argument i stands at line 20 + i.
    std::string where = "( " + std::to_string(20 + c.bad) + ":";
    EXPECT_NE(out.find(where), std::string::npos) << out;
  }
}

TEST_F(Folding, CharacterIntrinsics) {
  EXPECT_EQ(text_of(call(row_adjustl, ch(4), {text("  ab")})), "ab  ");
  EXPECT_EQ(text_of(call(row_adjustr, ch(4), {text("ab  ")})), "  ab");
  EXPECT_EQ(int_of(call(row_len_trim, i4(), {text("   ")})), 0);
  EXPECT_EQ(int_of(call(row_len_trim, i4(), {text("a b ")})), 3);
  Eval t = eval(call(row_trim, ch(2), {text("ab  ")}));
  ASSERT_EQ(t.v.c.kind, ck_value);
  EXPECT_EQ(char_length_of(t.v.c.type), 2u);
  EXPECT_EQ(text_of(t.v), "ab");
  EXPECT_EQ(text_of(call(row_repeat, ch(6), {text("ab"), num(3)})), "ababab");
  Eval none = eval(call(row_repeat, ch(0), {text("ab"), num(0)}));
  ASSERT_EQ(none.v.c.kind, ck_value);
  EXPECT_EQ(char_length_of(none.v.c.type), 0u);
  expr_node* minus = num(-1);
  EXPECT_EQ(eval(call(row_repeat, ch(0), {text("ab"), minus})).status, 0);
  EXPECT_EQ(minus->node_kind, enk_error);
  EXPECT_NE(messages().find("argument must not be negative"), std::string::npos);
  // A result too long to build is not constant; one beyond the 32-bit range
  // is reported.
  EXPECT_EQ(eval(call(row_repeat, ch(1), {text("ab"), num(100000000)})).status, 0);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(eval(call(row_repeat, ch(1), {text("ab"), num(2000000000)})).status, 0);
  EXPECT_NE(messages().find("integer operation result is out of range"), std::string::npos);
  EXPECT_EQ(text_of(call(row_char, ch(1), {num(65)})), "A");
  EXPECT_EQ(text_of(call(row_achar, ch(1), {num(97)})), "a");
  EXPECT_EQ(int_of(call(row_ichar, i4(), {text("A")})), 65);
  EXPECT_EQ(int_of(call(row_len, i4(), {text("abcde")})), 5);
}

TEST_F(Folding, RealArgumentsOfElementalIntrinsicsAreNotConstant) {
  EXPECT_EQ(eval(call(row_abs, r4(), {real(-1.5)})).status, 0);
  EXPECT_EQ(eval(call(row_sqrt, r4(), {real(4.0)})).status, 0);
}

TEST_F(Folding, ElementalOverArrays) {
  type* t3 = array_of(i4(), {{1, 3}});
  type* t2 = array_of(i4(), {{1, 2}});
  object* a = named_constant("A", t3, int_aggregate(t3, {-7, 7, 8}));
  object* b = named_constant("B", t2, int_aggregate(t2, {1, 2}));
  EXPECT_EQ(ints_of(call(row_mod, t3, {ref(a), num(3)})), (std::vector<int32_t>{-1, 1, 2}));
  EXPECT_EQ(ints_of(call(row_max, t3, {ref(a), num(0)})), (std::vector<int32_t>{0, 7, 8}));
  expr_node* n = call(row_mod, t3, {ref(a), ref(b)});
  EXPECT_EQ(eval(n).status, 0);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_NE(messages().find("different array sizes"), std::string::npos);
}

TEST_F(Folding, KindTableInquiries) {
  struct Case {
    const char* label;
    int row;
    type* arg;
    int32_t value;
  } cases[] = {
      {"HUGE(0)", row_huge, i4(), 2147483647}, {"HUGE(0_1)", row_huge, i2(), 32767},
      {"RANGE(0.0)", row_range, r4(), 37},     {"RANGE(0.0D0)", row_range, r8(), 307},
      {"RANGE(0)", row_range, i4(), 9},        {"RANGE(0_1)", row_range, i2(), 4},
      {"PRECISION(0.0)", row_precision, r4(), 6}, {"PRECISION(0.0D0)", row_precision, r8(), 15},
      {"DIGITS(0)", row_digits, i4(), 31},     {"DIGITS(0.0)", row_digits, r4(), 24},
      {"BIT_SIZE(0)", row_bit_size, i4(), 32}, {"BIT_SIZE(0_1)", row_bit_size, i2(), 16},
      {"RADIX(0.0)", row_radix, r4(), 2},      {"KIND(0)", row_kind, i4(), 2},
      {"KIND(0.0)", row_kind, r4(), 1},        {"KIND(.TRUE.)", row_kind, l4(), 2},
      {"KIND('a')", row_kind, ch(1), 1},       {"MAXEXPONENT(0.0)", row_maxexponent, r4(), 128},
      {"MINEXPONENT(0.0D0)", row_minexponent, r8(), -1021},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    expr_node* arg = new_expr_node(enk_empty);
    arg->node_kind = enk_object;  // not evaluated: only its type is read
    arg->type = c.arg;
    EXPECT_EQ(int_of(call(c.row, i4(), {arg})), c.value);
  }
  EXPECT_EQ(real_of(call(row_epsilon, r4(), {real(0.0)})), 1.1920928955078125e-07);
  EXPECT_EQ(real_of(call(row_epsilon, r8(), {real(0.0, r8())})), 2.220446049250313e-16);
  EXPECT_EQ(real_of(call(row_huge, r4(), {real(0.0)})), 3.4028234663852886e38);
  EXPECT_EQ(real_of(call(row_huge, r8(), {real(0.0, r8())})), 1.7976931348623157e308);
  EXPECT_EQ(real_of(call(row_tiny, r4(), {real(0.0)})), 1.1754943508222875e-38);
  EXPECT_EQ(real_of(call(row_tiny, r8(), {real(0.0, r8())})), 2.2250738585072014e-308);
}

TEST_F(Folding, KindSelectors) {
  EXPECT_EQ(int_of(call(row_selected_int_kind, i4(), {num(4)})), 1);
  EXPECT_EQ(int_of(call(row_selected_int_kind, i4(), {num(5)})), 2);
  EXPECT_EQ(int_of(call(row_selected_int_kind, i4(), {num(10)})), -1);
  struct Case { const char* label; expr_node* p; expr_node* r; int32_t value; } cases[] = {
      {"(6)", num(6), empty(), 1},        {"(7)", num(7), empty(), 2},
      {"(16)", num(16), empty(), -1},     {"(R=400)", empty(), num(400), -2},
      {"(16, 400)", num(16), num(400), -3}, {"()", empty(), empty(), 0},
      {"(6, 100)", num(6), num(100), 2},  {"(R=37)", empty(), num(37), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(int_of(call(row_selected_real_kind, i4(), {c.p, c.r})), c.value);
  }
}

TEST_F(Folding, ArrayInquiriesOfAnEmptyDimension) {
  type* t = array_of(r4(), {{2, 1}, {1, 3}});  // A(2:1, 3)
  object* a = variable("A", t);
  EXPECT_EQ(int_of(call(row_lbound, i4(), {ref(a), num(1)})), 1);
  EXPECT_EQ(int_of(call(row_ubound, i4(), {ref(a), num(1)})), 0);
  EXPECT_EQ(int_of(call(row_ubound, i4(), {ref(a), num(2)})), 3);
  EXPECT_EQ(ints_of(call(row_shape, array_of(i4(), {{1, 2}}), {ref(a)})), (std::vector<int32_t>{0, 3}));
  EXPECT_EQ(int_of(call(row_size, i4(), {ref(a), empty()})), 0);
  EXPECT_EQ(int_of(call(row_size, i4(), {ref(a), num(-1)})), 3);
  EXPECT_EQ(int_of(call(row_size, i4(), {ref(a), num(2)})), 3);
  type* b_type = array_of(r4(), {{-1, 4}, {0, 2}});
  object* b = variable("B", b_type);
  EXPECT_EQ(ints_of(call(row_lbound, array_of(i4(), {{1, 2}}), {ref(b), empty()})),
            (std::vector<int32_t>{-1, 0}));
  EXPECT_EQ(ints_of(call(row_ubound, array_of(i4(), {{1, 2}}), {ref(b), empty()})),
            (std::vector<int32_t>{4, 2}));
  expr_node* dim = num(3);
  EXPECT_EQ(eval(call(row_lbound, i4(), {ref(b), dim})).status, 0);
  EXPECT_EQ(dim->node_kind, enk_error);
  EXPECT_NE(messages().find("argument value out of rank"), std::string::npos);
}

TEST_F(Folding, Reshape) {
  type* t6 = array_of(i4(), {{1, 6}});
  object* src = named_constant("S", t6, int_aggregate(t6, {1, 2, 3, 4, 5, 6}));
  type* t2 = array_of(i4(), {{1, 2}});
  object* shape23 = named_constant("SH", t2, int_aggregate(t2, {2, 3}));
  object* order21 = named_constant("OR", t2, int_aggregate(t2, {2, 1}));
  EXPECT_EQ(ints_of(call(row_reshape, nullptr, {ref(src), ref(shape23), empty(), ref(order21)})),
            (std::vector<int32_t>{1, 4, 2, 5, 3, 6}));
  EXPECT_EQ(ints_of(call(row_reshape, nullptr, {ref(src), ref(shape23), empty(), empty()})),
            (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
  type* t1 = array_of(i4(), {{1, 1}});
  object* two = named_constant("TWO", t2, int_aggregate(t2, {1, 2}));
  object* three = named_constant("THREE", t1, int_aggregate(t1, {3}));
  object* nine = named_constant("NINE", t1, int_aggregate(t1, {9}));
  Eval padded = eval(call(row_reshape, nullptr, {ref(two), ref(three), ref(nine), empty()}));
  ASSERT_EQ(padded.v.c.kind, ck_aggregate);
  EXPECT_EQ(ints_of(padded.v), (std::vector<int32_t>{1, 2, 9}));
  EXPECT_EQ(padded.v.c.type->rank, 1);

  type* t4 = array_of(i4(), {{1, 4}});
  object* shape4 = named_constant("SH4", t4, int_aggregate(t4, {1, 1, 1, 1}));
  object* bad_order = named_constant("BO", t4, int_aggregate(t4, {3, 2, 2, 2}));
  expr_node* order = ref(bad_order);
  EXPECT_EQ(eval(call(row_reshape, nullptr, {ref(src), ref(shape4), empty(), order})).status, 0);
  EXPECT_EQ(order->node_kind, enk_error);
  EXPECT_NE(messages().find("argument value is not a permutation of (1,...,rank)"), std::string::npos);

  type* t8 = array_of(i4(), {{1, 8}});
  object* shape8 = named_constant("SH8", t8, int_aggregate(t8, {1, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(eval(call(row_reshape, nullptr, {ref(src), ref(shape8), empty(), empty()})).status, 0);
  EXPECT_NE(messages().find("maximum rank is seven"), std::string::npos);

  object* shape33 = named_constant("SH33", t2, int_aggregate(t2, {3, 3}));
  EXPECT_EQ(eval(call(row_reshape, nullptr, {ref(src), ref(shape33), empty(), empty()})).status, 0);
  EXPECT_NE(messages().find("argument size must be greater or equal to PRODUCT(SHAPE)"),
            std::string::npos);
}

TEST_F(Folding, Transfer) {
  // The bits of 1.0 as a 4-byte REAL read back as a default INTEGER.
  expr_node* mold = num(0);
  EXPECT_EQ(int_of(call(row_transfer, i4(), {real(1.0), mold, empty()})), 1065353216);
  // Two INTEGERs into an array of REAL with SIZE.
  type* t2 = array_of(i4(), {{1, 2}});
  object* words = named_constant("W", t2, int_aggregate(t2, {1065353216, 1073741824}));
  Eval r = eval(call(row_transfer, nullptr, {ref(words), real(0.0), num(2)}));
  ASSERT_EQ(r.v.c.kind, ck_aggregate);
  ElementWalk walk(&r.v);
  const_value e;
  ASSERT_TRUE(walk.next(&e));
  EXPECT_EQ(const_real(&e), 1.0);
  ASSERT_TRUE(walk.next(&e));
  EXPECT_EQ(const_real(&e), 2.0);
  EXPECT_FALSE(walk.next(&e));
}

}  // namespace
