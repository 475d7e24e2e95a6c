// Numbered diagnostics: severity, position and a catalogue text, printed in
// the front end's one fixed format; the exit routine through which every run
// of srcfront and ilshow ends.
#pragma once
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

#include "frontend/base/source_pos.h"

struct il_header;

// The string arguments that fill a text's "%s" conversions, in order.
using diag_args = std::initializer_list<std::string_view>;

enum severity : int {
  sev_remark = 1,
  sev_warning = 2,
  sev_error = 3,
  sev_catastrophe = 4,
  sev_command_line = 5,
  sev_internal = 6,
};

struct DiagState {
  uint32_t remarks;       // remarks reported (and shown)
  uint32_t warnings;      // warnings reported
  uint32_t errors;        // errors reported
  uint32_t catastrophes;  // catastrophic, command-line and internal errors
  int min_severity;       // below this nothing is printed or counted (default 2)
  uint32_t error_limit;   // errors + catastrophes that end the run (default 100)
  FILE* raw_listing_file; // "-L" listing that echoes every diagnostic, or null
  void (*exit_hook)(int completion_code);  // "-V" summary, or null
  const il_header* positions;  // whose source_file tree names file and line (null: the_il_header)
};
extern DiagState diag;

// Turns a line sequence number into file name, full name and line through the
// tree of source files of `positions`. The program model, which owns that
// tree, installs it; until then positions print without file and line.
using position_lookup_fn = void (*)(const il_header* positions, uint32_t seq,
                                    const char** file_name, const char** full_name,
                                    uint32_t* line, bool* at_end);
extern position_lookup_fn diag_position_lookup;
extern source_pos_record err_pos;  // position of the next "here" diagnostic

void diagnostics_reset();  // counters cleared, defaults restored

inline constexpr int message_count = 617;  // catalogue numbers 0 to 616

const char* error_text(int msg);  // catalogue text; "unknown error" outside 0..616

void remark_at(int msg, source_pos_record pos, diag_args args = {});
void warning_at(int msg, source_pos_record pos, diag_args args = {});
void error_at(int msg, source_pos_record pos, diag_args args = {});
[[noreturn]] void catastrophe_at(int msg, source_pos_record pos, diag_args args = {});
void remark_here(int msg, diag_args args = {});
void warning_here(int msg, diag_args args = {});
void error_here(int msg, diag_args args = {});
[[noreturn]] void catastrophe_here(int msg, diag_args args = {});
[[noreturn]] void internal_error(int msg, diag_args args = {});
// A command-line error: format is a text of our own with "%s" conversions.
[[noreturn]] void command_line_error(const char* format, diag_args args = {});
void diagnose(int msg, source_pos_record pos, int sev, diag_args args = {});

// Replaces each "%s" of format with the next argument ("%%" prints "%").
std::string format_message(std::string_view format, diag_args args);

// The one printer: prefix, severity word, text, listing echo, fatal end and
// error limit.
void report_diagnostic(std::string_view format, source_pos_record pos, int sev,
                       diag_args args);
// The text as printed from running column `column` on: broken before column
// 1000 at a run of blanks and continued at column 10; ends with a newline.
std::string wrap_message(std::string_view text, int column);
// Prints text (already formatted) on stream, wrapped or not, and a newline.
void write_wrapped_message(FILE* stream, bool wrap, int column, std::string_view text);

void set_exit_hook(void (*hook)(int));
[[noreturn]] void exit_with_hook(int completion_code);
[[noreturn]] void exit_program(int completion_code);
void install_signal_handlers();
