// The IL walker: visit order, one visit per pass, marks put back, module mode.
#include <utility>
#include <vector>

#include "frontend/model/il_walk.h"
#include "tests/unit/model/model_fixture.h"

namespace {

std::vector<std::pair<void*, int>> visits;
std::vector<uint32_t> sizes;
void record(void* e, int kind, uint32_t size) {
  visits.emplace_back(e, kind);
  sizes.push_back(size);
}

class WalkTest : public ModelTest {
 protected:
  // file scope: object V (type REAL(3), initializer 1.5), a program P whose
  // scope holds statement "V = 2" and a FORMAT label; V and the label share
  // the name atom V... the names are shared as the walk expects.
  void build() {
    scope* file = the_il_header.primary_scope;
    v = new_object();
    v->corresp.name = name("V");
    v->storage_class = sc_local;
    v->type = array_type(default_real_type(), 3);
    for (uint32_t d = 0; d < 3; ++d) set_bounds(v->type, d, 1, 2);
    v->initializer = real_constant(default_real_type(), 1.5);
    file->objects = v;

    program = new_object();
    program->corresp.name = name("P");
    program->storage_class = sc_program;
    body = new_scope_entry();
    body->assoc_routine = program;
    program->assoc_scope = body;
    v->next = program;

    statement* s = new_statement(stmk_expr);
    expr_node* lhs = new_expr_node(enk_object);
    lhs->object = v;
    expr_node* rhs = const_node(int_constant(default_integer_type(), 2));
    lhs->next = rhs;
    s->expr = new_operation_node(eok_assign, v->type, lhs);
    statement* block = new_statement(stmk_block);
    block->statements = s;
    body->assoc_block = block;

    fmt = new_label();
    fmt->corresp.name = name("V");  // a name atom borne by two entries
    init_label(fmt, lk_format);
    fmt->format_constant = char_constant("(I5)");
    body->labels = fmt;
  }
  object* v = nullptr;
  object* program = nullptr;
  scope* body = nullptr;
  label* fmt = nullptr;
};

TEST_F(WalkTest, TwoWalksVisitTheSameSequenceAndPutEveryMarkBack) {
  build();
  visits.clear();
  il_walk(&the_il_header, ilk_il_header, 0, nullptr, record, nullptr, nullptr);
  std::vector<std::pair<void*, int>> first = visits;
  ASSERT_FALSE(first.empty());
  for (auto& [e, k] : first) EXPECT_EQ(*static_cast<il_entry_header*>(e) & il_walk_mark, 0u);

  visits.clear();
  il_walk(&the_il_header, ilk_il_header, 0, nullptr, record, nullptr, record);
  ASSERT_EQ(visits.size(), 2 * first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(visits[i], first[i]);
    EXPECT_EQ(visits[first.size() + i], first[i]);
  }
  for (auto& [e, k] : first) EXPECT_EQ(*static_cast<il_entry_header*>(e) & il_walk_mark, 0u);
}

TEST_F(WalkTest, EachEntryOnceAndAtomsBeforeTheirBearers) {
  build();
  visits.clear();
  sizes.clear();
  il_walk(&the_il_header, ilk_il_header, 0, nullptr, record, nullptr, nullptr);
  auto index_of = [](void* e) {
    for (size_t i = 0; i < visits.size(); ++i)
      if (visits[i].first == e) return static_cast<long>(i);
    return -1L;
  };
  for (size_t i = 0; i < visits.size(); ++i)
    for (size_t j = i + 1; j < visits.size(); ++j) EXPECT_NE(visits[i].first, visits[j].first);
  long atom_v = index_of(name("V"));
  ASSERT_GE(atom_v, 0);
  EXPECT_LT(atom_v, index_of(v));
  EXPECT_LT(index_of(v), index_of(v->type));       // an entry before its children
  EXPECT_LT(index_of(v->type), index_of(v->initializer));
  EXPECT_GE(index_of(fmt), 0);
  EXPECT_GE(index_of(fmt->format_constant), 0);
  // The rank-3 bounds block is walked with the size 8 + 16 x 3.
  long b = index_of(v->type->bound_info);
  ASSERT_GE(b, 0);
  EXPECT_EQ(visits[static_cast<size_t>(b)].second, ilk_bound_info_entry);
  EXPECT_EQ(sizes[static_cast<size_t>(b)], 56u);
  EXPECT_EQ(index_of(default_real_type()) >= 0, true);
}

TEST_F(WalkTest, ModuleModeLeavesOutFormulasScopesAndPrivateComponents) {
  build();
  constant* formula = new_constant();
  init_constant(formula, ck_expression);
  formula->type = default_integer_type();
  formula->expr = new_expr_node(enk_empty);
  v->initializer = formula;
  type* private_fields = new_type(tk_derived_type);
  object* field = new_object();
  field->storage_class = sc_type_field;
  field->type = default_logical_type();
  private_fields->first_field = field;
  object* w = new_object();
  w->storage_class = sc_local;
  w->type = private_fields;
  program->next = w;

  walk.il_module_mode = true;
  visits.clear();
  il_walk(&the_il_header, ilk_il_header, 0, nullptr, record, nullptr, nullptr);
  walk.il_module_mode = false;
  auto seen = [](void* e) {
    for (auto& p : visits)
      if (p.first == e) return true;
    return false;
  };
  EXPECT_TRUE(seen(formula));
  EXPECT_FALSE(seen(formula->expr));
  EXPECT_FALSE(seen(body));
  EXPECT_TRUE(seen(private_fields));
  EXPECT_FALSE(seen(field));

  visits.clear();
  il_walk(&the_il_header, ilk_il_header, 0, nullptr, record, nullptr, nullptr);
  EXPECT_TRUE(seen(formula->expr));
  EXPECT_TRUE(seen(body));
  EXPECT_TRUE(seen(field));
}

TEST_F(WalkTest, ModuleModeFollowsTheModuleExportList) {
  object* m = new_object();
  m->storage_class = sc_module;
  symbol_entry* ms = symbol_create(sym_module, name("M"), null_pos, 0);
  m->symbol = ms;
  object* exported = new_object();
  exported->storage_class = sc_local;
  exported->type = default_integer_type();
  symbol_entry* es = symbol_create(sym_variable, name("E"), null_pos, 0);
  es->entity = exported;
  ms->link = es;
  symbol_entry* gs = symbol_create(sym_intrinsic_function, name("G"), null_pos, 0);
  es->next_same_level = gs;
  auto* d = pool_new<intrinsic_descriptor>();
  *d = intrinsic_descriptor{name("SIN"), 156, nullptr, nullptr};
  gs->entity = d;
  the_il_header.main_routine = m;
  walk.il_module_mode = true;
  visits.clear();
  il_walk(&the_il_header, ilk_il_header, 0, nullptr, record, nullptr, nullptr);
  walk.il_module_mode = false;
  std::vector<std::pair<void*, int>> expected_tail = {
      {m, ilk_object},        {name("E"), ilk_atom},   {es, ilk_symbol_entry},
      {exported, ilk_object}, {default_integer_type(), ilk_type}, {name("G"), ilk_atom},
      {name("SIN"), ilk_atom}, {gs, ilk_symbol_entry},
  };
  ASSERT_GE(visits.size(), expected_tail.size());
  std::vector<std::pair<void*, int>> tail(visits.end() - static_cast<long>(expected_tail.size()), visits.end());
  EXPECT_EQ(tail, expected_tail);
}

}  // namespace

