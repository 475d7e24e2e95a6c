// Array specifications: ( d1, ..., dn ) with explicit, assumed-size,
// assumed-shape and deferred-shape dimensions, turned into an IL array type
// over a given element type.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

inline constexpr uint32_t max_array_rank = 7;

// Reads ( d1, ..., dn ) with the current token on "("; leaves the token
// after ")" current, scanned with flags. The new array type, or null after
// a message.
type* parse_array_spec(type* element, uint32_t flags = 0);
// One bound expression into b (kind 2 with the expression, kind 0 when the
// expression failed); names in it count as used in a bound.
void parse_bound_expr(bound_record* b);
// The shape attribute (explicit, assumed size, assumed shape, deferred) of
// an array type's shape code.
int shape_attribute(const type* array);
