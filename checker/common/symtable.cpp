// Global symbol store: logical records encoded as big-endian byte images and
// spread over numbered 128-byte physical records, held in memory blocks of 64
// records up to a limit and in a nameless spill file beyond it; the hash
// table of name-sorted bucket chains; lookup and insertion.
#include "checker/common/symtable.h"

#include <cstdlib>
#include <cstring>

#include "checker/common/error.h"
#include "checker/common/flio.h"
#include "checker/common/mystring.h"

SymtState symt = {0, 0, 100000, 0, 0, false, {}, 0, 0, 0, 0, 0};
int32_t hashtbl[hashtbl_size];

namespace {

constexpr int block_records = 64;
constexpr int block_bytes = block_records * symrec_phys;

// Header offsets of the byte image.
enum : int {
  o_next = 4, o_sc = 8, o_sq = 9, o_props = 10, o_res11 = 11, o_type = 12,
  o_container = 24, o_offset = 28, o_size = 32, o_nitems = 36, o_w40 = 40,
  o_res48 = 48, o_usage = 52, o_line = 56, o_filno = 60, o_w64 = 64, o_w68 = 68,
  o_attrs = 72, o_host = 76, o_related = 80, o_hpf = 84, o_res88 = 88,
  o_name = 92, o_res124 = 124
};

int32_t get_i32(const uint8_t* p) { return static_cast<int32_t>(get_be32(p)); }
void put_i32(uint8_t* p, int32_t v) { put_be32(p, static_cast<uint32_t>(v)); }

// Bytes of extra data a header announces (rounded to whole words); -1 when
// the count is negative or the total would pass the large limit.
int64_t extra_bytes(uint8_t sc, int32_t nitems) {
  if (nitems < 0) return -1;
  int64_t b = int64_t{nitems} * gtdatasiz(sc);
  b = (b + 3) / 4 * 4;
  return b > hugesym - symrec_header ? -1 : b;
}

void decode_header(symrec& r, const uint8_t* im) {
  r.next = get_i32(im + o_next);
  r.sc = im[o_sc];
  r.sq = im[o_sq];
  r.props = im[o_props];
  r.res11 = im[o_res11];
  dtdesc_get(r.type, im + o_type);
  r.container = get_i32(im + o_container);
  r.offset = get_i32(im + o_offset);
  r.size = get_i32(im + o_size);
  r.nitems = get_i32(im + o_nitems);
  r.w40 = get_i32(im + o_w40);
  r.res48 = get_i32(im + o_res48);
  r.usage = get_be32(im + o_usage);
  r.line = get_i32(im + o_line);
  r.filno = get_i32(im + o_filno);
  r.w64 = get_i32(im + o_w64);
  r.w68 = get_i32(im + o_w68);
  r.attrs = get_be32(im + o_attrs);
  r.host = get_i32(im + o_host);
  r.related = get_i32(im + o_related);
  r.hpf = get_be32(im + o_hpf);
  r.res88 = get_i32(im + o_res88);
  std::memcpy(r.namebuf, im + o_name, sizeof r.namebuf);
  r.namebuf[symrec_namemax] = '\0';
  r.name = r.namebuf;
}

// Reads the chain of record n into r, refusing images past limit.
void read_chain(int32_t n, symrec& r, int32_t limit, const char* overflow) {
  std::vector<uint8_t> image;
  uint8_t phys[symrec_phys];
  readsymt(n, phys);
  image.assign(phys, phys + symrec_step);
  int32_t link = get_i32(phys + symrec_step);
  for (int64_t k = 1; link != 0; ++k) {
    if (k * symrec_step >= limit) interr(overflow);
    readsymt(link, phys);
    image.insert(image.end(), phys, phys + symrec_step);
    link = get_i32(phys + symrec_step);
  }
  // The last physical record's final word is its link, not data; records are
  // whole words, so the image ends within its first 124 bytes.
  image.resize(image.size() + 4, 0);
  int32_t used = static_cast<int32_t>(image.size());
  if (limit == bigsym && used > symt.usdbigsymwid) symt.usdbigsymwid = used;
  if (limit == hugesym && used > symt.usdhugesymwid) symt.usdhugesymwid = used;
  symrec_decode(r, image.data(), used);
}

uint8_t* memory_slot(int32_t n) {
  return symt.blocks[static_cast<size_t>(n / block_records)] + (n % block_records) * symrec_phys;
}

}  // namespace

void put_be32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

uint32_t get_be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

int gtdatasiz(int sc) {
  switch (sc) {
    case 1: return 1;
    case 2: return 12;
    case 4: return 8;
    case 5: case 6: return 88;
    case 9: return 4;
    case 10: case 14: return 4;
    case 11: return 12;
    case 16: case 17: case 18: case 19: case 20: return 12;
    default: return 0;
  }
}

int32_t symrec_bytes(const symrec& r) {
  int64_t extra = extra_bytes(r.sc, r.nitems);
  if (extra < 0) interr("symrec_bytes");
  return static_cast<int32_t>(symrec_header + extra);
}

