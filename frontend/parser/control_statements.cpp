// Handlers of the statements that open, continue and close constructs or
// branch: logical and arithmetic IF, the IF construct, DO and DO WHILE loops
// with END DO, CYCLE and EXIT, construct names, SELECT CASE, WHERE, ASSIGN,
// ALLOCATE, DEALLOCATE and NULLIFY. They keep the block stack of open
// constructs in step with the statements accepted.
#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/labels.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/exec_statements.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/list_append.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

namespace {

bool is_error_symbol(const symbol_entry* s) { return !s || s->name == names.error_name; }

// ( expression ): the current token on "("; the token after ")" is scanned
// with after_flags. The expression (an error node after a failure) goes to
// *out; false after a syntax error.
bool parenthesised(expr_node** out, uint32_t after_flags) {
  if (!expect_token(tok_lparen, 228, operand_mode)) {
    *out = error_expr_node();
    return false;
  }
  stop_token_raise(tok_rparen);
  bool ok = parse_expression(out);
  stop_token_lower(tok_rparen);
  if (!expect_token(tok_rparen, 231, after_flags)) return false;
  return ok;
}

// The parse state of the statement being handled, kept around the parse of
// a dependent statement (logical IF, WHERE, construct name).
struct statement_context {
  int kind;
  source_pos_record pos;
  scan_cursor start, after_keyword;
};

statement_context save_context() {
  return statement_context{loop.stmt_kind, loop.stmt_pos, loop.stmt_start, loop.after_keyword};
}

void restore_context(const statement_context& c) {
  loop.stmt_kind = c.kind;
  decl_ctx.statement_kind = c.kind;
  loop.stmt_pos = c.pos;
  loop.stmt_start = c.start;
  loop.after_keyword = c.after_keyword;
}

// Classifies the rest of the statement (the scanner just after the part
// already read) as a statement of its own.
int classify_rest() {
  classify_statement();
  return loop.stmt_kind;
}

// True for the kinds that cannot be the dependent statement of a logical IF.
bool never_dependent(int kind) {
  switch (kind) {
    case st_case:
    case st_do:
    case st_do_while:
    case st_else:
    case st_else_if:
    case st_elsewhere:
    case st_end:
    case st_end_do:
    case st_end_function:
    case st_end_if:
    case st_end_module:
    case st_end_program:
    case st_end_select:
    case st_end_subroutine:
    case st_end_where:
    case st_logical_if:
    case st_if_then:
    case st_include:
    case st_select_case:
    case st_where_construct:
    case st_construct_name:
      return true;
    default:
      return !stmt_kind_is_executable(kind);
  }
}

// Runs the handler of the classified dependent statement inside a frame of
// the given kind around the statement that owns it.
int dependent_statement(uint32_t frame_kind, statement* owner) {
  push_block(frame_kind, owner);
  scan.cur_token = tok_no_token;
  int result = dispatch_statement();
  pop_block();
  return result;
}

// KEYWORD ( condition: reads the statement up to its parenthesised
// expression (the ")" stays current) and appends the statement of that kind
// with the expression; *ok is cleared after a syntax error.
statement* append_with_condition(int stmk, bool* ok) {
  scan_after_keyword(expression_mode);
  expr_node* e = nullptr;
  *ok = expect_token(tok_lparen, 228, operand_mode);
  if (*ok) {
    stop_token_raise(tok_rparen);
    *ok = parse_expression(&e);
    stop_token_lower(tok_rparen);
  }
  statement* st = append_statement(stmk);
  st->expr = e ? e : error_expr_node();
  return st;
}

// KEYWORD ( expression ) that opens a construct of the frame kind.
int construct_with_expression(int stmk, uint32_t frame_kind) {
  check_reachable();
  bool ok = true;
  statement* st = append_with_condition(stmk, &ok);
  push_block(frame_kind, st);
  if (!expect_token(tok_rparen, 231, expression_mode)) return 0;
  return ok ? 1 : 0;
}

// IF ( condition ) [THEN]: the IF statement appended with its condition.
int parse_if_condition(statement** out) {
  bool ok = true;
  statement* st = append_with_condition(stmk_if, &ok);
  *out = st;
  if (!expect_token(tok_rparen, 231, keyword_mode | expression_mode)) return 0;
  if (scan.cur_token == tok_then) {
    scan_token(expression_mode);
  } else if (loop.stmt_kind == st_else_if) {
    syntax_error(237);
    return 0;
  }
  return ok ? 1 : 0;
}

// ELSE, ELSE IF, ELSEWHERE: the next branch of the innermost construct,
// which the caller has found; repeated_msg when its ELSE was already seen.
block_frame* else_branch(int repeated_msg) {
  block_frame* f = innermost_block();
  block_note_reach(f);
  if (f->flags & blockf_else_seen) error_at(repeated_msg, loop.stmt_pos);
  f->flags |= blockf_else_seen;
  begin_branch(f);
  return f;
}

// END IF, END WHERE: their own label is checked once the construct is closed.
void check_closing_label() {
  if (loop.label_name && !is_error_symbol(loop.label_symbol))
    check_label_block(loop.label_symbol, 1, loop.label_symbol->decl_position);
}

// The optional construct name after ELSE, END IF, END SELECT ...
symbol_entry* optional_construct_name() { return construct_name_ref(); }

// The innermost DO or DO WHILE frame above the unit's, or null.
block_frame* innermost_do_frame() {
  for (int i = blocks.top; i > 0; --i)
    if (blocks.frames[i].kind == blk_do || blocks.frames[i].kind == blk_do_while) return &blocks.frames[i];
  return nullptr;
}

// DO [label] [,]: the termination label of a DO or DO WHILE frame. The token
// after it is scanned with next_flags.
void parse_do_label(block_frame* f, uint32_t next_flags) {
  int t = scan_after_keyword(do_label_mode);
  symbol_entry* label_symbol = nullptr;
  if (t != tok_eos && t != tok_comma && t != tok_name) {
    source_pos_record at = scan.token_pos;
    label_symbol = expect_label(xref_reference);
    if (is_error_symbol(label_symbol)) {
      f->flags |= blockf_label_predefined;
    } else if (label_symbol->word2 & labelf_defined) {
      error_at(306, at);
      f->flags |= blockf_label_predefined;
    }
    // The token after the label is read again in the mode the loop needs.
    scan.scan_ptr = scan.token_start;
    t = scan_token(next_flags);
  } else if (t == tok_name) {
    scan.scan_ptr = scan.token_start;
    t = scan_token(next_flags);
  }
  if (t == tok_comma) scan_token(next_flags);
  f->do_label = is_error_symbol(label_symbol) ? nullptr : label_symbol;
  if (f->do_label && f->do_label->entity) static_cast<label*>(f->do_label->entity.get())->flag_bit1 = true;
}

// The IL constant of a CASE value: a literal's own, else an expression
// constant evaluated later.
constant* case_value_constant(expr_node* e) {
  if (e->node_kind == enk_constant && e->constant) return e->constant;
  constant* c = new_constant();
  init_constant(c, ck_expression);
  c->expr = e;
  c->type = e->type;
  c->source_pos = e->source_pos;
  return c;
}

// One case-value range: e, e:, :e or e:e.
bool parse_case_range(case_range** out) {
  case_range* r = new_case_range();
  *out = r;
  expr_node* low = nullptr;
  expr_node* high = nullptr;
  bool ok = true;
  if (scan.cur_token != tok_colon) {
    ok = parse_expression(&low);
    r->low = case_value_constant(low);
    if (scan.cur_token != tok_colon) {
      r->range_kind = crk_eq;
      return ok;
    }
    scan_token(operand_mode);
    if (scan.cur_token == tok_rparen || scan.cur_token == tok_comma || scan.cur_token == tok_eos) {
      r->range_kind = crk_le;
      return ok;
    }
    if (!parse_expression(&high)) ok = false;
    r->high = case_value_constant(high);
    r->range_kind = crk_gl;
    return ok;
  }
  scan_token(operand_mode);
  if (!parse_expression(&high)) ok = false;
  r->high = case_value_constant(high);
  r->range_kind = crk_ge;
  return ok;
}

}  // namespace

