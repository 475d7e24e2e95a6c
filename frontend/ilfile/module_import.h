// Module lookup and import for USE: the module file is found along the "-M"
// directories and read with the IL reader, whose symbol records become the
// symbols of a scope level pushed for the import; a module known already
// (defined earlier in the source, or read before) has its export list put on
// that level again.
#pragma once

#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"

// Pushes the import level and fills it with the module's exported symbols;
// returns the module symbol (class 13, level 0). A module that cannot be
// found or read ends the run; a symbol of another class is error 343.
symbol_entry* use_module(symbol_entry* module_symbol, name_pos_record name);

// Whether a module symbol can be used: class 13 and not a module whose
// definition is still open.
bool usable_module(const symbol_entry* module_symbol);

// The IL reader's symbol action for module files: one symbol of the module
// at the import level, bound to its entity.
void module_symbol_import(atom* name, int symbol_class, void* entity);

// The IL reader's atom action for module files: the front end's own atom.
atom* module_atom_allocate(const char* text);

// The module symbol (class 13, level 0) that a name stands for, or null.
symbol_entry* known_module_symbol(atom* name);
