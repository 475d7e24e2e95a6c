// Host services: the date text, VMS include names, include directories and
// the search order of INCLUDE files, and the exit status of a run.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include "checker/runstat.h"
#include "checker/sysdep.h"

namespace fs = std::filesystem;

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

TEST(Sysdep, VmsIncludeNames) {
  setenv("LOGICALNAMEMAPPING", "SRC=/home/x;INC=/usr/inc", 1);
  std::string name = "INC:defs.for/nolist";
  EXPECT_EQ(parse_vms_include_name(name), "");
  EXPECT_EQ(name, "/usr/inc/defs.for");
  name = "mylib(mod1)";
  EXPECT_EQ(parse_vms_include_name(name), "mod1");
  name = "OTHER:x.for/LIST";
  parse_vms_include_name(name);
  EXPECT_EQ(name, "OTHER:x.for");
  unsetenv("LOGICALNAMEMAPPING");
}

TEST(Sysdep, IncludeNameClean) {
  IncludeSearch how{};
  EXPECT_EQ(include_name(" my file.h ", how), "myfile.h");
  EXPECT_EQ(include_name("sub\\a.h", how), "sub/a.h");
  how.ignore_paths = true;
  EXPECT_EQ(include_name("a/b/c.h", how), "c.h");
  how = IncludeSearch{};
  how.ignore_logicals = true;
  EXPECT_EQ(include_name("DISK:[DIR]c.h", how), "c.h");
  EXPECT_EQ(include_name("c:/dir/c.h", how), "c:/dir/c.h");
  how = IncludeSearch{};
  how.lowercase = true;
  EXPECT_EQ(include_name("ABC.H", how), "abc.h");
}

TEST(Sysdep, IncludeDirectory) {
  EXPECT_EQ(set_incdir("a.h", "/w"), "");
  EXPECT_EQ(set_incdir("/abs/dir/a.h", "/w"), "/abs/dir");
  EXPECT_EQ(set_incdir("sub/a.h", "/w/x"), "/w/x/sub");
  EXPECT_EQ(set_incdir("../a.h", "/w/x"), "/w");
  EXPECT_EQ(set_incdir("./inc/a.h", "/w"), "/w/inc");
}

TEST(Sysdep, IncludeSearchOrder) {
  char tmpl[] = "/tmp/tarvo_inc_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  fs::path root = tmpl;
  fs::create_directories(root / "src");
  fs::create_directories(root / "p1");
  fs::create_directories(root / "p2");
  std::ofstream(root / "p2" / "a.h") << "p2\n";
  std::ofstream(root / "a.h") << "start\n";
  std::ofstream(root / "p1" / "b.h") << "p1\n";
  std::ofstream(root / "src" / "b.h") << "src\n";
  IncludeSearch how{};
  how.incdir = "src";          // relative: from the start directory
  how.startdir = root.string();
  how.paths = {"p1", "p2"};
  std::string path, failed;
  std::FILE* fp = include_open("a.h", how, path, failed);
  ASSERT_NE(fp, nullptr);
  std::fclose(fp);
  EXPECT_EQ(path, (root / "p2" / "a.h").string());   // paths before the start directory
  fp = include_open("b.h", how, path, failed);
  ASSERT_NE(fp, nullptr);
  std::fclose(fp);
  EXPECT_EQ(path, (root / "src" / "b.h").string());  // the including file's directory first
  EXPECT_EQ(include_open("none.h", how, path, failed), nullptr);
  EXPECT_EQ(failed, "/usr/include/none.h");
  how.vms = true;
  std::ofstream(root / "p1" / "UP.H") << "up\n";
  fp = include_open("up.h", how, path, failed);
  ASSERT_NE(fp, nullptr);
  std::fclose(fp);
  EXPECT_EQ(path, (root / "p1" / "UP.H").string());
  fs::remove_all(root);
}

TEST(RunStatus, ShellExitMapsOneAndTwo) {
  EXPECT_EQ(exitstatus(0, 0), 0);
  EXPECT_EQ(exitstatus(2, 0), 2);
  EXPECT_EQ(exitstatus(1, 1), 0);
  EXPECT_EQ(exitstatus(2, 1), 0);
  EXPECT_EQ(exitstatus(3, 1), 3);
}
