// Structural comparison of structures and derived types: local against
// local, global against local, and global against global.
#include "tests/unit/checker_semantics/semantics_fixture.h"

#include "checker/semantics/samestruct.h"

using SameStruct = CheckerSemanticsTest;

TEST_F(SameStruct, LocalTypesWithOneComponentOfTheSameThirdTypeAreEqual) {
  locsym* c = type("C");
  field(c, "I", DT_I4);
  locsym* a = type("A");
  field_of(a, "X", c);
  locsym* b = type("B");
  field_of(b, "Y", c);
  EXPECT_EQ(samestruct_LL(a, b), 1);
}

TEST_F(SameStruct, LocalComparisonByTable) {
  struct Case {
    const char* what;
    int expected;
  };
  // Each case builds two definitions a and b.
  auto build = [&](int k, locsym*& a, locsym*& b) {
    a = type("A");
    b = type("B");
    switch (k) {
      case 0:  // both without components
        break;
      case 1:  // one without components
        field(a, "I", DT_I4);
        break;
      case 2:  // same codes in the same order
        field(a, "I", DT_I4), field(a, "R", DT_R8);
        field(b, "J", DT_I4), field(b, "S", DT_R8);
        break;
      case 3:  // codes differ
        field(a, "I", DT_I4);
        field(b, "J", DT_R4);
        break;
      case 4:  // b has one component more
        field(a, "I", DT_I4);
        field(b, "J", DT_I4), field(b, "K", DT_I4);
        break;
      case 5:  // 10 elements against 10 elements, other bounds
        dim(field(a, "I", DT_I4), 1, 10);
        dim(field(b, "J", DT_I4), 0, 9);
        break;
      case 6:  // 10 elements against 12 (3 x 4)
        dim(field(a, "I", DT_I4), 1, 10);
        {
          locsym* j = field(b, "J", DT_I4);
          dim(j, 1, 3);
          dim(j, 1, 4);
        }
        break;
      case 7:  // an array against a scalar
        dim(field(a, "I", DT_I4), 1, 2);
        field(b, "J", DT_I4);
        break;
      case 8:  // CHARACTER*4 against CHARACTER*8
        field(a, "S", DT_CHAR, 4);
        field(b, "T", DT_CHAR, 8);
        break;
      case 9:  // CHARACTER*4 against CHARACTER*4
        field(a, "S", DT_CHAR, 4);
        field(b, "T", DT_CHAR, 4);
        break;
      case 10:  // a STRUCTURE against a derived type
        b->sclass = SC_STRUCT;
        break;
      case 11:  // a record variable is no definition
        a->sclass = SC_REC90;
        b->sclass = SC_REC90;
        break;
    }
  };
  const Case cases[] = {
      {"both without components", 1}, {"one without components", 0},
      {"same codes", 1},              {"codes differ", 0},
      {"one component more", 0},      {"10 and 10 elements", 1},
      {"10 and 12 elements", 0},      {"array and scalar", 0},
      {"CHARACTER*4 and *8", 0},      {"CHARACTER*4 and *4", 1},
      {"STRUCTURE and TYPE", 0},      {"not definitions", 0},
  };
  for (int k = 0; k < static_cast<int>(std::size(cases)); ++k) {
    locsym* a = nullptr;
    locsym* b = nullptr;
    build(k, a, b);
    EXPECT_EQ(samestruct_LL(a, b), cases[k].expected) << cases[k].what;
    EXPECT_EQ(samestruct_LL(b, a), cases[k].expected) << cases[k].what << " (swapped)";
  }
}

TEST_F(SameStruct, LocalNullAndSameSymbol) {
  locsym* a = type("A");
  field(a, "I", DT_I4);
  EXPECT_EQ(samestruct_LL(a, nullptr), 0);
  EXPECT_EQ(samestruct_LL(nullptr, a), 0);
  EXPECT_EQ(samestruct_LL(a, a), 1);
  locsym* v = sym("V", SC_VAR, DT_I4);
  EXPECT_EQ(samestruct_LL(v, v), 1);  // the same symbol, whatever it is
}

TEST_F(SameStruct, LocalNestedTypesAreComparedRecursively) {
  locsym* p = type("P");
  field(p, "I", DT_I4);
  locsym* q = type("Q");  // P's layout under another name
  field(q, "J", DT_I4);
  locsym* r = type("R");  // another layout
  field(r, "X", DT_R4);
  locsym* a = type("A");
  field_of(a, "X", p);
  locsym* b = type("B");
  field_of(b, "Y", q);
  locsym* c = type("C");
  field_of(c, "Z", r);
  EXPECT_EQ(samestruct_LL(a, b), 1);
  EXPECT_EQ(samestruct_LL(a, c), 0);
}

