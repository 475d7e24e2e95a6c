// Token sequences of the scanner in fixed and free form and its mode bits,
// and the look-ahead helpers.
#include "tests/unit/scanner/scanner_fixture.h"

namespace {

using V = std::vector<int>;

TEST_F(ScannerTest, FixedFormBlanksDoNotCount) {
  start(true, false);
  load({"DO 10 I = 1 , 10"});
  V a = tokens(keyword_mode);
  load({"DO10I=1,10"});
  V b = tokens(keyword_mode);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, (V{tok_do, tok_int_const, tok_name, tok_equals, tok_int_const, tok_comma,
                  tok_int_const, tok_eos}));

  load({"X = 1 000 * * 2"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_int_const, tok_power, tok_int_const, tok_eos}));
  load({"X = 1 000"});
  scan_token(0);
  scan_token(0);
  EXPECT_EQ(scan_token(0), tok_int_const);
  EXPECT_EQ(int_value(), 1000);
}

TEST_F(ScannerTest, FixedFormTokensContinueOnTheNextLine) {
  start(true, false);
  // Column 1 to 6 of the second line are not statement text.
  load({"      ABC = 'HEL", "     1LO' // XY", "     2Z"}, 6);
  EXPECT_EQ(scan_token(0), tok_name);
  EXPECT_EQ(text(), "ABC");
  scan_token(0);
  EXPECT_EQ(scan_token(0), tok_char_const);
  EXPECT_EQ(chars(5), "HELLO");
  EXPECT_EQ(scan_token(0), tok_concat);
  EXPECT_EQ(scan_token(0), tok_name);
  EXPECT_EQ(text(), "XYZ");
  EXPECT_EQ(scan_token(0), tok_eos);
}

TEST_F(ScannerTest, FreeFormContinuations) {
  load({"X = 1 + &", "  & 2"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_int_const, tok_plus, tok_int_const, tok_eos}));
  EXPECT_EQ(diag.errors, 0u);

  // A name split over two lines continues after the second "&".
  load({"X = AB&", "  &CD"});
  scan_token(0);
  scan_token(0);
  EXPECT_EQ(scan_token(0), tok_name);
  EXPECT_EQ(text(), "ABCD");

  // A line of a single "&".
  load({"X = 1 + &", "  &", "2"});
  tokens(0);
  EXPECT_EQ(diag.errors, 1u);

  // "&" on the last line: no continuation follows.
  diagnostics_reset();
  load({"X = 1 + &"});
  tokens(0);
  EXPECT_EQ(diag.errors, 1u);

  // Text after the "&".
  diagnostics_reset();
  load({"X = 1 + & 3", "2"});
  tokens(0);
  EXPECT_EQ(diag.errors, 1u);

  // A character context continued without "&" on the next line.
  diagnostics_reset();
  load({"S = 'AB&", "CD'"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_char_const, tok_eos}));
  EXPECT_EQ(diag.errors, 1u);
  diagnostics_reset();
  load({"S = 'AB&", "  &CD'"});
  scan_token(0);
  scan_token(0);
  EXPECT_EQ(scan_token(0), tok_char_const);
  EXPECT_EQ(chars(4), "ABCD");
  EXPECT_EQ(diag.errors, 0u);
}

TEST_F(ScannerTest, FreeFormContinuationRightAfterACharacterOrHollerithConstant) {
  // The "&" follows the closing quote: it continues the statement, not the
  // character context, so the next line needs no "&".
  load({"S = 'AB'&", "  // 'CD'"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_char_const, tok_concat, tok_char_const, tok_eos}));
  EXPECT_EQ(diag.errors, 0u);
  load({"S = 2HAB&", "  // 'CD'"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_hollerith, tok_concat, tok_char_const, tok_eos}));
  EXPECT_EQ(diag.errors, 0u);
  // A quote at the start of the continued text still doubles the closing one.
  load({"S = 'AB'&", "  &'CD'"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_char_const, tok_eos}));
  EXPECT_EQ(diag.errors, 0u);
  load({"'AB'&", "  &'CD'"});
  scan_token(0);
  EXPECT_EQ(chars(5), "AB'CD");
}

