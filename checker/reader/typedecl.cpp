// Type declarations: the type selector (old "*" length or KIND= and LEN=
// selectors), the attribute words after ",", and the list of entity
// declarators, each with its array specification, length and initial value.
#include "checker/reader/typedecl.h"

#include <cstring>
#include <string>

#include "checker/common/dtype.h"
#include "checker/common/mystring.h"
#include "checker/common/qualcodes.h"
#include "checker/reader/attrcheck.h"
#include "checker/reader/dertype.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/unit_queries.h"

namespace {

constexpr int32_t ST_ALLOCATE = 105;
constexpr int32_t ST_RECORD = 61;

bool at_stmt_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }
bool tok_is(int32_t ch) { return tk.toktyp == TT_OTHER && tk.tok1 == ch; }
int32_t next_char() { return tk.stacol < rsrc.statend ? pstat[tk.stacol] : 10; }
bool text_follows(const char* word) {
  size_t n = std::strlen(word);
  return tk.stacol + static_cast<int32_t>(n) <= rsrc.statend &&
         std::memcmp(pstat + tk.stacol, word, n) == 0;
}
// The integer value of the last expression read, when it is a known constant.
bool const_value(int32_t& v) {
  if (!got_con || !got_ok) return false;
  return intval(&got_typ, &got_val, &v) != 0;
}

// One bound: its value and flags (expr_flag when not constant, bad_flag
// when invalid). False when the expression cannot be read.
bool read_bound(int32_t& value, uint8_t& flags, uint8_t expr_flag, uint8_t bad_flag) {
  int32_t col = tk.stacol;
  if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return false;
  check_subscript_type();
  value = 0;
  if (const_value(value)) return true;
  if (dts.structdepth > 0) {
    if (CurStmt[CS_CODE] != ST_ALLOCATE) msg_at(170, col);
    flags |= bad_flag;
  } else {
    flags |= expr_flag;
  }
  return true;
}

// Skips one dimension of the text up to its "," or ")" at depth 0.
void skip_dimension() {
  int32_t depth = 0;
  while (!at_stmt_end()) {
    int32_t c = next_char();
    if (depth == 0 && (c == ',' || c == ')')) return;
    getokn();
    if (tok_is('(')) ++depth;
    if (tok_is(')')) --depth;
  }
}

}  // namespace

ArraySpec* get_array_spec(int32_t flags, locsym* sym) {
  (void)sym;
  if (next_char() != '(') return nullptr;
  getokn();
  ArraySpec* spec = local_new<ArraySpec>();
  int32_t code = CurStmt[CS_CODE];
  bool in_def = dts.structdepth > 0;
  int32_t n = 0, deferred = 0;
  bool any_star = false, any_assumed = false, any_upper = false, said623 = false, said23 = false;
  for (;;) {
    ArrDimSpec d{0, 0, 0, 0};
    int32_t dimcol = tk.stacol;
    if (next_char() == ':' && code != ST_ALLOCATE && code != ST_RECORD) {
      getokn();
      d = ArrDimSpec{0, 0, 0x85, 0};
      ++deferred;
    } else if (flags & GD_DEFERRED) {
      if (!said623) msg_at(623, dimcol);
      said623 = true;
      skip_dimension();
      d = ArrDimSpec{0, 0, 0x85, 0};
      ++deferred;
    } else if (next_char() == '*' && code != ST_ALLOCATE && !in_def &&
               (pstat[tk.stacol + 1] == ',' || pstat[tk.stacol + 1] == ')')) {
      getokn();
      d = ArrDimSpec{1, 0, 8, 0};
      any_star = true;
      if (next_char() == ',') msg_at(537, tk.tokbeg);
    } else {
      int32_t v = 0;
      if (!read_bound(v, d.flags, 1, 2)) return nullptr;
      if (next_char() == ':') {
        getokn();
        d.lower = v;
        int32_t c = next_char();
        if (c == '*' && code != ST_ALLOCATE && !in_def) {
          getokn();
          d.flags |= 8;
          any_star = true;
          if (next_char() == ',') msg_at(537, tk.tokbeg);
        } else if ((c == ',' || c == ')') && code != ST_ALLOCATE && code != ST_RECORD && !in_def) {
          d.flags |= 16;
          any_assumed = true;
        } else {
          if (!read_bound(d.upper, d.flags, 4, 64)) return nullptr;
          any_upper = true;
        }
      } else {
        d.lower = 1;
        d.upper = v;
        d.flags = static_cast<uint8_t>((d.flags & 1) ? 4 : 0) | static_cast<uint8_t>((d.flags & 2) ? 64 : 0);
        any_upper = true;
      }
      if ((d.flags & 0x5F) == 0 && d.lower > d.upper) {
        msg_at(178, dimcol);
        d.flags = 0x42;
      }
    }
    if (n < MAX_DIMS) {
      spec->dims[n++] = d;
    } else if (!said23) {
      msg_at(23, dimcol);
      said23 = true;
    }
    getokn();
    if (!tok_is(',')) break;
  }
  spec->rank = n;
  if (deferred == n) {
    spec->shape = 4;
  } else if (any_star) {
    spec->shape = 8;
  } else if (any_assumed) {
    spec->shape = 2;
  } else if (any_upper) {
    spec->shape = 1;
  }
  if ((flags & GD_EXPLICIT) && spec->shape != 1) msg_at(664, rsrc.statbeg);
  return spec;
}

