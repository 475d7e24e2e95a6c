// Symbols and scope levels: symbol creation and classes, the chains per name
// (innermost level first), host links, the end of a unit's level with its
// module export list, and the IL scope list appenders.
#include "frontend/model/symbols.h"

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/names.h"
#include "frontend/model/types.h"

SymtabState symtab;

// "impossible use-name": a reference to a name that USE bound to two entities.
static constexpr int msg_ambiguous_use_name = 282;

scope_record& scope_at(int level) { return symtab.scope_tab[static_cast<size_t>(level)]; }

static bool level_is_live(int32_t level) {
  return level >= 0 && level <= symtab.cur_scope;
}

// Appends a symbol to a level's list of declared symbols; the symbol's own
// next-of-level link is cleared so that no other list is spliced in.
static void scope_append_symbol(symbol_entry* s, int32_t level) {
  scope_record& r = scope_at(level);
  s->next_same_level = nullptr;
  if (r.sym_tail)
    r.sym_tail->next_same_level = s;
  else
    r.sym_head = s;
  r.sym_tail = s;
}

// Inserts a symbol into its name's chain before the first symbol whose level
// is not above its own: the chain stays in descending level order.
static void chain_insert(symbol_entry* s) {
  pool_ref_field<symbol_entry>* p = &s->name->first_symbol;
  while (*p && (*p)->level > s->level) p = &(*p)->next_same_name;
  s->next_same_name = *p;
  *p = s;
}

// symbol_create; report says whether an overlong name gets message 318.
static symbol_entry* make_symbol(int cls, atom* name, source_pos_record pos, int32_t level,
                                 bool report) {
  symbol_entry* s = pool_new<symbol_entry>();
  s->level = predefined_level;
  symbol_set_class(s, cls);
  if (!name) name = error_name();
  s->name = name;
  s->decl_position = pos;
  s->next_same_level = nullptr;
  s->level = level;
  if (level != predefined_level && level_is_live(level)) {
    if (level > 0 && name != error_name()) scope_append_symbol(s, level);
    s->flags |= symf_in_scope;
    if (scope_at(level).flags & scopef_default_public) s->flags |= symf_public;
  }
  if (name == error_name()) return s;
  uint32_t limit = name->length > 0 && name->text[0] == '.' ? 33 : max_name_length;
  if (report && name->length > limit) error_at(318, pos);
  chain_insert(s);
  return s;
}

symbol_entry* symbol_create(int cls, atom* name, source_pos_record pos, int32_t level) {
  return make_symbol(cls, name, pos, level, true);
}

symbol_entry* symbol_create_quiet(int cls, atom* name, source_pos_record pos, int32_t level) {
  return make_symbol(cls, name, pos, level, false);
}

void symbol_move_to_level(symbol_entry* s, int32_t level) {
  if (!level_is_live(level) || s->name == names.error_name) return;
  symbol_unlink(s);
  s->level = level;
  s->flags |= symf_in_scope;
  s->next_same_level = nullptr;
  if (level > 0) scope_append_symbol(s, level);
  chain_insert(s);
}

void symbol_chain_insert(symbol_entry* s) {
  if (s->name && s->name != names.error_name) chain_insert(s);
}

void symbol_set_class(symbol_entry* s, int cls) {
  s->cls = static_cast<uint8_t>(cls);
  switch (cls) {
    case sym_derived_type:
    case sym_undeclared:
    case sym_stmt_func_dummy:
    case sym_external_named:
      s->entity = unknown_type();
      break;
    case sym_variable:
    case sym_dummy:
      s->entity = nullptr;
      s->link = nullptr;
      s->word1 = 0;
      s->word3 &= ~0x1FFu;
      break;
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function:
    case sym_stmt_function:
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
    case sym_main_program:
    case sym_block_data:
    case sym_common_block:
    case sym_module_procedure:
    case sym_unknown_external:
    case sym_dummy_function:
    case sym_dummy_subroutine:
    case sym_dummy_procedure:
      s->entity = nullptr;
      s->word1 &= ~3u;
      break;
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine:
    case sym_generic:
      s->entity = nullptr;
      s->word1 &= ~1u;
      break;
    case sym_module:
      s->entity = nullptr;
      s->link = nullptr;
      s->word1 = 0;
      break;
    case sym_stmt_label:
      s->entity = nullptr;
      s->link = nullptr;
      s->word1 = 0;
      s->word2 &= ~1u;
      break;
    case sym_outer_implied_do_var:
      s->entity = unknown_type();
      s->link = nullptr;
      s->word1 = 0;
      break;
    case sym_forward_derived_type:
    case sym_host_link:
      s->entity = unknown_type();
      s->link = nullptr;
      s->word1 = 0;
      s->word2 &= ~3u;
      break;
    default:  // 28-30
      s->entity = nullptr;
      break;
  }
}

