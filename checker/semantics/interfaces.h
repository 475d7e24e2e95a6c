// User generic interfaces, defined operators and assignment: the records
// that INTERFACE blocks build, and generic resolution of a reference.
//
// Every INTERFACE statement has an interface record on the scope level it
// stands in; a generic name, OPERATOR(op) or ASSIGNMENT(=) also has a
// generic symbol (the name, "OPERATOR_" and the operator's name, or
// "ASSIGNMENT") flagged as a generic interface name, and an operator or
// assignment has a defined-operator record whose signatures (the operand
// and result types of each function or subroutine) are scored against the
// operands of an expression or assignment.
#pragma once

#include <cstdint>
#include <string>

#include "checker/common/symtable.h"
#include "checker/semantics/actargs.h"
#include "checker/semantics/constarith.h"
#include "checker/semantics/unit_queries.h"

struct locsym;
struct exprec;
struct qlist;

// Kinds of interface record.
enum : int32_t {
  IK_NONAME = 0,     // INTERFACE without a generic specification
  IK_GENERIC = 1,    // a generic name
  IK_OPERATOR = 2,   // OPERATOR (op)
  IK_ASSIGNMENT = 3  // ASSIGNMENT (=)
};

// Operator code of a defined operator (a dotted name of its own).
constexpr int32_t OP_DEFINED = 29;

// Symbol attribute bits that interfaces set.
constexpr uint32_t ATTR_GENERIC = 0x1000000;    // a generic interface name
// (ATTR_INTF_BODY, 0x2000000, a procedure of an interface body.)
constexpr uint32_t ATTR_IN_INTF = 0x4000000;    // made inside an INTERFACE block
constexpr uint32_t ATTR_MODPROC = 0x80000;      // named in MODULE PROCEDURE

// One procedure of an interface.
struct IntfProc {
  locsym* sym;      // as named in the block (an interface body's own symbol)
  locsym* def;      // the module procedure's definition once it has been read
  IntfProc* next;
};

struct UsrOpRec;

// One interface block of a scope level (the same generic specification met
// again reopens its record).
struct IntfRec {
  int32_t kind;       // IK_
  int32_t opcode;     // operator code (IK_OPERATOR), else 0
  int32_t pclass;     // procedures of the block: 0 not yet known, SC_FUNC, SC_SUB
  locsym* generic;    // the generic symbol (null without a specification)
  IntfProc* first;    // its procedures in order
  IntfProc* last;
  UsrOpRec* usrop;    // defined-operator or assignment record
  IntfRec* next;      // next interface of the scope level
  IntfRec* gnext;     // next in the list of all interfaces
};

// One operand of a signature: its rank and type (type code 0: absent).
struct OpOperand {
  int32_t rank;
  dtdesc type;
};

// The operand types of one function of an operator (or subroutine of an
// assignment): the first dummy, the second, and the result (for an
// assignment a copy of the first dummy's).
struct OpSignature {
  OpOperand opd[3];
  locsym* proc;
  OpSignature* next;
};

// Defined operator or assignment of a scope level: one per operator code,
// per defined-operator name, and one for assignment.
struct UsrOpRec {
  int32_t kind;        // IK_OPERATOR or IK_ASSIGNMENT
  int32_t opcode;      // operator code
  int32_t noperands;   // from the operator-name table; 0 for a defined operator
  locsym* generic;     // the generic symbol
  OpSignature* first;  // signatures in order
  OpSignature* last;
  UsrOpRec* next;
};

// Interface state of the program unit being read. Records are made in the
// pool "local" and forgotten with it; a level's records are those of the
// unit that owns the level now.
struct IntfLevel {
  locsym* unitsym;     // the unit whose records these are
  IntfRec* head;       // interfaces of the level in order
  IntfRec* tail;
  UsrOpRec* usrops;    // defined operators and assignment of the level
};

// What INTERFACE saves of the host and restores at END INTERFACE, and
// what an interface body saves of the statement order of its host.
struct OpenBlock {
  IntfRec* rec;            // the block
  int32_t outer_state;     // interface state before it (0, or 2 inside a body)
  int32_t level;           // scope level of the INTERFACE statement
  dtdesc imptbl[27];       // the host's IMPLICIT table
  int32_t defdtypes[9];    // its default types
  int32_t implicit_none;   // its IMPLICIT NONE
  int32_t implic;          // its IMPLICIT and IMPLICIT NONE statement flags
  int32_t impnone;
  int32_t parmod;          // statement order of the host around a body
  int32_t pabort[11];
  int32_t prgtyp;
};

struct IntfState {
  IntfLevel level[6];      // scope levels 1..5
  IntfRec* InterfaceHead;  // every interface of the unit in order
  IntfRec* InterfaceTail;
  OpenBlock open[6];       // open blocks, innermost at depth
  int32_t depth;           // 0 outside every block
  locsym* last_body;       // the latest interface body (chain of bodies)
};
extern IntfState intfs;

// Forgets every interface (a new external unit, tests).
void intf_reset();

