// Host utilities: include and module directory lists, path
// handling, opening input and output files with their checks, redirecting the
// diagnostics stream, removing the IL file, the option and number parsers of
// the command line, and whether a position lies in an INCLUDE file.
#pragma once
#include <cstdint>
#include <cstdio>


// A directory list cell, from mem_alloc.
struct dir_cell {
  const char* name;  // the directory as given
  dir_cell* next;
};
struct directory_list {
  dir_cell* head;  // first directory searched
  dir_cell* tail;
};

// A directory part interned for the source files read from it.
struct interned_dir {
  const char* text;  // pool string, up to and including the last separator
  size_t length;
  interned_dir* next;
};

struct HostState {
  directory_list include_dirs;    // INCLUDE search order: source directory, "-I", default
  directory_list module_dirs;     // "-M" directories; the first receives module files
  interned_dir* source_dirs;  // interned directory parts of the source files
  const char* source_name;  // the source operand: no output may be that file
};
extern HostState host;

// The classic option parser's state.
struct OptionState {
  int index;         // next command-line word (initially 1)
  int position;      // letter within the current word; 0 before a new word
  const char* arg;   // argument of the option just returned, or null
  bool messages;     // prints its own messages (initially on)
  int word;          // the word that held the option just returned
};
extern OptionState opt;

void host_reset();           // empty lists, no source name
void option_parser_reset();  // index 1, messages on

void add_include_directory(const char* dir);
void add_module_directory(const char* dir);
void push_include_directory_front(const char* dir);
void clear_directory_list(directory_list* list);
// Appends $USR_INCLUDE, or "/usr/include/f90" when it is not set.
void add_default_include_directory();

// The later of the last "/" and "\\" (or a drive letter's ":"); null for "-"
// and for a path without one.
const char* last_path_separator(const char* path);
// The path up to and including its last separator ("" when none): a pool copy.
char* directory_of(const char* path);
// The same directory part, shared through the interned list.
const char* intern_directory(const char* path);
void clear_interned_directories();
// The part after the last separator with everything from its first "." on
// replaced by suffix (appended when there is no "."): a pool copy.
char* path_with_suffix(const char* path, const char* suffix);
// dir + "/" (unless dir is empty or ends in "/" or "\\") + name + suffix; name
// itself when dir and suffix are both empty. The separator is always "/": a
// "\\" separates no directories on this host, so "-I inc" or "-M mods" would
// otherwise name files beside those directories instead of in them. Into
// buffer when it is large enough, else a pool string. Null dir or suffix
// count as empty.
const char* make_path(const char* dir, const char* name, const char* suffix,
                      char* buffer, size_t buffer_size);

bool is_regular_file(const char* path);
// Opens for reading ("rb" or "r"), reporting through the flags; null on failure.
FILE* open_input_file(const char* path, bool* not_found, bool* not_regular,
                      bool* empty_name, bool binary);
FILE* reopen_for_reading(const char* path);
// Refuses the source file itself (same name, or same device and inode) and
// names whose first extension is ".a" or ".f".
bool valid_output_name(const char* path);
// Opens "w", "wb", "w+" or "w+b" when the name is valid.
FILE* open_output_file(const char* path, bool binary, bool update,
                       bool* cannot_open, bool* invalid);
// Points the standard error stream at a new file; the file is created before
// the stream is touched, so a failure is still reported on the old stream.
void redirect_diagnostics(const char* path, bool* cannot_open, bool* invalid);
// Removes a file; failure is catastrophic error 260 with "intermediate language".
void delete_file(const char* path);

// The next option letter, '?' for a letter not in letters or an argument
// that is missing, -1 at the end of the options.
int get_option(int argc, char** argv, const char* letters);
// Decimal digits up to 2147483647; otherwise "invalid number: %s".
uint32_t parse_number_option(const char* text);

// A cleared three-word cell from the current pool with value in its last word.
struct list_cell {
  void* first;
  void* second;
  const void* value;
};
list_cell* new_list_cell(const void* value);

