// Questions about the unit being read: function results, PURE units,
// global storage and POINTER components; and the closing of the
// unknown-argument work file.
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/reader/expr.h"
#include "checker/semantics/unit_queries.h"
#include "tests/unit/checker_semantics/semantics_fixture.h"

using UnitQueries = CheckerSemanticsTest;

TEST_F(UnitQueries, FunctionResultIsTheFunctionOrItsResultVariable) {
  locsym* f = sym("F", SC_FUNC, DT_REAL);
  locsym* res = sym("RES", SC_VAR, DT_REAL);
  res->squal = SQ_FUNCVAR;
  res->owner = f;
  locsym* v = sym("V", SC_VAR, DT_REAL);
  v->owner = f;
  locsym* h = sym("H", SC_FUNC, DT_REAL);
  locsym* hres = sym("HRES", SC_VAR, DT_REAL);  // the result of another function
  hres->squal = SQ_FUNCVAR;
  hres->owner = h;
  locsym* s = sym("S", SC_SUB);

  EXPECT_EQ(isFuncResult(f), 0);  // no unit yet
  prgnam = f;
  unit.prgtyp = 5;
  struct Case {
    const locsym* sym;
    int32_t expected;
    const char* what;
  } in_function[] = {
      {f, 1, "the function itself"},
      {res, 1, "its RESULT variable"},
      {v, 0, "a local variable"},
      {hres, 0, "another function's result"},
      {nullptr, 0, "no symbol"},
  };
  for (const Case& c : in_function) EXPECT_EQ(isFuncResult(c.sym), c.expected) << c.what;

  // A function whose name became its result variable reads as a function.
  unit.prgtyp = 0;
  f->sclass = SC_VAR;
  f->squal = SQ_FUNCVAR;
  EXPECT_EQ(isFuncResult(f), 1);

  prgnam = s;
  unit.prgtyp = 6;
  EXPECT_EQ(isFuncResult(s), 0);
}

TEST_F(UnitQueries, PureUnitHostAndInterfaceBody) {
  locsym* host = sym("HOST", SC_SUB);
  locsym* u = sym("U", SC_SUB);
  Status.scope_level = 2;
  Scope[1].unitsym = host;
  Scope[2].unitsym = u;
  prgnam = u;
  struct Case {
    uint32_t unit_attr;
    uint32_t host_attr;
    int32_t expected;
    const char* what;
  } cases[] = {
      {ATTR_PURE, 0, 1, "a PURE unit"},
      {0, ATTR_PURE, 1, "a unit contained in a PURE one"},
      {0, 0, 0, "neither PURE"},
      {ATTR_INTF_BODY, ATTR_PURE, 0, "an interface body in a PURE unit"},
      {ATTR_INTF_BODY | ATTR_PURE, 0, 1, "a PURE interface body"},
      {0x20000000, 0, 0, "ELEMENTAL alone"},
  };
  for (const Case& c : cases) {
    u->attrib = c.unit_attr;
    host->attrib = c.host_attr;
    EXPECT_EQ(isInPureProc(), c.expected) << c.what;
  }
  // A unit at the first level has no host.
  Status.scope_level = 1;
  Scope[1].unitsym = u;
  u->attrib = 0;
  host->attrib = ATTR_PURE;
  EXPECT_EQ(isInPureProc(), 0);
  prgnam = nullptr;
  EXPECT_EQ(isInPureProc(), 0);
}

TEST_F(UnitQueries, GlobalStorageByTable) {
  locsym* host = sym("HOST", SC_SUB);
  struct Case {
    uint8_t sclass;
    uint8_t squal;
    uint8_t props;
    bool host_link;
    int32_t expected;
    const char* what;
  } cases[] = {
      {SC_COM, 0, 0, false, 1, "COMMON block"},
      {SC_PROG, 0, 0, false, 1, "main program"},
      {SC_BLKD, 0, 0, false, 1, "BLOCK DATA"},
      {SC_MODULE, 0, 0, true, 1, "module"},
      {SC_FUNC, SQ_EXTERNAL, 0, false, 1, "external function"},
      {SC_SUB, SQ_EXTERNAL, 0, false, 1, "external subroutine"},
      {SC_SUB, 7, 0, true, 0, "contained subroutine"},
      {SC_FUNC, 7, CP_COMBLK, true, 1, "contained function with the COMMON mark"},
      {SC_VAR, SQ_FUNCVAR, 0, false, 1, "result of an external function"},
      {SC_VAR, SQ_FUNCVAR, 0, true, 0, "result of a contained function"},
      {SC_VAR, SQ_FUNCVAR, CP_COMBLK, true, 1, "result with the COMMON mark"},
      {SC_VAR, 0, CP_COMBLK, false, 1, "variable in COMMON"},
      {SC_VAR, 0, 0, false, 0, "local variable"},
      {SC_VAR, 0, 0, true, 0, "local variable with a link"},
      {SC_PAR, 0, 0, false, 0, "named constant"},
  };
  for (const Case& c : cases) {
    locsym* s = sym("X", c.sclass);
    s->squal = c.squal;
    s->props = c.props;
    if (c.host_link) s->link = host;
    EXPECT_EQ(isGloVarOrSubobj(s), c.expected) << c.what;
  }
  EXPECT_EQ(isGloVarOrSubobj(nullptr), 0);
}

