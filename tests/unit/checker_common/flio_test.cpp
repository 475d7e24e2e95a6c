// File units: text lines, binary records, bit-packed streams, temporary files,
// the extension rule, the preprocessor and finding the checker's own files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "tests/unit/checker_common/common_fixture.h"

using FileUnits = CommonTest;

TEST_F(FileUnits, TextLinesLongLinesAndTheLastLine) {
  // Buffer of 8: "1234567" (7 = size - 1) fits with its newline dropped; the
  // 10-character line is cut to 7 and the rest skipped; the last line has no
  // newline.
  write_file("t.txt", "1234567\nabcdefghij\nxy\nlast");
  flio.pass = 1;
  int u = txtopn(path("t.txt").c_str(), 0, nullptr);
  ASSERT_GT(u, 0);
  EXPECT_EQ(unitkind(u), FK_TEXT);
  char buf[8];
  EXPECT_EQ(iread(u, buf, 8), 8);
  EXPECT_STREQ(buf, "1234567");
  EXPECT_EQ(iread(u, buf, 8), 8);
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_EQ(iread(u, buf, 8), 3);
  EXPECT_STREQ(buf, "xy");
  EXPECT_EQ(captured_report(), "");
  EXPECT_EQ(iread(u, buf, 8), 5);
  EXPECT_STREQ(buf, "last");
  EXPECT_NE(captured_report().find("no newline at end of file " + path("t.txt")),
            std::string::npos);
  EXPECT_EQ(iread(u, buf, 8), 0);
  txtrew(u);
  EXPECT_EQ(iread(u, buf, 8), 8);
  EXPECT_STREQ(buf, "1234567");
  iclose(u);
  EXPECT_EQ(unitkind(u), FK_FREE);
}

TEST_F(FileUnits, NoNewlineMessageNotInPassZero) {
  write_file("t.txt", "last");
  flio.pass = 0;
  int u = txtopn(path("t.txt").c_str(), 0, nullptr);
  char buf[16];
  EXPECT_EQ(iread(u, buf, 16), 5);
  EXPECT_STREQ(buf, "last");
  EXPECT_EQ(captured_report(), "");
  iclose(u);
}

TEST_F(FileUnits, FailedOpenKeepsTheName) {
  EXPECT_EQ(iopen(path("missing").c_str(), 0, nullptr, 0), 0);
  EXPECT_EQ(getbadfn(), path("missing"));
  EXPECT_EQ(getfi(), 1);  // the unit stayed free
}

TEST_F(FileUnits, ExtensionRule) {
  struct Case { const char* name; const char* expected; };
  const Case cases[] = {{"a.lbt", "a.lbt"},          {"prog.f", "prog.f.lbt"},
                        {"dir.x/a", "dir.x/a.lbt"},  {"std.lbt", "std.lbt"},
                        {"dir\\a", "dir\\a.lbt"},    {"[x.y]a", "[x.y]a.lbt"},
                        {"a.LBT", "a.LBT.lbt"}};
  for (const Case& c : cases) EXPECT_EQ(munch(c.name, ".lbt"), c.expected) << c.name;
  // Names of any length keep their whole text.
  std::string longname(300, 'n');
  EXPECT_EQ(munch(longname.c_str(), ".lbt"), longname + ".lbt");
}

TEST_F(FileUnits, WriteWithExtensionAndReadBinary) {
  int u = iopen(path("lib").c_str(), FM_WRITE | FM_EXT, ".lbt", 32768);
  ASSERT_GT(u, 0);
  EXPECT_EQ(getfn(u, 0), path("lib.lbt"));
  EXPECT_EQ(getfn(u, 1), "lib.lbt");
  EXPECT_EQ(iwrite(u, "abcdef", 6), 6);
  iseek(u, 2);
  char buf[3];
  EXPECT_EQ(iread(u, buf, 3), 3);
  EXPECT_EQ(std::string(buf, 3), "cde");
  EXPECT_EQ(itell(u), 5);
  iclose(u);
  EXPECT_EQ(read_file("lib.lbt"), "abcdef");
}