void symbol_unlink(symbol_entry* s) {
  if (s->name) {
    for (pool_ref_field<symbol_entry>* p = &s->name->first_symbol; *p; p = &(*p)->next_same_name) {
      if (*p == s) {
        *p = s->next_same_name;
        break;
      }
    }
  }
  s->next_same_name = nullptr;
}

symbol_entry* global_symbol_of(atom* name) {
  if (!name) return nullptr;
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name)
    if (!(s->flags & symf_in_scope) && s->level == 0) return s;
  return nullptr;
}

int name_is_common_block(atom* name) {
  if (!name || name == names.error_name) return 0;
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name)
    if (s->cls == sym_common_block && s->level != predefined_level) return 1;
  return 0;
}

// The object entry that a symbol of an object-carrying class stands for.
object* entity_object(symbol_entry* s) {
  if (!s || !s->entity) return nullptr;
  switch (s->cls) {
    case sym_variable:
    case sym_external_subroutine:
    case sym_external_function:
    case sym_internal_subroutine:
    case sym_internal_function:
    case sym_stmt_function:
    case sym_main_program:
    case sym_block_data:
    case sym_module:
    case sym_unknown_external:
    case sym_dummy:
    case sym_dummy_function:
    case sym_dummy_subroutine:
    case sym_dummy_procedure:
      return static_cast<object*>(s->entity.get());
    default:
      return nullptr;
  }
}

type* symbol_type(symbol_entry* s) {
  switch (s->cls) {
    case sym_module:
      return nullptr;
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub: {
      auto* specific = static_cast<intrinsic_specific*>(s->entity.get());
      return specific && specific->signature_object ? specific->signature_object->type : nullptr;
    }
    case sym_undeclared:
    case sym_stmt_func_dummy:
    case sym_external_named:
      return static_cast<type*>(s->entity.get());
    default: {
      object* o = entity_object(s);
      return o ? o->type : nullptr;
    }
  }
}

atom* intrinsic_entity_name(const symbol_entry* s) {
  if (!s->entity) return nullptr;
  switch (s->cls) {
    case sym_specific_intrinsic:
    case sym_specific_intrinsic_sub:
      return static_cast<intrinsic_specific*>(s->entity.get())->name;
    case sym_intrinsic_function:
    case sym_intrinsic_subroutine:
      return static_cast<intrinsic_descriptor*>(s->entity.get())->name;
    default:
      return nullptr;
  }
}

type* implicit_map_type(atom* name, int level) {
  if (level > symtab.cur_scope) level = symtab.cur_scope;
  if (level < 0) level = 0;
  if (symtab.cur_scope < 0) return nullptr;
  scope_record& r = scope_at(level);
  if (symtab.no_implicit_typing || r.implicit_none || !name || name->length == 0) return nullptr;
  unsigned char c = name_fold[static_cast<unsigned char>(name->text[0])];
  return c >= 'A' && c <= 'Z' ? r.implicit_map[c - 'A'] : nullptr;
}

// The first in-scope symbol of the name that is not a COMMON block name and
// whose level is at most max_level.
static symbol_entry* first_visible(atom* name, int32_t max_level) {
  for (symbol_entry* s = name->first_symbol; s; s = s->next_same_name)
    if ((s->flags & symf_in_scope) && s->cls != sym_common_block && s->level <= max_level) return s;
  return nullptr;
}

