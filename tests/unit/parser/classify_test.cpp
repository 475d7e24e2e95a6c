// Statement classification: keywords with their look-ahead, the re-reading
// of a keyword statement as a name, and the statement-order table.
#include "tests/unit/parser/parser_fixture.h"

namespace {

struct ClassifyCase {
  const char* text;
  int section;  // the unit's section when the statement is read
  int kind;
};

TEST_F(ParserTest, FreeFormStatementKinds) {
  const ClassifyCase cases[] = {
      {"x = 1", 6, st_assignment},
      {"p => q", 6, st_pointer_assignment},
      {"p%q => r", 6, st_pointer_assignment},
      {"p%q = r", 6, st_assignment},
      {"outer: do i = 1, 3", 6, st_construct_name},
      {"if (a) then", 6, st_if_then},
      {"if (a) x = 1", 6, st_logical_if},
      {"if (a) 10, 20, 30", 6, st_arithmetic_if},
      {"if (1) = 2", 6, st_assignment},
      {"go to 10", 6, st_goto},
      {"goto (10, 20), i", 6, st_computed_goto},
      {"go to k", 6, st_assigned_goto},
      {"do 10 i = 1, 5", 6, st_do},
      {"do while (x)", 6, st_do_while},
      {"do", 6, st_do},
      {"do = 1", 6, st_assignment},
      {"end", 6, st_end},
      {"end = 3", 6, st_assignment},
      {"end do", 6, st_end_do},
      {"enddo", 6, st_end_do},
      {"end if", 6, st_end_if},
      {"end program p", 6, st_end_program},
      {"end block data", 6, st_end_block_data},
      {"end interface", 5, st_end_interface},
      {"else if (x) then", 6, st_else_if},
      {"elsewhere", 6, st_elsewhere},
      {"implicit none", 1, st_implicit_none},
      {"implicit real (a-h)", 1, st_implicit},
      {"module procedure f", 0, st_module_procedure},
      {"module m", 0, st_module},
      {"block data b", 0, st_block_data},
      {"real function f(x)", 0, st_subprogram},
      {"real function f(x)", 5, st_type_decl},
      {"integer(kind=4) recursive function f(x)", 0, st_subprogram},
      {"character*(*) function f(x)", 0, st_subprogram},
      {"recursive subroutine s", 0, st_subprogram},
      {"type t", 5, st_type_def},
      {"type, public :: t", 5, st_type_def},
      {"type(t) :: x", 5, st_type_decl},
      {"double precision x", 5, st_type_decl},
      {"where (m) a = 1", 6, st_where},
      {"where (m)", 6, st_where_construct},
      {"select case (i)", 6, st_select_case},
      {"f(x) = x + 1", 5, st_stmt_function},
      {"f(x) = x + 1", 6, st_assignment},
      {"f(1) = 2", 5, st_assignment},
      {"c(1:2)(3:4) = 'ab'", 6, st_assignment},
      {"stop 'x'", 6, st_stop},
      {"include 'a.h'", 6, st_include},
      {"foo bar", 6, st_unrecognized},
      {"10", 6, st_unrecognized},
  };
  for (const ClassifyCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(kind_of(c.text, c.section), c.kind);
  }
  messages();
}

TEST_F(ParserTest, FixedFormStatementKinds) {
  begin(true);
  const ClassifyCase cases[] = {
      {"      DO 10 I = 1, 5", 6, st_do},
      {"      DO 10, I = 1, 5", 6, st_do},
      {"      DO10I=1.5", 6, st_assignment},
      {"      DO 10 I = 1", 6, st_assignment},
      {"      DO 10 WHILE (X)", 6, st_do_while},
      {"      INTEGERFUNCTIONF(X)", 0, st_subprogram},
      {"      INTEGER I, J", 5, st_type_decl},
      {"      DOUBLEPRECISION X", 5, st_type_decl},
      {"      DOUBLE PRECISION FUNCTION D(X)", 0, st_subprogram},
      {"      ENDIF", 6, st_end_if},
      {"      END DO", 6, st_end_do},
      {"      END INTERFACE", 5, st_end_interface},
      {"      GOTO 10", 6, st_goto},
      {"      GO TO (10, 20) I", 6, st_computed_goto},
      {"      ELSEIF(X)THEN", 6, st_else_if},
      {"      ELSE WHERE", 6, st_elsewhere},
      {"      WHERE (M) A = 1", 6, st_where},
      {"      INCLUDE 'a.h'", 6, st_include},
      {"      INTERFACE", 5, st_interface},
      {"      INTRINSIC MOD", 5, st_intrinsic},
      {"      INQUIRE (UNIT=1, EXIST=L)", 6, st_inquire},
      {"      BLOCKDATA B", 0, st_block_data},
      {"      SELECTCASE (I)", 6, st_select_case},
      {"      CALLSUB(X)", 6, st_call},
      {"      IF(X.GT.0)Y=1", 6, st_logical_if},
      {"      IF(X)10,20,30", 6, st_arithmetic_if},
      {"      REAL*8 X", 5, st_type_decl},
  };
  for (const ClassifyCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(kind_of(c.text, c.section), c.kind);
  }
  messages();
}

TEST_F(ParserTest, UnrecognizedAndEmptyStatementsAreReported) {
  EXPECT_EQ(kind_of("foo bar", 6), st_unrecognized);
  EXPECT_NE(messages().find("error:   unrecognized statement"), std::string::npos);
  EXPECT_EQ(kind_of("", 6), st_unrecognized);
  EXPECT_NE(messages().find("error:   expected a statement"), std::string::npos);
  EXPECT_EQ(kind_of("x = 1", 6), st_assignment);
  EXPECT_EQ(messages(), "");
}

TEST_F(ParserTest, OrderTableRows) {
  struct Row {
    int kind, order_class, highest;
  };
  const Row rows[] = {
      {st_assignment, 6, 6},   {st_block_data, 1, 0},   {st_contains, 7, 7},
      {st_data, 5, 6},         {st_end, 8, 8},          {st_end_interface, 8, 0},
      {st_end_type, 5, 5},     {st_entry, 3, 6},        {st_format, 3, 6},
      {st_implicit, 4, 4},     {st_implicit_none, 3, 3}, {st_include, 0, 8},
      {st_module_procedure, 0, 0}, {st_parameter, 4, 5}, {st_use, 2, 2},
      {st_subprogram, 1, 0},   {st_unrecognized, 0, 8},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    EXPECT_EQ(stmt_order_class(r.kind), r.order_class);
    EXPECT_EQ(stmt_highest_section(r.kind), r.highest);
  }
  EXPECT_TRUE(stmt_kind_is_executable(st_call));
  EXPECT_TRUE(stmt_kind_is_executable(st_construct_name));
  EXPECT_FALSE(stmt_kind_is_executable(st_format));
  EXPECT_FALSE(stmt_kind_is_executable(st_data));
  EXPECT_FALSE(stmt_kind_is_executable(st_end));
  EXPECT_FALSE(stmt_kind_is_executable(-1));
  EXPECT_FALSE(stmt_kind_is_executable(stmt_kind_count));
}

}  // namespace
