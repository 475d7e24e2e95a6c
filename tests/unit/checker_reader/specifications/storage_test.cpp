// Storage sizes and layouts settled when the specification part ends:
// COMMON blocks laid out member by member, EQUIVALENCE groups placed in
// rings, and groups that touch a COMMON block moved into it.
#include <vector>

#include "checker/reader/commonstmt.h"
#include "checker/semantics/sizes.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

class Storage : public SpecStatementTest {
 protected:
  // Reads the source text as a program unit, its END included.
  void read_unit(const char* src) {
    workfiles_close();
    open_source(src, ".f90");
    parse_unit();
  }
};

namespace {

// The members of a COMMON block in list order.
std::vector<const locsym*> members(const locsym* block) {
  std::vector<const locsym*> out;
  for (const ComMember* m = static_cast<const ComMember*>(block->list); m != nullptr; m = m->next) out.push_back(m->sym);
  return out;
}

}  // namespace

// Each member follows the one before it; the block is as long as its
// members together.
TEST_F(Storage, CommonBlocksAreLaidOutMemberByMember) {
  read_unit(
      "subroutine s\n"
      "integer i, j\n"
      "real r(3)\n"
      "double precision d\n"
      "character*5 c\n"
      "common /b/ i, r, d /t/ c, j\n"
      "i = 1\n"
      "end\n");
  struct Want {
    const char* name;
    int32_t offset;
    int32_t size;
  } wants[] = {{"I", 0, 4}, {"R", 4, 12}, {"D", 16, 8}, {"C", 0, 5}, {"J", 5, 4}};
  for (const Want& w : wants) {
    locsym* s = find(w.name);
    ASSERT_NE(s, nullptr) << w.name;
    EXPECT_EQ(s->offset, w.offset) << w.name;
    EXPECT_EQ(s->size, w.size) << w.name;
  }
  EXPECT_EQ(find("B", SC_COM)->size, 24);
  EXPECT_EQ(find("T", SC_COM)->size, 9);
  workfiles_close();
}

// A member whose length is not constant makes the block's size unknown,
// and the offsets after it.
TEST_F(Storage, AMemberOfUnknownSizeMakesTheRestUnknown) {
  read_unit(
      "subroutine s(n)\n"
      "integer n, k, l\n"
      "character*(n) w\n"
      "common /v/ k, w, l\n"
      "k = 1\n"
      "end\n");
  EXPECT_EQ(find("K")->offset, 0);
  EXPECT_EQ(find("W")->offset, 4);
  EXPECT_EQ(find("W")->size, -2);
  EXPECT_EQ(find("L")->offset, -2);
  EXPECT_EQ(find("V", SC_COM)->size, -2);
  workfiles_close();
}

// Objects of EQUIVALENCE groups share storage where their named storage
// units meet: A(3) and B(1) put B 8 bytes after A, C at B(2) 12 bytes.
TEST_F(Storage, EquivalenceGroupsFormOneRing) {
  read_unit(
      "program p\n"
      "real a(10), b(5), c\n"
      "equivalence (a(3), b(1)), (c, b(2))\n"
      "a = 1\n"
      "end\n");
  locsym* a = find("A");
  locsym* b = find("B");
  locsym* c = find("C");
  EXPECT_EQ(a->offset, 0);
  EXPECT_EQ(b->offset, 8);
  EXPECT_EQ(c->offset, 12);
  EXPECT_EQ(a->link, b);
  EXPECT_EQ(b->link, c);
  EXPECT_EQ(c->link, a);
  for (const locsym* s : {a, b, c}) EXPECT_TRUE(s->props & CP_EQVGRP) << s->name;
  EXPECT_EQ(count(173), 0);
  workfiles_close();
}

// An object equivalenced with a COMMON member joins the block, with the
// rest of its group, and the block grows to cover it.
TEST_F(Storage, AGroupThatMeetsACommonBlockJoinsIt) {
  read_unit(
      "program p\n"
      "real a(2), x(4), y\n"
      "common /e/ a\n"
      "equivalence (a(2), x(1)), (y, x(2))\n"
      "a = 1\n"
      "end\n");
  locsym* e = find("E", SC_COM);
  locsym* a = find("A");
  locsym* x = find("X");
  locsym* y = find("Y");
  EXPECT_EQ(x->offset, 4);
  EXPECT_EQ(y->offset, 8);
  EXPECT_EQ(e->size, 20);
  EXPECT_EQ(members(e), (std::vector<const locsym*>{a, x, y}));
  for (const locsym* s : {x, y}) {
    EXPECT_EQ(s->link, e) << s->name;
    EXPECT_TRUE(s->props & CP_COMBLK) << s->name;
    EXPECT_FALSE(s->props & CP_EQVGRP) << s->name;
    EXPECT_TRUE(s->usage & QB_ALI) << s->name;
  }
  EXPECT_FALSE(a->usage & QB_ALI);
  EXPECT_EQ(count(172), 0);
  workfiles_close();
}

// Records take their elements times their type's size.
TEST_F(Storage, DerivedTypeRecordSizes) {
  read_unit(
      "program p\n"
      "type t\n"
      "integer i\n"
      "real r(2)\n"
      "end type\n"
      "type(t) :: v(3), w\n"
      "v(1)%i = 1\n"
      "end\n");
  locsym* t = find("T", SC_STRUCT90);
  locsym* v = find("V");
  locsym* w = find("W");
  ASSERT_TRUE(t != nullptr && v != nullptr && w != nullptr);
  EXPECT_EQ(t->size, 12);
  EXPECT_EQ(v->size, 36);
  EXPECT_EQ(w->size, 12);
  workfiles_close();
}
