// The expression parser: precedence climbing over the operator levels,
// designators with argument lists, subscripts, substrings and components,
// complex constants, array and structure constructors and implied-DO lists.
#include "frontend/parser/expressions.h"

#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/keywords.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/dummies.h"
#include "frontend/model/labels.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/list_append.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/semantics/expr_check.h"

ExpressionState expr_state;

namespace {

constexpr uint32_t arg_mode = argument_list_mode;  // operand mode + keyword names

// Levels of the operators.
enum : int {
  level_defined_binary = 2,
  level_eqv = 3,
  level_or = 4,
  level_and = 5,
  level_not = 6,
  level_relational = 7,
  level_concat = 8,
  level_additive = 9,
  level_multiplicative = 10,
  level_power = 11,
  level_defined_unary = 12,
};

bool is_error(const expr_node* n) { return !n || n->node_kind == enk_error; }


expr_node* error_at_pos(source_pos_record pos) {
  expr_node* n = error_expr_node();
  n->source_pos = pos;
  return n;
}

// The symbol of an operator token (predefined operator or .name.), or null.
symbol_entry* operator_symbol(int token) {
  ::atom* a = nullptr;
  if (token >= tok_power && token <= tok_equals)
    a = intern_cstring(operator_atom_spelling(token));
  else
    a = scan.token_atom;
  if (!a) return nullptr;
  return resolve_alias_chain(a->first_symbol, symtab.cur_scope);
}

// A constant node for the current literal token.
expr_node* literal_node() {
  expr_node* n = const_il_node(&token_constant);
  n->source_pos = scan.token_pos;
  return n;
}

// Whether the parenthesis just opened (scanner after "(") holds a "=" at its
// own level: the shape of an implied-DO. With skip_first the first token
// inside does not count (an input item such as (A = ...) is no implied-DO
// on its own).
bool paren_holds_equals(bool skip_first) {
  scan_cursor saved = scan_save();
  int depth = 0;
  bool found = false;
  for (bool first = true;; first = false) {
    int t = scan_token(quiet_mode);
    if (t == tok_eos) break;
    if (t == tok_lparen || t == tok_lparen_slash) {
      ++depth;
    } else if (t == tok_rparen || t == tok_slash_rparen) {
      if (depth == 0) break;
      --depth;
    } else if (t == tok_equals && depth == 0 && !(first && skip_first)) {
      found = true;
      break;
    }
  }
  scan_restore(saved);
  return found;
}

expr_node* parse_primary(int min_level);
expr_node* parse_designator();
expr_node* parse_substring(expr_node* base);
expr_node* parse_subscripts(expr_node* base);
expr_node* parse_array_constructor();
expr_node* parse_implied_do(bool (*item_parser)(expr_node**), int mode);

// The operator at the current token and the operand read after it at the
// given level; message 519 at the operator when it has no symbol.
struct operator_and_operand {
  symbol_entry* symbol;
  source_pos_record pos;
  expr_node* operand;
};
operator_and_operand read_operator_and_operand(int operand_level) {
  operator_and_operand r{};
  r.pos = scan.token_pos;
  r.symbol = operator_symbol(scan.cur_token);
  scan_token(operand_mode);
  r.operand = parse_expr_prec(operand_level);
  if (!r.symbol) error_at(519, r.pos);
  return r;
}

expr_node* parse_unary_op(int operand_level) {
  operator_and_operand r = read_operator_and_operand(operand_level);
  if (!r.symbol) return error_at_pos(r.pos);
  expr_node* n = new_operator_node(r.symbol, r.operand);
  n->source_pos = r.pos;
  return n;
}

expr_node* parse_binary_op(int level, expr_node* left) {
  operator_and_operand r = read_operator_and_operand(level);
  if (!r.symbol) return error_at_pos(left->source_pos);
  left->next = r.operand;
  expr_node* n = new_operator_node(r.symbol, left);
  n->source_pos = left->source_pos;
  return n;
}

// A signed literal followed by "**" is the negation of a power, not a
// negative base: -2**2 is -(2**2).
expr_node* negated_power() {
  source_pos_record pos = scan.token_pos;
  const_value positive = token_constant;
  if (positive.c.type && positive.c.type->type_code == tk_integer)
    const_set_int(&positive, static_cast<int32_t>(0u - static_cast<uint32_t>(const_int(&positive))));
  else
    const_set_real(&positive, -const_real(&positive));
  expr_node* base = const_il_node(&positive);
  base->source_pos = pos;
  scan_token(after_operand_mode);
  expr_node* power = base;
  while (binary_level(scan.cur_token) == level_power) power = parse_binary_op(level_power, power);
  symbol_entry* minus = resolve_alias_chain(intern_cstring("-")->first_symbol, symtab.cur_scope);
  expr_node* n = minus ? new_operator_node(minus, power) : error_at_pos(pos);
  n->source_pos = pos;
  return n;
}

expr_node* parse_primary(int min_level) {
  source_pos_record pos = scan.token_pos;
  switch (scan.cur_token) {
    case tok_name:
      return parse_designator();
    case tok_int_const:
    case tok_real_const: {
      if (token_text[0] == '-' && scan_peek_char() == '*') {
        scan_cursor saved = scan_save();
        bool power = scan_token(quiet_mode) == tok_power;
        scan_restore(saved);
        if (power) return negated_power();
      }
      expr_node* n = literal_node();
      scan_token(after_operand_mode);
      return n;
    }
    case tok_logical_const:
    case tok_hollerith: {
      expr_node* n = literal_node();
      scan_token(after_operand_mode);
      return n;
    }
    case tok_char_const: {
      expr_node* n = literal_node();
      scan_token(after_operand_mode);
      if (scan.cur_token == tok_lparen) n = parse_substring(n);
      return n;
    }
    case tok_boz_const:
      syntax_error(575);
      return error_at_pos(pos);
    case tok_defined_op:
      if (min_level >= level_defined_unary) error_here(501);
      return parse_unary_op(level_defined_unary);
    case tok_plus:
    case tok_minus:
      if (min_level >= level_additive) error_here(501);
      return parse_unary_op(level_additive);
    case tok_not:
      if (min_level >= level_not) error_here(501);
      return parse_unary_op(level_not);
    case tok_lparen: {
      if (quiet_peek_for(tok_comma) == 1) {
        const_value v;
        bool ok = parse_complex_constant(&v);
        if (!ok) return error_at_pos(pos);
        expr_node* n = const_il_node(&v);
        n->source_pos = pos;
        return n;
      }
      scan_token(operand_mode);
      stop_token_raise(tok_rparen);
      expr_node* inner = parse_expr_prec(0);
      stop_token_lower(tok_rparen);
      inner->allow_reordering = false;
      if (!expect_token(tok_rparen, 231, after_operand_mode)) return error_at_pos(pos);
      return inner;
    }
    case tok_lparen_slash:
      return parse_array_constructor();
    default:
      syntax_error(215);
      return error_at_pos(pos);
  }
}

// The type of a designator node, for "%".
type* designator_type(expr_node* n) {
  type* t = nullptr;
  switch (n->node_kind) {
    case enk_error: return error_type();
    case enk_constant: t = n->constant ? n->constant->type.get() : error_type(); break;
    case enk_object: t = n->object ? n->object->type.get() : error_type(); break;
    case enk_field: t = n->field_var ? n->field_var->type.get() : error_type(); break;
    case enk_subscript:
    case enk_substring:
    case enk_section: t = n->array_expr ? designator_type(n->array_expr) : error_type(); break;
    case enk_name_ref:
    case enk_apply: {
      symbol_entry* s = n->symbol;
      for (int i = 0; s && i < 64; ++i) {
        s = symbol_complete(s);
        if (s && s->cls == sym_alias && s->entity) {
          s = static_cast<symbol_entry*>(s->entity.get());
          continue;
        }
        break;
      }
      if (!s) return error_type();
      name_pos_record np{s->name, n->source_pos};
      s = symbol_as_variable(s, &np);
      object* o = s ? static_cast<object*>(s->entity.get()) : nullptr;
      if (!o || o->corresp.name == names.error_name) return error_type();
      t = o->type;
      break;
    }
    default:
      error_at(241, n->source_pos);
      return error_type();
  }
  if (t && t->type_code == tk_farray && t->element_type) t = t->element_type;
  return t ? t : error_type();
}

// Passes over the "%name(...)(...)" parts of a designator whose base failed.
void skip_component_tail() {
  while (scan.cur_token == tok_percent) {
    if (scan_token(after_operand_mode) != tok_name) return;
    scan_token(after_operand_mode);
    while (scan.cur_token == tok_lparen) {
      skip_paren_group();
      if (scan.cur_token != tok_rparen) return;
      scan_token(after_operand_mode);
    }
  }
}

expr_node* parse_designator() {
  source_pos_record pos = scan.token_pos;
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    return error_at_pos(pos);
  }
  symbol_entry* s = lookup_current_name();
  scan_token(after_operand_mode);
  expr_node* node;
  if (scan.cur_token != tok_lparen) {
    node = new_expr_node(enk_name_ref);
    node->symbol = s;
    node->source_pos = pos;
  } else {
    node = parse_actual_arg_list(s);
    node->source_pos = pos;
    if (node->node_kind == enk_apply && !apply_has_triplet(node) && s) s->flags |= symf_proc_ref;
    if (scan.cur_token == tok_lparen && !is_error(node)) node = parse_substring(node);
  }
  bool failed = false;
  while (!failed && !is_error(node) && scan.cur_token == tok_percent) {
    type* t = designator_type(node);
    if (t->type_code == tk_error) {
      // Reported where the error type came from: the components that follow
      // are passed over without a message.
      skip_component_tail();
      failed = true;
      break;
    }
    if (t->type_code != tk_derived_type) {
      err_pos = node->source_pos;
      syntax_error(579);
      failed = true;
      break;
    }
    if (scan_token(after_operand_mode) != tok_name) {
      syntax_error(218);
      failed = true;
      break;
    }
    ::atom* component_name = scan.token_atom;
    object* component = nullptr;
    for (object* c = t->first_field; c; c = c->next)
      if (c->corresp.name == component_name) {
        component = c;
        break;
      }
    if (!component) {
      syntax_error(70);
      failed = true;
      break;
    }
    expr_node* field = new_expr_node(enk_field);
    field->base_expr = node;
    field->field_var = component;
    field->type = component->type;
    field->source_pos = pos;
    node = field;
    scan_token(after_operand_mode);
    if (scan.cur_token == tok_lparen) {
      if (component->type && component->type->type_code == tk_fcharacter) {
        node = parse_substring(node);
      } else {
        node = parse_subscripts(node);
        if (!is_error(node) && scan.cur_token == tok_lparen) node = parse_substring(node);
      }
      if (is_error(node)) failed = true;
    }
  }
  if (failed && !is_error(node)) expr_set_error(node);
  return node;
}

