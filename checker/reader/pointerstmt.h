// POINTER statements: the attribute statement and the integer pointer
// statement of some dialects.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

// The POINTER bit of a symbol's attribute word.
constexpr uint32_t ATTR_POINTER = 0x2;

int32_t shpointer(const StmtCall& c);
int32_t shptr(const StmtCall& c);
int32_t which_POINTER(const StmtCall& c);
