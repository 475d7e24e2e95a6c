// The DATA statement: object and value checks and the group buffers that
// become a record of the DATA work file.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

constexpr int32_t DATA_MAXOBJ = 100;   // object entries of one group
constexpr int32_t DATA_MAXVAL = 1000;  // value entries of one group

// The first word of an object entry: the number of subscripts, or, for an
// object that ends in a substring, that number plus one, negated (so that
// a substring of a scalar, which has no subscripts, is marked too).
constexpr int32_t data_objword(int32_t nsub, bool substring) { return substring ? -(nsub + 1) : nsub; }
constexpr bool data_objword_substring(int32_t word) { return word < 0; }
constexpr int32_t data_objword_subs(int32_t word) { return word < 0 ? -word - 1 : word; }

struct DataState {
  int32_t varlist[DATA_MAXOBJ][2];    // {data_objword; symbol}
  int32_t constlist[DATA_MAXVAL][2];  // {repeat count; data-type code}
  int32_t data_vptr;                  // object entries of the current group
  int32_t data_cptr;                  // value entries of the current group
  int32_t data_vlok;                  // 1 while the group may still be recorded
};
extern DataState ds;

// Reads one DATA object: 1 to go on, 0 to give up the list.
int32_t dataitem();
int32_t shdata(const StmtCall& c);
