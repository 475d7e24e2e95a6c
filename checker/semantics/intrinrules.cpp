// The class rules of intrinsic references: how each actual argument is
// read, which type each position expects (and the choice of the specific
// by the first argument), the checks that depend on the class, the uses
// recorded for variables passed to intrinsics, and the result's type,
// constancy and rank.
#include <cstring>
#include <string_view>

#include "checker/base/exprstate.h"
#include "checker/base/services.h"
#include "checker/base/tokens.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/kinds.h"
#include "checker/semantics/locsym.h"

namespace {

bool f77() { return ropt.Language == 1; }

dtdesc type_of(uint8_t code) {
  dtdesc d{};
  d.code = changeinftyp(code);
  d.tag = 'p';
  if (d.code == DT_CHAR) d.value = 1;
  return d;
}
dtdesc default_logical() { return type_of(19); }
dtdesc default_integer() { return type_of(20); }
dtdesc default_real() { return type_of(21); }

// The keyword flags of position pos, 0 when not known.
uint32_t keyword_flags(const intrin_spec* spec, int32_t pos) {
  if (spec->keywords == nullptr || pos < 0) return 0;
  for (int32_t i = 0; spec->keywords[i].keyword != nullptr; ++i)
    if (i == pos) return spec->keywords[i].flags;
  return 0;
}
const char* keyword_name(const intrin_spec* spec, int32_t pos) {
  if (spec->keywords == nullptr || pos < 0) return "";
  for (int32_t i = 0; spec->keywords[i].keyword != nullptr; ++i)
    if (i == pos) return spec->keywords[i].keyword;
  return "";
}
bool keyword_is(const intrin_spec* spec, int32_t pos, const char* name) {
  return std::strcmp(keyword_name(spec, pos), name) == 0;
}

// The generic name within a specific's name ("f_" generic "_" variant):
// the text after its two leading characters up to the first "_" followed
// by a lower-case letter (empty when there is none; generic names are
// upper case).
std::string_view generic_part(const intrin_spec* spec) {
  std::string_view n(spec->name);
  for (size_t k = 2; k + 1 < n.size(); ++k) {
    if (n[k] == '_' && n[k + 1] >= 'a' && n[k + 1] <= 'z') return n.substr(2, k - 2);
  }
  return {};
}

bool generic_is(const intrin_spec* spec, std::string_view name) {
  return !name.empty() && generic_part(spec) == name;
}

bool is_logical(const dtdesc& t) { return getdtname(t.code) == TC_LOGICAL; }
bool is_complex(const dtdesc& t) { return getdtname(t.code) == TC_COMPLEX; }
bool is_real(const dtdesc& t) { return getdtname(t.code) == TC_REAL; }
bool is_structure(const dtdesc& t) { return t.code == 15 || t.code == 26; }
// Hollerith, typeless and unknown types are matched by no rule.
bool untyped(const dtdesc& t) { return t.code == 0 || t.code == 12 || t.code == 16; }

// The character length of an actual, 0 when not known.
int32_t char_length(const actarg* a) {
  return a != nullptr && a->type.code == DT_CHAR && a->type.tag == 'p' ? a->type.value : 0;
}

void report_at(int32_t n, int32_t col) {
  tk.errcol = col;
  rd_errmsg(n);
}

}  // namespace

const actarg* get_arg_from_actlist(const actarg* list, int32_t pos) {
  for (const actarg* a = list; a != nullptr; a = a->next)
    if (a->position == pos) return a;
  return nullptr;
}

