// COMMON and DIMENSION statements: block members in order, the blank
// block, and the members refused with their messages.
#include <cstring>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/reader/commonstmt.h"
#include "checker/reader/dispatch.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Common = SpecStatementTest;

static std::string members(const char* block) {
  locsym* b = getsym(block, static_cast<int32_t>(std::strlen(block)), 2, SC_COM);
  std::string out;
  if (b == nullptr) return "-";
  for (auto* m = static_cast<ComMember*>(b->list); m != nullptr; m = m->next) {
    if (!out.empty()) out += ",";
    out += m->sym->name;
  }
  return out;
}

TEST_F(Common, BlocksListTheirMembersInOrder) {
  open_source("program p\ncommon x, y /b/ z(10), w, // v\ncommon /b/ u\nend program p\n", ".f90");
  parse_unit();
  EXPECT_EQ(members("BLANK-COMMON"), "X,Y,V");
  EXPECT_EQ(members("B"), "Z,W,U");
  locsym* z = getsym("Z", 1, 0, 0);
  ASSERT_NE(z, nullptr);
  EXPECT_TRUE(z->props & CP_COMBLK);
  EXPECT_NE(z->arrspec, nullptr);
  for (int32_t n : {5, 6, 24, 88}) EXPECT_EQ(count(n), 0) << n;
}

TEST_F(Common, MessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\ncommon /a/ x\ncommon /b/ x\nend\n", 88},
      {"program p\nsave x\ncommon /b/ x\nend\n", 455},
      {"program p\ncommon /b x\nend\n", 5},
      {"program p\ncommon /1/ x\nend\n", 24},
      {"program p\ncommon /b/ x y\nend\n", 6},
      {"program p\ndimension a(10) b(2)\nend\n", 6},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg);
}

TEST_F(Common, SavedObjectIsStillAMember) {
  open_source("program p\nsave x\ncommon /b/ x, y\nend program p\n", ".f90");
  parse_unit();
  EXPECT_EQ(count(455), 1);
  EXPECT_EQ(members("B"), "X,Y");
}

TEST_F(Common, DimensionGivesTheArraySpecification) {
  open_source("program p\ndimension a(10), b(2, 3)\nend program p\n", ".f90");
  parse_unit();
  locsym* a = getsym("A", 1, 0, 0);
  locsym* b = getsym("B", 1, 0, 0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a->arrspec, nullptr);
  EXPECT_NE(b->arrspec, nullptr);
}
