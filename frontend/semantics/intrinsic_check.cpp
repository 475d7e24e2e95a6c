// Dispatch of intrinsic references to their row's handler, the rules every
// handler applies to its arguments, the common types of operands, and the
// generic check of rows whose own handler is not written: it takes the result
// from the forms of the matched signature.
#include "frontend/semantics/intrinsic_check.h"

#include <iterator>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"

#define INTRINSIC_HANDLER(row, handler) handler,
const intrinsic_handler intrinsic_handlers[] = {
#include "frontend/semantics/intrinsic_handlers.def"
};
static_assert(std::size(intrinsic_handlers) == intrinsic_rows_total);

namespace {
#define INTRINSIC_HANDLER(row, handler) ir_##row,
constexpr int handler_rows[] = {
#include "frontend/semantics/intrinsic_handlers.def"
};
constexpr bool handler_rows_in_order() {
  for (size_t i = 0; i < std::size(handler_rows); ++i)
    if (handler_rows[i] != static_cast<int>(i)) return false;
  return true;
}
static_assert(handler_rows_in_order(), "intrinsic_handlers.def rows must follow the table");

bool is_error_node(const expr_node* n) { return !n || n->node_kind == enk_error; }

bool restricted(int flags) { return intrinsic_restricted(flags); }
constexpr int stmt_function_body = 128;

// The restricted-expression rule, applied recursively.
bool restricted_ok(expr_node* e, object* context);

bool restricted_list_ok(expr_node* list, object* context) {
  bool ok = true;
  for (expr_node* a = list; a; a = a->next)
    if (!restricted_ok(a, context)) ok = false;
  return ok;
}

bool restricted_ok(expr_node* e, object* context) {
  if (!e) return true;
  switch (e->node_kind) {
    case enk_operation:
      return restricted_list_ok(e->operands, context);
    case enk_intrinsic: {
      expr_node* first = e->operands;
      if (first && intrinsic_is_inquiry(e->intrinsic)) return restricted_list_ok(first->next, context);
      return restricted_list_ok(first, context);
    }
    case enk_object: {
      object* o = e->object;
      if (!o || o->is_constant || o->is_parameter) return true;
      if (o->symbol && o->symbol->cls == sym_variable && (o->symbol->word3 & varf_in_common))
        return true;
      if (context && o->storage_class != sc_use_associated &&
          context->corresp.scope_depth < o->corresp.scope_depth) {
        error_at(111, e->source_pos);
        return false;
      }
      return true;
    }
    case enk_field:
      return restricted_ok(e->base_expr, context);
    case enk_subscript:
    case enk_substring:
    case enk_section: {
      bool ok = restricted_ok(e->array_expr, context);
      return restricted_list_ok(e->ind_list, context) && ok;
    }
    case enk_constructor:
      return restricted_list_ok(e->constructor, context);
    case enk_triplet: {
      bool ok = restricted_ok(e->first, context);
      if (!restricted_ok(e->second, context)) ok = false;
      return restricted_ok(e->stride, context) && ok;
    }
    default:
      return true;
  }
}

bool is_assumed_size_object(const expr_node* e) {
  return e && e->node_kind == enk_object && e->object && array_is_assumed_size(e->object->type);
}

// The array-valued rule of statement-function bodies.
bool scalar_rule_ok(expr_node* e);

bool scalar_list_ok(expr_node* list) {
  bool ok = true;
  for (expr_node* a = list; a; a = a->next)
    if (!scalar_rule_ok(a)) ok = false;
  return ok;
}

bool scalar_rule_ok(expr_node* e) {
  // An omitted argument is no value, whatever form its dummy gives it.
  if (!e || e->node_kind == enk_empty) return true;
  if (is_array_type(e->type) && !e->element_sequence) {
    error_at(571, e->source_pos);
    return false;
  }
  switch (e->node_kind) {
    case enk_operation:
    case enk_call:
      return scalar_list_ok(e->operands);
    case enk_intrinsic: {
      expr_node* first = e->operands;
      if (first && intrinsic_is_inquiry(e->intrinsic)) return scalar_list_ok(first->next);
      return scalar_list_ok(first);
    }
    case enk_field:
      return scalar_rule_ok(e->base_expr);
    case enk_ref:
      return scalar_rule_ok(e->reference);
    case enk_subscript: {
      bool ok = true;
      if (e->array_expr && e->array_expr->node_kind == enk_field)
        ok = scalar_rule_ok(e->array_expr->base_expr);
      return scalar_list_ok(e->ind_list) && ok;
    }
    case enk_substring: {
      bool ok = scalar_rule_ok(e->array_expr);
      return scalar_list_ok(e->ind_list) && ok;
    }
    case enk_section:
    case enk_constructor:
    case enk_triplet:
      error_at(600, e->source_pos);
      return false;
    default:
      return true;
  }
}

// The first argument of an inquiry function in a restricted expression: a
// designator passes, only its subscripts and bounds are checked.
bool inquiry_first_ok(expr_node* e, object* context) {
  if (!e) return true;
  switch (e->node_kind) {
    case enk_object:
    case enk_field:
      return true;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      return restricted_list_ok(e->ind_list, context);
    default:
      return restricted_ok(e, context);
  }
}

// The class of an element type for the common numeric type.
int numeric_class(const type* e) {
  switch (e ? static_cast<int>(e->type_code) : static_cast<int>(tk_error)) {
    case tk_logical: return 0;
    case tk_integer: return 1;
    case tk_float: return 2;
    case tk_complex: return 3;
    default: return -1;
  }
}

bool same_type(type* a, type* b) { return a == b || type_equal(a, b); }

// The matched signature's routine type, or null.
type* signature_routine(const expr_node* node) {
  return node->routine && node->routine->type && node->routine->type->type_code == tk_routine
             ? node->routine->type
             : nullptr;
}

// An "any" element form of the table (kind any, or a type class).
bool is_open_form(const type* e) {
  if (!e) return true;
  switch (e->type_code) {
    case tk_any_type:
    case tk_any_derived:
    case tk_any_numerical:
      return true;
    case tk_integer:
    case tk_logical:
    case tk_float:
    case tk_complex:
    case tk_fcharacter:
      return e->kind == any_kind || (e->type_code == tk_fcharacter && e->length.kind == bk_assumed);
    default:
      return false;
  }
}

}  // namespace