void copy_array_spec(int32_t col, locsym* sym, const ArraySpec* spec) {
  if (sym == nullptr || spec == nullptr) return;
  if (sym->arrspec != nullptr) {
    int32_t rank = 0;
    bool same = true;
    for (const arrdim* d = static_cast<const arrdim*>(sym->arrspec); d != nullptr; d = d->next, ++rank) {
      if (rank >= spec->rank) {
        same = false;
        continue;
      }
      const ArrDimSpec& s = spec->dims[rank];
      if (d->lower != s.lower || d->upper != s.upper || d->flags != s.flags) same = false;
    }
    if (CurStmt[CS_CODE] == ST_ALLOCATE) {
      if (rank != spec->rank) msg_at(11, col);
      return;
    }
    msg_at(same && rank == spec->rank ? 242 : 11, col);
  }
  arrdim* head = nullptr;
  arrdim* tail = nullptr;
  bool dummy = (sym->usage & QB_DUM) != 0;
  for (int32_t i = 0; i < spec->rank; ++i) {
    arrdim* d = local_new<arrdim>();
    const ArrDimSpec& s = spec->dims[i];
    *d = arrdim{s.lower, s.upper, s.flags, s.second, nullptr};
    if (dummy && (s.flags & 128) && (sym->attrib & 0x2) == 0) {
      d->lower = 1;
      d->upper = 0;
      d->flags = 16;
    }
    if (tail == nullptr) head = d; else tail->next = d;
    tail = d;
  }
  if (dummy && tail != nullptr && tail->flags == 0 && tail->lower == tail->upper) tail->flags |= 32;
  sym->arrspec = head;
}

