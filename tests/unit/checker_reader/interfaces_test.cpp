// Interface blocks as the later checks see them: the operator-name table,
// the records and signatures that a block leaves, and the choice of the
// specific procedure of a generic reference, whose messages (834, 696)
// come only in a run with global checks.
#include <cstring>
#include <string>
#include <vector>

#include "checker/reader/dispatch.h"
#include "checker/semantics/arglist.h"
#include "checker/semantics/interfaces.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using Interfaces = ReaderTest;

namespace {

void parse_unit() {
  prgbeg();
  parse();
}

locsym* symbol(const char* name) {
  return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, 0);
}

// An actual argument of that type code and rank.
actarg actual(uint8_t code, int32_t rank = 0) {
  actarg a{};
  a.type.code = code;
  a.type.tag = 'p';
  a.rank = rank;
  a.kind = rank > 0 ? AC_ARR : AC_SCA;
  a.present = 1;
  return a;
}

// A generic with two specifics that differ in the kind of their REAL
// argument, and one with a second, optional argument.
const char* const two_specifics =
    "program p\n"
    "interface g\n"
    "  subroutine s4(x)\n"
    "    real x\n"
    "  end subroutine s4\n"
    "  subroutine s8(x, n)\n"
    "    double precision x\n"
    "    integer, optional :: n\n"
    "  end subroutine s8\n"
    "end interface\n"
    "end program p\n";

}  // namespace

TEST_F(Interfaces, OperatorNamesRoundTrip) {
  // Every named row gives its code back; other names are code 1.
  for (int32_t code = 2; code <= 28; ++code) {
    std::string name = intf_getopname(code);
    ASSERT_EQ(name.compare(0, 9, "OPERATOR_"), 0) << code;
    EXPECT_EQ(intf_getopcode(name.c_str() + 9), code) << name;
  }
  for (int32_t code : {0, 1, OP_DEFINED}) EXPECT_EQ(intf_getopname(code), "") << code;
  EXPECT_EQ(intf_getopcode("CROSS"), 1);
  EXPECT_EQ(intf_getopname(12), "OPERATOR_EQ");
  EXPECT_EQ(intf_opnd_count(16), 1);   // .NOT.
  EXPECT_EQ(intf_opnd_count(22), 1);   // .N.
  EXPECT_EQ(intf_opnd_count(2), 2);
  EXPECT_EQ(intf_opnd_count(OP_DEFINED), 0);
}

TEST_F(Interfaces, DefaultResultTypesOfOperators) {
  EXPECT_EQ(intf_get_defdtyp(9).code, DT_CHAR);        // "//"
  EXPECT_EQ(getdtname(intf_get_defdtyp(12).code), TC_LOGICAL);
  EXPECT_EQ(getdtname(intf_get_defdtyp(17).code), TC_LOGICAL);
  EXPECT_EQ(intf_get_defdtyp(2).code, 0);              // "+": none
  EXPECT_EQ(intf_get_defdtyp(OP_DEFINED).code, 0);
}

TEST_F(Interfaces, EqualsSpellingsShareOneInterface) {
  open_source(
      "program p\n"
      "interface operator(.eq.)\n"
      "  logical function e1(a, b)\n"
      "    character, intent(in) :: a, b\n"
      "  end function e1\n"
      "end interface\n"
      "interface operator(==)\n"
      "  logical function e2(a, b)\n"
      "    complex, intent(in) :: a, b\n"
      "  end function e2\n"
      "end interface\n"
      "end program p\n",
      ".f90");
  parse_unit();
  locsym* g = symbol("OPERATOR_EQ");
  ASSERT_NE(g, nullptr);
  EXPECT_NE(g->attrib & ATTR_GENERIC, 0u);
  IntfRec* rec = intf_get_interface(g, 12);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->kind, IK_OPERATOR);
  ASSERT_NE(intf_get_proc(rec, 1), nullptr);
  EXPECT_STREQ(intf_get_proc(rec, 0)->name, "E1");
  EXPECT_STREQ(intf_get_proc(rec, 1)->name, "E2");
  EXPECT_EQ(intf_get_proc(rec, 2), nullptr);
  // Each function left its signature: two operands and a result.
  ASSERT_NE(rec->usrop, nullptr);
  const OpSignature* s = rec->usrop->first;
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->opd[0].type.code, DT_CHAR);
  EXPECT_EQ(s->opd[1].type.code, DT_CHAR);
  EXPECT_EQ(getdtname(s->opd[2].type.code), TC_LOGICAL);
  ASSERT_NE(s->next, nullptr);
  EXPECT_EQ(getdtname(s->next->opd[0].type.code), TC_COMPLEX);
  EXPECT_EQ(s->next->next, nullptr);
  for (int32_t n : {796, 691, 687}) EXPECT_EQ(count(n), 0) << n;
}

