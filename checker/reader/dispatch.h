// Statement dispatch of tarvo: parse reads the statements of one program
// unit and hands each to the handler of its statement code.
#pragma once

#include <cstdint>
#include <string>

struct KeyRow;

// What a handler is called with.
struct StmtCall {
  const KeyRow* row;   // keyword row (null for an assignment)
  int32_t code;        // statement code
  int32_t lowest;      // statement-order classes of the code
  int32_t cls;
  int32_t labelled;    // the statement has a label
};
using StmtHandler = int32_t (*)(const StmtCall&);

// The statement-order check every handler passes first: 1 when a statement
// of the classes lowest and cls may stand here (order.cpp).
int32_t tstord(int32_t lowest, int32_t cls);
// Name of a statement class as message 74 gives it.
const char* statement_class_name(int32_t cls);
// Opens the unnamed main program that a statement outside any unit starts.
void defprg();

// Reads and dispatches the statements of one program unit.
void parse();

// Handlers of this part of the reader.
int32_t shprog(const StmtCall& c);
int32_t shsub(const StmtCall& c);
int32_t shfunc(const StmtCall& c);
int32_t shblock(const StmtCall& c);
int32_t shmodule(const StmtCall& c);
int32_t which_USE(const StmtCall& c);
int32_t shend(const StmtCall& c);
int32_t shcontin(const StmtCall& c);
int32_t shcontains(const StmtCall& c);
int32_t shentry(const StmtCall& c);
int32_t shret(const StmtCall& c);
int32_t shinterface(const StmtCall& c);
int32_t shendinterface(const StmtCall& c);
int32_t shmoduleproc(const StmtCall& c);
int32_t shoptions(const StmtCall& c);
int32_t shdo(const StmtCall& c);
int32_t shenddo(const StmtCall& c);
int32_t shif(const StmtCall& c);
int32_t shvardec(const StmtCall& c);
int32_t shrecursive(const StmtCall& c);
int32_t shpure(const StmtCall& c);
int32_t shelemental(const StmtCall& c);
int32_t hpf_shextrinsic(const StmtCall& c);
int32_t which_TYPE(const StmtCall& c);
int32_t shgoto(const StmtCall& c);
int32_t shasn(const StmtCall& c);
int32_t shcall(const StmtCall& c);
int32_t shstop(const StmtCall& c);
int32_t shallocate(const StmtCall& c);
int32_t shdeallocate(const StmtCall& c);
int32_t shnullify(const StmtCall& c);
int32_t shwhere(const StmtCall& c);
int32_t shelsewhere(const StmtCall& c);
int32_t shendwhere(const StmtCall& c);
int32_t shselectcase(const StmtCall& c);
int32_t shcase(const StmtCall& c);
int32_t shendselect(const StmtCall& c);
int32_t shcycle(const StmtCall& c);
int32_t shexit(const StmtCall& c);
int32_t sh_none(const StmtCall& c);
int32_t sh_unrecognised(const StmtCall& c);
int32_t sh_include(const StmtCall& c);
// The I/O statements and FORMAT (iostmts.cpp).
int32_t shio(const StmtCall& c);
int32_t shformat(const StmtCall& c);
// The statement-order check of the call, then the statement is consumed:
// the handler of a statement whose analysis is still to come.
int32_t sh_pending(const StmtCall& c);

// Closing of the one-line IF, WHERE and FORALL statements.
void shifclose();
void shwhereclose();
void hpf_shforallclose();

// Result of shend when it closed an interface body: the enclosing unit
// goes on.
constexpr int32_t END_OF_BODY = 2;

// The unit stopped at its CONTAINS statement (reset by prgbeg's caller).
extern int32_t stopped_at_contains;
// Reads the construct name that may end the statement into name; false
// after message 20 (the statement is consumed).
bool trailing_construct_name(std::string& name);
// True when code ends a program unit.
bool isProcEndStmt(int32_t code);
// True when code is a Fortran 90 statement.
bool isF90stmt(int32_t code);

// The pstat position behind the parenthesis that closes the one at p.
int32_t behind_parens(int32_t p);
// The position after a length "*n" or "*(...)" at p; p when there is none.
int32_t behind_length(int32_t p);
