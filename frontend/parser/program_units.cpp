// Program-unit statements and the end of a unit: the unit's scope level and
// statement block are opened by its header and closed by its END statement,
// where unused declarations are reported.
#include "frontend/parser/program_units.h"

#include <string>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/host.h"
#include "frontend/model/line_map.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/dummies.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/other_spec_statements.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/pending_services.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/parser/type_prefix.h"
#include "frontend/semantics/unit_pass.h"

namespace {

// Per scope level: what the unit parsers remember about the level.
struct unit_level_flags {
  bool no_executable_part;  // BLOCK DATA and modules
  bool executable_part_done;  // end_executable_part ran
};
std::vector<unit_level_flags> level_flags;

unit_level_flags& flags_of(int level) {
  if (level < 0) level = 0;
  if (static_cast<size_t>(level) >= level_flags.size()) level_flags.resize(static_cast<size_t>(level) + 1);
  return level_flags[static_cast<size_t>(level)];
}

bool interface_open() { return symtab.interface_depth > 0; }

// The first in-scope symbol of a name at exactly the given level.
symbol_entry* symbol_at_level(::atom* name, int level) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name)
    if ((s->flags & symf_in_scope) && s->cls != sym_common_block && s->level == level) return s;
  return nullptr;
}

// The first in-scope symbol of a name, at any level.
symbol_entry* visible_symbol(::atom* name) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name)
    if ((s->flags & symf_in_scope) && s->cls != sym_common_block) return s;
  return nullptr;
}

const char* name_text(const ::atom* a) { return a && a->text ? a->text : ""; }

}  // namespace

void main_program_flag_clear() { units.main_program_declared = false; }

void open_unit_block(int kind) {
  scope* sc = scope_push(sk_unit);
  int level = symtab.cur_scope;
  unit_level_flags& f = flags_of(level);
  f.no_executable_part = kind == uc_block_data || kind == uc_module;
  f.executable_part_done = false;
  if (kind != uc_module) {  // a module has no statement block
    statement* block = new_statement(stmk_block);
    push_block(blk_unit, block);
    if (sc) sc->assoc_block = block;
  }
  decl_ctx.spec_part_done = false;
  units.cur_unit_kind = kind;
}

void main_program_stmt(source_pos_record pos) {
  if (!units.main_program_declared) {
    units.main_program_declared = true;
  } else {
    error_at(398, source_pos_record{pos.seq, 0});
  }
  open_unit_block(uc_main_program);
  declare_unnamed_main_program(pos);
}

void end_executable_part() {
  int level = symtab.cur_scope;
  unit_level_flags& f = flags_of(level);
  if (f.executable_part_done) return;
  f.executable_part_done = true;
  storage_association();
  int cls = program_unit_class(level);
  if (cls == uc_module) return;  // no statement block to close
  close_open_blocks();
  if (statement_is_reachable()) {
    if (cls == uc_main_program) append_statement(stmk_stop);
    if ((cls == uc_subroutine || cls == uc_function) && !interface_open())
      append_statement(stmk_return);
  }
  block_frame* top = innermost_block();
  if (top && top->kind == blk_unit) pop_block();
}

namespace {

// The report for a symbol of the closing level that was never referenced.
void report_unreferenced(symbol_entry* s, int unit, object* unit_routine, scope* unit_scope) {
  int msg = 0;
  bool can_warn = false;
  switch (s->cls) {
    case sym_derived_type:
      msg = 452;
      break;
    case sym_variable: {
      if (unit == uc_block_data) return;
      object* o = static_cast<object*>(s->entity.get());
      if (!o) return;
      if (o->is_result && unit_scope && o != unit_scope->function_result_var) {
        msg = 555;
        can_warn = true;
      } else if (o->is_constant) {
        msg = 164;
      } else if (o->is_parameter) {
        msg = 173;
      } else {
        msg = 459;
        can_warn = true;
      }
      break;
    }
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function:
      if (s->entity && s->entity == unit_routine) return;
      msg = 414;
      break;
    case sym_stmt_function:
      msg = 422;
      can_warn = true;
      break;
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine:
      msg = 297;
      break;
    case sym_stmt_label: {
      label* l = static_cast<label*>(s->entity.get());
      if (!l || l->kind == lk_specification || l->kind == lk_else_or_elseif) return;
      msg = 307;
      break;
    }
    case sym_undeclared:
      msg = 459;
      can_warn = true;
      break;
    case sym_dummy:
    case sym_dummy_function:
    case sym_dummy_subroutine:
    case sym_dummy_procedure:
      msg = 173;
      break;
    case sym_generic:
      msg = 163;
      break;
    case sym_namelist:
      msg = 363;
      break;
    default:
      return;
  }
  std::string name = name_text(s->name);
  if (can_warn && !position_in_include_file(s->decl_position.seq))
    warning_at(msg, s->decl_position, {name});
  else
    remark_at(msg, s->decl_position, {name});
}

}  // namespace

