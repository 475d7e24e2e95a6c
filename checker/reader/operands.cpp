// Operand readers of the expression evaluator: getvar reads a reference to
// a named entity (variable, element, section, substring, component,
// function reference, named constant), getcon a literal constant; the
// subscript and substring readers call back into getmeta for each bound.
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "checker/base/errmsg.h"
#include "checker/reader/expr.h"

#include "checker/reader/assignstmt.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/arglist.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/locsym.h"
#include "checker/base/tvxutil.h"
#include "checker/base/passes.h"

namespace {

// The dimensions of a symbol's array specification, as the declarations
// hang them from the symbol.
using DimNode = arrdim;
constexpr uint8_t BF_LOWER_EXPR = 1, BF_LOWER_BAD = 2, BF_UPPER_EXPR = 4, BF_STAR = 8,
                  BF_NO_UPPER = 16, BF_UPPER_BAD = 64, BF_DEFERRED = 128;

// Dialect bits that decide the type of an integer literal.
constexpr uint32_t ANSI77 = 1, DEC = 2, AOS = 4, SUN = 8, OS32 = 64, CRAY = 128, SGI = 256,
                   HPUX = 512, NCUBE = 1024, ANSI90 = 4096, LAHEY = 65536;

bool f90() { return ropt.Language != 1; }

const DimNode* dims_of(const locsym* sym) {
  return sym != nullptr ? static_cast<const DimNode*>(sym->arrspec) : nullptr;
}

bool is_named_constant(const locsym* s) {
  return s->sclass == SC_PAR || s->sclass == SC_PAR90 || s->sclass == SC_PAR90REC;
}
bool is_structure_name(const locsym* s) {
  return s->sclass == SC_STRUCT || s->sclass == SC_STRUCT90;
}
bool is_procedure(const locsym* s) {
  switch (s->sclass) {
    case SC_EXT: case SC_FUNC: case SC_SUB: case SC_MODULEPROC: case SC_INTERFACE: return true;
    default: break;
  }
  return s->squal == SQ_EXTERNAL || s->squal == SQ_INTRINSIC || s->squal == SQ_STATFUN ||
         s->squal == SQ_DUMRTN || s->squal == SQ_LIBRTN;
}

// Where the kind after the last literal's "_" starts.
int32_t kind_col;

// "_" kind after a literal: the kind value, -1 when the kind is a named
// constant whose value is not known (or, after message 69, a name of
// another class), 0 when there is no "_".
int32_t literal_kind(int32_t opts) {
  if (pstat[tk.stacol] != '_') return 0;
  TokenState keep = tk;
  ++tk.stacol;
  getokn();
  kind_col = tk.tokbeg;
  if (tk.toktyp == TT_DIGITS) {
    int32_t v = 0;
    atopint(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 10, &v);
    return v;
  }
  if (tk.toktyp == TT_NAME && (opts & GC_KINDNAMED)) {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 2, 0);
    if (s != nullptr && is_named_constant(s) && s->list != nullptr) {
      return static_cast<conval*>(s->list)->i;
    }
    // A name that is known here but is no named constant; a name not
    // known at all may come from a module, whose entities are not read.
    if (s != nullptr && s->sclass != SC_UNK && !is_named_constant(s)) msg_at(69, kind_col);
    return -1;
  }
  tk = keep;
  return 0;
}

// Applies a written kind to a literal's type; a kind the target does not
// have for the type is message 732.
void apply_kind(dtdesc* type, int32_t tclass, int32_t kind) {
  if (kind == 0) return;
  dnkind = kind;
  if (kind < 0) return;
  int32_t saved = tk.errcol;
  tk.errcol = kind_col;
  int32_t known = chk_kindparam(tclass, kind, 1);
  tk.errcol = saved;
  if (known == 0) return;
  int32_t code = adjust_dt_with_kind(tclass, kind);
  if (code > 0) type->code = static_cast<uint8_t>(code);
  type->kind = static_cast<uint8_t>(kind);
}

// Type of an integer literal by the dialect.
uint8_t integer_type(int64_t value, int32_t ndigits) {
  uint32_t c = ropt.compiler;
  uint8_t def = expr_default_code(3, 20);
  bool outside = value < -32768 || value > 32767;
  if (c & AOS) return (outside || ndigits >= 6) ? 4 : def;
  if (c & CRAY) return def;
  if (c & OS32) return 4;
  if (c & (ANSI77 | DEC | SUN | SGI | HPUX | NCUBE | ANSI90)) return outside ? 4 : def;
  if (c & LAHEY) return (value < -32767 || value > 32767) ? 4 : def;
  return outside ? 4 : 3;
}

