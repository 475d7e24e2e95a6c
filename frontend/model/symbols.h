// Symbols and scope levels: the chains of symbols per name, the stack of
// scope records with their IMPLICIT maps and IL scope list tails, host links,
// and the preloaded symbols of the intrinsic procedures and operators.
#pragma once
#include <cstdint>
#include <vector>

#include "frontend/model/il_entries.h"

// Symbol classes (the class byte of a symbol_entry).
enum symbol_class : uint8_t {
  sym_derived_type = 0,          // entity: type
  sym_variable = 1,              // object
  sym_external_subroutine = 2,   // object
  sym_external_function = 3,     // object
  sym_internal_subroutine = 4,   // internal or module subroutine: object
  sym_internal_function = 5,     // internal or module function: object
  sym_stmt_function = 6,         // none until declared
  sym_specific_intrinsic = 7,    // intrinsic_specific
  sym_specific_intrinsic_sub = 8,
  sym_intrinsic_function = 9,    // intrinsic_descriptor (functions, operators)
  sym_intrinsic_subroutine = 10, // intrinsic_descriptor (subroutines, "=")
  sym_main_program = 11,         // object
  sym_block_data = 12,           // object
  sym_module = 13,               // object; link heads the export list
  sym_stmt_label = 14,
  sym_common_block = 15,
  sym_outer_implied_do_var = 16, // type
  sym_undeclared = 17,           // type it will have
  sym_stmt_func_dummy = 18,      // statement-function dummy, implied-DO var: type
  sym_external_named = 19,       // named by EXTERNAL: type
  sym_module_procedure = 20,
  sym_forward_derived_type = 21, // type
  sym_unknown_external = 22,     // object
  sym_dummy = 23,                // object
  sym_dummy_function = 24,
  sym_dummy_subroutine = 25,
  sym_dummy_procedure = 26,
  sym_generic = 27,              // interface
  sym_namelist = 28,             // namelist_group
  sym_folded_external = 29,
  sym_alias = 30,                // entity: the target symbol
  sym_host_link = 31,            // link: the symbol of the next outer level
};

// Symbol flag bits.
enum : uint32_t {
  symf_in_scope = 1u << 0,          // belongs to a live scope level
  symf_unresolved = 1u << 1,        // a linked name found undeclared
  symf_access_explicit = 1u << 2,   // PUBLIC or PRIVATE given for it
  symf_public = 1u << 3,
  symf_referenced = 1u << 4,
  symf_in_bound = 1u << 5,          // used in a bound expression
  symf_type_explicit = 1u << 6,
  symf_type_implicit = 1u << 7,     // typed by IMPLICIT, not yet confirmed
  symf_saved = 1u << 8,              // SAVE given for it
  symf_implied_do_var = 1u << 9,
  symf_external = 1u << 10,         // EXTERNAL given for it
  symf_optional = 1u << 11,         // OPTIONAL given for it
  symf_intent_in = 1u << 12,
  symf_intent_out = 1u << 13,
  symf_proc_ref = 1u << 14,         // referenced as a procedure
  symf_called = 1u << 15,           // called by CALL
  symf_use_clash = 1u << 16,        // USE bound it to two different module entities
};
// Host link and forward derived type (classes 31, 21): the second class word
// keeps the referenced and used-in-bounds flags of the link's own uses.
// linkf_actual_argument: the name stood alone as an actual argument, so it
// may be a procedure the host declares later.
enum : uint32_t { linkf_referenced = 1u << 0, linkf_in_bound = 1u << 1, linkf_actual_argument = 1u << 2 };
// Variable (class 1) bits of word3.
enum : uint32_t {
  varf_data_initialized = 1u << 0,
  varf_in_common = 1u << 1,
  varf_in_blank_common = 1u << 3,
  varf_in_equivalence = 1u << 2,
  varf_namelist_member = 1u << 4,
  varf_active_do_var = 1u << 5,
  varf_init_in_decl = 1u << 6,      // initialized in its type declaration
};

inline constexpr int32_t predefined_level = -1;  // level of preloaded symbols

// Scope level kinds.
enum scope_kind : int {
  sk_file = 0, sk_unit = 1, sk_stmt_function = 2, sk_module_import = 3, sk_type_def = 6,
};

struct common_block_record;

