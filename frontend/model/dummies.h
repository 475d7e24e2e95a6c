// Declaration services for the names inside a unit: dummy arguments (with
// alternate returns), function results, statement functions and their
// dummies, implied-DO variables, and COMMON blocks with their members.
#pragma once
#include <cstdint>

#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"

// One member of a COMMON block as a unit lists it.
struct common_member {
  common_member* next;
  object* member;            // the variable's object
  source_pos_record pos;     // where it was named
};

// A COMMON block of the current unit: the entity of its class-15 symbol.
struct common_block_record {
  source_corresp corresp;      // the block's name and position
  object* storage;             // the block's global object (sc_common)
  uint32_t size;               // block size from earlier specifications
  common_block_record* next;   // next block of the unit, in order of first mention
  common_member* first_member; // members in order
  common_member* last_member;
  bool listed;                 // already on the unit's COMMON list
};

// A dummy object of type t for a symbol (null: none).
object* new_dummy_object(symbol_entry* s, type* t);
void declare_dummy_argument(symbol_entry* s, name_pos_record* name, entry_description* entry);
// The n-th (from 1) "*" dummy of a list.
void declare_alt_return_dummy(int n, source_pos_record pos, entry_description* entry);
// The function result: result_name is the RESULT name or null.
void declare_result_variable(symbol_entry* s, name_pos_record* result_name, entry_description* entry);
param_type* add_param_type(object* dummy, object* routine);
// Called with the statement-function level already pushed.
symbol_entry* declare_stmt_function(symbol_entry* s, name_pos_record* name);
void declare_stmt_function_dummy(symbol_entry* s, name_pos_record* name);
// A new class-16 symbol, not yet on its name's chain.
symbol_entry* implied_do_var(symbol_entry* s, name_pos_record* name);
void symbol_make_visible(symbol_entry* s);
symbol_entry* declare_common_block(name_pos_record* name);
symbol_entry* blank_common_block(source_pos_record pos);
void common_add_member(object* o, common_block_record* r, source_pos_record pos);
bool is_variable_like(symbol_entry* s);
