// Local symbols, component lists and global structure records built by hand
// for the structure comparisons and the unit questions.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "checker/common/qualcodes.h"
#include "checker/reader/dertype.h"
#include "checker/base/services.h"
#include "checker/base/statement.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"
#include "tests/unit/checker_common/common_fixture.h"

class CheckerSemanticsTest : public CommonTest {
 protected:
  void SetUp() override {
    CommonTest::SetUp();
    locsym_reset();
    unit = UnitState{};
    ropt = ReaderOptions{};
  }
  void TearDown() override {
    locsym_reset();
    unit = UnitState{};
    CommonTest::TearDown();
  }

  // A symbol of that class with a plain type of that code.
  locsym* sym(const char* name, uint8_t sclass, uint8_t code = 0) {
    locsym& s = syms_.emplace_back();
    names_.emplace_back(name);
    s.name = names_.back().data();
    s.sclass = sclass;
    s.type.code = code;
    s.type.tag = 'p';
    return &s;
  }
  // A structure (class 10) or derived-type (class 14) definition.
  locsym* type(const char* name, uint8_t sclass = SC_STRUCT90) { return sym(name, sclass); }
  // Appends a component to a definition and returns it.
  locsym* field(locsym* def, const char* name, uint8_t code, int32_t charlen = 0) {
    locsym* c = sym(name, SC_VAR, code);
    c->squal = SQ_STRUCTFLD;
    c->type.value = charlen;
    FieldNode& n = nodes_.emplace_back();
    n.sym = c;
    FieldNode** tail = reinterpret_cast<FieldNode**>(&def->list);
    while (*tail != nullptr) tail = &(*tail)->next;
    *tail = &n;
    return c;
  }
  // A component whose type is the local structure st (code 26).
  locsym* field_of(locsym* def, const char* name, locsym* st, uint8_t code = DT_TYPE) {
    locsym* c = field(def, name, code);
    PSetQStructsym(&c->type, st);
    return c;
  }
  // Gives a symbol one more dimension lower:upper.
  void dim(locsym* s, int32_t lower, int32_t upper, uint8_t flags = 0) {
    arrdim& d = dims_.emplace_back(arrdim{lower, upper, flags, 0, nullptr});
    arrdim** tail = reinterpret_cast<arrdim**>(&s->arrspec);
    while (*tail != nullptr) tail = &(*tail)->next;
    *tail = &d;
  }

  // A global record of a structure component: its code, size and, for a
  // structure, the record of its type.
  int32_t gcomp(const char* name, uint8_t code, int32_t size, int32_t structrec = 0) {
    symrec r;
    symrec_clear(r);
    symrec_setname(r, name);
    r.sc = SC_VAR;
    r.sq = SQ_STRUCTFLD;
    r.type.code = code;
    if (structrec != 0) {
      PSetQGlostruct(&r.type, structrec);
    } else {
      PSetQCharsize(&r.type, 0);
    }
    r.size = size;
    return write_new(r);
  }
  // A global structure record with room for n components (filled by setcomps).
  int32_t gtype(const char* name, int32_t n, uint8_t sclass = SC_STRUCT90) {
    symrec r;
    symrec_clear(r);
    symrec_setname(r, name);
    r.sc = sclass;
    r.nitems = n;
    r.extra.assign(static_cast<size_t>(symrec_bytes(r) - symrec_header), 0);
    return write_new(r);
  }
  void setcomps(int32_t rec, const std::vector<int32_t>& comps) {
    symrec r;
    readsymb(rec, r);
    ASSERT_EQ(static_cast<size_t>(r.nitems), comps.size());
    for (size_t i = 0; i < comps.size(); ++i) put_be32(r.extra.data() + 4 * i, static_cast<uint32_t>(comps[i]));
    writesymh(rec, r);
  }
  int32_t write_new(const symrec& r) {
    int32_t n = symt.symcnt + 1;
    writesymh(n, r);
    return n;
  }

  std::deque<locsym> syms_;
  std::deque<std::string> names_;
  std::deque<FieldNode> nodes_;
  std::deque<arrdim> dims_;
};
