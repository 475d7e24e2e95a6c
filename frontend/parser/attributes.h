// Declaration attributes and their conflicts (Part 3.115).
#pragma once

// Copies the constant template into the attribute conflict matrix.
void attr_matrix_reset();
