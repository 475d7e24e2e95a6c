// The FORMAT statement handler. The format items are read in FORMAT scan
// mode (letters one at a time, integers without fractions), every edit
// descriptor is checked with its repeat count and scale factor, and the
// canonical text becomes the format constant of the statement's label.
#include "frontend/parser/format_statement.h"

#include <cstring>

#include "frontend/base/diagnostics.h"
#include "frontend/lexer/literal_constants.h"
#include "frontend/lexer/scanner.h"
#include "frontend/model/names.h"
#include "frontend/model/types.h"
#include "frontend/parser/parser_tokens.h"
#include "frontend/parser/statement_handlers.h"
#include "frontend/parser/statement_loop.h"

FormatState format_state;

void format_state_reset() {
  format_state.text.clear();
  format_state.bad = false;
  format_state.int_value = 0;
  format_state.int_signed = false;
  format_state.int_pos = null_pos;
  format_state.sign_pos = null_pos;
  format_state.int_faulty = false;
}

int format_token() {
  int t = scan_token(format_mode);
  if (format_state.bad || t == tok_eos) return t;
  if (t == tok_char_const || t == tok_hollerith) {
    format_state.text.append(token_text, scan.token_length);
  } else {
    for (uint32_t i = 0; i < scan.token_length; ++i)
      format_state.text += static_cast<char>(name_fold[static_cast<unsigned char>(token_text[i])]);
  }
  return t;
}

