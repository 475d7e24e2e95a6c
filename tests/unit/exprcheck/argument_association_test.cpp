// Argument association: positional, keyword, optional and numbered
// arguments, the rebuilt final list, sequence association and the checks of
// actuals against dummies.
#include <vector>

#include "tests/unit/exprcheck/exprcheck_fixture.h"

namespace {

struct Dummy {
  const char* name;
  bool optional;
};

class ArgsTest : public ExprCheckTest {
 protected:
  // A subroutine type with INTEGER dummies.
  static type* routine(std::initializer_list<Dummy> dummies, bool ellipsis = false) {
    type* r = new_type(tk_routine);
    r->return_type = void_type();
    r->has_param_info = true;
    r->has_ellipsis = ellipsis;
    pool_ref_field<param_type>* tail = &r->param_type_list;
    for (const Dummy& d : dummies) {
      param_type* p = new_param_type();
      p->corresp.name = intern_cstring(d.name);
      p->type = default_integer_type();
      p->is_optional = d.optional;
      *tail = p;
      tail = &p->next;
    }
    return r;
  }
  // An actual list of INTEGER constants 1, 2, ...; "K=" before a name gives
  // the actual that keyword, "R" makes a REAL actual.
  static expr_node* actuals(std::initializer_list<const char*> items) {
    pool_ref<expr_node> first = nullptr;
    expr_link* tail = &first;
    int32_t n = 0;
    for (const char* item : items) {
      std::string s = item;
      expr_node* a = s == "R" ? checked("1.5") : int_const_il_node(++n);
      if (s.size() > 1 && s.back() == '=') a->arg_keyword = intern_cstring(s.substr(0, s.size() - 1).c_str());
      *tail = a;
      tail = &a->next;
    }
    return first;
  }
  static std::vector<std::string> keywords(expr_node* list) {
    std::vector<std::string> out;
    for (expr_node* a = list; a; a = a->next) out.push_back(a->arg_keyword ? a->arg_keyword->text : "");
    return out;
  }
};

TEST_F(ArgsTest, ResultsOfTheAssociation) {
  struct Row {
    std::initializer_list<const char*> actuals;
    int result;
    int offending;  // index of the offending actual, -1 for none
  };
  const Row rows[] = {
      {{"P"}, args_associated, -1},
      {{"P", "P"}, args_associated, -1},
      {{"A=", "B="}, args_associated, -1},
      {{"P", "B="}, args_associated, -1},
      {{}, args_too_few, -1},
      {{"B="}, args_keyword_missing, -1},
      {{"P", "P", "P"}, args_too_many, 2},
      {{"P", "C="}, args_improper_keywords, -1},
      {{"C="}, args_keyword_missing, -1},
      {{"R"}, args_incompatible, 0},
      {{"P", "R"}, args_incompatible, 1},
  };
  for (const Row& row : rows) {
    for (int mode : {args_trial, args_final}) {
      type* r = routine({{"A", false}, {"B", true}});
      pool_ref<expr_node> list = actuals(row.actuals);
      std::vector<expr_node*> given;
      for (expr_node* a = list; a; a = a->next) given.push_back(a);
      pool_ref<expr_node> offending = nullptr;
      EXPECT_EQ(check_actual_args(r, &list, &offending, mode, nullptr), row.result)
          << row.actuals.size() << " mode " << mode;
      if (row.offending >= 0) {
        EXPECT_EQ(offending, given[static_cast<size_t>(row.offending)]);
      }
    }
  }
  EXPECT_EQ(messages(), "");
}

TEST_F(ArgsTest, FinalListIsInDummyOrderWithOmittedOptionals) {
  type* r = routine({{"A", false}, {"B", true}, {"C", false}});
  pool_ref<expr_node> list = actuals({"C=", "A="});
  expr_node* c = list;
  expr_node* a = list->next;
  pool_ref<expr_node> offending = nullptr;
  // The trial leaves the list as it was.
  EXPECT_EQ(check_actual_args(r, &list, &offending, args_trial, nullptr), args_associated);
  EXPECT_EQ(list, c);
  EXPECT_EQ(check_actual_args(r, &list, &offending, args_final, nullptr), args_associated);
  ASSERT_EQ(keywords(list), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(list, a);
  expr_node* omitted = list->next;
  EXPECT_EQ(omitted->node_kind, enk_empty);
  EXPECT_EQ(omitted->type, default_integer_type());
  EXPECT_TRUE(omitted->is_optional);
  EXPECT_EQ(omitted->next, c);
  EXPECT_EQ(c->next, nullptr);
}

TEST_F(ArgsTest, NumberedArguments) {
  struct Row {
    std::initializer_list<const char*> actuals;
    int result;
    std::vector<std::string> keywords;  // of the final list
  };
  const Row rows[] = {
      {{"P", "P", "P", "P"}, args_associated, {"A1", "A2", "A3", "A4"}},
      {{"A1=", "A2=", "A4=", "A3="}, args_associated, {"A1", "A2", "A3", "A4"}},
      {{"P", "P", "A3="}, args_associated, {"A1", "A2", "A3"}},
      {{"P", "P", "A4="}, args_keyword_missing, {}},
      {{"P", "P", "B3="}, args_incompatible, {}},
      {{"P", "P", "A03="}, args_incompatible, {}},
      {{"P"}, args_too_few, {}},
  };
  for (const Row& row : rows) {
    type* r = routine({{"A1", false}, {"A2", false}}, true);
    pool_ref<expr_node> list = actuals(row.actuals);
    pool_ref<expr_node> offending = nullptr;
    EXPECT_EQ(check_actual_args(r, &list, &offending, args_final, nullptr), row.result);
    if (row.result == args_associated) {
      EXPECT_EQ(keywords(list), row.keywords);
    }
  }
}

TEST_F(ArgsTest, ImplicitInterfaceRefusesKeywords) {
  type* r = new_type(tk_routine);
  r->return_type = void_type();
  pool_ref<expr_node> list = actuals({"P", "X="});
  pool_ref<expr_node> offending = nullptr;
  EXPECT_EQ(check_actual_args(r, &list, &offending, args_final, nullptr), args_associated);
  EXPECT_EQ(count_of(messages(), "keyword is not allowed"), 1);
}

TEST_F(ArgsTest, ScalarForArrayDummyOnlyAsAnElementInTheFinalMode) {
  param_type* d = new_param_type();
  d->type = vector_of(default_real_type(), 1, 10);
  declare("V", vector_of(default_real_type(), 1, 10));
  declare("X", default_real_type());
  expr_node* element = checked("v(3)");
  expr_node* scalar = checked("x");
  expr_node* whole = checked("v");
  EXPECT_EQ(actual_agrees_with_dummy(element, d, true), 0);
  EXPECT_EQ(actual_agrees_with_dummy(element, d, false), 1);
  EXPECT_EQ(actual_agrees_with_dummy(scalar, d, false), 0);
  EXPECT_EQ(actual_agrees_with_dummy(whole, d, true), 1);
}

TEST_F(ArgsTest, CharacterLengthsAgainstTheDummy) {
  type* ten = default_character_type(10);
  type* five = default_character_type(5);
  source_pos_record pos{3, 1};
  EXPECT_EQ(check_arg_characteristics(ten, five, &pos), 1);
  EXPECT_EQ(check_arg_characteristics(vector_of(ten, 1, 2), vector_of(five, 1, 2), &pos), 0);
  EXPECT_EQ(count_of(messages(), "character length not agreed with that of the dummy argument"), 1);
  EXPECT_EQ(check_arg_characteristics(five, ten, nullptr), 0);
  EXPECT_EQ(check_arg_characteristics(five, assumed_character_type(), &pos), 1);
  EXPECT_EQ(messages(), "");
}

}  // namespace