// A real literal from the digits at p: mantissa and exponent. *end is the
// position after it; *code 21 default, 22 D exponent, 9 Q exponent.
bool real_literal(int32_t p, int32_t* end, double* value, uint8_t* code, bool* is_real) {
  double v = 0.0;
  bool digits = false;
  *is_real = false;
  while (pstat[p] >= '0' && pstat[p] <= '9') {
    v = v * 10.0 + (pstat[p] - '0');
    ++p;
    digits = true;
  }
  // A "." that starts an operator (1.EQ.X) is not a decimal point.
  if (pstat[p] == '.') {
    int32_t q = p + 1;
    int32_t letters = 0;
    while (pstat[q] >= 'A' && pstat[q] <= 'Z') {
      ++q;
      ++letters;
    }
    // Letters closed by a "." make an operator (1.EQ.2), not a fraction.
    bool is_operator = letters >= 1 && pstat[q] == '.';
    if (!is_operator) {
      *is_real = true;
      ++p;
      double scale = 0.1;
      while (pstat[p] >= '0' && pstat[p] <= '9') {
        v += (pstat[p] - '0') * scale;
        scale *= 0.1;
        ++p;
        digits = true;
      }
    }
  }
  if (!digits) return false;
  *code = 21;
  int32_t c = pstat[p];
  if (c == 'E' || c == 'D' || c == 'Q') {
    int32_t q = p + 1;
    bool neg = false;
    if (pstat[q] == '+' || pstat[q] == '-') {
      neg = pstat[q] == '-';
      ++q;
    }
    if (pstat[q] >= '0' && pstat[q] <= '9') {
      int32_t e = 0;
      while (pstat[q] >= '0' && pstat[q] <= '9') {
        if (e < 100000) e = e * 10 + (pstat[q] - '0');
        ++q;
      }
      if (e > 129) e = 130;  // beyond the range of every real kind
      for (int32_t i = 0; i < e; ++i) v = neg ? v * 0.1 : v * 10.0;
      *is_real = true;
      if (c == 'D') *code = 22;
      if (c == 'Q') *code = 9;
      p = q;
    }
  }
  *end = p;
  *value = v;
  return true;
}

// The character literal at the current token, of a written kind; 732 for
// a kind that is no character kind.
int32_t char_literal_of_kind(int32_t kind, int32_t kcol, dtdesc* type, conval* value,
                             uint32_t* valok) {
  tk.errcol = kcol;
  if (kind != 1 && chk_kindparam(TC_CHARACTER, kind, 1) == 0) kind = 1;
  *type = expr_type(14);
  type->value = tk.chartoklen;
  type->kind = static_cast<uint8_t>(kind);
  value->s = reinterpret_cast<char*>(pstat + tk.chartokval);
  *valok = 1;
  dnkind = kind;
  return 1;
}

// Implicit typing of a name met in an expression (reference: as a function).
// The procedures of the unit's interface blocks are not entered in the unit
// yet; a name that may be one (maybe_interface) has a type of its own
// there, so IMPLICIT NONE gives it no 136 and its type is taken as implicit.
void type_implicitly(locsym* sym, int32_t col, bool maybe_interface, bool reference) {
  int32_t keep = PrintImptypMsg;
  if (maybe_interface) PrintImptypMsg = 0;
  if (reference)
    imptypit_reference(sym, col);
  else
    imptypit(sym, col);
  PrintImptypMsg = keep;
  if (maybe_interface) sym->props |= CP_TYPIMP;
}

}  // namespace