void symrec_clear(symrec& r) {
  r = symrec{};
  r.type.tag = 'p';
  r.filno = -1;
  r.name = r.namebuf;
}

void symrec_setname(symrec& r, const char* name) {
  strzcpy(r.namebuf, name, symrec_namemax + 1);
  r.name = r.namebuf;
}

void symrec_encode(const symrec& r, std::vector<uint8_t>& image) {
  int32_t total = symrec_bytes(r);
  image.assign(static_cast<size_t>(total), 0);
  uint8_t* im = image.data();
  put_i32(im + o_next, r.next);
  im[o_sc] = r.sc;
  im[o_sq] = r.sq;
  im[o_props] = r.props;
  im[o_res11] = r.res11;
  dtdesc_put(r.type, im + o_type);
  put_i32(im + o_container, r.container);
  put_i32(im + o_offset, r.offset);
  put_i32(im + o_size, r.size);
  put_i32(im + o_nitems, r.nitems);
  put_i32(im + o_w40, r.w40);
  put_i32(im + o_res48, r.res48);
  put_be32(im + o_usage, r.usage);
  put_i32(im + o_line, r.line);
  put_i32(im + o_filno, r.filno);
  put_i32(im + o_w64, r.w64);
  put_i32(im + o_w68, r.w68);
  put_be32(im + o_attrs, r.attrs);
  put_i32(im + o_host, r.host);
  put_i32(im + o_related, r.related);
  put_be32(im + o_hpf, r.hpf);
  put_i32(im + o_res88, r.res88);
  // The name stays within its field whatever the buffer holds.
  size_t len = strnlen(r.namebuf, symrec_namemax);
  std::memcpy(im + o_name, r.namebuf, len);
  std::memcpy(im + o_res124, r.res124, sizeof r.res124);
  size_t extra = static_cast<size_t>(total - symrec_header);
  if (extra > r.extra.size()) extra = r.extra.size();
  if (extra > 0) std::memcpy(im + symrec_header, r.extra.data(), extra);
}

bool symrec_decode(symrec& r, const uint8_t* image, int32_t len) {
  if (len < symrec_header) return false;
  decode_header(r, image);
  std::memcpy(r.res124, image + o_res124, sizeof r.res124);
  int64_t extra = extra_bytes(r.sc, r.nitems);
  bool whole = extra >= 0 && symrec_header + extra <= len;
  if (extra < 0) extra = 0;
  r.extra.assign(static_cast<size_t>(extra), 0);
  int64_t have = len - symrec_header < extra ? len - symrec_header : extra;
  if (have > 0) std::memcpy(r.extra.data(), image + symrec_header, static_cast<size_t>(have));
  return whole;
}

void argdesc_put(const argdesc& a, uint8_t* out) {
  std::memset(out, 0, argdesc_bytes);
  put_i32(out, a.unkarg);
  put_be32(out + 4, a.usage);
  out[8] = a.kind;
  dtdesc_put(a.type, out + 12);
  put_i32(out + 24, a.size);
  out[28] = a.attrs;
  out[29] = a.ndims;
  std::memcpy(out + 30, a.name, strnlen(a.name, 35));
  std::memcpy(out + 67, a.dimkind, sizeof a.dimkind);
}

void argdesc_get(argdesc& a, const uint8_t* in) {
  a = argdesc{};
  a.unkarg = get_i32(in);
  a.usage = get_be32(in + 4);
  a.kind = in[8];
  dtdesc_get(a.type, in + 12);
  a.size = get_i32(in + 24);
  a.attrs = in[28];
  a.ndims = in[29];
  std::memcpy(a.name, in + 30, 35);
  a.name[35] = '\0';
  std::memcpy(a.dimkind, in + 67, sizeof a.dimkind);
}

void opensymt() {
  closesymt();
  symt.numsyms = 0;
  symt.symcnt = 0;
  symt.memsyms = 0;
  symt.limitreached = false;
  symt.belowptr = 0;
  symt.aboveptr = 0;
  symt.maxblock = symt.memglomax / block_records;
  if (symt.maxblock < 0) symt.maxblock = 0;
  symt.spillunit = binopn(nullptr, symrec_phys, FM_WRITE | 1, nullptr);
  std::memset(hashtbl, 0, sizeof hashtbl);
}

void closesymt() {
  if (symt.spillunit != 0) bincls(symt.spillunit);
  symt.spillunit = 0;
  for (uint8_t* b : symt.blocks) std::free(b);
  symt.blocks.clear();
  symt.memsyms = 0;
  symt.numsyms = 0;
  symt.symcnt = 0;
  symt.limitreached = false;
}

int32_t getnumsyms() { return symt.numsyms; }
int32_t getmemsyms() { return symt.memsyms; }

void readsymt(int32_t n, uint8_t* buf) {
  if (n < 1 || n > symt.numsyms) interr("readsymt (rec #" + std::to_string(n) + ")");
  if (n < symt.memsyms)
    std::memcpy(buf, memory_slot(n), symrec_phys);
  else
    binrd(symt.spillunit, n - symt.memsyms, buf);
}

