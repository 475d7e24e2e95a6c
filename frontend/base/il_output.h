// The open IL output of a srcfront run: the stream created at start-up and its
// name. The IL writer fills and closes it; the exit routine and the
// signal handler remove the file when the run ends fatally.
#pragma once
#include <cstdio>

struct IlOutputState {
  FILE* stream;                  // the IL file created at start-up; null when none is open
  const char* volatile file_name;  // its name (heap copy) while the stream is open and is a
                                   // regular file, else null: the file that may be removed
};
extern IlOutputState il_output;

// Records a freshly created IL file (name is copied when it is a regular file).
void il_output_set(FILE* stream, const char* name);
// Forgets the stream and the name without touching the file.
void il_output_forget();
// Closes the stream and removes the file, without reporting: the way out of a
// run that ends with a catastrophic error, the error limit or a command-line error.
void il_output_abandon();
