// Designators with constant subscripts: the element, substring and section of
// a constant value inside the evaluator; the storage offset that an
// EQUIVALENCE item designates; and the expansion of a DATA object list into
// elementary destinations (with its implied DOs and sections).
#include "frontend/semantics/constant_designators.h"

#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/base/pools.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/target_arith.h"

namespace {

constexpr int msg_subscript_out_of_range = 435;

// Lower and upper bounds of every dimension of an array type, when all are
// constant (expression bounds evaluated).
struct Bounds {
  uint32_t rank;
  std::vector<int32_t> lower, upper;
};

bool constant_bounds(type* t, Bounds* out) {
  bound_info_entry* b = array_bounds(t);
  if (!b) return false;
  out->rank = b->rank;
  out->lower.assign(b->rank, 1);
  out->upper.assign(b->rank, 0);
  for (uint32_t d = 0; d < b->rank; ++d)
    if (!bound_value(b->lower(d), &out->lower[d]) || !bound_value(b->upper(d), &out->upper[d]))
      return false;
  return true;
}

// The linear index of constant subscripts, first subscript fastest.
int64_t constant_element_index(const Bounds& b, const std::vector<int32_t>& s) {
  int64_t index = 0, m = 1;
  for (uint32_t d = 0; d < b.rank && d < s.size(); ++d) {
    index += (int64_t{s[d]} - b.lower[d]) * m;
    m *= int64_t{b.upper[d]} - b.lower[d] + 1;
  }
  return index;
}

bool within(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// Evaluates the scalar subscripts of a list: 1 with their values, 0 when
// one is not constant, -1 when one is the error constant, -2 after 435.
int scalar_subscripts(expr_node* list, const Bounds& b, std::vector<int32_t>* out) {
  uint32_t d = 0;
  for (expr_node* s = list; s; s = s->next, ++d) {
    const_value v;
    if (!evaluate_constant_expression(s, &v, 0)) return 0;
    if (v.c.kind == ck_error) return -1;
    if (v.c.kind != ck_value) return 0;
    int32_t x = const_int(&v);
    if (d < b.rank && !within(x, b.lower[d], b.upper[d])) {
      error_at(msg_subscript_out_of_range, s->source_pos);
      return -2;
    }
    out->push_back(x);
  }
  return 1;
}

// The component of a structure value whose field entry is field.
const constant* component_of(const constant* structure, type* t, object* field) {
  const constant* c = structure->first_constant;
  for (object* f = t ? t->first_field.get() : nullptr; f && c; f = f->next, c = c->next)
    if (f == field) return c;
  return nullptr;
}

// The element offset that node's subscripts select in an array of
// array_type. 1: *index is set; 0: the subscripts or bounds are not
// constant; -1: a subscript failed, result holds the error constant and the
// caller succeeds with it.
int selected_element_index(expr_node* node, type* array_type, const_value* result,
                           int64_t* index) {
  Bounds b{};
  if (!constant_bounds(array_type, &b)) return 0;
  std::vector<int32_t> subs;
  int r = scalar_subscripts(node->ind_list, b, &subs);
  if (r == -1) {
    const_init(result);
    return -1;
  }
  if (r != 1) return 0;
  *index = constant_element_index(b, subs);
  return 1;
}

// A(i, ...) where A is a component of an array of structures: the selected
// element of that component in every element of the base array.
int subscript_of_component_array(expr_node* node, const_value* result) {
  expr_node* field = node->array_expr;
  const_value base;
  if (!evaluate_constant_expression(field->base_expr, &base, 0)) return 0;
  if (base.c.kind == ck_error) {
    const_init(result);
    return 1;
  }
  if (!value_is_array(&base) || !field->field_var) return 0;
  int64_t index = 0;
  int r = selected_element_index(node, field->field_var->type, result, &index);
  if (r != 1) return r == -1 ? 1 : 0;
  type* st = element_type_of(base.c.type);
  aggregate_start(result, node->type);
  for (const constant* e = base.c.first_constant; e; e = e->next) {
    if (e->kind != ck_aggregate) continue;
    const constant* comp = component_of(e, st, field->field_var);
    const constant* elem = comp && index >= 0 ? aggregate_element(comp->first_constant, static_cast<uint32_t>(index)) : nullptr;
    if (!elem) {
      error_at(msg_subscript_out_of_range, node->source_pos);
      return 0;
    }
    const_value v;
    const_to_host_form(elem, &v);
    aggregate_append(result, &v);
  }
  return 1;
}

// The node fails: 435 or 540 was reported, it becomes an error node and the
// result the error constant.
int fail_designator(expr_node* node, const_value* result) {
  expr_set_error(node);
  const_init(result);
  return 1;
}

}  // namespace

int evaluate_subscript(expr_node* node, const_value* result) {
  expr_node* array = node->array_expr;
  if (!array) return 0;
  if (array->node_kind == enk_field && array->base_expr && array->base_expr->type &&
      array->base_expr->type->type_code == tk_farray)
    return subscript_of_component_array(node, result);
  const_value a;
  if (!evaluate_constant_expression(array, &a, 0)) return 0;
  if (a.c.kind == ck_error) {
    const_init(result);
    return 1;
  }
  if (!value_is_array(&a)) return 0;
  int64_t index = 0;
  int r = selected_element_index(node, a.c.type, result, &index);
  if (r != 1) return r == -1 ? 1 : 0;
  const constant* e = index >= 0 && index <= 0xFFFFFFFFLL
                          ? aggregate_element(a.c.first_constant, static_cast<uint32_t>(index))
                          : nullptr;
  if (!e) {
    error_at(msg_subscript_out_of_range, node->source_pos);
    return 0;
  }
  source_pos_record pos = result->c.source_pos;
  const_to_host_form(e, result);
  result->c.source_pos = pos;
  return 1;
}

namespace {

// The substring start..end (1-based) of one CHARACTER value.
void cut_substring(const_value* v, uint32_t start, uint32_t length) {
  const kind_row* row = kind_row_of_type(v->c.type);
  uint32_t unit = row ? row->size : 1;
  std::vector<uint8_t> text(const_chars(v) + size_t{start - 1} * unit,
                            const_chars(v) + (size_t{start - 1} + length) * unit);
  make_char_value(v, v->c.type, text.data(), length);
}

// Evaluates a substring position; 1 with the value (or with *dflt), 0 when
// not constant, -1 for the error constant.
int substring_position(expr_node* e, int32_t dflt, int32_t* out) {
  if (!e) {
    *out = dflt;
    return 1;
  }
  const_value v;
  if (!evaluate_constant_expression(e, &v, 0)) return 0;
  if (v.c.kind == ck_error) return -1;
  if (v.c.kind != ck_value) return 0;
  *out = const_int(&v);
  return 1;
}

}  // namespace

int evaluate_substring(expr_node* node, const_value* result) {
  const_value s;
  if (!node->array_expr || !evaluate_constant_expression(node->array_expr, &s, 0)) return 0;
  if (s.c.kind == ck_error) {
    const_init(result);
    return 1;
  }
  type* et = element_type_of(s.c.type);
  if (!et || et->type_code != tk_fcharacter) return 0;
  int32_t len = static_cast<int32_t>(char_length_of(et));
  expr_node* tr = node->ind_list;
  expr_node* first = tr && tr->node_kind == enk_triplet ? tr->first.get() : tr;
  expr_node* second = tr && tr->node_kind == enk_triplet ? tr->second : nullptr;
  int32_t start = 1, end = len;
  int r1 = substring_position(first, 1, &start);
  if (r1 == 0) return 0;
  int r2 = r1 < 0 ? -1 : substring_position(second, len, &end);
  if (r2 == 0) return 0;
  if (r1 < 0 || r2 < 0) {
    const_init(result);
    return 1;
  }
  expr_node* bad = nullptr;
  if (!within(start, 0, len) || (start <= end && start < 1))
    bad = first ? first : node;
  else if (!within(end, 0, len))
    bad = second ? second : node;
  if (bad) {
    error_at(msg_subscript_out_of_range, bad->source_pos);
    return fail_designator(node, result);
  }
  source_pos_record pos = result->c.source_pos;
  *result = s;
  result->c.source_pos = pos;
  if (end - start + 1 == len) return 1;
  uint32_t length = start > end ? 0 : static_cast<uint32_t>(end - start + 1);
  uint32_t from = start > end ? 1 : static_cast<uint32_t>(start);
  type* piece = character_type(et->kind, false, length);
  if (!value_is_array(&s)) {
    cut_substring(result, from, length);
    result->c.type = piece;
    result->c.source_pos = pos;
    node->type = piece;
    return 1;
  }
  type* at = pool_new<type>();
  copy_type_entry(s.c.type, at);
  at->next = nullptr;
  at->element_type = piece;
  at->size = 0;
  type_storage_size(at);
  aggregate_start(result, at);
  ElementWalk walk(&s);
  const_value e;
  while (walk.next(&e)) {
    cut_substring(&e, from, length);
    e.c.type = piece;
    aggregate_append(result, &e);
  }
  node->type = at;
  return 1;
}

int evaluate_section(expr_node* node, const_value* result) {
  const_value a;
  if (!node->array_expr || !evaluate_constant_expression(node->array_expr, &a, 0)) return 0;
  if (a.c.kind == ck_error) {
    const_init(result);
    return 1;
  }
  if (!value_is_array(&a)) return 0;
  Bounds b{};
  if (!constant_bounds(a.c.type, &b)) return 0;
  std::vector<const constant*> chain;
  for (const constant* c = a.c.first_constant; c; c = c->next)
    if (c->kind == ck_value || c->kind == ck_aggregate) chain.push_back(c);
  std::vector<expr_node*> subs;
  for (expr_node* s = node->ind_list; s; s = s->next) subs.push_back(s);
  if (subs.size() != b.rank) return 0;
  source_pos_record pos = result->c.source_pos;
  size_t size = chain.size();
  for (size_t dd = subs.size(); dd-- > 0;) {
    expr_node* s = subs[dd];
    int64_t extent = int64_t{b.upper[dd]} - b.lower[dd] + 1;
    if (extent <= 0) {
      chain.clear();
      break;
    }
    size_t chunk = size / static_cast<size_t>(extent);
    if (s->node_kind == enk_error) {
      const_init(result);
      return 1;
    }
    // The indexes of this dimension that the subscript selects.
    std::vector<int32_t> picks;
    if (s->node_kind == enk_triplet) {
      int32_t first = b.lower[dd], second = b.upper[dd], stride = 1;
      expr_node* parts[3] = {s->first, s->second, s->stride};
      int32_t* values[3] = {&first, &second, &stride};
      for (int p = 0; p < 3; ++p) {
        if (!parts[p] || parts[p]->node_kind == enk_empty) continue;
        const_value v;
        if (!evaluate_constant_expression(parts[p], &v, 0)) return 0;
        if (v.c.kind == ck_error) {
          const_init(result);
          return 1;
        }
        *values[p] = const_int(&v);
        if (p < 2 && !within(*values[p], b.lower[dd], b.upper[dd])) {
          error_at(msg_subscript_out_of_range, parts[p]->source_pos);
          return fail_designator(node, result);
        }
      }
      if (stride == 0) {
        error_at(540, s->stride->source_pos);
        return fail_designator(node, result);
      }
      if ((stride >= 1 && first > second) || (stride < 0 && first < second)) {
        chain.clear();
        break;
      }
      if (first == b.lower[dd] && second == b.upper[dd] && stride == 1) {
        size = chunk;
        continue;
      }
      for (int64_t i = first; stride >= 1 ? i <= second : i >= second; i += stride)
        picks.push_back(static_cast<int32_t>(i));
    } else {
      const_value v;
      if (!evaluate_constant_expression(s, &v, 0)) return 0;
      if (v.c.kind == ck_error) {
        const_init(result);
        return 1;
      }
      std::vector<int32_t> values;
      if (value_is_array(&v)) {
        ElementWalk walk(&v);
        const_value e;
        while (walk.next(&e)) values.push_back(const_int(&e));
      } else {
        values.push_back(const_int(&v));
      }
      for (int32_t x : values) {
        if (!within(x, b.lower[dd], b.upper[dd])) {
          error_at(msg_subscript_out_of_range, s->source_pos);
          return fail_designator(node, result);
        }
        picks.push_back(x);
      }
    }
    std::vector<const constant*> next;
    for (size_t block = 0; block + size <= chain.size() && size > 0; block += size)
      for (int32_t i : picks) {
        size_t at = block + static_cast<size_t>(i - b.lower[dd]) * chunk;
        for (size_t k = 0; k < chunk && at + k < chain.size(); ++k) next.push_back(chain[at + k]);
      }
    chain.swap(next);
    size = chunk;
  }
  aggregate_start(result, node->type);
  result->c.source_pos = pos;
  for (const constant* c : chain) {
    const_value v;
    const_to_host_form(c, &v);
    aggregate_append(result, &v);
  }
  return 1;
}

// ---- EQUIVALENCE storage offsets ----

namespace {

// The storage size of one element of an array type, computed if not yet.
int32_t element_storage_size(type* array) {
  type* et = element_type_of(array);
  type_storage_size(et);
  return static_cast<int32_t>(et->size);
}

// A position for EQUIVALENCE evaluated strictly: 1 with the value, 0 after a
// reported failure.
bool strict_int(expr_node* e, int32_t* out) {
  const_value v;
  evaluate_constant_expression(e, &v, 1);
  if (v.c.kind != ck_value) return false;
  *out = const_int(&v);
  return true;
}

bool guarded(int msg, source_pos_record pos) {
  if (msg == 0) return true;
  error_at(msg, pos);
  return false;
}

int storage_offset(expr_node* node, source_pos_record pos, object** obj, int32_t* offset) {
  switch (node->node_kind) {
    case enk_object:
      *obj = node->object;
      *offset = 0;
      return 1;
    case enk_field:
      error_at(32, pos);
      return 0;
    case enk_section:
      error_at(31, pos);
      return 0;
    case enk_error:
      return 0;
    case enk_subscript: {
      if (!node->array_expr || !storage_offset(node->array_expr, pos, obj, offset)) return 0;
      if (!*obj) return 0;
      type* t = (*obj)->type;
      bound_info_entry* b = array_bounds(t);
      if (!b) return 0;
      int32_t m = element_storage_size(t);
      uint32_t d = 0;
      for (expr_node* s = node->ind_list; s && d < b->rank; s = s->next, ++d) {
        int32_t v = 0;
        if (!strict_int(s, &v)) return 0;
        const bound_record& lo = b->lower(d);
        const bound_record& hi = b->upper(d);
        if ((lo.kind == bk_constant && v < lo.value) || (hi.kind == bk_constant && v > hi.value)) {
          error_at(msg_subscript_out_of_range, pos);
          return 0;
        }
        if (lo.kind == bk_constant) {
          int32_t diff = 0, term = 0;
          if (!guarded(fold_int_sub(v, lo.value, &diff), pos)) return 0;
          if (!guarded(fold_int_mul(diff, m, &term), pos)) return 0;
          if (!guarded(fold_int_add(*offset, term, offset), pos)) return 0;
        }
        if (s->next) {  // the multiplier of the next dimension
          if (hi.kind == bk_error || lo.kind == bk_error) return 0;
          int32_t l = 0, h = 0;
          if (!bound_value(lo, &l) || !bound_value(hi, &h)) return 0;
          int32_t extent = 0;
          if (!guarded(fold_int_sub(h, l, &extent), pos)) return 0;
          if (!guarded(fold_int_add(extent, 1, &extent), pos)) return 0;
          if (!guarded(fold_int_mul(m, extent, &m), pos)) return 0;
        }
      }
      return 1;
    }
    case enk_substring: {
      if (!node->array_expr || !storage_offset(node->array_expr, pos, obj, offset)) return 0;
      type* t = element_type_of(node->array_expr->type);
      bound_record* len = t && t->type_code == tk_fcharacter ? char_len_record(t) : nullptr;
      bool constant_len = len && len->kind == bk_constant;
      int32_t length = constant_len ? len->value : 0;
      expr_node* tr = node->ind_list;
      expr_node* first = tr && tr->node_kind == enk_triplet ? tr->first.get() : tr;
      expr_node* second = tr && tr->node_kind == enk_triplet ? tr->second : nullptr;
      int32_t start = 1, end = length;
      if (second && !strict_int(second, &end)) return 0;
      if (first && !strict_int(first, &start)) return 0;
      bool end_known = second || constant_len;
      if ((end_known && (end < 1 || (constant_len && end > length))) ||
          start < 1 || (constant_len && start > length)) {
        error_at(135, pos);
        return 0;
      }
      return guarded(fold_int_add(*offset, start - 1, offset), pos) ? 1 : 0;
    }
    default:
      *obj = nullptr;
      *offset = 0;
      return 1;
  }
}

}  // namespace

int designator_storage_offset(expr_node* node, source_pos_record pos, object** out_object,
                              int32_t* out_offset) {
  object* obj = nullptr;
  int32_t offset = 0;
  if (!node || !storage_offset(node, pos, &obj, &offset)) {
    *out_object = nullptr;
    *out_offset = 0;
    return 0;
  }
  *out_object = obj;
  *out_offset = offset;
  return 1;
}

// ---- DATA destinations ----

int data_subscript_is_constant(expr_node* e) {
  if (!e) return 1;
  switch (e->node_kind) {
    case enk_constant:
    case enk_data_implied_do_var:
      return 1;
    case enk_object:
      if (e->object && (e->object->is_constant || e->object->storage_class == sc_implied_do_var))
        return 1;
      break;
    case enk_ref:
      if (e->reference) return data_subscript_is_constant(e->reference);
      break;
    case enk_operation: {
      int ok = 1;
      for (expr_node* o = e->operands; o; o = o->next)
        if (!data_subscript_is_constant(o)) ok = 0;
      if (ok) return 1;
      break;
    }
    default:
      break;
  }
  error_at(389, e->source_pos);
  return 0;
}

namespace {

struct DataWalk {
  data_target_callback callback;
};

int data_list(DataWalk& w, expr_node* list);
int resolve(DataWalk& w, expr_node* n, int32_t offset, type* dest, type* covered);

// A DATA subscript, position or DO parameter: restricted and constant.
bool data_int(expr_node* e, int32_t* out) {
  if (!data_subscript_is_constant(e)) return false;
  return strict_int(e, out);
}

int resolve_subscript(DataWalk& w, expr_node* n, int32_t offset, type* dest, type* covered) {
  expr_node* base = n->array_expr;
  if (!base) return 0;
  type* t = base->type;
  if (base->node_kind == enk_field && base->field_var) {
    t = base->field_var->type;
    offset = wrapping_add(offset, base->field_var->association_offset);
    base = base->base_expr;
  } else if (base->node_kind == enk_object && base->object) {
    t = base->object->type;
  }
  bound_info_entry* b = array_bounds(t);
  if (!b) return 0;
  int32_t m = element_storage_size(t);
  uint32_t d = 0;
  for (expr_node* s = n->ind_list; s && d < b->rank; s = s->next, ++d) {
    int32_t v = 0;
    if (!data_int(s, &v)) return 0;
    int32_t lo = 1, hi = 0;
    if (!bound_value(b->lower(d), &lo) || !bound_value(b->upper(d), &hi)) return 0;
    if (!within(v, lo, hi)) {
      error_at(msg_subscript_out_of_range, s->source_pos);
      return 0;
    }
    offset = wrapping_add(offset, wrapping_mul(wrapping_sub(v, lo), m));
    m = wrapping_mul(m, wrapping_add(wrapping_sub(hi, lo), 1));
  }
  // An element is covered by itself, not by its whole array.
  if (!covered) covered = dest;
  return resolve(w, base, offset, dest, covered);
}

int resolve_substring(DataWalk& w, expr_node* n, int32_t offset, type* dest, type* covered) {
  if (!n->array_expr) return 0;
  type* t = element_type_of(n->array_expr->type);
  if (!t || t->type_code != tk_fcharacter) return 0;
  bound_record* len = char_len_record(t);
  bool constant_len = len && len->kind == bk_constant;
  int32_t length = constant_len ? len->value : 0;
  expr_node* tr = n->ind_list;
  expr_node* first = tr && tr->node_kind == enk_triplet ? tr->first.get() : tr;
  expr_node* second = tr && tr->node_kind == enk_triplet ? tr->second : nullptr;
  int32_t start = 1, end = length;
  if (first && !data_int(first, &start)) return 0;
  if (second && !data_int(second, &end)) return 0;
  for (int32_t p : {start, end}) {
    if (p < 1 || (constant_len && p > length)) {
      error_at(135, n->source_pos);
      return 0;
    }
  }
  if (start > end) {
    error_at(438, n->source_pos);
    return 0;
  }
  type* piece = character_type(t->kind, false, static_cast<uint32_t>(end - start + 1));
  if (!covered || covered == dest) covered = piece;
  const kind_row* row = kind_row_of_type(t);
  int32_t unit = row ? static_cast<int32_t>(row->size) : 1;
  offset = wrapping_add(offset, wrapping_mul(start - 1, unit));
  return resolve(w, n->array_expr, offset, piece, covered);
}

// Expands the last triplet or vector subscript of a section, resolving the
// section once per value; with none left the node is resolved as an element.
int resolve_section(DataWalk& w, expr_node* n, int32_t offset, type* dest, type* covered) {
  expr_node* prev = nullptr;
  expr_node* target = nullptr;
  expr_node* target_prev = nullptr;
  uint32_t dim = 0, target_dim = 0;
  for (expr_node* s = n->ind_list; s; prev = s, s = s->next, ++dim) {
    if (s->node_kind == enk_triplet || (s->type && s->type->type_code == tk_farray)) {
      target = s;
      target_prev = prev;
      target_dim = dim;
    }
  }
  if (!target) {
    n->node_kind = enk_subscript;
    int r = resolve_subscript(w, n, offset, dest, covered);
    n->node_kind = enk_section;
    return r;
  }
  std::vector<int32_t> values;  // a vector subscript's values
  int32_t triplet_first = 0, triplet_stride = 1, triplet_count = 0;
  if (target->node_kind == enk_triplet) {
    type* t = n->array_expr ? n->array_expr->type : nullptr;
    if (n->array_expr && n->array_expr->node_kind == enk_object && n->array_expr->object)
      t = n->array_expr->object->type;
    if (n->array_expr && n->array_expr->node_kind == enk_field && n->array_expr->field_var)
      t = n->array_expr->field_var->type;
    bound_info_entry* b = array_bounds(t);
    if (!b || target_dim >= b->rank) return 0;
    int32_t first = 1, second = 0, stride = 1;
    if (!bound_value(b->lower(target_dim), &first) || !bound_value(b->upper(target_dim), &second))
      return 0;
    if (target->first && !data_int(target->first, &first)) return 0;
    if (target->second && !data_int(target->second, &second)) return 0;
    if (target->stride && !data_int(target->stride, &stride)) return 0;
    int32_t count = 0;
    if (!guarded(do_iteration_count(first, second, stride, &count), target->source_pos)) return 0;
    triplet_first = first;
    triplet_stride = stride;
    triplet_count = count;
  } else {
    const_value vec;
    evaluate_constant_expression(target, &vec, 1);
    if (!value_is_array(&vec)) return 0;
    ElementWalk walk(&vec);
    const_value e;
    while (walk.next(&e)) values.push_back(const_int(&e));
  }
  // The subscript stands in the list as a reference to a temporary DO value.
  expr_node* standin = new_expr_node(enk_data_implied_do_var);
  standin->type = default_integer_type();
  standin->source_pos = target->source_pos;
  standin->symbol = new_do_value_symbol(0);
  standin->next = target->next;
  if (target_prev)
    target_prev->next = standin;
  else
    n->ind_list = standin;
  int r = 1;
  uint32_t total = target->node_kind == enk_triplet ? static_cast<uint32_t>(triplet_count)
                                                    : static_cast<uint32_t>(values.size());
  int32_t v = triplet_first;
  for (uint32_t k = 0; k < total; ++k) {
    if (target->node_kind == enk_triplet) {
      if (k > 0) v = wrapping_add(v, triplet_stride);
    } else {
      v = values[k];
    }
    standin->symbol->word1 = static_cast<uint32_t>(v);
    r = resolve_section(w, n, offset, dest, covered);
    if (r != 1) break;
  }
  if (target_prev)
    target_prev->next = target;
  else
    n->ind_list = target;
  return r;
}

int resolve_implied_do(DataWalk& w, expr_node* item) {
  do_loop* d = item->do_info;
  if (!d) return 0;
  int32_t start = 0, limit = 0, stride = 1;
  if (!data_int(d->initial_value, &start) || !data_int(d->final_value, &limit)) return 0;
  if (d->increment && d->increment->node_kind != enk_empty && !data_int(d->increment, &stride))
    return 0;
  expr_node* var = d->variable;
  while (var && var->node_kind == enk_ref) var = var->reference;
  DoVarBinding binding;
  bind_do_variable(&binding, var && var->node_kind == enk_object ? var->object : nullptr);
  int r = 1;
  if (stride != 0) {
    for (int64_t v = start; stride > 0 ? v <= limit : v >= limit; v += stride) {
      set_do_value(&binding, static_cast<int32_t>(v));
      r = data_list(w, item->expr_list);
      if (r != 1) break;
      if (v + stride < INT32_MIN || v + stride > INT32_MAX) break;
    }
  }
  unbind_do_variable(&binding);
  return r;
}

int resolve(DataWalk& w, expr_node* n, int32_t offset, type* dest, type* covered) {
  switch (n->node_kind) {
    case enk_object:
      if (!n->object) return 0;
      if (!covered && n->object->type && n->object->type->type_code == tk_farray)
        covered = n->object->type;
      return w.callback(n->object, offset, dest, covered ? covered : dest) > 0 ? 1 : 0;
    case enk_field:
      if (!n->field_var || !n->base_expr) return 0;
      offset = wrapping_add(offset, n->field_var->association_offset);
      if (!covered && n->field_var->type && n->field_var->type->type_code == tk_farray)
        covered = n->field_var->type;
      return resolve(w, n->base_expr, offset, dest, covered);
    case enk_subscript: return resolve_subscript(w, n, offset, dest, covered);
    case enk_substring: return resolve_substring(w, n, offset, dest, covered);
    case enk_section: return resolve_section(w, n, offset, dest, covered);
    case enk_constructor: return 1;
    case enk_implied_do: return resolve_implied_do(w, n);
    case enk_ref: return n->reference ? resolve(w, n->reference, offset, dest, covered) : 0;
    default: return 0;
  }
}

int data_list(DataWalk& w, expr_node* list) {
  for (expr_node* item = list; item; item = item->next) {
    type* dest = nullptr;
    type* covered = nullptr;
    if (item->node_kind != enk_implied_do) {
      type* t = item->type;
      if (t && t->type_code == tk_farray) {
        dest = t->element_type;
      } else {
        dest = t;
        covered = t;
      }
    }
    if (resolve(w, item, 0, dest, covered) != 1) return 0;
  }
  return 1;
}

}  // namespace

int data_for_each_target(expr_node* list, data_target_callback callback) {
  if (!callback) return 0;
  DataWalk w{callback};
  return data_list(w, list);
}
