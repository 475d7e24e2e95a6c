// Diagnostics: argument formatting, the line format with and
// without a position, wrapping before column 1000, the error limit and the
// exit statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "frontend/base/diagnostics.h"
#include "frontend/model/il_entries.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// A primary file "main.f90" of lines 1..5 (sequence numbers 1..5).
source_file primary_file;
il_header header;

void set_up_primary() {
  diagnostics_reset();
  primary_file = source_file{};
  primary_file.file_name = "main.f90";
  primary_file.full_name = "dir/main.f90";
  primary_file.first_seq_number = 1;
  primary_file.last_seq_number = 5;
  primary_file.first_line_number = 1;
  header = il_header{};
  header.primary_source_file = &primary_file;
  diag.positions = &header;
}

TEST(FormatMessage, FillsEachConversionInOrder) {
  EXPECT_EQ(format_message("a %s b %s c", {"x", "yy"}), "a x b yy c");
  EXPECT_EQ(format_message("no conversion", {"unused"}), "no conversion");
  EXPECT_EQ(format_message("%s%%", {"50"}), "50%");
  EXPECT_EQ(format_message("missing %s", {}), "missing ");
  EXPECT_EQ(format_message("100%", {}), "100%");
}

TEST(FormatMessage, ArgumentsOfAnyLength) {
  std::string big(100000, 'x');
  std::string s = format_message("\"%s\"", {big});
  EXPECT_EQ(s.size(), 100002u);
}

TEST(WrapMessage, ShortTextIsOneLine) {
  EXPECT_EQ(wrap_message("short", 20), "short\n");
  EXPECT_EQ(wrap_message(std::string(980, 'a'), 20), std::string(980, 'a') + "\n");
}

TEST(WrapMessage, BreaksAtLastBlankBeforeColumn1000) {
  // 1,200 characters: words of 9 letters and a blank.
  std::string text;
  while (text.size() < 1200) text += "abcdefghi ";
  text.resize(1200);
  std::string out = wrap_message(text, 20);
  size_t nl = out.find('\n');
  // room 980: the blank at index 979 starts no word; the break is before it.
  EXPECT_EQ(nl, 979u);
  EXPECT_EQ(out.substr(0, nl), text.substr(0, 979));
  EXPECT_EQ(out.substr(nl + 1, 10), std::string(10, ' '));
  EXPECT_EQ(out.substr(nl + 11), text.substr(980) + "\n");
}

TEST(WrapMessage, RunOfBlanksIsDropped) {
  std::string text = std::string(970, 'a') + "     " + std::string(100, 'b');
  std::string out = wrap_message(text, 20);
  EXPECT_EQ(out, std::string(970, 'a') + "\n          " + std::string(100, 'b') + "\n");
}

TEST(WrapMessage, NoBlankBreaksHardWhenColumnBelow11) {
  std::string text(2500, 'z');
  std::string out = wrap_message(text, 0);
  EXPECT_EQ(out, std::string(1000, 'z') + "\n          " + std::string(990, 'z') +
                     "\n          " + std::string(510, 'z') + "\n");
}

TEST(WrapMessage, NoBlankFromAFarColumnStartsANewLine) {
  std::string text(1500, 'q');
  std::string out = wrap_message(text, 30);
  EXPECT_EQ(out, "\n          " + std::string(990, 'q') + "\n          " +
                     std::string(510, 'q') + "\n");
}

TEST(WrapMessage, ColumnPastTheLimitIsSafe) {
  std::string out = wrap_message("word and more", 5000);
  EXPECT_EQ(out, "\n          word and more\n");
}

TEST(Report, PositionPrefixAndSeverityWords) {
  set_up_primary();
  CaptureStderr();
  error_at(327, {3, 7});
  warning_at(3, {12, 0});  // beyond the file: still the primary file
  error_at(327, {3, 123});
  EXPECT_EQ(GetCapturedStderr(),
            "main.f90 (  3: 7) error:   unexpected end of file\n"
            "main.f90 ( 12) warning: DO variable modified within DO loop\n"
            "main.f90 (  3:123) error:   unexpected end of file\n");
  EXPECT_EQ(diag.errors, 2u);
  EXPECT_EQ(diag.warnings, 1u);
}

TEST(Report, AtEndOfSource) {
  set_up_primary();
  CaptureStderr();
  error_at(327, {6, 0});
  EXPECT_EQ(GetCapturedStderr(), "At end of source: error:   unexpected end of file\n");
}

TEST(Report, StandardInputNameIsLeftOut) {
  set_up_primary();
  primary_file.file_name = "-";
  CaptureStderr();
  warning_at(3, {2, 4});
  EXPECT_EQ(GetCapturedStderr(), "(  2: 4) warning: DO variable modified within DO loop\n");
}

TEST(Report, NoPositionCapitalisesTheWord) {
  set_up_primary();
  CaptureStderr();
  warning_at(484, null_pos);
  err_pos = null_pos;
  error_here(420, {"x.f90"});
  EXPECT_EQ(GetCapturedStderr(),
            "Warning: free-form input is not standard FORTRAN 77\n"
            "Error:   could not open source file \"x.f90\"\n");
}

