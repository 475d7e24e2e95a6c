// The preloaded symbol table: the keywords' and intrinsic procedures' names
// and symbols, rebuilt before each compilation from the keyword tables and
// the intrinsic rows.
#pragma once
#include <cstdint>

// Counts of the preloaded table, for checks.
struct PreloadCounts {
  uint32_t atoms;       // names interned by the preload
  uint32_t symbols;     // symbols made
  uint32_t class7, class9, class10;
};
PreloadCounts preload_counts();

// The preloaded names and symbols rebuilt, no scope level (cur_scope -1).
// Runs after init_il_tables.
void symtab_reset();