TEST_F(FileUnits, BinaryRecordsAndTemporaryFiles) {
  int u = binopn(nullptr, 16, FM_WRITE | 1, nullptr);
  ASSERT_GT(u, 0);
  EXPECT_EQ(unitkind(u), FK_RECORDS);
  unsigned char r0[16], r1[16], back[16];
  std::memset(r0, 'A', 16);
  std::memset(r1, 'B', 16);
  binwrt(u, 1, r1);
  binwrt(u, 0, r0);
  binrd(u, 0, back);
  EXPECT_EQ(std::memcmp(back, r0, 16), 0);
  binrd(u, 1, back);
  EXPECT_EQ(std::memcmp(back, r1, 16), 0);
  // The temporary file has no name left in the temporary directory.
  struct stat st;
  ASSERT_EQ(::fstat(::fileno(myfpno(u)), &st), 0);
  EXPECT_EQ(st.st_nlink, 0u);
  EXPECT_EQ(getfn(u, 1).rfind("tarvo", 0), 0u);
  bincls(u);
}

TEST_F(FileUnits, BitPackedStream) {
  int u = iopen(path("bits").c_str(), FM_WRITE | FM_BITS, nullptr, 64);
  ASSERT_GT(u, 0);
  ASSERT_EQ(unitkind(u), FK_BITS);
  const unsigned char data[] = {0, 5, 0, 255};
  iwrite(u, data, 4);
  EXPECT_EQ(itell(u), 1 + 9 + 1 + 9);
  iseek(u, 0);
  unsigned char back[4] = {9, 9, 9, 9};
  iread(u, back, 4);
  EXPECT_EQ(std::memcmp(back, data, 4), 0);
  EXPECT_EQ(itell(u), 20);
  iseek(u, 10);  // the third value, inside the second byte
  unsigned char one = 9;
  iread(u, &one, 1);
  EXPECT_EQ(one, 0);
  iread(u, &one, 1);
  EXPECT_EQ(one, 255);
  iclose(u);
  // 0 | 1 00000101 | 0 | 1 11111111, packed from the top bit: 0100 0001 0101 1111 1111 0000
  EXPECT_EQ(read_file("bits"), std::string("\x41\x5F\xF0", 3));
}

TEST_F(FileUnits, NoSmashingKeepsBinaryStreams) {
  flio.nosmashing = true;
  int u = iopen(path("plain").c_str(), FM_WRITE | FM_BITS, nullptr, 64);
  EXPECT_EQ(unitkind(u), FK_BINARY);
  iclose(u);
}

TEST_F(FileUnits, StandardOutputUnitAndEnsembleDropsItsWrites) {
  int u = txtopnstdout();
  EXPECT_EQ(getfn(u, 0), "stdout");
  EXPECT_EQ(myfpno(u), stdout);
  flio.ensemble = true;
  ::testing::internal::CaptureStdout();
  iwrite(u, "dropped\n", 8);
  std::fflush(stdout);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  iclose(u);
}

TEST_F(FileUnits, PreprocessorOutputIsReadAndNamesAreRemoved) {
  write_file("src.F", "      x = 1\n");
  flio.cppargs = {"cp"};
  flio.localpass = true;
  int u = cppopn(path("src.F").c_str());
  ASSERT_GT(u, 0);
  char buf[64];
  EXPECT_EQ(iread(u, buf, 64), 12);
  EXPECT_STREQ(buf, "      x = 1");
  iclose(u);
  flio.cppargs.clear();
  EXPECT_EQ(cppopn(path("src.F").c_str()), 0);
  EXPECT_EQ(getbadfn(), path("src.F"));
}

TEST_F(FileUnits, PreprocessorComplaintsAreReported) {
  flio.cppargs = {"cp"};
  flio.localpass = true;
  EXPECT_EQ(cppopn(path("absent.F").c_str()), 0);
  EXPECT_NE(captured_report().find("tarvo (info): from cpp... "), std::string::npos);
  EXPECT_NE(captured_report().find("can't find cpp output for source file " + path("absent.F")),
            std::string::npos);
}

