// The expression evaluator on real statements: precedence and folding,
// operand kinds of plain references, literals of every form, subscripts
// and substrings with their messages.
#include <cmath>
#include <cstring>

#include "checker/semantics/interfaces.h"
#include "tests/unit/checker_reader/reader_fixture.h"
#include "checker/reader/expr.h"

namespace {

class Getmeta : public ReaderTest {
 protected:
  void SetUp() override {
    ReaderTest::SetUp();
    expr_reset();
  }

  // Reads the program text and stops at the statement "Z = expr" (the
  // last statement of the text); the column stands after "=".
  void at_expression(const std::string& decls, const std::string& expr) {
    open_source("program p\n" + decls + "z = " + expr + "\nend\n", ".f90");
    nextstat();  // PROGRAM
    prgbeg();
    for (;;) {
      ASSERT_NE(nextstat(), -1);
      if (text().rfind("Z=", 0) == 0) break;
      declare(text());
    }
    tk.stacol = rsrc.statbeg + 2;
  }

  // Minimal declarations for the tests: "INTEGER A(2)", "CHARACTER*5 C",
  // "PARAMETER N=3"-style lines written as the text says.
  void declare(const std::string& stmt) {
    if (stmt.rfind("DIMENSION", 0) == 0) {
      // DIMENSIONname(lo:hi) with one dimension
      std::string rest = stmt.substr(9);
      size_t lp = rest.find('(');
      std::string name = rest.substr(0, lp);
      std::string dims = rest.substr(lp + 1, rest.size() - lp - 2);
      locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, 0);
      struct Dim { int32_t lower, upper; uint8_t flags, hpf; Dim* next; };
      Dim* d = local_new<Dim>();
      size_t colon = dims.find(':');
      d->lower = colon == std::string::npos ? 1 : std::stoi(dims.substr(0, colon));
      d->upper = std::stoi(colon == std::string::npos ? dims : dims.substr(colon + 1));
      s->arrspec = d;
      s->sclass = SC_VAR;
      imptypit(s, 0);
    } else if (stmt.rfind("CHARACTER", 0) == 0) {
      std::string name = stmt.substr(9);
      locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, 0);
      s->sclass = SC_VAR;
      s->type.code = 14;
      s->type.tag = 'p';
      s->type.value = 5;
    } else if (stmt.rfind("PARAMETER", 0) == 0) {
      std::string name = stmt.substr(9);
      locsym* s = getsym(name.c_str(), static_cast<int32_t>(name.size()), 1, 0);
      s->sclass = SC_PAR;
      imptypit(s, 0);
      conval* v = local_new<conval>();
      v->i = 3;
      s->list = v;
    }
  }

  uint32_t eval(const std::string& expr, uint32_t kinds = 0x21,
                const std::string& decls = "") {
    at_expression(decls, expr);
    return getmeta(kinds);
  }
};

TEST_F(Getmeta, IntegerFoldingAndPrecedence) {
  struct Row { const char* expr; int32_t value; };
  const Row rows[] = {
      {"-2**2", -4},  {"2**3**2", 512}, {"8/2/2", 2},   {"7/2", 3},
      {"-7/2", -3},   {"2**10", 1024},  {"2**0", 1},    {"2**(-1)", 0},
      {"1+2*3", 7},   {"(1+2)*3", 9},   {"2147483647+1", -2147483647 - 1},
      {"10-4-3", 3},  {"+5", 5},        {"((((3))))", 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expr);
    EXPECT_EQ(eval(r.expr), 0x1u);
    EXPECT_EQ(got_ok, 1u);
    EXPECT_EQ(got_con, 1u);
    EXPECT_EQ(got_val.i, r.value);
    EXPECT_EQ(getdtname(got_typ.code), TC_INTEGER);
    TearDown();
    SetUp();
  }
  EXPECT_EQ(count(179), 0);
}

