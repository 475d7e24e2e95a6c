// What the expression reader says about the expression it read last: the
// kind word of operands (what a caller accepts, what was read) and the got_
// globals. The statement reader sets them; the semantic checks that read
// an expression through the reader (actual arguments) look at them too.
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"

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

// Description of the last expression read.
extern dtdesc got_typ;           // type of the result
extern conval got_val;           // its value
extern uint32_t got_ok;          // value known
extern uint32_t got_con;         // constant expression
extern int32_t got_arrsecdims;   // rank of the result
extern bool got_rank_unknown;    // that rank is not known: the result is 0 because a
                                 // function whose result's rank is not known here gives it
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

// Kind-word questions: an expression rather than a plain operand, an
// array-valued expression.
int32_t is_exp(uint32_t kind);
int32_t is_arrayexp(uint32_t kind);

// The unit's default type code of a type class (TC_), or fallback before
// the unit has set its defaults; a plain descriptor of a type code.
uint8_t expr_default_code(int32_t tclass, uint8_t fallback);
dtdesc expr_type(uint8_t code);

// The expression reader: reads one expression at the current token and
// returns the kind word of what it read, 0 on failure. The statement reader
// installs its reader when a run begins; read_expression calls it.
using ExpressionReader = uint32_t (*)(uint32_t accepted);
extern ExpressionReader expression_reader;
uint32_t read_expression(uint32_t accepted);
