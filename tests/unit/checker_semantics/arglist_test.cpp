// The argument checks against dummy descriptors built by hand: the kind
// matrix, chkarg's type, shape, size and length checks, the keyword and
// count checks, and whole argument lists read against a global record.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "checker/base/cmmdline.h"
#include "checker/base/directives.h"
#include "checker/reader/expr.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/arglist.h"
#include "tests/unit/checker_reader/reader_fixture.h"

namespace {

constexpr uint8_t I2 = 3, I4 = 4, R4 = 5, R8 = 6, CH = 14, L4 = 2;

argdesc dummy(int32_t kind, uint8_t code, const char* name = "D", int32_t ndims = 0,
              int32_t size = 0) {
  argdesc d{};
  d.kind = static_cast<uint8_t>(kind);
  d.type.code = code;
  d.type.tag = 'p';
  d.ndims = static_cast<uint8_t>(ndims);
  d.size = size;
  std::strncpy(d.name, name, sizeof d.name - 1);
  return d;
}

actarg actual(int32_t kind, uint8_t code, int32_t rank = 0, int32_t size = 0) {
  actarg a{};
  a.kind = kind;
  a.type.code = code;
  a.type.tag = 'p';
  a.rank = rank;
  a.size = size;
  a.col = 0;  // a message without a place
  a.present = 1;
  return a;
}

// The numbered messages raised while f runs, in order of their numbers.
class Arglist : public ReaderTest {
 protected:
  void SetUp() override {
    ReaderTest::SetUp();
    expr_reset();
    std::memset(before_, 0, sizeof before_);
  }
  void mark() { std::memcpy(before_, ecat.errcnt, sizeof before_); }
  std::vector<int32_t> raised() const {
    std::vector<int32_t> out;
    for (int32_t n = 1; n <= maxerrmsg; ++n) {
      for (int32_t k = before_[n]; k < ecat.errcnt[n]; ++k) out.push_back(n);
    }
    return out;
  }
  std::vector<int32_t> check(const actarg& a, const argdesc& d, int32_t isexp = 0,
                             int32_t iscon = 0) {
    mark();
    chkarg(&a, isexp, iscon, &d);
    return raised();
  }

  // A subroutine record with the given dummies.
  static symrec subroutine(const std::vector<argdesc>& dummies) {
    symrec r;
    symrec_clear(r);
    symrec_setname(r, "S");
    r.sc = SC_SUB;
    for (size_t i = 0; i < dummies.size(); ++i) rec_set_dummy(r, static_cast<int32_t>(i), dummies[i]);
    return r;
  }

  // Reads the program text up to the statement "CALL S..." (its last
  // statement) and reads its argument list against rec.
  std::vector<int32_t> call(const std::string& decls, const std::string& stmt, const symrec& rec,
                            int32_t* result = nullptr) {
    open_source("program p\n" + decls + stmt + "\nend\n", ".f90");
    nextstat();
    prgbeg();
    for (;;) {
      if (nextstat() == -1) {
        ADD_FAILURE() << "no CALL";
        return {};
      }
      if (text().rfind("CALL", 0) == 0) break;
      declare(text());
    }
    tk.stacol = rsrc.statbeg + 4;
    getokn();
    locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), tk.toksiz, 1, 0);
    s->sclass = SC_SUB;
    mark();
    locsym* out = nullptr;
    int32_t rc = arglist_with_record(s, 0, &out, &rec);
    if (result != nullptr) *result = rc;
    return raised();
  }
  // "INTEGERname" or "REALname" declares a scalar, "DIMENSIONname(n)" an
  // INTEGER array of n elements.
  static void declare(const std::string& stmt) {
    auto make = [](const std::string& name, uint8_t code) {
      locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, 0);
      s->sclass = SC_VAR;
      s->type.code = code;
      s->type.tag = 'p';
      return s;
    };
    if (stmt.rfind("INTEGER", 0) == 0) make(stmt.substr(7), I4);
    if (stmt.rfind("REAL", 0) == 0) make(stmt.substr(4), R4);
    if (stmt.rfind("DIMENSION", 0) == 0) {
      std::string rest = stmt.substr(9);
      size_t lp = rest.find('(');
      locsym* s = make(rest.substr(0, lp), I4);
      arrdim* d = local_new<arrdim>();
      d->lower = 1;
      d->upper = std::stoi(rest.substr(lp + 1));
      s->arrspec = d;
      s->size = 4 * d->upper;
    }
  }

  int32_t before_[maxerrmsg + 1];
};

using V = std::vector<int32_t>;

}  // namespace

