// Numbered memory pools: 8-byte aligned blocks handed out from chunks of at
// least 64 KB and released as a whole; records are never freed one by one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

extern int current_pool;  // the pool pool_alloc_zeroed allocates from

void pools_reset();                       // forget all pools, open pool 0
int new_pool();                           // open the next pool number
void* pool_alloc(int pool, size_t n);     // n rounded up to a multiple of 8
void* pool_alloc_zeroed(size_t n);        // from current_pool, cleared
void pool_free_all(int pool);             // every chunk of the pool released
void* mem_alloc(size_t n);                // cleared heap memory ("out of memory")
void* mem_realloc(void* p, size_t old_size, size_t new_size);

// A zero-filled record of type T from the current pool.
template <class T>
T* pool_new() {
  return static_cast<T*>(pool_alloc_zeroed(sizeof(T)));
}

// A NUL-terminated copy of text in the current pool.
char* pool_copy_string(std::string_view text);
