// tarvo's switches: the configuration files and the command line become switch
// values (cmmdparse, configfile), the values become option globals, the
// report file is chosen and opened, and the first page with the settings and
// the list of source files is printed (readcmmd).
#include "checker/base/cmmdline.h"
#include "checker/base/tvxutil.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include "checker/base/errmsg.h"
#include "checker/base/out.h"
#include "checker/base/pools.h"
#include "checker/common/error.h"
#include "checker/common/filnam.h"
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/common/qmalloc.h"
#include "checker/common/tlink.h"

const swtrow swttbl[] = {
#define SWITCH(name, letter, kind, slot, help) {name, letter, kind, slot, help},
#include "checker/base/switches.def"
};
const int swtcount = static_cast<int>(std::size(swttbl));

const dialect dialects[] = {
#define DIALECT(mask, name, upname, display) {mask, name, upname, display},
#include "checker/base/dialects.def"
};
const int ndialects = static_cast<int>(std::size(dialects));

swtval* switchtbl = nullptr;

uint32_t compiler = 8;
uint8_t Language = 0;
int32_t Sizemode = 2;
int32_t port_dialect = 2048;
std::vector<int32_t> dias;
int32_t ndias = 0;
int32_t cmmdintsiz = 4, cmmdlogsiz = 4;
int32_t cmmdextopt = 0, cmmddlinopt = 0;
int32_t impopt = 0, wrnopt = 0, fyiopt = 0, usgopt = 0;
int32_t gloopt = 0, xrfopt = 0, xrsave = 0, fdbopt = 0;
std::string fdbfilnam;
int32_t libopt = 0;
int32_t statopt = 0, sumopt = 0, listit = 0, incopt = 0;
int32_t allthrucpp = 0;
std::string cppcmmd;
std::vector<std::string> cppargs;
std::vector<std::string> includepaths;
std::string exten = ".FOR";
int32_t flopt_srcform = 0, flopt_hpf = 0, flopt_ansimaxloc = 0;
int32_t flopt_shellexit = 0, flopt_test = 0, flopt_ntgui = 0;
int32_t deb9 = 0, memopt = 0, debug = 0, show_interr_info = 0, crunchname = 0;
int32_t lowercase_includes = 0, ignore_logicals = 0, ignore_paths = 0;
int32_t do_ensemble_system = 0, do_ensemble_function = 0;
std::string teamwork_file;
int32_t uselbt_opt = 0, FdbComFlag = 0, FdbExtFlag = 0;
int32_t mkdep_opt = 0;
std::string mkdep_fname;
int mkdep_output = 0;
std::string misccpp;
std::string tvx_filename;
int32_t numsrc = 0, numlbt = 0, numfdb = 0, spcfdb = 0;
int statunit = 0, xrfunit = 0;

