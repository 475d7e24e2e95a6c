// The target arithmetic at its edges: INT32_MIN, -1, 0, shifts by 31, 32 and
// 33, the bit intrinsics, MOD and MODULO, REAL to INTEGER conversions and the
// real and complex operations. Expected values are worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "frontend/semantics/target_arith.h"

namespace {

constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;

struct IntCase {
  const char* label;
  Int32Result (*op)(int32_t, int32_t);
  int32_t a, b;
  int32_t value;  // checked when no flag is expected
  bool overflow, division_by_zero, zero_power;
};

TEST(TargetArith, GuardedIntegerOperations) {
  const IntCase cases[] = {
      {"max + 1", int_add, kMax, 1, 0, true, false, false},
      {"min + -1", int_add, kMin, -1, 0, true, false, false},
      {"max + min", int_add, kMax, kMin, -1, false, false, false},
      {"min + 0", int_add, kMin, 0, kMin, false, false, false},
      {"-1 + -1", int_add, -1, -1, -2, false, false, false},
      {"-2147483647 - 2", int_sub, -2147483647, 2, 0, true, false, false},
      {"0 - min", int_sub, 0, kMin, 0, true, false, false},
      {"-1 - min", int_sub, -1, kMin, kMax, false, false, false},
      {"min - min", int_sub, kMin, kMin, 0, false, false, false},
      {"65536 * 32768", int_mul, 65536, 32768, 0, true, false, false},
      {"-1 * min", int_mul, -1, kMin, 0, true, false, false},
      {"min * 1", int_mul, kMin, 1, kMin, false, false, false},
      {"46340 squared", int_mul, 46340, 46340, 2147395600, false, false, false},
      {"46341 squared", int_mul, 46341, 46341, 0, true, false, false},
      {"-1 * -1", int_mul, -1, -1, 1, false, false, false},
      {"min / -1", int_div, kMin, -1, 0, true, false, false},
      {"7 / -2", int_div, 7, -2, -3, false, false, false},
      {"-7 / 2", int_div, -7, 2, -3, false, false, false},
      {"7 / 0", int_div, 7, 0, 0, false, true, false},
      {"min / 1", int_div, kMin, 1, kMin, false, false, false},
      {"0 ** 0", int_power, 0, 0, 0, false, false, true},
      {"0 ** -1", int_power, 0, -1, 0, false, false, true},
      {"0 ** 5", int_power, 0, 5, 0, false, false, false},
      {"2 ** -1", int_power, 2, -1, 0, false, false, false},
      {"-1 ** -3", int_power, -1, -3, -1, false, false, false},
      {"-1 ** -4", int_power, -1, -4, 1, false, false, false},
      {"-1 ** min", int_power, -1, kMin, 1, false, false, false},
      {"1 ** -5", int_power, 1, -5, 1, false, false, false},
      {"3 ** 0", int_power, 3, 0, 1, false, false, false},
      {"-2 ** 31", int_power, -2, 31, kMin, false, false, false},
      {"2 ** 31", int_power, 2, 31, 0, true, false, false},
      {"2 ** 30", int_power, 2, 30, 1073741824, false, false, false},
      {"10 ** 9", int_power, 10, 9, 1000000000, false, false, false},
      {"10 ** 10", int_power, 10, 10, 0, true, false, false},
      {"65536 ** 1 squares nothing", int_power, 65536, 1, 65536, false, false, false},
      {"2 ** 16", int_power, 2, 16, 65536, false, false, false},
      {"-3 ** 3", int_power, -3, 3, -27, false, false, false},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.label);
    Int32Result r = c.op(c.a, c.b);
    EXPECT_EQ(r.overflow, c.overflow);
    EXPECT_EQ(r.division_by_zero, c.division_by_zero);
    EXPECT_EQ(r.zero_power, c.zero_power);
    if (!c.overflow && !c.division_by_zero && !c.zero_power) {
      EXPECT_EQ(r.value, c.value);
    }
  }
}

TEST(TargetArith, MessageFormsOfTheGuardedOperations) {
  int32_t out = 99;
  EXPECT_EQ(fold_int_add(kMax, 1, &out), 292);
  EXPECT_EQ(out, 99);  // not written on failure
  EXPECT_EQ(fold_int_sub(-2147483647, 2, &out), 292);
  EXPECT_EQ(fold_int_mul(65536, 32768, &out), 292);
  EXPECT_EQ(out, kMin);  // the wrapped product is written in any case
  EXPECT_EQ(fold_int_div(7, 0, &out), 169);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(fold_int_div(kMin, -1, &out), 292);
  EXPECT_EQ(fold_int_sub(-1, kMin, &out), 0);
  EXPECT_EQ(out, kMax);
  EXPECT_EQ(int_result_message(int_power(0, 0)), 481);
  EXPECT_EQ(int_negate(kMin), kMin);
  EXPECT_EQ(int_negate(5), -5);
  EXPECT_EQ(int_negate(0), 0);
}

