// Keyword recognition: the spelling tables of the predefined names (statement
// keywords, specifier keywords, operator spellings) and keyword_match, which
// finds a statement keyword at the start of a fixed-form token.
#pragma once
#include <cstddef>

#include "frontend/model/tokens.h"

// One spelling of a predefined name with the token code it stands for.
struct keyword_row {
  const char* text;  // upper case, as in the name table
  int token;         // token code
};

extern const keyword_row statement_keyword_rows[98];   // codes 40-137
extern const keyword_row specifier_keyword_rows[37];   // codes 147-183
extern const keyword_row operator_spelling_rows[26];   // codes 22-39 and 5

// The atom spelling for an operator code 22-39 ("**" ... "="): a relational
// operator written with dots has the spelling of its symbolic form.
const char* operator_atom_spelling(int code);

// Fixed form, keyword mode: matches a keyword at scan.scan_ptr (blanks and
// tabs between letters ignored, the end of a line not crossed). On success
// sets the token text to the characters matched, moves scan.scan_ptr past the
// last matched letter and returns the code; else returns 0, changing nothing.
int keyword_match();

// The length of the first (shortest) keyword_match word that the text, with
// blanks and tabs skipped, begins with; its code goes to *code. 0 when none.
// Stops at NUL. Exposed for tests and for keyword_match itself.
size_t keyword_match_text(const char* text, int* code);
