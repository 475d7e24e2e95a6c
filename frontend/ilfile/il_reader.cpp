// The IL reader: checks the header line, reads the counts line, allocates one
// zero-filled table per kind, reads every record through the one description
// of its kind (il_schema.h) with the reading codec below, and resolves the
// references that need all records first (atoms and bounds blocks). Nothing is
// stored or followed before its index and length are checked, so a damaged
// file is rejected, never read out of bounds.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/huge_pages.h"
#include "frontend/base/pools.h"
#include "frontend/ilfile/il_file.h"
#include "frontend/ilfile/il_schema.h"
#include "frontend/model/il_walk.h"

namespace {

constexpr int msg_invalid_il_file = 78;

template <class T>
using WorkList = std::vector<T, HugePageAllocator<T>>;

// An atom reference waiting for the atom table: the field and the atom index.
struct AtomFixup {
  void* field;  // an atom* field, a void* entity that stands for an atom, or a pool_ref<atom>
  uint32_t index;
  bool short_ref;  // the field is a pool_ref<atom>
};

// A bounds-block reference waiting for the blocks: field, offset, size needed.
struct BoundsFixup {
  pool_ref_field<bound_info_entry>* field;
  uint32_t offset;
  uint32_t size;
};

// A bounds block read: its byte offset, byte size and record.
struct BlockAt {
  uint32_t offset;
  uint32_t size;
  bound_info_entry* block;
};

// Value bytes read for a constant: they must be as many as its type's size.
struct ValueCheck {
  const ::type* value_type;
  uint32_t length;
};

// A large file is read through a window that moves along it (see refill):
// the bytes from the window's start up to end are in memory, file_left more
// follow in the file. A line that the window holds whole, from p to its
// newline and 16 bytes beyond, is read as if the whole file were in memory:
// the short forms look at most 16 bytes ahead, and only a text steps over
// a newline.
struct IlWindow {
  int fd = -1;                    // the file, -1 when the whole file is in memory
  uint64_t file_at = 0;           // the file offset of the next byte to read into it
  uint64_t file_left = 0;         // bytes of the file not yet read into it
  unsigned char* start = nullptr;  // the window's buffer
  size_t capacity = 0;            // its bytes
  bool read_error = false;
};

struct IlReadState {
  const unsigned char* p;    // next byte of the file
  const unsigned char* end;  // one past its last byte (in memory)
  const unsigned char* line_end;  // while p is below it, the line at p is in memory whole
  IlWindow window;
  il_read_status status;     // first failure, il_read_ok while none
  char separator;            // '=' before a record's first field, then ','
  uint32_t counts[il_kind_count];  // from the counts line
  uint32_t seen[il_kind_count];    // records (bytes for kind 13) read so far
  void* tables[il_kind_count];     // record tables; for kind 12 the atom* the action
                                   // gave, or the atoms themselves without one
  uint8_t* index_seen[il_kind_count];  // per kind, a byte per index: 1 once read
  char* string_pool;               // kind 23: the strings, each NUL-ended
  uint8_t* value_pool;             // kind 24: the constants' value bytes
  size_t value_used;               // bytes of it used, padding included
  uint32_t cur_index;              // index (byte offset for kind 13) being read
  il_allocate_atom_fn allocate_atom;
  WorkList<AtomFixup> atom_fixups;
  WorkList<BoundsFixup> bounds_fixups;
  WorkList<BlockAt> blocks;
  WorkList<ValueCheck> value_checks;
  // Where each kind's records hold their list links (byte offsets within
  // the record): the cycle check follows the links in the tables themselves.
  std::vector<uint32_t> chain_offsets[il_kind_count];
  std::vector<symbol_entry*> symbols;  // in file order
};
IlReadState rd;

void il_reader_reset(const unsigned char* data, size_t size, il_allocate_atom_fn allocate_atom) {
  rd.p = data;
  rd.end = data + size;
  rd.line_end = rd.end;
  rd.window = IlWindow{};
  rd.status = il_read_ok;
  rd.separator = '=';
  std::memset(rd.counts, 0, sizeof rd.counts);
  std::memset(rd.seen, 0, sizeof rd.seen);
  std::memset(rd.tables, 0, sizeof rd.tables);
  std::memset(rd.index_seen, 0, sizeof rd.index_seen);
  rd.string_pool = nullptr;
  rd.value_pool = nullptr;
  rd.value_used = 0;
  rd.cur_index = 0;
  rd.allocate_atom = allocate_atom;
  rd.atom_fixups.clear();
  rd.bounds_fixups.clear();
  rd.blocks.clear();
  rd.value_checks.clear();
  for (auto& offsets : rd.chain_offsets) offsets.clear();
  rd.symbols.clear();
}

// Records the first failure; every later read then does nothing.
void fail(il_read_status why) {
  if (rd.status == il_read_ok) rd.status = why;
}
bool failed() { return rd.status != il_read_ok; }
// Bytes of the file from p on, in memory or not.
uint64_t remaining() { return static_cast<uint64_t>(rd.end - rd.p) + rd.window.file_left; }

// ---- The window over a large file ----

unsigned char* map_window_buffer(size_t bytes) { return static_cast<unsigned char*>(map_huge_pages(bytes)); }

// Moves the unread bytes to the window's start (into a buffer twice as large
// when they fill it) and reads as much of the file as fits after them. Sets
// line_end: just past the last newline that has 16 bytes after it in memory,
// or the end once the whole file is in memory. A read error ends the file
// and fails the reading.
void refill() {
  IlWindow& w = rd.window;
  size_t kept = static_cast<size_t>(rd.end - rd.p);
  if (kept == w.capacity) {
    size_t larger = w.capacity * 2;
    unsigned char* b = map_window_buffer(larger);
    if (!b) throw std::bad_alloc();
    std::memcpy(b, rd.p, kept);
    unmap_huge_pages(w.start, w.capacity);
    w.start = b;
    w.capacity = larger;
  } else if (kept) {
    std::memmove(w.start, rd.p, kept);
  }
  rd.p = w.start;
  size_t filled = kept;
  while (filled < w.capacity && w.file_left > 0) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(w.capacity - filled, w.file_left));
    ssize_t n = pread(w.fd, w.start + filled, want, static_cast<off_t>(w.file_at));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {  // an error, or the file ended before its stated size
      if (n < 0) w.read_error = true;
      w.file_left = 0;
      break;
    }
    filled += static_cast<size_t>(n);
    w.file_at += static_cast<uint64_t>(n);
    w.file_left -= static_cast<uint64_t>(n);
  }
  rd.end = w.start + filled;
  if (w.read_error) fail(il_read_bad_end);
  if (w.file_left == 0) {
    rd.line_end = rd.end;
    return;
  }
  rd.line_end = rd.p;
  if (filled > 16) {
    const void* nl = memrchr(rd.p, '\n', filled - 16);
    if (nl) rd.line_end = static_cast<const unsigned char*>(nl) + 1;
  }
}

