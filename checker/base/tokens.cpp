// Token reader: one token at a time from the assembled statement, with one
// level of look-ahead save, and the small punctuation helpers that every
// statement handler uses.
#include "checker/base/tokens.h"

#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"

TokenState tk;
TokenState savtok;

// The last name reported for a blank or line break inside it, so that a
// name read again is not reported twice. It belongs to one source file: a
// name of the next file at the same line and column is a new name.
struct BrokenNameReport {
  int32_t line = -1;
  int32_t at = -1;
};
static BrokenNameReport broken_name;

void tokens_reset() {
  tk = TokenState{};
  savtok = TokenState{};
  tokens_new_source();
}

void tokens_new_source() { broken_name = BrokenNameReport{}; }

void issue(int32_t note) { (void)note; }

static bool is_upper(int32_t c) { return c >= 'A' && c <= 'Z'; }
static bool is_digit(int32_t c) { return c >= '0' && c <= '9'; }

// Dialects in which "$" is a one-character token, not part of a name.
constexpr uint32_t DOLLAR_TOKEN_DIALECT = 0x100;

static bool dollar_in_names() { return (ropt.compiler & DOLLAR_TOKEN_DIALECT) == 0; }

// Length of the constant field that starts at pos (its text length).
static int32_t const_len(int32_t pos) {
  return (static_cast<int32_t>(pstat[pos + 1]) << 8) | pstat[pos + 2];
}

int32_t getokn() {
  int32_t pos = tk.stacol;
  if (pos < 0 || pos >= PSTAT_SIZE) pos = rsrc.statend;
  tk.tokbeg = pos;
  int32_t c = pstat[pos];
  tk.tok1 = c;
  tk.tokbroke = 0;
  int32_t end = pos + 1;
  bool name_start = is_upper(c) || c == '_' || c == '?' || (c == '$' && dollar_in_names());
  if (name_start) {
    tk.toktyp = TT_NAME;
    if (c == '_') issue(9135);
    if (c == '?') issue(9009);
    while (end < rsrc.statend) {
      int32_t d = pstat[end];
      bool part = is_upper(d) || is_digit(d) || d == '_' || d == '?' ||
                  (d == '$' && dollar_in_names());
      if (!part) break;
      if (rsrc.freeform) {
        if (wbreaks[end] & 1) break;
      } else {
        tk.tokbroke |= wbreaks[end];
      }
      if (d == '_' && ropt.Language == 1) issue(9007);
      if (d == '$') issue(9008);
      if (d == '?') issue(9009);
      ++end;
    }
  } else if (c == 'a' || c == 'q' || c == 'h') {
    tk.toktyp = c == 'h' ? TT_HOLL : TT_CHAR;
    tk.chartoklen = const_len(pos);
    tk.chartokval = pos + CONST_HEAD;
    end = pos + CONST_OVERHEAD + tk.chartoklen;
    if (c == 'h') issue(9011);
    if (c == 'q' && ropt.Language == 1) issue(9010);
    if (tk.chartoklen == 0 && ropt.Language == 1) issue(9123);
  } else if (is_digit(c)) {
    tk.toktyp = TT_DIGITS;
    // In free form a blank ends a digit string as it ends a name (not in a
    // FORMAT statement, whose blanks are free).
    bool blanks_break = rsrc.freeform && !stmtIs(ST_FORMAT);
    while (end < rsrc.statend && is_digit(pstat[end]) && !(blanks_break && (wbreaks[end] & 1))) ++end;
  } else {
    tk.toktyp = TT_OTHER;
    if (c == 10) end = pos;  // the end of the statement is not stepped over
  }
  tk.stacol = end;
  tk.toksiz = c == 10 ? 1 : end - pos;
  tk.clp = pstat[end < PSTAT_SIZE ? end : PSTAT_SIZE - 1];
  tk.errcol = tk.tokbeg;
  // FORMAT items are no names: blanks and line breaks inside them are free.
  if (tk.toktyp == TT_NAME && !rsrc.freeform && tk.tokbroke != 0 && !tk.skipping &&
      !stmtIs(ST_FORMAT)) {
    bool report = true;
    if (tk.GettingKeyToken) report = pstat[end] == ':' && is_upper(pstat[end + 1]);
    // A name read again (look-ahead, expressions evaluated after a look at
    // their first token) is reported once.
    if (report && broken_name.line == rsrc.srclno && broken_name.at == tk.tokbeg) report = false;
    if (report) {
      broken_name.line = rsrc.srclno;
      broken_name.at = tk.tokbeg;
      rd_errmsg((tk.tokbroke & 2) ? 15 : 19);
    }
  }
  return tk.toktyp;
}

