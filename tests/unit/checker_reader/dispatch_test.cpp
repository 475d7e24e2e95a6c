// Statement dispatch over whole program units: classification of
// assignments and keyword statements, one-line IF statements, labels.
#include "checker/reader/dispatch.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using Dispatch = ReaderTest;

// Reads the first program unit of the text.
static void parse_unit() {
  prgbeg();
  parse();
}

TEST_F(Dispatch, ParameterWithoutParenthesesByDialect) {
  struct Case {
    uint32_t compiler;
    int32_t parmod;  // 5: PARAMETER statement, 8: assignment
  } cases[] = {{0x8, 5}, {0x80, 8}};
  for (const Case& c : cases) {
    locsym_reset();
    ropt = ReaderOptions{};
    ropt.compiler = c.compiler;
    open_source("      PARAMETER X = 1\n      END\n", ".f");
    parse_unit();
    // The class of the first statement recorded its line.
    EXPECT_EQ(unit.pabort[c.parmod], 1) << c.compiler;
  }
}

TEST_F(Dispatch, ParameterWithAnUnderscoreIsAnAssignment) {
  for (uint32_t compiler : {0x8u, 0x80u}) {
    locsym_reset();
    ropt = ReaderOptions{};
    ropt.compiler = compiler;
    open_source("      PARAMETER_X = 1\n      END\n", ".f");
    parse_unit();
    EXPECT_EQ(unit.pabort[8], 1) << compiler;
    EXPECT_EQ(unit.pabort[5], 0) << compiler;
  }
}

TEST_F(Dispatch, OneLineIfRunsItsActionAndCloses) {
  open_source("      IF (X) CALL Y\n      END\n", ".f");
  parse_unit();
  EXPECT_EQ(nest.nestdep, 0);
  EXPECT_EQ(unit.parmod, 10);
  EXPECT_EQ(count(28), 0);
}

TEST_F(Dispatch, UnknownStatementIsMessage28AndEndOfFileIs117) {
  open_source("program p\nfoo bar\n", ".f90");
  parse_unit();
  EXPECT_EQ(count(28), 1);
  EXPECT_EQ(count(117), 1);
  EXPECT_EQ(an.eofile, 1);
}

TEST_F(Dispatch, LabelsAreRegisteredByStatementKind) {
  open_source("10 format(a)\n20\n30 if (x) then\n40 end if\nend\n", ".f90");
  parse_unit();
  int32_t flags[5] = {};
  for (LabelRec* l = labhead; l != nullptr; l = l->next) flags[l->value / 10] = l->flags;
  EXPECT_EQ(flags[1], 32);
  EXPECT_EQ(flags[2], 2);
  EXPECT_EQ(flags[3], 2);
  EXPECT_EQ(flags[4], 2);
  EXPECT_EQ(count(101), 0);
}

TEST_F(Dispatch, ContainedProcedureKeepsTheHostOpen) {
  open_source("program p\ncontains\nsubroutine s\nend subroutine s\nend program p\n", ".f90");
  prgbeg();
  parse();
  EXPECT_EQ(stopped_at_contains, 1);
  ASSERT_NE(prgnam, nullptr);
  EXPECT_STREQ(prgnam->name, "P");
  stopped_at_contains = 0;
  prgbeg();
  parse();
  EXPECT_STREQ(prgnam->name, "S");
  EXPECT_EQ(Status.scope_level, 2);
  EXPECT_EQ(unit.parmod, 10);
  decrease_scoping_level();
  prgbeg();
  parse();
  EXPECT_STREQ(prgnam->name, "P");
  EXPECT_EQ(unit.parmod, 9);
  EXPECT_EQ(Status.nesting, 0);
  EXPECT_EQ(count(66), 0);
}

TEST_F(Dispatch, SkippedStatementsReportNothingOnTheirNames) {
  open_source("      IMPLICIT DOUBLE PRECISION (A-H)\n      END\n", ".f");
  parse_unit();
  EXPECT_EQ(count(19), 0);
  EXPECT_EQ(unit.parmod, 10);
}
