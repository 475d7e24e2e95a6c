// The program-unit semantic pass: after the whole source is parsed it walks
// the file scope and every unit reached from it, checks types, constants,
// objects, ENTRY points, NAMELIST groups and every executable statement,
// checks the procedures of generic operators and assignment, numbers the
// labels used in ASSIGN and puts each unit's prologue at the head of its body.
#include "frontend/semantics/unit_pass.h"

#include <algorithm>
#include <string>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/model/tokens.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/procedure_refs.h"

namespace {

struct UnitPassState {
  std::vector<object*> active_do_vars;  // DO variables of the loops being examined
};
UnitPassState pass;

int type_code_of(const expr_node* n) { return n && n->type ? n->type->type_code : static_cast<int>(tk_error); }

// The statement context of a unit's expressions: a statement function's body
// follows its own rules.
int stmt_context(const object* unit) { return unit && unit->storage_class == sc_stmt_func ? ctx_stmt_func : 0; }

// The scope level that belongs to a unit's scope: 0 for the file scope.
int level_of(const scope* s) {
  const object* r = s->assoc_routine;
  return r ? static_cast<int>((r->corresp.scope_depth & 0xFFu) + 1) : 0;
}

void mark_label(label* l) {
  if (l) l->corresp.referenced = true;
}

void mark_label_list(label_list_entry* list) {
  for (; list; list = list->next) mark_label(list->label);
}

// ---- Prologue ----

bool char_with_expression_length(const type* t) {
  if (t && t->type_code == tk_farray) t = t->element_type;
  return t && t->type_code == tk_fcharacter && t->length.kind == bk_expression;
}

bool char_of_constant_length(const type* t) {
  if (t && t->type_code == tk_farray) t = t->element_type;
  return !t || t->type_code != tk_fcharacter || t->length.kind == bk_constant;
}

struct StatementList {
  statement* head = nullptr;
  statement* tail = nullptr;
  void append(statement* s) {
    s->next = nullptr;
    if (tail)
      tail->next = s;
    else
      head = s;
    tail = s;
  }
};

// The statements that give one object its length and shape on entry.
void prologue_for(object* o, StatementList& out) {
  type* t = o->type;
  if (!t) return;
  if (char_with_expression_length(t)) {
    statement* s = new_statement(stmk_set_char_length);
    s->source_pos = o->corresp.decl_position;
    type* c = t->type_code == tk_farray ? t->element_type : t;
    s->expr = c->length.expr;
    s->string_variable = o;
    out.append(s);
  }
  if (t->type_code == tk_farray && !o->is_pointer && !o->is_allocatable &&
      !(array_is_constant_shape(t) && char_of_constant_length(t))) {
    statement* s = new_statement(stmk_set_array_shape);
    s->source_pos = o->corresp.decl_position;
    s->array_variable = o;
    out.append(s);
  }
}

bool in_list(const object_list_member* list, const object* o) {
  for (; list; list = list->next)
    if (list->object == o) return true;
  return false;
}

// True when visit holds for one of the expressions directly below a node
// (each the head of its list).
template <class Visit>
bool any_node_child(const expr_node* n, Visit visit) {
  const expr_node* kids[3] = {nullptr, nullptr, nullptr};
  switch (n->node_kind) {
    case enk_operation:
    case enk_intrinsic:
    case enk_call:
    case enk_generic_call:
    case enk_apply: kids[0] = n->operands; break;
    case enk_constructor: kids[0] = n->constructor; break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      kids[1] = n->array_expr;
      kids[2] = n->ind_list;
      break;
    case enk_field: kids[1] = n->base_expr; break;
    case enk_ref: kids[1] = n->reference; break;
    case enk_triplet:
      kids[0] = n->first;
      kids[1] = n->second;
      kids[2] = n->stride;
      break;
    default: break;
  }
  for (const expr_node* k : kids)
    if (k && k != n && visit(k)) return true;
  return false;
}

// True when pred holds for a node of the list or of the expressions below it.
template <class Pred>
bool any_node(const expr_node* n, Pred pred) {
  for (; n; n = n->next) {
    if (pred(n)) return true;
    if (any_node_child(n, [&pred](const expr_node* k) { return any_node(k, pred); })) return true;
  }
  return false;
}

// True when an expression refers to a dummy argument that is missing from
// the parameter list.
bool refers_to_missing_dummy(const expr_node* n, const object_list_member* params) {
  return any_node(n, [params](const expr_node* e) {
    return e->node_kind == enk_object && e->object && e->object->is_parameter && !in_list(params, e->object);
  });
}

bool type_depends_on_missing_dummy(type* t, const object_list_member* params) {
  if (!t) return false;
  type* e = t->type_code == tk_farray ? t->element_type : t;
  if (e && e->type_code == tk_fcharacter && e->length.kind == bk_expression &&
      refers_to_missing_dummy(e->length.expr, params))
    return true;
  if (t->type_code == tk_farray && t->shape_kind == explicit_shape && t->bound_info) {
    bound_info_entry* b = t->bound_info;
    for (uint32_t i = 0; i < 2 * b->rank; ++i)
      if (b->bounds[i].kind == bk_expression && refers_to_missing_dummy(b->bounds[i].expr, params)) return true;
  }
  return false;
}

StatementList build_prologue(const object_list_member* params, object* objects) {
  StatementList out;
  for (const object_list_member* m = params; m; m = m->next)
    if (m->object && m->object->storage_class == sc_local) prologue_for(m->object, out);
  for (object* o = objects; o; o = o->next)
    if (o->storage_class == sc_local && !o->is_parameter && !type_depends_on_missing_dummy(o->type, params))
      prologue_for(o, out);
  return out;
}

// ---- Statements ----

int check_stmt_list(statement* s, object* unit) {
  int ok = 1;
  for (; s; s = s->next) ok &= check_exec_stmt(s, unit);
  return ok;
}

bool is_default_kind(const type* t, type* default_type) {
  return t && default_type && t->type_code == default_type->type_code && t->kind == default_type->kind;
}

int check_do(statement* s, object* unit, int ok) {
  do_loop* d = s->loop;
  bool controlled = d && d->variable;
  object* var = nullptr;
  if (controlled) {
    if (!check_implied_do_control(d, 0, unit)) ok = 0;
    if (ok) {
      type* t = d->variable->type;
      if (t && t->type_code == tk_integer) {
        s->kind = stmk_ido;
      } else if (is_default_kind(t, default_real_type()) || is_default_kind(t, double_precision_type())) {
        s->kind = stmk_fdo;
        warning_at(591, d->variable->source_pos);
      } else {
        error_at(171, d->variable->source_pos);
        ok = 0;
      }
      if (d->variable->node_kind == enk_object) var = d->variable->object;
    }
  }
  if (ok && var) {
    if (std::find(pass.active_do_vars.begin(), pass.active_do_vars.end(), var) != pass.active_do_vars.end())
      error_at(476, d->variable->source_pos);
    pass.active_do_vars.push_back(var);
    ok &= check_exec_stmt(s->loop_statement, unit);
    pass.active_do_vars.pop_back();
  } else {
    ok &= check_exec_stmt(s->loop_statement, unit);
  }
  return ok;
}

// The storage a variable reference names, from its object through its
// components ({object, component, component...}); subscripts and substrings
// pass through, as they select within that storage. Empty for anything that
// is not a variable reference.
std::vector<const void*> designator_path(const expr_node* n) {
  std::vector<const void*> path;
  while (n) {
    switch (n->node_kind) {
      case enk_object:
        if (!n->object) return {};
        path.push_back(n->object);
        std::reverse(path.begin(), path.end());
        return path;
      case enk_field:
        path.push_back(n->field_var);
        n = n->base_expr;
        break;
      case enk_subscript:
      case enk_substring:
      case enk_section: n = n->array_expr; break;
      default: return {};
    }
  }
  return {};
}

// Whether two variable references may share storage: one names the other or
// a part of it. a%x and a%y are apart; a and a%x, or a%x and a%x(1), are not.
bool paths_overlap(const std::vector<const void*>& a, const std::vector<const void*>& b) {
  if (a.empty() || b.empty()) return false;
  size_t n = std::min(a.size(), b.size());
  return std::equal(a.begin(), a.begin() + n, b.begin());
}

// Whether an expression uses the storage of the given variable: a variable
// reference in it overlaps, or it passes through one of the variable's
// containing objects whole (the subscripts of a reference are expressions
// of their own and are searched too).
bool uses_storage_of(const expr_node* n, const std::vector<const void*>& var) {
  for (; n; n = n->next) {
    std::vector<const void*> path = designator_path(n);
    if (!path.empty()) {
      if (paths_overlap(path, var)) return true;
      for (const expr_node* d = n; d && d->node_kind != enk_object;) {
        if (d->node_kind == enk_field) {
          d = d->base_expr;
        } else {
          if (uses_storage_of(d->ind_list, var)) return true;
          d = d->array_expr;
        }
      }
      continue;
    }
    if (any_node_child(n, [&var](const expr_node* k) { return uses_storage_of(k, var); })) return true;
  }
  return false;
}

// A stat variable of ALLOCATE or DEALLOCATE.
int check_stat_variable(expr_node* stat, const std::vector<expr_node*>& items, object* unit) {
  if (!stat) return 1;
  if (!check_ok(check_expr(stat, ctx_variable, unit))) return 0;
  if (type_code_of(stat) != tk_integer) {
    error_at(118, stat->source_pos);
    return 0;
  }
  std::vector<const void*> stat_path = designator_path(stat);
  int ok = 1;
  for (expr_node* item : items)
    if (paths_overlap(stat_path, designator_path(item))) {
      error_at(598, item->source_pos);
      ok = 0;
    }
  ok &= check_definable(stat);
  stat->intent_out = true;
  return ok;
}

// A pointer or allocatable object or component reference.
bool pointer_or_allocatable(const expr_node* n) {
  if (!n) return false;
  if (n->node_kind == enk_object && n->object) return n->object->is_pointer || n->object->is_allocatable;
  if (n->node_kind == enk_field && n->field_var) return n->field_var->is_pointer || n->field_var->is_allocatable;
  return false;
}

int check_alloc_stmt(statement* s, object* unit) {
  int ok = 1;
  std::vector<expr_node*> vars;
  for (alloc* a = s->alloc_list; a; a = a->next) {
    ok &= check_allocate(a, unit);
    if (a->var) vars.push_back(a->var);
  }
  ok &= check_stat_variable(s->stat_variable, vars, unit);
  for (alloc* a = s->alloc_list; a; a = a->next) {
    if (!a->bounds) continue;
    for (uint32_t i = 0; i < 2 * a->bounds->rank; ++i) {
      bound_record& b = a->bounds->bounds[i];
      if (b.kind != bk_expression || !b.expr) continue;
      for (expr_node* v : vars) {
        if (uses_storage_of(b.expr, designator_path(v))) {
          error_at(607, b.expr->source_pos);
          ok = 0;
          break;
        }
      }
    }
  }
  return ok;
}

int check_dealloc_stmt(statement* s, object* unit) {
  int ok = 1;
  std::vector<expr_node*> vars;
  for (expr_node* n = s->dealloc_list; n; n = n->next) {
    if (!check_ok(check_expr(n, ctx_variable, unit))) {
      ok = 0;
      continue;
    }
    if (!pointer_or_allocatable(n)) {
      error_at(354, n->source_pos);
      ok = 0;
      continue;
    }
    n->is_pointer = true;
    vars.push_back(n);
  }
  ok &= check_stat_variable(s->stat_variable, vars, unit);
  return ok;
}

int check_nullify_stmt(statement* s, int ok) {
  if (!ok) return 0;
  for (expr_node* n = s->expr; n; n = n->next) {
    check_definable(n);
    bool pointer = (n->node_kind == enk_object && n->object && n->object->is_pointer) ||
                   (n->node_kind == enk_field && n->field_var && n->field_var->is_pointer);
    if (!pointer) {
      error_at(353, n->source_pos);
      ok = 0;
      continue;
    }
    n->intent_out = true;
    n->is_pointer = true;
  }
  return ok;
}

bool is_intrinsic_array_assignment(const statement* s) {
  if (!s || s->kind != stmk_expr || !s->expr) return false;
  const expr_node* e = s->expr;
  if (e->node_kind != enk_operation || !e->for_all) return false;
  switch (e->op_kind) {
    case eok_iassign:
    case eok_fassign:
    case eok_xassign:
    case eok_lassign:
    case eok_cassign:
    case eok_sassign: return true;
    default: return false;
  }
}

int check_where(statement* s, object* unit, int ok) {
  expr_node* mask = s->expr;
  if (mask) mask->intent_in = true;
  ok &= check_exec_stmt(s->where_assignment, unit);
  ok &= check_exec_stmt(s->elsewhere_assignment, unit);
  if (!ok || !mask) return ok;
  type* shape = mask->type;
  if (!shape || shape->type_code != tk_farray || !shape->element_type ||
      shape->element_type->type_code != tk_logical) {
    error_at(351, mask->source_pos);
    return 0;
  }
  for (statement* list : {s->where_assignment, s->elsewhere_assignment}) {
    statement* first = list && list->kind == stmk_block ? list->statements.get() : list;
    for (statement* a = first; a; a = a->next) {
      if (a->kind == stmk_label) continue;
      if (!is_intrinsic_array_assignment(a)) {
        error_at(346, a->source_pos);
        ok = 0;
        continue;
      }
      type* vt = a->expr->operands ? a->expr->operands->type : nullptr;
      if (!vt || !array_shape_agree(vt, shape)) {
        error_at(287, a->source_pos);
        ok = 0;
        continue;
      }
      if (!array_is_constant_shape(shape) && array_is_constant_shape(vt)) shape = vt;
    }
  }
  return ok;
}

// ---- CASE values ----

struct CaseValue {
  bool known;
  int32_t i;       // INTEGER and LOGICAL values
  constant* c;     // CHARACTER values
};

CaseValue case_value(constant* c) {
  CaseValue v{false, 0, c};
  if (!c || !c->type || (c->kind != ck_value && c->kind != ck_expression) || !c->value) return v;
  int family = c->type->type_code == tk_integer   ? kf_integer
               : c->type->type_code == tk_logical ? kf_logical
                                                  : -1;
  if (c->type->type_code == tk_fcharacter) {
    v.known = true;
    return v;
  }
  const kind_row* row = family >= 0 ? kind_row_of(family, c->type->kind) : nullptr;
  if (!row || !row->get_int) return v;
  v.known = true;
  v.i = row->get_int(c->value);
  return v;
}

// -1, 0, 1, or 2 when the values cannot be compared.
int compare(const CaseValue& a, const CaseValue& b) {
  if (!a.known || !b.known) return 2;
  if (a.c && b.c && a.c->type && a.c->type->type_code == tk_fcharacter) return const_char_compare(a.c, b.c);
  return a.i < b.i ? -1 : a.i > b.i ? 1 : 0;
}

// A range as lower and upper limits; an open side has none.
struct Range {
  bool has_low, has_high;
  CaseValue low, high;
};

Range range_of(case_range* r) {
  Range out{};
  switch (r->range_kind) {
    case crk_eq: out = {true, true, case_value(r->low), case_value(r->low)}; break;
    case crk_le: out = {true, false, case_value(r->low), {}}; break;    // low:
    case crk_ge: out = {false, true, {}, case_value(r->high)}; break;   // :high
    default: out = {true, true, case_value(r->low), case_value(r->high)}; break;
  }
  return out;
}

bool le(const CaseValue& a, const CaseValue& b) {
  int c = compare(a, b);
  return c == -1 || c == 0;
}

bool empty(const Range& r) { return r.has_low && r.has_high && compare(r.low, r.high) == 1; }

bool overlap(const Range& a, const Range& b) {
  if (empty(a) || empty(b)) return false;
  if (!a.has_low && !b.has_low) return true;
  if (!a.has_high && !b.has_high) return true;
  // Overlap: each range's low is not above the other's high.
  bool a_low_ok = !a.has_low || !b.has_high || le(a.low, b.high);
  bool b_low_ok = !b.has_low || !a.has_high || le(b.low, a.high);
  if (a.has_low && b.has_high && compare(a.low, b.high) == 2) return false;
  if (b.has_low && a.has_high && compare(b.low, a.high) == 2) return false;
  return a_low_ok && b_low_ok;
}

int check_case_values(statement* select, expr_node* selector, bool overlaps) {
  int ok = overlaps ? 1 : 0;
  type* st = selector ? selector->type : nullptr;
  if (!st) return 1;
  std::vector<case_range*> seen;
  statement* body = select->body_statement;
  statement* first = body && body->kind == stmk_block ? body->statements.get() : body;
  for (statement* c = first; c; c = c->next) {
    if (c->kind != stmk_case) continue;
    for (case_range* r = c->case_range_list; r; r = r->next) {
      bool good = true;
      for (constant* b : {r->low, r->high}) {
        if (!b || !b->type || b->type->type_code == tk_error) continue;
        if (b->type->type_code != st->type_code ||
            (st->type_code == tk_fcharacter && b->type->kind != st->kind)) {
          error_at(462, b->source_pos);
          good = false;
        }
      }
      if (st->type_code == tk_logical && r->range_kind != crk_eq) {
        constant* b = r->low ? r->low : r->high;
        error_at(317, b ? b->source_pos : c->source_pos);
        good = false;
      }
      if (!good) {
        ok = 0;
        overlaps = false;
        continue;
      }
      if (overlaps) {
        Range mine = range_of(r);
        for (case_range* q : seen) {
          if (!overlap(mine, range_of(q))) continue;
          constant* at = r->range_kind == crk_ge ? r->high : r->low;
          error_at(406, at ? at->source_pos : c->source_pos);
          ok = 0;
          overlaps = false;
          break;
        }
      }
      seen.push_back(r);
    }
  }
  return ok;
}

// An input item: definable and written; implied-DO lists are entered.
void mark_input_item(expr_node* n) {
  if (n->node_kind == enk_implied_do) {
    for (expr_node* k = n->expr_list; k; k = k->next) mark_input_item(k);
    return;
  }
  check_definable(n);
  n->intent_out = true;
}

int check_io_stmt(statement* s, object* unit, int ok) {
  input_output_description* d = s->io_descr;
  switch (s->kind) {
    case stmk_read:
      if (ok) {
        for (expr_node* n = s->expr; n; n = n->next) {
          mark_input_item(n);
          n->any_type_argument = true;  // flag bit 10: a top-level I/O item
        }
      }
      ok &= check_io_control(d, 0, unit);
      if (d && d->unit_kind == iou_internal && d->unit_expr) {
        d->unit_expr->intent_in = true;
        d->unit_expr->intent_out = false;
      }
      // The members of a group read by NAMELIST input are defined by it.
      if (d && d->format_kind == iof_namelist_directed && d->format_namelist_group)
        for (expr_node* m = d->format_namelist_group->member_list; m; m = m->next) check_definable(m);
      break;
    case stmk_write:
    case stmk_inquire:
      if (ok) {
        mark_constructor_items_read(s->expr);
        for (expr_node* n = s->expr; n; n = n->next) n->any_type_argument = true;
      }
      ok &= check_io_control(d, s->kind == stmk_inquire, unit);
      if (d && d->unit_kind == iou_internal && d->unit_expr) {
        if (s->kind == stmk_inquire) {
          error_at(117, d->unit_expr->source_pos);
          ok = 0;
        } else {
          check_definable(d->unit_expr);
          d->unit_expr->intent_out = true;
          d->unit_expr->intent_in = false;
        }
      }
      break;
    default:
      ok &= check_io_control(d, 0, unit);
      if (d && d->unit_kind == iou_internal && d->unit_expr) {
        error_at(117, d->unit_expr->source_pos);
        ok = 0;
      }
      break;
  }
  return ok;
}

// ---- Generic procedures ----

bool kind_known(uint32_t k) { return k != any_kind; }

bool types_differ(type* a, type* b) {
  if (!a || !b) return a != b;
  if (b->type_code == tk_farray && b->rank == 0 && b->shape_kind == deferred_shape) b = b->element_type;
  if (!b) return true;
  switch (a->type_code) {
    case tk_integer:
    case tk_float:
    case tk_complex:
      if (b->type_code == tk_any_numerical || b->type_code == tk_any_type) return false;
      if (a->type_code != b->type_code) return true;
      return kind_known(a->kind) && kind_known(b->kind) && a->kind != b->kind;
    case tk_logical:
      if (b->type_code == tk_any_type) return false;
      if (b->type_code != tk_logical) return true;
      return kind_known(a->kind) && kind_known(b->kind) && a->kind != b->kind;
    case tk_fcharacter:
      if (b->type_code == tk_any_type) return false;
      if (b->type_code != tk_fcharacter) return true;
      if (a->kind == b->kind || !kind_known(a->kind)) return false;
      return kind_known(b->kind);
    case tk_farray:
      if (a->rank == 0 && a->shape_kind == deferred_shape)
        return types_differ(a->element_type, b->type_code == tk_farray ? b->element_type : b);
      if (b->type_code != tk_farray) return true;
      if (a->rank != b->rank && !(b->rank == 0 && b->shape_kind == deferred_shape)) return true;
      return types_differ(a->element_type, b->element_type);
    case tk_derived_type:
      if (a == b || type_equal(a, b)) return false;
      return b->type_code != tk_any_type;
    case tk_any_type: return b->type_code == tk_farray;
    case tk_any_numerical:
      switch (b->type_code) {
        case tk_integer:
        case tk_float:
        case tk_complex:
        case tk_any_numerical:
        case tk_any_type: return false;
        default: return true;
      }
    default: return a->type_code != b->type_code;
  }
}

bool procedures_distinguishable(object* p, object* q) {
  param_type* a = p->type && p->type->type_code == tk_routine ? p->type->param_type_list.get() : nullptr;
  param_type* b = q->type && q->type->type_code == tk_routine ? q->type->param_type_list.get() : nullptr;
  for (; a && b; a = a->next, b = b->next)
    if (types_differ(a->type, b->type)) return true;
  return a || b;
}

// The first dummy arguments of a procedure, up to three.
std::vector<param_type*> dummies_of(object* p) {
  std::vector<param_type*> out;
  param_type* a = p->type && p->type->type_code == tk_routine ? p->type->param_type_list.get() : nullptr;
  for (; a && out.size() < 3; a = a->next) out.push_back(a);
  return out;
}

enum class OperatorForm { none, unary_or_binary, binary, assignment };

OperatorForm operator_form(const interface* i) {
  const atom* name = i->corresp.name;
  if (!name) return OperatorForm::none;
  switch (name->token_code) {
    case tok_minus:
    case tok_plus:
    case tok_not:
    case tok_defined_op: return OperatorForm::unary_or_binary;
    case tok_power:
    case tok_slash:
    case tok_star:
    case tok_concat:
    case tok_lt:
    case tok_le:
    case tok_eq:
    case tok_ne:
    case tok_gt:
    case tok_ge:
    case tok_and:
    case tok_or:
    case tok_eqv:
    case tok_neqv: return OperatorForm::binary;
    case tok_equals: return OperatorForm::assignment;
    default: return OperatorForm::none;
  }
}

bool intent_in_only(const param_type* a) { return a->intent_in && !a->intent_out && !a->is_optional; }

bool same_module_procedure(const object* p, const object* q) {
  return p->storage_class == sc_mod_proc && q->storage_class == sc_mod_proc && p->assoc_module == q->assoc_module &&
         p->corresp.name == q->corresp.name;
}

}  // namespace