namespace {

// The C preprocessor, found on PATH; its traditional mode leaves Fortran
// apostrophes and "//" alone, which the ISO mode would corrupt.
constexpr char cpp_path[] = "cpp";
constexpr char cpp_mode[] = "-traditional-cpp";
constexpr char cpp_include[] = "-I/usr/lang/SC0.0/include";

std::array<swtval, nslots> slots;   // the switch values of the run
int files_depth = 0;                // FILES files being read inside others

void clear_slots() {
  for (auto& s : slots) s = swtval{1, {}, 0, std::string(), -1};
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A decimal number made only of digits; huge values stay at INT32_MAX.
bool decnum(const std::string& s, int32_t& v) {
  if (s.empty()) return false;
  int64_t n = 0;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    n = n * 10 + (c - '0');
    if (n > INT32_MAX) n = INT32_MAX;
  }
  v = static_cast<int32_t>(n);
  return true;
}

// Adds " (in file)" to the first line of a switch error from a file.
std::string with_file(std::string text, const std::string& cfgfile) {
  if (cfgfile.empty()) return text;
  size_t start = !text.empty() && text[0] == '\n' ? 1 : 0;
  size_t eol = text.find('\n', start);
  std::string in = " (in " + cfgfile + ")";
  if (eol == std::string::npos) return text + in;
  return text.insert(eol, in);
}

[[noreturn]] void swterr(const char* code, const std::string& text,
                         const std::string& cfgfile) {
  tarvoerr(code, with_file(text, cfgfile));
  std::exit(fatal_exit_status);   // fatal codes end the run in tarvoerr
}

char slot_letter(int slot) {
  const swtval& s = slots[static_cast<size_t>(slot)];
  if (s.row >= 0) return swttbl[s.row].letter;
  for (int r = 0; r < swtcount; ++r) {
    if (swttbl[r].slot == slot && swttbl[r].letter != ' ') return swttbl[r].letter;
  }
  return '?';
}

// An illegal value of a slot: "illegal switch value -X value" and the hint.
[[noreturn]] void badswtval(int slot, const swvalue& v, const std::string& hint) {
  std::string text = "\nillegal switch value -";
  text += slot_letter(slot);
  text += " " + v.text;
  text = with_file(text, v.cfgfile);
  if (!hint.empty()) text += "\n" + hint;
  tarvoerr("F-IVVALU", text);
  std::exit(fatal_exit_status);
}

int findrow(char letter) {
  if (letter == ' ') return -1;
  for (int r = 0; r < swtcount; ++r) {
    if (swttbl[r].letter == letter) return r;
  }
  return -1;
}

int parsewords(swtval* sw, const std::vector<std::string>& words, tlink* srclist,
               const std::string& cfgfile, uint8_t level);
int readcfg(swtval* sw, tlink* srclist, const std::string& name, int mustexist,
            uint8_t level);

// Stores one setting: on/off (value null) or one value.
void saveswval(int row, const std::string* value, bool on, const std::string& cfgfile,
               uint8_t level, swtval* sw, tlink* srclist) {
  const swtrow& r = swttbl[row];
  swtval& s = sw[r.slot];
  if (!value) {
    bool slot_on = (r.kind & SWK_INVERT) ? !on : on;
    s.state = slot_on ? 2 : 1;
    s.level = level;
    s.cfgfile = cfgfile;
    s.row = row;
    if (!slot_on && (r.kind & (SWK_VALUE | SWK_LIST | SWK_ENDI))) s.values.clear();
    if (slot_on && r.slot == SL_F77) sw[SL_F90].state = 1;
    if (slot_on && r.slot == SL_F90) sw[SL_F77].state = 1;
    return;
  }
  if (r.kind & SWK_ENDI) {
    std::string two = lower(value->substr(0, 2));
    if (two == "en" || two == "di") {
      s.state = two == "en" ? 2 : 1;
      s.level = level;
      s.cfgfile = cfgfile;
      s.row = row;
      return;
    }
  }
  s.state = 2;
  s.level = level;
  s.cfgfile = cfgfile;
  s.row = row;
  swvalue v{*value, level, cfgfile};
  if (r.kind & SWK_VALUE) {
    s.values.assign(1, v);
  } else {
    s.values.push_back(v);
  }
  if (r.slot == SL_FILES) {
    if (files_depth >= files_depth_max) {
      swterr("F-SWTVAL", "\nFILES switch nested more than " + std::to_string(files_depth_max) +
                             " deep at " + *value, cfgfile);
    }
    ++files_depth;
    readcfg(sw, srclist, *value, 1, level == LV_COMMAND ? static_cast<uint8_t>(LV_EXPANDED) : level);
    --files_depth;
  }
}

void addsource(tlink* srclist, const std::string& name) {
  if (!srclist) return;
  qlist* pool = file_storage ? file_storage : (file_storage = qcreate(0, "file"));
  puttlink(srclist, pool, qstore(pool, name));
}

int parsewords(swtval* sw, const std::vector<std::string>& words, tlink* srclist,
               const std::string& cfgfile, uint8_t level) {
  int lastlist = -1;   // list switch that took the last value (for "," words)
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w == ",") {
      if (lastlist >= 0 && i + 1 < words.size()) {
        const std::string& v = words[++i];
        if (!v.empty() && v != ",") saveswval(lastlist, &v, true, cfgfile, level, sw, srclist);
      }
      continue;
    }
    lastlist = -1;
    if (w.empty() || w[0] != '-') {
      if (!w.empty()) addsource(srclist, w);
      continue;
    }
    bool off = w.size() >= 2 && w[1] == '-';
    size_t p = off ? 2 : 1;
    while (p < w.size()) {
      char letter = w[p++];
      int row = findrow(letter);
      if (row < 0) swterr("F-UNKSWT", std::string("\nunknown switch -") + letter, cfgfile);
      const swtrow& r = swttbl[row];
      if (!(r.kind & (SWK_VALUE | SWK_LIST | SWK_ENDI))) {
        saveswval(row, nullptr, !off, cfgfile, level, sw, srclist);
        continue;
      }
      if (off) {
        saveswval(row, nullptr, false, cfgfile, level, sw, srclist);
        continue;
      }
      std::string value;
      if (p < w.size()) {
        value = w.substr(p);
        p = w.size();
      } else if (i + 1 < words.size()) {
        value = words[++i];
      } else {
        swterr("F-NOVAL", std::string("\nMissing value on switch -") + letter, cfgfile);
      }
      size_t start = 0;
      while (start <= value.size()) {
        size_t comma = value.find(',', start);
        if (comma == std::string::npos) comma = value.size();
        std::string piece = value.substr(start, comma - start);
        if (!piece.empty()) saveswval(row, &piece, true, cfgfile, level, sw, srclist);
        start = comma + 1;
      }
      if (r.kind & (SWK_LIST | SWK_ENDI)) lastlist = row;
    }
  }
  return 1;
}

