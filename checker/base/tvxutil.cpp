// The TVX 3.0 program database writer: the header, a so# line per source
// file registered in the dependency pass, per routine its ro#, rloc, rlink,
// rkind, rstart and rcall lines, the chain of statement records (rstmt)
// linked as the statements are read, and "rbody st#0" at its end.
#include "checker/base/tvxutil.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "checker/common/error.h"
#include "checker/common/qmalloc.h"
#include "checker/common/qualcodes.h"
#include "checker/base/passes.h"
#include "checker/base/services.h"
#include "checker/base/source.h"
#include "checker/base/symbols.h"

// A node of a name table: a binary search tree in byte order of the names.
struct tvx_node {
  tvx_node* left;
  tvx_node* right;
  uint8_t kind;        // 3 source file, 1 subroutine or program, 2 function
  bool written;        // its so# or ro# line is written
  bool rloc;           // its rloc line is written
  bool rstart;         // its rstart line is written
  int32_t srcfile;     // id of the routine's source file
  int32_t id;          // so# or ro# id
  char* name;          // at most 255 characters
};

TvxState tvxstate{};

namespace {

constexpr size_t max_tvx_name = 255;

// One item of the database; the format is checked against its arguments.
__attribute__((format(printf, 1, 2))) void out(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::vfprintf(tvxstate.VTVX_Stream, fmt, args);
  va_end(args);
}

tvx_node* new_node(const char* name) {
  tvx_node* n = qnew<tvx_node>(tvxstate.pool);
  size_t len = std::strlen(name);
  n->name = qstore(tvxstate.pool, std::string_view(name, len > max_tvx_name ? max_tvx_name : len));
  return n;
}

// The node of name in the table with that root, or null.
tvx_node* lookup(tvx_node* root, const char* name) {
  if (root == nullptr) interr("16386");
  if (name == nullptr || name[0] == '\0') interr("16385");
  size_t len = std::strlen(name);
  std::string key(name, len > max_tvx_name ? max_tvx_name : len);
  tvx_node* n = root->right;
  while (n != nullptr) {
    int c = std::strcmp(key.c_str(), n->name);
    if (c == 0) return n;
    n = c < 0 ? n->left : n->right;
  }
  return nullptr;
}

// Adds name to the table; a name already there is a fatal error.
tvx_node* add(tvx_node* root, const char* name) {
  if (root == nullptr) interr("16386");
  if (name == nullptr || name[0] == '\0') interr("16385");
  tvx_node* node = new_node(name);
  tvx_node** link = &root->right;
  while (*link != nullptr) {
    int c = std::strcmp(node->name, (*link)->name);
    if (c == 0) {
      tarvoerr("F-TVXMULDEF", std::string("Multiply-defined symbol: ") + node->name);
      return *link;
    }
    link = c < 0 ? &(*link)->left : &(*link)->right;
  }
  *link = node;
  return node;
}

tvx_node* find_or_add(tvx_node* root, const char* name) {
  tvx_node* n = lookup(root, name);
  return n != nullptr ? n : add(root, name);
}

const char* kind_word(const char* kind) {
  if (std::strcmp(kind, "if") == 0 || std::strcmp(kind, "elseif") == 0) return "fif";
  return kind;
}

void put_pos(int32_t file, int32_t line, int32_t col) {
  if (line < 0) {
    out("NULL 0 0 ");
  } else {
    out("so#%d %d %d ", static_cast<int>(file), static_cast<int>(line), static_cast<int>(col));
  }
}

void put_link(const tvx_statement* s) {
  if (s != nullptr) out("st#%d ", static_cast<int>(s->id)); else out("NA ");
}

void outputStatement(const tvx_statement* s) {
  if (s == nullptr) return;
  out("rstmt st#%d %s ", static_cast<int>(s->id), kind_word(s->kind));
  put_pos(s->file, s->line, s->col);
  put_pos(s->efile, s->eline, s->ecol);
  put_link(s->next);
  put_link(s->upper);
  if (s->extra != nullptr) out("st#%d ", static_cast<int>(s->extra->id));
  out("\n");
}

// Makes a statement record and links it after the pending statement, as
// the first inner statement of a loop or IF, or as an IF's ELSE part.
tvx_statement* initTVXStatement(const char* kind, int32_t file, int32_t line, int32_t col) {
  tvx_statement* s = qnew<tvx_statement>(tvxstate.pool);
  s->id = tvxstate.tvx_stmtCount++;
  s->file = file;
  s->line = line;
  s->col = col;
  s->efile = file;
  s->eline = -1;
  s->ecol = -1;
  s->kind = kind;
  if (tvxstate.tvx_prevStatement != nullptr) {
    tvxstate.tvx_prevStatement->next = s;
    outputStatement(tvxstate.tvx_prevStatement);
    tvxstate.tvx_prevStatement = nullptr;
  } else if (tvxstate.tvx_upper != nullptr) {
    tvxstate.tvx_upper->upper = s;
    tvxstate.tvx_upper = nullptr;
  } else if (tvxstate.tvx_extra != nullptr) {
    tvxstate.tvx_extra->extra = s;
    tvxstate.tvx_extra = nullptr;
  }
  return s;
}

// Prints the pending statement unless it is an "if" record, and clears it.
void flush_pending_not_if() {
  tvx_statement* p = tvxstate.tvx_prevStatement;
  if (p != nullptr && std::strcmp(p->kind, "if") != 0) outputStatement(p);
  tvxstate.tvx_prevStatement = nullptr;
}

int32_t stmt_lines() {
  int32_t n = rsrc.lincnt;
  return n > MAX_STMT_LINES ? MAX_STMT_LINES : n;
}

// Where a RETURN or STOP word begins in the statement's lines: true with
// the line offset and column when one holds it.
bool find_word(const char* lower, const char* upper, int32_t& offset, int32_t& col) {
  for (int32_t i = 0; i < stmt_lines(); ++i) {
    int32_t c = CTVX_GetSubstringCol(stmtlines.text[i], lower);
    if (c == 0) c = CTVX_GetSubstringCol(stmtlines.text[i], upper);
    if (c != 0) {
      offset = i;
      col = c;
      return true;
    }
  }
  return false;
}

const char* rlink_of(const locsym* s) {
  if (s != nullptr && (s->squal == SQ_STATFUN || s->squal == 7)) return "fint";
  return "f90";
}

const char* rkind_of(const locsym* s) {
  if (s == nullptr) return "funspec";
  switch (s->sclass) {
    case SC_EXT:
    case SC_SUB: return "fext";
    case SC_FUNC: return "fint";
    case SC_PROG: return "fprog";
    case SC_BLKD: return "fbldat";
    case SC_MODULEPROC: return "fmproc";
    default: break;
  }
  if (s->squal == SQ_STATFUN) return "fstfn";
  if (s->squal == SQ_INTRINSIC) return "fintrin";
  return "funspec";
}

// The name of the module whose contained procedure is being read, or null.
const char* enclosing_module() {
  if (Status.scope_level < 2 || Scope == nullptr) return nullptr;
  const locsym* host = Scope[1].unitsym;
  return host != nullptr && host->sclass == SC_MODULE ? host->name : nullptr;
}

}  // namespace

