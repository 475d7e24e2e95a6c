// EQUIVALENCE groups, laid out when the specification part ends: the
// objects of each group are placed relative to each other in a ring (the
// link field), and a group that touches a COMMON block joins the block.
#pragma once

#include <cstdint>

struct locsym;

// A walk round an EQUIVALENCE ring from one of its members. Without a
// mark each other member is met once. With a mark, the end of the walk
// follows the members met as long as they are marked, so that the walk
// ends when it comes round to the first unmarked member met; a ring whose
// members are all marked ends after one full circle (its last member met
// is the start). A broken ring is "LOC-002", more than 2,500 steps "LOC-003".
struct EqvRingWalk {
  locsym* start;                    // the member the walk began at
  locsym* cur;                      // the member met last
  locsym* endmark;                  // meeting it ends the walk
  bool moving;                      // the end mark still follows the walk
  bool done;                        // the walk has ended
  int32_t steps;                    // steps taken
  bool (*marked)(const locsym*);    // the mark, or null for none
};
EqvRingWalk eqv_ring_begin(locsym* sym, bool (*marked)(const locsym*) = nullptr);
// The next member met, null at the end.
locsym* eqv_ring_next(EqvRingWalk& w);

// Reads the unit's EQUIVALENCE records back and lays out the groups; the
// record count is 0 afterwards.
void proceqv();
// Joins two objects of a group, each with the byte offset within it of
// the storage unit they share: two COMMON members (cbmeqvcbm), a COMMON
// member and another object whose whole group joins the block (equnlink),
// two objects outside COMMON (eqlink, the one already in a group first).
void cbmeqvcbm(locsym* a, int32_t aoff, locsym* b, int32_t boff);
void equnlink(locsym* member, int32_t moff, locsym* other, int32_t ooff);
void eqlink(locsym* a, int32_t aoff, locsym* b, int32_t boff);
