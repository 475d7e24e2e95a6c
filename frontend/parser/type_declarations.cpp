// Type-declaration statements (type specifier, attribute list, entities with
// their shapes, lengths and initial values) and DIMENSION, ALLOCATABLE,
// POINTER, TARGET and PARAMETER. Every entity is an attribute set that goes
// through attr_check and attr_apply.
#include "frontend/parser/type_declarations.h"

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/types.h"
#include "frontend/parser/array_specs.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/parser/type_specifiers.h"

namespace {

attr_set attrs_of(std::initializer_list<int> list) {
  attr_set s;
  for (int a : list) s[a] = 1;
  return s;
}

bool has_shape(const attr_set& set) {
  return set[attr_explicit_shape] || set[attr_deferred_shape] || set[attr_assumed_shape] ||
         set[attr_assumed_size];
}

// Sets the one shape attribute of an array type, dropping any other.
void set_shape(attr_set& set, const type* array) {
  set[attr_explicit_shape] = set[attr_deferred_shape] = set[attr_assumed_shape] =
      set[attr_assumed_size] = 0;
  set[shape_attribute(array)] = 1;
}

// The element type of a type (the type itself when it is no array).
type* base_of(type* t) { return t && t->type_code == tk_farray && t->element_type ? t->element_type : t; }

// Adds an attribute of the statement's list; 176 when it may not be repeated
// and was given already.
void add_attribute(attr_set& set, int a) {
  if (set[a] && attrs.matrix[a][a] == attr_rule_conflict) error_at(176, loop.stmt_pos);
  set[a] = 1;
}

// INTENT ( spec ) inside the attribute list, the current token on "(".
int intent_attribute(attr_set& set) {
  set[attr_variable] = 1;
  if (set[attr_intent_in] || set[attr_intent_out] || set[attr_intent_inout]) {
    error_at(176, loop.stmt_pos);
    attr_set scratch;
    return parse_intent_spec(&scratch);
  }
  return parse_intent_spec(&set);
}

// 525 for a word that is no attribute. The statement goes on at "::" when
// one follows, so that its entities are still declared (1); else 0.
int bad_attribute() {
  stop_token_raise(tok_double_colon);
  syntax_error(525);
  stop_token_lower(tok_double_colon);
  return scan.cur_token == tok_double_colon;
}

// One attribute of the list, the current token on its keyword; the token
// after it is left current. 0 after a syntax error.
int parse_attribute(attr_set& set) {
  int unit = current_program_unit_class();
  switch (scan.cur_token) {
    case tok_allocatable:
      if (unit == uc_block_data) {
        error_here(8);
      } else {
        add_attribute(set, attr_allocatable);
        set[attr_variable] = 1;
      }
      break;
    case tok_dimension: {
      scan_token(operand_mode);
      type* t = parse_array_spec(type_spec.declared_type, expression_mode);
      if (has_shape(set)) {
        error_at(176, loop.stmt_pos);
      } else if (t) {
        type_spec.declared_type = t;
        set_shape(set, t);
      }
      return 1;
    }
    case tok_external:
      if (unit == uc_block_data)
        error_here(257);
      else
        add_attribute(set, attr_external);
      break;
    case tok_in:
      if (scan_token(keyword_mode) != tok_tail_tent) return bad_attribute();
      [[fallthrough]];
    case tok_intent:
      if (scan_token(expression_mode) != tok_lparen) {
        syntax_error(228);
        return 0;
      }
      return intent_attribute(set);
    case tok_intrinsic: add_attribute(set, attr_intrinsic); break;
    case tok_optional: add_attribute(set, attr_optional); break;
    case tok_parameter:
      add_attribute(set, attr_parameter);
      set[attr_variable] = 1;
      break;
    case tok_pointer: add_attribute(set, attr_pointer); break;
    case tok_private:
    case tok_public:
      if (unit != uc_module)
        error_here(39);
      else
        add_attribute(set, scan.cur_token == tok_public ? attr_public : attr_private);
      break;
    case tok_save:
      if (current_scope_record().flags & scopef_save_all) error_here(6);
      add_attribute(set, attr_save);
      set[attr_variable] = 1;
      break;
    case tok_target:
      add_attribute(set, attr_target);
      set[attr_variable] = 1;
      break;
    default:
      return bad_attribute();
  }
  scan_token(expression_mode);
  return 1;
}

// A list of entities separated by ",", each read by one().
template <class Entity>
void entity_list(Entity one) {
  stop_token_raise(tok_comma);
  for (;;) {
    one();
    if (scan.cur_token == tok_comma) {
      scan_token(expression_mode);
      continue;
    }
    if (at_end_of_statement()) break;
    syntax_error(206);
    if (scan.cur_token != tok_comma) break;
    scan_token(expression_mode);
  }
  stop_token_lower(tok_comma);
}

// ALLOCATABLE, POINTER, TARGET: [::] name [( spec )] {, name [( spec )]}
int array_entity_stmt(const attr_set& set) {
  if (scan_after_keyword(expression_mode) == tok_double_colon) scan_token(expression_mode);
  entity_list([&] { parse_array_entity(set, false, false, expression_mode); });
  return 1;
}

}  // namespace

