// The TVX 2.0 program database: the passes over the IL graph read from a file
// and the blocks and items they write on the database stream. The walks that
// drive the passes are in tvx_walks.cpp.
#include "ilshow/il_display_kvt.h"

#include <charconv>
#include <iterator>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/huge_pages.h"
#include "frontend/model/line_map.h"
#include "frontend/model/il_enums.h"
#include "frontend/model/il_walk.h"
#include "frontend/model/types.h"
#include "ilshow/tvx_chain.h"

TvxState tvx;

namespace {

struct TypeCodeRow {
  const char* kind_word;   // value of ykind and gkind; null: no type block
  const char* angle_text;  // "  <text>" in type texts; null: shown otherwise
};
constexpr TypeCodeRow type_code_rows[] = {
#define TVX_TYPE(code, kind_word, angle_text) {kind_word, angle_text},
#include "ilshow/tvx_type_codes.def"
};
static_assert(std::size(type_code_rows) == tk_count);

// Nesting of type texts that contain type texts (results, elements); a deeper
// one only comes from a type that contains itself.
constexpr int max_type_text_depth = 200;
// Nesting of INCLUDE files far beyond what a compilation can hold.
constexpr uint32_t max_include_depth = 10000;

// Text goes out a whole line at a time, so that a run ended by a damaged
// entry leaves no half-written line behind. Whole lines gather in the line
// buffer and go to the stream some 64 KB at a time, and all of them before
// the run ends.
constexpr size_t lines_per_write = size_t{1} << 16;

void out(std::string_view text) {
  tvx.line.append(text);
  size_t last = text.rfind('\n');
  if (last == std::string_view::npos) return;  // the line goes on
  tvx.whole_lines = tvx.line.size() - text.size() + last + 1;
  if (tvx.whole_lines >= lines_per_write) tvx_write_lines();
}

// A number in decimal, as std::to_string writes it.
void out_number(uint64_t v) {
  char digits[24];
  auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  tvx.line.append(digits, static_cast<size_t>(end - digits));
}

uint32_t index_of(const void* entry) {
  return *static_cast<const il_entry_header*>(entry) & il_number_mask;
}

const char* atom_text(const atom* a) { return a ? a->text : nullptr; }

bool is_printable(unsigned char c) { return c >= 0x20 && c < 0x7F; }

// ---- values ----

// A position as three values: " so#N line column", or " NULL 0 0" when no
// file holds the line.
void out_pos(source_pos_record pos) {
  source_file* file = nullptr;
  uint32_t line = 0;
  bool at_end = false;
  if (pos.seq != 0) line_map_file(&tvx.header, pos.seq, &file, &line, &at_end);
  if (!file) {
    out(" NULL 0 0");
    return;
  }
  out(" so#");
  out_number(index_of(file));
  out(" ");
  out_number(line);
  out(" ");
  out_number(pos.column);
}

// The text of a reference before its number ("so#", "ty#1", ...).
const char* reference_prefix(const void* entry, int kind) {
  switch (kind) {
    case ilk_source_file: return "so#";
    case ilk_type:
      return static_cast<const type*>(entry)->type_code == tk_derived_type ? "gr#1" : "ty#1";
    case ilk_object: {
      uint32_t sc = static_cast<const object*>(entry)->storage_class;
      if (sc == sc_module) return "gr#2";
      if (tvx_is_routine_class(sc)) return "ro#2";
      tvx_fail("FALSE");
    }
    case ilk_interface: return "ro#3";
    default: tvx_fail("FALSE");
  }
}

void out_ref(const void* entry, int kind) {
  if (!entry) {
    out(" NULL");
    return;
  }
  out(" ");
  out(reference_prefix(entry, kind));
  out_number(index_of(entry));
}

void out_item_ref(const char* keyword, const void* entry, int kind) {
  out(keyword);
  out_ref(entry, kind);
  out("\n");
}

void out_access(const char* keyword, bool is_public) {
  out(keyword);
  out(is_public ? " pub\n" : " priv\n");
}

// A flag item is only written when its value is true.
void out_flag_item(const char* keyword, bool value) {
  if (value) {
    out(keyword);
    out(" T\n");
  }
}

// The pointer type to t ("ty#3N"), which gets its block in the last pass.
void out_pointer_ref(const type* t) {
  if (!t) tvx_fail("FALSE");
  const_cast<type*>(t)->used_as_pointer = true;
  out(" ty#3" + std::to_string(index_of(t)));
}

// A type as its pointer type when the entity is a pointer, else as itself.
void out_type_ref(const type* t, bool is_pointer) {
  if (is_pointer) {
    out_pointer_ref(t);
  } else {
    out_ref(t, ilk_type);
  }
}

std::string bound_text(const bound_record& b) {
  switch (b.kind) {
    case bk_constant: return " " + std::to_string(b.value);
    case bk_expression:
    case bk_undefined:
    case bk_same_as: return " NA";
    case bk_assumed: return " *";
    default: tvx_fail("FALSE");
  }
}

// The location item of an entity with a declaration position; its prefix
// names the kind of block being written.
void out_loc(const source_corresp& corresp) {
  if (corresp.decl_position.seq == 0) return;
  switch (tvx.pass) {
    case 1:
    case 3: out("rloc"); break;
    case 4: out("yloc"); break;
    case 5:
    case 7: out("gloc"); break;
    case 6:
    case 8: out("gmloc"); break;
    default: tvx_fail("FALSE");
  }
  out_pos(corresp.decl_position);
  out("\n");
}

const TypeCodeRow& type_code_row(const type* t) {
  if (t->type_code >= tk_count) tvx_fail("FALSE");
  return type_code_rows[t->type_code];
}

// The KIND value shown for a type's row of its family, or "ANY_KIND".
std::string kind_text(const type* t, int family) {
  if (t->kind == any_kind) return "ANY_KIND";
  const kind_row* row = kind_row_of(family, t->kind);
  if (!row) tvx_fail("FALSE");
  return std::to_string(static_cast<uint32_t>(row->kind_value));
}

// The length of a CHARACTER type: a "same as" length must lead to an
// assumed-length dummy, whose length is "*".
std::string char_length_text(const type* t) {
  if (t->length.kind == bk_same_as) {
    const expr_node* e = t->length.expr;
    if (!e) tvx_fail("ptr->variant.adjustable_bound != NULL");
    if (e->node_kind != enk_object || !e->object)
      tvx_fail("(ptr->variant.adjustable_bound)->variant.object != NULL");
    const type* ot = e->object->type;
    if (!ot) tvx_fail("((ptr->variant.adjustable_bound)->variant.object)->type != NULL");
    if (ot->type_code != tk_fcharacter || ot->length.kind != bk_assumed)
      tvx_fail("((((ptr->variant.adjustable_bound)->variant.object)->type)->variant.fcharacter.length).kind == bk_assumed");
  }
  const bound_record* len = char_len_record(const_cast<type*>(t));
  if (!len) return "";
  switch (len->kind) {
    case bk_constant: return std::to_string(static_cast<uint32_t>(len->value));
    case bk_expression: {
      std::string text = fortran_expr_text(len->expr);
      if (fortran_text.overflow) tvx_fail("FALSE");
      return text;
    }
    case bk_assumed: return "*";
    default: return "";
  }
}

std::string type_text(const type* t, int depth) {
  if (!t) return "";
  if (depth > max_type_text_depth) tvx_fail("FALSE");
  if (t->type_code >= tk_count) tvx_fail("FALSE");  // " **BAD TYPE SPECIFIER KIND**"
  switch (t->type_code) {
    case tk_void: return " void";
    case tk_integer: return " integer(" + kind_text(t, kf_integer) + ")";
    case tk_logical: return " logical(" + kind_text(t, kf_logical) + ")";
    case tk_float: return " float(" + kind_text(t, kf_real) + ")";
    case tk_complex: return " complex(" + kind_text(t, kf_real) + ")";
    case tk_fcharacter:
      return " character(" + char_length_text(t) + "," + kind_text(t, kf_character) + ")";
    case tk_routine: return type_text(t->return_type, depth + 1) + "()";
    case tk_farray: return type_text(t->element_type, depth + 1) + "[]";
    case tk_derived_type:
      return t->corresp.name ? " " + tvx_escaped_name(t->corresp.name->text) : "";
    case tk_association: return " association(" + std::to_string(t->size) + ")";
    default: return std::string("  <") + type_code_rows[t->type_code].angle_text + ">";
  }
}

// ---- blocks ----

// The head line of a block: its reference at the start of the line.
void begin_block(const void* entry, int kind) {
  out("\n");
  out(tvx_reference(entry, kind));
}

void write_source_file_block(source_file* f) {
  begin_block(f, ilk_source_file);
  out(" " + tvx_escaped_name(f->file_name) + "\n");
  tvx_for_chain(f->first_child_file, [f](source_file* child) {
    out_item_ref("sinc", child, ilk_source_file);
    return child != f->last_child_file;
  });
}

// One "ralias" item for each interface of the list that names the routine.
void out_aliases(interface* interfaces, const object* routine) {
  tvx_for_chain(interfaces, [routine](interface* itf) {
    bool names_it = false;
    tvx_for_chain(itf->routine_prototype_list, [&](object_list_member* m) {
      if (m->object == routine) names_it = true;
      return !names_it;
    });
    if (names_it) out_item_ref("ralias", itf, ilk_interface);
    return true;
  });
}

void check_routine_object(const object* o) {
  if (!o->type || o->type->type_code != tk_routine) tvx_fail("ptr->type->type_code == tk_routine");
  if (o->is_result) tvx_fail("ptr->is_result == FALSE");
  if (o->is_auto) tvx_fail("ptr->is_auto == FALSE");
  if (o->is_target) tvx_fail("ptr->is_target == FALSE");
  if (o->is_allocatable) tvx_fail("ptr->is_allocatable == FALSE");
  if (o->is_saved) tvx_fail("ptr->is_saved == FALSE");
  if (o->is_optional) tvx_fail("ptr->is_optional == FALSE");
  if (o->intent_in) tvx_fail("ptr->intent_in == FALSE");
  if (o->intent_out) tvx_fail("ptr->intent_out == FALSE");
  if (o->is_fortran_entry) tvx_fail("ptr->is_fortran_entry == FALSE");
  if (o->is_constant) tvx_fail("ptr->is_constant == FALSE");
}

const char* routine_kind_word(uint32_t sc) {
  switch (sc) {
    case sc_external: return " fext";
    case sc_program: return " fprog";
    case sc_blockdata: return " fbldat";
    case sc_internal: return " fint";
    case sc_stmt_func: return " fstfn";
    case sc_mod_proc: return " fmproc";
    case sc_unspecified: return " funspec";
    default: tvx_fail("FALSE");
  }
}

void write_routine_block(object* o) {
  check_routine_object(o);
  begin_block(o, ilk_object);
  out(" " + tvx_escaped_name(atom_text(o->corresp.name)) + "\n");
  out_loc(o->corresp);
  uint32_t sc = o->storage_class;
  if (sc == sc_internal || sc == sc_stmt_func) {
    object* host = o->assoc_routine;
    if (!host) tvx_fail("ptr->assoc.routine != NULL");
    out_item_ref(host->storage_class == sc_module ? "rgroup" : "rroutine", host, ilk_object);
    out_access("racs", o->is_public);
    if (host->assoc_scope) out_aliases(host->assoc_scope->interfaces, o);
  } else if (sc == sc_mod_proc) {
    if (!o->assoc_module) tvx_fail("ptr->assoc.module != NULL");
    out_item_ref("rgroup", o->assoc_module, ilk_object);
    out_access("racs", o->is_public);
    if (tvx.current_scope) out_aliases(tvx.current_scope->interfaces, o);
  }
  out_item_ref("rsig", o->type, ilk_type);
  out(sc == sc_internal || sc == sc_stmt_func ? "rlink fint\n" : "rlink f90\n");
  out("rkind");
  out(routine_kind_word(sc));
  out("\n");
  out_flag_item("rarginfo", o->type->has_param_info);
  out_flag_item("rrec", o->type->is_recursive);
  out_flag_item("riselem", o->type->is_elemental);
  scope* body = o->assoc_scope;
  if (body && body->assoc_block) {
    statement* block = body->assoc_block;
    out("rpos");
    out_pos(block->source_pos);
    out(" NULL 0 0 NULL 0 0 NULL 0 0\n");
    statement* first = nullptr;
    if (block->kind == stmk_block) {
      tvx_for_chain(block->statements, [&first](statement* s) {
        if (s->kind != stmk_set_array_shape) first = s;
        return first == nullptr;
      });
    }
    if (first) {
      out("rstart");
      out_pos(first->source_pos);
      out("\n");
    }
  }
}

void write_module_block(object* m) {
  if (m->assoc_routine) tvx_fail("ptr->assoc.routine == NULL");
  begin_block(m, ilk_object);
  out(" " + tvx_escaped_name(atom_text(m->corresp.name)) + "\n");
  out_loc(m->corresp);
  out("gkind fmodule\n");
  scope* s = m->assoc_scope;
  if (!s) return;
  tvx.pass = 8;
  tvx_for_chain(s->objects, [m](object* o) {
    if (o->storage_class == sc_intrinsic) tvx_fail("FALSE");
    if (tvx_is_routine_class(o->storage_class)) {
      out("gfunc");
      out_ref(o, ilk_object);
      out_pos(o->corresp.decl_position);
      out("\n");
      return true;
    }
    out("gmem " + tvx_escaped_name(atom_text(o->corresp.name)) + "\n");
    out_loc(o->corresp);
    if (o->storage_class == sc_use_associated && o->assoc_module && o->assoc_module != m)
      out_item_ref("gmgroup", o->assoc_module, ilk_object);
    out_access("gmacs", o->is_public);
    out(o->is_saved ? "gmkind statvar\n" : "gmkind var\n");
    out_flag_item("gmconst", o->is_constant);
    out("gmtype");
    out_type_ref(o->type, o->is_pointer);
    out("\n");
    return true;
  });
  tvx_for_chain(s->interfaces, [](interface* itf) {
    out("gfunc");
    out_ref(itf, ilk_interface);
    out_pos(itf->corresp.decl_position);
    out("\n");
    return true;
  });
  tvx_for_chain(s->types, [](type* t) {
    out("gmem" + tvx_type_text(t) + "\n");
    out_loc(t->corresp);
    out_access("gmacs", t->is_public);
    out("gmkind type\n");
    out_item_ref("gmtype", t, ilk_type);
    return true;
  });
  tvx.pass = 7;
}

void write_interface_block(interface* itf) {
  object_list_member* first = itf->routine_prototype_list;
  if (!first) tvx_fail("ptr->routine_prototype_list != NULL");
  object* specific = first->object;
  if (!specific) tvx_fail("ptr->routine_prototype_list->object != NULL");
  if (itf->inherited) tvx_fail("ptr->inherited == NULL");
  begin_block(itf, ilk_interface);
  out(" " + tvx_escaped_name(atom_text(itf->corresp.name)) + "\n");
  out_loc(itf->corresp);
  switch (specific->storage_class) {
    case sc_internal:
    case sc_stmt_func: out_item_ref("rgroup", specific->assoc_routine, ilk_object); break;
    case sc_mod_proc: out_item_ref("rgroup", specific->assoc_module, ilk_object); break;
    case sc_external:
      if (specific->assoc_routine) tvx_fail("ptr->routine_prototype_list->object->assoc.routine == NULL");
      break;
    default: tvx_fail("FALSE");
  }
  out_access("racs", itf->is_public);
  out("rkind falias\n");
  tvx_for_chain(first, [](object_list_member* m) {
    out_item_ref("rimpl", m->object, ilk_object);
    return true;
  });
}

// The kind index item of a numeric, logical or character type block.
void out_kind_index(const char* keyword, uint32_t kind, const char* word0, const char* word1) {
  if (kind > 1) tvx_fail("FALSE");
  out(keyword);
  out(kind == 0 ? word0 : word1);
  out("\n");
}

const char* shape_word(uint8_t shape) {
  switch (shape) {
    case explicit_shape: return " explicit";
    case assumed_size: return " asmdsize";
    case assumed_shape: return " asmdshape";
    case deferred_shape: return " deferred";
    default: tvx_fail("FALSE");
  }
}

void write_type_block(type* t) {
  const char* kind_word = type_code_row(t).kind_word;
  if (!kind_word) tvx_fail("FALSE");
  out_loc(t->corresp);
  out_access("yacs", t->is_public);
  out("ykind ");
  out(kind_word);
  out("\n");
  switch (t->type_code) {
    case tk_integer: out_kind_index("yikind", t->kind, " short", " long"); break;
    case tk_logical: out_kind_index("yikind", t->kind, " char", " long"); break;
    case tk_float:
    case tk_complex: out_kind_index("yfkind", t->kind, " float", " dbl"); break;
    case tk_fcharacter:
      out_kind_index("yikind", t->kind, " char", " wchar");
      out("yclen" + bound_text(t->length) + "\n");
      break;
    case tk_routine: {
      out("yrett");
      out_type_ref(t->return_type, t->assoc_routine && t->assoc_routine->is_pointer);
      out("\n");
      tvx_for_chain(t->param_type_list, [](param_type* p) {
        if (!p->corresp.name) tvx_fail("param_type_ptr->source_corresp.name != NULL");
        out("yargt");
        out_type_ref(p->type, p->is_pointer);
        out(" ");
        out(p->corresp.name->text ? p->corresp.name->text : "");
        if (p->intent_in) out(" in");
        if (p->intent_out) out(" out");
        if (p->is_optional) out(" opt");
        out("\n");
        return true;
      });
      break;
    }
    case tk_farray: {
      out_item_ref("yelem", t->element_type, ilk_type);
      out(std::string("yshape") + shape_word(t->shape_kind) + "\n");
      out("yrank " + std::to_string(t->rank) + "\n");
      const bound_info_entry* b = t->bound_info;
      if (t->rank > 0 && (!b || b->rank != t->rank || !b->bounds)) tvx_fail("FALSE");
      for (uint32_t i = 0; i < t->rank; ++i)
        out("ydim" + bound_text(b->bounds[i]) + bound_text(b->bounds[t->rank + i]) + "\n");
      break;
    }
    default:
      break;
  }
}

void write_derived_type_block(type* t) {
  if (t->type_code != tk_derived_type) tvx_fail("ptr->type_code == tk_derived_type");
  tvx.pass = 5;
  out_loc(t->corresp);
  if (t->module) {
    out_item_ref("ggroup", t->module, ilk_object);
    out_access("gacs", t->is_public);
  }
  out("gkind fderived\n");
  tvx.pass = 6;
  tvx_for_chain(t->first_field, [](object* c) {
    if (c->storage_class != sc_type_field) tvx_fail("object_ptr->storage_class == sc_type_field");
    if (!c->corresp.name) tvx_fail("object_ptr->source_corresp.name != NULL");
    if (c->is_saved) tvx_fail("!object_ptr->is_saved");
    if (c->is_constant) tvx_fail("!object_ptr->is_constant");
    out("gmem ");
    out(c->corresp.name->text ? c->corresp.name->text : "");
    out("\n");
    out_loc(c->corresp);
    out_access("gmacs", c->is_public);
    out("gmkind var\n");
    out("gmtype");
    out_type_ref(c->type, c->is_pointer);
    out("\n");
    return true;
  });
  tvx.pass = 4;
}

void write_pointer_type_block(type* t) {
  if (!t->used_as_pointer) tvx_fail("ptr->used_as_pointer");
  out("\nty#3" + std::to_string(index_of(t)) + tvx_type_text(t) + " *\n");
  out("ykind fptr\n");
  out_item_ref("yptr", t, ilk_type);
}

void write_intrinsic_blocks() {
  for (int row = 0; row < intrinsic_row_count; ++row) {
    if (!tvx.intrinsic_used[row]) continue;
    out("\nro#1" + std::to_string(row) + " " + intrinsic_row_name(row) + "\n");
    out("rlink f90\nrkind fintrin\n");
  }
}

// ---- items of routine bodies ----

void write_call_item(expr_node* n) {
  switch (n->node_kind) {
    case enk_intrinsic:
      if (n->intrinsic >= intrinsic_row_count) tvx_fail("FALSE");
      tvx.intrinsic_used[n->intrinsic] = true;
      out("rcall ro#1" + std::to_string(n->intrinsic));
      break;
    case enk_call: out("rcall"); out_ref(n->routine, ilk_object); break;
    case enk_object:
      if (!n->object || !tvx_is_routine_class(n->object->storage_class)) return;
      out("rcall");
      out_ref(n->object, ilk_object);
      break;
    case enk_generic_call: out("rcall"); out_ref(n->generic_routine, ilk_interface); break;
    case enk_interface_ref: out("rcall"); out_ref(n->interface_block, ilk_interface); break;
    default: return;
  }
  out(" no");
  out_pos(n->source_pos);
  out("\n");
}

// An ENTRY statement cannot be shown in the database: the run ends.
[[noreturn]] void reject_entry_statement() {
  tvx_write_lines();
  std::fflush(tvx.out);
  err_pos = null_pos;
  error_here(194);
  exit_program(4);
}

void write_return_stop_item(statement* s) {
  switch (s->kind) {
    case stmk_return: out("rret"); break;
    case stmk_stop: out("rstop"); break;
    case stmk_fentry: reject_entry_statement();
    default: return;
  }
  out_pos(s->source_pos);
  out("\n");
}

// Whether pass 4 writes a type met in the current scope. Outside every scope
// (a type reached from the header's main routine when no scope lists that
// routine) the walk is at the level of the file, as in the outermost scope.
bool type_selected(const type* t) {
  switch (t->type_code) {
    case tk_stmt_label:
    case tk_format:
    case tk_association: return false;
    case tk_any_derived: tvx_fail("((a_type_ptr)entry_ptr)->type_code != tk_any_derived");
    case tk_fcharacter:
    case tk_farray: {
      const scope* s = tvx.current_scope;
      if (!s) return true;
      return s == tvx.header.primary_scope ||
             (s->assoc_routine && s->assoc_routine->storage_class == sc_module) || tvx.nesting > 0;
    }
    default: return true;
  }
}

void write_type_entry(type* t) {
  if (!type_selected(t)) return;
  if (!type_code_row(t).kind_word) tvx_fail("FALSE");  // no type block for this code
  begin_block(t, ilk_type);
  out(tvx_type_text(t) + "\n");
  if (t->type_code == tk_derived_type) {
    write_derived_type_block(t);
  } else {
    write_type_block(t);
  }
}

// Every body-less and body item of one routine, then back to the routine pass.
void write_routine_entry(object* o) {
  write_routine_block(o);
  if (o->assoc_scope) {
    tvx.pass = 2;
    il_walk_statements(o->assoc_scope->assoc_block);
    tvx.pass = 1;
  }
}

void run_pass(il_header* root, int pass) {
  tvx.pass = pass;
  il_walk(root, ilk_il_header, il_entry_size(ilk_il_header), nullptr,
          tvx_entry_callback, nullptr, il_walk_noop);
}

// The source-file pass starts from the marks as the reader left them and
// changes none itself: the second pass of its walk would retrace the first
// and put back exactly the marks the first flipped. The reader's sweep of
// its tables does the same at a fraction of the cost. The reader may have
// left its depth check's marks, flipped on every entry that the walker
// reaches from the header (il_read_leave_walk_marks): this walk follows
// only links that the walker follows too (ilshow's child walks leave some
// out), so it finds all the entries it reaches unvisited just the same.
void run_source_file_pass(il_header* root) {
  if (!tvx.restore_walk_marks) return run_pass(root, 0);
  tvx.pass = 0;
  il_walk_once(root, ilk_il_header, il_entry_size(ilk_il_header), tvx_entry_callback);
  tvx.restore_walk_marks();
}

// The passes 3, 4, 7 and 9 walk the graph by the same rules (none of them
// is a body pass), and their writers change no mark. So from the same marks
// they visit the same entries in the same order, each with the same current
// scope and nesting, and the second pass of each walk puts back exactly the
// marks its first flipped, unless it reaches entries that the routine pass's
// body walks left marked (the second pass then clears those too, and the
// next pass starts from other marks). Pass 3 therefore notes the entries the
// later passes write (types and modules) with their context and counts the
// entries each of its two walks visits. When the counts agree the marks
// after it are those before it, and the later passes are run over the notes
// instead of walking the graph again.
struct NotedVisit {
  void* entry;
  scope* current_scope;
  int32_t nesting;
  int32_t kind;
};
// Room for a million notes is reserved up front: it costs no memory
// until used, and a list that grew by copying itself would.
std::vector<NotedVisit, HugePageAllocator<NotedVisit>> noted;
constexpr size_t noted_reserved = size_t{1} << 20;
uint64_t visits[2];  // entries visited by the first and the second walk of pass 3

void note_visit(void* entry, int kind, uint32_t size) {
  ++visits[0];
  tvx_entry_callback(entry, kind, size);
  if (kind == ilk_type || (kind == ilk_object && static_cast<object*>(entry)->storage_class == sc_module))
    noted.push_back({entry, tvx.current_scope, tvx.nesting, kind});
}

void count_visit(void*, int, uint32_t) { ++visits[1]; }

// Pass 3 with its notes; true when the later passes may use them.
bool run_noting_pass(il_header* root) {
  tvx.pass = 3;
  noted.clear();
  noted.reserve(noted_reserved);
  visits[0] = visits[1] = 0;
  il_walk(root, ilk_il_header, il_entry_size(ilk_il_header), nullptr, note_visit, nullptr,
          count_visit);
  return visits[0] == visits[1];
}

// A later pass over the notes of pass 3.
void run_noted_pass(int pass) {
  tvx.pass = pass;
  for (const NotedVisit& v : noted) {
    tvx.current_scope = v.current_scope;
    tvx.nesting = v.nesting;
    tvx_entry_callback(v.entry, v.kind, il_entry_size(v.kind));
  }
  tvx.current_scope = nullptr;
  tvx.nesting = 0;
}

}  // namespace

