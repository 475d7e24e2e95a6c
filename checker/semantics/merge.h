// The merge of a program unit into the global symbol table: each global
// entity of the unit (procedures with their dummy descriptors, COMMON
// blocks and their members, modules and their entities, derived types,
// named constants) finds the record of the same entity or gets a new one,
// and the differences met on the way are reported.
#pragma once

#include <cstdint>

#include "checker/common/symtable.h"

struct locsym;

// The declarations of the current unit (the global pass).
void merge1();
// The uses of the current unit (a local pass after a global pass).
void merge2();
// Joins the record of a variable with an EQUIVALENCE partner into the ring
// of the partner's record (at most 49 records, linked by their related-
// entity words).
void merge2_linkequiv(locsym* sym);
// At the end of merge2 in a contained unit: the host entities it refers
// to get records (or, for procedures, the unit's usage bits).
void addxref_pscope();
// Finds or makes sym's record and updates it in that sweep (1 and 4 COMMON
// blocks, 2 everything else, 0 host entities); *unitword receives the
// unit's record when the unit's own symbol is merged. The record number.
int32_t mergeit(locsym* sym, int32_t sweep, int32_t* unitword);
// The record of a structure or derived-type definition (made when none fits).
int32_t mergestruct(locsym* type);
// Fills r from sym (name, class, type, sizes, extra data by class).
void update_symbol(locsym* sym, symrec& r, bool fresh);
// The global form of a local type: a structure type names its record.
dtdesc glo_type(const locsym* sym);
