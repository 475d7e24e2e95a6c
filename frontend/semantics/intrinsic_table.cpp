// Builds the intrinsic table from the rows of intrinsics.def: per row an IL
// interface, per signature an IL object of storage class sc_intrinsic with a
// routine type whose dummies and result use the forms of the table (scalar,
// elemental, inquiry or fixed-rank positions over concrete or "any" types).
#include "frontend/semantics/intrinsic_table.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "frontend/base/pools.h"
#include "frontend/model/names.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"

namespace {

struct row_text {
  int row;
  const char* name;
};
#define INTRINSIC(row, il_name, name, symbol_class) {row, name},
#define SIGNATURE(row, specific, form, dummies, result)
constexpr row_text row_texts[] = {
#include "frontend/model/intrinsics.def"
};

struct signature_text {
  int row;
  const char* specific;
  const char* form;
  const char* dummies;
  const char* result;
};
#define INTRINSIC(row, il_name, name, symbol_class)
#define SIGNATURE(row, specific, form, dummies, result) {row, specific, form, dummies, result},
constexpr signature_text signature_texts[] = {
#include "frontend/model/intrinsics.def"
};

static_assert(std::size(row_texts) == intrinsic_rows_total);
static_assert(std::size(signature_texts) == intrinsic_signatures_total);

constexpr bool rows_numbered_in_order() {
  for (size_t i = 0; i < std::size(row_texts); ++i)
    if (row_texts[i].row != static_cast<int>(i)) return false;
  for (size_t i = 1; i < std::size(signature_texts); ++i)
    if (signature_texts[i].row < signature_texts[i - 1].row) return false;
  return true;
}
static_assert(rows_numbered_in_order());

// The built table of this compilation.
struct IntrinsicTable {
  interface* rows[intrinsic_rows_total];          // by row number
  object* signatures[intrinsic_signatures_total];  // by signature number
  bool built;                                       // set by intrinsic_table_build
};
IntrinsicTable table;

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

type* any_kind_type(int code) {
  type* t = new_type(code);
  t->kind = any_kind;
  return t;
}

type* any_kind_character(bool assumed, uint32_t length) {
  type* t = new_type(tk_fcharacter);
  t->kind = any_kind;
  t->length = assumed ? make_bound(0, bk_assumed, nullptr)
                      : make_bound(static_cast<int32_t>(length), bk_constant, nullptr);
  return t;
}

// The length of "CHARACTER(LEN=...)": assumed for "*".
bool character_length(std::string_view text, bool* assumed, uint32_t* length) {
  size_t eq = text.find("LEN=");
  if (eq == std::string_view::npos) return false;
  std::string_view n = text.substr(eq + 4);
  if (!n.empty() && n.back() == ')') n.remove_suffix(1);
  *assumed = n == "*";
  *length = 0;
  if (!*assumed)
    for (char c : n) *length = *length * 10 + static_cast<uint32_t>(c - '0');
  return true;
}

// The element type of a form's type words ("default REAL", "numeric", ...).
type* element_form_type(std::string_view words) {
  bool is_default = words.starts_with("default ");
  if (is_default) words.remove_prefix(8);
  if (words == "numeric") return new_type(tk_any_numerical);
  if (words == "any type") return new_type(tk_any_type);
  if (words == "any derived type") return new_type(tk_any_derived);
  if (words == "DOUBLE PRECISION") return double_precision_type();
  if (words == "INTEGER") return is_default ? default_integer_type() : any_kind_type(tk_integer);
  if (words == "REAL") return is_default ? default_real_type() : any_kind_type(tk_float);
  if (words == "COMPLEX") return is_default ? default_complex_type() : any_kind_type(tk_complex);
  if (words == "LOGICAL") return is_default ? default_logical_type() : any_kind_type(tk_logical);
  bool assumed = false;
  uint32_t length = 0;
  if (words.starts_with("CHARACTER") && character_length(words, &assumed, &length)) {
    if (!is_default) return any_kind_character(assumed, length);
    return assumed ? assumed_character_type() : default_character_type(length);
  }
  return error_type();
}

// A type form: element words followed by an optional position (e elemental,
// q inquiry, rN rank N); "none" is the void result of a subroutine.
type* form_type(std::string_view form) {
  form = trim(form);
  if (form == "none") return void_type();
  size_t blank = form.rfind(' ');
  std::string_view last = blank == std::string_view::npos ? form : form.substr(blank + 1);
  int shape = -1;  // -1 scalar
  uint32_t rank = 0;
  if (last == "e") {
    shape = deferred_shape;
  } else if (last == "q") {
    shape = as_shaped;
  } else if (last.size() == 2 && last[0] == 'r' && last[1] >= '1' && last[1] <= '7') {
    shape = deferred_shape;
    rank = static_cast<uint32_t>(last[1] - '0');
  }
  if (shape < 0) return element_form_type(form);
  type* element = element_form_type(trim(form.substr(0, blank)));
  type* t = new_type(tk_farray);
  t->element_type = element;
  t->rank = static_cast<uint8_t>(rank);
  t->shape_kind = static_cast<uint8_t>(shape);
  t->bound_info = new_bound_info_entry(rank);
  return t;
}

atom* intern_upper(std::string_view text) {
  bool case_sensitive = names.case_sensitive_identifiers;
  names.case_sensitive_identifiers = true;  // the table's names are upper case as written
  atom* a = name_intern(text.data(), static_cast<uint32_t>(text.size()));
  names.case_sensitive_identifiers = case_sensitive;
  return a;
}

// One dummy: "KEYWORD: type position, intent[, opt][, ptr]".
param_type* dummy_of(std::string_view text) {
  param_type* p = new_param_type();
  size_t colon = text.find(':');
  p->corresp.name = intern_upper(trim(text.substr(0, colon)));
  std::string_view rest = text.substr(colon + 1);
  size_t comma = rest.find(',');
  p->type = form_type(rest.substr(0, comma));
  rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
  while (!rest.empty()) {
    comma = rest.find(',');
    std::string_view word = trim(rest.substr(0, comma));
    if (word == "in") p->intent_in = true;
    if (word == "out") p->intent_out = true;
    if (word == "inout") p->intent_in = p->intent_out = true;
    if (word == "opt") p->is_optional = true;
    if (word == "ptr") p->is_pointer = true;
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
  }
  return p;
}

// The class 7 symbol of a specific name whose entity is the given record.
symbol_entry* specific_symbol(intrinsic_specific* specific) {
  for (symbol_entry* s = specific->name->first_symbol; s; s = s->next_same_name)
    if (s->entity == specific && s->cls == sym_specific_intrinsic) return s;
  return nullptr;
}

object* build_signature(const signature_text& text, uint32_t number, intrinsic_specific* specific) {
  object* o = new_object();
  o->header = number;
  o->storage_class = sc_intrinsic;
  o->association_offset = text.row;
  if (specific) {
    o->symbol = specific_symbol(specific);
    o->corresp.name = specific->name;
    specific->signature_object = o;
  }
  type* r = new_type(tk_routine);
  r->return_type = form_type(text.result);
  r->assoc_routine = o;
  r->has_param_info = true;
  r->is_elemental = text.form[0] == 'E';
  r->has_ellipsis = std::strchr(text.form, '+') != nullptr;
  pool_ref_field<param_type>* tail = &r->param_type_list;
  std::string_view dummies = text.dummies;
  while (!dummies.empty()) {
    size_t semi = dummies.find("; ");
    *tail = dummy_of(dummies.substr(0, semi));
    tail = &(*tail)->next;
    dummies = semi == std::string_view::npos ? std::string_view{} : dummies.substr(semi + 2);
  }
  o->type = r;
  return o;
}

}  // namespace

