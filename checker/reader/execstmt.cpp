// Executable statements that branch, call or stop: GO TO in its three
// forms, ASSIGN, CALL, STOP and PAUSE. Each records its labels and the
// names it uses in the local table and, in the local pass, feeds the TVX
// program database.
#include <cstring>

#include "checker/base/passes.h"
#include "checker/reader/ctlexpr.h"
#include "checker/reader/dispatch.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/arglist.h"
#include "checker/semantics/locsym.h"
#include "checker/base/tvxutil.h"

// Statement code of PAUSE, which shares the STOP handler.
constexpr int32_t ST_PAUSE = 52;
// Portability note of a stop code above 99999.
constexpr int32_t STOP_CODE_NOTE = 9024;

namespace {

// The program database is written in the local pass.
bool tvx_pass() { return an.lpass == 1; }

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }

bool is_integer(const locsym* s) {
  return s->type.code != 0 && is_same_dtclass(s->type.code, DT_INT);
}

// The symbol of the name token just read, created when new.
locsym* token_symbol() {
  return getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 1, 0);
}

// A name used as a variable by ASSIGN or an assigned GO TO: an unclassified
// name becomes a variable with its implicit type.
void make_variable(locsym* s, int32_t col) {
  if (s->sclass == SC_UNK) s->sclass = SC_VAR;
  if (s->type.code == 0) imptypit(s, col);
}

// Reads the labels of "(l1, l2, ...)" after its "(" and records each as a
// branch. False after a message.
bool branch_label_list() {
  for (;;) {
    getokn();
    if (tk.toktyp != TT_DIGITS) {
      rd_errmsg(26);
      return false;
    }
    lhand(labfind(), 1);
    getokn();
    if (is_other(',')) continue;
    if (is_other(')')) return true;
    rd_errmsg(7);
    return false;
  }
}

// Reads a name and returns its symbol, created when new, with the name's
// position in col; null after message 24 (the statement is consumed).
locsym* next_name_symbol(int32_t& col) {
  getokn();
  col = tk.tokbeg;
  locsym* s = tk.toktyp == TT_NAME ? token_symbol() : nullptr;
  if (s == nullptr) {
    if (tk.toktyp != TT_NAME) rd_errmsg(24);
    skip_statement();
  }
  return s;
}

// The token just read must be the end of the statement: 20 otherwise.
void token_ends_statement() {
  if (tk.tok1 == 10 || tk.tokbeg >= rsrc.statend) return;
  rd_errmsg(20);
  skip_statement();
}

}  // namespace

// GO TO label | GO TO (l1, l2, ...) [,] index | GO TO name [[,] (l1, ...)]
int32_t shgoto(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  getokn();
  if (tk.toktyp == TT_DIGITS) {
    LabelRec* lab = labfind();
    lhand(lab, 1);
    if (tvx_pass() && lab != nullptr) {
      int32_t line, col, eline, ecol;
      tvx_stmt_start(line, col);
      tvx_stmt_end(eline, ecol);
      CTVX_GenGoto(CTVX_GetCurrentFileId(), line, col, eline, ecol, lab->value);
    }
    chk_endofline(1);
    return 0;
  }
  if (is_other('(')) {
    // Computed GO TO: the labels, an optional ",", the index.
    if (ropt.Language == 2) rd_errmsg(703);
    if (!branch_label_list()) return skip_statement(), 0;
    if (tk.stacol < rsrc.statend && pstat[tk.stacol] == ',') getokn();
    if (!read_ctl_expr(false)) return skip_statement(), 0;
    chk_endofline(1);
    return 0;
  }
  if (tk.toktyp == TT_NAME) {
    // Assigned GO TO.
    int32_t col = tk.tokbeg;
    locsym* s = token_symbol();
    if (s == nullptr) return skip_statement(), 0;
    make_variable(s, col);
    flaguse(s, QB_LABUSE, col);
    if (ropt.Language == 2) rd_errmsg(605);
    if (!is_integer(s)) {
      tk.errcol = col;
      rd_errmsg(84);
    }
    getokn();
    if (is_other(',')) getokn();
    if (is_other('(')) {
      if (!branch_label_list()) return skip_statement(), 0;
      chk_endofline(1);
      return 0;
    }
    token_ends_statement();
    return 0;
  }
  rd_errmsg(6);
  skip_statement();
  return 0;
}

// ASSIGN label TO name
int32_t shasn(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (ropt.Language == 2) rd_errmsg(605);
  getokn();
  if (tk.toktyp != TT_DIGITS) {
    rd_errmsg(26);
    return skip_statement(), 0;
  }
  lhand(labfind(), 4);
  if (tk.stacol + 2 > rsrc.statend || std::memcmp(pstat + tk.stacol, "TO", 2) != 0) {
    tk.errcol = tk.stacol;
    rd_errmsg(64);
    return skip_statement(), 0;
  }
  tk.stacol += 2;
  int32_t col;
  locsym* s = next_name_symbol(col);
  if (s == nullptr) return 0;
  make_variable(s, col);
  if (!is_integer(s)) rd_errmsg(187);
  flaguse(s, QB_LABASSIGN, col);
  chk_endofline(1);
  return 0;
}

