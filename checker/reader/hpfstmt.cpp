// HPF directives: the mapping directives read from "!HPF$" lines, their
// combined-attribute form, INDEPENDENT, SEQUENCE and NOSEQUENCE, and the
// EXTRINSIC prefix. Each handler checks the directive against the unit's
// declarations and records the mapping in the symbols' HPF bits, their
// align or distribution target (the symbol's further link) and the HPF
// flags of their dimensions. FORALL stands in forall.cpp.
#include "checker/reader/hpfstmt.h"

#include <cstring>

#include "checker/base/errmsg.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/reader/expr.h"
#include "checker/reader/typedecl.h"
#include "checker/semantics/locsym.h"

namespace {

// The combined-attribute keywords and their bits; an empty name ends it.
struct HpfAttr {
  const char* name;
  uint32_t bit;
};
constexpr HpfAttr hpfattrs[] = {
    {"ALIGN", HPF_ALIGN},           {"DIMENSION", HPF_DIMENSION}, {"DISTRIBUTE", HPF_DISTRIBUTE},
    {"DYNAMIC", HPF_DYNAMIC},       {"INHERIT", HPF_INHERIT},     {"PROCESSORS", HPF_PROCESSORS},
    {"TEMPLATE", HPF_TEMPLATE},     {"", 0}};

// The kinds of EXTRINSIC and their prefix bits.
struct ExtrinKind {
  uint32_t bit;
  const char* name;
};
constexpr ExtrinKind extrinkinds[] = {{0x20, "HPF"}, {0x10, "HPF_LOCAL"}};

// Longest chain of align targets followed (a chain that loops stops here).
constexpr int32_t MAX_ALIGN_CHAIN = 64;

// Result of the alignee and distributee checks.
enum Check { PASS, REFUSE };

void msg(int32_t n, int32_t col, const char* inserts = "") {
  tk.errcol = col;
  errmsg(n, inserts);
}

bool at_end() { return tk.stacol >= rsrc.statend || pstat[tk.stacol] == 10; }
int32_t next_ch() { return tk.stacol < rsrc.statend ? pstat[tk.stacol] : 10; }
bool is_other(int32_t c) { return tk.toktyp == TT_OTHER && tk.tok1 == c; }

// Passes kw when the statement text at stacol begins with it.
bool take_word(const char* kw) {
  int32_t n = static_cast<int32_t>(std::strlen(kw));
  if (tk.stacol + n > rsrc.statend || std::memcmp(pstat + tk.stacol, kw, static_cast<size_t>(n)) != 0)
    return false;
  tk.stacol += n;
  return true;
}

// True when the text after the directive keyword selects the form with a
// list of names: in fixed form the text begins with kw, in free form the
// next word is kw.
bool word_selects(const char* kw) {
  int32_t n = static_cast<int32_t>(std::strlen(kw));
  int32_t p = tk.stacol;
  if (p + n > rsrc.statend || std::memcmp(pstat + p, kw, static_cast<size_t>(n)) != 0) return false;
  if (!rsrc.freeform) return true;
  int32_t e = p + n;
  return e >= rsrc.statend || !is_name_char(pstat[e]) || (wbreaks[e] & 1) != 0;
}

// Passes an optional "::"; false after 616 for a single ":".
bool optional_colons() {
  if (next_ch() != ':') return true;
  if (pstat[tk.stacol + 1] == ':') {
    tk.stacol += 2;
    return true;
  }
  msg(616, tk.stacol);
  return false;
}

// Requires "::"; false after 616.
bool required_colons() {
  if (next_ch() == ':' && pstat[tk.stacol + 1] == ':') {
    tk.stacol += 2;
    return true;
  }
  msg(616, tk.stacol);
  return false;
}

// Reads a list of items with "," between them up to and over the token
// close: ")" for a list in parentheses (its "(" already read), 10 for one
// that runs to the end of the statement. item reads one item and is false
// after a message, which ends the list. Any other separator is message
// bad_sep at its token; in a list to the end of the statement the rest of
// the statement is then passed over. False after a message.
template <class Item>
bool each_item(int32_t close, int32_t bad_sep, Item item) {
  for (;;) {
    if (!item()) return false;
    getokn();
    if (is_other(',')) continue;
    if (is_other(close)) return true;
    msg(bad_sep, tk.tokbeg);
    if (close == 10) skip_statement();
    return false;
  }
}

// Reads "(" items ")" into a new List whose Nodes hang from first by next
// and are counted in count. fill reads one item into a new node (the list
// at hand for its further counts) and is false after a message; the node
// is then left out. A separator other than "," or ")" is 7. Null after a
// message.
template <class List, class Node, class Fill>
List* read_paren_list(Fill fill) {
  getokn();  // "("
  List* list = local_new<List>();
  Node** tail = &list->first;
  bool read = each_item(')', 7, [&] {
    Node* node = local_new<Node>();
    if (!fill(list, node)) return false;
    ++list->count;
    *tail = node;
    tail = &node->next;
    return true;
  });
  return read ? list : nullptr;
}

// Reads a name and finds or makes it in the unit's scope; null after 24.
locsym* read_name(int32_t* col) {
  getokn();
  *col = tk.tokbeg;
  if (tk.toktyp != TT_NAME) {
    msg(24, tk.tokbeg);
    return nullptr;
  }
  int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  locsym* s = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, 0);
  if (s == nullptr) msg(24, *col);
  return s;
}

