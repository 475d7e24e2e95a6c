// The statements of interface blocks: INTERFACE, MODULE PROCEDURE and END
// INTERFACE (their handlers are declared with the dispatch), and the
// FUNCTION, SUBROUTINE and END statements of interface bodies.
#pragma once

#include <cstdint>
#include <string>

#include "checker/reader/dispatch.h"

struct locsym;
struct IntfRec;

// A generic specification as written: a name, OPERATOR (op) or
// ASSIGNMENT (=).
struct GenericSpec {
  int32_t kind;        // IK_GENERIC, IK_OPERATOR or IK_ASSIGNMENT
  int32_t opcode;      // operator code of an operator, else 0
  std::string symbol;  // the generic symbol's name
  int32_t col;         // where the generic-spec starts
};

// Reads a generic specification from the next token; false after its
// message (17, 21, 6, 33, 71, 72, 73, 7, 24).
bool get_generic_spec(GenericSpec& g);
// After OPERATOR: "(" operator ")"; the operator's code (29 for a defined
// operator, whose dotted name goes to name), 0 after a message.
int32_t getIntfOpr(std::string& name);

// FUNCTION and SUBROUTINE statements met inside an interface block: the
// interface bodies.
int32_t shfunc_intf(const StmtCall& c);
int32_t shsub_intf(const StmtCall& c);
// END of an interface body: back in the block; END_OF_BODY.
int32_t shend_intf(const StmtCall& c);
// The dummy at position pos (from 0) of a procedure of an operator or
// assignment interface: OPTIONAL (686) and INTENT (687, 688).
void intf_chkarg(const IntfRec* rec, const locsym* dummy, int32_t pos);
// The unit ends with interface blocks still open: they are forgotten.
void intf_close_blocks();
