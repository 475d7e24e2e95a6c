// Dummy arguments, results, statement functions, implied-DO variables and
// COMMON blocks.
#include "tests/unit/declsvc/decl_fixture.h"

namespace {

using DummyTest = DeclTest;

constexpr source_pos_record here{7, 4};

TEST_F(DummyTest, SameDummyTwiceInOneList) {
  open_subroutine("S");
  name_pos_record a1 = np("A", {1, 14});
  declare_dummy_argument(nullptr, &a1, nullptr);
  name_pos_record a2 = np("A", {1, 17});
  declare_dummy_argument(at_level("A", 1), &a2, nullptr);
  EXPECT_EQ(count(messages(), "variable already specified in dummy argument list"), 1);
  // The refused name still holds its place in the list, as an error dummy.
  object_list_member* p = scope_at(1).il_scope->parameters;
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->next, nullptr);
  EXPECT_EQ(p->next->object->type, error_type());
}

TEST_F(DummyTest, DummyArgumentFromWhatTheNameWas) {
  open_subroutine("S");
  // A variable in COMMON, initialized, SAVEd: each refused with its reason.
  struct Refusal {
    const char* name;
    uint32_t word3;
    uint32_t flags;
    const char* message;
  };
  const Refusal refusals[] = {
      {"C", varf_in_common, 0, "variable declared in COMMON is not allowed"},
      {"Q", varf_in_equivalence, 0, "variable appearing in EQUIVALENCE is not allowed"},
      {"D", varf_data_initialized, 0, "DATA-initialized variable is not allowed"},
      {"V", 0, symf_saved, "SAVEd variable is not allowed"},
      {"NL", varf_namelist_member, 0, "member of a NAMELIST group is not allowed"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    symbol_entry* s = symbol_create(sym_undeclared, name(r.name), here, 1);
    name_pos_record n = np(r.name, here);
    symbol_as_variable(s, &n);
    s->word3 |= r.word3;
    s->flags |= r.flags;
    s->flags &= ~symf_referenced;
    name_pos_record e = np(r.name, here);
    entry_description* entry = new_entry_description();
    declare_dummy_argument(s, &e, entry);
    EXPECT_EQ(count(messages(), r.message), 1);
  }
  // A plain variable becomes a dummy in place.
  symbol_entry* x = symbol_create(sym_undeclared, name("X"), here, 1);
  name_pos_record nx = np("X", here);
  symbol_as_variable(x, &nx);
  x->flags &= ~symf_referenced;
  name_pos_record ex = np("X", here);
  declare_dummy_argument(x, &ex, nullptr);
  EXPECT_TRUE(static_cast<object*>(x->entity.get())->is_parameter);
  EXPECT_EQ(x->cls, sym_variable);
  // EXTERNAL E then E as a dummy: a dummy procedure.
  symbol_entry* ext = symbol_create(sym_external_named, name("E"), here, 1);
  name_pos_record ee = np("E", here);
  declare_dummy_argument(ext, &ee, nullptr);
  EXPECT_EQ(ext->cls, sym_dummy_procedure);
  // A namelist group name is not a variable.
  symbol_entry* g = symbol_create(sym_namelist, name("G"), here, 1);
  name_pos_record eg = np("G", here);
  declare_dummy_argument(g, &eg, nullptr);
  EXPECT_EQ(count(messages(), "identifier is not a variable"), 1);
}

TEST_F(DummyTest, VariableUsedBeforeAnEntryListingIt) {
  open_subroutine("S");
  symbol_entry* v = lookup_name(name("V"), here);  // V = 1 before the ENTRY
  v = resolve_alias_link(v);
  name_pos_record nv = np("V", here);
  v = symbol_as_variable(v, &nv);
  name_pos_record e = np("E");
  declare_subroutine(nullptr, &e, true);
  entry_description* entry = scope_at(1).il_scope->entries;
  name_pos_record dv = np("V", here);
  declare_dummy_argument(v, &dv, entry);
  EXPECT_EQ(count(messages(), "prior use is inconsistent with specification as a dummy argument"), 1);
}

TEST_F(DummyTest, EntryDummyReusedFromTheMainList) {
  open_subroutine("S");
  name_pos_record a = np("A");
  declare_dummy_argument(nullptr, &a, nullptr);
  declare_alt_return_dummy(1, here, nullptr);
  name_pos_record e = np("E");
  declare_subroutine(nullptr, &e, true);
  entry_description* entry = scope_at(1).il_scope->entries;
  name_pos_record a2 = np("A");
  declare_dummy_argument(at_level("A", 1), &a2, entry);
  declare_alt_return_dummy(1, here, entry);
  EXPECT_EQ(messages(), "");
  object_list_member* main = scope_at(1).il_scope->parameters;
  ASSERT_NE(entry->parameters, nullptr);
  ASSERT_NE(entry->parameters->next, nullptr);
  EXPECT_EQ(entry->parameters->object, main->object);
  EXPECT_EQ(entry->parameters->next->object, main->next->object);
}

TEST_F(DummyTest, EntryResultSharesStorageWithTheMainResult) {
  symbol_entry* f = open_function("F", default_real_type());
  declare_result_variable(nullptr, nullptr, nullptr);
  scope* unit = scope_at(1).il_scope;
  object* main_result = unit->function_result_var;
  ASSERT_NE(main_result, nullptr);
  EXPECT_EQ(main_result->type, default_real_type());
  EXPECT_EQ(main_result->result_var_function, f->entity);

  name_pos_record e = np("E");
  declare_function(nullptr, &e, double_precision_type(), true);
  entry_description* entry = unit->entries;
  name_pos_record r = np("R");
  declare_result_variable(nullptr, &r, entry);
  object* entry_result = entry->function_result_var;
  ASSERT_NE(entry_result, nullptr);
  EXPECT_EQ(entry_result->type, double_precision_type());
  EXPECT_EQ(main_result->storage_class, sc_associated);
  EXPECT_EQ(entry_result->storage_class, sc_associated);
  ASSERT_NE(main_result->assoc_variable, nullptr);
  EXPECT_EQ(entry_result->assoc_variable, main_result->assoc_variable);
  EXPECT_EQ(main_result->assoc_variable->type->size, 8u);  // the larger of 4 and 8
  EXPECT_EQ(messages(), "");
}

TEST_F(DummyTest, ResultNameEqualToTheEntryName) {
  open_function("F", default_real_type());
  declare_result_variable(nullptr, nullptr, nullptr);
  name_pos_record e = np("E");
  declare_function(nullptr, &e, nullptr, true);
  name_pos_record r = np("E");
  declare_result_variable(nullptr, &r, scope_at(1).il_scope->entries);
  EXPECT_EQ(count(messages(), "result-name must not be the same as entry-name"), 1);
}

TEST_F(DummyTest, StatementFunctionAndItsDummies) {
  open_subroutine("S");
  symbol_entry* host_x = symbol_create(sym_undeclared, name("X"), here, 1);
  scope_push(sk_stmt_function);
  name_pos_record fn = np("SF", here);
  symbol_entry* sf = declare_stmt_function(nullptr, &fn);
  EXPECT_EQ(sf->cls, sym_stmt_function);
  EXPECT_EQ(sf->level, 1);
  auto* so = static_cast<object*>(sf->entity.get());
  EXPECT_EQ(so->storage_class, sc_stmt_func);
  EXPECT_EQ(so->type->return_type, default_real_type());
  name_pos_record dx = np("X", here);
  declare_stmt_function_dummy(host_x, &dx);
  EXPECT_EQ(host_x->cls, sym_stmt_func_dummy);  // an undeclared host name
  name_pos_record dy = np("Y", here);
  declare_stmt_function_dummy(nullptr, &dy);
  name_pos_record dx2 = np("X", here);
  declare_stmt_function_dummy(at_level("X", 2), &dx2);
  EXPECT_EQ(count(messages(), "variable already specified in dummy argument list"), 1);
  object_list_member* p = scope_at(2).il_scope->parameters;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->object->type, default_real_type());
  ASSERT_NE(p->next, nullptr);
  EXPECT_EQ(p->next->object->type, default_real_type());
  ASSERT_NE(p->next->next, nullptr);
  EXPECT_EQ(p->next->next->object->type, error_type());
}

