// srcfront's main program: signals, pools, the command line, the
// compilation set-up with the IL file and the primary source, the loop over
// program units, the semantic pass, the output and the one way out.
#include "frontend/driver/driver.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/host.h"
#include "frontend/base/il_output.h"
#include "frontend/base/pools.h"
#include "frontend/lexer/scanner.h"
#include "frontend/lexer/source_input.h"
#include "frontend/ilfile/il_file.h"
#include "frontend/ilfile/module_file.h"
#include "frontend/model/constant_sharing.h"
#include "frontend/model/il_entries.h"
#include "frontend/model/names.h"
#include "frontend/driver/preload.h"
#include "frontend/model/symbols.h"
#include "frontend/model/types.h"
#include "frontend/model/attributes.h"
#include "frontend/parser/block_stack.h"
#include "frontend/parser/io_statements.h"
#include "frontend/parser/program_units.h"
#include "frontend/parser/statement_loop.h"
#include "frontend/semantics/unit_pass.h"

namespace {

constexpr int msg_write_failed = 261;
constexpr int msg_free_form_not_f77 = 484;
constexpr const char* maker_name = "Toolkit";
constexpr const char* maker_line = "Made by the Fortran analysis toolkit project";

// One option as read from the command line, applied after the operand is known.
struct OptionWord {
  int letter;       // the option letter, or '?'
  const char* arg;  // its argument, or null
  int word;         // the command-line word that held it
};

void print_banner() {
  std::fprintf(stderr, "%s Fortran Front End, version %s\n", maker_name, front_end_version);
  std::fprintf(stderr, "%s\n\n", maker_line);
}

// "-L", "-X": an output file opened now that the source operand is known.
FILE* open_listing(const char* name, const char* what) {
  bool cannot_open, invalid;
  FILE* f = open_output_file(name, false, false, &cannot_open, &invalid);
  if (invalid) command_line_error((std::string("invalid ") + what + " output file %s").c_str(), {name});
  if (!f) command_line_error((std::string("cannot open ") + what + " output file %s").c_str(), {name});
  return f;
}

void apply_option(const OptionWord& o, char** argv) {
  switch (o.letter) {
    case 'A': driver_options.std_warnings = true; break;
    case 'D': driver_options.d_lines_are_code = true; break;
    case 'F': driver_options.fixed_form = true; break;
    case 'R': driver_options.keep_expressions = true; break;
    case 'U': driver_options.case_sensitive_identifiers = true; break;
    case 'n': driver_options.suppress_il_output = true; break;
    case 'u': driver_options.no_implicit_typing = true; break;
    case 'r': diag.min_severity = 1; break;
    case 'w': diag.min_severity = 3; break;
    case 'V': set_exit_hook(print_error_summary); break;
    case 'v': print_banner(); break;
    case 'I':
      if (o.arg[0] == '-') command_line_error("missing include file directory name");
      add_include_directory(o.arg);
      break;
    case 'M':
      if (o.arg[0] == '-') command_line_error("missing module file directory name");
      add_module_directory(o.arg);
      break;
    case 'L':
      if (diag.raw_listing_file) std::fclose(diag.raw_listing_file);
      diag.raw_listing_file = nullptr;
      diag.raw_listing_file = open_listing(o.arg, "raw-listing");
      break;
    case 'X':
      if (driver_options.xref_file) std::fclose(driver_options.xref_file);
      driver_options.xref_file = nullptr;
      driver_options.xref_file = open_listing(o.arg, "cross-reference");
      break;
    case 'S': {
      bool cannot_open, invalid;
      redirect_diagnostics(o.arg, &cannot_open, &invalid);
      if (invalid) command_line_error("invalid error output file %s", {o.arg});
      if (cannot_open) command_line_error("cannot open error output file %s", {o.arg});
      break;
    }
    case 'e': {
      uint32_t limit = parse_number_option(o.arg);
      if (limit == 0) command_line_error("invalid error limit: %s", {o.arg});
      diag.error_limit = limit;
      break;
    }
    case 'o': driver_options.il_file_name = o.arg; break;
    default:  // '?', a letter without an effect, a missing argument
      command_line_error("invalid option: %s", {argv[o.word]});
  }
}

// Closes a listing stream; a write error or a failed close is message 261.
void close_checked(FILE** stream, const char* what) {
  FILE* f = *stream;
  if (!f) return;
  *stream = nullptr;
  bool failed = std::ferror(f) != 0;
  if (std::fclose(f) != 0) failed = true;
  if (failed) catastrophe_here(msg_write_failed, {what});
}

// Step 8 of a run without errors: one module file per module of the file scope.
bool is_written_module(const object* o) { return o->storage_class == sc_module && o->assoc_scope; }

void write_module_files() {
  scope* file_scope = the_il_header.primary_scope;
  if (!file_scope) return;
  for (object* o = file_scope->objects; o; o = o->next)
    if (is_written_module(o)) module_write(&the_il_header, o);
}

// Whether the run writes a file from the graph: the IL file or a module file.
// Constant sharing only shapes what is written.
bool writes_from_graph() {
  if (il_output.stream) return true;
  scope* file_scope = the_il_header.primary_scope;
  for (object* o = file_scope ? file_scope->objects : nullptr; o; o = o->next)
    if (is_written_module(o)) return true;
  return false;
}

}  // namespace

