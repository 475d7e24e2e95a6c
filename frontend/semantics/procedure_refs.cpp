// Procedure references: a generic reference is resolved to the first specific
// whose dummies accept the actuals, actuals are associated with dummies
// (positional, keyword, optional and numbered arguments) and checked against
// them, and the reference gets its result type. Also the host-association
// marks, the program-wide object of an external name, the element count of
// array constructors and the IL builders of shape and length expressions.
#include "frontend/semantics/procedure_refs.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/const_value.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/intrinsic_check.h"
#include "frontend/semantics/unit_pass.h"

namespace {

// Rows of the intrinsic table that the builders use.
enum : uint8_t {
  row_count = 53, row_lbound = 87, row_len = 88, row_len_trim = 89, row_max0 = 107,
  row_size = 159, row_ubound = 175,
};
// Token codes recorded with operator names.
inline constexpr uint8_t defined_operator_token = 10;
inline constexpr uint8_t first_operator_token = 22;
inline constexpr uint8_t assignment_token = 39;

// What the association of one reference knows about its procedure.
struct AssociationState {
  bool intrinsic;  // the procedure is an intrinsic signature: its handler
                   // checks definability itself, so the actual checks leave it
};
AssociationState association;

bool is_array(const type* t) { return t && t->type_code == tk_farray; }
bool is_character(const type* t) { return t && t->type_code == tk_fcharacter; }
bool is_error(const expr_node* n) { return !n || n->node_kind == enk_error; }
const char* name_of(const ::atom* a) { return a ? a->text : ""; }

type* routine_type_of(object* o) {
  return o && o->type && o->type->type_code == tk_routine ? o->type : nullptr;
}

// Checks every actual of a reference as an actual argument.
bool check_actuals(expr_node* actuals, int context, object* unit) {
  bool ok = true;
  int actual_context = (context & (ctx_spec | ctx_stmt_func)) | ctx_actual_arg;
  for (expr_node* a = actuals; a; a = a->next)
    if (check_expr(a, actual_context, unit) == 1) ok = false;
  return ok;
}

// A numbered keyword prefix+digits (no leading zero): its number, or -1.
int32_t keyword_number(const ::atom* keyword, std::string_view prefix) {
  if (!keyword) return -1;
  std::string_view text = keyword->text;
  if (text.size() <= prefix.size() || text.substr(0, prefix.size()) != prefix) return -1;
  std::string_view digits = text.substr(prefix.size());
  if (digits[0] == '0' || digits.size() > 9) return -1;
  int32_t n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// Splits a dummy name at its first digit into prefix and number.
bool split_numbered(const ::atom* name, std::string_view* prefix, int32_t* number) {
  if (!name) return false;
  std::string_view text = name->text;
  size_t i = 0;
  while (i < text.size() && !(text[i] >= '0' && text[i] <= '9')) ++i;
  if (i == text.size()) return false;
  *prefix = text.substr(0, i);
  int32_t n = 0;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9' || n > 99999999) return false;
    n = n * 10 + (text[j] - '0');
  }
  *number = n;
  return true;
}

// An omitted argument standing for a dummy in the final list.
expr_node* omitted_argument(param_type* d, source_pos_record pos) {
  expr_node* e = new_expr_node(enk_empty);
  e->arg_keyword = d->corresp.name;
  e->type = d->type;
  e->source_pos = pos;
  e->is_optional = d->is_optional;
  e->intent_in = d->intent_in;
  e->intent_out = d->intent_out;
  e->is_pointer = d->is_pointer;
  e->header |= il_check_mark;
  return e;
}

}  // namespace

// ---- Argument association --------------------------------------------------

namespace {
// What the host-use walk over types has met, so that recursive types end.
struct HostWalkState {
  std::vector<type*> types_seen;  // types of the current walk
  int walks_open = 0;             // type walks in progress (nested through objects)
};
HostWalkState host_walk;
}  // namespace

void procedure_refs_reset() {
  association = AssociationState{};
  host_walk = HostWalkState{};
}

int actual_agrees_with_dummy(expr_node* actual, param_type* dummy, bool trial) {
  type* at = actual->type;
  type* dt = dummy->type;
  if (!at || !dt) return 1;
  if (at->type_code == tk_error) return 1;
  if (at->type_code == tk_unknown) return 1;
  if (!(at == dt || type_equal(at, dt) || arg_type_agree(at, dt))) return 0;
  if (is_array(dt) && dt->rank > 0 && !is_array(at)) {
    if (trial) return 0;
    if (actual->node_kind == enk_subscript) return 1;
    return actual->node_kind == enk_substring && actual->array_expr &&
           actual->array_expr->node_kind == enk_subscript;
  }
  return 1;
}

namespace {

// The working lists of one argument association. They are kept from call
// to call (one set per nesting level, since the final checks of an actual
// may associate the arguments of another reference), so that the many trial
// matches of generic references allocate nothing.
struct ArgLists {
  std::vector<param_type*> dummies;   // the dummies in order
  std::vector<expr_node*> given;      // the actual given to each dummy
  std::vector<expr_node*> extras;     // actuals beyond the last dummy (numbered)
  std::vector<int32_t> extra_numbers; // their numbers
  std::vector<expr_node*> rest;       // the actuals of the keyword part
  std::vector<bool> used;             // which of them found their dummy
  std::vector<expr_node*> left;       // those that did not
  std::vector<int32_t> numbers;       // their keyword numbers
};
struct ArgListState {
  std::deque<ArgLists> levels;  // one set per nesting level
  size_t depth = 0;             // levels in use
};
ArgListState arg_lists;

// The lists of the association in progress, emptied, for its duration.
class ArgListsInUse {
 public:
  ArgListsInUse() {
    if (arg_lists.depth == arg_lists.levels.size()) arg_lists.levels.emplace_back();
    lists_ = &arg_lists.levels[arg_lists.depth++];
    for (auto* v : {&lists_->given, &lists_->extras, &lists_->rest, &lists_->left}) v->clear();
    lists_->dummies.clear();
    lists_->extra_numbers.clear();
    lists_->numbers.clear();
    lists_->used.clear();
  }
  ~ArgListsInUse() { --arg_lists.depth; }
  ArgListsInUse(const ArgListsInUse&) = delete;
  ArgListsInUse& operator=(const ArgListsInUse&) = delete;
  ArgLists& operator*() const { return *lists_; }

