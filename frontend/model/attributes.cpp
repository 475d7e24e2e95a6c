// Declaration attributes and their conflicts: the conflict matrix built from
// the attribute rows, the merge of a symbol's present attributes with a
// request (attr_check) and the writing of a request into the symbol and its
// object (attr_apply). Every declaring statement goes through both.
#include "frontend/model/attributes.h"

#include <bit>
#include <cstring>
#include <initializer_list>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/model/decl_context.h"

AttributeState attrs;
EntityDeclState entity_decl;

namespace {

struct attr_row {
  int number;
  const char* word;
  bool no_repeat;                 // diagonal entry: may not be given twice
  std::initializer_list<int> excludes;
};

constexpr attr_row attr_rows[] = {
#define ATTR(number, id, word, no_repeat, ...) {number, word, no_repeat != 0, {__VA_ARGS__}},
#include "frontend/model/attributes.def"
};
static_assert(std::size(attr_rows) == attr_count);

struct attr_requirement {
  int attribute, needed;
  bool listed;
};

constexpr attr_requirement attr_requirements[] = {
#define REQUIRE(attribute, needed, listed) {attribute, needed, listed != 0},
#include "frontend/model/attribute_requirements.def"
};

// The constant template that attr_matrix_reset copies.
struct MatrixTemplate {
  uint8_t m[attr_count][attr_count];
  constexpr MatrixTemplate() : m() {
    for (const attr_row& r : attr_rows) {
      if (r.no_repeat) m[r.number][r.number] = attr_rule_conflict;
      for (int b : r.excludes) m[r.number][b] = attr_rule_conflict;
    }
    for (const attr_requirement& q : attr_requirements)
      m[q.attribute][q.needed] = q.listed ? attr_rule_requires : attr_rule_requires_silent;
  }
};
constexpr MatrixTemplate matrix_template{};

constexpr bool rows_in_order() {
  for (int i = 0; i < attr_count; ++i)
    if (attr_rows[i].number != i) return false;
  return true;
}
static_assert(rows_in_order(), "attributes.def rows must be in number order");

// A conflict is kept above the diagonal only, so each pair has one entry.
constexpr bool conflicts_above_diagonal() {
  for (const attr_row& r : attr_rows)
    for (int b : r.excludes)
      if (b <= r.number || b >= attr_count) return false;
  return true;
}
static_assert(conflicts_above_diagonal(), "a conflict is listed in the row of its lower number");

bool is_procedure_class(int cls) {
  switch (cls) {
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function:
    case sym_stmt_function:
    case sym_main_program:
    case sym_block_data:
    case sym_module:
    case sym_unknown_external:
    case sym_dummy_function:
    case sym_dummy_subroutine:
    case sym_dummy_procedure:
      return true;
    default:
      return false;
  }
}

// Whether a symbol came into the unit by USE.
bool is_module_imported(const symbol_entry* s) {
  if (s->cls == sym_alias) return true;
  if (s->level >= 0 && s->level < static_cast<int32_t>(symtab.scope_tab.size()) &&
      symtab.scope_tab[static_cast<size_t>(s->level)].kind == sk_module_import)
    return true;
  const object* o = entity_object(const_cast<symbol_entry*>(s));
  return o && o->storage_class == sc_use_associated;
}

// A bound or length whose value is known now.
bool bound_is_constant(const bound_record& b) {
  if (b.kind == bk_constant) return true;
  return b.kind == bk_expression && b.expr && b.expr->node_kind == enk_constant;
}

// The type a symbol has for the attribute test (null: none known).
type* symbol_known_type(symbol_entry* s) {
  switch (s->cls) {
    case sym_undeclared:
    case sym_external_named:
      return static_cast<type*>(s->entity.get());
    default:
      if (object* o = entity_object(s)) return o->type;
      return nullptr;
  }
}

// The class of the unit a variable belongs to: once the source has been read
// its scope level may serve another unit, so its host object tells.
int unit_class_of(symbol_entry* s, const object* o) {
  if (!attrs.final_check) return program_unit_class(s->level);
  const object* host = o ? o->assoc_routine : nullptr;
  switch (host ? host->storage_class : sc_unspecified) {
    case sc_program: return uc_main_program;
    case sc_module: return uc_module;
    case sc_blockdata: return uc_block_data;
    case sc_external:
    case sc_internal: return uc_subroutine;
    default: return uc_none;
  }
}

// The merge of attr_check: the working set and whether a message was given.
struct AttrMerge {
  attr_set* work;
  symbol_entry* s;
  bool ok;
};

void mark(AttrMerge& m, int a) {
  attr_set& w = *m.work;
  if (w[a] && attrs.matrix[a][a] == attr_rule_conflict && !(m.s->flags & symf_unresolved)) {
    error_at(523, err_pos, {m.s->name ? m.s->name->text : "", attr_name(a)});
    m.ok = false;
    return;
  }
  w[a] = 1;
}

void mark_type(AttrMerge& m, type* t) {
  symbol_entry* s = m.s;
  bool given = (s->flags & symf_type_explicit) ||
               ((s->flags & symf_type_implicit) && decl_ctx.spec_part_done);
  if (!t || !given) return;
  mark(m, attr_type_supplied);
  type* base = t->type_code == tk_farray && t->element_type ? t->element_type : t;
  if (base->type_code == tk_fcharacter && base->length.kind == bk_assumed) mark(m, attr_assumed_length);
  object* o = s->cls == sym_variable ? entity_object(s) : nullptr;
  bool local_variable = o && !o->is_parameter && decl_ctx.spec_part_done && !attrs.final_check;
  if (t->type_code == tk_farray) {
    switch (t->shape_kind) {
      case explicit_shape: {
        bool adjustable = false;
        if (local_variable && t->bound_info)
          for (uint32_t i = 0; i < 2u * t->bound_info->rank; ++i)
            if (!bound_is_constant(t->bound_info->bounds[i])) adjustable = true;
        if (adjustable) mark(m, attr_automatic);
        mark(m, attr_explicit_shape);
        break;
      }
      case assumed_size: mark(m, attr_assumed_size); break;
      case assumed_shape: mark(m, attr_assumed_shape); break;
      case deferred_shape:
      case as_shaped: mark(m, attr_deferred_shape); break;
      default: break;
    }
  }
  if (base->type_code == tk_fcharacter && local_variable && base->length.kind == bk_expression &&
      !bound_is_constant(base->length))
    mark(m, attr_automatic);
}

// The attributes a symbol has already, into the working set.
void mark_present(AttrMerge& m) {
  symbol_entry* s = m.s;
  if (s->flags & symf_access_explicit) mark(m, (s->flags & symf_public) ? attr_public : attr_private);
  if (is_module_imported(s)) {
    mark(m, attr_module_imported);
    return;
  }
  type* known = nullptr;
  switch (s->cls) {
    case sym_derived_type:
    case sym_forward_derived_type:
      mark(m, attr_type);
      break;
    case sym_variable: {
      mark(m, attr_variable);
      object* o = entity_object(s);
      if (!o) break;
      if (o->is_constant) mark(m, attr_parameter);
      if (o->is_auto) mark(m, attr_automatic);
      if (s->word3 & varf_in_common) {
        mark(m, attr_common);
        if (s->word3 & varf_in_blank_common) mark(m, attr_blank_common);
        int unit = attrs.final_check ? unit_class_of(s, o) : current_program_unit_class();
        if (unit != uc_block_data) mark(m, attr_common_outside_block_data);
      }
      if (o->is_parameter) mark(m, attr_dummy);
      // A DATA statement checks its own objects; the final check counts only
      // an initial value given in a declaration.
      if ((s->word3 & varf_data_initialized) && (!attrs.final_check || (s->word3 & varf_init_in_decl)))
        mark(m, attr_initialized);
      if (o->is_result) mark(m, attr_result);
      if (o->is_allocatable) mark(m, attr_allocatable);
      if (o->is_pointer) mark(m, attr_pointer);
      if (o->is_target) mark(m, attr_target);
      if (o->storage_class == sc_type_field) mark(m, attr_component);
      if (s->word3 & varf_in_equivalence) mark(m, attr_equivalence);
      if (o->storage_class == sc_local) {
        int unit = unit_class_of(s, o);
        if (unit == uc_main_program || unit == uc_module) mark(m, attr_unit_variable);
      }
      known = o->type;
      break;
    }
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
      mark(m, attr_intrinsic);
      mark(m, attr_subprogram);
      break;
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine:
      mark(m, attr_intrinsic);
      mark(m, attr_interface);
      break;
    case sym_stmt_label:
      mark(m, attr_construct_name);
      break;
    case sym_external_named:
      mark(m, attr_subprogram);
      known = static_cast<type*>(s->entity.get());
      break;
    case sym_module_procedure:
      mark(m, attr_subprogram);
      mark(m, attr_module_procedure);
      break;
    case sym_dummy:
      mark(m, attr_dummy);
      known = symbol_known_type(s);
      break;
    case sym_generic:
      mark(m, attr_interface);
      break;
    case sym_namelist:
      mark(m, attr_namelist);
      break;
    case sym_undeclared:
      known = static_cast<type*>(s->entity.get());
      break;
    default:
      if (is_procedure_class(s->cls)) {
        mark(m, attr_subprogram);
        object* o = entity_object(s);
        if (o && o->is_parameter) mark(m, attr_dummy);
        if (o) known = o->type;
      }
      break;
  }
  mark_type(m, known);
  bool in = s->flags & symf_intent_in, out = s->flags & symf_intent_out;
  if (in && out) mark(m, attr_intent_inout);
  else if (in) mark(m, attr_intent_in);
  else if (out) mark(m, attr_intent_out);
  if (s->flags & symf_optional) mark(m, attr_optional);
  if (s->flags & symf_external) mark(m, attr_external);
  if (s->flags & symf_saved) mark(m, attr_save);
}

// An array specification given without a type: the symbol's type becomes an
// array of what it had.
void apply_shape_only(symbol_entry* s) {
  type* t = entity_decl.entity_type;
  if (!t || t->type_code != tk_farray) return;
  if (s->cls == sym_variable || s->cls == sym_dummy) {
    object* o = entity_object(s);
    if (!o) return;
    type* element = o->type;
    if (element && element->type_code == tk_farray) element = element->element_type;
    t->element_type = element ? element : unknown_type();
    type_storage_size(t);
    o->type = t;
    if (o->is_result) {
      object* routine = routine_of_result_var(o);
      if (routine && routine->type && routine->type->type_code == tk_routine) routine->type->return_type = t;
      // ENTRY results share one storage object that must hold the largest.
      type* shared = o->storage_class == sc_associated && o->assoc_variable ? o->assoc_variable->type : nullptr;
      if (shared) {
        if (t->size > shared->size) shared->size = t->size;
        if (t->alignment > shared->alignment) shared->alignment = t->alignment;
      }
    }
  } else if (s->cls == sym_undeclared) {
    type* element = static_cast<type*>(s->entity.get());
    if (element && element->type_code == tk_farray) element = element->element_type;
    t->element_type = element ? element : unknown_type();
    s->entity = t;
  }
}

// The initial value of a declaration ("= value", PARAMETER).
void apply_initial_value(symbol_entry* s, const attr_set& r, name_pos_record* name) {
  if (!r[attr_type_supplied]) implicit_type_of(s, name->pos);
  object* o = s->cls == sym_variable ? entity_object(s) : nullptr;
  if (!o) return;
  if (o->header & il_check_mark) {
    error_at(19, name->pos);
    return;
  }
  constant* c = new_constant();
  init_constant(c, ck_expression);
  c->expr = entity_decl.entity_init_expr;
  c->type = c->expr && c->expr->type ? c->expr->type.get() : o->type.get();
  c->source_pos = c->expr ? c->expr->source_pos : name->pos;
  o->initializer = c;
  if (r[attr_parameter]) o->is_constant = true;
  s->word3 |= varf_data_initialized | varf_init_in_decl;
  if (!o->is_constant && !(s->word3 & varf_in_common)) o->is_saved = true;
}

void apply_external(symbol_entry*& s, bool& is_new, source_pos_record pos) {
  switch (s->cls) {
    case sym_undeclared: {
      type* t = static_cast<type*>(s->entity.get());
      symbol_set_class(s, sym_external_named);
      s->entity = t ? t : unknown_type();
      is_new = true;
      break;
    }
    case sym_dummy: {
      object* o = entity_object(s);
      if (!o) break;
      o->storage_class = sc_external;
      if (o->type && o->type->type_code != tk_unknown) {
        symbol_set_class(s, sym_dummy_function);
        o->type = routine_type(o, o->type);
      } else {
        symbol_set_class(s, sym_dummy_procedure);
      }
      s->entity = o;
      break;
    }
    case sym_stmt_func_dummy:
      error_at(289, pos);
      break;
    case sym_block_data:
    case sym_external_named:
      break;
    default:
      error_at(19, pos);
      break;
  }
  s->flags |= symf_external;
}

void apply_pointer(symbol_entry*& s, name_pos_record* name) {
  if (s->cls == sym_undeclared || s->cls == sym_dummy) s = symbol_as_variable(s, name);
  if (s->cls == sym_variable || s->cls == sym_dummy) {
    object* o = entity_object(s);
    if (!o) return;
    o->is_pointer = true;
    if (o->is_result)
      if (object* routine = routine_of_result_var(o)) routine->is_pointer = true;
    return;
  }
  if (object* o = entity_object(s)) o->is_pointer = true;
}

}  // namespace