void process_command_line(int argc, char** argv) {
  // Step 1: no position; empty directory lists; the parser keeps quiet.
  scan.token_pos = source_pos_record{0, 1};
  err_pos = source_pos_record{0, 1};
  clear_directory_list(&host.include_dirs);
  clear_directory_list(&host.module_dirs);
  option_parser_reset();
  opt.messages = false;

  // The options are read first, so that the output files they name can be
  // checked against the source operand; they take effect left to right.
  std::vector<OptionWord> words;
  for (int c; (c = get_option(argc, argv, option_letters)) != -1;)
    words.push_back(OptionWord{c, opt.arg, opt.word});
  int operand = opt.index;
  host.source_name = operand < argc ? argv[operand] : nullptr;

  // Step 2.
  for (const OptionWord& o : words) apply_option(o, argv);

  // Step 3: "-A" wins over "-w"; free form is not FORTRAN 77.
  if (driver_options.std_warnings) {
    if (diag.min_severity >= 3) diag.min_severity = 2;
    if (!driver_options.fixed_form) warning_at(msg_free_form_not_f77, null_pos);
  }
  // Step 4.
  add_default_include_directory();
  // Step 5: the source file; INCLUDE files are searched in its directory first.
  if (operand >= argc) command_line_error("missing source file name");
  driver_options.source_file_name = argv[operand];
  const char* dir = directory_of(driver_options.source_file_name);
  push_include_directory_front(dir);  // empty: the current directory
  // Step 6.
  if (operand + 1 < argc) command_line_error("too many arguments on command line");
  // Step 7.
  if (driver_options.suppress_il_output) {
    if (driver_options.il_file_name)
      command_line_error("-o was specified, but no output file is needed");
  }
}

