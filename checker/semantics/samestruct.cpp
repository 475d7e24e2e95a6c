// Structural comparison of structures and derived types, over the global
// symbol records and the local symbol table; the three comparisons share a
// guard of the pairs under comparison so that self-referencing types end.
#include "checker/semantics/samestruct.h"

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "checker/common/dtype.h"
#include "checker/common/error.h"
#include "checker/common/symtable.h"
#include "checker/semantics/locsym.h"

namespace {

constexpr size_t samestruct_depth = 100;

// The pairs of types under comparison by one of the samestruct routines: a
// pair met again while it is being compared counts as equal, so that
// self-referencing types end; the stack is at most 100 deep.
template <class A, class B>
class PairStack {
 public:
  explicit PairStack(const char* routine) : routine_(routine) {}
  bool active(A a, B b) const {
    for (const auto& p : pairs_)
      if (p.first == a && p.second == b) return true;
    return false;
  }
  void check_depth() const {
    if (pairs_.size() >= samestruct_depth) interr(routine_);
  }
  void push(A a, B b) { pairs_.emplace_back(a, b); }
  void pop() { pairs_.pop_back(); }

 private:
  const char* routine_;
  std::vector<std::pair<A, B>> pairs_;
};

PairStack<int32_t, int32_t> gg_pairs("samestruct_GG [depth]");
PairStack<const locsym*, const locsym*> ll_pairs("samestruct_LL [depth]");
PairStack<int32_t, const locsym*> gl_pairs("samestruct_GL [depth]");

bool is_struct_code(int code) { return code == DT_REC || code == DT_TYPE; }

bool is_struct_def(const locsym* s) { return s->sclass == SC_STRUCT || s->sclass == SC_STRUCT90; }

// The local structure of a component's type, null when it has none.
const locsym* struct_of(const locsym* s) { return s->type.tag == 'q' ? s->type.sym : nullptr; }
locsym* struct_of(locsym* s) { return s->type.tag == 'q' ? s->type.sym : nullptr; }

const FieldNode* fields_of(const locsym* s) { return static_cast<const FieldNode*>(s->list); }

// Bound flags of a dimension that mean a bound is not a constant.
constexpr uint8_t bound_not_constant = 0x5F;

// Number of elements of a symbol: 1 for a scalar, the product of the
// extents, 0 when a bound is not constant; held at INT32_MAX when larger.
int32_t element_count(const locsym* s) {
  int64_t n = 1;
  for (const arrdim* d = static_cast<const arrdim*>(s->arrspec); d != nullptr; d = d->next) {
    if (d->flags & bound_not_constant) return 0;
    int64_t extent = int64_t{d->upper} - d->lower + 1;
    if (extent <= 0) return 0;
    n = n > INT32_MAX / extent ? int64_t{INT32_MAX} : n * extent;
  }
  return static_cast<int32_t>(n);
}

// Storage size of a type's element: the length of a character type, else
// the size of the table; 0 when it is not known here.
int32_t element_size(const dtdesc& t) {
  if (t.code == DT_CHAR) return t.tag == 'p' && t.value > 0 ? t.value : 0;
  int32_t size = getdtsize(t.code);
  return size > 0 ? size : 0;
}

constexpr int32_t size_unknown = -2;

int32_t structure_size(locsym* st, std::vector<const locsym*>& open);

// Storage size of a component, computed and kept when it is still 0:
// POINTER 4 bytes (4 per element for a record), a record its elements times
// its structure's size, others their elements times the element size; -2
// when any of these is not known.
int32_t component_size(locsym* c, std::vector<const locsym*>& open) {
  if (c->size != 0) return c->size;
  int64_t n = element_count(c);
  int64_t size = size_unknown;
  if (is_struct_code(c->type.code)) {
    locsym* st = struct_of(c);
    if (n != 0 && (c->attrib & 0x2)) {
      size = 4 * n;
    } else if (n != 0 && st != nullptr) {
      int32_t each = structure_size(st, open);
      if (each > 0) size = n * each;
    }
  } else if (c->attrib & 0x2) {
    size = 4;
  } else {
    int32_t each = element_size(c->type);
    if (n != 0 && each != 0) size = n * each;
  }
  c->size = size > INT32_MAX ? size_unknown : static_cast<int32_t>(size);
  return c->size;
}

// Storage size of a structure, the sum of its components' sizes, computed
// and kept when it is still 0; -2 when one of them is not known (also for a
// structure that contains itself).
int32_t structure_size(locsym* st, std::vector<const locsym*>& open) {
  if (st->size != 0) return st->size;
  for (const locsym* o : open)
    if (o == st) return size_unknown;
  open.push_back(st);
  int64_t sum = 0;
  for (const FieldNode* f = fields_of(st); f != nullptr && sum >= 0; f = f->next) {
    int32_t size = f->sym != nullptr ? component_size(f->sym, open) : size_unknown;
    sum = size < 0 || sum + size > INT32_MAX ? -1 : sum + size;
  }
  open.pop_back();
  st->size = sum < 0 ? size_unknown : static_cast<int32_t>(sum);
  return st->size;
}

// Component record number i of a global structure, 0 when there is none.
int32_t component_record(const symrec& r, int32_t i) {
  if (gtdatasiz(r.sc) != 4 || r.extra.size() < static_cast<size_t>(i + 1) * 4) return 0;
  int32_t n = static_cast<int32_t>(get_be32(r.extra.data() + 4 * i));
  return n >= 1 && n <= getnumsyms() ? n : 0;
}

}  // namespace

