// tarvo's report output: every report line is collected here, may be held
// back as a section heading until the section has content, and is written to
// the report unit with page headers when the report is paginated.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

constexpr char revision_text[] = "Rev 5.00.14-QEN";
constexpr char product_title[] = "Tarvo F77/90";
constexpr size_t outline_max = 500;   // characters of one output line

// Page geometry and position, shared with the rest of the checker.
extern int32_t outwid;     // page width, 40..499 (79 by default)
extern int32_t nlpp;       // lines per page, 0 = no pagination
extern int32_t linleft;    // lines left on the page; 0 = next line starts one
extern int32_t pageno;     // current page number
extern int32_t topmark;    // top-of-page mark: nlpp - 2, or 100 unpaginated
extern std::string isdate; // date of the run for the page headers
extern std::string istime; // time of the run

struct ReportState {
  int outputunit;          // file unit of the report (0 none yet)
  std::string pgheader;    // current page header
  std::string outplin;     // output line being collected
  std::string holdlin;     // held line (a section heading)
  bool hasheld;            // holdlin holds a line
  bool holdout;            // the next finished line is held
  bool ensemble_ff;        // first header begins with a form feed
};
extern ReportState rpt;
void out_reset();          // forget all report state (tests)

// Report text whose printing waits for a later decision: a slot stands in
// the report where it was opened, and whatever is written after it waits
// behind it, in order, until the slot is settled. A slot settled to print
// runs its writer in its place; one settled to drop leaves no trace.
int32_t out_hold(std::function<void()> writer);   // the slot's number (1 on)
void out_settle(int32_t slot, bool print);
void out_settle_all();     // every waiting slot printed (the run ends)
int32_t out_waiting();     // slots not settled yet

void setoutputunit(int unit);   // report unit; resets the page number
void setholdout(int mark);
void clearholdlen();            // drop the held line
// On a paginated report with no more than lines lines left on the page,
// the next line starts a new page.
void out_break_page_within(int32_t lines);
void outstr(std::string_view text);
void outstrn(const char* text, int32_t len);  // negative length: interr
void outnum(int32_t n);
void outfrnum(uint32_t n, int width);         // right-aligned number
void paginate(std::string_view line);         // one line with pagination
void outstars();                // the star line of the page width
// Text from the current position wrapped at the page width: a word that
// would pass it starts a new line indented by indent blanks; col is the
// current column, updated.
void outwrap(std::string_view text, int32_t indent, int32_t& col);

void setfirstpgheader(const char* revision);
void setpgheader(const char* title);
void printfirstpage();
// End of a local pass: a blank line and the star line when the report has
// room for them (always on an unpaginated report).
void printendstars();

// A program unit's report section: kind 5 function, 6 subroutine, 7
// program, 8 block data, 12 module. Printed only when the section gets a
// line of its own.
struct SectionUnit {
  int32_t kind;              // unit kind
  std::string name;          // unit name
  std::string filename;      // current file
  int32_t line;              // line of the unit statement
  int32_t openunits;         // open units (2 or more: a contained unit)
  int32_t context;           // 0 none, 1 module subprogram, 2 internal,
                             // 3 internal of a nested host, 4 interface body
  std::string host;          // host unit name
  std::string outerhost;     // host of the host ("" none)
  std::string generic;       // generic interface name ("" none)
};
void sectionheader(const SectionUnit& u);
// Writes a source line with tabs expanded and control characters shown as
// "^X", cut to the page width; returns the display column of column col
// (0-based) of the source line.
int32_t outextab(std::string_view line, int32_t col);
// The display form of a source line alone (no output), for tests and for
// callers that build the line themselves; dispcol gets the column of col.
std::string extabtext(std::string_view line, int32_t col, int32_t width,
                      int32_t* dispcol);
