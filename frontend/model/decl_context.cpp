// The parser context the declaration services read, and its reset.
#include "frontend/model/decl_context.h"

#include "frontend/model/cross_reference.h"
#include "frontend/model/symbols.h"

ProgramUnitState units;

DeclContext decl_ctx;

void xref_reset();

void decl_context_reset() {
  decl_ctx = DeclContext{};
  decl_ctx.statement_kind = -1;
  xref_reset();
}

object* routine_of_level(int level) {
  if (level < 1 || level > symtab.cur_scope) return nullptr;
  scope* s = scope_at(level).il_scope;
  return s ? s->assoc_routine : nullptr;
}

int program_unit_class(int level) {
  object* r = routine_of_level(level);
  if (!r) return uc_none;
  switch (r->storage_class) {
    case sc_program: return uc_main_program;
    case sc_blockdata: return uc_block_data;
    case sc_module: return uc_module;
    case sc_stmt_func: return uc_function;
    case sc_local:
    case sc_external:
    case sc_internal:
    case sc_unspecified: {
      type* t = r->type;
      bool is_void = t && t->type_code == tk_routine && t->return_type &&
                     t->return_type->type_code == tk_void;
      return is_void ? uc_subroutine : uc_function;
    }
    default:
      return uc_none;
  }
}

int current_program_unit_class() {
  int level = symtab.cur_scope;
  if (level >= 1 && routine_of_level(level)) return program_unit_class(level);
  return program_unit_class(level - 1);
}
