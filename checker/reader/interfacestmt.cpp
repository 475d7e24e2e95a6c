// The statements of Fortran 90 interface blocks: INTERFACE with its
// generic specification, MODULE PROCEDURE, END INTERFACE, and the
// FUNCTION, SUBROUTINE and END statements of the interface bodies, which
// are read as units of their own inside the unit that holds the block.
// The records they make are kept by the semantic side (interfaces.cpp).
#include "checker/reader/interfacestmt.h"

#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/base/passes.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/reader/specstmt.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/unitstmt.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/modtable.h"

namespace {

bool tok_is(int32_t ch) { return tk.toktyp == TT_OTHER && tk.tok1 == ch; }
bool at_end_tok() { return tk.toktyp == TT_OTHER && tk.tok1 == 10; }
int32_t next_char() { return tk.stacol < rsrc.statend ? pstat[tk.stacol] : 10; }
bool at_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

bool token_is(const char* word) {
  int32_t n = static_cast<int32_t>(std::strlen(word));
  return tk.toktyp == TT_NAME && tk.toksiz == n && std::memcmp(pstat + tk.tokbeg, word, n) == 0;
}

std::string token_text(int32_t max) {
  int32_t len = tk.toksiz > max ? max : tk.toksiz;
  return std::string(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(len));
}

// Operators written with their own characters: the characters and the
// operator code (the longer spelling first).
struct OprSpelling {
  const char* text;
  int32_t code;
};
constexpr OprSpelling spellings[] = {
    {"**", 6}, {"//", 9}, {"/=", 13}, {"<=", 15}, {"<>", 13}, {">=", 11}, {"==", 12},
    {"+", 2},  {"-", 3},  {"*", 4},   {"/", 5},   {"<", 14},  {">", 10},  {"!", 18},
    {"&", 17}};

bool in_module() {
  const locsym* top = loc_top_scope();
  return unit.prgtyp == 12 || (top != nullptr && top->sclass == SC_MODULE);
}

// The unit may see names of a module that USE does not copy yet.
bool may_use_module() { return unit.pabort[CL_USE] != 0 || Status.scope_level > 1; }

// INTERFACE: the implicit typing of the host, given back at END INTERFACE.
void intf_blkinit(OpenBlock& b) {
  std::memcpy(b.imptbl, imptbl, sizeof b.imptbl);
  std::memcpy(b.defdtypes, defdtypes, sizeof b.defdtypes);
  b.implicit_none = implicit_none;
  b.implic = spec.implic;
  b.impnone = spec.impnone;
}

void intf_blkrestore(const OpenBlock& b) {
  std::memcpy(imptbl, b.imptbl, sizeof imptbl);
  std::memcpy(defdtypes, b.defdtypes, sizeof defdtypes);
  if (Status.scope_level >= 1 && Status.scope_level <= MAX_SCOPES) {
    std::memcpy(Scope[Status.scope_level].imptbl, b.imptbl, sizeof b.imptbl);
  }
  implicit_none = b.implicit_none;
  spec.implic = b.implic;
  spec.impnone = b.impnone;
}

// An interface body starts with the default implicit typing: I to N
// INTEGER, the other letters REAL, no IMPLICIT NONE.
void intf_prgbeg() {
  for (int32_t r = 0; r < 27; ++r) {
    imptbl[r] = dtdesc{};
    imptbl[r].tag = 'p';
    if (r >= 8 && r <= 13) {
      imptbl[r].code = static_cast<uint8_t>(defdtypes[TC_INTEGER]);
    } else if (r < 26) {
      imptbl[r].code = static_cast<uint8_t>(defdtypes[TC_REAL]);
    }
  }
  std::memcpy(Scope[Status.scope_level].imptbl, imptbl, sizeof imptbl);
  implicit_none = 0;
  spec.implic = 0;
  spec.impnone = 0;
}

// True when "(" ")" follows the name of an interface body (after a length
// "*n" or "*(...)"); col receives the "(".
bool empty_dummy_list(int32_t& col) {
  int32_t p = behind_length(tk.stacol);
  col = p;
  return p + 1 < rsrc.statend && pstat[p] == '(' && pstat[p + 1] == ')';
}

int32_t count_dummies(const locsym* proc) {
  int32_t n = 0;
  for (const DummyNode* d = static_cast<const DummyNode*>(proc->list); d != nullptr; d = d->next) ++n;
  return n;
}

// FUNCTION (kind 5) or SUBROUTINE (kind 6) inside an interface block.
int32_t interface_body(const StmtCall& c, int32_t kind) {
  (void)c;
  const bool function = kind == 5;
  const int32_t sclass = function ? SC_FUNC : SC_SUB;
  IntfRec* rec = intf_current();
  if (Status.interface == 0 || rec == nullptr) {
    procprefix_reset();
    msg_at(680, rsrc.statbeg);
    return skip_statement(), 0;
  }
  // A body inside a body: its END is missing.
  if (Status.interface == 2) {
    procprefix_reset();
    msg_at(66, rsrc.statbeg);
    return skip_statement(), 0;
  }
  // The class of the block; an unnamed block may hold both kinds.
  bool wrong_kind = false;
  if (function && rec->kind == IK_ASSIGNMENT) {
    msg_at(683, rsrc.statbeg);
    wrong_kind = true;
  } else if (!function && rec->kind == IK_OPERATOR) {
    msg_at(684, rsrc.statbeg);
    wrong_kind = true;
  } else if (rec->kind != IK_NONAME && rec->pclass != 0 && rec->pclass != sclass) {
    msg_at(691, rsrc.statbeg);
  }
  if (rec->kind != IK_NONAME && rec->pclass == 0 && !wrong_kind) {
    rec->pclass = sclass;
    locsym* g = rec->generic;
    if (g != nullptr && (g->sclass == SC_UNK || g->sclass == SC_INTERFACE)) {
      g->sclass = static_cast<uint8_t>(sclass);
    }
  }
  getokn();
  int32_t col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    procprefix_reset();
    msg_at(24, col);
    return skip_statement(), 0;
  }
  if (Status.scope_level >= MAX_SCOPES) {
    procprefix_reset();
    msg_at(660, col);
    return skip_statement(), 0;
  }
  std::string name = token_text(MAX_NAME);
  // The body has its own scope level, statement order and implicit typing.
  OpenBlock& b = intfs.open[intfs.depth];
  b.parmod = unit.parmod;
  std::memcpy(b.pabort, unit.pabort, sizeof b.pabort);
  b.prgtyp = unit.prgtyp;
  increase_scoping_level();
  modtbl_enter_interface_body();
  intf_prgbeg();
  locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1 | 2 | 4, 0);
  s->sclass = static_cast<uint8_t>(sclass);
  s->attrib = (s->attrib | ATTR_INTF_BODY) & ~ATTR_IN_INTF;
  s->usage = 0;
  s->line = static_cast<uint32_t>(rsrc.codlno);
  set_current_unit(s);
  xrefit(s, QB_SET, col);
  intfs.last_body = s;
  unit.prgtyp = kind;
  Status.interface = 2;
  unit.interface_body = 1;
  unit.parmod = CL_NONE;
  std::memset(unit.pabort + 1, 0, sizeof unit.pabort - sizeof unit.pabort[0]);
  tstord(CL_PROGTYPE, CL_PROGTYPE);
  int32_t paren_col = 0;
  bool empty = empty_dummy_list(paren_col);
  read_unit_tail(s, kind, false);
  shprog_add_prefix(s);
  // A generic name takes the type of a typed FUNCTION statement.
  locsym* g = rec->generic;
  if (function && g != nullptr && s->type.code != 0 && s->type.code != DT_REC &&
      s->type.code != DT_TYPE && (s->props & CP_TYPIMP) == 0) {
    g->type = s->type;
  }
  // An operator takes one or two operands, an assignment two.
  if (rec->kind == IK_OPERATOR || rec->kind == IK_ASSIGNMENT) {
    int32_t n = count_dummies(s);
    if (empty) {
      msg_at(258, paren_col);
    } else if (rec->kind == IK_OPERATOR && n > 2) {
      msg_at(685, paren_col);
    }
  }
  intf_update(rec, s);
  return 0;
}

}  // namespace

