// Structure comparison of derived types read from source.
#include <cstring>

#include "checker/semantics/samestruct.h"
#include "checker/reader/dispatch.h"
#include "tests/unit/checker_reader/reader_fixture.h"

using ParsedTypes = ReaderTest;

static locsym* type_named(const char* name) {
  return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, SC_STRUCT90);
}

TEST_F(ParsedTypes, DefinitionsOfOneModuleCompared) {
  open_source(
      "module m\n"
      "type c\n  integer :: i\nend type c\n"
      "type a\n  type(c) :: x\nend type a\n"
      "type b\n  type(c) :: y\nend type b\n"
      "type d\n  real :: y(3)\nend type d\n"
      "type e\n  real :: z(3)\nend type e\n"
      "type f\n  real :: z(4)\nend type f\n"
      "end module m\n",
      ".f90");
  prgbeg();
  parse();
  locsym* a = type_named("A");
  locsym* b = type_named("B");
  locsym* d = type_named("D");
  locsym* e = type_named("E");
  locsym* f = type_named("F");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(d, nullptr);
  ASSERT_NE(e, nullptr);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(samestruct_LL(a, b), 1);  // one component of the same type C
  EXPECT_EQ(samestruct_LL(a, d), 0);  // TYPE(C) against REAL
  EXPECT_EQ(samestruct_LL(d, e), 1);  // REAL(3) each
  EXPECT_EQ(samestruct_LL(e, f), 0);  // REAL(3) against REAL(4)
}
