// The run-wide settings of srcfront: what the command line chose, read by
// every layer (source form, typing rules, output files).
#pragma once
#include <cstdio>

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
