// Source input: the include stack, reading and classifying source lines in
// fixed and free form, assembling statements with their line map, "#line"
// directives, the INCLUDE statement and the raw listing of "-L".
#include "frontend/lexer/source_input.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/options.h"
#include "frontend/base/host.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/names.h"

SourceState src;

namespace {

enum line_class { lc_comment, lc_initial, lc_continuation };

bool fixed() { return driver_options.fixed_form; }
bool std_warn() { return driver_options.std_warnings; }
bool blank(char c) { return c == ' ' || c == '\t'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

include_record& top() { return src.include_stack[src.include_top]; }

FILE* listing() { return diag.raw_listing_file; }

// The part of a path after its directory.
const char* file_name_part(const char* path) {
  const char* sep = last_path_separator(path);
  return sep ? sep + 1 : path;
}

void grow_include_stack() {
  int old = src.include_capacity;
  int grown = old + include_stack_growth;
  src.include_stack = static_cast<include_record*>(mem_realloc(
      src.include_stack, sizeof(include_record) * old, sizeof(include_record) * grown));
  src.include_capacity = grown;
}

// Reads one physical line of the current file into src.line. Returns false at
// the end of the file with nothing read. Reports a last line without a
// newline; a line that is too long is only noted in src.line_too_long, since
// a comment line may have any length.
bool read_physical_line() {
  include_record& f = top();
  FILE* in = f.stream;
  int n = 0;
  bool any = false;
  bool newline = false;
  bool too_long = false;
  int c;
  // Only this thread reads the stream: no locking per character.
  while ((c = getc_unlocked(in)) != EOF) {
    any = true;
    if (c == '\n') {
      newline = true;
      break;
    }
    if (c == '\r') {
      int d = getc_unlocked(in);
      if (d == '\n') {
        newline = true;
        break;
      }
      if (d == EOF) break;  // a final CR ends the line like a CR LF
      std::ungetc(d, in);
    }
    if (c == '\0') c = 0x7f;  // keeps the NUL that ends every buffered line unique
    if (n < max_line_length)
      src.line[n++] = static_cast<char>(c);
    else
      too_long = true;
  }
  if (!any) return false;
  src.line[n] = '\0';
  src.line_length = n;
  ++src.line_counter;
  ++f.last_line;
  src.line_too_long = too_long;
  if (!newline) {
    warning_at_line_column(311, src.line + n);
    f.end_seen = true;
  }
  return true;
}

// A line that is not a comment keeps the limit of its length: error 314 at
// the first character past it (the rest of the line was skipped).
void report_line_too_long() {
  if (src.line_too_long) error_at_line_column(314, src.line + max_line_length);
}

void write_listing_line(char letter, char first_column) {
  FILE* l = listing();
  if (l == nullptr) return;
  std::fputc(letter, l);
  std::fputc(' ', l);
  if (src.line_length > 0) {
    std::fputc(first_column, l);
    std::fputs(src.line + 1, l);
  }
  std::fputc('\n', l);
}

// A "#" in column 1 with blanks and "line" or a digit after it; *rest gets
// the text after "#", blanks and "line".
bool is_line_directive(const char** rest) {
  if (src.line[0] != '#') return false;
  const char* p = src.line + 1;
  while (blank(*p)) ++p;
  if (std::strncmp(p, "line", 4) == 0) {
    p += 4;
  } else if (!digit(*p)) {
    return false;
  }
  *rest = p;
  return true;
}

// The first non-blank of the line from index i on (src.line_length if none),
// giving warning 482 for the first tab of the run within 72 columns.
int skip_leading_blanks(int i) {
  while (i < src.line_length && blank(src.line[i])) {
    if (src.line[i] == '\t' && std_warn() && !src.tab_warned && i < fixed_form_text_columns) {
      src.tab_warned = true;
      warning_at_line_column(482, src.line + i);
    }
    ++i;
  }
  return i;
}

line_class classify_fixed_form_line() {
  char* L = src.line;
  int n = src.line_length;
  int p = skip_leading_blanks(0);
  if (p == 0 && (L[0] == 'D' || L[0] == 'd')) {
    if (std_warn()) warning_at_line_column(485, L);
    if (!driver_options.d_lines_are_code) return lc_comment;
    // The line is read from column 2 on; its columns stay as written.
    L[0] = ' ';
    src.line_is_d_line = true;
    p = skip_leading_blanks(1);
  }
  if (p >= n || p >= fixed_form_text_columns) return lc_comment;
  if (L[p] == '!' && p != 5) {
    if (std_warn() && !src.bang_warned) {
      src.bang_warned = true;
      warning_at_line_column(489, L + p);
    }
    return lc_comment;
  }
  if (p == 0 && (L[0] == 'C' || L[0] == 'c' || L[0] == '*')) return lc_comment;

  // Label field: columns 1 to 5, up to a tab.
  src.label_text.clear();
  src.label_pos = null_pos;
  int first_nondigit = -1;
  int first_char = -1;
  int tab = -1;
  for (int i = 0; i < 5 && i < n; ++i) {
    char c = L[i];
    if (c == '\t') {
      tab = i;
      break;
    }
    if (c == ' ') continue;
    if (first_char < 0) first_char = i;
    if (c == '0' && src.label_text.empty()) continue;
    if (!digit(c) && first_nondigit < 0) first_nondigit = i;
    src.label_text.push_back(c);
  }
  line_class kind;
  if (tab >= 0) {
    char after = L[tab + 1];
    if (digit(after) && after != '0') {
      kind = lc_continuation;
      src.line_text_start = tab + 2;
    } else {
      kind = lc_initial;
      src.line_text_start = tab + 1;
    }
  } else if (n >= 6 && L[5] != ' ' && L[5] != '\t' && L[5] != '0') {
    kind = lc_continuation;
    src.line_text_start = 6;
  } else {
    kind = lc_initial;
    int start = n < 6 ? n : 6;
    src.line_text_start = p > start ? p : start;
  }
  if (kind == lc_continuation) {
    if (first_char >= 0) warning_at_line_column(379, L + first_char);
    src.label_text.clear();
    return kind;
  }
  if (first_char >= 0) {
    src.label_pos = source_pos_record{src.line_counter, static_cast<uint16_t>(first_char + 1)};
    if (src.label_text.empty()) {
      error_at_line_column(479, L + first_char);
    } else if (first_nondigit >= 0) {
      error_at_line_column(382, L + first_nondigit);
      src.label_text.clear();
    }
  }
  return kind;
}

line_class classify_free_form_line() {
  int p = skip_leading_blanks(0);
  src.label_text.clear();
  src.label_pos = null_pos;
  if (p >= src.line_length || src.line[p] == '!') return lc_comment;
  src.line_text_start = p;
  return src.line[p] == '&' ? lc_continuation : lc_initial;
}

// The line just read ends with "&" before any "!" comment (free form).
bool line_ends_with_ampersand() {
  int end = src.line_length;
  char quote = 0;
  for (int i = 0; i < src.line_length; ++i) {
    char c = src.line[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '!') {
      end = i;
      break;
    }
  }
  while (end > 0 && blank(src.line[end - 1])) --end;
  return end > 0 && src.line[end - 1] == '&';
}

// After a statement overflowed: reads and drops the lines that continue the
// one just dropped, so that they do not start statements of their own.
void drop_continuation_lines() {
  bool continues = !fixed() && line_ends_with_ampersand();
  for (;;) {
    source_read_line();
    if (fixed()) {
      if (src.line_state != line_continuation) return;
    } else if (!continues ||
               (src.line_state != line_initial && src.line_state != line_continuation)) {
      return;
    }
    continues = !fixed() && line_ends_with_ampersand();
    src.line_state = line_none;
  }
}

}  // namespace

void source_reset() {
  std::free(src.include_stack);
  src.include_stack = nullptr;
  src.include_capacity = 0;
  src.include_top = -1;
  src.line_counter = 0;
  src.line[0] = '\0';
  src.line_length = 0;
  src.line_too_long = false;
  src.line_state = line_none;
  src.line_text_start = 0;
  src.line_is_d_line = false;
  src.label_text.clear();
  src.label_pos = null_pos;
  src.statement_buffer[0] = '\0';
  src.buffer_used = 0;
  src.map_count = 0;
  src.overflow = false;
  src.end_of_source = false;
  src.statement_label = nullptr;
  src.statement_label_pos = null_pos;
  src.short_line_warned = false;
  src.tab_warned = false;
  src.bang_warned = false;
  src.line_directive_warned = false;
}

void error_at_line_column(int msg, const char* ptr) {
  uint16_t column = ptr ? static_cast<uint16_t>(ptr - src.line + 1) : 0;
  error_at(msg, source_pos_record{src.line_counter, column});
}

void warning_at_line_column(int msg, const char* ptr) {
  uint16_t column = ptr ? static_cast<uint16_t>(ptr - src.line + 1) : 0;
  warning_at(msg, source_pos_record{src.line_counter, column});
}

void source_read_line() {
  if (src.line_state != line_none) return;
  for (;;) {
    if (src.include_top < 0 || top().end_seen) {
      src.line_state = line_end_of_file;
      return;
    }
    if (!read_physical_line()) {
      top().end_seen = true;
      src.line_state = line_end_of_file;
      return;
    }
    src.line_is_d_line = false;
    char first_column = src.line[0];
    if (std_warn() && fixed() && !src.short_line_warned &&
        src.line_length < fixed_form_text_columns) {
      src.short_line_warned = true;
      warning_at_line_column(490, nullptr);
    }
    const char* directive = nullptr;
    if (is_line_directive(&directive)) {
      report_line_too_long();
      write_listing_line('S', first_column);
      line_directive(directive);
      continue;
    }
    line_class kind = fixed() ? classify_fixed_form_line() : classify_free_form_line();
    if (kind != lc_comment) report_line_too_long();
    write_listing_line(kind == lc_comment ? 'S' : 'N', first_column);
    if (kind == lc_comment) continue;
    src.line_state = kind == lc_initial ? line_initial : line_continuation;
    return;
  }
}

bool statement_append_line() {
  if (src.overflow) {
    src.line_state = line_none;
    return false;
  }
  if (src.map_count >= max_statement_lines) {
    error_at_line_column(448, nullptr);
    src.overflow = true;
    src.line_state = line_none;
    return false;
  }
  int len = src.line_length;
  if (fixed() && len > fixed_form_text_columns) len = fixed_form_text_columns;
  int text_start = src.line_text_start < len ? src.line_text_start : len;
  uint32_t room = statement_buffer_size - src.buffer_used;
  if (static_cast<uint32_t>(len) + 1 > room) {
    error_at_line_column(428, src.line + (room > 0 ? room - 1 : 0));
    src.overflow = true;
    src.line_state = line_none;
    return false;
  }
  uint32_t at = src.buffer_used;
  src.map[src.map_count++] = line_map_record{src.line_counter, at, at + text_start};
  std::memcpy(src.statement_buffer + at, src.line, static_cast<size_t>(len));
  src.statement_buffer[at + len] = '\0';
  src.buffer_used = at + static_cast<uint32_t>(len) + 1;
  scan.scan_ptr = src.statement_buffer + at + text_start;
  src.line_state = line_none;
  return true;
}

bool source_next_continuation(bool take_initial_line) {
  if (src.end_of_source || src.include_top < 0) return false;
  // An overflowed statement has had its continuation lines read and dropped;
  // a second scan over its end must not take the next statement's line.
  if (src.overflow) return false;
  source_read_line();
  bool continues = src.line_state == line_continuation ||
                   (take_initial_line && src.line_state == line_initial);
  if (!continues) return false;
  if (statement_append_line()) return true;
  // The statement overflowed: the line is lost, and so are the ones that
  // continue it.
  drop_continuation_lines();
  return false;
}

int statement_read() {
  if (src.end_of_source) return 0;
  src.buffer_used = 0;
  src.map_count = 0;
  src.overflow = false;
  src.statement_label = nullptr;
  src.statement_label_pos = null_pos;
  source_read_line();
  for (;;) {
    if (src.line_state == line_initial) {
      statement_append_line();
      if (fixed() && !src.label_text.empty()) {
        src.statement_label = name_intern(src.label_text);
        src.statement_label_pos = src.label_pos;
      }
      return 1;
    }
    if (src.line_state == line_end_of_file) {
      src.line_state = line_none;
      source_pop();
      if (src.include_top < 0) break;
    } else if (src.line_state == line_continuation) {
      error_at_line_column(219, nullptr);
      src.line_state = line_none;
    }
    source_read_line();
  }
  src.statement_buffer[0] = '\0';
  src.buffer_used = 1;
  scan.scan_ptr = src.statement_buffer;
  src.end_of_source = true;
  ++src.line_counter;
  return 0;
}

source_pos_record source_position(uint32_t offset) {
  if (src.end_of_source) return source_pos_record{src.line_counter, 0};
  const line_map_record* found = nullptr;
  for (int i = 0; i < src.map_count; ++i) {
    if (src.map[i].line_start <= offset) found = &src.map[i];
    else break;
  }
  if (found == nullptr) return source_pos_record{src.line_counter, 0};
  return source_pos_record{found->seq, static_cast<uint16_t>(offset - found->line_start + 1)};
}

void listing_line_marker(char flag) {
  FILE* l = listing();
  if (l == nullptr || src.include_top < 0) return;
  const include_record& f = top();
  std::fprintf(l, "L %lu \"%s\"", static_cast<unsigned long>(f.last_line) + 1, f.file_name);
  if (flag) std::fprintf(l, " %c", flag);
  std::fputc('\n', l);
}

void source_push(const char* name, const directory_list* dirs) {
  bool primary = src.include_top < 0;
  if (!primary && src.include_top + 1 >= max_include_depth) catastrophe_here(284, {name});

  FILE* stream = nullptr;
  const char* path = name;
  bool not_found = false, not_regular = false, empty_name = false;
  if (primary && std::strcmp(name, "-") == 0) {
    stream = stdin;
  } else {
    bool drive = ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) &&
                 name[1] == ':';
    bool relative = name[0] != '/' && name[0] != '\\' && !drive;
    if (primary || !relative) {
      stream = open_input_file(name, &not_found, &not_regular, &empty_name, false);
    } else if (name[0] == '\0') {
      empty_name = true;  // no directory makes an empty name a file
    } else {
      if (dirs == nullptr || dirs->head == nullptr)
        catastrophe_here(182, {name});
      for (const dir_cell* d = dirs->head; d != nullptr; d = d->next) {
        path = make_path(d->name, name, "", nullptr, 0);
        stream = open_input_file(path, &not_found, &not_regular, &empty_name, false);
        if (stream != nullptr || not_regular || empty_name) break;
      }
    }
  }
  if (stream == nullptr) {
    if (not_regular) catastrophe_here(421, {name});
    if (empty_name) catastrophe_here(277, {name});
    catastrophe_here(420, {name});
  }

