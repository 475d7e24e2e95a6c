// Program-unit statements after the unit's name: the dummy-argument list
// that gives each dummy its dummy mark, the length of a typed function,
// RESULT, the procedure prefixes and the checks of PURE and ELEMENTAL
// procedures at the end of their specification part.
#include "checker/reader/unitstmt.h"

#include <cstring>
#include <string>

#include "checker/common/qualcodes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/modtable.h"

ProcPrefix procprefix;

void procprefix_reset() { procprefix = ProcPrefix{}; }

namespace {

bool tok_is(int32_t ch) { return tk.toktyp == TT_OTHER && tk.tok1 == ch; }
bool at_end_tok() { return tk.toktyp == TT_OTHER && tk.tok1 == 10; }
int32_t next_char() { return tk.stacol < rsrc.statend ? pstat[tk.stacol] : 10; }
bool name_is(const char* word) {
  int32_t n = static_cast<int32_t>(std::strlen(word));
  return tk.toktyp == TT_NAME && tk.toksiz == n && std::memcmp(pstat + tk.tokbeg, word, n) == 0;
}

// Passing-mode letters after "/" behind a dummy name, one bit each.
constexpr char passing_letters[] = "ILOQRSVZ";

// Appends a dummy to the procedure's list.
void add_dummy(locsym* proc, DummyNode**& tail, locsym* sym) {
  DummyNode* d = local_new<DummyNode>();
  d->sym = sym;
  *tail = d;
  tail = &d->next;
  (void)proc;
}

// ")" closes a list: 7 at the end of the statement, 6 for other text.
bool closing_paren() {
  if (tok_is(')')) return true;
  msg_at(at_end_tok() ? 7 : 6, tk.tokbeg);
  skip_statement();
  return false;
}

// RESULT ( name ) after the dummy list of a function or function entry.
bool read_result(locsym* fn) {
  getokn();
  if (!tok_is('(')) {
    msg_at(17, tk.tokbeg);
    return skip_statement(), false;
  }
  int32_t col = 0;
  int32_t len = 0;
  if (!read_statement_name(&col, &len)) return false;
  locsym* r = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
  if (r == nullptr || r == fn) {
    msg_at(22, col);
    return skip_statement(), false;
  }
  if (r->sclass == SC_UNK) r->sclass = SC_VAR;
  r->squal = SQ_FUNCVAR;
  if (fn->type.code != 0 && (fn->props & CP_TYPIMP) == 0) r->type = fn->type;
  flaguse(r, QB_DECL, col);
  fn->locdata = r;
  getokn();
  return closing_paren();
}

}  // namespace

int32_t getdums(locsym* proc, int32_t kind) {
  DummyNode** tail = reinterpret_cast<DummyNode**>(&proc->list);
  while (*tail != nullptr) tail = &(*tail)->next;
  bool alt_reported = false;
  bool elemental_reported = false;
  bool hpf_reported = false;
  int32_t count = 0;
  for (;;) {
    getokn();
    if (tok_is('/')) {
      // A dialect item between slashes.
      issue(9071);
      do {
        getokn();
      } while (!tok_is('/') && !at_end_tok());
      if (at_end_tok()) {
        msg_at(5, tk.tokbeg);
        return -1;
      }
      ++count;
    } else if (kind == 6 && (tok_is('*') || tok_is('&'))) {
      if (ropt.Language == 2 && !alt_reported) {
        msg_at(600, tk.tokbeg);
        alt_reported = true;
      }
      if (tok_is('&')) issue(9131);
      if ((procprefix.bits & PP_ELEMENTAL) && !elemental_reported) {
        msg_at(795, tk.tokbeg);
        elemental_reported = true;
      }
      if (ropt.hpf && (procprefix.bits & PP_HPF_LOCAL) && !hpf_reported) {
        msg_at(801, tk.tokbeg);
        hpf_reported = true;
      }
      add_dummy(proc, tail, nullptr);
      ++count;
    } else if (tk.toktyp == TT_NAME) {
      int32_t col = tk.tokbeg;
      int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
      locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1, 0);
      if (s == nullptr) {
        msg_at(24, col);
        return -1;
      }
      if (s->sclass == SC_EXT || s->sclass == SC_FUNC || s->sclass == SC_SUB) {
        if (ropt.hpf && (procprefix.bits & PP_HPF_LOCAL)) msg_at(803, col);
        s->squal = SQ_DUMRTN;
      }
      xrefit(s, QB_DUM, col);
      if (s->line == 0) s->line = static_cast<uint32_t>(rsrc.codlno);
      add_dummy(proc, tail, s);
      ++count;
      if (next_char() == '/') {
        // Passing-mode letters of the dialect.
        getokn();
        getokn();
        if (tk.toktyp == TT_NAME) {
          for (int32_t p = tk.tokbeg; p < tk.tokbeg + tk.toksiz; ++p) {
            const char* at = std::strchr(passing_letters, pstat[p]);
            if (at != nullptr && *at != '\0') s->spare |= 1 << (at - passing_letters);
          }
        }
      }
    } else {
      msg_at(24, tk.tokbeg);
      return -1;
    }
    getokn();
    if (!tok_is(',')) return count;
  }
}

