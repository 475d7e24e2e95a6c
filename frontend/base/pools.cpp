// Numbered memory pools: chunks of at least 64 KB with a 24-byte
// header, handed out by pointer bumps and released a pool at a time; released
// chunks go to a free list where neighbours merge back into whole blocks.
// A fresh block reads as zero and its chunk is marked clean, so zeroed
// allocations from it need no clearing of their own.
// Also the two heap wrappers that report "out of memory".
#include "frontend/base/pools.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <vector>

#include "frontend/base/diagnostics.h"

namespace {

constexpr int msg_out_of_memory = 394;
constexpr int msg_too_many_pools = 498;
constexpr size_t min_heap_block = 0x10000;  // 65,536 bytes
constexpr size_t retire_threshold = 220;     // a rest this large becomes a free chunk
constexpr int pool_table_growth = 150;

// A chunk starts with this header; its usable area starts 24 bytes in. The
// offsets are counted from the chunk's own address.
struct pool_chunk {
  pool_chunk* next;  // next chunk of the pool, or of the free list
  uint32_t size;     // size of the heap block; 0 for a chunk carved from a tail
  uint32_t alloc;    // current allocation point
  uint32_t end;      // end of the chunk
  uint32_t clean;    // 1 while every byte from alloc to end is zero
};
static_assert(sizeof(pool_chunk) == pool_chunk_header_size);

struct PoolState {
  pool_chunk** table;       // chunk-list head of each pool number
  int capacity;             // entries of table
  int highest;              // highest pool number in use
  pool_chunk* free_chunks;  // chunks that no pool owns
};
PoolState pools{};

char* base(pool_chunk* c) { return reinterpret_cast<char*>(c); }
char* chunk_end(pool_chunk* c) { return base(c) + c->end; }
bool is_whole_block(pool_chunk* c) { return c->size != 0 && c->size == c->end; }

// Every pool block lies in one address range, reserved without access at the
// first need and opened as blocks are carved from it, so that records can
// refer to each other by their distance from its start in 32 bits (pool_ref).
// Blocks up to 8 MB are carved from 32 MB slices that the kernel may back
// with 2 MB pages: freshly opened memory reads as zero (the chunk is clean
// without clearing) and a huge page costs one page fault instead of 512.
// A whole block that the pools give back is kept aside and handed out again,
// zero-filled, for the next new block of its size (a large one also for a
// somewhat smaller block); a large one gives its pages back to the system
// meanwhile, and the range's newest block its room in the range.
constexpr size_t slice_size = size_t{32} << 20;
constexpr size_t huge_page = size_t{2} << 20;
constexpr size_t page = 4096;
constexpr size_t block_gap = 8;
constexpr size_t largest_region = pool_ref_reach;
constexpr size_t smallest_region = size_t{256} << 20;
struct Region {
  char* start = nullptr;        // the reserved range; null until the first block
  size_t size = 0;              // its bytes
  size_t opened = 0;            // bytes from start made accessible
  size_t used = 0;              // bytes from start handed out as blocks
  struct Spare {
    pool_chunk* block;
    size_t size;
  };
  std::vector<Spare> spare;     // whole blocks given back (kept apart from
                                // their memory, which a large one gave back)
};
Region region;

bool is_large(size_t size) { return size > slice_size / 4; }

// A whole block goes aside for reuse. A large one gives its pages back
// (it reads as zero again), and the newest one its room in the range too.
void release_block(pool_chunk* c) {
  size_t size = c->size;
  if (is_large(size)) {
    madvise(c, size, MADV_DONTNEED);
    if (reinterpret_cast<char*>(c) + size + block_gap == region.start + region.used) {
      region.used -= size + block_gap;
      return;
    }
  }
  region.spare.push_back({c, size});
}

// A block given back earlier for a new block of this size, or null: one of
// exactly that size, or for a large size one of up to twice it.
pool_chunk* spare_block(size_t* size) {
  auto& spare = region.spare;
  size_t fit = spare.size();
  for (size_t i = 0; i < spare.size(); ++i) {
    size_t have = spare[i].size;
    if (have == *size) {
      fit = i;
      break;
    }
    if (fit == spare.size() && is_large(*size) && have > *size && have <= 2 * *size) fit = i;
  }
  if (fit == spare.size()) return nullptr;
  pool_chunk* c = spare[fit].block;
  *size = spare[fit].size;
  spare[fit] = spare.back();
  spare.pop_back();
  return c;
}

// Reserves the range: as large as references reach, or less where the
// system allows less address space.
bool reserve_region() {
  for (size_t size = largest_region; size >= smallest_region; size /= 2) {
    void* m = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (m == MAP_FAILED) continue;
    // The first huge page stays unused: distance 0 means no record, and the
    // slices start on 2 MB boundaries.
    auto first = (reinterpret_cast<uintptr_t>(m) + huge_page) & ~(huge_page - 1);
    region.start = static_cast<char*>(m);
    region.size = size;
    region.opened = region.used = first - reinterpret_cast<uintptr_t>(m);
    pool_region_start = region.start;
    pool_region_bytes = size;
    return true;
  }
  return false;
}

// Makes the range accessible up to at least `end` bytes from its start, a
// slice at a time.
bool open_region_to(size_t end) {
  if (end <= region.opened) return true;
  size_t to = region.opened + slice_size;
  if (to < end) to = (end + huge_page - 1) & ~(huge_page - 1);
  if (to > region.size) to = region.size;
  if (to < end) return false;
  char* from = region.start + region.opened;
  if (mprotect(from, to - region.opened, PROT_READ | PROT_WRITE) != 0) return false;
#ifdef MADV_HUGEPAGE
  madvise(from, to - region.opened, MADV_HUGEPAGE);
#endif
  region.opened = to;
  return true;
}

void* arena_alloc(size_t size) {
  if (!region.start && !reserve_region()) return nullptr;
  // A large block starts on a huge page (its size is whole pages), so that
  // it can give all its pages back.
  if (is_large(size)) region.used = (region.used + huge_page - 1) & ~(huge_page - 1);
  // Blocks are kept apart by a gap, as separate heap blocks are, so that
  // freeing never merges two blocks into one chunk.
  size_t end = region.used + size + block_gap;
  if (end > region.size || !open_region_to(end)) return nullptr;
  void* p = region.start + region.used;
  region.used = end;
  return p;
}

void free_chunk(pool_chunk* c) {
  if (is_whole_block(c)) {
    release_block(c);
    return;
  }
  pool_chunk** link = &pools.free_chunks;
  while (*link) {
    pool_chunk* f = *link;
    if (chunk_end(f) == base(c)) {  // f lies just below c: f takes c's end
      *link = f->next;
      f->end = static_cast<uint32_t>(chunk_end(c) - base(f));
      f->clean = 0;  // c's header now lies inside f
      c = f;
    } else if (chunk_end(c) == base(f)) {  // f lies just above c
      *link = f->next;
      c->end = static_cast<uint32_t>(chunk_end(f) - base(c));
      c->clean = 0;  // f's header now lies inside c
    } else {
      link = &f->next;
      continue;
    }
    if (is_whole_block(c)) {
      release_block(c);
      return;
    }
  }
  c->next = pools.free_chunks;
  pools.free_chunks = c;
}

// The rest of a pool's first chunk, when 220 bytes or more, becomes a free chunk.
void retire_rest(pool_chunk* c) {
  c->alloc = (c->alloc + 7) & ~uint32_t{7};  // a chunk header starts on 8
  if (c->alloc > c->end) c->alloc = c->end;
  size_t rest = c->end - c->alloc;
  if (!pool_rest_is_retired(rest)) return;
  auto* tail = reinterpret_cast<pool_chunk*>(base(c) + c->alloc);
  tail->next = nullptr;
  tail->size = 0;
  tail->alloc = pool_chunk_header_size;
  tail->end = static_cast<uint32_t>(rest);
  tail->clean = c->clean;  // its usable area is what c had not handed out
  c->end = c->alloc;
  free_chunk(tail);
}

// Puts in front of the pool a chunk with at least n bytes of room.
void new_chunk(int pool, size_t n) {
  pool_chunk* c = nullptr;
  for (pool_chunk** link = &pools.free_chunks; *link; link = &(*link)->next) {
    pool_chunk* f = *link;
    if (f->end - pool_chunk_header_size >= n + pool_chunk_header_size) {
      *link = f->next;
      c = f;
      break;
    }
  }
  if (!c) {
    if (n > UINT32_MAX - 2 * min_heap_block) catastrophe_here(msg_out_of_memory);
    size_t size = n + pool_chunk_header_size;
    if (size < min_heap_block) size = min_heap_block;
    size = (size + 7) & ~size_t{7};
    if (is_large(size)) size = (size + page - 1) & ~(page - 1);
    c = spare_block(&size);
    if (c) {
      if (!is_large(size)) std::memset(c, 0, size);  // zero-filled, as a fresh block is
    } else {
      c = static_cast<pool_chunk*>(arena_alloc(size));
    }
    if (!c) catastrophe_here(msg_out_of_memory);
    c->size = static_cast<uint32_t>(size);
    c->end = static_cast<uint32_t>(size);
    c->clean = 1;
  }
  c->alloc = pool_chunk_header_size;
  c->next = pools.table[pool];
  pools.table[pool] = c;
}

void open_pool(int k) {
  if (k >= pools.capacity) {
    int new_capacity = pools.capacity + pool_table_growth;
    while (new_capacity <= k) new_capacity += pool_table_growth;
    pools.table = static_cast<pool_chunk**>(
        mem_realloc(pools.table, pools.capacity * sizeof(pool_chunk*),
                    new_capacity * sizeof(pool_chunk*)));
    pools.capacity = new_capacity;
  }
  pools.table[k] = nullptr;
  new_chunk(k, 0);
  if (k > pools.highest) pools.highest = k;
}

}  // namespace

