// Fortran text of IL expressions and constants. Every piece of text goes
// through one output function, so that the program database, the HTML listing
// and the tests can each send it where they need it.
#include "frontend/ilfile/expr_text.h"

#include <cmath>
#include <cstring>

#include "frontend/model/il_enums.h"
#include "frontend/model/types.h"

FortranTextState fortran_text;

namespace {

// Deep enough for any expression a program holds, shallow enough for the
// stack; a deeper graph comes only from a damaged IL file.
constexpr uint32_t max_text_depth = 4000;
constexpr uint32_t default_node_limit = 1u << 20;

void default_output(std::string_view text) {
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), fortran_text.stream);
}

void put(std::string_view text) { fortran_text.output(text); }

void put_number(long long v) { put(std::to_string(v)); }

// The character writer: one character, with "<", ">" and "&" as entities in
// HTML (a bare "&" would start an entity of its own).
void put_char(char c) {
  if (fortran_text.html && c == '<') {
    put("&lt;");
  } else if (fortran_text.html && c == '>') {
    put("&gt;");
  } else if (fortran_text.html && c == '&') {
    put("&amp;");
  } else {
    put(std::string_view(&c, 1));
  }
}

void put_chars(std::string_view text) {
  for (char c : text) put_char(c);
}

const char* atom_text(const atom* a) { return a && a->text ? a->text : ""; }

// Takes one entry from the budget of the call; false once the budget or the
// nesting depth is used up (the graph is then not written any further).
bool enter_entry() {
  if (fortran_text.nodes_left == 0 || fortran_text.depth >= max_text_depth) {
    fortran_text.overflow = true;
    return false;
  }
  --fortran_text.nodes_left;
  ++fortran_text.depth;
  return true;
}

void leave_entry() { --fortran_text.depth; }

// Starts a top-level write: the whole budget for this call, no overflow yet.
struct TopLevelCall {
  bool outer;
  TopLevelCall() : outer(fortran_text.depth == 0) {
    if (outer) {
      fortran_text.nodes_left = fortran_text.node_limit;
      fortran_text.overflow = false;
    }
  }
};

bool is_assignment(int op) {
  return op == eok_lassign || op == eok_iassign || op == eok_fassign || op == eok_xassign ||
         op == eok_cassign || op == eok_sassign || op == eok_assign;
}

// Two-operand operations written without parentheses: .neqv., .eqv. and every
// comparison and assignment.
bool written_without_parentheses(int op) {
  return op == eok_neqv || op == eok_eqv || op == eok_lassign ||
         (op >= eok_ieq && op <= eok_iassign) || (op >= eok_feq && op <= eok_fassign) ||
         (op >= eok_xeq && op <= eok_sassign) || (op >= eok_eq && op <= eok_assign);
}

void write_expr(const expr_node* node);

void write_list(const expr_node* first) {
  bool any = false;
  for (const expr_node* n = first; n && !fortran_text.overflow; n = n->next) {
    if (any) put(", ");
    write_expr(n);
    any = true;
  }
}

void write_args(const expr_node* first) {
  put("(");
  bool any = false;
  for (const expr_node* n = first; n && !fortran_text.overflow; n = n->next) {
    if (any) put(", ");
    if (n->arg_keyword && !n->is_specifier) {
      put(atom_text(n->arg_keyword));
      put("=");
    }
    if (n->node_kind == enk_stmt_label_value) put("*");
    write_expr(n);
    any = true;
  }
  put(")");
}

void write_operator(int op) { put_chars(fortran_operator_text(op)); }

// An operation over the operand list that starts at first.
void write_operation(int op, const expr_node* first) {
  const expr_node* second = first ? first->next : nullptr;
  if (second && second->node_kind == enk_stmt_label_value) {
    // ASSIGN label TO variable
    put("assign ");
    write_expr(second);
    put(" to ");
    write_expr(first);
  } else if (second) {
    if (op >= eok_reorder && op <= eok_assign) {
      // The array forms read like a call. The line feed that traditionally
      // ends them is left out: it would break a line of the program database.
      write_operator(op);
      write_args(first);
    } else {
      bool parens = !written_without_parentheses(op);
      if (parens) put("(");
      write_expr(first);
      write_operator(op);
      write_expr(second);
      if (parens) put(")");
    }
  } else {
    write_operator(op);
    write_expr(first);
  }
}

void write_intrinsic_name(int row) {
  const char* name = intrinsic_row_name(row);
  if (name) {
    put(name);
  } else {
    put_chars("<error intrinsic>");
  }
}