void read_unit_tail(locsym* proc, int32_t kind, bool entry) {
  if (proc == nullptr) return skip_statement();
  bool function = kind == 5;
  if (function && !entry && next_char() == '*') {
    // FUNCTION name * length: the length of the prefix type.
    int32_t col = tk.stacol;
    int32_t len = read_length_spec();
    if (len == -3) return skip_statement();
    if (procprefix.typed == 0) {
      msg_at(288, col);
    } else if (procprefix.typed == 2) {
      msg_at(285, col);
    } else if (procprefix.tclass == TC_CHARACTER) {
      PSetQCharsize(&procprefix.type, len);
    } else {
      dtdesc d{};
      if (figtyp(&d, procprefix.tclass, len, 0)) procprefix.type = d;
    }
  }
  if (function && !entry && procprefix.typed != 0) {
    proc->type = procprefix.type;
    proc->props &= static_cast<uint8_t>(~CP_TYPIMP);
  }
  getokn();
  if (at_end_tok()) {
    if (function && !entry) issue(9002);
    return;
  }
  if (!tok_is('(')) {
    msg_at(kind == 7 ? 20 : 17, tk.tokbeg);
    return skip_statement();
  }
  if (kind == 7) issue(9095);
  if (next_char() == ')') {
    getokn();
  } else if (getdums(proc, kind) < 0) {
    return skip_statement();
  }
  if (!closing_paren()) return;
  getokn();
  if (function && name_is("RESULT")) {
    if (!read_result(proc)) return;
    getokn();
  }
  if (!at_end_tok()) {
    msg_at(20, tk.tokbeg);
    skip_statement();
  }
}

bool add_prefix_bit(uint32_t bit, int32_t col) {
  if (procprefix.bits & bit) {
    msg_at(748, col);
    return false;
  }
  if (bit == PP_RECURSIVE && (procprefix.bits & PP_HPF_LOCAL)) {
    msg_at(800, col);
    return false;
  }
  procprefix.bits |= bit;
  return true;
}

void shprog_add_prefix(locsym* proc) {
  if (proc != nullptr) {
    if (procprefix.bits & PP_PURE) proc->attrib |= ATTR_PURE_PROC;
    if (procprefix.bits & PP_ELEMENTAL) proc->attrib |= ATTR_ELEMENTAL_PROC;
    if (ropt.hpf && (procprefix.bits & PP_EXTRINSIC)) proc->hpfbits |= 0x8;
    if (ropt.hpf && (procprefix.bits & PP_HPF)) proc->hpfbits |= 0x8000;
    if (ropt.hpf && (procprefix.bits & PP_HPF_LOCAL)) proc->hpfbits |= 0x4000;
  }
  procprefix_reset();
}

void shprog_chk_prefix() {
  locsym* proc = prgnam;
  if (proc == nullptr) return;
  // A function's name stands for its result until the end of the unit.
  bool function = proc->sclass == SC_FUNC || proc->squal == SQ_FUNCVAR;
  if (!function && proc->sclass != SC_SUB) return;
  bool pure = (proc->attrib & ATTR_PURE_PROC) != 0;
  bool elemental = (proc->attrib & ATTR_ELEMENTAL_PROC) != 0;
  if (!pure && !elemental) return;
  int32_t saved = tk.errcol;
  tk.errcol = ERRCOL_NOLINES;
  if (elemental && function) {
    const locsym* r = proc->locdata != nullptr ? static_cast<const locsym*>(proc->locdata) : proc;
    if (r->arrspec != nullptr || (r->attrib & 0x2)) rd_errmsg(793);
  }
  for (const DummyNode* d = static_cast<const DummyNode*>(proc->list); d != nullptr; d = d->next) {
    const locsym* s = d->sym;
    if (s == nullptr) continue;
    bool procedure = s->squal == SQ_DUMRTN || s->sclass == SC_EXT || s->sclass == SC_FUNC ||
                     s->sclass == SC_SUB;
    bool pointer = (s->attrib & 0x2) != 0;
    if (pure && !procedure && !pointer) {
      uint32_t intent = s->attrib & 0x60;
      if (function && intent != 0x20) {
        rd_errmsg(805);
      } else if (proc->sclass == SC_SUB && intent == 0) {
        rd_errmsg(806);
      }
    }
    if (elemental && (procedure || pointer || s->arrspec != nullptr)) {
      rd_errmsg(794);
    }
  }
  tk.errcol = saved;
}

