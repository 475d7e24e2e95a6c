// Shared set-up of the specification statement tests: a whole program unit
// is read, its symbols are looked up by name, the words of a work file are
// read back, and one source text at a time is checked for a message.
#pragma once

#include <cstring>
#include <vector>

#include "checker/reader/dispatch.h"
#include "checker/semantics/workfiles.h"
#include "tests/unit/checker_reader/reader_fixture.h"

class SpecStatementTest : public ReaderTest {
 protected:
  // Reads the program unit of the open source.
  static void parse_unit() {
    prgbeg();
    parse();
  }

  // The local symbol of the name in the given class.
  static locsym* find(const char* name, int32_t cls = 0) {
    return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, cls);
  }

  // Every word written to the work file for the unit.
  static std::vector<int32_t> work_words(const WorkFile& file) { return file.words; }

  // Records in the words of the DATA work file, counted by their format
  // (the unit's end reads them back, but the file keeps them); -1 when the
  // words do not end with a whole record.
  static int32_t data_records(const std::vector<int32_t>& w) {
    size_t p = 0;
    int32_t n = 0;
    while (p + 2 <= w.size()) {
      p += 2 + 2 * static_cast<size_t>(w[p]) + 2 * static_cast<size_t>(w[p + 1]) + 1;
      ++n;
    }
    return p == w.size() ? n : -1;
  }
  // The same for the EQUIVALENCE work file.
  static int32_t eqv_records(const std::vector<int32_t>& w) {
    size_t p = 0;
    int32_t n = 0;
    while (p + 2 <= w.size()) {
      p += 2 + static_cast<size_t>(w[p + 1]) + 4;
      ++n;
    }
    return p == w.size() ? n : -1;
  }

  // Starts afresh, reads the source text as a program unit and expects the
  // numbered message once; with close_work_files the work files of the
  // previous text are closed first.
  void expect_message_once(const char* src, int32_t msg, bool close_work_files = false) {
    SetUp();
    if (close_work_files) workfiles_close();
    open_source(src, ".f90");
    parse_unit();
    EXPECT_EQ(count(msg), 1) << src;
    srcend();
  }
};
