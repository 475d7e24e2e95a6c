// The attribute statements ALLOCATABLE, TARGET, VOLATILE, AUTOMATIC, STATIC
// and EXTERNAL: each reads its entity declarators and sets its bit in the
// attribute word of every name, after the conflicts of that attribute.
#include "checker/reader/attrstmt.h"

#include <cstring>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/reader/attrcheck.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"

static bool attr_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// Passes an optional "::".
static void attr_colons() {
  if (pstat[tk.stacol] == ':' && pstat[tk.stacol + 1] == ':') tk.stacol += 2;
}

// After an item: 1 when "," follows (read), 0 at the end, -1 after 6.
static int32_t attr_more() {
  if (attr_end()) return 0;
  getokn();
  if (tk.tok1 == ',') return 1;
  msg_at(6, tk.tokbeg);
  skip_statement();
  return -1;
}

// The function result of the unit, or a name that is one.
static bool is_function_result(const locsym* s) { return s->squal == SQ_FUNCVAR; }

// ALLOCATABLE [::] name[(deferred shape)] [, ...]
int32_t shallocatable(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  attr_colons();
  for (;;) {
    locsym* s = nullptr;
    int32_t r = getdec(&s, GD_DEFERRED | GD_NODUMMY);
    if (r == -2) return skip_statement(), 0;
    if (r == 0 && s != nullptr) {
      if ((s->usage & QB_DUM) || is_function_result(s))
        msg_at(633, tk.errcol);
      else
        s->attrib |= ATTR_ALLOCATABLE;
    }
    int32_t m = attr_more();
    if (m <= 0) return 0;
  }
}

// TARGET [::] name[(array-spec)] [, ...]
int32_t shtarget(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  attr_colons();
  for (;;) {
    locsym* s = nullptr;
    int32_t r = getdec(&s, 0);
    if (r == -2) return skip_statement(), 0;
    if (r == 0 && s != nullptr) {
      if (dts.structdepth > 0)
        msg_at(644, tk.errcol);
      else if (s->attrib & 0x200u)
        msg_at(625, tk.errcol);
      else if (s->attrib & 0x180u)
        msg_at(628, tk.errcol);
      s->attrib |= ATTR_TARGET;
    }
    int32_t m = attr_more();
    if (m <= 0) return 0;
  }
}

// Passes a value list of the dialect, "/" constants and commas "/".
static bool attr_skip_values() {
  ++tk.stacol;  // "/"
  while (!attr_end() && pstat[tk.stacol] != '/') {
    int32_t ch = pstat[tk.stacol];
    if (ch == 'a' || ch == 'q' || ch == 'h') {
      int32_t len = (pstat[tk.stacol + 1] << 8) | pstat[tk.stacol + 2];
      tk.stacol += 3 + len;
      continue;
    }
    ++tk.stacol;
  }
  if (pstat[tk.stacol] != '/') {
    msg_at(5, tk.stacol);
    return false;
  }
  ++tk.stacol;
  return true;
}

// AUTOMATIC name [, ...] | STATIC name [/values/] [, ...]
int32_t shautostat(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  bool automatic = c.code == ST_AUTOMATIC;
  if (automatic && unit.prgtyp == 12) {
    msg_at(780, rsrc.statbeg);
    return skip_statement(), 0;
  }
  uint32_t bit = automatic ? ATTR_AUTOMATIC : ATTR_STATIC;
  uint32_t other = automatic ? ATTR_STATIC : ATTR_AUTOMATIC;
  for (;;) {
    locsym* s = nullptr;
    int32_t r = getdec(&s, 0);
    if (r == -2) return skip_statement(), 0;
    if (r == 0 && s != nullptr) {
      if (s->attrib & other)
        msg_at(788, tk.errcol);
      else
        s->attrib |= bit;
    }
    if (pstat[tk.stacol] == '/' && !attr_skip_values()) return skip_statement(), 0;
    int32_t m = attr_more();
    if (m <= 0) return 0;
  }
}

// VOLATILE name [, ...] | VOLATILE /common-block/ [, ...]
int32_t shvolatile(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  attr_colons();
  for (;;) {
    if (pstat[tk.stacol] == '/') {
      ++tk.stacol;
      int32_t namecol = 0;
      int32_t len = 0;
      if (!read_statement_name(&namecol, &len)) return 0;
      locsym* b = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, SC_COM);
      if (b != nullptr && b->sclass != SC_UNK && b->sclass != SC_COM) {
        msg_at(22, tk.tokbeg);
      } else if (b != nullptr) {
        b->sclass = SC_COM;
        b->attrib |= ATTR_VOLATILE;
      }
      getokn();
      if (tk.tok1 != '/') {
        msg_at(5, tk.tokbeg);
        return skip_statement(), 0;
      }
    } else {
      locsym* s = nullptr;
      int32_t r = getdec(&s, 0);
      if (r == -2) return skip_statement(), 0;
      if (r == 0 && s != nullptr) s->attrib |= ATTR_VOLATILE;
    }
    int32_t m = attr_more();
    if (m <= 0) return 0;
  }
}

// The symbol of the name at the next token (its column in *col), found or
// made; null when the token is no name.
static locsym* next_declared_name(int32_t* col) {
  getokn();
  *col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) return nullptr;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  return getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
}