int readcfg(swtval* sw, tlink* srclist, const std::string& name, int mustexist,
            uint8_t level) {
  int unit = txtopn(name.c_str(), 0, nullptr);
  if (unit == 0) {
    if (mustexist) errf("@F-TXTOPN", "\ncan't open config file %s for input", name);
    return 1;
  }
  std::FILE* fp = myfpno(unit);
  std::string line;
  bool more = true;
  while (more) {
    line.clear();
    int c;
    while ((c = std::fgetc(fp)) != EOF && c != '\n') line += static_cast<char>(c);
    if (c == EOF) {
      more = false;
      if (line.empty()) break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > cfgline_max) {
      swterr("F-SWTVAL", "\nconfiguration line longer than " + std::to_string(cfgline_max) +
                             " characters", name);
    }
    if (!parsewords(sw, cfgwords(line), srclist, name, level)) {
      iclose(unit);
      return 0;
    }
  }
  iclose(unit);
  return 1;
}

const swvalue* firstvalue(int slot) {
  const swtval& s = slots[static_cast<size_t>(slot)];
  if (s.state != 2 || s.values.empty()) return nullptr;
  return &s.values.front();
}

bool ison(int slot) { return slots[static_cast<size_t>(slot)].state == 2; }

// ---- INTERNAL, CADRE and MISC words ---------------------------------------

// The banner lines, kept scrambled in the program (each byte XOR 0x2A) and
// turned into text when the INTERNAL word "title" asks for them. The second
// and third end with the revision and the date.
constexpr unsigned char banner_key = 0x2A;
constexpr const char* banner_lines[3] = {
    "\x7e\x4b\x58\x5c\x45\x10\x0a\x4b\x0a\x49\x42\x4f\x49\x41\x4f\x58\x0a\x4c\x45\x58\x0a\x6c\x45\x58\x5e\x58\x4b\x44\x0a\x1d\x1d\x06\x0a\x6c\x45\x58\x5e\x58\x4b\x44\x0a\x13\x1a\x0a\x4b\x44\x4e\x0a\x62\x7a\x6c",
    "\x69\x42\x4f\x49\x41\x4f\x58\x0a\x58\x4f\x5c\x43\x59\x43\x45\x44\x0a",
    "\x67\x4f\x59\x59\x4b\x4d\x4f\x0a\x49\x4b\x5e\x4b\x46\x45\x4d\x5f\x4f\x0a\x45\x4c\x0a\x58\x4f\x5c\x43\x59\x43\x45\x44\x0a",
};
std::string unscramble(const char* s) {
  std::string t(s);
  for (char& c : t) c = static_cast<char>(static_cast<unsigned char>(c) ^ banner_key);
  return t;
}

void printbanner() {
  std::string rev = std::string(revision_text).substr(4);   // "5.00.14-QEN"
  outstr(unscramble(banner_lines[0]) + "\n");
  outstr(unscramble(banner_lines[1]) + rev + " " + isdate + "\n");
  outstr(unscramble(banner_lines[2]) + rev + " " + isdate + "\n");
}

// 0 go on, 2 the banner was shown.
int dointernal() {
  for (const swvalue& v : slots[SL_INTERNAL].values) {
    const std::string& w = v.text;
    if (w == "title") {
      printbanner();
      return 2;
    } else if (w == "deb9" || w == "tables") {
      deb9 = 1;
    } else if (w == "nosmashing") {
      flio.nosmashing = true;
    } else if (w == "qmdebug") {
      qmstate.qmdebug = true;
    } else if (w == "qmsane") {
      qmstate.qmsane = true;
    } else if (w == "memory") {
      memopt = 1;
    } else if (w == "lowercase_includes") {
      lowercase_includes = 1;
    } else if (w == "ignore_logicals") {
      ignore_logicals = 1;
    } else if (w == "test") {
      flopt_test = 1;
    } else if (w == "debug") {
      debug = 1;
      show_interr_info = 1;
      qmstate.detail = true;
    } else if (w == "ntgui") {
      flopt_ntgui = 1;
    } else if (w.rfind("curdir=", 0) == 0) {
      mychdir(w.c_str() + 7, 1);
    } else if (w.rfind("crunchname", 0) == 0) {
      crunchname = 1;
    } else {
      badswtval(SL_INTERNAL, v, "Unknown internal word");
    }
  }
  return 0;
}

