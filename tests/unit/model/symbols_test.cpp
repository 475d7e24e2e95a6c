// Symbol chains, host links, the end of a unit's level and default access.
#include <vector>

#include "tests/unit/model/model_fixture.h"

namespace {

using SymbolsTest = ModelTest;

constexpr source_pos_record here{3, 5};

TEST_F(SymbolsTest, ChainsRunFromTheInnermostLevelNewestFirst) {
  scope_push(sk_unit);
  scope_push(sk_stmt_function);
  atom* n = name("V");
  symbol_entry* s0 = symbol_create(sym_variable, n, here, 0);
  symbol_entry* s2 = symbol_create(sym_variable, n, here, 2);
  symbol_entry* s1a = symbol_create(sym_variable, n, here, 1);
  symbol_entry* s1b = symbol_create(sym_variable, n, here, 1);
  EXPECT_EQ(n->first_symbol, s2);
  EXPECT_EQ(s2->next_same_name, s1b);
  EXPECT_EQ(s1b->next_same_name, s1a);
  EXPECT_EQ(s1a->next_same_name, s0);
  EXPECT_TRUE(s1a->flags & symf_in_scope);
  EXPECT_EQ(scope_at(1).sym_head, s1a);  // level 1 lists its symbols in order
  EXPECT_EQ(scope_at(1).sym_tail, s1b);
  EXPECT_EQ(scope_at(0).sym_head, nullptr);  // level 0 keeps no list
  symbol_unlink(s1b);
  EXPECT_EQ(s2->next_same_name, s1a);
  EXPECT_EQ(s1b->next_same_name, nullptr);
}

TEST_F(SymbolsTest, AbsentNameBecomesErrorNameAndIsNeverChained) {
  scope_push(sk_unit);
  symbol_entry* s = symbol_create(sym_variable, nullptr, here, 1);
  EXPECT_EQ(s->name, error_name());
  EXPECT_EQ(error_name()->first_symbol, nullptr);
  EXPECT_EQ(scope_at(1).sym_head, nullptr);
}

TEST_F(SymbolsTest, SymbolClassesStartWithTheirEntities) {
  scope_push(sk_unit);
  symbol_entry* s = symbol_create(sym_undeclared, name("U"), here, 1);
  EXPECT_EQ(s->entity, unknown_type());
  symbol_set_class(s, sym_variable);
  EXPECT_EQ(s->entity, nullptr);
  s->word3 = 0xFFFFu;
  symbol_set_class(s, sym_variable);
  EXPECT_EQ(s->word3, 0xFE00u);  // bits 0-8 cleared
  object* o = new_object();
  o->type = default_logical_type();
  s->entity = o;
  EXPECT_EQ(symbol_type(s), default_logical_type());
  symbol_set_class(s, sym_external_named);
  EXPECT_EQ(symbol_type(s), unknown_type());
  symbol_set_class(s, sym_namelist);
  EXPECT_EQ(symbol_type(s), nullptr);
}

TEST_F(SymbolsTest, LookupTwoLevelsOutMakesHostLinksOnThePath) {
  atom* x = name("X");
  symbol_entry* declared = symbol_create(sym_variable, x, here, 0);
  scope_push(sk_unit);
  scope_at(1).implicit_map['X' - 'A'] = default_complex_type();
  scope_push(sk_stmt_function);  // copies level 1's IMPLICIT map
  symbol_entry* r = lookup_name(x, here);
  ASSERT_NE(r, declared);
  EXPECT_EQ(r->cls, sym_host_link);
  EXPECT_EQ(r->level, 2);
  EXPECT_EQ(r->entity, default_complex_type());
  EXPECT_TRUE(r->flags & symf_referenced);
  symbol_entry* middle = r->link;
  ASSERT_NE(middle, nullptr);
  EXPECT_EQ(middle->cls, sym_host_link);
  EXPECT_EQ(middle->level, 1);
  EXPECT_EQ(middle->entity, default_complex_type());
  EXPECT_EQ(middle->link, declared);
  // In a statement function the linked symbol counts as referenced too.
  EXPECT_TRUE(middle->flags & symf_referenced);
  // Found at the current level the second time.
  EXPECT_EQ(lookup_name(x, here), r);
}

TEST_F(SymbolsTest, HostLinkHasNoImplicitTypeUnderImplicitNone) {
  scope_push(sk_unit);
  scope_at(1).implicit_none = 1;
  symbol_entry* r = lookup_name(name("ABC"), here);
  EXPECT_EQ(r->cls, sym_host_link);
  EXPECT_EQ(r->entity, nullptr);
  EXPECT_EQ(r->link, nullptr);  // nothing at level 0
  scope_push(sk_unit);          // a level without IMPLICIT NONE of its own
  symtab.in_bound_expr = true;
  symbol_entry* inner = lookup_name(name("ABD"), here);
  EXPECT_EQ(inner->entity, default_real_type());
  EXPECT_TRUE(inner->flags & symf_in_bound);
  EXPECT_FALSE(inner->flags & symf_referenced);
  symtab.in_bound_expr = false;
}

// A module unit at level 1 whose object is named M; returns its symbol.
symbol_entry* push_module(const char* module_name) {
  scope* body = scope_push(sk_unit);
  object* m = new_object();
  m->storage_class = sc_module;
  symbol_entry* ms = symbol_create(sym_module, intern_cstring(module_name), here, 0);
  ms->entity = m;
  m->symbol = ms;
  body->assoc_routine = m;
  m->assoc_scope = body;
  return ms;
}

TEST_F(SymbolsTest, EndOfModuleExportsPublicSymbolsAndMakesCommonGlobal) {
  symbol_entry* ms = push_module("M");
  scope_set_default_access(1, true);
  symbol_entry* a = symbol_create(sym_variable, name("A"), here, 1);
  symbol_entry* c = symbol_create(sym_common_block, name("C"), here, 1);
  symbol_entry* hidden = symbol_create(sym_variable, name("H"), here, 1);
  hidden->flags = (hidden->flags | symf_access_explicit) & ~symf_public;
  symbol_entry* b = symbol_create(sym_internal_function, name("B"), here, 1);
  scope_end_unit();
  EXPECT_EQ(symtab.cur_scope, 0);
  EXPECT_EQ(ms->link, a);
  EXPECT_EQ(a->next_same_level, b);
  EXPECT_EQ(b->next_same_level, nullptr);
  EXPECT_EQ(name("A")->first_symbol, nullptr);
  // The COMMON block is now the global symbol of its name, and its list link
  // no longer leads into the module's symbols.
  EXPECT_EQ(global_symbol_of(name("C")), c);
  EXPECT_EQ(c->level, 0);
  EXPECT_EQ(c->next_same_level, nullptr);
  EXPECT_EQ(name_is_common_block(name("C")), 1);

  // A second unit that takes the global COMMON symbol over lists only its own.
  scope_push(sk_unit);
  symbol_entry* d = symbol_create(sym_variable, name("D"), here, 1);
  symbol_entry* c2 = symbol_create(sym_common_block, name("C"), here, 1);
  scope_end_unit();
  EXPECT_EQ(global_symbol_of(name("C")), c);  // the first stays global
  EXPECT_EQ(name("C")->first_symbol, c);
  EXPECT_EQ(d->next_same_level, c2);
  EXPECT_EQ(ms->link, a);
  EXPECT_EQ(a->next_same_level, b);

  // A third unit takes the global symbol itself over: its list holds only
  // its own symbols, and the module's export list is untouched.
  scope_push(sk_unit);
  symbol_entry* e = symbol_create(sym_variable, name("E"), here, 1);
  symbol_move_to_level(c, 1);
  symbol_entry* f = symbol_create(sym_variable, name("F"), here, 1);
  EXPECT_EQ(scope_at(1).sym_head, e);
  EXPECT_EQ(e->next_same_level, c);
  EXPECT_EQ(c->next_same_level, f);
  EXPECT_EQ(f->next_same_level, nullptr);
  EXPECT_EQ(lookup_name(name("F"), here), f);
  scope_end_unit();
  EXPECT_EQ(global_symbol_of(name("C")), c);
  EXPECT_EQ(c->next_same_level, nullptr);
  EXPECT_EQ(ms->link, a);
  EXPECT_EQ(a->next_same_level, b);
  EXPECT_EQ(b->next_same_level, nullptr);
}

TEST_F(SymbolsTest, BarePrivateReachesSymbolsDeclaredBeforeIt) {
  scope_push(sk_unit);
  scope_set_default_access(1, true);
  symbol_entry* before = symbol_create(sym_variable, name("P1"), here, 1);
  symbol_entry* explicit_public = symbol_create(sym_variable, name("P2"), here, 1);
  explicit_public->flags |= symf_access_explicit | symf_public;
  EXPECT_TRUE(before->flags & symf_public);
  scope_set_default_access(1, false);  // PRIVATE
  symbol_entry* after = symbol_create(sym_variable, name("P3"), here, 1);
  EXPECT_FALSE(before->flags & symf_public);
  EXPECT_TRUE(explicit_public->flags & symf_public);
  EXPECT_FALSE(after->flags & symf_public);
}

TEST_F(SymbolsTest, ScopePushCopiesTheImplicitMapAndMakesScopes) {
  EXPECT_EQ(scope_at(0).implicit_map['I' - 'A'], default_integer_type());
  EXPECT_EQ(scope_at(0).implicit_map['A' - 'A'], default_real_type());
  EXPECT_TRUE(scope_at(0).flags & scopef_default_public);
  scope_at(0).implicit_map['Q' - 'A'] = default_logical_type();
  scope* unit = scope_push(sk_unit);
  EXPECT_NE(unit, nullptr);
  EXPECT_EQ(scope_at(1).implicit_map['Q' - 'A'], default_logical_type());
  EXPECT_FALSE(scope_at(1).flags & scopef_default_public);
  scope_at(1).implicit_map['Q' - 'A'] = nullptr;
  symtab.interface_depth = 1;  // inside an interface body the host's map is not inherited
  scope_push(sk_unit);
  EXPECT_EQ(scope_at(2).implicit_map['Q' - 'A'], default_logical_type());
  symtab.interface_depth = 0;
  EXPECT_EQ(scope_push(sk_module_import), nullptr);  // an import level has no IL scope
}

// Removal unlinks an object wherever it stands on its scope's list and keeps
// the list appendable; an object on no list, or on another unit's, stays put.
TEST_F(SymbolsTest, RemovalFromTheObjectListAnywhere) {
  scope* first = scope_push(sk_unit);
  object* e[5];
  for (object*& o : e) {
    o = new_object();
    o->corresp.scope_depth = 1;
    unit_add_entity(o, 1);
  }
  unit_remove_entity(e[2]);  // middle
  unit_remove_entity(e[0]);  // head
  unit_remove_entity(e[4]);  // tail
  unit_remove_entity(e[4]);  // again: no longer listed
  object* loose = new_object();
  loose->corresp.scope_depth = 1;
  unit_remove_entity(loose);
  unit_add_entity(e[0], 1);
  std::vector<object*> seen;
  for (object* o = first->objects; o; o = o->next) seen.push_back(o);
  EXPECT_EQ(seen, (std::vector<object*>{e[1], e[3], e[0]}));
  unit_remove_entity(e[3]);
  unit_remove_entity(e[0]);
  unit_remove_entity(e[1]);
  EXPECT_EQ(first->objects, nullptr);
  unit_add_entity(e[2], 1);
  EXPECT_EQ(first->objects, e[2]);

  scope_end_unit();
  scope* second = scope_push(sk_unit);
  object* other = new_object();
  other->corresp.scope_depth = 1;
  unit_add_entity(other, 1);
  unit_remove_entity(e[2]);  // listed by the first unit, not by this one
  EXPECT_EQ(first->objects, e[2]);
  EXPECT_EQ(second->objects, other);
}

TEST_F(SymbolsTest, ListAppendersKeepTailsAndDepths) {
  scope* unit = scope_push(sk_unit);
  object* a = new_object();
  object* b = new_object();
  object* c = new_object();
  for (object* o : {a, b, c}) {
    o->corresp.scope_depth = 1;
    unit_add_entity(o, 1);
  }
  unit_remove_entity(c);
  object* d = new_object();
  unit_add_entity(d, 1);
  EXPECT_EQ(unit->objects, a);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->next, d);
  EXPECT_EQ(d->next, nullptr);
  type* t = new_type(tk_derived_type);
  unit_add_type(t, 1);
  EXPECT_EQ(t->corresp.scope_depth & 0xFF, 1u);
  EXPECT_EQ(unit->types, t);

