// Memory pools: chunk sizes, the 220-byte retirement rule, reuse
// of free chunks and their merging back into whole heap blocks; sets of
// marked pool records.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>

#include "frontend/base/pools.h"

namespace {

TEST(Pools, ResetOpensPoolZeroWithOneMinimumChunk) {
  pools_reset();
  pool_chunk_info c = pool_first_chunk(0);
  ASSERT_TRUE(c.present);
  EXPECT_EQ(c.block_size, 65536u);
  EXPECT_EQ(c.usable, 65536u - 24);
  EXPECT_EQ(c.room, 65536u - 24);
  EXPECT_EQ(free_chunk_count(), 0u);
}

TEST(Pools, RequestsAreRoundedToEightAndAligned) {
  pools_reset();
  void* a = pool_alloc(0, 1);
  void* b = pool_alloc(0, 1);
  EXPECT_EQ(static_cast<char*>(b) - static_cast<char*>(a), 8);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 8, 0u);
  EXPECT_EQ(pool_first_chunk(0).room, 65536u - 24 - 16);
}

TEST(Pools, LargeRequestGetsChunkOfRequestPlusHeader) {
  pools_reset();
  pool_alloc(0, 70000);
  pool_chunk_info c = pool_first_chunk(0);
  EXPECT_EQ(c.block_size, 70024u);
  EXPECT_EQ(c.room, 0u);
  EXPECT_EQ(c.chunks, 2u);
  pool_alloc(0, 70001);  // 70,008 after rounding, plus the header
  EXPECT_EQ(pool_first_chunk(0).block_size, 70032u);
}

TEST(Pools, RetirementRuleBoundary) {
  EXPECT_FALSE(pool_rest_is_retired(219));
  EXPECT_TRUE(pool_rest_is_retired(220));
}

// Chunk ends are multiples of 8, so the rests met in practice are 216 and 224.
TEST(Pools, RestBelow220BytesStaysUnused) {
  pools_reset();
  int p = new_pool();
  pool_alloc(p, 65512 - 216);
  EXPECT_EQ(pool_first_chunk(p).room, 216u);
  pool_alloc(p, 224);
  EXPECT_EQ(free_chunk_count(), 0u);
  EXPECT_EQ(pool_first_chunk(p).chunks, 2u);
}

TEST(Pools, RestOf220BytesOrMoreBecomesFreeChunk) {
  pools_reset();
  int p = new_pool();
  pool_alloc(p, 65512 - 224);
  EXPECT_EQ(pool_first_chunk(p).room, 224u);
  pool_alloc(p, 232);
  EXPECT_EQ(free_chunk_count(), 1u);
  EXPECT_EQ(free_chunk_bytes(), 224u);
  // Freeing the pool merges the tail back into its block: nothing stays free.
  pool_free_all(p);
  EXPECT_EQ(free_chunk_count(), 0u);
}

TEST(Pools, FreeChunkIsReusedAndMergedBack) {
  pools_reset();
  int p = new_pool();
  pool_alloc(p, 1000);
  pool_alloc(p, 65000);  // the rest of the first chunk becomes a free chunk
  ASSERT_EQ(free_chunk_count(), 1u);
  int q = new_pool();    // opened with the free chunk
  EXPECT_EQ(free_chunk_count(), 0u);
  pool_chunk_info c = pool_first_chunk(q);
  EXPECT_EQ(c.block_size, 0u);  // carved from another chunk's tail
  EXPECT_EQ(c.usable, 65512u - 1000 - 24);
  pool_free_all(p);  // the head waits for its tail
  EXPECT_EQ(free_chunk_count(), 1u);
  pool_free_all(q);  // the tail joins it: a whole block goes back to the heap
  EXPECT_EQ(free_chunk_count(), 0u);
}

TEST(Pools, WholeBlockGivenBackIsReusedCleared) {
  pools_reset();
  int p = new_pool();
  auto* a = static_cast<unsigned char*>(pool_alloc(p, 100));
  for (int i = 0; i < 100; ++i) a[i] = 0xAB;
  pool_free_all(p);  // a whole block: kept aside, not on the free list
  EXPECT_EQ(free_chunk_count(), 0u);
  int q = new_pool();  // its new block is the one given back
  auto* b = static_cast<unsigned char*>(pool_alloc(q, 100));
  EXPECT_EQ(b, a);
  int nonzero = 0;
  for (int i = 0; i < 100; ++i) nonzero += b[i] != 0;
  EXPECT_EQ(nonzero, 0);  // records come zeroed, as from a fresh block
}