// Index of the entry that word abbreviates: exact match first, else the
// only entry it begins; -1 none, -2 ambiguous.
int abbrev(const std::string& word, const char* const* table, int n) {
  int found = -1;
  for (int k = 0; k < n; ++k) {
    if (word == table[k]) return k;
  }
  for (int k = 0; k < n; ++k) {
    if (!word.empty() && std::string_view(table[k]).substr(0, word.size()) == word) {
      if (found >= 0) return -2;
      found = k;
    }
  }
  return found;
}

void docadre() {
  static const char* const words[] = {"teamwork", "ensemble", "keepfim"};
  static const char* const subs[] = {"system", "function", "all", "dir="};
  for (const swvalue& v : slots[SL_CADRE].values) {
    size_t eq = v.text.find_first_of("=:");
    std::string key = lower(v.text.substr(0, eq));
    std::string arg = eq == std::string::npos ? std::string() : v.text.substr(eq + 1);
    int k = abbrev(key, words, 3);
    if (k == -2) badswtval(SL_CADRE, v, "Ambiguous word.");
    if (k < 0) badswtval(SL_CADRE, v, "Valid cadre options are:  teamwork, ensemble, keepfim");
    if (k == 0) {
      if (eq == std::string::npos || arg.empty()) {
        swterr("F-SWTVAL", "\nA filename must be given with the -Cteamwork=file switch\n",
               v.cfgfile);
      }
      teamwork_file = arg;
    } else if (k == 1) {
      size_t start = 0;
      while (start < arg.size()) {
        size_t end = arg.find_first_of("+:", start);
        if (end == std::string::npos) end = arg.size();
        std::string sub = lower(arg.substr(start, end - start));
        start = end + 1;
        if (sub.rfind("dir=", 0) == 0) continue;
        int s = abbrev(sub, subs, 3);
        if (s == 0) {
          do_ensemble_system = 1;
        } else if (s == 1) {
          do_ensemble_function = 1;
        } else if (s == 2) {
          do_ensemble_system = do_ensemble_function = 1;
        } else {
          badswtval(SL_CADRE, v, "Valid ensemble options are:  system, function");
        }
      }
    }
  }
}

// The TVX program database file of the MISC word "tvx".
void tvxopen(const std::string& name) {
  if (!tvx_filename.empty()) {
    tarvoerr("F-TVXFILE", "Can't specify multiple TVX output files");
  }
  if (name.empty()) tarvoerr("F-TVXFILE", "No TVX output file specified");
  tvx_filename = name;
  CTVX_Init(name.c_str());
}

// 0 go on, 1 the run ends (status 4).
int domiscargs() {
  static const char* const words[] = {
      "depend", "noexit", "help", "cpp", "hpf", "ansi_maxloc", "uselbt", "libcom",
      "libext", "ignore_logicals", "ignore_paths", "omp", "xomp", "tvx"};
  uselbt_opt = 0;
  mkdep_fname.clear();
  misccpp.clear();
  mkdep_opt = 1;
  bool ansimaxloc = false;
  for (const swvalue& v : slots[SL_MISC].values) {
    size_t colon = v.text.find(':');
    std::string key = lower(v.text.substr(0, colon));
    bool hasarg = colon != std::string::npos;
    std::string arg = hasarg ? v.text.substr(colon + 1) : std::string();
    int k = abbrev(key, words, static_cast<int>(std::size(words)));
    if (k == -2) badswtval(SL_MISC, v, "Ambiguous word.");
    if (k < 0) badswtval(SL_MISC, v, "Invalid -M sub-option");
    std::string_view word = words[k];
    if (word == "depend") {
      if (Language != 1) {
        mkdep_opt = 1;
        if (hasarg && !arg.empty()) {
          mkdep_fname = arg + ".dep";
          mkdep_output = txtopn(mkdep_fname.c_str(), FM_WRITE, nullptr);
          if (mkdep_output == 0) errf("@E-STMOPN", "can't open %s as output", mkdep_fname);
        }
      }
    } else if (word == "noexit") {
      flopt_shellexit = 1;
    } else if (word == "help") {
      printhelp();
      return 1;
    } else if (word == "cpp") {
      misccpp = arg;
    } else if (word == "hpf") {
      if (Language != 1) {
        int32_t n = 0;
        flopt_hpf = decnum(arg, n) && n > 0 ? n : 1;
        flopt_ansimaxloc = 0;
      }
    } else if (word == "ansi_maxloc") {
      ansimaxloc = true;
    } else if (word == "uselbt") {
      uselbt_opt = 1;
    } else if (word == "libcom") {
      FdbComFlag = 1;
    } else if (word == "libext") {
      FdbExtFlag = 1;
    } else if (word == "ignore_logicals") {
      ignore_logicals = 1;
    } else if (word == "ignore_paths") {
      ignore_logicals = 1;
      ignore_paths = 1;
    } else if (word == "omp" || word == "xomp") {
      return 1;
    } else if (word == "tvx") {
      tvxopen(arg);
    }
  }
  if (ansimaxloc && flopt_hpf) flopt_ansimaxloc = 1;
  return 0;
}

