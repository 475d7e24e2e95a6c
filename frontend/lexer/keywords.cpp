// Keyword spelling tables of the predefined names and the fixed-form keyword
// recognizer keyword_match.
#include "frontend/lexer/keywords.h"

#include <cstdint>
#include <iterator>

#include <cstring>

#include "frontend/lexer/scanner.h"

const keyword_row statement_keyword_rows[] = {
#define KEYWORD(text, token) {text, token},
#include "frontend/lexer/statement_keywords.def"
};
static_assert(std::size(statement_keyword_rows) ==
              last_statement_keyword - first_statement_keyword + 1);

const keyword_row specifier_keyword_rows[] = {
#define KEYWORD(text, token) {text, token},
#include "frontend/lexer/specifier_keywords.def"
};
static_assert(std::size(specifier_keyword_rows) ==
              last_specifier_keyword - first_specifier_keyword + 1);

const keyword_row operator_spelling_rows[] = {
#define KEYWORD(text, token) {text, token},
#include "frontend/lexer/operator_spellings.def"
};
static_assert(std::size(operator_spelling_rows) == 26);

static const char* const token_forms[] = {
#define TOKEN(code, name, text) text,
#include "frontend/model/tokens.def"
};
static_assert(std::size(token_forms) == token_code_count);

const char* token_written_form(int code) {
  if (code < 0 || code >= token_code_count) return "invalid token";
  return token_forms[code];
}

const char* operator_atom_spelling(int code) {
  // The first 18 operator rows are the symbolic forms of codes 22-39.
  if (code < tok_power || code > tok_equals) return nullptr;
  return operator_spelling_rows[code - tok_power].text;
}

namespace {

constexpr keyword_row match_words[] = {
#define MATCH_WORD(text, token) {text, token},
#include "frontend/lexer/keyword_match_words.def"
};
static_assert(std::size(match_words) == 78);

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// The rows of match_words by first letter, in table order, so that a
// statement tries only the words that can start it.
constexpr int max_words_per_letter = 16;
struct first_letter_index {
  uint8_t count[26];
  uint8_t rows[26][max_words_per_letter];
};

constexpr first_letter_index make_first_letter_index() {
  first_letter_index index{};
  for (size_t k = 0; k < std::size(match_words); ++k) {
    int letter = match_words[k].text[0] - 'A';
    if (letter < 0 || letter >= 26) throw "a match word starts with a letter";
    if (index.count[letter] == max_words_per_letter) throw "max_words_per_letter is too small";
    index.rows[letter][index.count[letter]++] = static_cast<uint8_t>(k);
  }
  return index;
}
constexpr first_letter_index words_by_letter = make_first_letter_index();

// The characters a word must match at text, skipping blanks and tabs; returns
// the number of characters of text consumed through the last matched letter.
size_t match_one(const char* text, const char* word) {
  size_t i = 0;
  for (const char* w = word; *w != '\0'; ++w) {
    while (text[i] == ' ' || text[i] == '\t') ++i;
    if (upper(text[i]) != *w) return 0;
    ++i;
  }
  return i;
}

}  // namespace

size_t keyword_match_text(const char* text, int* code) {
  // The decision tree stops at the first keyword completed on its path, which
  // is the shortest word of the table that the text begins with.
  size_t best = 0;
  size_t best_letters = 0;
  *code = 0;
  size_t lead = 0;
  while (text[lead] == ' ' || text[lead] == '\t') ++lead;
  char first = upper(text[lead]);
  if (first < 'A' || first > 'Z') return 0;
  int letter = first - 'A';
  for (int k = 0; k < words_by_letter.count[letter]; ++k) {
    const keyword_row& row = match_words[words_by_letter.rows[letter][k]];
    size_t n = match_one(text, row.text);
    if (n == 0) continue;
    size_t letters = std::strlen(row.text);
    if (best == 0 || letters < best_letters) {
      best = n;
      best_letters = letters;
      *code = row.token;
    }
  }
  return best;
}

int keyword_match() {
  int code = 0;
  size_t n = keyword_match_text(scan.scan_ptr, &code);
  if (n == 0) return 0;
  std::memcpy(token_text, scan.scan_ptr, n);
  token_text[n] = '\0';
  scan.token_length = static_cast<uint32_t>(n);
  scan.scan_ptr += n;
  return code;
}
