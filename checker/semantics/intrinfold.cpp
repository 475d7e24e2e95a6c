// Folding functions of the intrinsics: not folded yet.
#include "checker/semantics/intrinfold.h"

int32_t intr_and(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_or(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_xor(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_shft(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_not(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_len(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_ichar(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_conv(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_cmplx(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_imag(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_conjg(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_max(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_min(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_lge(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_lgt(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_lle(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_llt(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_abs(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_dim(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_dprod(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_trunc(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_near(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_mod(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_kind(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_selected_int_kind(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_selected_real_kind(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_allocated(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_bit_size(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_digits(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_epsilon(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_huge(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_tiny(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_maxexponent(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_minexponent(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_radix(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_number_of_processors(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_nworkers(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_processors_shape(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_secnds(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_size(const actarg*, const dtdesc*, conval*) { return 0; }
int32_t intr_sizeof(const actarg*, const dtdesc*, conval*) { return 0; }

double myexp10(int32_t n) {
  double r = n < 0 ? 0.0 : 1.0;
  for (int32_t i = 0; i < n; ++i) r *= 10.0;
  return r;
}
