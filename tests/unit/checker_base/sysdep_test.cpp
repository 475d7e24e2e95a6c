// Host services: the date text.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "checker/base/sysdep.h"

TEST(Sysdep, DateAndTimeText) {
  setenv("TZ", "UTC", 1);
  tzset();
  std::string d, t;
  formatdate(1700000000, d, t);
  EXPECT_EQ(d, "14-Nov-2023");
  EXPECT_EQ(t, "22:13:20");
  formatdate(1700000000 - 10 * 86400, d, t);
  EXPECT_EQ(d, " 4-Nov-2023");
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  getcurdate(d, t);
  EXPECT_EQ(d + " " + t, "14-Nov-2023 22:13:20");
  EXPECT_EQ(origtime, 1700000000);
  unsetenv("SOURCE_DATE_EPOCH");
}