void tvx_reset() {
  if (tvxstate.VTVX_Stream != nullptr) std::fclose(tvxstate.VTVX_Stream);
  if (tvxstate.pool != nullptr) qdestroy(tvxstate.pool);
  tvxstate = TvxState{};
}

void CTVX_Init(const char* filename) {
  if (tvxstate.VTVX_Init) interr("TVX_Init");
  tvxstate.VTVX_Stream = std::fopen(filename, "w");
  if (tvxstate.VTVX_Stream == nullptr) {
    tarvoerr("F-TVXFILE", "Can't create TVX output file");
    return;
  }
  std::fprintf(tvxstate.VTVX_Stream, "%s\n", "<TVX 3.0>\nlang fortran");
  tvxstate.pool = qcreate(0, "tvx");
  tvxstate.VTVX_TabSrcFiles = qnew<tvx_node>(tvxstate.pool);
  tvxstate.VTVX_TabRoutines = qnew<tvx_node>(tvxstate.pool);
  tvxstate.VTVX_Init = true;
}

void CTVX_SrcOpen(const char* filename) {
  // Files are registered in the dependency pass; without one (Fortran 77)
  // in the first pass, so that positions still name their files.
  bool registering = an.pass == 0 || (an.pass == 1 && !an.mkdep_opt);
  if (!tvxstate.VTVX_Init || !registering || filename == nullptr || filename[0] == '\0') return;
  tvx_node* n = find_or_add(tvxstate.VTVX_TabSrcFiles, filename);
  n->kind = 3;
  n->id = ++tvxstate.VTVX_NumSrcFiles;
  n->written = true;
  out("\nso#%d %s\n\n", static_cast<int>(n->id), n->name);
}

