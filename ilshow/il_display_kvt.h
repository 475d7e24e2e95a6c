// The TVX 2.0 program database of an IL entry graph: the writer passes over
// the graph, the blocks and items they write, and ilshow's own versions of the
// walker's type, expression, scope and statement walks that the passes use.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "frontend/ilfile/expr_text.h"
#include "frontend/model/il_entries.h"

struct TvxState {
  int pass;                 // tvx_pass: 0, 1, 2, 3, 4, 7, 9 (5, 6, 8 inside blocks)
  il_header header;         // copy of the IL header; positions are looked up in it
  scope* current_scope;     // scope whose lists the walk is in; null outside scopes
  int32_t nesting;          // > 0 while result, parameter or component types are walked
  bool intrinsic_used[intrinsic_row_count];  // rows called by some routine body
  FILE* out;                // the program database stream
  std::string line;         // whole lines not yet on out, then the line being written
  size_t whole_lines;       // bytes of line that are whole lines
  void (*restore_walk_marks)();  // puts the walk marks back as the IL reader left
                                 // them; null when the graph is not the reader's
};
extern TvxState tvx;

// Clean state writing to out.
void tvx_reset(FILE* out);

// Puts the whole lines written so far on the stream (the line being written
// stays back).
void tvx_write_lines();

// Writes the whole database of the graph rooted at the header read from a file.
void il_display_tvx(il_header* header);

// The walk callback of every pass: acts on the entry by tvx.pass.
void tvx_entry_callback(void* entry, int kind, uint32_t size);

// Routine or module block of a program-unit object, by its storage class.
void tvx_write_program_unit(object* o);

// ---- Values and references (exposed for tests) ----

// "so#N", "ty#1N", "gr#1N", "gr#2N", "ro#2N", "ro#3N", or "NULL" for null.
std::string tvx_reference(const void* entry, int kind);
// The name with the database's escapes; "NULL" for a null string.
std::string tvx_escaped_name(const char* name);
// The type text: a blank, then the type as the database shows it.
std::string tvx_type_text(const type* t);
// True for the storage classes whose objects are routines (sc_external to
// sc_unspecified, sc_intrinsic left out).
bool tvx_is_routine_class(uint32_t storage_class);

// ---- ilshow's walks ----

// The body of a routine: the statement with the walk's callback and marks.
void il_walk_statements(statement* s);
void il_walk_type(void* t);
void il_walk_expr_node(void* n);
void il_walk_scope(void* s);
// Installs the three child walks above in the walker (or takes them out).
void tvx_install_walks(bool on);

// Stops the run: the graph does not hold what the database needs. The text
// names the failed condition.
[[noreturn]] void tvx_fail(const char* condition);
