// The message catalogue: reading message-file lines, the reporting rules of
// the type letters, options and SUPPRESS marks, and the printed form.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include "checker/base/cmmdline.h"
#include "checker/base/errmsg.h"
#include "checker/base/out.h"
#include "checker/common/flio.h"

namespace {

class ErrmsgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cmmdline_reset();
    errmsg_reset();
    out_reset();
  }
};

// Report text written while f runs (the report goes to a temporary file).
template <class F>
std::string report_of(F f) {
  char name[] = "/tmp/tarvo_errmsg_XXXXXX";
  int fd = mkstemp(name);
  close(fd);
  int unit = txtopn(name, FM_WRITE, nullptr);
  setoutputunit(unit);
  linleft = -1;   // the page header is already out
  f();
  iclose(unit);
  setoutputunit(0);
  std::ifstream in(name);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(name);
  return text;
}

}  // namespace

TEST_F(ErrmsgTest, FileLineGivesTypeAndText) {
  EXPECT_EQ(errfileline("150 SW a syntax warning"), 150);
  EXPECT_EQ(ecat.errtyp[150].l1, 'S');
  EXPECT_EQ(ecat.errtyp[150].l2, 'W');
  EXPECT_STREQ(ecat.errtbl[150], "a syntax warning");
  // Digits only count in columns 1-3; blanks there are skipped.
  EXPECT_EQ(errfileline("  7 SE missing paren"), 7);
  // Issue-list lines, numbers out of range and lines without a text
  // record nothing.
  EXPECT_EQ(errfileline("I12 SE issue list"), 0);
  EXPECT_EQ(errfileline("991 SE too big"), 0);
  EXPECT_EQ(errfileline("000 SE zero"), 0);
  EXPECT_EQ(errfileline("152 SE "), 0);
  EXPECT_EQ(ecat.errtyp[152].l1, '@');
  // A text of one character makes a message line of 8 characters.
  EXPECT_EQ(errfileline("151 SE x"), 151);
  EXPECT_EQ(ecat.errtyp[151].l1, 'S');
  EXPECT_STREQ(ecat.errtbl[151], "x");
}

TEST_F(ErrmsgTest, DuplicateNumberIsFatal) {
  errfileline("150 SW first text");
  EXPECT_EXIT(errfileline("150 SE second text"), ::testing::ExitedWithCode(4),
              "error file message 150  duplicated");
}

