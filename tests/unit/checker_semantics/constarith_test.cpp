// Typed constant arithmetic: wrapping integer primitives, digit strings,
// promotion and the folding of +, *, /, ** and the relational operators.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "checker/base/errmsg.h"
#include "checker/semantics/constarith.h"
#include "checker/semantics/locsym.h"

namespace {

typedval ival(int32_t v, uint8_t code = 20) {
  typedval t{};
  t.type.code = code;
  t.type.tag = 'p';
  t.valok = 1;
  t.con = 1;
  t.value.i = v;
  return t;
}
typedval rval(double v, uint8_t code = 21) {
  typedval t{};
  t.type.code = code;
  t.type.tag = 'p';
  t.valok = 1;
  t.con = 1;
  t.value.d = v;
  return t;
}
typedval cval(double re, double im) {
  typedval t{};
  t.type.code = 24;
  t.type.tag = 'p';
  t.valok = 1;
  t.con = 1;
  t.value.c[0] = re;
  t.value.c[1] = im;
  return t;
}
typedval sval(const char* text) {
  typedval t{};
  t.type.code = 14;
  t.type.tag = 'p';
  t.type.value = static_cast<int32_t>(std::strlen(text));
  t.valok = 1;
  t.con = 1;
  t.value.s = const_cast<char*>(text);
  return t;
}

class ConstArith : public ::testing::Test {
 protected:
  void SetUp() override {
    errmsg_reset();
    for (int32_t& d : defdtypes) d = 0;
  }
  static int32_t zero_divisions() { return ecat.errcnt[179]; }
};

TEST_F(ConstArith, IntegerPrimitivesWrapAtTheEdges) {
  struct Row { int32_t a, b, add, sub, mul, div; };
  const Row rows[] = {
      {INT32_MAX, 1, INT32_MIN, INT32_MAX - 1, INT32_MAX, INT32_MAX},
      {INT32_MIN, -1, INT32_MAX, INT32_MIN + 1, INT32_MIN, INT32_MIN},
      {-7, 2, -5, -9, -14, -3},
      {7, -2, 5, 9, -14, -3},
      {0, 5, 5, -5, 0, 0},
      {65536, 65536, 131072, 0, 0, 1},
  };
  for (const Row& r : rows) {
    int32_t v = 0;
    pintadd(&v, r.a, r.b);
    EXPECT_EQ(v, r.add) << r.a << "+" << r.b;
    pintsub(&v, r.a, r.b);
    EXPECT_EQ(v, r.sub) << r.a << "-" << r.b;
    pintmul(&v, r.a, r.b);
    EXPECT_EQ(v, r.mul) << r.a << "*" << r.b;
    pintdiv(&v, r.a, r.b);
    EXPECT_EQ(v, r.div) << r.a << "/" << r.b;
  }
  int32_t v = 0;
  pintneg(&v, INT32_MIN);
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_EQ(pintcmp(-1, 0), -1);
  EXPECT_EQ(pintcmp(3, 3), 0);
  EXPECT_EQ(prealcmp(2.5, 1.0), 1);
}

TEST_F(ConstArith, DigitStringsInEveryBase) {
  int32_t v = 0;
  EXPECT_EQ(atopint("123", 3, 10, &v), 0);
  EXPECT_EQ(v, 123);
  EXPECT_EQ(atopint("ff", 2, 16, &v), 0);
  EXPECT_EQ(v, 255);
  EXPECT_EQ(atopint("777", 3, 8, &v), 0);
  EXPECT_EQ(v, 511);
  EXPECT_EQ(atopint("", 0, 10, &v), 0);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(atopint("129", 3, 8, &v), 2);
  EXPECT_EQ(atopint("1G", 2, 16, &v), 2);
  EXPECT_EQ(atopint("2147483648", 10, 10, &v), 0);
  EXPECT_EQ(v, INT32_MIN);
  double d = 0;
  ftopreal(&d, 0x3ff00000u, 0);
  EXPECT_EQ(d, 1.0);
}

TEST_F(ConstArith, DivisionTruncatesAndReportsZero) {
  typedval a = ival(7), b = ival(2), r{};
  op_div(&a, &b, &r, 5);
  EXPECT_EQ(r.value.i, 3);
  a = ival(-7);
  b = ival(2);
  op_div(&a, &b, &r, 5);
  EXPECT_EQ(r.value.i, -3);
  EXPECT_EQ(zero_divisions(), 0);
  a = ival(1);
  b = ival(0);
  op_div(&a, &b, &r, 5);
  EXPECT_EQ(r.valok, 0u);
  EXPECT_EQ(zero_divisions(), 1);
  a = ival(0);
  a.valok = 0;
  a.con = 0;
  b = ival(0);
  op_div(&a, &b, &r, 5);
  EXPECT_EQ(r.valok, 0u);
  EXPECT_EQ(zero_divisions(), 2);
  a = cval(1, 1);
  b = cval(0, 0);
  op_div(&a, &b, &r, 5);
  EXPECT_EQ(zero_divisions(), 3);
  a = cval(1, 2);
  b = cval(3, 4);
  op_div(&a, &b, &r, 5);
  EXPECT_DOUBLE_EQ(r.value.c[0], 11.0 / 25);
  EXPECT_DOUBLE_EQ(r.value.c[1], 2.0 / 25);
}

TEST_F(ConstArith, PowersByRepeatedMultiplicationAndDivision) {
  struct Row { int32_t base, e; int32_t value; };
  const Row rows[] = {{2, 10, 1024}, {2, 0, 1}, {2, -1, 0}, {2, 1, 2},
                      {-1, -3, -1}, {1, -7, 1}, {-1, INT32_MIN, 1}, {2, 31, INT32_MIN},
                      {3, 2, 9}, {2, 32, 0}, {1, INT32_MAX, 1}};
  for (const Row& row : rows) {
    typedval a = ival(row.base), b = ival(row.e), r{};
    op_exp(&a, &b, &r, 1);
    EXPECT_EQ(r.valok, 1u) << row.base << "**" << row.e;
    EXPECT_EQ(r.value.i, row.value) << row.base << "**" << row.e;
  }
  EXPECT_EQ(zero_divisions(), 0);
  typedval a = rval(2.0), b = ival(-1), r{};
  op_exp(&a, &b, &r, 1);
  EXPECT_DOUBLE_EQ(r.value.d, 0.5);
  a = ival(0);
  b = ival(0);
  op_exp(&a, &b, &r, 1);
  EXPECT_EQ(r.valok, 0u);
  EXPECT_EQ(zero_divisions(), 1);
  a = rval(2.0);
  b = rval(0.5);
  op_exp(&a, &b, &r, 1);
  EXPECT_EQ(r.valok, 0u);
  EXPECT_EQ(r.con, 0u);
}

TEST_F(ConstArith, MixedOperandsArePromoted) {
  typedval a = ival(1), b = rval(2.5, 22), r{};
  op_add(&a, &b, &r);
  EXPECT_EQ(r.type.code, 22);
  EXPECT_DOUBLE_EQ(r.value.d, 3.5);
  a = ival(1);
  b = cval(0.0, 1.0);
  op_add(&a, &b, &r);
  EXPECT_EQ(r.type.code, 24);
  EXPECT_DOUBLE_EQ(r.value.c[0], 1.0);
  EXPECT_DOUBLE_EQ(r.value.c[1], 1.0);
  a = cval(1, 2);
  b = cval(3, 4);
  op_mult(&a, &b, &r);
  EXPECT_DOUBLE_EQ(r.value.c[0], -5.0);
  EXPECT_DOUBLE_EQ(r.value.c[1], 10.0);
  a = ival(INT32_MAX);
  b = ival(1);
  op_add(&a, &b, &r);
  EXPECT_EQ(r.value.i, INT32_MIN);
  a = ival(5);
  op_neg(&a);
  EXPECT_EQ(a.value.i, -5);
  a = ival(1);
  b = ival(2);
  b.con = 0;
  op_add(&a, &b, &r);
  EXPECT_EQ(r.con, 0u);
  EXPECT_EQ(r.valok, 1u);
}

TEST_F(ConstArith, Comparisons) {
  typedval a = sval("ab"), b = sval("ab "), r{};
  op_relop(&a, &b, &r, 12);
  EXPECT_EQ(r.valok, 1u);
  EXPECT_EQ(r.value.i, -1);
  EXPECT_EQ(r.type.code, 19);
  a = cval(1, 0);
  b = cval(1, 0);
  op_relop(&a, &b, &r, 12);
  EXPECT_EQ(r.valok, 0u);
  struct Row { int32_t a, b, opr, truth; };
  const Row rows[] = {{1, 2, 10, 0}, {2, 1, 10, -1}, {2, 2, 11, -1}, {1, 2, 13, -1},
                      {1, 2, 14, -1}, {2, 2, 15, -1}, {3, 2, 15, 0}};
  for (const Row& row : rows) {
    a = ival(row.a);
    b = ival(row.b);
    op_relop(&a, &b, &r, row.opr);
    EXPECT_EQ(r.value.i, row.truth) << row.a << " op" << row.opr << " " << row.b;
  }
  a = ival(1);
  b = rval(1.5);
  op_relop(&a, &b, &r, 14);
  EXPECT_EQ(r.value.i, -1);
}

}  // namespace
