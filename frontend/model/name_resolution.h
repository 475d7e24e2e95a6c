// Name resolution and symbol completion: the symbol a name denotes through
// aliases and host links, and what a symbol turns out to be once it is used
// or its unit's specification part ends.
#pragma once

#include "frontend/model/symbols.h"

// The symbol the name (first symbol of its chain) denotes at level, or null.
symbol_entry* resolve_alias_chain(symbol_entry* first, int level);
// The final target of a host link (class 31), or null.
symbol_entry* resolve_alias_link(symbol_entry* link);
// Whether the symbol, through its aliases and host links, names an array.
bool symbol_names_array(const symbol_entry* s);
// Whether a derived type came into its unit by USE (its module is another
// unit than the one that holds its symbol).
bool type_from_use(const type* t);
// Settles what a symbol is; returns it (or the alias target of a class 21).
symbol_entry* symbol_complete(symbol_entry* s);
// The predefined intrinsic function (class 9, then 7) of the symbol's name.
symbol_entry* find_intrinsic_function(symbol_entry* s);
// The predefined intrinsic subroutine (class 10, then 8) of the symbol's name.
symbol_entry* find_intrinsic_subroutine(symbol_entry* s);
