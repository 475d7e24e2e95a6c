// Fuzz target: the diagnostic formatter and wrapper, and the option parser.
// Input: first byte picks the running column (times 8), then the format text
// up to a NUL, then NUL-separated arguments; the same words also form a
// command line for get_option.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/driver/driver.h"
#include "frontend/base/host.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

// Blanks are dropped only at breaks; everything else comes out in order.
std::string without_blanks(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\n') out.push_back(c);
  return out;
}

void check_wrapped(std::string_view text, int column) {
  std::string out = wrap_message(text, column);
  check(!out.empty() && out.back() == '\n');
  check(without_blanks(out) == without_blanks(text));
  size_t start = 0;
  bool first = true;
  while (start < out.size()) {
    size_t nl = out.find('\n', start);
    size_t length = nl - start;
    if (first) {
      size_t room = column < 1000 ? static_cast<size_t>(1000 - column) : 0;
      if (nl + 1 < out.size()) check(length <= room);
    } else {
      check(out.compare(start, 10, std::string(10, ' ')) == 0);
      if (nl + 1 < out.size()) check(length <= 1000);
    }
    first = false;
    start = nl + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int column = data[0] * 8;
  std::vector<std::string> words;
  words.emplace_back();
  for (size_t i = 1; i < size && words.size() < 64; ++i) {
    if (data[i] == 0) words.emplace_back();
    else if (data[i] == '\n') words.back().push_back('\t');  // texts hold no line ends
    else words.back().push_back(static_cast<char>(data[i]));
  }
  std::vector<std::string_view> views(words.begin() + 1, words.end());
  std::string text;
  switch (views.size()) {
    case 0: text = format_message(words[0], {}); break;
    case 1: text = format_message(words[0], {views[0]}); break;
    default: text = format_message(words[0], {views[0], views[1]}); break;
  }
  check_wrapped(text, column);
  check_wrapped(words[0], column);

  std::vector<char*> argv;
  std::string program = "srcfront";
  argv.push_back(program.data());
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(argv.size()) - 1;
  option_parser_reset();
  opt.messages = false;
  int steps = 0;
  for (int c; (c = get_option(argc, argv.data(), option_letters)) != -1;) {
    check(++steps <= 4096);
    check(opt.index >= 1 && opt.index <= argc);
    check(opt.word >= 1 && opt.word < argc);
    if (opt.arg) check(c != '?');
  }
  check(opt.index >= 1 && opt.index <= argc);
  return 0;
}