 private:
  ArgLists* lists_;
};

// The trial association of a list whose actuals are all positional: the
// answer of the general path, walking actuals and dummies side by side
// without building its lists (generic references try many specifics).
int trial_positional(type* routine, expr_node* a, expr_link* offending) {
  param_type* d = routine->param_type_list;
  param_type* last = nullptr;
  for (; a && d; a = a->next, last = d, d = d->next) {
    if (!actual_agrees_with_dummy(a, d, true)) {
      *offending = a;
      return args_incompatible;
    }
  }
  if (a) {  // more actuals than dummies: the last dummy may repeat
    if (!routine->has_ellipsis || !last) {
      *offending = a;
      return args_too_many;
    }
    for (; a; a = a->next) {
      if (!actual_agrees_with_dummy(a, last, true)) {
        *offending = a;
        return args_incompatible;
      }
    }
    return args_associated;
  }
  for (; d; d = d->next)
    if (!d->is_optional) return args_too_few;
  return args_associated;
}

bool any_keyword(const expr_node* a) {
  for (; a; a = a->next)
    if (a->arg_keyword) return true;
  return false;
}

}  // namespace

int check_actual_args(type* routine, expr_link* slot, expr_link* offending, int mode,
                      object* unit) {
  (void)unit;
  bool trial = mode == args_trial;
  bool is_subroutine = routine && routine->return_type && routine->return_type->type_code == tk_void;
  bool elemental = routine && routine->is_elemental;
  if (!routine || !routine->has_param_info) {
    if (!trial) {
      for (expr_node* a = *slot; a; a = a->next) {
        if (a->arg_keyword && !a->is_specifier) error_at(302, a->source_pos);
        check_proc_actual(is_subroutine, elemental, a, nullptr);
      }
    }
    return args_associated;
  }
  if (trial && !any_keyword(*slot)) return trial_positional(routine, *slot, offending);
  ArgListsInUse in_use;
  ArgLists& lists = *in_use;
  // The actual given to each dummy, in dummy order.
  std::vector<param_type*>& dummies = lists.dummies;
  for (param_type* d = routine->param_type_list; d; d = d->next) dummies.push_back(d);
  std::vector<expr_node*>& given = lists.given;
  given.assign(dummies.size(), nullptr);
  std::vector<expr_node*>& extras = lists.extras;
  std::vector<int32_t>& extra_numbers = lists.extra_numbers;
  expr_node* a = *slot;
  size_t d = 0;
  // Positional part.
  for (; a && !a->arg_keyword && d < dummies.size(); a = a->next, ++d) {
    if (!actual_agrees_with_dummy(a, dummies[d], trial)) {
      *offending = a;
      return args_incompatible;
    }
    given[d] = a;
  }
  std::string_view prefix;
  int32_t last_number = 0;
  bool numbered = routine->has_ellipsis && !dummies.empty() &&
                  split_numbered(dummies.back()->corresp.name, &prefix, &last_number);
  if (a && !a->arg_keyword && d == dummies.size()) {
    if (!routine->has_ellipsis || dummies.empty()) {
      *offending = a;
      return args_too_many;
    }
    for (; a && !a->arg_keyword; a = a->next) {
      if (!actual_agrees_with_dummy(a, dummies.back(), trial)) {
        *offending = a;
        return args_incompatible;
      }
      extras.push_back(a);
      extra_numbers.push_back(++last_number);
    }
  }
  if (!a) {
    for (size_t i = d; i < dummies.size(); ++i)
      if (!dummies[i]->is_optional) return args_too_few;
  } else {
    // Keyword part: the remaining actuals all carry keywords (a positional
    // actual after a keyword matches no dummy).
    std::vector<expr_node*>& rest = lists.rest;
    for (expr_node* k = a; k; k = k->next) rest.push_back(k);
    std::vector<bool>& used = lists.used;
    used.assign(rest.size(), false);
    for (size_t i = d; i < dummies.size(); ++i) {
      for (size_t k = 0; k < rest.size(); ++k) {
        if (!used[k] && rest[k]->arg_keyword && rest[k]->arg_keyword == dummies[i]->corresp.name) {
          if (!actual_agrees_with_dummy(rest[k], dummies[i], trial)) {
            *offending = rest[k];
            return args_incompatible;
          }
          used[k] = true;
          given[i] = rest[k];
          break;
        }
      }
      if (!given[i] && !dummies[i]->is_optional) return args_keyword_missing;
    }
    std::vector<expr_node*>& left = lists.left;
    for (size_t k = 0; k < rest.size(); ++k)
      if (!used[k]) left.push_back(rest[k]);
    if (!left.empty()) {
      if (!routine->has_ellipsis) return args_improper_keywords;
      if (!numbered) return args_improper_keywords;
      std::vector<int32_t>& numbers = lists.numbers;
      for (expr_node* k : left) {
        int32_t n = keyword_number(k->arg_keyword, prefix);
        if (n < 0 || !actual_agrees_with_dummy(k, dummies.back(), trial)) {
          *offending = k;
          return args_incompatible;
        }
        numbers.push_back(n);
      }
      // The numbers must run on from the last dummy's without a gap.
      for (size_t step = 0; step < left.size(); ++step) {
        int32_t want = last_number + 1 + static_cast<int32_t>(step);
        bool found = false;
        for (size_t k = 0; k < left.size(); ++k) {
          if (numbers[k] == want) {
            extras.push_back(left[k]);
            extra_numbers.push_back(want);
            found = true;
            break;
          }
        }
        if (!found) return args_keyword_missing;
      }
    }
  }
  if (trial) return args_associated;
  // Final mode: the list rebuilt in dummy order.
  association.intrinsic = routine->assoc_routine && routine->assoc_routine->storage_class == sc_intrinsic;
  source_pos_record pos = *slot ? (*slot)->source_pos : current_statement_pos;
  expr_node* first = nullptr;
  expr_node* last = nullptr;
  auto append = [&](expr_node* e) {
    e->next = nullptr;
    if (last)
      last->next = e;
    else
      first = e;
    last = e;
  };
  for (size_t i = 0; i < dummies.size(); ++i) {
    expr_node* e = given[i];
    if (e) {
      check_proc_actual(is_subroutine, elemental, e, dummies[i]);
      e->arg_keyword = dummies[i]->corresp.name;
    } else {
      e = omitted_argument(dummies[i], pos);
    }
    append(e);
  }
  for (size_t i = 0; i < extras.size(); ++i) {
    expr_node* e = extras[i];
    check_proc_actual(is_subroutine, elemental, e, dummies.back());
    std::string keyword = std::string(prefix) + std::to_string(extra_numbers[i]);
    e->arg_keyword = name_intern(keyword);
    append(e);
  }
  association.intrinsic = false;
  *slot = first;
  return args_associated;
}

