// Memory in huge pages: a large region advised as such costs one page fault
// per 2 MB instead of one per 4 KB as it is first written (the advice is a
// hint; a kernel that refuses it gives ordinary pages).
#pragma once
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

inline constexpr size_t huge_page_size = size_t{2} << 20;

inline size_t round_up(size_t n, size_t unit) { return (n + unit - 1) / unit * unit; }

inline void advise_huge_pages(void* start, size_t bytes) {
#ifdef MADV_HUGEPAGE
  madvise(start, bytes, MADV_HUGEPAGE);
#else
  (void)start;
  (void)bytes;
#endif
}

// A fresh zero-filled mapping of `bytes` rounded up to whole huge pages,
// aligned to a huge page and advised as huge-page memory; null when none can
// be had. unmap_huge_pages gives it back.
inline void* map_huge_pages(size_t bytes) {
  size_t size = round_up(bytes, huge_page_size);
  // Mapped with a huge page to spare, then trimmed to an aligned start.
  void* m = mmap(nullptr, size + huge_page_size, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) return nullptr;
  auto start = reinterpret_cast<uintptr_t>(m);
  uintptr_t aligned = round_up(start, huge_page_size);
  if (aligned > start) munmap(m, aligned - start);
  munmap(reinterpret_cast<void*>(aligned + size), start + huge_page_size - aligned);
  advise_huge_pages(reinterpret_cast<void*>(aligned), size);
  return reinterpret_cast<void*>(aligned);
}
inline void unmap_huge_pages(void* p, size_t bytes) { munmap(p, round_up(bytes, huge_page_size)); }

// The allocator of working lists that may grow large: from 256 KB on, a
// list gets a mapping of its own in huge pages; smaller ones come from the
// heap. Room reserved and never used is never touched, so a generous
// reserve costs no memory.
template <class T>
struct HugePageAllocator {
  using value_type = T;
  static constexpr size_t mapped_from = size_t{256} << 10;
  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) {}
  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T) / 2) throw std::bad_alloc();
    if (n * sizeof(T) < mapped_from) return std::allocator<T>().allocate(n);
    void* p = map_huge_pages(n * sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < mapped_from) return std::allocator<T>().deallocate(p, n);
    unmap_huge_pages(p, n * sizeof(T));
  }
  template <class U>
  bool operator==(const HugePageAllocator<U>&) const { return true; }
};
