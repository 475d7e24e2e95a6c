// The parser context the declaration services read, and its reset.
#include "frontend/model/decl_context.h"

#include "frontend/driver/scanner.h"
#include "frontend/model/cross_reference.h"

DeclContext decl_ctx;

void xref_reset();

void decl_context_reset() {
  decl_ctx = DeclContext{};
  decl_ctx.statement_kind = -1;
  xref_reset();
}

name_pos_record current_name_token() { return name_pos_record{scan.token_atom, scan.token_name_pos}; }
