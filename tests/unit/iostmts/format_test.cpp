// The FORMAT statement driven by real statement lines: the canonical text
// kept as the label's format constant, and the message each faulty edit
// descriptor draws.
#include <string>

#include "frontend/model/labels.h"
#include "frontend/parser/format_statement.h"
#include "frontend/parser/statement_handlers.h"
#include "tests/unit/parser/parser_fixture.h"

namespace {

class FormatTest : public ParserTest {
 protected:
  // Parses "FORMAT ..." as the statement of label 10; returns its format
  // constant (null when the label got none).
  constant* format(const std::string& line) {
    load_statement(line);
    loop.stmt_section = section_exec;
    classify_statement();
    EXPECT_EQ(loop.stmt_kind, st_format) << line;
    stop_tokens_clear();
    loop.label_name = intern_cstring("10");
    name_pos_record n{loop.label_name, loop.stmt_pos};
    loop.label_symbol = label_reference(symbol_here(loop.label_name), &n, lk_format, true, 0);
    EXPECT_EQ(parse_format_stmt(), 1) << line;
    return static_cast<label*>(loop.label_symbol->entity.get())->format_constant;
  }

  // A column as messages print it: ":%2d)".
  static std::string column_text(int column) {
    std::string n = std::to_string(column);
    return ":" + (n.size() < 2 ? " " + n : n) + ")";
  }

  // The text of a valid format constant; "<error>" for an error constant.
  static std::string text(const constant* c) {
    if (!c) return "<none>";
    if (c->kind != ck_value || !c->type) return "<error>";
    return std::string(reinterpret_cast<const char*>(c->value.get()), c->type->size);
  }
};

TEST_F(FormatTest, ValidFormatsKeepTheirCanonicalText) {
  struct Case {
    const char* line;
    const char* text;
  } cases[] = {
      {"format (1X, I5, 2F10.3)", "(1X,I5,2F10.3)"},
      {"format (i5, f10.2, a)", "(I5,F10.2,A)"},
      {"format ('Hi there', \"x'y\")", "('Hi there',\"x'y\")"},
      {"format ()", "()"},
      {"format (-1PE12.4)", "(-1PE12.4)"},
      {"format (1P, F10.2)", "(1P,F10.2)"},
      {"format (1P2E10.3)", "(1P2E10.3)"},
      {"format (EN12.3, ES12.3E2, G10.3E2, D20.10)", "(EN12.3,ES12.3E2,G10.3E2,D20.10)"},
      {"format (TL5, TR2, T5, 3X, L2, A10, O8.3, Z4, B8)", "(TL5,TR2,T5,3X,L2,A10,O8.3,Z4,B8)"},
      {"format (BN, BZ, S, SP, SS)", "(BN,BZ,S,SP,SS)"},
      {"format (I5/I6, 2(I3, :), 3/)", "(I5/I6,2(I3,:),3/)"},
      {"format (I5 // I6)", "(I5//I6)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text(format(c.line)), c.text) << c.line;
    EXPECT_EQ(messages(), "") << c.line;
  }
}

TEST_F(FormatTest, HollerithKeepsItsCaseAndWarns) {
  EXPECT_EQ(text(format("format (5Hhello, i2)")), "(5Hhello,I2)");
  EXPECT_EQ(count_of(messages(), "warning: hollerith constants are obsolescent"), 1);
}

TEST_F(FormatTest, WidthBeyondFieldWarnsAndStaysValid) {
  EXPECT_EQ(text(format("format (I5.7)")), "(I5.7)");
  EXPECT_EQ(count_of(messages(), "warning: value exceeds field width"), 1);
  EXPECT_EQ(text(format("format (F5.5)")), "(F5.5)");
  EXPECT_EQ(messages(), "");
}

TEST_F(FormatTest, FaultyDescriptorsGiveTheirMessageAndAnErrorConstant) {
  struct Case {
    const char* line;
    const char* message;
    int column;  // column of the message in the statement line
  } cases[] = {
      {"format (1P)", "expected a format edit descriptor", 11},
      {"format (PF5.2)", "missing integer constant", 9},
      {"format (0X)", "value must be greater than zero", 9},
      {"format (X)", "missing integer constant", 9},
      {"format (2P(I3))", "scale factor is not allowed", 9},
      {"format (3BN)", "repeat count is not allowed", 9},
      {"format (2:)", "repeat count is not allowed", 9},
      {"format (2PI5)", "scale factor is not allowed", 9},
      {"format (F10)", "expected a \".\"", 12},
      {"format (E12.4E)", "expected an integer constant", 15},
      {"format (EX)", "invalid format edit descriptor", 9},
      {"format (T)", "expected an integer constant", 10},
      {"format (TX)", "invalid format edit descriptor", 9},
      {"format (I5I6)", "expected a \",\"", 11},
      {"format (L)", "expected an integer constant", 10},
      {"format (Q5)", "invalid format edit descriptor", 9},
      {"format (I-5)", "sign is not allowed", 10},
      {"format (+2X)", "sign is not allowed", 9},
      {"format (I5", "expected a \")\"", 11},
      {"format I5", "expected a \"(\"", 8},
      {"format (2(I5)", "expected a \")\"", 14},
      {"format (I5,)", "expected a format edit descriptor", 12},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text(format(c.line)), "<error>") << c.line;
    std::string out = messages();
    EXPECT_EQ(count_of(out, "error:"), 1) << c.line << "\n" << out;
    EXPECT_EQ(count_of(out, c.message), 1) << c.line << "\n" << out;
    EXPECT_EQ(count_of(out, column_text(c.column)), 1) << c.line << "\n" << out;
  }
}

TEST_F(FormatTest, RecoveryGoesOnToTheNextItem) {
  EXPECT_EQ(text(format("format (Q5, F10, I5I6)")), "<error>");
  std::string out = messages();
  EXPECT_EQ(count_of(out, "invalid format edit descriptor"), 1) << out;
  EXPECT_EQ(count_of(out, "expected a \".\""), 1) << out;
  EXPECT_EQ(count_of(out, "expected a \",\""), 1) << out;
}

}  // namespace
