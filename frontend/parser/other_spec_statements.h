// Specification statements that give names attributes without a type:
// INTRINSIC, EXTERNAL, OPTIONAL, INTENT, SAVE, PUBLIC and PRIVATE, NAMELIST,
// and the interface-block statements. The parts that other statements share
// are declared here.
#pragma once

#include "frontend/base/source_pos.h"
#include "frontend/model/symbols.h"
#include "frontend/model/attributes.h"

// ( IN | OUT | INOUT | IN OUT ): the current token on the "("; adds the intent
// attribute (25, 26 or 27) to set and leaves the token after ")" current.
// 0 after a message.
int parse_intent_spec(attr_set* set);
// One item of an access statement, INTERFACE or USE: a name, OPERATOR (op)
// or ASSIGNMENT (=), the current token on its first token. Returns the
// symbol at `level` (made when absent; null for an empty item) and its
// position in *pos; the token after the item is current.
symbol_entry* access_stmt(source_pos_record* pos, int level);
// The operator of OPERATOR ( op ) or ASSIGNMENT ( = ): scans the token after
// the "(" (so that "//" and "/" stay operators) and returns the name of the
// generic it stands for, the operator's own spelling ("+", "//", "<",
// ".CROSS.", "="); null when the token names no generic of that form.
::atom* scan_generic_operator(bool assignment);
// One name of an attribute statement, checked and given the attributes of
// set; the token after the name is current. Null when no name stood there.
symbol_entry* attr_stmt_entity(const attr_set& set);
// Whether a symbol is a host link (class 31) that stands for a declaration
// in an enclosing level; a link that only carries the implicit type of an
// undeclared name is none.
bool is_host_alias(const symbol_entry* s);
// The symbol of a name being declared at the current level (null when the
// level has none); a host alias there gives 112, and any host link becomes
// an undeclared name with the type and uses it carried.
symbol_entry* declared_here(const name_pos_record& name);
