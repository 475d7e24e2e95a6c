// I/O statements: the specifier table, the messages of control lists, I/O
// lists and FORMAT statements, and the variables and labels they mark.
#include <cstring>

#include "checker/common/qualcodes.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/iostmts.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using IoStatements = ReaderTest;

namespace {

char letter(const char* name, int32_t language, int32_t column) {
  const IoSpec* r = iospec_find(name, static_cast<int32_t>(std::strlen(name)), language, column);
  return r == nullptr ? ' ' : iospec_letter(r, column);
}

// Reads the statements of a unit that is left open (no END), so that its
// symbols and labels can still be looked at.
void parse_open_unit() {
  prgbeg();
  parse();
}

locsym* sym(const char* name) {
  return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, 0);
}

const LabelRec* find_label(int32_t value) {
  for (const LabelRec* l = labhead; l != nullptr; l = l->next)
    if (l->value == value) return l;
  return nullptr;
}

}  // namespace

TEST(IoSpecTable, LettersByLanguageAndColumn) {
  struct Row {
    const char* name;
    int32_t language;
    int32_t column;
    char expected;
  } rows[] = {
      {"ADVANCE", 1, IOC_READ, ' '},   {"ADVANCE", 2, IOC_READ, 'C'},
      {"ADVANCE", 2, IOC_WRITE, 'C'},  {"ADVANCE", 2, IOC_OPEN, ' '},
      {"FILE", 1, IOC_OPEN, 'W'},      {"FILE", 2, IOC_OPEN, 'C'},
      {"FILE", 1, IOC_INQUIRE, 'W'},   {"FILE", 2, IOC_INQUIRE, 'C'},
      {"END", 1, IOC_WRITE, 'S'},      {"END", 2, IOC_WRITE, ' '},
      {"END", 2, IOC_READ, 'S'},       {"ERR", 1, IOC_BACKSPACE, 'S'},
      {"IOSTAT", 2, IOC_CLOSE, 'i'},   {"UNIT", 1, IOC_READ, 'u'},
      {"UNIT", 1, IOC_WRITE, 'U'},     {"UNIT", 2, IOC_REWIND, 'E'},
      {"UNIT", 2, IOC_PRINT, ' '},     {"NML", 2, IOC_READ, 'n'},
      {"NML", 2, IOC_WRITE, 'N'},      {"NML", 1, IOC_READ, ' '},
      {"EXIST", 1, IOC_INQUIRE, 'l'},  {"NEXTREC", 1, IOC_INQUIRE, 'i'},
      {"RECL", 1, IOC_OPEN, 'R'},      {"RECL", 1, IOC_INQUIRE, 'i'},
      {"SIZE", 2, IOC_READ, 'i'},      {"EOR", 2, IOC_READ, 'S'},
      {"READWRITE", 2, IOC_INQUIRE, 'c'}, {"POSITION", 2, IOC_OPEN, 'C'},
      {"STATUS", 1, IOC_CLOSE, 'C'},   {"FMT", 1, IOC_READ, 'F'},
      {"REC", 1, IOC_WRITE, 'R'},      {"FORM", 1, IOC_OPEN, 'C'},
      {"FMTX", 1, IOC_READ, ' '},      {"FM", 1, IOC_READ, ' '},
      {"UNIT", 1, 0, ' '},             {"UNIT", 1, 19, ' '},
  };
  for (const Row& r : rows)
    EXPECT_EQ(letter(r.name, r.language, r.column), r.expected)
        << r.name << " " << r.language << " " << r.column;
}