static symbol_entry* alias_target(symbol_entry* s) {
  for (int i = 0; s && s->cls == sym_alias && s->entity && i < 64; ++i)
    s = static_cast<symbol_entry*>(s->entity.get());
  return s;
}

// Stores the next outer symbol of a host-link path in a symbol. A module's
// link heads its export list and is never used for the path.
static void set_path_link(symbol_entry* s, symbol_entry* outer) {
  if (s->cls != sym_module) s->link = outer;
}

symbol_entry* lookup_name(atom* name, source_pos_record pos) {
  if (!name) name = error_name();
  int cur = symtab.cur_scope;
  if (cur < 0) return first_visible(name, INT32_MAX);  // no level open yet
  symbol_entry* result = nullptr;
  symbol_entry* first = first_visible(name, INT32_MAX);
  // The variable of an enclosing DATA or constructor implied DO sits above the
  // current level while it is visible and is found directly.
  bool implied_do = first && first->level > cur && first->cls == sym_outer_implied_do_var;
  if (first && (first->level == cur || implied_do)) {
    result = alias_target(first);
  } else {
    result = symbol_create(sym_host_link, name, pos, cur);
    result->entity = implicit_map_type(name, cur);
    symbol_entry* prev = result;
    for (int level = cur - 1; level >= 0; --level) {
      symbol_entry* found = first_visible(name, level);
      if (found && found->level == level) {
        found = alias_target(found);
        // The walk goes on below the target's level; a predefined target
        // (level -1) ends it.
        if (found->level < level) level = found->level;
        set_path_link(prev, found);
        prev = found;
      } else if (level >= 1) {
        // The links of the outer levels stand for the same use of the name:
        // an overlong name is reported once, for the current level's link.
        symbol_entry* made = make_symbol(sym_host_link, name, pos, level, false);
        made->entity = implicit_map_type(name, level);
        set_path_link(prev, made);
        prev = made;
      } else {
        set_path_link(prev, nullptr);
      }
    }
  }
  // A name that USE bound to two different module entities may stand
  // unused; each reference of it is ambiguous.
  const symbol_entry* meant = result->cls == sym_host_link ? alias_target(result->link) : result;
  if (meant && (meant->flags & symf_use_clash)) error_at(msg_ambiguous_use_name, pos);
  if (!symtab.in_bound_expr) {
    result->flags |= symf_referenced;
    if (cur >= 0 && scope_at(cur).kind == sk_stmt_function && result->cls == sym_host_link &&
        result->level == cur && result->link)
      result->link->flags |= symf_referenced;
  } else {
    result->flags |= symf_in_bound;
  }
  return result;
}

// The default IMPLICIT rule: I to N INTEGER, the other letters REAL.
static void default_implicit_map(type* map[26]) {
  for (int i = 0; i < 26; ++i)
    map[i] = i >= 'I' - 'A' && i <= 'N' - 'A' ? default_integer_type() : default_real_type();
}

scope* scope_push(int kind) {
  ++symtab.cur_scope;
  if (static_cast<size_t>(symtab.cur_scope) >= symtab.scope_tab.size()) {
    if (symtab.scope_tab.size() == symtab.scope_tab.capacity())
      symtab.scope_tab.reserve(symtab.scope_tab.size() + 6);
    symtab.scope_tab.emplace_back();
  }
  int level = symtab.cur_scope;
  scope_record& r = scope_at(level);
  r = scope_record{};
  if (level > 0) {
    const scope_record& from = scope_at(symtab.interface_depth > 0 ? 0 : level - 1);
    for (int i = 0; i < 26; ++i) r.implicit_map[i] = from.implicit_map[i];
  } else {
    default_implicit_map(r.implicit_map);
  }
  for (bool& b : symtab.implicit_letter_set) b = false;
  if (kind == sk_file || kind == sk_unit || kind == sk_stmt_function || kind == sk_type_def)
    r.il_scope = new_scope_entry();
  r.kind = kind;
  r.flags = level == 0 ? scopef_default_public : 0;
  return r.il_scope;
}

