// The program-unit semantic pass: run once over the file scope
// after the whole source is parsed.
#pragma once

struct scope;

// Checks one IL scope: its entities, statements and contained units.
void check_unit(scope* s);
