// Statement assembly: physical lines of the source file and its INCLUDE
// files are read, comment and directive lines dropped, continuation lines
// joined and blanks outside character constants removed, leaving one
// statement in pstat with the column and line of every character beside it.
#include "checker/base/source.h"

#include <cstring>

#include "checker/base/passes.h"
#include "checker/base/directives.h"
#include "checker/base/services.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/base/symbols.h"
#include "checker/base/tvxutil.h"

unsigned char pstat[PSTAT_SIZE];
unsigned char wbreaks[PSTAT_SIZE];
uint16_t pcols[PSTAT_SIZE];
uint16_t pcont[PSTAT_SIZE];
int32_t CurStmt[CS_WORDS];
int32_t PrevStmt[CS_WORDS];
SourceState rsrc;
StmtLines stmtlines;
int32_t totlin;
LineStats linestats;

// Counts characters of statement text or of comments.
static void count_chars(int32_t n, bool comment) {
  if (n <= 0) return;
  int32_t& c = comment ? (rsrc.inclev > 0 ? linestats.statcombi : linestats.statcombs)
                       : (rsrc.inclev > 0 ? linestats.statcodbi : linestats.statcodbs);
  c = n > INT32_MAX - c ? INT32_MAX : c + n;
}

// Assembly state of the statement being copied into pstat.
struct CopyState {
  int32_t quote;        // delimiter of the open constant (0 none)
  int32_t constpos;     // pstat position of the open constant's kind byte
  int32_t constlen;     // characters stored in it
  int32_t holl;         // Hollerith characters still to take
  int32_t depth;        // parenthesis depth
  int32_t bdepth;       // bracket depth
  int32_t pendbreak;    // wbreaks flags for the next stored character
  int32_t contnext;     // the line ended with a continuation mark
  int32_t escape;       // the previous character was an escaping backslash
  int32_t dry;          // a dropped line: read for its continuation only
  int32_t comma1;       // a "," at parenthesis depth 1 has been stored
};
static CopyState cp;

// Kinds of a physical line.
enum LineKind { LK_EOF, LK_COMMENT, LK_DIRECTIVE, LK_INITIAL, LK_CONTINUATION, LK_SKIPPED };

static bool is_upper(int32_t c) { return c >= 'A' && c <= 'Z'; }
static bool is_lower(int32_t c) { return c >= 'a' && c <= 'z'; }
static bool is_letter(int32_t c) { return is_upper(c) || is_lower(c); }
static bool is_digit(int32_t c) { return c >= '0' && c <= '9'; }
static bool is_blank(int32_t c) { return c == ' ' || c == '\t' || c == '\f'; }
static int32_t upper(int32_t c) { return is_lower(c) ? c - 32 : c; }

// Kinds of characters for copying statement text: blanks, characters that
// are stored as they are (letters upper-cased) with no other effect, the
// letters that may end a Hollerith count, parentheses and the comma, which
// change the nesting state only, and the rest, which need a closer look.
enum CharKind : unsigned char { CK_PLAIN, CK_BLANK, CK_HRL, CK_OPEN, CK_CLOSE, CK_COMMA, CK_OTHER };
struct CharKinds {
  unsigned char kind[256];
  constexpr CharKinds() : kind() {
    kind[static_cast<unsigned char>(' ')] = CK_BLANK;
    kind[static_cast<unsigned char>('\t')] = CK_BLANK;
    kind[static_cast<unsigned char>('\f')] = CK_BLANK;
    for (const char* p = "!;&'\"=:[]"; *p; ++p) kind[static_cast<unsigned char>(*p)] = CK_OTHER;
    for (const char* p = "HhRrLl"; *p; ++p) kind[static_cast<unsigned char>(*p)] = CK_HRL;
    kind[static_cast<unsigned char>('(')] = CK_OPEN;
    kind[static_cast<unsigned char>(')')] = CK_CLOSE;
    kind[static_cast<unsigned char>(',')] = CK_COMMA;
  }
  constexpr unsigned char operator[](unsigned char c) const { return kind[c]; }
};
static constexpr CharKinds char_kind{};

void pp_initstmt(int32_t copy) {
  if (copy == 1) std::memcpy(PrevStmt, CurStmt, sizeof CurStmt);
  std::memset(CurStmt, 0, sizeof CurStmt);
}

void pp_setMargin() {
  if (rsrc.freeform) {
    rsrc.rmargin = 132;
  } else if (rsrc.margin_override != 0) {
    rsrc.rmargin = rsrc.margin_override;
  } else {
    rsrc.rmargin = ropt.extend ? 132 : 72;
  }
}

void pp_resetSrcForm() {
  rsrc.PrgSrcForm = rsrc.FileSrcForm;
  rsrc.freeform = rsrc.PrgSrcForm == 1 ? 1 : 0;
  pp_setMargin();
}

// Source form of a file from the FORM switch or its extension.
static int32_t form_of_name(const char* name) {
  if (ropt.form != 0) return ropt.form;
  const char* slash = std::strrchr(name, '/');
  const char* base = slash ? slash + 1 : name;
  const char* dot = std::strrchr(base, '.');
  if (dot == nullptr) return 0;
  std::string ext;
  for (const char* p = dot; *p; ++p) ext += static_cast<char>(upper(static_cast<unsigned char>(*p)));
  if (ext == ".F90") return 1;
  if (ext == ".F" || ext == ".F77" || ext == ".FOR") return 2;
  return 0;
}

