// The statement loop: classification of each statement into one of 84
// statement kinds, the statement-order table and checks, label definition
// and the table of statement handlers; one call parses one program unit.
#pragma once
#include <cstdint>

#include "frontend/lexer/scanner.h"
#include "frontend/model/il_entries.h"
#include "frontend/parser/parser_tokens.h"

enum stmt_kind_code : int {
#define STMT(kind, id, handler, order_class, highest) id = kind,
#include "frontend/parser/statement_kinds.def"
};
inline constexpr int stmt_kind_count = 84;

// Sections of a unit, in the order the statements move through them.
enum stmt_section_code : int {
  section_start = 0,      // before the header (or an interface body / contained unit)
  section_header = 1,     // header seen
  section_use = 2,        // USE part
  section_implicit = 4,   // IMPLICIT part
  section_spec = 5,       // specification part
  section_exec = 6,       // executable part
  section_contains = 7,   // after CONTAINS
  section_end = 8,        // END seen
};

struct StatementLoopState {
  int stmt_kind;                 // kind of the statement being parsed
  int stmt_section;              // section the unit has reached
  bool header_seen;              // the unit's header statement was seen
  int contained_depth;           // CONTAINS levels still open
  bool module_procedure_mark;    // the innermost interface block has MODULE PROCEDUREs
  bool no_component_yet;         // the open type definition has no component yet
  bool first_on_line;            // the statement is the first on its source line
  source_pos_record stmt_pos;    // position of the statement's first token
  scan_cursor stmt_start;        // the scanner at the statement's start
  scan_cursor after_keyword;     // the scanner after the statement's keyword(s)
  ::atom* label_name;            // the statement label, or null
  source_pos_record label_pos;   // its position
  symbol_entry* label_symbol;    // the label's symbol once defined, or null
  statement* pending_label_stmt; // the stmk_label statement of the current label
  bool end_of_unit;              // the unit (and its contained units) ended
};
extern StatementLoopState loop;

// Parses one program unit, starting with the statement just read; returns 1.
int parse_program_unit();
// Sets loop.stmt_kind and the statement position; leaves the scanner at the
// start of the statement (reports 125, 235 or 62 for kind 83).
void classify_statement();
// The kind of a statement that begins with a name (-1 when none fits).
int classify_named_statement();
int dispatch_statement();
bool stmt_kind_is_executable(int kind);
// Appends a stmk_label statement for a label symbol and makes it the pending
// label statement; returns it.
statement* append_label_statement(symbol_entry* label);
// The whole statement keyword that starts with token t, just scanned in
// keyword mode (fixed-form runs such as IN + TEGER and two-word forms such
// as END DO merged); the scanner stays after its last part, which is also
// noted in loop.after_keyword. A token that starts no keyword is returned.
int read_statement_keyword(int t);
// The symbol a name (label, construct name or other) has at the current
// scope level: its first in-scope symbol (COMMON block names passed over)
// when that lies at the current level, else null.
symbol_entry* symbol_here(::atom* name);
// Puts the scanner after the statement's keyword(s) and scans one token.
int scan_after_keyword(uint32_t flags);
// Puts the scanner at the statement's start and scans one token.
int scan_statement_start(uint32_t flags);
// Order class and highest section of a kind.
int stmt_order_class(int kind);
int stmt_highest_section(int kind);
