// Constant designators: elements, substrings and sections of constant
// values, the storage offsets of EQUIVALENCE items, and the destinations a
// DATA object list expands into.
#include <utility>

#include "frontend/semantics/constant_designators.h"
#include "tests/unit/consteval/consteval_fixture.h"

namespace {

using Designators = ConstEvalTest;

class WithArrayA : public ConstEvalTest {
 protected:
  void SetUp() override {
    ConstEvalTest::SetUp();
    t3 = array_of(i4(), {{1, 3}});
    a = named_constant("A", t3, int_aggregate(t3, {10, 20, 30}));
  }
  type* t3 = nullptr;
  object* a = nullptr;
};

TEST_F(WithArrayA, ElementsOfANamedConstantArray) {
  EXPECT_EQ(int_of(subscript(ref(a), i4(), {num(2)})), 20);
  for (int32_t bad : {4, 0}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(eval(subscript(ref(a), i4(), {at(num(bad), 5)})).status, 0);
    EXPECT_NE(messages().find("(  5: 1) error:   subscript out of range"), std::string::npos);
  }
}

TEST_F(Designators, ElementsOfARank2Array) {
  type* t = array_of(i4(), {{1, 2}, {1, 2}});
  object* b = named_constant("B", t, int_aggregate(t, {1, 2, 3, 4}));
  EXPECT_EQ(int_of(subscript(ref(b), i4(), {num(1), num(2)})), 3);
  EXPECT_EQ(int_of(subscript(ref(b), i4(), {num(2), num(1)})), 2);
  // No wrapping into the next column.
  EXPECT_EQ(eval(subscript(ref(b), i4(), {num(3), num(1)})).status, 0);
  EXPECT_NE(messages().find("subscript out of range"), std::string::npos);
}

TEST_F(Designators, Substrings) {
  EXPECT_EQ(text_of(substring(text("abcdef"), ch(3), num(2), num(4))), "bcd");
  EXPECT_EQ(text_of(substring(text("abcdef"), ch(2), num(5), nullptr)), "ef");
  EXPECT_EQ(text_of(substring(text("abcdef"), ch(2), nullptr, num(2))), "ab");
  Eval empty_piece = eval(substring(text("abc"), ch(0), num(3), num(2)));
  ASSERT_EQ(empty_piece.v.c.kind, ck_value);
  EXPECT_EQ(char_length_of(empty_piece.v.c.type), 0u);
  EXPECT_EQ(messages(), "");
  struct Bad { int32_t first, last; uint32_t line; } bad[] = {{0, 1, 30}, {2, 4, 31}};
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.line);
    expr_node* first = num(b.first);
    expr_node* last = num(b.last);
    // The offending position carries the line of the message.
    (b.first == 0 ? first : last)->source_pos = pos(b.line);
    expr_node* n = substring(text("abc"), ch(1), first, last);
    Eval e = eval(n);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.v.c.kind, ck_error);
    EXPECT_EQ(n->node_kind, enk_error);
    std::string where = "( " + std::to_string(b.line) + ": 1) error:   subscript out of range";
    EXPECT_NE(messages().find(where), std::string::npos);
  }
}

TEST_F(Designators, SubstringsOfAnArrayOfStrings) {
  type* t = array_of(ch(4), {{1, 2}});
  const_value agg;
  const_init(&agg);
  aggregate_start(&agg, t);
  for (const char* word : {"abcd", "efgh"}) {
    const_value e;
    const_init(&e);
    make_char_value(&e, ch(4), reinterpret_cast<const uint8_t*>(word), 4);
    aggregate_append(&agg, &e);
  }
  object* w = named_constant("W", t, new_il_constant(&agg));
  expr_node* n = substring(ref(w), t, num(2), num(3));
  Eval r = eval(n);
  ASSERT_EQ(r.v.c.kind, ck_aggregate);
  ElementWalk walk(&r.v);
  const_value e;
  std::vector<std::string> pieces;
  while (walk.next(&e)) pieces.push_back(text_of(e));
  EXPECT_EQ(pieces, (std::vector<std::string>{"bc", "fg"}));
  EXPECT_EQ(char_length_of(n->type->element_type), 2u);
}

