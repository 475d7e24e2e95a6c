// Fortran text of IL expressions and constants: the expression half of the
// Fortran regeneration. The program database writes CHARACTER lengths with it
// and the HTML listing the titles of its expression and statement entries.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "frontend/model/il_entries.h"

// Where every piece of text goes.
using fortran_output_fn = void (*)(std::string_view text);

struct FortranTextState {
  fortran_output_fn output;  // installed output function (never null)
  FILE* stream;              // where the default output function writes
  bool html;                 // write "<" and ">" of single characters as entities
  uint32_t node_limit;       // entries one top-level call may write
  uint32_t nodes_left;       // what is left of node_limit in the current call
  uint32_t depth;            // nesting of the node being written
  bool overflow;             // a call ran out of node_limit or nesting depth
};
extern FortranTextState fortran_text;

// Default output to stdout, no HTML, the default node limit, no overflow.
void fortran_text_reset();

// Installs the output function; null installs the default, which writes to
// fortran_text.stream.
void set_fortran_output(fortran_output_fn fn);

// Bounds every top-level write below to this many expression nodes and
// constants (a cyclic or absurdly deep graph sets fortran_text.overflow and
// stops writing instead of looping).
void set_fortran_node_limit(uint32_t limit);

void write_fortran_expr(const expr_node* node);      // null writes nothing
void write_fortran_constant(const constant* c);      // null writes nothing
void write_fortran_arg_list(const expr_node* first); // "(a, k=b, *10)"
void write_fortran_list(const expr_node* first);     // "a, b, c"
void write_fortran_loop_control(const do_loop* loop);  // "i=1, n, 2"

// The text of a node or constant as a string (the output function is
// bypassed for the call and restored after it).
std::string fortran_expr_text(const expr_node* node);
std::string fortran_constant_text(const constant* c);

// The characters of a character constant's value: its type's constant
// length, within the bytes the value holds (0 without value bytes).
uint32_t character_constant_length(const constant* c);

// A real value of a kind with that many bits of precision: "%.*g" with the
// digits that read back to the same value, ".0" after an integral number.
std::string fortran_real_text(double v, int bits);

// The text of an operator code; "<error operator>" above eok_assign.
const char* fortran_operator_text(int op_kind);

// Names of the rows of the table of intrinsics (0-17 the intrinsic operators,
// then the intrinsic procedures); null outside the table.
inline constexpr int intrinsic_row_count = 178;
const char* intrinsic_row_name(int row);
