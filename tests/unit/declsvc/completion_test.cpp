// Name resolution and symbol completion: what each class of symbol turns
// into when its unit ends, alias chains and host links.
#include "tests/unit/declsvc/decl_fixture.h"

namespace {

using CompletionTest = DeclTest;

constexpr source_pos_record here{6, 2};

// One row: a symbol of class `from` named `name`, used as marked, completes
// to class `to` with a routine result or variable type of code `type_code`
// (-1: not checked).
struct CompletionCase {
  const char* label;
  int from;
  const char* name;
  uint32_t use;      // symf_proc_ref, symf_called
  bool array;        // the symbol's type is an array
  int to;
  int type_code;
};

TEST_F(CompletionTest, ClassTransitionsAtCompletion) {
  const CompletionCase cases[] = {
      {"undeclared name becomes a variable", sym_undeclared, "X", 0, false, sym_variable, tk_float},
      {"undeclared array referenced like a call stays a variable", sym_undeclared, "AR", symf_proc_ref, true,
       sym_variable, tk_farray},
      {"CALL P makes an external subroutine", sym_undeclared, "P", symf_proc_ref | symf_called, false,
       sym_external_subroutine, tk_void},
      {"G(1) makes an external function of the implicit type", sym_undeclared, "G", symf_proc_ref, false,
       sym_external_function, tk_float},
      {"SQRT referenced as a function is the intrinsic", sym_undeclared, "SQRT", symf_proc_ref, false,
       sym_intrinsic_function, -1},
      {"EXTERNAL E never referenced stays of unknown kind", sym_external_named, "E", 0, false,
       sym_unknown_external, tk_unspec_routine},
      {"EXTERNAL K called is a subroutine", sym_external_named, "K", symf_proc_ref | symf_called, false,
       sym_external_subroutine, tk_void},
      {"dummy called is a dummy subroutine", sym_dummy, "D", symf_proc_ref | symf_called, false,
       sym_dummy_subroutine, tk_void},
      {"dummy referenced as a function is a dummy function", sym_dummy, "DF", symf_proc_ref, false,
       sym_dummy_function, tk_float},
      {"dummy not referenced as a procedure is a variable", sym_dummy, "M", 0, false, sym_variable, tk_integer},
      {"dummy array with a subscript stays a variable", sym_dummy, "DA", symf_proc_ref, true, sym_variable,
       tk_farray},
  };
  for (const CompletionCase& c : cases) {
    SCOPED_TRACE(c.label);
    start(false);
    block_stack_reset();
    open_subroutine("HOST");
    symbol_entry* s = symbol_create(c.from, name(c.name), here, 1);
    type* t = c.array ? array_type(default_real_type(), 1) : unknown_type();
    if (c.from == sym_dummy) {
      s->entity = new_dummy_object(s, t);
    } else if (c.array) {
      s->entity = t;
      s->flags |= symf_type_explicit;
    }
    s->flags |= c.use;
    symbol_entry* done = symbol_complete(s);
    EXPECT_EQ(done->cls, c.to);
    if (c.type_code >= 0) {
      type* got = symbol_type(done);
      ASSERT_NE(got, nullptr);
      if (got->type_code == tk_routine) got = got->return_type;
      ASSERT_NE(got, nullptr);
      EXPECT_EQ(got->type_code, c.type_code);
    }
    EXPECT_EQ(messages(), "");
  }
}

TEST_F(CompletionTest, ReportsOfCompletion) {
  open_subroutine("HOST");
  symbol_entry* mp = symbol_create(sym_module_procedure, name("MP"), here, 1);
  symbol_complete(mp);
  symbol_entry* fwd = symbol_create(sym_forward_derived_type, name("FT"), here, 1);
  symbol_complete(fwd);
  EXPECT_EQ(fwd->cls, sym_derived_type);
  std::string out = messages();
  EXPECT_EQ(count(out, "module procedure \"MP\" is referenced but not declared"), 1) << out;
  EXPECT_EQ(count(out, "component type \"FT\" is not defined"), 1) << out;
}

TEST_F(CompletionTest, ImpliedDoNameBecomesAnImpliedDoVariable) {
  open_subroutine("HOST");
  symbol_entry* s = symbol_create(sym_outer_implied_do_var, name("J"), here, 1);
  s->entity = default_integer_type();
  symbol_complete(s);
  EXPECT_EQ(s->cls, sym_variable);
  auto* o = static_cast<object*>(s->entity.get());
  EXPECT_EQ(o->storage_class, sc_implied_do_var);
  EXPECT_EQ(o->type, default_integer_type());
}

TEST_F(CompletionTest, BlockDataLocalsAreIgnoredWithWarnings) {
  scope_push(sk_unit);
  scan.cur_token = tok_eos;  // BLOCK DATA without a name
  block_data_stmt_name();
  symbol_entry* x = symbol_create(sym_undeclared, name("X"), here, 1);
  name_pos_record nx = np("X", here);
  symbol_as_variable(x, &nx);
  symbol_set_type(x, default_real_type(), false);
  auto* xo = static_cast<object*>(x->entity.get());
  xo->initializer = real_constant(default_real_type(), 1.0);
  x->word3 |= varf_init_in_decl;
  symbol_entry* y = symbol_create(sym_undeclared, name("Y"), here, 1);
  name_pos_record ny = np("Y", here);
  symbol_as_variable(y, &ny);
  symbol_entry* c = symbol_create(sym_undeclared, name("C"), here, 1);
  name_pos_record nc = np("C", here);
  symbol_as_variable(c, &nc);
  c->word3 |= varf_in_common;
  symbol_complete(x);
  symbol_complete(y);
  symbol_complete(c);
  std::string out = messages();
  EXPECT_EQ(count(out, "warning: DATA initialization of local variable \"X\" ignored"), 1) << out;
  EXPECT_EQ(count(out, "warning: declaration of local variable \"Y\" ignored"), 1) << out;
  EXPECT_EQ(count(out, "\"C\""), 0) << out;
  EXPECT_EQ(xo->initializer, nullptr);
}

TEST_F(CompletionTest, AssumedLengthAndAssumedSizeOutsideDummies) {
  open_subroutine("HOST");
  symbol_entry* c = symbol_create(sym_undeclared, name("CS"), here, 1);
  name_pos_record nc = np("CS", here);
  symbol_as_variable(c, &nc);
  symbol_set_type(c, assumed_character_type(), false);
  symbol_complete(c);
  EXPECT_EQ(count(messages(), "variable \"CS\" is CHARACTER*(*) and is not a dummy argument"), 1);
  // The same declaration on a dummy is fine.
  name_pos_record nd = np("CD", here);
  declare_dummy_argument(nullptr, &nd, nullptr);
  symbol_entry* d = at_level("CD", 1);
  symbol_set_type(d, assumed_character_type(), false);
  symbol_complete(d);
  EXPECT_EQ(messages(), "");
}

TEST_F(CompletionTest, HostLinkBecomesAnAliasOfItsTarget) {
  symbol_entry* outer = symbol_create(sym_variable, name("V"), here, 0);
  outer->entity = new_object();
  scope_push(sk_unit);
  symbol_entry* link = lookup_name(name("V"), here);
  EXPECT_EQ(link->cls, sym_host_link);
  EXPECT_EQ(resolve_alias_link(link), outer);
  EXPECT_EQ(link->cls, sym_alias);
  EXPECT_TRUE(outer->flags & symf_referenced);
  // The chain now finds the target at the current level.
  EXPECT_EQ(resolve_alias_chain(name("V")->first_symbol, 1), outer);
}

TEST_F(CompletionTest, HostLinkWithoutTargetBecomesAProvisionalUndeclaredName) {
  scope_push(sk_unit);
  symbol_entry* link = lookup_name(name("W"), here);
  EXPECT_EQ(resolve_alias_link(link), link);
  EXPECT_EQ(link->cls, sym_undeclared);
  EXPECT_TRUE(link->flags & symf_unresolved);
  EXPECT_EQ(static_cast<type*>(link->entity.get()), default_real_type());
  EXPECT_TRUE(link->flags & symf_type_implicit);
}

TEST_F(CompletionTest, AliasFoundOutsideMakesAliasesAtTheLevelsBetween) {
  symbol_entry* target = symbol_create(sym_variable, name("T"), here, 0);
  scope_push(sk_unit);
  symbol_entry* a = symbol_create(sym_alias, name("T"), here, 1);
  a->entity = target;
  scope_push(sk_unit);
  scope_push(sk_unit);
  EXPECT_EQ(resolve_alias_chain(name("T")->first_symbol, 3), target);
  symbol_entry* at3 = at_level("T", 3);
  symbol_entry* at2 = at_level("T", 2);
  ASSERT_NE(at3, nullptr);
  ASSERT_NE(at2, nullptr);
  EXPECT_EQ(at3->cls, sym_alias);
  EXPECT_EQ(at3->entity, target);
  EXPECT_EQ(at2->entity, target);
}

TEST_F(CompletionTest, IntrinsicLookupByKind) {
  scope_push(sk_unit);
  symbol_entry* s = symbol_create(sym_undeclared, name("ABS"), here, 1);
  symbol_entry* f = find_intrinsic_function(s);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->cls, sym_intrinsic_function);
  symbol_entry* user = symbol_create(sym_undeclared, name("MYFUNC"), here, 1);
  EXPECT_EQ(find_intrinsic_function(user), nullptr);
  EXPECT_EQ(find_intrinsic_subroutine(s), nullptr);
  symbol_entry* mv = symbol_create(sym_undeclared, name("MVBITS"), here, 1);
  ASSERT_NE(find_intrinsic_subroutine(mv), nullptr);
}

}  // namespace

