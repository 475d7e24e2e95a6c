// Input/output statements and their specifier sets.
#pragma once

// Builds the nine I/O specifier sets, once at start-up.
void io_spec_sets_init();
