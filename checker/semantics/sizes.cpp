// Storage sizes of variables, records and structures: what one value of a
// type takes, times the elements, summed over the components of a
// structure. A structure that contains itself has no size (-2).
#include "checker/semantics/sizes.h"

#include "checker/common/qualcodes.h"
#include "checker/reader/dertype.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"

namespace {

constexpr uint32_t AT_POINTER = 0x2;

// Structures whose size is being computed (a structure met again inside
// itself has no size).
constexpr int32_t MAX_OPEN = 64;
const locsym* open_structs[MAX_OPEN];
int32_t n_open = 0;

int32_t times(int32_t a, int32_t b) {
  int64_t n = static_cast<int64_t>(a) * b;
  return n > INT32_MAX ? -2 : static_cast<int32_t>(n);
}

}  // namespace

int32_t getnumele(const locsym* sym) {
  int64_t n = 1;
  int32_t count = 0;
  for (const arrdim* d = static_cast<const arrdim*>(sym->arrspec); d != nullptr && count <= MAX_DIMS;
       d = d->next, ++count) {
    if (d->flags & (1 | 2 | 4 | 8 | 16 | 64 | 128)) return 0;
    int64_t extent = static_cast<int64_t>(d->upper) - d->lower + 1;
    if (extent < 0) extent = 0;
    n *= extent;
    if (n > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(n);
}

int32_t gettypsiz(const dtdesc& type) {
  if (type.code == DT_CHAR) return type.value > 0 ? type.value : 0;
  if (type.code >= 1 && type.code < dtstuff_rows && dtstuff[type.code].size > 0)
    return dtstuff[type.code].size;
  if (type.code >= 1 && type.code < dtstuff_rows && dtstuff[type.code].size == -1)
    return dtopts.deflen[getdtname(type.code)] > 0 ? dtopts.deflen[getdtname(type.code)] : 4;
  return 0;
}

int32_t setsizvar(locsym* sym) {
  if (sym->attrib & AT_POINTER) return sym->size = 4;
  int32_t n = getnumele(sym), t = gettypsiz(sym->type);
  sym->size = n == 0 || t == 0 ? -2 : times(n, t);
  return sym->size;
}

int32_t setsizrec(locsym* sym) {
  int32_t n = getnumele(sym);
  if (sym->attrib & AT_POINTER) return sym->size = n == 0 ? -2 : times(4, n);
  locsym* st = sym->type.tag == 'q' ? sym->type.sym : nullptr;
  if (n == 0 || st == nullptr) return sym->size = -2;
  int32_t s = st->size != 0 ? st->size : setsizstruct(st);
  sym->size = s == -2 ? -2 : times(n, s);
  return sym->size;
}

int32_t setsizstruct(locsym* structure) {
  for (int32_t i = 0; i < n_open; ++i) {
    if (open_structs[i] == structure) return -2;
  }
  if (n_open >= MAX_OPEN) return -2;
  open_structs[n_open++] = structure;
  int32_t total = 0;
  for (const FieldNode* f = static_cast<const FieldNode*>(structure->list); f != nullptr; f = f->next) {
    locsym* c = f->sym;
    if (c == nullptr) continue;
    bool record = c->type.code == DT_REC || c->type.code == DT_TYPE;
    int32_t s = record ? setsizrec(c) : setsizvar(c);
    if (s == -2 || total == -2) {
      total = -2;
      break;
    }
    int64_t sum = static_cast<int64_t>(total) + s;
    total = sum > INT32_MAX ? -2 : static_cast<int32_t>(sum);
  }
  --n_open;
  structure->size = total;
  return total;
}
