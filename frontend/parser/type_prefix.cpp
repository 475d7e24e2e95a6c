// The type specifier in front of FUNCTION: the kind selector (n), (KIND=n)
// or *n of the numeric and logical types, DOUBLE PRECISION, CHARACTER with
// *n, *(len), *(*) or (LEN=..., KIND=...), and TYPE(name). Kind values are
// folded as integer constant expressions.
#include "frontend/parser/type_prefix.h"

#include <cstring>

#include "frontend/driver/diagnostics.h"
#include "frontend/driver/literal_constants.h"
#include "frontend/driver/scanner.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/types.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/semantics/constant_eval.h"

namespace {

// The value of an integer constant expression; *ok cleared when it is none
// (reported).
int32_t constant_int(expr_node* e, bool* ok) {
  const_value v;
  evaluate_constant_expression(e, &v, 1);
  if (v.c.kind != ck_value) {
    *ok = false;
    return 0;
  }
  return const_int(&v);
}

// Whether the current name token is the selector keyword word ("KIND", "LEN")
// followed by "=": then both are consumed.
bool selector_keyword(const char* word) {
  if (scan.cur_token != tok_keyword_arg || !scan.token_atom) return false;
  if (std::strcmp(scan.token_atom->text, word) != 0) return false;
  scan_token(operand_mode);
  return true;
}

// A type of the family for a KIND= value; 98 when the kind has none.
type* type_for_kind(int code, int32_t kind, source_pos_record pos) {
  int error = 0;
  type* t = nullptr;
  switch (code) {
    case tok_integer: t = integer_type_for_kind(kind, &error); break;
    case tok_real: t = real_type_for_kind(kind, &error); break;
    case tok_complex: t = complex_type_for_kind(kind, &error); break;
    case tok_logical: t = logical_type_for_kind(kind, &error); break;
    default: t = error_type(); break;
  }
  if (error || !t) {
    error_at(98, pos);
    return error_type();
  }
  return t;
}

type* default_type_of(int code) {
  switch (code) {
    case tok_integer: return default_integer_type();
    case tok_real: return default_real_type();
    case tok_complex: return default_complex_type();
    case tok_logical: return default_logical_type();
    case tok_doubleprecision: return double_precision_type();
    default: return error_type();
  }
}

// The scanner just after the specifier: the token read too far is put back.
void put_back(const scan_cursor& before_token) { scan_restore(before_token); }

type* numeric_prefix(int code) {
  scan_cursor before = scan_save();
  int t = scan_token(operand_mode);
  if (t == tok_star) {
    source_pos_record pos = scan.token_pos;
    t = scan_token(scan_no_kind_suffix | scan_integer_only | scan_no_hollerith);
    if (t != tok_int_const) {
      syntax_error(221);
      return error_type();
    }
    int32_t bytes = const_int(&token_constant);
    // *n gives the size in bytes; COMPLEX*16 has parts of 8 bytes.
    if (code == tok_complex) bytes /= 2;
    int family = code == tok_integer ? kf_integer : code == tok_logical ? kf_logical : kf_real;
    int32_t kind = -1;
    for (uint32_t i = 0; const kind_row* row = kind_row_of(family, i); ++i)
      if (static_cast<int32_t>(row->size) == bytes) kind = row->kind_value;
    return type_for_kind(code, kind, pos);
  }
  if (t != tok_lparen) {
    put_back(before);
    return default_type_of(code);
  }
  scan_token(argument_list_mode);
  selector_keyword("KIND");
  source_pos_record pos = scan.token_pos;
  stop_token_raise(tok_rparen);
  expr_node* e = parse_expr_prec(0);
  stop_token_lower(tok_rparen);
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return error_type();
  }
  bool ok = true;
  int32_t kind = constant_int(e, &ok);
  return ok ? type_for_kind(code, kind, pos) : error_type();
}

// A CHARACTER length: the expression's constant value, or assumed (*).
bool char_length(bool* assumed, uint32_t* length) {
  if (scan.cur_token == tok_star) {
    *assumed = true;
    scan_token(operand_mode);
    return true;
  }
  expr_node* e = parse_expr_prec(0);
  bool ok = true;
  int32_t n = constant_int(e, &ok);
  *length = n > 0 ? static_cast<uint32_t>(n) : 0;
  return ok;
}

type* character_prefix() {
  scan_cursor before = scan_save();
  int t = scan_token(operand_mode);
  bool assumed = false;
  uint32_t length = 1;
  int32_t kind = kind_table[kind_family_first_row[kf_character]].kind_value;
  bool ok = true;
  if (t == tok_star) {
    t = scan_token(scan_no_kind_suffix | scan_integer_only | scan_no_hollerith);
    if (t == tok_int_const) {
      int32_t n = const_int(&token_constant);
      length = n > 0 ? static_cast<uint32_t>(n) : 0;
    } else if (t == tok_lparen) {
      scan_token(operand_mode);
      ok = char_length(&assumed, &length);
      if (scan.cur_token != tok_rparen) {
        syntax_error(231);
        return error_type();
      }
    } else {
      syntax_error(221);
      return error_type();
    }
  } else if (t == tok_lparen) {
    scan_token(argument_list_mode);
    for (int item = 0; item < 2 && ok; ++item) {
      if (selector_keyword("KIND")) {
        source_pos_record pos = scan.token_pos;
        expr_node* e = parse_expr_prec(0);
        kind = constant_int(e, &ok);
        (void)pos;
      } else {
        selector_keyword("LEN");
        ok = char_length(&assumed, &length);
      }
      if (scan.cur_token != tok_comma) break;
      scan_token(argument_list_mode);
    }
    if (scan.cur_token != tok_rparen) {
      syntax_error(231);
      return error_type();
    }
  } else {
    put_back(before);
    return default_character_type(1);
  }
  if (!ok) return error_type();
  int error = 0;
  type* ct = assumed ? assumed_character_type_for_kind(kind, &error)
                     : character_type_for_kind(kind, length, &error);
  if (error || !ct) {
    error_at(98, scan.token_pos);
    return error_type();
  }
  return ct;
}

type* derived_prefix() {
  if (scan_token(operand_mode) != tok_lparen) {
    syntax_error(228);
    return error_type();
  }
  if (scan_token(operand_mode) != tok_name) {
    syntax_error(218);
    return error_type();
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = resolve_alias_chain(np.name ? np.name->first_symbol : nullptr, symtab.cur_scope);
  symbol_entry* d = type_spec_derived_lookup(s, &np);
  if (scan_token(operand_mode) != tok_rparen) {
    syntax_error(231);
    return error_type();
  }
  return d && d->entity ? static_cast<type*>(d->entity) : error_type();
}

}  // namespace

bool is_prefix_type_keyword(int code) {
  switch (code) {
    case tok_character:
    case tok_complex:
    case tok_integer:
    case tok_logical:
    case tok_real:
    case tok_doubleprecision:
    case tok_type:
      return true;
    default:
      return false;
  }
}

type* parse_prefix_type(int code) {
  switch (code) {
    case tok_character: return character_prefix();
    case tok_doubleprecision: return double_precision_type();
    case tok_type: return derived_prefix();
    default: return numeric_prefix(code);
  }
}
