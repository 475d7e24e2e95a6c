// Coded messages: formatting, prefixes, the system's error text, and where
// each message goes.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tests/unit/checker_common/common_fixture.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

namespace {
int both_terminals(int) { return 1; }
int only_stdout_terminal(int fd) { return fd == 1 ? 1 : 0; }
}  // namespace

using CodedMessages = CommonTest;

TEST_F(CodedMessages, FormatFillsOnlyPercentS) {
  EXPECT_EQ(errf_format("can't open %s as input", {"a.f"}), "can't open a.f as input");
  EXPECT_EQ(errf_format("%d and %s, %%", {"x"}), "%d and x, %%");
  EXPECT_EQ(errf_format("%s %s", {"one"}), "one ");  // a missing argument adds nothing
  EXPECT_EQ(errf_format("ends in %", {}), "ends in %");
}

TEST_F(CodedMessages, PrefixBySeverity) {
  struct Case { const char* code; const char* expected; };
  const Case cases[] = {
      {"W-X", "tarvo (warn): text\n"},   {"E-X", "tarvo (err): text\n"},
      {"I-X", "tarvo (info): text\n"},   {"Q-X", "tarvo text\n"},
      {"I", "text\n"},                    {"WX", "text\n"},
  };
  for (const Case& c : cases) {
    captured_report().clear();
    tarvoerr(c.code, "text");
    EXPECT_EQ(captured_report(), c.expected) << c.code;
  }
}

TEST_F(CodedMessages, LeadingNewlineGoesToTheReportFirst) {
  errf("W-TXTRD", "\ncan't read %s", "f.for");
  EXPECT_EQ(captured_report(), "\ntarvo (warn): can't read f.for\n");
}

TEST_F(CodedMessages, PartsEndingInNewlineAreSeparateLines) {
  tarvoerr("I-X", "first\nsecond");
  EXPECT_EQ(captured_report(), "tarvo (info): first\nsecond\n");
}

TEST_F(CodedMessages, SystemTextIsAppended) {
  errno = ENOENT;
  errf("@W-TXTOPN", "can't open %s as input", "x");
  EXPECT_EQ(captured_report(), "tarvo (warn): can't open x as input (" +
                                   std::string(std::strerror(ENOENT)) + ")\n");
  captured_report().clear();
  errno = errno_eof;
  syserr("W-X", "at end");
  EXPECT_EQ(captured_report(), "tarvo (warn): at end (end of file, data not found)\n");
  captured_report().clear();
  errno = 0;
  syserr("W-X", "plain");
  EXPECT_EQ(captured_report(), "tarvo (warn): plain\n");
  captured_report().clear();
  errno = 200;
  syserr("W-X", "high");
  EXPECT_EQ(captured_report(), "tarvo (warn): high\n");
}

TEST_F(CodedMessages, WarningWithBothTerminalsGoesOnceToTheReport) {
  errstate.isatty_fn = both_terminals;
  CaptureStderr();
  CaptureStdout();
  tarvoerr("W-X", "once");
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(captured_report(), "tarvo (warn): once\n");
}

TEST_F(CodedMessages, OneTerminalAndAListingAlsoWritesTheStandardOutput) {
  errstate.isatty_fn = only_stdout_terminal;
  FILE* listing = std::tmpfile();
  errstate.outfp = listing;
  CaptureStdout();
  tarvoerr("W-X", "both");
  EXPECT_EQ(GetCapturedStdout(), "\ntarvo (warn): both\n");
  EXPECT_EQ(captured_report(), "tarvo (warn): both\n");
  std::fclose(listing);
}

TEST_F(CodedMessages, MessageRaisedWhileWritingOneGoesToStandardError) {
  report_hook = [](std::string_view text) {
    captured_report() += text;
    if (!errstate.reentered) return;
    static bool inner = false;
    if (!inner) {
      inner = true;
      tarvoerr("W-IN", "inner");
      inner = false;
    }
  };
  CaptureStderr();
  tarvoerr("W-OUT", "outer");
  EXPECT_EQ(GetCapturedStderr(), "\ntarvo (warn): inner\n");
  EXPECT_EQ(captured_report(), "tarvo (warn): outer\n");
  EXPECT_FALSE(errstate.reentered);
}

TEST_F(CodedMessages, LongTextIsCutAtTheLimit) {
  tarvoerr("W-X", std::string(400, 'a'));
  EXPECT_EQ(captured_report().size(), errmsg_limit + 1);
}

using CodedMessagesDeath = CommonTest;

TEST_F(CodedMessagesDeath, FatalOpenFailureEndsWithStatus4) {
  std::string expected = "tarvo \\(fatal\\): can't open /no/such/file as input \\(" +
                         std::string(std::strerror(ENOENT)) + "\\)";
  EXPECT_EXIT(
      {
        FILE* f = std::fopen("/no/such/file", "r");
        (void)f;
        errf("@F-TXTOPN", "\ncan't open %s as input", "/no/such/file");
      },
      ::testing::ExitedWithCode(4), expected);
}

TEST_F(CodedMessagesDeath, FatalWithAListingGoesToStandardErrorAndTheListing) {
  std::string listing = path("report.lnt");
  EXPECT_EXIT(
      {
        report_hook = [](std::string_view t) { std::fwrite(t.data(), 1, t.size(), errstate.outfp); };
        errstate.outfp = std::fopen(listing.c_str(), "w");
        tarvoerr("F-TOOMNYFIL", "maximum file count exceeded");
      },
      ::testing::ExitedWithCode(4), "tarvo \\(fatal\\): maximum file count exceeded");
  EXPECT_EQ(read_file("report.lnt"), "tarvo (fatal): maximum file count exceeded\n");
}

TEST_F(CodedMessagesDeath, InternalErrorNamesTheRoutine) {
  EXPECT_EXIT(interr("somewhere"), ::testing::ExitedWithCode(4),
              "internal error in routine somewhere");
}
