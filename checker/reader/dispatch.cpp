// Statement dispatch: reads the statements of a program unit, classifies
// each (assignment or keyword statement), checks that the language allows
// it, registers its label, calls its handler, and closes one-line IF,
// WHERE and FORALL statements and labelled DO loops after it.
#include "checker/reader/dispatch.h"

#include <cstring>
#include <string>

#include "checker/base/makedep.h"
#include "checker/base/passes.h"
#include "checker/reader/assignstmt.h"
#include "checker/reader/dertype.h"
#include "checker/reader/attrstmt.h"
#include "checker/reader/commonstmt.h"
#include "checker/reader/ctlexpr.h"
#include "checker/reader/datastmt.h"
#include "checker/base/directives.h"
#include "checker/reader/equivstmt.h"
#include "checker/reader/hpfstmt.h"
#include "checker/reader/interfacestmt.h"
#include "checker/reader/pointerstmt.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/reader/specstmt.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/reader/unitstmt.h"
#include "checker/reader/vendorexec.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/locsym.h"
#include "checker/base/tvxutil.h"

int32_t stopped_at_contains;

#define PENDING(handler) \
  static int32_t handler(const StmtCall& c) { return sh_pending(c); }
#include "checker/reader/pending.def"

// One row of the dispatch table.
struct DispatchRow {
  StmtHandler handler;  // handler of the code
  int32_t lowest;       // statement-order classes
  int32_t cls;
};
static const DispatchRow dispatch_table[] = {
#define DISPATCH(code, keyword, handler, lowest, cls) {handler, lowest, cls},
#include "checker/reader/dispatch.def"
};
static_assert(std::size(dispatch_table) == KEY_COUNT);

// Statement state of the loop of one unit.
struct ParseState {
  int32_t pending_if;      // one-line IF headers whose action is parsed
  int32_t pending_where;   // one-line WHERE headers
  int32_t pending_forall;  // one-line FORALL headers
  int32_t prevcode;        // code of the previous statement (VTVX_PrevStmt)
  int32_t independent;     // an INDEPENDENT directive precedes (1 bare, 2 with text)
};
static ParseState ps;

bool isProcEndStmt(int32_t code) {
  return code == ST_END || (code >= ST_ENDBLOCKDATA && code <= ST_ENDSUBROUTINE);
}

bool isF90stmt(int32_t code) {
  const KeyRow* r = keyrow_of_code(code);
  return r != nullptr && r->f77 == -90;
}

static bool at_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// Statement codes the program database tells apart.
constexpr int32_t ST_RETURN_CODE = 63;
constexpr int32_t ST_STOP_CODE = 68;

// The program database is written in the local pass.
static bool tvx_pass() { return an.lpass == 1; }

// The program-database hooks that take the current statement's start or
// end: source file, line and column.
struct TvxPlace {
  int32_t file, line, col;
};
static TvxPlace tvx_start() {
  TvxPlace p{CTVX_GetCurrentFileId(), 0, 0};
  tvx_stmt_start(p.line, p.col);
  return p;
}
static TvxPlace tvx_end() {
  TvxPlace p{CTVX_GetCurrentFileId(), 0, 0};
  tvx_stmt_end(p.line, p.col);
  return p;
}

// A routine item for the unit just begun (not for an interface body).
static void tvx_unit_start(int32_t kind) {
  if (Status.interface == 2 || prgnam == nullptr || !tvx_pass()) return;
  CTVX_UnitStart(prgnam->name, kind);
}

int32_t sh_pending(const StmtCall& c) {
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  skip_statement();
  return 0;
}

int32_t sh_none(const StmtCall&) { return 0; }

int32_t sh_unrecognised(const StmtCall&) { return 0; }

int32_t sh_include(const StmtCall& c) {
  shinclud(c.code);
  return 0;
}

// Reads the name of a program-unit statement into name; false when the
// token is no name.
static bool unit_name(std::string& name) {
  getokn();
  if (tk.toktyp != TT_NAME) return false;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  name.assign(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(len));
  return true;
}

// Opens a program unit: a contained unit after the host's CONTAINS opens a
// nested scope level; any other unit statement while a unit is open is
// message 66.
static bool open_unit(bool& nested) {
  nested = false;
  if (prgnam != nullptr) {
    if ((prgnam->attrib & 0x10000) == 0 || Status.scope_level >= MAX_SCOPES) {
      rd_errmsg(66);
      return false;
    }
    nested = true;
  }
  return true;
}

// col: the name's column, 0 for a unit without a written name.
static locsym* begin_unit(const std::string& name, int32_t sclass, int32_t kind, int32_t col) {
  increase_scoping_level();
  locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1 | 2 | 4, 0);
  if (s != nullptr) {
    s->sclass = static_cast<uint8_t>(sclass);
    s->usage |= QB_SET | QB_DECL;
    // The name's occurrence in its own statement: where the unit stands.
    if (col > 0) xrefit(s, QB_SET | QB_DECL, col);
    set_current_unit(s);
  }
  unit.prgtyp = kind;
  ++Status.nesting;
  return s;
}

// The common part of the program-unit statements: order check, the unit's
// name (optional for BLOCK DATA, where an unnamed unit gets a running
// name) and its scope level. False when the statement is not taken.
static bool unit_statement(const StmtCall& c, int32_t sclass, int32_t kind, int32_t name_msg) {
  bool nested;
  if (!open_unit(nested) || !tstord(CL_PROGTYPE, CL_PROGTYPE)) {
    skip_statement();
    return false;
  }
  (void)c;
  std::string name;
  int32_t col = 0;
  if (kind == 8 && at_end()) {
    ++unit.unnamedbdatas;
    name = "Blockdata";
    if (unit.unnamedbdatas > 1) name += std::to_string(unit.unnamedbdatas);
  } else if (!unit_name(name)) {
    rd_errmsg(name_msg);
    skip_statement();
    return false;
  } else {
    col = tk.tokbeg;
  }
  begin_unit(name, sclass, kind, col);
  return true;
}

