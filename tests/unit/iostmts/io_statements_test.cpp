// The I/O statements driven by real statement lines: the specifier sets,
// the description each statement leaves in the IL (unit, format,
// specifiers, items) and the messages of the control list.
#include <string>
#include <vector>

#include "frontend/model/labels.h"
#include "frontend/parser/io_statements.h"
#include "frontend/parser/statement_handlers.h"
#include "tests/unit/iostmts/statement_fixture.h"

namespace {

class IoTest : public StatementTest {
 protected:
  void SetUp() override {
    StatementTest::SetUp();
    io_spec_sets_init();
  }

  // Parses the lines as executable statements; returns the last statement
  // appended by the last line.

  static int specifier_count(const input_output_description* d) {
    int n = 0;
    for (const expr_node* e = d->specifier_list; e; e = e->next) ++n;
    return n;
  }
  static int item_count(const statement* s) {
    int n = 0;
    for (const expr_node* e = s->expr; e; e = e->next) ++n;
    return n;
  }
};

// The members of each set, written as the specifier names.
std::string members(const io_spec_set& s) {
  static const char* const names[io_spec_count] = {
      "access", "action", "advance", "blank", "delim", "direct", "end", "eor", "err",
      "exist", "file", "fmt", "form", "formatted", "iolength", "iostat", "name", "named",
      "nextrec", "nml", "number", "opened", "pad", "position", "read", "write",
      "readwrite", "rec", "recl", "sequential", "size", "status", "unformatted", "unit"};
  std::string out;
  for (int k = 0; k < io_spec_count; ++k)
    if (s.flags[k]) out += std::string(out.empty() ? "" : " ") + names[k];
  return out;
}

TEST_F(IoTest, SpecifierSetsHoldTheirStatementsSpecifiers) {
  const std::string base = "err iostat unit";
  EXPECT_EQ(members(io_state.sets[io_set_endfile]), base);
  EXPECT_EQ(members(io_state.sets[io_set_backspace]), base);
  EXPECT_EQ(members(io_state.sets[io_set_rewind]), base);
  EXPECT_EQ(members(io_state.sets[io_set_close]), "err iostat status unit");
  EXPECT_EQ(members(io_state.sets[io_set_write]), "advance err fmt iostat nml rec unit");
  EXPECT_EQ(members(io_state.sets[io_set_read]), "advance end eor err fmt iostat nml rec size unit");
  EXPECT_EQ(members(io_state.sets[io_set_open]),
            "access action blank delim err file form iostat pad position recl status unit");
  EXPECT_EQ(members(io_state.sets[io_set_inquire]),
            "access action blank delim direct err exist file form formatted iolength iostat name "
            "named nextrec number opened pad position read write readwrite recl sequential "
            "unformatted unit");
  EXPECT_EQ(members(io_state.sets[io_set_empty]), "");
}

TEST_F(IoTest, ReadWithLabelFormatAndLabelSpecifiers) {
  statement* s = run({"read (5, 100, err=20, iostat=n) a, b(2)"});
  ASSERT_EQ(s->kind, stmk_read);
  input_output_description* d = s->io_descr;
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->unit_kind, iou_external);
  ASSERT_NE(d->unit_expr, nullptr);
  EXPECT_EQ(d->unit_expr->node_kind, enk_constant);
  EXPECT_EQ(d->format_kind, iof_format_label);
  ASSERT_NE(d->format_label, nullptr);
  EXPECT_EQ(d->format_label->kind, lk_format);
  ASSERT_EQ(specifier_count(d), 2);
  const expr_node* err = d->specifier_list;
  EXPECT_TRUE(err->is_specifier);
  EXPECT_EQ(err->specifier, iosk_err);
  EXPECT_EQ(err->node_kind, enk_stmt_label_value);
  ASSERT_NE(err->stmt_label_value, nullptr);
  EXPECT_EQ(err->stmt_label_value->kind, lk_executable);
  EXPECT_EQ(err->next->specifier, iosk_iostat);
  EXPECT_EQ(item_count(s), 2);
  EXPECT_EQ(messages(), "");
}

