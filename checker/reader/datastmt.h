// The DATA statement: object and value checks and the group buffers that
// become a record of the DATA work file.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"
#include "checker/semantics/workfiles.h"

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
