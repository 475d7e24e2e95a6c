// Source positions: sequence numbers to file and line through the
// source_file tree, with INCLUDE children, "#line" segments and the end.
#include <gtest/gtest.h>

#include "frontend/model/line_map.h"

namespace {

// main.f90: lines 1-3 are seq 1-3, inc.h is seq 4-6 (its own lines 1-3),
// main.f90 resumes at seq 7 (line 4) to seq 10 (line 7); inc.h includes
// deep.h at seq 5 (one line), so inc.h's seq 6 is its line 2.
struct Tree {
  source_file main{}, inc{}, deep{};
  il_header header{};
  Tree() {
    main.file_name = "main.f90";
    main.full_name = "main.f90";
    main.first_seq_number = 1;
    main.last_seq_number = 10;
    main.first_line_number = 1;
    inc.file_name = "inc.h";
    inc.full_name = "dir/inc.h";
    inc.first_seq_number = 4;
    inc.last_seq_number = 6;
    inc.first_line_number = 1;
    deep.file_name = "deep.h";
    deep.full_name = "deep.h";
    deep.first_seq_number = 5;
    deep.last_seq_number = 5;
    deep.first_line_number = 1;
    main.first_child_file = main.last_child_file = &inc;
    inc.first_child_file = inc.last_child_file = &deep;
    header.primary_source_file = &main;
  }
};

struct Found {
  const source_file* file;
  uint32_t line;
  bool at_end;
  int depth;
};
Found find(const Tree& t, uint32_t seq) {
  Found f{};
  f.file = line_map_lookup(&t.header, seq, &f.line, &f.at_end, &f.depth);
  return f;
}

TEST(LineMap, PrimaryLinesBeforeAndAfterInclude) {
  Tree t;
  Found f = find(t, 2);
  EXPECT_EQ(f.file, &t.main);
  EXPECT_EQ(f.line, 2u);
  EXPECT_EQ(f.depth, 1);
  f = find(t, 7);  // after the three included lines
  EXPECT_EQ(f.file, &t.main);
  EXPECT_EQ(f.line, 4u);
  EXPECT_FALSE(f.at_end);
}

TEST(LineMap, IncludedLinesAndNestedInclude) {
  Tree t;
  Found f = find(t, 4);
  EXPECT_EQ(f.file, &t.inc);
  EXPECT_EQ(f.line, 1u);
  EXPECT_EQ(f.depth, 2);
  f = find(t, 5);
  EXPECT_EQ(f.file, &t.deep);
  EXPECT_EQ(f.line, 1u);
  EXPECT_EQ(f.depth, 3);
  f = find(t, 6);
  EXPECT_EQ(f.file, &t.inc);
  EXPECT_EQ(f.line, 2u);
}

TEST(LineMap, OnePastTheLastLineIsAtEnd) {
  Tree t;
  Found f = find(t, 11);
  EXPECT_EQ(f.file, &t.main);
  EXPECT_TRUE(f.at_end);
  EXPECT_EQ(f.line, 7u);
}

TEST(LineMap, SequenceZeroAndNoPrimaryFile) {
  Tree t;
  Found f = find(t, 0);
  EXPECT_EQ(f.file, nullptr);
  EXPECT_EQ(f.line, 0u);
  il_header empty{};
  uint32_t line = 9;
  bool at_end = true;
  int depth = 9;
  EXPECT_EQ(line_map_lookup(&empty, 3, &line, &at_end, &depth), nullptr);
  EXPECT_EQ(line, 0u);
  EXPECT_FALSE(at_end);
}

TEST(LineMap, FileStillBeingReadHoldsLaterNumbers) {
  Tree t;
  t.main.last_seq_number = UINT32_MAX;
  Found f = find(t, 500);
  EXPECT_EQ(f.file, &t.main);
  EXPECT_EQ(f.line, 497u);
  EXPECT_FALSE(f.at_end);
}

TEST(LineMap, LineDirectiveSegmentStartsAtItsLine) {
  Tree t;
  source_file seg{};
  seg.file_name = "orig.f";
  seg.first_seq_number = 8;
  seg.last_seq_number = 10;
  seg.first_line_number = 100;
  t.inc.next = &seg;
  t.main.last_child_file = &seg;
  Found f = find(t, 9);
  EXPECT_EQ(f.file, &seg);
  EXPECT_EQ(f.line, 101u);
  const char* name;
  const char* full;
  uint32_t line;
  bool at_end;
  line_map_position(&t.header, 9, &name, &full, &line, &at_end);
  EXPECT_STREQ(name, "orig.f");
  EXPECT_STREQ(full, "");
  line_map_position(&t.header, 0, &name, &full, &line, &at_end);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(line, 0u);
  source_file* file;
  line_map_file(&t.header, 4, &file, &line, &at_end);
  EXPECT_EQ(file, &t.inc);
  EXPECT_EQ(line, 1u);
}

}  // namespace
