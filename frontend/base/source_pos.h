// A position in the source: the global sequence number of the line over all
// lines read (INCLUDE files included) and the 1-based column.
#pragma once
#include <cstdint>

// Six bytes aligned on two, so that records holding one pack small fields
// right after it.
struct __attribute__((packed, aligned(2))) source_pos_record {
  uint32_t seq = 0;     // line sequence number; 0 means no position
  uint16_t column = 0;  // 1-based column; 0 means unknown
};
static_assert(sizeof(source_pos_record) == 6);

inline constexpr source_pos_record null_pos{0, 0};
