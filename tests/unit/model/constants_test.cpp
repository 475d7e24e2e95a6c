// Constant sharing: hash, equality, and the pass over the IL.
#include <vector>

#include "frontend/model/constant_sharing.h"
#include "frontend/model/il_walk.h"
#include "tests/unit/model/model_fixture.h"

namespace {

class ConstantsTest : public ModelTest {
 protected:
  // Puts nodes into the file scope as statements of a program unit.
  void use(std::initializer_list<expr_node*> nodes) {
    if (!body) {
      object* program = new_object();
      program->storage_class = sc_program;
      body = new_scope_entry();
      body->assoc_routine = program;
      program->assoc_scope = body;
      the_il_header.primary_scope->objects = program;
      body->assoc_block = new_statement(stmk_block);
    }
    for (expr_node* n : nodes) {
      statement* s = new_statement(stmk_expr);
      s->expr = n;
      s->next = body->assoc_block->statements;
      body->assoc_block->statements = s;
    }
  }
  static int file_constants() {
    int n = 0;
    for (constant* c = the_il_header.primary_scope->constants; c; c = c->next) ++n;
    return n;
  }
  scope* body = nullptr;
};

TEST_F(ConstantsTest, HashFollowsTheValueRules) {
  EXPECT_EQ(constant_hash(int_constant(default_integer_type(), 5)), 5u);
  EXPECT_EQ(constant_hash(int_constant(default_integer_type(), -1)), 0xFFFFFFFFu % 293);
  EXPECT_EQ(constant_hash(int_constant(default_logical_type(), 1)), 1u);
  // REAL 1.0 = 00 00 80 3F: 500 + 0 + 0 + (-128) + 63 = 435, mod 293 = 142.
  EXPECT_EQ(constant_hash(real_constant(default_real_type(), 1.0)), 142u);
  // "AB": 100 + 2 + 64 x 65 + 66 = 4328, mod 293 = 226; "BA": 4391, 289.
  EXPECT_EQ(constant_hash(char_constant("AB")), 226u);
  EXPECT_EQ(constant_hash(char_constant("BA")), 289u);
  EXPECT_EQ(constant_hash(char_constant("")), 100u);
  constant* e = new_constant();
  EXPECT_EQ(constant_hash(e), 200u);
}

TEST_F(ConstantsTest, EqualityNeedsKindSizeTypeAndBytes) {
  type* short_int = integer_type(0);
  EXPECT_EQ(constant_equal(int_constant(default_integer_type(), 5), int_constant(default_integer_type(), 5)), 1);
  EXPECT_EQ(constant_equal(int_constant(default_integer_type(), 5), int_constant(short_int, 5)), 0);
  EXPECT_EQ(constant_equal(int_constant(default_integer_type(), 1), real_constant(default_real_type(), 1.0)), 0);
  EXPECT_EQ(constant_equal(char_constant("AB"), char_constant("AB")), 1);
  EXPECT_EQ(constant_equal(char_constant("AB"), char_constant("BA")), 0);
  EXPECT_EQ(constant_equal(new_constant(), new_constant()), 0);
}

TEST_F(ConstantsTest, PassSharesEqualValuesAcrossUnits) {
  expr_node* five_a = const_node(int_constant(default_integer_type(), 5));
  expr_node* five_b = const_node(int_constant(default_integer_type(), 5));
  expr_node* five_short = const_node(int_constant(integer_type(0), 5));
  expr_node* one_real = const_node(real_constant(default_real_type(), 1.0));
  expr_node* one_int = const_node(int_constant(default_integer_type(), 1));
  expr_node* ab1 = const_node(char_constant("AB"));
  expr_node* ab2 = const_node(char_constant("AB"));
  expr_node* ba = const_node(char_constant("BA"));
  use({five_a, five_short, one_real, ab1});
  use({five_b, one_int, ab2, ba});
  share_constants_pass(&the_il_header);
  EXPECT_EQ(five_a->constant, five_b->constant);
  EXPECT_NE(five_a->constant, five_short->constant);
  EXPECT_NE(one_real->constant, one_int->constant);
  EXPECT_EQ(ab1->constant, ab2->constant);
  EXPECT_NE(ab1->constant, ba->constant);
  EXPECT_EQ(file_constants(), 6);  // 5, 5 short, 1.0, 1, "AB", "BA"
}

TEST_F(ConstantsTest, AggregatesShareWhenAllElementsAreEqual) {
  auto aggregate = [](int32_t x, int32_t y) {
    constant* a = new_constant();
    init_constant(a, ck_aggregate);
    a->type = array_type(default_integer_type(), 1);
    set_bounds(a->type, 0, 1, 2);
    type_storage_size(a->type);
    a->first_constant = int_constant(default_integer_type(), x);
    a->last_constant = a->first_constant->next = int_constant(default_integer_type(), y);
    return a;
  };
  expr_node* a1 = const_node(aggregate(1, 2));
  expr_node* a2 = const_node(aggregate(1, 2));
  expr_node* a3 = const_node(aggregate(2, 1));
  use({a1, a2, a3});
  share_constants_pass(&the_il_header);
  EXPECT_EQ(a1->constant, a2->constant);
  EXPECT_NE(a1->constant, a3->constant);
}

TEST_F(ConstantsTest, SharingKeepsEveryListWhole) {
  // The element 7 of an aggregate is also the constant of a node of its own:
  // sharing it must not cut the aggregate's chain of elements.
  constant* agg = new_constant();
  init_constant(agg, ck_aggregate);
  agg->type = array_type(default_integer_type(), 1);
  set_bounds(agg->type, 0, 1, 3);
  type_storage_size(agg->type);
  constant* e1 = int_constant(default_integer_type(), 7);
  constant* e2 = int_constant(default_integer_type(), 8);
  constant* e3 = int_constant(default_integer_type(), 9);
  agg->first_constant = e1;
  e1->next = e2;
  e2->next = e3;
  agg->last_constant = e3;
  expr_node* whole = const_node(agg);
  expr_node* seven = const_node(e1);
  expr_node* nine = const_node(e3);
  expr_node* other_nine = const_node(int_constant(default_integer_type(), 9));
  use({whole, seven, nine, other_nine});
  share_constants_pass(&the_il_header);
  EXPECT_EQ(e1->next, e2);
  EXPECT_EQ(e2->next, e3);
  EXPECT_EQ(e3->next, nullptr);
  EXPECT_EQ(nine->constant, other_nine->constant);
  EXPECT_TRUE(constant_equal(seven->constant, e1));
  // The file scope's list holds each distinct value once and ends.
  std::vector<constant*> listed;
  for (constant* c = the_il_header.primary_scope->constants; c && listed.size() < 100; c = c->next)
    listed.push_back(c);
  EXPECT_EQ(listed.size(), 3u);  // the aggregate, 7 and 9
}

TEST_F(ConstantsTest, StructureConstantsAreSharedPerScope) {
  type* t = new_type(tk_derived_type);
  object* f = new_object();
  f->storage_class = sc_type_field;
  f->type = default_integer_type();
  t->first_field = f;
  t->is_seq = true;
  type_storage_size(t);
  auto structure = [&](int32_t v) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = t;
    c->value = static_cast<uint8_t*>(pool_alloc_zeroed(4));
    c->value[0] = static_cast<uint8_t>(v);
    return c;
  };
  expr_node* s1 = const_node(structure(1));
  expr_node* s2 = const_node(structure(1));
  expr_node* s3 = const_node(structure(2));
  use({s1, s2, s3});
  share_constants_pass(&the_il_header);
  EXPECT_EQ(s1->constant, s2->constant);
  EXPECT_NE(s1->constant, s3->constant);
  int in_body = 0;
  for (constant* c = body->constants; c; c = c->next) ++in_body;
  EXPECT_EQ(in_body, 2);
  EXPECT_EQ(file_constants(), 0);
}

