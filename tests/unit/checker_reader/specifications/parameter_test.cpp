// PARAMETER statements: the named constant, its converted value and the
// messages of names that cannot be constants.
#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/specstmt.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Parameter = SpecStatementTest;

TEST_F(Parameter, NamedConstantKeepsItsFoldedValue) {
  open_source("program p\nparameter (k = 2*3, m = k + 1)\nend program p\n", ".f90");
  parse_unit();
  locsym* k = find("K");
  locsym* m = find("M");
  ASSERT_NE(k, nullptr);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(k->sclass, SC_PAR);
  EXPECT_TRUE(k->attrib & 0x200);
  ASSERT_NE(k->list, nullptr);
  EXPECT_EQ(static_cast<conval*>(k->list)->i, 6);
  ASSERT_NE(m->list, nullptr);
  EXPECT_EQ(static_cast<conval*>(m->list)->i, 7);
}

TEST_F(Parameter, IntegerValueOfARealNameIsConverted) {
  open_source("program p\nparameter (x = 2)\nend program p\n", ".f90");
  parse_unit();
  locsym* x = find("X");
  ASSERT_NE(x, nullptr);
  ASSERT_NE(x->list, nullptr);
  EXPECT_EQ(static_cast<conval*>(x->list)->d, 2.0);
}

TEST_F(Parameter, MessagesByTable) {
  struct Case {
    const char* src;
    const char* ext;
    int32_t msg;
  } cases[] = {
      {"      PROGRAM P\n      PARAMETER (K = 1)\n      PARAMETER (K = 2)\n      END\n", ".f", 0},
      {"program p\nreal y\nparameter (x = y)\nend\n", ".f90", 180},
      {"program p\nparameter (x 1)\nend\n", ".f90", 33},
      {"program p\nparameter (1 = 2)\nend\n", ".f90", 24},
      {"program p\nparameter (x = 1\nend\n", ".f90", 7},
      {"program p\nparameter (x = 1) y\nend\n", ".f90", 20},
      {"program p\nparameter (p = 1)\nend\n", ".f90", 22},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.msg == 0) ropt.Language = 1;
    open_source(c.src, c.ext);
    parse_unit();
    EXPECT_EQ(count(c.msg == 0 ? 65 : c.msg), 1) << c.src;
    srcend();
  }
}