int32_t getdec(locsym** out, int32_t flags) {
  *out = nullptr;
  getokn();
  if (tk.toktyp != TT_NAME) {
    msg_at(24, tk.tokbeg);
    return -2;
  }
  int32_t namecol = tk.tokbeg;
  int32_t saved = tk.errcol;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
  if (s == nullptr) {
    msg_at(24, namecol);
    return -2;
  }
  *out = s;
  tk.errcol = namecol;
  int32_t result = 0;
  int32_t msg = 0;
  bool skip_shape_checks = false;
  if (s->sclass == SC_UNK) {
    s->sclass = SC_VAR;
  } else if (s->sclass == SC_EXT) {
    if (flags & GD_EXTERNAL) skip_shape_checks = true; else msg = 237;
  } else if (s->sclass == SC_SUB) {
    msg = 37;
  } else if (s->sclass == SC_FUNC && s->locdata == nullptr && (s == prgnam || s->owner == prgnam) &&
             prgnam != nullptr && prgnam->sclass == SC_FUNC) {
    // The function's own name (or an entry's) stands for its result.
    if (flags & GD_FUNCRESULT) skip_shape_checks = true; else msg = 86;
  } else if ((s->sclass == SC_VAR || s->sclass == SC_REC90) && s->squal == SQ_FUNCVAR) {
    if (flags & GD_FUNCRESULT) skip_shape_checks = true; else msg = 86;
  } else if (s->sclass != SC_VAR && s->sclass != SC_REC90 && s->sclass != SC_REC) {
    msg = 22;
  }
  if (msg == 0 && !skip_shape_checks) {
    if ((flags & GD_DEFERRED) && s->arrspec != nullptr && (s->attrib & 0x1) == 0 && next_char() != '(') msg = 623;
    else if ((flags & GD_NODUMMY) && (s->usage & QB_DUM)) msg = 197;
  }
  if (msg == 0 && next_char() == '(') {
    if (ropt.Language == 1 && s->squal == SQ_FUNCVAR) msg = 160;
    else if (ropt.Language == 1 && (s->props & CP_POINTER)) msg = 243;
    else if (ropt.Language != 1 && (flags & GD_COMMON) && (s->attrib & 0x2)) msg = 821;
  }
  if (msg != 0) {
    msg_at(msg, namecol);
    xrefit(s, 64, namecol);
    result = -1;
    if (next_char() == '(') {
      getokn();
      skiptopar();
      if (!tok_is(')')) {
        msg_at(at_stmt_end() ? 7 : 6, tk.tokbeg);
        return -2;
      }
    }
  } else if (next_char() == '(') {
    int32_t col = tk.stacol;
    ArraySpec* spec = get_array_spec(flags & (GD_DEFERRED | GD_EXPLICIT), s);
    if (spec == nullptr) return -2;
    if (!tok_is(')')) {
      msg_at(at_stmt_end() || tk.tok1 == 10 ? 7 : 6, tk.tokbeg);
      return -2;
    }
    copy_array_spec(col, s, spec);
    if ((flags & GD_COMMON) && spec->shape != 1) result = -1;
    if (result == 0) {
      uint32_t usage = QB_DECL;
      if ((flags & GD_COMMON) && spec->shape == 1) usage |= QB_COMSTAT;
      flaguse(s, usage, namecol);
    }
  } else {
    uint32_t usage = QB_DECL;
    if (flags & GD_COMMON) usage |= QB_COMSTAT;
    flaguse(s, usage, namecol);
  }
  if (s->line == 0) s->line = static_cast<uint32_t>(rsrc.codlno);
  tk.errcol = saved;
  return result;
}

// True when the text from..to holds a name followed by "(".
namespace {
bool reference_in(int32_t from, int32_t to);
}  // namespace

int32_t get_kind_selector(int32_t tclass, int32_t required) {
  if (text_follows("KIND=")) {
    getokn();
    getokn();
  } else if (required) {
    msg_at(636, tk.stacol);
  }
  if (tclass == TC_CHARACTER) {
    int32_t p = tk.stacol, e = p;
    while (e < rsrc.statend && pstat[e] >= 'A' && pstat[e] <= 'Z') ++e;
    int32_t k = is_char_literal_kind(reinterpret_cast<const char*>(pstat + p), e - p);
    if (k != 0 && (pstat[e] == ',' || pstat[e] == ')')) {
      getokn();
      return k;
    }
  }
  int32_t col = tk.stacol;
  isinKindSelector = 1;
  uint32_t got = getmeta(EK_VALUE | EK_CONSTVAL);
  isinKindSelector = 0;
  if (got == 0) return -2;
  tk.errcol = col;
  // An expression of unknown type (a generic or a defined operator not
  // resolved here) gives the default kind without a message.
  if (got_typ.code == 0) return 0;
  if (getdtname(got_typ.code) != TC_INTEGER) {
    rd_errmsg(638);
    return 0;
  }
  // Intrinsic functions (KIND, SELECTED_REAL_KIND...) are not folded here:
  // a kind that calls one, or a named constant whose value is not known,
  // stands without a message and gives the default kind.
  if (!got_con) {
    if (!reference_in(col, tk.stacol)) rd_errmsg(284);
    return 0;
  }
  int32_t v = 0;
  if (!const_value(v)) return 0;
  return chk_kindparam(tclass, v, 1);
}