  // The same file below on the stack, by identity, is an endless recursion.
  struct stat st {};
  bool identified = fstat(fileno(stream), &st) == 0;
  if (identified && stream != stdin) {
    for (int i = 0; i <= src.include_top; ++i) {
      const include_record& r = src.include_stack[i];
      if (r.device == st.st_dev && r.inode == st.st_ino) {
        std::fclose(stream);
        catastrophe_here(284, {name});
      }
    }
  }

  // At most four files stay open: the one on top is closed for now.
  if (src.include_top >= max_open_source_files - 1) {
    include_record& t = top();
    if (t.stream != nullptr && t.stream != stdin) {
      t.saved_offset = std::ftell(t.stream);
      std::fclose(t.stream);
      t.stream = nullptr;
    }
  }

  source_file* parent = primary ? nullptr : top().segment;
  if (src.include_top + 1 >= src.include_capacity) grow_include_stack();
  ++src.include_top;
  include_record& r = top();
  r = include_record{};
  r.stream = stream;
  r.path = pool_copy_string(path);
  r.directory = intern_directory(r.path);
  r.file_name = file_name_part(r.path);
  r.last_line = 0;
  r.device = identified ? st.st_dev : 0;
  r.inode = identified ? st.st_ino : 0;
  source_file* entry = new_source_file(parent, src.line_counter + 1, 1, r.file_name, r.path);
  r.entry = entry;
  r.segment = entry;
  listing_line_marker(primary ? 0 : '1');
}

