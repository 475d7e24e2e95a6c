// The kind table with its value getters and setters, the canonical intrinsic
// types (one entry per kind, per CHARACTER length), array and routine types,
// storage sizes and the type comparisons of the semantic checks.
#include "frontend/model/types.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"

// ---- Value access: little-endian target bytes ----

namespace {
uint32_t load_le(const uint8_t* b, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}
void store_le(uint32_t v, uint8_t* b, int n) {
  for (int i = 0; i < n; ++i) {
    b[i] = static_cast<uint8_t>(v & 0xFF);
    v >>= 8;
  }
}
int32_t get_int1(const uint8_t* b) { return static_cast<int8_t>(b[0]); }
void set_int1(int32_t v, uint8_t* b) { store_le(static_cast<uint32_t>(v), b, 1); }
int32_t get_int2(const uint8_t* b) { return static_cast<int16_t>(load_le(b, 2)); }
void set_int2(int32_t v, uint8_t* b) { store_le(static_cast<uint32_t>(v), b, 2); }
int32_t get_int4(const uint8_t* b) { return static_cast<int32_t>(load_le(b, 4)); }
void set_int4(int32_t v, uint8_t* b) { store_le(static_cast<uint32_t>(v), b, 4); }
double get_real4(const uint8_t* b) {
  uint32_t bits = load_le(b, 4);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
void set_real4(double v, uint8_t* b) {
  float f = static_cast<float>(v);
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  store_le(bits, b, 4);
}
double get_real8(const uint8_t* b) {
  uint64_t bits = static_cast<uint64_t>(load_le(b + 4, 4)) << 32 | load_le(b, 4);
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}
void set_real8(double v, uint8_t* b) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  store_le(static_cast<uint32_t>(bits), b, 4);
  store_le(static_cast<uint32_t>(bits >> 32), b + 4, 4);
}
}  // namespace

#define KIND_ROW(family, kind, size, align, radix, digits, minexp, maxexp, pad, gi, si, gr, sr) \
  {kind, size, align, radix, digits, minexp, maxexp, pad, gi, si, gr, sr},
const kind_row kind_table[kind_table_rows] = {
#include "frontend/model/kind_table.def"
};
#define KIND_ROW(family, ...) +1
static_assert(0
#include "frontend/model/kind_table.def"
              == kind_table_rows);
const int kind_family_first_row[4] = {0, 2, 4, 6};
const int kind_family_rows[4] = {2, 2, 2, 1};

KindDefaults kind_defaults = {1, 1, 1, 0, 0};

const kind_row* kind_row_of(int family, uint32_t index) {
  if (family < 0 || family > 3 || index >= static_cast<uint32_t>(kind_family_rows[family]))
    return nullptr;
  return &kind_table[kind_family_first_row[family] + index];
}

// The family of an intrinsic type code (-1 for others).
static int family_of(int code) {
  switch (code) {
    case tk_integer: return kf_integer;
    case tk_float:
    case tk_complex: return kf_real;
    case tk_logical: return kf_logical;
    case tk_fcharacter: return kf_character;
    default: return -1;
  }
}

// ---- Canonical types ----

namespace {
struct TypeCaches {
  type* integer[2];       // per INTEGER row
  type* real[2];          // per REAL row
  type* complex[2];       // per REAL row
  type* logical[2];       // per LOGICAL row
  type* char_chain[1];    // per CHARACTER row: constant lengths, newest first
  type* char_assumed[1];  // per CHARACTER row: the assumed-length type
  type* error;            // singletons, made on first use
  type* unknown;
  type* void_type;
  type* unspec_routine;
  type* stmt_label;
  std::vector<type*> in_layout;  // derived types whose layout is under way
};
TypeCaches caches;

type* singleton(type*& slot, int code) {
  if (!slot) {
    slot = new_type(code);
    type_storage_size(slot);
  }
  return slot;
}

// A canonical numeric or LOGICAL type of a row: size from the table.
type* make_kind_type(int code, uint32_t row, bool numeric) {
  type* t = new_type(code);
  t->kind = row;
  t->is_numeric = numeric;
  type_storage_size(t);
  return t;
}
}  // namespace

