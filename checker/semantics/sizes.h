// Storage sizes of the unit's entities in bytes: variables, records of a
// STRUCTURE or derived type, and the structures themselves; -2 stands for
// a size that cannot be known (a bound or a length not constant).
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"

struct locsym;

// Elements of sym: 1 for a scalar, the product of the extents, 0 when a
// bound is not constant.
int32_t getnumele(const locsym* sym);
// Bytes of one value of a type: the length of a CHARACTER type, else the
// size of the data type (0 when not known).
int32_t gettypsiz(const dtdesc& type);
// The size of a variable (POINTER: 4), of a record (elements x structure
// size; POINTER: 4 x elements) and of a structure (the sum of its
// components); each is stored in the symbol and returned.
int32_t setsizvar(locsym* sym);
int32_t setsizrec(locsym* sym);
int32_t setsizstruct(locsym* structure);
// Sizes of every variable, record, structure and COMMON block of the
// current scope level, and the offsets of the COMMON members.
void setsizes();
