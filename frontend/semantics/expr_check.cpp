// The expression checker: resolves the parser's name and apply nodes by the
// class of their symbol, types designators, constructors, implied-DOs and
// assignments, applies the rules of the context (variable, constant,
// specification, statement-function body, actual argument) and folds
// constant subexpressions. Procedure references go to procedure_refs.cpp.
#include "frontend/semantics/expr_check.h"

#include <algorithm>
#include <cstdint>

#include "frontend/base/diagnostics.h"
#include "frontend/base/options.h"
#include "frontend/model/const_value.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/procedure_refs.h"
#include "frontend/semantics/unit_pass.h"

namespace {

bool visited(const il_entry_header& h) { return (h & il_check_mark) != 0; }
void mark_visited(il_entry_header& h) { h |= il_check_mark; }

bool is_array(const type* t) { return t && t->type_code == tk_farray; }
bool is_integer(const type* t) { return t && t->type_code == tk_integer; }
bool is_error_type(const type* t) { return !t || t->type_code == tk_error; }
bool is_error(const expr_node* n) { return !n || n->node_kind == enk_error; }

bool is_character(const type* t) { return t && t->type_code == tk_fcharacter; }

// Whether an object is a named constant or constant-like base for the
// statement-function rule (600).
bool is_constant_base(const expr_node* n) {
  if (n->node_kind == enk_constant) return true;
  return n->node_kind == enk_object && n->object && n->object->is_constant;
}

// Keeps the chaining and argument words of a node while its kind changes.
struct node_links {
  expr_node* next;
  source_pos_record pos;
  ::atom* keyword;
  bool is_specifier;
  uint8_t specifier;
  il_entry_header header;
};
node_links save_links(const expr_node* n) {
  return {n->next, n->source_pos, n->arg_keyword, n->is_specifier, n->specifier, n->header};
}
void restore_links(expr_node* n, const node_links& l) {
  n->next = l.next;
  n->source_pos = l.pos;
  n->arg_keyword = l.keyword;
  n->is_specifier = l.is_specifier;
  n->specifier = l.specifier;
  n->header = l.header;
}
// Re-initialises a node as another kind, keeping its links and flags words
// that describe its place (keyword, position, next, visited mark).
void rekind(expr_node* n, int enk) {
  node_links l = save_links(n);
  bool optional = n->is_optional, intent_in = n->intent_in, intent_out = n->intent_out;
  bool element_sequence = n->element_sequence;
  init_expr_node(n);
  init_expr_node_kind(n, enk);
  restore_links(n, l);
  n->is_optional = optional;
  n->intent_in = intent_in;
  n->intent_out = intent_out;
  n->element_sequence = element_sequence;
}

// The symbol an alias (class 30) or host link (class 31) finally stands for.
symbol_entry* follow_symbol(symbol_entry* s) {
  for (int i = 0; s && i < 64; ++i) {
    s = symbol_complete(s);
    if (!s) return nullptr;
    if (s->cls == sym_alias) {
      s = static_cast<symbol_entry*>(s->entity.get());
      continue;
    }
    if (s->cls == sym_host_link) {
      s = resolve_alias_link(s);
      continue;
    }
    return s;
  }
  return s;
}

// The routine object a procedure symbol stands for (classes 2-8, 22-26).
object* procedure_object(symbol_entry* s) {
  if (s->cls == sym_specific_intrinsic || s->cls == sym_specific_intrinsic_sub) {
    auto* spec = static_cast<intrinsic_specific*>(s->entity.get());
    return spec ? spec->signature_object : nullptr;
  }
  return static_cast<object*>(s->entity.get());
}

// The interface a generic symbol stands for (classes 9, 10, 27).
interface* generic_interface(symbol_entry* s) {
  if (s->cls == sym_generic) return static_cast<interface*>(s->entity.get());
  auto* d = static_cast<intrinsic_descriptor*>(s->entity.get());
  return d ? d->table_entry : nullptr;
}

bool is_procedure_class(int cls) {
  return (cls >= sym_external_subroutine && cls <= sym_specific_intrinsic_sub) ||
         cls == sym_unknown_external || cls == sym_dummy_function ||
         cls == sym_dummy_subroutine || cls == sym_dummy_procedure;
}
bool is_generic_class(int cls) {
  return cls == sym_intrinsic_function || cls == sym_intrinsic_subroutine || cls == sym_generic;
}

// A new enk_object node of a variable, positioned at the reference.
expr_node* object_node(object* o, source_pos_record pos) {
  expr_node* n = new_expr_node(enk_object);
  n->object = o;
  n->source_pos = pos;
  n->type = o ? o->type.get() : error_type();
  return n;
}


// The type of a component selection on an array base: the base's shape over
// the component's type.
type* array_of_component(type* base, type* component) {
  type* c = private_type_copy(base);
  c->element_type = component;
  return c;
}

int32_t constant_int_of(expr_node* n, bool* ok) {
  *ok = false;
  if (!n || n->node_kind != enk_constant || !n->constant || !is_integer(n->constant->type))
    return 0;
  if (n->constant->kind != ck_value) return 0;
  const_value v;
  const_to_host_form(n->constant, &v);
  *ok = true;
  return const_int(&v);
}

// The value of an integer expression that is constant: a constant node, or
// (when expressions are kept as written) one that evaluates to a constant.
int32_t evaluated_int_of(expr_node* n, bool* ok) {
  int32_t v = constant_int_of(n, ok);
  if (*ok || !n || n->node_kind == enk_constant) return v;
  const_value c;
  if (!evaluate_constant_expression(n, &c, 0) || c.c.kind != ck_value || !is_integer(c.c.type)) return 0;
  *ok = true;
  return const_int(&c);
}

// Integer operation node of default INTEGER type.
expr_node* int_op(int op, expr_node* a, expr_node* b) {
  a->next = b;
  if (b) b->next = nullptr;
  return new_operation_node(op, default_integer_type(), a);
}

}  // namespace

// Forward declarations of the per-kind checks (all return true on success).
namespace {
bool resolve(expr_node* n, int context, object* unit);
bool epilogue(expr_node* n, int context, object* unit, bool ok, int* result);
}  // namespace

int expr_set_error(expr_node* node) {
  if (!node) return 0;
  node_links l = save_links(node);
  init_expr_node(node);
  init_expr_node_kind(node, enk_error);
  restore_links(node, l);
  node->type = error_type();
  return 0;
}

int check_expr(expr_node* node, int context, object* unit) {
  if (!node) return context;
  if (visited(node->header)) return is_error(node) ? 1 : context;
  mark_visited(node->header);
  bool ok = resolve(node, context, unit);
  int result = context;
  epilogue(node, context, unit, ok, &result);
  return result;
}

