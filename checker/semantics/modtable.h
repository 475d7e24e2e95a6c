// The module table: what each MODULE makes visible, kept after the module's
// unit ends (pool "module") so that USE in a later unit can copy it back
// into the local symbol table. One block per module and entity entries in
// the locsym layout, found by name through 1,024 sorted hash chains.
#pragma once

#include <cstdint>

#include "checker/common/qmalloc.h"

struct locsym;

// One module's block.
struct modblock {
  locsym* entry;       // the module's own entry (owns itself)
  int32_t defprivate;  // the module's default access is PRIVATE
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
// Clears the USE-copy field of every entry (each unit, each interface body).
void modtbl_reset_entity_flags();

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

// The USE side.
int32_t modtbl_copy_entities_from(modblock* block);
locsym* modtbl_copy_locsym_from(locsym* entry);
// Copies entry into the local symbol local (its name is the local's).
void modtbl_copy_locsym(locsym* entry, locsym* local, qlist* pool);
locsym* modtbl_copy_struct_from(locsym* type);

// The name space of a storage class: COMMON, NAMELIST, STRUCTURE and
// derived-type names live apart from every other name.
int32_t TransSC(int32_t sclass);