// ---- exposed pieces ----

void tvx_write_lines() {
  if (!tvx.whole_lines) return;
  std::fwrite(tvx.line.data(), 1, tvx.whole_lines, tvx.out);
  tvx.line.erase(0, tvx.whole_lines);
  tvx.whole_lines = 0;
}

void tvx_fail(const char* condition) {
  (void)condition;  // the condition that failed; the user sees the file rejected
  tvx_write_lines();
  tvx.line.clear();
  std::fflush(tvx.out);
  err_pos = null_pos;
  catastrophe_here(78);
}

bool tvx_is_routine_class(uint32_t sc) { return sc >= sc_external && sc <= sc_unspecified && sc != sc_intrinsic; }

std::string tvx_reference(const void* entry, int kind) {
  if (!entry) return "NULL";
  return reference_prefix(entry, kind) + std::to_string(index_of(entry));
}

std::string tvx_escaped_name(const char* name) {
  if (!name) return "NULL";
  std::string text;
  for (const char* p = name; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += static_cast<char>(c);
    } else if (is_printable(c)) {
      text += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", c);
      text += buf;
    }
  }
  return text;
}

std::string tvx_type_text(const type* t) { return type_text(t, 0); }

// The source files form a tree whose every file is reached once; the position
// lookup and the source-file blocks rely on it.
void check_source_file_tree(source_file* f, uint32_t depth) {
  if (depth > max_include_depth) tvx_fail("FALSE");
  tvx_for_chain(f, [depth](source_file* s) {
    // Bit 31 marks the files met so far: a file met twice is no tree.
    if (s->header & il_check_mark) tvx_fail("FALSE");
    s->header |= il_check_mark;
    check_source_file_tree(s->first_child_file, depth + 1);
    return true;
  });
}

