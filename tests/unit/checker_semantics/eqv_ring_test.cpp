// The walk round an EQUIVALENCE ring: without a mark each other member is
// met once; with a mark the end follows the marked members met, and a ring
// whose members are all marked ends after one full circle.
#include <string>
#include <vector>

#include "checker/semantics/equivalence.h"
#include "tests/unit/checker_semantics/semantics_fixture.h"

using EqvRing = CheckerSemanticsTest;

namespace {

bool marked(const locsym* s) { return (s->usage & QB_EQV) != 0; }

std::string walk(locsym* start, bool with_mark) {
  std::string met;
  EqvRingWalk w = eqv_ring_begin(start, with_mark ? marked : nullptr);
  for (locsym* m = eqv_ring_next(w); m != nullptr; m = eqv_ring_next(w)) met += m->name;
  return met;
}

}  // namespace

TEST_F(EqvRing, WalksByTable) {
  struct Case {
    const char* marks;  // the members S, A, U, B marked ("1") or not
    bool with_mark;
    const char* met;
  } cases[] = {
      {"0000", false, "AUB"},
      {"1111", false, "AUB"},
      {"0111", true, "AUB"},
      {"1101", true, "AUBSA"},  // the first unmarked member met ends it
      {"1111", true, "AUBS"},   // all marked: one full circle
  };
  for (const Case& c : cases) {
    std::vector<locsym*> ring = {sym("S", SC_VAR), sym("A", SC_VAR), sym("U", SC_VAR), sym("B", SC_VAR)};
    for (size_t i = 0; i < ring.size(); ++i) {
      ring[i]->link = ring[(i + 1) % ring.size()];
      if (c.marks[i] == '1') ring[i]->usage |= QB_EQV;
    }
    EXPECT_EQ(walk(ring[0], c.with_mark), c.met) << c.marks << c.with_mark;
  }
}

TEST_F(EqvRing, AGroupOfOneMeetsNobody) {
  locsym* s = sym("S", SC_VAR);
  s->link = s;
  s->usage |= QB_EQV;
  EXPECT_EQ(walk(s, false), "");
  EXPECT_EQ(walk(s, true), "");
}
