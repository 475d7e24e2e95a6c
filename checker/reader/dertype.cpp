// Derived-type definitions: the TYPE statement that opens one, SEQUENCE
// inside it and END TYPE that closes it. Components are declared by the
// type declarations read while a definition is open.
#include "checker/reader/dertype.h"

#include <cstring>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/reader/specstmt.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

DerivedTypeState dts;

void dertype_reset() { dts = DerivedTypeState{}; }

void ResetFwdTypes() {
  for (FwdType& f : dts.fwdtypes) f = FwdType{};
  dts.n_fwdtypes = 0;
}

void AddFwdType(locsym* sym) {
  if (sym == nullptr) return;
  for (int32_t i = 0; i < dts.n_fwdtypes; ++i) {
    if (dts.fwdtypes[i].sym == sym) return;
  }
  FwdType entry{0, sym, Status.scope_level};
  for (int32_t i = 0; i < dts.n_fwdtypes; ++i) {
    if (dts.fwdtypes[i].resolved) {
      dts.fwdtypes[i] = entry;
      return;
    }
  }
  if (dts.n_fwdtypes < MAX_FWDTYPES) dts.fwdtypes[dts.n_fwdtypes++] = entry;
}

void ProcFwdTypes(int32_t final) {
  // The reports stand at the statement that ends the specification part.
  tk.errcol = rsrc.statbeg;
  for (int32_t i = 0; i < dts.n_fwdtypes; ++i) {
    FwdType& f = dts.fwdtypes[i];
    if (f.resolved) continue;
    if (f.sym->sclass != SC_STRUCT90) rd_interr("ProcFwdTypes");
    if (!final && f.level < Status.scope_level) continue;
    if (f.sym->extra & EXTRA_TYPE_UNDEFINED) {
      // A definition in the current scope may stand under the same name.
      const char* name = f.sym->name;
      locsym* now = getsym(name, static_cast<int32_t>(std::strlen(name)), 32, SC_STRUCT90);
      if (now == nullptr || (now->extra & EXTRA_TYPE_UNDEFINED)) rd_errmsg(853);
    }
    f.resolved = 1;
  }
  if (final) ResetFwdTypes();
}

static bool at_stmt_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// True when the current token is the single character ch.
static bool tok_is(int32_t ch) { return tk.toktyp == TT_OTHER && tk.tok1 == ch; }

// The text of the current token.
static std::string tok_text() {
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  if (len < 0) len = 0;
  return std::string(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(len));
}

// TYPE [[, access] ::] name
int32_t shtype(const StmtCall& c) {
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (dts.structdepth > 0 || dts.structdepth >= MAX_STRUCT_LEVELS) {
    tk.errcol = rsrc.statbeg;
    rd_errmsg(645);
    skip_statement();
    return 0;
  }
  getokn();
  uint32_t access_bit = 0;  // PUBLIC or PRIVATE given in the statement
  if (tok_is(',')) {
    getokn();
    tk.errcol = tk.tokbeg;
    std::string access = tk.toktyp == TT_NAME ? tok_text() : std::string();
    access_bit = access == "PUBLIC" ? ATTR_PUBLIC : ATTR_PRIVATE;
    if (access != "PUBLIC" && access != "PRIVATE") {
      rd_errmsg(641);
      skip_statement();
      return 0;
    }
    getokn();
    if (!tok_is(':') || pstat[tk.stacol] != ':') {
      tk.errcol = tk.tokbeg;
      rd_errmsg(616);
      skip_statement();
      return 0;
    }
    getokn();
    getokn();
  } else if (tok_is(':') && pstat[tk.stacol] == ':') {
    getokn();
    getokn();
  }
  tk.errcol = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    rd_errmsg(24);
    skip_statement();
    return 0;
  }
  std::string name = tok_text();
  locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, SC_STRUCT90);
  if (s == nullptr) {
    rd_errmsg(24);
    skip_statement();
    return 0;
  }
  // A type named by TYPE(name) before its definition already has the class.
  bool forward = s->sclass == SC_STRUCT90 && (s->extra & EXTRA_TYPE_UNDEFINED) != 0;
  if (s->sclass != SC_UNK && !forward) {
    rd_errmsg(22);
    skip_statement();
    return 0;
  }
  s->sclass = SC_STRUCT90;
  s->extra &= ~EXTRA_TYPE_UNDEFINED;
  // TYPE, PUBLIC :: name in a module whose default is PRIVATE exports it.
  if (access_bit != 0) update_access(s, access_bit);
  ++dts.structdepth;
  dts.structs[dts.structdepth] = StructLevel{0, s, nullptr};
  chk_endofline(1);
  return 0;
}

// END TYPE [name]
int32_t shendtype(const StmtCall& c) {
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  tk.errcol = rsrc.statbeg;
  if (dts.structdepth == 0) {
    rd_errmsg(642);
    skip_statement();
    return 0;
  }
  const locsym* type = dts.structs[dts.structdepth].type;
  if (!at_stmt_end()) {
    getokn();
    tk.errcol = tk.tokbeg;
    if (tk.toktyp == TT_NAME) {
      std::string name = tok_text();
      if (type == nullptr || name != type->name) rd_errmsg(642);
      chk_endofline(1);
    } else {
      rd_errmsg(24);
      skip_statement();
    }
  }
  dts.structs[dts.structdepth] = StructLevel{};
  --dts.structdepth;
  return 0;
}

// SEQUENCE
int32_t shsequence(const StmtCall& c) {
  if (c.cls != 0 && !tstord(c.lowest, c.cls)) return skip_statement(), 0;
  tk.errcol = rsrc.statbeg;
  locsym* type = dts.structdepth > 0 ? dts.structs[dts.structdepth].type : nullptr;
  if (type == nullptr) {
    rd_errmsg(730);
  } else if (type->attrib & ATTR_SEQUENCE) {
    rd_errmsg(729);
  } else {
    type->attrib |= ATTR_SEQUENCE;
  }
  chk_endofline(1);
  return 0;
}