void docppargs() {
  cppcmmd = cpp_path;
  cppargs.assign(1, cpp_path);
  auto add = [](const std::string& item) {
    cppcmmd += " " + item;
    cppargs.push_back(item);
  };
  add(cpp_mode);
  for (const swvalue& v : slots[SL_CPPDEF].values) add("-D" + v.text);
  for (const swvalue& v : slots[SL_PATH].values) add("-I" + v.text);
  add(cpp_include);
  if (!misccpp.empty()) add(misccpp);
  flio.cppargs = cppargs;
  allthrucpp = ison(SL_CPP) ? 1 : 0;
  includepaths.clear();
  if (ison(SL_PATH)) {
    for (const swvalue& v : slots[SL_PATH].values) includepaths.push_back(v.text);
  }
}

// The report file name: the name with ".lnt" when it has no extension.
std::string with_lnt(const std::string& name) {
  size_t slash = name.find_last_of("/\\]");
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
  return name + ".lnt";
}

int openoutput(const std::string& name) {
  int unit = txtopn(name.c_str(), FM_WRITE, nullptr);
  if (unit == 0) errf("@F-TXTOPN", "can't open %s as output", name);
  return unit;
}

}  // namespace

void cmmdline_reset() {
  clear_slots();
  switchtbl = nullptr;
  files_depth = 0;
  compiler = 8;
  Language = 0;
  Sizemode = 2;
  port_dialect = 2048;
  dias.clear();
  ndias = 0;
  cmmdintsiz = cmmdlogsiz = 4;
  cmmdextopt = cmmddlinopt = 0;
  impopt = wrnopt = fyiopt = usgopt = 0;
  gloopt = xrfopt = xrsave = fdbopt = 0;
  fdbfilnam.clear();
  libopt = 0;
  lbtfilnam.clear();
  statopt = sumopt = listit = incopt = 0;
  allthrucpp = 0;
  cppcmmd.clear();
  cppargs.clear();
  includepaths.clear();
  exten = ".FOR";
  flopt_srcform = flopt_hpf = flopt_ansimaxloc = 0;
  flopt_shellexit = flopt_test = flopt_ntgui = 0;
  deb9 = memopt = debug = show_interr_info = crunchname = 0;
  lowercase_includes = ignore_logicals = ignore_paths = 0;
  do_ensemble_system = do_ensemble_function = 0;
  teamwork_file.clear();
  uselbt_opt = FdbComFlag = FdbExtFlag = 0;
  mkdep_opt = 0;
  mkdep_fname.clear();
  mkdep_output = 0;
  misccpp.clear();
  tvx_filename.clear();
  tvx_reset();
  numsrc = numlbt = numfdb = spcfdb = 0;
  statunit = xrfunit = 0;
}

int32_t cmcode(const std::string& name) {
  std::string l = lower(name);
  if (l == "ansi") return 1;
  for (const dialect& d : dialects) {
    if (d.name[0] != '\0' && l == d.name) return d.mask;
  }
  return 0;
}

std::vector<std::string> cfgwords(const std::string& line) {
  std::vector<std::string> words;
  std::string cur;
  auto flush = [&]() {
    if (!cur.empty()) words.push_back(cur);
    cur.clear();
  };
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '!') break;
    if (c == '"') {
      flush();
      std::string quoted;
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        quoted += line[i] == '\t' ? ' ' : line[i];
      }
      words.push_back(quoted);
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      flush();
    } else if (c == ',') {
      flush();
      words.emplace_back(",");
    } else {
      cur += c;
    }
  }
  flush();
  return words;
}

int cmmdparse(swtval* sw, int argc, char** argv, tlink* srclist, const char* cfgfile,
              uint8_t level) {
  std::vector<std::string> words;
  for (int i = 0; i < argc; ++i) words.emplace_back(argv[i] ? argv[i] : "");
  return parsewords(sw, words, srclist, cfgfile ? cfgfile : "", level);
}

int configfile(swtval* sw, tlink* srclist, const char* name, int mustexist, uint8_t level) {
  if (name) return readcfg(sw, srclist, name, mustexist, level);
  std::string path;
  int r = findfile("tarvo.cfg", 0, path);
  if (!readcfg(sw, srclist, path, 0, r == 0 ? LV_USER : LV_DEFAULT)) return 0;
  return readcfg(sw, srclist, "tarvo.cfg", 0, LV_LOCAL);
}

