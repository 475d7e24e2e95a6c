// tarvo's main program: sets up the report, the date, the target defaults and
// the pools, reads the switches, the message file and the library tables,
// runs the analysis and ends the process with the run's status.
#include "checker/tarvo.h"

#include <cstdio>
#include "checker/base/cmmdline.h"
#include "checker/base/errmsg.h"
#include "checker/base/out.h"
#include "checker/runstat.h"
#include "checker/base/sysdep.h"
#include "checker/common/filnam.h"
#include "checker/common/flio.h"
#include "checker/common/glo.h"
#include "checker/common/qmalloc.h"
#include "checker/common/symtable.h"
#include "checker/common/tlink.h"
#include "checker/analyze.h"
#include "checker/semantics/workfiles.h"

int fu_stdout = 0;
int32_t return_code = 0;

int32_t statmsg[SG_COUNT];

void initstat() {
  for (int32_t& s : statmsg) s = 0;
  if (!usgopt) statmsg[SG_USAGE] = -1;
  if (!gloopt) statmsg[SG_GLOBAL] = -1;
  if (port_dialect == 2048) statmsg[SG_PORT] = -1;
  if (!wrnopt) statmsg[SG_WARN] = -1;
  if (!fyiopt) statmsg[SG_FYI] = -1;
  if (!impopt) statmsg[SG_IMPLICIT] = -1;
}

void summaryout() {}
void prnstat() {}

void doanalysis() {
  progress(1, 0);
  analyzesources();
  progress(4, 0);
}

int exitstatus(int32_t code, int32_t shellexit) {
  if (shellexit && (code == 1 || code == 2)) return 0;
  return code;
}

int tarvo_main(int argc, char** argv) {
  // Start-up.
  inittimer();
  sizemem();
  fu_stdout = txtopnstdout();
  setoutputunit(fu_stdout);
  setholdout(0);
  outwid = 79;
  nlpp = 0;
  getcurdate(isdate, istime);
  setholdout(0);
  compiler = 8;
  Language = 2;
  Sizemode = 2;
  file_storage = qcreate(0, "file");
  perm_storage = qcreate(0, "perm");
  local_storage = qcreate(0, "local");
  module_storage = qcreate(0, "module");
  record_storage = qcreate(0, "record");

  tlink* srclist = maketlink(file_storage);
  swtval* sw = nullptr;
  int r = readcmmd(sw, argc, argv, srclist);
  if (r == 1) return 4;
  if (r == 2) return 0;
  showmem();

  // No cross reference, no file database, no global pass from the switches.
  xrfopt = 0;
  gloopt = 0;
  fdbopt = 0;
  filnam.fdbopt = false;
  if (numsrc == 0 && !libopt) return 4;

  // The global symbol store serves a file database that comes first among
  // the sources and the library tables, which are read into it and saved
  // from it.
  bool symtopen = false;
  if (xrsave || spcfdb || libopt) {
    opensymt();
    symtopen = true;
    for (int32_t& h : hashtbl) h = 0;
  }
  symt.symcnt = 0;
  if (initerr()) {
    initstat();
    if (libopt) getlib();
    doanalysis();
    // Shutdown.
    if (module_storage) qdestroy(module_storage);
    module_storage = nullptr;
    an.curfil = 0;
    if (sumopt) summaryout();
    if (record_storage) qdestroy(record_storage);
    record_storage = nullptr;
    if (statopt) prnstat();
  }
  workfiles_close();
  if (symtopen) closesymt();
  std::fflush(stdout);
  return exitstatus(return_code, flopt_shellexit);
}