// The name of a routine or variable; a module's entity carries the module's
// name in front ("mod_name").
void write_object_name(const object* o, const object* module) {
  if (!o) return;
  if (module) {
    put(atom_text(module->corresp.name));
    put("_");
  }
  put(atom_text(o->corresp.name));
}

void write_generic_name(const interface* itf) {
  const char* name = itf ? atom_text(itf->corresp.name) : "";
  unsigned char c0 = static_cast<unsigned char>(name[0]);
  if ((c0 >= 'a' && c0 <= 'z') || (c0 >= 'A' && c0 <= 'Z')) {
    put(name);
  } else if (std::strcmp(name, "=") == 0) {
    put("assignment(=)");
  } else {
    put("operation(");
    put(name);
    put(")");
  }
}

void write_expr_body(const expr_node* node) {
  switch (node->node_kind) {
    case enk_error:
      put_chars("<error expression>");
      break;
    case enk_operation:
      if (node->treated_as_subroutine_call && node->operands) {
        write_expr(node->operands);
        put("=");
        write_operation(node->op_kind, node->operands->next);
      } else {
        write_operation(node->op_kind, node->operands);
      }
      break;
    case enk_intrinsic:
      if (node->treated_as_subroutine_call && node->operands) {
        write_expr(node->operands);
        put("=");
        write_intrinsic_name(node->intrinsic);
        write_args(node->operands->next);
      } else {
        write_intrinsic_name(node->intrinsic);
        write_args(node->operands);
      }
      break;
    case enk_call: {
      const object* r = node->routine;
      write_object_name(r, r && r->storage_class == sc_mod_proc ? r->assoc_module : nullptr);
      write_args(node->operands);
      break;
    }
    case enk_constant:
      write_fortran_constant(node->constant);
      break;
    case enk_object: {
      const object* o = node->object;
      write_object_name(o, o && o->storage_class == sc_use_associated ? o->assoc_module : nullptr);
      break;
    }
    case enk_stmt_label_value:
      if (node->stmt_label_value) put(atom_text(node->stmt_label_value->corresp.name));
      break;
    case enk_param:
      if (node->parameter) put(atom_text(node->parameter->corresp.name));
      break;
    case enk_field:
      write_expr(node->base_expr);
      put("%");
      if (node->field_var) put(atom_text(node->field_var->corresp.name));
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      write_expr(node->array_expr);
      put(node->ignore_lbound ? "[" : "(");
      write_list(node->ind_list);
      put(node->ignore_lbound ? "]" : ")");
      break;
    case enk_constructor: {
      const type* t = node->type;
      if (t && t->type_code == tk_farray) {
        put("(/");
        write_list(node->constructor);
        put("/)");
      } else if (t && t->type_code == tk_derived_type) {
        put(atom_text(t->corresp.name));
        put(" (");
        write_list(node->constructor);
        put(")");
      }
      break;
    }
    case enk_implied_do:
      put("(");
      write_list(node->expr_list);
      if (node->do_info) {
        put(",");
        write_fortran_loop_control(node->do_info);
      }
      put(")");
      break;
    case enk_triplet:
      write_expr(node->first);
      put(":");
      write_expr(node->second);
      if (node->stride) {
        put(":");
        write_expr(node->stride);
      }
      break;
    case enk_empty:
      put_chars("<empty>");  // entities in HTML, like every angle-bracketed word
      break;
    case enk_ref:
      write_expr(node->reference);
      break;
    case enk_isum:
      put("sum((/(");
      write_list(node->expr_list);
      if (node->do_info) {
        put(",");
        write_fortran_loop_control(node->do_info);
      }
      put(")/))");
      break;
    case enk_generic_call:
      write_generic_name(node->generic_routine);
      put("(");
      write_list(node->operands);
      put(")");
      break;
    default:
      break;
  }
}

void write_expr(const expr_node* node) {
  if (!node || !enter_entry()) return;
  write_expr_body(node);
  leave_entry();
}

// ---- constants ----

// The significant digits that print every value of a binary precision of
// p bits back to itself: ceil(log10(2^(p+1) - 1)).
int real_digits(int p) { return static_cast<int>(std::ceil(std::log10(std::ldexp(1.0, p + 1) - 1))); }

void write_real_value(double v, int bits) { put(fortran_real_text(v, bits)); }

void write_kind_suffix(const kind_row* row, uint32_t kind, uint32_t default_kind) {
  if (kind != default_kind) {
    put("_");
    put_number(row->kind_value);
  }
}

// The kind row of a constant's type and whether the value holds its bytes.
const kind_row* value_row(const constant* c, int family, uint32_t bytes_per_value) {
  const type* t = c->type;
  const kind_row* row = kind_row_of(family, t->kind);
  if (!row || !c->value || t->size < bytes_per_value * row->size) return nullptr;
  return row;
}

