// The records of tarvo's local symbol table and the state of the program
// unit being read: the symbol and occurrence records, the scope levels, the
// unit's status, the current unit's symbol and its IMPLICIT table. The
// statement reader, the semantic checks and the program-database writer
// all read them; the table's operations stand in checker/semantics/locsym.
#pragma once

#include <cstdint>

#include "checker/common/dtype.h"
#include "checker/common/qmalloc.h"
#include "checker/common/qualcodes.h"

struct xrefrec;
struct LabelRec;

struct locsym {
  locsym* hnext;          // next record of the same hash bucket (names ascending)
  locsym* snext;          // next record of its scope level, creation order
  char* name;             // at most 36 characters
  int32_t spare;          // not used
  uint8_t sclass;         // storage class SC_
  uint8_t squal;          // qualifier SQ_
  uint8_t props;          // CP_ property bits
  uint8_t flagbyte;       // cleared at creation
  dtdesc type;            // data type
  locsym* link;           // pointer of a pointee, COMMON block, EQUIVALENCE ring, record
  locsym* intflink;       // generic interface or host counterpart; equivalenced object
  int32_t offset;         // byte offset in its COMMON block or EQUIVALENCE group
  int32_t size;           // storage size; 0 until computed
  void* list;             // members, dummies or PARAMETER value
  uint32_t usage;         // QB_ usage bits
  uint32_t line;          // line of creation, or of the first set or reference
  xrefrec* xhead;         // occurrence list
  xrefrec* xtail;
  uint32_t glorec;        // record in the global store
  uint32_t attrib;        // declared attributes
  void* arrspec;          // dimension record
  void* locdata;          // statement-handler data (function result...)
  locsym* owner;          // program-unit symbol current at creation
  void* modcopy;          // module-table entry
  locsym* homemod;        // module it came from by USE
  uint32_t hpfbits;       // HPF attribute bits
  locsym* further;        // a further link
  uint32_t extra;         // extra flags
};

// One occurrence of a symbol.
struct xrefrec {
  locsym* sym;       // the symbol
  uint8_t assoc;     // 1: recorded through COMMON or EQUIVALENCE association
  const char* path;  // structure-component path or null
  int32_t incid;     // include-file identifier (0 outside INCLUDE files)
  int32_t incline;   // include line
  int32_t line;      // source line
  int32_t col;       // column
  uint32_t usage;    // usage bits of the occurrence
  xrefrec* next;
};

constexpr int32_t LOC_BUCKETS = 1024;
constexpr int32_t MAX_SCOPES = 5;
constexpr int32_t MAX_NAME = 36;

// One scope level.
// One entry of a list of program-unit symbols (pool "local").
struct UnitNode {
  locsym* sym;
  UnitNode* next;
};

struct loc_scope {
  uint8_t kind;                 // merged mark of the level
  locsym* unitsym;              // the program-unit symbol of the level
  locsym* head;                 // creation-order list
  locsym* tail;
  locsym* bucket[LOC_BUCKETS];  // hash chains
  // Buckets that may hold a chain (bit b of word b / 64): only they need
  // emptying when the level is opened again.
  uint64_t used[LOC_BUCKETS / 64];
  dtdesc imptbl[27];            // the level's copy of the IMPLICIT table
  int32_t saved[7];             // parser state saved on entry
  // State of the unit of this level kept while a nested level is open.
  LabelRec* labels;             // its label list
  int32_t defaccess;            // its default accessibility
  int32_t hpfseq;               // its HPF sequence default
  struct UnitNode* contained;   // its contained procedures read so far, newest first
};
// Empties the hash chains of a level.
void clear_buckets(loc_scope& lv);
extern loc_scope ScopeOne[MAX_SCOPES + 1];  // levels 1..5
extern loc_scope ScopeTwo[MAX_SCOPES + 1];
extern loc_scope* Scope;

