// srcfront's run: the command line, the compilation set-up, the
// IL file, the program-unit loop, the end of the file scope and the output.
#pragma once
#include <cstdio>
#include <string>

#include "frontend/base/options.h"

inline constexpr const char* front_end_version = "2.4.1";
// The option letters of the command line; ":" marks a letter with an argument.
inline constexpr const char* option_letters = "AaFDUlnuvVwRrsI:i:f:e:L:M:X:S:o:d:Y:";

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
