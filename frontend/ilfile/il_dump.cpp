// The field listing of an IL graph: one head line per entry (its name and
// title), then its fields one per line under their names. The fields come
// from the same description of each record that the IL writer and reader run
// (il_schema.h), with a listing codec that collects labelled lines; a few
// kinds then show their lines in another order than the file's.
#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "frontend/ilfile/expr_text.h"
#include "frontend/ilfile/il_listings.h"
#include "frontend/ilfile/il_schema.h"
#include "frontend/model/il_walk.h"
#include "frontend/model/types.h"

IlDumpState il_dump = {stdout, false};

namespace {

// Values start in this column (counted from 1): labels are padded to 25.
constexpr size_t label_width = 25;
// How deep the text of a type may nest (an array of routines of arrays ...);
// deeper text comes only from a damaged graph and is cut off.
constexpr int max_type_text_depth = 64;

const char* from_table(const il_enum_names& table, int v, const char* bad) {
  const char* name = table(v);
  return name && *name ? name : bad;
}

std::string angle_word(const char* word) {
  return il_dump.html ? std::string("&lt;") + word + "&gt;" : std::string("<") + word + ">";
}

std::string unsigned_text(uint32_t v) { return std::to_string(v); }
std::string signed_text(int32_t v) { return std::to_string(v); }

const char* atom_name(const atom* a) { return a && a->text && *a->text ? a->text : nullptr; }

// The name atom of a named entry kind, or null for the other kinds.
const atom* entry_name_atom(const void* e, int kind) {
  switch (kind) {
    case ilk_param_type: return static_cast<const param_type*>(e)->corresp.name;
    case ilk_type: return static_cast<const type*>(e)->corresp.name;
    case ilk_label: return static_cast<const label*>(e)->corresp.name;
    case ilk_object: return static_cast<const object*>(e)->corresp.name;
    case ilk_interface: return static_cast<const interface*>(e)->corresp.name;
    case ilk_namelist_group: return static_cast<const namelist_group*>(e)->corresp.name;
    default: return nullptr;
  }
}

bool is_named_kind(int kind) {
  switch (kind) {
    case ilk_param_type:
    case ilk_type:
    case ilk_label:
    case ilk_object:
    case ilk_interface:
    case ilk_namelist_group:
      return true;
    default:
      return false;
  }
}

std::string quoted_name(const atom* a) {
  const char* text = atom_name(a);
  return dump_quoted(text, text ? std::strlen(text) : 0);
}

// Fortran text of an expression, with HTML entities in HTML mode.
std::string expression_text(const expr_node* e) {
  bool saved = fortran_text.html;
  fortran_text.html = il_dump.html;
  std::string text = fortran_expr_text(e);
  fortran_text.html = saved;
  return text;
}

// The KIND value of a type's kind row, or ANY_KIND.
std::string kind_value_text(const type* t) {
  if (t->kind == any_kind) return "ANY_KIND";
  const kind_row* row = kind_row_of(il_kind_family(t->type_code), t->kind);
  return row ? std::to_string(row->kind_value) : "**BAD KIND**";
}

std::string type_text(const type* t, int depth) {
  if (!t) return "";
  if (depth > max_type_text_depth) return "...";
  switch (t->type_code) {
    case tk_void: return ": void";
    case tk_integer: return ": integer(" + kind_value_text(t) + ")";
    case tk_logical: return ": logical(" + kind_value_text(t) + ")";
    case tk_float: return ": float(" + kind_value_text(t) + ")";
    case tk_complex: return ": complex(" + kind_value_text(t) + ")";
    case tk_routine: return type_text(t->return_type, depth + 1) + "()";
    case tk_fcharacter: {
      std::string length;
      if (t->length.kind == bk_constant) {
        length = unsigned_text(static_cast<uint32_t>(t->length.value));
      } else if (t->length.kind == bk_expression || t->length.kind == bk_same_as) {
        length = expression_text(t->length.expr);
      } else if (t->length.kind == bk_assumed) {
        length = "*";
      }
      return ": character(" + length + "," + kind_value_text(t) + ")";
    }
    case tk_farray: return type_text(t->element_type, depth + 1) + "[]";
    case tk_association: return ": association(" + unsigned_text(t->size) + ")";
    case tk_derived_type: return atom_name(t->corresp.name) ? ": " + quoted_name(t->corresp.name) : "";
    case tk_stmt_label: return ": " + angle_word("stmt label");
    case tk_format: return ": " + angle_word("format");
    case tk_unspec_routine: return ": " + angle_word("unspecified routine");
    case tk_blockdata: return ": " + angle_word("blockdata");
    case tk_module: return ": " + angle_word("module");
    case tk_error: return ": " + angle_word("error type");
    case tk_any_type: return ": " + angle_word("any type");
    case tk_any_derived: return ": " + angle_word("any derived type");
    case tk_any_numerical: return ": " + angle_word("any numeric");
    case tk_unknown: return ": " + angle_word("unknown type");
    default: return ": **BAD TYPE SPECIFIER KIND**";
  }
}

// The kind row that holds a constant's value, when the value bytes hold it.
// A constant of any kind takes the family's row of its type's size.
const kind_row* value_row(const constant* c, int family, uint32_t values) {
  const type* t = c->type;
  const kind_row* row = kind_row_of(family, t->kind);
  for (uint32_t i = 0; !row && t->kind == any_kind; ++i) {
    const kind_row* r = kind_row_of(family, i);
    if (!r) break;
    if (r->size * values == t->size) row = r;
  }
  if (!row || !c->value || t->size < values * row->size) return nullptr;
  return row;
}

// A character value, quoted.
std::string character_value_text(const constant* c) {
  return dump_quoted(reinterpret_cast<const char*>(c->value.get()), character_constant_length(c));
}

// The value of a ck_value constant by its type: the label of its field and
// its text; an empty label when the type has no value text.
struct ValueText {
  const char* label;
  std::string text;
};

ValueText constant_value_text(const constant* c) {
  const type* t = c->type;
  if (!t) return {nullptr, ""};
  switch (t->type_code) {
    case tk_integer:
      if (const kind_row* row = value_row(c, kf_integer, 1))
        return {"integer_value", std::to_string(row->get_int(c->value))};
      break;
    case tk_logical:
      if (const kind_row* row = value_row(c, kf_logical, 1))
        return {"logical_value", row->get_int(c->value) ? ".TRUE." : ".FALSE."};
      break;
    case tk_float:
      if (const kind_row* row = value_row(c, kf_real, 1))
        return {"float_value", fortran_real_text(row->get_real(c->value), row->digits)};
      break;
    case tk_complex:
      if (const kind_row* row = value_row(c, kf_real, 2))
        return {"complex_value", "(" + fortran_real_text(row->get_real(c->value), row->digits) + "," +
                                     fortran_real_text(row->get_real(c->value + row->size), row->digits) +
                                     ")"};
      break;
    case tk_fcharacter:
      return {"character_value", character_value_text(c)};
    default:
      break;
  }
  return {nullptr, ""};
}

std::string constant_title(const constant* c) {
  if (c->kind != ck_value) return "";
  ValueText v = constant_value_text(c);
  return v.label ? ": " + v.text : "**BAD CONSTANT TYPE**";
}

// The text after an entry's name on its head line and after references.
std::string entry_title(const void* e, int kind) {
  switch (kind) {
    case ilk_source_file: {
      const char* name = static_cast<const source_file*>(e)->file_name;
      return ": " + dump_quoted(name, name ? std::strlen(name) : 0);
    }
    case ilk_constant: return constant_title(static_cast<const constant*>(e));
    case ilk_param_type:
    case ilk_label:
    case ilk_object:
    case ilk_interface:
    case ilk_namelist_group: {
      const atom* name = entry_name_atom(e, kind);
      return atom_name(name) ? ": " + quoted_name(name) : "";
    }
    case ilk_type: return type_text(static_cast<const type*>(e), 0);
    case ilk_expr_node: return ": " + expression_text(static_cast<const expr_node*>(e));
    case ilk_statement: {
      auto* s = static_cast<const statement*>(e);
      return s->kind == stmk_expr ? ": " + expression_text(s->expr) : "";
    }
    case ilk_atom: {
      // An empty name reads back as no string.
      const char* text = atom_name(static_cast<const atom*>(e));
      return ": " + dump_quoted(text, text ? std::strlen(text) : 0);
    }
    default: return "";
  }
}

// A reference: the entry's name (a link in HTML, but never to an atom), then
// the quoted name of a named entry or else the entry's title.
std::string reference_text(const void* e, int kind) {
  if (!e) return "NULL";
  std::string name = dump_entry_name(e, kind);
  std::string text = il_dump.html && kind != ilk_atom
                         ? "<A HREF=\"#" + name + "\">" + name + "</A>"
                         : name;
  const atom* a = entry_name_atom(e, kind);
  if (is_named_kind(kind) && atom_name(a)) return text + ": " + quoted_name(a);
  return text + entry_title(e, kind);
}

std::string bound_text(const bound_record& b) {
  switch (b.kind) {
    case bk_error: return angle_word("error bound");
    case bk_constant: return signed_text(b.value);
    case bk_expression: return reference_text(b.expr, ilk_expr_node);
    case bk_assumed: return "*";
    case bk_undefined: return angle_word("undefined bound");
    case bk_same_as: return "same as for " + reference_text(b.expr, ilk_expr_node);
    default: return "**BAD BOUND KIND**";
  }
}

// One line of an entry's listing: the field it shows (by its name in the
// record description) and the whole line without its line feed.
struct DumpLine {
  std::string field;
  std::string text;
};

// "label:" padded to the value column, or followed by a new line and the
// padding when the label is too long for it.
std::string labelled(const std::string& label, const std::string& value) {
  std::string line = label + ":";
  if (line.size() >= label_width) {
    line += "\n" + std::string(label_width, ' ');
  } else {
    line += std::string(label_width - line.size(), ' ');
  }
  return line + value;
}

// How the listing names a field that the record description names otherwise.
std::string field_label(const char* name) {
  if (std::strcmp(name, "source_language") == 0) return "source language";
  if (std::strcmp(name, "arg_keyword") == 0) return "argument keyword";
  if (std::strcmp(name, "specifier") == 0) return "argument selector";
  return name;
}

// The codec that lists: every field becomes one labelled line (two for a
// position) in lines.
struct IlDumpCodec {
  static constexpr bool writing = true;  // the record is read, not filled
  bool module_mode() const { return false; }

