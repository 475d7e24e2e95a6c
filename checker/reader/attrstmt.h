// Attribute statements ALLOCATABLE, TARGET, VOLATILE, AUTOMATIC, STATIC,
// EXTERNAL, INTENT and OPTIONAL.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

// Bits of a symbol's attribute word set by these statements.
constexpr uint32_t ATTR_ALLOCATABLE = 0x8;
constexpr uint32_t ATTR_TARGET = 0x4;
constexpr uint32_t ATTR_AUTOMATIC = 0x200000;
constexpr uint32_t ATTR_STATIC = 0x400000;
constexpr uint32_t ATTR_VOLATILE = 0x800000;
constexpr uint32_t ATTR_EXTERNAL = 0x80;
constexpr uint32_t ATTR_INTRINSIC = 0x100;
// Statement code of AUTOMATIC.
constexpr int32_t ST_AUTOMATIC = 3;

int32_t shallocatable(const StmtCall& c);
int32_t shtarget(const StmtCall& c);
int32_t shautostat(const StmtCall& c);
int32_t shvolatile(const StmtCall& c);
int32_t shextern(const StmtCall& c);
int32_t shintr(const StmtCall& c);
int32_t shintent(const StmtCall& c);
int32_t shoptional(const StmtCall& c);
