// PUBLIC and PRIVATE statements of a module: the module's default access,
// the private components of a derived-type definition, or the access of
// the names, operators and assignments listed.
#include "checker/reader/specstmt.h"

#include "checker/common/qualcodes.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

static bool access_at_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

void update_access(locsym* sym, uint32_t bit) {
  if (sym == nullptr || sym->sclass == SC_COM) return;
  sym->attrib = (sym->attrib & ~(ATTR_PUBLIC | ATTR_PRIVATE)) | bit;
}

// True when the text from stacol is word followed by "(".
static bool word_paren(const char* word) {
  int32_t p = tk.stacol;
  for (; *word != 0; ++word, ++p)
    if (pstat[p] != *word) return false;
  return pstat[p] == '(';
}

// PUBLIC | PRIVATE [[::] name | OPERATOR(op) | ASSIGNMENT(=) [, ...]]
int32_t shaccess(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  bool is_private = c.code == ST_PRIVATE;
  uint32_t bit = is_private ? ATTR_PRIVATE : ATTR_PUBLIC;
  if (dts.structdepth > 0) {
    StructLevel& lv = dts.structs[dts.structdepth];
    if (!is_private) {
      msg_at(lv.private_seen ? 729 : 619, rsrc.statbeg);
    } else if (lv.private_seen) {
      msg_at(729, rsrc.statbeg);
    } else {
      lv.private_seen = 1;
    }
    if (!access_at_end()) {
      getokn();
      msg_at(20, tk.tokbeg);
    }
    skip_statement();
    return 0;
  }
  if (unit.prgtyp != 12) {
    msg_at(617, rsrc.statbeg);
    skip_statement();
    return 0;
  }
  if (access_at_end()) {
    if (spec.defaccess != 0) {
      msg_at(618, rsrc.statbeg);
    } else {
      spec.defaccess = is_private ? 2 : 1;
    }
    return 0;
  }
  if (pstat[tk.stacol] == ':' && pstat[tk.stacol + 1] == ':') tk.stacol += 2;
  for (;;) {
    if (word_paren("OPERATOR") || word_paren("ASSIGNMENT")) {
      getokn();
      getokn();  // "("
      int32_t open = tk.tokbeg;
      while (!access_at_end() && pstat[tk.stacol] != ')') ++tk.stacol;
      if (pstat[tk.stacol] != ')') {
        msg_at(7, open);
        skip_statement();
        return 0;
      }
      ++tk.stacol;
    } else {
      getokn();
      if (tk.toktyp != TT_NAME) {
        msg_at(24, tk.tokbeg);
        skip_statement();
        return 0;
      }
      int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
      locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
      if (s == nullptr) {
        msg_at(24, tk.tokbeg);
        skip_statement();
        return 0;
      }
      update_access(s, bit);
      flaguse(s, QB_DECL, tk.tokbeg);
    }
    if (access_at_end()) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at(6, tk.tokbeg);
      skip_statement();
      return 0;
    }
  }
}
