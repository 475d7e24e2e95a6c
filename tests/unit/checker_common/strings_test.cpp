// String and number helpers: hash, name shortening, number text.
#include <gtest/gtest.h>

#include <cstring>

#include "checker/common/mystring.h"

TEST(Hashy, KnownValues) {
  struct Case { const char* name; int expected; };
  const Case cases[] = {
      {"A", 65},
      {"AB", 586},  // 65 * 8 XOR 66
      {"", 0},
      // ABC: ((586 << 3) | ((586 >> 7) & 7)) ^ 67 = (4688 | 4) ^ 67
      //      = 0x1254 ^ 0x43 = 0x1217 -> & 0x3FF = 0x217 = 535
      {"ABC", 535},
  };
  for (const Case& c : cases)
    EXPECT_EQ(hashy(c.name, static_cast<int>(std::strlen(c.name))), c.expected) << c.name;
}

TEST(Hashy, OnlyEightCharactersAndTheLengthCount) {
  EXPECT_EQ(hashy("ABCDEFGHX", 9), hashy("ABCDEFGHY", 9));
  EXPECT_EQ(hashy("ABCDEFGH", 8), hashy("ABCDEFGHZZZ", 11));
  EXPECT_EQ(hashy("AB", 1), 65);   // the length stops it
  EXPECT_EQ(hashy("AB", 0), 0);
  EXPECT_EQ(hashy("A\0B", 3), 65); // so does a NUL
}

TEST(Hashy, BytesAreSigned) {
  // 0xC1 is -63 as a signed byte: h = 0 ^ -63 = 0xFFFFFFC1 -> & 0x3FF = 0x3C1.
  const char name[] = {static_cast<char>(0xC1), 0};
  EXPECT_EQ(hashy(name, 1), 0x3C1);
  // Two bytes: h = -63; (h << 3) = -504 (0xFFFFFE08); (h >> 7) & 7 = 7;
  // 0xFFFFFE0F ^ 65 = 0xFFFFFE4E -> & 0x3FF = 0x24E.
  const char two[] = {static_cast<char>(0xC1), 'A', 0};
  EXPECT_EQ(hashy(two, 2), 0x24E);
}

