// The services of the rest of tarvo as the reader uses them: option values
// copied from the switches, numbered and coded messages, report output and
// the table of source files.
#include "checker/base/services.h"

#include "checker/base/cmmdline.h"
#include "checker/common/error.h"
#include "checker/common/filnam.h"
#include "checker/common/qmalloc.h"
#include "checker/base/errmsg.h"
#include "checker/base/out.h"
#include "checker/base/tokens.h"
#include "checker/base/symbols.h"

ReaderOptions ropt;

void load_reader_options() {
  ropt = ReaderOptions{};
  ropt.Language = Language;
  ropt.compiler = compiler;
  ropt.form = flopt_srcform;
  ropt.extend = cmmdextopt;
  ropt.dlines = cmmddlinopt;
  ropt.listit = listit;
  ropt.incopt = incopt;
  ropt.hpf = flopt_hpf;
  ropt.intsiz = cmmdintsiz;
  ropt.logsiz = cmmdlogsiz;
  ropt.lowercase_includes = lowercase_includes;
  ropt.ignore_logicals = ignore_logicals;
  ropt.ignore_paths = ignore_paths;
  ropt.libopt = libopt;
  ropt.gloopt = gloopt;
  ropt.fdbopt = fdbopt;
  ropt.xrfopt = xrfopt;
  ropt.allthrucpp = allthrucpp;
  ropt.progress = sumopt || do_ensemble_system || do_ensemble_function;
  ropt.ntgui = flopt_ntgui;
  ropt.qmsane = qmstate.qmsane ? 1 : 0;
  ropt.includepaths = includepaths;
  ropt.misccpp = misccpp;
}

int32_t rd_errmsg(int32_t n) { return errmsg(n, ""); }

void msg_at(int32_t n, int32_t col) {
  tk.errcol = col;
  rd_errmsg(n);
}

void rd_coded(const char* code, const char* format, const std::string& arg) {
  errf(code, format, arg);
}

void rd_interr(const char* routine) { interr(routine); }

void rd_outstr(const std::string& text) { outstr(text); }

int32_t rd_linleft() { return linleft; }

int32_t rd_outwid() { return outwid; }

int32_t rd_filecount() { return filnam.filnamcnt; }

std::string rd_filename(int32_t n) {
  const filnament* e = getfilent(n);
  return e != nullptr && e->name != nullptr ? e->name : "";
}

bool rd_skipfile(int32_t n) { return skip_file(getfilent(n)) != 0; }

bool read_statement_name(int32_t* col, int32_t* len) {
  getokn();
  if (tk.toktyp != TT_NAME) {
    tk.errcol = tk.tokbeg;
    rd_errmsg(24);
    skip_statement();
    return false;
  }
  *col = tk.tokbeg;
  *len = tk.toksiz > MAX_NAME ? MAX_NAME : tk.toksiz;
  return true;
}
