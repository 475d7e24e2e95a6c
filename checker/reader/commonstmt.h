// DIMENSION and COMMON statements and the member list of a COMMON block.
#pragma once

#include <cstdint>

#include "checker/base/symbols.h"
#include "checker/reader/dispatch.h"

struct locsym;


int32_t shdim(const StmtCall& c);
int32_t shcommon(const StmtCall& c);
