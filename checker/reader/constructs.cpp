// The Fortran 90 block constructs on the construct stack: WHERE,
// ELSEWHERE and END WHERE, SELECT CASE, CASE and END SELECT, and the CYCLE
// and EXIT statements that name an enclosing DO loop. Masks must be
// logical; CASE values must be constants of the selector's type that do
// not overlap.
#include <cstring>
#include <string>
#include <vector>

#include "checker/common/dtype.h"
#include "checker/reader/ctlexpr.h"
#include "checker/reader/expr.h"

#include "checker/reader/dispatch.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"

namespace {

constexpr int32_t MAX_CASE_DEPTH = 100;  // SELECT CASE constructs open at once

// CASE DEFAULT seen, per construct-stack entry of a SELECT CASE.
bool case_default[NEST_SIZE];

// Selector classes of SELECT CASE.
constexpr int32_t SEL_LOGICAL = 1, SEL_INTEGER = 2, SEL_CHARACTER = 128;

// Forms of a case item by its flags.
constexpr int32_t CASE_RANGE = 0, CASE_SINGLE = 1, CASE_LOWER_OPEN = 4, CASE_UPPER_OPEN = 8;

// One accepted case value or range.
struct CaseItem {
  int32_t flags;     // CASE_ form
  int32_t low, high; // integer or logical values
  std::string slow, shigh;  // character values
};

// One open SELECT CASE construct.
struct CaseStruct {
  int32_t selclass;            // SEL_ class of the selector, 0 after an invalid one
  int32_t rangeflags;          // CASE_LOWER_OPEN and CASE_UPPER_OPEN seen
  std::vector<CaseItem> items; // accepted values, in order
};
CaseStruct case_structs[NEST_SIZE];  // by construct-stack entry

// The SEL_ class of a type class, 0 for a type that cannot select.
int32_t selector_class(int32_t tclass) {
  if (tclass == TC_LOGICAL) return SEL_LOGICAL;
  if (tclass == TC_INTEGER) return SEL_INTEGER;
  if (tclass == TC_CHARACTER) return SEL_CHARACTER;
  return 0;
}

// One value of a case item, read as a constant.
struct CaseValue {
  int32_t col;
  int32_t sclass;    // SEL_ class of its type, 0 none
  bool known;        // a constant with a known value
  int32_t ivalue;
  std::string svalue;
};

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

namespace {

// Reads one case value; false when it cannot be read.
bool read_case_value(CaseValue& v) {
  v = CaseValue{};
  v.col = tk.stacol;
  if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return false;
  int32_t tclass = got_typ.code != 0 ? getdtname(got_typ.code) : 0;
  v.sclass = selector_class(tclass);
  v.known = got_con && got_ok;
  if (v.known && v.sclass == SEL_CHARACTER) {
    int32_t len = got_typ.value > 0 ? got_typ.value : 0;
    if (got_val.s != nullptr) v.svalue.assign(got_val.s, static_cast<size_t>(len));
  } else if (v.known) {
    v.ivalue = got_val.i;
  }
  if (!got_con) v.sclass = -1;
  return true;
}

// Compares two values of the construct's class: <0, 0, >0.
int32_t compare_values(const CaseStruct& cs, int32_t a, const std::string& sa, int32_t b,
                       const std::string& sb) {
  if (cs.selclass == SEL_CHARACTER) return sa.compare(sb);
  return a < b ? -1 : a > b ? 1 : 0;
}

// Tests one value of a new item (kind 1 single, 4 the bound of :high,
// 0 another bound): 658 for a value of another class, 659 for a range of a
// logical selector, 656 for an overlap. True when it passes.
bool check_case_value(CaseStruct& cs, const CaseValue& v, int32_t kind) {
  tk.errcol = v.col;
  if (kind == 4 && (cs.rangeflags & CASE_LOWER_OPEN)) {
    rd_errmsg(656);
    return false;
  }
  if (v.sclass < 0) {
    rd_errmsg(658);
    return false;
  }
  if (cs.selclass == 0) cs.selclass = v.sclass != 0 ? v.sclass : SEL_INTEGER;
  if (v.sclass != cs.selclass) {
    rd_errmsg(658);
    return false;
  }
  if (cs.selclass == SEL_LOGICAL && kind != 1) {
    rd_errmsg(659);
    return false;
  }
  if (!v.known) return true;
  for (const CaseItem& it : cs.items) {
    bool hit = false;
    int32_t lo = compare_values(cs, v.ivalue, v.svalue, it.low, it.slow);
    int32_t hi = compare_values(cs, v.ivalue, v.svalue, it.high, it.shigh);
    switch (it.flags) {
      case CASE_SINGLE: hit = lo == 0; break;
      case CASE_RANGE: hit = cs.selclass != SEL_LOGICAL && lo >= 0 && hi <= 0; break;
      case CASE_UPPER_OPEN: hit = lo >= 0; break;
      case CASE_LOWER_OPEN: hit = hi <= 0; break;
      default: break;
    }
    if (hit) {
      rd_errmsg(656);
      return false;
    }
  }
  return true;
}

void add_item(CaseStruct& cs, int32_t flags, const CaseValue* low, const CaseValue* high) {
  CaseItem it{};
  it.flags = flags;
  if (low != nullptr) {
    it.low = low->ivalue;
    it.slow = low->svalue;
  }
  if (high != nullptr) {
    it.high = high->ivalue;
    it.shigh = high->svalue;
  }
  if (flags == CASE_SINGLE) {
    it.high = it.low;
    it.shigh = it.slow;
  }
  if (flags == CASE_UPPER_OPEN || flags == CASE_LOWER_OPEN) cs.rangeflags |= flags;
  cs.items.push_back(it);
}

bool colon_next() { return tk.stacol < rsrc.statend && pstat[tk.stacol] == ':'; }

// ( value-range [, value-range]... ) of a CASE statement; false when the
// statement has been given up.
bool case_value_ranges(CaseStruct& cs) {
  if (get_left_parenthesis(1) != 0) return skip_statement(), false;
  for (;;) {
    CaseValue low, high;
    bool has_low = false, has_colon = false, has_high = false;
    if (!colon_next()) {
      if (!read_case_value(low)) return skip_statement(), false;
      has_low = true;
    }
    if (colon_next()) {
      getokn();
      has_colon = true;
      if (tk.stacol < rsrc.statend && pstat[tk.stacol] != ',' && pstat[tk.stacol] != ')') {
        if (!read_case_value(high)) return skip_statement(), false;
        has_high = true;
      }
    }
    if (!has_low && !has_high) {
      tk.errcol = tk.stacol;
      rd_errmsg(658);
      return skip_statement(), false;
    }
    if (!has_colon) {
      if (check_case_value(cs, low, 1)) add_item(cs, CASE_SINGLE, &low, nullptr);
    } else if (!has_high) {
      if (check_case_value(cs, low, 0)) add_item(cs, CASE_UPPER_OPEN, &low, nullptr);
    } else if (!has_low) {
      if (check_case_value(cs, high, 4)) add_item(cs, CASE_LOWER_OPEN, nullptr, &high);
    } else {
      bool low_ok = check_case_value(cs, low, 0);
      bool high_ok = high.known && check_case_value(cs, high, 0);
      if (low_ok && high_ok) {
        add_item(cs, CASE_RANGE, &low, &high);
      } else if (low_ok) {
        add_item(cs, CASE_SINGLE, &low, nullptr);
      } else if (high_ok) {
        add_item(cs, CASE_SINGLE, &high, nullptr);
      }
    }
    getokn();
    if (is_other(')')) return true;
    if (!is_other(',')) {
      rd_errmsg(at_statement_end() || tk.tok1 == 10 ? 7 : 6);
      return skip_statement(), false;
    }
  }
}

}  // namespace

// WHERE (mask) [assignment]
int32_t shwhere(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!read_paren_ctl_expr(true)) return 0;
  if (ctl.tclass != 0 && ctl.tclass != TC_LOGICAL) {
    tk.errcol = ctl.col;
    rd_errmsg(80);
  }
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
  if (!read_paren_ctl_expr(false)) return 0;
  int32_t selclass = selector_class(ctl.tclass);
  if (ctl.tclass != 0 && selclass == 0) {
    tk.errcol = ctl.col;
    rd_errmsg(657);
  }
  if (unit.labpro && case_depth() >= MAX_CASE_DEPTH) {
    rd_interr("select case (casedepth exceeded stack size)");
  }
  if (push_block(10, 8)) {
    case_default[nest.nestdep] = false;
    case_structs[nest.nestdep] = CaseStruct{};
    case_structs[nest.nestdep].selclass = selclass;
  }
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
    // The construct's entry: the SELECT CASE or the CASE block over it.
    if (!case_value_ranges(case_structs[nest.nestdep])) return 0;
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
