// Helpers that the executable-statement handlers share.
#pragma once

#include "frontend/model/il_entries.h"

// ( label {, label} ): the labels as a list; with drop_duplicates a label
// already listed is left out. The current token is "(" (or what stands in
// its place); 0 after a syntax error (also for an empty list).
int parse_label_list(label_list_entry** first, bool drop_duplicates);
// An ASSIGN or assigned GO TO variable: a name of type default INTEGER (the
// current token); null after a report, or silently for the error type.
object* parse_assign_variable();
