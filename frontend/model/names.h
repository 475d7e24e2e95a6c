// Interned names: the upper-case map shared with the scanner, the 599-bucket
// name hash and the atoms it holds, and the shared "<error>" name.
#pragma once
#include <cstdint>
#include <string_view>

#include "frontend/model/il_entries.h"

// The upper-case map: a-z to A-Z, every other byte to itself.
struct NameFoldTable {
  unsigned char map[256];
  constexpr NameFoldTable() : map() {
    for (int c = 0; c < 256; ++c) map[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  unsigned char operator[](unsigned char c) const { return map[c]; }
};
inline constexpr NameFoldTable name_fold{};

inline constexpr int name_hash_size = 599;     // buckets of the name hash
inline constexpr uint32_t max_name_length = 31;  // longer names get message 318

struct NameState {
  atom* buckets[name_hash_size];  // heads of the atom chains, most recent hit first
  atom* error_name;               // "<error>": never hashed, made on first use
  bool case_sensitive_identifiers;  // "-U": names compared byte for byte
};
extern NameState names;

void names_reset();  // empty hash, no error name; keeps the case option

// The bucket of a name: the hash always folds case (signed bytes of
// name_fold), in unsigned 32-bit arithmetic, mod 599.
uint32_t name_hash(const char* text, uint32_t length);
// Finds the atom of a name (or null); a hit moves to the front of its bucket.
// Returns the bucket index.
uint32_t name_hash_lookup(const char* text, uint32_t length, atom** out);
// Finds the atom of a name with case folding forced on (keyword lookup).
atom* name_lookup_folded(const char* text, uint32_t length);
// The atom of a name, new when absent; *first_symbol receives its chain head
// (null for a new name).
atom* name_intern(const char* text, uint32_t length, symbol_entry** first_symbol = nullptr);
inline atom* name_intern(std::string_view text) {
  return name_intern(text.data(), static_cast<uint32_t>(text.size()));
}
atom* intern_cstring(const char* text);
atom* error_name();  // the shared "<error>" atom