int32_t CTVX_GetCurrentFileId() {
  if (!tvxstate.VTVX_Init) return -1;
  // The file of the current statement's first line: an INCLUDE file has
  // its own source-file id.
  int32_t level = rsrc.lincnt > 0 ? stmtlines.inclev[0] : rsrc.inclev;
  const std::string& name =
      level > 0 && level <= MAX_INCLUDE ? rsrc.inc[level].name : rsrc.filename;
  if (name.empty()) return -1;
  const tvx_node* n = lookup(tvxstate.VTVX_TabSrcFiles, name.c_str());
  return n != nullptr ? n->id : -1;
}

void CTVX_SubStart(const char* name) { CTVX_UnitStart(name, 1); }
void CTVX_FuncStart(const char* name) { CTVX_UnitStart(name, 2); }

void CTVX_UnitStart(const char* name, int32_t kind) {
  if (!tvxstate.VTVX_Init || an.lpass != 1 || name == nullptr || name[0] == '\0') return;
  CTVX_FinishRoutine();
  out("\n");
  tvx_node* n = find_or_add(tvxstate.VTVX_TabRoutines, name);
  n->kind = static_cast<uint8_t>(kind);
  n->srcfile = CTVX_GetCurrentFileId();
  n->id = ++tvxstate.VTVX_NumRoutines;
  n->written = true;
  n->rloc = false;
  n->rstart = false;
  tvxstate.routine = n;
  if (const char* mod = enclosing_module()) {
    out("ro#%d %s::%s\n", static_cast<int>(n->id), mod, n->name);
  } else {
    out("ro#%d %s\n", static_cast<int>(n->id), n->name);
  }
  const xrefrec* first = prgnam != nullptr ? prgnam->xhead : nullptr;
  if (first != nullptr && n->srcfile >= 1) {
    out("rloc so#%d %d %d\n", static_cast<int>(n->srcfile), static_cast<int>(first->line),
        static_cast<int>(first->col + 1));
    n->rloc = true;
  }
  out("rlink %s\n", rlink_of(prgnam));
  out("rkind %s\n", rkind_of(prgnam));
  tvxstate.functionStarted = true;
}

void CTVX_CheckRoutine(int32_t file, int32_t line, int32_t col, bool with_rstart) {
  if (!tvxstate.VTVX_Init || prgnam == nullptr || prgnam->name == nullptr) return;
  const tvx_node* entry = prgnam->name[0] != '\0' ? lookup(tvxstate.VTVX_TabRoutines, prgnam->name) : nullptr;
  // Statements of an INCLUDE file carry the include file's id: the
  // routine item open now stays open for them.
  if (entry == nullptr || entry != tvxstate.routine || !tvxstate.functionStarted) {
    CTVX_SubStart(prgnam->name);
  }
  tvx_node* n = tvxstate.routine;
  if (n == nullptr || !tvxstate.functionStarted) return;
  if (!n->rloc && prgnam->xhead == nullptr && file >= 1) {
    out("rloc so#%d %d %d\n", static_cast<int>(file), static_cast<int>(line), static_cast<int>(col));
    n->rloc = true;
  }
  if (with_rstart && !n->rstart) {
    out("rstart so#%d %d %d\n", static_cast<int>(file), static_cast<int>(line), static_cast<int>(col));
    n->rstart = true;
  }
}

