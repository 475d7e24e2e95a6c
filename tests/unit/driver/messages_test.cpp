// The message catalogue: count, spot texts byte for byte, and
// "unknown error" outside 0..616.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "frontend/base/diagnostics.h"

namespace {

TEST(Messages, HasSixHundredSeventeenDistinctNonEmptyTexts) {
  EXPECT_EQ(message_count, 617);
  std::set<std::string> seen;
  int conversions = 0;
  for (int i = 1; i < message_count; ++i) {
    std::string t = error_text(i);
    EXPECT_FALSE(t.empty()) << i;
    EXPECT_EQ(t.find('\n'), std::string::npos) << i;
    seen.insert(t);
    for (size_t p = t.find("%s"); p != std::string::npos; p = t.find("%s", p + 2)) ++conversions;
  }
  seen.insert(error_text(0));
  EXPECT_EQ(seen.size(), 617u);
  EXPECT_EQ(conversions, 100);  // in 96 texts: four of them have two
}

TEST(Messages, SpotTexts) {
  EXPECT_STREQ(error_text(0), "unknown error");
  EXPECT_STREQ(error_text(1), "double colon must appear before entity declaration");
  EXPECT_STREQ(error_text(327), "unexpected end of file");
  EXPECT_STREQ(error_text(394), "out of memory");
  EXPECT_STREQ(error_text(420), "could not open source file \"%s\"");
  EXPECT_STREQ(error_text(421), "\"%s\" is not a file containing source text");
  EXPECT_STREQ(error_text(473), "name clash between dummy argument \"%s\" and symbol from USE \"%s\"");
  EXPECT_STREQ(error_text(616), "argument must be of type double precision");
}

TEST(Messages, BlanksAndSpellingAreKept) {
  EXPECT_STREQ(error_text(318), " the maximum length of a name is 31 characters");
  EXPECT_STREQ(error_text(521), "too few  members in the expression list");
  EXPECT_STREQ(error_text(584), "scalar variable should not be allocatable ");
}

TEST(Messages, OutsideTheTableIsUnknownError) {
  EXPECT_STREQ(error_text(-1), "unknown error");
  EXPECT_STREQ(error_text(617), "unknown error");
  EXPECT_STREQ(error_text(100000), "unknown error");
}

}  // namespace
