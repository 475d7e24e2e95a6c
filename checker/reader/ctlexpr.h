// Expressions that control executable statements: the parenthesised
// condition of IF and WHERE, the selector of SELECT CASE, DO bounds and
// the index of a computed GO TO.
#pragma once

#include <cstdint>

// What the last control expression was.
struct CtlExpr {
  int32_t col;      // where it starts
  int32_t tclass;   // type class (TC_), 0 when unknown
  bool constant;    // a constant with a known value
  int32_t ivalue;   // its value when an integer constant
  double rvalue;    // its value when a real constant
};
extern CtlExpr ctl;

// Reads one expression into ctl; arrays are accepted when arrays is set.
// False when it could not be read (a message has been given).
bool read_ctl_expr(bool arrays);

// Reads "(" expression ")" (17 for a missing "(", 7 for a missing ")");
// the ")" is the current token afterwards. False when the statement has
// been given up.
bool read_paren_ctl_expr(bool arrays);

// True when the text from..to holds a reference to a function whose type
// is only implicit: an intrinsic function or a function of a module, whose
// types and values are not known here.
bool implicit_function_in(int32_t from, int32_t to);
