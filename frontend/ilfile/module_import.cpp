// Module lookup and import: finds a module's file along the "-M" directories,
// reads it with the IL reader into symbols of an import level, and makes the
// module symbol whose export list they form; a module known already has its
// export list installed on the import level again.
#include "frontend/ilfile/module_import.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/host.h"
#include "frontend/ilfile/il_file.h"
#include "frontend/ilfile/module_file.h"
#include "frontend/model/names.h"

namespace {

constexpr int msg_invalid_il_file = 78;
constexpr int msg_no_module_dir = 183;
constexpr int msg_cannot_open_module = 341;
constexpr int msg_bad_module_file = 342;
constexpr int msg_module_name_required = 343;

// The first module file of the name along the module directories, open for
// binary reading. A path that exists but is no regular file ends the run with
// 342 (it is not opened: a FIFO would hold the run up); no file at all, 341.
FILE* open_module_file(const atom* name) {
  if (!host.module_dirs.head) catastrophe_here(msg_no_module_dir);
  for (dir_cell* d = host.module_dirs.head; d; d = d->next) {
    std::string path = module_file_path(d->name, name);
    if (exists_not_regular(path.c_str())) catastrophe_here(msg_bad_module_file);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) continue;
    if (!is_regular_file(path.c_str())) {
      std::fclose(f);
      catastrophe_here(msg_bad_module_file);
    }
    return f;
  }
  catastrophe_here(msg_cannot_open_module);
}

bool same_name(const atom* a, const atom* b) {
  if (!a || !b || !a->text || !b->text) return false;
  return a->length == b->length && std::memcmp(a->text, b->text, a->length) == 0;
}

// The predefined symbol of a class on an intrinsic name's chain, or null.
symbol_entry* predefined_of_class(const atom* name, int cls) {
  for (symbol_entry* p = name ? name->first_symbol : nullptr; p; p = p->next_same_name)
    if (p->level == predefined_level && p->cls == cls) return p;
  return nullptr;
}

// The module of a file: its header's main routine must be a module object
// bearing the name that the USE statement asked for.
object* module_of_file(il_header* h, const atom* name) {
  if (!h) catastrophe_here(msg_invalid_il_file);
  object* o = h->main_routine;
  if (!o || o->storage_class != sc_module || !same_name(o->corresp.name, name))
    catastrophe_here(msg_bad_module_file);
  return o;
}

// Puts a known module's export list on the current (import) level.
void install_export_list(symbol_entry* module_symbol) {
  scope_record& r = current_scope_record();
  r.sym_head = module_symbol->link;
  r.sym_tail = nullptr;
  int32_t level = symtab.cur_scope;
  for (symbol_entry* s = module_symbol->link; s; s = s->next_same_level) {
    // A symbol left on a chain by an earlier import is taken off first, so
    // that no chain ever holds it twice.
    symbol_unlink(s);
    s->level = level;
    s->flags |= symf_in_scope;
    symbol_chain_insert(s);
    r.sym_tail = s;
  }
}

// Where a received entity keeps its declaration position and its link back
// to its symbol; none for the intrinsic and other classes.
struct EntityLinks {
  source_corresp* corresp;
  pool_ref_field<symbol_entry>* front_end_link;
};

EntityLinks links_of(int symbol_class, void* entity) {
  if (!entity) return {nullptr, nullptr};
  switch (symbol_class) {
    case sym_derived_type: {
      auto* t = static_cast<type*>(entity);
      return {&t->corresp, &t->symbol};
    }
    case sym_variable:
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function: {
      auto* o = static_cast<object*>(entity);
      return {&o->corresp, &o->symbol};
    }
    case sym_generic: {
      auto* i = static_cast<interface*>(entity);
      return {&i->corresp, &i->symbol};
    }
    case sym_namelist: {
      auto* g = static_cast<namelist_group*>(entity);
      return {&g->corresp, &g->symbol};
    }
    default:
      return {nullptr, nullptr};
  }
}

