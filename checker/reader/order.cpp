// The statement-order check that every statement handler passes first
// (tstord): where the statement may stand in its program unit, the unnamed
// main program that a first executable statement opens, and the close of
// the specification part at the first executable statement.
#include <iterator>
#include <string>

#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tvxutil.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/hpfstmt.h"
#include "checker/reader/unitstmt.h"
#include "checker/semantics/datainit.h"
#include "checker/semantics/equivalence.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/sizes.h"

// Names of the statement classes, as message 74 gives them.
static const char* const class_names[] = {
    "",
    "option statement",
    "program type declaration",
    "use statement",
    "implicit none statement",
    "implicit statement",
    "specification statement",
    "statement function definition",
    "executable statement",
    "contains statement",
    "end statement"};
static_assert(std::size(class_names) == CL_END + 1);

void defprg() {
  if (Status.scope_level >= 1 && prgnam != nullptr) rd_errmsg(660);
  increase_scoping_level();
  ++unit.unnamedprogs;
  std::string name = "Program";
  if (unit.unnamedprogs > 1) name += std::to_string(unit.unnamedprogs);
  locsym* sym = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1 | 2, 0);
  if (sym != nullptr) {
    sym->sclass = SC_PROG;
    sym->usage |= QB_SET | QB_DECL;
    set_current_unit(sym);
  }
  unit.prgtyp = 7;
  Status.nesting = Status.nesting < 1 ? 1 : Status.nesting;
}

int32_t tstord(int32_t lowest, int32_t cls) {
  if (unit.interface_body) {
    if (cls == CL_STFUNC || cls == CL_CONTAINS) {
      rd_errmsg(692);
      return 0;
    }
    if (cls == CL_EXEC) {
      rd_errmsg(186);
      return 0;
    }
    if (prgnam == nullptr && cls > CL_PROGTYPE && !unit.IsEndOfExtPrg) {
      rd_errmsg(66);
      return 0;
    }
  } else {
    if (unit.prgtyp == 12 && cls == CL_STFUNC) {
      rd_errmsg(699);
      return 0;
    }
    if (unit.prgtyp == 12 && cls == CL_EXEC) {
      rd_errmsg(186);
      return 0;
    }
    if (prgnam == nullptr && cls > CL_PROGTYPE && !unit.IsEndOfExtPrg) defprg();
    if (unit.prgtyp == 8 && cls == CL_EXEC) {
      rd_errmsg(186);
      return 0;
    }
  }
  if (cls >= CL_EXEC && unit.parmod < CL_EXEC && !an.MakingDep && !unit.spec_closed) {
    unit.spec_closed = 1;
    close_specification_part();
    // Storage sizes, then the unit's EQUIVALENCE and DATA groups.
    setsizes();
    if (an.lpass == 1) {
      proceqv();
      procdata();
    }
    shprog_chk_prefix();
    if (ropt.hpf) hpf_proc_mapping();
  } else if (cls >= CL_CONTAINS && an.lpass == 1 && !an.MakingDep) {
    // DATA groups among the executable statements.
    procdata();
  }
  if (unit.parmod > lowest) {
    int32_t first = 0;
    for (int32_t c = lowest + 1; c <= CL_EXEC; ++c) {
      if (unit.pabort[c] != 0) {
        first = c;
        break;
      }
    }
    if (first != 0) {
      if (an.lpass == 1) rd_errmsg(74);
      return 0;
    }
  } else if (cls > unit.parmod) {
    unit.parmod = cls;
  }
  if (unit.parmod >= 1 && unit.parmod <= CL_END && unit.pabort[unit.parmod] == 0) {
    unit.pabort[unit.parmod] = rsrc.codlno;
  }
  if (cls == CL_EXEC && unit.body_begin == 0) {
    unit.body_begin = rsrc.codlno;
    if (an.lpass == 1) {
      // The routine's first executable statement starts its body.
      int32_t line = 0;
      int32_t col = 0;
      tvx_stmt_start(line, col);
      CTVX_GenRSTART(CTVX_GetCurrentFileId(), line, col);
    }
  }
  if (an.lpass == 1) {
    // The statement's label comes after the routine's rstart line; an
    // assignment taken as executable gets its record after its handler.
    CTVX_FlushLabel();
    if (cls == CL_EXEC && stmtIsAssignmt() && prgnam != nullptr) tvxstate.assignment_due = true;
  }
  if (unit.rtn_begin == 0) unit.rtn_begin = rsrc.codlno;
  unit.rtn_end = rsrc.codlno;
  if (an.MakingDep && cls >= 4 && cls <= CL_EXEC && !stmtIs(ST_INTERFACE)) return 0;
  return 1;
}

const char* statement_class_name(int32_t cls) {
  return cls >= 0 && cls <= CL_END ? class_names[cls] : "";
}
