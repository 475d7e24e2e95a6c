// Named memory pools: first-fit allocation from chunks of at least 2,043
// words, free lists in ascending address order with merging of neighbours,
// and one process-wide list of spare chunks that emptied pools give back.
#include "checker/common/qmalloc.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checker/common/error.h"

QmallocState qmstate = {false, false, false};

namespace {

// Word layout of a chunk: [0] next chunk, [1] sanity mark, [2] size in words
// of its block space, then the block space.
// Free block: [0] next free block, [1] 0, [2] size in words (whole block).
// Block header: [0] owner pool, [1] free code (size + 123), [2] size.
using word = uint64_t;
static_assert(sizeof(word) == qm_word && sizeof(void*) <= sizeof(word));

constexpr word freecode_bias = 123;

// The pool of pool records: every qcreate takes its record from here.
qlist list_storage = {nullptr, nullptr, 1, "qtable", 0, nullptr, nullptr};
qlist* allqlists = &list_storage;  // newest pool first
word* freed = nullptr;             // spare chunks (linked through word 0)
uint64_t generation = 0;           // changes whenever the list of pools does

word* as_words(void* p) { return static_cast<word*>(p); }
void* ptr_of(word w) { return reinterpret_cast<void*>(static_cast<uintptr_t>(w)); }
word word_of(const void* p) { return static_cast<word>(reinterpret_cast<uintptr_t>(p)); }

unsigned long addr(const void* p) { return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(p)); }

// Address order of blocks that may lie in different chunks.
uintptr_t at(const word* p) { return reinterpret_cast<uintptr_t>(p); }
uintptr_t end_of(const word* p) { return at(p) + static_cast<uintptr_t>(p[2] * qm_word); }

void trace(const char* fmt, unsigned long a, unsigned long b) {
  if (qmstate.qmdebug) std::fprintf(stderr, fmt, a, b);
}

// Reports an exhausted heap and ends the run.
[[noreturn]] void out_of_memory(qlist* pool, int64_t words) {
  if (qmstate.detail) {
    errf("E-NOMEM", "\ncan't qmalloc %s bytes for '%s'",
         std::to_string(words * qm_word), pool->name);
    int64_t total = 0;
    for (qlist* q = allqlists; q != nullptr; q = q->next) {
      tarvoerr("I", "    qlist " + std::string(q->name) + " contains " +
                        std::to_string(q->bytes) + " bytes\n");
      total += q->bytes;
    }
    int64_t spare = 0, largest = 0;
    for (word* c = freed; c != nullptr; c = as_words(ptr_of(c[0]))) {
      int64_t b = static_cast<int64_t>(c[2]) * qm_word + qm_hdrwords * qm_word;
      spare += b;
      if (b > largest) largest = b;
    }
    tarvoerr("I", "    pool contains " + std::to_string(spare) +
                      " bytes with largest block being " + std::to_string(largest) +
                      " bytes\n");
    tarvoerr("I", "    for a total of " + std::to_string(total) +
                      " bytes currently allocated\n");
  }
  errf("@F-NOMEM", "\nout of memory");
  std::exit(fatal_exit_status);  // not reached: the fatal message ends the run
}

// Gives the pool a new chunk of at least w words of block space.
void q_getmore(qlist* pool, int64_t w) {
  int64_t k = w < qm_minchunk ? qm_minchunk : w;
  word* best = nullptr;
  word* bestprev = nullptr;
  int64_t bestsurplus = -1;
  word* prev = nullptr;
  for (word* c = freed; c != nullptr; prev = c, c = as_words(ptr_of(c[0]))) {
    int64_t surplus = static_cast<int64_t>(c[2]) - k;
    if (surplus < 0) continue;
    if (best == nullptr || surplus < bestsurplus) {
      best = c;
      bestprev = prev;
      bestsurplus = surplus;
      if (surplus == 0) break;
    }
  }
  word* chunk;
  if (best != nullptr) {
    if (bestprev != nullptr)
      bestprev[0] = best[0];
    else
      freed = as_words(ptr_of(best[0]));
    chunk = best;
    k = static_cast<int64_t>(chunk[2]);  // a larger spare chunk keeps its size
    trace("retrieved (%lx-%lx)\n", addr(chunk), addr(chunk + qm_hdrwords + k));
  } else {
    // The request is bounded so that the byte count cannot overflow.
    if (k > (INT64_MAX / qm_word) - qm_hdrwords) out_of_memory(pool, k);
    void* mem = std::malloc(static_cast<size_t>((k + qm_hdrwords) * qm_word));
    if (mem == nullptr) out_of_memory(pool, k);
    chunk = as_words(mem);
    chunk[1] = 0;
    trace("malloced (%lx-%lx)\n", addr(chunk), addr(chunk + qm_hdrwords + k));
  }
  chunk[0] = word_of(pool->chunks);
  chunk[2] = static_cast<word>(k);
  pool->chunks = reinterpret_cast<qchunk*>(chunk);
  pool->bytes += (k + qm_hdrwords) * qm_word;
  word* space = chunk + qm_hdrwords;
  space[0] = word_of(pool);
  space[1] = static_cast<word>(k) + freecode_bias;
  space[2] = static_cast<word>(k);
  qfree(space + qm_hdrwords);
}

}  // namespace