void check_proc_actual(bool is_subroutine, bool elemental, expr_node* actual, param_type* dummy) {
  if (!actual || is_error(actual) || actual->node_kind == enk_empty) return;
  if (dummy) {
    check_arg_characteristics(actual->type, dummy->type, &actual->source_pos);
    if (dummy->intent_out && !association.intrinsic) check_definable(actual);
    if (dummy->is_optional) actual->is_optional = true;
    if (dummy->intent_in) actual->intent_in = true;
    if (dummy->intent_out) actual->intent_out = true;
    if (dummy->is_pointer) actual->is_pointer = true;
    type* dt = dummy->type;
    if (is_array(dt) && dt->shape_kind != assumed_shape && dt->shape_kind != deferred_shape &&
        dt->shape_kind != as_shaped)
      actual->element_sequence = true;
    if (elemental && is_array(dt) && dt->rank == 0 && is_array(actual->type))
      actual->iterated = true;
  } else if (is_array(actual->type)) {
    actual->element_sequence = true;
  }
  if (actual->node_kind == enk_stmt_label_value && !is_subroutine) {
    error_at(24, actual->source_pos);
    return;
  }
  object* o = nullptr;
  if (actual->node_kind == enk_object) o = actual->object;
  if (actual->node_kind == enk_field) o = actual->field_var;
  if (!o) return;
  if (dummy && dummy->is_pointer && !o->is_pointer) {
    error_at(530, actual->source_pos);
    return;
  }
  report_unit_as_actual(o, actual->source_pos);
}

bool report_unit_as_actual(const object* o, source_pos_record pos) {
  const char* what = nullptr;
  switch (o->storage_class) {
    case sc_module: what = "a module unit"; break;
    case sc_program: what = "a program unit"; break;
    case sc_blockdata: what = "a blockdata unit"; break;
    case sc_stmt_func: what = "a statement function"; break;
    case sc_internal:
      if (!(o->assoc_routine && o->assoc_routine->storage_class == sc_module))
        what = "an internal procedure";
      break;
    default: break;
  }
  if (what) error_at(40, pos, {what});
  return what != nullptr;
}

int check_arg_characteristics(type* actual, type* dummy, const source_pos_record* pos) {
  if (!actual || !dummy) return 1;
  if (actual->type_code == tk_routine && dummy->type_code == tk_routine &&
      actual->has_param_info && dummy->has_param_info) {
    param_type* pa = actual->param_type_list;
    param_type* pd = dummy->param_type_list;
    bool same = true;
    for (; pa && pd; pa = pa->next, pd = pd->next) {
      type* ta = pa->type;
      if (actual->is_elemental && is_array(ta)) ta = ta->element_type;
      if (!(ta == pd->type || type_equal(ta, pd->type) || arg_type_agree(ta, pd->type)) ||
          !check_arg_characteristics(ta, pd->type, nullptr)) {
        same = false;
        break;
      }
    }
    if (pa || pd) same = false;
    if (!same) {
      if (pos) error_at(529, *pos);
      return 0;
    }
    return check_arg_characteristics(actual->return_type, dummy->return_type, pos);
  }
  if (is_array(dummy) && (dummy->shape_kind == assumed_shape || dummy->shape_kind == deferred_shape) &&
      dummy->rank > 0 && array_is_assumed_size(actual)) {
    if (pos) error_at(36, *pos);
    return 0;
  }
  type* ae = is_array(actual) ? actual->element_type : actual;
  type* de = is_array(dummy) ? dummy->element_type : dummy;
  if (is_character(ae) && is_character(de) && ae->length.kind == bk_constant &&
      de->length.kind == bk_constant) {
    bool fits;
    if (!is_array(dummy) && ae->kind == kind_defaults.default_character)
      fits = ae->length.value >= de->length.value;
    else
      fits = ae->length.value == de->length.value;
    if (!fits) {
      if (pos) error_at(528, *pos);
      return 0;
    }
  }
  return 1;
}

// ---- Result types ----------------------------------------------------------

