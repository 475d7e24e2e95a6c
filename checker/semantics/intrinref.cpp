// The argument list of a reference to an intrinsic procedure: each actual
// argument is read by the class rules of the specific in hand (which the
// first argument may change), keywords are matched with the specific's
// keyword table, the count and types are checked, and the result's type,
// value and rank are left for the expression parser.
#include <cstring>

#include "checker/base/errmsg.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/tokens.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"

conval gota_value;
uint32_t gota_valok;
uint32_t gota_const;
int32_t gota_arrsecdims;
bool gota_rank_unknown;
int32_t gota_propsize;
int32_t flag_propsize;

namespace {

constexpr int32_t MAX_POSITIONS = 30;

void report_at(int32_t n, int32_t col) {
  tk.errcol = col;
  rd_errmsg(n);
}

// The pool of one reference's actual arguments, destroyed at its end.
struct ActargPool {
  qlist* pool = qcreate(0, "actargs");
  ~ActargPool() { qdestroy(pool); }
};

// How many arguments may be left out at the end of the list.
int32_t missing_allowed(const intrin_spec* spec) {
  switch (spec->iclass) {
    case 2: case 13: case 17: case 21: case 22: case 24: case 29: case 34: case 35: case 37:
    case 40: case 43: case 44: case 57:
      return 1;
    case 18: case 20: case 25: case 26: case 33: return 2;
    case 53: case 55: case 58: case 59: case 60: case 61: case 62: return spec->nargs - 1;
    case 19: case 31: case 39: case 47: case 48: case 65: case 79: return spec->nargs;
    default: return 0;
  }
}

// The largest argument count, after index (counted from 0): MAX and MIN
// take any number, the scatter functions as many index arguments as the
// base has dimensions.
bool too_many(const intrin_spec* spec, int32_t index, const int32_t* ranks) {
  switch (spec->iclass) {
    case 1: return false;
    case 54: return ranks[1] >= 0 && index >= ranks[1] + 2;
    case 56: case 63: return ranks[1] >= 0 && index >= ranks[1] + 3;
    default: return index >= spec->nargs;
  }
}

bool at_statement_end() { return tk.tok1 == 10 || tk.tokbeg >= rsrc.statend; }

// Whether the next token is a name followed by "=" (not "=="): a keyword.
bool keyword_follows(int32_t* col, int32_t* len) {
  TokenState keep = tk;
  getokn();
  if (tk.toktyp == TT_NAME && pstat[tk.stacol] == '=' && pstat[tk.stacol + 1] != '=') {
    *col = tk.tokbeg;
    *len = tk.toksiz;
    ++tk.stacol;
    return true;
  }
  tk = keep;
  return false;
}

// The result's rank by the class rule; where arguments' ranks are not
// known, only a rank that the rule gives whatever rank (scalar, one or
// two) they have: else 0, and gota_rank_unknown is set.
int32_t result_rank(const intrin_spec* spec, const int32_t* ranks, const bool* unknown) {
  int32_t rank = get_intrin_ret_shape(spec, ranks, MAX_POSITIONS);
  for (int32_t guess = 1; guess <= 2; ++guess) {
    int32_t tried[MAX_POSITIONS];
    bool any = false;
    for (int32_t i = 0; i < MAX_POSITIONS; ++i) {
      tried[i] = unknown[i] ? guess : ranks[i];
      any = any || unknown[i];
    }
    if (!any) return rank;
    if (get_intrin_ret_shape(spec, tried, MAX_POSITIONS) != rank) {
      gota_rank_unknown = true;
      return 0;
    }
  }
  return rank;
}

}  // namespace

int32_t getIntrinArgKeywd(const char* name, int32_t col, const uint8_t* flags,
                          const intrin_spec* spec) {
  if (spec == nullptr || flags == nullptr || name == nullptr || spec->keywords == nullptr) return -2;
  for (int32_t i = 0; spec->keywords[i].keyword != nullptr; ++i)
    if (std::strcmp(spec->keywords[i].keyword, name) == 0) return i;
  report_at(718, col);
  return -2;
}