TEST_F(ScannerTest, NumbersBeforeDotWords) {
  load({"1.EQ.2 1.E5 1.D-3 1.DE.2 X.GE.Y .NOT.A .MYOP. B"});
  EXPECT_EQ(tokens(0), (V{tok_int_const, tok_eq, tok_int_const, tok_real_const, tok_real_const,
                          tok_int_const, tok_defined_op, tok_int_const, tok_name, tok_ge,
                          tok_name, tok_not, tok_name, tok_defined_op, tok_name, tok_eos}));
  // A relational operator written with dots has the atom of its symbolic form.
  load({".LT."});
  scan_token(0);
  atom* dotted = scan.token_atom;
  load({"<"});
  scan_token(0);
  EXPECT_EQ(std::string(dotted->text), "<");
  load({".ab"});
  EXPECT_EQ(scan_token(0), tok_invalid);
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(ScannerTest, OperatorsAndTheirModes) {
  load({"(/ /) :: // /= <= >= == => ** % ;"});
  EXPECT_EQ(tokens(0), (V{tok_lparen_slash, tok_slash_rparen, tok_double_colon, tok_concat, tok_ne,
                          tok_le, tok_ge, tok_eq, tok_arrow, tok_power, tok_percent, tok_eos}));
  load({"(/ /) ** //"});
  EXPECT_EQ(tokens(scan_single_lparen | scan_no_slash_rparen | scan_single_star | scan_single_slash),
            (V{tok_lparen, tok_slash, tok_slash, tok_rparen, tok_star, tok_star, tok_slash,
               tok_slash, tok_eos}));
  load({"A.B"});
  EXPECT_EQ(tokens(scan_single_dot), (V{tok_name, tok_dot, tok_name, tok_eos}));
  load({"$"});
  EXPECT_EQ(scan_token(0), tok_invalid);
  EXPECT_EQ(diag.errors, 1u);
  load({"$"});
  EXPECT_EQ(scan_token(quiet_mode), tok_invalid);
  EXPECT_EQ(diag.errors, 1u);
}

TEST_F(ScannerTest, SemicolonEndsAStatement) {
  load({"X = 1 ;; Y = 2"});
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_int_const, tok_eos}));
  EXPECT_EQ(*scan.scan_ptr, 'Y');
  EXPECT_EQ(tokens(0), (V{tok_name, tok_equals, tok_int_const, tok_eos}));
}

TEST_F(ScannerTest, LabelMode) {
  struct Case {
    const char* text;
    const char* label;
    uint32_t errors;
  } cases[] = {{"00010", "10", 0}, {"000", "0", 1}, {"123456", "23456", 1},
               {"1234567", "34567", 1}, {"99999", "99999", 0}};
  for (const auto& c : cases) {
    start(false, false);
    load({c.text});
    EXPECT_EQ(scan_token(label_mode), tok_label) << c.text;
    EXPECT_EQ(text(), c.label) << c.text;
    EXPECT_STREQ(scan.token_atom->text, c.label) << c.text;
    EXPECT_EQ(diag.errors, c.errors) << c.text;
  }
}

TEST_F(ScannerTest, NamesWithEqualsAndColons) {
  load({"UNIT=5, FOO = 6"});
  EXPECT_EQ(scan_token(scan_specifier_bit), tok_spec_unit);
  EXPECT_EQ(scan_token(0), tok_int_const);
  scan_token(0);
  EXPECT_EQ(scan_token(scan_specifier_bit), tok_name);  // "=" consumed
  EXPECT_STREQ(scan.token_atom->text, "FOO");
  EXPECT_EQ(scan_token(0), tok_int_const);

  load({"KIND = 2, A == B"});
  EXPECT_EQ(scan_token(argument_list_mode), tok_keyword_arg);
  EXPECT_STREQ(scan.token_atom->text, "KIND");
  EXPECT_EQ(scan_token(argument_list_mode), tok_int_const);
  scan_token(argument_list_mode);
  EXPECT_EQ(scan_token(argument_list_mode), tok_name);
  EXPECT_EQ(scan_token(argument_list_mode), tok_eq);

  load({"OUTER: DO"});
  EXPECT_EQ(scan_token(construct_name_mode), tok_label);
  EXPECT_STREQ(scan.token_atom->text, "OUTER");
  EXPECT_EQ(scan_token(0), tok_colon);
}