namespace {

// KEYWORD ( expression ) statement: the dependent statement is classified
// and, when `accepts` takes its kind, parsed inside a frame of frame_kind;
// any other classified kind draws refused_msg.
int statement_with_dependent(int stmk, uint32_t frame_kind, bool (*accepts)(int), int refused_msg) {
  check_reachable();
  bool ok = true;
  statement* st = append_with_condition(stmk, &ok);
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return 0;
  }
  statement_context outer = save_context();
  int kind = classify_rest();
  int result = 0;
  if (kind != st_unrecognized) {
    if (accepts(kind)) {
      result = dependent_statement(frame_kind, st);
    } else {
      error_at(refused_msg, loop.stmt_pos);
      scan.cur_token = tok_no_token;
    }
  }
  restore_context(outer);
  return ok ? result : 0;
}

bool may_depend_on_if(int kind) { return !never_dependent(kind); }
bool may_depend_on_where(int kind) { return kind == st_assignment; }

}  // namespace

// IF ( condition ) statement
int parse_logical_if_stmt() {
  return statement_with_dependent(stmk_if, blk_logical_if, may_depend_on_if, 60);
}

// IF ( condition ) label, label, label
int parse_arithmetic_if_stmt() {
  check_reachable();
  scan_after_keyword(expression_mode);
  expr_node* e = nullptr;
  if (!parenthesised(&e, label_mode)) return 0;
  label_list_entry* first = nullptr;
  label_list_entry* last = nullptr;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && !expect_token(tok_comma, 206, label_mode)) return 0;
    symbol_entry* s = expect_label(xref_reference);
    label_list_entry* entry = new_label_list_entry();
    entry->label = s ? static_cast<label*>(s->entity.get()) : nullptr;
    list_append(first, last, entry);
  }
  statement* st = append_statement(stmk_iarith_if);
  st->expr = e;
  st->label_list = first;
  return 1;
}

