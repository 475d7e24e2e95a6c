// The expression checker: gives every node of a parsed expression its final
// node kind and type, applies the rules of the context it stands in and folds
// constant subexpressions. Statement checks, declarations, DATA and constant
// entries call it; procedure references go on in procedure_refs.h.
#pragma once

#include <cstdint>

#include "frontend/model/il_entries.h"

// Context flags of check_expr (a bit set).
enum : int {
  ctx_variable = 2,        // a variable (designator) is required
  ctx_constant = 4,        // a constant is required
  ctx_spec = 8,            // specification-expression rules
  ctx_restricted_bit = 16, // with ctx_spec: restricted expression
  ctx_integer_bit = 32,    // with 24: the result must be integer
  ctx_data_bit = 64,       // with ctx_variable: an implied-DO counts as a variable
  ctx_stmt_func = 128,     // body of a statement function
  ctx_actual_arg = 0x100,  // an actual argument: assumed-size arrays allowed
};
inline constexpr int ctx_restricted = ctx_spec | ctx_restricted_bit;              // 24
inline constexpr int ctx_const_entry = ctx_restricted | ctx_constant;             // 28
inline constexpr int ctx_int_spec = ctx_restricted | ctx_integer_bit;             // 56
inline constexpr int ctx_data_objects = ctx_variable | ctx_data_bit;              // 66
inline bool ctx_is_restricted(int context) { return (context & ctx_restricted) == ctx_restricted; }

// Checks an expression tree in a context for the routine of the unit it stands
// in (null for DATA and constant entries). 1 when it failed (the node is then
// an enk_error node unless only the evaluation required by bit 4 failed); on
// success the context itself, which is never 1. A null node succeeds.
int check_expr(expr_node* node, int context, object* unit);
// check_expr's result read as success.
inline bool check_ok(int result) { return result != 1; }

// Turns the node into an enk_error node of the error type; returns 0, so that
// callers can return it as their failure.
int expr_set_error(expr_node* node);

// 1 when the constant entry is valid.
int check_constant_entry(constant* c);
// 1 when the type is valid: its expressions checked and its size computed.
int check_type_entry(type* t, object* unit);
// A unit's copy of a module's derived type, made by USE (not the module's
// own type): its components were checked in the module.
bool derived_type_copied_by_use(const type* t);
// Reports when the node is not a definable variable; 1 when it is.
int check_definable(expr_node* node);
// Converts the value in the slot to the destination type (385 when it cannot
// be assigned); 1 on success.
int check_assignment(type* destination, expr_link* value_slot);
// Converts the node in the slot to the target type.
void type_unify(expr_link* slot, type* target);
// 1 when the target may be associated with a pointer of that type.
int check_pointer_target(type* pointer_type, expr_node* target);
// 1 when the loop control of an implied-DO or DO is valid.
int check_implied_do_control(do_loop* d, int context, object* unit);
// -1, 0 or 1: the order of two CHARACTER constants (the shorter blank-padded).
int const_char_compare(constant* a, constant* b);
// 1 when every bound expression checks as an integer specification
// expression; bounds that evaluate to constants are replaced.
int check_bound_exprs(bound_info_entry* b, uint32_t rank, object* unit);
// The bounds block of an array type (a section type gets one computed from
// its section).
bound_info_entry* section_bounds_block(type* array);
// The bounds block of an array type for folding: a section type gets one
// with constant bounds when every triplet's extent is constant, else none;
// nothing is added to the section.
bound_info_entry* constant_bounds_block(type* array);
// Reports 30 for a section with a vector subscript; 1 when there is none.
int check_no_vector_subscript(expr_node* node);
// 0 when n < 1 or the (element) type's constant length is below n; else 1.
int char_len_compare(type* t, int32_t n);
// 0 when the first length is constant and n is below it; else 1 when the
// second length is not constant or n does not exceed it.
int char_len_fits(const bound_record* first, const bound_record* second, int32_t n);
// Marks the items of an array constructor or I/O list read, through nested
// implied-DOs.
void mark_constructor_items_read(expr_node* items);
// A private copy of a type entry for one expression: unnumbered, on no
// list, out of the CHARACTER cache.
type* private_type_copy(const type* t);
// The type of a checked node's element (the node's type for scalars).
type* element_type_of(type* t);