bool is_dummy(const locsym* s) { return (s->usage & QB_DUM) != 0; }

// Reads the names of a list, each found or made and declared, and hands
// each with its column to item; stops after a message.
template <class Item>
void each_name(Item item) {
  each_item(10, 6, [&] {
    int32_t col = 0;
    locsym* s = read_name(&col);
    if (s == nullptr) return false;
    flaguse(s, QB_DECL, col);
    item(s, col);
    return true;
  });
}

// An array spec "(" bounds ")" at stacol; null after a message, the
// bounds not closed by ")" being 7 at the end of the statement, else 6.
ArraySpec* read_bounds(int32_t flags, locsym* s) {
  ArraySpec* spec = get_array_spec(flags, s);
  if (spec == nullptr) return nullptr;
  if (is_other(')')) return spec;
  msg(is_other(10) ? 7 : 6, tk.tokbeg);
  return nullptr;
}
arrdim* dims(locsym* s) { return static_cast<arrdim*>(s->arrspec); }
int32_t rank_of(const locsym* s) { return get_array_rank(s); }

// A directive handler acts only on a directive line and when the statement
// may stand here; otherwise the statement is consumed.
bool directive_taken(const StmtCall& c) {
  if (CurStmt[CS_HPF] == 0 || (c.cls != 0 && !tstord(c.lowest, c.cls))) {
    skip_statement();
    return false;
  }
  return true;
}

// After the header of a multiple form: the combined attributes after ","
// (not in REALIGN and REDISTRIBUTE), else "::". The bits of the directive,
// 0 after a message.
uint32_t multiple_form_bits(uint32_t own, bool re, HpfMapping* m) {
  if (!re && next_ch() == ',') {
    ++tk.stacol;
    return hpf_get_combined_attr(own, m);
  }
  return required_colons() ? own : 0;
}

// ---------------------------------------------------------------- ALIGN

// "(" source entries ")" after the alignee or the keyword: ":", "*" or an
// align dummy (an integer scalar variable). Null after a message.
HpfSourceList* hpf_get_align_source_list() {
  return read_paren_list<HpfSourceList, HpfSourceEntry>([](HpfSourceList* list, HpfSourceEntry* e) {
    int32_t c = next_ch();
    if (c == ':' || c == '*') {
      ++tk.stacol;
      e->colon = c == ':' ? 1 : 0;
    } else {
      int32_t col = tk.stacol;
      uint32_t k = getmeta(EK_SCALARVAR);
      if (k == 0 || (k & EK_SCALARVAR) == 0 || got_sym == nullptr) return false;
      tk.errcol = col;
      exp_isint(&got_typ);
    }
    if (e->colon) ++list->colons;
    return true;
  });
}

// The subscripts of an align target after its "(". Null after a message.
HpfSubsList* hpf_get_align_subsclist(locsym* target, int32_t tcol) {
  getokn();  // "("
  HpfSubsList* list = local_new<HpfSubsList>();
  HpfSubsCell** tail = &list->first;
  int32_t rank = rank_of(target);
  int32_t dim = 0;
  bool beyond = false;
  bool read = each_item(')', 16, [&] {
    HpfSubscript rec{};
    bool star = next_ch() == '*' && (pstat[tk.stacol + 1] == ',' || pstat[tk.stacol + 1] == ')');
    if (star) {
      ++tk.stacol;
    } else {
      int32_t sec = 0;
      if (get_section_subscript(target, dim + 1, &sec, &rec) != 0) return false;
    }
    if (dim < rank) {
      ++dim;
      ++list->count;
      if (!star && rec.kind != 0) {
        ++list->triplets;
        HpfSubsCell* cell = local_new<HpfSubsCell>();
        cell->rec = local_new<HpfSubscript>();
        *cell->rec = rec;
        cell->dim = dim;
        *tail = cell;
        tail = &cell->next;
      }
    } else {
      beyond = true;
    }
    return true;
  });
  if (!read) return nullptr;
  if (beyond) msg(445, tcol);
  if (list->count < rank) {
    tk.errcol = tcol;
    issue(9028);
  }
  return list;
}

// The subscripts of a target given without any: one triplet over each of
// its dimensions.
HpfSubsList* hpf_assumed_subsclist(locsym* target) {
  HpfSubsList* list = local_new<HpfSubsList>();
  HpfSubsCell** tail = &list->first;
  int32_t dim = 0;
  for (arrdim* d = dims(target); d != nullptr && dim < MAX_DIMS; d = d->next) {
    HpfSubsCell* cell = local_new<HpfSubsCell>();
    cell->rec = local_new<HpfSubscript>();
    int32_t upper = d->upper > d->lower ? d->upper : d->lower;
    *cell->rec = HpfSubscript{1, d->lower, upper, 1, 0x5};
    // A bound that is not constant is no known value.
    if (d->flags & 0x3) cell->rec->flags |= 0x2;
    if (d->flags & 0xDC) cell->rec->flags |= 0x40;
    cell->dim = ++dim;
    *tail = cell;
    tail = &cell->next;
  }
  list->count = list->triplets = dim;
  return list;
}

