// What the declaration services share with the statement parser: the name
// position record that names travel in, and the parser's context flags that
// decide how a name is declared (specification part done, inside a derived-type
// definition or an IMPLICIT statement, the kind of the current statement).
#pragma once
#include <unordered_set>
#include <vector>
#include <cstdint>

#include "frontend/base/source_pos.h"
#include "frontend/model/il_entries.h"

// A name as the parser hands it to a declaration service. A service that
// refuses the name clears `name`, so that whatever is made from the record
// afterwards bears the shared error name.
struct name_pos_record {
  ::atom* name;             // the interned name; null once dropped
  source_pos_record pos;    // where the name stands
};

// Drops a refused name: later symbols made from the record bear error_name.
inline void drop_name(name_pos_record* n) { n->name = nullptr; }

// Statement kinds the label services look at (the statement loop's numbering).
inline constexpr int stmt_kind_do = 18;
inline constexpr int stmt_kind_do_while = 19;
inline constexpr int stmt_kind_end_if = 28;

struct DeclContext {
  bool spec_part_done;      // the first executable statement of the unit was reached
  bool in_type_definition;  // a derived-type definition is open
  bool in_implicit_stmt;    // an IMPLICIT statement is being parsed
  bool in_function_prefix;  // the type in front of FUNCTION is being parsed: its
                            // derived type may come later, by USE or a definition
  int statement_kind;       // kind (0-83) of the statement being parsed; -1 none
  bool unnamed_block_data_seen;  // an unnamed BLOCK DATA was declared in this file
  ::atom* unnamed_main_name;     // shared empty name of unnamed main programs
  ::atom* unnamed_block_data_name;  // shared empty name of unnamed BLOCK DATA
  ::atom* blank_common_name;     // shared empty name of blank COMMON
  std::unordered_set<const ::object*> interface_bodies;  // routines of interface bodies:
                                                          // specifications, not definitions
  std::vector<::object*> adopted_interface_bodies;  // externals checked before an interface
                                                    // body gave them its unit, still unchecked
};
extern DeclContext decl_ctx;

// Per compilation: flags cleared, shared names forgotten (they are made again
// on first use from the new name table).
void decl_context_reset();

// Unit classes (program_unit_class, cur_unit_kind).
enum unit_class : int {
  uc_none = 0,
  uc_main_program = 1,
  uc_subroutine = 2,
  uc_function = 3,
  uc_block_data = 4,
  uc_module = 5,
};

struct ProgramUnitState {
  int cur_unit_kind;          // unit class of the unit being parsed
  bool main_program_declared; // a main program was declared in this run
};
extern ProgramUnitState units;

// The routine of exactly the given scope level, or null.
object* routine_of_level(int level);

// The unit class of a scope level (0 outside 1..current level).
int program_unit_class(int level);

// The class of the current unit (of the enclosing level when the current
// level has no routine).
int current_program_unit_class();
