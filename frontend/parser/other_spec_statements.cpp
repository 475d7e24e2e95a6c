// Specification statements that give names attributes without a type:
// INTRINSIC, EXTERNAL, OPTIONAL, INTENT, SAVE, PUBLIC and PRIVATE, NAMELIST,
// and the interface-block statements INTERFACE, END INTERFACE and MODULE
// PROCEDURE. Every name goes through attr_check and attr_apply, so that the
// conflict rules of all declarations live in one table.
#include "frontend/parser/other_spec_statements.h"

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/keywords.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/dummies.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/list_append.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

namespace {

// What the attribute statements remember about the unit. Each note is tied
// to the IL scope of the unit it was made in, so that a new unit starts
// without it.
struct SpecStmtState {
  const scope* save_seen_in;     // unit in which some SAVE was seen
  const scope* access_given_in;  // unit whose default access was given
};
SpecStmtState spec_state;

const scope* current_unit_scope() { return current_scope_record().il_scope; }

const char* text_of(const ::atom* a) { return a && a->text ? a->text : ""; }

attr_set attrs_of(std::initializer_list<int> list) {
  attr_set s;
  for (int a : list) s[a] = 1;
  return s;
}

// Skips an optional "::" (the current token), scanning on with flags.
void skip_double_colon(uint32_t flags) {
  if (scan.cur_token == tok_double_colon) scan_token(flags);
}

// After one item of a list: true when a "," follows (scanned past with
// flags), false at the end of the statement or after 206.
bool next_list_item(uint32_t flags) {
  if (scan.cur_token == tok_eos) return false;
  if (scan.cur_token == tok_comma) {
    scan_token(flags);
    return true;
  }
  err_pos = scan.token_pos;
  syntax_error(206);
  if (scan.cur_token != tok_comma) return false;
  scan_token(flags);
  return true;
}

// name {, name} with the attributes of set; 1 unless a name was missing.
int attr_name_list(const attr_set& set) {
  int ok = 1;
  stop_token_raise(tok_comma);
  do {
    if (!attr_stmt_entity(set)) ok = 0;
  } while (next_list_item(expression_mode));
  stop_token_lower(tok_comma);
  return ok;
}

// A new generic interface symbol at a level, with no name: what an access
// item that is no valid name or operator stands for.
symbol_entry* unnamed_generic(source_pos_record pos, int level) {
  symbol_entry* s = symbol_create(sym_undeclared, nullptr, pos, level);
  name_pos_record np{nullptr, pos};
  s = declare_interface_name(s, &np);
  if (s && s->entity) unit_add_interface(static_cast<interface*>(s->entity.get()), level);
  return s;
}

// The generic symbol of an operator or "=" name at a level: the first
// in-scope symbol of the name counts when it lies at that level; otherwise a
// new generic interface is declared there.
symbol_entry* generic_of(::atom* name, source_pos_record pos, int level) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name) {
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block || s->level > level) continue;
    if (s->level == level) return s;
    break;
  }
  symbol_entry* s = symbol_create(sym_undeclared, name, pos, level);
  name_pos_record np{name, pos};
  s = declare_interface_name(s, &np);
  if (s && s->entity) unit_add_interface(static_cast<interface*>(s->entity.get()), level);
  return s;
}

// The symbol of a plain name at a level, made undeclared when absent.
symbol_entry* name_at_level(::atom* name, source_pos_record pos, int level) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name) {
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block || s->level > level) continue;
    if (s->level == level) return s->cls == sym_alias ? static_cast<symbol_entry*>(s->entity.get()) : s;
    break;
  }
  return symbol_create(sym_undeclared, name, pos, level);
}

// The access statement's item parser for OPERATOR ( op ) and
// ASSIGNMENT ( = ); the current token is "(" after the keyword.
symbol_entry* operator_item(bool assignment, source_pos_record pos, int level) {
  ::atom* name = scan_generic_operator(assignment);
  source_pos_record at = scan.token_pos;
  symbol_entry* s = nullptr;
  if (assignment) {
    if (!name) {
      err_pos = at;
      syntax_error(202);
      return unnamed_generic(pos, level);
    }
    s = generic_of(name, at, level);
  } else if (name) {
    s = generic_of(name, at, level);
  } else {
    error_at(222, at);
    s = unnamed_generic(pos, level);
  }
  scan_token(expression_mode);
  expect_token(tok_rparen, 231, expression_mode);
  return s;
}

// Whether "(" follows the current token.
bool followed_by_lparen() { return scan_peek_char() == '('; }

