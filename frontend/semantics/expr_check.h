// The expression checker's services that the parser uses.
#pragma once

#include "frontend/model/il_entries.h"

// Turns the node into an enk_error node of the error type; returns 0, so that
// callers can return it as their failure.
int expr_set_error(expr_node* node);
