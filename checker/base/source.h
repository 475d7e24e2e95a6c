// tarvo's source reader: physical lines of the source file and its INCLUDE
// files become one logical statement at a time in `pstat`, with the source
// column and physical line of every character beside it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Sizes of the statement buffer and of the per-statement line tables.
constexpr int32_t PSTAT_SIZE = 32001;     // pstat positions 0..32000
constexpr int32_t RAWBUF_SIZE = 32000;    // raw text of the statement's lines
constexpr int32_t RAW_LIMIT = 31850;      // raw text beyond this: message 98
constexpr int32_t MAX_STMT_LINES = 1000;  // per-line tables
constexpr int32_t LINE_LIMIT = 999;       // lines of one statement: message 98
constexpr int32_t MAX_LINE = 132;         // characters kept of one line
constexpr int32_t MAX_INCLUDE = 10;       // open INCLUDE levels

// A character constant inside pstat: kind byte ('a', 'q' or 'h'), length
// (two bytes, high first), column of the opening delimiter (one byte, 255
// when larger), physical line index (two bytes, high first), the text, and a
// closing byte.
constexpr int32_t CONST_HEAD = 6;
constexpr int32_t CONST_OVERHEAD = 7;

// The statement being assembled.
extern unsigned char pstat[PSTAT_SIZE];   // text from position 1, ends with 10
extern unsigned char wbreaks[PSTAT_SIZE]; // 1: blanks before; 2: line break
extern uint16_t pcols[PSTAT_SIZE];        // source column (from 0)
extern uint16_t pcont[PSTAT_SIZE];        // physical line index (0 initial)

// Facts about the current and previous statement (words of CurStmt).
enum StmtWord : int32_t {
  CS_KEYROW = 0,   // matched keyword row (index + 1, 0 for none)
  CS_CODE = 1,     // statement code
  CS_DCOLON = 2,   // number of "::"
  CS_COLON = 3,    // position of a single ":" (0 when none)
  CS_EQUALS = 4,   // number of "=" at depth 0
  CS_ARROW = 5,    // number of "=>" at depth 0
  CS_COMMA = 6,    // 1 when a "," at depth 0 occurs
  CS_HPF = 7,      // 1 when the statement came from an HPF line
  CS_SPARE = 8,
  CS_WORDS = 9
};
extern int32_t CurStmt[CS_WORDS];
extern int32_t PrevStmt[CS_WORDS];

// One entry of the include stack.
struct IncludeEntry {
  FILE* fp;                // the open include file
  std::string name;        // its name as found (path)
  std::string shortname;   // the name without its directory
  std::string dir;         // directory of the included file ("" when none)
  int32_t mode;            // 0 ordinary, 1 Concurrent form, 2 "%" lines
  int32_t saved_srclno;    // line number of the including file
  int32_t saved_areof;     // end-of-file flag of the including file
  std::string saved_raw;   // raw line kept by the including file
  int32_t saved_svd;       // that raw line was kept (svdinitial)
  int32_t saved_rawno;     // its line number
  std::string saved_rest;  // the including line with a rest after ";"
  int32_t saved_rest_from; // where that rest starts
  int32_t saved_sep;       // that rest was still to be read
  int32_t saved_cclev;     // conditional level when the file was entered
  int32_t saved_form;      // PrgSrcForm of the including file
  int32_t incline;         // line of the INCLUDE in the including file
};

