// The analysis driver: the passes over the source files of a run and, in
// each file, the loop over its program units from prgbeg through the
// statements to the end-of-unit work; also the progress display.
#include "checker/analyze.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "checker/base/cmmdline.h"
#include "checker/common/error.h"
#include "checker/common/filnam.h"
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/common/qmalloc.h"
#include "checker/base/errmsg.h"
#include "checker/base/makedep.h"
#include "checker/base/out.h"
#include "checker/reader/dertype.h"
#include "checker/reader/dispatch.h"
#include "checker/reader/expr.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"
#include "checker/semantics/merge.h"
#include "checker/semantics/modtable.h"
#include "checker/base/tvxutil.h"

// Progress display state.
struct ProgressState {
  int32_t kind;     // kind of the last call (0: no display started)
  int32_t percent;  // last percentage shown
};
static ProgressState prog;

void progress(int32_t kind, int32_t percent) {
  bool wanted = sumopt || do_ensemble_system || do_ensemble_function;
  if (!wanted) return;
  if (kind == 1) {
    prog.kind = 1;
    prog.percent = 0;
    if (flopt_ntgui) {
      std::printf("Parsed: %d%%\n", 0);
    } else {
      std::printf("Parsed:   0%%");
    }
    std::fflush(stdout);
    return;
  }
  if (kind == 2) {
    if (prog.kind == 0 || percent == prog.percent) return;
    prog.percent = percent;
    if (flopt_ntgui) {
      std::printf("Parsed: %d%%\n", static_cast<int>(percent));
    } else {
      std::printf("\b\b\b\b%3d%%", static_cast<int>(percent));
    }
    std::fflush(stdout);
    return;
  }
  if (kind == 4) {
    if (prog.kind == 0) return;
    if (flopt_ntgui) {
      std::printf("\n");
    } else {
      std::printf("\b\b\b\b\b\b\b\b\b\b\b\b");
    }
    std::fflush(stdout);
    prog.kind = 0;
  }
}

// The numbered messages learn where the current statement stands.
static void install_message_hooks() {
  errhooks.errcol = []() -> int32_t { return tk.errcol; };
  errhooks.context = [](int32_t col) -> std::string { return perrlin_text(col).substr(1); };
  errhooks.local_pass = []() { return an.lpass == 1; };
  errhooks.abandoned = []() { return unit.pabort[0] != 0; };
  errhooks.held_off = []() { return Status.msgoff != 0; };
}