void printhelp() {
  setfirstpgheader(revision_text);
  // An unpaginated report that has no line yet prints the header itself
  // with its first line.
  if (linleft != 0 || nlpp > 0) outstr(rpt.pgheader);
  outstr("\n");
  outstr("Usage: tarvo [switches] source files\n");
  outstr("A switch is a letter after \"-\" (several may follow one \"-\"); \"--\" turns\n");
  outstr("switches off; a value follows its letter or comes as the next word.\n");
  outstr("Switches are also read from tarvo.cfg (TARVOCFG, TARVOHOME, current directory).\n\n");
  for (int r = 0; r < swtcount; ++r) {
    const swtrow& row = swttbl[r];
    if (row.letter == ' ') continue;
    std::string line = "  -";
    line += row.letter;
    line += "  ";
    std::string name = row.name;
    name.resize(12, ' ');
    line += name + row.help;
    outstr(line + "\n");
  }
}

void dispswit() {
  static const char* const heads[] = {"", "Default options: ", "User options: ",
                                      "Local options: ", "Expanded options: ",
                                      "Command options: "};
  for (uint8_t lv = LV_DEFAULT; lv <= LV_COMMAND; ++lv) {
    std::vector<std::string> items;
    for (int r = 0; r < swtcount; ++r) {
      const swtrow& row = swttbl[r];
      const swtval& s = slots[static_cast<size_t>(row.slot)];
      if (row.letter == ' ' || s.level != lv || s.row != r) continue;
      std::string item;
      if (row.kind & (SWK_VALUE | SWK_LIST | SWK_ENDI)) {
        if (s.state == 2 && !s.values.empty()) {
          item = std::string(" -") + row.letter;
          bool first = true;
          for (size_t i = 0; i < s.values.size(); ++i) {
            bool later = false;
            for (size_t j = i + 1; j < s.values.size(); ++j) {
              if (s.values[j].text == s.values[i].text) later = true;
            }
            if (later) continue;
            if (!first) item += ",";
            item += s.values[i].text;
            first = false;
          }
        } else if (s.state == 2 || (row.kind & SWK_ENDI)) {
          continue;   // kind-8 rows only with values
        } else {
          item = std::string(" --") + row.letter;
        }
      } else {
        bool given_on = (s.state == 2) != ((row.kind & SWK_INVERT) != 0);
        item = std::string(given_on ? " -" : " --") + row.letter;
      }
      items.push_back(item);
    }
    if (items.empty()) continue;
    std::string head = heads[lv];
    outstr(head);
    int32_t col = static_cast<int32_t>(head.size());
    for (const std::string& it : items) outwrap(it, static_cast<int32_t>(head.size()), col);
    outstr("\n");
  }
}

void prnfils() {
  numsrc = numlbt = numfdb = spcfdb = 0;
  size_t longest = 0;
  for (int n = 1; n <= filnam.filnamcnt; ++n) {
    if (getfilext(n) != ".lbt") longest = std::max(longest, getfname(n).size());
  }
  std::string prevdir;
  int groups = 0;
  int32_t col = 0;
  for (int n = 1; n <= filnam.filnamcnt; ++n) {
    const filnament* e = getfilent(n);
    if (!e) continue;
    // The same exact extensions that the analysis skips (skip_file).
    std::string ext = getfilext(n);
    if (ext == ".lbt") {
      ++numlbt;
      continue;
    }
    if (ext == ".fdb") {
      ++numfdb;
      if (std::string(e->name).size() > filnam_max) {
        tarvoerr("F-SWTVAL", std::string("\nfile database name longer than 100 characters: ") +
                                 e->name);
      }
      fdbfilnam = e->name;
      if (numsrc == 0) {
        numsrc = 1;
        spcfdb = 1;
        return;
      }
    }
    std::string dir(e->name, e->dirlen);
    if (dir != prevdir || groups == 0) {
      if (dir != prevdir) {
        outstr("\n");
        if (groups > 0) outstr("\n");
        if (!dir.empty()) {
          outstr("Directory " + dir + "\n");
          outstr("\n");
        }
        col = 0;
      }
      prevdir = dir;
      ++groups;
    }
    std::string name = getfname(n);
    name.resize(longest + 2, ' ');
    if (col > 0 && col + static_cast<int32_t>(name.size()) > outwid) {
      outstr("\n");
      col = 0;
    }
    outstr(name);
    col += static_cast<int32_t>(name.size());
    ++numsrc;
  }
  if (numsrc == 0) {
    outstr("\n");
    outstr("<no source files specified>\n");
  }
  outstr("\n");
}

