// STAND-IN for the expression checker until it is built: only expr_set_error,
// which the parser needs to fail a node.
#include "frontend/model/types.h"
#include "frontend/semantics/expr_check.h"

int expr_set_error(expr_node* node) {
  if (!node) return 0;
  expr_node* next = node->next;
  source_pos_record pos = node->source_pos;
  ::atom* keyword = node->arg_keyword;
  bool is_specifier = node->is_specifier;
  uint8_t specifier = node->specifier;
  init_expr_node(node);
  init_expr_node_kind(node, enk_error);
  node->type = error_type();
  node->next = next;
  node->source_pos = pos;
  node->arg_keyword = keyword;
  node->is_specifier = is_specifier;
  node->specifier = specifier;
  return 0;
}
