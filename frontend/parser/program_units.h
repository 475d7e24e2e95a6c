// Program-unit statements.
#pragma once

// Clears the flag that notes a declared main program (compilation set-up).
void main_program_flag_clear();
