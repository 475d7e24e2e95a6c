// IL entry records: one record per entry kind; every entry starts with the
// header word (number within its kind in bits 0-29, walker mark in bit 30,
// check-pass mark in bit 31). Records link to records directly, through
// pool_ref: a pointer kept in 32 bits (every record lies in the pools'
// address range), used like one and checked when stored. The field order of
// IL files is the IL file code's business (it writes and reads these fields).
#pragma once
#include <cstdint>

#include "frontend/base/pools.h"
#include "frontend/base/source_pos.h"
#include "frontend/model/il_enums.h"

using il_entry_header = uint32_t;

inline constexpr il_entry_header il_number_mask = 0x3FFFFFFFu;  // bits 0-29
inline constexpr il_entry_header il_walk_mark = 1u << 30;       // walker parity
inline constexpr il_entry_header il_check_mark = 1u << 31;      // check passes

inline constexpr uint32_t any_kind = 0xFFFFFFFFu;  // type kind "ANY_KIND"

struct atom;
struct symbol_entry;
struct constant;
struct param_type;
struct type;
struct label;
struct expr_node;
struct object;
struct interface;
struct statement;
struct scope;
struct bound_info_entry;
struct do_loop;
struct label_list_entry;
struct object_list_member;
struct alloc;
struct case_range;
struct namelist_group;
struct input_output_description;
struct entry_description;

// The common part of the named entries (param_type, type, label, object,
// interface, namelist_group).
struct source_corresp {
  pool_ref<::atom> name;                       // the entry's name (an atom), or null
  source_pos_record decl_position;  // where it was declared
  bool referenced;                  // flag bit 0
  bool host_associated;             // flag bit 1
  uint32_t scope_depth;             // nesting depth; 255 or more: out of scope
};

// A source file, an INCLUDE file or a "#line" segment of one.
struct source_file {
  il_entry_header header;
  const char* file_name;       // name shown in markers and diagnostics
  const char* full_name;       // path as opened; null for a "#line" segment
  uint32_t first_seq_number;   // first line's global sequence number
  uint32_t last_seq_number;    // all ones while the file is still read
  uint32_t first_line_number;  // line number of the first line
  source_file* first_child_file;
  source_file* last_child_file;
  source_file* next;           // next sibling
};

// One per compilation.
struct il_header {
  il_entry_header header;
  source_file* primary_source_file;
  ::scope* primary_scope;      // the file scope
  ::object* main_routine;
  const char* compiler_version;
  const char* time_of_compilation;
  uint32_t flags;            // bit 0: case-sensitive identifiers
  uint8_t source_language;
};

extern il_header the_il_header;  // the compilation's header record

// A constant (kind 3). Value bytes are in target form, as many as the type's
// size, read and written through the kind table. The fields of the value,
// list and DATA kinds share one slot (the union below): the kind decides
// which are meaningful, and init_constant sets them for a new kind.
struct constant {
  il_entry_header header;
  source_pos_record source_pos;
  uint8_t kind;            // ck_
  pool_ref<::constant> next;          // next in the list that holds the constant
  pool_ref<::type> type;
  union {
    struct {                   // ck_value, ck_expression
      pool_ref_field<uint8_t> value;  // the value bytes
      pool_ref_field<::expr_node> expr;       // ck_expression: variant.formula.expr
    };
    struct {                   // ck_aggregate: the elements, chained by next
      pool_ref_field<::constant> first_constant;
      pool_ref_field<::constant> last_constant;
    };
    struct {                   // ck_init_position
      int32_t offset;
      uint32_t segment_size;
    };
    struct {                   // ck_init_index
      int32_t first;
      int32_t second;
      int32_t stride;
    };
    struct {                   // ck_init_repeat
      pool_ref_field<::constant> repeat_constant;  // the repeated constant
      uint32_t count;          // the repeat count
    };
  };
};
static_assert(sizeof(constant) == 32);

