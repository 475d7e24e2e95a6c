// Folding of intrinsic function references whose arguments are constants:
// the argument-list reader calls the specific's folding function once the
// arguments are read and the result type is set. Every function computes
// in the store class of its arguments (32-bit integers, doubles, pairs of
// doubles, texts) and converts to the result type with dtconvert. Integer
// arithmetic wraps through unsigned; nothing traps and nothing is reported.
#include "checker/semantics/intrinfold.h"

#include <cmath>
#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/base/exprstate.h"
#include "checker/semantics/constarith.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/locsym.h"

namespace {

uint32_t u(int32_t v) { return static_cast<uint32_t>(v); }
int32_t s(uint32_t v) { return static_cast<int32_t>(v); }

// Store classes of conval.
enum : int { SC_INTEGER = 1, SC_FLOAT = 2, SC_COMPLEX = 3, SC_TEXT = 4 };

// The actual at a position of the (positionally ordered) list, or null.
const actarg* arg_at(const actarg* first, int32_t position) {
  const actarg* a = first;
  for (int32_t i = 0; i < position && a != nullptr; ++i) a = a->next;
  return a;
}
bool given(const actarg* a) { return a != nullptr && a->present != 0; }
bool known(const actarg* a) { return given(a) && a->valok != 0; }
int store_of(const actarg* a) { return getdtstore(a->type.code); }
// An actual that is given, known and held in that store class.
bool known_in(const actarg* a, int store) { return known(a) && store_of(a) == store; }

// A plain descriptor of a data-type code (no length, no structure).
dtdesc plain(uint8_t code) {
  dtdesc d{};
  d.code = code;
  d.tag = 'p';
  return d;
}

typedval typed(const actarg* a) {
  typedval t{};
  t.rank = a->rank;
  t.type = a->type;
  t.valok = a->valok;
  t.con = a->con;
  t.value = a->value;
  return t;
}

// The first two actuals, both given and known, promoted to a common type.
bool known_pair(const actarg* first, typedval* x, typedval* y) {
  const actarg* a = arg_at(first, 0);
  const actarg* b = arg_at(first, 1);
  if (!known(a) || !known(b)) return false;
  *x = typed(a);
  *y = typed(b);
  return promote(x, y) != 0;
}

// Writes v, held in the store class of `from`, as the result: converted to
// the result type when the store classes differ. 1 on success.
int32_t put_result(conval v, const dtdesc& from, const dtdesc* result, conval* out) {
  if (result == nullptr) return 0;
  int rs = getdtstore(result->code);
  if (rs < SC_INTEGER || rs > SC_TEXT) return 0;
  if (!dtconvert(&v, &from, result)) return 0;
  *out = v;
  return 1;
}
int32_t put_int(int32_t i, const dtdesc* result, conval* out) {
  conval v{};
  v.i = i;
  return put_result(v, plain(DT_I4), result, out);
}
int32_t put_real(double d, const dtdesc* result, conval* out) {
  conval v{};
  v.d = d;
  return put_result(v, plain(DT_R8), result, out);
}

// Storage size in bytes of a data type; a default-kind code takes the size
// of the unit's default type of its class. 0 when the type has no size.
int32_t type_bytes(uint8_t code) {
  if (code < 1 || code > 26) return 0;
  int32_t n = dtstuff[code].size;
  if (n != -1) return n > 0 ? n : 0;
  int tclass = code == DT_DBLE ? TC_DOUBLE : getdtname(code);
  int32_t d = defdtypes[tclass];
  if (d >= 1 && d <= 26 && dtstuff[d].size > 0) return dtstuff[d].size;
  if (dtopts.deflen[tclass] > 0) return dtopts.deflen[tclass];
  return tclass == TC_DOUBLE || tclass == TC_COMPLEX ? 8 : 4;
}

bool is_integer_type(uint8_t code) {
  int tc = getdtname(code);
  return tc == TC_INTEGER || tc == TC_BYTE;
}
bool is_real_type(uint8_t code) { return getdtname(code) == TC_REAL; }

// The floating-point model of the real types by storage size.
struct RealModel {
  int32_t bytes;        // REAL*4, REAL*8, REAL*16
  int32_t digits;       // DIGITS
  int32_t epsilon_exp;  // EPSILON is 2 to this power
  int32_t tiny_exp;     // TINY is 2 to this power
  int32_t maxexponent;  // MAXEXPONENT
  int32_t minexponent;  // MINEXPONENT
};
constexpr RealModel real_models[] = {
    {4, 24, -23, -126, 128, -125},
    {8, 53, -52, -1022, 1024, -1021},
    {16, 53, -52, -1024, 1023, -1023},
};

// The model of a real argument's type, or null.
const RealModel* real_model(const actarg* a) {
  if (!given(a) || !is_real_type(a->type.code)) return nullptr;
  int32_t bytes = type_bytes(a->type.code);
  for (const RealModel& m : real_models) {
    if (m.bytes == bytes) return &m;
  }
  return nullptr;
}

// The kind of a type on the current target: the kind written in its
// declaration; DOUBLE PRECISION the default double kind; otherwise the
// kind whose row in the target's table of the type class has the type's
// code (the class's default kind when it has, else the first such row).
// 0 when the target has no kind for the type.
int32_t kind_of_type(const dtdesc& t) {
  if (t.kind != 0) return t.kind;
  const uint8_t* defkind = getdefkindtbl();
  int tclass = getdtname(t.code);
  if (tclass == TC_BYTE) return defkind[TC_BYTE];
  if (tclass < TC_CHARACTER || tclass > TC_COMPLEX || t.code == DT_THOL) return 0;
  if (t.code == DT_DBLE ||
      (t.code == defdtypes[TC_DOUBLE] && defdtypes[TC_DOUBLE] != defdtypes[TC_REAL]))
    return defkind[TC_DOUBLE];
  int32_t code = t.code;
  if (code == DT_LOG || code == DT_INT || code == DT_REAL || code == DT_CPX) {
    code = defdtypes[tclass];
    if (code == 0) return defkind[tclass];
  }
  int32_t found = 0;
  for (const KindRow* r = get_kindset(tclass); r != nullptr && r->kind != 0; ++r) {
    if (r->dtcode != code) continue;
    if (r->kind == defkind[tclass]) return r->kind;
    if (found == 0) found = r->kind;
  }
  return found;
}

// The row of the target's kind table that describes a type, or null.
const KindRow* kind_row_of_type(const dtdesc& t) {
  int32_t kind = kind_of_type(t);
  int tclass = getdtname(t.code);
  if (kind == 0) return nullptr;
  for (const KindRow* r = get_kindset(tclass); r != nullptr && r->kind != 0; ++r) {
    if (r->kind == kind) return r;
  }
  return nullptr;
}

// The decimal exponent range (RANGE) of an integer kind whose largest value
// is limit: the whole part of the limit's decimal logarithm.
int32_t decimal_range(double limit) {
  int32_t r = 0;
  while (limit >= 10.0) {
    limit /= 10.0;
    ++r;
  }
  return r;
}

// ISHFT within a word of `bits` bits (8, 16 or 32): a positive count shifts
// left, a negative one right without sign extension; the count's magnitude
// is taken modulo 32 and a shift by the word's width or more leaves 0. The
// result is held sign-extended from the word's width.
int32_t ishft(int32_t v, int32_t count, int32_t bits) {
  uint32_t n = (count < 0 ? 0u - u(count) : u(count)) % 32u;
  uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
  uint32_t w = u(v) & mask;
  if (n >= static_cast<uint32_t>(bits)) {
    w = 0;
  } else {
    w = count < 0 ? w >> n : (w << n) & mask;
  }
  if (bits < 32 && (w & (1u << (bits - 1))) != 0) w |= ~mask;
  return s(w);
}

// MOD of integers by truncating division, INT32_MIN / -1 included; the
// divisor is not 0.
int32_t imod(int32_t x, int32_t y) {
  int32_t q = 0, p = 0, r = 0;
  pintdiv(&q, x, y);
  pintmul(&p, q, y);
  pintsub(&r, x, p);
  return r;
}

enum class BitOp { And, Or, Xor, Shift };

// IAND, IOR, IEOR and ISHFT: both arguments promoted to a common type of
// the integer store class.
int32_t intr_bit(const actarg* first, const dtdesc* result, conval* value, BitOp op) {
  typedval x{}, y{};
  if (!known_pair(first, &x, &y)) return 0;
  if (getdtstore(x.type.code) != SC_INTEGER || getdtstore(y.type.code) != SC_INTEGER) return 0;
  conval v{};
  uint32_t l = u(x.value.i), r = u(y.value.i);
  switch (op) {
    case BitOp::And: v.i = s(l & r); break;
    case BitOp::Or: v.i = s(l | r); break;
    case BitOp::Xor: v.i = s(l ^ r); break;
    case BitOp::Shift: {
      int32_t bytes = type_bytes(x.type.code);
      v.i = ishft(x.value.i, y.value.i, bytes == 1 || bytes == 2 ? 8 * bytes : 32);
      break;
    }
  }
  return put_result(v, x.type, result, value);
}

// MAX (sign 1) and MIN (sign -1): every given argument known and converted
// to the result type; of equal values the first stays.
int32_t intr_minmax(const actarg* first, const dtdesc* result, conval* value, int sign) {
  if (result == nullptr) return 0;
  int rs = getdtstore(result->code);
  if (rs != SC_INTEGER && rs != SC_FLOAT && rs != SC_TEXT) return 0;
  conval best{};
  bool have = false;
  for (const actarg* a = first; a != nullptr; a = a->next) {
    if (!given(a)) continue;
    if (!a->valok) return 0;
    conval v = a->value;
    // Texts are compared with texts, numbers with numbers.
    if (rs == SC_TEXT ? store_of(a) != SC_TEXT || v.s == nullptr
                      : store_of(a) != SC_INTEGER && store_of(a) != SC_FLOAT)
      return 0;
    if (!dtconvert(&v, &a->type, result)) return 0;
    int c = 0;
    if (have) {
      switch (rs) {
        case SC_INTEGER: c = pintcmp(v.i, best.i); break;
        case SC_FLOAT: c = prealcmp(v.d, best.d); break;
        default: {
          // Both texts are at least the result's length after dtconvert.
          int m = std::memcmp(v.s, best.s, static_cast<size_t>(result->value));
          c = m < 0 ? -1 : (m > 0 ? 1 : 0);
          break;
        }
      }
    }
    if (!have || c * sign > 0) best = v;
    have = true;
  }
  if (!have) return 0;
  *value = best;
  return 1;
}

// LGE, LGT, LLE, LLT: the relational operation opr on two texts.
int32_t intr_lexcmp(const actarg* first, const dtdesc* result, conval* value, int32_t opr) {
  const actarg* a = arg_at(first, 0);
  const actarg* b = arg_at(first, 1);
  if (!known_in(a, SC_TEXT) || !known_in(b, SC_TEXT)) return 0;
  if (result == nullptr || getdtstore(result->code) != SC_INTEGER) return 0;
  typedval x = typed(a), y = typed(b), r{};
  op_relop(&x, &y, &r, opr);
  if (!r.valok) return 0;
  conval v{};
  v.i = r.value.i;
  *value = v;
  return 1;
}

// MOD (modulo false) and MODULO (modulo true) after promotion; a zero
// divisor is not folded.
int32_t intr_remainder(const actarg* first, const dtdesc* result, conval* value, bool modulo) {
  typedval x{}, y{};
  if (!known_pair(first, &x, &y)) return 0;
  conval v{};
  switch (getdtstore(x.type.code)) {
    case SC_INTEGER: {
      if (y.value.i == 0) return 0;
      v.i = imod(x.value.i, y.value.i);
      if (modulo && v.i != 0 && (v.i < 0) != (y.value.i < 0)) pintadd(&v.i, v.i, y.value.i);
      break;
    }
    case SC_FLOAT: {
      if (y.value.d == 0.0) return 0;
      v.d = std::fmod(x.value.d, y.value.d);
      if (modulo && v.d != 0.0 && (v.d < 0.0) != (y.value.d < 0.0)) v.d += y.value.d;
      break;
    }
    default:
      return 0;
  }
  return put_result(v, x.type, result, value);
}

// AINT (round false) and ANINT (round true) of a real argument: the integer
// part, or the nearest whole number with halves away from zero.
int32_t intr_whole(const actarg* first, const dtdesc* result, conval* value, bool round) {
  const actarg* a = arg_at(first, 0);
  if (!known_in(a, SC_FLOAT)) return 0;
  conval v{};
  v.d = round ? std::round(a->value.d) : std::trunc(a->value.d);
  return put_result(v, a->type, result, value);
}

// An inquiry that yields one integer for an integer or real argument whose
// value need not be known.
int32_t put_if_numeric(const actarg* a, int32_t n, const dtdesc* result, conval* value) {
  if (!given(a) || (!is_integer_type(a->type.code) && !is_real_type(a->type.code))) return 0;
  return put_int(n, result, value);
}

}  // namespace