const char* attr_name(int a) {
  return a >= 0 && a < attr_count ? attr_rows[a].word : "";
}

namespace {

// The rows of the conflict matrix as bit sets over the attributes, so that a
// check tests a whole row at once: the conflicts (the diagonal excluded) and
// the requirements of each attribute, and the requirements named in messages.
static_assert(attr_count <= 64);
struct AttrRowMasks {
  uint64_t conflicts[attr_count];
  uint64_t requirements[attr_count];
};
AttrRowMasks row_masks{};

uint64_t attr_bit(int a) { return uint64_t{1} << a; }

uint64_t set_bits(const attr_set& w) {
  uint64_t bits = 0;
  for (int b = 0; b < attr_count; ++b)
    if (w[b]) bits |= attr_bit(b);
  return bits;
}

// The lowest attribute of a non-empty bit set.
int lowest(uint64_t bits) { return std::countr_zero(bits); }

// The pair test of one attribute a against the attributes present (bits).
bool conflicts_one(int a, uint64_t present, attr_set* request, symbol_entry* s) {
  bool ok = true;
  for (uint64_t clash = present & row_masks.conflicts[a]; clash != 0; clash &= clash - 1) {
    int b = lowest(clash);
    if (std::strcmp(attr_name(a), attr_name(b)) != 0)
      error_at(522, err_pos, {attr_name(a), attr_name(b)});
    else
      error_at(523, err_pos, {s && s->name ? s->name->text : "", attr_name(a)});
    // The requested side of the pair is dropped; what the symbol had stays.
    if ((*request)[b])
      (*request)[b] = 0;
    else
      (*request)[a] = 0;
    ok = false;
  }
  uint64_t needed = row_masks.requirements[a];
  bool met = (present & needed) != 0;
  bool pending = decl_ctx.spec_part_done && (~present & needed) != 0;
  if (pending && !met) {
    std::string list;
    for (int b = 0; b < attr_count; ++b) {
      if (b == a || attrs.matrix[a][b] != attr_rule_requires) continue;
      if (!list.empty()) list += ", or ";
      list += attr_name(b);
    }
    error_at(585, err_pos, {attr_name(a), list});
    ok = false;
  }
  return ok;
}

}  // namespace