TEST_F(UnitQueries, ComponentTakesTheOutermostRecordOfTheReference) {
  locsym* t = type("T");
  locsym* comp = field(t, "C", DT_I4);
  locsym* in_common = sym("R", SC_REC90);
  in_common->props = CP_COMBLK;
  locsym* local = sym("Q", SC_REC90);
  comp->link = local;  // the record the component was reached through
  got_toprec = in_common;
  EXPECT_EQ(isGloVarOrSubobj(comp), 1);
  got_toprec = local;
  EXPECT_EQ(isGloVarOrSubobj(comp), 0);
  // Without a reference being read, the record chain of the component.
  got_toprec = nullptr;
  comp->link = in_common;
  EXPECT_EQ(isGloVarOrSubobj(comp), 1);
  // A component without a link answers for itself.
  comp->link = nullptr;
  EXPECT_EQ(isGloVarOrSubobj(comp), 0);
}

TEST_F(UnitQueries, PointerComponentsDirectNestedAndNeverInFortran77) {
  locsym* plain = type("PLAIN");
  field(plain, "I", DT_I4);
  locsym* direct = type("DIRECT");
  field(direct, "I", DT_I4);
  field(direct, "P", DT_R4)->attrib = 0x2;
  locsym* nested = type("NESTED");
  field(nested, "X", DT_R8);
  field_of(nested, "D", direct);
  locsym* deep = type("DEEP");
  field_of(deep, "N", nested);
  locsym* plain_nest = type("PN");
  field_of(plain_nest, "Q", plain);
  // A type that holds itself without POINTER (an error of the source) ends.
  locsym* self = type("SELF");
  field(self, "I", DT_I4);
  field_of(self, "S", self);
  struct Case {
    const locsym* st;
    int32_t expected;
    const char* what;
  } cases[] = {
      {plain, 0, "no pointer"},          {direct, 1, "a POINTER component"},
      {nested, 1, "one level down"},     {deep, 1, "two levels down"},
      {plain_nest, 0, "nested, no pointer"}, {self, 0, "holds itself"},
      {nullptr, 0, "no structure"},
  };
  for (const Case& c : cases) EXPECT_EQ(hasPtrComponentInStruct(c.st), c.expected) << c.what;
  ropt.Language = 1;
  EXPECT_EQ(hasPtrComponentInStruct(direct), 0);
}

TEST_F(UnitQueries, DoargsClosesTheUnknownArgumentFileOnce) {
  fu_unkargs = 0;
  doargs();  // not opened: nothing
  EXPECT_EQ(fu_unkargs, 0);
  int unit = iopen(path("unk").c_str(), FM_WRITE, "", 512);
  ASSERT_NE(unit, 0);
  fu_unkargs = unit;
  doargs();
  EXPECT_EQ(fu_unkargs, 0);
  EXPECT_EQ(unitkind(unit), 0);
  doargs();  // a second call finds it closed
  EXPECT_EQ(fu_unkargs, 0);
}

TEST_F(UnitQueries, DoargsClosesARecordFileToo) {
  int unit = binopn(path("unkrec").c_str(), 16, FM_WRITE, "");
  ASSERT_NE(unit, 0);
  ASSERT_EQ(unitkind(unit), FK_RECORDS);
  fu_unkargs = unit;
  doargs();
  EXPECT_EQ(fu_unkargs, 0);
  EXPECT_EQ(unitkind(unit), 0);
}