// The line at p in memory whole (or the rest of the file).
[[gnu::noinline]] void refill_line() {
  while (rd.p >= rd.line_end && rd.window.file_left > 0) refill();
}
inline void ensure_line() {
  if (rd.p >= rd.line_end) refill_line();
}

// At least n bytes from p in memory (or the rest of the file).
void ensure_bytes(uint64_t n) {
  while (static_cast<uint64_t>(rd.end - rd.p) < n && rd.window.file_left > 0) refill();
}

bool expect(char c, il_read_status why) {
  if (failed()) return false;
  if (rd.p == rd.end || *rd.p != static_cast<unsigned char>(c)) {
    fail(why);
    return false;
  }
  ++rd.p;
  return true;
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// The kind each byte names as a kind letter, -1 for none: one look-up per
// reference instead of a search of the kind rows.
struct KindLetters {
  int8_t kind[256];
  KindLetters() {
    for (int c = 0; c < 256; ++c) kind[c] = static_cast<int8_t>(il_kind_of_letter(static_cast<char>(c)));
  }
};
const KindLetters kind_letters;
int kind_of_letter(unsigned char c) { return kind_letters.kind[c]; }

// The digits that lead eight bytes (the first byte lowest) and their value:
// a byte is a digit when neither taking '0' from it nor adding 0x46 ('9' to
// 0x7F) sets its top bit. A borrow or carry only comes from a byte below
// that is no digit, so the first non-digit is always found. The digits are
// combined pairwise: 2 digits per 16 bits, 4 per 32, 8 in all.
struct DigitRun {
  uint32_t length;  // 0 to 8
  uint32_t value;   // of the first length digits when length < 8
};
[[gnu::always_inline]] inline DigitRun leading_digits(const unsigned char* q) {
  uint64_t x = 0;
  std::memcpy(&x, q, 8);
  uint64_t from_zero = x - 0x3030303030303030u;
  uint64_t non_digit = (from_zero | (x + 0x4646464646464646u)) & 0x8080808080808080u;
  if (!non_digit) return {8, 0};
  uint32_t length = static_cast<uint32_t>(__builtin_ctzll(non_digit)) / 8;
  if (!length) return {0, 0};
  uint64_t d = from_zero << (64 - 8 * length);  // the digits at the top, zeros below
  d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FFu;
  d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFFu;
  d = (d * 10000 + (d >> 32)) & 0xFFFFFFFFu;
  return {length, static_cast<uint32_t>(d)};
}

// Unsigned decimal as the writer prints it: no sign, no leading zero. Nine
// digits always fit 32 bits, so only a tenth digit needs the range check.
// With eleven bytes or more left no digit test needs the end test: a number
// longer than ten digits is rejected at its eleventh.
bool read_u32(uint32_t* out, il_read_status why) {
  if (failed()) return false;
  const unsigned char* q = rd.p;
  const unsigned char* end = rd.end;
  if (end - q < 11) {  // near the end: every step tests the end too
    if (q == end || !is_digit(*q)) {
      fail(why);
      return false;
    }
    if (*q == '0') {
      rd.p = ++q;
      *out = 0;
      if (q != end && is_digit(*q)) fail(why);
      return !failed();
    }
    uint32_t v = 0;
    while (q != end && is_digit(*q)) {
      if (v > (UINT32_MAX - 9) / 10) {  // ten digits at most fit here
        uint64_t wide = uint64_t{v} * 10 + static_cast<uint32_t>(*q - '0');
        if (wide > UINT32_MAX) {
          rd.p = q + 1;
          fail(why);
          return false;
        }
      }
      v = v * 10 + static_cast<uint32_t>(*q++ - '0');
    }
    rd.p = q;
    *out = v;
    return true;
  }
  if constexpr (std::endian::native == std::endian::little) {
    DigitRun run = leading_digits(q);
    if (run.length == 0 || (run.length > 1 && *q == '0')) {  // no digit, or a leading zero
      fail(why);
      return false;
    }
    if (run.length < 8) {
      rd.p = q + run.length;
      *out = run.value;
      return true;
    }
  }
  uint32_t d = static_cast<uint32_t>(*q) - '0';
  if (d > 9) {
    fail(why);
    return false;
  }
  ++q;
  uint32_t v = d;
  if (v == 0) {
    rd.p = q;
    *out = 0;
    if (is_digit(*q)) {
      fail(why);
      return false;
    }
    return true;
  }
  for (int i = 1; i < 9; ++i) {
    d = static_cast<uint32_t>(*q) - '0';
    if (d > 9) {
      rd.p = q;
      *out = v;
      return true;
    }
    v = v * 10 + d;
    ++q;
  }
  d = static_cast<uint32_t>(*q) - '0';
  if (d <= 9) {  // a tenth digit
    uint64_t wide = uint64_t{v} * 10 + d;
    ++q;
    if (wide > UINT32_MAX || is_digit(*q)) {
      rd.p = q;
      fail(why);
      return false;
    }
    v = static_cast<uint32_t>(wide);
  }
  rd.p = q;
  *out = v;
  return true;
}

// Signed 32-bit decimal as "%ld" prints it ("-0" never occurs).
bool read_i32(int32_t* out) {
  if (failed()) return false;
  bool negative = rd.p != rd.end && *rd.p == '-';
  if (negative) ++rd.p;
  uint32_t magnitude = 0;
  if (!read_u32(&magnitude, il_read_bad_field)) return false;
  if (negative ? (magnitude == 0 || magnitude > 0x80000000u) : magnitude > INT32_MAX) {
    fail(il_read_bad_field);
    return false;
  }
  *out = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
  return true;
}

bool read_separator() {
  if (!expect(rd.separator, il_read_bad_field)) return false;
  rd.separator = ',';
  return true;
}

// The common short forms of a field, read at once when at least 16 bytes
// are left: the separator, then a number of one to seven digits without a
// leading zero. Anything else (and any fault) is left to the steps below,
// which read it again from its start.
constexpr bool digits_at_once = std::endian::native == std::endian::little;

// Whether the digits at q are a short number: one to seven, no leading zero.
[[gnu::always_inline]] inline bool short_number_at(const unsigned char* q, DigitRun* run) {
  *run = leading_digits(q);
  return run->length > 0 && run->length < 8 && (run->length == 1 || *q != '0');
}

[[gnu::always_inline]] inline bool at_separator(const unsigned char* q) {
  return !failed() && rd.end - q >= 16 && *q == static_cast<unsigned char>(rd.separator);
}

// The general form of a field's separator and signed number, out of line.
[[gnu::noinline]] bool read_separator_and_i32(int32_t* out) { return read_separator() && read_i32(out); }

// A field's separator and a signed number.
[[gnu::always_inline]] inline bool read_field_i32(int32_t* out) {
  if constexpr (digits_at_once) {
    DigitRun run{};
    if (at_separator(rd.p) && short_number_at(rd.p + 1, &run)) {
      rd.p += 1 + run.length;
      rd.separator = ',';
      *out = static_cast<int32_t>(run.value);  // seven digits fit
      return true;
    }
  }
  return read_separator_and_i32(out);
}

// A kind letter and, unless it is "0", an index: the reference's kind
// (0 for none) and index; the index is below its kind's count.
bool read_kind_index(int* kind, uint32_t* index) {
  if (failed()) return false;
  if (rd.p == rd.end) {
    fail(il_read_bad_field);
    return false;
  }
  int k = kind_of_letter(*rd.p);
  if (k < 0) {
    fail(il_read_bad_field);
    return false;
  }
  ++rd.p;
  *kind = k;
  *index = 0;
  if (k == 0) return true;
  if (!read_u32(index, il_read_bad_field)) return false;
  if (*index >= rd.counts[k]) {
    fail(il_read_bad_index);
    return false;
  }
  return true;
}

// A reference field of any form, out of line: as read_ref below.
[[gnu::noinline]] bool read_general_ref(int want, uint32_t* index) {
  if (!read_separator()) return false;
  int kind = 0;
  if (!read_kind_index(&kind, index)) return false;
  if (kind == 0) return false;
  if (kind != want) {
    fail(il_read_wrong_kind);
    return false;
  }
  return true;
}

// A reference field of kind want: its index, or false for "0" or a failure.
[[gnu::always_inline]] inline bool read_ref(int want, uint32_t* index) {
  if constexpr (digits_at_once) {
    // The short forms: ",0" and a letter of the wanted kind with an index.
    const unsigned char* q = rd.p;
    if (at_separator(q)) {
      int kind = kind_of_letter(q[1]);
      if (kind == 0) {
        rd.p = q + 2;
        rd.separator = ',';
        *index = 0;
        return false;
      }
      DigitRun run{};
      if (kind == want && short_number_at(q + 2, &run) && run.value < rd.counts[kind]) {
        rd.p = q + 2 + run.length;
        rd.separator = ',';
        *index = run.value;
        return true;
      }
    }
  }
  return read_general_ref(want, index);
}

// A string's bytes into the string pool: the text, or null when absent.
const char* read_text(uint32_t* length_out) {
  *length_out = 0;
  int32_t n = 0;
  if (!read_field_i32(&n)) return nullptr;
  if (n < 0) {
    fail(il_read_bad_field);
    return nullptr;
  }
  if (!expect('h', il_read_bad_field) || n == 0) return nullptr;
  uint32_t len = static_cast<uint32_t>(n);
  if (len > remaining()) {
    fail(il_read_bad_field);
    return nullptr;
  }
  ensure_bytes(uint64_t{len} + 16);
  uint64_t need = uint64_t{rd.seen[ilk_string_pool]} + len + 1;
  if (need > rd.counts[ilk_string_pool]) {
    fail(il_read_pool_overflow);
    return nullptr;
  }
  if (std::memchr(rd.p, 0, len)) {  // strings never hold a zero byte
    fail(il_read_bad_field);
    return nullptr;
  }
  char* s = rd.string_pool + rd.seen[ilk_string_pool];
  std::memcpy(s, rd.p, len);
  s[len] = '\0';
  rd.p += len;
  rd.seen[ilk_string_pool] = static_cast<uint32_t>(need);
  *length_out = len;
  ensure_line();  // the text may have held a newline
  return s;
}

int hex_value(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // the writer prints upper case only
}

struct IlReadCodec {
  static constexpr bool writing = false;
  bool module_mode() const { return false; }

  // F is a T* or a pool_ref to a T.
  template <class F>
  void ref(const char*, F& field) {
    using T = il_target_t<F>;
    field = nullptr;
    uint32_t index = 0;
    if (!read_ref(il_kind_of<T>::value, &index)) return;
    if constexpr (std::is_same_v<T, atom>) {
      if (rd.allocate_atom) {
        rd.atom_fixups.push_back({&field, index, !std::is_pointer_v<F>});
      } else {
        field = static_cast<atom*>(rd.tables[ilk_atom]) + index;
      }
    } else {
      field = static_cast<T*>(rd.tables[il_kind_of<T>::value]) + index;
    }
  }
  template <class F>
  void chain(const char* name, F& field) {
    ref(name, field);
    // A list links records of one kind: the field lies in a record of T's table.
    using T = il_target_t<F>;
    auto* record = static_cast<T*>(rd.tables[il_kind_of<T>::value]) + rd.cur_index;
    auto offset = static_cast<uint32_t>(reinterpret_cast<char*>(&field) - reinterpret_cast<char*>(record));
    std::vector<uint32_t>& offsets = rd.chain_offsets[il_kind_of<T>::value];
    if (std::find(offsets.begin(), offsets.end(), offset) == offsets.end()) offsets.push_back(offset);
  }
  void bounds(const char*, pool_ref_field<bound_info_entry>& field, uint32_t rank) {
    field = nullptr;
    uint32_t offset = 0;
    if (read_ref(ilk_bound_info_entry, &offset))
      rd.bounds_fixups.push_back({&field, offset, bound_info_size(rank)});
  }
  void entity_atom(const char*, pool_ref_field<void>& entity, atom*) {
    entity = nullptr;
    uint32_t index = 0;
    if (!read_ref(ilk_atom, &index)) return;
    if (rd.allocate_atom) {
      rd.atom_fixups.push_back({&entity, index, true});
    } else {
      entity = static_cast<atom*>(rd.tables[ilk_atom]) + index;
    }
  }
  void pos(const char*, source_pos_record& p) {
    if constexpr (digits_at_once) {
      // The short form: separator, short line number, ':', short column.
      const unsigned char* q = rd.p;
      DigitRun seq{}, column{};
      if (at_separator(q) && short_number_at(q + 1, &seq) && q[1 + seq.length] == ':') {
        const unsigned char* c = q + 2 + seq.length;
        if (rd.end - c >= 8 && short_number_at(c, &column) && column.value <= UINT16_MAX) {
          rd.p = c + column.length;
          rd.separator = ',';
          p.seq = seq.value;
          p.column = static_cast<uint16_t>(column.value);
          return;
        }
      }
    }
    uint32_t seq = 0, column = 0;
    if (!read_separator() || !read_u32(&seq, il_read_bad_field) || !expect(':', il_read_bad_field) ||
        !read_u32(&column, il_read_bad_field))
      return;
    if (column > UINT16_MAX) return fail(il_read_bad_field);
    p.seq = seq;
    p.column = static_cast<uint16_t>(column);
  }
  template <class I>
  void num(const char*, I& field) {
    int32_t v = 0;
    if (!read_field_i32(&v)) return;
    if constexpr (sizeof(I) < 4) {  // a narrow field: the writer's value fits it
      if (v < 0 || v > static_cast<int32_t>(std::numeric_limits<I>::max()))
        return fail(il_read_bad_field);
      field = static_cast<I>(v);
    } else {
      field = static_cast<I>(v);
    }
  }
  template <class I>
  void code(const char*, I& field, int count) {
    int32_t v = 0;
    if (!read_field_i32(&v)) return;
    if (v < 0 || v >= count) return fail(il_read_bad_code);
    field = static_cast<I>(v);
  }
  void kind_row(const char*, uint32_t& field, int family) {
    int32_t v = 0;
    if (!read_field_i32(&v)) return;
    if (v == -1) {
      field = any_kind;
      return;
    }
    if (family < 0 || v < 0 || v >= kind_family_rows[family]) return fail(il_read_bad_code);
    field = static_cast<uint32_t>(v);
  }
  // A run of flag letters is measured once, at the separator before it;
  // each flag of the run is then read without testing its letter or the
  // end again. A flag read from anywhere else is read one letter at a time.
  const unsigned char* flag_run = nullptr;  // the run's first letter
  uint32_t flags_read = 0;                  // letters of it read so far
  uint32_t flag_letters = 0;                // its length (up to 16)
  void begin_flags() {
    flags_read = flag_letters = 0;
    if (!read_separator() || rd.end - rd.p < 16 || !digits_at_once) return;
    flag_run = rd.p;
    flag_letters = flag_letters_at(rd.p);
    if (flag_letters == 8) flag_letters += flag_letters_at(rd.p + 8);
  }
  // How many of the 8 bytes at q, from the first on, are 'Y' or 'N'.
  static uint32_t flag_letters_at(const unsigned char* q) {
    uint64_t x = 0;
    std::memcpy(&x, q, 8);
    auto equal = [x](uint64_t letters) {  // the top bit of each byte equal to the letter
      uint64_t t = x ^ letters;
      return ~(((t & 0x7F7F7F7F7F7F7F7Fu) + 0x7F7F7F7F7F7F7F7Fu) | t) & 0x8080808080808080u;
    };
    uint64_t letter = equal(0x5959595959595959u) | equal(0x4E4E4E4E4E4E4E4Eu);  // 'Y', 'N'
    uint64_t other = ~letter & 0x8080808080808080u;
    return other ? static_cast<uint32_t>(__builtin_ctzll(other)) / 8 : 8;
  }
  bool read_flag() {
    if (flags_read < flag_letters && rd.p == flag_run + flags_read) {
      bool yes = flag_run[flags_read] == 'Y';
      rd.p = flag_run + ++flags_read;
      return yes;
    }
    if (failed()) return false;
    if (rd.p != rd.end && (*rd.p == 'Y' || *rd.p == 'N')) return *rd.p++ == 'Y';
    fail(il_read_bad_field);
    return false;
  }
  void flag(const char*, bool& b) { b = read_flag(); }
  void flag_bit(const char*, uint32_t& word, uint32_t bit) {
    if (read_flag()) {
      word |= 1u << bit;
    } else {
      word &= ~(1u << bit);
    }
  }
  void str(const char*, const char*& s) {
    uint32_t length = 0;
    s = read_text(&length);
  }
  // An atom's name: an empty text is an empty name, not an absent one.
  void atom_text(const char*, const char*& s, uint32_t& length) {
    s = read_text(&length);
    if (!s) s = "";
  }
  void bound(const char*, bound_record& b) {
    code("bound kind", b.kind, bk_count);
    if (b.kind == bk_constant) {
      num("value", b.value);
    } else if (b.kind == bk_expression || b.kind == bk_same_as) {
      ref("expr", b.expr);
    }
  }
  // The size field of a bounds block: the block lies within the counted
  // bytes, and its bound records are allocated for the rank it gives.
  void block_size(const char*, bound_info_entry& e) {
    e.rank = 0;
    e.bounds = nullptr;
    int32_t size = 0;
    if (!read_field_i32(&size)) return;
    if (size < 8 || (size - 8) % 16 != 0) return fail(il_read_bad_bounds);
    uint32_t s = static_cast<uint32_t>(size);
    if (uint64_t{rd.cur_index} + s > rd.counts[ilk_bound_info_entry]) return fail(il_read_bad_bounds);
    uint32_t rank = bound_info_rank(s);
    if (rank) e.bounds = static_cast<bound_record*>(pool_alloc_zeroed(2 * size_t{rank} * sizeof(bound_record)));
    e.rank = rank;
    rd.blocks.push_back({rd.cur_index, s, &e});
    rd.seen[ilk_bound_info_entry] += s;
  }
  void value_bytes(const char*, pool_ref_field<uint8_t>& value, const type* t) {
    value = nullptr;
    int32_t n = 0;
    if (!read_field_i32(&n)) return;
    if (n < 0) return fail(il_read_bad_field);
    if (!expect('x', il_read_bad_field)) return;
    uint32_t len = static_cast<uint32_t>(n);
    if (len > remaining() / 2) return fail(il_read_bad_field);
    ensure_bytes(2 * uint64_t{len} + 16);
    if (uint64_t{rd.seen[ilk_value_pool]} + len > rd.counts[ilk_value_pool])
      return fail(il_read_pool_overflow);
    // Each constant's bytes start on an 8-byte boundary, where records
    // can refer to them.
    uint8_t* bytes = rd.value_pool + rd.value_used;
    rd.value_used += round_up(len, 8);
    for (uint32_t i = 0; i < len; ++i) {
      int hi = hex_value(rd.p[0]), lo = hex_value(rd.p[1]);
      if (hi < 0 || lo < 0) return fail(il_read_bad_field);
      bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
      rd.p += 2;
    }
    rd.seen[ilk_value_pool] += len;
    if (len) value = bytes;
    rd.value_checks.push_back({t, len});
  }
  void begin_group(const char*) {}
  void end_group() {}
  void require(bool ok) {
    if (!ok) fail(il_read_bad_field);
  }
};

bool read_header_line() {
  ensure_bytes(64);
  ensure_line();
  char expected[64];
  int n = std::snprintf(expected, sizeof expected, "VAROK IL file (v%s)\f\f", il_format_version);
  if (n != 24 || remaining() < 24 || std::memcmp(rd.p, expected, 24) != 0) {
    fail(il_read_bad_header);
    return false;
  }
  rd.p += 24;
  return expect('\n', il_read_bad_header);
}

// "0" and 24 letter-count pairs in any order, each kind exactly once.
bool read_counts_line() {
  ensure_line();
  bool given[il_kind_count] = {};
  for (int pair = 0; pair < il_kind_count; ++pair) {
    if (pair > 0 && !expect(',', il_read_bad_counts)) return false;
    if (rd.p == rd.end) {
      fail(il_read_bad_counts);
      return false;
    }
    int kind = kind_of_letter(*rd.p);
    if (kind < 0 || given[kind]) {
      fail(il_read_bad_counts);
      return false;
    }
    ++rd.p;
    given[kind] = true;
    if (kind != 0 && !read_u32(&rd.counts[kind], il_read_bad_counts)) return false;
  }
  if (!expect('\n', il_read_bad_counts)) return false;
  if (rd.counts[ilk_il_header] != 1) {  // every file has exactly one header
    fail(il_read_bad_counts);
    return false;
  }
  return true;
}

// The slot size of a kind's table, 0 for kinds that have none.
size_t slot_size(int kind) {
  switch (kind) {
#define IL_RECORD(k, T) \
  case k:               \
    return sizeof(::T);
#include "frontend/ilfile/il_records.def"
    default:
      return 0;
  }
}

// The tables of a large file are filled record after record, each page
// first touched by a store. They share one block of the pool, aligned to a
// huge page and advised as huge-page memory. A block beyond a gigabyte is not
// asked for: the tables then come one by one from the pool, as small files'
// tables do.
constexpr size_t largest_table_block = size_t{1} << 30;
constexpr size_t cache_line = 64;

// Counts that no file of this size could hold are rejected before anything
// is allocated: every record line takes at least 5 bytes, a bounds block of
// b bytes at least b / 4, a string of n pool bytes at least n, and n value
// bytes 2 n. So the tables never grow beyond a small multiple of the file.
bool allocate_tables() {
  uint64_t rest = remaining();
  uint64_t records = 0;
  for (int k = 1; k <= ilk_symbol_entry; ++k)
    if (k != ilk_bound_info_entry) records += rd.counts[k];
  if (records > rest / 5 || rd.counts[ilk_bound_info_entry] > 4 * rest ||
      rd.counts[ilk_string_pool] > rest || rd.counts[ilk_value_pool] > rest / 2) {
    fail(il_read_too_large);
    return false;
  }
  // Bytes of each table; the string and value pools are kinds 23 and 24.
  // The bytes that tell which indices were read come first, a byte per
  // record of each kind (but bounds blocks), zero-filled like the tables.
  // Each starts on a cache line (in the block of a large file, which starts
  // on a huge page): a 64-byte record then takes one line, not parts of two.
  size_t seen_bytes = round_up(records, cache_line);
  size_t bytes[il_kind_count] = {};
  size_t total = seen_bytes;
  for (int k = 1; k < il_kind_count; ++k) {
    size_t n = rd.counts[k];
    if (n == 0 || k == ilk_bound_info_entry || k == ilk_symbol_entry) continue;
    size_t size = 1;  // a pool byte
    if (k == ilk_value_pool) {
      n += 7 * size_t{rd.counts[ilk_constant]};  // room to start each constant's bytes on 8
    } else if (k == ilk_atom) {
      size = rd.allocate_atom ? sizeof(atom*) : sizeof(atom);
    } else if (k <= ilk_symbol_entry) {
      size = slot_size(k);
    }
    bytes[k] = round_up(size * n, cache_line);
    total += bytes[k];
  }
  char* block = nullptr;
  if (total >= 2 * huge_page_size && total <= largest_table_block) {
    char* whole = static_cast<char*>(pool_alloc_zeroed(total + 2 * huge_page_size));
    block = reinterpret_cast<char*>(round_up(reinterpret_cast<uintptr_t>(whole), huge_page_size));
    advise_huge_pages(block, round_up(total, huge_page_size));
  }
  auto* seen = static_cast<uint8_t*>(block ? static_cast<void*>(block) : pool_alloc_zeroed(seen_bytes));
  if (block) block += seen_bytes;
  for (int k = 1; k <= ilk_symbol_entry; ++k) {
    if (k == ilk_bound_info_entry) continue;
    rd.index_seen[k] = seen;
    seen += rd.counts[k];
  }
  for (int k = 1; k < il_kind_count; ++k) {
    if (!bytes[k]) continue;
    void* table = nullptr;
    if (block) {
      table = block;
      block += bytes[k];
    } else {
      table = pool_alloc_zeroed(bytes[k]);
    }
    if (k == ilk_string_pool) {
      rd.string_pool = static_cast<char*>(table);
    } else if (k == ilk_value_pool) {
      rd.value_pool = static_cast<uint8_t*>(table);
    } else {
      rd.tables[k] = table;
    }
  }
  // The working lists get room up front, so they do not copy themselves
  // over and over as a large file fills them; room that stays unused is
  // never touched.
  if (rd.allocate_atom) rd.atom_fixups.reserve(records);
  rd.bounds_fixups.reserve(rd.counts[ilk_type] + rd.counts[ilk_alloc]);  // one per record at most
  rd.value_checks.reserve(rd.counts[ilk_constant]);  // one per constant at most
  rd.blocks.reserve(rd.counts[ilk_bound_info_entry] / 8);  // a block takes 8 bytes or more
  return true;
}

// A record of a kind with a table: it lies at its index in that table.
template <class T>
void read_into_table(uint32_t index) {
  IlReadCodec c;
  auto* e = static_cast<T*>(rd.tables[il_kind_of<T>::value]) + index;
  e->header = index;
  il_fields(c, *e);
}

// An atom record: the allocation action makes the atom from its text; the
// table keeps the atom it returns. Without an action the table holds the
// atoms themselves.
template <>
void read_into_table<atom>(uint32_t index) {
  IlReadCodec c;
  if (!rd.allocate_atom) {
    atom* e = static_cast<atom*>(rd.tables[ilk_atom]) + index;
    e->header = index;
    il_fields(c, *e);
    return;
  }
  atom text{};
  il_fields(c, text);
  if (failed()) return;
  atom* a = rd.allocate_atom(text.text);
  // The action may hand back a shared atom: its walk marks stay as they are.
  if (a) a->header = (a->header & ~il_number_mask) | index;
  static_cast<atom**>(rd.tables[ilk_atom])[index] = a;
}

// A record that lives outside the tables: a fresh record from the pool.
template <class T>
T* read_pooled(uint32_t index) {
  IlReadCodec c;
  auto* e = pool_new<T>();
  e->header = index;
  il_fields(c, *e);
  return e;
}

// A bounds block lies at its byte offset; the blocks are placed once all
// are read.
template <>
void read_into_table<bound_info_entry>(uint32_t index) {
  read_pooled<bound_info_entry>(index);
}

// A symbol is handed to the symbol action once the whole file is read.
template <>
void read_into_table<symbol_entry>(uint32_t index) {
  rd.symbols.push_back(read_pooled<symbol_entry>(index));
}

// One record of kind `kind` with index `index` (already checked below count).
void read_record(int kind, uint32_t index) {
  rd.cur_index = index;
  rd.separator = '=';
  if (kind != ilk_bound_info_entry) {
    uint8_t& seen = rd.index_seen[kind][index];
    if (seen) return fail(il_read_duplicate);
    seen = 1;
    ++rd.seen[kind];
  }
  switch (kind) {
#define IL_RECORD(k, T)           \
  case k:                         \
    read_into_table<::T>(index); \
    return;
#include "frontend/ilfile/il_records.def"
    default:
      fail(il_read_bad_record);
  }
}

// Records until the end line "0", which must be the file's last line.
void read_records() {
  while (!failed()) {
    ensure_line();
    if (rd.p == rd.end) return fail(il_read_bad_end);
    int kind = kind_of_letter(*rd.p);
    if (kind == 0) {
      ++rd.p;
      if (!expect('\n', il_read_bad_end)) return;
      if (rd.p != rd.end) fail(il_read_bad_end);
      return;
    }
    if (kind < 1 || kind > ilk_symbol_entry) return fail(il_read_bad_record);
    ++rd.p;
    uint32_t index = 0;
    DigitRun run{};
    if (digits_at_once && rd.end - rd.p >= 16 && short_number_at(rd.p, &run)) {
      rd.p += run.length;
      index = run.value;
    } else if (!read_u32(&index, il_read_bad_record)) {
      return;
    }
    if (index >= rd.counts[kind]) return fail(il_read_bad_index);
    read_record(kind, index);
    expect('\n', il_read_bad_field);
  }
}

// The bounds blocks cover the counted bytes exactly, one after the other;
// every reference names a block's first byte and a block of the needed size.
void resolve_bounds() {
  std::sort(rd.blocks.begin(), rd.blocks.end(),
            [](const BlockAt& a, const BlockAt& b) { return a.offset < b.offset; });
  uint64_t next = 0;
  for (const BlockAt& b : rd.blocks) {
    if (b.offset != next) return fail(il_read_bad_bounds);
    next += b.size;
  }
  if (next != rd.counts[ilk_bound_info_entry]) return fail(il_read_count_mismatch);
  for (const BoundsFixup& f : rd.bounds_fixups) {
    auto it = std::lower_bound(rd.blocks.begin(), rd.blocks.end(), f.offset,
                               [](const BlockAt& b, uint32_t off) { return b.offset < off; });
    if (it == rd.blocks.end() || it->offset != f.offset || it->size != f.size)
      return fail(il_read_bad_bounds);
    *f.field = it->block;
  }
}

void resolve_atoms() {
  if (!rd.allocate_atom) return;  // the references point into the atom table
  auto** table = static_cast<atom**>(rd.tables[ilk_atom]);
  for (const AtomFixup& f : rd.atom_fixups) {
    atom* a = table[f.index];
    if (f.short_ref)
      *static_cast<pool_ref_field<atom>*>(f.field) = a;
    else
      std::memcpy(f.field, &a, sizeof a);
  }
}

void check_values() {
  for (const ValueCheck& v : rd.value_checks) {
    uint32_t need = v.value_type ? v.value_type->size : 0;
    if (need != v.length) return fail(il_read_bad_value);
  }
}

// Whether the list links of T's records are pool_refs (all are, or none).
template <class T>
constexpr bool short_chains = requires { requires std::is_same_v<decltype(T::next), pool_ref<T>>; };

// No list runs into itself: the links of each kind form no cycle. The links
// are followed where the records hold them.
// The records of kind k, of size bytes each (a constant, so that a link's
// index costs no division).
template <class T>
void check_chains_of(int k) {
  constexpr size_t size = sizeof(T);
  const std::vector<uint32_t>& offsets = rd.chain_offsets[k];
  uint32_t count = rd.counts[k];
  if (offsets.empty() || count == 0) return;
  const char* table = static_cast<const char*>(rd.tables[k]);
  // The record that link number `link` of record `node` leads to, or none.
  auto target = [&](uint32_t node, uint32_t link, uint32_t* to) {
    const void* p = nullptr;
    const char* field = table + node * size + offsets[link];
    if constexpr (short_chains<T>)
      p = reinterpret_cast<const pool_ref_field<T>*>(field)->get();
    else
      std::memcpy(&p, field, sizeof p);
    if (!p) return false;
    *to = static_cast<uint32_t>((static_cast<const char*>(p) - table) / size);
    return true;
  };
  auto links = static_cast<uint32_t>(offsets.size());
  // The state of each record is kept in the bytes that told which indices
  // were read, all 1 by now: 1 not reached, 2 open, 3 done.
  uint8_t* state = rd.index_seen[k];
  constexpr uint8_t fresh = 1, open = 2, done = 3;
  if (links == 1) {
    // One link per record: each record starts a path that ends in none,
    // in a record of a path already followed, or in a record of its own
    // path, which is a cycle.
    for (uint32_t start = 0; start < count; ++start) {
      if (state[start] != fresh) continue;
      uint32_t node = start, next = 0;
      for (;;) {
        state[node] = open;
        if (!target(node, 0, &next) || state[next] == done) break;
        if (state[next] == open) return fail(il_read_cycle);
        node = next;
      }
      for (node = start; state[node] == open;) {
        state[node] = done;
        if (!target(node, 0, &node)) break;
      }
    }
    return;
  }
  // Depth-first search with an explicit stack.
  WorkList<std::pair<uint32_t, uint32_t>> stack;  // record, next link
  for (uint32_t start = 0; start < count; ++start) {
    if (state[start] != fresh) continue;
    state[start] = open;
    stack.push_back({start, 0});
    while (!stack.empty()) {
      auto& [node, link] = stack.back();
      if (link == links) {
        state[node] = done;
        stack.pop_back();
        continue;
      }
      uint32_t next = 0;
      if (!target(node, link++, &next)) continue;
      if (state[next] == open) return fail(il_read_cycle);
      if (state[next] == fresh) {
        state[next] = open;
        stack.push_back({next, 0});
      }
    }
  }
}

void check_chains() {
  for (int k = 1; k <= ilk_symbol_entry && !failed(); ++k) {
    switch (k) {
#define IL_RECORD(kind, T)     \
  case kind:                   \
    check_chains_of<::T>(kind); \
    break;
#include "frontend/ilfile/il_records.def"
      default:
        break;
    }
  }
}

// The walker's mark of every record in the tables and of every bounds block
// back as the reader set it: the mark bit of the record's index (offset for
// a bounds block). Atoms only when the table holds them; symbols are never
// walked from the header.
void restore_marks() {
  auto restore = [](il_entry_header* h, uint32_t index) {
    *h = (*h & ~il_walk_mark) | (index & il_walk_mark);
  };
  for (int k = 1; k <= ilk_symbol_entry; ++k) {
    if (k == ilk_bound_info_entry || k == ilk_symbol_entry || !rd.tables[k]) continue;
    if (k == ilk_atom && rd.allocate_atom) continue;
    char* table = static_cast<char*>(rd.tables[k]);
    size_t size = k == ilk_atom ? sizeof(atom) : slot_size(k);
    for (uint32_t i = 0; i < rd.counts[k]; ++i)
      restore(reinterpret_cast<il_entry_header*>(table + i * size), i);
  }
  for (const BlockAt& b : rd.blocks) restore(&b.block->header, b.offset);
}

// Every walk of the graph stays within il_walk_depth_limit: one walk from the
// header without visitors, as the IL writer walks it, stops quietly at the
// limit. The walk state of the caller is kept. The walk's second pass puts
// the marks back; when the atoms are the reader's own, a sweep of the tables
// does that instead, at a fraction of the cost, or nothing does, when the
// caller asked to have them left (il_read_leave_walk_marks). A file rejected here may
// leave the walk marks of atoms it shares with the caller changed; il_read
// then ends the run, and callers of il_read_buffer give atoms of their own.
bool leave_walk_marks = false;  // see il_read_leave_walk_marks

void check_depth() {
  WalkState saved = walk;
  walk = WalkState{};
  walk.quiet_too_deep = true;
  void* root = rd.tables[ilk_il_header];
  uint32_t size = il_entry_size(ilk_il_header);
  if (rd.allocate_atom) {
    il_walk(root, ilk_il_header, size, nullptr, nullptr, nullptr, nullptr);
  } else {
    il_walk_once(root, ilk_il_header, size, nullptr);
    if (!leave_walk_marks) restore_marks();
  }
  bool too_deep = walk.too_deep;
  walk = saved;
  if (too_deep) fail(il_read_too_deep);
}

}  // namespace