std::string compilation_time_text() {
  std::time_t now = std::time(nullptr);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(epoch, &end, 10);
    if (*epoch && end && *end == '\0' && errno == 0) now = static_cast<std::time_t>(value);
  }
  const char* text = std::ctime(&now);
  std::string s = text ? text : "";
  if (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

void open_il_output() {
  const char* name = driver_options.il_file_name;
  if (!name) {
    if (std::strcmp(driver_options.source_file_name, "-") == 0)
      command_line_error("IL file name must be specified if input is %s", {"-"});
    name = path_with_suffix(driver_options.source_file_name, ".cil");
    driver_options.il_file_name = name;
  }
  // An interrupt between creating the file and recording it would leave the
  // file behind: the two happen with the signals held back.
  sigset_t held, previous;
  sigemptyset(&held);
  sigaddset(&held, SIGINT);
  sigaddset(&held, SIGTERM);
  sigprocmask(SIG_BLOCK, &held, &previous);
  bool cannot_open, invalid;
  FILE* f = open_output_file(name, true, false, &cannot_open, &invalid);
  if (f) il_output_set(f, name);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (invalid) command_line_error("invalid IL output file %s", {name});
  if (!f) command_line_error("cannot open IL output file %s", {name});
}

void init_compilation() {
  // Step 1.
  scan.token_pos = null_pos;
  err_pos = null_pos;
  diag.remarks = diag.warnings = diag.errors = diag.catastrophes = 0;
  clear_interned_directories();
  stop_tokens_clear();
  // Step 2.
  init_il_tables();  // opens pool 1 as the current pool
  names.case_sensitive_identifiers = driver_options.case_sensitive_identifiers;
  symtab_reset();
  symtab.no_implicit_typing = driver_options.no_implicit_typing;
  scanner_init();
  io_spec_sets_init();
  main_program_flag_clear();
  diag.positions = &the_il_header;
  // Step 3.
  the_il_header.primary_scope = scope_push(sk_file);
  the_il_header.main_routine = nullptr;
  // Step 4.
  the_il_header.compiler_version = pool_copy_string(front_end_version);
  the_il_header.time_of_compilation = pool_copy_string(compilation_time_text());
  the_il_header.flags = driver_options.case_sensitive_identifiers ? 1u : 0u;
  the_il_header.source_language = sl_Fortran;
  // Step 5.
  if (!driver_options.suppress_il_output) open_il_output();
  // Step 6.
  the_il_header.primary_source_file = nullptr;
  source_push(pool_copy_string(driver_options.source_file_name), nullptr);
  // Step 7.
  attr_matrix_reset();
}

void reset_program_unit_state() {
  scan.token_pos = null_pos;
  err_pos = null_pos;
  current_statement_pos = null_pos;
  block_stack_reset();
  scope_record& level0 = scope_at(0);
  level0.implicit_none = 0;
  for (int letter = 0; letter < 26; ++letter)
    level0.implicit_map[letter] = letter >= 'I' - 'A' && letter <= 'N' - 'A'
                                      ? default_integer_type()
                                      : default_real_type();
}

void close_listing_files() {
  scope_end_unit();
  close_checked(&diag.raw_listing_file, "raw listing");
  close_checked(&driver_options.xref_file, "cross-reference");
}

std::string error_summary_text(int completion_code, unsigned long errors,
                               unsigned long catastrophes, const char* source_name) {
  std::string s;
  char buf[64];
  if (errors + catastrophes != 0) {
    if (errors) {
      std::snprintf(buf, sizeof buf, "%lu error%s", errors, errors == 1 ? "" : "s");
      s += buf;
    }
    if (errors && catastrophes) s += " and ";
    if (catastrophes) {
      std::snprintf(buf, sizeof buf, "%lu catastrophic error%s", catastrophes,
                    catastrophes == 1 ? "" : "s");
      s += buf;
    }
    if (source_name && *source_name && std::strcmp(source_name, "-") != 0) {
      s += " detected in the compilation of \"";
      s += source_name;
      s += "\".\n";
    } else {
      s += " detected in this compilation.\n";
    }
  }
  if (completion_code == 4 || completion_code == 5) s += "Compilation terminated.\n";
  if (completion_code == 6) s += "Compilation aborted.\n";
  return s;
}

void print_error_summary(int completion_code) {
  std::string s = error_summary_text(completion_code, diag.errors, diag.catastrophes,
                                     driver_options.source_file_name);
  std::fwrite(s.data(), 1, s.size(), stderr);
}

int compile_source() {
  init_compilation();
  while (statement_read()) {
    reset_program_unit_state();
    parse_program_unit();
    if (src.end_of_source) break;
  }
  check_unit(the_il_header.primary_scope);
  close_listing_files();
  if (diag.errors == 0) {
    if (writes_from_graph()) share_constants_pass(&the_il_header);
    write_module_files();
    il_write(&the_il_header);
  } else {
    il_discard();
  }
  return diag.errors ? 3 : diag.warnings ? 2 : 0;
}

int srcfront_main(int argc, char** argv) {
  install_signal_handlers();
  diagnostics_reset();
  driver_options_reset();
  host_reset();
  pools_reset();
  process_command_line(argc, argv);
  int code = compile_source();
  exit_with_hook(code);  // the process ends: its pools go with it
}