// Whether symbols of a class stand for an IL entry of the module.
bool needs_entity(int symbol_class) {
  switch (symbol_class) {
    case sym_derived_type:
    case sym_variable:
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function:
    case sym_generic:
    case sym_namelist:
      return true;
    default:
      return false;
  }
}

// The predefined entity of an intrinsic symbol record: the record names the
// intrinsic, whose predefined symbol of the class (a generic of a specific's
// class as a fallback) gives it. No such intrinsic: this front end did not
// write the file.
symbol_entry* predefined_intrinsic(const atom* intrinsic_name, int symbol_class) {
  symbol_entry* p = predefined_of_class(intrinsic_name, symbol_class);
  if (!p && symbol_class == sym_intrinsic_function) p = predefined_of_class(intrinsic_name, sym_specific_intrinsic);
  if (!p && symbol_class == sym_intrinsic_subroutine)
    p = predefined_of_class(intrinsic_name, sym_specific_intrinsic_sub);
  if (!p) catastrophe_here(msg_bad_module_file);
  return p;
}

}  // namespace

atom* module_atom_allocate(const char* text) { return intern_cstring(text ? text : ""); }

symbol_entry* known_module_symbol(atom* name) {
  if (!name) return nullptr;
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name)
    if (s->cls == sym_module && s->level == 0) return s;
  return nullptr;
}

void module_symbol_import(atom* name, int symbol_class, void* entity) {
  EntityLinks links = links_of(symbol_class, entity);
  // A symbol of a class that stands for an entry must name one: "0" there
  // is allowed by the format but comes from no module this front end wrote.
  if (!links.front_end_link && needs_entity(symbol_class)) catastrophe_here(msg_bad_module_file);
  source_pos_record pos = links.corresp ? links.corresp->decl_position : source_pos_record{0, 0};
  symbol_entry* s = symbol_create_quiet(symbol_class, name, pos, symtab.cur_scope);
  // A module file lists only what its module made public.
  s->flags |= symf_public;
  if (links.front_end_link) {
    *links.front_end_link = s;
    s->entity = entity;
    if (symbol_class >= sym_variable && symbol_class <= sym_internal_function) s->flags |= symf_type_explicit;
  } else if (symbol_class >= sym_specific_intrinsic && symbol_class <= sym_intrinsic_subroutine) {
    symbol_entry* p = predefined_intrinsic(static_cast<atom*>(entity), symbol_class);
    s->entity = p->entity;
    s->word1 = p->word1;
  }
}

bool usable_module(const symbol_entry* module_symbol) {
  if (!module_symbol || module_symbol->cls != sym_module) return false;
  // A module whose definition is still open (USE of it inside itself) has
  // nothing to export yet.
  for (int level = 1; level < symtab.cur_scope; ++level) {
    const scope* open = scope_at(level).il_scope;
    if (open && open->assoc_routine && open->assoc_routine == module_symbol->entity) return false;
  }
  return true;
}

symbol_entry* use_module(symbol_entry* module_symbol, name_pos_record name) {
  scope_push(sk_module_import);
  if (!module_symbol) {
    FILE* f = open_module_file(name.name);
    il_header* h = il_read(f, module_atom_allocate, module_symbol_import);
    std::fclose(f);
    object* module = module_of_file(h, name.name);
    module_symbol = symbol_create(sym_module, name.name, name.pos, 0);
    // Like a module of the source, the symbol is the global record of its
    // name, not a name of any unit.
    module_symbol->flags &= ~symf_in_scope;
    module_symbol->entity = module;
    module->symbol = module_symbol;
    module_symbol->link = current_scope_record().sym_head;
    return module_symbol;
  }
  if (!usable_module(module_symbol)) {
    error_at(msg_module_name_required, name.pos);
    return module_symbol;
  }
  if (module_symbol->link) {
    install_export_list(module_symbol);
    return module_symbol;
  }
  module_symbol->link = current_scope_record().sym_head;
  return module_symbol;
}
