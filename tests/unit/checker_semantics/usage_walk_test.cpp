// Uses spreading through storage association (EQUIVALENCE rings and COMMON
// members that overlap), occurrences merged by place, and the table of
// structure-component paths.
#include "tests/unit/checker_semantics/semantics_fixture.h"

#include <cstring>
#include <deque>

#include "checker/reader/commonstmt.h"

namespace {

class UsageWalk : public CheckerSemanticsTest {
 protected:
  // A storage-associated variable at offset and size.
  locsym* stored(const char* name, int32_t offset, int32_t size, uint8_t props) {
    locsym* s = sym(name, SC_VAR, DT_I4);
    s->offset = offset;
    s->size = size;
    s->props = props;
    return s;
  }
  // Closes the symbols into one EQUIVALENCE ring, in order.
  static void ring(std::initializer_list<locsym*> members) {
    std::vector<locsym*> v(members);
    for (size_t i = 0; i < v.size(); ++i) v[i]->link = v[(i + 1) % v.size()];
  }
  // Appends a member to a COMMON block.
  void member(locsym* blk, locsym* m) {
    ComMember& n = coms_.emplace_back();
    n.sym = m;
    m->link = blk;
    ComMember** tail = reinterpret_cast<ComMember**>(&blk->list);
    while (*tail != nullptr) tail = &(*tail)->next;
    *tail = &n;
  }
  std::deque<ComMember> coms_;
};

TEST_F(UsageWalk, SettingOneMemberOfARingSetsTheOverlappingOnes) {
  locsym* a = stored("A", 0, 4, CP_EQVGRP);
  locsym* b = stored("B", 0, 4, CP_EQVGRP);
  locsym* c = stored("C", 4, 4, CP_EQVGRP);
  ring({a, b, c});
  flaguse(b, QB_SET, 0);
  EXPECT_NE(b->usage & QB_SET, 0u);
  EXPECT_NE(a->usage & QB_SET, 0u);
  EXPECT_EQ(c->usage & QB_SET, 0u);  // no storage in common with B
  ASSERT_NE(a->xhead, nullptr);
  EXPECT_EQ(a->xhead->assoc, 1);  // recorded through the association
  ASSERT_NE(b->xhead, nullptr);
  EXPECT_EQ(b->xhead->assoc, 0);
}

TEST_F(UsageWalk, AnInitialValueReachesTheOthersAsIndirect) {
  locsym* a = stored("A", 0, 8, CP_EQVGRP);
  locsym* b = stored("B", 4, 4, CP_EQVGRP);
  ring({a, b});
  flaguse(a, QB_INIT, 0);
  EXPECT_NE(a->usage & QB_INIT, 0u);
  EXPECT_EQ(b->usage & QB_INIT, 0u);
  EXPECT_NE(b->usage & QB_INDINIT, 0u);
}

TEST_F(UsageWalk, ARingWhoseMembersAllCarryTheRenameMarkEndsAfterOneCircle) {
  locsym* a = stored("A", 0, 4, CP_EQVGRP);
  locsym* b = stored("B", 0, 4, CP_EQVGRP);
  locsym* c = stored("C", 0, 4, CP_EQVGRP);
  for (locsym* s : {a, b, c}) s->attrib |= 0x8000000u;
  ring({a, b, c});
  flaguse(a, QB_REF, 0);  // would end only at the step limit otherwise
  EXPECT_NE(b->usage & QB_REF, 0u);
  EXPECT_NE(c->usage & QB_REF, 0u);
}

TEST_F(UsageWalk, ACommonMemberReachesOnlyTheMembersItOverlaps) {
  locsym* blk = sym("BLK", SC_COM);
  locsym* x = stored("X", 0, 4, CP_COMBLK);
  locsym* y = stored("Y", 4, 4, CP_COMBLK);
  locsym* z = stored("Z", 0, 8, CP_COMBLK);
  member(blk, x);
  member(blk, y);
  member(blk, z);
  flaguse(x, QB_SET, 0);
  EXPECT_NE(z->usage & QB_SET, 0u);
  EXPECT_EQ(y->usage & QB_SET, 0u);
}

TEST_F(UsageWalk, WithoutASizeNothingSpreads) {
  locsym* a = stored("A", 0, 0, CP_EQVGRP);
  locsym* b = stored("B", 0, 0, CP_EQVGRP);
  ring({a, b});
  flaguse(a, QB_SET, 0);
  EXPECT_EQ(b->usage, 0u);
}

// A member whose size could not be known (-2) may reach from its place to
// the end of its group's storage, and one whose place in its COMMON block
// could not be known (an offset of -2) may lie anywhere in it: uses reach
// such members and spread from them to every member they may overlap.
TEST_F(UsageWalk, AMemberOfUnknownSizeOrPlaceMayOverlapAnyOther) {
  locsym* a = stored("A", 0, -2, CP_EQVGRP);
  locsym* b = stored("B", 0, 4, CP_EQVGRP);
  locsym* c = stored("C", 8, 4, CP_EQVGRP);
  ring({a, b, c});
  flaguse(b, QB_SET, 0);
  EXPECT_NE(a->usage & QB_SET, 0u);
  EXPECT_EQ(c->usage & QB_SET, 0u);  // B and C lie apart
  flaguse(a, QB_REF, 0);
  EXPECT_NE(b->usage & QB_REF, 0u);
  EXPECT_NE(c->usage & QB_REF, 0u);

  locsym* blk = sym("BLK", SC_COM);
  locsym* x = stored("X", 0, 4, CP_COMBLK);
  locsym* y = stored("Y", 4, -2, CP_COMBLK);
  locsym* z = stored("Z", -2, 4, CP_COMBLK);
  locsym* w = stored("W", 8, 4, CP_COMBLK);
  for (locsym* m : {x, y, z, w}) member(blk, m);
  flaguse(x, QB_SET, 0);
  EXPECT_EQ(y->usage & QB_SET, 0u);  // begins where X ends
  EXPECT_NE(z->usage & QB_SET, 0u);  // placed after a member of unknown size
  EXPECT_EQ(w->usage & QB_SET, 0u);
  flaguse(y, QB_REF, 0);
  EXPECT_EQ(x->usage & QB_REF, 0u);
  EXPECT_NE(z->usage & QB_REF, 0u);
  EXPECT_NE(w->usage & QB_REF, 0u);  // Y may reach past W's place
}

TEST_F(UsageWalk, TwoUsesAtOnePlaceMakeOneOccurrence) {
  locsym* v = sym("V", SC_VAR, DT_I4);
  flaguse(v, QB_SET, 0);
  flaguse(v, QB_REF, 0);
  ASSERT_NE(v->xhead, nullptr);
  EXPECT_EQ(v->xhead, v->xtail);
  EXPECT_EQ(v->xhead->usage & (QB_SET | QB_REF), QB_SET | QB_REF);
  // A reference after a setting is no reference before it.
  EXPECT_EQ(v->usage & QB_RBS, 0u);
}

TEST_F(UsageWalk, AReferenceBeforeAnySettingIsMarked) {
  locsym* v = sym("V", SC_VAR, DT_I4);
  flaguse(v, QB_REF, 0);
  EXPECT_NE(v->usage & QB_RBS, 0u);
}

TEST_F(UsageWalk, ComponentPathsAreStoredOnce) {
  init_structcomp_tbl();
  const char* p = store_structcomp("A%B%C");
  const char* q = store_structcomp("A%B%C");
  const char* r = store_structcomp("A%B");
  EXPECT_EQ(p, q);
  EXPECT_NE(p, r);
  EXPECT_STREQ(p, "A%B%C");
  EXPECT_EQ(getstr_structcomp("A%B"), r);
  EXPECT_EQ(getstr_structcomp("A%X"), nullptr);
  EXPECT_EQ(structcomp_bytes(), 6 + 4);  // each string once, with its NUL
  init_structcomp_tbl();
  EXPECT_EQ(structcomp_bytes(), 0);
}

}  // namespace