int32_t intr_and(const actarg* first, const dtdesc* result, conval* value) {
  return intr_bit(first, result, value, BitOp::And);
}
int32_t intr_or(const actarg* first, const dtdesc* result, conval* value) {
  return intr_bit(first, result, value, BitOp::Or);
}
int32_t intr_xor(const actarg* first, const dtdesc* result, conval* value) {
  return intr_bit(first, result, value, BitOp::Xor);
}
int32_t intr_shft(const actarg* first, const dtdesc* result, conval* value) {
  return intr_bit(first, result, value, BitOp::Shift);
}

int32_t intr_not(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known_in(a, SC_INTEGER) || result == nullptr || getdtstore(result->code) != SC_INTEGER) return 0;
  conval v{};
  v.i = s(~u(a->value.i));
  *value = v;
  return 1;
}

int32_t intr_len(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!given(a) || store_of(a) != SC_TEXT || a->type.tag != 'p' || a->type.value <= 0) return 0;
  return put_int(a->type.value, result, value);
}

int32_t intr_ichar(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known_in(a, SC_TEXT) || a->value.s == nullptr || a->type.tag != 'p' || a->type.value <= 0) return 0;
  return put_int(static_cast<unsigned char>(a->value.s[0]), result, value);
}

int32_t intr_conv(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known(a)) return 0;
  if (store_of(a) == SC_TEXT && a->value.s == nullptr) return 0;
  return put_result(a->value, a->type, result, value);
}

