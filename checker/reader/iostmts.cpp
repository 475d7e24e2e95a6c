// I/O statements of tarvo: shio reads READ, WRITE, PRINT, OPEN, CLOSE,
// INQUIRE, BACKSPACE, ENDFILE, REWIND and the dialect forms, checks their
// control lists against the specifier table and marks the variables they
// read or set; shformat checks FORMAT statements.
#include "checker/reader/iostmts.h"

#include <cstring>
#include <iterator>

#include "checker/common/dtype.h"
#include "checker/common/qualcodes.h"
#include "checker/base/passes.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/reader/specstmt.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"
#include "checker/base/tvxutil.h"

namespace {

constexpr IoSpec standard_specs[] = {
#define IOSPEC(name, columns, language) {name, columns, language},
#include "checker/reader/iospecs.def"
};

// Specifiers of the target dialects, each with the dialect bits whose
// table holds it.
struct IoDialectSpec {
  IoSpec spec;
  uint32_t dialects;
};
constexpr IoDialectSpec dialect_specs[] = {
#define IOXSPEC(name, columns, language, dialects) {{name, columns, language}, dialects},
#include "checker/reader/iodialect.def"
};

// Dialect bits in the order in which they choose the specifier table.
constexpr uint32_t table_order[] = {0x10,  0x20000, 0x2,   0x8,    0x4,   0x40,
                                    0x80,  0x100,   0x200, 0x400,  0x2000, 0x10000};

// Usage mark of a specifier that is not known: the variable is referenced.
constexpr uint32_t UNKNOWN_USE = QB_REF;

// Statement codes of the I/O statements read here.
enum : int32_t {
  C_ACCEPT = 1, C_BACKSPACE = 4, C_CLOSE = 9, C_DECODE = 14, C_DEFINEFILE = 15,
  C_DELETE = 16, C_ENCODE = 24, C_ENDFILE = 27, C_FIND = 33, C_INQUIRE = 43,
  C_OPEN = 49, C_PRINT = 54, C_PUNCH = 56, C_READ = 57, C_REWIND = 64,
  C_REWRITE = 65, C_TYPE = 71, C_UNLOCK = 74, C_WRITE = 77
};

// The statement column of the I/O statement being read.
int32_t cur_column = 0;

bool is_ch(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }
bool at_eos() { return tk.toktyp == TT_OTHER && tk.tok1 == 10; }
// The symbol of the current name token, entered when it is new.
locsym* token_symbol(bool create) {
  return getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, create ? 1 : 0, 0);
}

// The data type of a symbol, its implicit type when it has none.
const dtdesc& symbol_type(const locsym* s) {
  if (s->type.code != 0) return s->type;
  int32_t c = s->name[0];
  return imptbl[(c >= 'A' && c <= 'Z') ? c - 'A' : 26];
}
uint32_t type_bit(const locsym* s) {
  int32_t code = symbol_type(s).code;
  return code < dtstuff_rows ? dtstuff[code].usg : 0;
}

// True when free-form blanks stand before the current token (in fixed
// form blanks mean nothing: a digit string and a name may be one constant).
bool blank_before() { return rsrc.freeform && (wbreaks[tk.tokbeg] & 1) != 0; }

