// The statement loop: each statement of a program unit is labelled,
// classified, checked for its place in the unit, its label defined, and its
// handler called from the table; the unit ends at its END statement or, with
// "unexpected end of file", at the end of the source.
#include "frontend/parser/statement_loop.h"

#include <cstring>
#include <iterator>

#include "frontend/base/diagnostics.h"
#include "frontend/base/options.h"
#include "frontend/lexer/source_input.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/labels.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/pending_services.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/type_prefix.h"

StatementLoopState loop;

namespace {

struct stmt_row {
  int kind;              // the row's statement kind (checked against its index)
  int (*handler)();      // parses the statement
  int order_class;       // where the statement moves the unit
  int highest_section;   // last section in which it may stand
};

constexpr stmt_row stmt_table[] = {
#define STMT(kind, id, handler, order_class, highest) {kind, handler, order_class, highest},
#include "frontend/parser/statement_kinds.def"
};
static_assert(std::size(stmt_table) == stmt_kind_count, "one row per statement kind");

constexpr bool rows_in_kind_order() {
  for (int i = 0; i < stmt_kind_count; ++i)
    if (stmt_table[i].kind != i) return false;
  return true;
}
static_assert(rows_in_kind_order(), "statement rows must be in kind order");

constexpr uint32_t classify_mode = keyword_mode | quiet_mode;

bool fixed_form() { return driver_options.fixed_form; }

// ---------------------------------------------------------------------------
// Keywords of a statement's start. Fixed form gives compound keywords as a
// run of shorter ones (IN + TEGER, END + DO, GO + TO); free form gives them
// whole or, when written with a blank, as two words. merge_keyword reads the
// whole keyword and leaves loop.after_keyword behind its last part.

// The keyword that follows, scanned quietly in keyword mode; the scanner
// stays after it only when it is `want` (else it is put back).
bool accept_keyword(int want) {
  scan_cursor before = scan_save();
  int t = scan_token(classify_mode);
  if (t == want || (want == tok_where && t == tok_tail_where)) {
    loop.after_keyword = scan_save();
    return true;
  }
  scan_restore(before);
  return false;
}

// The canonical keyword code of a statement that starts with keyword token t
// (already scanned); 0 when the start is no statement keyword.
int merge_keyword(int t) {  // see read_statement_keyword
  loop.after_keyword = scan_save();
  switch (t) {
    case tok_in: {
      scan_cursor before = scan_save();
      int tail = scan_token(classify_mode);
      int code = 0;
      switch (tail) {
        case tok_tail_clude: code = tok_include; break;
        case tok_tail_quire: code = tok_inquire; break;
        case tok_tail_teger: code = tok_integer; break;
        case tok_tail_tent: code = tok_intent; break;
        case tok_tail_terface: code = tok_interface; break;
        case tok_tail_trinsic: code = tok_intrinsic; break;
        default: break;
      }
      if (code) {
        loop.after_keyword = scan_save();
        return code;
      }
      scan_restore(before);
      return 0;
    }
    case tok_tail_where:
      return tok_where;
    case tok_do:
      if (accept_keyword(tok_tail_uble)) return accept_keyword(tok_precision) ? tok_doubleprecision : tok_double;
      return tok_do;
    case tok_double:
      return accept_keyword(tok_precision) ? tok_doubleprecision : tok_double;
    case tok_block:
      return accept_keyword(tok_data) ? tok_blockdata : tok_block;
    case tok_go:
      return accept_keyword(tok_to) ? tok_goto : tok_go;
    case tok_select:
      return accept_keyword(tok_case) ? tok_selectcase : tok_select;
    case tok_else:
      if (accept_keyword(tok_if)) return tok_elseif;
      if (accept_keyword(tok_where)) return tok_elsewhere;
      return tok_else;
    case tok_endblock:
      return accept_keyword(tok_data) ? tok_endblockdata : tok_endblock;
    case tok_end: {
      static const int follows[][2] = {
          {tok_do, tok_enddo},           {tok_file, tok_endfile},
          {tok_function, tok_endfunction}, {tok_if, tok_endif},
          {tok_interface, tok_endinterface}, {tok_module, tok_endmodule},
          {tok_program, tok_endprogram}, {tok_select, tok_endselect},
          {tok_subroutine, tok_endsubroutine}, {tok_type, tok_endtype},
          {tok_where, tok_endwhere},     {tok_blockdata, tok_endblockdata},
      };
      if (accept_keyword(tok_block)) return accept_keyword(tok_data) ? tok_endblockdata : 0;
      if (fixed_form() && accept_keyword(tok_in)) {
        // END INTERFACE in fixed form: END + IN + TERFACE.
        if (accept_keyword(tok_tail_terface)) return tok_endinterface;
        return 0;
      }
      for (const auto& f : follows)
        if (accept_keyword(f[0])) return f[1];
      return tok_end;
    }
    default:
      return t;
  }
}

bool is_type_keyword(int code) { return code != tok_type && is_prefix_type_keyword(code); }

// After a type keyword: passes an optional "*length" or "( ... )" selector.
void pass_type_selector() {
  scan_cursor before = scan_save();
  int t = scan_token(quiet_mode);
  if (t == tok_star) {
    scan_cursor after_star = scan_save();
    t = scan_token(quiet_mode | scan_integer_only | scan_no_kind_suffix | scan_no_hollerith);
    if (t == tok_lparen) {
      skip_paren_group();
    } else if (t != tok_int_const) {
      scan_restore(after_star);
    }
    return;
  }
  if (t == tok_lparen) {
    skip_paren_group();
    return;
  }
  scan_restore(before);
}

// True when FUNCTION, or RECURSIVE FUNCTION, follows.
bool function_follows() {
  scan_cursor before = scan_save();
  int t = scan_token(classify_mode);
  if (t == tok_recursive) t = scan_token(classify_mode);
  scan_restore(before);
  return t == tok_function;
}

// The kind of a statement that begins with a type keyword (type declaration
// or typed FUNCTION header); the scanner is after the keyword.
int type_statement_kind() {
  pass_type_selector();
  return loop.stmt_section == section_start && function_follows() ? st_subprogram : st_type_decl;
}

// DO [label] [,] ( end | WHILE (e) | v = e1, e2 ... ); scanner after DO.
int do_statement_kind() {
  int t = scan_token(classify_mode | label_mode);
  if (t == tok_label) t = scan_token(classify_mode);
  if (t == tok_comma) t = scan_token(classify_mode);
  if (t == tok_eos) return st_do;
  if (t == tok_while) {
    scan_cursor after_while = scan_save();
    if (scan_token(quiet_mode) == tok_lparen) return st_do_while;
    scan_restore(after_while);
  }
  // v = e1, e2: a "=" and after it a "," at depth 0.
  scan_restore(loop.after_keyword);
  if (quiet_find_first(tok_equals, tok_invalid, tok_invalid) != 1) return -1;
  return quiet_find_first(tok_comma, tok_invalid, tok_invalid) == 1 ? st_do : -1;
}

// IF ( e ) then THEN, a label list or a statement; scanner after IF.
int if_statement_kind() {
  if (scan_token(quiet_mode) != tok_lparen) return -1;
  skip_paren_group();
  if (scan.cur_token != tok_rparen) return -1;
  int t = scan_token(classify_mode | label_mode);
  if (t == tok_then && scan_token(quiet_mode) == tok_eos) return st_if_then;
  if (t == tok_label || t == tok_int_const) {
    int u = scan_token(quiet_mode);
    if (u == tok_comma) return st_arithmetic_if;
  }
  return st_logical_if;
}

// The kind of a statement that starts with the keyword code; -1 when the
// form does not fit. The scanner is after the keyword.
int keyword_statement_kind(int code) {
  switch (code) {
    case tok_allocatable: return st_allocatable;
    case tok_allocate: return st_allocate;
    case tok_assign: return st_assign;
    case tok_backspace: return st_backspace;
    case tok_blockdata: return st_block_data;
    case tok_call: return st_call;
    case tok_case: return st_case;
    case tok_close: return st_close;
    case tok_common: return st_common;
    case tok_contains: return st_contains;
    case tok_continue: return st_continue;
    case tok_cycle: return st_cycle;
    case tok_data: return st_data;
    case tok_deallocate: return st_deallocate;
    case tok_dimension: return st_dimension;
    case tok_do: return do_statement_kind();
    case tok_else: return st_else;
    case tok_elseif: return st_else_if;
    case tok_elsewhere: return st_elsewhere;
    case tok_end: return st_end;
    case tok_endblockdata: return st_end_block_data;
    case tok_enddo: return st_end_do;
    case tok_endfile: return st_endfile;
    case tok_endfunction: return st_end_function;
    case tok_endif: return st_end_if;
    case tok_endinterface: return st_end_interface;
    case tok_endmodule: return st_end_module;
    case tok_endprogram: return st_end_program;
    case tok_endselect: return st_end_select;
    case tok_endsubroutine: return st_end_subroutine;
    case tok_endtype: return st_end_type;
    case tok_endwhere: return st_end_where;
    case tok_entry: return st_entry;
    case tok_equivalence: return st_equivalence;
    case tok_exit: return st_exit;
    case tok_external: return st_external;
    case tok_format: return st_format;
    case tok_function: return st_subprogram;
    case tok_goto: {
      int t = scan_token(quiet_mode | label_mode);
      if (t == tok_label) return st_goto;
      if (t == tok_name) return st_assigned_goto;
      if (t == tok_lparen) return st_computed_goto;
      return -1;
    }
    case tok_if: return if_statement_kind();
    case tok_implicit: {
      scan_cursor before = scan_save();
      if (scan_token(classify_mode) == tok_none && scan_token(quiet_mode) == tok_eos)
        return st_implicit_none;
      scan_restore(before);
      return st_implicit;
    }
    case tok_include: return st_include;
    case tok_inquire: return st_inquire;
    case tok_intent: return st_intent;
    case tok_interface: return st_interface;
    case tok_intrinsic: return st_intrinsic;
    case tok_module:
      if (accept_keyword(tok_procedure)) return st_module_procedure;
      return st_module;
    case tok_namelist: return st_namelist;
    case tok_nullify: return st_nullify;
    case tok_open: return st_open;
    case tok_optional: return st_optional;
    case tok_parameter: return st_parameter;
    case tok_pause: return st_pause;
    case tok_pointer: return st_pointer;
    case tok_print: return st_print;
    case tok_private: return st_private;
    case tok_program: return st_program;
    case tok_public: return st_public;
    case tok_read: return st_read;
    case tok_recursive: return st_subprogram;
    case tok_return: return st_return;
    case tok_rewind: return st_rewind;
    case tok_save: return st_save;
    case tok_selectcase: return st_select_case;
    case tok_sequence: return st_sequence;
    case tok_stop: return st_stop;
    case tok_subroutine: return st_subprogram;
    case tok_target: return st_target;
    case tok_type: {
      scan_cursor before = scan_save();
      if (scan_token(quiet_mode) == tok_lparen) {
        skip_paren_group();
        return loop.stmt_section == section_start && function_follows() ? st_subprogram
                                                                         : st_type_decl;
      }
      scan_restore(before);
      return st_type_def;
    }
    case tok_use: return st_use;
    case tok_where: {
      if (scan_token(quiet_mode) != tok_lparen) return -1;
      skip_paren_group();
      if (scan.cur_token != tok_rparen) return -1;
      return scan_token(quiet_mode) == tok_eos ? st_where_construct : st_where;
    }
    case tok_write: return st_write;
    default:
      if (is_type_keyword(code)) return type_statement_kind();
      return -1;
  }
}

// The visible symbol of a name at the current scope level, or null. The
// name is looked up without interning it.
symbol_entry* symbol_at_current_level(const char* text, uint32_t length) {
  ::atom* a = nullptr;
  name_hash_lookup(text, length, &a);
  return symbol_here(a);
}

// Whether the name, seen from an enclosing scope (a variable of the host or
// of the module, or one they use), is an array: then "name(i) = ..." assigns
// one of its elements and defines no statement function.
bool host_array(const char* text, uint32_t length) {
  ::atom* a = nullptr;
  name_hash_lookup(text, length, &a);
  for (symbol_entry* s = a ? a->first_symbol : nullptr; s; s = s->next_same_name) {
    if (!(s->flags & symf_in_scope) || s->cls == sym_common_block) continue;
    if (s->level >= symtab.cur_scope) continue;
    return symbol_names_array(s);
  }
  return false;
}

// After "name (": whether the parenthesis holds nothing, or a name followed
// by ")" or "," (the shape of a statement-function dummy list).
bool dummy_list_shape() {
  scan_cursor before = scan_save();
  int t = scan_token(quiet_mode);
  bool shape = t == tok_rparen;
  if (t == tok_name) {
    int u = scan_token(quiet_mode);
    shape = u == tok_rparen || u == tok_comma;
  }
  scan_restore(before);
  return shape;
}

// Set while a statement that starts with the keyword DO is read by name.
bool named_after_do = false;

// "=" just read as the token after a designator: an assignment, except that
// after the keyword DO a "," at depth 0 makes it a DO statement (in fixed
// form DO 10 I = 1, 5 also reads as the name DO10I followed by "=").
int assignment_unless_comma() {
  if (!named_after_do) return st_assignment;
  scan_cursor before = scan_save();
  int found = quiet_find_first(tok_comma, tok_invalid, tok_invalid);
  scan_restore(before);
  return found == 1 ? -1 : st_assignment;
}

// After "%": assignment or pointer assignment by whichever comes first.
int component_statement_kind() {
  scan_cursor before = scan_save();
  int found = quiet_find_first(tok_equals, tok_arrow, tok_invalid);
  scan_restore(before);
  if (found == 1) return st_assignment;
  if (found == 2) return st_pointer_assignment;
  return -1;
}

}  // namespace

