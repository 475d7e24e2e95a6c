// The IL output state: a fatal end closes and removes the file it created.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "frontend/base/il_output.h"

namespace {

TEST(IlOutput, AbandonClosesAndRemoves) {
  char name[] = "/tmp/il_outputXXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  FILE* f = fdopen(fd, "wb");
  ASSERT_NE(f, nullptr);
  il_output_set(f, name);
  EXPECT_EQ(il_output.stream, f);
  EXPECT_STREQ(il_output.file_name, name);
  il_output_abandon();
  EXPECT_EQ(il_output.stream, nullptr);
  EXPECT_EQ(il_output.file_name, nullptr);
  EXPECT_NE(access(name, F_OK), 0);
  il_output_abandon();  // nothing open: nothing happens
}

TEST(IlOutput, ForgetLeavesTheFile) {
  char name[] = "/tmp/il_outputXXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  FILE* f = fdopen(fd, "wb");
  il_output_set(f, name);
  il_output_forget();
  EXPECT_EQ(il_output.stream, nullptr);
  fclose(f);
  EXPECT_EQ(access(name, F_OK), 0);
  unlink(name);
}

}  // namespace