// The align target after "WITH" [*]: its name and subscripts into m. False
// after a message.
bool hpf_get_align_target(HpfMapping* m) {
  int32_t col = 0;
  locsym* t = read_name(&col);
  if (t == nullptr) return false;
  flaguse(t, QB_REF, col);
  m->atarget = t;
  m->subs = next_ch() == '(' ? hpf_get_align_subsclist(t, col) : hpf_assumed_subsclist(t);
  if (m->subs == nullptr) return false;
  // The rank check: the ":" entries against the triplets of the target.
  if (m->source != nullptr && m->source->colons != m->subs->triplets) {
    msg(582, col, "y");
    return false;
  }
  return true;
}

// "*" in front of an align or distribution target: refused in REALIGN and
// REDISTRIBUTE (6). False after the message.
bool star_allowed(bool re) {
  if (!re) return true;
  msg(6, tk.stacol - 1);
  return false;
}

// The first checks of an alignee or distributee: already mapped the other
// way (586), or remapped without being DYNAMIC (587).
bool remap_refused(const locsym* s, int32_t col, bool re, uint32_t other) {
  if (s->hpfbits & other) {
    msg(586, col);
    return true;
  }
  if (re && (s->hpfbits & HPF_DYNAMIC) == 0) {
    msg(587, col);
    return true;
  }
  return false;
}

// The alignee check at the alignee's column.
Check hpf_chk_alignee(locsym* a, int32_t col, bool realign, const HpfMapping& m) {
  if (remap_refused(a, col, realign, HPF_DISTRIBUTE | HPF_REDISTRIBUTE)) return REFUSE;
  if (!realign && (a->hpfbits & HPF_INHERIT)) {
    msg(598, col);
    return REFUSE;
  }
  if (m.source == nullptr || m.subs == nullptr) return PASS;
  // Each ":" entry pairs with the next triplet; the extents must agree where
  // both are known.
  const arrdim* d = dims(a);
  const HpfSubsCell* cell = m.subs->first;
  int32_t dimno = 0;
  for (const HpfSourceEntry* e = m.source->first; e != nullptr && d != nullptr && cell != nullptr;
       e = e->next, d = d->next) {
    ++dimno;
    if (!e->colon) continue;
    const HpfSubscript* t = cell->rec;
    cell = cell->next;
    if ((d->flags & 0x5F) != 0 || (t->flags & 0x42) != 0 || t->stride == 0) continue;
    int64_t extent = static_cast<int64_t>(d->upper) - d->lower + 1;
    int64_t count = (static_cast<int64_t>(t->upper) - t->lower + t->stride) / t->stride;
    if (extent < 0) extent = 0;
    if (count < 0) count = 0;
    if (extent != count) {
      (void)dimno;
      msg(584, col, "yd");
      return REFUSE;
    }
  }
  return PASS;
}

// The end of the chain of align targets that are themselves aligned.
locsym* ultimate_target(locsym* t) {
  for (int32_t i = 0; t != nullptr && i < MAX_ALIGN_CHAIN; ++i) {
    if ((t->hpfbits & (HPF_ALIGN | HPF_REALIGN)) == 0 || t->further == nullptr) return t;
    t = t->further;
  }
  return t;
}

bool distributed(const locsym* s) {
  return s != nullptr && (s->hpfbits & (HPF_DISTRIBUTE | HPF_REDISTRIBUTE)) != 0;
}

// Dimension k (from 1) of s, or null.
arrdim* dim_at(locsym* s, int32_t k) {
  arrdim* d = dims(s);
  for (int32_t i = 1; i < k && d != nullptr; ++i) d = d->next;
  return d;
}

// Marks a valid alignee: its bit, its ultimate target and the flags of its
// aligned dimensions.
void mark_alignee(locsym* a, bool realign, const HpfMapping& m) {
  a->hpfbits |= realign ? HPF_REALIGN : HPF_ALIGN;
  locsym* ult = ultimate_target(m.atarget);
  if (m.atarget != nullptr) a->further = ult;
  bool dist = distributed(ult);
  if (dist) a->hpfbits |= HPF_RESOLVED;
  const HpfSourceEntry* e = m.source != nullptr ? m.source->first : nullptr;
  const HpfSubsCell* cell = m.subs != nullptr ? m.subs->first : nullptr;
  for (arrdim* d = dims(a); d != nullptr; d = d->next) {
    bool aligned = m.source == nullptr || (e != nullptr && e->colon);
    if (e != nullptr) e = e->next;
    if (!aligned) continue;
    d->second |= realign ? HD_REALIGN : HD_ALIGN;
    if (m.astar) d->second |= HD_STAR;
    if (cell != nullptr) {
      const arrdim* td = dim_at(m.atarget, cell->dim);
      if (dist && td != nullptr) d->second = static_cast<uint8_t>((d->second & ~HD_DIST) | (td->second & HD_DIST));
      cell = cell->next;
    }
  }
}

