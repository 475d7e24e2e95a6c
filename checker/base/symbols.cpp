// The state of the program unit being read and its pool.
#include "checker/base/symbols.h"

#include <bit>
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

// The newest pool named "local"; the search is made again only after a pool
// was created or destroyed.
qlist* local_pool() {
  static qlist* found = nullptr;
  static uint64_t found_at = 0;
  if (found != nullptr && found_at == qm_generation()) return found;
  found = nullptr;
  for (qlist* q = qm_allqlists(); q != nullptr; q = q->next) {
    if (std::strcmp(q->name, "local") == 0) {
      found = q;
      break;
    }
  }
  if (found == nullptr) found = qcreate(0, "local");
  found_at = qm_generation();
  return found;
}

void clear_buckets(loc_scope& lv) {
  for (int32_t w = 0; w < LOC_BUCKETS / 64; ++w) {
    for (uint64_t bits = lv.used[w]; bits != 0; bits &= bits - 1) {
      lv.bucket[w * 64 + std::countr_zero(bits)] = nullptr;
    }
    lv.used[w] = 0;
  }
}

void spec_unit_reset() { spec = SpecState{}; }

int32_t get_array_rank(const locsym* sym) {
  int32_t n = 0;
  const arrdim* d = sym != nullptr ? static_cast<const arrdim*>(sym->arrspec) : nullptr;
  for (; d != nullptr && n < 64; d = d->next) ++n;
  return n;
}