// The kinds of operand getmeta accepts for an argument of the class at pos.
static uint32_t actarg_kinds(const intrin_spec* spec, int32_t pos) {
  uint32_t general = f77() ? 0x821u : 0x380e77u;
  switch (spec->iclass) {
    case 4: return 0x57;
    case 71: case 72: case 73: case 79: return 0x5e;
    case 8: case 49: case 50: return 0x6;
    case 9: case 39: case 47: case 51: case 52: case 77: case 78: return 0x2;
    case 6: case 7: return pos == 0 ? 0x1 : 0x2;
    case 17: return 0x656;
    case 30: return 0x56;
    case 19: return pos == 3 ? 0x204 : 0x2;
    case 31: return pos == 0 ? 0x2 : pos == 1 ? 0xa04 : 0x204;
    case 45: return 0x206;
    case 48: case 65: case 67: case 74: return 0x1;
    case 68: return 0x2;
    case 69: return pos == 0 ? 0x1 : 0x204;
    case 70: return pos == 0 ? 0x1 : 0x2;
    case 20: case 37: case 43: return keyword_is(spec, pos, "DIM") || keyword_is(spec, pos, "KIND") ? 0x21 : 0x300e77;
    case 38: return pos == 0 ? 0x380e77 : 0x21;
    case 58: case 59: case 60: return pos == 0 ? 0x4 : 0x56;
    default: return general;
  }
}

int32_t intrin_get_actarg(actarg* a, const intrin_spec* spec, int32_t pos, int32_t litval) {
  uint32_t kinds = actarg_kinds(spec, pos);
  if (litval) kinds |= 0x20;
  uint32_t form = read_expression(kinds);
  if (form == 0) return 0;
  take_expression(a, form, got_sym);
  a->present = 1;
  a->kind = got_arrsecdims > 0 ? AC_ARR : AC_SCA;
  int32_t elsize = getdtsize(got_typ.code);
  if (got_typ.code == DT_CHAR) elsize = char_length(a);
  if (elsize < 0) elsize = 4;
  a->size = got_arrelm > 0 && elsize > 0 ? got_arrelm * elsize : 0;
  return 1;
}

void intrin_add_actarg_usage(int32_t pos, int32_t tokpos, const intrin_spec* spec, locsym* sym) {
  if (pos < 0 || spec == nullptr || sym == nullptr) return;
  uint32_t use = QB_REF;
  switch (spec->iclass) {
    case 4: use = 0x20; break;
    case 6: case 7: use = pos == 0 ? 0 : QB_SET; break;
    case 8: use = QB_SET | QB_REF; break;
    case 9: case 19: case 39: case 45: case 47: case 49: case 50: case 52: case 65: case 68:
    case 77: case 78: case 79:
      use = QB_SET;
      break;
    case 28: use = pos == 3 ? QB_SET | QB_REF : QB_REF; break;
    case 31: use = pos == 1 ? QB_REF : QB_SET; break;
    case 51: use = pos == 2 ? QB_SET : QB_SET | QB_REF; break;
    case 58: case 59: case 60: use = pos == 0 ? QB_REF : QB_SET; break;
    case 69: use = pos == 0 ? QB_SET | QB_REF : QB_REF; break;
    case 70: use = pos == 0 ? QB_REF : QB_SET; break;
    default: break;
  }
  if (use != 0) flaguse(sym, use, tokpos);
  flaguse(sym, QB_ACT, tokpos);
}

// The first argument chooses the specific: its own type when the current
// one does not fit, else one of the same type class.
static int32_t choose_specific(int32_t report, const actarg* a, const intrin_generic* g,
                               const intrin_spec* const** cur) {
  int32_t act = changeinftyp(a->type.code);
  auto argtype = [](const intrin_spec* const* p) { return static_cast<int32_t>(changeinftyp((*p)->argtype)); };
  if (argtype(*cur) == 0 || argtype(*cur) == act || untyped(a->type)) return 1;
  for (const intrin_spec* const* p = *cur + 1; *p != nullptr; ++p) {
    if (argtype(p) == act && specificIntrinIsAcceptable(p)) {
      *cur = p;
      return 1;
    }
  }
  for (const intrin_spec* const* p = g->specs; *p != nullptr; ++p) {
    if (is_same_dtclass(argtype(p), act) && specificIntrinIsAcceptable(p)) {
      *cur = p;
      return 1;
    }
  }
  if (!report) return 1;
  report_at(292, a->col);
  *cur = g->specs;
  for (const intrin_spec* const* p = g->specs; *p != nullptr; ++p) {
    if (argtype(p) == act || is_same_dtclass(argtype(p), act)) {
      *cur = p;
      break;
    }
  }
  return 0;
}