TEST_F(Getmeta, LogicalAndRelationalFolding) {
  struct Row { const char* expr; int32_t value; };
  const Row rows[] = {
      {".TRUE..AND..FALSE.", 0}, {".TRUE.", -1},       {".T.", -1},
      {".F..OR..T.", -1},        {".NOT..TRUE.", 0},   {"1.LT.2", -1},
      {"1 .EQ. 2 .OR. 3 > 2", -1}, {"'ab' .EQ. 'ab '", -1}, {".NOT.1.GT.2", -1},
      {"2.5 >= 3", 0},           {".TRUE..NEQV..TRUE.", 0}, {".TRUE..EQV..FALSE.", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expr);
    EXPECT_EQ(eval(r.expr), 0x1u);
    EXPECT_EQ(got_ok, 1u);
    EXPECT_EQ(got_val.i, r.value);
    EXPECT_EQ(getdtname(got_typ.code), TC_LOGICAL);
    TearDown();
    SetUp();
  }
}

TEST_F(Getmeta, RealComplexAndCharacterFolding) {
  EXPECT_EQ(eval("1 + 2.5D0"), 0x1u);
  EXPECT_EQ(got_typ.code, defdtypes[6]);  // the unit's DOUBLE PRECISION
  EXPECT_DOUBLE_EQ(got_val.d, 3.5);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("2.0**(-1)"), 0x1u);
  EXPECT_DOUBLE_EQ(got_val.d, 0.5);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("1 + (0.0, 1.0)"), 0x1u);
  EXPECT_EQ(getdtname(got_typ.code), TC_COMPLEX);
  EXPECT_DOUBLE_EQ(got_val.c[0], 1.0);
  EXPECT_DOUBLE_EQ(got_val.c[1], 1.0);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("(1, 2.0D0)"), 0x1u);
  EXPECT_EQ(got_typ.code, 8);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("(1, 2.0Q0)"), 0x1u);
  EXPECT_EQ(got_typ.code, 23);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("'ab' // 'cde'"), 0x1u);
  EXPECT_EQ(got_typ.code, 14);
  EXPECT_EQ(got_typ.value, 5);
  ASSERT_EQ(got_ok, 1u);
  EXPECT_EQ(std::string(got_val.s, 5), "abcde");
  TearDown();
  SetUp();
  EXPECT_EQ(eval("1.5E2"), 0x1u);
  EXPECT_DOUBLE_EQ(got_val.d, 150.0);
  EXPECT_EQ(getdtname(got_typ.code), TC_REAL);
}

TEST_F(Getmeta, DivisionByZeroIsReportedAndLeavesTheValueUnknown) {
  EXPECT_EQ(eval("1/0"), 0x1u);
  EXPECT_EQ(got_ok, 0u);
  EXPECT_EQ(count(179), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("x/0"), 0x1u);
  EXPECT_EQ(count(179), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("0**0"), 0x1u);
  EXPECT_EQ(count(179), 1);
}

TEST_F(Getmeta, TwoOperatorsInARowAreReportedAndEvaluated) {
  EXPECT_EQ(eval("3*-2"), 0x1u);
  EXPECT_EQ(count(635), 1);
  EXPECT_EQ(got_val.i, -6);
}

TEST_F(Getmeta, PlainReferencesReturnTheirOwnKind) {
  EXPECT_EQ(eval("x, y", 0x3), 0x2u);
  ASSERT_NE(got_sym, nullptr);
  EXPECT_STREQ(got_sym->name, "X");
  EXPECT_EQ(pstat[tk.stacol], ',');
  TearDown();
  SetUp();
  EXPECT_EQ(eval("x)", 0x1), 0x1u);
  ASSERT_NE(got_sym, nullptr);
  EXPECT_NE(got_sym->usage & QB_REF, 0u);  // read as a value
  TearDown();
  SetUp();
  EXPECT_EQ(eval("x + 1", 0x3), 0x1u);
  EXPECT_EQ(got_sym, nullptr);
  EXPECT_EQ(got_ok, 0u);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("n", 0x21, "parameter n\n"), 0x1u);
  EXPECT_EQ(got_ok, 1u);
  EXPECT_EQ(got_val.i, 3);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("n*2", 0x21, "parameter n\n"), 0x1u);
  EXPECT_EQ(got_val.i, 6);
  EXPECT_EQ(got_con, 1u);
}

TEST_F(Getmeta, SyntaxMessagesStopTheExpression) {
  struct Row { const char* expr; int32_t msg; };
  const Row rows[] = {{"(1+2", 7}, {"1 .FOO. 2", 72}, {"x .AND 2", 73}, {"1 .MATCHES. 2", 72}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expr);
    EXPECT_EQ(eval(r.expr, 0x1), 0u);
    EXPECT_EQ(count(r.msg), 1);
    TearDown();
    SetUp();
  }
}