TEST(ArgKinds, MatrixRowsNamesAndArticles) {
  const char* names[] = {"SCALAR", "ARRAY", "SUBPROGRAM", "ARRAY MEMBER", "ALT RETURN", "RECORD",
                         "IMMEDIATE VALUE"};
  const char* articles[] = {"a", "an", "a", "an", "an", "a", "an"};
  for (int32_t k = 0; k < 7; ++k) {
    EXPECT_STREQ(argkind_name(k), names[k]);
    EXPECT_STREQ(argkind_article(k), articles[k]);
  }
  const int32_t rows[8][8] = {
      {2, 2, 0, 2, 0, 0, 0, 3}, {2, 2, 0, 2, 0, 0, 0, 3}, {0, 0, 1, 0, 0, 0, 0, 3},
      {9, 9, 9, 9, 9, 9, 9, 9}, {0, 0, 0, 0, 1, 0, 0, 3}, {9, 9, 9, 9, 9, 9, 9, 9},
      {0, 0, 0, 0, 0, 0, 1, 3}, {9, 9, 9, 9, 9, 9, 9, 9}};
  for (int32_t d = 0; d < 8; ++d) {
    for (int32_t a = 0; a < 8; ++a) EXPECT_EQ(argkind_match(d, a), rows[d][a]) << d << "," << a;
  }
  EXPECT_EQ(argkind_match(8, 0), 9);
  EXPECT_EQ(argkind_match(0, -1), 9);
}

TEST_F(Arglist, KindMismatchesAndOmittedActuals) {
  struct Case {
    int32_t dkind, akind;
    uint32_t usage;
    V want;
  } cases[] = {
      {AC_SCA, AC_SUB, 0, {250}},      // a subroutine for a scalar
      {AC_SUB, AC_SCA, 0, {250}},      // a scalar for a procedure
      {AC_ALTRET, AC_SCA, 0, {250}},   // a value for "*"
      {AC_SCA, AC_ALTRET, 0, {250}},
      {AC_SUB, AC_SUB, 0, {}},         // procedure for procedure
      {AC_ALTRET, AC_ALTRET, 0, {}},
      {AC_SCA, AC_NULL, 0, {258}},     // omitted, not omittable
      {AC_SCA, AC_NULL, 0x200, {}},    // omittable
      {AC_ARR, AC_NULL, 0x400, {}},
      {AC_SCA, AC_SUB, AD_NOCHECK, {}},  // not checked
  };
  for (const Case& c : cases) {
    argdesc d = dummy(c.dkind, I4, "D", c.dkind == AC_ARR ? 1 : 0);
    d.usage = c.usage;
    EXPECT_EQ(check(actual(c.akind, I4), d), c.want) << c.dkind << " " << c.akind;
  }
  // By value: only an immediate value matches.
  argdesc v = dummy(AC_SCA, I4);
  v.usage = AD_BYVALUE;
  EXPECT_EQ(check(actual(AC_SCA, I4), v), V{250});
  EXPECT_EQ(check(actual(AC_VAL, I4), v), V{});
}