type* error_type() { return singleton(caches.error, tk_error); }
type* unknown_type() { return singleton(caches.unknown, tk_unknown); }
type* void_type() { return singleton(caches.void_type, tk_void); }
type* unspec_routine_type() { return singleton(caches.unspec_routine, tk_unspec_routine); }
type* stmt_label_type() { return singleton(caches.stmt_label, tk_stmt_label); }

type* integer_type(uint32_t row) {
  if (row >= 2) return error_type();
  if (!caches.integer[row])
    caches.integer[row] = make_kind_type(tk_integer, row, row == kind_defaults.default_integer);
  return caches.integer[row];
}

type* real_type(uint32_t row) {
  if (row >= 2) return error_type();
  if (!caches.real[row])
    caches.real[row] = make_kind_type(
        tk_float, row, row == kind_defaults.default_real || row == kind_defaults.double_precision);
  return caches.real[row];
}

type* complex_type(uint32_t row) {
  if (row >= 2) return error_type();
  if (!caches.complex[row])
    caches.complex[row] = make_kind_type(tk_complex, row, row == kind_defaults.default_real);
  return caches.complex[row];
}

type* logical_type(uint32_t row) {
  if (row >= 2) return error_type();
  if (!caches.logical[row])
    caches.logical[row] = make_kind_type(tk_logical, row, row == kind_defaults.default_logical);
  return caches.logical[row];
}

type* default_integer_type() { return integer_type(kind_defaults.default_integer); }
type* default_real_type() { return real_type(kind_defaults.default_real); }
type* double_precision_type() { return real_type(kind_defaults.double_precision); }
type* default_complex_type() { return complex_type(kind_defaults.default_real); }
type* default_logical_type() { return logical_type(kind_defaults.default_logical); }

// The row index within a family whose KIND value is kind_value, or -1.
static int row_for_kind(int family, int32_t kind_value) {
  for (int i = 0; i < kind_family_rows[family]; ++i)
    if (kind_table[kind_family_first_row[family] + i].kind_value == kind_value) return i;
  return -1;
}

template <type* (*Make)(uint32_t)>
static type* type_for_kind(int family, int32_t kind_value, int* error) {
  int row = row_for_kind(family, kind_value);
  if (error) *error = row < 0;
  return row < 0 ? error_type() : Make(static_cast<uint32_t>(row));
}

type* integer_type_for_kind(int32_t k, int* error) { return type_for_kind<integer_type>(kf_integer, k, error); }
type* real_type_for_kind(int32_t k, int* error) { return type_for_kind<real_type>(kf_real, k, error); }
type* complex_type_for_kind(int32_t k, int* error) { return type_for_kind<complex_type>(kf_real, k, error); }
type* logical_type_for_kind(int32_t k, int* error) { return type_for_kind<logical_type>(kf_logical, k, error); }

type* character_type(uint32_t row, bool assumed, uint32_t length, int* error) {
  if (error) *error = 0;
  if (row >= static_cast<uint32_t>(kind_family_rows[kf_character])) {
    if (error) *error = 1;
    return error_type();
  }
  bool is_default = row == kind_defaults.default_character;
  if (assumed) {
    if (!caches.char_assumed[row]) {
      type* t = new_type(tk_fcharacter);
      t->kind = row;
      t->length = make_bound(0, bk_assumed, nullptr);
      t->is_character = is_default;
      type_storage_size(t);
      caches.char_assumed[row] = t;
    }
    return caches.char_assumed[row];
  }
  for (type* t = caches.char_chain[row]; t; t = t->char_cache_next)
    if (static_cast<uint32_t>(t->length.value) == length) return t;
  type* t = new_type(tk_fcharacter);
  t->kind = row;
  t->length = make_bound(static_cast<int32_t>(length), bk_constant, nullptr);
  t->is_character = is_default;
  type_storage_size(t);
  t->char_cache_next = caches.char_chain[row];
  caches.char_chain[row] = t;
  return t;
}

