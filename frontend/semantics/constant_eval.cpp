// The constant evaluator: walks a checked IL expression and computes its
// value in the target arithmetic (32-bit integers, doubles), folding the
// intrinsic operators element by element over array values. Intrinsic
// procedures and designators with subscripts are folded by their own files.
#include "frontend/semantics/constant_eval.h"

#include <cstring>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/base/pools.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_designators.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/intrinsic_folding.h"
#include "frontend/semantics/target_arith.h"

ConstEvalState const_eval;

void const_eval_reset() {
  const_eval.isum_depth = 0;
  const_eval.optional_fold = false;
}

uint32_t constructor_element_limit() {
  return const_eval.optional_fold ? max_optional_fold_elements : max_constant_elements;
}

// ---- Value records ----

uint32_t char_length_of(type* t) {
  if (!t || t->type_code != tk_fcharacter) return 0;
  bound_record* len = char_len_record(t);
  if (!len || len->kind != bk_constant || len->value < 0) return 0;
  return static_cast<uint32_t>(len->value);
}

bool value_is_array(const const_value* v) {
  return v->c.kind == ck_aggregate && v->c.type && v->c.type->type_code == tk_farray;
}

void aggregate_start(const_value* result, type* t) {
  source_pos_record pos = result->c.source_pos;
  const_init(result);
  const_set_kind(result, ck_aggregate);
  result->c.type = t;
  result->c.source_pos = pos;
}

void aggregate_append(const_value* aggregate, const_value* element) {
  const_value copy = *element;
  constant* c = new_il_constant(&copy);
  c->next = nullptr;
  if (aggregate->c.last_constant)
    aggregate->c.last_constant->next = c;
  else
    aggregate->c.first_constant = c;
  aggregate->c.last_constant = c;
}

// A DATA repeat entry holds its value inside (repeat_constant); an entry
// without one repeats the entry that follows it.
static const constant* repeated_value(const constant* repeat, bool* uses_next) {
  *uses_next = repeat->repeat_constant == nullptr;
  return *uses_next ? repeat->next : repeat->repeat_constant;
}

uint32_t aggregate_count(const constant* first) {
  uint32_t n = 0;
  for (const constant* c = first; c; c = c->next) {
    if (c->kind == ck_init_position || c->kind == ck_init_index) continue;
    if (c->kind == ck_init_repeat) {
      bool uses_next = false;
      repeated_value(c, &uses_next);
      n += c->count;
      if (uses_next && !(c = c->next)) break;
      continue;
    }
    ++n;
  }
  return n;
}

const constant* aggregate_element(const constant* first, uint32_t index) {
  int64_t remaining = index;
  for (const constant* c = first; c; c = c->next) {
    switch (c->kind) {
      case ck_value:
      case ck_aggregate:
        if (remaining == 0) return c;
        --remaining;
        break;
      case ck_init_position:
      case ck_init_index:
        break;
      case ck_init_repeat: {
        bool uses_next = false;
        const constant* value = repeated_value(c, &uses_next);
        remaining -= c->count;
        if (remaining < 0) return value;
        if (uses_next && !(c = c->next)) return nullptr;
        break;
      }
      default:
        return c;
    }
  }
  return nullptr;
}

ElementWalk::ElementWalk(const const_value* v)
    : entry(v->c.first_constant), repeat(nullptr), repeat_left(0) {}

bool ElementWalk::next(const_value* out) {
  for (;;) {
    if (repeat_left > 0) {
      --repeat_left;
      const_to_host_form(repeat, out);
      return true;
    }
    if (!entry) return false;
    const constant* c = entry;
    entry = entry->next;
    switch (c->kind) {
      case ck_init_position:
      case ck_init_index:
        continue;
      case ck_init_repeat: {
        bool uses_next = false;
        repeat = repeated_value(c, &uses_next);
        if (uses_next && entry) entry = entry->next;
        repeat_left = repeat ? c->count : 0;
        continue;
      }
      default:
        const_to_host_form(c, out);
        return true;
    }
  }
}