void mark_constructor_items_read(expr_node* items) {
  for (expr_node* i = items; i; i = i->next) {
    i->intent_in = true;
    if (i->node_kind == enk_implied_do) mark_constructor_items_read(i->expr_list);
  }
}

type* private_type_copy(const type* t) {
  type* c = new_type(t->type_code);
  copy_type_entry(t, c);
  c->header = 0;
  c->next = nullptr;
  if (c->type_code == tk_fcharacter) c->char_cache_next = nullptr;
  return c;
}

type* element_type_of(type* t) { return is_array(t) && t->element_type ? t->element_type : t; }

namespace {

// ---- Designators --------------------------------------------------------

// The type a designator node takes: a type whose size depends on the entity
// is copied privately, its length or shape being that of this node.
type* designator_private_type(expr_node* n, type* t) {
  if (is_character(t) && t->length.kind != bk_constant) {
    type* c = private_type_copy(t);
    c->length.kind = bk_same_as;
    c->length.expr = n;
    c->length.value = 0;
    n->multiply_referenced = true;
    return c;
  }
  if (!is_array(t)) return t;
  type* element = t->element_type;
  type* element_copy = element;
  if (is_character(element) && element->length.kind != bk_constant) {
    element_copy = private_type_copy(element);
    element_copy->length.kind = bk_same_as;
    element_copy->length.expr = n;
    element_copy->length.value = 0;
  }
  bool constant_shape = t->shape_kind == explicit_shape && array_is_constant_shape(t);
  if (constant_shape && element_copy == element) return t;
  type* c = private_type_copy(t);
  c->element_type = element_copy;
  if (!constant_shape) {
    c->shape_kind = same_shape;
    c->bound_info = nullptr;
    c->bound_args = make_ref_node(n);
  }
  n->multiply_referenced = true;
  return c;
}

// Specification-expression rule (bit 8) for a referenced object.
bool object_spec_rule(expr_node* n, object* o, int context, object* unit) {
  if (!(context & ctx_spec) || !unit) return true;
  if (o->is_constant || o->is_parameter || o->storage_class == sc_use_associated) return true;
  if (o->symbol && o->symbol->cls == sym_variable && (o->symbol->word3 & varf_in_common) &&
      !(o->symbol->word3 & varf_in_blank_common))
    return true;
  if (o->corresp.scope_depth <= unit->corresp.scope_depth) return true;
  if (o->storage_class == sc_external || o->storage_class == sc_intrinsic ||
      o->storage_class == sc_internal || o->storage_class == sc_mod_proc)
    return true;
  if (ctx_is_restricted(context) || o->is_pointer || o->is_allocatable) {
    error_at(111, n->source_pos);
    return false;
  }
  return true;
}

bool check_object(expr_node* n, int context, object* unit) {
  object* o = n->object;
  if (!o) return false;
  check_entity_decl(o);
  if (o->storage_class == sc_external && !o->is_parameter) {
    o = global_external_object(o);
    n->object = o;
  }
  n->type = o->type ? designator_private_type(n, o->type) : unknown_type();
  if (is_error_type(n->type)) return false;
  o->corresp.referenced = true;
  note_host_use(o, unit);
  if (!object_spec_rule(n, o, context, unit)) return false;
  if (!(context & ctx_actual_arg) && array_is_assumed_size(o->type)) {
    error_at(36, n->source_pos);
    return false;
  }
  return true;
}

bool check_field(expr_node* n, int context, object* unit) {
  if (check_expr(n->base_expr, context | ctx_variable, unit) == 1) return false;
  object* f = n->field_var;
  if (!f) return false;
  check_entity_decl(f);
  f->corresp.referenced = true;
  if ((context & ctx_stmt_func) && is_constant_base(n->base_expr)) {
    error_at(600, n->source_pos);
    return false;
  }
  type* base = n->base_expr->type;
  if (!is_array(base)) {
    n->type = f->type ? designator_private_type(n, f->type) : error_type();
    return !is_error_type(n->type);
  }
  if (is_array(f->type)) {
    error_at(449, n->source_pos);
    return false;
  }
  if (f->is_pointer) {
    error_at(395, n->source_pos);
    return false;
  }
  n->type = array_of_component(base, f->type);
  n->for_all = true;
  return true;
}

// Checks one subscript; counts array-valued ones.
bool check_subscript(expr_node* s, int context, object* unit, int* array_valued, bool* vector) {
  if (check_expr(s, context & ~ctx_variable, unit) == 1) return false;
  s->intent_in = true;
  if (s->node_kind == enk_triplet) {
    ++*array_valued;
    return true;
  }
  if (is_array(s->type)) {
    if (s->type->rank != 1) {
      error_at(340, s->source_pos);
      return false;
    }
    if (!is_integer(s->type->element_type)) {
      error_at(250, s->source_pos);
      return false;
    }
    ++*array_valued;
    *vector = true;
    return true;
  }
  if (!is_integer(s->type)) {
    error_at(250, s->source_pos);
    return false;
  }
  return true;
}

bool rank_check(expr_node* n, type* array, int count) {
  if (!is_array(array)) {
    error_at(430, n->source_pos);
    return false;
  }
  if (count < array->rank) {
    error_at(443, n->source_pos);
    return false;
  }
  if (count > array->rank) {
    error_at(450, n->source_pos);
    return false;
  }
  return true;
}

// The extent of one section dimension: a vector subscript's element count,
// or a triplet's trip count limited below by 0.
expr_node* section_extent(expr_node* base, expr_node* s, uint32_t dim) {
  if (s->node_kind != enk_triplet) return size_call_node(make_ref_node(s), 0);
  expr_node* lo = s->first ? make_ref_node(s->first) : lbound_call_node(make_ref_node(base), dim + 1);
  expr_node* hi = s->second ? make_ref_node(s->second) : ubound_call_node(make_ref_node(base), dim + 1);
  bool stride_one = true;
  bool stride_const = false;
  if (s->stride) {
    int32_t v = constant_int_of(s->stride, &stride_const);
    stride_one = stride_const && v == 1;
  }
  expr_node* extent;
  if (!stride_one) {  // (hi - lo + stride) / stride: 0 for an empty triplet
    expr_node* diff = int_op(eok_isubtract, hi, lo);
    expr_node* sum = int_op(eok_iadd, diff, make_ref_node(s->stride));
    extent = int_op(eok_idivide, sum, make_ref_node(s->stride));
  } else {
    bool lo_const = false;
    int32_t c = constant_int_of(s->first, &lo_const);
    if (s->first && lo_const) {
      extent = c == 1 ? hi
                      : int_op(eok_isubtract, hi,
                               int_const_il_node(static_cast<int32_t>(static_cast<uint32_t>(c) - 1u)));
    } else {
      extent = int_op(eok_iadd, int_op(eok_isubtract, hi, lo), int_const_il_node(1));
    }
  }
  return max0_zero_node(extent);
}

// The extent of a triplet whose parts are constant, an omitted bound being
// the base's bound of that dimension; false when some part is not constant
// or the stride is 0.
bool constant_triplet_extent(expr_node* s, bound_info_entry* base, uint32_t dim, int32_t* extent) {
  int32_t part[3] = {0, 0, 1};
  expr_node* given[3] = {s->first, s->second, s->stride};
  for (int i = 0; i < 3; ++i) {
    bool ok = true;
    if (given[i])
      part[i] = evaluated_int_of(given[i], &ok);
    else if (i < 2)
      ok = base && dim < base->rank && bound_value(i == 0 ? base->lower(dim) : base->upper(dim), &part[i]);
    if (!ok) return false;
  }
  int64_t lo = part[0], hi = part[1], stride = part[2];
  if (stride == 0) return false;
  int64_t n = (hi - lo + stride) / stride;
  *extent = n < 0 ? 0 : static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX));
  return true;
}