void CTVX_GenRSTART(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  CTVX_CheckRoutine(file, line, col, false);
  tvx_node* n = tvxstate.routine;
  if (n == nullptr || !tvxstate.functionStarted || n->rstart) return;
  out("rstart so#%d %d %d\n", static_cast<int>(file), static_cast<int>(line), static_cast<int>(col));
  n->rstart = true;
}

void CTVX_GenRCALL(const locsym* callee, int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init || callee == nullptr || callee->name == nullptr || callee->name[0] == '\0') return;
  if (std::strcmp(callee->name, "EXIT") == 0) {
    tvxstate.tvx_prevStatement = initTVXStatement("fstop", file, line, col);
    CTVX_CheckForIfClause(col);
  }
  const tvx_node* n = lookup(tvxstate.VTVX_TabRoutines, callee->name);
  if (n == nullptr || !tvxstate.functionStarted) return;
  out("rcall ro#%d no so#%d %d %d\n", static_cast<int>(n->id), static_cast<int>(file),
      static_cast<int>(line), static_cast<int>(col));
}

void CTVX_GenRSTMT(int32_t file, int32_t line, int32_t col, int32_t eline, int32_t ecol,
                   const char* kind) {
  if (!tvxstate.VTVX_Init || kind == nullptr) return;
  tvx_statement* s = initTVXStatement(kind, file, line, col);
  s->eline = eline;
  s->ecol = ecol;
  tvxstate.tvx_prevStatement = s;
}

void CTVX_StartLoop(int32_t file, int32_t line, int32_t col, int32_t label) {
  if (!tvxstate.VTVX_Init) return;
  tvx_statement* s = initTVXStatement("fdo", file, line, col);
  s->label = label;
  s->below = tvxstate.tvx_loopStack;
  if (tvxstate.tvx_loopStack != nullptr) tvxstate.tvx_loopStack->above = s;
  tvxstate.tvx_loopStack = s;
  tvxstate.tvx_upper = s;
}

void CTVX_FinishF90Loop(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  tvx_statement* loop = tvxstate.tvx_loopStack;
  if (loop == nullptr || loop->label != 0) return;
  outputStatement(tvxstate.tvx_prevStatement);
  loop->efile = file;
  loop->eline = line;
  loop->ecol = col;
  tvxstate.tvx_loopStack = loop->below;
  if (tvxstate.tvx_loopStack != nullptr) tvxstate.tvx_loopStack->above = nullptr;
  if (tvxstate.tvx_upper == loop) tvxstate.tvx_upper = nullptr;
  tvxstate.tvx_prevStatement = loop;
}

void CTVX_ActivateF77Loops(int32_t label) {
  if (!tvxstate.VTVX_Init || label == 0) return;
  tvx_statement* keep_top = nullptr;   // loops that stay, innermost first
  tvx_statement* keep_last = nullptr;
  for (tvx_statement* s = tvxstate.tvx_loopStack; s != nullptr;) {
    tvx_statement* lower = s->below;
    if (s->label == label) {
      // Walking outwards and pushing on the front: outermost comes first.
      s->above = nullptr;
      s->below = tvxstate.finish_loops;
      tvxstate.finish_loops = s;
    } else {
      s->above = keep_last;
      s->below = nullptr;
      if (keep_last != nullptr) keep_last->below = s; else keep_top = s;
      keep_last = s;
    }
    s = lower;
  }
  tvxstate.tvx_loopStack = keep_top;
  tvxstate.finish_pending = true;
}

void CTVX_FinishF77Loops(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init || !tvxstate.finish_pending) return;
  for (tvx_statement* s = tvxstate.finish_loops; s != nullptr;) {
    tvx_statement* lower = s->below;
    outputStatement(tvxstate.tvx_prevStatement);
    s->efile = file;
    s->eline = line;
    s->ecol = col;
    s->below = nullptr;
    if (tvxstate.tvx_upper == s) tvxstate.tvx_upper = nullptr;
    tvxstate.tvx_prevStatement = s;
    s = lower;
  }
  tvxstate.finish_loops = nullptr;
  tvxstate.finish_pending = false;
}

