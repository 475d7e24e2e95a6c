// Checks of the array reductions (ALL, ANY, COUNT, MAXVAL, MINVAL, PRODUCT,
// SUM, MAXLOC, MINLOC) and of the array construction and manipulation
// functions (CSHIFT, EOSHIFT, MATMUL, MERGE, PACK, UNPACK, RESHAPE, SPREAD,
// TRANSPOSE, TRANSFER, REPEAT, TRIM). The handlers themselves are declared
// with the others in intrinsic_check.h.
#pragma once

#include "frontend/model/il_entries.h"

// The type of a reduction of `array` along `dim` (an omitted or null DIM
// reduces along the first dimension) over the element type e: a scalar for
// a rank-1 array; an explicit shape of the remaining extents when DIM is
// known; otherwise a delete_dimension array described by references to the
// array and DIM. A constant DIM outside 1..rank reports 435 at DIM and
// counts as unknown.
type* reduced_shape(expr_node* array, expr_node* dim, type* e);

// An explicit-shape array of the given rank over e, every lower bound the
// constant 1, every upper bound undefined (for the caller to set).
type* explicit_result_array(type* e, uint32_t rank);
// Sets a bound record to an expression, or to its value when the
// expression is an INTEGER constant.
void set_bound_expr(bound_record* b, expr_node* value);

// A rank-1 default INTEGER array of constant bounds 1..n (LBOUND, UBOUND,
// SHAPE, MAXLOC, MINLOC).
type* default_integer_vector(uint32_t n);
// Gives an omitted argument (an enk_empty node) its type.
void type_omitted_arg(expr_node* arg, type* t);
// Whether two element types are one type (the same entry or equal).
bool same_element_type(type* a, type* b);