// The bounds block of a section without vector subscripts whose triplets
// all have constant extents: lower bounds 1, upper bounds the extents. Null
// when some extent is not constant. Makes no nodes, so the section and its
// subscripts are left as they were.
bound_info_entry* constant_section_shape(expr_node* section, uint32_t rank) {
  type* base_type = section->array_expr ? section->array_expr->type : nullptr;
  bound_info_entry* base = base_type ? array_bounds(base_type) : nullptr;
  bound_info_entry* b = new_bound_info_entry(rank);
  uint32_t dim = 0;
  uint32_t base_dim = 0;
  for (expr_node* s = section->ind_list; s; s = s->next, ++base_dim) {
    if (s->node_kind != enk_triplet) {
      if (is_array(s->type)) return nullptr;
      continue;
    }
    int32_t extent = 0;
    if (dim >= rank || !constant_triplet_extent(s, base, base_dim, &extent)) return nullptr;
    b->lower(dim) = make_bound(1, bk_constant, nullptr);
    b->upper(dim) = make_bound(extent, bk_constant, nullptr);
    ++dim;
  }
  return dim == rank ? b : nullptr;
}

// The explicit bounds block of a section with a vector subscript.
bound_info_entry* section_shape(expr_node* section, int rank) {
  bound_info_entry* b = new_bound_info_entry(static_cast<uint32_t>(rank));
  uint32_t dim = 0;
  uint32_t base_dim = 0;
  for (expr_node* s = section->ind_list; s; s = s->next, ++base_dim) {
    if (s->node_kind != enk_triplet && !is_array(s->type)) continue;
    b->lower(dim).kind = bk_constant;
    b->lower(dim).value = 1;
    expr_node* extent = section_extent(section->array_expr, s, base_dim);
    bound_record& up = b->upper(dim);
    const_value v;
    if (!driver_options.keep_expressions && check_ok(check_expr(extent, 0, nullptr)) &&
        evaluate_constant_expression(extent, &v, 0) && v.c.kind != ck_error &&
        is_integer(v.c.type)) {
      up.kind = bk_constant;
      up.value = const_int(&v);
    } else {
      up.kind = bk_expression;
      up.expr = extent;
    }
    ++dim;
  }
  return b;
}

// x(i, ...) on a component a%b(i): the structure is checked as a variable.
bool check_subscript_node(expr_node* n, int context, object* unit) {
  int array_valued = 0;
  bool vector = false;
  bool ok = true;
  int count = 0;
  for (expr_node* s = n->ind_list; s; s = s->next, ++count)
    if (!check_subscript(s, context, unit, &array_valued, &vector)) ok = false;
  if (!ok) return false;
  expr_node* base = n->array_expr;
  if (array_valued == 0 && base->node_kind == enk_field && !visited(base->header)) {
    mark_visited(base->header);
    if (check_expr(base->base_expr, context | ctx_variable, unit) == 1) return expr_set_error(base);
    object* f = base->field_var;
    if (!f) return expr_set_error(base);
    check_entity_decl(f);
    f->corresp.referenced = true;
    if ((context & ctx_stmt_func) && is_constant_base(base->base_expr)) {
      error_at(600, n->source_pos);
      return false;
    }
    if (!rank_check(n, f->type, count)) return false;
    if (is_array(base->base_expr->type)) {
      if (f->is_pointer) {
        error_at(395, base->source_pos);
        return false;
      }
      base->type = unknown_type();
      n->type = elemental_result_type(base->base_expr->type, f->type->element_type);
      n->for_all = true;
    } else {
      base->type = f->type;
      n->type = f->type->element_type;
    }
    return true;
  }
  if (check_expr(base, context | ctx_variable | ctx_actual_arg, unit) == 1) return false;
  if ((context & ctx_stmt_func) && is_constant_base(base)) {
    error_at(600, n->source_pos);
    return false;
  }
  type* at = base->type;
  if (!rank_check(n, at, count)) return false;
  if (array_valued == 0) {
    n->type = at->element_type;
    return true;
  }
  if (array_is_assumed_size(at)) {
    expr_node* last = n->ind_list;
    while (last->next) last = last->next;
    if (last->node_kind == enk_triplet && !last->second) {
      error_at(388, last->source_pos);
      return false;
    }
  }
  n->node_kind = enk_section;
  type* st = private_type_copy(at);
  st->rank = static_cast<uint8_t>(array_valued);
  st->corresp.decl_position = n->source_pos;
  if (vector) {
    st->shape_kind = explicit_shape;
    st->bound_args = nullptr;
    st->bound_info = section_shape(n, array_valued);
  } else {
    st->shape_kind = same_shape;
    st->bound_info = nullptr;
    st->bound_args = make_ref_node(n);
    n->multiply_referenced = true;
  }
  n->type = st;
  n->for_all = true;
  return true;
}

// The type of a substring of a CHARACTER type.
type* substring_type(type* base_type, expr_node* base, expr_node* triplet) {
  expr_node* lo = triplet ? triplet->first : nullptr;
  expr_node* hi = triplet ? triplet->second : nullptr;
  bool lo_const = false;
  int32_t lo_value = constant_int_of(lo, &lo_const);
  bool lo_is_one = !lo || (lo_const && lo_value == 1);
  if (!hi && lo_is_one) return base_type;
  bool hi_const = false;
  int32_t hi_value = constant_int_of(hi, &hi_const);
  if (!hi) {
    if (base_type->length.kind == bk_constant) {
      hi_const = true;
      hi_value = base_type->length.value;
    }
  }
  int error = 0;
  if (hi_const && (lo_is_one || lo_const)) {
    int64_t len = static_cast<int64_t>(hi_value) - (lo_is_one ? 1 : lo_value) + 1;
    if (len < 0) len = 0;
    if (len <= INT32_MAX)
      return character_type(base_type->kind, false, static_cast<uint32_t>(len), &error);
  }
  expr_node* upper;
  if (hi)
    upper = make_ref_node(hi);
  else if (base_type->length.kind == bk_expression && base_type->length.expr)
    upper = make_ref_node(base_type->length.expr);
  else
    upper = len_call_node(make_ref_node(base));
  expr_node* len = lo_is_one ? upper
                             : int_op(eok_iadd, int_op(eok_isubtract, upper, make_ref_node(lo)),
                                      int_const_il_node(1));
  type* t = private_type_copy(base_type);
  t->length.kind = bk_expression;
  t->length.expr = len;
  t->length.value = 0;
  return t;
}