// A dummy argument of a routine type (kind 4).
struct param_type {
  il_entry_header header;
  bool is_optional, intent_in, intent_out, is_pointer;
  pool_ref<symbol_entry> symbol;    // front-end link
  source_corresp corresp;
  pool_ref<::param_type> next;
  pool_ref<::type> type;
};
static_assert(sizeof(param_type) == 36);

// A bound: a constant value or an expression, by its bound kind (bk_).
struct bound_record {
  int32_t value;     // bk_constant
  uint8_t kind;      // bk_
  pool_ref_field<::expr_node> expr;   // bk_expression, bk_same_as (no constructor: types hold it in a union)
};

inline bound_record make_bound(int32_t value, uint8_t kind, expr_node* expr) {
  bound_record b{};
  b.value = value;
  b.kind = kind;
  b.expr = expr;
  return b;
}

// The bounds block of an array type or an alloc item (kind 13): rank lower
// bounds, then rank upper bounds. In files it takes 8 + 16 x rank bytes.
struct bound_info_entry {
  il_entry_header header;  // in files: a byte offset
  uint32_t rank;
  pool_ref<bound_record> bounds;    // 2 x rank records: lower bounds, then upper bounds
  bound_record& lower(uint32_t dim) { return bounds[dim]; }
  bound_record& upper(uint32_t dim) { return bounds[rank + dim]; }
};

// The size in bytes that files and the walker state for a bounds block.
inline constexpr uint32_t bound_info_size(uint32_t rank) { return 8 + 16 * rank; }
// The rank of a bounds block of that many bytes.
inline constexpr uint32_t bound_info_rank(uint32_t size) { return (size - 8) / 16; }

// A type (kind 5). The fields after type_code are used by code (below):
// the small ones stand together so that the record has no holes, and the
// links of each code share one slot (the union below), which init_type_code
// sets for the code a type is made with (a type keeps its code).
struct type {
  il_entry_header header;
  uint32_t size;           // bytes
  pool_ref<symbol_entry> symbol;    // front-end link
  source_corresp corresp;
  pool_ref<::type> next;              // next type of a scope's list
  uint8_t alignment;
  bool is_numeric, is_character, contains_ptrs, used_as_pointer, is_public;
  uint8_t type_code;       // tk_
  bool is_seq;             // tk_derived_type
  // tk_integer, tk_logical, tk_float, tk_complex, tk_fcharacter: the row
  // within the family's block of the kind table; any_kind for any kind.
  uint32_t kind;
  uint8_t rank;            // tk_farray
  uint8_t shape_kind;      // tk_farray
  bool has_param_info : 1, has_ellipsis : 1, is_recursive : 1, is_elemental : 1;  // tk_routine
  union {
    struct {                       // tk_routine
      pool_ref_field<::type> return_type;
      pool_ref_field<::param_type> param_type_list;
      pool_ref_field<::object> assoc_routine;
    };
    struct {                       // tk_fcharacter
      pool_ref_field<::type> char_cache_next;     // next cached CHARACTER type of the same kind
      bound_record length;
    };
    struct {                       // tk_farray
      pool_ref_field<::type> element_type;
      pool_ref_field<bound_info_entry> bound_info;  // shape kinds 0-4
      pool_ref_field<::expr_node> bound_args;       // shape kinds 5-7
    };
    struct {                       // tk_derived_type
      pool_ref_field<::object> first_field;       // components, chained through next
      pool_ref_field<::object> module;            // the module that defines it
    };
  };
};
static_assert(sizeof(type) == 64);

// A statement label (kind 6).
struct label {
  il_entry_header header;
  pool_ref<symbol_entry> symbol;    // front-end link
  source_corresp corresp;
  pool_ref<::label> next;
  int32_t association_offset;
  bool used_in_assign;     // flag bit 0
  bool flag_bit1;          // flag bit 1 (carried by files, not named there)
  uint8_t kind;            // lk_
  pool_ref<::statement> exec_stmt;        // lk_executable, lk_else_or_elseif, lk_control
  pool_ref<::constant> format_constant;   // lk_format
};

