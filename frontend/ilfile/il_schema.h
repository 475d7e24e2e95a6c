// The one description of every IL record: the fields of each entry kind in
// file order, with their encodings. The writer and the reader both run these
// functions, each with its own codec (il_writer.cpp, il_reader.cpp), so the
// two can never disagree about a field.
//
// A codec C provides:
//   static constexpr bool writing;          true for the writer
//   bool module_mode() const;               a module file is being written
//   ref(name, T*& field)                    reference to an entry of T's kind
//   chain(name, T*& field)                  the "next" link of a list of T
//   (both also for a pool_ref<T>& field)
//   bounds(name, pool_ref<bound_info_entry>&, rank)  reference to a bounds block
//   entity_atom(name, pool_ref_field<void>& entity, atom* shown)  atom standing for an entity
//   pos(name, source_pos_record&)           position "seq:col"
//   num(name, I& field)                     integer, the field's full width
//   code(name, I& field, count)             integer code 0 .. count-1
//   kind_row(name, uint32_t& field, family) kind-table row or all ones
//   begin_flags(); flag(name, bool&); flag_bit(name, uint32_t&, bit)
//   str(name, const char*&)                 string (absent when empty)
//   atom_text(name, const char*&, uint32_t& length)  an atom's name
//   bound(name, bound_record&)              bound kind and its value
//   block_size(name, bound_info_entry&)     size field of a bounds block
//   value_bytes(name, pool_ref_field<uint8_t>&, const type*)  a constant's value bytes
//   require(bool)                           reader: reject the file when false
//   begin_group(name); end_group()          the fields between form one group
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"

// il_target_t<F>: the record type a field F (a T* or a pool_ref_field<T>)
// refers to.
template <class F>
struct il_target;
template <class T>
struct il_target<T*> {
  using type = T;
};
template <class T>
struct il_target<pool_ref_field<T>> {
  using type = T;
};
template <class T>
struct il_target<pool_ref<T>> {
  using type = T;
};
template <class F>
using il_target_t = typename il_target<F>::type;

// il_kind_of<T>::value: the entry kind whose records are T.
template <class T>
struct il_kind_of;
#define IL_RECORD(k, T)                 \
  template <>                           \
  struct il_kind_of<::T> {              \
    static constexpr il_kind value = k; \
  };
#include "frontend/ilfile/il_records.def"

#define IL_RECORD(k, T) +1
inline constexpr int il_record_kind_count = 0
#include "frontend/ilfile/il_records.def"
    ;
static_assert(il_record_kind_count == ilk_symbol_entry, "one record per kind 1 to 22");

// Rows of the table of intrinsic operators and procedures.
#define INTRINSIC(row, il_name, name, symbol_class) +1
#define SIGNATURE(row, specific, form, dummies, result)
inline constexpr int il_intrinsic_count = 0
#include "frontend/model/intrinsics.def"
    ;
// Symbol classes occupy one byte; 0 to 31 are defined.
inline constexpr int il_symbol_class_count = sym_host_link + 1;
// The last expression-node kind that files carry (21 and 22 live in memory only).
inline constexpr int il_file_enk_count = enk_data_implied_do_var + 1;

// A reference the writer shows as "0" when hide holds (module files); the
// reader reads whatever is there.
template <class C, class F>
void il_ref_unless(C& c, bool hide, const char* name, F& field) {
  using T = il_target_t<F>;
  if (C::writing && hide) {
    T* none = nullptr;
    c.ref(name, none);
  } else {
    c.ref(name, field);
  }
}

// A list link shown as "0" when hide holds.
template <class C, class F>
void il_chain_unless(C& c, bool hide, const char* name, F& field) {
  using T = il_target_t<F>;
  if (C::writing && hide) {
    T* none = nullptr;
    c.ref(name, none);
  } else {
    c.chain(name, field);
  }
}

// A flag or code held in a bit-field goes through a plain variable.
#define IL_BIT_FIELD(c, method, name, field, ...)    \
  do {                                              \
    decltype(field) bits_ = field;                  \
    (c).method(name, bits_ __VA_OPT__(, ) __VA_ARGS__); \
    field = bits_;                                  \
  } while (0)

