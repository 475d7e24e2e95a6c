// I/O statements of tarvo: the control-list specifiers of READ, WRITE,
// OPEN, INQUIRE and the others, checked against the specifier table, their
// units, formats and I/O lists, and the FORMAT statement.
#pragma once

#include <cstdint>

struct KeyRow;

// One row of a specifier table.
struct IoSpec {
  const char* name;     // specifier keyword without "="
  const char* columns;  // one value-kind letter per I/O statement column
  int32_t language;     // 1 Fortran 77, 2 Fortran 90, 3 both
};

// Columns of the I/O statements in the specifier rows (1-based).
enum IoColumn : int32_t {
  IOC_ACCEPT = 1, IOC_BACKSPACE, IOC_CLOSE, IOC_DECODE, IOC_DELETE, IOC_ENCODE,
  IOC_ENDFILE, IOC_FIND, IOC_INQUIRE, IOC_OPEN, IOC_PRINT, IOC_READ, IOC_REWIND,
  IOC_REWRITE, IOC_TYPE, IOC_UNLOCK, IOC_WRITE, IOC_PUNCH
};
constexpr int32_t IO_COLUMNS = 18;

// The dialect bit that chooses the specifier table of the target dialect
// bits (0: the standard table of the language).
uint32_t iospec_table(uint32_t compiler);
// The first row named name (length len) of the table of the dialect bits
// compiler that is valid in language and allows column; null when there
// is none.
const IoSpec* iospec_find(const char* name, int32_t len, int32_t language, int32_t column,
                          uint32_t compiler = 0);
// The value-kind letter of a row for a column (blank: not allowed).
char iospec_letter(const IoSpec* row, int32_t column);

// Reads specifiers up to ")": 0 after ")", 1 when the first item is not a
// KEYWORD= specifier (it is read positionally), 2 after an error.
int32_t getspecs(const KeyRow* row, bool positional);
// Reads one specifier value of the kind letter; 0 after an error.
int32_t getspecval(char letter);
// Reads a unit: 2 "*" may stand, 4/8 an internal file is referenced/set,
// 16 a character unit is noted. 0 after an error.
int32_t getunit(int32_t options);
// Reads a format: 1 a label, 2 "*", 4/8 a namelist group referenced/set.
// 2 for list-directed, 0 after an error, else 1.
int32_t getformat(int32_t options);
// Reads an I/O list whose items get the usage mark (QB_SET or QB_REF).
int32_t getiolist(uint32_t mark);