// ---- Shared operations ----

// The rank-0 array forms of the table's dummies (which omitted arguments
// take) are no arrays.
bool is_array_type(const type* t) { return t && t->type_code == tk_farray && t->rank > 0; }

type* intrinsic_element_type(type* t) { return t && t->type_code == tk_farray ? t->element_type : t; }

expr_link* intrinsic_arg_slot(expr_node* node, int n) {
  expr_link* slot = &node->operands;
  for (; *slot && n > 0; --n) slot = &(*slot)->next;
  return *slot ? slot : nullptr;
}

expr_node* intrinsic_arg(expr_node* node, int n) {
  expr_link* slot = intrinsic_arg_slot(node, n);
  return slot ? slot->get() : nullptr;
}

void set_array_valued(expr_node* node, type* t) { node->for_all = is_array_type(t); }

bool reject_if_restricted(expr_node* node, int flags) {
  if (!intrinsic_restricted(flags)) return true;
  error_at(111, node->source_pos);
  return false;
}

type* arg_element_type(const expr_node* arg) { return arg ? intrinsic_element_type(arg->type) : nullptr; }

type* elemental_shaped(type* t, expr_node* x) { return x ? elemental_result_type(x->type, t) : t; }

int finish_intrinsic(expr_node* node, type* result) {
  set_array_valued(node, result);
  return set_intrinsic_call(node, result);
}

int intrinsic_check(expr_node* node, int flags, object* context) {
  if (!node || !node->routine) return expr_set_error(node);
  int row = intrinsic_row_of(node->routine);
  if (row >= intrinsic_rows_total) return expr_set_error(node);
  // An argument that already failed fails the reference without a message.
  for (expr_node* a = node->operands; a; a = a->next)
    if (a->node_kind == enk_error) return expr_set_error(node);
  return intrinsic_handlers[row](node, flags, context);
}

