// The program-unit semantic pass: run once over the file scope
// after the whole source is parsed.
#pragma once

struct scope;
struct object;

// Checks one IL scope: its entities, statements and contained units.
void check_unit(scope* s);
// Checks one object's declaration (and a program unit's scope); 1 when it
// passed.
int check_entity_decl(object* o);
