// The walker's depth limit: a chain exactly as deep as the limit is walked
// whole and its marks put back; one level more stops the walk at the limit,
// quietly when the caller asks for it, else with the catastrophic error.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/ilfile/il_file.h"
#include "frontend/model/il_walk.h"

namespace {

uint32_t visited;
void count(void*, int, uint32_t) { ++visited; }

// n reference nodes, each the reference of the one before; the first is the root.
expr_node* reference_chain(uint32_t n) {
  pool_ref<expr_node> first = nullptr;
  expr_link* link = &first;
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

// An IL file of n source files, each the only child of the one before: the
// header opens level 1, file i level i + 2.
std::string nested_files(uint32_t n) {
  std::string s = "VAROK IL file (v2.30F)\f\f\n0,h1,f" + std::to_string(n) +
                  ",c0,p0,t0,l0,x0,o0,i0,s0,u0,a0,b0,d0,k0,m0,q0,r0,n0,j0,e0,z0,w0,v0\n"
                  "h0=f0,0,0,0h,0h,N,1\n";
  for (uint32_t i = 0; i < n; ++i) {
    std::string child = i + 1 < n ? "f" + std::to_string(i + 1) : "0";
    s += "f" + std::to_string(i) + "=0h,0h,1,1,1," + child + "," + child + ",0\n";
  }
  return s + "0\n";
}

atom* plain_atom(const char* text) {
  atom* a = pool_new<atom>();
  a->text = text;
  a->length = static_cast<uint32_t>(std::strlen(text));
  return a;
}

il_read_status read_status(const std::string& text) {
  return il_read_buffer(reinterpret_cast<const unsigned char*>(text.data()), text.size(), plain_atom,
                        nullptr)
      .status;
}

TEST_F(WalkDepthTest, ReaderTakesAFileAsDeepAsTheLimit) {
  EXPECT_EQ(read_status(nested_files(il_walk_depth_limit - 1)), il_read_ok);
}

TEST_F(WalkDepthTest, ReaderRejectsAFileOneLevelDeeper) {
  EXPECT_EQ(read_status(nested_files(il_walk_depth_limit)), il_read_too_deep);
}

TEST_F(WalkDepthTest, ReaderKeepsTheCallersWalkState) {
  walk.il_module_mode = true;
  walk.depth = 7;
  EXPECT_EQ(read_status(nested_files(il_walk_depth_limit)), il_read_too_deep);
  EXPECT_TRUE(walk.il_module_mode);
  EXPECT_EQ(walk.depth, 7u);
  EXPECT_FALSE(walk.too_deep);
  EXPECT_FALSE(walk.quiet_too_deep);
}

}  // namespace
