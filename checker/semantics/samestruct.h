// Structural comparison of structures and derived types: global records
// against global records, local definitions against local definitions, and
// a global record against a local definition.
#pragma once
#include <cstdint>

struct locsym;

// Structural equality of two global structures: 0 differ, 1 equal, 2 equal
// and of the same name (or the same record).
int samestruct_GG(int32_t a, int32_t b);
// Structural equality of two local structure or derived-type definitions of
// the same storage class: components agree pairwise in data-type code,
// number of elements, character length (when both are known) and, for
// nested structures, recursively. 1 equal, 0 differ.
int samestruct_LL(const locsym* a, const locsym* b);
// Structural equality of a global structure record and a local definition:
// components agree pairwise in data-type code and storage size (a local
// component's size is computed first when it is still 0). 1 equal, 0 differ.
int samestruct_GL(int32_t g, locsym* l);
