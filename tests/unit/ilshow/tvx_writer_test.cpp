// The program database of IL graphs built in memory: values, type texts and
// a whole database, and graphs that the writer must refuse.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frontend/base/pools.h"
#include "frontend/model/il_enums.h"
#include "frontend/model/types.h"
#include "ilshow/il_display_kvt.h"

namespace {

class TvxWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    pools_reset();
    init_il_tables();
    fortran_text_reset();
    tvx_reset(stdout);
  }

  template <class T>
  static T* number(T* entry, uint32_t n) {
    entry->header = n;
    return entry;
  }
  static atom* name(const char* text) {
    atom* a = pool_new<atom>();
    a->text = pool_copy_string(text);
    a->length = static_cast<uint32_t>(std::strlen(text));
    return a;
  }
  static source_pos_record at(uint32_t seq, uint16_t column) { return {seq, column}; }
  static type* new_typed(int code, uint32_t n) { return number(new_type(code), n); }
  static object* new_named(const char* text, uint32_t sc, uint32_t n, source_pos_record pos) {
    object* o = number(new_object(), n);
    o->corresp.name = name(text);
    o->corresp.decl_position = pos;
    o->storage_class = sc;
    return o;
  }
  static statement* new_stmt(int kind, source_pos_record pos) {
    statement* s = new_statement(kind);
    s->source_pos = pos;
    return s;
  }

  // Runs the whole writer on the graph and returns what it wrote.
  static std::string database(il_header* h) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    tvx_reset(f);
    il_display_tvx(h);
    std::fclose(f);
    std::string text(buf, len);
    std::free(buf);
    return text;
  }

  // One source file of 20 lines and an empty file scope.
  il_header header_with_file() {
    il_header h{};
    h.primary_source_file = number(pool_new<source_file>(), 0);
    h.primary_source_file->file_name = "main.f90";
    h.primary_source_file->full_name = "main.f90";
    h.primary_source_file->first_seq_number = 1;
    h.primary_source_file->last_seq_number = 20;
    h.primary_source_file->first_line_number = 1;
    h.primary_scope = number(new_scope_entry(), 0);
    return h;
  }

  // A routine of that class on line 1, alone in the file scope, with an
  // empty body block; returns its scope.
  scope* routine_with_body(il_header& h, uint32_t sc) {
    object* r = new_named("R", sc, 0, at(1, 9));
    r->type = new_typed(tk_routine, 0);
    h.primary_scope->objects = r;
    scope* body = number(new_scope_entry(), 1);
    r->assoc_scope = body;
    body->assoc_routine = r;
    body->assoc_block = new_stmt(stmk_block, at(1, 1));
    return body;
  }
};

TEST_F(TvxWriter, NamesAreEscaped) {
  EXPECT_EQ(tvx_escaped_name("a\"b\\c<d\te"), "a\\\"b\\\\c<d\\011e");
  EXPECT_EQ(tvx_escaped_name("\xe9t\x7f"), "\\351t\\177");
  EXPECT_EQ(tvx_escaped_name(""), "");
  EXPECT_EQ(tvx_escaped_name(nullptr), "NULL");
}