TEST_F(Interfaces, ResolutionKeepsTheExactKind) {
  ropt.gloopt = 1;
  open_source(two_specifics, ".f90");
  parse_unit();
  locsym* g = symbol("G");
  ASSERT_NE(g, nullptr);
  struct Actual {
    const char* keyword;
    uint8_t code;
  };
  struct Case {
    std::vector<Actual> actuals;
    const char* chosen;
  };
  const Case cases[] = {
      {{{nullptr, DT_R8}}, "S8"},               // the REAL specific is dropped
      {{{nullptr, DT_R4}}, "S4"},               // and here the DOUBLE one
      {{{nullptr, DT_R8}, {"N", DT_I4}}, "S8"}, // a keyword of S8 only
  };
  for (const Case& c : cases) {
    ASSERT_EQ(intf_initovload(g), 2);
    EXPECT_EQ(intf_get_maxargs(), 2);
    int32_t pos = 0;
    for (const Actual& a : c.actuals) {
      actarg x = actual(a.code);
      intf_argmatch(pos, a.keyword, &x);
      EXPECT_EQ(intf_chkNomatch(pos), 0) << c.chosen << " " << pos;
      ++pos;
    }
    intf_matchargnum(pos);
    ASSERT_NE(intf_chosen_proc(), nullptr) << c.chosen;
    EXPECT_STREQ(intf_chosen_proc()->name, c.chosen);
    intf_chkAmbiguous(g);
  }
  EXPECT_EQ(count(834), 0);
  EXPECT_EQ(count(696), 0);
}

TEST_F(Interfaces, NoMatchGivesMessage834WithGlobalChecks) {
  struct Case {
    int32_t gloopt;   // the global-check option
    int32_t result;   // intf_chkNomatch
    int32_t msgs;     // 834 raised
  };
  const Case cases[] = {{1, -1, 1}, {0, 0, 0}};
  for (const Case& c : cases) {
    SetUp();
    ropt.gloopt = c.gloopt;
    open_source(two_specifics, ".f90");
    parse_unit();
    locsym* g = symbol("G");
    ASSERT_EQ(intf_initovload(g), 2);
    // A character actual fits neither specific.
    actarg ch = actual(DT_CHAR);
    intf_argmatch(0, nullptr, &ch);
    EXPECT_EQ(intf_chkNomatch(0), c.result) << c.gloopt;
    EXPECT_EQ(count(834), c.msgs) << c.gloopt;
    TearDown();
  }
}

TEST_F(Interfaces, TooManyArgumentsMatchNothing) {
  ropt.gloopt = 1;
  open_source(two_specifics, ".f90");
  parse_unit();
  locsym* g = symbol("G");
  ASSERT_EQ(intf_initovload(g), 2);
  actarg x = actual(DT_R8);
  intf_argmatch(0, nullptr, &x);
  EXPECT_EQ(intf_chkNomatch(0), 0);
  intf_argmatch(1, nullptr, &x);
  intf_argmatch(2, nullptr, &x);
  EXPECT_EQ(intf_chkNomatch(2), -1);
  EXPECT_EQ(count(834), 1);
}

