// Expression evaluation: getmeta reads one expression by operator
// precedence over a fixed stack of operand records, types every reduction
// and folds it when its operands are known constants. Operands come from
// getvar and getcon (operands.cpp).
#include "checker/reader/expr.h"

#include <cstring>
#include <string>

#include "checker/base/errmsg.h"
#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/locsym.h"

namespace {

exprec expstack[EXPSTACK];
int32_t expidx;  // next free record of expstack

// Stack and incoming priority of each operator code.
constexpr int8_t stack_prio[31] = {0, 0, 12, 12, 14, 14, 14, 12, 12, 10, 8, 8, 8, 8, 8,
                                   8, 6, 6, 4, 2, 2, 2, 6, 6, 4, 2, 2, 2, 2, 8, 18};
constexpr int8_t in_prio[31] = {0, 0, 11, 11, 13, 13, 15, 17, 17, 9, 7, 7, 7, 7, 7,
                                7, 17, 5, 3, 1, 1, 1, 17, 5, 3, 1, 1, 1, 1, 7, 17};
// A defined operator before its only operand: it binds tighter than any
// other operator.
constexpr int8_t OP_UNARY_DEFINED = 30;

// Dotted operator names and their codes.
constexpr const char* operands[] = {"NEQV", "EQV", "XOR", "OR", "AND", "NOT", "LE",
                                    "LT", "NE", "EQ", "GE", "GT", "N", "A", "O", "X",
                                    "MATCHES", "CONTAINS", "EOR"};
constexpr int32_t oprcnt = 19;
constexpr int8_t oprcod[] = {21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 22, 23,
                             24, 25, 26, 27, 28};
static_assert(std::size(operands) == oprcnt && std::size(oprcod) == oprcnt);

constexpr uint32_t F90_VALUE_KINDS = 0x380cf1;
constexpr uint32_t F77_VALUE_KINDS = 0x8a1;
constexpr uint32_t STRUCT_VALUE_KINDS = 0x3804f1;

constexpr uint32_t OS32_BIT = 64;
constexpr uint32_t NCUBE_BIT = 1024;
constexpr uint32_t SGI_BIT = 256;

bool f90() { return ropt.Language != 1; }

int32_t type_class(const dtdesc& d) { return getdtname(d.code); }
bool is_char(const dtdesc& d) { return d.code == 14; }
bool is_typeless(const dtdesc& d) { return d.code == 12 || d.code == 16; }
int32_t char_len(const dtdesc& d) { return d.tag == 'p' ? d.value : 0; }

void clear_globals() {
  got_typ = dtdesc{};
  got_val = conval{};
  got_ok = got_con = 0;
  got_arrsecdims = 0;
  got_rank_unknown = false;
  got_sym = nullptr;
  got_arrelm = 1;
  got_arrpos = 0;
  got_epflags = 0;
  got_structfld = nullptr;
  got_recstrbeg = got_recstrend = 0;
  got_toprec = nullptr;
}

// The type a function reference yields: a type that only the IMPLICIT
// rules gave is not known where the name may be a module entity that USE
// does not copy yet (a unit with USE, or one contained in a host), or a
// procedure of an interface block, whose bodies are not entered yet; nor
// is the type of a function that a contained procedure read later may
// still define.
dtdesc function_type(const locsym* sym, dtdesc t) {
  bool maybe_hidden = unit.pabort[CL_USE] != 0 || Status.scope_level > 1 || unit.had_interface;
  if (sym != nullptr && (sym->props & CP_TYPIMP) && maybe_hidden) t = dtdesc{};
  if (sym != nullptr && (sym->extra & EXTRA_TYPE_PENDING)) t = dtdesc{};
  // A generic name's type is that of the specific the reference chooses.
  if (sym != nullptr && (sym->attrib & ATTR_GENERIC)) t = dtdesc{};
  return t;
}

bool array_valued(const exprec& r) { return (r.kind & 0x2e44u) != 0 || r.v.rank > 0; }

// Typeless operand of a character constant used with an arithmetic operator.
void as_hollerith(exprec* r) {
  int32_t len = char_len(r->v.type);
  r->v.type = expr_type(12);
  r->v.type.value = len;
}

void binarith_check(exprec* left, exprec* right, int32_t opr, bool allow_chars) {
  if (allow_chars && is_char(left->v.type) && is_char(right->v.type)) return;
  exprec* both[2] = {left, right};
  for (exprec* r : both) {
    if (!is_char(r->v.type)) continue;
    if (r->v.con) {
      as_hollerith(r);
    } else {
      msg_at(181, static_cast<int32_t>(r->col));
    }
  }
  uint32_t ul = getdtusg(left->v.type.code);
  uint32_t ur = getdtusg(right->v.type.code);
  if (ul != 0 && ur != 0 && (ul & ur) == 0 && opr != 6) {
    // A logical operand is taken silently.
    if (type_class(left->v.type) == TC_LOGICAL || type_class(right->v.type) == TC_LOGICAL) return;
    bool numeric = isNumericType(left->v.type.code) && isNumericType(right->v.type.code);
    if (numeric) return;  // mixed numeric types are promoted
    if (is_typeless(left->v.type) || is_typeless(right->v.type)) return;
    tk.errcol = static_cast<int32_t>(right->col);
    errmsg(76, "dd");
  }
}

}  // namespace