void srcbeg(const char* filename, FILE* fp, int32_t fromcpp) {
  srcend();
  tokens_new_source();
  rsrc.input = fp;
  rsrc.cur = fp;
  rsrc.filename = filename ? filename : "";
  rsrc.fromcpp = fromcpp;
  rsrc.inclev = 0;
  rsrc.srclno = 0;
  rsrc.statsrclno = 0;
  rsrc.codlno = 0;
  rsrc.lincnt = 0;
  rsrc.statbeg = 1;
  rsrc.statend = 1;
  rsrc.areof = 0;
  rsrc.eof_all = 0;
  rsrc.svdinitial = 0;
  rsrc.rawline.clear();
  rsrc.linebuf.clear();
  rsrc.linebuf_from = 0;
  rsrc.StmtSeperator = 0;
  rsrc.concskip = 0;
  rsrc.concbend = 0;
  rsrc.ccskip = 0;
  rsrc.margin_override = 0;
  rsrc.filedlinopt = ropt.dlines;
  rsrc.fileintsiz = ropt.intsiz;
  rsrc.filelogsiz = ropt.logsiz;
  rsrc.prgintsiz = rsrc.fileintsiz;
  rsrc.prglogsiz = rsrc.filelogsiz;
  rsrc.FileSrcForm = form_of_name(rsrc.filename.c_str());
  rsrc.PrgSrcForm = rsrc.FileSrcForm;
  rsrc.freeform = rsrc.FileSrcForm == 1;
  pp_setMargin();
  pstat[0] = 0;
  pstat[1] = 10;
  hpinit();
}

void srcend() {
  for (int32_t i = 1; i <= MAX_INCLUDE; ++i) {
    if (rsrc.inc[i].fp != nullptr) std::fclose(rsrc.inc[i].fp);
    rsrc.inc[i] = IncludeEntry{};
  }
  rsrc.inclev = 0;
  rsrc.cur = rsrc.input;
  hpfree();
}

std::string current_source_dir() {
  for (int32_t l = rsrc.inclev; l >= 1; --l) {
    if (!rsrc.inc[l].dir.empty()) return rsrc.inc[l].dir;
  }
  return an.dirn;
}

int32_t push_include(FILE* fp, const std::string& path, int32_t mode, int32_t incline) {
  if (rsrc.inclev >= MAX_INCLUDE) {
    std::fclose(fp);
    rd_errmsg(4);
    return 0;
  }
  IncludeEntry& e = rsrc.inc[++rsrc.inclev];
  e = IncludeEntry{};
  e.fp = fp;
  e.name = path;
  size_t slash = path.rfind('/');
  e.shortname = slash == std::string::npos ? path : path.substr(slash + 1);
  e.dir = slash == std::string::npos ? "" : path.substr(0, slash);
  e.mode = mode;
  e.saved_srclno = rsrc.srclno;
  e.saved_areof = rsrc.areof;
  e.saved_cclev = hp_level();
  e.saved_form = rsrc.PrgSrcForm;
  e.saved_svd = rsrc.svdinitial;
  e.saved_raw = rsrc.rawline;
  e.saved_rawno = rsrc.rawline_no;
  e.saved_rest = rsrc.linebuf;
  e.saved_rest_from = rsrc.linebuf_from;
  e.saved_sep = rsrc.StmtSeperator;
  e.incline = incline;
  CTVX_SrcOpen(path.c_str());  // the program database lists the included file
  rsrc.svdinitial = 0;
  rsrc.StmtSeperator = 0;
  rsrc.cur = fp;
  rsrc.srclno = 0;
  rsrc.areof = 0;
  rsrc.PrgSrcForm = 0;
  return 1;
}

// End of the current input: back to the including file (1) or the end of
// the main file (0).
static int32_t pp_endoffile() {
  if (rsrc.inclev > 0) {
    IncludeEntry& e = rsrc.inc[rsrc.inclev];
    if (e.fp != nullptr && e.mode != 1) std::fclose(e.fp);
    e.fp = nullptr;
    rsrc.srclno = e.saved_srclno;
    rsrc.areof = e.saved_areof;
    rsrc.svdinitial = e.saved_svd;
    rsrc.rawline = e.saved_raw;
    rsrc.rawline_no = e.saved_rawno;
    rsrc.linebuf = e.saved_rest;
    rsrc.linebuf_from = e.saved_rest_from;
    rsrc.StmtSeperator = e.saved_sep;
    rsrc.PrgSrcForm = e.saved_form;
    rsrc.freeform = rsrc.PrgSrcForm == 1;
    pp_setMargin();
    bool open_cond = hp_level() > e.saved_cclev;
    --rsrc.inclev;
    rsrc.cur = rsrc.inclev > 0 ? rsrc.inc[rsrc.inclev].fp : rsrc.input;
    if (open_cond) {
      tk.errcol = ERRCOL_NOLINES;
      rd_errmsg(349);
    }
    e = IncludeEntry{};
    return 1;
  }
  rsrc.filelines = rsrc.srclno;
  rsrc.eof_all = 1;
  return 0;
}

// Reads one physical line of the current input into rsrc.rawline: at most
// 132 characters are kept, a carriage return before the line end is dropped.
// The line is taken from the stream's buffer by getline (embedded NULs
// included); false at the end of the input, when rawline is left as it was.
static bool read_physical() {
  if (rsrc.cur == nullptr || rsrc.areof) return false;
  static char* buf = nullptr;
  static size_t cap = 0;
  ssize_t got = getline(&buf, &cap, rsrc.cur);
  if (got <= 0) {
    rsrc.areof = 1;
    return false;
  }
  size_t n = static_cast<size_t>(got);
  if (buf[n - 1] == '\n') --n;
  // The first 133 characters are looked at: a carriage return among them
  // at the end is dropped, then the line is cut to 132.
  if (n > static_cast<size_t>(MAX_LINE) + 1) n = static_cast<size_t>(MAX_LINE) + 1;
  if (n > 0 && buf[n - 1] == '\r') --n;
  if (n > static_cast<size_t>(MAX_LINE)) n = static_cast<size_t>(MAX_LINE);
  rsrc.rawline.assign(buf, n);
  ++rsrc.srclno;
  ++totlin;
  ++(rsrc.inclev > 0 ? linestats.statiln : linestats.statlin);
  return true;
}