// Reads the rest of an expression from the current token up to a ",", ")"
// or ":" at its own depth (or ">" when stop_gt), or the end of the statement;
// the names of its operands are marked referenced. The stopping token stays
// current.
void expr_from_current(bool stop_gt = false, bool stop_colon = false) {
  int32_t depth = 0;
  int32_t prev = 0;       // type of the previous token
  int32_t prevch = 0;     // its first byte
  int32_t prev2 = 0;      // type of the token before it
  for (;;) {
    if (at_eos()) {
      if (depth > 0) rd_errmsg(7);
      return;
    }
    if (tk.toktyp == TT_OTHER) {
      int32_t c = tk.tok1;
      if (depth == 0 && (c == ',' || c == ')' || (stop_gt && c == '>') ||
                         (stop_colon && c == ':')))
        return;
      if (c == '(') ++depth;
      if (c == ')') --depth;
    } else if (depth == 0 && (prev == TT_NAME || prev == TT_DIGITS || prev == TT_CHAR ||
                              prev == TT_HOLL || (prev == TT_OTHER && prevch == ')')) &&
               !(tk.toktyp == TT_NAME && ((prev == TT_DIGITS && !blank_before()) ||
                                          (prev == TT_OTHER && prevch == '.')))) {
      return;  // two operands side by side: the expression ended before
    } else if (tk.toktyp == TT_NAME) {
      int32_t after = pstat[tk.stacol];
      bool dotted = prev == TT_OTHER && prevch == '.' && (after == '.' || prev2 == TT_DIGITS);
      bool exponent = prev == TT_DIGITS && !blank_before();
      bool keyword = depth > 0 && after == '=' && pstat[tk.stacol + 1] != '=';
      // A component's name belongs to its structure's type, not to the unit.
      bool component = prev == TT_OTHER && prevch == '%';
      // A name not met before that "(" follows can only be a function's
      // (an intrinsic or an external one): no variable of the unit.
      bool new_function = after == '(' && token_symbol(false) == nullptr;
      if (!dotted && !exponent && !keyword && !component && !new_function) {
        locsym* s = token_symbol(true);
        if (s != nullptr) flaguse(s, QB_REF, tk.tokbeg);
      }
    }
    prev2 = prev;
    prev = tk.toktyp;
    prevch = tk.tok1;
    getokn();
  }
}

// Kinds an expression of an I/O statement may be: values, whole arrays,
// sections and, in Fortran 90, structures and array expressions.
uint32_t io_kinds() {
  if (ropt.Language == 1) return EK_VALUE | EK_ARRAY | EK_SECTION | EK_ARRAYEXP;
  return EK_VALUE | EK_ARRAY | EK_SECTION | EK_ARRAYEXP | EK_STRUCT | EK_STRUCTARRAY | EK_ARRCOMP |
         EK_STRUCTCONS | EK_STRUCTEXP | EK_STRUCTARREXP;
}

// Evaluates the expression that begins at the current token; its operands
// are marked referenced (a whole array or section too) and the token after
// it becomes current. 0 after a message (the statement is consumed then).
uint32_t value_from_current() {
  int32_t col = tk.tokbeg;
  tk.stacol = tk.tokbeg;
  uint32_t k = getmeta(io_kinds());
  if (k == 0) {
    skip_statement();
    return 0;
  }
  if (got_sym != nullptr && (k & (EK_ARRAY | EK_SECTION | EK_STRUCT | EK_STRUCTARRAY | EK_ARRCOMP)))
    flaguse(got_sym, QB_REF, col);
  getokn();
  return k;
}

// Reads an expression whose first token is the next one.
void io_expr() {
  getokn();
  expr_from_current();
}

// Reads a variable reference from the current name token: the name gets
// the mark, subscripts and components are read; the token after it stays
// current. 0 when the token is not a name.
int32_t variable_from_current(uint32_t mark) {
  if (tk.toktyp != TT_NAME) return 0;
  locsym* s = token_symbol(true);
  if (s != nullptr) flaguse(s, mark, tk.tokbeg);
  // A record's fields follow it with "." (a DEC STRUCTURE) as well as "%".
  const bool record = s != nullptr && (s->type.code == 15 || s->type.code == 26);
  getokn();
  for (;;) {
    if (record && tk.toktyp != TT_NAME && pstat[tk.tokbeg] == '.' && pstat[tk.tokbeg + 1] >= 'A' &&
        pstat[tk.tokbeg + 1] <= 'Z') {
      // The "." and the field name are read again as two tokens.
      tk.stacol = tk.tokbeg + 1;
      getokn();
      if (tk.toktyp != TT_NAME) {
        rd_errmsg(25);
        return 0;
      }
      getokn();
    } else if (is_ch('(')) {
      do {
        getokn();
        if (is_ch(')')) break;
        expr_from_current(false, true);
      } while (is_ch(',') || is_ch(':'));
      if (!is_ch(')')) {
        rd_errmsg(7);
        return 0;
      }
      getokn();
    } else if (is_ch('%')) {
      getokn();
      if (tk.toktyp != TT_NAME) {
        rd_errmsg(25);
        return 0;
      }
      getokn();
    } else {
      return 1;
    }
  }
}

