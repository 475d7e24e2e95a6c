// Resolving a procedure reference: a name becomes a dummy routine, an
// external procedure or an intrinsic; with the global-check option the
// records that other units entered under the name decide what it is, and
// a reference that does not fit the record's kind is reported.
#include "checker/semantics/getfun.h"

#include <cstring>

#include "checker/base/cmmdline.h"
#include "checker/common/error.h"
#include "checker/common/filnam.h"
#include "checker/base/services.h"
#include "checker/semantics/interfaces.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/merge.h"

namespace {

bool is_definition(const symrec& r) { return (r.usage & QB_SET) != 0; }

// The record of a unit that the current unit USEs.
bool used_module(int32_t k) {
  if (k == 0) return false;
  symrec kr;
  readsymi(k, kr);
  if (kr.sc != SC_MODULE) return false;
  const locsym* m = getsym(kr.namebuf, static_cast<int32_t>(std::strlen(kr.namebuf)), 2, 0);
  return m != nullptr && m->sclass == SC_MODULE && (m->usage & 0x8000);
}

// The current unit is record k (or, before it has one, k has its name).
bool is_current_unit(int32_t k) {
  if (prgnam == nullptr || k == 0) return false;
  if (prgnam->glorec != 0) return static_cast<int32_t>(prgnam->glorec) == k;
  symrec kr;
  readsymi(k, kr);
  return std::strcmp(kr.namebuf, prgnam->name) == 0 &&
         (kr.sc == prgnam->sclass || (kr.sc == SC_FUNC && prgnam->squal == SQ_FUNCVAR));
}

bool is_host_unit(int32_t k) {
  const locsym* host = loc_parent_scope();
  return host != nullptr && k != 0 && static_cast<int32_t>(host->glorec) == k;
}

// Whether a record of a procedure name is visible from the current unit.
bool visible(const locsym* sym, const symrec& r) {
  bool cls = (r.sc >= SC_COM && r.sc <= SC_BLKD) || r.sc == SC_MODULE || r.sc == SC_INTERFACE;
  if (!cls || !is_definition(r) || r.sq == SQ_INTRINSIC || r.sq == SQ_STATFUN || (r.usage & QB_DUM))
    return false;
  if ((sym->attrib & 0x2000000) && !(r.attrs & 0x2000000)) return false;
  int32_t k = r.container;
  if (r.sq == 7 && k != 0) {
    symrec kr;
    readsymi(k, kr);
    if (!is_definition(kr)) return false;
    if (used_module(k)) return true;
    int32_t depth = Status.nesting;
    if (depth == 0) return true;
    if (depth == 1) return is_current_unit(k);
    return is_host_unit(k) || is_current_unit(k);
  }
  if (isIntfProc(r.attrs) && k != 0) {
    return used_module(k) || is_current_unit(k) || (Status.nesting >= 2 && !is_current_unit(k));
  }
  return true;
}

}  // namespace

int32_t dtconvert_Glo2Loc(const dtdesc* glo, dtdesc* loc) {
  if (glo == nullptr || loc == nullptr || glo->code == 0) return 0;
  loc->code = glo->code;
  loc->kind = glo->kind;
  if (glo->code == DT_CHAR) {
    PSetQCharsize(loc, glo->value);
    return 1;
  }
  if (glo->code == DT_REC || glo->code == DT_TYPE) {
    if (glo->tag != 'r' || glo->value <= 0 || glo->value > symt.symcnt) return 0;
    symrec sr;
    readsymi(glo->value, sr);
    int32_t space = glo->code == DT_REC ? SC_STRUCT : SC_STRUCT90;
    locsym* st = getsym(sr.namebuf, static_cast<int32_t>(std::strlen(sr.namebuf)), 2, space);
    if (st == nullptr) return 0;
    PSetQStructsym(loc, st);
    return 1;
  }
  PSetQCharsize(loc, 0);
  return 1;
}

namespace {

void report(int32_t n) { rd_errmsg(n); }

// A function record against the reference's type (85).
void function_type(locsym* sym, const symrec& r) {
  dtdesc local = sym->type;
  if (r.type.code == 0) return;
  if (local.code == 0) {
    dtconvert_Glo2Loc(&r.type, &sym->type);
    return;
  }
  if (r.attrs & (1u << 24)) return;
  if (local.code != r.type.code) {
    report(85);
  } else if (local.code == DT_CHAR && r.type.value > 0 && r.type.value != local.value) {
    report(85);
  }
}

}  // namespace

