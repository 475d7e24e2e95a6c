// The IL walker: two passes over every entry reachable from a root, each
// entry visited once per pass; bit 30 of the header is flipped per visit, so
// that after both passes every mark is as it was.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

// A visitor or a "before" action: (entry, kind, size).
using il_visitor = void (*)(void* entry, int kind, uint32_t size);

struct WalkState {
  il_visitor visitor;      // the current pass's visitor (may be null)
  il_entry_header parity;  // bit 30 value that marks "visited in this pass"
  scope* current_scope;    // the scope whose lists are being walked
  bool il_module_mode;     // a module file is being written
};
extern WalkState walk;

void il_walk(void* root, int kind, uint32_t size, il_visitor before1, il_visitor visitor1,
             il_visitor before2, il_visitor visitor2);
void il_walk_entry(void* entry, int kind, uint32_t size);
void il_walk_noop(void* entry, int kind, uint32_t size);
// The size the walker states for an entry of a fixed-size kind.
uint32_t il_entry_size(int kind);

// A replacement for the walker's own child walk of one entry kind, called
// after the visitor in place of the children listed for that kind (ilshow
// walks types, expression nodes and scopes its own way); null restores the
// walker's own.
using il_child_walker = void (*)(void* entry);
void il_set_child_walker(int kind, il_child_walker walker);