TEST_F(ScannerTest, KeywordModeInBothForms) {
  load({"ENDDO"});
  EXPECT_EQ(scan_token(keyword_mode), tok_enddo);
  load({"WHERE"});
  EXPECT_EQ(scan_token(keyword_mode), tok_where);
  load({"ENDDO"});
  EXPECT_EQ(scan_token(0), tok_name);
  start(true, false);
  load({"ENDDO"});
  EXPECT_EQ(tokens(keyword_mode), (V{tok_end, tok_do, tok_eos}));
  load({"WHERE"});
  EXPECT_EQ(scan_token(keyword_mode), tok_tail_where);
}

TEST_F(ScannerTest, SignedNumbersAndSeparatorWarning) {
  load({"- 5 -.5 - X"});
  EXPECT_EQ(tokens(expression_mode), (V{tok_int_const, tok_real_const, tok_minus, tok_name, tok_eos}));
  load({"- 5"});
  EXPECT_EQ(tokens(0), (V{tok_minus, tok_int_const, tok_eos}));
  load({"10X"});
  EXPECT_EQ(tokens(0), (V{tok_int_const, tok_name, tok_eos}));
  EXPECT_EQ(diag.warnings, 1u);
  load({"10X"});
  EXPECT_EQ(tokens(format_mode), (V{tok_int_const, tok_letter, tok_eos}));
  EXPECT_EQ(diag.warnings, 1u);
  // Where numbers take no exponent, D and E end the digits like any letter.
  load({"10E"});
  EXPECT_EQ(tokens(scan_integer_only), (V{tok_int_const, tok_name, tok_eos}));
  EXPECT_EQ(diag.warnings, 2u);
  load({"10H"});
  EXPECT_EQ(tokens(scan_no_hollerith), (V{tok_int_const, tok_name, tok_eos}));
  EXPECT_EQ(diag.warnings, 2u);
}

TEST_F(ScannerTest, LowerCaseWarningOnceEvenWhenQuiet) {
  start(true, true);
  load({"X = y + z"});
  tokens(quiet_mode);
  EXPECT_EQ(diag.warnings, 1u);
  load({"X = y + z"});
  tokens(0);
  EXPECT_EQ(diag.warnings, 1u);
}

TEST_F(ScannerTest, FindFirstAndPeekFor) {
  load({"A(I, J) = B, C"});
  EXPECT_EQ(scan_find_first(tok_comma, tok_equals, 184), 2);
  load({"A(I, J) == B"});
  // The plain character search sees "=" in "==".
  EXPECT_EQ(scan_find_first(tok_equals, 184, 184), 1);
  load({"A('=', J) == B"});
  // A quote makes the search read tokens, where "==" is no "=".
  EXPECT_EQ(scan_find_first(tok_equals, 184, 184), 0);
  load({"X) , Y"});
  EXPECT_EQ(scan_find_first(tok_comma, 184, 184), 0);
  load({"DO 10 I = 1, 2"});
  char* before = scan.scan_ptr;
  scan_token(0);
  EXPECT_EQ(scan_peek_for(tok_comma, false), 1);
  EXPECT_EQ(scan.cur_token, tok_name);
  EXPECT_EQ(scan_peek_for(tok_concat, true), 0);
  EXPECT_NE(scan.scan_ptr, before);
  EXPECT_EQ(scan_token(0), tok_int_const);
}

TEST_F(ScannerTest, TokenPositionsFollowTheLineMap) {
  load({"X = 1 + &", "      2"});
  scan_token(0);
  EXPECT_EQ(scan.token_pos.seq, 1u);
  EXPECT_EQ(scan.token_pos.column, 1u);
  scan_token(0);
  scan_token(0);
  EXPECT_EQ(scan.token_pos.column, 5u);
  scan_token(0);
  scan_token(0);
  EXPECT_EQ(scan.token_pos.seq, 2u);
  EXPECT_EQ(scan.token_pos.column, 7u);
  EXPECT_EQ(err_pos.column, 7u);
}

}  // namespace