// Unit status shared with the statement handlers.
struct UnitStatus {
  int32_t scope_level;     // 0 before the first unit, 1..5 inside
  int32_t nesting;         // nesting depth of the units being read
  int32_t interface;       // 0 outside INTERFACE, 1 in a block, 2 in a body, 3 after MODULE PROCEDURE
  int32_t curfile;         // number of the current source file
  int32_t msgoff;          // messages held off
  int32_t stmtmark;        // statement mark
  int32_t contains;        // the current unit stopped at CONTAINS
  int32_t hpfseq;          // sequence default of the unit: 0x40 SEQUENCE, 0x800 NOSEQUENCE
};
extern UnitStatus Status;
extern locsym* prgnam;            // the current program unit
extern dtdesc imptbl[27];         // IMPLICIT table: A..Z and other
extern int32_t defdtypes[9];      // data-type codes of the default types
extern int32_t implicit_none;     // IMPLICIT NONE given
extern int32_t PrintImptypMsg;    // message 136 may be given (1 from each unit start)

// Pool "local" and records from it.
qlist* local_pool();
template <class T>
T* local_new() {
  return qnew<T>(local_pool());
}
template <class T>
T* local_array(int32_t n) {
  return qnew<T>(local_pool(), static_cast<size_t>(n > 0 ? n : 1));
}

// Usage bits without a name in the qualifier table.
constexpr uint32_t QB_INDIRECT = 0x10000000;  // defined indirectly (I/O specifier, argument)
constexpr uint32_t QB_LABASSIGN = 0x00800000; // a label was ASSIGNed to it
constexpr uint32_t QB_LABUSE = 0x00400000;    // used as an ASSIGNed label

// Records that hang on a symbol and bits of its words that the statement
// handlers set and the semantic checks read.

constexpr int32_t MAX_DIMS = 20;

// A dimension of a symbol's array specification (the symbol's arrspec).
struct arrdim {
  int32_t lower;
  int32_t upper;
  uint8_t flags;
  uint8_t second;
  arrdim* next;
};

// Attribute bit of a derived type declared SEQUENCE.
constexpr uint32_t ATTR_SEQUENCE = 0x2000;
// Extra-flag bit of a derived type named by TYPE(name) before its
// definition.
constexpr uint32_t EXTRA_TYPE_UNDEFINED = 1;
// Extra-flag bit of a function referenced without a type where a contained
// procedure read later may still define it: its type is not known until
// the END that settles it.
constexpr uint32_t EXTRA_TYPE_PENDING = 0x80;

// One component of a type's list (hung from the type symbol's list).
struct FieldNode {
  locsym* sym;      // the component
  FieldNode* next;
};

// One member of a COMMON block (the block symbol's list, in order).
struct ComMember {
  locsym* sym;      // the member
  int32_t line;     // line of the COMMON statement that named it
  ComMember* next;  // next member
};

// One dummy argument of a procedure's list (sym null for an alternate
// return "*" or "&"); the chain hangs on the procedure symbol's list.
struct UnkArg;
struct DummyNode {
  locsym* sym;
  DummyNode* next;
  UnkArg* unkfirst;  // passes of the dummy as an actual argument
  UnkArg* unklast;
};

// Procedure attribute bits of a symbol's attribute word.
constexpr uint32_t ATTR_PURE_PROC = 0x10000000;
constexpr uint32_t ATTR_ELEMENTAL_PROC = 0x20000000;

// A pass of a statement-function dummy to a procedure in the body.
struct StatFuncPass {
  locsym* proc;   // the procedure
  int32_t word;   // the argument word of the pass
  StatFuncPass* next;
};
// One dummy of a statement function, chained from the function's list
// head in the order written; usage gathers what the body does with it,
// passes the procedures the body hands it to.
struct StatFuncDummy {
  locsym* sym;
  StatFuncDummy* next;
  uint32_t usage;
  StatFuncPass* passes;
};

// Flags of the program unit being read; reset when a unit begins.
struct SpecState {
  int32_t implic;     // an IMPLICIT statement with types was seen
  int32_t impnone;    // IMPLICIT NONE was seen
  int32_t blanksave;  // SAVE without a list was seen
  int32_t defaccess;  // default access of the module: 0 none, 1 PUBLIC, 2 PRIVATE
};
extern SpecState spec;
void spec_unit_reset();

// Bits of a symbol's attribute word.
constexpr uint32_t ATTR_SAVE = 0x400;
constexpr uint32_t ATTR_PRIVATE = 0x800;
constexpr uint32_t ATTR_PUBLIC = 0x1000;

// One object of a NAMELIST group (the group's list).
struct NmlMember {
  locsym* sym;       // the object
  NmlMember* next;   // next object of the group
};

// Rank of a symbol's array specification (0 for a scalar or null).
int32_t get_array_rank(const locsym* sym);
