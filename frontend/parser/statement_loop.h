// The statement loop (Part 3.101): classification, statement order and the
// table of statement handlers; one call parses one program unit.
#pragma once

// Parses one program unit, starting with the statement just read; returns 1.
int parse_program_unit();
// Clears the 185 stop_tokens counters of syntax-error recovery.
void stop_tokens_clear();