TEST(Report, RemarksHiddenByDefaultAndWarningsByMinSeverity3) {
  set_up_primary();
  CaptureStderr();
  remark_at(3, {1, 1});
  diag.min_severity = 3;
  warning_at(3, {1, 1});
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(diag.remarks, 0u);
  EXPECT_EQ(diag.warnings, 0u);
  diag.min_severity = 1;
  CaptureStderr();
  remark_at(3, {1, 1});
  EXPECT_EQ(GetCapturedStderr(), "main.f90 (  1: 1) remark:  DO variable modified within DO loop\n");
}

TEST(Report, UnknownNumberPrintsUnknownError) {
  set_up_primary();
  CaptureStderr();
  error_at(617, {1, 2}, {"ignored"});
  EXPECT_EQ(GetCapturedStderr(), "main.f90 (  1: 2) error:   unknown error\n");
}

TEST(Report, TwoArgumentTexts) {
  set_up_primary();
  CaptureStderr();
  error_at(523, {1, 0}, {"X", "SAVE"});
  EXPECT_EQ(GetCapturedStderr(), "main.f90 (  1) error:   entity \"X\" declared SAVE repeatedly\n");
}

TEST(Report, LongMessageWrapsAfterThePrefix) {
  set_up_primary();
  std::string arg;
  while (arg.size() < 1200) arg += "word ";
  CaptureStderr();
  error_at(420, {1, 1}, {arg});
  std::string out = GetCapturedStderr();
  size_t nl = out.find('\n');
  ASSERT_NE(nl, std::string::npos);
  EXPECT_LE(nl, 1000u);
  EXPECT_EQ(out.compare(nl + 1, 10, std::string(10, ' ')), 0);
  EXPECT_NE(out[nl + 11], ' ');
}

TEST(Report, RawListingEcho) {
  set_up_primary();
  FILE* listing = tmpfile();
  ASSERT_NE(listing, nullptr);
  diag.raw_listing_file = listing;
  CaptureStderr();
  error_at(420, {2, 3}, {"a.f"});
  warning_at(484, null_pos);
  GetCapturedStderr();
  diag.raw_listing_file = nullptr;
  rewind(listing);
  char buf[256] = {};
  size_t n = fread(buf, 1, sizeof buf - 1, listing);
  fclose(listing);
  EXPECT_EQ(std::string(buf, n),
            "E \"main.f90\"   2  3 could not open source file \"a.f\"\n"
            "W \"\"   0  0 free-form input is not standard FORTRAN 77\n");
}

TEST(ReportDeath, CatastropheEndsWithStatus4) {
  EXPECT_EXIT(
      {
        set_up_primary();
        catastrophe_at(394, null_pos);
      },
      testing::ExitedWithCode(4), "^Catastrophic error: out of memory\n$");
}

TEST(ReportDeath, CommandLineErrorEndsWithStatus4) {
  EXPECT_EXIT(
      {
        set_up_primary();
        command_line_error("invalid option: %s", {"-l"});
      },
      testing::ExitedWithCode(4), "^Command-line error: invalid option: -l\n$");
}

TEST(ReportDeath, ErrorLimitReached) {
  EXPECT_EXIT(
      {
        set_up_primary();
        diag.error_limit = 2;
        error_at(327, {1, 1});
        warning_at(3, {1, 1});
        error_at(327, {2, 1});
      },
      testing::ExitedWithCode(4),
      "main.f90 \\(  2: 1\\) error:   unexpected end of file\nError limit reached.\n$");
}

TEST(ReportDeath, InternalErrorAborts) {
  EXPECT_DEATH(
      {
        set_up_primary();
        internal_error(0);
      },
      "Internal error:     unknown error");
}

// The listing letter of every severity; an internal error says so before its
// text and still reaches the listing although the run ends in an abort.
TEST(ReportDeath, ListingLettersAndInternalErrorEcho) {
  char name[] = "/tmp/diag_listingXXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_DEATH(
      {
        set_up_primary();
        diag.min_severity = 1;
        diag.raw_listing_file = fopen(name, "w");
        remark_at(3, {1, 0});
        warning_at(3, {2, 1});
        error_at(3, {6, 0});
        internal_error(617, {"ignored"});
      },
      "Internal error:     unknown error");
  FILE* listing = fopen(name, "r");
  ASSERT_NE(listing, nullptr);
  char buf[512] = {};
  size_t n = fread(buf, 1, sizeof buf - 1, listing);
  fclose(listing);
  unlink(name);
  EXPECT_EQ(std::string(buf, n),
            "R \"main.f90\"   1  0 DO variable modified within DO loop\n"
            "W \"main.f90\"   2  1 DO variable modified within DO loop\n"
            "E \"main.f90\"   5  0 DO variable modified within DO loop\n"
            "C \"\"   0  0 (internal error) unknown error\n");
}

TEST(ExitDeath, CompletionCodesToStatus) {
  EXPECT_EXIT(exit_program(0), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(exit_program(2), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(exit_program(3), testing::ExitedWithCode(2), "");
  EXPECT_EXIT(exit_program(4), testing::ExitedWithCode(4), "");
  EXPECT_EXIT(exit_program(5), testing::ExitedWithCode(4), "");
  EXPECT_DEATH(exit_program(6), "");
}

int hook_code = -1;
void record_hook(int code) {
  hook_code = code;
  fprintf(stderr, "hook %d\n", code);
}

TEST(ExitDeath, HookRunsBeforeExit) {
  EXPECT_EXIT(
      {
        diagnostics_reset();
        set_exit_hook(record_hook);
        exit_with_hook(3);
      },
      testing::ExitedWithCode(2), "^hook 3\n$");
}

}  // namespace