int check_defined_op(object* p, interface* i) {
  OperatorForm form = operator_form(i);
  if (form == OperatorForm::none) return 1;
  int ok = 1;
  source_pos_record at = p->corresp.decl_position;
  type* result = p->type && p->type->type_code == tk_routine ? p->type->return_type.get() : nullptr;
  bool subroutine = !result || result->type_code == tk_void;
  // A procedure already reported is not compared with the others: the
  // ambiguity check runs only on one that passed the checks above.
  if (form == OperatorForm::assignment) {
    if (!subroutine) {
      error_at(601, at);
      ok = 0;
    }
  } else if (subroutine) {
    error_at(602, at);
    ok = 0;
  }
  std::vector<param_type*> args = dummies_of(p);
  size_t required = form == OperatorForm::unary_or_binary ? 1 : 2;
  if (args.size() < required || args.size() > 2) {
    error_at(605, at);
    return 0;
  }
  for (size_t k = 0; k < args.size(); ++k) {
    param_type* a = args[k];
    if (form == OperatorForm::assignment && k == 0) {
      if (!a->intent_out || a->is_optional) {
        error_at(603, a->corresp.decl_position);
        ok = 0;
      }
    } else if (!intent_in_only(a)) {
      error_at(604, a->corresp.decl_position);
      ok = 0;
    }
  }
  for (interface* x = i; x && ok; x = x->inherited) {
    for (object_list_member* m = x->routine_prototype_list; m; m = m->next) {
      object* q = m->object;
      if (!q || q == p || same_module_procedure(p, q)) continue;
      if (!procedures_distinguishable(p, q)) {
        error_at(606, at);
        ok = 0;
        break;
      }
    }
  }
  return ok;
}