int32_t intrin_get_dumarg_datatype(int32_t report, int32_t pos, const actarg* list,
                                   const actarg* a, const intrin_generic* g,
                                   const intrin_spec* const** cur, dtdesc* expected) {
  const intrin_spec* spec = **cur;
  const uint32_t cls = spec->iclass;
  const actarg* first = get_arg_from_actlist(list, 0);
  *expected = spec->argtype == 0 ? a->type : type_of(spec->argtype);
  if (pos == 0) {
    switch (cls) {
      case 16: case 17: case 20: case 22: case 27: case 29: case 30: case 33: case 36: case 37:
      case 38: case 40: case 41: case 42: case 43: case 55: case 56: case 58: case 59: case 60:
      case 71: case 72: case 73: case 79:
        *expected = a->type;
        return 1;
      case 19: return 1;
      case 80: *expected = default_logical(); return 1;
      default: break;
    }
    int32_t ok = choose_specific(report, a, g, cur);
    *expected = (**cur)->argtype == 0 ? a->type : type_of((**cur)->argtype);
    return ok;
  }
  auto first_type = [&]() { return first != nullptr ? first->type : a->type; };
  switch (cls) {
    case 7: case 10: *expected = default_integer(); break;
    case 11:
      if (pos == 2)
        *expected = first != nullptr && first->type.code == changeinftyp(21) ? default_real() : default_integer();
      break;
    case 12: if (pos == 2) *expected = default_logical(); break;
    case 13: case 14: case 57: if (pos == 1) *expected = default_integer(); break;
    case 17: *expected = a->type; break;
    case 18: case 61: if (pos == 2) *expected = default_integer(); break;
    case 19: if (pos == 3) *expected = default_integer(); break;
    case 20: case 33: if (pos == 2) *expected = first_type(); break;
    case 21: case 34: case 55: if (pos == 2) *expected = default_logical(); break;
    case 23: case 46:
      if (pos == 1 && first != nullptr && is_logical(first->type)) *expected = default_logical();
      break;
    case 24: *expected = default_logical(); break;
    case 25: *expected = pos == 1 ? default_integer() : default_logical(); break;
    case 26:
      if (pos == 1) *expected = default_integer();
      if (pos == 2) *expected = default_logical();
      break;
    case 27:
      if (pos == 1) *expected = first_type();
      if (pos == 2) *expected = default_logical();
      break;
    case 29:
      if (pos == 1) *expected = default_logical();
      if (pos == 2) *expected = first_type();
      break;
    case 32: case 37: case 44: case 53: if (pos == 1) *expected = default_integer(); break;
    case 40: if (pos == 1) *expected = a->type; break;
    case 42:
      if (pos == 1) *expected = default_logical();
      if (pos == 2) *expected = first_type();
      break;
    case 51: if (pos == 2) *expected = default_real(); break;
    case 54: if (pos >= 2) *expected = default_integer(); break;
    case 56:
      if (pos == 1) *expected = first_type();
      if (pos >= 2) *expected = keyword_is(spec, pos, "MASK") ? default_logical() : default_integer();
      break;
    case 58: *expected = pos == 5 || pos == 6 ? default_logical() : default_integer(); break;
    case 59: *expected = pos == 1 ? type_of(DT_CHAR) : default_integer(); break;
    case 60:
      *expected = pos == 4 ? type_of(DT_CHAR) : pos == 7 ? default_logical() : default_integer();
      break;
    case 62: if (pos >= 2) *expected = default_logical(); break;
    case 63:
      if (pos >= 2) *expected = keyword_is(spec, pos, "MASK") ? default_logical() : default_integer();
      break;
    default: break;
  }
  return 1;
}