TEST_F(IoTest, UnitAndFormatForms) {
  struct Case {
    const char* line;
    int stmk;
    uint32_t unit_kind;
    int format_kind;
    int items;
  } cases[] = {
      {"write (*, *) x, y", stmk_write, iou_default, iof_list_directed, 2},
      {"write (6, '(A)') 'hi'", stmk_write, iou_external, iof_char_expr, 1},
      {"write (unit=6, fmt=*)", stmk_write, iou_external, iof_list_directed, 0},
      {"print *, x", stmk_write, iou_default, iof_list_directed, 1},
      {"print 100", stmk_write, iou_default, iof_format_label, 0},
      {"read *, x, (k(i), i = 1, 3)", stmk_read, iou_default, iof_list_directed, 2},
      {"read '(I5)', k", stmk_read, iou_default, iof_char_expr, 1},
      {"rewind 7", stmk_rewind, iou_external, iof_none, 0},
      {"backspace (unit=7, iostat=i)", stmk_backspace, iou_external, iof_none, 0},
      {"endfile (10)", stmk_endfile, iou_external, iof_none, 0},
      {"open (10, file='a.dat', status='old')", stmk_open, iou_external, iof_none, 0},
      {"inquire (iolength=n) a, b", stmk_inquire, iou_none, iof_none, 2},
      {"inquire (file='a.dat', exist=l)", stmk_inquire, iou_none, iof_none, 0},
  };
  for (const Case& c : cases) {
    statement* s = run({c.line});
    ASSERT_EQ(s->kind, c.stmk) << c.line;
    EXPECT_EQ(s->io_descr->unit_kind, c.unit_kind) << c.line;
    EXPECT_EQ(s->io_descr->format_kind, c.format_kind) << c.line;
    EXPECT_EQ(item_count(s), c.items) << c.line;
    EXPECT_EQ(messages(), "") << c.line;
  }
}

TEST_F(IoTest, AnIntegerVariableFormatIsAnAssignedFormat) {
  statement* s = run({"integer iv", "write (6, iv) x"});
  EXPECT_EQ(s->io_descr->format_kind, iof_assigned_var);
  s = run({"write (6, (iv)) x"});
  EXPECT_EQ(s->io_descr->format_kind, iof_char_expr);  // parenthesised: no variable
}

TEST_F(IoTest, NamelistGroupAsFormat) {
  statement* s = run({"namelist /g/ a, b", "read (5, g)"});
  EXPECT_EQ(s->io_descr->format_kind, iof_namelist_directed);
  ASSERT_NE(s->io_descr->format_namelist_group, nullptr);
  const expr_node* m = s->io_descr->format_namelist_group->member_list;
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->object->corresp.referenced);
  s = run({"write (6, nml=g)"});
  EXPECT_EQ(s->io_descr->format_kind, iof_namelist_directed);
  EXPECT_EQ(messages(), "");
  s = run({"write (6, nml=h)"});
  EXPECT_EQ(s->io_descr->format_kind, iof_error);
  EXPECT_EQ(count_of(messages(), "invalid NAMELIST name"), 1);
}

TEST_F(IoTest, ControlListMessages) {
  struct Case {
    const char* line;
    const char* message;
  } cases[] = {
      {"read (5, 100, err=10, err=20)", "Specifier is repeated"},
      {"write (6, *, rec=3)", "I/O specifier conflicts with a previous specification"},
      {"read (5, fmt=100, nml=g)", "I/O specifier conflicts with a previous specification"},
      {"read (5, rec=1, end=10) x", "I/O specifier conflicts with a previous specification"},
      {"inquire (unit=5, iolength=n)", "I/O specifier conflicts with a previous specification"},
      {"inquire (unit=5, file='f', exist=l)", "I/O specifier conflicts with a previous specification"},
      {"close (10, file='x')", "invalid I/O keyword for this statement"},
      {"rewind (10, stat=i)", "invalid I/O keyword for this statement"},
      {"write (6, 100, iolength=n)", "invalid I/O keyword for this statement"},
      {"read (5, 100, fmt=200)", "Specifier is repeated"},
      {"inquire (exist=l)", "missing unit specifier"},
      {"write (iostat=i) x", "missing unit specifier"},
      {"read (5, '(A)', eor=10) s", "missing ADVANCE specifier"},
      {"write (6, *, advance='no')", "ADVANCE can be specified for explicit format only"},
      {"write (6, advance='no')", "ADVANCE can be specified for explicit format only"},
      {"write 10", "expected a \"(\""},
      {"read (5, 300, x) y", "expected an I/O keyword"},
      {"write (6, 400", "expected a \",\""},
      {"write (6, 400, iostat=i", "expected a \")\""},
      {"open (10 file='x')", "expected a \",\""},
  };
  run({"namelist /g/ a"});
  for (const Case& c : cases) {
    run({c.line});
    std::string out = messages();
    EXPECT_EQ(count_of(out, "error:"), 1) << c.line << "\n" << out;
    EXPECT_EQ(count_of(out, c.message), 1) << c.line << "\n" << out;
  }
}

}  // namespace
