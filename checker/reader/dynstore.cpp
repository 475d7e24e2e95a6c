// Dynamic storage statements: ALLOCATE, DEALLOCATE and NULLIFY. Each object
// must be a pointer or an allocatable variable; it is marked allocated,
// deallocated or nullified in the local table, and ALLOCATE and DEALLOCATE
// are recorded as statements in the program database.
#include <cstring>

#include "checker/base/passes.h"
#include "checker/reader/assignstmt.h"
#include "checker/reader/dertype.h"
#include "checker/reader/dispatch.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"
#include "checker/base/tvxutil.h"

namespace {

constexpr uint32_t AT_POINTER = 0x2;
constexpr uint32_t AT_TARGET = 0x4;
constexpr uint32_t AT_ALLOCATABLE = 0x8;
constexpr uint32_t XR_DEALLOCATED = 1;
constexpr uint32_t XR_ALLOCATED = 2;
constexpr uint32_t XR_NULLIFIED = 4;

// One object of the list read so far.
struct AllocCell {
  locsym* sym;
  AllocCell* next;
};

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }

// The statement text at stacol begins with "STAT=".
bool at_stat() {
  return tk.stacol + 5 <= rsrc.statend && std::memcmp(pstat + tk.stacol, "STAT=", 5) == 0;
}

// Reads an object name; its symbol must be a variable or a structure
// (24 otherwise). Null after a message.
// Follows "%" component [(subscripts)] after the object s: the last
// component of the chain (its name's column in col), or s itself when no
// chain follows or a component is not found in its type.
locsym* component_of(locsym* s, int32_t& col) {
  for (;;) {
    int32_t p = tk.stacol;
    if (p < rsrc.statend && pstat[p] == '(') p = behind_parens(p);
    if (p >= rsrc.statend || pstat[p] != '%') return s;
    const locsym* type = PGetQStructsym(&s->type);
    if (type == nullptr) return s;
    int32_t q = p + 1;
    int32_t e = q;
    while (e < rsrc.statend && ((pstat[e] >= 'A' && pstat[e] <= 'Z') || (pstat[e] >= '0' && pstat[e] <= '9') ||
                               pstat[e] == '_' || pstat[e] == '$')) {
      ++e;
    }
    locsym* comp = nullptr;
    for (const FieldNode* f = static_cast<const FieldNode*>(type->list); f != nullptr; f = f->next) {
      if (f->sym != nullptr && static_cast<int32_t>(std::strlen(f->sym->name)) == e - q &&
          std::memcmp(f->sym->name, pstat + q, static_cast<size_t>(e - q)) == 0) {
        comp = f->sym;
      }
    }
    if (comp == nullptr) return s;
    xrefit(s, QB_REF, col);
    tk.stacol = q;
    getokn();
    col = tk.tokbeg;
    s = comp;
  }
}

locsym* object_symbol(int32_t& col) {
  getokn();
  col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    rd_errmsg(24);
    return nullptr;
  }
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 1, 0);
  // A name not yet classified is a variable here.
  if (s != nullptr && s->sclass == SC_UNK) s->sclass = SC_VAR;
  if (s == nullptr || (s->sclass != SC_VAR && s->sclass != SC_REC90)) {
    rd_errmsg(24);
    return nullptr;
  }
  return component_of(s, col);
}

// Passes over the rest of a failed item up to the "," or ")" of the list.
void skip_item() {
  int32_t depth = 0;
  for (;;) {
    if (tk.tok1 == 10 && tk.toktyp == TT_OTHER) return;
    if (is_other('(')) ++depth;
    if (is_other(')') && --depth < 0) return;
    if (is_other(',') && depth == 0) return;
    getokn();
  }
}

// True when the bounds at stacol ("(" ...) leave a bound out: a ":" or
// "*" standing next to "(", "," or ")" at the outer level.
bool bound_left_out() {
  int32_t depth = 0;
  int32_t prev = 0;
  for (int32_t p = tk.stacol; p < rsrc.statend && pstat[p] != 10; ++p) {
    int32_t c = pstat[p];
    if (c == 'a' || c == 'q' || c == 'h') {
      p += CONST_OVERHEAD + ((pstat[p + 1] << 8) | pstat[p + 2]) - 1;
      prev = 'a';
      continue;
    }
    if (c == ' ') continue;
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) return prev == ':' || prev == '*' || prev == ',';
    if (depth == 1) {
      bool edge = prev == '(' || prev == ',';
      if ((c == ':' || c == '*' || c == ',') && (edge || prev == ':')) return true;
      if ((c == ',' ) && (prev == ':' || prev == '*')) return true;
    }
    prev = c;
  }
  return false;
}

