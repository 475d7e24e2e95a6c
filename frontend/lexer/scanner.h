// The token scanner: turns the text of the current statement, as source input
// assembled it in the statement buffer, into tokens on demand. The mode bits
// given to scan_token say how ambiguous characters read at that point of the
// grammar. Fixed and free source form are handled here at the level of
// blanks, comments and continuations.
#pragma once
#include <cstdint>

#include "frontend/lexer/literal_constants.h"
#include "frontend/base/source_pos.h"
#include "frontend/model/tokens.h"
#include "frontend/model/il_entries.h"

// Scan mode bits (scan_flags); any combination may be given.
enum scan_mode_bits : uint32_t {
  scan_quiet_bit = 0x1,          // no diagnostics, no atoms, no literal values
  scan_keyword_bit = 0x2,        // a word at the token start may be a keyword
  scan_label_bit = 0x4,          // a digit string is a statement label
  scan_single_slash = 0x8,       // "/" is always "/"
  scan_single_star = 0x10,       // "*" is always "*" (no "**")
  scan_format_letter = 0x20,     // a letter is returned alone as token 9
  scan_single_dot = 0x40,        // "." is always the token "."
  scan_integer_only = 0x80,      // "." and D/E end a digit string
  scan_no_hollerith = 0x100,     // "H" ends a digit string
  scan_specifier_bit = 0x200,    // name "=" is looked up as a specifier keyword
  scan_no_char_kind = 0x400,     // name "_" quote is no kind-prefixed string
  scan_construct_name = 0x800,   // name ":" is token 8
  scan_single_lparen = 0x1000,   // "(" is always "(" (no "(/")
  scan_no_slash_rparen = 0x2000, // "/)" is not recognised
  scan_keyword_arg = 0x4000,     // name "=" is token 1 and the "=" is consumed
  scan_no_kind_suffix = 0x8000,  // numbers take no "_" kind
  scan_signed_numbers = 0x10000, // "-" before a number belongs to it
};

// The common settings by name.
inline constexpr uint32_t quiet_mode = 0x1;
inline constexpr uint32_t keyword_mode = 0x2;
inline constexpr uint32_t label_mode = 0x4;
inline constexpr uint32_t construct_name_mode = 0x800;
inline constexpr uint32_t expression_mode = 0x10000;
inline constexpr uint32_t argument_list_mode = 0x14000;
inline constexpr uint32_t do_label_mode = 0x184;
inline constexpr uint32_t goto_label_mode = 0x185;
inline constexpr uint32_t format_mode = 0xB0E8;

// Where the parts of the current literal lie in token_text (offsets; -1 when
// absent). Cleared at the start of every token.
struct literal_marks {
  int digits_start, digits_end;  // the digit string of a number
  int exponent_start;            // first character after the exponent letter
  bool exponent_is_d;            // the exponent letter was D
  int kind_start, kind_end;      // the kind parameter (after or before "_")
  bool kind_is_digits;           // the kind is a digit string (else a name)
  int quote_start;               // the opening quote of a character constant
  char quote_char;               // its quote character
  int quote_end;                 // one past the closing quote
};

// What a look-ahead saves and puts back: the scan position and the current
// token with its position, and the position of the next diagnostic.
struct scan_cursor {
  char* scan_ptr;
  char* token_start;
  int cur_token;
  source_pos_record token_pos;
  source_pos_record err_pos;
};

struct ScanState {
  char* scan_ptr;             // next character of the statement buffer
  char* token_start;          // first character of the current token
  int cur_token;              // code of the current token
  source_pos_record token_pos;  // position of the current token's first character
  ::atom* token_atom;         // name, label, operator or dot word just read
  source_pos_record token_name_pos;  // position of the token that set token_atom
  bool scan_quiet;            // the running scan_token call is quiet
  bool lower_case_check;      // the lower-case warning is still armed
  bool continuation_guard;    // no further source line may be read
  uint32_t token_length;      // characters in token_text
  literal_marks marks;        // parts of the current literal
  unsigned char char_class[256];  // class of every byte (see scanner.cpp)
  bool attention[256];        // bytes that need the separator routines
};
extern ScanState scan;
extern char token_text[];            // the current token's characters, NUL-ended
extern const_value token_constant;   // value of the current literal token

// Once per run after the command line: tables built for the source form and
// the warnings asked for; scanner and source-input state reset.
void scanner_init();
// Scans the next token with the mode bits flags; returns its code (also in
// scan.cur_token); err_pos becomes the token's position.
int scan_token(uint32_t flags);
// Skips blanks, comments and continuations without scanning a token.
void scan_skip_blanks();
// The next significant character, not consumed.
char scan_peek_char();
// Which of up to three token codes comes first at depth 0 before the end of
// the statement (184 marks an empty slot): 1, 2, 3, or 0 when none. Moves the
// scan position (callers restore it).
int scan_find_first(int t1, int t2, int t3);
// scan_find_first of t alone, optionally after one quiet token, with the
// scanner put back afterwards.
int scan_peek_for(int t, bool skip_first);

scan_cursor scan_save();
void scan_restore(const scan_cursor& c);

// The token position of a pointer into the statement buffer.
source_pos_record scan_position_of(const char* p);
void scan_warning_at(int msg, const char* p);
void scan_error_at(int msg, const char* p);
// The token code of a predefined name (case folded), 10 for another text
// beginning with ".", else 0.
int lookup_token_code(const char* text, uint32_t length);