int32_t getfun(locsym* sym, symrec* rec, int32_t* recno) {
  if (sym == nullptr) return 0;
  const intrin_generic* intrinsic = nullptr;
  if (sym->squal == SQ_UNK) {
    if (sym->usage & QB_DUM) {
      sym->squal = SQ_DUMRTN;
    } else {
      sym->squal = SQ_EXTERNAL;
      // Only an intrinsic that the dialect and language level offer, and
      // not when a generic interface of the unit has taken the name: the
      // generic then decides (the argument-list reader hands a reference
      // to the intrinsic when it fits better).
      if (sym->sclass != SC_MODULE && intrin_lookup(sym->name) != nullptr &&
          !((sym->attrib & 0x1000000u) && getsym_ov_intrin_if_overloaded(sym) != nullptr))
        intrinsic = findgeneric(sym->name, nullptr);
    }
  }
  if (sym->squal == SQ_STATFUN) return 0;
  bool as_function = sym->sclass == SC_FUNC || sym->sclass == SC_VAR;
  int32_t matched = 0;
  if (gloopt && (sym->squal == 1 || sym->squal == 5 || sym->squal == 7 || sym->squal == 11)) {
    symrec r;
    int32_t n = 0;
    int flags = (compiler & 64) ? 2 : 0;
    for (lookup(sym->name, r, &n, flags); n != 0; lookup(sym->name, r, &n, flags)) {
      if (!visible(sym, r)) continue;
      switch (r.sc) {
        case SC_FUNC:
          if (as_function) {
            function_type(sym, r);
            matched = 1;
          } else if ((compiler & 2) && (r.type.code == DT_CHAR || getdtsize(r.type.code) > 8)) {
            report(91);
          } else if (r.filno < 1 || r.filno > rd_filecount() ||
                     rd_filename(r.filno).rfind("vmslib.lbt", 0) != 0) {
            report(140);
          }
          break;
        case SC_SUB:
          if (as_function) {
            report(95);
          } else {
            matched = 1;
          }
          break;
        case SC_COM: report(as_function ? 94 : 90); break;
        case SC_PROG: report(as_function ? 96 : 92); break;
        case SC_BLKD: report(as_function ? 97 : 93); break;
        case SC_MODULE:
          if (as_function) report(662);
          break;
        default: break;
      }
      if (matched) {
        if (rec != nullptr) *rec = r;
        if (recno != nullptr) *recno = n;
      }
      break;
    }
  }
  if (intrinsic != nullptr && !matched) {
    sym->squal = SQ_INTRINSIC;
    const intrin_spec* const* spec = intrin_find_specific(intrinsic);
    if (spec != nullptr && *spec != nullptr && (*spec)->rettype != 0 && sym->type.code == 0) {
      sym->type.code = changeinftyp((*spec)->rettype);
      sym->type.tag = 'p';
    }
    return 0;
  }
  // A function that the host contains and that was read before this unit
  // gives the reference its type.
  if (!matched && sym->type.code == 0) {
    const locsym* sibling = contained_procedure(sym->name);
    if (sibling != nullptr && sibling != sym && sibling->sclass == SC_FUNC && sibling->type.code != 0) {
      sym->type = sibling->type;
      sym->props &= static_cast<uint8_t>(~CP_TYPIMP);
    }
  }
  // A function reference left untyped gets its implicit type where the
  // expression reader meets it, with the reference's position for 136.
  return matched;
}

namespace {

// The symbol of the host that names the contained procedure sym in a
// MODULE PROCEDURE statement: its interface link, else the host level's
// symbol of the same name.
locsym* modproc_name_of(locsym* sym) {
  if (sym->intflink != nullptr) return sym->intflink;
  int32_t host = Status.scope_level - 1;
  if (host < 1 || host > MAX_SCOPES) return nullptr;
  for (locsym* s = Scope[host].head; s != nullptr; s = s->snext) {
    if (s != sym && std::strcmp(s->name, sym->name) == 0 && (s->attrib & ATTR_MODPROC)) return s;
  }
  return nullptr;
}

// Rewrites record n with the storage class sc.
void set_record_class(int32_t n, uint8_t sc) {
  symrec r;
  readsymh(n, r);
  r.sc = sc;
  writesymh(n, r);
}

}  // namespace

void update_glointf(locsym* sym) {
  if (sym == nullptr || sym->squal != 7 || (sym->sclass != SC_FUNC && sym->sclass != SC_SUB)) return;
  locsym* named = modproc_name_of(sym);
  if (named == nullptr || !(named->attrib & ATTR_MODPROC) || named->glorec == 0) return;
  symrec r;
  readsymi(static_cast<int32_t>(named->glorec), r);
  if (r.sc == sym->sclass) return;
  set_record_class(static_cast<int32_t>(named->glorec), sym->sclass);
  // The procedures of the interfaces that list the name, whose records
  // are generic names, follow.
  for (const IntfRec* rec = intfs.InterfaceHead; rec != nullptr; rec = rec->gnext) {
    bool lists = false;
    for (const IntfProc* p = rec->first; p != nullptr && !lists; p = p->next) lists = p->sym == named;
    if (!lists) continue;
    for (const IntfProc* p = rec->first; p != nullptr; p = p->next) {
      if (p->sym == nullptr || p->sym == named || p->sym->glorec == 0) continue;
      symrec pr;
      readsymi(static_cast<int32_t>(p->sym->glorec), pr);
      if (pr.attrs & (1u << 24)) set_record_class(static_cast<int32_t>(p->sym->glorec), sym->sclass);
    }
  }
}
