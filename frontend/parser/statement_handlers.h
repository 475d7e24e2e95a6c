// The statement handlers, one per statement kind, as the handler table calls
// them: no argument; 1 when the statement was accepted, 0 after an error.
#pragma once

#define STMT(kind, id, handler, order_class, highest) int handler();
#include "frontend/parser/statement_kinds.def"
