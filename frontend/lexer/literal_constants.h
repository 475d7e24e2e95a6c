// The literal constructors that the scanner calls for integer, real,
// logical, character and BOZ literals, with their range checks; each fills
// the scanner's token_constant.
#pragma once
#include <cstdint>

#include "frontend/model/const_value.h"

// Literal constructors: read token_text and the literal marks of the scanner
// and fill token_constant.
void scan_int_literal();
void scan_real_literal();
void scan_logical_literal();
void scan_char_literal();
void scan_boz_literal();
// The value of the current literal's kind parameter; *failed set after an
// error was reported.
int32_t scan_kind_param(bool* failed);
// The unsigned 32-bit value of a digit string; *overflow set when it does not
// fit.
uint32_t decimal_value(const char* digits, const char* end, bool* overflow);
