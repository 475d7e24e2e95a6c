// tarvo's numbered messages: reading the message file "tarvo.err" into the
// catalogue, deciding from type letters, options and SUPPRESS marks whether
// a message is reported, and printing its context and number.
#include "checker/base/errmsg.h"

#include <cctype>
#include "checker/base/cmmdline.h"
#include "checker/base/out.h"
#include "checker/common/error.h"
#include "checker/common/flio.h"
#include "checker/common/qmalloc.h"

ErrCatalogue ecat;

namespace {

int32_t no_errcol() { return 0; }
std::string no_context(int32_t) { return std::string(); }
bool yes() { return true; }
bool no() { return false; }

qlist* errtxt_pool = nullptr;   // pool "errtxt" of the message texts

}  // namespace

ErrmsgHooks errhooks = {no_errcol, no_context, yes, no, no};

void errmsg_reset() {
  ecat = ErrCatalogue{};
  for (auto& t : ecat.errtyp) t.l1 = '@';
  errtxt_pool = nullptr;
  errhooks = ErrmsgHooks{no_errcol, no_context, yes, no, no};
}

int32_t errfileline(const std::string& line) {
  if (!line.empty() && line[0] == 'I') return 0;   // issue list: not kept
  int32_t n = 0;
  for (size_t i = 0; i < 3 && i < line.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(line[i]))) n = n * 10 + (line[i] - '0');
  }
  if (n < 1 || n > maxerrmsg) return 0;
  errtype& t = ecat.errtyp[n];
  if (t.l1 != '@') {
    errf("F-ERRFILMSG", "error file message %s %s", std::to_string(n), " duplicated");
  }
  if (line.size() < 8) return 0;  // number, type letters and a text of one character at least
  t.l1 = line[4];
  t.l2 = line[5];
  if (!errtxt_pool) errtxt_pool = qcreate(0, "errtxt");
  ecat.errtbl[n] = qstore(errtxt_pool, std::string_view(line).substr(7));
  // Internal overflow and input/output failures cannot be suppressed.
  if ((t.l1 == 'O' && t.l2 == 'O') || (t.l1 == 'Z' && t.l2 == 'E')) t.mark = 0;
  return n;
}

int initerr() {
  if (!errtxt_pool) errtxt_pool = qcreate(0, "errtxt");
  std::string path;
  findfile("tarvo.err", 0, path);
  int unit = txtopn(path.c_str(), 0, nullptr);
  if (unit == 0) {
    errf("@F-TXTOPN", "\ncan't open %s as input", path);
    return 0;
  }
  for (int32_t n = 1; n <= maxerrmsg; ++n) {
    ecat.errtyp[n].l1 = '@';
    ecat.errtyp[n].l2 = ' ';
    ecat.errtbl[n] = nullptr;
    ecat.errcnt[n] = 0;
  }
  initissue();
  std::string buf(errline_max + 1, '\0');
  for (;;) {
    int got = iread(unit, buf.data(), static_cast<int>(buf.size()));
    if (got <= 0) break;
    errfileline(std::string(buf.c_str()));
  }
  iclose(unit);
  ecat.loaded = true;
  return 1;
}

int errtoberep(int32_t n) {
  if (n < 1 || n > maxerrmsg) return 0;
  const errtype& t = ecat.errtyp[n];
  if (t.mark == 1) return 0;
  if (errhooks.held_off && errhooks.held_off()) return 0;
  if (t.l1 == 'U' && !usgopt) return 0;
  if (t.l1 == 'I' && !gloopt) return 0;
  switch (t.l2) {
    case 'W': return wrnopt ? 1 : 0;
    case 'F': return fyiopt ? 1 : 0;
    case 'M': return impopt ? 1 : 0;
    default: return 1;
  }
}

namespace {

// True when message n is printed if raised now.
bool due_now(int32_t n) {
  if (n < 1 || n > maxerrmsg) return false;
  if (!errtoberep(n)) return false;
  if (errhooks.local_pass && !errhooks.local_pass()) return false;
  if (errhooks.abandoned && errhooks.abandoned()) return false;
  return true;
}

bool has_context(int32_t col) { return col != 0 && col != -30001 && col != -30002; }

std::string context_of(int32_t col) {
  return has_context(col) && errhooks.context ? errhooks.context(col) : std::string();
}

// A blank line, then for a message with a position its source lines with
// the marker and its place (context), kept off the last lines of a page.
void write_place(int32_t col, const std::string& context) {
  outstr("\n");
  if (!has_context(col)) return;
  out_break_page_within(3);
  outstr(context);
}

// The printed message: its place, "Error #" and the number.
void print_message(int32_t n, int32_t col, const std::string& context) {
  write_place(col, context);
  outstr("Error #");
  outnum(n);
  outstr("\n");
  ++ecat.errcnt[n];
}

}  // namespace

int errmsg(int32_t n, const char* inserts) {
  (void)inserts;  // the inserts stay in the insert record; not printed
  if (!due_now(n)) return 0;
  int32_t col = errhooks.errcol ? errhooks.errcol() : 0;
  print_message(n, col, context_of(col));
  return 1;
}

int32_t errmsg_hold(int32_t n) {
  if (!due_now(n)) return 0;
  int32_t col = errhooks.errcol ? errhooks.errcol() : 0;
  std::string context = context_of(col);
  return out_hold([n, col, context] { print_message(n, col, context); });
}

void errmsg_settle(int32_t slot, bool print) {
  if (slot > 0) out_settle(slot, print);
}

int supperr(int32_t n, int mark) {
  if (n == 0) {
    for (int32_t k = 1; k <= maxerrmsg; ++k) ecat.errtyp[k].mark = static_cast<uint8_t>(mark);
    return 1;
  }
  if (n < 1 || n > maxerrmsg) return 0;
  ecat.errtyp[n].mark = static_cast<uint8_t>(mark);
  return 1;
}

void perrlin(int32_t col) { write_place(col, context_of(col)); }

void initissue() {}