void CTVX_GenLabel(int32_t file, int32_t line, int32_t /*col*/, int32_t /*eline*/,
                   int32_t /*ecol*/, int32_t label) {
  if (!tvxstate.VTVX_Init) return;
  tvx_statement* s = initTVXStatement("flabel", file, line, 0);
  s->label = label;
  s->below = tvxstate.tvx_labelStatements;
  tvxstate.tvx_labelStatements = s;
  tvxstate.tvx_prevStatement = s;
}

void CTVX_DeferLabel(int32_t file, int32_t line, int32_t label) {
  if (!tvxstate.VTVX_Init) return;
  tvxstate.label_due = true;
  tvxstate.label_file = file;
  tvxstate.label_line = line;
  tvxstate.label_value = label;
}

void CTVX_FlushLabel() {
  if (!tvxstate.label_due) return;
  tvxstate.label_due = false;
  if (prgnam == nullptr) return;
  CTVX_GenLabel(tvxstate.label_file, tvxstate.label_line, 0, -1, -1, tvxstate.label_value);
}

void CTVX_GenGoto(int32_t file, int32_t line, int32_t col, int32_t eline, int32_t ecol,
                  int32_t label) {
  if (!tvxstate.VTVX_Init) return;
  tvx_statement* s = initTVXStatement("fgoto", file, line, col);
  s->eline = eline;
  s->ecol = ecol;
  for (tvx_statement* l = tvxstate.tvx_labelStatements; l != nullptr; l = l->below) {
    if (l->label == label) {
      s->extra = l;
      break;
    }
  }
  tvxstate.tvx_prevStatement = s;
}

void CTVX_StartIf(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  tvx_statement* s = initTVXStatement("if", file, line, col);
  s->below = tvxstate.tvx_ifStack;
  tvxstate.tvx_ifStack = s;
  tvxstate.tvx_upper = s;
}

void CTVX_HandleElseIf(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  flush_pending_not_if();
  tvx_statement* s = initTVXStatement("elseif", file, line, col);
  if (tvxstate.tvx_ifStack != nullptr) tvxstate.tvx_ifStack->extra = s;
  s->below = tvxstate.tvx_ifStack;
  tvxstate.tvx_ifStack = s;
  tvxstate.tvx_upper = s;
}

void CTVX_HandleElse() {
  if (!tvxstate.VTVX_Init) return;
  flush_pending_not_if();
  tvxstate.tvx_upper = nullptr;
  tvxstate.tvx_extra = tvxstate.tvx_ifStack;
}

void CTVX_HandleEndIf(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  flush_pending_not_if();
  while (tvxstate.tvx_ifStack != nullptr) {
    tvx_statement* s = tvxstate.tvx_ifStack;
    bool is_if = std::strcmp(s->kind, "if") == 0;
    s->efile = file;
    s->eline = line;
    s->ecol = col;
    tvxstate.tvx_ifStack = s->below;
    if (tvxstate.tvx_ifStack != nullptr) outputStatement(s);
    tvxstate.tvx_prevStatement = s;
    if (is_if) break;
  }
  tvxstate.tvx_upper = nullptr;
  tvxstate.tvx_extra = nullptr;
}

void CTVX_HandleSingleEndIf(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  flush_pending_not_if();
  tvx_statement* s = tvxstate.tvx_ifStack;
  if (s != nullptr) {
    s->kind = "fsingle_if";
    s->efile = file;
    s->eline = line;
    s->ecol = col;
    tvxstate.tvx_ifStack = s->below;
    tvxstate.tvx_prevStatement = s;
  }
  tvxstate.tvx_upper = nullptr;
  tvxstate.tvx_extra = nullptr;
}