// The name, declaration position, two flags and scope depth of a named entry.
template <class C>
void il_fields(C& c, source_corresp& s) {
  c.begin_group("source_corresp");
  c.ref("name", s.name);
  if (C::writing && c.module_mode()) {
    source_pos_record none{};
    c.pos("decl_position", none);
  } else {
    c.pos("decl_position", s.decl_position);
  }
  c.begin_flags();
  c.flag("referenced", s.referenced);
  c.flag("host_associated", s.host_associated);
  c.num("scope_depth", s.scope_depth);  // all 32 bits, so every value reads back
  c.end_group();
}

template <class C>
void il_fields(C& c, il_header& e) {
  c.ref("primary_source_file", e.primary_source_file);
  c.ref("primary_scope", e.primary_scope);
  c.ref("main_routine", e.main_routine);
  c.str("compiler_version", e.compiler_version);
  c.str("time_of_compilation", e.time_of_compilation);
  c.begin_flags();
  c.flag_bit("case_sensitive_identifiers", e.flags, 0);
  c.code("source_language", e.source_language, sl_count);
}

template <class C>
void il_fields(C& c, source_file& e) {
  c.str("file_name", e.file_name);
  c.str("full_name", e.full_name);
  c.num("first_seq_number", e.first_seq_number);
  c.num("last_seq_number", e.last_seq_number);
  c.num("first_line_number", e.first_line_number);
  c.chain("first_child_file", e.first_child_file);
  c.ref("last_child_file", e.last_child_file);
  c.chain("next", e.next);
}

template <class C>
void il_fields(C& c, constant& e) {
  c.pos("source_pos", e.source_pos);
  c.chain("next", e.next);
  c.ref("type", e.type);
  if (C::writing && c.module_mode() && e.kind == ck_expression) {
    uint8_t as_value = ck_value;  // module files keep the value, not the formula
    c.code("kind", as_value, ck_count);
    c.value_bytes("value", e.value, e.type);
    return;
  }
  c.code("kind", e.kind, ck_count);
  switch (e.kind) {
    case ck_value:
      c.value_bytes("value", e.value, e.type);
      break;
    case ck_expression:
      c.ref("variant.formula.expr", e.expr);
      c.value_bytes("value", e.value, e.type);
      break;
    case ck_aggregate:
      c.ref("first_constant", e.first_constant);
      c.ref("last_constant", e.last_constant);
      break;
    case ck_init_position:
      c.num("offset", e.offset);
      c.num("segment_size", e.segment_size);
      break;
    case ck_init_index:
      c.num("first", e.first);
      c.num("second", e.second);
      c.num("stride", e.stride);
      break;
    case ck_init_repeat:
      c.num("count", e.count);
      c.ref("constant", e.repeat_constant);
      break;
    default:
      break;
  }
}

template <class C>
void il_fields(C& c, param_type& e) {
  il_fields(c, e.corresp);
  c.chain("next", e.next);
  c.ref("type", e.type);
  c.begin_flags();
  c.flag("is_optional", e.is_optional);
  c.flag("intent_in", e.intent_in);
  c.flag("intent_out", e.intent_out);
  c.flag("is_pointer", e.is_pointer);
}

// The kind-table family of a type code that carries a kind row, or -1.
inline int il_kind_family(uint8_t type_code) {
  switch (type_code) {
    case tk_integer: return kf_integer;
    case tk_logical: return kf_logical;
    case tk_float:
    case tk_complex: return kf_real;
    case tk_fcharacter: return kf_character;
    default: return -1;
  }
}