TEST_F(TvxWriter, References) {
  EXPECT_EQ(tvx_reference(number(pool_new<source_file>(), 3), ilk_source_file), "so#3");
  EXPECT_EQ(tvx_reference(new_typed(tk_integer, 7), ilk_type), "ty#17");
  EXPECT_EQ(tvx_reference(new_typed(tk_derived_type, 7), ilk_type), "gr#17");
  EXPECT_EQ(tvx_reference(new_named("M", sc_module, 5, {}), ilk_object), "gr#25");
  EXPECT_EQ(tvx_reference(new_named("P", sc_program, 0, {}), ilk_object), "ro#20");
  EXPECT_EQ(tvx_reference(new_named("F", sc_mod_proc, 12, {}), ilk_object), "ro#212");
  EXPECT_EQ(tvx_reference(number(new_interface_entry(), 3), ilk_interface), "ro#33");
  EXPECT_EQ(tvx_reference(nullptr, ilk_object), "NULL");
  // The walker's mark bit is no part of the number.
  EXPECT_EQ(tvx_reference(new_typed(tk_float, 9 | il_walk_mark), ilk_type), "ty#19");
  for (uint32_t sc : std::initializer_list<uint32_t>{sc_external, sc_program, sc_blockdata, sc_internal, sc_stmt_func,
                      sc_mod_proc, sc_unspecified, sc_module})
    EXPECT_TRUE(tvx_is_routine_class(sc)) << sc;
  for (uint32_t sc : std::initializer_list<uint32_t>{sc_local, sc_common, sc_type_field, sc_use_associated, sc_intrinsic, 15u})
    EXPECT_FALSE(tvx_is_routine_class(sc)) << sc;
}

TEST_F(TvxWriter, ObjectsThatAreNoRoutineHaveNoReference) {
  EXPECT_EXIT(tvx_reference(new_named("X", sc_local, 1, {}), ilk_object),
              ::testing::ExitedWithCode(4), "invalid intermediate language file");
  EXPECT_EXIT(tvx_reference(new_named("SIN", sc_intrinsic, 1, {}), ilk_object),
              ::testing::ExitedWithCode(4), "invalid intermediate language file");
  EXPECT_EXIT(tvx_reference(new_constant(), ilk_constant), ::testing::ExitedWithCode(4),
              "invalid intermediate language file");
}

TEST_F(TvxWriter, TypeTexts) {
  type* any = new_typed(tk_integer, 0);
  any->kind = any_kind;
  EXPECT_EQ(tvx_type_text(any), " integer(ANY_KIND)");
  type* i1 = new_typed(tk_integer, 0);
  i1->kind = 0;
  EXPECT_EQ(tvx_type_text(i1), " integer(1)");
  type* d = new_typed(tk_float, 0);
  d->kind = 1;
  EXPECT_EQ(tvx_type_text(d), " float(2)");
  EXPECT_EQ(tvx_type_text(new_typed(tk_complex, 0)), " complex(1)");
  EXPECT_EQ(tvx_type_text(new_typed(tk_logical, 0)), " logical(2)");
  EXPECT_EQ(tvx_type_text(new_typed(tk_void, 0)), " void");

  type* c8 = new_typed(tk_fcharacter, 0);
  c8->length = make_bound(8, bk_constant, nullptr);
  EXPECT_EQ(tvx_type_text(c8), " character(8,1)");
  type* star = new_typed(tk_fcharacter, 0);
  star->length.kind = bk_assumed;
  EXPECT_EQ(tvx_type_text(star), " character(*,1)");
  // A length expression shows as Fortran text.
  object* n = new_named("N", sc_local, 0, {});
  expr_node* nref = new_expr_node(enk_object);
  nref->object = n;
  expr_node* two = new_expr_node(enk_object);
  two->object = new_named("K", sc_local, 0, {});
  type* ce = new_typed(tk_fcharacter, 0);
  ce->length = make_bound(0, bk_expression, new_operation_node(eok_imultiply, unknown_type(), nref));
  nref->next = two;
  EXPECT_EQ(tvx_type_text(ce), " character((N*K),1)");
  // A "same as" length leads to an assumed-length dummy: "*".
  object* dummy = new_named("S", sc_local, 0, {});
  dummy->type = star;
  expr_node* sref = new_expr_node(enk_object);
  sref->object = dummy;
  type* same = new_typed(tk_fcharacter, 0);
  same->length = make_bound(0, bk_same_as, sref);
  EXPECT_EQ(tvx_type_text(same), " character(*,1)");

  type* arr = new_typed(tk_farray, 0);
  arr->element_type = i1;
  type* fn = new_typed(tk_routine, 0);
  fn->return_type = arr;
  EXPECT_EQ(tvx_type_text(fn), " integer(1)[]()");
  type* dt = new_typed(tk_derived_type, 0);
  EXPECT_EQ(tvx_type_text(dt), "");
  dt->corresp.name = name("my\"pt");
  EXPECT_EQ(tvx_type_text(dt), " my\\\"pt");
  type* as = new_typed(tk_association, 0);
  as->size = 12;
  EXPECT_EQ(tvx_type_text(as), " association(12)");

  struct Row {
    int code;
    const char* text;
  };
  const Row angle[] = {
      {tk_stmt_label, "  <stmt label>"}, {tk_format, "  <format>"},
      {tk_unspec_routine, "  <unspecified routine>"}, {tk_blockdata, "  <blockdata>"},
      {tk_module, "  <module>"}, {tk_error, "  <error type>"}, {tk_any_type, "  <any type>"},
      {tk_any_derived, "  <any derived type>"}, {tk_any_numerical, "  <any numeric>"},
      {tk_unknown, "  <unknown type>"},
  };
  for (const Row& r : angle) EXPECT_EQ(tvx_type_text(new_typed(r.code, 0)), r.text) << r.code;
}

