// The pass state of a tarvo run.
#include "checker/base/passes.h"

AnalysisState an{0, 1, 0, 0, 0, 0, 0, std::string(), std::string()};