// A large block given back is used again, cleared: the newest one for any
// size (its room goes back to the address range), another one for a block
// of up to its size.
TEST(Pools, LargeBlocksGivenBackAreUsedAgainCleared) {
  pools_reset();
  size_t large = size_t{12} << 20;
  int a = new_pool();
  auto* first = static_cast<uint8_t*>(pool_alloc(a, large));
  first[0] = first[large - 1] = 1;
  pool_free_all(a);
  int b = new_pool();
  auto* again = static_cast<uint8_t*>(pool_alloc(b, large + 4096));
  EXPECT_EQ(again, first);
  EXPECT_EQ(again[0] + again[large - 1], 0);

  again[0] = 1;
  int c = new_pool();
  auto* above = static_cast<uint8_t*>(pool_alloc(c, large));  // a newer block
  EXPECT_GT(above, again);
  pool_free_all(b);  // not the newest: set aside
  int d = new_pool();
  auto* smaller = static_cast<uint8_t*>(pool_alloc(d, large - 4096));
  EXPECT_EQ(smaller, again);
  EXPECT_EQ(smaller[0], 0);
}

TEST(Pools, FreedPoolAllocatesAgain) {
  pools_reset();
  int p = new_pool();
  pool_alloc(p, 64);
  pool_free_all(p);
  EXPECT_FALSE(pool_first_chunk(p).present);
  EXPECT_NE(pool_alloc(p, 64), nullptr);
}

TEST(Pools, ZeroedAllocationAndStringCopyUseCurrentPool) {
  pools_reset();
  current_pool = new_pool();
  auto* words = static_cast<uint64_t*>(pool_alloc_zeroed(40));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(words[i], 0u);
  char* s = pool_copy_string("abc");
  EXPECT_STREQ(s, "abc");
  EXPECT_EQ(pool_first_chunk(current_pool).room, 65512u - 40 - 8);
}

// Records allocated after a mark are given back, zero-filled again, while
// the pool stays in the chunk of the mark; once it has moved to another
// chunk, giving back does nothing.
TEST(Pools, ReleaseToMarkGivesBackWithinTheChunk) {
  pools_reset();
  current_pool = new_pool();
  pool_alloc_zeroed(16);
  pool_mark m = pool_mark_of(current_pool);
  auto* words = static_cast<uint64_t*>(pool_alloc_zeroed(24));
  words[0] = words[2] = ~uint64_t{0};
  pool_release_to(current_pool, m);
  EXPECT_EQ(pool_first_chunk(current_pool).room, 65512u - 16);
  auto* again = static_cast<uint64_t*>(pool_alloc_zeroed(24));
  EXPECT_EQ(again, words);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(again[i], 0u);

  pool_mark before_move = pool_mark_of(current_pool);
  pool_alloc_zeroed(70000);  // a chunk of its own, in front of the pool
  pool_release_to(current_pool, before_move);
  EXPECT_EQ(pool_first_chunk(current_pool).room, 0u);
  EXPECT_EQ(pool_first_chunk(current_pool).chunks, 2u);
}

// A 32-bit reference stands for any pool record, in small and large blocks
// alike, and for none; it takes no other address.
TEST(Pools, ReferencesReachEveryPoolRecord) {
  pools_reset();
  struct Rec {
    uint64_t word;
    pool_ref<Rec> link;
  };
  auto* a = pool_new<Rec>();
  EXPECT_EQ(a->link.get(), nullptr);  // zero-filled memory holds none
  auto* big = static_cast<Rec*>(pool_alloc_zeroed(size_t{20} << 20));  // a block beyond a slice
  auto* b = pool_new<Rec>();
  a->link = b;
  b->link = big;
  big->link = a;
  EXPECT_EQ(sizeof(pool_ref<Rec>), 4u);
  EXPECT_EQ(a->link.get(), b);
  EXPECT_EQ(b->link.get(), big);
  EXPECT_EQ(big->link->link.get(), b);
  pool_ref<Rec> none = nullptr;
  EXPECT_TRUE(none == nullptr);
  a->link = nullptr;
  EXPECT_FALSE(a->link);

  Rec outside{};
  EXPECT_EXIT(a->link = &outside, ::testing::KilledBySignal(SIGABRT), "Internal error");
  EXPECT_EXIT(a->link = reinterpret_cast<Rec*>(reinterpret_cast<char*>(b) + 2),
              ::testing::KilledBySignal(SIGABRT), "Internal error");
}

