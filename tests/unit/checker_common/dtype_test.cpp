// Data-type descriptors: the table, classes, names, conversions and the type
// statement mapping.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "tests/unit/checker_common/common_fixture.h"

using DataTypes = CommonTest;

namespace {
std::vector<int>& messages() {
  static std::vector<int> m;
  return m;
}
void record_message(int n) { messages().push_back(n); }

dtdesc desc(int code, int32_t len = 0) {
  dtdesc d{};
  d.code = static_cast<uint8_t>(code);
  d.tag = 'p';
  d.value = len;
  return d;
}
}  // namespace

TEST_F(DataTypes, TableRows) {
  EXPECT_STREQ(dtstuff[24].sname, "COMPLEX");
  EXPECT_EQ(dtstuff[24].usg, 0x8u);
  EXPECT_EQ(dtstuff[20].size, -1);
  EXPECT_STREQ(dtstuff[26].lname, "structure");
  EXPECT_EQ(dtstuff[27].sname, nullptr);
  EXPECT_EQ(getdtstore(14), 4);
  EXPECT_EQ(getdtstore(27), 0);
  EXPECT_EQ(getdtusg(23), 0x400u);
  EXPECT_EQ(getdtusg(0), 0u);
}

// All 28 rows: short name, long name, size, rank, store class, type bit.
TEST_F(DataTypes, EveryRowOfTheTable) {
  struct Row { const char* sname; const char* lname; int32_t size, rank, store; uint32_t usg; };
  const Row rows[28] = {
      {"(**UNK**)", "(**UNK**)", 0, 0, 0, 0},  {"L*2", "logical*2", 2, 1, 1, 0x1},
      {"L*4", "logical*4", 4, 2, 1, 0x1},      {"I*2", "integer*2", 2, 11, 1, 0x2},
      {"I*4", "integer*4", 4, 12, 1, 0x2},     {"R*4", "real*4", 4, 22, 2, 0x4},
      {"R*8", "real*8", 8, 23, 2, 0x8},        {"C*8", "complex*8", 8, 33, 3, 0x20},
      {"C*16", "complex*16", 16, 34, 3, 0x40}, {"R*16", "real*16", 16, 24, 2, 0x10},
      {"BYTE", "byte", 1, 11, 1, 0x3},         {"L*1", "logical*1", 1, 1, 1, 0x3},
      {"HOLLERITH", "hollerith", 0, 0, 4, 0x200}, {"I*const", "I*const", 0, 0, 0, 0},
      {"CHAR", "character", 1, 0, 4, 0x80},    {"struct", "structure", 0, 0, 0, 0x100},
      {"TYPELESS", "TYPELESS", 0, 0, 1, 0x200}, {"I*8", "integer*8", 8, 13, 1, 0x2},
      {"L*8", "logical*8", 8, 3, 1, 0x1},      {"LOGICAL", "logical", -1, 2, 1, 0x1},
      {"INTEGER", "integer", -1, 12, 1, 0x2},  {"REAL", "real", -1, 22, 2, 0x4},
      {"DOUBLE", "double", -1, 23, 2, 0x8},    {"C*32", "complex*32", 32, 35, 3, 0x400},
      {"COMPLEX", "complex", -1, 33, 3, 0x8},  {"I*1", "integer*1", 1, 11, 1, 0x2},
      {"type", "structure", 0, 0, 5, 0x100},   {nullptr, nullptr, 0, 0, 0, 0},
  };
  for (int c = 0; c < 28; ++c) {
    SCOPED_TRACE("code " + std::to_string(c));
    const Row& r = rows[c];
    if (r.sname) {
      EXPECT_STREQ(dtstuff[c].sname, r.sname);
      EXPECT_STREQ(dtstuff[c].lname, r.lname);
    } else {
      EXPECT_EQ(dtstuff[c].sname, nullptr);
      EXPECT_EQ(dtstuff[c].lname, nullptr);
    }
    EXPECT_EQ(dtstuff[c].size, r.size);
    EXPECT_EQ(dtstuff[c].rank, r.rank);
    EXPECT_EQ(dtstuff[c].store, r.store);
    EXPECT_EQ(dtstuff[c].usg, r.usg);
  }
}

