// ALLOCATABLE, TARGET, AUTOMATIC, STATIC and VOLATILE statements: the bits
// they set and the conflicts they report.
#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/reader/attrstmt.h"
#include "checker/reader/dispatch.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Attributes = SpecStatementTest;

TEST_F(Attributes, StatementsSetTheirBits) {
  open_source(
      "program p\nallocatable :: a(:)\ntarget t\nvolatile v, /blk/\nstatic s /1/, u\nend program p\n",
      ".f90");
  parse_unit();
  struct Want {
    const char* name;
    int32_t cls;
    uint32_t bit;
  } wants[] = {{"A", 0, ATTR_ALLOCATABLE}, {"T", 0, ATTR_TARGET}, {"V", 0, ATTR_VOLATILE},
               {"BLK", SC_COM, ATTR_VOLATILE}, {"S", 0, ATTR_STATIC}, {"U", 0, ATTR_STATIC}};
  for (const Want& w : wants) {
    locsym* s = find(w.name, w.cls);
    ASSERT_NE(s, nullptr) << w.name;
    EXPECT_TRUE(s->attrib & w.bit) << w.name;
  }
  for (int32_t n : {5, 6, 24}) EXPECT_EQ(count(n), 0) << n;
}

TEST_F(Attributes, MessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\nstatic x\nautomatic x\nend\n", 788},
      {"module m\nautomatic x\nend module m\n", 780},
      {"program p\nstatic x /1\nend\n", 5},
      {"program p\ntarget a b\nend\n", 6},
      {"program p\nvolatile /1/\nend\n", 24},
      {"program p\nvolatile /c\nend\n", 5},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg);
}

TEST_F(Attributes, ExternalNamesBecomeExternalProcedures) {
  open_source("program p\nreal f\nexternal f, g\ncall g\nend program p\n", ".f90");
  parse_unit();
  // F stays an external procedure; the CALL makes G a subroutine.
  struct Want {
    const char* name;
    int32_t cls;
  } wants[] = {{"F", SC_EXT}, {"G", SC_SUB}};
  for (const Want& w : wants) {
    locsym* s = find(w.name);
    ASSERT_NE(s, nullptr) << w.name;
    EXPECT_EQ(s->sclass, w.cls) << w.name;
    EXPECT_TRUE(s->attrib & ATTR_EXTERNAL) << w.name;
  }
  EXPECT_EQ(count(22), 0);
}

TEST_F(Attributes, ExternalConflicts) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\ntarget t\nexternal t\nend\n", 628},
      {"program p\ndimension x(3)\nexternal x\nend\n", 22},
      {"program p\nexternal 1\nend\n", 24},
      {"program p\nexternal a b\nend\n", 6},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg);
}
