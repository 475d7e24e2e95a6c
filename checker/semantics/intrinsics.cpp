// The intrinsic tables: the specific entries of intrinsics.def with their
// keyword tables of intrinkw.def, the lists of specifics per generic and the
// generic names sorted for binary search, all built at compile time; and the
// lookups that decide which specific may be used in the current dialect.
#include "checker/semantics/intrinsics.h"

#include <array>
#include <cstring>
#include <iterator>
#include <string_view>

#include "checker/base/cmmdline.h"
#include "checker/base/services.h"
#include "checker/semantics/intrinfold.h"
#include "checker/semantics/locsym.h"

namespace {

// Data-type codes of the rows.
enum : uint8_t {
  AN = 0, NO = 0, L2 = 1, L4 = 2, I2 = 3, I4 = 4, R4 = 5, R8 = 6, C8 = 7, DC = 8, RQ = 9,
  BY = 10, L1 = 11, CH = 14, I8 = 17, L8 = 18, LG = 19, IN = 20, RE = 21, DB = 22, CX = 24,
  I1 = 25
};
// Dialect bits of the rows (the dialect table of the switches).
constexpr uint32_t HPF = 0x8000, ANSI77 = 0x1, ANSI90 = 0x1000;
constexpr uint32_t ALL = ~HPF;                     // every dialect
constexpr uint32_t VND = ALL & ~(ANSI77 | ANSI90);  // every vendor dialect
constexpr uint32_t DEC = 0x2, SUN = 0x8, CRAY = 0x80, SGI = 0x100, HP = 0x200,
                   LAHEY = 0x10000, CVF = 0x40000;
constexpr uint8_t F77 = 1, F90 = 2, B = 3;
#define NF nullptr

#define K(t) intrin_kw{t, KW_ANYRANK}
#define KO(t) intrin_kw{t, KW_ANYRANK | KW_OPTIONAL}
#define KA(t) intrin_kw{t, KW_ARRAY}
#define KAO(t) intrin_kw{t, KW_ARRAY | KW_OPTIONAL}
#define KS(t) intrin_kw{t, 0}
#define KSO(t) intrin_kw{t, KW_OPTIONAL}
#define KWT(name, ...) constexpr intrin_kw kw_##name[] = {__VA_ARGS__, intrin_kw{nullptr, 0}};
#include "checker/semantics/intrinkw.def"
constexpr const intrin_kw* kw_NK = nullptr;

struct spec_row {
  const char* generic;
  intrin_spec spec;
};
constexpr spec_row rows[] = {
#define SPEC(g, v, n, c, at, rt, d, l, f, kw) {#g, {"f_" #g "_" #v, n, c, at, rt, d, l, f, kw_##kw}},
#include "checker/semantics/intrinsics.def"
};
#undef K
#undef KO
#undef KA
#undef KAO
#undef KS
#undef KSO
#undef NF

constexpr size_t nrows = std::size(rows);

constexpr bool new_generic(size_t i) {
  return i == 0 || std::string_view(rows[i].generic) != std::string_view(rows[i - 1].generic);
}
constexpr size_t count_generics() {
  size_t n = 0;
  for (size_t i = 0; i < nrows; ++i) n += new_generic(i) ? 1 : 0;
  return n;
}
constexpr size_t ngenerics = count_generics();

// The specific lists one after another, each ended by a null pointer.
constexpr std::array<const intrin_spec*, nrows + ngenerics> make_lists() {
  std::array<const intrin_spec*, nrows + ngenerics> out{};
  size_t k = 0;
  for (size_t i = 0; i < nrows; ++i) {
    if (i > 0 && new_generic(i)) out[k++] = nullptr;
    out[k++] = &rows[i].spec;
  }
  out[k] = nullptr;
  return out;
}
constexpr std::array<const intrin_spec*, nrows + ngenerics> lists = make_lists();

constexpr std::array<intrin_generic, ngenerics> make_generics() {
  std::array<intrin_generic, ngenerics> out{};
  size_t g = 0, k = 0;
  for (size_t i = 0; i < nrows; ++i) {
    if (new_generic(i)) {
      if (i > 0) ++k;  // the null pointer that ended the previous list
      out[g++] = intrin_generic{rows[i].generic, &lists[k]};
    }
    ++k;
  }
  return out;
}
constexpr std::array<intrin_generic, ngenerics> gnrinf = make_generics();

// The rows of one generic stand together and the generics ascend, so that
// every specific is in exactly one list and the names can be searched.
constexpr bool generics_sorted() {
  for (size_t i = 1; i < ngenerics; ++i)
    if (!(std::string_view(gnrinf[i - 1].name) < std::string_view(gnrinf[i].name))) return false;
  return true;
}
static_assert(generics_sorted(), "intrinsics.def: generic names out of order or split");
constexpr bool counts_in_range() {
  for (const spec_row& r : rows)
    if (r.spec.nargs > 8) return false;
  return true;
}
static_assert(counts_in_range(), "intrinsics.def: an argument count above 8");
constexpr bool keywords_cover_arguments() {
  for (const spec_row& r : rows) {
    size_t n = 0;
    if (r.spec.keywords != nullptr)
      while (r.spec.keywords[n].keyword != nullptr) ++n;
    else
      n = 0;
    if (r.spec.keywords != nullptr && n < r.spec.nargs) return false;
  }
  return true;
}
static_assert(keywords_cover_arguments(), "intrinsics.def: fewer keywords than arguments");

uint32_t dialect_bits() { return ropt.compiler | (ropt.hpf ? HPF : 0u); }

}  // namespace

