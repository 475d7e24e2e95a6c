// Token expectation and syntax-error recovery: a failed expectation reports
// once and skips to the nearest token that some open construct expects.
#include "frontend/parser/parser_tokens.h"

#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/model/labels.h"
#include "frontend/model/name_resolution.h"

RecoveryState recovery;

void stop_tokens_clear() {
  std::memset(recovery.stop_tokens, 0, sizeof recovery.stop_tokens);
  recovery.last_syntax_error = null_pos;
}

namespace {

// The scan mode in which a token kind can be produced at all.
uint32_t recovery_mode_of(int t) {
  if (t >= first_statement_keyword && t <= tok_tail_trinsic) return keyword_mode;
  if (t >= first_specifier_keyword && t <= last_specifier_keyword) return scan_specifier_bit;
  switch (t) {
    case tok_keyword_arg: return scan_keyword_arg;
    case tok_label: return label_mode;
    case tok_letter: return scan_format_letter;
    case tok_dot: return scan_single_dot;
    default: return 0;
  }
}

bool is_stop_token(int t) {
  return t == tok_eos || (t >= 0 && t < token_code_count && recovery.stop_tokens[t] != 0);
}

}  // namespace

void recover_to_stop_token() {
  uint32_t flags = 0;
  for (int t = 0; t < token_code_count; ++t)
    if (recovery.stop_tokens[t] != 0) flags |= recovery_mode_of(t);
  if (scan.cur_token == tok_no_token) scan_token(flags);
  while (!is_stop_token(scan.cur_token)) {
    if (scan.cur_token == tok_lparen || scan.cur_token == tok_lparen_slash) {
      skip_paren_group(flags);
      if (scan.cur_token == tok_eos) break;
    }
    scan_token(flags);
  }
}

void skip_paren_group(uint32_t flags) {
  int depth = 0;
  for (;;) {
    int t = scan.cur_token;
    if (t == tok_lparen || t == tok_lparen_slash) {
      ++depth;
    } else if (t == tok_rparen || t == tok_slash_rparen) {
      if (--depth <= 0) return;
    } else if (t == tok_eos) {
      return;
    }
    scan_token(flags);
  }
}

void syntax_error(int msg) {
  bool repeated = recovery.last_syntax_error.seq != 0 && recovery.last_syntax_error.seq == err_pos.seq &&
                  recovery.last_syntax_error.column == err_pos.column;
  if (scan.cur_token != tok_invalid && !repeated) {
    recovery.last_syntax_error = err_pos;
    error_here(msg);
  }
  recover_to_stop_token();
}

int expect_token_report(int token, int msg) {
  if (scan.cur_token == token) return 1;
  stop_token_raise(token);
  err_pos = scan.cur_token == tok_no_token ? err_pos : scan.token_pos;
  syntax_error(msg);
  stop_token_lower(token);
  return scan.cur_token == token;
}

int expect_token(int token, int msg, uint32_t flags) {
  if (!expect_token_report(token, msg)) return 0;
  scan_token(flags);
  return 1;
}

int expect_token_in_line(int token, int msg, uint32_t flags) {
  if (scan.cur_token == tok_eos) return 0;
  return expect_token(token, msg, flags);
}

int accept_token(int token, uint32_t flags) {
  if (scan.cur_token == token) {
    scan_token(flags);
    return 1;
  }
  if (scan.cur_token != tok_no_token) err_pos = scan.token_pos;
  return 0;
}

int skip_to_end_of_statement() {
  while (scan.cur_token != tok_eos) scan_token(expression_mode);
  return 1;
}

int quiet_find_first(int t1, int t2, int t3) {
  bool saved = scan.scan_quiet;
  scan.scan_quiet = true;
  int found = scan_find_first(t1, t2, t3);
  scan.scan_quiet = saved;
  return found;
}

int quiet_peek_for(int t) {
  scan_cursor saved = scan_save();
  int found = quiet_find_first(t, tok_invalid, tok_invalid);
  scan_restore(saved);
  return found;
}

name_pos_record current_name_token() { return name_pos_record{scan.token_atom, scan.token_name_pos}; }

symbol_entry* lookup_current_name() { return lookup_name(scan.token_atom, scan.token_name_pos); }

symbol_entry* expect_label(int xref_form) {
  source_pos_record before = err_pos;
  name_pos_record n{nullptr, scan.token_pos};
  symbol_entry* found = nullptr;
  bool have_label = scan.cur_token == tok_label || expect_token_report(tok_label, 224);
  if (have_label) {
    n = name_pos_record{scan.token_atom, scan.token_pos};
    for (symbol_entry* p = n.name ? n.name->first_symbol : nullptr; p; p = p->next_same_name) {
      if (!(p->flags & symf_in_scope) || p->level > symtab.cur_scope) continue;
      if (p->level == symtab.cur_scope) found = p;
      break;
    }
  }
  symbol_entry* s = label_reference(found, &n, lk_executable, false, xref_form);
  if (have_label) scan_token(0);
  err_pos = before;
  return s;
}
