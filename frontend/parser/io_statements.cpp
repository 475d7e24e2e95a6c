// Handlers of READ, WRITE, PRINT, OPEN, CLOSE, INQUIRE, BACKSPACE, ENDFILE
// and REWIND, and the control-information list they share. Each appends one
// IL statement with an input/output description (unit, format, specifiers)
// and its item list; which specifiers a statement may carry comes from the
// specifier sets built at start-up. Types and definability of the values are
// checked later, by the unit pass.
#include "frontend/parser/io_statements.h"

#include <cstring>
#include <iterator>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/labels.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/expressions.h"
#include "frontend/parser/list_append.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

IoStatementState io_state;

namespace {

// The specifier rows: which statements may carry each specifier.
struct io_spec_row {
  int iosk;
  uint8_t base, close, write, read, open, inquire;
};
constexpr io_spec_row io_spec_rows[] = {
#define IO_SPEC(iosk, base, close, write, read, open, inquire) {iosk, base, close, write, read, open, inquire},
#include "frontend/parser/io_spec_sets.def"
};
static_assert(std::size(io_spec_rows) == io_spec_count);
static_assert(io_spec_count == iosk_last);

// Scan modes of the control list: a keyword item may start with a
// specifier keyword; "*" stands alone where a unit or format may be "*";
// a digit string is a label where a format may be one.
constexpr uint32_t io_item_mode = operand_mode | scan_specifier_bit;
constexpr uint32_t io_unit_mode = io_item_mode | scan_single_star;
constexpr uint32_t io_format_mode = io_unit_mode | scan_label_bit;

bool is_io_keyword(int t) { return t >= first_specifier_keyword && t <= last_specifier_keyword; }

bool allowed(int k) { return k >= 0 && k < io_spec_count && io_state.current.flags[k]; }
bool seen(int k) { return io_state.seen.flags[k] != 0; }
void mark_seen(int k) { io_state.seen.flags[k] = 1; }
bool any_seen() {
  return std::memcmp(io_state.seen.flags, io_state.sets[io_set_empty].flags, io_spec_count) != 0;
}

void conflict() { error_at(162, loop.stmt_pos); }

// The symbol a name denotes here, through aliases; null when it has none.
symbol_entry* visible_symbol(::atom* name) {
  if (!name) return nullptr;
  return resolve_alias_chain(name->first_symbol, symtab.cur_scope);
}

// Whether the current token is the name of a NAMELIST group.
bool at_namelist_name() {
  if (scan.cur_token != tok_name) return false;
  symbol_entry* s = visible_symbol(scan.token_atom);
  return s && s->cls == sym_namelist;
}

// Whether a node refers to a variable of INTEGER type, not in parentheses:
// an ASSIGN variable used as a format.
bool is_integer_variable(const expr_node* n) {
  if (!n->allow_reordering) return false;
  type* t = nullptr;
  switch (n->node_kind) {
    case enk_object:
    case enk_field:
    case enk_subscript:
      t = n->type;
      break;
    case enk_name_ref: {
      symbol_entry* s = n->symbol;
      if (s && s->cls == sym_alias && s->entity) s = static_cast<symbol_entry*>(s->entity.get());
      if (s && (s->cls == sym_variable || s->cls == sym_undeclared || s->cls == sym_dummy))
        t = symbol_type(s);
      break;
    }
    default:
      break;
  }
  return t && t->type_code == tk_integer;
}

// An END=, EOR= or ERR= label (the current token) as a label-value node.
bool parse_label_value(expr_node** out) {
  bool have_label = scan.cur_token == tok_label;
  source_pos_record pos = scan.token_pos;
  symbol_entry* s = expect_label(xref_reference);
  if (!have_label) {
    *out = error_expr_node();
    return false;
  }
  expr_node* n = new_expr_node(enk_stmt_label_value);
  n->stmt_label_value = s ? static_cast<label*>(s->entity.get()) : nullptr;
  n->type = stmt_label_type();
  n->source_pos = pos;
  *out = n;
  return true;
}

}  // namespace

void io_spec_sets_init() {
  io_state = IoStatementState{};
  for (const io_spec_row& r : io_spec_rows) {
    io_state.sets[io_set_endfile].flags[r.iosk] = r.base;
    io_state.sets[io_set_backspace].flags[r.iosk] = r.base;
    io_state.sets[io_set_rewind].flags[r.iosk] = r.base;
    io_state.sets[io_set_close].flags[r.iosk] = r.close;
    io_state.sets[io_set_write].flags[r.iosk] = r.write;
    io_state.sets[io_set_read].flags[r.iosk] = r.read;
    io_state.sets[io_set_open].flags[r.iosk] = r.open;
    io_state.sets[io_set_inquire].flags[r.iosk] = r.inquire;
  }
}