TEST_F(SameStruct, SelfReferencingLocalTypesTerminate) {
  // TYPE A: INTEGER I; TYPE(A), POINTER :: NEXT, and B alike; C ends in REAL.
  locsym* a = type("A");
  field(a, "I", DT_I4);
  field_of(a, "NEXT", a)->attrib = 0x2;
  locsym* b = type("B");
  field(b, "I", DT_I4);
  field_of(b, "NEXT", b)->attrib = 0x2;
  locsym* c = type("C");
  field(c, "I", DT_R4);
  field_of(c, "NEXT", c)->attrib = 0x2;
  EXPECT_EQ(samestruct_LL(a, b), 1);
  EXPECT_EQ(samestruct_LL(a, c), 0);
  // Mutually referencing pairs: A1 -> A2 -> A1 against B1 -> B2 -> B1.
  locsym* a1 = type("A1");
  locsym* a2 = type("A2");
  locsym* b1 = type("B1");
  locsym* b2 = type("B2");
  field_of(a1, "X", a2);
  field_of(a2, "Y", a1);
  field_of(b1, "X", b2);
  field_of(b2, "Y", b1);
  EXPECT_EQ(samestruct_LL(a1, b1), 1);
}

class SameStructDepth : public CheckerSemanticsTest {
 public:
  // Two chains of types, each one holding the next, depth types deep above
  // a type with one INTEGER component.
  void chain(int depth, locsym*& a, locsym*& b) {
    locsym* na = type("AEND");
    field(na, "I", DT_I4);
    locsym* nb = type("BEND");
    field(nb, "I", DT_I4);
    for (int k = 0; k < depth; ++k) {
      locsym* ta = type("A");
      field_of(ta, "X", na);
      locsym* tb = type("B");
      field_of(tb, "X", nb);
      na = ta;
      nb = tb;
    }
    a = na;
    b = nb;
  }
};

TEST_F(SameStructDepth, NinetyNineNestedLevelsAreCompared) {
  // The outermost pair and 99 nested ones: 100 comparisons open at once.
  locsym* a = nullptr;
  locsym* b = nullptr;
  chain(99, a, b);
  EXPECT_EQ(samestruct_LL(a, b), 1);
}

TEST_F(SameStructDepth, AHundredNestedLevelsAreAnInternalError) {
  locsym* a = nullptr;
  locsym* b = nullptr;
  chain(100, a, b);
  EXPECT_EXIT(samestruct_LL(a, b), ::testing::ExitedWithCode(4), "");
}

TEST_F(SameStruct, GlobalAgainstLocalWithSizesComputedOnDemand) {
  opensymt();
  int32_t gi = gcomp("I", DT_I4, 4);
  int32_t gr = gcomp("R", DT_R8, 40);  // REAL*8 R(5)
  int32_t gs = gcomp("S", DT_CHAR, 6);
  int32_t g = gtype("T", 3);
  setcomps(g, {gi, gr, gs});
  locsym* l = type("T");
  locsym* i = field(l, "I", DT_I4);
  locsym* r = field(l, "R", DT_R8);
  dim(r, 1, 5);
  locsym* s = field(l, "S", DT_CHAR, 6);
  EXPECT_EQ(samestruct_GL(g, l), 1);
  EXPECT_EQ(i->size, 4);
  EXPECT_EQ(r->size, 40);
  EXPECT_EQ(s->size, 6);
  // A size already known is taken as it is.
  r->size = 32;
  EXPECT_EQ(samestruct_GL(g, l), 0);
}

