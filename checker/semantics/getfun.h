// Resolving a procedure reference: the global record it matches, and the
// classification of a name as intrinsic, external or dummy routine.
#pragma once

#include <cstdint>

#include "checker/common/symtable.h"

struct locsym;

// Resolves the procedure sym: 1 when it was matched to a global function
// or subroutine record (copied into *rec, its number in *recno), else 0.
int32_t getfun(locsym* sym, symrec* rec, int32_t* recno);
// A global type as a local one: a structure type names the local
// structure of the same name; 0 when there is none or no type.
int32_t dtconvert_Glo2Loc(const dtdesc* glo, dtdesc* loc);
// A contained procedure named in its host's MODULE PROCEDURE statement:
// the record of that name (and the records of generic names among the
// procedures of the interfaces that list it) take the procedure's class.
void update_glointf(locsym* sym);
