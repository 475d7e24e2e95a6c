// Turns a global line sequence number into a source file and a line within it
//. Lines of an INCLUDE file or "#line" segment (a child) are not
// lines of its parent, so the lines of the children passed are subtracted.
#include "frontend/model/line_map.h"

#include <cstring>

source_file* line_map_lookup(const il_header* h, uint32_t seq, uint32_t* line,
                             bool* at_end, int* depth) {
  *line = 0;
  *at_end = false;
  *depth = 0;
  source_file* file = h ? h->primary_source_file : nullptr;
  if (!file || seq == 0) return nullptr;
  if (file->last_seq_number != UINT32_MAX && seq == file->last_seq_number + 1) {
    *at_end = true;
    --seq;
  }
  *depth = 1;
  for (;;) {
    uint32_t passed = 0;
    source_file* inner = nullptr;
    for (source_file* child = file->first_child_file; child; child = child->next) {
      if (child->first_seq_number > seq) break;
      if (seq <= child->last_seq_number) {
        inner = child;
        break;
      }
      passed += child->last_seq_number - child->first_seq_number + 1;
    }
    if (!inner) {
      *line = seq - file->first_seq_number + file->first_line_number - passed;
      return file;
    }
    file = inner;
    ++*depth;
  }
}

void line_map_position(const il_header* h, uint32_t seq, const char** file_name,
                       const char** full_name, uint32_t* line, bool* at_end) {
  int depth;
  source_file* file = line_map_lookup(h, seq, line, at_end, &depth);
  *file_name = "";
  *full_name = "";
  if (!file) {
    *line = 0;
    return;
  }
  if (file->file_name) *file_name = file->file_name;
  if (file->full_name) *full_name = file->full_name;
}

void line_map_file(const il_header* h, uint32_t seq, source_file** file,
                   uint32_t* line, bool* at_end) {
  int depth;
  *file = line_map_lookup(h, seq, line, at_end, &depth);
  if (!*file) *line = 0;
}

bool position_in_include_file(uint32_t seq, const il_header* header) {
  uint32_t line;
  bool at_end;
  int depth;
  source_file* file = line_map_lookup(header, seq, &line, &at_end, &depth);
  if (!file) return false;
  source_file* primary = header->primary_source_file;
  if (file == primary) return false;
  if (!file->full_name) {
    source_file* first = primary->first_child_file;
    bool direct_child = false;
    for (source_file* c = first; c; c = c->next)
      if (c == file) direct_child = true;
    if (direct_child && !first->full_name && first->first_seq_number == 2 &&
        first->first_line_number == 1 && first->file_name && file->file_name &&
        std::strcmp(first->file_name, file->file_name) == 0)
      return false;
  }
  return true;
}
