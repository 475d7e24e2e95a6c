// Statement-function result assignment operators by result type.
#include <gtest/gtest.h>

#include "frontend/model/types.h"
#include "frontend/parser/type_specifiers.h"
#include "tests/unit/model/model_fixture.h"

namespace {

class TypeSpecifiersTest : public ModelTest {};

TEST_F(TypeSpecifiersTest, AssignmentOperatorFollowsTheResultType) {
  struct row { type* t; int op; };
  const row rows[] = {
      {default_integer_type(), eok_iassign},
      {default_logical_type(), eok_iassign},
      {default_real_type(), eok_fassign},
      {double_precision_type(), eok_fassign},
      {default_complex_type(), eok_xassign},
      {default_character_type(4), eok_cassign},
      {new_type(tk_derived_type), eok_sassign},
      {error_type(), 0},
      {unknown_type(), 0},
      {nullptr, 0},
  };
  for (const row& r : rows) EXPECT_EQ(assign_operator_for_type(r.t), r.op);
}

}  // namespace