bool depends_on_private_type(object* p) {
  if (!p || p->storage_class != sc_internal || !p->assoc_routine || p->assoc_routine->storage_class != sc_module ||
      !p->assoc_scope)
    return false;
  for (object* o = p->assoc_scope->objects; o; o = o->next) {
    if (!o->is_result && !o->is_parameter) continue;
    type* t = o->type;
    if (t && t->type_code == tk_farray) t = t->element_type;
    if (!t || t->type_code != tk_derived_type) continue;
    if (t->symbol && (t->symbol->flags & symf_public)) continue;
    if (!t->module || t->module == p->assoc_routine) return true;
  }
  return false;
}

int check_allocate(alloc* a, object* unit) {
  if (!a || (a->header & il_check_mark)) return 1;
  a->header |= il_check_mark;
  expr_node* v = a->var;
  if (!v || !check_ok(check_expr(v, ctx_variable, unit))) return 0;
  int ok = 1;
  if (v->node_kind == enk_subscript || v->node_kind == enk_section) {
    uint32_t rank = 0;
    for (expr_node* s = v->ind_list; s; s = s->next) ++rank;
    bound_info_entry* b = new_bound_info_entry(rank);
    uint32_t k = 0;
    for (expr_node* s = v->ind_list; s; s = s->next, ++k) {
      if (s->node_kind == enk_triplet) {
        if (!s->first || !s->second) {
          error_at(215, s->source_pos);
          ok = 0;
        }
        if (s->stride) {
          error_at(231, s->stride->source_pos);
          ok = 0;
        }
        b->lower(k) = make_bound(0, bk_expression, s->first);
        b->upper(k) = make_bound(0, bk_expression, s->second);
      } else {
        b->lower(k) = make_bound(1, bk_constant, nullptr);
        b->upper(k) = make_bound(0, bk_expression, s);
      }
    }
    // The subscripts become the bounds, each on its own; the variable is the
    // array itself.
    std::vector<expr_node*> subscripts;
    for (expr_node* s = v->ind_list; s; s = s->next) subscripts.push_back(s);
    for (expr_node* s : subscripts) s->next = nullptr;
    v->ind_list = nullptr;
    a->bounds = b;
    a->rank = static_cast<uint8_t>(rank);
    a->var = v->array_expr;
    v = a->var;
    if (ok && !check_bound_exprs(b, rank, unit)) ok = 0;
  }
  if (!pointer_or_allocatable(v)) {
    error_at(354, v ? v->source_pos : a->var->source_pos);
    return 0;
  }
  v->any_type_argument = true;  // flag bit 10
  v->is_pointer = true;
  return ok;
}