// Single form: ALIGN alignee [(source)] WITH [*] target[(subscripts)]
void hpf_get_single_align(bool realign) {
  HpfMapping m{};
  int32_t acol = 0;
  locsym* a = read_name(&acol);
  if (a == nullptr) return;
  flaguse(a, QB_DECL, acol);
  if (next_ch() == '(') {
    m.source = hpf_get_align_source_list();
    if (m.source == nullptr) return;
    if (m.source->count != rank_of(a)) {
      msg(585, acol);
      return;
    }
  }
  if (!take_word("WITH")) {
    msg(579, tk.stacol);
    return;
  }
  if (next_ch() == '*') {
    ++tk.stacol;
    if (!star_allowed(realign)) return;
    if (!is_dummy(a)) {
      msg(632, acol);
      return;
    }
    m.astar = 1;
  }
  if (!at_end() && !hpf_get_align_target(&m)) return;
  if (hpf_chk_alignee(a, acol, realign, m) == PASS) mark_alignee(a, realign, m);
  chk_endofline(1);
}

// The header of the multiple form, also the ALIGN attribute of a combined
// directive: [(source)] WITH [*] [target[(subscripts)]]. False after a
// message.
bool hpf_get_align_attr_stuff(bool realign, HpfMapping* m) {
  if (next_ch() == '(') {
    m->source = hpf_get_align_source_list();
    if (m->source == nullptr) return false;
  }
  if (!take_word("WITH")) {
    msg(579, tk.stacol);
    return false;
  }
  if (next_ch() == '*') {
    ++tk.stacol;
    if (!star_allowed(realign)) return false;
    m->astar = 1;
  }
  int32_t c = next_ch();
  if (c != ':' && c != ',' && c != 10) return hpf_get_align_target(m);
  return true;
}

// Multiple form: ALIGN [(source)] WITH [*] target [, attributes] :: alignees
void hpf_get_multiple_align(bool realign) {
  HpfMapping m{};
  if (!hpf_get_align_attr_stuff(realign, &m)) return;
  uint32_t bits = multiple_form_bits(HPF_ALIGN, realign, &m);
  if (bits == 0) return;
  each_name([&](locsym* a, int32_t col) {
    int32_t rank = rank_of(a);
    if (m.source != nullptr && m.source->count != rank) {
      msg(585, col);
    } else if (m.source == nullptr && m.atarget != nullptr && rank != m.subs->triplets) {
      msg(583, col, "yy");
    } else if (m.astar && !is_dummy(a)) {
      msg(632, col);
    } else if (hpf_chk_alignee(a, col, realign, m) == PASS) {
      mark_alignee(a, realign, m);
      if (bits != HPF_ALIGN) hpf_xor_combined_attr(a, col, bits & ~HPF_ALIGN, m);
    }
  });
}

// ----------------------------------------------------------- DISTRIBUTE

// True when the word matches the leading part of kw over the word's length.
bool leading_part(const unsigned char* word, int32_t len, const char* kw) {
  int32_t n = static_cast<int32_t>(std::strlen(kw));
  return len > 0 && len <= n && std::memcmp(word, kw, static_cast<size_t>(len)) == 0;
}

// "(" formats ")": "*", BLOCK [(n)] or CYCLIC [(n)]. Null after a message.
HpfFormatList* hpf_get_dist_format_list() {
  return read_paren_list<HpfFormatList, HpfFormat>([](HpfFormatList* list, HpfFormat* f) {
    getokn();
    if (is_other('*')) {
      f->kind = 0;
    } else {
      const unsigned char* w = pstat + tk.tokbeg;
      if (tk.toktyp == TT_NAME && leading_part(w, tk.toksiz, "BLOCK")) {
        f->kind = 1;
      } else if (tk.toktyp == TT_NAME && leading_part(w, tk.toksiz, "CYCLIC")) {
        f->kind = 2;
      } else {
        msg(594, tk.tokbeg);
        return false;
      }
      f->size = f->kind == 2 ? 1 : 0;
      if (next_ch() == '(') {
        getokn();
        int32_t col = tk.stacol;
        if (getmeta(EK_VALUE | EK_CONSTVAL) == 0) return false;
        tk.errcol = col;
        bool integer = exp_isint(&got_typ) != 0;
        f->size = 0;
        if (integer && got_ok) {
          if (got_val.i < 1) {
            msg(746, col);
            return false;
          }
          f->size = got_val.i;
        }
        getokn();
        if (!is_other(')')) {
          msg(7, tk.tokbeg);
          return false;
        }
      }
    }
    if (f->kind != 0) ++list->nonstar;
    return true;
  });
}