TEST(TargetArith, IterationCounts) {
  struct Case { int32_t start, limit, step, count; int msg; } cases[] = {
      {1, 10, 1, 10, 0},   {10, 1, 1, 0, 0},     {1, 10, 3, 4, 0},
      {10, 1, -3, 4, 0},   {1, 10, 0, 0, 169},   {kMin, kMax, 1, 0, 292},
      {0, kMax, kMax, 0, 292}, {5, 5, -1, 1, 0}, {-5, -1, 2, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.limit << "," << c.step);
    int32_t n = -7;
    EXPECT_EQ(do_iteration_count(c.start, c.limit, c.step, &n), c.msg);
    EXPECT_EQ(n, c.count);
  }
}

TEST(TargetArith, ModAndModulo) {
  struct Case { int32_t a, p, mod, modulo; } cases[] = {
      {-7, 3, -1, 2},          {7, -3, 1, -2},          {-7, -3, -1, -1},
      {7, 3, 1, 1},            {kMin, -1, 0, 0},        {1, kMin, 1, -2147483647},
      {-1, kMax, -1, 2147483646}, {kMin, kMax, -1, 2147483646}, {0, -5, 0, 0},
      {6, 3, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " by " << c.p);
    Int32Result m = fortran_mod(c.a, c.p);
    Int32Result o = fortran_modulo(c.a, c.p);
    EXPECT_FALSE(m.division_by_zero || o.division_by_zero || m.overflow || o.overflow);
    EXPECT_EQ(m.value, c.mod);
    EXPECT_EQ(o.value, c.modulo);
  }
  EXPECT_TRUE(fortran_mod(5, 0).division_by_zero);
  EXPECT_TRUE(fortran_modulo(5, 0).division_by_zero);
}

TEST(TargetArith, AbsSignDim) {
  EXPECT_EQ(fortran_abs(kMin), kMin);
  EXPECT_EQ(fortran_abs(-1), 1);
  EXPECT_EQ(fortran_sign(5, -1), -5);
  EXPECT_EQ(fortran_sign(-5, 0), 5);
  EXPECT_EQ(fortran_sign(kMin, 1), kMin);
  EXPECT_EQ(fortran_dim(3, 5), 0);
  EXPECT_EQ(fortran_dim(5, 3), 2);
  EXPECT_EQ(fortran_dim(kMax, -1), 0);  // wraps to a negative word
}

// A bit result: the value, or the fault and its argument.
struct BitCase {
  const char* label;
  BitResult r;
  int32_t value;
  ArgFault fault;
  int argument;
};

void check_bits(const BitCase* cases, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const BitCase& c = cases[i];
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.r.fault, c.fault);
    if (c.fault == ArgFault::none)
      EXPECT_EQ(c.r.value, c.value);
    else
      EXPECT_EQ(c.r.argument, c.argument);
  }
}

constexpr ArgFault ok = ArgFault::none;
constexpr ArgFault neg = ArgFault::negative;
constexpr ArgFault beyond = ArgFault::beyond_bit_size;

