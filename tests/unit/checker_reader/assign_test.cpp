// Assignments, pointer assignments, ALLOCATE and the INTENT and OPTIONAL
// statements in units whose dummies and PURE prefix are set up by hand:
// the checks that depend on them, each with a valid neighbour.
#include <cstring>
#include <initializer_list>

#include "checker/reader/assignstmt.h"
#include "checker/reader/attrstmt.h"
#include "checker/reader/commonstmt.h"
#include "checker/reader/dertype.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/typedecl.h"
#include "checker/reader/unitstmt.h"
#include "checker/reader/vendorexec.h"
#include "checker/semantics/intrinsics.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/sizes.h"
#include "checker/semantics/unit_queries.h"
#include "tests/unit/checker_reader/reader_fixture.h"

namespace {

constexpr int32_t ST_SUBROUTINE_CODE = 70;
constexpr int32_t ST_FUNCTION_CODE = 37;
constexpr int32_t ST_INTENT_CODE = 116;
constexpr int32_t ST_OPTIONAL_CODE = 121;
constexpr int32_t ST_ALLOCATE_CODE = 105;
constexpr int32_t ST_DEALLOCATE_CODE = 109;

class Assign : public ReaderTest {
 protected:
  // Reads the next statement and runs handler h on it; with a keyword the
  // keyword is read first (its row goes to the handler).
  void run(StmtHandler h, int32_t code, int32_t cls, bool keyword) {
    ASSERT_NE(nextstat(), -1);
    cleanStmtKey();
    tk.stacol = rsrc.statbeg;
    const KeyRow* row = keyword ? getkey() : nullptr;
    StmtCall c{row, code, cls, cls, 0};
    h(c);
  }

  // Opens "subroutine s(...)" or "function f(...)" from the first line of
  // the source, gives the unit the attribute bits and makes the names of
  // dummies its dummy arguments.
  void open_unit(bool function, uint32_t attrib, std::initializer_list<const char*> dummies) {
    prgbeg();
    run(function ? shfunc : shsub, function ? ST_FUNCTION_CODE : ST_SUBROUTINE_CODE, CL_PROGTYPE,
        true);
    ASSERT_NE(prgnam, nullptr);
    prgnam->attrib |= attrib;
    for (const char* d : dummies) {
      locsym* s = getsym(d, static_cast<int32_t>(std::strlen(d)), 1, 0);
      ASSERT_NE(s, nullptr);
      s->usage |= QB_DUM;
      s->owner = prgnam;
    }
  }

  // The handler of the specification statements these tests use.
  static StmtHandler spec_handler(int32_t code) {
    switch (code) {
      case 10: return shcommon;
      case 71: return which_TYPE;
      case 113: return shendtype;
      case 34: return shextern;
      case 69: return shstruct;
      case 30: return shendstruct;
      case 61: return shrecord;
      case ST_INTENT_CODE: return shintent;
      case ST_OPTIONAL_CODE: return shoptional;
      default: return shvardec;
    }
  }

  // Reads the declarations of decl (one a line) through their handlers.
  void declarations(const char* decl) {
    int32_t lines = 0;
    for (const char* p = decl; *p; ++p) lines += *p == '\n';
    for (int32_t i = 0; i < lines; ++i) {
      ASSERT_NE(nextstat(), -1);
      cleanStmtKey();
      tk.stacol = rsrc.statbeg;
      const KeyRow* row = getkey();
      ASSERT_NE(row, nullptr) << decl;
      StmtCall call{row, row->code, CL_SPEC, CL_SPEC, 0};
      spec_handler(row->code)(call);
    }
  }

  void assign() { run(shasm, 0, CL_EXEC, false); }
  void pointer_assign() { run(shptrasm, 0, CL_EXEC, false); }
};

}  // namespace

