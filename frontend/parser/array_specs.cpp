// Array specifications of declarations: each dimension is read into a bound
// pair, the shape code follows the kinds of dimension seen so far, and the
// limits (rank seven, assumed size last) are checked once each.
#include "frontend/parser/array_specs.h"

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/attributes.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/semantics/constant_eval.h"

namespace {

// The dimensions read so far and what the limits have said.
struct ArraySpecRun {
  bound_record lower[max_array_rank];
  bound_record upper[max_array_rank];
  uint32_t dims;            // dimensions read, scratch ones included
  int shape;                // shape code so far
  bool failed;              // a limit was broken: no type is made
  bool rank_reported;       // 319 given
  bool assumed_size_seen;   // a "*" upper bound was read
  bool extras_reported;     // 34 given
};

void constant_one(bound_record* b) {
  init_bound(b, bk_constant);
  b->value = 1;
}

// A dimension whose shape must follow explicit dimensions: 524 unless this
// is the first dimension or the shape so far is explicit.
void need_explicit_before(ArraySpecRun& r) {
  if (r.dims > 0 && r.shape != explicit_shape && !r.failed) error_here(524);
}

// The value of a bare name that stands for an integer named constant whose
// value is known.
bool named_integer_constant(expr_node* e, int32_t* value) {
  if (e->node_kind != enk_name_ref) return false;
  symbol_entry* s = e->symbol;
  for (int i = 0; s && s->cls == sym_alias && i < 64; ++i) s = static_cast<symbol_entry*>(s->entity.get());
  if (!s || s->cls != sym_variable) return false;
  object* o = static_cast<object*>(s->entity.get());
  if (!o || !o->is_constant || !o->initializer) return false;
  expr_node named = *e;
  named.node_kind = enk_object;
  named.object = o;
  const_value v;
  if (!evaluate_constant_expression(&named, &v, 0) || v.c.kind != ck_value || !v.c.type ||
      v.c.type->type_code != tk_integer)
    return false;
  *value = const_int(&v);
  return true;
}

}  // namespace

void parse_bound_expr(bound_record* b) {
  bool saved = symtab.in_bound_expr;
  symtab.in_bound_expr = true;
  stop_token_raise(tok_colon);
  stop_token_raise(tok_comma);
  stop_token_raise(tok_rparen);
  expr_node* e = parse_expr_prec(0);
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  stop_token_lower(tok_colon);
  symtab.in_bound_expr = saved;
  if (!e || e->node_kind == enk_error) {
    init_bound(b, bk_error);
    return;
  }
  // A bound that names an integer constant declared before is that
  // constant from the start, so that the array has its size at once and is
  // not taken for an automatic object.
  int32_t value = 0;
  if (named_integer_constant(e, &value)) {
    init_bound(b, bk_constant);
    b->value = value;
    return;
  }
  init_bound(b, bk_expression);
  b->expr = e;
}

int shape_attribute(const type* array) {
  switch (array->shape_kind) {
    case explicit_shape: return attr_explicit_shape;
    case assumed_size: return attr_assumed_size;
    case assumed_shape: return attr_assumed_shape;
    default: return attr_deferred_shape;
  }
}

type* parse_array_spec(type* element, uint32_t flags) {
  if (scan.cur_token != tok_lparen) {
    syntax_error(228);
    return nullptr;
  }
  source_pos_record open_pos = scan.token_pos;
  ArraySpecRun r{};
  r.shape = deferred_shape;
  scan_token(operand_mode);
  for (;;) {
    if (r.dims >= max_array_rank && !r.rank_reported) {
      error_here(319);
      r.rank_reported = r.failed = true;
    }
    if (r.assumed_size_seen && !r.extras_reported) {
      error_here(34);
      r.extras_reported = r.failed = true;
    }
    bound_record scratch_lower{}, scratch_upper{};
    bool scratch = r.dims >= max_array_rank;
    bound_record& lo = scratch ? scratch_lower : r.lower[r.dims];
    bound_record& hi = scratch ? scratch_upper : r.upper[r.dims];
    if (scan.cur_token == tok_colon) {
      init_bound(&lo, bk_undefined);
      init_bound(&hi, bk_undefined);
      if (r.shape == explicit_shape && !r.failed) {
        error_here(524);
        r.shape = assumed_shape;
      }
      scan_token(after_operand_mode);
    } else if (scan.cur_token == tok_star) {
      constant_one(&lo);
      init_bound(&hi, bk_assumed);
      need_explicit_before(r);
      r.shape = assumed_size;
      r.assumed_size_seen = true;
      scan_token(after_operand_mode);
    } else {
      bound_record first{};
      parse_bound_expr(&first);
      if (scan.cur_token == tok_colon) {
        lo = first;
        scan_token(operand_mode);
        if (scan.cur_token == tok_rparen || scan.cur_token == tok_comma) {
          init_bound(&hi, bk_undefined);
          if (r.shape == explicit_shape && !r.failed) error_here(524);
          r.shape = assumed_shape;
        } else if (scan.cur_token == tok_star) {
          init_bound(&hi, bk_assumed);
          need_explicit_before(r);
          r.shape = assumed_size;
          r.assumed_size_seen = true;
          scan_token(after_operand_mode);
        } else {
          parse_bound_expr(&hi);
          need_explicit_before(r);
          r.shape = explicit_shape;
        }
      } else {
        hi = first;
        constant_one(&lo);
        need_explicit_before(r);
        r.shape = explicit_shape;
      }
    }
    ++r.dims;
    if (scan.cur_token != tok_comma) break;
    scan_token(operand_mode);
  }
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return nullptr;
  }
  scan_token(flags);
  if (r.failed) return nullptr;
  type* t = array_type(element ? element : unknown_type(), r.dims);
  t->shape_kind = static_cast<uint8_t>(r.shape);
  t->corresp.decl_position = open_pos;
  if (element) t->corresp.scope_depth = element->corresp.scope_depth;
  for (uint32_t i = 0; i < r.dims; ++i) {
    t->bound_info->lower(i) = r.lower[i];
    t->bound_info->upper(i) = r.upper[i];
  }
  type_storage_size(t);
  return t;
}
