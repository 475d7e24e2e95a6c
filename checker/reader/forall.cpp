// The FORALL statement and construct and END FORALL: the header's triplet
// specifications and mask are read and checked; a construct keeps its
// last index name on the construct stack, a FORALL statement stays there
// until its assignment has been read.
#include <cstring>
#include <string>

#include "checker/base/errmsg.h"
#include "checker/reader/expr.h"
#include "checker/reader/hpfstmt.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

namespace {

// Construct codes of a FORALL construct and a FORALL statement.
constexpr int32_t FORALL_CONSTRUCT = 12;
constexpr int32_t FORALL_STATEMENT = 13;
// Block kind of FORALL on the construct stack.
constexpr int32_t FORALL_BLOCK = 9;

void msg(int32_t n, int32_t col, const char* inserts = "") {
  tk.errcol = col;
  errmsg(n, inserts);
}

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }
int32_t next_ch() { return tk.stacol < rsrc.statend ? pstat[tk.stacol] : 10; }

// Reads a scalar integer expression of the header; false when it fails.
bool int_value(uint32_t* con) {
  int32_t col = tk.stacol;
  if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return false;
  if (con != nullptr) {
    *con = got_con;
    return true;
  }
  tk.errcol = col;
  exp_isint(&got_typ);
  return true;
}

// index = first : last [: stride]; the index name goes to index. False
// when the triplet cannot be read.
bool get_triplet_spec(std::string& index) {
  int32_t col = tk.stacol;
  uint32_t k = getmeta(EK_SCALARVAR);
  if (k == 0 || (k & EK_SCALARVAR) == 0 || got_sym == nullptr) return false;
  locsym* s = got_sym;
  dtdesc type = got_typ;
  flaguse(s, QB_SET | QB_REF, col);
  index = s->name;
  // The index of an enclosing FORALL construct may not be used again.
  for (int32_t i = nest.nestdep; i > 0; --i) {
    if (nest.e[i].code == FORALL_CONSTRUCT && nest.e[i].forall_index == index) {
      msg(768, col);
      break;
    }
  }
  tk.errcol = col;
  exp_isint(&type);
  getokn();
  if (!is_other('=')) {
    msg(33, tk.tokbeg);
    return false;
  }
  if (!int_value(nullptr)) return false;
  getokn();
  if (!is_other(':')) {
    msg(87, tk.tokbeg);
    return false;
  }
  if (!int_value(nullptr)) return false;
  if (next_ch() == ':') {
    ++tk.stacol;
    int32_t scol = tk.stacol;
    uint32_t con = 0;
    if (!int_value(&con)) return false;
    if (unit.labpro && con) {
      tk.errcol = scol;
      if (exp_isint(&got_typ) && got_ok && got_val.i == 0) msg(747, scol);
    }
  }
  return true;
}

// True when the text at stacol is a name followed by "=" (not "=="): the
// start of another triplet specification.
bool next_is_triplet() {
  int32_t p = tk.stacol;
  if (!(pstat[p] >= 'A' && pstat[p] <= 'Z')) return false;
  while (p < rsrc.statend && ((pstat[p] >= 'A' && pstat[p] <= 'Z') || (pstat[p] >= '0' && pstat[p] <= '9') ||
                              pstat[p] == '_' || pstat[p] == '$')) {
    ++p;
  }
  return pstat[p] == '=' && pstat[p + 1] != '=';
}

// The mask: a logical scalar or array expression. False when it fails.
bool get_mask() {
  int32_t col = tk.stacol;
  if (getmeta(EK_VALUE | EK_ARRAYEXP) == 0) return false;
  if (got_typ.code == 0) return true;
  uint32_t usg = getdtusg(got_typ.code);
  if ((usg & 0x1u) != 0 || (usg & 0x200u) != 0) return true;
  tk.errcol = col;
  if (usg & 0x2u)
    issue(9020);
  else
    errmsg(80, "t");
  return true;
}

// Reads the header from its "(" to its ")"; false when it fails.
bool forall_header(std::string& index) {
  for (;;) {
    if (!get_triplet_spec(index)) return false;
    getokn();
    if (is_other(')')) return true;
    if (!is_other(',')) {
      msg(7, tk.tokbeg);
      return false;
    }
    if (next_is_triplet()) continue;
    if (!get_mask()) return false;
    getokn();
    if (is_other(')')) return true;
    msg(7, tk.tokbeg);
    return false;
  }
}

// Opens a FORALL construct whose header's last index is index; an overflow
// of the stack is reported at the "(".
void open_construct(const std::string& index, int32_t lpcol) {
  tk.errcol = lpcol;
  if (construct_push(FORALL_CONSTRUCT, FORALL_BLOCK)) nest.e[nest.nestdep].forall_index = index;
}

}  // namespace

// FORALL (triplets [, mask]) [assignment]
int32_t hpf_shforall(const StmtCall& c) {
  if (!ropt.hpf) issue(9144);
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (get_left_parenthesis(1) != 0) return skip_statement(), 0;
  int32_t lpcol = tk.tokbeg;
  std::string index;
  if (!forall_header(index)) {
    // A header that cannot be read still opens a construct when the
    // statement ends with its ")".
    bool closed = rsrc.statend > rsrc.statbeg && pstat[rsrc.statend - 1] == ')';
    skip_statement();
    if (closed) open_construct(index, lpcol);
    return 0;
  }
  if (tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10) {
    open_construct(index, lpcol);
    return 0;
  }
  tk.errcol = lpcol;
  construct_push(FORALL_STATEMENT, FORALL_BLOCK);
  return 1;
}

// END FORALL
int32_t hpf_shendforall(const StmtCall& c) {
  if (!ropt.hpf) issue(9144);
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (unit.labpro) {
    if (nest.nestdep == 0 || nest.e[nest.nestdep].code != FORALL_CONSTRUCT) {
      rd_errmsg(553);
      return skip_statement(), 0;
    }
    nest_pop();
  }
  if (chk_endofline(1) != 0) skip_statement();
  return 0;
}