namespace {
// Assumed-size array objects among the arguments from `first` on: 36 at each.
bool no_assumed_size(expr_node* first) {
  bool ok = true;
  for (expr_node* a = first; a; a = a->next)
    if (is_assumed_size_object(a)) {
      error_at(36, a->source_pos);
      ok = false;
    }
  return ok;
}
}  // namespace

int check_intrinsic_args(expr_node* node, int flags, object* context) {
  if (restricted(flags)) return restricted_list_ok(node->operands, context) ? 1 : 0;
  if (!(flags & stmt_function_body)) return no_assumed_size(node->operands) ? 1 : 0;
  return scalar_list_ok(node->operands) ? 1 : 0;
}

int check_inquiry_args(expr_node* node, int flags, object* context) {
  expr_node* first = node->operands;
  if (!first) return 1;
  if (restricted(flags)) {
    bool ok = inquiry_first_ok(first, context);
    return restricted_list_ok(first->next, context) && ok ? 1 : 0;
  }
  if (!(flags & stmt_function_body)) return no_assumed_size(first->next) ? 1 : 0;
  // The walk stops at the first array value, reported once more at the
  // reference.
  for (expr_node* a = first->next; a; a = a->next)
    if (!scalar_rule_ok(a)) {
      error_at(571, node->source_pos);
      return 0;
    }
  return 1;
}

int set_intrinsic_call(expr_node* node, type* result) {
  int row = node->routine ? intrinsic_row_of(node->routine) : node->intrinsic;
  expr_node* operands = node->operands;
  init_expr_node_kind(node, enk_intrinsic);
  node->intrinsic = static_cast<uint8_t>(row);
  node->operands = operands;
  node->routine = nullptr;
  node->call_interface = nullptr;
  node->type = result;
  return 1;
}

int finish_conversion_call(expr_node* node, type* result) {
  expr_node* arg = node->operands;
  if (!arg) return set_intrinsic_call(node, result);
  if (arg->type != result && !type_equal(result, arg->type)) {
    arg->next = nullptr;
    node->routine = nullptr;
    node->call_interface = nullptr;
    init_expr_node_kind(node, enk_operation);
    node->op_kind = eok_cast;
    node->operands = arg;
    node->type = result;
    return 1;
  }
  // The conversion disappears: the node takes over the argument's kind and
  // its kind-dependent fields, keeping its own position, link and flags.
  expr_node own = *node;
  *node = *arg;
  node->header = own.header;
  node->source_pos = own.source_pos;
  node->next = own.next;
  node->multiply_referenced = own.multiply_referenced;
  node->allow_reordering = own.allow_reordering;
  node->is_optional = own.is_optional;
  node->intent_in = own.intent_in;
  node->intent_out = own.intent_out;
  node->is_pointer = own.is_pointer;
  node->element_sequence = own.element_sequence;
  node->for_all = own.for_all;
  node->iterated = own.iterated;
  node->treated_as_subroutine_call = own.treated_as_subroutine_call;
  node->any_type_argument = own.any_type_argument;
  node->is_specifier = own.is_specifier;
  node->arg_keyword = own.arg_keyword;
  node->specifier = own.specifier;
  node->type = result;
  return 1;
}

int constant_int_value(expr_node* e, int32_t* value) {
  if (is_error_node(e) || !e->type || e->type->type_code != tk_integer) return 0;
  const_value v;
  if (!evaluate_constant_expression(e, &v, 0)) return 0;
  if (!v.c.type || v.c.type->type_code != tk_integer) return 0;
  *value = const_int(&v);
  return 1;
}

type* elemental_binary_type(type* t1, type* t2, type* e) {
  if (is_array_type(t2) && is_array_type(t1)) {
    if (!array_shape_agree(t1, t2)) return nullptr;
    if (same_type(t1->element_type, e)) return t1;
    if (same_type(t2->element_type, e)) return t2;
    return elemental_result_type(t1, e);
  }
  if (is_array_type(t2)) return same_type(t2->element_type, e) ? t2 : elemental_result_type(t2, e);
  if (!is_array_type(t1)) return e;
  return same_type(t1->element_type, e) ? t1 : elemental_result_type(t1, e);
}