namespace {

// A unit: "*" (READ and WRITE only) is the default unit, anything else an
// expression. With suppress the value is parsed and dropped.
bool parse_io_unit(input_output_description* d, bool suppress, int stmk) {
  if (scan.cur_token == tok_star && (stmk == stmk_read || stmk == stmk_write)) {
    if (!suppress) d->unit_kind = iou_default;
    scan_token(after_operand_mode);
    return true;
  }
  expr_node* e = nullptr;
  bool ok = parse_expression(&e);
  if (!suppress) {
    d->unit_kind = ok ? iou_external : iou_error;
    d->unit_expr = ok ? e : error_expr_node();
  }
  return ok;
}

// A format: a FORMAT label, "*" (list-directed) or an expression (an
// INTEGER variable, else a character expression).
bool parse_io_format(input_output_description* d, bool suppress) {
  if (scan.cur_token == tok_label) {
    name_pos_record n{scan.token_atom, scan.token_pos};
    symbol_entry* s = label_reference(symbol_here(n.name), &n, lk_format, false, xref_reference);
    scan_token(after_operand_mode);
    if (!suppress) {
      d->format_kind = iof_format_label;
      d->format_label = s ? static_cast<label*>(s->entity.get()) : nullptr;
    }
    return true;
  }
  if (scan.cur_token == tok_star) {
    if (!suppress) d->format_kind = iof_list_directed;
    scan_token(after_operand_mode);
    return true;
  }
  expr_node* e = nullptr;
  bool ok = parse_expression(&e);
  if (suppress) return ok;
  if (!ok) {
    d->format_kind = iof_error;
    return false;
  }
  d->format_expr = e;
  if (is_integer_variable(e)) {
    d->format_kind = iof_assigned_var;
    e->intent_in = false;
  } else {
    d->format_kind = iof_char_expr;
  }
  return true;
}

// A NAMELIST group name as the format.
bool parse_io_namelist_name(input_output_description* d, bool suppress) {
  if (scan.cur_token != tok_name) {
    syntax_error(218);
    if (!suppress) d->format_kind = iof_error;
    return false;
  }
  name_pos_record np = current_name_token();
  symbol_entry* s = visible_symbol(np.name);
  scan_token(after_operand_mode);
  namelist_group* g = nullptr;
  if (s && s->cls == sym_namelist) {
    g = static_cast<namelist_group*>(s->entity.get());
  } else {
    error_at(104, loop.stmt_pos);
    if (!s) s = namelist_stmt_name(nullptr, &np);
  }
  if (s) xref_note_use(xref_reference, s, np.pos);
  if (suppress) return g != nullptr;
  if (!g) {
    d->format_kind = iof_error;
    return false;
  }
  d->format_kind = iof_namelist_directed;
  d->format_namelist_group = g;
  for (expr_node* m = g->member_list; m; m = m->next) {
    if (m->node_kind != enk_object || !m->object) continue;
    m->object->corresp.referenced = true;
    if (m->object->symbol) m->object->symbol->flags |= symf_referenced;
  }
  return true;
}

// The positional format of a control list or of the short forms of READ
// and PRINT: a NAMELIST group name or a format.
bool parse_positional_format(input_output_description* d) {
  if (at_namelist_name() && allowed(iosk_nml)) {
    mark_seen(iosk_nml);
    return parse_io_namelist_name(d, false);
  }
  mark_seen(iosk_fmt);
  return parse_io_format(d, false);
}

// The value of the specifier k (the current token its first token), with
// the conflicts that its kind has with the specifiers seen before. A value
// parsed without error goes to *value (null for the unit, the format and
// the namelist name, which the description holds).
bool parse_specifier_value(input_output_description* d, int k, bool suppress, expr_node** value) {
  *value = nullptr;
  const bool inquire = io_state.stmk == stmk_inquire;
  bool ok = true;
  // A conflict fails the item; an item that failed already, or a second
  // conflict of the same item, is not reported again.
  auto refuse = [&] {
    if (!suppress) conflict();
    ok = false;
    suppress = true;
  };
  expr_node* e = nullptr;
  switch (k) {
    case iosk_access:
    case iosk_action:
    case iosk_blank:
    case iosk_delim:
    case iosk_form:
    case iosk_pad:
    case iosk_position:
    case iosk_recl:
      ok = inquire ? parse_variable(&e) : parse_expression(&e);
      break;
    case iosk_advance:
      if (seen(iosk_rec)) refuse();
      if (!parse_expression(&e)) ok = false;
      break;
    case iosk_end:
      if (seen(iosk_rec)) refuse();
      if (!parse_label_value(&e)) ok = false;
      break;
    case iosk_eor:
    case iosk_err:
      ok = parse_label_value(&e);
      break;
    case iosk_file:
      if (inquire && seen(iosk_unit)) refuse();
      if (!parse_expression(&e)) ok = false;
      break;
    case iosk_fmt:
      if (seen(iosk_nml)) refuse();
      if (!parse_io_format(d, suppress)) ok = false;
      if (ok && !suppress && d->format_kind == iof_list_directed && seen(iosk_rec)) refuse();
      return ok;
    case iosk_iolength:
      if (any_seen()) refuse();
      if (!parse_variable(&e)) ok = false;
      break;
    case iosk_nml:
      if (seen(iosk_fmt) || seen(iosk_rec)) refuse();
      if (!parse_io_namelist_name(d, suppress)) ok = false;
      return ok;
    case iosk_rec:
      if (seen(iosk_nml) || seen(iosk_end) || seen(iosk_advance) ||
          (seen(iosk_fmt) && d->format_kind == iof_list_directed))
        refuse();
      if (!parse_expression(&e)) ok = false;
      break;
    case iosk_status:
      ok = parse_expression(&e);
      break;
    case iosk_unit:
      if (!parse_io_unit(d, suppress, io_state.stmk)) ok = false;
      if (ok && inquire && seen(iosk_file)) refuse();
      return ok;
    default:  // the variables that receive a value
      ok = parse_variable(&e);
      break;
  }
  if (ok && !suppress) *value = e;
  return ok;
}

// The scan mode of the first token of specifier k's value.
uint32_t value_mode(int k) {
  switch (k) {
    case iosk_end:
    case iosk_eor:
    case iosk_err: return label_mode;
    case iosk_fmt: return io_format_mode;
    case iosk_unit: return io_unit_mode;
    default: return operand_mode;
  }
}

// One keyword item: the specifier keyword (current token) and its value.
bool parse_keyword_item(input_output_description* d, expr_node** last) {
  if (!is_io_keyword(scan.cur_token)) {
    syntax_error(223);
    return false;
  }
  int k = token_to_code(scan.cur_token);
  bool suppress = false;
  if (!allowed(k)) {
    error_at(96, loop.stmt_pos);
    suppress = true;
  } else if (seen(k)) {
    error_at(407, loop.stmt_pos);
    suppress = true;
  } else if (seen(iosk_iolength)) {
    conflict();
    suppress = true;
  }
  scan_token(value_mode(k));
  expr_node* value = nullptr;
  bool ok = parse_specifier_value(d, k, suppress, &value) && !suppress;
  if (!ok) return false;
  mark_seen(k);
  if (value) {
    value->is_specifier = true;
    value->specifier = static_cast<uint8_t>(k);
    list_append(d->specifier_list, *last, value);
  }
  return true;
}

// The checks of a complete list: a unit is required, EOR needs ADVANCE,
// ADVANCE needs an explicit format.
bool check_list_complete(input_output_description* d) {
  bool ok = true;
  bool unit_needed = io_state.stmk != stmk_inquire || (!seen(iosk_iolength) && !seen(iosk_file));
  if (!seen(iosk_unit) && unit_needed) {
    error_at(334, loop.stmt_pos);
    d->unit_kind = iou_error;
    d->unit_expr = error_expr_node();
    ok = false;
  }
  if (seen(iosk_eor) && !seen(iosk_advance)) {
    error_at(336, loop.stmt_pos);
    ok = false;
  }
  if (seen(iosk_advance) && (!seen(iosk_fmt) || d->format_kind == iof_list_directed)) {
    error_at(338, loop.stmt_pos);
    ok = false;
  }
  return ok;
}

}  // namespace

