// Comment directives of the target dialects ("$" in column 1): include
// files, margins, default sizes, D lines and the HP conditional compilation
// that decides which following lines the reader drops. Also the INCLUDE
// statement, which shares the search for include files.
#pragma once

#include <cstdint>
#include <string>

// Conditional-compilation levels kept (deeper levels are counted only).
constexpr int32_t CC_LEVELS = 20;

// Runs the directive of a "$" line; text is the part behind the "$".
void directive(const std::string& line, const char* text);
// Hollerith concatenation of the Concurrent dialect ("HOLL" 1, "NHOLL" 0):
// character constants passed as arguments are taken as Hollerith data.
extern int32_t concholl;
void hpinit();
void hpfree();
int32_t hp_level();  // open conditional levels
// hptoken codes.
enum HpToken : int32_t {
  HT_END = -1, HT_LPAR = -2, HT_RPAR = -3, HT_COMMA = -4, HT_EQ = -5,
  HT_NOT = -6, HT_AND = -7, HT_OR = -8, HT_TRUE = -9, HT_FALSE = -10
};
int32_t hptoken(const char*& p);
void hpset(const char* text);
void hpif(const char* text);
void hpelse();
void hpendif();
// True when the HP name is defined .TRUE. (newest definition wins).
bool hp_value(const std::string& name);

// Opens an include file along the search order: the directory of the
// including file, the PATH directories, the working directory (and, for
// the INCLUDE statement, "/usr/include"). Returns null when none opens.
FILE* open_include(const std::string& name, bool usr_include, std::string& found);
// Reports a file that cannot be included: message 1, and the coded
// message once per run for each name.
void include_failed(const std::string& name);
// INCLUDE statement (code 42; 17 and 94 are the dictionary and database forms).
void shinclud(int32_t code);