TEST(Crunchnam, ShortensToEightAndThree) {
  struct Case { const char* name; const char* expected; };
  const Case cases[] = {
      // H copied at position 7; I: (8 + 7 + 1) % 37 = 16 -> Q; J: (9 + 16 + 1) = 26 -> 0.
      {"abcdefghij.for", "ABCDEFG0.FOR"},
      {"main.f", "MAIN.F"},
      {"a-b_c", "AB_C"},          // "-" is not in the alphabet and is dropped
      {"prog", "PROG"},
      // Extension folding: F, O, R then T: (19 + 17 + 1) % 37 = 0 -> A.
      {"x.fort", "X.FOA"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(crunchnam(std::string_view(c.name)), c.expected) << c.name;
}

TEST(Crunchnam, UpperCasesTheNameItselfAndStaysInItsResult) {
  char name[] = "abc.def";
  EXPECT_EQ(crunchnam(name), "ABC.DEF");
  EXPECT_STREQ(name, "ABC.DEF");
  // Many dots and long parts never give more than 12 characters.
  std::string many = "abcdefghijklmnop.qrstuvw.xyz.a.b.c.d.e.f.g";
  EXPECT_LE(crunchnam(std::string_view(many)).size(), 12u);
  EXPECT_EQ(crunchnam(std::string_view("a.b.c")), "A.B.C");
}

TEST(Fitoa, RightAlignedOrStars) {
  EXPECT_EQ(fitoa(123456, 4), "****");
  EXPECT_EQ(fitoa(42, 5), "   42");
  EXPECT_EQ(fitoa(0, 1), "0");
  EXPECT_EQ(fitoa(4294967295u, 10), "4294967295");
  EXPECT_EQ(fitoa(7, 0), "");
}

TEST(Alphalen, LettersOfANumber) {
  struct Case { int32_t n; const char* expected; };
  const Case cases[] = {{0, "A"}, {25, "Z"}, {26, "BA"}, {27, "BB"},
                        {675, "ZZ"}, {676, "BAA"}, {17575, "ZZZ"}};
  for (const Case& c : cases) EXPECT_EQ(alphalen(c.n), c.expected) << c.n;
}

TEST(Decatoi, StopsBeforeOverflow) {
  uint32_t v = 0;
  EXPECT_EQ(decatoi("2147483649", 10, &v), 0);
  EXPECT_EQ(v, 214748364u);
  EXPECT_EQ(decatoi("2147483648", 10, &v), 1);
  EXPECT_EQ(v, 2147483648u);
  EXPECT_EQ(decatoi("99999999999999999999", 20, &v), 0);
  EXPECT_EQ(v, 999999999u);
  EXPECT_EQ(decatoi("12x4", 4, &v), 0);
  EXPECT_EQ(v, 12u);
  EXPECT_EQ(decatoi("1234", 2, &v), 1);
  EXPECT_EQ(v, 12u);
}

TEST(Octatoi, OctalDigitsOnly) {
  uint32_t v = 0;
  EXPECT_EQ(octatoi("777", 3, &v), 1);
  EXPECT_EQ(v, 511u);
  EXPECT_EQ(octatoi("78", 2, &v), 0);
  EXPECT_EQ(v, 7u);
  EXPECT_EQ(octatoi("20000000000", 11, &v), 1);  // 2^31
  EXPECT_EQ(v, 2147483648u);
  EXPECT_EQ(octatoi("20000000001", 11, &v), 0);
}

TEST(Hexatoi, BlanksSignsAndStops) {
  int32_t v = 0;
  EXPECT_EQ(hexatoi("1F", 2, &v), 0);
  EXPECT_EQ(v, 31);
  EXPECT_EQ(hexatoi(" a b", 4, &v), 0);
  EXPECT_EQ(v, 0xAB);
  EXPECT_EQ(hexatoi("-10", 3, &v), 0);
  EXPECT_EQ(v, -16);
  EXPECT_EQ(hexatoi("1G", 2, &v), 1);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(hexatoi("FFFFFFFF", 8, &v), 0);
  EXPECT_EQ(v, -1);
  EXPECT_EQ(hexatoi("100000000", 9, &v), 1);  // a 33rd bit is refused
  EXPECT_EQ(v, 0x10000000);
}

TEST(Intexp, PowersWithOverflow) {
  struct Case { int32_t b, e, value; bool overflow; };
  const Case cases[] = {{2, 10, 1024, false}, {2, 31, 0, true}, {-2, 31, INT32_MIN, false}, {-2, 32, 0, true},
                        {2, 30, 1073741824, false}, {-1, 2147483647, -1, false},
                        {1, 2147483647, 1, false}, {0, 0, 1, false}, {0, 5, 0, false},
                        {3, -1, 0, false}, {0, -1, 0, true}, {10, 9, 1000000000, false},
                        {10, 10, 0, true}};
  for (const Case& c : cases) {
    IntexpResult r = intexp(c.b, c.e);
    EXPECT_EQ(r.overflow, c.overflow) << c.b << "**" << c.e;
    if (!c.overflow) {
      EXPECT_EQ(r.value, c.value) << c.b << "**" << c.e;
    }
  }
}

TEST(Strings, BoundedCopiesStayInTheirBuffers) {
  char buf[8];
  std::memset(buf, 'x', sizeof buf);
  strzcpy(buf, "abcdefghij", 5);
  EXPECT_STREQ(buf, "abcd");
  EXPECT_EQ(buf[5], 'x');
  strzmcpy(buf, "abcdefghij", 2, 8);
  EXPECT_STREQ(buf, "ab");
  strmcpy(buf, "abcdef", 3);
  EXPECT_STREQ(buf, "abc");
  strzcat(buf, "defghij", 6);
  EXPECT_STREQ(buf, "abcde");
  strcpy(buf, "ab");
  strzmcat(buf, "cdefg", 2, 8);
  EXPECT_STREQ(buf, "abcd");
  strmcat(buf, "xyz", 1);
  EXPECT_STREQ(buf, "abcdx");
  char f[16] = "ab";
  strfcat(f, "cd", 4);
  EXPECT_STREQ(f, "abcd  ");
  strfcat(f, "123456", 2);
  EXPECT_STREQ(f, "abcd  12");
}

TEST(Strings, Comparisons) {
  EXPECT_EQ(strcmpmn("abcx", "abcy", 3), 0);
  EXPECT_LT(strcmpmn("abcx", "abcy", 4), 0);
  EXPECT_EQ(strcmpmni("ABCx", "abcy", 3), 0);
  EXPECT_EQ(strcmpii("Hello", "hELLO"), 0);
  EXPECT_NE(strcmpii("Hello", "hELL"), 0);
  EXPECT_NE(strbgw("abcdef", "abc"), 0);
  EXPECT_NE(strbgw("abcdef", ""), 0);
  EXPECT_EQ(strbgw("ab", "abc"), 0);
  EXPECT_EQ(fffcmp("ab", "ab   ", 2, 5), 0);
  EXPECT_LT(fffcmp("ab", "ab  c", 2, 5), 0);
  EXPECT_EQ(fstrlen("ab  ", 4), 2);
  EXPECT_EQ(fstrlen("    ", 4), 0);
}

TEST(Strings, Wildcards) {
  struct Case { const char* pattern; const char* text; int expected; };
  const Case cases[] = {{"*.f", "main.f", 0},   {"*.f", "main.for", 1}, {"m?in*", "main.f", 0},
                        {"*", "", 0},           {"a*b*c", "axxbyyc", 0}, {"a*b*c", "axxbyy", 1},
                        {"abc", "abc", 0},      {"abc", "abcd", 1},      {"**x", "abx", 0}};
  for (const Case& c : cases)
    EXPECT_EQ(strwldcmp(c.pattern, c.text), c.expected) << c.pattern << " " << c.text;
}

TEST(Strings, CaseAndWords) {
  char t[] = "MiXeD1";
  uppercase(t);
  EXPECT_STREQ(t, "MIXED1");
  x_strlower(t);
  EXPECT_STREQ(t, "mixed1");
  char out[8];
  makelower(out, "ABC");
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(x_phstrip("dev:word rest"), "word");
  EXPECT_EQ(x_phstrip("a:b~c"), "b");
  EXPECT_EQ(x_phstrip("none"), "");
}

TEST(Numbers, TextOfNumbers) {
  EXPECT_EQ(uitoa(4294967295u), "4294967295");
  EXPECT_EQ(sitoa(-2147483647 - 1), "-2147483648");
  char buf[16];
  numcpy(buf, -12);
  EXPECT_STREQ(buf, "-12");
  char z[6] = "ab";
  numzcat(z, 12345, 6);
  EXPECT_STREQ(z, "ab123");
  EXPECT_EQ(declen("123abc"), 3);
  EXPECT_EQ(declen("x1"), 0);
  EXPECT_EQ(numlen(0), 1);
  EXPECT_EQ(numlen(9), 1);
  EXPECT_EQ(numlen(10), 2);
  EXPECT_EQ(numlen(2147483647), 10);
}

TEST(EditBitmap, SetClearTestAndRefuse) {
  unsigned char map[2] = {0, 0};
  EXPECT_EQ(EditBitmap(map, 9, 1, 16), 1);
  EXPECT_EQ(map[1], 0x02);
  EXPECT_EQ(EditBitmap(map, 9, -1, 16), 1);
  EXPECT_EQ(EditBitmap(map, 8, -1, 16), 0);
  EXPECT_EQ(EditBitmap(map, 9, 0, 16), 0);
  EXPECT_EQ(map[1], 0);
  EXPECT_EQ(EditBitmap(map, 16, 1, 16), -1);
  EXPECT_EQ(EditBitmap(map, -1, 1, 16), -1);
}

TEST(IncludeNames, NumberedInOrderOfFirstAppearance) {
  include_names_reset();
  EXPECT_EQ(save_include_name("a.inc"), 1);
  EXPECT_EQ(save_include_name("b.inc"), 2);
  EXPECT_EQ(save_include_name("a.inc"), 1);
  EXPECT_STREQ(get_include_name(2), "b.inc");
  EXPECT_EQ(get_include_name(0), nullptr);
  EXPECT_EQ(get_include_name(3), nullptr);
}
