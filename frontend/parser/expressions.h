// The expression parser: turns the tokens of an expression, variable,
// argument list or item list into a tree of expr_node entries. Names are bound
// to symbols as they are read and a%b is resolved against the derived type of
// a at once; everything else is left to the expression checker.
// Convention: every entry point starts with the current token on the first
// token of its construct and leaves the token after it current.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

struct const_value;

struct ExpressionState {
  int open_constructors;   // array constructors being parsed (implied-DO scopes)
};
extern ExpressionState expr_state;

// Scan modes: where an operand may start (signed literals allowed), and
// after an operand (a "-" is then always an operator).
inline constexpr uint32_t operand_mode = 0x10000;
inline constexpr uint32_t after_operand_mode = 0;

// One expression; true when the result is not an error node.
bool parse_expression(expr_node** out);
// The same parser where a variable is expected.
bool parse_variable(expr_node** out);
// Precedence climbing from the minimum binary level (0 for a whole expression).
expr_node* parse_expr_prec(int min_level);
// e {, e}, items may be implied-DOs; true when no item failed.
bool parse_item_list(expr_node** first);
// Variables and implied-DOs (mode 0 input items, 1 DATA objects).
bool parse_input_item_list(expr_node** first, int mode);
// "(" args ")" after a name: an enk_apply node of the symbol (or an error node).
expr_node* parse_actual_arg_list(symbol_entry* s);
// One actual argument or I/O control item with optional keyword.
bool parse_actual_arg(expr_node** out);
// ( re , im ) with the current token on "("; out receives the constant.
bool parse_complex_constant(const_value* out);
// ( e1, ..., en ) for a derived type with n components.
bool parse_structure_constructor(type* t, expr_node** out);
// An enk_apply node of an operator or procedure symbol over its operands, or
// an error node when the symbol bears the shared error name.
expr_node* new_operator_node(symbol_entry* s, expr_node* operands);
// Whether an enk_apply's argument list holds a section triplet.
inline bool apply_has_triplet(const expr_node* n) { return n->ignore_lbound; }
inline void apply_set_triplet(expr_node* n, bool on) { n->ignore_lbound = on; }
// The binary precedence level of a token (0 when it is no binary operator).
int binary_level(int token);

// The parsers above, storing into a record's link (a pool reference) rather
// than into an expr_node*.
inline bool parse_into(expr_link* link, bool (*parse)(expr_node**)) {
  expr_node* e = *link;
  bool ok = parse(&e);
  *link = e;
  return ok;
}
inline bool parse_expression(expr_link* out) { return parse_into(out, parse_expression); }
inline bool parse_variable(expr_link* out) { return parse_into(out, parse_variable); }
inline bool parse_item_list(expr_link* first) { return parse_into(first, parse_item_list); }
inline bool parse_input_item_list(expr_link* first, int mode) {
  expr_node* e = *first;
  bool ok = parse_input_item_list(&e, mode);
  *first = e;
  return ok;
}
