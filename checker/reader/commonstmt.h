// DIMENSION and COMMON statements and the member list of a COMMON block.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

struct locsym;

// One member of a COMMON block (the block symbol's list, in order).
struct ComMember {
  locsym* sym;      // the member
  int32_t line;     // line of the COMMON statement that named it
  ComMember* next;  // next member
};

int32_t shdim(const StmtCall& c);
int32_t shcommon(const StmtCall& c);
