// Program units, procedures and external names: the symbol class from the
// context, attachment to the unit, and the checks of every use of an external
// name against its one global record.
#include "tests/unit/declsvc/decl_fixture.h"

namespace {

using UnitTest = DeclTest;

// A unit whose body calls `callee` (as CALL, or as a function), closed.
void unit_calling(const char* unit, const char* callee, bool called) {
  DeclTest::open_subroutine(unit);
  DeclTest::use_as_procedure(callee, called);
  DeclTest::close_unit();
}

TEST_F(UnitTest, ProgramAndModuleAreVisibleInsideThroughAnAlias) {
  scope_push(sk_unit);
  name_pos_record p = np("P");
  symbol_entry* prog = declare_program(&p);
  EXPECT_EQ(prog->cls, sym_main_program);
  EXPECT_EQ(prog->level, 0);
  auto* o = static_cast<object*>(prog->entity.get());
  EXPECT_EQ(o->storage_class, sc_program);
  EXPECT_EQ(the_il_header.main_routine, o);
  EXPECT_EQ(scope_at(1).il_scope->assoc_routine, o);
  EXPECT_EQ(o->type->return_type, void_type());
  EXPECT_EQ(lookup_name(name("P"), source_pos_record{2, 1}), prog);
  close_unit();

  scope_push(sk_unit);
  name_pos_record m = np("M");
  symbol_entry* mod = declare_module(&m);
  EXPECT_EQ(mod->cls, sym_module);
  EXPECT_EQ(static_cast<object*>(mod->entity.get())->storage_class, sc_module);
  EXPECT_EQ(static_cast<object*>(mod->entity.get())->type->return_type->type_code, tk_module);
  close_unit();
  // The module's symbol is the global record of its name; the program's is gone.
  EXPECT_EQ(global_symbol_of(name("M")), mod);
  EXPECT_EQ(global_symbol_of(name("P")), nullptr);
  EXPECT_EQ(name("P")->first_symbol, nullptr);
  EXPECT_EQ(messages(), "");
}

TEST_F(UnitTest, SubprogramClassFromTheContext) {
  symbol_entry* ext = open_subroutine("S");
  EXPECT_EQ(ext->cls, sym_external_subroutine);
  EXPECT_EQ(ext->level, 0);
  auto* so = static_cast<object*>(ext->entity.get());
  EXPECT_EQ(so->storage_class, sc_external);
  EXPECT_EQ(scope_at(1).il_scope->assoc_routine, so);
  symbol_entry* internal = open_function("F", default_integer_type());
  EXPECT_EQ(internal->cls, sym_internal_function);
  EXPECT_EQ(internal->level, 1);
  auto* fo = static_cast<object*>(internal->entity.get());
  EXPECT_EQ(fo->storage_class, sc_internal);
  EXPECT_EQ(fo->assoc_routine, so);
  EXPECT_EQ(fo->type->return_type, default_integer_type());
  EXPECT_EQ(scope_at(1).il_scope->objects, fo);  // listed in the host
  EXPECT_EQ(messages(), "");
}

TEST_F(UnitTest, EntryBecomesAnAlternateEntryOfTheUnit) {
  symbol_entry* s = open_subroutine("S");
  name_pos_record e = np("E");
  symbol_entry* entry = declare_subroutine(nullptr, &e, true);
  scope* unit = scope_at(1).il_scope;
  EXPECT_EQ(unit->assoc_routine, s->entity);
  ASSERT_NE(unit->entries, nullptr);
  EXPECT_EQ(unit->entries->assoc_routine, entry->entity);
  EXPECT_TRUE(static_cast<object*>(entry->entity.get())->is_fortran_entry);
  EXPECT_EQ(messages(), "");
}

TEST_F(UnitTest, EntryInAnInternalSubroutineOfAMainProgram) {
  scope_push(sk_unit);
  name_pos_record p = np("P");
  declare_program(&p);
  open_subroutine("INNER");
  name_pos_record e = np("E");
  declare_subroutine(nullptr, &e, true);
  EXPECT_EQ(count(messages(), "ENTRY statement is not allowed"), 1);
}

TEST_F(UnitTest, SecondUnnamedBlockData) {
  scope_push(sk_unit);
  scan.cur_token = tok_eos;
  block_data_stmt_name();
  EXPECT_EQ(static_cast<object*>(scope_at(1).il_scope->assoc_routine)->storage_class, sc_blockdata);
  close_unit();
  EXPECT_EQ(messages(), "");
  scope_push(sk_unit);
  scan.cur_token = tok_eos;
  block_data_stmt_name();
  EXPECT_EQ(count(messages(), "unnamed BLOCK DATA has already been defined"), 1);
}

// External name conflicts across units: each row is two units in order.
struct ExternalCase {
  const char* label;
  int first;   // 0 SUBROUTINE X, 1 FUNCTION X, 2 CALL X, 3 Y = X(1), 4 EXTERNAL X only
  int second;
  const char* message;  // expected at the second unit, "" for none
};

void make_unit(int how) {
  switch (how) {
    case 0:
      DeclTest::open_subroutine("X");
      DeclTest::close_unit();
      break;
    case 1:
      DeclTest::open_function("X", default_real_type());
      DeclTest::close_unit();
      break;
    case 2:
      unit_calling("CALLER", "X", true);
      break;
    case 3:
      unit_calling("USER", "X", false);
      break;
    default: {
      DeclTest::open_subroutine("DECL");
      symbol_entry* s = symbol_create(sym_external_named, intern_cstring("X"), source_pos_record{2, 1}, 1);
      (void)s;
      DeclTest::close_unit();
      break;
    }
  }
}

TEST_F(UnitTest, ExternalNameConflicts) {
  const ExternalCase cases[] = {
      {"two subroutines X", 0, 0, "inconsistent use of previously specified external name \"X\""},
      {"subroutine then function X", 0, 1, "inconsistent use of previously specified external name \"X\""},
      {"CALL X then FUNCTION X", 2, 1, "inconsistent use of previously specified external name \"X\""},
      {"CALL X then SUBROUTINE X", 2, 0, ""},
      {"SUBROUTINE X then CALL X", 0, 2, ""},
      {"REAL X(1) used then REAL FUNCTION X", 3, 1, ""},
      {"EXTERNAL X then SUBROUTINE X", 4, 0, ""},
  };
  for (const ExternalCase& c : cases) {
    SCOPED_TRACE(c.label);
    start(false);
    block_stack_reset();
    make_unit(c.first);
    EXPECT_EQ(messages(), "");
    make_unit(c.second);
    std::string out = messages();
    if (*c.message) {
      EXPECT_EQ(count(out, c.message), 1) << out;
    } else {
      EXPECT_EQ(out, "");
    }
  }
}

TEST_F(UnitTest, ReferenceAndDefinitionShareOneRoutineObject) {
  make_unit(2);  // CALL X
  symbol_entry* g = global_symbol_of(name("X"));
  ASSERT_NE(g, nullptr);
  auto* shared = static_cast<object*>(g->entity.get());
  EXPECT_EQ(shared->assoc_scope, nullptr);
  open_subroutine("X");
  scope* unit = scope_at(1).il_scope;
  close_unit();
  EXPECT_EQ(global_symbol_of(name("X")), g);
  EXPECT_EQ(shared->assoc_scope, unit);      // the definition's unit
  EXPECT_EQ(unit->assoc_routine, shared);    // the unit's main routine is the shared object
}

TEST_F(UnitTest, UnknownKindExternalDefinedLaterSharesItsObject) {
  make_unit(4);  // EXTERNAL X, never referenced: unknown kind
  symbol_entry* g = global_symbol_of(name("X"));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->cls, sym_unknown_external);
  auto* earlier = static_cast<object*>(g->entity.get());
  symbol_entry* def = open_subroutine("X");
  close_unit();
  EXPECT_EQ(def->entity, earlier);
  EXPECT_EQ(earlier->type->return_type, void_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(UnitTest, FunctionReturnTypesMustAgree) {
  open_subroutine("USER");
  symbol_entry* f = use_as_procedure("F", false);
  symbol_set_type(f, default_real_type(), false);  // REAL F
  close_unit();
  open_function("F", default_integer_type());
  close_unit();
  EXPECT_EQ(count(messages(), "return type inconsistent for a previous specification of the function \"F\""), 1);
}

TEST_F(UnitTest, CaseSensitiveNamesDifferingOnlyInCase) {
  start(true);
  block_stack_reset();
  open_subroutine("Sub");
  close_unit();
  unit_calling("OTHER", "SUB", true);
  EXPECT_EQ(count(messages(), "name conflicts with previously used external name \"Sub\""), 1);
}

TEST_F(UnitTest, CommonBlockNameAsProcedureName) {
  open_subroutine("S");
  name_pos_record c = np("BLK");
  declare_common_block(&c);
  close_unit();
  open_subroutine("BLK");
  close_unit();
  std::string out = messages();
  EXPECT_GE(count(out, "declaration conflicts with previous specifications") +
                count(out, "COMMON block name \"BLK\" is not allowed as a procedure name"),
            1)
      << out;
}

TEST_F(UnitTest, IntrinsicNames) {
  open_subroutine("S");
  name_pos_record n = np("SQRT");
  symbol_entry* s = declare_intrinsic_name(nullptr, &n);
  EXPECT_EQ(s->cls, sym_intrinsic_function);
  name_pos_record bad = np("NOSUCH");
  declare_intrinsic_name(nullptr, &bad);
  EXPECT_EQ(count(messages(), "invalid intrinsic routine name"), 1);
  // A typed subroutine intrinsic never agrees.
  symbol_entry* mv = symbol_create(sym_undeclared, name("MVBITS"), source_pos_record{3, 1}, 1);
  symbol_set_type(mv, default_integer_type(), false);
  name_pos_record nm = np("MVBITS");
  declare_intrinsic_name(mv, &nm);
  EXPECT_EQ(mv->cls, sym_intrinsic_subroutine);
  EXPECT_TRUE(mv->word1 & 1u);
  EXPECT_EQ(count(messages(), "inconsiten type of the intrinsic procedure"), 1);
}

TEST_F(UnitTest, NamelistGroupNames) {
  open_subroutine("S");
  name_pos_record n = np("NL");
  symbol_entry* g = namelist_stmt_name(nullptr, &n);
  EXPECT_EQ(g->cls, sym_namelist);
  EXPECT_EQ(scope_at(1).il_scope->namelist_groups, g->entity);
  EXPECT_EQ(namelist_stmt_name(g, &n), g);
  symbol_entry* typed = symbol_create(sym_undeclared, name("TN"), source_pos_record{2, 1}, 1);
  symbol_set_type(typed, default_integer_type(), false);
  name_pos_record nt = np("TN");
  namelist_stmt_name(typed, &nt);
  EXPECT_EQ(count(messages(), "invalid NAMELIST name"), 1);
}

TEST_F(UnitTest, ParameterTypesFromTheDummies) {
  open_subroutine("S");
  name_pos_record a = np("A");
  declare_dummy_argument(nullptr, &a, nullptr);
  name_pos_record b = np("B");
  declare_dummy_argument(nullptr, &b, nullptr);
  declare_alt_return_dummy(1, source_pos_record{1, 12}, nullptr);
  unit_param_types_complete();
  type* rt = static_cast<object*>(scope_at(1).il_scope->assoc_routine)->type;
  EXPECT_TRUE(rt->has_param_info);
  param_type* p = rt->param_type_list;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->corresp.name, name("A"));
  ASSERT_NE(p->next, nullptr);
  EXPECT_EQ(p->next->corresp.name, name("B"));
  ASSERT_NE(p->next->next, nullptr);
  EXPECT_EQ(p->next->next->type, stmt_label_type());
  EXPECT_EQ(p->next->next->next, nullptr);
}

TEST_F(UnitTest, NamedKindValue) {
  open_subroutine("S");
  symbol_entry* k = symbol_create(sym_undeclared, name("DP"), source_pos_record{2, 1}, 1);
  name_pos_record nk = np("DP");
  symbol_as_variable(k, &nk);
  auto* o = static_cast<object*>(k->entity.get());
  o->type = default_integer_type();
  o->is_constant = true;
  o->initializer = int_constant(default_integer_type(), 8);
  int failure = -1;
  EXPECT_EQ(named_kind_value("DP", 2, &failure), 8);
  EXPECT_EQ(failure, 0);
  o->is_constant = false;
  named_kind_value("DP", 2, &failure);
  EXPECT_EQ(failure, 1);
  named_kind_value("NONE", 4, &failure);
  EXPECT_EQ(failure, 1);
}

}  // namespace

