// Coded messages: formatting (errf), the operating-system variant (syserr),
// the reporter with its destination rules (tarvoerr) and internal errors.
#include "checker/common/error.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "checker/common/flio.h"

ErrState errstate = {nullptr, false, ::isatty};

namespace {

FILE* report_stream() { return errstate.outfp != nullptr ? errstate.outfp : stdout; }

void default_report(std::string_view text) {
  FILE* fp = report_stream();
  std::fwrite(text.data(), 1, text.size(), fp);
}

void write_to(FILE* fp, const std::string& text) {
  std::fputc('\n', fp);
  std::fwrite(text.data(), 1, text.size(), fp);
  std::fflush(fp);
}

const char* severity_word(char letter) {
  switch (letter) {
    case 'F': return "(fatal): ";
    case 'E': return "(err): ";
    case 'W': return "(warn): ";
    case 'I': return "(info): ";
    default: return "";
  }
}

}  // namespace

void (*report_hook)(std::string_view text) = default_report;

std::string errf_format(std::string_view fmt, const std::vector<std::string>& args) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c == '%' && i + 1 < fmt.size()) {
      if (fmt[i + 1] == 's') {
        if (next < args.size()) out += args[next++];
        ++i;
        continue;
      }
      out += c;
      out += fmt[++i];
      continue;
    }
    out += c;
  }
  return out;
}

const char* errf_list(const char* code, std::string_view fmt,
                      const std::vector<std::string>& args) {
  int saved = errno;
  std::string text = errf_format(fmt, args);
  if (code[0] == '@') {
    errno = saved;
    syserr(code + 1, text);
  } else {
    tarvoerr(code, text);
  }
  return code;
}

void syserr(const char* code, std::string_view text) {
  int e = errno;
  std::string full(text);
  if (e != 0 && (e < 152 || e == errno_eof)) {
    full += " (";
    full += e == errno_eof ? "end of file, data not found" : std::strerror(e);
    full += ")";
  }
  tarvoerr(code, full);
}

void tarvoerr(const char* code, std::string_view text) {
  bool reentered = errstate.reentered;
  errstate.reentered = true;
  FILE* report = report_stream();
  bool fatal = code[0] == 'F';
  bool a = fatal && report != stderr;
  bool out_tty = errstate.isatty_fn(1) != 0;
  bool err_tty = errstate.isatty_fn(2) != 0;
  bool b = out_tty != err_tty && report != stdout;

  if (!text.empty() && text[0] == '\n') {
    text.remove_prefix(1);
    if (!reentered) report_hook("\n");
  }
  std::string msg;
  if (code[0] != '\0' && code[1] == '-') {
    msg = "tarvo ";
    msg += severity_word(code[0]);
  }
  msg += text;
  if (msg.size() > errmsg_limit) msg.resize(errmsg_limit);
  // The parts of the text each end with a newline; the last one gets its own.
  msg += '\n';

  if (a) {
    write_to(stderr, msg);
    if (b) write_to(stdout, msg);
    if (!reentered) report_hook(msg);
  } else if (reentered) {
    write_to(stderr, msg);
    if (b) write_to(stdout, msg);
  } else {
    report_hook(msg);
    if (b) write_to(stdout, msg);
  }
  if (fatal) {
    std::fflush(nullptr);
    std::exit(fatal_exit_status);
  }
  errstate.reentered = false;
}

void interr(std::string_view routine) {
  errf("F-INTERR", "\ninternal error in routine %s", std::string(routine));
  std::exit(fatal_exit_status);  // not reached: F- codes end the run
}

void seterrunit(int unit) { errstate.outfp = myfpno(unit); }