TEST_F(IoStatements, MessagesOfStatements) {
  struct Case {
    const char* stmt;
    const char* ext;   // ".f" Fortran 77 fixed form (language set to 1), ".f90"
    int32_t message;
    int32_t times;
  } cases[] = {
      {"      READ (5, 10, ADVANCE='NO') X", ".f", 232, 1},
      {"  read (5, 10, advance='no') x", ".f90", 232, 0},
      {"  close 10", ".f90", 17, 1},
      {"  close (10)", ".f90", 17, 0},
      {"  print (5) x", ".f90", 6, 1},
      {"  write (6, *, foo=1) x", ".f90", 232, 1},
      {"  open (10, status)", ".f90", 231, 1},
      {"  read (5, *, err=x) y", ".f90", 26, 1},
      {"  write (6, *) a b", ".f90", 36, 1},
      {"  read (5, *) (a(i), i = 1 n)", ".f90", 36, 1},
      {"  write (6, *) a, b, (c(i), i = 1, n, 2)", ".f90", 36, 0},
      {"  write (6, *", ".f90", 7, 1},
      {"  write (6, *) a)", ".f90", 20, 1},
      {"  read (*, '(a)') a", ".f90", 156, 0},
      {"  write (6, 10), a", ".f90", 25, 0},
      {"  rewind 10", ".f90", 20, 0},
      {"  rewind 10 'a'", ".f90", 20, 1},
      {"  print *, 'a' 'b'", ".f90", 36, 1},
      {"  backspace (unit=10, iostat=k)", ".f90", 232, 0},
      {"  write (unit=6, fmt=*) a", ".f90", 232, 0},
      {"  inquire (file='a', exist=e, opened=o)", ".f90", 232, 0},
      {"  inquire (iolength=l x", ".f90", 7, 1},
      {"10 format (i5, <n>x, f10.2)", ".f90", 75, 0},
      {"10 format (i5, <n x)", ".f90", 75, 1},
      {"  read (5, *) 3", ".f90", 25, 1},
      {"  write (6, *) ((a(i), i = 1,", ".f90", 7, 1},
      {"  write (6, *) (a + b", ".f90", 7, 1},
      {"  inquire (iolength=", ".f90", 232, 0},
      {"  rewind", ".f90", 25, 1},
      {"  definefile 10(5, 6, u, k), 11(1, 2, u, j)", ".f90", 156, 0},
      {"  definefile 10(5, 6, v, k)", ".f90", 156, 1},
      {"  definefile 10(5, 6, u, k) 11(1, 2, u, j)", ".f90", 20, 1},
      {"  definefile 10(5, 6, u, k", ".f90", 7, 1},
      {"  write (6, 'x', advance='no', advance='no') a", ".f90", 232, 0},
      {"  read (5, '(a)', end=10, eor=20, size=k, advance='no') a", ".f90", 232, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    bool fixed = std::strcmp(c.ext, ".f") == 0;
    if (fixed) ropt.Language = 1;
    std::string text = fixed ? "      PROGRAM P\n" + std::string(c.stmt) + "\n"
                             : "program p\n" + std::string(c.stmt) + "\n";
    open_source(text, c.ext);
    parse_open_unit();
    EXPECT_EQ(count(c.message), c.times) << c.stmt;
    TearDown();
  }
}

TEST_F(IoStatements, ReadMarksItsListSetAndRecordsItsLabels) {
  open_source("program p\nread (5, 10, end=20) n\n", ".f90");
  parse_open_unit();
  ASSERT_NE(sym("N"), nullptr);
  EXPECT_NE(sym("N")->usage & QB_SET, 0u);
  ASSERT_NE(find_label(20), nullptr);
  EXPECT_NE(find_label(20)->flags & 1, 0);
  ASSERT_NE(find_label(10), nullptr);
  EXPECT_NE(find_label(10)->flags & 16, 0);
  EXPECT_EQ(count(232), 0);
  EXPECT_EQ(count(20), 0);
}

TEST_F(IoStatements, WriteMarksItsListReferenced) {
  open_source("program p\nwrite (6, *) y, z + 1\n", ".f90");
  parse_open_unit();
  for (const char* n : {"Y", "Z"}) {
    ASSERT_NE(sym(n), nullptr) << n;
    EXPECT_NE(sym(n)->usage & QB_REF, 0u) << n;
    EXPECT_EQ(sym(n)->usage & QB_SET, 0u) << n;
  }
}

TEST_F(IoStatements, ImpliedDoSetsItsVariableAndItems) {
  open_source("program p\nread (5, *) (x(i), i = 1, n)\n", ".f90");
  parse_open_unit();
  EXPECT_NE(sym("X")->usage & QB_SET, 0u);
  EXPECT_EQ(sym("I")->usage & (QB_SET | QB_REF), QB_SET | QB_REF);
  EXPECT_NE(sym("N")->usage & QB_REF, 0u);
  EXPECT_EQ(sym("N")->usage & QB_SET, 0u);
}

TEST_F(IoStatements, OpenFileVariableIsReferencedInFortran77) {
  ropt.Language = 1;
  open_source("      PROGRAM P\n      OPEN (10, FILE=F, IOSTAT=K)\n", ".f");
  parse_open_unit();
  EXPECT_NE(sym("F")->usage & QB_REF, 0u);
  EXPECT_EQ(sym("F")->usage & QB_SET, 0u);
  EXPECT_NE(sym("K")->usage & QB_SET, 0u);
}

TEST_F(IoStatements, InquireIolengthSetsItsVariable) {
  open_source("program p\ninquire (iolength=l) a, b\n", ".f90");
  parse_open_unit();
  EXPECT_NE(sym("L")->usage & QB_SET, 0u);
  EXPECT_NE(sym("A")->usage & QB_REF, 0u);
  EXPECT_EQ(sym("A")->usage & QB_SET, 0u);
  EXPECT_EQ(count(7), 0);
}

TEST_F(IoStatements, InternalWriteSetsItsCharacterUnit) {
  open_source("program p\ncharacter(len=8) :: buf\nwrite (buf, '(i5)') n\n", ".f90");
  parse_open_unit();
  ASSERT_NE(sym("BUF"), nullptr);
  // The declaration may be read by a handler still to come; the unit is
  // then an integer expression and only referenced.
  if (sym("BUF")->type.code != 0) {
    EXPECT_NE(sym("BUF")->usage & QB_SET, 0u);
  }
  EXPECT_NE(sym("N")->usage & QB_REF, 0u);
}

TEST(IoSpecTable, FirstDialectBitChoosesTheTable) {
  struct Row {
    uint32_t compiler;
    uint32_t table;
  } rows[] = {{0, 0},          {0x10, 0x10},   {0x18, 0x10},    {0x20002, 0x20000},
              {0xA, 0x2},      {0xC, 0x8},     {0x44, 0x4},     {0x80, 0x80},
              {0x300, 0x100},  {0x2400, 0x400}, {0x12000, 0x2000}, {0x10000, 0x10000},
              {0x1, 0},        {0x1000, 0}};
  for (const Row& r : rows) EXPECT_EQ(iospec_table(r.compiler), r.table) << r.compiler;
}

TEST(IoSpecTable, DialectRowsBelongToTheirTables) {
  struct Row {
    const char* name;
    uint32_t compiler;
    int32_t column;
    bool found;
  } rows[] = {
      {"READONLY", 0x10, IOC_OPEN, true},   {"READONLY", 0, IOC_OPEN, false},
      {"READONLY", 0x80, IOC_OPEN, false},  {"READONLY", 0x10, IOC_READ, false},
      {"DISP", 0x8, IOC_CLOSE, true},       {"FILEOPT", 0x8, IOC_OPEN, true},
      {"FILEOPT", 0x18, IOC_OPEN, false},   {"FILEOPT", 0x100, IOC_OPEN, true},
      {"KEEP", 0x2000, IOC_CLOSE, true},    {"KEEP", 0x10, IOC_CLOSE, false},
      {"FLEN", 0x10000, IOC_INQUIRE, true}, {"FLEN", 0x4, IOC_OPEN, false},
      {"CARRIAGECONTROL", 0x400, IOC_OPEN, true}, {"TITLE", 0x20000, IOC_OPEN, true},
      {"TITLE", 0x2, IOC_OPEN, false},      {"KEYEQ", 0x200, IOC_READ, true},
      {"KEYEQ", 0x2, IOC_READ, false},      {"UNIT", 0x10, IOC_OPEN, true},
  };
  for (const Row& r : rows) {
    const IoSpec* s = iospec_find(r.name, static_cast<int32_t>(std::strlen(r.name)), 2, r.column,
                                  r.compiler);
    EXPECT_EQ(s != nullptr, r.found) << r.name << " " << r.compiler;
  }
}

TEST_F(IoStatements, DialectSpecifiersAndKeyLists) {
  struct Case {
    uint32_t compiler;
    const char* stmt;
    int32_t message;
    int32_t times;
  } cases[] = {
      {0x10, "  open (10, readonly, shared, disp='keep')", 232, 0},
      {0x0, "  open (10, readonly)", 232, 1},
      {0x10, "  open (10, key=(1:5:integer:ascending, 7:9))", 58, 0},
      {0x10, "  open (10, key=(1:5:real))", 58, 1},
      {0x10, "  open (10, key=(1:5:integer:upward))", 58, 1},
      {0x10, "  open (10, key=(1 5))", 87, 1},
      {0x10, "  open (10, key=1)", 17, 1},
      {0x10, "  read (10, keyeq=k) a", 232, 0},
      {0x10, "  delete (unit=10, err=20, iostat=k)", 232, 0},
      {0x10, "  rewrite (10, fmt=100, err=20) a", 232, 0},
      {0x10, "  unlock (unit=10, iostat=k)", 232, 0},
      {0x10, "  find (10, rec=5)", 232, 0},
      {0x10, "  unlock (unit=10) a", 20, 1},
      {0x0, "  delete (unit=10)", 232, 1},
      {0x80, "  rewrite (10, fmt=100) a", 232, 1},
  };
  for (const Case& c : cases) {
    SetUp();
    ropt.compiler = c.compiler;
    open_source("program p\n" + std::string(c.stmt) + "\n", ".f90");
    parse_open_unit();
    EXPECT_EQ(count(c.message), c.times) << c.stmt;
    TearDown();
  }
}

TEST_F(IoStatements, FormatInAModuleOrAnInterfaceBody) {
  struct Case {
    const char* text;
    int32_t message;
  } cases[] = {
      {"module m\n10 format (i5)\n", 699},
      {"program p\ninterface\nsubroutine s\n10 format (i5)\nend subroutine\nend interface\n", 692},
  };
  for (const Case& c : cases) {
    SetUp();
    open_source(c.text, ".f90");
    parse_open_unit();
    EXPECT_EQ(count(c.message), 1) << c.text;
    EXPECT_EQ(count(c.message == 699 ? 692 : 699), 0) << c.text;
    TearDown();
  }
  SetUp();
  open_source("program p\n10 format (i5)\n", ".f90");
  parse_open_unit();
  EXPECT_EQ(count(692) + count(699), 0);
}

TEST_F(IoStatements, NamelistGroupMarksItsMembers) {
  struct Case {
    const char* stmt;
    uint32_t mark;     // what the members get
    uint32_t absent;   // what they do not get
  } cases[] = {
      {"read (5, g)", QB_SET, QB_REF},
      {"read (5, nml=g)", QB_SET, QB_REF},
      {"write (6, nml=g)", QB_REF, QB_SET},
  };
  for (const Case& c : cases) {
    SetUp();
    open_source("program p\nnamelist /g/ a, b\n" + std::string(c.stmt) + "\n", ".f90");
    parse_open_unit();
    for (const char* n : {"A", "B"}) {
      ASSERT_NE(sym(n), nullptr) << c.stmt;
      EXPECT_NE(sym(n)->usage & c.mark, 0u) << c.stmt << " " << n;
      EXPECT_EQ(sym(n)->usage & c.absent, 0u) << c.stmt << " " << n;
    }
    EXPECT_EQ(count(232) + count(156) + count(25), 0) << c.stmt;
    TearDown();
  }
}
