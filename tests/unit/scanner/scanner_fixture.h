// A clean compilation state for the scanner tests, and a way to put one
// statement's text into the statement buffer as if source input had read it.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/driver/driver.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/lexer/source_input.h"
#include "frontend/model/il_entries.h"
#include "frontend/model/names.h"
#include "frontend/driver/preload.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"

class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override { start(false, false); }

  // A new compilation in free or fixed form, with or without "-A".
  static void start(bool fixed_form, bool std_warnings) {
    pools_reset();
    diagnostics_reset();
    driver_options_reset();
    driver_options.fixed_form = fixed_form;
    driver_options.std_warnings = std_warnings;
    the_il_header = il_header{};
    init_il_tables();
    names.case_sensitive_identifiers = false;
    symtab_reset();
    scanner_init();
  }

  // The lines of one statement, each given from its column 1; text_start is
  // where the statement text of every line after the first begins (-1: at
  // its first non-blank, as in free form).
  static void load(std::vector<std::string> lines, int text_start = -1) {
    src.buffer_used = 0;
    src.map_count = 0;
    uint32_t seq = 1;
    for (const std::string& l : lines) {
      uint32_t at = src.buffer_used;
      uint32_t start = 0;
      if (src.map_count > 0) {
        start = text_start >= 0 ? static_cast<uint32_t>(text_start)
                                : static_cast<uint32_t>(l.find_first_not_of(' '));
      }
      src.map[src.map_count++] = line_map_record{seq++, at, at + start};
      std::memcpy(src.statement_buffer + at, l.data(), l.size());
      src.statement_buffer[at + l.size()] = '\0';
      src.buffer_used = at + static_cast<uint32_t>(l.size()) + 1;
    }
    scan.scan_ptr = src.statement_buffer;
  }

  // Every token of the loaded statement, scanned with flags, up to the end.
  static std::vector<int> tokens(uint32_t flags) {
    std::vector<int> out;
    for (int i = 0; i < 200; ++i) {
      int t = scan_token(flags);
      out.push_back(t);
      if (t == tok_eos) break;
    }
    return out;
  }

  static std::string text() { return std::string(token_text); }
  // The first n characters of the current character constant's value.
  static std::string chars(size_t n) {
    return std::string(reinterpret_cast<const char*>(const_chars(&token_constant)), n);
  }
  static int32_t int_value() { return const_int(&token_constant); }
  static double real_value(int part = 0) { return const_real(&token_constant, part); }
};
