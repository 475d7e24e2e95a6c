// Specification statements other than type declarations (IMPLICIT, SAVE,
// NAMELIST): their handlers and the unit flags they keep.
#pragma once

#include <cstdint>

#include "checker/base/symbols.h"
#include "checker/reader/dispatch.h"

struct locsym;


// Statement code of IMPLICIT NONE.
constexpr int32_t ST_IMPLICITNONE = 41;
// Gives sym the access bit, taking the other away (not for a COMMON block).
void update_access(locsym* sym, uint32_t bit);


int32_t shimplic(const StmtCall& c);
int32_t shsave(const StmtCall& c);
int32_t shname(const StmtCall& c);
int32_t shparam(const StmtCall& c);
int32_t shaccess(const StmtCall& c);
