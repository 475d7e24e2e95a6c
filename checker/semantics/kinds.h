// KIND values of tarvo: the kind tables of each target compiler, the
// default kinds, and the mapping of a (type class, kind) pair to a data-type
// code. The target is chosen by the bits of Sizemode.
#pragma once

#include <cstdint>

// One kind of a type class on a target. A row with kind 0 ends a table.
struct KindRow {
  int32_t kind;    // KIND value
  int32_t filler;
  double first;    // integer kinds: largest value; real and complex: largest magnitude
  double second;   // real and complex: the precision scale (a power of 2)
  int32_t dtcode;  // data-type code
  int32_t filler2;
};

// Targets, in the order their Sizemode bits are tested.
enum KindTarget : int32_t { KT_CRAY, KT_SPARC, KT_IRIS, KT_LAHEY, KT_DECNT, KT_OSF1 };
KindTarget kind_target();

// Default kinds by type class 0-8 for the current target.
const uint8_t* getdefkindtbl();
// The active row of default kinds (set from Sizemode by kinds_reset).
extern const uint8_t* DefKindParams;
void kinds_reset();

// Character kind names and their values, ended by a null name.
struct CharKindName {
  const char* name;
  int32_t kind;
};
extern const CharKindName CharKinds[];

// The kind table of the current target for type classes 1-6, else null.
const KindRow* get_kindset(int32_t tclass);
// Data-type code of a kind of 1 or more in a type class 1-8; 0 when the
// kind is not in the table.
int32_t adjust_dt_with_kind(int32_t tclass, int32_t kind);
// The kind when the class accepts it, else 0; with report a rejected kind
// gives 732 (638 when negative).
int32_t chk_kindparam(int32_t tclass, int32_t kind, int32_t report);
// The default kind of a data-type code.
int32_t get_default_kindparam(int32_t dtcode);
// The kind of a character kind name, or 0.
int32_t is_char_literal_kind(const char* text, int32_t len);
// Set while the expression of a selector is read.
extern int32_t isinKindSelector;