bool check_substring(expr_node* n, int context, object* unit) {
  if (check_expr(n->array_expr, context | ctx_variable, unit) == 1) return false;
  expr_node* tr = n->ind_list;
  bool ok = true;
  if (tr) {
    mark_visited(tr->header);
    for (expr_node* b : {tr->first, tr->second}) {
      if (!b) continue;
      if (check_expr(b, context & ~ctx_variable, unit) == 1) {
        ok = false;
        continue;
      }
      b->intent_in = true;
      if (!is_integer(b->type)) {
        error_at(250, b->source_pos);
        ok = false;
      }
    }
    tr->type = default_integer_type();
  }
  if (!ok) return false;
  expr_node* base = n->array_expr;
  if ((context & ctx_stmt_func) && is_constant_base(base)) {
    error_at(600, n->source_pos);
    return false;
  }
  type* bt = base->type;
  if (is_character(bt)) {
    n->type = substring_type(bt, base, tr);
    return true;
  }
  if (is_array(bt) && is_character(bt->element_type)) {
    n->for_all = true;
    type* et = substring_type(bt->element_type, base, tr);
    if (!check_type_entry(et, unit)) return false;
    n->type = elemental_result_type(bt, et);
    return true;
  }
  error_at(436, base->source_pos);
  return false;
}

// ---- Constructors and implied-DOs ------------------------------------------

bool check_constructor(expr_node* n, int context, object* unit) {
  if (context & ctx_stmt_func) {
    error_at(600, n->source_pos);
    return false;
  }
  if (is_array(n->type)) {
    bool ok = true;
    for (expr_node* i = n->constructor; i; i = i->next)
      if (check_expr(i, context & ~ctx_constant, unit) == 1) ok = false;
    if (!ok) return false;
    mark_constructor_items_read(n->constructor);
    element_count c = constructor_element_count(n, unit);
    return c.cls != 0;
  }
  type* t = n->type;
  if (!t || t->type_code != tk_derived_type) return false;
  t->corresp.referenced = true;
  object* f = t->first_field;
  expr_link* slot = &n->constructor;
  bool ok = true;
  while (*slot && f) {
    expr_node* v = *slot;
    if (check_expr(v, context, unit) == 1) {
      ok = false;
    } else if (f->is_pointer) {
      if (check_pointer_target(f->type, v))
        v->is_pointer = true;
      else
        ok = false;
    } else {
      v->intent_in = true;
      if (!check_assignment(f->type, slot)) ok = false;
    }
    slot = &(*slot)->next;
    f = f->next;
  }
  if (*slot) {
    error_at(520, (*slot)->source_pos);
    return false;
  }
  if (f) {
    error_at(521, n->source_pos);
    return false;
  }
  return ok;
}

bool check_implied_do(expr_node* n, int context, object* unit) {
  bool ok = true;
  for (expr_node* i = n->expr_list; i; i = i->next)
    if (check_expr(i, context, unit) == 1) ok = false;
  if (!check_implied_do_control(n->do_info, context, unit)) ok = false;
  if (ok && n->has_a_scope && n->do_info && n->do_info->variable &&
      n->do_info->variable->node_kind == enk_object && n->do_info->variable->object)
    n->do_info->variable->object->assoc_implied_do = n;
  return ok;
}

bool check_triplet(expr_node* n, int context, object* unit) {
  bool ok = true;
  for (expr_node* b : {n->first, n->second, n->stride}) {
    if (!b) continue;
    if (check_expr(b, context, unit) == 1) {
      ok = false;
      continue;
    }
    b->intent_in = true;
    if (!is_integer(b->type)) {
      error_at(117, b->source_pos);
      ok = false;
    }
  }
  type* t = array_type(default_integer_type(), 1);
  t->corresp.decl_position = n->source_pos;
  n->type = t;
  return ok;
}

// ---- Names and applications -----------------------------------------------

bool resolve_interface_ref(expr_node* n) {
  interface* g = n->interface_block;
  ::atom* name = g ? g->corresp.name : nullptr;
  for (interface* i = g; i; i = i->inherited) {
    for (object_list_member* m = i->routine_prototype_list; m; m = m->next) {
      if (m->object && name && m->object->corresp.name == name) {
        rekind(n, enk_object);
        n->object = m->object;
        return true;
      }
    }
  }
  error_at(526, n->source_pos);
  return false;
}

// enk_name_ref: rewritten by the class of its symbol. false after a report.
bool resolve_name_ref(expr_node* n, int context) {
  symbol_entry* s = follow_symbol(n->symbol);
  if (s && s->cls == sym_stmt_func_dummy) {
    name_pos_record np{s->name, n->source_pos};
    s = symbol_as_variable(s, &np);
  }
  if (!s) return false;
  if (s->name == names.error_name) return false;
  if (s->cls == sym_variable || s->cls == sym_dummy || is_procedure_class(s->cls)) {
    object* o = procedure_object(s);
    if (!o) return false;
    rekind(n, enk_object);
    n->object = o;
    return true;
  }
  if (is_generic_class(s->cls)) {
    interface* g = generic_interface(s);
    if (!g) {
      error_at(526, n->source_pos);
      return false;
    }
    rekind(n, enk_interface_ref);
    n->interface_block = g;
    return true;
  }
  if (s->cls == sym_outer_implied_do_var) {
    symbol_entry* named = n->symbol;
    rekind(n, enk_data_implied_do_var);
    n->symbol = named;
    return true;
  }
  // The name of a program unit as an actual argument: the argument checks
  // say what it names.
  object* unit_object = entity_object(s);
  if ((context & ctx_actual_arg) && unit_object && report_unit_as_actual(unit_object, n->source_pos))
    return false;
  error_at(41, n->source_pos);
  return false;
}

