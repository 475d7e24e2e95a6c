// Token reader of tarvo: reads the assembled statement (pstat) one token at
// a time. The position stacol is the only state besides the current token.
#pragma once

#include <cstdint>

enum TokType : int32_t {
  TT_NAME = 1,    // a name
  TT_DIGITS = 2,  // an unsigned digit string
  TT_CHAR = 3,    // a character constant
  TT_OTHER = 4,   // any other single character, the end of statement too
  TT_HOLL = 5     // a Hollerith constant
};

// The current token.
struct TokenState {
  int32_t stacol;      // position of the next unread character
  int32_t tokbeg;      // first byte of the current token
  int32_t toksiz;      // bytes it occupies
  int32_t tok1;        // its first byte (10 at the end of the statement)
  int32_t toktyp;      // TokType
  int32_t chartoklen;  // length of a character or Hollerith constant
  int32_t chartokval;  // where the constant's characters start
  int32_t clp;         // the byte behind the token
  int32_t errcol;      // position used by the next message
  int32_t tokbroke;    // wbreaks flags met inside a name
  int32_t GettingKeyToken;  // the keyword lookup reads the first token
  int32_t skipping;    // a statement is being skipped: no reports on names
};
extern TokenState tk;
// Saved token of pshtok/poptok (one level).
extern TokenState savtok;

// Message column: pstat position, or one of the special values below.
constexpr int32_t ERRCOL_NONE = 0;         // no place
constexpr int32_t ERRCOL_NOLINES = -30000; // place without source lines

void tokens_reset();
// A new source file starts: what the tokenizer remembers of the last one goes.
void tokens_new_source();
int32_t getokn();
void pshtok();
void poptok();
int32_t chk_endofline(int32_t read_first);
int32_t get_left_parenthesis(int32_t read_first);
int32_t get_right_parenthesis(int32_t read_first);
int32_t get_double_colon(int32_t read_first);
void skiptopar();
void skiptocomma();
void cksymlen(int32_t len);
// Portability notes: kept as hooks that report nothing.
void issue(int32_t note);
// Reads every remaining token of the statement without reporting on them
// (the statement is not analysed).
void skip_statement();