qlist* qcreate(int flag, const char* name) {
  qlist* q = static_cast<qlist*>(qmalloc(&list_storage, sizeof(qlist)));
  q->freelist = nullptr;
  q->chunks = nullptr;
  q->hdrflag = flag != 0 ? 1 : 0;
  std::memset(q->name, 0, sizeof q->name);
  if (name != nullptr) std::strncpy(q->name, name, sizeof q->name - 1);
  q->bytes = 0;
  q->prev = nullptr;
  q->next = allqlists;
  allqlists->prev = q;
  allqlists = q;
  ++generation;
  return q;
}

void* qmalloc(qlist* pool, int64_t n) {
  if (pool == nullptr) interr("qmalloc [NULL]");
  if (n <= 0) interr("qmalloc");
  if (n > INT64_MAX / 2) out_of_memory(pool, n / qm_word);
  int64_t w = (n + qm_word - 1) / qm_word;
  if (qmstate.qmsane) pool->hdrflag = 1;
  if (pool->hdrflag) w += qm_hdrwords;
  word* blk = nullptr;
  word* prev = nullptr;
  for (int attempt = 0; attempt < 2 && blk == nullptr; ++attempt) {
    if (attempt == 1) q_getmore(pool, w);
    prev = nullptr;
    for (word* b = as_words(pool->freelist); b != nullptr;
         prev = b, b = as_words(ptr_of(b[0]))) {
      if (static_cast<int64_t>(b[2]) >= w) {
        blk = b;
        break;
      }
    }
  }
  if (blk == nullptr) interr("qmalloc");
  word* result;
  int64_t size = static_cast<int64_t>(blk[2]);
  if (size - w > 5) {
    blk[2] = static_cast<word>(size - w);
    result = blk + (size - w);
  } else {
    if (prev != nullptr)
      prev[0] = blk[0];
    else
      pool->freelist = reinterpret_cast<qblock*>(ptr_of(blk[0]));
    result = blk;
  }
  if (pool->hdrflag) {
    result[0] = word_of(pool);
    result[1] = static_cast<word>(w) + freecode_bias;
    result[2] = static_cast<word>(w);
    return result + qm_hdrwords;
  }
  return result;
}

void* qcalloc(qlist* pool, int64_t n) {
  void* p = qmalloc(pool, n);
  std::memset(p, 0, static_cast<size_t>(n));
  return p;
}

char* qstore(qlist* pool, std::string_view text) {
  char* p = static_cast<char*>(qmalloc(pool, static_cast<int64_t>(text.size()) + 1));
  if (!text.empty()) std::memcpy(p, text.data(), text.size());
  p[text.size()] = '\0';
  return p;
}