// PROGRAM name [(args)]
int32_t shprog(const StmtCall& c) {
  procprefix_reset();
  if (!unit_statement(c, SC_PROG, 7, 18)) return 0;
  tvx_unit_start(1);
  read_unit_tail(prgnam, 7, false);
  return 0;
}

// [prefix] SUBROUTINE name [([dummies])]
int32_t shsub(const StmtCall& c) {
  if (procprefix.typed != 0) {
    // A type cannot prefix a subroutine; the subroutine is read without it.
    rd_errmsg(749);
    procprefix.typed = 0;
  }
  if (Status.interface != 0) return shsub_intf(c);
  if (unit_statement(c, SC_SUB, 6, 24)) {
    tvx_unit_start(1);
    read_unit_tail(prgnam, 6, false);
    shprog_add_prefix(prgnam);
  }
  procprefix_reset();
  return 0;
}

// [prefix] FUNCTION name [* length] ([dummies]) [RESULT (name)]
int32_t shfunc(const StmtCall& c) {
  if (Status.interface != 0) return shfunc_intf(c);
  if (unit_statement(c, SC_FUNC, 5, 24)) {
    tvx_unit_start(2);
    read_unit_tail(prgnam, 5, false);
    shprog_add_prefix(prgnam);
    // Without RESULT the function's name is its result variable.
    if (prgnam != nullptr && prgnam->locdata == nullptr && Status.interface != 2) hidefuncvar(prgnam);
  }
  procprefix_reset();
  return 0;
}

// BLOCK DATA [name]
int32_t shblock(const StmtCall& c) {
  if (unit_statement(c, SC_BLKD, 8, 24)) chk_endofline(1);
  return 0;
}

// MODULE name
int32_t shmodule(const StmtCall& c) {
  if (unit_statement(c, SC_MODULE, 12, 24)) {
    if (an.MakingDep && prgnam != nullptr) mkdep_add_module_def(prgnam->name);
    chk_endofline(1);
  }
  return 0;
}

// USE name [, rename-list | , ONLY : [only-list]]: the dependency pass
// records the module used; the other passes check the statement.
int32_t which_USE(const StmtCall& c) {
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (an.MakingDep) {
    std::string name;
    if (unit_name(name)) mkdep_add_module_use(name.c_str());
    skip_statement();
    return 0;
  }
  shuse();
  return 0;
}

// END [PROGRAM|SUBROUTINE|FUNCTION|MODULE|BLOCK DATA [name]]
int32_t shend(const StmtCall& c) {
  // The end of an interface body: back in the enclosing unit.
  if (Status.interface == 2 && c.code != 0) return shend_intf(c);
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (c.code == ST_END && Status.scope_level > 1 && prgnam != nullptr && Status.interface == 0) {
    // In Fortran 90 an internal or module procedure ends with its keyword.
    if (ropt.Language == 2 && unit.prgtyp == 6) rd_errmsg(709);
    if (ropt.Language == 2 && unit.prgtyp == 5) rd_errmsg(710);
  }
  if (c.code != ST_END && !at_end()) {
    std::string name;
    if (unit_name(name)) {
      if (!name.empty() && prgnam != nullptr && name != prgnam->name) rd_errmsg(610);
    }
  }
  if (c.code != 0) chk_endofline(1);
  // Constructs left open, innermost first.
  static const int32_t open_block_msg[5] = {48, 49, 714, 715, 551};
  while (nest.nestdep > 0 && c.code != 0) {
    int32_t blk = nest.e[nest.nestdep].blk;
    tk.errcol = ERRCOL_NOLINES;
    rd_errmsg(open_block_msg[((blk % 5) + 5) % 5]);
    nest_pop();
  }
  if (Status.interface == 0 && prgnam != nullptr && tvx_pass()) {
    // The routine's implicit return, unless an unconditional RETURN or STOP
    // (or an END) came just before; then the routine item ends.
    static const uint8_t routine_classes[] = {2, 5, 6, 7, 18};
    // A host whose CONTAINS wrote its return and whose routine item was
    // closed by its first contained procedure writes nothing more.
    bool host = (prgnam->attrib & 0x10000) != 0;
    bool own_item = tvx_routine_open(prgnam->name);
    if (std::memchr(routine_classes, prgnam->sclass, sizeof routine_classes) != nullptr &&
        (own_item || !host)) {
      int32_t prev = ps.prevcode;
      bool ended = ((prev == ST_RETURN_CODE || prev == ST_STOP_CODE) && !tvxstate.VTVX_PrevIf) ||
                   isProcEndStmt(prev) || (host && tvx_last_was_return());
      if (!ended) {
        TvxPlace p = tvx_start();
        CTVX_GenRRET(p.file, p.line, p.col);
      }
      tvxstate.VTVX_PrevStmt = c.code;
      CTVX_FinishRoutine();
    }
  }
  if (Status.interface != 0 && c.code != 0) {
    rd_errmsg(690);
    intf_close_blocks();
    Status.interface = 0;
  }
  bool host = prgnam != nullptr && (prgnam->attrib & 0x10000) != 0 && Status.scope_level == 1 &&
              Status.nesting <= 1;
  unit.parmod = host ? 9 : 10;
  if (Status.nesting > 0) --Status.nesting;
  if (Status.scope_level <= 1) unit.IsEndOfExtPrg = 1;
  return 0;
}

