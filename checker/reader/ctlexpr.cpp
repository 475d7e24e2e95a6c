// Control expressions of executable statements: one expression is read
// with the expression evaluator and described by its type class and, for
// a constant, its value, which the statement handlers check.
#include "checker/reader/ctlexpr.h"

#include "checker/common/dtype.h"
#include "checker/reader/expr.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/tokens.h"

CtlExpr ctl;

bool read_ctl_expr(bool arrays) {
  ctl = CtlExpr{};
  ctl.col = tk.stacol;
  uint32_t accepted = EK_VALUE | EK_CONSTVAL;
  if (arrays) accepted |= EK_ARRAY | EK_SECTION | EK_ARRAYEXP | EK_ARRFUNC | EK_ARRCOMP;
  if (getmeta(accepted) == 0) return false;
  ctl.tclass = got_typ.code != 0 ? getdtname(got_typ.code) : 0;
  ctl.constant = got_con && got_ok;
  if (ctl.constant && ctl.tclass == TC_INTEGER) ctl.ivalue = got_val.i;
  if (ctl.constant && (ctl.tclass == TC_REAL || ctl.tclass == TC_DOUBLE)) ctl.rvalue = got_val.d;
  return true;
}

bool read_paren_ctl_expr(bool arrays) {
  if (get_left_parenthesis(1) != 0) {
    skip_statement();
    return false;
  }
  TokenState open = tk;
  bool read = read_ctl_expr(arrays);
  if (read) getokn();
  if (!read || !(tk.toktyp == TT_OTHER && tk.tok1 == ')')) {
    // Not read as one expression: the text up to the ")" is passed over.
    if (!read) {
      tk = open;
      tk.stacol = open.tokbeg + 1;
      ctl = CtlExpr{};
    }
    skiptopar();
    if (!(tk.toktyp == TT_OTHER && tk.tok1 == ')')) {
      rd_errmsg(7);
      skip_statement();
      return false;
    }
    if (read) ctl = CtlExpr{};
  }
  return true;
}