// Records of 32-bit fields only take 4-byte steps; anything else still
// starts on 8 bytes.
TEST(Pools, SmallRecordsTakeFourByteSteps) {
  pools_reset();
  struct Small {
    uint32_t word;
    pool_ref<Small> link[2];
  };
  static_assert(sizeof(Small) == 12 && alignof(Small) == 4);
  auto* first = pool_new<Small>();
  auto* second = pool_new<Small>();
  EXPECT_EQ(reinterpret_cast<char*>(second) - reinterpret_cast<char*>(first), 12);
  auto* third = pool_new<Small>();
  EXPECT_EQ(reinterpret_cast<char*>(third) - reinterpret_cast<char*>(second), 12);
  // One of the three ends off an 8-byte boundary: 4 bytes of padding follow.
  auto* words = static_cast<uint64_t*>(pool_alloc_zeroed(8));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(words) % 8, 0u);
  EXPECT_EQ(reinterpret_cast<char*>(words) - reinterpret_cast<char*>(third), 16);
  first->link[1] = second;
  second->link[0] = first;
  EXPECT_EQ(first->link[1]->link[0].get(), first);
  EXPECT_EQ(second->word, 0u);
}

// Dropping a pool's records overwrites what it handed out, keeps its
// largest chunk empty for what comes next and releases the others.
TEST(Pools, DroppedRecordsAreOverwrittenAndTheLargestChunkStays) {
  pools_reset();
  int scratch = new_pool();
  auto* first = static_cast<uint32_t*>(pool_alloc_zeroed_in(scratch, 16, 4));
  first[0] = 7;
  pool_drop_records(scratch);
  EXPECT_EQ(first[0], 0xFFFFFFFFu);
  EXPECT_EQ(pool_first_chunk(scratch).room, 65512u);
  auto* again = static_cast<uint32_t*>(pool_alloc_zeroed_in(scratch, 16, 4));
  EXPECT_EQ(again, first);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(again[i], 0u);

  auto* large = static_cast<uint32_t*>(pool_alloc_zeroed_in(scratch, 70000, 8));  // a chunk in front
  EXPECT_EQ(pool_first_chunk(scratch).chunks, 2u);
  EXPECT_EQ(free_chunk_count(), 1u);  // the first chunk's rest, retired
  pool_drop_records(scratch);
  EXPECT_EQ(large[0], 0xFFFFFFFFu);
  pool_chunk_info c = pool_first_chunk(scratch);
  EXPECT_EQ(c.chunks, 1u);
  EXPECT_EQ(c.room, c.usable);
  EXPECT_GE(c.usable, 70000u);
  // The first chunk went back and joined its rest: a whole block again,
  // set aside for reuse.
  EXPECT_EQ(free_chunk_count(), 0u);
}

TEST(Pools, PoolNumbersGrowPastTableCapacity) {
  pools_reset();
  int last = 0;
  for (int i = 0; i < 400; ++i) last = new_pool();
  EXPECT_EQ(last, 400);
  EXPECT_TRUE(pool_first_chunk(400).present);
  pools_reset();
}

TEST(Pools, HeapWrappersClearMemory) {
  auto* p = static_cast<unsigned char*>(mem_alloc(16));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
  p[0] = 7;
  p = static_cast<unsigned char*>(mem_realloc(p, 16, 64));
  EXPECT_EQ(p[0], 7);
  for (int i = 16; i < 64; ++i) EXPECT_EQ(p[i], 0);
  free(p);
}

// Records of several pools and chunks, records of chunks taken after the
// set was opened, and addresses outside the pools are each members only
// once inserted; opening again empties the set.
TEST(PoolMarks, MembersAreExactlyTheInsertedAddresses) {
  pools_reset();
  int other = new_pool();
  void* a = pool_alloc(0, 16);
  void* b = pool_alloc(0, 8);
  void* c = pool_alloc(other, 40);
  void* big = pool_alloc(0, 70000);  // a chunk of its own
  static uint64_t outside[2];
  PoolMarks marks;
  marks.open();
  void* later = pool_alloc(other, 100000);  // a chunk taken after opening
  for (void* p : {a, c, big, later, static_cast<void*>(&outside[1])}) {
    EXPECT_FALSE(marks.contains(p));
    marks.insert(p);
  }
  for (void* p : {a, c, big, later, static_cast<void*>(&outside[1])}) EXPECT_TRUE(marks.contains(p));
  EXPECT_FALSE(marks.contains(b));
  EXPECT_FALSE(marks.contains(static_cast<char*>(a) + 8));
  EXPECT_FALSE(marks.contains(static_cast<char*>(big) + 8));
  EXPECT_FALSE(marks.contains(&outside[0]));
  marks.open();
  for (void* p : {a, c, big, later, static_cast<void*>(&outside[1])}) EXPECT_FALSE(marks.contains(p));
  marks.insert(b);
  EXPECT_TRUE(marks.contains(b));
  marks.close();
  EXPECT_FALSE(marks.contains(b));
}

}  // namespace
