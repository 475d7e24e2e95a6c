// Entry constructors, enumeration names and the token code table.
#include "frontend/lexer/literal_constants.h"
#include "tests/unit/model/model_fixture.h"

namespace {

using EntriesTest = ModelTest;

TEST_F(EntriesTest, ConstructorsGiveTheirStartingValues) {
  constant* c = new_constant();
  EXPECT_EQ(c->kind, ck_error);
  EXPECT_EQ(c->type, error_type());
  init_constant(c, ck_init_index);
  EXPECT_EQ(c->stride, 1);
  init_constant(c, ck_init_repeat);
  EXPECT_EQ(c->count, 1u);

  expr_node* n = new_expr_node(enk_operation);
  EXPECT_EQ(n->type, unknown_type());
  EXPECT_TRUE(n->allow_reordering);
  EXPECT_EQ(n->op_kind, eok_error);
  expr_node* loop = new_expr_node(enk_implied_do);
  EXPECT_NE(loop->do_info, nullptr);
  EXPECT_EQ(error_expr_node()->type, error_type());

  object* o = new_object();
  EXPECT_EQ(o->storage_class, sc_unspecified);
  EXPECT_TRUE(o->corresp.referenced);
  EXPECT_EQ(o->corresp.scope_depth, 0xFFFFFFFFu);

  label* l = new_label();
  init_label(l, lk_control);
  EXPECT_FALSE(l->corresp.referenced);
  EXPECT_EQ(new_case_range()->range_kind, crk_eq);
  type* t = new_type(tk_fcharacter);
  EXPECT_EQ(t->length.kind, bk_constant);
  EXPECT_EQ(t->alignment, 1);

  current_statement_pos = source_pos_record{12, 3};
  statement* s = new_statement(stmk_if);
  EXPECT_EQ(s->source_pos.seq, 12u);
  EXPECT_EQ(s->then_statement, nullptr);

  bound_info_entry* b = new_bound_info_entry(2);
  EXPECT_EQ(b->upper(1).kind, bk_undefined);
  EXPECT_EQ(bound_info_size(2), 40u);
  EXPECT_EQ(bound_info_rank(56), 3u);
}

TEST_F(EntriesTest, ConstantNodesHoldTheStoredForm) {
  const_value v;
  const_init(&v);
  const_set_kind(&v, ck_value);
  v.c.type = integer_type(0);
  v.c.next = new_constant();
  const_set_int(&v, -3);
  v.c.source_pos = source_pos_record{4, 2};
  expr_node* n = const_il_node(&v);
  ASSERT_NE(n->constant, nullptr);
  EXPECT_EQ(n->node_kind, enk_constant);
  EXPECT_EQ(n->type, integer_type(0));
  EXPECT_EQ(n->source_pos.seq, 4u);
  EXPECT_EQ(n->constant->next, nullptr);
  EXPECT_EQ(n->constant->header, 0u);
  ASSERT_NE(n->constant->value, nullptr);
  EXPECT_EQ(n->constant->value[0], 0xFD);  // two little-endian bytes of -3
  EXPECT_EQ(n->constant->value[1], 0xFF);
}

TEST_F(EntriesTest, RefNodesReferToTheInnermostNode) {
  expr_node* x = new_expr_node(enk_object);
  x->type = default_real_type();
  expr_node* r1 = make_ref_node(x);
  expr_node* r2 = make_ref_node(r1);
  EXPECT_EQ(r2->reference, x);
  EXPECT_TRUE(x->multiply_referenced);
  EXPECT_TRUE(r2->intent_in);
  EXPECT_EQ(r2->type, default_real_type());
}

TEST_F(EntriesTest, SourceFilesFormATree) {
  source_file* top = new_source_file(nullptr, 1, 1, "a.f90", "/x/a.f90");
  EXPECT_EQ(the_il_header.primary_source_file, top);
  EXPECT_EQ(top->last_seq_number, 0xFFFFFFFFu);
  source_file* out = nullptr;
  source_file* inc1 = new_source_file(top, 5, 1, "b.inc", "/x/b.inc", &out);
  source_file* inc2 = new_source_file(top, 9, 1, "c.inc", "/x/c.inc");
  EXPECT_EQ(out, inc1);
  EXPECT_EQ(top->first_child_file, inc1);
  EXPECT_EQ(top->last_child_file, inc2);
  EXPECT_EQ(inc1->next, inc2);
}

TEST_F(EntriesTest, EnumerationNamesAndKindLetters) {
  EXPECT_STREQ(tk_names(tk_unknown), "tk_unknown");
  EXPECT_EQ(tk_names(20), nullptr);
  EXPECT_STREQ(eok_names(71), "eok_error");
  EXPECT_STREQ(iosk_names(37), "iosk_fe_stat");
  EXPECT_STREQ(iou_names(1), "error");
  EXPECT_STREQ(enk_names(enk_data_implied_do_var), "enk_data_implied_do_var");
  EXPECT_STREQ(sc_names(sc_unspecified), "sc_unspecified");
  EXPECT_STREQ(stmk_names(stmk_io_term), "stmk_io_term");
  EXPECT_EQ(il_kind_letter(ilk_bound_info_entry), 'b');
  EXPECT_EQ(il_kind_of_letter('z'), ilk_symbol_entry);
  EXPECT_EQ(il_kind_of_letter('g'), -1);
  EXPECT_STREQ(il_kind_name(11), "scope");
}

TEST_F(EntriesTest, TokenCodesOfOperatorsAndSpecifiers) {
  struct Case {
    int token, code;
  } cases[] = {
      {22, eok_an_to_an_expon}, {27, eok_concat}, {28, eok_lt}, {33, eok_ge},
      {34, eok_not},            {38, eok_neqv},   {39, eok_assign},
      {147, iosk_access},       {162, iosk_iostat}, {163, 34}, {164, 35}, {165, iosk_name},
      {180, 36},                {181, iosk_status}, {183, iosk_unit},
      {0, 0},                   {40, 0},          {184, 0},  {-1, 0}, {185, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(token_to_code(c.token), c.code) << c.token;
}

}  // namespace
