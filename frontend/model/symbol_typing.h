// Symbol typing and type names: a symbol's type from a declaration, from the
// IMPLICIT rules of its level or from its use, with the check that a second
// typing agrees with the first; names made variables, generic interface names
// and derived-type names.
#pragma once
#include <cstdint>

#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"

// Gives a symbol its implicit type (no-op for an explicitly typed one). The
// report of a missing or conflicting implicit type goes to pos, or to the
// symbol's declaration position when pos is null_pos (seq 0).
void implicit_type_of(symbol_entry* s, source_pos_record pos = null_pos);
// 1 when the type was accepted; 0 (with 599 unless bit 1) when not. With
// force the type is stored all the same. 599 goes to pos (the name being
// declared), or to the statement when pos is null_pos.
int symbol_set_type(symbol_entry* s, type* t, bool force, source_pos_record pos = null_pos);
// The result type of a function (or function ENTRY) symbol's routine.
int set_function_result_type(symbol_entry* s, type* t, bool force, source_pos_record pos = null_pos);
// The routine type of a dummy procedure.
int set_procedure_type(symbol_entry* s, type* t, source_pos_record pos = null_pos);
// A class-1 symbol for the name (s: its symbol at the current level, or null).
symbol_entry* symbol_as_variable(symbol_entry* s, name_pos_record* name);
// The class-27 symbol of a generic interface name.
symbol_entry* declare_interface_name(symbol_entry* s, name_pos_record* name);
// The symbol of the derived type named in TYPE(name).
symbol_entry* type_spec_derived_lookup(symbol_entry* s, name_pos_record* name);
// The class-0 symbol of the derived type a TYPE statement defines.
symbol_entry* define_derived_type_name(symbol_entry* s, name_pos_record* name);

// The routine whose scope is the given level's unit (the enclosing level's
// when that level has no routine yet); null at level 0.
object* unit_routine_of_level(int level);

// Where the token being read stands: the scanner installs its token position
// here, so that a name typed implicitly inside an expression is reported at
// the current token. Null while no scanner runs.
extern const source_pos_record* current_token_position;
