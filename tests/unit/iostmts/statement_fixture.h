// Executable statements run through the statement handlers, line by line.
#pragma once
#include <string>
#include <vector>

#include "tests/unit/parser/parser_fixture.h"

class StatementTest : public ParserTest {
 protected:
  // Parses the lines as statements of the executable part; returns the last
  // statement of the innermost statement list afterwards.
  statement* run(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
      load_statement(line);
      loop.stmt_section = section_exec;
      classify_statement();
      stop_tokens_clear();
      dispatch_statement();
    }
    return innermost_block()->last_stmt;
  }
};