// An expression node (kind 7). Each node kind uses at most three link
// fields besides its type, next and keyword, so the kind-dependent links
// share three slots (the unions below); a node's kind decides which name of
// a slot is meaningful, and a change of kind clears the three slots first
// (code that changes a kind saves what it keeps, such as the operands).
// The flags are bits; links are 32-bit references, and the record is 40
// bytes.
struct expr_node {
  il_entry_header header;
  source_pos_record source_pos;
  uint8_t node_kind;       // enk_
  uint8_t op_kind;         // enk_operation: eok_
  uint8_t intrinsic;       // enk_intrinsic: row of the intrinsic table
  uint8_t specifier : 6;   // iosk_ selector (is_specifier set)
  bool multiply_referenced : 1, allow_reordering : 1;
  bool is_optional : 1, intent_in : 1, intent_out : 1, is_pointer : 1, element_sequence : 1,
      for_all : 1, iterated : 1, treated_as_subroutine_call : 1;
  bool any_type_argument : 1, is_specifier : 1;
  bool ignore_lbound : 1;  // enk_subscript, enk_substring, enk_section
  bool has_a_scope : 1;    // enk_implied_do, enk_isum
  bool fold_failed : 1;    // folding it reported an error: not constant, not folded again
  pool_ref<::type> type;
  pool_ref<::expr_node> next;         // next operand, argument or list item
  pool_ref<::atom> arg_keyword;       // argument keyword (is_specifier clear)
  union {                      // first slot
    pool_ref<::object> routine;         // enk_call
    pool_ref<::interface> generic_routine;  // enk_generic_call
    pool_ref<::interface> interface_block;  // enk_interface_ref
    pool_ref<::constant> constant;      // enk_constant
    pool_ref<::label> stmt_label_value; // enk_stmt_label_value
    pool_ref<::object> object;          // enk_object
    pool_ref<::expr_node> base_expr;    // enk_field
    pool_ref<::expr_node> array_expr;   // enk_subscript, enk_substring, enk_section
    pool_ref<::expr_node> constructor;  // enk_constructor: the items
    pool_ref<::expr_node> expr_list;    // enk_implied_do, enk_isum
    pool_ref<::expr_node> first;        // enk_triplet
    pool_ref<::expr_node> reference;    // enk_ref
    pool_ref<::param_type> parameter;   // enk_param
    pool_ref<void> slot1;
  };
  union {                      // second slot
    pool_ref<::interface> call_interface;  // enk_call: third word
    pool_ref<::object> field_var;       // enk_field
    pool_ref<::expr_node> ind_list;     // enk_subscript, enk_substring, enk_section
    pool_ref<::do_loop> do_info;        // enk_implied_do, enk_isum
    pool_ref<::expr_node> second;       // enk_triplet
    // enk_name_ref, enk_apply, enk_data_implied_do_var: the name's symbol
    pool_ref<symbol_entry> symbol;
    pool_ref<void> slot2;
  };
  union {                      // third slot
    pool_ref<::expr_node> stride;       // enk_triplet
    // enk_operation, enk_intrinsic, enk_call, enk_generic_call, enk_apply
    pool_ref<::expr_node> operands;
    pool_ref<void> slot3;
  };
};
static_assert(sizeof(expr_node) == 40 && alignof(expr_node) == 4);

// Where a node is linked from: a node's field or a list head.
using expr_link = pool_ref_field<expr_node>;
static_assert(iosk_count <= 64, "specifier codes fit expr_node::specifier");

