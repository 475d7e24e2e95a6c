// The keyword table and its lookup, the token reader, statement order and
// labels.
#include <cstring>

#include "checker/reader/dispatch.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using Keywords = ReaderTest;

TEST_F(Keywords, TableIsSortedByFirstLetterAndCoversEveryCode) {
  indexkey();
  bool seen[KEY_COUNT + 1] = {};
  for (int i = 0; i < KEY_COUNT; ++i) {
    ASSERT_NE(keys[i].text, nullptr);
    ASSERT_GE(keys[i].code, 1);
    ASSERT_LE(keys[i].code, KEY_COUNT);
    EXPECT_FALSE(seen[keys[i].code]) << keys[i].text;
    seen[keys[i].code] = true;
    if (i > 0) {
      EXPECT_LE(keys[i - 1].text[0], keys[i].text[0]);
    }
    // A keyword that begins with a shorter one of its letter comes later.
    for (const KeyRow* r = kwindex[keys[i].text[0] - 'A']; r < &keys[i]; ++r) {
      EXPECT_NE(std::strncmp(keys[i].text, r->text, std::strlen(keys[i].text)), 0)
          << r->text << " shadows " << keys[i].text;
    }
  }
  EXPECT_EQ(keys[KEY_COUNT].text, nullptr);
  EXPECT_EQ(kwindex[26], &keys[KEY_COUNT]);
  EXPECT_EQ(kwindex['Q' - 'A'], kwindex['R' - 'A']);
}

TEST_F(Keywords, RowsCarryClassesColumnsAndNotes) {
  struct Case {
    int32_t code, dtclass, iocol, dbnum, f77, f90;
  } cases[] = {
      {21, 6, 0, 0, 0, 0},      {8, 1, 0, 0, 0, 0},  {71, 12, 15, 0, 9039, 0},
      {57, 0, 12, 0, 0, 0},     {102, 0, 0, 3, 9124, 0}, {35, 0, 8, 12, 9037, 9037},
      {130, 0, 0, 0, -91, 9160}, {131, 0, 0, 0, -92, 0}, {58, 0, 0, 0, -1, -1},
      {107, 0, 0, 0, -90, 0},   {62, 0, 0, 0, -1, 0},  {56, 0, 18, 0, 9100, 9100}};
  for (const Case& c : cases) {
    const KeyRow* r = keyrow_of_code(c.code);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(key_dtclass(r), c.dtclass) << r->text;
    EXPECT_EQ(key_iocol(r), c.iocol) << r->text;
    EXPECT_EQ(key_dbnum(r), c.dbnum) << r->text;
    EXPECT_EQ(r->f77, c.f77) << r->text;
    EXPECT_EQ(r->f90, c.f90) << r->text;
  }
}

TEST_F(Keywords, LookupByForm) {
  struct Case {
    const char* source;
    const char* ext;
    int32_t code;  // 0: no keyword
  } cases[] = {
      {"end do\n", ".f90", 26},
      {"enddo\n", ".f90", 26},
      {"enddox = 1\n", ".f90", 0},
      {"double precision x\n", ".f90", 21},
      {"do i = 1, 2\n", ".f90", 19},
      {"      DOUBLEPRECISIONX\n", ".f", 21},
      {"      DO 10 I = 1, 2\n", ".f", 19},
      {"      ENDFILE 1\n", ".f", 27},
      {"      GO TO 10\n", ".f", 38},
      {"x = 1\n", ".f90", 0},
  };
  for (const Case& c : cases) {
    open_source(c.source, c.ext);
    ASSERT_EQ(nextstat(), -2) << c.source;
    const KeyRow* r = getkey();
    EXPECT_EQ(r ? r->code : 0, c.code) << c.source;
    if (r == nullptr) {
      EXPECT_EQ(tk.stacol, rsrc.statbeg);
    }
  }
  EXPECT_EQ(count(19), 0);  // keywords written with blanks are no message
}

