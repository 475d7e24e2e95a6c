// Compilations one after another in one process (as the fuzz targets run
// them): a compilation's records may take the addresses of the one before,
// and nothing of that one may be taken for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/fuzz/module_user_program.h"
#include "tests/fuzz/srcfront_in_process.h"

namespace {

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A unit that uses a module's derived type, defined operator, procedure,
// namelist and variable, compiled three times against the module's file:
// every compilation is silent, as the first is.
TEST(RepeatedCompilations, AUnitUsingAModuleIsCompiledAlikeEveryTime) {
  std::string folder = fuzz_srcfront_run::make_work_folder("repeated_compilations");
  std::string mods = folder + "/mods";
  mkdir(mods.c_str(), 0700);
  std::ofstream(mods + "/M.mod", std::ios::binary)
      << file_text(std::string(TOOLKIT_SOURCE_DIR) + "/tests/fuzz/corpus/module_file/exports.mod");
  std::ofstream(folder + "/u.f90") << module_user_program;
  for (int run = 0; run < 3; ++run) {
    testing::internal::CaptureStderr();
    fuzz_srcfront_run::run({"srcfront", "-n", "-M", mods, folder + "/u.f90"});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "compilation " << run;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