// The messages of assignments in a PURE procedure: the variable (809
// global, 810 dummy) and a value with a pointer component copied from
// global data or a dummy (813, 814); a local variable or an INTENT(OUT)
// dummy of a subroutine may be assigned.
TEST_F(Assign, PureProcedureAssignments) {
  struct Case {
    bool function;
    const char* decl;  // declarations, one a line
    const char* stmt;  // the assignment
    int32_t msg;       // expected message, 0 none
  } cases[] = {
      {false, "real :: y\ncommon /c/ y\n", "y = 1.0", 809},
      {false, "real :: x\nintent(in) :: x\n", "x = 1.0", 810},
      {true, "real :: x\n", "x = 1.0", 810},
      {false, "real :: x\nintent(out) :: x\n", "x = 1.0", 0},
      {false, "real :: z\n", "z = 1.0", 0},
      {false, "type t\nreal, pointer :: p\nend type t\ntype(t) :: d, w\nintent(in) :: d\n",
       "w = d", 814},
      {false, "type t\nreal :: v\nend type t\ntype(t) :: d, w\nintent(in) :: d\n", "w = d", 0},
  };
  for (const Case& c : cases) {
    SetUp();
    std::string text = std::string(c.function ? "function f(x, d)\n" : "subroutine s(x, d)\n") +
                       c.decl + c.stmt + "\nend\n";
    open_source(text, ".f90");
    open_unit(c.function, ATTR_PURE, {"X", "D"});
    declarations(c.decl);
    assign();
    for (int32_t n : {809, 810, 813, 814}) EXPECT_EQ(count(n), n == c.msg ? 1 : 0) << text << n;
    TearDown();
  }
}

// Pointer targets: an INTENT(IN) dummy (745); in a PURE procedure a
// global target (811) or a dummy the procedure may not change (812).
TEST_F(Assign, PointerTargets) {
  struct Case {
    uint32_t attrib;   // PURE or nothing
    const char* decl;
    const char* stmt;
    int32_t msg;
  } cases[] = {
      {0, "real, pointer :: p\nreal, target :: x\nintent(in) :: x\n", "p => x", 745},
      {0, "real, pointer :: p\nreal, target :: x\nintent(inout) :: x\n", "p => x", 0},
      {ATTR_PURE, "real, pointer :: p\nreal, target :: y\ncommon /c/ y\n", "p => y", 811},
      {ATTR_PURE, "real, pointer :: p\nreal, target :: x\n", "p => x", 0},
      {ATTR_PURE, "real, pointer :: p\nreal, target :: z\n", "p => z", 0},
  };
  for (const Case& c : cases) {
    SetUp();
    std::string text = std::string("subroutine s(x)\n") + c.decl + c.stmt + "\nend\n";
    open_source(text, ".f90");
    open_unit(false, c.attrib, {"X"});
    declarations(c.decl);
    pointer_assign();
    for (int32_t n : {670, 745, 811, 812}) EXPECT_EQ(count(n), n == c.msg ? 1 : 0) << text << n;
    TearDown();
  }
}

// A dummy of a PURE function is not to be changed: 812 as a target, 816
// allocated; 815 for a global object allocated.
TEST_F(Assign, PureFunctionDummiesAndGlobals) {
  const char* decl = "real, pointer :: p, x\nreal, pointer :: q(:)\n";
  open_source(std::string("function f(x)\n") + decl +
                  "p => x\nallocate (x)\nallocate (q(3))\ndeallocate (p)\nend\n",
              ".f90");
  open_unit(true, ATTR_PURE, {"X"});
  declarations(decl);
  // Q as a module would give it by USE.
  locsym* q = getsym("Q", 1, 0, 0);
  ASSERT_NE(q, nullptr);
  q->attrib |= 0x8000;
  pointer_assign();
  run(shallocate, ST_ALLOCATE_CODE, CL_EXEC, true);
  run(shallocate, ST_ALLOCATE_CODE, CL_EXEC, true);
  run(shdeallocate, ST_DEALLOCATE_CODE, CL_EXEC, true);
  EXPECT_EQ(count(812), 1);
  EXPECT_EQ(count(816), 1);
  EXPECT_EQ(count(815), 1);
  EXPECT_EQ(count(663), 0);
}

