// The pools of tarvo's run.
#include "checker/base/pools.h"

qlist* file_storage = nullptr;
qlist* perm_storage = nullptr;
qlist* local_storage = nullptr;
qlist* module_storage = nullptr;
qlist* record_storage = nullptr;