// A variable, procedure, program unit or component (kind 8). Which of the
// variant and assoc fields is used depends on storage_class; the assoc links
// of the classes other than the local, common and procedure ones share one
// slot (the union below). The flags are bits.
struct object {
  il_entry_header header;
  uint32_t storage_class;  // sc_
  pool_ref<symbol_entry> symbol;    // front-end link
  source_corresp corresp;
  pool_ref<::object> next;
  pool_ref<::type> type;
  bool is_result : 1, is_parameter : 1, is_auto : 1, is_target : 1, is_pointer : 1,
      is_allocatable : 1, is_saved : 1, is_optional : 1, intent_in : 1, intent_out : 1,
      is_fortran_entry : 1, is_public : 1, is_host : 1, uses_host : 1, is_constant : 1;
  int32_t association_offset;
  // variant word
  pool_ref<::constant> initializer;        // sc_local, sc_common, sc_use_associated
  pool_ref<::object> result_var_function;  // sc_local, sc_associated with is_result
  pool_ref<::scope> assoc_scope;           // procedures, modules, programs: the body
  // assoc word
  pool_ref<::object> assoc_routine;        // sc_local, sc_common, procedures
  union {
    pool_ref<::object> assoc_variable;       // sc_associated
    pool_ref<::expr_node> assoc_implied_do;  // sc_implied_do_var
    pool_ref<::object> assoc_module;         // sc_use_associated, sc_mod_proc
    pool_ref<::type> assoc_derived_type;     // sc_type_field
  };
  // front-end links of a scope's object list, for removal in constant time
  pool_ref<::object> list_prev;            // the object before it on that list
  pool_ref<::scope> listed_in;             // the scope whose object list holds it
};
static_assert(sizeof(object) == 72);

// A generic interface, or an intrinsic row's descriptor (kind 9).
struct interface {
  il_entry_header header;
  pool_ref<symbol_entry> symbol;    // front-end link
  source_corresp corresp;
  pool_ref<::interface> next;
  pool_ref<::interface> inherited;    // the interface of the same name in a host
  pool_ref<object_list_member> routine_prototype_list;
  bool is_public;
};

// A statement (kind 10). Each statement kind uses at most two links besides
// its expression list, so the kind-dependent links share two slots (the
// unions below); the kind decides which name of a slot is meaningful. The
// only kind changes after construction (a DO loop's integer or real form,
// an arithmetic IF's) keep the same names.
struct statement {
  il_entry_header header;
  source_pos_record source_pos;
  uint8_t kind;            // stmk_
  bool treated_as_io_initializer;  // stmk_open .. stmk_rewind
  pool_ref<::statement> next;
  pool_ref<::expr_node> expr;         // list of expressions
  union {                            // first slot
    pool_ref<::statement> then_statement;     // stmk_if
    pool_ref<::statement> body_statement;     // stmk_while, stmk_select
    pool_ref<::label> label;                  // stmk_goto, stmk_label
    pool_ref<::statement> statements;         // stmk_block, stmk_case
    pool_ref<entry_description> entry_descr;  // stmk_fentry
    pool_ref<::statement> loop_statement;     // stmk_ido, stmk_fdo
    pool_ref<label_list_entry> label_list;    // arithmetic IF, computed and assigned GOTO
    pool_ref<::constant> stop_pause_string;   // stmk_stop, stmk_pause
    pool_ref<::statement> constr_label;       // stmk_exit, stmk_cycle
    pool_ref<::statement> where_assignment;   // stmk_where
    pool_ref<::alloc> alloc_list;             // stmk_alloc
    pool_ref<::expr_node> dealloc_list;       // stmk_dealloc
    pool_ref<::object> array_variable;        // stmk_set_array_shape
    pool_ref<::object> string_variable;       // stmk_set_char_length
    pool_ref<input_output_description> io_descr;  // stmk_open .. stmk_rewind
    pool_ref<void> slot1;
  };
  union {                            // second slot
    pool_ref<::statement> else_statement;     // stmk_if
    pool_ref<::statement> last_statement;     // stmk_block
    pool_ref<::statement> prologue;           // stmk_fentry
    pool_ref<::do_loop> loop;                 // stmk_ido, stmk_fdo
    pool_ref<case_range> case_range_list;     // stmk_case
    pool_ref<::statement> elsewhere_assignment;  // stmk_where
    pool_ref<::expr_node> stat_variable;      // stmk_alloc, stmk_dealloc
    pool_ref<void> slot2;
  };
};
static_assert(sizeof(statement) == 28);

