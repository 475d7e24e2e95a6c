// The real-literal conversion and the decimal accumulation of digit strings.
#include <gtest/gtest.h>

#include <cstring>

#include "frontend/lexer/literal_constants.h"
#include "frontend/base/string_to_double.h"

namespace {

TEST(StringToDouble, ConvertsAndFlagsRangeErrors) {
  struct { const char* text; double value; int range; } cases[] = {
      {"1.5", 1.5, 0},          {"1E5", 1e5, 0},      {"2.5E-3", 2.5e-3, 0},
      {"1.0E308", 1e308, 0},     {"0.0E-400", 0.0, 0}, {".5", 0.5, 0},
      {"1.0E400", 0.0, 1},       {"1.0E-400", 0.0, 1},
  };
  for (const auto& c : cases) {
    double v = -7.0;
    int range = -1;
    string_to_double(c.text, &v, &range);
    EXPECT_EQ(range, c.range) << c.text;
    if (!c.range) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
  }
}

TEST(StringToDouble, ClearsTheErrorIndicatorFirst) {
  double v = 0;
  int range = 0;
  string_to_double("1E999", &v, &range);
  EXPECT_EQ(range, 1);
  string_to_double("2", &v, &range);
  EXPECT_EQ(range, 0);
  EXPECT_EQ(v, 2.0);
}

TEST(DecimalValue, AccumulatesModulo2To32AndFlagsOverflow) {
  struct { const char* digits; uint32_t value; bool overflow; } cases[] = {
      {"0", 0u, false},
      {"2147483647", 2147483647u, false},
      {"2147483648", 2147483648u, false},
      {"4294967295", 4294967295u, false},
      {"00000000004294967295", 4294967295u, false},
      {"4294967296", 0u, true},
      {"4294967300", 4u, true},
      {"42949672950", 4294967286u, true},
      {"99999999999", 1215752191u, true},
  };
  for (const auto& c : cases) {
    bool overflow = !c.overflow;
    uint32_t v = decimal_value(c.digits, c.digits + std::strlen(c.digits), &overflow);
    EXPECT_EQ(overflow, c.overflow) << c.digits;
    EXPECT_EQ(v, c.value) << c.digits;
  }
}

}  // namespace