TEST_F(Getmeta, DefinedOperatorNamesNeedAnInterfaceInFortran77Too) {
  ropt.Language = 1;
  EXPECT_EQ(eval("1 .PLUS. 2", 0x1), 0u);
  EXPECT_EQ(count(72), 1);
}

TEST_F(Getmeta, ColonLookAheadKeepsTheTokenState) {
  at_expression("character c\n", "c(2:3) + f(a(1), 2:3)");
  getokn();  // C
  getokn();  // (
  TokenState before = tk;
  EXPECT_EQ(itacolon(), 1);
  EXPECT_EQ(tk.stacol, before.stacol);
  EXPECT_EQ(tk.tokbeg, before.tokbeg);
  tk.stacol = rsrc.statbeg + 2 + 7;  // at F
  getokn();
  getokn();  // (
  EXPECT_EQ(itacolon(), 0);  // the ":" stands after the first ","
}

TEST_F(Getmeta, DefinedOperatorsGiveAnUnknownValue) {
  at_expression("", "1 .PLUS. 2 * 3");
  // An OPERATOR(.PLUS.) interface whose functions are not known.
  if (prgnam == nullptr) set_current_unit(getsym("P", 1, 1, 0));
  locsym* op = getsym("OPERATOR_PLUS", 13, 1, 0);
  IntfRec* rec = intf_new_interface(IK_OPERATOR, OP_DEFINED, op);
  ASSERT_NE(rec, nullptr);
  rec->usrop = intf_add_usrop(IK_OPERATOR, OP_DEFINED, op);
  EXPECT_EQ(getmeta(0x1), 0x1u);
  EXPECT_EQ(got_ok, 0u);
  EXPECT_EQ(count(72), 0);
}

TEST_F(Getmeta, SubscriptsAgainstDeclaredBounds) {
  EXPECT_EQ(eval("a(3)", 0x3, "dimension a(2)\n"), 0x2u);
  EXPECT_EQ(count(176), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a, b", 0x5, "dimension a(2:7)\n"), 0x4u);
  EXPECT_EQ(got_arrelm, 6);
  EXPECT_EQ(got_arrsecdims, 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a(0:)", 0x201, "dimension a(2)\n"), 0x200u);
  EXPECT_EQ(count(176), 0);
  EXPECT_EQ(got_arrsecdims, 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a(1:2:0)", 0x201, "dimension a(2)\n"), 0x200u);
  EXPECT_EQ(count(747), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a(1,1)", 0x3, "dimension a(2)\n"), 0x2u);
  EXPECT_EQ(count(445), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a", 0x1, "dimension a(2)\n"), 0u);
  EXPECT_EQ(count(167), 1);  // a whole array where only scalars are read
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a(1:2)", 0x1, "dimension a(2)\n"), 0u);
  EXPECT_EQ(count(449), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("x + 1", 0x2), 0u);
  EXPECT_EQ(count(8), 1);  // a value where a variable is required
}

TEST_F(Getmeta, Substrings) {
  EXPECT_EQ(eval("c(2:1)", 0x3, "character c\n"), 0x2u);
  EXPECT_EQ(count(822), 1);
  EXPECT_EQ(charsubsize, 0);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("c(2:4)", 0x3, "character c\n"), 0x2u);
  EXPECT_EQ(charsubsize, 3);
  EXPECT_EQ(got_typ.value, 3);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("c(0:9)", 0x3, "character c\n"), 0x2u);
  EXPECT_EQ(count(169), 2);
}

TEST_F(Getmeta, IntegerLiteralTypesFollowTheDialect) {
  struct Row { uint32_t compiler; const char* expr; uint8_t code; };
  const Row rows[] = {{8, "40000", 4}, {8, "32767", 20}, {0, "32767", 3}, {0, "40000", 4},
                      {65536, "32767", 20}, {65536, "32768", 4}, {64, "1", 4},
                      {128, "40000", 20}, {4, "000001", 4}, {8, "5I", 3}, {8, "5J", 4}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expr);
    at_expression("", r.expr);
    ropt.compiler = r.compiler;
    defdtypes[3] = 20;
    EXPECT_EQ(getmeta(0x21), 0x1u);
    EXPECT_EQ(got_typ.code, r.code);
    TearDown();
    SetUp();
  }
}

TEST_F(Getmeta, PrefixedAndTypelessLiterals) {
  EXPECT_EQ(eval("Y'FF'"), 0x1u);
  EXPECT_EQ(got_typ.code, 4);
  EXPECT_EQ(got_val.i, 255);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("Z'FF'"), 0x1u);
  EXPECT_EQ(got_typ.code, 16);
  EXPECT_EQ(got_ok, 0u);
  TearDown();
  SetUp();
  at_expression("", "$1F");
  ropt.compiler = 256;  // "$" is no name character in this dialect
  EXPECT_EQ(getmeta(0x21), 0x1u);
  EXPECT_EQ(got_val.i, 31);
}

TEST_F(Getmeta, KindsWrittenWithLiterals) {
  EXPECT_EQ(eval("2.5_8"), 0x1u);
  EXPECT_EQ(got_typ.code, 6);
  EXPECT_EQ(dnkind, 8);
  EXPECT_DOUBLE_EQ(got_val.d, 2.5);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("1_'ab'"), 0x1u);
  EXPECT_EQ(got_typ.code, 14);
  EXPECT_EQ(got_typ.value, 2);
  EXPECT_EQ(count(732), 0);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("3_'ab'"), 0x1u);
  EXPECT_EQ(count(732), 1);
}

