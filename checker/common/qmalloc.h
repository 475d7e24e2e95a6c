// Named memory pools of the checker: every long-lived block comes from a pool
// that is created with a name and emptied or destroyed as a whole. Chunks of
// emptied pools are kept on one spare list and reused; nothing goes back to
// the heap during a run.
//
// A pool "word" here is one 8-byte slot (the size of a pointer), so that every
// block handed out is 8-byte aligned and the links kept inside free blocks and
// block headers are real pointers. Sizes in words: a request of n bytes takes
// (n + 7) / 8 words, plus 3 header words when the pool keeps block headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

struct qblock;  // a free block (inside a chunk)
struct qchunk;  // a chunk taken from the heap

struct qlist {
  qblock* freelist;   // first free block, blocks in ascending address order
  qchunk* chunks;     // chunks taken by this pool, newest first
  uint8_t hdrflag;    // 1: every block carries a header (can be qfree'd)
  char name[19];      // pool name, at most 18 characters
  int64_t bytes;      // bytes held in chunks, chunk headers included
  qlist* next;        // older pool in the list of all pools
  qlist* prev;        // newer pool in the list of all pools
};

// Pool switches, set by words of the internal switch.
struct QmallocState {
  bool qmdebug;       // trace allocations on the standard error stream
  bool qmsane;        // sanity mode: headers everywhere, checks, zeroing
  bool detail;        // "debug": out-of-memory report lists every pool
};
extern QmallocState qmstate;

constexpr int64_t qm_word = 8;          // bytes per pool word
constexpr int64_t qm_hdrwords = 3;      // words of a block or chunk header
constexpr int64_t qm_minchunk = 2043;   // least words of block space per chunk

qlist* qcreate(int flag, const char* name);
void* qmalloc(qlist* pool, int64_t n);        // n <= 0: internal error "qmalloc"
void* qcalloc(qlist* pool, int64_t n);        // qmalloc and n zero bytes
char* qstore(qlist* pool, std::string_view text);  // NUL-terminated copy
void qfree(void* block);                      // only blocks of header pools
void qflush(qlist* pool);                     // empty, keep usable
void qdestroy(qlist* pool);                   // flush and forget the pool
void qmcheckp(const char* label, const void* p);  // sanity mode only

// A zero-filled record (or array of count records) of a trivial type T.
template <class T>
T* qnew(qlist* pool, size_t count = 1) {
  return static_cast<T*>(qcalloc(pool, static_cast<int64_t>(sizeof(T) * count)));
}

// The newest pool of that name, or null. qnamed creates it (flag 0) when
// there is none: services that use the driver's pools ("perm", "local")
// find them this way.
qlist* qfind(const char* name);
qlist* qnamed(const char* name);

// Inspection for the statistics and for tests.
qlist* qm_allqlists();                 // newest pool first
// A count that changes whenever a pool is created or destroyed: a pool found
// by name stays the one to use while the count is unchanged.
uint64_t qm_generation();
int64_t qm_spare_words(int index);     // size of the index-th spare chunk, -1 past end
int64_t qm_pool_free_words(const qlist* pool);  // words in the pool's free list
int qm_pool_free_blocks(const qlist* pool);     // blocks in the pool's free list
void qmalloc_reset();   // forget every pool and spare chunk (tests only; leaks)