namespace {

// Copies an expression tree with some nodes replaced; replace returns the
// replacement of a node or null to keep it (and copy its children).
template <class Replace>
expr_node* copy_tree(expr_node* e, Replace& replace, bool* changed) {
  if (!e) return nullptr;
  if (expr_node* r = replace(e)) {
    *changed = true;
    r->next = nullptr;
    return r;
  }
  expr_node* c = new_expr_node(e->node_kind);
  *c = *e;
  c->header = 0;
  c->next = nullptr;
  auto copy_list = [&](expr_node* first) {
    expr_node* head = nullptr;
    expr_node* tail = nullptr;
    for (expr_node* i = first; i; i = i->next) {
      expr_node* k = copy_tree(i, replace, changed);
      if (tail)
        tail->next = k;
      else
        head = k;
      tail = k;
    }
    return head;
  };
  switch (e->node_kind) {
    case enk_operation:
    case enk_intrinsic:
    case enk_call:
    case enk_generic_call:
    case enk_apply:
      c->operands = copy_list(e->operands);
      break;
    case enk_field:
      c->base_expr = copy_tree(e->base_expr, replace, changed);
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      c->array_expr = copy_tree(e->array_expr, replace, changed);
      c->ind_list = copy_list(e->ind_list);
      break;
    case enk_triplet:
      c->first = copy_tree(e->first, replace, changed);
      c->second = copy_tree(e->second, replace, changed);
      c->stride = copy_tree(e->stride, replace, changed);
      break;
    case enk_ref: {
      // A reference whose target holds a replaced node refers to a copy.
      bool inner = false;
      expr_node* target = copy_tree(e->reference, replace, &inner);
      if (inner) {
        c->reference = target;
        *changed = true;
      }
      break;
    }
    default:
      break;
  }
  return c;
}

// A copy of a result type whose length and bound expressions went through
// copy_tree; the type itself when nothing was replaced.
template <class Replace>
type* copy_type_tree(type* t, Replace& replace) {
  if (!t) return t;
  bool changed = false;
  if (is_character(t) && t->length.kind == bk_expression && t->length.expr) {
    expr_node* e = copy_tree(t->length.expr, replace, &changed);
    if (!changed) return t;
    type* c = private_type_copy(t);
    c->length.expr = e;
    return c;
  }
  if (is_array(t)) {
    type* elem = copy_type_tree(t->element_type, replace);
    bound_info_entry* b = nullptr;
    if (t->bound_info && t->shape_kind < same_shape) {
      bound_info_entry* old = t->bound_info;
      b = new_bound_info_entry(old->rank);
      for (uint32_t i = 0; i < 2 * old->rank; ++i) {
        b->bounds[i] = old->bounds[i];
        if (old->bounds[i].kind == bk_expression && old->bounds[i].expr)
          b->bounds[i].expr = copy_tree(old->bounds[i].expr, replace, &changed);
      }
    }
    if (!changed && elem == t->element_type) return t;
    type* c = private_type_copy(t);
    c->element_type = elem;
    if (b) c->bound_info = b;
    return c;
  }
  return t;
}

// copy_type_tree, giving back the copies it made on the way when nothing
// was replaced (most results name no dummy argument).
template <class Replace>
type* copy_type_replacing(type* t, Replace& replace) {
  pool_mark mark = pool_mark_of(current_pool);
  type* c = copy_type_tree(t, replace);
  if (c == t) pool_release_to(current_pool, mark);
  return c;
}

}  // namespace

type* result_type_for_call(type* result, object* procedure, expr_node* actuals, object* unit) {
  if (!result) return void_type();
  type* routine = routine_type_of(procedure);
  if (!routine) return result;
  auto replace = [&](expr_node* e) -> expr_node* {
    if (e->node_kind != enk_param) return nullptr;
    expr_node* a = actuals;
    for (param_type* p = routine->param_type_list; p && a; p = p->next, a = a->next)
      if (p == e->parameter) {
        if (a->node_kind == enk_empty) return nullptr;
        expr_node* r = make_ref_node(a);
        r->source_pos = e->source_pos;
        return r;
      }
    return nullptr;
  };
  type* t = copy_type_replacing(result, replace);
  if (t != result) check_type_entry(t, unit);
  return t;
}

type* subst_dummy_refs_decl(type* result, object* procedure) {
  type* routine = routine_type_of(procedure);
  auto replace = [&](expr_node* e) -> expr_node* {
    if (e->node_kind != enk_object || !e->object) return nullptr;
    object* o = e->object;
    if (o->is_constant && o->initializer && o->initializer->kind == ck_value) {
      expr_node* c = new_expr_node(enk_constant);
      c->constant = o->initializer;
      c->type = o->initializer->type;
      c->source_pos = e->source_pos;
      return c;
    }
    if (!o->is_parameter || !routine) return nullptr;
    for (param_type* p = routine->param_type_list; p; p = p->next) {
      if (p->corresp.name && p->corresp.name == o->corresp.name) {
        expr_node* r = new_expr_node(enk_param);
        r->parameter = p;
        r->type = p->type;
        r->source_pos = e->source_pos;
        return r;
      }
    }
    return nullptr;
  };
  return copy_type_replacing(result, replace);
}

// ---- References ------------------------------------------------------------