// The rest of a section triplet [lo]:[hi][:st] or [lo]::st, the current
// token on its first ":" or "::"; lower is the part before it (or null).
expr_node* parse_triplet_rest(expr_node* lower, source_pos_record at) {
  expr_node* tr = new_expr_node(enk_triplet);
  tr->source_pos = lower ? lower->source_pos : at;
  tr->first = lower;
  bool double_colon = scan.cur_token == tok_double_colon;
  scan_token(operand_mode);
  if (double_colon) {
    tr->stride = parse_expr_prec(0);
    return tr;
  }
  if (scan.cur_token != tok_colon && scan.cur_token != tok_comma && scan.cur_token != tok_rparen)
    tr->second = parse_expr_prec(0);
  if (scan.cur_token == tok_colon) {
    scan_token(operand_mode);
    tr->stride = parse_expr_prec(0);
  }
  return tr;
}

expr_node* parse_subscripts(expr_node* base) {
  source_pos_record pos = base->source_pos;
  type* t = designator_type(base);  // the element type of an array
  // The rank comes from the base's own type: a component's is its field's.
  type* own = base->node_kind == enk_field && base->field_var && base->field_var->type
                  ? base->field_var->type.get()
                  : t;
  int rank = -1;  // unknown: no count check
  bool failed = false;
  if (own->type_code == tk_farray) {
    rank = own->rank;
  } else if (own->type_code != tk_unknown && own->type_code != tk_error) {
    error_at(430, pos);
    failed = true;
  }
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  stop_token_raise(tok_colon);
  stop_token_raise(tok_double_colon);
  scan_token(operand_mode);
  expr_node* first = nullptr;
  expr_node* last = nullptr;
  int count = 0;
  bool too_many_reported = false;
  for (;;) {
    ++count;
    if (rank >= 0 && count > rank && !too_many_reported) {
      error_here(450);
      too_many_reported = true;
      failed = true;
    }
    expr_node* item = nullptr;
    source_pos_record item_pos = scan.token_pos;
    if (scan.cur_token != tok_colon && scan.cur_token != tok_double_colon) item = parse_expr_prec(0);
    if (scan.cur_token == tok_colon || scan.cur_token == tok_double_colon)
      item = parse_triplet_rest(item, item_pos);
    if (is_error(item) || (item->node_kind == enk_triplet &&
                           ((item->first && is_error(item->first)) ||
                            (item->second && is_error(item->second)) ||
                            (item->stride && is_error(item->stride)))))
      failed = true;
    list_append(first, last, item);
    if (scan.cur_token != tok_comma) break;
    scan_token(operand_mode);
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  stop_token_lower(tok_colon);
  stop_token_lower(tok_double_colon);
  if (!failed && rank >= 0 && count < rank) {
    error_here(443);
    failed = true;
  }
  expr_node* n;
  if (failed) {
    n = error_at_pos(pos);
  } else {
    n = new_expr_node(enk_subscript);
    n->array_expr = base;
    n->ind_list = first;
    n->source_pos = pos;
    if (t->type_code != tk_error) n->type = t;
  }
  if (!expect_token(tok_rparen, 231, after_operand_mode)) return is_error(n) ? n : error_at_pos(pos);
  return n;
}

expr_node* parse_substring(expr_node* base) {
  source_pos_record pos = base->source_pos;
  stop_token_raise(tok_colon);
  stop_token_raise(tok_rparen);
  scan_token(operand_mode);
  expr_node* lower = nullptr;
  expr_node* upper = nullptr;
  bool failed = false;
  if (scan.cur_token != tok_colon) {
    lower = parse_expr_prec(0);
    failed = is_error(lower);
  }
  if (!expect_token(tok_colon, 205, operand_mode)) failed = true;
  if (!failed && scan.cur_token != tok_rparen) {
    upper = parse_expr_prec(0);
    failed = is_error(upper);
  }
  stop_token_lower(tok_colon);
  stop_token_lower(tok_rparen);
  expr_node* n;
  if (failed) {
    n = error_at_pos(pos);
  } else {
    expr_node* tr = new_expr_node(enk_triplet);
    tr->first = lower;
    tr->second = upper;
    tr->source_pos = pos;
    n = new_expr_node(enk_substring);
    n->array_expr = base;
    n->ind_list = tr;
    n->source_pos = pos;
    n->type = base->type;
  }
  if (!expect_token(tok_rparen, 231, after_operand_mode)) return error_at_pos(pos);
  return n;
}

expr_node* parse_array_constructor() {
  source_pos_record pos = scan.token_pos;
  stop_token_raise(tok_slash_rparen);
  bool ok = false;
  expr_node* items = nullptr;
  if (expect_token(tok_lparen_slash, 228, operand_mode)) {
    ++expr_state.open_constructors;
    ok = parse_item_list(&items);
    --expr_state.open_constructors;
  }
  if (!expect_token(tok_slash_rparen, 232, after_operand_mode)) ok = false;
  stop_token_lower(tok_slash_rparen);
  if (!ok) return error_at_pos(pos);
  expr_node* n = new_expr_node(enk_constructor);
  n->type = array_type(unknown_type(), 1);
  n->constructor = items;
  n->source_pos = pos;
  return n;
}

// A complex part: [+|-] integer or real literal.
bool parse_complex_part(const_value* out) {
  bool negate = false;
  if (scan.cur_token == tok_plus || scan.cur_token == tok_minus) {
    negate = scan.cur_token == tok_minus;
    scan_token(operand_mode);
  }
  if (scan.cur_token != tok_int_const && scan.cur_token != tok_real_const) {
    syntax_error(221);
    const_init(out);
    return false;
  }
  *out = token_constant;
  if (negate && out->c.kind == ck_value) {
    if (scan.cur_token == tok_int_const)
      const_set_int(out, static_cast<int32_t>(0u - static_cast<uint32_t>(const_int(out))));
    else
      const_set_real(out, -const_real(out));
  }
  scan_token(operand_mode);
  return out->c.kind == ck_value;
}

// Whether the next tokens (scanner after a ",") are a name and "=": the
// start of an implied-DO's loop control.
bool loop_control_follows() {
  if (scan.cur_token != tok_name) return false;
  scan_cursor saved = scan_save();
  bool eq = scan_token(quiet_mode) == tok_equals;
  scan_restore(saved);
  return eq;
}

bool parse_expression_item(expr_node** out) { return parse_expression(out); }

bool parse_variable_item(expr_node** out) { return parse_variable(out); }

// The DATA object parser: name, then its designator; naming the object in
// DATA does not count as a reference.
bool parse_data_object(expr_node** out) {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    *out = error_at_pos(scan.token_pos);
    return false;
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = symbol_here(np.name);
  if (is_host_alias(s)) {
    error_here(112, {np.name && np.name->text ? np.name->text : ""});
    symbol_set_class(s, sym_undeclared);
  }
  bool was_referenced = s && (s->flags & symf_referenced);
  s = symbol_as_variable(s, &np);
  if (s) {
    s->word3 |= varf_data_initialized;
    if (s->entity) static_cast<object*>(s->entity.get())->is_saved = true;
    implicit_type_of(s);
  }
  *out = parse_designator();
  if (s && !was_referenced) s->flags &= ~symf_referenced;
  return !is_error(*out);
}

// One item of an item list: an implied-DO or an item parser's item.
bool parse_list_item(expr_node** out, bool (*item_parser)(expr_node**), int mode, bool input) {
  if (scan.cur_token == tok_lparen && paren_holds_equals(input)) {
    *out = parse_implied_do(item_parser, mode);
    return !is_error(*out);
  }
  return item_parser(out);
}

bool parse_list(expr_node** first, bool (*item_parser)(expr_node**), int mode, bool input) {
  *first = nullptr;
  expr_node* last = nullptr;
  bool ok = true;
  stop_token_raise(tok_comma);
  for (;;) {
    expr_node* item = nullptr;
    if (!parse_list_item(&item, item_parser, mode, input)) ok = false;
    list_append(*first, last, item);
    if (scan.cur_token != tok_comma) break;
    scan_token(operand_mode);
  }
  stop_token_lower(tok_comma);
  return ok;
}

expr_node* parse_implied_do(bool (*item_parser)(expr_node**), int mode) {
  source_pos_record pos = scan.token_pos;
  scan_cursor open = scan_save();
  // 1. The DO variable, found by looking ahead at this parenthesis level.
  ::atom* var_name = nullptr;
  source_pos_record var_pos = null_pos;
  {
    int depth = 0;
    bool remembered = false;
    std::string remembered_text;
    source_pos_record remembered_pos = null_pos;
    int t = scan_token(quiet_mode);
    for (;;) {
      if (t == tok_eos) break;
      if (t == tok_lparen || t == tok_lparen_slash) {
        ++depth;
      } else if (t == tok_rparen || t == tok_slash_rparen) {
        if (depth == 0) break;
        --depth;
      } else if (depth == 0 && t == tok_name) {
        remembered = true;
        remembered_pos = scan.token_pos;
        std::string text(token_text, scan.token_length);
        remembered_text = text;
        t = scan_token(quiet_mode);
        if (t == tok_equals) {
          if (!names.case_sensitive_identifiers)
            for (char& c : text) c = static_cast<char>(name_fold[static_cast<unsigned char>(c)]);
          var_name = name_intern(text);
          var_pos = remembered_pos;
          break;
        }
        continue;
      } else if (depth == 0 && t == tok_equals) {
        if (remembered) {
          scan_restore(open);
          err_pos = remembered_pos;
          syntax_error(369);
          return error_at_pos(pos);
        }
        break;
      } else if (depth == 0 && t == tok_comma) {
        remembered = false;
      }
      t = scan_token(quiet_mode);
    }
  }
  scan_restore(open);
  // 2. Declare the variable.
  symbol_entry* var = nullptr;
  bool own_scope = false;
  uint32_t saved_active = 0;
  symbol_entry* io_var = nullptr;
  if (var_name) {
    name_pos_record np{var_name, var_pos};
    symbol_entry* found = resolve_alias_chain(var_name->first_symbol, symtab.cur_scope);
    if (mode == 1 || expr_state.open_constructors > 0) {
      var = implied_do_var(found, &np);
      if (var) {
        symbol_make_visible(var);
        own_scope = true;
      }
    } else {
      symbol_entry* here = lookup_name(var_name, var_pos);
      var = symbol_as_variable(here, &np);
      if (var) {
        xref_note_use(xref_modification, var, var_pos);
        if (var->cls == sym_variable) {
          if (var->word3 & varf_active_do_var) error_at(476, var_pos);
          saved_active = var->word3 & varf_active_do_var;
          var->word3 |= varf_active_do_var;
          io_var = var;
        }
      }
    }
  }
  // 3. The items up to the loop control.
  expr_node* node = new_expr_node(enk_implied_do);
  node->source_pos = pos;
  stop_token_raise(tok_rparen);
  scan_token(operand_mode);
  bool ok = true;
  expr_node* last = nullptr;
  for (;;) {
    expr_node* item = nullptr;
    if (scan.cur_token == tok_equals) {
      syntax_error(218);
      ok = false;
      break;
    }
    if (!parse_list_item(&item, item_parser, mode, mode == 1 || item_parser == parse_variable_item))
      ok = false;
    list_append(node->expr_list, last, item);
    if (!ok) break;
    if (!expect_token(tok_comma, 206, operand_mode)) {
      ok = false;
      break;
    }
    if (loop_control_follows()) break;
  }
  // 4. The loop control.
  if (ok) {
    expr_node* v = new_expr_node(enk_name_ref);
    v->symbol = var;
    v->source_pos = scan.token_pos;
    node->do_info->variable = v;
    scan_token(operand_mode);  // "="
    scan_token(operand_mode);
    node->do_info->initial_value = parse_expr_prec(0);
    if (expect_token(tok_comma, 206, operand_mode)) {
      node->do_info->final_value = parse_expr_prec(0);
      if (scan.cur_token == tok_comma) {
        scan_token(operand_mode);
        node->do_info->increment = parse_expr_prec(0);
      }
    } else {
      ok = false;
    }
  }
  if (var && own_scope) {
    node->has_a_scope = var->cls == sym_outer_implied_do_var;
    symbol_unlink(var);
  }
  if (io_var) io_var->word3 = (io_var->word3 & ~varf_active_do_var) | saved_active;
  stop_token_lower(tok_rparen);
  if (!expect_token(tok_rparen, 231, after_operand_mode)) ok = false;
  if (!ok) return error_at_pos(pos);
  return node;
}

}  // namespace