TEST_F(Interfaces, TwoEqualSpecificsAreAmbiguousWithGlobalChecks) {
  const char* src =
      "program p\n"
      "interface g\n"
      "  subroutine a(x)\n"
      "    real x\n"
      "  end subroutine a\n"
      "  subroutine b(y)\n"
      "    real y\n"
      "  end subroutine b\n"
      "end interface\n"
      "end program p\n";
  for (int32_t gloopt : {1, 0}) {
    SetUp();
    ropt.gloopt = gloopt;
    open_source(src, ".f90");
    parse_unit();
    locsym* g = symbol("G");
    ASSERT_EQ(intf_initovload(g), 2);
    actarg r = actual(DT_R4);
    intf_argmatch(0, nullptr, &r);
    intf_chkNomatch(0);
    intf_matchargnum(1);
    intf_chkAmbiguous(g);
    EXPECT_EQ(count(696), gloopt) << gloopt;
    TearDown();
  }
}

TEST_F(Interfaces, CallWithoutArgumentsTakesTheSpecificWithoutDummies) {
  ropt.gloopt = 1;
  open_source(
      "program p\n"
      "interface get\n"
      "  integer function get1(i)\n"
      "    integer, intent(in) :: i\n"
      "  end function get1\n"
      "  integer function get0()\n"
      "  end function get0\n"
      "end interface\n"
      "end program p\n",
      ".f90");
  parse_unit();
  locsym* g = symbol("GET");
  ASSERT_EQ(intf_initovload(g), 2);
  intf_matchargnum(0);
  ASSERT_NE(intf_chosen_proc(), nullptr);
  EXPECT_STREQ(intf_chosen_proc()->name, "GET0");
  EXPECT_EQ(count(258), 0);  // no dummies is fine for a generic name
}

TEST_F(Interfaces, NestedReferenceHasItsOwnResolution) {
  ropt.gloopt = 1;
  open_source(two_specifics, ".f90");
  parse_unit();
  locsym* g = symbol("G");
  ASSERT_EQ(intf_initovload(g), 2);
  actarg x8 = actual(DT_R8);
  actarg x4 = actual(DT_R4);
  // The outer reference's argument holds a reference of its own.
  ASSERT_EQ(intf_initovload(g), 2);
  intf_argmatch(0, nullptr, &x4);
  intf_matchargnum(1);
  ASSERT_NE(intf_chosen_proc(), nullptr);
  EXPECT_STREQ(intf_chosen_proc()->name, "S4");
  intf_argmatch(0, nullptr, &x8);
  EXPECT_EQ(intf_chkNomatch(0), 0);
  intf_matchargnum(1);
  ASSERT_NE(intf_chosen_proc(), nullptr);
  EXPECT_STREQ(intf_chosen_proc()->name, "S8");
}

TEST_F(Interfaces, ModuleProcedureLearnsItsDummiesAtItsEnd) {
  ropt.gloopt = 1;
  open_source(
      "module m\n"
      "interface g\n"
      "  module procedure gi, gr\n"
      "end interface\n"
      "contains\n"
      "  subroutine gi(i)\n"
      "    integer, intent(in) :: i\n"
      "  end subroutine gi\n"
      "  subroutine gr(r)\n"
      "    real, intent(in) :: r\n"
      "  end subroutine gr\n"
      "end module m\n",
      ".f90");
  // The module up to CONTAINS, then each contained procedure as a unit of
  // its own, as the analysis reads them.
  parse_unit();
  for (int32_t i = 0; i < 2; ++i) {
    parse_unit();
    prgend();
    decrease_scoping_level();
  }
  locsym* g = symbol("G");
  ASSERT_NE(g, nullptr);
  IntfRec* rec = intf_get_interface(g, 0);
  ASSERT_NE(rec, nullptr);
  ASSERT_NE(rec->first, nullptr);
  ASSERT_NE(rec->first->next, nullptr);
  EXPECT_NE(rec->first->def, nullptr);
  EXPECT_NE(rec->first->next->def, nullptr);
  EXPECT_EQ(rec->first->sym->sclass, SC_SUB);
  // A REAL actual chooses GR.
  ASSERT_EQ(intf_initovload(g), 2);
  actarg r = actual(DT_R4);
  intf_argmatch(0, nullptr, &r);
  EXPECT_EQ(intf_chkNomatch(0), 0);
  intf_matchargnum(1);
  ASSERT_NE(intf_chosen_proc(), nullptr);
  EXPECT_STREQ(intf_chosen_proc()->name, "GR");
  for (int32_t n : {680, 689, 834}) EXPECT_EQ(count(n), 0) << n;
}