TEST_F(Getmeta, FunctionReferencesAndArrayValuedOperands) {
  EXPECT_EQ(eval("f(1, 2) + 1", 0x1), 0x1u);
  EXPECT_EQ(got_ok, 0u);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("f(1)", 0x1), 0x1u);
  EXPECT_EQ(got_epflags, 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("f(1)", 0x2), 0u);
  EXPECT_EQ(count(115), 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("a + 1", 0x801, "dimension a(4)\n"), 0x800u);
  EXPECT_EQ(got_arrsecdims, 1);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("(/ 1, 2, 3 /)", 0x801), 0x800u);
  EXPECT_EQ(got_arrsecdims, 1);
  EXPECT_EQ(got_arrelm, 3);
  TearDown();
  SetUp();
  EXPECT_EQ(eval("(/ 0, (i, i = 1, 3) /)", 0x801), 0x800u);
  EXPECT_EQ(got_arrsecdims, 1);
  EXPECT_EQ(got_arrelm, 0);  // not counted
  EXPECT_EQ(pstat[tk.stacol], 10);
}

TEST_F(Getmeta, StructureComponents) {
  at_expression("", "v%x * 2");
  // TYPE T with a REAL component X and an INTEGER array component K(3);
  // V is of type T.
  struct Member { locsym* sym; Member* next; };
  locsym* t = getsym("T", 1, 1, 0);
  t->sclass = SC_STRUCT90;
  locsym* x = getsym("X", 1, 1, -1);
  x->type.code = 21;
  x->type.tag = 'p';
  locsym* k = getsym("K", 1, 1, -1);
  k->type.code = 20;
  k->type.tag = 'p';
  struct Dim { int32_t lower, upper; uint8_t flags, hpf; Dim* next; };
  Dim* d = local_new<Dim>();
  d->lower = 1;
  d->upper = 3;
  k->arrspec = d;
  Member* m2 = local_new<Member>();
  m2->sym = k;
  Member* m1 = local_new<Member>();
  m1->sym = x;
  m1->next = m2;
  t->list = m1;
  locsym* v = getsym("V", 1, 1, 0);
  v->sclass = SC_REC90;
  v->type.code = 26;
  PSetQStructsym(&v->type, t);
  EXPECT_EQ(getmeta(0x1), 0x1u);
  EXPECT_EQ(got_typ.code, 21);
  EXPECT_EQ(got_toprec, v);
  // Another component name, and an array component where scalars are read.
  tk.stacol = rsrc.statbeg + 2;
  std::memcpy(pstat + tk.stacol, "V%Y", 3);
  pstat[tk.stacol + 3] = 10;
  rsrc.statend = tk.stacol + 3;
  getmeta(0x1);  // an unknown component is reported and reading goes on
  EXPECT_EQ(count(147), 1);
  EXPECT_EQ(got_ok, 0u);
  tk.stacol = rsrc.statbeg + 2;
  std::memcpy(pstat + tk.stacol, "V%K+1", 5);
  pstat[tk.stacol + 5] = 10;
  rsrc.statend = tk.stacol + 5;
  EXPECT_EQ(getmeta(0x801), 0x800u);
  EXPECT_EQ(got_arrsecdims, 1);
  EXPECT_EQ(getdtname(got_typ.code), TC_INTEGER);
  tk.stacol = rsrc.statbeg + 2;
  std::memcpy(pstat + tk.stacol, "V%K(4)", 6);
  pstat[tk.stacol + 6] = 10;
  rsrc.statend = tk.stacol + 6;
  EXPECT_EQ(getmeta(0x1), 0x1u);
  EXPECT_EQ(count(176), 1);
}

