// Table of the source files of a run: numbered from 1 in the order the
// command line names them, without repetitions; each name split into
// directory, base name and extension, with the file's modification time.
#pragma once
#include <string_view>
#include <unordered_set>
#include <cstdint>
#include <string>

struct tlink;

struct filnament {
  const char* name;   // the full name as given (copy in "perm")
  uint16_t dirlen;    // directory part, final "/" included
  uint16_t baselen;   // base name
  uint16_t extlen;    // extension, "." included
  uint16_t zero;      // always 0
  int32_t mtime;      // modification time, set when the file is opened
  int32_t spare[2];   // always 0
};

struct FilnamState {
  filnament* table;   // filmax entries
  int filmax;         // capacity
  int filnamcnt;      // entries in use
  bool fdbopt;        // the file-database option is on
  std::unordered_set<std::string_view> names;  // the names in table, for isnewfile
};
extern FilnamState filnam;
void filnam_reset();

void srcfile(tlink* list);       // builds the table, destroys the "file" pool
int isnewfile(const char* name); // 1 when the name is not yet in the table
void addfilnam(const char* name);
std::string getfname(int n);         // base name and extension
std::string getfilext(int n);        // extension with its dot
std::string getfnameWithDir(int n);  // full name (default tables without dir)
void set_file_time(int n, int32_t time);
int32_t get_file_time(int n);
const filnament* getfilent(int n);   // entry n, null outside 1..filnamcnt
int skip_file(const filnament* entry);