// CONTAINS
int32_t shcontains(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  chk_endofline(1);
  // Allowed in an external unit and in a module procedure.
  const locsym* host = loc_parent_scope();
  bool module_procedure = Status.scope_level == 2 && host != nullptr && host->sclass == SC_MODULE;
  // Elsewhere the message stands and the procedures that follow are read
  // as contained ones all the same.
  if (Status.scope_level > 1 && unit.prgtyp != 12 && !module_procedure) rd_errmsg(612);
  if (prgnam != nullptr) prgnam->attrib |= 0x10000;
  if (tvx_pass() && (unit.prgtyp == 5 || unit.prgtyp == 6) && !tvx_last_was_return()) {
    TvxPlace p = tvx_start();
    CTVX_GenRRET(p.file, p.line, p.col);
  }
  static const int32_t open_block_msg[5] = {48, 49, 714, 715, 551};
  while (nest.nestdep > 0) {
    rd_errmsg(open_block_msg[((nest.e[nest.nestdep].blk % 5) + 5) % 5]);
    nest_pop();
  }
  stopped_at_contains = 1;
  Status.contains = 1;
  return 0;
}

// CONTINUE
int32_t shcontin(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  chk_endofline(1);
  return 0;
}

// RETURN [expression]
int32_t shret(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  // The clause of a logical IF is recorded by the IF.
  if (tvx_pass() && prgnam != nullptr && ps.pending_if == 0) {
    TvxPlace p = tvx_start();
    CTVX_GenRRET(p.file, p.line, p.col, ST_RETURN_CODE);
  }
  // RETURN e: the alternate-return index is read.
  if (!at_end()) read_ctl_expr(false);
  skip_statement();
  return 0;
}

// OPTIONS ...: accepted and ignored.
int32_t shoptions(const StmtCall& c) {
  tstord(c.lowest, c.cls);
  skip_statement();
  return 0;
}

bool trailing_construct_name(std::string& name) {
  name.clear();
  getokn();
  if (tk.toktyp == TT_NAME) {
    name.assign(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(tk.toksiz));
    getokn();
  }
  if (tk.tok1 == 10 || tk.tokbeg >= rsrc.statend) return true;
  rd_errmsg(20);
  skip_statement();
  return false;
}

// In Fortran 90 a name given inside or at the end of a construct must be
// the construct's (707); a closing statement of a named construct repeats
// it (708 when missing).
static void check_construct_name(const std::string& name, bool closing) {
  if (ropt.Language != 2) return;
  const std::string& own = nest.e[nest.nestdep].name;
  if (name.empty()) {
    if (closing && !own.empty()) rd_errmsg(708);
    return;
  }
  if (name != own) rd_errmsg(707);
}

// Pushes a construct entry with a new block number of the kind k (5 IF,
// 6 DO, 7 WHERE, 8 SELECT CASE, 9 FORALL).
static bool push_construct(int32_t code, int32_t k) {
  if (!unit.labpro) return false;
  if (!nestdep_plus_plus()) return false;
  NestEntry& e = nest.e[nest.nestdep];
  e.code = code;
  e.blk = nest.newcodblk + k;
  nest.newcodblk += 5;
  e.name = unit.CurConstructName;
  nest.codblk = e.blk;
  return true;
}

// A DO bound or step: in Fortran 90 a type other than integer is the
// obsolescent non-integer DO control (601).
static bool do_expression() {
  if (!read_ctl_expr(false)) return false;
  if (ropt.Language == 2 && ctl.tclass != 0 && ctl.tclass != TC_INTEGER) {
    tk.errcol = ctl.col;
    rd_errmsg(601);
  }
  return true;
}

// The DO variable and its control: var = e1, e2 [, e3].
static void do_control() {
  int32_t col = tk.tokbeg;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  locsym* v = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
  if (v == nullptr) {
    rd_errmsg(24);
    return skip_statement();
  }
  if (v->sclass == SC_UNK) v->sclass = SC_VAR;
  if (v->type.code == 0) imptypit(v, col);
  flaguse(v, QB_SET | QB_REF, col);
  tk.errcol = col;
  if (unit.labpro) {
    // The same variable may not control an enclosing active loop.
    for (int32_t i = nest.nestdep - 1; i > 0; --i) {
      const NestEntry& e = nest.e[i];
      if ((e.code == 4 || e.code == 5) && e.dovar == v) {
        rd_errmsg(768);
        break;
      }
    }
    if (nest.nestdep > 0) nest.e[nest.nestdep].dovar = v;
  }
  int32_t vclass = v->type.code != 0 ? getdtname(v->type.code) : 0;
  if (ropt.Language == 2 && (vclass == TC_REAL || vclass == TC_DOUBLE || vclass == TC_COMPLEX ||
                             vclass == TC_DCOMPLEX)) {
    rd_errmsg(601);
  }
  getokn();
  if (!(tk.toktyp == TT_OTHER && tk.tok1 == '=')) {
    rd_errmsg(33);
    return skip_statement();
  }
  if (!do_expression()) return skip_statement();
  getokn();
  if (!(tk.toktyp == TT_OTHER && tk.tok1 == ',')) {
    rd_errmsg(36);
    return skip_statement();
  }
  if (!do_expression()) return skip_statement();
  getokn();
  if (tk.toktyp == TT_OTHER && tk.tok1 == ',') {
    if (!do_expression()) return skip_statement();
    if (ctl.constant && ((ctl.tclass == TC_INTEGER && ctl.ivalue == 0) ||
                         ((ctl.tclass == TC_REAL || ctl.tclass == TC_DOUBLE) && ctl.rvalue == 0.0))) {
      tk.errcol = ctl.col;
      rd_errmsg(747);
    }
    getokn();
  }
  if (!(tk.toktyp == TT_OTHER && tk.tok1 == 10)) {
    rd_errmsg(20);
    skip_statement();
  }
}