type* common_numeric_type(type* t1, type* t2) {
  type* e1 = intrinsic_element_type(t1);
  type* e2 = intrinsic_element_type(t2);
  if (!e1 || !e2) return nullptr;
  type* winner = e1;
  if (e1->type_code == tk_fcharacter) {
    if (e2->type_code != tk_fcharacter || e1->kind != e2->kind) return nullptr;
  } else {
    int c1 = numeric_class(e1), c2 = numeric_class(e2);
    if (c1 < 0 || c2 < 0) return nullptr;
    if (c2 > c1 || (c2 == c1 && e2->kind > e1->kind)) winner = e2;
  }
  return elemental_binary_type(t1, t2, winner);
}

type* unify_operand_types(expr_link* args) {
  expr_node* a = *args;
  if (!a || !a->next) return nullptr;
  type* t = common_numeric_type(a->type, a->next->type);
  if (!t) return nullptr;
  type_unify(args, t);
  type_unify(&(*args)->next, t);
  return t;
}

type* coerce_operands(expr_link* args, type* e) {
  expr_node* a = *args;
  if (!a || !a->next) return nullptr;
  type* t = elemental_binary_type(a->type, a->next->type, e);
  if (!t) {
    error_at(285, a->source_pos);
    return nullptr;
  }
  type_unify(args, elemental_result_type(t, intrinsic_element_type((*args)->type)));
  expr_link* second = &(*args)->next;
  type_unify(second, elemental_result_type(t, intrinsic_element_type((*second)->type)));
  return t;
}

type* unify_intrinsic_args(expr_link* args) {
  expr_node* a = *args;
  if (!a || !a->next) return nullptr;
  type* t1 = a->type;
  type* t2 = a->next->type;
  type* shape = nullptr;
  if (same_type(intrinsic_element_type(t1), intrinsic_element_type(t2))) {
    if (!is_array_type(t1))
      shape = t2;
    else if (!is_array_type(t2))
      shape = t1;
    else if (array_shape_agree(t1, t2))
      shape = t1;
  }
  if (!shape) {
    error_at(285, a->source_pos);
    return nullptr;
  }
  return coerce_operands(args, intrinsic_element_type(shape));
}

// ---- The check of rows without a handler of their own ----

// The common argument rules (the inquiry form for inquiry functions), then
// the result from the matched signature: a concrete element form is kept, an
// open one ("any type", any kind) takes the first argument's element type;
// an elemental signature gives the shape of its first array argument, a
// fixed rank an array of that rank, and a non-elemental "any type" array
// position the first argument's type.
int check_by_table_forms(expr_node* node, int flags, object* context) {
  int row = node->routine ? intrinsic_row_of(node->routine) : node->intrinsic;
  int ok = intrinsic_is_inquiry(row) ? check_inquiry_args(node, flags, context)
                                     : check_intrinsic_args(node, flags, context);
  if (!ok) return expr_set_error(node);
  type* routine = signature_routine(node);
  type* form = routine ? routine->return_type.get() : nullptr;
  if (!form || form->type_code == tk_void) return set_intrinsic_call(node, form ? form : void_type());
  expr_node* first = node->operands;
  type* element = intrinsic_element_type(form);
  if (is_open_form(element) && first && !is_error_node(first))
    element = intrinsic_element_type(first->type);
  type* result = element;
  if (is_array_type(form)) {
    result = array_type(element, form->rank);
    result->shape_kind = deferred_shape;
    for (uint32_t d = 0; d < form->rank; ++d) {
      init_bound(&result->bound_info->lower(d), bk_undefined);
      init_bound(&result->bound_info->upper(d), bk_undefined);
    }
  } else if (!routine->is_elemental && form->type_code == tk_farray && first && !is_error_node(first) &&
             intrinsic_element_type(form)->type_code == tk_any_type) {
    result = first->type;  // an array of any type like the first argument (CSHIFT, EOSHIFT)
  } else if (routine->is_elemental) {
    for (expr_node* a = first; a; a = a->next)
      if (is_array_type(a->type)) {
        result = elemental_result_type(a->type, element);
        break;
      }
  }
  return finish_intrinsic(node, result);
}
