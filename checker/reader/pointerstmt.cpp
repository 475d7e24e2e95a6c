// POINTER statements: the Fortran 90 attribute statement, and the integer
// pointer statement of some dialects, "(" pointer "," pointee ")" or
// "/" pointer "/" pointee list, which which_POINTER tells apart.
#include "checker/reader/pointerstmt.h"

#include "checker/common/qualcodes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"

static bool ptr_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// POINTER [::] name[(deferred shape)] [, ...]
int32_t shpointer(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (pstat[tk.stacol] == ':' && pstat[tk.stacol + 1] == ':') tk.stacol += 2;
  for (;;) {
    locsym* s = nullptr;
    int32_t r = getdec(&s, GD_DEFERRED);
    if (r == -2) return skip_statement(), 0;
    if (r == 0 && s != nullptr) {
      if (s->attrib & 0x60u) msg_at(624, tk.errcol);
      s->attrib |= ATTR_POINTER;
    }
    if (ptr_end()) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at(6, tk.tokbeg);
      return skip_statement(), 0;
    }
  }
}

// Reads and checks the pointer name; the pointer, or null after a message
// (the pointees are then only tested). *fatal is set when the statement
// must end.
static locsym* ptr_name(bool* fatal) {
  getokn();
  int32_t col = tk.tokbeg;
  locsym* s = nullptr;
  if (tk.toktyp == TT_NAME) {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
  }
  if (s == nullptr) {
    msg_at(24, col);
    *fatal = true;
    return nullptr;
  }
  if (s->sclass == SC_UNK) {
    if (s->type.code == 26) {
      s->sclass = SC_REC90;
      msg_at(22, col);
      return nullptr;
    }
    s->sclass = SC_VAR;
  }
  int32_t ptype = (ropt.compiler & 128u) ? DT_I8 : DT_I4;
  int32_t msg = 0;
  if (s->sclass != SC_VAR)
    msg = 22;
  else if (s->arrspec != nullptr)
    msg = 234;
  else if (s->props & CP_PTRBASED)
    msg = 235;
  else if (s->type.code != 0 && !(s->props & CP_TYPIMP) && s->type.code != ptype)
    msg = 233;
  if (msg == 22 || msg == 234 || msg == 235) {
    msg_at(msg, col);
    return nullptr;
  }
  if (msg == 233) msg_at(233, col);
  s->type = dtdesc{};
  s->type.code = static_cast<uint8_t>(ptype);
  s->type.tag = 'p';
  s->props = static_cast<uint8_t>((s->props & ~CP_TYPIMP) | CP_POINTER);
  flaguse(s, QB_DECL, col);
  return s;
}

// Reads one pointee of ptr (null: only tested); false when the statement
// must end.
static bool ptr_pointee(locsym* ptr) {
  locsym* s = nullptr;
  int32_t r = getdec(&s, 0);
  if (r == -2) return false;
  if (r != 0 || s == nullptr) return true;
  int32_t col = tk.errcol;
  int32_t msg = 0;
  if (s->sclass != SC_VAR && s->sclass != SC_REC)
    msg = 266;
  else if (s->props & CP_COMBLK)
    msg = 263;
  else if (s->props & CP_POINTER)
    msg = 235;
  else if (s->props & CP_PTRBASED)
    msg = 236;
  else if (s->usage & QB_DUM)
    msg = 264;
  if (msg != 0) {
    msg_at(msg, col);
    return true;
  }
  if (s->type.code == DT_CHAR) issue(9102);
  if (ptr != nullptr) {
    s->props |= CP_PTRBASED;
    s->link = ptr;
    flaguse(s, QB_DECL, col);
  }
  return true;
}

// POINTER (p, b) [, (p, b)]... | POINTER /p/ b [, b]... [[,] /p/ ...]
int32_t shptr(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  for (;;) {
    bool fatal = false;
    if (pstat[tk.stacol] == '(') {
      ++tk.stacol;
      locsym* p = ptr_name(&fatal);
      if (fatal) return skip_statement(), 0;
      getokn();
      if (tk.tok1 != ',') {
        msg_at(36, tk.tokbeg);
        return skip_statement(), 0;
      }
      if (!ptr_pointee(p)) return skip_statement(), 0;
      getokn();
      if (tk.tok1 != ')') {
        msg_at(7, tk.tokbeg);
        return skip_statement(), 0;
      }
    } else if (pstat[tk.stacol] == '/') {
      ++tk.stacol;
      locsym* p = ptr_name(&fatal);
      if (fatal) return skip_statement(), 0;
      getokn();
      if (tk.tok1 != '/') {
        msg_at(5, tk.tokbeg);
        return skip_statement(), 0;
      }
      for (;;) {
        if (!ptr_pointee(p)) return skip_statement(), 0;
        if (pstat[tk.stacol] != ',' || pstat[tk.stacol + 1] == '/') break;
        ++tk.stacol;
      }
    } else {
      msg_at(17, tk.stacol);
      return skip_statement(), 0;
    }
    if (ptr_end()) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at(6, tk.tokbeg);
      return skip_statement(), 0;
    }
  }
}

int32_t which_POINTER(const StmtCall& c) {
  int32_t ch = pstat[tk.stacol];
  if (ch == '(' || ch == '/') return shptr(c);
  return shpointer(c);
}
