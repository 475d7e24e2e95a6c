// Host utilities: where the front end meets files, directories,
// the environment and the command line. Paths are joined with "/".
#include "frontend/base/host.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"

HostState host{};
OptionState opt{1, 0, nullptr, true, 0};

namespace {

constexpr int msg_delete_failed = 260;
constexpr const char* default_include_dir = "/usr/include/f90";

void append(directory_list* list, const char* dir, bool front) {
  auto* cell = static_cast<dir_cell*>(mem_alloc(sizeof(dir_cell)));
  cell->name = dir;
  if (front) {
    cell->next = list->head;
    list->head = cell;
    if (!list->tail) list->tail = cell;
  } else {
    if (list->tail) list->tail->next = cell;
    else list->head = cell;
    list->tail = cell;
  }
}

char* pool_string(const char* text, size_t length) {
  return pool_copy_string(std::string_view(text, length));
}

size_t directory_length(const char* path) {
  const char* sep = last_path_separator(path);
  return sep ? static_cast<size_t>(sep - path) + 1 : 0;
}

bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

void host_reset() {
  clear_directory_list(&host.include_dirs);
  clear_directory_list(&host.module_dirs);
  host.source_dirs = nullptr;
  host.source_name = nullptr;
}

void option_parser_reset() { opt = OptionState{1, 0, nullptr, true, 0}; }

void add_include_directory(const char* dir) { append(&host.include_dirs, dir, false); }
void add_module_directory(const char* dir) { append(&host.module_dirs, dir, false); }
void push_include_directory_front(const char* dir) { append(&host.include_dirs, dir, true); }

void clear_directory_list(directory_list* list) {
  for (dir_cell* c = list->head; c;) {
    dir_cell* next = c->next;
    std::free(c);
    c = next;
  }
  *list = directory_list{};
}

void add_default_include_directory() {
  const char* dir = std::getenv("USR_INCLUDE");
  add_include_directory(dir ? dir : default_include_dir);
}

const char* last_path_separator(const char* path) {
  if (std::strcmp(path, "-") == 0) return nullptr;
  const char* slash = std::strrchr(path, '/');
  const char* backslash = std::strrchr(path, '\\');
  const char* sep = slash > backslash ? slash : backslash;
  if (!sep && path[0] && path[1] == ':') sep = path + 1;
  return sep;
}

char* directory_of(const char* path) { return pool_string(path, directory_length(path)); }

const char* intern_directory(const char* path) {
  size_t length = directory_length(path);
  for (interned_dir* d = host.source_dirs; d; d = d->next)
    if (d->length == length && std::memcmp(d->text, path, length) == 0) return d->text;
  auto* d = static_cast<interned_dir*>(pool_alloc_zeroed(sizeof(interned_dir)));
  d->text = pool_string(path, length);
  d->length = length;
  d->next = host.source_dirs;
  host.source_dirs = d;
  return d->text;
}

void clear_interned_directories() { host.source_dirs = nullptr; }

char* path_with_suffix(const char* path, const char* suffix) {
  const char* base = path + directory_length(path);
  const char* dot = std::strchr(base, '.');
  std::string result(base, dot ? static_cast<size_t>(dot - base) : std::strlen(base));
  result += suffix;
  return pool_copy_string(result);
}

const char* make_path(const char* dir, const char* name, const char* suffix,
                      char* buffer, size_t buffer_size) {
  if (!dir) dir = "";
  if (!suffix) suffix = "";
  if (!*dir && !*suffix) return name;
  std::string result = dir;
  if (!result.empty() && result.back() != '/' && result.back() != '\\') result += '/';
  result += name;
  result += suffix;
  if (buffer && result.size() + 1 <= buffer_size) {
    std::memcpy(buffer, result.c_str(), result.size() + 1);
    return buffer;
  }
  return pool_copy_string(result);
}

bool is_regular_file(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

FILE* open_input_file(const char* path, bool* not_found, bool* not_regular,
                      bool* empty_name, bool binary) {
  *not_found = *not_regular = *empty_name = false;
  if (!*path) {
    *empty_name = true;
    return nullptr;
  }
  FILE* f = std::fopen(path, binary ? "rb" : "r");
  if (!f) {
    *not_found = true;
    return nullptr;
  }
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(f);
    *not_regular = true;
    return nullptr;
  }
  return f;
}

FILE* reopen_for_reading(const char* path) { return std::fopen(path, "r"); }

bool valid_output_name(const char* path) {
  const char* source = host.source_name;
  if (source) {
    if (std::strcmp(path, source) == 0) return false;
    struct stat out_st, src_st;
    if (stat(path, &out_st) == 0) {
      bool have_source = std::strcmp(source, "-") == 0 ? fstat(STDIN_FILENO, &src_st) == 0
                                                        : stat(source, &src_st) == 0;
      if (have_source && same_file(out_st, src_st)) return false;
    }
  }
  const char* base = path + directory_length(path);
  const char* dot = std::strchr(base, '.');
  if (!dot) return true;
  return std::strcmp(dot, ".a") != 0 && std::strcmp(dot, ".f") != 0;
}

FILE* open_output_file(const char* path, bool binary, bool update,
                       bool* cannot_open, bool* invalid) {
  *cannot_open = *invalid = false;
  if (!valid_output_name(path)) {
    *invalid = true;
    return nullptr;
  }
  const char* mode = update ? (binary ? "w+b" : "w+") : (binary ? "wb" : "w");
  FILE* f = std::fopen(path, mode);
  if (!f) *cannot_open = true;
  return f;
}

void redirect_diagnostics(const char* path, bool* cannot_open, bool* invalid) {
  *cannot_open = *invalid = false;
  if (!valid_output_name(path)) {
    *invalid = true;
    return;
  }
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) {
    *cannot_open = true;
    return;
  }
  std::fflush(stderr);
  if (dup2(fd, STDERR_FILENO) < 0) *cannot_open = true;
  close(fd);
}

