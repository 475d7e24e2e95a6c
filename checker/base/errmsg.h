// tarvo's numbered messages 1..990: the message file "tarvo.err" gives each
// number two type letters (class and severity); errmsg decides from them, the
// options and the SUPPRESS marks whether a message is printed, and prints
// the source context, the place and "Error #" with the number.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t maxerrmsg = 990;
constexpr size_t errline_max = 300;   // characters read per message-file line

struct errtype {
  char l1;        // class: I O P S U Z, or '@' when the file lacks it
  char l2;        // severity: E F W M O
  uint8_t mark;   // report mark: 0 normal, 1 suppressed, 2 re-enabled
};

struct ErrCatalogue {
  errtype errtyp[maxerrmsg + 1];       // entries 1..990
  const char* errtbl[maxerrmsg + 1];   // message texts (pool "errtxt")
  int32_t errcnt[maxerrmsg + 1];       // times each was printed
  bool loaded;                         // the file was read
};
extern ErrCatalogue ecat;
void errmsg_reset();   // no file read, no marks (tests)

// Where a message stands: the parts of the checker that know the current
// statement and pass install these; the defaults describe a message with no
// source position raised in the local pass.
struct ErrmsgHooks {
  int32_t (*errcol)();                 // position of the error (0 none)
  std::string (*context)(int32_t col); // source lines, marker and place line
  bool (*local_pass)();                // lpass is 1
  bool (*abandoned)();                 // the unit's analysis was given up
  bool (*held_off)();                  // messages are held off
};
extern ErrmsgHooks errhooks;

int initerr();                         // reads tarvo.err; 1 when read
int errtoberep(int32_t n);             // nonzero: n is to be reported
int errmsg(int32_t n, const char* inserts);  // 1 when printed
// A message whose printing waits for a later decision (out_hold): its place
// and source lines are taken now; the slot number, 0 when n would not be
// printed now. errmsg_settle prints it in its place in the report or drops
// it (a slot of 0 is nothing).
int32_t errmsg_hold(int32_t n);
void errmsg_settle(int32_t slot, bool print);
int supperr(int32_t n, int mark);      // n 0: every message
void perrlin(int32_t col);
void initissue();                      // the issue list: nothing kept
// (issue itself, the portability-note hook, stands with the token reader)
// Reads one message-file line into the catalogue; the number, or 0 when the
// line records nothing. A duplicate is the fatal "F-ERRFILMSG".
int32_t errfileline(const std::string& line);
