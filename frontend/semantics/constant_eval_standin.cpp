// STAND-IN for the constant evaluator until the target arithmetic is built:
// folds INTEGER literals combined with unary and binary + - * / ** in 32-bit
// two's complement, enough for kind selectors and simple bounds. Anything
// else counts as not constant.
#include <cstdint>
#include <cstring>

#include "frontend/driver/diagnostics.h"
#include "frontend/driver/literal_constants.h"
#include "frontend/model/types.h"
#include "frontend/semantics/constant_eval.h"
#include "frontend/semantics/expr_check.h"

namespace {

enum fold_status { fold_ok, fold_not_constant, fold_reported };

uint32_t wrap(int64_t v) { return static_cast<uint32_t>(v); }

int32_t as_int32(uint32_t v) {
  int32_t r;
  std::memcpy(&r, &v, sizeof r);
  return r;
}

// The integer power in 32-bit arithmetic (wrapping); negative exponents
// follow integer division (1/b**n).
fold_status int_power(int32_t base, int32_t exponent, source_pos_record pos, int32_t* out) {
  if (exponent < 0) {
    if (base == 0) {
      error_at(481, pos);
      return fold_reported;
    }
    *out = base == 1 ? 1 : base == -1 ? ((exponent & 1) ? -1 : 1) : 0;
    return fold_ok;
  }
  uint32_t result = 1;
  uint32_t b = static_cast<uint32_t>(base);
  for (int32_t e = exponent; e > 0; e >>= 1) {
    if (e & 1) result *= b;
    b *= b;
  }
  *out = as_int32(result);
  return fold_ok;
}

const char* operator_name(const expr_node* n) {
  return n->symbol && n->symbol->name ? n->symbol->name->text : "";
}

fold_status fold(expr_node* n, int32_t* out) {
  if (!n) return fold_not_constant;
  switch (n->node_kind) {
    case enk_constant: {
      constant* c = n->constant;
      if (!c || c->kind != ck_value || !c->type || c->type->type_code != tk_integer)
        return fold_not_constant;
      const_value v;
      const_to_host_form(c, &v);
      *out = const_int(&v);
      return fold_ok;
    }
    case enk_error:
      return fold_reported;
    case enk_apply: {
      const char* op = operator_name(n);
      expr_node* a = n->operands;
      if (!a) return fold_not_constant;
      expr_node* b = a->next;
      int32_t x = 0, y = 0;
      fold_status s = fold(a, &x);
      if (s != fold_ok) return s;
      if (!b) {
        if (std::strcmp(op, "-") == 0) {
          *out = as_int32(wrap(0) - static_cast<uint32_t>(x));
          return fold_ok;
        }
        if (std::strcmp(op, "+") == 0) {
          *out = x;
          return fold_ok;
        }
        return fold_not_constant;
      }
      s = fold(b, &y);
      if (s != fold_ok) return s;
      uint32_t ux = static_cast<uint32_t>(x), uy = static_cast<uint32_t>(y);
      if (std::strcmp(op, "+") == 0) {
        *out = as_int32(ux + uy);
      } else if (std::strcmp(op, "-") == 0) {
        *out = as_int32(ux - uy);
      } else if (std::strcmp(op, "*") == 0) {
        *out = as_int32(ux * uy);
      } else if (std::strcmp(op, "/") == 0) {
        if (y == 0) {
          error_at(169, n->source_pos);
          return fold_reported;
        }
        *out = (x == INT32_MIN && y == -1) ? INT32_MIN : x / y;
      } else if (std::strcmp(op, "**") == 0) {
        return int_power(x, y, n->source_pos, out);
      } else {
        return fold_not_constant;
      }
      return fold_ok;
    }
    default:
      return fold_not_constant;
  }
}

}  // namespace

int evaluate_constant_expression(expr_node* node, const_value* result, int strict) {
  int32_t value = 0;
  fold_status s = fold(node, &value);
  if (s == fold_ok) {
    const_init_sized(result, 4);
    result->c.type = default_integer_type();
    result->c.source_pos = node->source_pos;
    const_set_int(result, value);
    return 1;
  }
  if (s == fold_reported) {
    const_init(result);
    return 1;
  }
  if (!strict) return 0;
  error_at(85, node->source_pos);
  expr_set_error(node);
  const_init(result);
  return 1;
}
