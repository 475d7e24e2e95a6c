// The block stack of constructs (Part 3.131), its statement lists and reachability.
#pragma once

// Empties the block stack (top index -1) and sets its serial counter to 1.
void block_stack_reset();
