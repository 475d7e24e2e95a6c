// A clean compilation state for the parser tests: the scanner state of the
// scanner tests, a file scope and a unit level with its statement block, and
// a statement of text loaded as source input would have assembled it.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "frontend/model/decl_context.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_loop.h"
#include "tests/unit/scanner/scanner_fixture.h"

class ParserTest : public ScannerTest {
 protected:
  void SetUp() override { begin(false); }
  void TearDown() override {
    if (capturing) ::testing::internal::GetCapturedStderr();
  }

  // A compilation in free or fixed form with the file scope and one
  // subroutine-like unit level open, its block frame pushed.
  void begin(bool fixed_form) {
    if (capturing) ::testing::internal::GetCapturedStderr();
    start(fixed_form, false);
    diag.min_severity = sev_remark;
    decl_context_reset();
    the_il_header.primary_scope = scope_push(sk_file);
    block_stack_reset();
    stop_tokens_clear();
    loop = StatementLoopState{};
    expr_state = ExpressionState{};
    unit_block = new_statement(stmk_block);
    scope_push(sk_unit);
    push_block(blk_unit, unit_block);
    ::testing::internal::CaptureStderr();
    capturing = true;
  }

  // Everything printed on stderr since the last call.
  std::string messages() {
    std::string out = ::testing::internal::GetCapturedStderr();
    ::testing::internal::CaptureStderr();
    return out;
  }

  // Loads one statement line and positions the loop at its start.
  static void load_statement(const std::string& line) {
    load({line});
    loop.stmt_start = scan_save();
    loop.after_keyword = loop.stmt_start;
    loop.first_on_line = true;
  }

  // The kind the classifier gives a statement line in a unit section.
  static int kind_of(const std::string& line, int section) {
    load_statement(line);
    loop.stmt_section = section;
    classify_statement();
    return loop.stmt_kind;
  }

  // Parses a whole expression line (current token its first token).
  static expr_node* expression(const std::string& line) {
    load({line});
    scan_token(operand_mode);
    return parse_expr_prec(0);
  }

  static int count_of(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
  // The operator spelling of an enk_apply node ("" for other nodes).
  static std::string op(const expr_node* n) {
    if (!n || n->node_kind != enk_apply || !n->symbol || !n->symbol->name) return "";
    return n->symbol->name->text;
  }
  // The name of an enk_name_ref node.
  static std::string ref(const expr_node* n) {
    if (!n || n->node_kind != enk_name_ref || !n->symbol || !n->symbol->name) return "";
    return n->symbol->name->text;
  }

  ::statement* unit_block = nullptr;
  bool capturing = false;
};
