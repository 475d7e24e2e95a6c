// The other specification statements, driven by real statement lines: what
// each leaves in the scope's IMPLICIT map, in symbols and in their entities.
#include <string>
#include <vector>

#include "frontend/semantics/storage_association.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "tests/unit/parser/parser_fixture.h"

namespace {

class SpecStmtTest : public ParserTest {
 protected:
  void SetUp() override {
    ParserTest::SetUp();
    storage_state_reset();
  }

  void statements(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      load_statement(line);
      loop.stmt_section = section_spec;
      classify_statement();
      stop_tokens_clear();
      dispatch_statement();
    }
  }

  static type* implicit_of(char letter) { return current_scope_record().implicit_map[letter - 'A']; }
  static symbol_entry* sym(const char* name) { return symbol_here(intern_cstring(name)); }
};

TEST_F(SpecStmtTest, ImplicitMapsLettersAndRanges) {
  statements({"implicit double precision (d), character*4 (c), logical (l-n)",
              "implicit integer (z-y)"});
  EXPECT_EQ(implicit_of('D'), double_precision_type());
  ASSERT_NE(implicit_of('C'), nullptr);
  EXPECT_EQ(implicit_of('C')->type_code, tk_fcharacter);
  EXPECT_EQ(implicit_of('C')->size, 4u);
  for (char c : {'L', 'M', 'N'}) EXPECT_EQ(implicit_of(c), default_logical_type()) << c;
  EXPECT_EQ(implicit_of('Z'), default_integer_type());  // reversed range: Z only
  EXPECT_EQ(implicit_of('Y'), default_real_type());
  EXPECT_EQ(count_of(messages(), "letter must follow \"Z\" in alphabetic order"), 1);
}

TEST_F(SpecStmtTest, ImplicitNoneClearsTheMap) {
  statements({"implicit none"});
  for (char c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(implicit_of(c), nullptr) << c;
  EXPECT_TRUE(current_scope_record().implicit_none);
  statements({"implicit none"});
  EXPECT_EQ(count_of(messages(), "IMPLICIT NONE statement has already appeared"), 1);
}

TEST_F(SpecStmtTest, AttributeStatementsSetFlags) {
  statements({"save a", "external e", "intent(in out) :: b", "optional c"});
  ASSERT_NE(sym("A"), nullptr);
  EXPECT_TRUE(sym("A")->flags & symf_saved);
  EXPECT_TRUE(sym("E")->flags & symf_external);
  EXPECT_EQ(sym("B")->flags & (symf_intent_in | symf_intent_out), symf_intent_in | symf_intent_out);
  EXPECT_TRUE(sym("C")->flags & symf_optional);
  EXPECT_EQ(current_scope_record().flags & scopef_save_all, 0u);
  statements({"save"});
  EXPECT_NE(current_scope_record().flags & scopef_save_all, 0u);
  EXPECT_EQ(count_of(messages(), "some variables were previously specified in a SAVE statement"), 1);
}

TEST_F(SpecStmtTest, NamelistGroupsCollectTheirMembers) {
  statements({"integer i, j, k", "namelist /g/ i, j /h/ k, /g/ k"});
  symbol_entry* g = sym("G");
  ASSERT_NE(g, nullptr);
  ASSERT_EQ(g->cls, sym_namelist);
  int n = 0;
  for (expr_node* m = static_cast<namelist_group*>(g->entity.get())->member_list; m; m = m->next) {
    EXPECT_EQ(m->node_kind, enk_object);
    ++n;
  }
  EXPECT_EQ(n, 3);
  EXPECT_TRUE(sym("K")->word3 & varf_namelist_member);
}

TEST_F(SpecStmtTest, AccessItemMakesTheOperatorGeneric) {
  statements({"public :: operator(.cross.), assignment(=)"});
  symbol_entry* op = sym(".CROSS.");
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->cls, sym_generic);
  EXPECT_EQ(messages(), "");
}

}  // namespace
