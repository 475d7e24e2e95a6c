// Questions about the program unit being read and its symbols: function
// results, PURE procedures, global variables and POINTER components.
#pragma once

#include <cstdint>

struct locsym;

// Attribute bits of a program-unit symbol that these questions read.
constexpr uint32_t ATTR_PURE = 0x10000000;       // PURE prefix
constexpr uint32_t ATTR_INTF_BODY = 0x2000000;   // procedure of an interface body

// 1 when the current unit is a function (or reads like one: a function
// symbol, or one whose name became its result) and sym is the unit itself
// or a result variable of it.
int32_t isFuncResult(const locsym* sym);
// 1 when the current unit is PURE; an interface body is not (0); any other
// unit is when its host is.
int32_t isInPureProc();
// 1 when sym stands for global storage: COMMON blocks, main programs,
// BLOCK DATA and modules; procedures without a host link; function results
// and other symbols that belong to a COMMON block; a component reached
// through a record takes the answer of the outermost record of the
// reference being read.
int32_t isGloVarOrSubobj(const locsym* sym);
// 1 when a structure or derived type has a POINTER component, directly or
// in a nested structure component; always 0 for Fortran 77.
int32_t hasPtrComponentInStruct(const locsym* structure);
