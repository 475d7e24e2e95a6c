// Typed constant arithmetic of tarvo: the 32-bit integer and double
// primitives on parser values, and the typed operations with which the
// expression evaluator folds constant expressions while it parses them.
// Nothing traps: integer overflow wraps, division by zero is message 179.
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"

struct locsym;

// A typed value: the value part of an operand record of the expression
// evaluator. The operations read and write these fields in place.
struct typedval {
  int32_t rank;      // 0 for a scalar (copied, not used by the arithmetic)
  dtdesc type;       // data type
  uint32_t valok;    // the value is known
  uint32_t con;      // the operand is a constant expression
  conval value;      // by the store class of the type
  int32_t spare[2];  // copied with the record
};

// One operand record of the expression evaluator's stack.
struct exprec {
  int32_t level;     // paren level when pushed; -1 the base of one getmeta
  int8_t opr;        // code of the operator that follows the operand
  uint32_t oprcol;   // column of that operator
  uint32_t kind;     // kind word of the operand
  uint32_t col;      // column of the operand (messages about it)
  locsym* usrop;     // symbol of a defined operator
  typedval v;        // rank, type, flags and value
};

// Parser integers: 32-bit two's complement, wrapping; each returns 0.
int32_t itopint(int32_t* r, int32_t v);
int32_t pintneg(int32_t* r, int32_t a);
int32_t pintadd(int32_t* r, int32_t a, int32_t b);
int32_t pintsub(int32_t* r, int32_t a, int32_t b);
int32_t pintmul(int32_t* r, int32_t a, int32_t b);
// Truncating division; INT32_MIN / -1 is INT32_MIN. b must not be 0.
int32_t pintdiv(int32_t* r, int32_t a, int32_t b);
int32_t pintcmp(int32_t a, int32_t b);  // -1, 0 or 1

// Parser reals: IEEE doubles.
int32_t ftopreal(double* r, uint32_t high, uint32_t low);
int32_t prealneg(double* r, double a);
int32_t prealadd(double* r, double a, double b);
int32_t prealsub(double* r, double a, double b);
int32_t prealmul(double* r, double a, double b);
int32_t prealdiv(double* r, double a, double b);
int32_t prealcmp(double a, double b);  // -1, 0 or 1

// Digit string of len characters in base (2..36) -> 0, or 2 at the first
// character that is no digit of the base. Overflow wraps.
int32_t atopint(const char* text, int32_t len, int32_t base, int32_t* r);

// Typed operations: left, right and result (which may be either operand).
int32_t promote(typedval* a, typedval* b);  // 1: both values known after it
void op_add(typedval* a, typedval* b, typedval* r);
void op_neg(typedval* a);
void op_mult(typedval* a, typedval* b, typedval* r);
void op_div(typedval* a, typedval* b, typedval* r, int32_t col);
void op_exp(typedval* a, typedval* b, typedval* r, int32_t col);
// Relational operators: 10 GT, 11 GE, 12 EQ, 13 NE, 14 LT, 15 LE.
void op_relop(typedval* a, typedval* b, typedval* r, int32_t opr);
