// DATA object-list /value-list/ [[,] object-list /value-list/]...: the
// objects (with implied-DO lists) and values are checked here, and in the
// local pass each group that had no error is written to the DATA work file
// as its object entries and value entries, for the end-of-unit analysis.
#include "checker/reader/datastmt.h"

#include "checker/common/qualcodes.h"
#include "checker/base/passes.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/workfiles.h"

DataState ds;

static bool data_at_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// Reads one subscript or substring bound; false when it cannot be read.
static bool data_expr() { return getmeta(EK_VALUE) != 0; }

// What the parentheses after a DATA object held.
struct DataParens {
  bool ok;         // read without a syntax message
  int32_t nsub;    // subscripts given
  bool substring;  // a substring range ends the object
  bool section;    // a subscript is a triplet: an array section
};

// Reads one subscript of an array, a triplet [e] ":" [e] [":" e] too;
// false when it cannot be read. A triplet sets *triplet.
static bool data_subscript(bool* triplet) {
  auto bound = [] { return pstat[tk.stacol] == ',' || pstat[tk.stacol] == ')' || pstat[tk.stacol] == ':'; };
  if (pstat[tk.stacol] != ':' && !data_expr()) return false;
  if (pstat[tk.stacol] != ':') return true;
  *triplet = true;
  ++tk.stacol;
  if (!bound() && !data_expr()) return false;
  if (pstat[tk.stacol] != ':') return true;
  ++tk.stacol;
  return data_expr();
}

// Reads "(" subscripts ")" and a substring "(" [e] ":" [e] ")" after an
// object. The first parentheses after an array are its subscripts, which
// may be triplets (a section); after any other name a range in them is a
// substring.
static DataParens data_parens(bool array) {
  DataParens r{false, 0, false, false};
  bool subscripts = false;
  while (pstat[tk.stacol] == '(') {
    int32_t open = tk.stacol;
    ++tk.stacol;
    bool range = itacolon() != 0;
    if (r.substring) {
      msg_at(87, open);
      return r;
    }
    if (array && !subscripts) {
      for (;;) {
        if (!data_subscript(&r.section)) return r;
        if (++r.nsub > 7) {
          msg_at(23, tk.stacol);
          return r;
        }
        if (pstat[tk.stacol] != ',') break;
        ++tk.stacol;
      }
    } else if (range) {
      if (pstat[tk.stacol] != ':' && !data_expr()) return r;
      if (pstat[tk.stacol] != ':') {
        msg_at(87, tk.stacol);
        return r;
      }
      ++tk.stacol;
      if (pstat[tk.stacol] != ')' && !data_expr()) return r;
      r.substring = true;
    } else {
      if (subscripts) {
        msg_at(87, open);
        return r;
      }
      for (;;) {
        if (!data_expr()) return r;
        if (++r.nsub > 7) {
          msg_at(23, tk.stacol);
          return r;
        }
        if (pstat[tk.stacol] != ',') break;
        ++tk.stacol;
      }
    }
    subscripts = true;
    if (pstat[tk.stacol] != ')') {
      msg_at(7, tk.stacol);
      return r;
    }
    ++tk.stacol;
  }
  r.ok = true;
  return r;
}