// A branch label: a digit string recorded as a branch to its label.
int32_t read_label_value() {
  getokn();
  if (tk.toktyp != TT_DIGITS) {
    rd_errmsg(26);
    expr_from_current();
    return 0;
  }
  if (unit.labpro) lhand(labfind(), 1);
  getokn();
  return 1;
}

// True when the current token is the name word.
bool token_is(const char* word) {
  return tk.toktyp == TT_NAME && tk.toksiz == static_cast<int32_t>(std::strlen(word)) &&
         std::memcmp(pstat + tk.tokbeg, word, static_cast<size_t>(tk.toksiz)) == 0;
}

// KEY=(start:end[:type[:order]] {, ...})
int32_t read_key_list() {
  getokn();
  if (!is_ch('(')) {
    rd_errmsg(17);
    return 0;
  }
  do {
    getokn();
    expr_from_current(false, true);
    if (!is_ch(':')) {
      rd_errmsg(87);
      return 0;
    }
    getokn();
    expr_from_current(false, true);
    if (is_ch(':')) {
      getokn();
      if (!token_is("INTEGER") && !token_is("CHARACTER")) {
        rd_errmsg(58);
        return 0;
      }
      getokn();
      if (is_ch(':')) {
        getokn();
        if (!token_is("ASCENDING") && !token_is("DESCENDING")) {
          rd_errmsg(58);
          return 0;
        }
        getokn();
      }
    }
  } while (is_ch(','));
  if (!is_ch(')')) {
    rd_errmsg(7);
    return 0;
  }
  getokn();
  return 1;
}

// One item of an I/O list from the current token.
int32_t ioitem_from_current(uint32_t mark);

// The items of a list up to a token that is not ","; the first item's
// first token is current.
int32_t iolist_from_current(uint32_t mark) {
  for (;;) {
    if (!ioitem_from_current(mark)) return 0;
    if (!is_ch(',')) return 1;
    getokn();
  }
}

// True when the "(" just read opens an implied DO list: at its own depth
// it holds a "," followed by a name and "=".
bool implied_do_ahead() {
  int32_t depth = 1;
  for (int32_t p = tk.stacol; p < rsrc.statend && depth > 0; ++p) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {
      p += CONST_OVERHEAD + ((pstat[p + 1] << 8) | pstat[p + 2]) - 1;
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (c == ',' && depth == 1 && name_eq_at(p + 1)) return true;
  }
  return false;
}

int32_t ioitem_from_current(uint32_t mark) {
  if (is_ch('(') && implied_do_ahead()) {
    getokn();
    for (;;) {
      if (!ioitem_from_current(mark)) return 0;
      if (!is_ch(',')) {
        rd_errmsg(36);
        return 0;
      }
      if (name_eq_at(tk.stacol)) break;
      getokn();
    }
    getokn();
    locsym* s = token_symbol(true);
    if (s != nullptr) flaguse(s, QB_SET | QB_REF, tk.tokbeg);
    getokn();  // "="
    io_expr();
    if (!is_ch(',')) {
      rd_errmsg(36);
      return 0;
    }
    io_expr();
    if (is_ch(',')) io_expr();
    if (!is_ch(')')) {
      rd_errmsg(7);
      return 0;
    }
    getokn();
  } else if (mark == QB_SET) {
    if (!variable_from_current(QB_SET)) {
      rd_errmsg(25);
      return 0;
    }
  } else if (mark == QB_REF) {
    if (value_from_current() == 0) return 0;
  } else {
    rd_interr("iosublist");
  }
  if (!is_ch(',') && !is_ch(')') && !at_eos()) {
    rd_errmsg(36);
    return 0;
  }
  return 1;
}