void printline(const char* text) {
  if (!ropt.listit || an.lpass != 1 || rsrc.input == nullptr) return;
  if (rsrc.inclev == 0) {
    std::string n = std::to_string(rsrc.srclno);
    rd_outstr("  " + std::string(n.size() < 5 ? 5 - n.size() : 0, ' ') + n + " " + text + "\n");
  } else if (ropt.incopt) {
    std::string n = std::to_string(rsrc.srclno);
    rd_outstr(std::to_string(rsrc.inclev) + ">" + std::string(n.size() < 5 ? 5 - n.size() : 0, ' ') +
              n + " " + text + "\n");
  }
}

// Decides the source form from a line while it is undecided; returns
// false when the line decides nothing.
static bool assume_srcform_for_nextline(const std::string& line) {
  if (rsrc.FileSrcForm == 1) {
    rsrc.PrgSrcForm = 1;
    return true;
  }
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\f')) ++i;
  if (i >= line.size() || line[i] == '!') return false;
  if (line[i] == ';' && ropt.Language == 1) return false;
  if (line[i] == '\t') {
    rsrc.PrgSrcForm = 2;
    return true;
  }
  int32_t c = static_cast<unsigned char>(line[i]);
  size_t n = i + 1;  // column of the first character, from 1
  int32_t form;
  if (c == 'C' || c == 'c') {
    if (n == 1) {
      std::string head;
      for (size_t k = 0; k < 9 && k < line.size(); ++k) head += static_cast<char>(upper(line[k]));
      form = head == "CHARACTER" ? 1 : 2;
    } else {
      form = n < 6 ? 1 : 2;
    }
  } else if (c == '*') {
    form = 2;
  } else if (n >= 6) {
    form = 2;
  } else if (c == ';') {
    form = 1;
  } else if (is_letter(c)) {
    form = 1;
  } else {
    form = 2;
  }
  rsrc.PrgSrcForm = form;
  return true;
}

static void apply_form() {
  rsrc.freeform = rsrc.PrgSrcForm == 1;
  pp_setMargin();
}

// True when the line starts an HPF directive (with the HPF option).
static bool hpf_sentinel(const std::string& line, size_t at) {
  if (!ropt.hpf || line.size() < at + 5) return false;
  std::string s;
  for (size_t k = at; k < at + 5; ++k) s += static_cast<char>(upper(line[k]));
  return s == "!HPF$" || (at == 0 && !rsrc.freeform && (s == "*HPF$" || s == "CHPF$"));
}

// A "#" line: a line mark of the C preprocessor sets the next line's number.
static void hash_line(const std::string& line) {
  if (!rsrc.fromcpp) return;
  size_t i = 1;
  while (i < line.size() && line[i] == ' ') ++i;
  if (line.compare(i, 4, "line") == 0) {
    i += 4;
    while (i < line.size() && line[i] == ' ') ++i;
  }
  if (i >= line.size() || !is_digit(line[i])) return;
  int32_t n = 0;
  while (i < line.size() && is_digit(line[i])) {
    if (n < 100000000) n = n * 10 + (line[i] - '0');
    ++i;
  }
  rsrc.srclno = n - 1;
}

// Classifies a physical line (the form is decided first when undecided).
// For an initial or continuation line *text is where its statement text
// starts (and *labels the range of its label field for an initial line).
struct LineInfo {
  LineKind kind;
  size_t text;        // first column of statement text
  size_t labbeg;      // label digits [labbeg, labend) of an initial line
  size_t labend;
  bool label_on_cont; // a continuation line carries a label
  bool hpf;           // an HPF directive line
};

static bool fixed_continuation(const std::string& line, LineInfo& li) {
  size_t i = 0;
  li.label_on_cont = false;
  bool label = false;
  for (; i < 5 && i < line.size(); ++i) {
    int32_t c = static_cast<unsigned char>(line[i]);
    // A form feed in column 1 and the D of a compiled D line read as blanks.
    if (c == ' ' || (i == 0 && (c == '\f' || ((c == 'D' || c == 'd') && rsrc.filedlinopt)))) continue;
    if (c == '\t') {
      rsrc.tabformat = 1;
      int32_t nx = i + 1 < line.size() ? static_cast<unsigned char>(line[i + 1]) : 0;
      bool cont;
      if (ropt.compiler & (0x2786 | 0x8)) {
        cont = nx >= '1' && nx <= '9';
      } else if (ropt.compiler & 0x10000) {
        cont = nx != 0 && !is_letter(nx) && nx != ' ' && nx != '\t';
      } else {
        cont = false;
      }
      li.text = cont ? i + 2 : i + 1;
      li.labbeg = 0;
      li.labend = i;
      li.label_on_cont = cont && label;
      return cont;
    }
    if (!label && !(c >= '1' && c <= '9') && !(c == '0')) {
      // Anything but a label digit: the line is an initial line.
      li.text = 6;
      return false;
    }
    label = true;
  }
  li.labbeg = 0;
  li.labend = line.size() < 5 ? line.size() : 5;
  li.text = 6;
  int32_t c6 = line.size() > 5 ? static_cast<unsigned char>(line[5]) : ' ';
  bool cont = c6 != ' ' && c6 != '0' && c6 != '\t';
  if (cont) li.label_on_cont = label;
  return cont;
}

// The first position from `from` on that holds no blank (the size when
// there is none).
static size_t first_nonblank(const std::string& line, size_t from) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line.data());
  size_t n = line.size();
  while (from < n && char_kind[p[from]] == CK_BLANK) ++from;
  return from;
}

