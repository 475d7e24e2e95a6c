// Qualifier code tables: the names of the storage classes (sc_), qualifiers
// (sq_), data types (dt_), access kinds (ac_), usage bits (usage_) and scope
// properties (scope_) that local symbols and global records carry, with a
// lookup by code and by name.
#pragma once
#include <cstdint>

enum : int32_t {
#define QC(table, code, name, ident) ident = code,
#include "checker/common/qualcodes.def"
};

// Name of the first row with that code; unknown: "SC_UNK", "SQ_UNK", "DT_UNK".
const char* get_sc_name(int32_t code);
const char* get_sq_name(int32_t code);
const char* get_dt_name(int32_t code);
// Name of the code, or null when it is not in the table.
const char* get_scope_name(int32_t code);
const char* get_ac_name(int32_t code);
const char* get_usage_name(int32_t code);
// Code of the first row with exactly that name, 0 when none.
int32_t get_sc_val(const char* name);
int32_t get_sq_val(const char* name);
int32_t get_dt_val(const char* name);
int32_t get_scope_val(const char* name);
int32_t get_ac_val(const char* name);
int32_t get_usage_val(const char* name);
