// Appending to the singly linked lists of IL records (chained through their
// next field) that the parsers build, kept as a first and a last record.
#pragma once

// First is Record* or pool_ref<Record>.
template <class First, class Record>
void list_append(First& first, Record*& last, Record* item) {
  if (!item) return;
  if (last)
    last->next = item;
  else
    first = item;
  last = item;
}