static LineInfo classify(const std::string& line, bool under_way) {
  LineInfo li{};
  li.kind = LK_INITIAL;
  if (rsrc.PrgSrcForm == 0) assume_srcform_for_nextline(line);
  if (rsrc.PrgSrcForm != 0) apply_form();
  int32_t c1 = line.empty() ? 0 : static_cast<unsigned char>(line[0]);
  if (rsrc.concbend) {
    li.kind = LK_EOF;
    return li;
  }
  if (c1 == '$') {
    li.kind = LK_DIRECTIVE;
    return li;
  }
  if (rsrc.concskip || rsrc.ccskip) {
    li.kind = LK_SKIPPED;
    return li;
  }
  if (c1 == '#') {
    li.kind = LK_COMMENT;
    return li;
  }
  size_t first = first_nonblank(line, 0);
  if (!rsrc.freeform) {
    if (c1 == 'D' || c1 == 'd') {
      issue(9004);
      if (!rsrc.filedlinopt) {
        li.kind = LK_COMMENT;
        return li;
      }
    }
    if (hpf_sentinel(line, 0)) {
      li.kind = LK_INITIAL;
      li.hpf = true;
      li.text = 5;
      return li;
    }
    if (c1 == 'C' || c1 == 'c' || c1 == '*') {
      li.kind = LK_COMMENT;
      return li;
    }
    if (first < line.size() && line[first] == '!' && !(ropt.compiler & 0x40 && first > 5)) {
      if (first == 5) {
        // "!" in column 6 marks a continuation line.
      } else {
        if (ropt.Language == 1) issue(9005);
        li.kind = LK_COMMENT;
        return li;
      }
    }
    // Blank up to the margin (a D in column 1 counting as a blank): a
    // comment line.
    size_t lim = line.size() < static_cast<size_t>(rsrc.rmargin) ? line.size() : static_cast<size_t>(rsrc.rmargin);
    size_t text = first == 0 && (c1 == 'D' || c1 == 'd') ? first_nonblank(line, 1) : first;
    if (text >= lim) {
      li.kind = LK_COMMENT;
      return li;
    }
    if (c1 == '&') {
      issue(9055);
      li.kind = LK_CONTINUATION;
      li.text = 1;
      return li;
    }
    bool cont = fixed_continuation(line, li);
    li.kind = cont ? LK_CONTINUATION : LK_INITIAL;
    return li;
  }
  // Free form.
  if (first >= line.size()) {
    li.kind = LK_COMMENT;
    return li;
  }
  if (line[first] == '!') {
    if (hpf_sentinel(line, first)) {
      li.hpf = true;
      li.text = first + 5;
      li.kind = LK_INITIAL;
      return li;
    }
    li.kind = LK_COMMENT;
    return li;
  }
  if (line[first] == '&' || cp.contnext) {
    li.kind = under_way || cp.contnext ? LK_CONTINUATION : LK_INITIAL;
    li.text = line[first] == '&' ? first + 1 : first;
    return li;
  }
  // Label of an initial line; separators before it are skipped in
  // Fortran 90 mode.
  size_t i = first;
  while (i < line.size() && (is_blank(static_cast<unsigned char>(line[i])) || (line[i] == ';' && ropt.Language == 2))) ++i;
  if (i >= line.size() || line[i] == '!') {
    li.kind = LK_COMMENT;
    return li;
  }
  li.labbeg = i;
  while (i < line.size() && is_digit(static_cast<unsigned char>(line[i]))) ++i;
  li.labend = i;
  li.text = i;
  return li;
}

// Next physical line for the statement: the kept line, the rest after a
// ";", or a line of the input (include files are left at their end). The
// line is rsrc.rawline or, for a rest, rsrc.linebuf; null at the end.
static const std::string* fetch_line(bool& is_rest) {
  for (;;) {
    is_rest = false;
    if (rsrc.svdinitial) {
      rsrc.svdinitial = 0;
      rsrc.srclno = rsrc.rawline_no;
      return &rsrc.rawline;
    }
    if (rsrc.StmtSeperator) {
      rsrc.StmtSeperator = 0;
      is_rest = true;
      ++rsrc.stmtsonline;
      return &rsrc.linebuf;
    }
    if (read_physical()) {
      rsrc.stmtsonline = 0;
      rsrc.rawline_no = rsrc.srclno;
      rsrc.rawline_inc = rsrc.inclev;
      return &rsrc.rawline;
    }
    if (rsrc.lincnt > 0) return nullptr;  // the statement is complete first
    // Back in the including file, whose kept line comes first.
    if (!pp_endoffile()) return nullptr;
  }
}

// Keeps the physical line just read (rsrc.rawline) for the next statement.
static void keep_line() {
  rsrc.rawline_no = rsrc.srclno;
  rsrc.svdinitial = 1;
}

static bool room(int32_t n) { return rsrc.statend + n <= PSTAT_SIZE - 1; }

static void too_long() {
  if (rsrc.too_long) return;
  rsrc.too_long = 1;
  int32_t saved = tk.errcol;
  tk.errcol = -1;
  rd_errmsg(98);
  tk.errcol = saved;
}

static void put(int32_t c, int32_t col, int32_t lineidx) {
  if (cp.dry) return;
  if (!room(1)) {
    too_long();
    return;
  }
  pstat[rsrc.statend] = static_cast<unsigned char>(c);
  wbreaks[rsrc.statend] = static_cast<unsigned char>(cp.pendbreak);
  pcols[rsrc.statend] = static_cast<uint16_t>(col);
  pcont[rsrc.statend] = static_cast<uint16_t>(lineidx);
  ++rsrc.statend;
  count_chars(1, false);
  cp.pendbreak = 0;
  rsrc.lastcolumn = col;
  rsrc.lastcolumnline = lineidx;
}

// Opens a constant field of the given kind byte.
static bool open_const(int32_t kind, int32_t col, int32_t lineidx) {
  if (cp.dry) {
    cp.constlen = 0;
    return true;
  }
  if (!room(CONST_OVERHEAD)) {
    too_long();
    return false;
  }
  cp.constpos = rsrc.statend;
  put(kind, col, lineidx);
  put(0, col, lineidx);
  put(0, col, lineidx);
  put(col > 255 ? 255 : col, col, lineidx);
  put((lineidx >> 8) & 0xFF, col, lineidx);
  put(lineidx & 0xFF, col, lineidx);
  cp.constlen = 0;
  return true;
}

static void const_char(int32_t c, int32_t col, int32_t lineidx) {
  if (cp.dry) return;
  if (!room(2)) {
    too_long();
    return;
  }
  int32_t saved = cp.pendbreak;
  cp.pendbreak = 0;
  put(c, col, lineidx);
  cp.pendbreak = saved;
  ++cp.constlen;
}