void write_character_value(const constant* c) {
  const type* t = c->type;
  const kind_row* row = kind_row_of(kf_character, t->kind);
  bool default_kind = row && t->kind == kind_defaults.default_character;
  if (row && !default_kind) {
    put_number(row->kind_value);
    put("_");
  }
  uint32_t n = character_constant_length(c);
  std::string text = "\"";
  for (uint32_t i = 0; i < n; ++i) {
    unsigned char ch = c->value[i];
    if (default_kind && ch >= 0x20 && ch < 0x7F) {
      text += static_cast<char>(ch);
      // A quote inside the constant is doubled, as Fortran writes it.
      if (ch == '"') text += '"';
      // "*" and "/" never stand side by side: split the constant there.
      if (ch == '*' && i + 1 < n && c->value[i + 1] == '/') text += "\"//\"";
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%02xu", ch);
      text += buf;
    }
  }
  text += '"';
  // The characters of a constant go through the character writer, so that
  // the HTML listing never holds a bare "<" of the program's text.
  put_chars(text);
}

void write_value_constant(const constant* c) {
  const type* t = c->type;
  if (!t) {
    put_chars("<bad constant value>");
    return;
  }
  switch (t->type_code) {
    case tk_integer: {
      const kind_row* row = value_row(c, kf_integer, 1);
      if (!row) break;
      put_number(row->get_int(c->value));
      write_kind_suffix(row, t->kind, kind_defaults.default_integer);
      return;
    }
    case tk_logical: {
      const kind_row* row = value_row(c, kf_logical, 1);
      if (!row) break;
      put(row->get_int(c->value) ? ".TRUE." : ".FALSE.");
      write_kind_suffix(row, t->kind, kind_defaults.default_logical);
      return;
    }
    case tk_float: {
      const kind_row* row = value_row(c, kf_real, 1);
      if (!row) break;
      write_real_value(row->get_real(c->value), row->digits);
      write_kind_suffix(row, t->kind, kind_defaults.default_real);
      return;
    }
    case tk_complex: {
      const kind_row* row = value_row(c, kf_real, 2);
      if (!row) break;
      put("(");
      write_real_value(row->get_real(c->value), row->digits);
      write_kind_suffix(row, t->kind, kind_defaults.default_real);
      put(",");
      write_real_value(row->get_real(c->value + row->size), row->digits);
      write_kind_suffix(row, t->kind, kind_defaults.default_real);
      put(")");
      return;
    }
    case tk_fcharacter:
      write_character_value(c);
      return;
    default:
      break;
  }
  put_chars("<bad constant value>");
}

void write_aggregate(const constant* c) {
  const type* t = c->type;
  int code = t ? t->type_code : -1;
  if (!t || code == tk_farray) {
    put("(/");
  } else if (code == tk_derived_type) {
    put(atom_text(t->corresp.name));
    put(" (");
  } else {
    put_chars("<data>");
    put(" /");
  }
  bool separate = false;
  for (const constant* e = c->first_constant; e && !fortran_text.overflow; e = e->next) {
    if (separate) put(", ");
    write_fortran_constant(e);
    separate = e->kind != ck_init_repeat && e->kind != ck_init_position;
  }
  if (code == tk_derived_type) {
    put(")");
  } else if (!t || code == tk_farray) {
    put("/)");
  } else {
    put("/");
  }
}

void write_constant_body(const constant* c) {
  switch (c->kind) {
    case ck_value:
      write_value_constant(c);
      break;
    case ck_expression:
      write_expr(c->expr);
      break;
    case ck_aggregate:
      write_aggregate(c);
      break;
    case ck_init_position:
      put_chars("<from pos " + std::to_string(c->offset) + "> ");
      break;
    case ck_init_index:
      put_chars("<from index " + std::to_string(c->first) + "> ");
      put_chars("<to " + std::to_string(c->second) + "> ");
      put_chars("<with " + std::to_string(c->stride) + "> ");
      break;
    case ck_init_repeat:
      put_chars("<repeat " + std::to_string(c->count) + "> ");
      write_fortran_constant(c->repeat_constant);
      break;
    default:
      put_chars("<bad constant kind>");
      break;
  }
}

// Captures the output of one call in a string.
std::string* capture_target = nullptr;
void capture_output(std::string_view text) { capture_target->append(text); }

template <class F>
std::string capture(F write) {
  std::string text;
  std::string* saved_target = capture_target;
  fortran_output_fn saved_output = fortran_text.output;
  capture_target = &text;
  fortran_text.output = capture_output;
  write();
  fortran_text.output = saved_output;
  capture_target = saved_target;
  return text;
}

