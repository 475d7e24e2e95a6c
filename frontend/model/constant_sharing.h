// Sharing of equal constants before the IL is written: every enk_constant
// node comes to refer to one entry per distinct value.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

inline constexpr int constant_hash_size = 293;

void constant_sharing_reset();  // empties the hash (init_il_tables)
uint32_t constant_hash(const constant* c);
int constant_equal(const constant* a, const constant* b);
constant* share_constant(constant* c);
void flush_constant_table();
void scope_add_constant(constant* c, scope* s);
void share_constants_pass(il_header* root);
