// A small first-in first-out list of values in a pool: the file names of the
// command line are collected in one before the file-name table is built.
#pragma once
#include <cstdint>

struct qlist;

struct tlinknode {
  tlinknode* next;   // following node
  const void* value; // the value (a file name)
};
struct tlink {
  tlinknode* first;  // oldest node
  tlinknode* last;   // newest node
  int32_t count;     // nodes in the list
};

tlink* maketlink(qlist* pool);
void puttlink(tlink* list, qlist* pool, const void* value);
const void* gettlink(tlink* list);   // oldest value, removed; null when empty
