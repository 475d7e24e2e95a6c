// Numbered diagnostics: one printer for every severity, the raw
// listing echo, the error limit, the exit routine through which every run of
// srcfront and ilshow ends, and the signal handler.
#include "frontend/base/diagnostics.h"

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "frontend/base/il_output.h"

position_lookup_fn diag_position_lookup = nullptr;
DiagState diag{0, 0, 0, 0, 2, 100, nullptr, nullptr, nullptr};
source_pos_record err_pos{};

namespace {

constexpr int wrap_column = 1000;      // text is broken before this column
constexpr int continuation_column = 10;  // a continued line starts after 10 blanks

struct SeverityRow {
  const char* word;  // printed after the position
  char letter;       // raw-listing letter
};
constexpr SeverityRow severity_rows[] = {
    {"", '?'},
    {"remark:  ", 'R'},
    {"warning: ", 'W'},
    {"error:   ", 'E'},
    {"catastrophic error: ", 'C'},
    {"command-line error: ", 'C'},
    {"internal error:     ", 'C'},
};

bool exiting = false;  // the exit hook runs once even if it reports

void count(int sev) {
  switch (sev) {
    case sev_remark: ++diag.remarks; break;
    case sev_warning: ++diag.warnings; break;
    case sev_error: ++diag.errors; break;
    default: ++diag.catastrophes; break;
  }
}

extern "C" void on_signal(int) {
  static const char newline = '\n';
  ssize_t ignored = write(STDERR_FILENO, &newline, 1);
  (void)ignored;
  const char* name = il_output.file_name;
  if (name) unlink(name);
  _exit(4);
}

}  // namespace

void diagnostics_reset() {
  diag = DiagState{0, 0, 0, 0, 2, 100, nullptr, nullptr, nullptr};
  err_pos = null_pos;
  exiting = false;
}

