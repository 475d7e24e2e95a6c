// Statement assembly from source lines: source forms, continuation rules,
// constants, separators, D lines and the limits of the statement buffer.
#include "tests/unit/checker_reader/reader_fixture.h"

using Source = ReaderTest;

TEST_F(Source, FixedFormColumnSixDecidesContinuation) {
  open_source("      X = 1\n     1+2\n      Y = 3\n     0+4\n", ".f");
  std::vector<std::string> s = statements();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0], "X=1+2");
  EXPECT_EQ(s[1], "Y=3");
  EXPECT_EQ(s[2], "+4");
}

TEST_F(Source, TabContinuationOnlyForSomeDialects) {
  struct Case {
    uint32_t compiler;
    size_t statements;
  } cases[] = {{0x8, 1}, {0x2, 1}, {0x200, 1}, {0x10000, 1}, {0, 2}, {0x40, 2}};
  for (const Case& c : cases) {
    ropt = ReaderOptions{};
    ropt.compiler = c.compiler;
    open_source("\tX = 1\n\t1+2\n", ".f");
    EXPECT_EQ(statements().size(), c.statements) << "compiler " << c.compiler;
  }
}

TEST_F(Source, DLinesAreCommentsUnlessSwitchedOn) {
  open_source("D     X = 1\n      Y = 2\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"Y=2"});
  ropt.dlines = 1;
  open_source("D     X = 1\n      Y = 2\n", ".f");
  EXPECT_EQ(statements(), (std::vector<std::string>{"X=1", "Y=2"}));
  // In free form a D in column 1 is ordinary text.
  open_source("DX = 1\n", ".f90");
  EXPECT_EQ(statements(), std::vector<std::string>{"DX=1"});
}

TEST_F(Source, FreeFormAmpersandBeforeCommentContinues) {
  open_source("x = 1 + & ! comment\n  & 2\ny = 'a&'\nz = 3\n", ".f90");
  std::vector<std::string> s = statements();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0], "X=1+2");
  EXPECT_EQ(s[1], "Y=<a:a&>");
  EXPECT_EQ(s[2], "Z=3");
}

TEST_F(Source, SemicolonSeparatesStatementsOutsideConstants) {
  open_source("x = 'X;Y'; y = 2\n", ".f90");
  std::vector<std::string> s = statements();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], "X=<a:X;Y>");
  EXPECT_EQ(s[1], "Y=2");
}

TEST_F(Source, ConstantsAreCountedFieldsWithDoubledDelimiters) {
  open_source("x = 'it''s' // \"q\"\"\" // ''\n", ".f90");
  std::vector<std::string> s = statements();
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0], "X=<a:it's>//<q:q\">//<a:>");
}

TEST_F(Source, HollerithFieldsTakeTheirCountOfCharacters) {
  open_source("      DATA X /5HA B,C/\n      CHARACTER*4 HNAME\n", ".f");
  std::vector<std::string> s = statements();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], "DATAX/<h:A B,C>/");
  EXPECT_EQ(s[1], "CHARACTER*4HNAME");
}

TEST_F(Source, ExtensionDecidesTheFormWithoutRegardToCase) {
  struct Case {
    const char* ext;
    int32_t form;
  } cases[] = {{".F90", 1}, {".f90", 1}, {".f", 2}, {".FOR", 2}, {".f77", 2}, {".txt", 0}};
  for (const Case& c : cases) {
    open_source("x = 1\n", c.ext);
    EXPECT_EQ(rsrc.FileSrcForm, c.form) << c.ext;
  }
}

TEST_F(Source, UndecidedFormFollowsTheFirstLine) {
  open_source("   10 CONTINUE\nC     COMMENT\n", ".txt");
  EXPECT_EQ(statements().size(), 1u);
  EXPECT_EQ(rsrc.PrgSrcForm, 2);
  open_source("program p\nc = 1\n", ".txt");
  EXPECT_EQ(statements().size(), 2u);
  EXPECT_EQ(rsrc.PrgSrcForm, 1);
}

TEST_F(Source, CarriageReturnBeforeLineEndIsDropped) {
  open_source("x = 'a'\r\ny = 2\r\n", ".f90");
  std::vector<std::string> s = statements();
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], "X=<a:a>");
  EXPECT_EQ(stmtlines.text[0], "y = 2");
}

TEST_F(Source, BlanksLeaveWordBreaks) {
  open_source("      GO TO 10\n", ".f");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(text(), "GOTO10");
  EXPECT_EQ(wbreaks[rsrc.statbeg + 2], 1);  // before the second word
  EXPECT_EQ(wbreaks[rsrc.statbeg + 4], 1);  // before the label
  EXPECT_EQ(wbreaks[rsrc.statbeg + 1], 0);
}

