// Derived-type definitions of tarvo: TYPE name ... END TYPE with SEQUENCE,
// and the state of the definitions open while a unit is read (they nest).
#pragma once

#include <cstdint>

#include "checker/base/symbols.h"
#include "checker/reader/dispatch.h"

struct locsym;

constexpr int32_t MAX_STRUCT_LEVELS = 100;


// One open TYPE or STRUCTURE definition.
struct StructLevel {
  uint8_t private_seen;  // PRIVATE given inside the definition
  locsym* type;          // the type symbol
  void* last_field;      // tail of the type's component list
};

// A derived type named by TYPE(name) before its definition.
struct FwdType {
  int32_t resolved;  // 0 while open; a resolved entry may be reused
  locsym* sym;       // the type symbol
  int32_t level;     // scope level at which it was named
};
constexpr int32_t MAX_FWDTYPES = 75;

struct DerivedTypeState {
  int32_t structdepth;                       // open definitions, 0 outside
  StructLevel structs[MAX_STRUCT_LEVELS + 1];  // levels 1..structdepth
  FwdType fwdtypes[MAX_FWDTYPES];            // forward types of the unit
  int32_t n_fwdtypes;                        // entries in use
};
extern DerivedTypeState dts;

// Forgets every open definition and forward type (start of a unit, tests).
void dertype_reset();

// Records a type named before its definition (once; a 76th is not kept).
void AddFwdType(locsym* sym);
// At the end of a specification part or a scope level: types still not
// defined that were named at this level or deeper (all of them when final
// is set) are reported (853) and resolved; with final the list empties.
void ProcFwdTypes(int32_t final);
// Empties the list of forward types.
void ResetFwdTypes();

// TYPE [[, access] ::] name
int32_t shtype(const StmtCall& c);
// END TYPE [name]
int32_t shendtype(const StmtCall& c);
// SEQUENCE
int32_t shsequence(const StmtCall& c);
// STRUCTURE [/name/] [fields], END STRUCTURE and RECORD /name/ list of
// the vendor dialect (structstmt.cpp).
int32_t shstruct(const StmtCall& c);
int32_t shendstruct(const StmtCall& c);
int32_t shrecord(const StmtCall& c);