int current_pool = 0;
char* pool_region_start = nullptr;
size_t pool_region_bytes = 0;

void pool_ref_outside(const void* p) {
  (void)p;
  internal_error(0);  // a reference to a record outside the pools
}

bool pool_rest_is_retired(size_t rest) { return rest >= retire_threshold; }

void pools_reset() {
  if (pools.table) {
    for (int k = 0; k <= pools.highest; ++k) pool_free_all(k);
  }
  pools.highest = 0;
  current_pool = 0;
  open_pool(0);
}

int new_pool() {
  if (pools.highest == INT_MAX) catastrophe_here(msg_too_many_pools);
  int k = pools.highest + 1;
  open_pool(k);
  return k;
}

namespace {

// n bytes (rounded up to 4) on a boundary of align (4 or 8). Chunks start
// on 8, so at most 4 bytes of padding go before an 8-aligned block.
void* pool_alloc_aligned(int pool, size_t n, uint32_t align) {
  if (n > UINT32_MAX / 2) catastrophe_here(msg_out_of_memory);
  n = (n + 3) & ~size_t{3};
  pool_chunk* c = pools.table[pool];
  uint32_t pad = c ? c->alloc & (align - 1) : 0;
  if (!c || c->end - c->alloc < n + pad) {
    if (c) retire_rest(c);
    new_chunk(pool, n);
    c = pools.table[pool];
    pad = 0;
  }
  void* p = base(c) + c->alloc + pad;
  c->alloc += static_cast<uint32_t>(n) + pad;
  return p;
}

}  // namespace

