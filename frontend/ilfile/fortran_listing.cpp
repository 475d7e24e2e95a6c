// The Fortran regeneration of a whole IL graph: a header comment with the
// INCLUDE lines, the file scope's declarations, then every program unit with
// its USE lines, declarations, interface blocks, statements and contained
// units. It is a view of the IL: I/O statements print as the calls that the
// IL holds for them. Expressions and constants are written by expr_text.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "frontend/model/line_map.h"
#include "frontend/ilfile/expr_text.h"
#include "frontend/ilfile/il_listings.h"
#include "frontend/ilfile/il_schema.h"
#include "frontend/model/types.h"

namespace {

// How deep units may be contained in one another and statements nested in
// one another; deeper graphs come only from damaged files and are cut off.
constexpr int max_unit_depth = 64;
constexpr int max_statement_depth = 2000;

struct FortranListState {
  const il_header* root;             // the graph printed (for the line lookup)
  const object* module;              // the module being printed, or null
  std::string label_field;           // five characters before a statement
  source_pos_record last_pos;        // position of the last statement printed
  const source_file* last_file;      // file named by the last line comment
  std::unordered_set<const object*> commons_declared;  // COMMON of this unit
  std::unordered_map<const statement*, const label*> statement_labels;
  int statement_depth;               // nesting of the statement printed
};
FortranListState fl;

void out(std::string_view text) { fortran_text.output(text); }

const char* name_of(const atom* a) { return a && a->text ? a->text : ""; }
const char* name_of(const object* o) { return o ? name_of(o->corresp.name) : ""; }

std::string expr_text(const expr_node* e) { return fortran_expr_text(e); }

// The type of a routine object, when it is a routine type.
const type* routine_type(const object* o) {
  return o && o->type && o->type->type_code == tk_routine ? o->type : nullptr;
}

bool is_function(const object* o) {
  const type* t = routine_type(o);
  return t && t->return_type && t->return_type->type_code != tk_void;
}

// ---- types ----

std::string kind_number(const type* t) {
  const kind_row* row = kind_row_of(il_kind_family(t->type_code), t->kind);
  return row ? std::to_string(row->kind_value) : "*";
}

std::string bound_text(const bound_record& b) {
  switch (b.kind) {
    case bk_constant: return std::to_string(b.value);
    case bk_expression:
    case bk_same_as: return expr_text(b.expr);
    case bk_assumed: return "*";
    default: return "";
  }
}

// "(l1:u1, l2:u2)" of a bounds block; a shape without a block shows its rank.
std::string bounds_text(const bound_info_entry* b, uint32_t rank) {
  std::string text = "(";
  for (uint32_t d = 0; d < rank; ++d) {
    if (d) text += ", ";
    if (b && d < b->rank) {
      text += bound_text(b->bounds[d]) + ":" + bound_text(b->bounds[b->rank + d]);
    } else {
      text += ":";
    }
  }
  return text + ")";
}

std::string type_spec(const type* t, int depth = 0) {
  if (!t || depth > max_unit_depth) return "unknown-type";
  switch (t->type_code) {
    case tk_integer: return "integer(" + kind_number(t) + ")";
    case tk_logical: return "logical(" + kind_number(t) + ")";
    case tk_float: return "real(" + kind_number(t) + ")";
    case tk_complex: return "complex(" + kind_number(t) + ")";
    case tk_fcharacter: {
      std::string length;
      if (t->length.kind == bk_constant) {
        length = std::to_string(static_cast<uint32_t>(t->length.value));
      } else if (t->length.kind == bk_assumed) {
        length = "*";
      } else if (t->length.kind == bk_expression || t->length.kind == bk_same_as) {
        length = expr_text(t->length.expr);
      } else {
        length = ":";
      }
      return "character(" + length + ", " + kind_number(t) + ")";
    }
    case tk_farray:
      return type_spec(t->element_type, depth + 1) + ", dimension" +
             bounds_text(t->shape_kind <= as_shaped ? t->bound_info.get() : nullptr, t->rank);
    case tk_derived_type:
      if (t->module && t->module != fl.module)
        return std::string("type (") + name_of(t->module) + "_" + name_of(t->corresp.name) + ")";
      return std::string("type (") + name_of(t->corresp.name) + ")";
    case tk_routine: return t->return_type ? type_spec(t->return_type, depth + 1) : "";
    case tk_error: return "error-type";
    default: return "unknown-type";
  }
}

// ---- statements ----

void put_label_field() {
  out(fl.label_field);
  out(" ");
  fl.label_field = "     ";
}

// A line comment with the source line of a statement whose position differs
// from the last one printed (and the file's name when the file changed).
void position_comment(const statement* s) {
  source_pos_record p = s->source_pos;
  if ((p.seq == 0 && p.column == 0) || (p.seq == fl.last_pos.seq && p.column == fl.last_pos.column)) return;
  fl.last_pos = p;
  source_file* file = nullptr;
  uint32_t line = 0;
  bool at_end = false;
  line_map_file(fl.root, p.seq, &file, &line, &at_end);
  out("! #line " + std::to_string(line));
  if (file != fl.last_file) {
    fl.last_file = file;
    out(" \"");
    out(file && file->file_name ? file->file_name : "");
    out("\"");
  }
  out("\n");
}

void print_statement(const statement* s);

void print_statements(const statement* first) {
  for (const statement* s = first; s; s = s->next) print_statement(s);
}

std::string label_name(const label* l) { return l ? name_of(l->corresp.name) : ""; }

std::string label_list_text(const label_list_entry* first) {
  std::string text;
  for (const label_list_entry* k = first; k; k = k->next) {
    if (!text.empty()) text += ", ";
    text += label_name(k->label);
  }
  return text;
}

// The end line of a construct, in the statement column.
void end_line(const char* text) {
  out("      ");
  out(text);
  out("\n");
}

std::string format_text(const input_output_description* io) {
  switch (io->format_kind) {
    case iof_format_label: return label_name(io->format_label);
    case iof_assigned_var:
    case iof_char_expr: return expr_text(io->format_expr);
    case iof_list_directed: return "*";
    case iof_namelist_directed:
      return io->format_namelist_group ? name_of(io->format_namelist_group->corresp.name) : "";
    default: return "";
  }
}

std::string unit_text(const input_output_description* io) {
  return io->unit_kind == iou_default ? "*" : expr_text(io->unit_expr);
}

// The specifier's keyword: its selector's name without the "iosk_" prefix.
std::string specifier_keyword(int code) {
  std::string name = io_specifier_kind_name(code);
  return name.rfind("iosk_", 0) == 0 ? name.substr(5) : name;
}

// "unit=u, fmt=f, iostat=v": the unit, the format and each specifier.
std::string control_list(const input_output_description* io) {
  std::string text = "unit=" + unit_text(io);
  if (io->format_kind == iof_namelist_directed) {
    text += ", nml=" + format_text(io);
  } else if (io->format_kind != iof_none && io->format_kind != iof_error) {
    text += ", fmt=" + format_text(io);
  }
  for (const expr_node* e = io->specifier_list; e; e = e->next) {
    text += ", " + (e->is_specifier ? specifier_keyword(e->specifier) : std::string("?")) + "=" +
            expr_text(e);
  }
  return text;
}

void print_io_statement(const statement* s) {
  static const char* const words[] = {"open (", "close (", "read ", "write (", "inquire (",
                                      "backspace (", "endfile (", "rewind ("};
  const input_output_description* io = s->io_descr;
  if (s->treated_as_io_initializer && (s->kind == stmk_read || s->kind == stmk_write)) {
    out(s->kind == stmk_read ? "init_read(" : "init_write(");
    if (io) out(unit_text(io) + ", " + format_text(io));
    out(")\n");
    return;
  }
  std::string items = s->expr ? " " + fortran_expr_text(s->expr) : "";
  if (s->expr && s->expr->next) {
    items = " ";
    bool any = false;
    for (const expr_node* e = s->expr; e; e = e->next) {
      if (any) items += ", ";
      items += expr_text(e);
      any = true;
    }
  }
  if (!io) {
    out(std::string(words[s->kind - stmk_open]) + ")" + items + "\n");
    return;
  }
  // A READ or WRITE on the default unit with only a format: "read f" or "print f".
  bool short_form = (s->kind == stmk_read || s->kind == stmk_write) && io->unit_kind == iou_default &&
                    !io->specifier_list && io->format_kind != iof_namelist_directed;
  if (short_form) {
    out(std::string(s->kind == stmk_read ? "read " : "print ") + format_text(io));
    if (!items.empty()) out("," + items);
    out("\n");
    return;
  }
  if (s->kind == stmk_read) {
    out("read (" + control_list(io) + ")" + items + "\n");
  } else {
    out(std::string(words[s->kind - stmk_open]) + control_list(io) + ")" + items + "\n");
  }
}

std::string case_range_text(const case_range* r) {
  std::string low = r->low ? fortran_constant_text(r->low) : "";
  std::string high = r->high ? fortran_constant_text(r->high) : "";
  switch (r->range_kind) {
    case crk_le: return ":" + (high.empty() ? low : high);
    case crk_ge: return low + ":";
    case crk_gl: return low + ":" + high;
    default: return low;
  }
}

std::string alloc_item_text(const alloc* a) {
  std::string text = expr_text(a->var);
  if (a->bounds) text += bounds_text(a->bounds, a->rank);
  return text;
}

void print_statement_body(const statement* s) {
  switch (s->kind) {
    case stmk_expr: {
      put_label_field();
      const expr_node* e = s->expr;
      if (e && (e->node_kind == enk_call || e->node_kind == enk_generic_call)) out("call ");
      out(expr_text(e) + "\n");
      break;
    }
    case stmk_if:
      put_label_field();
      out("if(" + expr_text(s->expr) + ") then\n");
      print_statement(s->then_statement);
      if (s->else_statement) {
        end_line("else");
        print_statement(s->else_statement);
      }
      end_line("end if");
      break;
    case stmk_while:
      put_label_field();
      out("do while (" + expr_text(s->expr) + ")\n");
      print_statement(s->body_statement);
      end_line("end do");
      break;
    case stmk_goto:
      put_label_field();
      out("go to " + label_name(s->label) + "\n");
      break;
    case stmk_label:
      if (s->label && s->label->corresp.name) {
        put_label_field();
        // A statement label (digits) marks a CONTINUE, which carries the label
        // in its label field; any other name is a construct name.
        std::string name = label_name(s->label);
        out(name[0] >= '0' && name[0] <= '9' ? std::string("continue\n") : name + ":\n");
      }
      break;
    case stmk_return:
    case stmk_alt_return:
      put_label_field();
      out("return");
      if (s->expr) out(" " + expr_text(s->expr));
      out("\n");
      break;
    case stmk_block:
      if (fl.label_field != "     ") {
        // A labelled block: the label goes on a statement of its own.
        put_label_field();
        out("continue\n");
      }
      print_statements(s->statements);
      break;
    case stmk_fentry: {
      const entry_description* e = s->entry_descr;
      put_label_field();
      out("entry ");
      if (e) {
        out(name_of(e->assoc_routine));
        std::string list = "(";
        for (const object_list_member* m = e->parameters; m; m = m->next) {
          if (list.size() > 1) list += ", ";
          const object* p = m->object;
          list += p && !(p->type && p->type->type_code == tk_stmt_label) ? name_of(p) : "*";
        }
        out(list + ")");
        if (e->function_result_var && e->assoc_routine &&
            std::string(name_of(e->function_result_var)) != name_of(e->assoc_routine))
          out(std::string(" result (") + name_of(e->function_result_var) + ")");
      }
      out("\n");
      break;
    }
    case stmk_ido:
    case stmk_fdo: {
      put_label_field();
      out("do ");
      write_fortran_loop_control(s->loop);
      out("\n");
      print_statement(s->loop_statement);
      end_line("end do");
      break;
    }
    case stmk_iarith_if:
    case stmk_farith_if:
      put_label_field();
      out("if (" + expr_text(s->expr) + ") " + label_list_text(s->label_list) + "\n");
      break;
    case stmk_computed_goto:
      put_label_field();
      out("go to (" + label_list_text(s->label_list) + ") " + expr_text(s->expr) + "\n");
      break;
    case stmk_assigned_goto:
      put_label_field();
      out("go to " + expr_text(s->expr));
      if (s->label_list) out(" (" + label_list_text(s->label_list) + ")");
      out("\n");
      break;
    case stmk_stop:
    case stmk_pause:
      put_label_field();
      out(s->kind == stmk_stop ? "stop " : "pause ");
      if (s->stop_pause_string) out(fortran_constant_text(s->stop_pause_string));
      out("\n");
      break;
    case stmk_select:
      put_label_field();
      out("select case(" + expr_text(s->expr) + ")\n");
      print_statement(s->body_statement);
      end_line("end select");
      break;
    case stmk_case: {
      put_label_field();
      if (s->case_range_list) {
        std::string list;
        for (const case_range* r = s->case_range_list; r; r = r->next) {
          if (!list.empty()) list += ", ";
          list += case_range_text(r);
        }
        out("case (" + list + ")\n");
      } else {
        out("case default\n");
      }
      print_statements(s->statements);
      break;
    }
    case stmk_exit:
    case stmk_cycle: {
      put_label_field();
      out(s->kind == stmk_exit ? "exit" : "cycle");
      const statement* c = s->constr_label;
      if (c && c->kind == stmk_label && c->label && c->label->corresp.name) out(" " + label_name(c->label));
      out("\n");
      break;
    }
    case stmk_where:
      put_label_field();
      out("where (" + expr_text(s->expr) + ")\n");
      print_statement(s->where_assignment);
      if (s->elsewhere_assignment) {
        end_line("elsewhere");
        print_statement(s->elsewhere_assignment);
      }
      end_line("end where");
      break;
    case stmk_alloc: {
      put_label_field();
      std::string list;
      for (const alloc* a = s->alloc_list; a; a = a->next) {
        if (!list.empty()) list += ", ";
        list += alloc_item_text(a);
      }
      if (s->stat_variable) list += ", stat=" + expr_text(s->stat_variable);
      out("allocate (" + list + ")\n");
      break;
    }
    case stmk_dealloc: {
      put_label_field();
      std::string list;
      for (const expr_node* e = s->dealloc_list; e; e = e->next) {
        if (!list.empty()) list += ", ";
        list += expr_text(e);
      }
      if (s->stat_variable) list += ", stat=" + expr_text(s->stat_variable);
      out("deallocate (" + list + ")\n");
      break;
    }
    case stmk_nullify: {
      put_label_field();
      std::string list;
      for (const expr_node* e = s->expr; e; e = e->next) {
        if (!list.empty()) list += ", ";
        list += expr_text(e);
      }
      out("nullify (" + list + ")\n");
      break;
    }
    case stmk_set_array_shape:
      // Made from the declaration of an automatic array, which the
      // declarations above already print: a comment keeps the place.
      out("!     array shape of " + std::string(name_of(s->array_variable)) + "\n");
      break;
    case stmk_set_char_length:
      out("!     character length of " + std::string(name_of(s->string_variable)) + "\n");
      break;
    case stmk_io_item:
      put_label_field();
      out("io_process(" + expr_text(s->expr) + ")\n");
      break;
    case stmk_io_term:
      put_label_field();
      out("finish_io_processing\n");
      break;
    default:
      if (s->kind >= stmk_open && s->kind <= stmk_rewind) {
        put_label_field();
        print_io_statement(s);
      }
      break;
  }
}

void print_statement(const statement* s) {
  if (!s || fl.statement_depth >= max_statement_depth) return;
  ++fl.statement_depth;
  position_comment(s);
  auto it = fl.statement_labels.find(s);
  if (it != fl.statement_labels.end()) {
    std::string name = label_name(it->second);
    if (name.size() < 5) name = std::string(5 - name.size(), ' ') + name;
    fl.label_field = name;
  }
  print_statement_body(s);
  --fl.statement_depth;
}

// ---- declarations ----

std::string access_text(bool is_public) { return is_public ? ", public" : ", private"; }

// The optional and intent words of a dummy argument.
std::string dummy_words(bool is_optional, bool intent_in, bool intent_out) {
  std::string text = is_optional ? ", optional" : "";
  if (intent_in && intent_out) return text + ", intent(inout)";
  if (intent_in) return text + ", intent(in)";
  if (intent_out) return text + ", intent(out)";
  return text;
}

// The attribute words of an object after its type spec.
std::string attribute_words(const object* o, bool in_module) {
  std::string text;
  if (in_module && o->storage_class != sc_type_field) text += access_text(o->is_public);
  if (o->is_target) text += ", target";
  if (o->is_pointer) text += ", pointer";
  if (o->is_allocatable) text += ", allocatable";
  if (o->is_saved) text += ", save";
  return text + dummy_words(o->is_optional, o->intent_in, o->intent_out);
}

// The name of the storage an associated object lies in: the COMMON block's
// name, or "assoc_N" for storage without a name.
std::string storage_name(const object* base) {
  if (base->corresp.name && base->corresp.name->text && *base->corresp.name->text) return name_of(base);
  return "assoc_" + std::to_string(base->header & il_number_mask);
}

void print_common(const object* base) {
  if (!base || !fl.commons_declared.insert(base).second) return;
  std::string name = storage_name(base);
  out("      character:: " + name + "\n");
  if (base->storage_class == sc_common) out("      common /" + name + "/ " + name + "\n");
}

void print_declaration(const object* o, bool in_module) {
  const type* t = o->type;
  if (!t) return;
  if (o->is_result && t->type_code == tk_unknown) return;
  if (t->type_code == tk_association || t->type_code == tk_stmt_label) return;
  switch (o->storage_class) {
    case sc_local:
    case sc_type_field:
    case sc_associated:
    case sc_external:
      break;
    default:
      return;  // no declaration: use association, module procedures, units
  }
  std::string head = "      " + type_spec(t) + attribute_words(o, in_module);
  switch (o->storage_class) {
    case sc_local:
    case sc_type_field:
      out(head + ":: " + name_of(o));
      break;
    case sc_associated:
      out(head + ":: " + name_of(o) + "\n");
      if (o->assoc_variable) {
        print_common(o->assoc_variable);
        out("      equivalence (" + storage_name(o->assoc_variable) + ", " + name_of(o) + "(" +
            std::to_string(static_cast<uint32_t>(o->association_offset)) + "))");
      }
      break;
    case sc_external:
      if (is_function(o)) {
        out(head + ", external:: " + name_of(o));
      } else {
        out("      external " + std::string(name_of(o)));
      }
      break;
    default:
      break;
  }
  if (!o->is_result && o->initializer &&
      (o->storage_class == sc_local || o->storage_class == sc_type_field))
    out("=" + fortran_constant_text(o->initializer));
  out("\n");
}

void print_named_constants(const scope* sc) {
  for (const object* o = sc->objects; o; o = o->next) {
    // A constant that USE brings is named by its USE line.
    if (!o->is_constant || o->storage_class == sc_use_associated) continue;
    out("      " + type_spec(o->type) + ", parameter:: " + name_of(o) + " = " +
        fortran_constant_text(o->initializer) + "\n");
  }
}

void print_derived_type(const type* t, bool in_module) {
  out("      type");
  out(in_module ? access_text(t->is_public) + " :: " : " ");
  out(std::string(name_of(t->corresp.name)) + "\n");
  if (t->is_seq) out("      sequence\n");
  if (in_module && t->first_field && !t->first_field->is_public) out("      private\n");
  for (const object* f = t->first_field; f; f = f->next) print_declaration(f, in_module);
  out(std::string("      end type ") + name_of(t->corresp.name) + "\n");
}

// ---- units ----

std::string dummy_list(const object* unit) {
  std::string text = "(";
  bool any = false;
  const scope* sc = unit->assoc_scope;
  if (sc) {
    for (const object_list_member* m = sc->parameters; m; m = m->next) {
      if (any) text += ", ";
      const object* p = m->object;
      text += p && !(p->type && p->type->type_code == tk_stmt_label) ? name_of(p) : "*";
      any = true;
    }
  } else if (const type* t = routine_type(unit)) {
    for (const param_type* p = t->param_type_list; p; p = p->next) {
      if (any) text += ", ";
      text += p->type && p->type->type_code == tk_stmt_label ? "*" : name_of(p->corresp.name);
      any = true;
    }
  }
  return text + ")";
}

void print_heading(const object* unit) {
  out("      ");
  switch (unit->storage_class) {
    case sc_external:
    case sc_internal:
    case sc_unspecified: {
      const type* t = routine_type(unit);
      if (t && t->is_recursive) out("recursive ");
      if (is_function(unit)) {
        out(std::string("function ") + name_of(unit) + dummy_list(unit));
        const scope* sc = unit->assoc_scope;
        if (sc && sc->function_result_var &&
            std::string(name_of(sc->function_result_var)) != name_of(unit))
          out(std::string(" result (") + name_of(sc->function_result_var) + ")");
      } else {
        out(std::string("subroutine ") + name_of(unit) + dummy_list(unit));
      }
      break;
    }
    case sc_module: out(std::string("module ") + name_of(unit)); break;
    case sc_program:
      if (*name_of(unit)) {
        out(std::string("program ") + name_of(unit));
      } else {
        out("!  unnamed  program");
      }
      break;
    case sc_blockdata: out(std::string("block data ") + name_of(unit)); break;
    case sc_intrinsic: out(std::string("intrinsic ") + name_of(unit)); break;
    case sc_mod_proc:
      out(std::string("module procedure ") + name_of(unit->assoc_module) + "_" + name_of(unit));
      break;
    default: break;
  }
  out("\n");
}

void print_end_line(const object* unit) {
  const char* word = "";
  switch (unit->storage_class) {
    case sc_external:
    case sc_internal:
    case sc_unspecified: word = is_function(unit) ? "function" : "subroutine"; break;
    case sc_module: word = "module"; break;
    case sc_program: word = "program"; break;
    case sc_blockdata: word = "block data"; break;
    default: return;
  }
  out(std::string("      end ") + word + " " + name_of(unit) + "\n");
}

void print_unit(const object* unit, int depth);

// An interface block: the generic name and each specific's heading, dummy
// declarations and end line.
void print_interface(const interface* itf) {
  out(std::string("      interface ") + name_of(itf->corresp.name) + "\n");
  for (const object_list_member* m = itf->routine_prototype_list; m; m = m->next) {
    const object* r = m->object;
    if (!r) continue;
    if (r->storage_class == sc_internal) {
      // A procedure of the module itself is named, not described again.
      out(std::string("      module procedure ") + name_of(r) + "\n");
      continue;
    }
    print_heading(r);
    if (r->storage_class == sc_mod_proc) continue;
    if (const type* t = routine_type(r)) {
      for (const param_type* p = t->param_type_list; p; p = p->next) {
        if (p->type && p->type->type_code == tk_stmt_label) continue;
        out("      " + type_spec(p->type) + dummy_words(p->is_optional, p->intent_in, p->intent_out) +
            ":: " + name_of(p->corresp.name) + "\n");
      }
      if (is_function(r)) out("      " + type_spec(t->return_type) + ":: " + name_of(r) + "\n");
    }
    print_end_line(r);
  }
  out("      end interface\n");
}

// The labels of a scope's statements, so that each statement carries its own.
void collect_labels(const scope* sc) {
  for (const label* l = sc->labels; l; l = l->next) {
    if ((l->kind == lk_executable || l->kind == lk_control || l->kind == lk_else_or_elseif) && l->exec_stmt)
      fl.statement_labels.emplace(l->exec_stmt, l);
  }
}

void print_format(const label* l) {
  out("      " + label_name(l) + " format ");
  const constant* c = l->format_constant;
  if (!c || c->kind != ck_value || !c->value || !c->type) {
    out("<illegal format>\n");
    return;
  }
  uint32_t n = character_constant_length(c);
  std::string text;
  for (uint32_t i = 0; i < n; ++i) {
    unsigned char ch = c->value[i];
    if (ch >= 0x20 && ch < 0x7F) {
      text += static_cast<char>(ch);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", ch);
      text += buf;
    }
  }
  out(text + "\n");
}

// The module a generic interface came from when all its specifics are
// procedures of that other module; null otherwise.
const object* imported_generic_module(const interface* itf) {
  const object* from = nullptr;
  for (const object_list_member* m = itf->routine_prototype_list; m; m = m->next) {
    const object* o = m->object;
    if (!o || o->storage_class != sc_mod_proc || !o->assoc_module || o->assoc_module == fl.module) return nullptr;
    if (from && from != o->assoc_module) return nullptr;
    from = o->assoc_module;
  }
  return from;
}

void print_body(const object* unit, int depth) {
  const scope* sc = unit->assoc_scope;
  bool in_module = unit->storage_class == sc_module;
  // 1. USE lines for what other modules give the unit.
  for (const type* t = sc->types; t; t = t->next) {
    if (t->type_code == tk_derived_type && t->module && t->module != fl.module)
      out(std::string("      use ") + name_of(t->module) + ", only: " + name_of(t->module) + "_" +
          name_of(t->corresp.name) + " => " + name_of(t->corresp.name) + "\n");
  }
  for (const object* o = sc->objects; o; o = o->next) {
    if (o->storage_class == sc_use_associated || o->storage_class == sc_mod_proc)
      out(std::string("      use ") + name_of(o->assoc_module) + ", only: " + name_of(o->assoc_module) +
          "_" + name_of(o) + " => " + name_of(o) + "\n");
  }
  for (const interface* i = sc->interfaces; i; i = i->next)
    if (const object* from = imported_generic_module(i))
      out(std::string("      use ") + name_of(from) + ", only: " + name_of(i->corresp.name) + "\n");
  // 2. Named constants, 3. derived types.
  print_named_constants(sc);
  for (const type* t = sc->types; t; t = t->next) {
    if (t->type_code == tk_derived_type && (in_module ? t->module == unit || !t->module : !t->module))
      print_derived_type(t, in_module);
  }
  // 4. Declarations (internal routines come with CONTAINS).
  for (const object* o = sc->objects; o; o = o->next) {
    if (o->is_constant || o->storage_class == sc_internal || o == unit) continue;
    print_declaration(o, in_module);
  }
  // 5. NAMELIST groups.
  for (const namelist_group* n = sc->namelist_groups; n; n = n->next) {
    out(std::string("      namelist /") + name_of(n->corresp.name) + "/ ");
    write_fortran_list(n->member_list);
    out("\n");
  }
  // 6. FORMAT statements.
  for (const label* l = sc->labels; l; l = l->next)
    if (l->kind == lk_format) print_format(l);
  // 7. Interface blocks; a generic made of other modules' procedures came
  // with USE and is named on a USE line instead.
  for (const interface* i = sc->interfaces; i; i = i->next)
    if (!imported_generic_module(i)) print_interface(i);
  // 8. The statements.
  collect_labels(sc);
  print_statement(sc->assoc_block);
  // 9. Contained units: the internal routines of the scope, and in a module
  // the module's procedures, which its generic interfaces name.
  std::vector<const object*> contained;
  for (const object* o = sc->objects; o; o = o->next)
    if (o->storage_class == sc_internal && o->assoc_scope) contained.push_back(o);
  if (in_module) {
    for (const interface* i = sc->interfaces; i; i = i->next)
      for (const object_list_member* m = i->routine_prototype_list; m; m = m->next) {
        const object* o = m->object;
        if (o && o->storage_class == sc_internal && o->assoc_scope &&
            std::find(contained.begin(), contained.end(), o) == contained.end())
          contained.push_back(o);
      }
  }
  if (!contained.empty()) out("      contains\n");
  for (const object* o : contained) print_unit(o, depth + 1);
}

void print_unit(const object* unit, int depth) {
  if (!unit || !unit->assoc_scope || depth > max_unit_depth) return;
  const object* saved_module = fl.module;
  if (unit->storage_class == sc_module) fl.module = unit;
  print_heading(unit);
  print_body(unit, depth);
  print_end_line(unit);
  out("\n");
  fl.module = saved_module;
}

bool is_unit_object(const object* o) {
  switch (o->storage_class) {
    case sc_external:
    case sc_module:
    case sc_program:
    case sc_blockdata:
    case sc_unspecified:
      return o->assoc_scope != nullptr;
    default:
      return false;
  }
}

// A unit of the file scope: COMMON blocks and labels are its own.
void print_file_unit(const object* unit) {
  fl.commons_declared.clear();
  fl.statement_labels.clear();
  print_unit(unit, 0);
}

}  // namespace

