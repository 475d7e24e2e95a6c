// Real literal conversion through strtod with its error indicator cleared
// first, so that overflow and underflow come back as a flag.
#include "frontend/base/string_to_double.h"

#include <cerrno>
#include <cstdlib>

void string_to_double(const char* text, double* value, int* range_error) {
  errno = 0;
  *value = std::strtod(text, nullptr);
  *range_error = (errno == ERANGE) ? 1 : 0;
}