void chkbinarith(exprec* left, exprec* right) { binarith_check(left, right, left->opr, false); }

void chkbinrel(exprec* left, exprec* right) { binarith_check(left, right, left->opr, true); }

void chkunarith(exprec* right) {
  if (is_char(right->v.type)) {
    if (!right->v.con) msg_at(181, static_cast<int32_t>(right->col));
    right->v.type = expr_type(expr_default_code(3, 20));
    right->v.valok = 0;
  } else if (is_typeless(right->v.type)) {
    right->v.type = expr_type(expr_default_code(3, 20));
    right->v.valok = 0;
  }
}

void chkcharopd(exprec* opd) {
  if (is_char(opd->v.type)) return;
  // An operand of unknown type (a function defined later) is taken as
  // character.
  if (opd->v.type.code == 0) {
    opd->v.type = expr_type(14);
    opd->v.type.value = 0;
    opd->v.valok = 0;
    return;
  }
  if (is_typeless(opd->v.type)) {
    dtdesc to = expr_type(14);
    to.value = opd->v.type.value;
    if (opd->v.valok && getdtstore(opd->v.type.code) != 4) opd->v.valok = 0;
    opd->v.type = to;
    return;
  }
  msg_at(34, static_cast<int32_t>(opd->col));
  opd->v.type = expr_type(14);
  opd->v.type.value = 0;
  opd->v.valok = 0;
}

// Class of a logical operand: 0 logical, 1 integer, 2 default real,
// 3 short typeless, 4 long typeless, 5 short character constant, 6 long
// character constant, -1 any other type.
static int32_t logical_class(const exprec* r) {
  const dtdesc& d = r->v.type;
  int32_t tc = type_class(d);
  // A type not known here (a function's, a defined operator's) is taken
  // as logical.
  if (tc == TC_LOGICAL || d.code == 0) return 0;
  if (tc == TC_INTEGER) return 1;
  if (d.code == 21 || d.code == 5) return 2;
  if (is_typeless(d)) return d.value <= 8 ? 3 : 4;
  if (is_char(d) && r->v.con) return char_len(d) <= 8 ? 5 : 6;
  return -1;
}

void chklogopt(exprec* left, exprec* right) {
  bool unary = left->opr == 16 || left->opr == 22;
  int32_t cl = unary ? 0 : logical_class(left);
  int32_t cr = logical_class(right);
  if (!unary && cl < 0) {
    tk.errcol = static_cast<int32_t>(left->col);
    errmsg(461, "t");
  }
  if (cr < 0) {
    tk.errcol = static_cast<int32_t>(right->col);
    errmsg(461, "t");
  }
  if (cl != 0 || cr != 0) {
    right->v.type = expr_type(16);
    right->v.type.value = 4;
  } else {
    right->v.type = expr_type(expr_default_code(2, 19));
  }
}

