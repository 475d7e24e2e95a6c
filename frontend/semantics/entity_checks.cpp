// Entity declaration checks and I/O control-list checks of the unit pass:
// every object gets its flags completed from its symbol, its automatic
// storage decided and its initial value finished, and program units are
// entered; every I/O statement's unit, format and specifiers are checked.
#include <cstdint>

#include "frontend/base/diagnostics.h"
#include "frontend/model/const_value.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/attributes.h"
#include "frontend/model/name_resolution.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/procedure_refs.h"
#include "frontend/semantics/unit_pass.h"

namespace {

constexpr uint32_t max_size = 2147483647u;

type* element_of(type* t) { return t && t->type_code == tk_farray ? t->element_type : t; }

// A length given by an expression whose value is not known at compile time
// (a length such as *(N) with N a named constant is known).
bool char_expression_length(type* t) {
  t = element_of(t);
  if (!t || t->type_code != tk_fcharacter || t->length.kind != bk_expression) return false;
  const_value v;
  return !(t->length.expr && evaluate_constant_expression(t->length.expr, &v, 0) && v.c.kind == ck_value);
}

bool char_assumed_length(type* t) {
  t = element_of(t);
  return t && t->type_code == tk_fcharacter && t->length.kind == bk_assumed;
}

// A constant length or size beyond what the target can hold statically.
bool too_big_for_static(type* t) {
  type* e = element_of(t);
  if (e && e->type_code == tk_fcharacter && e->length.kind == bk_constant &&
      static_cast<uint32_t>(e->length.value) > max_size)
    return true;
  return t && t->type_code == tk_farray && array_is_constant_shape(t) && t->size > max_size;
}

bool host_keeps_static(const object* o) {
  const object* host = o->assoc_routine;
  return host && (host->storage_class == sc_module || host->storage_class == sc_program ||
                  host->storage_class == sc_blockdata);
}

void decide_automatic(object* o) {
  if (o->is_parameter || host_keeps_static(o)) return;
  type* t = o->type;
  if (char_expression_length(t) || too_big_for_static(t) ||
      (t && t->type_code == tk_farray && array_has_adjustable_bound(t)))
    o->is_auto = true;
}

// The initial value of a variable or named constant.
int finish_initializer(object* o) {
  constant* c = o->initializer;
  if (!c) return 1;
  int ok = 1;
  if (c->kind == ck_expression && c->expr && !c->value) {
    if (!check_ok(check_expr(c->expr, ctx_const_entry, nullptr)) || !check_assignment(o->type, &c->expr))
      ok = 0;
    else
      c->type = o->type;
  }
  // A formula whose value is known already needs no second evaluation, out
  // of the declaration that gave its implied-DO variables their meaning.
  if (!(c->kind == ck_expression && c->value)) ok &= check_constant_entry(c);
  if (o->is_constant && char_assumed_length(o->type) && c->type) o->type = c->type;
  // A CHARACTER named constant has the length it is declared with: its value
  // is padded with blanks or cut to that length.
  if (ok && o->is_constant && c->kind == ck_value && c->type != o->type && o->type &&
      o->type->type_code == tk_fcharacter && c->type && c->type->type_code == tk_fcharacter &&
      char_length_of(o->type) > 0 && char_length_of(o->type) != char_length_of(c->type)) {
    const_value v;
    const_to_host_form(c, &v);
    if (const_convert_to_type(&v, o->type)) {
      const_to_indirect(&v);
      c->value = v.c.value;
      c->type = o->type;
    }
  }
  if (o->type && type_is_zero_size(o->type)) o->initializer = nullptr;
  return ok;
}

// The routine types of a procedure and its ENTRY points with dummy
// references made their own, then its scope checked.
int enter_procedure(object* o) {
  if (type* t = o->type; t && t->type_code == tk_routine) {
    for (param_type* p = t->param_type_list; p; p = p->next) p->type = subst_dummy_refs_decl(p->type, o);
    t->return_type = subst_dummy_refs_decl(t->return_type, o);
  }
  if (scope* s = o->assoc_scope) {
    for (entry_description* e = s->entries; e; e = e->next) {
      type* t = e->assoc_routine ? e->assoc_routine->type : nullptr;
      if (!t || t->type_code != tk_routine) continue;
      for (param_type* p = t->param_type_list; p; p = p->next) p->type = subst_dummy_refs_decl(p->type, e->assoc_routine);
      t->return_type = subst_dummy_refs_decl(t->return_type, e->assoc_routine);
    }
  }
  return check_unit(o->assoc_scope);
}

// A CHARACTER function of assumed length where that is not allowed.
int assumed_length_function(object* o, bool external) {
  type* t = o->type;
  type* r = t && t->type_code == tk_routine ? t->return_type.get() : nullptr;
  if (!r || !char_assumed_length(r)) return 1;
  bool refused = !external || (r->type_code == tk_farray && r->rank != 0) || o->is_pointer || t->is_recursive;
  if (!refused) return 1;
  error_at(149, o->corresp.decl_position);
  return 0;
}

bool private_derived(type* t) {
  t = element_of(t);
  if (!t || t->type_code != tk_derived_type) return false;
  // A type read from a module file only through another entity has no
  // symbol here: its own flag, written with it, tells its access.
  // So does a type brought in by USE: PRIVATE in this unit hides its name
  // but does not make the type private.
  if (!t->symbol || type_from_use(t)) return !t->is_public;
  return !(t->symbol->flags & symf_public);
}

int symbol_checks(object* o) {
  symbol_entry* s = o->symbol;
  if (!s) return 1;
  // A conflicting request was dropped when it was given, so what is found
  // here is a requirement left unmet or a conflict known only now.
  int ok = attr_check_final(s, o->corresp.decl_position);
  if (s->cls == sym_variable) {
    type* e = element_of(o->type);
    if ((s->word3 & varf_in_equivalence) && o->type && o->type->contains_ptrs) {
      error_at(589, o->corresp.decl_position);
      ok = 0;
    }
    if ((s->word3 & varf_in_common) && e && e->type_code == tk_derived_type && !e->is_seq) {
      error_at(356, o->corresp.decl_position);
      ok = 0;
    }
  }
  return ok;
}

// ---- I/O control lists ----

bool is_variable_node(const expr_node* n) {
  switch (n->node_kind) {
    case enk_object:
    case enk_field:
    case enk_subscript:
    case enk_substring:
    case enk_section: return true;
    default: return false;
  }
}

bool default_of(const type* t, int code, type* default_type) {
  return t && t->type_code == code && default_type && t->kind == default_type->kind;
}

bool default_character(type* t) { return default_of(element_of(t), tk_fcharacter, default_character_type(1)); }
bool default_integer(type* t) { return default_of(t, tk_integer, default_integer_type()); }
bool default_logical(type* t) { return default_of(t, tk_logical, default_logical_type()); }

int require_variable(expr_node* n, bool type_ok, int msg) {
  if (!is_variable_node(n) || !type_ok) {
    error_at(msg, n->source_pos);
    return 0;
  }
  check_definable(n);
  n->intent_out = true;
  return 1;
}

int require_value(expr_node* n, bool type_ok, int msg) {
  if (!type_ok) {
    error_at(msg, n->source_pos);
    return 0;
  }
  n->intent_in = true;
  return 1;
}

int check_assigned_format(expr_node* f, object* unit) {
  if (!check_ok(check_expr(f, ctx_variable, unit))) return 0;
  check_definable(f);
  f->intent_in = true;
  if (!is_variable_node(f) || !default_integer(f->type)) {
    error_at(458, f->source_pos);
    return 0;
  }
  return 1;
}

int check_specifier(expr_node* n, bool inquire, bool internal) {
  type* t = n->type;
  switch (n->specifier) {
    case iosk_access:
    case iosk_action:
    case iosk_blank:
    case iosk_delim:
    case iosk_form:
    case iosk_pad:
    case iosk_position:
      return inquire ? require_variable(n, default_character(t), 457) : require_value(n, default_character(t), 248);
    case iosk_advance:
      if (internal) {
        error_at(162, n->source_pos);
        return 0;
      }
      return require_value(n, default_character(t), 248);
    case iosk_file:
    case iosk_status: return require_value(n, default_character(t), 248);
    case iosk_direct:
    case iosk_formatted:
    case iosk_name:
    case iosk_read:
    case iosk_write:
    case iosk_readwrite:
    case iosk_sequential:
    case iosk_unformatted: return require_variable(n, default_character(t), 457);
    case iosk_end:
    case iosk_eor:
    case iosk_err:
      if (n->node_kind == enk_stmt_label_value && n->stmt_label_value) n->stmt_label_value->corresp.referenced = true;
      return 1;
    case iosk_exist:
    case iosk_named:
    case iosk_opened: return require_variable(n, default_logical(t), 594);
    case iosk_iolength:
    case iosk_iostat:
    case iosk_nextrec:
    case iosk_number:
    case iosk_size: return require_variable(n, default_integer(t), 458);
    case iosk_rec:
      if (internal) {
        error_at(162, n->source_pos);
        return 0;
      }
      return require_value(n, t && t->type_code == tk_integer, 250);
    case iosk_recl:
      return inquire ? require_variable(n, default_integer(t), 458)
                     : require_value(n, t && t->type_code == tk_integer, 250);
    default: return 1;
  }
}

}  // namespace

