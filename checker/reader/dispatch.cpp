// Statement dispatch: reads the statements of a program unit, classifies
// each (assignment or keyword statement), checks that the language allows
// it, registers its label, calls its handler, and closes one-line IF,
// WHERE and FORALL statements and labelled DO loops after it.
#include "checker/reader/dispatch.h"

#include <cstring>
#include <string>

#include "checker/makedep.h"
#include "checker/reader/analyze.h"
#include "checker/reader/dertype.h"
#include "checker/reader/attrstmt.h"
#include "checker/reader/commonstmt.h"
#include "checker/reader/datastmt.h"
#include "checker/reader/directives.h"
#include "checker/reader/equivstmt.h"
#include "checker/reader/hpfstmt.h"
#include "checker/reader/pointerstmt.h"
#include "checker/reader/services.h"
#include "checker/reader/source.h"
#include "checker/reader/specstmt.h"
#include "checker/reader/statement.h"
#include "checker/reader/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"
#include "checker/tvxutil.h"

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

// Order state of the unit around an interface body, which has its own.
struct BodySave {
  int32_t parmod;       // the enclosing unit's highest class
  int32_t pabort[11];   // and its first lines per class
  int32_t prgtyp;       // its kind
};
static BodySave body_save;

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

// Prefix bits gathered before FUNCTION or SUBROUTINE: 1 ELEMENTAL, 2 PURE,
// 4 RECURSIVE, 8 EXTRINSIC, 16 EXTRINSIC(HPF_LOCAL), 32 EXTRINSIC(HPF).
static uint32_t proc_prefix;

// Adds the bits of one prefix keyword: a prefix given twice is 748,
// RECURSIVE together with EXTRINSIC(HPF_LOCAL) 800.
static void add_prefix(uint32_t bits, int32_t col) {
  tk.errcol = col;
  uint32_t once = bits & 0xFu;
  if (proc_prefix & once) {
    rd_errmsg(748);
    return;
  }
  uint32_t both = proc_prefix | bits;
  if ((both & 0x4u) && (both & 0x10u)) {
    rd_errmsg(800);
    return;
  }
  proc_prefix = both;
}

// The EXTRINSIC prefix bits of the unit just begun, with the HPF option.
static void apply_prefix() {
  if (ropt.hpf && prgnam != nullptr && (proc_prefix & 0x8u)) {
    prgnam->hpfbits |= HPF_EXTRINSIC;
    if (proc_prefix & 0x20u) prgnam->hpfbits |= HPF_EXTR_HPF;
    if (proc_prefix & 0x10u) prgnam->hpfbits |= HPF_EXTR_LOCAL;
  }
  proc_prefix = 0;
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

static locsym* begin_unit(const std::string& name, int32_t sclass, int32_t kind) {
  increase_scoping_level();
  locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1 | 2 | 4, 0);
  if (s != nullptr) {
    s->sclass = static_cast<uint8_t>(sclass);
    s->usage |= QB_SET | QB_DECL;
    set_current_unit(s);
  }
  unit.prgtyp = kind;
  ++Status.nesting;
  return s;
}

// Consumes a parenthesised list after the name.
static void skip_dummies() {
  if (at_end()) return;
  getokn();
  if (tk.toktyp == TT_OTHER && tk.tok1 == '(') skiptopar();
}

