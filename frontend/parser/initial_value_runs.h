// Initial values set by DATA: per object, a single value or sorted,
// non-overlapping runs of bytes (a ck_aggregate of ck_init_position entries
// each followed by its values and ck_init_repeat entries), so that partial
// initialisation and initialisation through EQUIVALENCE can be merged and
// overlaps reported.
#pragma once
#include <cstdint>

#include "frontend/base/source_pos.h"
#include "frontend/model/il_entries.h"

// Stores the value v (an IL constant of its destination type) at the byte
// offset within o: a whole scalar takes v as its initializer, anything else a
// run. 17 at pos (o's name) when the bytes were initialised before; then 0.
int store_initial_value(object* o, constant* v, int32_t offset, source_pos_record pos);
// Stores count copies of v at offset, offset + size, ... (size: v's type
// size) as one repeat entry; o must hold runs (an array, a derived-type
// object or an associated object). 17 at pos when the bytes were
// initialised before; then 0.
int store_repeated_value(object* o, constant* v, uint32_t count, int32_t offset, source_pos_record pos);
// Inserts a run of `size` bytes at `offset` holding the value entries
// first..last (chained) into o's runs, joining touching runs; 0 when it
// overlaps a run there (nothing stored, no message).
int insert_run(object* o, int32_t offset, uint32_t size, constant* first, constant* last);