void delete_file(const char* path) {
  if (std::remove(path) != 0) catastrophe_here(msg_delete_failed, {"intermediate language"});
}

int get_option(int argc, char** argv, const char* letters) {
  opt.arg = nullptr;
  if (opt.position == 0) {
    if (opt.index >= argc || !argv[opt.index]) return -1;
    const char* w = argv[opt.index];
    if (w[0] != '-' || w[1] == '\0') return -1;
    if (w[1] == '-') {
      ++opt.index;
      if (w[2] == '\0') return -1;  // "--" alone ends the options and is passed
      // A longer word beginning with "--" is no option of ours: the whole
      // word is rejected as one.
      opt.word = opt.index - 1;
      if (opt.messages) std::fprintf(stderr, "%s: illegal option -- %c\n", argv[0], '-');
      return '?';
    }
    opt.position = 1;
  }
  const char* w = argv[opt.index];
  opt.word = opt.index;
  int at = opt.position++;
  char c = w[at];
  bool word_done = w[opt.position] == '\0';
  const char* spec = c != ':' ? std::strchr(letters, c) : nullptr;
  if (!spec) {
    if (opt.messages) std::fprintf(stderr, "%s: illegal option -- %c\n", argv[0], c);
    if (word_done) {
      ++opt.index;
      opt.position = 0;
    }
    return '?';
  }
  if (spec[1] != ':') {
    if (word_done) {
      ++opt.index;
      opt.position = 0;
    }
    return c;
  }
  ++opt.index;
  opt.position = 0;
  if (!word_done) {
    opt.arg = w + at + 1;
    return c;
  }
  if (opt.index >= argc || !argv[opt.index]) {
    if (opt.messages) std::fprintf(stderr, "%s: option requires an argument -- %c\n", argv[0], c);
    return '?';
  }
  opt.arg = argv[opt.index++];
  return c;
}

uint32_t parse_number_option(const char* text) {
  uint64_t value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') command_line_error("invalid number: %s", {text});
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > 2147483647u) command_line_error("invalid number: %s", {text});
  }
  return static_cast<uint32_t>(value);
}

list_cell* new_list_cell(const void* value) {
  auto* cell = static_cast<list_cell*>(pool_alloc_zeroed(sizeof(list_cell)));
  cell->value = value;
  return cell;
}