// An initial value in a PURE procedure (808); a component default of a
// type defined there is no local object.
TEST_F(Assign, InitialValueInPureProcedure) {
  struct Case {
    uint32_t attrib;
    const char* decl;
    int32_t n808;
  } cases[] = {
      {ATTR_PURE, "integer :: k = 3\n", 1},
      {0, "integer :: k = 3\n", 0},
      {ATTR_PURE, "type t\ninteger :: i = 0\nend type t\n", 0},
  };
  for (const Case& c : cases) {
    SetUp();
    open_source(std::string("subroutine s\n") + c.decl + "end\n", ".f90");
    open_unit(false, c.attrib, {});
    declarations(c.decl);
    EXPECT_EQ(count(808), c.n808) << c.decl;
    TearDown();
  }
}

// INTENT and OPTIONAL on dummies: the attribute bits are set, a later
// INTENT replaces an earlier one; a dummy procedure takes no INTENT (620).
TEST_F(Assign, IntentAndOptionalOnDummies) {
  const char* decl = "intent(in) :: a, b\noptional :: b\nintent(inout) :: a\nexternal g\nintent(in) g\n";
  open_source(std::string("subroutine s(a, b, g)\n") + decl + "end\n", ".f90");
  open_unit(false, 0, {"A", "B", "G"});
  declarations(decl);
  locsym* a = getsym("A", 1, 0, 0);
  locsym* b = getsym("B", 1, 0, 0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->attrib & 0x70u, 0x60u);
  EXPECT_EQ(b->attrib & 0x70u, 0x30u);
  EXPECT_EQ(count(620), 1);
  EXPECT_EQ(count(621), 0);
  EXPECT_EQ(count(632), 0);
}

// Statement functions: the uses of a dummy in the body are kept on the
// dummy's node, not on the variable of the same name.
TEST_F(Assign, StatementFunctionDummyUsesStayWithTheDefinition) {
  open_source("subroutine s\nf(x, y) = x + 2.0 * z\nend\n", ".f90");
  open_unit(false, 0, {});
  run(shstafun, 0, CL_STFUNC, false);
  locsym* f = getsym("F", 1, 0, 0);
  locsym* x = getsym("X", 1, 0, 0);
  locsym* z = getsym("Z", 1, 0, 0);
  ASSERT_NE(f, nullptr);
  ASSERT_NE(x, nullptr);
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(f->squal, SQ_STATFUN);
  const StatFuncDummy* d = static_cast<const StatFuncDummy*>(f->list);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->sym, x);
  EXPECT_TRUE(d->usage & QB_REF);
  ASSERT_NE(d->next, nullptr);
  EXPECT_EQ(d->next->usage, 0u);
  EXPECT_EQ(x->usage & QB_REF, 0u);
  EXPECT_NE(z->usage & QB_REF, 0u);
  EXPECT_EQ(x->sclass, SC_UNK);
}

// Record sizes: a STRUCTURE is the sum of its components (a %FILL
// component counts, a nested STRUCTURE is a record component), a record
// is its elements times its STRUCTURE.
TEST_F(Assign, RecordSizes) {
  const char* decl =
      "structure /point/\nreal px, py\ninteger*4 %fill\nend structure\n"
      "structure /line/\nrecord /point/ from, to\nstructure /color/ col\ninteger*2 red, green\n"
      "end structure\nend structure\nrecord /point/ p1, p2(10)\nrecord /line/ l\n";
  open_source(std::string("subroutine s\n") + decl + "end\n", ".f90");
  open_unit(false, 0, {});
  declarations(decl);
  struct Want {
    const char* name;
    int32_t size;
  } wants[] = {{"P1", 12}, {"P2", 120}, {"L", 28}};
  for (const Want& w : wants) {
    locsym* r = getsym(w.name, static_cast<int32_t>(std::strlen(w.name)), 0, 0);
    ASSERT_NE(r, nullptr) << w.name;
    EXPECT_EQ(r->sclass, SC_REC) << w.name;
    EXPECT_EQ(setsizrec(r), w.size) << w.name;
  }
  for (int32_t n : {5, 14, 24, 38, 148, 150, 151, 244, 539}) EXPECT_EQ(count(n), 0) << n;
}