// The column of the I/O statement of a keyword row.
int32_t column_of(const KeyRow* row) {
  return row != nullptr ? static_cast<int32_t>((row->attrib >> 16) & 0xff) : 0;
}

// The statement item of the program database, written in the local pass.
void tvx_io_statement() {
  if (an.lpass != 1 || prgnam == nullptr) return;
  int32_t line = 0, col = 0, eline = 0, ecol = 0;
  tvx_stmt_start(line, col);
  tvx_stmt_end(eline, ecol);
  CTVX_GenRSTMT(CTVX_GetCurrentFileId(), line, col, eline, ecol, "fio");
}

// The output or input list after a format or control list, then the end of
// the statement.
void list_and_end(uint32_t mark) {
  // A "," between the control list and the list (a common extension).
  if (is_ch(',')) getokn();
  if (!at_eos() && !iolist_from_current(mark)) return skip_statement();
  chk_endofline(0);
}

// DEFINEFILE u(m, n, U, v) {, ...}
void definefile() {
  do {
    // The unit is a number or a name: the "(" that follows opens the list.
    getokn();
    if (tk.toktyp != TT_DIGITS && tk.toktyp != TT_NAME) return (void)rd_errmsg(156);
    if (tk.toktyp == TT_NAME) {
      locsym* u = token_symbol(true);
      if (u != nullptr) flaguse(u, QB_REF, tk.tokbeg);
    }
    getokn();
    if (!is_ch('(')) {
      rd_errmsg(17);
      return;
    }
    io_expr();
    if (!is_ch(',')) return (void)rd_errmsg(36);
    io_expr();
    if (!is_ch(',')) return (void)rd_errmsg(36);
    getokn();
    if (tk.toktyp != TT_NAME || tk.toksiz != 1 || tk.tok1 != 'U') return (void)rd_errmsg(156);
    getokn();
    if (!is_ch(',')) return (void)rd_errmsg(36);
    getokn();
    locsym* s = tk.toktyp == TT_NAME ? token_symbol(true) : nullptr;
    if (s == nullptr || (type_bit(s) & 0x2) == 0) return (void)rd_errmsg(156);
    if (!variable_from_current(QB_SET)) return;
    if (!is_ch(')')) return (void)rd_errmsg(7);
    getokn();
  } while (is_ch(','));
  chk_endofline(0);
}

// Dialect whose ENCODE and DECODE name a variable first.
constexpr uint32_t ENCODE_VARIABLE_DIALECT = 0x40;

// ENCODE/DECODE (count, format, buffer [, specifiers]) list
void encode_decode(const KeyRow* row, bool decode) {
  getokn();
  bool variable_first = (ropt.compiler & ENCODE_VARIABLE_DIALECT) != 0;
  if (variable_first) {
    // The first item is a variable, which receives the character count.
    if (!variable_from_current(QB_SET)) return (void)rd_errmsg(25);
  } else if (value_from_current() == 0) {
    return;
  }
  if (!is_ch(',')) return (void)rd_errmsg(6);
  if (!getformat(1 | 2)) return;
  if (!is_ch(',')) return (void)rd_errmsg(6);
  getokn();
  if (variable_first && decode) {
    // The text DECODE reads may be any character expression here.
    if (value_from_current() == 0) return;
  } else if (!variable_from_current(decode ? QB_REF : QB_SET)) {
    return (void)rd_errmsg(25);
  }
  if (is_ch(',')) {
    if (getspecs(row, false) != 0) return;
  } else if (!is_ch(')')) {
    return (void)rd_errmsg(7);
  }
  getokn();
  list_and_end(decode ? QB_SET : QB_REF);
}

}  // namespace