namespace {

// The whole reading once rd stands at the file's first byte.
il_read_result read_file(il_receive_symbol_fn receive_symbol) {
  if (read_header_line() && read_counts_line() && allocate_tables()) read_records();
  if (!failed()) {
    for (int k = 1; k < il_kind_count; ++k)
      if (rd.seen[k] != rd.counts[k]) fail(il_read_count_mismatch);
  }
  if (!failed()) resolve_bounds();
  if (!failed()) check_values();
  if (!failed()) check_chains();
  if (failed()) return {rd.status, nullptr};
  resolve_atoms();
  check_depth();
  if (failed()) return {rd.status, nullptr};
  for (symbol_entry* s : rd.symbols)
    if (receive_symbol) receive_symbol(s->name, s->cls, s->entity);
  rd.symbols.clear();
  return {il_read_ok, static_cast<il_header*>(rd.tables[ilk_il_header])};
}

}  // namespace

il_read_result il_read_buffer(const unsigned char* data, size_t size,
                              il_allocate_atom_fn allocate_atom,
                              il_receive_symbol_fn receive_symbol) {
  il_reader_reset(data, size, allocate_atom);
  return read_file(receive_symbol);
}

void il_restore_walk_marks() { restore_marks(); }

void il_read_leave_walk_marks(bool leave) { leave_walk_marks = leave; }