int samestruct_GG(int32_t a, int32_t b) {
  if (a == 0 || b == 0) return 0;
  if (a == b) return 2;
  if (gg_pairs.active(a, b) || gg_pairs.active(b, a)) return 1;
  gg_pairs.check_depth();
  symrec ra, rb;
  readsymb(a, ra);
  readsymb(b, rb);
  if (ra.nitems != rb.nitems) return 0;
  gg_pairs.push(a, b);
  int result = 1;
  for (int32_t i = 0; i < ra.nitems && result != 0; ++i) {
    int32_t ca = component_record(ra, i);
    int32_t cb = component_record(rb, i);
    if (ca == 0 || cb == 0) {
      result = 0;
      break;
    }
    symrec xa, xb;
    readsymi(ca, xa);
    readsymi(cb, xb);
    if (xa.type.code != xb.type.code || xa.size != xb.size) {
      result = 0;
    } else if (is_struct_code(xa.type.code) && xa.type.tag == 'r' && xb.type.tag == 'r' &&
               xa.type.value != xb.type.value) {
      if (samestruct_GG(xa.type.value, xb.type.value) == 0) result = 0;
    }
  }
  gg_pairs.pop();
  if (result == 0) return 0;
  return std::strcmp(ra.namebuf, rb.namebuf) == 0 ? 2 : 1;
}

int samestruct_LL(const locsym* a, const locsym* b) {
  if (a == nullptr || b == nullptr) return 0;
  if (a == b) return 1;
  if (!is_struct_def(a) || a->sclass != b->sclass) return 0;
  const FieldNode* fa = fields_of(a);
  const FieldNode* fb = fields_of(b);
  if (fa == nullptr || fb == nullptr) return fa == fb ? 1 : 0;
  if (ll_pairs.active(a, b) || ll_pairs.active(b, a)) return 1;
  ll_pairs.check_depth();
  ll_pairs.push(a, b);
  int result = 1;
  for (; fa != nullptr && fb != nullptr && result != 0; fa = fa->next, fb = fb->next) {
    const locsym* ca = fa->sym;
    const locsym* cb = fb->sym;
    if (ca == nullptr || cb == nullptr) {
      if (ca != cb) result = 0;
      continue;
    }
    int code = ca->type.code;
    if (code != cb->type.code || element_count(ca) != element_count(cb)) {
      result = 0;
    } else if (code == DT_CHAR) {
      int32_t la = element_size(ca->type);
      int32_t lb = element_size(cb->type);
      if (la != 0 && lb != 0 && la != lb) result = 0;
    } else if (is_struct_code(code) && struct_of(ca) != struct_of(cb)) {
      if (samestruct_LL(struct_of(ca), struct_of(cb)) == 0) result = 0;
    }
  }
  ll_pairs.pop();
  if (result == 0) return 0;
  return fa == nullptr && fb == nullptr ? 1 : 0;
}

int samestruct_GL(int32_t g, locsym* l) {
  if (g <= 0 || g > getnumsyms() || l == nullptr || !is_struct_def(l)) return 0;
  if (gl_pairs.active(g, l)) return 1;
  gl_pairs.check_depth();
  symrec rg;
  readsymb(g, rg);
  if (rg.sc != SC_STRUCT && rg.sc != SC_STRUCT90) return 0;
  const FieldNode* f = fields_of(l);
  gl_pairs.push(g, l);
  int result = 1;
  int32_t i = 0;
  std::vector<const locsym*> open;
  for (; i < rg.nitems && f != nullptr && result != 0; ++i, f = f->next) {
    int32_t cg = component_record(rg, i);
    locsym* cl = f->sym;
    if (cg == 0 || cl == nullptr) {
      result = 0;
      break;
    }
    symrec xg;
    readsymi(cg, xg);
    if (xg.type.code != cl->type.code || xg.size != component_size(cl, open)) {
      result = 0;
    } else if (is_struct_code(xg.type.code)) {
      int32_t ng = xg.type.tag == 'r' ? xg.type.value : 0;
      if (samestruct_GL(ng, struct_of(cl)) == 0) result = 0;
    }
  }
  gl_pairs.pop();
  if (result == 0) return 0;
  return i >= rg.nitems && f == nullptr ? 1 : 0;
}