// The rows' names as the IL and the program database spell them.
const char* const intrinsic_names[] = {
#define INTRINSIC(row, il_name, name, symbol_class) #il_name,
#define SIGNATURE(row, specific, form, dummies, result)
#include "frontend/model/intrinsics.def"
};
static_assert(std::size(intrinsic_names) == intrinsic_row_count);

}  // namespace

void fortran_text_reset() {
  fortran_text.output = default_output;
  fortran_text.stream = stdout;
  fortran_text.html = false;
  fortran_text.node_limit = default_node_limit;
  fortran_text.nodes_left = 0;
  fortran_text.depth = 0;
  fortran_text.overflow = false;
}

namespace {
// The state is usable before the first reset.
struct FortranTextInit {
  FortranTextInit() { fortran_text_reset(); }
} fortran_text_init;
}  // namespace

void set_fortran_output(fortran_output_fn fn) { fortran_text.output = fn ? fn : default_output; }

void set_fortran_node_limit(uint32_t limit) { fortran_text.node_limit = limit; }

void write_fortran_expr(const expr_node* node) {
  TopLevelCall call;
  write_expr(node);
}

void write_fortran_constant(const constant* c) {
  TopLevelCall call;
  if (!c || !enter_entry()) return;
  write_constant_body(c);
  leave_entry();
}

void write_fortran_arg_list(const expr_node* first) {
  TopLevelCall call;
  write_args(first);
}

void write_fortran_list(const expr_node* first) {
  TopLevelCall call;
  write_list(first);
}

void write_fortran_loop_control(const do_loop* loop) {
  TopLevelCall call;
  if (!loop) return;
  write_expr(loop->variable);
  put("=");
  write_expr(loop->initial_value);
  put(", ");
  write_expr(loop->final_value);
  if (loop->final_value_excluded) put("-1");
  if (loop->increment) {
    put(", ");
    write_expr(loop->increment);
  }
}

std::string fortran_expr_text(const expr_node* node) {
  return capture([node] { write_fortran_expr(node); });
}

std::string fortran_constant_text(const constant* c) {
  return capture([c] { write_fortran_constant(c); });
}

uint32_t character_constant_length(const constant* c) {
  const type* t = c->type;
  if (!t || !c->value) return 0;
  uint32_t n = t->size;
  if (t->length.kind == bk_constant && t->length.value >= 0 &&
      static_cast<uint32_t>(t->length.value) < n)
    n = static_cast<uint32_t>(t->length.value);
  return n;
}

std::string fortran_real_text(double v, int bits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", real_digits(bits), v);
  std::string text = buf;
  // ".0" goes only to a plain integral number, never after an exponent or
  // the letters of inf and nan.
  if (text.find_first_not_of("+-0123456789") == std::string::npos) text += ".0";
  return text;
}

const char* fortran_operator_text(int op) {
  if (op < 0 || op > eok_assign) return "<error operator>";
  switch (op) {
    case eok_not: return ".not.";
    case eok_cast:
    case eok_spread: return "";
    case eok_concat: return "//";
    case eok_land: return ".and.";
    case eok_lor: return ".or.";
    case eok_neqv: return ".neqv.";
    case eok_eqv: return ".eqv.";
    case eok_passign: return "=>";
    case eok_iadd: case eok_fadd: case eok_xadd: case eok_add: return "+";
    case eok_imultiply: case eok_fmultiply: case eok_xmultiply: case eok_multiply: return "*";
    case eok_idivide: case eok_fdivide: case eok_xdivide: case eok_divide: return "/";
    case eok_i_to_i_expon: case eok_f_to_i_expon: case eok_f_to_f_expon:
    case eok_x_to_i_expon: case eok_x_to_x_expon: case eok_an_to_an_expon: return "**";
    case eok_ieq: case eok_feq: case eok_xeq: case eok_ceq: case eok_eq: return "==";
    case eok_ine: case eok_fne: case eok_xne: case eok_cne: case eok_ne: return "/=";
    case eok_igt: case eok_fgt: case eok_cgt: case eok_gt: return ">";
    case eok_ilt: case eok_flt: case eok_clt: case eok_lt: return "<";
    case eok_ige: case eok_fge: case eok_cge: case eok_ge: return ">=";
    case eok_ile: case eok_fle: case eok_cle: case eok_le: return "<=";
    case eok_reorder: return "reorder";
    case eok_expand: return "expand";
    case eok_reshape: return "reshape";
    default: return is_assignment(op) ? "=" : "-";
  }
}

const char* intrinsic_row_name(int row) {
  return row >= 0 && row < intrinsic_row_count ? intrinsic_names[row] : nullptr;
}
