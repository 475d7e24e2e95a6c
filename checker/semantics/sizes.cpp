// Storage sizes of variables, records and structures: what one value of a
// type takes, times the elements, summed over the components of a
// structure. A structure that contains itself has no size (-2).
#include "checker/semantics/sizes.h"

#include "checker/common/qualcodes.h"
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

// Bound flags of a dimension whose bounds are not both constants.
constexpr uint8_t NOT_CONSTANT = 95;

// Gives an untyped name the type of its IMPLICIT row when the row has one;
// a name without one is left to the end of the unit, which reports it.
void implicit_type(locsym* s) {
  if (s->type.code != 0 || s->name == nullptr) return;
  int32_t c = static_cast<unsigned char>(s->name[0]);
  int32_t row = c >= 'A' && c <= 'Z' ? c - 'A' : 26;
  chk_imptyp(row);
  if (imptbl[row].code != 0) imptypit(s, 0);
}

}  // namespace

int32_t getnumele(const locsym* sym) {
  int64_t n = 1;
  int32_t count = 0;
  for (const arrdim* d = static_cast<const arrdim*>(sym->arrspec); d != nullptr && count <= MAX_DIMS;
       d = d->next, ++count) {
    if (d->flags & NOT_CONSTANT) return 0;
    int64_t extent = static_cast<int64_t>(d->upper) - d->lower + 1;
    if (extent < 0) extent = 0;
    n *= extent;
    if (n > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(n);
}

int32_t getnumdims(const locsym* sym) {
  int32_t d = 0;
  for (const arrdim* a = static_cast<const arrdim*>(sym->arrspec); a != nullptr && d <= MAX_DIMS; a = a->next) ++d;
  return d;
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

int32_t member_size(locsym* s) {
  if (s->size != 0) return s->size;
  // A variable of a derived type is a record until the unit ends.
  bool record = s->type.code == DT_REC || s->type.code == DT_TYPE;
  if (s->sclass == SC_REC || s->sclass == SC_REC90 || (s->sclass == SC_VAR && record)) return setsizrec(s);
  if (s->sclass == SC_VAR) return setsizvar(s);
  return -2;
}

int32_t setsizcom(locsym* block) {
  int64_t run = 0;
  int64_t end = 0;
  bool unknown = false;
  for (ComMember* m = static_cast<ComMember*>(block->list); m != nullptr; m = m->next) {
    locsym* s = m->sym;
    if (s == nullptr) continue;
    if (s->usage & QB_ALI) {
      // Placed by EQUIVALENCE: it keeps its offset and may reach further.
      int32_t size = member_size(s);
      if (size == -2 || s->offset == -2) {
        unknown = true;
      } else if (s->offset + static_cast<int64_t>(size) > end) {
        end = s->offset + static_cast<int64_t>(size);
      }
      continue;
    }
    if (unknown) {
      s->offset = -2;
      member_size(s);
      continue;
    }
    s->offset = static_cast<int32_t>(run);
    int32_t size = member_size(s);
    if (size == -2 || run + size > INT32_MAX) {
      unknown = true;
      continue;
    }
    run += size;
    if (run > end) end = run;
  }
  block->size = unknown ? -2 : static_cast<int32_t>(end);
  return block->size;
}

void setsizes() {
  int32_t level = Status.scope_level;
  if (level < 1 || level > MAX_SCOPES) return;
  for (locsym* s = Scope[level].head; s != nullptr; s = s->snext) {
    switch (s->sclass) {
      case SC_VAR:
        implicit_type(s);
        member_size(s);
        break;
      case SC_FUNC:
      case SC_UNK:
        implicit_type(s);
        break;
      case SC_REC:
      case SC_REC90:
        member_size(s);
        break;
      case SC_STRUCT:
      case SC_STRUCT90:
        if (s->size == 0) setsizstruct(s);
        break;
      case SC_COM:
        setsizcom(s);
        break;
      default:
        break;
    }
  }
}
