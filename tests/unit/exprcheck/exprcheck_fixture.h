// A parser state with the file scope and one unit level open, in which
// expressions are parsed from text and handed to the expression checker;
// variables can be declared with any type beforehand.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "frontend/driver/driver.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/types.h"
#include "frontend/semantics/expr_check.h"
#include "frontend/semantics/procedure_refs.h"
#include "tests/unit/parser/parser_fixture.h"

class ExprCheckTest : public ParserTest {
 protected:
  void SetUp() override {
    ParserTest::SetUp();
    procedure_refs_reset();
  }
  // A variable of the current unit with the given type.
  static object* declare(const char* text, type* t) {
    ::atom* a = intern_cstring(text);
    source_pos_record pos{1, 1};
    symbol_entry* s = lookup_name(a, pos);
    name_pos_record np{a, pos};
    s = symbol_as_variable(s, &np);
    s->flags |= symf_type_explicit;
    auto* o = static_cast<object*>(s->entity.get());
    o->type = t;
    return o;
  }
  // A rank-1 array type of constant bounds lo..hi.
  static type* vector_of(type* element, int32_t lo, int32_t hi) {
    type* t = array_type(element, 1);
    t->bound_info->lower(0) = make_bound(lo, bk_constant, nullptr);
    t->bound_info->upper(0) = make_bound(hi, bk_constant, nullptr);
    t->shape_kind = explicit_shape;
    return t;
  }
  // Parses and checks an expression; the checker's result goes to *result.
  static expr_node* checked(const std::string& text, int context = 0, int* result = nullptr) {
    expr_node* e = expression(text);
    int r = check_expr(e, context, nullptr);
    if (result) *result = r;
    return e;
  }
  static int32_t int_value(const expr_node* n) {
    const_value v;
    const_to_host_form(n->constant, &v);
    return const_int(&v);
  }
};
