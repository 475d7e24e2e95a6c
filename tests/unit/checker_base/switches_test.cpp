// The switch syntax of the command line and the configuration files, the
// switch table and the dialect table.
#include <gtest/gtest.h>

#include <unistd.h>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "checker/base/cmmdline.h"

namespace {

class SwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cmmdline_reset();
    for (auto& s : sw) s = swtval{1, {}, 0, std::string(), -1};
  }
  int parse(std::vector<std::string> words, const char* cfg = nullptr,
            uint8_t level = LV_COMMAND) {
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    return cmmdparse(sw.data(), static_cast<int>(argv.size()), argv.data(), nullptr, cfg, level);
  }
  std::vector<std::string> values(int slot) {
    std::vector<std::string> v;
    for (const auto& x : sw[static_cast<size_t>(slot)].values) v.push_back(x.text);
    return v;
  }
  bool on(int slot) { return sw[static_cast<size_t>(slot)].state == 2; }
  std::array<swtval, nslots> sw;
};

}  // namespace

TEST(SwitchTable, LettersAreUniqueAndSlotsInRange) {
  std::string seen;
  for (int r = 0; r < swtcount; ++r) {
    const swtrow& row = swttbl[r];
    EXPECT_GE(row.slot, 0);
    EXPECT_LT(row.slot, nslots);
    if (row.letter == ' ') continue;
    EXPECT_EQ(seen.find(row.letter), std::string::npos) << "letter " << row.letter << " twice";
    seen += row.letter;
  }
}

// Every row of the switch table, in table order: name, letter, kind, slot.
TEST(SwitchTable, RowsInOrder) {
  struct Row { const char* name; char letter; int kind; int slot; };
  const Row rows[] = {
      {"UNIXHELP", '?', 1, 11},   {"@NOI4", '2', 1, 6},      {"I4", ' ', 1 | 16, 6},
      {"SYSTEM", 'V', 2, 5},      {"@CPP", 'p', 1, 16},      {"@CPPDEF", 'D', 4, 20},
      {"PATH", 'I', 4, 21},       {"EXTEND", 'e', 1, 25},    {"DLINES", 'd', 1, 28},
      {"ANSI", 'a', 1, 35},       {"PORTABILITY", 'P', 4, 4}, {"IMPLICIT", 'm', 1, 8},
      {"WARNINGS", 'w', 1, 9},    {"FYI", 'f', 1, 10},       {"GLOBAL", 'g', 1, 12},
      {"USAGE", 'u', 1, 29},      {"SUPPRESS", 'O', 4, 0},   {"STATISTICS", 's', 1, 18},
      {"TREE", 'T', 8, 24},       {"@TREE", 't', 1, 24},     {"XREF", 'X', 8, 17},
      {"@XREF", 'x', 1, 17},      {"DATABASE", 'B', 2, 3},   {"LIBRARY", 'L', 2, 13},
      {"SUMMARY", '+', 1, 31},    {"WIDTH", 'W', 2, 1},      {"LPP", 'Y', 2, 30},
      {"SPLIT", 'S', 2, 2},       {"LISTING", 'l', 1, 19},   {"INCLUDE", 'i', 1, 22},
      {"FILES", 'E', 4, 23},      {"OUTPUT", ' ', 2, 34},    {"INTERNAL", 'Z', 4, 36},
      {"QUIT", 'q', 1, 37},       {"FLOW", 'F', 4, 39},      {"CADRE", 'C', 4, 40},
      {"FORM", 'R', 2, 41},       {"", '7', 1, 42},          {"", '9', 1, 43},
      {"LANG", ' ', 2, 44},       {"MISC", 'M', 4, 45},      {"STDOUT", 'o', 2, 46},
  };
  ASSERT_EQ(swtcount, static_cast<int>(std::size(rows)));
  for (int r = 0; r < swtcount; ++r) {
    SCOPED_TRACE(rows[r].name[0] ? rows[r].name : std::string(1, rows[r].letter));
    EXPECT_STREQ(swttbl[r].name, rows[r].name);
    EXPECT_EQ(swttbl[r].letter, rows[r].letter);
    EXPECT_EQ(swttbl[r].kind, rows[r].kind);
    EXPECT_EQ(swttbl[r].slot, rows[r].slot);
  }
}

// Every named dialect: the word matched on input and its mask.
TEST(Dialects, EveryNameGivesItsMask) {
  struct Row { const char* name; int32_t mask; };
  const Row rows[] = {{"ansi77", 1},       {"ansi90", 4096},      {"aos", 4},
                      {"sun", 8},          {"os32", 64},          {"cray", 128},
                      {"sgi", 256},        {"hpux", 512},         {"ncube", 1024},
                      {"decvms", 18},      {"vaxultrix", 34},     {"decunix", 16386},
                      {"decnt", 131074},   {"epc", 8192},         {"lahey", 65536},
                      {"cvf", 262144}};
  for (const Row& r : rows) EXPECT_EQ(cmcode(r.name), r.mask) << r.name;
}

TEST(Dialects, NamesMatchInAnyCase) {
  EXPECT_EQ(cmcode("sun"), 8);
  EXPECT_EQ(cmcode("SUN"), 8);
  EXPECT_EQ(cmcode("ansi"), 1);
  EXPECT_EQ(cmcode("Ansi90"), 4096);
  EXPECT_EQ(cmcode("decvms"), 18);
  EXPECT_EQ(cmcode("cray"), 128);
  EXPECT_EQ(cmcode("vms"), 0);      // the upper-case name is not matched
  EXPECT_EQ(cmcode(""), 0);
}