TEST(TargetArith, Shifts) {
  const BitCase cases[] = {
      {"ishft(1, 31)", fortran_ishft(1, 31, 32), kMin, ok, 0},
      {"ishft(-1, -28)", fortran_ishft(-1, -28, 32), 15, ok, 0},
      {"ishft(1, 32)", fortran_ishft(1, 32, 32), 0, ok, 0},
      {"ishft(-1, -32)", fortran_ishft(-1, -32, 32), 0, ok, 0},
      {"ishft(-1, -31)", fortran_ishft(-1, -31, 32), 1, ok, 0},
      {"ishft(1, 33)", fortran_ishft(1, 33, 32), 0, beyond, 1},
      {"ishft(-1, -33)", fortran_ishft(-1, -33, 32), 0, beyond, 1},
      {"ishft(min, 0)", fortran_ishft(kMin, 0, 32), kMin, ok, 0},
      {"ishft(1_1, 16) keeps the host word", fortran_ishft(1, 16, 16), 65536, ok, 0},
      {"ishft(1_1, 17)", fortran_ishft(1, 17, 16), 0, beyond, 1},
      {"ishft(1_1, -17)", fortran_ishft(1, -17, 16), 0, beyond, 1},
      {"ishftc(6, 1, 3)", fortran_ishftc(6, 1, 3, true, 32), 5, ok, 0},
      {"ishftc(6, -1, 3)", fortran_ishftc(6, -1, 3, true, 32), 3, ok, 0},
      {"ishftc(1, 4, 3)", fortran_ishftc(1, 4, 3, true, 32), 0, beyond, 1},
      {"ishftc(1, 1, 0)", fortran_ishftc(1, 1, 0, true, 32), 0, beyond, 2},
      {"ishftc(1, 1, 33)", fortran_ishftc(1, 1, 33, true, 32), 0, beyond, 2},
      {"ishftc(min, 1)", fortran_ishftc(kMin, 1, 0, false, 32), 1, ok, 0},
      {"ishftc(1, -1)", fortran_ishftc(1, -1, 0, false, 32), kMin, ok, 0},
      {"ishftc(1, 32)", fortran_ishftc(1, 32, 0, false, 32), 1, ok, 0},
      {"ishftc(1, -32)", fortran_ishftc(1, -32, 0, false, 32), 1, ok, 0},
      {"ishftc(1, 33)", fortran_ishftc(1, 33, 0, false, 32), 0, beyond, 1},
      {"ishftc(z'12345678', 8)", fortran_ishftc(0x12345678, 8, 0, false, 32), 0x34567812, ok, 0},
      {"ishftc keeps the bits outside SIZE", fortran_ishftc(0x1F, 1, 4, true, 32), 0x1F, ok, 0},
      {"ishftc(-8, 1, 4)", fortran_ishftc(-8, 1, 4, true, 32), -15, ok, 0},
      {"ishftc(1_1, -1)", fortran_ishftc(1, -1, 0, false, 16), 32768, ok, 0},
  };
  check_bits(cases, std::size(cases));
}

TEST(TargetArith, BitFields) {
  const BitCase cases[] = {
      {"ibits(14, 1, 3)", fortran_ibits(14, 1, 3, 32), 7, ok, 0},
      {"ibits(-1, 0, 32)", fortran_ibits(-1, 0, 32, 32), -1, ok, 0},
      {"ibits(-1, 31, 1)", fortran_ibits(-1, 31, 1, 32), 1, ok, 0},
      {"ibits(-1, 32, 0)", fortran_ibits(-1, 32, 0, 32), 0, ok, 0},
      {"ibits(min, 31, 1)", fortran_ibits(kMin, 31, 1, 32), 1, ok, 0},
      {"ibits(-1, 0, 16) of a 16-bit kind", fortran_ibits(-1, 0, 16, 16), 65535, ok, 0},
      {"ibits(1, 30, 3)", fortran_ibits(1, 30, 3, 32), 0, beyond, 1},
      {"ibits(1, 0, -1)", fortran_ibits(1, 0, -1, 32), 0, neg, 2},
      {"ibits(1, -1, 1)", fortran_ibits(1, -1, 1, 32), 0, neg, 1},
      {"ibset(0, 31)", fortran_ibset(0, 31, 32), kMin, ok, 0},
      {"ibclr(-1, 31)", fortran_ibclr(-1, 31, 32), kMax, ok, 0},
      {"ibclr(-1, 0)", fortran_ibclr(-1, 0, 32), -2, ok, 0},
      {"ibset(0, 32)", fortran_ibset(0, 32, 32), 0, beyond, 1},
      {"ibset(0, -1)", fortran_ibset(0, -1, 32), 0, beyond, 1},
      {"ibclr(1_1, 16)", fortran_ibclr(1, 16, 16), 0, beyond, 1},
      {"ibclr(1_1, 15)", fortran_ibclr(1, 15, 16), 1, ok, 0},
      {"mvbits(7, 0, 3, 0, 29)", fortran_mvbits(7, 0, 3, 0, 29, 32), -536870912, ok, 0},
      {"mvbits(-1, 0, 32, 0, 0)", fortran_mvbits(-1, 0, 32, 0, 0, 32), -1, ok, 0},
      {"mvbits(0, 0, 4, -1, 4)", fortran_mvbits(0, 0, 4, -1, 4, 32), -241, ok, 0},
      {"mvbits(min, 31, 1, 0, 0)", fortran_mvbits(kMin, 31, 1, 0, 0, 32), 1, ok, 0},
      {"mvbits len < 0", fortran_mvbits(1, 0, -1, 0, 0, 32), 0, neg, 2},
      {"mvbits frompos < 0", fortran_mvbits(1, -1, 1, 0, 0, 32), 0, neg, 1},
      {"mvbits frompos + len > 32", fortran_mvbits(1, 31, 2, 0, 0, 32), 0, beyond, 1},
      {"mvbits topos < 0", fortran_mvbits(1, 0, 1, 0, -1, 32), 0, neg, 4},
      {"mvbits topos + len > 32", fortran_mvbits(1, 0, 1, 0, 32, 32), 0, beyond, 4},
  };
  check_bits(cases, std::size(cases));
}

