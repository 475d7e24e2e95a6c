// Module files: a module's IL in the IL text format, one file
// per module in the first module directory.
#pragma once

#include <string>

#include "frontend/model/il_entries.h"

// Writes the module file of a module object (storage class sc_module).
void module_write(il_header* header, object* module);
// The path of a module's file in a directory: dir "/" NAME ".mod", where NAME
// is the module name's atom text; never cut short.
std::string module_file_path(const char* dir, const atom* module_name);
// True when the path names something that exists and is no regular file (a
// directory, a device, a FIFO): such a module path is never opened, so that a
// FIFO without a peer cannot hold the run up.
bool exists_not_regular(const char* path);