// IF ( condition ) THEN
int parse_if_then_stmt() {
  check_reachable();
  statement* st = nullptr;
  int ok = parse_if_condition(&st);
  push_block(blk_if, st);
  return ok;
}

// ELSE IF ( condition ) THEN [name]
int parse_else_if_stmt() {
  block_frame* f = nullptr;
  if (close_construct(blk_if, nullptr)) {
    f = else_branch(180);
  }
  statement* st = nullptr;
  int ok = parse_if_condition(&st);
  if (!ok) return 0;
  symbol_entry* name = optional_construct_name();
  if (f && close_construct(blk_if, name)) {
    f = innermost_block();
    f->construct_stmt = st;
    f->flags &= ~blockf_else_seen;
    f->last_stmt = nullptr;
  }
  return 1;
}

// ELSE [name]
int parse_else_stmt() {
  scan_after_keyword(expression_mode);
  symbol_entry* name = optional_construct_name();
  if (!close_construct(blk_if, name)) return 1;
  else_branch(180);
  return 1;
}

// END IF [name]
int parse_end_if_stmt() {
  scan_after_keyword(expression_mode);
  symbol_entry* name = optional_construct_name();
  if (close_construct(blk_if, name)) pop_block();
  check_closing_label();
  return 1;
}

// DO [label] [,] [ variable = e1, e2 [, e3] ]
int parse_do_stmt() {
  check_reachable();
  statement* named_by = loop.pending_label_stmt;
  statement* st = append_statement(stmk_ido);
  push_block(blk_do, st);
  block_frame* f = innermost_block();
  f->label_stmt = named_by;
  parse_do_label(f, operand_mode);
  if (scan.cur_token == tok_eos) return 1;
  do_loop* control = new_do_loop();
  st->loop = control;
  expr_node* variable = nullptr;
  bool ok = parse_variable(&variable);
  control->variable = variable;
  if (!expect_token(tok_equals, 202, operand_mode)) return 0;
  stop_token_raise(tok_comma);
  if (!parse_expression(&control->initial_value)) ok = false;
  stop_token_lower(tok_comma);
  if (!expect_token(tok_comma, 206, operand_mode)) return 0;
  stop_token_raise(tok_comma);
  if (!parse_expression(&control->final_value)) ok = false;
  stop_token_lower(tok_comma);
  if (scan.cur_token != tok_eos) {
    if (!expect_token(tok_comma, 206, operand_mode)) return 0;
    if (!parse_expression(&control->increment)) ok = false;
    expr_node* inc = control->increment;
    if (inc && inc->node_kind == enk_constant && inc->constant && const_is_zero(inc->constant))
      error_at(170, loop.stmt_pos);
  }
  return ok ? 1 : 0;
}

