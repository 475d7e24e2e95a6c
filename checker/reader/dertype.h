// Derived-type definitions of tarvo: TYPE name ... END TYPE with SEQUENCE,
// and the state of the definitions open while a unit is read (they nest).
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

struct locsym;

constexpr int32_t MAX_STRUCT_LEVELS = 100;
// Attribute bit of a derived type declared SEQUENCE.
constexpr uint32_t ATTR_SEQUENCE = 0x2000;
// Extra-flag bit of a derived type named by TYPE(name) before its
// definition.
constexpr uint32_t EXTRA_TYPE_UNDEFINED = 1;

// One open TYPE or STRUCTURE definition.
struct StructLevel {
  uint8_t private_seen;  // PRIVATE given inside the definition
  locsym* type;          // the type symbol
  void* last_field;      // tail of the type's component list
};

struct DerivedTypeState {
  int32_t structdepth;                       // open definitions, 0 outside
  StructLevel structs[MAX_STRUCT_LEVELS + 1];  // levels 1..structdepth
};
extern DerivedTypeState dts;

// Forgets every open definition (start of a unit, tests).
void dertype_reset();

// TYPE [[, access] ::] name
int32_t shtype(const StmtCall& c);
// END TYPE [name]
int32_t shendtype(const StmtCall& c);
// SEQUENCE
int32_t shsequence(const StmtCall& c);
