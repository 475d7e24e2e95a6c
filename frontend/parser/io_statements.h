// Input/output statements and their specifier sets.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

inline constexpr int io_spec_count = 34;  // iosk_access .. iosk_unit

// One flag per I/O specifier (indexed by its iosk_ number).
struct io_spec_set {
  uint8_t flags[io_spec_count];
};

// The sets built at start-up, one per statement, and the always empty set.
enum io_set_index : int {
  io_set_endfile, io_set_backspace, io_set_rewind, io_set_close, io_set_write,
  io_set_read, io_set_open, io_set_inquire, io_set_empty, io_set_count,
};

struct IoStatementState {
  io_spec_set sets[io_set_count];  // the specifiers each statement may carry
  io_spec_set current;             // the set of the statement being parsed
  io_spec_set seen;                // specifiers whose value parsed without error
  int stmk;                        // stmk_ kind of the statement being parsed
  bool list_closed;                // the control list's ")" was read
};
extern IoStatementState io_state;

// Builds the nine I/O specifier sets, once at start-up.
void io_spec_sets_init();

// ( control-item {, control-item} ): unit, format and specifiers into d.
// 1 when the list was accepted.
int parse_io_control_list(input_output_description* d, int stmk);
