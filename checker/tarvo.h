// tarvo's run: switches, message file, library tables, analysis, report.
#pragma once
#include <cstdint>

struct qlist;

// The pools of the run, created by main in this order.
extern qlist* file_storage;    // "file": the source list until it is entered
extern qlist* perm_storage;    // "perm": data of the whole run
extern qlist* local_storage;   // "local": one program unit
extern qlist* module_storage;  // "module": module tables of a pass
extern qlist* record_storage;  // "record": records of a pass

extern int fu_stdout;          // the standard output as a file unit
extern int32_t return_code;    // exit status of a run that completes

int tarvo_main(int argc, char** argv);
