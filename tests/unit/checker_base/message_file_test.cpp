// The message file tarvo.err: its format, its type letters, and that every
// number the checker's code raises has a line in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path source_dir = TOOLKIT_SOURCE_DIR;

std::map<int, std::string> read_catalogue() {
  std::map<int, std::string> types;
  std::ifstream in(source_dir / "checker/data/tarvo.err");
  std::string line;
  int lineno = 0;
  while (std::getline(in, line)) {
    ++lineno;
    SCOPED_TRACE("tarvo.err line " + std::to_string(lineno) + ": " + line);
    EXPECT_GE(line.size(), 9u);
    if (line.size() < 9) continue;
    int n = std::stoi(line.substr(0, 3));
    EXPECT_GE(n, 1);
    EXPECT_LE(n, 990);
    EXPECT_EQ(line[3], ' ');
    EXPECT_EQ(line[6], ' ');
    EXPECT_TRUE(types.emplace(n, line.substr(4, 2)).second) << "number " << n << " twice";
  }
  return types;
}

}  // namespace

TEST(MessageFile, LinesFollowTheFormatAndTheTypeRule) {
  static const std::set<std::string> allowed = {"SE", "SM", "PW", "UW", "UF", "IE", "OO", "ZE"};
  auto types = read_catalogue();
  ASSERT_FALSE(types.empty());
  for (const auto& [n, t] : types) EXPECT_TRUE(allowed.count(t)) << n << " has type " << t;
  // Anchors of the rule: implicit typing, usage checks, overflow, files.
  EXPECT_EQ(types[125], "SM");
  EXPECT_EQ(types[128], "UF");
  EXPECT_EQ(types[126], "UW");
  EXPECT_EQ(types[1], "ZE");
  EXPECT_EQ(types[4], "OO");
  EXPECT_EQ(types[166], "OO");
  EXPECT_EQ(types[600], "PW");
  EXPECT_EQ(types[185], "IE");
  EXPECT_EQ(types[20], "SE");
}

TEST(MessageFile, EveryNumberRaisedByTheCodeIsInTheFile) {
  auto types = read_catalogue();
  // errmsg(12, ...), rd_errmsg(706) and the like with a literal number, the
  // one-argument wrappers named *_error (hp_error(17)), and both numbers of
  // a choice errmsg(c ? 761 : 762).
  std::regex raise(R"((?:errmsg\s*\(\s*(\d+))|(?:_error\s*\(\s*(\d+)\s*\)))");
  std::regex choice(R"(errmsg\s*\([^;()]*\?\s*(\d+)\s*:\s*(\d+)\s*\))");
  int seen = 0;
  for (const auto& entry : fs::recursive_directory_iterator(source_dir / "checker")) {
    if (!entry.is_regular_file() || entry.path().extension() != ".cpp") continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    for (std::sregex_iterator it(s.begin(), s.end(), raise), end; it != end; ++it) {
      int n = std::stoi((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
      ++seen;
      EXPECT_TRUE(types.count(n)) << entry.path().string() << " raises message " << n
                                  << ", which tarvo.err lacks";
    }
    for (std::sregex_iterator it(s.begin(), s.end(), choice), end; it != end; ++it) {
      for (int k : {1, 2}) {
        int n = std::stoi((*it)[k].str());
        ++seen;
        EXPECT_TRUE(types.count(n)) << entry.path().string() << " raises message " << n
                                    << ", which tarvo.err lacks";
      }
    }
  }
  EXPECT_GT(seen, 0) << "no raised message numbers found under checker/";
}
