// Program-unit statements: PROGRAM (and the implied main program), MODULE,
// BLOCK DATA, FUNCTION and SUBROUTINE headers, ENTRY, CONTAINS and the END
// statements, with the end-of-unit processing that closes a unit's scope and
// reports what was declared and never used.
#pragma once
#include <cstdint>

#include "frontend/base/source_pos.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/il_entries.h"

// Clears the flag that notes a declared main program (compilation set-up).
void main_program_flag_clear();
// The implied main program of a unit without header, at pos.
void main_program_stmt(source_pos_record pos);
// Opens the scope level of a unit of the class and its statement block.
void open_unit_block(int kind);
// Ends the executable part of the current unit (once per scope).
void end_executable_part();
// Closes the current unit: symbols completed and reported, scope ended.
void end_program_unit();

// BLOCK DATA [name], with the current token the one after BLOCK DATA; a name
// is consumed (the scanner is left after it).
void block_data_stmt_name();
