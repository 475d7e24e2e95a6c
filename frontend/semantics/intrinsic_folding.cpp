// Folding of intrinsic procedure references in constant expressions: the
// elemental INTEGER and CHARACTER intrinsics element by element, the numeric
// inquiries from the kind table, the array inquiries from the bounds, and
// REPEAT, TRIM, RESHAPE, TRANSFER and the kind selectors.
#include "frontend/semantics/intrinsic_folding.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/target_arith.h"

namespace {

// The rows of the intrinsic table by name: ir_abs, ir_mod, ...
enum intrinsic_row_id : int {
#define INTRINSIC(row, id, name, cls) ir_##id = row,
#define SIGNATURE(row, specific, form, dummies, result)
#include "frontend/model/intrinsics.def"
};

constexpr int max_elemental_args = 8;

// ---- Arguments ----

// The argument nodes of a call, absent ones included (enk_empty).
struct Args {
  expr_node* node[max_elemental_args];
  int count;
};

Args args_of(expr_node* call) {
  Args a{};
  for (expr_node* e = call->operands; e && a.count < max_elemental_args; e = e->next)
    a.node[a.count++] = e;
  return a;
}

bool present(const Args& a, int i) {
  return i < a.count && a.node[i] && a.node[i]->node_kind != enk_empty;
}

// Evaluates argument i: 1 with the value, 0 when not constant; *empty set
// when it is the error constant.
int eval_arg(const Args& a, int i, const_value* v, bool* empty) {
  if (!evaluate_constant_expression(a.node[i], v, 0)) return 0;
  if (v->c.kind == ck_error) *empty = true;
  return 1;
}

// An argument of an elemental intrinsic: a scalar that the checker spread
// over the array arguments' shape stays a scalar.
int eval_elemental_arg(const Args& a, int i, const_value* v, bool* empty) {
  const_init(v);
  return evaluate_elementwise_operand(a.node[i], v, empty);
}

void fail_argument(int msg, expr_node* arg, diag_args text = {}) {
  error_at(msg, arg->source_pos, text);
  expr_set_error(arg);
}

// Where a message about one value of an argument goes: at the value when it
// was written inside the argument (an item of a constructor), else at the
// argument. A value that comes from a named constant was written before the
// argument, in the constant's declaration.
source_pos_record value_position(const const_value* value, const expr_node* arg) {
  const source_pos_record& v = value->c.source_pos;
  const source_pos_record& a = arg->source_pos;
  bool inside = v.seq > a.seq || (v.seq == a.seq && v.column >= a.column);
  return v.seq != 0 && inside ? v : a;
}

// As fail_argument, the message at the value of the argument at fault.
void fail_value(int msg, const const_value* value, expr_node* arg) {
  error_at(msg, value_position(value, arg));
  expr_set_error(arg);
}

// The value record becomes ck_value of t (position kept).
void set_word(const_value* r, type* t, int32_t value) {
  source_pos_record pos = r->c.source_pos;
  const_init_sized(r, 16);
  r->c.type = t;
  r->c.source_pos = pos;
  const_set_int(r, value);
}

void set_double(const_value* r, type* t, double value) {
  source_pos_record pos = r->c.source_pos;
  const_init_sized(r, 16);
  r->c.type = t;
  r->c.source_pos = pos;
  const_set_real(r, value);
}

int32_t bit_size_of(type* t) {
  const kind_row* row = kind_row_of_type(element_type_of(t));
  return row ? static_cast<int32_t>(8 * row->size) : 32;
}

bool integer_or_character(type* t) {
  t = element_type_of(t);
  return t && (t->type_code == tk_integer || t->type_code == tk_fcharacter);
}

// ---- Model numbers of the kind rows ----

int32_t integer_range(const kind_row* r) {
  uint64_t huge = 1;
  for (int i = 0; i < r->digits; ++i) huge *= static_cast<uint64_t>(r->radix);
  huge -= 1;
  int32_t digits = 0;
  for (; huge >= 10; huge /= 10) ++digits;  // int(log10(huge))
  return digits;
}

int32_t real_precision(const kind_row* r) {
  int32_t p = static_cast<int32_t>((r->digits - 1) * std::log10(static_cast<double>(r->radix)));
  return r->radix % 10 == 0 ? p + 1 : p;
}

double real_huge(const kind_row* r) {
  double f = 1.0;
  for (int i = 0; i < r->digits; ++i) f /= r->radix;
  f = 1.0 - f;
  for (int i = 0; i < r->max_exponent; ++i) f *= r->radix;
  return f;
}

double real_tiny(const kind_row* r) {
  double f = 1.0;
  for (int i = 0; i < 1 - r->min_exponent; ++i) f /= r->radix;
  return f;
}

double real_epsilon(const kind_row* r) {
  double f = 1.0;
  for (int i = 0; i < r->digits - 1; ++i) f /= r->radix;
  return f;
}

int32_t real_range(const kind_row* r) {
  double a = std::log10(real_huge(r)), b = -std::log10(real_tiny(r));
  return static_cast<int32_t>(a < b ? a : b);
}

// ---- Elemental operations ----

uint32_t text_length(const const_value* v) { return char_length_of(v->c.type); }

char pad_of(type* t) {
  const kind_row* row = kind_row_of_type(element_type_of(t));
  return row && row->pad ? row->pad : ' ';
}

uint32_t len_trim(const const_value* v) {
  uint32_t n = text_length(v);
  const uint8_t* s = const_chars(v);
  char pad = pad_of(v->c.type);
  while (n > 0 && s[n - 1] == static_cast<uint8_t>(pad)) --n;
  return n;
}

// INDEX (where SUB starts), SCAN (a character of SET) and VERIFY (a
// character not in SET) of s: the first position, or 0 when there is none.
// INDEX of an empty SUB is 1. (BACK is LOGICAL, so a reference with BACK
// does not fold.)
int32_t string_search(int row, const uint8_t* s, uint32_t len, const uint8_t* set, uint32_t set_len) {
  for (uint32_t i = 0; i < len || (row == ir_index && i == len); ++i) {
    bool found;
    if (row == ir_index)
      found = i + set_len <= len && (set_len == 0 || std::memcmp(s + i, set, set_len) == 0);
    else
      found = (set_len && std::memchr(set, s[i], set_len) != nullptr) == (row == ir_scan);
    if (found) return static_cast<int32_t>(i + 1);
    if (row == ir_index && i + set_len >= len) break;
  }
  return 0;
}

bool bit_result(const BitResult& b, const const_value* v, expr_node* const* nodes, const_value* r) {
  if (b.fault == ArgFault::none) {
    const_set_int(r, b.value);
    return true;
  }
  error_at(b.fault == ArgFault::negative ? 543 : 548, value_position(&v[b.argument], nodes[b.argument]));
  return false;
}

// One element of an elemental intrinsic: r is ck_value of its element type.
bool elemental_element(int row, const_value* r, const const_value* v, int n,
                       expr_node* const* nodes) {
  auto w = [&](int i) { return const_int(&v[i]); };
  int32_t bits = bit_size_of(v[0].c.type);
  switch (row) {
    case ir_abs: case ir_iabs: const_set_int(r, fortran_abs(w(0))); return true;
    case ir_char:
    case ir_achar: {
      type* t = r->c.type;
      source_pos_record pos = r->c.source_pos;
      *r = v[0];
      r->c.source_pos = pos;
      const_convert_to_type(r, t);
      return r->c.kind != ck_error;
    }
    case ir_ichar:
    case ir_iachar: {
      const kind_row* k = kind_row_of_type(v[0].c.type);
      int32_t code = text_length(&v[0]) == 0 ? 0 : k ? k->get_int(const_chars(&v[0])) : const_chars(&v[0])[0];
      const_set_int(r, code);
      return true;
    }
    case ir_int: const_set_int(r, w(0)); return true;
    case ir_adjustl:
    case ir_adjustr: {
      uint32_t len = text_length(&v[0]);
      const uint8_t* s = const_chars(&v[0]);
      uint8_t pad = static_cast<uint8_t>(pad_of(v[0].c.type));
      std::vector<uint8_t> out(len, ' ');
      if (row == ir_adjustl) {
        uint32_t lead = 0;
        while (lead < len && s[lead] == pad) ++lead;
        if (len > lead) std::memcpy(out.data(), s + lead, len - lead);
      } else {
        uint32_t kept = len_trim(&v[0]);
        if (kept > 0) std::memcpy(out.data() + (len - kept), s, kept);
      }
      make_char_value(r, v[0].c.type, out.data(), len);
      return true;
    }
    case ir_dim: case ir_idim: const_set_int(r, fortran_dim(w(0), w(1))); return true;
    case ir_iand: const_set_int(r, static_cast<int32_t>(static_cast<uint32_t>(w(0)) & static_cast<uint32_t>(w(1)))); return true;
    case ir_ieor: const_set_int(r, static_cast<int32_t>(static_cast<uint32_t>(w(0)) ^ static_cast<uint32_t>(w(1)))); return true;
    case ir_ior: const_set_int(r, static_cast<int32_t>(static_cast<uint32_t>(w(0)) | static_cast<uint32_t>(w(1)))); return true;
    case ir_not: const_set_int(r, static_cast<int32_t>(~static_cast<uint32_t>(w(0)))); return true;
    case ir_ibclr: return bit_result(fortran_ibclr(w(0), w(1), bits), v, nodes, r);
    case ir_ibset: return bit_result(fortran_ibset(w(0), w(1), bits), v, nodes, r);
    case ir_ibits: return bit_result(fortran_ibits(w(0), w(1), w(2), bits), v, nodes, r);
    case ir_ishft: return bit_result(fortran_ishft(w(0), w(1), bits), v, nodes, r);
    case ir_ishftc:
      return bit_result(fortran_ishftc(w(0), w(1), n > 2 ? w(2) : 0, n > 2, bits), v, nodes, r);
    case ir_mvbits:
      return bit_result(fortran_mvbits(w(0), w(1), w(2), w(3), w(4), bits), v, nodes, r);
    case ir_len_trim: const_set_int(r, static_cast<int32_t>(len_trim(&v[0]))); return true;
    case ir_index:
    case ir_scan:
    case ir_verify: {
      const_set_int(r, string_search(row, const_chars(&v[0]), text_length(&v[0]), const_chars(&v[1]),
                                     text_length(&v[1])));
      return true;
    }
    case ir_max: case ir_max0: case ir_min: case ir_min0: {
      bool is_max = row == ir_max || row == ir_max0;
      int32_t best = w(0);
      for (int i = 1; i < n; ++i)
        if (is_max ? w(i) > best : w(i) < best) best = w(i);
      const_set_int(r, best);
      return true;
    }
    case ir_mod:
    case ir_modulo: {
      Int32Result m = row == ir_mod ? fortran_mod(w(0), w(1)) : fortran_modulo(w(0), w(1));
      if (m.division_by_zero) {
        error_at(169, value_position(&v[1], nodes[1]));
        return false;
      }
      const_set_int(r, m.value);
      return true;
    }
    case ir_sign: case ir_isign: const_set_int(r, fortran_sign(w(0), w(1))); return true;
    default: return false;
  }
}

int fold_elemental(expr_node* call, const_value* result) {
  int row = call->intrinsic;
  type* rt = call->type;
  if (!integer_or_character(rt)) return 0;
  Args a = args_of(call);
  int n = 0;
  while (n < a.count && present(a, n)) ++n;
  for (int i = 0; i < n; ++i)
    if (!integer_or_character(a.node[i]->type)) return 0;
  const_value v[max_elemental_args];
  bool empty = false;
  for (int i = 0; i < n; ++i)
    if (!eval_elemental_arg(a, i, &v[i], &empty)) return 0;
  if (empty || n == 0) {
    if (!empty) return 0;
    const_init(result);
    return 1;
  }
  source_pos_record pos = call->source_pos;
  if (!rt || rt->type_code != tk_farray) {
    set_word(result, rt, 0);
    result->c.source_pos = pos;
    return elemental_element(row, result, v, n, a.node) ? 1 : 0;
  }
  type* et = element_type_of(rt);
  std::vector<ElementWalk> walks;
  walks.reserve(n);
  for (int i = 0; i < n; ++i) walks.emplace_back(&v[i]);
  aggregate_start(result, rt);
  for (;;) {
    const_value cur[max_elemental_args];
    int arrays = 0, ended = 0;
    for (int i = 0; i < n; ++i) {
      cur[i] = v[i];
      if (!value_is_array(&v[i])) continue;
      ++arrays;
      if (!walks[i].next(&cur[i])) ++ended;
    }
    if (arrays == 0 || ended == arrays) break;
    if (ended > 0) {
      error_at(539, pos);
      expr_set_error(call);
      return 0;
    }
    const_value r;
    const_init(&r);
    r.c.source_pos = pos;
    set_word(&r, et, 0);
    if (!elemental_element(row, &r, cur, n, a.node)) return 0;
    aggregate_append(result, &r);
  }
  return 1;
}

// ---- Numeric inquiries ----

int fold_numeric_inquiry(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (a.count < 1) return 0;
  type* t = element_type_of(a.node[0]->type);
  if (!t) return 0;
  int family = t->type_code == tk_integer ? kf_integer
             : t->type_code == tk_logical ? kf_logical
             : t->type_code == tk_fcharacter ? kf_character
             : (t->type_code == tk_float || t->type_code == tk_complex) ? kf_real : -1;
  if (family < 0) return 0;
  const kind_row* row = kind_row_of(family, t->kind);
  if (!row) return 0;
  type* dint = default_integer_type();
  bool integer = family == kf_integer;
  bool real = family == kf_real;
  switch (call->intrinsic) {
    case ir_bit_size:
      if (!integer) return 0;
      set_word(result, dint, static_cast<int32_t>(8 * row->size));
      return 1;
    case ir_digits:
      if (!integer && !real) return 0;
      set_word(result, dint, row->digits);
      return 1;
    case ir_radix:
      if (!integer && !real) return 0;
      set_word(result, dint, row->radix);
      return 1;
    case ir_range:
      if (!integer && !real) return 0;
      set_word(result, dint, integer ? integer_range(row) : real_range(row));
      return 1;
    case ir_kind:
      set_word(result, dint, row->kind_value);
      return 1;
    case ir_huge:
      if (integer) {
        set_word(result, t, static_cast<int32_t>(integer_kind_huge(t->kind)));
        return 1;
      }
      if (t->type_code != tk_float) return 0;
      set_double(result, t, real_huge(row));
      return 1;
    case ir_epsilon:
    case ir_tiny:
      if (t->type_code != tk_float) return 0;
      set_double(result, t, call->intrinsic == ir_tiny ? real_tiny(row) : real_epsilon(row));
      return 1;
    case ir_maxexponent:
    case ir_minexponent:
      if (!real) return 0;
      set_word(result, dint, call->intrinsic == ir_maxexponent ? row->max_exponent : row->min_exponent);
      return 1;
    case ir_precision:
      if (!real) return 0;
      set_word(result, dint, real_precision(row));
      return 1;
    default:
      return 0;
  }
}

int fold_selected_int_kind(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (!present(a, 0)) return 0;
  const_value r;
  bool empty = false;
  if (!eval_arg(a, 0, &r, &empty)) return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  int32_t kind = -1;
  for (int i = 0; i < kind_family_rows[kf_integer]; ++i) {
    const kind_row* row = kind_row_of(kf_integer, static_cast<uint32_t>(i));
    if (integer_range(row) >= const_int(&r)) {
      kind = row->kind_value;
      break;
    }
  }
  set_word(result, default_integer_type(), kind);
  return 1;
}

int fold_selected_real_kind(expr_node* call, const_value* result) {
  Args a = args_of(call);
  int32_t kind = 0;
  int start = 0;
  int rows = kind_family_rows[kf_real];
  for (int which = 0; which < 2; ++which) {
    if (!present(a, which)) continue;
    const_value v;
    bool empty = false;
    if (!eval_arg(a, which, &v, &empty)) return 0;
    if (empty) {
      const_init(result);
      return 1;
    }
    int32_t want = const_int(&v);
    if (which == 0) {
      kind = -1;
      start = 0;
      for (int i = 0; i < rows; ++i) {
        const kind_row* row = kind_row_of(kf_real, static_cast<uint32_t>(i));
        if (real_precision(row) >= want) {
          kind = row->kind_value;
          start = i;
          break;
        }
      }
      continue;
    }
    bool found = false;
    for (int i = start; i < rows; ++i) {
      const kind_row* row = kind_row_of(kf_real, static_cast<uint32_t>(i));
      if (real_range(row) >= want) {
        if (kind != -1) kind = row->kind_value;
        found = true;
        break;
      }
    }
    if (!found) kind = kind == -1 ? -3 : -2;
  }
  set_word(result, default_integer_type(), kind);
  return 1;
}

// ---- Character functions ----

int fold_len(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (a.count < 1) return 0;
  expr_node* arg = a.node[0];
  while (arg && arg->node_kind == enk_ref && arg->reference) arg = arg->reference;
  type* t = arg->node_kind == enk_object && arg->object ? arg->object->type.get()
          : arg->node_kind == enk_field && arg->field_var ? arg->field_var->type.get()
          : arg->type.get();
  t = element_type_of(t);
  if (!t || t->type_code != tk_fcharacter) return 0;
  bound_record* len = char_len_record(t);
  if (!len) return 0;
  if (len->kind == bk_constant) {
    set_word(result, default_integer_type(), len->value);
    return 1;
  }
  if (len->kind != bk_expression || !len->expr) return 0;
  source_pos_record pos = result->c.source_pos;
  if (!evaluate_constant_expression(len->expr, result, 0)) return 0;
  result->c.source_pos = pos;
  return 1;
}

int fold_repeat(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (!present(a, 0) || !present(a, 1)) return 0;
  const_value s, n;
  bool empty = false;
  if (!eval_arg(a, 0, &s, &empty) || !eval_arg(a, 1, &n, &empty)) return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  int32_t copies = const_int(&n);
  if (copies < 0) {
    fail_argument(543, a.node[1]);
    return 0;
  }
  uint32_t len = text_length(&s);
  const kind_row* row = kind_row_of_type(s.c.type);
  uint32_t unit = row ? row->size : 1;
  uint64_t total = uint64_t{len} * static_cast<uint32_t>(copies);
  if (total > 0x7FFFFFFFu) {  // no string of that length can be made
    fail_argument(292, a.node[1]);
    return 0;
  }
  if (total > max_constant_elements) return 0;
  std::vector<uint8_t> text;
  text.reserve(static_cast<size_t>(total) * unit);
  for (int32_t i = 0; i < copies; ++i)
    text.insert(text.end(), const_chars(&s), const_chars(&s) + static_cast<size_t>(len) * unit);
  make_char_value(result, s.c.type, text.data(), static_cast<uint32_t>(total));
  return 1;
}

int fold_trim(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (!present(a, 0)) return 0;
  source_pos_record pos = result->c.source_pos;
  bool empty = false;
  if (!eval_arg(a, 0, result, &empty)) return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  if (!result->c.type || result->c.type->type_code != tk_fcharacter) return 0;
  result->c.type = character_type(result->c.type->kind, false, len_trim(result));
  result->c.source_pos = pos;
  return 1;
}

// ---- Array inquiries ----

// The bounds of an array argument: lower and upper per dimension, and
// whether it is a whole array.
struct ArrayBounds {
  uint32_t rank;
  int32_t lower[7], upper[7];
  bool whole;
};

bool bounds_of(expr_node* arg, ArrayBounds* out) {
  while (arg && arg->node_kind == enk_ref && arg->reference) arg = arg->reference;
  type* t = arg->type;
  out->whole = arg->node_kind == enk_object ||
               (arg->node_kind == enk_field && arg->field_var && arg->field_var->type &&
                arg->field_var->type->type_code == tk_farray);
  if (arg->node_kind == enk_object && arg->object) t = arg->object->type;
  if (arg->node_kind == enk_field && arg->field_var && out->whole) t = arg->field_var->type;
  if (!t || t->type_code != tk_farray) {
    out->rank = 0;
    return true;
  }
  bound_info_entry* b = constant_bounds_block(t);
  if (!b || b->rank > 7) return false;
  out->rank = b->rank;
  for (uint32_t d = 0; d < b->rank; ++d) {
    if (!bound_value(b->lower(d), &out->lower[d]) || !bound_value(b->upper(d), &out->upper[d]))
      return false;
    if (!out->whole) {  // an array-valued expression counts from 1
      int64_t extent = int64_t{out->upper[d]} - out->lower[d] + 1;
      out->lower[d] = 1;
      out->upper[d] = extent < 0 ? 0 : static_cast<int32_t>(extent);
    }
  }
  return true;
}

int32_t extent_of(const ArrayBounds& b, uint32_t d) {
  int64_t e = int64_t{b.upper[d]} - b.lower[d] + 1;
  return e < 0 ? 0 : static_cast<int32_t>(e);
}

void int_array_result(const_value* result, const std::vector<int32_t>& values) {
  int32_t n = static_cast<int32_t>(values.size());
  aggregate_start(result, constant_array_type(default_integer_type(), 1, &n));
  for (int32_t v : values) {
    const_value e;
    const_init(&e);
    e.c.source_pos = result->c.source_pos;
    set_word(&e, default_integer_type(), v);
    aggregate_append(result, &e);
  }
}

int fold_array_inquiry(expr_node* call, const_value* result) {
  int row = call->intrinsic;
  Args a = args_of(call);
  if (!present(a, 0)) return 0;
  ArrayBounds b{};
  if (!bounds_of(a.node[0], &b)) return 0;
  bool has_dim = row != ir_shape && present(a, 1);
  int32_t dim = 0;
  if (has_dim) {
    const_value d;
    bool empty = false;
    if (!eval_arg(a, 1, &d, &empty)) return 0;
    if (empty) {
      const_init(result);
      return 1;
    }
    dim = const_int(&d);
    int64_t magnitude = row == ir_size && dim < 0 ? -int64_t{dim} : dim;
    if (magnitude < 1 || magnitude > b.rank) {
      fail_argument(545, a.node[1]);
      return 0;
    }
  }
  type* dint = default_integer_type();
  auto lower = [&](uint32_t d) { return b.whole && b.lower[d] <= b.upper[d] ? b.lower[d] : 1; };
  auto upper = [&](uint32_t d) {
    if (!b.whole) return extent_of(b, d);
    return b.lower[d] <= b.upper[d] ? b.upper[d] : 0;
  };
  switch (row) {
    case ir_lbound:
    case ir_ubound: {
      auto value = [&](uint32_t d) { return row == ir_lbound ? lower(d) : upper(d); };
      if (has_dim) {
        set_word(result, dint, value(static_cast<uint32_t>(dim - 1)));
        return 1;
      }
      std::vector<int32_t> values;
      for (uint32_t d = 0; d < b.rank; ++d) values.push_back(value(d));
      int_array_result(result, values);
      return 1;
    }
    case ir_shape: {
      std::vector<int32_t> values;
      for (uint32_t d = 0; d < b.rank; ++d) values.push_back(extent_of(b, d));
      int_array_result(result, values);
      return 1;
    }
    case ir_size: {
      if (has_dim && dim > 0) {
        set_word(result, dint, extent_of(b, static_cast<uint32_t>(dim - 1)));
        return 1;
      }
      int32_t product = 1;
      for (uint32_t d = 0; d < b.rank; ++d)
        if (!has_dim || d != static_cast<uint32_t>(-int64_t{dim} - 1))
          product = wrapping_mul(product, extent_of(b, d));
      set_word(result, dint, product);
      return 1;
    }
    default:
      return 0;
  }
}

// ---- RESHAPE ----

// The value nodes of an array value's elements, in order.
std::vector<const_value> elements_of(const const_value* v) {
  std::vector<const_value> out;
  if (!value_is_array(v)) {
    out.push_back(*v);
    return out;
  }
  ElementWalk walk(v);
  const_value e;
  while (walk.next(&e)) out.push_back(e);
  return out;
}

int fold_reshape(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (!present(a, 0) || !present(a, 1)) return 0;
  const_value source, shape, pad, order;
  bool empty = false;
  if (!eval_arg(a, 0, &source, &empty) || !eval_arg(a, 1, &shape, &empty)) return 0;
  bool has_pad = present(a, 2), has_order = present(a, 3);
  if (has_pad && !eval_arg(a, 2, &pad, &empty)) return 0;
  if (has_order && !eval_arg(a, 3, &order, &empty)) return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  std::vector<const_value> shape_values = elements_of(&shape);
  std::vector<int32_t> extents;
  for (const const_value& e : shape_values) extents.push_back(const_int(&e));
  size_t n = extents.size();
  if (n < 1) {
    fail_argument(383, a.node[1], {"rank"});
    return 0;
  }
  if (n > 7) {
    fail_argument(319, a.node[1]);
    return 0;
  }
  std::vector<int32_t> perm;
  if (has_order) {
    std::vector<const_value> order_values = elements_of(&order);
    for (const const_value& p : order_values) perm.push_back(const_int(&p));
    if (perm.size() > 7 || perm.size() != n) {
      fail_argument(544, a.node[3], {"SHAPE"});
      return 0;
    }
    bool seen[8] = {};
    for (size_t i = 0; i < n; ++i) {
      int32_t p = perm[i];
      if (p < 1 || p > static_cast<int32_t>(n)) {
        fail_value(545, &order_values[i], a.node[3]);
        return 0;
      }
      if (seen[p]) {
        fail_argument(546, a.node[3]);
        return 0;
      }
      seen[p] = true;
    }
  } else {
    for (size_t i = 0; i < n; ++i) perm.push_back(static_cast<int32_t>(i + 1));
  }
  uint64_t total = 1;
  for (size_t i = 0; i < n; ++i) {
    int32_t e = extents[i];
    if (e < 0) {
      fail_value(543, &shape_values[i], a.node[1]);
      return 0;
    }
    total *= static_cast<uint64_t>(e);
    if (total > 0x7FFFFFFFu) total = 0x7FFFFFFFu;
  }
  if (total > max_constant_elements) return 0;
  std::vector<const_value> src = elements_of(&source);
  std::vector<const_value> padding = has_pad ? elements_of(&pad) : std::vector<const_value>{};
  if (src.size() < total && padding.empty()) {
    fail_argument(547, a.node[0]);
    return 0;
  }
  type* et = element_type_of(source.c.type);
  type* rt = constant_array_type(et, static_cast<uint32_t>(n), extents.data());
  // The k-th value taken goes to the result subscript that runs in the order
  // ORDER(1) fastest; place it at its array-element-order position.
  std::vector<const_value> out(static_cast<size_t>(total));
  std::vector<int64_t> stride(n);
  int64_t s = 1;
  for (size_t d = 0; d < n; ++d) {
    stride[d] = s;
    s *= extents[d];
  }
  std::vector<int32_t> sub(n, 0);
  for (uint64_t k = 0; k < total; ++k) {
    int64_t pos = 0;
    for (size_t d = 0; d < n; ++d) pos += sub[d] * stride[d];
    out[static_cast<size_t>(pos)] =
        k < src.size() ? src[k] : padding[(k - src.size()) % padding.size()];
    for (size_t j = 0; j < n; ++j) {  // next subscript in permuted order
      size_t d = static_cast<size_t>(perm[j] - 1);
      if (++sub[d] < extents[d]) break;
      sub[d] = 0;
    }
  }
  aggregate_start(result, rt);
  for (const_value& e : out) aggregate_append(result, &e);
  return 1;
}

// ---- TRANSFER ----

// Writes a host-form value in target representation at bytes; returns the
// bytes written.
uint32_t write_target(const const_value* v, std::vector<uint8_t>& buf, uint32_t at);

uint32_t write_scalar(const const_value* v, std::vector<uint8_t>& buf, uint32_t at) {
  type* t = v->c.type;
  const kind_row* row = kind_row_of_type(t);
  if (!t || !row) return 0;
  auto room = [&](uint32_t n) {
    if (buf.size() < size_t{at} + n) buf.resize(size_t{at} + n, 0);
    return buf.data() + at;
  };
  switch (t->type_code) {
    case tk_integer:
    case tk_logical:
      row->set_int(const_int(v), room(row->size));
      return row->size;
    case tk_float:
      row->set_real(const_real(v), room(row->size));
      return row->size;
    case tk_complex: {
      uint8_t* p = room(2 * row->size);
      row->set_real(const_real(v, 0), p);
      row->set_real(const_real(v, 1), p + row->size);
      return 2 * row->size;
    }
    case tk_fcharacter: {
      uint32_t n = char_length_of(t) * row->size;
      uint8_t* p = room(n);
      if (n) std::memcpy(p, const_chars(v), n);
      return n;
    }
    default:
      return 0;
  }
}

// Structures are laid out as in storage: each component at its offset, the
// padding between components and at the end left zero, so that the reader
// below finds every component where it was written.
uint32_t write_target(const const_value* v, std::vector<uint8_t>& buf, uint32_t at) {
  if (v->c.kind != ck_aggregate) return write_scalar(v, buf, at);
  type* t = v->c.type;
  ElementWalk walk(v);
  const_value e;
  if (t && t->type_code == tk_derived_type) {
    type_storage_size(t);
    for (object* f = t->first_field; f && walk.next(&e); f = f->next)
      write_target(&e, buf, at + static_cast<uint32_t>(f->association_offset));
    if (buf.size() < size_t{at} + t->size) buf.resize(size_t{at} + t->size, 0);
    return t->size;
  }
  type* et = element_type_of(t);
  type_storage_size(et);
  uint32_t written = 0;
  while (walk.next(&e)) {
    uint32_t n = write_target(&e, buf, at + written);
    written += et && et->size ? et->size : n;
  }
  return written;
}

// Reads a value of type t from the target bytes at p.
void read_target(type* t, const uint8_t* p, const_value* out) {
  source_pos_record pos = out->c.source_pos;
  if (t->type_code == tk_farray || t->type_code == tk_derived_type) {
    aggregate_start(out, t);
    if (t->type_code == tk_farray) {
      type* et = t->element_type;
      type_storage_size(et);
      uint32_t n = 0;
      if (!array_element_count(t, &n)) n = et->size ? t->size / et->size : 0;
      for (uint32_t i = 0; i < n; ++i) {
        const_value e;
        const_init(&e);
        e.c.source_pos = pos;
        read_target(et, p + size_t{i} * et->size, &e);
        aggregate_append(out, &e);
      }
    } else {
      for (object* f = t->first_field; f; f = f->next) {
        const_value e;
        const_init(&e);
        e.c.source_pos = pos;
        read_target(f->type, p + f->association_offset, &e);
        aggregate_append(out, &e);
      }
    }
    return;
  }
  const kind_row* row = kind_row_of_type(t);
  if (t->type_code == tk_fcharacter) {
    make_char_value(out, t, p, char_length_of(t));
    return;
  }
  const_init_sized(out, 16);
  out->c.type = t;
  out->c.source_pos = pos;
  if (!row) return;
  switch (t->type_code) {
    case tk_integer:
    case tk_logical: const_set_int(out, row->get_int(p)); break;
    case tk_float: const_set_real(out, row->get_real(p)); break;
    case tk_complex:
      const_set_real(out, row->get_real(p), 0);
      const_set_real(out, row->get_real(p + row->size), 1);
      break;
    default: break;
  }
}

int fold_transfer(expr_node* call, const_value* result) {
  Args a = args_of(call);
  if (!present(a, 0) || !present(a, 1)) return 0;
  const_value source, size;
  bool empty = false;
  if (!eval_arg(a, 0, &source, &empty)) return 0;
  if (present(a, 2) && !eval_arg(a, 2, &size, &empty)) return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  std::vector<uint8_t> buf;
  uint32_t source_size = write_target(&source, buf, 0);
  type* mold = a.node[1]->type;
  type* et = element_type_of(mold);
  if (!et) return 0;
  type_storage_size(et);
  if (et->size == 0) return 0;
  type* rt = mold;
  if (present(a, 2)) {
    int32_t n = const_int(&size);
    if (n < 0) n = 0;
    rt = constant_array_type(et, 1, &n);
  } else if (mold && mold->type_code == tk_farray) {
    // As few elements as hold the source: none for a zero-size source.
    int32_t n = static_cast<int32_t>((uint64_t{source_size} + et->size - 1) / et->size);
    rt = constant_array_type(et, 1, &n);
  }
  type_storage_size(rt);
  uint32_t count = 0;
  uint64_t need = rt->type_code == tk_farray && array_element_count(rt, &count)
                      ? uint64_t{count} * et->size
                      : rt->size;
  if (need > max_constant_elements) return 0;  // no constant of that size is built
  if (buf.size() < need) buf.resize(static_cast<size_t>(need), 0);
  read_target(rt, buf.data(), result);
  return 1;
}

// The folder of every intrinsic row; null for the rows that do not fold.
using folder_fn = int (*)(expr_node*, const_value*);
struct FolderRow {
  int row;
  folder_fn folder;
};
constexpr FolderRow folder_rows[] = {
#define FOLDER(id, folder) {ir_##id, folder},
#include "frontend/semantics/intrinsic_folders.def"
};
constexpr int intrinsic_row_count = 178;
static_assert(std::size(folder_rows) == 55);

struct FolderTable {
  folder_fn by_row[intrinsic_row_count];
  FolderTable() : by_row{} {
    for (const FolderRow& r : folder_rows) by_row[r.row] = r.folder;
  }
};
const FolderTable folders;

}  // namespace

int fold_intrinsic(expr_node* node, const_value* result) {
  int row = node->intrinsic;
  folder_fn folder = row < intrinsic_row_count ? folders.by_row[row] : nullptr;
  return folder ? folder(node, result) : 0;
}