type* character_type_for_kind(int32_t kind_value, uint32_t length, int* error) {
  int row = row_for_kind(kf_character, kind_value);
  if (error) *error = row < 0;
  return row < 0 ? error_type() : character_type(static_cast<uint32_t>(row), false, length);
}

type* assumed_character_type_for_kind(int32_t kind_value, int* error) {
  int row = row_for_kind(kf_character, kind_value);
  if (error) *error = row < 0;
  return row < 0 ? error_type() : character_type(static_cast<uint32_t>(row), true, 0);
}

type* default_character_type(uint32_t length) {
  return character_type(kind_defaults.default_character, false, length);
}
type* default_character_type_flag(uint32_t length, int* error) {
  return character_type(kind_defaults.default_character, false, length, error);
}
type* assumed_character_type() { return character_type(kind_defaults.default_character, true, 0); }

void types_reset() {
  caches = TypeCaches{};
  kind_defaults = KindDefaults{1, 1, 1, 0, 0};
  // The preloaded entries that the intrinsic symbols refer to. DOUBLE
  // PRECISION is aligned 4, not the 8 of its kind row.
  default_integer_type();
  default_real_type();
  double_precision_type()->alignment = 4;
  default_complex_type();
  default_logical_type();
  for (uint32_t length : {1u, 8u, 10u, 5u}) default_character_type(length);  // chain 5, 10, 8, 1
  assumed_character_type();
  void_type();
}

// ---- Constructors ----

bound_info_entry* new_bounds_array(uint32_t rank) { return new_bound_info_entry(rank); }

type* array_type(type* element, uint32_t rank) {
  type* t = new_type(tk_farray);
  t->element_type = element;
  t->rank = static_cast<uint8_t>(rank);
  t->shape_kind = explicit_shape;
  t->bound_info = new_bounds_array(rank);
  type_storage_size(t);
  return t;
}

type* routine_type(object* routine, type* return_type) {
  type* t = new_type(tk_routine);
  t->return_type = return_type;
  t->assoc_routine = routine;
  type_storage_size(t);
  return t;
}

void copy_type_entry(const type* source, type* destination) {
  type* next = destination->next;
  *destination = *source;
  destination->next = next;
}

type* elemental_result_type(type* operand, type* other) {
  type* e = other && other->type_code == tk_farray ? other->element_type : other;
  if (!operand || operand->type_code != tk_farray || !e) return e ? e : operand;
  if (operand->element_type == e || type_equal(operand->element_type, e)) return operand;
  type* t = pool_new<type>();
  copy_type_entry(operand, t);
  t->header &= ~il_check_mark;
  t->element_type = e;
  t->corresp.scope_depth = (t->corresp.scope_depth & ~0xFFu) | (e->corresp.scope_depth & 0xFFu);
  // The copied size is that of the old element type: lay the copy out again.
  t->size = 0;
  t->alignment = 1;
  type_storage_size(t);
  return t;
}

uint32_t integer_kind_huge(uint32_t row) {
  const kind_row* r = kind_row_of(kf_integer, row);
  if (!r) return 0;
  uint64_t v = 1;
  for (int i = 0; i < r->digits; ++i) v *= static_cast<uint64_t>(r->radix);
  return static_cast<uint32_t>(v - 1);
}

double real_kind_huge(uint32_t row) {
  const kind_row* r = kind_row_of(kf_real, row);
  if (!r) return 0;
  double radix = r->radix;
  // The last factor of the radix comes last, so that 2**1024 is never formed.
  return (1.0 - std::pow(radix, -r->digits)) * std::pow(radix, r->max_exponent - 1) * radix;
}

void init_bound(bound_record* b, int bk) {
  b->kind = static_cast<uint8_t>(bk);
  if (bk == bk_constant || bk == bk_expression) {
    b->value = 0;
    b->expr = nullptr;
  }
}

// ---- Queries ----

// The type of the entry an expression names, for "same as" bounds and
// lengths: an object, a dummy's param_type, or a component.
static type* type_of_named_node(expr_node* n) {
  if (!n) return nullptr;
  switch (n->node_kind) {
    case enk_object: return n->object ? n->object->type : nullptr;
    case enk_param: return n->parameter ? n->parameter->type : nullptr;
    case enk_field: return n->field_var ? n->field_var->type : nullptr;
    default: return nullptr;
  }
}

