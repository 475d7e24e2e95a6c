// Comment directives: HP conditional compilation, default sizes, D lines,
// margins and include files.
#include "tests/unit/checker_reader/reader_fixture.h"

using Directives = ReaderTest;

TEST_F(Directives, ConditionalCompilationSelectsLines) {
  struct Case {
    const char* name;
    std::string source;
    std::vector<std::string> statements;
  } cases[] = {
      {"and not undefined",
       "$SET (A = .TRUE.)\n$IF (A .AND. .NOT. B)\n      X = 1\n$ELSE\n      X = 2\n$ENDIF\n",
       {"X=1"}},
      {"else branch", "$IF (B)\n      X = 1\n$ELSE\n      X = 2\n$ENDIF\n", {"X=2"}},
      {"newest value wins",
       "$SET (X = .TRUE.)\n$SET (X = .FALSE.)\n$IF (X)\n      Y = 1\n$ENDIF\n      Z = 1\n",
       {"Z=1"}},
      {"nested in a dropped part",
       "$IF (B)\n$IF (.NOT. B)\n      X = 1\n$ELSE\n      X = 2\n$ENDIF\n$ENDIF\n      Z = 1\n",
       {"Z=1"}},
      {"or and parentheses",
       "$SET (A = .FALSE., B = .TRUE.)\n$IF ((A .OR. B) .AND. .NOT. A)\n      X = 1\n$ENDIF\n",
       {"X=1"}},
  };
  for (const Case& c : cases) {
    ropt = ReaderOptions{};
    ropt.compiler = 0x200;
    open_source(c.source, ".f");
    EXPECT_EQ(statements(), c.statements) << c.name;
    EXPECT_EQ(hp_level(), 0) << c.name;
  }
}

TEST_F(Directives, MisplacedElseAndEndifAreReported) {
  ropt.compiler = 0x200;
  open_source("$ELSE\n$ENDIF\n$IF (A)\n$ELSE\n$ELSE\n$ENDIF\n$IF A\n$ENDIF\n$SET (A = 1)\n", ".f");
  statements();
  EXPECT_EQ(count(153), 1);
  EXPECT_EQ(count(265), 1);
  EXPECT_EQ(count(464), 1);
  EXPECT_EQ(count(17), 1);
  EXPECT_EQ(count(32), 1);
}

TEST_F(Directives, DeepConditionalsStayBalanced) {
  ropt.compiler = 0x200;
  std::string body = "$SET (T = .TRUE.)\n";
  for (int i = 0; i < CC_LEVELS + 5; ++i) body += "$IF (T)\n";
  body += "      X = 1\n";
  for (int i = 0; i < CC_LEVELS + 5; ++i) body += "$ENDIF\n";
  body += "      Y = 2\n";
  open_source(body, ".f");
  std::vector<std::string> s = statements();
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(s.back(), "Y=2");
  EXPECT_EQ(hp_level(), 0);
}

