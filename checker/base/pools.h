// The pools of tarvo's run, created by main in this order.
#pragma once

struct qlist;

extern qlist* file_storage;    // "file": the source list until it is entered
extern qlist* perm_storage;    // "perm": data of the whole run
extern qlist* local_storage;   // "local": one program unit
extern qlist* module_storage;  // "module": module tables of a pass
extern qlist* record_storage;  // "record": records of a pass
