// Module dependency order of tarvo: the dependency pass (pass 0) reports
// every MODULE definition and USE here; afterwards the source files are
// ordered so that a file comes after the files defining the modules it uses,
// and the dependency file is written when the MISC word "depend" names one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

struct mkdep_file;

// Dependency-order state of the run.
struct MkdepState {
  int32_t* NewFOrder;        // file numbers (from 1) in analysis order ("perm")
  int32_t newfcount;         // files placed so far
  int32_t nfiles;            // files of the run (filnamcnt at mkdep_init)
  mkdep_file* files;         // one record per file, index 0 unused ("mkdep")
  int32_t** deplists;        // per file: the files it depends on ("perm")
  int32_t* depcounts;        // per file: how many ("perm")
};
extern MkdepState mkdep;
void mkdep_reset();

// Sets up the pass; 1 when it can run (Fortran 90, mkdep_opt, some file).
int mkdep_init();
// The current file defines (uses) the module; only during the pass.
void mkdep_add_module_def(const char* name);
void mkdep_add_module_use(const char* name);
// After the pass: dependencies, order, dependency file, pool released.
void mkdep_main();
// Places file f at the end of the order; 0 when f is out of range or all
// places are taken.
int mkdep_append_file(int32_t f);
// Whether file f appears in the dependency list of file other.
bool mkdep_depended_by(int32_t f, int32_t other);
// Releases the "mkdep" pool; the order and the copied lists stay.
void mkdep_end();
// The k-th file (from 1) of the analysis order; k itself when no order is
// known.
int32_t mkdep_order(int32_t k);

// Whether source text may hold anything the dependency pass reacts to: one
// of its statement words (MODULE, USE, the INCLUDE forms and the statements
// around contained units), possibly spelt with blanks or split over a
// continuation line, or a "#" or "$" line. False only when reading the text
// in the dependency pass could learn nothing from it.
bool mkdep_text_may_matter(std::string_view text);
// The same for the regular file open on fp, read from its start without
// moving its position; true when it is no regular file, is larger than
// 64 MiB or cannot be read.
bool mkdep_file_may_matter(std::FILE* fp);