// ---------------------------------------------------------------------------

int binary_level(int token) {
  switch (token) {
    case tok_defined_op: return level_defined_binary;
    case tok_eqv:
    case tok_neqv: return level_eqv;
    case tok_or: return level_or;
    case tok_and: return level_and;
    case tok_lt:
    case tok_le:
    case tok_eq:
    case tok_ne:
    case tok_gt:
    case tok_ge: return level_relational;
    case tok_concat: return level_concat;
    case tok_plus:
    case tok_minus: return level_additive;
    case tok_star:
    case tok_slash: return level_multiplicative;
    case tok_power: return level_power;
    default: return 0;
  }
}

expr_node* parse_expr_prec(int min_level) {
  source_pos_record start = scan.token_pos;
  expr_node* left = parse_primary(min_level);
  for (;;) {
    int level = binary_level(scan.cur_token);
    if (level == 0 || level < min_level) break;
    if (level == min_level && level != level_power) break;
    if (!is_error(left)) {
      left->intent_in = true;
      left->intent_out = false;
    }
    left = parse_binary_op(level, left);
  }
  err_pos = start;
  return left;
}

bool parse_expression(expr_node** out) {
  *out = parse_expr_prec(0);
  return !is_error(*out);
}

bool parse_variable(expr_node** out) {
  *out = parse_expr_prec(0);
  return !is_error(*out);
}