// Reader state of the current file and statement.
struct SourceState {
  FILE* input;              // the current source file (main file)
  FILE* cur;                // where lines are read now (main or include)
  std::string filename;     // main file name
  int32_t fromcpp;          // 1 when the source came through cpp
  int32_t inclev;           // open include levels
  IncludeEntry inc[MAX_INCLUDE + 1];  // entries 1..10
  int32_t srclno;           // line number in the current file
  int32_t statsrclno;       // line of the statement's initial line
  int32_t codlno;           // initial line in the main file
  int32_t lincnt;           // physical lines in the statement so far
  int32_t statbeg;          // pstat position after the label
  int32_t statend;          // next free pstat position
  int32_t rmargin;          // last column read: 72, 120 or 132
  int32_t freeform;         // 1 while reading free form
  int32_t FileSrcForm;      // 0 undecided, 1 free, 2 fixed
  int32_t PrgSrcForm;       // per program unit
  int32_t areof;            // end of the current input seen
  int32_t eof_all;          // end of the main file seen
  int32_t svdinitial;       // rawline holds the next statement's first line
  std::string rawline;      // the current physical line
  int32_t rawline_inc;      // include level that rawline came from
  int32_t rawline_no;       // its line number
  std::string linebuf;      // a line whose rest after ";" is still to be read
  int32_t linebuf_from;     // the column where that rest starts
  int32_t StmtSeperator;    // linebuf holds text to read
  int32_t stmtsonline;      // statements begun on the current line
  int32_t tabformat;        // a tab was seen in columns 1-5
  int32_t inline_cmnt_start;  // column of an inline comment
  int32_t too_long;         // message 98 given for this statement
  int32_t dropping;         // continuation lines are being dropped
  int32_t labpos_beg;       // pstat range of the label digits
  int32_t labpos_end;
  int32_t lastcolumn;       // column of the last character
  int32_t lastcolumnline;   // and its line index
  int32_t concskip;         // Concurrent ASSM skipping
  int32_t concbend;         // Concurrent BEND seen
  int32_t ccskip;           // HP conditional skipping
  int32_t filedlinopt;      // D lines compiled (per file)
  int32_t fileintsiz;       // default integer size (per file)
  int32_t filelogsiz;       // default logical size (per file)
  int32_t prgintsiz;        // per program unit
  int32_t prglogsiz;
  int32_t margin_override;  // 72 or 120 from a COL directive (0 none)
  int32_t filelines;        // lines of the main file when it ended
};
extern SourceState rsrc;

// Per statement: the raw text and line numbers of its physical lines.
struct StmtLines {
  std::string text[MAX_STMT_LINES];  // raw text of line i
  int32_t lineno[MAX_STMT_LINES];    // its line number in its file
  int32_t inclev[MAX_STMT_LINES];    // include level it came from
  int32_t rawbytes;                  // raw text bytes used (with NULs)
};
extern StmtLines stmtlines;

// Line statistics: totlin counts every line read in the pass; the rest
// are kept for the statistics report.
extern int32_t totlin;
struct LineStats {
  int32_t statlin;    // lines of the main files
  int32_t statiln;    // lines of include files
  int32_t statcodbs;  // statement buffer characters from the main files
  int32_t statcodbi;  // statement buffer characters from include files
  int32_t statcombs;  // comment characters in the main files
  int32_t statcombi;  // comment characters in include files
};
extern LineStats linestats;

// Per-file start and end of the reader.
void srcbeg(const char* filename, FILE* fp, int32_t fromcpp);
void srcend();

// Assembles the next statement: -1 end of input, 1 labelled, -2 no label,
// -3 "%INCLUDE", -4 "%LIST". The label digits are pstat[labpos_beg..end).
int32_t nextstat();
void pp_initstmt(int32_t copy);
void pp_resetSrcForm();
void pp_setMargin();

// Maps a pstat position to its source column; *line gets the physical line
// index of the statement that holds it.
int32_t getcol(int32_t pos, int32_t* line);
// Raw text of physical line i of the statement (-1: the last line read).
const char* getsource(int32_t i);
// Printable copy of pstat positions from..to.
std::string chunkosource(int32_t from, int32_t to);
void printline(const char* text);

// The source context of a numbered message at position `col` (errcol):
// up to five source lines after ">", the marker line and the place line
// "file:UNIT line N:", each ending in a newline. Empty when the message has
// no place.
std::string perrlin_text(int32_t col);
// The place of a message given at a recorded occurrence (error column
// -30003 or -30000) instead of the current line: its line and, for a line
// of an INCLUDE file, the including line. Line 0: the current line.
struct ErrPlace {
  int32_t line;
  int32_t incline;
};
extern ErrPlace errplace;
// The name of the current program unit, or "(outside)".
const char* current_unit_name();

// Opens an include file for the reader (directive or INCLUDE statement):
// returns 1 when reading goes on in it. incline is the line of the
// including file that names it.
int32_t push_include(FILE* fp, const std::string& path, int32_t mode, int32_t incline);
// Directory in which the current file lives ("" for the working directory).
std::string current_source_dir();
