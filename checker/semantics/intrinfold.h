// Folding of intrinsic function references whose arguments are constants.
// Each function reads the actual list, writes the result's value in the
// store class of the result type and returns 1, or returns 0 when the
// reference is not folded. None reports a message.
#pragma once

#include <cstdint>

#include "checker/semantics/actargs.h"

int32_t intr_and(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_or(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_xor(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_shft(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_not(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_len(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_ichar(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_conv(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_cmplx(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_imag(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_conjg(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_max(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_min(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_lge(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_lgt(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_lle(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_llt(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_abs(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_dim(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_dprod(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_trunc(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_near(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_mod(const actarg* first, const dtdesc* result, conval* value);
// MODULO: as MOD, the result taking the sign of the divisor.
int32_t intr_modulo(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_kind(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_selected_int_kind(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_selected_real_kind(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_allocated(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_bit_size(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_digits(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_epsilon(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_huge(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_tiny(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_maxexponent(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_minexponent(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_radix(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_number_of_processors(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_nworkers(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_processors_shape(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_secnds(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_size(const actarg* first, const dtdesc* result, conval* value);
int32_t intr_sizeof(const actarg* first, const dtdesc* result, conval* value);

// 10.0 to the power n by repeated multiplication; 0.0 for negative n.
double myexp10(int32_t n);
