// Questions about the program unit being read and its symbols.
#include "checker/semantics/unit_queries.h"

#include <vector>

#include "checker/common/qualcodes.h"
#include "checker/base/exprstate.h"
#include "checker/base/services.h"
#include "checker/base/statement.h"
#include "checker/semantics/locsym.h"

namespace {

bool is_function_unit(const locsym* u) {
  return unit.prgtyp == 5 || u->sclass == SC_FUNC || u->squal == SQ_FUNCVAR;
}

// Bit 64 of the properties byte: the symbol is a member of a COMMON block.
bool global_mark(const locsym* s) { return (s->props & CP_COMBLK) != 0; }

bool has_pointer_component(const locsym* st, std::vector<const locsym*>& open) {
  for (const locsym* o : open)
    if (o == st) return false;
  open.push_back(st);
  bool found = false;
  for (const FieldNode* f = static_cast<const FieldNode*>(st->list); f != nullptr && !found;
       f = f->next) {
    const locsym* c = f->sym;
    if (c == nullptr) continue;
    if (c->attrib & 0x2) {
      found = true;
    } else if ((c->type.code == DT_REC || c->type.code == DT_TYPE) && c->type.tag == 'q' &&
               c->type.sym != nullptr) {
      found = has_pointer_component(c->type.sym, open);
    }
  }
  open.pop_back();
  return found;
}

}  // namespace

int32_t isFuncResult(const locsym* sym) {
  const locsym* u = prgnam;
  if (sym == nullptr || u == nullptr || !is_function_unit(u)) return 0;
  if (sym == u) return 1;
  return sym->squal == SQ_FUNCVAR && sym->owner == u ? 1 : 0;
}

int32_t isInPureProc() {
  const locsym* u = prgnam;
  if (u == nullptr) return 0;
  if (u->attrib & ATTR_PURE) return 1;
  if (u->attrib & ATTR_INTF_BODY) return 0;
  const locsym* host = loc_parent_scope();
  return host != nullptr && (host->attrib & ATTR_PURE) ? 1 : 0;
}

int32_t isGloVarOrSubobj(const locsym* sym) {
  if (sym == nullptr) return 0;
  switch (sym->sclass) {
    case SC_COM:
    case SC_PROG:
    case SC_BLKD:
    case SC_MODULE:
      return 1;
    default:
      break;
  }
  bool host_link = sym->link != nullptr;
  if (sym->squal == SQ_STRUCTFLD && host_link) {
    const locsym* top = got_toprec;
    if (top == nullptr) {
      top = sym;
      while (top->squal == SQ_STRUCTFLD && top->link != nullptr) top = top->link;
    }
    return global_mark(top) ? 1 : 0;
  }
  if (sym->sclass == SC_FUNC || sym->sclass == SC_SUB) {
    return !host_link || global_mark(sym) ? 1 : 0;
  }
  if (sym->squal == SQ_FUNCVAR) return host_link ? (global_mark(sym) ? 1 : 0) : 1;
  return global_mark(sym) ? 1 : 0;
}

int32_t hasPtrComponentInStruct(const locsym* structure) {
  if (structure == nullptr || ropt.Language == 1) return 0;
  std::vector<const locsym*> open;
  return has_pointer_component(structure, open) ? 1 : 0;
}