namespace {

// MODULE M / INTERFACE G / MODULE PROCEDURE <proc> / END INTERFACE / CONTAINS
// / SUBROUTINE <proc>: the procedure reuses the routine object of its name.
TEST_F(UnitTest, ModuleProcedureDefinedAfterItsInterface) {
  for (const char* generic : {"G", "S"}) {
    SCOPED_TRACE(generic);
    start(false);
    block_stack_reset();
    scope_push(sk_unit);
    name_pos_record m = np("M");
    declare_module(&m);
    name_pos_record g = np(generic);
    symbol_entry* gs = declare_interface_name(at_level(generic, 1), &g);
    scope_set_interface(static_cast<interface*>(gs->entity.get()), 1);
    name_pos_record p = np("S");
    symbol_entry* mp = declare_module_procedure_name(at_level("S", 1), &p);
    EXPECT_EQ(mp->cls, sym_module_procedure);
    object* routine = static_cast<object*>(mp->entity.get());
    EXPECT_EQ(routine->type->return_type, unspec_routine_type());
    scope_set_interface(nullptr, 1);
    symbol_entry* def = open_subroutine("S");
    EXPECT_EQ(def, mp);
    EXPECT_EQ(def->cls, sym_internal_subroutine);
    EXPECT_EQ(def->entity, routine);
    EXPECT_EQ(routine->type->return_type, void_type());
    EXPECT_EQ(at_level(generic, 1), gs);  // the generic name stays visible
    EXPECT_EQ(messages(), "");
  }
}

TEST_F(UnitTest, ModuleProcedureNameOfAnotherKind) {
  scope_push(sk_unit);
  name_pos_record m = np("M");
  declare_module(&m);
  symbol_entry* v = symbol_create(sym_undeclared, name("V"), source_pos_record{2, 1}, 1);
  name_pos_record nv = np("V");
  symbol_as_variable(v, &nv);
  name_pos_record p = np("V");
  symbol_entry* mp = declare_module_procedure_name(v, &p);
  EXPECT_EQ(count(messages(), "declaration conflicts with previous specifications"), 1);
  EXPECT_EQ(mp->cls, sym_module_procedure);
  EXPECT_EQ(v->cls, sym_variable);  // the variable keeps what it was
}

TEST_F(UnitTest, EntryNameAlreadyDeclaredInTheUnit) {
  open_subroutine("S");
  symbol_entry* v = symbol_create(sym_undeclared, name("E"), source_pos_record{2, 1}, 1);
  name_pos_record nv = np("E");
  symbol_as_variable(v, &nv);
  name_pos_record e = np("E");
  declare_subroutine(nullptr, &e, true);
  EXPECT_EQ(count(messages(), "declaration conflicts with previous specifications"), 1);
}

}  // namespace