namespace {

// Extra-flag bits of a module symbol in the using unit.
constexpr uint32_t EXTRA_USE_COPIED = 0x10000;  // its entities were copied
constexpr uint32_t EXTRA_USE_ONLY = 0x20000;    // its first USE had ONLY

// One item of a USE list: a name, or OPERATOR (op) / ASSIGNMENT (=).
struct UseName {
  const char* text;  // the name (start of the keyword for the other forms)
  int32_t len;
  int32_t col;
  bool generic_form;  // OPERATOR or ASSIGNMENT
};

// Reads a generic specification; false after message 24 or 7.
bool generic_spec(UseName& n) {
  getokn();
  if (tk.toktyp != TT_NAME) {
    msg_at(24, tk.tokbeg);
    return false;
  }
  n.text = reinterpret_cast<const char*>(pstat + tk.tokbeg);
  n.len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  n.col = tk.tokbeg;
  n.generic_form = false;
  if ((name_is("OPERATOR") || name_is("ASSIGNMENT")) && next_char() == '(') {
    n.generic_form = true;
    getokn();
    skiptopar();
    if (!tok_is(')')) {
      msg_at(7, tk.tokbeg);
      return false;
    }
  }
  return true;
}

// "=>" at the current position.
bool arrow_follows() {
  return next_char() == '=' && tk.stacol + 1 < rsrc.statend && pstat[tk.stacol + 1] == '>';
}

// Moves over "=>".
void skip_arrow() {
  getokn();
  getokn();
}

// The module's entity of that name: an ordinary name, a derived type or a
// NAMELIST group. Null (after 661) when the module does not make it visible.
locsym* module_entity(modblock* block, const UseName& n) {
  if (block == nullptr) return nullptr;
  static const int32_t spaces[] = {0, SC_STRUCT90, SC_NML, SC_STRUCT};
  for (int32_t space : spaces) {
    if (locsym* e = modtbl_getsym(n.text, n.len, 2, space, block->entry)) return e;
  }
  msg_at(661, n.col);
  return nullptr;
}

// Takes an earlier copy of the entity under another name out of the scope.
void del_old_usename(locsym* entry, const locsym* keep) {
  locsym* old = static_cast<locsym*>(entry->modcopy);
  if (old == nullptr || old == keep || Status.scope_level < 1) return;
  loc_scope& lv = Scope[Status.scope_level];
  for (locsym** p = &lv.head; *p != nullptr; p = &(*p)->snext) {
    if (*p == old) {
      *p = old->snext;
      if (lv.tail == old) {
        lv.tail = nullptr;
        for (locsym* t = lv.head; t != nullptr; t = t->snext) lv.tail = t;
      }
      break;
    }
  }
  for (locsym*& head : lv.bucket) {
    for (locsym** p = &head; *p != nullptr; p = &(*p)->hnext) {
      if (*p == old) {
        *p = old->hnext;
        return;
      }
    }
  }
}

// Copies the entity into the unit under the local name; rename is set for
// "local => name". A local name defined already keeps its meaning (22 in
// a rename list when report is set). In an ONLY list every item is a name
// of its own: "dp, wp => dp" gives both names, so a rename there does not
// take an earlier name of the entity away, and a plain name is made even
// when the entity came in under another.
void use_entity(locsym* entry, const UseName& local, bool rename, bool report, bool only_mark,
                bool in_only) {
  if (entry == nullptr) return;
  locsym* l = nullptr;
  auto* had = static_cast<locsym*>(entry->modcopy);
  bool own_name = !rename && in_only && had != nullptr && std::strcmp(had->name, entry->name) != 0;
  if (!rename && !own_name) {
    l = modtbl_copy_locsym_from(entry);
    if (l == nullptr || l == had) return;
  } else {
    const char* text = rename ? local.text : entry->name;
    int32_t len = rename ? local.len : static_cast<int32_t>(std::strlen(entry->name));
    l = getsym(text, len, 1 | 2, TransSC(entry->sclass));
    if (l == nullptr) return;
    if (l->sclass != 0 && l != entry->modcopy) {
      if (report) msg_at(22, local.col);
      return;
    }
    if (l->sclass == 0) {
      if (!in_only) del_old_usename(entry, l);
      modtbl_copy_locsym(entry, l, local_pool());
    }
    if (rename) l->attrib |= 0x8000000;
  }
  if (only_mark) l->extra |= EXTRA_USE_ONLY;
  xrefit(l, 0, local.col);
}

// ONLY : [item [, item]...], item = generic-spec | local => name; *ops is
// set when an item names an operator or the assignment.
void only_list(modblock* block, bool only_mark, bool* ops) {
  if (at_end_tok() || next_char() == 10 || tk.stacol >= rsrc.statend) return;
  for (;;) {
    UseName local{};
    if (!generic_spec(local)) return skip_statement();
    UseName remote = local;
    bool rename = false;
    if (arrow_follows()) {
      skip_arrow();
      if (!generic_spec(remote)) return skip_statement();
      rename = true;
    }
    // Operators and assignment travel with the module's interfaces.
    if (!remote.generic_form) {
      use_entity(module_entity(block, remote), local, rename, false, only_mark, true);
    } else {
      *ops = true;
    }
    getokn();
    if (at_end_tok()) return;
    if (!tok_is(',')) {
      msg_at(6, tk.tokbeg);
      return skip_statement();
    }
  }
}

// local => name [, local => name]...
bool rename_list(modblock* block) {
  for (;;) {
    getokn();
    if (tk.toktyp != TT_NAME) {
      msg_at(24, tk.tokbeg);
      return skip_statement(), false;
    }
    UseName local{reinterpret_cast<const char*>(pstat + tk.tokbeg),
                  tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz, tk.tokbeg, false};
    if (!arrow_follows()) {
      msg_at(611, tk.stacol);
      return skip_statement(), false;
    }
    skip_arrow();
    getokn();
    if (tk.toktyp != TT_NAME) {
      msg_at(24, tk.tokbeg);
      return skip_statement(), false;
    }
    UseName remote{reinterpret_cast<const char*>(pstat + tk.tokbeg),
                   tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz, tk.tokbeg, false};
    use_entity(module_entity(block, remote), local, true, true, false, false);
    getokn();
    if (at_end_tok()) return true;
    if (!tok_is(',')) {
      msg_at(6, tk.tokbeg);
      return skip_statement(), false;
    }
  }
}

}  // namespace

