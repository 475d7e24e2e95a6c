// Fortran text of expressions and constants built in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "frontend/base/pools.h"
#include "frontend/ilfile/expr_text.h"
#include "frontend/model/il_enums.h"
#include "frontend/model/types.h"

namespace {

class ExprText : public ::testing::Test {
 protected:
  void SetUp() override {
    pools_reset();
    init_il_tables();
    fortran_text_reset();
  }

  static atom* name(const char* text) {
    atom* a = pool_new<atom>();
    a->text = pool_copy_string(text);
    a->length = static_cast<uint32_t>(std::strlen(text));
    return a;
  }
  static object* var(const char* text, uint32_t sc = sc_local) {
    object* o = new_object();
    o->corresp.name = name(text);
    o->storage_class = sc;
    return o;
  }
  static expr_node* ref(object* o) {
    expr_node* n = new_expr_node(enk_object);
    n->object = o;
    return n;
  }
  static expr_node* ref(const char* text) { return ref(var(text)); }
  // Links the nodes through next and returns the first.
  static expr_node* list(std::vector<expr_node*> nodes) {
    for (size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i]->next = nodes[i + 1];
    return nodes.empty() ? nullptr : nodes[0];
  }
  static expr_node* op(int code, std::vector<expr_node*> operands) {
    return new_operation_node(code, unknown_type(), list(operands));
  }
  static uint8_t* bytes(size_t n) { return static_cast<uint8_t*>(pool_alloc_zeroed(n)); }
  static constant* int_constant(int32_t v, uint32_t row) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = integer_type(row);
    c->value = bytes(c->type->size);
    kind_row_of(kf_integer, row)->set_int(v, c->value);
    return c;
  }
  static constant* real_constant(double v, uint32_t row) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = real_type(row);
    c->value = bytes(c->type->size);
    kind_row_of(kf_real, row)->set_real(v, c->value);
    return c;
  }
  static constant* char_constant(const std::string& text) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = character_type(kind_defaults.default_character, false,
                             static_cast<uint32_t>(text.size()));
    c->value = bytes(text.size() + 1);
    std::memcpy(c->value, text.data(), text.size());
    return c;
  }
  static expr_node* lit(constant* c) {
    expr_node* n = new_expr_node(enk_constant);
    n->constant = c;
    n->type = c->type;
    return n;
  }
  static expr_node* lit(int32_t v) { return lit(int_constant(v, kind_defaults.default_integer)); }
  static expr_node* triplet(expr_node* a, expr_node* b, expr_node* stride = nullptr) {
    expr_node* n = new_expr_node(enk_triplet);
    n->first = a;
    n->second = b;
    n->stride = stride;
    return n;
  }
};

TEST_F(ExprText, OperationsNestInParenthesesExceptComparisonsAndAssignments) {
  EXPECT_EQ(fortran_expr_text(op(eok_fadd, {ref("X"), op(eok_fmultiply, {ref("Y"), ref("Z")})})),
            "(X+(Y*Z))");
  EXPECT_EQ(fortran_expr_text(op(eok_ieq, {ref("X"), ref("Y")})), "X==Y");
  EXPECT_EQ(fortran_expr_text(op(eok_not, {ref("X")})), ".not.X");
  EXPECT_EQ(fortran_expr_text(op(eok_iassign, {ref("K"), op(eok_isubtract, {ref("I"), lit(1)})})),
            "K=(I-1)");
  EXPECT_EQ(fortran_expr_text(op(eok_eqv, {ref("A"), op(eok_land, {ref("B"), ref("C")})})),
            "A.eqv.(B.and.C)");
  EXPECT_EQ(fortran_expr_text(op(eok_concat, {ref("S"), ref("T")})), "(S//T)");
  EXPECT_EQ(fortran_expr_text(op(eok_fnegate, {ref("X")})), "-X");
  EXPECT_EQ(fortran_expr_text(op(eok_passign, {ref("P"), ref("Q")})), "P=>Q");
}

