// Type specifiers of declarations, IMPLICIT letter groups and FUNCTION
// prefixes: the keyword dispatch, kind selectors, CHARACTER lengths and
// kinds, TYPE(name), and the name*len form. Every result is a canonical IL
// type from the kind table, or the error type after a reported failure.
#include "frontend/parser/type_specifiers.h"

#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/type_prefix.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"

TypeSpecState type_spec;

namespace {

// Scans the token after the specifier, noting where the specifier ended.
int spec_scan(uint32_t flags) {
  type_spec.before_next = scan_save();
  return scan_token(flags);
}

// A failed specifier: the error type, and the scanner taken as it stands.
int spec_fail() {
  type_spec.declared_type = error_type();
  type_spec.before_next = scan_save();
  return 0;
}

// Whether an atom spells a selector keyword ("KIND", "LEN") in any case.
bool is_word(const atom* a, const char* word) {
  if (!a || !a->text) return false;
  size_t n = std::strlen(word);
  if (a->length != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (name_fold[static_cast<unsigned char>(a->text[i])] != static_cast<unsigned char>(word[i])) return false;
  return true;
}

object* unit_routine() { return unit_routine_of_level(symtab.cur_scope); }

// The constant integer value of a kind expression; ok cleared when it has
// none (250 when it is not INTEGER; silent after an earlier failure).
int32_t kind_value_of(expr_node* e, bool* ok) {
  if (!e || e->node_kind == enk_error || !check_ok(check_expr(e, 0, unit_routine()))) {
    *ok = false;
    return 0;
  }
  if (e->type && e->type->type_code != tk_integer && e->type->type_code != tk_unknown &&
      e->type->type_code != tk_error) {
    error_at(250, e->source_pos);
    *ok = false;
    return 0;
  }
  const_value v;
  // A kind that is not constant is reported; an error constant was already.
  if (!evaluate_constant_expression(e, &v, 1) || v.c.kind != ck_value) {
    *ok = false;
    return 0;
  }
  if (!v.c.type || v.c.type->type_code != tk_integer) {
    error_at(250, e->source_pos);
    *ok = false;
    return 0;
  }
  return const_int(&v);
}

// One expression of a selector, ")" and "," being stop tokens meanwhile.
expr_node* selector_expr() {
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  expr_node* e = parse_expr_prec(0);
  stop_token_lower(tok_comma);
  stop_token_lower(tok_rparen);
  return e;
}

// The canonical type of a family's kind value; 98 and the error type when
// the kind has none.
type* family_type(int code, int32_t kind, source_pos_record pos) {
  int error = 0;
  type* t = nullptr;
  switch (code) {
    case tok_integer: t = integer_type_for_kind(kind, &error); break;
    case tok_real: t = real_type_for_kind(kind, &error); break;
    case tok_complex: t = complex_type_for_kind(kind, &error); break;
    default: t = logical_type_for_kind(kind, &error); break;
  }
  if (error || !t) {
    error_at(98, pos);
    return error_type();
  }
  return t;
}

type* family_default(int code) {
  switch (code) {
    case tok_integer: return default_integer_type();
    case tok_real: return default_real_type();
    case tok_complex: return default_complex_type();
    default: return default_logical_type();
  }
}

// The old *n form of a numeric or logical type: n bytes (COMPLEX*16 has
// parts of 8 bytes).
type* family_star_size(int code) {
  source_pos_record pos = scan.token_pos;
  int t = scan_token(scan_no_kind_suffix | scan_integer_only | scan_no_hollerith);
  if (t != tok_int_const) {
    syntax_error(225);
    return nullptr;
  }
  int32_t bytes = const_int(&token_constant);
  if (code == tok_complex) bytes /= 2;
  int family = code == tok_integer ? kf_integer : code == tok_logical ? kf_logical : kf_real;
  int32_t kind = -1;
  for (uint32_t i = 0; const kind_row* row = kind_row_of(family, i); ++i)
    if (static_cast<int32_t>(row->size) == bytes) kind = row->kind_value;
  return family_type(code, kind, pos);
}

int parse_family_spec(int code, uint32_t flags) {
  int t = spec_scan(flags);
  if (t == tok_star) {
    type* r = family_star_size(code);
    if (!r) return spec_fail();
    type_spec.declared_type = r;
    spec_scan(flags);
    return 1;
  }
  if (t != tok_lparen) {
    type_spec.declared_type = family_default(code);
    return 1;
  }
  scan_token(argument_list_mode);
  source_pos_record pos = scan.token_pos;
  bool ok = true;
  int32_t kind = parse_kind_selector(&ok);
  type* r = ok ? family_type(code, kind, pos) : error_type();
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return spec_fail();
  }
  type_spec.declared_type = r;
  spec_scan(flags);
  return 1;
}

// The length item of a char-selector: "*" or an expression.
struct char_length_item {
  bool given;        // a length was written
  bool assumed;      // it was "*"
  expr_node* expr;   // its expression otherwise
};

void read_length_item(char_length_item* len) {
  len->given = true;
  if (scan.cur_token == tok_star) {
    len->assumed = true;
    scan_token(argument_list_mode);
    return;
  }
  len->expr = selector_expr();
}

// Checks a written length expression: a constant one gives its value in
// *length (a negative one 0), any other stays in *length_expr. false when
// the check failed (reported).
bool check_length_expr(expr_node* e, uint32_t* length, expr_node** length_expr) {
  if (!e || e->node_kind == enk_error || !check_ok(check_expr(e, 0, unit_routine()))) return false;
  const_value v;
  if (evaluate_constant_expression(e, &v, 0) && v.c.kind == ck_value && v.c.type &&
      v.c.type->type_code == tk_integer) {
    int32_t n = const_int(&v);
    *length = n > 0 ? static_cast<uint32_t>(n) : 0;
  } else {
    *length_expr = e;
  }
  return true;
}

// The character type of a char-selector's parts; null after a failure.
type* char_selector_type(const char_length_item& len, expr_node* kind_expr, bool* ok) {
  int32_t kind = kind_table[kind_family_first_row[kf_character]].kind_value;
  source_pos_record kind_pos = kind_expr ? kind_expr->source_pos : scan.token_pos;
  if (kind_expr) kind = kind_value_of(kind_expr, ok);
  uint32_t length = 1;
  expr_node* length_expr = nullptr;
  if (len.given && !len.assumed) *ok = check_length_expr(len.expr, &length, &length_expr);
  if (!*ok) return nullptr;
  int error = 0;
  type* assumed = assumed_character_type_for_kind(kind, &error);
  if (error || !assumed) {
    error_at(98, kind_pos);
    return nullptr;
  }
  if (len.assumed) return assumed;
  if (length_expr) {
    type* t = new_type(tk_fcharacter);
    copy_type_entry(assumed, t);
    t->length.kind = bk_expression;
    t->length.expr = length_expr;
    t->length.value = 0;
    return t;
  }
  return character_type_for_kind(kind, length, &error);
}

// ( char-selector ), the current token on the first item.
type* parse_char_selector(bool* ok) {
  char_length_item len{};
  expr_node* kind_expr = nullptr;
  bool len_keyword = false;
  for (int item = 0; item < 2; ++item) {
    if (scan.cur_token == tok_keyword_arg && is_word(scan.token_atom, "KIND")) {
      if (kind_expr) {
        error_here(407);
        *ok = false;
      }
      scan_token(operand_mode);
      kind_expr = selector_expr();
    } else if (scan.cur_token == tok_keyword_arg && is_word(scan.token_atom, "LEN")) {
      if (len.given) {
        error_here(407);
        *ok = false;
      }
      len_keyword = true;
      scan_token(operand_mode);
      len = {};
      read_length_item(&len);
    } else if (scan.cur_token == tok_keyword_arg) {
      error_here(123);
      *ok = false;
      scan_token(operand_mode);
      selector_expr();
    } else if (item == 0) {
      read_length_item(&len);
    } else {
      // A positional second item is the kind.
      if (len_keyword) {
        error_here(387);
        *ok = false;
      } else if (kind_expr) {
        error_here(407);
        *ok = false;
      }
      kind_expr = selector_expr();
    }
    if (scan.cur_token != tok_comma || item == 1) break;
    scan_token(argument_list_mode);
  }
  if (!*ok) return nullptr;
  return char_selector_type(len, kind_expr, ok);
}

// The first in-scope symbol of a name at a level not above `level` (COMMON
// block names passed over); it counts only when it lies at that level.
symbol_entry* symbol_at_or_below(atom* name, int level) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name) {
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block || s->level > level) continue;
    if (s->level != level) return nullptr;
    if (s->cls == sym_alias && s->entity) return static_cast<symbol_entry*>(s->entity.get());
    return s;
  }
  return nullptr;
}

}  // namespace

