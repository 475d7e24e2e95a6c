// The IL output state (il_output.h): set when open_il_output creates the file,
// cleared by the writer and by il_discard, abandoned by the fatal exits.
#include "frontend/base/il_output.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

IlOutputState il_output{nullptr, nullptr};

void il_output_set(FILE* stream, const char* name) {
  il_output_forget();
  il_output.stream = stream;
  // Only a regular file that the run created may be removed later: an output
  // such as a device or a FIFO ("-o /dev/null") keeps no name, so no way out
  // of the run (errors, a fatal end, a signal) can delete it.
  struct stat st;
  if (fstat(fileno(stream), &st) == 0 && S_ISREG(st.st_mode)) il_output.file_name = strdup(name);
}

void il_output_forget() {
  const char* name = il_output.file_name;
  il_output.file_name = nullptr;
  il_output.stream = nullptr;
  std::free(const_cast<char*>(name));
}

void il_output_abandon() {
  FILE* stream = il_output.stream;
  const char* name = il_output.file_name;
  if (!stream) return;
  il_output.stream = nullptr;
  std::fclose(stream);
  // The name stays recorded until the file is gone, so that a signal in
  // between still removes it.
  if (name) unlink(name);
  il_output.file_name = nullptr;
  std::free(const_cast<char*>(name));
}
