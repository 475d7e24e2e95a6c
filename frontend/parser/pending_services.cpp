// STAND-IN bodies of the storage-association and type-definition services
// (see pending_services.h); each does only what keeps the parser consistent.
#include "frontend/parser/pending_services.h"

#include "frontend/model/decl_context.h"

