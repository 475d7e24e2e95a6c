// The pass state of a tarvo run: which pass the analysis is in and which
// source file it reads. The passes themselves are run by the analysis
// driver (checker/analyze.h).
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