TEST_F(ErrmsgTest, TypeLettersAndOptionsDecideReporting) {
  struct Row {
    const char* line;
    int n;
    int32_t usg, wrn, fyi, imp;
    int expected;
  };
  const Row rows[] = {
      {"150 SW warning", 150, 0, 0, 0, 0, 0},   // warning needs -w
      {"150 SW warning", 150, 0, 1, 0, 0, 1},
      {"151 SE error", 151, 0, 0, 0, 0, 1},   // errors always
      {"152 SF fyi note", 152, 0, 0, 0, 0, 0},   // FYI needs -f
      {"152 SF fyi note", 152, 0, 0, 1, 0, 1},
      {"125 SM implicit", 125, 0, 0, 0, 0, 0},   // implicit typing needs -m
      {"125 SM implicit", 125, 0, 0, 0, 1, 1},
      {"126 UW usage", 126, 0, 1, 0, 0, 0},   // usage needs -u as well
      {"126 UW usage", 126, 1, 1, 0, 0, 1},
      {"185 IE interface", 185, 1, 1, 1, 1, 0},   // checks across units: never
      {"600 PW portability", 600, 0, 1, 0, 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    errmsg_reset();
    errfileline(r.line);
    usgopt = r.usg;
    wrnopt = r.wrn;
    fyiopt = r.fyi;
    impopt = r.imp;
    EXPECT_EQ(errtoberep(r.n) != 0, r.expected != 0);
  }
  // A number the file lacks is reported unconditionally.
  errmsg_reset();
  EXPECT_NE(errtoberep(400), 0);
}

TEST_F(ErrmsgTest, SuppressAllSparesOverflowAndFileMessages) {
  wrnopt = 1;
  supperr(0, 1);                // SUPPRESS all, before the file is read
  errfileline("150 SW warning");
  errfileline("  4 OO overflow");
  errfileline("  1 ZE file error");
  EXPECT_EQ(errtoberep(150), 0);
  EXPECT_NE(errtoberep(4), 0);
  EXPECT_NE(errtoberep(1), 0);
  EXPECT_EQ(supperr(150, 2), 1);   // "+150" re-enables it
  EXPECT_NE(errtoberep(150), 0);
  EXPECT_EQ(supperr(991, 1), 0);
  EXPECT_EQ(supperr(-1, 1), 0);
}

TEST_F(ErrmsgTest, ErrmsgPrintsNumberOnlyInTheLocalPass) {
  errfileline("151 SE error");
  std::string text = report_of([] { EXPECT_EQ(errmsg(151, ""), 1); });
  // No position: a blank line and the number.
  EXPECT_EQ(text, "\nError #151\n");
  errhooks.local_pass = [] { return false; };
  EXPECT_EQ(report_of([] { EXPECT_EQ(errmsg(151, ""), 0); }), "");
  errhooks.local_pass = [] { return true; };
  errhooks.abandoned = [] { return true; };
  EXPECT_EQ(report_of([] { EXPECT_EQ(errmsg(151, ""), 0); }), "");
  errhooks.abandoned = [] { return false; };
  EXPECT_EQ(report_of([] { EXPECT_EQ(errmsg(0, ""), 0); EXPECT_EQ(errmsg(991, ""), 0); }), "");
}

TEST_F(ErrmsgTest, ContextComesFromTheStatementReader) {
  errfileline("151 SE error");
  errhooks.errcol = [] { return int32_t{12}; };
  errhooks.context = [](int32_t) { return std::string(">      X = (\n>           ^\na.f:P line 3:\n"); };
  std::string text = report_of([] { errmsg(151, ""); });
  EXPECT_EQ(text, "\n>      X = (\n>           ^\na.f:P line 3:\nError #151\n");
  // Special columns without a place print only the blank line.
  for (int32_t col : {0, -30001, -30002}) {
    EXPECT_EQ(report_of([col] { perrlin(col); }), "\n");
  }
}

TEST_F(ErrmsgTest, MissingMessageFileIsFatal) {
  char dir[] = "/tmp/tarvo_noerr_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string cwd = std::filesystem::current_path();
  EXPECT_EXIT(
      {
        setenv("TARVOCFG", dir, 1);
        setenv("TARVOHOME", dir, 1);
        std::filesystem::current_path(dir);
        initerr();
      },
      ::testing::ExitedWithCode(4), "can.t open .*tarvo.err as input \\(No such file or directory\\)");
  rmdir(dir);
}

TEST_F(ErrmsgTest, MessageFileFoundThroughTarvocfg) {
  char dir[] = "/tmp/tarvo_err_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string file = std::string(dir) + "/tarvo.err";
  {
    std::ofstream out(file);
    out << "150 SW a warning of our own\nI99 SE skipped\n  4 OO overflow\n";
  }
  setenv("TARVOCFG", dir, 1);
  supperr(4, 1);
  EXPECT_EQ(initerr(), 1);
  EXPECT_EQ(ecat.errtyp[150].l2, 'W');
  EXPECT_EQ(ecat.errtyp[4].mark, 0);   // overflow messages cannot be suppressed
  EXPECT_EQ(ecat.errtyp[99].l1, '@');
  unsetenv("TARVOCFG");
  std::remove(file.c_str());
  rmdir(dir);
}

// A held message is printed, when settled so, exactly as errmsg would have
// printed it where it was raised (its place taken then), and counted then;
// dropped, it leaves nothing. A message that would not be printed is not
// held.
TEST_F(ErrmsgTest, HeldMessageIsPrintedAsRaisedOrDropped) {
  errfileline("136 SE untyped");
  errfileline("150 SW warning");
  errhooks.errcol = [] { return int32_t{7}; };
  errhooks.context = [](int32_t col) { return ">  x = f(1)\n>" + std::string(static_cast<size_t>(col) - 3, ' ') + "^\na.f90:P line 4:\n"; };
  const std::string raised = report_of([] { errmsg(136, ""); });
  EXPECT_EQ(raised, "\n>  x = f(1)\n>    ^\na.f90:P line 4:\nError #136\n");
  for (bool print : {true, false}) {
    int32_t before = ecat.errcnt[136];
    std::string text = report_of([print] {
      int32_t slot = errmsg_hold(136);
      EXPECT_GT(slot, 0);
      errhooks.errcol = [] { return int32_t{0}; };   // the place moves on
      errmsg_settle(slot, print);
    });
    errhooks.errcol = [] { return int32_t{7}; };
    EXPECT_EQ(text, print ? raised : "");
    EXPECT_EQ(ecat.errcnt[136], before + (print ? 1 : 0));
  }
  wrnopt = 0;
  EXPECT_EQ(report_of([] { EXPECT_EQ(errmsg_hold(150), 0); errmsg_settle(0, true); }), "");
}
