// Kind table, canonical types, storage sizes and the type comparisons.
#include <cfloat>
#include <tuple>

#include "tests/unit/model/model_fixture.h"

namespace {

using TypesTest = ModelTest;

TEST_F(TypesTest, DefaultTypesHaveTheirSizesAndAlignments) {
  struct Case {
    type* t;
    uint32_t size;
    uint8_t alignment;
  } cases[] = {
      {default_integer_type(), 4, 4}, {double_precision_type(), 8, 4},
      {default_real_type(), 4, 4},    {default_complex_type(), 8, 4},
      {default_logical_type(), 4, 4}, {integer_type(0), 2, 2},
      {logical_type(0), 1, 1},        {default_character_type(7), 7, 1},
      {complex_type(1), 16, 8},       {logical_type(1), 4, 4},
      {error_type(), 1, 1},           {void_type(), 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.t->size, c.size) << tk_names(c.t->type_code);
    EXPECT_EQ(c.t->alignment, c.alignment) << tk_names(c.t->type_code);
  }
  EXPECT_TRUE(default_integer_type()->is_numeric);
  EXPECT_FALSE(integer_type(0)->is_numeric);
  EXPECT_TRUE(double_precision_type()->is_numeric);
  EXPECT_TRUE(default_character_type(3)->is_character);
  EXPECT_EQ(default_integer_type()->kind, 1u);  // the row index, not the KIND value
}

TEST_F(TypesTest, KindsAreFoundByKindValue) {
  int error = -1;
  EXPECT_EQ(integer_type_for_kind(1, &error), integer_type(0));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(real_type_for_kind(2, &error), double_precision_type());
  EXPECT_EQ(integer_type_for_kind(3, &error), error_type());
  EXPECT_EQ(error, 1);
  EXPECT_EQ(character_type_for_kind(2, 4, &error), error_type());
  EXPECT_EQ(error, 1);
  EXPECT_EQ(integer_kind_huge(0), 32767u);
  EXPECT_EQ(integer_kind_huge(1), 2147483647u);
  EXPECT_EQ(real_kind_huge(0), static_cast<double>(FLT_MAX));
  EXPECT_EQ(real_kind_huge(1), DBL_MAX);
}

TEST_F(TypesTest, KindRowsReadAndWriteTargetBytes) {
  uint8_t b[8] = {};
  kind_row_of(kf_integer, 0)->set_int(-2, b);
  EXPECT_EQ(b[0], 0xFE);
  EXPECT_EQ(b[1], 0xFF);
  EXPECT_EQ(b[2], 0);  // a 2-byte kind writes two bytes
  EXPECT_EQ(kind_row_of(kf_integer, 0)->get_int(b), -2);
  kind_row_of(kf_integer, 1)->set_int(0x01020304, b);
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(b[3], 1);
  kind_row_of(kf_real, 0)->set_real(0.1, b);
  EXPECT_EQ(kind_row_of(kf_real, 0)->get_real(b), static_cast<double>(0.1f));
}

TEST_F(TypesTest, CharacterTypesAreCachedByLength) {
  type* a = default_character_type(0);
  EXPECT_EQ(a->size, 1u);
  EXPECT_EQ(a, default_character_type(0));
  EXPECT_NE(a, default_character_type(2));
  type* assumed = assumed_character_type();
  EXPECT_EQ(assumed->length.kind, bk_assumed);
  EXPECT_EQ(assumed->size, 0u);
  EXPECT_EQ(assumed, assumed_character_type());
  // The preloaded chain holds lengths 5, 10, 8 and 1.
  type* five = default_character_type(5);
  EXPECT_EQ(five->char_cache_next, default_character_type(10));
}

TEST_F(TypesTest, ArraySizesAndTheTooLargeCheck) {
  type* a = array_type(default_real_type(), 2);
  set_bounds(a, 0, 1, 10);
  set_bounds(a, 1, -1, 1);
  type_storage_size(a);
  EXPECT_EQ(a->size, 120u);
  EXPECT_EQ(a->alignment, 4);

  type* empty = array_type(default_real_type(), 1);
  set_bounds(empty, 0, 1, 0);
  type_storage_size(empty);
  EXPECT_EQ(empty->size, 4u);  // a zero-extent array has the size of one element
  EXPECT_EQ(type_is_zero_size(empty), 1);

  type* adjustable = array_type(default_real_type(), 1);
  adjustable->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  adjustable->bound_info->upper(0) = make_bound(0, bk_expression, new_expr_node(enk_object));
  type_storage_size(adjustable);
  EXPECT_EQ(adjustable->size, 0u);
  EXPECT_EQ(diag.errors, 0u);

  // 65536 x 65536 elements: the count exceeds 32 bits.
  type* count_over = array_type(default_integer_type(), 2);
  set_bounds(count_over, 0, 1, 65536);
  set_bounds(count_over, 1, 1, 65536);
  type_storage_size(count_over);
  EXPECT_EQ(diag.errors, 1u);
  EXPECT_EQ(count_over->size, 65536u);  // the count reached before the overflow

  // 2**30 INTEGERs of 4 bytes: the count fits, the byte size does not.
  type* bytes_over = array_type(default_integer_type(), 1);
  set_bounds(bytes_over, 0, 1, 1 << 30);
  type_storage_size(bytes_over);
  EXPECT_EQ(diag.errors, 2u);
  EXPECT_EQ(bytes_over->size, 1u << 30);

  // The widest extent a 32-bit bound pair allows.
  type* widest = array_type(logical_type(0), 1);
  set_bounds(widest, 0, INT32_MIN, INT32_MAX);
  type_storage_size(widest);
  EXPECT_EQ(diag.errors, 3u);
}

TEST_F(TypesTest, ElementalResultTypeIsLaidOutForItsNewElement) {
  type* shorts = array_type(integer_type(0), 1);
  set_bounds(shorts, 0, 1, 10);
  type_storage_size(shorts);
  ASSERT_EQ(shorts->size, 20u);
  type* r = elemental_result_type(shorts, double_precision_type());
  EXPECT_NE(r, shorts);
  EXPECT_EQ(r->element_type, double_precision_type());
  EXPECT_EQ(r->bound_info, shorts->bound_info);
  EXPECT_EQ(r->size, 80u);
  EXPECT_EQ(r->alignment, 4);
  EXPECT_EQ(elemental_result_type(shorts, integer_type(0)), shorts);
  EXPECT_EQ(elemental_result_type(default_real_type(), shorts), integer_type(0));
}

// A SEQUENCE derived type with the given component names and types.
type* sequence_type(const char* type_name, std::initializer_list<std::pair<const char*, type*>> fields) {
  type* t = new_type(tk_derived_type);
  t->corresp.name = intern_cstring(type_name);
  t->is_seq = true;
  pool_ref_field<object>* tail = &t->first_field;
  for (auto& [n, ft] : fields) {
    object* f = new_object();
    f->storage_class = sc_type_field;
    f->corresp.name = intern_cstring(n);
    f->type = ft;
    *tail = f;
    tail = &f->next;
  }
  return t;
}

TEST_F(TypesTest, TypeEqualityTable) {
  type* other_int = new_type(tk_integer);  // a second entry of the default kind
  type* char5 = default_character_type(5);
  type* char5b = new_type(tk_fcharacter);
  char5b->length = make_bound(5, bk_constant, nullptr);
  type* derived_a = sequence_type("T", {{"I", default_integer_type()}});
  type* derived_b = sequence_type("T", {{"I", other_int}});
  type* derived_c = sequence_type("T", {{"J", default_integer_type()}});
  type* not_seq = sequence_type("T", {{"I", default_integer_type()}});
  not_seq->is_seq = false;
  struct Case {
    type* a;
    type* b;
    int equal;
  } cases[] = {
      {default_integer_type(), other_int, 1},
      {default_real_type(), double_precision_type(), 0},
      {default_integer_type(), default_real_type(), 0},
      {char5, char5b, 1},
      {char5, default_character_type(6), 0},
      {assumed_character_type(), new_type(tk_fcharacter), 0},
      {error_type(), new_type(tk_error), 1},
      {derived_a, derived_b, 1},
      {derived_a, derived_c, 0},
      {derived_a, not_seq, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(type_equal(c.a, c.b), c.equal) << tk_names(c.a->type_code) << " " << tk_names(c.b->type_code);
}

TEST_F(TypesTest, TypesOfOneModuleAndNameAreEqualWhateverTheirComponents) {
  object* module = new_object();
  type* a = sequence_type("T", {{"I", default_integer_type()}});
  type* b = sequence_type("T", {{"X", default_real_type()}, {"Y", default_real_type()}});
  a->is_seq = b->is_seq = false;
  a->module = b->module = module;
  EXPECT_EQ(type_equal(a, b), 1);
}

TEST_F(TypesTest, MutuallyReferringSequenceTypesCompareAndTerminate) {
  // TYPE A: component P of type B; TYPE B: component Q of type A (twice).
  type* a1 = sequence_type("A", {{"P", nullptr}});
  type* b1 = sequence_type("B", {{"Q", a1}});
  a1->first_field->type = b1;
  type* a2 = sequence_type("A", {{"P", nullptr}});
  type* b2 = sequence_type("B", {{"Q", a2}});
  a2->first_field->type = b2;
  EXPECT_EQ(type_equal(a1, a2), 1);
  EXPECT_EQ(type_equal(b2, b1), 1);
  // The same cycle with a component of another name is told apart.
  type* a3 = sequence_type("A", {{"P", nullptr}});
  type* b3 = sequence_type("B", {{"R", a3}});
  a3->first_field->type = b3;
  EXPECT_EQ(type_equal(a1, a3), 0);
}

TEST_F(TypesTest, AssignabilityTable) {
  type* reals = array_type(default_real_type(), 1);
  set_bounds(reals, 0, 1, 3);
  type* ints4 = array_type(default_integer_type(), 1);
  set_bounds(ints4, 0, 1, 4);
  type* ints3 = array_type(default_integer_type(), 1);
  set_bounds(ints3, 0, 0, 2);
  type* derived = sequence_type("T", {{"I", default_integer_type()}});
  struct Case {
    type* target;
    type* source;
    int ok;
  } cases[] = {
      {default_integer_type(), default_real_type(), 1},
      {default_real_type(), default_complex_type(), 1},
      {default_complex_type(), integer_type(0), 1},
      {default_logical_type(), default_integer_type(), 0},
      {default_integer_type(), default_logical_type(), 0},
      {default_logical_type(), logical_type(0), 1},
      {default_character_type(5), default_character_type(10), 1},
      {default_character_type(5), default_integer_type(), 0},
      {default_integer_type(), error_type(), 1},
      {error_type(), default_logical_type(), 1},
      {reals, default_integer_type(), 1},
      {reals, ints3, 1},
      {reals, ints4, 0},
      {reals, default_logical_type(), 0},
      {derived, default_integer_type(), 0},
      {derived, derived, 1},
      {void_type(), void_type(), 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(type_assignable(cases[i].target, cases[i].source), cases[i].ok) << "case " << i;
}

TEST_F(TypesTest, ArgumentAgreementWithAnyKindAndShapes) {
  type* any_int = new_type(tk_integer);
  any_int->kind = any_kind;
  EXPECT_EQ(arg_type_agree(integer_type(0), any_int), 1);
  EXPECT_EQ(arg_type_agree(integer_type(1), any_int), 1);
  EXPECT_EQ(arg_type_agree(default_real_type(), double_precision_type()), 0);
  EXPECT_EQ(arg_type_agree(default_real_type(), new_type(tk_any_numerical)), 1);
  EXPECT_EQ(arg_type_agree(default_logical_type(), new_type(tk_any_numerical)), 0);

  type* assumed_shape_dummy = array_type(default_real_type(), 1);
  assumed_shape_dummy->shape_kind = assumed_shape;
  EXPECT_EQ(arg_type_agree(default_real_type(), assumed_shape_dummy), 0);
  type* actual = array_type(default_real_type(), 1);
  set_bounds(actual, 0, 1, 5);
  EXPECT_EQ(arg_type_agree(actual, assumed_shape_dummy), 1);
}

TEST_F(TypesTest, AssumedSizeArraysNeverAgreeInShape) {
  type* assumed = array_type(default_real_type(), 1);
  assumed->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  assumed->bound_info->upper(0) = make_bound(0, bk_assumed, nullptr);
  type* other = array_type(default_real_type(), 1);
  set_bounds(other, 0, 1, 5);
  EXPECT_TRUE(array_is_assumed_size(assumed));
  EXPECT_EQ(array_shape_agree(assumed, other), 0);
  EXPECT_EQ(array_shape_agree(other, default_real_type()), 1);
}

TEST_F(TypesTest, DerivedTypeComponentsAreLaidOutInOrder) {
  type* t = sequence_type("T", {{"C", default_character_type(3)},
                                {"D", double_precision_type()},
                                {"L", logical_type(0)}});
  type_storage_size(t);
  object* c = t->first_field;
  EXPECT_EQ(c->association_offset, 0);
  EXPECT_EQ(c->next->association_offset, 4);   // DOUBLE PRECISION aligned 4
  EXPECT_EQ(c->next->next->association_offset, 12);
  EXPECT_EQ(t->size, 16u);                     // 13 rounded up to 4
  EXPECT_EQ(t->alignment, 4);

  // A pointer component is a descriptor; an array one adds 12 per dimension.
  type* p = sequence_type("P", {{"A", array_type(default_real_type(), 2)}});
  p->first_field->is_pointer = true;
  type_storage_size(p);
  EXPECT_EQ(p->size, 4u + 24u);
}

TEST_F(TypesTest, ATypeThatContainsItselfGetsNoSizeInsteadOfLooping) {
  type* t = sequence_type("T", {{"SELF", nullptr}});
  t->first_field->type = t;
  type_storage_size(t);
  EXPECT_EQ(t->size, 0u);
}

}  // namespace

namespace {

TEST_F(TypesTest, SameAsLengthsAndShapesFollowTheNamedEntry) {
  object* model = new_object();
  model->type = array_type(default_character_type(4), 2);
  set_bounds(model->type, 0, 1, 3);
  set_bounds(model->type, 1, 1, 5);
  expr_node* ref = new_expr_node(enk_object);
  ref->object = model;
  expr_node* wrapped = make_ref_node(ref);

  type* same = new_type(tk_farray);
  same->shape_kind = same_shape;
  same->rank = 2;
  same->bound_args = wrapped;
  EXPECT_EQ(array_bounds(same), model->type->bound_info);
  same->shape_kind = add_dimension;
  EXPECT_EQ(array_bounds(same), nullptr);

  object* text = new_object();
  text->type = default_character_type(9);
  expr_node* text_ref = new_expr_node(enk_object);
  text_ref->object = text;
  type* len_as = new_type(tk_fcharacter);
  len_as->length = make_bound(0, bk_same_as, text_ref);
  EXPECT_EQ(char_len_record(len_as)->value, 9);
  EXPECT_EQ(char_len_record(default_character_type(2))->value, 2);
}

TEST_F(TypesTest, ParameterListsCompareFlagsNamesAndTypes) {
  auto routine = [](std::initializer_list<std::tuple<const char*, type*, bool>> params) {
    type* r = routine_type(nullptr, void_type());
    r->has_param_info = true;
    pool_ref_field<param_type>* tail = &r->param_type_list;
    for (auto& [n, t, optional] : params) {
      param_type* p = new_param_type();
      p->corresp.name = intern_cstring(n);
      p->type = t;
      p->is_optional = optional;
      *tail = p;
      tail = &p->next;
    }
    return r;
  };
  type* a = routine({{"X", default_real_type(), false}, {"N", default_integer_type(), true}});
  type* b = routine({{"X", default_real_type(), false}, {"N", default_integer_type(), true}});
  type* renamed = routine({{"Y", default_real_type(), false}, {"N", default_integer_type(), true}});
  type* shorter = routine({{"X", default_real_type(), false}});
  type* required = routine({{"X", default_real_type(), false}, {"N", default_integer_type(), false}});
  EXPECT_EQ(param_lists_equal(a, b), 1);
  EXPECT_EQ(type_equal(a, b), 1);
  EXPECT_EQ(param_lists_equal(a, renamed), 0);
  EXPECT_EQ(param_lists_compatible(a, renamed), 1);  // names do not count
  EXPECT_EQ(param_lists_equal(a, shorter), 0);
  EXPECT_EQ(param_lists_compatible(a, shorter), 0);
  EXPECT_EQ(param_lists_equal(a, required), 0);
  // Without scopes the optional flags are not compared.
  EXPECT_EQ(param_lists_compatible(a, required), 1);
  // With a body on one side the flags must not be below (first argument)
  // or above (second argument) those of the other side.
  object* with_body = new_object();
  with_body->assoc_scope = new_scope_entry();
  required->assoc_routine = with_body;
  EXPECT_EQ(param_lists_compatible(required, a), 0);
  EXPECT_EQ(param_lists_compatible(a, required), 0);
  required->assoc_routine = nullptr;
  a->assoc_routine = with_body;
  EXPECT_EQ(param_lists_compatible(a, required), 1);  // a's optional is not below
  EXPECT_EQ(param_lists_compatible(required, a), 1);  // required's is not above a's
}

TEST_F(TypesTest, StorageAssociationAgreement) {
  EXPECT_EQ(storage_types_agree(default_integer_type(), default_real_type()), 1);
  EXPECT_EQ(storage_types_agree(default_character_type(2), default_character_type(8)), 1);
  EXPECT_EQ(storage_types_agree(default_character_type(2), default_integer_type()), 0);
  type* shorts = array_type(integer_type(0), 1);
  EXPECT_EQ(storage_types_agree(shorts, integer_type(0)), 1);
  EXPECT_EQ(storage_types_agree(shorts, default_integer_type()), 0);
}

}  // namespace

namespace {

TEST_F(TypesTest, ArgumentAgreementByDummyCode) {
  type* derived = new_type(tk_derived_type);
  type* other_derived = new_type(tk_derived_type);
  type* unspec_fn = routine_type(nullptr, unspec_routine_type());
  type* real_fn = routine_type(nullptr, default_real_type());
  type* int_fn = routine_type(nullptr, default_integer_type());
  type* any_char = new_type(tk_fcharacter);
  any_char->kind = any_kind;
  struct Case {
    type* actual;
    type* dummy;
    int agree;
  } cases[] = {
      {void_type(), void_type(), 1},
      {default_integer_type(), void_type(), 0},
      {default_integer_type(), integer_type(0), 0},
      {default_real_type(), default_complex_type(), 0},
      {real_fn, unspec_fn, 1},
      {unspec_fn, int_fn, 1},
      {real_fn, int_fn, 0},
      {default_real_type(), real_fn, 0},
      {default_character_type(3), any_char, 1},
      {default_character_type(3), assumed_character_type(), 1},
      {default_integer_type(), any_char, 0},
      {stmt_label_type(), stmt_label_type(), 1},
      {default_integer_type(), stmt_label_type(), 0},
      {derived, derived, 0},
      {derived, other_derived, 0},
      {default_logical_type(), error_type(), 1},
      {default_logical_type(), new_type(tk_any_type), 1},
      {derived, new_type(tk_any_derived), 1},
      {default_integer_type(), new_type(tk_any_derived), 0},
      {default_complex_type(), new_type(tk_any_numerical), 1},
      {default_integer_type(), unknown_type(), 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(arg_type_agree(cases[i].actual, cases[i].dummy), cases[i].agree) << "case " << i;
}

}  // namespace
