// The target's arithmetic at compile time: 32-bit two's complement for every
// INTEGER kind, double precision for REAL and COMPLEX. Operations never trap
// and never rely on signed overflow: each returns its value and what
// happened, and the caller chooses the message. The fold_* forms return the
// catalogue number of the message (0 for success) for the folders.
#pragma once
#include <cstdint>

// What an integer operation did.
struct Int32Result {
  int32_t value;          // the (wrapped) result
  bool overflow;          // the exact result lies outside the 32-bit range
  bool division_by_zero;  // a zero divisor
  bool zero_power;        // zero raised to a nonpositive power
};

// What a bit operation did with its arguments.
enum class ArgFault : uint8_t {
  none,
  negative,          // an argument that must not be negative is
  beyond_bit_size,   // a position, length or shift outside the bit size
};
struct BitResult {
  int32_t value;      // the result word when fault is none
  ArgFault fault;     // what was wrong
  uint8_t argument;   // 0-based index of the offending argument
};

// What a real or complex operation did.
struct RealResult {
  double re, im;          // the value (im unused for REAL)
  bool division_by_zero;  // a zero divisor
  bool zero_power;        // zero raised to a nonpositive power
};

// Catalogue numbers of the arithmetic's messages.
inline constexpr int msg_division_by_zero = 169;
inline constexpr int msg_int_out_of_range = 292;
inline constexpr int msg_zero_power = 481;

// ---- INTEGER ----
Int32Result int_add(int32_t a, int32_t b);
Int32Result int_sub(int32_t a, int32_t b);
Int32Result int_mul(int32_t a, int32_t b);
Int32Result int_div(int32_t a, int32_t b);   // truncated toward zero
Int32Result int_power(int32_t a, int32_t b); // a ** b
int32_t int_negate(int32_t a);               // wraps: -(-2147483648) = -2147483648
int32_t wrapping_add(int32_t a, int32_t b);
int32_t wrapping_sub(int32_t a, int32_t b);
int32_t wrapping_mul(int32_t a, int32_t b);

// The message forms: 0, 169 or 292 (481 for the power); *out written on
// success (fold_int_mul writes the wrapped product in any case, and
// fold_int_div writes 0 for a zero divisor).
int fold_int_add(int32_t a, int32_t b, int32_t* out);
int fold_int_sub(int32_t a, int32_t b, int32_t* out);
int fold_int_mul(int32_t a, int32_t b, int32_t* out);
int fold_int_div(int32_t a, int32_t b, int32_t* out);
// MAX((limit - start + step) / step, 0); 0 and the first message on failure.
int do_iteration_count(int32_t start, int32_t limit, int32_t step, int32_t* count);
// The message of an integer result: 0, 169, 292 or 481.
int int_result_message(const Int32Result& r);

// ---- Elemental INTEGER intrinsics (bit_size 16 or 32) ----
int32_t fortran_abs(int32_t a);              // ABS(-2147483648) = -2147483648
int32_t fortran_sign(int32_t a, int32_t b);  // |a| when b >= 0, else -|a|
int32_t fortran_dim(int32_t a, int32_t b);   // a - b wrapping, 0 when negative
Int32Result fortran_mod(int32_t a, int32_t p);
Int32Result fortran_modulo(int32_t a, int32_t p);
// Fault argument indexes follow the intrinsic's argument order.
BitResult fortran_ishft(int32_t i, int32_t shift, int32_t bit_size);
// size_present 0: SIZE is the bit size.
BitResult fortran_ishftc(int32_t i, int32_t shift, int32_t size, bool size_present,
                         int32_t bit_size);
BitResult fortran_ibits(int32_t i, int32_t pos, int32_t len, int32_t bit_size);
BitResult fortran_ibset(int32_t i, int32_t pos, int32_t bit_size);
BitResult fortran_ibclr(int32_t i, int32_t pos, int32_t bit_size);
BitResult fortran_mvbits(int32_t from, int32_t frompos, int32_t len, int32_t to,
                         int32_t topos, int32_t bit_size);

// ---- Conversions of REAL to INTEGER ----
Int32Result fortran_int(double x);   // truncation; overflow for NaN or out of range
Int32Result fortran_nint(double x);  // rounded half away from zero

// ---- REAL and COMPLEX ----
int fold_real_add(double a, double b, double* out);
int fold_real_sub(double a, double b, double* out);
int fold_real_mul(double a, double b, double* out);  // always 0
int fold_real_div(double a, double b, double* out);  // 169 for b == 0.0
int fold_real_compare(double a, double b);           // 1, 0, or -1 (also unordered)
RealResult complex_mul(double a, double b, double c, double d);
RealResult complex_div(double a, double b, double c, double d);
RealResult real_power(double x, int32_t n);               // x ** n
RealResult complex_power(double re, double im, int32_t n);  // z ** n
int real_result_message(const RealResult& r);
