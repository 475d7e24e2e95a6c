// Constant-value records (const_value): creation, conversion between host
// and stored form, type conversion and tests.
#include "frontend/model/const_value.h"

#include <cmath>
#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/types.h"

namespace {

// Bytes of stored value for a type: its size, or what its kind row gives.
uint32_t stored_size(const ::type* t) {
  if (t->size != 0) return t->size;
  const kind_row* row = kind_row_of_type(t);
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

// A truncation toward zero of a double into a 32-bit word; false (and no
// conversion) when the value is not a number or outside the word's range.
bool truncate_to_int32(double d, int32_t* out) {
  if (!(d > -2147483649.0 && d < 2147483648.0)) return false;
  *out = static_cast<int32_t>(d);
  return true;
}

}  // namespace

const kind_row* kind_row_of_type(const ::type* t) {
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
  const kind_row* row = kind_row_of_type(t);
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
  const kind_row* row = kind_row_of_type(t);
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
        const kind_row* row = kind_row_of_type(target);
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
        const kind_row* row = kind_row_of_type(source);
        int32_t first = row != nullptr ? row->get_int(chars) : chars[0];
        std::memset(v->inline_value, 0, sizeof v->inline_value);
        v->c.value = nullptr;
        const_set_int(v, first);
      } else if (to == tk_fcharacter) {
        uint32_t l = char_length(source);
        uint32_t len = char_length(target);
        if (l < len) {
          const kind_row* row = kind_row_of_type(target);
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
  const kind_row* row = kind_row_of_type(c->type);
  return row != nullptr && row->get_int(c->value) != 0;
}

// ---- Literal constructors ----