TEST_F(DummyTest, ImpliedDoVariables) {
  open_subroutine("S");
  // I declared as an array: "name of an array is not allowed".
  symbol_entry* arr = symbol_create(sym_undeclared, name("I"), here, 1);
  name_pos_record ni = np("I", here);
  symbol_as_variable(arr, &ni);
  static_cast<object*>(arr->entity.get())->type = array_type(default_integer_type(), 1);
  name_pos_record i1 = np("I", here);
  symbol_entry* v1 = implied_do_var(arr, &i1);
  EXPECT_EQ(count(messages(), "name of an array is not allowed"), 1);
  EXPECT_EQ(v1->entity, unknown_type());  // no type given

  // J undeclared: a class-16 symbol of type INTEGER, off the chain until made visible.
  name_pos_record j = np("J", here);
  symbol_entry* vj = implied_do_var(nullptr, &j);
  EXPECT_EQ(vj->cls, sym_outer_implied_do_var);
  EXPECT_EQ(vj->entity, default_integer_type());
  EXPECT_NE(name("J")->first_symbol, vj);
  symbol_make_visible(vj);
  EXPECT_EQ(name("J")->first_symbol, vj);
  // The same J in a nested implied DO.
  name_pos_record j2 = np("J", here);
  implied_do_var(vj, &j2);
  EXPECT_EQ(count(messages(), "\"J\" is already in use as an implied-DO variable"), 1);
  // Levels count up from the unit's level, one per implied-DO variable made.
  EXPECT_EQ(v1->level, 2);
  EXPECT_EQ(vj->level, 3);

  // A REAL implied-DO variable.
  name_pos_record x = np("X", here);
  implied_do_var(nullptr, &x);
  EXPECT_EQ(count(messages(), "implied-DO variable must have integer type"), 1);
}

