// The STRUCTURE, END STRUCTURE and RECORD statements of the vendor
// dialect: a STRUCTURE definition (they nest, a nested one declaring
// record components of the enclosing one) shares the open definitions
// of TYPE; RECORD declares records of a STRUCTURE.
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/sizes.h"

namespace {

bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }
bool text_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// True when the innermost open definition is a STRUCTURE.
bool in_structure() {
  return dts.structdepth > 0 && dts.structs[dts.structdepth].type != nullptr &&
         dts.structs[dts.structdepth].type->sclass == SC_STRUCT;
}

// Makes sym a record of the STRUCTURE st, reporting a second type (14 for
// a record of the same STRUCTURE, 244 otherwise).
void make_record(locsym* sym, locsym* st, int32_t col) {
  if (sym->type.code != 0 && !(sym->props & CP_TYPIMP)) {
    bool same = sym->type.code == DT_REC && sym->type.tag == 'q' && sym->type.sym == st;
    msg_at(same ? 14 : 244, col);
  }
  sym->sclass = SC_REC;
  sym->props = static_cast<uint8_t>(sym->props & ~CP_TYPIMP);
  sym->type = dtdesc{};
  sym->type.code = DT_REC;
  PSetQStructsym(&sym->type, st);
  if (st->usage & QB_INIT) sym->usage |= QB_INIT;
}

// Marks every open definition initialised after an initialised record
// component.
void mark_levels_initialised() {
  for (int32_t level = dts.structdepth; level > 0; --level) {
    if (dts.structs[level].type != nullptr) dts.structs[level].type->usage |= QB_INIT;
  }
}

// The record components of a nested STRUCTURE: names after the "/name/"
// or the keyword, entered in the enclosing definition. False after a
// syntax message.
bool nested_fields(locsym* st, bool& any) {
  any = false;
  while (!text_end()) {
    locsym* f = nullptr;
    int32_t col = tk.stacol;
    if (addfld(&f, 0) != 0) return false;
    any = true;
    make_record(f, st, col);
    setsizrec(f);
    if (text_end()) break;
    getokn();
    if (!is_other(',')) {
      msg_at(6, tk.tokbeg);
      return false;
    }
  }
  return true;
}

}  // namespace

// STRUCTURE [/name/] [field [, field]...]
int32_t shstruct(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  int32_t col = rsrc.statbeg;
  locsym* st = nullptr;
  if (pstat[tk.stacol] == '/') {
    ++tk.stacol;
    int32_t namecol = 0;
    int32_t len = 0;
    if (!read_statement_name(&namecol, &len)) return 0;
    st = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, SC_STRUCT);
    if (st == nullptr) {
      msg_at(24, tk.tokbeg);
      return skip_statement(), 0;
    }
    if (st->sclass != SC_UNK) {
      msg_at(68, tk.tokbeg);
      return skip_statement(), 0;
    }
    getokn();
    if (!is_other('/')) {
      msg_at(5, tk.tokbeg);
      return skip_statement(), 0;
    }
  } else {
    // An unnamed STRUCTURE: only its records name it.
    st = local_new<locsym>();
    st->name = const_cast<char*>("");
    st->owner = prgnam;
  }
  st->sclass = SC_STRUCT;
  xrefit(st, QB_DECL, tk.tokbeg);
  bool nested = in_structure();
  bool fields = false;
  if (nested) {
    if (!nested_fields(st, fields)) return skip_statement(), 0;
    if (!fields) msg_at(151, col);
  } else {
    if (st->name[0] == '\0') msg_at(150, col);
    if (!text_end()) {
      getokn();
      msg_at(20, tk.tokbeg);
      skip_statement();
    }
  }
  if (dts.structdepth >= MAX_STRUCT_LEVELS) {
    rd_outstr("INTERNAL OVERFLOW - exceeded STRUCTS max of " + std::to_string(MAX_STRUCT_LEVELS) +
              "\n");
    ++unit.statfe;
    unit.labpro = 0;
    return skip_statement(), 0;
  }
  ++dts.structdepth;
  dts.structs[dts.structdepth] = StructLevel{0, st, nullptr};
  return 0;
}

// END STRUCTURE
int32_t shendstruct(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  if (!in_structure()) {
    msg_at(148, rsrc.statbeg);
    return skip_statement(), 0;
  }
  setsizstruct(dts.structs[dts.structdepth].type);
  dts.structs[dts.structdepth] = StructLevel{};
  --dts.structdepth;
  if (chk_endofline(1) != 0) skip_statement();
  return 0;
}

// RECORD /name/ record [, record]... [[,] /name/ record [, record]...]...
int32_t shrecord(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) return skip_statement(), 0;
  bool inside = dts.structdepth > 0;
  for (;;) {
    getokn();
    if (!is_other('/')) {
      msg_at(5, tk.tokbeg);
      return skip_statement(), 0;
    }
    int32_t ncol = 0;
    int32_t len = 0;
    if (!read_statement_name(&ncol, &len)) return 0;
    locsym* st = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 0, SC_STRUCT);
    getokn();
    if (!is_other('/')) {
      msg_at(5, tk.tokbeg);
      return skip_statement(), 0;
    }
    if (st == nullptr || st->sclass != SC_STRUCT) {
      msg_at(38, ncol);
      return skip_statement(), 0;
    }
    for (int32_t level = dts.structdepth; level > 0; --level) {
      if (dts.structs[level].type == st) {
        msg_at(539, ncol);
        return skip_statement(), 0;
      }
    }
    xrefit(st, QB_REF, ncol);
    for (;;) {
      locsym* r = nullptr;
      int32_t rcol = tk.stacol;
      while (pstat[rcol] == ' ') ++rcol;
      int32_t res = inside ? addfld(&r, 0) : getdec(&r, 0);
      if (res == -2) return skip_statement(), 0;
      if (res == 0 && r != nullptr) {
        if (!inside && (r->props & CP_POINTER)) {
          msg_at(238, rcol);
        } else {
          make_record(r, st, rcol);
          if (inside) {
            setsizrec(r);
            if (st->usage & QB_INIT) mark_levels_initialised();
          }
        }
      }
      if (text_end()) return 0;
      getokn();
      if (!is_other(',')) {
        msg_at(6, tk.tokbeg);
        return skip_statement(), 0;
      }
      if (pstat[tk.stacol] == '/') break;
    }
  }
}
