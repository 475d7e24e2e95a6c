// Coded messages of the checker ("tarvo (fatal): ..."): the failures of the
// run itself, as opposed to the numbered diagnostics of the source. A fatal
// code ends the process with status 4 wherever it is raised.
//
// The report text goes through report_hook, which the report output sets to
// its own line writer (outstr); the default writes to the report stream
// (outfp) directly, so that the common services work on their own.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Codes: optional "@" (append the system's error text), severity letter
// F, E, W or I, "-", mnemonic. Examples: "@F-TXTOPN", "F-INTERR".
constexpr int fatal_exit_status = 4;
constexpr int errno_eof = 65534;    // errno set by the file layer at end of file
constexpr size_t errmsg_limit = 300; // a message with its prefix

struct ErrState {
  FILE* outfp;        // stream of the report unit (null: standard output)
  bool reentered;     // a coded message is being written
  int (*isatty_fn)(int fd);  // terminal test (tests replace it)
};
extern ErrState errstate;

// Writes report text; set by the report output, default fputs to outfp.
extern void (*report_hook)(std::string_view text);

void tarvoerr(const char* code, std::string_view text);
void syserr(const char* code, std::string_view text);  // code without "@"
[[noreturn]] void interr(std::string_view routine);     // "F-INTERR"
void seterrunit(int unit);                             // outfp = unit's stream

// Fills "%s" of the format with the string arguments in turn; any other "%"
// and the character after it are copied as they are. "@" codes go to syserr.
const char* errf_list(const char* code, std::string_view fmt,
                      const std::vector<std::string>& args);
template <class... A>
const char* errf(const char* code, std::string_view fmt, const A&... args) {
  return errf_list(code, fmt, std::vector<std::string>{std::string(args)...});
}
// The formatted text alone (exposed for tests and callers that need it).
std::string errf_format(std::string_view fmt, const std::vector<std::string>& args);
