// The argument-list reader: every CALL and every function reference hands
// its procedure symbol to arglist, which reads the actual arguments, records
// their use and compares them with what is known of the procedure (a
// statement function's dummies, a global record, a generic interface).
// chkarg compares one actual with one dummy descriptor of a global record.
#pragma once

#include <cstdint>

#include "checker/common/symtable.h"
#include "checker/semantics/actargs.h"

struct locsym;

// Argument-kind table: names, articles and the dummy-by-actual matrix.
constexpr int32_t argkind_count = 8;
const char* argkind_name(int32_t kind);
const char* argkind_article(int32_t kind);
// How a dummy of kind dummy takes an actual of kind actual: 0 mismatch,
// 1 match, 2 compare types and shapes, 3 omitted actual, 9 impossible.
int32_t argkind_match(int32_t dummy, int32_t actual);

// Usage word of a dummy descriptor.
enum : uint32_t {
  AD_BYVALUE = 0x800,       // passed by value
  AD_NOCHECK = 0x1000,      // not checked
  AD_NOTYPECHECK = 0x2000,  // no type or shape check
  AD_OMITTABLE = 0x600,     // may be omitted
  AD_NOCOUNT = 0x400,       // also exempt from the count at the end
  AD_SETS = 0x40000000,     // the procedure sets it
};
// Attribute byte of a dummy descriptor.
enum : uint8_t { AD_DIMENSION = 1, AD_POINTER = 2, AD_OPTIONAL = 16 };

// Reads and checks one argument list from the current statement position
// right after the procedure's name; litval asks for literal values. *out
// is set to 0 (or to the symbol with which the caller goes on). Returns 0
// when the reference ended early, 1, or 3 for an intrinsic whose result is
// an array.
int32_t arglist(locsym* sym, int32_t litval, locsym** out);
// The same with the procedure's global record given (null: none); arglist
// passes what getfun finds.
int32_t arglist_with_record(locsym* sym, int32_t litval, locsym** out, const symrec* rec);

// The dummy descriptors of a function or subroutine record.
int32_t rec_ndummies(const symrec& rec);
argdesc rec_dummy(const symrec& rec, int32_t i);
// Stores descriptor i of rec (tests build records this way).
void rec_set_dummy(symrec& rec, int32_t i, const argdesc& d);

// Compares one actual with one dummy (messages 250 to 287, 59, 63, 751 to
// 754). glostruct: the actual's structure is a global record.
void chkarg(const actarg* a, int32_t isexp, int32_t iscon, const argdesc* d);
void chkarg_glostruct(const actarg* a, int32_t isexp, int32_t iscon, const argdesc* d);
// Ranks of an ARRAY actual and an ARRAY dummy (752, 753); 1 after a
// message, else 0.
int32_t argchk_rank(const actarg* a, int32_t akind, int32_t asize, const argdesc* d,
                    int32_t dkind);
// HPF distribution of an array actual against the dummy: 0 fine, -1 error
// (597), -2 warning (596) or not applicable.
int32_t chkarg_hpf(const locsym* actual, const argdesc* d, int32_t explicit_intf);
// A dummy left out of a list with keyword arguments: -1 after 681, else 0.
int32_t chkargnum(const symrec* rec, const uint8_t* given);
int32_t intf_chkargnum(const symrec* rec, const uint8_t* given);
// Position of the keyword name among rec's dummies, or -2 (682, 716).
int32_t getArgKeywd(const char* name, int32_t col, uint8_t* given, const symrec* rec);
// Statement-function argument against its dummy (55, 59, 63, 736).
void chksfarg(const dtdesc* atype, const dtdesc* dtype, int32_t isexp, int32_t iscon,
              int32_t set);
// Gives a function symbol the result type of its global record.
void assign_dt_generic(locsym* sym, const symrec* rec);
// A module procedure named in MODULE PROCEDURE but not (yet) defined.
int32_t is_undef_intf(const locsym* sym);

// One argument's text as the reference wrote it.
struct argtext {
  const char* text;  // a character constant's value, else the source text
  uint8_t quoted;    // 1 for a character constant
  argtext* next;
};
// One reference of a procedure: its source line and its arguments.
struct callrec {
  int32_t codlno;
  argtext* args;
  callrec* next;
};
// The references of sym recorded in this unit (the first, or null).
struct locdata2 {
  callrec* calls;
  callrec* last;
};
locdata2* get_locdata2(locsym* sym);
// Forgets the call records (each program unit starts afresh).
void arglist_unit_reset();
