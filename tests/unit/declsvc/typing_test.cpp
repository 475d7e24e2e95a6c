// Symbol typing: the IMPLICIT map, confirmation of an implicit type by an
// equal declaration, conflicting second typings, variables and type names.
#include "tests/unit/declsvc/decl_fixture.h"

namespace {

using TypingTest = DeclTest;

constexpr source_pos_record here{4, 3};

// The default IMPLICIT rule by first letter, and the cases without a type.
struct ImplicitCase {
  const char* name;
  bool implicit_none;   // IMPLICIT NONE at the unit
  bool no_implicit;     // "-u"
  int want_code;        // tk_ of the type given; tk_error after 243
  bool want_243;
};

TEST_F(TypingTest, ImplicitTypeFollowsTheFirstLetter) {
  const ImplicitCase cases[] = {
      {"ALPHA", false, false, tk_float, false},  {"HOUR", false, false, tk_float, false},
      {"I", false, false, tk_integer, false},    {"NMAX", false, false, tk_integer, false},
      {"OMEGA", false, false, tk_float, false},  {"ZETA", false, false, tk_float, false},
      {"KOUNT", true, false, tk_error, true},    {"X", false, true, tk_error, true},
  };
  for (const ImplicitCase& c : cases) {
    SCOPED_TRACE(c.name);
    start(false);
    scope_push(sk_unit);
    scope_at(1).implicit_none = c.implicit_none;
    symtab.no_implicit_typing = c.no_implicit;
    symbol_entry* s = symbol_create(sym_undeclared, name(c.name), here, 1);
    implicit_type_of(s);
    ASSERT_NE(symbol_type(s), nullptr);
    EXPECT_EQ(symbol_type(s)->type_code, c.want_code);
    std::string out = messages();
    EXPECT_EQ(count(out, "has not been explicitly typed"), c.want_243 ? 1 : 0) << out;
    if (c.want_243) {
      EXPECT_NE(out.find("identifier \"" + std::string(c.name) + "\""), std::string::npos);
    }
    EXPECT_EQ((s->flags & symf_type_implicit) != 0, !c.want_243);
    symtab.no_implicit_typing = false;
  }
}

TEST_F(TypingTest, ImplicitTypeOfAnErrorNameIsTheErrorTypeWithoutReport) {
  scope_push(sk_unit);
  scope_at(1).implicit_none = 1;
  symbol_entry* s = symbol_create(sym_undeclared, nullptr, here, 1);
  implicit_type_of(s);
  EXPECT_EQ(symbol_type(s), error_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(TypingTest, NonIntegerImplicitTypeConflictsWithBoundAndImpliedDoUse) {
  scope_push(sk_unit);
  symbol_entry* bound = symbol_create(sym_undeclared, name("RN"), here, 1);
  name_pos_record n = np("RN", here);
  bound = symbol_as_variable(bound, &n);
  bound->flags |= symf_in_bound;
  implicit_type_of(bound);
  symbol_entry* ido = symbol_create(sym_stmt_func_dummy, name("Q"), here, 1);
  ido->flags |= symf_implied_do_var;
  implicit_type_of(ido);
  symbol_entry* fine = symbol_create(sym_undeclared, name("N"), here, 1);
  fine->flags |= symf_implied_do_var;
  implicit_type_of(fine);
  std::string out = messages();
  EXPECT_EQ(count(out, "implicit type of \"RN\" conflicts with use as array bound"), 1) << out;
  EXPECT_EQ(count(out, "implicit type of \"Q\" conflicts with use as implied-DO variable"), 1) << out;
  EXPECT_EQ(count(out, "error"), 2) << out;  // no 599 on top of them
  EXPECT_EQ(symbol_type(bound), error_type());
  EXPECT_EQ(symbol_type(fine), default_integer_type());
}

TEST_F(TypingTest, ExplicitDeclarationConfirmsTheImplicitTypeOnce) {
  scope_push(sk_unit);
  symbol_entry* x = symbol_create(sym_undeclared, name("X"), here, 1);
  implicit_type_of(x);
  EXPECT_TRUE(x->flags & symf_type_implicit);
  EXPECT_EQ(symbol_set_type(x, default_real_type(), false), 1);  // REAL X
  EXPECT_FALSE(x->flags & symf_type_implicit);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(symbol_set_type(x, default_real_type(), false), 0);  // REAL X again
  EXPECT_EQ(count(messages(), "type declaration conflicts with the implied type"), 1);
}

TEST_F(TypingTest, OtherTypeAfterImplicitTypeConflictsAndKeepsTheFirst) {
  scope_push(sk_unit);
  symbol_entry* x = symbol_create(sym_undeclared, name("X"), here, 1);
  implicit_type_of(x);
  EXPECT_EQ(symbol_set_type(x, default_integer_type(), false), 0);
  EXPECT_EQ(symbol_type(x), default_real_type());
  EXPECT_EQ(count(messages(), "type declaration conflicts with the implied type"), 1);
  // With force the type goes in all the same; a provisional symbol is quiet.
  x->flags |= symf_unresolved;
  EXPECT_EQ(symbol_set_type(x, default_logical_type(), true), 0);
  EXPECT_EQ(symbol_type(x), default_logical_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(TypingTest, ArrayOfUnknownElementsTakesTheTypeAndItsSize) {
  scope_push(sk_unit);
  symbol_entry* a = symbol_create(sym_undeclared, name("A"), here, 1);
  type* arr = array_type(unknown_type(), 1);
  set_bounds(arr, 0, 1, 10);
  a->entity = arr;
  EXPECT_EQ(symbol_set_type(a, double_precision_type(), false), 1);
  EXPECT_EQ(arr->element_type, double_precision_type());
  EXPECT_EQ(arr->size, 80u);
}

TEST_F(TypingTest, DummyProcedureTypedAfterItsImplicitType) {
  scope_push(sk_unit);
  symbol_entry* f = symbol_create(sym_dummy_procedure, name("F"), here, 1);
  f->entity = new_dummy_object(f, unknown_type());
  static_cast<object*>(f->entity.get())->type = nullptr;
  implicit_type_of(f);  // becomes a dummy function of type REAL, typed implicitly
  EXPECT_EQ(f->cls, sym_dummy_function);
  EXPECT_EQ(symbol_set_type(f, default_real_type(), false), 1);
  EXPECT_FALSE(f->flags & symf_type_implicit);
  EXPECT_EQ(messages(), "");
}

TEST_F(TypingTest, FunctionResultVariableCarriesTheTypeToTheFunction) {
  symbol_entry* f = open_function("F", unknown_type());
  declare_result_variable(nullptr, nullptr, nullptr);
  symbol_entry* result = at_level("F", 1);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->cls, sym_variable);
  EXPECT_TRUE(static_cast<object*>(result->entity.get())->is_result);
  EXPECT_EQ(symbol_set_type(result, default_integer_type(), false), 1);  // INTEGER F
  EXPECT_EQ(static_cast<object*>(f->entity.get())->type->return_type, default_integer_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(TypingTest, SymbolAsVariableByClass) {
  scope_push(sk_unit);
  symbol_entry* u = symbol_create(sym_undeclared, name("U"), here, 1);
  name_pos_record n = np("U", here);
  symbol_entry* v = symbol_as_variable(u, &n);
  EXPECT_EQ(v, u);
  EXPECT_EQ(v->cls, sym_variable);
  auto* o = static_cast<object*>(v->entity.get());
  EXPECT_EQ(o->storage_class, sc_local);
  EXPECT_EQ(scope_at(1).il_scope->objects, o);
  EXPECT_EQ(symbol_as_variable(v, &n), v);  // a variable stays as it is

  symbol_entry* ido = symbol_create(sym_outer_implied_do_var, name("I"), here, 1);
  name_pos_record ni = np("I", here);
  symbol_entry* e1 = symbol_as_variable(ido, &ni);
  symbol_entry* lbl = symbol_create(sym_namelist, name("G"), here, 1);
  name_pos_record ng = np("G", here);
  symbol_entry* e2 = symbol_as_variable(lbl, &ng);
  std::string out = messages();
  EXPECT_EQ(count(out, "invalid use of an implied-DO variable"), 1) << out;
  EXPECT_EQ(count(out, "identifier is not a variable"), 1) << out;
  EXPECT_EQ(e1->name, error_name());
  EXPECT_EQ(e1->cls, sym_variable);
  EXPECT_EQ(e2->name, error_name());
  EXPECT_EQ(ni.name, nullptr);  // the refused name is dropped
}

TEST_F(TypingTest, UndeclaredVariableUnderImplicitNoneAfterTheSpecificationPart) {
  // integer :: abc / ABC = 1 with case-sensitive names: ABC is another name.
  start(true);
  block_stack_reset();
  scope_push(sk_unit);
  scope_at(1).implicit_none = 1;
  symbol_entry* abc = symbol_create(sym_undeclared, name("abc"), here, 1);
  symbol_set_type(abc, default_integer_type(), false);
  decl_ctx.spec_part_done = true;
  symbol_entry* upper = lookup_name(name("ABC"), source_pos_record{5, 1});
  name_pos_record n = np("ABC", source_pos_record{5, 1});
  symbol_as_variable(upper, &n);
  EXPECT_EQ(count(messages(), "identifier \"ABC\" has not been explicitly typed"), 1);
}

TEST_F(TypingTest, GenericInterfaceNameInheritsAHostGeneric) {
  scope_push(sk_unit);
  name_pos_record n = np("G", here);
  symbol_entry* outer = declare_interface_name(nullptr, &n);
  EXPECT_EQ(outer->cls, sym_generic);
  EXPECT_EQ(declare_interface_name(outer, &n), outer);
  scope_push(sk_unit);
  name_pos_record n2 = np("G", here);
  symbol_entry* inner = declare_interface_name(nullptr, &n2);
  EXPECT_EQ(static_cast<interface*>(inner->entity.get())->inherited, static_cast<interface*>(outer->entity.get()));
  symbol_entry* var = symbol_create(sym_variable, name("V"), here, 2);
  name_pos_record nv = np("V", here);
  declare_interface_name(var, &nv);
  EXPECT_EQ(count(messages(), "identifier has been already specified as not interface"), 1);
  EXPECT_EQ(nv.name, nullptr);
}

TEST_F(TypingTest, DerivedTypeNames) {
  scope_push(sk_unit);
  // TYPE REAL: the definition goes on under the error name.
  name_pos_record real = np("REAL", here);
  symbol_entry* bad = define_derived_type_name(nullptr, &real);
  EXPECT_EQ(count(messages(), "derived type name is the same as of an intrinsic type"), 1);
  EXPECT_EQ(bad->name, error_name());
  EXPECT_EQ(scope_at(1).il_scope->types, nullptr);

  name_pos_record t = np("T", here);
  symbol_entry* def = define_derived_type_name(nullptr, &t);
  EXPECT_EQ(def->cls, sym_derived_type);
  EXPECT_EQ(scope_at(1).il_scope->types, def->entity);

  // TYPE(T) finds it; TYPE(U) outside a definition is undefined.
  name_pos_record t2 = np("T", here);
  EXPECT_EQ(type_spec_derived_lookup(def, &t2), def);
  name_pos_record u = np("U", here);
  symbol_entry* missing = type_spec_derived_lookup(nullptr, &u);
  EXPECT_EQ(count(messages(), "undefined derived type"), 1);
  EXPECT_EQ(missing->entity, error_type());

  // Inside a definition a reference before the definition is a forward one.
  scope_push(sk_type_def);
  decl_ctx.in_type_definition = true;
  name_pos_record w = np("W", here);
  symbol_entry* fwd = type_spec_derived_lookup(nullptr, &w);
  EXPECT_EQ(fwd->cls, sym_forward_derived_type);
  EXPECT_EQ(fwd->level, 1);
  EXPECT_EQ(messages(), "");
}

}  // namespace
