// First-in first-out lists of values in a pool.
#include "checker/common/tlink.h"

#include "checker/common/qmalloc.h"

tlink* maketlink(qlist* pool) { return qnew<tlink>(pool); }

void puttlink(tlink* list, qlist* pool, const void* value) {
  tlinknode* node = qnew<tlinknode>(pool);
  node->value = value;
  if (list->last != nullptr)
    list->last->next = node;
  else
    list->first = node;
  list->last = node;
  ++list->count;
}

const void* gettlink(tlink* list) {
  tlinknode* node = list->first;
  if (node == nullptr) return nullptr;
  list->first = node->next;
  if (list->first == nullptr) list->last = nullptr;
  --list->count;
  return node->value;
}