void clear_source_file_marks(source_file* f) {
  tvx_for_chain(f, [](source_file* s) {
    if (!(s->header & il_check_mark)) return true;
    s->header &= ~il_check_mark;
    clear_source_file_marks(s->first_child_file);
    return true;
  });
}

void il_display_tvx(il_header* header) {
  tvx.header = *header;
  check_source_file_tree(header->primary_source_file, 0);
  clear_source_file_marks(header->primary_source_file);
  tvx_install_walks(true);
  out("<TVX 2.0>\n");
  run_source_file_pass(header);
  run_pass(header, 1);
  write_intrinsic_blocks();
  if (run_noting_pass(header)) {
    for (int pass : {4, 7, 9}) run_noted_pass(pass);
  } else {
    tvx.nesting = 0;
    run_pass(header, 4);
    run_pass(header, 7);
    run_pass(header, 9);
  }
  noted.clear();
  tvx_install_walks(false);
  tvx_write_lines();
  std::fflush(tvx.out);
}

void tvx_reset(FILE* out_stream) {
  tvx = TvxState{};
  tvx.out = out_stream;
}

void tvx_write_program_unit(object* o) {
  if (o->storage_class == sc_module) {
    write_module_block(o);
  } else {
    write_routine_entry(o);
  }
}

void tvx_entry_callback(void* entry, int kind, uint32_t size) {
  (void)size;
  switch (tvx.pass) {
    case 0:
      if (kind == ilk_source_file) write_source_file_block(static_cast<source_file*>(entry));
      break;
    case 1:
      if (kind == ilk_object) {
        object* o = static_cast<object*>(entry);
        if (o->storage_class == sc_intrinsic) tvx_fail("FALSE");
        if (o->storage_class != sc_module && tvx_is_routine_class(o->storage_class))
          tvx_write_program_unit(o);
      }
      break;
    case 2:
      if (kind == ilk_expr_node) write_call_item(static_cast<expr_node*>(entry));
      if (kind == ilk_statement) write_return_stop_item(static_cast<statement*>(entry));
      break;
    case 3:
      if (kind == ilk_interface) write_interface_block(static_cast<interface*>(entry));
      break;
    case 4:
      if (kind == ilk_type) write_type_entry(static_cast<type*>(entry));
      break;
    case 7:
      if (kind == ilk_object && static_cast<object*>(entry)->storage_class == sc_module)
        tvx_write_program_unit(static_cast<object*>(entry));
      break;
    case 9:
      if (kind == ilk_type && static_cast<type*>(entry)->used_as_pointer)
        write_pointer_type_block(static_cast<type*>(entry));
      break;
    default:
      break;
  }
}
