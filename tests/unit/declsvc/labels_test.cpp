// Label definitions and references: the kind a label takes and the messages
// when a later use does not agree with it.
#include "tests/unit/declsvc/decl_fixture.h"

namespace {

using LabelTest = DeclTest;

struct LabelUse {
  int kind;         // lk_ requested
  bool definition;  // a definition (else a reference)
};

// Two uses of label 10 in this order; the message expected at the second
// (empty: none) and the kind the label has afterwards.
struct LabelCase {
  const char* label;
  LabelUse first, second;
  const char* message;
  int kind_after;
};

TEST_F(LabelTest, DefinitionAndReferenceStates) {
  const LabelCase cases[] = {
      {"GO TO 10 then 10 CONTINUE", {lk_executable, false}, {lk_executable, true}, "", lk_executable},
      {"10 FORMAT then READ (*, 10)", {lk_format, true}, {lk_format, false}, "", lk_format},
      {"20 CONTINUE then READ (*, 20)", {lk_executable, true}, {lk_format, false},
       "label must be a FORMAT label", lk_executable},
      {"READ (*, 20) then 20 CONTINUE", {lk_format, false}, {lk_executable, true},
       "use of label is inconsistent with a previous use", lk_format},
      {"10 FORMAT then GO TO 10", {lk_format, true}, {lk_executable, false},
       "label must be an executable-statement label", lk_format},
      {"GO TO 10 then 10 ELSE", {lk_executable, false}, {lk_else_or_elseif, true},
       "branching to an ELSE or ELSE IF statement is not allowed", lk_else_or_elseif},
      {"10 ELSE then GO TO 10", {lk_else_or_elseif, true}, {lk_executable, false},
       "branching to an ELSE or ELSE IF statement is not allowed", lk_else_or_elseif},
      {"ASSIGN 10 then 10 CONTINUE", {lk_unknown, false}, {lk_executable, true}, "", lk_executable},
      {"10 CONTINUE then ASSIGN 10", {lk_executable, true}, {lk_unknown, false}, "", lk_executable},
      {"specification label then GO TO", {lk_specification, true}, {lk_executable, false},
       "label must be an executable-statement label", lk_specification},
      {"GO TO 10 then a specification statement labelled 10", {lk_executable, false},
       {lk_specification, true}, "use of label is inconsistent with a previous use", lk_executable},
      {"ASSIGN 10 then a specification statement labelled 10", {lk_unknown, false},
       {lk_specification, true}, "use of label is inconsistent with a previous use", lk_unknown},
      {"construct name used by EXIT", {lk_control, true}, {lk_control, false}, "", lk_control},
  };
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.label);
    start(false);
    block_stack_reset();
    open_subroutine("S");
    name_pos_record n1 = np("10", source_pos_record{3, 7});
    symbol_entry* first = label_reference(nullptr, &n1, c.first.kind, c.first.definition, xref_reference);
    EXPECT_EQ(messages(), "");
    name_pos_record n2 = np("10", source_pos_record{5, 9});
    symbol_entry* second = label_reference(at_level("10", 1), &n2, c.second.kind, c.second.definition,
                                           xref_reference);
    std::string out = messages();
    if (*c.message) {
      EXPECT_EQ(count(out, c.message), 1) << out;
      EXPECT_NE(second, first);              // the name is dropped: a fresh label
      EXPECT_EQ(second->name, error_name());
    } else {
      EXPECT_EQ(out, "");
      EXPECT_EQ(second, first);
    }
    EXPECT_EQ(static_cast<label*>(first->entity.get())->kind, c.kind_after);
    if (c.first.definition || c.second.definition) {
      EXPECT_TRUE(first->word2 & labelf_defined);
    }
  }
}

TEST_F(LabelTest, LabelsOfTheUnitListAndAssignMark) {
  open_subroutine("S");
  name_pos_record a = np("30", source_pos_record{2, 1});
  symbol_entry* assigned = label_reference(nullptr, &a, lk_unknown, false, xref_reference);
  EXPECT_TRUE(static_cast<label*>(assigned->entity.get())->used_in_assign);
  EXPECT_EQ(scope_at(1).il_scope->labels, nullptr);  // kind not known yet
  name_pos_record d = np("30", source_pos_record{4, 1});
  label_reference(assigned, &d, lk_executable, true, xref_reference);
  EXPECT_EQ(scope_at(1).il_scope->labels, assigned->entity);
  EXPECT_EQ(static_cast<label*>(assigned->entity.get())->corresp.decl_position.seq, 4u);
}

TEST_F(LabelTest, ReferencedButNeverDefined) {
  open_subroutine("S");
  name_pos_record n = np("99", source_pos_record{2, 12});
  symbol_entry* l = label_reference(nullptr, &n, lk_executable, false, xref_reference);
  symbol_complete(l);
  EXPECT_EQ(count(messages(), "label \"99\" was referenced but not defined"), 1);
}

TEST_F(LabelTest, SymbolOfAnotherLevelIsIgnored) {
  open_subroutine("S");
  name_pos_record n = np("10", source_pos_record{2, 1});
  symbol_entry* outer = label_reference(nullptr, &n, lk_executable, true, xref_reference);
  open_subroutine("T");
  name_pos_record m = np("10", source_pos_record{3, 1});
  symbol_entry* inner = label_reference(outer, &m, lk_format, true, xref_reference);
  EXPECT_NE(inner, outer);
  EXPECT_EQ(inner->level, 2);
  EXPECT_EQ(messages(), "");
}

}  // namespace
