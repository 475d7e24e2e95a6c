// Intrinsic reference checks: dispatch of a matched reference to its row's
// handler, and the operations the handlers share (common argument rules,
// common types of operands, finishing the reference node).
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"
#include "frontend/semantics/intrinsic_table.h"

// A row's handler: (reference node, context flags, context routine) -> 1 when
// accepted, else 0 with the node turned into an error node.
using intrinsic_handler = int (*)(expr_node* node, int flags, object* context);

// Every handler named by intrinsic_handlers.def.
#define INTRINSIC_HANDLER(row, handler) int handler(expr_node* node, int flags, object* context);
#include "frontend/semantics/intrinsic_handlers.def"
// The generic check: common argument rules, result from the matched
// signature's forms (also the fallback of specific rows without a check).
int check_by_table_forms(expr_node* node, int flags, object* context);

// MAX, MIN and their specific rows, with the result element type e.
int check_max_min_call(expr_node* node, type* e, int flags, object* context);

// The handlers indexed by row.
extern const intrinsic_handler intrinsic_handlers[intrinsic_rows_total];

// Runs the handler of the row of the node's routine (an intrinsic signature
// object). Called by the procedure-reference checks after argument matching.
int intrinsic_check(expr_node* node, int flags, object* context);

// The common argument rules: restricted-expression use, assumed-size arrays,
// array values in statement-function bodies. 1 when every argument passes.
int check_intrinsic_args(expr_node* node, int flags, object* context);
// The same rules for an inquiry function, whose first argument is exempt.
int check_inquiry_args(expr_node* node, int flags, object* context);

// Makes the node an enk_intrinsic reference of its row with the given type.
int set_intrinsic_call(expr_node* node, type* result);
// Finishes a type conversion: a cast of the first argument, or the argument
// itself when it already has the type.
int finish_conversion_call(expr_node* node, type* result);
// The value of a constant INTEGER expression (a KIND= argument); 0, with
// nothing reported, when it is no such constant.
int constant_int_value(expr_node* e, int32_t* value);

// The element type of a type (the type itself for a scalar).
type* intrinsic_element_type(type* t);
bool is_array_type(const type* t);
// The common type of two operand types: CHARACTER of one kind, else the
// element of higher class (LOGICAL, INTEGER, REAL, COMPLEX) and greater kind,
// in the common shape. Null when there is none.
type* common_numeric_type(type* t1, type* t2);
// The common shape of two types over the element type e, or null when two
// arrays do not agree in shape.
type* elemental_binary_type(type* t1, type* t2, type* e);
// Converts the first two arguments of the list in *args to their common
// numeric type and returns it; null (nothing reported) when there is none.
type* unify_operand_types(expr_link* args);
// Makes the first two arguments conform in shape, each keeping its element
// type; returns the common shape over e, or null after 285.
type* coerce_operands(expr_link* args, type* e);
// The first two arguments must have one type and kind and conforming shapes;
// null after 285 when they do not.
type* unify_intrinsic_args(expr_link* args);

// The argument n (0-based) of a reference, or null.
expr_node* intrinsic_arg(expr_node* node, int n);
// The slot that holds argument n, or null.
expr_link* intrinsic_arg_slot(expr_node* node, int n);
// Whether an argument is present (not an omitted optional one).
inline bool arg_present(const expr_node* arg) { return arg && arg->node_kind != enk_empty; }
// Sets for_all exactly when the type is an array type.
void set_array_valued(expr_node* node, type* t);

// Helpers of the handlers.
// Whether the context flags mark a restricted expression ((flags & 24) == 24).
inline bool intrinsic_restricted(int flags) { return (flags & 24) == 24; }
// 111 at the reference in a restricted expression; true when allowed.
bool reject_if_restricted(expr_node* node, int flags);
// The element type of an argument's type, or null for no argument.
type* arg_element_type(const expr_node* arg);
// The element type t in the shape of argument x (t itself for a scalar x).
type* elemental_shaped(type* t, expr_node* x);
// set_array_valued, then set_intrinsic_call.
int finish_intrinsic(expr_node* node, type* result);
