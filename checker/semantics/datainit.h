// DATA groups checked when the specification part ends (and again at the
// end of the unit for groups among the executable statements): the
// objects' element counts against the values' repeat counts, and the type
// of each value against the type of the object it initialises.
#pragma once

#include <cstdint>

// Reads the unit's DATA records back and checks them; the record count is
// 0 afterwards.
void procdata();
// Whether a DATA value of type code val fits an object of type code obj:
// 0 it fits, 261 it needs a numeric conversion, 222 it does not fit.
int32_t data_value_fit(int32_t obj, int32_t val);