TEST_F(Directives, SizesAndDebugLines) {
  ropt.compiler = 0x200;
  open_source("$LONG\n$SHORT\n      X = 1\n", ".f");
  statements();
  EXPECT_EQ(rsrc.fileintsiz, 2);
  EXPECT_EQ(rsrc.filelogsiz, 2);
  open_source("$DEBUG\nD     X = 1\n$DEBUG OFF\nD     Y = 1\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"X=1"});
}

TEST_F(Directives, IncludeDirectiveReadsTheFileInPlace) {
  std::string inc = write_file("      Y = 2\n", ".h");
  open_source("      X = 1\n$INCLUDE " + inc + "\n      Z = 3\n", ".f");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(text(), "X=1");
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(text(), "Y=2");
  EXPECT_EQ(rsrc.inclev, 1);
  EXPECT_EQ(rsrc.codlno, 2);  // the line of the directive in the main file
  std::string ctx = perrlin_text(rsrc.statbeg);
  size_t slash = inc.rfind('/');
  EXPECT_NE(ctx.find(" line 2.1 (" + inc.substr(slash + 1) + "):\n"), std::string::npos) << ctx;
  ASSERT_EQ(nextstat(), -2);
  EXPECT_EQ(text(), "Z=3");
  EXPECT_EQ(rsrc.inclev, 0);
  EXPECT_EQ(rsrc.statsrclno, 3);
}

TEST_F(Directives, IncludeNestingIsLimited) {
  // A file that includes itself stops at the tenth level.
  std::string self = write_file("", ".h");
  FILE* f = std::fopen(self.c_str(), "w");
  std::fputs(("$INCLUDE " + self + "\n").c_str(), f);
  std::fclose(f);
  open_source("$INCLUDE " + self + "\n      X = 1\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"X=1"});
  EXPECT_EQ(count(4), 1);
}

TEST_F(Directives, MissingIncludeIsMessage1) {
  open_source("$INCLUDE /nonexistent/inc.h\n      X = 1\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"X=1"});
  EXPECT_EQ(count(1), 1);
}

TEST_F(Directives, IrisMarginDirective) {
  open_source("$COL120\n      X = 1" + std::string(70, ' ') + "+ 2\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"X=1+2"});
}

TEST_F(Directives, IncludeStatementKeepsTheLinesAfterIt) {
  std::string inc = write_file("      Y = 2\n      Z = 3\n", ".h");
  open_source("      INCLUDE '" + inc + "'\n      X = 1\n      INCLUDE '/nonexistent/x.h'\n", ".f");
  ASSERT_EQ(nextstat(), -2);
  ASSERT_NE(getkey(), nullptr);
  shinclud(ST_INCLUDE);
  std::vector<std::string> s;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(nextstat(), -2);
    s.push_back(text());
  }
  EXPECT_EQ(s, (std::vector<std::string>{"Y=2", "Z=3", "X=1"}));
  EXPECT_EQ(rsrc.statsrclno, 2);
  ASSERT_EQ(nextstat(), -2);
  ASSERT_NE(getkey(), nullptr);
  shinclud(ST_INCLUDE);
  EXPECT_EQ(count(1), 1);
  EXPECT_EQ(nextstat(), -1);
}

TEST_F(Directives, OptionAndControlSplitIntoDirectives) {
  ropt.compiler = 0x200;
  ropt.intsiz = 2;
  open_source("$CONTROL SET (A = .TRUE.), LONG\n$IF (A)\n      X = 1\n$ENDIF\n"
              "$OPTION SHORT, SET (B = 2)\n      Y = 2\n",
              ".f");
  EXPECT_EQ(statements(), (std::vector<std::string>{"X=1", "Y=2"}));
  EXPECT_EQ(rsrc.fileintsiz, 2);  // LONG, then SHORT
  EXPECT_EQ(count(32), 1);
}

TEST_F(Directives, TokensOfConditionalDirectives) {
  const char* text = " ( A_B$=.TRUE. , .NOT..AND. .OR.\t.FALSE.) X1 .XOR.";
  const char* p = text;
  const int32_t want[] = {HT_LPAR, 4,        HT_EQ,   HT_TRUE, HT_COMMA, HT_NOT, HT_AND,
                          HT_OR,   HT_FALSE, HT_RPAR, 1,       0};
  for (int32_t w : want) EXPECT_EQ(hptoken(p), w) << (p - text);
  // A digit is no part of a name and stops the scan where it stands.
  EXPECT_EQ(*p, '1');
  EXPECT_EQ(hptoken(p), 0);
  p += 2;
  EXPECT_EQ(hptoken(p), 0);  // .XOR. is no operator
  p += 5;
  EXPECT_EQ(hptoken(p), HT_END);
}

TEST_F(Directives, IncludeEndingInsideAConditionalPartIsMessage349) {
  ropt.compiler = 0x200;
  std::string inc = write_file("$IF (A)\n      Y = 2\n", ".h");
  open_source("$INCLUDE " + inc + "\n$ENDIF\n      Z = 3\n", ".f");
  EXPECT_EQ(statements(), std::vector<std::string>{"Z=3"});
  EXPECT_EQ(count(349), 1);
  EXPECT_EQ(count(265), 0);  // the level stays open into the including file
}