const intrin_generic* intrin_generics_begin() { return gnrinf.data(); }
const intrin_generic* intrin_generics_end() { return gnrinf.data() + gnrinf.size(); }

const intrin_generic* findgeneric(const char* name, const intrin_generic* prev) {
  if (name == nullptr) return nullptr;
  // strcmp orders the names as string_view does (byte values, a prefix
  // first) without measuring them.
  const intrin_generic* end = intrin_generics_end();
  if (prev != nullptr) {
    const intrin_generic* next = prev + 1;
    return next < end && std::strcmp(name, next->name) == 0 ? next : nullptr;
  }
  const intrin_generic* lo = intrin_generics_begin();
  const intrin_generic* hi = end;
  while (lo < hi) {
    const intrin_generic* mid = lo + (hi - lo) / 2;
    if (std::strcmp(mid->name, name) < 0) lo = mid + 1;
    else hi = mid;
  }
  return lo < end && std::strcmp(name, lo->name) == 0 ? lo : nullptr;
}

int32_t specificIntrinIsAcceptable(const intrin_spec* const* pos) {
  if (pos == nullptr || *pos == nullptr) return 0;
  const intrin_spec* s = *pos;
  int32_t lang = ropt.Language == 1 ? 1 : 2;
  if ((s->lang & lang) == 0) return 0;
  uint32_t bits = dialect_bits();
  if ((s->dialects & bits) == 0) return 0;
  if (lang == 1) return 1;
  if ((ropt.compiler & SGI) && (s->dialects & ANSI90) == 0) return 0;
  // An entry that exists only through the HPF bit needs the HPF option.
  if ((s->dialects & HPF) && (s->dialects & bits & ~HPF) == 0 && !ropt.hpf) return 0;
  if (ropt.hpf && (ropt.compiler & DEC) == 0) {
    if (s->iclass == 24 && flopt_ansimaxloc <= 0) return 0;
    if (s->iclass == 25 && flopt_ansimaxloc > 0) return 0;
  }
  return 1;
}

const intrin_spec* const* intrin_find_specific(const intrin_generic* g) {
  if (g == nullptr) return nullptr;
  for (const intrin_spec* const* p = g->specs; *p != nullptr; ++p)
    if (specificIntrinIsAcceptable(p)) return p;
  return nullptr;
}

int32_t isIntrinsicSub(uint32_t iclass) {
  switch (iclass) {
    case 19: case 28: case 31: case 39: case 45: case 47: case 48: case 49: case 50: case 51:
    case 52: case 58: case 59: case 60: case 65: case 67: case 68: case 69: case 70: case 74:
    case 77: case 78:
      return 1;
    default:
      return 0;
  }
}

uint8_t changeinftyp(uint8_t code) {
  int32_t tclass = 0;
  switch (code) {
    case LG: tclass = TC_LOGICAL; break;
    case IN: tclass = TC_INTEGER; break;
    case RE: tclass = TC_REAL; break;
    case DB: tclass = TC_DOUBLE; break;
    case CX: tclass = TC_COMPLEX; break;
    default: return code;
  }
  return defdtypes[tclass] > 0 ? static_cast<uint8_t>(defdtypes[tclass]) : code;
}

const intrin_spec* const* intrin_lookup(const char* name) {
  for (const intrin_generic* g = findgeneric(name, nullptr); g != nullptr; g = findgeneric(name, g)) {
    const intrin_spec* const* p = intrin_find_specific(g);
    if (p != nullptr) return p;
  }
  return nullptr;
}

int32_t is_intrinsic_reference(const locsym* sym) {
  if (sym == nullptr || sym->name == nullptr) return 0;
  if (sym->squal == SQ_INTRINSIC) return intrin_lookup(sym->name) != nullptr;
  if (sym->squal != SQ_UNK) return 0;
  if (sym->sclass != SC_UNK && sym->sclass != SC_VAR && sym->sclass != SC_FUNC) return 0;
  if (sym->arrspec != nullptr || (sym->usage & (QB_DUM | QB_SET)) != 0) return 0;
  // EXTERNAL, use-associated, module procedures and interface bodies.
  if (sym->attrib & (0x80u | 0x8000u | 0x80000u | 0x1000000u | 0x2000000u)) return 0;
  if (sym == prgnam || sym->glorec != 0) return 0;
  return intrin_lookup(sym->name) != nullptr;
}

void make_intrinsic(locsym* sym) {
  const intrin_spec* const* p = intrin_lookup(sym->name);
  if (p == nullptr) return;
  sym->squal = SQ_INTRINSIC;
  if (sym->sclass == SC_UNK || sym->sclass == SC_VAR)
    sym->sclass = isIntrinsicSub((*p)->iclass) ? SC_SUB : SC_FUNC;
  sym->props &= static_cast<uint8_t>(~CP_TYPIMP);
}