template <class C>
void il_fields(C& c, type& e) {
  il_fields(c, e.corresp);
  // Only a derived type's link is kept, and not in module files.
  il_chain_unless(c, c.module_mode() || e.type_code != tk_derived_type, "next", e.next);
  c.num("size", e.size);
  c.num("alignment", e.alignment);
  c.begin_flags();
  c.flag("is_numeric", e.is_numeric);
  c.flag("is_character", e.is_character);
  c.flag("contains_ptrs", e.contains_ptrs);
  c.flag("is_public", e.is_public);
  c.code("type_code", e.type_code, tk_count);
  c.require(e.type_code == tk_derived_type || e.next == nullptr);
  switch (e.type_code) {
    case tk_integer:
    case tk_logical:
    case tk_float:
    case tk_complex:
      c.kind_row("kind", e.kind, il_kind_family(e.type_code));
      break;
    case tk_routine:
      c.ref("return_type", e.return_type);
      c.ref("param_type_list", e.param_type_list);
      c.ref("assoc_routine", e.assoc_routine);
      c.begin_flags();
      IL_BIT_FIELD(c, flag, "has_param_info", e.has_param_info);
      IL_BIT_FIELD(c, flag, "has_ellipsis", e.has_ellipsis);
      IL_BIT_FIELD(c, flag, "is_recursive", e.is_recursive);
      IL_BIT_FIELD(c, flag, "is_elemental", e.is_elemental);
      break;
    case tk_fcharacter:
      c.kind_row("kind", e.kind, kf_character);
      c.bound("length", e.length);
      break;
    case tk_farray:
      c.ref("element_type", e.element_type);
      c.num("rank", e.rank);
      c.code("shape_kind", e.shape_kind, shape_kind_count);
      if (e.shape_kind <= as_shaped) {
        c.bounds("bound.info", e.bound_info, e.rank);
      } else {
        c.ref("bound.args", e.bound_args);
      }
      break;
    case tk_derived_type: {
      // A module file shows the components only when the first is public.
      bool hide = c.module_mode() && !(e.first_field && e.first_field->is_public);
      il_ref_unless(c, hide, "first_field", e.first_field);
      c.ref("module", e.module);
      c.begin_flags();
      c.flag("is_seq", e.is_seq);
      break;
    }
    default:
      break;
  }
}

template <class C>
void il_fields(C& c, label& e) {
  il_fields(c, e.corresp);
  c.chain("next", e.next);
  c.num("association_offset", e.association_offset);
  c.begin_flags();
  c.flag("used_in_assign", e.used_in_assign);
  c.flag("flag_bit1", e.flag_bit1);
  c.code("kind", e.kind, lk_count);
  switch (e.kind) {
    case lk_executable:
    case lk_else_or_elseif:
    case lk_control:
      c.ref("variant.exec_stmt", e.exec_stmt);
      break;
    case lk_format:
      c.ref("variant.format_constant", e.format_constant);
      break;
    default:
      break;
  }
}

