// Checks of the character search and lexical comparison functions (INDEX,
// SCAN, VERIFY, LGE, LGT, LLE, LLT, LEN), the inquiry functions, the status
// inquiries (ALLOCATED, ASSOCIATED, PRESENT) and the intrinsic subroutines
// (DATE_AND_TIME, MVBITS, RANDOM_NUMBER, RANDOM_SEED, SYSTEM_CLOCK). The
// handlers are declared with the others in intrinsic_check.h.
#pragma once

#include "frontend/semantics/intrinsic_check.h"
