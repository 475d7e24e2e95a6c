// Global symbol store: one logical record (symrec) per global entity, kept
// as a chain of numbered 128-byte physical records, in memory blocks up to a
// limit and in a nameless temporary spill file beyond it, found through a
// hash table of 1,024 buckets whose chains stay sorted by name.
//
// On file (spill file and library tables) a logical record is a byte image,
// every multi-byte value big-endian: a 132-byte header (name at 92, extra data
// from 132); physical record k holds image bytes 124k..124k+127 with its last
// word replaced by the number of the next physical record (0 in the last).
// In memory a symrec holds its fields and extra data decoded.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "checker/common/dtype.h"

constexpr int symrec_phys = 128;       // bytes per physical record
constexpr int symrec_step = 124;       // image bytes per physical record
constexpr int symrec_header = 132;     // header bytes of a logical record
constexpr int symrec_namemax = 31;     // name characters (NUL at 123)
constexpr int32_t bigsym = 30132;      // size limit of ordinary reads
constexpr int32_t hugesym = 80132;     // size limit of large reads
constexpr int hashtbl_size = 1024;

struct symrec {
  const char* name;     // 0: points at namebuf after every read
  int32_t next;         // 4: next record of the same bucket
  uint8_t sc;           // 8: storage class (SC_)
  uint8_t sq;           // 9: qualifier (SQ_)
  uint8_t props;        // 10: properties (CP_)
  uint8_t res11;        // 11: reserved
  dtdesc type;          // 12: type (never tag 'q')
  int32_t container;    // 24: containing record
  int32_t offset;       // 28: offset in COMMON or EQUIVALENCE group
  int32_t size;         // 32: storage size in bytes
  int32_t nitems;       // 36: extra-data items
  int32_t w40;          // 40: cleared when created
  int32_t res48;        // 48: reserved
  uint32_t usage;       // 52: usage bits (QB_)
  int32_t line;         // 56: line of the defining statement
  int32_t filno;        // 60: file number (-1 until set)
  int32_t w64;          // 64: cleared when created
  int32_t w68;          // 68: cleared when created
  uint32_t attrs;       // 72: declared attributes
  int32_t host;         // 76: host unit or module
  int32_t related;      // 80: related entity (EQUIVALENCE ring)
  uint32_t hpf;         // 84: HPF attribute bits
  int32_t res88;        // 88: reserved
  char namebuf[32];     // 92: the name, NUL-terminated
  uint8_t res124[8];    // 124: reserved
  std::vector<uint8_t> extra;  // 132: extra data, big-endian items
};

// Dummy-argument descriptor, the 88-byte extra item of SC_FUNC and SC_SUB.
struct argdesc {
  int32_t unkarg;       // 0: first unknown-argument record, 0 none
  uint32_t usage;       // 4: usage bits masked with 0x7002BE00
  uint8_t kind;         // 8: 0 data object, 2 procedure, 4 alternate return
  dtdesc type;          // 12: type
  int32_t size;         // 24: storage size
  uint8_t attrs;        // 28: attribute flags & 0x73
  uint8_t ndims;        // 29: dimensions (at most 20)
  char name[36];        // 30: name, at most 35 characters
  uint8_t dimkind[20];  // 67: how each dimension's bounds are given
};
constexpr int argdesc_bytes = 88;
void argdesc_put(const argdesc& a, uint8_t* out);
void argdesc_get(argdesc& a, const uint8_t* in);

int gtdatasiz(int sc);                // item size of the extra data
int32_t symrec_bytes(const symrec& r);  // 132 + extra data rounded to words
void symrec_clear(symrec& r);         // empty record (filno -1)
void symrec_setname(symrec& r, const char* name);  // cut to 31 characters
void symrec_encode(const symrec& r, std::vector<uint8_t>& image);
// Decodes an image of len bytes; false when it is too short for its items.
bool symrec_decode(symrec& r, const uint8_t* image, int32_t len);

// Big-endian words.
void put_be32(uint8_t* p, uint32_t v);
uint32_t get_be32(const uint8_t* p);

struct SymtState {
  int32_t numsyms;       // physical records in use
  int32_t symcnt;        // records allocated by the writers
  int32_t memglomax;     // records the memory may hold (sizing)
  int32_t maxblock;      // memory blocks allowed
  int32_t memsyms;       // 64 x blocks in use
  bool limitreached;     // no more blocks: the spill file takes the rest
  std::vector<uint8_t*> blocks;  // memory blocks of 64 records
  int spillunit;         // unit of the spill file, 0 none
  int32_t belowptr;      // record before the insertion point (lookup)
  int32_t aboveptr;      // record after it
  int32_t usdbigsymwid;  // largest record read with the ordinary limit
  int32_t usdhugesymwid; // largest record read with the large limit
};
extern SymtState symt;
extern int32_t hashtbl[hashtbl_size];  // head record of each bucket, 0 none

void opensymt();
void closesymt();     // also frees the memory blocks
int32_t getnumsyms();
int32_t getmemsyms();
void readsymt(int32_t n, uint8_t* buf);        // one physical record
void writesymt(int32_t n, const uint8_t* buf); // n = numsyms + 1 appends
void readsymi(int32_t n, symrec& r);   // first physical record only
void readsymb(int32_t n, symrec& r);   // whole record, limit bigsym
void readsymh(int32_t n, symrec& r);   // whole record, limit hugesym
void writesymh(int32_t n, const symrec& r);
void writesymb(int32_t n, const symrec& r);
// Finds a record by name: record 0 starts at the bucket head, otherwise the
// search goes on after the previous match. flags 1: bigsym limit; 2: compare
// the first 8 characters only.
void lookup(const char* name, symrec& r, int32_t* record, int flags);
// Links the next new record (symcnt + 1) in after a lookup of the same name
// that found nothing; sets r.next to its successor and returns its number.
int32_t instal(const char* name, symrec& r);
int isIntfProc(uint32_t flags);
