// The token scanner: blanks, comments and continuations between and inside
// tokens, the token automaton over the character classes, names, numbers,
// Hollerith, character and BOZ constants, dot words, and the look-ahead
// helpers scan_find_first and scan_peek_for.
#include "frontend/lexer/scanner.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <unordered_map>

#include "frontend/base/diagnostics.h"
#include "frontend/base/options.h"
#include "frontend/lexer/keywords.h"
#include "frontend/lexer/source_input.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/names.h"

ScanState scan;

namespace {
// The program model reports implicit typing at the token being read.
[[maybe_unused]] const bool token_position_installed = (current_token_position = &scan.token_pos, true);
}  // namespace
char token_text[statement_buffer_size + 8];
const_value token_constant;

namespace {

constexpr uint32_t token_text_capacity = statement_buffer_size + 8;

// Character classes of the token automaton.
enum char_class_code : unsigned char {
  cc_nul,         // end of a line's text
  cc_letter,      // letters other than the ones below
  cc_exp_letter,  // D E d e
  cc_boz_letter,  // B O Z b o z
  cc_h_letter,    // H h
  cc_underscore,
  cc_digit,
  cc_comma,
  cc_dot,
  cc_colon,
  cc_semicolon,
  cc_percent,
  cc_apostrophe,
  cc_quote,
  cc_lparen,
  cc_rparen,
  cc_plus,
  cc_minus,
  cc_star,
  cc_slash,
  cc_less,
  cc_equal,
  cc_greater,
  cc_blank,       // blank, tab
  cc_other,       // "!", "&", "$", bytes above 127 and the rest
};

using uchar = unsigned char;

bool fixed() { return driver_options.fixed_form; }
int cls(char c) { return scan.char_class[static_cast<uchar>(c)]; }
bool is_letter_class(int k) { return k >= cc_letter && k <= cc_h_letter; }
bool is_letter(char c) { return is_letter_class(cls(c)); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_name_char(char c) { int k = cls(c); return is_letter_class(k) || k == cc_digit || k == cc_underscore; }
bool is_quote(char c) { return c == '\'' || c == '"'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
char upper(char c) { return static_cast<char>(name_fold[static_cast<uchar>(c)]); }
bool attention(char c) { return scan.attention[static_cast<uchar>(c)]; }
bool quiet() { return scan.scan_quiet; }

// ---- token text ----

void text_clear() {
  scan.token_length = 0;
  token_text[0] = '\0';
  scan.marks = literal_marks{-1, -1, -1, false, -1, -1, false, -1, 0, -1};
}

void put(char c) {
  if (scan.token_length + 1 < token_text_capacity) token_text[scan.token_length++] = c;
}

int text_pos() { return static_cast<int>(scan.token_length); }

// ---- blanks, comments and continuations ----

void lower_case_seen(const char* p) {
  scan.lower_case_check = false;
  for (int c = 'a'; c <= 'z'; ++c) scan.attention[c] = false;
  scan_warning_at(483, p);
}

void check_lower_case(char c) {
  if (scan.lower_case_check && is_lower(c)) lower_case_seen(scan.scan_ptr);
}

void warn_bang(const char* p) {
  if (driver_options.std_warnings && !quiet() && !src.bang_warned) {
    src.bang_warned = true;
    scan_warning_at(489, p);
  }
}

// Moves past the NUL at the end of a line's text to the next line of the
// statement: one already in the map, or one that source input reads now.
bool next_continuation_line(bool take_initial_line) {
  uint32_t offset = static_cast<uint32_t>(scan.scan_ptr - src.statement_buffer);
  for (int i = 0; i < src.map_count; ++i) {
    if (src.map[i].line_start > offset) {
      scan.scan_ptr = src.statement_buffer + src.map[i].text_start;
      return true;
    }
  }
  if (scan.continuation_guard) return false;
  return source_next_continuation(take_initial_line);
}

void skip_layout_blanks() {
  while (is_blank(*scan.scan_ptr)) {
    if (*scan.scan_ptr == '\t' && driver_options.std_warnings && !quiet() && !src.tab_warned) {
      src.tab_warned = true;
      scan_warning_at(482, scan.scan_ptr);
    }
    ++scan.scan_ptr;
  }
}

// "!" starts a comment: the rest of the line is skipped.
void skip_comment() {
  warn_bang(scan.scan_ptr);
  while (*scan.scan_ptr != '\0') ++scan.scan_ptr;
}

char* end_of_line(char* p) {
  while (*p != '\0') ++p;
  return p;
}

// At an "&" in free form: true when it continues the statement (the scan
// position then stands at the continued text), false when it is an ordinary
// character. between: the "&" stands between tokens.
bool free_form_continuation(bool between) {
  char* amp = scan.scan_ptr;
  char* eol = end_of_line(amp);
  scan.scan_ptr = eol;
  bool have_next = next_continuation_line(true);
  char* next_text = have_next ? scan.scan_ptr : nullptr;
  scan.scan_ptr = amp;
  bool accepted = have_next ? (between || *next_text == '&') : between;
  if (!accepted) return false;
  char* p = amp + 1;
  while (is_blank(*p)) ++p;
  if (*p == '!') {
    warn_bang(p);
  } else if (*p != '\0' && !quiet()) {
    scan_error_at(56, p);
  }
  if (have_next) {
    p = next_text;
    if (*p == '&') {
      ++p;
      while (is_blank(*p)) ++p;
      if ((*p == '\0' || *p == '!') && !quiet()) scan_error_at(25, next_text);
    }
    scan.scan_ptr = p;
  } else {
    if (!quiet() && !src.overflow) scan_error_at(210, amp);
    scan.scan_ptr = eol;
  }
  return true;
}

// Between tokens: returns the next significant character.
char skip_separators() {
  for (;;) {
    char c = *scan.scan_ptr;
    if (is_blank(c)) {
      skip_layout_blanks();
    } else if (c == '!') {
      skip_comment();
    } else if (c == '\0') {
      if (!fixed() || !next_continuation_line(false)) return c;
    } else if (c == '&' && !fixed()) {
      if (!free_form_continuation(true)) return c;
    } else {
      check_lower_case(c);
      return c;
    }
  }
}

// Inside a token, after a consumed character: returns the next character.
char skip_in_token() {
  for (;;) {
    char c = *scan.scan_ptr;
    if (c == '!') {
      skip_comment();
      if (!fixed()) return *scan.scan_ptr;
    } else if (!fixed()) {
      if (c == '&') {
        if (!free_form_continuation(false)) return c;
      } else {
        check_lower_case(c);
        return c;
      }
    } else if (is_blank(c)) {
      skip_layout_blanks();
    } else if (c == '\0') {
      if (!next_continuation_line(false)) return c;
    } else {
      check_lower_case(c);
      return c;
    }
  }
}

// At an "&" inside a character context (free form).
char character_context_continuation() {
  char* amp = scan.scan_ptr;
  char* p = amp + 1;
  while (is_blank(*p)) ++p;
  if (*p != '\0') return '&';  // text follows: the "&" is a character
  scan.scan_ptr = p;
  if (!next_continuation_line(true)) {
    if (!quiet() && !src.overflow) scan_error_at(210, amp);
    return *scan.scan_ptr;
  }
  if (*scan.scan_ptr == '&') {
    ++scan.scan_ptr;
  } else if (!quiet()) {
    scan_error_at(204, scan.scan_ptr);
  }
  return *scan.scan_ptr;
}

// Inside a character or Hollerith constant: the next character of its text.
char skip_in_character_context() {
  for (;;) {
    char c = *scan.scan_ptr;
    if (fixed()) {
      if (c != '\0' || !next_continuation_line(false)) return c;
    } else {
      return c == '&' ? character_context_continuation() : c;
    }
  }
}

// Consumes the current character into the token text; returns the next one.
char consume() {
  put(*scan.scan_ptr);
  ++scan.scan_ptr;
  char c = *scan.scan_ptr;
  return attention(c) ? skip_in_token() : c;
}

// Consumes the current character without keeping it.
char skip_char() {
  ++scan.scan_ptr;
  char c = *scan.scan_ptr;
  return attention(c) ? skip_in_token() : c;
}

char consume_in_character_context() {
  put(*scan.scan_ptr);
  ++scan.scan_ptr;
  return skip_in_character_context();
}

// Consumes the last character of a character or Hollerith constant. What
// follows it is no longer text of the constant: in free form an "&" there is
// an ordinary continuation, not one inside a character context. In fixed form
// a line end still leads to the next line, where a quote may double the
// closing one.
char consume_last_in_character_context() {
  if (fixed()) return consume_in_character_context();
  return consume();
}

// The next significant character after p without moving: blanks are skipped
// in fixed form, where a line end also leads to the next line already read.
const char* peek_after(const char* p) {
  if (!fixed()) return p;
  for (;;) {
    while (is_blank(*p)) ++p;
    if (*p != '\0') return p;
    uint32_t offset = static_cast<uint32_t>(p - src.statement_buffer);
    const line_map_record* next = nullptr;
    for (int i = 0; i < src.map_count; ++i) {
      if (src.map[i].line_start > offset) {
        next = &src.map[i];
        break;
      }
    }
    if (next == nullptr) return p;
    p = src.statement_buffer + next->text_start;
  }
}

// ---- keyword lookup ----

std::unordered_map<std::string, int>& keyword_codes() {
  static std::unordered_map<std::string, int> codes = [] {
    std::unordered_map<std::string, int> m;
    for (const keyword_row& r : statement_keyword_rows) m.emplace(r.text, r.token);
    for (const keyword_row& r : specifier_keyword_rows) m.emplace(r.text, r.token);
    for (const keyword_row& r : operator_spelling_rows) m.emplace(r.text, r.token);
    return m;
  }();
  return codes;
}

void intern_token_atom(const char* text, uint32_t length) {
  scan.token_name_pos = scan.token_pos;
  if (quiet()) return;
  if (!names.case_sensitive_identifiers) {
    for (uint32_t i = 0; i < length; ++i) token_text[i] = upper(text[i]);
    text = token_text;
  }
  scan.token_atom = name_intern(text, length);
}

// A faulty literal: the error constant, or the invalid token when quiet.
int faulty_literal(int code) {
  if (quiet()) return tok_invalid;
  const_init(&token_constant);
  return code;
}

// ---- literals ----

int scan_character_constant(int code) {
  char quote = *scan.scan_ptr;
  scan.marks.quote_start = text_pos();
  scan.marks.quote_char = quote;
  char c = consume_in_character_context();
  for (;;) {
    if (c == '\0') {
      if (!quiet()) scan_error_at(461, scan.token_start);
      return faulty_literal(code);
    }
    if (c == quote) {
      c = consume_last_in_character_context();
      if (c == quote) {
        c = consume_in_character_context();
        continue;
      }
      break;
    }
    c = consume_in_character_context();
  }
  scan.marks.quote_end = text_pos();
  if (!quiet()) scan_char_literal();
  return code;
}

int scan_boz_constant() {
  put(*scan.scan_ptr);
  ++scan.scan_ptr;
  char quote = *scan.scan_ptr;
  scan.marks.quote_start = text_pos();
  scan.marks.quote_char = quote;
  char c = consume_in_character_context();
  while (c != quote) {
    if (c == '\0') {
      if (!quiet()) scan_error_at(460, scan.token_start);
      return faulty_literal(tok_boz_const);
    }
    c = consume_in_character_context();
  }
  put(c);
  ++scan.scan_ptr;
  scan.marks.quote_end = text_pos();
  if (!quiet()) scan_boz_literal();
  return tok_boz_const;
}

int scan_hollerith() {
  bool overflow = false;
  uint32_t n = decimal_value(token_text + scan.marks.digits_start,
                             token_text + scan.marks.digits_end, &overflow);
  if (overflow || n > statement_buffer_size) n = statement_buffer_size;
  if (n == 0) {
    if (!quiet()) scan_error_at(495, scan.scan_ptr);
    consume_in_character_context();
    return faulty_literal(tok_hollerith);
  }
  char c = consume_in_character_context();  // the H
  for (uint32_t i = 0; i < n; ++i) {
    if (c == '\0') {
      if (!quiet()) scan_error_at(495, scan.scan_ptr);
      return faulty_literal(tok_hollerith);
    }
    c = i + 1 < n ? consume_in_character_context() : consume_last_in_character_context();
  }
  return tok_hollerith;
}

// After "_": a kind name or digit string; false when neither follows.
bool scan_kind(char c, char* next) {
  if (is_letter(c)) {
    scan.marks.kind_start = text_pos();
    scan.marks.kind_is_digits = false;
    while (is_name_char(c)) c = consume();
  } else if (is_digit(c)) {
    scan.marks.kind_start = text_pos();
    scan.marks.kind_is_digits = true;
    while (is_digit(c)) c = consume();
  } else {
    *next = c;
    return false;
  }
  scan.marks.kind_end = text_pos();
  *next = c;
  return true;
}

// The end of a real number: an optional "_" kind, then its value.
int finish_real(uint32_t flags, char c) {
  if (c == '_' && !(flags & scan_no_kind_suffix)) {
    c = consume();
    if (!scan_kind(c, &c)) {
      if (!quiet()) scan_error_at(109, scan.scan_ptr);
      return faulty_literal(tok_real_const);
    }
  }
  if (!quiet()) scan_real_literal();
  return tok_real_const;
}

// The exponent after its letter; returns the token code.
int scan_exponent(uint32_t flags, char c) {
  scan.marks.exponent_is_d = upper(c) == 'D';
  put(upper(c));
  c = skip_char();
  if (c == '+' || c == '-') c = consume();
  scan.marks.exponent_start = text_pos();
  if (!is_digit(c)) {
    if (!quiet()) scan_error_at(109, scan.scan_ptr);
    return faulty_literal(tok_real_const);
  }
  while (is_digit(c)) c = consume();
  return finish_real(flags, c);
}

// After the decimal point of a real number.
int scan_fraction(uint32_t flags, char c) {
  while (is_digit(c)) c = consume();
  if (cls(c) == cc_exp_letter) return scan_exponent(flags, c);
  return finish_real(flags, c);
}

// A digit string in label mode: the label without leading zeros.
int finish_label() {
  const char* digits = token_text + scan.marks.digits_start;
  int count = scan.marks.digits_end - scan.marks.digits_start;
  std::string label;
  if (count >= 6) {
    if (!quiet()) scan_error_at(310, scan.token_start);
    label.assign(digits + count - 5, 5);
  } else {
    int i = 0;
    while (i < count && digits[i] == '0') ++i;
    label.assign(digits + i, static_cast<size_t>(count - i));
    if (label.empty()) {
      if (!quiet()) scan_error_at(479, scan.token_start);
      label = "0";
    }
  }
  scan.token_length = static_cast<uint32_t>(label.size());
  std::memcpy(token_text, label.data(), label.size());
  scan.token_name_pos = scan.token_pos;
  if (!quiet()) scan.token_atom = name_intern(label);
  return tok_label;
}

int scan_number(uint32_t flags, char c) {
  scan.marks.digits_start = text_pos();
  while (is_digit(c)) c = consume();
  scan.marks.digits_end = text_pos();
  int k = cls(c);
  // Digits run directly into a letter that cannot continue the number.
  bool letter_ends_number = k == cc_letter || k == cc_boz_letter ||
                            (k == cc_exp_letter && (flags & scan_integer_only));
  if (letter_ends_number) {
    if (!fixed() && !quiet() && !(flags & scan_format_letter)) scan_warning_at(494, scan.scan_ptr);
  } else if (k == cc_exp_letter) {
    return scan_exponent(flags, c);
  } else if (k == cc_h_letter) {
    if (!(flags & scan_no_hollerith)) return scan_hollerith();
  } else if (c == '_') {
    if (!(flags & scan_label_bit) && !(flags & scan_no_kind_suffix)) {
      c = consume();
      if (is_quote(c)) {
        // The digit string before "_" is the kind of a character constant.
        scan.marks.kind_start = scan.marks.digits_start;
        scan.marks.kind_end = scan.marks.digits_end;
        scan.marks.kind_is_digits = true;
        return scan_character_constant(tok_char_const);
      }
      if (!scan_kind(c, &c)) {
        if (!quiet()) scan_error_at(108, scan.scan_ptr);
        return faulty_literal(tok_int_const);
      }
    }
  } else if (c == '.' && !(flags & scan_integer_only)) {
    const char* after = peek_after(scan.scan_ptr + 1);
    int ka = cls(*after);
    bool decimal_point;
    if (ka == cc_exp_letter) {
      const char* next = peek_after(after + 1);
      decimal_point = is_digit(*next) || *next == '+' || *next == '-';
    } else {
      decimal_point = !is_letter_class(ka);
    }
    if (decimal_point) return scan_fraction(flags, consume());
  }
  if (flags & scan_label_bit) return finish_label();
  if (!quiet()) scan_int_literal();
  return tok_int_const;
}

// "." and a letter: a dot word, closed by ".".
int scan_dot_word(char c) {
  while (is_name_char(c)) c = consume();
  if (c != '.') {
    if (!quiet()) scan_error_at(137, scan.token_start);
    return tok_invalid;
  }
  c = consume();
  int code = lookup_token_code(token_text, scan.token_length);
  if (code == tok_logical_const) {
    if (c == '_') {
      c = consume();
      if (!scan_kind(c, &c)) {
        if (!quiet()) scan_error_at(110, scan.scan_ptr);
        return faulty_literal(tok_logical_const);
      }
    }
    if (!quiet()) scan_logical_literal();
    return tok_logical_const;
  }
  if (code == tok_defined_op) {
    intern_token_atom(token_text, scan.token_length);
    return tok_defined_op;
  }
  scan.token_name_pos = scan.token_pos;
  if (!quiet()) scan.token_atom = intern_cstring(operator_atom_spelling(code));
  return code;
}

// The next significant character after a name, and where it stands.
char* after_name() {
  char* p = scan.scan_ptr;
  if (!fixed()) {
    while (is_blank(*p)) ++p;
  }
  return p;
}

int scan_name(uint32_t flags, char c) {
  for (;;) {
    if (c == '_') {
      c = consume();
      if (is_quote(c) && !(flags & scan_no_char_kind)) {
        // The name before "_" is the kind of a character constant.
        scan.marks.kind_start = 0;
        scan.marks.kind_end = text_pos() - 1;
        scan.marks.kind_is_digits = false;
        return scan_character_constant(tok_char_const);
      }
      continue;
    }
    if (!is_name_char(c)) break;
    c = consume();
  }
  uint32_t name_length = scan.token_length;
  char* p = after_name();
  if (*p == ':' && (flags & scan_construct_name)) {
    scan.scan_ptr = p;
    intern_token_atom(token_text, name_length);
    return tok_label;
  }
  if (*p == '=') {
    const char* next = peek_after(p + 1);
    if (*next != '=' && *next != '>') {
      if (flags & scan_specifier_bit) {
        scan.scan_ptr = p;
        consume();
        int code = lookup_token_code(token_text, scan.token_length);
        if (code != 0) return code;
        scan.token_length = name_length;
      } else if (flags & scan_keyword_arg) {
        scan.scan_ptr = p;
        skip_char();
        intern_token_atom(token_text, name_length);
        scan.token_length = name_length;
        return tok_keyword_arg;
      }
    }
  }
  if ((flags & scan_keyword_bit) && !fixed()) {
    int code = lookup_token_code(token_text, name_length);
    if (code != 0) return code;
  }
  intern_token_atom(token_text, name_length);
  return tok_name;
}

// A second character that makes a two-character operator with the first.
struct operator_follow {
  char second;          // the second character
  int code;             // the token of the pair
  bool enabled = true;  // the scan mode allows the pair
};

// An operator token: the current character, or it and the next one when the
// next one makes one of the pairs.
int operator_token(int single, std::initializer_list<operator_follow> pairs) {
  char next = consume();
  for (const operator_follow& f : pairs) {
    if (f.enabled && next == f.second) {
      consume();
      return f.code;
    }
  }
  return single;
}

// The body of scan_token from the token's first character.
int scan_body(uint32_t flags, char c) {
  switch (cls(c)) {
    case cc_nul:
      return tok_eos;
    case cc_boz_letter:
      if (!(flags & scan_format_letter) && is_quote(scan.scan_ptr[1])) return scan_boz_constant();
      [[fallthrough]];
    case cc_letter:
    case cc_exp_letter:
    case cc_h_letter:
      if (flags & scan_format_letter) {
        put(upper(c));
        ++scan.scan_ptr;
        return tok_letter;
      }
      if ((flags & scan_keyword_bit) && fixed()) {
        int code = keyword_match();
        if (code != 0) return code;
      }
      return scan_name(flags, consume());
    case cc_digit:
      return scan_number(flags, c);
    case cc_comma:
      return operator_token(tok_comma, {});
    case cc_dot: {
      if (flags & scan_single_dot) return operator_token(tok_dot, {});
      char next = consume();
      if (is_letter(next)) return scan_dot_word(next);
      if (is_digit(next) && !(flags & scan_integer_only)) {
        scan.marks.digits_start = 0;
        return scan_fraction(flags, next);
      }
      return tok_dot;
    }
    case cc_colon:
      return operator_token(tok_colon, {{':', tok_double_colon}});
    case cc_semicolon:
      ++scan.scan_ptr;
      while (is_blank(*scan.scan_ptr) || *scan.scan_ptr == ';') ++scan.scan_ptr;
      return tok_eos;
    case cc_percent:
      return operator_token(tok_percent, {});
    case cc_apostrophe:
    case cc_quote:
      return scan_character_constant(tok_char_const);
    case cc_lparen:
      return operator_token(tok_lparen,
                            {{'/', tok_lparen_slash, !(flags & scan_single_lparen)}});
    case cc_rparen:
      return operator_token(tok_rparen, {});
    case cc_plus:
      return operator_token(tok_plus, {});
    case cc_minus: {
      if (flags & scan_signed_numbers) {
        const char* p = scan.scan_ptr + 1;
        while (is_blank(*p)) ++p;
        if (is_digit(*p) || (*p == '.' && is_digit(p[1]))) {
          put('-');
          scan.scan_ptr = const_cast<char*>(p);
          if (*p == '.') return scan_fraction(flags, consume());
          return scan_number(flags, *p);
        }
      }
      return operator_token(tok_minus, {});
    }
    case cc_star:
      return operator_token(tok_star, {{'*', tok_power, !(flags & scan_single_star)}});
    case cc_slash:
      if (flags & scan_single_slash) return operator_token(tok_slash, {});
      // Under 0x2000 "/)" is "/" with the ")" left for the next token.
      return operator_token(tok_slash, {{')', tok_slash_rparen, !(flags & scan_no_slash_rparen)},
                                        {'/', tok_concat},
                                        {'=', tok_ne}});
    case cc_less:
      return operator_token(tok_lt, {{'=', tok_le}});
    case cc_equal:
      return operator_token(tok_equals, {{'=', tok_eq}, {'>', tok_arrow}});
    case cc_greater:
      return operator_token(tok_gt, {{'=', tok_ge}});
    default:
      consume();
      if (!quiet()) scan_error_at(137, scan.token_start);
      return tok_invalid;
  }
}

void build_tables() {
  for (int c = 0; c < 256; ++c) {
    unsigned char k = cc_other;
    char ch = static_cast<char>(c);
    if (c == 0) k = cc_nul;
    else if (std::strchr("DEde", c)) k = cc_exp_letter;
    else if (std::strchr("BOZboz", c)) k = cc_boz_letter;
    else if (c == 'H' || c == 'h') k = cc_h_letter;
    else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) k = cc_letter;
    else if (c >= '0' && c <= '9') k = cc_digit;
    else {
      switch (ch) {
        case '_': k = cc_underscore; break;
        case ',': k = cc_comma; break;
        case '.': k = cc_dot; break;
        case ':': k = cc_colon; break;
        case ';': k = cc_semicolon; break;
        case '%': k = cc_percent; break;
        case '\'': k = cc_apostrophe; break;
        case '"': k = cc_quote; break;
        case '(': k = cc_lparen; break;
        case ')': k = cc_rparen; break;
        case '+': k = cc_plus; break;
        case '-': k = cc_minus; break;
        case '*': k = cc_star; break;
        case '/': k = cc_slash; break;
        case '<': k = cc_less; break;
        case '=': k = cc_equal; break;
        case '>': k = cc_greater; break;
        case ' ':
        case '\t': k = cc_blank; break;
        default: break;
      }
    }
    scan.char_class[c] = k;
    bool att = c == 0 || c == ' ' || c == '\t' || c == '!' || (c == '&' && !fixed()) ||
               (scan.lower_case_check && c >= 'a' && c <= 'z');
    scan.attention[c] = att;
  }
}

// The character of a token code that the plain character search can find.
char search_char(int t) {
  switch (t) {
    case tok_equals: return '=';
    case tok_comma: return ',';
    case tok_colon: return ':';
    case tok_rparen: return ')';
    default: return 0;
  }
}

}  // namespace

void scanner_init() {
  source_reset();
  scan = ScanState{};
  scan.scan_ptr = src.statement_buffer;
  scan.token_start = src.statement_buffer;
  scan.cur_token = tok_eos;
  scan.lower_case_check = driver_options.std_warnings;
  text_clear();
  const_init(&token_constant);
  build_tables();
  keyword_codes();
}

int scan_token(uint32_t flags) {
  bool saved_quiet = scan.scan_quiet;
  scan.scan_quiet = (flags & scan_quiet_bit) != 0;
  char c = *scan.scan_ptr;
  if (attention(c)) c = skip_separators();
  scan.token_start = scan.scan_ptr;
  scan.token_pos = scan_position_of(scan.token_start);
  text_clear();
  int code = scan_body(flags, c);
  token_text[scan.token_length] = '\0';
  err_pos = scan.token_pos;
  scan.scan_quiet = saved_quiet;
  scan.cur_token = code;
  return code;
}

void scan_skip_blanks() {
  char c = *scan.scan_ptr;
  if (attention(c)) skip_separators();
}

char scan_peek_char() {
  scan_skip_blanks();
  char c = *scan.scan_ptr;
  check_lower_case(c);
  return c;
}

int scan_find_first(int t1, int t2, int t3) {
  int slot[4] = {0, t1, t2 == tok_invalid ? tok_invalid : t2,
                 t2 == tok_invalid ? tok_invalid : t3};
  bool plain = true;
  for (int i = 1; i <= 3; ++i)
    if (slot[i] != tok_invalid && search_char(slot[i]) == 0) plain = false;
  if (plain) {
    char* start = scan.scan_ptr;
    char ch[4] = {0, search_char(slot[1]), search_char(slot[2]), search_char(slot[3])};
    int depth = 0;
    for (;;) {
      char c = *scan.scan_ptr;
      if (attention(c)) c = skip_separators();
      if (c == '\0') return 0;
      if (is_quote(c) || c == 'h' || c == 'H') {
        scan.scan_ptr = start;
        break;
      }
      ++scan.scan_ptr;
      if (c == ';') return 0;
      if (depth == 0) {
        for (int i = 3; i >= 1; --i)
          if (slot[i] != tok_invalid && c == ch[i]) return i;
      }
      if (c == '(') {
        ++depth;
      } else if (c == ')') {
        if (depth == 0) return 0;
        --depth;
      }
    }
  }
  int depth = 0;
  for (;;) {
    int t = scan_token(quiet_mode);
    if (t == tok_eos) return 0;
    if (depth == 0) {
      for (int i = 3; i >= 1; --i)
        if (slot[i] != tok_invalid && t == slot[i]) return i;
    }
    if (t == tok_lparen || t == tok_lparen_slash) {
      ++depth;
    } else if (t == tok_rparen || t == tok_slash_rparen) {
      if (depth == 0) return 0;
      --depth;
    }
  }
}

int scan_peek_for(int t, bool skip_first) {
  scan_cursor saved = scan_save();
  if (skip_first) scan_token(quiet_mode);
  int found = scan_find_first(t, tok_invalid, tok_invalid);
  scan_restore(saved);
  token_text[0] = '\0';
  scan.token_length = 0;
  return found;
}

scan_cursor scan_save() {
  return scan_cursor{scan.scan_ptr, scan.token_start, scan.cur_token, scan.token_pos, err_pos};
}

void scan_restore(const scan_cursor& c) {
  scan.scan_ptr = c.scan_ptr;
  scan.token_start = c.token_start;
  scan.cur_token = c.cur_token;
  scan.token_pos = c.token_pos;
  err_pos = c.err_pos;
}

source_pos_record scan_position_of(const char* p) {
  return source_position(static_cast<uint32_t>(p - src.statement_buffer));
}

void scan_warning_at(int msg, const char* p) {
  err_pos = scan_position_of(p);
  warning_here(msg);
}

void scan_error_at(int msg, const char* p) {
  err_pos = scan_position_of(p);
  error_here(msg);
}

int lookup_token_code(const char* text, uint32_t length) {
  std::string folded(text, length);
  for (char& c : folded) c = upper(c);
  auto& codes = keyword_codes();
  auto it = codes.find(folded);
  if (it != codes.end()) return it->second;
  return length > 0 && text[0] == '.' ? tok_defined_op : 0;
}
