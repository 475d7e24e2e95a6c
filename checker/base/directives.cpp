// Comment directives ("$" in column 1) of the Concurrent, HP and IRIS
// dialects, the HP conditional compilation ($SET, $IF, $ELSE, $ENDIF), and
// the search and opening of include files for directives and the INCLUDE
// statement.
#include "checker/base/directives.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/tokens.h"

// Conditional-compilation state of the current source file.
struct CondState {
  int32_t cclev;                 // open levels
  uint8_t taking[CC_LEVELS + 1]; // lines were taken when the level's IF was met
  uint8_t elseseen[CC_LEVELS + 1];  // an ELSE was seen on the level
  int32_t over;                  // levels opened beyond the table
  int32_t over_skip;             // dropping state when the first of them opened
  std::vector<std::pair<std::string, int32_t>> syms;  // defined names, newest last
  int32_t hpepos;                // column of the last token read
  const char* linestart;         // the directive line being read
  const char* scanbase;          // the text hptoken scans (an upper-cased copy)
  int32_t scanoff;               // column of scanbase[0] in the line
};
static CondState cc;

void hpinit() {
  cc.cclev = 0;
  cc.over = 0;
  cc.syms.clear();
  rsrc.ccskip = 0;
}

void hpfree() { cc.syms.clear(); }

int32_t hp_level() { return cc.cclev + cc.over; }

bool hp_value(const std::string& name) {
  for (auto it = cc.syms.rbegin(); it != cc.syms.rend(); ++it) {
    if (it->first == name) return it->second != 0;
  }
  return false;
}

// Raises a directive message at the column of the last token read.
static void hp_error(int32_t n) {
  int32_t saved = tk.errcol;
  tk.errcol = -(cc.hpepos + 1);
  rd_errmsg(n);
  tk.errcol = saved;
}

static std::string hp_name;  // text of the last name token

int32_t hptoken(const char*& p) {
  while (*p == ' ' || *p == '\t') ++p;
  cc.hpepos = cc.linestart != nullptr && cc.scanbase != nullptr
                  ? cc.scanoff + static_cast<int32_t>(p - cc.scanbase)
                  : 0;
  char c = *p;
  if (c == '\0') return HT_END;
  if (c == '(') return ++p, HT_LPAR;
  if (c == ')') return ++p, HT_RPAR;
  if (c == ',') return ++p, HT_COMMA;
  if (c == '=') return ++p, HT_EQ;
  if (c == '.') {
    static const struct {
      const char* word;
      int32_t code;
    } ops[] = {{"NOT.", HT_NOT}, {"AND.", HT_AND}, {"OR.", HT_OR}, {"TRUE.", HT_TRUE}, {"FALSE.", HT_FALSE}};
    for (const auto& o : ops) {
      size_t n = std::strlen(o.word);
      if (std::strncmp(p + 1, o.word, n) == 0) {
        p += n + 1;
        return o.code;
      }
    }
    return 0;
  }
  // A name is made of letters, "_" and "$" only.
  if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$') {
    const char* b = p;
    while (std::isalpha(static_cast<unsigned char>(*p)) || *p == '_' || *p == '$') ++p;
    hp_name.assign(b, static_cast<size_t>(p - b));
    return static_cast<int32_t>(p - b);
  }
  return 0;
}

// The directive text at `text` (a part of the line) is scanned from its
// copy `copy`; message columns count from the line start.
static void scan_from(const char* text, const char* copy) {
  cc.scanbase = copy;
  cc.scanoff = cc.linestart != nullptr ? static_cast<int32_t>(text - cc.linestart) : 0;
}

