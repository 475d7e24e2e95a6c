// The actual-argument record of one procedure or intrinsic reference: the
// argument-list reader makes one per argument (pool "actargs") and the
// intrinsic rules and folding functions read the list it builds.
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"
#include "checker/common/qualcodes.h"  // AC_ codes: how an argument is passed

struct locsym;

struct actarg {
  uint32_t form;      // form word of the parsed argument (kind bits of getmeta)
  int32_t col;        // the argument's column
  int32_t position;   // 0 to 29; a keyword argument's keyword position
  int32_t glostruct;  // checked against global structure records
  int32_t size;       // storage size in bytes, 0 unknown
  int32_t kind;       // AC_ code
  int32_t rank;
  bool rank_unknown;  // rank 0 only because a function's result rank is not known here
  dtdesc type;
  uint32_t valok;     // value known
  uint32_t con;       // constant expression
  conval value;       // by the store class of the type
  locsym* sym;        // symbol of a name argument
  locsym* field;      // its last component when the argument is a component reference
  bool field_unknown; // a component of a type not known here
  actarg* next;
  void* hpfdist;      // HPF distribution list of the actual
  uint32_t present;   // 1 when given (0 for a position filled by rearranging)
};

// A folding function of an intrinsic: reads the actual list, writes the
// result's value into *value (store class of *result) and returns 1, or
// returns 0 when the reference is not folded.
using intrin_fold_fn = int32_t (*)(const actarg* first, const dtdesc* result, conval* value);

// Copies what the expression reader found (the got_ values, the form it
// returned and the argument's symbol) into the actual's record.
void take_expression(actarg* a, uint32_t form, locsym* sym);

// Whether the actual a names a pointer: a component reference by its last
// component's POINTER attribute, a name by its own (or as an integer
// pointer). -1 when it is not known (a component of a type not known here,
// or no name).
int32_t actual_is_pointer(const actarg* a);