// enk_apply: a structure constructor, an element or substring of a
// variable, a call or a generic call.
bool resolve_apply(expr_node* n) {
  symbol_entry* s = follow_symbol(n->symbol);
  if (!s || s->name == names.error_name) return false;
  expr_node* args = n->operands;
  if (s->cls == sym_derived_type) {
    type* t = static_cast<type*>(s->entity.get());
    rekind(n, enk_constructor);
    n->type = t;
    n->constructor = args;
    return true;
  }
  if (s->cls == sym_variable || s->cls == sym_dummy) {
    object* o = static_cast<object*>(s->entity.get());
    if (!o) return false;
    type* t = o->type;
    if (is_array(t)) {
      rekind(n, enk_subscript);
      n->array_expr = object_node(o, n->source_pos);
      n->ind_list = args;
      return true;
    }
    if (is_character(t) && args && !args->next) {
      rekind(n, enk_substring);
      n->array_expr = object_node(o, n->source_pos);
      expr_node* tr = args;
      if (args->node_kind != enk_triplet) {
        // c(i) on a CHARACTER scalar: the one character c(i:i).
        tr = new_expr_node(enk_triplet);
        tr->source_pos = args->source_pos;
        tr->first = args;
        args->next = nullptr;
        tr->second = make_ref_node(args);
        tr->second->source_pos = args->source_pos;
      }
      n->ind_list = tr;
      return true;
    }
    error_at(430, n->source_pos);
    return false;
  }
  // A dummy procedure of unknown kind names a procedure but is never called
  // as one: a reference makes it a dummy function or subroutine first.
  if (is_procedure_class(s->cls) && s->cls != sym_dummy_procedure) {
    object* o = procedure_object(s);
    if (!o) return false;
    rekind(n, enk_call);
    n->routine = o;
    n->operands = args;
    return true;
  }
  if (is_generic_class(s->cls)) {
    interface* g = generic_interface(s);
    if (!g) {
      error_at(44, n->source_pos, {s->name ? s->name->text : ""});
      return false;
    }
    rekind(n, enk_generic_call);
    n->generic_routine = g;
    n->operands = args;
    return true;
  }
  error_at(430, n->source_pos);
  return false;
}

// ---- Operations ---------------------------------------------------------

bool is_typed_assignment(int op) {
  return op == eok_iassign || op == eok_fassign || op == eok_xassign || op == eok_cassign ||
         op == eok_sassign || op == eok_lassign;
}

bool check_typed_assignment(expr_node* n, int context, object* unit) {
  expr_node* left = n->operands;
  if (!left) return false;
  expr_node* right = left->next;
  bool ok = check_expr(left, ctx_variable | (context & ctx_stmt_func), unit) != 1;
  if (ok) ok = check_definable(left) != 0;
  if (check_expr(right, context & ctx_stmt_func, unit) == 1) ok = false;
  if (!ok) return false;
  left->intent_out = true;
  n->type = void_type();
  if (right && right->node_kind == enk_stmt_label_value) {
    warning_at(593, n->source_pos);
    if (left->node_kind != enk_object) {
      error_at(218, left->source_pos);
      return false;
    }
    if (left->type != default_integer_type() && !type_equal(left->type, default_integer_type())) {
      error_at(458, left->source_pos);
      return false;
    }
    return true;
  }
  type_unify(&left->next, left->type);
  if (left->next) left->next->intent_in = true;
  if (is_array(left->type)) n->for_all = true;
  return true;
}

bool check_pointer_assignment(expr_node* n, object* unit) {
  expr_node* left = n->operands;
  if (!left) return false;
  expr_node* right = left->next;
  bool ok = check_expr(left, ctx_variable, unit) != 1;
  if (check_expr(right, 0, unit) == 1) ok = false;
  if (!ok) return false;
  object* entity = nullptr;
  if (left->node_kind == enk_object) entity = left->object;
  if (left->node_kind == enk_field) entity = left->field_var;
  if (!entity || !entity->is_pointer) {
    error_at(359, left->source_pos);
    return false;
  }
  left->intent_out = true;
  if (!check_pointer_target(left->type, right)) return false;
  left->is_pointer = true;
  right->is_pointer = true;
  n->type = void_type();
  return true;
}

bool check_operation(expr_node* n, int context, object* unit) {
  if (is_typed_assignment(n->op_kind)) return check_typed_assignment(n, context, unit);
  if (n->op_kind == eok_passign) return check_pointer_assignment(n, unit);
  bool ok = true;
  for (expr_node* o = n->operands; o; o = o->next)
    if (check_expr(o, context, unit) == 1) ok = false;
  return ok;
}

// ---- Dispatch and epilogue --------------------------------------------------

bool resolve(expr_node* n, int context, object* unit) {
  for (int round = 0; round < 8; ++round) {
    switch (n->node_kind) {
      case enk_error:
        return false;
      case enk_intrinsic:
      case enk_section:
      case enk_empty:
        return true;
      case enk_constant:
        if (!n->constant || !check_constant_entry(n->constant)) return false;
        note_host_use_in_constant(n->constant, unit);
        n->type = n->constant->type;
        return !is_error_type(n->type);
      case enk_stmt_label_value:
        if (ctx_is_restricted(context)) {
          error_at(111, n->source_pos);
          return false;
        }
        if (context & ctx_stmt_func) {
          error_at(600, n->source_pos);
          return false;
        }
        if (n->stmt_label_value) n->stmt_label_value->corresp.referenced = true;
        n->type = stmt_label_type();
        return true;
      case enk_object:
        return check_object(n, context, unit);
      case enk_field:
        return check_field(n, context, unit);
      case enk_subscript:
        return check_subscript_node(n, context, unit);
      case enk_substring:
        return check_substring(n, context, unit);
      case enk_constructor:
        return check_constructor(n, context, unit);
      case enk_implied_do:
      case enk_isum:
        return check_implied_do(n, context, unit);
      case enk_triplet:
        return check_triplet(n, context, unit);
      case enk_ref:
        if (!n->reference || check_expr(n->reference, context, unit) == 1) return false;
        n->type = n->reference->type;
        return true;
      case enk_param:
        n->type = n->parameter ? n->parameter->type.get() : error_type();
        return !is_error_type(n->type);
      case enk_data_implied_do_var:
        n->type = default_integer_type();
        return true;
      case enk_interface_ref:
        if (!resolve_interface_ref(n)) return false;
        continue;
      case enk_name_ref:
        if (!resolve_name_ref(n, context)) return false;
        continue;
      case enk_apply:
        if (!resolve_apply(n)) return false;
        continue;
      case enk_call:
        return check_specific_call(n, context, unit) != 0;
      case enk_generic_call:
        return check_generic_call(n, context, unit) != 0;
      case enk_operation:
        return check_operation(n, context, unit);
      default:
        return false;
    }
  }
  return false;
}

