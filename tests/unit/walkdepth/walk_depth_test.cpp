// The walker's depth limit: a chain exactly as deep as the limit is walked
// whole and its marks put back; one level more stops the walk at the limit,
// quietly when the caller asks for it, else with the catastrophic error.
#include <gtest/gtest.h>

#include "frontend/driver/diagnostics.h"
#include "frontend/driver/pools.h"
#include "frontend/model/il_walk.h"

namespace {

uint32_t visited;
void count(void*, int, uint32_t) { ++visited; }

// n reference nodes, each the reference of the one before; the first is the root.
expr_node* reference_chain(uint32_t n) {
  expr_node* first = nullptr;
  expr_node** link = &first;
  for (uint32_t i = 0; i < n; ++i) {
    expr_node* e = pool_new<expr_node>();
    e->node_kind = enk_ref;
    *link = e;
    link = &e->reference;
  }
  return first;
}

void walk_chain(expr_node* root) {
  visited = 0;
  il_walk(root, ilk_expr_node, il_entry_size(ilk_expr_node), nullptr, count, nullptr, count);
}

class WalkDepthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pools_reset();
    diagnostics_reset();
    walk = WalkState{};
  }
  void TearDown() override { walk = WalkState{}; }
};

TEST_F(WalkDepthTest, ChainAsDeepAsTheLimitIsWalkedWhole) {
  walk.quiet_too_deep = true;
  expr_node* root = reference_chain(il_walk_depth_limit);
  walk_chain(root);
  EXPECT_FALSE(walk.too_deep);
  EXPECT_EQ(visited, 2 * il_walk_depth_limit);  // both passes
  EXPECT_EQ(walk.depth, 0u);
  for (expr_node* e = root; e; e = e->reference) ASSERT_EQ(e->header & il_walk_mark, 0u);
}

TEST_F(WalkDepthTest, OneLevelMoreStopsQuietlyAtTheLimit) {
  walk.quiet_too_deep = true;
  expr_node* root = reference_chain(il_walk_depth_limit + 1);
  walk_chain(root);
  EXPECT_TRUE(walk.too_deep);
  EXPECT_EQ(visited, il_walk_depth_limit);  // the first pass up to the limit, no second pass
  EXPECT_EQ(walk.depth, 0u);
  expr_node* last = root;
  while (last->reference) last = last->reference;
  EXPECT_EQ(last->header & il_walk_mark, 0u);  // never reached
}

TEST_F(WalkDepthTest, TheNextWalkStartsAfresh) {
  walk.quiet_too_deep = true;
  walk_chain(reference_chain(il_walk_depth_limit + 1));
  ASSERT_TRUE(walk.too_deep);
  walk_chain(reference_chain(3));
  EXPECT_FALSE(walk.too_deep);
  EXPECT_EQ(visited, 6u);
}

TEST_F(WalkDepthTest, WithoutQuietModeTheRunEnds) {
  expr_node* root = reference_chain(il_walk_depth_limit + 1);
  EXPECT_EXIT(walk_chain(root), ::testing::ExitedWithCode(4),
              "Catastrophic error: invalid intermediate language file");
}

}  // namespace