namespace {

// Where the rest of a regular file lies: its descriptor, the offset where
// the stream's reader stands and the file's size. False when the stream is
// no regular file.
struct RegularRest {
  int fd = -1;
  size_t offset = 0;
  size_t size = 0;
};
bool regular_rest(FILE* stream, RegularRest* rest) {
  struct stat st;
  int fd = fileno(stream);
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
      static_cast<uint64_t>(st.st_size) >= SIZE_MAX / 4)
    return false;
  off_t at = ftello(stream);  // where the stream's reader stands
  if (at < 0 || at > st.st_size) return false;
  *rest = {fd, static_cast<size_t>(at), static_cast<size_t>(st.st_size)};
  return true;
}

// The rest of a small regular file mapped into memory, so its bytes are read
// where the page cache holds them instead of being copied into a buffer
// first. Empty when it cannot be mapped.
struct MappedRest {
  void* base = MAP_FAILED;
  size_t length = 0;
  size_t offset = 0;
  explicit MappedRest(const RegularRest& rest) {
    length = rest.size;
    offset = rest.offset;
    base = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, rest.fd, 0);
  }
  ~MappedRest() {
    if (base != MAP_FAILED) munmap(base, length);
  }
  MappedRest(const MappedRest&) = delete;
  MappedRest& operator=(const MappedRest&) = delete;
  bool mapped() const { return base != MAP_FAILED; }
  const unsigned char* data() const { return static_cast<const unsigned char*>(base) + offset; }
  size_t size() const { return length - offset; }
};

