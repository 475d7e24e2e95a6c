// The attribute conflict matrix and the pair test of attr_check.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "frontend/model/decl_context.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/attributes.h"
#include "tests/unit/model/model_fixture.h"

namespace {

// The conflicting pairs, written out from the rules (lower number first).
const std::pair<int, std::set<int>> conflict_rows[] = {
    {0, {1, 2, 3, 4, 5, 7, 8, 9, 12, 17, 18, 19, 20, 21, 22, 30}},
    {1, {2, 3, 4, 5, 7, 8, 9, 13, 18, 21, 22, 28, 30, 31, 35, 36}},
    {2, {3, 4, 5, 6, 7}},
    {3, {4, 5, 6, 7, 30}},
    {4, {5, 6, 7, 30}},
    {5, {6, 7, 30}},
    {6, {7, 30}},
    {7, {30, 33, 34}},
    {8, {12, 13, 16, 30, 31, 32, 36}},
    {9, {12, 13, 16, 21, 22, 30, 31, 35}},
    {10, {18}},
    {11, {18}},
    {12, {18, 28, 30, 31, 33, 34, 35}},
    {13, {18, 22, 31, 35}},
    {14, {16, 18, 22, 23, 24, 28, 30, 31, 33, 34, 35, 36}},
    {15, {16}},
    {16, {18, 35}},
    {18, {20, 21, 22, 24, 28, 31, 32}},
    {19, {20, 21, 22, 24, 28, 31, 32}},
    {20, {21, 22, 24, 28}},
    {21, {22, 24, 28, 31, 32, 35}},
    {22, {24, 28, 31, 32, 35, 36}},
    {24, {28, 30, 31, 32, 35, 36}},
    {25, {26, 27, 32, 33, 34}},
    {26, {27, 32, 33, 34}},
    {27, {32, 33, 34}},
    {28, {30, 31, 32, 35, 36}},
    {30, {31, 32, 35, 36}},
    {31, {32}},
    {32, {36}},
    {33, {34}},
};

const std::set<int> no_repeat = {4, 7, 9, 12, 13, 17, 19, 20, 21, 22, 24, 25, 26, 27,
                                 28, 29, 30, 31, 32, 33, 34, 35, 36};

struct requirement { int a, b, value; };
const requirement requirements[] = {
    {20, 31, 2}, {20, 32, 2}, {20, 12, 3}, {21, 12, 2}, {22, 12, 2}, {25, 12, 2},
    {26, 12, 2}, {27, 12, 2}, {29, 12, 2}, {31, 20, 2},
};

class AttributesTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    decl_context_reset();
    attr_matrix_reset();
  }
  static attr_set of(std::initializer_list<int> list) {
    attr_set s;
    for (int a : list) s[a] = 1;
    return s;
  }
};

TEST_F(AttributesTest, MatrixHoldsEveryRuleAndNothingElse) {
  for (int a = 0; a < attr_count; ++a) {
    for (int b = 0; b < attr_count; ++b) {
      int want = 0;
      if (a == b) want = no_repeat.count(a) ? 1 : 0;
      for (const auto& row : conflict_rows)
        if (row.first == a && row.second.count(b)) want = 1;
      for (const requirement& r : requirements)
        if (r.a == a && r.b == b) want = r.value;
      EXPECT_EQ(attrs.matrix[a][b], want) << "row " << a << " column " << b;
    }
  }
}

TEST_F(AttributesTest, WordsOfMessages) {
  EXPECT_STREQ(attr_name(attr_module_imported), "module imported");
  EXPECT_STREQ(attr_name(attr_common_outside_block_data), "out of blockdata common block associated");
  EXPECT_STREQ(attr_name(attr_intent_in), "intent attributed");
  EXPECT_STREQ(attr_name(attr_intent_inout), "intent attributed");
  EXPECT_STREQ(attr_name(attr_target), "target");
}

