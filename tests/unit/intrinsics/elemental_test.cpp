// Handlers of the elemental intrinsic procedures: result types, specific
// names and their exact kinds, pairs of one type, MAX and MIN, conversions.
#include "frontend/semantics/expr_check.h"
#include "tests/unit/intrinsics/intrinsics_fixture.h"

namespace {
expr_node* empty() { return new_expr_node(enk_empty); }
}  // namespace

using ElementalTest = IntrinsicsTest;

TEST_F(ElementalTest, ResultTypesOfFamilyOne) {
  type* r = default_real_type();
  type* d = double_precision_type();
  type* i = default_integer_type();
  type* z = default_complex_type();
  type* v = vector_of(r, 3);
  struct {
    int row, k;
    std::initializer_list<type*> args;
    type* element;  // the result's element type
    bool array;
  } cases[] = {
      {ir_sqrt, 1, {d}, d, false},
      {ir_sqrt, 1, {v}, r, true},
      {ir_cos, 2, {z}, z, false},
      {ir_abs, 0, {z}, r, false},
      {ir_abs, 0, {complex_type(1)}, d, false},
      {ir_abs, 0, {i}, i, false},
      {ir_aimag, 1, {complex_type(1)}, d, false},
      {ir_floor, 0, {v}, i, true},
      {ir_exponent, 0, {d}, i, false},
      {ir_achar, 0, {i}, default_character_type(1), false},
      {ir_len_trim, 0, {default_character_type(9)}, i, false},
      {ir_btest, 0, {i, i}, default_logical_type(), false},
      {ir_ishft, 0, {integer_type(0), i}, integer_type(0), false},
      {ir_scale, 0, {d, i}, d, false},
      {ir_not, 0, {i}, i, false},
      {ir_selected_int_kind, 0, {i}, i, false},
  };
  for (auto& c : cases) {
    expr_node* args[3] = {};
    int n = 0;
    for (type* t : c.args) args[n++] = var(t);
    expr_node* ref = call(c.row, c.k, {args[0]});
    for (int a = 1; a < n; ++a) args[a - 1]->next = args[a];
    ASSERT_EQ(intrinsic_check(ref, 0, nullptr), 1) << c.row;
    EXPECT_EQ(ref->node_kind, enk_intrinsic) << c.row;
    EXPECT_EQ(ref->intrinsic, c.row);
    EXPECT_EQ(intrinsic_element_type(ref->type), c.element) << c.row;
    EXPECT_EQ(is_array_type(ref->type), c.array) << c.row;
    EXPECT_EQ(ref->for_all, c.array) << c.row;
  }
  EXPECT_EQ(messages(), "");
}

TEST_F(ElementalTest, RestrictedExpressions) {
  // ABS(-3) is allowed, ABS(-3.0) is not; bit functions are allowed.
  expr_node* n = call(ir_abs, 0, {int_const(-3)});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 1);
  n = call(ir_abs, 0, {const_node(real_constant(default_real_type(), -3.0))});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 0);
  n = call(ir_ibset, 0, {int_const(1), int_const(40)});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 1);
  n = call(ir_sqrt, 1, {const_node(real_constant(default_real_type(), 4.0))});
  EXPECT_EQ(intrinsic_check(n, 24, nullptr), 0);
  // MOD of INTEGER only.
  n = call(ir_mod, 1, {int_const(7), int_const(3)});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 1);
  n = call(ir_mod, 2, {const_node(real_constant(double_precision_type(), 7.0)),
                       const_node(real_constant(double_precision_type(), 2.0))});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 0);
  // MAX of INTEGER only.
  n = call(ir_max, 1, {const_node(real_constant(default_real_type(), 1.0)),
                       const_node(real_constant(default_real_type(), 2.0))});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be a restricted expression"), 4);
}

