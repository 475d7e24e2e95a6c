// BUFFER IN, BUFFER OUT and the database statements of vendor dialects.
#pragma once

#include <cstdint>

#include "checker/reader/dispatch.h"

// One clause keyword of the database statements (dbms_keywords.def).
struct DbmsKeyword {
  const char* keyword;
  const char* pattern;  // one letter per database statement
};
constexpr int32_t DBMS_KEYWORD_COUNT = 37;
constexpr int32_t DBMS_STATEMENTS = 19;
extern const DbmsKeyword dbms_keywords[];

// The row of a clause keyword, or null.
const DbmsKeyword* find_dbms_keyword(const char* word, int32_t len);

// Statement codes of these handlers.
constexpr int32_t ST_FIND = 35;
constexpr int32_t ST_BUFFERIN = 84;

int32_t shbuffer(const StmtCall& c);
int32_t shdbms(const StmtCall& c);
