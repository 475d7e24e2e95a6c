// The module-order bookkeeping: when the dependency pass can run and how
// files are placed in the analysis order.
#include <gtest/gtest.h>

#include "checker/base/cmmdline.h"
#include "checker/common/filnam.h"
#include "checker/base/makedep.h"

namespace {

class MkdepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdep_reset();
    Language = 2;
    mkdep_opt = 1;
    filnam.filnamcnt = 3;
  }
  void TearDown() override {
    mkdep_reset();
    filnam.filnamcnt = 0;
    mkdep_opt = 0;
  }
};

TEST_F(MkdepTest, InitNeedsFortran90TheOptionAndSomeFile) {
  struct Row {
    uint8_t language;
    int32_t opt;
    int files;
    int result;
  };
  const Row rows[] = {{2, 1, 3, 1}, {1, 1, 3, 0}, {2, 0, 3, 0}, {2, 1, 0, 0}};
  for (const Row& r : rows) {
    Language = r.language;
    mkdep_opt = r.opt;
    filnam.filnamcnt = r.files;
    EXPECT_EQ(mkdep_init(), r.result) << int(r.language) << r.opt << r.files;
    mkdep_reset();
  }
}

TEST_F(MkdepTest, OrderStartsAsGivenAndFillsFromTheFront) {
  ASSERT_EQ(mkdep_init(), 1);
  EXPECT_EQ(mkdep_order(1), 1);  // nothing placed yet: the order given
  EXPECT_EQ(mkdep_append_file(3), 1);
  EXPECT_EQ(mkdep_append_file(1), 1);
  EXPECT_EQ(mkdep_append_file(2), 1);
  EXPECT_EQ(mkdep_order(1), 3);
  EXPECT_EQ(mkdep_order(2), 1);
  EXPECT_EQ(mkdep_order(3), 2);
}

TEST_F(MkdepTest, AppendRefusesNumbersOutOfRangeAndAFullOrder) {
  ASSERT_EQ(mkdep_init(), 1);
  EXPECT_EQ(mkdep_append_file(0), 0);
  EXPECT_EQ(mkdep_append_file(4), 0);
  EXPECT_EQ(mkdep_append_file(-1), 0);
  for (int32_t f = 1; f <= 3; ++f) EXPECT_EQ(mkdep_append_file(f), 1);
  EXPECT_EQ(mkdep_append_file(2), 0);
  EXPECT_EQ(mkdep.newfcount, 3);
}

TEST_F(MkdepTest, RecordsOutsideTheDependencyPassAreIgnored) {
  ASSERT_EQ(mkdep_init(), 1);
  mkdep_add_module_use("M");   // not in the dependency pass: nothing
  mkdep_add_module_def("M");
  EXPECT_FALSE(mkdep_depended_by(1, 2));
  EXPECT_FALSE(mkdep_depended_by(9, 1));
}

}  // namespace