void attr_matrix_reset() {
  std::memcpy(attrs.matrix, matrix_template.m, sizeof attrs.matrix);
  row_masks = AttrRowMasks{};
  for (int a = 0; a < attr_count; ++a) {
    for (int b = 0; b < attr_count; ++b) {
      if (b == a) continue;
      uint8_t rule = attrs.matrix[a][b];
      if (rule == attr_rule_conflict) row_masks.conflicts[a] |= attr_bit(b);
      if (rule == attr_rule_requires || rule == attr_rule_requires_silent)
        row_masks.requirements[a] |= attr_bit(b);
    }
  }
}

int attr_conflicts_one(int a, attr_set* work, attr_set* request, symbol_entry* s) {
  return conflicts_one(a, set_bits(*work), request, s) ? 1 : 0;
}

int attr_conflicts_all(attr_set* work, attr_set* request, symbol_entry* s) {
  // The working set is not changed by the tests: only the request loses
  // what conflicts.
  uint64_t present = set_bits(*work);
  int ok = 1;
  for (uint64_t left = present; left != 0; left &= left - 1)
    if (!conflicts_one(lowest(left), present, request, s)) ok = 0;
  return ok;
}

int attr_check(symbol_entry* s, attr_set* request, source_pos_record pos) {
  attr_set work = *request;
  source_pos_record saved = err_pos;
  err_pos = pos;
  bool ok = true;
  if (s) {
    AttrMerge m{&work, s, true};
    mark_present(m);
    // A provisional symbol (rebuilt from references) is spared every
    // "repeated" message of this one check.
    s->flags &= ~symf_unresolved;
    ok = m.ok;
  }
  if (!attr_conflicts_all(&work, request, s)) ok = false;
  err_pos = saved;
  return ok ? 1 : 0;
}

