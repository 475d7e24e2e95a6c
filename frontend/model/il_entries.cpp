// Constructors of the IL entries, the enumeration name tables and the table
// that turns operator and specifier-keyword tokens into their codes.
#include "frontend/model/il_entries.h"

#include <iterator>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/constant_sharing.h"
#include "frontend/model/line_map.h"
#include "frontend/model/types.h"

il_header the_il_header;

namespace {
// Diagnostics name file and line through the tree of source files of the
// header they are given, or of this run's header when given none.
void diagnostic_position(const il_header* h, uint32_t seq, const char** file_name,
                         const char** full_name, uint32_t* line, bool* at_end) {
  line_map_position(h ? h : &the_il_header, seq, file_name, full_name, line, at_end);
}
[[maybe_unused]] const bool position_lookup_installed = (diag_position_lookup = diagnostic_position, true);
}  // namespace
source_pos_record current_statement_pos;
source_corresp source_corresp_template;

// ---- Enumeration names: one table per .def, checked to be dense ----

// The rows of every .def run 0, 1, 2, ... so that a name's index is its value.
template <size_t N>
constexpr bool rows_are_dense(const int (&values)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (values[i] != static_cast<int>(i)) return false;
  return true;
}


#define TK(v, id, name) name,
static const char* const tk_rows[] = {
#include "frontend/model/enum_tk.def"
};
#define TK(v, id, name) v,
static constexpr int tk_values[] = {
#include "frontend/model/enum_tk.def"
};
static_assert(rows_are_dense(tk_values) && std::size(tk_rows) == tk_count);
const il_enum_names tk_names{tk_rows, tk_count};

#define SHAPE(v, id, name) name,
static const char* const shape_rows[] = {
#include "frontend/model/enum_shape.def"
};
#define SHAPE(v, id, name) v,
static constexpr int shape_values[] = {
#include "frontend/model/enum_shape.def"
};
static_assert(rows_are_dense(shape_values) && std::size(shape_rows) == shape_kind_count);
const il_enum_names shape_kind_names{shape_rows, shape_kind_count};

#define BK(v, id, name) name,
static const char* const bk_rows[] = {
#include "frontend/model/enum_bk.def"
};
#define BK(v, id, name) v,
static constexpr int bk_values[] = {
#include "frontend/model/enum_bk.def"
};
static_assert(rows_are_dense(bk_values) && std::size(bk_rows) == bk_count);
const il_enum_names bk_names{bk_rows, bk_count};

#define SC(v, id, name) name,
static const char* const sc_rows[] = {
#include "frontend/model/enum_sc.def"
};
#define SC(v, id, name) v,
static constexpr int sc_values[] = {
#include "frontend/model/enum_sc.def"
};
static_assert(rows_are_dense(sc_values) && std::size(sc_rows) == sc_count);
const il_enum_names sc_names{sc_rows, sc_count};

#define CK(v, id, name) name,
static const char* const ck_rows[] = {
#include "frontend/model/enum_ck.def"
};
#define CK(v, id, name) v,
static constexpr int ck_values[] = {
#include "frontend/model/enum_ck.def"
};
static_assert(rows_are_dense(ck_values) && std::size(ck_rows) == ck_count);
const il_enum_names ck_names{ck_rows, ck_count};

#define LK(v, id, name) name,
static const char* const lk_rows[] = {
#include "frontend/model/enum_lk.def"
};
#define LK(v, id, name) v,
static constexpr int lk_values[] = {
#include "frontend/model/enum_lk.def"
};
static_assert(rows_are_dense(lk_values) && std::size(lk_rows) == lk_count);
const il_enum_names lk_names{lk_rows, lk_count};

#define ENK(v, id, name) name,
static const char* const enk_rows[] = {
#include "frontend/model/enum_enk.def"
};
#define ENK(v, id, name) v,
static constexpr int enk_values[] = {
#include "frontend/model/enum_enk.def"
};
static_assert(rows_are_dense(enk_values) && std::size(enk_rows) == enk_count);
const il_enum_names enk_names{enk_rows, enk_count};

#define EOK(v, id, name) name,
static const char* const eok_rows[] = {
#include "frontend/model/enum_eok.def"
};
#define EOK(v, id, name) v,
static constexpr int eok_values[] = {
#include "frontend/model/enum_eok.def"
};
static_assert(rows_are_dense(eok_values) && std::size(eok_rows) == eok_count && eok_count == 72);
const il_enum_names eok_names{eok_rows, eok_count};

