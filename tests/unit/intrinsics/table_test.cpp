// The intrinsic table: rows, signature order, specific names and the forms
// of dummies and results.
#include <cstring>

#include "tests/unit/intrinsics/intrinsics_fixture.h"

namespace {

int signature_count(int row) {
  int n = 0;
  for (object_list_member* m = intrinsic_interface(row)->routine_prototype_list; m; m = m->next) ++n;
  return n;
}

param_type* dummy(object* signature, int k) {
  param_type* p = signature->type->param_type_list;
  for (; p && k > 0; --k) p = p->next;
  return p;
}

}  // namespace

using TableTest = IntrinsicsTest;

TEST_F(TableTest, EveryRowIsAnInterfaceOfItsDescriptor) {
  int signatures = 0;
  for (int row = 0; row < intrinsic_rows_total; ++row) {
    interface* i = intrinsic_interface(row);
    ASSERT_NE(i, nullptr) << row;
    EXPECT_EQ(symtab.intrinsic_rows[row].table_entry, i);
    EXPECT_EQ(i->header & il_number_mask, static_cast<uint32_t>(row));
    EXPECT_EQ(i->corresp.name, symtab.intrinsic_rows[row].name);
    EXPECT_EQ(i->symbol, symtab.intrinsic_rows[row].symbol);
    EXPECT_EQ(i->next, nullptr);
    EXPECT_EQ(i->inherited, nullptr);
    EXPECT_FALSE(i->is_public);
    for (object_list_member* m = i->routine_prototype_list; m; m = m->next) {
      object* o = m->object;
      EXPECT_EQ(o->header & il_number_mask, static_cast<uint32_t>(signatures)) << row;
      EXPECT_EQ(intrinsic_signature(signatures), o);
      EXPECT_EQ(o->storage_class, sc_intrinsic);
      EXPECT_EQ(o->association_offset, row);
      EXPECT_EQ(intrinsic_row_of(o), row);
      ASSERT_EQ(o->type->type_code, tk_routine);
      EXPECT_EQ(o->type->assoc_routine, o);
      EXPECT_TRUE(o->type->has_param_info);
      ++signatures;
    }
  }
  EXPECT_EQ(signatures, 253);
  EXPECT_EQ(intrinsic_interface(178), nullptr);
  EXPECT_EQ(intrinsic_signature(253), nullptr);
}

TEST_F(TableTest, SignatureCountsOfRows) {
  struct { int row; int signatures; } cases[] = {
      {ir_assign_op, 4}, {ir_plus_op, 2}, {ir_gt_op, 5}, {ir_not_op, 1}, {ir_abs, 1},
      {ir_cmplx, 5},     {ir_matmul, 6},  {ir_cos, 3},   {ir_kind, 3},   {ir_verify, 1},
  };
  for (auto& c : cases) EXPECT_EQ(signature_count(c.row), c.signatures) << c.row;
  EXPECT_STREQ(symtab.intrinsic_rows[ir_verify].name->text, "VERIFY");
  EXPECT_EQ(intrinsic_row_by_name("DSIN"), 154);
  EXPECT_EQ(intrinsic_row_by_name("NOSUCH"), -1);
}

TEST_F(TableTest, SpecificNamesReachTheirSignature) {
  // DSIN is its own row; SIN's first signature is the specific SIN; INDEX's
  // specific comes before its generic form.
  struct { const char* name; int row; int k; } cases[] = {
      {"DSIN", ir_dsin, 0}, {"SIN", ir_sin, 0}, {"INDEX", ir_index, 0}, {"LEN", ir_len, 0},
      {"IABS", ir_iabs, 0}, {"AIMAG", ir_aimag, 0},
  };
  for (auto& c : cases) {
    symbol_entry* s = intern_cstring(c.name)->first_symbol;
    while (s && s->cls != sym_specific_intrinsic) s = s->next_same_name;
    ASSERT_NE(s, nullptr) << c.name;
    auto* specific = static_cast<intrinsic_specific*>(s->entity.get());
    object* o = specific->signature_object;
    ASSERT_NE(o, nullptr) << c.name;
    EXPECT_EQ(o, signature_of(c.row, c.k)) << c.name;
    EXPECT_EQ(o->symbol, s);
    EXPECT_EQ(o->corresp.name, s->name);
  }
  // Generic forms carry no name of their own.
  EXPECT_EQ(signature_of(ir_sin, 1)->corresp.name, nullptr);
  EXPECT_EQ(signature_of(ir_sin, 1)->symbol, nullptr);
}

