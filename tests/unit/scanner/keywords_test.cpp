// Keyword tables and the fixed-form keyword recognizer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frontend/lexer/keywords.h"
#include "frontend/lexer/scanner.h"

namespace {

TEST(KeywordTables, RowsCarryTheirTokenCodesInTableOrder) {
  for (int i = 0; i < 98; ++i) {
    EXPECT_EQ(statement_keyword_rows[i].token, 40 + i) << statement_keyword_rows[i].text;
    EXPECT_STREQ(token_written_form(40 + i), statement_keyword_rows[i].text);
  }
  for (int i = 0; i < 37; ++i) {
    EXPECT_EQ(specifier_keyword_rows[i].token, 147 + i);
    EXPECT_STREQ(token_written_form(147 + i), specifier_keyword_rows[i].text);
    EXPECT_EQ(specifier_keyword_rows[i].text[std::strlen(specifier_keyword_rows[i].text) - 1], '=');
  }
  EXPECT_STREQ(statement_keyword_rows[0].text, "ALLOCATABLE");
  EXPECT_STREQ(statement_keyword_rows[97].text, "WRITE");
  EXPECT_STREQ(specifier_keyword_rows[0].text, "ACCESS=");
  EXPECT_STREQ(specifier_keyword_rows[36].text, "UNIT=");
}

TEST(KeywordTables, OperatorSpellingsAndTheirAtoms) {
  const char* symbolic[] = {"**", "/", "*", "-", "+", "//", "<", "<=", "==",
                            "/=", ">", ">=", ".NOT.", ".AND.", ".OR.", ".EQV.", ".NEQV.", "="};
  for (int code = 22; code <= 39; ++code) {
    EXPECT_STREQ(operator_atom_spelling(code), symbolic[code - 22]);
    EXPECT_EQ(operator_spelling_rows[code - 22].token, code);
  }
  EXPECT_EQ(operator_atom_spelling(21), nullptr);
  EXPECT_EQ(operator_atom_spelling(40), nullptr);
  struct { const char* text; int code; } dotted[] = {
      {".LT.", 28}, {".GT.", 32}, {".LE.", 29}, {".GE.", 33}, {".EQ.", 30},
      {".NE.", 31}, {".TRUE.", 5}, {".FALSE.", 5}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_STREQ(operator_spelling_rows[18 + i].text, dotted[i].text);
    EXPECT_EQ(operator_spelling_rows[18 + i].token, dotted[i].code);
  }
  EXPECT_STREQ(token_written_form(184), "invalid token");
  EXPECT_STREQ(token_written_form(22), "**");
  EXPECT_STREQ(token_written_form(138), "MENT");
  EXPECT_STREQ(token_written_form(146), "TRINSIC");
}

TEST(KeywordMatch, FirstCompletedKeywordWins) {
  struct Case {
    const char* text;
    int code;
    size_t length;  // characters matched, blanks included
  } cases[] = {
      {"DOUBLEPRECISION X", 60, 2},   // DO, then UBLE
      {"UBLEPRECISION X", 139, 4},
      {"PRECISION X", 112, 9},
      {"ENDDO", 66, 3},
      {"END DO", 66, 3},
      {"GOTO 10", 87, 2},
      {"GO TO 10", 87, 2},
      {"TO 10", 132, 2},
      {"INTEGER I", 91, 2},           // IN, then TEGER
      {"TEGER I", 143, 5},
      {"INCLUDE 'x'", 91, 2},
      {"CLUDE 'x'", 141, 5},
      {"INTRINSIC SIN", 91, 2},
      {"TRINSIC SIN", 146, 7},
      {"ASSIGNMENT(=)", 42, 6},
      {"MENT(=)", 138, 4},
      {"WHERE (A) B = 1", 140, 5},    // WHERE is a tail in fixed form
      {"ELSEWHERE", 63, 4},
      {"USE M", 134, 3},
      {"USEFUL = 1", 134, 3},
      {"UNIT = 1", 0, 0},
      {"ALLOCX = 1", 0, 0},
      {"ALLOCATABLE A", 40, 11},
      {"ALLOCATE (A(2))", 41, 8},
      {"A L L O C A T E(A)", 41, 15},
      {"d o 10 i", 60, 3},
      {"call\tsub", 47, 4},
      {"ENTRY E", 80, 5},
      {"PRINT *", 113, 5},
      {"PROGRAM P", 116, 7},
      {"SELECTCASE", 125, 6},
      {"BLOCKDATA", 45, 5},
      {"X = 1", 0, 0},
  };
  for (const Case& c : cases) {
    int code = -1;
    EXPECT_EQ(keyword_match_text(c.text, &code), c.length) << c.text;
    EXPECT_EQ(code, c.code) << c.text;
  }
}

TEST(KeywordMatch, DoesNotCrossTheEndOfALine) {
  const char text[] = "CONT\0INUE";
  int code = -1;
  EXPECT_EQ(keyword_match_text(text, &code), 0u);
  EXPECT_EQ(code, 0);
}

TEST(LookupTokenCode, FindsPredefinedNamesWithoutRegardToCase) {
  struct { const char* text; int code; } cases[] = {
      {".LT.", 28}, {".eq.", 30}, {".true.", 5}, {".FALSE.", 5}, {".NEQV.", 38},
      {"unit=", 183}, {"ACCESS=", 147}, {"ENDDO", 69}, {"where", 135}, {"include", 92},
      {".FOO.", 10}, {"ABS", 0}, {"UNIT", 0}, {"", 0}, {"**", 22}, {"=", 39}};
  for (const auto& c : cases)
    EXPECT_EQ(lookup_token_code(c.text, static_cast<uint32_t>(std::strlen(c.text))), c.code)
        << c.text;
}

}  // namespace
