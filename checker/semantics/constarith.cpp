// Typed constant arithmetic: the parser-value primitives (wrapping 32-bit
// integers, doubles) and the typed operations on operand values that the
// expression evaluator uses to fold constant expressions.
#include "checker/semantics/constarith.h"

#include <cstring>

#include "checker/common/mystring.h"
#include "checker/base/errmsg.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

namespace {
uint32_t u(int32_t v) { return static_cast<uint32_t>(v); }
int32_t s(uint32_t v) { return static_cast<int32_t>(v); }

// The default LOGICAL of the unit (its data-type code).
uint8_t default_logical() { return static_cast<uint8_t>(defdtypes[2] != 0 ? defdtypes[2] : 19); }

void set_unknown(typedval* r) { r->valok = 0; }

void report_zero_division(int32_t col) {
  tk.errcol = col;
  errmsg(179, "");
}
}  // namespace

int32_t itopint(int32_t* r, int32_t v) {
  *r = v;
  return 0;
}
int32_t pintneg(int32_t* r, int32_t a) {
  *r = s(0u - u(a));
  return 0;
}
int32_t pintadd(int32_t* r, int32_t a, int32_t b) {
  *r = s(u(a) + u(b));
  return 0;
}
int32_t pintsub(int32_t* r, int32_t a, int32_t b) {
  *r = s(u(a) - u(b));
  return 0;
}
int32_t pintmul(int32_t* r, int32_t a, int32_t b) {
  *r = s(u(a) * u(b));
  return 0;
}
int32_t pintdiv(int32_t* r, int32_t a, int32_t b) {
  if (b == 0) {
    *r = 0;
    return 0;
  }
  if (b == -1) return pintneg(r, a);  // INT32_MIN / -1 wraps to INT32_MIN
  *r = a / b;
  return 0;
}
int32_t pintcmp(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

int32_t ftopreal(double* r, uint32_t high, uint32_t low) {
  uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
  std::memcpy(r, &bits, sizeof *r);
  return 0;
}
int32_t prealneg(double* r, double a) {
  *r = -a;
  return 0;
}
int32_t prealadd(double* r, double a, double b) {
  *r = a + b;
  return 0;
}
int32_t prealsub(double* r, double a, double b) {
  *r = a - b;
  return 0;
}
int32_t prealmul(double* r, double a, double b) {
  *r = a * b;
  return 0;
}
int32_t prealdiv(double* r, double a, double b) {
  *r = a / b;
  return 0;
}
int32_t prealcmp(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

int32_t atopint(const char* text, int32_t len, int32_t base, int32_t* r) {
  int32_t v = 0;
  *r = 0;
  for (int32_t i = 0; i < len; ++i) {
    char c = text[i];
    int32_t d = 99;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'Z') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'z') d = c - 'a' + 10;
    if (d >= base) {
      *r = v;
      return 2;
    }
    pintmul(&v, v, base);
    pintadd(&v, v, d);
  }
  *r = v;
  return 0;
}

int32_t promote(typedval* a, typedval* b) {
  int32_t ra = dtstuff[a->type.code < dtstuff_rows ? a->type.code : 0].rank;
  int32_t rb = dtstuff[b->type.code < dtstuff_rows ? b->type.code : 0].rank;
  if (ra != rb) {
    typedval* lo = ra < rb ? a : b;
    const typedval* hi = ra < rb ? b : a;
    if (lo->valok) lo->valok = dtconvert(&lo->value, &lo->type, &hi->type) ? 1 : 0;
    lo->type = hi->type;
  }
  return a->valok && b->valok ? 1 : 0;
}

void op_add(typedval* a, typedval* b, typedval* r) {
  uint32_t con = a->con && b->con;
  bool known = promote(a, b) != 0;
  typedval res = *a;
  res.con = con;
  if (!known) {
    set_unknown(&res);
  } else {
    switch (getdtstore(a->type.code)) {
      case 1: pintadd(&res.value.i, a->value.i, b->value.i); break;
      case 2: prealadd(&res.value.d, a->value.d, b->value.d); break;
      case 3:
        prealadd(&res.value.c[0], a->value.c[0], b->value.c[0]);
        prealadd(&res.value.c[1], a->value.c[1], b->value.c[1]);
        break;
      default: set_unknown(&res); break;
    }
  }
  *r = res;
}

void op_neg(typedval* a) {
  if (!a->valok) return;
  switch (getdtstore(a->type.code)) {
    case 1: pintneg(&a->value.i, a->value.i); break;
    case 2: prealneg(&a->value.d, a->value.d); break;
    case 3:
      prealneg(&a->value.c[0], a->value.c[0]);
      prealneg(&a->value.c[1], a->value.c[1]);
      break;
    default: break;
  }
}

void op_mult(typedval* a, typedval* b, typedval* r) {
  uint32_t con = a->con && b->con;
  bool known = promote(a, b) != 0;
  typedval res = *a;
  res.con = con;
  if (!known) {
    set_unknown(&res);
  } else {
    switch (getdtstore(a->type.code)) {
      case 1: pintmul(&res.value.i, a->value.i, b->value.i); break;
      case 2: prealmul(&res.value.d, a->value.d, b->value.d); break;
      case 3: {
        double ar = a->value.c[0], ai = a->value.c[1];
        double br = b->value.c[0], bi = b->value.c[1];
        res.value.c[0] = ar * br - ai * bi;
        res.value.c[1] = ar * bi + ai * br;
        break;
      }
      default: set_unknown(&res); break;
    }
  }
  *r = res;
}

