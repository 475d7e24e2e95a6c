// A clean compilation state for the intrinsic-table and intrinsic-check
// tests, with builders of typed operand nodes and of references to a row's
// signature, and the diagnostics printed meanwhile.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "frontend/semantics/intrinsic_check.h"
#include "frontend/semantics/intrinsic_table.h"
#include "tests/unit/declsvc/decl_fixture.h"

class IntrinsicsTest : public DeclTest {
 public:
  // An enk_object node of a new local variable of type t at line `line`.
  static expr_node* var(type* t, uint32_t line = 5, const char* name = "V") {
    object* o = new_object();
    o->storage_class = sc_local;
    o->type = t;
    o->corresp.name = intern_cstring(name);
    o->corresp.scope_depth = 1;
    expr_node* n = new_expr_node(enk_object);
    n->object = o;
    n->type = t;
    n->source_pos = source_pos_record{line, 3};
    return n;
  }
  static expr_node* int_const(int32_t v, uint32_t line = 5) {
    expr_node* n = const_node(int_constant(default_integer_type(), v));
    n->source_pos = source_pos_record{line, 9};
    return n;
  }
  // A rank-1 array type of constant bounds 1..n over the element.
  static type* vector_of(type* element, int32_t n) {
    type* t = array_type(element, 1);
    set_bounds(t, 0, 1, n);
    return t;
  }
  // The signature object that is the k-th (0-based) signature of a row.
  static object* signature_of(int row, int k = 0) {
    object_list_member* m = intrinsic_interface(row)->routine_prototype_list;
    for (; m && k > 0; --k) m = m->next;
    return m ? m->object : nullptr;
  }
  // A matched reference: an enk_call of a signature over the arguments.
  static expr_node* call(int row, int k, std::initializer_list<expr_node*> args) {
    expr_node* n = new_expr_node(enk_call);
    n->routine = signature_of(row, k);
    n->type = n->routine->type->return_type;
    n->source_pos = source_pos_record{5, 1};
    expr_link* tail = &n->operands;
    for (expr_node* a : args) {
      *tail = a;
      tail = &a->next;
    }
    return n;
  }
};
