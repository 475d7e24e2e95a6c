// The literal constructors that the scanner calls for integer, real,
// logical, character and BOZ literals, with their range checks.
#include "frontend/lexer/literal_constants.h"

#include <cmath>
#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/base/string_to_double.h"
#include "frontend/model/types.h"
#include "frontend/semantics/unit_pass.h"

namespace {

// of a 4-byte REAL: FLT_MAX plus half of its last place.
constexpr double single_overflow_threshold = 0x1.ffffffp127;

// A decimal digit string's value fits a signed INTEGER of size bytes.
bool integer_fits(uint32_t magnitude, bool negative, uint32_t size) {
  uint32_t bits = size >= 4 || size == 0 ? 32 : size * 8;
  uint64_t limit = uint64_t{1} << (bits - 1);  // magnitude of the most negative
  return negative ? magnitude <= limit : magnitude <= limit - 1;
}

// Starts a successful literal: the empty constant made a ck_value of type t
// at the token's position.
void start_literal(::type* t) {
  token_constant = const_value{};
  const_set_kind(&token_constant, ck_value);
  token_constant.c.type = t;
  token_constant.c.source_pos = scan.token_pos;
}

void literal_error(int msg) {
  error_at(msg, scan.token_pos);
  const_init(&token_constant);
}

// The type a literal's kind parameter selects through for_kind (a kind that
// names no representation is error 98); null after an error, when the
// literal has become the error constant.
::type* type_of_kind_param(::type* (*for_kind)(int32_t, int*)) {
  bool failed = false;
  int32_t kind = scan_kind_param(&failed);
  if (failed) {
    const_init(&token_constant);
    return nullptr;
  }
  int err = 0;
  ::type* t = for_kind(kind, &err);
  if (err) {
    literal_error(98);
    return nullptr;
  }
  return t;
}


}  // namespace

uint32_t decimal_value(const char* digits, const char* end, bool* overflow) {
  *overflow = false;
  if (digits >= end) return 0;
  uint32_t value = static_cast<uint32_t>(*digits - '0');
  for (const char* p = digits + 1; p < end; ++p) {
    uint32_t d = static_cast<uint32_t>(*p - '0');
    if (value > 429496729u) *overflow = true;
    value *= 10u;
    if (value > 4294967295u - d) *overflow = true;
    value += d;
  }
  return value;
}

int32_t scan_kind_param(bool* failed) {
  *failed = false;
  const literal_marks& m = scan.marks;
  const char* text = token_text + m.kind_start;
  const char* end = token_text + m.kind_end;
  int32_t value = 0;
  if (m.kind_is_digits) {
    bool overflow = false;
    value = static_cast<int32_t>(decimal_value(text, end, &overflow));
    if (overflow) {
      error_at(303, scan.token_pos);
      *failed = true;
      return 0;
    }
  } else {
    int failure = 0;
    value = named_kind_value(text, static_cast<uint32_t>(end - text), &failure);
    if (failure) {
      error_at(305, scan.token_pos);
      *failed = true;
      return 0;
    }
  }
  if (value < 0) {
    error_at(573, scan.token_pos);
    *failed = true;
  }
  return value;
}

void scan_int_literal() {
  const literal_marks& m = scan.marks;
  ::type* t = nullptr;
  if (m.kind_start >= 0) {
    t = type_of_kind_param(integer_type_for_kind);
    if (t == nullptr) return;
  } else {
    t = default_integer_type();
  }
  bool overflow = false;
  uint32_t magnitude =
      decimal_value(token_text + m.digits_start, token_text + m.digits_end, &overflow);
  bool negative = token_text[0] == '-';
  if (overflow || !integer_fits(magnitude, negative, t->size)) {
    literal_error(295);
    return;
  }
  start_literal(t);
  // Two's complement negation in unsigned arithmetic: -2147483648 included.
  uint32_t word = negative ? 0u - magnitude : magnitude;
  const_set_int(&token_constant, static_cast<int32_t>(word));
}

