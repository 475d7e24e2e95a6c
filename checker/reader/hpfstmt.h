// HPF directives of tarvo: the mapping directives on "!HPF$" lines (ALIGN,
// REALIGN, DISTRIBUTE, REDISTRIBUTE, DYNAMIC, INHERIT, PROCESSORS,
// TEMPLATE), INDEPENDENT, SEQUENCE and NOSEQUENCE, the FORALL statement and
// construct and the EXTRINSIC prefix. The handlers check each directive
// against the unit's declarations and record the mapping in the HPF bits of
// the local symbols and the HPF flags of their dimensions.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"
#include "checker/reader/expr.h"

struct locsym;
struct ArraySpec;

// HPF bits of a local symbol.
enum : uint32_t {
  HPF_ALIGN = 0x1,           // aligned by ALIGN
  HPF_DISTRIBUTE = 0x2,      // distributed by DISTRIBUTE
  HPF_DYNAMIC = 0x4,         // DYNAMIC
  HPF_EXTRINSIC = 0x8,       // program unit with an EXTRINSIC prefix
  HPF_INHERIT = 0x10,        // INHERIT
  HPF_PROCESSORS = 0x20,     // a PROCESSORS arrangement
  HPF_SEQUENCE = 0x40,       // SEQUENCE
  HPF_TEMPLATE = 0x80,       // a TEMPLATE
  HPF_REALIGN = 0x200,       // aligned by REALIGN
  HPF_REDISTRIBUTE = 0x400,  // distributed by REDISTRIBUTE
  HPF_NOSEQUENCE = 0x800,    // NOSEQUENCE
  HPF_DIMENSION = 0x1000,    // DIMENSION in a combined directive (never on a symbol)
  HPF_RESOLVED = 0x2000,     // the alignment leads to a distributed target
  HPF_EXTR_LOCAL = 0x4000,   // program unit with EXTRINSIC(HPF_LOCAL)
  HPF_EXTR_HPF = 0x8000      // program unit with EXTRINSIC(HPF)
};

// HPF flags of one dimension (the second byte of its dimension record).
enum : uint8_t {
  HD_BLOCK = 0x1,     // distributed BLOCK
  HD_CYCLIC = 0x2,    // distributed CYCLIC
  HD_DIST = 0x3,      // the distribution bits
  HD_ALIGN = 0x4,     // aligned by ALIGN
  HD_REALIGN = 0x8,   // aligned by REALIGN
  HD_INHERIT = 0x10,  // inherited
  HD_STAR = 0x20,     // aligned with a "*" target, or "*" followed by formats
  HD_STARALL = 0x40   // distributed with "*" and no formats
};

// One subscript of an alignment target, as the section reader saw it.
using HpfSubscript = SectionSubscript;
struct HpfSubsCell {
  HpfSubscript* rec;   // the triplet
  int32_t dim;         // the target dimension it stands for (from 1)
  HpfSubsCell* next;
};
// Alignment subscripts of a target.
struct HpfSubsList {
  int32_t count;       // subscripts read while the target had dimensions
  int32_t triplets;    // triplets among them
  HpfSubsCell* first;  // one cell per triplet
};
// Align source list: ":" entries, and "*" or align dummies.
struct HpfSourceEntry {
  uint8_t colon;          // 1 for ":"
  HpfSourceEntry* next;
};
struct HpfSourceList {
  int32_t count;          // entries
  int32_t colons;         // ":" entries
  HpfSourceEntry* first;
};
// Distribution formats.
struct HpfFormat {
  int32_t kind;    // 0 "*", 1 BLOCK, 2 CYCLIC
  int32_t size;    // the "(n)" value; 1 for CYCLIC and 0 for BLOCK without it
  HpfFormat* next;
};
struct HpfFormatList {
  int32_t count;    // formats
  int32_t nonstar;  // formats that are not "*"
  HpfFormat* first;
};

// The mapping parts of one directive: its ALIGN and DISTRIBUTE
// specifications and the array spec of DIMENSION.
struct HpfMapping {
  HpfSourceList* source;    // align source list, or null
  locsym* atarget;          // align target, or null
  HpfSubsList* subs;        // its subscripts
  int32_t astar;            // the target was given with "*"
  HpfFormatList* formats;   // distribution formats, or null
  locsym* dtarget;          // ONTO target, or null
  uint8_t dstar;            // HD_STAR or HD_STARALL for a "*" before the formats
  int32_t dneeds_dummy;     // a "*" requires dummy-argument distributees
  ArraySpec* dims;          // DIMENSION spec, or null
};

// Reads the attribute list of a combined directive after its ",", up to and
// over "::"; given holds the directive's own bit. The bits of the whole
// directive, or 0 after a message.
uint32_t hpf_get_combined_attr(uint32_t given, HpfMapping* m);
// Gives sym the attributes of bits that it does not have yet.
void hpf_xor_combined_attr(locsym* sym, int32_t col, uint32_t bits, const HpfMapping& m);
// Resolves the alignments of the unit's symbols at its first executable
// statement.
void hpf_proc_mapping();

int32_t hpf_shalign(const StmtCall& c);
int32_t hpf_shdistribute(const StmtCall& c);
int32_t hpf_shdynamic(const StmtCall& c);
int32_t hpf_shinherit(const StmtCall& c);
int32_t hpf_shprocessors(const StmtCall& c);
int32_t hpf_shtemplate(const StmtCall& c);
int32_t hpf_shindependent(const StmtCall& c);
int32_t hpf_shsequence(const StmtCall& c);
int32_t hpf_shforall(const StmtCall& c);
int32_t hpf_shendforall(const StmtCall& c);
// Reads the "(kind)" of an EXTRINSIC prefix after its keyword and returns
// its prefix bits: 8, with 16 for HPF_LOCAL or 32 for HPF; 0 after 595.
uint32_t hpf_extrinsic_kind();