int32_t get_len_selector(int32_t required) {
  if (ropt.Language == 1) issue(9132);
  if (text_follows("LEN=")) {
    getokn();
    getokn();
  } else if (required) {
    msg_at(637, tk.stacol);
  }
  if (next_char() == '*' && (pstat[tk.stacol + 1] == ')' || pstat[tk.stacol + 1] == ',')) {
    getokn();
    return 0;
  }
  int32_t col = tk.stacol;
  if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return 0;
  tk.errcol = col;
  // A length of unknown type (LEN extended by a generic, say) is not known.
  if (got_typ.code == 0) return 0;
  if (getdtname(got_typ.code) != TC_INTEGER) {
    rd_errmsg(638);
    return 0;
  }
  int32_t v = 0;
  if (!const_value(v)) return 0;
  if (v < 0) {
    rd_errmsg(283);
    return 0;
  }
  return v;
}

namespace {

// Attribute words of a declaration and their bits.
struct AttrWord {
  const char* word;
  uint32_t bit;
};
const AttrWord attr_words[] = {
    {"INTENT", 0x60},      {"OPTIONAL", 0x10}, {"PRIVATE", 0x800},    {"PUBLIC", 0x1000},
    {"POINTER", 0x2},      {"ALLOCATABLE", 0x8}, {"TARGET", 0x4},     {"PARAMETER", 0x200},
    {"DIMENSION", 0x1},    {"EXTERNAL", 0x80}, {"INTRINSIC", 0x100},  {"SAVE", 0x400},
    {"AUTOMATIC", 0x200000}, {"STATIC", 0x400000}, {"VOLATILE", 0x800000},
};

// The attribute bit of the name at stacol, 0 when it names none.
uint32_t attr_at_stacol(int32_t& len) {
  for (const AttrWord& a : attr_words) {
    size_t n = std::strlen(a.word);
    if (text_follows(a.word)) {
      int32_t c = pstat[tk.stacol + static_cast<int32_t>(n)];
      if (c == ',' || c == ':' || c == '(' || c == 10 || tk.stacol + static_cast<int32_t>(n) >= rsrc.statend) {
        len = static_cast<int32_t>(n);
        return a.bit;
      }
    }
  }
  return 0;
}

bool double_colon_follows() { return next_char() == ':' && pstat[tk.stacol + 1] == ':'; }

// The length "*" n after a type keyword or an entity name: the length, -4
// when none is written, 0 for "(*)" or a length not known; -3 after a
// syntax message.
int32_t lenspec() {
  if (next_char() != '*') return -4;
  getokn();
  if (next_char() == '(') {
    getokn();
    if (next_char() == '*' && pstat[tk.stacol + 1] == ')') {
      getokn();
      getokn();
      return 0;
    }
    int32_t col = tk.stacol;
    if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return -3;
    getokn();
    if (!tok_is(')')) {
      msg_at(7, tk.tokbeg);
      return -3;
    }
    int32_t v = 0;
    if (!const_value(v)) return 0;
    if (v < 0) {
      msg_at(283, col);
      return 0;
    }
    return v;
  }
  getokn();
  if (tk.toktyp != TT_DIGITS) {
    msg_at(285, tk.tokbeg);
    return -3;
  }
  int32_t v = 0;
  for (int32_t p = tk.tokbeg; p < tk.tokbeg + tk.toksiz; ++p) {
    if (v < 100000000) v = v * 10 + (pstat[p] - '0');
  }
  return v;
}

// The check of a length against the type; entity is set for the length
// after an entity name, before_dims when an array specification follows.
void cklenspec(int32_t tclass, int32_t col, bool entity, bool before_dims) {
  switch (tclass) {
    case TC_LOGICAL: case TC_INTEGER: case TC_REAL: case TC_COMPLEX: case TC_DOUBLE:
      issue(entity ? 9064 : 9063);
      break;
    case TC_CHARACTER:
      if (entity && before_dims) issue(9066);
      break;
    default:
      msg_at(285, col);
  }
}

// The type selector in parentheses after the keyword; false after a
// message that ends the statement.
bool type_selector(int32_t tclass, int32_t& length, int32_t& kind) {
  getokn();  // "("
  if (tclass == TC_DOUBLE || tclass == TC_DCOMPLEX || tclass == TC_BYTE) {
    msg_at(639, tk.tokbeg);
    skiptopar();
    return tok_is(')');
  }
  if (tclass == TC_CHARACTER) {
    if (text_follows("KIND=")) {
      kind = get_kind_selector(tclass, 1);
      if (kind == -2) return false;
      if (next_char() == ',') {
        getokn();
        length = get_len_selector(1);
      }
    } else {
      length = get_len_selector(0);
      if (next_char() == ',') {
        getokn();
        kind = get_kind_selector(tclass, 0);
        if (kind == -2) return false;
      }
    }
  } else if (text_follows("LEN=")) {
    msg_at(285, tk.stacol);
    skiptopar();
    return tok_is(')');
  } else {
    kind = get_kind_selector(tclass, 0);
    if (kind == -2) return false;
  }
  getokn();
  if (!tok_is(')')) {
    msg_at(7, tk.tokbeg);
    return false;
  }
  return true;
}

// Reads the attribute words after the "," that follows the type; the set of
// bits, dimensions in dims. -1 after a message that ends the statement.
int64_t attribute_words(ArraySpec*& dims) {
  uint32_t set = 0;
  for (;;) {
    int32_t len = 0;
    uint32_t bit = attr_at_stacol(len);
    int32_t col = tk.stacol;
    if (bit == 0) {
      getokn();
      msg_at(tk.toktyp == TT_NAME ? 607 : 24, tk.tokbeg);
      return -1;
    }
    tk.stacol += len;
    if (bit == 0x60 && next_char() == '(') {
      // INTENT (IN), (OUT) or (INOUT).
      getokn();
      getokn();
      if (tk.toktyp == TT_NAME && tk.toksiz == 2 && std::memcmp(pstat + tk.tokbeg, "IN", 2) == 0) {
        bit = 0x20;
      } else if (tk.toktyp == TT_NAME && tk.toksiz == 3 && std::memcmp(pstat + tk.tokbeg, "OUT", 3) == 0) {
        bit = 0x40;
      }
      if (!tok_is(')')) skiptopar();
    }
    int32_t conflict = (set & bit) != 0 ? 608 : attr_set_conflict(bit, set);
    if (conflict != 0) {
      msg_at(conflict, col);
      return -1;
    }
    if (bit == 0x200000 || bit == 0x400000) issue(9051);
    if (bit == 0x800000) issue(9158);
    if (bit == 0x1) {
      dims = get_array_spec((set & 0xA) ? GD_DEFERRED : 0, nullptr);
      if (dims == nullptr || !tok_is(')')) {
        msg_at(dims == nullptr ? 17 : 7, tk.tokbeg);
        return -1;
      }
    }
    set |= bit;
    if (double_colon_follows()) {
      getokn();
      getokn();
      return set;
    }
    getokn();
    if (!tok_is(',')) {
      msg_at(616, tk.tokbeg);
      return -1;
    }
    if (double_colon_follows()) {
      msg_at(640, tk.stacol);
      getokn();
      getokn();
      return set;
    }
  }
}

// Skips the rest of an entity up to its "," at depth 0; false at the end.
bool skip_entity() {
  int32_t depth = 0;
  for (;;) {
    getokn();
    if (tk.tok1 == 10 && tk.toktyp == TT_OTHER) return false;
    if (tok_is('(')) ++depth;
    if (tok_is(')')) --depth;
    if (depth <= 0 && tok_is(',')) return true;
  }
}

}  // namespace

