// The module table: what each MODULE makes visible, kept after the module's
// unit ends (pool "module") so that USE in a later unit can copy it back
// into the local symbol table. One block per module and entity entries in
// the locsym layout, found by name through 1,024 sorted hash chains.
#pragma once

#include <cstdint>

#include "checker/common/qmalloc.h"

#include "checker/common/dtype.h"

struct locsym;
struct IntfRec;
struct UsrOpRec;
struct OpSignature;

// One module's block. Its interface and defined-operator records have the
// layout of a unit's own (interfaces.h); their symbols are module entries.
struct modblock {
  locsym* entry;         // the module's own entry (owns itself)
  int32_t defprivate;    // the module's default access is PRIVATE
  UsrOpRec* usrasm;      // the defined assignment, null when none
  UsrOpRec* usrop_head;  // defined operators in the order they were met
  UsrOpRec* usrop_tail;
  IntfRec* intf_head;    // named interfaces in the order they were met
  IntfRec* intf_tail;
  modblock* next;
};

struct ModuleTable {
  modblock* head;              // blocks in the order the modules ended
  modblock* tail;
  locsym* lochead2;            // every entry, creation order (scope-next link)
  locsym* loctail2;
  locsym* lochash2[1024];      // hash chains, names ascending
  int32_t ModulesUsed;         // a USE copied entities into the current unit
  int32_t unknown_use;         // the current unit USEs a module not in the table
  int32_t depth;               // recursion depth of modtbl_copy_locsym_to
  int32_t sdepth;              // recursion depth of modtbl_copy_struct_to
};
extern ModuleTable modtbl;

qlist* module_pool();

// Empties the table (start of every pass).
void modtbl_reset();
// Clears the USE-copy field of every entry (each unit).
void modtbl_reset_entity_flags();
// An interface body is a scope of its own, without host association: the
// copies USE made for the host are not its names, and the copies its own
// USE makes are not the host's. Entering a body puts the entries' copies
// aside and clears them; leaving it puts them back.
void modtbl_enter_interface_body();
void modtbl_leave_interface_body();

// The export side, at the end of a MODULE unit and of its procedures.
void modtbl_copy_entities_to();
void modtbl_copy_internalproc_to(locsym* sym);
int32_t isinternal_proc(const locsym* module, const locsym* sym);
locsym* modtbl_copy_locsym_to(locsym* sym, modblock* block);
locsym* modtbl_copy_struct_to(locsym* type, modblock* block);
uint32_t modtbl_copy_usage_to(const locsym* sym);

// Lookup in the table: flags 1 create, 2 no length check, 16 a derived-type
// name for a plain lookup; space is the name space (TransSC) or -1 for an
// unlinked component entry; module the owning module's entry.
locsym* modtbl_getsym(const char* name, int32_t len, int32_t flags, int32_t space,
                      locsym* module);
// The block of a module by name, null when none.
modblock* get_module_block(const char* name);

// A type as the table keeps it: a structure type names the structure's
// entry; a code outside 1 to 26 (or a structure without an entry) is the
// default INTEGER.
dtdesc modtbl_copy_dt_to(modblock* block, const dtdesc& src);

// Interfaces and defined operators, export side: the named interfaces of
// level 1 and their operator and assignment records join the block (each
// call adds only what the block lacks, so a module may end twice).
void modtbl_copy_interfaces_to(modblock* block);
void modtbl_copy_usropr_usrasm_to(modblock* block);
// The block's record of an operator (kind 2: code 2 to 29, for 29 also the
// generic name) or of the assignment (kind 3); null when none.
UsrOpRec* modtbl_get_usrop(modblock* block, int32_t kind, int32_t code, const char* name);
// The block's operator record of a unit's interface record, or null.
UsrOpRec* modtbl_get_usropr(modblock* block, const IntfRec* rec);
// The block's copy of a unit's operator or assignment record (made once).
UsrOpRec* modtbl_add_usrop(modblock* block, const UsrOpRec* op, int32_t kind);
// Adds a copy of a signature unless one of the same procedure is there.
void modtbl_add_usrop_dtyp(modblock* block, UsrOpRec* op, const OpSignature* sig);
// A signature met at a module procedure's END: added to the operator
// record of the current module's block.
void modtbl_add_usrop_dtyp_MP(const IntfRec* rec, const OpSignature* sig);
// At the END of a module procedure: its table copy, and the copies of the
// interfaces that list it, take its class and type.
void adjust_intf_sc(locsym* proc);

// The USE side.
int32_t modtbl_copy_entities_from(modblock* block);
// The block's named interfaces join the current level's (first USE of the
// module in either form).
void modtbl_copy_interfaces_from(modblock* block);
// The block's operators and assignment become the current level's (outside
// INTERFACE blocks).
void modtbl_copy_usropr_usrasm_from(modblock* block);
locsym* modtbl_copy_locsym_from(locsym* entry);
// Copies entry into the local symbol local (its name is the local's).
void modtbl_copy_locsym(locsym* entry, locsym* local, qlist* pool);
locsym* modtbl_copy_struct_from(locsym* type);

// The name space of a storage class: COMMON, NAMELIST, STRUCTURE and
// derived-type names live apart from every other name.
int32_t TransSC(int32_t sclass);