void end_program_unit() {
  int level = symtab.cur_scope;
  if (level < 1) return;
  scope_record& r = scope_at(level);
  scope* unit_scope = r.il_scope;
  object* unit_routine = unit_scope ? unit_scope->assoc_routine : nullptr;
  int unit = program_unit_class(level);
  bool stmt_function = unit_routine && unit_routine->storage_class == sc_stmt_func;

  // 1. Symbols completed; unused ones reported.
  std::vector<symbol_entry*> symbols;
  for (symbol_entry* s = r.sym_head; s; s = s->next_same_level) symbols.push_back(s);
  for (symbol_entry* s : symbols) symbol_complete(s);
  if (!interface_open()) {
    for (symbol_entry* s = r.sym_head; s; s = s->next_same_level) {
      // A name used in a bound or length is referenced as well.
      if (s->flags & (symf_referenced | symf_in_bound)) continue;
      if (s->name == names.error_name) continue;
      // What a BLOCK DATA unit or a module declares is for other units, unless
      // it was made PRIVATE.
      bool made_private = (s->flags & symf_access_explicit) && !(s->flags & symf_public);
      bool visible_outside = unit == uc_block_data || (unit == uc_module && !made_private);
      if (visible_outside) continue;
      report_unreferenced(s, unit, unit_routine, unit_scope);
    }
  }
  // 2. Dummies become the parameter types of their routine types.
  if (unit == uc_subroutine || unit == uc_function) unit_param_types_complete();
  // 3. A unit that is not contained: entity checks and external names; an
  // interface body joins its interface's procedure list.
  if (level == 1) {
    if (unit_routine) check_entity_decl(unit_routine);
    unit_external_names_check();
    std::vector<object*> adopted;
    adopted.swap(decl_ctx.adopted_interface_bodies);
    for (object* o : adopted) check_adopted_interface_body(o);
  } else if (interface_open() && unit_routine) {
    interface_add_procedure(unit_routine, level - 1);
  }
  // 4. The executable part ends.
  if (!stmt_function) end_executable_part();
  // 5. The scope closes.
  if (unit_routine && unit_routine->type) type_storage_size(unit_routine->type);
  scope_end_unit();
  units.cur_unit_kind = current_program_unit_class();
}

// ---------------------------------------------------------------------------
// Handlers.

// PROGRAM [name]
int parse_program_stmt() {
  int t = scan_after_keyword(expression_mode);
  if (t == tok_eos) {
    if (units.main_program_declared) error_at(397, loop.stmt_pos);
    units.main_program_declared = true;
    open_unit_block(uc_main_program);
    declare_unnamed_main_program(scan.token_pos);
    return 1;
  }
  if (units.main_program_declared) error_here(397);
  units.main_program_declared = true;
  open_unit_block(uc_main_program);
  if (t != tok_name) {
    declare_unnamed_main_program(loop.stmt_pos);
    syntax_error(218);
    return 0;
  }
  name_pos_record n = current_name_token();
  symbol_entry* s = declare_program(&n);
  if (s) xref_note(s, n.pos, false);
  scan_token(expression_mode);
  return 1;
}

// MODULE name
int parse_module_stmt() {
  int t = scan_after_keyword(expression_mode);
  open_unit_block(uc_module);
  if (t != tok_name) {
    name_pos_record none{nullptr, loop.stmt_pos};
    declare_module(&none);
    syntax_error(218);
    return 0;
  }
  name_pos_record n = current_name_token();
  symbol_entry* s = declare_module(&n);
  if (s) xref_note(s, n.pos, false);
  scan_token(expression_mode);
  return 1;
}

// BLOCK DATA [name]
int parse_block_data_stmt() {
  scan_after_keyword(expression_mode);
  open_unit_block(uc_block_data);
  block_data_stmt_name();
  return 1;
}