// The database clause table: one letter per statement; the rows the
// statement forms fix.
TEST(DbmsKeywords, RowsAndLookup) {
  struct Case {
    const char* word;
    int32_t statement;  // 1 INVOKE ... 19 STORE
    char letter;
  } cases[] = {{"ERR", 1, ' '},      {"ERR", 2, 's'},       {"ERR", 19, 's'},
               {"OFFSET", 10, ' '},  {"OFFSET", 11, 'i'},   {"OFFSET", 17, 'i'},
               {"OFFSET", 18, ' '},  {"SUBSCHEMA", 1, 'e'}, {"SUBSCHEMA", 2, ' '},
               {"PROTECTED", 2, '?'}, {"WAIT", 2, '?'},     {"WAIT", 3, ' '},
               {"PROCEDURE", 3, 'r'}, {"PROCEDURE", 1, ' '}};
  for (const Case& c : cases) {
    const DbmsKeyword* k = find_dbms_keyword(c.word, static_cast<int32_t>(std::strlen(c.word)));
    ASSERT_NE(k, nullptr) << c.word;
    EXPECT_EQ(k->pattern[c.statement - 1], c.letter) << c.word << " " << c.statement;
  }
  EXPECT_EQ(find_dbms_keyword("ERRS", 4), nullptr);
  EXPECT_EQ(find_dbms_keyword("ER", 2), nullptr);
}

// A statement-function body that passes its dummy X to G keeps the pass
// with the dummy; a reference to F then passes its actual on: a dummy of
// the unit (A) gets its pass record (dummypass) and keeps the uses the
// body makes of X, any other name (C) may be defined through G. A dummy
// of the unit that the body itself passes (B) gets its record when the
// definition ends; a dummy never passed (D) has none. A statement
// function's reference has no known value.
TEST_F(Assign, StatementFunctionPassesGoOnToTheActuals) {
  open_source(
      "subroutine s(a, b, d)\n"
      "f(x) = g(x) + 1.0\n"
      "h(y) = g(b) + y\n"
      "r = f(a)\n"
      "q = f(c)\n"
      "end\n",
      ".f90");
  open_unit(false, 0, {"A", "B", "D"});
  run(shstafun, 0, CL_STFUNC, false);
  run(shstafun, 0, CL_STFUNC, false);
  locsym* f = getsym("F", 1, 0, 0);
  locsym* g = getsym("G", 1, 0, 0);
  ASSERT_NE(f, nullptr);
  ASSERT_NE(g, nullptr);
  const StatFuncDummy* x = static_cast<const StatFuncDummy*>(f->list);
  ASSERT_NE(x, nullptr);
  ASSERT_NE(x->passes, nullptr);
  EXPECT_EQ(x->passes->proc, g);
  EXPECT_EQ(x->passes->word, 0);
  EXPECT_EQ(x->passes->next, nullptr);
  auto node = [](const char* name) -> const DummyNode* {
    for (const DummyNode* d = static_cast<const DummyNode*>(prgnam->list); d != nullptr; d = d->next) {
      if (std::strcmp(d->sym->name, name) == 0) return d;
    }
    return nullptr;
  };
  ASSERT_NE(node("A"), nullptr);
  ASSERT_NE(node("B"), nullptr);
  EXPECT_EQ(node("A")->unkfirst, nullptr);
  EXPECT_NE(node("B")->unkfirst, nullptr);
  assign();
  EXPECT_NE(node("A")->unkfirst, nullptr);
  locsym* a = getsym("A", 1, 0, 0);
  EXPECT_NE(a->usage & QB_INDIRECT, 0u);
  EXPECT_NE(a->usage & QB_ACT, 0u);
  gota_valok = 1;
  gota_const = 1;
  assign();
  EXPECT_EQ(gota_valok, 0u);
  EXPECT_EQ(gota_const, 0u);
  locsym* c = getsym("C", 1, 0, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_NE(c->usage & QB_INDIRECT, 0u);
  EXPECT_EQ(node("D")->unkfirst, nullptr);
}