#define STMK(v, id, name) name,
static const char* const stmk_rows[] = {
#include "frontend/model/enum_stmk.def"
};
#define STMK(v, id, name) v,
static constexpr int stmk_values[] = {
#include "frontend/model/enum_stmk.def"
};
static_assert(rows_are_dense(stmk_values) && std::size(stmk_rows) == stmk_count);
const il_enum_names stmk_names{stmk_rows, stmk_count};

#define CRK(v, id, name) name,
static const char* const crk_rows[] = {
#include "frontend/model/enum_crk.def"
};
#define CRK(v, id, name) v,
static constexpr int crk_values[] = {
#include "frontend/model/enum_crk.def"
};
static_assert(rows_are_dense(crk_values) && std::size(crk_rows) == crk_count);
const il_enum_names crk_names{crk_rows, crk_count};

#define IOU(v, id, name) name,
static const char* const iou_rows[] = {
#include "frontend/model/enum_iou.def"
};
#define IOU(v, id, name) v,
static constexpr int iou_values[] = {
#include "frontend/model/enum_iou.def"
};
static_assert(rows_are_dense(iou_values) && std::size(iou_rows) == iou_count);
const il_enum_names iou_names{iou_rows, iou_count};

#define IOF(v, id, name) name,
static const char* const iof_rows[] = {
#include "frontend/model/enum_iof.def"
};
#define IOF(v, id, name) v,
static constexpr int iof_values[] = {
#include "frontend/model/enum_iof.def"
};
static_assert(rows_are_dense(iof_values) && std::size(iof_rows) == iof_count);
const il_enum_names iof_names{iof_rows, iof_count};

#define IOSK(v, id, name) name,
static const char* const iosk_rows[] = {
#include "frontend/model/enum_iosk.def"
};
#define IOSK(v, id, name) v,
static constexpr int iosk_values[] = {
#include "frontend/model/enum_iosk.def"
};
static_assert(rows_are_dense(iosk_values) && std::size(iosk_rows) == iosk_count && iosk_count == 38);
const il_enum_names iosk_names{iosk_rows, iosk_count};

#define SL(v, id, name) name,
static const char* const sl_rows[] = {
#include "frontend/model/enum_sl.def"
};
#define SL(v, id, name) v,
static constexpr int sl_values[] = {
#include "frontend/model/enum_sl.def"
};
static_assert(rows_are_dense(sl_values) && std::size(sl_rows) == sl_count);
const il_enum_names sl_names{sl_rows, sl_count};

namespace {
struct il_kind_row {
  int number;
  char letter;
  const char* name;
};
#define IL_KIND(n, letter, id, name) {n, letter, name},
constexpr il_kind_row il_kind_rows[] = {
#include "frontend/model/il_kinds.def"
};
constexpr bool il_kinds_dense() {
  for (size_t i = 0; i < std::size(il_kind_rows); ++i)
    if (il_kind_rows[i].number != static_cast<int>(i) + 1) return false;
  return true;
}
static_assert(il_kinds_dense() && std::size(il_kind_rows) == 24);
}  // namespace

const char* il_kind_name(int kind) {
  return kind >= 1 && kind <= 24 ? il_kind_rows[kind - 1].name : nullptr;
}

char il_kind_letter(int kind) {
  if (kind == 0) return '0';
  return kind >= 1 && kind <= 24 ? il_kind_rows[kind - 1].letter : 0;
}

int il_kind_of_letter(char letter) {
  if (letter == '0') return 0;
  for (const il_kind_row& r : il_kind_rows)
    if (r.letter == letter) return r.number;
  return -1;
}

// ---- Set-up ----

uint32_t il_tables_generation = 0;

void init_il_tables() {
  ++il_tables_generation;
  current_pool = new_pool();
  types_reset();
  constant_sharing_reset();
  source_corresp_template = source_corresp{};
  source_corresp_template.referenced = true;
  source_corresp_template.scope_depth = 0xFFFFFFFFu;
}

// ---- Constructors ----

void init_error_constant(constant* c) {
  c->header = 0;
  c->source_pos = null_pos;
  c->next = nullptr;
  c->kind = ck_error;
  c->type = unknown_type();
  c->type = error_type();
}

constant* new_constant() {
  constant* c = pool_new<constant>();
  init_error_constant(c);
  return c;
}