TEST_F(ExprText, OperatorTextOfEveryCode) {
  struct Row {
    int code;
    const char* text;
  };
  const Row rows[] = {
      {eok_not, ".not."}, {eok_inegate, "-"}, {eok_cast, ""}, {eok_spread, ""},
      {eok_concat, "//"}, {eok_lor, ".or."}, {eok_neqv, ".neqv."}, {eok_lassign, "="},
      {eok_iadd, "+"}, {eok_isubtract, "-"}, {eok_imultiply, "*"}, {eok_idivide, "/"},
      {eok_i_to_i_expon, "**"}, {eok_ine, "/="}, {eok_igt, ">"}, {eok_ilt, "<"},
      {eok_ige, ">="}, {eok_ile, "<="}, {eok_f_to_f_expon, "**"}, {eok_fassign, "="},
      {eok_x_to_x_expon, "**"}, {eok_xne, "/="}, {eok_cge, ">="}, {eok_cassign, "="},
      {eok_passign, "=>"}, {eok_sassign, "="}, {eok_reorder, "reorder"},
      {eok_expand, "expand"}, {eok_reshape, "reshape"}, {eok_negate, "-"},
      {eok_an_to_an_expon, "**"}, {eok_le, "<="}, {eok_assign, "="},
      {eok_error, "<error operator>"}, {72, "<error operator>"}, {-1, "<error operator>"},
  };
  for (const Row& r : rows) EXPECT_STREQ(fortran_operator_text(r.code), r.text) << r.code;
}

TEST_F(ExprText, AssignStatementAndArrayForms) {
  label* l = new_label();
  l->corresp.name = name("10");
  expr_node* lv = new_expr_node(enk_stmt_label_value);
  lv->stmt_label_value = l;
  EXPECT_EQ(fortran_expr_text(op(eok_iassign, {ref("K"), lv})), "assign 10 to K");
  // The array forms read like calls, without a line feed.
  EXPECT_EQ(fortran_expr_text(op(eok_add, {ref("A"), ref("B")})), "+(A, B)");
  // Defined assignment: the first operand, "=", the operation over the rest.
  expr_node* d = op(eok_fadd, {ref("R"), ref("X"), ref("Y")});
  d->treated_as_subroutine_call = true;
  EXPECT_EQ(fortran_expr_text(d), "R=(X+Y)");
}

TEST_F(ExprText, SubscriptsSubstringsAndTriplets) {
  expr_node* s = new_expr_node(enk_substring);
  s->array_expr = ref("S");
  s->ind_list = triplet(lit(1), lit(3));
  s->ignore_lbound = true;
  EXPECT_EQ(fortran_expr_text(s), "S[1:3]");
  expr_node* a = new_expr_node(enk_section);
  a->array_expr = ref("A");
  a->ind_list = list({ref("I"), triplet(lit(1), ref("N"), lit(2))});
  EXPECT_EQ(fortran_expr_text(a), "A(I, 1:N:2)");
  expr_node* f = new_expr_node(enk_field);
  f->base_expr = ref("X");
  f->field_var = var("COMP", sc_type_field);
  EXPECT_EQ(fortran_expr_text(f), "X%COMP");
}

