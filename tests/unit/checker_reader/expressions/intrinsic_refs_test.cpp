// References to intrinsic procedures in whole program units: the messages
// of the argument lists, the specific chosen by the first argument, the
// result types, and the INTRINSIC statement. Each message case has a valid
// neighbour that must give no message at all.
#include <cstring>

#include "checker/base/cmmdline.h"
#include "checker/reader/dispatch.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/intrinsics.h"
#include "tests/unit/checker_reader/reader_fixture.h"

namespace {

class IntrinsicRefs : public ReaderTest {
 protected:
  void SetUp() override {
    ReaderTest::SetUp();
    ropt.compiler = 8;
  }
  void run(const std::string& body) {
    open_source("program p\nimplicit none\n" + body + "end\n", ".f90");
    prgbeg();
    parse();
  }
  static locsym* symbol(const char* name) {
    return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, 0);
  }
  static int32_t total() {
    int32_t n = 0;
    for (int32_t i = 1; i <= maxerrmsg; ++i) n += ecat.errcnt[i];
    return n;
  }
};

struct MessageCase {
  const char* body;  // declarations and statements of the main program
  int32_t msg;       // the one message expected, 0 for none
};

class IntrinsicMessages : public IntrinsicRefs, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(IntrinsicMessages, GivesExactlyTheMessage) {
  const MessageCase& c = GetParam();
  run(c.body);
  if (c.msg == 0) {
    EXPECT_EQ(total(), 0) << c.body;
  } else {
    EXPECT_EQ(count(c.msg), 1) << c.body;
    EXPECT_EQ(total(), 1) << c.body;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntrinsicMessages,
    ::testing::Values(
        MessageCase{"real x\nx = sqrt(4)\n", 292}, MessageCase{"real x\nx = sqrt(4.0)\n", 0},
        MessageCase{"integer i\ni = mod(7)\n", 198}, MessageCase{"integer i\ni = mod(7, 2)\n", 0},
        MessageCase{"integer i\ni = mod(7, 2, 3)\n", 198},
        MessageCase{"integer i\ni = mod(a=7, q=2)\n", 718},
        MessageCase{"integer i\ni = mod(p=2, a=7)\n", 0},
        MessageCase{"integer i\ni = mod(a=7, a=2)\n", 716},
        MessageCase{"integer i\ni = mod(a=7, 2)\n", 705},
        MessageCase{"real x\nx = 1.0\ncall sqrt(x)\n", 140},
        MessageCase{"real x\nx = 1.0\nx = sqrt(x)\n", 0},
        MessageCase{"real x\ncall random_number(x)\n", 0},
        MessageCase{"real x\nx = random_number(x)\n", 95},
        MessageCase{"integer i\ni = mod(7, 2.0)\n", 293},
        MessageCase{"real x\nx = sign(1.0, 2.0d0)\n", 737},
        MessageCase{"real x\nx = max(1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0)\n", 0},
        MessageCase{"real x\nx = max(1.0)\n", 198},
        MessageCase{"integer i\ni = size(3)\n", 738},
        MessageCase{"integer i, a(3)\ni = size(a)\n", 0},
        MessageCase{"integer i\ni = 1\ncall mvbits(i, -1, 2, i, 0)\n", 638},
        MessageCase{"integer i\ni = 1\ncall mvbits(i, 1, 2, i, 0)\n", 0},
        MessageCase{"character*6 d\ncall date_and_time(date=d)\n", 726},
        MessageCase{"character*8 d\ncall date_and_time(date=d)\n", 0},
        MessageCase{"integer v(5)\ncall date_and_time(values=v)\n", 727},
        MessageCase{"integer v(8)\ncall date_and_time(values=v)\n", 0},
        MessageCase{"integer i\nlogical l\nl = present(i)\n", 704},
        MessageCase{"integer, pointer :: q\nlogical l\nl = associated(q)\n", 0},
        MessageCase{"integer q\nlogical l\nl = associated(q)\n", 666},
        MessageCase{"intrinsic foo\n", 158}, MessageCase{"intrinsic sqrt, mod\n", 0},
        MessageCase{"intrinsic 5\n", 22},
        MessageCase{"real x\nx = abs('abc')\n", 292},
        MessageCase{"integer, parameter :: n = 2\nreal, parameter :: pi = 4.0 * atan(1.0)\n"
                    "real a(n + int(atan(1.0)))\n",
                    0}),
    // Named by position and the message expected (m0: none).
    [](const ::testing::TestParamInfo<MessageCase>& info) {
      return "c" + std::to_string(info.index) + "_m" + std::to_string(info.param.msg);
    });

TEST_F(IntrinsicRefs, AbsOfDoublePrecisionSelectsTheDoubleSpecific) {
  run("double precision d\nd = 1\nd = abs(d)\n");
  locsym* s = symbol("ABS");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->squal, SQ_INTRINSIC);
  EXPECT_EQ(getdtname(s->type.code), TC_REAL);
  EXPECT_EQ(getdtsize(s->type.code == 22 ? 6 : s->type.code), 8);
  EXPECT_EQ(total(), 0);
}

TEST_F(IntrinsicRefs, DotProductOfComplexVectorsIsComplex) {
  run("complex a(3), b(3), c\na = 0\nb = 0\nc = dot_product(a, b)\n");
  locsym* s = symbol("DOT_PRODUCT");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(getdtname(s->type.code), TC_COMPLEX);
  EXPECT_EQ(total(), 0);
}

TEST_F(IntrinsicRefs, IntWithAConstantKindHasTheTypeOfThatKind) {
  struct OsfKinds {
    OsfKinds() { Sizemode = 8, kinds_reset(); }
    ~OsfKinds() { Sizemode = 0, kinds_reset(); }
  } osf;  // the OSF/1 kind tables (kind 2 is INTEGER*2) for this test only
  run("integer*2 j\nj = int(2.5, kind=2)\n");
  locsym* s = symbol("INT");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->type.code, 3);
}

TEST_F(IntrinsicRefs, IntrinsicStatementClassesTheName) {
  run("intrinsic sqrt, random_number\n");
  locsym* f = symbol("SQRT");
  locsym* r = symbol("RANDOM_NUMBER");
  ASSERT_NE(f, nullptr);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(f->squal, SQ_INTRINSIC);
  EXPECT_EQ(f->sclass, SC_FUNC);
  EXPECT_EQ(r->sclass, SC_SUB);
  EXPECT_NE(f->attrib & 0x100u, 0u);
}

TEST_F(IntrinsicRefs, DeclaredNamesAreNoIntrinsics) {
  // An array, an EXTERNAL name and a statement function keep their meaning.
  run("real sqrt(3), y\nexternal mod\ninteger mod\nreal abs, x\nabs(x) = x + 1\n"
      "y = sqrt(1)\ny = mod(1, 2, 3)\ny = abs(2.0)\n");
  EXPECT_EQ(count(292) + count(198) + count(140), 0);
  EXPECT_NE(symbol("MOD")->squal, SQ_INTRINSIC);
  EXPECT_NE(symbol("SQRT")->squal, SQ_INTRINSIC);
}

}  // namespace
