// STAND-IN for the program-unit semantic pass until it is built: the parser
// and the driver call it at the end of every unit and of the file. It only
// runs the expression checker over the expressions of every statement and
// over the types and initial values of every object, so that the IL holds
// checked expressions; the statement and declaration checks come with the
// real pass.
#include "frontend/semantics/unit_pass.h"

#include "frontend/model/il_entries.h"
#include "frontend/semantics/expr_check.h"

namespace {

void check_statements(statement* st, object* unit) {
  for (; st; st = st->next) {
    for (expr_node* e = st->expr; e; e = e->next) check_expr(e, 0, unit);
    if (st->loop) check_implied_do_control(st->loop, 0, unit);
    if (st->io_descr) {
      check_expr(st->io_descr->unit_expr, 0, unit);
      check_expr(st->io_descr->format_expr, 0, unit);
      for (expr_node* e = st->io_descr->specifier_list; e; e = e->next) check_expr(e, 0, unit);
    }
    for (::alloc* a = st->alloc_list; a; a = a->next) check_expr(a->var, ctx_variable, unit);
    for (expr_node* e = st->dealloc_list; e; e = e->next) check_expr(e, ctx_variable, unit);
    check_expr(st->stat_variable, ctx_variable, unit);
    check_statements(st->prologue, unit);
    check_statements(st->then_statement, unit);
    check_statements(st->else_statement, unit);
    check_statements(st->body_statement, unit);
    check_statements(st->statements, unit);
    check_statements(st->loop_statement, unit);
    check_statements(st->where_assignment, unit);
    check_statements(st->elsewhere_assignment, unit);
  }
}

}  // namespace

void check_unit(scope* s) {
  if (!s || (s->header & il_check_mark)) return;
  s->header |= il_check_mark;
  for (object* o = s->objects; o; o = o->next) check_entity_decl(o);
  check_statements(s->assoc_block, s->assoc_routine);
}

int check_entity_decl(object* o) {
  if (!o) return 1;
  int ok = 1;
  if (o->type && !check_type_entry(o->type, nullptr)) ok = 0;
  if (o->initializer && o->storage_class != sc_external && !check_constant_entry(o->initializer))
    ok = 0;
  if (o->assoc_scope && o->storage_class != sc_use_associated) check_unit(o->assoc_scope);
  return ok;
}
