// PUBLIC and PRIVATE statements: the module's default access, the access
// bits of listed names, and the private components of a type definition.
#include <cstring>

#include "checker/reader/dispatch.h"
#include "checker/reader/specstmt.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Access = SpecStatementTest;

TEST_F(Access, ListedNamesTakeTheLatestAccess) {
  open_source("module m\nprivate\npublic :: a, b\nprivate a\nend module m\n", ".f90");
  parse_unit();
  locsym* a = find("A");
  locsym* b = find("B");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->attrib & (ATTR_PUBLIC | ATTR_PRIVATE), ATTR_PRIVATE);
  EXPECT_EQ(b->attrib & (ATTR_PUBLIC | ATTR_PRIVATE), ATTR_PUBLIC);
  EXPECT_EQ(spec.defaccess, 2);
  for (int32_t n : {617, 618, 6, 24}) EXPECT_EQ(count(n), 0) << n;
}

TEST_F(Access, MessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\npublic\nend\n", 617},
      {"module m\npublic\nprivate\nend module m\n", 618},
      {"module m\ntype t\nprivate\nprivate\ninteger i\nend type t\nend module m\n", 729},
      {"module m\ntype t\npublic\ninteger i\nend type t\nend module m\n", 619},
      {"module m\npublic a b\nend module m\n", 6},
      {"module m\npublic :: 1\nend module m\n", 24},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg);
}
