// Expression evaluation of tarvo: getmeta reads one expression from the
// current statement and works out what can be known about it (type, rank,
// constant value) without building a tree; getvar and getcon read its
// operands. Callers pass the kinds of operand they accept and receive the
// kind they got; the got_ globals describe the last expression read.
#pragma once

#include <cstdint>
#include <vector>

#include "checker/common/dtype.h"
#include "checker/semantics/constarith.h"

struct locsym;

// Kind word: as an argument, what is accepted; as a result, what was read.
enum : uint32_t {
  EK_VALUE = 0x1,           // scalar value
  EK_SCALARVAR = 0x2,       // scalar variable
  EK_ARRAY = 0x4,           // whole array
  EK_PROC = 0x8,            // procedure name
  EK_STRUCT = 0x10,         // scalar structure
  EK_CONSTVAL = 0x20,       // compute the values of literals (argument)
  EK_STRUCTARRAY = 0x40,    // whole array of structures
  EK_BOUNDS = 0x80,         // operands are bounds (argument)
  EK_FUNC = 0x100,          // scalar function reference (result)
  EK_SECTION = 0x200,       // array section
  EK_ARRCOMP = 0x400,       // array-valued structure component
  EK_ARRAYEXP = 0x800,      // array-valued expression
  EK_ARRFUNC = 0x1000,      // array-valued function reference (result)
  EK_MATCHES = 0x2000,      // .MATCHES. and .CONTAINS. accepted (argument)
  EK_GTENDS = 0x4000,       // ">" ends the expression (argument)
  EK_DATASLASH = 0x8000,    // "/" before "," or the end ends it (argument)
  EK_CTX1 = 0x10000,        // statement-context flags for getvar
  EK_CTX2 = 0x20000,
  EK_CONSITEM = 0x40000,    // item of an array constructor: "/)" ends it
  EK_STRUCTCONS = 0x80000,  // structure constructor
  EK_STRUCTEXP = 0x100000,  // structure-valued expression
  EK_STRUCTARREXP = 0x200000  // array-of-structures-valued expression
};

// One operand record of the evaluation stack.
struct exprec {
  int32_t level;     // paren level when pushed; -1 the base of one getmeta
  int8_t opr;        // code of the operator that follows the operand
  uint32_t oprcol;   // column of that operator
  uint32_t kind;     // kind word of the operand
  uint32_t col;      // column of the operand (messages about it)
  locsym* usrop;     // symbol of a defined operator
  typedval v;        // rank, type, flags and value
};
constexpr int32_t EXPSTACK = 5000;

// Description of the last expression read.
extern dtdesc got_typ;           // type of the result
extern conval got_val;           // its value
extern uint32_t got_ok;          // value known
extern uint32_t got_con;         // constant expression
extern int32_t got_arrsecdims;   // rank of the result
extern locsym* got_sym;          // single variable/procedure/structure, or user operator
extern int32_t got_arrelm;       // elements (1 for a scalar)
extern int32_t got_arrpos;
extern int32_t got_epflags;      // 0 plain, 1 scalar function, 2 array function
extern locsym* got_structfld;    // structure of the last component
extern locsym* got_field;        // last component of the last reference getvar read
extern bool got_field_unknown;   // that reference named a component of a type not known here
extern int32_t got_recstrbeg;    // columns spanned by a component chain
extern int32_t got_recstrend;
extern locsym* got_toprec;       // first structure of a chain
extern int32_t usdexpstack;      // highest stack index reached
extern int32_t argisquoted;      // the last literal operand was a character constant
extern int32_t vhs;              // getvar read a substring
extern int32_t charsubsize;      // its length, 0 when unknown
extern int32_t dnkind;           // kind written with the last literal, else 0
// Extents of the array or section that the outermost getvar read last, one
// per dimension of the result (-1 when not a known constant); empty for a
// scalar or a reference to a component.
extern std::vector<int32_t> got_extents;

// Reads one expression; the kind word of what was read, 0 on failure.
uint32_t getmeta(uint32_t accepted);
// Applies the operator of left to left and right; the result is in right.
void doexp(exprec* left, exprec* right);
int32_t is_exp(uint32_t kind);
int32_t is_arrayexp(uint32_t kind);
int32_t get_array_rank(const locsym* sym);
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

// The unit's default type code of a type class (TC_), or fallback before
// the unit has set its defaults; a plain descriptor of a type code.
uint8_t expr_default_code(int32_t tclass, uint8_t fallback);
dtdesc expr_type(uint8_t code);

// Resets the stack and the globals (tests).
void expr_reset();