void make_char_value(const_value* result, type* char_kind_type, const uint8_t* text,
                     uint32_t length) {
  source_pos_record pos = result->c.source_pos;
  uint32_t row = char_kind_type && char_kind_type->type_code == tk_fcharacter
                     ? char_kind_type->kind
                     : kind_defaults.default_character;
  const kind_row* k = kind_row_of(kf_character, row);
  uint32_t unit = k ? k->size : 1;
  // Copy first: text may point into result's own inline area.
  std::vector<uint8_t> copy(text, text + static_cast<size_t>(length) * unit);
  uint8_t* bytes = const_init_sized(result, length * unit);
  if (!copy.empty()) std::memcpy(bytes, copy.data(), copy.size());
  result->c.type = character_type(row, false, length);
  result->c.source_pos = pos;
}

bool bound_value(const bound_record& b, int32_t* value) {
  if (b.kind == bk_constant) {
    *value = b.value;
    return true;
  }
  if (b.kind != bk_expression || !b.expr) return false;
  const_value v;
  if (!evaluate_constant_expression(b.expr, &v, 0) || v.c.kind != ck_value) return false;
  *value = const_int(&v);
  return true;
}

bool array_element_count(type* t, uint32_t* count) {
  bound_info_entry* b = array_bounds(t);
  if (!b) return false;
  uint64_t n = 1;
  for (uint32_t d = 0; d < b->rank; ++d) {
    int32_t lo = 0, hi = 0;
    if (!bound_value(b->lower(d), &lo) || !bound_value(b->upper(d), &hi)) return false;
    int64_t extent = int64_t{hi} - lo + 1;
    n = extent <= 0 ? 0 : n * static_cast<uint64_t>(extent);
    if (n > 0xFFFFFFFFu) n = 0xFFFFFFFFu;
  }
  *count = static_cast<uint32_t>(n);
  return true;
}

type* constant_array_type(type* element, uint32_t rank, const int32_t* extents) {
  type* t = new_type(tk_farray);
  t->element_type = element;
  t->rank = static_cast<uint8_t>(rank);
  t->shape_kind = explicit_shape;
  t->bound_info = new_bounds_array(rank);
  for (uint32_t d = 0; d < rank; ++d) {
    t->bound_info->lower(d) = make_bound(1, bk_constant, nullptr);
    t->bound_info->upper(d) = make_bound(extents[d], bk_constant, nullptr);
  }
  type_storage_size(t);
  return t;
}

type* explicit_shape_copy(type* t, uint32_t count) {
  if (!t || t->type_code != tk_farray || t->shape_kind < same_shape) return t;
  bound_info_entry* from = constant_bounds_block(t);
  uint32_t rank = from ? from->rank : t->rank;
  std::vector<int32_t> lower(rank, 1), upper(rank, 0);
  bool known = from != nullptr;
  for (uint32_t d = 0; known && d < rank; ++d)
    known = bound_value(from->lower(d), &lower[d]) && bound_value(from->upper(d), &upper[d]);
  if (!known) {  // a rank-1 value gives its element count
    if (rank != 1) return t;
    lower[0] = 1;
    upper[0] = static_cast<int32_t>(count);
  }
  type* copy = pool_new<type>();
  copy_type_entry(t, copy);
  copy->next = nullptr;
  copy->header &= ~il_check_mark;
  copy->shape_kind = explicit_shape;
  copy->bound_args = nullptr;
  copy->rank = static_cast<uint8_t>(rank);
  copy->bound_info = new_bounds_array(rank);
  for (uint32_t d = 0; d < rank; ++d) {
    copy->bound_info->lower(d) = make_bound(lower[d], bk_constant, nullptr);
    copy->bound_info->upper(d) = make_bound(upper[d], bk_constant, nullptr);
  }
  copy->size = 0;
  type_storage_size(copy);
  return copy;
}

// ---- DO variables ----

// A temporary DO-value symbol is its own entity: that tells it from the
// symbols of class 16 that the parser makes.
symbol_entry* new_do_value_symbol(int32_t value) {
  symbol_entry* s = pool_new<symbol_entry>();
  s->cls = sym_outer_implied_do_var;
  s->entity = s;
  s->word1 = static_cast<uint32_t>(value);
  return s;
}