struct scope_record {
  int kind;                       // scope_kind
  symbol_entry* sym_head;         // symbols declared at this level, in order
  symbol_entry* sym_tail;
  scope* il_scope;                // IL scope entry (kinds 0, 1, 2, 6)
  object_list_member* parameters_tail;  // tails of il_scope's lists
  type* types_tail;
  object* objects_tail;
  label* labels_tail;
  entry_description* entries_tail;
  namelist_group* namelist_groups_tail;
  interface* interfaces_tail;
  interface* cur_interface;       // INTERFACE block being read (null: unnamed)
  uint32_t implicit_none;         // IMPLICIT NONE given
  type* implicit_map[26];         // type per letter A-Z, null: none
  uint32_t flags;                 // bit 2: public by default
  common_block_record* commons_head;  // the unit's COMMON blocks, first mention first
  common_block_record* commons_tail;
};
inline constexpr uint32_t scopef_save_all = 1u << 0;        // SAVE without a list given
inline constexpr uint32_t scopef_default_public = 1u << 2;

struct SymtabState {
  std::vector<scope_record> scope_tab;  // the levels, index = level
  int cur_scope;                  // current level, -1 before the first push
  int implied_do_level;           // implied-DO level index, -1 when none
  int interface_depth;            // nesting depth of INTERFACE blocks
  bool implicit_letter_set[26];   // letters typed by IMPLICIT at this level
  bool no_implicit_typing;        // "-u"
  bool in_bound_expr;             // a bound expression is being parsed
  intrinsic_descriptor* intrinsic_rows;  // the 178 rows, by row number
  intrinsic_specific* specifics;         // the named specific signatures
  uint32_t specific_count;
};
extern SymtabState symtab;


symbol_entry* symbol_create(int cls, atom* name, source_pos_record pos, int32_t level);
// symbol_create without the overlong-name report: for a further symbol of a
// name whose length was reported already.
symbol_entry* symbol_create_quiet(int cls, atom* name, source_pos_record pos, int32_t level);
void symbol_set_class(symbol_entry* s, int cls);
// Makes an existing symbol (a global one taken over by a unit) a symbol of a
// live level: in scope, listed at the level alone (its old list link is
// dropped) and placed on its name's chain by level.
void symbol_move_to_level(symbol_entry* s, int32_t level);
void symbol_unlink(symbol_entry* s);
// Puts a symbol that is on no chain into its name's chain by its level
// (nothing for the error name).
void symbol_chain_insert(symbol_entry* s);
symbol_entry* global_symbol_of(atom* name);
int name_is_common_block(atom* name);
// The object entry that a symbol of an object-carrying class (a variable,
// a procedure, a program unit or a dummy) stands for; null for any other
// class or when the symbol has no entry.
object* entity_object(symbol_entry* s);
type* symbol_type(symbol_entry* s);
// The IMPLICIT type of a name's first letter at a level (clamped to the live
// levels), or null when the level has IMPLICIT NONE, implicit typing is off
// ("-u") or the letter has none.
type* implicit_map_type(atom* name, int level);
// The symbol that a name token denotes at the current level (host links made
// as needed); the name's atom and position are those of the token.
symbol_entry* lookup_name(atom* name, source_pos_record pos);
scope* scope_push(int kind);
void scope_end_unit();
void copy_decl_pos(const symbol_entry* s, source_corresp* out);
void set_source_corresp(source_corresp* corresp, pool_ref_field<symbol_entry>* front_end_link, symbol_entry* s);
template <class Entry>
void set_source_corresp(Entry* e, symbol_entry* s) { set_source_corresp(&e->corresp, &e->symbol, s); }

// Sets the default access of a level: the flag for symbols made later, and
// the public bit of every symbol of the level without an explicit access.
void scope_set_default_access(int level, bool is_public);

scope_record& scope_at(int level);
inline scope_record& current_scope_record() { return scope_at(symtab.cur_scope); }

void unit_add_type(type* t, int level);
void unit_add_entity(object* o, int level);
inline void unit_add_entity_b(object* o, int level) { unit_add_entity(o, level); }
void unit_add_interface(interface* i, int level);
void unit_add_namelist(namelist_group* g, int level);
void unit_add_label(label* l);
void unit_add_entry(entry_description* e);
void unit_add_parameter(object* o);
void unit_remove_entity(object* o);
// Whether an object is on the entity list of a level.
bool unit_has_entity(const object* o, int level);
void scope_set_interface(interface* i, int level);
// Adds a procedure to the open interface of a level; false when the
// interface holds it already (it is not added twice).
bool interface_add_procedure(object* o, int level);
object* routine_of_result_var(object* o);

// The name atom of an intrinsic symbol's entity (classes 7 to 10).
atom* intrinsic_entity_name(const symbol_entry* s);
