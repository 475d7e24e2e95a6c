// The parser context the declaration services read, and its reset.
#include "frontend/model/decl_context.h"

#include "frontend/model/cross_reference.h"

ProgramUnitState units;

DeclContext decl_ctx;

void xref_reset();

void decl_context_reset() {
  decl_ctx = DeclContext{};
  decl_ctx.statement_kind = -1;
  xref_reset();
}