int check_adopted_interface_body(object* o) {
  int ok = check_type_entry(o->type, nullptr);
  return ok & enter_procedure(o);
}

int check_entity_decl(object* o) {
  if (!o || (o->header & il_check_mark)) return 1;
  o->header |= il_check_mark;
  bool local_unsaved = o->storage_class == sc_local && !o->is_saved && !o->is_constant;
  int ok = check_type_entry(o->type, local_unsaved ? o->assoc_routine : nullptr);
  if (type* e = element_of(o->type); e && e->type_code == tk_derived_type) e->corresp.referenced = true;
  symbol_entry* s = o->symbol;
  bool initial_value = false;
  switch (o->storage_class) {
    case sc_local:
      if (s) {
        o->is_public = (s->flags & symf_public) != 0;
        o->is_saved = o->is_saved || (s->flags & symf_saved);
        if (o->is_public) o->corresp.referenced = true;
      }
      decide_automatic(o);
      initial_value = !o->is_result;
      break;
    case sc_common: initial_value = true; break;
    case sc_associated:
      if (object* a = o->assoc_variable) {
        a->is_public = a->is_public || (s && (s->flags & symf_public));
        if (s && (s->flags & symf_saved)) a->is_saved = true;
        a->corresp.referenced = true;
        if (a->type && (o->is_pointer || (o->type && o->type->contains_ptrs))) a->type->contains_ptrs = true;
      }
      break;
    case sc_use_associated:
    case sc_intrinsic:
    case sc_mod_proc: return ok;
    case sc_type_field:
      if (type* d = o->assoc_derived_type; d && d->symbol && (d->symbol->flags & symf_public) && o->symbol)
        o->is_public = (o->symbol->flags & symf_public) != 0;
      break;
    case sc_external:
      if (!o->is_parameter) o->corresp.referenced = true;
      ok &= assumed_length_function(o, true);
      ok &= enter_procedure(o);
      break;
    case sc_internal:
      ok &= assumed_length_function(o, false);
      if (s) o->is_public = (s->flags & symf_public) != 0;
      if (o->is_public) {
        o->corresp.referenced = true;
        if (depends_on_private_type(o)) {
          error_at(160, o->corresp.decl_position);
          ok = 0;
        }
      }
      ok &= enter_procedure(o);
      break;
    case sc_module:
    case sc_program:
    case sc_blockdata:
    case sc_stmt_func: ok &= check_unit(o->assoc_scope); break;
    default: break;
  }
  if (initial_value) ok &= finish_initializer(o);
  ok &= symbol_checks(o);
  // What USE brought in was checked in its module, where its type's access
  // is known; a type read from a module file only through another entity
  // has no symbol here.
  auto imported = [o] {
    return o->storage_class == sc_use_associated || o->storage_class == sc_mod_proc ||
           (o->storage_class == sc_type_field && derived_type_copied_by_use(o->assoc_derived_type));
  };
  if (o->is_public && private_derived(o->type) && !imported()) {
    error_at(46, o->corresp.decl_position);
    ok = 0;
  }
  return ok;
}

