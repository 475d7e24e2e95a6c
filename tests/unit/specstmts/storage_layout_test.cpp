// Storage association driven by real statements: each statement line is
// classified and handled as the statement loop would, then the unit's COMMON
// blocks and EQUIVALENCE sets are laid out and the places checked.
#include <string>
#include <vector>

#include "frontend/semantics/storage_association.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "tests/unit/parser/parser_fixture.h"

namespace {

class StorageTest : public ParserTest {
 protected:
  void SetUp() override {
    ParserTest::SetUp();
    storage_state_reset();
  }

  // Handles each line as one statement of the unit, then lays out storage.
  void unit(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      load_statement(line);
      loop.stmt_section = section_spec;
      classify_statement();
      stop_tokens_clear();
      dispatch_statement();
    }
    storage_association();
  }

  static object* var(const char* name) {
    symbol_entry* s = symbol_here(intern_cstring(name));
    return s && s->cls == sym_variable ? static_cast<object*>(s->entity.get()) : nullptr;
  }
  static object* base_of(const char* name) {
    object* o = var(name);
    return o && o->storage_class == sc_associated ? o->assoc_variable : nullptr;
  }
  static int32_t offset_of(const char* name) {
    object* o = var(name);
    return o ? o->association_offset : -1;
  }
};

TEST_F(StorageTest, CommonMembersFollowEachOtherWithAlignment) {
  unit({"integer i", "double precision d", "character*1 ch", "common /b/ i, d", "common /c/ ch, j"});
  ASSERT_NE(base_of("I"), nullptr);
  EXPECT_EQ(base_of("I")->storage_class, sc_common);
  EXPECT_EQ(base_of("D"), base_of("I"));
  EXPECT_EQ(offset_of("I"), 0);
  EXPECT_EQ(offset_of("D"), 4);  // DOUBLE PRECISION is aligned to 4
  EXPECT_EQ(base_of("I")->type->size, 12u);
  EXPECT_EQ(offset_of("J"), 4);  // padded after the character
  EXPECT_EQ(count_of(messages(), "padding supplied to align \"J\" in COMMON"), 1);
}

TEST_F(StorageTest, BlankCommonFromBothForms) {
  unit({"common a, b /blk/ x, y", "common //c"});
  EXPECT_EQ(base_of("A"), base_of("B"));
  EXPECT_EQ(base_of("A"), base_of("C"));
  EXPECT_EQ(offset_of("C"), 8);
  EXPECT_EQ(base_of("X"), base_of("Y"));
  EXPECT_NE(base_of("X"), base_of("A"));
  EXPECT_EQ(offset_of("Y"), 4);
}

TEST_F(StorageTest, EquivalenceGivesOneLocalStorageObject) {
  unit({"real a(4), b(4)", "equivalence (a(3), b(1))"});
  object* s = base_of("A");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s, base_of("B"));
  EXPECT_EQ(s->storage_class, sc_local);
  EXPECT_EQ(s->type->type_code, tk_association);
  EXPECT_EQ(offset_of("A"), 0);
  EXPECT_EQ(offset_of("B"), 8);
  EXPECT_EQ(s->type->size, 24u);
  EXPECT_EQ(messages(), "");
}

TEST_F(StorageTest, SetsSharingAVariableMergeInEitherDirection) {
  // (A, B(2)) puts B 4 bytes before A; (C(3), A) then puts C 8 bytes before A.
  unit({"real a, b(4), c(4)", "equivalence (a, b(2)), (c(3), a)"});
  object* s = base_of("A");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(base_of("B"), s);
  EXPECT_EQ(base_of("C"), s);
  EXPECT_EQ(offset_of("C"), 0);
  EXPECT_EQ(offset_of("B"), 4);
  EXPECT_EQ(offset_of("A"), 8);
  EXPECT_EQ(s->type->size, 20u);
}

TEST_F(StorageTest, ALaterSetMovesIntoTheEarlierOne) {
  // A starts 4 bytes into the first set; the second set follows A there.
  unit({"real a, b(4), c", "equivalence (a, b(2)), (a, c)"});
  object* s = base_of("A");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(base_of("C"), s);
  EXPECT_EQ(offset_of("B"), 0);
  EXPECT_EQ(offset_of("A"), 4);
  EXPECT_EQ(offset_of("C"), 4);
  EXPECT_EQ(s->type->size, 16u);
}

TEST_F(StorageTest, InconsistentEquivalenceIsReportedOnce) {
  unit({"real a, b(4)", "equivalence (a, b(2)), (a, b(3))"});
  EXPECT_EQ(count_of(messages(), "inconsistent EQUIVALENCE specifications for variable \"B\""), 1);
}

TEST_F(StorageTest, EquivalenceExtendsCommonForwardNotBackward) {
  unit({"real x(2), y(4), z(2)", "common /k/ x", "equivalence (x(1), y(1)), (z(2), x(1))"});
  EXPECT_EQ(base_of("Y"), base_of("X"));
  EXPECT_EQ(offset_of("Y"), 0);
  EXPECT_EQ(base_of("X")->type->size, 16u);  // the block grows to hold Y
  EXPECT_EQ(count_of(messages(), "EQUIVALENCE specification of \"Z\" extends COMMON block backwards"), 1);
}

TEST_F(StorageTest, AnEquivalenceListOfOneIsRefused) {
  unit({"real a", "equivalence (a)"});
  std::string m = messages();
  EXPECT_EQ(count_of(m, "expected a \",\""), 1);
  EXPECT_EQ(count_of(m, "expected an identifier"), 1);
  EXPECT_EQ(storage.groups_head, nullptr);
}

}  // namespace
