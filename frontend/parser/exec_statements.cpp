// Handlers of the simple executable statements: assignment, pointer
// assignment, CALL, CONTINUE, the three GO TO forms, STOP, PAUSE and RETURN.
// Each appends its IL statement to the current statement list.
#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/labels.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/exec_statements.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/list_append.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

namespace {

// Scanner mode for the digit string after STOP or PAUSE.
constexpr uint32_t digit_string_mode = scan_no_kind_suffix | scan_integer_only | scan_no_hollerith;

bool is_error(const expr_node* n) { return !n || n->node_kind == enk_error; }

// The generic routine that stands for the assignment operator "=".
interface* assignment_interface() {
  symbol_entry* s = resolve_alias_chain(intern_cstring("=")->first_symbol, symtab.cur_scope);
  if (!s || !s->entity) return nullptr;
  switch (s->cls) {
    case sym_generic: return static_cast<interface*>(s->entity.get());
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine: return static_cast<intrinsic_descriptor*>(s->entity.get())->table_entry;
    default: return nullptr;
  }
}

}  // namespace

int parse_label_list(label_list_entry** first, bool drop_duplicates) {
  *first = nullptr;
  label_list_entry* last = nullptr;
  if (!expect_token(tok_lparen, 228, label_mode)) return 0;
  if (scan.cur_token == tok_rparen) {
    // An empty list names no branch target at all.
    error_here(224);
    scan_token(0);
    return 0;
  }
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  for (;;) {
    symbol_entry* s = expect_label(xref_reference);
    label* l = s ? static_cast<label*>(s->entity.get()) : nullptr;
    bool duplicate = false;
    if (drop_duplicates && l && s->name != names.error_name)
      for (label_list_entry* e = *first; e; e = e->next)
        if (e->label == l) duplicate = true;
    if (!duplicate) {
      label_list_entry* e = new_label_list_entry();
      e->label = l;
      list_append(*first, last, e);
    }
    if (scan.cur_token != tok_comma) break;
    scan_token(label_mode);
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  return expect_token(tok_rparen, 231, operand_mode);
}

// variable = expression
int parse_assignment_stmt() {
  check_reachable();
  statement* st = append_statement(stmk_expr);
  scan_statement_start(operand_mode);
  expr_node* variable = nullptr;
  stop_token_raise(tok_equals);  // a failed variable recovers up to the "="
  bool ok = parse_variable(&variable);
  bool have_equals = expect_token(tok_equals, 202, operand_mode);
  stop_token_lower(tok_equals);
  if (!have_equals) {
    st->expr = error_expr_node();
    return 0;
  }
  expr_node* value = nullptr;
  bool value_ok = parse_expression(&value);
  if (!ok) {
    st->expr = error_expr_node();
    return value_ok ? 1 : 0;
  }
  variable->next = value;
  expr_node* n = new_expr_node(enk_generic_call);
  n->generic_routine = assignment_interface();
  n->operands = variable;
  n->source_pos = variable->source_pos;
  st->expr = n;
  return value_ok ? 1 : 0;
}

// pointer => target
int parse_pointer_assignment_stmt() {
  check_reachable();
  statement* st = append_statement(stmk_expr);
  scan_statement_start(operand_mode);
  expr_node* pointer = nullptr;
  stop_token_raise(tok_arrow);  // a failed pointer recovers up to the "=>"
  bool ok = parse_variable(&pointer);
  bool have_arrow = expect_token(tok_arrow, 229, operand_mode);
  stop_token_lower(tok_arrow);
  if (!have_arrow) {
    st->expr = error_expr_node();
    return 0;
  }
  expr_node* target = nullptr;
  bool target_ok = parse_expression(&target);
  if (!ok) {
    st->expr = error_expr_node();
    return target_ok ? 1 : 0;
  }
  pointer->next = target;
  expr_node* n = new_operation_node(eok_passign, pointer->type, pointer);
  n->source_pos = pointer->source_pos;
  st->expr = n;
  return target_ok ? 1 : 0;
}

// CALL name [ ( [actual-arg {, actual-arg}] ) ]
int parse_call_stmt() {
  check_reachable();
  source_pos_record pos = loop.stmt_pos;
  if (scan_after_keyword(expression_mode) != tok_name) {
    syntax_error(218);
    return 0;
  }
  symbol_entry* s = lookup_current_name();
  scan_token(after_operand_mode);
  statement* st = append_statement(stmk_expr);
  expr_node* ref;
  if (scan.cur_token == tok_lparen) {
    ref = parse_actual_arg_list(s);
  } else {
    ref = new_operator_node(s, nullptr);
  }
  ref->source_pos = pos;
  st->expr = ref;
  if (s && !(ref->node_kind == enk_apply && apply_has_triplet(ref)))
    s->flags |= symf_proc_ref | symf_called;
  return is_error(ref) ? 0 : 1;
}

// CONTINUE
int parse_continue_stmt() {
  check_reachable();
  scan_after_keyword(expression_mode);
  return 1;
}

// GO TO label
int parse_goto_stmt() {
  check_reachable();
  scan_after_keyword(label_mode);
  // Without a label expect_label reports; a label that only stood on an
  // unrecognized statement (reported there) is replaced without a message.
  bool have_label = scan.cur_token == tok_label;
  symbol_entry* s = expect_label(xref_reference);
  statement* st = append_statement(stmk_goto);
  st->label = s ? static_cast<label*>(s->entity.get()) : nullptr;
  return have_label ? 1 : 0;
}

// GO TO ( label {, label} ) [,] expression
int parse_computed_goto_stmt() {
  check_reachable();
  scan_after_keyword(expression_mode);
  label_list_entry* labels = nullptr;
  if (!parse_label_list(&labels, false)) return 0;
  if (scan.cur_token == tok_comma) scan_token(operand_mode);
  expr_node* index = nullptr;
  if (!parse_expression(&index)) return 0;
  statement* st = append_statement(stmk_computed_goto);
  st->expr = index;
  st->label_list = labels;
  return 1;
}

// An ASSIGN or assigned GO TO variable: a name of type default INTEGER.
object* parse_assign_variable() {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    return nullptr;
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = symbol_as_variable(lookup_current_name(), &np);
  scan_token(after_operand_mode);
  if (!s) return nullptr;
  xref_note_use(xref_modification, s, np.pos);
  object* o = static_cast<object*>(s->entity.get());
  if (!o || !o->type) return nullptr;
  if (o->type->type_code == tk_error) return nullptr;
  if (o->type->type_code == tk_unknown) implicit_type_of(s, np.pos);
  if (!o->type || o->type->type_code == tk_error) return nullptr;
  if (o->type != default_integer_type()) {
    error_at(458, loop.stmt_pos);
    return nullptr;
  }
  return o;
}

// GO TO variable [ [,] ( label {, label} ) ]
int parse_assigned_goto_stmt() {
  check_reachable();
  scan_after_keyword(expression_mode);
  source_pos_record pos = scan.token_pos;
  object* variable = parse_assign_variable();
  label_list_entry* labels = nullptr;
  if (scan.cur_token != tok_eos) {
    if (scan.cur_token == tok_comma) scan_token(0);
    if (!parse_label_list(&labels, true)) return 0;
    for (label_list_entry* e = labels; e; e = e->next)
      if (e->label) e->label->used_in_assign = true;
  }
  if (!variable) return 1;
  expr_node* var = new_expr_node(enk_object);
  var->object = variable;
  var->type = variable->type;
  var->source_pos = pos;
  statement* st = append_statement(stmk_assigned_goto);
  st->expr = var;
  st->label_list = labels;
  return 1;
}

namespace {

// STOP [code] / PAUSE [code]: the code is a digit string, a character
// constant or a named constant.
int parse_stop_pause(int stmk) {
  check_reachable();
  scan_restore(loop.after_keyword);
  char c = scan_peek_char();
  int t = scan_token(c >= '0' && c <= '9' ? digit_string_mode : expression_mode);
  constant* code = nullptr;
  bool ok = true;
  switch (t) {
    case tok_int_const: {
      // Only a plain digit string is a stop code: a sign or a kind makes
      // it an expression.
      std::string digits;
      for (const char* p = token_text; *p; ++p)
        if (*p != ' ') digits += *p;
      if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        syntax_error(236);
        ok = false;
        break;
      }
      if (digits.size() >= 6 && token_constant.c.kind == ck_value) warning_at(429, loop.stmt_pos);
      const_value v;
      uint32_t n = static_cast<uint32_t>(digits.size());
      uint8_t* bytes = const_init_sized(&v, n);
      std::memcpy(bytes, digits.data(), n);
      v.c.type = default_character_type(n);
      v.c.source_pos = scan.token_pos;
      code = new_il_constant(&v);
      scan_token(expression_mode);
      break;
    }
    case tok_char_const:
      if (token_constant.c.type && token_constant.c.type->type_code == tk_fcharacter &&
          token_constant.c.type->kind != kind_defaults.default_character)
        error_here(348);
      if (token_constant.c.kind == ck_value) code = new_il_constant(&token_constant);
      scan_token(expression_mode);
      break;
    case tok_name: {
      symbol_entry* s = lookup_current_name();
      object* o = s && s->cls == sym_variable ? static_cast<object*>(s->entity.get()) : nullptr;
      if (o && o->is_constant) {
        code = o->initializer;
        scan_token(expression_mode);
      } else {
        syntax_error(236);
        ok = false;
      }
      break;
    }
    case tok_eos:
      break;
    default:
      syntax_error(236);
      ok = false;
      break;
  }
  statement* st = append_statement(stmk);
  st->stop_pause_string = code;
  return ok ? 1 : 0;
}

}  // namespace

// STOP [ digits | character-constant ]
int parse_stop_stmt() { return parse_stop_pause(stmk_stop); }

// PAUSE [ digits | character-constant ]
int parse_pause_stmt() { return parse_stop_pause(stmk_pause); }

// RETURN [ expression ]
int parse_return_stmt() {
  check_reachable();
  int cls = current_program_unit_class();
  if (cls != uc_subroutine && cls != uc_function) {
    error_at(410, loop.stmt_pos);
    return 0;
  }
  if (scan_after_keyword(operand_mode) == tok_eos) {
    append_statement(stmk_return);
    return 1;
  }
  if (cls == uc_function) {
    error_at(24, loop.stmt_pos);
    return 0;
  }
  expr_node* e = nullptr;
  bool ok = parse_expression(&e);
  statement* st = append_statement(stmk_alt_return);
  st->expr = e;
  return ok ? 1 : 0;
}
