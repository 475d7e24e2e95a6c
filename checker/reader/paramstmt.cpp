// PARAMETER (name = constant-expression [, ...]) and the old form without
// parentheses: each name becomes a named constant whose value, converted to
// the name's type, is kept in its list head for the expressions that use it.
#include "checker/reader/specstmt.h"

#include "checker/common/qualcodes.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

static bool is_named_constant_class(int32_t c) {
  return c == SC_PAR || c == 16 || c == SC_PAR90REC;
}

// The message that refuses sym as a named constant, 0 when it may be one.
static int32_t param_refusal(const locsym* s) {
  bool f77 = ropt.Language == 1;
  if (f77 && ((s->sclass == SC_VAR && s->arrspec != nullptr) || s->sclass == SC_REC90)) return 22;
  if (s->arrspec == nullptr &&
      (s->squal == SQ_FUNCVAR || (s->props & (CP_POINTER | CP_PTRBASED | CP_COMBLK | CP_EQVGRP)) ||
       (s->usage & QB_DUM)))
    return 22;
  int32_t c = s->sclass;
  if (c != SC_UNK && c != SC_VAR && c != SC_REC90 && !is_named_constant_class(c)) return 22;
  if (f77 && is_named_constant_class(c)) return 65;
  return 0;
}

// PARAMETER (name = expr [, name = expr]...) | PARAMETER name = expr [, ...]
int32_t shparam(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  bool paren = pstat[tk.stacol] == '(';
  if (paren) {
    ++tk.stacol;
  } else {
    issue(9006);
  }
  for (;;) {
    getokn();
    int32_t col = tk.tokbeg;
    if (tk.toktyp != TT_NAME) {
      msg_at(24, col);
      skip_statement();
      return 0;
    }
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
    if (s == nullptr) {
      msg_at(24, col);
      skip_statement();
      return 0;
    }
    // The implicit type, taken without a message: a name that no type
    // statement gives a type is reported when the unit is checked.
    if (s->type.code == 0) {
      int32_t first = s->name[0];
      int32_t row = (first >= 'A' && first <= 'Z') ? first - 'A' : 26;
      s->type = imptbl[row];
      if (s->type.code != 0) s->props |= CP_TYPIMP;
    }
    if (s->sclass == SC_UNK) s->sclass = s->type.code == 26 ? SC_REC90 : SC_VAR;
    int32_t refused = param_refusal(s);
    if (refused != 0) msg_at(refused, col);
    if (refused == 0) {
      if (s->type.code == 26 || s->type.code == 15)
        s->sclass = SC_PAR90REC;
      else
        s->sclass = s->arrspec != nullptr ? 16 : SC_PAR;
      s->attrib |= 0x200;
      flaguse(s, QB_SET | QB_DECL, col);
    }
    getokn();
    if (tk.tok1 != '=') {
      msg_at(33, tk.tokbeg);
      skip_statement();
      return 0;
    }
    int32_t vcol = tk.stacol;
    if (getmeta(EK_VALUE | EK_CONSTVAL | EK_ARRAYEXP | EK_STRUCT) == 0) {
      skip_statement();
      return 0;
    }
    if (!got_con) {
      msg_at(180, vcol);
    } else if (refused == 0 && got_ok && got_arrsecdims == 0) {
      conval* v = local_new<conval>();
      *v = got_val;
      if (s->type.code == 0 || dtconvert(v, &got_typ, &s->type)) s->list = v;
    }
    if (refused == 0 && (ropt.Language == 1 || !paren) && s->sclass == 16) s->sclass = SC_PAR;
    getokn();
    if (tk.tok1 == ',') continue;
    if (paren) {
      if (tk.tok1 != ')') {
        msg_at(7, tk.tokbeg);
        skip_statement();
        return 0;
      }
      if (!(tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10)) {
        getokn();
        msg_at(20, tk.tokbeg);
        skip_statement();
      }
      return 0;
    }
    if (tk.tok1 != 10) {
      msg_at(6, tk.tokbeg);
      skip_statement();
    }
    return 0;
  }
}