void CTVX_GenRRET(int32_t file, int32_t line, int32_t col, int32_t code) {
  if (!tvxstate.VTVX_Init) return;
  CTVX_CheckRoutine(file, line, col, true);
  CTVX_GenRSTART(file, line, col);
  int32_t rline = line;
  int32_t rcol = col;
  if ((code == 63 || code == 39) && stmt_lines() > 0) {
    int32_t offset = 0;
    int32_t found = 0;
    if (find_word("return", "RETURN", offset, found)) {
      rline = line + offset;
      rcol = found;
    } else if (col <= 0) {
      rcol = 0;
      rline = line + stmt_lines();
    }
  }
  tvxstate.tvx_prevStatement = initTVXStatement("freturn", file, rline, rcol);
  CTVX_CheckForIfClause(rcol);
}

void CTVX_GenRSTOP(int32_t file, int32_t line, int32_t col) {
  if (!tvxstate.VTVX_Init) return;
  int32_t rline = line;
  int32_t rcol = col;
  if (stmt_lines() == 0) {
    rcol = 1;
  } else {
    int32_t offset = 0;
    int32_t found = 0;
    if (find_word("stop", "STOP", offset, found)) {
      rline = line + offset;
      rcol = found;
    } else {
      rcol = col > 0 ? col : 0;
      rline = line + stmt_lines();
    }
  }
  tvxstate.tvx_prevStatement = initTVXStatement("fstop", file, rline, rcol);
  CTVX_CheckForIfClause(rcol);
}

void CTVX_CheckForIfClause(int32_t col) {
  tvxstate.VTVX_PrevIf = false;
  if (!tvxstate.VTVX_Init || col < 1 || col > 134) return;
  int32_t n = rsrc.lincnt;
  if (n <= 0 || n > MAX_STMT_LINES) return;
  const std::string& text = stmtlines.text[n - 1];
  int64_t i = static_cast<int64_t>(col) - 2;  // the character before the column
  if (i >= static_cast<int64_t>(text.size())) i = static_cast<int64_t>(text.size()) - 1;
  while (i > 0 && (text[static_cast<size_t>(i)] == ' ' || text[static_cast<size_t>(i)] == '\t')) --i;
  if (i > 0 && text[static_cast<size_t>(i)] == ')') tvxstate.VTVX_PrevIf = true;
}

int32_t CTVX_GetSubstringCol(const std::string& line, const char* word) {
  if (word == nullptr || word[0] == '\0') return 0;
  size_t p = line.find(word);
  return p == std::string::npos ? 0 : static_cast<int32_t>(p + 1);
}

void CTVX_FinishRoutine() {
  if (!tvxstate.VTVX_Init || !tvxstate.functionStarted) return;
  outputStatement(tvxstate.tvx_prevStatement);
  tvxstate.tvx_prevStatement = nullptr;
  tvxstate.tvx_loopStack = nullptr;
  // An IF left open in this routine must not reach into the next one.
  tvxstate.tvx_ifStack = nullptr;
  tvxstate.tvx_labelStatements = nullptr;
  tvxstate.tvx_upper = nullptr;
  tvxstate.tvx_extra = nullptr;
  tvxstate.finish_loops = nullptr;
  tvxstate.finish_pending = false;
  tvxstate.tvx_stmtCount = 0;
  out("rbody st#0\n");
  tvxstate.functionStarted = false;
}

namespace {

int32_t line_of(int32_t index) {
  if (index < 0 || index >= stmt_lines()) return rsrc.statsrclno;
  return stmtlines.lineno[index];
}

}  // namespace

void tvx_stmt_start(int32_t& line, int32_t& col) {
  int32_t index = 0;
  col = getcol(rsrc.statbeg, &index) + 1;
  line = line_of(0);
}

void tvx_stmt_end(int32_t& line, int32_t& col) {
  col = rsrc.lastcolumn + 1;
  line = line_of(rsrc.lastcolumnline);
}

bool tvx_routine_open(const char* name) {
  if (!tvxstate.functionStarted || tvxstate.routine == nullptr || name == nullptr) return false;
  return std::strncmp(tvxstate.routine->name, name, max_tvx_name) == 0;
}

bool tvx_last_was_return() {
  return tvxstate.tvx_prevStatement != nullptr && std::strcmp(tvxstate.tvx_prevStatement->kind, "freturn") == 0;
}
