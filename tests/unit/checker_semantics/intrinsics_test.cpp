// The intrinsic tables: each specific in exactly one list, the generic
// names found by binary search, the dialect and language rules that decide
// which specific may be used, and the defaults of the class rules.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "checker/base/cmmdline.h"
#include "checker/base/services.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"

namespace {

class IntrinsicTables : public ::testing::Test {
 protected:
  void SetUp() override {
    ropt = ReaderOptions{};
    ropt.compiler = 8;  // the default dialect
    flopt_ansimaxloc = 0;
    for (int32_t& d : defdtypes) d = 0;
  }
  void TearDown() override {
    ropt = ReaderOptions{};
    for (int32_t& d : defdtypes) d = 0;
  }
  static const intrin_spec* first(const char* name) {
    const intrin_spec* const* p = intrin_lookup(name);
    return p != nullptr ? *p : nullptr;
  }
};

TEST_F(IntrinsicTables, EachSpecificStandsInExactlyOneList) {
  std::map<const intrin_spec*, int32_t> seen;
  std::map<std::string, int32_t> names;
  size_t generics = 0;
  for (const intrin_generic* g = intrin_generics_begin(); g != intrin_generics_end(); ++g) {
    ++generics;
    ASSERT_NE(g->specs[0], nullptr) << g->name;
    for (const intrin_spec* const* p = g->specs; *p != nullptr; ++p) {
      ++seen[*p];
      ++names[(*p)->name];
      // The entry's name carries its generic's.
      EXPECT_EQ(std::string((*p)->name).rfind(std::string("f_") + g->name + "_", 0), 0u) << (*p)->name;
      EXPECT_LE((*p)->nargs, 8);
      EXPECT_TRUE((*p)->lang >= 1 && (*p)->lang <= 3);
    }
  }
  for (const auto& [spec, n] : seen) EXPECT_EQ(n, 1) << spec->name;
  for (const auto& [name, n] : names) EXPECT_EQ(n, 1) << name;
  EXPECT_GT(generics, 350u);
  EXPECT_GT(seen.size(), 550u);
}

TEST_F(IntrinsicTables, GenericsAreFoundByNameAndOnlyByName) {
  for (const intrin_generic* g = intrin_generics_begin(); g != intrin_generics_end(); ++g) {
    EXPECT_EQ(findgeneric(g->name, nullptr), g) << g->name;
    EXPECT_EQ(findgeneric(g->name, g), nullptr) << g->name;
    if (g + 1 != intrin_generics_end()) {
      EXPECT_LT(std::strcmp(g->name, (g + 1)->name), 0);
    }
  }
  for (const char* n : {"", "AAA", "ABSS", "ZZZZ", "abs", "SQRT2"}) EXPECT_EQ(findgeneric(n, nullptr), nullptr) << n;
  EXPECT_EQ(findgeneric(nullptr, nullptr), nullptr);
}

TEST_F(IntrinsicTables, DialectAndLanguageDecideTheSpecific) {
  struct Case {
    const char* name;
    uint32_t compiler;
    int32_t language;
    int32_t hpf;
    bool known;
  };
  const Case cases[] = {
      {"SQRT", 1, 1, 0, true},          {"SQRT", 8, 2, 0, true},
      {"SIND", 8, 2, 0, true},          {"SIND", 1, 1, 0, false},
      {"SIND", 0x80, 2, 0, false},      {"CVMGT", 0x80, 1, 0, true},
      {"CVMGT", 8, 1, 0, false},        {"TIMER", 0x10000, 1, 0, true},
      {"TIMER", 18, 1, 0, false},       {"ERRSNS", 18, 1, 0, true},
      {"TRIM", 8, 1, 0, false},         {"TRIM", 8, 2, 0, true},
      {"NUMBER_OF_PROCESSORS", 8, 2, 0, false},
      {"NUMBER_OF_PROCESSORS", 8, 2, 1, true},
      {"ILEN", 0x1000, 2, 1, true},     {"DCMPLX", 0x1000, 2, 0, false},
      // SGI in Fortran 90 takes only what ANSI Fortran 90 has.
      {"DCMPLX", 0x100, 2, 0, false},   {"DCMPLX", 0x100, 1, 0, true},
  };
  for (const Case& c : cases) {
    ropt.compiler = c.compiler;
    ropt.Language = c.language;
    ropt.hpf = c.hpf;
    EXPECT_EQ(intrin_lookup(c.name) != nullptr, c.known) << c.name << " " << c.compiler;
  }
}

TEST_F(IntrinsicTables, MaxlocFormFollowsTheAnsiMaxlocOption) {
  ropt.hpf = 1;
  flopt_ansimaxloc = 0;
  ASSERT_NE(first("MAXLOC"), nullptr);
  EXPECT_EQ(first("MAXLOC")->iclass, 25u);
  flopt_ansimaxloc = 1;
  EXPECT_EQ(first("MAXLOC")->iclass, 24u);
  ropt.hpf = 0;
  flopt_ansimaxloc = 0;
  EXPECT_EQ(first("MAXLOC")->iclass, 24u);
}

TEST_F(IntrinsicTables, SubroutineClasses) {
  for (uint32_t c = 0; c <= 81; ++c) {
    bool sub = c == 19 || c == 28 || c == 31 || c == 39 || c == 45 || (c >= 47 && c <= 52) ||
               (c >= 58 && c <= 60) || c == 65 || c == 67 || c == 68 || c == 69 || c == 70 ||
               c == 74 || c == 77 || c == 78;
    EXPECT_EQ(isIntrinsicSub(c), sub ? 1 : 0) << c;
  }
  // Every subroutine entry has no result type, every function one (or a
  // result that follows its arguments).
  for (const intrin_generic* g = intrin_generics_begin(); g != intrin_generics_end(); ++g) {
    for (const intrin_spec* const* p = g->specs; *p != nullptr; ++p) {
      if (isIntrinsicSub((*p)->iclass)) {
        EXPECT_EQ((*p)->rettype, 0) << (*p)->name;
      }
    }
  }
}

TEST_F(IntrinsicTables, DefaultCodesFollowTheOptions) {
  EXPECT_EQ(changeinftyp(20), 20);
  defdtypes[TC_INTEGER] = 3;
  defdtypes[TC_REAL] = 5;
  defdtypes[TC_DOUBLE] = 6;
  defdtypes[TC_LOGICAL] = 2;
  defdtypes[TC_COMPLEX] = 7;
  EXPECT_EQ(changeinftyp(20), 3);
  EXPECT_EQ(changeinftyp(21), 5);
  EXPECT_EQ(changeinftyp(22), 6);
  EXPECT_EQ(changeinftyp(19), 2);
  EXPECT_EQ(changeinftyp(24), 7);
  for (uint8_t c : {0, 3, 4, 8, 14, 17, 23, 26}) EXPECT_EQ(changeinftyp(c), c);
}

TEST_F(IntrinsicTables, KeywordsOfMaxAndMin) {
  for (const char* n : {"MAX", "MIN", "AMAX1", "DMIN1"}) {
    const intrin_spec* s = first(n);
    ASSERT_NE(s, nullptr) << n;
    ASSERT_NE(s->keywords, nullptr);
    EXPECT_STREQ(s->keywords[0].keyword, "A1");
    EXPECT_EQ(s->keywords[0].flags & KW_OPTIONAL, 0u);
    EXPECT_EQ(s->keywords[1].flags & KW_OPTIONAL, 0u);
    for (int32_t i = 2; i < 9; ++i) {
      EXPECT_EQ(s->keywords[i].keyword, std::string("A") + std::to_string(i + 1));
      EXPECT_NE(s->keywords[i].flags & KW_OPTIONAL, 0u);
    }
    EXPECT_EQ(s->keywords[9].keyword, nullptr);
  }
}

TEST_F(IntrinsicTables, ConstantResults) {
  const intrin_spec* lb = first("LBOUND");
  const intrin_spec* sq = first("SQRT");
  ASSERT_NE(lb, nullptr);
  dtdesc i{};
  i.code = 4;
  dtdesc r{};
  r.code = 5;
  EXPECT_EQ(intrinRetIsAConst(lb, &i, 0), 1);
  EXPECT_EQ(intrinRetIsAConst(lb, &r, 1), 0);
  EXPECT_EQ(intrinRetIsAConst(sq, &r, 1), 1);
  EXPECT_EQ(intrinRetIsAConst(sq, &r, 0), 0);
  EXPECT_EQ(intrinRetIsAConst(nullptr, &r, 1), 0);
}

}  // namespace
