// Driver pieces that are pure functions: the "-V" error summary text and the
// time of compilation.
#include <gtest/gtest.h>

#include <cstdlib>

#include "frontend/driver/driver.h"

namespace {

TEST(Driver, ErrorSummaryText) {
  EXPECT_EQ(error_summary_text(0, 0, 0, "a.f90"), "");
  EXPECT_EQ(error_summary_text(3, 1, 0, "a.f90"),
            "1 error detected in the compilation of \"a.f90\".\n");
  EXPECT_EQ(error_summary_text(3, 2, 0, "-"), "2 errors detected in this compilation.\n");
  EXPECT_EQ(error_summary_text(4, 3, 1, "a.f90"),
            "3 errors and 1 catastrophic error detected in the compilation of \"a.f90\".\n"
            "Compilation terminated.\n");
  EXPECT_EQ(error_summary_text(5, 0, 1, ""),
            "1 catastrophic error detected in this compilation.\nCompilation terminated.\n");
  EXPECT_EQ(error_summary_text(4, 0, 2, "x"),
            "2 catastrophic errors detected in the compilation of \"x\".\nCompilation terminated.\n");
  EXPECT_EQ(error_summary_text(6, 0, 1, "x"),
            "1 catastrophic error detected in the compilation of \"x\".\nCompilation aborted.\n");
  EXPECT_EQ(error_summary_text(4, 0, 0, "x"), "Compilation terminated.\n");
  EXPECT_EQ(error_summary_text(2, 0, 0, "x"), "");
}

TEST(Driver, CompilationTimeTakesSourceDateEpoch) {
  setenv("TZ", "UTC", 1);
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  EXPECT_EQ(compilation_time_text(), "Tue Nov 14 22:13:20 2023");
  setenv("SOURCE_DATE_EPOCH", "0", 1);
  EXPECT_EQ(compilation_time_text(), "Thu Jan  1 00:00:00 1970");
  unsetenv("SOURCE_DATE_EPOCH");
  std::string now = compilation_time_text();
  EXPECT_EQ(now.size(), 24u);
  EXPECT_NE(now.back(), '\n');
}

TEST(Driver, OptionLetters) {
  EXPECT_STREQ(option_letters, "AaFDUlnuvVwRrsI:i:f:e:L:M:X:S:o:d:Y:");
  EXPECT_STREQ(front_end_version, "2.4.1");
}

}  // namespace
