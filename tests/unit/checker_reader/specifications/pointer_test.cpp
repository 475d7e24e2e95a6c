// POINTER statements: the attribute statement and the integer pointer
// statement, with the messages of the integer pointer's names.
#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/pointerstmt.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Pointer = SpecStatementTest;

TEST_F(Pointer, AttributeStatementSetsThePointerBit) {
  open_source("program p\npointer :: a(:), b\nend program p\n", ".f90");
  parse_unit();
  for (const char* n : {"A", "B"}) {
    locsym* s = find(n);
    ASSERT_NE(s, nullptr) << n;
    EXPECT_TRUE(s->attrib & ATTR_POINTER) << n;
  }
}

TEST_F(Pointer, IntegerPointerBasesItsPointee) {
  open_source("program p\npointer (q, a), /r/ b, c\nend program p\n", ".f90");
  parse_unit();
  locsym* q = find("Q");
  locsym* a = find("A");
  locsym* c = find("C");
  ASSERT_NE(q, nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(q->props & CP_POINTER);
  EXPECT_EQ(q->type.code, DT_I4);
  EXPECT_TRUE(a->props & CP_PTRBASED);
  EXPECT_EQ(a->link, q);
  EXPECT_EQ(c->link, find("R"));
}

TEST_F(Pointer, MessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\npointer (q, a)\npointer (r, a)\nend\n", 236},
      {"program p\nreal q\npointer (q, a)\nend\n", 233},
      {"program p\ndimension q(2)\npointer (q, a)\nend\n", 234},
      {"program p\npointer (q, a)\npointer (a, b)\nend\n", 235},
      {"program p\npointer (q a)\nend\n", 36},
      {"program p\npointer (q, a\nend\n", 7},
      {"program p\npointer /q a\nend\n", 5},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg);
}