template <class C>
void il_fields(C& c, expr_node& e) {
  c.pos("source_pos", e.source_pos);
  c.ref("type", e.type);
  c.chain("next", e.next);
  c.begin_flags();
  IL_BIT_FIELD(c, flag, "multiply_referenced", e.multiply_referenced);
  IL_BIT_FIELD(c, flag, "allow_reordering", e.allow_reordering);
  IL_BIT_FIELD(c, flag, "is_optional", e.is_optional);
  IL_BIT_FIELD(c, flag, "intent_in", e.intent_in);
  IL_BIT_FIELD(c, flag, "intent_out", e.intent_out);
  IL_BIT_FIELD(c, flag, "is_pointer", e.is_pointer);
  IL_BIT_FIELD(c, flag, "element_sequence", e.element_sequence);
  IL_BIT_FIELD(c, flag, "for_all", e.for_all);
  IL_BIT_FIELD(c, flag, "iterated", e.iterated);
  IL_BIT_FIELD(c, flag, "treated_as_subroutine_call", e.treated_as_subroutine_call);
  IL_BIT_FIELD(c, flag, "any_type_argument", e.any_type_argument);
  IL_BIT_FIELD(c, flag, "is_specifier", e.is_specifier);
  c.code("node_kind", e.node_kind, il_file_enk_count);
  if (e.is_specifier) {
    IL_BIT_FIELD(c, code, "specifier", e.specifier, iosk_count);
  } else {
    c.ref("arg_keyword", e.arg_keyword);
  }
  switch (e.node_kind) {
    case enk_operation:
      c.code("op_kind", e.op_kind, eok_count);
      c.ref("operands", e.operands);
      break;
    case enk_intrinsic:
      c.code("intrinsic", e.intrinsic, il_intrinsic_count);
      c.ref("operands", e.operands);
      break;
    case enk_call:
      c.ref("routine", e.routine);
      c.ref("operands", e.operands);
      c.ref("interface", e.call_interface);
      break;
    case enk_constant:
      c.ref("constant", e.constant);
      break;
    case enk_stmt_label_value:
      c.ref("stmt_label_value", e.stmt_label_value);
      break;
    case enk_object:
      c.ref("variant.object", e.object);
      break;
    case enk_field:
      c.ref("base_expr", e.base_expr);
      c.ref("field_var", e.field_var);
      break;
    case enk_subscript:
    case enk_substring:
    case enk_section:
      c.ref("array_expr", e.array_expr);
      c.ref("ind_list", e.ind_list);
      c.begin_flags();
      IL_BIT_FIELD(c, flag, "ignore_lbound", e.ignore_lbound);
      break;
    case enk_constructor:
      c.ref("constructor", e.constructor);
      break;
    case enk_implied_do:
    case enk_isum:
      c.ref("expr_list", e.expr_list);
      c.ref("do_info", e.do_info);
      c.begin_flags();
      IL_BIT_FIELD(c, flag, "has_a_scope", e.has_a_scope);
      break;
    case enk_triplet:
      c.ref("first", e.first);
      c.ref("second", e.second);
      c.ref("stride", e.stride);
      break;
    case enk_ref:
      c.ref("reference", e.reference);
      break;
    case enk_param:
      c.ref("parameter", e.parameter);
      break;
    case enk_generic_call:
      c.ref("routine", e.generic_routine);
      c.ref("operands", e.operands);
      break;
    case enk_interface_ref:
      c.ref("interface_block", e.interface_block);
      break;
    default:
      break;
  }
}

// Storage classes whose objects stand for a program unit or procedure body.
inline bool il_has_assoc_scope(uint32_t storage_class) {
  switch (storage_class) {
    case sc_external:
    case sc_module:
    case sc_program:
    case sc_blockdata:
    case sc_internal:
    case sc_stmt_func:
    case sc_unspecified:
      return true;
    default:
      return false;
  }
}

template <class C>
void il_fields(C& c, object& e) {
  il_fields(c, e.corresp);
  // A module file keeps only the chains of components.
  il_chain_unless(c, c.module_mode() && e.storage_class != sc_type_field, "next", e.next);
  c.ref("type", e.type);
  c.code("storage_class", e.storage_class, sc_count);
  c.begin_flags();
  IL_BIT_FIELD(c, flag, "is_result", e.is_result);
  IL_BIT_FIELD(c, flag, "is_parameter", e.is_parameter);
  IL_BIT_FIELD(c, flag, "is_auto", e.is_auto);
  IL_BIT_FIELD(c, flag, "is_target", e.is_target);
  IL_BIT_FIELD(c, flag, "is_pointer", e.is_pointer);
  IL_BIT_FIELD(c, flag, "is_allocatable", e.is_allocatable);
  IL_BIT_FIELD(c, flag, "is_saved", e.is_saved);
  IL_BIT_FIELD(c, flag, "is_optional", e.is_optional);
  IL_BIT_FIELD(c, flag, "intent_in", e.intent_in);
  IL_BIT_FIELD(c, flag, "intent_out", e.intent_out);
  IL_BIT_FIELD(c, flag, "is_fortran_entry", e.is_fortran_entry);
  IL_BIT_FIELD(c, flag, "is_public", e.is_public);
  IL_BIT_FIELD(c, flag, "is_host", e.is_host);
  IL_BIT_FIELD(c, flag, "uses_host", e.uses_host);
  IL_BIT_FIELD(c, flag, "is_constant", e.is_constant);
  c.num("association_offset", e.association_offset);
  switch (e.storage_class) {
    case sc_local:
      if (e.is_result) {
        c.ref("result_var_function", e.result_var_function);
      } else {
        c.ref("variant.initializer", e.initializer);
      }
      c.ref("assoc.routine", e.assoc_routine);
      break;
    case sc_common:
      c.ref("variant.initializer", e.initializer);
      c.ref("assoc.routine", e.assoc_routine);
      break;
    case sc_associated:
      if (e.is_result) c.ref("result_var_function", e.result_var_function);
      c.ref("assoc.variable", e.assoc_variable);
      break;
    case sc_implied_do_var:
      c.ref("assoc.implied_do", e.assoc_implied_do);
      break;
    case sc_use_associated:
      c.ref("variant.initializer", e.initializer);
      c.ref("assoc.module", e.assoc_module);
      break;
    case sc_type_field:
      c.ref("assoc.derived_type", e.assoc_derived_type);
      break;
    case sc_mod_proc:
      c.ref("assoc.module", e.assoc_module);
      break;
    default:
      if (il_has_assoc_scope(e.storage_class)) {
        il_ref_unless(c, c.module_mode(), "variant.assoc_scope", e.assoc_scope);
        c.ref("assoc.routine", e.assoc_routine);
      }
      break;
  }
}