int32_t intrin_check_misc(const intrin_spec* spec, const actarg* list, const actarg* a) {
  (void)list;
  const int32_t pos = a->position;
  const uint32_t cls = spec->iclass;
  switch (cls) {
    case 31: case 54: case 56: case 58: case 59: case 60: case 63: case 80:
      if (keyword_flags(spec, pos) & KW_ARRAY) {
        if ((keyword_flags(spec, pos) & KW_ANYRANK) == KW_ARRAY && a->rank == 0) {
          report_at(700, a->col);
          return 0;
        }
      }
      break;
    case 19: {
      int32_t len = char_length(a);
      int32_t need = pos == 0 ? 8 : pos == 1 ? 10 : pos == 2 ? 5 : 0;
      if (need > 0 && len > 0 && len < need) {
        report_at(726, a->col);
        return 0;
      }
      if (pos == 3) {
        int32_t elsize = getdtsize(changeinftyp(a->type.code));
        int32_t elems = elsize > 0 && a->size > 0 ? a->size / elsize : 0;
        bool integer = getdtname(a->type.code) == TC_INTEGER;
        if (!integer || a->rank == 0 || (elems > 0 && elems < 8)) {
          report_at(727, a->col);
          return 0;
        }
      }
      break;
    }
    case 30:
      if (a->sym == nullptr || (a->sym->usage & QB_DUM) == 0 || (a->sym->attrib & 0x10) == 0) {
        report_at(704, a->col);
        return 0;
      }
      break;
    case 17: {
      int32_t known = actual_is_pointer(a);
      if (known < 0) break;
      // A component is a pointer by its own attribute; it is a target also
      // when the structure it belongs to is one.
      bool pointer = known == 1;
      bool target = pointer || (a->sym->attrib & 0x6) != 0 || (a->sym->props & CP_POINTER) != 0;
      if (pos == 0 && !pointer) {
        report_at(666, a->col);
        return 0;
      }
      if (pos == 1 && !target) {
        report_at(670, a->col);
        return 0;
      }
      break;
    }
    case 49: case 50: {
      int32_t want = cls == 49 ? 9 : 8;
      if (a->type.code == DT_CHAR) {
        int32_t len = char_length(a);
        if (len > 0 && len < want) report_at(282, a->col);
        if (len > want) report_at(281, a->col);
        if (len > 0 && len != want) return 0;
      } else if (!untyped(a->type)) {
        int32_t size = a->size > 0 ? a->size : getdtsize(changeinftyp(a->type.code));
        if (size > 0 && size < 8) {
          report_at(55, a->col);
          return 0;
        }
      }
      break;
    }
    case 74:
      if (char_length(a) > 122) {
        report_at(105, a->col);
        return 0;
      }
      break;
    case 65:
      if (a->sym != nullptr && (a->sym->props & CP_COMBLK) == 0 && (a->sym->extra & 0x400) == 0) {
        report_at(771, a->col);
        return 0;
      }
      break;
    case 69:
      if (pos == 1 && a->rank > 0) {
        int32_t elsize = getdtsize(changeinftyp(a->type.code));
        int32_t elems = elsize > 0 && a->size > 0 ? a->size / elsize : 0;
        if (elems > 0 && elems < 9) {
          report_at(772, a->col);
          return 0;
        }
      }
      break;
    default: break;
  }
  return 1;
}