// ---------------------------------------------------------------------------

int stmt_order_class(int kind) { return stmt_table[kind].order_class; }
int stmt_highest_section(int kind) { return stmt_table[kind].highest_section; }
bool stmt_kind_is_executable(int kind) {
  return kind >= 0 && kind < stmt_kind_count && stmt_table[kind].order_class == 6;
}

int read_statement_keyword(int t) { return merge_keyword(t); }

symbol_entry* symbol_here(::atom* name) {
  for (symbol_entry* s = name ? name->first_symbol : nullptr; s; s = s->next_same_name)
    if ((s->flags & symf_in_scope) && s->cls != sym_common_block)
      return s->level == symtab.cur_scope ? s : nullptr;
  return nullptr;
}

int scan_after_keyword(uint32_t flags) {
  scan_restore(loop.after_keyword);
  return scan_token(flags);
}

int scan_statement_start(uint32_t flags) {
  scan_restore(loop.stmt_start);
  return scan_token(flags);
}

int classify_named_statement() {
  scan_restore(loop.stmt_start);
  if (scan_token(quiet_mode) != tok_name) return -1;
  std::string name(token_text, scan.token_length);
  loop.after_keyword = loop.stmt_start;
  int kind = -1;
  switch (scan_token(quiet_mode)) {
    case tok_colon: kind = st_construct_name; break;
    case tok_equals: kind = assignment_unless_comma(); break;
    case tok_arrow: kind = st_pointer_assignment; break;
    case tok_percent: kind = component_statement_kind(); break;
    case tok_lparen: {
      bool dummy_shape = dummy_list_shape();
      skip_paren_group();
      if (scan.cur_token != tok_rparen) break;
      int t = scan_token(quiet_mode);
      if (t == tok_equals) {
        kind = assignment_unless_comma();
        if (kind == st_assignment && loop.stmt_section < section_exec && dummy_shape) {
          symbol_entry* s = symbol_at_current_level(name.data(), static_cast<uint32_t>(name.size()));
          bool undeclared_scalar = s && s->cls == sym_undeclared &&
                                   !(s->entity && static_cast<type*>(s->entity.get())->type_code == tk_farray);
          if ((!s && !host_array(name.data(), static_cast<uint32_t>(name.size()))) || undeclared_scalar)
            kind = st_stmt_function;
        }
      } else if (t == tok_lparen) {
        skip_paren_group();
        if (scan.cur_token == tok_rparen && scan_token(quiet_mode) == tok_equals)
          kind = assignment_unless_comma();
      } else if (t == tok_percent) {
        kind = component_statement_kind();
      }
      break;
    }
    default:
      break;
  }
  return kind;
}

