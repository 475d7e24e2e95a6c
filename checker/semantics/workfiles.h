// The DATA and EQUIVALENCE work files: the statement handlers write one
// record per DATA group or EQUIVALENCE object of the unit being read, and
// the end-of-unit analysis reads the unit's records back from the start.
// Records hold 32-bit words only; a symbol is written as its reference, a
// number that wsym_at turns back into the symbol until the unit ends. The
// records of one unit are few and small, so they are kept in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct locsym;

// The words of one unit's records and the place reading has reached.
struct WorkFile {
  std::vector<int32_t> words;
  size_t readpos = 0;
};

// Entries of one DATA group: objects and values.
constexpr int32_t DATA_MAXOBJ = 100;   // object entries of one group
constexpr int32_t DATA_MAXVAL = 1000;  // value entries of one group

// The first word of an object entry: the number of subscripts, or, for an
// object that ends in a substring, that number plus one, negated (so that
// a substring of a scalar, which has no subscripts, is marked too).
constexpr int32_t data_objword(int32_t nsub, bool substring) { return substring ? -(nsub + 1) : nsub; }
constexpr bool data_objword_substring(int32_t word) { return word < 0; }
constexpr int32_t data_objword_subs(int32_t word) { return word < 0 ? -word - 1 : word; }

struct WorkFiles {
  WorkFile data;      // the DATA records of the current unit
  int32_t datacnt;    // how many
  WorkFile equiv;     // the EQUIVALENCE records of the current unit
  int32_t equivcnt;   // how many
};
extern WorkFiles wf;

// Per unit: the record counts and symbol references start again.
void workfiles_unit_reset();
// End of the run: empties both files.
void workfiles_close();

// The reference of a symbol in the work files (1 up), 0 for none.
uint32_t wsym_ref(locsym* sym);
// The symbol of a reference, null for 0 or an unknown one.
locsym* wsym_at(uint32_t ref);

// Starts the next record of the unit in the file, counted in *count: the
// first record of a unit empties the file.
void workfile_next_record(WorkFile& file, int32_t* count);
// Appends 32-bit words to a file.
void workfile_words(WorkFile& file, const int32_t* words, int32_t n);
// Reading starts again at the first record.
void workfile_rewind(WorkFile& file);
// Reads n words at the current place of a file; false when the file ends
// first (the words not read are 0).
bool workfile_read(WorkFile& file, int32_t* words, int32_t n);

// The record being read back: its messages stand at its line, without the
// source lines (the unit has moved on since).
struct RecordMsg {
  int32_t errmsglinnum;    // source line of the record (main file)
  locsym* errmsgsymptr1;   // first symbol of the message
  locsym* errmsgsymptr2;   // second symbol, or null
};
extern RecordMsg recmsg;
// Reports message n at recmsg's line.
void record_errmsg(int32_t n);