void pshtok() { savtok = tk; }

void poptok() {
  tk = savtok;
  // The end of the statement is not stepped over: reading goes on there.
  tk.stacol = tk.tok1 == 10 && tk.toktyp == TT_OTHER ? tk.tokbeg : tk.tokbeg + tk.toksiz;
}

int32_t chk_endofline(int32_t read_first) {
  if (read_first) getokn();
  if (tk.tok1 == 10 && tk.toktyp == TT_OTHER) return 0;
  rd_errmsg(20);
  return -1;
}

int32_t get_left_parenthesis(int32_t read_first) {
  if (read_first) getokn();
  if (tk.toktyp == TT_OTHER && tk.tok1 == '(') return 0;
  rd_errmsg(17);
  return -2;
}

int32_t get_right_parenthesis(int32_t read_first) {
  if (read_first) getokn();
  if (tk.toktyp == TT_OTHER && tk.tok1 == ')') return 0;
  rd_errmsg(7);
  return -2;
}

int32_t get_double_colon(int32_t read_first) {
  if (read_first) getokn();
  if (tk.toktyp == TT_OTHER && tk.tok1 == ':' && pstat[tk.stacol] == ':') {
    ++tk.stacol;
    getokn();
    return 0;
  }
  rd_errmsg(616);
  return -2;
}

// Reads tokens up to the parenthesis that closes the current level (the
// caller has read its "("; nested pairs are passed over), or to the comma
// at depth 1 when stop_at_comma is set.
static void skip_balanced(bool stop_at_comma) {
  int32_t depth = 0;
  for (;;) {
    getokn();
    if (tk.toktyp != TT_OTHER) continue;
    if (tk.tok1 == 10) return;
    if (tk.tok1 == '(') {
      ++depth;
    } else if (tk.tok1 == ')') {
      if (--depth < 0) return;
    } else if (tk.tok1 == ',' && stop_at_comma && depth <= 1) {
      return;
    }
  }
}

void skiptopar() { skip_balanced(false); }
void skiptocomma() { skip_balanced(true); }

void cksymlen(int32_t len) {
  if (len <= 6) return;
  if (len <= 31) {
    if (ropt.Language == 1) issue(9000);
  } else if (len == 32) {
    issue(9001);
  } else if (len <= 36) {
    issue(9129);
  } else {
    issue(9130);
  }
}

// Steps to the end of the statement as reading token after token would:
// names, digit strings and other characters are passed one character at a
// time (a token never holds the end mark), constants as a whole, and the
// last constant passed leaves its place in chartoklen and chartokval.
// While skipping, getokn reports nothing, so only the end token is read.
void skip_statement() {
  tk.skipping = 1;
  if (!(tk.toktyp == TT_OTHER && tk.tok1 == 10)) {
    int32_t pos = tk.stacol;
    for (;;) {
      if (pos < 0 || pos >= PSTAT_SIZE) pos = rsrc.statend;
      int32_t c = pstat[pos];
      if (c == 10) break;
      if (c == 'a' || c == 'q' || c == 'h') {
        tk.chartoklen = const_len(pos);
        tk.chartokval = pos + CONST_HEAD;
        pos += CONST_OVERHEAD + tk.chartoklen;
      } else {
        ++pos;
      }
    }
    tk.stacol = pos;
    getokn();
  }
  tk.skipping = 0;
}