int32_t intr_cmplx(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  const actarg* b = arg_at(first, 1);
  if (!known(a) || (given(b) && !b->valok)) return 0;
  if (result == nullptr || getdtstore(result->code) != SC_COMPLEX) return 0;
  int sa = store_of(a);
  if (sa != SC_INTEGER && sa != SC_FLOAT && sa != SC_COMPLEX) return 0;
  conval v = a->value;
  if (!dtconvert(&v, &a->type, result)) return 0;
  if (given(b)) {
    int sb = store_of(b);
    if (sb != SC_INTEGER && sb != SC_FLOAT) return 0;
    conval im = b->value;
    if (!dtconvert(&im, &b->type, result)) return 0;
    v.c[1] = im.c[0];
  }
  *value = v;
  return 1;
}

int32_t intr_imag(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known_in(a, SC_COMPLEX)) return 0;
  return put_real(a->value.c[1], result, value);
}

int32_t intr_conjg(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known_in(a, SC_COMPLEX)) return 0;
  conval v{};
  v.c[0] = a->value.c[0];
  v.c[1] = -a->value.c[1];
  return put_result(v, a->type, result, value);
}

int32_t intr_max(const actarg* first, const dtdesc* result, conval* value) {
  return intr_minmax(first, result, value, 1);
}
int32_t intr_min(const actarg* first, const dtdesc* result, conval* value) {
  return intr_minmax(first, result, value, -1);
}

