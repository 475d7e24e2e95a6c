// Resolving a procedure reference: the global record it matches, and the
// classification of a name as intrinsic, external or dummy routine.
#pragma once

#include <cstdint>

#include "checker/common/symtable.h"

struct locsym;

// Resolves the procedure sym: 1 when it was matched to a global function
// or subroutine record (copied into *rec, its number in *recno), else 0.
int32_t getfun(locsym* sym, symrec* rec, int32_t* recno);