void classify_statement() {
  scan_skip_blanks();
  loop.stmt_start = scan_save();
  loop.stmt_pos = scan_position_of(scan.scan_ptr);
  loop.after_keyword = loop.stmt_start;
  current_statement_pos = loop.stmt_pos;
  int kind = -1;
  bool by_name = false;
  int t = scan_token(classify_mode);
  if (t == tok_eos) {
    error_at(235, loop.stmt_pos);
    kind = st_unrecognized;
  } else if (t == tok_name) {
    by_name = true;
  } else if (t >= first_statement_keyword && t <= tok_tail_trinsic) {
    int code = merge_keyword(t);
    if (code == tok_include && (scan_peek_char() == '\'' || scan_peek_char() == '"')) {
      // An INCLUDE line: nothing after its name may be read before the
      // included text (a fixed-form look-ahead would read the next line).
      kind = st_include;
    } else if (code) {
      kind = keyword_statement_kind(code);
    }
    if (kind == st_end && fixed_form() && src.map_count > 1 && loop.first_on_line) {
      // A lone END must stand on its initial line.
      error_at(62, loop.stmt_pos);
      kind = st_unrecognized;
    }
    by_name = kind != st_unrecognized && kind != st_include;
  }
  if (by_name) {
    scan_cursor keyword_end = loop.after_keyword;
    named_after_do = t == tok_do;
    int named = classify_named_statement();
    named_after_do = false;
    if (named >= 0 || (kind == -1 && t == tok_name)) {
      // A named reading wins over a keyword (keywords are not reserved).
      if (named >= 0) kind = named;
      loop.after_keyword = loop.stmt_start;
    } else {
      loop.after_keyword = keyword_end;
    }
  }
  if (kind < 0) {
    error_at(125, loop.stmt_pos);
    kind = st_unrecognized;
  }
  scan_restore(loop.stmt_start);
  loop.stmt_kind = kind;
  decl_ctx.statement_kind = kind;
}

