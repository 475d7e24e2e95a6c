// The merge of program units into the global symbol table and procedure
// references resolved against it: units built by hand as scope level 1 of
// the local table, merged one after the other with the global-check option
// on, and the messages counted in the catalogue.
#include "tests/unit/checker_semantics/semantics_fixture.h"

#include "checker/base/cmmdline.h"
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/base/errmsg.h"
#include "checker/base/passes.h"
#include "checker/reader/commonstmt.h"
#include "checker/reader/unitstmt.h"
#include "checker/semantics/getfun.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/merge.h"

namespace {

class Merge : public CheckerSemanticsTest {
 protected:
  void SetUp() override {
    CheckerSemanticsTest::SetUp();
    errmsg_reset();
    for (const char* line : {" 85 IE t", " 90 IE t", " 94 IE t", " 95 IE t", "121 IE t", "122 IE t",
                             "140 IE t", "185 IE t", "826 IE t"})
      errfileline(line);
    saved_gloopt_ = gloopt;
    saved_libopt_ = libopt;
    saved_xrsave_ = xrsave;
    gloopt = 1;
    libopt = 0;
    an.curfil = 1;
    opensymt();
  }
  void TearDown() override {
    gloopt = saved_gloopt_;
    libopt = saved_libopt_;
    xrsave = saved_xrsave_;
    errmsg_reset();
    CheckerSemanticsTest::TearDown();
  }

  // Starts a new unit at scope level 1 whose own symbol is u.
  void begin(locsym* u) {
    Status.scope_level = 1;
    Scope[1] = loc_scope{};
    Scope[1].unitsym = u;
    prgnam = u;
    u->usage |= QB_SET;
    u->squal = SQ_EXTERNAL;
    u->line = 1;
    add(u);
  }
  // Appends a symbol to the unit's creation-order list.
  locsym* add(locsym* s) {
    s->owner = prgnam;
    if (Scope[1].tail == nullptr) {
      Scope[1].head = s;
    } else {
      Scope[1].tail->snext = s;
    }
    Scope[1].tail = s;
    return s;
  }
  // A COMMON block of the unit with scalar members of the given codes.
  locsym* common(const char* name, const std::vector<std::pair<const char*, uint8_t>>& members) {
    locsym* blk = add(sym(name, SC_COM));
    int32_t offset = 0;
    ComMember** tail = reinterpret_cast<ComMember**>(&blk->list);
    for (const auto& [mname, code] : members) {
      locsym* m = add(sym(mname, SC_VAR, code));
      m->props = CP_COMBLK;
      m->usage = QB_SET;  // the unit assigns its members
      m->link = blk;
      m->offset = offset;
      m->size = getdtsize(code) > 0 ? getdtsize(code) : 4;  // default kinds: 4 bytes
      offset += m->size;
      ComMember& node = members_.emplace_back(ComMember{m, 1, nullptr});
      *tail = &node;
      tail = &node.next;
    }
    blk->size = offset;
    return blk;
  }
  // Gives a procedure one more dummy argument.
  void dummy(locsym* proc, locsym* d) {
    d->usage |= QB_DUM;
    DummyNode& node = dummies_.emplace_back(DummyNode{d, nullptr, nullptr, nullptr});
    DummyNode** tail = reinterpret_cast<DummyNode**>(&proc->list);
    while (*tail != nullptr) tail = &(*tail)->next;
    *tail = &node;
  }
  int32_t count(int32_t n) const { return ecat.errcnt[n]; }

