// DIMENSION and COMMON statements: arrays declared by their specification,
// and the members of COMMON blocks, each appended to its block's list in
// the order written.
#include "checker/reader/commonstmt.h"

#include "checker/common/qualcodes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"

static bool spec_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }

// DIMENSION name(array-spec) [, name(array-spec)]...
int32_t shdim(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  if (pstat[tk.stacol] == ':' && pstat[tk.stacol + 1] == ':') tk.stacol += 2;
  for (;;) {
    locsym* s = nullptr;
    if (getdec(&s, 0) == -2) {
      skip_statement();
      return 0;
    }
    if (spec_end()) return 0;
    getokn();
    if (tk.tok1 != ',') {
      msg_at(6, tk.tokbeg);
      skip_statement();
      return 0;
    }
  }
}

// The message that keeps an accepted declarator out of a COMMON block, 0
// when it may be a member (455 still lets it in).
static int32_t common_refusal(const locsym* s) {
  if (s->usage & QB_DUM) return 50;
  if (s->props & CP_PTRBASED) return 263;
  if (s->props & CP_COMBLK) return 88;
  if (s->attrib & 0x8000000u) return 614;
  if (s->sclass == SC_FUNC ||
      ((s->sclass == SC_VAR || s->sclass == SC_REC90) && s->squal == SQ_FUNCVAR))
    return 720;
  if ((s->attrib & 0x2u) && s->arrspec != nullptr && !(s->attrib & 0x1u)) return 821;
  if (s->attrib & 0x8u) return 722;
  if (ropt.hpf && (s->hpfbits & 0x80u)) return 581;
  if (s->attrib & 0x400u) return 455;
  return 0;
}

// Appends sym to the member list of blk.
static void common_append(locsym* blk, locsym* sym) {
  ComMember* m = local_new<ComMember>();
  m->sym = sym;
  m->line = rsrc.codlno;
  m->next = nullptr;
  ComMember** tail = reinterpret_cast<ComMember**>(&blk->list);
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = m;
}

// COMMON [/[name]/] object-list [[,] /[name]/ object-list]...
int32_t shcommon(const StmtCall& c) {
  if (!tstord(c.lowest, c.cls)) {
    skip_statement();
    return 0;
  }
  for (;;) {
    locsym* blk = nullptr;
    int32_t col = tk.stacol;
    if (pstat[tk.stacol] == '/' && pstat[tk.stacol + 1] != '/') {
      ++tk.stacol;
      getokn();
      col = tk.tokbeg;
      if (tk.toktyp != TT_NAME) {
        msg_at(24, col);
        skip_statement();
        return 0;
      }
      int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
      blk = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, SC_COM);
      getokn();
      if (tk.tok1 != '/') {
        msg_at(5, tk.tokbeg);
        skip_statement();
        return 0;
      }
    } else {
      if (pstat[tk.stacol] == '/') tk.stacol += 2;  // "//"
      static const char blank[] = "BLANK-COMMON";
      blk = getsym(blank, static_cast<int32_t>(sizeof blank - 1), 1 | 2 | 4, SC_COM);
    }
    if (blk == nullptr) {
      msg_at(24, col);
      skip_statement();
      return 0;
    }
    if (blk->sclass != SC_UNK && blk->sclass != SC_COM) {
      flaguse(blk, 64, col);
      msg_at(22, col);
      skip_statement();
      return 0;
    }
    if (blk->sclass != SC_COM) blk->line = static_cast<uint32_t>(rsrc.codlno);
    blk->sclass = SC_COM;
    flaguse(blk, QB_DECL, col);
    for (;;) {
      locsym* s = nullptr;
      int32_t r = getdec(&s, GD_COMMON | GD_EXPLICIT);
      if (r == -2) {
        skip_statement();
        return 0;
      }
      if (r == 0 && s != nullptr) {
        int32_t refused = common_refusal(s);
        if (refused != 0) msg_at(refused, tk.errcol);
        if (refused == 0 || refused == 455) {
          s->props = static_cast<uint8_t>((s->props & ~CP_EQVGRP) | CP_COMBLK);
          s->link = blk;
          common_append(blk, s);
        }
      }
      if (spec_end()) return 0;
      if (pstat[tk.stacol] == ',') {
        ++tk.stacol;
        if (pstat[tk.stacol] == '/') break;
        continue;
      }
      if (pstat[tk.stacol] == '/') break;
      getokn();
      msg_at(6, tk.tokbeg);
      skip_statement();
      return 0;
    }
  }
}
