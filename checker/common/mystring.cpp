// String and number helpers: bounded copies, comparisons, number text, the
// name hash of the symbol tables and the 8 + 3 name shortening.
#include "checker/common/mystring.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "checker/common/qmalloc.h"

namespace {

int up(int c) { return std::toupper(static_cast<unsigned char>(c)); }
int lo(int c) { return std::tolower(static_cast<unsigned char>(c)); }
int uc(char c) { return static_cast<unsigned char>(c); }

}  // namespace

void strzcpy(char* to, const char* from, int n) {
  if (n <= 0) return;
  int i = 0;
  for (; i < n - 1 && from[i] != '\0'; ++i) to[i] = from[i];
  to[i] = '\0';
}

void strzmcpy(char* to, const char* from, int m, int n) {
  if (n <= 0) return;
  int lim = m < n - 1 ? m : n - 1;
  if (lim < 0) lim = 0;
  int i = 0;
  for (; i < lim && from[i] != '\0'; ++i) to[i] = from[i];
  to[i] = '\0';
}

void strmcpy(char* to, const char* from, int m) {
  int i = 0;
  for (; i < m && from[i] != '\0'; ++i) to[i] = from[i];
  to[i] = '\0';
}

void strzcat(char* to, const char* from, int n) {
  int len = static_cast<int>(std::strlen(to));
  if (len >= n) return;
  strzcpy(to + len, from, n - len);
}

void strzmcat(char* to, const char* from, int m, int n) {
  int len = static_cast<int>(std::strlen(to));
  if (len >= n) return;
  strzmcpy(to + len, from, m, n - len);
}

void strmcat(char* to, const char* from, int m) {
  strmcpy(to + std::strlen(to), from, m);
}

void strfcat(char* to, const char* from, int m) {
  char* p = to + std::strlen(to);
  int i = 0;
  for (; i < m && from[i] != '\0'; ++i) p[i] = from[i];
  for (; i < m; ++i) p[i] = ' ';
  p[i > 0 ? i : 0] = '\0';
}

int strcmpmn(const char* a, const char* b, int m) {
  for (int i = 0; i < m; ++i) {
    if (a[i] != b[i]) return uc(a[i]) - uc(b[i]);
    if (a[i] == '\0') break;
  }
  return 0;
}

int strcmpmni(const char* a, const char* b, int m) {
  for (int i = 0; i < m; ++i) {
    int ca = up(a[i]), cb = up(b[i]);
    if (ca != cb) return ca - cb;
    if (ca == 0) break;
  }
  return 0;
}

int strcmpii(const char* a, const char* b) {
  for (size_t i = 0;; ++i) {
    int ca = up(a[i]), cb = up(b[i]);
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
}

int strbgw(const char* text, const char* prefix) {
  size_t n = std::strlen(prefix);
  return std::strncmp(text, prefix, n) == 0 ? 1 : 0;
}

int strwldcmp(const char* pattern, const char* text) {
  const char* star = nullptr;   // last "*" seen in the pattern
  const char* resume = nullptr; // text position to retry from after it
  const char* p = pattern;
  const char* t = text;
  while (*t != '\0') {
    if (*p == '*') {
      star = p++;
      resume = t;
    } else if (*p == '?' || *p == *t) {
      ++p;
      ++t;
    } else if (star != nullptr) {
      p = star + 1;
      t = ++resume;
    } else {
      return 1;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0' ? 0 : 1;
}

int fffcmp(const char* a, const char* b, int la, int lb) {
  int n = la > lb ? la : lb;
  for (int i = 0; i < n; ++i) {
    int ca = i < la ? uc(a[i]) : ' ';
    int cb = i < lb ? uc(b[i]) : ' ';
    if (ca != cb) return ca - cb;
  }
  return 0;
}

int fstrlen(const char* text, int n) {
  while (n > 0 && text[n - 1] == ' ') --n;
  return n > 0 ? n : 0;
}

void uppercase(char* text) {
  for (; *text != '\0'; ++text) *text = static_cast<char>(up(*text));
}

void x_strlower(char* text) {
  for (; *text != '\0'; ++text) *text = static_cast<char>(lo(*text));
}

void makelower(char* to, const char* from) {
  while ((*to++ = static_cast<char>(lo(*from++))) != '\0') {
  }
}

std::string x_phstrip(const char* text) {
  const char* c = std::strchr(text, ':');
  if (c == nullptr) return std::string();
  ++c;
  size_t n = std::strcspn(c, " ~");
  return std::string(c, n);
}

std::string fitoa(uint32_t value, int width) {
  if (width <= 0) return std::string();
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) > width) return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width) - digits.size(), ' ') + digits;
}

std::string uitoa(uint32_t value) { return std::to_string(value); }

std::string sitoa(int32_t value) { return std::to_string(value); }

void numcpy(char* to, int32_t value) {
  std::string s = sitoa(value);
  std::memcpy(to, s.c_str(), s.size() + 1);
}

void numzcat(char* buf, int32_t value, int n) { strzcat(buf, sitoa(value).c_str(), n); }

int declen(const char* text) {
  int n = 0;
  while (text[n] >= '0' && text[n] <= '9') ++n;
  return n;
}

int numlen(int32_t value) {
  int n = 1;
  for (uint32_t v = value < 0 ? 0 : static_cast<uint32_t>(value); v >= 10; v /= 10) ++n;
  return n;
}

std::string alphalen(int32_t n) {
  // Letters of n in base 26, the first letter taking the high part whole,
  // so that 26 is "BA" and 675 "ZZ"; larger values take more letters.
  if (n < 0) n = 0;
  std::string s;
  uint32_t v = static_cast<uint32_t>(n);
  do {
    s.insert(s.begin(), static_cast<char>('A' + v % 26));
    v /= 26;
  } while (v > 0);
  return s;
}