  int entry_kind;                // kind of the entry being listed
  std::string indent;            // in front of the labels of a group
  std::vector<DumpLine>& lines;  // the lines listed so far

  void add(const std::string& field, const std::string& value) {
    lines.push_back({field, labelled(indent + field_label(field.c_str()), value)});
  }

  template <class F>
  void ref(const char* name, F& field) {
    using T = il_target_t<F>;
    add(name, reference_text(static_cast<T*>(field), il_kind_of<T>::value));
  }
  template <class F>
  void chain(const char* name, F& field) {
    ref(name, field);
  }
  void bounds(const char* name, pool_ref_field<bound_info_entry>& field, uint32_t) {
    add(name, reference_text(field, ilk_bound_info_entry));
  }
  void entity_atom(const char* name, pool_ref_field<void>&, atom* shown) { add(name, reference_text(shown, ilk_atom)); }
  void pos(const char* name, source_pos_record& p) {
    add(std::string(name) + ".seq", unsigned_text(p.seq));
    add(std::string(name) + ".column", unsigned_text(p.column));
  }
  template <class I>
  void num(const char* name, I& field) {
    if (std::strcmp(name, "scope_depth") == 0 && field >= 255) {
      add(name, angle_word("out of scope"));
    } else if constexpr (std::is_signed_v<I>) {
      add(name, signed_text(static_cast<int32_t>(field)));
    } else {
      add(name, unsigned_text(static_cast<uint32_t>(field)));
    }
  }
  template <class I>
  void code(const char* name, I& field, int) {
    add(name, code_name(name, static_cast<int>(field)));
  }
  std::string code_name(const char* name, int v) const {
    std::string n = name;
    if (n == "source_language") return source_language_name(v);
    if (n == "type_code") return type_code_name(v);
    if (n == "shape_kind") return shape_kind_name(v);
    if (n == "node_kind") return expr_node_kind_name(v);
    if (n == "specifier") return io_specifier_kind_name(v);
    if (n == "op_kind") return operator_kind_name(v);
    if (n == "intrinsic") return intrinsic_name(v);
    if (n == "storage_class") return storage_class_name(v);
    if (n == "range_kind") return case_range_kind_name(v);
    if (n == "format_kind") return io_format_kind_name(v);
    if (n == "unit_kind") return v == iou_error ? angle_word("error") : io_unit_kind_name(v);
    if (n == "kind") {
      if (entry_kind == ilk_constant) return constant_kind_name(v);
      if (entry_kind == ilk_label) return label_kind_name(v);
      if (entry_kind == ilk_statement) return statement_kind_name(v);
    }
    return std::to_string(v);
  }
  void kind_row(const char* name, uint32_t& field, int) {
    add(name, field == any_kind ? "ANY_KIND" : unsigned_text(field));
  }
  void begin_flags() {}
  void flag(const char* name, bool& b) { add(name, b ? "TRUE" : "FALSE"); }
  void flag_bit(const char* name, uint32_t& word, uint32_t bit) {
    add(name, (word >> bit) & 1 ? "TRUE" : "FALSE");
  }
  void str(const char* name, const char*& s) { add(name, dump_quoted(s, s ? std::strlen(s) : 0)); }
  void atom_text(const char*, const char*&, uint32_t&) {}
  void bound(const char* name, bound_record& b) { add(name, bound_text(b)); }
  void block_size(const char* name, bound_info_entry& e) { add(name, unsigned_text(bound_info_size(e.rank))); }
  void value_bytes(const char* name, pool_ref_field<uint8_t>&, const type*) { add(name, ""); }
  void require(bool) {}
  void begin_group(const char* name) {
    lines.push_back({name, std::string(name) + ":"});
    indent = "  ";
  }
  void end_group() { indent.clear(); }
};

// ---- the listing's own order ----

using Lines = std::vector<DumpLine>;

Lines::iterator find_line(Lines& lines, const std::string& field) {
  return std::find_if(lines.begin(), lines.end(), [&](const DumpLine& l) { return l.field == field; });
}

void drop_line(Lines& lines, const std::string& field) {
  auto it = find_line(lines, field);
  if (it != lines.end()) lines.erase(it);
}

// Moves the line of field to just after the line of after (or before the
// line of before): nothing when either is missing.
void move_after(Lines& lines, const std::string& field, const std::string& after) {
  auto it = find_line(lines, field);
  if (it == lines.end() || find_line(lines, after) == lines.end()) return;
  DumpLine line = std::move(*it);
  lines.erase(it);
  lines.insert(find_line(lines, after) + 1, std::move(line));
}

void move_before(Lines& lines, const std::string& field, const std::string& before) {
  auto it = find_line(lines, field);
  if (it == lines.end() || find_line(lines, before) == lines.end()) return;
  DumpLine line = std::move(*it);
  lines.erase(it);
  lines.insert(find_line(lines, before), std::move(line));
}

template <class T>
Lines field_lines(T& entry, int kind) {
  Lines lines;
  IlDumpCodec c{kind, "", lines};
  il_fields(c, entry);
  return lines;
}

void reorder_constant(Lines& lines, const constant& e) {
  if (e.kind == ck_value) {
    auto it = find_line(lines, "value");
    ValueText v = constant_value_text(&e);
    if (it != lines.end())
      it->text = v.label ? labelled(v.label, v.text) : angle_word("unknown type constant");
  } else if (e.kind == ck_expression) {
    drop_line(lines, "value");
  } else if (e.kind == ck_init_repeat) {
    move_before(lines, "constant", "count");
  }
}

void reorder_expr_node(Lines& lines, expr_node& e) {
  move_before(lines, e.is_specifier ? "specifier" : "arg_keyword", "node_kind");
  if (e.node_kind == enk_call) {
    move_before(lines, "interface", "routine");
  } else if (e.node_kind == enk_name_ref || e.node_kind == enk_apply) {
    // In-memory nodes of the parser: the symbol they name, and the operands
    // of an application.
    IlDumpCodec c{ilk_expr_node, "", lines};
    atom* name = e.symbol ? e.symbol->name : nullptr;
    c.ref("symbol", name);
    if (e.node_kind == enk_apply) c.ref("operands", e.operands);
  }
}

void reorder_object(Lines& lines, object& e) {
  if (e.storage_class == sc_use_associated) {
    drop_line(lines, "variant.initializer");
  } else if (e.storage_class == sc_intrinsic) {
    IlDumpCodec c{ilk_object, "", lines};
    c.ref("variant.assoc_scope", e.assoc_scope);
    c.ref("assoc.routine", e.assoc_routine);
  }
}

void reorder_statement(Lines& lines, statement& e) {
  move_after(lines, "kind", "expr");
  if (e.kind == stmk_ido || e.kind == stmk_fdo) {
    auto it = find_line(lines, "do_loop");
    if (it == lines.end()) return;
    Lines loop = e.loop ? field_lines(*e.loop, ilk_do_loop) : Lines{};
    it = lines.erase(it);
    lines.insert(it, loop.begin(), loop.end());
  }
}

// A bounds block shows each dimension's lower and upper bound together.
void reorder_bounds(Lines& lines, const bound_info_entry& e) {
  Lines out;
  for (uint32_t d = 0; d < e.rank; ++d) {
    out.push_back({"bound", labelled("dimension " + std::to_string(d + 1) + " lower bound",
                                     bound_text(e.bounds[d]))});
    out.push_back({"bound", labelled("            upper bound", bound_text(e.bounds[e.rank + d]))});
  }
  lines = std::move(out);
}

// The lines of one entry in the listing's order.
Lines entry_lines(void* entry, int kind) {
  Lines lines;
  switch (kind) {
    case ilk_il_header: lines = field_lines(*static_cast<il_header*>(entry), kind); break;
    case ilk_source_file: lines = field_lines(*static_cast<source_file*>(entry), kind); break;
    case ilk_constant: {
      auto& e = *static_cast<constant*>(entry);
      lines = field_lines(e, kind);
      reorder_constant(lines, e);
      break;
    }
    case ilk_param_type:
      lines = field_lines(*static_cast<param_type*>(entry), kind);
      move_after(lines, "is_optional", "intent_out");
      break;
    case ilk_type: {
      auto& e = *static_cast<type*>(entry);
      lines = field_lines(e, kind);
      if (e.type_code == tk_farray) move_after(lines, "shape_kind", e.shape_kind <= as_shaped ? "bound.info" : "bound.args");
      break;
    }
    case ilk_label:
      lines = field_lines(*static_cast<label*>(entry), kind);
      drop_line(lines, "flag_bit1");
      break;
    case ilk_expr_node: {
      auto& e = *static_cast<expr_node*>(entry);
      lines = field_lines(e, kind);
      reorder_expr_node(lines, e);
      break;
    }
    case ilk_object: {
      auto& e = *static_cast<object*>(entry);
      lines = field_lines(e, kind);
      reorder_object(lines, e);
      break;
    }
    case ilk_interface: lines = field_lines(*static_cast<interface*>(entry), kind); break;
    case ilk_statement: {
      auto& e = *static_cast<statement*>(entry);
      lines = field_lines(e, kind);
      reorder_statement(lines, e);
      break;
    }
    case ilk_scope: lines = field_lines(*static_cast<scope*>(entry), kind); break;
    case ilk_bound_info_entry: reorder_bounds(lines, *static_cast<bound_info_entry*>(entry)); break;
    case ilk_do_loop: lines = field_lines(*static_cast<do_loop*>(entry), kind); break;
    case ilk_label_list_entry: lines = field_lines(*static_cast<label_list_entry*>(entry), kind); break;
    case ilk_object_list_member: lines = field_lines(*static_cast<object_list_member*>(entry), kind); break;
    case ilk_alloc: lines = field_lines(*static_cast<alloc*>(entry), kind); break;
    case ilk_case_range: lines = field_lines(*static_cast<case_range*>(entry), kind); break;
    case ilk_namelist_group: lines = field_lines(*static_cast<namelist_group*>(entry), kind); break;
    case ilk_input_output_description:
      lines = field_lines(*static_cast<input_output_description*>(entry), kind);
      break;
    case ilk_entry_description: lines = field_lines(*static_cast<entry_description*>(entry), kind); break;
    default: lines.push_back({"", "**BAD ENTRY KIND**"}); break;
  }
  return lines;
}

void put(const std::string& text) { std::fwrite(text.data(), 1, text.size(), il_dump.stream); }

// One entry: the head line, then its fields. Atoms show only where they are
// referred to.
void dump_il_entry_html(void* entry, int kind, uint32_t) {
  if (!entry || kind == ilk_atom) return;
  std::string name = dump_entry_name(entry, kind);
  if (il_dump.html) {
    put("<A NAME=\"" + name + "\"></A><B><U>" + name + "</U></B>");
  } else {
    put(name);
  }
  put(entry_title(entry, kind) + "\n");
  for (const DumpLine& line : entry_lines(entry, kind)) put(line.text + "\n");
}

}  // namespace