// Whether a name's text spells the upper-case word, whatever its case.
bool name_fold_equal(const char* text, const char* word) {
  for (; *text && *word; ++text, ++word)
    if (name_fold[static_cast<unsigned char>(*text)] != static_cast<unsigned char>(*word)) return false;
  return *text == *word;
}

}  // namespace

bool is_host_alias(const symbol_entry* s) {
  if (!s || s->cls != sym_host_link) return false;
  const symbol_entry* t = s->link;
  for (int n = 0; t && n < 64; ++n) {
    if (t->cls == sym_alias) {
      t = static_cast<const symbol_entry*>(t->entity.get());
    } else if (t->cls == sym_host_link) {
      t = t->link;
    } else {
      return true;
    }
  }
  return false;
}

symbol_entry* declared_here(const name_pos_record& name) {
  symbol_entry* s = symbol_here(name.name);
  if (!s || s->cls != sym_host_link) return s;
  if (is_host_alias(s)) {
    error_at(112, name.pos, {text_of(name.name)});
    symbol_set_class(s, sym_undeclared);
    return s;
  }
  // A link made by an earlier use of an undeclared name: the name is
  // declared here after all.
  auto* carried = static_cast<type*>(s->entity.get());
  uint32_t uses = s->word2;
  symbol_set_class(s, sym_undeclared);
  if (carried) s->entity = carried;
  if (uses & linkf_referenced) s->flags |= symf_referenced;
  if (uses & linkf_in_bound) s->flags |= symf_in_bound;
  return s;
}

symbol_entry* attr_stmt_entity(const attr_set& set) {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    return nullptr;
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = declared_here(np);
  attr_set request = set;
  attr_check(s, &request, np.pos);
  s = attr_apply(s, &request, &np);
  scan_token(expression_mode);
  return s;
}

int parse_intent_spec(attr_set* set) {
  if (!expect_token(tok_lparen, 228, keyword_mode)) return 0;
  int t = scan.cur_token;
  if (t == tok_in) {
    scan_cursor after_in = scan_save();
    if (scan_token(keyword_mode) == tok_out) {
      (*set)[attr_intent_inout] = 1;
    } else {
      scan_restore(after_in);
      (*set)[attr_intent_in] = 1;
    }
  } else if (t == tok_inout) {
    (*set)[attr_intent_inout] = 1;
  } else if (t == tok_out) {
    (*set)[attr_intent_out] = 1;
  } else {
    error_at(89, scan.token_pos);
    stop_token_raise(tok_rparen);
    recover_to_stop_token();
    stop_token_lower(tok_rparen);
    if (scan.cur_token == tok_rparen) scan_token(expression_mode);
    return 0;
  }
  scan_token(expression_mode);
  return expect_token(tok_rparen, 231, expression_mode);
}

::atom* scan_generic_operator(bool assignment) {
  int t = scan_token(expression_mode | scan_no_slash_rparen);
  if (assignment) return t == tok_equals ? intern_cstring(operator_atom_spelling(tok_equals)) : nullptr;
  if (t == tok_defined_op) return scan.token_atom;
  if (t >= tok_power && t <= tok_neqv) return intern_cstring(operator_atom_spelling(t));
  return nullptr;
}

symbol_entry* access_stmt(source_pos_record* pos, int level) {
  int t = scan.cur_token;
  *pos = scan.token_pos;
  if (t == tok_name || t == tok_assign || t == tok_assignment || t == tok_operator) {
    const char* text = scan.token_atom ? scan.token_atom->text : nullptr;
    bool assignment = false, op = false;
    if (text && followed_by_lparen()) {
      assignment = name_fold_equal(text, "ASSIGNMENT");
      op = name_fold_equal(text, "OPERATOR");
    }
    if (assignment || op) {
      scan_token(expression_mode | scan_single_lparen);  // the "(", never "(/"
      return operator_item(assignment, *pos, level);
    }
    symbol_entry* s = name_at_level(scan.token_atom, *pos, level);
    scan_token(expression_mode);
    return s;
  }
  if (t == tok_eos) return nullptr;
  syntax_error(218);
  return unnamed_generic(*pos, level);
}

// INTRINSIC name {, name}
int parse_intrinsic_stmt() {
  scan_after_keyword(expression_mode);
  return attr_name_list(attrs_of({attr_intrinsic}));
}

// EXTERNAL name {, name}
int parse_external_stmt() {
  scan_after_keyword(expression_mode);
  return attr_name_list(attrs_of({attr_external}));
}

// OPTIONAL [::] name {, name}
int parse_optional_stmt() {
  scan_after_keyword(expression_mode);
  skip_double_colon(expression_mode);
  return attr_name_list(attrs_of({attr_optional}));
}