int32_t getIntfOpr(std::string& name) {
  getokn();
  if (!tok_is('(')) {
    msg_at(17, tk.tokbeg);
    return 0;
  }
  getokn();
  int32_t col = tk.tokbeg;
  if (at_end_tok()) {
    msg_at(21, col);
    return 0;
  }
  int32_t code = 0;
  if (tok_is('.')) {
    getokn();
    if (at_end_tok() || tok_is(')')) {
      msg_at(71, tk.tokbeg);
      return 0;
    }
    if (tk.toktyp != TT_NAME) {
      msg_at(72, tk.tokbeg);
      return 0;
    }
    name = token_text(MAX_NAME);
    code = intf_getopcode(name.c_str());
    if (code == 1) code = OP_DEFINED;
    getokn();
    if (!tok_is('.')) {
      msg_at(73, tk.tokbeg);
      return 0;
    }
  } else if (tk.toktyp == TT_OTHER) {
    int32_t at = tk.tokbeg;
    for (const OprSpelling& s : spellings) {
      size_t n = std::strlen(s.text);
      if (at + static_cast<int32_t>(n) <= rsrc.statend &&
          std::memcmp(pstat + at, s.text, n) == 0) {
        code = s.code;
        tk.stacol = at + static_cast<int32_t>(n);
        break;
      }
    }
    if (code == 0) {
      // "=" alone is no operator: "==" is.
      msg_at(tok_is('=') ? 33 : 6, col);
      return 0;
    }
  } else {
    msg_at(6, col);
    return 0;
  }
  getokn();
  if (!tok_is(')')) {
    msg_at(7, tk.tokbeg);
    return 0;
  }
  return code;
}