symbol_entry* parse_entity_decl(attr_set set, bool colons) {
  entity_decl.entity_init_expr = nullptr;
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    return nullptr;
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = declared_here(np);
  scan_token(after_operand_mode);
  if (scan.cur_token == tok_lparen) {
    type* element = set[attr_type_supplied] ? base_of(entity_decl.entity_type) : unknown_type();
    if (type* t = parse_array_spec(element, after_operand_mode)) entity_decl.entity_type = t;
  }
  type* et = entity_decl.entity_type;
  if (et && et->type_code == tk_farray) set_shape(set, et);
  bool bad_length = false;
  type* base = base_of(et);
  if (scan.cur_token == tok_star) {
    if (!set[attr_type_supplied] || !base || base->type_code != tk_fcharacter) {
      // The rest of the entity is skipped; the name is still declared.
      syntax_error(312);
      bad_length = true;
    }
  }
  if (scan.cur_token == tok_star && !bad_length) {
    type* c = parse_char_length(base, after_operand_mode);
    if (c->type_code != tk_error) {
      if (et->type_code == tk_farray) {
        type* t = new_type(tk_farray);
        copy_type_entry(et, t);
        t->element_type = c;
        type_storage_size(t);
        entity_decl.entity_type = t;
      } else {
        entity_decl.entity_type = c;
      }
    }
  }
  if (scan.cur_token == tok_equals) {
    if (!colons) error_here(1);
    stop_token_lower(tok_comma);
    scan_token(operand_mode);
    entity_decl.entity_init_expr = parse_expr_prec(0);
    stop_token_raise(tok_comma);
    set[attr_initialized] = 1;
    set[attr_variable] = 1;
  } else if (set[attr_parameter]) {
    if (!bad_length) error_here(202);
    set[attr_parameter] = 0;
  }
  attr_check(s, &set, np.pos);
  return attr_apply(s, &set, &np);
}

symbol_entry* parse_array_entity(const attr_set& set, bool paren_required, bool in_common,
                                 uint32_t flags) {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    return nullptr;
  }
  entity_decl.entity_init_expr = nullptr;
  type* declared = entity_decl.entity_type;
  name_pos_record np = current_name_token();
  symbol_entry* s = declared_here(np);
  attr_set request = set;
  if (scan_token(flags) == tok_lparen) {
    type* element = request[attr_type_supplied] ? base_of(declared) : unknown_type();
    if (type* t = parse_array_spec(element, flags)) {
      entity_decl.entity_type = t;
      set_shape(request, t);
      if (in_common && t->shape_kind != explicit_shape) error_at(590, t->corresp.decl_position);
    }
  } else if (paren_required) {
    syntax_error(228);
    return nullptr;
  }
  int ok = attr_check(s, &request, np.pos);
  s = attr_apply(s, &request, &np);
  entity_decl.entity_type = declared;
  return ok ? s : nullptr;
}