void source_pop() {
  if (src.include_top < 0) return;
  include_record& r = top();
  set_last_seq_number(r.entry, src.line_counter);
  if (r.segment != r.entry) set_last_seq_number(r.segment, src.line_counter);
  if (r.stream != nullptr && r.stream != stdin) std::fclose(r.stream);
  r.stream = nullptr;
  --src.include_top;
  if (src.include_top < 0) return;
  include_record& parent = top();
  if (parent.stream == nullptr) {
    parent.stream = reopen_for_reading(parent.path);
    if (parent.stream == nullptr || std::fseek(parent.stream, parent.saved_offset, SEEK_SET) != 0)
      catastrophe_here(420, {parent.path});
  }
  listing_line_marker('2');
}

void line_directive(const char* text) {
  if (std_warn() && !src.line_directive_warned) {
    src.line_directive_warned = true;
    warning_at_line_column(504, nullptr);
  }
  const char* p = text;
  while (blank(*p)) ++p;
  if (!digit(*p)) {
    error_at_line_column(227, p);
    return;
  }
  const char* digits = p;
  while (digit(*p)) ++p;
  bool overflow = false;
  uint32_t number = decimal_value(digits, p, &overflow);
  if (overflow || number == 0) {
    error_at_line_column(103, digits);
    return;
  }
  while (blank(*p)) ++p;
  include_record& f = top();
  const char* name = f.file_name;
  if (*p != '\0') {
    if (*p != '"') {
      error_at_line_column(216, p);
      return;
    }
    const char* close = std::strchr(p + 1, '"');
    if (close == nullptr) {
      error_at_line_column(461, p);
      return;
    }
    name = pool_copy_string(std::string_view(p + 1, static_cast<size_t>(close - p - 1)));
  }
  f.file_name = name;
  f.last_line = number - 1;
  if (f.segment != f.entry) set_last_seq_number(f.segment, src.line_counter);
  f.segment = new_source_file(f.entry, src.line_counter + 1, number, name, nullptr);
  listing_line_marker(0);
}