// The ONTO target: a PROCESSORS arrangement. False after a message.
bool hpf_get_dist_target(HpfMapping* m) {
  int32_t col = tk.stacol;
  // A PROCESSORS arrangement is taken by its name: it has no type of its
  // own to be given. Anything else is read as a variable or whole array.
  TokenState keep = tk;
  getokn();
  locsym* t = nullptr;
  if (tk.toktyp == TT_NAME) {
    int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
    t = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 4, 0);
  }
  if (t == nullptr || (t->hpfbits & HPF_PROCESSORS) == 0 || next_ch() == '(' || next_ch() == '%') {
    tk = keep;
    if (getmeta(EK_SCALARVAR | EK_ARRAY) == 0 || got_sym == nullptr) return false;
    t = got_sym;
  }
  if ((t->hpfbits & HPF_PROCESSORS) == 0) {
    msg(590, col);
    return false;
  }
  flaguse(t, QB_REF, col);
  m->dtarget = t;
  // The formats that are not "*" must match the target's rank.
  if (m->formats != nullptr && m->formats->nonstar != rank_of(t)) {
    msg(591, col);
    return false;
  }
  return true;
}

// The distributee check at the distributee's column.
Check hpf_chk_distributee(locsym* s, int32_t col, bool redist, const HpfMapping& m) {
  if (remap_refused(s, col, redist, HPF_ALIGN | HPF_REALIGN)) return REFUSE;
  if (m.formats == nullptr) {
    if (m.dtarget != nullptr && rank_of(s) != rank_of(m.dtarget)) {
      msg(592, col, "y");
      return REFUSE;
    }
    return PASS;
  }
  if (m.formats->count != rank_of(s)) {
    msg(589, col, "y");
    return REFUSE;
  }
  if (m.dtarget == nullptr) return PASS;
  const arrdim* d = dims(s);
  const arrdim* td = dims(m.dtarget);
  for (const HpfFormat* f = m.formats->first; f != nullptr && d != nullptr; f = f->next, d = d->next) {
    if (f->kind == 0) continue;
    if (td == nullptr) return REFUSE;
    if (f->kind == 1 && f->size > 0 && (d->flags & ~0x20) == 0 && (td->flags & ~0x20) == 0) {
      int64_t dext = static_cast<int64_t>(d->upper) - d->lower + 1;
      int64_t text = static_cast<int64_t>(td->upper) - td->lower + 1;
      if (static_cast<int64_t>(f->size) * text < dext) {
        msg(593, col, "yd");
        return REFUSE;
      }
    }
    td = td->next;
  }
  return PASS;
}

// Marks a distributee: its bit, its target and its dimension flags.
void hpf_MakeItADistributee(locsym* s, bool redist, const HpfMapping& m) {
  s->hpfbits |= redist ? HPF_REDISTRIBUTE : HPF_DISTRIBUTE;
  s->further = m.dtarget;
  if (m.formats != nullptr) {
    const HpfFormat* f = m.formats->first;
    for (arrdim* d = dims(s); d != nullptr && f != nullptr; d = d->next, f = f->next) {
      uint8_t keep = d->second & static_cast<uint8_t>(~(HD_DIST | HD_INHERIT | HD_STAR | HD_STARALL));
      d->second = static_cast<uint8_t>(keep | f->kind | (m.dstar & HD_STAR));
    }
  } else if (m.dstar == HD_STARALL) {
    for (arrdim* d = dims(s); d != nullptr; d = d->next) d->second |= HD_STARALL;
  }
}

// "*" [formats] before a multiple form or the DISTRIBUTE attribute, then
// [ONTO [*] [target]]. False after a message.
bool hpf_get_distribute_attr_stuff(bool redist, HpfMapping* m) {
  if (next_ch() == '*') {
    ++tk.stacol;
    if (!star_allowed(redist)) return false;
    m->dstar = next_ch() == '(' ? HD_STAR : HD_STARALL;
    m->dneeds_dummy = 1;
  }
  if (next_ch() == '(') {
    m->formats = hpf_get_dist_format_list();
    if (m->formats == nullptr) return false;
  }
  if (take_word("ONTO")) {
    if (next_ch() == '*') {
      ++tk.stacol;
      if (!star_allowed(redist)) return false;
      m->dneeds_dummy = 1;
    }
    int32_t c = next_ch();
    if (c != ':' && c != ',' && c != 10 && !hpf_get_dist_target(m)) return false;
  }
  return true;
}

// Single form: DISTRIBUTE distributee [*] [(formats)] [ONTO [*] [target]]
void hpf_get_single_dist(bool redist) {
  HpfMapping m{};
  int32_t col = 0;
  locsym* s = read_name(&col);
  if (s == nullptr) return;
  if (next_ch() == '*') {
    ++tk.stacol;
    if (!star_allowed(redist)) return;
    if (!is_dummy(s)) {
      msg(632, col);
      return;
    }
    m.dstar = next_ch() == '(' ? HD_STAR : HD_STARALL;
  }
  if (next_ch() == '(') {
    m.formats = hpf_get_dist_format_list();
    if (m.formats == nullptr) return;
  }
  flaguse(s, QB_DECL, col);
  if (take_word("ONTO")) {
    if (next_ch() == '*') {
      ++tk.stacol;
      if (!star_allowed(redist)) return;
      if (!is_dummy(s)) {
        msg(632, col);
        return;
      }
    }
    if (!at_end() && !hpf_get_dist_target(&m)) return;
  }
  if (hpf_chk_distributee(s, col, redist, m) == PASS) hpf_MakeItADistributee(s, redist, m);
  chk_endofline(1);
}

