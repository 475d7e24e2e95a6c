// The type specifier in front of FUNCTION: INTEGER, REAL, COMPLEX, LOGICAL
// with a kind selector or *n, DOUBLE PRECISION, CHARACTER with its length,
// and TYPE(name).
#pragma once

#include "frontend/model/il_entries.h"

// True for the keyword codes that start a type specifier.
bool is_prefix_type_keyword(int code);
// Reads the rest of the specifier that starts with the keyword code (the
// scanner is just after the keyword) and leaves the scanner just after it,
// no further token scanned. Reports what is wrong; the error type then.
type* parse_prefix_type(int code);
