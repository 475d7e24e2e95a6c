// Literal constants as the scanner builds them, with their types, values and
// range messages, and the operations on constant-value records.
#include <cmath>

#include "tests/unit/scanner/scanner_fixture.h"

namespace {

class LiteralTest : public ScannerTest {
 protected:
  // Scans the first token of text in expression mode.
  static int scan_one(const char* text, uint32_t flags = expression_mode) {
    load({text});
    return scan_token(flags);
  }
  static type* literal_type() { return token_constant.c.type; }
  static bool is_error_constant() {
    return token_constant.c.kind == ck_error && literal_type() == error_type();
  }
};

TEST_F(LiteralTest, IntegerLiteralsAndTheirLimits) {
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
    uint32_t kind_row;  // INTEGER row: 0 KIND 1 (2 bytes), 1 KIND 2 (4 bytes)
  } cases[] = {
      {"2147483647", true, 2147483647, 1},
      {"2147483648", false, 0, 1},
      {"-2147483648", true, INT32_MIN, 1},
      {"-2147483649", false, 0, 1},
      {"4294967296", false, 0, 1},      // overflows the accumulation, no wrap
      {"99999999999", false, 0, 1},
      {"32767_1", true, 32767, 0},
      {"32768_1", false, 0, 0},
      {"-32768_1", true, -32768, 0},
      {"-32769_1", false, 0, 0},
      {"7_2", true, 7, 1},
      {"0", true, 0, 1},
      {"- 5", true, -5, 1},
  };
  for (const Case& c : cases) {
    start(false, false);
    EXPECT_EQ(scan_one(c.text), tok_int_const) << c.text;
    if (c.ok) {
      EXPECT_EQ(diag.errors, 0u) << c.text;
      EXPECT_EQ(token_constant.c.kind, ck_value) << c.text;
      EXPECT_EQ(literal_type(), integer_type(c.kind_row)) << c.text;
      EXPECT_EQ(int_value(), c.value) << c.text;
    } else {
      EXPECT_EQ(diag.errors, 1u) << c.text;
      EXPECT_TRUE(is_error_constant()) << c.text;
    }
  }
}

TEST_F(LiteralTest, KindParameterMessages) {
  struct Case {
    const char* text;
    int token;
  } cases[] = {
      {"1_3", tok_int_const},            // no INTEGER kind 3
      {"1_4294967296", tok_int_const},   // kind constant too large
      {"1_2147483648", tok_int_const},   // negative kind value
      {"1.0_3", tok_real_const},
      {".TRUE._3", tok_logical_const},
      {"1_k", tok_int_const},            // a kind name that is no constant
  };
  for (const Case& c : cases) {
    start(false, false);
    EXPECT_EQ(scan_one(c.text), c.token) << c.text;
    EXPECT_EQ(diag.errors, 1u) << c.text;
    EXPECT_TRUE(is_error_constant()) << c.text;
  }
}

TEST_F(LiteralTest, RealLiteralsTypesAndValues) {
  struct Case {
    const char* text;
    int code;       // tk_float
    type* (*t)();   // expected type
    double value;
  } cases[] = {
      {"1.5", tk_float, default_real_type, 1.5},
      {"1.0D0", tk_float, double_precision_type, 1.0},
      {"1.D-3", tk_float, double_precision_type, 1e-3},
      {"1.E5", tk_float, default_real_type, 1e5},
      {"2.5e2", tk_float, default_real_type, 250.0},
      {".5", tk_float, default_real_type, 0.5},
      {"-.25", tk_float, default_real_type, -0.25},
      {"1.0E0_2", tk_float, double_precision_type, 1.0},
      {"3E38", tk_float, default_real_type, 3e38},
      {"1.0D300", tk_float, double_precision_type, 1e300},
  };
  for (const Case& c : cases) {
    start(false, false);
    EXPECT_EQ(scan_one(c.text), tok_real_const) << c.text;
    EXPECT_EQ(diag.errors, 0u) << c.text;
    EXPECT_EQ(literal_type(), c.t()) << c.text;
    EXPECT_DOUBLE_EQ(real_value(), c.value) << c.text;
  }
}