// DO [label] [,] var = e1, e2 [, e3] | DO [label] [,] WHILE (e) | DO
int32_t shdo(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  int32_t tvxlabel = 0;
  TvxPlace tvxp = tvx_start();
  getokn();
  if (tk.toktyp == TT_DIGITS) {
    if (unit.labpro) {
      LabelRec* lab = labfind();
      if (lab != nullptr) {
        lhand(lab, 8);
        if (push_construct(5, 6)) nest.e[nest.nestdep].label = lab->value;
        tvxlabel = lab->value;
      }
    }
    getokn();
    if (tk.toktyp == TT_OTHER && tk.tok1 == ',') getokn();
  } else {
    push_construct(4, 6);
  }
  if (tvx_pass()) CTVX_StartLoop(tvxp.file, tvxp.line, tvxp.col, tvxlabel);
  if (tk.toktyp == TT_OTHER && tk.tok1 == 10) return 0;  // DO without control
  if (tk.toktyp == TT_NAME && tk.toksiz == 5 && std::memcmp(pstat + tk.tokbeg, "WHILE", 5) == 0 &&
      tk.stacol < rsrc.statend && pstat[tk.stacol] == '(') {
    if (!read_paren_ctl_expr(false)) return 0;
    chk_endofline(1);
    return 0;
  }
  if (tk.toktyp != TT_NAME) {
    rd_errmsg(24);
    return skip_statement(), 0;
  }
  do_control();
  return 0;
}

// The value of the current statement's label, 0 when it has none.
static int32_t statement_label() {
  int32_t v = 0;
  for (int32_t p = rsrc.labpos_beg; p < rsrc.labpos_end; ++p) {
    if (pstat[p] >= '0' && pstat[p] <= '9' && v < 10000000) v = v * 10 + (pstat[p] - '0');
  }
  return v;
}

// END DO [name]
int32_t shenddo(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  TvxPlace tvxe = tvx_end();
  std::string name;
  if (!trailing_construct_name(name)) return 0;
  if (!unit.labpro) return 0;
  int32_t top = nest.nestdep > 0 ? nest.e[nest.nestdep].code : 0;
  // A labelled loop ends at an END DO with its label (not in the dialect
  // of compiler bit 0x4).
  bool labelled_end = top == 5 && c.labelled && !(ropt.compiler & 0x4) &&
                      statement_label() == nest.e[nest.nestdep].label;
  if (top != 4 && !labelled_end) {
    tk.errcol = rsrc.statbeg;
    rd_errmsg(114);
    return 0;
  }
  check_construct_name(name, true);
  // The program database ends the loop only when END DO closes one.
  if (tvx_pass()) CTVX_FinishF90Loop(tvxe.file, tvxe.line, tvxe.col);
  nest_pop();
  return 0;
}

// The labels l1, l2, l3 of an arithmetic IF: each an integer label (26),
// recorded as a branch; 43 when the statement ends too early. In Fortran
// 77 under compiler bit 0x10000 a label may be left out between commas.
static void arithmetic_if_labels() {
  bool may_omit = ropt.Language == 1 && (ropt.compiler & 0x10000);
  for (int32_t i = 0; i < 3; ++i) {
    getokn();
    bool end = tk.toktyp == TT_OTHER && tk.tok1 == 10;
    bool comma = tk.toktyp == TT_OTHER && tk.tok1 == ',';
    if (end && !(may_omit && i == 2)) {
      rd_errmsg(43);
      return;
    }
    if (tk.toktyp == TT_DIGITS) {
      if (unit.labpro) lhand(labfind(), 1);
      if (i == 2) break;
      getokn();
    } else if (!(may_omit && (comma || end))) {
      rd_errmsg(26);
      return skip_statement();
    }
    if (i == 2) break;
    if (tk.toktyp == TT_OTHER && tk.tok1 == 10) {
      rd_errmsg(43);
      return;
    }
    if (!(tk.toktyp == TT_OTHER && tk.tok1 == ',')) {
      rd_errmsg(6);
      return skip_statement();
    }
  }
  if (!(tk.toktyp == TT_OTHER && tk.tok1 == 10)) chk_endofline(1);
}