namespace {

const char* procedure_name(object* o) { return o ? name_of(o->corresp.name) : ""; }

// The part shared by specific and resolved generic references.
bool reference_tail(expr_node* n, int context, object* unit) {
  object* o = n->routine;
  type* routine = routine_type_of(o);
  n->type = result_type_for_call(routine ? routine->return_type : void_type(), o, n->operands, unit);
  if (o->storage_class == sc_intrinsic) {
    if (!intrinsic_check(n, context, unit)) return false;
    if (is_error(n)) return false;
    return check_type_entry(n->type, unit) != 0;
  }
  if (ctx_is_restricted(context)) {
    error_at(111, n->source_pos);
    return false;
  }
  if (context & ctx_stmt_func) {
    for (expr_node* a = n->operands; a; a = a->next) {
      if (is_array(a->type) && !a->element_sequence) {
        error_at(571, a->source_pos);
        return false;
      }
    }
  }
  n->routine = global_external_object(o);
  for (expr_node* a = n->operands; a; a = a->next) {
    type* t = a->type;
    if (is_array(t)) t = t->element_type;
    if (is_character(t)) a->any_type_argument = true;
  }
  note_host_use(n->routine, unit);
  n->routine->corresp.referenced = true;
  return true;
}

// The message of a generic reference without a matching specific.
void report_no_match(expr_node* n, interface* g) {
  ::atom* name = g->corresp.name;
  const char* text = name_of(name);
  uint8_t token = name ? name->token_code : 0;
  if (token == assignment_token)
    error_at(531, n->source_pos);
  else if (token == defined_operator_token)
    error_at(532, n->source_pos, {text});
  else if (token >= first_operator_token && token < assignment_token)
    error_at(533, n->source_pos, {text});
  else if (g->symbol && g->symbol->level == predefined_level)
    error_at(45, n->source_pos, {text});
  else if (g->symbol && (g->symbol->cls == sym_intrinsic_function ||
                         g->symbol->cls == sym_intrinsic_subroutine))
    error_at(45, n->source_pos, {text});
  else
    error_at(44, n->source_pos, {text});
}

}  // namespace

int check_generic_call(expr_node* n, int context, object* unit) {
  interface* g = n->generic_routine;
  if (!g) return 0;
  if (!check_actuals(n->operands, context, unit)) return 0;
  for (interface* i = g; i && !i->corresp.referenced; i = i->inherited) i->corresp.referenced = true;
  object* match = nullptr;
  interface* match_interface = nullptr;
  // A module procedure whose definition comes later in the module has no
  // dummies yet and takes any actuals: it is taken only when no specific
  // with known dummies (the intrinsic the generic extends among them) does.
  object* unknown = nullptr;
  interface* unknown_interface = nullptr;
  bool done = false;
  for (interface* i = g; i && !done; i = i->inherited) {
    for (object_list_member* m = i->routine_prototype_list; m && !done; m = m->next) {
      object* o = m->object;
      if (!o) continue;
      type* routine = routine_type_of(o);
      if (!routine || !routine->has_param_info) {
        if (!unknown) {
          unknown = o;
          unknown_interface = i;
        }
        continue;
      }
      pool_ref<expr_node> offending = nullptr;
      pool_ref<expr_node> list = n->operands;
      if (check_actual_args(routine, &list, &offending, args_trial, unit) != 0) continue;
      if (!match) {
        match = o;
        match_interface = i;
        if (o->storage_class == sc_intrinsic) done = true;
        continue;
      }
      // A specific of the generic's own interfaces is preferred to the
      // intrinsic the generic extends: an intrinsic matching as well is no
      // ambiguity (its inquiry arguments accept any actual at this stage).
      if (o->storage_class == sc_intrinsic) {
        done = true;
        continue;
      }
      error_at(612, n->source_pos);
      return 0;
    }
  }
  if (!match) {
    match = unknown;
    match_interface = unknown_interface;
  }
  if (!match) {
    report_no_match(n, g);
    return 0;
  }
  expr_node* operands = n->operands;
  n->node_kind = enk_call;
  n->generic_routine = nullptr;
  n->routine = match;
  n->call_interface = match_interface;
  n->operands = operands;
  check_entity_decl(match);
  pool_ref<expr_node> offending = nullptr;
  if (check_actual_args(routine_type_of(match), &n->operands, &offending, args_final, unit) != 0)
    return 0;
  return reference_tail(n, context, unit) ? 1 : 0;
}

int check_specific_call(expr_node* n, int context, object* unit) {
  object* o = n->routine;
  if (!o) return 0;
  check_entity_decl(o);
  if (!check_actuals(n->operands, context, unit)) return 0;
  pool_ref<expr_node> offending = nullptr;
  type* routine = routine_type_of(o);
  int r = check_actual_args(routine, &n->operands, &offending, args_final, unit);
  const char* name = procedure_name(o);
  switch (r) {
    case args_incompatible:
      error_at(534, offending ? offending->source_pos : n->source_pos, {name});
      return 0;
    case args_too_few:
      error_at(608, n->source_pos, {name});
      return 0;
    case args_too_many:
      error_at(609, offending ? offending->source_pos : n->source_pos, {name});
      return 0;
    case args_keyword_missing:
      error_at(610, n->source_pos, {name});
      return 0;
    case args_improper_keywords:
      error_at(611, n->source_pos, {name});
      return 0;
    default:
      break;
  }
  bool recursive = routine && routine->is_recursive;
  if (!recursive && unit && o == unit) {
    error_at(408, n->source_pos);
    return 0;
  }
  return reference_tail(n, context, unit) ? 1 : 0;
}

// ---- Host association and external objects ---------------------------------

void note_host_use(object* o, object* unit) {
  if (!o || !unit || o == unit) return;
  if (unit->storage_class != sc_internal) return;
  object* host = unit->assoc_routine;
  if (host && host->storage_class == sc_module) return;
  if (o->corresp.scope_depth != unit->corresp.scope_depth) return;
  o->corresp.host_associated = true;
  // The bounds and lengths of a host object's type are used with it.
  note_host_use_in_type(o->type, unit);
  object* storage = o;
  if (o->storage_class == sc_associated) storage = o->assoc_variable;
  if (!storage || storage->storage_class != sc_local) return;
  if (storage->is_saved || storage->is_constant) return;
  o->is_host = true;
  unit->uses_host = true;
  if (storage != o && !is_array(o->type)) storage->is_host = true;
}