static void close_const(int32_t closer, int32_t col, int32_t lineidx) {
  if (cp.dry) {
    cp.quote = 0;
    cp.holl = 0;
    return;
  }
  pstat[cp.constpos + 1] = static_cast<unsigned char>((cp.constlen >> 8) & 0xFF);
  pstat[cp.constpos + 2] = static_cast<unsigned char>(cp.constlen & 0xFF);
  put(closer, col, lineidx);
  cp.quote = 0;
  cp.holl = 0;
}

// True when the statement text begins with word followed by "(".
static bool text_begins(const char* word) {
  size_t n = std::strlen(word);
  if (rsrc.statbeg + static_cast<int32_t>(n) >= rsrc.statend) return false;
  return std::memcmp(pstat + rsrc.statbeg, word, n) == 0;
}

// A digit string just stored followed by the letter: is it a Hollerith count?
static int32_t hollerith_count(int32_t letter) {
  int32_t e = rsrc.statend;
  int32_t b = e;
  while (b > rsrc.statbeg && is_digit(pstat[b - 1])) --b;
  if (b == e) return 0;
  if (b == rsrc.statbeg) return 0;  // the digits start the statement text
  int32_t before = pstat[b - 1];
  if (is_upper(before) || before == '_') return 0;
  if ((before == '?' || before == '$') && (ropt.compiler & 0x102)) return 0;
  if (before == '*') {
    // A length after a word of letters only from the statement start.
    bool letters = b - 1 > rsrc.statbeg;
    for (int32_t p = rsrc.statbeg; p < b - 1; ++p) {
      if (!is_upper(pstat[p])) letters = false;
    }
    if (letters) return 0;
  }
  if (letter == 'R') {
    if ((ropt.compiler & 0xC2) == 0) return 0;
    if ((ropt.compiler & 0x2) && !text_begins("DATA")) return 0;
    if ((ropt.compiler & 0x80) && text_begins("FORMAT")) return 0;
  }
  if (letter == 'L') {
    if ((ropt.compiler & 0x80) == 0) return 0;
    if (text_begins("FORMAT")) return 0;
  }
  int32_t n = 0;
  for (int32_t p = b; p < e; ++p) {
    if (n < 1000) n = n * 10 + (pstat[p] - '0');
  }
  if (n <= 0) return 0;
  rsrc.statend = b;  // the digits become the field's count
  return n;
}

// Records the text beyond the right margin: "!" comments, a continuation
// "&", sequence numbers; anything else is message 531.
static void check_73_133rd_col(const std::string& line, size_t from) {
  for (size_t k = from; k < line.size(); ++k) {
    int32_t c = static_cast<unsigned char>(line[k]);
    if (is_blank(c)) continue;
    if (c == '!') {
      if (ropt.Language == 1) issue(9005);
      return;
    }
    if (c == '&' && k == from && rsrc.rmargin == 72) {
      cp.contnext = 1;
      continue;
    }
    if (is_digit(c) && k < 80 && rsrc.rmargin == 72) continue;
    int32_t saved = tk.errcol;
    tk.errcol = ERRCOL_NOLINES;
    rd_errmsg(531);
    tk.errcol = saved;
    if (rsrc.rmargin > 72 && !rsrc.freeform) rsrc.rmargin = 72;
    return;
  }
}