int32_t intr_lge(const actarg* first, const dtdesc* result, conval* value) {
  return intr_lexcmp(first, result, value, 11);
}
int32_t intr_lgt(const actarg* first, const dtdesc* result, conval* value) {
  return intr_lexcmp(first, result, value, 10);
}
int32_t intr_lle(const actarg* first, const dtdesc* result, conval* value) {
  return intr_lexcmp(first, result, value, 15);
}
int32_t intr_llt(const actarg* first, const dtdesc* result, conval* value) {
  return intr_lexcmp(first, result, value, 14);
}

int32_t intr_abs(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known(a)) return 0;
  conval v{};
  switch (store_of(a)) {
    case SC_INTEGER:
      v.i = a->value.i;
      if (v.i < 0) pintneg(&v.i, v.i);  // -2147483648 stays
      return put_result(v, a->type, result, value);
    case SC_FLOAT:
      return put_real(std::fabs(a->value.d), result, value);
    case SC_COMPLEX:
      return put_real(std::hypot(a->value.c[0], a->value.c[1]), result, value);
    default:
      return 0;
  }
}

int32_t intr_dim(const actarg* first, const dtdesc* result, conval* value) {
  typedval x{}, y{};
  if (!known_pair(first, &x, &y)) return 0;
  conval v{};
  switch (getdtstore(x.type.code)) {
    case SC_INTEGER:
      if (x.value.i > y.value.i) pintsub(&v.i, x.value.i, y.value.i);
      break;
    case SC_FLOAT:
      if (x.value.d > y.value.d) v.d = x.value.d - y.value.d;
      break;
    default:
      return 0;
  }
  return put_result(v, x.type, result, value);
}

