// Evaluation of constant expressions in the target arithmetic.
#pragma once

#include "frontend/model/il_entries.h"

struct const_value;

// Evaluates a constant expression into result. 1 when result holds the value
// (an error constant means the failure was already reported), 0 when the
// expression is not constant and strict is 0; with strict 1 a non-constant
// expression is reported ("must be an initialization expression"), the node
// becomes an error node and 1 is returned with the error constant.
int evaluate_constant_expression(expr_node* node, const_value* result, int strict);
