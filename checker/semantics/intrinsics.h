// The intrinsic procedures tarvo knows: a table of generic names sorted for
// binary search, for each generic its list of specific entries, and for
// each specific its argument and result types, the dialects and language
// levels in which it exists, a class code that selects special argument and
// result rules, a folding function and its argument keywords.
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"
#include "checker/common/qmalloc.h"
#include "checker/semantics/actargs.h"

struct locsym;

// One argument keyword: bit 0x10000000 of flags marks an optional
// argument; bits 16 to 23 describe the ranks it may have. A table ends
// with a row whose keyword is null.
struct intrin_kw {
  const char* keyword;
  uint32_t flags;
};

// A specific entry.
struct intrin_spec {
  const char* name;          // the entry's own name, as "f_abs_int"
  uint8_t nargs;             // positional maximum, 0 to 8
  uint32_t iclass;           // class code, 0 no special rule
  uint8_t argtype;           // data-type code; 19-22, 24 the default types
  uint8_t rettype;           // same coding; 0 for a subroutine
  uint32_t dialects;         // dialect bits; 0x8000 an HPF intrinsic
  uint8_t lang;              // 1 Fortran 77, 2 Fortran 90, 3 both
  intrin_fold_fn fold;       // or null
  const intrin_kw* keywords; // or null
};

// A generic: its name and its specific list, ended by a null pointer.
struct intrin_generic {
  const char* name;
  const intrin_spec* const* specs;
};

// The generic at name after prev (from the start when prev is null), or null.
const intrin_generic* findgeneric(const char* name, const intrin_generic* prev);
// The first specific of g's list that may be used now, or null.
const intrin_spec* const* intrin_find_specific(const intrin_generic* g);
int32_t specificIntrinIsAcceptable(const intrin_spec* const* pos);
int32_t isIntrinsicSub(uint32_t iclass);
// Default-kind codes 19-22 and 24 to the default types the options chose.
uint8_t changeinftyp(uint8_t code);

// Reads and checks the argument list of a reference to the intrinsic sym
// (qualifier SQ_INTRINSIC) from the current statement position right after
// its name; call is 1 for a CALL statement. Returns as the argument-list
// reader does: 0 when the reference ended early, 1, or 3 for an intrinsic
// whose result is an array. The result type and value are left in the
// got_/gota_ globals as for any function reference.
int32_t arglist_intrinsic(locsym* sym, int32_t litval, int32_t call);

// Keyword flag bits.
constexpr uint32_t KW_OPTIONAL = 0x10000000u;
constexpr uint32_t KW_ANYRANK = 0xff0000u;   // any rank, scalar included
constexpr uint32_t KW_ARRAY = 0xfe0000u;     // rank 1 or more

// The whole tables, for walks (tests, the INTRINSIC statement).
const intrin_generic* intrin_generics_begin();
const intrin_generic* intrin_generics_end();
// The generic's list position of the first specific usable now, as
// intrin_find_specific, for a name: null when the name is no intrinsic of
// the current dialect and language.
const intrin_spec* const* intrin_lookup(const char* name);
// 1 when sym, referenced as a procedure, is an intrinsic: a name that is
// not declared as anything else (array, dummy, EXTERNAL, statement
// function, procedure of this file, interface) and that the tables know
// for the current dialect; sym already classed SQ_INTRINSIC is one.
int32_t is_intrinsic_reference(const locsym* sym);
// Classifies sym as the intrinsic it names: qualifier SQ_INTRINSIC, class
// function or subroutine by the first usable specific.
void make_intrinsic(locsym* sym);

// The class rules of an intrinsic reference, called by arglist_intrinsic.
// Reads one actual argument at position pos of the specific; fills a.
int32_t intrin_get_actarg(actarg* a, const intrin_spec* spec, int32_t pos, int32_t litval);
// Records the use of a name passed at position pos (QB_ACT always).
void intrin_add_actarg_usage(int32_t pos, int32_t tokpos, const intrin_spec* spec, locsym* sym);
// The type expected at position pos; at position 0 it may move *cur to
// another specific of g's list. 0 after message 292 (report set), else 1.
int32_t intrin_get_dumarg_datatype(int32_t report, int32_t pos, const actarg* list,
                                   const actarg* a, const intrin_generic* g,
                                   const intrin_spec* const** cur, dtdesc* expected);
// The keyword's position in the specific's keyword table; -2 after 718,
// or without flags, name or table (no message then).
int32_t getIntrinArgKeywd(const char* name, int32_t col, const uint8_t* flags,
                          const intrin_spec* spec);
// The list in position order (copies in pool) when it is out of order.
actarg* intr_rearrange_actlist(actarg* list, qlist* pool);
// Checks that depend on the class for the argument a; 0 stops the checks.
int32_t intrin_check_misc(const intrin_spec* spec, const actarg* list, const actarg* a);
// The result type of the reference into *ret.
void intrin_set_ret_datatype(const actarg* list, const intrin_spec* spec, dtdesc* ret);
// The actual at position pos of the list, or null.
const actarg* get_arg_from_actlist(const actarg* list, int32_t pos);
int32_t intrinRetIsAConst(const intrin_spec* spec, const dtdesc* ret, int32_t allconst);
// The result's rank by class from the ranks per position (-1 not given).
int32_t get_intrin_ret_shape(const intrin_spec* spec, const int32_t* ranks, int32_t nranks);

// The value of the last intrinsic reference (after arglist_intrinsic).
extern conval gota_value;        // the folded value
extern uint32_t gota_valok;      // the value is known
extern uint32_t gota_const;      // the reference is a constant
extern int32_t gota_arrsecdims;  // rank of an array-valued result
extern bool gota_rank_unknown;   // the result's rank is not known (an argument's is not)
extern int32_t gota_propsize;    // propagated storage size
extern int32_t flag_propsize;    // the result size follows the first argument