void init_constant(constant* c, int ck) {
  c->kind = static_cast<uint8_t>(ck);
  switch (ck) {
    case ck_value:
      c->value = nullptr;
      break;
    case ck_expression:
    case ck_aggregate:
    case ck_init_position:
      c->expr = nullptr;
      c->value = nullptr;
      c->first_constant = c->last_constant = nullptr;
      c->offset = 0;
      c->segment_size = 0;
      break;
    case ck_init_index:
      c->first = 0;
      c->second = 0;
      c->stride = 1;
      break;
    case ck_init_repeat:
      c->repeat_constant = nullptr;
      c->count = 1;
      break;
    default:
      break;
  }
}

constant* new_il_constant_copy(const constant& stored) {
  constant* c = pool_new<constant>();
  *c = stored;
  c->header = 0;
  c->next = nullptr;
  return c;
}

param_type* new_param_type() {
  param_type* p = pool_new<param_type>();
  p->corresp = source_corresp_template;
  return p;
}

void init_type(type* t) {
  t->corresp = source_corresp_template;
  t->next = nullptr;
  t->size = 0;
  t->alignment = 1;
  t->is_numeric = t->is_character = t->contains_ptrs = t->used_as_pointer = false;
}

void init_type_code(type* t, int code) {
  t->type_code = static_cast<uint8_t>(code);
  switch (code) {
    case tk_integer:
      t->kind = kind_defaults.default_integer;
      break;
    case tk_logical:
      t->kind = kind_defaults.default_logical;
      break;
    case tk_float:
    case tk_complex:
      t->kind = kind_defaults.default_real;
      break;
    case tk_routine:
      t->has_param_info = t->has_ellipsis = t->is_recursive = t->is_elemental = false;
      break;
    case tk_fcharacter:
      t->kind = kind_defaults.default_character;
      t->char_cache_next = nullptr;
      t->length = make_bound(0, bk_constant, nullptr);
      break;
    case tk_farray:
      t->element_type = nullptr;
      t->bound_info = nullptr;
      t->bound_args = nullptr;
      t->rank = 0;
      break;
    case tk_derived_type:
      t->first_field = nullptr;
      t->is_seq = false;
      break;
    default:
      break;
  }
}

type* new_type(int code) {
  type* t = pool_new<type>();
  init_type(t);
  init_type_code(t, code);
  return t;
}

interface* new_interface_entry() {
  interface* i = pool_new<interface>();
  i->next = nullptr;
  return i;
}

object* new_object() {
  object* o = pool_new<object>();
  o->corresp = source_corresp_template;
  o->storage_class = sc_unspecified;
  return o;
}

void init_label(label* l, int lk) {
  l->kind = static_cast<uint8_t>(lk);
  switch (lk) {
    case lk_control:
      l->corresp.referenced = false;
      [[fallthrough]];
    case lk_executable:
    case lk_else_or_elseif:
      l->exec_stmt = nullptr;
      break;
    case lk_format:
      l->format_constant = nullptr;
      break;
    default:
      break;
  }
}

label* new_label() {
  label* l = pool_new<label>();
  l->corresp = source_corresp_template;
  l->used_in_assign = false;
  init_label(l, lk_unknown);
  return l;
}

label_list_entry* new_label_list_entry() { return pool_new<label_list_entry>(); }
entry_description* new_entry_description() { return pool_new<entry_description>(); }
object_list_member* new_object_list_member() { return pool_new<object_list_member>(); }
alloc* new_alloc() { return pool_new<alloc>(); }

case_range* new_case_range() {
  case_range* r = pool_new<case_range>();
  r->range_kind = crk_eq;
  return r;
}

int expression_pool = -1;

namespace {
int pool_of_expressions() { return expression_pool >= 0 ? expression_pool : current_pool; }
}  // namespace

do_loop* new_do_loop() { return pool_new_in<do_loop>(pool_of_expressions()); }

void init_expr_node(expr_node* n) {
  n->source_pos = null_pos;
  n->type = unknown_type();
  n->next = nullptr;
  n->allow_reordering = true;
  n->intent_in = n->intent_out = n->is_pointer = n->element_sequence = n->for_all = false;
  n->iterated = n->treated_as_subroutine_call = n->any_type_argument = n->is_specifier = false;
  n->arg_keyword = nullptr;
  n->specifier = 0;
}

void init_expr_node_kind(expr_node* n, int enk) {
  n->node_kind = static_cast<uint8_t>(enk);
  // Every kind's links (the symbol and operands among them) live in the slots.
  n->slot1 = n->slot2 = n->slot3 = nullptr;
  switch (enk) {
    case enk_operation:
      n->op_kind = eok_error;
      break;
    case enk_intrinsic:
      n->intrinsic = 0;
      break;
    case enk_implied_do:
    case enk_isum:
      n->do_info = new_do_loop();
      n->has_a_scope = false;
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      n->ignore_lbound = false;
      break;
    default:
      break;
  }
}