TEST_F(ExprText, CallsIntrinsicsAndGenericCalls) {
  object* m = var("M", sc_module);
  object* p = var("F", sc_mod_proc);
  p->assoc_module = m;
  expr_node* c = new_expr_node(enk_call);
  c->routine = p;
  expr_node* k = ref("Y");
  k->arg_keyword = name("KEY");
  label* l = new_label();
  l->corresp.name = name("20");
  expr_node* alt = new_expr_node(enk_stmt_label_value);
  alt->stmt_label_value = l;
  c->operands = list({ref("X"), k, alt});
  EXPECT_EQ(fortran_expr_text(c), "M_F(X, KEY=Y, *20)");

  expr_node* e = new_expr_node(enk_call);
  e->routine = var("SUB", sc_external);
  EXPECT_EQ(fortran_expr_text(e), "SUB()");

  expr_node* i = new_expr_node(enk_intrinsic);
  i->intrinsic = 103;
  i->operands = list({ref("A"), ref("B")});
  EXPECT_EQ(fortran_expr_text(i), "max(A, B)");
  i->intrinsic = 200;
  EXPECT_EQ(fortran_expr_text(i), "<error intrinsic>(A, B)");
  expr_node* mv = new_expr_node(enk_intrinsic);
  mv->intrinsic = 136;  // random_number as a subroutine call
  mv->treated_as_subroutine_call = true;
  mv->operands = list({ref("R"), ref("H")});
  EXPECT_EQ(fortran_expr_text(mv), "R=random_number(H)");

  interface* g = new_interface_entry();
  g->corresp.name = name(".X.");
  expr_node* gc = new_expr_node(enk_generic_call);
  gc->generic_routine = g;
  gc->operands = list({ref("a"), ref("b")});
  EXPECT_EQ(fortran_expr_text(gc), "operation(.X.)(a, b)");
  g->corresp.name = name("=");
  EXPECT_EQ(fortran_expr_text(gc), "assignment(=)(a, b)");
  g->corresp.name = name("swap");
  EXPECT_EQ(fortran_expr_text(gc), "swap(a, b)");

  object* u = var("V", sc_use_associated);
  u->assoc_module = m;
  EXPECT_EQ(fortran_expr_text(ref(u)), "M_V");
}

TEST_F(ExprText, ConstructorsImpliedDoAndSum) {
  expr_node* arr = new_expr_node(enk_constructor);
  arr->type = array_type(integer_type(1), 1);
  arr->constructor = list({lit(1), lit(2)});
  EXPECT_EQ(fortran_expr_text(arr), "(/1, 2/)");
  type* t = new_type(tk_derived_type);
  t->corresp.name = name("POINT");
  expr_node* dt = new_expr_node(enk_constructor);
  dt->type = t;
  dt->constructor = list({lit(1), lit(2)});
  EXPECT_EQ(fortran_expr_text(dt), "POINT (1, 2)");
  dt->type = integer_type(1);
  EXPECT_EQ(fortran_expr_text(dt), "");

  expr_node* ido = new_expr_node(enk_implied_do);
  ido->expr_list = ref("A");
  ido->do_info->variable = ref("I");
  ido->do_info->initial_value = lit(1);
  ido->do_info->final_value = ref("N");
  EXPECT_EQ(fortran_expr_text(ido), "(A,I=1, N)");
  ido->do_info->final_value_excluded = true;
  ido->do_info->increment = lit(2);
  EXPECT_EQ(fortran_expr_text(ido), "(A,I=1, N-1, 2)");
  ido->do_info = nullptr;
  EXPECT_EQ(fortran_expr_text(ido), "(A)");

  expr_node* sum = new_expr_node(enk_isum);
  sum->expr_list = ref("B");
  sum->do_info->variable = ref("J");
  sum->do_info->initial_value = lit(1);
  sum->do_info->final_value = lit(4);
  EXPECT_EQ(fortran_expr_text(sum), "sum((/(B,J=1, 4)/))");

  expr_node* r = new_expr_node(enk_ref);
  r->reference = ref("Q");
  EXPECT_EQ(fortran_expr_text(r), "Q");
  EXPECT_EQ(fortran_expr_text(new_expr_node(enk_empty)), "<empty>");
  EXPECT_EQ(fortran_expr_text(new_expr_node(enk_error)), "<error expression>");
  EXPECT_EQ(fortran_expr_text(new_expr_node(enk_data_implied_do_var)), "");
  EXPECT_EQ(fortran_expr_text(nullptr), "");
}

