// The field listing's name tables with their fallback texts, entry names and
// quoted strings: each value in range gives its enumerator's name, the first
// value past the end and a negative value give the fixed fallback text.
#include <gtest/gtest.h>

#include <string>

#include "frontend/ilfile/il_listings.h"

namespace {

struct NameCase {
  const char* (*name)(int);
  int first_bad;          // the first value past the enumeration
  const char* first;      // name of value 0
  const char* last;       // name of value first_bad - 1
  const char* fallback;   // text for a value outside
};

TEST(IlListingNames, EveryTableNamesItsValuesAndFallsBack) {
  const NameCase cases[] = {
      {type_code_name, 20, "tk_void", "tk_unknown", "**BAD TYPE CODE**"},
      {shape_kind_name, 8, "explicit_shape", "delete_dimension", "**BAD shape KIND**"},
      {constant_kind_name, 7, "ck_error", "ck_init_repeat", "**BAD CONSTANT REPR KIND**"},
      {statement_kind_name, 37, "stmk_expr", "stmk_io_term", "**BAD STATEMENT KIND**"},
      {io_format_kind_name, 7, "iof_none", "iof_namelist_directed", "**BAD IO FORMAT KIND**"},
      {label_kind_name, 6, "lk_unknown", "lk_control", "**BAD LABEL KIND**"},
      {case_range_kind_name, 4, "crk_le", "crk_eq", "**BAD CASE RANGE KIND**"},
      {io_unit_kind_name, 5, "iou_none", "iou_internal", "**BAD IO UNIT KIND**"},
      {source_language_name, 2, "sl_C", "sl_Fortran", "**BAD SOURCE LANGUAGE**"},
      {storage_class_name, 15, "sc_local", "sc_unspecified", "**BAD STORAGE CLASS**"},
      {operator_kind_name, 72, "eok_not", "eok_error", "**BAD OPERATOR KIND**"},
      {io_specifier_kind_name, 38, "iosk_access", "iosk_fe_stat", "**BAD IO SPECIFIER KIND**"},
      {intrinsic_name, 178, "assign_op", nullptr, "**BAD INTRINSIC**"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.first);
    EXPECT_STREQ(c.name(0), c.first);
    if (c.last) {
      EXPECT_STREQ(c.name(c.first_bad - 1), c.last);
    }
    EXPECT_STREQ(c.name(c.first_bad), c.fallback);
    EXPECT_STREQ(c.name(-1), c.fallback);
  }
}

TEST(IlListingNames, BoundKindsAndExpressionNodeKinds) {
  EXPECT_STREQ(expr_node_kind_name(0), "enk_error");
  EXPECT_STREQ(expr_node_kind_name(18), "enk_generic_call");
  // Node kind 19 has no name: it lists as a bad kind.
  EXPECT_STREQ(expr_node_kind_name(19), "**BAD EXPR NODE KIND**");
  EXPECT_STREQ(expr_node_kind_name(20), "enk_data_implied_do_var");
  EXPECT_STREQ(expr_node_kind_name(23), "**BAD EXPR NODE KIND**");
  EXPECT_STREQ(bound_kind_name(6), "**BAD BOUND KIND**");
}

TEST(IlListingNames, EntryNames) {
  object o{};
  o.header = 12 | (1u << 30);  // the walker's mark is not part of the number
  EXPECT_EQ(dump_entry_name(&o, ilk_object), "object_12");
  EXPECT_EQ(dump_entry_name(nullptr, ilk_object), "NULL");
  EXPECT_STREQ(il_entry_kind_name(ilk_il_header), "il_header");
  EXPECT_STREQ(il_entry_kind_name(ilk_entry_description), "entry_description");
  EXPECT_STREQ(il_entry_kind_name(ilk_symbol_entry), "**BAD ENTRY KIND**");
  EXPECT_STREQ(il_entry_kind_name(0), "**BAD ENTRY KIND**");
}

TEST(IlListingNames, QuotedStrings) {
  il_dump.html = false;
  EXPECT_EQ(dump_quoted(nullptr, 0), "NULL");
  EXPECT_EQ(dump_quoted("", 0), "\"\"");
  EXPECT_EQ(dump_quoted("a\tb", 3), "\"a\\011b\"");
  EXPECT_EQ(dump_quoted("\"\\", 2), "\"\\\"\\\\\"");
  EXPECT_EQ(dump_quoted("\xe9~ ", 3), "\"\\351~ \"");
  EXPECT_EQ(dump_quoted("<&>", 3), "\"<&>\"");
  il_dump.html = true;
  EXPECT_EQ(dump_quoted("<&>", 3), "\"&lt;&amp;&gt;\"");
  il_dump.html = false;
}

}  // namespace