// INTENT ( spec ) [::] name {, name}
int parse_intent_stmt() {
  scan_after_keyword(expression_mode);
  attr_set set = attrs_of({attr_variable});
  parse_intent_spec(&set);
  skip_double_colon(expression_mode);
  return attr_name_list(set);
}

// SAVE [[::] item {, item}], item = name | / common-block-name /
int parse_save_stmt() {
  scope_record& level = current_scope_record();
  const scope* unit = current_unit_scope();
  if (level.flags & scopef_save_all) error_at(6, loop.stmt_pos);
  constexpr uint32_t flags = expression_mode | scan_single_slash;
  scan_after_keyword(flags);
  if (scan.cur_token == tok_eos) {
    if (spec_state.save_seen_in == unit && !(level.flags & scopef_save_all))
      error_at(419, loop.stmt_pos);
    level.flags |= scopef_save_all;
    spec_state.save_seen_in = unit;
    return 1;
  }
  skip_double_colon(flags);
  attr_set set = attrs_of({attr_variable, attr_save});
  int ok = 1;
  stop_token_raise(tok_comma);
  stop_token_raise(tok_slash);
  do {
    if (scan.cur_token == tok_name) {
      if (!attr_stmt_entity(set)) ok = 0;
      continue;
    }
    if (scan.cur_token != tok_slash) {
      syntax_error(218);
      ok = 0;
      continue;
    }
    source_pos_record at = scan.token_pos;
    int t = scan_token(flags);
    if (t == tok_slash) {
      warning_at(143, at);
      scan_token(flags);
      continue;
    }
    if (t != tok_name) {
      syntax_error(218);
      ok = 0;
      continue;
    }
    name_pos_record np = current_name_token();
    symbol_entry* b = declare_common_block(&np);
    if (auto* r = b ? static_cast<common_block_record*>(b->entity.get()) : nullptr; r && r->storage) {
      // The mark of this unit's SAVE is on the unit's block symbol: another
      // unit may save the same block, and its storage stays saved for all.
      if (b->flags & symf_saved) warning_at(153, np.pos, {text_of(np.name)});
      b->flags |= symf_saved;
      r->storage->is_saved = true;
    }
    scan_token(flags);
    if (!expect_token(tok_slash, 233, flags)) ok = 0;
  } while (next_list_item(flags));
  stop_token_lower(tok_slash);
  stop_token_lower(tok_comma);
  spec_state.save_seen_in = unit;
  return ok;
}

namespace {

// PUBLIC / PRIVATE [[::] item {, item}]
int access_stmt_list(int attribute) {
  const scope* unit = current_unit_scope();
  scan_after_keyword(expression_mode);
  if (scan.cur_token == tok_eos) {
    if (spec_state.access_given_in == unit) {
      error_at(400, loop.stmt_pos);
      return 1;
    }
    spec_state.access_given_in = unit;
    scope_set_default_access(symtab.cur_scope, attribute == attr_public);
    return 1;
  }
  skip_double_colon(expression_mode);
  attr_set set = attrs_of({attribute});
  int ok = 1;
  stop_token_raise(tok_comma);
  do {
    source_pos_record pos{};
    name_pos_record np{scan.cur_token == tok_name ? scan.token_atom : nullptr, scan.token_pos};
    symbol_entry* s = access_stmt(&pos, symtab.cur_scope);
    if (!s) {
      syntax_error(218);
      ok = 0;
      continue;
    }
    if (s->cls == sym_host_link) {
      error_at(112, pos, {text_of(s->name)});
      symbol_set_class(s, sym_undeclared);
    }
    np.name = s->name;
    np.pos = pos;
    attr_set request = set;
    attr_check(s, &request, pos);
    attr_apply(s, &request, &np);
  } while (next_list_item(expression_mode));
  stop_token_lower(tok_comma);
  return ok;
}

}  // namespace

// PUBLIC [[::] access-item {, access-item}]
int parse_public_stmt() { return access_stmt_list(attr_public); }

// PRIVATE [[::] access-item {, access-item}]
int parse_private_stmt() { return access_stmt_list(attr_private); }