TEST_F(WithArrayA, SectionsOfANamedConstantArray) {
  EXPECT_EQ(ints_of(section(ref(a), array_of(i4(), {{1, 3}}), {triplet(num(3), num(1), num(-1))})),
            (std::vector<int32_t>{30, 20, 10}));
  EXPECT_EQ(ints_of(section(ref(a), array_of(i4(), {{1, 2}}), {triplet(num(1), num(3), num(2))})),
            (std::vector<int32_t>{10, 30}));
  EXPECT_EQ(ints_of(section(ref(a), t3, {triplet(nullptr, nullptr)})),
            (std::vector<int32_t>{10, 20, 30}));
  type* t2 = array_of(i4(), {{1, 2}});
  object* v = named_constant("V", t2, int_aggregate(t2, {3, 1}));
  EXPECT_EQ(ints_of(section(ref(a), t2, {ref(v)})), (std::vector<int32_t>{30, 10}));
  EXPECT_EQ(ints_of(section(ref(a), array_of(i4(), {{1, 0}}), {triplet(num(3), num(1))})),
            (std::vector<int32_t>{}));
  EXPECT_EQ(messages(), "");
  expr_node* n = section(ref(a), t3, {triplet(num(1), num(3), at(num(0), 8))});
  Eval e = eval(n);
  EXPECT_EQ(e.status, 1);
  EXPECT_EQ(e.v.c.kind, ck_error);
  EXPECT_EQ(n->node_kind, enk_error);
  EXPECT_NE(messages().find("(  8: 1) error:   stride value must not be zero"), std::string::npos);
}

TEST_F(Designators, SectionsOfARank2Array) {
  // B(2,3) = 1..6 in array element order: column j holds 2j-1, 2j.
  type* t = array_of(i4(), {{1, 2}, {1, 3}});
  object* b = named_constant("B", t, int_aggregate(t, {1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(ints_of(section(ref(b), array_of(i4(), {{1, 3}}), {num(2), triplet(nullptr, nullptr)})),
            (std::vector<int32_t>{2, 4, 6}));
  EXPECT_EQ(ints_of(section(ref(b), array_of(i4(), {{1, 2}, {1, 2}}),
                            {triplet(nullptr, nullptr), triplet(num(3), num(2), num(-1))})),
            (std::vector<int32_t>{5, 6, 3, 4}));
}

TEST_F(Designators, EquivalenceOffsets) {
  object* x = variable("X", array_of(r4(), {{1, 10}}));
  object* s = variable("S", ch(8));
  object* m = variable("M", array_of(i4(), {{0, 3}, {2, 5}}));
  object* obj = nullptr;
  int32_t offset = -1;
  EXPECT_EQ(designator_storage_offset(subscript(ref(x), r4(), {num(3)}), pos(2), &obj, &offset), 1);
  EXPECT_EQ(obj, x);
  EXPECT_EQ(offset, 8);
  EXPECT_EQ(designator_storage_offset(substring(ref(s), ch(2), num(2), num(3)), pos(2), &obj, &offset), 1);
  EXPECT_EQ(obj, s);
  EXPECT_EQ(offset, 1);
  // M(1, 3): (1 - 0) * 4 + (3 - 2) * 4 * 4.
  EXPECT_EQ(designator_storage_offset(subscript(ref(m), i4(), {num(1), num(3)}), pos(2), &obj, &offset), 1);
  EXPECT_EQ(offset, 20);
  EXPECT_EQ(messages(), "");

  struct Bad { const char* label; expr_node* node; const char* message; } bad[] = {
      {"X(1:2)", section(ref(x), array_of(r4(), {{1, 2}}), {triplet(num(1), num(2))}),
       "an array section is not allowed"},
      {"X(11)", subscript(ref(x), r4(), {num(11)}), "subscript out of range"},
      {"S(0:1)", substring(ref(s), ch(2), num(0), num(1)), "substring character position out of range"},
      {"S(2:9)", substring(ref(s), ch(8), num(2), num(9)), "substring character position out of range"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.label);
    obj = x;
    offset = 7;
    EXPECT_EQ(designator_storage_offset(b.node, pos(4), &obj, &offset), 0);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(offset, 0);
    EXPECT_NE(messages().find(std::string("(  4: 1) error:   ") + b.message), std::string::npos);
  }
  object* n = variable("N", i4());
  EXPECT_EQ(designator_storage_offset(subscript(ref(x), r4(), {at(ref(n), 6)}), pos(4), &obj, &offset), 0);
  EXPECT_NE(messages().find("must be an initialization expression"), std::string::npos);
}

// The destinations handed to the DATA callback.
struct Target {
  object* obj;
  int32_t offset;
  type* destination;
  type* covered;
};
std::vector<Target> targets;
int refuse_after = -1;  // the callback refuses the destination with this index

int record_target(object* obj, int32_t offset, type* destination, type* covered) {
  if (static_cast<int>(targets.size()) == refuse_after) return 0;
  targets.push_back(Target{obj, offset, destination, covered});
  return 1;
}

class DataTargets : public ConstEvalTest {
 protected:
  void SetUp() override {
    ConstEvalTest::SetUp();
    targets.clear();
    refuse_after = -1;
    at3 = array_of(r4(), {{1, 3}});
    a = variable("A", at3);
    i = variable("I", i4(), sc_implied_do_var);
  }
  std::vector<int32_t> offsets() const {
    std::vector<int32_t> out;
    for (const Target& t : targets) out.push_back(t.offset);
    return out;
  }
  type* at3 = nullptr;
  object* a = nullptr;
  object* i = nullptr;
};

TEST_F(DataTargets, ImpliedDoOverElements) {
  expr_node* list = implied_do(enk_implied_do, i, subscript(ref(a), r4(), {ref(i)}), num(1), num(3));
  EXPECT_EQ(data_for_each_target(list, record_target), 1);
  EXPECT_EQ(offsets(), (std::vector<int32_t>{0, 4, 8}));
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0].obj, a);
  EXPECT_EQ(targets[0].destination, r4());
  EXPECT_EQ(targets[0].covered, r4());
  EXPECT_EQ(i->symbol, nullptr);  // the DO variable's link is restored
  targets.clear();
  expr_node* none = implied_do(enk_implied_do, i, subscript(ref(a), r4(), {ref(i)}), num(3), num(1));
  EXPECT_EQ(data_for_each_target(none, record_target), 1);
  EXPECT_TRUE(targets.empty());
  EXPECT_EQ(messages(), "");
}

TEST_F(DataTargets, WholeArraysAndSections) {
  EXPECT_EQ(data_for_each_target(ref(a), record_target), 1);
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0].destination, r4());
  EXPECT_EQ(targets[0].covered, at3);
  targets.clear();
  expr_node* s = section(ref(a), array_of(r4(), {{1, 2}}), {triplet(num(1), num(3), num(2))});
  EXPECT_EQ(data_for_each_target(s, record_target), 1);
  EXPECT_EQ(offsets(), (std::vector<int32_t>{0, 8}));
  EXPECT_EQ(targets[0].covered, r4());
  EXPECT_EQ(s->node_kind, enk_section);  // restored after the expansion
  EXPECT_EQ(s->ind_list->node_kind, enk_triplet);
  targets.clear();
  // A rank-2 section expands its last triplet outermost: M(1:2, 2:3).
  object* m = variable("M", array_of(i4(), {{1, 2}, {1, 3}}));
  expr_node* s2 = section(ref(m), array_of(i4(), {{1, 2}, {1, 2}}),
                          {triplet(nullptr, nullptr), triplet(num(2), num(3))});
  EXPECT_EQ(data_for_each_target(s2, record_target), 1);
  EXPECT_EQ(offsets(), (std::vector<int32_t>{8, 12, 16, 20}));
  EXPECT_EQ(messages(), "");
}

