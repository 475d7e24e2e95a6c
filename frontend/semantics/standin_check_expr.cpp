// Stands for check_expr until the expression checker is built: every
// expression passes unchanged with the context it was given.
#include "frontend/model/il_entries.h"

int check_expr(expr_node* node, int context, object* unit);
int check_expr(expr_node*, int context, object*) { return context; }