// NAMELIST / group / name {, name} [[,] / group / name {, name}] ...
int parse_namelist_stmt() {
  constexpr uint32_t flags = expression_mode | scan_single_slash;
  scan_after_keyword(flags);
  if (scan.cur_token != tok_slash) {
    syntax_error(233);
    return 0;
  }
  stop_token_raise(tok_comma);
  stop_token_raise(tok_slash);
  int ok = 1;
  while (ok && scan.cur_token == tok_slash) {
    // The group name.
    if (scan_token(flags) != tok_name) {
      error_at(218, loop.stmt_pos);
      ok = 0;
      break;
    }
    name_pos_record np = current_name_token();
    symbol_entry* g = declared_here(np);
    attr_set request = attrs_of({attr_namelist});
    attr_check(g, &request, np.pos);
    g = attr_apply(g, &request, &np);
    namelist_group* group = nullptr;
    if (g && g->cls == sym_namelist && g->entity) {
      group = static_cast<namelist_group*>(g->entity.get());
      group->corresp.decl_position = np.pos;
    }
    scan_token(flags);
    if (!expect_token(tok_slash, 233, flags)) {
      ok = 0;
      break;
    }
    if (scan.cur_token != tok_name) {
      syntax_error(218);
      ok = 0;
      break;
    }
    expr_node* last = nullptr;
    for (expr_node* m = group ? group->member_list : nullptr; m; m = m->next) last = m;
    // The members, up to the next "/" or the end of the statement.
    for (;;) {
      if (scan.cur_token != tok_name) {
        syntax_error(218);
        ok = 0;
        break;
      }
      name_pos_record mp = current_name_token();
      // A variable of the host is found too: an internal procedure's group
      // may hold host variables.
      symbol_entry* s = resolve_alias_chain(mp.name ? mp.name->first_symbol : nullptr, symtab.cur_scope);
      s = symbol_as_variable(s, &mp);
      if (s) xref_note_use(xref_reference, s, mp.pos);
      if (s && s->name != names.error_name) {
        s->word3 |= varf_namelist_member;
        auto* o = static_cast<object*>(s->entity.get());
        if (group && o) {
          expr_node* ref = new_expr_node(enk_object);
          ref->source_pos = mp.pos;
          ref->type = o->type;
          ref->object = o;
          if (last)
            last->next = ref;
          else
            group->member_list = ref;
          last = ref;
        }
      }
      int t = scan_token(flags);
      if (t == tok_comma) {
        t = scan_token(flags);
        if (t == tok_slash) break;
        continue;
      }
      if (t == tok_slash || t == tok_eos) break;
      err_pos = scan.token_pos;
      syntax_error(206);
      if (scan.cur_token != tok_comma) break;
      scan_token(flags);
    }
  }
  stop_token_lower(tok_slash);
  stop_token_lower(tok_comma);
  if (ok && scan.cur_token != tok_eos) {
    syntax_error(218);
    ok = 0;
  }
  return ok;
}

// INTERFACE [generic-spec]
int parse_interface_stmt() {
  scan_after_keyword(expression_mode);
  int level = symtab.cur_scope;
  source_pos_record pos{};
  bool was_undeclared = scan.cur_token == tok_name && !symbol_here(scan.token_atom);
  symbol_entry* s = access_stmt(&pos, level);
  if (!s) {
    scope_set_interface(nullptr, level);
    return 1;
  }
  if (s->cls == sym_undeclared || s->cls == sym_host_link) was_undeclared = true;
  if (s->cls != sym_generic) {
    name_pos_record np{s->name, pos};
    s = declare_interface_name(s, &np);
    if (s && s->cls == sym_generic && s->entity)
      unit_add_interface(static_cast<interface*>(s->entity.get()), level);
  }
  if (s && s->cls == sym_generic) scope_set_interface(static_cast<interface*>(s->entity.get()), level);
  if (s) xref_note(s, pos, was_undeclared);
  return skip_to_end_of_statement();
}

// END INTERFACE: the interface block is closed by the statement loop.
int parse_end_interface_stmt() {
  scan_after_keyword(expression_mode);
  return skip_to_end_of_statement();
}

// MODULE PROCEDURE name {, name}
int parse_module_procedure_stmt() {
  scan_after_keyword(expression_mode);
  int level = symtab.cur_scope;
  bool last_was_name = true;
  stop_token_raise(tok_comma);
  do {
    name_pos_record np{nullptr, scan.token_pos};
    symbol_entry* s = nullptr;
    last_was_name = scan.cur_token == tok_name;
    if (last_was_name) {
      np = current_name_token();
      s = declared_here(np);
      scan_token(expression_mode);
    } else {
      syntax_error(218);
    }
    s = declare_module_procedure_name(s, &np);
    if (s && s->name != names.error_name) {
      // The same procedure twice in one interface block.
      if (s->entity && !interface_add_procedure(static_cast<object*>(s->entity.get()), level)) error_at(93, np.pos);
      xref_note_use(xref_reference, s, np.pos);
    }
  } while (next_list_item(expression_mode));
  stop_token_lower(tok_comma);
  return last_was_name ? 1 : 0;
}
