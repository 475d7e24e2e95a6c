// Folding of intrinsic function references: every folding function against
// the value the intrinsic has, grouped by class in tables of cases, with
// the edges of 32-bit arithmetic, zero divisors, and arguments that are
// absent or of unknown value (never folded).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <deque>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "checker/base/cmmdline.h"
#include "checker/reader/expr.h"
#include "checker/semantics/intrinfold.h"
#include "checker/semantics/kinds.h"
#include "tests/unit/checker_semantics/semantics_fixture.h"

namespace {

// Actual arguments by value; the fixture links them into a list.
actarg typed_arg(uint8_t code) {
  actarg a{};
  a.type.code = code;
  a.type.tag = 'p';
  a.present = 1;
  a.valok = 1;
  a.con = 1;
  a.position = 0;
  a.kind = AC_VAL;
  a.form = EK_VALUE;
  return a;
}
actarg I(int32_t v, uint8_t code = DT_I4) {
  actarg a = typed_arg(code);
  a.value.i = v;
  return a;
}
actarg R(double v, uint8_t code = DT_R4) {
  actarg a = typed_arg(code);
  a.value.d = v;
  return a;
}
actarg D(double v) { return R(v, DT_R8); }
actarg C(double re, double im, uint8_t code = DT_C8) {
  actarg a = typed_arg(code);
  a.value.c[0] = re;
  a.value.c[1] = im;
  return a;
}
// A character constant; the text must outlive the test.
actarg S(const char* text) {
  actarg a = typed_arg(DT_CHAR);
  a.type.value = static_cast<int32_t>(std::strlen(text));
  a.value.s = const_cast<char*>(text);
  return a;
}
// A variable of that type whose value is not known.
actarg unknown(uint8_t code, int32_t charlen = 0) {
  actarg a = typed_arg(code);
  a.type.value = charlen;
  a.valok = 0;
  a.con = 0;
  a.form = EK_SCALARVAR;
  return a;
}
// A position filled by rearranging the keyword arguments.
actarg absent() {
  actarg a{};
  a.present = 0;
  return a;
}
// A type with a written KIND.
actarg with_kind(actarg a, uint8_t kind) {
  a.type.kind = kind;
  return a;
}

dtdesc res(uint8_t code, int32_t charlen = 0) {
  dtdesc d{};
  d.code = code;
  d.tag = 'p';
  d.value = charlen;
  return d;
}

// A fold: the function, its arguments, the result type and the value the
// intrinsic has (reals compared exactly: every expected value is a double
// that the computation yields without rounding).
template <class T>
struct FoldCase {
  const char* what;
  intrin_fold_fn fn;
  std::vector<actarg> args;
  uint8_t result;
  T expected;
};
using IntCase = FoldCase<int32_t>;
using RealCase = FoldCase<double>;
// A reference that must not fold.
struct RefusedCase {
  const char* what;
  intrin_fold_fn fn;
  std::vector<actarg> args;
  dtdesc result;
};

class IntrinFold : public CheckerSemanticsTest {
 protected:
  void SetUp() override {
    CheckerSemanticsTest::SetUp();
    saved_sizemode_ = Sizemode;
    std::memcpy(saved_defdtypes_, defdtypes, sizeof defdtypes);
    target(0);  // OSF1
    // The default types of a unit with the standard lengths.
    const int32_t standard[9] = {0, DT_CHAR, DT_L4, DT_I4, DT_R4, DT_C8, DT_R8, DT_C16, DT_B};
    std::memcpy(defdtypes, standard, sizeof defdtypes);
    dnkind = 0;
  }
  void TearDown() override {
    Sizemode = saved_sizemode_;
    kinds_reset();
    std::memcpy(defdtypes, saved_defdtypes_, sizeof defdtypes);
    dnkind = 0;
    CheckerSemanticsTest::TearDown();
  }
  static void target(int32_t sizemode) {
    Sizemode = sizemode;
    kinds_reset();
  }

  // Links copies of the arguments into an actual list; null for none.
  const actarg* list(const std::vector<actarg>& args) {
    actarg* prev = nullptr;
    actarg* head = nullptr;
    int32_t pos = 0;
    for (const actarg& a : args) {
      actarg& n = store_.emplace_back(a);
      n.position = pos++;
      n.next = nullptr;
      if (prev != nullptr) prev->next = &n; else head = &n;
      prev = &n;
    }
    return head;
  }

  // Calls fn; `folded` tells whether it returned 1. The value buffer starts
  // with a pattern that a refused fold must leave alone.
  struct Fold {
    int32_t folded;
    conval value;
    bool untouched;
  };
  Fold fold(intrin_fold_fn fn, const std::vector<actarg>& args, const dtdesc& result) {
    conval v;
    std::memset(&v, 0x5a, sizeof v);
    conval pattern = v;
    int32_t r = fn(list(args), &result, &v);
    return Fold{r, v, std::memcmp(&v, &pattern, sizeof v) == 0};
  }

  // Each case folds to the expected value.
  template <class T>
  void check(std::span<const FoldCase<T>> cases) {
    for (const FoldCase<T>& c : cases) {
      Fold f = fold(c.fn, c.args, res(c.result));
      ASSERT_EQ(f.folded, 1) << c.what;
      if constexpr (std::is_same_v<T, double>) {
        EXPECT_EQ(f.value.d, c.expected) << c.what;
      } else {
        EXPECT_EQ(f.value.i, c.expected) << c.what;
      }
    }
  }
  template <class T, size_t N>
  void check(const FoldCase<T> (&cases)[N]) {
    check(std::span<const FoldCase<T>>(cases));
  }
  // No case folds, and none writes the value buffer.
  void check(std::span<const RefusedCase> cases) {
    for (const RefusedCase& c : cases) {
      Fold r = fold(c.fn, c.args, c.result);
      EXPECT_EQ(r.folded, 0) << c.what;
      EXPECT_TRUE(r.untouched) << c.what;
    }
  }