TEST_F(TvxWriter, TypeTextsOfDamagedTypesEndTheRun) {
  type* bad_code = new_typed(tk_integer, 0);
  bad_code->type_code = 20;
  EXPECT_EXIT(tvx_type_text(bad_code), ::testing::ExitedWithCode(4), "invalid intermediate");
  type* bad_kind = new_typed(tk_float, 0);
  bad_kind->kind = 2;
  EXPECT_EXIT(tvx_type_text(bad_kind), ::testing::ExitedWithCode(4), "invalid intermediate");
  type* self = new_typed(tk_farray, 0);
  self->element_type = self;  // an array of itself
  EXPECT_EXIT(tvx_type_text(self), ::testing::ExitedWithCode(4), "invalid intermediate");
  type* same = new_typed(tk_fcharacter, 0);
  same->length = make_bound(0, bk_same_as, nullptr);
  EXPECT_EXIT(tvx_type_text(same), ::testing::ExitedWithCode(4), "invalid intermediate");
}

// A program that calls a recursive elemental function with a pointer result,
// dummies of several kinds and a body of array-shape statements only.
TEST_F(TvxWriter, WholeDatabaseOfAProgramAndAFunction) {
  il_header h = header_with_file();
  type* t_main = new_typed(tk_routine, 0);
  type* t_void = new_typed(tk_void, 1);
  type* t_fn = new_typed(tk_routine, 2);
  type* t_arr = new_typed(tk_farray, 3);
  type* t_int = new_typed(tk_integer, 4);
  type* t_star = new_typed(tk_fcharacter, 5);
  type* t_c5 = new_typed(tk_fcharacter, 6);
  t_star->length.kind = bk_assumed;
  t_c5->length = make_bound(5, bk_constant, nullptr);
  t_arr->element_type = t_int;
  t_arr->rank = 1;
  t_arr->shape_kind = explicit_shape;
  t_arr->bound_info = new_bound_info_entry(1);
  t_arr->bound_info->lower(0) = make_bound(1, bk_constant, nullptr);
  t_arr->bound_info->upper(0) = make_bound(10, bk_constant, nullptr);

  object* prog = new_named("MAIN", sc_program, 0, at(1, 9));
  object* fn = new_named("F", sc_external, 1, at(8, 10));
  object* local = new_named("C", sc_local, 2, at(9, 18));
  h.primary_scope->objects = prog;
  prog->next = fn;
  prog->type = t_main;
  t_main->return_type = t_void;
  t_main->assoc_routine = prog;
  fn->type = t_fn;
  fn->is_pointer = true;
  t_fn->return_type = t_arr;
  t_fn->assoc_routine = fn;
  t_fn->has_param_info = t_fn->is_recursive = t_fn->is_elemental = true;
  param_type* a = number(new_param_type(), 0);
  a->corresp.name = name("A");
  a->type = t_star;
  a->intent_in = true;
  param_type* b = number(new_param_type(), 1);
  b->corresp.name = name("B");
  b->type = t_int;
  b->is_pointer = b->is_optional = b->intent_out = true;
  t_fn->param_type_list = a;
  a->next = b;
  local->type = t_c5;
  local->assoc_routine = fn;

  scope* main_scope = number(new_scope_entry(), 1);
  prog->assoc_scope = main_scope;
  main_scope->assoc_routine = prog;
  statement* main_block = new_stmt(stmk_block, at(1, 1));
  main_scope->assoc_block = main_block;
  statement* call_stmt = new_stmt(stmk_expr, at(3, 3));
  expr_node* call = number(new_expr_node(enk_call), 0);
  call->source_pos = at(3, 7);
  call->type = t_int;
  call->routine = fn;
  call_stmt->expr = call;
  statement* stop = new_stmt(stmk_stop, at(4, 3));
  main_block->statements = call_stmt;
  call_stmt->next = stop;
  main_block->last_statement = stop;

  scope* fn_scope = number(new_scope_entry(), 2);
  fn->assoc_scope = fn_scope;
  fn_scope->assoc_routine = fn;
  fn_scope->objects = local;
  statement* fn_block = new_stmt(stmk_block, at(8, 1));
  fn_scope->assoc_block = fn_block;
  statement* shape = new_stmt(stmk_set_array_shape, at(9, 3));
  shape->array_variable = local;
  fn_block->statements = fn_block->last_statement = shape;

  EXPECT_EQ(database(&h),
            "<TVX 2.0>\n"
            "\nso#0 main.f90\n"
            "\nro#20 MAIN\n"
            "rloc so#0 1 9\n"
            "rsig ty#10\n"
            "rlink f90\n"
            "rkind fprog\n"
            "rpos so#0 1 1 NULL 0 0 NULL 0 0 NULL 0 0\n"
            "rstart so#0 3 3\n"
            "rcall ro#21 no so#0 3 7\n"
            "rstop so#0 4 3\n"
            "\nro#21 F\n"
            "rloc so#0 8 10\n"
            "rsig ty#12\n"
            "rlink f90\n"
            "rkind fext\n"
            "rarginfo T\n"
            "rrec T\n"
            "riselem T\n"
            "rpos so#0 8 1 NULL 0 0 NULL 0 0 NULL 0 0\n"
            "\nty#10 void()\n"
            "yacs priv\n"
            "ykind ffunc\n"
            "yrett ty#11\n"
            "\nty#11 void\n"
            "yacs priv\n"
            "ykind fvoid\n"
            "\nty#12 integer(2)[]()\n"
            "yacs priv\n"
            "ykind ffunc\n"
            "yrett ty#33\n"
            "yargt ty#15 A in\n"
            "yargt ty#34 B out opt\n"
            "\nty#13 integer(2)[]\n"
            "yacs priv\n"
            "ykind farray\n"
            "yelem ty#14\n"
            "yshape explicit\n"
            "yrank 1\n"
            "ydim 1 10\n"
            "\nty#14 integer(2)\n"
            "yacs priv\n"
            "ykind fint\n"
            "yikind long\n"
            "\nty#15 character(*,1)\n"
            "yacs priv\n"
            "ykind fchar\n"
            "yikind char\n"
            "yclen *\n"
            "\nty#33 integer(2)[] *\n"
            "ykind fptr\n"
            "yptr ty#13\n"
            "\nty#34 integer(2) *\n"
            "ykind fptr\n"
            "yptr ty#14\n");
  // The walks put every mark back except on entries only bodies reach.
  EXPECT_EQ(prog->header & il_walk_mark, 0u);
  EXPECT_EQ(t_c5->header & il_walk_mark, 0u);
  EXPECT_EQ(tvx.nesting, 0);
  EXPECT_EQ(tvx.current_scope, nullptr);
}