static std::string directory_of(const std::string& name) {
  size_t slash = name.rfind('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

static bool ends_with_upper_F(const std::string& name) {
  size_t slash = name.rfind('/');
  size_t dot = name.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash) &&
         name.compare(dot, std::string::npos, ".F") == 0;
}

// Leaves the scope levels of the units of a file and empties the pool of
// the unit's records.
static void close_levels() {
  while (Status.scope_level > 0) decrease_scoping_level();
  qflush(local_pool());
  labels_reset();
}

// After a unit's checks: a module's exports go to the module table (at its
// CONTAINS and again at its END), a module procedure joins its module's
// block; then, once per scope
// level, the unit is merged into the global symbol table.
static void end_unit_globally() {
  const locsym* host = loc_parent_scope();
  if (Status.scope_level == 1 && prgnam->sclass == SC_MODULE) {
    modtbl_copy_entities_to();
  } else if (Status.scope_level == 2 && host != nullptr && host->sclass == SC_MODULE) {
    modtbl_copy_internalproc_to(prgnam);
  }
  modtbl_reset_entity_flags();
  int32_t level = Status.scope_level;
  if (level >= 1 && level <= MAX_SCOPES && Scope[level].kind == 0 &&
      (libopt || fdbopt || xrfopt || gloopt)) {
    // The global pass gathers declarations; a local pass after it would
    // check the unit's uses against them.
    if (an.lpass == 0) {
      merge1();
    } else {
      merge2();
    }
    Scope[level].kind = 1;
  }
}

// The program units of one open file.
static void unit_loop() {
  an.eofile = 0;
  do {
    stopped_at_contains = 0;
    xrefit_pscope_init();
    prgbeg();
    dertype_reset();
    parse();
    ProcFwdTypes(1);
    bool ended = prgnam != nullptr && !unit.pabort[0];
    if (ended && stopped_at_contains) {
      // The host stays open while its contained units are read; its own
      // end-of-unit work waits for its END. A module's entities go to the
      // module table now already, so that its procedures join its block
      // as each of them ends.
      if (!an.MakingDep && Status.scope_level == 1 && prgnam->sclass == SC_MODULE)
        modtbl_copy_entities_to();
      if (an.eofile) break;
      continue;
    }
    if (ended && !an.MakingDep) {
      prgend();
      if (an.lpass == 1) locchk();
      end_unit_globally();
      checkloc("unit_loop");
    }
    if (ended && unit.parmod != 9 && Status.scope_level > 0) decrease_scoping_level();
    clearholdlen();
    if (Status.nesting == 0) close_levels();
    if (an.pass == 2) {
      int32_t base = an.pass1lines > 0 ? an.pass1lines : 1;
      int32_t p = static_cast<int32_t>((100LL * totlin) / base);
      progress(2, 30 + (7 * p) / 10);
    }
  } while (!an.eofile);
  Status.nesting = 0;
  close_levels();
}

void analyze_open_file() { unit_loop(); }

// Whether the dependency pass must read the open source file. Its text is
// looked at first: a file in which no MODULE or USE statement can stand,
// which includes nothing and has no directive lines is left unread. With
// HPF directives or the allocation trace it is always read.
static bool needs_dependency_reading(int unitno) {
  if (ropt.hpf || qmstate.qmdebug) return true;
  return mkdep_file_may_matter(myfpno(unitno));
}

// Reads one source file in the current pass.
static void read_file(int32_t k) {
  an.curfil = k;
  Status.curfile = k;
  Status.nesting = 0;
  Status.scope_level = 0;
  prgnam = nullptr;
  if (rd_skipfile(k)) return;
  init_structcomp_tbl();
  std::string name = rd_filename(k);
  an.dirn = an.savedirn.empty() ? std::string() : directory_of(name);
  if (an.pass == 1) {
    if (k >= 1 && k <= filnam.filnamcnt) filnam.table[k - 1].spare[0] = 0;
    struct stat st {};
    int32_t mtime = ::stat(name.c_str(), &st) == 0 ? static_cast<int32_t>(st.st_mtime) : 0;
    set_file_time(k, mtime);
  }
  int unitno;
  bool viacpp = false;
  if (allthrucpp || ends_with_upper_F(name)) {
    allthrucpp = 1;
    viacpp = true;
    // A source that cannot be read is reported as such, not through the
    // preprocessor's complaints about it.
    unitno = ::access(name.c_str(), R_OK) == 0 ? cppopn(name.c_str()) : 0;
  } else {
    unitno = txtopn(name.c_str(), 0, nullptr);
  }
  if (unitno == 0) {
    if (an.pass == 1) errf("@W-TXTOPN", "can't open %s as input", name);
    return;
  }
  if (an.MakingDep && !viacpp && !needs_dependency_reading(unitno)) {
    // The dependency pass learns nothing from this file: it is registered
    // in the program database as a reading would register it, and its
    // place in the order is that of a file without modules.
    CTVX_SrcOpen(name.c_str());
    iclose(unitno);
    return;
  }
  if (an.pass == 1 && listit) {
    outstr("\nFile #" + std::to_string(k) + " ---> " + name + "\n\n");
  }
  srcbeg(name.c_str(), myfpno(unitno), viacpp ? 1 : 0);
  CTVX_SrcOpen(name.c_str());
  unit_loop();
  srcend();
  rsrc.input = nullptr;
  rsrc.cur = nullptr;
  iclose(unitno);
  if (an.pass == 1) {
    int32_t n = rd_filecount() > 0 ? rd_filecount() : 1;
    int32_t p = static_cast<int32_t>((100LL * k) / n);
    progress(2, gloopt ? (3 * p) / 10 : p);
  }
}

void reader_begin_run() {
  load_reader_options();
  install_message_hooks();
  // The argument checks read actual arguments with the expression reader.
  expression_reader = getmeta;
  indexkey();
}

void analyzesources() {
  reader_begin_run();
  std::string wd;
  an.savedirn = mygetwd(wd) == 0 ? wd : std::string();
  // Fortran 77 has no modules to order.
  if (mkdep_opt && (Language == 1 || !mkdep_init())) {
    mkdep_opt = 0;
    if (mkdep_output != 0) iclose(mkdep_output);
    mkdep_output = 0;
  }
  an.mkdep_opt = mkdep_opt;
  // A ".F" file sends the files after it through the preprocessor; each
  // pass starts again from the CPP switch.
  int32_t cpp_switch = allthrucpp;
  bool global_first = false;
  for (an.pass = 0; an.pass <= 2; ++an.pass) {
    if (an.pass == 0) {
      if (Language == 1 || !an.mkdep_opt) continue;
      an.lpass = 0;
    } else if (an.pass == 1) {
      global_first = gloopt || libopt;
      an.lpass = global_first ? 0 : 1;
    } else {
      if (!global_first || libopt) break;
      an.pass1lines = totlin;
      an.lpass = 1;
    }
    an.MakingDep = an.pass == 0 ? 1 : 0;
    allthrucpp = cpp_switch;
    unit.unnamedprogs = 0;
    unit.unnamedbdatas = 0;
    totlin = 0;
    linestats = LineStats{};
    tk.stacol = 0;
    flio.pass = an.pass;
    flio.localpass = an.lpass == 1;
    modtbl_reset();
    for (int32_t k = 1; k <= rd_filecount(); ++k) {
      // After the dependency pass the files are read in module order.
      read_file(an.pass != 0 && an.mkdep_opt ? mkdep_order(k) : k);
    }
    if (an.lpass == 0) {
      qflush(local_pool());
      if (an.pass == 0) {
        if (qlist* p = qfind("module")) qflush(p);
        if (qlist* p = qfind("record")) qflush(p);
        mkdep_main();
        an.MakingDep = 0;
        continue;
      }
      if (!libopt) scanlib();
      // The unknown-argument work file of the global pass is not read back.
      doargs();
      if (libopt) {
        if (rd_filecount() > 0) {
          outstr("\n");
          savlib();
        }
        break;
      }
    } else {
      if (rd_filecount() > 0) printendstars();
      break;
    }
  }
}