void scope_end_unit() {
  if (symtab.cur_scope < 0) return;
  int level = symtab.cur_scope;
  scope_record& r = scope_at(level);
  symbol_entry* module_symbol = nullptr;
  if (r.kind == sk_unit && r.il_scope && r.il_scope->assoc_routine &&
      r.il_scope->assoc_routine->storage_class == sc_module)
    module_symbol = r.il_scope->assoc_routine->symbol;

  // The level's symbols, taken before any link of the list changes.
  std::vector<symbol_entry*> level_symbols;
  for (symbol_entry* s = r.sym_head; s; s = s->next_same_level) level_symbols.push_back(s);

  atom* err = names.error_name;
  for (symbol_entry* s : level_symbols) {
    if (s->name == err) continue;
    bool in_scope_or_inner = (s->flags & symf_in_scope) || s->level != 0;
    switch (s->cls) {
      case sym_unknown_external:
        if (!(s->flags & symf_referenced) && s->entity &&
            static_cast<object*>(s->entity.get())->storage_class == sc_unspecified)
          static_cast<object*>(s->entity.get())->corresp.referenced = true;
        if (in_scope_or_inner) symbol_unlink(s);
        break;
      case sym_external_subroutine:
      case sym_external_function:
      case sym_main_program:
      case sym_block_data:
      case sym_module:
        if (in_scope_or_inner) symbol_unlink(s);
        break;
      case sym_common_block:
        if (in_scope_or_inner) {
          symbol_unlink(s);
          if (!global_symbol_of(s->name)) {
            // The COMMON block becomes the global symbol of its name. It
            // leaves the level's list whole, inside a module too, so that a
            // later unit that takes it over does not inherit this list.
            s->flags &= ~symf_in_scope;
            s->level = 0;
            s->next_same_level = nullptr;
            chain_insert(s);
          }
        }
        break;
      case sym_folded_external:
        break;
      case sym_alias:
        if (s->entity)
          static_cast<symbol_entry*>(s->entity.get())->flags |= s->flags & (symf_referenced | symf_in_bound);
        symbol_unlink(s);
        break;
      default:
        symbol_unlink(s);
        break;
    }
  }

  if (module_symbol && !module_symbol->link) {
    symbol_entry* head = nullptr;
    symbol_entry* tail = nullptr;
    for (symbol_entry* s : level_symbols) {
      if (s->name == err || s->cls == sym_common_block) continue;
      bool exported_class = s->cls <= sym_internal_function ||
                            (s->cls >= sym_specific_intrinsic && s->cls <= sym_intrinsic_subroutine) ||
                            s->cls == sym_generic || s->cls == sym_namelist;
      if ((s->flags & symf_public) && (s->flags & symf_in_scope) && !(s->flags & symf_unresolved) &&
          exported_class) {
        s->next_same_level = nullptr;
        if (tail)
          tail->next_same_level = s;
        else
          head = s;
        tail = s;
      }
    }
    module_symbol->link = head;
    if (symbol_entry* global = global_symbol_of(module_symbol->name)) global->link = head;
  }
  --symtab.cur_scope;
}

void scope_set_default_access(int level, bool is_public) {
  if (!level_is_live(level)) return;
  scope_record& r = scope_at(level);
  if (is_public)
    r.flags |= scopef_default_public;
  else
    r.flags &= ~scopef_default_public;
  for (symbol_entry* s = r.sym_head; s; s = s->next_same_level) {
    if (s->flags & symf_access_explicit) continue;
    if (is_public)
      s->flags |= symf_public;
    else
      s->flags &= ~symf_public;
  }
}

void copy_decl_pos(const symbol_entry* s, source_corresp* out) {
  out->name = s->name;
  out->decl_position = s->decl_position;
}

void set_source_corresp(source_corresp* corresp, pool_ref_field<symbol_entry>* front_end_link, symbol_entry* s) {
  *front_end_link = s;
  copy_decl_pos(s, corresp);
  corresp->scope_depth = s->level < 0 || s->level >= 255 ? 255u : static_cast<uint32_t>(s->level);
  corresp->referenced = false;
}

