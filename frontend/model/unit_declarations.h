// Declaration services for program units, procedures and external names:
// the symbol class of a unit or procedure name from its context, its routine
// object and type, its attachment to the unit, and one global record per
// external name that every use in the file is checked against.
#pragma once
#include <cstdint>

#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"

// PROGRAM name: class 11 at level 0 with a level-1 alias.
symbol_entry* declare_program(name_pos_record* name);
// A unit without PROGRAM statement: class 11 under the shared empty name.
symbol_entry* declare_unnamed_main_program(source_pos_record pos);
// MODULE name: class 13 at level 0 with a level-1 alias.
symbol_entry* declare_module(name_pos_record* name);
// BLOCK DATA [name]: name is the name read (its atom null after a token
// that is no name), or null when the statement ends after BLOCK DATA.
void declare_block_data(const name_pos_record* name);
// SUBROUTINE or ENTRY name (s: the name's symbol at the host level or null).
symbol_entry* declare_subroutine(symbol_entry* s, name_pos_record* name, bool is_entry);
// FUNCTION or ENTRY name; result: the declared result type, or null.
symbol_entry* declare_function(symbol_entry* s, name_pos_record* name, type* result, bool is_entry);
// A name in MODULE PROCEDURE.
symbol_entry* declare_module_procedure_name(symbol_entry* s, name_pos_record* name);
// A name in INTRINSIC.
symbol_entry* declare_intrinsic_name(symbol_entry* s, name_pos_record* name);
// Checks a completed external (class 2, 3, 12 or 22) against the name's global
// record; returns that record (new when the name had none), or null when the
// record was unlinked.
symbol_entry* external_name_check(symbol_entry* s);
// With "-U": the same name in another spelling was used as an external name.
void external_name_case_check(name_pos_record* name);
// A NAMELIST group name.
symbol_entry* namelist_stmt_name(symbol_entry* s, name_pos_record* name);

// A routine object for a symbol whose class is already set, with a new
// tk_routine type of that result.
object* new_routine_object(symbol_entry* s, type* result);
// Makes a routine the current unit's main routine or an alternate entry.
void attach_unit_routine(object* routine);
// A reused routine object takes the symbol and its position.
void set_entry_position(object* routine, symbol_entry* s);

// At the end of a subroutine or function: the dummies of the main entry and
// of every ENTRY become the parameter types of their routine types.
void unit_param_types_complete();
// At the end of a unit that is not contained: external name checks of the
// unit's routine and its entries; their level-0 symbols leave the scope (a
// module's stays on its name's chain as the global record of the module).
void unit_external_names_check();