bool is_do_value_symbol(const symbol_entry* s) {
  return s && s->cls == sym_outer_implied_do_var && s->entity == s;
}

void bind_do_variable(DoVarBinding* b, object* var) {
  b->var = var;
  b->saved = var ? var->symbol : nullptr;
  b->temp = new_do_value_symbol(0);
  if (var) var->symbol = b->temp;
}

void set_do_value(DoVarBinding* b, int32_t value) { b->temp->word1 = static_cast<uint32_t>(value); }

void unbind_do_variable(DoVarBinding* b) {
  if (b->var) b->var->symbol = b->saved;
}

// ---- Operator folding ----

namespace {

int32_t word(const const_value* v) { return const_int(v); }
bool truth(const const_value* v) { return const_int(v) != 0; }

// The value record becomes ck_value of t with a cleared value area.
void start_value(const_value* r, type* t) {
  source_pos_record pos = r->c.source_pos;
  const_init_sized(r, 16);
  r->c.type = t;
  r->c.source_pos = pos;
}

void set_logical(const_value* r, type* t, bool b) {
  start_value(r, t);
  const_set_int(r, b ? 1 : 0);
}

// Character comparison with blank padding: <0, 0 or >0.
int compare_chars(const const_value* a, const const_value* b) {
  const kind_row* row = kind_row_of_type(element_type_of(a->c.type));
  uint32_t unit = row ? row->size : 1;
  uint8_t pad_bytes[4] = {};
  int32_t pad = row ? static_cast<uint8_t>(row->pad) : ' ';
  if (row) row->set_int(pad, pad_bytes);
  uint32_t la = char_length_of(a->c.type), lb = char_length_of(b->c.type);
  const uint8_t* ta = const_chars(a);
  const uint8_t* tb = const_chars(b);
  uint32_t n = la > lb ? la : lb;
  for (uint32_t i = 0; i < n; ++i) {
    int32_t ca = i < la ? (row ? row->get_int(ta + i * unit) : ta[i]) : pad;
    int32_t cb = i < lb ? (row ? row->get_int(tb + i * unit) : tb[i]) : pad;
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

bool report(int msg, const const_value* r) {
  if (msg == 0) return true;
  error_at(msg, r->c.source_pos);
  return false;
}

int fold_integer_binary(int op, int32_t a, int32_t b, type* t, const_value* r) {
  int32_t v = 0;
  int msg = 0;
  switch (op) {
    case eok_iadd: msg = fold_int_add(a, b, &v); break;
    case eok_isubtract: msg = fold_int_sub(a, b, &v); break;
    case eok_imultiply: msg = fold_int_mul(a, b, &v); break;
    case eok_idivide: msg = fold_int_div(a, b, &v); break;
    default: {
      Int32Result p = int_power(a, b);
      msg = int_result_message(p);
      v = p.value;
      break;
    }
  }
  if (!report(msg, r)) return 0;
  start_value(r, t);
  const_set_int(r, v);
  return 1;
}

int fold_real_binary(int op, double a, double b, type* t, const_value* r) {
  double v = 0.0;
  int msg = 0;
  switch (op) {
    case eok_fadd: msg = fold_real_add(a, b, &v); break;
    case eok_fsubtract: msg = fold_real_sub(a, b, &v); break;
    case eok_fmultiply: msg = fold_real_mul(a, b, &v); break;
    default: msg = fold_real_div(a, b, &v); break;
  }
  if (!report(msg, r)) return 0;
  start_value(r, t);
  const_set_real(r, v);
  return 1;
}

int fold_complex_binary(int op, const const_value* l, const const_value* rt, type* t,
                        const_value* r) {
  double a = const_real(l, 0), b = const_real(l, 1);
  double c = const_real(rt, 0), d = const_real(rt, 1);
  RealResult z{};
  switch (op) {
    case eok_xadd: z.re = a + c; z.im = b + d; break;
    case eok_xsubtract: z.re = a - c; z.im = b - d; break;
    case eok_xmultiply: z = complex_mul(a, b, c, d); break;
    default: z = complex_div(a, b, c, d); break;
  }
  if (!report(real_result_message(z), r)) return 0;
  start_value(r, t);
  const_set_real(r, z.re, 0);
  const_set_real(r, z.im, 1);
  return 1;
}

bool compare_holds(int op, int first_relation, int cmp) {
  switch (op - first_relation) {
    case 0: return cmp == 0;  // eq
    case 1: return cmp != 0;  // ne
    case 2: return cmp > 0;   // gt
    case 3: return cmp < 0;   // lt
    case 4: return cmp >= 0;  // ge
    default: return cmp <= 0; // le
  }
}

}  // namespace

int fold_unary_operation(int op, const const_value* operand, type* result_type,
                         const_value* result) {
  const_value in = *operand;
  switch (op) {
    case eok_not:
      set_logical(result, result_type, word(&in) == 0);
      return 1;
    case eok_inegate:
      start_value(result, result_type);
      const_set_int(result, int_negate(word(&in)));
      return 1;
    case eok_fnegate:
      start_value(result, result_type);
      const_set_real(result, -const_real(&in));
      return 1;
    case eok_xnegate:
      start_value(result, result_type);
      const_set_real(result, -const_real(&in, 0), 0);
      const_set_real(result, -const_real(&in, 1), 1);
      return 1;
    case eok_cast: {
      source_pos_record pos = result->c.source_pos;
      *result = in;
      result->c.source_pos = pos;
      const_convert_to_type(result, result_type);
      return 1;
    }
    default:
      start_value(result, result_type);
      return 1;
  }
}

int fold_binary_operation(int op, const const_value* left, const const_value* right,
                          type* result_type, const_value* result) {
  const_value l = *left, r = *right;
  switch (op) {
    case eok_concat: {
      uint32_t ll = char_length_of(l.c.type), lr = char_length_of(r.c.type);
      const kind_row* row = kind_row_of_type(l.c.type);
      uint32_t unit = row ? row->size : 1;
      std::vector<uint8_t> text(const_chars(&l), const_chars(&l) + ll * unit);
      text.insert(text.end(), const_chars(&r), const_chars(&r) + lr * unit);
      make_char_value(result, l.c.type, text.data(), ll + lr);
      return 1;
    }
    case eok_land: set_logical(result, result_type, truth(&l) && truth(&r)); return 1;
    case eok_lor: set_logical(result, result_type, truth(&l) || truth(&r)); return 1;
    case eok_eqv: set_logical(result, result_type, word(&l) == word(&r)); return 1;
    case eok_neqv: set_logical(result, result_type, word(&l) != word(&r)); return 1;
    case eok_iadd:
    case eok_isubtract:
    case eok_imultiply:
    case eok_idivide:
    case eok_i_to_i_expon:
      return fold_integer_binary(op, word(&l), word(&r), result_type, result);
    case eok_ieq: case eok_ine: case eok_igt: case eok_ilt: case eok_ige: case eok_ile: {
      int32_t a = word(&l), b = word(&r);
      set_logical(result, result_type, compare_holds(op, eok_ieq, a < b ? -1 : a > b ? 1 : 0));
      return 1;
    }
    case eok_fadd:
    case eok_fsubtract:
    case eok_fmultiply:
    case eok_fdivide:
      return fold_real_binary(op, const_real(&l), const_real(&r), result_type, result);
    case eok_f_to_i_expon: {
      RealResult p = real_power(const_real(&l), word(&r));
      if (!report(real_result_message(p), result)) return 0;
      start_value(result, result_type);
      const_set_real(result, p.re);
      return 1;
    }
    case eok_feq: case eok_fne: case eok_fgt: case eok_flt: case eok_fge: case eok_fle:
      set_logical(result, result_type,
                  compare_holds(op, eok_feq, fold_real_compare(const_real(&l), const_real(&r))));
      return 1;
    case eok_xadd:
    case eok_xsubtract:
    case eok_xmultiply:
    case eok_xdivide:
      return fold_complex_binary(op, &l, &r, result_type, result);
    case eok_x_to_i_expon: {
      RealResult p = complex_power(const_real(&l, 0), const_real(&l, 1), word(&r));
      if (!report(real_result_message(p), result)) return 0;
      start_value(result, result_type);
      const_set_real(result, p.re, 0);
      const_set_real(result, p.im, 1);
      return 1;
    }
    case eok_xeq:
    case eok_xne: {
      bool equal = fold_real_compare(const_real(&l, 0), const_real(&r, 0)) == 0 &&
                   fold_real_compare(const_real(&l, 1), const_real(&r, 1)) == 0;
      set_logical(result, result_type, op == eok_xeq ? equal : !equal);
      return 1;
    }
    case eok_ceq: case eok_cne: case eok_cgt: case eok_clt: case eok_cge: case eok_cle:
      set_logical(result, result_type, compare_holds(op, eok_ceq, compare_chars(&l, &r)));
      return 1;
    default:
      return 0;  // assignments, real and complex powers: not folded
  }
}

// ---- The walk ----

namespace {

int evaluate(expr_node* node, const_value* result, int strict);

// Evaluates an operand (strict 0) at its own position; *empty set when it is
// the error constant.
int evaluate_operand(expr_node* e, const_value* v, bool* empty) {
  if (!evaluate_constant_expression(e, v, 0)) return 0;
  *empty = *empty || v->c.kind == ck_error;
  return 1;
}

}  // namespace

int evaluate_elementwise_operand(expr_node* e, const_value* v, bool* empty) {
  if (e->node_kind == enk_operation && e->op_kind == eok_spread && e->operands &&
      !e->operands->next && e->type && e->type->type_code == tk_farray) {
    const_value inner;
    if (!evaluate_operand(e->operands, &inner, empty)) return 0;
    if (*empty) return 1;
    if (!value_is_array(&inner)) {
      const_init(v);
      v->c.source_pos = e->source_pos;
      return fold_unary_operation(eok_cast, &inner, element_type_of(e->type), v);
    }
  }
  return evaluate_operand(e, v, empty);
}

namespace {

int evaluate_unary(expr_node* node, const_value* operand, const_value* result, int strict) {
  type* t = node->type;
  int op = node->op_kind;
  if (!t || t->type_code != tk_farray) return fold_unary_operation(op, operand, t, result);
  type* et = element_type_of(t);
  if (value_is_array(operand)) {
    aggregate_start(result, t);
    ElementWalk walk(operand);
    const_value e, r;
    while (walk.next(&e)) {
      const_init(&r);
      r.c.source_pos = node->source_pos;
      if (!fold_unary_operation(op, &e, et, &r) || r.c.kind == ck_error) return 0;
      aggregate_append(result, &r);
    }
    return 1;
  }
  if (!strict) return 0;
  // A scalar spread over the array type: the operand cast to the element
  // type (or the operation applied to it), repeated for every element.
  const_value r;
  const_init(&r);
  r.c.source_pos = node->source_pos;
  int element_op = op == eok_spread ? eok_cast : op;
  if (!fold_unary_operation(element_op, operand, et, &r) || r.c.kind == ck_error) return 0;
  uint32_t n = 0;
  if (!array_element_count(t, &n)) {
    type_storage_size(et);
    n = et->size ? t->size / et->size : 0;
  }
  if (n > max_constant_elements) return 0;
  aggregate_start(result, t);
  for (uint32_t i = 0; i < n; ++i) aggregate_append(result, &r);
  return 1;
}

int evaluate_binary(expr_node* node, const_value* left, const_value* right, const_value* result) {
  type* t = node->type;
  int op = node->op_kind;
  if (!t || t->type_code != tk_farray) {
    result->c.source_pos = node->source_pos;
    return fold_binary_operation(op, left, right, t, result);
  }
  type* et = element_type_of(t);
  bool la = value_is_array(left), ra = value_is_array(right);
  if (!la && !ra) return 0;
  ElementWalk wl(left), wr(right);
  aggregate_start(result, t);
  bool failed = false;
  for (;;) {
    const_value a = *left, b = *right;  // a scalar goes with every element
    bool more_a = la && wl.next(&a);
    bool more_b = ra && wr.next(&b);
    if (la && ra && more_a != more_b) {
      error_at(539, node->source_pos);
      expr_set_error(node);
      return 0;
    }
    if ((la && !more_a) || (ra && !more_b)) break;
    const_value r;
    const_init(&r);
    r.c.source_pos = node->source_pos;
    if (!fold_binary_operation(op, &a, &b, et, &r) || r.c.kind == ck_error) {
      failed = true;  // the remaining pairs are still visited
      continue;
    }
    if (!failed) aggregate_append(result, &r);
  }
  return failed ? 0 : 1;
}

// Loops a DO variable over start, start + stride, ... while the value stays
// on its side of the limit; stops before a value would leave the 32-bit
// range. body returns 1 to go on, 0 to stop (its result is returned).
template <class Body>
int run_do_values(int32_t start, int32_t limit, int32_t stride, Body body) {
  if (stride == 0) return 1;
  // The count in 64 bits, so that a span beyond the 32-bit range is seen.
  int64_t count = (static_cast<int64_t>(limit) - start + stride) / stride;
  if (count > static_cast<int64_t>(max_constant_elements)) return 0;  // too long to fold
  for (int64_t v = start; stride > 0 ? v <= limit : v >= limit; v += stride) {
    int r = body(static_cast<int32_t>(v));
    if (r != 1) return r;
    if (v + stride < INT32_MIN || v + stride > INT32_MAX) break;
  }
  return 1;
}

// Start, limit and stride of an implied DO: 1 with the values, 0 when not
// constant; *empty after an error constant or a reported zero stride (the
// node then becomes an error node).
int do_parameters(expr_node* node, int32_t* start, int32_t* limit, int32_t* stride, bool* empty) {
  do_loop* d = node->do_info;
  if (!d) return 0;
  const_value a, b, c;
  if (!evaluate_operand(d->initial_value, &a, empty)) return 0;
  if (!evaluate_operand(d->final_value, &b, empty)) return 0;
  *stride = 1;
  if (d->increment && d->increment->node_kind != enk_empty) {
    if (!evaluate_operand(d->increment, &c, empty)) return 0;
    if (!*empty) *stride = const_int(&c);
  }
  if (*empty) return 1;
  *start = const_int(&a);
  *limit = const_int(&b);
  if (*stride == 0) {
    error_at(170, d->increment->source_pos);
    expr_set_error(node);
    *empty = true;
  }
  return 1;
}

object* do_variable_object(expr_node* node) {
  expr_node* v = node->do_info ? node->do_info->variable : nullptr;
  while (v && v->node_kind == enk_ref) v = v->reference;
  return v && v->node_kind == enk_object ? v->object : nullptr;
}

// Appends the values of constructor items to an aggregate: 1, 0 (not
// constant), or -1 after an error constant.
int append_items(expr_node* items, const_value* aggregate, uint32_t* count);

int append_implied_do(expr_node* item, const_value* aggregate, uint32_t* count) {
  int32_t start = 0, limit = 0, stride = 1;
  bool empty = false;
  if (!do_parameters(item, &start, &limit, &stride, &empty)) return 0;
  if (empty) return -1;
  DoVarBinding binding;
  bind_do_variable(&binding, do_variable_object(item));
  int r = run_do_values(start, limit, stride, [&](int32_t v) {
    set_do_value(&binding, v);
    return append_items(item->expr_list, aggregate, count);
  });
  unbind_do_variable(&binding);
  return r;
}

int append_items(expr_node* items, const_value* aggregate, uint32_t* count) {
  for (expr_node* item = items; item; item = item->next) {
    if (item->node_kind == enk_implied_do) {
      int r = append_implied_do(item, aggregate, count);
      if (r != 1) return r;
      continue;
    }
    const_value v;
    if (!evaluate_constant_expression(item, &v, 0)) return 0;
    if (v.c.kind == ck_error) return -1;
    if (value_is_array(&v)) {
      ElementWalk walk(&v);
      const_value e;
      while (walk.next(&e)) {
        if (++*count > constructor_element_limit()) return 0;
        aggregate_append(aggregate, &e);
      }
      continue;
    }
    if (++*count > constructor_element_limit()) return 0;
    aggregate_append(aggregate, &v);
  }
  return 1;
}

int evaluate_constructor(expr_node* node, const_value* result) {
  type* t = node->type;
  aggregate_start(result, t);
  if (!t || t->type_code != tk_farray) {
    // Structure constructor: the component values in order.
    for (expr_node* item = node->constructor; item; item = item->next) {
      const_value v;
      if (!evaluate_constant_expression(item, &v, 0)) return 0;
      if (v.c.kind == ck_error) {
        const_init(result);
        return 1;
      }
      aggregate_append(result, &v);
    }
    return 1;
  }
  // The element count the checks gave the constructor's type decides
  // before anything is built whether it may be folded at all.
  bound_info_entry* b = t->shape_kind == explicit_shape ? t->bound_info.get() : nullptr;
  if (b && b->rank == 1 && b->lower(0).kind == bk_constant && b->upper(0).kind == bk_constant &&
      int64_t{b->upper(0).value} - b->lower(0).value + 1 > int64_t{constructor_element_limit()})
    return 0;
  uint32_t count = 0;
  int r = append_items(node->constructor, result, &count);
  if (r == 0) return 0;
  if (r < 0) {
    const_init(result);
    return 1;
  }
  result->c.type = explicit_shape_copy(t, aggregate_count(result->c.first_constant));
  return 1;
}

int evaluate_isum(expr_node* node, const_value* result) {
  int32_t start = 0, limit = 0, stride = 1;
  bool empty = false;
  if (!do_parameters(node, &start, &limit, &stride, &empty)) return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  if (const_eval.isum_depth >= ConstEvalState::max_isum_depth) return 0;
  int slot = const_eval.isum_depth++;
  const_eval.isum_var[slot] = do_variable_object(node);
  int32_t sum = 0;
  bool error_body = false;
  int r = run_do_values(start, limit, stride, [&](int32_t v) {
    const_eval.isum_value[slot] = v;
    const_value body;
    if (!evaluate_constant_expression(node->expr_list, &body, 0)) return 0;
    if (body.c.kind == ck_error) {
      error_body = true;
      return -1;
    }
    sum = wrapping_add(sum, const_int(&body));
    return 1;
  });
  const_eval.isum_depth = slot;
  if (r == 0) return 0;
  source_pos_record pos = result->c.source_pos;
  if (error_body) {
    const_init(result);
    return 1;
  }
  start_value(result, default_integer_type());
  result->c.source_pos = pos;
  const_set_int(result, sum);
  return 1;
}

int evaluate_object(expr_node* node, const_value* result) {
  object* o = node->object;
  if (!o) return 0;
  source_pos_record pos = result->c.source_pos;
  if (o->is_constant) {
    constant* c = o->initializer;
    if (!c) return 0;
    if (c->kind == ck_error) {
      const_init(result);
      return 1;
    }
    if (c->kind == ck_expression && !c->value) {
      // Not yet checked into a value: its expression, when that folds.
      if (!c->expr || !evaluate_constant_expression(c->expr, result, 0)) return 0;
      result->c.source_pos = pos;
      return 1;
    }
    // An array value without its elements is none.
    if (c->kind != ck_aggregate && c->type && c->type->type_code == tk_farray) return 0;
    const_to_host_form(c, result);
    result->c.source_pos = pos;
    return 1;
  }
  if (is_do_value_symbol(o->symbol)) {
    start_value(result, o->type);
    const_set_int(result, static_cast<int32_t>(o->symbol->word1));
    return 1;
  }
  for (int i = const_eval.isum_depth - 1; i >= 0; --i) {
    if (const_eval.isum_var[i] == o) {
      start_value(result, o->type);
      const_set_int(result, const_eval.isum_value[i]);
      return 1;
    }
  }
  return 0;
}

// The component of a structure value whose field entry is field.
const constant* component_of(const constant* structure, type* t, object* field) {
  const constant* c = structure->first_constant;
  for (object* f = t ? t->first_field.get() : nullptr; f && c; f = f->next, c = c->next)
    if (f == field) return c;
  return nullptr;
}

int evaluate_field(expr_node* node, const_value* result) {
  const_value base;
  if (!evaluate_constant_expression(node->base_expr, &base, 0)) return 0;
  if (base.c.kind == ck_error) {
    const_init(result);
    return 1;
  }
  if (base.c.kind != ck_aggregate) return 0;
  source_pos_record pos = result->c.source_pos;
  if (value_is_array(&base)) {
    type* st = element_type_of(base.c.type);
    aggregate_start(result, node->type);
    for (const constant* e = base.c.first_constant; e; e = e->next) {
      if (e->kind != ck_aggregate) continue;
      const constant* c = component_of(e, st, node->field_var);
      if (!c) return 0;
      const_value v;
      const_to_host_form(c, &v);
      aggregate_append(result, &v);
    }
    return 1;
  }
  const constant* c = component_of(&base.c, base.c.type, node->field_var);
  if (!c) return 0;
  const_to_host_form(c, result);
  result->c.source_pos = pos;
  return 1;
}

int evaluate_operation(expr_node* node, const_value* result, int strict) {
  if (!node->type || node->type->type_code == tk_void) return 0;
  expr_node* a = node->operands;
  if (!a) return 0;
  const_value left, right;
  bool empty = false;
  if (!(a->next ? evaluate_elementwise_operand(a, &left, &empty) : evaluate_operand(a, &left, &empty)))
    return 0;
  if (empty) {
    const_init(result);
    return 1;
  }
  if (a->next) {
    if (!evaluate_elementwise_operand(a->next, &right, &empty)) return 0;
    if (empty) {
      const_init(result);
      return 1;
    }
    return evaluate_binary(node, &left, &right, result);
  }
  return evaluate_unary(node, &left, result, strict);
}

// A fold that failed with a message marks its node, so that the folds of
// enclosing expressions take it as not constant without reporting it again.
int failed_fold_marked(expr_node* node, int folded, uint32_t errors_before) {
  if (!folded && diag.errors != errors_before) node->fold_failed = true;
  return folded;
}

int evaluate(expr_node* node, const_value* result, int strict) {
  uint32_t errors_before = diag.errors;
  switch (node->node_kind) {
    case enk_error:
      const_init(result);
      return 1;
    case enk_operation:
      if (node->fold_failed) return 0;
      return failed_fold_marked(node, evaluate_operation(node, result, strict), errors_before);
    case enk_intrinsic:
      if (node->fold_failed) return 0;
      return failed_fold_marked(node, fold_intrinsic(node, result), errors_before);
    case enk_constant: {
      if (!node->constant) return 0;
      source_pos_record pos = result->c.source_pos;
      const_to_host_form(node->constant, result);
      result->c.source_pos = pos;
      if (result->c.kind == ck_error) const_init(result);
      return 1;
    }
    case enk_object: return evaluate_object(node, result);
    case enk_field: return evaluate_field(node, result);
    case enk_subscript: return evaluate_subscript(node, result);
    case enk_substring: return evaluate_substring(node, result);
    case enk_section: return evaluate_section(node, result);
    case enk_constructor: return evaluate_constructor(node, result);
    case enk_ref:
      if (!node->reference) return 0;
      return evaluate_constant_expression(node->reference, result, 0);
    case enk_isum: return evaluate_isum(node, result);
    case enk_data_implied_do_var:
      if (!is_do_value_symbol(node->symbol)) return 0;
      start_value(result, default_integer_type());
      const_set_int(result, static_cast<int32_t>(node->symbol->word1));
      return 1;
    default:
      return 0;
  }
}

}  // namespace

int evaluate_constant_expression(expr_node* node, const_value* result, int strict) {
  const_init(result);
  if (node) {
    result->c.source_pos = node->source_pos;
    if (evaluate(node, result, strict)) {
      if (result->c.kind == ck_aggregate && node->type && node->type->type_code == tk_farray &&
          node->type->shape_kind >= same_shape) {
        type* t = explicit_shape_copy(node->type, aggregate_count(result->c.first_constant));
        node->type = t;
        result->c.type = t;
      }
      return 1;
    }
  }
  if (!strict) return 0;
  if (node) {
    error_at(85, node->source_pos);
    expr_set_error(node);
  }
  const_init(result);
  return 1;
}
