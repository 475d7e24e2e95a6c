// Statement keywords (getkey), the order state of the program unit, the
// labels of the unit (labfind, lhand, lenddo) and the construct stack that
// labels are checked against. The order check itself (tstord) stands with
// the statement handlers.
#include "checker/base/statement.h"

#include <cstring>
#include <iterator>
#include <string>

#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/symbols.h"
#include "checker/base/tokens.h"

const KeyRow keys[KEY_COUNT + 1] = {
#define KEYWORD(text, dtclass, iocol, dbnum, code, f77, f90) \
  {text, (uint32_t{dtclass} << 24) | (uint32_t{iocol} << 16) | (uint32_t{dbnum} << 8), code, f77, f90},
#include "checker/base/keywords.def"
    {nullptr, 0, 0, 0, 0}};
static_assert(std::size(keys) == KEY_COUNT + 1);

const KeyRow* kwindex[27];
static const KeyRow* bycode[KEY_COUNT + 1];
static size_t keylen[KEY_COUNT];  // length of each keyword's text

UnitState unit;
NestState nest;
LabelRec* labhead;
// Block of the next label definition when it is not the current one (the
// label of an END IF is registered after the block is closed).
static int32_t defining_block = -1;

void indexkey() {
  int32_t row = 0;
  for (int32_t letter = 0; letter < 26; ++letter) {
    while (keys[row].text != nullptr && keys[row].text[0] < 'A' + letter) ++row;
    kwindex[letter] = &keys[row];
  }
  while (keys[row].text != nullptr) ++row;
  kwindex[26] = &keys[row];
  if (kwindex[26] != &keys[KEY_COUNT]) rd_interr("indexkey");
  for (int32_t i = 0; i < KEY_COUNT; ++i) {
    bycode[keys[i].code] = &keys[i];
    keylen[i] = std::strlen(keys[i].text);
  }
}

const KeyRow* keyrow_of_code(int32_t code) {
  if (code < 1 || code > KEY_COUNT) return nullptr;
  if (bycode[code] == nullptr) indexkey();
  return bycode[code];
}

void updateStmtKey(const KeyRow* row) {
  CurStmt[CS_KEYROW] = row ? static_cast<int32_t>(row - keys) + 1 : 0;
  CurStmt[CS_CODE] = row ? row->code : 0;
}

void cleanStmtKey() {
  CurStmt[CS_KEYROW] = 0;
  CurStmt[CS_CODE] = 0;
}

bool stmtIs(int32_t code) { return code != 0 && CurStmt[CS_CODE] == code; }
bool stmtIsAssignmt() { return CurStmt[CS_KEYROW] == 0; }
bool stmtIsPtrAssignmt() {
  return CurStmt[CS_KEYROW] == 0 && ropt.Language != 1 && CurStmt[CS_ARROW] != 0;
}

static bool is_upper(int32_t c) { return c >= 'A' && c <= 'Z'; }
static bool is_digit(int32_t c) { return c >= '0' && c <= '9'; }

// True when a free-form keyword ending before position p ends a word there.
static bool word_ends_at(int32_t p) {
  int32_t c = pstat[p];
  if (c == 10 || (wbreaks[p] & 1)) return true;
  if (is_upper(c) || is_digit(c) || c == '_' || c == '?') return false;
  if (c == '$' && (ropt.compiler & 0x100) == 0) return false;
  return true;
}