namespace {

// A host link without any use marks: a name looked up and never used.
symbol_entry* make_unused_link() {
  symbol_entry* s = lookup_name(intern_cstring("UNUSED"), here);
  s->flags &= ~(symf_referenced | symf_in_bound);
  return s;
}

// A name used only through its host link and declared nowhere is settled
// when the unit ends: a variable of its implicit type, or an external.
TEST_F(CompletionTest, UnresolvedHostLinksAreSettledAtTheEnd) {
  open_subroutine("HOST");
  scope_at(1).implicit_none = 1;
  symbol_entry* v = lookup_name(name("ABC"), here);
  symbol_entry* p = lookup_name(name("P"), here);
  p->flags |= symf_proc_ref | symf_called;
  symbol_entry* unused = make_unused_link();
  symbol_complete(v);
  symbol_complete(p);
  symbol_complete(unused);
  EXPECT_EQ(v->cls, sym_variable);
  EXPECT_EQ(symbol_type(v), error_type());
  EXPECT_EQ(p->cls, sym_external_subroutine);
  EXPECT_EQ(unused->cls, sym_host_link);
  std::string out = messages();
  EXPECT_EQ(count(out, "identifier \"ABC\" has not been explicitly typed"), 1) << out;
  EXPECT_EQ(count(out, "error"), 1) << out;
  ASSERT_NE(global_symbol_of(name("P")), nullptr);
}

}  // namespace