void shuse() {
  getokn();
  if (tk.toktyp != TT_NAME) {
    msg_at(609, tk.tokbeg);
    return skip_statement();
  }
  int32_t col = tk.tokbeg;
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  const char* name = reinterpret_cast<const char*>(pstat + tk.tokbeg);
  if (prgnam != nullptr && static_cast<int32_t>(std::strlen(prgnam->name)) == len &&
      std::memcmp(prgnam->name, name, static_cast<size_t>(len)) == 0) {
    msg_at(613, col);
    return skip_statement();
  }
  std::string modname(name, static_cast<size_t>(len));
  modblock* block = get_module_block(modname.c_str());
  if (block == nullptr) {
    modtbl.unknown_use = 1;
    msg_at(731, col);
    return skip_statement();
  }
  locsym* m = getsym(name, len, 1, 0);
  if (m == nullptr) {
    msg_at(609, col);
    return skip_statement();
  }
  if (m->sclass != SC_UNK && m->sclass != SC_MODULE) {
    xrefit(m, 64, col);
    msg_at(609, col);
    return skip_statement();
  }
  bool first = m->sclass == SC_UNK;
  m->sclass = SC_MODULE;
  m->squal = SQ_EXTERNAL;
  xrefit(m, QB_REF | QB_CALLED, col);
  modtbl.ModulesUsed = 1;
  getokn();
  bool only = false;
  bool ok = true;
  bool ops = false;  // ONLY names an operator or the assignment
  if (!at_end_tok()) {
    if (!tok_is(',')) {
      msg_at(6, tk.tokbeg);
      return skip_statement();
    }
    if (tk.stacol + 5 <= rsrc.statend && std::memcmp(pstat + tk.stacol, "ONLY:", 5) == 0) {
      only = true;
      if (first) m->extra |= EXTRA_USE_ONLY;
      getokn();
      getokn();
      only_list(block, (m->extra & EXTRA_USE_ONLY) != 0, &ops);
    } else {
      ok = rename_list(block);
    }
  }
  if (!only) {
    // Without ONLY every entity is visible; the first such USE copies them.
    m->extra &= ~EXTRA_USE_ONLY;
    if (ok && (m->extra & EXTRA_USE_COPIED) == 0) {
      modtbl_copy_entities_from(block);
      m->extra |= EXTRA_USE_COPIED;
    }
  } else if (ops) {
    // The module's operators and assignment come as one.
    modtbl_copy_usropr_usrasm_from(block);
  }
  if (first) modtbl_copy_interfaces_from(block);
}
