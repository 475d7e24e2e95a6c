// Derived-type definitions: the TYPE statement that opens one (with its
// access specifier and its own scope level for the components), SEQUENCE,
// and END TYPE, which completes the type from the components declared in
// that level. The components themselves are type-declaration statements.
#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/names.h"
#include "frontend/semantics/storage_association.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/pending_services.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/parser/type_specifiers.h"

namespace {

struct TypeDefinitionState {
  int level;   // scope level of the open definition's components, -1 when none is open
};
TypeDefinitionState typedef_state{-1};

// Whether a definition is open at the current level. A level noted by an
// earlier compilation that ended inside a definition is no longer one.
bool definition_open() {
  return typedef_state.level >= 0 && symtab.cur_scope == typedef_state.level &&
         current_scope_record().kind == sk_type_def;
}

// Completes the open definition: its components become the type's fields
// and its level is closed.
void complete_open_definition() {
  if (definition_open()) derived_type_complete(type_spec.cur_derived_type);
  typedef_state.level = -1;
  type_spec.cur_derived_type = nullptr;
}

// PUBLIC or PRIVATE on the TYPE statement, for the type's symbol.
void apply_type_access(symbol_entry* s, bool is_public, source_pos_record pos) {
  if (s->flags & symf_access_explicit) {
    bool was_public = (s->flags & symf_public) != 0;
    const char* name = s->name ? s->name->text : "";
    // Saying it again is a warning; saying the opposite is an error.
    if (was_public == is_public)
      warning_at(4, pos, {name});
    else
      error_at(4, pos, {name});
    return;
  }
  s->flags |= symf_access_explicit;
  if (is_public)
    s->flags |= symf_public;
  else
    s->flags &= ~symf_public;
}

}  // namespace

void end_type_definition() {
  decl_ctx.in_type_definition = false;
  // At END TYPE its handler checks the name first and then completes.
  if (loop.stmt_kind == st_end_type) return;
  complete_open_definition();
}

// TYPE [, PRIVATE | PUBLIC ::] [::] name
// The definition is opened even after a message, so that its components and
// its END TYPE find it.
int parse_type_def_stmt() {
  int t = scan_after_keyword(expression_mode);
  int access = 0;  // tok_private, tok_public or 0
  source_pos_record access_pos = scan.token_pos;
  int ok = 1;
  if (t == tok_comma) {
    t = scan_token(keyword_mode);
    access_pos = scan.token_pos;
    if (t == tok_private || t == tok_public) {
      access = t;
      t = scan_token(expression_mode);
      if (current_program_unit_class() != uc_module) {
        error_at(39, access_pos);
        access = 0;
      }
    } else {
      error_here(200);
      ok = 0;
      while (t != tok_eos && t != tok_double_colon) t = scan_token(quiet_mode);
    }
    if (t == tok_double_colon) {
      t = scan_token(expression_mode);
    } else if (ok) {
      error_here(213);
      ok = 0;
    }
  } else if (t == tok_double_colon) {
    t = scan_token(expression_mode);
  }
  name_pos_record np{nullptr, scan.token_pos};
  symbol_entry* s = nullptr;
  if (t == tok_name) {
    np = current_name_token();
    s = declared_here(np);
  } else if (ok) {
    error_here(218);
    ok = 0;
  }
  s = define_derived_type_name(s, &np);
  type* dt = s && s->entity ? static_cast<type*>(s->entity.get()) : nullptr;
  if (s && access) apply_type_access(s, access == tok_public, access_pos);
  type_spec.cur_derived_type = dt && dt->type_code == tk_derived_type ? dt : nullptr;
  if (s) xref_note(s, np.pos, true);
  scope_push(sk_type_def);
  scope_set_default_access(symtab.cur_scope, true);
  typedef_state.level = symtab.cur_scope;
  if (t == tok_name) {
    scan_token(expression_mode);
  } else {
    while (scan.cur_token != tok_eos) scan_token(quiet_mode);
  }
  return ok;
}

// END TYPE [name]
int parse_end_type_stmt() {
  int t = scan_after_keyword(expression_mode);
  if (!definition_open()) {
    error_at(134, loop.stmt_pos);
    while (scan.cur_token != tok_eos) scan_token(quiet_mode);
    return 1;
  }
  type* dt = type_spec.cur_derived_type;
  int ok = 1;
  if (t == tok_name) {
    const char* want = dt && dt->corresp.name ? dt->corresp.name->text : "";
    if (!token_name_equals(want)) error_here(193, {want});
    scan_token(expression_mode);
  } else if (t != tok_eos) {
    syntax_error(218);
    ok = 0;
  }
  complete_open_definition();
  return ok;
}

// SEQUENCE
int parse_sequence_stmt() {
  scan_after_keyword(expression_mode);
  type* dt = definition_open() ? type_spec.cur_derived_type : nullptr;
  if (!dt) return 1;
  if (dt->is_seq)
    error_at(10, loop.stmt_pos);
  else
    dt->is_seq = true;
  return 1;
}
