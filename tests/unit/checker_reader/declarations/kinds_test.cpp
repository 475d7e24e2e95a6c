// Kind tables of the target compilers: which kinds each type class takes,
// the data-type code a kind stands for, default kinds and the messages of
// rejected kinds.
#include <gtest/gtest.h>

#include "checker/base/cmmdline.h"
#include "checker/common/dtype.h"
#include "checker/base/errmsg.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/locsym.h"

namespace {

// Sizemode bits of the targets.
constexpr int32_t CRAY = 0x4, SPARC = 0x2, IRIS = 0x10, LAHEY = 0x20, DECNT = 0x40, OSF1 = 0x8;

class Kinds : public ::testing::Test {
 protected:
  int32_t saved_ = Sizemode;
  void SetUp() override {
    errmsg_reset();
    for (int32_t& d : defdtypes) d = 0;
    defdtypes[TC_DOUBLE] = 22;
    defdtypes[TC_DCOMPLEX] = 8;
  }
  void TearDown() override { Sizemode = saved_; }
  static int32_t count(int32_t n) { return ecat.errcnt[n]; }
};

TEST_F(Kinds, TargetFollowsTheFirstSizemodeBit) {
  struct { int32_t mode; KindTarget target; } rows[] = {
      {CRAY | SPARC, KT_CRAY}, {SPARC | IRIS, KT_SPARC}, {IRIS | LAHEY, KT_IRIS},
      {LAHEY | DECNT, KT_LAHEY}, {DECNT, KT_DECNT}, {OSF1, KT_OSF1}, {0, KT_OSF1},
  };
  for (const auto& r : rows) {
    Sizemode = r.mode;
    EXPECT_EQ(kind_target(), r.target) << r.mode;
  }
}

TEST_F(Kinds, IntegerKindEightByTarget) {
  Sizemode = SPARC;
  EXPECT_EQ(chk_kindparam(TC_INTEGER, 8, 1), 0);
  EXPECT_EQ(count(732), 1);
  EXPECT_EQ(adjust_dt_with_kind(TC_INTEGER, 8), 0);
  Sizemode = IRIS;
  EXPECT_EQ(chk_kindparam(TC_INTEGER, 8, 1), 8);
  EXPECT_EQ(adjust_dt_with_kind(TC_INTEGER, 8), 17);
  EXPECT_EQ(adjust_dt_with_kind(TC_INTEGER, 1), 25);
  EXPECT_EQ(adjust_dt_with_kind(TC_INTEGER, 2), 3);
  EXPECT_EQ(count(732), 1);
}

TEST_F(Kinds, RealSixteenOnlyForCrayIrisAndOsf1) {
  struct { int32_t mode; int32_t code; } rows[] = {
      {CRAY, 9}, {IRIS, 9}, {OSF1, 9}, {SPARC, 0}, {LAHEY, 0}, {DECNT, 0},
  };
  for (const auto& r : rows) {
    Sizemode = r.mode;
    EXPECT_EQ(adjust_dt_with_kind(TC_REAL, 16), r.code) << r.mode;
    EXPECT_EQ(chk_kindparam(TC_REAL, 16, 0), r.code != 0 ? 16 : 0) << r.mode;
  }
  EXPECT_EQ(count(732), 0);
}

TEST_F(Kinds, DoublePrecisionTakesOnlyItsDefaultKind) {
  for (int32_t mode : {SPARC, IRIS, LAHEY, DECNT, OSF1}) {
    Sizemode = mode;
    EXPECT_EQ(chk_kindparam(TC_DOUBLE, 8, 0), 8) << mode;
    EXPECT_EQ(chk_kindparam(TC_DOUBLE, 16, 0), 0) << mode;
  }
  Sizemode = CRAY;
  EXPECT_EQ(chk_kindparam(TC_DOUBLE, 8, 0), 0);
  EXPECT_EQ(chk_kindparam(TC_DOUBLE, 16, 0), 16);
  // Double precision and double complex map to their default codes.
  EXPECT_EQ(adjust_dt_with_kind(TC_DOUBLE, 16), 22);
  EXPECT_EQ(adjust_dt_with_kind(TC_DCOMPLEX, 3), 8);
}

TEST_F(Kinds, LogicalAndComplexRows) {
  Sizemode = LAHEY;
  EXPECT_EQ(adjust_dt_with_kind(TC_LOGICAL, 1), 11);
  EXPECT_EQ(adjust_dt_with_kind(TC_LOGICAL, 2), 0);
  EXPECT_EQ(adjust_dt_with_kind(TC_LOGICAL, 4), 2);
  Sizemode = SPARC;
  EXPECT_EQ(adjust_dt_with_kind(TC_LOGICAL, 2), 2);
  EXPECT_EQ(adjust_dt_with_kind(TC_LOGICAL, 8), 18);
  Sizemode = CRAY;
  EXPECT_EQ(adjust_dt_with_kind(TC_COMPLEX, 4), 8);
  EXPECT_EQ(adjust_dt_with_kind(TC_COMPLEX, 16), 23);
  Sizemode = OSF1;
  EXPECT_EQ(adjust_dt_with_kind(TC_COMPLEX, 4), 7);
  EXPECT_EQ(adjust_dt_with_kind(TC_COMPLEX, 16), 0);
  EXPECT_EQ(adjust_dt_with_kind(TC_CHARACTER, 1), 14);
  EXPECT_EQ(adjust_dt_with_kind(TC_CHARACTER, 2), 0);
  // No kind table for BYTE; kinds below 1 map to nothing.
  EXPECT_EQ(get_kindset(TC_BYTE), nullptr);
  EXPECT_EQ(adjust_dt_with_kind(TC_INTEGER, 0), 0);
}

TEST_F(Kinds, RejectedKindsAreReportedByTheirSign) {
  Sizemode = OSF1;
  EXPECT_EQ(chk_kindparam(TC_INTEGER, -4, 1), 0);
  EXPECT_EQ(count(638), 1);
  EXPECT_EQ(chk_kindparam(TC_INTEGER, 0, 1), 0);
  EXPECT_EQ(chk_kindparam(TC_INTEGER, 3, 1), 0);
  EXPECT_EQ(count(732), 2);
  EXPECT_EQ(chk_kindparam(TC_INTEGER, 3, 0), 0);
  EXPECT_EQ(count(732), 2);
}

TEST_F(Kinds, DefaultKindsOfDataTypes) {
  defdtypes[TC_DOUBLE] = 22;
  struct { int32_t mode; int32_t code; int32_t kind; } rows[] = {
      {OSF1, 20, 4}, {CRAY, 20, 6}, {CRAY, 19, 4}, {OSF1, 2, 4}, {CRAY, 21, 8},
      {CRAY, 24, 8}, {OSF1, 22, 8}, {CRAY, 22, 16}, {OSF1, 14, 1}, {OSF1, 15, 0},
      {OSF1, 26, 0}, {OSF1, 0, 0},
  };
  for (const auto& r : rows) {
    Sizemode = r.mode;
    EXPECT_EQ(get_default_kindparam(r.code), r.kind) << r.mode << " " << r.code;
  }
}

TEST_F(Kinds, CharacterKindNames) {
  EXPECT_EQ(is_char_literal_kind("NIHONGO", 7), 5);
  EXPECT_EQ(is_char_literal_kind("ASCII", 5), 1);
  EXPECT_EQ(is_char_literal_kind("ASCI", 4), 0);
  EXPECT_EQ(is_char_literal_kind("ASCIIX", 6), 0);
}

}  // namespace
