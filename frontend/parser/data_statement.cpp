// DATA: each set of an object list and a value list between slashes. The
// objects are expanded into their elementary destinations, each value is
// converted to its destination's type and stored in the object's initial-value
// runs (initial_value_runs.cpp).
#include <algorithm>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/attributes.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/initial_value_runs.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/semantics/constant_designators.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"

namespace {

// The scan mode of value lists: "/" and "*" are tokens of their own; a sign
// in front of a number belongs to it (so that -3*1 is a negative repeat
// count).
constexpr uint32_t value_mode = scan_single_slash | scan_single_star | scan_signed_numbers;

// The state of the DATA statement being read.
struct DataState {
  const_value value;            // the current value, in host form
  uint32_t remaining;           // copies of it not yet handed out
  bool list_error;              // the current value list had an error
  source_pos_record diag_pos;   // where value messages go: the value's position
  int objects_pool = -1;        // the object lists' expression nodes; -1 before the first
  uint32_t objects_pool_generation = 0;  // the compilation objects_pool belongs to
};
DataState data;

// The expression nodes of an object list are built in a pool of their own:
// once the list's values are stored, nothing refers to them (the values
// and the objects they go to are records of the unit's pool), and the
// pool is dropped, so that large DATA-heavy sources do not keep them.
struct ObjectListNodes {
  ObjectListNodes() {
    if (data.objects_pool < 0 || data.objects_pool_generation != il_tables_generation) {
      data.objects_pool = new_pool();
      data.objects_pool_generation = il_tables_generation;
    }
    expression_pool = data.objects_pool;
  }
  ~ObjectListNodes() { expression_pool = -1; }
};

// The value of a named constant, through its checked initializer; false
// when the name is none.
bool named_constant_value(symbol_entry* s, const_value* out) {
  if (!s || s->cls != sym_variable || !s->entity) return false;
  auto* o = static_cast<object*>(s->entity.get());
  if (!o->is_constant || !o->initializer) return false;
  constant* c = o->initializer;
  if (!check_constant_entry(c)) {
    const_init(out);
    return true;
  }
  if (c->kind == ck_value || c->kind == ck_aggregate) {
    // An array or structure constant keeps its type, so that its
    // destination can accept or refuse it.
    const_to_host_form(c, out);
  } else if (c->kind != ck_expression || !c->expr || !evaluate_constant_expression(c->expr, out, 1)) {
    const_init(out);
  }
  return true;
}

symbol_entry* current_name_symbol() {
  ::atom* a = scan.token_atom;
  return a ? resolve_alias_chain(a->first_symbol, symtab.cur_scope) : nullptr;
}

// The value proper (after an optional sign), the current token on it; the
// token after it is current afterwards. False after an error.
bool value_proper(bool has_sign, bool negative) {
  const_value& v = data.value;
  const_init(&v);
  source_pos_record at = scan.token_pos;
  bool ok = true;
  switch (scan.cur_token) {
    case tok_name: {
      symbol_entry* s = current_name_symbol();
      if (named_constant_value(s, &v)) break;
      if (s && s->cls == sym_derived_type && s->entity) {
        expr_node* node = nullptr;
        if (!parse_structure_constructor(static_cast<type*>(s->entity.get()), &node) ||
            !check_ok(check_expr(node, ctx_const_entry, nullptr))) {
          const_init(&v);
          return false;
        }
        evaluate_constant_expression(node, &v, 1);
        if (has_sign) error_at(165, data.diag_pos);
        return v.c.kind != ck_error;
      }
      error_at(247, data.diag_pos);
      ok = false;
      break;
    }
    case tok_int_const:
      v = token_constant;
      if (negative) const_set_int(&v, static_cast<int32_t>(0u - static_cast<uint32_t>(const_int(&v))));
      has_sign = false;
      break;
    case tok_real_const:
      v = token_constant;
      if (negative) const_set_real(&v, -const_real(&v));
      has_sign = false;
      break;
    case tok_char_const:
    case tok_logical_const:
    case tok_boz_const:
      v = token_constant;
      if (scan.cur_token == tok_boz_const) v.c.type = default_integer_type();
      break;
    case tok_lparen:
      if (!parse_complex_constant(&v)) {
        const_init(&v);
        return false;
      }
      if (has_sign) error_at(165, data.diag_pos);
      return v.c.kind != ck_error;
    default:
      err_pos = at;
      syntax_error(208);
      const_init(&v);
      return false;
  }
  // Only a number literal takes a sign (it cleared has_sign above); a signed
  // named constant is no DATA value, whatever its type.
  if (has_sign && ok) error_at(165, data.diag_pos);
  scan_token(value_mode);
  return ok && v.c.kind != ck_error;
}

// One data value: [repeat *] [sign] constant. Sets the current value and its
// repeat count; false after an error (the value is then empty).
bool data_value() {
  data.diag_pos = scan.token_pos;
  data.remaining = 1;
  bool repeat_ok = true;
  // A repeat count: a number or named constant followed by "*" (a number
  // that is not an integer is refused there).
  if (scan.cur_token == tok_int_const || scan.cur_token == tok_real_const || scan.cur_token == tok_name) {
    const_value count;
    const_init(&count);
    bool candidate = true;
    if (scan.cur_token != tok_name)
      count = token_constant;
    else
      candidate = named_constant_value(current_name_symbol(), &count);
    if (candidate) {
      scan_cursor at_candidate = scan_save();
      source_pos_record pos = scan.token_pos;
      if (scan_token(value_mode) == tok_star) {
        type* t = count.c.type;
        if (t && t->type_code != tk_integer) {
          if (t->type_code != tk_error) error_at(403, pos);
          repeat_ok = false;
        } else if (const_int(&count) < 0) {
          error_at(402, pos);
          repeat_ok = false;
        } else {
          data.remaining = static_cast<uint32_t>(const_int(&count));
        }
        scan_token(value_mode);
        data.diag_pos = scan.token_pos;
      } else {
        scan_restore(at_candidate);
      }
    }
  }
  bool has_sign = scan.cur_token == tok_minus || scan.cur_token == tok_plus;
  bool negative = scan.cur_token == tok_minus;
  if (has_sign) scan_token(value_mode);
  bool ok = value_proper(has_sign, negative);
  if (!repeat_ok) {
    const_init(&data.value);
    data.remaining = 1;
    return false;
  }
  return ok;
}

// Hands out up to k copies of the current value, reading the next value when
// the current one is used up; 0 when there is none.
uint32_t next_value(uint32_t k) {
  while (data.remaining == 0) {
    if (scan.cur_token == tok_slash) return 0;
    if (scan.cur_token == tok_eos) {
      data.list_error = true;
      return 0;
    }
    if (scan.cur_token != tok_comma) {
      err_pos = scan.token_pos;
      syntax_error(206);
      data.list_error = true;
      if (scan.cur_token != tok_comma) return 0;
    }
    scan_token(value_mode);
    if (!data_value() || data.value.c.kind == ck_error) data.list_error = true;
  }
  uint32_t n = std::min(k, data.remaining);
  data.remaining -= n;
  return n;
}

// One destination of the object list: `covered` elements of `destination`
// starting at the byte offset within o.
int store_destination(object* o, int32_t offset, type* destination, type* covered) {
  uint32_t n = 1;
  uint32_t step = 0;
  if (covered && covered->type_code == tk_farray && covered->element_type) {
    step = covered->element_type->size;
    if (step > 0) n = covered->size / step;
  }
  while (n > 0) {
    uint32_t k = next_value(n);
    if (k == 0) break;
    n -= k;
    const_value v = data.value;
    if (v.c.kind == ck_error) {
      offset = static_cast<int32_t>(static_cast<uint32_t>(offset) + k * step);
      continue;
    }
    if (!(v.c.type == destination || type_assignable(destination, v.c.type)) ||
        !const_convert_to_type(&v, destination)) {
      error_at(166, data.diag_pos);
      offset = static_cast<int32_t>(static_cast<uint32_t>(offset) + k * step);
      continue;
    }
    if (k > 1 && step > 0 && destination && step == destination->size) {
      // Consecutive elements: one repeat entry.
      const_value copy = v;
      store_repeated_value(o, new_il_constant(&copy), k, offset, data.diag_pos);
      offset = static_cast<int32_t>(static_cast<uint32_t>(offset) + k * step);
      continue;
    }
    for (uint32_t i = 0; i < k; ++i) {
      const_value copy = v;
      store_initial_value(o, new_il_constant(&copy), offset, data.diag_pos);
      offset = static_cast<int32_t>(static_cast<uint32_t>(offset) + step);
    }
  }
  if (n > 0) {
    if (!data.list_error) error_at(444, scan.token_pos);
    return 0;
  }
  return 1;
}

// The attribute check of a DATA object: its variable is initialized; 0 after
// a message (a dummy argument or a blank COMMON member, for instance).
int check_data_attributes(expr_node* e) {
  for (int depth = 0; e && depth < 64; ++depth) {
    switch (e->node_kind) {
      case enk_implied_do: {
        int ok = 1;
        for (expr_node* item = e->expr_list; item; item = item->next)
          if (!check_data_attributes(item)) ok = 0;
        return ok;
      }
      case enk_subscript:
      case enk_substring:
      case enk_section: e = e->array_expr; break;
      case enk_field: e = e->base_expr; break;
      case enk_ref: e = e->reference; break;
      case enk_object: {
        symbol_entry* s = e->object ? e->object->symbol : nullptr;
        if (!s || s->cls != sym_variable) return 1;
        // Bounds given by named constants become constant first, so that
        // the array does not count as automatic.
        if (e->object->type) check_type_entry(e->object->type, nullptr);
        attr_set request;
        request[attr_variable] = 1;
        request[attr_initialized] = 1;
        return attr_check(s, &request, e->source_pos);
      }
      default: return 1;
    }
  }
  return 1;
}

// Parses and drops the values up to "/" or the end of the statement.
void skip_values() {
  while (scan.cur_token != tok_slash && scan.cur_token != tok_eos) {
    if (scan.cur_token == tok_lparen) {
      skip_paren_group(value_mode);
      if (scan.cur_token == tok_eos) break;
    }
    scan_token(value_mode);
  }
}

}  // namespace

