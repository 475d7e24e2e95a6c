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

// The rows of match_words by first letter, shortest first (table order
// among words of one length), so that a statement tries only the words that
// can start it and the first word that matches is the answer.
constexpr int max_words_per_letter = 16;
struct first_letter_index {
  uint8_t count[26];
  uint8_t rows[26][max_words_per_letter];
  uint8_t lengths[26][max_words_per_letter];  // letters of each row's word
};

constexpr size_t word_length(const char* w) {
  size_t n = 0;
  while (w[n] != '\0') ++n;
  return n;
}

constexpr size_t longest_word() {
  size_t n = 0;
  for (const keyword_row& row : match_words)
    if (word_length(row.text) > n) n = word_length(row.text);
  return n;
}
constexpr size_t max_word_length = longest_word();

constexpr first_letter_index make_first_letter_index() {
  first_letter_index index{};
  for (size_t k = 0; k < std::size(match_words); ++k) {
    int letter = match_words[k].text[0] - 'A';
    if (letter < 0 || letter >= 26) throw "a match word starts with a letter";
    if (index.count[letter] == max_words_per_letter) throw "max_words_per_letter is too small";
    // Insertion after every word not longer than this one keeps table order
    // within a length.
    int at = index.count[letter]++;
    size_t n = word_length(match_words[k].text);
    while (at > 0 && word_length(match_words[index.rows[letter][at - 1]].text) > n) {
      index.rows[letter][at] = index.rows[letter][at - 1];
      --at;
    }
    index.rows[letter][at] = static_cast<uint8_t>(k);
  }
  for (int letter = 0; letter < 26; ++letter)
    for (int k = 0; k < index.count[letter]; ++k)
      index.lengths[letter][k] = static_cast<uint8_t>(word_length(match_words[index.rows[letter][k]].text));
  return index;
}
constexpr first_letter_index words_by_letter = make_first_letter_index();

}  // namespace

size_t keyword_match_text(const char* text, int* code) {
  // The letters of the text with blanks and tabs dropped, upper case, up to
  // the first character that is not a letter (no word goes past it) or as
  // far as the longest word reaches; after[i] is the number of characters of
  // text consumed through letter i.
  char letters[max_word_length];
  size_t after[max_word_length];
  size_t count = 0;
  for (size_t i = 0; count < max_word_length; ++i) {
    char c = text[i];
    if (c == ' ' || c == '\t') continue;
    c = upper(c);
    if (c < 'A' || c > 'Z') break;
    letters[count] = c;
    after[count++] = i + 1;
  }
  *code = 0;
  if (count == 0) return 0;
  int letter = letters[0] - 'A';
  for (int k = 0; k < words_by_letter.count[letter]; ++k) {
    size_t n = words_by_letter.lengths[letter][k];
    if (n > count) break;  // the rest are longer still
    const char* word = match_words[words_by_letter.rows[letter][k]].text;
    size_t j = 1;
    while (j < n && letters[j] == word[j]) ++j;
    if (j < n) continue;
    *code = match_words[words_by_letter.rows[letter][k]].token;
    return after[n - 1];
  }
  return 0;
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