namespace {

// A node without a type, so that only the nodes themselves are visited.
expr_node* bare(int enk) {
  expr_node* n = new_expr_node(enk);
  n->type = nullptr;
  return n;
}

TEST_F(WalkTest, StatementChildrenComeInTheirFixedOrder) {
  statement* loop = new_statement(stmk_ido);
  expr_node* e0 = bare(enk_empty);
  loop->expr = e0;
  statement* body = new_statement(stmk_block);
  statement* inner = new_statement(stmk_return);
  body->statements = inner;
  loop->loop_statement = body;
  do_loop* d = new_do_loop();
  expr_node* v = bare(enk_empty);
  expr_node* i = bare(enk_empty);
  expr_node* f = bare(enk_empty);
  expr_node* n = bare(enk_empty);
  d->variable = v;
  d->initial_value = i;
  d->final_value = f;
  d->increment = n;
  loop->loop = d;
  visits.clear();
  il_walk(loop, ilk_statement, il_entry_size(ilk_statement), nullptr, record, nullptr, nullptr);
  std::vector<std::pair<void*, int>> expected = {
      {loop, ilk_statement}, {e0, ilk_expr_node}, {body, ilk_statement},
      {inner, ilk_statement}, {d, ilk_do_loop},   {v, ilk_expr_node},
      {i, ilk_expr_node},    {f, ilk_expr_node}, {n, ilk_expr_node},
  };
  EXPECT_EQ(visits, expected);

  statement* write = new_statement(stmk_write);
  input_output_description* io = new_io_description();
  io->unit_kind = iou_external;
  io->unit_expr = bare(enk_empty);
  io->format_kind = iof_format_label;
  io->format_label = new_label();
  io->specifier_list = bare(enk_empty);
  io->specifier_list->is_specifier = true;
  io->specifier_list->next = bare(enk_empty);
  write->io_descr = io;
  visits.clear();
  il_walk(write, ilk_statement, il_entry_size(ilk_statement), nullptr, record, nullptr, nullptr);
  expected = {{write, ilk_statement},
              {io, ilk_input_output_description},
              {io->unit_expr, ilk_expr_node},
              {io->format_label, ilk_label},
              {io->specifier_list, ilk_expr_node},
              {io->specifier_list->next, ilk_expr_node}};
  EXPECT_EQ(visits, expected);
  // A default unit leaves its expression out.
  io->unit_kind = iou_default;
  visits.clear();
  il_walk(write, ilk_statement, il_entry_size(ilk_statement), nullptr, record, nullptr, nullptr);
  EXPECT_EQ(visits.size(), expected.size() - 1);
}

}  // namespace

