// Generic resolution, the context rules of references, structure
// constructors, pointer and ASSIGN-form assignments and implied-DO controls,
// on IL built by hand.
#include "tests/unit/exprcheck/exprcheck_fixture.h"

namespace {

class ReferencesTest : public ExprCheckTest {
 protected:
  // An external subroutine object with one INTEGER (or other) dummy.
  static object* subroutine_taking(const char* name, type* dummy_type) {
    object* o = new_object();
    o->storage_class = sc_external;
    o->corresp.name = intern_cstring(name);
    type* r = new_type(tk_routine);
    r->return_type = void_type();
    r->has_param_info = true;
    param_type* p = new_param_type();
    p->corresp.name = intern_cstring("X");
    p->type = dummy_type;
    r->param_type_list = p;
    r->assoc_routine = o;
    o->type = r;
    return o;
  }
  static interface* generic_of(const char* name, std::initializer_list<object*> specifics) {
    interface* g = new_interface_entry();
    g->corresp.name = intern_cstring(name);
    pool_ref_field<object_list_member>* tail = &g->routine_prototype_list;
    for (object* o : specifics) {
      object_list_member* m = new_object_list_member();
      m->object = o;
      *tail = m;
      tail = &m->next;
    }
    return g;
  }
  static expr_node* generic_call(interface* g, expr_node* args) {
    expr_node* n = new_expr_node(enk_generic_call);
    n->generic_routine = g;
    n->operands = args;
    n->source_pos = source_pos_record{4, 3};
    return n;
  }
  static expr_node* object_ref(object* o) {
    expr_node* n = new_expr_node(enk_object);
    n->object = o;
    n->type = o->type;
    n->source_pos = source_pos_record{4, 9};
    return n;
  }
};

TEST_F(ReferencesTest, GenericResolvesToTheFirstMatchingSpecific) {
  object* by_int = subroutine_taking("SI", default_integer_type());
  object* by_real = subroutine_taking("SR", default_real_type());
  interface* g = generic_of("G", {by_int, by_real});
  expr_node* call = generic_call(g, checked("2.5"));
  EXPECT_NE(check_expr(call, 0, nullptr), 1);
  ASSERT_EQ(call->node_kind, enk_call);
  EXPECT_EQ(call->routine, by_real);
  EXPECT_EQ(call->call_interface, g);
  EXPECT_TRUE(g->corresp.referenced);
  ASSERT_NE(call->operands, nullptr);
  EXPECT_EQ(call->operands->arg_keyword, intern_cstring("X"));
  EXPECT_EQ(messages(), "");
}

TEST_F(ReferencesTest, AmbiguousAndUnmatchedGenerics) {
  interface* twice = generic_of("TWICE", {subroutine_taking("A1", default_integer_type()),
                                          subroutine_taking("A2", default_integer_type())});
  EXPECT_EQ(check_expr(generic_call(twice, checked("1")), 0, nullptr), 1);
  EXPECT_EQ(count_of(messages(), "ambiguous generic interface"), 1);

  interface* none = generic_of("NONE", {subroutine_taking("B1", default_logical_type())});
  expr_node* call = generic_call(none, checked("1"));
  EXPECT_EQ(check_expr(call, 0, nullptr), 1);
  EXPECT_EQ(call->node_kind, enk_error);
  EXPECT_EQ(count_of(messages(), "no matching routine for the generic name NONE"), 1);
}

TEST_F(ReferencesTest, UserFunctionsAreNotRestrictedExpressions) {
  int r = 0;
  checked("f(1)", ctx_const_entry, &r);
  EXPECT_EQ(r, 1);
  std::string out = messages();
  EXPECT_EQ(count_of(out, "must be a restricted expression"), 1) << out;
  // An intrinsic function is.
  checked("abs(-3) + 2", ctx_const_entry, &r);
  EXPECT_NE(r, 1);
  EXPECT_EQ(messages(), "");
}

TEST_F(ReferencesTest, StructureConstructorsPairValuesWithComponents) {
  type* t = new_type(tk_derived_type);
  t->corresp.name = intern_cstring("PAIR");
  object* first = new_object();
  first->storage_class = sc_type_field;
  first->type = default_integer_type();
  object* second = new_object();
  second->storage_class = sc_type_field;
  second->type = default_real_type();
  first->next = second;
  t->first_field = first;
  struct Row {
    std::initializer_list<const char*> values;
    const char* message;
  };
  const Row rows[] = {{{"1", "2"}, ""},
                      {{"1", "2", "3"}, "too many members in the expression list"},
                      {{"1"}, "too few  members in the expression list"},
                      {{"1", "'x'"}, "expression type is incompatible with destination"}};
  for (const Row& row : rows) {
    expr_node* n = new_expr_node(enk_constructor);
    n->type = t;
    expr_link* tail = &n->constructor;
    for (const char* v : row.values) {
      *tail = expression(v);
      tail = &(*tail)->next;
    }
    int r = check_expr(n, 0, nullptr);
    std::string out = messages();
    if (*row.message) {
      EXPECT_EQ(r, 1);
      EXPECT_EQ(count_of(out, row.message), 1) << out;
    } else {
      EXPECT_NE(r, 1) << out;
      EXPECT_EQ(out, "");
      // The INTEGER value given for the REAL component is converted.
      // (A constructor of constants is folded into an aggregate constant.)
      if (n->node_kind == enk_constant) {
        ASSERT_NE(n->constant, nullptr);
        ASSERT_NE(n->constant->first_constant, nullptr);
        ASSERT_NE(n->constant->first_constant->next, nullptr);
        EXPECT_EQ(n->constant->first_constant->next->type, default_real_type());
      } else {
        ASSERT_EQ(n->node_kind, enk_constructor);
        EXPECT_EQ(n->constructor->next->type, default_real_type());
      }
    }
  }
}

TEST_F(ReferencesTest, PointerAssignmentNeedsAPointerAndATarget) {
  object* p = declare("P", default_real_type());
  p->is_pointer = true;
  object* plain = declare("PLAIN", default_real_type());
  object* t = declare("T", default_real_type());
  t->is_target = true;
  object* v = declare("V", vector_of(default_real_type(), 1, 3));
  v->is_target = true;
  auto passign = [](object* left, object* right) {
    expr_node* l = new_expr_node(enk_object);
    l->object = left;
    expr_node* r = new_expr_node(enk_object);
    r->object = right;
    l->next = r;
    return new_operation_node(eok_passign, nullptr, l);
  };
  expr_node* ok = passign(p, t);
  EXPECT_NE(check_expr(ok, 0, nullptr), 1);
  EXPECT_EQ(ok->type, void_type());
  EXPECT_TRUE(ok->operands->is_pointer);
  EXPECT_TRUE(ok->operands->next->is_pointer);
  EXPECT_EQ(messages(), "");

  EXPECT_EQ(check_expr(passign(plain, t), 0, nullptr), 1);
  EXPECT_EQ(count_of(messages(), "pointer object must have POINTER attribute"), 1);
  EXPECT_EQ(check_expr(passign(p, plain), 0, nullptr), 1);
  EXPECT_EQ(count_of(messages(), "must be POINTER or TARGET attribute or be parent with TARGET attr"), 1);
  EXPECT_EQ(check_expr(passign(p, v), 0, nullptr), 1);
  EXPECT_EQ(count_of(messages(), "target must be of the same rank as pointer"), 1);
}

TEST_F(ReferencesTest, AssignFormOfAssignment) {
  object* k = declare("K", default_integer_type());
  object* x = declare("X", default_real_type());
  label* l = new_label();
  auto assign = [l](object* o) {
    expr_node* left = new_expr_node(enk_object);
    left->object = o;
    expr_node* value = new_expr_node(enk_stmt_label_value);
    value->stmt_label_value = l;
    left->next = value;
    return new_operation_node(eok_iassign, nullptr, left);
  };
  EXPECT_NE(check_expr(assign(k), 0, nullptr), 1);
  std::string out = messages();
  EXPECT_EQ(count_of(out, "arning: obsolescent statement"), 1);
  EXPECT_EQ(count_of(out, "rror"), 0);
  EXPECT_TRUE(l->corresp.referenced);
  EXPECT_EQ(check_expr(assign(x), 0, nullptr), 1);
  out = messages();
  EXPECT_EQ(count_of(out, "obsolescent statement"), 1);
  EXPECT_EQ(count_of(out, "expression must be variable of type default integer"), 1);
}

TEST_F(ReferencesTest, ImpliedDoControlTypes) {
  declare("I", default_integer_type());
  struct Row {
    const char* bound;
    const char* message;
  };
  const Row rows[] = {{"10", ""},
                      {"10.0", "warning: use of loop-control expressions of type real is obsolescent"},
                      {"'a'", "bad type for implied do construct"}};
  for (const Row& row : rows) {
    do_loop* d = new_do_loop();
    d->variable = expression("i");
    d->initial_value = expression("1");
    d->final_value = expression(row.bound);
    int ok = check_implied_do_control(d, 0, nullptr);
    std::string out = messages();
    if (*row.message) {
      EXPECT_EQ(count_of(out, row.message), 1) << out;
    } else {
      EXPECT_EQ(out, "");
    }
    EXPECT_EQ(ok, row.bound[0] == '\'' ? 0 : 1) << row.bound;
    if (ok) {
      EXPECT_EQ(d->final_value->type, default_integer_type()) << row.bound;
    }
  }
}

TEST_F(ReferencesTest, HostAssociationMarksLocalsOfTheHost) {
  object* host = new_object();
  host->storage_class = sc_program;
  object* inner = new_object();
  inner->storage_class = sc_internal;
  inner->assoc_routine = host;
  inner->corresp.scope_depth = 1;
  auto local = [](uint32_t depth) {
    object* o = new_object();
    o->storage_class = sc_local;
    o->type = default_integer_type();
    o->corresp.scope_depth = depth;
    return o;
  };
  object* shared = local(1);
  object* saved = local(1);
  saved->is_saved = true;
  object* own = local(2);
  note_host_use(shared, inner);
  note_host_use(saved, inner);
  note_host_use(own, inner);
  EXPECT_TRUE(shared->is_host);
  EXPECT_TRUE(shared->corresp.host_associated);
  EXPECT_FALSE(saved->is_host);
  EXPECT_TRUE(saved->corresp.host_associated);
  EXPECT_FALSE(own->is_host);
  EXPECT_FALSE(own->corresp.host_associated);
  EXPECT_TRUE(inner->uses_host);

  // A module procedure uses its module's entities by use, not by host.
  object* module = new_object();
  module->storage_class = sc_module;
  object* in_module = new_object();
  in_module->storage_class = sc_internal;
  in_module->assoc_routine = module;
  in_module->corresp.scope_depth = 1;
  object* module_local = local(1);
  note_host_use(module_local, in_module);
  EXPECT_FALSE(module_local->is_host);
  EXPECT_FALSE(in_module->uses_host);

  // Objects in the bounds of a type are noted too.
  object* n = local(1);
  type* t = array_type(default_real_type(), 1);
  expr_node* bound = new_expr_node(enk_object);
  bound->object = n;
  t->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  t->bound_info->upper(0) = make_bound(0, bk_expression, bound);
  note_host_use_in_type(t, inner);
  EXPECT_TRUE(n->is_host);
}

}  // namespace

