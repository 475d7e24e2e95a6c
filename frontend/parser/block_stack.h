// The block stack of open constructs: every executable statement is linked
// into the statement list of the construct it stands in; reachability of
// statements (warning "statement is unreachable"), branches into and out of
// blocks, labelled DO termination and the closing of constructs.
#pragma once
#include <cstdint>

#include "frontend/base/source_pos.h"
#include "frontend/model/il_entries.h"

enum block_kind : uint32_t {
  blk_unit = 0,          // the program unit itself
  blk_do = 1,            // DO loop
  blk_do_while = 2,      // DO WHILE loop
  blk_logical_if = 3,    // the dependent statement of a logical IF
  blk_if = 4,            // IF construct
  blk_where_stmt = 5,    // the assignment of a WHERE statement
  blk_where = 6,         // WHERE construct
  blk_select = 7,        // SELECT CASE construct
  blk_case = 8,          // one CASE of a SELECT CASE
};

inline constexpr uint32_t blockf_else_seen = 1u << 0;         // ELSE / ELSEWHERE / CASE DEFAULT seen
inline constexpr uint32_t blockf_label_predefined = 1u << 1;  // DO label defined before or invalid

struct block_frame {
  uint32_t kind;                 // block_kind
  uint32_t flags;                // blockf_ bits
  statement* construct_stmt;     // the statement that heads the construct
  statement* last_stmt;          // last statement of the list being filled, or null
  uint32_t entry_reach;          // reach_state when the frame was pushed
  uint32_t no_fallthrough;       // 1 until the end of some branch is reached reachable
  source_pos_record position;    // position of the statement that pushed the frame
  uint32_t block_serial;         // serial number of the current branch
  symbol_entry* do_label;        // DO, DO WHILE: the terminating label symbol, or null
  statement* label_stmt;         // stmk_label statement naming the construct, or null
};

enum reach_code : uint32_t { reach_yes = 0, reach_no = 1, reach_no_reported = 2 };

struct BlockStackState {
  block_frame* frames;           // the stack (heap, grows by 30 frames)
  int top;                       // index of the innermost frame; -1 when empty
  int capacity;                  // frames allocated
  uint32_t block_serial_counter; // next branch serial number
  uint32_t reach_state;          // reach_code of the next statement
  bool do_label_matched_one;     // find_do_frame_by_label found a frame
  bool do_label_matched_many;    // ... and more than one
};
extern BlockStackState blocks;

// Label symbols keep the block serial of their definition or first reference
// in their third class word (0 while unset).
inline uint32_t& label_block_serial(symbol_entry* s) { return s->word3; }

// Empties the block stack (top index -1) and sets its serial counter to 1.
void block_stack_reset();
void push_block(uint32_t kind, statement* construct);
void pop_block();
void block_note_reach(block_frame* f);
block_frame* innermost_block();
// A new statement of that stmk_ kind linked into the current list.
statement* append_statement(int stmk);
// Warning 152 once per run of unreachable statements.
void check_reachable();
bool statement_is_reachable();
bool in_where_construct();
// 1 when a frame of that kind was found and is now innermost.
int close_construct(uint32_t kind, symbol_entry* name);
void begin_branch(block_frame* f);
// The construct name at the current token (scanned past), or null.
symbol_entry* construct_name_ref();
block_frame* find_do_frame_by_label(symbol_entry* label);
block_frame* find_do_frame_by_name(symbol_entry* name);
void close_do_frame(block_frame* d);
// After each labelled statement but END DO: closes DO loops ending here.
void end_labelled_do(symbol_entry* label);
void close_open_blocks();
// True for a DO WHILE (.TRUE.) or a DO without loop control.
bool loop_is_endless(statement* s);
