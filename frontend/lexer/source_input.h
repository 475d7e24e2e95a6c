// Source input: reads the primary source file and its INCLUDE files line by
// line, classifies each line (comment, directive, initial or continuation
// line, fixed or free form) and assembles one statement at a time in the
// statement buffer with a map from buffer offsets to source lines. Every line
// read gets the next global sequence number; the source_file tree built here
// turns sequence numbers back into files and lines. "-L" echoes each line and
// each change of file to the raw listing.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "frontend/base/source_pos.h"
#include "frontend/model/il_entries.h"

inline constexpr int max_line_length = 132;              // longer lines are cut
inline constexpr int fixed_form_text_columns = 72;       // fixed form ignores the rest
inline constexpr uint32_t statement_buffer_size = 5320;  // bytes of one statement
inline constexpr int max_statement_lines = 40;           // lines of one statement
inline constexpr int max_open_source_files = 4;          // deeper files are closed
inline constexpr int max_include_depth = 64;             // nested INCLUDE files
inline constexpr int include_stack_growth = 30;          // records added when full

// One open (or closed-for-depth) source file on the include stack.
struct include_record {
  FILE* stream;             // null while the file is closed for depth
  const char* file_name;    // name in markers and diagnostics (or from #line)
  const char* path;         // path as opened
  const char* directory;    // interned directory part of the path
  uint32_t last_line;       // line number within the file of the last line read
  long saved_offset;        // read offset while closed for depth
  source_file* segment;     // current segment (the file or a #line segment)
  source_file* entry;       // the file's own source_file
  dev_t device;             // identity of the file: device ...
  ino_t inode;              // ... and inode, for the recursion check
  bool end_seen;            // the end of the file has been read
};

enum line_state_code : int {
  line_none = 0,          // no line pending
  line_initial = 1,       // an initial line is pending
  line_continuation = 2,  // a continuation line is pending
  line_end_of_file = 3,   // the current file is exhausted
};

// One line of the current statement in the statement buffer.
struct line_map_record {
  uint32_t seq;         // the line's global sequence number
  uint32_t line_start;  // offset of its column-1 character
  uint32_t text_start;  // offset where its statement text begins
};

struct SourceState {
  uint32_t line_counter;        // global sequence number of the last line read
  include_record* include_stack;  // the stack of source files (heap)
  int include_top;              // index of the current file; -1 when empty
  int include_capacity;         // records allocated
  char line[max_line_length + 1];  // the line just read, NUL-ended
  int line_length;              // characters in line
  bool line_too_long;           // line lost characters past the limit
  int line_state;               // line_state_code of the pending line
  int line_text_start;          // index in line where the statement text begins
  bool line_is_d_line;          // line came from a "D" line read as code
  std::string label_text;       // fixed-form label field, leading zeros dropped
  source_pos_record label_pos;  // position of the label field (null when empty)
  char statement_buffer[statement_buffer_size];  // lines of the statement
  uint32_t buffer_used;         // bytes of statement_buffer in use
  line_map_record map[max_statement_lines];  // one record per line appended
  int map_count;                // records in map
  bool overflow;                // the statement lost lines (too many or too large)
  bool end_of_source;           // the primary file is exhausted
  ::atom* statement_label;      // fixed-form label of the statement, or null
  source_pos_record statement_label_pos;  // its position
  bool short_line_warned;       // warning 490 given
  bool tab_warned;              // warning 482 given (shared with the scanner)
  bool bang_warned;             // warning 489 given (shared with the scanner)
  bool line_directive_warned;   // warning 504 given
};
extern SourceState src;

// Forgets every file and statement; counters and once-only flags cleared.
void source_reset();

// 1 when a statement's initial line is in the buffer, 0 at the end of the
// primary source.
int statement_read();
// Appends the pending line to the statement; false when it was dropped
// because the statement overflowed.
bool statement_append_line();
// The scanner's way to the next line of the statement: reads a line and
// appends it when it continues the statement (an initial line counts too when
// take_initial_line is set, free form after "&"); false when none follows.
bool source_next_continuation(bool take_initial_line);
// Reads and classifies lines until one is not a comment (nothing while a
// line is pending); sets src.line_state.
void source_read_line();
// Pushes a source file: the primary file (stack empty, dirs unused) or an
// INCLUDE file searched along the directory list dirs (may be null).
struct directory_list;
void source_push(const char* name, const directory_list* dirs);
void source_pop();
// The source position of a statement-buffer offset.
source_pos_record source_position(uint32_t offset);
// Report at the current line, at the column of ptr within src.line (column 0
// when ptr is null).
void error_at_line_column(int msg, const char* ptr);
void warning_at_line_column(int msg, const char* ptr);
// A "#line" directive: text is what follows "#", blanks and "line".
void line_directive(const char* text);
// Writes the marker of the current file to the raw listing; flag is '1'
// entering an INCLUDE file, '2' returning from one, 0 for none.
void listing_line_marker(char flag);

// The INCLUDE statement, with the scanner just past the INCLUDE keyword
// (first_on_line: no statement precedes it on its line). Reads the name and
// the end of the line, then opens the file. Returns 1 when it was accepted.
int include_statement(bool first_on_line);

// Closes every file still open (end of the run).
void source_close_all();
