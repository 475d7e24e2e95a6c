// The block stack of open constructs and the statement lists they fill:
// reachability, branches into and out of blocks, labelled DO termination and
// the closing of constructs by their END statements.
#include "frontend/parser/block_stack.h"

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/labels.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/parser/statement_loop.h"

BlockStackState blocks;

namespace {

constexpr int block_growth = 30;
// Constructs open at once inside one program unit. The semantic pass and the
// IL walker recurse once per level, so the depth is bounded well below what
// their stacks hold; real programs stay far below it.
constexpr int block_nesting_limit = 1000;

bool is_do_frame(const block_frame& f) { return f.kind == blk_do || f.kind == blk_do_while; }

// The statement list slot of a frame's construct statement that receives the
// next statement.
pool_ref_field<statement>* list_slot(block_frame* f) {
  statement* p = f->construct_stmt;
  bool else_part = (f->flags & blockf_else_seen) != 0;
  switch (p->kind) {
    case stmk_if: return else_part ? &p->else_statement : &p->then_statement;
    case stmk_while:
    case stmk_select: return &p->body_statement;
    case stmk_ido:
    case stmk_fdo: return &p->loop_statement;
    case stmk_where: return else_part ? &p->elsewhere_assignment : &p->where_assignment;
    default: return &p->statements;  // stmk_block, stmk_case
  }
}

bool ends_flow(int stmk) {
  switch (stmk) {
    case stmk_goto:
    case stmk_return:
    case stmk_iarith_if:
    case stmk_farith_if:
    case stmk_assigned_goto:
    case stmk_alt_return:
    case stmk_stop:
    case stmk_exit:
    case stmk_cycle:
      return true;
    default:
      return false;
  }
}

bool is_error_label(const symbol_entry* s) { return s && s->name == names.error_name; }

// The construct name (label symbol) of a frame, or null (a DO without one
// carries an anonymous control label that has no symbol).
symbol_entry* frame_construct_name(const block_frame& f) {
  return f.label_stmt && f.label_stmt->label ? f.label_stmt->label->symbol : nullptr;
}

}  // namespace

void block_stack_reset() {
  blocks.top = -1;
  blocks.block_serial_counter = 1;
  blocks.reach_state = reach_yes;
}

block_frame* innermost_block() { return blocks.top >= 0 ? &blocks.frames[blocks.top] : nullptr; }

void push_block(uint32_t kind, statement* construct) {
  if (kind == blk_unit) blocks.reach_state = reach_yes;
  if (blocks.top >= block_nesting_limit)
    report_diagnostic("executable constructs are nested too deeply", current_statement_pos,
                      sev_catastrophe, {});
  ++blocks.top;
  if (blocks.top >= blocks.capacity) {
    int grown = blocks.capacity + block_growth;
    blocks.frames = static_cast<block_frame*>(
        mem_realloc(blocks.frames, sizeof(block_frame) * static_cast<size_t>(blocks.capacity),
                    sizeof(block_frame) * static_cast<size_t>(grown)));
    blocks.capacity = grown;
  }
  block_frame& f = blocks.frames[blocks.top];
  f = block_frame{};
  f.kind = kind;
  f.construct_stmt = construct;
  f.entry_reach = blocks.reach_state;
  f.no_fallthrough = 1;
  f.position = current_statement_pos;
  f.block_serial = blocks.block_serial_counter++;
  if (kind == blk_do || kind == blk_do_while) blocks.reach_state = reach_yes;
}

void block_note_reach(block_frame* f) {
  if (blocks.reach_state == reach_yes) f->no_fallthrough = 0;
}

bool loop_is_endless(statement* s) {
  if (!s) return false;
  if (s->kind == stmk_while)
    return s->expr && s->expr->node_kind == enk_constant && s->expr->constant &&
           const_is_true(s->expr->constant);
  if (s->kind == stmk_ido || s->kind == stmk_fdo) return s->loop == nullptr;
  return false;
}