// type-spec [[, attr-spec]... ::] entity [, entity]...
// (also CHARACTER*len [,] entity [, entity]...)
int type_decl_stmt() {
  int t = scan_statement_start(keyword_mode);
  scan.cur_token = read_statement_keyword(t);
  if (!parse_type_spec(expression_mode)) return 0;
  type* declared = type_spec.declared_type;
  attr_set set = attrs_of({attr_type_supplied});
  if (decl_ctx.in_type_definition) {
    set[attr_variable] = 1;
    set[attr_component] = 1;
  }
  if (declared->type_code == tk_fcharacter && declared->length.kind == bk_assumed) set[attr_assumed_length] = 1;
  bool colons = false;
  if (scan.cur_token == tok_comma && declared->type_code == tk_fcharacter && type_spec.char_star_form &&
      !quiet_peek_for(tok_double_colon)) {
    // The old optional comma after CHARACTER*len.
    if (decl_ctx.in_type_definition) error_here(393);
    scan_token(expression_mode);
  } else if (scan.cur_token == tok_comma) {
    do {
      scan_token(keyword_mode);
      if (!parse_attribute(set)) return 0;
    } while (scan.cur_token == tok_comma);
    if (scan.cur_token != tok_double_colon) {
      syntax_error(213);
      return 0;
    }
    colons = true;
    scan_token(expression_mode);
  } else if (scan.cur_token == tok_double_colon) {
    colons = true;
    scan_token(expression_mode);
  }
  // DIMENSION in the list made the declared type an array.
  declared = type_spec.declared_type;
  entity_list([&] {
    entity_decl.entity_type = declared;
    parse_entity_decl(set, colons);
  });
  entity_decl.entity_type = nullptr;
  return 1;
}

// DIMENSION [::] name ( spec ) {, name ( spec )}
int parse_dimension_stmt() {
  if (scan_after_keyword(expression_mode) == tok_double_colon) scan_token(expression_mode);
  entity_list([] { parse_array_entity(attr_set{}, true, false, expression_mode); });
  return 1;
}

// ALLOCATABLE [::] name [( spec )] {, ...}
int parse_allocatable_stmt() { return array_entity_stmt(attrs_of({attr_variable, attr_allocatable})); }

// POINTER [::] name [( spec )] {, ...}
int parse_pointer_stmt() { return array_entity_stmt(attrs_of({attr_pointer})); }

// TARGET [::] name [( spec )] {, ...}
int parse_target_stmt() { return array_entity_stmt(attrs_of({attr_variable, attr_target})); }

// PARAMETER ( name = expr {, name = expr} )
int parse_parameter_stmt() {
  if (scan_after_keyword(expression_mode) != tok_lparen) {
    syntax_error(228);
    return 0;
  }
  scan_token(expression_mode);
  const attr_set set = attrs_of({attr_parameter, attr_initialized, attr_variable});
  stop_token_raise(tok_comma);
  stop_token_raise(tok_rparen);
  for (;;) {
    entity_decl.entity_type = nullptr;
    entity_decl.entity_init_expr = nullptr;
    if (scan.cur_token != tok_name) {
      syntax_error(218);
    } else {
      name_pos_record np = current_name_token();
      symbol_entry* s = declared_here(np);
      if (scan_token(after_operand_mode) != tok_equals) {
        syntax_error(202);
      } else {
        scan_token(operand_mode);
        entity_decl.entity_init_expr = parse_expr_prec(0);
        attr_set request = set;
        attr_check(s, &request, np.pos);
        attr_apply(s, &request, &np);
      }
    }
    if (scan.cur_token != tok_comma) break;
    scan_token(expression_mode);
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  entity_decl.entity_init_expr = nullptr;
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return 0;
  }
  scan_token(expression_mode);
  return 1;
}