// One ALLOCATE item: object [(bounds)]. -1 after an object error.
int32_t get_allocation(AllocCell*& list) {
  int32_t col;
  locsym* s = object_symbol(col);
  if (s == nullptr) return -1;
  if (undeclared_here(s)) {
    // An object of a module, not known here.
    getokn();
    return -1;
  }
  if (chkAllocObjInPure(s, col) != 0) {
    getokn();
    return -1;
  }
  bool allocatable = (s->attrib & AT_ALLOCATABLE) && s->sclass == SC_VAR;
  if (!(s->attrib & AT_POINTER) && !allocatable) {
    tk.errcol = col;
    rd_errmsg(663);
    getokn();
    return -1;
  }
  if (pstat[tk.stacol] == '(') {
    // The bounds: an array specification of explicit shape whose rank
    // matches the declared one.
    int32_t bcol = tk.stacol;
    if (bound_left_out()) {
      tk.errcol = bcol;
      rd_errmsg(664);
      getokn();
      return -1;
    }
    ArraySpec* spec = get_array_spec(0, s);
    if (spec == nullptr) return -1;
    if (!is_other(')')) {
      rd_errmsg(7);
      return -1;
    }
    if (spec->shape != 1) {
      tk.errcol = bcol;
      rd_errmsg(664);
    } else {
      copy_array_spec(col, s, spec);
    }
    getokn();
  } else if (getokn(), s->arrspec != nullptr) {
    tk.errcol = col;
    rd_errmsg(11);
  }
  if (s->attrib & AT_POINTER) s->attrib |= AT_TARGET;
  xrefit(s, XR_ALLOCATED, col);
  AllocCell* cell = local_new<AllocCell>();
  cell->sym = s;
  cell->next = list;
  list = cell;
  return 0;
}

// One DEALLOCATE item. -1 after an object error.
int32_t get_alloc_obj(AllocCell*& list) {
  int32_t col;
  locsym* s = object_symbol(col);
  if (s == nullptr) return -1;
  if (undeclared_here(s)) {
    getokn();
    return -1;
  }
  if (!(s->attrib & (AT_POINTER | AT_ALLOCATABLE))) {
    tk.errcol = col;
    rd_errmsg(663);
    getokn();
    return -1;
  }
  if (chkAllocObjInPure(s, col) != 0) {
    getokn();
    return -1;
  }
  xrefit(s, XR_DEALLOCATED, col);
  AllocCell* cell = local_new<AllocCell>();
  cell->sym = s;
  cell->next = list;
  list = cell;
  getokn();
  return 0;
}

// STAT= variable at stacol, compared with the objects read. -2 when no
// variable can be read.
int32_t get_alloc_stat(const AllocCell* list) {
  tk.stacol += 5;
  int32_t col;
  getokn();
  col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    rd_errmsg(24);
    return -2;
  }
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 1, 0);
  if (s == nullptr) return -2;
  if (s->sclass == SC_UNK) s->sclass = SC_VAR;
  if (s->type.code == 0) imptypit(s, col);
  if (s->type.code == 0 || !is_same_dtclass(s->type.code, DT_INT)) rd_errmsg(646);
  for (const AllocCell* c = list; c != nullptr; c = c->next) {
    if (c->sym == s) {
      tk.errcol = col;
      rd_errmsg(665);
      getokn();
      return 0;
    }
  }
  xrefit(s, QB_SET, col);
  getokn();
  return 0;
}

// The list of ALLOCATE or DEALLOCATE after the keyword: 0, or -2 after a
// syntax message.
int32_t get_allocation_list(bool allocate) {
  if (get_left_parenthesis(1) != 0) return -2;
  AllocCell* list = nullptr;
  if (ropt.Language == 1 && (ropt.compiler & 0x10000)) {
    // This dialect also takes STAT= variables before the objects.
    while (at_stat()) {
      if (get_alloc_stat(nullptr) != 0) return -2;
      if (!is_other(',')) {
        rd_errmsg(36);
        return -2;
      }
    }
  }
  bool first = true;
  for (;;) {
    if (!first && at_stat()) {
      if (get_alloc_stat(list) != 0) return -2;
      if (is_other(',')) {
        rd_errmsg(36);
        return -2;
      }
      break;
    }
    first = false;
    int32_t r = allocate ? get_allocation(list) : get_alloc_obj(list);
    if (r != 0) skip_item();
    if (is_other(',')) continue;
    break;
  }
  if (!is_other(')')) {
    rd_errmsg(7);
    return -2;
  }
  return 0;
}

int32_t alloc_statement(const StmtCall& c, bool allocate) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (get_allocation_list(allocate) != 0) return skip_statement(), 0;
  if (chk_endofline(1) != 0) return skip_statement(), 0;
  if (an.lpass == 1) {
    int32_t line, col, eline, ecol;
    tvx_stmt_start(line, col);
    tvx_stmt_end(eline, ecol);
    CTVX_GenRSTMT(CTVX_GetCurrentFileId(), line, col, eline, ecol,
                  allocate ? "fallocate" : "fdeallocate");
  }
  return 0;
}

}  // namespace

// ALLOCATE (allocation-list [, STAT= variable])
int32_t shallocate(const StmtCall& c) { return alloc_statement(c, true); }

// DEALLOCATE (object-list [, STAT= variable])
int32_t shdeallocate(const StmtCall& c) { return alloc_statement(c, false); }

// NULLIFY (pointer-list)
int32_t shnullify(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (get_left_parenthesis(1) != 0) return skip_statement(), 0;
  for (;;) {
    int32_t col;
    locsym* s = object_symbol(col);
    if (s != nullptr) {
      if (!(s->attrib & AT_POINTER)) {
        tk.errcol = col;
        rd_errmsg(666);
      } else {
        xrefit(s, XR_NULLIFIED, col);
      }
      getokn();
    }
    skip_item();
    if (is_other(',')) continue;
    break;
  }
  if (!is_other(')')) {
    rd_errmsg(7);
    return skip_statement(), 0;
  }
  chk_endofline(1);
  return 0;
}
