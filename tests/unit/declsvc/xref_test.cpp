// Cross-reference notes: the lines of the "-X" file and the referenced marks
// that the notes keep whether or not the file is open.
#include <cstdio>

#include "frontend/driver/driver.h"
#include "tests/unit/declsvc/decl_fixture.h"

namespace {

class XrefTest : public DeclTest {
 public:
  void SetUp() override {
    DeclTest::SetUp();
    new_source_file(nullptr, 1, 1, "t.f90", "t.f90");
    file = std::tmpfile();
    driver_options.xref_file = file;
  }
  void TearDown() override {
    driver_options.xref_file = nullptr;
    if (file) std::fclose(file);
    DeclTest::TearDown();
  }
  std::string written() {
    std::fflush(file);
    std::rewind(file);
    std::string out;
    char buf[256];
    while (size_t n = std::fread(buf, 1, sizeof buf, file)) out.append(buf, n);
    return out;
  }
  FILE* file = nullptr;
};

TEST_F(XrefTest, DefinitionThenReferenceShareOneIdentity) {
  scope_push(sk_unit);
  symbol_entry* a = symbol_create(sym_undeclared, name("A"), source_pos_record{3, 1}, 1);
  name_pos_record n = np("A", source_pos_record{3, 1});
  symbol_as_variable(a, &n);
  symbol_entry* b = symbol_create(sym_undeclared, name("B"), source_pos_record{3, 1}, 1);
  xref_note(a, source_pos_record{3, 9}, true);
  xref_note_use(xref_reference, b, source_pos_record{4, 2});
  xref_note_use(xref_modification, a, source_pos_record{5, 7});
  EXPECT_EQ(written(), "1 A D t.f90 3 9\n2 B R t.f90 4 2\n1 A M t.f90 5 7\n");
  EXPECT_EQ(a->decl_position.column, 9);  // recorded
  EXPECT_TRUE(static_cast<object*>(a->entity.get())->corresp.referenced);
}

TEST_F(XrefTest, NothingForTheErrorNameOrTheNullPosition) {
  scope_push(sk_unit);
  symbol_entry* e = symbol_create(sym_undeclared, nullptr, source_pos_record{3, 1}, 1);
  symbol_entry* a = symbol_create(sym_undeclared, name("A"), source_pos_record{3, 1}, 1);
  xref_note_use(xref_reference, e, source_pos_record{3, 4});
  xref_note_use(xref_reference, a, null_pos);
  EXPECT_EQ(written(), "");
  EXPECT_TRUE(a->flags & symf_referenced);  // marked all the same
}

TEST_F(XrefTest, ModifyingAnActiveDoVariableWarns) {
  scope_push(sk_unit);
  symbol_entry* i = symbol_create(sym_undeclared, name("I"), source_pos_record{3, 1}, 1);
  name_pos_record n = np("I", source_pos_record{3, 1});
  symbol_as_variable(i, &n);
  i->word3 |= varf_active_do_var;
  xref_note_use(xref_reference, i, source_pos_record{4, 1});
  EXPECT_EQ(messages(), "");
  xref_note_use(xref_modification, i, source_pos_record{5, 1});
  EXPECT_EQ(count(messages(), "warning: DO variable modified within DO loop"), 1);
}

}  // namespace
