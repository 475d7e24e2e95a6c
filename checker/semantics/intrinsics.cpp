// The intrinsic tables: none known yet.
#include "checker/semantics/intrinsics.h"

const intrin_generic* findgeneric(const char*, const intrin_generic*) { return nullptr; }
const intrin_spec* const* intrin_find_specific(const intrin_generic*) { return nullptr; }
int32_t specificIntrinIsAcceptable(const intrin_spec* const*) { return 0; }
int32_t isIntrinsicSub(uint32_t) { return 0; }
uint8_t changeinftyp(uint8_t code) { return code; }
int32_t arglist_intrinsic(locsym*, int32_t, int32_t) { return 0; }