int32_t dataitem() {
  getokn();
  int32_t col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    msg_at(3, col);
    return 0;
  }
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
  if (s == nullptr) {
    msg_at(24, col);
    return 0;
  }
  if (s->sclass == SC_UNK) s->sclass = s->type.code == 26 ? SC_REC90 : SC_VAR;
  int32_t refused = 0;
  if (s->sclass != SC_VAR && s->sclass != SC_REC90)
    refused = 13;
  else if (s->squal == SQ_FUNCVAR)
    refused = 51;
  else if (s->attrib & 0xAu)
    refused = 734;
  else if ((s->owner != nullptr && prgnam != nullptr && s->owner != prgnam) ||
           s->homemod != nullptr || (s->attrib & 0x8000u))
    refused = 735;
  else if (s->usage & QB_DUM)
    refused = 197;
  if (refused != 0) {
    msg_at(refused, col);
    ds.data_vlok = 0;
  }
  if (pstat[tk.stacol] == '%') {
    // A structure component: read but never recorded.
    ds.data_vlok = 0;
    int32_t depth = 0;
    while (!data_at_end()) {
      int32_t c = pstat[tk.stacol];
      if (depth == 0 && (c == ',' || c == '/')) break;
      if (c == '(') ++depth;
      if (c == ')') {
        if (depth == 0) break;
        --depth;
      }
      ++tk.stacol;
    }
    flaguse(s, QB_INIT, col);
    return 1;
  }
  bool whole = pstat[tk.stacol] != '(';
  DataParens par = data_parens(s->arrspec != nullptr);
  if (!par.ok) return 0;
  // The elements of a section are not counted: the group is not recorded.
  if (par.section) ds.data_vlok = 0;
  if (refused == 0 && whole && s->arrspec == nullptr && !(s->props & CP_PTRBASED)) {
    if (s->sclass == SC_VAR && (s->usage & QB_INIT)) {
      flaguse(s, 64, col);
      msg_at(827, col);
      ds.data_vlok = 0;
    } else if (s->sclass != SC_VAR) {
      if (s->extra & 2u) {
        flaguse(s, 64, col);
        msg_at(828, col);
        ds.data_vlok = 0;
      }
      s->extra |= 2u;
    }
  }
  flaguse(s, QB_INIT, col);
  if (ds.data_vlok) {
    ds.varlist[ds.data_vptr][0] = data_objword(par.nsub, par.substring);
    ds.varlist[ds.data_vptr][1] = static_cast<int32_t>(wsym_ref(s));
    if (++ds.data_vptr >= DATA_MAXOBJ) ds.data_vlok = 0;
  }
  return 1;
}

// True when the text at stacol is a name followed by a single "=".
static bool at_do_control() {
  int32_t p = tk.stacol;
  if (!(pstat[p] >= 'A' && pstat[p] <= 'Z')) return false;
  while ((pstat[p] >= 'A' && pstat[p] <= 'Z') || (pstat[p] >= '0' && pstat[p] <= '9') ||
         pstat[p] == '_' || pstat[p] == '$')
    ++p;
  return pstat[p] == '=' && pstat[p + 1] != '=';
}

// An implied-DO list stands for its objects once per iteration: the
// entries from first on are repeated for each further iteration, so that
// each entry stands for the elements one object names. A trip count that
// is not constant (bounds that depend on an outer implied-DO variable)
// leaves the group unrecorded, as do more entries than a group holds.
static void data_iterate(int32_t first, const int32_t ctl[3], const bool known[3]) {
  if (!ds.data_vlok) return;
  if (!known[0] || !known[1] || !known[2] || ctl[2] == 0) {
    ds.data_vlok = 0;
    return;
  }
  int64_t trips = (static_cast<int64_t>(ctl[1]) - ctl[0] + ctl[2]) / ctl[2];
  if (trips < 0) trips = 0;
  int64_t per = ds.data_vptr - first;
  if (first + per * trips >= DATA_MAXOBJ) {
    ds.data_vlok = 0;
    return;
  }
  for (int64_t t = 1; t < trips; ++t) {
    for (int64_t e = 0; e < per; ++e) {
      ds.varlist[ds.data_vptr][0] = ds.varlist[first + e][0];
      ds.varlist[ds.data_vptr][1] = ds.varlist[first + e][1];
      ++ds.data_vptr;
    }
  }
  if (trips == 0) ds.data_vptr = first;
}

// Reads the objects of a DATA group up to the "/" (not read), with
// implied-DO lists; 0 after a message.
static int32_t data_objects(int32_t depth) {
  int32_t first = ds.data_vptr;
  for (;;) {
    if (depth > 0 && at_do_control()) {
      // The implied-DO control: var = e1, e2 [, e3] ")".
      getokn();
      int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
      locsym* v = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
      if (v != nullptr) {
        if (v->sclass == SC_UNK) v->sclass = SC_VAR;
        flaguse(v, QB_SET, tk.tokbeg);
      }
      ++tk.stacol;  // "="
      int32_t ctl[3] = {0, 0, 1};
      bool known[3] = {false, false, true};
      for (int32_t i = 0; i < 3; ++i) {
        if (!data_expr()) return 0;
        known[i] = got_con && got_ok && getdtstore(got_typ.code) == 1;
        ctl[i] = got_val.i;
        if (i == 2 || pstat[tk.stacol] != ',') break;
        ++tk.stacol;
      }
      if (pstat[tk.stacol] != ')') {
        msg_at(7, tk.stacol);
        return 0;
      }
      ++tk.stacol;
      data_iterate(first, ctl, known);
      return 1;
    }
    if (pstat[tk.stacol] == '(') {
      ++tk.stacol;
      if (!data_objects(depth + 1)) return 0;
    } else if (!dataitem()) {
      return 0;
    }
    if (pstat[tk.stacol] != ',') {
      if (depth > 0) {
        msg_at(7, tk.stacol);
        return 0;
      }
      return 1;
    }
    ++tk.stacol;
  }
}

