// The few services of the rest of tarvo that the reader and the statement
// handlers use: numbered and coded messages, report output and the option
// values of the run, gathered in one place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Option values the reader consults, taken from the switches when the
// analysis starts (tests set them directly).
struct ReaderOptions {
  int32_t Language = 2;        // 1 Fortran 77, 2 Fortran 90
  uint32_t compiler = 0;       // dialect bits of the target compiler
  int32_t form = 0;            // FORM switch: 0 none, 1 free, 2 fixed
  int32_t extend = 0;          // EXTEND: 132-column fixed form
  int32_t dlines = 0;          // DLINES: D lines are code
  int32_t listit = 0;          // LISTING
  int32_t incopt = 0;          // INCLUDE listing
  int32_t hpf = 0;             // HPF option
  int32_t intsiz = 4;          // default integer size
  int32_t logsiz = 4;          // default logical size
  int32_t lowercase_includes = 0;
  int32_t ignore_logicals = 0;
  int32_t ignore_paths = 0;
  int32_t libopt = 0;          // library tables are written
  int32_t gloopt = 0;          // global checks
  int32_t fdbopt = 0;          // file database
  int32_t xrfopt = 0;          // cross-reference
  int32_t allthrucpp = 0;      // every file through the C preprocessor
  int32_t progress = 0;        // SUMMARY or an ensemble option: show progress
  int32_t ntgui = 0;           // line-mode progress
  int32_t qmsane = 0;          // pool sanity checks
  std::vector<std::string> includepaths;  // PATH values
  std::vector<std::string> cppdefs;       // CPPDEF values
  std::string misccpp;                    // MISC cpp: text
};
extern ReaderOptions ropt;

// Copies the switch values of the run into ropt.
void load_reader_options();

// Raises numbered message n with the current errcol; 1 when printed.
int32_t rd_errmsg(int32_t n);
// Message n at column col of the statement.
void msg_at(int32_t n, int32_t col);
// Reads the next token as a name: its column and its length cut to the
// longest name kept; false after message 24 at a token that is no name
// (the statement is consumed).
bool read_statement_name(int32_t* col, int32_t* len);
// Reports a coded message: code, format with one "%s", its argument.
void rd_coded(const char* code, const char* format, const std::string& arg);
// Reports a fatal internal error naming the routine.
[[noreturn]] void rd_interr(const char* routine);
// Writes text to the report.
void rd_outstr(const std::string& text);
// Lines left on the report page.
int32_t rd_linleft();
// Page width of the report.
int32_t rd_outwid();
// The source files of the run, numbered from 1.
int32_t rd_filecount();
std::string rd_filename(int32_t n);
// True when the analysis should not read file n (library tables...).
bool rd_skipfile(int32_t n);