int check_namelist_group(namelist_group* g, object* unit) {
  if (!g || (g->header & il_check_mark)) return 1;
  g->header |= il_check_mark;
  int ok = 1;
  if (g->is_public) g->corresp.referenced = true;
  for (expr_node* m = g->member_list; m; m = m->next) {
    if (!check_ok(check_expr(m, ctx_variable, unit))) {
      ok = 0;
      continue;
    }
    // A group may hold variables that are not definable, such as INTENT(IN)
    // dummies, as long as it is only written: READ checks its members.
    object* o = m->node_kind == enk_object ? m->object : nullptr;
    type* t = m->type;
    bool bad = (o && (o->is_pointer || o->is_allocatable)) || (t && t->contains_ptrs) ||
               char_with_expression_length(t) ||
               (t && t->type_code == tk_farray && !array_is_constant_shape(t));
    if (t && (t->type_code == tk_fcharacter || (t->type_code == tk_farray && t->element_type &&
                                                t->element_type->type_code == tk_fcharacter))) {
      type* c = t->type_code == tk_farray ? t->element_type : t;
      if (c->length.kind != bk_constant) bad = true;
    }
    if (bad) {
      error_at(587, m->source_pos);
      ok = 0;
      continue;
    }
    if (g->is_public && o) {
      type* e = t && t->type_code == tk_farray ? t->element_type : t;
      bool private_type = e && e->type_code == tk_derived_type && !e->is_public;
      if (!o->is_public || private_type) {
        error_at(588, m->source_pos);
        ok = 0;
      }
    }
  }
  return ok;
}

