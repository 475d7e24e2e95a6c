// The program-unit semantic pass: run once over the file scope after the
// whole source is parsed; it reaches every unit through the objects of the
// scopes it checks. Every check returns 1 when it passed, 0 after reporting;
// bit 31 of an entry's header marks it as examined.
#pragma once
#include <cstdint>

struct scope;
struct object;
struct statement;
struct interface;
struct alloc;
struct namelist_group;
struct input_output_description;

// Checks one IL scope: its entities, statements and contained units.
int check_unit(scope* s);
// Checks one object's declaration (and a program unit's scope); 1 when it
// passed.
int check_entity_decl(object* o);
// An external procedure checked before an interface body gave it its unit:
// the routine type with its dummies, and that unit.
int check_adopted_interface_body(object* o);
// One statement and the statements it holds, for the unit's routine.
int check_exec_stmt(statement* s, object* unit);
// A procedure of a generic operator or assignment interface.
int check_defined_op(object* procedure, interface* i);
// One item of ALLOCATE: its subscripts become its bounds.
int check_allocate(alloc* item, object* unit);
int check_namelist_group(namelist_group* g, object* unit);
// The control list of an I/O statement; inquire is 1 only for INQUIRE.
int check_io_control(input_output_description* d, int inquire, object* unit);
// A module procedure with a dummy or result of a derived type that is
// private to its module.
bool depends_on_private_type(object* procedure);

// The value of a named constant used as a kind parameter (*failure set when
// the name is no such constant); the scanner reads kind parameters through it.
int32_t named_kind_value(const char* text, uint32_t length, int* failure);
