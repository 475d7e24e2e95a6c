// Designators with constant subscripts: elements, substrings and sections of
// constant values inside the evaluator, the storage offset of an EQUIVALENCE
// item, and the expansion of a DATA object list into its destinations.
#pragma once
#include <cstdint>

#include "frontend/model/il_entries.h"

struct const_value;

// Inside evaluate_constant_expression: 1 with the value (the error constant
// after a reported failure), 0 when not constant.
int evaluate_subscript(expr_node* node, const_value* result);
int evaluate_substring(expr_node* node, const_value* result);
int evaluate_section(expr_node* node, const_value* result);

// The object and byte offset an EQUIVALENCE item designates; 1 on success,
// 0 on failure (object and offset then 0). Messages go to pos.
int designator_storage_offset(expr_node* node, source_pos_record pos, object** out_object,
                              int32_t* out_offset);

// Called per DATA destination: (object, byte offset within its storage,
// destination type, covered type); a positive result goes on.
using data_target_callback = int (*)(object* obj, int32_t offset, type* destination,
                                     type* covered);
// Hands every destination of a DATA object list (linked through next) to the
// callback in order; 1 when all were handed over and accepted, 0 at the
// first failure.
int data_for_each_target(expr_node* list, data_target_callback callback);

// The restricted-expression test of DATA subscripts, substring positions and
// implied-DO parameters: 1, or 0 after message 389.
int data_subscript_is_constant(expr_node* e);
