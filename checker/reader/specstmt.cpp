// Specification statements other than type declarations: IMPLICIT, SAVE
// and NAMELIST. Each handler checks the statement order, reads its list and
// enters every name into the local symbol table of the unit.
#include "checker/reader/specstmt.h"

#include <string>

#include "checker/reader/attrcheck.h"
#include "checker/reader/dispatch.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"

// True at the end of the statement.
static bool spec_at_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// The current token as a name of at most MAX_NAME characters.
static int32_t tokname_len() { return tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz; }
static const char* tokname() { return reinterpret_cast<const char*>(pstat + tk.tokbeg); }

// Raises message n at the current token.
static void msg_at_token(int32_t n) {
  tk.errcol = tk.tokbeg;
  rd_errmsg(n);
}

// Gives row r of the IMPLICIT table the type d, in the level's copy too.
static void implicit_row(int32_t r, const dtdesc& d) {
  imptbl[r] = d;
  if (Status.interface == 0 && Status.scope_level >= 1 && Status.scope_level <= MAX_SCOPES)
    Scope[Status.scope_level].imptbl[r] = d;
}

// Row of a letter of an IMPLICIT range: 0..25, or 26 outside A to Z.
static int32_t letter_row(int32_t c) { return (c >= 'A' && c <= 'Z') ? c - 'A' : 26; }

// Position of the ")" that closes the "(" at pos, or -1.
static int32_t closing_paren(int32_t pos) {
  int32_t depth = 0;
  for (int32_t p = pos; p < rsrc.statend && pstat[p] != 10; ++p) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {  // a constant field: skip its text
      int32_t len = (pstat[p + 1] << 8) | pstat[p + 2];
      p += 2 + len;
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return p;
  }
  return -1;
}

// Reads the selector of an IMPLICIT type: "*" length or a parenthesised
// selector standing before the letter list. Fills length and kind; 0
// after a message.
static int32_t implicit_selector(int32_t tclass, int32_t& length, int32_t& kind) {
  length = -4;  // the default length of the type
  kind = 0;
  if (pstat[tk.stacol] == '*') {
    ++tk.stacol;
    if (pstat[tk.stacol] == '(') {
      int32_t close = closing_paren(tk.stacol);
      if (close < 0) {
        tk.errcol = tk.stacol;
        rd_errmsg(7);
        return 0;
      }
      length = 0;  // assumed or expression length: not known here
      tk.stacol = close + 1;
      return 1;
    }
    getokn();
    if (tk.toktyp != TT_DIGITS) {
      msg_at_token(285);
      return 0;
    }
    int32_t v = 0;
    for (int32_t p = tk.tokbeg; p < tk.tokbeg + tk.toksiz; ++p) {
      if (v < 100000000) v = v * 10 + (pstat[p] - '0');
    }
    length = v;
    return 1;
  }
  if (pstat[tk.stacol] != '(') return 1;
  int32_t close = closing_paren(tk.stacol);
  if (close < 0 || pstat[close + 1] != '(') return 1;  // the letter list itself
  // The selector as in a type declaration, with its checks of KIND and
  // LEN values.
  if (!read_type_selector(tclass, length, kind)) return 0;
  if (kind < 0) kind = 0;
  return 1;
}

// Reads "(" letter ranges ")" and sets the rows to d (when set is true).
// 0 after a message.
static int32_t implicit_letters(const dtdesc& d, bool set) {
  getokn();
  if (tk.tok1 != '(') {
    msg_at_token(17);
    return 0;
  }
  for (;;) {
    getokn();
    if (tk.toktyp != TT_NAME || tk.toksiz != 1) {
      if (!(tk.toktyp == TT_OTHER && tk.tok1 != ')' && tk.tok1 != ',' && tk.tok1 != 10)) {
        msg_at_token(24);
        return 0;
      }
    }
    int32_t first = letter_row(tk.tok1);
    int32_t last = first;
    if (pstat[tk.stacol] == '-') {
      ++tk.stacol;
      getokn();
      if (tk.tok1 == 10 || tk.tok1 == ')' || tk.tok1 == ',' ||
          (tk.toktyp == TT_NAME && tk.toksiz != 1)) {
        msg_at_token(24);
        return 0;
      }
      last = letter_row(tk.tok1);
      if (first == 26 || last == 26) first = last = 26;
    }
    if (set && first <= last) {
      for (int32_t r = first; r <= last; ++r) implicit_row(r, d);
    }
    getokn();
    if (tk.tok1 == ')') return 1;
    if (tk.tok1 != ',') {
      msg_at_token(36);
      return 0;
    }
  }
}

