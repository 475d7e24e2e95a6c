// Token expectation and syntax-error recovery shared by every statement
// handler: the stop-token counters that say where recovery may stop, the
// expect/accept operations, and the skipping of groups and statements.
#pragma once
#include <cstdint>

#include "frontend/lexer/scanner.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"
#include "frontend/model/tokens.h"

// The current token before a handler has scanned anything. It differs from
// tok_invalid (a bad token the scanner already reported), so that a handler
// that fails on it still reports its message.
inline constexpr int tok_no_token = token_code_count;  // 185

struct RecoveryState {
  int stop_tokens[token_code_count];  // nonzero: recovery stops at this token
  source_pos_record last_syntax_error;  // where this statement's last syntax error was reported
};
extern RecoveryState recovery;

// Clears every stop counter and forgets the statement's last syntax error
// (once per statement and at start-up).
void stop_tokens_clear();
inline void stop_token_raise(int t) { ++recovery.stop_tokens[t]; }
inline void stop_token_lower(int t) { --recovery.stop_tokens[t]; }

// 1 when the current token is `token`; else reports msg (stop counter of
// token raised meanwhile, so recovery stops there) and returns whether the
// current token is `token` afterwards.
int expect_token_report(int token, int msg);
// expect_token_report, and on success the next token is scanned with flags.
int expect_token(int token, int msg, uint32_t flags);
// 0 at the end of the statement, else expect_token.
int expect_token_in_line(int token, int msg, uint32_t flags);
// When the current token is `token`, scans the next with flags and returns 1;
// else notes the current token's position in err_pos and returns 0.
int accept_token(int token, uint32_t flags);
// Reports msg at err_pos (unless the current token is one the scanner already
// reported, or a syntax error of this statement was already reported there:
// the closing parentheses missing at the end of a statement make one
// message), then recovers to a stop token.
void syntax_error(int msg);
// Scans until the current token is a stop token or the end of the statement;
// a parenthesised group is skipped whole. The tokens skipped are scanned
// normally, so that a faulty literal among them is still reported.
void recover_to_stop_token();
// At "(": scans to the matching ")" or to the end of the statement (quietly
// unless other flags are given).
void skip_paren_group(uint32_t flags = quiet_mode);
// scan_find_first with every diagnostic of the look-ahead suppressed.
int quiet_find_first(int t1, int t2, int t3);
// Whether t comes at depth 0 before the end of the statement (1) or not (0);
// the scanner is left where it was.
int quiet_peek_for(int t);
// Scans to the end of the statement; returns 1 (the handler of unrecognized
// statements).
int skip_to_end_of_statement();
// True when the current token is the end of the statement.
inline bool at_end_of_statement() { return scan.cur_token == tok_eos; }

// The current name token of the scanner (its atom at token_name_pos).
name_pos_record current_name_token();

// lookup_name of the current name token (the scanner's token_atom at
// token_name_pos).
symbol_entry* lookup_current_name();

// Requires a label token (224 and an unnamed label otherwise), resolves it as
// an lk_executable reference, scans past it; err_pos is put back.
symbol_entry* expect_label(int xref_form);