void type_spec_reset() { type_spec = TypeSpecState{}; }

int32_t parse_kind_selector(bool* ok) {
  bool bad_keyword = false;
  source_pos_record keyword_pos = scan.token_pos;
  if (scan.cur_token == tok_keyword_arg) {
    bad_keyword = !is_word(scan.token_atom, "KIND");
    scan_token(operand_mode);
  }
  expr_node* e = selector_expr();
  if (!e || e->node_kind == enk_error || !check_ok(check_expr(e, 0, unit_routine()))) {
    *ok = false;
    return 0;
  }
  if (bad_keyword) {
    error_at(123, keyword_pos);
    *ok = false;
    return 0;
  }
  return kind_value_of(e, ok);
}

int parse_integer_type_spec(uint32_t flags) { return parse_family_spec(tok_integer, flags); }
int parse_real_type_spec(uint32_t flags) { return parse_family_spec(tok_real, flags); }
int parse_complex_type_spec(uint32_t flags) { return parse_family_spec(tok_complex, flags); }
int parse_logical_type_spec(uint32_t flags) { return parse_family_spec(tok_logical, flags); }

int parse_character_type_spec(uint32_t flags) {
  type_spec.char_star_form = false;
  int t = spec_scan(flags);
  if (t == tok_star) {
    type_spec.char_star_form = true;
    type* r = parse_char_length(default_character_type(1), flags);
    type_spec.declared_type = r->type_code == tk_error ? default_character_type(1) : r;
    return 1;
  }
  if (t != tok_lparen) {
    type_spec.declared_type = default_character_type(1);
    return 1;
  }
  scan_token(argument_list_mode);
  bool ok = true;
  type* r = parse_char_selector(&ok);
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return spec_fail();
  }
  type_spec.declared_type = ok && r ? r : error_type();
  spec_scan(flags);
  return 1;
}