TEST_F(ExprText, IntegerAndLogicalConstantsCarryTheirKindUnlessDefault) {
  EXPECT_EQ(fortran_constant_text(int_constant(5, 1)), "5");
  EXPECT_EQ(fortran_constant_text(int_constant(5, 0)), "5_1");
  EXPECT_EQ(fortran_constant_text(int_constant(-2147483647 - 1, 1)), "-2147483648");
  EXPECT_EQ(fortran_constant_text(int_constant(-7, 0)), "-7_1");
  for (uint32_t row : {0u, 1u}) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = logical_type(row);
    c->value = bytes(c->type->size);
    kind_row_of(kf_logical, row)->set_int(1, c->value);
    EXPECT_EQ(fortran_constant_text(c), row == 1 ? ".TRUE." : ".TRUE._1");
    kind_row_of(kf_logical, row)->set_int(0, c->value);
    EXPECT_EQ(fortran_constant_text(c), row == 1 ? ".FALSE." : ".FALSE._1");
  }
}

TEST_F(ExprText, RealConstantsAreFortranText) {
  struct Row {
    double value;
    uint32_t row;
    const char* text;
  };
  const Row rows[] = {
      {1.0, 0, "1.0"},
      {100.0, 0, "100.0"},
      {-3.0, 0, "-3.0"},
      {0.5, 0, "0.5"},
      {0.1, 0, "0.1"},              // 8 significant digits for 24 bits
      {1e10, 0, "1e+10"},           // no ".0" after an exponent
      {2.5e-7, 0, "2.5e-07"},
      {1.0, 1, "1.0_2"},
      {0.1, 1, "0.10000000000000001_2"},  // 17 digits for 53 bits
      {HUGE_VAL, 0, "inf"},         // never "inf.0"
      {-HUGE_VAL, 1, "-inf_2"},
  };
  for (const Row& r : rows) EXPECT_EQ(fortran_constant_text(real_constant(r.value, r.row)), r.text);
  constant* z = new_constant();
  init_constant(z, ck_value);
  z->type = complex_type(0);
  z->value = bytes(z->type->size);
  kind_row_of(kf_real, 0)->set_real(1.0, z->value);
  kind_row_of(kf_real, 0)->set_real(2.5, z->value + 4);
  EXPECT_EQ(fortran_constant_text(z), "(1.0,2.5)");
  z->type = complex_type(1);
  z->value = bytes(16);
  kind_row_of(kf_real, 1)->set_real(-1.0, z->value);
  kind_row_of(kf_real, 1)->set_real(3.0, z->value + 8);
  EXPECT_EQ(fortran_constant_text(z), "(-1.0_2,3.0_2)");
}

