// Module file paths and the import of a module's symbols onto an import
// level: a known module's export list installed again, symbols read from a
// file bound to their entities and intrinsics.
#include <string>

#include "frontend/ilfile/module_file.h"
#include "frontend/ilfile/module_import.h"
#include "tests/unit/model/model_fixture.h"

namespace {

using ModuleImportTest = ModelTest;

constexpr source_pos_record here{3, 5};

TEST_F(ModuleImportTest, PathJoinsWithOneSlashAndNeverCutsALongDirectory) {
  atom m{};
  m.text = "MODS";
  m.length = 4;
  EXPECT_EQ(module_file_path("dir", &m), "dir/MODS.mod");
  EXPECT_EQ(module_file_path("dir/", &m), "dir/MODS.mod");
  std::string long_dir(300, 'd');
  EXPECT_EQ(module_file_path(long_dir.c_str(), &m), long_dir + "/MODS.mod");
}

// A module of the source: its symbol at level 0 with an export list of two.
struct KnownModule {
  symbol_entry* module;
  symbol_entry* a;
  symbol_entry* b;
};

KnownModule end_a_module() {
  scope_push(sk_unit);
  scope_set_default_access(1, true);
  symbol_entry* ms = symbol_create(sym_module, intern_cstring("M"), here, 0);
  object* mo = new_object();
  mo->storage_class = sc_module;
  mo->symbol = ms;
  ms->entity = mo;
  current_scope_record().il_scope->assoc_routine = mo;
  symbol_entry* a = symbol_create(sym_variable, intern_cstring("A"), here, 1);
  symbol_entry* b = symbol_create(sym_internal_subroutine, intern_cstring("B"), here, 1);
  scope_end_unit();
  ms->flags &= ~symf_in_scope;
  return {ms, a, b};
}

TEST_F(ModuleImportTest, AKnownModuleIsInstalledOnAnImportLevelAgainAndAgain) {
  KnownModule k = end_a_module();
  ASSERT_EQ(k.module->link, k.a);
  ASSERT_EQ(known_module_symbol(name("M")), k.module);
  for (int use = 0; use < 2; ++use) {
    scope_push(sk_unit);
    name_pos_record n{name("M"), here};
    EXPECT_EQ(use_module(k.module, n), k.module);
    EXPECT_EQ(symtab.cur_scope, 2);
    EXPECT_EQ(current_scope_record().kind, sk_module_import);
    EXPECT_EQ(current_scope_record().sym_head, k.a);
    EXPECT_EQ(current_scope_record().sym_tail, k.b);
    // Each name's chain holds its symbol once, at the import level.
    EXPECT_EQ(name("A")->first_symbol, k.a);
    EXPECT_EQ(k.a->next_same_name, nullptr);
    EXPECT_EQ(k.b->level, 2);
    scope_end_unit();  // the import level
    EXPECT_EQ(name("A")->first_symbol, nullptr);
    EXPECT_EQ(k.module->link, k.a);
    EXPECT_EQ(k.a->next_same_level, k.b);
    scope_end_unit();  // the unit
  }
}

TEST_F(ModuleImportTest, ASymbolOfAnotherClassIsNoModule) {
  scope_push(sk_unit);
  symbol_entry* v = symbol_create(sym_variable, name("V"), here, 1);
  name_pos_record n{name("V"), here};
  EXPECT_EQ(use_module(v, n), v);
  EXPECT_EQ(diag.errors, 1u);
  EXPECT_EQ(current_scope_record().kind, sk_module_import);
}

TEST_F(ModuleImportTest, ReceivedSymbolsAreBoundToTheirEntitiesAndIntrinsics) {
  scope_push(sk_unit);
  scope_push(sk_module_import);
  object* o = new_object();
  type* t = new_type(tk_derived_type);
  module_symbol_import(name("X"), sym_variable, o);
  module_symbol_import(name("T"), sym_derived_type, t);
  // An intrinsic travels as its name; the entity is the predefined one.
  module_symbol_import(name("SQRT"), sym_intrinsic_function, name("SQRT"));
  symbol_entry* x = current_scope_record().sym_head;
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->entity, o);
  EXPECT_EQ(o->symbol, x);
  EXPECT_TRUE(x->flags & symf_type_explicit);
  EXPECT_EQ(x->level, 2);
  symbol_entry* ts = x->next_same_level;
  EXPECT_EQ(ts->entity, t);
  EXPECT_EQ(t->symbol, ts);
  symbol_entry* sq = ts->next_same_level;
  ASSERT_NE(sq, nullptr);
  symbol_entry* predefined = nullptr;
  for (symbol_entry* p = name("SQRT")->first_symbol; p; p = p->next_same_name)
    if (p->level == predefined_level && p->cls == sym_intrinsic_function) predefined = p;
  ASSERT_NE(predefined, nullptr);
  EXPECT_EQ(sq->entity, predefined->entity);
  EXPECT_EQ(current_scope_record().sym_tail, sq);
}

TEST_F(ModuleImportTest, AnIntrinsicNameThatIsNoneEndsTheRun) {
  scope_push(sk_unit);
  scope_push(sk_module_import);
  EXPECT_EXIT(module_symbol_import(name("NOSUCH"), sym_intrinsic_function, name("NOSUCH")),
              ::testing::ExitedWithCode(4), "module file has bad format");
}

}  // namespace
