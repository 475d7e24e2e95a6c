// The I/O control-list checks and statement checks of the unit pass on IL
// built by hand: unit numbers, internal files, specifier types, and the
// case values of SELECT CASE.
#include <string>

#include "frontend/model/tokens.h"
#include "frontend/semantics/unit_pass.h"
#include "tests/unit/model/model_fixture.h"

namespace {

class UnitChecksTest : public ModelTest {
 protected:
  // An object reference of a type.
  static expr_node* variable(type* t) {
    object* o = new_object();
    o->type = t;
    o->storage_class = sc_local;
    expr_node* n = new_expr_node(enk_object);
    n->object = o;
    n->type = t;
    return n;
  }
  static input_output_description* io_unit(expr_node* unit) {
    input_output_description* d = new_io_description();
    d->unit_kind = iou_external;
    d->unit_expr = unit;
    d->format_kind = iof_list_directed;
    return d;
  }
  static expr_node* specifier(int code, expr_node* value) {
    value->is_specifier = true;
    value->specifier = static_cast<uint8_t>(code);
    return value;
  }
  // Runs a check and returns what it printed.
  template <class F>
  static std::string messages_of(F f, int* result) {
    ::testing::internal::CaptureStderr();
    *result = f();
    return ::testing::internal::GetCapturedStderr();
  }
};

TEST_F(UnitChecksTest, ConstantUnitNumbersLieBetween0And99) {
  struct Case {
    int32_t unit;
    bool reported;
  };
  for (Case c : {Case{100, true}, Case{-1, true}, Case{99, false}, Case{0, false}, Case{INT32_MIN, true}}) {
    SCOPED_TRACE(c.unit);
    diagnostics_reset();
    input_output_description* d = io_unit(const_node(int_constant(default_integer_type(), c.unit)));
    int ok = 0;
    std::string out = messages_of([&] { return check_io_control(d, 0, nullptr); }, &ok);
    EXPECT_EQ(out.find("invalid I/O unit number") != std::string::npos, c.reported) << out;
    EXPECT_EQ(d->unit_kind, c.reported ? static_cast<uint32_t>(iou_error) : static_cast<uint32_t>(iou_external));
  }
}

TEST_F(UnitChecksTest, AUnitOfAnotherTypeIsRefused) {
  input_output_description* d = io_unit(const_node(real_constant(default_real_type(), 1.0)));
  int ok = 1;
  std::string out = messages_of([&] { return check_io_control(d, 0, nullptr); }, &ok);
  EXPECT_EQ(ok, 0);
  EXPECT_NE(out.find("must be scalar integer expression"), std::string::npos) << out;
  EXPECT_EQ(d->unit_kind, static_cast<uint32_t>(iou_error));
}

TEST_F(UnitChecksTest, ACharacterVariableIsAnInternalFileWithoutRecords) {
  input_output_description* d = io_unit(variable(default_character_type(20)));
  d->specifier_list = specifier(iosk_rec, const_node(int_constant(default_integer_type(), 2)));
  int ok = 1;
  std::string out = messages_of([&] { return check_io_control(d, 0, nullptr); }, &ok);
  EXPECT_EQ(d->unit_kind, static_cast<uint32_t>(iou_internal));
  EXPECT_EQ(ok, 0);
  EXPECT_NE(out.find("I/O specifier conflicts with a previous specification"), std::string::npos) << out;
}

TEST_F(UnitChecksTest, NamelistInputFromAnInternalFileIsRefused) {
  input_output_description* d = io_unit(variable(default_character_type(20)));
  d->format_kind = iof_namelist_directed;
  d->format_namelist_group = new_namelist_group();
  int ok = 1;
  std::string out = messages_of([&] { return check_io_control(d, 0, nullptr); }, &ok);
  EXPECT_EQ(ok, 0);
  EXPECT_NE(out.find("NAMELIST-directed internal I/O is not allowed"), std::string::npos) << out;
  EXPECT_TRUE(d->format_namelist_group->corresp.referenced);
}

TEST_F(UnitChecksTest, InquireSpecifiersMustBeVariablesOfTheirDefaultType) {
  struct Case {
    int code;
    type* t;
    const char* message;  // null: accepted
  };
  const Case cases[] = {
      {iosk_exist, default_integer_type(), "expression must be variable of type default logical"},
      {iosk_exist, default_logical_type(), nullptr},
      {iosk_iostat, default_logical_type(), "expression must be variable of type default integer"},
      {iosk_iostat, default_integer_type(), nullptr},
      {iosk_name, default_integer_type(), "expression must be variable of type default character"},
      {iosk_recl, default_integer_type(), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    input_output_description* d = io_unit(const_node(int_constant(default_integer_type(), 1)));
    expr_node* v = variable(c.t);
    d->specifier_list = specifier(c.code, v);
    int ok = 0;
    std::string out = messages_of([&] { return check_io_control(d, 1, nullptr); }, &ok);
    if (c.message) {
      EXPECT_EQ(ok, 0);
      EXPECT_NE(out.find(c.message), std::string::npos) << out;
    } else {
      EXPECT_EQ(ok, 1) << out;
      EXPECT_TRUE(v->intent_out);
    }
  }
}

TEST_F(UnitChecksTest, ADescriptionIsCheckedOnce) {
  input_output_description* d = io_unit(const_node(int_constant(default_integer_type(), 100)));
  int ok = 1;
  std::string first = messages_of([&] { return check_io_control(d, 0, nullptr); }, &ok);
  std::string second = messages_of([&] { return check_io_control(d, 0, nullptr); }, &ok);
  EXPECT_NE(first, "");
  EXPECT_EQ(second, "");
  EXPECT_EQ(ok, 1);
}

}  // namespace

namespace {

class DefinedOperatorTest : public UnitChecksTest {
 protected:
  // A procedure with n dummies of a type, INTENT(IN) unless stated.
  static object* procedure(type* result, int n, type* arg, bool intent_in = true) {
    object* p = new_object();
    p->storage_class = sc_external;
    p->type = routine_type(p, result);
    pool_ref_field<param_type>* tail = &p->type->param_type_list;
    for (int k = 0; k < n; ++k) {
      param_type* a = new_param_type();
      a->type = arg;
      a->intent_in = intent_in;
      *tail = a;
      tail = &a->next;
    }
    p->type->has_param_info = true;
    return p;
  }
  static interface* generic(int token, std::initializer_list<object*> procedures) {
    atom* a = pool_new<atom>();
    a->text = "OP";
    a->length = 2;
    a->token_code = static_cast<uint8_t>(token);
    interface* i = new_interface_entry();
    i->corresp.name = a;
    pool_ref_field<object_list_member>* tail = &i->routine_prototype_list;
    for (object* p : procedures) {
      object_list_member* m = new_object_list_member();
      m->object = p;
      *tail = m;
      tail = &m->next;
    }
    return i;
  }
};

TEST_F(DefinedOperatorTest, ProceduresOfOperatorsAndAssignment) {
  type* r = default_real_type();
  type* i = default_integer_type();
  struct Case {
    const char* what;
    int token;
    object* p;
    const char* message;  // null: accepted
  };
  const Case cases[] = {
      {"binary function", tok_plus, procedure(r, 2, r), nullptr},
      {"unary function", tok_minus, procedure(r, 1, r), nullptr},
      {"subroutine for +", tok_plus, procedure(void_type(), 2, r), "defined operation procedure must be function"},
      {"three arguments", tok_star, procedure(r, 3, r), "incorrect number of arguments"},
      {"one argument for *", tok_star, procedure(r, 1, r), "incorrect number of arguments"},
      {"not INTENT(IN)", tok_plus, procedure(r, 2, r, false), "nonoptional INTENT(IN) argument required"},
      {"function for =", tok_equals, procedure(r, 2, r), "defined assignment procedure must be subroutine"},
      {"no generic operator", tok_name, procedure(void_type(), 5, i), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int ok = 0;
    interface* g = generic(c.token, {c.p});
    std::string out = messages_of([&] { return check_defined_op(c.p, g); }, &ok);
    if (c.message)
      EXPECT_NE(out.find(c.message), std::string::npos) << out;
    else
      EXPECT_EQ(out, "");
  }
}

TEST_F(DefinedOperatorTest, SpecificsMustBeTellableApart) {
  type* r = default_real_type();
  type* i = default_integer_type();
  object* a = procedure(r, 2, r);
  object* b = procedure(r, 2, r);
  object* c = procedure(r, 2, i);
  int ok = 1;
  std::string out = messages_of([&] { return check_defined_op(a, generic(tok_plus, {a, b})); }, &ok);
  EXPECT_EQ(ok, 0);
  EXPECT_NE(out.find("the procedure violates rules of unambiguous generic procedure references"), std::string::npos);
  out = messages_of([&] { return check_defined_op(a, generic(tok_plus, {a, c})); }, &ok);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(out, "");
}

}  // namespace