// IF (e) THEN | IF (e) statement | IF (e) l1, l2, l3 | ELSE IF (e) THEN |
// ELSE | END IF
int32_t shif(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  TvxPlace tvxp = tvx_start();
  if (c.code == ST_ELSE) {
    std::string name;
    if (!trailing_construct_name(name)) return 0;
    if (nest.nestdep == 0 || (nest.e[nest.nestdep].code != 1 && nest.e[nest.nestdep].code != 2)) {
      if (unit.labpro) rd_errmsg(111);
    } else {
      check_construct_name(name, false);
      // The program database follows only the constructs that are open.
      if (tvx_pass()) CTVX_HandleElse();
      nest.e[nest.nestdep].code = 3;
      nest.e[nest.nestdep].blk = nest.newcodblk + 5;
      nest.newcodblk += 5;
      nest.codblk = nest.e[nest.nestdep].blk;
    }
    return 0;
  }
  if (c.code == ST_ENDIF) {
    TvxPlace tvxe = tvx_end();
    std::string name;
    if (!trailing_construct_name(name)) return 0;
    if (nest.nestdep == 0 || (nest.e[nest.nestdep].code != 1 && nest.e[nest.nestdep].code != 3)) {
      if (unit.labpro) rd_errmsg(112);
      return 0;
    }
    check_construct_name(name, true);
    if (tvx_pass()) CTVX_HandleEndIf(tvxe.file, tvxe.line, tvxe.col);
    nest_pop();
    while (nest.nestdep > 0 && nest.e[nest.nestdep].code == 2) nest_pop();
    return 0;
  }
  if (!read_paren_ctl_expr(false)) return 0;
  CtlExpr cond = ctl;
  int32_t after = tk.stacol;
  bool then = rsrc.statend - after == 4 && std::memcmp(pstat + after, "THEN", 4) == 0;
  if (c.code == ST_ELSEIF) {
    // ELSE IF (e) THEN [name]
    bool named = rsrc.statend - after > 4 && std::memcmp(pstat + after, "THEN", 4) == 0;
    if (!then && !named) rd_errmsg(109);
    if (nest.nestdep == 0 || (nest.e[nest.nestdep].code != 1 && nest.e[nest.nestdep].code != 2)) {
      if (unit.labpro) rd_errmsg(110);
    } else {
      if (named) {
        tk.stacol = after + 4;
        std::string name;
        if (!trailing_construct_name(name)) return 0;
        check_construct_name(name, false);
      }
      if (tvx_pass()) CTVX_HandleElseIf(tvxp.file, tvxp.line, tvxp.col);
      nest.e[nest.nestdep].code = 2;
      // The ELSE IF block carries the construct's name.
      if (push_construct(1, 5)) nest.e[nest.nestdep].name = nest.e[nest.nestdep - 1].name;
    }
    skip_statement();
    return 0;
  }
  if (then) {
    if (tvx_pass()) CTVX_StartIf(tvxp.file, tvxp.line, tvxp.col);
    push_construct(1, 5);
    skip_statement();
    return 0;
  }
  bool omitted_first = pstat[after] == ',' && ropt.Language == 1 && (ropt.compiler & 0x10000);
  if ((pstat[after] >= '0' && pstat[after] <= '9') || omitted_first) {
    // Arithmetic IF: three labels; obsolescent in Fortran 90. The
    // expression is integer, real or double precision.
    if (ropt.Language == 2) {
      tk.errcol = rsrc.statbeg;
      rd_errmsg(600);
    }
    if (cond.tclass == TC_CHARACTER || cond.tclass == TC_LOGICAL || cond.tclass == TC_COMPLEX ||
        cond.tclass == TC_DCOMPLEX || cond.tclass == TC_STRUCT) {
      tk.errcol = cond.col;
      rd_errmsg(81);
    }
    arithmetic_if_labels();
    return 0;
  }
  if (cond.tclass != 0 && cond.tclass != TC_LOGICAL) {
    tk.errcol = cond.col;
    rd_errmsg(80);
  }
  if (tvx_pass()) {
    // A logical IF; the program database records a RETURN or STOP clause
    // here, with the clause's place in the statement's lines.
    CTVX_StartIf(tvxp.file, tvxp.line, tvxp.col);
    int32_t rest = rsrc.statend - after;
    if (prgnam != nullptr && rest == 6 && std::memcmp(pstat + after, "RETURN", 6) == 0) {
      CTVX_GenRRET(tvxp.file, tvxp.line, tvxp.col, ST_IF);
    } else if (prgnam != nullptr && rest == 4 && std::memcmp(pstat + after, "STOP", 4) == 0) {
      CTVX_GenRSTOP(tvxp.file, tvxp.line, tvxp.col);
    }
  }
  push_construct(6, 5);
  return 1;
}

void shifclose() {
  if (nest.nestdep > 0 && nest.e[nest.nestdep].code == 6) nest_pop();
  if (tvx_pass()) {
    TvxPlace p = tvx_end();
    CTVX_HandleSingleEndIf(p.file, p.line, p.col);
  }
}

void shwhereclose() {
  if (nest.nestdep > 0 && nest.e[nest.nestdep].code == 9) nest_pop();
}

void hpf_shforallclose() {
  if (nest.nestdep > 0 && nest.e[nest.nestdep].code == 13) nest_pop();
}

// The keyword of a procedure prefix and its bit.
static uint32_t prefix_bit(int32_t code) {
  switch (code) {
    case 82: return PP_RECURSIVE;
    case 130: return PP_PURE;
    case 143: return PP_ELEMENTAL;
    case 140: return PP_EXTRINSIC;
    default: return 0;
  }
}

// EXTRINSIC (kind): the kind's bit, from its name; false after 595 or
// another fault of the parenthesised kind.
static bool extrinsic_kind() {
  int32_t col = tk.tokbeg;
  uint32_t bits = hpf_extrinsic_kind();
  if ((bits & PP_HPF_LOCAL) && (procprefix.bits & PP_RECURSIVE)) {
    // RECURSIVE and EXTRINSIC(HPF_LOCAL) do not go together.
    tk.errcol = col;
    rd_errmsg(800);
    return bits != 0;
  }
  procprefix.bits |= bits & (PP_HPF | PP_HPF_LOCAL);
  return bits != 0;
}

int32_t which_TYPE(const StmtCall& c);

