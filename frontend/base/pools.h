// Numbered memory pools: blocks handed out from chunks of at least 64 KB,
// 8-byte aligned (4-byte for records of 32-bit fields), and released as a
// whole; records are never freed one by one. All chunks lie in one reserved
// address range, so that records can refer to each other in 32 bits.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

extern int current_pool;  // the pool pool_alloc_zeroed allocates from

void pools_reset();                       // forget all pools, open pool 0
int new_pool();                           // open the next pool number
void* pool_alloc(int pool, size_t n);     // n rounded up to a multiple of 8
void* pool_alloc_zeroed(size_t n);        // from current_pool, cleared
void* pool_alloc_zeroed_4(size_t n);      // the same, n rounded up to 4, 4-byte aligned
void* pool_alloc_zeroed_in(int pool, size_t n, uint32_t align);  // cleared, align 4 or 8
void pool_free_all(int pool);             // every chunk of the pool released
// Gives back every record of a pool that nothing may refer to any more: the
// bytes it handed out are overwritten (all ones), so that a reference left
// behind reads no plausible record; the pool keeps its largest chunk, empty,
// for the records to come, and releases the others.
void pool_drop_records(int pool);
void* mem_alloc(size_t n);                // cleared heap memory ("out of memory")
void* mem_realloc(void* p, size_t old_size, size_t new_size);

// Where a pool's allocation point stands, so that records allocated after it
// and found to be unneeded (a copy that turned out unchanged) can be given
// back at once. Giving back to a mark frees nothing when the pool moved to
// another chunk since; nothing allocated after the mark may stay referenced.
struct pool_mark {
  const void* chunk;  // the pool's current chunk when the mark was taken
  uint32_t alloc;     // its allocation point then
};
pool_mark pool_mark_of(int pool);
void pool_release_to(int pool, pool_mark mark);

// The pools' blocks all lie in one reserved address range, so a reference
// from one record to another fits in 32 bits: the distance from the range's
// start in 4-byte units, 0 for none. References reach 16 GB.
inline constexpr size_t pool_ref_reach = size_t{1} << 34;
extern char* pool_region_start;  // null until the first block
extern size_t pool_region_bytes;
[[noreturn]] void pool_ref_outside(const void* p);

// A 32-bit reference to a pool record (4-byte aligned), used like a T*.
// Zero-filled memory holds none. Storing any other address is an internal
// error, never a silently wrong reference. pool_ref_field declares no
// constructor, so that records may hold it in the structs of their anonymous
// unions; pool_ref, the one records hold elsewhere and locals use, converts
// from a T* (and so from nullptr) as a pointer does.
template <class T>
class pool_ref_field {
 public:
  pool_ref_field& operator=(T* p) {
    unit_ = encode(p);
    return *this;
  }
  T* get() const {
    return unit_ ? reinterpret_cast<T*>(pool_region_start + (uintptr_t{unit_} << 2)) : nullptr;
  }
  operator T*() const { return get(); }
  T* operator->() const { return get(); }

 protected:
  static uint32_t encode(T* p) {
    if (!p) return 0;
    uintptr_t d = reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(pool_region_start);
    if (d >= pool_region_bytes || (d & 3) != 0) pool_ref_outside(p);
    return static_cast<uint32_t>(d >> 2);
  }
  uint32_t unit_;
};

template <class T>
class pool_ref : public pool_ref_field<T> {
 public:
  pool_ref() = default;
  pool_ref(T* p) { this->unit_ = this->encode(p); }
  pool_ref& operator=(T* p) {
    this->unit_ = this->encode(p);
    return *this;
  }
};

// A zero-filled record of type T from the current pool, aligned as T needs:
// records that hold only 32-bit references and smaller take 4-byte steps.
template <class T>
T* pool_new_in(int pool) {
  static_assert(alignof(T) <= 8);
  return static_cast<T*>(pool_alloc_zeroed_in(pool, sizeof(T), alignof(T) <= 4 ? 4 : 8));
}
template <class T>
T* pool_new() {
  return pool_new_in<T>(current_pool);
}

// A NUL-terminated copy of text in the current pool.
char* pool_copy_string(std::string_view text);

// Every chunk starts with a header of this size; the usable area follows it.
inline constexpr size_t pool_chunk_header_size = 24;

// Whether the rest of a chunk (end minus allocation point) is large enough to
// become a free chunk of its own when a larger request retires it: 220 bytes.
bool pool_rest_is_retired(size_t rest);

// What tests may see of a pool's first chunk and of the free chunk list.
struct pool_chunk_info {
  bool present;       // the pool has a chunk
  size_t block_size;  // heap block size; 0 for a chunk carved from a tail
  size_t usable;      // end minus start of the usable area
  size_t room;        // end minus the current allocation point
  size_t chunks;      // chunks on the pool's list
};
pool_chunk_info pool_first_chunk(int pool);
size_t free_chunk_count();  // chunks on the free list
size_t free_chunk_bytes();  // their bytes, headers included

// A set of pool records for a pass that marks many of them: one bit per
// 8-byte unit of the chunks the pools hold when the set is opened (a 64th
// of their size; records are 4-byte aligned and 8 bytes or more, so no two
// start in one unit), and a small table for any other address (records of
// chunks taken later, or outside the pools).
class PoolMarks {
 public:
  void open();  // no member; covers the chunks held now
  void insert(const void* p);
  bool contains(const void* p) const;
  void close();  // no member, memory released

 private:
  struct Range {
    uintptr_t start;   // the chunk's first usable byte
    uintptr_t end;     // one past its last
    size_t first_bit;  // bit of its first 8-byte unit
  };
  const Range* range_of(uintptr_t a) const;
  std::vector<Range> ranges_;            // sorted by start
  std::vector<uint64_t> bits_;
  std::unordered_set<const void*> others_;
};
