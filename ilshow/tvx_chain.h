// Following a chain of IL entries (a list linked through next) of a graph
// read from a file. A damaged file can link a chain back into itself; such a
// chain is caught after at most twice its length and ends the run as an
// invalid file instead of looping.
#pragma once
#include <cstdint>

[[noreturn]] void tvx_fail(const char* condition);

// Calls fn (entry) for each entry from first along next while fn returns true.
template <class T, class F>
void tvx_for_chain(T* first, F fn);
template <class T, class F>
void tvx_for_chain(const pool_ref_field<T>& first, F fn) {
  tvx_for_chain(first.get(), fn);
}
template <class T, class F>
void tvx_for_chain(T* first, F fn) {
  T* slow = first;  // moves at half speed: a cycle makes p meet it
  uint64_t steps = 0;
  for (T* p = first; p;) {
    if (!fn(p)) return;
    p = p->next;
    if (++steps % 2 == 0) slow = slow->next;
    if (p && p == slow) tvx_fail("a chain runs into itself");
  }
}
