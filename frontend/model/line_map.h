// Source positions back to files and lines: a global line
// sequence number is found in the tree of source_file entries that the source
// input builds from the il_header's primary source file.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

// The source_file that holds seq, or null (no primary file, seq 0). line is
// the line within that file; at_end is set when seq lies one past the primary
// file's last line (then the last line is given); depth counts the levels
// entered, 1 for the primary file.
source_file* line_map_lookup(const il_header* h, uint32_t seq, uint32_t* line,
                             bool* at_end, int* depth);
// For diagnostics: file and full name ("" when none; line 0).
void line_map_position(const il_header* h, uint32_t seq, const char** file_name,
                       const char** full_name, uint32_t* line, bool* at_end);
// True when the position lies in a file other than the primary one (a
// preprocessor's "#line" segments of the primary file count as primary).
bool position_in_include_file(uint32_t seq, const il_header* header = &the_il_header);
// For the IL writer and reader and the program database: the file (or null, line 0).
void line_map_file(const il_header* h, uint32_t seq, source_file** file,
                   uint32_t* line, bool* at_end);
