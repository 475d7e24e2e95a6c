// Declaration attributes and their conflicts: every declaration, whatever
// statement it comes from, is a set of attributes that is merged with what
// the symbol already has, tested against one conflict matrix and then
// written into the symbol and its object entry.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "frontend/base/source_pos.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/il_entries.h"

enum attr_number : int {
#define ATTR(number, id, word, no_repeat, ...) id = number,
#include "frontend/model/attributes.def"
};
inline constexpr int attr_count = 37;

// One byte flag per attribute, indexed by attr_number.
struct attr_set {
  std::array<uint8_t, attr_count> on{};
  uint8_t& operator[](int a) { return on[static_cast<std::size_t>(a)]; }
  uint8_t operator[](int a) const { return on[static_cast<std::size_t>(a)]; }
};

// Matrix values: no rule, conflict (or: may not be repeated, on the
// diagonal), requirement named in the message, requirement met silently.
enum : uint8_t { attr_rule_none = 0, attr_rule_conflict = 1, attr_rule_requires = 2,
                 attr_rule_requires_silent = 3 };

// The word of an attribute in messages ("pointer", "intent attributed").
const char* attr_name(int a);

struct AttributeState {
  uint8_t matrix[attr_count][attr_count];  // conflict matrix, row = attribute a
  bool final_check;  // the check of a unit's entities after its whole source was read
};
extern AttributeState attrs;

// The entity a declaration statement is declaring: read by attr_apply.
struct EntityDeclState {
  type* entity_type;           // its type, refined by its array spec and length
  expr_node* entity_init_expr; // its "= value" (also a PARAMETER value), or null
};
extern EntityDeclState entity_decl;

// Copies the constant template into the attribute conflict matrix.
void attr_matrix_reset();
// Merges the symbol's attributes (none: only the request) with the request
// and tests every pair; 1 when no message was given. A requested attribute
// that conflicts is cleared from the request.
int attr_check(symbol_entry* s, attr_set* request, source_pos_record pos);
// The check of a symbol with all its attributes, once its unit has been
// read: requirements are tested, and whether an object is automatic is
// what the unit pass decided.
int attr_check_final(symbol_entry* s, source_pos_record pos);
// Writes the request into the symbol (none: a new undeclared symbol of the
// name); returns the symbol that now stands for the name.
symbol_entry* attr_apply(symbol_entry* s, attr_set* request, name_pos_record* name);
// The pair test of attr_check over a merged set (work), for every attribute
// set in it, or for one; 1 when no message was given.
int attr_conflicts_all(attr_set* work, attr_set* request, symbol_entry* s);
int attr_conflicts_one(int a, attr_set* work, attr_set* request, symbol_entry* s);