TEST_F(ExprText, CharacterConstants) {
  EXPECT_EQ(fortran_constant_text(char_constant("abc")), "\"abc\"");
  // "*" and "/" never stand side by side.
  EXPECT_EQ(fortran_constant_text(char_constant("a*/b")), "\"a*\"//\"/b\"");
  EXPECT_EQ(fortran_constant_text(char_constant("*")), "\"*\"");
  // Unprintable bytes as \xxu; a quote doubled as Fortran writes it.
  EXPECT_EQ(fortran_constant_text(char_constant(std::string("a\nb\xff", 4))), "\"a\\0aub\\ffu\"");
  EXPECT_EQ(fortran_constant_text(char_constant("say \"hi\"")), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(fortran_constant_text(char_constant("")), "\"\"");
}

TEST_F(ExprText, AggregatesAndInitializerPieces) {
  constant* agg = new_constant();
  init_constant(agg, ck_aggregate);
  agg->type = array_type(integer_type(1), 1);
  constant* rep = new_constant();
  init_constant(rep, ck_init_repeat);
  rep->count = 3;
  rep->repeat_constant = int_constant(0, 1);
  constant* pos = new_constant();
  init_constant(pos, ck_init_position);
  pos->offset = 8;
  constant* a = int_constant(1, 1);
  constant* b = int_constant(2, 1);
  agg->first_constant = a;
  a->next = rep;
  rep->next = pos;
  pos->next = b;
  agg->last_constant = b;
  EXPECT_EQ(fortran_constant_text(agg), "(/1, <repeat 3> 0<from pos 8> 2/)");
  type* t = new_type(tk_derived_type);
  t->corresp.name = name("T");
  agg->type = t;
  EXPECT_EQ(fortran_constant_text(agg), "T (1, <repeat 3> 0<from pos 8> 2)");
  agg->type = integer_type(1);
  EXPECT_EQ(fortran_constant_text(agg), "<data> /1, <repeat 3> 0<from pos 8> 2/");
  constant* idx = new_constant();
  init_constant(idx, ck_init_index);
  idx->first = 1;
  idx->second = 10;
  idx->stride = 2;
  EXPECT_EQ(fortran_constant_text(idx), "<from index 1> <to 10> <with 2> ");
  EXPECT_EQ(fortran_constant_text(new_constant()), "<bad constant kind>");
  constant* ex = new_constant();
  init_constant(ex, ck_expression);
  ex->expr = op(eok_imultiply, {ref("N"), lit(2)});
  EXPECT_EQ(fortran_constant_text(ex), "(N*2)");
}

TEST_F(ExprText, DamagedValuesAreNotReadPastTheirBytes) {
  constant* c = int_constant(5, 1);
  c->value = nullptr;
  EXPECT_EQ(fortran_constant_text(c), "<bad constant value>");
  constant* k = int_constant(5, 1);
  k->type = new_type(tk_integer);
  k->type->kind = 7;  // no such row
  EXPECT_EQ(fortran_constant_text(k), "<bad constant value>");
}

TEST_F(ExprText, HtmlEscapesOnlyTheCharacterWriter) {
  fortran_text.html = true;
  EXPECT_EQ(fortran_expr_text(op(eok_ilt, {ref("A"), ref("B")})), "A&lt;B");
  EXPECT_EQ(fortran_expr_text(new_expr_node(enk_error)), "&lt;error expression&gt;");
}

TEST_F(ExprText, CyclicGraphsStopInsteadOfLooping) {
  expr_node* a = ref("A");
  a->next = a;  // an argument list that runs into itself
  expr_node* c = new_expr_node(enk_call);
  c->routine = var("F", sc_external);
  c->operands = a;
  set_fortran_node_limit(50);
  std::string text = fortran_expr_text(c);
  EXPECT_TRUE(fortran_text.overflow);
  EXPECT_LT(text.size(), 400u);

  fortran_text.overflow = false;
  expr_node* self = op(eok_iadd, {ref("X")});
  self->operands->next = self;  // an operation that contains itself
  set_fortran_node_limit(1u << 20);
  fortran_expr_text(self);
  EXPECT_TRUE(fortran_text.overflow);

  constant* agg = new_constant();
  init_constant(agg, ck_aggregate);
  constant* e = int_constant(1, 1);
  e->next = e;  // elements that run into themselves
  agg->first_constant = e;
  fortran_constant_text(agg);
  EXPECT_TRUE(fortran_text.overflow);

  EXPECT_EQ(fortran_expr_text(op(eok_iadd, {ref("X"), ref("Y")})), "(X+Y)");
  EXPECT_FALSE(fortran_text.overflow);
}

std::string captured;
void capture_output(std::string_view text) { captured.append(text); }

TEST_F(ExprText, OutputGoesThroughTheInstalledFunction) {
  captured.clear();
  set_fortran_output(capture_output);
  write_fortran_arg_list(list({ref("A"), ref("B")}));
  write_fortran_list(list({ref("C"), ref("D")}));
  EXPECT_EQ(captured, "(A, B)C, D");
  set_fortran_output(nullptr);
  EXPECT_EQ(fortran_expr_text(ref("E")), "E");
  EXPECT_EQ(captured, "(A, B)C, D");
}

}  // namespace