TEST_F(Arglist, TypeShapeAndSizeMismatches) {
  struct Case {
    const char* what;
    actarg a;
    argdesc d;
    int32_t isexp, iscon;
    V want;
  } cases[] = {
      {"same type", actual(AC_SCA, I4), dummy(AC_SCA, I4), 0, 0, {}},
      {"element for scalar", actual(AC_ARRMEM, R4), dummy(AC_SCA, R4), 0, 0, {}},
      {"REAL for INTEGER", actual(AC_SCA, R4), dummy(AC_SCA, I4), 0, 0, {55}},
      {"REAL*8 for REAL", actual(AC_SCA, R8), dummy(AC_SCA, R4), 0, 0, {736}},
      {"INTEGER*2 for INTEGER", actual(AC_SCA, I2), dummy(AC_SCA, I4), 0, 0, {}},
      {"LOGICAL for INTEGER", actual(AC_SCA, L4), dummy(AC_SCA, I4), 0, 0, {55}},
      {"array for scalar", actual(AC_ARR, I4, 1, 8), dummy(AC_SCA, I4), 0, 0, {254}},
      {"scalar variable for array", actual(AC_SCA, I4), dummy(AC_ARR, I4, "D", 1), 0, 0, {251}},
      {"scalar expression for array", actual(AC_SCA, I4), dummy(AC_ARR, I4, "D", 1), 1, 0, {257}},
      {"array of another type", actual(AC_ARR, R4, 1, 8), dummy(AC_ARR, I4, "D", 1), 0, 0, {252}},
      {"element of another type", actual(AC_ARRMEM, R4), dummy(AC_ARR, I4, "D", 1), 0, 0, {253}},
      {"rank 2 for rank 1", actual(AC_ARR, I4, 2, 16), dummy(AC_ARR, I4, "D", 1, 16), 0, 0, {752}},
      {"smaller array", actual(AC_ARR, I4, 1, 8), dummy(AC_ARR, I4, "D", 1, 16), 0, 0, {287}},
      {"larger array", actual(AC_ARR, I4, 1, 32), dummy(AC_ARR, I4, "D", 1, 16), 0, 0, {279}},
      {"sizes unknown", actual(AC_ARR, I4, 1, 0), dummy(AC_ARR, I4, "D", 1, 16), 0, 0, {}},
  };
  for (Case& c : cases) EXPECT_EQ(check(c.a, c.d, c.isexp, c.iscon), c.want) << c.what;
  // A rank mismatch for a dummy declared with DIMENSION is 753.
  argdesc dim = dummy(AC_ARR, I4, "D", 1);
  dim.attrs = AD_DIMENSION;
  EXPECT_EQ(check(actual(AC_ARR, I4, 2), dim), V{753});
  // Kinds given and different: 751 beside the type check.
  actarg k = actual(AC_SCA, I4);
  k.type.kind = 8;
  argdesc dk = dummy(AC_SCA, I4);
  dk.type.kind = 4;
  EXPECT_EQ(check(k, dk), V{751});
  // A POINTER dummy needs a POINTER actual: a name by its own POINTER
  // attribute (or as an integer pointer), a component reference by its
  // last component's, whatever the structure is.
  argdesc p = dummy(AC_SCA, I4);
  p.attrs = AD_POINTER;
  struct PointerCase {
    const char* what;
    uint32_t name_attrib;    // attributes of the actual's name
    uint8_t name_props;      // its properties
    int32_t component;       // 0 none, 1 a plain one, 2 a POINTER one, 3 of a type not known
    V want;
  } pointer_cases[] = {
      {"plain name", 0, 0, 0, {754}},
      {"POINTER name", 0x2, 0, 0, {}},
      {"integer pointer", 0, CP_POINTER, 0, {}},
      {"POINTER component of a plain structure", 0, 0, 2, {}},
      {"plain component of a POINTER structure", 0x2, 0, 1, {754}},
      {"component of a type not known", 0, 0, 3, {}},
  };
  for (const PointerCase& c : pointer_cases) {
    locsym name{};
    name.attrib = c.name_attrib;
    name.props = c.name_props;
    locsym component{};
    component.attrib = c.component == 2 ? 0x2u : 0u;
    actarg ap = actual(AC_SCA, I4);
    ap.sym = &name;
    ap.field = c.component == 1 || c.component == 2 ? &component : nullptr;
    ap.field_unknown = c.component == 3;
    EXPECT_EQ(check(ap, p), c.want) << c.what;
  }
  // No type or shape check.
  argdesc nt = dummy(AC_ARR, I4, "D", 1);
  nt.usage = AD_NOTYPECHECK;
  EXPECT_EQ(check(actual(AC_SCA, R4), nt), V{});
}

TEST_F(Arglist, CharacterLengthsAndDefinedDummies) {
  auto chr = [](int32_t kind, int32_t len) {
    actarg a = actual(kind, CH);
    a.type.value = len;
    return a;
  };
  auto dch = [](int32_t len) {
    argdesc d = dummy(AC_SCA, CH);
    d.type.value = len;
    return d;
  };
  EXPECT_EQ(check(chr(AC_SCA, 5), dch(8)), V{282});
  EXPECT_EQ(check(chr(AC_SCA, 9), dch(8)), V{281});
  EXPECT_EQ(check(chr(AC_SCA, 9), dch(8), 1, 1), V{280});
  EXPECT_EQ(check(chr(AC_ARRMEM, 8), dch(8)), V{});
  EXPECT_EQ(check(chr(AC_SCA, 5), dch(0)), V{});  // assumed length
  argdesc set = dummy(AC_SCA, I4);
  set.usage = AD_SETS;
  EXPECT_EQ(check(actual(AC_SCA, I4), set, 1, 1), V{59});
  EXPECT_EQ(check(actual(AC_SCA, I4), set, 1, 0), V{63});
  EXPECT_EQ(check(actual(AC_SCA, I4), set, 0, 0), V{});
}

TEST_F(Arglist, StatementFunctionArguments) {
  struct Case {
    uint8_t a, d;
    int32_t isexp, iscon, set;
    V want;
  } cases[] = {
      {I4, I4, 0, 0, 0, {}},      {R4, I4, 1, 1, 0, {55}},  {R8, R4, 0, 0, 0, {736}},
      {I2, I4, 1, 1, 0, {}},      {12, I4, 1, 1, 0, {}},    {CH, I4, 1, 1, 0, {}},
      {I4, I4, 1, 1, 1, {59}},    {I4, I4, 1, 0, 1, {63}},  {R4, I4, 1, 0, 1, {63, 55}},
  };
  for (const Case& c : cases) {
    dtdesc a{}, d{};
    a.code = c.a;
    d.code = c.d;
    mark();
    chksfarg(&a, &d, c.isexp, c.iscon, c.set);
    V got = raised();
    V want = c.want;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want) << int(c.a) << " " << int(c.d);
  }
}