// A list of names each given one procedure attribute: for each name the
// message that refuses it (check, 0 for none), else apply; badname is the
// message for an item that is no name.
static int32_t procedure_name_list(const StmtCall& c, int32_t badname, int32_t (*check)(const locsym*),
                                   void (*apply)(locsym*)) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  attr_colons();
  for (;;) {
    int32_t col = 0;
    locsym* s = next_declared_name(&col);
    if (s == nullptr) {
      msg_at(badname, col);
      return skip_statement(), 0;
    }
    int32_t msg = check(s);
    if (msg != 0) {
      msg_at(msg, col);
      xrefit(s, 64, col);
    } else {
      apply(s);
      flaguse(s, QB_DECL, col);
    }
    int32_t m = attr_more();
    if (m <= 0) return 0;
  }
}

// EXTERNAL [::] name [, name]...
int32_t shextern(const StmtCall& c) {
  auto check = [](const locsym* s) -> int32_t {
    if (dts.structdepth > 0) return 644;
    if (s->attrib & 0x2u) return 626;
    if (s->attrib & ATTR_TARGET) return 628;
    if ((s->attrib & 0x100u) || s->squal == SQ_INTRINSIC) return 629;
    if (s->sclass == SC_VAR &&
        (s->arrspec != nullptr || (s->usage & (QB_SET | QB_REF)) || s->squal == SQ_FUNCVAR))
      return 22;
    if (s->sclass != SC_UNK && s->sclass != SC_VAR && s->sclass != SC_EXT && s->sclass != SC_FUNC &&
        s->sclass != SC_SUB && s->sclass != SC_INTERFACE)
      return 22;
    return 0;
  };
  auto apply = [](locsym* s) {
    if (s->sclass == SC_UNK || s->sclass == SC_VAR) s->sclass = SC_EXT;
    if (s->squal == SQ_UNK) s->squal = SQ_EXTERNAL;
    s->attrib |= ATTR_EXTERNAL;
  };
  return procedure_name_list(c, 24, check, apply);
}

// INTRINSIC [::] name [, name]...
int32_t shintr(const StmtCall& c) {
  auto check = [](const locsym* s) -> int32_t {
    if (dts.structdepth > 0) return 644;
    int32_t msg = attr_symbol_conflict(ATTR_INTRINSIC, s);
    if (msg != 0) return msg;
    // A name already used or declared as something else.
    if (s->squal == SQ_EXTERNAL || s->squal == SQ_STATFUN || s->squal == SQ_DUMRTN ||
        s->arrspec != nullptr || (s->usage & (QB_SET | QB_REF)) != 0 ||
        (s->sclass != SC_UNK && s->sclass != SC_VAR && s->sclass != SC_FUNC && s->sclass != SC_SUB))
      return 22;
    return intrin_lookup(s->name) == nullptr ? 158 : 0;
  };
  auto apply = [](locsym* s) {
    s->attrib |= ATTR_INTRINSIC;
    make_intrinsic(s);
  };
  return procedure_name_list(c, 22, check, apply);
}

// "(" IN | OUT | INOUT ")" after INTENT: the attribute bits, 0 after a
// message (17, 630, 7).
static uint32_t intent_spec() {
  getokn();
  if (tk.tok1 != '(' || tk.toktyp != TT_OTHER) {
    msg_at(17, tk.tokbeg);
    return 0;
  }
  getokn();
  std::string word;
  if (tk.toktyp == TT_NAME) word.assign(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz);
  if (word == "IN" && pstat[tk.stacol] == 'O') {
    // "IN OUT" written apart.
    getokn();
    if (tk.toktyp == TT_NAME && tk.toksiz == 3 && std::memcmp(pstat + tk.tokbeg, "OUT", 3) == 0)
      word = "INOUT";
  }
  uint32_t bits = word == "IN" ? 0x20u : word == "OUT" ? 0x40u : word == "INOUT" ? 0x60u : 0u;
  if (bits == 0) {
    msg_at(630, tk.tokbeg);
    return 0;
  }
  getokn();
  if (tk.tok1 != ')' || tk.toktyp != TT_OTHER) {
    msg_at(7, tk.tokbeg);
    return 0;
  }
  return bits;
}

// The names of INTENT and OPTIONAL: each must be a dummy argument of the
// subroutine or function (621, 632; for INTENT, 620 for a dummy
// procedure); bits is ORed into the attribute word, replacing an earlier
// INTENT.
static int32_t dummy_attr_list(uint32_t bits, bool intent) {
  attr_colons();
  for (;;) {
    int32_t col = 0;
    int32_t len = 0;
    if (!read_statement_name(&col, &len)) return 0;
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
    if (s == nullptr) {
      msg_at(24, col);
      return skip_statement(), 0;
    }
    int32_t msg = 0;
    if (unit.prgtyp != 5 && unit.prgtyp != 6)
      msg = 621;
    else if ((s->usage & QB_DUM) == 0)
      msg = 632;
    else if (intent && (s->squal == SQ_DUMRTN || (s->attrib & ATTR_EXTERNAL) || s->sclass == SC_EXT ||
                        s->sclass == SC_FUNC || s->sclass == SC_SUB))
      msg = 620;
    if (msg != 0) {
      msg_at(msg, col);
    } else {
      if (intent) s->attrib &= ~0x60u;
      s->attrib |= bits;
      xrefit(s, QB_DECL, col);
    }
    int32_t m = attr_more();
    if (m <= 0) return 0;
  }
}

// INTENT (IN | OUT | INOUT) [::] dummy [, dummy]...
int32_t shintent(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  uint32_t bits = intent_spec();
  if (bits == 0) return skip_statement(), 0;
  return dummy_attr_list(bits, true);
}

// OPTIONAL [::] dummy [, dummy]...
int32_t shoptional(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  return dummy_attr_list(0x10u, false);
}