namespace {

// Reads the name, dummy arguments and RESULT clause of a FUNCTION,
// SUBROUTINE or ENTRY statement: name [ ( [dummy {, dummy}] ) ] [RESULT (r)].
// The current token is the name; result_type is the prefix type (functions).
int declare_subprogram_header(bool is_function, bool is_entry, type* result_type,
                              bool recursive) {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    name_pos_record none{nullptr, scan.token_pos};
    if (!is_entry) {
      if (is_function)
        declare_function(nullptr, &none, result_type, false);
      else
        declare_subroutine(nullptr, &none, false);
    }
    return 0;
  }
  name_pos_record n = current_name_token();
  ::atom* routine_name = n.name;
  int host = symtab.cur_scope - 1;
  symbol_entry* existing = symbol_at_level(n.name, host);
  symbol_entry* s = is_function ? declare_function(existing, &n, result_type, is_entry)
                                : declare_subroutine(existing, &n, is_entry);
  object* routine = s ? static_cast<object*>(s->entity.get()) : nullptr;
  if (routine && routine->type && routine->type->type_code == tk_routine) {
    if (routine->type->has_param_info && !is_entry)
      error_at(93, n.pos);
    else
      routine->type->has_param_info = true;
  }
  if (s) xref_note(s, n.pos, false);
  entry_description* entry = is_entry ? current_scope_record().entries_tail : nullptr;

  // Dummy argument list.
  int t = scan_token(expression_mode | keyword_mode);
  bool ok = true;
  if (t == tok_lparen) {
    stop_token_raise(tok_rparen);
    t = scan_token(expression_mode);
    int alt_returns = 0;
    while (t != tok_rparen && t != tok_eos) {
      if (t == tok_name) {
        name_pos_record d = current_name_token();
        // 112 for a host symbol; a link that an earlier use of the name left
        // becomes an undeclared name, which an ENTRY refuses as a dummy (175).
        bool left_by_use = !is_host_alias(symbol_here(d.name));
        symbol_entry* here = declared_here(d);
        if (is_entry && left_by_use && here && here->cls == sym_undeclared &&
            (here->flags & symf_referenced)) {
          error_at(175, d.pos);
          drop_name(&d);
          here = nullptr;
        }
        declare_dummy_argument(here, &d, entry);
      } else if (t == tok_star && !is_function) {
        declare_alt_return_dummy(++alt_returns, scan.token_pos, entry);
      } else {
        stop_token_raise(tok_comma);
        syntax_error(218);
        stop_token_lower(tok_comma);
        ok = false;
        if (scan.cur_token != tok_comma) break;
      }
      t = scan_token(expression_mode);
      if (t != tok_comma) break;
      t = scan_token(expression_mode);
    }
    stop_token_lower(tok_rparen);
    if (!expect_token(tok_rparen, 231, expression_mode | keyword_mode)) return 0;
    if (!ok) return 0;
  } else if (is_function) {
    expect_token_report(tok_lparen, 228);
    return 0;
  }

  // Function result.
  if (is_function) {
    if (scan.cur_token == tok_eos) {
      declare_result_variable(visible_symbol(routine_name), nullptr, entry);
    } else {
      if (scan.cur_token != tok_result) {
        syntax_error(230);
        return 0;
      }
      if (scan_token(expression_mode) != tok_lparen) {
        syntax_error(228);
        return 0;
      }
      if (scan_token(expression_mode) != tok_name) {
        syntax_error(218);
        return 0;
      }
      name_pos_record r = current_name_token();
      symbol_entry* here = symbol_at_level(r.name, symtab.cur_scope);
      if (is_entry && here) {
        error_at(19, r.pos);
        drop_name(&r);
        here = nullptr;
      } else if (r.name == routine_name) {
        error_at(177, r.pos);
        drop_name(&r);
        here = nullptr;
      } else if (here && here->cls == sym_host_link) {
        error_at(112, r.pos, {name_text(r.name)});
        symbol_set_class(here, sym_undeclared);
      }
      declare_result_variable(here, &r, entry);
      if (!is_entry && s && routine_name && r.name && !symbol_at_level(routine_name, symtab.cur_scope)) {
        // Inside the function its name stands for the function itself (the
        // result has a name of its own): a link to the routine's symbol.
        symbol_entry* self = symbol_create(sym_host_link, routine_name, n.pos, symtab.cur_scope);
        self->link = s;
      }
      scan_token(expression_mode);
      if (!expect_token(tok_rparen, 231, expression_mode)) return 0;
    }
  }
  if (is_entry) {
    statement* st = append_statement(stmk_fentry);
    if (entry) {
      st->entry_descr = entry;
      entry->entry_point = st;
    }
  }
  if (recursive && routine && routine->type) routine->type->is_recursive = true;
  return 1;
}

}  // namespace

