// The TVX 3.0 writer driven through its hooks: the lines of a routine item
// and the links of the statement chain for loops, IF constructs, labels,
// GO TO, RETURN and STOP.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "checker/base/cmmdline.h"
#include "checker/common/qualcodes.h"
#include "checker/base/passes.h"
#include "checker/base/source.h"
#include "checker/semantics/locsym.h"
#include "checker/base/tvxutil.h"

namespace {

class TvxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tvx_reset();
    std::snprintf(path_, sizeof path_, "/tmp/tarvo_tvx_%d.tvx", static_cast<int>(::getpid()));
    an.pass = 1;
    an.lpass = 1;
    an.mkdep_opt = 1;  // a dependency pass runs
    rsrc.lincnt = 0;
    Status.scope_level = 1;
    sym_ = locsym{};
    sym_.name = name_;
    sym_.sclass = SC_SUB;
    prgnam = &sym_;
    CTVX_Init(path_);
    // The routines below lie in the registered file so#1.
    rsrc.filename = "t.f90";
    an.pass = 0;
    CTVX_SrcOpen("t.f90");
    an.pass = 1;
  }
  void TearDown() override {
    tvx_reset();
    an.mkdep_opt = 0;
    prgnam = nullptr;
    Status.scope_level = 0;
    std::remove(path_);
  }
  // Everything written after the two header lines.
  std::string body() {
    std::fflush(tvxstate.VTVX_Stream);
    std::ifstream in(path_);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string header = "<TVX 3.0>\nlang fortran\n\nso#1 t.f90\n\n";
    EXPECT_EQ(text.substr(0, header.size()), header);
    return text.substr(header.size());
  }
  void start(const char* name) {
    std::snprintf(name_, sizeof name_, "%s", name);
    CTVX_SubStart(name_);
  }
  char path_[64];
  char name_[40] = "S";
  locsym sym_{};
};

constexpr const char* routine_head = "\nro#1 S\nrlink f90\nrkind fext\n";

TEST_F(TvxTest, EmptyRoutineHasItsLinesAndAnEmptyBody) {
  start("S");
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) + "rbody st#0\n");
}

TEST_F(TvxTest, RoutineKindAndLinkFollowTheUnitSymbol) {
  struct Row {
    uint8_t sclass, squal;
    const char* rlink;
    const char* rkind;
  };
  const Row rows[] = {
      {SC_EXT, 0, "f90", "fext"},       {SC_SUB, 0, "f90", "fext"},
      {SC_FUNC, 0, "f90", "fint"},      {SC_PROG, 0, "f90", "fprog"},
      {SC_BLKD, 0, "f90", "fbldat"},    {SC_MODULEPROC, 7, "fint", "fmproc"},
      {SC_VAR, SQ_STATFUN, "fint", "fstfn"}, {SC_VAR, SQ_INTRINSIC, "f90", "fintrin"},
      {SC_VAR, 0, "f90", "funspec"},
  };
  int32_t id = 0;
  for (const Row& r : rows) {
    sym_.sclass = r.sclass;
    sym_.squal = r.squal;
    std::string name = "R" + std::to_string(++id);
    start(name.c_str());
  }
  CTVX_FinishRoutine();
  // Each new unit first ends the one before it.
  std::string got = body();
  std::string want;
  id = 0;
  for (const Row& r : rows) {
    if (id > 0) want += "rbody st#0\n";
    std::string name = "R" + std::to_string(++id);
    want += "\nro#" + std::to_string(id) + " " + name + "\nrlink " + r.rlink + "\nrkind " + r.rkind + "\n";
  }
  want += "rbody st#0\n";
  EXPECT_EQ(got, want);
}

TEST_F(TvxTest, UnitInAModuleIsNamedAfterItsModule) {
  locsym mod{};
  char modname[] = "MODA";
  mod.name = modname;
  mod.sclass = SC_MODULE;
  ScopeOne[1].unitsym = &mod;
  Scope = ScopeOne;
  Status.scope_level = 2;
  start("S");
  CTVX_FinishRoutine();
  ScopeOne[1].unitsym = nullptr;
  EXPECT_EQ(body(), "\nro#1 MODA::S\nrlink f90\nrkind fext\nrbody st#0\n");
}

TEST_F(TvxTest, NothingIsWrittenOutsideTheLocalPass) {
  an.lpass = 0;
  start("S");
  CTVX_GenRSTMT(1, 2, 1, 2, 5, "fassign");
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), "");
}

