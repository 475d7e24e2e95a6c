// The state of the program unit being read and its pool.
#include "checker/base/symbols.h"

#include <cstring>

loc_scope ScopeOne[MAX_SCOPES + 1];
loc_scope ScopeTwo[MAX_SCOPES + 1];
loc_scope* Scope = ScopeOne;
UnitStatus Status;
locsym* prgnam;
dtdesc imptbl[27];
int32_t defdtypes[9];
int32_t implicit_none;
int32_t PrintImptypMsg = 1;
SpecState spec;

qlist* local_pool() {
  for (qlist* q = qm_allqlists(); q != nullptr; q = q->next) {
    if (std::strcmp(q->name, "local") == 0) return q;
  }
  return qcreate(0, "local");
}

void spec_unit_reset() { spec = SpecState{}; }

int32_t get_array_rank(const locsym* sym) {
  int32_t n = 0;
  const arrdim* d = sym != nullptr ? static_cast<const arrdim*>(sym->arrspec) : nullptr;
  for (; d != nullptr && n < 64; d = d->next) ++n;
  return n;
}
