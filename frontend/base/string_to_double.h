// Conversion of a real literal's digits to a double with the platform's
// standard conversion, reporting range errors instead of trapping.
#pragma once

// Converts text (digits, optional fraction, optional E exponent) to *value;
// *range_error is 1 when the conversion overflowed or underflowed, else 0.
void string_to_double(const char* text, double* value, int* range_error);