// A known value equal to zero in its store class.
static bool is_zero(const typedval* v) {
  switch (getdtstore(v->type.code)) {
    case 1: return v->value.i == 0;
    case 2: return v->value.d == 0.0;
    case 3: return v->value.c[0] * v->value.c[0] + v->value.c[1] * v->value.c[1] == 0.0;
    default: return false;
  }
}

void op_div(typedval* a, typedval* b, typedval* r, int32_t col) {
  uint32_t con = a->con && b->con;
  bool known = promote(a, b) != 0;
  typedval res = *a;
  res.con = con;
  if (!known) set_unknown(&res);
  if (b->valok && is_zero(b)) {
    report_zero_division(col);
    set_unknown(&res);
  } else if (known) {
    switch (getdtstore(a->type.code)) {
      case 1: pintdiv(&res.value.i, a->value.i, b->value.i); break;
      case 2: prealdiv(&res.value.d, a->value.d, b->value.d); break;
      case 3: {
        double ar = a->value.c[0], ai = a->value.c[1];
        double br = b->value.c[0], bi = b->value.c[1];
        double n = br * br + bi * bi;
        res.value.c[0] = (ar * br + ai * bi) / n;
        res.value.c[1] = (ai * br - ar * bi) / n;
        break;
      }
      default: set_unknown(&res); break;
    }
  }
  *r = res;
}

// Multiplies acc by base n times; long runs square instead, so that a huge
// exponent costs a few dozen steps.
static void mult_times(typedval* acc, typedval* base, uint32_t n) {
  if (n <= 64) {
    for (uint32_t i = 0; i < n && acc->valok; ++i) op_mult(acc, base, acc);
    return;
  }
  typedval sq = *base;
  while (n != 0 && acc->valok) {
    if (n & 1u) op_mult(acc, &sq, acc);
    n >>= 1;
    if (n != 0) op_mult(&sq, &sq, &sq);
  }
}

void op_exp(typedval* a, typedval* b, typedval* r, int32_t col) {
  uint32_t con = a->con && b->con;
  if (getdtstore(b->type.code) != 1 || getdtname(b->type.code) == TC_LOGICAL ||
      b->type.code == 16 || b->type.code == 12) {
    promote(a, b);
    typedval res = *a;
    res.con = 0;
    set_unknown(&res);
    *r = res;
    return;
  }
  if (!b->valok) {
    typedval res = *a;
    res.con = con;
    set_unknown(&res);
    *r = res;
    return;
  }
  int32_t e = b->value.i;
  typedval base = *a;
  typedval acc = *a;
  if (e >= 2) {
    mult_times(&acc, &base, u(e) - 1u);
  } else if (e <= 0) {
    // 1 - e divisions: the base by itself, then the quotient by the base.
    uint32_t n = 1u - u(e);
    op_div(&acc, &base, &acc, col);
    --n;
    if (n != 0 && acc.valok) {
      if (getdtstore(acc.type.code) == 1) {
        // 1 / b / b ...: 0 once |b| > 1, 1 for b = 1, alternating for b = -1.
        int32_t bv = base.value.i;
        if (bv == 1) acc.value.i = 1;
        else if (bv == -1) acc.value.i = (n & 1u) ? -1 : 1;
        else acc.value.i = 0;
      } else if (n <= 64) {
        for (uint32_t i = 0; i < n && acc.valok; ++i) op_div(&acc, &base, &acc, col);
      } else {
        typedval p = base;
        mult_times(&p, &base, n - 1u);
        op_div(&acc, &p, &acc, col);
      }
    }
  }
  acc.con = con;
  acc.rank = a->rank;
  *r = acc;
}

void op_relop(typedval* a, typedval* b, typedval* r, int32_t opr) {
  uint32_t con = a->con && b->con;
  bool known = promote(a, b) != 0;
  int32_t c = 0;
  if (known) {
    switch (getdtstore(a->type.code)) {
      case 1: c = pintcmp(a->value.i, b->value.i); break;
      case 2: c = prealcmp(a->value.d, b->value.d); break;
      case 4: {
        int32_t la = a->type.tag == 'p' ? a->type.value : 0;
        int32_t lb = b->type.tag == 'p' ? b->type.value : 0;
        if (a->value.s == nullptr || b->value.s == nullptr) {
          known = false;
          break;
        }
        int x = fffcmp(a->value.s, b->value.s, la, lb);
        c = x < 0 ? -1 : (x > 0 ? 1 : 0);
        break;
      }
      default: known = false; break;
    }
  }
  typedval res = *a;
  res.type = dtdesc{};
  res.type.code = default_logical();
  res.type.tag = 'p';
  res.con = con;
  res.valok = known ? 1 : 0;
  if (known) {
    bool t = false;
    switch (opr) {
      case 10: t = c > 0; break;
      case 11: t = c >= 0; break;
      case 12: t = c == 0; break;
      case 13: t = c != 0; break;
      case 14: t = c < 0; break;
      case 15: t = c <= 0; break;
      default: res.valok = 0; break;
    }
    res.value = conval{};
    res.value.i = t ? -1 : 0;
  }
  *r = res;
}