const char* il_entry_kind_name(int kind) {
  const char* name = kind >= ilk_il_header && kind <= ilk_entry_description ? il_kind_name(kind) : nullptr;
  return name ? name : "**BAD ENTRY KIND**";
}

std::string dump_entry_name(const void* entry, int kind) {
  if (!entry) return "NULL";
  uint32_t number = *static_cast<const il_entry_header*>(entry) & il_number_mask;
  return std::string(il_entry_kind_name(kind)) + "_" + std::to_string(number);
}

const char* type_code_name(int v) { return from_table(tk_names, v, "**BAD TYPE CODE**"); }
const char* shape_kind_name(int v) { return from_table(shape_kind_names, v, "**BAD shape KIND**"); }
const char* constant_kind_name(int v) { return from_table(ck_names, v, "**BAD CONSTANT REPR KIND**"); }
const char* expr_node_kind_name(int v) { return from_table(enk_names, v, "**BAD EXPR NODE KIND**"); }
const char* statement_kind_name(int v) { return from_table(stmk_names, v, "**BAD STATEMENT KIND**"); }
const char* io_format_kind_name(int v) { return from_table(iof_names, v, "**BAD IO FORMAT KIND**"); }
const char* label_kind_name(int v) { return from_table(lk_names, v, "**BAD LABEL KIND**"); }
const char* case_range_kind_name(int v) { return from_table(crk_names, v, "**BAD CASE RANGE KIND**"); }
const char* io_unit_kind_name(int v) { return from_table(iou_names, v, "**BAD IO UNIT KIND**"); }
const char* bound_kind_name(int v) { return from_table(bk_names, v, "**BAD BOUND KIND**"); }
const char* source_language_name(int v) { return from_table(sl_names, v, "**BAD SOURCE LANGUAGE**"); }
const char* storage_class_name(int v) { return from_table(sc_names, v, "**BAD STORAGE CLASS**"); }
const char* operator_kind_name(int v) { return from_table(eok_names, v, "**BAD OPERATOR KIND**"); }
const char* io_specifier_kind_name(int v) { return from_table(iosk_names, v, "**BAD IO SPECIFIER KIND**"); }
const char* intrinsic_name(int v) {
  const char* name = intrinsic_row_name(v);
  return name ? name : "**BAD INTRINSIC**";
}

std::string dump_quoted(const char* text, size_t length) {
  if (!text) return "NULL";
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c > 0x7E) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      out += buf;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (il_dump.html && c == '<') {
      out += "&lt;";
    } else if (il_dump.html && c == '>') {
      out += "&gt;";
    } else if (il_dump.html && c == '&') {
      out += "&amp;";
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

void dump_il_html(il_header* header) {
  if (il_dump.html) put("<PRE>\n");
  il_walk(header, ilk_il_header, il_entry_size(ilk_il_header), nullptr, dump_il_entry_html, nullptr,
          il_walk_noop);
  if (il_dump.html) put("</PRE>\n");
}
