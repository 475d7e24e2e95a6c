// Control expressions of executable statements: one expression is read
// with the expression evaluator and described by its type class and, for
// a constant, its value, which the statement handlers check.
#include "checker/reader/ctlexpr.h"

#include "checker/common/dtype.h"
#include "checker/common/qualcodes.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

CtlExpr ctl;

namespace {

bool name_char(int32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

}  // namespace

bool implicit_function_in(int32_t from, int32_t to) {
  for (int32_t p = from; p < to;) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {
      p += CONST_OVERHEAD + ((pstat[p + 1] << 8) | pstat[p + 2]);
      continue;
    }
    if (!(c >= 'A' && c <= 'Z') || (p > from && name_char(pstat[p - 1]))) {
      ++p;
      continue;
    }
    int32_t e = p;
    while (e < to && name_char(pstat[e])) ++e;
    if (e < to && pstat[e] == '(') {
      const locsym* s = getsym(reinterpret_cast<const char*>(pstat + p), e - p, 0, 0);
      bool array_or_string = s != nullptr && (s->arrspec != nullptr || getdtname(s->type.code) == TC_CHARACTER);
      bool typed = s != nullptr && s->type.code != 0 && (s->props & CP_TYPIMP) == 0;
      if (!array_or_string && !typed) return true;
    }
    p = e;
  }
  return false;
}

bool read_ctl_expr(bool arrays) {
  ctl = CtlExpr{};
  ctl.col = tk.stacol;
  uint32_t accepted = EK_VALUE | EK_CONSTVAL;
  if (arrays) accepted |= EK_ARRAY | EK_SECTION | EK_ARRAYEXP | EK_ARRFUNC | EK_ARRCOMP;
  if (getmeta(accepted) == 0) return false;
  ctl.tclass = got_typ.code != 0 ? getdtname(got_typ.code) : 0;
  if (implicit_function_in(ctl.col, tk.stacol)) ctl.tclass = 0;
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