// A generic that bears an intrinsic's name enters the unit's list of
// overloaded intrinsics. A REAL actual fits the intrinsic SIN (same type)
// better than the INTEGER specific ISIN (neither type class nor store
// class): the intrinsic takes the reference, and no 834 is given for the
// specific. An INTEGER actual matches ISIN completely and stays with it.
TEST_F(Interfaces, AnIntrinsicOfTheGenericsNameTakesWhatItFitsBetter) {
  ropt.gloopt = 1;
  ropt.compiler = 8;  // a dialect that offers the intrinsics
  open_source(
      "program p\n"
      "interface sin\n"
      "  integer function isin(i)\n"
      "    integer i\n"
      "  end function isin\n"
      "end interface\n"
      "end program p\n"
      "y = sin(r)\n"
      "y = sin(k)\n",
      ".f90");
  parse_unit();
  locsym* g = symbol("SIN");
  ASSERT_NE(g, nullptr);
  locsym* copy = getsym_ov_intrin_if_overloaded(g);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, g);
  EXPECT_EQ(copy->squal, SQ_INTRINSIC);
  EXPECT_EQ(getsym_ov_intrin_if_overloaded(symbol("ISIN")), nullptr);
  symrec rec;
  symrec_clear(rec);
  symrec_setname(rec, "SIN");
  rec.sc = SC_FUNC;
  rec.attrs = ATTR_GENERIC;
  struct Case {
    bool to_intrinsic;
  };
  for (const Case c : {Case{true}, Case{false}}) {
    ASSERT_NE(nextstat(), -1);
    tk.stacol = rsrc.statbeg + 2;  // after "Y="
    getokn();                       // SIN
    locsym* out = nullptr;
    EXPECT_EQ(arglist_with_record(g, 0, &out, &rec), 1);
    EXPECT_EQ(out, c.to_intrinsic ? copy : nullptr);
    EXPECT_EQ(count(834), 0);
  }
}

// A module procedure's end-of-unit work gives a function the type of its
// RESULT variable, and only then do the module's interfaces learn its
// class and type: the MODULE PROCEDURE name becomes a COMPLEX function
// (not one of the implicit REAL type of its name), and the operator's
// signature has its two operands and its result.
TEST_F(Interfaces, ModuleProcedureNameTakesTheTypeOfTheResultVariable) {
  open_source(
      "module m\n"
      "interface operator(.plus.)\n"
      "  module procedure addc\n"
      "end interface\n"
      "contains\n"
      "  function addc(a, n) result(r)\n"
      "    complex, intent(in) :: a\n"
      "    intent(in) :: n\n"
      "    complex :: r\n"
      "    r = a + n\n"
      "  end function addc\n"
      "end module m\n",
      ".f90");
  parse_unit();
  parse_unit();
  prgend();
  decrease_scoping_level();
  const IntfRec* rec = intfs.level[1].head;
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->kind, IK_OPERATOR);
  EXPECT_EQ(rec->opcode, OP_DEFINED);
  ASSERT_NE(rec->first, nullptr);
  const locsym* listed = rec->first->sym;
  EXPECT_STREQ(listed->name, "ADDC");
  EXPECT_EQ(listed->sclass, SC_FUNC);
  EXPECT_EQ(getdtname(listed->type.code), TC_COMPLEX);
  ASSERT_NE(rec->usrop, nullptr);
  const OpSignature* s = rec->usrop->first;
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(getdtname(s->opd[0].type.code), TC_COMPLEX);   // A
  EXPECT_EQ(getdtname(s->opd[1].type.code), TC_INTEGER);   // N, typed implicitly
  EXPECT_EQ(getdtname(s->opd[2].type.code), TC_COMPLEX);   // the result R
  EXPECT_EQ(s->next, nullptr);
}
