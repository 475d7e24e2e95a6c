// Specification statements other than type declarations (IMPLICIT, SAVE,
// NAMELIST): their handlers and the unit flags they keep.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

struct locsym;

// Flags of the program unit being read; reset when a unit begins.
struct SpecState {
  int32_t implic;     // an IMPLICIT statement with types was seen
  int32_t impnone;    // IMPLICIT NONE was seen
  int32_t blanksave;  // SAVE without a list was seen
  int32_t defaccess;  // default access of the module: 0 none, 1 PUBLIC, 2 PRIVATE
};
extern SpecState spec;
void spec_unit_reset();

// Statement code of IMPLICIT NONE.
constexpr int32_t ST_IMPLICITNONE = 41;
// Bits of a symbol's attribute word.
constexpr uint32_t ATTR_SAVE = 0x400;
constexpr uint32_t ATTR_PRIVATE = 0x800;
constexpr uint32_t ATTR_PUBLIC = 0x1000;
// Gives sym the access bit, taking the other away (not for a COMMON block).
void update_access(locsym* sym, uint32_t bit);

// One object of a NAMELIST group (the group's list).
struct NmlMember {
  locsym* sym;       // the object
  NmlMember* next;   // next object of the group
};

int32_t shimplic(const StmtCall& c);
int32_t shsave(const StmtCall& c);
int32_t shname(const StmtCall& c);
int32_t shparam(const StmtCall& c);
int32_t shaccess(const StmtCall& c);
