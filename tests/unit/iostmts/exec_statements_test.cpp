// Executable statements driven by real statement lines: the label lists of
// the GO TO forms, STOP codes and CASE value ranges in the IL.
#include <string>
#include <vector>

#include "frontend/parser/statement_handlers.h"
#include "tests/unit/iostmts/statement_fixture.h"

namespace {

class ExecTest : public StatementTest {
 protected:
  static int labels(const statement* s) {
    int n = 0;
    for (const label_list_entry* e = s->label_list; e; e = e->next) ++n;
    return n;
  }
};

TEST_F(ExecTest, AssignedGotoDropsRepeatedLabelsComputedKeepsThem) {
  statement* s = run({"integer iv", "go to iv, (10, 10, 20)"});
  ASSERT_EQ(s->kind, stmk_assigned_goto);
  EXPECT_EQ(labels(s), 2);
  for (const label_list_entry* e = s->label_list; e; e = e->next) EXPECT_TRUE(e->label->used_in_assign);
  s = run({"go to (10, 10, 20) iv"});
  ASSERT_EQ(s->kind, stmk_computed_goto);
  EXPECT_EQ(labels(s), 3);
  s = run({"if (iv) 10, 10, 20"});
  ASSERT_EQ(s->kind, stmk_iarith_if);
  EXPECT_EQ(labels(s), 3);
}

TEST_F(ExecTest, StopCodesAreCharacterConstants) {
  struct Case {
    const char* line;
    const char* code;  // "" for none
    int warnings;
  } cases[] = {
      {"stop 123456", "123456", 1},
      {"stop 12345", "12345", 0},
      {"pause 'wait'", "wait", 0},
      {"stop", "", 0},
  };
  for (const Case& c : cases) {
    statement* s = run({c.line});
    const constant* k = s->stop_pause_string;
    if (*c.code == '\0') {
      EXPECT_EQ(k, nullptr) << c.line;
    } else {
      ASSERT_NE(k, nullptr) << c.line;
      ASSERT_EQ(k->type->type_code, tk_fcharacter) << c.line;
      std::string text(reinterpret_cast<const char*>(k->value.get()), k->type->size);
      EXPECT_EQ(text, c.code) << c.line;
    }
    EXPECT_EQ(count_of(messages(), "more than 5 digits"), c.warnings) << c.line;
  }
}

TEST_F(ExecTest, CaseRangesTakeTheirKinds) {
  run({"select case (i)"});
  run({"case (1, 2:, :3, 4:5)"});
  statement* s = innermost_block()->construct_stmt;  // the CASE heads its own frame
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->kind, stmk_case);
  int kinds[4] = {-1, -1, -1, -1};
  int n = 0;
  for (const case_range* r = s->case_range_list; r && n < 4; r = r->next) kinds[n++] = r->range_kind;
  EXPECT_EQ(n, 4);
  EXPECT_EQ(kinds[0], crk_eq);
  EXPECT_EQ(kinds[1], crk_le);
  EXPECT_EQ(kinds[2], crk_ge);
  EXPECT_EQ(kinds[3], crk_gl);
  EXPECT_EQ(messages(), "");
}

}  // namespace
