// Module files: a module's IL in the IL text format, one file
// per module in the first module directory.
#pragma once

#include "frontend/model/il_entries.h"

// Writes the module file of a module object (storage class sc_module).
void module_write(il_header* header, object* module);