bound_info_entry* array_bounds(type* array) {
  // A chain of "same shape" types is followed a bounded number of steps, so
  // that a type that (through faulty input) names itself cannot loop.
  for (int step = 0; array && array->type_code == tk_farray && step < 64; ++step) {
    if (array->shape_kind <= as_shaped) return array->bound_info;
    if (array->shape_kind != same_shape) return nullptr;
    expr_node* n = array->bound_args;
    while (n && n->node_kind == enk_ref) n = n->reference;
    if (!n || n->node_kind == enk_section) return nullptr;
    array = type_of_named_node(n);
  }
  return nullptr;
}

bound_record* char_len_record(type* t) {
  if (t->length.kind == bk_same_as) {
    type* other = type_of_named_node(t->length.expr);
    if (other && other->type_code == tk_fcharacter) return &other->length;
  }
  return &t->length;
}

bool array_is_assumed_size(const type* t) {
  if (!t || t->type_code != tk_farray) return false;
  bound_info_entry* b = array_bounds(const_cast<type*>(t));
  return b && b->rank > 0 && b->upper(b->rank - 1).kind == bk_assumed;
}

bool array_has_adjustable_bound(const type* t) {
  if (!t || t->type_code != tk_farray || t->shape_kind != explicit_shape || !t->bound_info) return false;
  for (uint32_t i = 0; i < 2 * t->bound_info->rank; ++i)
    if (t->bound_info->bounds[i].kind == bk_expression) return true;
  return false;
}

bool array_is_constant_shape(const type* t) {
  if (!t || t->type_code != tk_farray || t->shape_kind != explicit_shape || !t->bound_info) return false;
  for (uint32_t i = 0; i < 2 * t->bound_info->rank; ++i)
    if (t->bound_info->bounds[i].kind != bk_constant) return false;
  return true;
}

int array_shape_agree(type* a, type* b) {
  if (!a || !b) return 1;
  if (a->rank == 0 || b->rank == 0) return 1;
  // Ranks differ even where the bounds are not known (an array section).
  if (a->rank != b->rank) return 0;
  bound_info_entry* ba = array_bounds(a);
  bound_info_entry* bb = array_bounds(b);
  if (!ba || !bb) return 1;
  uint32_t rank = std::min(ba->rank, bb->rank);
  for (uint32_t d = 0; d < rank; ++d) {
    if (ba->upper(d).kind == bk_assumed || bb->upper(d).kind == bk_assumed) return 0;
    if (ba->lower(d).kind == bk_constant && ba->upper(d).kind == bk_constant &&
        bb->lower(d).kind == bk_constant && bb->upper(d).kind == bk_constant) {
      int64_t ea = static_cast<int64_t>(ba->upper(d).value) - ba->lower(d).value;
      int64_t eb = static_cast<int64_t>(bb->upper(d).value) - bb->lower(d).value;
      if (ea != eb) return 0;
    }
  }
  return 1;
}

static bool same_or_equal(type* a, type* b) { return a == b || type_equal(a, b); }

// Pairs of derived types whose structural comparison is under way: a pair met
// again is taken as equal, so mutually referring SEQUENCE types terminate.
static std::vector<std::pair<type*, type*>> derived_pairs;

static int derived_types_equal(type* a, type* b) {
  // One module read from two module files (or defined here and read back)
  // gives two module objects: its types are the same by the module's name.
  if (a->module && b->module && a->module->corresp.name == b->module->corresp.name &&
      a->corresp.name == b->corresp.name)
    return 1;
  if (!a->is_seq || !b->is_seq) return 0;
  for (auto& p : derived_pairs)
    if ((p.first == a && p.second == b) || (p.first == b && p.second == a)) return 1;
  derived_pairs.emplace_back(a, b);
  int result = 1;
  object* fa = a->first_field;
  object* fb = b->first_field;
  for (; fa && fb; fa = fa->next, fb = fb->next) {
    if (fa->corresp.name != fb->corresp.name || !same_or_equal(fa->type, fb->type)) {
      result = 0;
      break;
    }
  }
  if (result && (fa || fb)) result = 0;
  derived_pairs.pop_back();
  return result;
}