// Multiple form: DISTRIBUTE [*] [(formats)] [ONTO [*] [target]]
// [, attributes] :: distributees
void hpf_get_multiple_dist(bool redist) {
  HpfMapping m{};
  if (!hpf_get_distribute_attr_stuff(redist, &m)) return;
  uint32_t bits = multiple_form_bits(HPF_DISTRIBUTE, redist, &m);
  if (bits == 0) return;
  each_name([&](locsym* s, int32_t col) {
    if (hpf_chk_distributee(s, col, redist, m) == PASS) {
      if (m.dneeds_dummy && !is_dummy(s))
        msg(632, col);
      else
        hpf_MakeItADistributee(s, redist, m);
    }
    if (bits != HPF_DISTRIBUTE) hpf_xor_combined_attr(s, col, bits & ~HPF_DISTRIBUTE, m);
  });
}

// ------------------------------------------- DYNAMIC, INHERIT, PROCESSORS

// The list of names of DYNAMIC, INHERIT, PROCESSORS and TEMPLATE, or their
// combined form; own is the directive's bit.
void declarative_list(uint32_t own) {
  HpfMapping m{};
  uint32_t bits = own;
  if (next_ch() == ',') {
    ++tk.stacol;
    bits = hpf_get_combined_attr(own, &m);
    if (bits == 0) return;
  } else if (!optional_colons()) {
    return;
  }
  bool shaped = (bits & (HPF_PROCESSORS | HPF_TEMPLATE)) != 0;
  each_name([&](locsym* s, int32_t col) {
    if (shaped && next_ch() == '(') {
      // PROCESSORS and TEMPLATE names take an explicit shape of their own.
      HpfMapping own_shape = m;
      own_shape.dims = read_bounds(GD_EXPLICIT, s);
      if (own_shape.dims == nullptr) {
        skip_statement();  // the list ends here
        return;
      }
      hpf_xor_combined_attr(s, col, bits | HPF_DIMENSION, own_shape);
    } else {
      hpf_xor_combined_attr(s, col, bits, m);
    }
  });
}

// An attribute keyword of the combined form: the row whose name the token
// begins with, else one whose leading part the token is; the token is then
// cut to the keyword.
const HpfAttr* attr_keyword() {
  if (tk.toktyp != TT_NAME) return nullptr;
  const unsigned char* w = pstat + tk.tokbeg;
  for (const HpfAttr* a = hpfattrs; a->name[0] != '\0'; ++a) {
    int32_t n = static_cast<int32_t>(std::strlen(a->name));
    if (tk.toksiz >= n && std::memcmp(w, a->name, static_cast<size_t>(n)) == 0) {
      tk.stacol = tk.tokbeg + n;
      return a;
    }
  }
  for (const HpfAttr* a = hpfattrs; a->name[0] != '\0'; ++a) {
    if (leading_part(w, tk.toksiz, a->name)) return a;
  }
  return nullptr;
}

}  // namespace

uint32_t hpf_get_combined_attr(uint32_t given, HpfMapping* m) {
  for (;;) {
    getokn();
    int32_t col = tk.tokbeg;
    const HpfAttr* a = attr_keyword();
    if (a == nullptr) {
      msg(577, col);
      return 0;
    }
    uint32_t bit = a->bit;
    if (given & bit) {
      msg(608, col);
      return 0;
    }
    // A template may be distributed where it is declared; it is not
    // aligned there, and a processor arrangement is neither.
    uint32_t mapped = HPF_ALIGN | HPF_DISTRIBUTE;
    if ((bit == HPF_PROCESSORS && (given & (mapped | HPF_TEMPLATE))) ||
        (bit == HPF_TEMPLATE && (given & (HPF_ALIGN | HPF_PROCESSORS))) ||
        ((bit & mapped) && (given & HPF_PROCESSORS)) ||
        (bit == HPF_ALIGN && (given & HPF_TEMPLATE))) {
      msg(22, col);
      return 0;
    }
    if ((bit == HPF_INHERIT && (given & HPF_ALIGN)) || (bit == HPF_ALIGN && (given & HPF_INHERIT))) {
      msg(598, col);
      return 0;
    }
    if ((bit == HPF_ALIGN && (given & HPF_DISTRIBUTE)) ||
        (bit == HPF_DISTRIBUTE && (given & HPF_ALIGN))) {
      msg(586, col);
      return 0;
    }
    if (bit == HPF_DIMENSION) {
      if (next_ch() != '(') {
        msg(17, tk.stacol);
        return 0;
      }
      m->dims = read_bounds(0, nullptr);
      if (m->dims == nullptr) return 0;
    } else if (bit == HPF_ALIGN) {
      if (!hpf_get_align_attr_stuff(false, m)) return 0;
    } else if (bit == HPF_DISTRIBUTE) {
      if (!hpf_get_distribute_attr_stuff(false, m)) return 0;
    }
    given |= bit;
    if (next_ch() == ',') {
      ++tk.stacol;
      continue;
    }
    return required_colons() ? given : 0;
  }
}

