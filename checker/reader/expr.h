// Expression evaluation of tarvo: getmeta reads one expression from the
// current statement and works out what can be known about it (type, rank,
// constant value) without building a tree; getvar and getcon read its
// operands. Callers pass the kinds of operand they accept and receive the
// kind they got; the got_ globals describe the last expression read.
#pragma once

#include <cstdint>
#include <vector>

#include "checker/base/exprstate.h"
#include "checker/common/dtype.h"
#include "checker/semantics/constarith.h"

struct locsym;

constexpr int32_t EXPSTACK = 5000;

// Extents of the array or section that the outermost getvar read last, one
// per dimension of the result (-1 when not a known constant); empty for a
// scalar or a reference to a component.
extern std::vector<int32_t> got_extents;

// Whether a character can continue a name.
bool is_name_char(int32_t c);
// True when the statement text at p is a name followed by "=" (not "==").
bool name_eq_at(int32_t p);

// Reads one expression; the kind word of what was read, 0 on failure.
uint32_t getmeta(uint32_t accepted);
// Applies the operator of left to left and right; the result is in right.
void doexp(exprec* left, exprec* right);
int32_t exp_isint(const dtdesc* type);
int32_t chk_expr_type(const dtdesc* a, const dtdesc* b);
int32_t check_subscript_type();
// 1 when a ":" stands at the outer level of the "(" list at the current
// token; the token state is left as it was.
int32_t itacolon();
void chkbinarith(exprec* left, exprec* right);
void chkunarith(exprec* right);
void chkcharopd(exprec* opd);
void chkbinrel(exprec* left, exprec* right);
void chklogopt(exprec* left, exprec* right);

// What getvar found.
struct varout {
  locsym* sym;       // the symbol referenced
  int32_t rank;      // rank of the reference
  bool rank_unknown; // a function reference whose result's rank is not known here
  uint32_t valok;    // value known (named constant, folded function)
  uint32_t con;      // constant
  conval value;
  int32_t nelem;     // element count
  dtdesc comptype;   // type of the last component of a structure reference
  int32_t comp;      // 1: comptype is set
};
// Reads a reference to a named entity; its kind code, 0 on failure.
uint32_t getvar(uint32_t accepted, varout* out);

// getcon option bits.
enum : int32_t {
  GC_REPORT = 0x1,     // report invalid literals (69)
  GC_NAMES = 0x2,      // a name may be a constant
  GC_VALUE = 0x4,      // compute the value
  GC_HAVETOKEN = 0x8,  // the first token is already read
  GC_KINDPREFIX = 0x10,  // a name may start a kind-prefixed character literal
  GC_KINDNAMED = 0x20    // the kind may be a named constant
};
// Reads a literal constant: its return code (0 not a literal; the token
// position is then restored).
int32_t getcon(int32_t opts, dtdesc* type, conval* value, uint32_t* valok);

// One subscript or triplet as the section reader saw it. A bound left out
// holds the declared bound of the dimension.
struct SectionSubscript {
  int32_t kind;    // 1 for a triplet, else 0
  int32_t lower;   // bounds and stride (1 when left out or not known)
  int32_t upper;
  int32_t stride;
  uint8_t flags;   // 0x1 lower left out, 0x2 lower not a known constant,
                   // 0x4 upper left out, 0x20 single subscript, 0x40 upper
                   // not a known constant, 0x80 stride not a known constant
};

// Subscripts and substrings of a reference to sym; rec, when given,
// receives what get_section_subscript read, extents the extent of each
// section dimension (-1 when not known).
int32_t get_section_subscript_list(locsym* sym, int32_t* nsections, int32_t* has_triplet,
                                   std::vector<int32_t>* extents = nullptr);
int32_t get_section_subscript(locsym* sym, int32_t dim, int32_t* is_section,
                              SectionSubscript* rec = nullptr);
int32_t get_substring(locsym* sym);

// Resets the stack and the globals (tests).
void expr_reset();