void pop_block() {
  if (blocks.top < 0) return;
  block_frame* f = &blocks.frames[blocks.top];
  uint32_t k = f->kind;
  // The end of a loop body goes back to the loop's start: only EXIT (which
  // clears no_fallthrough itself) lets the flow fall out of a loop.
  if (k != blk_do && k != blk_do_while) block_note_reach(f);
  if (f->no_fallthrough == 0) {
    blocks.reach_state = reach_yes;
  } else {
    bool may_pass = k == blk_do || k == blk_do_while || k == blk_logical_if ||
                    (k == blk_if && f->construct_stmt && !f->construct_stmt->else_statement) ||
                    (k == blk_select && !(f->flags & blockf_else_seen));
    if (f->entry_reach == reach_yes && may_pass) {
      blocks.reach_state = loop_is_endless(f->construct_stmt) ? reach_no : reach_yes;
    } else {
      blocks.reach_state = f->entry_reach == reach_no_reported ? reach_no_reported : reach_no;
    }
  }
  if (f->construct_stmt && f->construct_stmt->kind == stmk_block)
    f->construct_stmt->last_statement = f->last_stmt;
  --blocks.top;
}

// The last statement of a chain.
static statement* chain_end(statement* s) {
  while (s->next) s = s->next;
  return s;
}

statement* append_statement(int stmk) {
  block_frame* f = innermost_block();
  if (!f) return new_statement(stmk);  // no unit open: a statement of its own
  statement* p = f->construct_stmt;
  pool_ref_field<statement>* slot = list_slot(f);
  if (!*slot) {
    f->last_stmt = nullptr;
  } else if (!f->last_stmt) {
    f->last_stmt = chain_end(*slot);
  }
  if (stmk == stmk_label || stmk == stmk_fentry) blocks.reach_state = reach_yes;
  statement* s = new_statement(stmk);
  statement* body = nullptr;  // the block that holds a list of several statements
  if (*slot && p->kind != stmk_block) {
    if ((*slot)->kind == stmk_block) {
      body = *slot;
      if (*slot == f->last_stmt)
        f->last_stmt = body->last_statement ? body->last_statement.get() : chain_end(body->statements);
    } else {
      body = new_statement(stmk_block);
      body->source_pos = (*slot)->source_pos;
      body->statements = *slot;
      *slot = body;
    }
  }
  if (!*slot) {
    *slot = s;
  } else if (body && !body->statements) {
    body->statements = s;
  } else {
    f->last_stmt->next = s;
  }
  if (body) body->last_statement = s;
  f->last_stmt = s;
  if (ends_flow(stmk)) blocks.reach_state = reach_no;
  return s;
}

void check_reachable() {
  if (blocks.reach_state != reach_yes && blocks.reach_state != reach_no_reported) {
    warning_at(152, current_statement_pos);
    blocks.reach_state = reach_no_reported;
  }
}

bool statement_is_reachable() { return blocks.reach_state == reach_yes; }

bool in_where_construct() {
  block_frame* f = innermost_block();
  return f && f->kind == blk_where;
}

void begin_branch(block_frame* f) {
  blocks.reach_state = f->entry_reach;
  if (loop.label_name && loop.label_symbol && !is_error_label(loop.label_symbol))
    append_label_statement(loop.label_symbol);
  f->block_serial = blocks.block_serial_counter++;
}

int close_construct(uint32_t kind, symbol_entry* name) {
  // The match is searched first: a stray closing statement leaves every
  // open construct alone.
  int found = blocks.top;
  while (found > 0 && blocks.frames[found].kind != kind) --found;
  if (found <= 0) {
    error_at(425, current_statement_pos);
    return 0;
  }
  bool nesting_reported = false;
  while (blocks.top > found) {
    if (!(kind == blk_select && blocks.frames[blocks.top].kind == blk_case) && !nesting_reported) {
      error_at(322, current_statement_pos);
      nesting_reported = true;
    }
    pop_block();
  }
  block_frame& f = blocks.frames[blocks.top];
  bool branch_statement = loop.stmt_kind == st_case || loop.stmt_kind == st_else ||
                          loop.stmt_kind == st_else_if;
  if (name) {
    if (frame_construct_name(f) != name) error_at(58, scan.token_pos);
  } else if (!branch_statement && frame_construct_name(f)) {
    error_at(209, scan.token_pos);
  }
  return 1;
}