void writesymt(int32_t n, const uint8_t* buf) {
  if (n == symt.numsyms + 1 && symt.numsyms < INT32_MAX) ++symt.numsyms;
  if (n < 1 || n > symt.numsyms) errf("F-BADTBL", "\nillegal symbol table write");
  while (n >= symt.memsyms && !symt.limitreached) {
    if (static_cast<int32_t>(symt.blocks.size()) >= symt.maxblock) {
      symt.limitreached = true;
      break;
    }
    uint8_t* block = static_cast<uint8_t*>(std::calloc(1, block_bytes));
    if (block == nullptr) errf("@F-NOMEM", "malloc failed in writesymt");
    symt.blocks.push_back(block);
    symt.memsyms += block_records;
  }
  if (n < symt.memsyms)
    std::memcpy(memory_slot(n), buf, symrec_phys);
  else
    binwrt(symt.spillunit, n - symt.memsyms, buf);
}

void readsymi(int32_t n, symrec& r) {
  uint8_t phys[symrec_phys];
  readsymt(n, phys);
  decode_header(r, phys);
  std::memset(r.res124, 0, sizeof r.res124);
  r.extra.clear();
}

void readsymb(int32_t n, symrec& r) {
  read_chain(n, r, bigsym, "readsymb (symbol size exceeded bigsym)");
}

void readsymh(int32_t n, symrec& r) {
  read_chain(n, r, hugesym, "readsymh (symbol size exceeded hugesym)");
}

void writesymh(int32_t n, const symrec& r) {
  if (r.type.tag == 'q') interr("writesymh");
  std::vector<uint8_t> image;
  symrec_encode(r, image);
  int32_t total = static_cast<int32_t>(image.size());
  bool isnew = n > symt.symcnt;
  if (isnew) ++symt.symcnt;
  bool oldchain = !isnew;
  int32_t cur = n;
  uint8_t phys[symrec_phys];
  for (int32_t pos = 0;; pos += symrec_step) {
    int32_t oldlink = 0;
    if (oldchain) {
      readsymt(cur, phys);
      oldlink = get_i32(phys + symrec_step);
      if (oldlink == 0) oldchain = false;
    }
    std::memset(phys, 0, sizeof phys);
    int32_t take = total - pos < symrec_phys ? total - pos : symrec_phys;
    std::memcpy(phys, image.data() + pos, static_cast<size_t>(take));
    int32_t next = 0;
    if (total - pos > 127) next = oldchain ? oldlink : ++symt.symcnt;
    put_i32(phys + symrec_step, next);
    writesymt(cur, phys);
    if (next == 0) break;
    cur = next;
  }
}

void writesymb(int32_t n, const symrec& r) { writesymh(n, r); }

namespace {

// A name as records keep it: its first symrec_namemax characters, by which
// it is hashed and ordered too, so that a longer name finds its records.
struct RecordKey {
  char text[symrec_namemax + 1];
  explicit RecordKey(const char* name) { strzcpy(text, name, static_cast<int>(sizeof text)); }
  int bucket() const { return hashy(text, static_cast<int>(std::strlen(text))); }
};

}  // namespace

void lookup(const char* fullname, symrec& r, int32_t* record, int flags) {
  RecordKey key(fullname);
  const char* name = key.text;
  int32_t cur;
  if (*record == 0) {
    cur = hashtbl[key.bucket()];
    symt.belowptr = 0;
  } else {
    cur = symt.aboveptr;
  }
  // A chain never holds more records than the store: a longer walk is a loop.
  for (int64_t steps = 0; cur != 0; ++steps) {
    if (steps > symt.numsyms) interr("lookup");
    readsymi(cur, r);
    int cmp = (flags & 2) ? std::strncmp(name, r.namebuf, 8) : std::strcmp(name, r.namebuf);
    if (cmp > 0) {
      symt.belowptr = cur;
      cur = r.next;
      continue;
    }
    if (cmp < 0) break;
    *record = cur;
    symt.belowptr = cur;
    symt.aboveptr = r.next;
    if (flags & 1)
      read_chain(cur, r, bigsym, "lookup (symbol size exceeded bigsym)");
    else
      read_chain(cur, r, hugesym, "lookup (symbol size exceeded hugesym)");
    return;
  }
  *record = 0;
  symt.aboveptr = cur;
}

int32_t instal(const char* name, symrec& r) {
  int32_t fresh = symt.symcnt + 1;
  if (symt.belowptr != 0) {
    uint8_t phys[symrec_phys];
    readsymt(symt.belowptr, phys);
    put_i32(phys + o_next, fresh);
    writesymt(symt.belowptr, phys);
  } else {
    hashtbl[RecordKey(name).bucket()] = fresh;
  }
  r.next = symt.aboveptr;
  return fresh;
}

int isIntfProc(uint32_t flags) {
  if (flags & (1u << 24)) return 1;
  if (flags & (1u << 25)) return 2;
  if (flags & (1u << 19)) return 3;
  return 0;
}