type* parse_char_length(type* base, uint32_t flags) {
  bool character = base && base->type_code == tk_fcharacter;
  int t = scan_token(scan_no_kind_suffix | scan_integer_only | scan_no_hollerith);
  if (t == tok_int_const) {
    int32_t n = const_int(&token_constant);
    uint32_t length = n > 0 ? static_cast<uint32_t>(n) : 0;
    type* r = base;
    if (character) {
      int error = 0;
      r = character_type(base->kind, false, length, &error);
      if (error || !r) r = error_type();
    }
    spec_scan(flags);
    return r;
  }
  if (t == tok_lparen) {
    type* r = base;
    t = scan_token(operand_mode);
    if (t == tok_star && character) {
      int error = 0;
      r = character_type(base->kind, true, 0, &error);
      if (error || !r) r = error_type();
      scan_token(after_operand_mode);
    } else {
      stop_token_raise(tok_rparen);
      expr_node* e = parse_expr_prec(0);
      stop_token_lower(tok_rparen);
      // *(expr) is the length as in (LEN=expr): a constant expression, such
      // as a named constant, gives the canonical type of that length.
      uint32_t length = 0;
      expr_node* length_expr = nullptr;
      if (character && !check_length_expr(e, &length, &length_expr)) {
        r = error_type();
      } else if (character && length_expr) {
        r = new_type(tk_fcharacter);
        copy_type_entry(base, r);
        r->length.kind = bk_expression;
        r->length.expr = length_expr;
        r->length.value = 0;
      } else if (character) {
        int error = 0;
        r = character_type(base->kind, false, length, &error);
        if (error || !r) r = error_type();
      }
    }
    if (scan.cur_token != tok_rparen) {
      error_here(231);
      while (scan.cur_token != tok_eos && scan.cur_token != tok_name && scan.cur_token != tok_comma &&
             scan.cur_token != tok_lparen && scan.cur_token != tok_rparen)
        scan_token(flags);
      if (scan.cur_token == tok_rparen) spec_scan(flags);
      type_spec.before_next = scan_save();
      return r;
    }
    spec_scan(flags);
    return r;
  }
  if (t == tok_name) {
    error_here(208);
    spec_scan(flags);
    return error_type();
  }
  error_here(225);
  type_spec.before_next = scan_save();
  return error_type();
}

int parse_derived_type_spec(uint32_t flags) {
  if (scan_token(operand_mode) != tok_lparen) {
    syntax_error(228);
    return spec_fail();
  }
  type* r = error_type();
  if (scan_token(operand_mode) != tok_name) {
    error_here(218);
  } else {
    name_pos_record np = current_name_token();
    int cur = symtab.cur_scope;
    symbol_entry* s = nullptr;
    if (decl_ctx.in_type_definition)
      s = symbol_at_or_below(np.name, cur > 0 ? cur - 1 : 0);
    else if (decl_ctx.in_implicit_stmt)
      s = symbol_at_or_below(np.name, cur);
    else
      s = resolve_alias_chain(np.name ? np.name->first_symbol : nullptr, cur);
    symbol_entry* d = type_spec_derived_lookup(s, &np);
    if (d && d->entity) r = static_cast<type*>(d->entity.get());
    scan_token(after_operand_mode);
  }
  if (scan.cur_token != tok_rparen) {
    syntax_error(231);
    return spec_fail();
  }
  type_spec.declared_type = r;
  spec_scan(flags);
  return 1;
}