TEST_F(TvxTest, HooksDoNothingWithoutTheFile) {
  tvx_reset();
  start("S");
  CTVX_StartLoop(1, 1, 1, 0);
  CTVX_GenRSTMT(1, 2, 1, 2, 5, "fassign");
  CTVX_FinishF90Loop(1, 3, 6);
  CTVX_FinishRoutine();
  EXPECT_FALSE(tvxstate.functionStarted);
  EXPECT_EQ(tvxstate.tvx_stmtCount, 0);
  EXPECT_EQ(CTVX_GetCurrentFileId(), -1);
}

TEST_F(TvxTest, SourceFilesAreRegisteredInPassZeroOnly) {
  CTVX_SrcOpen("a.f90");
  an.pass = 0;
  CTVX_SrcOpen("a.f90");
  CTVX_SrcOpen("b.f90");
  CTVX_SrcOpen("a.f90");
  EXPECT_EQ(body(), "\nso#2 a.f90\n\n\nso#3 b.f90\n\n\nso#4 a.f90\n\n");
  rsrc.filename = "a.f90";
  EXPECT_EQ(CTVX_GetCurrentFileId(), 4);
  rsrc.filename = "c.f90";
  EXPECT_EQ(CTVX_GetCurrentFileId(), -1);
}

TEST_F(TvxTest, WithoutADependencyPassTheFirstPassRegisters) {
  an.mkdep_opt = 0;
  CTVX_SrcOpen("a.f");
  an.pass = 2;
  CTVX_SrcOpen("b.f");
  EXPECT_EQ(body(), "\nso#2 a.f\n\n");
}

TEST_F(TvxTest, RstartAndRlocAreWrittenOncePerRoutine) {
  start("S");
  CTVX_GenRSTART(1, 3, 7);
  CTVX_GenRSTART(1, 4, 7);
  CTVX_FinishRoutine();
  // The unit has no recorded occurrence: rloc takes the place given.
  EXPECT_EQ(body(), std::string(routine_head) + "rloc so#1 3 7\nrstart so#1 3 7\nrbody st#0\n");
}

TEST_F(TvxTest, CallsNameRoutinesWithItems) {
  locsym other{};
  char other_name[] = "S";
  other.name = other_name;
  locsym unknown{};
  char unknown_name[] = "NOPE";
  unknown.name = unknown_name;
  start("S");
  CTVX_GenRCALL(&other, 1, 5, 12);
  CTVX_GenRCALL(&unknown, 1, 6, 12);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) + "rcall ro#1 no so#1 5 12\nrbody st#0\n");
}

