// The target's compile-time arithmetic: guarded 32-bit integer operations,
// the bit intrinsics on the 32-bit host word, REAL to INTEGER conversions and
// the double-precision real and complex operations the folders share.
#include "frontend/semantics/target_arith.h"

#include <cmath>

namespace {

constexpr int64_t int32_low = -2147483647LL - 1;
constexpr int64_t int32_high = 2147483647LL;

int32_t from_bits(uint32_t u) { return static_cast<int32_t>(u); }  // modular since C++20
uint32_t bits(int32_t v) { return static_cast<uint32_t>(v); }

Int32Result checked(int64_t exact) {
  Int32Result r{};
  r.value = from_bits(static_cast<uint32_t>(static_cast<uint64_t>(exact)));
  r.overflow = exact < int32_low || exact > int32_high;
  return r;
}

// Shifts of the 32-bit word; a count of 32 or more gives 0.
uint32_t shift_left(uint32_t v, int64_t n) { return n >= 32 ? 0u : v << n; }
uint32_t shift_right(uint32_t v, int64_t n) { return n >= 32 ? 0u : v >> n; }
// The lowest n bits set (n from 0 to 32).
uint32_t low_mask(int64_t n) { return n >= 32 ? 0xFFFFFFFFu : (1u << n) - 1u; }

BitResult bit_ok(uint32_t v) { return BitResult{from_bits(v), ArgFault::none, 0}; }
BitResult bit_fault(ArgFault f, uint8_t argument) { return BitResult{0, f, argument}; }

bool fits_int32(double d) { return d > -2147483649.0 && d < 2147483648.0; }

}  // namespace

Int32Result int_add(int32_t a, int32_t b) { return checked(int64_t{a} + b); }
Int32Result int_sub(int32_t a, int32_t b) { return checked(int64_t{a} - b); }
Int32Result int_mul(int32_t a, int32_t b) { return checked(int64_t{a} * b); }

Int32Result int_div(int32_t a, int32_t b) {
  if (b == 0) return Int32Result{0, false, true, false};
  return checked(int64_t{a} / b);
}

int32_t int_negate(int32_t a) { return from_bits(0u - bits(a)); }
int32_t wrapping_add(int32_t a, int32_t b) { return from_bits(bits(a) + bits(b)); }
int32_t wrapping_sub(int32_t a, int32_t b) { return from_bits(bits(a) - bits(b)); }
int32_t wrapping_mul(int32_t a, int32_t b) { return from_bits(bits(a) * bits(b)); }

Int32Result int_power(int32_t a, int32_t b) {
  Int32Result r{};
  if (a == 0 && b <= 0) {
    r.zero_power = true;
    return r;
  }
  if (a == 1 || b == 0) {
    r.value = 1;
    return r;
  }
  if (b < 0) {
    r.value = a == -1 ? ((b & 1) ? -1 : 1) : 0;
    return r;
  }
  // Square and multiply over the bits of b from the lowest; the base is
  // squared only while bits remain, so that (-2) ** 31 does not overflow.
  int32_t result = 1, base = a;
  for (uint32_t e = bits(b); e != 0; e >>= 1) {
    if (e & 1u) {
      Int32Result m = int_mul(result, base);
      if (m.overflow) return m;
      result = m.value;
    }
    if (e > 1u) {
      Int32Result sq = int_mul(base, base);
      if (sq.overflow) return sq;
      base = sq.value;
    }
  }
  r.value = result;
  return r;
}

int int_result_message(const Int32Result& r) {
  if (r.zero_power) return msg_zero_power;
  if (r.division_by_zero) return msg_division_by_zero;
  if (r.overflow) return msg_int_out_of_range;
  return 0;
}

int fold_int_add(int32_t a, int32_t b, int32_t* out) {
  Int32Result r = int_add(a, b);
  if (r.overflow) return msg_int_out_of_range;
  *out = r.value;
  return 0;
}

int fold_int_sub(int32_t a, int32_t b, int32_t* out) {
  Int32Result r = int_sub(a, b);
  if (r.overflow) return msg_int_out_of_range;
  *out = r.value;
  return 0;
}

