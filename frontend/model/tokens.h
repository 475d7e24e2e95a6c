// Token codes 0-184 that scan_token returns, and their written forms; the
// codes are fixed by tokens.def and shared with the predefined name table.
#pragma once

enum token_code : int {
#define TOKEN(code, name, text) name = code,
#include "frontend/model/tokens.def"
};

inline constexpr int token_code_count = 185;
inline constexpr int first_statement_keyword = tok_allocatable;  // 40
inline constexpr int last_statement_keyword = tok_write;         // 137
inline constexpr int first_specifier_keyword = tok_spec_access;  // 147
inline constexpr int last_specifier_keyword = tok_spec_unit;     // 183

// The written form of a token code: the keyword or operator as written, or a
// description ("name", "integer constant") for the token classes.
const char* token_written_form(int code);
