// The message catalogue: the 617 numbered printf formats of the
// front-end diagnostics, expanded from messages.def; the reporting function
// chooses the severity.
#include <iterator>

#include "frontend/base/diagnostics.h"

namespace {

constexpr const char* error_messages[] = {
#define MSG(number, text) text,
#include "frontend/base/messages.def"
};

constexpr int message_numbers[] = {
#define MSG(number, text) number,
#include "frontend/base/messages.def"
};

constexpr bool numbered_in_order() {
  for (int i = 0; i < static_cast<int>(std::size(message_numbers)); ++i)
    if (message_numbers[i] != i) return false;
  return true;
}

static_assert(std::size(error_messages) == message_count);
static_assert(numbered_in_order(), "messages.def rows must be numbered 0, 1, 2, ...");

}  // namespace

const char* error_text(int msg) {
  if (msg <= 0 || msg >= message_count) return error_messages[0];
  return error_messages[msg];
}