int fold_int_mul(int32_t a, int32_t b, int32_t* out) {
  Int32Result r = int_mul(a, b);
  *out = r.value;
  return r.overflow ? msg_int_out_of_range : 0;
}

int fold_int_div(int32_t a, int32_t b, int32_t* out) {
  Int32Result r = int_div(a, b);
  if (r.division_by_zero) {
    *out = 0;
    return msg_division_by_zero;
  }
  if (r.overflow) return msg_int_out_of_range;
  *out = r.value;
  return 0;
}

int do_iteration_count(int32_t start, int32_t limit, int32_t step, int32_t* count) {
  *count = 0;
  int32_t span = 0, total = 0, quotient = 0;
  int msg = fold_int_sub(limit, start, &span);
  if (msg == 0) msg = fold_int_add(span, step, &total);
  if (msg == 0) msg = fold_int_div(total, step, &quotient);
  if (msg != 0) {
    *count = 0;
    return msg;
  }
  *count = quotient < 0 ? 0 : quotient;
  return 0;
}

// ---- Elemental INTEGER intrinsics ----

int32_t fortran_abs(int32_t a) { return a < 0 ? int_negate(a) : a; }

int32_t fortran_sign(int32_t a, int32_t b) {
  int32_t m = fortran_abs(a);
  return b >= 0 ? m : int_negate(m);
}

int32_t fortran_dim(int32_t a, int32_t b) {
  int32_t d = wrapping_sub(a, b);
  return d < 0 ? 0 : d;
}

Int32Result fortran_mod(int32_t a, int32_t p) {
  Int32Result r{};
  if (p == 0) {
    r.division_by_zero = true;
    return r;
  }
  r.value = p == -1 ? 0 : a % p;  // MOD(-2147483648, -1) is 0
  return r;
}

Int32Result fortran_modulo(int32_t a, int32_t p) {
  Int32Result r = fortran_mod(a, p);
  if (r.division_by_zero) return r;
  // r and p of different signs: their sum lies between them, no overflow.
  if (r.value != 0 && ((r.value < 0) != (p < 0))) r.value = wrapping_add(r.value, p);
  return r;
}

BitResult fortran_ishft(int32_t i, int32_t shift, int32_t bit_size) {
  if (shift < -bit_size || shift > bit_size) return bit_fault(ArgFault::beyond_bit_size, 1);
  if (shift > 0) return bit_ok(shift_left(bits(i), shift));
  if (shift < 0) return bit_ok(shift_right(bits(i), -int64_t{shift}));
  return bit_ok(bits(i));
}

BitResult fortran_ishftc(int32_t i, int32_t shift, int32_t size, bool size_present,
                         int32_t bit_size) {
  if (!size_present) size = bit_size;
  if (size < 1 || size > bit_size) return bit_fault(ArgFault::beyond_bit_size, 2);
  int64_t s = shift < 0 ? int64_t{shift} + size : int64_t{shift};
  if (s < 0 || s > size) return bit_fault(ArgFault::beyond_bit_size, 1);
  uint32_t mask = low_mask(size);
  uint32_t part = bits(i) & mask;
  uint32_t rotated = (shift_left(part, s) | shift_right(part, size - s)) & mask;
  return bit_ok((bits(i) & ~mask) | rotated);
}

BitResult fortran_ibits(int32_t i, int32_t pos, int32_t len, int32_t bit_size) {
  if (len < 0) return bit_fault(ArgFault::negative, 2);
  if (pos < 0) return bit_fault(ArgFault::negative, 1);
  if (int64_t{pos} + len > bit_size) return bit_fault(ArgFault::beyond_bit_size, 1);
  return bit_ok(shift_right(bits(i), pos) & low_mask(len));
}

BitResult fortran_ibset(int32_t i, int32_t pos, int32_t bit_size) {
  if (pos < 0 || pos >= bit_size) return bit_fault(ArgFault::beyond_bit_size, 1);
  return bit_ok(bits(i) | shift_left(1u, pos));
}

BitResult fortran_ibclr(int32_t i, int32_t pos, int32_t bit_size) {
  if (pos < 0 || pos >= bit_size) return bit_fault(ArgFault::beyond_bit_size, 1);
  return bit_ok(bits(i) & ~shift_left(1u, pos));
}