// A prefixed statement: RECURSIVE, PURE, ELEMENTAL, EXTRINSIC or a type
// before FUNCTION or SUBROUTINE; the prefix read so far is in procprefix.
static int32_t get_prefix_spec(const StmtCall& c) {
  for (;;) {
    const KeyRow* r = getkey();
    if (r == nullptr) {
      procprefix_reset();
      rd_errmsg(39);
      skip_statement();
      return 0;
    }
    StmtCall next{r, r->code, dispatch_table[r->code - 1].lowest, dispatch_table[r->code - 1].cls, c.labelled};
    if (r->code == ST_FUNCTION) return shfunc(next);
    if (r->code == ST_SUBROUTINE) return shsub(next);
    uint32_t bit = prefix_bit(r->code);
    if (bit != 0) {
      if (r->code == 82 && ropt.Language == 1) issue(9092);
      // A prefix given twice is reported and the statement read on.
      add_prefix_bit(bit, tk.tokbeg);
      if (r->code == 140 && tk.stacol < rsrc.statend && pstat[tk.stacol] == '(' && !extrinsic_kind()) {
        procprefix_reset();
        skip_statement();
        return 0;
      }
      continue;
    }
    if (key_dtclass(r) != 0) {
      if (procprefix.typed != 0) rd_errmsg(748);
      return r->code == ST_TYPE ? which_TYPE(next) : shvardec(next);
    }
    procprefix_reset();
    rd_errmsg(39);
    skip_statement();
    return 0;
  }
}

// The first prefix keyword of the statement.
static int32_t first_prefix(const StmtCall& c) {
  procprefix_reset();
  procprefix.bits = prefix_bit(c.code);
  if (c.code == 140 && tk.stacol < rsrc.statend && pstat[tk.stacol] == '(' && !extrinsic_kind()) {
    procprefix_reset();
    skip_statement();
    return 0;
  }
  return get_prefix_spec(c);
}

int32_t shrecursive(const StmtCall& c) {
  if (ropt.Language == 1) issue(9092);
  return first_prefix(c);
}
int32_t shpure(const StmtCall& c) { return first_prefix(c); }
int32_t shelemental(const StmtCall& c) { return first_prefix(c); }
int32_t hpf_shextrinsic(const StmtCall& c) { return first_prefix(c); }

int32_t behind_length(int32_t p) {
  if (p >= rsrc.statend || pstat[p] != '*') return p;
  ++p;
  if (p < rsrc.statend && pstat[p] == '(') return behind_parens(p);
  while (p < rsrc.statend && pstat[p] >= '0' && pstat[p] <= '9') ++p;
  return p;
}

int32_t behind_parens(int32_t p) {
  int32_t depth = 0;
  do {
    if (pstat[p] == '(') ++depth;
    if (pstat[p] == ')') --depth;
    ++p;
  } while (depth > 0 && p < rsrc.statend);
  return p;
}

// True when the text at p, after any prefix keywords, is FUNCTION (or
// SUBROUTINE) and a name: a prefixed unit statement, not a declaration.
static bool prefixed_function_at(int32_t p) {
  if (CurStmt[CS_DCOLON] != 0) return false;
  static const char* const words[] = {"RECURSIVE", "PURE", "ELEMENTAL"};
  for (bool more = true; more;) {
    more = false;
    for (const char* w : words) {
      int32_t n = static_cast<int32_t>(std::strlen(w));
      if (rsrc.statend - p > n && std::memcmp(pstat + p, w, n) == 0) {
        p += n;
        more = true;
      }
    }
  }
  if (rsrc.statend - p > 10 && std::memcmp(pstat + p, "SUBROUTINE", 10) == 0 &&
      pstat[p + 10] >= 'A' && pstat[p + 10] <= 'Z' && CurStmt[CS_EQUALS] == 0) {
    return true;
  }
  return rsrc.statend - p > 8 && std::memcmp(pstat + p, "FUNCTION", 8) == 0 &&
         pstat[p + 8] >= 'A' && pstat[p + 8] <= 'Z';
}

// Type declaration; a typed FUNCTION statement goes to the FUNCTION
// handler with its type as the prefix.
int32_t shvardec(const StmtCall& c) {
  int32_t p = behind_length(tk.stacol);
  if (p == tk.stacol && p < rsrc.statend && pstat[p] == '(') p = behind_parens(p);
  if (prefixed_function_at(p)) {
    int32_t tclass = key_dtclass(c.row);
    dtdesc d{};
    if (!read_prefix_type(tclass, &d)) {
      procprefix_reset();
      return skip_statement(), 0;
    }
    procprefix.typed = 1;
    procprefix.tclass = tclass;
    procprefix.type = d;
    return get_prefix_spec(c);
  }
  procprefix_reset();
  return shvardec_decl(c);
}

// TYPE (name) as the prefix of a FUNCTION statement.
static int32_t derived_type_prefix(const StmtCall& c) {
  getokn();
  getokn();
  locsym* t = nullptr;
  if (tk.toktyp == TT_NAME) {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    t = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 0, SC_STRUCT90);
    if (t != nullptr) xrefit(t, QB_REF, tk.tokbeg);
  }
  skiptopar();
  procprefix.typed = 2;
  procprefix.tclass = TC_STRUCT;
  figtyp(&procprefix.type, TC_STRUCT, -4, 0);
  if (t != nullptr && t->sclass == SC_STRUCT90) PSetQStructsym(&procprefix.type, t);
  return get_prefix_spec(c);
}

// TYPE: the I/O statement of some dialects, a derived-type definition or
// a TYPE (name) declaration. The I/O statement starts with its format
// ("TYPE 10", "TYPE *", "TYPE fmt, list"); a "," right after the keyword
// starts the access word of a definition.
int32_t which_TYPE(const StmtCall& c) {
  int32_t ch = pstat[tk.stacol];
  // "TYPE (name) a, b" declares: a format never starts with "(".
  bool io_list = ch != ',' && ch != '(' && CurStmt[CS_COMMA] != 0 && CurStmt[CS_DCOLON] == 0;
  if (ch == '*' || (ch >= '0' && ch <= '9') || io_list) {
    StmtCall io = c;
    io.lowest = CL_EXEC;
    io.cls = CL_EXEC;
    return shio(io);
  }
  if (ch == '(' && prefixed_function_at(behind_parens(tk.stacol))) return derived_type_prefix(c);
  procprefix_reset();
  if (ch == '(') return shvardec_type(c);
  return shtype(c);
}