int readcmmd(swtval*& sw, int argc, char** argv, tlink* srclist) {
  clear_slots();
  sw = slots.data();
  switchtbl = sw;
  // 1. Configuration files, then the command line.
  if (!configfile(sw, srclist, nullptr, 0, 0)) return 1;
  if (!cmmdparse(sw, argc > 1 ? argc - 1 : 0, argv + 1, srclist, nullptr, LV_COMMAND)) return 1;

  // 2. The standard output redirected.
  if (const swvalue* v = firstvalue(SL_STDOUT)) {
    std::fflush(stdout);
    if (!std::freopen(v->text.c_str(), "w", stdout)) {
      std::fputs("Error: Invalid -o setting\n", stderr);
      std::exit(fatal_exit_status);
    }
  }
  // 3. Help.
  if (argc <= 1 || ison(SL_HELP)) {
    printhelp();
    return 2;
  }
  // 4. Internal words.
  if (dointernal() == 2) return 2;
  // 5. Target dialect.
  if (const swvalue* v = firstvalue(SL_SYSTEM)) {
    int32_t mask = cmcode(v->text);
    if (mask == 0) {
      badswtval(SL_SYSTEM, *v,
                "Valid Fortran dialects are ANSI77, ANSI90, CRAY, DECNT, DECUNIX, DECVMS, EPC, \n"
                "                           HPUX, LAHEY, NCUBE, OS32, SGI, SUN and VAXULTRIX.");
    }
    compiler = static_cast<uint32_t>(mask);
    if (mask & 128) Sizemode = 4;
    else if (mask & 8) Sizemode = 2;
    else if (mask & 256) Sizemode = 16;
    else if (mask & 65536) Sizemode = 32;
    else if (mask & 131072) Sizemode = 64;
    else Sizemode = 8;
  }
  // 6. Portability dialects.
  port_dialect = 2048;
  if (ison(SL_PORT)) {
    for (const swvalue& v : slots[SL_PORT].values) {
      int32_t mask = cmcode(v.text);
      if (mask == 0) {
        badswtval(SL_PORT, v,
                  "Valid Fortran versions are ANSI77, ANSI90, CRAY, DECNT, DECUNIX, DECVMS, EPC,\n"
                  "                           HPUX, LAHEY, NCUBE, OS32, SGI, SUN and VAXULTRIX.");
      }
      port_dialect |= mask;
    }
  }
  // 7. Language.
  if (ison(SL_F90)) Language = 2;
  else if (ison(SL_F77)) Language = 1;
  else Language = 2;
  if (const swvalue* v = firstvalue(SL_LANG)) {
    std::string l = lower(v->text);
    if (l == "f77") Language = 1;
    else if (l == "f90") Language = 2;
    else badswtval(SL_LANG, *v, "Valid languages are:  F77, F90");
  }
  // 8. The dialect list: the target, then each portability dialect bit. The
  // ANSI switch and the HPF bit join port_dialect and compiler later (18).
  dias.assign(1, static_cast<int32_t>(compiler));
  for (int bit = 0; bit < 31; ++bit) {
    int32_t b = static_cast<int32_t>(1u << bit);
    if ((port_dialect & b) && b != 2048 && b != static_cast<int32_t>(compiler)) dias.push_back(b);
  }
  ndias = static_cast<int32_t>(dias.size());
  // 9. Sizes and message options.
  cmmdintsiz = cmmdlogsiz = ison(SL_NOI4) ? 2 : 4;
  impopt = ison(SL_IMPLICIT);
  wrnopt = ison(SL_WARNINGS);
  fyiopt = ison(SL_FYI);
  usgopt = ison(SL_USAGE);
  gloopt = ison(SL_GLOBAL);
  if (const swvalue* v = firstvalue(SL_LIBRARY)) {
    if (v->text.size() > filnam_max) {
      badswtval(SL_LIBRARY, *v, "A library table name has at most 100 characters.");
    }
    libopt = 1;
    lbtfilnam = v->text;
  } else {
    libopt = 0;
  }
  if (const swvalue* v = firstvalue(SL_DATABASE)) {
    if (v->text.size() > filnam_max) {
      badswtval(SL_DATABASE, *v, "A file database name has at most 100 characters.");
    }
    fdbopt = 1;
    fdbfilnam = v->text;
  } else {
    fdbopt = 0;
  }
  statopt = ison(SL_STAT);
  listit = ison(SL_LISTING);
  incopt = ison(SL_INCLUDE);
  cmmdextopt = ison(SL_EXTEND);
  cmmddlinopt = ison(SL_DLINES);
  sumopt = ison(SL_SUMMARY);
  // 10. Source form.
  flopt_srcform = 0;
  if (const swvalue* v = firstvalue(SL_FORM)) {
    std::string f = lower(v->text);
    if (f == "free") {
      flopt_srcform = 1;
      cmmdextopt = 1;
    } else if (f == "fixed") {
      flopt_srcform = 2;
    } else {
      badswtval(SL_FORM, *v, "Valid source forms are:  free, fixed");
    }
  }
  // 11. The library option excludes the global checks.
  if (libopt) gloopt = 0;
  // 12. Page width.
  int32_t width = -1;
  if (const swvalue* v = firstvalue(SL_WIDTH)) {
    if (!decnum(v->text, width) || width < 40 || width > 499) {
      badswtval(SL_WIDTH, *v, "Try a page width between 40 and 499.");
    }
  }
  // 13. Suppressed and re-enabled messages.
  if (ison(SL_SUPPRESS)) {
    for (const swvalue& v : slots[SL_SUPPRESS].values) {
      std::string t = v.text;
      int mark = 1;
      if (!t.empty() && t[0] == '+') {
        mark = 2;
        t.erase(0, 1);
      }
      if (lower(t) == "all") {
        supperr(0, mark);
        continue;
      }
      int32_t n = 0;
      if (!decnum(t, n) || n == 0 || n > maxerrmsg) {
        badswtval(SL_SUPPRESS, v, "Error message number out of range");
      }
      supperr(n, mark);
    }
  }
  // 14. CADRE and MISC words.
  docadre();
  flio.ensemble = do_ensemble_system || do_ensemble_function;
  rpt.ensemble_ff = flio.ensemble;
  if (domiscargs()) return 1;
  // 15. The preprocessor command.
  docppargs();
  // 16.
  if (fdbopt) gloopt = 1;
  xrsave = 0;
  // 17. Lines per page.
  int32_t lpp = -1;
  if (const swvalue* v = firstvalue(SL_LPP)) {
    if (!decnum(v->text, lpp) || (lpp >= 1 && lpp <= 9)) {
      badswtval(SL_LPP, *v,
                "Number of lines per page must be 0 (non-paginated) or greater than 9.");
    }
  }
  // 18. Language consequences.
  exten = ".FOR";
  if (Language == 1) {
    flopt_srcform = 2;
    if (ison(SL_ANSI)) port_dialect |= 1;
    flopt_hpf = 0;
  } else {
    if (ison(SL_ANSI)) port_dialect |= 4096;
    if (flopt_hpf) compiler |= 32768;
  }
  // 19.
  outstr("\n");
  // 20. The report unit.
  std::string base;
  int unit = 0;
  if (const swvalue* v = firstvalue(SL_SPLIT)) {
    base = v->text;
    unit = openoutput(base + ".lnt");
  } else if (const swvalue* o = firstvalue(SL_OUTPUT)) {
    unit = openoutput(with_lnt(o->text));
  } else if (sumopt) {
    unit = openoutput("tarvo.lnt");
  } else {
    unit = rpt.outputunit;
    if (lpp < 0) lpp = 0;
    if (width < 0) width = 79;
  }
  // 21. Page geometry.
  if (lpp < 0) lpp = 60;
  if (width < 0) width = 79;
  outwid = width;
  nlpp = lpp;
  topmark = nlpp ? nlpp - 2 : 100;
  // 22. Statistics and cross-reference units: the report itself, or, with
  // a base name, the files base.stt and base.xrf beside it (left empty).
  statunit = statopt ? unit : 0;
  xrfunit = xrfopt ? unit : 0;
  if (!base.empty()) {
    statunit = openoutput(base + ".stt");
    xrfunit = openoutput(base + ".xrf");
  }
  // 23. The first page.
  setoutputunit(unit);
  if (base.empty()) setholdout(0);
  printfirstpage();
  setpgheader("(source analysis)");
  outstr("\n");
  outstr(">>> Source analysis:\n");
  outstr("\n");
  // 24. The default library table joins the sources for the global checks.
  const char* deflib = nullptr;
  if (compiler & 18216u) deflib = "unixlib.lbt";
  else if (compiler & 16u) deflib = "vmslib.lbt";
  else if (compiler & 131072u) deflib = "unixlib.lbt";
  if (gloopt && deflib) {
    std::string path;
    findfile(deflib, 0, path);
    int lu = txtopn(path.c_str(), 0, nullptr);
    if (lu) {
      iclose(lu);
      addsource(srclist, path);
    }
  }
  // 25. The source list.
  srcfile(srclist);
  file_storage = nullptr;   // srcfile destroyed the pool with the list
  prnfils();
  return 0;
}