  std::deque<ComMember> members_;
  std::deque<DummyNode> dummies_;
  int32_t saved_gloopt_ = 0;
  int32_t saved_libopt_ = 0;
  int32_t saved_xrsave_ = 0;
  // A new record of a name not stored yet, of class sc with attributes.
  static int32_t record(const char* name, uint8_t sc, uint32_t attrs) {
    symrec r;
    int32_t rec = 0;
    lookup(name, r, &rec, 0);
    symrec_clear(r);
    int32_t n = instal(name, r);
    symrec_setname(r, name);
    r.sc = sc;
    r.attrs = attrs;
    writesymh(n, r);
    return n;
  }
  static uint8_t class_of(int32_t n) {
    symrec r;
    readsymi(n, r);
    return r.sc;
  }
  // The related-entity word of a symbol's record.
  static int32_t related(const locsym* s) {
    symrec r;
    readsymh(static_cast<int32_t>(s->glorec), r);
    return r.related;
  }
};

TEST_F(Merge, SameCommonInTwoUnitsIsOneRecordWithoutMessages) {
  begin(sym("U1", SC_SUB));
  locsym* c1 = common("C", {{"X", DT_REAL}, {"Y", DT_INT}});
  merge2();
  begin(sym("U2", SC_SUB));
  locsym* c2 = common("C", {{"X", DT_REAL}, {"Y", DT_INT}});
  merge2();
  EXPECT_NE(c1->glorec, 0u);
  EXPECT_EQ(c1->glorec, c2->glorec);
  for (int32_t n : {121, 122, 185}) EXPECT_EQ(count(n), 0) << n;
  symrec r;
  readsymb(static_cast<int32_t>(c1->glorec), r);
  EXPECT_EQ(r.nitems, 2);
  EXPECT_EQ(r.size, 8);
}

TEST_F(Merge, CommonOfAnotherSizeIs185) {
  begin(sym("U1", SC_SUB));
  common("C", {{"X", DT_REAL}, {"Y", DT_REAL}});
  merge2();
  begin(sym("U2", SC_SUB));
  common("C", {{"X", DT_REAL}});
  merge2();
  EXPECT_EQ(count(185), 1);
}

TEST_F(Merge, CommonMemberOfAnotherTypeIs122) {
  begin(sym("U1", SC_SUB));
  common("C", {{"X", DT_REAL}, {"Y", DT_REAL}});
  merge2();
  begin(sym("U2", SC_SUB));
  locsym* c2 = common("C", {{"X", DT_REAL}, {"Y", DT_INT}});
  merge2();
  EXPECT_EQ(count(185), 0);  // REAL and INTEGER take 4 bytes each
  EXPECT_EQ(count(122), 1);
  EXPECT_EQ(c2->usage, 128u);
}

TEST_F(Merge, WithoutTheGlobalOptionNoCommonMessage) {
  gloopt = 0;
  begin(sym("U1", SC_SUB));
  common("C", {{"X", DT_REAL}, {"Y", DT_REAL}});
  merge2();
  begin(sym("U2", SC_SUB));
  common("C", {{"X", DT_INT}});
  merge2();
  for (int32_t n : {121, 122, 185}) EXPECT_EQ(count(n), 0) << n;
}

// A POINTER member of COMMON /C/ whose bounds differ between two units:
// the second unit's member takes the first's record all the same, and with
// the global-check option the difference is 826 (the block's record names
// the first unit, merged before its COMMON members were entered).
TEST_F(Merge, PointerCommonMemberWithOtherBounds) {
  struct Case {
    int32_t upper2;  // the second unit's upper bound (the first's is 10)
    int32_t glo;
    int32_t messages;
  } cases[] = {{20, 1, 1}, {10, 1, 0}, {20, 0, 0}};
  for (const Case& c : cases) {
    opensymt();
    errmsg_reset();
    for (const char* line : {"826 IE t"}) errfileline(line);
    gloopt = c.glo;
    locsym* p[2] = {};
    int32_t uppers[2] = {10, c.upper2};
    for (int u = 0; u < 2; ++u) {
      begin(sym(u == 0 ? "U1" : "U2", SC_SUB));
      locsym* blk = common("C", {{"P", DT_REAL}});
      p[u] = static_cast<ComMember*>(blk->list)->sym;
      p[u]->attrib |= 2;
      dim(p[u], 1, uppers[u]);
      merge2();
    }
    EXPECT_EQ(count(826), c.messages) << c.upper2 << " " << c.glo;
    EXPECT_EQ(p[0]->glorec, p[1]->glorec) << c.upper2 << " " << c.glo;
  }
}

// EQUIVALENCE (A, B), (C, A): the partners are B for A, A for B and C. The
// records of A and B link to each other, and C's joins their ring, which
// then runs A, B, C.
TEST_F(Merge, EquivalencedRecordsFormOneRing) {
  xrsave = 2;  // local variables get records
  begin(sym("U1", SC_SUB));
  locsym* a = add(sym("A", SC_VAR, DT_REAL));
  locsym* b = add(sym("B", SC_VAR, DT_REAL));
  locsym* c = add(sym("C", SC_VAR, DT_REAL));
  a->intflink = b;
  b->intflink = a;
  c->intflink = a;
  merge2();
  ASSERT_NE(a->glorec, 0u);
  ASSERT_NE(b->glorec, 0u);
  ASSERT_NE(c->glorec, 0u);
  EXPECT_EQ(related(a), static_cast<int32_t>(b->glorec));
  EXPECT_EQ(related(b), static_cast<int32_t>(c->glorec));
  EXPECT_EQ(related(c), static_cast<int32_t>(a->glorec));
}

// MODULE M with INTERFACE GEN / MODULE PROCEDURE T, G, O: T was stored as
// a subroutine before its definition was read; G's record is a generic
// name's (bit 24), O's is not. A SUBROUTINE T changes nothing; a FUNCTION T
// makes T's record and G's functions, and leaves O's.
TEST_F(Merge, ModuleProcedureNameFollowsItsDefinition) {
  intf_reset();
  begin(sym("M", SC_MODULE));
  locsym* t = add(sym("T", SC_SUB));
  t->attrib |= ATTR_MODPROC;
  t->glorec = static_cast<uint32_t>(record("T", SC_SUB, ATTR_MODPROC));
  locsym* g = add(sym("G", SC_SUB));
  g->glorec = static_cast<uint32_t>(record("G", SC_SUB, 1u << 24));
  locsym* o = add(sym("O", SC_SUB));
  o->glorec = static_cast<uint32_t>(record("O", SC_SUB, 0));
  IntfRec* gen = intf_new_interface(IK_GENERIC, 0, add(sym("GEN", SC_INTERFACE)));
  for (locsym* p : {t, g, o}) intf_update(gen, p);
  Status.scope_level = 2;
  locsym* sub = sym("T", SC_SUB);
  sub->squal = 7;
  update_glointf(sub);
  EXPECT_EQ(class_of(static_cast<int32_t>(t->glorec)), SC_SUB);
  EXPECT_EQ(class_of(static_cast<int32_t>(g->glorec)), SC_SUB);
  locsym* fn = sym("T", SC_FUNC, DT_INT);
  fn->squal = 7;
  update_glointf(fn);
  EXPECT_EQ(class_of(static_cast<int32_t>(t->glorec)), SC_FUNC);
  EXPECT_EQ(class_of(static_cast<int32_t>(g->glorec)), SC_FUNC);
  EXPECT_EQ(class_of(static_cast<int32_t>(o->glorec)), SC_SUB);
  Status.scope_level = 1;
  intf_reset();
}

// SUBROUTINE U(X) passes its dummy X, so far only referenced, to P: the
// global pass writes the pass as four words (P's record, the argument
// word, 0, the usage X had), and X's usage starts again from nothing.
TEST_F(Merge, DummyPassedOnIsWrittenForTheGlobalPass) {
  prgbeg();  // a unit without passes so far
  locsym* u = sym("U", SC_SUB);
  begin(u);
  unit.prgtyp = 6;
  locsym* x = add(sym("X", SC_VAR, DT_REAL));
  dummy(u, x);
  x->usage |= QB_REF;
  locsym* p = add(sym("P", SC_SUB));
  p->squal = SQ_EXTERNAL;
  dummypass(p, x, 7);
  EXPECT_EQ(x->usage & QB_REF, 0u);
  merge1();
  ASSERT_NE(p->glorec, 0u);
  ASSERT_NE(fu_unkargs, 0);
  EXPECT_EQ(itell(fu_unkargs), 16);
  iseek(fu_unkargs, 0);
  uint8_t rec[16] = {};
  ASSERT_EQ(iread(fu_unkargs, rec, 16), 16);
  EXPECT_EQ(get_be32(rec), p->glorec);
  EXPECT_EQ(get_be32(rec + 4), 7u);
  EXPECT_EQ(get_be32(rec + 8), 0u);
  EXPECT_EQ(get_be32(rec + 12), static_cast<uint32_t>(QB_REF));
  doargs();
  EXPECT_EQ(fu_unkargs, 0);
  prgbeg();  // the passes are forgotten with the unit
}

// MODULE MD with a variable V, and its procedure C (scope level 2) that
// refers to V before the module's own merge: V gets its record there,
// with the module's record as its host.
TEST_F(Merge, HostEntityOfAModuleProcedureGetsItsRecord) {
  xrefit_pscope_init();
  locsym* md = sym("MD", SC_MODULE);
  begin(md);
  md->glorec = static_cast<uint32_t>(record("MD", SC_MODULE, 0));
  locsym* v = add(sym("V", SC_VAR, DT_INT));
  locsym* c = sym("C", SC_SUB);
  Status.scope_level = 2;
  Scope[2] = loc_scope{};
  Scope[2].unitsym = c;
  prgnam = c;
  c->usage |= QB_SET;
  c->squal = 7;
  c->owner = c;
  Scope[2].head = Scope[2].tail = c;
  xrefrec occ{};
  occ.sym = v;
  xrefit_pscope(v, &occ);
  merge2();
  ASSERT_NE(c->glorec, 0u);
  ASSERT_NE(v->glorec, 0u);
  symrec r;
  readsymh(static_cast<int32_t>(v->glorec), r);
  EXPECT_EQ(r.host, static_cast<int32_t>(md->glorec));
  Status.scope_level = 1;
  xrefit_pscope_init();
}

// A unit that defines FUNCTION F(Z) of type REAL, SUBROUTINE S(A, B) and
// COMMON /BLK/, merged as the global pass does.
class GlobalReferences : public Merge {
 protected:
  void SetUp() override {
    Merge::SetUp();
    locsym* f = sym("F", SC_FUNC, DT_REAL);
    begin(f);
    dummy(f, add(sym("Z", SC_VAR, DT_REAL)));
    merge1();
    locsym* s = sym("S", SC_SUB);
    begin(s);
    dummy(s, add(sym("A", SC_VAR, DT_REAL)));
    dummy(s, add(sym("B", SC_VAR, DT_INT)));
    common("BLK", {{"X", DT_REAL}});
    merge1();
    begin(sym("MAIN", SC_PROG));
  }
  // A reference in the new unit: a name used as a function (SC_FUNC) or in
  // a CALL (SC_SUB), of type code.
  int32_t reference(const char* name, uint8_t sclass, uint8_t code, symrec* r = nullptr) {
    locsym* s = add(sym(name, sclass, code));
    symrec scratch;
    int32_t recno = 0;
    return getfun(s, r != nullptr ? r : &scratch, &recno);
  }
};

TEST_F(GlobalReferences, StoredProcedureGivesItsDummies) {
  symrec r;
  EXPECT_EQ(reference("S", SC_SUB, 0, &r), 1);
  ASSERT_EQ(r.nitems, 2);
  argdesc a;
  argdesc_get(a, r.extra.data() + argdesc_bytes);
  EXPECT_STREQ(a.name, "B");
  EXPECT_EQ(a.type.code, DT_INT);
  EXPECT_EQ(reference("F", SC_FUNC, DT_REAL, &r), 1);
  EXPECT_EQ(r.nitems, 1);
  EXPECT_EQ(count(85), 0);
}

TEST_F(GlobalReferences, ReferenceAgainstWhatAnotherUnitDefines) {
  struct Case {
    const char* name;
    uint8_t sclass;
    uint8_t code;
    int32_t message;
    int32_t matched;
  } cases[] = {
      {"F", SC_FUNC, DT_INT, 85, 1},  // function of another type
      {"S", SC_FUNC, DT_REAL, 95, 0},  // a subroutine used as a function
      {"F", SC_SUB, 0, 140, 0},       // CALL of a function
      {"BLK", SC_SUB, 0, 90, 0},      // CALL of a COMMON block name
      {"BLK", SC_FUNC, DT_REAL, 94, 0},
  };
  for (const Case& c : cases) {
    int32_t before = count(c.message);
    EXPECT_EQ(reference(c.name, c.sclass, c.code), c.matched) << c.name << " " << c.message;
    EXPECT_EQ(count(c.message), before + 1) << c.name << " " << c.message;
  }
}

TEST_F(GlobalReferences, WithoutTheGlobalOptionNoRecordIsSearched) {
  gloopt = 0;
  EXPECT_EQ(reference("BLK", SC_SUB, 0), 0);
  EXPECT_EQ(reference("F", SC_FUNC, DT_INT), 0);
  for (int32_t n : {85, 90}) EXPECT_EQ(count(n), 0) << n;
}

}  // namespace