TEST_F(SwitchTest, OnOffLettersShareOneDash) {
  parse({"-wf"});
  EXPECT_TRUE(on(SL_WARNINGS));
  EXPECT_TRUE(on(SL_FYI));
  parse({"--w"});
  EXPECT_FALSE(on(SL_WARNINGS));
  EXPECT_TRUE(on(SL_FYI));
  EXPECT_EQ(sw[SL_WARNINGS].level, LV_COMMAND);
}

TEST_F(SwitchTest, ValuesInTheSameOrTheNextWord) {
  parse({"-W80", "-Y", "66", "-wS", "rep"});
  EXPECT_EQ(values(SL_WIDTH), std::vector<std::string>{"80"});
  EXPECT_EQ(values(SL_LPP), std::vector<std::string>{"66"});
  EXPECT_EQ(values(SL_SPLIT), std::vector<std::string>{"rep"});
  EXPECT_TRUE(on(SL_WARNINGS));
  parse({"-W90"});   // a single value is replaced
  EXPECT_EQ(values(SL_WIDTH), std::vector<std::string>{"90"});
}

TEST_F(SwitchTest, ListsGrowAndSplitAtCommas) {
  parse({"-Ia,b", "-I", "c"});
  EXPECT_EQ(values(SL_PATH), (std::vector<std::string>{"a", "b", "c"}));
  parse({"--I"});   // turning a value switch off empties it
  EXPECT_FALSE(on(SL_PATH));
  EXPECT_TRUE(values(SL_PATH).empty());
}

TEST_F(SwitchTest, EnDiValuesSwitchKindEightRows) {
  parse({"-Xen"});
  EXPECT_TRUE(on(SL_XREF));
  EXPECT_TRUE(values(SL_XREF).empty());
  parse({"-XDIsable"});
  EXPECT_FALSE(on(SL_XREF));
  parse({"-Xcalls"});
  EXPECT_EQ(values(SL_XREF), std::vector<std::string>{"calls"});
}

TEST_F(SwitchTest, LanguageLettersExcludeEachOther) {
  parse({"-7"});
  EXPECT_TRUE(on(SL_F77));
  parse({"-9"});
  EXPECT_TRUE(on(SL_F90));
  EXPECT_FALSE(on(SL_F77));
}

TEST_F(SwitchTest, Errors) {
  EXPECT_EXIT(parse({"-j"}), ::testing::ExitedWithCode(4), "unknown switch -j");
  EXPECT_EXIT(parse({"-W"}), ::testing::ExitedWithCode(4), "Missing value on switch -W");
  EXPECT_EXIT(parse({"-q", "-j"}, "my.cfg", LV_LOCAL), ::testing::ExitedWithCode(4),
              "unknown switch -j \\(in my.cfg\\)");
}

TEST(ConfigWords, CommentsQuotesAndCommas) {
  struct Row {
    std::string line;
    std::vector<std::string> words;
  };
  const Row rows[] = {
      {"-w   ! comment", {"-w"}},
      {"\t-I dir1,dir2  a.f", {"-I", "dir1", ",", "dir2", "a.f"}},
      {"-I \"my\tdir!x\" b.f", {"-I", "my dir!x", "b.f"}},
      {"! only a comment", {}},
      {"", {}},
  };
  for (const Row& r : rows) EXPECT_EQ(cfgwords(r.line), r.words) << r.line;
}

TEST_F(SwitchTest, CommaWordContinuesAList) {
  std::vector<std::string> w = cfgwords("-I dir1 , dir2 -w");
  parse(w);
  EXPECT_EQ(values(SL_PATH), (std::vector<std::string>{"dir1", "dir2"}));
  EXPECT_TRUE(on(SL_WARNINGS));
}

TEST_F(SwitchTest, FilesSwitchReadsAtOnceAndStopsARecursion) {
  char dir[] = "/tmp/tarvo_files_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string inner = std::string(dir) + "/inner.cfg";
  std::string self = std::string(dir) + "/self.cfg";
  std::ofstream(inner) << "-u ! usage\n-P sun\n";
  std::ofstream(self) << "-E " << self << "\n";
  parse({"-E", inner});
  EXPECT_TRUE(on(SL_USAGE));
  EXPECT_EQ(sw[SL_USAGE].level, LV_EXPANDED);
  EXPECT_EQ(sw[SL_USAGE].cfgfile, inner);
  EXPECT_EXIT(parse({"-E", self}), ::testing::ExitedWithCode(4), "FILES switch nested more than 10 deep");
  EXPECT_EXIT(parse({"-E", std::string(dir) + "/none.cfg"}), ::testing::ExitedWithCode(4),
              "can't open config file .*none.cfg for input");
  std::remove(inner.c_str());
  std::remove(self.c_str());
  rmdir(dir);
}

TEST_F(SwitchTest, OverlongConfigurationLineIsRefused) {
  char dir[] = "/tmp/tarvo_long_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string f = std::string(dir) + "/long.cfg";
  std::ofstream(f) << "-I " << std::string(600, 'x') << "\n";
  EXPECT_EXIT(parse({"-E", f}), ::testing::ExitedWithCode(4),
              "configuration line longer than 512 characters");
  std::remove(f.c_str());
  rmdir(dir);
}
