// Attribute conflicts of Fortran 90 declarations: a table of the pairs of
// attributes that exclude each other, the places where an attribute may not
// stand, and the kinds of symbol that may not take it.
#include "checker/reader/attrcheck.h"

#include "checker/common/qualcodes.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/statement.h"
#include "checker/reader/unitstmt.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"

namespace {

// One pair that excludes each other: the attribute, the attributes it may
// not stand with, the message; rows of one attribute in the order tested.
struct AttrConflict {
  uint32_t bit;
  uint32_t with;
  int32_t msg;
};
const AttrConflict attr_conflicts[] = {
    {AB_INTENT, AB_POINTER, 626},
    {AB_PRIVATE, AB_PUBLIC, 631},
    {AB_PUBLIC, AB_PRIVATE, 631},
    {AB_POINTER, AB_INTENT | AB_EXTERNAL | AB_INTRINSIC, 626},
    {AB_POINTER, AB_ALLOCATABLE, 627},
    {AB_ALLOCATABLE, AB_POINTER, 627},
    {AB_TARGET, AB_PARAMETER, 625},
    {AB_TARGET, AB_EXTERNAL | AB_INTRINSIC, 628},
    {AB_PARAMETER, AB_TARGET, 625},
    {AB_EXTERNAL, AB_POINTER, 626},
    {AB_EXTERNAL, AB_TARGET, 628},
    {AB_EXTERNAL, AB_INTRINSIC, 629},
    {AB_INTRINSIC, AB_POINTER, 626},
    {AB_INTRINSIC, AB_TARGET, 628},
    {AB_INTRINSIC, AB_EXTERNAL, 629},
    {AB_AUTOMATIC, AB_STATIC, 788},
    {AB_STATIC, AB_AUTOMATIC, 788},
};

bool in_definition() { return dts.structdepth > 0; }
bool is_dummy(const locsym* s) { return (s->usage & QB_DUM) != 0; }

// The symbol is a function result: a RESULT variable, or the name of the
// function (or of an entry) that has none.
bool is_result(const locsym* s) {
  if ((s->sclass == SC_VAR || s->sclass == SC_REC90) && s->squal == SQ_FUNCVAR) return true;
  return s->sclass == SC_FUNC && s->locdata == nullptr && prgnam != nullptr &&
         prgnam->sclass == SC_FUNC && (s == prgnam || s->owner == prgnam);
}

}  // namespace

int32_t attr_set_conflict(uint32_t bit, uint32_t set) {
  if (bit & AB_INTENT) bit = AB_INTENT;
  if (in_definition()) {
    bool allowed = bit == AB_POINTER || bit == AB_DIMENSION ||
                   (bit == AB_ALLOCATABLE && (ropt.compiler & 0x40000));
    if (!allowed) return 644;
  }
  if (bit == AB_INTENT && unit.prgtyp != 5 && unit.prgtyp != 6) return 621;
  if ((bit == AB_PRIVATE || bit == AB_PUBLIC) && unit.prgtyp != 12) return 617;
  if (bit == AB_AUTOMATIC && unit.prgtyp == 12) return 780;
  for (const AttrConflict& c : attr_conflicts) {
    if (c.bit == bit && (set & c.with) != 0) return c.msg;
  }
  return 0;
}

int32_t attr_symbol_conflict(uint32_t bit, const locsym* s) {
  if (s == nullptr) return 0;
  if (bit & AB_INTENT) bit = AB_INTENT;
  switch (bit) {
    case AB_INTENT:
      if (!is_dummy(s)) return 632;
      if (s->squal == SQ_DUMRTN || (s->attrib & AB_EXTERNAL)) return 620;
      break;
    case AB_OPTIONAL:
      if (!is_dummy(s)) return 632;
      break;
    case AB_ALLOCATABLE:
    case AB_PARAMETER:
      if (is_dummy(s) || is_result(s)) return 633;
      break;
    case AB_INTRINSIC:
      if (is_dummy(s)) return 22;
      if (intrin_lookup(s->name) == nullptr) return 158;
      break;
    case AB_SAVE:
      return chk_att90_save(s, false);
    case AB_AUTOMATIC:
      if (s->props & CP_COMBLK) return 778;
      if (s->attrib & 0x8000) return 779;
      break;
    case AB_STATIC:
      if (s->attrib & 0x8000) return 779;
      if (is_dummy(s) || is_result(s)) return 781;
      break;
    case AB_VOLATILE:
      switch (s->sclass) {
        case 5: case 6: case 7: case 8: case 9: case 12: return 782;
        default: break;
      }
      if (is_result(s)) return 782;
      break;
    default:
      break;
  }
  // Attributes the symbol holds from earlier statements.
  uint32_t held = s->attrib & ~bit;
  for (const AttrConflict& c : attr_conflicts) {
    if (c.bit == bit && (held & c.with) != 0) return c.msg;
  }
  return 0;
}

int32_t chk_att90_save(const locsym* s, bool in_save_statement) {
  if (s == nullptr || s->sclass == SC_COM) return 0;
  if (!in_save_statement && is_result(s)) return 633;
  if (in_save_statement && s->sclass != 0 && s->sclass != 2 && s->sclass != 11 &&
      s->sclass != 18) {
    return 481;
  }
  if (is_dummy(s)) return 454;
  if (s->attrib & AB_AUTOMATIC) return 455;
  if (prgnam != nullptr && (prgnam->attrib & ATTR_PURE_PROC)) return 807;
  return 0;
}