// The common part of the program-unit statements: order check, the unit's
// name (optional for BLOCK DATA, where an unnamed unit gets a running
// name) and its scope level. False when the statement is not taken.
static bool unit_statement(const StmtCall& c, int32_t sclass, int32_t kind, int32_t name_msg) {
  if (Status.interface == 1 && (kind == 5 || kind == 6) && Status.scope_level < MAX_SCOPES) {
    // An interface body: a scope level of its own inside the enclosing unit.
    std::string name;
    if (!unit_name(name)) {
      rd_errmsg(name_msg);
      skip_statement();
      return false;
    }
    body_save.parmod = unit.parmod;
    std::memcpy(body_save.pabort, unit.pabort, sizeof unit.pabort);
    body_save.prgtyp = unit.prgtyp;
    unit.parmod = CL_PROGTYPE;
    std::memset(unit.pabort + 1, 0, sizeof unit.pabort - sizeof unit.pabort[0]);
    increase_scoping_level();
    locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1 | 2 | 4, 0);
    if (s != nullptr) {
      s->sclass = static_cast<uint8_t>(sclass);
      s->attrib |= 0x2000000;
      set_current_unit(s);
    }
    unit.prgtyp = kind;
    Status.interface = 2;
    unit.interface_body = 1;
    return true;
  }
  bool nested;
  if (!open_unit(nested) || !tstord(CL_PROGTYPE, CL_PROGTYPE)) {
    skip_statement();
    return false;
  }
  (void)c;
  std::string name;
  if (kind == 8 && at_end()) {
    ++unit.unnamedbdatas;
    name = "Blockdata";
    if (unit.unnamedbdatas > 1) name += std::to_string(unit.unnamedbdatas);
  } else if (!unit_name(name)) {
    rd_errmsg(name_msg);
    skip_statement();
    return false;
  }
  begin_unit(name, sclass, kind);
  return true;
}

// PROGRAM name [(args)]
int32_t shprog(const StmtCall& c) {
  if (!unit_statement(c, SC_PROG, 7, 18)) return 0;
  tvx_unit_start(1);
  skip_dummies();
  chk_endofline(1);
  return 0;
}

// Marks the names of the dummy-argument list that follows the unit's name
// as dummy arguments (the mapping directives ask for them).
static void mark_dummies() {
  if (tk.stacol >= rsrc.statend || pstat[tk.stacol] != '(') return;
  getokn();
  for (;;) {
    getokn();
    if (tk.toktyp == TT_NAME) {
      int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
      locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
      if (s != nullptr) flaguse(s, QB_DUM, tk.tokbeg);
      getokn();
    }
    if (!(tk.toktyp == TT_OTHER && tk.tok1 == ',')) return;
  }
}

// SUBROUTINE name [([dummies])]
int32_t shsub(const StmtCall& c) {
  if (unit_statement(c, SC_SUB, 6, 24)) {
    apply_prefix();
    tvx_unit_start(1);
    mark_dummies();
    skip_statement();
  }
  return 0;
}