  interface* i = new_interface_entry();
  scope_set_interface(i, 1);
  EXPECT_TRUE(interface_add_procedure(a, 1));
  EXPECT_FALSE(interface_add_procedure(a, 1));  // already there: not added again
  ASSERT_NE(i->routine_prototype_list, nullptr);
  EXPECT_EQ(i->routine_prototype_list->object, a);
  EXPECT_EQ(i->routine_prototype_list->next, nullptr);

  symbol_entry* s = symbol_create(sym_variable, name("W"), source_pos_record{9, 4}, 1);
  set_source_corresp(a, s);
  EXPECT_EQ(a->symbol, s);
  EXPECT_EQ(a->corresp.name, name("W"));
  EXPECT_EQ(a->corresp.decl_position.seq, 9u);
  EXPECT_EQ(a->corresp.scope_depth, 1u);
  EXPECT_FALSE(a->corresp.referenced);
}

}  // namespace

namespace {

TEST_F(SymbolsTest, EndOfUnitSettlesExternalsAliasesAndFoldedNames) {
  symbol_entry* target = symbol_create(sym_external_subroutine, name("T"), here, 0);
  scope_push(sk_unit);
  auto unknown_external = [](const char* n, bool referenced) {
    symbol_entry* s = symbol_create(sym_unknown_external, name(n), here, 1);
    object* o = new_object();
    o->corresp.referenced = false;
    s->entity = o;
    if (referenced) s->flags |= symf_referenced;
    return o;
  };
  object* unused = unknown_external("U1", false);
  object* used = unknown_external("U2", true);
  symbol_entry* alias = symbol_create(sym_alias, name("LOCAL_T"), here, 1);
  alias->entity = target;
  alias->flags |= symf_referenced | symf_in_bound | symf_type_explicit;
  symbol_entry* folded = symbol_create(sym_folded_external, name("F_"), here, 1);
  symbol_entry* variable = symbol_create(sym_variable, name("V"), here, 1);
  scope_end_unit();

  EXPECT_TRUE(unused->corresp.referenced);  // an external never referenced
  EXPECT_FALSE(used->corresp.referenced);
  EXPECT_EQ(name("U1")->first_symbol, nullptr);
  EXPECT_EQ(name("U2")->first_symbol, nullptr);
  // The alias hands its referenced and bound-use marks (only those) to its
  // target and leaves the name.
  EXPECT_TRUE(target->flags & symf_referenced);
  EXPECT_TRUE(target->flags & symf_in_bound);
  EXPECT_FALSE(target->flags & symf_type_explicit);
  EXPECT_EQ(name("LOCAL_T")->first_symbol, nullptr);
  EXPECT_EQ(name("T")->first_symbol, target);  // a level-0 external stays
  EXPECT_EQ(name("F_")->first_symbol, folded);  // folded external names are kept
  EXPECT_EQ(name("V")->first_symbol, nullptr);
  (void)variable;
}

TEST_F(SymbolsTest, ExportListIsAlsoGivenToTheGlobalSymbolOfTheModule) {
  symbol_entry* global = symbol_create(sym_folded_external, name("MOD"), here, 0);
  global->flags &= ~symf_in_scope;  // the global symbol of the name
  symbol_entry* ms = push_module("MOD");
  scope_set_default_access(1, true);
  symbol_entry* g = symbol_create(sym_generic, name("G"), here, 1);
  symbol_entry* n = symbol_create(sym_namelist, name("NL"), here, 1);
  symbol_entry* unresolved = symbol_create(sym_variable, name("Q"), here, 1);
  unresolved->flags |= symf_unresolved;
  symbol_entry* label = symbol_create(sym_stmt_label, name("10"), here, 1);
  scope_end_unit();
  EXPECT_EQ(ms->link, g);
  EXPECT_EQ(g->next_same_level, n);
  EXPECT_EQ(n->next_same_level, nullptr);  // neither Q nor the label
  EXPECT_EQ(global->link, g);
  (void)label;
}

}  // namespace