int include_statement(bool first_on_line) {
  if (!first_on_line) {
    error_here(370);
    return 0;
  }
  // In fixed form the scanner would read the next line to see whether the
  // name continues there; that line belongs after the included text.
  bool saved_guard = scan.continuation_guard;
  if (fixed()) scan.continuation_guard = true;
  int t = scan_token(0);
  if (t != tok_char_const) {
    error_here(203);
    scan.continuation_guard = saved_guard;
    return 0;
  }
  if (token_constant.c.kind != ck_value) {  // the literal was already reported
    scan.continuation_guard = saved_guard;
    return 0;
  }
  uint32_t length = token_constant.c.type->length.value > 0
                        ? static_cast<uint32_t>(token_constant.c.type->length.value)
                        : 0;
  std::string name(reinterpret_cast<const char*>(const_chars(&token_constant)), length);
  source_push(pool_copy_string(name), &host.include_dirs);
  // The included file is now on top: the end of the INCLUDE line is looked
  // for without reading any further line.
  scan.continuation_guard = true;
  t = scan_token(0);
  bool line_ends = t == tok_eos && *scan.token_start != ';';
  if (!line_ends) error_here(214);
  scan.continuation_guard = saved_guard;
  // Whatever else stands on the line is not read before the included text.
  scan.scan_ptr = src.statement_buffer + (src.buffer_used > 0 ? src.buffer_used - 1 : 0);
  scan.cur_token = tok_eos;
  // The end of the parent seen while its INCLUDE line was read is met again
  // when the included file has been read.
  if (src.line_state == line_end_of_file) src.line_state = line_none;
  return line_ends ? 1 : 0;
}

void source_close_all() {
  for (int i = src.include_top; i >= 0; --i) {
    FILE* s = src.include_stack[i].stream;
    if (s != nullptr && s != stdin) std::fclose(s);
    src.include_stack[i].stream = nullptr;
  }
  src.include_top = -1;
}