TEST_F(Keywords, ConstructNames) {
  open_source("outer: do i = 1, 2\nlab: call x\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  const KeyRow* r = getkey();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->code, 19);
  EXPECT_EQ(unit.CurConstructName, "OUTER");
  unit.CurConstructName.clear();
  ASSERT_EQ(nextstat(), -2);
  r = getkey();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->code, 7);
  EXPECT_EQ(count(706), 1);
  EXPECT_EQ(unit.CurConstructName, "");
}

TEST_F(Keywords, TokensOfAStatement) {
  open_source("x(1) = 'ab' // ''\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  tk.stacol = rsrc.statbeg;
  struct Tok {
    int32_t type, tok1, len;
  } want[] = {{TT_NAME, 'X', 1},  {TT_OTHER, '(', 1}, {TT_DIGITS, '1', 1}, {TT_OTHER, ')', 1},
              {TT_OTHER, '=', 1}, {TT_CHAR, 'a', 2},  {TT_OTHER, '/', 1},  {TT_OTHER, '/', 1},
              {TT_CHAR, 'a', 0}};
  for (const Tok& w : want) {
    EXPECT_EQ(getokn(), w.type);
    EXPECT_EQ(tk.tok1, w.tok1);
    if (w.type == TT_CHAR) {
      EXPECT_EQ(tk.chartoklen, w.len);
    } else {
      EXPECT_EQ(tk.toksiz, w.len);
    }
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(getokn(), TT_OTHER);
    EXPECT_EQ(tk.tok1, 10);
  }
}

TEST_F(Keywords, SaveAndRestoreAToken) {
  open_source("call a(b)\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  tk.stacol = rsrc.statbeg;
  getokn();
  getokn();
  pshtok();
  getokn();
  getokn();
  poptok();
  EXPECT_EQ(tk.tok1, 'A');
  EXPECT_EQ(getokn(), TT_OTHER);
  EXPECT_EQ(tk.tok1, '(');
}

TEST_F(Keywords, InnerBlankOfAFixedFormNameIsMessage19) {
  open_source("      AB C = 1\n      X = Y\n     1Z\n", ".f");
  ASSERT_EQ(nextstat(), -2);
  tk.stacol = rsrc.statbeg;
  getokn();
  EXPECT_EQ(tk.toksiz, 3);
  EXPECT_EQ(count(19), 1);
  ASSERT_EQ(nextstat(), -2);
  tk.stacol = rsrc.statbeg;
  getokn();
  getokn();
  getokn();
  EXPECT_EQ(count(15), 1);  // YZ runs across the continuation line
}

TEST_F(Keywords, LabelValues) {
  struct Case {
    const char* source;
    int32_t value;  // 0: no label record
  } cases[] = {{"99999 continue\n", 99999}, {"100000 continue\n", 0}, {"0 continue\n", 0},
               {"00012 continue\n", 12}};
  int32_t msgs = 0;
  for (const Case& c : cases) {
    open_source(c.source, ".f90");
    ASSERT_EQ(nextstat(), 1) << c.source;
    tk.tokbeg = rsrc.labpos_beg;
    tk.stacol = rsrc.labpos_end;
    LabelRec* l = labfind();
    EXPECT_EQ(l ? l->value : 0, c.value) << c.source;
    if (c.value == 0) ++msgs;
  }
  EXPECT_EQ(count(26), msgs);
}

TEST_F(Keywords, LabelDefinedTwiceIsMessage101) {
  open_source("10 continue\n10 continue\n20 format(a)\n", ".f90");
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(nextstat(), 1);
    tk.tokbeg = rsrc.labpos_beg;
    tk.stacol = rsrc.labpos_end;
    lhand(labfind(), i == 2 ? 32 : 2);
  }
  EXPECT_EQ(count(101), 1);
  // A branch to a FORMAT label is message 196.
  tk.tokbeg = rsrc.labpos_beg;
  tk.stacol = rsrc.labpos_end;
  lhand(labfind(), 1);
  EXPECT_EQ(count(196), 1);
}

TEST_F(Keywords, StatementOrder) {
  open_source("x = 1\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(tstord(CL_SPEC, CL_SPEC), 1);
  EXPECT_EQ(tstord(CL_EXEC, CL_EXEC), 1);
  EXPECT_EQ(unit.parmod, CL_EXEC);
  EXPECT_EQ(tstord(CL_EXEC, CL_OPTION), 1);  // FORMAT may stand anywhere
  EXPECT_EQ(tstord(CL_SPEC, CL_SPEC), 0);
  EXPECT_EQ(count(74), 1);
  an.lpass = 0;
  EXPECT_EQ(tstord(CL_SPEC, CL_SPEC), 0);
  EXPECT_EQ(count(74), 1);  // no message outside the local pass
  EXPECT_EQ(unit.parmod, CL_EXEC);
  // The first statement opened the unnamed main program.
  ASSERT_NE(prgnam, nullptr);
  EXPECT_STREQ(prgnam->name, "Program");
}

TEST_F(Keywords, ConstructStackChecksItsDepthBeforePushing) {
  for (int i = 1; i < NEST_SIZE - 1; ++i) ASSERT_EQ(nestdep_plus_plus(), 1);
  EXPECT_EQ(nest.nestdep, NEST_SIZE - 2);
  EXPECT_EQ(nestdep_plus_plus(), 1);
  EXPECT_EQ(nestdep_plus_plus(), 0);
  EXPECT_EQ(nest.nestdep, NEST_SIZE - 1);
  EXPECT_EQ(unit.labpro, 0);
}

TEST_F(Keywords, LabelledDoLoopsCloseOnTheirLabel) {
  open_source("x = 1\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  LabelRec lab{};
  lab.value = 10;
  ASSERT_EQ(nestdep_plus_plus(), 1);
  nest.e[1].code = 5;
  nest.e[1].label = 10;
  ASSERT_EQ(nestdep_plus_plus(), 1);
  nest.e[2].code = 5;
  nest.e[2].label = 10;
  CurStmt[CS_CODE] = 12;  // CONTINUE
  lenddo(&lab);
  EXPECT_EQ(nest.nestdep, 0);
  EXPECT_EQ(count(602), 1);  // two loops on one label
  EXPECT_EQ(count(603), 0);
  // An inner block still open is message 113.
  ASSERT_EQ(nestdep_plus_plus(), 1);
  nest.e[1].code = 5;
  nest.e[1].label = 10;
  ASSERT_EQ(nestdep_plus_plus(), 1);
  nest.e[2].code = 1;
  lenddo(&lab);
  EXPECT_EQ(count(113), 1);
  EXPECT_EQ(nest.nestdep, 2);
}

TEST_F(Keywords, BranchesIntoBlocks) {
  open_source("x = 1\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  struct Case {
    const char* name;
    int32_t defcode;     // statement that carries the label
    int32_t blockkind;   // 5 IF, 6 DO
    int32_t message;
  } cases[] = {{"into an IF block", 12, 5, 53},
               {"into a DO loop", 12, 6, 54},
               {"to the END DO of a loop", 26, 6, 557},
               {"to the END SELECT of a construct", 112, 8, 558}};
  for (const Case& c : cases) {
    errmsg_reset();
    reader_begin_run();
    an.lpass = 1;
    nest_reset();
    labels_reset();
    LabelRec lab{};
    lab.value = 10;
    lhand(&lab, 1);  // forward branch from the outer block
    ASSERT_EQ(nestdep_plus_plus(), 1);
    nest.e[1].blk = nest.newcodblk + c.blockkind;
    nest.codblk = nest.e[1].blk;
    CurStmt[CS_CODE] = c.defcode;
    lhand(&lab, 2);
    EXPECT_EQ(count(c.message), 1) << c.name;
    // A later branch from outside the block is reported on the branch.
    nest_pop();
    errmsg_reset();
    reader_begin_run();
    lhand(&lab, 1);
    int32_t later = c.defcode == 12 ? (c.blockkind == 5 ? 46 : 47) : c.message;
    EXPECT_EQ(count(later), 1) << c.name;
  }
}
