// What the program-unit statements and declarations record for the checks
// that come later: the dummy list with its dummy marks, the function
// result, the prefix attributes, the type of a typed FUNCTION and the value
// of a named constant; and that a construct-stack overflow gives up one
// statement only.
#include <cstring>
#include <string>

#include "checker/common/dtype.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/unitstmt.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using UnitStatements = ReaderTest;

namespace {

void parse_unit() {
  prgbeg();
  parse();
}

locsym* symbol(const char* name) {
  return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, 0);
}

}  // namespace

TEST_F(UnitStatements, DummiesAreChainedInOrderWithTheirMark) {
  open_source("subroutine s(a, *, b)\nreal a, b\nend subroutine s\n", ".f90");
  parse_unit();
  ASSERT_NE(prgnam, nullptr);
  const DummyNode* d = static_cast<const DummyNode*>(prgnam->list);
  const char* want[] = {"A", nullptr, "B"};
  for (const char* w : want) {
    ASSERT_NE(d, nullptr);
    if (w == nullptr) {
      EXPECT_EQ(d->sym, nullptr);  // the alternate return
    } else {
      ASSERT_NE(d->sym, nullptr);
      EXPECT_STREQ(d->sym->name, w);
      EXPECT_NE(d->sym->usage & QB_DUM, 0u) << w;
    }
    d = d->next;
  }
  EXPECT_EQ(d, nullptr);
  locsym* s = symbol("S");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->usage & QB_DUM, 0u);
}

TEST_F(UnitStatements, ResultPrefixAndIntentAreRecorded) {
  open_source(
      "pure recursive function f(x) result(r)\n"
      "real, intent(in) :: x\n"
      "real r\n"
      "r = x\n"
      "end function f\n",
      ".f90");
  parse_unit();
  ASSERT_NE(prgnam, nullptr);
  EXPECT_NE(prgnam->attrib & ATTR_PURE_PROC, 0u);
  EXPECT_EQ(prgnam->attrib & ATTR_ELEMENTAL_PROC, 0u);
  locsym* r = symbol("R");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(prgnam->locdata, r);
  EXPECT_EQ(r->squal, SQ_FUNCVAR);
  locsym* x = symbol("X");
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->attrib & 0x60u, 0x20u);  // INTENT(IN) only
  for (int32_t n : {22, 805, 632, 748}) EXPECT_EQ(count(n), 0) << n;
  // The prefix is used up by the statement it prefixed.
  EXPECT_EQ(procprefix.bits, 0u);
  EXPECT_EQ(procprefix.typed, 0);
}

TEST_F(UnitStatements, TypedFunctionTakesThePrefixType) {
  struct Case {
    const char* src;
    int32_t tclass;   // type class of the function
    int32_t length;   // character length, or -1 when not character
  } cases[] = {
      {"integer function f(n)\ninteger n\nf = n\nend\n", TC_INTEGER, -1},
      {"character function f*7()\nf = 'abcdefg'\nend\n", TC_CHARACTER, 7},
      {"double precision recursive function f(x)\nreal x\nend\n", TC_DOUBLE, -1},
  };
  for (const Case& c : cases) {
    SetUp();
    open_source(c.src, ".f90");
    parse_unit();
    ASSERT_NE(prgnam, nullptr) << c.src;
    // While its body is read the function's name is its result variable.
    EXPECT_EQ(prgnam->sclass, SC_VAR) << c.src;
    EXPECT_EQ(prgnam->squal, SQ_FUNCVAR) << c.src;
    // The type a declaration with the keyword alone gives.
    dtdesc want{};
    ASSERT_NE(figtyp(&want, c.tclass, c.length >= 0 ? c.length : -4, 0), 0) << c.src;
    EXPECT_EQ(prgnam->type.code, want.code) << c.src;
    EXPECT_EQ(prgnam->props & CP_TYPIMP, 0) << c.src;
    if (c.length >= 0) {
      EXPECT_EQ(PGetQCharsize(&prgnam->type), c.length) << c.src;
    }
    for (int32_t n : {20, 22, 285, 288}) EXPECT_EQ(count(n), 0) << c.src << " " << n;
    srcend();
  }
}

TEST_F(UnitStatements, ParameterDeclarationMakesANamedConstant) {
  open_source("program p\ninteger, parameter :: dp = 8, n = dp + 1\nreal(kind=dp) :: x(n)\nend\n",
              ".f90");
  parse_unit();
  for (const char* name : {"DP", "N"}) {
    locsym* s = symbol(name);
    ASSERT_NE(s, nullptr) << name;
    EXPECT_EQ(s->sclass, SC_PAR) << name;
    ASSERT_NE(s->list, nullptr) << name;
  }
  EXPECT_EQ(static_cast<conval*>(symbol("DP")->list)->i, 8);
  EXPECT_EQ(static_cast<conval*>(symbol("N")->list)->i, 9);
  for (int32_t n : {180, 284, 13}) EXPECT_EQ(count(n), 0) << n;
}

TEST_F(UnitStatements, OverflowGivesUpOneStatementOnly) {
  // The 500th DO overflows the construct stack; the END DO after it closes
  // the 499th, so END finds 498 loops open.
  std::string src = "program p\n";
  for (int i = 0; i < 500; ++i) src += "do\n";
  src += "end do\nend program p\n";
  open_source(src, ".f90");
  parse_unit();
  EXPECT_EQ(nest.usdnestcod, 499);
  EXPECT_EQ(count(49), 498);
  EXPECT_EQ(count(114), 0);
}
