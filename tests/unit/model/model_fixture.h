// A clean compilation state for the program-model tests: pools, counters, the
// IL tables, the preloaded symbols and the file scope.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frontend/base/diagnostics.h"
#include "frontend/base/pools.h"
#include "frontend/model/il_entries.h"
#include "frontend/model/names.h"
#include "frontend/driver/preload.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override { start(false); }

  // Starts a compilation, with or without case-sensitive names.
  static void start(bool case_sensitive) {
    pools_reset();
    diagnostics_reset();
    the_il_header = il_header{};
    init_il_tables();
    names.case_sensitive_identifiers = case_sensitive;
    symtab_reset();
    the_il_header.primary_scope = scope_push(sk_file);
  }

  static atom* name(const char* text) { return intern_cstring(text); }

  // A ck_value constant of an INTEGER, LOGICAL or CHARACTER type.
  static constant* int_constant(type* t, int32_t v) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = t;
    c->value = static_cast<uint8_t*>(pool_alloc_zeroed(t->size));
    const kind_row* row = kind_row_of(t->type_code == tk_logical ? kf_logical : kf_integer, t->kind);
    row->set_int(v, c->value);
    return c;
  }
  static constant* real_constant(type* t, double v) {
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = t;
    c->value = static_cast<uint8_t*>(pool_alloc_zeroed(t->size));
    kind_row_of(kf_real, t->kind)->set_real(v, c->value);
    return c;
  }
  static constant* char_constant(const char* text) {
    uint32_t n = static_cast<uint32_t>(std::strlen(text));
    constant* c = new_constant();
    init_constant(c, ck_value);
    c->type = default_character_type(n);
    c->value = static_cast<uint8_t*>(pool_alloc_zeroed(n ? n : 1));
    std::memcpy(c->value, text, n);
    return c;
  }
  static expr_node* const_node(constant* c) {
    expr_node* n = new_expr_node(enk_constant);
    n->constant = c;
    n->type = c->type;
    return n;
  }
  // Sets constant bounds lo..hi for dimension d of an explicit-shape array.
  static void set_bounds(type* t, uint32_t d, int32_t lo, int32_t hi) {
    t->bound_info->lower(d) = make_bound(lo, bk_constant, nullptr);
    t->bound_info->upper(d) = make_bound(hi, bk_constant, nullptr);
  }
};
