// Executable statements of vendor dialects: BUFFER IN and BUFFER OUT, and
// the database statements, whose clauses are checked against the table of
// database keywords (dbms_keywords.def).
#include "checker/reader/vendorexec.h"

#include <cstring>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

constexpr DbmsKeyword dbms_keywords[] = {
#define DBMS_KEYWORD(keyword, pattern) {keyword, pattern},
#include "checker/reader/dbms_keywords.def"
};
static_assert(std::size(dbms_keywords) == DBMS_KEYWORD_COUNT);

namespace {

constexpr bool patterns_are_complete() {
  for (const DbmsKeyword& k : dbms_keywords) {
    int32_t n = 0;
    while (k.pattern[n] != '\0') ++n;
    if (n != DBMS_STATEMENTS) return false;
  }
  return true;
}
static_assert(patterns_are_complete(), "every pattern has one letter per database statement");

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }
bool at_end() { return tk.tok1 == 10 && tk.toktyp == TT_OTHER; }

// Reads a variable at the next token and flags it with usage; false after
// a message.
bool variable(uint32_t usage) {
  getokn();
  int32_t col = tk.tokbeg;
  varout v{};
  if (getvar(EK_SCALARVAR | EK_ARRAY | EK_SECTION | EK_STRUCT | EK_STRUCTARRAY | EK_ARRCOMP, &v) == 0)
    return false;
  if (usage != 0) flaguse(v.sym, usage, col);
  return true;
}

// Passes over a parenthesised value whose "(" is the current token.
void skip_parens() {
  int32_t depth = 1;
  while (depth > 0) {
    getokn();
    if (at_end()) return;
    if (is_other('(')) ++depth;
    if (is_other(')')) --depth;
  }
}

// Passes over the rest of a clause up to its "," or ")" at depth 0 (read).
void skip_clause() {
  int32_t depth = 0;
  for (;;) {
    getokn();
    if (at_end()) return;
    if (is_other('(')) ++depth;
    if (is_other(')') && --depth < 0) return;
    if (is_other(',') && depth == 0) return;
  }
}

}  // namespace

const DbmsKeyword* find_dbms_keyword(const char* word, int32_t len) {
  for (const DbmsKeyword& k : dbms_keywords) {
    if (static_cast<int32_t>(std::strlen(k.keyword)) == len && std::memcmp(k.keyword, word, len) == 0)
      return &k;
  }
  return nullptr;
}

// BUFFER IN | BUFFER OUT ( unit , mode ) ( start , end )
int32_t shbuffer(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  bool in = c.code == ST_BUFFERIN;
  if (get_left_parenthesis(1) != 0) return skip_statement(), 0;
  if (getmeta(EK_VALUE) == 0) return skip_statement(), 0;
  getokn();
  if (!is_other(',')) {
    msg_at(36, tk.tokbeg);
    return skip_statement(), 0;
  }
  if (getmeta(EK_VALUE) == 0) return skip_statement(), 0;
  if (get_right_parenthesis(1) != 0) return skip_statement(), 0;
  if (get_left_parenthesis(1) != 0) return skip_statement(), 0;
  if (!variable(in ? QB_SET : QB_REF)) return skip_statement(), 0;
  getokn();
  if (!is_other(',')) {
    msg_at(36, tk.tokbeg);
    return skip_statement(), 0;
  }
  if (!variable(0)) return skip_statement(), 0;
  if (get_right_parenthesis(1) != 0) return skip_statement(), 0;
  if (chk_endofline(1) != 0) return skip_statement(), 0;
  return 0;
}

// keyword ( clause [, clause]... ), each clause a keyword of the table,
// with "=" and a value where its letter asks for one
int32_t shdbms(const StmtCall& c) {
  int32_t number = c.row != nullptr ? key_dbnum(c.row) : 0;
  if (c.code == ST_FIND) {
    // FIND of the I/O statements unless a database clause comes first.
    int32_t p = tk.stacol;
    bool dbms = false;
    if (pstat[p] == '(') {
      int32_t e = p + 1;
      while (e < rsrc.statend && ((pstat[e] >= 'A' && pstat[e] <= 'Z') || pstat[e] == '_')) ++e;
      dbms = e > p + 1 && find_dbms_keyword(reinterpret_cast<const char*>(pstat + p + 1), e - p - 1);
    }
    if (!dbms) return shio(c);
  }
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (pstat[tk.stacol] != '(') return skip_statement(), 0;
  getokn();
  for (;;) {
    getokn();
    int32_t col = tk.tokbeg;
    const DbmsKeyword* k =
        tk.toktyp == TT_NAME
            ? find_dbms_keyword(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz)
            : nullptr;
    char letter = k != nullptr && number >= 1 && number <= DBMS_STATEMENTS ? k->pattern[number - 1]
                                                                           : ' ';
    if (letter == ' ') {
      msg_at(479, col);
      skip_clause();
    } else if (letter == '?') {
      getokn();
    } else {
      getokn();
      if (!is_other('=')) {
        msg_at(25, tk.tokbeg);
        return skip_statement(), 0;
      }
      if (pstat[tk.stacol] == '(') {
        getokn();
        skip_parens();
        getokn();
      } else if (letter == 's') {
        getokn();
        if (tk.toktyp != TT_DIGITS) {
          msg_at(26, tk.tokbeg);
          return skip_statement(), 0;
        }
        if (unit.labpro) lhand(labfind(), 1);
        getokn();
      } else if (letter == 'd') {
        if (!variable(QB_SET)) return skip_statement(), 0;
        getokn();
      } else if (letter == 'r') {
        getokn();
        if (tk.toktyp != TT_NAME) {
          msg_at(24, tk.tokbeg);
          return skip_statement(), 0;
        }
        getokn();
        if (is_other('(')) {
          skip_parens();
          getokn();
        }
      } else {
        if (getmeta(EK_VALUE | EK_ARRAY | EK_SECTION) == 0) return skip_statement(), 0;
        getokn();
      }
    }
    if (at_end()) {
      msg_at(7, tk.tokbeg);
      return 0;
    }
    if (is_other(',')) continue;
    if (is_other(')')) break;
    msg_at(25, tk.tokbeg);
    return skip_statement(), 0;
  }
  if (chk_endofline(1) != 0) skip_statement();
  return 0;
}