TEST(TargetArith, RealToIntegerConversions) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case { double x; bool overflow; int32_t value; } nint_cases[] = {
      {2.5, false, 3},           {-2.5, false, -3},          {2.4999, false, 2},
      {0.5, false, 1},           {-0.5, false, -1},          {2147483647.4, false, kMax},
      {2147483647.5, true, 0},   {-2147483648.4, false, kMin}, {-2147483648.5, true, 0},
      {nan, true, 0},            {1e10, true, 0},            {-inf, true, 0},
  };
  for (const Case& c : nint_cases) {
    SCOPED_TRACE(testing::Message() << "nint " << c.x);
    Int32Result r = fortran_nint(c.x);
    EXPECT_EQ(r.overflow, c.overflow);
    if (!c.overflow) {
      EXPECT_EQ(r.value, c.value);
    }
  }
  Case int_cases[] = {
      {2.9, false, 2},           {-2.9, false, -2},          {2147483647.9, false, kMax},
      {2147483648.0, true, 0},   {-2147483648.9, false, kMin}, {-2147483649.0, true, 0},
      {nan, true, 0},            {inf, true, 0},             {-0.0, false, 0},
  };
  for (const Case& c : int_cases) {
    SCOPED_TRACE(testing::Message() << "int " << c.x);
    Int32Result r = fortran_int(c.x);
    EXPECT_EQ(r.overflow, c.overflow);
    if (!c.overflow) {
      EXPECT_EQ(r.value, c.value);
    }
  }
}

TEST(TargetArith, RealAndComplex) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double out = 0;
  EXPECT_EQ(fold_real_div(1.0, 0.0, &out), 169);
  EXPECT_EQ(fold_real_div(1.0, 4.0, &out), 0);
  EXPECT_EQ(out, 0.25);
  EXPECT_EQ(fold_real_compare(2.0, 1.0), 1);
  EXPECT_EQ(fold_real_compare(1.0, 1.0), 0);
  EXPECT_EQ(fold_real_compare(1.0, 2.0), -1);
  EXPECT_EQ(fold_real_compare(nan, 1.0), -1);
  EXPECT_EQ(fold_real_compare(1.0, nan), -1);

  EXPECT_TRUE(real_power(0.0, 0).zero_power);
  EXPECT_TRUE(real_power(0.0, -3).zero_power);
  EXPECT_EQ(real_power(0.0, 3).re, 0.0);
  EXPECT_EQ(real_power(2.0, -2).re, 0.25);
  EXPECT_EQ(real_power(2.0, 10).re, 1024.0);
  EXPECT_EQ(real_power(-2.0, 3).re, -8.0);
  EXPECT_EQ(real_power(1.0, INT32_MIN).re, 1.0);
  EXPECT_TRUE(real_power(0.5, INT32_MIN).division_by_zero);  // the product underflows to 0
  EXPECT_EQ(real_power(2.0, INT32_MIN).re, 0.0);             // 1 / infinity

  RealResult m = complex_mul(1, 2, 3, 4);
  EXPECT_EQ(m.re, -5.0);
  EXPECT_EQ(m.im, 10.0);
  RealResult d = complex_div(-5, 10, 3, 4);
  EXPECT_EQ(d.re, 1.0);
  EXPECT_EQ(d.im, 2.0);
  EXPECT_TRUE(complex_div(1, 0, 0, 0).division_by_zero);
  RealResult i2 = complex_power(0, 1, 2);
  EXPECT_EQ(i2.re, -1.0);
  EXPECT_EQ(i2.im, 0.0);
  RealResult inv = complex_power(0, 1, -1);
  EXPECT_EQ(inv.re, 0.0);
  EXPECT_EQ(inv.im, -1.0);
  RealResult p4 = complex_power(1, 1, 4);
  EXPECT_EQ(p4.re, -4.0);
  EXPECT_EQ(p4.im, 0.0);
  EXPECT_TRUE(complex_power(0, 0, 0).zero_power);
  EXPECT_EQ(real_result_message(complex_power(0, 0, -1)), 481);
}

}  // namespace