// True when the statement text from stacol begins with word.
static bool text_at(const char* word) {
  size_t n = std::strlen(word);
  return tk.stacol + static_cast<int32_t>(n) <= rsrc.statend &&
         std::memcmp(pstat + tk.stacol, word, n) == 0;
}

// An assignment by its shape: "=" or "=>" at depth 0, no "," and no "::".
static bool looks_like_assignment() {
  if ((CurStmt[CS_EQUALS] == 0 && CurStmt[CS_ARROW] == 0) || CurStmt[CS_COMMA] != 0 ||
      CurStmt[CS_DCOLON] != 0 || CurStmt[CS_HPF] != 0) {
    return false;
  }
  if (text_at("IF(") || text_at("ELSEIF(") || text_at("WHERE(") || text_at("FORALL(")) return false;
  // OPTIONS /CHECK=NOOVERFLOW: a "/" after the first name cannot follow
  // the variable of an assignment, so the "=" is a qualifier's.
  if (text_at("OPTIONS/")) return false;
  if (text_at("TYPE(") && !(ropt.Language == 1 && CurStmt[CS_EQUALS] != 0)) return false;
  if ((ropt.compiler & 778) && text_at("PARAMETER") && pstat[tk.stacol + 9] != '_') return false;
  return true;
}

// Statement-place checks of INDEPENDENT, FORALL and WHERE.
static void chk_if_stmt_is_expected(const KeyRow* row) {
  int32_t code = row ? row->code : 0;
  bool header = ps.pending_if || ps.pending_where || ps.pending_forall;
  if (ropt.hpf && ps.independent && !header) {
    bool ok = code == ST_DO || (ps.independent == 1 && code == ST_FORALL);
    if (!ok && code != 134) rd_errmsg(ps.independent == 1 ? 761 : 762);
  }
  int32_t top = nest.nestdep > 0 ? nest.e[nest.nestdep].code : 0;
  if (unit.labpro && top == 12 && row != nullptr && code != ST_WHERE && code != ST_FORALL &&
      code != ST_ENDFORALL) {
    rd_errmsg(766);
  }
  if (ps.pending_forall && row != nullptr) rd_errmsg(765);
  if (ps.pending_where && row != nullptr) rd_errmsg(767);
  if ((top == 7 || top == 8) && row != nullptr && code != ST_ELSEWHERE && code != ST_ENDWHERE) {
    rd_errmsg(767);
  }
}

// The message of a statement that is not recognised here.
static void unrecognised(const KeyRow* row) {
  int32_t note = row ? row->f77 : 0;
  if (ropt.Language == 1 && row != nullptr && note == -90) {
    rd_errmsg(634);
  } else if (ropt.Language == 1 && row != nullptr && note == -91) {
    rd_errmsg(791);
  } else if (ropt.Language == 1 && row != nullptr && note == -92 && !ropt.hpf) {
    rd_errmsg(578);
  } else if (ropt.hpf && CurStmt[CS_HPF]) {
    rd_errmsg(577);
  } else {
    rd_errmsg(28);
  }
  skip_statement();
}

// An assignment, a statement-function definition while the declarations
// of the unit are still open, or a pointer assignment.
static void assignment() {
  StmtCall c{nullptr, 0, CL_EXEC, CL_EXEC, 0};
  bool stfunc_shape = unit.parmod < CL_EXEC && pstat[tk.stacol] >= 'A' && pstat[tk.stacol] <= 'Z';
  if (stfunc_shape) {
    int32_t p = tk.stacol;
    while (p < rsrc.statend && ((pstat[p] >= 'A' && pstat[p] <= 'Z') || (pstat[p] >= '0' && pstat[p] <= '9') ||
                               pstat[p] == '_' || pstat[p] == '$')) {
      ++p;
    }
    stfunc_shape = pstat[p] == '(';
    if (stfunc_shape) {
      p = behind_parens(p);
      stfunc_shape = pstat[p] == '=' && pstat[p + 1] != '>';
    }
  }
  // The program database's record of an assignment follows its handler,
  // once the order check has taken it as executable.
  if (stfunc_shape) c.lowest = c.cls = CL_STFUNC;
  tvxstate.assignment_due = false;
  if (ropt.Language != 1 && CurStmt[CS_ARROW] != 0) {
    shptrasm(c);
  } else {
    shasm(c);
  }
  if (tvxstate.assignment_due && tvx_pass() && prgnam != nullptr) {
    TvxPlace a = tvx_start();
    TvxPlace b = tvx_end();
    CTVX_GenRSTMT(a.file, a.line, a.col, b.line, b.col, "fassign");
  }
  tvxstate.assignment_due = false;
}