// The rest of a large file is read through a window of a few huge pages
// rather than mapped: a mapping costs a page-table entry per 4 KB to set up
// and tear down, and a TLB miss as each page is first read, together far more
// than the copy into a window that stays in the cache.
size_t windowed_from = 8 * huge_page_size;
size_t window_bytes = huge_page_size;

// The reading of the rest through a window that starts as buffer (of
// window_bytes).
il_read_result read_windowed(const RegularRest& rest, unsigned char* buffer,
                             il_allocate_atom_fn allocate_atom,
                             il_receive_symbol_fn receive_symbol) {
  il_reader_reset(buffer, 0, allocate_atom);
  IlWindow& w = rd.window;
  w.fd = rest.fd;
  w.file_at = rest.offset;
  w.file_left = rest.size - rest.offset;
  w.start = buffer;
  w.capacity = window_bytes;
  il_read_result r = read_file(receive_symbol);
  unmap_huge_pages(w.start, w.capacity);
  rd.window = IlWindow{};
  rd.p = rd.end = rd.line_end = nullptr;
  return r;
}

}  // namespace

void il_read_set_window(size_t from, size_t bytes) {
  windowed_from = from;
  window_bytes = std::max<size_t>(bytes, 1);
}

il_read_result il_read_windowed(int fd, size_t offset, size_t window,
                                il_allocate_atom_fn allocate_atom,
                                il_receive_symbol_fn receive_symbol) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) < offset)
    return {il_read_bad_header, nullptr};
  RegularRest rest{fd, offset, static_cast<size_t>(st.st_size)};
  size_t saved = window_bytes;
  window_bytes = std::max<size_t>(window, 1);
  unsigned char* buffer = map_window_buffer(window_bytes);
  if (!buffer) throw std::bad_alloc();
  il_read_result r = read_windowed(rest, buffer, allocate_atom, receive_symbol);
  window_bytes = saved;
  return r;
}