static std::string upcase(const char* text) {
  std::string s = text;
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

void hpset(const char* text) {
  std::string t = upcase(text);
  const char* base = t.c_str();
  scan_from(text, base);
  const char* p = base;
  if (hptoken(p) != HT_LPAR) {
    hp_error(17);
    return;
  }
  for (;;) {
    if (hptoken(p) <= 0) {
      hp_error(3);
      break;
    }
    std::string name = hp_name;
    if (hptoken(p) != HT_EQ) {
      hp_error(33);
      break;
    }
    int32_t v = hptoken(p);
    if (v != HT_TRUE && v != HT_FALSE) {
      hp_error(32);
      break;
    }
    cc.syms.emplace_back(name, v == HT_TRUE ? 1 : 0);
    int32_t sep = hptoken(p);
    if (sep == HT_COMMA) continue;
    if (sep != HT_RPAR) {
      hp_error(36);
      break;
    }
    if (hptoken(p) != HT_END) hp_error(20);
    break;
  }
}

// Recursive evaluation of an IF expression; false after a reported error.
struct HpExpr {
  const char* p;
  bool ok = true;
  int32_t look = 0;
  void next() { look = hptoken(p); }
  bool primary() {
    if (look == HT_NOT) {
      next();
      return !primary();
    }
    if (look == HT_LPAR) {
      next();
      bool v = orexpr();
      if (ok && look != HT_RPAR) {
        hp_error(7);
        ok = false;
      }
      if (ok) next();
      return v;
    }
    if (look > 0) {
      bool v = hp_value(hp_name);
      next();
      return v;
    }
    hp_error(3);
    ok = false;
    return false;
  }
  bool andexpr() {
    bool v = primary();
    while (ok && look == HT_AND) {
      next();
      bool w = primary();
      v = v && w;
    }
    return v;
  }
  bool orexpr() {
    bool v = andexpr();
    while (ok && look == HT_OR) {
      next();
      bool w = andexpr();
      v = v || w;
    }
    return v;
  }
};

void hpif(const char* text) {
  bool taking = rsrc.ccskip == 0;
  if (cc.cclev >= CC_LEVELS) {
    // Levels beyond the table are counted so that their ELSE and ENDIF
    // stay paired; their lines are dropped.
    if (cc.over == 0) {
      cc.over_skip = rsrc.ccskip;
      rd_outstr("INTERNAL OVERFLOW - exceeded conditional compilation max of " +
                std::to_string(CC_LEVELS) + "\n");
    }
    ++cc.over;
    rsrc.ccskip = 1;
    return;
  }
  ++cc.cclev;
  cc.taking[cc.cclev] = taking ? 1 : 0;
  cc.elseseen[cc.cclev] = 0;
  rsrc.ccskip = 1;
  std::string t = upcase(text);
  scan_from(text, t.c_str());
  HpExpr e{t.c_str()};
  e.next();
  if (e.look != HT_LPAR) {
    hp_error(17);
    return;
  }
  e.next();
  bool v = e.orexpr();
  if (e.ok && e.look != HT_RPAR) {
    hp_error(7);
    e.ok = false;
  }
  if (e.ok) {
    if (hptoken(e.p) != HT_END) hp_error(20);
    if (taking) rsrc.ccskip = v ? 0 : 1;
  }
}

void hpelse() {
  if (cc.over > 0) return;
  if (cc.cclev == 0) {
    cc.hpepos = 0;
    hp_error(153);
    return;
  }
  if (cc.elseseen[cc.cclev]) {
    cc.hpepos = 0;
    hp_error(464);
    return;
  }
  if (cc.taking[cc.cclev]) rsrc.ccskip = rsrc.ccskip ? 0 : 1;
  cc.elseseen[cc.cclev] = 1;
}

void hpendif() {
  if (cc.over > 0) {
    if (--cc.over == 0) rsrc.ccskip = cc.over_skip;
    return;
  }
  if (cc.cclev == 0) {
    cc.hpepos = 0;
    hp_error(265);
    return;
  }
  rsrc.ccskip = cc.taking[cc.cclev] ? 0 : 1;
  --cc.cclev;
}

// Include files -----------------------------------------------------------

static std::string join(const std::string& dir, const std::string& name) {
  if (dir.empty() || name.empty() || name[0] == '/') return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

FILE* open_include(const std::string& name, bool usr_include, std::string& found) {
  std::vector<std::string> tries;
  if (!name.empty() && name[0] == '/') {
    tries.push_back(name);
  } else {
    std::string d = current_source_dir();
    if (!d.empty()) tries.push_back(join(d, name));
    for (const std::string& p : ropt.includepaths) tries.push_back(join(p, name));
    tries.push_back(name);
    if (usr_include) tries.push_back(join("/usr/include", name));
  }
  for (const std::string& t : tries) {
    FILE* fp = std::fopen(t.c_str(), "r");
    if (fp != nullptr) {
      found = t;
      return fp;
    }
  }
  return nullptr;
}

void include_failed(const std::string& name) {
  rd_errmsg(1);
  // Every pass reads the file again; the failure is reported once for each
  // place that names the file, in the first pass that prints messages
  // beside it (not the dependency pass).
  if (an.MakingDep) return;
  static std::set<std::string> reported;
  std::string place = rsrc.filename;
  for (int32_t l = 1; l <= rsrc.inclev; ++l) place += ":" + std::to_string(rsrc.inc[l].incline);
  place += ":" + std::to_string(rsrc.srclno) + ":" + name;
  if (reported.insert(place).second) rd_coded("@E-TXTOPN", "can't open %s as input", name);
}

// Opens an include file named in a directive line and continues in it.
static void include_directive(const char* text, bool concurrent) {
  if (rsrc.inclev >= MAX_INCLUDE) {
    tk.errcol = -1;
    rd_errmsg(4);
    return;
  }
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == ',') ++p;
  if (concurrent) {
    // An optional file number and commas come first.
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    while (*p == ' ' || *p == ',') ++p;
  }
  std::string name;
  while (*p != '\0' && *p != ' ' && *p != '\t' && name.size() < 100) {
    if (concurrent && (*p == '*' || *p == '(')) break;
    name += *p++;
  }
  if (ropt.lowercase_includes) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  std::string found;
  FILE* fp = open_include(name, false, found);
  if (fp == nullptr) {
    tk.errcol = -1;
    include_failed(name);
    return;
  }
  push_include(fp, found, concurrent ? 1 : 0, rsrc.srclno);
}

enum DirAction {
  DA_INCLUDE, DA_CINCLUDE, DA_BEND, DA_ASSM, DA_FORT, DA_SETS, DA_USES, DA_GOES, DA_HOLL,
  DA_NHOLL, DA_COMP, DA_NCOMP, DA_LONG, DA_SHORT, DA_DEBUG, DA_SET, DA_IF, DA_ELSE,
  DA_ENDIF, DA_OPTION, DA_CONTROL, DA_COL72, DA_COL120, DA_INT2, DA_LOG2
};
struct DirWord {
  const char* word;
  DirAction action;
};
static const DirWord concdirs[] = {
    {"INCLUDE", DA_CINCLUDE}, {"BEND", DA_BEND}, {"ASSM", DA_ASSM}, {"FORT", DA_FORT},
    {"SETS", DA_SETS},        {"USES", DA_USES}, {"GOES", DA_GOES}, {"HOLL", DA_HOLL},
    {"NHOLL", DA_NHOLL},      {"COMP", DA_COMP}, {"NCOMP", DA_NCOMP}, {nullptr, DA_INCLUDE}};
static const DirWord hpdirs[] = {
    {"INCLUDE", DA_INCLUDE}, {"LONG", DA_LONG}, {"SHORT", DA_SHORT}, {"DEBUG", DA_DEBUG},
    {"SET", DA_SET},         {"IF", DA_IF},     {"ELSE", DA_ELSE},   {"ENDIF", DA_ENDIF},
    {"OPTION", DA_OPTION},   {"CONTROL", DA_CONTROL}, {nullptr, DA_INCLUDE}};
static const DirWord irisdirs[] = {
    {"INCLUDE", DA_INCLUDE}, {"COL72", DA_COL72}, {"COL120", DA_COL120},
    {"INT2", DA_INT2},       {"LOG2", DA_LOG2},   {nullptr, DA_INCLUDE}};

int32_t concholl;
static int32_t conccomp;

static void run_directive(const DirWord* table, const char* text);

// OPTION and CONTROL: each comma-separated piece outside parentheses is a
// directive of its own.
static void split_directives(const DirWord* table, const char* text) {
  // The pieces are copies: their messages stand at the start of the line.
  const char* line = cc.linestart;
  cc.linestart = nullptr;
  std::string piece;
  int32_t depth = 0;
  for (const char* p = text;; ++p) {
    char c = *p;
    if (c == '\0' || (c == ',' && depth == 0)) {
      run_directive(table, piece.c_str());
      piece.clear();
      if (c == '\0') break;
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    piece += c;
  }
  cc.linestart = line;
}

static void run_directive(const DirWord* table, const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  for (const DirWord* d = table; d->word != nullptr; ++d) {
    size_t n = std::strlen(d->word);
    bool same = true;
    for (size_t i = 0; i < n && same; ++i) {
      if (std::toupper(static_cast<unsigned char>(text[i])) != d->word[i]) same = false;
    }
    if (!same) continue;
    const char* rest = text + n;
    switch (d->action) {
      case DA_INCLUDE: include_directive(rest, false); break;
      case DA_CINCLUDE: include_directive(rest, true); break;
      case DA_BEND: rsrc.concbend = 1; break;
      case DA_ASSM: rsrc.concskip = 1; break;
      case DA_FORT: rsrc.concskip = 0; break;
      case DA_SETS: case DA_USES: case DA_GOES: break;
      case DA_HOLL: concholl = 1; break;
      case DA_NHOLL: concholl = 0; break;
      case DA_COMP: conccomp = 1; break;
      case DA_NCOMP: conccomp = 0; break;
      case DA_LONG:
        rsrc.fileintsiz = rsrc.prgintsiz = rsrc.filelogsiz = rsrc.prglogsiz = 4;
        break;
      case DA_SHORT:
        rsrc.fileintsiz = rsrc.prgintsiz = rsrc.filelogsiz = rsrc.prglogsiz = 2;
        break;
      case DA_DEBUG: {
        const char* r = rest;
        while (*r == ' ' || *r == '\t') ++r;
        std::string w = upcase(r);
        rsrc.filedlinopt = w.compare(0, 3, "OFF") == 0 ? 0 : 1;
        break;
      }
      case DA_SET: if (!rsrc.ccskip) hpset(rest); break;
      case DA_IF: hpif(rest); break;
      case DA_ELSE: hpelse(); break;
      case DA_ENDIF: hpendif(); break;
      case DA_OPTION: case DA_CONTROL: split_directives(table, rest); break;
      case DA_COL72: rsrc.margin_override = 72; pp_setMargin(); break;
      case DA_COL120: rsrc.margin_override = 120; pp_setMargin(); break;
      case DA_INT2: rsrc.prgintsiz = 2; rsrc.prglogsiz = 1; break;
      case DA_LOG2: rsrc.prglogsiz = 2; break;
    }
    return;
  }
}

void directive(const std::string& line, const char* text) {
  const DirWord* table = (ropt.compiler & 0x40) ? concdirs : (ropt.compiler & 0x200) ? hpdirs : irisdirs;
  cc.linestart = line.c_str();
  // While lines are dropped only the conditional directives are obeyed.
  if (rsrc.ccskip || rsrc.concskip) {
    std::string w = upcase(text);
    size_t i = w.find_first_not_of(" \t");
    w = i == std::string::npos ? "" : w.substr(i);
    if (table == hpdirs && (w.compare(0, 2, "IF") == 0 || w.compare(0, 4, "ELSE") == 0 ||
                            w.compare(0, 5, "ENDIF") == 0)) {
      run_directive(table, text);
    } else if (table == concdirs && w.compare(0, 4, "FORT") == 0) {
      run_directive(table, text);
    }
    cc.linestart = nullptr;
    return;
  }
  run_directive(table, text);
  cc.linestart = nullptr;
}

// INCLUDE statement ---------------------------------------------------------

// Rewrites a VMS include name: "/LIST" and "/NOLIST" are cut off, a logical
// name before ":" is replaced through LOGICALNAMEMAPPING; returns the module
// name of a text-library reference ("lib(module)"), or "".
static std::string parse_vms_include_name(std::string& name) {
  std::string module;
  size_t lp = name.find('(');
  if (lp != std::string::npos) {
    size_t rp = name.find(')', lp);
    module = name.substr(lp + 1, rp == std::string::npos ? std::string::npos : rp - lp - 1);
    name.erase(lp);
  }
  for (const char* q : {"/nolist", "/list"}) {
    std::string low = name;
    for (char& c : low) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t at = low.rfind(q);
    if (at != std::string::npos && at + std::strlen(q) == low.size()) name.erase(at);
  }
  size_t colon = name.find(':');
  if (colon != std::string::npos) {
    std::string logical = name.substr(0, colon);
    const char* map = std::getenv("LOGICALNAMEMAPPING");
    std::string m = map ? map : "";
    size_t pos = 0;
    while (pos <= m.size()) {
      size_t semi = m.find(';', pos);
      std::string entry = m.substr(pos, semi == std::string::npos ? std::string::npos : semi - pos);
      size_t eq = entry.find('=');
      if (eq != std::string::npos && entry.substr(0, eq) == logical) {
        name = entry.substr(eq + 1) + "/" + name.substr(colon + 1);
        break;
      }
      if (semi == std::string::npos) break;
      pos = semi + 1;
    }
  }
  return module;
}

void shinclud(int32_t code) {
  if (rsrc.inclev >= MAX_INCLUDE) {
    rd_errmsg(4);
    return;
  }
  if (code == 94) {
    rd_errmsg(478);
    rd_coded("I-NOTDBMSVER", "this tarvo revision does not provide DBMS support", "");
    return;
  }
  getokn();
  if (tk.toktyp != TT_CHAR) {
    rd_errmsg(10);
    return;
  }
  std::string name;
  for (int32_t i = 0; i < tk.chartoklen && name.size() < 100; ++i) {
    char c = static_cast<char>(pstat[tk.chartokval + i]);
    if (static_cast<unsigned char>(c) < '!') continue;
    name += c == '\\' ? '/' : c;
  }
  if (ropt.compiler & 2) {
    std::string module = parse_vms_include_name(name);
    if (!module.empty()) name = module;
  }
  if (ropt.lowercase_includes) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (ropt.ignore_logicals) {
    size_t cut = std::string::npos;
    for (size_t i = 0; i < name.size(); ++i) {
      if (name[i] == ']' || (name[i] == ':' && !(i + 1 < name.size() && (name[i + 1] == '/' || name[i + 1] == '\\')))) {
        cut = i;
      }
    }
    if (cut != std::string::npos) name.erase(0, cut + 1);
  }
  if (ropt.ignore_paths) {
    size_t cut = name.find_last_of("/\\");
    if (cut != std::string::npos) name.erase(0, cut + 1);
  }
  if (code != 42) {
    rd_errmsg(477);
    rd_coded("I-NOTCDDVER", "this tarvo revision does not provide CDD support", "");
    return;
  }
  std::vector<std::string> forms{name};
  if (ropt.compiler & 2) {
    std::string low = name, up = name;
    for (char& c : low) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    forms.push_back(low);
    forms.push_back(up);
  }
  for (const std::string& f : forms) {
    std::string found;
    FILE* fp = open_include(f, true, found);
    if (fp != nullptr) {
      push_include(fp, found, 0, rsrc.statsrclno);
      return;
    }
  }
  include_failed(name);
}