symbol_entry* construct_name_ref() {
  if (scan.cur_token != tok_name) return nullptr;
  ::atom* name = scan.token_atom;
  source_pos_record pos = scan.token_pos;
  symbol_entry* found = symbol_here(name);
  scan_token(expression_mode);
  if (found && found->cls == sym_stmt_label) {
    found->flags |= symf_referenced;
    return found;
  }
  error_at(463, pos);
  return found;
}

block_frame* find_do_frame_by_label(symbol_entry* label_symbol) {
  block_frame* result = nullptr;
  int matches = 0;
  for (int i = 1; i <= blocks.top; ++i) {
    block_frame& f = blocks.frames[i];
    if (is_do_frame(f) && f.do_label && f.do_label == label_symbol) {
      if (!result) result = &f;
      ++matches;
    }
  }
  blocks.do_label_matched_one = matches >= 1;
  blocks.do_label_matched_many = matches > 1;
  return result;
}

block_frame* find_do_frame_by_name(symbol_entry* name) {
  for (int i = 1; i <= blocks.top; ++i) {
    block_frame& f = blocks.frames[i];
    if (is_do_frame(f) && f.label_stmt && f.label_stmt->label &&
        f.label_stmt->label->corresp.name == name->name)
      return &f;
  }
  return nullptr;
}

void close_do_frame(block_frame* d) {
  int index = static_cast<int>(d - blocks.frames);
  symbol_entry* own = loop.label_symbol;
  bool nesting_reported = false;
  while (blocks.top > index) {
    block_frame& f = blocks.frames[blocks.top];
    bool silent = is_do_frame(f) && (!f.do_label || f.do_label == own);
    if (!silent && !nesting_reported) {
      error_at(322, current_statement_pos);
      nesting_reported = true;
    }
    pop_block();
  }
  if (blocks.top == index) {
    if (d->do_label && d->do_label != own) error_at(187, current_statement_pos);
    pop_block();
  }
}

void end_labelled_do(symbol_entry* label_symbol) {
  if (loop.stmt_kind == st_end_do) return;
  block_frame* d = find_do_frame_by_label(label_symbol);
  if (!d) return;
  switch (loop.stmt_kind) {
    case st_continue:
      if (blocks.do_label_matched_many) warning_at(596, current_statement_pos);
      break;
    case st_cycle:
    case st_end:
    case st_end_function:
    case st_end_program:
    case st_end_subroutine:
    case st_exit:
    case st_goto:
    case st_assigned_goto:
    case st_arithmetic_if:
    case st_return:
    case st_stop:
      error_at(136, current_statement_pos);
      break;
    default:
      warning_at(596, current_statement_pos);
      break;
  }
  close_do_frame(d);
}

void check_label_block(symbol_entry* label_symbol, int defining, source_pos_record pos) {
  if (!label_symbol || blocks.top < 0) return;
  uint32_t& serial = label_block_serial(label_symbol);
  if (defining) {
    block_frame* f = find_do_frame_by_label(label_symbol);
    if (!f) f = innermost_block();
    if (serial == 0 || serial >= f->block_serial) {
      serial = f->block_serial;
    } else {
      warning_at(309, pos);
      serial = f->block_serial;
    }
    return;
  }
  bool defined = (label_symbol->word2 & labelf_defined) != 0;
  if (!defined) {
    uint32_t innermost = blocks.frames[blocks.top].block_serial;
    if (serial == 0 || serial > innermost) serial = innermost;
    return;
  }
  for (int i = blocks.top; i >= 0; --i)
    if (blocks.frames[i].block_serial == serial) return;
  warning_at(270, pos);
}

void close_open_blocks() {
  // An IF construct left open is reported as such, a DO loop as such, each
  // once; a SELECT CASE or WHERE construct left open makes the END statement
  // one that is not allowed inside it. CASE frames belong to their SELECT.
  while (blocks.top > 0 && blocks.frames[blocks.top].kind != blk_unit) {
    block_frame& f = blocks.frames[blocks.top];
    if (!(f.flags & blockf_label_predefined)) {
      if (f.kind == blk_if) {
        error_at(470, f.position);
      } else if (is_do_frame(f)) {
        error_at(469, f.position);
      } else if (f.kind == blk_select || f.kind == blk_where) {
        error_at(425, current_statement_pos);
      }
    }
    pop_block();
  }
}