int32_t getcon(int32_t opts, dtdesc* type, conval* value, uint32_t* valok) {
  TokenState start = tk;
  if ((opts & GC_HAVETOKEN) == 0) getokn();
  TokenState first = tk;
  *type = dtdesc{};
  *value = conval{};
  *valok = 0;
  dnkind = 0;
  auto restore = [&]() {
    tk = start;
    return 0;
  };
  // Digits: an integer or a real.
  if (tk.toktyp == TT_DIGITS || (tk.tok1 == '.' && pstat[tk.stacol] >= '0' && pstat[tk.stacol] <= '9')) {
    int32_t p = tk.tokbeg;
    int32_t end = p;
    double d = 0.0;
    uint8_t code = 21;
    bool is_real = false;
    if (!real_literal(p, &end, &d, &code, &is_real)) return restore();
    if (is_real) {
      *type = expr_type(code == 21 ? expr_default_code(4, 21) : code == 22 ? expr_default_code(6, 22) : 9);
      value->d = d;
      *valok = 1;
      tk.stacol = end;
      apply_kind(type, TC_REAL, literal_kind(opts));
      return 4;
    }
    // kind_'text' with a numeric kind: a character literal of that kind.
    if (f90() && pstat[tk.stacol] == '_' &&
        (pstat[tk.stacol + 1] == 'a' || pstat[tk.stacol + 1] == 'q')) {
      int32_t kind = 0;
      int32_t kcol = tk.tokbeg;
      atopint(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 10, &kind);
      ++tk.stacol;
      getokn();
      return char_literal_of_kind(kind, kcol, type, value, valok);
    }
    int32_t n = tk.toksiz;
    int32_t v = 0;
    int32_t rc = atopint(reinterpret_cast<const char*>(pstat + tk.tokbeg), n, 10, &v);
    if (rc != 0) {
      if (opts & GC_REPORT) msg_at(69, tk.tokbeg);
      *type = expr_type(expr_default_code(3, 20));
      return 3;
    }
    // The magnitude as written decides the type, before any wrap.
    int64_t magnitude = 0;
    for (int32_t i = 0; i < n && magnitude <= 0x100000000LL; ++i)
      magnitude = magnitude * 10 + (pstat[tk.tokbeg + i] - '0');
    *type = expr_type(integer_type(magnitude, n));
    value->i = v;
    *valok = 1;
    int32_t after = pstat[tk.stacol];
    if ((after == 'I' || after == 'J') &&
        !(pstat[tk.stacol + 1] >= 'A' && pstat[tk.stacol + 1] <= 'Z')) {
      type->code = after == 'I' ? 3 : 4;
      ++tk.stacol;
    }
    apply_kind(type, TC_INTEGER, literal_kind(opts));
    return 3;
  }
  // A complex literal.
  if (tk.tok1 == '(' && tk.toktyp == TT_OTHER) {
    double part[2] = {0, 0};
    uint8_t codes[2] = {0, 0};
    for (int32_t i = 0; i < 2; ++i) {
      getokn();
      bool neg = false;
      if (tk.tok1 == '+' || tk.tok1 == '-') {
        neg = tk.tok1 == '-';
        getokn();
      }
      dtdesc t{};
      conval v{};
      uint32_t ok = 0;
      int32_t rc = getcon((opts & ~GC_NAMES) | GC_HAVETOKEN, &t, &v, &ok);
      if (rc != 3 && rc != 4) return restore();
      part[i] = rc == 3 ? static_cast<double>(v.i) : v.d;
      if (neg) part[i] = -part[i];
      codes[i] = t.code;
      getokn();
      if (tk.tok1 != (i == 0 ? ',' : ')')) return restore();
    }
    uint8_t code = expr_default_code(5, 24);
    if (codes[0] == 9 || codes[1] == 9) code = 23;
    else if (codes[0] == 22 || codes[1] == 22 || codes[0] == 6 || codes[1] == 6) code = 8;
    *type = expr_type(code);
    value->c[0] = part[0];
    value->c[1] = part[1];
    *valok = 1;
    return 5;
  }
  // .TRUE. / .FALSE. / .T. / .F.
  if (tk.tok1 == '.' && tk.toktyp == TT_OTHER) {
    getokn();
    if (tk.toktyp != TT_NAME) return restore();
    std::string w(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(tk.toksiz));
    int32_t truth = 0;
    if (w == "TRUE" || w == "T") truth = -1;
    else if (w == "FALSE" || w == "F") truth = 0;
    else return restore();
    if (pstat[tk.stacol] != '.') return restore();
    ++tk.stacol;
    *type = expr_type(expr_default_code(2, 19));
    value->i = truth;
    *valok = 1;
    apply_kind(type, TC_LOGICAL, literal_kind(opts));
    return 2;
  }
  // A character literal.
  if (tk.toktyp == TT_CHAR) {
    *type = expr_type(14);
    type->value = tk.chartoklen;
    value->s = reinterpret_cast<char*>(pstat + tk.chartokval);
    *valok = 1;
    // Typeless forms written behind the text: '...'X, '...'O.
    int32_t after = pstat[tk.stacol];
    if ((after == 'X' || after == 'O') &&
        !(pstat[tk.stacol + 1] >= 'A' && pstat[tk.stacol + 1] <= 'Z')) {
      ++tk.stacol;
      *type = expr_type(16);
      type->value = 4;
      *value = conval{};
      *valok = 0;
      return after == 'X' ? 13 : 14;
    }
    return 1;
  }
  if (tk.toktyp == TT_HOLL) {
    *type = expr_type(12);
    type->value = tk.chartoklen;
    value->s = reinterpret_cast<char*>(pstat + tk.chartokval);
    *valok = 1;
    return 6;
  }
  if (tk.toktyp == TT_NAME && tk.tok1 == '$') {
    // $hex where "$" may also begin a name: the hexadecimal form wins.
    int32_t v = 0;
    if (tk.toksiz < 2 ||
        atopint(reinterpret_cast<const char*>(pstat + tk.tokbeg + 1), tk.toksiz - 1, 16, &v) != 0)
      return restore();
    *type = expr_type(4);
    value->i = v;
    *valok = 1;
    return 24;
  }
  if (tk.toktyp == TT_NAME) {
    int32_t next = pstat[tk.stacol];
    // Prefixed forms B'...', O'...', X'...', Y'...', Z'...'.
    if (tk.toksiz == 1 && (next == 'a' || next == 'q') && std::strchr("BOXYZ", tk.tok1) != nullptr) {
      int32_t letter = tk.tok1;
      getokn();
      const char* text = reinterpret_cast<const char*>(pstat + tk.chartokval);
      int32_t len = tk.chartoklen;
      int32_t rc = letter == 'B' ? 8 : letter == 'O' ? 9 : letter == 'X' ? 10 : letter == 'Y' ? 11 : 12;
      bool typeless = letter == 'B' || letter == 'O' || letter == 'Z' ||
                      (letter == 'X' && (ropt.compiler & (SUN | SGI | HPUX)));
      if (typeless) {
        *type = expr_type(16);
        type->value = 4;
        return rc;
      }
      if (letter == 'Y') {
        for (int32_t i = 0; i < len; ++i) {
          if (text[i] == ' ' || text[i] == '+' || text[i] == '-') {
            msg_at(419, first.tokbeg);
            break;
          }
        }
      }
      int32_t v = 0;
      if (atopint(text, len, 16, &v) != 0) {
        if (opts & GC_REPORT) msg_at(69, first.tokbeg);
      } else {
        value->i = v;
        *valok = 1;
      }
      if (letter == 'X') {
        *type = (ropt.compiler & CRAY) ? expr_type(16) : expr_type(3);
        if (ropt.compiler & CRAY) {
          type->value = 8;
          *valok = 0;
        }
      } else {
        *type = expr_type(4);
      }
      return rc;
    }
    // kind_'text': a character literal of a kind.
    if ((opts & GC_KINDPREFIX) && f90() && tk.toksiz > 1 && pstat[tk.stacol - 1] == '_' &&
        (next == 'a' || next == 'q')) {
      int32_t kind = 0;
      int32_t kcol = tk.tokbeg;
      const char* p = reinterpret_cast<const char*>(pstat + tk.tokbeg);
      int32_t n = tk.toksiz - 1;
      if (p[0] >= '0' && p[0] <= '9') {
        if (atopint(p, n, 10, &kind) != 0) {
          msg_at(638, kcol);
          kind = 1;
        }
      } else {
        locsym* s = getsym(p, n, 2, 0);
        if (s == nullptr || !is_named_constant(s)) {
          msg_at(638, kcol);
          kind = 1;
        } else if (s->list != nullptr) {
          kind = static_cast<conval*>(s->list)->i;
        } else {
          kind = 1;
        }
      }
      getokn();
      return char_literal_of_kind(kind, kcol, type, value, valok);
    }
    if (opts & GC_NAMES) {
      locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 2, 0);
      if (s != nullptr && is_named_constant(s)) {
        *type = s->type;
        if ((opts & GC_VALUE) && s->list != nullptr) {
          *value = *static_cast<conval*>(s->list);
          *valok = 1;
        }
        return 18;
      }
      if (tk.tok1 == 'Z' && tk.toksiz > 1) {
        int32_t v = 0;
        if (atopint(reinterpret_cast<const char*>(pstat + tk.tokbeg + 1), tk.toksiz - 1, 16, &v) == 0) {
          *type = expr_type(16);
          type->value = (tk.toksiz - 1 + 1) / 2;
          return 7;
        }
      }
    }
    return restore();
  }
  // DEC octal: "digits.
  if (tk.tok1 == '"' && tk.toktyp == TT_OTHER) {
    getokn();
    if (tk.toktyp != TT_DIGITS) return restore();
    int32_t v = 0;
    if (atopint(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 8, &v) != 0) {
      if (opts & GC_REPORT) msg_at(69, tk.tokbeg);
      *type = expr_type(3);
      return 15;
    }
    *type = expr_type(v >= 0 && v <= 32767 ? 3 : 4);
    value->i = v;
    *valok = 1;
    return 15;
  }
  // $hex and, with the SGI dialect, #hex.
  if ((tk.tok1 == '$' || (tk.tok1 == '#' && f90() && (ropt.compiler & SGI))) && tk.toktyp == TT_OTHER) {
    int32_t p = tk.stacol;
    int32_t q = p;
    while ((pstat[q] >= '0' && pstat[q] <= '9') || (pstat[q] >= 'A' && pstat[q] <= 'F')) ++q;
    if (q == p) return restore();
    int32_t v = 0;
    atopint(reinterpret_cast<const char*>(pstat + p), q - p, 16, &v);
    tk.stacol = q;
    *type = expr_type(4);
    value->i = v;
    *valok = 1;
    return 24;
  }
  return restore();
}