bool get_generic_spec(GenericSpec& g) {
  g = GenericSpec{};
  getokn();
  g.col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    msg_at(24, g.col);
    return false;
  }
  // OPERATOR and ASSIGNMENT alone are generic names like any other.
  if (token_is("OPERATOR") && !at_end()) {
    std::string name;
    int32_t code = getIntfOpr(name);
    if (code == 0) return false;
    g.kind = IK_OPERATOR;
    g.opcode = code;
    g.symbol = code == OP_DEFINED ? "OPERATOR_" + name : intf_getopname(code);
    if (g.symbol.size() > static_cast<size_t>(MAX_NAME)) g.symbol.resize(MAX_NAME);
    return true;
  }
  if (token_is("ASSIGNMENT") && !at_end()) {
    // getIntfAsm: "(" "=" ")".
    getokn();
    if (!tok_is('(')) {
      msg_at(17, tk.tokbeg);
      return false;
    }
    getokn();
    if (!tok_is('=') || next_char() == '=') {
      msg_at(33, tk.tokbeg);
      return false;
    }
    getokn();
    if (!tok_is(')')) {
      msg_at(7, tk.tokbeg);
      return false;
    }
    g.kind = IK_ASSIGNMENT;
    g.symbol = "ASSIGNMENT";
    return true;
  }
  g.kind = IK_GENERIC;
  g.symbol = token_text(MAX_NAME);
  return true;
}

