// The module table: entries found by name and owning module, module blocks
// by name, and the copy of a derived type that refers to itself.
#include "tests/unit/checker_semantics/semantics_fixture.h"

#include <cstring>

#include "checker/semantics/modtable.h"

namespace {

class ModTable : public CheckerSemanticsTest {
 protected:
  void SetUp() override {
    CheckerSemanticsTest::SetUp();
    modtbl_reset();
  }
  void TearDown() override {
    modtbl_reset();
    CheckerSemanticsTest::TearDown();
  }
  // A module's own entry and its block.
  modblock* module(const char* name) {
    locsym* m = modtbl_getsym(name, static_cast<int32_t>(std::strlen(name)), 3, 0, nullptr);
    m->sclass = SC_MODULE;
    m->owner = m;
    modblock& b = blocks_.emplace_back();
    b.entry = m;
    if (modtbl.tail == nullptr) {
      modtbl.head = &b;
    } else {
      modtbl.tail->next = &b;
    }
    modtbl.tail = &b;
    return &b;
  }
  std::deque<modblock> blocks_;
};

TEST_F(ModTable, EntriesOfTwoModulesAreToldApartByTheirOwner) {
  modblock* a = module("A");
  modblock* b = module("B");
  locsym* xa = modtbl_getsym("X", 1, 3, 0, a->entry);
  xa->sclass = SC_VAR;
  xa->owner = a->entry;
  EXPECT_EQ(modtbl_getsym("X", 1, 2, 0, b->entry), nullptr);  // not B's
  locsym* xb = modtbl_getsym("X", 1, 3, 0, b->entry);
  ASSERT_NE(xb, xa);
  xb->sclass = SC_VAR;
  xb->owner = b->entry;
  EXPECT_EQ(modtbl_getsym("X", 1, 2, 0, a->entry), xa);
  EXPECT_EQ(modtbl_getsym("X", 1, 2, 0, b->entry), xb);
  // A derived-type name is a name space of its own.
  EXPECT_EQ(modtbl_getsym("X", 1, 2, SC_STRUCT90, a->entry), nullptr);
  EXPECT_EQ(get_module_block("B"), b);
  EXPECT_EQ(get_module_block("C"), nullptr);
}

TEST_F(ModTable, SelfReferencingTypeIsCopiedOnce) {
  modblock* m = module("M");
  locsym* node = type("NODE");
  node->usage = QB_SET;
  field(node, "VAL", DT_R4);
  locsym* next = field_of(node, "NEXT", node);
  next->attrib = 2;  // POINTER
  locsym* e = modtbl_copy_locsym_to(node, m);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(modtbl_copy_locsym_to(node, m), e);
  const FieldNode* f = static_cast<const FieldNode*>(e->list);
  ASSERT_NE(f, nullptr);
  ASSERT_NE(f->next, nullptr);
  EXPECT_STREQ(f->next->sym->name, "NEXT");
  EXPECT_EQ(PGetQStructsym(&f->next->sym->type), e);
  EXPECT_EQ(e->owner, m->entry);
}

TEST_F(ModTable, UsageThatDescribesTheModulesOwnStatementsIsNotKept) {
  locsym* v = sym("V", SC_VAR, DT_R4);
  v->usage = QB_SET | QB_REF | QB_DECL | QB_ALLOC;
  EXPECT_EQ(modtbl_copy_usage_to(v), static_cast<uint32_t>(QB_DECL));
  locsym* f = sym("F", SC_FUNC, DT_R4);
  f->usage = QB_SET | QB_CALLED | QB_REF;
  EXPECT_EQ(modtbl_copy_usage_to(f), static_cast<uint32_t>(QB_REF));
}

}  // namespace