void doexp(exprec* left, exprec* right) {
  int32_t opr = left->opr;
  bool unary = opr == 7 || opr == 8 || opr == 16 || opr == 22;
  // Shape.
  int32_t rank = right->v.rank;
  bool arr = array_valued(*right);
  if (!unary) {
    bool la = array_valued(*left);
    if (la && arr && left->v.rank != right->v.rank && left->v.rank > 0 && right->v.rank > 0) {
      tk.errcol = static_cast<int32_t>(right->col);
      errmsg(451, "dd");
    }
    if (la && !arr) rank = left->v.rank;
    arr = arr || la;
  }
  uint32_t con = unary ? right->v.con : (left->v.con && right->v.con);
  switch (opr) {
    case 2:
    case 3:
      chkbinarith(left, right);
      if (opr == 3) op_neg(&right->v);
      op_add(&left->v, &right->v, &right->v);
      break;
    case 4:
      chkbinarith(left, right);
      op_mult(&left->v, &right->v, &right->v);
      break;
    case 5:
      chkbinarith(left, right);
      op_div(&left->v, &right->v, &right->v, static_cast<int32_t>(left->oprcol));
      break;
    case 6:
      chkbinarith(left, right);
      op_exp(&left->v, &right->v, &right->v, static_cast<int32_t>(left->oprcol));
      break;
    case 7:
    case 8:
      if (opr == 8 && right->v.valok) op_neg(&right->v);
      chkunarith(right);
      break;
    case 9: {
      chkcharopd(left);
      chkcharopd(right);
      int32_t ll = char_len(left->v.type), lr = char_len(right->v.type);
      bool known = left->v.valok && right->v.valok && ll > 0 && lr > 0 &&
                   left->v.value.s != nullptr && right->v.value.s != nullptr;
      int32_t sum = ll > 0 && lr > 0 ? ll + lr : 0;
      dtdesc t = expr_type(14);
      t.value = sum;
      if (known) {
        char* text = local_array<char>(sum + 1);
        std::memcpy(text, left->v.value.s, static_cast<size_t>(ll));
        std::memcpy(text + ll, right->v.value.s, static_cast<size_t>(lr));
        text[sum] = 0;
        right->v.value.s = text;
      } else {
        right->v.valok = 0;
      }
      right->v.type = t;
      break;
    }
    case 10: case 11: case 12: case 13: case 14: case 15:
      chkbinrel(left, right);
      op_relop(&left->v, &right->v, &right->v, opr);
      break;
    case 16: case 17: case 18: case 19: case 20: case 21: case 22: case 23: case 24:
    case 25: case 28: {
      bool known = right->v.valok && getdtstore(right->v.type.code) == 1 &&
                   (unary || (left->v.valok && getdtstore(left->v.type.code) == 1));
      uint32_t a = unary ? 0 : static_cast<uint32_t>(left->v.value.i);
      uint32_t b = static_cast<uint32_t>(right->v.value.i);
      uint32_t v = 0;
      switch (opr) {
        case 16: case 22: v = ~b; break;
        case 17: case 23: v = a & b; break;
        case 18: case 24: v = a | b; break;
        case 20: v = ~(a ^ b); break;
        default: v = a ^ b; break;
      }
      chklogopt(left, right);
      right->v.valok = known ? 1 : 0;
      if (known) right->v.value.i = static_cast<int32_t>(v);
      break;
    }
    case 26:
    case 27:
      // .MATCHES. and .CONTAINS.: a logical of unknown value.
      right->v.type = expr_type(expr_default_code(2, 19));
      right->v.valok = 0;
      break;
    default:
      // A defined operator: its result is not known here.
      right->v.type = dtdesc{};
      right->v.valok = 0;
      con = 0;
      break;
  }
  right->v.con = con && right->v.con ? 1 : 0;
  right->v.rank = arr ? rank : 0;
  right->kind = arr ? 0x800u : 0x1u;
  right->usrop = nullptr;
  right->col = left->kind != 0 ? left->col : left->oprcol;
}

int32_t exp_isint(const dtdesc* type) {
  if (type != nullptr && type->code >= 1 && type->code <= 26 && getdtname(type->code) == TC_INTEGER)
    return 1;
  errmsg(646, "");
  return 0;
}

int32_t chk_expr_type(const dtdesc* a, const dtdesc* b) {
  if (a->code >= 1 && a->code <= 26 && b->code >= 1 && b->code <= 26 &&
      is_same_dtclass(a->code, b->code))
    return 1;
  errmsg(538, "tt");
  return 0;
}

// A bound of unknown type (a generic or a defined operator not resolved
// here) passes, as a subscript of unknown type does.
int32_t check_subscript_type() {
  if (got_typ.code == 0 || getdtname(got_typ.code) == TC_INTEGER) return 1;
  errmsg(509, "");
  return 0;
}

int32_t itacolon() {
  TokenState keep = tk;
  int32_t depth = 0;
  int32_t found = 0;
  for (int32_t p = tk.stacol - 1; p < rsrc.statend && p < PSTAT_SIZE; ++p) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {
      p += CONST_OVERHEAD + ((pstat[p + 1] << 8) | pstat[p + 2]) - 1;
      continue;
    }
    if (c == 10) break;
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth <= 0) break;
    } else if (depth == 1 && c == ',') {
      break;
    } else if (depth == 1 && c == ':') {
      found = 1;
      break;
    }
  }
  tk = keep;
  return found;
}

void expr_reset() {
  expidx = 0;
  usdexpstack = 0;
  argisquoted = 0;
  clear_globals();
}

