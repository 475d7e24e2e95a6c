// Cross-reference notes: lines "identity name kind file line column" in the
// "-X" file, in the order the notes are made, and the referenced marks of
// symbols and of the entries they stand for.
#include "frontend/model/cross_reference.h"

#include <cstdio>
#include <unordered_map>

#include "frontend/base/diagnostics.h"
#include "frontend/base/options.h"
#include "frontend/model/line_map.h"
#include "frontend/model/dummies.h"
#include "frontend/model/names.h"

namespace {

struct XrefState {
  // Identity numbers of the symbols noted so far, from 1 in order of first note.
  std::unordered_map<const symbol_entry*, unsigned long> identity;
};
XrefState xref;

const char kind_letters[] = {'D', 'M', 'R'};

void write_line(int kind, symbol_entry* s, source_pos_record pos) {
  FILE* f = driver_options.xref_file;
  if (!f || !s || s->name == names.error_name || pos.seq == 0) return;
  if (kind < 0 || kind > 2) kind = xref_reference;
  auto [it, inserted] = xref.identity.try_emplace(s, xref.identity.size() + 1);
  const char* file_name = "";
  const char* full_name = "";
  uint32_t line = 0;
  bool at_end = false;
  line_map_position(&the_il_header, pos.seq, &file_name, &full_name, &line, &at_end);
  std::fprintf(f, "%lu %s %c %s %lu %d\n", it->second, s->name && s->name->text ? s->name->text : "",
               kind_letters[kind], file_name ? file_name : "", static_cast<unsigned long>(line),
               static_cast<int>(pos.column));
}

}  // namespace

void xref_reset() { xref.identity.clear(); }

void xref_note(symbol_entry* s, source_pos_record pos, bool record) {
  write_line(xref_definition, s, pos);
  if (record && s) s->decl_position = pos;
}

void xref_mark(int kind, symbol_entry* s, source_pos_record pos) {
  if (!s) return;
  write_line(kind, s, pos);
  s->flags |= symf_referenced;
}

void* xref_note_use(int kind, symbol_entry* s, source_pos_record pos) {
  if (!s) return nullptr;
  xref_mark(kind, s, pos);
  if (kind == xref_modification && s->cls == sym_variable && (s->word3 & varf_active_do_var))
    warning_at(3, pos);
  if (!s->entity) return nullptr;
  switch (s->cls) {
    case sym_derived_type:
      static_cast<type*>(s->entity.get())->corresp.referenced = true;
      break;
    case sym_variable: {
      auto* o = static_cast<object*>(s->entity.get());
      o->corresp.referenced = true;
      if (o->storage_class == sc_associated && o->assoc_variable) o->assoc_variable->corresp.referenced = true;
      break;
    }
    case sym_stmt_label:
      static_cast<label*>(s->entity.get())->corresp.referenced = true;
      break;
    case sym_common_block:
      static_cast<common_block_record*>(s->entity.get())->corresp.referenced = true;
      break;
    case sym_namelist:
      static_cast<namelist_group*>(s->entity.get())->corresp.referenced = true;
      break;
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
      return nullptr;  // a signature record of the intrinsic table, no IL name
    default:
      if (object* o = entity_object(s)) {
        o->corresp.referenced = true;
        break;
      }
      return nullptr;
  }
  return s->entity;
}