int32_t addfld(locsym** out, int32_t flags) {
  *out = nullptr;
  getokn();
  StructLevel& lv = dts.structs[dts.structdepth];
  locsym* f = nullptr;
  if (tok_is('%') && lv.type != nullptr && lv.type->sclass == SC_STRUCT &&
      text_follows("FILL")) {
    // %FILL in a STRUCTURE: an unnamed filler component.
    getokn();
    f = local_new<locsym>();
    f->name = const_cast<char*>("%FILL");
    f->sclass = SC_VAR;
    f->squal = SQ_STRUCTFLD;
    f->owner = prgnam;
  } else {
    if (tk.toktyp != TT_NAME) {
      msg_at(24, tk.tokbeg);
      return -2;
    }
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    f = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, -1);
    if (f == nullptr) return -2;
  }
  FieldNode* node = local_new<FieldNode>();
  node->sym = f;
  if (lv.last_field == nullptr) {
    if (lv.type != nullptr) lv.type->list = node;
  } else {
    static_cast<FieldNode*>(lv.last_field)->next = node;
  }
  lv.last_field = node;
  if (next_char() == '(') {
    int32_t col = tk.stacol;
    ArraySpec* spec = get_array_spec(flags & GD_DEFERRED, f);
    if (spec == nullptr) return -2;
    if (!tok_is(')')) {
      msg_at(at_stmt_end() || tk.tok1 == 10 ? 7 : 6, tk.tokbeg);
      return -2;
    }
    copy_array_spec(col, f, spec);
  }
  *out = f;
  return 0;
}