expr_node* new_expr_node(int enk) {
  expr_node* n = pool_new_in<expr_node>(pool_of_expressions());
  init_expr_node(n);
  init_expr_node_kind(n, enk);
  return n;
}

expr_node* new_operation_node(int op, type* t, expr_node* operands) {
  expr_node* n = new_expr_node(enk_operation);
  n->type = t;
  n->op_kind = static_cast<uint8_t>(op);
  n->operands = operands;
  return n;
}

expr_node* error_expr_node() {
  expr_node* n = new_expr_node(enk_error);
  n->type = error_type();
  return n;
}

expr_node* make_ref_node(expr_node* e) {
  while (e->node_kind == enk_ref && e->reference) e = e->reference;
  expr_node* n = new_expr_node(enk_ref);
  n->intent_in = true;
  n->type = e->type;
  n->reference = e;
  e->multiply_referenced = true;
  return n;
}

statement* new_statement(int stmk) {
  // Every kind-dependent field starts cleared by the zero-filled allocation.
  statement* s = pool_new<statement>();
  s->source_pos = current_statement_pos;
  s->kind = static_cast<uint8_t>(stmk);
  return s;
}

scope* new_scope_entry() { return pool_new<scope>(); }

namelist_group* new_namelist_group() {
  namelist_group* g = pool_new<namelist_group>();
  g->corresp = source_corresp_template;
  return g;
}

input_output_description* new_io_description() {
  input_output_description* d = pool_new<input_output_description>();
  d->unit_kind = iou_none;
  d->format_kind = iof_none;
  return d;
}

bound_info_entry* new_bound_info_entry(uint32_t rank) {
  bound_info_entry* b = pool_new<bound_info_entry>();
  b->rank = rank;
  b->bounds = rank ? static_cast<bound_record*>(pool_alloc_zeroed(sizeof(bound_record) * 2 * rank))
                   : nullptr;
  for (uint32_t i = 0; i < 2 * rank; ++i) b->bounds[i].kind = bk_undefined;
  return b;
}

source_file* new_source_file(source_file* parent, uint32_t first_seq, uint32_t first_line,
                             const char* file_name, const char* full_name, source_file** out) {
  source_file* f = pool_new<source_file>();
  f->file_name = file_name;
  f->full_name = full_name;
  f->first_seq_number = first_seq;
  f->last_seq_number = 0xFFFFFFFFu;
  f->first_line_number = first_line;
  if (parent) {
    if (parent->last_child_file)
      parent->last_child_file->next = f;
    else
      parent->first_child_file = f;
    parent->last_child_file = f;
  } else {
    the_il_header.primary_source_file = f;
  }
  if (out) *out = f;
  return f;
}

void set_last_seq_number(source_file* f, uint32_t seq) { f->last_seq_number = seq; }

// ---- token_code_table ----

namespace {
struct TokenCodeTable {
  int code[185];
  constexpr TokenCodeTable() : code() {
    // "**" "/" "*" "-" "+" "//" "<" "<=" "==" "/=" ">" ">=" .NOT. .AND. .OR. .EQV. .NEQV. "="
    constexpr int ops[18] = {eok_an_to_an_expon, eok_divide, eok_multiply, eok_subtract,
                             eok_add, eok_concat, eok_lt, eok_le, eok_eq, eok_ne, eok_gt,
                             eok_ge, eok_not, eok_land, eok_lor, eok_eqv, eok_neqv,
                             eok_assign};
    for (int i = 0; i < 18; ++i) code[22 + i] = ops[i];
    // Specifier keywords 147-183 give their iosk_ number, alphabetically,
    // except KIND= (163), LEN= (164) and STAT= (180).
    int next = 0;
    for (int t = 147; t <= 183; ++t) {
      if (t == 163)
        code[t] = 34;  // KIND=
      else if (t == 164)
        code[t] = 35;  // LEN=
      else if (t == 180)
        code[t] = 36;  // STAT=
      else
        code[t] = next++;
    }
  }
};
constexpr TokenCodeTable token_code_table{};
static_assert(token_code_table.code[183] == iosk_unit);
}  // namespace

int token_to_code(int token) {
  return token >= 0 && token < 185 ? token_code_table.code[token] : 0;
}