void intrinsic_table_build() {
  table = IntrinsicTable{};
  object_list_member* tails[intrinsic_rows_total] = {};
  for (int row = 0; row < intrinsic_rows_total; ++row) {
    intrinsic_descriptor* d = &symtab.intrinsic_rows[row];
    interface* i = new_interface_entry();
    i->header = static_cast<il_entry_header>(row);
    i->corresp = source_corresp_template;
    i->corresp.name = d->name;
    i->symbol = d->symbol;
    d->table_entry = i;
    table.rows[row] = i;
  }
  uint32_t next_specific = 0;
  for (uint32_t n = 0; n < intrinsic_signatures_total; ++n) {
    const signature_text& text = signature_texts[n];
    intrinsic_specific* specific = nullptr;
    if (text.specific[0] && next_specific < symtab.specific_count &&
        symtab.specifics[next_specific].signature == n)
      specific = &symtab.specifics[next_specific++];
    object* o = build_signature(text, n, specific);
    table.signatures[n] = o;
    object_list_member* m = new_object_list_member();
    m->object = o;
    if (tails[text.row])
      tails[text.row]->next = m;
    else
      table.rows[text.row]->routine_prototype_list = m;
    tails[text.row] = m;
  }
  table.built = true;
}

interface* intrinsic_interface(int row) {
  return table.built && row >= 0 && row < intrinsic_rows_total ? table.rows[row] : nullptr;
}

object* intrinsic_signature(int n) {
  return table.built && n >= 0 && n < intrinsic_signatures_total ? table.signatures[n] : nullptr;
}

int intrinsic_row_by_name(const char* name) {
  for (const row_text& r : row_texts)
    if (std::strcmp(r.name, name) == 0) return r.row;
  return -1;
}

bool intrinsic_is_inquiry(int row) {
  switch (row) {
    case ir_allocated: case ir_associated: case ir_bit_size: case ir_digits:
    case ir_epsilon: case ir_huge: case ir_kind: case ir_lbound: case ir_len:
    case ir_maxexponent: case ir_minexponent: case ir_precision: case ir_present:
    case ir_radix: case ir_range: case ir_shape: case ir_size: case ir_tiny:
    case ir_ubound:
      return true;
    default:
      return false;
  }
}