// IMPLICIT NONE | IMPLICIT type [selector] (letter ranges) [, ...]
int32_t shimplic(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  if (c.code == ST_IMPLICITNONE) {
    if (spec.implic) {
      tk.errcol = rsrc.statbeg;
      rd_errmsg(60);
    }
    for (int32_t r = 0; r < 27; ++r) {
      dtdesc none{};
      none.tag = 'p';
      implicit_row(r, none);
    }
    spec.impnone = 1;
    implicit_none = 1;
    if (!spec_at_end()) {
      getokn();
      msg_at_token(20);
    }
    skip_statement();
    return 0;
  }
  if (spec.impnone) {
    tk.errcol = rsrc.statbeg;
    rd_errmsg(60);
  }
  spec.implic = 1;
  for (;;) {
    const KeyRow* key = getkey();
    int32_t tclass = key != nullptr ? key_dtclass(key) : 0;
    if (tclass == 0) {
      tk.errcol = tk.stacol;
      rd_errmsg(39);
      skip_statement();
      return 0;
    }
    dtdesc d{};
    d.tag = 'p';
    bool set = true;
    if (tclass == 9 || tclass == 10) {
      issue(9051);
      set = false;
    } else if (tclass == TC_STRUCT) {
      getokn();
      if (tk.tok1 != '(') {
        msg_at_token(17);
        skip_statement();
        return 0;
      }
      getokn();
      if (tk.toktyp != TT_NAME) {
        msg_at_token(24);
        skip_statement();
        return 0;
      }
      locsym* t = getsym(tokname(), tokname_len(), 2, SC_STRUCT90);
      if (t == nullptr || t->sclass != SC_STRUCT90) {
        msg_at_token(643);
        set = false;
      } else {
        d.code = 26;
        PSetQStructsym(&d, t);
      }
      getokn();
      if (tk.tok1 != ')') {
        msg_at_token(7);
        skip_statement();
        return 0;
      }
    } else {
      if (tclass == TC_NONE) issue(9053);
      int32_t length = -4, kind = 0;
      if (!implicit_selector(tclass, length, kind)) {
        skip_statement();
        return 0;
      }
      if (tclass == TC_NONE) {
        d.code = 0;
      } else {
        figtyp(&d, tclass, length, kind);
      }
    }
    if (!implicit_letters(d, set)) {
      skip_statement();
      return 0;
    }
    if (spec_at_end()) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at_token(20);
      skip_statement();
      return 0;
    }
  }
}

// SAVE [[::] item [, item]...]: item is a name or "/" common-block "/".
int32_t shsave(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  if (spec_at_end()) {
    if (spec.blanksave) {
      tk.errcol = rsrc.statbeg;
      rd_errmsg(294);
    }
    spec.blanksave = 1;
    return 0;
  }
  if (pstat[tk.stacol] == ':' && pstat[tk.stacol + 1] == ':') tk.stacol += 2;
  for (;;) {
    getokn();
    locsym* s = nullptr;
    int32_t pos = tk.tokbeg;
    if (tk.toktyp == TT_NAME) {
      s = getsym(tokname(), tokname_len(), 1 | 4, 0);
      if (s == nullptr) {
        msg_at_token(24);
        skip_statement();
        return 0;
      }
    } else if (tk.tok1 == '/') {
      getokn();
      if (tk.toktyp != TT_NAME) {
        msg_at_token(20);
        skip_statement();
        return 0;
      }
      pos = tk.tokbeg;
      s = getsym(tokname(), tokname_len(), 1 | 4, SC_COM);
      if (s == nullptr) {
        msg_at_token(24);
        skip_statement();
        return 0;
      }
      if (s->sclass != SC_UNK && s->sclass != SC_COM) {
        msg_at_token(22);
        s = nullptr;
      } else {
        s->sclass = SC_COM;
      }
      getokn();
      if (tk.tok1 != '/') {
        msg_at_token(5);
        skip_statement();
        return 0;
      }
    } else {
      msg_at_token(20);
      skip_statement();
      return 0;
    }
    int32_t refused = s != nullptr ? chk_att90_save(s, true) : 0;
    if (refused != 0) {
      tk.errcol = pos;
      rd_errmsg(refused);
    } else if (s != nullptr) {
      if (s->attrib & ATTR_SAVE) {
        tk.errcol = pos;
        rd_errmsg(245);
      } else {
        s->attrib |= ATTR_SAVE;
      }
      flaguse(s, QB_DECL, pos);
    }
    if (spec_at_end()) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at_token(6);
      skip_statement();
      return 0;
    }
  }
}

// NAMELIST /group/ object [, object]... [[,] /group/ object...]...
int32_t shname(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  getokn();
  for (;;) {
    if (tk.tok1 != '/') {
      msg_at_token(5);
      skip_statement();
      return 0;
    }
    getokn();
    locsym* g = tk.toktyp == TT_NAME ? getsym(tokname(), tokname_len(), 1 | 4, SC_NML) : nullptr;
    if (g == nullptr) {
      msg_at_token(24);
      skip_statement();
      return 0;
    }
    if (g->sclass != SC_UNK && g->sclass != SC_NML) {
      flaguse(g, 64, tk.tokbeg);
      msg_at_token(22);
      skip_statement();
      return 0;
    }
    g->sclass = SC_NML;
    flaguse(g, QB_DECL, tk.tokbeg);
    g->line = static_cast<uint32_t>(rsrc.codlno);
    getokn();
    if (tk.tok1 != '/') {
      msg_at_token(5);
      skip_statement();
      return 0;
    }
    // The tail of the group's member list.
    NmlMember** tail = reinterpret_cast<NmlMember**>(&g->list);
    while (*tail != nullptr) tail = &(*tail)->next;
    for (;;) {
      getokn();
      if (tk.tok1 == 10) return 0;
      if (tk.tok1 == '/') break;
      if (tk.tok1 == ',') {
        getokn();
        if (tk.tok1 == '/') break;
        if (tk.tok1 == 10) {
          msg_at_token(3);
          return 0;
        }
      }
      if (tk.toktyp != TT_NAME) {
        msg_at_token(24);
        skip_statement();
        return 0;
      }
      locsym* s = getsym(tokname(), tokname_len(), 1, 0);
      if (s == nullptr) {
        msg_at_token(24);
        skip_statement();
        return 0;
      }
      flaguse(s, QB_DECL, tk.tokbeg);
      NmlMember* m = local_new<NmlMember>();
      m->sym = s;
      m->next = nullptr;
      *tail = m;
      tail = &m->next;
    }
  }
}