TEST_F(DataTypes, ClassesAndFamilies) {
  struct Case { int code, tclass, family, numeric; };
  const Case cases[] = {
      {1, 2, 19, 0},  {2, 2, 19, 0},   {3, 3, 20, 3},   {4, 3, 20, 4},   {5, 4, 21, 5},
      {6, 4, 21, 6},  {7, 5, 24, 7},   {8, 5, 24, 8},   {9, 4, 21, 9},   {10, 8, 10, 0},
      {11, 2, 19, 0}, {12, 1, 14, 0},  {13, 0, 13, 0},  {14, 1, 14, 0},  {15, 12, 15, 0},
      {16, 0, 16, 0}, {17, 3, 20, 17}, {18, 2, 19, 0},  {19, 2, 19, 0},  {20, 3, 20, 20},
      {21, 4, 21, 21}, {22, 4, 21, 22}, {23, 5, 24, 23}, {24, 5, 24, 24}, {25, 3, 20, 25},
      {26, 12, 26, 0}, {0, 0, 0, 0},   {27, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(getdtname(c.code), c.tclass) << c.code;
    EXPECT_EQ(getdtclass(c.code), c.family) << c.code;
    EXPECT_EQ(isNumericType(c.code), c.numeric) << c.code;
  }
  EXPECT_EQ(is_same_dtclass(4, 20), 20);
  EXPECT_EQ(is_same_dtclass(4, 4), 4);
  EXPECT_EQ(is_same_dtclass(15, 15), 0);
  EXPECT_EQ(is_same_dtclass(4, 5), 0);
  EXPECT_EQ(is_same_dtclass(0, 0), 0);
}

TEST_F(DataTypes, DescriptorBytesAreBigEndian) {
  dtdesc d = desc(14, 0x01020304);
  d.kind = 1;
  unsigned char b[12];
  dtdesc_put(d, b);
  const unsigned char expected[12] = {14, 1, 0, 0, 'p', 0, 0, 0, 1, 2, 3, 4};
  EXPECT_EQ(std::memcmp(b, expected, 12), 0);
  dtdesc back{};
  dtdesc_get(back, b);
  EXPECT_EQ(back.code, 14);
  EXPECT_EQ(back.tag, 'p');
  EXPECT_EQ(back.value, 0x01020304);
}

TEST_F(DataTypes, QualifierAccessors) {
  dtdesc d = desc(14, 8);
  EXPECT_EQ(IsQCharsize(&d), 1);
  EXPECT_EQ(PGetQCharsize(&d), 8);
  PSetQGlostruct(&d, 42);
  EXPECT_EQ(IsQGlostruct(&d), 1);
  EXPECT_EQ(PGetQGlostruct(&d), 42);
  dtdesc none{};
  EXPECT_EQ(PGetQCharsize(&none), 0);
}

TEST_F(DataTypes, TypeNames) {
  struct Case { dtdesc d; int flags; const char* expected; };
  const Case cases[] = {
      {desc(14, 0), 0, "CHAR*(*)"},
      {desc(14, 0), 4, "character*(*)"},
      {desc(14, 12), 0, "CHAR*12"},
      {desc(4), 0, "I*4"},
      {desc(24), 4, "complex"},
      {desc(0), 0, "(**0**)"},
      {desc(27), 0, "(**27**)"},
      {desc(15), 0, "struct ???"},
      {desc(26), 4, "structure/??" "?/"},
  };
  for (const Case& c : cases) EXPECT_EQ(dtypname(&c.d, c.flags), c.expected);
}

TEST_F(DataTypes, IntegerValues) {
  int32_t r = 0;
  conval v{};
  dtdesc real = desc(5);
  v.d = 1e9;
  EXPECT_EQ(intval(&real, &v, &r), 0);
  v.d = 999999999.9;
  EXPECT_EQ(intval(&real, &v, &r), 1);
  EXPECT_EQ(r, 999999999);
  v.d = -2.7;
  EXPECT_EQ(intval(&real, &v, &r), 1);
  EXPECT_EQ(r, -2);
  dtdesc i4 = desc(4);
  v.i = -5;
  EXPECT_EQ(intval(&i4, &v, &r), 1);
  EXPECT_EQ(r, -5);
  dtdesc logical = desc(2);
  EXPECT_EQ(intval(&logical, &v, &r), 0);
  dtdesc typeless = desc(16);
  EXPECT_EQ(intval(&typeless, &v, &r), 1);
  EXPECT_EQ(intval(nullptr, &v, &r), 0);
}

TEST_F(DataTypes, ConversionsToInteger) {
  dtdesc ch = desc(14, 2), i4 = desc(4), i2 = desc(3), r8 = desc(6), c8 = desc(7);
  char text[] = "AB";
  conval v{};
  v.s = text;
  EXPECT_EQ(dtconvert(&v, &ch, &i4), 1);
  EXPECT_EQ(static_cast<uint32_t>(v.i), 0x41422020u);
  v.s = text;
  EXPECT_EQ(dtconvert(&v, &ch, &i2), 1);
  EXPECT_EQ(v.i, 0x4142);
  struct Case { double x; int32_t expected; };
  const Case cases[] = {{2.9, 2}, {-2.9, -2}, {3e9, INT32_MAX}, {-3e9, INT32_MIN},
                        {2147483647.5, INT32_MAX}, {std::nan(""), INT32_MAX},
                        {-std::nan(""), INT32_MIN}};
  for (const Case& c : cases) {
    v.d = c.x;
    EXPECT_EQ(dtconvert(&v, &r8, &i4), 1);
    EXPECT_EQ(v.i, c.expected) << c.x;
  }
  v.c[0] = -7.5;
  v.c[1] = 3;
  EXPECT_EQ(dtconvert(&v, &c8, &i4), 1);
  EXPECT_EQ(v.i, -7);
}

TEST_F(DataTypes, ConversionsToRealComplexAndCharacter) {
  dtdesc i4 = desc(4), r8 = desc(6), c16 = desc(8), ch4 = desc(14, 4), ch2 = desc(14, 2);
  dtdesc ch0 = desc(14, 0), type = desc(26);
  conval v{};
  v.i = -3;
  EXPECT_EQ(dtconvert(&v, &i4, &r8), 1);
  EXPECT_EQ(v.d, -3.0);
  EXPECT_EQ(dtconvert(&v, &r8, &c16), 1);
  EXPECT_EQ(v.c[0], -3.0);
  EXPECT_EQ(v.c[1], 0.0);
  v.c[0] = 1.5;
  v.c[1] = 9;
  EXPECT_EQ(dtconvert(&v, &c16, &r8), 1);
  EXPECT_EQ(v.d, 1.5);
  v.i = 4;
  EXPECT_EQ(dtconvert(&v, &i4, &c16), 1);
  EXPECT_EQ(v.c[0], 4.0);
  EXPECT_EQ(v.c[1], 0.0);
  char ab[] = "AB";
  v.s = ab;
  EXPECT_EQ(dtconvert(&v, &ch2, &ch4), 1);
  EXPECT_EQ(std::string(v.s, 5), std::string("AB  \0", 5));
  v.i = 0x4142;
  EXPECT_EQ(dtconvert(&v, &i4, &ch4), 1);
  EXPECT_EQ(std::string(v.s, 4), std::string("\0\0AB", 4));
  v.i = 1;
  EXPECT_EQ(dtconvert(&v, &i4, &ch0), 0);  // no length
  EXPECT_EQ(v.i, 1);
  EXPECT_EQ(dtconvert(&v, &i4, &type), 0);
  EXPECT_EQ(dtconvert(&v, &r8, &ch4), 0);
  EXPECT_EQ(dtconvert(nullptr, &i4, &r8), 0);
}

TEST_F(DataTypes, TypeStatements) {
  dtopts.message = record_message;
  struct Case { int tclass; int32_t len, kind; uint32_t compiler; int result, code; int message; };
  const Case cases[] = {
      {TC_INTEGER, 8, 0, 0, 1, 17, 0},   {TC_INTEGER, 3, 0, 0, 0, 0, 12},
      {TC_REAL, 8, 0, 0x80, 1, 6, 0},    {TC_LOGICAL, 8, 0, 0, 0, 0, 12},
      {TC_LOGICAL, 8, 0, 0x80, 1, 18, 0}, {TC_INTEGER, 1, 0, 0, 1, 25, 0},
      {TC_COMPLEX, 32, 0, 0, 1, 23, 0},  {TC_DCOMPLEX, 16, 0, 0, 1, 8, 0},
      {TC_DOUBLE, 8, 0, 0, 1, 6, 0},     {TC_DOUBLE, 16, 0, 0x80, 1, 9, 0},
      {TC_INTEGER, -4, 0, 0, 1, 4, 0},   {TC_COMPLEX, -4, 0, 0, 1, 7, 0},
      {TC_BYTE, 4, 0, 0, 1, 10, 0},      {TC_NONE, 4, 0, 0, 1, 0, 0},
      {TC_STRUCT, 0, 0, 0, 0, 0, 12},    {TC_STRUCT, 5, 0, 0, 1, 26, 0},
      {TC_CHARACTER, -2, 0, 0, 0, 0, 12}, {TC_CHARACTER, -1, 0, 0, 0, 0, 283},
      {TC_INTEGER, -1, 0, 0, 0, 0, 283}, {TC_INTEGER, 64, 0, 0, 0, 0, 12},
  };
  for (const Case& c : cases) {
    messages().clear();
    dtopts.compiler = c.compiler;
    dtdesc d{};
    EXPECT_EQ(figtyp(&d, c.tclass, c.len, c.kind), c.result) << c.tclass << " " << c.len;
    EXPECT_EQ(d.code, c.code) << c.tclass << " " << c.len;
    if (c.message != 0) {
      ASSERT_FALSE(messages().empty()) << c.tclass << " " << c.len;
      EXPECT_EQ(messages().front(), c.message) << c.tclass << " " << c.len;
    } else {
      EXPECT_TRUE(messages().empty()) << c.tclass << " " << c.len;
    }
  }
  dtdesc d{};
  EXPECT_EQ(figtyp(&d, TC_CHARACTER, 10, 0), 1);
  EXPECT_EQ(d.code, 14);
  EXPECT_EQ(d.value, 10);
  EXPECT_EQ(figtyp(nullptr, TC_INTEGER, 4, 0), 0);
}

TEST_F(DataTypes, KindRulesOnlyOutsideFortran77) {
  dtopts.kindcode = [](int tclass, int kind) { return tclass == TC_INTEGER && kind == 8 ? 17 : 0; };
  dtdesc d{};
  EXPECT_EQ(figtyp(&d, TC_INTEGER, -4, 8), 1);
  EXPECT_EQ(d.code, 17);
  EXPECT_EQ(d.kind, 8);
  dtopts.language = 1;
  EXPECT_EQ(figtyp(&d, TC_INTEGER, -4, 8), 1);
  EXPECT_EQ(d.code, 4);
}

using DataTypesDeath = CommonTest;

TEST_F(DataTypesDeath, AccessorMisuse) {
  dtdesc d = desc(14, 1);
  EXPECT_EXIT(PGetQGlostruct(&d), ::testing::ExitedWithCode(4), "PGetQGlostruct");
  EXPECT_EXIT(PSetQCharsize(nullptr, 1), ::testing::ExitedWithCode(4), "PSetQCharsize");
  dtdesc bad = desc(4);
  bad.tag = 'x';
  EXPECT_EXIT(IsQStructsym(&bad), ::testing::ExitedWithCode(4), "IsQStructsym");
  dtdesc q = desc(15);
  PSetQStructsym(&q, nullptr);
  EXPECT_EXIT(dtypname(&q, 0), ::testing::ExitedWithCode(4), "routine dtypname");
}
