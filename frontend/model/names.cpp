// The name hash: 599 buckets of atoms, found by a hash of the folded name and
// compared case-insensitively unless identifiers are case-sensitive ("-U").
#include "frontend/model/names.h"

#include <cstring>

#include "frontend/base/pools.h"

NameState names;

void names_reset() {
  bool case_sensitive = names.case_sensitive_identifiers;
  names = NameState{};
  names.case_sensitive_identifiers = case_sensitive;
}

// A folded character as a signed byte, widened the way the hash adds it.
static uint32_t folded(char c) {
  return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(name_fold[static_cast<unsigned char>(c)])));
}

uint32_t name_hash(const char* text, uint32_t n) {
  uint32_t h = 0;
  if (n < 6) {
    for (uint32_t i = 0; i < n; ++i) h = h * 73 + folded(text[i]);
  } else {
    h = folded(text[0]) * 73 + folded(text[n - 1]);
    h = (h * 73 + folded(text[n / 2 - 1])) * 73;
    h = (h + folded(text[n / 2])) * 73;
    h = h + folded(text[n / 2 + 1]);
  }
  return h % name_hash_size;
}

static bool same_name(const atom* a, const char* text, uint32_t length, bool fold) {
  if (a->length != length) return false;
  if (!fold) return std::memcmp(a->text, text, length) == 0;
  for (uint32_t i = 0; i < length; ++i)
    if (name_fold[static_cast<unsigned char>(text[i])] != static_cast<unsigned char>(a->text[i]))
      return false;
  return true;
}

static uint32_t lookup(const char* text, uint32_t length, atom** out, bool fold) {
  uint32_t bucket = name_hash(text, length);
  atom* prev = nullptr;
  for (atom* a = names.buckets[bucket]; a; prev = a, a = a->next) {
    if (same_name(a, text, length, fold)) {
      if (prev) {  // move the hit to the front of its bucket
        prev->next = a->next;
        a->next = names.buckets[bucket];
        names.buckets[bucket] = a;
      }
      *out = a;
      return bucket;
    }
  }
  *out = nullptr;
  return bucket;
}

uint32_t name_hash_lookup(const char* text, uint32_t length, atom** out) {
  return lookup(text, length, out, !names.case_sensitive_identifiers);
}

atom* name_lookup_folded(const char* text, uint32_t length) {
  atom* a;
  lookup(text, length, &a, true);
  return a;
}

atom* name_intern(const char* text, uint32_t length, symbol_entry** first_symbol) {
  atom* a;
  uint32_t bucket = name_hash_lookup(text, length, &a);
  if (!a) {
    a = pool_new<atom>();
    char* copy = pool_copy_string(std::string_view(text, length));
    // Stored texts are upper case unless names are case-sensitive, so that
    // the folded comparison finds the name however it was written.
    if (!names.case_sensitive_identifiers)
      for (uint32_t i = 0; i < length; ++i)
        copy[i] = static_cast<char>(name_fold[static_cast<unsigned char>(copy[i])]);
    a->text = copy;
    a->length = length;
    a->token_code = length > 0 && text[0] == '.' ? 10 : 0;
    a->next = names.buckets[bucket];
    names.buckets[bucket] = a;
  }
  if (first_symbol) *first_symbol = a->first_symbol;
  return a;
}

atom* intern_cstring(const char* text) {
  return name_intern(text, static_cast<uint32_t>(std::strlen(text)));
}

atom* error_name() {
  if (!names.error_name) {
    atom* a = pool_new<atom>();
    a->text = pool_copy_string("<error>");
    a->length = 7;
    names.error_name = a;
  }
  return names.error_name;
}