int32_t intr_dprod(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  const actarg* b = arg_at(first, 1);
  if (!known_in(a, SC_FLOAT) || !known_in(b, SC_FLOAT)) return 0;
  return put_real(a->value.d * b->value.d, result, value);
}

int32_t intr_trunc(const actarg* first, const dtdesc* result, conval* value) {
  return intr_whole(first, result, value, false);
}
int32_t intr_near(const actarg* first, const dtdesc* result, conval* value) {
  return intr_whole(first, result, value, true);
}

int32_t intr_mod(const actarg* first, const dtdesc* result, conval* value) {
  return intr_remainder(first, result, value, false);
}
int32_t intr_modulo(const actarg* first, const dtdesc* result, conval* value) {
  return intr_remainder(first, result, value, true);
}

int32_t intr_kind(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!given(a)) return 0;
  int32_t kind = kind_of_type(a->type);
  if (kind <= 0) return 0;
  return put_int(kind, result, value);
}

int32_t intr_selected_int_kind(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!known_in(a, SC_INTEGER) || !is_integer_type(a->type.code)) return 0;
  int32_t kind = -1;
  for (const KindRow* r = get_kindset(TC_INTEGER); r != nullptr && r->kind != 0; ++r) {
    if (decimal_range(r->first) >= a->value.i) {
      kind = r->kind;
      break;
    }
  }
  dnkind = TC_INTEGER;
  return put_int(kind, result, value);
}

int32_t intr_selected_real_kind(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* p = arg_at(first, 0);
  const actarg* r = arg_at(first, 1);
  if (!given(p) && !given(r)) return 0;
  for (const actarg* a : {p, r}) {
    if (given(a) && (!known_in(a, SC_INTEGER) || !is_integer_type(a->type.code))) return 0;
  }
  double precision = given(p) ? myexp10(p->value.i) : 0.0;
  double range = given(r) ? myexp10(r->value.i) : 0.0;
  bool precision_found = false, range_found = false;
  int32_t kind = 0;
  for (const KindRow* k = get_kindset(TC_REAL); k != nullptr && k->kind != 0; ++k) {
    bool p_ok = k->second >= precision, r_ok = k->first >= range;
    precision_found = precision_found || p_ok;
    range_found = range_found || r_ok;
    if (p_ok && r_ok) {
      kind = k->kind;
      break;
    }
  }
  // No kind fits: -1 the precision, -2 the range, -3 both are beyond every
  // kind, -4 each is reached by some kind but not both by one.
  if (kind == 0) kind = !precision_found ? (!range_found ? -3 : -1) : (!range_found ? -2 : -4);
  dnkind = TC_REAL;
  return put_int(kind, result, value);
}

// The allocation status is known only at run time: never folded (a folded
// reference would count as a constant expression).
int32_t intr_allocated(const actarg*, const dtdesc*, conval*) { return 0; }

int32_t intr_bit_size(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!given(a) || !is_integer_type(a->type.code)) return 0;
  int32_t bytes = type_bytes(a->type.code);
  if (bytes <= 0) return 0;
  return put_int(8 * bytes, result, value);
}

int32_t intr_digits(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!given(a)) return 0;
  if (is_integer_type(a->type.code)) {
    int32_t bytes = type_bytes(a->type.code);
    return bytes > 0 ? put_int(8 * bytes - 1, result, value) : 0;
  }
  const RealModel* m = real_model(a);
  return m != nullptr ? put_int(m->digits, result, value) : 0;
}

