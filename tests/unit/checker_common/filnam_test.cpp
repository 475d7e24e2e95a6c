// File-name table: numbering without repetitions, splitting, skipping.
#include "checker/common/tlink.h"
#include "tests/unit/checker_common/common_fixture.h"

using FileNames = CommonTest;

namespace {
void build(std::initializer_list<const char*> names) {
  qlist* file = qcreate(0, "file");
  tlink* list = maketlink(file);
  for (const char* n : names) puttlink(list, file, n);
  srcfile(list);
}
}  // namespace

TEST_F(FileNames, FirstInFirstOut) {
  qlist* p = qcreate(0, "list");
  tlink* l = maketlink(p);
  EXPECT_EQ(gettlink(l), nullptr);
  int a = 1, b = 2;
  puttlink(l, p, &a);
  puttlink(l, p, &b);
  EXPECT_EQ(l->count, 2);
  EXPECT_EQ(gettlink(l), &a);
  EXPECT_EQ(gettlink(l), &b);
  EXPECT_EQ(gettlink(l), nullptr);
  puttlink(l, p, &a);
  EXPECT_EQ(gettlink(l), &a);
}

TEST_F(FileNames, SameNameGetsOneNumberAndTheFilePoolGoes) {
  build({"a.f", "b.f", "a.f"});
  EXPECT_EQ(filnam.filnamcnt, 2);
  EXPECT_EQ(getfnameWithDir(1), "a.f");
  EXPECT_EQ(getfnameWithDir(2), "b.f");
  EXPECT_EQ(qfind("file"), nullptr);
  EXPECT_EQ(isnewfile("a.f"), 0);
  EXPECT_EQ(isnewfile("c.f"), 1);
}

TEST_F(FileNames, Splitting) {
  struct Case { const char* name; const char* base_ext; const char* ext; int dirlen, baselen; };
  const Case cases[] = {
      {"src/a.b.f", "a.b.f", ".f", 4, 3},
      {"prog", "prog", "", 0, 4},
      {"/x/y.z/noext", "noext", "", 7, 5},
      {".hidden", ".hidden", ".hidden", 0, 0},
      {"dir/", "", "", 4, 0},
  };
  std::vector<const char*> names;
  for (const Case& c : cases) names.push_back(c.name);
  qlist* file = qcreate(0, "file");
  tlink* list = maketlink(file);
  for (const char* n : names) puttlink(list, file, n);
  srcfile(list);
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(getfname(i + 1), c.base_ext) << c.name;
    EXPECT_EQ(getfilext(i + 1), c.ext) << c.name;
    EXPECT_EQ(getfilent(i + 1)->dirlen, c.dirlen) << c.name;
    EXPECT_EQ(getfilent(i + 1)->baselen, c.baselen) << c.name;
  }
}

TEST_F(FileNames, LongNamesAreKeptWhole) {
  std::string longname = std::string(300, 'd') + "/" + std::string(200, 'b') + ".for";
  build({longname.c_str()});
  EXPECT_EQ(getfnameWithDir(1), longname);
  EXPECT_EQ(getfname(1), std::string(200, 'b') + ".for");
}

TEST_F(FileNames, DefaultTablesWithoutDirectoryAndFileTimes) {
  build({"/usr/lib/tarvo/UNIXLIB.LBT", "/a/vmslib.lbt", "/a/other.lbt"});
  EXPECT_EQ(getfnameWithDir(1), "UNIXLIB.LBT");
  EXPECT_EQ(getfnameWithDir(2), "vmslib.lbt");
  EXPECT_EQ(getfnameWithDir(3), "/a/other.lbt");
  set_file_time(2, 12345);
  EXPECT_EQ(get_file_time(2), 12345);
  EXPECT_EQ(get_file_time(1), 0);
}

TEST_F(FileNames, SkippedFiles) {
  build({"a.f", "lib.lbt", "db.fdb", "B.LBT"});
  EXPECT_EQ(skip_file(getfilent(1)), 0);
  EXPECT_EQ(skip_file(getfilent(2)), 1);
  EXPECT_EQ(skip_file(getfilent(3)), 1);
  EXPECT_EQ(skip_file(getfilent(4)), 0);  // the extension is compared exactly
  EXPECT_EQ(skip_file(nullptr), 1);
  filnam.fdbopt = true;
  EXPECT_EQ(skip_file(getfilent(3)), 0);
}

using FileNamesDeath = CommonTest;

TEST_F(FileNamesDeath, NumbersOutsideTheTable) {
  EXPECT_EXIT(getfname(1), ::testing::ExitedWithCode(4), "internal error in routine getfname");
  EXPECT_EXIT(set_file_time(0, 1), ::testing::ExitedWithCode(4), "setfiledate");
  EXPECT_EXIT(
      {
        build({"a.f"});
        addfilnam("b.f");
      },
      ::testing::ExitedWithCode(4), "internal error in addfilnam");
}
