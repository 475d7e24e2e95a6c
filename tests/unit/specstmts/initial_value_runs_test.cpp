// Initial-value runs of DATA: runs sorted by offset, equal neighbours merged
// into repeat entries, touching runs joined, overlaps refused; and the move
// of an EQUIVALENCE member's runs onto its base object.
#include <gtest/gtest.h>

#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/names.h"
#include "frontend/semantics/storage_association.h"
#include "frontend/driver/preload.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/initial_value_runs.h"

namespace {

class RunsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pools_reset();
    diagnostics_reset();
    the_il_header = il_header{};
    init_il_tables();
    symtab_reset();
    the_il_header.primary_scope = scope_push(sk_file);
  }

  // An INTEGER value constant.
  static constant* ival(int32_t v) {
    type* t = default_integer_type();
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = t;
    c->value = static_cast<uint8_t*>(pool_alloc_zeroed(t->size));
    kind_row_of(kf_integer, t->kind)->set_int(v, c->value);
    return c;
  }

  // An object of a type: REAL X(n) style arrays of INTEGER elements.
  static object* array_object(const char* name, uint32_t n) {
    object* o = new_object();
    o->corresp.name = intern_cstring(name);
    o->storage_class = sc_local;
    type* t = array_type(default_integer_type(), 1);
    t->size = 4 * n;
    o->type = t;
    return o;
  }

  // The runs as text: "[offset+size: v v 3*v] ...".
  static std::string runs(const object* o) {
    std::string out;
    const constant* agg = o->initializer;
    if (!agg) return "none";
    if (agg->kind != ck_aggregate) return "single";
    for (const constant* c = agg->first_constant; c; c = c->next) {
      if (c->kind == ck_init_position) {
        if (!out.empty()) out += "] ";
        out += "[" + std::to_string(c->offset) + "+" + std::to_string(c->segment_size) + ":";
        continue;
      }
      const constant* v = c->kind == ck_init_repeat ? c->repeat_constant : c;
      out += " ";
      if (c->kind == ck_init_repeat) out += std::to_string(c->count) + "*";
      out += std::to_string(kind_row_of(kf_integer, v->type->kind)->get_int(v->value));
    }
    return out + "]";
  }
};

constexpr source_pos_record at{3, 1};

TEST_F(RunsTest, ValuesInOrderMergeIntoOneRunWithRepeats) {
  object* x = array_object("X", 6);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(store_initial_value(x, ival(1), 4 * i, at), 1);
  EXPECT_EQ(store_initial_value(x, ival(2), 12, at), 1);
  EXPECT_EQ(runs(x), "[0+16: 3*1 2]");
  EXPECT_EQ(x->initializer->last_constant->kind, ck_value);
}

TEST_F(RunsTest, RepeatedValuesAreOneEntryAndMergeWithEqualNeighbours) {
  object* x = array_object("X", 8);
  EXPECT_EQ(store_repeated_value(x, ival(0), 3, 0, at), 1);
  EXPECT_EQ(runs(x), "[0+12: 3*0]");
  store_initial_value(x, ival(0), 12, at);
  EXPECT_EQ(store_repeated_value(x, ival(4), 2, 16, at), 1);
  EXPECT_EQ(runs(x), "[0+24: 4*0 2*4]");
  // A repeat that would overlap is refused whole.
  EXPECT_EQ(store_repeated_value(x, ival(9), 2, 20, at), 0);
  EXPECT_EQ(diag.errors, 1u);
  EXPECT_EQ(runs(x), "[0+24: 4*0 2*4]");
}

TEST_F(RunsTest, GapsMakeSeparateRunsAndFillingTheGapJoinsThem) {
  object* x = array_object("X", 6);
  store_initial_value(x, ival(5), 16, at);
  store_initial_value(x, ival(7), 0, at);
  EXPECT_EQ(runs(x), "[0+4: 7] [16+4: 5]");
  store_initial_value(x, ival(7), 4, at);    // grows the first run
  store_initial_value(x, ival(5), 12, at);   // put in front of the second
  EXPECT_EQ(runs(x), "[0+8: 2*7] [12+8: 2*5]");
  store_initial_value(x, ival(7), 8, at);    // touches both: one run
  EXPECT_EQ(runs(x), "[0+20: 3*7 2*5]");
  EXPECT_EQ(diag.errors, 0u);
}

