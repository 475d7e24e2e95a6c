// Storage association: the place of every variable in COMMON or in an
// EQUIVALENCE set (a storage object and a byte offset within it), laid out
// once per unit when its statements have been read; and the completion of
// derived types (their components, forward references resolved).
#pragma once
#include <cstdint>

#include "frontend/base/source_pos.h"
#include "frontend/model/il_entries.h"

// One item of an EQUIVALENCE list.
struct equivalence_member {
  equivalence_member* next;
  source_pos_record pos;   // where the item was written
  object* obj;             // the variable (the designated object after layout)
  expr_node* ref;          // the item as written, with subscripts or substring
  int32_t offset;          // its byte offset: in the object, then in the set
};

// One parenthesised EQUIVALENCE list; after layout, a set of associated
// variables.
struct equivalence_group {
  equivalence_group* next;
  equivalence_member* first_member;
  equivalence_member* last_member;
  bool failed;             // a member of the list failed to parse
  int32_t largest_offset;  // the largest designator offset of the set
  uint32_t size;           // the set's size in bytes
};

struct StorageState {
  equivalence_group* groups_head;  // the current unit's EQUIVALENCE lists
  equivalence_group* groups_tail;
};
extern StorageState storage;

// Forgets the unit's equivalence groups (compilation set-up).
void storage_state_reset();
// Appends an equivalence group of the current unit.
void add_equivalence_group(equivalence_group* g);

// Lays out the COMMON blocks and EQUIVALENCE sets of the current unit.
void storage_association();
// Makes v associated with storage object s at the byte offset.
void assign_storage(object* v, object* s, int32_t offset);
// At END TYPE, with the definition's level current: the components become
// the type's fields and the level is closed.
void derived_type_complete(type* t);
// t with a forward-referenced derived type (or the element type of an array)
// replaced by its definition.
type* resolve_forward_type(type* t);
// Resolves forward-referenced derived types in the current level's IMPLICIT
// map and in a function's result.
void implicit_map_resolve();

// Moves the DATA runs of an associated object onto its base object (defined
// with the DATA statement).
void mark_initialized_storage(object* o);