TEST_F(ElementalTest, SpecificNamesTestTheirFirstArgument) {
  type* r = default_real_type();
  type* d = double_precision_type();
  type* i = default_integer_type();
  type* z = default_complex_type();
  struct {
    int row;
    type* arg;
    int args;
    const char* message;  // null: accepted
  } cases[] = {
      {ir_dsqrt, r, 1, "argument must be of type double precision"},
      {ir_dsqrt, d, 1, nullptr},
      {ir_iabs, integer_type(0), 1, "argument must be of type default integer"},
      {ir_iabs, i, 1, nullptr},
      {ir_cabs, complex_type(1), 1, "argument must be of type default complex"},
      {ir_alog, d, 1, "argument must be of type default real"},
      {ir_csqrt, z, 1, nullptr},
      {ir_dint, r, 1, "argument must be of type double precision"},
      {ir_amod, r, 2, nullptr},
      {ir_dmax1, r, 2, "argument must be of type double precision"},
      {ir_max0, i, 3, nullptr},
      {ir_idnint, d, 1, nullptr},
  };
  for (auto& c : cases) {
    expr_node* first = var(c.arg);
    expr_node* n = call(c.row, 0, {first});
    expr_node* tail = first;
    for (int a = 1; a < c.args; ++a) tail = tail->next = var(c.arg);
    int result = intrinsic_check(n, 0, nullptr);
    std::string out = messages();
    if (c.message) {
      EXPECT_EQ(result, 0) << c.row;
      EXPECT_EQ(count(out, c.message), 1) << c.row << out;
      EXPECT_EQ(count(out, " 1) error"), 1) << out;  // at the reference
    } else {
      EXPECT_EQ(result, 1) << c.row << out;
      EXPECT_EQ(out, "");
      EXPECT_EQ(n->intrinsic, c.row);
    }
  }
  // The specific's result: DSQRT of DOUBLE PRECISION; CABS gives REAL.
  expr_node* n = call(ir_cabs, 0, {var(default_complex_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_real_type());
}

TEST_F(ElementalTest, MaxAndMin) {
  // MAX(1.0, 2.0D0) needs one type and kind.
  expr_node* n = call(ir_max, 1, {var(default_real_type(), 4), var(double_precision_type())});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "operands are incompatible"), 1);
  // MAX0(1, 2, 3): every argument but the last takes the common type; the
  // result is default INTEGER.
  expr_node* a = int_const(1);
  n = call(ir_max0, 0, {a, int_const(2), int_const(3)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_integer_type());
  // AMAX0 gives default REAL; MIN of arrays conforms.
  n = call(ir_amax0, 0, {int_const(1), int_const(2)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_real_type());
  type* v = vector_of(default_real_type(), 3);
  n = call(ir_min, 1, {var(v), var(default_real_type()), var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(n->for_all);
  EXPECT_EQ(n->type->element_type, default_real_type());
  EXPECT_EQ(messages(), "");
}

TEST_F(ElementalTest, PairsOfOneType) {
  expr_node* n = call(ir_sign, 1, {var(default_integer_type()), var(default_integer_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_integer_type());
  n = call(ir_iand, 0, {var(default_integer_type(), 6), var(integer_type(0))});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  std::string out = messages();
  EXPECT_EQ(count(out, "operands are incompatible"), 1) << out;
  // ATAN2 likewise; DPROD needs default REAL and gives DOUBLE PRECISION.
  n = call(ir_atan2, 1, {var(double_precision_type()), var(default_real_type())});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  n = call(ir_dprod, 0, {var(default_real_type()), var(default_real_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, double_precision_type());
  n = call(ir_dprod, 0, {var(double_precision_type()), var(double_precision_type())});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  out = messages();
  EXPECT_EQ(count(out, "operands are incompatible"), 1) << out;
  EXPECT_EQ(count(out, "argument must be of type default real"), 1) << out;
}

TEST_F(ElementalTest, BitFunctionsWithThreeArguments) {
  // ISHFTC without SIZE types the omitted argument.
  expr_node* size = empty();
  type* v = vector_of(default_integer_type(), 4);
  expr_node* n = call(ir_ishftc, 0, {var(default_integer_type()), var(v), size});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(n->for_all);
  EXPECT_EQ(size->node_kind, enk_empty);
  ASSERT_EQ(size->type->type_code, tk_farray);
  EXPECT_EQ(size->type->element_type, default_integer_type());
  // IBITS(I, POS, LEN) with an array LEN: the result has its shape.
  n = call(ir_ibits, 0, {var(default_integer_type()), int_const(1), var(v)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_TRUE(n->for_all);
  EXPECT_EQ(n->type->rank, 1);
  EXPECT_TRUE(is_array_type(n->operands->type));
  EXPECT_EQ(messages(), "");
  // SELECTED_REAL_KIND needs P or R.
  n = call(ir_selected_real_kind, 0, {empty(), empty()});
  EXPECT_EQ(intrinsic_check(n, 28, nullptr), 0);
  EXPECT_EQ(count(messages(), "at least one argument must be present"), 1);
}

TEST_F(ElementalTest, Conversions) {
  // INT(X) is a cast; INT(I) is I itself; INT(X, 1) selects INTEGER kind 1.
  expr_node* x = var(default_real_type());
  expr_node* n = call(ir_int, 0, {x, empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_operation);
  EXPECT_EQ(n->op_kind, eok_cast);
  EXPECT_EQ(n->type, default_integer_type());
  expr_node* i = var(default_integer_type());
  n = call(ir_int, 0, {i, empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_object);
  EXPECT_EQ(n->object, i->object);
  n = call(ir_int, 0, {var(default_real_type()), int_const(1)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, integer_type(0));
  EXPECT_EQ(messages(), "");
  // An unknown KIND value is 98 at KIND; a KIND that is no constant is 85.
  n = call(ir_int, 0, {var(default_real_type()), int_const(3, 7)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  std::string out = messages();
  EXPECT_EQ(count(out, "kind value does not specify a representation method"), 1) << out;
  EXPECT_EQ(count(out, ": 9) error"), 1) << out;  // at the KIND argument
  n = call(ir_int, 0, {var(default_real_type()), var(default_integer_type())});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  EXPECT_EQ(count(messages(), "must be an initialization expression"), 1);
  // REAL(Z) keeps Z's kind; DBLE gives DOUBLE PRECISION; LOGICAL(L, 1).
  n = call(ir_real, 0, {var(complex_type(1)), empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, double_precision_type());
  n = call(ir_dble, 0, {var(default_integer_type())});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, double_precision_type());
  n = call(ir_logical, 0, {var(default_logical_type()), int_const(1)});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, logical_type(0));
  // CMPLX(Z) of the result type is Z; CMPLX(X, Y) is an intrinsic reference.
  expr_node* z = var(default_complex_type());
  n = call(ir_cmplx, 4, {z, empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_object);
  EXPECT_EQ(n->object, z->object);
  n = call(ir_cmplx, 1, {var(default_integer_type()), var(default_real_type()), empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_intrinsic);
  EXPECT_EQ(n->type, default_complex_type());
  EXPECT_TRUE(type_equal(n->operands->type, default_real_type()));
  // NINT and AINT stay intrinsic references.
  n = call(ir_nint, 1, {var(double_precision_type()), empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->node_kind, enk_intrinsic);
  EXPECT_EQ(n->type, default_integer_type());
  n = call(ir_aint, 1, {var(double_precision_type()), empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, double_precision_type());
  // CHAR without KIND is ACHAR's check.
  n = call(ir_char, 0, {var(default_integer_type()), empty()});
  ASSERT_EQ(intrinsic_check(n, 0, nullptr), 1);
  EXPECT_EQ(n->type, default_character_type(1));
  EXPECT_EQ(messages(), "");
  // Fixed argument kinds: IFIX at the reference, FLOAT at A.
  n = call(ir_ifix, 0, {var(double_precision_type(), 6)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  n = call(ir_float, 0, {var(integer_type(0), 6)});
  EXPECT_EQ(intrinsic_check(n, 0, nullptr), 0);
  out = messages();
  EXPECT_EQ(count(out, "argument must be of type default real"), 1) << out;
  EXPECT_EQ(count(out, "argument must be of type default integer"), 1) << out;
  EXPECT_EQ(count(out, ": 1) error"), 1) << out;
  EXPECT_EQ(count(out, ": 3) error"), 1) << out;
}