namespace {

// Digits of a base up to the limit 2^31; status 1 when all n were consumed.
int base_atoi(const char* text, int n, uint32_t* result, uint32_t base) {
  constexpr uint64_t limit = 2147483648u;
  uint64_t value = 0;
  int i = 0;
  for (; i < n; ++i) {
    char c = text[i];
    if (c < '0' || c > '9' || static_cast<uint32_t>(c - '0') >= base) break;
    uint64_t next = value * base + static_cast<uint32_t>(c - '0');
    if (next > limit) break;
    value = next;
  }
  *result = static_cast<uint32_t>(value);
  return i == n ? 1 : 0;
}

}  // namespace

int decatoi(const char* text, int n, uint32_t* result) { return base_atoi(text, n, result, 10); }

int octatoi(const char* text, int n, uint32_t* result) { return base_atoi(text, n, result, 8); }

int hexatoi(const char* text, int n, int32_t* result) {
  uint64_t value = 0;
  bool negative = false;
  int status = 0;
  for (int i = 0; i < n; ++i) {
    char c = text[i];
    int d;
    if (c == ' ') continue;
    if (c == '+' || c == '-') {
      negative = c == '-';
      continue;
    }
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else {
      status = 1;
      break;
    }
    uint64_t next = value * 16 + static_cast<uint64_t>(d);
    if (next > 0xFFFFFFFFu) {  // more than 32 bits: refused like a bad digit
      status = 1;
      break;
    }
    value = next;
  }
  uint32_t v = static_cast<uint32_t>(value);
  if (negative) v = 0u - v;
  *result = static_cast<int32_t>(v);
  return status;
}

IntexpResult intexp(int32_t base, int32_t exponent) {
  if (exponent < 0) {
    if (base == 0) return {0, true};
    if (base == 1) return {1, false};
    if (base == -1) return {(exponent % 2 == 0) ? 1 : -1, false};
    return {0, false};
  }
  if (base == 0) return {exponent == 0 ? 1 : 0, false};
  if (base == 1) return {1, false};
  if (base == -1) return {(exponent % 2 == 0) ? 1 : -1, false};
  // |base| >= 2: at most 31 steps before the value leaves 32 bits.
  int64_t r = 1;
  for (int32_t e = exponent; e > 0; --e) {
    r *= base;
    if (r > INT32_MAX || r < INT32_MIN) return {0, true};
  }
  return {static_cast<int32_t>(r), false};
}

int hashy(const char* name, int length) {
  int32_t h = 0;
  int n = length < 8 ? length : 8;
  for (int i = 0; i < n && name[i] != '\0'; ++i) {
    int32_t ch = static_cast<int8_t>(static_cast<unsigned char>(name[i]));
    uint32_t left = static_cast<uint32_t>(h) << 3;
    int32_t right = (h >> 7) & 7;
    h = static_cast<int32_t>(left | static_cast<uint32_t>(right)) ^ ch;
  }
  return h & 0x3FF;
}

namespace {

constexpr char crunch_alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
constexpr int crunch_size = 12;  // 8 + "." + 3

int alpha_index(char c) {
  const char* p = std::strchr(crunch_alphabet, c);
  return (c != '\0' && p != nullptr) ? static_cast<int>(p - crunch_alphabet) : -1;
}

}  // namespace

std::string crunchnam(char* name) {
  char result[crunch_size];
  std::memset(result, '_', sizeof result);
  int start = 0;  // first position of the current part
  int room = 8;   // positions of the current part
  int p = 0;      // next output position
  int end = 0;    // one past the last position written
  for (char* s = name; *s != '\0'; ++s) {
    *s = static_cast<char>(up(*s));
    char c = *s;
    if (c == '.') {
      // The dot starts an extension of 3 when the result has room for it;
      // otherwise it is dropped and further characters fold in as before.
      if (end < crunch_size - 1) {
        result[end] = '.';
        start = end + 1;
        room = crunch_size - start < 3 ? crunch_size - start : 3;
        p = start;
        end = start;
      }
      continue;
    }
    int ci = alpha_index(c);
    if (ci < 0) continue;
    int ri = alpha_index(result[p]);
    if (ri < 0) ri = 36;
    result[p] = crunch_alphabet[(ci + ri + 1) % 37];
    if (p + 1 > end) end = p + 1;
    if (p < start + room - 1) ++p;
  }
  return std::string(result, static_cast<size_t>(end));
}

std::string crunchnam(std::string_view name) {
  std::vector<char> copy(name.begin(), name.end());
  copy.push_back('\0');
  return crunchnam(copy.data());
}

int EditBitmap(unsigned char* bitmap, int bit, int op, int size) {
  if (bit < 0 || bit >= size) return -1;
  unsigned char mask = static_cast<unsigned char>(1u << (bit % 8));
  unsigned char& byte = bitmap[bit / 8];
  if (op > 0)
    byte = static_cast<unsigned char>(byte | mask);
  else if (op == 0)
    byte = static_cast<unsigned char>(byte & ~mask);
  return (byte & mask) != 0 ? 1 : 0;
}

namespace {
std::vector<const char*> include_names;  // copies in the "perm" pool
}

int save_include_name(const char* name) {
  for (size_t i = 0; i < include_names.size(); ++i)
    if (std::strcmp(include_names[i], name) == 0) return static_cast<int>(i) + 1;
  include_names.push_back(qstore(qnamed("perm"), name));
  return static_cast<int>(include_names.size());
}

const char* get_include_name(int number) {
  if (number < 1 || number > static_cast<int>(include_names.size())) return nullptr;
  return include_names[static_cast<size_t>(number) - 1];
}

void include_names_reset() { include_names.clear(); }
