// The EQUIVALENCE statement and its object reader.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

struct locsym;

// One EQUIVALENCE object as geteqv read it.
struct EqvItem {
  locsym* sym;        // the object
  int32_t nsub;       // subscripts given (0..7)
  int32_t subs[7];    // their values
  int32_t substart;   // substring start, 0 when none
  int32_t subend;     // substring end, 0 when none or not known
};

// Reads one object: 1 placed, 2 reported and ignored, 0 after a syntax
// error (the item is then not read to its end).
int32_t geteqv(EqvItem& it);
int32_t shequiv(const StmtCall& c);
