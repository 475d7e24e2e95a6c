// Named memory pools: word accounting, chunks, spare chunks, release and
// merging, misuse.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "tests/unit/checker_common/common_fixture.h"

using Pools = CommonTest;

TEST_F(Pools, OneByteTakesOneWordOrFourWithHeaders) {
  qlist* bare = qcreate(0, "bare");
  qmalloc(bare, 1);
  EXPECT_EQ(qm_pool_free_words(bare), qm_minchunk - 1);
  qlist* hdr = qcreate(1, "hdr");
  qmalloc(hdr, 1);
  EXPECT_EQ(qm_pool_free_words(hdr), qm_minchunk - 4);
  EXPECT_EQ(bare->bytes, (qm_minchunk + 3) * qm_word);
}

TEST_F(Pools, LargeFirstRequestTakesAChunkOfItsOwnSize) {
  qlist* p = qcreate(0, "big");
  qmalloc(p, 2050 * qm_word);
  EXPECT_EQ(p->bytes, (2050 + 3) * qm_word);
  EXPECT_EQ(qm_pool_free_words(p), 0);  // no surplus: the block was handed out whole
}

TEST_F(Pools, FlushedChunksAreReusedBeforeTheHeap) {
  qlist* a = qcreate(0, "a");
  qmalloc(a, 100);
  qflush(a);
  EXPECT_EQ(a->bytes, 0);
  EXPECT_EQ(a->freelist, nullptr);
  EXPECT_EQ(qm_spare_words(0), qm_minchunk);
  qlist* b = qcreate(0, "b");
  qmalloc(b, 8);
  EXPECT_EQ(qm_spare_words(0), -1);  // taken from the spare list
  EXPECT_EQ(b->bytes, (qm_minchunk + 3) * qm_word);
  void* again = qmalloc(a, 8);       // a flushed pool stays usable
  EXPECT_NE(again, nullptr);
}

TEST_F(Pools, BestFitOverSpareChunks) {
  qlist* a = qcreate(0, "a");
  qmalloc(a, 3000 * qm_word);   // a chunk of 3000 words
  qlist* b = qcreate(0, "b");
  qmalloc(b, 2100 * qm_word);   // a chunk of 2100 words
  qflush(a);
  qflush(b);                    // spare list: 2100, 3000
  qlist* c = qcreate(0, "c");
  qmalloc(c, 2050 * qm_word);   // best fit: 2100 (surplus 50) before 3000
  EXPECT_EQ(qm_spare_words(0), 3000);
  EXPECT_EQ(qm_spare_words(1), -1);
}

TEST_F(Pools, AdjacentReleasesMergeInEitherOrder) {
  for (int order = 0; order < 2; ++order) {
    qlist* h = qcreate(1, "merge");
    void* x = qmalloc(h, 100);
    void* y = qmalloc(h, 100);
    EXPECT_EQ(qm_pool_free_blocks(h), 1);
    qfree(order == 0 ? x : y);
    qfree(order == 0 ? y : x);
    EXPECT_EQ(qm_pool_free_blocks(h), 1);
    EXPECT_EQ(qm_pool_free_words(h), qm_minchunk);
    qdestroy(h);
  }
}

TEST_F(Pools, ReleasedMiddleBlockStaysSeparateUntilItsNeighbourGoes) {
  qlist* h = qcreate(1, "mid");
  void* x = qmalloc(h, 64);
  void* y = qmalloc(h, 64);
  void* z = qmalloc(h, 64);
  qfree(y);  // between x (above) and z (below): not adjacent to free space
  EXPECT_EQ(qm_pool_free_blocks(h), 2);
  qfree(z);  // z touches the remaining free block and y
  EXPECT_EQ(qm_pool_free_blocks(h), 1);
  qfree(x);
  EXPECT_EQ(qm_pool_free_words(h), qm_minchunk);
}

TEST_F(Pools, BlocksAreAlignedAndDoNotOverlap) {
  qlist* h = qcreate(1, "mix");
  std::mt19937 rng(12345);
  struct Live { unsigned char* p; size_t n; unsigned char fill; };
  std::vector<Live> live;
  for (int step = 0; step < 3000; ++step) {
    if (!live.empty() && rng() % 3 == 0) {
      size_t i = rng() % live.size();
      for (size_t k = 0; k < live[i].n; ++k) ASSERT_EQ(live[i].p[k], live[i].fill);
      qfree(live[i].p);
      live.erase(live.begin() + static_cast<long>(i));
    } else {
      size_t n = 1 + rng() % 3000;
      auto* p = static_cast<unsigned char*>(qmalloc(h, static_cast<int64_t>(n)));
      ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
      unsigned char fill = static_cast<unsigned char>(step);
      std::memset(p, fill, n);
      live.push_back({p, n, fill});
    }
  }
  for (const Live& l : live)
    for (size_t k = 0; k < l.n; ++k) ASSERT_EQ(l.p[k], l.fill);
}

TEST_F(Pools, CreateStoreAndDestroy) {
  qlist* older = qcreate(0, "older");
  qlist* newest = qcreate(0, "a_name_longer_than_eighteen");
  EXPECT_STREQ(newest->name, "a_name_longer_than");
  EXPECT_EQ(qm_allqlists(), newest);
  char* s = qstore(older, "text");
  EXPECT_STREQ(s, "text");
  auto* z = static_cast<unsigned char*>(qcalloc(older, 40));
  for (int i = 0; i < 40; ++i) EXPECT_EQ(z[i], 0);
  qdestroy(newest);
  EXPECT_EQ(qm_allqlists(), older);
  qlist* another = qcreate(0, "another");
  int count = 0;
  for (qlist* q = qm_allqlists(); q != nullptr; q = q->next) {
    EXPECT_NE(std::strcmp(q->name, "a_name_longer_than"), 0);
    ++count;
  }
  EXPECT_EQ(count, 3);  // another, older and the pool of pool records
  EXPECT_EQ(qm_allqlists(), another);
  EXPECT_EQ(qfind("older"), older);
  EXPECT_EQ(qfind("nothing"), nullptr);
  EXPECT_EQ(qnamed("older"), older);
}

TEST_F(Pools, SanityModeTurnsHeadersOn) {
  qlist* p = qcreate(0, "sane");
  qmstate.qmsane = true;
  void* b = qmalloc(p, 16);
  EXPECT_EQ(p->hdrflag, 1);
  qmcheckp("test", b);  // a good block passes
  qfree(b);
  qmstate.qmsane = false;
}

using PoolsDeath = CommonTest;

TEST_F(PoolsDeath, Misuse) {
  EXPECT_EXIT(qmalloc(qcreate(0, "z"), 0), ::testing::ExitedWithCode(4),
              "tarvo \\(fatal\\): internal error in routine qmalloc");
  EXPECT_EXIT(qflush(nullptr), ::testing::ExitedWithCode(4), "qflush \\[NULL\\]");
  EXPECT_EXIT(
      {
        qlist* h = qcreate(1, "twice");
        void* b = qmalloc(h, 10);
        qmalloc(h, 10);
        qfree(b);
        qfree(b);
      },
      ::testing::ExitedWithCode(4), "qfree: bad freecode");
  EXPECT_EXIT(
      {
        qmstate.qmsane = true;
        qmcheckp("label", reinterpret_cast<void*>(0x100));
      },
      ::testing::ExitedWithCode(4), "internal error in routine label: qmcheckp: 100");
}
