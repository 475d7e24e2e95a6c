// Type specifiers: INTEGER, REAL, COMPLEX, LOGICAL with their kind selectors,
// DOUBLE PRECISION, CHARACTER with its length and kind, TYPE(name), and the
// length that may follow an entity name; each turns into a canonical IL type.
#pragma once
#include <cstdint>

#include "frontend/lexer/scanner.h"
#include "frontend/model/il_entries.h"

struct TypeSpecState {
  type* declared_type;       // result of the last specifier (error type after a failure)
  bool char_star_form;       // CHARACTER's length was written as *len
  type* cur_derived_type;    // the derived type whose definition is open, or null
  scan_cursor before_next;   // the scanner before the token after the specifier
};
extern TypeSpecState type_spec;

// Forgets the open definition and the last result (per compilation).
void type_spec_reset();

// Every parser starts with the current token on the type keyword (the length
// form on the "*"), leaves the first token after the specifier current and
// stores its result in type_spec.declared_type. flags: the scan mode of the
// token after the specifier. 0 after a syntax error.
int parse_type_spec(uint32_t flags);
int parse_integer_type_spec(uint32_t flags);
int parse_real_type_spec(uint32_t flags);
int parse_complex_type_spec(uint32_t flags);
int parse_logical_type_spec(uint32_t flags);
int parse_character_type_spec(uint32_t flags);
int parse_derived_type_spec(uint32_t flags);
// The type specifier of an IMPLICIT letter group: a selector is read only
// when implicit_has_selector says one follows.
int parse_implicit_type_spec(uint32_t flags);
// After a type keyword in IMPLICIT: "*" or "(...)" followed by "(".
bool implicit_has_selector();
// The inside of ( [KIND=] expr ), the current token just after "("; ok
// cleared after a failure (reported, or silent after an earlier error).
int32_t parse_kind_selector(bool* ok);
// *n, *(expr), *(*) after a type: the current token on "*"; the result, a
// character type made from base (a non-character base comes back as it is).
type* parse_char_length(type* base, uint32_t flags);
// True when the current name token spells text (case folded unless names
// are case-sensitive).
bool token_name_equals(const char* text);
// The assignment operator (eok_) of a statement-function result type, or 0.
int assign_operator_for_type(type* t);
// True for the keyword codes that start a type specifier in a declaration.
bool is_type_spec_keyword(int code);