// Classifies and dispatches the statement text from stacol; returns the
// code of a statement that ends the unit (END, CONTAINS), else 0.
static int32_t dispatch_one(LabelRec* lab, bool& label_done) {
  if (at_end()) {
    // No statement text (a label alone): an unrecognised statement, whose
    // label is still defined after it.
    tk.errcol = rsrc.statbeg;
    unrecognised(nullptr);
    return 0;
  }
  for (;;) {
    cleanStmtKey();
    unit.CurConstructName.clear();
    Status.stmtmark = 0;
    const KeyRow* row = nullptr;
    bool asg = !at_end() && looks_like_assignment();
    if (!asg && !at_end()) {
      row = getkey();
      if (row == nullptr) {
        tk.errcol = tk.stacol;
        unrecognised(nullptr);
        return 0;
      }
      int32_t note = ropt.Language == 1 ? row->f77 : row->f90;
      if (note < 0 && !(note == -92 && ropt.hpf)) {
        tk.errcol = tk.tokbeg;
        unrecognised(row);
        return 0;
      }
      if (note > 0) issue(note);
    }
    if (unit.pabort[0] && !(row != nullptr && isProcEndStmt(row->code)) && Status.interface == 0) {
      skip_statement();
      return 0;
    }
    if (lab != nullptr && !label_done && unit.labpro) {
      int32_t code = row ? row->code : 0;
      int32_t saved = tk.errcol;
      tk.errcol = rsrc.labpos_beg;
      if (code == ST_FORMAT) {
        lhand(lab, 32);
        label_done = true;
      } else if (code != ST_ENDIF) {
        lhand(lab, 2);
        label_done = true;
      }
      tk.errcol = saved;
    }
    chk_if_stmt_is_expected(row);
    if (row == nullptr) {
      ps.independent = 0;
      if (at_end()) return 0;
      assignment();
      return 0;
    }
    int32_t code = row->code;
    if (code == ST_UNDEFINED || code == ST_VIEW) {
      unrecognised(row);
      return 0;
    }
    const DispatchRow& d = dispatch_table[code - 1];
    StmtCall call{row, code, d.lowest, d.cls, lab != nullptr};
    StmtHandler h = d.handler;
    if (code == ST_ENDIF && lab != nullptr && !label_done && unit.labpro) lhand_defining_block(nest.codblk);
    if (code == 125 && CurStmt[CS_HPF]) h = hpf_shsequence;
    // INDEPENDENT alone, or with text, before its handler reads it.
    int32_t independent = code == ST_INDEPENDENT ? (at_end() ? 1 : 2) : 0;
    int32_t oneline = h(call);
    ps.independent = independent;
    if (isProcEndStmt(code) && oneline == END_OF_BODY) return 0;
    if (isProcEndStmt(code) || code == ST_CONTAINS) return code;
    if (oneline && (code == ST_IF || code == ST_WHERE || code == ST_FORALL)) {
      if (code == ST_IF) ++ps.pending_if;
      if (code == ST_WHERE) ++ps.pending_where;
      if (code == ST_FORALL) ++ps.pending_forall;
      ps.prevcode = code;
      std::memcpy(PrevStmt, CurStmt, sizeof CurStmt);
      if (!at_end()) continue;
    }
    return 0;
  }
}

// Work after a statement: close one-line headers, register a label not yet
// registered and close the labelled DO loops that end here.
static void after_statement(int32_t r, LabelRec* lab, bool label_done) {
  for (; ps.pending_if > 0; --ps.pending_if) shifclose();
  for (; ps.pending_where > 0; --ps.pending_where) shwhereclose();
  for (; ps.pending_forall > 0; --ps.pending_forall) hpf_shforallclose();
  if (lab != nullptr && !label_done && unit.labpro) {
    int32_t saved = tk.errcol;
    tk.errcol = rsrc.labpos_beg;
    lhand(lab, 2);
    tk.errcol = saved;
  }
  if (r > 0 && unit.labpro) lenddo(lab);
}

void parse() {
  unit.IsEndOfExtPrg = 0;
  pp_initstmt(0);
  if (unit.parmod == 9 || unit.parmod == 10 || unit.pabort[0]) return;
  ps = ParseState{};
  // A construct-stack overflow gives up the rest of one statement only.
  const int32_t unit_labpro = unit.labpro;
  for (;;) {
    unit.labpro = unit_labpro;
    ps.prevcode = CurStmt[CS_CODE];
    if (tvxstate.finish_pending && tvx_pass()) {
      // DO loops that ended on the label of the statement just read.
      TvxPlace p = tvx_end();
      CTVX_FinishF77Loops(p.file, p.line, p.col);
    }
    int32_t r = nextstat();
    LabelRec* lab = nullptr;
    if (r == 1) {
      tk.tokbeg = rsrc.labpos_beg;
      tk.stacol = rsrc.labpos_end;
      tk.errcol = rsrc.labpos_beg;
      lab = labfind();
      tk.stacol = rsrc.statbeg;
      tk.errcol = rsrc.statbeg;
      if (lab != nullptr && tvx_pass()) {
        // Its record is made when the statement passes the order check.
        TvxPlace a = tvx_start();
        CTVX_DeferLabel(a.file, a.line, lab->value);
      }
    }
    if (r == -1) {
      an.eofile = 1;
      if (Status.interface != 0) {
        tk.errcol = ERRCOL_NOLINES;
        rd_errmsg(690);
        intf_close_blocks();
      }
      if (unit.prgtyp != 0 || prgnam != nullptr) {
        tk.errcol = ERRCOL_NOLINES;
        rd_errmsg(117);
        StmtCall c{nullptr, 0, 0, 0, 0};
        shend(c);
      }
      return;
    }
    bool label_done = false;
    if (r == -3) {
      CTVX_FlushLabel();
      shinclud(ST_INCLUDE);
      after_statement(r, lab, label_done);
      continue;
    }
    if (r == -4) {
      skip_statement();
      continue;
    }
    int32_t end = dispatch_one(lab, label_done);
    // A statement that made no order check still has its label's record.
    if (end == 0) CTVX_FlushLabel();
    tvxstate.label_due = false;
    after_statement(r, lab, label_done);
    if (lab != nullptr && tvx_pass()) CTVX_ActivateF77Loops(lab->value);
    if (end != 0) return;
  }
}