// DO [label] [,] WHILE ( condition )
int parse_do_while_stmt() {
  check_reachable();
  statement* named_by = loop.pending_label_stmt;
  statement* st = append_statement(stmk_while);
  push_block(blk_do_while, st);
  block_frame* f = innermost_block();
  f->label_stmt = named_by;
  parse_do_label(f, keyword_mode | expression_mode);
  if (scan.cur_token != tok_while) {
    syntax_error(125);
    return 0;
  }
  scan_token(expression_mode);
  expr_node* condition = nullptr;
  bool ok = parenthesised(&condition, expression_mode);
  st->expr = condition;
  return ok ? 1 : 0;
}

// END DO [name]
int parse_end_do_stmt() {
  scan_after_keyword(expression_mode);
  block_frame* chosen = nullptr;
  bool named = false;
  bool name_unmatched = false;
  if (scan.cur_token == tok_name) {
    named = true;
    symbol_entry* name = construct_name_ref();
    if (name && name->cls == sym_stmt_label) {
      chosen = find_do_frame_by_name(name);
      if (!chosen) name_unmatched = true;
    }
  }
  if (!chosen) chosen = innermost_do_frame();
  if (!chosen) {
    error_at(188, loop.stmt_pos);
    return 1;
  }
  bool chosen_has_name = chosen->label_stmt && chosen->label_stmt->label &&
                         chosen->label_stmt->label->symbol;
  if (name_unmatched || (!named && chosen_has_name)) error_at(186, loop.stmt_pos);
  close_do_frame(chosen);
  return 1;
}

namespace {

// CYCLE [name] / EXIT [name]
int parse_exit_cycle(int stmk) {
  check_reachable();
  scan_after_keyword(expression_mode);
  const int no_loop_msg = stmk == stmk_cycle ? 59 : 65;
  symbol_entry* name = nullptr;
  source_pos_record name_pos = null_pos;
  if (scan.cur_token == tok_name) {
    name_pos = scan.token_pos;
    name = construct_name_ref();  // 463 for a name that is no construct name
    label* l = name && name->cls == sym_stmt_label ? static_cast<label*>(name->entity.get()) : nullptr;
    if (l && l->kind != lk_control) error_at(463, name_pos);
    if (!l || l->kind != lk_control) {
      error_at(no_loop_msg, loop.stmt_pos);
      return 0;
    }
    l->corresp.referenced = true;
  }
  block_frame* f = nullptr;
  for (int i = blocks.top; i > 0 && !f; --i) {
    block_frame& c = blocks.frames[i];
    if (c.kind != blk_do && c.kind != blk_do_while) continue;
    if (!name) {
      f = &c;
    } else if (c.label_stmt && c.label_stmt->label && c.label_stmt->label->symbol &&
               c.label_stmt->label->corresp.name == name->name) {
      f = &c;
    }
  }
  if (!f) {
    // A construct name that no enclosing loop carries (an IF or SELECT
    // construct, or a loop already closed) names no loop here.
    if (name) error_at(463, name_pos);
    error_at(no_loop_msg, loop.stmt_pos);
    return 0;
  }
  statement* loop_label = f->label_stmt;
  if (stmk == stmk_exit) f->no_fallthrough = 0;
  statement* st = append_statement(stmk);
  st->constr_label = loop_label;
  return 1;
}

}  // namespace

