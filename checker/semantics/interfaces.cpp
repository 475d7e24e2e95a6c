// Generic resolution: no interface records yet.
#include "checker/semantics/interfaces.h"

int32_t intf_initovload(locsym*) { return 0; }
int32_t intf_get_maxargs() { return 0; }
void intf_argmatch(int32_t, const char*, const actarg*) {}
int32_t intf_chkNomatch(int32_t) { return 0; }
int32_t intf_matchargnum(int32_t) { return 0; }
void intf_chkAmbiguous(locsym*) {}