actarg* intr_rearrange_actlist(actarg* list, qlist* pool) {
  int32_t expect = 0;
  bool ordered = true;
  for (actarg* a = list; a != nullptr; a = a->next) {
    if (a->position < 0 || a->position >= MAX_POSITIONS) return list;
    if (a->position != expect++) ordered = false;
  }
  if (ordered) return list;
  actarg* head = nullptr;
  actarg* tail = nullptr;
  for (int32_t p = 0; p < MAX_POSITIONS; ++p) {
    for (actarg* a = list; a != nullptr; a = a->next) {
      if (a->position != p) continue;
      actarg* c = qnew<actarg>(pool);
      *c = *a;
      c->next = nullptr;
      if (tail != nullptr) tail->next = c;
      else head = c;
      tail = c;
      break;
    }
  }
  return head;
}

int32_t arglist_intrinsic(locsym* sym, int32_t litval, int32_t call) {
  gota_value = conval{};
  gota_valok = gota_const = 0;
  gota_arrsecdims = 0;
  gota_rank_unknown = false;
  gota_propsize = 0;
  flag_propsize = 0;
  const int32_t namecol = tk.tokbeg;
  const intrin_generic* g = findgeneric(sym->name, nullptr);
  if (g == nullptr) rd_interr("arglist (phantom intrinsic)");
  const intrin_spec* const* cur = nullptr;
  for (; g != nullptr; g = findgeneric(sym->name, g)) {
    cur = intrin_find_specific(g);
    if (cur != nullptr) break;
  }
  if (cur == nullptr) rd_interr("arglist (phantom generic)");
  if (isIntrinsicSub((*cur)->iclass)) {
    if (!call) {
      report_at(95, namecol);
      sym->sclass = SC_SUB;
    }
  } else if (call) {
    report_at(140, namecol);
    sym->sclass = SC_FUNC;
  }

  ActargPool pool;
  uint8_t given[MAX_POSITIONS] = {};
  int32_t ranks[MAX_POSITIONS];
  for (int32_t& r : ranks) r = -1;
  bool unknown[MAX_POSITIONS] = {};  // the rank at the position is not known
  actarg* head = nullptr;
  actarg* tail = nullptr;
  bool checks = true, keyword_seen = false, out_of_order = false, allconst = true;
  // A first argument of a type not known here chose no specific: the
  // types of the others are then not compared.
  bool first_unknown = false;
  int32_t count = 0;

  auto early_end = [&]() -> int32_t {
    if (sym->type.code == 0) intrin_set_ret_datatype(head, *cur, &sym->type);
    gota_valok = gota_const = 0;
    return 0;
  };

  if (pstat[tk.stacol] == '(') {
    getokn();
    if (pstat[tk.stacol] == ')') {
      getokn();
    } else {
      for (int32_t index = 0;; ++index) {
        int32_t argcol = tk.stacol;
        while (pstat[argcol] == ' ') ++argcol;
        int32_t position = index;
        int32_t kcol = 0, klen = 0;
        if (ropt.Language == 2 && keyword_follows(&kcol, &klen)) {
          char name[MAX_NAME + 1] = {};
          std::memcpy(name, pstat + kcol, static_cast<size_t>(klen > MAX_NAME ? MAX_NAME : klen));
          position = getIntrinArgKeywd(name, kcol, given, *cur);
          if (position < 0 || position >= MAX_POSITIONS) return early_end();
          if (given[position] && checks) {
            report_at(716, kcol);
            checks = false;
          }
          keyword_seen = true;
          argcol = tk.stacol;
        } else if (keyword_seen && checks) {
          report_at(705, argcol);
          checks = false;
        }
        actarg* a = qnew<actarg>(pool.pool);
        a->position = position;
        a->col = argcol;
        if (!intrin_get_actarg(a, *cur, position, litval)) return early_end();
        if (tail != nullptr) tail->next = a;
        else head = a;
        tail = a;
        ++count;
        if (a->sym != nullptr && (a->form & 0x340801u) == 0)
          intrin_add_actarg_usage(position, argcol, *cur, a->sym);
        given[position] = 1;
        ranks[position] = a->rank > 0 ? a->rank : 0;
        unknown[position] = a->rank_unknown;
        if ((*cur)->iclass == 33 && position == 1) {
          // The result's rank is the element count of SHAPE, not its rank:
          // where the count is not known (SHAPE(X), an array of run-time
          // extent), neither is the rank, and no shape is claimed.
          int32_t n = a->size > 0 ? a->size / 4 : 0;
          ranks[1] = n >= 1 && n <= 19 ? n : 0;
        }
        if (!a->con) allconst = false;
        if (position != index) out_of_order = true;
        if (checks && too_many(*cur, index, ranks)) {
          report_at(198, argcol);
          checks = false;
        }
        dtdesc expected{};
        if (checks && !intrin_get_dumarg_datatype(1, position, head, a, g, &cur, &expected)) checks = false;
        if (checks) {
          uint32_t cls = (*cur)->iclass;
          if (position == 0) {
            if ((cls == 20 || cls == 37 || cls == 43) && a->rank == 0 && !a->rank_unknown)
              report_at(738, argcol);
            first_unknown = a->type.code == 0;
          } else if (!first_unknown) {
            bool untyped = a->type.code == 0 || a->type.code == 12 || a->type.code == 16 ||
                           expected.code == 0;
            bool integers = (getdtusg(a->type.code) & 0x2) && (getdtusg(expected.code) & 0x2);
            if (!untyped && !integers && changeinftyp(a->type.code) != changeinftyp(expected.code)) {
              report_at(is_same_dtclass(changeinftyp(a->type.code), changeinftyp(expected.code)) ? 737 : 293,
                        argcol);
            } else if (cls == 28 && (position == 1 || position == 2 || position == 4) && a->con &&
                       a->valok && getdtstore(a->type.code) == 1 && a->value.i < 0) {
              report_at(638, argcol);
              checks = false;
            }
          }
          if (checks && !intrin_check_misc(*cur, head, a)) checks = false;
        }
        getokn();
        if (tk.toktyp == TT_OTHER && tk.tok1 == ',' && !at_statement_end()) continue;
        if (tk.toktyp == TT_OTHER && tk.tok1 == ')') break;
        if (at_statement_end()) report_at(7, tk.tokbeg);
        else report_at(sym->sclass == SC_FUNC ? 107 : sym->sclass == SC_SUB ? 108 : 25, tk.tokbeg);
        return early_end();
      }
    }
  }

  const intrin_spec* spec = *cur;
  if (count < spec->nargs && spec->nargs - count > missing_allowed(spec)) {
    report_at(198, tk.tokbeg);
    allconst = false;
  }
  intrin_set_ret_datatype(head, spec, &sym->type);
  if (spec->fold != nullptr) {
    actarg* list = out_of_order ? intr_rearrange_actlist(head, pool.pool) : head;
    int32_t folded = spec->fold(list, &sym->type, &gota_value) != 0 ? 1 : 0;
    gota_valok = gota_const = static_cast<uint32_t>(folded);
  } else {
    gota_valok = 0;
    gota_const = static_cast<uint32_t>(intrinRetIsAConst(spec, &sym->type, allconst ? 1 : 0));
  }
  int32_t rank = result_rank(spec, ranks, unknown);
  if (rank > 0) {
    gota_arrsecdims = rank;
    if (flag_propsize && head != nullptr && head->sym != nullptr) gota_propsize = head->sym->size;
    return 3;
  }
  return 1;
}
