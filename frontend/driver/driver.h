// srcfront's run: the command line, the compilation set-up, the
// IL file, the program-unit loop, the end of the file scope and the output.
#pragma once
#include <cstdio>
#include <string>

inline constexpr const char* front_end_version = "2.4.1";
// The option letters of the command line; ":" marks a letter with an argument.
inline constexpr const char* option_letters = "AaFDUlnuvVwRrsI:i:f:e:L:M:X:S:o:d:Y:";

// Run-wide settings made by process_command_line;
// min_severity, error_limit, the raw listing and the exit hook live in `diag`,
// the directory lists in `host`.
struct DriverOptions {
  bool fixed_form;                  // "-F": fixed-form source
  bool std_warnings;                // "-A": warn about what is not standard FORTRAN 77
  bool d_lines_are_code;            // "-D": fixed-form "D" lines are code
  bool keep_expressions;            // "-R"
  bool case_sensitive_identifiers;  // "-U"
  bool no_implicit_typing;          // "-u"
  bool suppress_il_output;          // "-n": no IL file
  const char* il_file_name;         // "-o" name, else derived by open_il_output; null: none
  FILE* xref_file;                  // "-X" cross-reference file, or null
  const char* source_file_name;     // the operand ("-": standard input); "" until known
};
extern DriverOptions driver_options;

void driver_options_reset();  // defaults of every setting
void process_command_line(int argc, char** argv);
void init_compilation();
void open_il_output();
void reset_program_unit_state();
void close_listing_files();
// The exit hook of "-V": the error summary for a completion code.
void print_error_summary(int completion_code);
// Its text for given counts and source name (empty or "-": "this compilation").
std::string error_summary_text(int completion_code, unsigned long errors,
                               unsigned long catastrophes, const char* source_name);
// The time of compilation: SOURCE_DATE_EPOCH when set, else now, as ctime
// gives it without its newline.
std::string compilation_time_text();

// The run after the command line: the source compiled, and the module and
// IL files written when no error was reported; returns the completion code
// (a fatal message ends the run through the exit routine instead).
int compile_source();
int srcfront_main(int argc, char** argv);