int type_equal(type* a, type* b) {
  if (a == b) return 1;
  if (!a || !b) return 0;
  if (a->type_code != b->type_code || a->type_code >= tk_count) return 0;
  switch (a->type_code) {
    case tk_integer:
    case tk_logical:
    case tk_float:
    case tk_complex:
      return a->kind == b->kind;
    case tk_routine:
      if (!(a->return_type && a->return_type->type_code == tk_unspec_routine) &&
          !(b->return_type && b->return_type->type_code == tk_unspec_routine) &&
          !same_or_equal(a->return_type, b->return_type))
        return 0;
      if (a->has_param_info && b->has_param_info) return param_lists_equal(a, b);
      return 1;
    case tk_fcharacter: {
      if (a->kind != b->kind) return 0;
      bound_record* la = char_len_record(a);
      bound_record* lb = char_len_record(b);
      if (la->kind == bk_assumed && lb->kind == bk_assumed) return 1;
      return la->kind == bk_constant && lb->kind == bk_constant && la->value == lb->value;
    }
    case tk_farray:
      return same_or_equal(a->element_type, b->element_type) && array_shape_agree(a, b);
    case tk_derived_type:
      return derived_types_equal(a, b);
    default:  // tk_void, 8-13 and 15-19
      return 1;
  }
}

int param_lists_equal(type* a, type* b) {
  param_type* pa = a->param_type_list;
  param_type* pb = b->param_type_list;
  for (; pa && pb; pa = pa->next, pb = pb->next) {
    if (pa->is_optional != pb->is_optional || pa->intent_in != pb->intent_in ||
        pa->intent_out != pb->intent_out || pa->corresp.name != pb->corresp.name ||
        !same_or_equal(pa->type, pb->type))
      return 0;
  }
  return !pa && !pb;
}

int param_lists_compatible(type* a, type* b) {
  bool a_has_scope = a->assoc_routine && a->assoc_routine->assoc_scope;
  bool b_has_scope = b->assoc_routine && b->assoc_routine->assoc_scope;
  param_type* pa = a->param_type_list;
  param_type* pb = b->param_type_list;
  for (; pa && pb; pa = pa->next, pb = pb->next) {
    const bool fa[3] = {pa->is_optional, pa->intent_in, pa->intent_out};
    const bool fb[3] = {pb->is_optional, pb->intent_in, pb->intent_out};
    for (int i = 0; i < 3; ++i) {
      if (a_has_scope && fa[i] < fb[i]) return 0;
      if (b_has_scope && fa[i] > fb[i]) return 0;
    }
    if (pa->type && pb->type && pa->type->type_code == tk_routine &&
        pb->type->type_code == tk_routine) {
      if (!param_lists_compatible(pa->type, pb->type)) return 0;
    } else if (!same_or_equal(pa->type, pb->type)) {
      return 0;
    }
  }
  return !pa && !pb;
}

static bool is_arith(const type* t) {
  return t && (t->type_code == tk_integer || t->type_code == tk_float || t->type_code == tk_complex);
}

int type_assignable(type* target, type* source) {
  if (!target || !source) return 0;
  if (source->type_code == tk_error) return 1;
  switch (target->type_code) {
    case tk_integer:
    case tk_float:
    case tk_complex:
      return is_arith(source);
    case tk_logical:
      return source->type_code == tk_logical;
    case tk_fcharacter:
      return source->type_code == tk_fcharacter && source->kind == target->kind;
    case tk_farray:
      if (source->type_code != tk_farray)
        return source == target->element_type || type_assignable(target->element_type, source);
      return (source->element_type == target->element_type ||
              type_assignable(target->element_type, source->element_type)) &&
             array_shape_agree(target, source);
    case tk_derived_type:
      return source == target || type_equal(target, source);
    case tk_error:
      return 1;
    default:
      return 0;
  }
}

static bool same_equal_or_agree(type* actual, type* dummy) {
  return actual == dummy || type_equal(actual, dummy) || arg_type_agree(actual, dummy);
}

