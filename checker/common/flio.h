// File units of the checker: every file that tarvo reads or writes, the
// standard output included, is a unit numbered 1..50. Text files, binary
// streams, fixed-size binary record files, bit-packed streams and temporary
// files (created with mkstemp under the temporary directory, prefix "tarvo",
// name removed at once). Failures become coded messages naming the file.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct qlist;

constexpr int maxunits = 50;

// Open modes (bit flags).
constexpr int FM_WRITE = 0x2;     // create or truncate, read and write
constexpr int FM_EXT = 0x4;       // apply the default extension (munch)
constexpr int FM_BINREC = 0x20;   // binary record file (set by binopn)
constexpr int FM_TEXT = 0x40;     // text; without it binary
constexpr int FM_BITS = 0x80;     // bit-packed stream
constexpr int FM_APPEND = 0x100;  // append while an ensemble option is on

// Unit kinds.
enum : int { FK_FREE = 0, FK_TEXT = 1, FK_BINARY = 2, FK_RECORDS = 4, FK_BITS = 5 };

struct fileunit {
  int kind;          // FK_ code (fityp)
  FILE* fp;          // open stream (stm_fp)
  char* name;        // copy of the file name in the "flio" pool (fn)
  char* buf;         // stream buffer from the "flio" pool (fb)
  int32_t recsize;   // bytes per record of a binary record file (brsiz)
  bool temporary;    // temporary file, nameless once open (stm_tmp)
  int bitsused;      // bit-packed: bits used in the current byte, 0..7
  int partial;       // bit-packed: the current partial byte
  bool lastread;     // bit-packed: the last operation was a read
};

struct FlioState {
  fileunit units[maxunits + 1];  // entry 0 unused
  qlist* pool;                   // the "flio" pool (block headers on)
  std::string failedname;        // last file that could not be opened
  int pass;                      // analysis pass (set by the driver): no
                                 // "no newline at end of file" in pass 0
  bool ensemble;                 // an ensemble option of CADRE is on
  bool nosmashing;               // internal word "nosmashing": no kind 5
  bool localpass;                // the local pass runs (set by the driver)
  std::vector<std::string> cppargs;  // preprocessor program and its arguments (empty: none)
  int stdout_unit;               // unit bound to the standard output, 0 none
};
extern FlioState flio;
void flio_reset();  // close every unit, forget all state (tests)

int getfi();                     // lowest free unit; none: "F-TOOMNYFIL"
int txtopnstdout();              // the standard output as a text unit
int txtopn(const char* name, int mode, const char* ext);
// Returns the unit, or 0 when the file cannot be opened; null name: a
// temporary file.
int iopen(const char* name, int mode, const char* ext, int bufsize);
std::string munch(const char* name, const char* ext);  // extension rule
std::string vtmpnam();           // a fresh temporary file name (created)
int cppopn(const char* source);  // preprocessed source as a text unit, or 0
int lgets(char* buf, int size, FILE* fp);  // length, 0 at end, -1 error
void txtrew(int unit);
int iread(int unit, void* buf, int size);
int iwrite(int unit, const void* buf, int size);
void iseek(int unit, int64_t pos);   // bytes for kind 2, bits for kind 5
int64_t itell(int unit);
void iclose(int unit);
int binopn(const char* name, int32_t recsize, int mode, const char* ext);
void bincls(int unit);
void binrd(int unit, int32_t recno, void* buf);
void binwrt(int unit, int32_t recno, const void* buf);
FILE* myfpno(int unit);
std::string getfn(int unit, int shortname);  // shortname 1: no directory
std::string getbadfn();
int unitkind(int unit);              // FK_ code; 0 for an unknown unit
int fdsame(int fd1, int fd2);
int mygetwd(std::string& dir);       // 0, or -1 after "@W-GETWD"
int mychdir(const char* path, int report);  // 1 done, 0 failed
// Finds the checker's own files through "TARVOCFG" and "TARVOHOME": 0 when
// found in the TARVOCFG directory, else 1 with an untested result (without
// TARVOHOME: the current directory, or beside the program when the file is
// there and not in the current directory).
int findfile(const char* name, int start, std::string& result);