// Elements of a whole array: the product of its constant extents, 0 when
// any is not known.
static int32_t array_elements(const locsym* sym) {
  int64_t n = 1;
  int32_t dims = 0;
  for (const DimNode* d = dims_of(sym); d != nullptr && dims < 64; d = d->next, ++dims) {
    if (d->flags != 0) return 0;
    int64_t extent = static_cast<int64_t>(d->upper) - d->lower + 1;
    if (extent < 0) extent = 0;
    n *= extent;
    if (n > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(n);
}

// The declared extent of each dimension of an array, -1 where not known.
static std::vector<int32_t> declared_extents(const locsym* sym) {
  std::vector<int32_t> out;
  for (const DimNode* d = dims_of(sym); d != nullptr && out.size() < 64; d = d->next) {
    int64_t extent = static_cast<int64_t>(d->upper) - d->lower + 1;
    if (extent < 0) extent = 0;
    out.push_back(d->flags != 0 || extent > INT32_MAX ? -1 : static_cast<int32_t>(extent));
  }
  return out;
}

// The integer value of the expression just read, when known.
static bool known_int(int32_t* v) {
  if (!got_ok || got_typ.code == 0 || getdtstore(got_typ.code) != 1) return false;
  *v = got_val.i;
  return true;
}

// One subscript or triplet of dimension dim (from 1); *is_section is set
// for a triplet or a vector subscript. 0, or -2 after a stopping message.
int32_t get_section_subscript(locsym* sym, int32_t dim, int32_t* is_section,
                              SectionSubscript* rec) {
  *is_section = 0;
  const DimNode* d = dims_of(sym);
  for (int32_t i = 1; i < dim && d != nullptr; ++i) d = d->next;
  // What is left out takes the declared bound, known only when constant.
  SectionSubscript r{0, d != nullptr ? d->lower : 1, d != nullptr ? d->upper : 0, 1, 0};
  bool lower_unknown = d == nullptr || (d->flags & (BF_LOWER_EXPR | BF_LOWER_BAD)) != 0;
  bool upper_unknown =
      d == nullptr ||
      (d->flags & (BF_UPPER_EXPR | BF_STAR | BF_NO_UPPER | BF_UPPER_BAD | BF_DEFERRED)) != 0;
  bool dummy = sym != nullptr && (sym->usage & QB_DUM) != 0;
  bool triplet = false;
  if (pstat[tk.stacol] != ':') {
    int32_t col = tk.stacol;
    uint32_t k = getmeta(0x821);
    if (k == 0) return -2;
    bool vector = (k & 0x800u) != 0 && got_arrsecdims > 0;
    int32_t v = 0;
    if (known_int(&v)) {
      r.lower = r.upper = v;
      r.flags = 0x20;
    } else {
      r.flags = 0x20 | 0x2 | 0x40;
    }
    if (vector) {
      *is_section = 1;
      if (got_typ.code == 0 || getdtname(got_typ.code) != TC_INTEGER) {
        tk.errcol = col;
        errmsg(646, "");
      }
    } else {
      if (got_typ.code != 0 && getdtname(got_typ.code) != TC_INTEGER) {
        tk.errcol = col;
        errmsg(509, "");
      }
      if (pstat[tk.stacol] != ':' && got_ok && got_typ.code != 0 &&
          getdtname(got_typ.code) == TC_INTEGER && d != nullptr && !dummy) {
        int32_t v = got_val.i;
        bool low_ok = (d->flags & (BF_LOWER_EXPR | BF_LOWER_BAD)) != 0 || v >= d->lower;
        bool star = (d->flags & BF_STAR) != 0;
        bool up_known = (d->flags & (BF_UPPER_EXPR | BF_NO_UPPER | BF_UPPER_BAD | BF_DEFERRED)) == 0;
        bool up_ok = star || !up_known || v <= d->upper;
        if (!low_ok || !up_ok) {
          tk.errcol = col;
          errmsg(star ? 275 : 176, "yd");
        }
      }
    }
  } else {
    r.flags = lower_unknown ? 0x1 | 0x2 : 0x1;
  }
  if (pstat[tk.stacol] == ':') {
    triplet = true;
    r.kind = 1;
    r.flags &= 0x3;
    r.upper = d != nullptr ? d->upper : 0;
    ++tk.stacol;
    int32_t c = pstat[tk.stacol];
    if (c != ':' && c != ',' && c != ')') {
      if (getmeta(0x21) == 0) return -2;
      int32_t v = 0;
      if (known_int(&v))
        r.upper = v;
      else
        r.flags |= 0x40;
    } else {
      r.flags |= upper_unknown ? 0x4 | 0x40 : 0x4;
    }
    if (pstat[tk.stacol] == ':') {
      ++tk.stacol;
      int32_t col = tk.stacol;
      if (getmeta(0x21) == 0) return -2;
      if (got_ok && getdtstore(got_typ.code) == 1 && got_val.i == 0) {
        tk.errcol = col;
        errmsg(747, "");
      }
      int32_t v = 0;
      if (known_int(&v) && v != 0)
        r.stride = v;
      else
        r.flags |= 0x80;
    }
  }
  if (triplet) *is_section = 1;
  if (rec != nullptr) *rec = r;
  return 0;
}

// The number of elements a triplet selects, -1 when not known.
static int32_t triplet_extent(const SectionSubscript& r) {
  if (r.flags & (0x2 | 0x40 | 0x80)) return -1;
  int64_t n = (static_cast<int64_t>(r.upper) - r.lower + r.stride) / r.stride;
  if (n < 0) n = 0;
  return n > INT32_MAX ? -1 : static_cast<int32_t>(n);
}

int32_t get_section_subscript_list(locsym* sym, int32_t* nsections, int32_t* has_triplet,
                                   std::vector<int32_t>* extents) {
  *nsections = 0;
  *has_triplet = 0;
  if (extents != nullptr) extents->clear();
  int32_t rank = get_array_rank(sym);
  int32_t dim = 0;
  // The "(" has been read.
  for (;;) {
    ++dim;
    if (dim == rank + 1 && rank > 0) msg_at(445, tk.stacol);
    int32_t sec = 0;
    SectionSubscript rec{};
    if (get_section_subscript(sym, dim, &sec, &rec) != 0) return -2;
    if (sec) {
      ++*nsections;
      *has_triplet = 1;
      // A vector subscript's length is not followed here.
      if (extents != nullptr) extents->push_back(rec.kind == 1 ? triplet_extent(rec) : -1);
    }
    getokn();
    if (tk.tok1 == ',') continue;
    if (tk.tok1 == ')') return 0;
    msg_at(16, tk.tokbeg);
    return -2;
  }
}

int32_t get_substring(locsym* sym) {
  // The "(" has been read.
  int32_t declared = sym != nullptr && sym->type.tag == 'p' ? sym->type.value : 0;
  int32_t lower = 1, upper = declared;
  bool lk = true, uk = declared > 0;
  if (pstat[tk.stacol] != ':') {
    int32_t col = tk.stacol;
    if (getmeta(0x21) == 0) return -2;
    lk = got_ok && getdtstore(got_typ.code) == 1;
    if (lk) {
      lower = got_val.i;
      if (lower < 1 || (declared > 0 && lower > declared)) msg_at(169, col);
    }
  }
  getokn();
  if (tk.tok1 != ':') {
    msg_at(87, tk.tokbeg);
    return -2;
  }
  if (pstat[tk.stacol] != ')') {
    int32_t col = tk.stacol;
    if (getmeta(0x21) == 0) return -2;
    uk = got_ok && getdtstore(got_typ.code) == 1;
    if (uk) {
      upper = got_val.i;
      if (upper < 1 || (declared > 0 && upper > declared)) {
        msg_at(169, col);
      } else if (lk && upper < lower) {
        msg_at(822, col);
        upper = lower - 1;
      }
    }
  }
  getokn();
  if (tk.tok1 != ')') {
    msg_at(7, tk.tokbeg);
    return -2;
  }
  vhs = 1;
  charsubsize = lk && uk ? (upper >= lower ? upper - lower + 1 : 0) : 0;
  return 0;
}

namespace {

// The values of a structure constructor type-name(values), the "(" read:
// each value is matched with the next component of the type and checked
// as an assignment to it; a value beyond the last component gives 7, too
// few values 733. A type whose components are not known here (its
// definition is not in this unit) only has its values read. False after
// a message that ends the expression.
bool structure_constructor(locsym* type) {
  const FieldNode* field = static_cast<const FieldNode*>(type->list);
  bool known = field != nullptr && (type->extra & EXTRA_TYPE_UNDEFINED) == 0;
  if (pstat[tk.stacol] == ')') {
    getokn();
    if (known) msg_at(733, tk.tokbeg);
    return true;
  }
  constexpr uint32_t value_kinds = 0x380cf1u | 0x4u | 0x200u;
  for (;;) {
    int32_t col = tk.stacol;
    while (pstat[col] == ' ') ++col;
    if (getmeta(value_kinds) == 0) return false;
    if (got_sym != nullptr && got_arrsecdims > 0) flaguse(got_sym, QB_REF, col);
    if (known) {
      if (field == nullptr) {
        msg_at(7, col);
        return false;
      }
      if (field->sym != nullptr) ckassign(field->sym->type, got_typ, got_con != 0, col);
      field = field->next;
    }
    getokn();
    if (tk.tok1 == ',' && tk.toktyp == TT_OTHER) continue;
    if (tk.tok1 == ')' && tk.toktyp == TT_OTHER) break;
    msg_at(tk.tok1 == 10 ? 7 : 6, tk.tokbeg);
    return false;
  }
  if (known && field != nullptr) msg_at(733, tk.tokbeg);
  return true;
}

uint32_t fail_on(locsym* sym, int32_t n, int32_t col) {
  if (sym != nullptr) xrefit(sym, QB_REF, col);
  msg_at(n, col);
  return 0;
}

}  // namespace

namespace {

// The extents of the reference getvar reads, given to got_extents when it
// returns (after every reference read inside its subscripts).
struct ExtentsOut {
  std::vector<int32_t> v;
  ~ExtentsOut() { got_extents = std::move(v); }
};

}  // namespace

std::vector<int32_t> got_extents;

uint32_t getvar(uint32_t accepted, varout* out) {
  ExtentsOut extents;
  varout local{};
  varout& o = out != nullptr ? *out : local;
  o = varout{};
  o.nelem = 1;
  vhs = 0;
  charsubsize = 0;
  got_structfld = nullptr;
  got_field = nullptr;
  got_field_unknown = false;
  got_toprec = nullptr;
  got_recstrbeg = got_recstrend = 0;
  if (tk.toktyp != TT_NAME) {
    msg_at(24, tk.tokbeg);
    return 0;
  }
  const int32_t col = tk.tokbeg;
  locsym* sym = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 1, 0);
  if (sym == nullptr) {
    msg_at(24, col);
    return 0;
  }
  o.sym = sym;
  bool paren = pstat[tk.stacol] == '(';
  if (sym->sclass == SC_PROG) return fail_on(sym, 145, col);
  if (sym->sclass == SC_BLKD) return fail_on(sym, 146, col);
  if (is_named_constant(sym)) {
    if ((accepted & 0x300801u) == 0) return fail_on(sym, 8, col);
    if (sym->list != nullptr) {
      o.value = *static_cast<conval*>(sym->list);
      o.valok = 1;
    }
    o.con = 1;
    if (paren && sym->type.code == 14 && itacolon()) {
      getokn();
      if (get_substring(sym) != 0) return 0;
      o.valok = 0;
    }
    if (sym->type.code == 0) imptypit(sym, col);
    return 0x1;
  }
  bool is_array = sym->arrspec != nullptr;
  int32_t rank = 0;
  bool section = false;
  bool procedure_name = false;
  uint32_t kind = 0;
  if (paren) {
    if (is_structure_name(sym)) {
      getokn();
      if (!structure_constructor(sym)) return 0;
      if (accepted & 0x80000u) return 0x80000;
      if (accepted & 0x10u) return 0x10;
      return fail_on(sym, 741, col);
    }
    bool char_scalar = !is_array && sym->type.code == 14 && itacolon();
    if (!is_array && !char_scalar &&
        (is_procedure(sym) ||
         ((sym->sclass == SC_UNK || sym->sclass == SC_VAR) && sym->squal != SQ_STRUCTFLD &&
          sym->squal != SQ_SFDUMARG &&
          (sym->props & (CP_COMBLK | CP_EQVGRP | CP_PTRBASED | CP_POINTER)) == 0 &&
          (sym->usage & (QB_SET | QB_REF)) == 0))) {
      if ((accepted & 0x9u) == 0) return fail_on(sym, 115, col);
      if ((accepted & 0x1u) == 0) return 0x8;
      // A name the intrinsic tables know, not declared as anything else.
      const bool intrinsic = is_intrinsic_reference(sym) != 0;
      if (intrinsic) make_intrinsic(sym);
      if (sym->sclass == SC_UNK || sym->sclass == SC_VAR) sym->sclass = SC_FUNC;
      if (an.lpass == 1) {
        int32_t line = 0;
        // The database counts columns from 1.
        int32_t ncol = getcol(col, &line) + 1;
        int32_t srcline =
            line >= 0 && line < MAX_STMT_LINES ? stmtlines.lineno[line] : rsrc.srclno;
        CTVX_GenRCALL(sym, CTVX_GetCurrentFileId(), srcline, ncol);
      }
      if (intrinsic) {
        int32_t rc = arglist_intrinsic(sym, (accepted & 0x20u) != 0 ? 1 : 0, 0);
        if (rc == 0) return 0;
        flaguse(sym, QB_CALLED, col);
        o.value = gota_value;
        o.valok = gota_valok;
        o.con = gota_const;
        o.rank = rc == 3 ? gota_arrsecdims : 0;
        o.rank_unknown = rc != 3 && gota_rank_unknown;
        return rc == 3 ? 0x1000 : 0x100;
      }
      locsym* replacement = nullptr;
      int32_t rc = arglist(sym, (accepted & 0x20u) != 0 ? 1 : 0, &replacement);
      if (rc == 0) return 0;
      // A generic of an intrinsic's name may hand the reference to the
      // intrinsic: the reference goes on with the intrinsic's copy.
      if (replacement != nullptr) {
        o.sym = replacement;
        flaguse(replacement, QB_CALLED, col);
      }
      if (rc == 3) {
        // An intrinsic whose result is an array (a name that no global
        // record takes): its value and shape are the reference's.
        flaguse(sym, QB_CALLED, col);
        o.value = gota_value;
        o.valok = gota_valok;
        o.con = gota_const;
        o.rank = gota_arrsecdims;
        return 0x1000;
      }
      if (replacement != nullptr) return 0x100;
      if (sym->type.code == 0) type_implicitly(sym, col, unit.had_interface, true);
      flaguse(sym, QB_CALLED, col);
      // In Fortran 90 the function may return an array: its interface, if
      // any, is not read here.
      o.rank_unknown = ropt.Language != 1 && sym->squal != SQ_STATFUN;
      return 0x100;
    }
    if (!is_array && !char_scalar) {
      if (sym->squal == SQ_STRUCTFLD) return fail_on(sym, 152, col);
      if (sym->squal == SQ_SFDUMARG) return fail_on(sym, 44, col);
      return fail_on(sym, 27, col);
    }
    if (sym->sclass == SC_UNK) sym->sclass = SC_VAR;
    getokn();
    if (is_array) {
      int32_t nsec = 0, trip = 0;
      if (get_section_subscript_list(sym, &nsec, &trip, &extents.v) != 0) return 0;
      if (nsec > 0) {
        section = true;
        rank = nsec;
      }
      if (sym->type.code == 14 && pstat[tk.stacol] == '(') {
        getokn();
        if (get_substring(sym) != 0) return 0;
      }
    } else {
      if (get_substring(sym) != 0) return 0;
    }
  } else {
    if (sym->sclass == SC_UNK) sym->sclass = sym->type.code == 26 ? SC_REC90 : SC_VAR;
    procedure_name = is_procedure(sym) && sym->squal != SQ_FUNCVAR;
    if (is_array) {
      rank = get_array_rank(sym);
      o.nelem = array_elements(sym);
      extents.v = declared_extents(sym);
    }
  }
  // Structure components: "%" name, or "." name for a record; each part
  // is looked up in the component list of the structure before it.
  bool structure = false;
  bool unknown_part = false;  // a component of a type not known here
  // In Fortran 77 the only structures are DEC records, and a field of one
  // ("." name) is read wherever a variable is, under the kinds of a
  // variable; a "%" component stays a Fortran 90 form.
  bool f77_field = !f90() && (accepted & 0x3u) != 0;
  locsym* part = sym;
  for (;;) {
    int32_t sep = pstat[tk.stacol];
    bool record = part->type.code == 15 || part->type.code == 26;
    if (!((sep == '%' || (sep == '.' && record)) && pstat[tk.stacol + 1] >= 'A' &&
          pstat[tk.stacol + 1] <= 'Z'))
      break;
    TokenState before = tk;
    ++tk.stacol;
    getokn();
    std::string name(reinterpret_cast<const char*>(pstat + tk.tokbeg),
                     static_cast<size_t>(tk.toksiz));
    if (sep == '.' && pstat[tk.stacol] == '.') {
      bool op = false;
      for (const char* w : {"NEQV", "EQV", "XOR", "OR", "AND", "NOT", "LE", "LT", "NE", "EQ", "GE",
                            "GT", "N", "A", "O", "X", "MATCHES", "CONTAINS", "EOR"})
        op = op || name == w;
      // A defined operator after a derived-type object: one of an
      // interface, or of a module that USE does not copy yet.
      op = op || intf_find_defop(name.c_str()) != nullptr ||
           (part->type.code == DT_TYPE && intf_may_come_from_module());
      if (op) {
        tk = before;  // the "." belongs to an operator
        break;
      }
    }
    if (sep != '.') f77_field = false;
    if ((accepted & 0x450u) == 0 && !f77_field) return fail_on(sym, 120, col);
    extents.v.clear();
    if (!structure) {
      got_toprec = sym;
      got_recstrbeg = col;
    }
    structure = true;
    // Component nodes of a structure: {symbol, next}.
    struct Member {
      locsym* sym;
      Member* next;
    };
    // The structure of the part: none for a part that is no structure,
    // which is an error when the part was declared here (otherwise it may
    // be an entity the unit cannot see, such as one of a module).
    locsym* type_sym = part->type.tag == 'q' ? PGetQStructsym(&part->type) : nullptr;
    if (type_sym == nullptr && (part->usage & QB_DECL)) return fail_on(sym, 120, tk.tokbeg);
    locsym* found = nullptr;
    for (Member* m = type_sym != nullptr ? static_cast<Member*>(type_sym->list) : nullptr;
         m != nullptr; m = m->next) {
      if (m->sym != nullptr && name == m->sym->name) {
        found = m->sym;
        break;
      }
    }
    got_structfld = part;
    if (found == nullptr && (type_sym == nullptr || type_sym->list == nullptr ||
                             (type_sym->extra & EXTRA_TYPE_UNDEFINED))) {
      // A type whose components are not known in this unit (defined in a
      // module or a host): the component is taken as it stands, of a type
      // not known, its subscripts passed over.
      if (pstat[tk.stacol] == '(') {
        getokn();
        for (int32_t depth = 1; depth > 0;) {
          getokn();
          if (tk.tok1 == 10 && tk.toktyp == TT_OTHER) return fail_on(sym, 7, tk.tokbeg);
          if (tk.toktyp == TT_OTHER && tk.tok1 == '(') ++depth;
          if (tk.toktyp == TT_OTHER && tk.tok1 == ')') --depth;
        }
      }
      got_recstrend = tk.stacol;
      o.comptype = dtdesc{};
      o.comp = 1;
      got_field = nullptr;
      got_field_unknown = true;
      unknown_part = true;
      break;
    }
    if (found == nullptr) {
      fail_on(sym, 147, tk.tokbeg);
      return 0x100000;
    }
    int32_t part_rank = 0;
    if (found->arrspec != nullptr) {
      if (pstat[tk.stacol] == '(') {
        getokn();
        int32_t nsec = 0, trip = 0;
        if (get_section_subscript_list(found, &nsec, &trip) != 0) return 0;
        part_rank = nsec;
      } else {
        part_rank = get_array_rank(found);
      }
    }
    if (part_rank > 0 && rank > 0) return fail_on(sym, 728, tk.tokbeg);
    if (part_rank > 0) rank = part_rank;
    if (found->type.code == 14 && pstat[tk.stacol] == '(') {
      getokn();
      if (get_substring(found) != 0) return 0;
    }
    got_recstrend = tk.stacol;
    o.comptype = found->type;
    got_field = found;
    o.comp = 1;
    part = found;
  }
  if (sym->type.code == 0 && !procedure_name) {
    // A procedure of the unit's interface blocks named as an actual argument.
    bool interface_procedure = unit.had_interface && !paren && intf_body_named(sym->name);
    type_implicitly(sym, col, interface_procedure, false);
  }
  o.rank = rank;
  if (procedure_name) {
    if (accepted & 0x8u) return 0x8;
    return fail_on(sym, 40, col);
  }
  if (structure) {
    o.rank = rank;
    if (unknown_part && rank == 0) {
      // What the component is, scalar or structure, is not known.
      if (accepted & 0x2u) return 0x2;
      if (accepted & 0x1u) return 0x1;
      if (accepted & 0x10u) return 0x10;
      return fail_on(sym, 120, col);
    }
    if (rank == 0) {
      bool structured = part->type.code == 15 || part->type.code == 26;
      if (structured && (accepted & 0x10u)) return 0x10;
      if (!structured && (accepted & 0x2u)) return 0x2;
      if (!structured && (accepted & 0x1u)) return 0x1;
      if (accepted & 0x10u) return 0x10;
      if (f77_field) return (accepted & 0x2u) ? 0x2 : 0x1;
      return fail_on(sym, 120, col);
    }
    if (accepted & 0x400u) return 0x400;
    if (accepted & 0x40u) return 0x40;
    // An array field of a record is a whole array where one is read.
    if (f77_field && (accepted & 0x4u)) return 0x4;
    return fail_on(sym, 449, col);
  }
  if (section) {
    kind = (accepted & 0x200u) ? 0x200 : (accepted & 0x800u) ? 0x800 : 0;
    if (kind == 0) return fail_on(sym, 449, col);
    return kind;
  }
  if (is_array && !paren) {
    if (sym->type.code == 26 || sym->type.code == 15) {
      if (accepted & 0x40u) return 0x40;
      if (accepted & 0x400u) return 0x400;
      return fail_on(sym, 167, col);
    }
    kind = (accepted & 0x4u) ? 0x4 : (accepted & 0x200u) ? 0x200 : (accepted & 0x800u) ? 0x800 : 0;
    if (kind == 0) return fail_on(sym, 167, col);
    return kind;
  }
  o.rank = 0;
  if (accepted & 0x2u) return 0x2;
  if (accepted & 0x1u) return 0x1;
  return fail_on(sym, 450, col);
}