// Copies the statement text of one physical line into pstat.
static void copy_text(const std::string& line, size_t from, int32_t lineidx) {
  size_t lim = line.size() < static_cast<size_t>(rsrc.rmargin) ? line.size() : static_cast<size_t>(rsrc.rmargin);
  bool fixed = !rsrc.freeform;
  cp.contnext = 0;
  if (cp.holl > 0 || cp.quote != 0) {
    // A constant left open continues; in fixed form the previous line was
    // padded up to the margin.
  }
  const unsigned char* text = reinterpret_cast<const unsigned char*>(line.data());
  size_t k = from;
  for (; k < lim; ++k) {
    if (cp.holl == 0 && cp.quote == 0 && !cp.dry) {
      // A run of blanks and plain characters outside constants is stored
      // here at once; the first other character is taken below.
      int32_t e = rsrc.statend;
      const int32_t e0 = e;
      size_t last = 0;
      int32_t pend = cp.pendbreak;
      for (; k < lim && e < PSTAT_SIZE - 1; ++k) {
        unsigned char c = text[k];
        unsigned char kind = char_kind[c];
        if (kind == CK_BLANK) {
          pend |= 1;
          continue;
        }
        if (kind != CK_PLAIN) {
          // A letter H, R or L after digits may start a Hollerith field,
          // and "=" and ":" need a look around: they are taken below.
          if (kind == CK_HRL) {
            if (e > rsrc.statbeg && is_digit(pstat[e - 1])) break;
          } else if (kind == CK_OPEN) {
            ++cp.depth;
          } else if (kind == CK_CLOSE) {
            if (cp.depth > 0) --cp.depth;
          } else if (kind == CK_COMMA) {
            if (cp.depth == 0 && cp.bdepth == 0) CurStmt[CS_COMMA] = 1;
            if (cp.depth == 1) cp.comma1 = 1;
          } else {
            break;
          }
        }
        pstat[e] = static_cast<unsigned char>(upper(c));
        wbreaks[e] = static_cast<unsigned char>(pend);
        pcols[e] = static_cast<uint16_t>(k);
        pcont[e] = static_cast<uint16_t>(lineidx);
        pend = 0;
        last = k;
        ++e;
      }
      cp.pendbreak = pend;
      if (e > e0) {
        rsrc.statend = e;
        count_chars(e - e0, false);
        rsrc.lastcolumn = static_cast<int32_t>(last);
        rsrc.lastcolumnline = lineidx;
      }
      if (k >= lim) break;
    }
    int32_t c = text[k];
    int32_t col = static_cast<int32_t>(k);
    if (cp.holl > 0) {
      const_char(c, col, lineidx);
      if (--cp.holl == 0) close_const('h', col, lineidx);
      continue;
    }
    if (cp.quote != 0) {
      if (cp.escape) {
        cp.escape = 0;
        const_char(c, col, lineidx);
        continue;
      }
      if (!fixed && c == '&') {
        // "&" as the last non-blank character continues the constant.
        size_t r = k + 1;
        while (r < lim && is_blank(static_cast<unsigned char>(line[r]))) ++r;
        if (r >= lim) {
          cp.contnext = 1;
          return;
        }
      }
      if (c == '\\') {
        uint32_t comp = ropt.compiler;
        bool esc = (comp & 0x2008) || (ropt.Language == 2 && (comp & 0x4010)) ||
                   (ropt.Language == 1 && (comp & 0x4120));
        if (esc) {
          issue(9147);
          cp.escape = 1;
          const_char(c, col, lineidx);
          continue;
        }
      }
      if (c == cp.quote) {
        if (k + 1 < lim && static_cast<unsigned char>(line[k + 1]) == cp.quote) {
          const_char(c, col, lineidx);
          ++k;
          continue;
        }
        close_const(c, col, lineidx);
        continue;
      }
      const_char(c, col, lineidx);
      continue;
    }
    if (is_blank(c)) {
      cp.pendbreak |= 1;
      continue;
    }
    if (c == '!' && !(fixed && (ropt.compiler & 0x40))) {
      if (!fixed && hpf_sentinel(line, k)) {
        // An HPF directive in the middle of a line is a comment here.
      }
      rsrc.inline_cmnt_start = col;
      count_chars(static_cast<int32_t>(line.size() - k), true);
      return;
    }
    if (c == ';') {
      if (ropt.Language == 2) {
        // The next statement starts behind the ";" of the same line, whose
        // columns it keeps.
        rsrc.linebuf = line;
        rsrc.linebuf_from = static_cast<int32_t>(k + 1);
        rsrc.StmtSeperator = 1;
        cp.contnext = 0;
        return;
      }
      issue(9070);
      return;
    }
    if (!fixed && c == '&') {
      size_t r = k + 1;
      while (r < lim && is_blank(static_cast<unsigned char>(line[r]))) ++r;
      if (r >= lim || line[r] == '!') {
        cp.contnext = 1;
        return;
      }
    }
    if (c == '\'' || c == '"') {
      bool opens = c == '\'' || ropt.Language == 2 || (ropt.compiler & 0x127CC);
      if (opens) {
        // The record separator stands between the unit and the record
        // number, before the first "," of the list; an apostrophe after it
        // opens a constant (a format, as in WRITE (*, '(A)')).
        if ((ropt.compiler & (0x2 | 0x8)) && c == '\'' && cp.depth == 1 && !cp.comma1 &&
            rsrc.statend > rsrc.statbeg && pstat[rsrc.statend - 1] != '(' &&
            (text_begins("FIND(") || text_begins("DELETE(") || text_begins("READ(") ||
             text_begins("WRITE("))) {
          put('r', col, lineidx);
          continue;
        }
        if (open_const(c == '\'' ? 'a' : 'q', col, lineidx)) cp.quote = c;
        continue;
      }
    }
    int32_t u = upper(c);
    if (u == 'H' || u == 'R' || u == 'L') {
      int32_t n = !cp.dry && rsrc.statend > rsrc.statbeg && is_digit(pstat[rsrc.statend - 1]) ? hollerith_count(u) : 0;
      if (n > 0) {
        if (open_const('h', col, lineidx)) cp.holl = n;
        continue;
      }
    }
    if (cp.depth == 0 && cp.bdepth == 0 && !cp.dry) {
      if (c == '=') {
        int32_t prev = rsrc.statend > rsrc.statbeg ? pstat[rsrc.statend - 1] : 0;
        size_t r = k + 1;
        while (r < lim && is_blank(static_cast<unsigned char>(line[r]))) ++r;
        int32_t next = r < lim ? static_cast<unsigned char>(line[r]) : 0;
        if (next == '>') {
          ++CurStmt[CS_ARROW];
        } else if (next == '=' || prev == '=' || prev == '<' || prev == '>' || prev == '/') {
          // part of a relational operator
        } else {
          ++CurStmt[CS_EQUALS];
        }
      } else if (c == ',') {
        CurStmt[CS_COMMA] = 1;
      } else if (c == ':') {
        if (CurStmt[CS_COLON] != 0 && CurStmt[CS_COLON] == rsrc.statend - 1) {
          ++CurStmt[CS_DCOLON];
          CurStmt[CS_COLON] = 0;
        } else {
          CurStmt[CS_COLON] = rsrc.statend;
        }
      }
    }
    if (c == ',' && cp.depth == 1) cp.comma1 = 1;
    if (c == '(') ++cp.depth;
    if (c == ')' && cp.depth > 0) --cp.depth;
    if (c == '[') ++cp.bdepth;
    if (c == ']' && cp.bdepth > 0) --cp.bdepth;
    put(u, col, lineidx);
  }
  if (lim < line.size() && !cp.dry) check_73_133rd_col(line, lim);
  if (fixed && (cp.quote != 0 || cp.holl > 0)) {
    // A constant open at the end of a fixed-form line is padded up to the
    // margin with blanks.
    for (size_t p = lim; p < static_cast<size_t>(rsrc.rmargin); ++p) {
      int32_t col = static_cast<int32_t>(p);
      if (cp.holl > 0) {
        const_char(' ', col, lineidx);
        if (--cp.holl == 0) {
          close_const('h', col, lineidx);
          break;
        }
      } else {
        const_char(' ', col, lineidx);
      }
    }
  }
}