TEST_F(LiteralTest, RealRangeAndExponentMessages) {
  struct Case {
    const char* text;
    uint32_t errors;
    bool error_constant;
  } cases[] = {
      {"1.0E400", 1, true},    // beyond double
      {"1.0E-400", 1, true},   // underflow
      {"1.0E39", 1, true},     // beyond the default REAL kind
      {"-1.0E39", 1, true},
      {"1.0E39_2", 0, false},  // fits REAL KIND 2
      {"1.0D39", 0, false},
      {"1.0D0_2", 1, false},   // D with a kind: reported, still REAL KIND 2
      {"1.0E", 1, true},       // no exponent digits
      {"1.0E+", 1, true},
      {"1.0_", 1, true},       // no kind after "_"
  };
  for (const Case& c : cases) {
    start(false, false);
    EXPECT_EQ(scan_one(c.text), tok_real_const) << c.text;
    EXPECT_EQ(diag.errors, c.errors) << c.text;
    EXPECT_EQ(is_error_constant(), c.error_constant) << c.text;
  }
  start(false, false);
  scan_one("1.0D0_2");
  EXPECT_EQ(literal_type(), real_type(1));
}

TEST_F(LiteralTest, BozConstants) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t value;
  } cases[] = {
      {"Z'FFFFFFFF'", true, 0xFFFFFFFFu},
      {"z'7f'", true, 0x7Fu},
      {"O'37777777777'", false, 0},   // 11 octal digits: too large
      {"O'7777777777'", true, 07777777777u},
      {"B'101'", true, 5u},
      {"B''", false, 0},              // no digits
      {"Z'1G'", false, 0},            // invalid hexadecimal digit
      {"O'8'", false, 0},
      {"B'2'", false, 0},
      {"Z'000000001'", false, 0},     // leading zeros count
      {"Z\"AB\"", true, 0xABu},
  };
  for (const Case& c : cases) {
    start(false, false);
    EXPECT_EQ(scan_one(c.text), tok_boz_const) << c.text;
    if (c.ok) {
      EXPECT_EQ(diag.errors, 0u) << c.text;
      EXPECT_EQ(static_cast<uint32_t>(int_value()), c.value) << c.text;
      EXPECT_EQ(literal_type(), integer_type(1)) << c.text;
    } else {
      EXPECT_EQ(diag.errors, 1u) << c.text;
      EXPECT_TRUE(is_error_constant()) << c.text;
    }
  }
  start(false, false);
  EXPECT_EQ(scan_one("Z'12"), tok_boz_const);
  EXPECT_EQ(diag.errors, 1u);
  start(false, false);
  EXPECT_EQ(scan_one("Z'12", quiet_mode), tok_invalid);
  EXPECT_EQ(diag.errors, 0u);
  start(false, false);
  EXPECT_EQ(scan_one("Z1"), tok_name);
}

TEST_F(LiteralTest, CharacterLogicalAndHollerith) {
  EXPECT_EQ(scan_one("'IT''S'"), tok_char_const);
  EXPECT_EQ(char_len_record(literal_type())->value, 4);
  EXPECT_EQ(chars(4), "IT'S");
  EXPECT_EQ(token_constant.c.value, nullptr);  // 4 characters stay inline

  std::string forty_one = "'" + std::string(41, 'x') + "'";
  EXPECT_EQ(scan_one(forty_one.c_str()), tok_char_const);
  EXPECT_NE(token_constant.c.value, nullptr);
  std::string forty = "'" + std::string(40, 'x') + "'";
  EXPECT_EQ(scan_one(forty.c_str()), tok_char_const);
  EXPECT_EQ(token_constant.c.value, nullptr);

  EXPECT_EQ(scan_one("\"say \"\"hi\"\"\""), tok_char_const);
  EXPECT_EQ(char_len_record(literal_type())->value, 8);

  EXPECT_EQ(scan_one("1_'ab'"), tok_char_const);
  EXPECT_EQ(literal_type(), default_character_type(2));
  EXPECT_EQ(scan_one("2_'ab'"), tok_char_const);  // no CHARACTER kind 2
  EXPECT_TRUE(is_error_constant());
  EXPECT_EQ(diag.errors, 1u);

  EXPECT_EQ(scan_one(".TRUE."), tok_logical_const);
  EXPECT_EQ(int_value(), 1);
  EXPECT_EQ(literal_type(), default_logical_type());
  EXPECT_EQ(scan_one(".false._1"), tok_logical_const);
  EXPECT_EQ(int_value(), 0);
  EXPECT_EQ(literal_type(), logical_type(0));

  EXPECT_EQ(scan_one("3HABC"), tok_hollerith);
  EXPECT_EQ(text(), "3HABC");
  EXPECT_EQ(scan_one("3H A,"), tok_hollerith);
  EXPECT_EQ(text(), "3H A,");
  uint32_t before = diag.errors;
  EXPECT_EQ(scan_one("0HABC"), tok_hollerith);
  EXPECT_EQ(diag.errors, before + 1);
  EXPECT_EQ(scan_one("5HAB"), tok_hollerith);
  EXPECT_EQ(diag.errors, before + 2);
  EXPECT_EQ(scan_one("5HAB", quiet_mode), tok_invalid);
  EXPECT_EQ(scan_one("3HABC", expression_mode | scan_no_hollerith), tok_int_const);
  EXPECT_EQ(int_value(), 3);

  before = diag.errors;
  EXPECT_EQ(scan_one("'abc"), tok_char_const);
  EXPECT_EQ(diag.errors, before + 1);
  EXPECT_TRUE(is_error_constant());
  EXPECT_EQ(scan_one("'abc", quiet_mode), tok_invalid);
}

