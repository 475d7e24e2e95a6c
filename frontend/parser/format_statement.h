// The FORMAT statement: its specification is checked item by item and kept
// as a CHARACTER constant of canonical text (tokens joined without blanks,
// upper-cased outside character and Hollerith strings), attached to the
// statement's label where the I/O statements that name the label find it.
#pragma once
#include <cstdint>
#include <string>

#include "frontend/base/source_pos.h"

struct FormatState {
  std::string text;             // canonical text of the format items read so far
  bool bad;                     // the statement has an error: no more text is kept
  int32_t int_value;            // value of the last integer read by format_int
  bool int_signed;              // it had a sign
  source_pos_record int_pos;    // position of its digits
  source_pos_record sign_pos;   // position of its sign
  bool int_faulty;              // it is invalid (faulty literal, sign or zero refused)
};
extern FormatState format_state;

// Empties the text and clears every flag.
void format_state_reset();
// scan_token in FORMAT mode; the token's text is appended unless the
// statement is already bad or the token ends the statement.
int format_token();