int parse_io_control_list(input_output_description* d, int stmk) {
  io_state.stmk = stmk;
  io_state.list_closed = false;
  if (!expect_token(tok_lparen, 228, io_unit_mode)) return 0;
  stop_token_raise(tok_rparen);
  stop_token_raise(tok_comma);
  bool ok = true;
  bool done = false;
  // After a positional item: ")" ends the list, else "," must follow.
  auto separator = [&](uint32_t next_mode) {
    if (scan.cur_token == tok_rparen) {
      done = true;
      return;
    }
    if (scan.cur_token != tok_comma) ok = false;
    if (!expect_token(tok_comma, 206, next_mode)) done = true;
  };
  // Positional unit, then positional format.
  if (!is_io_keyword(scan.cur_token) && allowed(iosk_unit)) {
    mark_seen(iosk_unit);
    if (!parse_io_unit(d, false, stmk)) ok = false;
    separator(io_format_mode);
    if (!done && !is_io_keyword(scan.cur_token) && (allowed(iosk_fmt) || allowed(iosk_nml))) {
      if (!parse_positional_format(d)) ok = false;
      separator(io_item_mode);
    }
  }
  // Keyword items.
  expr_node* last = nullptr;
  for (expr_node* n = d->specifier_list; n; n = n->next) last = n;
  while (!done && scan.cur_token != tok_eos) {
    if (!parse_keyword_item(d, &last)) ok = false;
    if (scan.cur_token != tok_comma) break;
    scan_token(io_item_mode);
  }
  stop_token_lower(tok_rparen);
  stop_token_lower(tok_comma);
  if (!check_list_complete(d)) ok = false;
  if (!expect_token(tok_rparen, 231, operand_mode)) return 0;
  io_state.list_closed = true;
  return ok ? 1 : 0;
}

