// The conflict checks of the Fortran 90 attributes: one attribute against
// the attributes given with it (or held by the symbol already), against the
// place of the statement, and against what the declared symbol is.
#pragma once

#include <cstdint>

struct locsym;

// Attribute bits of the attribute set and of a symbol's attribute word.
enum : uint32_t {
  AB_DIMENSION = 0x1, AB_POINTER = 0x2, AB_TARGET = 0x4, AB_ALLOCATABLE = 0x8,
  AB_OPTIONAL = 0x10, AB_INTENT_IN = 0x20, AB_INTENT_OUT = 0x40, AB_INTENT = 0x60,
  AB_EXTERNAL = 0x80, AB_INTRINSIC = 0x100, AB_PARAMETER = 0x200, AB_SAVE = 0x400,
  AB_PRIVATE = 0x800, AB_PUBLIC = 0x1000, AB_AUTOMATIC = 0x200000, AB_STATIC = 0x400000,
  AB_VOLATILE = 0x800000
};

// The message for attribute bit (one attribute; for INTENT any of its
// bits) given together with the attributes set, in the current unit and
// definition; 0 when there is none.
int32_t attr_set_conflict(uint32_t bit, uint32_t set);

// The message for attribute bit on the declared symbol s: what s is and
// the attributes it holds already; 0 when there is none.
int32_t attr_symbol_conflict(uint32_t bit, const locsym* s);

// SAVE on the symbol s: 481 (in a SAVE statement) for a name that cannot
// be saved, 454 for a dummy argument, 455 for an AUTOMATIC object, 807 in a
// pure procedure, and outside a SAVE statement 633 for a function result;
// 0 when it may be saved.
int32_t chk_att90_save(const locsym* s, bool in_save_statement);