// CYCLE [name]
int parse_cycle_stmt() { return parse_exit_cycle(stmk_cycle); }

// EXIT [name]
int parse_exit_stmt() { return parse_exit_cycle(stmk_exit); }

// name : DO ... / IF ... THEN / SELECT CASE ...
int parse_construct_name_stmt() {
  check_reachable();
  if (scan_statement_start(construct_name_mode) != tok_label) {
    error_at(209, loop.stmt_pos);
    return 0;
  }
  name_pos_record n{scan.token_atom, scan.token_pos};
  symbol_entry* found = symbol_here(n.name);
  if (found) {
    error_at(306, n.pos);
    xref_note(found, n.pos, false);
  }
  scan_token(expression_mode);  // the ":"
  statement_context outer = save_context();
  int kind = classify_rest();
  int result = 0;
  if (kind == st_do || kind == st_do_while || kind == st_if_then || kind == st_select_case) {
    symbol_entry* s = label_reference(found && found->cls == sym_stmt_label ? found : nullptr, &n,
                                      lk_control, true, xref_definition);
    statement* named = append_label_statement(s);
    scan.cur_token = tok_no_token;
    result = dispatch_statement();
    block_frame* f = innermost_block();
    if (f && f->kind != blk_unit) f->label_stmt = named;
  } else if (kind != st_unrecognized) {
    error_at(211, outer.pos);
    scan.cur_token = tok_no_token;
  }
  restore_context(outer);
  return result;
}

// SELECT CASE ( expression )
int parse_select_case_stmt() { return construct_with_expression(stmk_select, blk_select); }

// CASE DEFAULT [name] / CASE ( range {, range} ) [name]
int parse_case_stmt() {
  if (!close_construct(blk_select, nullptr)) return 1;
  block_frame* select = innermost_block();
  statement* select_stmt = select->construct_stmt;
  if (select_stmt->body_statement) {
    block_note_reach(select);
    begin_branch(select);
  }
  int t = scan_after_keyword(keyword_mode | expression_mode);
  statement* st = nullptr;
  bool ok = true;
  if (t == tok_default) {
    if (select->flags & blockf_else_seen) error_at(447, loop.stmt_pos);
    select->flags |= blockf_else_seen;
    st = append_statement(stmk_case);
    scan_token(expression_mode);
  } else {
    st = append_statement(stmk_case);
    if (!expect_token(tok_lparen, 228, operand_mode)) {
      ok = false;
    } else {
      stop_token_raise(tok_rparen);
      stop_token_raise(tok_comma);
      case_range* last = nullptr;
      for (;;) {
        case_range* r = nullptr;
        if (!parse_case_range(&r)) ok = false;
        list_append(st->case_range_list, last, r);
        if (scan.cur_token != tok_comma) break;
        scan_token(operand_mode);
      }
      stop_token_lower(tok_rparen);
      stop_token_lower(tok_comma);
      if (!expect_token(tok_rparen, 231, expression_mode)) ok = false;
    }
  }
  if (ok) {
    symbol_entry* name = optional_construct_name();
    if (name) close_construct(blk_select, name);
  }
  push_block(blk_case, st);
  return ok ? 1 : 0;
}

// END SELECT [name]
int parse_end_select_stmt() {
  scan_after_keyword(expression_mode);
  symbol_entry* name = optional_construct_name();
  if (close_construct(blk_select, name)) pop_block();
  return 1;
}

// WHERE ( mask ) assignment
int parse_where_stmt() {
  return statement_with_dependent(stmk_where, blk_where_stmt, may_depend_on_where, 61);
}

// WHERE ( mask )
int parse_where_construct_stmt() { return construct_with_expression(stmk_where, blk_where); }

// ELSEWHERE
int parse_elsewhere_stmt() {
  scan_after_keyword(expression_mode);
  if (!close_construct(blk_where, nullptr)) return 1;
  else_branch(181);
  return 1;
}