namespace {

// The common start of a handler: the statement appended with a new
// description, the statement's specifier set made current.
statement* begin_io_statement(int stmk, int set) {
  check_reachable();
  std::memset(io_state.seen.flags, 0, sizeof io_state.seen.flags);
  if (set >= 0) io_state.current = io_state.sets[set];
  io_state.stmk = stmk;
  statement* st = append_statement(stmk);
  st->io_descr = new_io_description();
  return st;
}

// The short forms READ f [, items] and PRINT f [, items]: default unit, the
// format, then the items unless the format is a NAMELIST group.
int parse_short_form(statement* st, bool input) {
  input_output_description* d = st->io_descr;
  d->unit_kind = iou_default;
  io_state.current = io_state.sets[io_set_write];
  bool ok = parse_positional_format(d);
  if (!ok) return 0;
  if (scan.cur_token != tok_comma || d->format_kind == iof_namelist_directed) return 1;
  scan_token(operand_mode);
  bool items_ok = input ? parse_input_item_list(&st->expr, 0) : parse_item_list(&st->expr);
  return items_ok ? 1 : 0;
}

// The items after a control list, unless the statement ends or the format
// is a NAMELIST group.
int control_list_and_items(statement* st, bool input) {
  input_output_description* d = st->io_descr;
  int ok = parse_io_control_list(d, st->kind);
  // A list that failed but was closed still has its items read, so that
  // the names they use are recorded.
  if (!io_state.list_closed || at_end_of_statement() || d->format_kind == iof_namelist_directed) return ok;
  bool items_ok = input ? parse_input_item_list(&st->expr, 0) : parse_item_list(&st->expr);
  return items_ok && ok ? 1 : 0;
}

// OPEN, CLOSE: the control list alone.
int control_list_only(int stmk, int set) {
  statement* st = begin_io_statement(stmk, set);
  scan_after_keyword(io_unit_mode);
  return parse_io_control_list(st->io_descr, stmk);
}

// BACKSPACE, ENDFILE, REWIND: a control list or a unit alone.
int file_positioning(int stmk, int set) {
  statement* st = begin_io_statement(stmk, set);
  if (scan_after_keyword(io_unit_mode) == tok_lparen) return parse_io_control_list(st->io_descr, stmk);
  mark_seen(iosk_unit);
  return parse_io_unit(st->io_descr, false, stmk) ? 1 : 0;
}

}  // namespace

// READ ( control-list ) [items] / READ format [, items]
int parse_read_stmt() {
  statement* st = begin_io_statement(stmk_read, io_set_read);
  if (scan_after_keyword(io_format_mode) != tok_lparen) return parse_short_form(st, true);
  return control_list_and_items(st, true);
}

// WRITE ( control-list ) [items]
int parse_write_stmt() {
  statement* st = begin_io_statement(stmk_write, io_set_write);
  scan_after_keyword(io_unit_mode);
  if (scan.cur_token != tok_lparen) {
    expect_token(tok_lparen, 228, 0);
    return 0;
  }
  return control_list_and_items(st, false);
}

// PRINT format [, items]
int parse_print_stmt() {
  statement* st = begin_io_statement(stmk_write, -1);
  scan_after_keyword(io_format_mode);
  return parse_short_form(st, false);
}

// OPEN ( control-list )
int parse_open_stmt() { return control_list_only(stmk_open, io_set_open); }

// CLOSE ( control-list )
int parse_close_stmt() { return control_list_only(stmk_close, io_set_close); }

// INQUIRE ( control-list ) / INQUIRE ( IOLENGTH = variable ) items
int parse_inquire_stmt() {
  statement* st = begin_io_statement(stmk_inquire, io_set_inquire);
  scan_after_keyword(io_unit_mode);
  int ok = parse_io_control_list(st->io_descr, stmk_inquire);
  if (!ok || !seen(iosk_iolength)) return ok;
  return parse_item_list(&st->expr) ? 1 : 0;
}

// BACKSPACE unit / BACKSPACE ( control-list )
int parse_backspace_stmt() { return file_positioning(stmk_backspace, io_set_backspace); }

// ENDFILE unit / ENDFILE ( control-list )
int parse_endfile_stmt() { return file_positioning(stmk_endfile, io_set_endfile); }

// REWIND unit / REWIND ( control-list )
int parse_rewind_stmt() { return file_positioning(stmk_rewind, io_set_rewind); }
