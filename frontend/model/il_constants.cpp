// Constant entries and constant nodes made from the working constant values
// of the scanner and the constant evaluator.
#include "frontend/model/const_value.h"
#include "frontend/model/il_entries.h"

constant* new_il_constant(const_value* v) {
  const_to_indirect(v);
  return new_il_constant_copy(v->c);
}

expr_node* const_il_node(const_value* v) {
  expr_node* n = new_expr_node(enk_constant);
  n->constant = new_il_constant(v);
  n->type = v->c.type;
  n->source_pos = v->c.source_pos;
  return n;
}
