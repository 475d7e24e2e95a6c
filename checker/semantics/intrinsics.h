// The intrinsic procedures tarvo knows: a table of generic names sorted for
// binary search, for each generic its list of specific entries, and for
// each specific its argument and result types, the dialects and language
// levels in which it exists, a class code that selects special argument and
// result rules, a folding function and its argument keywords.
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"
#include "checker/semantics/actargs.h"

struct locsym;

// One argument keyword: bit 0x10000000 of flags marks an optional
// argument; bits 16 to 23 describe the ranks it may have. A table ends
// with a row whose keyword is null.
struct intrin_kw {
  const char* keyword;
  uint32_t flags;
};

// A specific entry.
struct intrin_spec {
  const char* name;          // the entry's own name, as "f_abs_int"
  uint8_t nargs;             // positional maximum, 0 to 8
  uint32_t iclass;           // class code, 0 no special rule
  uint8_t argtype;           // data-type code; 19-22, 24 the default types
  uint8_t rettype;           // same coding; 0 for a subroutine
  uint32_t dialects;         // dialect bits; 0x8000 an HPF intrinsic
  uint8_t lang;              // 1 Fortran 77, 2 Fortran 90, 3 both
  intrin_fold_fn fold;       // or null
  const intrin_kw* keywords; // or null
};

// A generic: its name and its specific list, ended by a null pointer.
struct intrin_generic {
  const char* name;
  const intrin_spec* const* specs;
};

// The generic at name after prev (from the start when prev is null), or null.
const intrin_generic* findgeneric(const char* name, const intrin_generic* prev);
// The first specific of g's list that may be used now, or null.
const intrin_spec* const* intrin_find_specific(const intrin_generic* g);
int32_t specificIntrinIsAcceptable(const intrin_spec* const* pos);
int32_t isIntrinsicSub(uint32_t iclass);
// Default-kind codes 19-22 and 24 to the default types the options chose.
uint8_t changeinftyp(uint8_t code);

// Reads and checks the argument list of a reference to the intrinsic sym
// (qualifier SQ_INTRINSIC) from the current statement position right after
// its name; call is 1 for a CALL statement. Returns as the argument-list
// reader does: 0 when the reference ended early, 1, or 3 for an intrinsic
// whose result is an array. The result type and value are left in the
// got_/gota_ globals as for any function reference.
int32_t arglist_intrinsic(locsym* sym, int32_t litval, int32_t call);
