// DATA statements: the records of the DATA work file (object entries,
// value entries, line) and the messages of bad objects and values.
#include <string>
#include <vector>

#include "checker/reader/datastmt.h"
#include "checker/reader/dispatch.h"
#include "checker/semantics/workfiles.h"
#include "tests/unit/checker_reader/specifications/spec_fixture.h"

using Data = SpecStatementTest;

TEST_F(Data, RepeatedValueIsOneEntry) {
  workfiles_close();
  open_source("program p\nreal x\ndata x /3*1.0/\nend program p\n", ".f90");
  parse_unit();
  std::vector<int32_t> w = work_words(wf.data);
  ASSERT_EQ(data_records(w), 1);
  ASSERT_EQ(w.size(), 2u + 2 + 2 + 1);
  EXPECT_EQ(w[0], 1);  // one object
  EXPECT_EQ(w[1], 1);  // one value
  EXPECT_EQ(w[2], 0);  // no subscripts
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[3]))->name, "X");
  EXPECT_EQ(w[4], 3);  // repeat
  dtdesc real{};
  figtyp(&real, TC_REAL, -4, 0);
  EXPECT_EQ(w[5], real.code);
  EXPECT_EQ(w[6], 3);  // line
  workfiles_close();
}

// Each object of an implied-DO list gets one entry per iteration, so that
// an entry with all its subscripts stands for one element.
TEST_F(Data, ImpliedDoGivesItsObjectsOncePerIteration) {
  workfiles_close();
  open_source("program p\ndata (a(i), b(i, 2), i = 1, 2), c(1:2) /4*0, 'xy'/\nend program p\n", ".f90");
  parse_unit();
  std::vector<int32_t> w = work_words(wf.data);
  ASSERT_EQ(data_records(w), 1);
  ASSERT_EQ(w.size(), 2u + 10 + 4 + 1);
  EXPECT_EQ(w[0], 5);
  EXPECT_EQ(w[1], 2);
  // C(1:2), a substring of a scalar: no subscripts, marked -(0 + 1).
  const int32_t nsubs[5] = {1, 2, 1, 2, -1};
  const char* names[5] = {"A", "B", "A", "B", "C"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(w[2 + 2 * i], nsubs[i]) << i;
    EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[3 + 2 * i]))->name, names[i]) << i;
  }
  EXPECT_EQ(w[12], 4);
  EXPECT_EQ(w[14], 1);
  workfiles_close();
}

// Trip counts: a step, a list that runs no iteration, nested lists, and
// bounds that depend on an outer implied-DO variable (not recorded).
TEST_F(Data, ImpliedDoTripCountsByTable) {
  struct Case {
    const char* objects;
    int32_t entries;  // -1: the group is not recorded
  } cases[] = {
      {"(a(i), i = 1, 9, 2)", 5},
      {"(a(i), i = 9, 1, -3)", 3},
      {"(a(i), i = 2, 1), x", 1},
      {"((m(i, j), j = 1, 3), i = 3, 5)", 9},
      {"((m(i, j), j = 1, i), i = 1, 3)", -1},
      {"(a(i), i = 1, 100)", -1},
  };
  for (const Case& c : cases) {
    SetUp();
    workfiles_close();
    std::string src = std::string("program p\nreal a(100), m(5, 5)\ndata ") + c.objects + " /1/\nend program p\n";
    open_source(src, ".f90");
    parse_unit();
    std::vector<int32_t> w = work_words(wf.data);
    if (c.entries < 0) {
      EXPECT_TRUE(w.empty()) << c.objects;
    } else {
      ASSERT_EQ(data_records(w), 1) << c.objects;
      EXPECT_EQ(w[0], c.entries) << c.objects;
    }
    srcend();
    workfiles_close();
  }
}

// The first parentheses after an array hold its subscripts, triplets too:
// a section is read without a syntax message, and its group, whose
// elements are not counted, is not recorded. A substring may follow an
// element.
TEST_F(Data, SectionsAreReadAndNotRecorded) {
  workfiles_close();
  open_source(
      "program p\n"
      "real a(4), m(2, 2)\n"
      "character(len=4) d(2)\n"
      "data a(1:2) /1.0, 2.0/, a(3) /3.0/\n"
      "data m(1, 1:2) /2*0.0/, m(2, :) /2*1.0/\n"
      "data a(4:4:1) /4.0/\n"
      "data d(2)(1:2) /'ab'/\n"
      "end program p\n",
      ".f90");
  parse_unit();
  for (int32_t n : {7, 23, 87}) EXPECT_EQ(count(n), 0) << n;
  std::vector<int32_t> w = work_words(wf.data);
  ASSERT_EQ(data_records(w), 2);
  ASSERT_EQ(w.size(), 2u * (2 + 2 + 2 + 1));
  EXPECT_EQ(w[2], 1);    // A(3)
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[3]))->name, "A");
  EXPECT_EQ(w[6], 4);    // line
  EXPECT_EQ(w[9], -2);   // D(2)(1:2): one subscript and a substring
  EXPECT_STREQ(wsym_at(static_cast<uint32_t>(w[10]))->name, "D");
  EXPECT_EQ(w[13], 7);
  workfiles_close();
}

TEST_F(Data, NinetyNineObjectsAreRecordedAHundredAreNot) {
  for (int n : {99, 100}) {
    SetUp();
    workfiles_close();
    std::string src = "program p\ndata ";
    for (int i = 0; i < n; ++i) {
      if (i > 0) src += i % 10 == 0 ? ", &\n  " : ", ";
      src += "a(" + std::to_string(i + 1) + ")";
    }
    src += " /" + std::to_string(n) + "*0/\nend program p\n";
    open_source(src, ".f90");
    parse_unit();
    EXPECT_EQ(data_records(work_words(wf.data)), n == 99 ? 1 : 0) << n;
    srcend();
    workfiles_close();
  }
}

TEST_F(Data, MessagesByTable) {
  struct Case {
    const char* src;
    int32_t msg;
  } cases[] = {
      {"program p\nreal x\ndata x /1.0/\ndata x /2.0/\nend\n", 827},
      {"program p\ndata x /0*1.0/\nend\n", 77},
      {"program p\ndata x /-2*1.0/\nend\n", 69},
      {"program p\ndata x 1.0/\nend\n", 99},
      {"program p\ndata x /1.0\nend\n", 5},
      {"program p\ndata 1 /1.0/\nend\n", 3},
      {"program p\ndata a(1)(1:2)(1) /'a'/\nend\n", 87},
      {"program p\ndata a(1,2,3,4,5,6,7,8) /1/\nend\n", 23},
      {"program p\nnamelist /g/ x\ndata p /1/\nend\n", 13},
  };
  for (const Case& c : cases) expect_message_once(c.src, c.msg, true);
  workfiles_close();
}

TEST_F(Data, ElementsNamedTwiceSayNothing) {
  workfiles_close();
  open_source("program p\ndata a(1) /1.0/\ndata a(1) /1.0/\nend\n", ".f90");
  parse_unit();
  EXPECT_EQ(count(827), 0);
  EXPECT_EQ(data_records(work_words(wf.data)), 2);
  workfiles_close();
}
