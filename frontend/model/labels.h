// Statement labels and construct names as symbols (class 14): definitions and
// references kept consistent in their label kind (lk_).
#pragma once

#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"

// Label symbols: the second class word's bit 0 says the label is defined.
inline constexpr uint32_t labelf_defined = 1u << 0;

// The label symbol of a definition or a reference of kind lk (lk_). found is
// the symbol found for the label's name (null: none); xref_form is the
// cross-reference note kind of a reference (0 definition, 1 modification,
// 2 reference).
symbol_entry* label_reference(symbol_entry* found, name_pos_record* label_name, int lk,
                              bool is_definition, int xref_form);

// Defined by the block stack (frontend/parser): checks a label definition or
// reference against the open IF and DO blocks.
void check_label_block(symbol_entry* label_symbol, int defining, source_pos_record pos);