// [ABSTRACT] INTERFACE [generic-spec]
int32_t shinterface(const StmtCall& c) {
  if (unit.prgtyp == 8) {
    msg_at(693, rsrc.statbeg);
    return skip_statement(), 0;
  }
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  unit.had_interface = 1;
  // A block opens at the level of a unit or inside an interface body.
  if (Status.interface == 1 || Status.interface == 3 || intfs.depth >= MAX_SCOPES) {
    msg_at(690, rsrc.statbeg);
    return skip_statement(), 0;
  }
  GenericSpec g{};
  bool named = !at_end();
  if (named && !get_generic_spec(g)) return skip_statement(), 0;
  if (named && chk_endofline(1) != 0) return skip_statement(), 0;
  IntfRec* rec = nullptr;
  if (!named) {
    rec = intf_new_interface(IK_NONAME, 0, nullptr);
  } else {
    // Operator and assignment symbols are the checker's own names.
    int32_t flags = g.kind == IK_GENERIC ? 1 : 1 | 2;
    locsym* sym = getsym(g.symbol.c_str(), static_cast<int32_t>(g.symbol.size()), flags, 0);
    if (sym->sclass == SC_UNK) sym->sclass = SC_INTERFACE;
    sym->attrib |= ATTR_GENERIC;
    xrefit(sym, QB_SET, g.col);
    if (sym->line == 0) sym->line = static_cast<uint32_t>(rsrc.codlno);
    if (g.kind == IK_OPERATOR && sym->type.code == 0) sym->type = intf_get_defdtyp(g.opcode);
    // A generic name that an intrinsic bears overloads the intrinsic.
    if (g.kind == IK_GENERIC && intrin_lookup(sym->name) != nullptr) getsym_ov_intrin(sym);
    rec = intf_get_interface_at(Status.scope_level, sym, g.opcode);
    if (rec == nullptr) rec = intf_new_interface(g.kind, g.opcode, sym);
    if (rec != nullptr && rec->usrop == nullptr && g.kind != IK_GENERIC) {
      rec->usrop = intf_add_usrop(g.kind, g.opcode, sym);
    }
  }
  if (rec == nullptr) return 0;
  OpenBlock& b = intfs.open[++intfs.depth];
  b = OpenBlock{};
  b.rec = rec;
  b.outer_state = Status.interface;
  b.level = Status.scope_level;
  intf_blkinit(b);
  Status.interface = 1;
  return 0;
}

// MODULE PROCEDURE name [, name]...
int32_t shmoduleproc(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  IntfRec* rec = intf_current();
  if (Status.interface == 0 || rec == nullptr) {
    msg_at(680, rsrc.statbeg);
    return skip_statement(), 0;
  }
  if (Status.interface == 2) {
    msg_at(66, rsrc.statbeg);
    return skip_statement(), 0;
  }
  if (rec->kind == IK_NONAME) {
    msg_at(677, rsrc.statbeg);
    return skip_statement(), 0;
  }
  for (;;) {
    int32_t col = 0;
    int32_t len = 0;
    if (!read_statement_name(&col, &len)) return 0;
    std::string name(reinterpret_cast<const char*>(pstat + col), static_cast<size_t>(len));
    locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, 0);
    bool ok = true;
    if (s->sclass == SC_UNK) {
      // A procedure not met yet: an operator's is a function, an
      // assignment's a subroutine, otherwise the block's kind.
      int32_t cls = rec->kind == IK_OPERATOR ? SC_FUNC
                    : rec->kind == IK_ASSIGNMENT ? SC_SUB
                    : rec->pclass == SC_FUNC ? SC_FUNC
                                             : SC_SUB;
      s->sclass = static_cast<uint8_t>(cls);
    } else if (s->sclass != SC_FUNC && s->sclass != SC_SUB) {
      msg_at(689, col);
      ok = false;
    }
    bool module_proc = (s->attrib & 0x8000) != 0 || in_module() || may_use_module();
    if (ok && !module_proc) {
      msg_at(689, col);
      ok = false;
    }
    if (ok && s->squal == 7 && !in_module()) {
      msg_at(678, col);
      ok = false;
    }
    if (ok && rec->kind == IK_ASSIGNMENT && s->sclass != SC_SUB) {
      msg_at(683, col);
      ok = false;
    }
    if (ok && rec->kind == IK_OPERATOR && s->sclass != SC_FUNC) {
      msg_at(684, col);
      ok = false;
    }
    if (ok && rec->pclass != 0 && s->sclass != rec->pclass) {
      msg_at(691, col);
      ok = false;
    }
    if (ok) {
      s->attrib |= ATTR_MODPROC;
      xrefit(s, QB_SET, col);
      if (rec->kind == IK_OPERATOR && s->type.code == 0) s->type = intf_get_defdtyp(rec->opcode);
      if (s->sclass == SC_FUNC && s->type.code == 0) imptypit(s, col);
      intf_update(rec, s);
    }
    getokn();
    if (at_end_tok()) break;
    if (!tok_is(',')) {
      msg_at(6, tk.tokbeg);
      return skip_statement(), 0;
    }
  }
  Status.interface = 3;
  return 0;
}