TEST_F(DataTargets, SubstringsAndTheirErrors) {
  object* s = variable("S", ch(8));
  EXPECT_EQ(data_for_each_target(substring(ref(s), ch(3), num(2), num(4)), record_target), 1);
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0].offset, 1);
  EXPECT_EQ(char_length_of(targets[0].destination), 3u);
  EXPECT_EQ(data_for_each_target(substring(ref(s), ch(0), num(3), num(2)), record_target), 0);
  EXPECT_NE(messages().find("upper position is less than lower position in substring"), std::string::npos);
  EXPECT_EQ(data_for_each_target(substring(ref(s), ch(0), num(3), num(9)), record_target), 0);
  EXPECT_NE(messages().find("substring character position out of range"), std::string::npos);
}

TEST_F(DataTargets, RestrictedSubscripts) {
  expr_node* mod = at(call(/* MOD */ 124, i4(), {num(1), num(2)}), 11);
  EXPECT_EQ(data_for_each_target(subscript(ref(a), r4(), {mod}), record_target), 0);
  EXPECT_NE(messages().find("( 11: 1) error:   only constants, DO variables and intrinsic operations are allowed"),
            std::string::npos);
  EXPECT_TRUE(targets.empty());
  EXPECT_EQ(data_for_each_target(subscript(ref(a), r4(), {at(num(4), 12)}), record_target), 0);
  EXPECT_NE(messages().find("subscript out of range"), std::string::npos);
  EXPECT_EQ(data_subscript_is_constant(op(eok_iadd, i4(), ref(i), num(1))), 1);
}

TEST_F(DataTargets, AHugeSectionStopsAtItsFirstOutOfRangeElement) {
  expr_node* s = section(ref(a), array_of(r4(), {{1, 2000000000}}), {triplet(num(1), num(2000000000))});
  EXPECT_EQ(data_for_each_target(s, record_target), 0);
  EXPECT_EQ(targets.size(), 3u);
  EXPECT_NE(messages().find("subscript out of range"), std::string::npos);
}

TEST_F(DataTargets, ARefusedDestinationStopsTheWalk) {
  refuse_after = 1;
  expr_node* list = implied_do(enk_implied_do, i, subscript(ref(a), r4(), {ref(i)}), num(1), num(3));
  EXPECT_EQ(data_for_each_target(list, record_target), 0);
  EXPECT_EQ(targets.size(), 1u);
  EXPECT_EQ(i->symbol, nullptr);
}

}  // namespace
