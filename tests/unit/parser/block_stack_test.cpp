// The block stack: statement lists, reachability after constructs, the
// closing of constructs and the labelled-DO termination.
#include "frontend/lexer/literal_constants.h"
#include "frontend/model/labels.h"
#include "tests/unit/parser/parser_fixture.h"

namespace {

int chain_length(const ::statement* s) {
  int n = 0;
  for (; s; s = s->next) ++n;
  return n;
}

// A labelled-DO frame whose loop ends at a label symbol.
block_frame* push_do(symbol_entry* label_symbol) {
  ::statement* s = append_statement(stmk_ido);
  push_block(blk_do, s);
  innermost_block()->do_label = label_symbol;
  return innermost_block();
}

symbol_entry* label_symbol(const char* text) {
  name_pos_record n{intern_cstring(text), source_pos_record{3, 1}};
  return label_reference(nullptr, &n, lk_executable, false, 2);
}

TEST_F(ParserTest, ThirdStatementMakesTheThenPartOneBlock) {
  ::statement* s_if = append_statement(stmk_if);
  push_block(blk_if, s_if);
  ::statement* a = append_statement(stmk_expr);
  EXPECT_EQ(s_if->then_statement, a);
  ::statement* b = append_statement(stmk_expr);
  ::statement* c = append_statement(stmk_expr);
  ASSERT_NE(s_if->then_statement, nullptr);
  ASSERT_EQ(s_if->then_statement->kind, stmk_block);
  EXPECT_EQ(s_if->then_statement->statements, a);
  EXPECT_EQ(chain_length(s_if->then_statement->statements), 3);
  EXPECT_EQ(a->next, b);
  EXPECT_EQ(b->next, c);
  pop_block();
  ::statement* after = append_statement(stmk_expr);
  EXPECT_EQ(s_if->next, after);
  EXPECT_EQ(chain_length(unit_block->statements), 2);
}

TEST_F(ParserTest, IfWithBothBranchesReturningEndsTheFlow) {
  for (bool with_else : {true, false}) {
    SCOPED_TRACE(with_else ? "with ELSE" : "without ELSE");
    begin(false);
    ::statement* s_if = append_statement(stmk_if);
    push_block(blk_if, s_if);
    append_statement(stmk_return);
    if (with_else) {
      block_frame* f = innermost_block();
      block_note_reach(f);
      f->flags |= blockf_else_seen;
      begin_branch(f);
      EXPECT_TRUE(statement_is_reachable());
      append_statement(stmk_return);
    }
    pop_block();
    EXPECT_EQ(statement_is_reachable(), !with_else);
  }
}

TEST_F(ParserTest, EndlessLoopUnlessLeftByExit) {
  for (bool with_exit : {false, true}) {
    SCOPED_TRACE(with_exit ? "with EXIT" : "without EXIT");
    begin(false);
    const_value t;
    const_init_sized(&t, 4);
    t.c.type = default_logical_type();
    const_set_int(&t, 1);
    ::statement* w = append_statement(stmk_while);
    w->expr = const_il_node(&t);
    push_block(blk_do_while, w);
    append_statement(stmk_expr);
    if (with_exit) {
      innermost_block()->no_fallthrough = 0;
      append_statement(stmk_exit);
    }
    pop_block();
    EXPECT_EQ(statement_is_reachable(), with_exit);
  }
}

TEST_F(ParserTest, UnreachableRunIsReportedOnce) {
  append_statement(stmk_goto);
  check_reachable();
  append_statement(stmk_expr);
  check_reachable();
  append_statement(stmk_expr);
  EXPECT_EQ(count_of(messages(), "statement is unreachable"), 1);
  append_statement(stmk_label);
  check_reachable();
  EXPECT_EQ(messages(), "");
}

TEST_F(ParserTest, StrayClosingStatementLeavesOpenConstructs) {
  ::statement* d = append_statement(stmk_ido);
  push_block(blk_do, d);
  loop.stmt_kind = st_end_if;
  EXPECT_EQ(close_construct(blk_if, nullptr), 0);
  EXPECT_NE(messages().find("not allowed inside the current executable construct"), std::string::npos);
  EXPECT_EQ(innermost_block()->kind, static_cast<uint32_t>(blk_do));
}

TEST_F(ParserTest, WrongEndPopsTheFramesInBetweenOnce) {
  ::statement* s_if = append_statement(stmk_if);
  push_block(blk_if, s_if);
  push_block(blk_do, append_statement(stmk_ido));
  push_block(blk_do, append_statement(stmk_ido));
  loop.stmt_kind = st_end_if;
  EXPECT_EQ(close_construct(blk_if, nullptr), 1);
  EXPECT_EQ(count_of(messages(), "executable constructs are incorrectly nested"), 1);
  EXPECT_EQ(innermost_block()->kind, static_cast<uint32_t>(blk_if));
}

TEST_F(ParserTest, ConstructsLeftOpenAtTheEnd) {
  push_block(blk_if, append_statement(stmk_if));
  push_do(nullptr);
  push_do(nullptr);
  innermost_block()->flags |= blockf_label_predefined;
  close_open_blocks();
  std::string m = messages();
  EXPECT_EQ(count_of(m, "DO statement was never terminated"), 1);
  EXPECT_EQ(count_of(m, "block IF statement was never terminated"), 1);
  EXPECT_EQ(innermost_block()->kind, static_cast<uint32_t>(blk_unit));

  push_block(blk_select, append_statement(stmk_select));
  push_block(blk_case, append_statement(stmk_case));
  close_open_blocks();
  m = messages();
  EXPECT_EQ(count_of(m, "DO statement was never terminated"), 0);
  EXPECT_EQ(count_of(m, "not allowed inside the current executable construct"), 1);
}

TEST_F(ParserTest, SharedDoLabelWarnsOnceAndClosesBoth) {
  symbol_entry* ten = label_symbol("10");
  push_do(ten);
  push_do(ten);
  loop.stmt_kind = st_continue;
  loop.label_symbol = ten;
  end_labelled_do(ten);
  EXPECT_EQ(count_of(messages(), "use of a nonblock do-construct is obsolescent"), 1);
  EXPECT_EQ(innermost_block()->kind, static_cast<uint32_t>(blk_unit));

  push_do(ten);
  end_labelled_do(ten);
  EXPECT_EQ(messages(), "");

  push_do(ten);
  loop.stmt_kind = st_goto;
  end_labelled_do(ten);
  EXPECT_NE(messages().find("invalid terminal statement of a DO loop"), std::string::npos);
  EXPECT_EQ(innermost_block()->kind, static_cast<uint32_t>(blk_unit));
}

}  // namespace
