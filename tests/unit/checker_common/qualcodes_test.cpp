// Qualifier code tables: names by code, codes by name.
#include <gtest/gtest.h>

#include <cstring>

#include "checker/common/qualcodes.h"

TEST(QualCodes, NamesByCode) {
  struct Case { const char* (*get)(int32_t); int32_t code; const char* expected; };
  const Case cases[] = {
      {get_sc_name, 0, "SC_UNK"},      {get_sc_name, 10, "SC_STRUCT"},
      {get_sc_name, 14, "SC_STRUCT"},  {get_sc_name, 16, "SC_PAR"},
      {get_sc_name, 20, "SC_TEMPLATE"}, {get_sc_name, 21, "SC_UNK"},
      {get_sq_name, 3, "SQ_UNK"},      {get_sq_name, 20, "SQ_NEWCOMMON"},
      {get_dt_name, 26, "DT_REC"},     {get_dt_name, 25, "DT_I1"},
      {get_dt_name, 27, "DT_UNK"},     {get_usage_name, 0x8000, "QB_CALLED"},
      {get_usage_name, 0x10, nullptr}, {get_ac_name, 8, "AC_UNUSED"},
      {get_ac_name, 9, nullptr},       {get_scope_name, 0x2, "CP_LIBBIT"},
      {get_scope_name, 0x1, nullptr},
  };
  for (const Case& c : cases) {
    const char* got = c.get(c.code);
    if (c.expected == nullptr)
      EXPECT_EQ(got, nullptr) << c.code;
    else
      EXPECT_STREQ(got, c.expected) << c.code;
  }
}

TEST(QualCodes, CodesByName) {
  struct Case { int32_t (*get)(const char*); const char* name; int32_t expected; };
  const Case cases[] = {
      {get_sc_val, "SC_STRUCT", 10}, {get_sc_val, "SC_PAR", 1}, {get_sc_val, "SC_REC90", 18},
      {get_dt_val, "DT_REC", 15},    {get_dt_val, "DT_CPX", 24}, {get_sq_val, "SQ_FUNCVAR", 11},
      {get_usage_val, "QB_SET", 0x40000000}, {get_scope_val, "CP_COMBLK", 0x40},
      {get_ac_val, "AC_ALTRET", 4},  {get_sc_val, "sc_par", 0},  {get_dt_val, "nothing", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.get(c.name), c.expected) << c.name;
}

TEST(QualCodes, ConstantsCarryTheCodes) {
  EXPECT_EQ(SC_STRUCT, 10);
  EXPECT_EQ(SC_STRUCT90, 14);
  EXPECT_EQ(SC_PAR90, 16);
  EXPECT_EQ(DT_TYPE, 26);
  EXPECT_EQ(QB_DUM, 0x4000000);
}
