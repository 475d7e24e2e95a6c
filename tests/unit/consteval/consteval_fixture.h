// A clean compilation state for the constant-evaluation tests, and builders
// of checked IL expressions: constants, typed operations, intrinsic
// references, named constant arrays and designators.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/base/pools.h"
#include "frontend/model/il_entries.h"
#include "frontend/model/names.h"
#include "frontend/driver/preload.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"

class ConstEvalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pools_reset();
    diagnostics_reset();
    the_il_header = il_header{};
    init_il_tables();
    symtab_reset();
    the_il_header.primary_scope = scope_push(sk_file);
    // Sequence number n is line n of "t.f90", so that messages show lines.
    the_il_header.primary_source_file = new_source_file(nullptr, 1, 1, "t.f90", "t.f90");
    const_eval_reset();
    ::testing::internal::CaptureStderr();
  }
  void TearDown() override { ::testing::internal::GetCapturedStderr(); }

  // Everything printed on stderr since the last call.
  static std::string messages() {
    std::string out = ::testing::internal::GetCapturedStderr();
    ::testing::internal::CaptureStderr();
    return out;
  }

  static type* i4() { return default_integer_type(); }
  static type* i2() { return integer_type(0); }
  static type* r4() { return default_real_type(); }
  static type* r8() { return double_precision_type(); }
  static type* z4() { return default_complex_type(); }
  static type* l4() { return default_logical_type(); }
  static type* ch(uint32_t n) { return default_character_type(n); }

  static source_pos_record pos(uint32_t line) { return source_pos_record{line, 1}; }

  // ---- Constants ----
  static expr_node* node_of(const_value* v) { return const_il_node(v); }
  static expr_node* num(int32_t x, type* t = nullptr) {
    const_value v;
    const_init_sized(&v, 4);
    v.c.type = t ? t : i4();
    const_set_int(&v, x);
    return node_of(&v);
  }
  static expr_node* real(double x, type* t = nullptr) {
    const_value v;
    const_init_sized(&v, 8);
    v.c.type = t ? t : r4();
    const_set_real(&v, x);
    return node_of(&v);
  }
  static expr_node* cplx(double re, double im) {
    const_value v;
    const_init_sized(&v, 16);
    v.c.type = z4();
    const_set_real(&v, re, 0);
    const_set_real(&v, im, 1);
    return node_of(&v);
  }
  static expr_node* text(const char* s) {
    uint32_t n = static_cast<uint32_t>(std::strlen(s));
    const_value v;
    uint8_t* bytes = const_init_sized(&v, n);
    std::memcpy(bytes, s, n);
    v.c.type = ch(n);
    return node_of(&v);
  }
  static expr_node* empty() { return new_expr_node(enk_empty); }
  static expr_node* at(expr_node* n, uint32_t line) {
    n->source_pos = pos(line);
    return n;
  }

  // ---- Operations ----
  static expr_node* chain(std::initializer_list<expr_node*> items) {
    expr_node* head = nullptr;
    expr_node* tail = nullptr;
    for (expr_node* e : items) {
      e->next = nullptr;
      if (tail) tail->next = e; else head = e;
      tail = e;
    }
    return head;
  }
  static expr_node* op(int eok, type* t, expr_node* a, expr_node* b = nullptr) {
    return new_operation_node(eok, t, b ? chain({a, b}) : chain({a}));
  }
  static expr_node* call(int row, type* t, std::initializer_list<expr_node*> args) {
    expr_node* n = new_expr_node(enk_intrinsic);
    n->intrinsic = static_cast<uint8_t>(row);
    n->type = t;
    n->operands = chain(args);
    return n;
  }

  // ---- Arrays ----
  // An array type of element with bounds lo(i)..hi(i).
  static type* array_of(type* element, std::initializer_list<std::pair<int32_t, int32_t>> dims) {
    type* t = new_type(tk_farray);
    t->element_type = element;
    t->rank = static_cast<uint8_t>(dims.size());
    t->shape_kind = explicit_shape;
    t->bound_info = new_bounds_array(t->rank);
    uint32_t d = 0;
    for (auto [lo, hi] : dims) {
      t->bound_info->lower(d) = make_bound(lo, bk_constant, nullptr);
      t->bound_info->upper(d) = make_bound(hi, bk_constant, nullptr);
      ++d;
    }
    type_storage_size(t);
    return t;
  }
  // An INTEGER array value of type t holding values.
  static constant* int_aggregate(type* t, std::initializer_list<int32_t> values) {
    const_value agg;
    const_init(&agg);
    aggregate_start(&agg, t);
    for (int32_t x : values) {
      const_value e;
      const_init_sized(&e, 4);
      e.c.type = element_type_of_test(t);
      const_set_int(&e, x);
      aggregate_append(&agg, &e);
    }
    return new_il_constant(&agg);
  }
  static type* element_type_of_test(type* t) { return t->type_code == tk_farray ? t->element_type : t; }
  // A named constant of type t with the given value.
  static object* named_constant(const char* name, type* t, constant* value) {
    object* o = new_object();
    o->corresp.name = intern_cstring(name);
    o->type = t;
    o->is_constant = true;
    o->initializer = value;
    return o;
  }
  // A variable of type t.
  static object* variable(const char* name, type* t, int sc = sc_local) {
    object* o = new_object();
    o->corresp.name = intern_cstring(name);
    o->type = t;
    o->storage_class = static_cast<uint32_t>(sc);
    return o;
  }
  static expr_node* ref(object* o) {
    expr_node* n = new_expr_node(enk_object);
    n->object = o;
    n->type = o->type;
    return n;
  }
  static expr_node* subscript(expr_node* base, type* t, std::initializer_list<expr_node*> subs) {
    expr_node* n = new_expr_node(enk_subscript);
    n->array_expr = base;
    n->ind_list = chain(subs);
    n->type = t;
    return n;
  }
  static expr_node* section(expr_node* base, type* t, std::initializer_list<expr_node*> subs) {
    expr_node* n = subscript(base, t, subs);
    n->node_kind = enk_section;
    return n;
  }
  static expr_node* triplet(expr_node* first, expr_node* second, expr_node* stride = nullptr) {
    expr_node* n = new_expr_node(enk_triplet);
    n->first = first;
    n->second = second;
    n->stride = stride;
    return n;
  }
  static expr_node* substring(expr_node* base, type* t, expr_node* first, expr_node* second) {
    expr_node* n = new_expr_node(enk_substring);
    n->array_expr = base;
    n->ind_list = triplet(first, second);
    n->type = t;
    return n;
  }
  static expr_node* constructor(type* t, std::initializer_list<expr_node*> items) {
    expr_node* n = new_expr_node(enk_constructor);
    n->constructor = chain(items);
    n->type = t;
    return n;
  }
  // An implied DO (kind enk_implied_do or enk_isum) over var.
  static expr_node* implied_do(int enk, object* var, expr_node* body, expr_node* start,
                               expr_node* limit, expr_node* stride = nullptr) {
    expr_node* n = new_expr_node(enk);
    n->expr_list = body;
    n->do_info = new_do_loop();
    n->do_info->variable = ref(var);
    n->do_info->initial_value = start;
    n->do_info->final_value = limit;
    n->do_info->increment = stride;
    n->type = i4();
    return n;
  }

  // ---- Evaluation ----
  struct Eval {
    int status;       // evaluate_constant_expression's result
    const_value v;    // the record
  };
  static Eval eval(expr_node* n, int strict = 0) {
    Eval e{};
    e.status = evaluate_constant_expression(n, &e.v, strict);
    return e;
  }
  static int32_t int_of(expr_node* n) {
    Eval e = eval(n);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.v.c.kind, ck_value);
    return const_int(&e.v);
  }
  static double real_of(expr_node* n, int part = 0) {
    Eval e = eval(n);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.v.c.kind, ck_value);
    return const_real(&e.v, part);
  }
  static std::string text_of(const const_value& v) {
    uint32_t n = char_length_of(v.c.type);
    return std::string(reinterpret_cast<const char*>(const_chars(&v)), n);
  }
  static std::string text_of(expr_node* n) {
    Eval e = eval(n);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.v.c.kind, ck_value);
    return text_of(e.v);
  }
  // The INTEGER elements of an array value.
  static std::vector<int32_t> ints_of(const const_value& v) {
    std::vector<int32_t> out;
    ElementWalk walk(&v);
    const_value e;
    while (walk.next(&e)) out.push_back(const_int(&e));
    return out;
  }
  static std::vector<int32_t> ints_of(expr_node* n) {
    Eval e = eval(n);
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.v.c.kind, ck_aggregate);
    return ints_of(e.v);
  }
};