expr_node* new_operator_node(symbol_entry* s, expr_node* operands) {
  if (s && s->name == names.error_name) return error_expr_node();
  expr_node* n = new_expr_node(enk_apply);
  n->symbol = s;
  n->operands = operands;
  return n;
}

bool parse_actual_arg(expr_node** out) {
  ::atom* keyword = nullptr;
  bool specifier = false;
  uint8_t spec_code = 0;
  if (scan.cur_token == tok_keyword_arg) {
    keyword = scan.token_atom;
    scan_token(operand_mode);
  } else if (scan.cur_token >= first_specifier_keyword && scan.cur_token <= last_specifier_keyword) {
    specifier = true;
    spec_code = static_cast<uint8_t>(token_to_code(scan.cur_token));
    scan_token(operand_mode);
  }
  *out = parse_expr_prec(0);
  if (keyword) (*out)->arg_keyword = keyword;
  if (specifier) {
    (*out)->is_specifier = true;
    (*out)->specifier = spec_code;
  }
  return !is_error(*out);
}

expr_node* parse_actual_arg_list(symbol_entry* s) {
  source_pos_record pos = scan.token_pos;
  if (!expect_token(tok_lparen, 228, arg_mode)) return error_at_pos(pos);
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  expr_node* first = nullptr;
  expr_node* last = nullptr;
  bool keyword_seen = false;
  bool omitted_reported = false;
  bool has_triplet = false;
  bool failed = false;
  if (scan.cur_token != tok_rparen && scan.cur_token != tok_eos) {
    for (;;) {
      expr_node* item = nullptr;
      if (scan.cur_token == tok_star) {
        if (keyword_seen && !omitted_reported) {
          error_here(387);
          omitted_reported = true;
        }
        source_pos_record star_pos = scan.token_pos;
        if (scan_token(label_mode) == tok_label) {
          name_pos_record np{scan.token_atom, scan.token_pos};
          symbol_entry* found = symbol_here(np.name);
          symbol_entry* l = label_reference(found, &np, lk_executable, false, xref_reference);
          item = new_expr_node(enk_stmt_label_value);
          item->stmt_label_value = l ? static_cast<label*>(l->entity.get()) : nullptr;
          item->type = stmt_label_type();
          item->source_pos = star_pos;
          scan_token(after_operand_mode);
        } else {
          syntax_error(224);
          item = error_at_pos(star_pos);
          failed = true;
        }
      } else {
        source_pos_record item_pos = scan.token_pos;
        bool starts_triplet =
            !keyword_seen && (scan.cur_token == tok_colon || scan.cur_token == tok_double_colon);
        if (!starts_triplet) {
          bool has_keyword = scan.cur_token == tok_keyword_arg;
          if (!parse_actual_arg(&item)) failed = true;
          if (has_keyword) {
            keyword_seen = true;
          } else if (keyword_seen && !omitted_reported) {
            err_pos = item->source_pos;
            error_here(387);
            omitted_reported = true;
          }
        }
        if (!keyword_seen && (scan.cur_token == tok_colon || scan.cur_token == tok_double_colon)) {
          expr_node* tr = parse_triplet_rest(item, item_pos);
          if ((tr->second && is_error(tr->second)) || (tr->stride && is_error(tr->stride)))
            failed = true;
          item = tr;
          has_triplet = true;
        }
      }
      list_append(first, last, item);
      if (scan.cur_token != tok_comma) break;
      scan_token(arg_mode);
    }
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  if (!expect_token(tok_rparen, 231, after_operand_mode)) return error_at_pos(pos);
  if (omitted_reported) return error_at_pos(pos);
  (void)failed;
  // A host name standing alone in the list may be a procedure that the
  // host declares later, unless the list is the subscripts of an array or
  // holds a triplet (a section or a substring).
  if (!has_triplet && !symbol_names_array(s))
    for (expr_node* e = first; e; e = e->next)
      if (e->node_kind == enk_name_ref && e->symbol && e->symbol->cls == sym_host_link)
        e->symbol->word2 |= linkf_actual_argument;
  expr_node* n = new_operator_node(s, first);
  n->source_pos = pos;
  apply_set_triplet(n, has_triplet);
  return n;
}

bool parse_complex_constant(const_value* out) {
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  scan_token(operand_mode);
  const_value re, im;
  bool ok = parse_complex_part(&re);
  if (!expect_token(tok_comma, 206, operand_mode)) {
    ok = false;
  } else if (!parse_complex_part(&im)) {
    ok = false;
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  if (ok && re.c.kind == ck_value && im.c.kind == ck_value) {
    type* rt = re.c.type;
    type* it = im.c.type;
    double r = rt->type_code == tk_integer ? static_cast<double>(const_int(&re)) : const_real(&re);
    double i = it->type_code == tk_integer ? static_cast<double>(const_int(&im)) : const_real(&im);
    uint32_t row;
    if (rt->type_code == tk_integer && it->type_code == tk_integer)
      row = kind_defaults.default_real;
    else if (rt->type_code == tk_integer)
      row = it->kind;
    else if (it->type_code == tk_integer)
      row = rt->kind;
    else
      row = rt->kind > it->kind ? rt->kind : it->kind;
    const_init_sized(out, 16);
    out->c.type = complex_type(row);
    out->c.source_pos = re.c.source_pos;
    const_set_real(out, r, 0);
    const_set_real(out, i, 1);
  } else {
    const_init(out);
    ok = false;
  }
  if (!expect_token(tok_rparen, 231, after_operand_mode)) ok = false;
  return ok;
}

bool parse_structure_constructor(type* t, expr_node** out) {
  source_pos_record pos = scan.token_pos;
  scan_token(after_operand_mode);
  if (!expect_token(tok_lparen, 228, operand_mode)) {
    *out = error_at_pos(pos);
    return false;
  }
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  expr_node* first = nullptr;
  expr_node* last = nullptr;
  bool ok = true;
  object* component = t ? t->first_field.get() : nullptr;
  for (;;) {
    if (!component) {
      error_at(520, scan.token_pos);
      ok = false;
      break;
    }
    expr_node* item = parse_expr_prec(0);
    if (is_error(item)) ok = false;
    if (last)
      last->next = item;
    else
      first = item;
    last = item;
    component = component->next;
    if (scan.cur_token != tok_comma) break;
    scan_token(operand_mode);
  }
  if (ok && component) {
    error_at(521, scan.token_pos);
    ok = false;
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  if (!expect_token(tok_rparen, 231, after_operand_mode)) ok = false;
  if (!ok) {
    *out = error_at_pos(pos);
    return false;
  }
  expr_node* n = new_expr_node(enk_constructor);
  n->type = t;
  n->constructor = first;
  n->source_pos = pos;
  *out = n;
  return true;
}

bool parse_item_list(expr_node** first) { return parse_list(first, parse_expression_item, 0, false); }

bool parse_input_item_list(expr_node** first, int mode) {
  return parse_list(first, mode == 1 ? parse_data_object : parse_variable_item, mode, true);
}