// DATA object-list / value-list / [[,] object-list / value-list /] ...
int data_statement() {
  scan_after_keyword(expression_mode);
  stop_token_raise(tok_slash);
  for (;;) {
    data.list_error = false;
    expr_node* list = nullptr;
    {
      ObjectListNodes nodes;
      if (scan.cur_token == tok_slash || scan.cur_token == tok_eos)
        error_at(325, scan.token_pos);
      else
        parse_input_item_list(&list, 1);
    }
    if (scan.cur_token == tok_eos) {
      error_at(324, scan.token_pos);
      break;
    }
    if (!expect_token(tok_slash, 233, value_mode)) break;
    data.remaining = 0;
    if (!data_value() || data.value.c.kind == ck_error) data.list_error = true;
    bool objects_ok = true;
    {
      ObjectListNodes nodes;
      for (expr_node* e = list; e; e = e->next)
        if (!check_ok(check_expr(e, ctx_data_objects, nullptr)) || !check_data_attributes(e)) objects_ok = false;
    }
    bool expanded = objects_ok && list && data_for_each_target(list, store_destination);
    if (data.remaining > 0 || (scan.cur_token != tok_slash && scan.cur_token != tok_eos)) {
      // Values left over after every destination got its value: reported
      // once and dropped. After a failure of the objects or of their
      // expansion, already reported, they are dropped without a message.
      source_pos_record at = data.diag_pos;
      if (data.remaining == 0) {
        if (scan.cur_token == tok_comma) scan_token(value_mode);
        at = scan.token_pos;
      }
      if (expanded && !data.list_error) error_at(451, at);
      skip_values();
    }
    pool_drop_records(data.objects_pool);
    if (!expect_token(tok_slash, 233, expression_mode)) break;
    if (scan.cur_token == tok_eos) break;
    if (scan.cur_token == tok_comma) scan_token(expression_mode);
  }
  if (data.objects_pool >= 0) pool_drop_records(data.objects_pool);
  stop_token_lower(tok_slash);
  return 1;
}