int arg_type_agree(type* actual, type* dummy) {
  if (!actual || !dummy) return 0;
  switch (dummy->type_code) {
    case tk_void:
      return actual->type_code == tk_void;
    case tk_integer:
    case tk_logical:
    case tk_float:
    case tk_complex:
      return actual->type_code == dummy->type_code &&
             (dummy->kind == any_kind || actual->kind == dummy->kind);
    case tk_routine: {
      if (actual->type_code != tk_routine) return 0;
      type* ra = actual->return_type;
      type* rd = dummy->return_type;
      if ((ra && ra->type_code == tk_unspec_routine) || (rd && rd->type_code == tk_unspec_routine))
        return 1;
      if (actual->is_elemental && ra && ra->type_code == tk_farray) ra = ra->element_type;
      return ra == rd || type_equal(ra, rd) || arg_type_agree(ra, rd);
    }
    case tk_fcharacter:
      return actual->type_code == tk_fcharacter &&
             (dummy->kind == any_kind || actual->kind == dummy->kind);
    case tk_farray: {
      bool assumed_kinds = dummy->shape_kind >= assumed_shape && dummy->shape_kind <= as_shaped;
      if (actual->type_code == tk_farray) {
        if (!same_equal_or_agree(actual->element_type, dummy->element_type)) return 0;
        return !assumed_kinds || array_shape_agree(dummy, actual);
      }
      if (!same_equal_or_agree(actual, dummy->element_type)) return 0;
      return !(assumed_kinds && dummy->rank > 0);
    }
    case tk_stmt_label:
      return actual->type_code == tk_stmt_label;
    case tk_derived_type:
      return 0;
    case tk_error:
    case tk_any_type:
      return 1;
    case tk_any_derived:
      return actual->type_code == tk_derived_type;
    case tk_any_numerical:
      return is_arith(actual);
    default:
      return 1;
  }
}

int storage_types_agree(type* a, type* b) {
  if (!a || !b) return 0;
  if ((a->is_numeric && b->is_numeric) || (a->is_character && b->is_character)) return 1;
  type* ea = a->type_code == tk_farray ? a->element_type : a;
  type* eb = b->type_code == tk_farray ? b->element_type : b;
  return same_or_equal(ea, eb);
}

int type_is_zero_size(type* t) {
  if (!t) return 0;
  if (t->type_code == tk_fcharacter)
    return t->length.kind == bk_constant && t->length.value == 0;
  if (t->type_code != tk_farray) return 0;
  if (type_is_zero_size(t->element_type)) return 1;
  if (!t->element_type || t->size != t->element_type->size) return 0;
  bound_info_entry* b = t->bound_info;
  if (!b || t->shape_kind > as_shaped) return 0;
  for (uint32_t d = 0; d < b->rank; ++d)
    if (b->lower(d).kind == bk_constant && b->upper(d).kind == bk_constant &&
        b->upper(d).value < b->lower(d).value)
      return 1;
  return 0;
}

// ---- Storage sizes ----

static constexpr uint32_t round_up(uint32_t size, uint32_t alignment, bool* overflow) {
  if (alignment <= 1) return size;
  uint64_t r = (static_cast<uint64_t>(size) + alignment - 1) / alignment * alignment;
  if (r > 0xFFFFFFFFu) {
    *overflow = true;
    return size;
  }
  return static_cast<uint32_t>(r);
}

