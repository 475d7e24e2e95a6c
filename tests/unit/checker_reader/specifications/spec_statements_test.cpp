// IMPLICIT, SAVE and NAMELIST statements read over whole program units: the
// IMPLICIT table they leave, the attributes and lists of the symbols, and
// the numbered messages of their errors.
#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/specstmt.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using SpecStmts = SpecStatementTest;

TEST_F(SpecStmts, ImplicitMessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;    // message expected once
  } cases[] = {
      {"program p\nimplicit none\nimplicit real (a-h)\nend\n", 60},
      {"program p\nimplicit foo (a)\nend\n", 39},
      {"program p\nimplicit real a\nend\n", 17},
      {"program p\nimplicit real (a) x\nend\n", 20},
      {"program p\nimplicit type (q) (a)\nend\n", 643},
      {"program p\nsave\nsave\nend\n", 294},
      {"program p\nsave x, x\nend\n", 245},
      {"program p\nsave x y\nend\n", 6},
      {"program p\nsave /c\nend\n", 5},
      {"program p\nsave 1\nend\n", 20},
      {"program p\nnamelist g/ x\nend\n", 5},
      {"program p\nnamelist /g x\nend\n", 5},
      {"program p\nnamelist /1/ x\nend\n", 24},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg);
}

TEST_F(SpecStmts, ImplicitNoneTwiceOrAReversedRangeSaysNothing) {
  for (const char* src : {"program p\nimplicit none\nimplicit none\nend\n",
                          "program p\nimplicit logical (z-a)\nend\n"}) {
    SetUp();
    open_source(src, ".f90");
    parse_unit();
    for (int32_t n : {60, 17, 20, 24, 36, 39}) EXPECT_EQ(count(n), 0) << src << n;
    srcend();
  }
}

TEST_F(SpecStmts, ImplicitSetsTheRowsOfItsRanges) {
  open_source("program p\nimplicit logical (a-c, x), real (i)\nend program p\n", ".f90");
  prgbeg();
  int32_t logical = imptbl[0].code;  // not yet LOGICAL
  int32_t real = imptbl[25].code;
  parse();
  EXPECT_NE(imptbl[0].code, logical);
  EXPECT_EQ(imptbl[0].code, imptbl[1].code);
  EXPECT_EQ(imptbl[2].code, imptbl[23].code);
  EXPECT_EQ(imptbl[3].code, real);
  EXPECT_EQ(imptbl[8].code, real);   // I became REAL
  EXPECT_NE(imptbl[9].code, real);   // J stays INTEGER
}

TEST_F(SpecStmts, ImplicitNoneClearsEveryRow) {
  open_source("program p\nimplicit none\nend program p\n", ".f90");
  parse_unit();
  for (int32_t r = 0; r < 27; ++r) EXPECT_EQ(imptbl[r].code, 0) << r;
  EXPECT_EQ(implicit_none, 1);
}

TEST_F(SpecStmts, SaveSetsTheSaveBitOfNamesAndBlocks) {
  open_source("program p\nsave :: x, /blk/\nx = 1\nend program p\n", ".f90");
  parse_unit();
  locsym* x = find("X", 0);
  locsym* b = find("BLK", SC_COM);
  ASSERT_NE(x, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(x->attrib & ATTR_SAVE);
  EXPECT_TRUE(b->attrib & ATTR_SAVE);
  EXPECT_EQ(b->sclass, SC_COM);
  EXPECT_EQ(count(245), 0);
}

TEST_F(SpecStmts, NamelistListsItsObjectsInOrder) {
  open_source("program p\nnamelist /g/ a, b /h/ c, /g/ d\nend program p\n", ".f90");
  parse_unit();
  locsym* g = find("G", SC_NML);
  locsym* h = find("H", SC_NML);
  ASSERT_NE(g, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(g->sclass, SC_NML);
  std::string names;
  for (auto* m = static_cast<NmlMember*>(g->list); m != nullptr; m = m->next) names += m->sym->name;
  EXPECT_EQ(names, "ABD");
  auto* hm = static_cast<NmlMember*>(h->list);
  ASSERT_NE(hm, nullptr);
  EXPECT_STREQ(hm->sym->name, "C");
  EXPECT_EQ(hm->next, nullptr);
}
