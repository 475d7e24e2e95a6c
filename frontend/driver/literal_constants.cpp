// Constant-value records (const_value): creation, conversion between host
// and stored form, type conversion and tests; and the literal constructors
// that the scanner calls for integer, real, logical, character and BOZ
// literals, with their range checks.
#include "frontend/driver/literal_constants.h"

#include <cmath>
#include <cstring>
#include <string>

#include "frontend/driver/diagnostics.h"
#include "frontend/driver/pools.h"
#include "frontend/driver/scanner.h"
#include "frontend/driver/string_to_double.h"
#include "frontend/model/types.h"

namespace {

// The kind-table row of an intrinsic type (COMPLEX uses the REAL rows), or
// null for other types.
const kind_row* row_of_type(const ::type* t) {
  if (t == nullptr) return nullptr;
  switch (t->type_code) {
    case tk_integer: return kind_row_of(kf_integer, t->kind);
    case tk_logical: return kind_row_of(kf_logical, t->kind);
    case tk_float:
    case tk_complex: return kind_row_of(kf_real, t->kind);
    case tk_fcharacter: return kind_row_of(kf_character, t->kind);
    default: return nullptr;
  }
}

// Bytes of stored value for a type: its size, or what its kind row gives.
uint32_t stored_size(const ::type* t) {
  if (t->size != 0) return t->size;
  const kind_row* row = row_of_type(t);
  if (row == nullptr) return 0;
  return t->type_code == tk_complex ? 2 * row->size : row->size;
}

// The constant length of a CHARACTER type (0 for an unknown or negative one).
uint32_t char_length(::type* t) {
  bound_record* len = char_len_record(t);
  if (len == nullptr || len->kind != bk_constant || len->value < 0) return 0;
  return static_cast<uint32_t>(len->value);
}

uint8_t* storage_alloc(uint32_t n) {
  return static_cast<uint8_t*>(pool_alloc_zeroed(n == 0 ? 1 : n));
}

// The largest magnitude a double may have and still round to a finite value
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

// A truncation toward zero of a double into a 32-bit word; false (and no
// conversion) when the value is not a number or outside the word's range.
bool truncate_to_int32(double d, int32_t* out) {
  if (!(d > -2147483649.0 && d < 2147483648.0)) return false;
  *out = static_cast<int32_t>(d);
  return true;
}

}  // namespace

void const_init(const_value* v) {
  v->c = ::constant{};
  v->c.next = nullptr;
  v->c.kind = ck_error;
  v->c.header = 0;
  v->c.source_pos = null_pos;
  v->c.type = error_type();
}

uint8_t* const_init_sized(const_value* v, uint32_t n) {
  v->c = ::constant{};
  std::memset(v->inline_value, 0, sizeof v->inline_value);
  v->c.next = nullptr;
  const_set_kind(v, ck_value);
  if (n <= const_inline_size) return v->inline_value;
  v->c.value = storage_alloc(n);
  return v->c.value;
}

void const_set_kind(const_value* v, int ck) {
  ::constant& c = v->c;
  c.kind = static_cast<uint8_t>(ck);
  switch (ck) {
    case ck_value: c.value = nullptr; break;
    case ck_expression: c.value = nullptr; c.expr = nullptr; break;
    case ck_aggregate: c.first_constant = nullptr; c.last_constant = nullptr; break;
    case ck_init_position: c.offset = 0; c.segment_size = 0; break;
    case ck_init_index: c.first = 0; c.second = 0; c.stride = 1; break;
    case ck_init_repeat: c.repeat_constant = nullptr; c.count = 1; break;
    default: break;
  }
}

int32_t const_int(const const_value* v) {
  int32_t x;
  std::memcpy(&x, v->inline_value, sizeof x);
  return x;
}

void const_set_int(const_value* v, int32_t value) {
  std::memcpy(v->inline_value, &value, sizeof value);
}

double const_real(const const_value* v, int part) {
  double d;
  std::memcpy(&d, v->inline_value + 8 * part, sizeof d);
  return d;
}

void const_set_real(const_value* v, double value, int part) {
  std::memcpy(v->inline_value + 8 * part, &value, sizeof value);
}

const uint8_t* const_chars(const const_value* v) {
  return v->c.value != nullptr ? v->c.value : v->inline_value;
}

void const_to_host_form(const ::constant* source, const_value* dest) {
  dest->c = *source;
  std::memset(dest->inline_value, 0, sizeof dest->inline_value);
  dest->c.next = nullptr;
  if (dest->c.kind == ck_expression) dest->c.kind = ck_value;
  const ::type* t = dest->c.type;
  const kind_row* row = row_of_type(t);
  const uint8_t* bytes = source->value;
  if (row == nullptr || t->type_code == tk_fcharacter || bytes == nullptr) return;
  switch (t->type_code) {
    case tk_integer:
    case tk_logical: const_set_int(dest, row->get_int(bytes)); break;
    case tk_float: const_set_real(dest, row->get_real(bytes)); break;
    case tk_complex:
      const_set_real(dest, row->get_real(bytes), 0);
      const_set_real(dest, row->get_real(bytes + row->size), 1);
      break;
    default: return;
  }
  dest->c.value = nullptr;
}