namespace {

void note_host_use_in_expr(expr_node* e, object* unit, int depth);

void host_use_in_type(type* t, object* unit, int depth) {
  if (!t || depth > 64) return;
  for (type* seen : host_walk.types_seen)
    if (seen == t) return;
  host_walk.types_seen.push_back(t);
  switch (t->type_code) {
    case tk_fcharacter:
      if (t->length.kind == bk_expression) note_host_use_in_expr(t->length.expr, unit, depth + 1);
      break;
    case tk_farray:
      host_use_in_type(t->element_type, unit, depth + 1);
      if (t->shape_kind < same_shape && t->bound_info) {
        for (uint32_t i = 0; i < 2 * t->bound_info->rank; ++i)
          if (t->bound_info->bounds[i].kind == bk_expression)
            note_host_use_in_expr(t->bound_info->bounds[i].expr, unit, depth + 1);
      }
      break;
    case tk_derived_type:
      for (object* f = t->first_field; f; f = f->next) host_use_in_type(f->type, unit, depth + 1);
      break;
    default:
      break;
  }
}

void note_host_use_in_expr(expr_node* e, object* unit, int depth) {
  if (!e || depth > 256) return;
  switch (e->node_kind) {
    case enk_object:
      note_host_use(e->object, unit);
      break;
    case enk_operation:
    case enk_intrinsic:
    case enk_call:
      for (expr_node* a = e->operands; a; a = a->next) note_host_use_in_expr(a, unit, depth + 1);
      break;
    case enk_field:
      note_host_use_in_expr(e->base_expr, unit, depth + 1);
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      note_host_use_in_expr(e->array_expr, unit, depth + 1);
      for (expr_node* s = e->ind_list; s; s = s->next) note_host_use_in_expr(s, unit, depth + 1);
      break;
    case enk_triplet:
      note_host_use_in_expr(e->first, unit, depth + 1);
      note_host_use_in_expr(e->second, unit, depth + 1);
      note_host_use_in_expr(e->stride, unit, depth + 1);
      break;
    case enk_ref:
      note_host_use_in_expr(e->reference, unit, depth + 1);
      break;
    default:
      break;
  }
}

}  // namespace

void note_host_use_in_type(type* t, object* unit) {
  // A walk started from an object met inside another walk shares its list
  // of types seen, so that recursive types end.
  if (host_walk.walks_open++ == 0) host_walk.types_seen.clear();
  host_use_in_type(t, unit, 0);
  if (--host_walk.walks_open == 0) host_walk.types_seen.clear();
}

void note_host_use_in_constant(constant* c, object* unit) {
  if (!c) return;
  if (c->kind == ck_expression) note_host_use_in_expr(c->expr, unit, 0);
  if (c->kind == ck_aggregate)
    for (constant* e = c->first_constant; e; e = e->next) note_host_use_in_constant(e, unit);
}

void host_of_reference(namelist_group* g, object* unit) {
  if (!g || !unit || unit->storage_class != sc_internal) return;
  object* host = unit->assoc_routine;
  if (host && host->storage_class == sc_module) return;
  if (g->corresp.scope_depth == unit->corresp.scope_depth) g->corresp.host_associated = true;
}

object* global_external_object(object* o) {
  if (!o || o->storage_class != sc_external || o->is_parameter) return o;
  ::atom* name = o->corresp.name;
  if (!name || name == names.error_name) return o;
  if (symbol_entry* g = global_symbol_of(name)) {
    auto* go = static_cast<object*>(g->entity.get());
    if (g->cls != sym_common_block && go) return go;
  }
  int cls = o->symbol && (o->symbol->cls == sym_external_subroutine ||
                          o->symbol->cls == sym_external_function)
                ? static_cast<int>(o->symbol->cls)
                : static_cast<int>(sym_unknown_external);
  symbol_entry* g = symbol_create_quiet(cls, name, o->corresp.decl_position, 0);
  g->flags &= ~symf_in_scope;
  g->entity = o;
  return o;
}

int intrinsic_type_agrees(type* t, object* specific) {
  type* r = routine_type_of(specific);
  if (!r || !t) return 0;
  return type_equal(t, r->return_type) || arg_type_agree(t, r->return_type) ? 1 : 0;
}

int intrinsic_generic_type_agrees(type* t, interface* generic) {
  for (interface* i = generic; i; i = i->inherited)
    for (object_list_member* m = i->routine_prototype_list; m; m = m->next)
      if (intrinsic_type_agrees(t, m->object)) return 1;
  return 0;
}

// ---- Array constructors ----------------------------------------------------

namespace {

element_count constant_count(int32_t v) { return {v, nullptr, 1}; }
element_count failed_count() { return {0, nullptr, 0}; }

expr_node* count_expr(const element_count& c) {
  return c.cls == 1 ? int_const_il_node(c.value) : c.expr;
}

// An operation of the count formulas; it stands at its first operand.
expr_node* int_op(int op, expr_node* a, expr_node* b) {
  a->next = b;
  b->next = nullptr;
  expr_node* n = new_operation_node(op, default_integer_type(), a);
  n->source_pos = a->source_pos;
  return n;
}

// A reference to a bound of the loop, at that bound.
expr_node* ref_at(expr_node* e) {
  expr_node* r = make_ref_node(e);
  r->source_pos = e->source_pos;
  return r;
}

element_count add_counts(element_count a, element_count b) {
  if (a.cls == 1 && b.cls == 1) {
    // Counts are not negative; a sum beyond 32 bits is held at the largest
    // count, so that it reads as a too large array.
    int64_t sum = int64_t{a.value} + b.value;
    return constant_count(static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum));
  }
  return {0, int_op(eok_iadd, count_expr(a), count_expr(b)), 2};
}