// A file scope with a module (its scope holds a derived type) and a program
// whose own CHARACTER and array types stay out of the database.
TEST_F(TvxWriter, TypeSelectionByScope) {
  il_header h = header_with_file();
  object* m = new_named("M", sc_module, 0, at(1, 8));
  object* p = new_named("P", sc_program, 1, at(10, 9));
  h.primary_scope->objects = m;
  m->next = p;
  type* t_mod = new_typed(tk_module, 0);
  m->type = t_mod;
  type* t_p = new_typed(tk_routine, 1);
  type* t_void = new_typed(tk_void, 2);
  p->type = t_p;
  t_p->return_type = t_void;
  t_p->assoc_routine = p;

  scope* ms = number(new_scope_entry(), 1);
  m->assoc_scope = ms;
  ms->assoc_routine = m;
  type* dt = new_typed(tk_derived_type, 3);
  dt->corresp.name = name("T");
  dt->corresp.decl_position = at(2, 8);
  dt->module = m;
  dt->is_public = true;
  ms->types = dt;
  type* t_real = new_typed(tk_float, 4);
  object* comp = new_named("V", sc_type_field, 3, at(3, 13));
  comp->type = t_real;
  comp->assoc_derived_type = dt;
  comp->is_public = true;
  dt->first_field = comp;
  object* mv = new_named("W", sc_local, 4, at(5, 16));
  type* t_w = new_typed(tk_fcharacter, 5);
  t_w->length = make_bound(3, bk_constant, nullptr);
  mv->type = t_w;
  mv->is_saved = mv->is_constant = mv->is_public = true;
  ms->objects = mv;

  scope* ps = number(new_scope_entry(), 2);
  p->assoc_scope = ps;
  ps->assoc_routine = p;
  object* lc = new_named("L", sc_local, 5, at(11, 20));
  type* t_l = new_typed(tk_fcharacter, 6);
  t_l->length = make_bound(4, bk_constant, nullptr);
  lc->type = t_l;
  object* la = new_named("A", sc_local, 6, at(12, 14));
  type* t_a = new_typed(tk_farray, 7);
  t_a->element_type = t_real;
  t_a->shape_kind = deferred_shape;
  la->type = t_a;
  la->is_pointer = true;
  ps->objects = lc;
  lc->next = la;

  EXPECT_EQ(database(&h),
            "<TVX 2.0>\n"
            "\nso#0 main.f90\n"
            "\nro#21 P\n"
            "rloc so#0 10 9\n"
            "rsig ty#11\n"
            "rlink f90\n"
            "rkind fprog\n"
            "\nty#10  <module>\n"
            "yacs priv\n"
            "ykind fmod\n"
            "\ngr#13 T\n"
            "gloc so#0 2 8\n"
            "ggroup gr#20\n"
            "gacs pub\n"
            "gkind fderived\n"
            "gmem V\n"
            "gmloc so#0 3 13\n"
            "gmacs pub\n"
            "gmkind var\n"
            "gmtype ty#14\n"
            "\nty#14 float(1)\n"
            "yacs priv\n"
            "ykind ffloat\n"
            "yfkind float\n"
            "\nty#15 character(3,1)\n"
            "yacs priv\n"
            "ykind fchar\n"
            "yikind char\n"
            "yclen 3\n"
            "\nty#11 void()\n"
            "yacs priv\n"
            "ykind ffunc\n"
            "yrett ty#12\n"
            "\nty#12 void\n"
            "yacs priv\n"
            "ykind fvoid\n"
            "\ngr#20 M\n"
            "gloc so#0 1 8\n"
            "gkind fmodule\n"
            "gmem W\n"
            "gmloc so#0 5 16\n"
            "gmacs pub\n"
            "gmkind statvar\n"
            "gmconst T\n"
            "gmtype ty#15\n"
            "gmem T\n"
            "gmloc so#0 2 8\n"
            "gmacs pub\n"
            "gmkind type\n"
            "gmtype gr#13\n");
}

