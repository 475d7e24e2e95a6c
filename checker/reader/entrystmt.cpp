// ENTRY statements: a further entry name of an external or module FUNCTION
// or SUBROUTINE, with its dummy list and, in a function, its RESULT name.
#include <cstdint>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/reader/dispatch.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/unitstmt.h"
#include "checker/semantics/locsym.h"

namespace {

constexpr int32_t MAX_ENTRIES = 1000;

// The entry names of the unit being read.
struct EntryTable {
  const locsym* unit;             // unit the entries belong to
  int32_t count;                  // entries of that unit
  int32_t most;                   // largest count of the run
  locsym* names[MAX_ENTRIES];
};
EntryTable entries;

// True in an external procedure or a module procedure.
bool entry_allowed() {
  if (prgnam == nullptr || (unit.prgtyp != 5 && unit.prgtyp != 6)) return false;
  if (Status.scope_level == 1) return true;
  const locsym* host = loc_parent_scope();
  return Status.scope_level == 2 && host != nullptr && host->sclass == SC_MODULE;
}

// Records the entry; false after the table overflowed.
bool add_entry(locsym* s) {
  if (entries.unit != prgnam) {
    entries.unit = prgnam;
    entries.count = 0;
  }
  if (entries.count >= MAX_ENTRIES) {
    rd_outstr("INTERNAL OVERFLOW - exceeded ENAMES max of " + std::to_string(MAX_ENTRIES) + "\n");
    ++unit.statfe;
    unit.pabort[0] = 1;
    return false;
  }
  entries.names[entries.count++] = s;
  if (entries.count > entries.most) entries.most = entries.count;
  return true;
}

}  // namespace

// ENTRY name [([dummies])] [RESULT (name)]
int32_t shentry(const StmtCall& c) {
  if (Status.interface == 2) {
    msg_at(692, rsrc.statbeg);
    return skip_statement(), 0;
  }
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!entry_allowed()) {
    msg_at(104, rsrc.statbeg);
    return skip_statement(), 0;
  }
  int32_t namecol = 0;
  int32_t len = 0;
  if (!read_statement_name(&namecol, &len)) return 0;
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
  if (s == nullptr) {
    msg_at(24, namecol);
    return skip_statement(), 0;
  }
  // A name only typed so far may become an entry name, keeping its type.
  bool only_declared = (s->usage & ~static_cast<uint32_t>(QB_DECL)) == 0 && s->arrspec == nullptr &&
                       s->attrib == 0;
  bool fresh = s->sclass == SC_UNK || (s->sclass == SC_VAR && only_declared);
  if (!fresh) {
    xrefit(s, 64, namecol);
    msg_at(22, namecol);
    return skip_statement(), 0;
  }
  bool function = unit.prgtyp == 5;
  s->sclass = static_cast<uint8_t>(function ? SC_FUNC : SC_SUB);
  if (function && s->type.code == 0) imptypit(s, namecol);
  if (!add_entry(s)) return skip_statement(), 0;
  flaguse(s, QB_SET | QB_DECL, namecol);
  s->owner = prgnam;
  read_unit_tail(s, function ? 5 : 6, true);
  if (function && s->locdata == nullptr) hidefuncvar(s);
  return 0;
}