// [RECURSIVE] [type-spec] [RECURSIVE] FUNCTION name ( [dummies] ) [RESULT (r)]
// [RECURSIVE] SUBROUTINE name [ ( [dummies] ) ]
int parse_subprogram_stmt() {
  scan_restore(loop.stmt_start);
  bool recursive = false;
  bool opened = false;
  type* result_type = nullptr;
  for (;;) {
    int t = scan_token(keyword_mode | quiet_mode);
    source_pos_record at = scan.token_pos;
    int code = read_statement_keyword(t);
    if (code == tok_recursive) {
      if (recursive) error_at(176, at);
      recursive = true;
      continue;
    }
    if (code == tok_function) {
      if (!opened) open_unit_block(uc_function);
      if (!result_type) result_type = unknown_type();
      scan_token(expression_mode);
      return declare_subprogram_header(true, false, result_type, recursive);
    }
    if (code == tok_subroutine && !opened) {
      open_unit_block(uc_subroutine);
      scan_token(expression_mode);
      return declare_subprogram_header(false, false, nullptr, recursive);
    }
    if (!opened && (is_prefix_type_keyword(code))) {
      open_unit_block(uc_function);
      opened = true;
      result_type = parse_prefix_type(code);
      continue;
    }
    // Neither a prefix nor FUNCTION / SUBROUTINE: the unit is opened all the
    // same, so that the statements that follow are parsed in it.
    error_at(opened ? 580 : 239, at);
    if (!opened) open_unit_block(uc_subroutine);
    name_pos_record none{nullptr, at};
    if (opened)
      declare_function(nullptr, &none, result_type, false);
    else
      declare_subroutine(nullptr, &none, false);
    scan.cur_token = tok_no_token;
    skip_to_end_of_statement();
    return 0;
  }
}

// ENTRY name [ ( [dummies] ) ] [RESULT (r)]
int parse_entry_stmt() {
  int cls = current_program_unit_class();
  if (cls != uc_subroutine && cls != uc_function) {
    error_at(194, loop.stmt_pos);
    skip_to_end_of_statement();
    return 0;
  }
  block_frame* f = innermost_block();
  if (f && f->kind != blk_unit) {
    error_at(195, loop.stmt_pos);
    return 0;
  }
  scan_after_keyword(expression_mode);
  return declare_subprogram_header(cls == uc_function, true, nullptr, false);
}

// CONTAINS
int parse_contains_stmt() {
  scan_after_keyword(expression_mode);
  end_executable_part();
  return 1;
}

// END
int parse_end_stmt() {
  scan_after_keyword(expression_mode);
  end_program_unit();
  if (!interface_open() && symtab.cur_scope >= 1 && program_unit_class(symtab.cur_scope) != uc_none)
    error_at(189, loop.stmt_pos);
  units.cur_unit_kind = current_program_unit_class();
  return 1;
}

namespace {

// END PROGRAM / BLOCK DATA / MODULE / FUNCTION / SUBROUTINE [name]
int finish_end_stmt(int cls) {
  int t = scan_after_keyword(expression_mode);
  if (current_program_unit_class() != cls) error_at(191, loop.stmt_pos);
  int result = 1;
  if (t != tok_eos) {
    if (t != tok_name) {
      syntax_error(218);
      result = 0;
    } else {
      object* routine = routine_of_level(symtab.cur_scope);
      ::atom* unit_name = routine ? routine->corresp.name : nullptr;
      if (scan.token_atom != unit_name) error_here(190, {name_text(unit_name)});
      scan_token(expression_mode);
    }
  }
  end_program_unit();
  units.cur_unit_kind = current_program_unit_class();
  return result;
}

}  // namespace

int parse_end_program_stmt() { return finish_end_stmt(uc_main_program); }
int parse_end_block_data_stmt() { return finish_end_stmt(uc_block_data); }
int parse_end_module_stmt() { return finish_end_stmt(uc_module); }
int parse_end_function_stmt() { return finish_end_stmt(uc_function); }
int parse_end_subroutine_stmt() { return finish_end_stmt(uc_subroutine); }

// BLOCK DATA [name], with the current token the one after BLOCK DATA; a name
// is consumed (the scanner is left after it).
void block_data_stmt_name() {
  if (scan.cur_token == tok_name) {
    name_pos_record name{scan.token_atom, scan.token_pos};
    declare_block_data(&name);
    scan_token(0);
  } else if (scan.cur_token != tok_eos) {
    if (scan.cur_token != tok_invalid) error_at(218, scan.token_pos);
    name_pos_record name{nullptr, scan.token_pos};
    declare_block_data(&name);
  } else {
    declare_block_data(nullptr);
  }
}