// Folds an integer expression to a constant count when it is one.
element_count settle(expr_node* e) {
  if (check_expr(e, 0, nullptr) == 1) return failed_count();
  if (e->node_kind == enk_constant && e->constant && e->constant->kind == ck_value &&
      e->type && e->type->type_code == tk_integer) {
    const_value v;
    const_to_host_form(e->constant, &v);
    return constant_count(const_int(&v));
  }
  // Implied sums are left unevaluated by the checker: their value is asked for here.
  const_value v;
  if (e->node_kind == enk_isum && evaluate_constant_expression(e, &v, 0) && v.c.kind == ck_value &&
      v.c.type && v.c.type->type_code == tk_integer)
    return constant_count(const_int(&v));
  return {0, e, 2};
}

// The element count of an array item: the product of its extents.
element_count array_item_count(expr_node* item) {
  type* t = item->type;
  bound_info_entry* b = t->shape_kind < same_shape ? t->bound_info.get() : nullptr;
  if (!b || !array_is_constant_shape(t)) return {0, size_call_node(make_ref_node(item), 0), 2};
  int64_t product = 1;
  for (uint32_t d = 0; d < b->rank; ++d) {
    int64_t extent = static_cast<int64_t>(b->upper(d).value) - b->lower(d).value + 1;
    if (extent < 0) extent = 0;
    product *= extent;
    if (product > INT32_MAX) product = INT32_MAX;
  }
  return constant_count(static_cast<int32_t>(product));
}

struct constructor_walk {
  type* element;   // the element type fixed by the first item
  bool failed;
  object* unit;
};

bool same_element(type* a, type* b) {
  if (a == b || type_equal(a, b)) return true;
  return is_character(a) && is_character(b) && a->kind == b->kind &&
         (a->length.kind != bk_constant || b->length.kind != bk_constant);
}

element_count items_count(expr_node* items, constructor_walk& w);

// The trip count of an implied-DO times its item count.
// The sum of a non-constant item count over the loop: an enk_isum node with
// its own copy of the loop and of the DO variable, to which the variable's
// references in the count and the bounds are redirected.
element_count implied_sum(expr_node* n, expr_node* count) {
  do_loop* d = n->do_info;
  expr_node* v = d->variable;
  object* var = v && v->node_kind == enk_object ? v->object : nullptr;
  if (!var) return failed_count();
  object* own = new_object();
  *own = *var;
  own->header = 0;
  own->next = nullptr;
  own->storage_class = sc_implied_do_var;
  auto replace = [&](expr_node* e) -> expr_node* {
    // The loop's name may stand for the variable through another object
    // (a reference resolved before the loop's scope was closed).
    if (e->node_kind != enk_object || !e->object) return nullptr;
    if (e->object != var && !(e->object->corresp.name && e->object->corresp.name == var->corresp.name))
      return nullptr;
    expr_node* r = new_expr_node(enk_object);
    r->object = own;
    r->type = own->type;
    r->source_pos = e->source_pos;
    return r;
  };
  bool changed = false;
  do_loop* loop = new_do_loop();
  loop->variable = replace(v);
  loop->initial_value = copy_tree(d->initial_value, replace, &changed);
  loop->final_value = copy_tree(d->final_value, replace, &changed);
  loop->increment = copy_tree(d->increment, replace, &changed);
  expr_node* sum = new_expr_node(enk_isum);
  sum->source_pos = n->source_pos;
  sum->expr_list = copy_tree(count, replace, &changed);
  sum->do_info = loop;
  sum->has_a_scope = true;
  sum->type = default_integer_type();
  own->assoc_implied_do = sum;
  return settle(sum);
}

element_count implied_do_count(expr_node* n, constructor_walk& w) {
  element_count items = items_count(n->expr_list, w);
  if (items.cls == 0) return items;
  do_loop* d = n->do_info;
  if (!d || !d->initial_value || !d->final_value) return failed_count();
  if (items.cls == 2) return implied_sum(n, items.expr);
  expr_node* start = d->initial_value;
  expr_node* end = d->final_value;
  bool step_one = true;
  if (d->increment) {
    step_one = d->increment->node_kind == enk_constant && d->increment->constant &&
               d->increment->constant->kind == ck_value;
    if (step_one) {
      const_value v;
      const_to_host_form(d->increment->constant, &v);
      // A loop with a zero step has no count.
      if (const_int(&v) == 0) {
        error_at(170, d->increment->source_pos);
        return failed_count();
      }
      step_one = const_int(&v) == 1;
    }
  }
  // Constant bounds and step: the trip count in 64 bits, held at the
  // largest count so that a span beyond 32 bits reads as a too large array.
  int64_t known[3] = {0, 0, 1};
  expr_node* parts[3] = {start, end, d->increment};
  bool all_known = true;
  for (int i = 0; i < 3 && all_known; ++i) {
    expr_node* e = parts[i];
    if (!e || e->node_kind == enk_empty) continue;
    if (e->node_kind != enk_constant || !e->constant || e->constant->kind != ck_value || !e->type ||
        e->type->type_code != tk_integer) {
      all_known = false;
      break;
    }
    const_value v;
    const_to_host_form(e->constant, &v);
    known[i] = const_int(&v);
  }
  if (all_known && known[2] != 0) {
    int64_t t = (known[1] - known[0] + known[2]) / known[2];
    int64_t p = (t < 0 ? 0 : t) * items.value;  // items is a constant count here
    return constant_count(static_cast<int32_t>(p > INT32_MAX ? INT32_MAX : p));
  }
  expr_node* trips;
  if (!step_one) {
    trips = int_op(eok_iadd,
                   int_op(eok_idivide, int_op(eok_isubtract, ref_at(end), ref_at(start)),
                          ref_at(d->increment)),
                   int_const_il_node(1));
  } else if (start->node_kind == enk_constant && start->constant &&
             start->constant->kind == ck_value) {
    const_value v;
    const_to_host_form(start->constant, &v);
    int32_t c = const_int(&v);
    trips = c == 1 ? ref_at(end)
                   : int_op(eok_isubtract, ref_at(end),
                            int_const_il_node(static_cast<int32_t>(static_cast<uint32_t>(c) - 1u)));
  } else {
    trips = int_op(eok_iadd, int_op(eok_isubtract, ref_at(end), ref_at(start)),
                   int_const_il_node(1));
  }
  element_count trip = settle(max0_zero_node(trips));
  if (trip.cls == 0) return trip;
  if (items.cls == 1 && items.value == 1) return trip;
  if (items.cls == 1 && trip.cls == 1) {
    int64_t p = static_cast<int64_t>(items.value) * trip.value;
    return constant_count(static_cast<int32_t>(p > INT32_MAX ? INT32_MAX : p));
  }
  return settle(int_op(eok_imultiply, count_expr(items), count_expr(trip)));
}

