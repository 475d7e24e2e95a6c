// The IL writer: a two-pass walk over the entry graph. The first pass numbers
// the entries of each kind and sums the pool sizes, the second prints the
// header line, the counts line and one record per entry, each record through
// the one description of its kind (il_schema.h) with the writing codec below.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "frontend/base/diagnostics.h"
#include "frontend/base/host.h"
#include "frontend/base/il_output.h"
#include "frontend/base/pools.h"
#include "frontend/ilfile/il_file.h"
#include "frontend/ilfile/il_schema.h"
#include "frontend/model/il_walk.h"

namespace {

constexpr int msg_write_failed = 261;
constexpr int msg_too_many_entries = 394;  // "out of memory": no file could hold them

// The writer's own output buffer: records are put together here and handed
// to the stream in large blocks instead of a library call per character.
constexpr size_t out_buffer_size = 1 << 16;

struct IlWriteState {
  FILE* out;                         // the stream the records go to
  char buffer[out_buffer_size];      // bytes not yet handed to out
  size_t buffered;                   // bytes of buffer in use
  uint32_t counts[il_kind_count];    // per kind: records (bytes for kind 13, pools)
  char separator;                    // '=' before a record's first field, then ','
  bool module_mode;                  // a module file is being written
  PoolMarks numbered;                // entries numbered by this walk
};
IlWriteState wr;

void il_writer_reset(FILE* out, bool module_mode) {
  wr.out = out;
  wr.buffered = 0;
  std::memset(wr.counts, 0, sizeof wr.counts);
  wr.separator = '=';
  wr.module_mode = module_mode;
  wr.numbered.open();
}

// A fault of the graph handed to the writer (never of user input): the run
// ends with an internal error rather than write a file that reads back wrong.
[[noreturn]] void il_writer_fault(const char* what) {
  report_diagnostic("%s", err_pos, sev_internal, {what});
  exit_with_hook(sev_internal);
}

// Hands the buffered bytes to the stream; its errors are looked at when the
// file is closed.
[[gnu::noinline]] void flush_buffer() {
  if (wr.buffered) std::fwrite(wr.buffer, 1, wr.buffered, wr.out);
  wr.buffered = 0;
}

// Room for n more bytes in the buffer (n at most its size).
inline void make_room(size_t n) {
  if (out_buffer_size - wr.buffered < n) flush_buffer();
}

inline void put_char(char c) {
  make_room(1);
  wr.buffer[wr.buffered++] = c;
}

void put_bytes(const char* s, size_t n) {
  if (n >= out_buffer_size) {
    flush_buffer();
    std::fwrite(s, 1, n, wr.out);
    return;
  }
  make_room(n);
  std::memcpy(wr.buffer + wr.buffered, s, n);
  wr.buffered += n;
}

// The decimal digits of v, most significant first, written from the end of
// the buffer at end backwards; returns where they start.
char* decimal_digits(uint32_t v, char* end) {
  static constexpr char pairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* p = end;
  while (v >= 100) {
    uint32_t pair = v % 100;
    v /= 100;
    *--p = pairs[2 * pair + 1];
    *--p = pairs[2 * pair];
  }
  if (v >= 10) {
    *--p = pairs[2 * v + 1];
    *--p = pairs[2 * v];
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return p;
}

// The number of decimal digits of v.
size_t decimal_length(uint32_t v) {
  static constexpr uint32_t powers[] = {10u, 100u, 1000u, 10000u, 100000u,
                                        1000000u, 10000000u, 100000000u, 1000000000u};
  size_t n = 1;
  while (n < 10 && v >= powers[n - 1]) ++n;
  return n;
}

void put_decimal(uint32_t v) {
  make_room(10);
  if (v < 10) {
    wr.buffer[wr.buffered++] = static_cast<char>('0' + v);
    return;
  }
  size_t n = decimal_length(v);
  decimal_digits(v, wr.buffer + wr.buffered + n);
  wr.buffered += n;
}

void put_separator() {
  put_char(wr.separator);
  wr.separator = ',';
}

// "%ld" of a 32-bit value: a value with the top bit set shows as negative.
void put_int32(int32_t v) {
  if (v < 0) {
    put_char('-');
    put_decimal(0u - static_cast<uint32_t>(v));
  } else {
    put_decimal(static_cast<uint32_t>(v));
  }
}

// The kind letter and, for kinds other than 0, the number.
void put_kind_index(int kind, uint32_t index) {
  put_char(il_kind_letter(kind));
  if (kind != 0) put_decimal(index);
}

// A reference: "0" for none, else letter and number. An entry that this walk
// did not number has no number of this file: its number would name another
// entry. Test builds stop there; others drop the link.
void put_ref(const void* entry, int kind) {
  put_separator();
  if (entry && !wr.numbered.contains(entry)) {
#ifdef NDEBUG
    entry = nullptr;
#else
    il_writer_fault("IL reference to an entry that was not numbered");
#endif
  }
  if (!entry) {
    put_kind_index(0, 0);
    return;
  }
  put_kind_index(kind, *static_cast<const il_entry_header*>(entry) & il_number_mask);
}

template <class I>
int32_t as_int32(I v) {
  if constexpr (std::is_same_v<I, bool>) {
    return v ? 1 : 0;
  } else if constexpr (std::is_signed_v<I>) {
    return static_cast<int32_t>(v);
  } else {
    return static_cast<int32_t>(static_cast<uint32_t>(v));
  }
}

void put_text(const char* s) {
  size_t n = s ? std::strlen(s) : 0;
  if (n > INT32_MAX) il_writer_fault("IL string too long");
  put_separator();
  put_int32(static_cast<int32_t>(n));
  put_char('h');
  if (n) put_bytes(s, n);
}

// The bytes a constant's value occupies: its type's size.
uint32_t value_length(const type* t) { return t ? t->size : 0; }

struct IlWriteCodec {
  static constexpr bool writing = true;
  bool module_mode() const { return wr.module_mode; }

  template <class F>
  void ref(const char*, F& field) {
    using T = il_target_t<F>;
    put_ref(static_cast<T*>(field), il_kind_of<T>::value);
  }
  // A chain link names the next entry of a list. An entry reached in this
  // file only as an operand (a constant of a module's list, met through a
  // type the module exported) has its list in another file: the link ends
  // the chain here.
  template <class F>
  void chain(const char* name, F& field) {
    il_target_t<F>* next = field;
    if (next && !wr.numbered.contains(next)) next = nullptr;
    ref(name, next);
  }
  void bounds(const char*, pool_ref_field<bound_info_entry>& field, uint32_t rank) {
    if (field && field->rank != rank) il_writer_fault("IL bounds block of another rank");
    put_ref(field, ilk_bound_info_entry);
  }
  void entity_atom(const char*, pool_ref_field<void>&, atom* shown) { put_ref(shown, ilk_atom); }
  void pos(const char*, source_pos_record& p) {
    put_separator();
    put_decimal(p.seq);
    put_char(':');
    put_decimal(p.column);
  }
  template <class I>
  void num(const char*, I& field) {
    put_separator();
    put_int32(as_int32(field));
  }
  template <class I>
  void code(const char* name, I& field, int) {
    num(name, field);
  }
  void kind_row(const char* name, uint32_t& field, int) { num(name, field); }
  void begin_flags() { put_separator(); }
  void flag(const char*, bool& b) { put_char(b ? 'Y' : 'N'); }
  void flag_bit(const char*, uint32_t& word, uint32_t bit) { put_char((word >> bit) & 1 ? 'Y' : 'N'); }
  void str(const char*, const char*& s) { put_text(s); }
  void atom_text(const char*, const char*& s, uint32_t&) { put_text(s); }
  void bound(const char*, bound_record& b) {
    put_separator();
    put_int32(b.kind);
    if (b.kind == bk_constant) {
      put_separator();
      put_int32(b.value);
    } else if (b.kind == bk_expression || b.kind == bk_same_as) {
      put_ref(b.expr, ilk_expr_node);
    }
  }
  void block_size(const char*, bound_info_entry& e) {
    put_separator();
    put_decimal(bound_info_size(e.rank));
  }
  void value_bytes(const char*, pool_ref_field<uint8_t>& value, const type* t) {
    uint32_t n = value_length(t);
    if (n && !value) il_writer_fault("IL constant without its value bytes");
    put_separator();
    put_decimal(n);
    put_char('x');
    static const char hex[] = "0123456789ABCDEF";
    for (uint32_t i = 0; i < n; ++i) {
      make_room(2);
      wr.buffer[wr.buffered++] = hex[value[i] >> 4];
      wr.buffer[wr.buffered++] = hex[value[i] & 15];
    }
  }
  void begin_group(const char*) {}
  void end_group() {}
  void require(bool) {}
};

// Adds a string's pool bytes (length + 1 when not empty) to the string pool,
// whose count must stay within 32 bits.
void count_string(const char* s) {
  if (!s || !*s) return;
  size_t add = std::strlen(s) + 1;
  if (add > UINT32_MAX - wr.counts[ilk_string_pool]) catastrophe_here(msg_too_many_entries);
  wr.counts[ilk_string_pool] += static_cast<uint32_t>(add);
}

// One check for the only limit of numbering: numbers live in 30 bits.
void check_count(int kind, uint32_t add) {
  if (wr.counts[kind] > il_number_mask - add) catastrophe_here(msg_too_many_entries);
}

void il_reset_counts(void*, int, uint32_t) {
  std::memset(wr.counts, 0, sizeof wr.counts);
  wr.numbered.open();
}

// First pass: the entry's number is its kind's counter, which then advances
// by one (by the block's size for bounds blocks); pool sizes are summed.
void il_numbering_pass(void* entry, int kind, uint32_t) {
  if (!entry || kind <= 0 || kind > ilk_symbol_entry) return;
  uint32_t step = 1;
  if (kind == ilk_bound_info_entry) step = bound_info_size(static_cast<bound_info_entry*>(entry)->rank);
  check_count(kind, step);
  auto* h = static_cast<il_entry_header*>(entry);
  *h = (*h & ~il_number_mask) | wr.counts[kind];
  wr.numbered.insert(entry);
  wr.counts[kind] += step;
  switch (kind) {
    case ilk_il_header: {
      auto* e = static_cast<il_header*>(entry);
      count_string(e->compiler_version);
      count_string(e->time_of_compilation);
      break;
    }
    case ilk_source_file: {
      auto* e = static_cast<source_file*>(entry);
      count_string(e->file_name);
      count_string(e->full_name);
      break;
    }
    case ilk_atom:
      count_string(static_cast<atom*>(entry)->text);
      break;
    case ilk_constant: {
      auto* e = static_cast<constant*>(entry);
      if (e->kind == ck_value || e->kind == ck_expression) {
        uint32_t n = value_length(e->type);
        if (wr.counts[ilk_value_pool] > UINT32_MAX - n) catastrophe_here(msg_too_many_entries);
        wr.counts[ilk_value_pool] += n;
      }
      break;
    }
    default:
      break;
  }
}

// Second pass's set-up: the header line and the counts line.
void il_write_header(void*, int, uint32_t) {
  const std::string line = std::string("VAROK IL file (v") + il_format_version + ")\f\f\n";
  put_bytes(line.data(), line.size());
  put_kind_index(0, 0);
  for (int kind = 1; kind < il_kind_count; ++kind) {
    put_char(',');
    put_kind_index(kind, wr.counts[kind]);
  }
  put_char('\n');
}

// Second pass: one record line.
void il_write_entry(void* entry, int kind, uint32_t) {
  if (!entry || kind <= 0 || kind > ilk_symbol_entry) return;
  put_kind_index(kind, *static_cast<il_entry_header*>(entry) & il_number_mask);
  wr.separator = '=';
  IlWriteCodec c;
  switch (kind) {
#define IL_RECORD(k, T)                      \
  case k:                                    \
    il_fields(c, *static_cast<::T*>(entry)); \
    break;
#include "frontend/ilfile/il_records.def"
    default:
      break;
  }
  put_char('\n');
}

}  // namespace

void il_write_graph(FILE* out, il_header* root, bool module_mode) {
  il_writer_reset(out, module_mode);
  bool saved_mode = walk.il_module_mode;
  walk.il_module_mode = module_mode;
  il_walk(root, ilk_il_header, il_entry_size(ilk_il_header), il_reset_counts, il_numbering_pass,
          il_write_header, il_write_entry);
  walk.il_module_mode = saved_mode;
  put_kind_index(0, 0);  // the end line
  put_char('\n');
  flush_buffer();
  wr.numbered.close();
}

void il_write(il_header* header) {
  if (diag.errors != 0 || diag.catastrophes != 0) {
    il_discard();
    return;
  }
  if (!il_output.stream) return;
  il_write_graph(il_output.stream, header, false);
  il_close();
}

void il_close() {
  FILE* f = il_output.stream;
  if (!f) return;
  if (std::fflush(f) != 0 || std::ferror(f)) {
    // The fatal exit closes and removes the half-written file.
    catastrophe_here(msg_write_failed, {"intermediate language"});
  }
  il_output.stream = nullptr;
  if (std::fclose(f) != 0) {
    const char* name = il_output.file_name;
    if (name && is_regular_file(name)) std::remove(name);
    il_output_forget();
    catastrophe_here(msg_write_failed, {"intermediate language"});
  }
  il_output_forget();
}

void il_discard() {
  FILE* f = il_output.stream;
  if (!f) return;
  il_output.stream = nullptr;
  std::fclose(f);
  const char* name = il_output.file_name;
  if (name) {
    std::string path(name);
    il_output_forget();
    // Only a file that the run created is removed: an output such as a
    // device ("-o /dev/null") is left as it was.
    if (is_regular_file(path.c_str())) delete_file(path.c_str());
  }
  il_output_forget();
}