void const_to_indirect(const_value* v) {
  v->c.header = 0;
  if (v->c.kind != ck_value) return;
  ::type* t = v->c.type;
  const kind_row* row = row_of_type(t);
  if (row == nullptr) return;
  switch (t->type_code) {
    case tk_integer:
    case tk_logical: {
      int32_t word = const_int(v);
      uint8_t* s = storage_alloc(stored_size(t));
      row->set_int(word, s);
      v->c.value = s;
      break;
    }
    case tk_float: {
      double d = const_real(v);
      uint8_t* s = storage_alloc(stored_size(t));
      row->set_real(d, s);
      v->c.value = s;
      break;
    }
    case tk_complex: {
      uint8_t* s = storage_alloc(stored_size(t));
      row->set_real(const_real(v, 0), s);
      row->set_real(const_real(v, 1), s + row->size);
      v->c.value = s;
      break;
    }
    case tk_fcharacter: {
      if (v->c.value != nullptr) break;
      uint32_t len = char_length(t);
      uint8_t* s = storage_alloc(len);
      std::memcpy(s, v->inline_value, len < const_inline_size ? len : const_inline_size);
      v->c.value = s;
      break;
    }
    default: break;
  }
}

int const_convert_to_type(const_value* v, ::type* target) {
  ::type* source = v->c.type;
  if (target == nullptr || target->type_code == tk_unknown || target == source ||
      (source != nullptr && type_equal(source, target)))
    return 1;
  if (target->type_code == tk_error) {
    v->c = ::constant{};
    v->c.next = nullptr;
    return 1;
  }
  int from = source != nullptr ? static_cast<int>(source->type_code) : static_cast<int>(tk_error);
  int to = target->type_code;
  v->c.type = target;
  switch (from) {
    case tk_integer: {
      int32_t word = const_int(v);
      if (to == tk_float) {
        const_set_real(v, static_cast<double>(word));
      } else if (to == tk_complex) {
        const_set_real(v, static_cast<double>(word), 0);
        const_set_real(v, 0.0, 1);
      } else if (to == tk_fcharacter) {
        const kind_row* row = row_of_type(target);
        std::memset(v->inline_value, 0, sizeof v->inline_value);
        v->c.value = nullptr;
        if (row != nullptr) row->set_int(word, v->inline_value);
      }
      break;
    }
    case tk_float:
    case tk_complex: {
      double re = const_real(v, 0);
      if (to == tk_integer) {
        // A value no 32-bit word can hold is refused rather than converted.
        int32_t word = 0;
        if (!truncate_to_int32(re, &word)) {
          source_pos_record pos = v->c.source_pos;
          error_at(295, pos);
          const_init(v);
          return 1;
        }
        const_set_int(v, word);
      } else if (to == tk_complex && from == tk_float) {
        const_set_real(v, 0.0, 1);
      } else if (to == tk_float && from == tk_complex) {
        const_set_real(v, 0.0, 1);
      }
      break;
    }
    case tk_fcharacter: {
      const uint8_t* chars = const_chars(v);
      if (to == tk_integer) {
        const kind_row* row = row_of_type(source);
        int32_t first = row != nullptr ? row->get_int(chars) : chars[0];
        std::memset(v->inline_value, 0, sizeof v->inline_value);
        v->c.value = nullptr;
        const_set_int(v, first);
      } else if (to == tk_fcharacter) {
        uint32_t l = char_length(source);
        uint32_t len = char_length(target);
        if (l < len) {
          const kind_row* row = row_of_type(target);
          char pad = row != nullptr ? row->pad : ' ';
          std::string old(reinterpret_cast<const char*>(chars), l);
          source_pos_record pos = v->c.source_pos;
          uint8_t* bytes = const_init_sized(v, len);
          std::memcpy(bytes, old.data(), l);
          std::memset(bytes + l, pad, len - l);
          v->c.type = target;
          v->c.source_pos = pos;
        }
      }
      break;
    }
    case tk_error:
      v->c.type = error_type();
      break;
    default:
      break;
  }
  return 1;
}

bool const_host_is_zero(const const_value* v) {
  const ::type* t = v->c.type;
  if (t == nullptr) return false;
  switch (t->type_code) {
    case tk_integer:
    case tk_logical: return const_int(v) == 0;
    case tk_float: return const_real(v) == 0.0;
    case tk_complex: return const_real(v, 0) == 0.0 && const_real(v, 1) == 0.0;
    default: return false;
  }
}

bool const_is_zero(const ::constant* c) {
  const_value host;
  const_to_host_form(c, &host);
  return const_host_is_zero(&host);
}

bool const_is_true(const ::constant* c) {
  if (c->type == nullptr || c->type->type_code != tk_logical || c->value == nullptr)
    return false;
  const kind_row* row = row_of_type(c->type);
  return row != nullptr && row->get_int(c->value) != 0;
}

// ---- Literal constructors ----

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
  const kind_row* row = row_of_type(t);
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
