// EQUIVALENCE (object, object [, ...]) [, (...)]...: each object is read
// with its subscripts and substring, whose values must be integer
// constants, and in the local pass written to the EQUIVALENCE work file,
// one record per object; the end-of-unit analysis lays out the groups.
#include "checker/reader/equivstmt.h"

#include "checker/common/qualcodes.h"
#include "checker/base/passes.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/workfiles.h"

// Reads one integer constant expression: 1 with its value, 0 after
// message 170 (the expression is still read), -1 when it cannot be read.
static int32_t eqv_value(int32_t* value) {
  int32_t col = tk.stacol;
  if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return -1;
  if (!got_con || !got_ok || getdtstore(got_typ.code) != 1) {
    msg_at(170, col);
    return 0;
  }
  *value = got_val.i;
  return 1;
}

// Moves to the "," or ")" that ends the current item at the outer level.
static void eqv_skip_item() {
  int32_t depth = 0;
  while (tk.stacol < rsrc.statend && pstat[tk.stacol] != 10) {
    int32_t c = pstat[tk.stacol];
    if (depth == 0 && (c == ',' || c == ')')) return;
    if (c == 'a' || c == 'q' || c == 'h') {  // a constant field
      int32_t len = (pstat[tk.stacol + 1] << 8) | pstat[tk.stacol + 2];
      tk.stacol += 3 + len;
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')') --depth;
    ++tk.stacol;
  }
}

// Reads a "(" list of subscripts and/or a substring range after the name.
// 1 when read, 0 after a syntax message; *bad is set after message 170.
static int32_t eqv_parens(EqvItem& it, bool* bad) {
  for (int pass = 0; pass < 2 && pstat[tk.stacol] == '('; ++pass) {
    int32_t open = tk.stacol;
    ++tk.stacol;
    bool substring = itacolon() != 0;
    if (pass == 1 && !substring) {
      msg_at(87, open);
      return 0;
    }
    if (substring) {
      int32_t v = 1;
      if (pstat[tk.stacol] != ':') {
        int32_t col = tk.stacol;
        int32_t r = eqv_value(&v);
        if (r < 0) return 0;
        if (r == 0) *bad = true;
        if (r == 1 && v < 1) {
          msg_at(169, col);
          v = 1;
        }
      }
      it.substart = v;
      if (pstat[tk.stacol] != ':') {
        msg_at(87, tk.stacol);
        return 0;
      }
      ++tk.stacol;
      it.subend = 0;
      if (pstat[tk.stacol] != ')') {
        int32_t r = eqv_value(&v);
        if (r < 0) return 0;
        if (r == 0) *bad = true;
        if (r == 1) it.subend = v;
      }
      if (pstat[tk.stacol] != ')') {
        msg_at(7, tk.stacol);
        return 0;
      }
      ++tk.stacol;
      return 1;
    }
    for (;;) {
      int32_t v = 0;
      int32_t r = eqv_value(&v);
      if (r < 0) return 0;
      if (r == 0) *bad = true;
      if (it.nsub >= 7) {
        msg_at(23, tk.stacol);
        return 0;
      }
      it.subs[it.nsub++] = v;
      int32_t c = pstat[tk.stacol];
      ++tk.stacol;
      if (c == ')') break;
      if (c != ',') {
        msg_at(123, tk.stacol - 1);
        return 0;
      }
    }
  }
  return 1;
}

int32_t geteqv(EqvItem& it) {
  it = EqvItem{};
  getokn();
  if (tk.toktyp != TT_NAME) {
    msg_at(24, tk.tokbeg);
    return 0;
  }
  int32_t namecol = tk.tokbeg;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
  if (s == nullptr) {
    msg_at(24, namecol);
    return 0;
  }
  if (s->sclass == SC_UNK) s->sclass = s->type.code == 26 ? SC_REC90 : SC_VAR;
  int32_t refused = 0;
  if (s->sclass != SC_VAR && !(ropt.Language == 2 && (s->sclass == SC_REC90 || s->sclass == SC_REC)))
    refused = 229;
  else if (s->attrib & 0x8000000u)
    refused = 614;
  else if (s->usage & QB_DUM)
    refused = 239;
  else if (s->props & CP_PTRBASED)
    refused = 240;
  else if (s->squal == SQ_FUNCVAR)
    refused = 241;
  else if (s->attrib & 0x2u)
    refused = 724;
  else if (s->attrib & 0x8u)
    refused = 725;
  if (refused != 0) msg_at(refused, namecol);
  flaguse(s, QB_EQV, namecol);
  bool bad = false;
  if (!eqv_parens(it, &bad)) return 0;
  it.sym = s;
  return (refused != 0 || bad) ? 2 : 1;
}

// Writes the record of one object to the work file (local pass only).
static void eqv_record(const EqvItem& it, int32_t ok, int32_t more) {
  if (an.lpass != 1) return;
  workfile_next_record(wf.equiv, &wf.equivcnt);
  int32_t w[2 + 7 + 4];
  int32_t n = 0;
  w[n++] = ok == 1 ? static_cast<int32_t>(wsym_ref(it.sym)) : 0;
  w[n++] = ok == 1 ? it.nsub : 0;
  for (int32_t i = 0; ok == 1 && i < it.nsub; ++i) w[n++] = it.subs[i];
  w[n++] = ok == 1 ? it.substart : 0;
  w[n++] = ok == 1 ? it.subend : 0;
  w[n++] = more;
  w[n++] = rsrc.codlno;
  workfile_words(wf.equiv, w, n);
}

// EQUIVALENCE (object, object [, ...]) [, (...)]...
int32_t shequiv(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  for (;;) {
    getokn();
    if (tk.tok1 != '(') {
      msg_at(17, tk.tokbeg);
      skip_statement();
      return 0;
    }
    for (;;) {
      EqvItem it;
      int32_t r = geteqv(it);
      if (r == 0) eqv_skip_item();
      int32_t next = pstat[tk.stacol];
      eqv_record(it, r, next == ',' ? 1 : 0);
      getokn();
      if (tk.tok1 == ',') continue;
      if (tk.tok1 == ')') break;
      msg_at(7, tk.tokbeg);
      skip_statement();
      return 0;
    }
    if (tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at(20, tk.tokbeg);
      skip_statement();
      return 0;
    }
  }
}