uint32_t iospec_table(uint32_t compiler) {
  for (uint32_t bit : table_order)
    if (compiler & bit) return bit;
  return 0;
}

// True when row r is name (length len) and fits language and column.
static bool spec_fits(const IoSpec& r, const char* name, int32_t len, int32_t language,
                      int32_t column) {
  return (r.language & language) != 0 && r.columns[column - 1] != ' ' &&
         static_cast<int32_t>(std::strlen(r.name)) == len &&
         std::memcmp(r.name, name, static_cast<size_t>(len)) == 0;
}

const IoSpec* iospec_find(const char* name, int32_t len, int32_t language, int32_t column,
                          uint32_t compiler) {
  if (column < 1 || column > IO_COLUMNS || len <= 0) return nullptr;
  for (const IoSpec& r : standard_specs)
    if (spec_fits(r, name, len, language, column)) return &r;
  uint32_t table = iospec_table(compiler);
  if (table == 0) return nullptr;
  for (const IoDialectSpec& r : dialect_specs)
    if ((r.dialects & table) != 0 && spec_fits(r.spec, name, len, language, column))
      return &r.spec;
  return nullptr;
}

char iospec_letter(const IoSpec* row, int32_t column) {
  if (row == nullptr || column < 1 || column > IO_COLUMNS) return ' ';
  return row->columns[column - 1];
}

int32_t getspecval(char letter) {
  switch (letter) {
    case 'S': return read_label_value();
    case 'c': case 'i': case 'l': case 'v': case 'P': {
      getokn();
      if (!variable_from_current(letter == 'P' ? QB_REF : QB_SET)) {
        rd_errmsg(25);
        return 0;
      }
      return 1;
    }
    case 'F': case 'f': return getformat(1 | 2) != 0;
    case 'N': return getformat(1 | 2 | 4) != 0;
    case 'n': return getformat(1 | 2 | 8) != 0;
    case 'u': return getunit(7);
    case 'U': return getunit(11);
    case 'J': case 'O': case 'o': return getunit(3);
    case 'K': return read_key_list();
    default:
      getokn();
      return value_from_current() != 0;
  }
}

int32_t getspecs(const KeyRow* row, bool positional) {
  if (row != nullptr) cur_column = column_of(row);
  bool first = positional;
  for (;;) {
    pshtok();
    getokn();
    if (tk.toktyp != TT_NAME) {
      if (first) {
        poptok();
        return 1;
      }
      rd_errmsg(532);
      return 2;
    }
    bool eq = pstat[tk.stacol] == '=' && pstat[tk.stacol + 1] != '=';
    const IoSpec* spec = iospec_find(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz,
                                     ropt.Language, cur_column, ropt.compiler);
    char letter = iospec_letter(spec, cur_column);
    if (spec != nullptr && letter == 'X') {
      getokn();
    } else if (spec != nullptr) {
      if (!eq) {
        if (first) {
          poptok();
          return 1;
        }
        rd_errmsg(231);
        return 2;
      }
      getokn();  // "="
      if (!getspecval(letter)) return 2;
    } else {
      if (first && !eq) {
        poptok();
        return 1;
      }
      rd_errmsg(232);
      if (!eq) return 2;
      getokn();  // "="
      getokn();
      if (tk.toktyp == TT_NAME && !name_eq_at(tk.tokbeg)) {
        if (!variable_from_current(UNKNOWN_USE)) return 2;
        if (!is_ch(',') && !is_ch(')') && !at_eos()) expr_from_current();
      } else {
        expr_from_current();
      }
    }
    first = false;
    if (is_ch(',')) continue;
    if (is_ch(')')) return 0;
    rd_errmsg(at_eos() ? 7 : 25);
    return 2;
  }
}

