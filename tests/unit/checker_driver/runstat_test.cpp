// The exit status of a completed run.
#include <gtest/gtest.h>

#include "checker/runstat.h"

TEST(RunStatus, ShellExitMapsOneAndTwo) {
  EXPECT_EQ(exitstatus(0, 0), 0);
  EXPECT_EQ(exitstatus(2, 0), 2);
  EXPECT_EQ(exitstatus(1, 1), 0);
  EXPECT_EQ(exitstatus(2, 1), 0);
  EXPECT_EQ(exitstatus(3, 1), 3);
}