int32_t intr_epsilon(const actarg* first, const dtdesc* result, conval* value) {
  const RealModel* m = real_model(arg_at(first, 0));
  return m != nullptr ? put_real(std::ldexp(1.0, m->epsilon_exp), result, value) : 0;
}

int32_t intr_huge(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  if (!given(a)) return 0;
  bool integer = getdtname(a->type.code) == TC_INTEGER;
  if (!integer && !is_real_type(a->type.code)) return 0;
  const KindRow* row = kind_row_of_type(a->type);
  if (row == nullptr) return 0;
  if (!integer) return put_real(row->first, result, value);
  // A 32-bit value cannot hold the largest INTEGER*8.
  if (row->first > 2147483647.0) return 0;
  return put_int(static_cast<int32_t>(row->first), result, value);
}

int32_t intr_tiny(const actarg* first, const dtdesc* result, conval* value) {
  const RealModel* m = real_model(arg_at(first, 0));
  return m != nullptr ? put_real(std::ldexp(1.0, m->tiny_exp), result, value) : 0;
}

int32_t intr_maxexponent(const actarg* first, const dtdesc* result, conval* value) {
  const RealModel* m = real_model(arg_at(first, 0));
  return m != nullptr ? put_int(m->maxexponent, result, value) : 0;
}

int32_t intr_minexponent(const actarg* first, const dtdesc* result, conval* value) {
  const RealModel* m = real_model(arg_at(first, 0));
  return m != nullptr ? put_int(m->minexponent, result, value) : 0;
}

int32_t intr_radix(const actarg* first, const dtdesc* result, conval* value) {
  return put_if_numeric(arg_at(first, 0), 2, result, value);
}

int32_t intr_number_of_processors(const actarg*, const dtdesc* result, conval* value) {
  return put_int(1, result, value);
}
int32_t intr_nworkers(const actarg*, const dtdesc* result, conval* value) {
  return put_int(1, result, value);
}
int32_t intr_processors_shape(const actarg*, const dtdesc* result, conval* value) {
  return put_int(0, result, value);
}

// The seconds since midnight are known only at run time: never folded (a
// folded reference would count as a constant expression).
int32_t intr_secnds(const actarg*, const dtdesc*, conval*) { return 0; }

int32_t intr_size(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  const actarg* d = arg_at(first, 1);
  // Only a whole array names its own bounds (a section names the array too).
  constexpr uint32_t whole = EK_ARRAY | EK_STRUCTARRAY;
  constexpr uint32_t part = EK_SECTION | EK_ARRCOMP | EK_ARRAYEXP | EK_ARRFUNC;
  if (!given(a) || a->sym == nullptr || (a->form & whole) == 0 || (a->form & part) != 0) return 0;
  int32_t want = 0;  // the dimension asked for, 0 all
  if (given(d)) {
    if (!known_in(d, SC_INTEGER) || d->value.i < 1) return 0;
    want = d->value.i;
  }
  // Bound flags that make a bound not constant (or not a bound at all), and
  // a dummy's last dimension of equal bounds, which stands for any size.
  constexpr uint8_t not_constant = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128;
  int64_t count = 1;
  int32_t rank = 0;
  bool found = false;
  for (const arrdim* dim = static_cast<const arrdim*>(a->sym->arrspec); dim != nullptr; dim = dim->next) {
    if (++rank > MAX_DIMS) return 0;
    if (want != 0 && rank != want) continue;
    if (dim->flags & not_constant) return 0;
    int64_t extent = int64_t{dim->upper} - dim->lower + 1;
    if (extent < 0) extent = 0;
    count *= extent;
    if (count > INT32_MAX) return 0;
    found = true;
  }
  if (!found) return 0;
  return put_int(static_cast<int32_t>(count), result, value);
}

int32_t intr_sizeof(const actarg* first, const dtdesc* result, conval* value) {
  const actarg* a = arg_at(first, 0);
  // A size that is not recorded is not folded to 0.
  if (!given(a) || a->size <= 0) return 0;
  return put_int(a->size, result, value);
}

double myexp10(int32_t n) {
  double r = n < 0 ? 0.0 : 1.0;
  // Beyond 10**308 the value stays infinite: stop multiplying.
  for (int32_t i = 0; i < n && !std::isinf(r); ++i) r *= 10.0;
  return r;
}
