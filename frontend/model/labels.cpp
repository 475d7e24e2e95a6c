// Statement labels and construct names: one class-14 symbol per label of a
// unit with its label entry, whose kind (executable, FORMAT, specification,
// ELSE, construct, or not yet known) every definition and reference must
// agree with.
#include "frontend/model/labels.h"

#include "frontend/base/diagnostics.h"
#include "frontend/model/tokens.h"
#include "frontend/model/cross_reference.h"
#include "frontend/model/names.h"

namespace {

bool kept_in_unit_list(int lk) {
  return lk == lk_executable || lk == lk_format || lk == lk_else_or_elseif || lk == lk_control;
}

// The message (0: none) for a label entry of kind `have` met by a use of
// kind `want`; a label of unknown kind takes the wanted kind, and an
// executable label branched to turns into an ELSE label.
int kind_conflict(label* l, int want, bool is_definition) {
  int have = l->kind;
  if (want == have) return 0;
  if (want == lk_specification) return 100;
  if (want == lk_unknown && have == lk_specification) return 100;
  if (have == lk_unknown) {
    init_label(l, want);
    if (kept_in_unit_list(want) && l->symbol && l->symbol->name != names.error_name) unit_add_label(l);
    return 0;
  }
  switch (want) {
    case lk_format:
      return is_definition ? 100 : 265;
    case lk_else_or_elseif:
      if (have == lk_executable) {
        init_label(l, lk_else_or_elseif);
        return 145;
      }
      return 100;
    case lk_executable:
      if (is_definition) return 100;
      return have == lk_else_or_elseif ? 145 : 199;
    default:  // lk_unknown (ASSIGN) and lk_control go with any other kind
      return 0;
  }
}

}  // namespace

symbol_entry* label_reference(symbol_entry* found, name_pos_record* label_name, int lk,
                              bool is_definition, int xref_form) {
  if (found && found->level != symtab.cur_scope) found = nullptr;
  symbol_entry* s = nullptr;
  int msg = 0;
  if (found && found->cls == sym_stmt_label && found->entity) {
    auto* l = static_cast<label*>(found->entity.get());
    if (l->kind == lk_unknown && (found->word2 & labelf_defined)) {
      drop_name(label_name);  // an ASSIGN target defined already: a new label
    } else {
      msg = kind_conflict(l, lk, is_definition);
      if (!msg) s = found;
    }
  } else if (found) {
    msg = 224;
  }
  if (msg) {
    error_at(msg, label_name->pos);
    if (is_definition && found) found->word2 |= labelf_defined;
    drop_name(label_name);
  }
  if (!s) {
    s = symbol_create(sym_stmt_label, label_name->name, label_name->pos, symtab.cur_scope);
    label* l = new_label();
    init_label(l, lk);
    set_source_corresp(l, s);
    s->entity = l;
    if (kept_in_unit_list(lk) && s->name != names.error_name) unit_add_label(l);
  }
  auto* l = static_cast<label*>(s->entity.get());
  if (is_definition) {
    s->word2 |= labelf_defined;
    if (!msg) l->corresp.decl_position = label_name->pos;
  } else if (lk == lk_unknown) {
    l->used_in_assign = true;
  }
  if ((l->kind == lk_executable || l->kind == lk_control) && s->name != names.error_name) {
    int kind = decl_ctx.statement_kind;
    if (is_definition) {
      if (kind != stmt_kind_end_if) check_label_block(s, 1, label_name->pos);
    } else if (lk != lk_unknown && kind != stmt_kind_do && kind != stmt_kind_do_while) {
      check_label_block(s, 0, label_name->pos);
    }
  }
  if (is_definition)
    xref_note(s, label_name->pos, false);
  else
    xref_note_use(xref_form, s, label_name->pos);
  return s;
}