// The open interface block, or null.
IntfRec* intf_current();
// "OPERATOR_" and the operator's name for an operator code, empty for a
// code without a name.
std::string intf_getopname(int32_t code);
// The operator code of a dotted name: 2 to 28 for the names of the table,
// 1 for any other name.
int32_t intf_getopcode(const char* name);
// Operands of an operator code (the operator-name table).
int32_t intf_opnd_count(int32_t code);
// The default result type of an operator: "//" default CHARACTER,
// relational and logical operators default LOGICAL, others none (code 0).
dtdesc intf_get_defdtyp(int32_t opcode);

// The interface record of the generic symbol (and operator code) visible
// from the current scope level, innermost first; null when there is none.
IntfRec* intf_get_interface(const locsym* generic, int32_t opcode);
// The interface record of a generic symbol at exactly one level.
IntfRec* intf_get_interface_at(int32_t level, const locsym* generic, int32_t opcode);
// The n-th procedure (from 0) of an interface, null past the end.
locsym* intf_get_proc(const IntfRec* rec, int32_t n);
// True for an interface without a generic specification.
bool intf_hasnoname(const IntfRec* rec);
// True when the symbol was made inside an interface block (a body's name,
// dummies or locals).
bool isIntfObj(const locsym* sym);
// True when an interface block of the current scope level names a procedure
// of that name (its interface body gives it a type of its own).
bool intf_body_named(const char* name);
// The generic symbol of the defined operator of that dotted name (at most
// 27 characters) visible from the current level, or null.
locsym* intf_find_defop(const char* name);

// True when a USE statement of the unit or of its hosts may give names
// (and operators) that the unit's records do not hold: a module that is
// not in the module table, or an operator renamed by an ONLY list.
bool intf_may_come_from_module();

// Makes a new interface record on the current level (and the global list).
IntfRec* intf_new_interface(int32_t kind, int32_t opcode, locsym* generic);
// The defined-operator (kind IK_OPERATOR) or assignment record of the
// current level for that code (or generic symbol, for a defined operator),
// made when there is none.
UsrOpRec* intf_add_usrop(int32_t kind, int32_t opcode, locsym* generic);
// Appends a procedure to an interface unless it is there already.
IntfProc* intf_update(IntfRec* rec, locsym* proc);
// Records the signature of the procedure proc (whose dummies and result
// are known) with the interface's defined-operator record; the signature
// recorded (or the one of that procedure recorded before), null when none.
const OpSignature* intf_add_usrop_dtyp(IntfRec* rec, locsym* proc);
// Appends a copy of sig to u unless u has a signature of the same
// procedure (by name); the signature of that procedure.
const OpSignature* intf_add_signature(UsrOpRec* u, const OpSignature& sig, qlist* pool);
// At the end of a module procedure: the interfaces of the module that name
// it learn its dummies, class and type.
void intf_modproc_end(locsym* proc);

// Defined operators in expressions: left and right operand records (left
// the operator's), for code 29 the operator's generic symbol. 0 when a
// function of the operator takes them (right then holds its result type
// and rank), -1 when the operator's record has no signatures, -2 when
// there is no record or no signature fits, -3 when none fits but an
// operand's type is not known.
int32_t intf_chk_usropr_dt(exprec* left, exprec* right, locsym* opsym);
// Defined assignment: 1 when a subroutine of the scope's ASSIGNMENT
// interface takes the two sides (the assignment is then not checked as an
// intrinsic one), else 0.
int32_t intf_applied_usrasm(const dtdesc& ltype, const dtdesc& rtype, const locsym* lstruct,
                            const locsym* rstruct, int32_t lglo, int32_t rglo, int32_t lrank,
                            int32_t rrank, int32_t pos);

// Generic resolution. The argument-list reader calls intf_initovload for a
// reference to a generic name, then per actual intf_argmatch and
// intf_chkNomatch, and after the list intf_matchargnum and
// intf_chkAmbiguous. A reference inside an actual argument has a
// resolution of its own, nested in the outer one.
//
// Candidates of a reference to the generic sym from its interface's
// specific procedures (looked up in the global store); 0 when it has none.
int32_t intf_initovload(locsym* sym);
// The largest dummy count among the candidates.
int32_t intf_get_maxargs();
// Scores the candidates against one actual argument (keyword or null).
void intf_argmatch(int32_t position, const char* keyword, const actarg* arg);
// After each argument: -1 after message 834, else 0.
int32_t intf_chkNomatch(int32_t position);
// When the generic is also the name of an intrinsic: 1 when the
// intrinsic's specific fits the actual better than the best candidate.
int32_t intf_overload_intrinsic(int32_t position, const actarg* arg);
// After the list: the chosen candidate's global record number, 0 none.
int32_t intf_matchargnum(int32_t nactuals);
// The procedure symbol of the candidate intf_matchargnum chose, or null.
locsym* intf_chosen_proc();
// Message 696 when the choice is ambiguous.
void intf_chkAmbiguous(locsym* sym);