// Records one physical line of the statement; false when it is dropped
// because the statement is too long.
static bool add_line(const std::string& line) {
  if (rsrc.dropping) return false;
  int32_t idx = rsrc.lincnt;
  int32_t bytes = static_cast<int32_t>(line.size()) + 1;
  if (idx + 1 >= LINE_LIMIT || stmtlines.rawbytes + bytes > RAW_LIMIT) {
    too_long();
    rsrc.dropping = 1;
    return false;
  }
  stmtlines.text[idx] = line;
  stmtlines.lineno[idx] = rsrc.srclno;
  stmtlines.inclev[idx] = rsrc.inclev;
  stmtlines.rawbytes += bytes;
  ++rsrc.lincnt;
  int32_t n = rsrc.lincnt;
  if (n == 20) issue(9136);
  if (n == 59) issue(9139);
  if (!rsrc.freeform || ropt.Language == 1) {
    if (n == 100) issue(9143);
  } else {
    if (n == 40) issue(9140);
    if (n == 100) issue(9142);
  }
  return true;
}

// Handles a directive line outside a statement.
static void directive_line(const std::string& line) {
  printline(line.c_str());
  directive(line, line.c_str() + 1);
}

int32_t nextstat() {
  pp_initstmt(1);
  rsrc.lincnt = 0;
  rsrc.tabformat = 0;
  rsrc.too_long = 0;
  rsrc.dropping = 0;
  rsrc.inline_cmnt_start = 0;
  stmtlines.rawbytes = 0;
  cp = CopyState{};
  rsrc.statbeg = 1;
  rsrc.statend = 1;
  rsrc.labpos_beg = rsrc.labpos_end = 0;
  pstat[1] = 10;
  const std::string* linep = nullptr;
  LineInfo li{};
  bool is_rest = false;
  // The initial line.
  for (;;) {
    linep = fetch_line(is_rest);
    if (linep == nullptr) {
      tk.stacol = 1;
      return -1;
    }
    const std::string& line = *linep;
    if (is_rest) {
      // The rest of the line after ";": blanks and further separators are
      // skipped; in free form a label may lead it.
      li = LineInfo{};
      li.kind = LK_INITIAL;
      size_t i = static_cast<size_t>(rsrc.linebuf_from);
      while (i < line.size() && (is_blank(static_cast<unsigned char>(line[i])) || line[i] == ';')) ++i;
      if (i >= line.size() || line[i] == '!') continue;
      li.labbeg = li.labend = i;
      if (rsrc.freeform) {
        while (i < line.size() && is_digit(static_cast<unsigned char>(line[i]))) ++i;
        li.labend = i;
      }
      li.text = i;
      break;
    }
    cp.contnext = 0;
    li = classify(line, false);
    if (li.kind == LK_EOF) {
      rsrc.areof = 1;
      if (!pp_endoffile()) {
        tk.stacol = 1;
        return -1;
      }
      continue;
    }
    if (li.kind == LK_SKIPPED) continue;
    if (li.kind == LK_DIRECTIVE) {
      directive_line(line);
      continue;
    }
    if (li.kind == LK_COMMENT) {
      count_chars(static_cast<int32_t>(line.size()), true);
      if (!line.empty() && line[0] == '#') hash_line(line);
      printline(line.c_str());
      continue;
    }
    printline(line.c_str());
    break;
  }
  const std::string& line = *linep;
  if (rsrc.PrgSrcForm == 0) {
    // Undecided: a label or text from column 7 on means fixed form.
    rsrc.PrgSrcForm = li.labend > li.labbeg || li.text >= 6 || rsrc.tabformat ? 2 : 1;
    apply_form();
    li = classify(line, false);
  }
  rsrc.statsrclno = rsrc.srclno;
  rsrc.codlno = rsrc.inclev > 0 ? rsrc.inc[1].incline : rsrc.srclno;
  CurStmt[CS_HPF] = li.hpf ? 1 : 0;
  add_line(line);
  // Label digits.
  for (size_t k = li.labbeg; k < li.labend && k < line.size(); ++k) {
    int32_t c = static_cast<unsigned char>(line[k]);
    if (is_digit(c)) put(c, static_cast<int32_t>(k), 0);
  }
  rsrc.labpos_beg = 1;
  rsrc.labpos_end = rsrc.statend;
  rsrc.statbeg = rsrc.statend;
  cp.pendbreak = 0;
  if (li.kind == LK_CONTINUATION && li.label_on_cont) {
    tk.errcol = -1;
    rd_errmsg(262);
  }
  copy_text(line, li.text, 0);
  // Continuation lines.
  while (!rsrc.StmtSeperator) {
    bool rest = false;
    const std::string* nextp = fetch_line(rest);
    if (nextp == nullptr) break;
    const std::string& line = *nextp;
    LineInfo nl = classify(line, true);
    if (nl.kind == LK_EOF) {
      rsrc.areof = 1;
      break;
    }
    if (nl.kind == LK_SKIPPED) continue;
    if (nl.kind == LK_COMMENT) {
      count_chars(static_cast<int32_t>(line.size()), true);
      if (!line.empty() && line[0] == '#') hash_line(line);
      printline(line.c_str());
      continue;
    }
    if (nl.kind != LK_CONTINUATION) {
      keep_line();
      break;
    }
    printline(line.c_str());
    if (!add_line(line)) {
      // A dropped line is still read for the constants left open and the
      // free-form "&" that continues the statement on the next line.
      cp.dry = 1;
      copy_text(line, nl.text, rsrc.lincnt > 0 ? rsrc.lincnt - 1 : 0);
      cp.dry = 0;
      continue;
    }
    if (nl.label_on_cont) {
      int32_t saved = tk.errcol;
      tk.errcol = -1;
      rd_errmsg(262);
      tk.errcol = saved;
    }
    if (!rsrc.freeform) cp.pendbreak |= 2;
    copy_text(line, nl.text, rsrc.lincnt - 1);
  }
  if (cp.quote != 0 || cp.holl > 0) close_const(cp.quote ? cp.quote : 'h', rsrc.lastcolumn, rsrc.lastcolumnline);
  // End of the statement.
  pstat[rsrc.statend] = 10;
  wbreaks[rsrc.statend] = 0;
  pcols[rsrc.statend] = static_cast<uint16_t>(rsrc.lastcolumn + 1);
  pcont[rsrc.statend] = static_cast<uint16_t>(rsrc.lastcolumnline);
  tk.stacol = rsrc.statbeg;
  tk.errcol = rsrc.statbeg;
  tk.tokbeg = rsrc.statbeg;
  // "%" statements of the dialects that have them.
  if (!rsrc.freeform && (ropt.compiler & 0x4) && pstat[rsrc.statbeg] == '%') {
    if (rsrc.statend - rsrc.statbeg >= 8 && std::memcmp(pstat + rsrc.statbeg + 1, "INCLUDE", 7) == 0) {
      tk.stacol = rsrc.statbeg + 8;
      return -3;
    }
    if (rsrc.statend - rsrc.statbeg >= 5 && std::memcmp(pstat + rsrc.statbeg + 1, "LIST", 4) == 0) {
      tk.stacol = rsrc.statbeg + 5;
      return -4;
    }
    rd_errmsg(35);
  }
  return rsrc.labpos_end > rsrc.labpos_beg ? 1 : -2;
}

