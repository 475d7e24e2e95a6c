// A clean compilation state for the declaration-service tests, with helpers
// that open and close units the way the program-unit statements do, and that
// collect the diagnostics printed meanwhile.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "frontend/lexer/scanner.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/decl_context.h"
#include "frontend/model/dummies.h"
#include "frontend/model/labels.h"
#include "frontend/model/name_resolution.h"
#include "frontend/model/symbol_typing.h"
#include "frontend/model/unit_declarations.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/program_units.h"
#include "frontend/semantics/unit_pass.h"
#include "frontend/parser/block_stack.h"
#include "tests/unit/model/model_fixture.h"

class DeclTest : public ModelTest {
 public:
  void SetUp() override {
    ModelTest::SetUp();
    block_stack_reset();
    diag.min_severity = sev_remark;
    ::testing::internal::CaptureStderr();
    capturing = true;
  }
  void TearDown() override {
    if (capturing) ::testing::internal::GetCapturedStderr();
  }

  // Everything printed on stderr since the last call (or the test start).
  std::string messages() {
    std::string out = capturing ? ::testing::internal::GetCapturedStderr() : std::string();
    ::testing::internal::CaptureStderr();
    return out;
  }
  static int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  static name_pos_record np(const char* text, source_pos_record pos = {1, 1}) {
    return name_pos_record{intern_cstring(text), pos};
  }
  // The in-scope symbol of a name at exactly a level, or null.
  static symbol_entry* at_level(const char* text, int level) {
    for (symbol_entry* s = intern_cstring(text)->first_symbol; s; s = s->next_same_name)
      if ((s->flags & symf_in_scope) && s->level == level) return s;
    return nullptr;
  }
  // SUBROUTINE or FUNCTION name: a unit level pushed, the name declared in the host.
  static symbol_entry* open_subroutine(const char* text, source_pos_record pos = {1, 1}) {
    scope_push(sk_unit);
    name_pos_record n = np(text, pos);
    return declare_subroutine(at_level(text, symtab.cur_scope - 1), &n, false);
  }
  static symbol_entry* open_function(const char* text, type* result, source_pos_record pos = {1, 1}) {
    scope_push(sk_unit);
    name_pos_record n = np(text, pos);
    return declare_function(at_level(text, symtab.cur_scope - 1), &n, result, false);
  }
  // END of a unit: its symbols completed, external names checked, level closed.
  static void close_unit() {
    std::vector<symbol_entry*> level;
    for (symbol_entry* s = current_scope_record().sym_head; s; s = s->next_same_level) level.push_back(s);
    for (symbol_entry* s : level) symbol_complete(s);
    if (symtab.cur_scope == 1) unit_external_names_check();
    scope_end_unit();
  }
  // A name used in the unit as CALL name (called) or name(...) (a function).
  static symbol_entry* use_as_procedure(const char* text, bool called) {
    symbol_entry* s = lookup_name(intern_cstring(text), source_pos_record{2, 7});
    if (s->cls == sym_host_link) s = resolve_alias_link(s);
    s->flags |= symf_proc_ref | (called ? symf_called : 0u);
    return s;
  }

  bool capturing = false;
};