namespace {
// True when the text from..to holds a name followed by "(": a function
// reference or an array element.
bool reference_in(int32_t from, int32_t to) {
  for (int32_t p = from; p + 1 < to; ++p) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {
      p += CONST_OVERHEAD + ((pstat[p + 1] << 8) | pstat[p + 2]) - 1;
      continue;
    }
    bool name_end = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (name_end && pstat[p + 1] == '(') {
      int32_t b = p;
      while (b > from && ((pstat[b - 1] >= 'A' && pstat[b - 1] <= 'Z') ||
                          (pstat[b - 1] >= '0' && pstat[b - 1] <= '9') || pstat[b - 1] == '_')) {
        --b;
      }
      if (pstat[b] >= 'A' && pstat[b] <= 'Z') return true;
    }
  }
  return false;
}

// An entity with the PARAMETER attribute and its value just read: a
// named constant whose value, when known, is kept in the type of the
// entity; 180 when the value is not constant.
void named_constant(locsym* s, int32_t vcol, int32_t namecol) {
  // Intrinsic and module functions are not folded here, nor are elements
  // of array constants: a value that refers to one is taken as constant.
  if (!got_con && s->arrspec == nullptr && !reference_in(vcol, tk.stacol)) {
    msg_at(180, vcol);
    return;
  }
  // A scalar becomes a named constant; arrays and structures keep their
  // class with the PARAMETER attribute.
  if ((s->sclass == SC_VAR || s->sclass == SC_UNK) && s->arrspec == nullptr) s->sclass = SC_PAR;
  flaguse(s, QB_SET, namecol);
  if (got_ok && got_arrsecdims == 0 && s->arrspec == nullptr) {
    conval* v = local_new<conval>();
    *v = got_val;
    if (s->type.code == 0 || dtconvert(v, &got_typ, &s->type)) s->list = v;
  }
}

// Gives a declared entity its type, reporting a second declaration.
void chk_vardec(locsym* s, const dtdesc& d, uint32_t attrs, const ArraySpec* dims, int32_t col) {
  // Each attribute of the statement against what the symbol is and holds.
  for (uint32_t rest = attrs; rest != 0;) {
    uint32_t bit = rest & (~rest + 1);
    if (bit & AB_INTENT) bit = attrs & AB_INTENT;
    rest &= ~bit;
    int32_t conflict = attr_symbol_conflict(bit, s);
    if (conflict != 0) {
      msg_at(conflict, col);
      break;
    }
  }
  if (s->type.code != 0) {
    bool same = s->type.code == d.code && s->type.value == d.value && s->type.sym == d.sym;
    tk.errcol = col;
    if (s->props & CP_TYPIMP) {
      if (!same) rd_errmsg(9);
    } else {
      rd_errmsg(same ? 14 : 244);
    }
  }
  s->type = d;
  s->props &= static_cast<uint8_t>(~CP_TYPIMP);
  s->attrib |= attrs;
  if (s->arrspec == nullptr && dims != nullptr) copy_array_spec(col, s, dims);
  if (Status.scope_level == 1 && prgnam != nullptr && prgnam->sclass == SC_MODULE) s->attrib |= 0x40000;
}

}  // namespace

