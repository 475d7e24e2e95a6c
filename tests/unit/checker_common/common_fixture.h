// A clean state of the checker's common services for every test, with the
// report captured in a string and no terminal on either standard stream.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "checker/common/dtype.h"
#include "checker/common/error.h"
#include "checker/common/filnam.h"
#include "checker/common/flio.h"
#include "checker/common/qmalloc.h"
#include "checker/common/symtable.h"

inline std::string& captured_report() {
  static std::string text;
  return text;
}
inline void capture_report(std::string_view text) { captured_report() += text; }
inline int no_terminal(int) { return 0; }

class CommonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    closesymt();
    flio_reset();
    qmalloc_reset();
    filnam_reset();
    dtype_reset();
    errstate = ErrState{nullptr, false, no_terminal};
    report_hook = capture_report;
    captured_report().clear();
    char tmpl[] = "/tmp/ckcommon_testXXXXXX";
    dir_ = ::mkdtemp(tmpl);
  }
  void TearDown() override {
    closesymt();
    flio_reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  // A file in the test's own directory.
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  void write_file(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string read_file(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::string dir_;
};