namespace {

// A host array with a bound or length that names another host local: using
// the array from the internal procedure uses that local as well.
TEST_F(ReferencesTest, HostUseOfAnObjectNotesTheObjectsOfItsType) {
  object* host = new_object();
  host->storage_class = sc_external;
  object* inner = new_object();
  inner->storage_class = sc_internal;
  inner->assoc_routine = host;
  inner->corresp.scope_depth = 1;
  auto local = [](uint32_t depth, type* t) {
    object* o = new_object();
    o->storage_class = sc_local;
    o->type = t;
    o->corresp.scope_depth = depth;
    return o;
  };
  object* n = local(1, default_integer_type());
  object* len = local(1, default_integer_type());
  auto ref = [](object* o) {
    expr_node* e = new_expr_node(enk_object);
    e->object = o;
    return e;
  };
  type* chars = new_type(tk_fcharacter);
  chars->kind = default_character_type(1)->kind;
  chars->length = make_bound(0, bk_expression, ref(len));
  type* t = array_type(chars, 1);
  t->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  t->bound_info->upper(0) = make_bound(0, bk_expression, ref(n));
  object* a = local(1, t);
  note_host_use(a, inner);
  EXPECT_TRUE(a->is_host);
  EXPECT_TRUE(n->is_host);
  EXPECT_TRUE(n->corresp.host_associated);
  EXPECT_TRUE(len->is_host);
  // Noting it again from a second internal procedure marks that one too.
  object* other = new_object();
  other->storage_class = sc_internal;
  other->assoc_routine = host;
  other->corresp.scope_depth = 1;
  note_host_use(a, other);
  EXPECT_TRUE(other->uses_host);
}

}  // namespace