int check_exec_stmt(statement* s, object* unit) {
  if (!s || (s->header & il_check_mark)) return 1;
  s->header |= il_check_mark;
  int ok = 1;
  int context = stmt_context(unit);
  for (expr_node* e = s->expr; e; e = e->next)
    if (!check_ok(check_expr(e, context, unit))) ok = 0;
  switch (s->kind) {
    case stmk_expr:
      if (s->expr && s->expr->node_kind == enk_call && type_code_of(s->expr) != tk_void) {
        error_at(433, s->expr->source_pos);
        ok = 0;
      }
      break;
    case stmk_if:
    case stmk_while:
      if (ok && s->expr && type_code_of(s->expr) != tk_logical) {
        error_at(251, s->source_pos);
        ok = 0;
      }
      if (s->expr) s->expr->intent_in = true;
      if (s->kind == stmk_if) {
        ok &= check_exec_stmt(s->then_statement, unit);
        ok &= check_exec_stmt(s->else_statement, unit);
      } else {
        ok &= check_exec_stmt(s->body_statement, unit);
      }
      break;
    case stmk_goto: mark_label(s->label); break;
    case stmk_block: ok &= check_stmt_list(s->statements, unit); break;
    case stmk_fentry:
      if (s->entry_descr && !s->prologue) {
        scope* u = unit ? unit->assoc_scope : nullptr;
        s->prologue = build_prologue(s->entry_descr->parameters, u ? u->objects : nullptr).head;
      }
      break;
    case stmk_ido:
    case stmk_fdo: ok = check_do(s, unit, ok); break;
    case stmk_iarith_if:
    case stmk_farith_if:
      warning_at(593, s->source_pos);
      if (ok && s->expr) {
        int tc = type_code_of(s->expr);
        if (tc == tk_integer) {
          s->kind = stmk_iarith_if;
        } else if (tc == tk_float) {
          s->kind = stmk_farith_if;
        } else {
          error_at(249, s->expr->source_pos);
          ok = 0;
        }
      }
      mark_label_list(s->label_list);
      break;
    case stmk_computed_goto:
      if (s->expr) s->expr->intent_in = true;
      if (ok && s->expr && type_code_of(s->expr) != tk_integer) {
        error_at(250, s->expr->source_pos);
        ok = 0;
      }
      mark_label_list(s->label_list);
      break;
    case stmk_assigned_goto:
      warning_at(593, s->source_pos);
      if (ok && s->expr) {
        check_definable(s->expr);
        if (s->expr->node_kind != enk_object) {
          error_at(218, s->expr->source_pos);
          ok = 0;
        } else if (!is_default_kind(s->expr->type, default_integer_type())) {
          error_at(458, s->expr->source_pos);
          ok = 0;
        }
      }
      mark_label_list(s->label_list);
      break;
    case stmk_alt_return:
      warning_at(593, s->source_pos);
      if (s->expr) s->expr->intent_in = true;
      break;
    case stmk_pause:
    case stmk_stop:
      if (s->kind == stmk_pause) warning_at(593, s->source_pos);
      if (s->stop_pause_string) {
        ok &= check_constant_entry(s->stop_pause_string);
        type* t = s->stop_pause_string->type;
        // Digits are kept as CHARACTER text; a named constant must be one too.
        if (ok && t && !(t->type_code == tk_fcharacter && t->kind == default_character_type(1)->kind)) {
          error_at(348, s->source_pos);
          ok = 0;
        }
      }
      break;
    case stmk_select:
      if (ok && s->expr) {
        int tc = type_code_of(s->expr);
        if (tc != tk_integer && tc != tk_fcharacter && tc != tk_logical) {
          error_at(119, s->expr->source_pos);
          ok = 0;
        }
      }
      if (s->expr) s->expr->intent_in = true;
      {
        // The types of the case values are checked whatever the body
        // holds; only the overlap test needs everything else to pass.
        int selector_ok = ok;
        ok &= check_exec_stmt(s->body_statement, unit);
        if (selector_ok) ok &= check_case_values(s, s->expr, ok != 0);
      }
      break;
    case stmk_case:
      for (case_range* r = s->case_range_list; r; r = r->next) {
        if (r->header & il_check_mark) continue;
        r->header |= il_check_mark;
        if (r->low) ok &= check_constant_entry(r->low);
        if (r->high) ok &= check_constant_entry(r->high);
      }
      ok &= check_exec_stmt(s->statements, unit);
      break;
    case stmk_exit:
      if (s->constr_label && s->constr_label->label) s->constr_label->label->flag_bit1 = true;
      break;
    case stmk_cycle:
      if (s->constr_label && s->constr_label->label) mark_label(s->constr_label->label);
      break;
    case stmk_where: ok = check_where(s, unit, ok); break;
    case stmk_alloc: ok &= check_alloc_stmt(s, unit); break;
    case stmk_dealloc: ok &= check_dealloc_stmt(s, unit); break;
    case stmk_nullify: ok = check_nullify_stmt(s, ok); break;
    default:
      if (s->kind >= stmk_open && s->kind <= stmk_rewind) ok = check_io_stmt(s, unit, ok);
      break;
  }
  return ok;
}