TEST_F(Getmeta, TheStackLimitIsReported) {
  // The statement buffer is filled directly: no source line is that long.
  auto fill = [](const std::string& expr) {
    int32_t p = tk.stacol;
    std::memcpy(pstat + p, expr.data(), expr.size());
    rsrc.statend = p + static_cast<int32_t>(expr.size());
    pstat[rsrc.statend] = 10;
  };
  at_expression("", "1");
  fill(std::string(3000, '(') + "1" + std::string(3000, ')'));
  EXPECT_EQ(getmeta(0x1), 0x1u);  // parentheses take no records
  EXPECT_EQ(got_val.i, 1);
  TearDown();
  SetUp();
  at_expression("", "1");
  std::string sum;
  for (int i = 0; i < 4997; ++i) sum += "1+";
  fill(sum + "1");
  EXPECT_EQ(getmeta(0x1), 0x1u);  // "+" is left-associative: one record at a time
  EXPECT_EQ(got_val.i, 4998);
  TearDown();
  SetUp();
  at_expression("", "1");
  fill(std::string(4998, '-') + "1");
  EXPECT_EQ(getmeta(0x1), 0x1u);  // 4,998 records and the base marker: 4,999 in use
  EXPECT_EQ(got_val.i, 1);
  EXPECT_EQ(count(166), 0);
  TearDown();
  SetUp();
  at_expression("", "1");
  fill(std::string(4999, '-') + "1");
  EXPECT_EQ(getmeta(0x1), 0u);
  EXPECT_EQ(count(166), 1);
  EXPECT_EQ(unit.statfe, 1);
  // The stack is free again.
  TearDown();
  SetUp();
  at_expression("", "2*3");
  EXPECT_EQ(getmeta(0x1), 0x1u);
}

}  // namespace

namespace {

TEST(ExprKinds, ExpressionAndArrayMasks) {
  struct Row { uint32_t kind; int32_t exp, arr; };
  const Row rows[] = {{0, 0, 0},       {0x1, 1, 0},      {0x2, 0, 0},     {0x4, 0, 1},
                      {0x8, 0, 0},     {0x10, 0, 0},     {0x40, 0, 1},    {0x100, 0, 0},
                      {0x200, 0, 1},   {0x400, 0, 1},    {0x800, 1, 1},   {0x1000, 0, 0},
                      {0x40000, 1, 1}, {0x80000, 1, 0},  {0x100000, 1, 0}, {0x200000, 1, 1}};
  for (const Row& r : rows) {
    EXPECT_EQ(is_exp(r.kind), r.exp) << std::hex << r.kind;
    EXPECT_EQ(is_arrayexp(r.kind), r.arr) << std::hex << r.kind;
  }
  EXPECT_EQ(get_array_rank(nullptr), 0);
}

}  // namespace

// A name that only the argument-list reader finds to be an intrinsic (one
// the global store already knows, so the expression reader does not take
// it for an intrinsic itself): an array-valued result (CSHIFT of a rank-1
// array) makes the reference an array operand of that rank.
TEST_F(Getmeta, IntrinsicFoundByTheArgumentListKeepsItsArrayResult) {
  ropt.compiler = 8;  // a dialect that offers the intrinsics
  at_expression("dimension a(1:4)\n", "cshift(a, 1)");
  locsym* f = getsym("CSHIFT", 6, 1, 0);
  ASSERT_NE(f, nullptr);
  f->glorec = 1;
  EXPECT_EQ(getmeta(0x801), 0x800u);
  EXPECT_EQ(got_arrsecdims, 1);
  EXPECT_EQ(f->squal, SQ_INTRINSIC);
}