TEST_F(TvxWriter, AnEntryStatementEndsTheRunWithStatus4) {
  il_header h = header_with_file();
  scope* body = routine_with_body(h, sc_external);
  body->assoc_block->statements = new_stmt(stmk_fentry, at(2, 3));
  EXPECT_EXIT(database(&h), ::testing::ExitedWithCode(4), "ENTRY statement is not allowed");
}

TEST_F(TvxWriter, ChainsThatRunIntoThemselvesEndTheRun) {
  il_header h = header_with_file();
  scope* ps = routine_with_body(h, sc_program);
  interface* i = number(new_interface_entry(), 0);
  i->next = i;
  ps->interfaces = i;
  EXPECT_EXIT(database(&h), ::testing::ExitedWithCode(4), "invalid intermediate language file");

  il_header h2 = header_with_file();
  source_file* inc = number(pool_new<source_file>(), 1);
  h2.primary_source_file->first_child_file = h2.primary_source_file->last_child_file = inc;
  inc->first_child_file = h2.primary_source_file;  // the primary file inside itself
  EXPECT_EXIT(database(&h2), ::testing::ExitedWithCode(4), "invalid intermediate language file");
}

TEST_F(TvxWriter, CodesThatIndexTablesAreChecked) {
  il_header h = header_with_file();
  scope* ps = routine_with_body(h, sc_program);
  statement* s = new_stmt(stmk_expr, at(2, 3));
  ps->assoc_block->statements = s;
  expr_node* call = new_expr_node(enk_intrinsic);
  call->type = ps->assoc_routine->type;
  call->intrinsic = intrinsic_row_count;  // one past the table
  s->expr = call;
  EXPECT_EXIT(database(&h), ::testing::ExitedWithCode(4), "invalid intermediate language file");
  call->intrinsic = intrinsic_row_count - 1;
  std::string text = database(&h);
  EXPECT_NE(text.find("rcall ro#1177 no NULL 0 0\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nro#1177 verify\nrlink f90\nrkind fintrin\n"), std::string::npos) << text;
}