bool is_type_spec_keyword(int code) {
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

// The keyword of a specifier, with the split forms IN + TEGER, DOUBLE +
// PRECISION and DO + UBLE + PRECISION merged (0 when none).
static int merged_type_keyword() {
  int code = scan.cur_token;
  auto accept = [](int want) {
    scan_cursor before = scan_save();
    if (scan_token(keyword_mode) == want) return true;
    scan_restore(before);
    return false;
  };
  switch (code) {
    case tok_in: return accept(tok_tail_teger) ? tok_integer : 0;
    case tok_double: return accept(tok_precision) ? tok_doubleprecision : 0;
    case tok_do: return accept(tok_tail_uble) && accept(tok_precision) ? tok_doubleprecision : 0;
    default: return is_type_spec_keyword(code) ? code : 0;
  }
}

int parse_type_spec(uint32_t flags) {
  switch (merged_type_keyword()) {
    case tok_integer: return parse_integer_type_spec(flags);
    case tok_real: return parse_real_type_spec(flags);
    case tok_complex: return parse_complex_type_spec(flags);
    case tok_logical: return parse_logical_type_spec(flags);
    case tok_doubleprecision:
      type_spec.declared_type = double_precision_type();
      spec_scan(flags);
      return 1;
    case tok_character: return parse_character_type_spec(flags);
    case tok_type: return parse_derived_type_spec(flags);
    default:
      syntax_error(239);
      return spec_fail();
  }
}

bool implicit_has_selector() {
  scan_cursor before = scan_save();
  bool found = false;
  int t = scan_token(quiet_mode);
  if (t == tok_star) {
    found = true;
  } else if (t == tok_lparen) {
    skip_paren_group();
    found = scan.cur_token == tok_rparen && scan_token(quiet_mode) == tok_lparen;
  }
  scan_restore(before);
  return found;
}

int parse_implicit_type_spec(uint32_t flags) {
  int code = merged_type_keyword();
  switch (code) {
    case tok_integer:
    case tok_real:
    case tok_complex:
    case tok_logical:
    case tok_character:
      if (implicit_has_selector())
        return code == tok_character ? parse_character_type_spec(flags) : parse_family_spec(code, flags);
      type_spec.declared_type = code == tok_character ? default_character_type(1) : family_default(code);
      spec_scan(flags);
      return 1;
    case tok_doubleprecision:
      type_spec.declared_type = double_precision_type();
      spec_scan(flags);
      return 1;
    case tok_type: {
      decl_ctx.in_implicit_stmt = true;
      int r = parse_derived_type_spec(flags);
      decl_ctx.in_implicit_stmt = false;
      return r;
    }
    default:
      error_here(239);
      return spec_fail();
  }
}

bool token_name_equals(const char* text) {
  if (scan.cur_token != tok_name || !scan.token_atom || !text) return false;
  const char* a = scan.token_atom->text;
  if (names.case_sensitive_identifiers) return std::strcmp(a, text) == 0;
  for (;; ++a, ++text) {
    if (name_fold[static_cast<unsigned char>(*a)] != name_fold[static_cast<unsigned char>(*text)]) return false;
    if (!*a) return true;
  }
}

int assign_operator_for_type(type* t) {
  switch (t ? static_cast<int>(t->type_code) : static_cast<int>(tk_error)) {
    case tk_integer:
    case tk_logical: return eok_iassign;
    case tk_float: return eok_fassign;
    case tk_complex: return eok_xassign;
    case tk_fcharacter: return eok_cassign;
    case tk_derived_type: return eok_sassign;
    default: return 0;
  }
}

// ---- The FUNCTION prefix: the specifier read up to its last token ----

bool is_prefix_type_keyword(int code) { return is_type_spec_keyword(code); }

type* parse_prefix_type(int code) {
  scan.cur_token = code;
  type_spec.before_next = scan_save();
  decl_ctx.in_function_prefix = true;
  parse_type_spec(keyword_mode);
  decl_ctx.in_function_prefix = false;
  scan_restore(type_spec.before_next);
  return type_spec.declared_type ? type_spec.declared_type : error_type();
}