  std::deque<actarg> store_;
  int32_t saved_sizemode_ = 0;
  int32_t saved_defdtypes_[9] = {};
};

TEST_F(IntrinFold, BitOperationsAndShiftsOnThirtyTwoBits) {
  const IntCase cases[] = {
      {"IAND(12,10)", intr_and, {I(12), I(10)}, DT_I4, 8},
      {"IOR(12,10)", intr_or, {I(12), I(10)}, DT_I4, 14},
      {"IEOR(12,10)", intr_xor, {I(12), I(10)}, DT_I4, 6},
      {"IAND(-1,INT32_MIN)", intr_and, {I(-1), I(INT32_MIN)}, DT_I4, INT32_MIN},
      {"IOR(INT32_MIN,INT32_MAX)", intr_or, {I(INT32_MIN), I(INT32_MAX)}, DT_I4, -1},
      {"IEOR(-1,INT32_MAX)", intr_xor, {I(-1), I(INT32_MAX)}, DT_I4, INT32_MIN},
      {"IAND of INTEGER*2 and INTEGER*4", intr_and, {I(12, DT_I2), I(10)}, DT_I4, 8},
      {"IAND of logicals", intr_and, {I(-1, DT_L4), I(0, DT_L4)}, DT_L4, 0},
      {"ISHFT(1,3)", intr_shft, {I(1), I(3)}, DT_I4, 8},
      {"ISHFT(-8,-1) is a logical shift", intr_shft, {I(-8), I(-1)}, DT_I4, 2147483644},
      {"ISHFT(1,31)", intr_shft, {I(1), I(31)}, DT_I4, INT32_MIN},
      {"ISHFT(1,32): count modulo 32", intr_shft, {I(1), I(32)}, DT_I4, 1},
      {"ISHFT(1,33)", intr_shft, {I(1), I(33)}, DT_I4, 2},
      {"ISHFT(INT32_MIN,-31)", intr_shft, {I(INT32_MIN), I(-31)}, DT_I4, 1},
      {"ISHFT(-1,-32): count modulo 32", intr_shft, {I(-1), I(-32)}, DT_I4, -1},
      {"ISHFT(5,INT32_MIN): count 0", intr_shft, {I(5), I(INT32_MIN)}, DT_I4, 5},
      {"ISHFT(INT32_MAX,1)", intr_shft, {I(INT32_MAX), I(1)}, DT_I4, -2},
      {"ISHFT of INTEGER*2 -8 by -1 within 16 bits", intr_shft, {I(-8, DT_I2), I(-1, DT_I2)}, DT_I2, 32764},
      {"ISHFT of INTEGER*2 16384 by 1 wraps in 16 bits", intr_shft, {I(16384, DT_I2), I(1, DT_I2)}, DT_I2, -32768},
      {"ISHFT of INTEGER*1 1 by 8 leaves 0", intr_shft, {I(1, DT_I1), I(8, DT_I1)}, DT_I1, 0},
      {"NOT(0)", intr_not, {I(0)}, DT_I4, -1},
      {"NOT(INT32_MIN)", intr_not, {I(INT32_MIN)}, DT_I4, INT32_MAX},
      {"NOT(12)", intr_not, {I(12)}, DT_I4, -13},
  };
  check(cases);
  // The result converted when its store class differs from the arguments'.
  Fold f = fold(intr_shft, {I(1), I(4)}, res(DT_R4));
  ASSERT_EQ(f.folded, 1);
  EXPECT_EQ(f.value.d, 16.0);

  const RefusedCase refused[] = {
      {"IAND of reals", intr_and, {R(1.0), R(2.0)}, res(DT_R4)},
      {"IOR of characters", intr_or, {S("a"), S("b")}, res(DT_I4)},
      {"NOT of a real", intr_not, {R(1.0)}, res(DT_I4)},
      {"NOT to a REAL result", intr_not, {I(1)}, res(DT_R4)},
  };
  check(refused);
}

TEST_F(IntrinFold, CharacterInquiriesAndCodes) {
  const IntCase cases[] = {
      {"LEN('abc')", intr_len, {S("abc")}, DT_I4, 3},
      {"LEN of a CHARACTER*5 variable of unknown value", intr_len, {unknown(DT_CHAR, 5)}, DT_I4, 5},
      {"ICHAR('A')", intr_ichar, {S("A")}, DT_I4, 65},
      {"ICHAR of the first character only", intr_ichar, {S("BA")}, DT_I4, 66},
      {"ICHAR of a code above 127", intr_ichar, {S("\xe9")}, DT_I4, 233},
      {"ICHAR of a blank", intr_ichar, {S(" ")}, DT_I4, 32},
  };
  check(cases);
  const RefusedCase refused[] = {
      {"LEN of a CHARACTER*(*) dummy", intr_len, {unknown(DT_CHAR, 0)}, res(DT_I4)},
      {"LEN of an integer", intr_len, {I(3)}, res(DT_I4)},
      {"ICHAR of an unknown character", intr_ichar, {unknown(DT_CHAR, 1)}, res(DT_I4)},
      {"ICHAR of a text of length 0", intr_ichar, {S("")}, res(DT_I4)},
  };
  check(refused);
}

TEST_F(IntrinFold, ConversionsTakeTheResultType) {
  const IntCase ints[] = {
      {"INT(2.7)", intr_conv, {R(2.7)}, DT_I4, 2},
      {"INT(-2.7)", intr_conv, {R(-2.7)}, DT_I4, -2},
      {"IFIX(1.0E10) held at the largest integer", intr_conv, {R(1.0e10)}, DT_I4, INT32_MAX},
      {"INT((-3.5,1.0))", intr_conv, {C(-3.5, 1.0)}, DT_I4, -3},
      {"INT of INTEGER*2", intr_conv, {I(-7, DT_I2)}, DT_I4, -7},
  };
  check(ints);
  const RealCase reals[] = {
      {"REAL(3)", intr_conv, {I(3)}, DT_R4, 3.0},
      {"FLOAT(-2)", intr_conv, {I(-2)}, DT_R4, -2.0},
      {"DBLE(1.5)", intr_conv, {R(1.5)}, DT_R8, 1.5},
      {"REAL((1.5,2.0))", intr_conv, {C(1.5, 2.0)}, DT_R4, 1.5},
      {"AIMAG((1.0,2.0))", intr_imag, {C(1.0, 2.0)}, DT_R4, 2.0},
      {"DIMAG of DOUBLE COMPLEX", intr_imag, {C(0.5, -4.25, DT_C16)}, DT_R8, -4.25},
  };
  check(reals);

  Fold ch = fold(intr_conv, {I(65)}, res(DT_CHAR, 1));  // CHAR(65)
  ASSERT_EQ(ch.folded, 1);
  EXPECT_EQ(std::string(ch.value.s, 1), "A");

  struct CpxCase {
    const char* what;
    intrin_fold_fn fn;
    std::vector<actarg> args;
    double re, im;
  };
  const CpxCase cpx[] = {
      {"CMPLX(3.0)", intr_cmplx, {R(3.0)}, 3.0, 0.0},
      {"CMPLX(1,2.5)", intr_cmplx, {I(1), R(2.5)}, 1.0, 2.5},
      {"CMPLX(1,2)", intr_cmplx, {I(1), I(2)}, 1.0, 2.0},
      {"CMPLX((1.0,2.0))", intr_cmplx, {C(1.0, 2.0)}, 1.0, 2.0},
      {"CMPLX(x) with the KIND position left empty", intr_cmplx, {R(-1.5), absent()}, -1.5, 0.0},
      {"CONJG((1.0,2.0))", intr_conjg, {C(1.0, 2.0)}, 1.0, -2.0},
      {"CONJG((0.0,-3.0))", intr_conjg, {C(0.0, -3.0)}, 0.0, 3.0},
  };
  for (const CpxCase& c : cpx) {
    Fold f = fold(c.fn, c.args, res(DT_C8));
    ASSERT_EQ(f.folded, 1) << c.what;
    EXPECT_EQ(f.value.c[0], c.re) << c.what;
    EXPECT_EQ(f.value.c[1], c.im) << c.what;
  }

  const RefusedCase refused[] = {
      {"CMPLX with an unknown imaginary part", intr_cmplx, {R(1.0), unknown(DT_R4)}, res(DT_C8)},
      {"CMPLX to a REAL result", intr_cmplx, {R(1.0)}, res(DT_R4)},
      {"CMPLX of a character", intr_cmplx, {S("a")}, res(DT_C8)},
      {"AIMAG of a real", intr_imag, {R(1.0)}, res(DT_R4)},
      {"CONJG of a real", intr_conjg, {R(1.0)}, res(DT_C8)},
      {"CHAR to a character of unknown length", intr_conv, {I(65)}, res(DT_CHAR, 0)},
  };
  check(refused);
}

TEST_F(IntrinFold, MaxAndMinKeepTheFirstOfEqualValues) {
  const IntCase ints[] = {
      {"MAX(2,2)", intr_max, {I(2), I(2)}, DT_I4, 2},
      {"MAX0(1,5,3)", intr_max, {I(1), I(5), I(3)}, DT_I4, 5},
      {"MIN0(4,-2,7)", intr_min, {I(4), I(-2), I(7)}, DT_I4, -2},
      {"MAX(INT32_MIN,INT32_MAX)", intr_max, {I(INT32_MIN), I(INT32_MAX)}, DT_I4, INT32_MAX},
      {"MIN(INT32_MIN,INT32_MAX)", intr_min, {I(INT32_MIN), I(INT32_MAX)}, DT_I4, INT32_MIN},
      {"MAX1(2.5,1.0) is an integer", intr_max, {R(2.5), R(1.0)}, DT_I4, 2},
      {"MAX with A3 absent", intr_max, {I(7), I(9), absent()}, DT_I4, 9},
  };
  check(ints);
  const RealCase reals[] = {
      {"MAX(1.0,3.0)", intr_max, {R(1.0), R(3.0)}, DT_R4, 3.0},
      {"MIN(1.0,3.0)", intr_min, {R(1.0), R(3.0)}, DT_R4, 1.0},
      {"AMAX0(1,2)", intr_max, {I(1), I(2)}, DT_R4, 2.0},
      {"MAX(1,2.5)", intr_max, {I(1), R(2.5)}, DT_R4, 2.5},
      {"DMIN1(-1.5D0,0.5D0)", intr_min, {D(-1.5), D(0.5)}, DT_R8, -1.5},
  };
  check(reals);
  // Of equal values the first stays: 0.0 and -0.0 compare equal.
  Fold first_pos = fold(intr_max, {R(0.0), R(-0.0)}, res(DT_R4));
  ASSERT_EQ(first_pos.folded, 1);
  EXPECT_FALSE(std::signbit(first_pos.value.d));
  Fold first_neg = fold(intr_min, {R(-0.0), R(0.0)}, res(DT_R4));
  ASSERT_EQ(first_neg.folded, 1);
  EXPECT_TRUE(std::signbit(first_neg.value.d));

  Fold text = fold(intr_max, {S("abc"), S("abd"), S("abb")}, res(DT_CHAR, 3));
  ASSERT_EQ(text.folded, 1);
  EXPECT_EQ(std::string(text.value.s, 3), "abd");
  Fold shorter = fold(intr_min, {S("b"), S("ab")}, res(DT_CHAR, 2));
  ASSERT_EQ(shorter.folded, 1);
  EXPECT_EQ(std::string(shorter.value.s, 2), "ab");

  const RefusedCase refused[] = {
      {"MAX with an unknown second argument", intr_max, {I(1), unknown(DT_I4)}, res(DT_I4)},
      {"MIN with an unknown third argument", intr_min, {I(1), I(2), unknown(DT_I4)}, res(DT_I4)},
      {"MAX to a COMPLEX result", intr_max, {C(1, 0), C(2, 0)}, res(DT_C8)},
      {"MAX of a number to a character result", intr_max, {I(1), S("a")}, res(DT_CHAR, 1)},
      {"MAX of a character to an integer result", intr_max, {I(1), S("a")}, res(DT_I4)},
      {"MIN of a complex to a real result", intr_min, {R(1), C(0, 1)}, res(DT_R4)},
  };
  check(refused);
}

TEST_F(IntrinFold, LexicalComparisonsArePadded) {
  const IntCase cases[] = {
      {"LGE('abc','abc')", intr_lge, {S("abc"), S("abc")}, DT_L4, -1},
      {"LGE('abc','abd')", intr_lge, {S("abc"), S("abd")}, DT_L4, 0},
      {"LGT('abd','abc')", intr_lgt, {S("abd"), S("abc")}, DT_L4, -1},
      {"LGT('abc','abc')", intr_lgt, {S("abc"), S("abc")}, DT_L4, 0},
      {"LLE('ab','ab ')", intr_lle, {S("ab"), S("ab ")}, DT_L4, -1},
      {"LLE('b','a')", intr_lle, {S("b"), S("a")}, DT_L4, 0},
      {"LLT('a','b')", intr_llt, {S("a"), S("b")}, DT_L4, -1},
      {"LLT('a ','a')", intr_llt, {S("a "), S("a")}, DT_L4, 0},
      {"LLT to an integer result", intr_llt, {S("A"), S("a")}, DT_I4, -1},
  };
  check(cases);
  const RefusedCase refused[] = {
      {"LGE of integers", intr_lge, {I(1), I(2)}, res(DT_L4)},
      {"LGT to a REAL result", intr_lgt, {S("a"), S("b")}, res(DT_R4)},
      {"LLE with an unknown text", intr_lle, {S("a"), unknown(DT_CHAR, 1)}, res(DT_L4)},
  };
  check(refused);
}

TEST_F(IntrinFold, NumericFunctionsWithoutTraps) {
  const IntCase ints[] = {
      {"IABS(-5)", intr_abs, {I(-5)}, DT_I4, 5},
      {"IABS(INT32_MIN) stays", intr_abs, {I(INT32_MIN)}, DT_I4, INT32_MIN},
      {"IABS(INT32_MAX)", intr_abs, {I(INT32_MAX)}, DT_I4, INT32_MAX},
      {"IDIM(5,3)", intr_dim, {I(5), I(3)}, DT_I4, 2},
      {"IDIM(3,5)", intr_dim, {I(3), I(5)}, DT_I4, 0},
      {"IDIM(INT32_MAX,-1) wraps", intr_dim, {I(INT32_MAX), I(-1)}, DT_I4, INT32_MIN},
      {"INT(-2.7) by truncation", intr_trunc, {R(-2.7)}, DT_I4, -2},
      {"NINT(-2.5)", intr_near, {R(-2.5)}, DT_I4, -3},
      {"NINT(2.5)", intr_near, {R(2.5)}, DT_I4, 3},
      {"NINT(2.4)", intr_near, {R(2.4)}, DT_I4, 2},
      {"NINT(-0.4)", intr_near, {R(-0.4)}, DT_I4, 0},
      {"NINT of the double just below 0.5", intr_near, {D(0.49999999999999994)}, DT_I4, 0},
      {"IDNINT(1.0D10) held at the largest integer", intr_near, {D(1.0e10)}, DT_I4, INT32_MAX},
      {"MOD(-7,4)", intr_mod, {I(-7), I(4)}, DT_I4, -3},
      {"MOD(-7,8) by a power of two", intr_mod, {I(-7), I(8)}, DT_I4, -7},
      {"MOD(7,-4)", intr_mod, {I(7), I(-4)}, DT_I4, 3},
      {"MOD(16,8)", intr_mod, {I(16), I(8)}, DT_I4, 0},
      {"MOD(INT32_MIN,-1)", intr_mod, {I(INT32_MIN), I(-1)}, DT_I4, 0},
      {"MOD(INT32_MIN,2)", intr_mod, {I(INT32_MIN), I(2)}, DT_I4, 0},
      {"MOD(INT32_MIN,3)", intr_mod, {I(INT32_MIN), I(3)}, DT_I4, -2},
      {"MOD(INT32_MAX,INT32_MIN)", intr_mod, {I(INT32_MAX), I(INT32_MIN)}, DT_I4, INT32_MAX},
      {"MODULO(-7,4)", intr_modulo, {I(-7), I(4)}, DT_I4, 1},
      {"MODULO(7,-4)", intr_modulo, {I(7), I(-4)}, DT_I4, -1},
      {"MODULO(-8,4)", intr_modulo, {I(-8), I(4)}, DT_I4, 0},
      {"MODULO(INT32_MIN,-1)", intr_modulo, {I(INT32_MIN), I(-1)}, DT_I4, 0},
      {"MODULO(INT32_MIN,3)", intr_modulo, {I(INT32_MIN), I(3)}, DT_I4, 1},
      {"MODULO(INT32_MAX,INT32_MIN)", intr_modulo, {I(INT32_MAX), I(INT32_MIN)}, DT_I4, -1},
  };
  check(ints);
  const RealCase reals[] = {
      {"ABS(-2.5)", intr_abs, {R(-2.5)}, DT_R4, 2.5},
      {"DABS(-0.0D0)", intr_abs, {D(-0.0)}, DT_R8, 0.0},
      {"ABS((3.0,4.0))", intr_abs, {C(3.0, 4.0)}, DT_R4, 5.0},
      {"CDABS((-5.0,12.0))", intr_abs, {C(-5.0, 12.0, DT_C16)}, DT_R8, 13.0},
      {"DIM(1.5,0.5)", intr_dim, {R(1.5), R(0.5)}, DT_R4, 1.0},
      {"DIM(0.5,1.5)", intr_dim, {R(0.5), R(1.5)}, DT_R4, 0.0},
      {"DIM(3,1.5) after promotion", intr_dim, {I(3), R(1.5)}, DT_R4, 1.5},
      {"DPROD(2.0,3.5)", intr_dprod, {R(2.0), R(3.5)}, DT_R8, 7.0},
      {"AINT(-2.7)", intr_trunc, {R(-2.7)}, DT_R4, -2.0},
      {"AINT(2.7)", intr_trunc, {R(2.7)}, DT_R4, 2.0},
      {"DINT(-0.5D0)", intr_trunc, {D(-0.5)}, DT_R8, -0.0},
      {"ANINT(2.5)", intr_near, {R(2.5)}, DT_R4, 3.0},
      {"ANINT(-2.5)", intr_near, {R(-2.5)}, DT_R4, -3.0},
      {"DNINT(1.25D0)", intr_near, {D(1.25)}, DT_R8, 1.0},
      {"AMOD(5.5,2.0)", intr_mod, {R(5.5), R(2.0)}, DT_R4, 1.5},
      {"AMOD(-5.5,2.0)", intr_mod, {R(-5.5), R(2.0)}, DT_R4, -1.5},
      {"MOD(7,2.5) after promotion", intr_mod, {I(7), R(2.5)}, DT_R4, 2.0},
      {"MODULO(-5.5,2.0)", intr_modulo, {R(-5.5), R(2.0)}, DT_R4, 0.5},
      {"MODULO(5.5,-2.0)", intr_modulo, {R(5.5), R(-2.0)}, DT_R4, -0.5},
  };
  check(reals);
  const RefusedCase refused[] = {
      {"MOD(7,0)", intr_mod, {I(7), I(0)}, res(DT_I4)},
      {"MOD(INT32_MIN,0)", intr_mod, {I(INT32_MIN), I(0)}, res(DT_I4)},
      {"MOD(x,0) with x unknown", intr_mod, {unknown(DT_I4), I(0)}, res(DT_I4)},
      {"AMOD(5.0,0.0)", intr_mod, {R(5.0), R(0.0)}, res(DT_R4)},
      {"MOD(5.0,-0.0)", intr_mod, {R(5.0), R(-0.0)}, res(DT_R4)},
      {"MODULO(7,0)", intr_modulo, {I(7), I(0)}, res(DT_I4)},
      {"MODULO(7.0,0.0)", intr_modulo, {R(7.0), R(0.0)}, res(DT_R4)},
      {"MOD of complexes", intr_mod, {C(1, 1), C(2, 0)}, res(DT_C8)},
      {"DIM of characters", intr_dim, {S("a"), S("b")}, res(DT_CHAR, 1)},
      {"DPROD of integers", intr_dprod, {I(2), I(3)}, res(DT_R8)},
      {"AINT of an integer", intr_trunc, {I(2)}, res(DT_R4)},
      {"NINT of a complex", intr_near, {C(2.5, 0)}, res(DT_I4)},
      {"ABS of a character", intr_abs, {S("a")}, res(DT_CHAR, 1)},
  };
  check(refused);
}

TEST_F(IntrinFold, KindOfTheArgumentsType) {
  const IntCase cases[] = {
      {"KIND(1)", intr_kind, {I(1)}, DT_I4, 4},
      {"KIND(0) is not the smallest kind", intr_kind, {I(0)}, DT_I4, 4},
      {"KIND of INTEGER*2", intr_kind, {I(1, DT_I2)}, DT_I4, 2},
      {"KIND of INTEGER*1", intr_kind, {I(1, DT_I1)}, DT_I4, 1},
      {"KIND of INTEGER*8", intr_kind, {I(1, DT_I8)}, DT_I4, 8},
      {"KIND of the default INTEGER code", intr_kind, {I(1, DT_INT)}, DT_I4, 4},
      {"KIND(1_2): the written kind", intr_kind, {with_kind(I(1, DT_I2), 2)}, DT_I4, 2},
      {"KIND(1.0)", intr_kind, {R(1.0)}, DT_I4, 4},
      {"KIND(1.0E30)", intr_kind, {R(1.0e30)}, DT_I4, 4},
      {"KIND(1.0D0)", intr_kind, {R(1.0, DT_DBLE)}, DT_I4, 8},
      {"KIND of REAL*8", intr_kind, {D(1.0)}, DT_I4, 8},
      {"KIND of REAL*16", intr_kind, {R(1.0, DT_R16)}, DT_I4, 16},
      {"KIND of an unknown REAL(KIND=8)", intr_kind, {with_kind(unknown(DT_R8), 8)}, DT_I4, 8},
      {"KIND((1.0,2.0))", intr_kind, {C(1.0, 2.0)}, DT_I4, 4},
      {"KIND of DOUBLE COMPLEX", intr_kind, {C(1.0, 2.0, DT_C16)}, DT_I4, 8},
      {"KIND('a')", intr_kind, {S("a")}, DT_I4, 1},
      {"KIND(.TRUE.)", intr_kind, {I(-1, DT_L4)}, DT_I4, 4},
      {"KIND of LOGICAL*1", intr_kind, {I(-1, DT_L1)}, DT_I4, 1},
  };
  check(cases);
  // Under the Cray kind tables the default INTEGER is kind 6, REAL kind 8
  // and DOUBLE PRECISION kind 16; a unit's default INTEGER is INTEGER*8.
  target(4);
  defdtypes[TC_INTEGER] = DT_I8;
  defdtypes[TC_REAL] = DT_R8;
  defdtypes[TC_DOUBLE] = DT_R16;
  EXPECT_EQ(fold(intr_kind, {I(1, DT_INT)}, res(DT_I4)).value.i, 6);
  EXPECT_EQ(fold(intr_kind, {I(1, DT_I8)}, res(DT_I4)).value.i, 6);
  EXPECT_EQ(fold(intr_kind, {R(1.0, DT_DBLE)}, res(DT_I4)).value.i, 16);
  EXPECT_EQ(fold(intr_kind, {R(1.0, DT_R8)}, res(DT_I4)).value.i, 8);
  // The Sparc target has no INTEGER*8: its kind is not folded.
  target(2);
  defdtypes[TC_INTEGER] = DT_I4;
  defdtypes[TC_REAL] = DT_R4;
  defdtypes[TC_DOUBLE] = DT_R8;
  EXPECT_EQ(fold(intr_kind, {I(1, DT_I8)}, res(DT_I4)).folded, 0);
  EXPECT_EQ(fold(intr_kind, {I(1)}, res(DT_I4)).value.i, 4);
}

TEST_F(IntrinFold, SelectedKindsSearchTheTargetsTables) {
  // OSF1: integer kinds 1 (127), 2 (32767), 4, 8.
  const IntCase ints[] = {
      {"SELECTED_INT_KIND(2)", intr_selected_int_kind, {I(2)}, DT_I4, 1},
      {"SELECTED_INT_KIND(3)", intr_selected_int_kind, {I(3)}, DT_I4, 2},
      {"SELECTED_INT_KIND(4)", intr_selected_int_kind, {I(4)}, DT_I4, 2},
      {"SELECTED_INT_KIND(5)", intr_selected_int_kind, {I(5)}, DT_I4, 4},
      {"SELECTED_INT_KIND(9)", intr_selected_int_kind, {I(9)}, DT_I4, 4},
      {"SELECTED_INT_KIND(10)", intr_selected_int_kind, {I(10)}, DT_I4, 8},
      {"SELECTED_INT_KIND(18)", intr_selected_int_kind, {I(18)}, DT_I4, 8},
      {"SELECTED_INT_KIND(19)", intr_selected_int_kind, {I(19)}, DT_I4, -1},
      {"SELECTED_INT_KIND(-5)", intr_selected_int_kind, {I(-5)}, DT_I4, 1},
      {"SELECTED_INT_KIND(INT32_MAX)", intr_selected_int_kind, {I(INT32_MAX)}, DT_I4, -1},
  };
  for (const IntCase& c : ints) {
    dnkind = 0;
    Fold f = fold(c.fn, c.args, res(c.result));
    ASSERT_EQ(f.folded, 1) << c.what;
    EXPECT_EQ(f.value.i, c.expected) << c.what;
    EXPECT_EQ(dnkind, 3) << c.what;
  }
  // OSF1 real kinds: 4 (range 3.4e38, precision 2**23), 8 (1.8e308,
  // 2**52), 16 (1.8e308, 2**112).
  const IntCase reals[] = {
      {"SELECTED_REAL_KIND(6)", intr_selected_real_kind, {I(6)}, DT_I4, 4},
      {"SELECTED_REAL_KIND(7)", intr_selected_real_kind, {I(7)}, DT_I4, 8},
      {"SELECTED_REAL_KIND(15)", intr_selected_real_kind, {I(15)}, DT_I4, 8},
      {"SELECTED_REAL_KIND(16)", intr_selected_real_kind, {I(16)}, DT_I4, 16},
      {"SELECTED_REAL_KIND(33)", intr_selected_real_kind, {I(33)}, DT_I4, 16},
      {"SELECTED_REAL_KIND(34): no precision", intr_selected_real_kind, {I(34)}, DT_I4, -1},
      {"SELECTED_REAL_KIND(R=38)", intr_selected_real_kind, {absent(), I(38)}, DT_I4, 4},
      {"SELECTED_REAL_KIND(R=39)", intr_selected_real_kind, {absent(), I(39)}, DT_I4, 8},
      {"SELECTED_REAL_KIND(6,39)", intr_selected_real_kind, {I(6), I(39)}, DT_I4, 8},
      {"SELECTED_REAL_KIND(R=400): no range", intr_selected_real_kind, {absent(), I(400)}, DT_I4, -2},
      {"SELECTED_REAL_KIND(6,400)", intr_selected_real_kind, {I(6), I(400)}, DT_I4, -2},
      {"SELECTED_REAL_KIND(34,400): neither", intr_selected_real_kind, {I(34), I(400)}, DT_I4, -3},
      {"SELECTED_REAL_KIND(-3)", intr_selected_real_kind, {I(-3)}, DT_I4, 4},
      {"SELECTED_REAL_KIND(INT32_MAX)", intr_selected_real_kind, {I(INT32_MAX)}, DT_I4, -1},
  };
  for (const IntCase& c : reals) {
    dnkind = 0;
    Fold f = fold(c.fn, c.args, res(c.result));
    ASSERT_EQ(f.folded, 1) << c.what;
    EXPECT_EQ(f.value.i, c.expected) << c.what;
    EXPECT_EQ(dnkind, 4) << c.what;
  }
  // Sparc: integer kinds 1, 2 and 4 are all INTEGER*4.
  target(2);
  EXPECT_EQ(fold(intr_selected_int_kind, {I(9)}, res(DT_I4)).value.i, 1);
  EXPECT_EQ(fold(intr_selected_int_kind, {I(10)}, res(DT_I4)).value.i, -1);

  const RefusedCase refused[] = {
      {"SELECTED_REAL_KIND()", intr_selected_real_kind, {absent(), absent()}, res(DT_I4)},
      {"SELECTED_REAL_KIND(P unknown)", intr_selected_real_kind, {unknown(DT_I4)}, res(DT_I4)},
      {"SELECTED_REAL_KIND(6, R unknown)", intr_selected_real_kind, {I(6), unknown(DT_I4)}, res(DT_I4)},
      {"SELECTED_REAL_KIND(6.0)", intr_selected_real_kind, {R(6.0)}, res(DT_I4)},
      {"SELECTED_INT_KIND(R unknown)", intr_selected_int_kind, {unknown(DT_I4)}, res(DT_I4)},
  };
  for (const RefusedCase& c : refused) {
    dnkind = 0;
    Fold r = fold(c.fn, c.args, c.result);
    EXPECT_EQ(r.folded, 0) << c.what;
    EXPECT_TRUE(r.untouched) << c.what;
    EXPECT_EQ(dnkind, 0) << c.what;
  }
}

TEST_F(IntrinFold, NumericModelInquiries) {
  const IntCase ints[] = {
      {"BIT_SIZE(1)", intr_bit_size, {I(1)}, DT_I4, 32},
      {"BIT_SIZE of INTEGER*2", intr_bit_size, {I(1, DT_I2)}, DT_I4, 16},
      {"BIT_SIZE of INTEGER*1", intr_bit_size, {I(1, DT_I1)}, DT_I4, 8},
      {"BIT_SIZE of INTEGER*8", intr_bit_size, {I(1, DT_I8)}, DT_I4, 64},
      {"BIT_SIZE of an unknown default INTEGER", intr_bit_size, {unknown(DT_INT)}, DT_I4, 32},
      {"DIGITS(1)", intr_digits, {I(1)}, DT_I4, 31},
      {"DIGITS of INTEGER*2", intr_digits, {I(1, DT_I2)}, DT_I4, 15},
      {"DIGITS of the default INTEGER code", intr_digits, {I(1, DT_INT)}, DT_I4, 31},
      {"DIGITS(1.0)", intr_digits, {R(1.0)}, DT_I4, 24},
      {"DIGITS(1.0D0)", intr_digits, {R(1.0, DT_DBLE)}, DT_I4, 53},
      {"DIGITS of REAL*8", intr_digits, {D(1.0)}, DT_I4, 53},
      {"DIGITS of REAL*16", intr_digits, {R(1.0, DT_R16)}, DT_I4, 53},
      {"MAXEXPONENT(1.0)", intr_maxexponent, {R(1.0)}, DT_I4, 128},
      {"MAXEXPONENT of REAL*8", intr_maxexponent, {D(1.0)}, DT_I4, 1024},
      {"MAXEXPONENT of REAL*16", intr_maxexponent, {R(1.0, DT_R16)}, DT_I4, 1023},
      {"MINEXPONENT(1.0)", intr_minexponent, {R(1.0)}, DT_I4, -125},
      {"MINEXPONENT of REAL*8", intr_minexponent, {D(1.0)}, DT_I4, -1021},
      {"MINEXPONENT of REAL*16", intr_minexponent, {R(1.0, DT_R16)}, DT_I4, -1023},
      {"RADIX(1)", intr_radix, {I(1)}, DT_I4, 2},
      {"RADIX of an unknown REAL*8", intr_radix, {unknown(DT_R8)}, DT_I4, 2},
      {"HUGE(1)", intr_huge, {I(1)}, DT_I4, INT32_MAX},
      {"HUGE of INTEGER*2", intr_huge, {I(1, DT_I2)}, DT_I4, 32767},
      {"HUGE of INTEGER*1", intr_huge, {unknown(DT_I1)}, DT_I4, 127},
      {"NUMBER_OF_PROCESSORS()", intr_number_of_processors, {}, DT_I4, 1},
      {"NWORKERS()", intr_nworkers, {}, DT_I4, 1},
      {"PROCESSORS_SHAPE()", intr_processors_shape, {}, DT_I4, 0},
  };
  check(ints);
  const RealCase reals[] = {
      {"EPSILON(1.0)", intr_epsilon, {R(1.0)}, DT_R4, 1.0 / 8388608.0},
      {"EPSILON of REAL*8", intr_epsilon, {D(1.0)}, DT_R8, 1.0 / 4503599627370496.0},
      {"EPSILON of REAL*16", intr_epsilon, {R(1.0, DT_R16)}, DT_R16, 1.0 / 4503599627370496.0},
      {"TINY(1.0)", intr_tiny, {R(1.0)}, DT_R4, std::ldexp(1.0, -126)},
      {"TINY of REAL*8", intr_tiny, {D(1.0)}, DT_R8, std::ldexp(1.0, -1022)},
      {"TINY of REAL*16", intr_tiny, {R(1.0, DT_R16)}, DT_R16, std::ldexp(1.0, -1024)},
      {"HUGE(1.0) on OSF1", intr_huge, {R(1.0)}, DT_R4, 3.40282347e38},
      {"HUGE of REAL*8 on OSF1", intr_huge, {D(1.0)}, DT_R8, 1.797693134862315e308},
  };
  check(reals);
  // HUGE reads the row of the target's table.
  target(2);
  Fold sparc = fold(intr_huge, {R(1.0)}, res(DT_R4));
  ASSERT_EQ(sparc.folded, 1);
  EXPECT_EQ(sparc.value.d, std::ldexp(1.0, 127));
  target(0);

  const RefusedCase refused[] = {
      {"HUGE of INTEGER*8 does not fit 32 bits", intr_huge, {I(1, DT_I8)}, res(DT_I8)},
      {"HUGE of a character", intr_huge, {S("a")}, res(DT_CHAR, 1)},
      {"BIT_SIZE of a real", intr_bit_size, {R(1.0)}, res(DT_I4)},
      {"DIGITS of a complex", intr_digits, {C(1, 0)}, res(DT_I4)},
      {"EPSILON of an integer", intr_epsilon, {I(1)}, res(DT_R4)},
      {"TINY of an integer", intr_tiny, {I(1)}, res(DT_R4)},
      {"MAXEXPONENT of a complex", intr_maxexponent, {C(1, 0)}, res(DT_I4)},
      {"MINEXPONENT of a character", intr_minexponent, {S("a")}, res(DT_I4)},
      {"RADIX of a character", intr_radix, {S("a")}, res(DT_I4)},
      {"ALLOCATED: a run-time status", intr_allocated, {unknown(DT_R4)}, res(DT_L4)},
      {"SECNDS: a run-time clock", intr_secnds, {R(0.0)}, res(DT_R4)},
  };
  check(refused);
}

TEST_F(IntrinFold, SizeReadsConstantBoundsOfAWholeArray) {
  auto array_arg = [](locsym* s, uint32_t form = EK_ARRAY) {
    actarg a = unknown(s->type.code);
    a.sym = s;
    a.form = form;
    a.kind = AC_ARR;
    a.rank = 1;
    return a;
  };
  locsym* a = sym("A", SC_VAR, DT_R4);  // A(10, 0:4)
  dim(a, 1, 10);
  dim(a, 0, 4);
  locsym* e = sym("E", SC_VAR, DT_R4);  // E(5, 1:0)
  dim(e, 1, 5);
  dim(e, 1, 0);
  locsym* n = sym("N", SC_VAR, DT_R4);  // N(3, M): M not constant
  dim(n, 1, 3);
  dim(n, 1, 0, 4);
  locsym* z = sym("Z", SC_VAR, DT_R4);  // Z(2, *)
  dim(z, 1, 2);
  dim(z, 1, 0, 8);
  locsym* p = sym("P", SC_VAR, DT_R4);  // P(:), deferred
  dim(p, 1, 0, 128);
  locsym* s = sym("S", SC_VAR, DT_R4);  // S(1) as a dummy's last dimension
  dim(s, 1, 1, 32);

  const IntCase cases[] = {
      {"SIZE(A)", intr_size, {array_arg(a)}, DT_I4, 50},
      {"SIZE(A,1)", intr_size, {array_arg(a), I(1)}, DT_I4, 10},
      {"SIZE(A,2)", intr_size, {array_arg(a), I(2)}, DT_I4, 5},
      {"SIZE(A) with DIM absent", intr_size, {array_arg(a), absent()}, DT_I4, 50},
      {"SIZE of an array of structures", intr_size, {array_arg(a, EK_STRUCTARRAY)}, DT_I4, 50},
      {"SIZE(E) of an empty dimension", intr_size, {array_arg(e)}, DT_I4, 0},
      {"SIZE(E,2)", intr_size, {array_arg(e), I(2)}, DT_I4, 0},
      {"SIZE(N,1) of its constant dimension", intr_size, {array_arg(n), I(1)}, DT_I4, 3},
      {"SIZE(Z,1) of an assumed-size array", intr_size, {array_arg(z), I(1)}, DT_I4, 2},
      {"SIZEOF of a recorded size", intr_sizeof, {[] {
         actarg x = unknown(DT_R8);
         x.size = 40;
         return x;
       }()}, DT_I4, 40},
  };
  check(cases);
  const RefusedCase refused[] = {
      {"SIZE(A,3) beyond the rank", intr_size, {array_arg(a), I(3)}, res(DT_I4)},
      {"SIZE(A,0)", intr_size, {array_arg(a), I(0)}, res(DT_I4)},
      {"SIZE(A,K) with K unknown", intr_size, {array_arg(a), unknown(DT_I4)}, res(DT_I4)},
      {"SIZE of a section of A", intr_size, {array_arg(a, EK_ARRAY | EK_SECTION)}, res(DT_I4)},
      {"SIZE of an array expression naming A", intr_size, {array_arg(a, EK_ARRAYEXP)}, res(DT_I4)},
      {"SIZE(N) with a bound not constant", intr_size, {array_arg(n)}, res(DT_I4)},
      {"SIZE(N,2)", intr_size, {array_arg(n), I(2)}, res(DT_I4)},
      {"SIZE(Z) of an assumed-size array", intr_size, {array_arg(z)}, res(DT_I4)},
      {"SIZE(P) of a deferred shape", intr_size, {array_arg(p)}, res(DT_I4)},
      {"SIZE(S) of a dummy declared S(1)", intr_size, {array_arg(s)}, res(DT_I4)},
      {"SIZE of a scalar", intr_size, {array_arg(sym("X", SC_VAR, DT_R4))}, res(DT_I4)},
      {"SIZE without a symbol", intr_size, {unknown(DT_R4)}, res(DT_I4)},
      {"SIZEOF of a size not recorded", intr_sizeof, {unknown(DT_R4)}, res(DT_I4)},
  };
  check(refused);
}

// Every function that reads an argument folds nothing when that argument is
// missing from the list, left empty by the keyword rearrangement, or (for a
// value it needs) of unknown value.
TEST_F(IntrinFold, AbsentAndUnknownArgumentsAreNotFolded) {
  struct Row {
    const char* name;
    intrin_fold_fn fn;
    std::vector<actarg> args;  // a list that folds
    dtdesc result;
    bool needs_value;          // the first argument's value is read
  };
  const Row rows[] = {
      {"IAND", intr_and, {I(1), I(2)}, res(DT_I4), true},
      {"IOR", intr_or, {I(1), I(2)}, res(DT_I4), true},
      {"IEOR", intr_xor, {I(1), I(2)}, res(DT_I4), true},
      {"ISHFT", intr_shft, {I(1), I(2)}, res(DT_I4), true},
      {"NOT", intr_not, {I(1)}, res(DT_I4), true},
      {"LEN", intr_len, {S("ab")}, res(DT_I4), false},
      {"ICHAR", intr_ichar, {S("a")}, res(DT_I4), true},
      {"INT", intr_conv, {R(1.5)}, res(DT_I4), true},
      {"CMPLX", intr_cmplx, {R(1.5), R(2.0)}, res(DT_C8), true},
      {"AIMAG", intr_imag, {C(1, 2)}, res(DT_R4), true},
      {"CONJG", intr_conjg, {C(1, 2)}, res(DT_C8), true},
      {"MAX", intr_max, {I(1), I(2)}, res(DT_I4), true},
      {"MIN", intr_min, {I(1), I(2)}, res(DT_I4), true},
      {"LGE", intr_lge, {S("a"), S("b")}, res(DT_L4), true},
      {"LGT", intr_lgt, {S("a"), S("b")}, res(DT_L4), true},
      {"LLE", intr_lle, {S("a"), S("b")}, res(DT_L4), true},
      {"LLT", intr_llt, {S("a"), S("b")}, res(DT_L4), true},
      {"ABS", intr_abs, {I(-1)}, res(DT_I4), true},
      {"DIM", intr_dim, {I(3), I(1)}, res(DT_I4), true},
      {"DPROD", intr_dprod, {R(2), R(3)}, res(DT_R8), true},
      {"AINT", intr_trunc, {R(2.5)}, res(DT_R4), true},
      {"NINT", intr_near, {R(2.5)}, res(DT_I4), true},
      {"MOD", intr_mod, {I(7), I(2)}, res(DT_I4), true},
      {"MODULO", intr_modulo, {I(7), I(2)}, res(DT_I4), true},
      {"KIND", intr_kind, {I(7)}, res(DT_I4), false},
      {"SELECTED_INT_KIND", intr_selected_int_kind, {I(3)}, res(DT_I4), true},
      {"SELECTED_REAL_KIND", intr_selected_real_kind, {I(3)}, res(DT_I4), true},
      {"BIT_SIZE", intr_bit_size, {I(1)}, res(DT_I4), false},
      {"DIGITS", intr_digits, {I(1)}, res(DT_I4), false},
      {"EPSILON", intr_epsilon, {R(1)}, res(DT_R4), false},
      {"HUGE", intr_huge, {I(1)}, res(DT_I4), false},
      {"TINY", intr_tiny, {R(1)}, res(DT_R4), false},
      {"MAXEXPONENT", intr_maxexponent, {R(1)}, res(DT_I4), false},
      {"MINEXPONENT", intr_minexponent, {R(1)}, res(DT_I4), false},
      {"RADIX", intr_radix, {R(1)}, res(DT_I4), false},
      {"SIZEOF", intr_sizeof, {[] {
         actarg x = I(1);
         x.size = 4;
         return x;
       }()}, res(DT_I4), false},
  };
  for (const Row& r : rows) {
    ASSERT_EQ(fold(r.fn, r.args, r.result).folded, 1) << r.name;
    Fold none = fold(r.fn, {}, r.result);
    EXPECT_EQ(none.folded, 0) << r.name << " without arguments";
    EXPECT_TRUE(none.untouched) << r.name;
    std::vector<actarg> args = r.args;
    args[0] = absent();
    Fold empty = fold(r.fn, args, r.result);
    if (r.fn != intr_max && r.fn != intr_min) {
      EXPECT_EQ(empty.folded, 0) << r.name << " with the first position empty";
      EXPECT_TRUE(empty.untouched) << r.name;
    }
    args = r.args;
    args[0].valok = 0;
    Fold unknown_value = fold(r.fn, args, r.result);
    EXPECT_EQ(unknown_value.folded, r.needs_value ? 0 : 1) << r.name << " of an unknown value";
    if (r.needs_value) {
      EXPECT_TRUE(unknown_value.untouched) << r.name;
    }
    if (r.args.size() > 1) {
      args = r.args;
      args[1].valok = 0;
      EXPECT_EQ(fold(r.fn, args, r.result).folded, 0) << r.name << " of an unknown second value";
    }
    // A result type without a value (a structure) takes no value.
    EXPECT_EQ(fold(r.fn, r.args, res(DT_TYPE)).folded, 0) << r.name << " to a structure";
  }
  // MAX and MIN skip an empty position but need a value somewhere.
  EXPECT_EQ(fold(intr_max, {absent(), I(4)}, res(DT_I4)).value.i, 4);
  EXPECT_EQ(fold(intr_min, {absent(), absent()}, res(DT_I4)).folded, 0);
}

TEST(IntrinFoldPowers, TenToAPowerByRepeatedMultiplication) {
  EXPECT_EQ(myexp10(0), 1.0);
  EXPECT_EQ(myexp10(1), 10.0);
  EXPECT_EQ(myexp10(6), 1.0e6);
  EXPECT_EQ(myexp10(22), 1.0e22);
  EXPECT_EQ(myexp10(-1), 0.0);
  EXPECT_EQ(myexp10(INT32_MIN), 0.0);
  EXPECT_TRUE(std::isinf(myexp10(400)));
  EXPECT_TRUE(std::isinf(myexp10(INT32_MAX)));  // stops once infinite
}

}  // namespace
