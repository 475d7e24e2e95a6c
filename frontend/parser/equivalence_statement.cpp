// EQUIVALENCE: each parenthesised list of variables, elements and substrings
// becomes an equivalence group of the unit; the groups are merged into sets
// and laid out at the end of the specification part.
#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/names.h"
#include "frontend/semantics/storage_association.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

namespace {

void add_member(equivalence_group* g, object* o, source_pos_record pos, expr_node* ref) {
  auto* m = pool_new<equivalence_member>();
  m->pos = pos;
  m->obj = o;
  m->ref = ref;
  if (g->last_member)
    g->last_member->next = m;
  else
    g->first_member = m;
  g->last_member = m;
}

// One member: a variable, array element or substring. Returns whether a
// member was added; *failed is set after a syntax error.
bool parse_member(equivalence_group* g, bool* failed) {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    *failed = true;
    return false;
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = declared_here(np);
  bool was_referenced = s && (s->flags & symf_referenced);
  s = symbol_as_variable(s, &np);
  expr_node* ref = nullptr;
  parse_variable(&ref);
  if (!s || s->name == names.error_name || !s->entity) return false;
  if (!was_referenced) s->flags &= ~symf_referenced;
  s->word3 |= varf_in_equivalence;
  add_member(g, static_cast<object*>(s->entity.get()), np.pos, ref);
  return true;
}

}  // namespace

// EQUIVALENCE ( object, object {, object} ) [, ( ... )] ...
int parse_equivalence_stmt() {
  scan_after_keyword(expression_mode);
  int ok = 1;
  for (;;) {
    stop_token_raise(tok_lparen);
    bool opened = expect_token(tok_lparen, 228, expression_mode);
    stop_token_lower(tok_lparen);
    if (!opened) return 0;
    auto* g = pool_new<equivalence_group>();
    int members = 0;
    stop_token_raise(tok_comma);
    stop_token_raise(tok_rparen);
    for (;;) {
      if (parse_member(g, &g->failed)) ++members;
      if (scan.cur_token != tok_comma) break;
      scan_token(expression_mode);
    }
    stop_token_lower(tok_rparen);
    stop_token_lower(tok_comma);
    if (members < 2 && !g->failed) {
      error_at(206, loop.stmt_pos);
      error_at(218, loop.stmt_pos);
    }
    if (g->failed) ok = 0;
    if (!expect_token(tok_rparen, 231, expression_mode)) ok = 0;
    if (members >= 2) add_equivalence_group(g);
    if (scan.cur_token == tok_eos) break;
    if (scan.cur_token == tok_comma) {
      scan_token(expression_mode);
      continue;
    }
    err_pos = scan.token_pos;
    syntax_error(206);
    return 0;
  }
  return ok;
}
