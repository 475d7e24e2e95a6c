// Procedure references: generic resolution, argument association and the
// checks of each actual argument, result types of references, host
// association, program-wide external objects, array-constructor counts and
// the small IL builders that shape and intrinsic code use.
#pragma once

#include <cstdint>

#include "frontend/model/il_entries.h"

// Results of check_actual_args.
enum : int {
  args_associated = 0,
  args_incompatible = 1,   // the offending actual is given out
  args_too_few = 2,
  args_too_many = 3,       // out: the first extra actual
  args_keyword_missing = 4,
  args_improper_keywords = 5,
};
inline constexpr int args_trial = 1;
inline constexpr int args_final = 0;

// An element count: class 1 a constant value, class 2 an integer expression.
struct element_count {
  int32_t value;     // class 1
  expr_node* expr;   // class 2
  int cls;           // 1 or 2; 0 after a failure
};

// Clears the state of argument association and of the host-use walk.
void procedure_refs_reset();

// check_expr's cases for enk_generic_call and enk_call nodes; 1 on success.
int check_generic_call(expr_node* node, int context, object* unit);
int check_specific_call(expr_node* node, int context, object* unit);
// Associates the actual list in *slot with the routine type's dummies.
int check_actual_args(type* routine, expr_link* slot, expr_link* offending, int mode,
                      object* unit);
int actual_agrees_with_dummy(expr_node* actual, param_type* dummy, bool trial);
void check_proc_actual(bool is_subroutine, bool elemental, expr_node* actual, param_type* dummy);
// 40 when the object is a unit or procedure that must not be an actual
// argument (a module, program, BLOCK DATA, statement function or internal
// procedure); true after the report.
bool report_unit_as_actual(const object* o, source_pos_record pos);
// pos null: trial use, nothing is reported.
int check_arg_characteristics(type* actual, type* dummy, const source_pos_record* pos);
type* result_type_for_call(type* result, object* procedure, expr_node* actuals, object* unit);
type* subst_dummy_refs_decl(type* result, object* procedure);
element_count constructor_element_count(expr_node* node, object* unit);
void note_host_use(object* o, object* unit);
object* global_external_object(object* o);
// note_host_use for the objects met in a type (bounds, lengths, component
// types) and in a constant's expressions.
void note_host_use_in_type(type* t, object* unit);
void note_host_use_in_constant(constant* c, object* unit);
// Marks a NAMELIST group of the host referenced from an internal procedure.
void host_of_reference(namelist_group* g, object* unit);
int intrinsic_type_agrees(type* t, object* specific);
int intrinsic_generic_type_agrees(type* t, interface* generic);

// IL builders; every node is of default INTEGER type unless said otherwise.
expr_node* int_const_il_node(int32_t value);
void int_const_into(expr_link* slot, int32_t value);
expr_node* elem_ref_il_node(expr_node* base, expr_node* index);
expr_node* max0_zero_node(expr_node* x);
expr_node* count_call_node(expr_node* x);
expr_node* len_call_node(expr_node* x);
expr_node* len_trim_call_node(expr_node* x);
expr_node* lbound_call_node(expr_node* x, int32_t dim);
expr_node* ubound_call_node(expr_node* x, int32_t dim);
expr_node* size_call_node(expr_node* x, int32_t dim);  // dim 0: SIZE(x)
expr_node* build_elem_count_node(expr_node* x);
