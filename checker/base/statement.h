// Statement keywords, statement order and labels of tarvo: which statement
// stands in pstat (getkey), the order state of its program unit that the
// order check (tstord) keeps, the labels of the unit (labfind, lhand) and
// the construct stack that labelled DO loops and jumps into blocks are
// checked against.
#pragma once

#include <cstdint>
#include <string>

struct locsym;

// One row of the keyword table.
struct KeyRow {
  const char* text;   // keyword in upper case, without blanks
  uint32_t attrib;    // bits 24-31 data-type class, 16-23 I/O column, 8-15 database number
  int32_t code;       // statement code 1..148
  int32_t f77;        // note in Fortran 77 mode (negative: not available)
  int32_t f90;        // note in Fortran 90 mode
};

constexpr int32_t KEY_COUNT = 148;

// Statement codes used by name.
enum : int32_t {
  ST_ACCEPT = 1, ST_ASSIGN = 2, ST_BLOCKDATA = 5, ST_DO = 19, ST_ELSE = 22,
  ST_ELSEIF = 23, ST_END = 25, ST_ENDDO = 26, ST_ENDIF = 28, ST_FORMAT = 36,
  ST_FUNCTION = 37, ST_IF = 39, ST_INCLUDE = 42, ST_PROGRAM = 55,
  ST_SUBROUTINE = 70, ST_TYPE = 71, ST_UNDEFINED = 72, ST_USE = 102,
  ST_CONTAINS = 107, ST_ELSEWHERE = 110, ST_ENDSELECT = 112,
  ST_ENDWHERE = 114, ST_INTERFACE = 117, ST_MODULE = 118,
  ST_MODULEPROCEDURE = 119, ST_PRIVATE = 122, ST_PUBLIC = 123,
  ST_SELECTCASE = 124, ST_WHERE = 127, ST_FORALL = 128, ST_ENDFORALL = 129,
  ST_INDEPENDENT = 134, ST_VIEW = 141, ST_ENDBLOCKDATA = 144,
  ST_ENDFUNCTION = 145, ST_ENDMODULE = 146, ST_ENDPROGRAM = 147,
  ST_ENDSUBROUTINE = 148
};

extern const KeyRow keys[KEY_COUNT + 1];  // the last row has no text
extern const KeyRow* kwindex[27];

void indexkey();
const KeyRow* getkey();
const KeyRow* keyrow_of_code(int32_t code);
void updateStmtKey(const KeyRow* row);
void cleanStmtKey();
bool stmtIs(int32_t code);
bool stmtIsAssignmt();
bool stmtIsPtrAssignmt();
int32_t skip_nextoken_ifiskeyword(const char* word);
// Data-type class, I/O column and database number of a row.
inline int32_t key_dtclass(const KeyRow* r) { return static_cast<int32_t>(r->attrib >> 24); }
inline int32_t key_iocol(const KeyRow* r) { return static_cast<int32_t>((r->attrib >> 16) & 0xFF); }
inline int32_t key_dbnum(const KeyRow* r) { return static_cast<int32_t>((r->attrib >> 8) & 0xFF); }

// Statement classes of the order check.
enum StmtClass : int32_t {
  CL_NONE = 0, CL_OPTION = 1, CL_PROGTYPE = 2, CL_USE = 3, CL_IMPLNONE = 4,
  CL_IMPLICIT = 5, CL_SPEC = 6, CL_STFUNC = 7, CL_EXEC = 8, CL_CONTAINS = 9,
  CL_END = 10
};

// Order and label state of the program unit being read.
struct UnitState {
  int32_t parmod;          // highest statement class seen so far
  int32_t pabort[11];      // [0] abort flag; [1..10] first line of each class
  int32_t body_begin;      // line of the first executable statement
  int32_t rtn_begin;       // line of the routine's first statement
  int32_t rtn_end;         // line of its latest statement
  int32_t prgtyp;          // kind of unit: 5 function, 6 subroutine, 7 main, 8 BLOCK DATA, 12 module
  int32_t IsEndOfExtPrg;   // an external program unit has just ended
  int32_t labpro;          // labels and constructs are processed
  int32_t interface_body;  // inside an interface body
  int32_t had_interface;   // an INTERFACE block was read in the unit
  int32_t spec_closed;     // the specification part has been closed
  int32_t unnamedprogs;    // unnamed main programs of this pass
  int32_t unnamedbdatas;   // unnamed BLOCK DATA units of this pass
  int32_t statfe;          // statements given up after an internal overflow
  std::string CurConstructName;  // "name:" in front of the statement
};
extern UnitState unit;
void unit_order_reset();  // per program unit


// Construct stack.
constexpr int32_t NEST_SIZE = 500;
struct NestEntry {
  int32_t code;        // construct code (1 IF ... 13 FORALL statement)
  int32_t blk;         // block number
  int32_t label;       // terminating label of a labelled DO
  locsym* dovar;       // DO variable of a DO loop, else null
  std::string name;    // construct name
  std::string forall_index;  // index name of a FORALL construct's header
};
// Block number of a unit's statements outside every construct.
constexpr int32_t OUTER_BLOCK = 1;
struct NestState {
  NestEntry e[NEST_SIZE];  // entries 1..nestdep
  int32_t nestdep;         // open constructs
  int32_t usdnestcod;      // deepest depth reached
  int32_t codblk;          // block number of the innermost open block
  int32_t newcodblk;       // running base of block numbers
};
extern NestState nest;
void nest_reset();
// Pushes an entry; 0 after the overflow message.
int32_t nestdep_plus_plus();
void nest_pop();
// Pushes a construct entry of code with a new block of kind k (5 IF, 6 DO,
// 7 WHERE, 8 SELECT CASE, 9 FORALL) and the statement's construct name;
// false when labels are not processed or after the overflow.
bool construct_push(int32_t code, int32_t k);

// Labels of the program unit.
struct LabelUse {
  int32_t blocks_count;   // open constructs at the branch
  int32_t* blocks;        // their block numbers
  LabelUse* next;
};
struct LabelRec {
  int32_t code;           // statement code of the defining statement
  int32_t value;          // 1..99999
  int32_t flags;          // 1 branch, 2 defined, 4 assigned, 8/16 other, 32 FORMAT
  int32_t blk;            // block number at the definition
  int32_t line;           // line of the definition
  int32_t refline;        // line of the first reference
  LabelUse* fwd;          // forward branches
  LabelRec* next;
};
extern LabelRec* labhead;
LabelRec* labfind();
void lhand(LabelRec* lab, int32_t kind);
// The next label definition belongs to block blk (the block that its
// statement closed).
void lhand_defining_block(int32_t blk);
void lenddo(LabelRec* lab);
void labels_reset();
