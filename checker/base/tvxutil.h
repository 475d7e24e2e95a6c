// The TVX 3.0 program database of tarvo: hooks (CTVX_...) that the driver
// and the statement handlers call while the source is read. Source files
// are registered in the dependency pass, routine items are written in the
// local pass, and statement records are linked into a chain that shows
// each routine's control structure. Every hook does nothing unless the
// database file is open.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct locsym;
struct qlist;
struct tvx_node;

// One statement record of the chain.
struct tvx_statement {
  int32_t id;                // st# within the routine, from 0
  int32_t file, line, col;   // start position
  int32_t efile, eline, ecol;  // end position (-1 lines: none)
  tvx_statement* next;       // the following statement
  tvx_statement* upper;      // first statement inside a loop or IF
  tvx_statement* extra;      // ELSE IF / ELSE part, or a GO TO's target label
  const char* kind;          // "fdo", "if", "elseif", "fgoto", ...
  int32_t label;             // DO terminating label or statement label
  tvx_statement* above;      // stack links
  tvx_statement* below;
};

// Writer state of the run.
struct TvxState {
  bool VTVX_Init;                   // the database file is open
  std::FILE* VTVX_Stream;           // the database file
  qlist* pool;                      // "tvx": table nodes and statement records
  tvx_node* VTVX_TabSrcFiles;       // root of the source-file table
  tvx_node* VTVX_TabRoutines;       // root of the routine table
  int32_t VTVX_NumSrcFiles;         // ids given so far
  int32_t VTVX_NumRoutines;
  tvx_node* routine;                // the routine item open now
  bool functionStarted;             // a routine item is open
  int32_t tvx_stmtCount;            // next st# id
  tvx_statement* tvx_prevStatement; // pending statement
  tvx_statement* tvx_upper;         // waits for its first inner statement
  tvx_statement* tvx_extra;         // IF waiting for its ELSE part
  tvx_statement* tvx_loopStack;     // innermost open DO
  tvx_statement* tvx_ifStack;       // innermost open IF / ELSE IF record
  tvx_statement* tvx_labelStatements;  // label statements, newest first
  tvx_statement* finish_loops;      // DO loops ended by the current label
  bool finish_pending;              // they are to be finished
  bool VTVX_PrevIf;                 // the last RETURN/STOP was an IF's clause
  int32_t VTVX_PrevStmt;            // code of the previous statement
  bool label_due;                   // a statement label waits for its statement
  int32_t label_file, label_line;   // where that label stands
  int32_t label_value;              // and its value
  bool assignment_due;              // an assignment passed the order check
};
extern TvxState tvxstate;
// Closes the file and forgets everything (tests).
void tvx_reset();

void CTVX_Init(const char* filename);
void CTVX_SrcOpen(const char* filename);
int32_t CTVX_GetCurrentFileId();
void CTVX_SubStart(const char* name);
void CTVX_FuncStart(const char* name);
void CTVX_UnitStart(const char* name, int32_t kind);
void CTVX_CheckRoutine(int32_t file, int32_t line, int32_t col, bool with_rstart);
void CTVX_GenRSTART(int32_t file, int32_t line, int32_t col);
void CTVX_GenRCALL(const locsym* callee, int32_t file, int32_t line, int32_t col);
void CTVX_GenRSTMT(int32_t file, int32_t line, int32_t col, int32_t eline, int32_t ecol,
                   const char* kind);
void CTVX_StartLoop(int32_t file, int32_t line, int32_t col, int32_t label);
void CTVX_FinishF90Loop(int32_t file, int32_t line, int32_t col);
void CTVX_ActivateF77Loops(int32_t label);
void CTVX_FinishF77Loops(int32_t file, int32_t line, int32_t col);
void CTVX_GenLabel(int32_t file, int32_t line, int32_t col, int32_t eline, int32_t ecol,
                   int32_t label);
// A labelled statement's label waits until the statement passes the order
// check, so that the routine's rloc and rstart lines come before it;
// CTVX_FlushLabel then makes its record (when a unit is open).
void CTVX_DeferLabel(int32_t file, int32_t line, int32_t label);
void CTVX_FlushLabel();
void CTVX_GenGoto(int32_t file, int32_t line, int32_t col, int32_t eline, int32_t ecol,
                  int32_t label);
void CTVX_StartIf(int32_t file, int32_t line, int32_t col);
void CTVX_HandleElseIf(int32_t file, int32_t line, int32_t col);
void CTVX_HandleElse();
void CTVX_HandleEndIf(int32_t file, int32_t line, int32_t col);
void CTVX_HandleSingleEndIf(int32_t file, int32_t line, int32_t col);
// RETURN (code: the statement code, 63 RETURN or 39 IF makes the position
// be looked up in the statement's lines) and STOP.
void CTVX_GenRRET(int32_t file, int32_t line, int32_t col, int32_t code = 0);
void CTVX_GenRSTOP(int32_t file, int32_t line, int32_t col);
void CTVX_CheckForIfClause(int32_t col);
int32_t CTVX_GetSubstringCol(const std::string& line, const char* word);
void CTVX_FinishRoutine();

// Where the current statement starts (line of its first physical line,
// column of its first character) and ends (line and column of its last
// character), as the hooks take them; columns count from 1.
void tvx_stmt_start(int32_t& line, int32_t& col);
void tvx_stmt_end(int32_t& line, int32_t& col);
// The pending statement is a RETURN record.
bool tvx_last_was_return();
// The routine item open now is the one of the unit name.
bool tvx_routine_open(const char* name);