bool is_variable_kind(const expr_node* n, int context) {
  switch (n->node_kind) {
    case enk_constant:
    case enk_field:
    case enk_subscript:
    case enk_substring:
    case enk_section:
    case enk_ref:
    case enk_param:
      return true;
    case enk_object: {
      uint32_t sc = n->object ? n->object->storage_class : sc_unspecified;
      return sc == sc_local || sc == sc_associated || sc == sc_implied_do_var ||
             sc == sc_use_associated || sc == sc_common;
    }
    case enk_implied_do:
      return (context & ctx_data_bit) != 0;
    default:
      return false;
  }
}

// Replaces the node by a constant node of the value.
void fold_into_constant(expr_node* n, const_value* v) {
  check_type_entry(v->c.type, nullptr);
  ::constant* c = new_il_constant(v);
  rekind(n, enk_constant);
  n->constant = c;
  n->type = c->type;
}

bool epilogue(expr_node* n, int context, object* unit, bool ok, int* result) {
  if (ok && n->type && !check_type_entry(n->type, unit)) ok = false;
  if (!ok) {
    if (!is_error(n)) expr_set_error(n);
    *result = 1;
    return false;
  }
  if (context & ctx_variable) {
    if (!is_variable_kind(n, context)) {
      error_at(241, n->source_pos);
      expr_set_error(n);
      *result = 1;
      return false;
    }
    return true;
  }
  if ((context & ctx_int_spec) == ctx_int_spec && !is_integer(element_type_of(n->type))) {
    error_at(367, n->source_pos);
    expr_set_error(n);
    *result = 1;
    return false;
  }
  switch (n->node_kind) {
    case enk_constant:
    case enk_implied_do:
    case enk_triplet:
    case enk_isum:
    case enk_data_implied_do_var:
    case enk_empty:
    case enk_stmt_label_value:
      return true;
    case enk_object:
      if (!(context & ctx_constant) || (n->object && n->object->storage_class == sc_implied_do_var))
        return true;
      break;
    default:
      break;
  }
  if (n->type && (n->type->type_code == tk_void || n->type->type_code == tk_routine)) return true;
  const_value v;
  bool strict = (context & ctx_constant) != 0;
  bool was_optional = const_eval.optional_fold;
  const_eval.optional_fold = !strict;
  int got = evaluate_constant_expression(n, &v, strict ? 1 : 0);
  const_eval.optional_fold = was_optional;
  if (!got) return true;
  if (v.c.kind == ck_error || is_error_type(v.c.type)) {
    if (strict) {
      *result = 1;
      return false;
    }
    return true;
  }
  // Subscripts, substring positions and implied-DO parameters of DATA
  // objects stay as written: the DATA walk evaluates them itself and first
  // tests that they are restricted expressions, which a folded node hides.
  bool data_position = (context & ctx_data_bit) && !(context & ctx_variable);
  if (!driver_options.keep_expressions && !data_position) fold_into_constant(n, &v);
  return true;
}

}  // namespace

// ---- Entry checks ------------------------------------------------------------

int check_constant_entry(constant* c) {
  if (!c) return 0;
  if (visited(c->header)) return c->kind != ck_error;
  mark_visited(c->header);
  if (!c->type) c->type = unknown_type();
  check_type_entry(c->type, nullptr);
  if (c->type->type_code == tk_derived_type) c->type->corresp.referenced = true;
  switch (c->kind) {
    case ck_error:
      return 0;
    case ck_expression: {
      expr_node* e = c->expr;
      if (!e || check_expr(e, ctx_const_entry, nullptr) == 1) return 0;
      e->intent_in = true;
      if (e->node_kind == enk_constant && e->constant) {
        ::constant* k = e->constant;
        // The literal's kind and the fields of that kind; a formula that
        // stays one keeps its expression.
        c->type = k->type;
        c->kind = k->kind;
        c->first_constant = k->first_constant;
        c->last_constant = k->last_constant;
        if (c->kind == ck_value) c->expr = nullptr;
        if (c->kind == ck_expression) c->expr = e;
        return c->kind != ck_error;
      }
      const_value v;
      if (!evaluate_constant_expression(e, &v, 1) || v.c.kind == ck_error) return 0;
      const_to_indirect(&v);
      if (v.c.kind == ck_aggregate) {
        // An array value keeps its elements, which references to the
        // constant's elements and sections read.
        c->kind = ck_aggregate;
        c->type = v.c.type;
        c->first_constant = v.c.first_constant;
        c->last_constant = v.c.last_constant;
        return 1;
      }
      // The value's type is the constant's also when the expression is kept.
      c->type = v.c.type;
      c->value = v.c.value;
      if (!driver_options.keep_expressions) {
        c->kind = ck_value;
        c->expr = nullptr;
      }
      return 1;
    }
    case ck_aggregate: {
      int ok = 1;
      for (::constant* e = c->first_constant; e; e = e->next)
        if (!check_constant_entry(e)) ok = 0;
      return ok;
    }
    default:
      return 1;
  }
}

int check_bound_exprs(bound_info_entry* b, uint32_t rank, object* unit) {
  if (!b) return 1;
  int ok = 1;
  for (uint32_t i = 0; i < 2 * rank && i < 2 * b->rank; ++i) {
    bound_record& r = b->bounds[i];
    if (r.kind != bk_expression || !r.expr) continue;
    if (check_expr(r.expr, ctx_int_spec, unit) == 1) {
      ok = 0;
      continue;
    }
    r.expr->intent_in = true;
    bool is_const = false;
    int32_t v = evaluated_int_of(r.expr, &is_const);
    if (is_const) {
      r.kind = bk_constant;
      r.value = v;
      r.expr = nullptr;
    }
  }
  return ok;
}

bool derived_type_copied_by_use(const type* t) {
  if (!t || t->type_code != tk_derived_type || !t->module) return false;
  scope* home = t->module->assoc_scope;
  if (!home) return true;
  for (const type* d = home->types; d; d = d->next)
    if (d == t) return false;
  return true;
}