void hpf_xor_combined_attr(locsym* s, int32_t col, uint32_t bits, const HpfMapping& m) {
  uint32_t has = s->hpfbits;
  uint32_t mapped = HPF_ALIGN | HPF_DISTRIBUTE | HPF_REALIGN | HPF_REDISTRIBUTE;
  if ((bits & HPF_DIMENSION) && m.dims != nullptr) {
    copy_array_spec(col, s, m.dims);
    s->attrib |= 0x1u;
  }
  if ((bits & HPF_PROCESSORS) && !(has & HPF_PROCESSORS)) {
    if (has & (mapped | HPF_TEMPLATE)) {
      msg(22, col);
    } else {
      s->sclass = SC_PROCESSORS;
      s->hpfbits |= HPF_PROCESSORS;
    }
  }
  if ((bits & HPF_TEMPLATE) && !(has & HPF_TEMPLATE)) {
    if (has & (mapped | HPF_PROCESSORS)) {
      msg(22, col);
    } else if (s->props & CP_COMBLK) {
      msg(581, col);
    } else {
      s->sclass = SC_TEMPLATE;
      s->hpfbits |= HPF_TEMPLATE;
    }
  }
  if ((bits & HPF_DYNAMIC) && !(has & HPF_DYNAMIC)) {
    if (s->props & CP_COMBLK)
      msg(580, col);
    else if (s->attrib & 0x400u)
      msg(799, col);
    else
      s->hpfbits |= HPF_DYNAMIC;
  }
  if ((bits & HPF_INHERIT) && !(has & HPF_INHERIT)) {
    if (!is_dummy(s)) {
      msg(632, col);
    } else if (has & (HPF_ALIGN | HPF_REALIGN)) {
      msg(598, col);
    } else {
      s->hpfbits |= HPF_INHERIT;
      for (arrdim* d = dims(s); d != nullptr; d = d->next) d->second |= HD_INHERIT;
    }
  }
  if ((bits & HPF_ALIGN) && !(has & HPF_ALIGN) && hpf_chk_alignee(s, col, false, m) == PASS)
    mark_alignee(s, false, m);
  if ((bits & HPF_DISTRIBUTE) && !(has & HPF_DISTRIBUTE) &&
      hpf_chk_distributee(s, col, false, m) == PASS) {
    if (m.dneeds_dummy && !is_dummy(s))
      msg(632, col);
    else
      hpf_MakeItADistributee(s, false, m);
  }
}

namespace {

// Runs the reader of one directive form when the directive is taken, then
// passes over what a message left of the statement.
int32_t run_directive(const StmtCall& c, void (*reader)(const StmtCall&)) {
  if (!directive_taken(c)) return 0;
  reader(c);
  if (!at_end()) skip_statement();
  return 0;
}

void align_forms(const StmtCall& c) {
  bool realign = c.code == 137;
  if (next_ch() == '(' || word_selects("WITH"))
    hpf_get_multiple_align(realign);
  else
    hpf_get_single_align(realign);
}

void distribute_forms(const StmtCall& c) {
  bool redist = c.code == 138;
  int32_t ch = next_ch();
  if (ch == '(' || ch == '*' || word_selects("ONTO"))
    hpf_get_multiple_dist(redist);
  else
    hpf_get_single_dist(redist);
}

}  // namespace

// ALIGN ... | REALIGN ...
int32_t hpf_shalign(const StmtCall& c) { return run_directive(c, align_forms); }

// DISTRIBUTE ... | REDISTRIBUTE ...
int32_t hpf_shdistribute(const StmtCall& c) { return run_directive(c, distribute_forms); }

// DYNAMIC [::] name [, name]... | DYNAMIC, attributes :: names
int32_t hpf_shdynamic(const StmtCall& c) {
  return run_directive(c, [](const StmtCall&) { declarative_list(HPF_DYNAMIC); });
}

// INHERIT [::] dummy [, dummy]...
int32_t hpf_shinherit(const StmtCall& c) {
  return run_directive(c, [](const StmtCall&) { declarative_list(HPF_INHERIT); });
}

// PROCESSORS [::] name [(bounds)] [, ...]
int32_t hpf_shprocessors(const StmtCall& c) {
  return run_directive(c, [](const StmtCall&) { declarative_list(HPF_PROCESSORS); });
}

// TEMPLATE [::] name [(bounds)] [, ...]
int32_t hpf_shtemplate(const StmtCall& c) {
  return run_directive(c, [](const StmtCall&) { declarative_list(HPF_TEMPLATE); });
}

