// Derived types named before their definition: the list of forward types,
// its reuse of resolved entries and its limit, and the report of types
// that stay undefined.
#include <gtest/gtest.h>

#include <string>

#include "checker/common/qualcodes.h"
#include "checker/base/errmsg.h"
#include "checker/reader/dertype.h"
#include "checker/semantics/locsym.h"

namespace {

class FwdTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    errmsg_reset();
    locsym_reset();
    dertype_reset();
  }
  void TearDown() override { locsym_reset(); }
  // A derived-type symbol; named-before-defined when undefined is set.
  static locsym* type_sym(const std::string& name, bool undefined) {
    locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, SC_STRUCT90);
    s->sclass = SC_STRUCT90;
    if (undefined) s->extra |= EXTRA_TYPE_UNDEFINED;
    return s;
  }
  static int32_t count(int32_t n) { return ecat.errcnt[n]; }
};

TEST_F(FwdTypes, DefinedTypeGivesNoMessageUndefinedGives853) {
  locsym* t = type_sym("T", true);
  locsym* u = type_sym("U", true);
  AddFwdType(t);
  AddFwdType(u);
  AddFwdType(t);  // already listed
  EXPECT_EQ(dts.n_fwdtypes, 2);
  t->extra &= ~EXTRA_TYPE_UNDEFINED;  // T is defined later on
  ProcFwdTypes(0);
  EXPECT_EQ(count(853), 1);
  EXPECT_EQ(dts.fwdtypes[0].resolved, 1);
  EXPECT_EQ(dts.fwdtypes[1].resolved, 1);
  // A resolved entry is not reported again, and is reused.
  ProcFwdTypes(1);
  EXPECT_EQ(count(853), 1);
  EXPECT_EQ(dts.n_fwdtypes, 0);
}

TEST_F(FwdTypes, EntriesOfOuterLevelsWaitForTheFinalCall) {
  locsym* t = type_sym("T", true);
  AddFwdType(t);
  increase_scoping_level();
  ProcFwdTypes(0);  // T was named at the outer level
  EXPECT_EQ(count(853), 0);
  EXPECT_EQ(dts.fwdtypes[0].resolved, 0);
  decrease_scoping_level();
  ProcFwdTypes(1);
  EXPECT_EQ(count(853), 1);
  EXPECT_EQ(dts.n_fwdtypes, 0);
}

TEST_F(FwdTypes, ResolvedEntriesAreReusedAndTheListHoldsSeventyFive) {
  locsym* a = type_sym("A", false);
  AddFwdType(a);
  ProcFwdTypes(0);
  locsym* b = type_sym("B", true);
  AddFwdType(b);
  EXPECT_EQ(dts.n_fwdtypes, 1);
  EXPECT_EQ(dts.fwdtypes[0].sym, b);
  for (int32_t i = 0; i < 80; ++i) AddFwdType(type_sym("X" + std::to_string(i), true));
  EXPECT_EQ(dts.n_fwdtypes, MAX_FWDTYPES);
  ProcFwdTypes(1);
  EXPECT_EQ(count(853), MAX_FWDTYPES);
}

}  // namespace
