// Constant values in their working record, const_value: the header of an IL
// constant entry plus a 40-byte inline area for the value in host form. The
// scanner builds one for every literal token; the evaluator, DATA and
// PARAMETER processing convert and test them; IL constant entries hold the
// stored (target) form written through the kind table.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

struct kind_row;

inline constexpr uint32_t const_inline_size = 40;  // bytes of the inline area

struct const_value {
  ::constant c;                                   // IL constant entry layout
  alignas(8) uint8_t inline_value[const_inline_size];  // host-form value
};

// Header cleared, then an error constant: ck_error, the no-position value,
// the error type.
void const_init(const_value* v);
// A ck_value record with room for n value bytes (inline up to 40 bytes, else
// zeroed IL storage); returns the value bytes. The caller sets type and position.
uint8_t* const_init_sized(const_value* v, uint32_t n);
// Sets the constant kind and clears the kind-specific words for it.
void const_set_kind(const_value* v, int ck);
// dest := source (stored form) with the value in host form.
void const_to_host_form(const ::constant* source, const_value* dest);
// Gives a host-form ck_value record its stored-form storage.
void const_to_indirect(const_value* v);
// Converts a host-form value to the target type in place; returns 1.
int const_convert_to_type(const_value* v, ::type* target);
bool const_is_zero(const ::constant* c);
bool const_host_is_zero(const const_value* v);
bool const_is_true(const ::constant* c);

// Host-form accessors.
int32_t const_int(const const_value* v);
void const_set_int(const_value* v, int32_t value);
double const_real(const const_value* v, int part = 0);  // part 1: imaginary
void const_set_real(const_value* v, double value, int part = 0);
// The characters of a CHARACTER value (inline or out of line).
const uint8_t* const_chars(const const_value* v);

// The kind-table row of an intrinsic type (COMPLEX uses the REAL rows), or
// null for other types.
const kind_row* kind_row_of_type(const ::type* t);
