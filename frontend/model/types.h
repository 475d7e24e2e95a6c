// The target's kind table, the canonical intrinsic types and the type
// operations: equality, assignability, argument agreement, storage sizes.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

// The families of the kind table and their first rows.
enum kind_family : int { kf_integer = 0, kf_real = 1, kf_logical = 2, kf_character = 3 };

struct kind_row {
  int32_t kind_value;   // KIND= value
  uint32_t size;        // bytes
  uint8_t alignment;
  int32_t radix, digits, min_exponent, max_exponent;
  char pad;             // pad character (CHARACTER)
  int32_t (*get_int)(const uint8_t* bytes);        // INTEGER, LOGICAL, CHARACTER
  void (*set_int)(int32_t value, uint8_t* bytes);
  double (*get_real)(const uint8_t* bytes);        // REAL
  void (*set_real)(double value, uint8_t* bytes);
};

inline constexpr int kind_table_rows = 7;
extern const kind_row kind_table[kind_table_rows];
extern const int kind_family_first_row[4];  // 0, 2, 4, 6
extern const int kind_family_rows[4];       // 2, 2, 2, 1

// The row of the table for a family and a row index within it (null when the
// index is outside the family).
const kind_row* kind_row_of(int family, uint32_t index);

struct KindDefaults {
  uint32_t default_integer;    // 1
  uint32_t double_precision;   // 1
  uint32_t default_logical;    // 1
  uint32_t default_real;       // 0
  uint32_t default_character;  // 0
};
extern KindDefaults kind_defaults;

void types_reset();  // caches emptied and preloaded types rebuilt (init_il_tables)

type* integer_type(uint32_t row);
type* real_type(uint32_t row);
type* complex_type(uint32_t row);
type* logical_type(uint32_t row);
type* default_integer_type();
type* default_real_type();
type* double_precision_type();
type* default_complex_type();
type* default_logical_type();
type* integer_type_for_kind(int32_t kind_value, int* error);
type* real_type_for_kind(int32_t kind_value, int* error);
type* complex_type_for_kind(int32_t kind_value, int* error);
type* logical_type_for_kind(int32_t kind_value, int* error);
type* character_type(uint32_t row, bool assumed, uint32_t length, int* error = nullptr);
type* character_type_for_kind(int32_t kind_value, uint32_t length, int* error);
type* assumed_character_type_for_kind(int32_t kind_value, int* error);
type* default_character_type(uint32_t length);
type* default_character_type_flag(uint32_t length, int* error);
type* assumed_character_type();
type* error_type();
type* unknown_type();
type* void_type();
type* unspec_routine_type();
type* stmt_label_type();

type* array_type(type* element, uint32_t rank);
bound_info_entry* new_bounds_array(uint32_t rank);
type* routine_type(object* routine, type* return_type);
void copy_type_entry(const type* source, type* destination);
type* elemental_result_type(type* operand, type* other);
uint32_t integer_kind_huge(uint32_t row);
double real_kind_huge(uint32_t row);
void init_bound(bound_record* b, int bk);

bound_info_entry* array_bounds(type* array);
bound_record* char_len_record(type* character);
bool array_is_assumed_size(const type* t);
bool array_has_adjustable_bound(const type* t);
bool array_is_constant_shape(const type* t);
int array_shape_agree(type* a, type* b);
int type_equal(type* a, type* b);
int param_lists_equal(type* a, type* b);
int param_lists_compatible(type* a, type* b);
int type_assignable(type* target, type* source);
int arg_type_agree(type* actual, type* dummy);
int storage_types_agree(type* a, type* b);
int type_is_zero_size(type* t);
void type_storage_size(type* t);
void object_storage_size(object* o, uint32_t* size, uint32_t* alignment);
inline uint32_t descriptor_dims_size(uint32_t rank) { return rank * 12; }
inline uint32_t descriptor_alignment() { return 4; }