int check_type_entry(type* t, object* unit) {
  if (!t) return 1;
  if (visited(t->header)) return t->type_code != tk_error;
  mark_visited(t->header);
  int ok = 1;
  switch (t->type_code) {
    case tk_error:
      return 0;
    case tk_routine:
      if (t->return_type && !check_type_entry(t->return_type, unit)) ok = 0;
      for (param_type* p = t->param_type_list; p; p = p->next)
        if (p->type && !check_type_entry(p->type, unit)) ok = 0;
      break;
    case tk_fcharacter:
      if (t->length.kind == bk_same_as && t->length.expr) {
        // The length of an expression: constant once that expression's is.
        type* other = t->length.expr->type;
        if (other && other != t && is_array(other)) other = other->element_type;
        if (other && other != t && is_character(other) && other->length.kind == bk_constant) {
          t->length.kind = bk_constant;
          t->length.value = other->length.value;
          t->length.expr = nullptr;
        }
      } else if (t->length.kind == bk_expression && t->length.expr) {
        expr_node* e = t->length.expr;
        if (check_expr(e, ctx_int_spec, unit) == 1) {
          ok = 0;
          break;
        }
        e->intent_in = true;
        bool is_const = false;
        int32_t v = evaluated_int_of(e, &is_const);
        if (is_const) {
          t->length.kind = bk_constant;
          t->length.value = v < 0 ? 0 : v;
          t->length.expr = nullptr;
        }
      }
      break;
    case tk_farray:
      if (t->element_type) {
        if (!check_type_entry(t->element_type, unit)) ok = 0;
        t->is_numeric = t->element_type->is_numeric;
        t->is_character = t->element_type->is_character;
        t->contains_ptrs = t->element_type->contains_ptrs;
      }
      if (t->shape_kind == same_shape || t->shape_kind == add_dimension ||
          t->shape_kind == delete_dimension) {
        for (expr_node* e = t->bound_args; e; e = e->next)
          if (check_expr(e, 0, unit) == 1) ok = 0;
      } else if (t->bound_info) {
        if (!check_bound_exprs(t->bound_info, t->rank, unit)) ok = 0;
      }
      break;
    case tk_derived_type: {
      // A type taken from a module keeps the flags its module file gave it;
      // its module is then only the unit's record of that module, which has
      // no scope. A type defined here, in a module or not, gets them now.
      bool defined_here = !t->module || t->module->assoc_scope;
      bool copied = derived_type_copied_by_use(t);
      if (defined_here) {
        t->is_numeric = t->is_seq;
        t->is_character = t->is_seq;
        t->contains_ptrs = false;
      }
      for (object* f = t->first_field; f; f = f->next) {
        check_entity_decl(f);
        type* ft = f->type;
        if (!ft) continue;
        type* fe = element_type_of(ft);
        if (fe && fe->type_code == tk_derived_type && fe->symbol && fe->symbol->cls == sym_alias) {
          auto* target = static_cast<symbol_entry*>(fe->symbol->entity.get());
          if (target && target->entity) {
            type* real = static_cast<type*>(target->entity.get());
            if (ft == fe)
              f->type = real;
            else
              ft->element_type = real;
            fe = real;
          }
        }
        // A type brought in by USE was checked in its module.
        if (fe && fe->type_code == tk_derived_type && !copied) {
          if (t->is_seq && !fe->is_seq)
            error_at(377, f->corresp.decl_position,
                     {f->corresp.name ? f->corresp.name->text : ""});
          if (t->is_public && f->is_public && !fe->is_public)
            error_at(576, f->corresp.decl_position,
                     {f->corresp.name ? f->corresp.name->text : ""});
        }
        if (!defined_here) continue;
        if (f->is_pointer) {
          t->is_numeric = false;
          t->is_character = false;
          t->contains_ptrs = true;
        } else if (fe) {
          t->is_numeric = t->is_numeric && fe->is_numeric;
          t->is_character = t->is_character && fe->is_character;
          t->contains_ptrs = t->contains_ptrs || fe->contains_ptrs;
        }
      }
      if (t->is_public) t->corresp.referenced = true;
      break;
    }
    default:
      break;
  }
  type_storage_size(t);
  return ok;
}

// ---- Definability, conversion and assignment ---------------------------------

int check_definable(expr_node* node) {
  for (expr_node* n = node; n;) {
    switch (n->node_kind) {
      case enk_object: {
        object* o = n->object;
        if (o && ((o->intent_in && !o->intent_out) || o->is_constant)) {
          error_at(535, n->source_pos);
          return 0;
        }
        return 1;
      }
      case enk_field: n = n->base_expr; break;
      case enk_subscript:
      case enk_substring:
      case enk_section: n = n->array_expr; break;
      case enk_ref: n = n->reference; break;
      case enk_empty:
      case enk_error:
        return 1;
      default:
        error_at(241, n->source_pos);
        return 0;
    }
  }
  return 1;
}

void type_unify(expr_link* slot, type* target) {
  expr_node* n = *slot;
  if (!n || !target) return;
  if (n->type == target || type_equal(n->type, target)) {
    n->type = target;
    return;
  }
  if (target->type_code == tk_error) {
    expr_set_error(n);
    return;
  }
  if (target->type_code == tk_fcharacter) return;
  expr_node* converted;
  if (is_array(target) && !is_array(n->type)) {
    pool_ref<expr_node> inner = n;
    type_unify(&inner, target->element_type);
    converted = new_operation_node(eok_spread, target, inner);
    n = inner;
  } else if (is_array(target)) {
    if (is_character(element_type_of(n->type))) return;
    converted = new_operation_node(eok_cast, target, n);
    converted->for_all = true;
  } else {
    converted = new_operation_node(eok_cast, target, n);
  }
  converted->source_pos = n->source_pos;
  converted->next = n->next;
  converted->arg_keyword = n->arg_keyword;
  converted->is_specifier = n->is_specifier;
  converted->specifier = n->specifier;
  converted->is_optional = n->is_optional;
  converted->element_sequence = n->element_sequence;
  converted->header |= il_check_mark;
  n->is_optional = false;
  n->element_sequence = false;
  n->next = nullptr;
  converted->intent_in = true;
  n->intent_in = true;
  converted->intent_out = false;
  n->intent_out = false;
  *slot = converted;
}

int check_assignment(type* destination, expr_link* value_slot) {
  expr_node* v = *value_slot;
  if (!v || !destination) return 0;
  if (is_error(v) || is_error_type(destination)) return 0;
  if (v->type != destination && !type_assignable(destination, v->type)) {
    error_at(385, v->source_pos);
    return 0;
  }
  type* de = element_type_of(destination);
  if (!driver_options.keep_expressions && v->node_kind == enk_constant && v->constant &&
      is_character(de) && de->length.kind == bk_constant) {
    ::constant* c = v->constant;
    type* ve = element_type_of(c->type);
    if (c->kind == ck_value && is_character(c->type) && ve->length.kind == bk_constant &&
        ve->length.value != de->length.value) {
      const_value cv;
      const_to_host_form(c, &cv);
      if (const_convert_to_type(&cv, de) == 0) {
        v->constant = new_il_constant(&cv);
        v->type = v->constant->type;
      }
    } else if (c->kind == ck_aggregate && is_array(c->type) && is_character(ve) &&
               ve->length.kind == bk_constant && ve->length.value != de->length.value) {
      ::constant* agg = new_constant();
      init_constant(agg, ck_aggregate);
      agg->source_pos = c->source_pos;
      ::constant* last = nullptr;
      for (::constant* e = c->first_constant; e; e = e->next) {
        const_value cv;
        const_to_host_form(e, &cv);
        const_convert_to_type(&cv, de);
        ::constant* ne = new_il_constant(&cv);
        if (last)
          last->next = ne;
        else
          agg->first_constant = ne;
        last = ne;
      }
      agg->last_constant = last;
      type* at = private_type_copy(c->type);
      at->element_type = de;
      agg->type = at;
      v->constant = agg;
      v->type = at;
    }
  }
  type_unify(value_slot, destination);
  return 1;
}