BitResult fortran_mvbits(int32_t from, int32_t frompos, int32_t len, int32_t to,
                         int32_t topos, int32_t bit_size) {
  if (len < 0) return bit_fault(ArgFault::negative, 2);
  if (frompos < 0) return bit_fault(ArgFault::negative, 1);
  if (int64_t{frompos} + len > bit_size) return bit_fault(ArgFault::beyond_bit_size, 1);
  if (topos < 0) return bit_fault(ArgFault::negative, 4);
  if (int64_t{topos} + len > bit_size) return bit_fault(ArgFault::beyond_bit_size, 4);
  uint32_t mask = low_mask(len);
  uint32_t field = shift_right(bits(from), frompos) & mask;
  uint32_t cleared = bits(to) & ~shift_left(mask, topos);
  return bit_ok(cleared | shift_left(field, topos));
}

// ---- REAL to INTEGER ----

Int32Result fortran_int(double x) {
  Int32Result r{};
  double t = std::trunc(x);
  if (!fits_int32(t)) {
    r.overflow = true;
    return r;
  }
  r.value = static_cast<int32_t>(t);
  return r;
}

Int32Result fortran_nint(double x) {
  Int32Result r{};
  double t = std::round(x);  // halves away from zero
  if (!fits_int32(t)) {
    r.overflow = true;
    return r;
  }
  r.value = static_cast<int32_t>(t);
  return r;
}

// ---- REAL and COMPLEX ----

int fold_real_add(double a, double b, double* out) {
  *out = a + b;
  return 0;
}

int fold_real_sub(double a, double b, double* out) {
  *out = a - b;
  return 0;
}

int fold_real_mul(double a, double b, double* out) {
  *out = a * b;
  return 0;
}

int fold_real_div(double a, double b, double* out) {
  if (b == 0.0) return msg_division_by_zero;
  *out = a / b;
  return 0;
}

int fold_real_compare(double a, double b) {
  if (a > b) return 1;
  if (a == b) return 0;
  return -1;
}

RealResult complex_mul(double a, double b, double c, double d) {
  RealResult r{};
  r.re = a * c - b * d;
  r.im = b * c + a * d;
  return r;
}

RealResult complex_div(double a, double b, double c, double d) {
  RealResult r{};
  double d2 = c * c + d * d;
  if (d2 == 0.0) {
    r.division_by_zero = true;
    return r;
  }
  r.re = (a * c + b * d) / d2;
  r.im = (b * c - a * d) / d2;
  return r;
}

namespace {
// The magnitude of n as an unsigned word: -2147483648 gives 2147483648.
uint32_t magnitude(int32_t n) { return n < 0 ? 0u - bits(n) : bits(n); }
}  // namespace

RealResult real_power(double x, int32_t n) {
  RealResult r{};
  if (x == 0.0 && n <= 0) {
    r.zero_power = true;
    return r;
  }
  double product = 1.0, base = x;
  for (uint32_t e = magnitude(n); e != 0; e >>= 1) {
    if (e & 1u) product *= base;
    if (e > 1u) base *= base;
  }
  if (n < 0) {
    if (product == 0.0) {
      r.division_by_zero = true;
      return r;
    }
    product = 1.0 / product;
  }
  r.re = product;
  return r;
}

RealResult complex_power(double re, double im, int32_t n) {
  RealResult r{};
  if (re == 0.0 && im == 0.0 && n <= 0) {
    r.zero_power = true;
    return r;
  }
  RealResult product{1.0, 0.0, false, false}, base{re, im, false, false};
  for (uint32_t e = magnitude(n); e != 0; e >>= 1) {
    if (e & 1u) product = complex_mul(product.re, product.im, base.re, base.im);
    if (e > 1u) base = complex_mul(base.re, base.im, base.re, base.im);
  }
  if (n < 0) return complex_div(1.0, 0.0, product.re, product.im);
  return product;
}

int real_result_message(const RealResult& r) {
  if (r.zero_power) return msg_zero_power;
  if (r.division_by_zero) return msg_division_by_zero;
  return 0;
}
