// IL entry records: one record per entry kind; every entry starts with the
// header word (number within its kind in bits 0-29, walker mark in bit 30).
#pragma once
#include <cstdint>

#include "frontend/driver/source_pos.h"

using il_entry_header = uint32_t;

struct scope;
struct object;

// A source file, an INCLUDE file or a "#line" segment of one.
struct source_file {
  il_entry_header header;
  const char* file_name;       // name shown in markers and diagnostics
  const char* full_name;       // path as opened; null for a "#line" segment
  uint32_t first_seq_number;   // first line's global sequence number
  uint32_t last_seq_number;    // all ones while the file is still read
  uint32_t first_line_number;  // line number of the first line
  source_file* first_child_file;
  source_file* last_child_file;
  source_file* next;           // next sibling
};

// One per compilation.
struct il_header {
  il_entry_header header;
  source_file* primary_source_file;
  scope* primary_scope;      // the file scope
  object* main_routine;
  const char* compiler_version;
  const char* time_of_compilation;
  uint32_t flags;            // bit 0: case-sensitive identifiers
  uint8_t source_language;
};

extern il_header the_il_header;  // the compilation's header record
