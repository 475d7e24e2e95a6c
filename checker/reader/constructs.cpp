// The Fortran 90 block constructs on the construct stack: WHERE,
// ELSEWHERE and END WHERE, SELECT CASE, CASE and END SELECT, and the CYCLE
// and EXIT statements that name an enclosing DO loop. The masks, selectors
// and case values themselves are read over here.
#include <cstring>
#include <string>

#include "checker/reader/dispatch.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/statement.h"
#include "checker/reader/tokens.h"

namespace {

constexpr int32_t MAX_CASE_DEPTH = 100;  // SELECT CASE constructs open at once

// CASE DEFAULT seen, per construct-stack entry of a SELECT CASE.
bool case_default[NEST_SIZE];

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }
bool at_statement_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

int32_t top_code() { return nest.nestdep > 0 ? nest.e[nest.nestdep].code : 0; }

// The top entry starts a new block of kind k (7 WHERE, 8 SELECT CASE)
// under code.
void new_block(int32_t code, int32_t k) {
  NestEntry& e = nest.e[nest.nestdep];
  e.code = code;
  e.blk = nest.newcodblk + k;
  nest.newcodblk += 5;
  nest.codblk = e.blk;
}

// Pushes a construct entry with a new block and the statement's construct
// name.
bool push_block(int32_t code, int32_t k) {
  if (!unit.labpro || !nestdep_plus_plus()) return false;
  new_block(code, k);
  nest.e[nest.nestdep].name = unit.CurConstructName;
  return true;
}

// Reads "(" ... ")" over a mask or selector; false after a message.
bool parenthesised() {
  if (get_left_parenthesis(1) != 0) {
    skip_statement();
    return false;
  }
  skiptopar();
  if (is_other(')')) return true;
  rd_errmsg(7);
  return false;
}

// A name on a statement inside a construct must be the construct's: 707.
void check_inner_name(const std::string& name, int32_t col) {
  if (ropt.Language != 2 || name.empty() || name == nest.e[nest.nestdep].name) return;
  tk.errcol = col;
  rd_errmsg(707);
}

// The closing statement of a named construct repeats its name: 708 when
// missing, 707 when different; an unnamed construct takes none.
void check_closing_name(const std::string& name, int32_t col) {
  if (ropt.Language != 2 || name == nest.e[nest.nestdep].name) return;
  tk.errcol = col;
  rd_errmsg(name.empty() ? 708 : 707);
}

// SELECT CASE constructs open on the stack.
int32_t case_depth() {
  int32_t n = 0;
  for (int32_t i = 1; i <= nest.nestdep; ++i) {
    if (nest.e[i].code == 10 || nest.e[i].code == 11) ++n;
  }
  return n;
}

}  // namespace

bool construct_push(int32_t code, int32_t k) { return push_block(code, k); }

// WHERE (mask) [assignment]
int32_t shwhere(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!parenthesised()) return 0;
  if (at_statement_end()) {
    push_block(7, 7);
    return 0;
  }
  // The WHERE statement: its assignment follows.
  push_block(9, 7);
  return 1;
}

// ELSEWHERE
int32_t shelsewhere(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (unit.labpro) {
    if (top_code() != 7) {
      rd_errmsg(651);
      return skip_statement(), 0;
    }
    new_block(8, 7);
  }
  chk_endofline(1);
  return 0;
}

// END WHERE
int32_t shendwhere(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (unit.labpro) {
    if (top_code() != 7 && top_code() != 8) {
      rd_errmsg(652);
      return skip_statement(), 0;
    }
    nest_pop();
  }
  chk_endofline(1);
  return 0;
}

// SELECT CASE (expression)
int32_t shselectcase(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!parenthesised()) return 0;
  if (unit.labpro && case_depth() >= MAX_CASE_DEPTH) {
    rd_interr("select case (casedepth exceeded stack size)");
  }
  if (push_block(10, 8)) case_default[nest.nestdep] = false;
  chk_endofline(1);
  return 0;
}

// CASE (value-range-list) [name] | CASE DEFAULT [name]
int32_t shcase(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!unit.labpro) return skip_statement(), 0;
  if (top_code() != 10 && top_code() != 11) {
    rd_errmsg(653);
    return skip_statement(), 0;
  }
  if (tk.stacol + 7 <= rsrc.statend && std::memcmp(pstat + tk.stacol, "DEFAULT", 7) == 0) {
    int32_t col = tk.stacol;
    tk.stacol += 7;
    if (case_default[nest.nestdep]) {
      tk.errcol = col;
      rd_errmsg(655);
    }
    case_default[nest.nestdep] = true;
  } else {
    if (!parenthesised()) return 0;
  }
  std::string name;
  int32_t col = tk.stacol;
  if (!trailing_construct_name(name)) return 0;
  check_inner_name(name, col);
  new_block(11, 8);
  return 0;
}

// END SELECT [name]
int32_t shendselect(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!unit.labpro) return skip_statement(), 0;
  if (top_code() != 10 && top_code() != 11) {
    rd_errmsg(654);
    return skip_statement(), 0;
  }
  std::string name;
  int32_t col = tk.stacol;
  if (!trailing_construct_name(name)) return 0;
  check_closing_name(name, col);
  nest_pop();
  return 0;
}

// CYCLE [name] | EXIT [name]: the loop is an enclosing DO.
static int32_t cycle_or_exit(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  std::string name;
  int32_t col = tk.stacol;
  if (!trailing_construct_name(name)) return 0;
  if (!unit.labpro) return 0;
  tk.errcol = name.empty() ? rsrc.statbeg : col;
  bool in_do = false;
  for (int32_t i = nest.nestdep; i > 0 && !in_do; --i) in_do = nest.e[i].code == 4 || nest.e[i].code == 5;
  if (!in_do) {
    rd_errmsg(711);
    return 0;
  }
  if (name.empty()) return 0;
  for (int32_t i = nest.nestdep; i > 0; --i) {
    if (nest.e[i].name != name) continue;
    if (nest.e[i].code != 4 && nest.e[i].code != 5) rd_errmsg(713);
    return 0;
  }
  rd_errmsg(712);
  return 0;
}

int32_t shcycle(const StmtCall& c) { return cycle_or_exit(c); }
int32_t shexit(const StmtCall& c) { return cycle_or_exit(c); }