TEST_F(RunsTest, StoresOutOfOrderFindTheirNeighbours) {
  object* x = array_object("X", 6);
  store_initial_value(x, ival(5), 20, at);
  store_initial_value(x, ival(7), 0, at);
  store_initial_value(x, ival(6), 12, at);
  store_initial_value(x, ival(9), 4, at);
  EXPECT_EQ(runs(x), "[0+8: 7 9] [12+4: 6] [20+4: 5]");
  store_initial_value(x, ival(6), 16, at);   // joins the two later runs
  EXPECT_EQ(runs(x), "[0+8: 7 9] [12+12: 2*6 5]");
  EXPECT_EQ(store_initial_value(x, ival(1), 12, at), 0);
  store_initial_value(x, ival(8), 8, at);    // the last gap
  EXPECT_EQ(runs(x), "[0+24: 7 9 8 2*6 5]");
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(RunsTest, StridedStoresInAnyOrderGiveTheRunsOfStoresInOrder) {
  // Every other element first, backwards, then the rest forwards: the same
  // list as storing the elements one after another.
  constexpr int32_t n = 60;
  object* x = array_object("X", n);
  object* y = array_object("Y", n);
  auto value = [](int32_t i) { return ival(i % 3 == 0 ? 1 : 2); };
  for (int32_t i = n - 1; i >= 0; i -= 2) EXPECT_EQ(store_initial_value(x, value(i), 4 * i, at), 1);
  EXPECT_EQ(runs(x).substr(0, 12), "[4+4: 2] [12");
  for (int32_t i = 0; i < n; i += 2) EXPECT_EQ(store_initial_value(x, value(i), 4 * i, at), 1);
  for (int32_t i = 0; i < n; ++i) store_initial_value(y, value(i), 4 * i, at);
  EXPECT_EQ(runs(x), runs(y));
  EXPECT_EQ(runs(x).substr(0, 19), "[0+240: 1 2*2 1 2*2");
  EXPECT_EQ(diag.errors, 0u);
}

TEST_F(RunsTest, OverlapIsMessage17AndStoresNothing) {
  object* x = array_object("X", 4);
  store_initial_value(x, ival(1), 0, at);
  store_initial_value(x, ival(2), 4, at);
  EXPECT_EQ(store_initial_value(x, ival(9), 4, at), 0);
  EXPECT_EQ(store_initial_value(x, ival(9), 2, at), 0);  // straddles the first run's end
  EXPECT_EQ(diag.errors, 2u);
  EXPECT_EQ(runs(x), "[0+8: 1 2]");
}

TEST_F(RunsTest, WholeScalarTakesTheValueOnce) {
  object* n = new_object();
  n->corresp.name = intern_cstring("N");
  n->storage_class = sc_local;
  n->type = default_integer_type();
  constant* v = ival(3);
  EXPECT_EQ(store_initial_value(n, v, 0, at), 1);
  EXPECT_EQ(n->initializer, v);
  EXPECT_EQ(store_initial_value(n, ival(4), 0, at), 0);
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(RunsTest, AssociatedObjectStoresIntoItsBase) {
  object* base = array_object("", 4);
  object* y = array_object("Y", 2);
  y->storage_class = sc_associated;
  y->assoc_variable = base;
  y->association_offset = 8;
  store_initial_value(y, ival(6), 4, at);
  EXPECT_EQ(y->initializer, nullptr);
  EXPECT_EQ(runs(base), "[12+4: 6]");
}

TEST_F(RunsTest, MarkInitializedStorageMovesAndMergesRuns) {
  // A member with runs onto a base without initializer: moved by the offset.
  object* base = array_object("", 8);
  object* a = array_object("A", 2);
  store_initial_value(a, ival(1), 0, at);
  store_initial_value(a, ival(1), 4, at);
  a->storage_class = sc_associated;
  a->assoc_variable = base;
  a->association_offset = 4;
  mark_initialized_storage(a);
  EXPECT_EQ(a->initializer, nullptr);
  EXPECT_EQ(runs(base), "[4+8: 2*1]");
  EXPECT_TRUE(base->is_saved);
  // A second member touching the run is joined; one overlapping gives 17.
  object* b = array_object("B", 1);
  store_initial_value(b, ival(1), 0, at);
  b->storage_class = sc_associated;
  b->assoc_variable = base;
  b->association_offset = 12;
  mark_initialized_storage(b);
  EXPECT_EQ(runs(base), "[4+12: 3*1]");
  object* c = array_object("C", 1);
  store_initial_value(c, ival(2), 0, at);
  c->storage_class = sc_associated;
  c->assoc_variable = base;
  c->association_offset = 8;
  mark_initialized_storage(c);
  EXPECT_EQ(diag.errors, 1u);
  EXPECT_EQ(runs(base), "[4+12: 3*1]");
  // Stores after the move find the moved runs.
  store_initial_value(base, ival(1), 0, at);  // joins the run after it
  store_initial_value(base, ival(3), 20, at);
  store_initial_value(base, ival(3), 16, at);
  EXPECT_EQ(runs(base), "[0+24: 4*1 2*3]");
}

}  // namespace