// [type] FUNCTION name ([dummies]) [RESULT (name)]
int32_t shfunc(const StmtCall& c) {
  if (unit_statement(c, SC_FUNC, 5, 24)) {
    apply_prefix();
    tvx_unit_start(2);
    mark_dummies();
    skip_statement();
  }
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

// USE name [, rename-list | , ONLY : only-list]: the dependency pass
// records the module used; the rest of the statement is still to come.
int32_t which_USE(const StmtCall& c) {
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  std::string name;
  if (an.MakingDep && unit_name(name)) mkdep_add_module_use(name.c_str());
  skip_statement();
  return 0;
}

// END [PROGRAM|SUBROUTINE|FUNCTION|MODULE|BLOCK DATA [name]]
int32_t shend(const StmtCall& c) {
  if (Status.interface == 2 && c.code != 0) {
    // The end of an interface body: back in the enclosing unit.
    skip_statement();
    decrease_scoping_level();
    Status.interface = 1;
    unit.interface_body = 0;
    unit.parmod = body_save.parmod;
    std::memcpy(unit.pabort, body_save.pabort, sizeof unit.pabort);
    unit.prgtyp = body_save.prgtyp;
    return END_OF_BODY;
  }
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (c.code != ST_END && !at_end()) {
    std::string name;
    if (c.code == ST_ENDBLOCKDATA || unit_name(name)) {
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
    if (std::memchr(routine_classes, prgnam->sclass, sizeof routine_classes) != nullptr) {
      int32_t prev = ps.prevcode;
      bool ended = ((prev == ST_RETURN_CODE || prev == ST_STOP_CODE) && !tvxstate.VTVX_PrevIf) ||
                   isProcEndStmt(prev);
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
    Status.interface = 0;
  }
  bool host = prgnam != nullptr && (prgnam->attrib & 0x10000) != 0 && Status.scope_level == 1 &&
              Status.nesting <= 1;
  unit.parmod = host ? 9 : 10;
  if (Status.nesting > 0) --Status.nesting;
  if (Status.scope_level <= 1) unit.IsEndOfExtPrg = 1;
  return 0;
}

// [ABSTRACT] INTERFACE [generic-spec]
int32_t shinterface(const StmtCall& c) {
  if (tstord(c.lowest, c.cls)) Status.interface = 1;
  skip_statement();
  return 0;
}

// END INTERFACE [generic-spec]
int32_t shendinterface(const StmtCall& c) {
  if (tstord(c.lowest, c.cls)) Status.interface = 0;
  skip_statement();
  return 0;
}

// CONTAINS
int32_t shcontains(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  chk_endofline(1);
  if (Status.scope_level > 1 && unit.prgtyp != 12) {
    rd_errmsg(612);
    return 0;
  }
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

// DO [label] [,] var = e1, e2 [, e3] | DO [label] [,] WHILE (e) | DO
int32_t shdo(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  int32_t tvxlabel = 0;
  TvxPlace tvxp = tvx_start();
  getokn();
  if (tk.toktyp == TT_DIGITS && unit.labpro) {
    LabelRec* lab = labfind();
    if (lab != nullptr) {
      lhand(lab, 8);
      if (push_construct(5, 6)) nest.e[nest.nestdep].label = lab->value;
      tvxlabel = lab->value;
    }
  } else {
    push_construct(4, 6);
  }
  if (tvx_pass()) CTVX_StartLoop(tvxp.file, tvxp.line, tvxp.col, tvxlabel);
  skip_statement();
  return 0;
}

// END DO [name]
int32_t shenddo(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  TvxPlace tvxe = tvx_end();
  std::string name;
  if (!trailing_construct_name(name)) return 0;
  if (!unit.labpro) return 0;
  if (nest.nestdep == 0 || (nest.e[nest.nestdep].code != 4 && nest.e[nest.nestdep].code != 5)) {
    rd_errmsg(114);
    return 0;
  }
  check_construct_name(name, true);
  // The program database ends the loop only when END DO closes one.
  if (tvx_pass()) CTVX_FinishF90Loop(tvxe.file, tvxe.line, tvxe.col);
  nest_pop();
  return 0;
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
  if (get_left_parenthesis(1) != 0) return skip_statement(), 0;
  skiptopar();
  if (!(tk.toktyp == TT_OTHER && tk.tok1 == ')')) {
    rd_errmsg(7);
    return 0;
  }
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
  if (pstat[after] >= '0' && pstat[after] <= '9') {
    // Arithmetic IF: three labels; obsolescent in Fortran 90.
    if (ropt.Language == 2) {
      tk.errcol = rsrc.statbeg;
      rd_errmsg(600);
    }
    for (;;) {
      getokn();
      if (tk.toktyp == TT_DIGITS) lhand(labfind(), 1);
      getokn();
      if (!(tk.toktyp == TT_OTHER && tk.tok1 == ',')) break;
    }
    return 0;
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

// The EXTRINSIC keyword just read at col: its kind, then its bits.
static bool extrinsic_prefix(int32_t col) {
  uint32_t bits = hpf_extrinsic_kind();
  if (bits == 0) return false;
  add_prefix(bits, col);
  return true;
}

// A prefixed statement: RECURSIVE, PURE, ELEMENTAL, EXTRINSIC or a type
// before FUNCTION or SUBROUTINE.
static int32_t get_prefix_spec(const StmtCall& c) {
  for (;;) {
    const KeyRow* r = getkey();
    if (r == nullptr) {
      rd_errmsg(39);
      skip_statement();
      return 0;
    }
    int32_t col = tk.tokbeg;
    StmtCall next{r, r->code, dispatch_table[r->code - 1].lowest, dispatch_table[r->code - 1].cls, c.labelled};
    int32_t result = 0;
    if (r->code == ST_FUNCTION) {
      result = shfunc(next);
    } else if (r->code == ST_SUBROUTINE) {
      result = shsub(next);
    } else if (r->code == 82 || r->code == 130 || r->code == 143) {
      add_prefix(r->code == 82 ? 4u : r->code == 130 ? 2u : 1u, col);
      continue;
    } else if (r->code == 140) {
      if (extrinsic_prefix(col)) continue;
      skip_statement();
    } else if (key_dtclass(r) != 0) {
      result = shvardec(next);
    } else {
      rd_errmsg(39);
      skip_statement();
    }
    proc_prefix = 0;
    return result;
  }
}

int32_t shrecursive(const StmtCall& c) {
  if (ropt.Language == 1) issue(9092);
  proc_prefix = 4;
  return get_prefix_spec(c);
}
int32_t shpure(const StmtCall& c) {
  proc_prefix = 2;
  return get_prefix_spec(c);
}
int32_t shelemental(const StmtCall& c) {
  proc_prefix = 1;
  return get_prefix_spec(c);
}
// EXTRINSIC [(kind)] prefix
int32_t hpf_shextrinsic(const StmtCall& c) {
  proc_prefix = 0;
  if (!extrinsic_prefix(tk.tokbeg)) return skip_statement(), 0;
  return get_prefix_spec(c);
}

// The pstat position behind the parenthesis that closes the one at p.
static int32_t behind_parens(int32_t p) {
  int32_t depth = 0;
  do {
    if (pstat[p] == '(') ++depth;
    if (pstat[p] == ')') --depth;
    ++p;
  } while (depth > 0 && p < rsrc.statend);
  return p;
}

// Type declaration; a typed FUNCTION statement goes to the FUNCTION
// handler.
int32_t shvardec(const StmtCall& c) {
  int32_t p = tk.stacol;
  if (p < rsrc.statend && pstat[p] == '*') {
    ++p;
    if (p < rsrc.statend && pstat[p] == '(') {
      p = behind_parens(p);
    } else {
      while (p < rsrc.statend && pstat[p] >= '0' && pstat[p] <= '9') ++p;
    }
  } else if (p < rsrc.statend && pstat[p] == '(') {
    p = behind_parens(p);
  }
  if (rsrc.statend - p > 8 && std::memcmp(pstat + p, "FUNCTION", 8) == 0 &&
      pstat[p + 8] >= 'A' && pstat[p + 8] <= 'Z' && CurStmt[CS_DCOLON] == 0) {
    tk.stacol = p + 8;
    return shfunc(c);
  }
  return shvardec_decl(c);
}

// TYPE: the I/O statement of some dialects, a derived-type definition or
// a TYPE (name) declaration. The I/O statement starts with its format
// ("TYPE 10", "TYPE *", "TYPE fmt, list"); a "," right after the keyword
// starts the access word of a definition.
int32_t which_TYPE(const StmtCall& c) {
  int32_t ch = pstat[tk.stacol];
  bool io_list = ch != ',' && CurStmt[CS_COMMA] != 0 && CurStmt[CS_DCOLON] == 0;
  if (ch == '*' || (ch >= '0' && ch <= '9') || io_list) {
    StmtCall io = c;
    io.lowest = CL_EXEC;
    io.cls = CL_EXEC;
    return shio(io);
  }
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
  if (text_at("IF(") || text_at("WHERE(") || text_at("FORALL(")) return false;
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
  if (stfunc_shape) c.lowest = c.cls = CL_STFUNC;
  if (!stfunc_shape && tvx_pass() && prgnam != nullptr) {
    TvxPlace a = tvx_start();
    TvxPlace b = tvx_end();
    CTVX_GenRSTMT(a.file, a.line, a.col, b.line, b.col, "fassign");
  }
  if (ropt.Language != 1 && CurStmt[CS_ARROW] != 0) {
    shptrasm(c);
  } else {
    shasm(c);
  }
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
  for (;;) {
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
      if (lab != nullptr && tvx_pass() && prgnam != nullptr) {
        TvxPlace a = tvx_start();
        TvxPlace b = tvx_end();
        CTVX_GenLabel(a.file, a.line, a.col, b.line, b.col, lab->value);
      }
    }
    if (r == -1) {
      an.eofile = 1;
      if (Status.interface != 0) {
        tk.errcol = ERRCOL_NOLINES;
        rd_errmsg(690);
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
      shinclud(ST_INCLUDE);
      after_statement(r, lab, label_done);
      continue;
    }
    if (r == -4) {
      skip_statement();
      continue;
    }
    int32_t end = dispatch_one(lab, label_done);
    after_statement(r, lab, label_done);
    if (lab != nullptr && tvx_pass()) CTVX_ActivateF77Loops(lab->value);
    if (end != 0) return;
  }
}