bool is_name_char(int32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// True when the text at p is a name followed by "=" (not "==").
bool name_eq_at(int32_t p) {
  if (p < 0 || p >= rsrc.statend) return false;
  int32_t c = pstat[p];
  if (!((c >= 'A' && c <= 'Z') || c == '_')) return false;
  while (p < rsrc.statend && is_name_char(pstat[p])) ++p;
  return p + 1 < PSTAT_SIZE && pstat[p] == '=' && pstat[p + 1] != '=';
}

namespace {

// Reads the operator after an operand; its code (1 end of expression).
// Leaves the column at the token after the operator, or at the start of
// the terminating token.
struct OperatorRead {
  int32_t code;    // operator code, 0 after a message
  int32_t col;     // its column
  locsym* usrop;   // defined operator
};

OperatorRead read_operator(uint32_t accepted, int32_t level, bool in_constructor) {
  OperatorRead o{1, 0, nullptr};
  getokn();
  o.col = tk.tokbeg;
  int32_t c = tk.tok1;
  int32_t next = pstat[tk.stacol];
  if (tk.toktyp != TT_OTHER) {
    tk.stacol = tk.tokbeg;
    return o;
  }
  auto take_next = [&]() { ++tk.stacol; };
  switch (c) {
    case '+': o.code = 2; break;
    case '-': o.code = 3; break;
    case '*':
      if (next == '*') { take_next(); o.code = 6; } else { o.code = 4; }
      break;
    case '/':
      if (next == '/') { take_next(); o.code = 9; }
      else if (next == '=') { take_next(); o.code = 13; }
      else if (next == ')' && in_constructor && f90()) o.code = 1;
      else if ((accepted & 0x8000u) && (next == ',' || next == 10)) o.code = 1;
      else o.code = 5;
      break;
    case '<':
      if (next == '=') { take_next(); o.code = 15; }
      else if (next == '>') { take_next(); o.code = 13; }
      else o.code = 14;
      break;
    case '>':
      if ((accepted & 0x4000u) ||
          (!f90() && (ropt.compiler & (OS32_BIT | NCUBE_BIT)) == 0)) {
        o.code = 1;
      } else if (next == '=') { take_next(); o.code = 11; }
      else o.code = 10;
      break;
    case '=':
      if (next == '=') { take_next(); o.code = 12; } else { o.code = 1; }
      break;
    case '!': o.code = 18; break;
    case '&': o.code = 17; break;
    case ')':
      o.code = level > 0 ? -1 : 1;  // -1: closes a sub-expression
      break;
    case '.': {
      getokn();
      if (tk.toktyp != TT_NAME) {
        msg_at(71, tk.tokbeg);
        o.code = 0;
        return o;
      }
      std::string name(reinterpret_cast<const char*>(pstat + tk.tokbeg),
                       static_cast<size_t>(tk.toksiz));
      int32_t name_col = tk.tokbeg;
      int32_t code = 0;
      for (int32_t i = 0; i < oprcnt; ++i) {
        if (name == operands[i]) {
          code = oprcod[i];
          break;
        }
      }
      if (code == 0) {
        if (f90()) {
          // A defined operator of an OPERATOR interface; one that a USEd
          // module may give without the unit's records holding it (a
          // module not in the table, an operator renamed by ONLY) is
          // taken with a result that is not known.
          locsym* s = intf_find_defop(name.c_str());
          if (s != nullptr || intf_may_come_from_module()) {
            code = OP_DEFINED;
            o.usrop = s;
          }
        }
        if (code == 0) {
          msg_at(72, name_col);
          o.code = 0;
          return o;
        }
      }
      if ((code == 26 || code == 27) && (accepted & 0x2000u) == 0) {
        msg_at(72, name_col);
        o.code = 0;
        return o;
      }
      getokn();
      if (tk.tok1 != '.' || tk.toktyp != TT_OTHER) {
        msg_at(73, tk.tokbeg);
        o.code = 0;
        return o;
      }
      o.code = code;
      break;
    }
    default:
      break;
  }
  if (o.code == 1) tk.stacol = tk.tokbeg;
  return o;
}

// The operand in hand, set from a getvar or getcon result.
void operand_from_type(exprec* r, const dtdesc& type, const conval& value, uint32_t valok,
                       uint32_t con, int32_t col) {
  r->v = typedval{};
  r->v.type = type;
  r->v.value = value;
  r->v.valok = valok;
  r->v.con = con;
  r->col = static_cast<uint32_t>(col);
  r->kind = 0x1;
}

int32_t narrow_kinds(uint32_t kind) {
  if (!f90()) return F77_VALUE_KINDS;
  return (kind & 0x10u) ? STRUCT_VALUE_KINDS : F90_VALUE_KINDS;
}

// True when the "(" at position p opens an implied DO: a "=" (not "==")
// stands at its outer level.
bool implied_do_at(int32_t p) {
  if (pstat[p] != '(') return false;
  int32_t depth = 0;
  for (; p < rsrc.statend; ++p) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {
      p += CONST_OVERHEAD + ((pstat[p + 1] << 8) | pstat[p + 2]) - 1;
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return false;
    if (depth == 1 && c == '=' && pstat[p + 1] != '=' && pstat[p - 1] != '=' &&
        pstat[p - 1] != '/' && pstat[p - 1] != '<' && pstat[p - 1] != '>')
      return true;
  }
  return false;
}

// Reads an implied DO of a constructor, its "(" next, up to its closing
// ")": the items as values (nested implied DOs alike), the DO variable as
// set and referenced, the bounds as values. False after a message.
bool read_constructor_implied_do(uint32_t accepted) {
  getokn();  // "("
  for (;;) {
    if (implied_do_at(tk.stacol)) {
      if (!read_constructor_implied_do(accepted)) return false;
    } else if (getmeta(0x40801u | (accepted & 0x20u)) == 0) {
      return false;
    }
    getokn();
    if (tk.toktyp != TT_OTHER || tk.tok1 != ',') {
      msg_at(36, tk.tokbeg);
      return false;
    }
    if (name_eq_at(tk.stacol)) break;
  }
  getokn();
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  if (locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0))
    flaguse(s, QB_SET | QB_REF, tk.tokbeg);
  getokn();  // "="
  for (int32_t bound = 0;; ++bound) {
    if (getmeta(EK_VALUE) == 0) return false;
    getokn();
    if (tk.toktyp == TT_OTHER && tk.tok1 == ')') return true;
    if (bound == 2 || tk.toktyp != TT_OTHER || tk.tok1 != ',') {
      msg_at(7, tk.tokbeg);
      return false;
    }
  }
}

// Element count of an array-valued constructor item list: "(/" has been read.
bool read_constructor(exprec* r, uint32_t accepted, bool bracket) {
  int32_t col = tk.tokbeg;
  int32_t items = 0;
  bool counted = true;  // every item's element count is known
  uint32_t known = 1;
  dtdesc type{};
  for (;;) {
    if (bracket ? pstat[tk.stacol] == ']' : (pstat[tk.stacol] == '/' && pstat[tk.stacol + 1] == ')')) {
      tk.stacol += bracket ? 1 : 2;
      break;
    }
    if (implied_do_at(tk.stacol)) {
      // An implied DO: its values are not counted here.
      if (!read_constructor_implied_do(accepted)) return false;
      known = 0;
      counted = false;
    } else {
      uint32_t k = getmeta(0x40801u | (accepted & 0x20u));
      if (k == 0) return false;
      if (type.code == 0) type = got_typ;
      if (!got_ok) known = 0;
      items += got_arrelm > 0 ? got_arrelm : 1;
    }
    getokn();
    if (tk.tok1 == ',') continue;
    if (!bracket && tk.tok1 == '/' && pstat[tk.stacol] == ')') {
      ++tk.stacol;
      break;
    }
    if (bracket && tk.tok1 == ']') break;
    // The constructor is not closed: "/)" (5) or "]" (540) expected.
    msg_at(bracket ? 540 : 5, tk.tokbeg);
    return false;
  }
  r->v = typedval{};
  r->v.type = type;
  r->v.rank = 1;
  r->v.valok = 0;
  r->v.con = known;
  r->kind = 0x800;
  r->col = static_cast<uint32_t>(col);
  r->v.spare[0] = counted ? items : 0;
  return true;
}

// A unary operator at the current token: 7 "+", 8 "-", 16 .NOT., 22 .N.,
// 30 a defined operator (its symbol in *usrop, null for one a module may
// give); 0 when the token starts no unary operator (the position is
// kept), -1 after the message for a missing closing ".".
int32_t unary_operator(locsym** usrop) {
  if (tk.tok1 == '+') return 7;
  if (tk.tok1 == '-') return 8;
  TokenState keep = tk;
  getokn();
  bool is_not = tk.toktyp == TT_NAME &&
                ((tk.toksiz == 3 && std::strncmp(reinterpret_cast<const char*>(pstat + tk.tokbeg), "NOT", 3) == 0) ||
                 (tk.toksiz == 1 && tk.tok1 == 'N'));
  if (!is_not && f90() && tk.toktyp == TT_NAME && pstat[tk.stacol] == '.') {
    std::string name(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(tk.toksiz));
    locsym* s = name == "TRUE" || name == "FALSE" ? nullptr : intf_find_defop(name.c_str());
    if (s != nullptr || (name != "TRUE" && name != "FALSE" && intf_may_come_from_module())) {
      getokn();
      *usrop = s;
      return OP_UNARY_DEFINED;
    }
  }
  if (!is_not) {
    tk = keep;
    return 0;
  }
  int32_t code = tk.toksiz == 3 ? 16 : 22;
  getokn();
  if (tk.tok1 != '.') {
    msg_at(29, tk.tokbeg);
    return -1;
  }
  return code;
}

// A literal operand read by getcon (the token is read); false after 69.
bool literal_operand(exprec* r, int32_t opts, int32_t col) {
  dtdesc t{};
  conval v{};
  uint32_t ok = 0;
  if (getcon(opts | 0x8, &t, &v, &ok) == 0) {
    msg_at(69, col);
    return false;
  }
  operand_from_type(r, t, v, ok, 1, col);
  return true;
}

}  // namespace

