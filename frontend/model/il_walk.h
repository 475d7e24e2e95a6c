// The IL walker: two passes over every entry reachable from a root, each
// entry visited once per pass; bit 30 of the header is flipped per visit, so
// that after both passes every mark is as it was.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

// A visitor or a "before" action: (entry, kind, size).
using il_visitor = void (*)(void* entry, int kind, uint32_t size);

// How many entries the walk may hold open at once (the one being walked and
// those it was reached through). A program's graph stays far below it: an
// expression of one statement nests at most a few thousand levels. A deeper
// graph comes from a damaged IL or module file, and walking it would run out
// of stack; the walk then stops at the limit (see WalkState::too_deep).
inline constexpr uint32_t il_walk_depth_limit = 5000;

struct WalkState {
  il_visitor visitor;      // the current pass's visitor (may be null)
  il_entry_header parity;  // bit 30 value that marks "visited in this pass"
  scope* current_scope;    // the scope whose lists are being walked
  bool il_module_mode;     // a module file is being written
  object* module_root;     // in module mode, the first module reached, whose symbols
                           // the file holds: another module reached from it (the
                           // module of a used type or procedure) gives none
  uint32_t depth;          // entries open in il_walk_entry: the current one and its parents
  bool too_deep;           // this walk reached the depth limit and stopped there
  bool quiet_too_deep;     // at the limit stop quietly instead of the catastrophic
                           // error "invalid intermediate language file"; the caller
                           // reads too_deep (the IL reader's depth check)
};
extern WalkState walk;

// Both passes from root. An entry deeper than il_walk_depth_limit ends the
// run with the catastrophic error "invalid intermediate language file", or
// with walk.quiet_too_deep set, ends the walk with walk.too_deep set.
void il_walk(void* root, int kind, uint32_t size, il_visitor before1, il_visitor visitor1,
             il_visitor before2, il_visitor visitor2);
// The first pass of il_walk alone: every entry it visits keeps its mark
// flipped, so the caller must put the marks back before the next walk.
void il_walk_once(void* root, int kind, uint32_t size, il_visitor visitor);
void il_walk_entry(void* entry, int kind, uint32_t size);
// Whether il_walk_entry would go into the entry: it is there and not yet
// visited in this pass. Callers test it first to spare the call for the many
// references to entries already walked.
inline bool il_walk_pending(const void* entry) {
  return entry && (*static_cast<const il_entry_header*>(entry) & il_walk_mark) != walk.parity;
}
void il_walk_noop(void* entry, int kind, uint32_t size);
// The size the walker states for an entry of a fixed-size kind.
uint32_t il_entry_size(int kind);

// A replacement for the walker's own child walk of one entry kind, called
// after the visitor in place of the children listed for that kind (ilshow
// walks types, expression nodes and scopes its own way); null restores the
// walker's own.
using il_child_walker = void (*)(void* entry);
void il_set_child_walker(int kind, il_child_walker walker);
