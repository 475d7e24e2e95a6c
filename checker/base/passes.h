// The analysis of a tarvo run: the passes over the source files and, per
// file, the loop over its program units (statement reader, dispatch, end of
// unit checks).
#pragma once

#include <cstdint>
#include <string>

// Pass state of the analysis.
struct AnalysisState {
  int32_t pass;         // 0, 1 or 2
  int32_t lpass;        // 1 in the local pass (messages are printed)
  int32_t MakingDep;    // 1 during the dependency pass
  int32_t mkdep_opt;    // the dependency pass is wanted
  int32_t curfil;       // number of the file being read (from 1)
  int32_t eofile;       // the current file is exhausted
  int32_t pass1lines;   // lines read in pass 1 (progress divisor)
  std::string dirn;     // directory part of the current file's name
  std::string savedirn; // working directory at the start of the analysis
};
extern AnalysisState an;

// Prepares the reader for a run: option values from the switches, the
// message hooks that tell errmsg where the current statement stands, and
// the keyword index.
void reader_begin_run();

// Runs every pass of the analysis over the source files of the run.
void analyzesources();

// Reads every program unit of the file that srcbeg opened, in the pass that
// an is set to.
void analyze_open_file();

// Progress display of the parse: kind 1 starts it, 2 shows the percentage,
// 4 ends it.
void progress(int32_t kind, int32_t percent);