TEST_F(AttributesTest, ConflictDropsTheHigherRequestedAttribute) {
  // REAL, ALLOCATABLE :: A(10): explicit shape excludes allocatable.
  attr_set request = of({attr_type_supplied, attr_variable, attr_allocatable, attr_explicit_shape});
  EXPECT_EQ(attr_check(nullptr, &request, null_pos), 0);
  EXPECT_EQ(request[attr_allocatable], 0);
  EXPECT_EQ(request[attr_explicit_shape], 1);
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(AttributesTest, RequirementsWaitForTheEndOfTheSpecificationPart) {
  attr_set request = of({attr_type_supplied, attr_deferred_shape});
  EXPECT_EQ(attr_check(nullptr, &request, null_pos), 1);
  decl_ctx.spec_part_done = true;
  EXPECT_EQ(attr_check(nullptr, &request, null_pos), 0);
  attr_set with_pointer = of({attr_type_supplied, attr_deferred_shape, attr_pointer});
  EXPECT_EQ(attr_check(nullptr, &with_pointer, null_pos), 1);
  attr_set dummy = of({attr_dummy, attr_deferred_shape});
  EXPECT_EQ(attr_check(nullptr, &dummy, null_pos), 1);
}

TEST_F(AttributesTest, CompatibleRequestPasses) {
  attr_set request = of({attr_type_supplied, attr_variable, attr_pointer, attr_deferred_shape, attr_save});
  EXPECT_EQ(attr_check(nullptr, &request, null_pos), 1);
  EXPECT_EQ(diag.errors, 0u);
}

}  // namespace

namespace {

// attr_check on symbols that already have attributes.
class AttrSymbolTest : public AttributesTest {
 protected:
  void SetUp() override {
    AttributesTest::SetUp();
    scope_push(sk_unit);
  }
  static symbol_entry* variable(const char* text) {
    name_pos_record np{name(text), null_pos};
    symbol_entry* s = symbol_create(sym_undeclared, np.name, np.pos, symtab.cur_scope);
    return symbol_as_variable(s, &np);
  }
};

TEST_F(AttrSymbolTest, ExistingAttributeStaysAndTheRequestedOneIsDropped) {
  // INTEGER, POINTER :: P then TARGET :: P.
  symbol_entry* p = variable("P");
  static_cast<object*>(p->entity.get())->is_pointer = true;
  attr_set request = of({attr_variable, attr_target});
  EXPECT_EQ(attr_check(p, &request, null_pos), 0);
  EXPECT_EQ(request[attr_target], 0);
  EXPECT_EQ(request[attr_variable], 1);
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(AttrSymbolTest, BeingAVariableTwiceIsNoRepeat) {
  symbol_entry* v = variable("V");
  attr_set request = of({attr_variable});
  EXPECT_EQ(attr_check(v, &request, null_pos), 1);
  EXPECT_EQ(diag.errors, 0u);
}

TEST_F(AttrSymbolTest, ProvisionalSymbolSuppressesTheRepeatOnce) {
  symbol_entry* v = variable("V");
  v->flags |= symf_saved | symf_unresolved;
  attr_set first = of({attr_save});
  EXPECT_EQ(attr_check(v, &first, null_pos), 1);
  EXPECT_EQ(v->flags & symf_unresolved, 0u);
  attr_set second = of({attr_save});
  EXPECT_EQ(attr_check(v, &second, null_pos), 0);
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(AttrSymbolTest, TwoIntentsAreOneRepeatedAttribute) {
  symbol_entry* x = variable("X");
  x->flags |= symf_intent_in;
  attr_set request = of({attr_intent_out});
  EXPECT_EQ(attr_check(x, &request, null_pos), 0);
  EXPECT_EQ(request[attr_intent_out], 0);
}

TEST_F(AttrSymbolTest, ApplyGivesTypeShapeAndInitialValue) {
  name_pos_record np{name("N"), null_pos};
  attr_set request = of({attr_type_supplied, attr_variable, attr_pointer, attr_save});
  entity_decl.entity_type = default_integer_type();
  entity_decl.entity_init_expr = nullptr;
  symbol_entry* s = attr_apply(nullptr, &request, &np);
  ASSERT_EQ(s->cls, sym_variable);
  object* o = static_cast<object*>(s->entity.get());
  EXPECT_EQ(o->type, default_integer_type());
  EXPECT_TRUE(o->is_pointer);
  EXPECT_TRUE(o->is_saved);
  EXPECT_TRUE(s->flags & symf_saved);
  EXPECT_TRUE(s->flags & symf_type_explicit);
}

}  // namespace