// INDEPENDENT [, NEW (variable [, variable]...)]
int32_t hpf_shindependent(const StmtCall& c) {
  if (!directive_taken(c)) return 0;
  if (at_end()) return 0;
  getokn();
  if (!is_other(',')) {
    msg(36, tk.tokbeg);
    return skip_statement(), 0;
  }
  getokn();
  if (tk.toktyp != TT_NAME) {
    msg(36, tk.tokbeg);
    return skip_statement(), 0;
  }
  if (!(tk.toksiz >= 3 && std::memcmp(pstat + tk.tokbeg, "NEW", 3) == 0)) {
    msg(759, tk.tokbeg);
    return skip_statement(), 0;
  }
  tk.stacol = tk.tokbeg + 3;
  if (get_left_parenthesis(1) != 0) return skip_statement(), 0;
  bool read = each_item(')', 7, [] {
    int32_t col = 0;
    locsym* s = read_name(&col);
    if (s == nullptr) return false;
    if (s->attrib & (0x2u | 0x4u | 0x400u)) {
      msg(760, col);
      return false;
    }
    if (is_dummy(s)) {
      msg(197, col);
      return false;
    }
    flaguse(s, QB_REF, col);
    return true;
  });
  if (!read || chk_endofline(1) != 0) skip_statement();
  return 0;
}

// SEQUENCE | NOSEQUENCE [[::] item [, item]...] on a directive line, an
// item being a name or "/" COMMON-block name "/".
int32_t hpf_shsequence(const StmtCall& c) {
  if (!directive_taken(c)) return 0;
  uint32_t bit = c.code == 125 ? HPF_SEQUENCE : HPF_NOSEQUENCE;
  if (at_end()) {
    Status.hpfseq = static_cast<int32_t>(bit);
    return 0;
  }
  if (!optional_colons()) return skip_statement(), 0;
  // A list cut short by a message is passed over to its end.
  bool read = each_item(10, 6, [bit] {
    int32_t col = tk.stacol;
    if (next_ch() == '/') {
      ++tk.stacol;
      getokn();
      col = tk.tokbeg;
      locsym* b = nullptr;
      if (tk.toktyp == TT_NAME) {
        int32_t len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
        b = getsym(reinterpret_cast<const char*>(pstat + tk.tokbeg), len, 1 | 4, SC_COM);
      }
      if (b == nullptr) {
        msg(24, col);
        return false;
      }
      getokn();
      if (!is_other('/')) {
        msg(5, tk.tokbeg);
        return false;
      }
      if (b->sclass == SC_UNK) b->sclass = SC_COM;
      flaguse(b, QB_DECL, col);
      b->hpfbits |= bit;
    } else {
      locsym* s = read_name(&col);
      if (s == nullptr) return false;
      flaguse(s, QB_DECL, col);
      bool function = (s->sclass == SC_FUNC && s->squal != SQ_INTRINSIC) || s->squal == SQ_FUNCVAR;
      if (function && s->arrspec != nullptr) {
        msg(599, col);
      } else if (bit == HPF_SEQUENCE && is_dummy(s) && prgnam != nullptr &&
                 (prgnam->hpfbits & HPF_EXTR_LOCAL)) {
        msg(804, col);
      } else {
        s->hpfbits |= bit;
      }
    }
    return true;
  });
  if (!read) skip_statement();
  return 0;
}

uint32_t hpf_extrinsic_kind() {
  if (!ropt.hpf) issue(9145);
  if (next_ch() != '(') return 0x8;
  getokn();
  getokn();
  if (tk.toktyp != TT_NAME) {
    msg(595, tk.tokbeg);
    return 0;
  }
  uint32_t bits = 0x8;
  for (const ExtrinKind& k : extrinkinds) {
    int32_t n = static_cast<int32_t>(std::strlen(k.name));
    if (tk.toksiz == n && std::memcmp(pstat + tk.tokbeg, k.name, static_cast<size_t>(n)) == 0)
      bits |= k.bit;
  }
  if (get_right_parenthesis(1) != 0) return 0;
  return bits;
}

void hpf_proc_mapping() {
  if (Status.scope_level < 1 || Status.scope_level > MAX_SCOPES) return;
  for (locsym* s = Scope[Status.scope_level].head; s != nullptr; s = s->snext) {
    bool variable = s->sclass == SC_UNK || s->sclass == SC_VAR || s->sclass == SC_REC ||
                    s->sclass == SC_REC90 || s->sclass == SC_TEMPLATE;
    if (!variable || (s->hpfbits & (HPF_ALIGN | HPF_REALIGN)) == 0 ||
        (s->hpfbits & HPF_RESOLVED) != 0 || s->further == nullptr) {
      continue;
    }
    locsym* ult = ultimate_target(s->further);
    s->further = ult;
    if (!distributed(ult)) continue;
    s->hpfbits |= HPF_RESOLVED;
    // The aligned dimensions meet the target's dimensions in order.
    arrdim* td = dims(ult);
    for (arrdim* d = dims(s); d != nullptr && td != nullptr; d = d->next) {
      if ((d->second & (HD_ALIGN | HD_REALIGN)) == 0) continue;
      d->second = static_cast<uint8_t>((d->second & ~HD_DIST) | (td->second & HD_DIST));
      td = td->next;
    }
  }
}