void* pool_alloc(int pool, size_t n) { return pool_alloc_aligned(pool, (n + 7) & ~size_t{7}, 8); }

void* pool_alloc_zeroed_in(int pool, size_t n, uint32_t align) {
  void* p = pool_alloc_aligned(pool, align == 8 ? (n + 7) & ~size_t{7} : n, align);
  if (!pools.table[pool]->clean) std::memset(p, 0, n);
  return p;
}

void* pool_alloc_zeroed(size_t n) { return pool_alloc_zeroed_in(current_pool, n, 8); }

void* pool_alloc_zeroed_4(size_t n) { return pool_alloc_zeroed_in(current_pool, n, 4); }

pool_mark pool_mark_of(int pool) {
  pool_chunk* c = pools.table[pool];
  return {c, c ? c->alloc : 0};
}

void pool_release_to(int pool, pool_mark mark) {
  pool_chunk* c = pools.table[pool];
  if (!c || c != mark.chunk || c->alloc < mark.alloc) return;
  // A clean chunk promises zeros from the allocation point on.
  if (c->clean) std::memset(base(c) + mark.alloc, 0, c->alloc - mark.alloc);
  c->alloc = mark.alloc;
}

void pool_free_all(int pool) {
  pool_chunk* c = pools.table[pool];
  while (c) {
    pool_chunk* next = c->next;
    c->clean = 0;  // its records were written
    free_chunk(c);
    c = next;
  }
  pools.table[pool] = nullptr;
}

