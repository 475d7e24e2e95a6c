// The intrinsic table: one generic interface per row (0 assignment, 1-17 the
// intrinsic operators, 18-177 the intrinsic procedures) whose prototypes are
// the row's signature objects, built from the rows of intrinsics.def after
// the preloaded symbols exist. The row number is shared by the checks, the
// enk_intrinsic nodes and constant folding.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

// Row numbers by IL name: ir_assign_op, ir_plus_op, ..., ir_abs, ...
#define INTRINSIC(row, il_name, name, symbol_class) ir_##il_name = row,
#define SIGNATURE(row, specific, form, dummies, result)
enum intrinsic_row : uint8_t {
#include "frontend/model/intrinsics.def"
};

inline constexpr int intrinsic_rows_total = 178;
inline constexpr int intrinsic_signatures_total = 253;

// Builds the table in the current pool and attaches it to the preloaded
// descriptors (table_entry) and specific names (signature_object). Runs
// once per compilation, after the preloaded symbols are made.
void intrinsic_table_build();

// The interface of a row, or null when the row is outside the table or the
// table is not built.
interface* intrinsic_interface(int row);
// Signature object number n (0-252, in table order), or null.
object* intrinsic_signature(int n);
// The row of a signature object: the low byte of its association_offset.
inline int intrinsic_row_of(const object* signature) {
  return static_cast<int>(static_cast<uint32_t>(signature->association_offset) & 0xFFu);
}
// The row of a procedure name's intrinsic generic (by its upper-case name),
// or -1.
int intrinsic_row_by_name(const char* name);

// Inquiry functions: their first argument is only inspected, not read as a
// value (ALLOCATED, ASSOCIATED, BIT_SIZE, DIGITS, EPSILON, HUGE, KIND,
// LBOUND, LEN, MAXEXPONENT, MINEXPONENT, PRECISION, PRESENT, RADIX, RANGE,
// SHAPE, SIZE, TINY, UBOUND).
bool intrinsic_is_inquiry(int row);