TEST_F(TvxWriter, DeeplyNestedExpressionsAreBounded) {
  il_header h = header_with_file();
  scope* ps = routine_with_body(h, sc_program);
  statement* s = new_stmt(stmk_expr, at(2, 3));
  ps->assoc_block->statements = s;
  type* t = ps->assoc_routine->type;
  // ((((x+x)+x)+x)...): as deep as a long left-nested sum gets.
  auto nested = [t](int depth) {
    expr_node* e = new_expr_node(enk_empty);
    e->type = t;
    for (int i = 0; i < depth; ++i) {
      expr_node* leaf = new_expr_node(enk_empty);
      leaf->type = t;
      e->next = leaf;
      e = new_operation_node(eok_iadd, t, e);
    }
    return e;
  };
  s->expr = nested(3000);
  EXPECT_NE(database(&h).find("\nty#10"), std::string::npos);
  // Bodies keep their walk marks, so the second run gets a body of its own.
  statement* deep = new_stmt(stmk_expr, at(3, 3));
  deep->expr = nested(100000);
  ps->assoc_block = new_stmt(stmk_block, at(1, 1));
  ps->assoc_block->statements = deep;
  EXPECT_EXIT(database(&h), ::testing::ExitedWithCode(4), "invalid intermediate language file");
}