int32_t getunit(int32_t options) {
  getokn();
  if (at_eos()) {
    rd_errmsg(25);
    return 0;
  }
  if (is_ch('*')) {
    if ((options & 2) == 0) {
      rd_errmsg(156);
      return 0;
    }
    getokn();
    return 1;
  }
  if (tk.toktyp == TT_CHAR || tk.toktyp == TT_HOLL) {
    if ((options & 4) == 0) {
      rd_errmsg(156);
      return 0;
    }
    getokn();
    return 1;
  }
  if (tk.toktyp == TT_NAME) {
    locsym* s = token_symbol(true);
    uint32_t bit = s != nullptr ? type_bit(s) : 0;
    if (bit & 0x80) {
      if ((options & (4 | 8)) == 0) {
        rd_errmsg(156);
        return 0;
      }
      if (options & 16) issue(9098);
      uint32_t mark = ((options & 4) ? QB_REF : 0) | ((options & 8) ? QB_SET : 0);
      return variable_from_current(mark);
    }
  }
  // A unit number: an expression of integer type (character would be an
  // internal file, read above when it is a variable).
  int32_t col = tk.tokbeg;
  if (value_from_current() == 0) return 0;
  int32_t cls = getdtname(got_typ.code);
  if (got_typ.code != 0 && cls != TC_INTEGER && cls != TC_CHARACTER && got_typ.code != 16) {
    tk.errcol = col;
    rd_errmsg(82);
    return 0;
  }
  return 1;
}

int32_t getformat(int32_t options) {
  getokn();
  if (tk.toktyp == TT_DIGITS) {
    if ((options & 1) == 0) {
      rd_errmsg(156);
      return 0;
    }
    if (unit.labpro) lhand(labfind(), 16);
    getokn();
    return 1;
  }
  if (tk.toktyp == TT_OTHER && tk.tok1 != '(') {
    if (is_ch('*') && (options & 2)) {
      getokn();
      return 2;
    }
    rd_errmsg(156);
    return 0;
  }
  if (tk.toktyp == TT_NAME) {
    // Namelist groups have a name space of their own.
    locsym* g = (options & (4 | 8))
                    ? getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 0, SC_NML)
                    : nullptr;
    int32_t after = pstat[tk.stacol];
    bool alone = after == ',' || after == ')' || after == 10;
    if (g != nullptr && g->sclass == SC_NML) {
      locsym* s = g;
      flaguse(s, QB_REF, tk.tokbeg);
      const uint32_t mark = (options & 8) ? QB_SET : QB_REF;
      for (NmlMember* m = static_cast<NmlMember*>(s->list); m != nullptr; m = m->next)
        if (m->sym != nullptr) flaguse(m->sym, mark, tk.tokbeg);
      getokn();
      return 1;
    }
    if (alone && (options & 1)) {
      locsym* s = token_symbol(true);
      if (s != nullptr && (type_bit(s) & 0x2) && s->sclass != SC_PAR) {
        flaguse(s, QB_LABUSE, tk.tokbeg);
        if (ropt.Language == 2) rd_errmsg(606);
        getokn();
        return 1;
      }
    }
  }
  // A format expression: a constant must be of character type.
  int32_t col = tk.tokbeg;
  if (value_from_current() == 0) return 0;
  if (got_con && got_typ.code != 0 && got_typ.code != DT_CHAR && got_typ.code != 12) {
    tk.errcol = col;
    rd_errmsg(154);
    return 0;
  }
  return 1;
}

int32_t getiolist(uint32_t mark) {
  getokn();
  if (at_eos()) return 1;
  return iolist_from_current(mark);
}