void qfree(void* block) {
  if (block == nullptr) interr("qfree: bad freecode");
  word* b = as_words(block) - qm_hdrwords;
  word size = b[2];
  bool good = b[1] == size + freecode_bias;
  if (qmstate.qmsane && b[1] == ((size + freecode_bias) ^ 1)) good = true;
  qlist* owner = static_cast<qlist*>(ptr_of(b[0]));
  if (!good || owner == nullptr) interr("qfree: bad freecode");
  // A released block no longer carries a valid free code, so that a second
  // release is caught; the sanity mode keeps the flipped code instead.
  b[1] = qmstate.qmsane ? ((size + freecode_bias) ^ 1) : 0;
  b[0] = 0;
  word* prev = nullptr;
  word* next = as_words(owner->freelist);
  while (next != nullptr && at(next) < at(b)) {
    prev = next;
    next = as_words(ptr_of(next[0]));
  }
  if (prev == nullptr && next == nullptr) {
    if (qmstate.qmdebug)
      std::fprintf(stderr, "LIST %lx... placed (%lx-%lx)\n", addr(owner), addr(b),
                   addr(b + size));
    owner->freelist = reinterpret_cast<qblock*>(b);
    return;
  }
  if (qmstate.qmdebug) {
    std::fprintf(stderr, "LIST %lx... ", addr(owner));
    if (prev != nullptr)
      std::fprintf(stderr, "(%lx-%lx) ", addr(prev), addr(prev + prev[2]));
    else
      std::fprintf(stderr, "(NULL) ");
    std::fprintf(stderr, "(%lx-%lx) ", addr(b), addr(b + size));
    if (next != nullptr)
      std::fprintf(stderr, "(%lx-%lx)\n", addr(next), addr(next + next[2]));
    else
      std::fprintf(stderr, "(NULL)\n");
  }
  if (prev != nullptr && end_of(prev) > at(b)) interr("qfree (previous overlap)");
  if (next != nullptr && (next == b || end_of(b) > at(next))) interr("qfree (next overlap)");
  b[0] = word_of(next);
  if (prev != nullptr)
    prev[0] = word_of(b);
  else
    owner->freelist = reinterpret_cast<qblock*>(b);
  if (prev != nullptr && end_of(prev) == at(b)) {
    prev[2] += size;
    prev[0] = b[0];
    b = prev;
  }
  if (next != nullptr && end_of(b) == at(next)) {
    b[2] += next[2];
    b[0] = next[0];
  }
}

void qflush(qlist* pool) {
  if (pool == nullptr) interr("qflush [NULL]");
  if (qmstate.qmdebug) std::fprintf(stderr, "LIST %lx... FLUSHED\n", addr(pool));
  word* c = as_words(pool->chunks);
  while (c != nullptr) {
    word* nextc = as_words(ptr_of(c[0]));
    if (qmstate.qmsane) {
      c[1] ^= 3;
      std::memset(c + qm_hdrwords, 0, static_cast<size_t>(c[2] * qm_word));
    }
    c[0] = word_of(freed);
    freed = c;
    trace("stored (%lx-%lx)\n", addr(c), addr(c + qm_hdrwords + c[2]));
    c = nextc;
  }
  pool->freelist = nullptr;
  pool->chunks = nullptr;
  pool->bytes = 0;
}

void qdestroy(qlist* pool) {
  if (pool == nullptr) interr("qdestroy [NULL]");
  if (pool == &list_storage) interr("qdestroy");
  qflush(pool);
  if (pool->prev != nullptr) pool->prev->next = pool->next;
  if (pool->next != nullptr) pool->next->prev = pool->prev;
  if (allqlists == pool) allqlists = pool->next;
  ++generation;
  qfree(pool);
}

void qmcheckp(const char* label, const void* p) {
  if (!qmstate.qmsane) return;
  uintptr_t a = reinterpret_cast<uintptr_t>(p);
  bool good = a >= 0x10000 + qm_hdrwords * qm_word;
  if (good) {
    const word* h = static_cast<const word*>(p) - qm_hdrwords;
    good = h[1] == h[2] + freecode_bias;
  }
  if (!good) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(a));
    interr(std::string(label != nullptr ? label : "") + ": qmcheckp: " + hex);
  }
}

qlist* qfind(const char* name) {
  for (qlist* q = allqlists; q != nullptr; q = q->next)
    if (std::strncmp(q->name, name, sizeof q->name - 1) == 0) return q;
  return nullptr;
}

qlist* qnamed(const char* name) {
  qlist* q = qfind(name);
  return q != nullptr ? q : qcreate(0, name);
}

qlist* qm_allqlists() { return allqlists; }

uint64_t qm_generation() { return generation; }

int64_t qm_spare_words(int index) {
  word* c = freed;
  for (int i = 0; c != nullptr && i < index; ++i) c = as_words(ptr_of(c[0]));
  return c != nullptr ? static_cast<int64_t>(c[2]) : -1;
}

int64_t qm_pool_free_words(const qlist* pool) {
  int64_t n = 0;
  for (word* b = as_words(pool->freelist); b != nullptr; b = as_words(ptr_of(b[0])))
    n += static_cast<int64_t>(b[2]);
  return n;
}

int qm_pool_free_blocks(const qlist* pool) {
  int n = 0;
  for (word* b = as_words(pool->freelist); b != nullptr; b = as_words(ptr_of(b[0]))) ++n;
  return n;
}

void qmalloc_reset() {
  list_storage = qlist{nullptr, nullptr, 1, "qtable", 0, nullptr, nullptr};
  allqlists = &list_storage;
  freed = nullptr;
  ++generation;
  qmstate = QmallocState{false, false, false};
}