uint32_t getmeta(uint32_t accepted) {
  clear_globals();
  if (an.pass == 0) return 0;
  const int32_t base = expidx;
  if (expidx >= EXPSTACK - 1) {
    rd_outstr("INTERNAL OVERFLOW - exceeded EXPSTACK max of " + std::to_string(EXPSTACK) + "\n");
    ++unit.statfe;
    rd_errmsg(166);
    return 0;
  }
  expstack[expidx] = exprec{};
  expstack[expidx].level = -1;
  ++expidx;
  auto fail = [&]() -> uint32_t {
    expidx = base;
    clear_globals();
    return 0;
  };
  int32_t level = 0;
  uint32_t acc = accepted;
  const bool in_constructor = (accepted & 0x40000u) != 0;
  exprec cur{};
  bool first = true;  // no operand or operator read yet
  locsym* single = nullptr;
  int32_t single_func = 0;  // the single operand is a function reference
  bool rank_unknown = false;  // an operand's rank is not known

  // Reduces the top record with the operand in hand: in Fortran 90 a
  // function of an OPERATOR interface first, else the intrinsic operator.
  auto reduce = [&]() {
    --expidx;
    exprec* left = &expstack[expidx];
    // A unary defined operator is looked up as code 29 with no left operand.
    if (left->opr == OP_UNARY_DEFINED) left->opr = OP_DEFINED;
    if (f90() && left->opr >= 2 && left->opr <= OP_DEFINED) {
      int32_t r = intf_chk_usropr_dt(left, &cur, left->usrop);
      if (r == 0) return;
      bool record = left->v.type.code == DT_TYPE || cur.v.type.code == DT_TYPE;
      if (r == -3) {
        // Which function applies is not known: a scalar of unknown type.
        cur.v = typedval{};
        cur.kind = 0x1;
        cur.usrop = nullptr;
        cur.col = left->kind != 0 ? left->col : left->oprcol;
        return;
      }
      if (r == -2 && record && intf_may_come_from_module()) {
        // A derived-type operand: the operator may be one that a USEd
        // module defines without the unit's records holding it.
        cur.v = typedval{};
        cur.v.type = intf_get_defdtyp(left->opr);
        cur.kind = 0x1;
        cur.usrop = nullptr;
        cur.col = left->kind != 0 ? left->col : left->oprcol;
        return;
      }
      if (r == -1 && record) {
        // The operator's interface has no functions yet: the result is a
        // scalar of unknown type. Operands of intrinsic types take the
        // intrinsic operation, which no interface can redefine (as in
        // the body of the operator's own function).
        cur.v = typedval{};
        cur.kind = 0x1;
      }
    }
    doexp(left, &cur);
  };

  // Pushes a record; false after the overflow message.
  auto push = [&](const exprec& r) -> bool {
    if (expidx >= EXPSTACK - 1) {
      rd_outstr("INTERNAL OVERFLOW - exceeded EXPSTACK max of " + std::to_string(EXPSTACK) +
                "\n");
      ++unit.statfe;
      rd_errmsg(166);
      return false;
    }
    expstack[expidx] = r;
    ++expidx;
    if (expidx > usdexpstack) usdexpstack = expidx;
    return true;
  };

  for (;;) {
    // Operand step.
    getokn();
    int32_t col = tk.tokbeg;
    cur = exprec{};
    cur.col = static_cast<uint32_t>(col);
    bool have_operand = false;
    if (tk.toktyp == TT_NAME) {
      int32_t next = pstat[tk.stacol];
      bool prefixed = tk.toksiz == 1 && (next == 'a' || next == 'q') &&
                      std::strchr("BOXYZ", tk.tok1) != nullptr;
      bool kind_prefixed = f90() && tk.toksiz > 1 && pstat[tk.stacol - 1] == '_' &&
                           (next == 'a' || next == 'q');
      if (prefixed || kind_prefixed) {
        TokenState keep = tk;
        dtdesc t{};
        conval v{};
        uint32_t ok = 0;
        int32_t opts = 0x29 | ((accepted & 0x20u) ? 0x4 : 0) | (kind_prefixed ? 0x10 : 0);
        if (getcon(opts, &t, &v, &ok) != 0) {
          operand_from_type(&cur, t, v, ok, 1, col);
          have_operand = true;
          if (t.code == 14) argisquoted = 1;
        } else {
          tk = keep;
        }
      }
      if (!have_operand && tk.tok1 == '$') {
        dtdesc t{};
        conval v{};
        uint32_t ok = 0;
        if (getcon(0x29 | ((accepted & 0x20u) ? 0x4 : 0), &t, &v, &ok) != 0) {
          operand_from_type(&cur, t, v, ok, 1, col);
          have_operand = true;
        }
      }
      if (!have_operand) {
        varout vo{};
        // The first operand is read with the caller's kinds, later ones as values.
        bool leading = first && level == 0 && expidx == base + 1;
        // Components of structures are values too for callers that read values.
        uint32_t lead = accepted | ((accepted & 0x801u) && f90() ? 0x450u : 0u);
        uint32_t k = getvar(leading ? lead : acc, &vo);
        if (k == 0) return fail();
        int32_t after = pstat[tk.stacol];
        int32_t after2 = after == 10 ? 10 : pstat[tk.stacol + 1];
        bool terminator = after == ',' || after == ')' || after == ':' || after == 10 ||
                          (after == '=' && after2 != '=') ||
                          (in_constructor && after == '/' && after2 == ')') ||
                          (in_constructor && after == ']');
        if (leading && terminator && (accepted & k) != 0) {
          // A plain reference: the caller gets the reference itself.
          clear_globals();
          if (vo.sym != nullptr) got_typ = vo.comp ? vo.comptype : vo.sym->type;
          if (k == 0x100 || k == 0x1000) got_typ = function_type(vo.sym, got_typ);
          got_val = vo.value;
          got_ok = vo.valok;
          got_con = vo.con;
          got_arrsecdims = vo.rank;
          got_rank_unknown = vo.rank_unknown;
          got_arrelm = vo.nelem > 0 ? vo.nelem : 1;
          got_sym = vo.sym;
          // A variable read as a value is referenced.
          if (k == 0x1 && vo.sym != nullptr) {
            uint32_t usage = static_cast<uint32_t>(QB_REF) |
                             ((accepted & 0x80u) ? static_cast<uint32_t>(QB_BOUND) : 0u);
            flaguse(vo.sym, usage, col);
          }
          if (k == 0x100) got_epflags = 1;
          if (k == 0x1000) got_epflags = 2;
          if (vhs && vo.sym != nullptr) got_typ.value = charsubsize;
          expidx = base;
          return k;
        }
        acc = static_cast<uint32_t>(narrow_kinds(k)) | (accepted & 0x2000u);
        if (vo.sym != nullptr && (k & 0x2e17u)) {
          uint32_t usage = static_cast<uint32_t>(QB_REF) | ((accepted & 0x80u) ? static_cast<uint32_t>(QB_BOUND) : 0u);
          flaguse(vo.sym, usage, col);
        }
        dtdesc t = vo.comp ? vo.comptype : vo.sym != nullptr ? vo.sym->type : dtdesc{};
        if (k == 0x100 || k == 0x1000) t = function_type(vo.sym, t);
        if (vhs) t.value = charsubsize;
        operand_from_type(&cur, t, vo.value, vo.valok, vo.con, col);
        cur.v.rank = vo.rank;
        rank_unknown = rank_unknown || vo.rank_unknown;
        bool structured = t.code == 15 || t.code == 26;
        cur.kind = vo.rank > 0 || (k & 0x1e44u) ? 0x800u : ((k & 0x10u) && structured ? 0x10u : 0x1u);
        if (k == 0x80000) cur.kind = 0x80000;
        single = vo.sym;
        if (k == 0x100) single_func = 1;
        if (k == 0x1000) single_func = 2;
        have_operand = true;
      }
    } else if (tk.toktyp == TT_DIGITS || tk.toktyp == TT_CHAR || tk.toktyp == TT_HOLL ||
               (tk.tok1 == '#' && f90() && (ropt.compiler & SGI_BIT)) || tk.tok1 == '"' ||
               tk.tok1 == '$') {
      if (!literal_operand(&cur, 0x29 | ((accepted & 0x20u) ? 0x4 : 0), col)) return fail();
      if ((accepted & 0x1u) == 0 && (accepted & 0x800u) == 0 && first) {
        msg_at(8, col);
        return fail();
      }
      if (cur.v.type.code == 14) argisquoted = 1;
    } else if (tk.tok1 == '(' || tk.tok1 == '[') {
      bool bracket = tk.tok1 == '[';
      if (f90() && (bracket || pstat[tk.stacol] == '/')) {
        if ((accepted & 0x40800u) == 0) {
          msg_at(449, col);
          return fail();
        }
        if (!bracket) ++tk.stacol;
        if (!read_constructor(&cur, accepted, bracket)) return fail();
        have_operand = true;
      } else {
        TokenState keep = tk;
        dtdesc t{};
        conval v{};
        uint32_t ok = 0;
        int32_t opts = 0x29 | 0x8 | ((accepted & 0x20u) ? 0x4 : 0);
        if (getcon(opts, &t, &v, &ok) == 5) {
          operand_from_type(&cur, t, v, ok, 1, col);
          have_operand = true;
        } else {
          tk = keep;
          ++level;
          first = false;
          continue;
        }
      }
    } else if (tk.tok1 == '+' || tk.tok1 == '-' || tk.tok1 == '.') {
      locsym* unary_op = nullptr;
      int32_t code = unary_operator(&unary_op);
      if (code < 0) return fail();
      if (code != 0) {
        // Two operators in a row.
        if (code == 7 || code == 8) {
          const exprec& top = expstack[expidx - 1];
          if (expidx - 1 > base && top.level == level && top.opr >= 2 && top.opr <= 6 && top.kind != 0)
            msg_at(635, col);
        }
        exprec u{};
        u.level = level;
        u.opr = static_cast<int8_t>(code);
        u.oprcol = static_cast<uint32_t>(col);
        u.kind = 0;
        u.col = static_cast<uint32_t>(col);
        u.usrop = unary_op;
        if (!push(u)) return fail();
        first = false;
        continue;
      }
      // A logical literal (or a real that begins with ".").
      if (!literal_operand(&cur, 0x29 | 0x4, col)) return fail();
    } else if (tk.tok1 == '%') {
      getokn();
      if (tk.toktyp != TT_NAME || tk.toksiz != 3 ||
          std::strncmp(reinterpret_cast<const char*>(pstat + tk.tokbeg), "LOC", 3) != 0) {
        msg_at(first ? 42 : 70, tk.tokbeg);
        return fail();
      }
      getokn();
      if (tk.tok1 != '(') {
        msg_at(17, tk.tokbeg);
        return fail();
      }
      getokn();
      varout vo{};
      if (getvar(0x5e, &vo) == 0) return fail();
      if (vo.sym != nullptr) flaguse(vo.sym, QB_REF, col);
      getokn();
      if (tk.tok1 != ')') {
        msg_at(7, tk.tokbeg);
        return fail();
      }
      operand_from_type(&cur, expr_type(4), conval{}, 0, 0, col);
      have_operand = true;
    } else {
      // No operand where one is needed.
      msg_at(tk.tok1 == 10 ? 25 : 25, col);
      return fail();
    }
    (void)have_operand;
    if (!first || expidx > base + 1) single = nullptr, single_func = 0;
    first = false;

    // Operator step.
    OperatorRead o{};
    for (;;) {
      o = read_operator(accepted, level, in_constructor);
      if (o.code != -1) break;
      // ")" closes a sub-expression: reduce what stands inside it.
      while (expidx - 1 > base && expstack[expidx - 1].level >= level) reduce();
      --level;
      single = nullptr;
      single_func = 0;
    }
    if (o.code == 0) return fail();
    if (o.code == 1) {
      if (level > 0) {
        msg_at(7, tk.tokbeg);
        return fail();
      }
      while (expidx - 1 > base) {
        reduce();
        single = nullptr;
        single_func = 0;
      }
      break;
    }
    // Reduce what binds at least as tightly as the new operator.
    while (expidx - 1 > base && expstack[expidx - 1].level >= level) {
      const exprec& top = expstack[expidx - 1];
      if (top.level == level && stack_prio[top.opr] <= in_prio[o.code]) break;
      reduce();
    }
    cur.level = level;
    cur.opr = static_cast<int8_t>(o.code);
    cur.oprcol = static_cast<uint32_t>(o.col);
    cur.usrop = o.usrop;
    if (!push(cur)) return fail();
    single = nullptr;
    single_func = 0;
  }

  // The result.
  expidx = base;
  uint32_t kind = cur.kind;
  if (array_valued(cur) && (accepted & 0x40800u) == 0 && (accepted & kind) == 0) {
    msg_at(449, static_cast<int32_t>(cur.col));
    clear_globals();
    return 0;
  }
  if (kind == 0x1 && (accepted & 0x1u) == 0) {
    // A value where the caller reads only variables or names.
    msg_at(8, static_cast<int32_t>(cur.col));
    clear_globals();
    return 0;
  }
  if ((kind & 0x80010u) && (accepted & 0x100000u)) kind = 0x100000;
  if ((kind & 0x440u) && (accepted & 0x200000u)) kind = 0x200000;
  got_typ = cur.v.type;
  got_val = cur.v.value;
  got_ok = cur.v.valok;
  got_con = cur.v.con;
  got_arrsecdims = cur.v.rank;
  // An array operand fixes the rank; a function of unknown result rank
  // beside scalars leaves it unknown.
  got_rank_unknown = rank_unknown && cur.v.rank == 0;
  got_arrelm = cur.v.rank > 0 ? (cur.v.spare[0] > 0 ? cur.v.spare[0] : 0) : 1;
  got_sym = single;
  got_epflags = single_func;
  return kind;
}