int dispatch_statement() { return stmt_table[loop.stmt_kind].handler(); }

statement* append_label_statement(symbol_entry* label_symbol) {
  statement* s = append_statement(stmk_label);
  if (label_symbol && label_symbol->entity) {
    label* l = static_cast<label*>(label_symbol->entity.get());
    s->label = l;
    l->exec_stmt = s;
  }
  loop.pending_label_stmt = s;
  return s;
}

// An anonymous control label that heads a DO loop without construct name.
static void append_anonymous_control_label() {
  label* l = new_label();
  init_label(l, lk_control);
  l->corresp.decl_position = current_statement_pos;
  statement* s = append_statement(stmk_label);
  s->label = l;
  l->exec_stmt = s;
  loop.pending_label_stmt = s;
}

int include_statement_handler() {
  scan_restore(loop.after_keyword);
  return include_statement(loop.first_on_line);
}

namespace {

// Skips the rest of a refused statement without further diagnostics.
void skip_statement_quietly() {
  if (scan.cur_token == tok_no_token) {
    scan_restore(loop.stmt_start);
    scan.cur_token = tok_no_token;  // the restored token is the previous statement's
  }
  while (scan.cur_token != tok_eos) scan_token(quiet_mode);
}

bool interface_open() { return symtab.interface_depth > 0; }

// The unit class of the current statement (of the enclosing unit inside an
// interface block before a body's header, or in a type definition).
int current_unit_class() { return current_program_unit_class(); }

bool in_interface_body() {
  int c = current_unit_class();
  return interface_open() && (c == 2 || c == 3) && loop.header_seen;
}

bool in_internal_subprogram() {
  int c = current_unit_class();
  return (c == 2 || c == 3) && symtab.cur_scope > 1 && program_unit_class(symtab.cur_scope - 1) != 5;
}

// Moves the unit's section forward for a statement of order class cls, as
// far as the statement takes it. False when the statement is out of order.
bool order_check() {
  int cls = stmt_table[loop.stmt_kind].order_class;
  int hi = stmt_table[loop.stmt_kind].highest_section;
  if (hi < loop.stmt_section) return false;
  int& section = loop.stmt_section;
  bool reached_end = false;
  if (section == section_start) {
    if (cls == 0) return true;
    if (loop.header_seen) {
      if (cls == 1) {
        section = section_header;
        return true;
      }
      if (cls == 8) {
        section = section_end;
        if (!interface_open() && !loop.module_procedure_mark && loop.contained_depth > 0)
          --loop.contained_depth;
        reached_end = true;
      } else {
        return false;
      }
    } else {
      section = section_header;
    }
  }
  if (section == section_header) {
    if (cls >= 2) {
      if (!loop.header_seen) {
        main_program_stmt(loop.stmt_pos);
        loop.header_seen = true;
      }
      section = section_use;
    }
  }
  if (section == section_use && cls >= 3) section = section_implicit;
  if (section == section_implicit && cls >= 5) section = section_spec;
  if (section == section_spec && cls >= 6) {
    if (decl_ctx.in_type_definition) {
      error_at(328, loop.stmt_pos);
      end_type_definition();
    } else {
      implicit_map_resolve();
    }
    decl_ctx.spec_part_done = true;
    section = section_exec;
  }
  if (section == section_exec && cls >= 7) section = section_contains;
  if (section == section_contains && cls == 8) {
    section = section_end;
    reached_end = true;
  }
  if (reached_end &&
      (interface_open() || loop.module_procedure_mark || loop.contained_depth >= 1))
    section = section_start;
  return true;
}

// Refuses a statement of the executable part (or ENTRY) where the unit
// cannot have one: interface bodies, BLOCK DATA, modules, and for ENTRY also
// main programs and internal subprograms. False after the message.
bool refuse_in_unit(int unit, bool is_entry) {
  int msg = 0;
  if (is_entry && unit == 1) msg = 128;
  else if (in_interface_body()) msg = 129;
  else if (is_entry && in_internal_subprogram()) msg = 130;
  else if (unit == 4) msg = 126;
  else if (unit == 5) msg = 127;
  if (msg) error_at(msg, loop.stmt_pos);
  return msg == 0;
}

// The checks of what a statement may do in this kind of unit and block;
// false when it is refused (after its message).
bool context_check() {
  int kind = loop.stmt_kind;
  int unit = current_unit_class();
  if (decl_ctx.in_type_definition) {
    switch (kind) {
      case st_end_type:
      case st_private:
      case st_sequence:
        break;
      case st_type_decl:
        loop.no_component_yet = false;
        return true;
      default:
        error_at(131, loop.stmt_pos);
        return false;
    }
  }
  bool executable = stmt_kind_is_executable(kind) || kind == st_do || kind == st_do_while ||
                    kind == st_stmt_function || kind == st_return;
  switch (kind) {
    case st_allocatable:
    case st_external:
    case st_namelist:
      if (unit == 4) {
        error_at(126, loop.stmt_pos);
        return false;
      }
      return true;
    case st_block_data:
    case st_module:
    case st_program:
    case st_subprogram:
      if (loop.module_procedure_mark || (kind != st_subprogram && loop.header_seen)) {
        error_at(134, loop.stmt_pos);
        return false;
      }
      loop.header_seen = true;
      return true;
    case st_contains:
      if ((unit == 2 || unit == 3) && interface_open()) {
        error_at(129, loop.stmt_pos);
        return false;
      }
      if (in_internal_subprogram()) {
        error_at(130, loop.stmt_pos);
        return false;
      }
      if (unit == 4) {
        error_at(126, loop.stmt_pos);
        return false;
      }
      ++loop.contained_depth;
      loop.stmt_section = section_start;
      return true;
    case st_data:
      if (in_interface_body()) {
        error_at(129, loop.stmt_pos);
        return false;
      }
      return true;
    case st_entry:
      return refuse_in_unit(unit, true);
    case st_end_interface:
      if (loop.module_procedure_mark) {
        loop.module_procedure_mark = false;
      } else if (symtab.interface_depth > 0) {
        --symtab.interface_depth;
      }
      loop.stmt_section = section_spec;
      decl_ctx.spec_part_done = false;
      return true;
    case st_end_type:
      if (loop.no_component_yet) error_at(582, loop.stmt_pos);
      end_type_definition();
      return true;
    case st_format:
      if (unit == 4) {
        error_at(126, loop.stmt_pos);
        return false;
      }
      if (!loop.label_name) {
        source_pos_record at = loop.stmt_pos;
        if (loop.first_on_line) at.column = 1;
        error_at(224, at);
        return false;
      }
      executable = true;
      break;
    case st_include:
      if (loop.label_name) {
        error_at(597, loop.stmt_pos);
        loop.label_name = nullptr;
      }
      return true;
    case st_interface:
      if (unit == 4) {
        error_at(126, loop.stmt_pos);
        return false;
      }
      ++symtab.interface_depth;
      loop.module_procedure_mark = false;
      loop.stmt_section = section_start;
      return true;
    case st_private:
    case st_public:
      if (decl_ctx.in_type_definition) {
        if (kind == st_public || !loop.no_component_yet) {
          error_at(134, loop.stmt_pos);
          return false;
        }
        return true;
      }
      if (unit != 5) {
        error_at(39, loop.stmt_pos);
        return false;
      }
      return true;
    case st_module_procedure: {
      scope_record& r = current_scope_record();
      if (!interface_open() || !r.cur_interface) {
        if (!loop.module_procedure_mark) {
          error_at(134, loop.stmt_pos);
          return false;
        }
        return true;
      }
      if (!loop.module_procedure_mark) {
        loop.module_procedure_mark = true;
        --symtab.interface_depth;
      }
      return true;
    }
    case st_return:
      if (unit == 1) {
        error_at(128, loop.stmt_pos);
        return false;
      }
      break;
    case st_sequence:
      if (!decl_ctx.in_type_definition || !loop.no_component_yet) {
        error_at(134, loop.stmt_pos);
        return false;
      }
      return true;
    case st_type_def:
      decl_ctx.in_type_definition = true;
      loop.no_component_yet = true;
      return true;
    default:
      break;
  }
  return executable ? refuse_in_unit(unit, false) : true;
}

// The label kind a statement of the current kind defines.
int label_kind_of_statement(bool* with_statement) {
  *with_statement = false;
  switch (loop.stmt_kind) {
    case st_else:
    case st_else_if:
      return lk_else_or_elseif;
    case st_end:
    case st_end_program:
      *with_statement = true;
      return lk_executable;
    case st_end_function:
    case st_end_subroutine:
      if (interface_open()) return lk_specification;
      *with_statement = true;
      return lk_executable;
    case st_end_if:
      return lk_executable;
    case st_format:
      return lk_format;
    case st_unrecognized:
      return lk_unknown;
    default:
      if (stmt_kind_is_executable(loop.stmt_kind)) {
        *with_statement = true;
        return lk_executable;
      }
      return lk_specification;
  }
}

void define_statement_label() {
  loop.label_symbol = nullptr;
  if (!loop.label_name) return;
  bool with_statement = false;
  int lk = label_kind_of_statement(&with_statement);
  name_pos_record n{loop.label_name, loop.label_pos};
  symbol_entry* found = symbol_here(loop.label_name);
  symbol_entry* s = label_reference(found, &n, lk, true, xref_definition);
  loop.label_symbol = s;
  if (with_statement && s) append_label_statement(s);
}

// Takes the statement label: the fixed-form label field for the first
// statement of a line, else a label token at the start of the statement.
void take_statement_label() {
  loop.label_name = nullptr;
  loop.label_pos = null_pos;
  if (fixed_form() && loop.first_on_line) {
    loop.label_name = src.statement_label;
    loop.label_pos = src.statement_label_pos;
  } else {
    char c = scan_peek_char();
    if (c >= '0' && c <= '9') {
      scan_cursor before = scan_save();
      if (scan_token(label_mode) == tok_label) {
        loop.label_name = scan.token_atom;
        loop.label_pos = scan.token_pos;
      } else {
        scan_restore(before);
      }
    }
  }
  if (!loop.label_name) return;
  symbol_entry* s = symbol_here(loop.label_name);
  if (s && s->cls == sym_stmt_label && (s->word2 & labelf_defined)) {
    error_at(306, loop.label_pos);
    xref_note(s, loop.label_pos, false);
    loop.label_name = nullptr;
  }
}

// True when the END-kind statement just parsed closes a unit.
bool is_end_statement(int kind) {
  switch (kind) {
    case st_end:
    case st_end_block_data:
    case st_end_function:
    case st_end_module:
    case st_end_program:
    case st_end_subroutine:
      return true;
    default:
      return false;
  }
}

// One statement from the current scan position; returns true when the rest
// of the line is not to be parsed (its end, an INCLUDE, or text after END).
bool parse_one_statement() {
  stop_tokens_clear();
  const char* start = scan.scan_ptr;
  loop.pending_label_stmt = nullptr;
  take_statement_label();
  classify_statement();
  scan.cur_token = tok_no_token;
  err_pos = loop.stmt_pos;
  bool failed = false;
  bool refused = false;
  if (loop.stmt_kind == st_unrecognized) {
    failed = true;  // already reported by the classifier
  } else if (!order_check()) {
    error_at(134, loop.stmt_pos);
    refused = true;
  } else if (!context_check()) {
    refused = true;
  }
  if (refused) {
    skip_statement_quietly();
  } else {
    define_statement_label();
    if (loop.stmt_kind == st_do || loop.stmt_kind == st_do_while) append_anonymous_control_label();
    int kind = loop.stmt_kind;
    if (kind == st_include) {
      if (!dispatch_statement()) skip_statement_quietly();
      return true;
    }
    if (!dispatch_statement()) failed = true;
    loop.stmt_kind = kind;
    decl_ctx.statement_kind = kind;
    if (scan.cur_token == tok_no_token) scan_token(expression_mode);
    if (scan.cur_token != tok_eos) {
      if (!failed) {
        err_pos = scan.token_pos;
        error_here(214);
      }
      skip_to_end_of_statement();
    }
    if (loop.label_name && loop.label_symbol) {
      if (kind == st_end_if && loop.label_symbol->name != names.error_name)
        append_label_statement(loop.label_symbol);
      end_labelled_do(loop.label_symbol);
    }
  }
  bool more_on_line = *scan.token_start == ';' && scan_peek_char() != '\0';
  if (!refused && is_end_statement(loop.stmt_kind) && more_on_line) {
    if (!failed) {
      err_pos = scan_position_of(scan.scan_ptr);
      error_here(214);
    }
    while (scan_peek_char() != '\0') scan_token(quiet_mode);
    return true;
  }
  // A statement that consumed nothing ends the line (no endless loop).
  return !more_on_line || scan.scan_ptr <= start;
}

source_pos_record end_of_source_position() {
  source_file* f = the_il_header.primary_source_file;
  uint32_t last = f && f->last_seq_number != UINT32_MAX ? f->last_seq_number : src.line_counter;
  return source_pos_record{last + 1, 0};
}

}  // namespace

int parse_program_unit() {
  decl_ctx.in_type_definition = false;
  decl_ctx.spec_part_done = false;
  symtab.interface_depth = 0;
  scan.continuation_guard = false;
  loop.stmt_section = section_start;
  loop.header_seen = false;
  loop.contained_depth = 0;
  loop.module_procedure_mark = false;
  loop.no_component_yet = false;
  for (;;) {
    loop.first_on_line = true;
    while (!parse_one_statement()) loop.first_on_line = false;
    if (loop.stmt_section == section_end) {
      if (loop.contained_depth == 0) return 1;
      loop.stmt_section = section_start;
    }
    if (!statement_read()) {
      error_at(327, end_of_source_position());
      while (symtab.cur_scope > 0) end_program_unit();
      return 1;
    }
  }
}