// A body that uses a derived type of a module met later in the walk does not
// hide the module's procedures from the routine pass.
TEST_F(TvxWriter, BodiesLeadToNoModule) {
  il_header h = header_with_file();
  scope* ps = routine_with_body(h, sc_program);
  object* m = new_named("M", sc_module, 1, at(10, 8));
  ps->assoc_routine->next = m;
  m->type = new_typed(tk_module, 1);
  scope* ms = number(new_scope_entry(), 2);
  m->assoc_scope = ms;
  ms->assoc_routine = m;
  object* r = new_named("Q", sc_internal, 2, at(12, 14));
  r->type = new_typed(tk_routine, 2);
  r->assoc_routine = m;
  ms->objects = r;
  type* dt = new_typed(tk_derived_type, 3);
  dt->module = m;
  statement* s = new_stmt(stmk_expr, at(2, 3));
  s->expr = new_expr_node(enk_empty);
  s->expr->type = dt;
  ps->assoc_block->statements = s;
  std::string text = database(&h);
  EXPECT_NE(text.find("\nro#22 Q\nrloc so#0 12 14\nrgroup gr#21\n"), std::string::npos) << text;
}

// A type met first in a body stays marked after the routine pass when no
// declaration leads to it: the passes after it skip it, until a walk reaches
// it from an entry that the routine pass never reached. Here that entry is a
// module that only a derived type leads to, and the type pass walked the
// type first in the body (which leads to no module). The interface pass's
// second walk then clears the type's mark, so the type pass writes its block.
TEST_F(TvxWriter, ATypeLeftMarkedByABodyIsWrittenOnceAWalkClearsIt) {
  il_header h = header_with_file();
  scope* ps = routine_with_body(h, sc_program);
  type* dt = new_typed(tk_derived_type, 3);
  dt->corresp.name = name("T");
  object* m = new_named("M", sc_module, 1, at(10, 8));
  dt->module = m;
  scope* ms = number(new_scope_entry(), 2);
  m->assoc_scope = ms;
  ms->assoc_routine = m;
  type* u = new_typed(tk_float, 9);
  object* x = new_named("X", sc_local, 2, at(11, 14));
  x->type = u;
  ms->objects = x;
  object* d = new_named("D", sc_local, 3, at(2, 14));
  d->type = dt;
  ps->objects = d;
  statement* s = new_stmt(stmk_expr, at(3, 3));
  s->expr = new_expr_node(enk_empty);
  s->expr->type = dt;
  s->expr->next = new_expr_node(enk_empty);
  s->expr->next->type = u;
  ps->assoc_block->statements = s;
  std::string text = database(&h);
  EXPECT_NE(text.find("\nty#19 float(1)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\ngr#21 M\n"), std::string::npos) << text;
}

// A main routine that only the header names: its types are met outside every
// scope and count as types of the file level.
TEST_F(TvxWriter, MainRoutineOutsideTheFileScope) {
  il_header h = header_with_file();
  scope* ps = routine_with_body(h, sc_program);
  object* p = ps->assoc_routine;
  h.primary_scope->objects = nullptr;
  h.main_routine = p;
  type* arr = new_typed(tk_farray, 1);
  arr->element_type = new_typed(tk_integer, 2);
  arr->shape_kind = deferred_shape;
  p->type->return_type = arr;
  EXPECT_EQ(database(&h),
            "<TVX 2.0>\n"
            "\nso#0 main.f90\n"
            "\nro#20 R\n"
            "rloc so#0 1 9\n"
            "rsig ty#10\n"
            "rlink f90\n"
            "rkind fprog\n"
            "rpos so#0 1 1 NULL 0 0 NULL 0 0 NULL 0 0\n"
            "\nty#10 integer(2)[]()\n"
            "yacs priv\n"
            "ykind ffunc\n"
            "yrett ty#11\n"
            "\nty#11 integer(2)[]\n"
            "yacs priv\n"
            "ykind farray\n"
            "yelem ty#12\n"
            "yshape deferred\n"
            "yrank 0\n"
            "\nty#12 integer(2)\n"
            "yacs priv\n"
            "ykind fint\n"
            "yikind long\n");
}

}  // namespace