// ---- Pointer targets -------------------------------------------------------

namespace {
// Whether a designator qualifies as a pointer target through its bases.
bool designator_is_target(expr_node* n) {
  while (n) {
    switch (n->node_kind) {
      case enk_object:
        return n->object && (n->object->is_pointer || n->object->is_target);
      case enk_field:
        if (n->field_var && n->field_var->is_pointer) return true;
        n = n->base_expr;
        break;
      case enk_subscript:
      case enk_substring:
      case enk_section:
        n = n->array_expr;
        break;
      case enk_ref:
        n = n->reference;
        break;
      default:
        return false;
    }
  }
  return false;
}
}  // namespace

int check_pointer_target(type* pointer_type, expr_node* target) {
  if (!target || is_error(target)) return 0;
  bool qualifies = false;
  if (target->node_kind == enk_call) {
    object* r = target->routine;
    qualifies = r && (r->is_pointer || (r->assoc_scope && r->assoc_scope->function_result_var &&
                                        r->assoc_scope->function_result_var->is_pointer));
  } else {
    qualifies = designator_is_target(target);
  }
  if (!qualifies) {
    error_at(361, target->source_pos);
    return 0;
  }
  type* pt = pointer_type;
  type* tt = target->type;
  if (!pt || !tt) return 0;
  bool pa = is_array(pt), ta = is_array(tt);
  if (pa != ta || (pa && pt->rank != tt->rank)) {
    error_at(291, target->source_pos, {"rank"});
    return 0;
  }
  type* pe = element_type_of(pt);
  type* te = element_type_of(tt);
  if (pe != te && !type_equal(pe, te)) {
    bool char_ok = is_character(pe) && is_character(te) && pe->kind == te->kind &&
                   (pe->length.kind != bk_constant || te->length.kind != bk_constant ||
                    pe->length.value == te->length.value);
    if (!char_ok) {
      error_at(291, target->source_pos, {"type and type parameters"});
      return 0;
    }
  }
  if (target->node_kind == enk_section && !check_no_vector_subscript(target)) return 0;
  return 1;
}

int check_no_vector_subscript(expr_node* node) {
  if (!node || node->node_kind != enk_section) return 1;
  for (expr_node* s = node->ind_list; s; s = s->next) {
    if (s->node_kind != enk_triplet && is_array(s->type)) {
      error_at(30, node->source_pos);
      return 0;
    }
  }
  return 1;
}

// ---- Implied-DO control ----------------------------------------------------

int check_implied_do_control(do_loop* d, int context, object* unit) {
  if (!d) return 0;
  if (visited(d->header)) return 1;
  mark_visited(d->header);
  int ok = 1;
  expr_node* var = d->variable;
  if (check_expr(var, ctx_variable, unit) == 1 || !check_definable(var)) {
    ok = 0;
  } else if (var->node_kind != enk_object) {
    error_at(218, var->source_pos);
    ok = 0;
  }
  type* vt = ok ? var->type : nullptr;
  for (expr_link* slot : {&d->initial_value, &d->final_value, &d->increment}) {
    expr_node* e = *slot;
    if (!e) continue;
    if (check_expr(e, context & ~ctx_variable, unit) == 1) {
      ok = 0;
      continue;
    }
    e->intent_in = true;
    type* t = e->type;
    if (is_error_type(t)) continue;
    if (t->type_code == tk_float &&
        (t->kind == kind_defaults.default_real || t->kind == kind_defaults.double_precision)) {
      warning_at(592, e->source_pos);
    } else if (t->type_code != tk_integer) {
      error_at(527, e->source_pos);
      ok = 0;
      continue;
    }
    if (vt) type_unify(slot, vt);
  }
  return ok;
}

// ---- Character comparisons and lengths -------------------------------------

int const_char_compare(constant* a, constant* b) {
  const_value va, vb;
  const_to_host_form(a, &va);
  const_to_host_form(b, &vb);
  type* ta = a->type;
  type* tb = b->type;
  uint32_t la = ta && ta->length.kind == bk_constant ? static_cast<uint32_t>(ta->length.value) : 0;
  uint32_t lb = tb && tb->length.kind == bk_constant ? static_cast<uint32_t>(tb->length.value) : 0;
  const kind_row* row = kind_row_of(kf_character, ta ? ta->kind : 0);
  if (!row) row = kind_row_of(kf_character, 0);
  uint32_t element = row->size ? row->size : 1;
  const uint8_t* ca = const_chars(&va);
  const uint8_t* cb = const_chars(&vb);
  int32_t pad = static_cast<unsigned char>(row->pad);
  uint32_t n = la > lb ? la : lb;
  for (uint32_t i = 0; i < n; ++i) {
    int32_t x = i < la ? row->get_int(ca + i * element) : pad;
    int32_t y = i < lb ? row->get_int(cb + i * element) : pad;
    if (x != y) return x > y ? 1 : -1;
  }
  return 0;
}

int char_len_compare(type* t, int32_t n) {
  if (n < 1) return 0;
  type* e = element_type_of(t);
  if (e && e->length.kind == bk_constant && n > e->length.value) return 0;
  return 1;
}

int char_len_fits(const bound_record* first, const bound_record* second, int32_t n) {
  if (first->kind == bk_constant && n < first->value) return 0;
  return second->kind != bk_constant || n <= second->value ? 1 : 0;
}

namespace {
// The section a "same shape" section type takes its shape from, or null.
expr_node* referenced_section(type* array) {
  if (!array || array->type_code != tk_farray || array->shape_kind != same_shape) return nullptr;
  expr_node* section = array->bound_args;
  while (section && section->node_kind == enk_ref) section = section->reference;
  return section && section->node_kind == enk_section ? section : nullptr;
}
}  // namespace

bound_info_entry* section_bounds_block(type* array) {
  expr_node* section = referenced_section(array);
  if (!section) return array_bounds(array);
  if (bound_info_entry* b = constant_section_shape(section, array->rank)) return b;
  return section_shape(section, array->rank);
}

bound_info_entry* constant_bounds_block(type* array) {
  expr_node* section = referenced_section(array);
  return section ? constant_section_shape(section, array->rank) : array_bounds(array);
}
