// Name hash, atoms, case folding, the preloaded name table and its symbols.
#include "tests/unit/model/model_fixture.h"

namespace {

using NamesTest = ModelTest;

TEST_F(NamesTest, BucketsFollowTheShortAndLongHashRules) {
  // "ABCDE": ((((65*73+66)*73+67)*73+68)*73+69) mod 599 = 542.
  EXPECT_EQ(name_hash("ABCDE", 5), 542u);
  // Six or more: first, last and the three middle characters only.
  EXPECT_EQ(name_hash("ABCDEF", 6), 408u);
  EXPECT_EQ(name_hash("AXCDEF", 6), 408u);
  EXPECT_EQ(name_hash("abcde", 5), 542u);  // the hash always folds case
}

TEST_F(NamesTest, NamesSharingABucketStayTwoAtoms) {
  atom* a = name("ABCDEF");
  atom* b = name("AXCDEF");
  EXPECT_NE(a, b);
  atom* found = nullptr;
  EXPECT_EQ(name_hash_lookup("ABCDEF", 6, &found), 408u);
  EXPECT_EQ(found, a);
  EXPECT_EQ(names.buckets[408], a);  // a hit moves to the front of its bucket
  name_hash_lookup("AXCDEF", 6, &found);
  EXPECT_EQ(found, b);
  EXPECT_EQ(names.buckets[408], b);
}

TEST_F(NamesTest, CaseIsFoldedUnlessIdentifiersAreCaseSensitive) {
  EXPECT_EQ(name("abc"), name("ABC"));
  EXPECT_STREQ(name("abc")->text, "ABC");
  start(true);
  atom* lower = name("abc");
  atom* upper = name("ABC");
  EXPECT_NE(lower, upper);
  EXPECT_STREQ(lower->text, "abc");
}

TEST_F(NamesTest, NewAtomsGetLengthAndTokenCode) {
  atom* a = name("VALUE");
  EXPECT_EQ(a->length, 5u);
  EXPECT_EQ(a->token_code, 0);
  EXPECT_EQ(name(".MYOP.")->token_code, 10);
  symbol_entry* first = reinterpret_cast<symbol_entry*>(1);
  EXPECT_EQ(name_intern("VALUE", 5, &first), a);
  EXPECT_EQ(first, nullptr);
}

TEST_F(NamesTest, ErrorNameIsSharedAndNeverHashed) {
  atom* e = error_name();
  EXPECT_EQ(e, error_name());
  EXPECT_STREQ(e->text, "<error>");
  EXPECT_EQ(e->length, 7u);
  atom* found = nullptr;
  name_hash_lookup("<error>", 7, &found);
  EXPECT_EQ(found, nullptr);
}

TEST_F(NamesTest, PreloadedTableHasItsCounts) {
  PreloadCounts c = preload_counts();
  EXPECT_EQ(c.atoms, 369u);
  EXPECT_EQ(c.symbols, 233u);
  EXPECT_EQ(c.class9, 172u);
  EXPECT_EQ(c.class10, 6u);
  EXPECT_EQ(c.class7, 55u);
}

TEST_F(NamesTest, PreloadedNamesCarryTheirTokenCodes) {
  struct Case {
    const char* text;
    int token;
  } cases[] = {
      {"ALLOCATABLE", 40}, {"DOUBLEPRECISION", 62}, {"WRITE", 137}, {"ACCESS=", 147},
      {"KIND=", 163},      {"UNIT=", 183},          {"**", 22},     {"=", 39},
      {".LT.", 28},        {".GE.", 33},            {".NE.", 31},   {".NEQV.", 38},
      {".TRUE.", 5},       {".FALSE.", 5},          {"ABS", 0},     {"VECTOR_A", 0},
      {"LOGICAL", 99},     {"REAL", 119},
  };
  for (const Case& k : cases) {
    atom* a = name_lookup_folded(k.text, static_cast<uint32_t>(std::strlen(k.text)));
    ASSERT_NE(a, nullptr) << k.text;
    EXPECT_EQ(a->token_code, k.token) << k.text;
  }
  // Keyword lookup folds case even when identifiers are case-sensitive.
  start(true);
  atom* a = name_lookup_folded("write", 5);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->token_code, 137);
}

TEST_F(NamesTest, IntrinsicSymbolsArePreloadedAtTheOuterLevel) {
  symbol_entry* s = name("DSIN")->first_symbol;
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->cls, sym_specific_intrinsic);  // the specific comes first
  EXPECT_EQ(s->word1, 3u);
  EXPECT_EQ(s->level, -1);
  EXPECT_TRUE(s->flags & symf_in_scope);
  ASSERT_NE(s->next_same_name, nullptr);
  EXPECT_EQ(s->next_same_name->cls, sym_intrinsic_function);
  auto* d = static_cast<intrinsic_descriptor*>(s->next_same_name->entity.get());
  EXPECT_EQ(d->row, 154u);
  EXPECT_EQ(intrinsic_entity_name(s), name("DSIN"));

  EXPECT_EQ(name("MVBITS")->first_symbol->cls, sym_intrinsic_subroutine);
  EXPECT_EQ(name("=")->first_symbol->cls, sym_intrinsic_subroutine);
  EXPECT_EQ(static_cast<intrinsic_descriptor*>(name("=")->first_symbol->entity.get())->row, 0u);
  EXPECT_EQ(name("+")->first_symbol->cls, sym_intrinsic_function);
  EXPECT_EQ(name("ABS")->first_symbol->cls, sym_intrinsic_function);  // no specific ABS
  EXPECT_EQ(name("ABS")->first_symbol->next_same_name, nullptr);
  EXPECT_EQ(name("X")->first_symbol, nullptr);  // an argument keyword has no symbol
}

TEST_F(NamesTest, LongNameIsReportedOnceAndKept) {
  std::string n32(32, 'A');
  std::string dotted = "." + std::string(31, 'B') + ".";  // 33 with its dots
  symbol_entry* s = symbol_create(sym_variable, name(n32.c_str()), source_pos_record{1, 7}, 0);
  EXPECT_EQ(diag.errors, 1u);
  EXPECT_EQ(s->name->length, 32u);
  EXPECT_EQ(s->name->first_symbol, s);
  symbol_create(sym_variable, name(dotted.c_str()), source_pos_record{1, 7}, 0);
  symbol_create(sym_variable, name(std::string(31, 'C').c_str()), source_pos_record{1, 7}, 0);
  EXPECT_EQ(diag.errors, 1u);
  // A use two levels in makes host links on two levels and one report.
  scope_push(sk_unit);
  scope_push(sk_unit);
  symbol_entry* use = lookup_name(name(std::string(40, 'D').c_str()), source_pos_record{2, 1});
  EXPECT_EQ(use->level, 2);
  ASSERT_NE(use->link, nullptr);
  EXPECT_EQ(use->link->level, 1);
  EXPECT_EQ(diag.errors, 2u);
}

}  // namespace