namespace {

// Records the kind and the walker's current scope of every visit.
std::vector<scope*> scopes_seen;
void record_with_scope(void* e, int kind, uint32_t size) {
  record(e, kind, size);
  scopes_seen.push_back(walk.current_scope);
}

TEST_F(WalkTest, ScopeListsComeInTheirFixedOrder) {
  scope* u = new_scope_entry();
  object_list_member* param = new_object_list_member();
  param->object = new_object();
  u->parameters = param;
  u->function_result_var = new_object();
  u->constants = new_constant();
  u->constants->type = nullptr;
  u->types = new_type(tk_void);
  u->objects = new_object();
  u->labels = new_label();
  u->entries = new_entry_description();
  u->namelist_groups = new_namelist_group();
  u->interfaces = new_interface_entry();
  object* routine = new_object();
  routine->storage_class = sc_intrinsic;
  u->assoc_routine = routine;
  u->assoc_block = new_statement(stmk_return);
  visits.clear();
  scopes_seen.clear();
  walk.current_scope = nullptr;
  il_walk(u, ilk_scope, il_entry_size(ilk_scope), nullptr, record_with_scope, nullptr, nullptr);
  std::vector<std::pair<void*, int>> expected = {
      {u, ilk_scope},
      {param, ilk_object_list_member},
      {param->object, ilk_object},
      {u->function_result_var, ilk_object},
      {u->constants, ilk_constant},
      {u->types, ilk_type},
      {u->objects, ilk_object},
      {u->labels, ilk_label},
      {u->entries, ilk_entry_description},
      {u->namelist_groups, ilk_namelist_group},
      {u->interfaces, ilk_interface},
      {routine, ilk_object},
      {u->assoc_block, ilk_statement},
  };
  EXPECT_EQ(visits, expected);
  ASSERT_EQ(scopes_seen.size(), expected.size());
  EXPECT_EQ(scopes_seen[0], nullptr);  // the scope itself is visited from outside
  for (size_t i = 1; i < scopes_seen.size(); ++i) EXPECT_EQ(scopes_seen[i], u) << i;
  EXPECT_EQ(walk.current_scope, nullptr);  // restored when the scope's walk ends

  // A scope without a routine (the file scope) reaches its types only
  // through references.
  u->assoc_routine = nullptr;
  visits.clear();
  il_walk(u, ilk_scope, il_entry_size(ilk_scope), nullptr, record, nullptr, nullptr);
  for (auto& [e, k] : visits) EXPECT_NE(e, static_cast<void*>(u->types));
  EXPECT_EQ(visits.size(), expected.size() - 2);
}

TEST_F(WalkTest, CallsAndRoutineTypesWalkTheirPartsInOrder) {
  auto bare_object = [] {
    object* o = new_object();
    o->storage_class = sc_intrinsic;
    return o;
  };
  expr_node* call = bare(enk_call);
  call->operands = bare(enk_empty);
  call->operands->next = bare(enk_empty);
  call->routine = bare_object();
  call->call_interface = new_interface_entry();
  visits.clear();
  il_walk(call, ilk_expr_node, il_entry_size(ilk_expr_node), nullptr, record, nullptr, nullptr);
  std::vector<std::pair<void*, int>> expected = {
      {call, ilk_expr_node},           {call->operands, ilk_expr_node},
      {call->operands->next, ilk_expr_node}, {call->routine, ilk_object},
      {call->call_interface, ilk_interface},
  };
  EXPECT_EQ(visits, expected);

  // A generic call names its interface before its operands.
  expr_node* generic = bare(enk_generic_call);
  generic->operands = bare(enk_empty);
  generic->generic_routine = new_interface_entry();
  visits.clear();
  il_walk(generic, ilk_expr_node, il_entry_size(ilk_expr_node), nullptr, record, nullptr, nullptr);
  expected = {{generic, ilk_expr_node},
              {generic->generic_routine, ilk_interface},
              {generic->operands, ilk_expr_node}};
  EXPECT_EQ(visits, expected);

  // A routine type: return type, dummies, then the routine.
  type* result = new_type(tk_void);
  type* r = routine_type(bare_object(), result);
  r->param_type_list = new_param_type();
  r->param_type_list->next = new_param_type();
  visits.clear();
  il_walk(r, ilk_type, il_entry_size(ilk_type), nullptr, record, nullptr, nullptr);
  expected = {{r, ilk_type},
              {result, ilk_type},
              {r->param_type_list, ilk_param_type},
              {r->param_type_list->next, ilk_param_type},
              {r->assoc_routine, ilk_object}};
  EXPECT_EQ(visits, expected);
}

}  // namespace
