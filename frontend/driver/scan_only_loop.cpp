// STAND-IN for the statement loop, until the parser's own loop replaces it:
// drives source input and the scanner over one program unit. Each statement
// is read to its end token by token (so that every line, token and literal
// diagnostic appears); INCLUDE lines are handed to source input; the unit
// ends at its END statement or at the end of the source.
#include <cstring>

#include "frontend/driver/diagnostics.h"
#include "frontend/driver/driver.h"
#include "frontend/driver/scanner.h"
#include "frontend/driver/source_input.h"
#include "frontend/parser/statement_loop.h"

namespace {

bool is_unit_end_keyword(int t) {
  switch (t) {
    case tok_endprogram:
    case tok_endsubroutine:
    case tok_endfunction:
    case tok_endmodule:
    case tok_endblock:
    case tok_endblockdata:
      return true;
    default:
      return false;
  }
}

bool ends_unit_after_end(int t) {
  switch (t) {
    case tok_eos:
    case tok_program:
    case tok_subroutine:
    case tok_function:
    case tok_module:
    case tok_block:
    case tok_blockdata:
      return true;
    default:
      return false;
  }
}

// Scans the rest of the statement to its end token.
void scan_to_end(uint32_t flags) {
  while (scan.cur_token != tok_eos) scan_token(flags);
}

enum statement_end {
  statement_plain,     // another statement may follow on the line
  statement_include,   // an INCLUDE line: the included text comes next
  statement_unit_end,  // the END statement of the unit
};

// One statement from the current scan position.
statement_end scan_statement(bool first_on_line) {
  bool labelled = first_on_line && driver_options.fixed_form && src.statement_label != nullptr;
  if (!driver_options.fixed_form || !first_on_line) {
    char c = scan_peek_char();
    if (c >= '0' && c <= '9') {
      scan_token(label_mode | scan_integer_only | scan_no_hollerith);
      labelled = true;
    }
  }
  int t = scan_token(keyword_mode);
  if (t == tok_eos) return statement_plain;
  bool include = t == tok_include;
  if (t == tok_in && driver_options.fixed_form) {
    scan_cursor before = scan_save();
    if (scan_token(keyword_mode | quiet_mode) == tok_tail_clude) {
      include = true;
    } else {
      scan_restore(before);
    }
  }
  if (include) {
    if (labelled) error_here(597);
    include_statement(first_on_line);
    scan_to_end(expression_mode);
    return statement_include;
  }
  bool unit_end = is_unit_end_keyword(t);
  if (t == tok_end) {
    int next = scan_token(keyword_mode);
    unit_end = ends_unit_after_end(next);
  }
  scan_to_end(t == tok_format ? format_mode : expression_mode);
  return unit_end ? statement_unit_end : statement_plain;
}

}  // namespace

int parse_program_unit() {
  scan.continuation_guard = false;
  for (;;) {
    bool first_on_line = true;
    for (;;) {
      statement_end end = scan_statement(first_on_line);
      first_on_line = false;
      if (end == statement_include) break;
      bool more_on_line = *scan.token_start == ';' && scan_peek_char() != '\0';
      if (end == statement_unit_end) {
        if (more_on_line) {
          err_pos = scan_position_of(scan.scan_ptr);
          error_here(214);
        }
        return 1;
      }
      if (!more_on_line) break;
    }
    if (!statement_read()) return 1;
  }
}
