// The local symbol table of the program unit being read: one locsym per
// entity, found by name through the hash tables of up to five nested scope
// levels, each with its own copy of the IMPLICIT table. The records live in
// the pool "local", which the analysis flushes after each unit. The records
// themselves and the unit's state are in checker/base/symbols.h.
#pragma once

#include <cstdint>
#include <vector>

#include "checker/base/symbols.h"

locsym* getsym(const char* name, int32_t len, int32_t flags, int32_t cls);
locsym* getsym_in_scope(const char* name, int32_t len, int32_t flags, int32_t cls,
                        int32_t bucket, int32_t level, locsym** stop, locsym** prev);
locsym* loc_addsym(const char* name, int32_t len, int32_t flags, int32_t cls, int32_t bucket,
                   locsym* next, locsym* prev);
int32_t chk_scope(const locsym* sym, int32_t level, int32_t flags);

// Records a use: the symbol (or the outermost record of a field), its
// pointer when it is a pointee, and the members that share its storage
// through EQUIVALENCE or COMMON.
void flaguse(locsym* sym, uint32_t usage, int32_t tokpos);
// Records an occurrence of the symbol and of each enclosing record.
void xrefit(locsym* sym, uint32_t usage, int32_t tokpos);
// One occurrence; first is 1 for the symbol itself (a field's component
// path is kept then), 0 for an enclosing record.
void xrefitone(locsym* sym, uint32_t usage, int32_t tokpos, int32_t first);
// The outermost record of a structure field, else the symbol.
locsym* useptr(locsym* sym);
// Occurrences of host entities in contained procedures (pool "pxref").
void xrefit_pscope_init();
void xrefit_pscope(locsym* sym, xrefrec* occ);
// The host entities of those lists that have an occurrence, list by list
// (first letters A to Z), each list in the order it grew.
std::vector<locsym*> pscope_entities();
// 1 when a host variable is referenced in a contained procedure before
// anything set it (message 823).
int32_t pscope_refbefset(const locsym* sym);
// While a statement-function body is read, flaguse keeps the uses and
// dummypass the passes of names to procedures; statfunc_end replays them:
// a use of one of the definition's dummies (qualifier SQ_SFDUMARG) goes to
// dummy_use, a pass of one to dummy_pass; any other use to flaguse, any
// other pass to dummypass.
void statfunc_begin();
bool instatfunc();
// Queues the pass of arg to proc (dummypass) while a body is read.
void statfunc_queue_pass(locsym* proc, locsym* arg, int32_t word);
void statfunc_end(void (*dummy_use)(locsym*, uint32_t),
                  void (*dummy_pass)(locsym* arg, locsym* proc, int32_t word));
void imptypit(locsym* sym, int32_t col);
// imptypit of a name referenced as a function: where a contained procedure
// read later may still define it, its message 136 waits for the END that
// settles it and its type is not known until then (EXTRA_TYPE_PENDING).
void imptypit_reference(locsym* sym, int32_t col);
// At the END of the unit of the current level: the held references that a
// function it contains defines are typed by it, their messages dropped.
// Leaving a level passes the others to the host; leaving the outermost
// gives their messages.
void settle_held_references();
// A contained procedure's end: its host's later contained procedures can
// name it with its class and type.
void note_contained_end(locsym* proc);
// The procedure of the name that a host of the current unit contains and
// that has ended, else null.
const locsym* contained_procedure(const char* name);
int32_t chk_imptyp(int32_t row);
// 1 when a name that IMPLICIT NONE leaves untyped is to get message 136.
int32_t flagerr_typedec_missing(const locsym* sym);

void increase_scoping_level();
void decrease_scoping_level();
void set_current_unit(locsym* sym);
locsym* loc_current_scope();
locsym* loc_parent_scope();
locsym* loc_top_scope();

// The table of structure-component paths (pool "record"): store returns
// the interned copy of a path, adding it when new.
void init_structcomp_tbl();
const char* store_structcomp(const char* path);
const char* getstr_structcomp(const char* path);
const char* add_structcomp(const char* path);
int32_t structcomp_bytes();

// The local copy of a user-overloaded intrinsic, made on first request
// (and so entered in the unit's list of overloaded intrinsics).
locsym* getsym_ov_intrin(const locsym* sym);
// The local copy when a generic interface of the unit takes the
// intrinsic's name, else null.
locsym* getsym_ov_intrin_if_overloaded(const locsym* sym);
void ovintrin_reset();

// Copies the five levels of ScopeOne into ScopeTwo; SetScopes points Scope
// at ScopeOne (non-zero) or ScopeTwo (0).
void CopyScopes();
void SetScopes(int32_t which);

// Program units.
void prgbeg();
void prgend();
void locchk();
void imprep();
void labchk();
void hidefuncvar(locsym* sym);
// A dummy argument of the unit passed as an actual argument: its usage so
// far moves to an unknown-argument record for the global pass.
void dummypass(locsym* proc, locsym* arg, int32_t word);
// True when arg stands in a dummy list that dummypass searches (the unit's,
// its entries', its host's) of a FUNCTION or SUBROUTINE unit.
bool is_unit_dummy(const locsym* arg);
// One pass of a dummy argument of the unit as an actual argument.
struct UnkArg {
  locsym* proc;       // the procedure called
  int32_t word;       // argument information from the caller
  int32_t zero;       // always 0
  uint32_t usage;     // the dummy's QB_SET, QB_REF, QB_INDIRECT, QB_RBS before the pass
  int32_t seq;        // sequence number (numunks after it)
  UnkArg* dnext;      // next pass of the same dummy
  UnkArg* next;       // next record of the unit
};
// The unit's passes in the order they were met.
const UnkArg* unkarg_head();
// Consistency check of every pointer of the local table (pool sanity mode).
void checkloc(const char* caller);
void* hiddenargs(const locsym* sym);
// Settles the specification part at the first executable statement.
void close_specification_part();
// Resets everything of the local table (tests).
void locsym_reset();