int check_io_control(input_output_description* d, int inquire, object* unit) {
  if (!d || (d->header & il_check_mark)) return 1;
  d->header |= il_check_mark;
  int ok = 1;
  if (d->unit_kind == iou_external && d->unit_expr) {
    expr_node* u = d->unit_expr;
    if (!check_ok(check_expr(u, 0, unit))) {
      ok = 0;
    } else if (is_variable_node(u) && default_character(u->type)) {
      check_no_vector_subscript(u);
      u->any_type_argument = true;  // flag bit 10
      d->unit_kind = iou_internal;
    } else if (u->type && u->type->type_code == tk_integer) {
      u->intent_in = true;
      if (u->node_kind == enk_constant && u->constant && u->constant->value) {
        const kind_row* row = kind_row_of(kf_integer, u->type->kind);
        int32_t v = row && row->get_int ? row->get_int(u->constant->value) : 0;
        if (v < 0 || v > 99) {
          error_at(97, u->source_pos);
          expr_set_error(u);
          d->unit_kind = iou_error;
        }
      }
    } else {
      error_at(117, u->source_pos);
      expr_set_error(u);
      d->unit_kind = iou_error;
      ok = 0;
    }
  }
  bool internal = d->unit_kind == iou_internal;
  switch (d->format_kind) {
    case iof_assigned_var:
      if (d->format_expr) ok &= check_assigned_format(d->format_expr, unit);
      break;
    case iof_char_expr:
      if (expr_node* f = d->format_expr) {
        if (!check_ok(check_expr(f, 0, unit))) {
          ok = 0;
        } else if (default_character(f->type)) {
          f->intent_in = true;
          f->any_type_argument = true;
          if (f->type && f->type->type_code == tk_farray) f->element_sequence = true;
        } else {
          d->format_kind = iof_assigned_var;
          ok &= check_assigned_format(f, unit);
        }
      }
      break;
    case iof_namelist_directed:
      if (internal) {
        error_at(364, d->unit_expr->source_pos);
        ok = 0;
      }
      if (namelist_group* g = d->format_namelist_group) {
        for (expr_node* m = g->member_list; m; m = m->next)
          if (m->node_kind == enk_object) note_host_use(m->object, unit);
        g->corresp.referenced = true;
      }
      break;
    default: break;
  }
  for (expr_node* n = d->specifier_list; n; n = n->next) {
    if (!check_ok(check_expr(n, 0, unit))) {
      ok = 0;
      continue;
    }
    if (!ok) continue;
    type* e = element_of(n->type);
    if (e && e->type_code == tk_fcharacter) n->any_type_argument = true;
    ok &= check_specifier(n, inquire != 0, internal);
  }
  return ok;
}
