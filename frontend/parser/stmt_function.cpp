// The statement-function definition name ( [dummies] ) = expr: a routine of
// its own scope level whose body assigns the expression to the result object
// and returns.
#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/dummies.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/parser/type_specifiers.h"
#include "frontend/semantics/unit_pass.h"

namespace {

// ( [name {, name}] ): the dummies, declared at the statement function's
// level. False after a syntax error.
bool parse_dummies(object* routine) {
  if (!expect_token(tok_lparen, 228, expression_mode)) return false;
  bool ok = true;
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  while (scan.cur_token != tok_rparen && scan.cur_token != tok_eos) {
    if (scan.cur_token == tok_name) {
      name_pos_record np = current_name_token();
      symbol_entry* s = resolve_alias_chain(np.name ? np.name->first_symbol : nullptr, symtab.cur_scope);
      declare_stmt_function_dummy(s, &np);
      scan_token(expression_mode);
    } else {
      syntax_error(218);
      ok = false;
    }
    if (scan.cur_token != tok_comma) break;
    scan_token(expression_mode);
  }
  stop_token_lower(tok_comma);
  stop_token_lower(tok_rparen);
  if (!expect_token(tok_rparen, 231, expression_mode)) ok = false;
  if (routine && routine->type && routine->type->type_code == tk_routine) routine->type->has_param_info = true;
  return ok;
}

// The result object of the statement function's scope.
object* new_result_object(symbol_entry* s, object* routine, type* result, scope* sc) {
  object* r = new_object();
  set_source_corresp(r, s);
  r->symbol = nullptr;
  r->type = result;
  r->storage_class = sc_local;
  r->is_result = true;
  r->result_var_function = routine;
  r->assoc_routine = routine;
  r->corresp.scope_depth = static_cast<uint32_t>(symtab.cur_scope);
  if (sc) sc->function_result_var = r;
  return r;
}

// result = expr as the body's expression statement, then a return.
void build_body(scope* sc, object* result, expr_node* value, source_pos_record pos) {
  statement* block = new_statement(stmk_block);
  if (sc) sc->assoc_block = block;
  statement* assign = new_statement(stmk_expr);
  assign->source_pos = pos;
  type* t = result->type;
  if (!t || t->type_code == tk_error) {
    assign->expr = error_expr_node();
  } else {
    expr_node* target = new_expr_node(enk_object);
    target->source_pos = pos;
    target->type = t;
    target->object = result;
    target->intent_out = true;
    target->next = value;
    expr_node* op = new_operation_node(assign_operator_for_type(t), t, target);
    op->source_pos = pos;
    assign->expr = op;
  }
  statement* ret = new_statement(stmk_return);
  assign->next = ret;
  block->statements = assign;
  block->last_statement = ret;
}

}  // namespace

// name ( [dummy {, dummy}] ) = expression
int parse_stmt_function() {
  scan_statement_start(expression_mode);
  name_pos_record np = current_name_token();
  symbol_entry* s = declared_here(np);
  scope* sc = scope_push(sk_stmt_function);
  int saved_kind = units.cur_unit_kind;
  units.cur_unit_kind = uc_function;
  s = declare_stmt_function(s, &np);
  auto* routine = s ? static_cast<object*>(s->entity.get()) : nullptr;
  type* result = routine && routine->type && routine->type->type_code == tk_routine
                     ? routine->type->return_type
                     : error_type();
  scan_token(expression_mode);
  bool ok = parse_dummies(routine);
  if (ok && !expect_token(tok_equals, 202, expression_mode)) ok = false;
  object* r = new_result_object(s, routine, result, sc);
  expr_node* value = nullptr;
  if (ok) {
    parse_expression(&value);
  } else {
    value = error_expr_node();
    skip_to_end_of_statement();
  }
  build_body(sc, r, value, np.pos);
  end_program_unit();
  units.cur_unit_kind = saved_kind;
  int checked = routine ? check_entity_decl(routine) : 0;
  return ok ? checked : 0;
}