void intrin_set_ret_datatype(const actarg* list, const intrin_spec* spec, dtdesc* ret) {
  const actarg* first = get_arg_from_actlist(list, 0);
  const actarg* second = get_arg_from_actlist(list, 1);
  const uint32_t cls = spec->iclass;
  *ret = type_of(spec->rettype);
  switch (cls) {
    case 4:
      if (ropt.compiler & (0x4000u | 0x10u)) *ret = type_of(DT_I8);
      else if (ropt.compiler & 0x20000u) *ret = type_of(DT_I4);
      return;
    case 13: case 53: case 54: case 61: case 62: case 63: case 80: {
      // Only a KIND argument changes the type; a DIM at that place does not.
      int32_t tclass = getdtname(ret->code);
      int32_t kind = 0;
      if (second != nullptr && keyword_is(spec, 1, "KIND") && second->valok &&
          getdtstore(second->type.code) == 1 && getdtname(second->type.code) == TC_INTEGER &&
          (tclass == TC_INTEGER || tclass == TC_REAL)) {
        kind = second->value.i;
        int32_t code = kind > 0 ? adjust_dt_with_kind(tclass, kind) : 0;
        if (code > 0) {
          ret->code = static_cast<uint8_t>(code);
          ret->kind = static_cast<uint8_t>(kind);
        }
      }
      return;
    }
    case 20: case 27: case 29: case 33: case 38: case 41: case 42: case 43: case 55: case 56:
      if (first != nullptr) *ret = first->type;
      return;
    case 23: case 46: {
      if (first == nullptr) return;
      if (second == nullptr) {
        if (!is_structure(first->type)) *ret = first->type;
        return;
      }
      if (is_logical(first->type) && is_logical(second->type)) *ret = default_logical();
      else if (is_complex(first->type)) *ret = first->type;
      else if (is_complex(second->type)) *ret = second->type;
      else if (is_real(first->type)) *ret = first->type;
      else if (is_real(second->type)) *ret = second->type;
      else *ret = first->type;
      ret->value = ret->code == DT_CHAR ? ret->value : 0;
      return;
    }
    case 40:
      if (second != nullptr) *ret = second->type;
      return;
    default: break;
  }
  // Results of any type follow the first argument (MAXVAL, SUM, NULL...).
  if (spec->rettype == 0 && !isIntrinsicSub(cls) && first != nullptr) {
    *ret = first->type;
    return;
  }
  if (ret->code == DT_CHAR && first != nullptr && first->type.code == DT_CHAR) {
    // ADJUSTL and ADJUSTR keep the length; TRIM and REPEAT give one not known here.
    if (generic_is(spec, "ADJUSTL") || generic_is(spec, "ADJUSTR")) ret->value = first->type.value;
    else if (generic_is(spec, "TRIM") || generic_is(spec, "REPEAT") || cls == 32) ret->value = 0;
    else if (generic_is(spec, "MAX") || generic_is(spec, "MIN")) ret->value = first->type.value;
  }
}

int32_t intrinRetIsAConst(const intrin_spec* spec, const dtdesc* ret, int32_t allconst) {
  if (spec == nullptr) return 0;
  if (spec->iclass == 22 || spec->iclass == 36)
    return ret != nullptr && getdtstore(ret->code) == 1 && getdtname(ret->code) == TC_INTEGER;
  return allconst ? 1 : 0;
}

// Inquiry and transformational entries of class 0 whose result is a scalar
// whatever the rank of the argument.
static bool scalar_result(const intrin_spec* spec) {
  static const std::string_view names[] = {"BIT_SIZE", "DIGITS", "EPSILON", "HUGE", "KIND", "LEN",
                                           "MAXEXPONENT", "MINEXPONENT", "PRECISION", "RADIX", "RANGE",
                                           "TINY", "TRIM", "LOC", "SELECTED_INT_KIND", "NWORKERS"};
  std::string_view g = generic_part(spec);
  if (g.empty()) return false;
  for (std::string_view n : names)
    if (g == n) return true;
  return false;
}

int32_t get_intrin_ret_shape(const intrin_spec* spec, const int32_t* ranks, int32_t nranks) {
  auto rank_at = [&](int32_t i) { return i < nranks ? ranks[i] : -1; };
  auto given = [&](int32_t i) { return rank_at(i) >= 0; };
  int32_t r0 = rank_at(0) > 0 ? rank_at(0) : 0;
  int32_t r1 = rank_at(1) > 0 ? rank_at(1) : 0;
  flag_propsize = 0;
  switch (spec->iclass) {
    case 20: case 43: return r0;
    case 22: return given(1) ? 0 : 1;
    case 23: return r0 == 2 && r1 == 2 ? 2 : 1;
    case 24: case 29: case 36: return 1;
    case 25: return !given(1) ? 1 : r0 <= 1 ? 0 : r0 - 1;
    case 26: case 44: return !given(1) || r0 == 1 ? 0 : r0 - 1;
    case 33: case 42: return r1;
    case 38: return r0 + 1;
    case 40: return given(2) ? 1 : (r1 > 0 ? 1 : 0);
    case 41: return 2;
    case 81:
      flag_propsize = 1;
      return r0;
    case 0: case 1: case 2: case 13: case 14: case 18: case 21: case 34:
      // Elemental: the result has the shape of the array arguments.
      if (scalar_result(spec)) return 0;
      {
        int32_t r = 0;
        for (int32_t i = 0; i < nranks; ++i)
          if (ranks[i] > r) r = ranks[i];
        return r;
      }
    default: return 0;
  }
}