TEST_F(TvxTest, StatementLinesCarryPositionsAndLinks) {
  start("S");
  CTVX_GenRSTMT(1, 2, 1, 2, 9, "fassign");
  CTVX_GenRSTMT(1, 3, 1, 3, 20, "fio");
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#0 fassign so#1 2 1 so#1 2 9 st#1 NA \n"
                        "rstmt st#1 fio so#1 3 1 so#1 3 20 NA NA \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, F90LoopTakesItsBodyAsUpperAndIsPendingAfterEndDo) {
  start("S");
  CTVX_StartLoop(1, 2, 1, 0);
  CTVX_GenRSTMT(1, 3, 3, 3, 9, "fassign");
  CTVX_FinishF90Loop(1, 4, 6);
  CTVX_GenRSTMT(1, 5, 1, 5, 9, "fassign");
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#1 fassign so#1 3 3 so#1 3 9 NA NA \n"
                        "rstmt st#0 fdo so#1 2 1 so#1 4 6 st#2 st#1 \n"
                        "rstmt st#2 fassign so#1 5 1 so#1 5 9 NA NA \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, TwoLoopsOnOneLabelEndOutermostFirst) {
  start("S");
  CTVX_StartLoop(1, 2, 1, 10);
  CTVX_StartLoop(1, 3, 1, 10);
  CTVX_GenRSTMT(1, 4, 1, 4, 9, "fassign");
  CTVX_GenLabel(1, 5, 1, 5, 12, 10);
  CTVX_ActivateF77Loops(10);
  CTVX_FinishF77Loops(1, 5, 12);
  CTVX_GenRSTMT(1, 6, 1, 6, 9, "fassign");
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#2 fassign so#1 4 1 so#1 4 9 st#3 NA \n"
                        "rstmt st#3 flabel so#1 5 0 NULL 0 0 NA NA \n"
                        "rstmt st#0 fdo so#1 2 1 so#1 5 12 NA st#1 \n"
                        "rstmt st#1 fdo so#1 3 1 so#1 5 12 st#4 st#2 \n"
                        "rstmt st#4 fassign so#1 6 1 so#1 6 9 NA NA \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, GotoLinksOnlyToAnEarlierLabelOfTheSameRoutine) {
  start("S");
  CTVX_GenLabel(1, 2, 1, 2, 12, 20);
  CTVX_FinishRoutine();
  start("T");
  CTVX_GenGoto(1, 5, 1, 5, 9, 20);     // forward: label 20 of S does not count
  CTVX_GenLabel(1, 6, 1, 6, 12, 20);
  CTVX_GenGoto(1, 7, 1, 7, 9, 20);     // backward
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#0 flabel so#1 2 0 NULL 0 0 NA NA \n"
                        "rbody st#0\n"
                        "\nro#2 T\nrlink f90\nrkind fext\n"
                        "rstmt st#0 fgoto so#1 5 1 so#1 5 9 st#1 NA \n"
                        "rstmt st#1 flabel so#1 6 0 NULL 0 0 st#2 NA \n"
                        "rstmt st#2 fgoto so#1 7 1 so#1 7 9 NA NA st#1 \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, OutermostIfWithElseIfAndElse) {
  start("S");
  CTVX_StartIf(1, 2, 1);
  CTVX_GenRSTMT(1, 3, 3, 3, 7, "fassign");
  CTVX_HandleElseIf(1, 4, 1);
  CTVX_GenRSTMT(1, 5, 3, 5, 7, "fassign");
  CTVX_HandleElse();
  CTVX_GenRSTMT(1, 7, 3, 7, 7, "fassign");
  CTVX_HandleEndIf(1, 8, 6);
  CTVX_GenRSTMT(1, 9, 1, 9, 5, "fassign");
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#1 fassign so#1 3 3 so#1 3 7 NA NA \n"
                        "rstmt st#3 fassign so#1 5 3 so#1 5 7 NA NA \n"
                        "rstmt st#4 fassign so#1 7 3 so#1 7 7 NA NA \n"
                        "rstmt st#2 fif so#1 4 1 so#1 8 6 NA st#3 st#4 \n"
                        "rstmt st#0 fif so#1 2 1 so#1 8 6 st#5 st#1 st#2 \n"
                        "rstmt st#5 fassign so#1 9 1 so#1 9 5 NA NA \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, EmptyThenBlockBeforeElseIf) {
  start("S");
  CTVX_StartIf(1, 2, 1);
  CTVX_HandleElseIf(1, 3, 1);
  CTVX_HandleEndIf(1, 4, 6);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#1 fif so#1 3 1 so#1 4 6 NA NA \n"
                        "rstmt st#0 fif so#1 2 1 so#1 4 6 NA st#1 st#1 \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, EmptyThenBlockBeforeEndIfHasNoUpper) {
  start("S");
  CTVX_StartIf(1, 2, 1);
  CTVX_HandleEndIf(1, 3, 6);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#0 fif so#1 2 1 so#1 3 6 NA NA \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, InnerIfFollowedByAssignmentIsPrintedTwice) {
  start("S");
  CTVX_StartIf(1, 2, 1);
  CTVX_StartIf(1, 3, 3);
  CTVX_GenRSTMT(1, 4, 5, 4, 9, "fassign");
  CTVX_HandleEndIf(1, 5, 8);
  CTVX_GenRSTMT(1, 6, 3, 6, 7, "fassign");
  CTVX_HandleEndIf(1, 7, 6);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#2 fassign so#1 4 5 so#1 4 9 NA NA \n"
                        "rstmt st#1 fif so#1 3 3 so#1 5 8 NA st#2 \n"
                        "rstmt st#1 fif so#1 3 3 so#1 5 8 st#3 st#2 \n"
                        "rstmt st#3 fassign so#1 6 3 so#1 6 7 NA NA \n"
                        "rstmt st#0 fif so#1 2 1 so#1 7 6 NA st#1 \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, InnerIfFollowedByEnclosingEndIfIsPrintedOnce) {
  start("S");
  CTVX_StartIf(1, 2, 1);
  CTVX_StartIf(1, 3, 3);
  CTVX_GenRSTMT(1, 4, 5, 4, 9, "fassign");
  CTVX_HandleEndIf(1, 5, 8);
  CTVX_HandleEndIf(1, 6, 6);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#2 fassign so#1 4 5 so#1 4 9 NA NA \n"
                        "rstmt st#1 fif so#1 3 3 so#1 5 8 NA st#2 \n"
                        "rstmt st#0 fif so#1 2 1 so#1 6 6 NA st#1 \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, LogicalIfBecomesSingleIf) {
  start("S");
  CTVX_StartIf(1, 2, 1);
  CTVX_GenRSTMT(1, 2, 12, 2, 16, "fassign");
  CTVX_HandleSingleEndIf(1, 2, 16);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#1 fassign so#1 2 12 so#1 2 16 NA NA \n"
                        "rstmt st#0 fsingle_if so#1 2 1 so#1 2 16 NA st#1 \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, ReturnOnTheSecondLineOfAContinuedLogicalIf) {
  rsrc.lincnt = 2;
  stmtlines.text[0] = "      IF (X .GT. 1)";
  stmtlines.text[1] = "     &   RETURN";
  start("S");
  CTVX_GenRRET(1, 10, 7, 39);
  CTVX_FinishRoutine();
  EXPECT_TRUE(tvxstate.VTVX_PrevIf == false);  // the clause is on a line of its own
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rloc so#1 10 7\n"
                        "rstart so#1 10 7\n"
                        "rstmt st#0 freturn so#1 11 10 NULL 0 0 NA NA \n"
                        "rbody st#0\n");
  rsrc.lincnt = 0;
}