// The IL scope of a program unit, statement function or type definition
// (kind 11).
struct scope {
  il_entry_header header;
  pool_ref<::object> assoc_routine;
  pool_ref<object_list_member> parameters;
  pool_ref<::object> function_result_var;
  pool_ref<::statement> assoc_block;
  pool_ref<::constant> constants;
  pool_ref<::type> types;
  pool_ref<::object> objects;
  pool_ref<::label> labels;
  pool_ref<entry_description> entries;
  pool_ref<::namelist_group> namelist_groups;
  pool_ref<::interface> interfaces;
};

// An interned name (kind 12).
struct atom {
  il_entry_header header;
  uint32_t length;
  const char* text;          // the name, NUL-ended
  pool_ref<::atom> next;                // next atom of the same hash bucket
  pool_ref<symbol_entry> first_symbol;  // symbols bearing the name, innermost first
  uint8_t token_code;        // token kind of a predefined name; 10 for ".x"
};

struct do_loop {  // kind 14
  il_entry_header header;
  pool_ref<::expr_node> variable;
  pool_ref<::expr_node> initial_value;
  pool_ref<::expr_node> final_value;
  pool_ref<::expr_node> increment;
  bool final_value_excluded;
};

struct label_list_entry {  // kind 15
  il_entry_header header;
  pool_ref<label_list_entry> next;
  pool_ref<::label> label;
};

struct object_list_member {  // kind 16
  il_entry_header header;
  pool_ref<object_list_member> next;
  pool_ref<::object> object;
};

struct alloc {  // kind 17: one item of an ALLOCATE statement
  il_entry_header header;
  pool_ref<::alloc> next;
  pool_ref<::expr_node> var;
  pool_ref<bound_info_entry> bounds;
  uint8_t rank;
};

struct case_range {  // kind 18
  il_entry_header header;
  pool_ref<case_range> next;
  pool_ref<::constant> low;
  pool_ref<::constant> high;
  uint8_t range_kind;  // crk_
};

struct namelist_group {  // kind 19
  il_entry_header header;
  pool_ref<symbol_entry> symbol;    // front-end link
  source_corresp corresp;
  pool_ref<::namelist_group> next;
  pool_ref<::expr_node> member_list;
  pool_ref<::atom> original_name;
  bool is_public;
};

struct input_output_description {  // kind 20
  il_entry_header header;
  uint32_t unit_kind;      // iou_
  pool_ref<::expr_node> unit_expr;
  uint8_t format_kind;     // iof_
  pool_ref<::label> format_label;     // iof_format_label
  pool_ref<::expr_node> format_expr;  // iof_assigned_var, iof_char_expr
  pool_ref<::namelist_group> format_namelist_group;  // iof_namelist_directed
  pool_ref<::expr_node> specifier_list;
};

struct entry_description {  // kind 21
  il_entry_header header;
  pool_ref<entry_description> next;
  pool_ref<::object> assoc_routine;
  pool_ref<object_list_member> parameters;
  pool_ref<::object> function_result_var;
  pool_ref<::statement> entry_point;
};