int32_t getcol(int32_t pos, int32_t* line) {
  if (pos <= 0 || pos > rsrc.statend || pos >= PSTAT_SIZE) {
    if (line) *line = 0;
    return 0;
  }
  if (line) *line = pcont[pos];
  return pcols[pos];
}

const char* getsource(int32_t i) {
  if (i < 0) return rsrc.rawline.c_str();
  if (i >= rsrc.lincnt || i >= MAX_STMT_LINES) return "";
  return stmtlines.text[i].c_str();
}

std::string chunkosource(int32_t from, int32_t to) {
  std::string out;
  if (from < 1) from = 1;
  if (to >= rsrc.statend) to = rsrc.statend - 1;
  bool cut = false;
  for (int32_t p = from; p <= to;) {
    if (out.size() >= 490) {
      cut = true;
      break;
    }
    int32_t c = pstat[p];
    if (p > from && (wbreaks[p] & 1)) out += ' ';
    if (c == 'a' || c == 'q' || c == 'h') {
      int32_t len = (pstat[p + 1] << 8) | pstat[p + 2];
      out += '\'';
      out.append(reinterpret_cast<const char*>(pstat + p + CONST_HEAD), static_cast<size_t>(len));
      out += '\'';
      p += CONST_OVERHEAD + len;
      continue;
    }
    out += static_cast<char>(c);
    ++p;
  }
  if (cut || out.size() > 490) {
    out.resize(490);
    out += "...";
  }
  return out;
}

const char* current_unit_name() {
  return prgnam != nullptr && prgnam->name != nullptr ? prgnam->name : "(outside)";
}

// A control character other than a tab, shown as "^" and a letter.
static bool shown_as_caret(unsigned char c) { return (c < 32 && c != '\t') || c == 127; }

// The line with its tabs expanded to the next multiple of 8 and its other
// control characters shown as ^X (^? for DEL).
static std::string expand_tabs(const std::string& s) {
  std::string out;
  for (char ch : s) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\t') {
      do out += ' '; while (out.size() % 8 != 0);
    } else if (shown_as_caret(c)) {
      out += '^';
      out += c == 127 ? '?' : static_cast<char>(c + 64);
    } else {
      out += ch;
    }
  }
  return out;
}

static int32_t display_column(const std::string& s, int32_t col) {
  int32_t d = 0;
  for (int32_t i = 0; i < col && i < static_cast<int32_t>(s.size()); ++i) {
    unsigned char c = static_cast<unsigned char>(s[static_cast<size_t>(i)]);
    d = c == '\t' ? (d / 8 + 1) * 8 : d + (shown_as_caret(c) ? 2 : 1);
  }
  if (col > static_cast<int32_t>(s.size())) d += col - static_cast<int32_t>(s.size());
  return d;
}

ErrPlace errplace;

std::string perrlin_text(int32_t col) {
  std::string out = "\n";
  if (col == 0 || col == -30001 || col == -30002) return out;
  if ((col == -30000 || col == -30003) && errplace.line > 0) {
    std::string place = rsrc.filename + ":" + current_unit_name() + " line ";
    if (errplace.incline > 0) place += std::to_string(errplace.incline) + ".";
    return out + place + std::to_string(errplace.line) + ":\n";
  }
  int32_t lineno = rsrc.srclno;
  int32_t lastidx = -1;
  if (col == -30000 || col == -30003) {
    // no source lines
  } else if (col < 0) {
    const std::string& l = rsrc.rawline;
    out += ">" + expand_tabs(l) + "\n";
    out += ">" + std::string(static_cast<size_t>(display_column(l, -col - 1)), ' ') + "^\n";
  } else {
    int32_t idx = 0;
    int32_t c = getcol(col, &idx);
    if (idx >= rsrc.lincnt) idx = rsrc.lincnt > 0 ? rsrc.lincnt - 1 : 0;
    int32_t first = idx - 4 > 0 ? idx - 4 : 0;
    for (int32_t i = first; i <= idx && i < rsrc.lincnt; ++i) {
      out += ">" + expand_tabs(stmtlines.text[i]) + "\n";
    }
    const std::string& l = rsrc.lincnt > 0 ? stmtlines.text[idx] : rsrc.rawline;
    out += ">" + std::string(static_cast<size_t>(display_column(l, c)), ' ') + "^\n";
    lineno = rsrc.lincnt > 0 ? stmtlines.lineno[idx] : rsrc.statsrclno;
    lastidx = idx;
  }
  (void)lastidx;
  std::string place = rsrc.filename;
  place += ":";
  place += current_unit_name();
  place += " line ";
  for (int32_t l = 1; l <= rsrc.inclev; ++l) place += std::to_string(rsrc.inc[l].incline) + ".";
  place += std::to_string(lineno);
  if (rsrc.inclev > 0) place += " (" + rsrc.inc[rsrc.inclev].shortname + ")";
  out += place + ":\n";
  return out;
}
