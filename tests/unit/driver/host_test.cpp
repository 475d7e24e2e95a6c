// Host utilities: paths, output-name rule, option and number
// parsers, directory lists, opening files, INCLUDE positions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "frontend/base/host.h"
#include "frontend/model/line_map.h"
#include "frontend/base/pools.h"

namespace {

struct PathCase {
  const char* path;
  const char* directory;
};

TEST(Host, DirectoryOf) {
  pools_reset();
  const PathCase cases[] = {
      {"D:prog.f90", "D:"}, {"a/b\\c.f", "a/b\\"}, {"a\\b/c.f", "a\\b/"},
      {"x.f90", ""},        {"-", ""},             {"/abs/dir/x.f", "/abs/dir/"},
      {"dir/", "dir/"},     {"C", ""},             {"", ""},
  };
  for (const PathCase& c : cases) EXPECT_STREQ(directory_of(c.path), c.directory) << c.path;
  EXPECT_EQ(last_path_separator("-"), nullptr);
  EXPECT_EQ(last_path_separator("plain"), nullptr);
}

TEST(Host, InternDirectoryShares) {
  pools_reset();
  host_reset();
  const char* a = intern_directory("src/a.f90");
  const char* b = intern_directory("src/b.f90");
  const char* c = intern_directory("other/c.f90");
  EXPECT_EQ(a, b);
  EXPECT_STREQ(a, "src/");
  EXPECT_STREQ(c, "other/");
  EXPECT_NE(a, c);
  clear_interned_directories();
  EXPECT_NE(intern_directory("src/a.f90"), a);
}

struct SuffixCase {
  const char* path;
  const char* expected;
};

TEST(Host, PathWithSuffix) {
  pools_reset();
  const SuffixCase cases[] = {
      {"dir/a.b.f90", "a.cil"}, {"ok.f90", "ok.cil"}, {"noext", "noext.cil"},
      {"a\\b.f", "b.cil"},      {"D:x.f", "x.cil"},   {"d.x/y", "y.cil"},
      {".hidden", ".cil"},
  };
  for (const SuffixCase& c : cases) EXPECT_STREQ(path_with_suffix(c.path, ".cil"), c.expected) << c.path;
}

struct JoinCase {
  const char* dir;
  const char* name;
  const char* suffix;
  const char* expected;
};

TEST(Host, MakePath) {
  pools_reset();
  const JoinCase cases[] = {
      {"inc", "x.h", "", "inc/x.h"},        {"inc/sub", "x.h", "", "inc/sub/x.h"},
      {"inc/", "x.h", "", "inc/x.h"},       {"inc\\", "x.h", "", "inc\\x.h"},
      {"", "m", ".mod", "m.mod"},           {"mods", "m", ".mod", "mods/m.mod"},
      {nullptr, "m", ".mod", "m.mod"},
  };
  for (const JoinCase& c : cases) {
    char buffer[130];
    EXPECT_STREQ(make_path(c.dir, c.name, c.suffix, buffer, sizeof buffer), c.expected) << c.name;
  }
  const char* name = "alone.f90";
  EXPECT_EQ(make_path("", name, "", nullptr, 0), name);
  EXPECT_EQ(make_path(nullptr, name, nullptr, nullptr, 0), name);
  char small[6];
  const char* joined = make_path("dir", "long.h", "", small, sizeof small);
  EXPECT_NE(joined, small);
  EXPECT_STREQ(joined, "dir/long.h");
  char exact[10];
  EXPECT_EQ(make_path("dir", "a.h", "", exact, 8), exact);  // 7 characters and NUL
  std::string long_dir(400, 'd');
  char buffer[130];
  EXPECT_EQ(std::string(make_path(long_dir.c_str(), "x", ".mod", buffer, sizeof buffer)),
            long_dir + "/x.mod");
}

TEST(Host, ValidOutputName) {
  host_reset();
  EXPECT_FALSE(valid_output_name("lib.a"));
  EXPECT_FALSE(valid_output_name("x.f"));
  EXPECT_FALSE(valid_output_name("dir/x.f"));
  EXPECT_TRUE(valid_output_name("x.f90"));
  EXPECT_TRUE(valid_output_name("x"));
  EXPECT_TRUE(valid_output_name("x.cil"));
  EXPECT_TRUE(valid_output_name("d.f/x"));  // the extension is the file name's
  EXPECT_TRUE(valid_output_name("x.a.b"));  // the extension runs from the first "."
  EXPECT_TRUE(valid_output_name("x.f.cil"));
  host.source_name = "prog.f90";
  EXPECT_FALSE(valid_output_name("prog.f90"));
  EXPECT_TRUE(valid_output_name("prog.cil"));
  host.source_name = nullptr;
}

TEST(Host, OutputThatIsTheSourceFileUnderAnotherName) {
  char dir_template[] = "/tmp/hosttestXXXXXX";
  ASSERT_NE(mkdtemp(dir_template), nullptr);
  std::string dir = dir_template;
  std::string source = dir + "/ok.f90";
  FILE* f = fopen(source.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs("PROGRAM P\n", f);
  fclose(f);
  std::string link = dir + "/same.cil";
  ASSERT_EQ(::link(source.c_str(), link.c_str()), 0);
  host_reset();
  host.source_name = source.c_str();
  EXPECT_FALSE(valid_output_name(link.c_str()));
  EXPECT_FALSE(valid_output_name((dir + "/./ok.f90").c_str()));
  bool cannot_open, invalid;
  EXPECT_EQ(open_output_file(link.c_str(), true, false, &cannot_open, &invalid), nullptr);
  EXPECT_TRUE(invalid);
  struct stat st;
  ASSERT_EQ(stat(source.c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 10);  // not truncated
  std::string other = dir + "/other.cil";
  FILE* out = open_output_file(other.c_str(), false, true, &cannot_open, &invalid);
  ASSERT_NE(out, nullptr);
  EXPECT_FALSE(cannot_open);
  EXPECT_FALSE(invalid);
  fclose(out);
  EXPECT_EQ(open_output_file((dir + "/no/such/x.cil").c_str(), false, false, &cannot_open, &invalid),
            nullptr);
  EXPECT_TRUE(cannot_open);
  EXPECT_FALSE(invalid);
  host.source_name = nullptr;
  unlink(other.c_str());
  unlink(link.c_str());
  unlink(source.c_str());
  rmdir(dir.c_str());
}

TEST(Host, OpenInputFileFlags) {
  bool not_found, not_regular, empty_name;
  EXPECT_EQ(open_input_file("", &not_found, &not_regular, &empty_name, false), nullptr);
  EXPECT_TRUE(empty_name);
  EXPECT_EQ(open_input_file("/no/such/file.f90", &not_found, &not_regular, &empty_name, false), nullptr);
  EXPECT_TRUE(not_found);
  EXPECT_FALSE(empty_name);
  EXPECT_EQ(open_input_file("/tmp", &not_found, &not_regular, &empty_name, true), nullptr);
  EXPECT_TRUE(not_regular);
  EXPECT_FALSE(not_found);
  EXPECT_FALSE(is_regular_file("/tmp"));
  EXPECT_FALSE(is_regular_file("/no/such/file"));
}

TEST(Host, DirectoryListsAndDefaultIncludeDirectory) {
  host_reset();
  add_include_directory("a");
  add_include_directory("b");
  push_include_directory_front("src/");
  unsetenv("USR_INCLUDE");
  add_default_include_directory();
  setenv("USR_INCLUDE", "/opt/inc", 1);
  add_default_include_directory();
  std::vector<std::string> seen;
  for (dir_cell* c = host.include_dirs.head; c; c = c->next) seen.push_back(c->name);
  EXPECT_EQ(seen, (std::vector<std::string>{"src/", "a", "b", "/usr/include/f90", "/opt/inc"}));
  EXPECT_STREQ(host.include_dirs.tail->name, "/opt/inc");
  add_module_directory("m1");
  add_module_directory("m2");
  EXPECT_STREQ(host.module_dirs.head->name, "m1");
  EXPECT_STREQ(host.module_dirs.tail->name, "m2");
  host_reset();
  EXPECT_EQ(host.include_dirs.head, nullptr);
  EXPECT_EQ(host.module_dirs.tail, nullptr);
}

// The options get_option returns for a command line, as "letter[=arg]" words,
// followed by "@index" of the first word it did not read.
std::string options_of(std::vector<const char*> words, const char* letters = "AbI:o:") {
  std::vector<char*> argv;
  for (const char* w : words) argv.push_back(const_cast<char*>(w));
  argv.push_back(nullptr);
  option_parser_reset();
  opt.messages = false;
  std::string out;
  for (int c; (c = get_option(static_cast<int>(words.size()), argv.data(), letters)) != -1;) {
    out += static_cast<char>(c);
    if (opt.arg) out += "=" + std::string(opt.arg);
    out += "#" + std::to_string(opt.word) + " ";
  }
  return out + "@" + std::to_string(opt.index);
}

TEST(Host, GetOption) {
  EXPECT_EQ(options_of({"p", "x.f90"}), "@1");
  EXPECT_EQ(options_of({"p", "-A", "x.f90"}), "A#1 @2");
  EXPECT_EQ(options_of({"p", "-Ab", "x"}), "A#1 b#1 @2");
  EXPECT_EQ(options_of({"p", "-Idir", "x"}), "I=dir#1 @2");
  EXPECT_EQ(options_of({"p", "-I", "dir", "x"}), "I=dir#1 @3");
  EXPECT_EQ(options_of({"p", "-AIdir", "-b"}), "A#1 I=dir#1 b#2 @3");
  EXPECT_EQ(options_of({"p", "-I"}), "?#1 @2");
  EXPECT_EQ(options_of({"p", "-z", "x"}), "?#1 @2");
  EXPECT_EQ(options_of({"p", "-Az", "x"}), "A#1 ?#1 @2");
  EXPECT_EQ(options_of({"p", "-:", "x"}), "?#1 @2");
  EXPECT_EQ(options_of({"p", "-", "x"}), "@1");
  EXPECT_EQ(options_of({"p", "--", "-A"}), "@2");
  // Only "--" alone ends the options; a longer word is one invalid option.
  EXPECT_EQ(options_of({"p", "--long", "-A"}), "?#1 A#2 @3");
  EXPECT_EQ(options_of({"p", "--help"}), "?#1 @2");
  EXPECT_EQ(options_of({"p", "-A", "--", "--x"}), "A#1 @3");
  EXPECT_EQ(options_of({"p", "-A", "x", "-b"}), "A#1 @2");
  EXPECT_EQ(options_of({"p", "-I", "-x", "y"}), "I=-x#1 @3");
}

TEST(Host, GetOptionMessages) {
  const char* words[] = {"prog", "-z", "-I", nullptr};
  option_parser_reset();
  testing::internal::CaptureStderr();
  EXPECT_EQ(get_option(3, const_cast<char**>(words), "I:"), '?');
  EXPECT_EQ(get_option(3, const_cast<char**>(words), "I:"), '?');
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "prog: illegal option -- z\nprog: option requires an argument -- I\n");
}

TEST(Host, ParseNumberOption) {
  EXPECT_EQ(parse_number_option("0"), 0u);
  EXPECT_EQ(parse_number_option(""), 0u);
  EXPECT_EQ(parse_number_option("100"), 100u);
  EXPECT_EQ(parse_number_option("2147483647"), 2147483647u);
  EXPECT_EQ(parse_number_option("0002147483647"), 2147483647u);
}

TEST(HostDeath, ParseNumberOptionRefuses) {
  EXPECT_EXIT(parse_number_option("2147483648"), testing::ExitedWithCode(4),
              "^Command-line error: invalid number: 2147483648\n$");
  EXPECT_EXIT(parse_number_option("12x"), testing::ExitedWithCode(4),
              "^Command-line error: invalid number: 12x\n$");
  EXPECT_EXIT(parse_number_option("-1"), testing::ExitedWithCode(4),
              "^Command-line error: invalid number: -1\n$");
  EXPECT_EXIT(parse_number_option("99999999999999999999999"), testing::ExitedWithCode(4),
              "invalid number");
}

TEST(Host, NewListCell) {
  pools_reset();
  int value = 5;
  list_cell* c = new_list_cell(&value);
  EXPECT_EQ(c->first, nullptr);
  EXPECT_EQ(c->second, nullptr);
  EXPECT_EQ(c->value, &value);
}

TEST(Host, PositionInIncludeFile) {
  source_file main{}, inc{};
  main.file_name = main.full_name = "main.f90";
  main.first_seq_number = 1;
  main.last_seq_number = 10;
  main.first_line_number = 1;
  inc.file_name = "inc.h";
  inc.full_name = "inc.h";
  inc.first_seq_number = 3;
  inc.last_seq_number = 4;
  inc.first_line_number = 1;
  main.first_child_file = main.last_child_file = &inc;
  il_header h{};
  h.primary_source_file = &main;
  EXPECT_FALSE(position_in_include_file(2, &h));
  EXPECT_TRUE(position_in_include_file(3, &h));
  EXPECT_FALSE(position_in_include_file(5, &h));
  EXPECT_FALSE(position_in_include_file(0, &h));
}

TEST(Host, PreprocessedSegmentsOfThePrimaryFileCountAsPrimary) {
  // cpp output: line 1 "# 1 "real.f90"", segments of real.f90 under the primary.
  source_file main{}, seg1{}, inc{}, seg2{}, other{};
  main.file_name = main.full_name = "real.i";
  main.first_seq_number = 1;
  main.last_seq_number = 20;
  main.first_line_number = 1;
  seg1 = source_file{0, "real.f90", nullptr, 2, 5, 1, nullptr, nullptr, &inc};
  inc = source_file{0, "inc.h", "inc.h", 6, 7, 1, nullptr, nullptr, &seg2};
  seg2 = source_file{0, "real.f90", nullptr, 8, 12, 5, nullptr, nullptr, &other};
  other = source_file{0, "else.h", nullptr, 13, 20, 1, nullptr, nullptr, nullptr};
  main.first_child_file = &seg1;
  main.last_child_file = &other;
  il_header h{};
  h.primary_source_file = &main;
  EXPECT_FALSE(position_in_include_file(3, &h));
  EXPECT_TRUE(position_in_include_file(6, &h));
  EXPECT_FALSE(position_in_include_file(9, &h));
  EXPECT_TRUE(position_in_include_file(15, &h));
  seg1.first_seq_number = 3;  // not the preprocessor's first line: no exception
  EXPECT_TRUE(position_in_include_file(9, &h));
}

}  // namespace