TEST_F(DummyTest, ImpliedDoVariableUnderImplicitNone) {
  open_subroutine("S");
  scope_at(1).implicit_none = 1;
  name_pos_record k = np("K", here);
  symbol_entry* v = implied_do_var(nullptr, &k);
  std::string out = messages();
  EXPECT_EQ(count(out, "identifier \"K\" has not been explicitly typed"), 1) << out;
  EXPECT_EQ(count(out, "must have integer type"), 0) << out;
  EXPECT_EQ(v->entity, error_type());
}

TEST_F(DummyTest, CommonBlockNamedInTwoUnitsHasOneGlobalObject) {
  open_subroutine("S");
  name_pos_record c = np("BLK", here);
  symbol_entry* b1 = declare_common_block(&c);
  auto* r1 = static_cast<common_block_record*>(b1->entity.get());
  EXPECT_EQ(scope_at(1).commons_head, r1);
  object* storage = r1->storage;
  EXPECT_EQ(storage->storage_class, sc_common);
  EXPECT_EQ(storage->type->type_code, tk_association);
  EXPECT_EQ(declare_common_block(&c), b1);  // named again in the same unit
  close_unit();
  open_subroutine("T");
  name_pos_record c2 = np("BLK", here);
  symbol_entry* b2 = declare_common_block(&c2);
  EXPECT_EQ(static_cast<common_block_record*>(b2->entity.get())->storage, storage);
  EXPECT_EQ(scope_at(1).commons_head, b2->entity);
  EXPECT_EQ(messages(), "");
}

TEST_F(DummyTest, BlankCommonAndMembers) {
  open_subroutine("S");
  symbol_entry* b = blank_common_block(here);
  EXPECT_EQ(blank_common_block(here), b);
  auto* r = static_cast<common_block_record*>(b->entity.get());
  EXPECT_EQ(r->storage->corresp.name, nullptr);
  object* x = new_object();
  object* y = new_object();
  common_add_member(x, r, here);
  common_add_member(y, r, here);
  ASSERT_NE(r->first_member, nullptr);
  EXPECT_EQ(r->first_member->member, x);
  EXPECT_EQ(r->last_member->member, y);
}

TEST_F(DummyTest, VariableLikeSymbols) {
  scope_push(sk_unit);
  symbol_entry* v = symbol_create(sym_undeclared, name("V"), here, 1);
  name_pos_record n = np("V", here);
  symbol_as_variable(v, &n);
  EXPECT_TRUE(is_variable_like(v));
  static_cast<object*>(v->entity.get())->is_constant = true;
  EXPECT_FALSE(is_variable_like(v));
  EXPECT_TRUE(is_variable_like(symbol_create(sym_stmt_func_dummy, name("D"), here, 1)));
  EXPECT_FALSE(is_variable_like(symbol_create(sym_generic, name("G"), here, 1)));
  symbol_entry* link = lookup_name(name("L"), here);
  EXPECT_TRUE(is_variable_like(link));
}

TEST_F(DummyTest, OverlongNameReportedOnce) {
  open_subroutine("S");
  const char* long_name = "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF";  // 32 letters
  name_pos_record n = np(long_name, here);
  declare_dummy_argument(nullptr, &n, nullptr);
  name_pos_record r = np(long_name, here);
  symbol_entry* s = at_level(long_name, 1);
  symbol_complete(s);
  (void)r;
  EXPECT_EQ(count(messages(), " the maximum length of a name is 31 characters"), 1);
}

}  // namespace