static void array_storage_size(type* t) {
  type* e = t->element_type;
  if (!e) return;
  type_storage_size(e);
  if (e->size == 0) return;
  t->alignment = e->alignment;
  bound_info_entry* b = t->shape_kind <= as_shaped ? t->bound_info.get() : nullptr;
  if (!b) return;
  uint64_t count = 1;
  for (uint32_t d = 0; d < b->rank; ++d) {
    const bound_record& lo = b->lower(d);
    const bound_record& hi = b->upper(d);
    if (lo.kind != bk_constant || hi.kind != bk_constant) return;  // size stays 0
    int64_t extent = static_cast<int64_t>(hi.value) - lo.value + 1;
    if (extent <= 0) {
      count = 0;
      break;
    }
    uint64_t partial = count;
    count *= static_cast<uint64_t>(extent);  // below 2^64: both factors are at most 2^32
    if (count > 0xFFFFFFFFu) {
      error_at(33, t->corresp.decl_position);
      t->size = static_cast<uint32_t>(partial);
      return;
    }
  }
  bool char_len0 = e->type_code == tk_fcharacter && e->length.kind == bk_constant && e->length.value == 0;
  if (count == 0 || char_len0) count = 1;
  uint64_t size = count * e->size;
  if (size > 0xFFFFFFFFu) {
    error_at(33, t->corresp.decl_position);
    t->size = static_cast<uint32_t>(count);
    return;
  }
  t->size = static_cast<uint32_t>(size);
}

static void derived_storage_size(type* t) {
  for (type* busy : caches.in_layout)
    if (busy == t) return;  // a type that contains itself: no size
  caches.in_layout.push_back(t);
  uint32_t size = 0;
  uint32_t alignment = 1;
  int32_t internal_number = 0;
  bool overflow = false;
  for (object* c = t->first_field; c; c = c->next) {
    uint32_t csize = 0, calign = 1;
    switch (c->storage_class) {
      case sc_local:
      case sc_type_field:
        object_storage_size(c, &csize, &calign);
        break;
      case sc_external:
        if (!c->is_parameter) {
          c->association_offset = 0;
          continue;
        }
        csize = 4;
        calign = descriptor_alignment();
        break;
      case sc_common:
      case sc_module:
      case sc_program:
      case sc_blockdata:
      case sc_stmt_func:
        c->association_offset = 0;
        continue;
      case sc_internal:
        c->association_offset = ++internal_number;
        continue;
      default:  // associated, use-associated, intrinsic, module procedure
        continue;
    }
    if (calign == 0) calign = 1;
    size = round_up(size, calign, &overflow);
    c->association_offset = static_cast<int32_t>(size);
    uint64_t grown = static_cast<uint64_t>(size) + csize;
    if (grown > 0xFFFFFFFFu) overflow = true; else size = static_cast<uint32_t>(grown);
    if (calign > alignment) alignment = calign;
  }
  size = round_up(size, alignment, &overflow);
  if (overflow) error_at(33, t->corresp.decl_position);
  t->size = size;
  t->alignment = static_cast<uint8_t>(alignment);
  caches.in_layout.pop_back();
}

void type_storage_size(type* t) {
  if (!t || t->size != 0) return;
  t->alignment = 1;
  const kind_row* row = kind_row_of(family_of(t->type_code), t->kind);
  switch (t->type_code) {
    case tk_integer:
    case tk_logical:
    case tk_float:
      if (row) {
        t->size = row->size;
        t->alignment = row->alignment;
      }
      break;
    case tk_complex:
      if (row) {
        t->size = 2 * row->size;
        t->alignment = row->alignment;
      }
      break;
    case tk_fcharacter:
      if (!row) break;
      if (t->length.kind == bk_constant) {
        uint64_t size = static_cast<uint64_t>(row->size) *
                        (t->length.value > 0 ? static_cast<uint32_t>(t->length.value) : 1u);
        t->size = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
      }
      t->alignment = row->alignment;
      break;
    case tk_farray:
      array_storage_size(t);
      break;
    case tk_derived_type:
      derived_storage_size(t);
      break;
    case tk_error:
      t->size = 1;
      break;
    default:
      break;
  }
}

void object_storage_size(object* o, uint32_t* size, uint32_t* alignment) {
  if (!o->is_pointer && !o->is_allocatable && !o->is_auto && !o->is_parameter) {
    type_storage_size(o->type);
    *size = o->type ? o->type->size : 0;
    *alignment = o->type ? o->type->alignment : 1;
    return;
  }
  *size = 4;
  *alignment = descriptor_alignment();
  if (o->type && o->type->type_code == tk_farray) {
    bool overflow = false;
    *size = round_up(*size, descriptor_alignment(), &overflow) + descriptor_dims_size(o->type->rank);
  }
}
