// Executable statements over whole program units: what GO TO, ASSIGN, CALL,
// the block constructs and the dynamic storage statements leave in the
// local table, the labels and the construct stack.
#include <cstring>

#include "checker/reader/dispatch.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using ExecStatements = ReaderTest;

namespace {

void parse_unit() {
  prgbeg();
  parse();
}

const LabelRec* label_rec(int32_t value) {
  for (const LabelRec* l = labhead; l != nullptr; l = l->next) {
    if (l->value == value) return l;
  }
  return nullptr;
}

locsym* symbol(const char* name) {
  return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, 0);
}

}  // namespace

TEST_F(ExecStatements, CallMakesASubroutineMarkedCalled) {
  open_source("program p\ncall s(1, (2))\nend\n", ".f90");
  parse_unit();
  locsym* s = symbol("S");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->sclass, SC_SUB);
  EXPECT_NE(s->usage & QB_CALLED, 0u);
  EXPECT_EQ(count(20), 0);
  EXPECT_EQ(count(7), 0);
}

TEST_F(ExecStatements, AssignAndGoToRecordTheirLabels) {
  open_source("program p\ninteger k\n10 assign 20 to k\ngo to k\n20 go to 10\nend\n", ".f90");
  parse_unit();
  ASSERT_NE(label_rec(20), nullptr);
  EXPECT_NE(label_rec(20)->flags & 4, 0);  // assigned
  ASSERT_NE(label_rec(10), nullptr);
  EXPECT_NE(label_rec(10)->flags & 1, 0);  // branched to
  locsym* k = symbol("K");
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->sclass, SC_VAR);
  EXPECT_NE(k->usage & QB_LABASSIGN, 0u);  // a label ASSIGNed to it
  EXPECT_NE(k->usage & QB_LABUSE, 0u);     // used as the target of GO TO
  EXPECT_EQ(count(84) + count(187) + count(26), 0);
}

TEST_F(ExecStatements, ClosedConstructsLeaveTheStackAndBlockAsBefore) {
  open_source(
      "program p\n"
      "do\n"
      "  select case (k)\n"
      "  case (1)\n"
      "  case default\n"
      "  end select\n"
      "  where (m)\n"
      "  elsewhere\n"
      "  end where\n"
      "  exit\n"
      "end do\n"
      "end\n",
      ".f90");
  parse_unit();
  EXPECT_EQ(nest.nestdep, 0);
  EXPECT_EQ(nest.codblk, OUTER_BLOCK);
  // DO, SELECT CASE, CASE, CASE, WHERE, ELSEWHERE: one block number each.
  EXPECT_EQ(nest.newcodblk, 6 * 5);
  EXPECT_EQ(nest.usdnestcod, 2);
  for (int32_t n : {48, 49, 651, 652, 653, 654, 655, 711, 714, 715}) EXPECT_EQ(count(n), 0) << n;
}

TEST_F(ExecStatements, EndReportsAnOpenConstructByItsBlockKind) {
  struct Case {
    const char* stmt;  // opens one construct left open
    int32_t msg;       // message at END
  } cases[] = {{"do", 49}, {"where (m)", 714}, {"select case (k)", 715}, {"if (x) then", 48}};
  for (const Case& c : cases) {
    errmsg_reset();
    locsym_reset();
    nest_reset();
    labels_reset();
    unit_order_reset();
    unit.labpro = 1;
    open_source(std::string("program p\n") + c.stmt + "\nend\n", ".f90");
    parse_unit();
    EXPECT_EQ(count(c.msg), 1) << c.stmt;
    EXPECT_EQ(nest.nestdep, 0) << c.stmt;
  }
}

TEST_F(ExecStatements, StatVariableFirstInTheDialectThatAllowsIt) {
  ropt.Language = 1;
  ropt.compiler = 0x10000;
  open_source("      PROGRAM P\n      ALLOCATE (STAT=IS, A(10))\n      ALLOCATE (STAT=IS)\n      END\n",
              ".f");
  parse_unit();
  locsym* is = symbol("IS");
  ASSERT_NE(is, nullptr);
  EXPECT_NE(is->usage & QB_SET, 0u);
  EXPECT_EQ(count(36), 1);  // the second statement has no object after STAT=
  EXPECT_EQ(count(665), 0);
}