// A symbol (kind 22 in module files). The class-dependent words are named
// link (a symbol: host link, alias target, module export list) and word1..3.
struct symbol_entry {
  il_entry_header header;
  uint8_t cls;             // symbol class 0-31
  source_pos_record decl_position;
  int32_t level;           // scope level; -1 for a predefined symbol
  uint32_t flags;          // sym_ flag bits
  uint32_t word1;          // first class-dependent word as bits
  uint32_t word2;          // second class-dependent word
  uint32_t word3;          // third class-dependent word
  pool_ref<::atom> name;
  pool_ref<symbol_entry> next_same_name;
  pool_ref<symbol_entry> next_same_level;
  pool_ref<symbol_entry> link;      // first class-dependent word as a symbol
  pool_ref<void> entity;   // the IL entry, type or symbol it stands for
};
static_assert(sizeof(symbol_entry) == 52);

// A row of the intrinsic table as the symbol table knows it: the entity of
// the class 9 and 10 symbols. The semantic checks attach their interface.
struct intrinsic_descriptor {
  ::atom* name;              // the row's name
  uint32_t row;            // 0-177
  symbol_entry* symbol;    // the preloaded symbol of the name
  ::interface* table_entry;  // the row's interface, once the table is built
};

// A named specific signature of an intrinsic: the entity of class 7 symbols.
struct intrinsic_specific {
  ::atom* name;              // the specific name
  uint32_t row;            // its row of the intrinsic table
  uint32_t signature;      // its signature number, 0-252
  intrinsic_descriptor* descriptor;
  ::object* signature_object;  // the signature, once the table is built
};

// ---- Constructors: zero-filled from the current pool, fields as stated ----

// The pool of expression nodes and DO-loop records, or -1 for current_pool.
// A statement whose parse trees nothing keeps once it is done (the object
// lists of DATA) builds them in a pool of their own and drops it.
extern int expression_pool;

void init_il_tables();   // once per compilation, before any entry is made
// Counts the calls of init_il_tables: side tables keyed by entry addresses
// compare it with the count they were built under, since a new compilation
// may reuse the addresses.
extern uint32_t il_tables_generation;

::constant* new_constant();                  // a ck_error constant of the error type
void init_error_constant(::constant* c);
void init_constant(::constant* c, int ck);
// A new constant entry copying a constant in stored form (header 0, no next).
::constant* new_il_constant_copy(const constant& stored);
struct const_value;
// A constant entry from a working value: its storage made persistent (stored
// form), its header copied into a new entry whose next is cleared.
::constant* new_il_constant(const_value* v);
// An enk_constant node of new_il_constant(v), with v's type and position.
::expr_node* const_il_node(const_value* v);
::param_type* new_param_type();
::type* new_type(int type_code);
void init_type(::type* t);
void init_type_code(::type* t, int type_code);
::interface* new_interface_entry();
::object* new_object();
inline ::object* new_object_entry() { return new_object(); }
::label* new_label();
void init_label(::label* l, int lk);
label_list_entry* new_label_list_entry();
entry_description* new_entry_description();
object_list_member* new_object_list_member();
::alloc* new_alloc();
case_range* new_case_range();
::do_loop* new_do_loop();
::expr_node* new_expr_node(int enk);
void init_expr_node(::expr_node* n);
void init_expr_node_kind(::expr_node* n, int enk);
::expr_node* new_operation_node(int op, ::type* t, ::expr_node* operands);
::expr_node* error_expr_node();
::expr_node* make_ref_node(::expr_node* e);
::statement* new_statement(int stmk);
::scope* new_scope_entry();
::namelist_group* new_namelist_group();
input_output_description* new_io_description();
bound_info_entry* new_bound_info_entry(uint32_t rank);  // bounds all undefined
source_file* new_source_file(source_file* parent, uint32_t first_seq, uint32_t first_line,
                             const char* file_name, const char* full_name,
                             source_file** out = nullptr);
void set_last_seq_number(source_file* f, uint32_t seq);

// The position new statements get (the statement loop keeps it current).
extern source_pos_record current_statement_pos;

// The template every named entry's source_corresp starts from.
extern source_corresp source_corresp_template;

// token_code_table: operator and specifier-keyword tokens to their codes.
int token_to_code(int token);
