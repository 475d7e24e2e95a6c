// String and number helpers of the checker: bounded copies and
// concatenations, comparisons, number text in several bases, the name hash of
// the symbol tables (hashy) and the 8 + 3 name shortening (crunchnam).
// Texts that a helper builds are returned as std::string.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Bounded copies (n counts the terminating NUL where it says "buffer").
void strzcpy(char* to, const char* from, int n);          // at most n-1 chars + NUL
void strzmcpy(char* to, const char* from, int m, int n);  // also at most m chars
void strmcpy(char* to, const char* from, int m);          // at most m chars + NUL
void strzcat(char* to, const char* from, int n);          // whole text within n
void strzmcat(char* to, const char* from, int m, int n);  // at most m appended
void strmcat(char* to, const char* from, int m);          // appends at most m
void strfcat(char* to, const char* from, int m);          // exactly m, blank-padded

int strcmpmn(const char* a, const char* b, int m);   // first m chars
int strcmpmni(const char* a, const char* b, int m);  // the same, case-blind
int strcmpii(const char* a, const char* b);          // whole, case-blind
int strbgw(const char* text, const char* prefix);    // nonzero: begins with
int strwldcmp(const char* pattern, const char* text);  // 0 on a match (* ?)
int fffcmp(const char* a, const char* b, int la, int lb);  // blank-padded, 0 equal
int fstrlen(const char* text, int n);     // length without trailing blanks
void uppercase(char* text);
void x_strlower(char* text);
void makelower(char* to, const char* from);
std::string x_phstrip(const char* text);  // word after the first ":"

// Numbers.
std::string fitoa(uint32_t value, int width);  // right-aligned; "*"s when too wide
void numcpy(char* to, int32_t value);          // decimal text without blanks
std::string uitoa(uint32_t value);
std::string sitoa(int32_t value);
void numzcat(char* buf, int32_t value, int n); // append within a buffer of n
int declen(const char* text);                  // leading decimal digits
int numlen(int32_t value);                     // digits of a value >= 0 (>= 1)
std::string alphalen(int32_t n);               // 0 "A" .. 25 "Z", 26 "BA" ...
// Text to number: status 1 when all n characters were consumed. decatoi and
// octatoi stop before a digit that would take the value past 2,147,483,648.
int decatoi(const char* text, int n, uint32_t* result);
int octatoi(const char* text, int n, uint32_t* result);
int hexatoi(const char* text, int n, int32_t* result);
struct IntexpResult {
  int32_t value;
  bool overflow;
};
IntexpResult intexp(int32_t base, int32_t exponent);

// Bucket (0..1023) of a name: its first 8 characters (fewer at length or NUL),
// bytes taken as signed 8-bit values. Stored in library tables: never change.
int hashy(const char* name, int length);
// The name shortened to 8 + 3 characters; the name itself is upper-cased.
std::string crunchnam(char* name);
std::string crunchnam(std::string_view name);

// Bit k of a bitmap: op > 0 sets, 0 clears, < 0 tests; k >= size refused (-1).
int EditBitmap(unsigned char* bitmap, int bit, int op, int size);

// Numbered list of INCLUDE file names (from 1, in order of first appearance).
int save_include_name(const char* name);
const char* get_include_name(int number);   // 0 or unknown: null
void include_names_reset();