TEST_F(TableTest, DummyAndResultForms) {
  // SQRT(X: default REAL e) -> default REAL e
  object* sqrt1 = signature_of(ir_sqrt, 0);
  param_type* x = dummy(sqrt1, 0);
  EXPECT_EQ(x->corresp.name, intern_cstring("X"));
  ASSERT_EQ(x->type->type_code, tk_farray);
  EXPECT_EQ(x->type->rank, 0);
  EXPECT_EQ(x->type->shape_kind, deferred_shape);
  EXPECT_EQ(x->type->element_type, default_real_type());
  EXPECT_TRUE(x->intent_in);
  EXPECT_FALSE(x->intent_out);
  EXPECT_EQ(sqrt1->type->return_type->element_type, default_real_type());
  EXPECT_TRUE(sqrt1->type->is_elemental);
  EXPECT_FALSE(sqrt1->type->has_ellipsis);
  // SQRT(X: REAL e): any kind.
  type* any_real = dummy(signature_of(ir_sqrt, 1), 0)->type->element_type;
  EXPECT_EQ(any_real->type_code, tk_float);
  EXPECT_EQ(any_real->kind, any_kind);
  // BIT_SIZE(I: INTEGER q) -> default INTEGER (scalar)
  object* bit_size = signature_of(ir_bit_size);
  EXPECT_EQ(dummy(bit_size, 0)->type->shape_kind, as_shaped);
  EXPECT_FALSE(dummy(bit_size, 0)->intent_in);
  EXPECT_EQ(bit_size->type->return_type, default_integer_type());
  EXPECT_FALSE(bit_size->type->is_elemental);
  // MVBITS TO is both in and out; the result of a subroutine is void.
  object* mvbits = signature_of(ir_mvbits);
  EXPECT_TRUE(dummy(mvbits, 3)->intent_in && dummy(mvbits, 3)->intent_out);
  EXPECT_EQ(dummy(mvbits, 3)->corresp.name, intern_cstring("TO"));
  EXPECT_EQ(mvbits->type->return_type->type_code, tk_void);
  // ASSOCIATED(POINTER ptr, TARGET opt)
  object* associated = signature_of(ir_associated);
  EXPECT_TRUE(dummy(associated, 0)->is_pointer);
  EXPECT_FALSE(dummy(associated, 0)->is_optional);
  EXPECT_TRUE(dummy(associated, 1)->is_optional);
  EXPECT_EQ(dummy(associated, 1)->type->element_type->type_code, tk_any_type);
  // DATE_AND_TIME: fixed-length default CHARACTER dummies and a rank-1 VALUES.
  object* dt = signature_of(ir_date_and_time);
  EXPECT_EQ(dummy(dt, 0)->type, default_character_type(8));
  EXPECT_EQ(dummy(dt, 1)->type, default_character_type(10));
  EXPECT_EQ(dummy(dt, 2)->type, default_character_type(5));
  type* values = dummy(dt, 3)->type;
  ASSERT_EQ(values->type_code, tk_farray);
  EXPECT_EQ(values->rank, 1);
  EXPECT_EQ(values->shape_kind, deferred_shape);
  EXPECT_EQ(values->bound_info->upper(0).kind, bk_undefined);
  EXPECT_TRUE(dummy(dt, 3)->intent_out && dummy(dt, 3)->is_optional);
  // MAX takes more arguments like the last; MATMUL results have fixed ranks.
  EXPECT_TRUE(signature_of(ir_max)->type->has_ellipsis);
  EXPECT_TRUE(signature_of(ir_dmin1)->type->has_ellipsis);
  EXPECT_EQ(signature_of(ir_matmul, 1)->type->return_type->rank, 1);
  EXPECT_EQ(signature_of(ir_matmul, 1)->type->return_type->element_type->type_code, tk_any_numerical);
  // DOT_PRODUCT's numeric result is a scalar of any numeric type.
  EXPECT_EQ(signature_of(ir_dot_product)->type->return_type->type_code, tk_any_numerical);
  // CHARACTER(LEN=*) of any kind; ACHAR's default CHARACTER(LEN=1) result.
  type* adjustl = dummy(signature_of(ir_adjustl), 0)->type->element_type;
  EXPECT_EQ(adjustl->type_code, tk_fcharacter);
  EXPECT_EQ(adjustl->kind, any_kind);
  EXPECT_EQ(adjustl->length.kind, bk_assumed);
  EXPECT_EQ(signature_of(ir_achar)->type->return_type->element_type, default_character_type(1));
  EXPECT_EQ(dummy(signature_of(ir_len), 0)->type, assumed_character_type());
  // The operators' X and Y; assignment's X is out.
  EXPECT_TRUE(dummy(signature_of(ir_assign_op, 3), 0)->intent_out);
  EXPECT_EQ(dummy(signature_of(ir_assign_op, 3), 0)->type->element_type->type_code, tk_any_derived);
  EXPECT_EQ(dummy(signature_of(ir_lt_op, 1), 1)->corresp.name, intern_cstring("Y"));
}

TEST_F(TableTest, ActualsAgreeWithTheForms) {
  // Elemental positions take scalars and arrays; fixed ranks take arrays.
  type* sin_x = dummy(signature_of(ir_sin, 1), 0)->type;
  EXPECT_TRUE(arg_type_agree(double_precision_type(), sin_x));
  EXPECT_TRUE(arg_type_agree(vector_of(default_real_type(), 3), sin_x));
  EXPECT_FALSE(arg_type_agree(default_integer_type(), sin_x));
  type* numeric = dummy(signature_of(ir_abs), 0)->type;
  EXPECT_TRUE(arg_type_agree(default_complex_type(), numeric));
  EXPECT_FALSE(arg_type_agree(default_logical_type(), numeric));
  EXPECT_TRUE(arg_type_agree(default_character_type(3), dummy(signature_of(ir_len_trim), 0)->type));
}

TEST_F(TableTest, InquiryRows) {
  int inquiry = 0;
  for (int row = 0; row < intrinsic_rows_total; ++row) inquiry += intrinsic_is_inquiry(row);
  EXPECT_EQ(inquiry, 19);
  EXPECT_TRUE(intrinsic_is_inquiry(ir_lbound));
  EXPECT_TRUE(intrinsic_is_inquiry(ir_present));
  EXPECT_FALSE(intrinsic_is_inquiry(ir_len_trim));
}

TEST_F(TableTest, RebuiltForEveryCompilation) {
  start(true);
  EXPECT_NE(intrinsic_interface(ir_abs), nullptr);
  EXPECT_EQ(symtab.intrinsic_rows[ir_abs].table_entry, intrinsic_interface(ir_abs));
  // With case-sensitive names the table keeps its upper-case keywords.
  EXPECT_STREQ(dummy(signature_of(ir_abs), 0)->corresp.name->text, "A");
}