namespace {
// The storage that a function's result shares with its ENTRY results takes
// the size and alignment of the largest of them.
void size_shared_result_storage(object* result, entry_description* entries) {
  object* storage = result->assoc_variable;
  uint32_t size = 0, alignment = 0;
  object_storage_size(result, &size, &alignment);
  for (entry_description* e = entries; e; e = e->next) {
    object* r = e->function_result_var;
    if (!r || r == result || r->storage_class != sc_associated || r->assoc_variable != storage) continue;
    uint32_t entry_size = 0, entry_alignment = 0;
    object_storage_size(r, &entry_size, &entry_alignment);
    size = std::max(size, entry_size);
    alignment = std::max(alignment, entry_alignment);
  }
  storage->type->size = size;
  storage->type->alignment = static_cast<uint8_t>(alignment);
}
}  // namespace

int check_unit(scope* s) {
  if (!s || (s->header & il_check_mark)) return 1;
  s->header |= il_check_mark;
  object* unit = s->assoc_routine;

  // The scope record of the unit's level describes this unit while it is checked.
  int level = level_of(s);
  bool installed = false;
  scope_record saved{};
  if (level >= 0 && static_cast<size_t>(level) < symtab.scope_tab.size() && scope_at(level).il_scope != s) {
    saved = scope_at(level);
    scope_at(level).il_scope = s;
    object* last = s->objects;
    while (last && last->next) last = last->next;
    scope_at(level).objects_tail = last;
    installed = true;
  }

  int ok = 1;
  for (type* t = s->types; t; t = t->next) {
    ok &= check_type_entry(t, unit);
    note_host_use_in_type(t, unit);
  }
  for (constant* c = s->constants; c; c = c->next) {
    ok &= check_constant_entry(c);
    note_host_use_in_constant(c, unit);
  }
  for (object* o = s->objects; o; o = o->next) {
    ok &= check_entity_decl(o);
    note_host_use(o, unit);
  }
  object* result = s->function_result_var;
  if (result && result->storage_class == sc_associated && result->assoc_variable && result->assoc_variable->type)
    size_shared_result_storage(result, s->entries);
  for (entry_description* e = s->entries; e; e = e->next) {
    if (e->header & il_check_mark) continue;
    e->header |= il_check_mark;
    ok &= check_entity_decl(e->assoc_routine);
    object* r = e->function_result_var;
    if (!ok || !result || !r || !r->type || !result->type) continue;
    type* a = r->type;
    type* b = result->type;
    bool same = a == b || type_equal(a, b);
    if (same && r->is_pointer == result->is_pointer) continue;
    bool acceptable = !r->is_pointer && !result->is_pointer && a->type_code != tk_farray &&
                      b->type_code != tk_farray && ((a->is_numeric && b->is_numeric) || same);
    if (!acceptable) {
      object* f = unit;
      std::string name = f && f->corresp.name ? std::string(f->corresp.name->text, f->corresp.name->length) : "";
      error_at(583, result->corresp.decl_position, {name});
      ok = 0;
    }
  }
  for (namelist_group* g = s->namelist_groups; g; g = g->next) {
    // A group that USE brought in was checked in its module, against the
    // module's own declarations and positions.
    if (!(g->symbol && g->symbol->link)) ok &= check_namelist_group(g, unit);
    for (expr_node* m = g->member_list; m; m = m->next)
      if (m->node_kind == enk_object) note_host_use(m->object, unit);
    host_of_reference(g, unit);
  }
  statement* body = s->assoc_block;
  if (body) ok &= check_exec_stmt(body, unit);

  // The prologue goes in front of the body's statements, once.
  if (body && !(body->statements && (body->statements->kind == stmk_set_array_shape ||
                                      body->statements->kind == stmk_set_char_length))) {
    StatementList pro = build_prologue(s->parameters, s->objects);
    if (pro.head) {
      pro.tail->next = body->statements;
      if (!body->statements) body->last_statement = pro.tail;
      body->statements = pro.head;
    }
  }

  for (interface* i = s->interfaces; i; i = i->next) {
    for (object_list_member* m = i->routine_prototype_list; m; m = m->next) {
      object* p = m->object;
      // A procedure that USE brought in was checked in its module; it still
      // counts against this unit's own procedures of the generic.
      if (!p || p->storage_class == sc_mod_proc) continue;
      if (!check_entity_decl(p)) {
        ok = 0;
        continue;
      }
      ok &= check_defined_op(p, i);
      if (i->is_public) {
        if (depends_on_private_type(p)) {
          error_at(586, p->corresp.decl_position);
          ok = 0;
        }
        // The generic makes the procedure reachable, not public: a
        // PRIVATE specific keeps its own access.
        p->corresp.referenced = true;
      }
    }
  }

  int32_t exec_number = 0, format_number = 0;
  for (label* l = s->labels; l; l = l->next) {
    if (!l->used_in_assign) continue;
    l->association_offset = l->kind == lk_format ? format_number++ : exec_number++;
  }

  if (installed) scope_at(level) = saved;
  return ok;
}

int32_t named_kind_value(const char* text, uint32_t length, int* failure) {
  *failure = 1;
  atom* a = nullptr;
  name_hash_lookup(text, length, &a);
  if (!a) return 0;
  symbol_entry* s = resolve_alias_chain(a->first_symbol, symtab.cur_scope);
  if (!s || s->cls != sym_variable || !s->entity) return 0;
  auto* o = static_cast<object*>(s->entity.get());
  if (!o->is_constant || !check_entity_decl(o) || !o->type || o->type->type_code != tk_integer) return 0;
  constant* c = o->initializer;
  if (!c || (c->kind != ck_value && c->kind != ck_expression) || !c->value) return 0;
  const kind_row* row = kind_row_of(kf_integer, o->type->kind);
  if (!row || !row->get_int) return 0;
  *failure = 0;
  return row->get_int(c->value);
}