namespace {
int32_t declare_entities(int32_t tclass, const dtdesc& d);
}  // namespace

int32_t read_length_spec() { return lenspec(); }

bool read_type_selector(int32_t tclass, int32_t& length, int32_t& kind) {
  return type_selector(tclass, length, kind);
}

// The type of a prefixed FUNCTION statement: the keyword's selector or
// length; false after a message that ends the statement.
bool read_prefix_type(int32_t tclass, dtdesc* out) {
  int32_t length = -4, kind = 0;
  int32_t col = tk.stacol;
  if (next_char() == '*') {
    length = lenspec();
    if (length == -3) return false;
    cklenspec(tclass, col, false, false);
  } else if (next_char() == '(') {
    if (!type_selector(tclass, length, kind)) return false;
  }
  *out = dtdesc{};
  if (!figtyp(out, tclass, length, kind > 0 ? kind : 0)) out->code = 0;
  return true;
}


// type [selector] [[, attributes] ::] entity [, entity]...
int32_t shvardec_decl(const StmtCall& c) {
  int32_t tclass = key_dtclass(c.row);
  int32_t length = -4, kind = 0;
  int32_t col = tk.stacol;
  if (next_char() == '*') {
    length = lenspec();
    if (length == -3) return skip_statement(), 0;
    cklenspec(tclass, col, false, false);
  } else if (next_char() == '(') {
    if (!type_selector(tclass, length, kind)) return skip_statement(), 0;
  }
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  dtdesc d{};
  if (!figtyp(&d, tclass, length, kind > 0 ? kind : 0)) d.code = 0;
  return declare_entities(tclass, d);
}

namespace {

// The attribute words and the entity list of a declaration of type d.
int32_t declare_entities(int32_t tclass, const dtdesc& d) {
  uint32_t attrs = 0;
  ArraySpec* dims = nullptr;
  if (next_char() == ',') {
    getokn();
    int32_t len = 0;
    if (double_colon_follows()) {
      if (ropt.Language != 1) msg_at(535, tk.tokbeg);
      getokn();
      getokn();
    } else if (attr_at_stacol(len) == 0) {
      if (ropt.Language != 1) msg_at(535, tk.tokbeg);
    } else {
      int64_t set = attribute_words(dims);
      if (set < 0) return skip_statement(), 0;
      attrs = static_cast<uint32_t>(set);
    }
  } else if (double_colon_follows()) {
    getokn();
    getokn();
  }
  int32_t flags = GD_FUNCRESULT | GD_EXTERNAL | ((attrs & 0xA) ? GD_DEFERRED : 0);
  for (;;) {
    locsym* s = nullptr;
    int32_t namecol = tk.stacol;  // the entity's name starts at the next token
    int32_t r = dts.structdepth > 0 ? addfld(&s, flags) : getdec(&s, flags);
    if (r == -2) return skip_statement(), 0;
    if (r == 0 && s != nullptr) {
      bool had_dims = tok_is(')');
      dtdesc ed = d;
      int32_t lcol = tk.stacol;
      int32_t elen = lenspec();
      if (elen == -3) return skip_statement(), 0;
      if (elen != -4) {
        cklenspec(tclass, lcol, true, !had_dims && next_char() == '(');
        if (tclass == TC_CHARACTER) PSetQCharsize(&ed, elen);
      }
      chk_vardec(s, ed, attrs, dims, namecol);
      if (next_char() == '=') {
        // An initial value makes a local object saved: not in a PURE
        // procedure (component defaults of a definition are no objects).
        if (dts.structdepth == 0 && isInPureProc()) msg_at(808, tk.stacol);
        getokn();
        if (next_char() == '>') getokn();
        int32_t vcol = tk.stacol;
        bool pointer_init = pstat[tk.tokbeg] == '>';
        bool constructor = (pstat[vcol] == '(' && pstat[vcol + 1] == '/') || pstat[vcol] == '[';
        if (constructor && s->arrspec == nullptr) {
          // An array constructor needs an array to initialise.
          msg_at(452, vcol);
          return skip_statement(), 0;
        }
        if (getmeta(EK_VALUE | EK_CONSTVAL | EK_ARRAYEXP | EK_STRUCT) == 0) return skip_statement(), 0;
        if (!pointer_init && ((s->attrib & 0x10A) != 0 || s->squal == SQ_INTRINSIC)) {
          msg_at(648, vcol);
        } else if (attrs & 0x200) {
          named_constant(s, vcol, namecol);
        } else if (dts.structdepth == 0 && !pointer_init) {
          // An initial value sets the variable as DATA would.
          flaguse(s, QB_INIT, namecol);
        }
      } else if (attrs & 0x200) {
        msg_at(33, tk.stacol);
        return skip_statement(), 0;
      } else if (next_char() == '/') {
        if (ropt.Language != 1) msg_at(785, tk.stacol);
        getokn();
        do {
          getokn();
        } while (!tok_is('/') && !(tk.tok1 == 10 && tk.toktyp == TT_OTHER));
      }
      getokn();
      if (tok_is(',')) continue;
      if (!(tk.tok1 == 10 && tk.toktyp == TT_OTHER)) {
        msg_at(20, tk.tokbeg);
        skip_statement();
      }
      return 0;
    }
    if (!skip_entity()) return 0;
  }
}

}  // namespace

