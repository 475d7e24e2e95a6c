// Folding of references to intrinsic procedures in constant expressions.
#pragma once

#include "frontend/model/il_entries.h"

struct const_value;

// Folds an enk_intrinsic node accepted by the intrinsic checks: 1 with the
// value in result (the error constant when an argument was one, or after a
// message), 0 when the reference is not constant.
int fold_intrinsic(expr_node* node, const_value* result);
