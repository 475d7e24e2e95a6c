// The parts of the program-unit statements that follow the unit's name:
// procedure prefixes (RECURSIVE, PURE, ELEMENTAL, EXTRINSIC, a type), the
// dummy-argument list, a length after a FUNCTION name and the RESULT
// clause, and the checks of a finished PURE or ELEMENTAL procedure.
#pragma once

#include <cstdint>

#include "checker/base/symbols.h"
#include "checker/common/dtype.h"

struct locsym;


// Prefix bits gathered before FUNCTION or SUBROUTINE.
enum : uint32_t {
  PP_ELEMENTAL = 1,
  PP_PURE = 2,
  PP_RECURSIVE = 4,
  PP_EXTRINSIC = 8,
  PP_HPF_LOCAL = 16,
  PP_HPF = 32
};


// The prefix of the statement being read; cleared once applied.
struct ProcPrefix {
  uint32_t bits;    // PP_ bits given
  int32_t typed;    // 0 no type, 1 an intrinsic type, 2 a derived type
  int32_t tclass;   // type class of an intrinsic type prefix
  dtdesc type;      // the prefix type
};
extern ProcPrefix procprefix;
void procprefix_reset();

// Reads a dummy list after its "(" (the current token); the list's last
// token is current afterwards. kind: 5 function, 6 subroutine, 7 program.
// The number of items, -1 after a message.
int32_t getdums(locsym* proc, int32_t kind);

// What follows the name of a PROGRAM (7), SUBROUTINE (6) or FUNCTION (5)
// statement or, with entry set, of an ENTRY statement: the length of a
// function, the dummy list, RESULT and the end of the statement.
void read_unit_tail(locsym* proc, int32_t kind, bool entry);

// Applies the gathered prefix to the procedure symbol.
void shprog_add_prefix(locsym* proc);

// The checks of a PURE or ELEMENTAL procedure whose specification part is
// complete.
void shprog_chk_prefix();

// Reads a prefix keyword's bit into the prefix; false (after 748 or 800)
// when it may not be given.
bool add_prefix_bit(uint32_t bit, int32_t col);

// The USE statement after its keyword (outside the dependency pass): the
// module name, and the ONLY list or the rename list.
void shuse();
