// Declaration attributes and their conflicts.
#pragma once

// Copies the constant template into the attribute conflict matrix.
void attr_matrix_reset();
