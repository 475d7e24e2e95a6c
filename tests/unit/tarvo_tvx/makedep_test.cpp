// The module-order bookkeeping: when the dependency pass can run and how
// files are placed in the analysis order.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

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

// Whether each text may matter to the dependency pass, as given.
struct ScanRow {
  std::string text;
  bool matters;
};
void expect_scans(std::initializer_list<ScanRow> rows) {
  for (const ScanRow& r : rows) EXPECT_EQ(mkdep_text_may_matter(r.text), r.matters) << r.text;
}

// Text in which the dependency pass can learn nothing: no statement word,
// no directive line.
TEST(MkdepScan, PlainSourcesNeedNoReading) {
  expect_scans({
      {"", false},
      {"      SUBROUTINE S(A)\n      A = 1\n      END\n", false},
      // A fixed-form "&" mark: the continuation starts with no word's end,
      // and the line after it is no free-form continuation.
      {"      X = 1 +\n     &    2\n      END\n", false},
      // Free form: the line after the "&" starts with "2".
      {"x = 1 + &\n  2\nend\n", false},
      // No line end after the last line; a carriage return before each end.
      {"      END", false},
      {"      X = 1\r\n      END\r\n", false},
  });
}

// Each word in any case, with blanks inside it, in comments and strings
// too.
TEST(MkdepScan, WordsAnywhereOnALine) {
  expect_scans({
      {"      USE M\n", true},
      {"      u s e m\n", true},
      {"module m\nend module\n", true},
      {"      INCLUDE 'x.inc'\n", true},
      {"      DICTIONARY 'CDD'\n", true},
      {"      INVOKE (S)\n", true},
      {"interface\nend interface\n", true},
      {"contains\n", true},
      {"C     THIS COMMENT IS USED\n", true},
      {"      PRINT *, 'in Module'\n", true},
      {"      X = 1\t\f US\tE\n", true},
  });
}

// A word split over a continuation line: the continuation starts with its
// end.
TEST(MkdepScan, WordsSplitOverContinuationLines) {
  expect_scans({
      // Fixed form: the mark in column 6, the rest in column 7.
      {"      US\n     &E M\n", true},
      {"      MOD\nC\n     1ULE M\n", true},
      // Tab format: a digit after the tab marks the continuation.
      {"\tUS\n\t1E M\n", true},
      // Free form: behind a leading "&", or after a line ending in "&",
      // with a comment line between.
      {"  us&\n  &e m\n", true},
      {"  inclu&\n! note\n   de 'x'\n", true},
      // A line blank in its first 132 columns is a blank line.
      {"us&\n" + std::string(140, ' ') + "zz\ne m\n", true},
      // An "&" in column 73 or later, whatever follows it.
      {"x = 1 +" + std::string(65, ' ') + "&xyz\ne = 2\n", true},
      // The same lines without the continuation: "E" starts a statement.
      {"      US\n      E = 1\n", false},
      {"  us\n  e = 1\n", false},
      {"x = 1 + &xyz\ne = 2\n", false},
  });
}

// Lines of the C preprocessor and "$" directives, also after blanks.
TEST(MkdepScan, DirectiveLines) {
  expect_scans({
      {"#define X\n      END\n", true},
      {"   # 1 \"a.f\"\n", true},
      {"$NOLIST\n      END\n", true},
      {"  $ X\n", true},
      // Elsewhere on a line they are plain characters.
      {"      X = 1 ! #$\n", false},
  });
}

// An open file is read from its start whatever its position, which stays;
// what is no regular file is always read.
TEST(MkdepScan, OpenFiles) {
  EXPECT_TRUE(mkdep_file_may_matter(nullptr));
  std::FILE* fp = std::tmpfile();
  ASSERT_NE(fp, nullptr);
  std::fputs("      X = 1\n      END\n", fp);
  std::fflush(fp);
  std::rewind(fp);
  EXPECT_FALSE(mkdep_file_may_matter(fp));
  EXPECT_EQ(std::ftell(fp), 0);
  std::fseek(fp, 0, SEEK_END);
  std::fputs("      USE M\n", fp);
  std::fflush(fp);
  EXPECT_TRUE(mkdep_file_may_matter(fp));
  std::fclose(fp);
  std::FILE* dir = std::fopen("/", "r");
  if (dir != nullptr) {
    EXPECT_TRUE(mkdep_file_may_matter(dir));
    std::fclose(dir);
  }
}

}  // namespace
