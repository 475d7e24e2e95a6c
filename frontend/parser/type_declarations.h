// Type-declaration statements and the statements that give names a shape or
// a value: DIMENSION, ALLOCATABLE, POINTER, TARGET and PARAMETER. Each entity
// becomes an attribute set that is checked and applied.
#pragma once
#include <cstdint>

#include "frontend/model/symbols.h"
#include "frontend/model/attributes.h"

// One entity of a type-declaration statement, the current token on its
// name; set: the statement's attributes; colons: "::" was written. Returns
// its symbol, or null when no name stood there.
symbol_entry* parse_entity_decl(attr_set set, bool colons);
// One entity of DIMENSION, ALLOCATABLE, POINTER, TARGET or COMMON, the
// current token on its name; the token after it is scanned with flags.
// Null when the entity failed its attribute check.
symbol_entry* parse_array_entity(const attr_set& set, bool paren_required, bool in_common,
                                 uint32_t flags);
