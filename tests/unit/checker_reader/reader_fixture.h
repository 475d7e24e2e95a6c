// Shared set-up of the reader tests: a source text is written to a
// temporary file and read statement by statement; numbered messages are
// counted through the message catalogue's counters.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "checker/base/errmsg.h"
#include "checker/analyze.h"
#include "checker/base/directives.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/statement.h"
#include "checker/base/tokens.h"
#include "checker/semantics/locsym.h"

class ReaderTest : public ::testing::Test {
 protected:
  std::vector<std::string> files_;

  void SetUp() override {
    errmsg_reset();
    reader_begin_run();
    ropt = ReaderOptions{};
    an.lpass = 1;
    an.pass = 1;
    an.MakingDep = 0;
    locsym_reset();
    unit = UnitState{};
    unit_order_reset();
    unit.labpro = 1;
    nest_reset();
    labels_reset();
  }

  void TearDown() override {
    srcend();
    if (rsrc.input) std::fclose(rsrc.input);
    rsrc.input = nullptr;
    rsrc.cur = nullptr;
    for (const std::string& f : files_) ::unlink(f.c_str());
  }

  // Writes text to a new temporary file with the given extension.
  std::string write_file(const std::string& text, const std::string& ext) {
    char tmpl[] = "/tmp/ckreaderXXXXXX";
    int fd = ::mkstemp(tmpl);
    EXPECT_GE(fd, 0);
    ::close(fd);
    std::string name = std::string(tmpl) + ext;
    ::rename(tmpl, name.c_str());
    FILE* f = std::fopen(name.c_str(), "w");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    files_.push_back(name);
    return name;
  }

  // Starts reading the text as a source file with the given extension.
  void open_source(const std::string& text, const std::string& ext) {
    std::string name = write_file(text, ext);
    FILE* fp = std::fopen(name.c_str(), "r");
    srcbeg(name.c_str(), fp, 0);
    pp_resetSrcForm();
  }

  // The statement text of pstat (after its label) as a string; constant
  // fields are shown as <kind:text>.
  static std::string text() {
    std::string out;
    for (int32_t p = rsrc.statbeg; p < rsrc.statend;) {
      int c = pstat[p];
      if (c == 'a' || c == 'q' || c == 'h') {
        int len = (pstat[p + 1] << 8) | pstat[p + 2];
        out += "<" + std::string(1, static_cast<char>(c)) + ":" +
               std::string(reinterpret_cast<const char*>(pstat + p + CONST_HEAD),
                           static_cast<size_t>(len)) + ">";
        p += CONST_OVERHEAD + len;
        continue;
      }
      out += static_cast<char>(c);
      ++p;
    }
    return out;
  }

  static std::string label() {
    return std::string(reinterpret_cast<const char*>(pstat + rsrc.labpos_beg),
                       static_cast<size_t>(rsrc.labpos_end - rsrc.labpos_beg));
  }

  // Every statement text of the rest of the source.
  static std::vector<std::string> statements() {
    std::vector<std::string> out;
    while (nextstat() != -1) out.push_back(text());
    return out;
  }

  static int32_t count(int32_t n) { return ecat.errcnt[n]; }
};
