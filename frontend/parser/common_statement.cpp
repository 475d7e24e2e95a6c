// COMMON: the members of each named or blank COMMON block, in order; their
// layout is computed at the end of the specification part.
#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/dummies.h"
#include "frontend/model/symbols.h"
#include "frontend/model/attributes.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/parser/type_declarations.h"

namespace {

// "/" is always a token of its own here.
constexpr uint32_t common_mode = expression_mode | scan_single_slash;

attr_set common_attrs(bool blank) {
  attr_set set;
  set[attr_variable] = 1;
  set[attr_common] = 1;
  if (blank) set[attr_blank_common] = 1;
  return set;
}

// The block part "/name/" or "//", the current token on the first "/".
// Returns the block's record and its attribute set; the token after the
// closing "/" is current. Null after a syntax error.
common_block_record* block_part(attr_set* set) {
  source_pos_record at = scan.token_pos;
  int t = scan_token(common_mode);
  symbol_entry* b = nullptr;
  if (t == tok_slash) {
    b = blank_common_block(at);
    *set = common_attrs(true);
  } else if (t == tok_name) {
    name_pos_record np = current_name_token();
    b = declare_common_block(&np);
    *set = common_attrs(false);
    scan_token(common_mode);
    if (!expect_token_report(tok_slash, 233)) return nullptr;
  } else {
    syntax_error(218);
    return nullptr;
  }
  scan_token(common_mode);
  return b ? static_cast<common_block_record*>(b->entity.get()) : nullptr;
}

}  // namespace

// COMMON [/[name]/] list [[,] /[name]/ list] ...
int parse_common_stmt() {
  scan_after_keyword(common_mode);
  common_block_record* block = nullptr;
  attr_set set;
  if (scan.cur_token == tok_slash) {
    block = block_part(&set);
  } else {
    symbol_entry* b = blank_common_block(scan.token_pos);
    block = b ? static_cast<common_block_record*>(b->entity.get()) : nullptr;
    set = common_attrs(true);
  }
  if (!block && scan.cur_token != tok_name) return 0;
  int ok = 1;
  stop_token_raise(tok_comma);
  stop_token_raise(tok_slash);
  for (;;) {
    source_pos_record pos = scan.token_pos;
    symbol_entry* s = parse_array_entity(set, false, true, common_mode);
    if (s && s->cls == sym_variable && s->entity && block)
      common_add_member(static_cast<object*>(s->entity.get()), block, pos);
    if (!s) ok = 0;
    if (scan.cur_token == tok_eos) break;
    if (scan.cur_token == tok_comma) {
      if (scan_token(common_mode) != tok_slash) continue;
    }
    if (scan.cur_token == tok_slash) {
      block = block_part(&set);
      if (!block) {
        ok = 0;
        break;
      }
      continue;
    }
    err_pos = scan.token_pos;
    syntax_error(206);
    if (scan.cur_token == tok_comma) scan_token(common_mode);
    if (scan.cur_token == tok_eos) break;
  }
  stop_token_lower(tok_slash);
  stop_token_lower(tok_comma);
  return ok;
}
