// Cross-reference notes: one line per definition, modification or reference
// in the "-X" file, and the referenced marks of symbols and their entries
// (kept whether or not the file is open).
#pragma once

#include "frontend/model/symbols.h"

enum xref_kind : int { xref_definition = 0, xref_modification = 1, xref_reference = 2 };

// A definition line; with record the position becomes the declaration position.
void xref_note(symbol_entry* s, source_pos_record pos, bool record);
// A note of kind 0-2; returns the entity marked referenced (null: none).
void* xref_note_use(int kind, symbol_entry* s, source_pos_record pos);
// Writes the line and sets the symbol's referenced flag.
void xref_mark(int kind, symbol_entry* s, source_pos_record pos);
