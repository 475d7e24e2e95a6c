// Statements whose handlers are not built yet: each consumes its statement
// without a message, so that a unit using them still parses. A statement of
// the executable part keeps the reachability check.
#include "frontend/driver/scanner.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

namespace {

// Consumes the rest of the statement from behind its keyword.
int consume(uint32_t flags = expression_mode) {
  scan_restore(loop.after_keyword);
  scan.cur_token = tok_no_token;
  while (scan.cur_token != tok_eos) scan_token(flags);
  return 1;
}

// An executable statement that does not change the flow.
int consume_executable() {
  check_reachable();
  return consume();
}

}  // namespace

#define PENDING_SPEC(handler) \
  int handler() { return consume(); }
#define PENDING_EXEC(handler) \
  int handler() { return consume_executable(); }

// Executable statements that do not change the flow.
PENDING_EXEC(parse_backspace_stmt)
PENDING_EXEC(parse_close_stmt)
PENDING_EXEC(parse_endfile_stmt)
PENDING_EXEC(parse_inquire_stmt)
PENDING_EXEC(parse_open_stmt)
PENDING_EXEC(parse_print_stmt)
PENDING_EXEC(parse_read_stmt)
PENDING_EXEC(parse_rewind_stmt)
PENDING_EXEC(parse_write_stmt)