il_header* il_read(FILE* stream, il_allocate_atom_fn allocate_atom,
                   il_receive_symbol_fn receive_symbol) {
  RegularRest rest;
  if (regular_rest(stream, &rest)) {
    // The stream ends where a reading of it to the end would leave it.
    unsigned char* window = nullptr;
    if (rest.size - rest.offset >= windowed_from) window = map_window_buffer(window_bytes);
    if (window && fseeko(stream, 0, SEEK_END) == 0) {
      il_read_result r = read_windowed(rest, window, allocate_atom, receive_symbol);
      if (r.status != il_read_ok) catastrophe_here(msg_invalid_il_file);
      return r.header;
    }
    if (window) unmap_huge_pages(window, window_bytes);
    MappedRest map(rest);
    if (map.mapped() && fseeko(stream, 0, SEEK_END) == 0) {
      il_read_result r = il_read_buffer(map.data(), map.size(), allocate_atom, receive_symbol);
      if (r.status != il_read_ok) catastrophe_here(msg_invalid_il_file);
      return r.header;
    }
  }
  // Otherwise the buffer starts at 64 KB and doubles as it fills. Its bytes
  // are not cleared first: fread writes each before the reader looks at it.
  size_t capacity = 65536;
  std::unique_ptr<unsigned char[]> data(new unsigned char[capacity]);
  size_t used = 0;
  for (;;) {
    used += std::fread(data.get() + used, 1, capacity - used, stream);
    if (used < capacity) break;  // end of file or an error
    if (capacity > SIZE_MAX / 4) catastrophe_here(msg_invalid_il_file);
    std::unique_ptr<unsigned char[]> larger(new unsigned char[capacity * 2]);
    std::memcpy(larger.get(), data.get(), used);
    data = std::move(larger);
    capacity *= 2;
  }
  if (std::ferror(stream)) catastrophe_here(msg_invalid_il_file);
  il_read_result r = il_read_buffer(data.get(), used, allocate_atom, receive_symbol);
  if (r.status != il_read_ok) catastrophe_here(msg_invalid_il_file);
  return r.header;
}