void scan_boz_literal() {
  const literal_marks& m = scan.marks;
  ::type* t = integer_type(static_cast<uint32_t>(kind_family_rows[kf_integer] - 1));
  uint32_t width = 8 * (t->size != 0 ? t->size : 4);
  char base = static_cast<char>(token_text[0] | 0x20);
  uint32_t bits_per_digit = base == 'b' ? 1 : base == 'o' ? 3 : 4;
  const char* p = token_text + m.quote_start + 1;
  const char* end = token_text + m.quote_end - 1;  // the closing quote
  if (p >= end) {
    literal_error(272);
    return;
  }
  uint32_t bits = 0;
  uint32_t value = 0;
  for (; p < end; ++p) {
    bits += bits_per_digit;
    if (bits > width) {
      literal_error(273);
      return;
    }
    char c = *p;
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= (1 << bits_per_digit)) {
      literal_error(base == 'b' ? 50 : base == 'o' ? 106 : 76);
      return;
    }
    value = (bits_per_digit >= 32 ? 0u : value << bits_per_digit) | static_cast<uint32_t>(digit);
  }
  start_literal(t);
  const_set_int(&token_constant, static_cast<int32_t>(value));
}

void scan_real_literal() {
  const literal_marks& m = scan.marks;
  ::type* t = nullptr;
  if (m.kind_start >= 0) {
    if (m.exponent_start >= 0 && m.exponent_is_d) error_at(574, scan.token_pos);
    t = type_of_kind_param(real_type_for_kind);
    if (t == nullptr) return;
  } else {
    t = m.exponent_is_d ? double_precision_type() : default_real_type();
  }
  // The number without sign and kind, with a D exponent read as E.
  bool negative = token_text[0] == '-';
  int start = negative ? 1 : 0;
  int end = m.kind_start >= 0 ? m.kind_start - 1 : static_cast<int>(scan.token_length);
  std::string number;
  for (int i = start; i < end; ++i) {
    char c = token_text[i];
    if (c == ' ') continue;
    number.push_back(c == 'D' || c == 'd' ? 'E' : c);
  }
  double value = 0.0;
  int range_error = 0;
  string_to_double(number.c_str(), &value, &range_error);
  const kind_row* row = kind_row_of_type(t);
  // A value that the REAL kind cannot hold would be stored as infinity.
  if (!range_error && row != nullptr && row->size == 4 &&
      std::fabs(value) >= single_overflow_threshold)
    range_error = 1;
  if (range_error) {
    literal_error(72);
    return;
  }
  start_literal(t);
  const_set_real(&token_constant, negative ? -value : value);
}

void scan_logical_literal() {
  const literal_marks& m = scan.marks;
  ::type* t = nullptr;
  if (m.kind_start >= 0) {
    t = type_of_kind_param(logical_type_for_kind);
    if (t == nullptr) return;
  } else {
    t = default_logical_type();
  }
  char second = static_cast<char>(token_text[1] | 0x20);
  start_literal(t);
  const_set_int(&token_constant, second == 't' ? 1 : 0);
}

void scan_char_literal() {
  const literal_marks& m = scan.marks;
  char quote = m.quote_char;
  const char* p = token_text + m.quote_start + 1;
  const char* end = token_text + m.quote_end - 1;  // the closing quote
  std::string chars;
  for (; p < end; ++p) {
    chars.push_back(*p);
    if (*p == quote) ++p;  // a doubled quote stands for one
  }
  uint32_t length = static_cast<uint32_t>(chars.size());
  ::type* t = nullptr;
  if (m.kind_start >= 0) {
    bool failed = false;
    int32_t kind = scan_kind_param(&failed);
    if (!failed) {
      int err = 0;
      t = character_type_for_kind(kind, length, &err);
      if (err) {
        literal_error(98);
        return;
      }
    }
  }
  if (t == nullptr) t = default_character_type(length);
  uint8_t* bytes = const_init_sized(&token_constant, length);
  std::memcpy(bytes, chars.data(), length);
  token_constant.c.type = t;
  token_constant.c.source_pos = scan.token_pos;
}