namespace {

FormatState& f = format_state;

// An error found inside an item, reported once the item is read.
struct pending_error {
  int msg;                    // message number; 0 when none
  source_pos_record pos;      // where it is reported
};

// The state of one item of a list: its prefix and what its descriptor allows.
struct item_state {
  bool scale_seen;            // a scale factor kP stood before the descriptor
  source_pos_record scale_pos;
  bool repeat_seen;           // a repeat count stood before the descriptor
  source_pos_record repeat_pos;
  bool scale_forbidden;       // the descriptor takes no scale factor
  bool repeat_forbidden;      // the descriptor takes no repeat count
  pending_error pending;
};

bool is_letter(char c) { return scan.cur_token == tok_letter && token_text[0] == c; }

void set_pending(pending_error* p, int msg) { *p = pending_error{msg, scan.token_pos}; }

// Reports msg at pos (once per position) and passes over the tokens up to
// the next stop token in FORMAT mode, whole parenthesised groups at a time.
void format_syntax_error(int msg, source_pos_record pos) {
  err_pos = pos;
  const source_pos_record& last = recovery.last_syntax_error;
  bool repeated = last.seq != 0 && last.seq == pos.seq && last.column == pos.column;
  if (scan.cur_token != tok_invalid && !repeated) {
    recovery.last_syntax_error = pos;
    error_here(msg);
  }
  f.bad = true;
  int depth = 0;
  for (;;) {
    int t = scan.cur_token;
    if (t == tok_eos) return;
    if (depth == 0 && t < token_code_count && recovery.stop_tokens[t] != 0) return;
    if (t == tok_lparen) ++depth;
    if (t == tok_rparen && depth > 0) --depth;
    format_token();
  }
}

// [+|-] digits: 1 with the integer read (its value, sign and positions in
// the state), 0 when no integer stands here (nothing consumed unless a sign
// without digits was refused).
int format_int() {
  f.int_signed = false;
  f.int_faulty = false;
  bool negative = false;
  if (scan.cur_token == tok_minus || scan.cur_token == tok_plus) {
    f.int_signed = true;
    negative = scan.cur_token == tok_minus;
    f.sign_pos = scan.token_pos;
    format_token();
    if (scan.cur_token != tok_int_const) {
      error_at(418, f.sign_pos);
      f.bad = true;
      return 0;
    }
  } else if (scan.cur_token != tok_int_const) {
    return 0;
  }
  f.int_pos = scan.token_pos;
  if (token_constant.c.kind == ck_error) {
    f.int_faulty = true;
    f.bad = true;
  } else {
    // A literal is never negative, so its negation cannot overflow.
    int32_t v = const_int(&token_constant);
    f.int_value = negative ? -v : v;
  }
  format_token();
  return 1;
}

// The sign of a valid integer that must be unsigned: 418.
void refuse_sign() {
  if (f.int_faulty || !f.int_signed) return;
  error_at(418, f.sign_pos);
  f.int_faulty = true;
  f.bad = true;
}

int format_unsigned_int() {
  if (!format_int()) return 0;
  refuse_sign();
  return 1;
}

int format_positive_int() {
  if (!format_int()) return 0;
  refuse_sign();
  if (!f.int_faulty && f.int_value == 0) {
    error_at(480, f.int_pos);
    f.int_faulty = true;
    f.bad = true;
  }
  return 1;
}

// w[.d]: true when no error is pending afterwards. need_point requires the
// ".d" part.
bool format_width(bool need_point, pending_error* p) {
  if (!format_positive_int()) {
    set_pending(p, 220);
    return false;
  }
  bool w_valid = !f.int_faulty;
  int32_t w = f.int_value;
  if (scan.cur_token == tok_dot) {
    format_token();
    if (!format_unsigned_int()) {
      set_pending(p, 220);
      return false;
    }
    if (w_valid && !f.int_faulty && f.int_value > w) warning_at(69, f.int_pos);
    return true;
  }
  if (need_point) {
    set_pending(p, 212);
    return false;
  }
  return true;
}

// [Ee] after the width of E, EN, ES and G.
void exponent_width(pending_error* p) {
  if (!is_letter('E')) return;
  format_token();
  if (!format_positive_int()) set_pending(p, 220);
}

// The descriptor that starts with the current letter (not yet read).
void letter_descriptor(item_state* it) {
  char c = token_text[0];
  pending_error* p = &it->pending;
  source_pos_record start = p->pos;  // the descriptor's letter
  format_token();
  switch (c) {
    case 'A':
      it->scale_forbidden = true;
      format_positive_int();
      break;
    case 'B':
      it->scale_forbidden = true;
      if (is_letter('N') || is_letter('Z')) {
        it->repeat_forbidden = true;
        format_token();
        break;
      }
      format_width(false, p);
      break;
    case 'I':
    case 'O':
    case 'Z':
      it->scale_forbidden = true;
      format_width(false, p);
      break;
    case 'D':
    case 'F':
      format_width(true, p);
      break;
    case 'E':
      if (!format_width(true, p)) {
        if (!is_letter('N') && !is_letter('S')) {
          if (scan.cur_token == tok_letter) *p = pending_error{74, start};
          break;
        }
        p->msg = 0;
        format_token();
        if (!format_width(true, p)) {
          *p = pending_error{74, start};
          break;
        }
      }
      exponent_width(p);
      break;
    case 'G':
      if (format_width(true, p)) exponent_width(p);
      break;
    case 'L':
      it->scale_forbidden = true;
      if (!format_positive_int()) set_pending(p, 220);
      break;
    case 'S':
      it->scale_forbidden = true;
      it->repeat_forbidden = true;
      if (scan.cur_token == tok_letter) {
        if (is_letter('P') || is_letter('S'))
          format_token();
        else
          *p = pending_error{74, start};
      }
      break;
    case 'T':
      if (format_positive_int()) {
      } else if (is_letter('L') || is_letter('R')) {
        format_token();
        if (!format_positive_int()) set_pending(p, 220);
      } else if (scan.cur_token == tok_letter) {
        *p = pending_error{74, start};
        return;  // neither flag is set for an unknown descriptor
      } else {
        set_pending(p, 220);
      }
      it->scale_forbidden = true;
      it->repeat_forbidden = true;
      break;
    case 'X':
      it->scale_forbidden = true;
      if (!it->repeat_seen) *p = pending_error{331, start};
      break;
    default:
      *p = pending_error{74, start};
      break;
  }
}

void parse_format_items();

// The leading integer of an item: a scale factor kP (with an optional
// repeat count after the P) or a repeat count.
void item_prefix(item_state* it) {
  bool have_int = format_int();
  if (!have_int && !is_letter('P')) return;
  if (!have_int || is_letter('P')) {
    if (!have_int) {
      error_at(331, scan.token_pos);
      f.bad = true;
      it->scale_pos = scan.token_pos;
    } else {
      it->scale_pos = f.int_signed ? f.sign_pos : f.int_pos;
    }
    it->scale_seen = true;
    format_token();  // the P
    if (format_positive_int()) {
      it->repeat_seen = true;
      it->repeat_pos = f.int_pos;
    }
    return;
  }
  if (!f.int_faulty) {
    if (f.int_signed) {
      error_at(418, f.sign_pos);
      f.bad = true;
    } else if (f.int_value == 0) {
      error_at(480, f.int_pos);
      f.bad = true;
    }
  }
  it->repeat_seen = true;
  it->repeat_pos = f.int_pos;
}

// One item after its prefix: an edit descriptor, a nested list, a string,
// "/" or ":".
void item_body(item_state* it) {
  it->pending.pos = scan.token_pos;
  switch (scan.cur_token) {
    case tok_letter:
      letter_descriptor(it);
      break;
    case tok_lparen:
      if (it->scale_seen) {
        error_at(417, it->scale_pos);
        f.bad = true;
        it->scale_seen = false;
      }
      stop_token_raise(tok_rparen);
      format_token();
      parse_format_items();
      stop_token_lower(tok_rparen);
      if (scan.cur_token == tok_rparen)
        format_token();
      else
        format_syntax_error(231, scan.token_pos);
      break;
    case tok_hollerith:
      warning_at(486, scan.token_pos);
      [[fallthrough]];
    case tok_char_const:
      it->scale_forbidden = true;
      it->repeat_forbidden = true;
      format_token();
      break;
    case tok_slash:
      // The comma may be left out before "/" and ":", so a scale factor
      // before them is an item of its own ("1P /" is "1P, /", "1P2/" is
      // "1P, 2/"); only the count before ":" is forbidden.
      break;
    case tok_colon:
      it->repeat_forbidden = true;
      break;
    default:
      if (it->repeat_seen)
        it->pending = pending_error{217, it->repeat_pos};
      else if (!(scan.cur_token == tok_comma && it->scale_seen))
        it->pending = pending_error{217, scan.token_pos};
      break;
  }
}

bool ends_item(int t) {
  return t == tok_comma || t == tok_rparen || t == tok_slash || t == tok_colon || t == tok_eos;
}

// item {sep item} up to the ")" that closes the list or the end of the
// statement; "," "/" and ":" separate items.
void parse_format_items() {
  for (;;) {
    stop_token_raise(tok_comma);
    stop_token_raise(tok_slash);
    stop_token_raise(tok_colon);
    item_state it{};
    item_prefix(&it);
    item_body(&it);
    if (it.scale_seen && it.scale_forbidden) {
      error_at(417, it.scale_pos);
      f.bad = true;
    }
    if (it.repeat_seen && it.repeat_forbidden) {
      error_at(404, it.repeat_pos);
      f.bad = true;
    }
    if (it.pending.msg) format_syntax_error(it.pending.msg, it.pending.pos);
    if (!ends_item(scan.cur_token)) format_syntax_error(206, scan.token_pos);
    stop_token_lower(tok_comma);
    stop_token_lower(tok_slash);
    stop_token_lower(tok_colon);
    int t = scan.cur_token;
    bool separated = false;  // "/" and ":" separate items as "," does
    if (t == tok_slash || t == tok_colon) {
      format_token();
      t = scan.cur_token;
      separated = true;
    }
    if (t == tok_rparen || t == tok_eos) return;
    if (t == tok_comma)
      format_token();
    else if (!separated)
      return;
  }
}

}  // namespace

// label FORMAT ( [item {, item}] )
int parse_format_stmt() {
  format_state_reset();
  f.bad = loop.label_name == nullptr;
  scan_restore(loop.after_keyword);
  format_token();
  source_pos_record open_pos = scan.token_pos;
  if (scan.cur_token != tok_lparen) {
    err_pos = scan.token_pos;
    syntax_error(228);
    f.bad = true;
  } else {
    format_token();
    if (scan.cur_token != tok_rparen) {
      stop_token_raise(tok_rparen);
      parse_format_items();
      stop_token_lower(tok_rparen);
    }
    if (!expect_token(tok_rparen, 231, 0)) f.bad = true;
  }
  const_value v;
  if (!f.bad) {
    uint32_t length = static_cast<uint32_t>(f.text.size());
    uint8_t* bytes = const_init_sized(&v, length + 1);
    std::memcpy(bytes, f.text.c_str(), length + 1);
    v.c.type = default_character_type(length);
    v.c.source_pos = open_pos;
  } else {
    const_init(&v);
  }
  constant* c = new_il_constant(&v);
  if (loop.label_name && loop.label_symbol && loop.label_symbol->entity)
    static_cast<label*>(loop.label_symbol->entity.get())->format_constant = c;
  return 1;
}
