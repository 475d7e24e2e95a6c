// IMPLICIT and IMPLICIT NONE: the statements that change the IMPLICIT map of
// the current scope level (one type per initial letter), with the checks that
// a letter is typed once per level and that IMPLICIT NONE is not contradicted.
#include <cctype>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/parser/type_specifiers.h"

namespace {

// The scan mode of the letter lists: a "-" between letters is an operator.
constexpr uint32_t letter_mode = after_operand_mode;

// The upper-case letter of the current token when it is a one-letter name,
// else 0.
char current_letter() {
  if (scan.cur_token != tok_name || scan.token_length != 1) return 0;
  unsigned char c = static_cast<unsigned char>(token_text[0]);
  if (!std::isalpha(c)) return 0;
  return static_cast<char>(std::toupper(c));
}

// The type specifier of one IMPLICIT specification, the current token on its
// keyword; afterwards the token after the specifier is current.
type* implicit_spec_type() {
  parse_implicit_type_spec(letter_mode);
  return type_spec.declared_type ? type_spec.declared_type : error_type();
}

// Gives the letters first..last (upper case, in order) the type t at the
// current level; a letter typed before by this level's IMPLICIT statements
// gives 278 at pos.
void map_letters(char first, char last, type* t, source_pos_record pos) {
  scope_record& level = current_scope_record();
  for (char c = first; c <= last; ++c) {
    int i = c - 'A';
    if (symtab.implicit_letter_set[i]) {
      std::string letter(1, c);
      if (level.implicit_map[i] == t)
        warning_at(278, pos, {letter});
      else
        error_at(278, pos, {letter});
      continue;
    }
    level.implicit_map[i] = t;
    symtab.implicit_letter_set[i] = true;
  }
}

// One letter item: a letter or letter - letter. False after a syntax error.
bool parse_letter_item(type* t) {
  source_pos_record pos = scan.token_pos;
  char first = current_letter();
  if (!first) {
    syntax_error(226);
    return false;
  }
  char last = first;
  if (scan_token(letter_mode) == tok_minus) {
    scan_token(letter_mode);
    last = current_letter();
    if (!last) {
      syntax_error(226);
      return false;
    }
    scan_token(letter_mode);
    std::string first_text(1, first);
    if (last < first) {
      error_at(313, pos, {first_text});
      last = first;
    } else if (last == first) {
      warning_at(313, pos, {first_text});
    }
  }
  map_letters(first, last, t, pos);
  return true;
}

// ( letter-item {, letter-item} ) after the type of a specification.
bool parse_letter_list(type* t) {
  if (!expect_token(tok_lparen, 228, letter_mode)) return false;
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  bool ok = true;
  for (;;) {
    if (!parse_letter_item(t)) ok = false;
    if (scan.cur_token != tok_comma) break;
    scan_token(letter_mode);
  }
  stop_token_lower(tok_comma);
  stop_token_lower(tok_rparen);
  if (!expect_token(tok_rparen, 231, keyword_mode)) return false;
  return ok;
}

}  // namespace

// IMPLICIT NONE
int parse_implicit_none_stmt() {
  scope_record& level = current_scope_record();
  if (level.implicit_none) warning_at(82, loop.stmt_pos);
  level.implicit_none = 1;
  for (type*& t : level.implicit_map) t = nullptr;
  scan_after_keyword(keyword_mode);
  return skip_to_end_of_statement();
}

// IMPLICIT type (letter-item, ...) [, type (letter-item, ...)] ...
int parse_implicit_stmt() {
  if (current_scope_record().implicit_none)
    error_at(281, loop.stmt_pos);
  else if (symtab.no_implicit_typing)
    warning_at(281, loop.stmt_pos);
  scan_after_keyword(keyword_mode);
  bool ok = true;
  for (;;) {
    type* t = implicit_spec_type();
    if (!parse_letter_list(t)) ok = false;
    if (scan.cur_token == tok_eos) break;
    if (scan.cur_token != tok_comma) {
      err_pos = scan.token_pos;
      syntax_error(206);
      if (scan.cur_token == tok_eos) break;
      ok = false;
    }
    scan_token(keyword_mode);
  }
  return ok ? 1 : 0;
}