void pool_drop_records(int pool) {
  pool_chunk* keep = nullptr;
  for (pool_chunk* c = pools.table[pool]; c; c = c->next) {
    std::memset(base(c) + pool_chunk_header_size, 0xFF, c->alloc - pool_chunk_header_size);
    if (!keep || c->end > keep->end) keep = c;
  }
  for (pool_chunk* c = pools.table[pool]; c;) {
    pool_chunk* next = c->next;
    if (c != keep) {
      c->clean = 0;
      free_chunk(c);
    }
    c = next;
  }
  pools.table[pool] = keep;
  if (!keep) return;
  keep->next = nullptr;
  keep->alloc = pool_chunk_header_size;
  keep->clean = 0;  // overwritten: zeroed records are cleared one by one
}

void* mem_alloc(size_t n) {
  void* p = std::calloc(1, n ? n : 1);
  if (!p) catastrophe_here(msg_out_of_memory);
  return p;
}

void* mem_realloc(void* p, size_t old_size, size_t new_size) {
  if (!p) return mem_alloc(new_size);
  void* q = std::realloc(p, new_size ? new_size : 1);
  if (!q) catastrophe_here(msg_out_of_memory);
  if (new_size > old_size) std::memset(static_cast<char*>(q) + old_size, 0, new_size - old_size);
  return q;
}

void PoolMarks::open() {
  ranges_.clear();
  others_.clear();
  size_t bit = 0;
  for (int k = 0; pools.table && k <= pools.highest; ++k)
    for (pool_chunk* c = pools.table[k]; c; c = c->next) {
      auto start = reinterpret_cast<uintptr_t>(base(c)) + pool_chunk_header_size;
      auto end = reinterpret_cast<uintptr_t>(chunk_end(c));
      ranges_.push_back({start, end, bit});
      bit += (end - start) / 8;
    }
  std::sort(ranges_.begin(), ranges_.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
  bits_.assign((bit + 63) / 64, 0);
}

const PoolMarks::Range* PoolMarks::range_of(uintptr_t a) const {
  auto it = std::upper_bound(ranges_.begin(), ranges_.end(), a,
                             [](uintptr_t x, const Range& r) { return x < r.start; });
  if (it == ranges_.begin()) return nullptr;
  --it;
  return a < it->end && (a - it->start) % 4 == 0 ? &*it : nullptr;
}

void PoolMarks::insert(const void* p) {
  auto a = reinterpret_cast<uintptr_t>(p);
  if (const Range* r = range_of(a)) {
    size_t bit = r->first_bit + (a - r->start) / 8;
    bits_[bit / 64] |= uint64_t{1} << (bit % 64);
  } else {
    others_.insert(p);
  }
}

bool PoolMarks::contains(const void* p) const {
  auto a = reinterpret_cast<uintptr_t>(p);
  if (const Range* r = range_of(a)) {
    size_t bit = r->first_bit + (a - r->start) / 8;
    return (bits_[bit / 64] >> (bit % 64)) & 1;
  }
  return others_.count(p) != 0;
}

void PoolMarks::close() {
  std::vector<Range>().swap(ranges_);
  std::vector<uint64_t>().swap(bits_);
  std::unordered_set<const void*>().swap(others_);
}

char* pool_copy_string(std::string_view text) {
  auto* s = static_cast<char*>(pool_alloc_zeroed(text.size() + 1));
  if (!text.empty()) std::memcpy(s, text.data(), text.size());
  return s;
}

pool_chunk_info pool_first_chunk(int pool) {
  pool_chunk_info info{};
  if (pool < 0 || pool > pools.highest || !pools.table) return info;
  pool_chunk* c = pools.table[pool];
  if (!c) return info;
  info.present = true;
  info.block_size = c->size;
  info.usable = c->end - pool_chunk_header_size;
  info.room = c->end - c->alloc;
  info.chunks = 0;
  for (; c; c = c->next) ++info.chunks;
  return info;
}

size_t free_chunk_count() {
  size_t n = 0;
  for (pool_chunk* f = pools.free_chunks; f; f = f->next) ++n;
  return n;
}

size_t free_chunk_bytes() {
  size_t n = 0;
  for (pool_chunk* f = pools.free_chunks; f; f = f->next) n += f->end;
  return n;
}