TEST_F(SameStruct, GlobalAgainstLocalByTable) {
  opensymt();
  int32_t g4 = gcomp("I", DT_I4, 4);
  int32_t gtwo = gtype("TWO", 2);
  setcomps(gtwo, {g4, gcomp("J", DT_I4, 4)});
  int32_t gone = gtype("ONE", 1);
  setcomps(gone, {g4});
  int32_t gnone = gtype("NONE", 0);
  int32_t gchar = gtype("CH", 1);
  setcomps(gchar, {gcomp("C", DT_CHAR, 4)});

  locsym* lone = type("ONE");
  field(lone, "I", DT_I4);
  locsym* ltwo = type("TWO");
  field(ltwo, "I", DT_I4), field(ltwo, "J", DT_I4);
  locsym* lnone = type("NONE");
  locsym* lreal = type("RL");
  field(lreal, "X", DT_R4);  // 4 bytes like I*4, another code
  locsym* lchar5 = type("CH");
  field(lchar5, "C", DT_CHAR, 5);
  locsym* lvar = sym("V", SC_REC90);

  struct Case {
    int32_t g;
    locsym* l;
    int expected;
    const char* what;
  } cases[] = {
      {gone, lone, 1, "one I*4 each"},
      {gtwo, ltwo, 1, "two I*4 each"},
      {gtwo, lone, 0, "the local list ends first"},
      {gone, ltwo, 0, "the global list ends first"},
      {gnone, lnone, 1, "both without components"},
      {gnone, lone, 0, "global without components"},
      {gone, lnone, 0, "local without components"},
      {gone, lreal, 0, "same size, other code"},
      {gchar, lchar5, 0, "CHARACTER 4 bytes against 5"},
      {0, lone, 0, "no global record"},
      {gone, nullptr, 0, "no local symbol"},
      {gone, lvar, 0, "a record variable is no definition"},
      {g4, lone, 0, "the global record is no structure"},
      {symt.symcnt + 5, lone, 0, "a record beyond the store"},
  };
  for (const Case& c : cases) EXPECT_EQ(samestruct_GL(c.g, c.l), c.expected) << c.what;
}

TEST_F(SameStruct, GlobalAgainstLocalNestedAndSelfReferencing) {
  opensymt();
  // TYPE P: INTEGER I. TYPE A: TYPE(P) X(2); TYPE(A), POINTER :: NEXT.
  int32_t gp = gtype("P", 1);
  setcomps(gp, {gcomp("I", DT_I4, 4)});
  int32_t ga = gtype("A", 2);
  setcomps(ga, {gcomp("X", DT_TYPE, 8, gp), gcomp("NEXT", DT_TYPE, 4, ga)});
  locsym* lp = type("P");
  field(lp, "I", DT_I4);
  locsym* la = type("A");
  dim(field_of(la, "X", lp), 1, 2);
  locsym* next = field_of(la, "NEXT", la);
  next->attrib = 0x2;
  EXPECT_EQ(samestruct_GL(ga, la), 1);
  EXPECT_EQ(next->size, 4);
  EXPECT_EQ(lp->size, 4);
  // The same with a nested type whose component is REAL.
  locsym* lq = type("Q");
  field(lq, "I", DT_R4);
  locsym* lb = type("A");
  dim(field_of(lb, "X", lq), 1, 2);
  field_of(lb, "NEXT", lb)->attrib = 0x2;
  EXPECT_EQ(samestruct_GL(ga, lb), 0);
}

TEST_F(SameStruct, GlobalAgainstGlobal) {
  opensymt();
  int32_t gi = gcomp("I", DT_I4, 4);
  int32_t gr = gcomp("R", DT_R4, 4);
  int32_t t1 = gtype("T", 1);
  setcomps(t1, {gi});
  int32_t t2 = gtype("T", 1);
  setcomps(t2, {gi});
  int32_t u = gtype("U", 1);
  setcomps(u, {gi});
  int32_t v = gtype("V", 1);
  setcomps(v, {gr});
  int32_t w = gtype("W", 2);
  setcomps(w, {gi, gi});
  // Self-referencing: S and S2 each hold an I*4 and a pointer to themselves.
  int32_t s = gtype("S", 2);
  setcomps(s, {gi, gcomp("N", DT_TYPE, 4, s)});
  int32_t s2 = gtype("S2", 2);
  setcomps(s2, {gi, gcomp("N", DT_TYPE, 4, s2)});
  EXPECT_EQ(samestruct_GG(t1, t1), 2);
  EXPECT_EQ(samestruct_GG(t1, t2), 2);  // same layout, same name
  EXPECT_EQ(samestruct_GG(t1, u), 1);   // same layout, other name
  EXPECT_EQ(samestruct_GG(t1, v), 0);   // other code
  EXPECT_EQ(samestruct_GG(t1, w), 0);   // other count
  EXPECT_EQ(samestruct_GG(t1, 0), 0);
  EXPECT_EQ(samestruct_GG(s, s2), 1);
}