TEST_F(LiteralTest, ConversionBetweenTypes) {
  const_value v;
  // REAL to INTEGER truncates toward zero.
  scan_one("-2.75");
  v = token_constant;
  const_convert_to_type(&v, default_integer_type());
  EXPECT_EQ(const_int(&v), -2);
  // A REAL no INTEGER can hold is refused, not converted.
  scan_one("1.0E20_2");
  v = token_constant;
  uint32_t before = diag.errors;
  EXPECT_EQ(const_convert_to_type(&v, default_integer_type()), 1);
  EXPECT_EQ(diag.errors, before + 1);
  EXPECT_EQ(v.c.kind, ck_error);
  // INTEGER to COMPLEX.
  scan_one("7");
  v = token_constant;
  const_convert_to_type(&v, default_complex_type());
  EXPECT_EQ(const_real(&v, 0), 7.0);
  EXPECT_EQ(const_real(&v, 1), 0.0);
  // CHARACTER to a longer CHARACTER is padded with blanks.
  scan_one("'AB'");
  v = token_constant;
  const_convert_to_type(&v, default_character_type(4));
  EXPECT_EQ(v.c.type, default_character_type(4));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(const_chars(&v)), 4), "AB  ");
  // ... and to a shorter one keeps its characters.
  scan_one("'ABCD'");
  v = token_constant;
  const_convert_to_type(&v, default_character_type(2));
  EXPECT_EQ(v.c.type, default_character_type(2));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(const_chars(&v)), 4), "ABCD");
  // CHARACTER to INTEGER: the first character.
  scan_one("'A'");
  v = token_constant;
  const_convert_to_type(&v, default_integer_type());
  EXPECT_EQ(const_int(&v), 'A');
}

TEST_F(LiteralTest, StoredFormRoundTrip) {
  scan_one("-12345");
  const_value v = token_constant;
  const_to_indirect(&v);
  ASSERT_NE(v.c.value, nullptr);
  const_value back;
  const_to_host_form(&v.c, &back);
  EXPECT_EQ(const_int(&back), -12345);
  EXPECT_EQ(back.c.value, nullptr);
  EXPECT_FALSE(const_is_zero(&v.c));

  scan_one("0.0");
  v = token_constant;
  const_to_indirect(&v);
  EXPECT_TRUE(const_is_zero(&v.c));

  scan_one(".TRUE.");
  v = token_constant;
  const_to_indirect(&v);
  EXPECT_TRUE(const_is_true(&v.c));
  scan_one("1");
  v = token_constant;
  const_to_indirect(&v);
  EXPECT_FALSE(const_is_true(&v.c));

  scan_one("'XYZ'");
  v = token_constant;
  const_to_indirect(&v);
  ASSERT_NE(v.c.value, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(v.c.value.get()), 3), "XYZ");
}

TEST_F(LiteralTest, ErrorConstantAndSizedRecords) {
  const_value v;
  const_init(&v);
  EXPECT_EQ(v.c.kind, ck_error);
  EXPECT_EQ(v.c.type, error_type());
  EXPECT_EQ(v.c.source_pos.seq, 0u);
  uint8_t* inline_bytes = const_init_sized(&v, 40);
  EXPECT_EQ(inline_bytes, v.inline_value);
  EXPECT_EQ(v.c.kind, ck_value);
  uint8_t* outside = const_init_sized(&v, 41);
  EXPECT_EQ(outside, v.c.value);
  EXPECT_NE(outside, v.inline_value);
  const_set_kind(&v, ck_init_index);
  EXPECT_EQ(v.c.stride, 1);
  const_set_kind(&v, ck_init_repeat);
  EXPECT_EQ(v.c.count, 1u);
}

}  // namespace