const KeyRow* getkey() {
  if (kwindex[26] == nullptr) indexkey();
  int32_t start = tk.stacol;
  cleanStmtKey();
  if (start < 0 || start >= rsrc.statend || !is_upper(pstat[start])) return nullptr;
  tk.GettingKeyToken = 1;
  getokn();
  tk.GettingKeyToken = 0;
  int32_t match = start;
  std::string cname;
  if (tk.toktyp == TT_NAME && pstat[tk.stacol] == ':' && is_upper(pstat[tk.stacol + 1]) &&
      (ropt.Language == 2 || (ropt.compiler & 0x10000) != 0)) {
    int32_t len = tk.stacol - tk.tokbeg;
    if (len > 36) len = 36;
    cname.assign(reinterpret_cast<const char*>(pstat + tk.tokbeg), static_cast<size_t>(len));
    match = tk.stacol + 1;
  }
  const KeyRow* found = nullptr;
  int32_t letter = pstat[match] - 'A';
  for (const KeyRow* r = kwindex[letter + 1] - 1; r >= kwindex[letter]; --r) {
    size_t len = keylen[r - keys];
    if (match + static_cast<int32_t>(len) >= rsrc.statend + 1) continue;
    // The second letter rules out most keywords of the first letter.
    if (len >= 2 && pstat[match + 1] != static_cast<unsigned char>(r->text[1])) continue;
    if (std::memcmp(pstat + match, r->text, len) != 0) continue;
    if (rsrc.freeform && !word_ends_at(match + static_cast<int32_t>(len))) continue;
    found = r;
    tk.stacol = match + static_cast<int32_t>(len);
    break;
  }
  if (found == nullptr) {
    tk.stacol = start;
    tk.errcol = start;
    tk.tokbeg = start;
    return nullptr;
  }
  if (!cname.empty()) {
    if (found->code != ST_IF && found->code != ST_DO && found->code != ST_SELECTCASE) {
      int32_t saved = tk.errcol;
      tk.errcol = start;
      rd_errmsg(706);
      tk.errcol = saved;
    } else {
      unit.CurConstructName = cname;
    }
  }
  updateStmtKey(found);
  tk.errcol = start;
  return found;
}

int32_t skip_nextoken_ifiskeyword(const char* word) {
  size_t len = std::strlen(word);
  if (rsrc.freeform) {
    pshtok();
    getokn();
    if (tk.toktyp == TT_NAME && static_cast<size_t>(tk.toksiz) == len) {
      bool same = true;
      for (size_t i = 0; i < len; ++i) {
        int32_t a = pstat[tk.tokbeg + static_cast<int32_t>(i)];
        int32_t b = word[i];
        if (b >= 'a' && b <= 'z') b -= 32;
        if (a != b) same = false;
      }
      if (same) return 1;
    }
    poptok();
    return 0;
  }
  for (size_t i = 0; i < len; ++i) {
    int32_t p = tk.stacol + static_cast<int32_t>(i);
    if (p >= rsrc.statend) return 0;
    int32_t b = word[i];
    if (b >= 'a' && b <= 'z') b -= 32;
    if (pstat[p] != b) return 0;
  }
  tk.stacol += static_cast<int32_t>(len);
  return 1;
}

void unit_order_reset() {
  int32_t progs = unit.unnamedprogs;
  int32_t bdatas = unit.unnamedbdatas;
  int32_t statfe = unit.statfe;
  unit = UnitState{};
  unit.parmod = 1;
  unit.unnamedprogs = progs;
  unit.unnamedbdatas = bdatas;
  unit.statfe = statfe;
}

void nest_reset() {
  for (int32_t i = 0; i <= nest.nestdep && i < NEST_SIZE; ++i) nest.e[i] = NestEntry{};
  nest.nestdep = 0;
  nest.usdnestcod = 0;
  nest.codblk = OUTER_BLOCK;
  nest.newcodblk = 0;
}

int32_t nestdep_plus_plus() {
  // The depth is checked before the entry is written, so the stack never
  // grows past its last entry.
  if (nest.nestdep + 1 >= NEST_SIZE) {
    rd_outstr("INTERNAL OVERFLOW - exceeded NESTCOD max of " + std::to_string(NEST_SIZE) + "\n");
    ++unit.statfe;
    unit.labpro = 0;
    return 0;
  }
  ++nest.nestdep;
  if (nest.nestdep > nest.usdnestcod) nest.usdnestcod = nest.nestdep;
  nest.e[nest.nestdep] = NestEntry{};
  return 1;
}

void nest_pop() {
  if (nest.nestdep <= 0) return;
  --nest.nestdep;
  nest.codblk = nest.nestdep > 0 ? nest.e[nest.nestdep].blk : OUTER_BLOCK;
}

void labels_reset() {
  labhead = nullptr;
  defining_block = -1;
}

LabelRec* labfind() {
  if (!unit.labpro) return nullptr;
  int32_t value = 0;
  bool any = false;
  for (int32_t p = tk.tokbeg; p < tk.stacol; ++p) {
    int32_t c = pstat[p];
    if (!is_digit(c)) break;
    any = true;
    value = value * 10 + (c - '0');
    if (value >= 100000) {
      rd_errmsg(26);
      return nullptr;
    }
  }
  if (!any || value == 0) {
    rd_errmsg(26);
    return nullptr;
  }
  LabelRec* last = nullptr;
  for (LabelRec* l = labhead; l != nullptr; l = l->next) {
    if (l->value == value) return l;
    last = l;
  }
  LabelRec* l = local_new<LabelRec>();
  l->value = value;
  if (last == nullptr) {
    labhead = l;
  } else {
    last->next = l;
  }
  return l;
}