// TYPE (name) [[, attributes] ::] entity [, entity]...
int32_t shvardec_type(const StmtCall& c) {
  getokn();
  if (!tok_is('(')) {
    msg_at(17, tk.tokbeg);
    return skip_statement(), 0;
  }
  int32_t namecol = 0;
  int32_t len = 0;
  if (!read_statement_name(&namecol, &len)) return 0;
  const char* name = reinterpret_cast<const char*>(pstat + tk.tokbeg);
  getokn();
  if (!tok_is(')')) {
    msg_at(7, tk.tokbeg);
    return skip_statement(), 0;
  }
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  locsym* t = getsym(name, len, 0, SC_STRUCT90);
  // A type of the host (a module or a procedure that contains this one)
  // is known here too; an interface body has no host.
  for (int32_t level = Status.scope_level - 1; t == nullptr && level >= 1 && Status.interface != 2;
       --level) {
    locsym* stop = nullptr;
    locsym* prev = nullptr;
    locsym* h = getsym_in_scope(name, len, 32, SC_STRUCT90, hashy(name, len), level, &stop, &prev);
    if (h != nullptr && h->sclass == SC_STRUCT90) t = h;
  }
  if (t == nullptr) {
    t = getsym(name, len, 1, SC_STRUCT90);
    if (t == nullptr) {
      msg_at(24, namecol);
      return skip_statement(), 0;
    }
    if (t->sclass == SC_UNK) {
      t->sclass = SC_STRUCT90;
      t->extra |= EXTRA_TYPE_UNDEFINED;
      // A type that a module may give (USE does not copy it yet) is not
      // waited for.
      if (!intf_may_come_from_module()) AddFwdType(t);
    }
  }
  if (t->sclass != SC_STRUCT90) {
    msg_at(643, namecol);
    xrefit(t, 64, namecol);
    return skip_statement(), 0;
  }
  // A component of the type being defined must be a pointer to it.
  bool pointer = false;
  for (int32_t p = tk.stacol; p + 8 <= rsrc.statend && pstat[p] != 10 && !pointer; ++p) {
    if (pstat[p] == ':' && pstat[p + 1] == ':') break;
    pointer = pstat[p] == ',' && std::memcmp(pstat + p + 1, "POINTER", 7) == 0;
  }
  for (int32_t level = dts.structdepth; level > 0 && !pointer; --level) {
    if (dts.structs[level].type == t) {
      msg_at(539, namecol);
      return skip_statement(), 0;
    }
  }
  xrefit(t, QB_REF, namecol);
  dtdesc d{};
  figtyp(&d, TC_STRUCT, -4, 0);
  PSetQStructsym(&d, t);
  return declare_entities(TC_STRUCT, d);
}
