// Type declarations of tarvo: the type selector of an intrinsic type, the
// entity declarator with its array specification and length, and the
// KIND= and LEN= selectors.
#pragma once

#include <cstdint>

#include "checker/base/symbols.h"
#include "checker/common/dtype.h"
#include "checker/reader/dispatch.h"

struct locsym;


// One dimension of an array specification. Bound flags: 1 lower bound not
// constant, 2 lower invalid, 4 upper not constant, 8 upper "*", 16 upper
// absent, 32 dummy's last dimension of equal bounds, 64 upper invalid,
// 128 deferred.
struct ArrDimSpec {
  int32_t lower;
  int32_t upper;
  uint8_t flags;
  uint8_t second;
};
// An array specification as read; shape 1 explicit, 2 assumed shape,
// 4 deferred, 8 assumed size, 0 none of these.
struct ArraySpec {
  int32_t rank;
  uint8_t shape;
  ArrDimSpec dims[MAX_DIMS];
};

// Entity declarator flags.
enum : int32_t {
  GD_FUNCRESULT = 1,  // function results allowed
  GD_EXTERNAL = 2,    // EXTERNAL names allowed
  GD_COMMON = 4,      // COMMON context
  GD_DEFERRED = 8,    // a deferred shape is required
  GD_NODUMMY = 16,    // dummy arguments excluded
  GD_EXPLICIT = 32    // an explicit shape is required
};

// Reads "(" dimensions ")" at stacol; null when no "(" stands there or the
// specification cannot be read. The token after it is the current one.
ArraySpec* get_array_spec(int32_t flags, locsym* sym);
// Stores spec in sym (242 when given again alike, 11 when different).
void copy_array_spec(int32_t col, locsym* sym, const ArraySpec* spec);
// One entity declarator: 0 accepted, -1 reported (skip it), -2 syntax error.
int32_t getdec(locsym** out, int32_t flags);
// A component of the innermost open definition: its name (or %FILL in a
// STRUCTURE) and array specification; 0, or -2 after a syntax error.
int32_t addfld(locsym** out, int32_t flags);
// KIND= selector of a type class; the kind, 0, or -2 when unreadable.
int32_t get_kind_selector(int32_t tclass, int32_t required);
// LEN= selector; the length, 0 for "*" or a length not known.
int32_t get_len_selector(int32_t required);

// INTEGER, REAL, DOUBLE PRECISION, COMPLEX, DOUBLE COMPLEX, LOGICAL,
// CHARACTER and BYTE declarations.
// The length "*" n at the current position (see lenspec): the length, -4
// when none is written, -3 after a message.
int32_t read_length_spec();
// The parenthesised selector after a type keyword (the "(" is next):
// length and kind as written; false after a message that ends the
// statement.
bool read_type_selector(int32_t tclass, int32_t& length, int32_t& kind);
// The type of a prefixed FUNCTION statement after its keyword.
bool read_prefix_type(int32_t tclass, dtdesc* out);

int32_t shvardec_decl(const StmtCall& c);
// TYPE (name) declarations.
int32_t shvardec_type(const StmtCall& c);