std::string format_message(std::string_view format, diag_args args) {
  std::string out;
  out.reserve(format.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        if (next != args.end()) out.append(*next++);
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out.push_back('%');
        ++i;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

std::string wrap_message(std::string_view text, int column) {
  std::string out;
  size_t pos = 0;
  int col = column;
  for (;;) {
    size_t rest = text.size() - pos;
    size_t room = col < wrap_column ? static_cast<size_t>(wrap_column - col) : 0;
    if (rest <= room) break;
    // The last blank at or before the room; the break goes before its run.
    size_t brk = 0;
    bool found = false;
    for (size_t i = room + 1; i-- > 0;) {
      if (text[pos + i] == ' ') {
        brk = i;
        found = true;
        break;
      }
    }
    if (found) {
      while (brk > 0 && text[pos + brk - 1] == ' ') --brk;
    } else if (col < continuation_column + 1) {
      brk = room;
    }
    out.append(text.substr(pos, brk));
    pos += brk;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    out.push_back('\n');
    out.append(continuation_column, ' ');
    col = continuation_column;
  }
  out.append(text.substr(pos));
  out.push_back('\n');
  return out;
}

void write_wrapped_message(FILE* stream, bool wrap, int column, std::string_view text) {
  if (wrap) {
    std::string s = wrap_message(text, column);
    std::fwrite(s.data(), 1, s.size(), stream);
  } else {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
  }
}

void report_diagnostic(std::string_view format, source_pos_record pos, int sev,
                       diag_args args) {
  if (sev >= diag.min_severity) {
    const char* file_name = "";
    const char* full_name = "";
    uint32_t line = 0;
    bool at_end = false;
    std::string head;
    if (pos.seq != 0) {
      if (diag_position_lookup)
        diag_position_lookup(diag.positions, pos.seq, &file_name, &full_name, &line, &at_end);
      if (at_end) {
        head = "At end of source: ";
      } else {
        if (std::string_view(file_name) != "-") {
          head.append(file_name);
          head.push_back(' ');
        }
        char buf[64];
        int n = std::snprintf(buf, sizeof buf, "(%3lu", static_cast<unsigned long>(line));
        head.append(buf, n);
        if (pos.column > 0) {
          n = std::snprintf(buf, sizeof buf, ":%2d", static_cast<int>(pos.column));
          head.append(buf, n);
        }
        head.append(") ");
      }
    }
    int row = sev >= sev_remark && sev <= sev_internal ? sev : 0;
    std::string word = severity_rows[row].word;
    if (pos.seq == 0 && !word.empty() && word[0] >= 'a' && word[0] <= 'z')
      word[0] = static_cast<char>(word[0] - 'a' + 'A');
    head.append(word);
    count(sev);
    std::string text = format_message(format, args);
    // Unbuffered stderr writes each call at once: the position, the severity
    // and the text go out together, one write per message.
    head.append(wrap_message(text, static_cast<int>(head.size())));
    std::fwrite(head.data(), 1, head.size(), stderr);
    if (FILE* listing = diag.raw_listing_file) {
      std::fprintf(listing, "%c ", severity_rows[row].letter);
      if (pos.seq != 0)
        std::fprintf(listing, "\"%s\" %3lu %2d ", file_name, static_cast<unsigned long>(line),
                     static_cast<int>(pos.column));
      else
        std::fputs("\"\"   0  0 ", listing);
      if (sev == sev_internal) std::fputs("(internal error) ", listing);
      write_wrapped_message(listing, false, 0, text);
    }
  }
  if (sev >= sev_catastrophe) exit_with_hook(sev);
  if (diag.errors + diag.catastrophes >= diag.error_limit) {
    std::fputs("Error limit reached.\n", stderr);
    exit_with_hook(4);
  }
}

void diagnose(int msg, source_pos_record pos, int sev, diag_args args) {
  // "unknown error" has no conversions, so the arguments go unused.
  report_diagnostic(error_text(msg), pos, sev, args);
}

void remark_at(int msg, source_pos_record pos, diag_args args) { diagnose(msg, pos, sev_remark, args); }
void warning_at(int msg, source_pos_record pos, diag_args args) { diagnose(msg, pos, sev_warning, args); }
void error_at(int msg, source_pos_record pos, diag_args args) { diagnose(msg, pos, sev_error, args); }
void catastrophe_at(int msg, source_pos_record pos, diag_args args) {
  diagnose(msg, pos, sev_catastrophe, args);
  exit_with_hook(sev_catastrophe);  // not reached
}
void remark_here(int msg, diag_args args) { diagnose(msg, err_pos, sev_remark, args); }
void warning_here(int msg, diag_args args) { diagnose(msg, err_pos, sev_warning, args); }
void error_here(int msg, diag_args args) { diagnose(msg, err_pos, sev_error, args); }
void catastrophe_here(int msg, diag_args args) { catastrophe_at(msg, err_pos, args); }
void internal_error(int msg, diag_args args) {
  diagnose(msg, err_pos, sev_internal, args);
  exit_with_hook(sev_internal);  // not reached
}
void command_line_error(const char* format, diag_args args) {
  err_pos = source_pos_record{0, 1};
  report_diagnostic(format, err_pos, sev_command_line, args);
  exit_with_hook(sev_command_line);  // not reached
}

void set_exit_hook(void (*hook)(int)) { diag.exit_hook = hook; }

void exit_with_hook(int completion_code) {
  // A fatal end leaves no IL file behind (a run with errors removes it too).
  if (completion_code >= 4) il_output_abandon();
  if (!exiting) {
    exiting = true;
    if (diag.exit_hook) diag.exit_hook(completion_code);
  }
  exit_program(completion_code);
}

void exit_program(int completion_code) {
  switch (completion_code) {
    case 0:
    case 1:
    case 2: std::exit(0);
    case 3: std::exit(2);
    case 4:
    case 5: std::exit(4);
    default:
      std::fflush(nullptr);
      std::abort();
  }
}

void install_signal_handlers() {
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}
