// EQUIVALENCE statements and the records they leave in the work file:
// seven fields per object, the more word closing each group.
#include <vector>

#include "checker/reader/dispatch.h"
#include "checker/base/statement.h"
#include "checker/semantics/workfiles.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Equivalence = SpecStatementTest;

TEST_F(Equivalence, TwoGroupsWriteFourRecords) {
  workfiles_close();
  open_source(
      "program p\n"
      "character*8 d\n"
      "real a(10), b, c\n"
      "equivalence (a(1), b), (c, d(2:3))\n"
      "end program p\n",
      ".f90");
  parse_unit();
  std::vector<int32_t> w = work_words(wf.equiv);
  ASSERT_EQ(eqv_records(w), 4);
  // sym, nsub, subs..., substart, subend, more, line
  ASSERT_EQ(w.size(), 7u + 6 + 6 + 6);
  EXPECT_NE(w[0], 0);
  EXPECT_EQ(w[1], 1);
  EXPECT_EQ(w[2], 1);
  EXPECT_EQ(w[5], 1);  // more: B follows
  EXPECT_EQ(w[6], 4);  // line
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[0]))->name, "A");
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[7]))->name, "B");
  EXPECT_EQ(w[11], 0);  // B ends the first group
  EXPECT_EQ(w[10], 0);
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[13]))->name, "C");
  EXPECT_EQ(w[17], 1);
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[19]))->name, "D");
  EXPECT_EQ(w[20], 0);  // no subscripts
  EXPECT_EQ(w[21], 2);  // substring 2:3
  EXPECT_EQ(w[22], 3);
  EXPECT_EQ(w[23], 0);  // last of its group
  EXPECT_EQ(w[24], 4);
  workfiles_close();
}

TEST_F(Equivalence, NothingIsWrittenOutsideTheLocalPass) {
  workfiles_close();
  an.lpass = 0;
  open_source("program p\nequivalence (a, b)\nend program p\n", ".f90");
  parse_unit();
  EXPECT_TRUE(wf.equiv.words.empty());
  EXPECT_EQ(wf.equivcnt, 0);
}

TEST_F(Equivalence, AnObjectThatCannotBeReadKeepsItsPlace) {
  workfiles_close();
  open_source("program p\nequivalence (a, 1), (b, c)\nend program p\n", ".f90");
  parse_unit();
  EXPECT_EQ(count(24), 1);
  std::vector<int32_t> w = work_words(wf.equiv);
  ASSERT_EQ(eqv_records(w), 4);
  ASSERT_EQ(w.size(), 24u);
  EXPECT_EQ(w[6], 0);   // the second object: symbol 0
  EXPECT_EQ(w[10], 0);  // and it ends the group
  workfiles_close();
}

TEST_F(Equivalence, SyntaxMessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\nequivalence a, b\nend\n", 17},
      {"program p\nequivalence (a, b\nend\n", 7},
      {"program p\nequivalence (a, b) x\nend\n", 20},
      {"program p\ninteger n\nequivalence (a(n), b)\nend\n", 170},
      {"program p\ncharacter*4 c\nequivalence (a, c(0:2))\nend\n", 169},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg, true);
  workfiles_close();
}