TEST_F(Arglist, KeywordPositionsAndMissingArguments) {
  symrec r = subroutine({dummy(AC_SCA, I4, "A"), dummy(AC_SCA, I4, "B"), dummy(AC_SCA, I4, "C")});
  uint8_t given[3] = {0, 0, 0};
  mark();
  EXPECT_EQ(getArgKeywd("B", 1, given, &r), 1);
  given[1] = 1;
  EXPECT_EQ(getArgKeywd("B", 1, given, &r), -2);  // given twice
  EXPECT_EQ(getArgKeywd("Q", 1, given, &r), -2);  // unknown
  EXPECT_EQ(getArgKeywd("A", 1, given, nullptr), -2);
  EXPECT_EQ(raised(), (V{682, 716}));
  mark();
  EXPECT_EQ(chkargnum(&r, given), -1);  // A not given
  given[0] = 1;
  argdesc opt = dummy(AC_SCA, I4, "C");
  opt.attrs = AD_OPTIONAL;
  rec_set_dummy(r, 2, opt);
  EXPECT_EQ(chkargnum(&r, given), 0);
  EXPECT_EQ(chkargnum(&r, nullptr), 0);
  EXPECT_EQ(intf_chkargnum(nullptr, given), -1);
  EXPECT_EQ(raised(), V{681});
}

TEST_F(Arglist, ListsReadAgainstAGlobalRecord) {
  symrec r = subroutine({dummy(AC_SCA, I4, "A"), dummy(AC_ARR, I4, "B", 1, 16)});
  struct Case {
    const char* decls;
    const char* stmt;
    V want;
  } cases[] = {
      {"integer k\ndimension m(4)\n", "call s(k, m)", {}},
      {"integer k\ndimension m(4)\n", "call s(b=m, a=k)", {}},
      {"integer k\ndimension m(4)\n", "call s(k, m, k)", {57}},
      {"integer k\n", "call s(k)", {56}},
      {"integer k\ndimension m(4)\n", "call s(b=m)", {681}},
      {"integer k\ndimension m(4)\n", "call s(a=k, b=m, a=k)", {716}},
      {"integer k\ndimension m(4)\n", "call s(q=k, b=m)", {682}},
      {"real x\ndimension m(4)\n", "call s(x, m)", {55}},
      {"integer k\ndimension m(2)\n", "call s(k, m)", {287}},
      {"integer k\n", "call s(k, k)", {251}},
      {"dimension m(4)\n", "call s(m, m)", {254}},
      {"dimension m(4)\n", "call s(s, m)", {250}},
      {"dimension m(4)\n", "call s(, m)", {258}},
  };
  bool first = true;
  for (const Case& c : cases) {
    if (!first) {
      TearDown();
      SetUp();
    }
    first = false;
    int32_t rc = -1;
    EXPECT_EQ(call(c.decls, c.stmt, r, &rc), c.want) << c.stmt;
    EXPECT_EQ(rc, 1) << c.stmt;
  }
}

TEST_F(Arglist, DefinedDummyRecordsTheUseOfItsActual) {
  argdesc out = dummy(AC_SCA, I4, "A");
  out.usage = QB_SET;
  symrec r = subroutine({out});
  EXPECT_EQ(call("integer k\n", "call s(k)", r), V{});
  locsym* k = getsym("K", 1, 0, 0);
  ASSERT_NE(k, nullptr);
  EXPECT_NE(k->usage & QB_SET, 0u);
  EXPECT_NE(k->usage & QB_ACT, 0u);
}

// Under the dialect bit 64 with Hollerith concatenation on, a CHARACTER
// constant actual is Hollerith data: for an INTEGER array dummy it is then
// exempt from the scalar-for-array check (257) and differs in type (252).
// Without either switch, or for an expression that is not constant, it
// stays a CHARACTER scalar expression.
TEST_F(Arglist, HollerithConcatenationTakesCharacterConstantsAsHollerith) {
  const actarg a = actual(AC_SCA, CH);
  const argdesc d = dummy(AC_ARR, I4, "D", 1);
  struct Case {
    uint32_t bit;
    int32_t holl, iscon;
    V want;
  } cases[] = {
      {64, 1, 1, {252}}, {0, 1, 1, {257}}, {64, 0, 1, {257}}, {64, 1, 0, {257}},
  };
  const uint32_t keep = compiler;
  const int32_t keep_holl = concholl;
  for (const Case& c : cases) {
    compiler = (keep & ~64u) | c.bit;
    concholl = c.holl;
    EXPECT_EQ(check(a, d, 1, c.iscon), c.want) << c.bit << " " << c.holl << " " << c.iscon;
  }
  compiler = keep;
  concholl = keep_holl;
}