// Reads one value, optionally after a repeat factor; 0 after a message.
static int32_t data_value() {
  int32_t repeat = 1;
  getokn();
  if (pstat[tk.stacol] == '*' && (tk.toktyp == TT_DIGITS || tk.toktyp == TT_NAME)) {
    int32_t col = tk.tokbeg;
    dtdesc t{};
    conval v{};
    uint32_t ok = 0;
    int32_t r = getcon(0x2F, &t, &v, &ok);
    int32_t n = 0;
    if (r == 0 || !ok || !intval(&t, &v, &n) || n <= 0) {
      msg_at(77, col);
      return 0;
    }
    repeat = n;
    ++tk.stacol;  // "*"
    getokn();
  }
  int32_t col = tk.tokbeg;
  // An optional sign before a numeric literal.
  int32_t sign = 0;
  if (tk.toktyp == TT_OTHER && (tk.tok1 == '+' || tk.tok1 == '-')) {
    sign = tk.tok1;
    getokn();
  }
  int32_t opts = 0x2F;
  if (ropt.Language == 2 && tk.toktyp == TT_NAME && tk.toksiz >= 2 &&
      pstat[tk.tokbeg + tk.toksiz - 1] == '_' &&
      (pstat[tk.stacol] == 'a' || pstat[tk.stacol] == 'q'))
    opts = 0x3F;
  dtdesc t{};
  conval v{};
  uint32_t ok = 0;
  if (getcon(opts, &t, &v, &ok) == 0) {
    msg_at(69, col);
    return 0;
  }
  if (sign != 0 && pstat[tk.stacol] == '*') {
    // A repeat count takes no sign.
    msg_at(69, col);
    return 0;
  }
  if (sign != 0) {
    int32_t tclass = getdtname(t.code);
    if (tclass != TC_INTEGER && tclass != TC_REAL && tclass != TC_DOUBLE) {
      msg_at(69, col);
      return 0;
    }
    if (sign == '-' && ok) {
      if (tclass == TC_INTEGER) {
        pintneg(&v.i, v.i);
      } else {
        v.d = -v.d;
      }
    }
  }
  if (ds.data_vlok) {
    ds.constlist[ds.data_cptr][0] = repeat;
    ds.constlist[ds.data_cptr][1] = t.code;
    if (++ds.data_cptr >= DATA_MAXVAL) ds.data_vlok = 0;
  }
  return 1;
}

// Writes the group to the work file (local pass, no error in the group).
static void data_record() {
  // A group of no entries is not written, nor counted: the reader reads
  // back as many records as are counted.
  if (an.lpass != 1 || !ds.data_vlok || ds.data_vptr + ds.data_cptr == 0) return;
  workfile_next_record(wf.data, &wf.datacnt);
  int32_t head[2] = {ds.data_vptr, ds.data_cptr};
  workfile_words(wf.data, head, 2);
  workfile_words(wf.data, &ds.varlist[0][0], 2 * ds.data_vptr);
  workfile_words(wf.data, &ds.constlist[0][0], 2 * ds.data_cptr);
  int32_t line = rsrc.codlno;
  workfile_words(wf.data, &line, 1);
}

// DATA object-list /value-list/ [[,] object-list /value-list/]...
int32_t shdata(const StmtCall& c) {
  if (Status.interface != 0) {
    msg_at(692, rsrc.statbeg);
    skip_statement();
    return 0;
  }
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  for (;;) {
    ds.data_vlok = 1;
    ds.data_vptr = 0;
    ds.data_cptr = 0;
    if (!data_objects(0)) {
      skip_statement();
      return 0;
    }
    getokn();
    if (tk.tok1 != '/') {
      msg_at(99, tk.tokbeg);
      skip_statement();
      return 0;
    }
    for (;;) {
      if (!data_value()) {
        skip_statement();
        return 0;
      }
      getokn();
      if (tk.tok1 == '/') break;
      if (tk.tok1 != ',') {
        msg_at(5, tk.tokbeg);
        skip_statement();
        return 0;
      }
    }
    data_record();
    if (data_at_end()) return 0;
    if (pstat[tk.stacol] == ',') ++tk.stacol;
  }
}