// ---- IL scope list appenders ----

// The record of a live level that has an IL scope, or null.
static scope_record* il_level(int level) {
  if (!level_is_live(level)) return nullptr;
  scope_record* r = &scope_at(level);
  return r->il_scope ? r : nullptr;
}

template <class Head, class T>
static void append(Head& head, T*& tail, T* item) {
  item->next = nullptr;
  if (tail)
    tail->next = item;
  else
    head = item;
  tail = item;
}

void unit_add_type(type* t, int level) {
  scope_record* r = il_level(level);
  if (!r) return;
  append(r->il_scope->types, r->types_tail, t);
  t->corresp.scope_depth = (t->corresp.scope_depth & ~0xFFu) | (static_cast<uint32_t>(level) & 0xFFu);
}

void unit_add_entity(object* o, int level) {
  scope_record* r = il_level(level);
  if (!r) return;
  o->list_prev = r->objects_tail;
  o->listed_in = r->il_scope;
  append(r->il_scope->objects, r->objects_tail, o);
}

void unit_add_interface(interface* i, int level) {
  if (scope_record* r = il_level(level)) append(r->il_scope->interfaces, r->interfaces_tail, i);
}

void unit_add_namelist(namelist_group* g, int level) {
  if (scope_record* r = il_level(level))
    append(r->il_scope->namelist_groups, r->namelist_groups_tail, g);
}

void unit_add_label(label* l) {
  if (scope_record* r = il_level(symtab.cur_scope)) append(r->il_scope->labels, r->labels_tail, l);
}

void unit_add_entry(entry_description* e) {
  if (scope_record* r = il_level(symtab.cur_scope)) append(r->il_scope->entries, r->entries_tail, e);
}

void unit_add_parameter(object* o) {
  scope_record* r = il_level(symtab.cur_scope);
  if (!r) return;
  object_list_member* m = new_object_list_member();
  m->object = o;
  append(r->il_scope->parameters, r->parameters_tail, m);
}

void unit_remove_entity(object* o) {
  scope_record* r = il_level(static_cast<int>(o->corresp.scope_depth & 0xFFu));
  if (!r) return;
  auto& head = r->il_scope->objects;
  object* prev = o->list_prev;
  // Only unit_add_entity puts objects on a scope's list, and it records where.
  bool linked = o->listed_in == r->il_scope && (prev ? prev->next == o : head == o);
  if (!linked) return;  // on no list, or on another scope's
  if (prev)
    prev->next = o->next;
  else
    head = o->next;
  if (o->next && o->next->listed_in == r->il_scope) o->next->list_prev = prev;
  if (r->objects_tail == o) r->objects_tail = prev;
  o->next = nullptr;
  o->list_prev = nullptr;
  o->listed_in = nullptr;
}

bool unit_has_entity(const object* o, int level) {
  scope_record* r = il_level(level);
  for (object* p = r ? r->il_scope->objects : nullptr; p; p = p->next)
    if (p == o) return true;
  return false;
}

void scope_set_interface(interface* i, int level) {
  if (level_is_live(level)) scope_at(level).cur_interface = i;
}

bool interface_add_procedure(object* o, int level) {
  interface* i = level_is_live(level) ? scope_at(level).cur_interface : nullptr;
  if (!i) return true;
  pool_ref_field<object_list_member>* p = &i->routine_prototype_list;
  for (; *p; p = &(*p)->next)
    if ((*p)->object == o) return false;
  object_list_member* m = new_object_list_member();
  m->object = o;
  *p = m;
  if (o->symbol) o->symbol->flags |= symf_referenced;
  return true;
}

object* routine_of_result_var(object* o) {
  if (symtab.cur_scope < 0) return nullptr;
  scope* s = current_scope_record().il_scope;
  if (!s) return nullptr;
  if (s->function_result_var == o) return s->assoc_routine;
  for (entry_description* e = s->entries; e; e = e->next)
    if (e->function_result_var == o) return e->assoc_routine;
  return nullptr;
}

