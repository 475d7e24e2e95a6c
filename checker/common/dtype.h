// Data-type descriptors: the type of every typed thing in the checker
// (dtdesc), the table of the 28 data types (dtstuff), type names for
// messages, conversion of constant values between types (dtconvert) and the
// mapping of a type statement's keyword, length and KIND to a code (figtyp).
#pragma once
#include <cstdint>
#include <string>

struct locsym;  // a local symbol (the local symbol table)

// In memory a descriptor holds the local structure symbol as a pointer; on
// file (dtdesc_put / dtdesc_get) it is 12 bytes, big-endian, and never
// carries the local tag "q".
struct dtdesc {
  uint8_t code;     // data-type code, row of dtstuff (0 none)
  uint8_t kind;     // KIND value of the declaration, 0 none
  char tag;         // 'p' character length, 'q' local structure, 'r' global
  int32_t value;    // character length, or global record of the structure
  locsym* sym;      // local structure symbol (tag 'q')
};
constexpr int dtdesc_bytes = 12;
void dtdesc_put(const dtdesc& d, unsigned char* out);  // 12 bytes
void dtdesc_get(dtdesc& d, const unsigned char* in);

struct dtrow {
  const char* sname;  // short name for messages
  const char* lname;  // long name
  int32_t size;       // bytes; -1 default kind, 0 none or variable
  int32_t rank;       // conversion rank
  int32_t store;      // store class of a constant value (conval)
  uint32_t usg;       // type bit
};
constexpr int dtstuff_rows = 28;
extern const dtrow dtstuff[dtstuff_rows];

// A typed constant's value by store class: 1 integer in i; 2 d; 3 c[0], c[1];
// 4 text (length from the descriptor); 5 no value.
union conval {
  int32_t i;
  double d;
  double c[2];
  char* s;
};

// Type classes of a type statement's keyword.
enum : int {
  TC_CHARACTER = 1, TC_LOGICAL = 2, TC_INTEGER = 3, TC_REAL = 4, TC_COMPLEX = 5,
  TC_DOUBLE = 6, TC_DCOMPLEX = 7, TC_BYTE = 8, TC_NONE = 11, TC_STRUCT = 12
};

// What figtyp needs from the options and the rest of the checker; the driver
// and the parsers fill it in (defaults: Fortran 90, standard dialect,
// default lengths 4 and 1 for CHARACTER, no messages, no KIND rules).
struct DtypeOptions {
  int language;           // 1 Fortran 77, 2 Fortran 90
  uint32_t compiler;      // target-compiler bits (0x80 the Cray dialect)
  int32_t deflen[13];     // default length by type class (length -4)
  void (*message)(int number);               // numbered message 12 or 283
  int (*kindcode)(int tclass, int kind);     // KIND rules; <= 0 none
  const char* (*locsym_name)(const locsym*); // name of a local structure
};
extern DtypeOptions dtopts;
void dtype_reset();

void PSetQCharsize(dtdesc* d, int32_t value);
void PSetQStructsym(dtdesc* d, locsym* sym);
void PSetQGlostruct(dtdesc* d, int32_t record);
int32_t PGetQCharsize(const dtdesc* d);
locsym* PGetQStructsym(const dtdesc* d);
int32_t PGetQGlostruct(const dtdesc* d);
int IsQCharsize(const dtdesc* d);
int IsQStructsym(const dtdesc* d);
int IsQGlostruct(const dtdesc* d);

int getdtstore(int code);
int32_t getdtsize(int code);  // storage size of the table, 0 for an unknown code
uint32_t getdtusg(int code);
int getdtname(int code);     // type class
int getdtclass(int code);    // default-kind code of the family
int is_same_dtclass(int a, int b);
int isNumericType(int code);
int intval(const dtdesc* d, const conval* value, int32_t* result);
// Type name for messages; flags bit 4 long names, bit 1 allows tag 'q'.
std::string dtypname(const dtdesc* d, int flags);
int dtconvert(conval* value, const dtdesc* from, const dtdesc* to);
int figtyp(dtdesc* d, int tclass, int32_t length, int32_t kind);