int attr_check_final(symbol_entry* s, source_pos_record pos) {
  attr_set none{};
  bool done = decl_ctx.spec_part_done;
  decl_ctx.spec_part_done = true;
  attrs.final_check = true;
  int ok = attr_check(s, &none, pos);
  attrs.final_check = false;
  decl_ctx.spec_part_done = done;
  return ok;
}

symbol_entry* attr_apply(symbol_entry* s, attr_set* request, name_pos_record* name) {
  attr_set& r = *request;
  bool is_new = false;
  if (!s) {
    s = symbol_create(sym_undeclared, name->name ? name->name : error_name(), name->pos, symtab.cur_scope);
    if (!s->entity) s->entity = unknown_type();
    is_new = true;
  }
  if (s->name == names.error_name) return s;
  if (r[attr_private]) s->flags = (s->flags | symf_access_explicit) & ~symf_public;
  if (r[attr_public]) s->flags |= symf_access_explicit | symf_public;
  if (r[attr_namelist]) return namelist_stmt_name(s, name);
  if (r[attr_variable]) s = symbol_as_variable(s, name);
  if (s->cls == sym_variable) {
    if (r[attr_common]) s->word3 |= varf_in_common;
    if (r[attr_blank_common]) s->word3 |= varf_in_blank_common;
  }
  if (r[attr_type_supplied] && entity_decl.entity_type) {
    if (s->cls == sym_external_function || s->cls == sym_internal_function)
      set_function_result_type(s, entity_decl.entity_type, false, name->pos);
    else
      symbol_set_type(s, entity_decl.entity_type, false, name->pos);
  } else if (r[attr_explicit_shape] || r[attr_deferred_shape] || r[attr_assumed_shape] ||
             r[attr_assumed_size]) {
    apply_shape_only(s);
  }
  if (r[attr_initialized]) apply_initial_value(s, r, name);
  object* o = entity_object(s);
  if (r[attr_allocatable] && o) o->is_allocatable = true;
  if (r[attr_external]) {
    apply_external(s, is_new, name->pos);
    o = entity_object(s);
  }
  if (r[attr_intent_in]) {
    s->flags |= symf_intent_in;
    if (o) o->intent_in = true;
  } else if (r[attr_intent_out]) {
    s->flags |= symf_intent_out;
    if (o) o->intent_out = true;
  } else if (r[attr_intent_inout]) {
    s->flags |= symf_intent_in | symf_intent_out;
    if (o) o->intent_in = o->intent_out = true;
  }
  if (r[attr_intrinsic]) {
    s = declare_intrinsic_name(s, name);
    o = entity_object(s);
  }
  if (r[attr_optional]) {
    s->flags |= symf_optional;
    if (o) o->is_optional = true;
  }
  if (r[attr_pointer]) {
    apply_pointer(s, name);
    o = entity_object(s);
  }
  if (r[attr_save]) {
    s->flags |= symf_saved;
    if (o && s->cls == sym_variable) o->is_saved = true;
  }
  if (r[attr_target] && o) o->is_target = true;
  if (s) xref_note(s, name->pos, is_new);
  return s;
}