TEST_F(ConstantsTest, PassLeavesTheWalkMarksAsTheyWere) {
  expr_node* a = const_node(int_constant(default_integer_type(), 3));
  expr_node* b = const_node(int_constant(default_integer_type(), 3));
  use({a, b});
  share_constants_pass(&the_il_header);
  EXPECT_EQ(a->header & il_walk_mark, 0u);
  EXPECT_EQ(a->constant->header & il_walk_mark, 0u);
  EXPECT_EQ(the_il_header.header & il_walk_mark, 0u);
  EXPECT_EQ(default_integer_type()->header & il_walk_mark, 0u);
}

}  // namespace

namespace {

TEST_F(ConstantsTest, FileScopeListRunsFromTheLastBucketWithChainsReversed) {
  // Walk order 5, 298, 5, 7: 5 and 298 share bucket 5 (298 mod 293), and the
  // second 5 moves its entry back to the front of that bucket: bucket 5 is
  // {5, 298}, bucket 7 is {7}. Flushing puts each entry at the front of the
  // list, bucket by bucket from 0: 7, 298, 5.
  expr_node* n5 = const_node(int_constant(default_integer_type(), 5));
  expr_node* n298 = const_node(int_constant(default_integer_type(), 298));
  expr_node* n5b = const_node(int_constant(default_integer_type(), 5));
  expr_node* n7 = const_node(int_constant(default_integer_type(), 7));
  use({n7, n5b, n298, n5});  // each statement goes before the earlier ones
  share_constants_pass(&the_il_header);
  std::vector<int32_t> values;
  for (constant* c = the_il_header.primary_scope->constants; c && values.size() < 10; c = c->next)
    values.push_back(kind_row_of(kf_integer, c->type->kind)->get_int(c->value));
  EXPECT_EQ(values, (std::vector<int32_t>{7, 298, 5}));
  EXPECT_EQ(n5->constant, n5b->constant);
  // The hash table is empty again: a second pass lists the same three.
  share_constants_pass(&the_il_header);
  EXPECT_EQ(file_constants(), 3);
}

}  // namespace