template <class C>
void il_fields(C& c, interface& e) {
  il_fields(c, e.corresp);
  il_chain_unless(c, c.module_mode(), "next", e.next);
  // The host's interface of the same name is never carried by files.
  ::interface* none = nullptr;
  c.ref("inherited", none);
  c.require(none == nullptr);
  c.ref("routine_prototype_list", e.routine_prototype_list);
  c.begin_flags();
  c.flag("is_public", e.is_public);
}

template <class C>
void il_fields(C& c, statement& e) {
  c.pos("source_pos", e.source_pos);
  c.chain("next", e.next);
  c.code("kind", e.kind, stmk_count);
  c.ref("expr", e.expr);
  switch (e.kind) {
    case stmk_if:
      c.ref("then_statement", e.then_statement);
      c.ref("else_statement", e.else_statement);
      break;
    case stmk_while:
    case stmk_select:
      c.ref("body_statement", e.body_statement);
      break;
    case stmk_goto:
    case stmk_label:
      c.ref("variant.label", e.label);
      break;
    case stmk_block:
      c.ref("statements", e.statements);
      c.ref("last_statement", e.last_statement);
      break;
    case stmk_fentry:
      c.ref("entry_descr", e.entry_descr);
      c.ref("prologue", e.prologue);
      break;
    case stmk_ido:
    case stmk_fdo:
      c.ref("loop_statement", e.loop_statement);
      c.ref("do_loop", e.loop);
      break;
    case stmk_iarith_if:
    case stmk_farith_if:
    case stmk_computed_goto:
    case stmk_assigned_goto:
      c.ref("variant.label_list", e.label_list);
      break;
    case stmk_stop:
    case stmk_pause:
      c.ref("stop_pause_string", e.stop_pause_string);
      break;
    case stmk_case:
      c.ref("case_range_list", e.case_range_list);
      c.ref("statements", e.statements);
      break;
    case stmk_exit:
    case stmk_cycle:
      c.ref("variant.constr_label", e.constr_label);
      break;
    case stmk_where:
      c.ref("where_assignment", e.where_assignment);
      c.ref("elsewhere_assignment", e.elsewhere_assignment);
      break;
    case stmk_alloc:
      c.ref("list", e.alloc_list);
      c.ref("stat_variable", e.stat_variable);
      break;
    case stmk_dealloc:
      c.ref("list", e.dealloc_list);
      c.ref("stat_variable", e.stat_variable);
      break;
    case stmk_set_array_shape:
      c.ref("variant.array_variable", e.array_variable);
      break;
    case stmk_set_char_length:
      c.ref("variant.string_variable", e.string_variable);
      break;
    default:
      if (e.kind >= stmk_open && e.kind <= stmk_rewind) {
        c.ref("io_descr", e.io_descr);
        c.begin_flags();
        c.flag("treated_as_io_initializer", e.treated_as_io_initializer);
      }
      break;
  }
}