TEST_F(FileUnits, FindFileThroughTheEnvironment) {
  std::string result;
  ::unsetenv("TARVOCFG");
  ::setenv("TARVOHOME", "/opt/k", 1);
  EXPECT_EQ(findfile("tarvo.cfg", 0, result), 1);
  EXPECT_EQ(result, "/opt/k/tarvo.cfg");
  ::setenv("TARVOHOME", "/opt/k/", 1);
  EXPECT_EQ(findfile("tarvo.cfg", 0, result), 1);
  EXPECT_EQ(result, "/opt/k/tarvo.cfg");
  ::unsetenv("TARVOHOME");
  EXPECT_EQ(findfile("tarvo.cfg", 0, result), 1);
  EXPECT_EQ(result, "tarvo.cfg");
  write_file("tarvo.cfg", "x\n");
  ::setenv("TARVOCFG", dir_.c_str(), 1);
  EXPECT_EQ(findfile("tarvo.cfg", 0, result), 0);
  EXPECT_EQ(result, path("tarvo.cfg"));
  EXPECT_EQ(findfile("tarvo.cfg", 1, result), 1);  // start 1 skips TARVOCFG
  EXPECT_EQ(findfile("no_such.err", 0, result), 1);  // not there: falls through
  EXPECT_EQ(result, "no_such.err");
  ::unsetenv("TARVOCFG");
}

TEST_F(FileUnits, FindFileBesideTheProgram) {
  // Without TARVOHOME a file that is not in the current directory is taken
  // from the program's own directory when it is there: the test program
  // finds itself.
  ::unsetenv("TARVOCFG");
  ::unsetenv("TARVOHOME");
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  std::string name = self.filename().string();
  std::string result;
  EXPECT_EQ(findfile(name.c_str(), 0, result), 1);
  EXPECT_EQ(result, self.string());
  // A copy in the current directory comes first.
  write_file(name, "x\n");
  std::filesystem::path saved = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  EXPECT_EQ(findfile(name.c_str(), 0, result), 1);
  EXPECT_EQ(result, name);
  std::filesystem::current_path(saved);
}

TEST_F(FileUnits, WorkingDirectoryAndSameFile) {
  std::string start;
  ASSERT_EQ(mygetwd(start), 0);
  EXPECT_EQ(mychdir("", 1), 1);
  EXPECT_EQ(mychdir(dir_.c_str(), 1), 1);
  std::string now;
  mygetwd(now);
  EXPECT_EQ(now, std::filesystem::canonical(dir_).string());
  EXPECT_EQ(mychdir("/no/such/dir", 0), 0);
  EXPECT_EQ(captured_report(), "");
  EXPECT_EQ(mychdir("/no/such/dir", 1), 0);
  EXPECT_NE(captured_report().find("can't change working directory to /no/such/dir"),
            std::string::npos);
  mychdir(start.c_str(), 1);
  write_file("same", "x");
  int a = ::open(path("same").c_str(), O_RDONLY);
  int b = ::open(path("same").c_str(), O_RDONLY);
  EXPECT_EQ(fdsame(a, b), 1);
  EXPECT_EQ(fdsame(a, 0), 0);
  EXPECT_EQ(fdsame(a, -1), 0);
  ::close(a);
  ::close(b);
}

using FileUnitsDeath = CommonTest;

TEST_F(FileUnitsDeath, TheFiftyFirstUnitIsFatal) {
  EXPECT_EXIT(
      {
        for (int i = 0; i < 50; ++i)
          if (iopen(nullptr, FM_WRITE, nullptr, 0) == 0) std::exit(9);
        iopen(nullptr, FM_WRITE, nullptr, 0);
      },
      ::testing::ExitedWithCode(4), "tarvo \\(fatal\\): maximum file count exceeded");
}

TEST_F(FileUnitsDeath, ReadingPastTheEndIsFatal) {
  EXPECT_EXIT(
      {
        int u = binopn(nullptr, 16, FM_WRITE, nullptr);
        unsigned char r[16] = {};
        binwrt(u, 0, r);
        binrd(u, 1, r);
      },
      ::testing::ExitedWithCode(4), "can't read .*tarvo.* \\(end of file, data not found\\)");
  write_file("short", "abc");
  std::string name = path("short");
  EXPECT_EXIT(
      {
        int u = iopen(name.c_str(), 0, nullptr, 0);
        char buf[8];
        iread(u, buf, 8);
      },
      ::testing::ExitedWithCode(4), "can't read .*short");
}

TEST_F(FileUnitsDeath, MisusedUnitsAreInternalErrors) {
  EXPECT_EXIT(myfpno(7), ::testing::ExitedWithCode(4), "internal error in routine myfpno");
  EXPECT_EXIT(getfn(0, 0), ::testing::ExitedWithCode(4), "internal error in routine getfn");
  EXPECT_EXIT(bincls(txtopnstdout()), ::testing::ExitedWithCode(4),
              "internal error in routine bincls");
}