void print_il_as_fortran(il_header* header) {
  set_fortran_output(nullptr);
  fl = FortranListState{};
  fl.root = header;
  fl.label_field = "     ";
  if (!header) return;
  const source_file* primary = header->primary_source_file;
  out(std::string("!     Source file ") + (primary && primary->full_name ? primary->full_name : "") + "\n\n");
  if (primary) {
    for (const source_file* f = primary->first_child_file; f; f = f->next)
      if (f->full_name) out(std::string("include '") + f->full_name + "'\n");
  }
  const scope* file_scope = header->primary_scope;
  if (!file_scope) return;
  for (const type* t = file_scope->types; t; t = t->next)
    if (t->type_code == tk_derived_type) print_derived_type(t, false);
  print_named_constants(file_scope);
  for (const object* o = file_scope->objects; o; o = o->next) {
    if (!o->is_constant && (o->storage_class == sc_local || o->storage_class == sc_associated))
      print_declaration(o, false);
  }
  bool main_listed = false;
  for (const object* o = file_scope->objects; o; o = o->next) {
    if (!is_unit_object(o)) continue;
    main_listed = main_listed || o == header->main_routine;
    print_file_unit(o);
  }
  // The main program is reached through the header alone.
  if (!main_listed && header->main_routine && is_unit_object(header->main_routine))
    print_file_unit(header->main_routine);
}