namespace {

TEST_F(SymbolsTest, AnAliasMakesTheHostWalkJumpToItsTargetsLevel) {
  // MYSIN is declared at level 0 and, at level 1, renames the intrinsic SIN.
  // A use at level 2 links to SIN, and the walk ends there: SIN is predefined
  // (level -1), so nothing links on from it to the level-0 MYSIN.
  symbol_entry* sin = name("SIN")->first_symbol;
  ASSERT_NE(sin, nullptr);
  symbol_create(sym_variable, name("MYSIN"), here, 0);
  scope_push(sk_unit);
  symbol_entry* alias = symbol_create(sym_alias, name("MYSIN"), here, 1);
  alias->entity = sin;
  scope_push(sk_unit);
  symbol_entry* r = lookup_name(name("MYSIN"), here);
  EXPECT_EQ(r->cls, sym_host_link);
  EXPECT_EQ(r->level, 2);
  EXPECT_EQ(r->link, sin);
  EXPECT_EQ(sin->link, nullptr);
}

}  // namespace

namespace {

TEST_F(SymbolsTest, EveryClassStartsWithItsEntityAndClassWords) {
  // Each row: classes, whether the entity becomes the unknown type (else
  // none), and the class words after starting from all ones.
  enum entity_start { none, unknown };
  struct Row {
    std::vector<int> classes;
    entity_start entity;
    uint32_t word1, word2, word3;
  } rows[] = {
      {{0, 17, 18, 19}, unknown, ~0u, ~0u, ~0u},
      {{1, 23}, none, 0, ~0u, ~0x1FFu},
      {{2, 3, 4, 5, 6, 7, 8, 11, 12, 15, 20, 22, 24, 25, 26}, none, ~3u, ~0u, ~0u},
      {{9, 10, 27}, none, ~1u, ~0u, ~0u},
      {{13}, none, 0, ~0u, ~0u},
      {{14}, none, 0, ~1u, ~0u},
      {{16}, unknown, 0, ~0u, ~0u},
      {{21, 31}, unknown, 0, ~3u, ~0u},
      {{28, 29, 30}, none, ~0u, ~0u, ~0u},
  };
  scope_push(sk_unit);
  symbol_entry* s = symbol_create(sym_variable, name("S"), here, 1);
  object* marker = new_object();
  int seen = 0;
  for (const Row& row : rows) {
    for (int cls : row.classes) {
      s->entity = marker;
      s->word1 = s->word2 = s->word3 = ~0u;
      symbol_set_class(s, cls);
      ++seen;
      EXPECT_EQ(s->cls, cls);
      EXPECT_EQ(s->entity, row.entity == unknown ? static_cast<void*>(unknown_type()) : nullptr)
          << "class " << cls;
      EXPECT_EQ(s->word1, row.word1) << "class " << cls;
      EXPECT_EQ(s->word2, row.word2) << "class " << cls;
      EXPECT_EQ(s->word3, row.word3) << "class " << cls;
    }
  }
  EXPECT_EQ(seen, 32);
}

}  // namespace
