// User generic interfaces, defined operators and assignment: the records
// that INTERFACE blocks build, and generic resolution of a reference.
#pragma once

#include <cstdint>

#include "checker/common/symtable.h"
#include "checker/semantics/actargs.h"

struct locsym;

// Candidates of a reference to the generic sym from its interface's
// specific procedures (looked up in the global store); 0 when it has none.
int32_t intf_initovload(locsym* sym);
// The largest dummy count among the candidates.
int32_t intf_get_maxargs();
// Scores the candidates against one actual argument (keyword or null).
void intf_argmatch(int32_t position, const char* keyword, const actarg* arg);
// After each argument: -1 after message 834, else 0.
int32_t intf_chkNomatch(int32_t position);
// After the list: the chosen candidate's global record number, 0 none.
int32_t intf_matchargnum(int32_t nactuals);
// Message 696 when the choice is ambiguous.
void intf_chkAmbiguous(locsym* sym);
