// Assignment, statement-function definition and pointer assignment, with
// the type check of an assignment and the PURE-procedure checks that the
// dynamic-storage statements share.
#pragma once

#include <cstdint>
#include <vector>

#include "checker/base/symbols.h"
#include "checker/common/dtype.h"
#include "checker/reader/dispatch.h"

struct locsym;


// True when names may stand for entities this unit cannot see yet: the
// unit has a USE statement (USE does not copy the module's entities), or
// it is contained in a host whose USE statements are not known here.
bool entities_may_be_hidden();
// True when sym (null: a name not in the table) may be such an entity: not
// declared in the unit, no pointer, target or allocatable, no function
// result or statement function.
bool undeclared_here(const locsym* sym);

int32_t shasm(const StmtCall& c);
int32_t shstafun(const StmtCall& c);
int32_t shptrasm(const StmtCall& c);

// Compares the types and lengths of the two sides of an assignment and
// reports at col: 161, 162, 276, 105.
void ckassign(const dtdesc& left, const dtdesc& right, bool right_const, int32_t col);
// The shapes of the two sides: a dimension whose extents are both known and
// differ gives 538 at col (once). Sides of different ranks are not compared.
void ckassign_extents(const std::vector<int32_t>& left, const std::vector<int32_t>& right,
                      int32_t col);

// In a PURE procedure: an object in global storage (COMMON, module, host)
// gives global_msg, a dummy argument that the procedure may not change
// dummy_msg. -1 after the message, else 0.
int32_t pure_object_check(const locsym* sym, int32_t global_msg, int32_t dummy_msg, int32_t col);
// The checks of an assigned variable (809, 810), of an expression that
// copies a value with a pointer component (813, 814), of a pointer target
// (811, 812) and of an allocated object (815, 816).
int32_t chkAsmVarInPure(const locsym* sym, int32_t col);
int32_t chkAsmExpInPure(const locsym* sym, const dtdesc& type, int32_t col);
int32_t chkTargetInPure(const locsym* sym, int32_t col);
int32_t chkAllocObjInPure(const locsym* sym, int32_t col);