TEST_F(Source, LabelOfFixedAndFreeForm) {
  open_source("  100 CONTINUE\n", ".f");
  ASSERT_EQ(nextstat(), 1);
  EXPECT_EQ(label(), "100");
  EXPECT_EQ(text(), "CONTINUE");
  open_source("  200 continue\nx = 1\n", ".f90");
  ASSERT_EQ(nextstat(), 1);
  EXPECT_EQ(label(), "200");
  ASSERT_EQ(nextstat(), -2);
}

TEST_F(Source, ColumnsAndLinesOfEveryCharacter) {
  open_source("      X = 1\n     &  + Y\n", ".f");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(text(), "X=1+Y");
  int32_t line = -1;
  EXPECT_EQ(getcol(rsrc.statbeg, &line), 6);
  EXPECT_EQ(line, 0);
  EXPECT_EQ(getcol(rsrc.statbeg + 4, &line), 10);
  EXPECT_EQ(line, 1);
  EXPECT_STREQ(getsource(1), "     &  + Y");
}

TEST_F(Source, OverlongStatementGivesMessage98OnceAndStaysInBounds) {
  std::string body = "      X = 1\n";
  for (int i = 0; i < 1000; ++i) body += "     &  + 1\n";
  body += "      Y = 2\n";
  open_source(body, ".f");
  std::vector<std::string> s = statements();
  EXPECT_EQ(count(98), 1);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[1], "Y=2");
  EXPECT_LE(rsrc.lincnt, LINE_LIMIT);
}

TEST_F(Source, ManyEmptyConstantsCannotOverrunTheBuffer) {
  // Each empty constant takes seven bytes of the buffer for two characters
  // of source, so the buffer fills before the line limit.
  std::string body = "x = ''";
  for (int i = 0; i < 700; ++i) body += "//''//''//''//''//''//''//''//'' &\n&";
  body += "\n";
  open_source(body, ".f90");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(count(98), 1);
  EXPECT_LT(rsrc.statend, PSTAT_SIZE);
  EXPECT_EQ(pstat[rsrc.statend], 10);
  // Every constant field is complete: reading the tokens ends at the end.
  tk.stacol = rsrc.statbeg;
  int guard = 0;
  while (getokn() != TT_OTHER || tk.tok1 != 10) ASSERT_LT(++guard, 40000);
}

TEST_F(Source, ConstantOnALateLineKeepsItsFullLineIndex) {
  std::string body = "x = 1";
  for (int i = 0; i < 300; ++i) body += " &\n& + 1";
  body += " // 'z'\n";
  open_source(body, ".f90");
  ASSERT_EQ(nextstat(), -2);
  int32_t p = rsrc.statend - 1 - CONST_OVERHEAD;  // the 'z' field
  ASSERT_EQ(pstat[p], 'a');
  EXPECT_EQ((pstat[p + 4] << 8) | pstat[p + 5], 300);
}

TEST_F(Source, TextBeyondTheMarginIsMessage531) {
  std::string seq = "      X = 1" + std::string(61, ' ') + "12345678\n";
  std::string junk = "      Y = 2" + std::string(61, ' ') + "JUNK\n";
  open_source(seq + junk, ".f");
  std::vector<std::string> s = statements();
  EXPECT_EQ(s, (std::vector<std::string>{"X=1", "Y=2"}));
  EXPECT_EQ(count(531), 1);
}

TEST_F(Source, LabelOnAContinuationLineIsMessage262) {
  open_source("      X = 1\n   101+2\n", ".f");
  std::vector<std::string> s = statements();
  EXPECT_EQ(s, std::vector<std::string>{"X=1+2"});
  EXPECT_EQ(count(262), 1);
}

