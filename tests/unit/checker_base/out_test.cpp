// Report output: page headers, pagination, held section headings, the star
// lines, and source lines with tabs and control characters.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include "checker/base/cmmdline.h"
#include "checker/base/out.h"
#include "checker/common/flio.h"

namespace {

class OutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cmmdline_reset();
    out_reset();
    isdate = "14-Nov-2023";
    istime = "22:13:20";
    char tmpl[] = "/tmp/tarvo_out_XXXXXX";
    int fd = mkstemp(tmpl);
    close(fd);
    name = tmpl;
    unit = txtopn(name.c_str(), FM_WRITE, nullptr);
    setoutputunit(unit);
  }
  std::string finish() {
    iclose(unit);
    setoutputunit(0);
    std::ifstream in(name);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(name.c_str());
    return text;
  }
  std::string name;
  int unit = 0;
};

int count(const std::string& s, const std::string& what) {
  int n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

}  // namespace

TEST_F(OutTest, FirstHeaderFieldsByWidth) {
  struct Row {
    int32_t width, lpp;
    std::string header;
  };
  const Row rows[] = {
      {79, 60, "Tarvo F77/90    Rev 5.00.14-QEN                  14-Nov-2023  22:13:20   Page 1\n"},
      {79, 0, "Tarvo F77/90    Rev 5.00.14-QEN                          14-Nov-2023  22:13:20 \n"},
      {54, 60, "Tarvo F77/90 Rev 5.00.14- 14-Nov-2023 22:13:20  Page 1\n"},
      {48, 0, "Tarvo F77/90   Rev 5.00.14 14-Nov-2023 22:13:20\n"},
      {40, 60, "Tarvo F77/90  Rev 5.00.14-QEN 14-Nov-2023 22:13:20\n"},
  };
  for (const Row& r : rows) {
    outwid = r.width;
    nlpp = r.lpp;
    setfirstpgheader(revision_text);
    EXPECT_EQ(rpt.pgheader, r.header) << "width " << r.width;
  }
  finish();
}

TEST_F(OutTest, PaginatedReportStartsPagesWithTheRunningHeader) {
  outwid = 79;
  nlpp = 10;
  printfirstpage();
  setpgheader("(source analysis)");
  for (int i = 1; i <= 20; ++i) outstr("line " + std::to_string(i) + "\n");
  std::string text = finish();
  EXPECT_EQ(text.rfind("Tarvo F77/90", 0), 0u);   // page 1: no form feed
  EXPECT_EQ(count(text, "\f"), 2);
  EXPECT_NE(text.find("\fTarvo F77/90    (source analysis)"), std::string::npos);
  EXPECT_NE(text.find("Page 2\n\n"), std::string::npos);
  EXPECT_NE(text.find("Page 3\n\n"), std::string::npos);
  // Page 2 holds the header, a blank line and 8 lines.
  size_t p2 = text.find("Page 2\n");
  size_t p3 = text.find("\f", p2);
  EXPECT_EQ(count(text.substr(p2, p3 - p2), "\n"), 10);
}

TEST_F(OutTest, UnpaginatedReportHasOneHeaderAndNoPageBreaks) {
  outwid = 79;
  nlpp = 0;
  outstr("\n");   // the first line writes the (empty) running header once
  printfirstpage();
  setpgheader("(source analysis)");
  SectionUnit u{6, "SUB", "a.f", 3, 1, 0, "", "", ""};
  for (int i = 0; i < 30; ++i) {
    sectionheader(u);
    outstr("text\n");
  }
  printendstars();
  std::string text = finish();
  EXPECT_EQ(count(text, "\f"), 0);
  EXPECT_EQ(count(text, "Rev 5.00.14-QEN"), 1);
  EXPECT_EQ(count(text, "   Subroutine SUB  File a.f Line 3\n"), 30);
  // Each heading: a blank line and one star line before it, no page break.
  EXPECT_EQ(count(text, std::string(79, '*') + "\n   Subroutine"), 30);
  // The closing star line.
  EXPECT_EQ(text.substr(text.size() - 83), "\n\n" + std::string(79, '*') + "\n\n");
}

TEST_F(OutTest, HeldHeadingWithoutLinesIsNeverPrinted) {
  nlpp = 0;
  linleft = -1;
  SectionUnit a{5, "F", "a.f", 1, 1, 0, "", "", ""};
  SectionUnit b{6, "S", "a.f", 9, 1, 0, "", "", ""};
  sectionheader(a);
  clearholdlen();   // end of unit F: nothing printed for it
  sectionheader(b);
  outstr("x\n");
  std::string text = finish();
  EXPECT_EQ(text.find("Function"), std::string::npos);
  EXPECT_NE(text.find("   Subroutine S  File a.f Line 9\nx\n"), std::string::npos);
}

TEST_F(OutTest, ContainedUnitHeadingHasSecondLine) {
  nlpp = 0;
  linleft = -1;
  SectionUnit u{5, "F", "m.f90", 4, 2, 1, "M", "", ""};
  sectionheader(u);
  outstr("x\n");
  std::string text = finish();
  EXPECT_NE(text.find("     Function F  File m.f90 Line 4\n              <Module subprog of M>\n\nx\n"),
            std::string::npos);
}

