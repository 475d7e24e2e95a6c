// Evaluation of constant expressions in the target arithmetic: the walk over
// a checked IL expression, the folding of the intrinsic operators, and the
// value-record helpers that the intrinsic folders and the constant
// designators share.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

struct const_value;

// Evaluates a constant expression into result. 1 when result holds the value
// (an error constant means the failure was already reported), 0 when the
// expression is not constant and strict is 0; with strict 1 a non-constant
// expression is reported ("must be an initialization expression"), the node
// becomes an error node and 1 is returned with the error constant.
int evaluate_constant_expression(expr_node* node, const_value* result, int strict);

// Folds one intrinsic operation on scalar operands in host form into result
// (ck_value of result_type, at result's position as set by the caller).
// 1 on success; 0 when the operation is not constant (an arithmetic message
// was reported at the position, or the operator is not folded).
int fold_unary_operation(int op, const const_value* operand, type* result_type,
                         const_value* result);
int fold_binary_operation(int op, const const_value* left, const const_value* right,
                          type* result_type, const_value* result);

// ---- Value records ----

// The most elements (or characters) a folded value may have, and the most
// iterations an implied DO may run while folding: beyond them a value is
// treated as not constant rather than exhausting memory or time.
inline constexpr uint32_t max_constant_elements = 1u << 24;
// The most elements an array constructor is expanded to where folding it is
// optional (an expression that need not be constant): a larger one stays an
// expression.
inline constexpr uint32_t max_optional_fold_elements = 1u << 12;

// The evaluator's state: the values of running implied-sum DO variables.
struct ConstEvalState {
  static constexpr int max_isum_depth = 64;  // nesting of implied sums
  object* isum_var[max_isum_depth];   // DO variable of each running sum
  int32_t isum_value[max_isum_depth]; // its current value
  int isum_depth;                     // running sums
  bool optional_fold;  // the value is folded by choice, not required
};
extern ConstEvalState const_eval;
void const_eval_reset();
// The most elements an array constructor may be folded to now.
uint32_t constructor_element_limit();

// result := the empty aggregate of type t (position kept).
void aggregate_start(const_value* result, type* t);
// Appends a copy of a host-form value to the element chain of an aggregate.
void aggregate_append(const_value* aggregate, const_value* element);
// The value entries of an element chain (position and index entries skipped,
// a repeat entry counted with its count).
uint32_t aggregate_count(const constant* first);
// The element at index (from 0) of an element chain, or null.
const constant* aggregate_element(const constant* first, uint32_t index);
// The elements of an array value in host form, one by one.
struct ElementWalk {
  const constant* entry;   // next entry of the chain
  const constant* repeat;  // value of a running DATA repeat
  uint32_t repeat_left;    // copies of it still to come
  explicit ElementWalk(const const_value* v);
  bool next(const_value* out);  // false at the end
};
// Whether a value record holds an array value.
bool value_is_array(const const_value* v);
// The constant character length of a CHARACTER type (0 when not constant).
uint32_t char_length_of(type* t);
// A CHARACTER value of the type's kind and the given length, holding text.
void make_char_value(const_value* result, type* char_kind_type, const uint8_t* text,
                     uint32_t length);
// For an array type whose shape is given by reference: a copy with explicit
// bounds (from the reference, else 1..count for rank 1); else t itself.
type* explicit_shape_copy(type* t, uint32_t count);
// A new rank-n array of element with constant bounds 1..extent(i), sized.
type* constant_array_type(type* element, uint32_t rank, const int32_t* extents);
// The element count of an array type with constant bounds; false when some
// bound is not constant.
bool array_element_count(type* t, uint32_t* count);
// The constant value of a bound record (an expression bound evaluated);
// false when it has none.
bool bound_value(const bound_record& b, int32_t* value);

// ---- DO variables during evaluation ----

// An implied-DO variable linked to a temporary symbol that holds its value.
struct DoVarBinding {
  object* var;            // the DO variable's object
  symbol_entry* saved;    // its symbol before the binding
  symbol_entry* temp;     // the temporary (class 16) symbol
};
void bind_do_variable(DoVarBinding* b, object* var);
void set_do_value(DoVarBinding* b, int32_t value);
void unbind_do_variable(DoVarBinding* b);
// A temporary symbol of class 16 that holds a DO value in its value word.
symbol_entry* new_do_value_symbol(int32_t value);
// Whether a symbol is such a temporary, and its value.
bool is_do_value_symbol(const symbol_entry* s);

// An operand of an elementwise operation or elemental intrinsic: a scalar
// spread over an array type is given as the scalar (converted to the element
// type), which the folding pairs with every element of the array operands.
// 0 when not constant; *empty set when an operand was the error constant.
int evaluate_elementwise_operand(expr_node* e, const_value* v, bool* empty);