TEST_F(Source, StatementFactsCountAtDepthZero) {
  open_source("a(i, j) = b == c\nif (x) y = 1\np => q\ninteger :: k\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(CurStmt[CS_EQUALS], 1);
  EXPECT_EQ(CurStmt[CS_COMMA], 0);
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(CurStmt[CS_EQUALS], 1);
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(CurStmt[CS_ARROW], 1);
  EXPECT_EQ(CurStmt[CS_EQUALS], 0);
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(CurStmt[CS_DCOLON], 1);
}

TEST_F(Source, PreprocessorLineMarksSetTheLineNumber) {
  std::string name = write_file("# 1 \"p.F\"\n      X = 1\n# 7 \"p.F\"\n      Y = 2\n", ".F");
  srcbeg(name.c_str(), std::fopen(name.c_str(), "r"), 1);
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(rsrc.statsrclno, 1);
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(rsrc.statsrclno, 7);
}

TEST_F(Source, MessageContextShowsLinesMarkerAndPlace) {
  open_source("program p\nx==1\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  ASSERT_EQ(nextstat(), -2);
  std::string ctx = perrlin_text(rsrc.statbeg);
  std::string expect = "\n>x==1\n>^\n" + rsrc.filename + ":(outside) line 2:\n";
  EXPECT_EQ(ctx, expect);
  EXPECT_EQ(perrlin_text(0), "\n");
}

TEST_F(Source, MessageContextShowsAtMostFiveLines) {
  open_source("      X = 1\n     1+2\n     2+3\n     3+4\n     4+5\n     5+6\n     6+7\n     7+8\n", ".f");
  ASSERT_EQ(nextstat(), -2);
  std::string ctx = perrlin_text(rsrc.statend - 1);
  EXPECT_EQ(ctx.find(">      X"), std::string::npos);
  EXPECT_NE(ctx.find(">     3+4\n"), std::string::npos);
  EXPECT_NE(ctx.find(">     7+8\n>       ^\n"), std::string::npos);
  EXPECT_NE(ctx.find(" line 8:\n"), std::string::npos);
}

TEST_F(Source, CompiledDLineMayContinueAStatement) {
  ropt.dlines = 1;
  open_source("      X = 1\nD    1+2\n\f     Y = 3\n", ".f");
  EXPECT_EQ(statements(), (std::vector<std::string>{"X=1+2", "Y=3"}));
}

TEST_F(Source, PrintableChunkOfTheStatement) {
  open_source("call f ( 'a b' , x )\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(chunkosource(rsrc.statbeg, rsrc.statend - 1), "CALL F ( 'a b' , X )");
}

TEST_F(Source, PrintableChunkIsCutAt490Characters) {
  // "X=" and five lines of 100 characters: 502 characters of text.
  std::string src = "x=&\n";
  std::string piece;
  for (int i = 0; i < 50; ++i) piece += "A+";
  for (int i = 0; i < 4; ++i) src += "&" + piece + "&\n";
  src += "&" + piece + "B\n";
  open_source(src, ".f90");
  ASSERT_EQ(nextstat(), -2);
  std::string whole = "X=";
  for (int i = 0; i < 5; ++i) whole += piece;
  whole += "B";
  ASSERT_EQ(text(), whole);
  EXPECT_EQ(chunkosource(rsrc.statbeg, rsrc.statend - 1), whole.substr(0, 490) + "...");
  // Exactly 490 characters are shown whole.
  EXPECT_EQ(chunkosource(rsrc.statbeg, rsrc.statbeg + 489), whole.substr(0, 490));
}

TEST_F(Source, LinesAndCommentsAreCounted) {
  linestats = LineStats{};
  open_source("! note\nx = 1 ! tail\n", ".f90");
  statements();
  EXPECT_EQ(linestats.statlin, 2);
  EXPECT_EQ(linestats.statcombs, 6 + 6);
  EXPECT_EQ(linestats.statcodbs, 3);
}

TEST_F(Source, PercentStatementsOfTheAosDialect) {
  ropt.compiler = 4;
  open_source("      %LIST\n      %INCLUDE 'x.h'\n      %FOO\n", ".f");
  EXPECT_EQ(nextstat(), -4);
  EXPECT_EQ(tk.stacol, rsrc.statbeg + 5);
  EXPECT_EQ(nextstat(), -3);
  EXPECT_EQ(tk.stacol, rsrc.statbeg + 8);
  EXPECT_EQ(count(35), 0);
  EXPECT_EQ(nextstat(), -2);
  EXPECT_EQ(count(35), 1);
}

TEST_F(Source, RecordSeparatorOfTheDecAndSunDialects) {
  for (uint32_t compiler : {0x2u, 0x8u}) {
    ropt = ReaderOptions{};
    ropt.compiler = compiler;
    open_source("      WRITE (6'10) X\n      READ (5'N, '(A)') Y\n      WRITE (*, '(A)') 'HI'\n"
                "      READ ('12', '(I2)') K\n      X = A('B')\n",
                ".f");
    EXPECT_EQ(statements(), (std::vector<std::string>{"WRITE(6r10)X", "READ(5rN,<a:(A)>)Y",
                                                      "WRITE(*,<a:(A)>)<a:HI>",
                                                      "READ(<a:12>,<a:(I2)>)K", "X=A(<a:B>)"}))
        << compiler;
  }
  // Other dialects have no record separator: the apostrophe opens a
  // constant, left open and padded up to the margin.
  ropt = ReaderOptions{};
  ropt.compiler = 0x80;
  open_source("      WRITE (6'10) X\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"WRITE(6<a:10) X" + std::string(52, ' ') + ">"});
}

TEST_F(Source, StatementAfterASeparatorKeepsTheColumnsOfItsLine) {
  open_source("x = 1;  y = 2 ; 10 continue\n", ".f90");
  ASSERT_EQ(nextstat(), -2);
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(text(), "Y=2");
  int32_t line = -1;
  EXPECT_EQ(getcol(rsrc.statbeg, &line), 8);
  EXPECT_STREQ(getsource(0), "x = 1;  y = 2 ; 10 continue");
  ASSERT_EQ(nextstat(), 1);
  EXPECT_EQ(label(), "10");
  EXPECT_EQ(text(), "CONTINUE");
  EXPECT_EQ(nextstat(), -1);
}