TEST_F(OutTest, OverlongOutputLineIsCutButEnds) {
  linleft = -1;
  outstr(std::string(600, 'a') + "\n");
  outstr("next\n");
  std::string text = finish();
  EXPECT_EQ(text, std::string(500, 'a') + "\nnext\n");
}

TEST_F(OutTest, Numbers) {
  linleft = -1;
  outnum(-42);
  outstr(" ");
  outnum(INT32_MIN);
  outstr("\n");
  EXPECT_EQ(finish(), "-42 -2147483648\n");
}

TEST(Extab, TabsControlsAndWidth) {
  int32_t dc = 0;
  EXPECT_EQ(extabtext("\tX = 1", 1, 78, &dc), "        X = 1");
  EXPECT_EQ(dc, 8);   // column 2 of the line is shown in column 9
  EXPECT_EQ(extabtext("A\x01" "B", 2, 78, &dc), "A^AB");
  EXPECT_EQ(dc, 3);   // a control character takes two columns
  EXPECT_EQ(extabtext("ab\tc", 3, 78, &dc), "ab      c");
  EXPECT_EQ(dc, 8);
  std::string longline(100, 'x');
  EXPECT_EQ(extabtext(longline, 0, 40, &dc), std::string(37, 'x') + "...");
  EXPECT_EQ(extabtext(std::string(40, 'y') + "     ", 0, 40, &dc), std::string(40, 'y'));
  EXPECT_EQ(extabtext("trailing   ", 0, 78, &dc), "trailing");
}

// The calls of a report, made one by one; a slot opened at step `at` waits
// in front of the calls after it.
namespace {

struct ReportStep {
  char what;          // 't' text, 'h' section heading, 'c' clear the heading, 'b' page-end break
  std::string text;   // what 't' writes
};

void run_steps(const std::vector<ReportStep>& steps) {
  SectionUnit u{6, "SUB", "a.f", 3, 1, 0, "", "", ""};
  for (const ReportStep& s : steps) {
    switch (s.what) {
      case 't': outstr(s.text); break;
      case 'h': sectionheader(u); break;
      case 'c': clearholdlen(); break;
      case 'b': out_break_page_within(3); break;
      default: break;
    }
  }
}

}  // namespace

// A slot printed in its place gives the report that writing its text there
// at once gives, pages, held headings and partial lines included; a slot
// dropped gives the report of the calls without it.
TEST_F(OutTest, HeldSlotsTakeTheirPlaceInTheReport) {
  const std::vector<ReportStep> before = {{'t', "one\n"}, {'h', ""}, {'t', "part"}};
  const std::vector<ReportStep> after = {{'t', " rest\n"}, {'b', ""}, {'t', "two\n"},
                                         {'c', ""}, {'h', ""}, {'t', "three\n"}};
  const std::string slot_text = "\nslot line\n";
  finish();   // each report below has a file of its own
  auto report = [&](int mode) {  // 0 text at once, 1 slot printed, 2 slot dropped, 3 no slot
    SetUp();
    nlpp = 8;
    printfirstpage();
    setpgheader("(source analysis)");
    for (int i = 0; i < 3; ++i) outstr("filler\n");
    run_steps(before);
    int32_t slot = 0;
    if (mode == 0) outstr(slot_text);
    if (mode == 1 || mode == 2) slot = out_hold([&] { outstr(slot_text); });
    run_steps(after);
    if (slot != 0) {
      EXPECT_EQ(out_waiting(), 1);
      out_settle(slot, mode == 1);
    }
    EXPECT_EQ(out_waiting(), 0);
    return finish();
  };
  std::string at_once = report(0);
  std::string none = report(3);
  EXPECT_NE(at_once, none);
  EXPECT_EQ(report(1), at_once);
  EXPECT_EQ(report(2), none);
}

TEST_F(OutTest, SlotsSettleInAnyOrderAndPrintInTheirOwn) {
  nlpp = 0;
  linleft = -1;
  int32_t a = out_hold([] { outstr("A\n"); });
  outstr("b\n");
  int32_t c = out_hold([] { outstr("C\n"); });
  outstr("d\n");
  int32_t e = out_hold([] { outstr("E\n"); });
  out_settle(c, true);   // waits behind A
  out_settle(e, false);
  EXPECT_EQ(out_waiting(), 1);
  out_settle(a, true);
  outstr("f\n");
  EXPECT_EQ(finish(), "A\nb\nC\nd\nf\n");
}

// A fatal message ends the process while a slot waits: the slot and what
// waits behind it are printed all the same.
TEST_F(OutTest, WaitingSlotsArePrintedWhenTheProcessEnds) {
  nlpp = 0;
  linleft = -1;
  EXPECT_EXIT(
      {
        out_hold([] { outstr("held\n"); });
        outstr("after\n");
        std::exit(4);
      },
      ::testing::ExitedWithCode(4), "");
  EXPECT_EQ(finish(), "held\nafter\n");
}