// True when block number blk is open now (the outer block always is).
static bool block_open_now(int32_t blk) {
  if (blk == 0 || blk == OUTER_BLOCK) return true;
  for (int32_t i = 1; i <= nest.nestdep; ++i) {
    if (nest.e[i].blk == blk) return true;
  }
  return false;
}

void lhand_defining_block(int32_t blk) { defining_block = blk; }

// A branch into the block of a label: a label on the statement that closes
// the block has a message of that statement, others one by block kind.
static void branch_into_block(const LabelRec* lab, const int32_t msgs[5]) {
  switch (lab->code) {
    case ST_ENDDO: rd_errmsg(557); return;
    case ST_ENDIF:
      if (ropt.Language != 1) rd_errmsg(604);
      return;
    case ST_ENDSELECT: rd_errmsg(558); return;
    case ST_ENDWHERE: rd_errmsg(559); return;
    case ST_ENDFORALL: rd_errmsg(560); return;
    default: rd_errmsg(msgs[((lab->blk % 5) + 5) % 5]); return;
  }
}

void lhand(LabelRec* lab, int32_t kind) {
  if (lab == nullptr) return;
  static const int32_t into_at_def[5] = {53, 54, 649, 650, 552};
  static const int32_t into_at_ref[5] = {46, 47, 556, 555, 554};
  switch (kind) {
    case 2:
    case 32:
      if (lab->flags & (2 | 32)) {
        rd_errmsg(101);
        return;
      }
      lab->code = CurStmt[CS_CODE];
      lab->blk = defining_block >= 0 ? defining_block : nest.codblk;
      defining_block = -1;
      lab->line = rsrc.codlno;
      if (kind == 2 && (lab->flags & 16)) rd_errmsg(196);
      if (kind == 32 && (lab->flags & (1 | 8))) rd_errmsg(196);
      if (kind == 2) {
        for (LabelUse* u = lab->fwd; u != nullptr; u = u->next) {
          bool open = lab->blk == 0 || lab->blk == OUTER_BLOCK;
          for (int32_t i = 0; i < u->blocks_count && !open; ++i) {
            if (u->blocks[i] == lab->blk) open = true;
          }
          if (!open) branch_into_block(lab, into_at_def);
        }
      }
      break;
    case 1:
      if (lab->flags & 32) {
        rd_errmsg(196);
      } else if (!(lab->flags & 2)) {
        LabelUse* u = local_new<LabelUse>();
        u->blocks_count = nest.nestdep;
        u->blocks = nest.nestdep > 0 ? local_array<int32_t>(nest.nestdep) : nullptr;
        for (int32_t i = 0; i < nest.nestdep; ++i) u->blocks[i] = nest.e[i + 1].blk;
        u->next = lab->fwd;
        lab->fwd = u;
      } else if (!block_open_now(lab->blk)) {
        branch_into_block(lab, into_at_ref);
      }
      break;
    case 8:
      if (lab->flags & 32) rd_errmsg(196);
      break;
    case 16:
      if (lab->flags & 2) rd_errmsg(196);
      break;
    default:
      break;
  }
  if ((kind & (1 | 4 | 8 | 16)) && lab->refline == 0) lab->refline = rsrc.codlno;
  lab->flags |= kind;
}

void lenddo(LabelRec* lab) {
  if (lab == nullptr) return;
  int32_t closed = 0;
  for (int32_t i = nest.nestdep; i >= 1; --i) {
    const NestEntry& e = nest.e[i];
    if (e.code != 5 || e.label != lab->value) continue;
    if (i != nest.nestdep) {
      int32_t saved = tk.errcol;
      tk.errcol = 1;
      rd_errmsg(113);
      tk.errcol = saved;
      break;
    }
    nest_pop();
    ++closed;
  }
  if (closed > 0 && ropt.Language == 2) {
    int32_t code = CurStmt[CS_CODE];
    if (code != ST_ENDDO && code != 12) rd_errmsg(603);
    if (closed >= 2) rd_errmsg(602);
  }
}