TEST_F(TvxTest, ImplicitReturnKeepsItsPlace) {
  start("S");
  CTVX_GenRRET(1, 8, 1);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rloc so#1 8 1\n"
                        "rstart so#1 8 1\n"
                        "rstmt st#0 freturn so#1 8 1 NULL 0 0 NA NA \n"
                        "rbody st#0\n");
}

TEST_F(TvxTest, StopWordIsFoundInTheStatementLines) {
  rsrc.lincnt = 1;
  stmtlines.text[0] = "      if (k) stop";
  start("S");
  CTVX_GenRSTOP(1, 4, 7);
  EXPECT_TRUE(tvxstate.VTVX_PrevIf);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#0 fstop so#1 4 14 NULL 0 0 NA NA \n"
                        "rbody st#0\n");
  rsrc.lincnt = 0;
}

TEST_F(TvxTest, CallOfExitIsAStop) {
  locsym exit_sym{};
  char exit_name[] = "EXIT";
  exit_sym.name = exit_name;
  start("S");
  CTVX_GenRCALL(&exit_sym, 1, 3, 12);
  CTVX_FinishRoutine();
  EXPECT_EQ(body(), std::string(routine_head) +
                        "rstmt st#0 fstop so#1 3 12 NULL 0 0 NA NA \n"
                        "rbody st#0\n");
}

TEST(TvxText, SubstringColumnIsOneBased) {
  struct Row {
    const char* line;
    const char* word;
    int32_t col;
  };
  const Row rows[] = {
      {"RETURN", "RETURN", 1}, {"      return", "return", 7}, {"   STOP", "stop", 0},
      {"", "STOP", 0},         {"x = 1", "", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(CTVX_GetSubstringCol(r.line, r.word), r.col) << r.line;
}

TEST(TvxText, IfClauseTestLooksBeforeTheColumn) {
  tvx_reset();
  char path[] = "/tmp/tarvo_tvx_clause.tvx";
  CTVX_Init(path);
  struct Row {
    const char* line;
    int32_t col;
    bool clause;
  };
  const Row rows[] = {
      {"      IF (X) RETURN", 14, true},  {"      IF (X)RETURN", 13, true},
      {"      RETURN", 7, false},          {")RETURN", 2, false},  // column 1 is never looked at
      {"      IF (X) RETURN", 0, false},   {"      IF (X) RETURN", 135, false},
      {"   \t  )  \t RETURN", 12, true},
  };
  rsrc.lincnt = 1;
  for (const Row& r : rows) {
    stmtlines.text[0] = r.line;
    CTVX_CheckForIfClause(r.col);
    EXPECT_EQ(tvxstate.VTVX_PrevIf, r.clause) << r.line << " " << r.col;
  }
  rsrc.lincnt = 0;
  CTVX_CheckForIfClause(14);
  EXPECT_FALSE(tvxstate.VTVX_PrevIf);
  tvx_reset();
  std::remove(path);
}

}  // namespace
