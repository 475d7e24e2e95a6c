// tarvo's report output: lines are collected by outstr, pass the heading
// filter (a held section heading is printed only before the first line of
// its section) and are written by the paginator, which starts every page of
// a paginated report with its header.
#include "checker/base/out.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include "checker/base/cmmdline.h"
#include "checker/base/errmsg.h"
#include "checker/common/error.h"
#include "checker/common/flio.h"
#include "checker/common/mystring.h"

int32_t outwid = 79;
int32_t nlpp = 0;
int32_t linleft = 0;
int32_t pageno = 0;
int32_t topmark = 100;
std::string isdate;
std::string istime;
ReportState rpt;

namespace {

constexpr int32_t stars_fixed = 79;   // the stored star line

// Writes text to the report unit as it is (no pagination).
void rawwrite(std::string_view text) {
  if (text.empty()) return;
  if (rpt.outputunit > 0) {
    iwrite(rpt.outputunit, text.data(), static_cast<int>(text.size()));
  } else {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
}

// The text cut or padded with blanks to exactly width characters.
std::string fit(std::string_view text, int32_t width) {
  if (width <= 0) return std::string();
  std::string s(text.substr(0, static_cast<size_t>(width)));
  s.resize(static_cast<size_t>(width), ' ');
  return s;
}

std::string starline() {
  int32_t n = outwid < 80 ? outwid : stars_fixed;
  return std::string(static_cast<size_t>(n > 0 ? n : 0), '*') + "\n";
}

void report_line(std::string_view text) { outstr(text); }

// Every finished line: a held heading waits for the first line after it.
void dividerfilter(const std::string& line) {
  if (rpt.holdout) {
    rpt.holdlin = line;
    rpt.hasheld = true;
    rpt.holdout = false;
    return;
  }
  if (rpt.hasheld) {
    paginate("\n");
    paginate(starline());
    // A page break before the heading makes sense only on a paginated
    // report; without pages the lines left are never counted.
    if (nlpp > 0 && linleft < 5) {
      linleft = 0;
      paginate(starline());
    }
    std::string held;
    held.swap(rpt.holdlin);
    rpt.hasheld = false;
    paginate(held);
  }
  paginate(line);
  rpt.holdout = false;
}

// One call on the report while a slot waits, kept to be replayed in order.
struct HeldCall {
  enum Kind : uint8_t { text, holdout, clearheld, pagebreak, slot } kind;
  std::string chunk;              // text: what outstrn was given
  bool mark;                      // holdout: the mark given
  int32_t lines;                  // pagebreak: the lines given
  int32_t number;                 // slot: its number
  int8_t state;                   // slot: 0 waiting, 1 print, 2 drop
  std::function<void()> writer;   // slot: writes its text when printed
};

struct HeldReport {
  std::deque<HeldCall> calls;     // the calls behind the first waiting slot
  int32_t next;                   // number of the last slot opened
  int32_t waiting;                // slots opened and not settled
  bool replaying;                 // calls go to the report itself
  bool exit_hook;                 // out_settle_all runs when the process exits
};
HeldReport held;

// True when a call on the report must wait behind a slot.
bool must_wait() { return held.waiting > 0 && !held.replaying; }

void queue_call(HeldCall c) { held.calls.push_back(std::move(c)); }

// Replays the calls from the front up to the first slot still waiting.
void replay_settled() {
  held.replaying = true;
  while (!held.calls.empty()) {
    HeldCall& c = held.calls.front();
    if (c.kind == HeldCall::slot && c.state == 0) break;
    HeldCall call = std::move(c);
    held.calls.pop_front();
    switch (call.kind) {
      case HeldCall::text: outstr(call.chunk); break;
      case HeldCall::holdout: setholdout(call.mark ? 1 : 0); break;
      case HeldCall::clearheld: clearholdlen(); break;
      case HeldCall::pagebreak: out_break_page_within(call.lines); break;
      case HeldCall::slot:
        if (call.state == 1 && call.writer) call.writer();
        break;
    }
  }
  held.replaying = false;
}

}  // namespace

int32_t out_hold(std::function<void()> writer) {
  if (!held.exit_hook) {
    // A fatal message ends the process while slots may wait: what waits
    // is printed then, the slots with it.
    held.exit_hook = true;
    std::atexit(out_settle_all);
  }
  HeldCall c{};
  c.kind = HeldCall::slot;
  c.number = ++held.next;
  c.writer = std::move(writer);
  queue_call(std::move(c));
  ++held.waiting;
  return held.next;
}

void out_settle(int32_t slot, bool print) {
  for (HeldCall& c : held.calls) {
    if (c.kind != HeldCall::slot || c.number != slot || c.state != 0) continue;
    c.state = print ? 1 : 2;
    --held.waiting;
    break;
  }
  if (!held.replaying) replay_settled();
}

void out_settle_all() {
  for (HeldCall& c : held.calls) {
    if (c.kind == HeldCall::slot && c.state == 0) c.state = 1;
  }
  held.waiting = 0;
  if (!held.replaying) replay_settled();
}

int32_t out_waiting() { return held.waiting; }

void out_reset() {
  outwid = 79;
  nlpp = 0;
  linleft = 0;
  pageno = 0;
  topmark = 100;
  isdate.clear();
  istime.clear();
  rpt = ReportState{};
  errstate.outfp = nullptr;
  bool hook = held.exit_hook;
  held = HeldReport{};
  held.exit_hook = hook;
}

void setoutputunit(int unit) {
  if (unit != rpt.outputunit) pageno = 0;
  rpt.outputunit = unit;
  if (unit > 0) {
    seterrunit(unit);
  } else {
    errstate.outfp = nullptr;   // no unit yet: the standard output
  }
  report_hook = report_line;
}

void setholdout(int mark) {
  if (must_wait()) {
    HeldCall c{};
    c.kind = HeldCall::holdout;
    c.mark = mark != 0;
    return queue_call(std::move(c));
  }
  rpt.holdout = mark != 0;
}

void out_break_page_within(int32_t lines) {
  if (must_wait()) {
    HeldCall c{};
    c.kind = HeldCall::pagebreak;
    c.lines = lines;
    return queue_call(std::move(c));
  }
  if (nlpp > 0 && linleft >= 1 && linleft <= lines) linleft = 0;
}

void clearholdlen() {
  if (must_wait()) {
    HeldCall c{};
    c.kind = HeldCall::clearheld;
    return queue_call(std::move(c));
  }
  rpt.holdlin.clear();
  rpt.hasheld = false;
}

void paginate(std::string_view line) {
  if (linleft == 0) {
    linleft = nlpp - 1;
    ++pageno;
    if (nlpp == 0) {
      rawwrite(rpt.pgheader);
    } else {
      std::string header = rpt.pgheader + std::to_string(pageno) + "\n";
      if (pageno == 1 && !header.empty() && header[0] == '\f') header.erase(0, 1);
      rawwrite(header);
      rawwrite("\n");
      --linleft;
    }
  }
  rawwrite(line);
  if (nlpp > 0) {
    int32_t lines = 0;
    for (char c : line) lines += c == '\n';
    linleft -= lines > 0 ? lines : 1;
    if (linleft < 0) linleft = 0;
  }
}

void outstrn(const char* text, int32_t len) {
  if (len < 0) interr("outstrn");
  std::string_view t(text, static_cast<size_t>(len));
  if (must_wait()) {
    HeldCall c{};
    c.kind = HeldCall::text;
    c.chunk.assign(t);
    return queue_call(std::move(c));
  }
  bool ends = !t.empty() && t.back() == '\n';
  if (ends) t.remove_suffix(1);
  size_t room = outline_max > rpt.outplin.size() ? outline_max - rpt.outplin.size() : 0;
  rpt.outplin.append(t.substr(0, room));
  // The line end is kept even when the text before it was cut, so that an
  // over-long line still ends and the next line starts afresh.
  if (ends) {
    rpt.outplin += '\n';
    std::string line;
    line.swap(rpt.outplin);
    dividerfilter(line);
  }
}

void outstr(std::string_view text) {
  outstrn(text.data(), static_cast<int32_t>(text.size()));
}

void outnum(int32_t n) {
  int64_t v = n;
  if (v < 0) {
    outstr("-");
    v = -v;
  }
  outstr(std::to_string(v));
}

void outfrnum(uint32_t n, int width) { outstr(fitoa(n, width)); }

void outstars() { outstr(starline()); }

void outwrap(std::string_view text, int32_t indent, int32_t& col) {
  if (col + static_cast<int32_t>(text.size()) > outwid && col > indent) {
    outstr("\n");
    outstr(std::string(static_cast<size_t>(indent), ' '));
    col = indent;
  }
  outstr(text);
  col += static_cast<int32_t>(text.size());
}

void setfirstpgheader(const char* revision) {
  const int32_t w = outwid;
  const bool numbered = nlpp > 0;
  std::string h;
  if (numbered && rpt.ensemble_ff) h += '\f';
  std::string rev = revision ? revision : "";
  if (flopt_test) {
    h += fit(product_title, w - 12);
    if (numbered) h += "Page 1";
  } else if (w <= 45) {
    h += fit(product_title, 14) + rev + " " + fit(isdate, 12) + istime;
  } else if (w <= 50) {
    h += fit(product_title, 15) + fit(rev, w - 37) + " " + fit(isdate, 12) + istime;
  } else if (numbered && w <= 56) {
    h += fit(product_title, 13) + fit(rev, w - 42) + " " + fit(isdate, 12) +
         fit(istime, 10) + "Page 1";
  } else if (numbered) {
    h += fit(product_title, 16) + fit(rev, w - 47) + " " + fit(isdate, 13) +
         fit(istime, 11) + "Page 1";
  } else {
    h += fit(product_title, 16) + fit(rev, w - 39) + " " + fit(isdate, 13) +
         fit(istime, 9);
  }
  h += "\n";
  rpt.pgheader = h;
}

void setpgheader(const char* title) {
  const int32_t w = outwid;
  std::string t = title ? title : "";
  if (nlpp > 0) {
    std::string h = "\f";
    if (static_cast<int32_t>(t.size()) <= w - 30) {
      h += fit(product_title, 16) + fit(t, w - 31) + "   Page ";
    } else {
      h += fit(product_title, 13) + fit(t, w - 26) + " Page ";
    }
    rpt.pgheader = h;
    outstr(" ");
  } else {
    rpt.pgheader = fit(product_title, 16) + fit(t, w - 16) + "\n";
  }
}

void printfirstpage() {
  pageno = 1;
  setfirstpgheader(revision_text);
  if (nlpp > 0) linleft = nlpp - 1;
  rawwrite(rpt.pgheader);
  rawwrite("\n");
  dispswit();
  if (nlpp > 0 && linleft < 2) {
    linleft = 0;
  } else {
    outstr("\n");
    outstr("\n");
  }
}

void printendstars() {
  if (nlpp == 0 || linleft > 1) {
    outstr("\n");
    if (outwid < 80) {
      outstr(starline());
      outstr("\n");
    } else {
      outstr(starline());
    }
  }
}

void sectionheader(const SectionUnit& u) {
  if (errhooks.local_pass && !errhooks.local_pass()) return;
  if (listit && !gloopt) return;
  const char* kind;
  switch (u.kind) {
    case 5: kind = "     Function"; break;
    case 6: kind = "   Subroutine"; break;
    case 7: kind = "      Program"; break;
    case 8: kind = "   Block data"; break;
    case 12: kind = "       Module"; break;
    default: kind = "   <outside of subprogram>"; break;
  }
  std::string h = kind;
  h += " " + u.name.substr(0, 24) + "  ";
  std::string where = "File " + u.filename + " Line " + std::to_string(u.line);
  if (static_cast<int32_t>(h.size() + where.size()) > outwid) {
    h += "\n" + std::string(9, ' ');
  }
  h += where + "\n";
  if (u.openunits >= 2 && u.context != 0) {
    std::string second;
    switch (u.context) {
      case 1: second = "<Module subprog of " + u.host + ">"; break;
      case 3: second = "<Internal subprog of " + u.outerhost + "::" + u.host + ">"; break;
      case 4:
        second = "<Interface body of ";
        if (!u.outerhost.empty()) second += u.outerhost + "::";
        second += u.host;
        if (!u.generic.empty()) second += "::" + u.generic;
        second += ">";
        break;
      default: second = "<Internal subprog of " + u.host + ">"; break;
    }
    const int32_t indent = 14;
    if (indent + static_cast<int32_t>(second.size()) <= outwid) {
      h += std::string(indent, ' ');
    }
    h += second + "\n\n";
  }
  setholdout(1);
  outstr(h);
}

std::string extabtext(std::string_view line, int32_t col, int32_t width,
                      int32_t* dispcol) {
  std::string out;
  int32_t dc = -1;
  size_t i = 0;
  for (; i < line.size(); ++i) {
    if (static_cast<int32_t>(i) == col) dc = static_cast<int32_t>(out.size());
    unsigned char c = static_cast<unsigned char>(line[i]);
    std::string piece;
    if (c == '\t') {
      piece.assign(8 - out.size() % 8, ' ');
    } else if (c < 32 || c == 127) {
      piece = "^";
      piece += c == 127 ? '?' : static_cast<char>(c + 64);
    } else {
      piece.assign(1, static_cast<char>(c));
    }
    if (static_cast<int32_t>(out.size() + piece.size()) > width) {
      bool more = false;
      for (size_t k = i; k < line.size(); ++k) {
        if (line[k] != ' ' && line[k] != '\t') more = true;
      }
      if (more) {
        size_t keep = out.size() >= 3 ? out.size() - 3 : 0;
        out.resize(keep);
        out += "...";
      }
      break;
    }
    out += piece;
  }
  if (dc < 0) {
    // A column past the text: count on from its end.
    int32_t past = col - static_cast<int32_t>(line.size());
    dc = static_cast<int32_t>(out.size()) + (past > 0 ? past : 0);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (dispcol) *dispcol = dc;
  return out;
}

int32_t outextab(std::string_view line, int32_t col) {
  int32_t dc = 0;
  std::string text = extabtext(line, col, outwid - 1, &dc);
  outstr(text + "\n");
  return dc;
}