// Whether a variable may be named by CALL; 22 when it is plainly data.
// notice tells whether the call is a portability notice.
static bool callable_variable(const locsym* s, bool& notice) {
  if (s->arrspec != nullptr || (s->usage & (QB_SET | QB_REF)) ||
      (s->props & (CP_COMBLK | CP_EQVGRP | CP_PTRBASED | CP_POINTER))) {
    return false;
  }
  notice = true;
  const locsym* own = s->owner;
  if (own == nullptr) return true;
  if (Status.scope_level > 1 && own->sclass == SC_MODULE && s->usage == QB_DECL &&
      (s->attrib == 0x1000 || s->attrib == 0x800)) {
    notice = false;
  }
  if (own->sclass == SC_PROG && s->attrib == 0x8000) notice = false;
  return true;
}

// CALL name [( [actual arguments] )]
int32_t shcall(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  int32_t col;
  locsym* s = next_name_symbol(col);
  if (s == nullptr) return 0;
  if (tvx_pass()) {
    // The database counts columns from 1.
    int32_t line = 0;
    int32_t ncol = getcol(col, &line) + 1;
    int32_t srcline = line >= 0 && line < MAX_STMT_LINES ? stmtlines.lineno[line] : rsrc.statsrclno;
    CTVX_GenRCALL(s, CTVX_GetCurrentFileId(), srcline, ncol);
  }
  bool accepted = true;
  bool notice = false;
  switch (s->sclass) {
    case SC_UNK:
    case SC_EXT:
    case SC_SUB:
    case SC_INTERFACE:
      break;
    case SC_FUNC:
      accepted = (s->usage & QB_SET) == 0;
      notice = accepted;
      break;
    case SC_VAR:
      accepted = callable_variable(s, notice);
      break;
    default:
      accepted = false;
      break;
  }
  if (!accepted) {
    tk.errcol = col;
    rd_errmsg(22);
    xrefit(s, 64, col);
    return skip_statement(), 0;
  }
  if (is_intrinsic_reference(s)) {
    // CALL of an intrinsic: its arguments are read by the intrinsic's rules.
    make_intrinsic(s);
    s->sclass = SC_SUB;
    xrefit(s, QB_CALLED, col);
    if (arglist_intrinsic(s, 0, 1) == 0) return skip_statement(), 0;
    chk_endofline(1);
    return 0;
  }
  if (notice) issue(s->sclass == SC_FUNC ? 9023 : 9022);
  s->sclass = SC_SUB;
  xrefit(s, QB_CALLED, col);
  locsym* replacement = nullptr;
  if (arglist(s, 0, &replacement) == 0) return 0;
  chk_endofline(1);
  return 0;
}

// STOP [code] | PAUSE [code]
int32_t shstop(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  // The clause of a logical IF is recorded by the IF, whose one-line entry
  // is open on the construct stack while its clause is read.
  bool in_logical_if_clause = nest.nestdep > 0 && nest.e[nest.nestdep].code == 6;
  if (tvx_pass() && prgnam != nullptr && !in_logical_if_clause) {
    int32_t line, col;
    tvx_stmt_start(line, col);
    CTVX_GenRSTOP(CTVX_GetCurrentFileId(), line, col);
  }
  if (c.code == ST_PAUSE && ropt.Language == 2) rd_errmsg(605);
  getokn();
  if (tk.tok1 == 10 || tk.tokbeg >= rsrc.statend) return 0;
  if (tk.toktyp == TT_CHAR) {
    chk_endofline(1);
    return 0;
  }
  if (tk.toktyp == TT_DIGITS) {
    // A code above 99999 is a portability note.
    int32_t value = 0;
    for (int32_t p = tk.tokbeg; p < tk.stacol && value <= 99999; ++p) {
      value = value * 10 + (pstat[p] - '0');
    }
    if (value > 99999) issue(STOP_CODE_NOTE);
    if (tk.stacol < rsrc.statend) {
      // An expression that begins with digits is no stop code.
      rd_errmsg(565);
      skip_statement();
    }
    return 0;
  }
  if (tk.toktyp == TT_NAME) {
    // A name as stop code: a character constant is allowed, a character
    // variable is not constant, and an integer must be digits.
    int32_t col = tk.tokbeg;
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 0, 0);
    bool character = s != nullptr && s->type.code != 0 && is_same_dtclass(s->type.code, DT_CHAR);
    if (character) {
      if (s->sclass != SC_PAR) rd_errmsg(180);
      xrefit(s, QB_REF, col);
    } else {
      rd_errmsg(565);
    }
    skip_statement();
    return 0;
  }
  rd_errmsg(565);
  skip_statement();
  return 0;
}