// END INTERFACE [generic-spec]
int32_t shendinterface(const StmtCall& c) {
  // The block closes in every pass, whatever the order check says.
  tstord(c.lowest, c.cls);
  IntfRec* rec = intf_current();
  if (Status.interface == 0 || rec == nullptr) {
    msg_at(679, rsrc.statbeg);
    return skip_statement(), 0;
  }
  if (Status.interface == 2) {
    msg_at(695, rsrc.statbeg);
    return skip_statement(), 0;
  }
  if (!at_end()) {
    GenericSpec g{};
    if (rec->kind == IK_NONAME) {
      msg_at(20, tk.stacol);
      skip_statement();
    } else if (get_generic_spec(g)) {
      bool same = g.kind == rec->kind && g.opcode == rec->opcode && rec->generic != nullptr &&
                  g.symbol == rec->generic->name;
      if (!same) msg_at(796, g.col);
      chk_endofline(1);
    } else {
      skip_statement();
    }
  }
  const OpenBlock& b = intfs.open[intfs.depth];
  intf_blkrestore(b);
  Status.interface = b.outer_state;
  --intfs.depth;
  return 0;
}

int32_t shfunc_intf(const StmtCall& c) { return interface_body(c, 5); }
int32_t shsub_intf(const StmtCall& c) { return interface_body(c, 6); }

void intf_chkarg(const IntfRec* rec, const locsym* dummy, int32_t pos) {
  if (rec == nullptr || dummy == nullptr) return;
  uint32_t a = dummy->attrib;
  bool optional = (a & 0x10) != 0;
  uint32_t intent = a & 0x60;
  int32_t saved = tk.errcol;
  tk.errcol = ERRCOL_NOLINES;
  if (rec->kind == IK_OPERATOR) {
    if (optional) rd_errmsg(686);
    if (intent != 0x20) rd_errmsg(687);
  } else if (rec->kind == IK_ASSIGNMENT) {
    if (optional) rd_errmsg(686);
    if (pos == 0 && (intent & 0x40) == 0) rd_errmsg(688);
    if (pos == 1 && intent != 0x20) rd_errmsg(687);
  }
  tk.errcol = saved;
}

int32_t shend_intf(const StmtCall& c) {
  locsym* body = prgnam;
  if (c.code != ST_END && !at_end()) {
    getokn();
    if (tk.toktyp == TT_NAME && body != nullptr && token_text(MAX_NAME) != body->name) {
      msg_at(610, tk.tokbeg);
    }
  }
  skip_statement();
  IntfRec* rec = intf_current();
  if (body != nullptr && rec != nullptr) {
    if (rec->kind == IK_OPERATOR || rec->kind == IK_ASSIGNMENT) {
      int32_t pos = 0;
      for (const DummyNode* d = static_cast<const DummyNode*>(body->list); d != nullptr;
           d = d->next, ++pos) {
        intf_chkarg(rec, d->sym, pos);
      }
    }
    // intf_prgend: the body's names are classified and typed.
    prgend();
    if (rec->kind == IK_OPERATOR && body->sclass == SC_FUNC && body->type.code == 0) {
      body->type = intf_get_defdtyp(rec->opcode);
    }
    intf_add_usrop_dtyp(rec, body);
  }
  ProcFwdTypes(0);
  if (dts.structdepth > 0) {
    msg_at(267, 0);
    dts.structdepth = 0;
  }
  modtbl_leave_interface_body();
  decrease_scoping_level();
  Status.interface = 1;
  unit.interface_body = 0;
  const OpenBlock& b = intfs.open[intfs.depth];
  unit.parmod = b.parmod;
  std::memcpy(unit.pabort, b.pabort, sizeof unit.pabort);
  unit.prgtyp = b.prgtyp;
  return END_OF_BODY;
}

void intf_close_blocks() {
  while (intfs.depth > 0) {
    intf_blkrestore(intfs.open[intfs.depth]);
    --intfs.depth;
  }
}