template <class C>
void il_fields(C& c, scope& e) {
  c.ref("assoc_routine", e.assoc_routine);
  c.ref("parameters", e.parameters);
  c.ref("function_result_var", e.function_result_var);
  c.ref("assoc_block", e.assoc_block);
  c.ref("constants", e.constants);
  c.ref("types", e.types);
  c.ref("objects", e.objects);
  c.ref("labels", e.labels);
  c.ref("entries", e.entries);
  c.ref("namelist_groups", e.namelist_groups);
  c.ref("interfaces", e.interfaces);
}

template <class C>
void il_fields(C& c, atom& e) {
  c.atom_text("string", e.text, e.length);
}

// Size, then rank lower bounds and rank upper bounds.
template <class C>
void il_fields(C& c, bound_info_entry& e) {
  c.block_size("size", e);
  for (uint32_t i = 0; i < 2 * e.rank; ++i) c.bound("bound", e.bounds[i]);
}

template <class C>
void il_fields(C& c, do_loop& e) {
  c.ref("variable", e.variable);
  c.ref("initial_value", e.initial_value);
  c.ref("final_value", e.final_value);
  c.ref("increment", e.increment);
  c.begin_flags();
  c.flag("final_value_excluded", e.final_value_excluded);
}

template <class C>
void il_fields(C& c, label_list_entry& e) {
  c.chain("next", e.next);
  c.ref("label", e.label);
}

template <class C>
void il_fields(C& c, object_list_member& e) {
  c.chain("next", e.next);
  c.ref("object", e.object);
}

template <class C>
void il_fields(C& c, alloc& e) {
  c.chain("next", e.next);
  c.ref("var", e.var);
  c.num("rank", e.rank);
  c.bounds("bounds", e.bounds, e.rank);
}

template <class C>
void il_fields(C& c, case_range& e) {
  c.chain("next", e.next);
  c.ref("low", e.low);
  c.ref("high", e.high);
  c.code("range_kind", e.range_kind, crk_count);
}

template <class C>
void il_fields(C& c, namelist_group& e) {
  il_fields(c, e.corresp);
  il_chain_unless(c, c.module_mode(), "next", e.next);
  c.ref("original_name", e.original_name);
  c.ref("member_list", e.member_list);
  c.begin_flags();
  c.flag("is_public", e.is_public);
}

template <class C>
void il_fields(C& c, input_output_description& e) {
  c.code("unit_kind", e.unit_kind, iou_count);
  c.ref("unit_expr", e.unit_expr);
  c.code("format_kind", e.format_kind, iof_count);
  switch (e.format_kind) {
    case iof_format_label:
      c.ref("format.label", e.format_label);
      break;
    case iof_assigned_var:
    case iof_char_expr:
      c.ref("format.expr", e.format_expr);
      break;
    case iof_namelist_directed:
      c.ref("format.namelist_group", e.format_namelist_group);
      break;
    default:
      break;
  }
  c.ref("specifier_list", e.specifier_list);
}

template <class C>
void il_fields(C& c, entry_description& e) {
  c.chain("next", e.next);
  c.ref("assoc_routine", e.assoc_routine);
  c.ref("parameters", e.parameters);
  c.ref("function_result_var", e.function_result_var);
  c.ref("entry_point", e.entry_point);
}

template <class C>
void il_fields(C& c, symbol_entry& e) {
  c.ref("name", e.name);
  c.code("class", e.cls, il_symbol_class_count);
  switch (e.cls) {
    case sym_derived_type: {
      ::type* t = static_cast<::type*>(e.entity.get());
      c.ref("entity", t);
      e.entity = t;
      break;
    }
    case sym_variable:
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function: {
      ::object* o = static_cast<::object*>(e.entity.get());
      c.ref("entity", o);
      e.entity = o;
      break;
    }
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine:
      c.entity_atom("entity", e.entity, C::writing ? intrinsic_entity_name(&e) : nullptr);
      break;
    case sym_generic: {
      ::interface* i = static_cast<::interface*>(e.entity.get());
      c.ref("entity", i);
      e.entity = i;
      break;
    }
    case sym_namelist: {
      ::namelist_group* n = static_cast<::namelist_group*>(e.entity.get());
      c.ref("entity", n);
      e.entity = n;
      break;
    }
    default:
      break;
  }
}
