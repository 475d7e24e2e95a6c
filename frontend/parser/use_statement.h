// The USE statement: the module's entities are brought onto an import level
// (use_module) and bound to names of the current unit, which receives its own
// copies of their IL entries.
#pragma once

#include "frontend/model/decl_context.h"
#include "frontend/model/symbols.h"

// Binds one local name to a module entity: local is the unit's symbol of the
// name (or null), entity the module's symbol (null: not in the module, 474),
// module the module symbol.
void import_entity(symbol_entry* local, name_pos_record name, symbol_entry* entity,
                   symbol_entry* module);

// The file scope's record of a used module: a copy of the module's object
// without scope and symbol, made on first use.
object* use_module_object(object* module);