element_count items_count(expr_node* items, constructor_walk& w) {
  element_count total = constant_count(0);
  for (expr_node* i = items; i; i = i->next) {
    if (is_error(i) || !i->type || i->type->type_code == tk_error) {
      w.failed = true;
      return failed_count();
    }
    element_count c;
    if (i->node_kind == enk_implied_do) {
      c = implied_do_count(i, w);
    } else {
      type* e = is_array(i->type) ? i->type->element_type : i->type.get();
      if (!w.element) {
        w.element = e;
      } else if (!same_element(w.element, e)) {
        error_at(138, i->source_pos);
        w.failed = true;
        return failed_count();
      }
      c = is_array(i->type) ? array_item_count(i) : constant_count(1);
    }
    if (c.cls == 0) return c;
    total = add_counts(total, c);
  }
  return total;
}

}  // namespace

element_count constructor_element_count(expr_node* node, object* unit) {
  constructor_walk w{nullptr, false, unit};
  if (!node) return failed_count();
  if (node->node_kind == enk_implied_do) return implied_do_count(node, w);
  if (node->node_kind != enk_constructor) {
    if (is_array(node->type)) return array_item_count(node);
    return constant_count(1);
  }
  element_count c = items_count(node->constructor, w);
  if (c.cls == 0 || w.failed) return failed_count();
  if (c.cls == 2) c = settle(c.expr);
  if (c.cls == 0) return c;
  type* element = w.element ? w.element : (is_array(node->type) ? node->type->element_type.get() : nullptr);
  if (!element || element->type_code == tk_unknown) element = default_integer_type();
  type* t = array_type(element, 1);
  bound_info_entry* b = t->bound_info;
  if (!b) {
    b = new_bound_info_entry(1);
    t->bound_info = b;
  }
  t->shape_kind = explicit_shape;
  b->lower(0).kind = bk_constant;
  b->lower(0).value = 1;
  if (c.cls == 1) {
    b->upper(0).kind = bk_constant;
    b->upper(0).value = c.value;
  } else {
    b->upper(0).kind = bk_expression;
    b->upper(0).expr = c.expr;
  }
  t->corresp.decl_position = node->source_pos;
  node->type = t;
  if (!check_type_entry(t, unit)) return failed_count();
  return c;
}

// ---- IL builders -----------------------------------------------------------

expr_node* int_const_il_node(int32_t value) {
  const_value v;
  const_init_sized(&v, 4);
  v.c.type = default_integer_type();
  const_set_int(&v, value);
  expr_node* n = const_il_node(&v);
  n->type = default_integer_type();
  return n;
}

void int_const_into(expr_link* slot, int32_t value) {
  expr_node* next = *slot ? (*slot)->next : nullptr;
  *slot = int_const_il_node(value);
  (*slot)->next = next;
}

expr_node* elem_ref_il_node(expr_node* base, expr_node* index) {
  expr_node* n = new_expr_node(enk_subscript);
  n->array_expr = base;
  n->ind_list = index;
  index->next = nullptr;
  n->source_pos = base->source_pos;
  n->type = is_array(base->type) ? base->type->element_type : base->type.get();
  return n;
}

namespace {
// An enk_intrinsic node of a row over its arguments (null: omitted).
expr_node* intrinsic_node(uint8_t row, std::initializer_list<expr_node*> args) {
  expr_node* n = new_expr_node(enk_intrinsic);
  n->intrinsic = row;
  n->type = default_integer_type();
  expr_node* tail = nullptr;
  for (expr_node* a : args) {
    if (!a) {
      a = new_expr_node(enk_empty);
      a->type = default_integer_type();
    }
    a->next = nullptr;
    if (tail)
      tail->next = a;
    else
      n->operands = a;
    tail = a;
    if (n->source_pos.seq == 0) n->source_pos = a->source_pos;
  }
  return n;
}
}  // namespace

expr_node* max0_zero_node(expr_node* x) { return intrinsic_node(row_max0, {x, int_const_il_node(0)}); }
expr_node* count_call_node(expr_node* x) { return intrinsic_node(row_count, {x, nullptr}); }
expr_node* len_call_node(expr_node* x) { return intrinsic_node(row_len, {x}); }
expr_node* len_trim_call_node(expr_node* x) { return intrinsic_node(row_len_trim, {x}); }
expr_node* lbound_call_node(expr_node* x, int32_t dim) {
  return intrinsic_node(row_lbound, {x, int_const_il_node(dim)});
}
expr_node* ubound_call_node(expr_node* x, int32_t dim) {
  return intrinsic_node(row_ubound, {x, int_const_il_node(dim)});
}
expr_node* size_call_node(expr_node* x, int32_t dim) {
  return intrinsic_node(row_size, {x, dim > 0 ? int_const_il_node(dim) : nullptr});
}

expr_node* build_elem_count_node(expr_node* x) {
  type* t = x->type;
  if (is_character(t) && t->length.kind == bk_constant) return int_const_il_node(t->length.value);
  if (is_array(t) && t->shape_kind == delete_dimension && t->bound_args)
    return size_call_node(make_ref_node(t->bound_args), 0);
  return size_call_node(make_ref_node(x), 0);
}
