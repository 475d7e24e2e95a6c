// tarvo's switches: the switch table, the value of every switch slot, the
// option globals that the switches set, and the reading of the configuration
// files and the command line (readcmmd). The rest of the checker reads the
// option globals declared here.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct tlink;

// ---- switch table ----------------------------------------------------------

// Kind bits of a switch row.
constexpr uint8_t SWK_ONOFF = 1;    // on/off without a value
constexpr uint8_t SWK_VALUE = 2;    // one value; a later one replaces it
constexpr uint8_t SWK_LIST = 4;     // a list of values
constexpr uint8_t SWK_ENDI = 8;     // list whose "en"/"di" values switch it
constexpr uint8_t SWK_INVERT = 16;  // inverted on/off

struct swtrow {
  const char* name;   // switch name ("" when the row has none)
  char letter;        // letter after "-" (' ': cannot be given)
  uint8_t kind;       // SWK_ bits
  int slot;           // index of the value record
  const char* help;   // one line for the help screen
};
extern const swtrow swttbl[];
extern const int swtcount;          // rows of swttbl
constexpr int nslots = 47;          // value records

// Slots the program refers to by number.
enum : int {
  SL_SUPPRESS = 0, SL_WIDTH = 1, SL_SPLIT = 2, SL_DATABASE = 3, SL_PORT = 4,
  SL_SYSTEM = 5, SL_NOI4 = 6, SL_IMPLICIT = 8, SL_WARNINGS = 9, SL_FYI = 10,
  SL_HELP = 11, SL_GLOBAL = 12, SL_LIBRARY = 13, SL_CPP = 16, SL_XREF = 17,
  SL_STAT = 18, SL_LISTING = 19, SL_CPPDEF = 20, SL_PATH = 21,
  SL_INCLUDE = 22, SL_FILES = 23, SL_TREE = 24, SL_EXTEND = 25,
  SL_DLINES = 28, SL_USAGE = 29, SL_LPP = 30, SL_SUMMARY = 31,
  SL_OUTPUT = 34, SL_ANSI = 35, SL_INTERNAL = 36, SL_QUIT = 37, SL_FLOW = 39,
  SL_CADRE = 40, SL_FORM = 41, SL_F77 = 42, SL_F90 = 43, SL_LANG = 44,
  SL_MISC = 45, SL_STDOUT = 46
};

// Source levels of a setting.
enum : uint8_t {
  LV_DEFAULT = 1, LV_USER = 2, LV_LOCAL = 3, LV_EXPANDED = 4, LV_COMMAND = 5
};

struct swvalue {
  std::string text;     // the value
  uint8_t level;        // source level at which it was given
  std::string cfgfile;  // configuration file it came from ("" command line)
};

struct swtval {
  uint8_t state;                 // 1 off, 2 on
  std::vector<swvalue> values;   // values in the order given
  uint8_t level;                 // source level of the state (0 never set)
  std::string cfgfile;           // file of the state ("" command line)
  int row;                       // table row that set it last (-1 none)
};

// The switch values of the run (kept for the first page).
extern swtval* switchtbl;

// ---- dialects --------------------------------------------------------------

struct dialect {
  int32_t mask;         // dialect bits
  const char* name;     // matched on input, any case
  const char* upname;   // upper-case name
  const char* display;  // display name
};
extern const dialect dialects[];
extern const int ndialects;
// The mask of a dialect name (any case; "ansi" is ANSI77), 0 when unknown.
int32_t cmcode(const std::string& name);

// ---- option globals set by the switches -----------------------------------

extern uint32_t compiler;      // target dialect bits (default 8, sun)
extern uint8_t Language;       // 1 Fortran 77, 2 Fortran 90
extern int32_t Sizemode;       // size mode of the target
extern int32_t port_dialect;   // dialects checked for portability
extern std::vector<int32_t> dias;  // compiler, then each portability bit
extern int32_t ndias;          // entries of dias
extern int32_t cmmdintsiz;     // default INTEGER size (2 or 4)
extern int32_t cmmdlogsiz;     // default LOGICAL size (2 or 4)
extern int32_t cmmdextopt;     // extended source lines
extern int32_t cmmddlinopt;    // D lines are code
extern int32_t impopt, wrnopt, fyiopt, usgopt;  // message groups reported
extern int32_t gloopt;         // global checks
extern int32_t xrfopt;         // cross reference
extern int32_t xrsave;         // keep the global symbol table (never set)
extern int32_t fdbopt;         // file database
extern std::string fdbfilnam;  // file database name (at most 100 chars)
extern int32_t libopt;         // write library tables (name in lbtfilnam)
extern int32_t statopt, sumopt, listit, incopt;
extern int32_t allthrucpp;     // every source through the C preprocessor
extern std::string cppcmmd;    // preprocessor command text
extern std::vector<std::string> cppargs;       // the same as arguments
extern std::vector<std::string> includepaths;  // PATH values
extern std::string exten;      // default source extension ".FOR"
extern int32_t flopt_srcform;  // 0 not given, 1 free, 2 fixed
extern int32_t flopt_hpf;      // HPF directives
extern int32_t flopt_ansimaxloc;
extern int32_t flopt_shellexit;  // exit statuses 1 and 2 become 0
extern int32_t flopt_test;     // internal word "test"
extern int32_t flopt_ntgui;    // line-mode progress display
extern int32_t deb9, memopt, debug, show_interr_info, crunchname;
extern int32_t lowercase_includes, ignore_logicals, ignore_paths;
extern int32_t do_ensemble_system, do_ensemble_function;
extern std::string teamwork_file;  // CADRE teamwork=file
extern int32_t uselbt_opt, FdbComFlag, FdbExtFlag;
extern int32_t mkdep_opt;       // module dependency pass wanted
extern std::string mkdep_fname; // dependency output file (".dep")
extern int mkdep_output;        // its unit, 0 none
extern std::string misccpp;     // MISC cpp: text for the preprocessor
extern std::string tvx_filename;  // MISC tvx: program database file
extern int32_t numsrc, numlbt, numfdb, spcfdb;  // the source list
extern int statunit, xrfunit;   // statistics and cross-reference units

// Sets every option global and switch value to its state before a run.
void cmmdline_reset();

// ---- reading the switches ---------------------------------------------------

// Reads the configuration files and the command line into sw, selects and
// opens the report, prints the first page and the source list. 0: go on;
// 1: error (exit status 4); 2: help or banner shown (exit status 0).
int readcmmd(swtval*& sw, int argc, char** argv, tlink* srclist);
// Parses switch words; 1 done, 0 after an error (fatal errors do not return).
int cmmdparse(swtval* sw, int argc, char** argv, tlink* srclist,
              const char* cfgfile, uint8_t level);
// Reads one configuration file (null name: the tarvo.cfg search).
int configfile(swtval* sw, tlink* srclist, const char* name, int mustexist,
               uint8_t level);
// Cuts one configuration line into words ("!" comment, quotes, ",").
std::vector<std::string> cfgwords(const std::string& line);
// Lists the settings on the first page.
void dispswit();
// Writes the help screen to the report.
void printhelp();
// Lists the source files (after srcfile) and sets numsrc and friends.
void prnfils();

// Limits that the switches check.
constexpr size_t cfgline_max = 512;   // characters of a configuration line
constexpr size_t filnam_max = 100;    // library table and file database names
constexpr int files_depth_max = 10;   // FILES switches inside FILES files