// READ/WRITE/OPEN/... (control list) [list] | READ f [, list] |
// PRINT f [, list] | BACKSPACE u | ...
int32_t shio(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  tvx_io_statement();
  const KeyRow* row = c.row;
  cur_column = column_of(row);
  const int32_t code = c.code;
  const bool input = code == C_READ || code == C_ACCEPT || code == C_DECODE;
  const uint32_t mark = input ? QB_SET : QB_REF;
  if (pstat[tk.stacol] != '(') {
    switch (code) {
      case C_PRINT: case C_TYPE: case C_PUNCH: case C_ACCEPT: case C_READ: case C_WRITE: {
        int32_t f = getformat(1 | 2);
        if (f == 0) return skip_statement(), 0;
        if (is_ch(',')) {
          getokn();
          list_and_end(mark);
        } else {
          chk_endofline(0);
        }
        return 0;
      }
      case C_BACKSPACE: case C_ENDFILE: case C_REWIND: case C_UNLOCK:
        if (getunit(3)) chk_endofline(0);
        return 0;
      case C_DEFINEFILE:
        definefile();
        return 0;
      case C_DELETE:
        if (name_eq_at(tk.stacol)) {
          getokn();
          getokn();
        }
        if (getunit(3)) chk_endofline(0);
        return 0;
      default:
        getokn();
        rd_errmsg(17);
        return skip_statement(), 0;
    }
  }
  getokn();  // "("
  if (code == C_PRINT || code == C_TYPE || code == C_PUNCH || code == C_ACCEPT ||
      code == C_DEFINEFILE) {
    rd_errmsg(6);
    return skip_statement(), 0;
  }
  if (code == C_INQUIRE && ropt.Language == 2 &&
      rsrc.statend - tk.stacol >= 9 && std::memcmp(pstat + tk.stacol, "IOLENGTH=", 9) == 0) {
    getokn();
    getokn();
    getokn();
    if (!variable_from_current(QB_SET)) {
      rd_errmsg(25);
      return skip_statement(), 0;
    }
    if (!is_ch(')')) {
      rd_errmsg(7);
      return skip_statement(), 0;
    }
    getokn();
    list_and_end(QB_REF);
    return 0;
  }
  if (code == C_ENCODE || code == C_DECODE) {
    encode_decode(row, code == C_DECODE);
    return 0;
  }
  int32_t r = getspecs(row, true);
  if (r == 2) return skip_statement(), 0;
  if (r == 1) {
    int32_t opts = code == C_READ ? 7 : code == C_WRITE ? 11 : 3;
    if (!getunit(opts)) return skip_statement(), 0;
    if (tk.toktyp == TT_OTHER && tk.tok1 == 'r') {
      if (code == C_REWRITE) {
        rd_errmsg(36);
        return skip_statement(), 0;
      }
      io_expr();
    }
    if (is_ch(',')) {
      bool more = true;
      if ((code == C_READ || code == C_WRITE) && !name_eq_at(tk.stacol)) {
        if (!getformat(1 | 2 | (code == C_READ ? 8 : 4))) return skip_statement(), 0;
        more = is_ch(',');
        if (!more && !is_ch(')')) {
          rd_errmsg(at_eos() ? 7 : 25);
          return skip_statement(), 0;
        }
      }
      if (more && getspecs(row, false) != 0) return skip_statement(), 0;
    } else if (!is_ch(')')) {
      rd_errmsg(at_eos() ? 7 : 25);
      return skip_statement(), 0;
    }
  }
  getokn();  // behind ")"
  if (code == C_FIND || code == C_UNLOCK) {
    chk_endofline(0);
    return 0;
  }
  list_and_end(mark);
  return 0;
}

// FORMAT (format items), with <expression> for a variable count
int32_t shformat(const StmtCall& c) {
  getokn();
  if (Status.interface == 2) rd_errmsg(692);
  else if (unit.prgtyp == 12) rd_errmsg(699);
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  while (!at_eos()) {
    if (is_ch('<')) {
      getokn();
      if (is_ch('>')) {
        rd_errmsg(75);
        return skip_statement(), 0;
      }
      expr_from_current(true);
      if (!is_ch('>')) {
        rd_errmsg(75);
        return skip_statement(), 0;
      }
    }
    getokn();
  }
  return 0;
}