// END WHERE
int parse_end_where_stmt() {
  scan_after_keyword(expression_mode);
  if (close_construct(blk_where, nullptr)) pop_block();
  check_closing_label();
  return 1;
}

// ASSIGN label TO variable
int parse_assign_stmt() {
  check_reachable();
  if (scan_after_keyword(label_mode) != tok_label) {
    syntax_error(224);
    return 0;
  }
  name_pos_record n{scan.token_atom, scan.token_pos};
  symbol_entry* found = symbol_here(n.name);
  symbol_entry* l = label_reference(found, &n, lk_unknown, false, xref_reference);
  label* il = l ? static_cast<label*>(l->entity.get()) : nullptr;
  if (il) il->used_in_assign = true;
  if (scan_token(keyword_mode) != tok_to) {
    syntax_error(238);
    return 0;
  }
  scan_token(expression_mode);
  source_pos_record var_pos = scan.token_pos;
  object* variable = parse_assign_variable();
  if (!variable) return 1;
  expr_node* target = new_expr_node(enk_object);
  target->object = variable;
  target->type = variable->type;
  target->intent_out = true;
  target->source_pos = var_pos;
  expr_node* value = new_expr_node(enk_stmt_label_value);
  value->stmt_label_value = il;
  value->type = stmt_label_type();
  value->source_pos = n.pos;
  target->next = value;
  statement* st = append_statement(stmk_expr);
  expr_node* op = new_operation_node(eok_iassign, void_type(), target);
  op->source_pos = loop.stmt_pos;
  st->expr = op;
  return 1;
}

namespace {

// ALLOCATE ( item {, item} [, STAT = v] ) / DEALLOCATE ( ... )
int parse_allocation(int stmk) {
  check_reachable();
  scan_after_keyword(expression_mode);
  if (!expect_token(tok_lparen, 228, operand_mode | scan_specifier_bit)) return 0;
  statement* st = append_statement(stmk);
  alloc* last_alloc = nullptr;
  expr_node* last_var = nullptr;
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  bool ok = true;
  bool stat_given = false;
  // STAT= may only follow at least one item.
  for (bool first = true;; first = false) {
    if (!first && scan.cur_token == tok_spec_stat) {
      stat_given = true;
      scan_token(operand_mode);
      if (!parse_variable(&st->stat_variable)) ok = false;
      break;
    }
    expr_node* v = nullptr;
    if (!parse_variable(&v)) {
      ok = false;
      break;
    }
    if (stmk == stmk_alloc) {
      alloc* a = new_alloc();
      a->var = v;
      list_append(st->alloc_list, last_alloc, a);
    } else {
      list_append(st->dealloc_list, last_var, v);
    }
    if (scan.cur_token != tok_comma) break;
    scan_token(operand_mode | scan_specifier_bit);
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  if (!ok) return 0;
  // ")" alone may follow STAT=; after an item "," would do as well.
  return expect_token(tok_rparen, stat_given ? 231 : 207, expression_mode);
}

}  // namespace

// ALLOCATE ( allocation {, allocation} [, STAT = variable] )
int parse_allocate_stmt() { return parse_allocation(stmk_alloc); }

// DEALLOCATE ( object {, object} [, STAT = variable] )
int parse_deallocate_stmt() { return parse_allocation(stmk_dealloc); }

// NULLIFY ( pointer {, pointer} )
int parse_nullify_stmt() {
  check_reachable();
  scan_after_keyword(expression_mode);
  if (!expect_token(tok_lparen, 228, operand_mode)) return 0;
  statement* st = append_statement(stmk_nullify);
  expr_node* last = nullptr;
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  bool ok = true;
  for (;;) {
    expr_node* p = nullptr;
    if (!parse_variable(&p)) {
      ok = false;
      break;
    }
    list_append(st->expr, last, p);
    if (scan.cur_token != tok_comma) break;
    scan_token(operand_mode);
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  if (!ok) return 0;
  return expect_token(tok_rparen, 207, expression_mode);
}
