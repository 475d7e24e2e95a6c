// Library tables: reading a saved global symbol store (getlib) after checking
// that every count, bucket head and link in it is consistent, and writing the
// store back (savlib). Also the empty hooks of checks across units.
#include "checker/common/glo.h"

#include <sys/stat.h>

#include <cstring>
#include <vector>

#include "checker/common/error.h"
#include "checker/common/flio.h"
#include "checker/common/mystring.h"
#include "checker/common/symtable.h"

std::string lbtfilnam;

namespace {

constexpr int lbt_buffer = 32768;
constexpr int magic_bytes = sizeof lbt_magic;  // 17 characters and the NUL
static_assert(magic_bytes == 18);

int32_t be_i32(const uint8_t* p) { return static_cast<int32_t>(get_be32(p)); }

bool in_range(int32_t n, int32_t r) { return n >= 0 && n <= r; }

}  // namespace

bool lbt_valid(const uint8_t* data, int64_t size) {
  if (size < lbt_records_at) return false;
  if (std::memcmp(data, lbt_magic, magic_bytes) != 0) return false;
  int32_t r = be_i32(data + magic_bytes);
  if (r < 0 || (size - lbt_records_at) % symrec_phys != 0 ||
      (size - lbt_records_at) / symrec_phys != r)
    return false;
  const uint8_t* heads = data + lbt_header;
  auto rec = [&](int32_t n) { return data + lbt_records_at + int64_t{n - 1} * symrec_phys; };
  auto link = [&](int32_t n) { return be_i32(rec(n) + symrec_step); };

  // Continuation links: each in range, each record the continuation of at
  // most one other, and no cycles (so every chain ends).
  std::vector<uint8_t> linked(static_cast<size_t>(r) + 1, 0);
  for (int32_t n = 1; n <= r; ++n) {
    int32_t l = link(n);
    if (!in_range(l, r) || l == n) return false;
    if (l != 0) {
      if (linked[static_cast<size_t>(l)]) return false;
      linked[static_cast<size_t>(l)] = 1;
    }
  }
  // With in-degree at most one, a cycle is a ring of linked records that no
  // unlinked record leads into: walk from every chain start and count.
  int64_t reached = 0;
  for (int32_t n = 1; n <= r; ++n) {
    if (linked[static_cast<size_t>(n)]) continue;
    for (int32_t m = link(n); m != 0; m = link(m)) ++reached;
  }
  int64_t linkedcount = 0;
  for (int32_t n = 1; n <= r; ++n) linkedcount += linked[static_cast<size_t>(n)];
  if (reached != linkedcount) return false;

  // Bucket chains: heads in range, records that start a logical record,
  // visited once, in the right bucket, in name order, with a chain of
  // physical records as long as the header says and record numbers in range.
  std::vector<uint8_t> seen(static_cast<size_t>(r) + 1, 0);
  for (int b = 0; b < hashtbl_size; ++b) {
    std::string prev;
    for (int32_t n = be_i32(heads + 4 * b); n != 0;) {
      if (!in_range(n, r) || seen[static_cast<size_t>(n)] || linked[static_cast<size_t>(n)])
        return false;
      seen[static_cast<size_t>(n)] = 1;
      const uint8_t* h = rec(n);
      const char* name = reinterpret_cast<const char*>(h + 92);
      size_t len = strnlen(name, symrec_namemax + 1);
      if (len > symrec_namemax) return false;
      std::string nm(name, len);
      if (hashy(nm.c_str(), static_cast<int>(len)) != b || nm < prev) return false;
      prev = nm;
      int32_t nitems = be_i32(h + 36);
      if (nitems < 0) return false;
      int64_t bytes = int64_t{nitems} * gtdatasiz(h[8]);
      bytes = symrec_header + (bytes + 3) / 4 * 4;
      if (bytes > hugesym) return false;
      int64_t chainlen = 1;
      for (int32_t m = link(n); m != 0; m = link(m)) ++chainlen;
      int64_t need = 1;
      while (bytes - (need - 1) * symrec_step > 127) ++need;
      if (chainlen != need) return false;
      for (int off : {24, 76, 80})
        if (!in_range(be_i32(h + off), r)) return false;
      if (h[16] == 'r' && !in_range(be_i32(h + 20), r)) return false;
      n = be_i32(h + 4);
    }
  }
  return true;
}

void getlib() {
  int unit = iopen(lbtfilnam.c_str(), FM_EXT | 1, ".lbt", lbt_buffer);
  if (unit == 0) {
    errf("@I-BINOPN", "can't open %s as input", getbadfn());
    errf("I-NEWLBT", "will create a new library file");
    return;
  }
  FILE* fp = myfpno(unit);
  std::vector<uint8_t> data;
  struct stat st;
  bool ok = ::fstat(::fileno(fp), &st) == 0 && st.st_size >= lbt_records_at;
  if (ok) {
    uint8_t head[lbt_header];
    ok = std::fread(head, 1, sizeof head, fp) == sizeof head &&
         std::memcmp(head, lbt_magic, magic_bytes) == 0;
    // The size must be the one the record count gives before anything more
    // is read, so that a damaged count cannot ask for absurd memory.
    int64_t r = be_i32(head + magic_bytes);
    ok = ok && r >= 0 && st.st_size == lbt_records_at + r * symrec_phys;
    if (ok) {
      data.resize(static_cast<size_t>(st.st_size));
      std::memcpy(data.data(), head, sizeof head);
      size_t rest = data.size() - sizeof head;
      ok = std::fread(data.data() + sizeof head, 1, rest, fp) == rest &&
           lbt_valid(data.data(), static_cast<int64_t>(data.size()));
    }
  }
  if (!ok) {
    errf("I-BADLBT", "library %s is incorrectly formatted", getfn(unit, 0));
    errf("I-NEWLBT", "will create a new library");
    iclose(unit);
    return;
  }
  if (symt.spillunit == 0) opensymt();
  int32_t r = be_i32(data.data() + magic_bytes);
  for (int b = 0; b < hashtbl_size; ++b) hashtbl[b] = be_i32(data.data() + lbt_header + 4 * b);
  for (int32_t n = 1; n <= r; ++n)
    writesymt(n, data.data() + lbt_records_at + int64_t{n - 1} * symrec_phys);
  symt.symcnt = r;
  iclose(unit);
}

void savlib() {
  int unit = iopen(lbtfilnam.c_str(), FM_EXT | FM_WRITE, ".lbt", lbt_buffer);
  if (unit == 0) errf("@F-STMOPN", "can't open %s as output", getbadfn());
  uint8_t head[lbt_header] = {};
  std::memcpy(head, lbt_magic, magic_bytes);
  int32_t count = symt.symcnt < symt.numsyms ? symt.symcnt : symt.numsyms;
  put_be32(head + magic_bytes, static_cast<uint32_t>(count));
  iwrite(unit, head, lbt_header);
  uint8_t heads[4 * hashtbl_size];
  for (int b = 0; b < hashtbl_size; ++b) put_be32(heads + 4 * b, static_cast<uint32_t>(hashtbl[b]));
  iwrite(unit, heads, sizeof heads);
  uint8_t phys[symrec_phys];
  for (int32_t n = 1; n <= count; ++n) {
    readsymt(n, phys);
    iwrite(unit, phys, symrec_phys);
  }
  report_hook("Saved " + std::to_string(count) + " entries in library " + getfn(unit, 0) + "\n");
  iclose(unit);
}

void scanlib() {}
void glochk() {}
void GloChkSpecific() {}
int isLBTproc() { return 0; }
int glodupchk() { return 0; }
int glo_chk_infbody_against_ext() { return 0; }
void comchk(int* result) {
  if (result != nullptr) *result = 0;
}
void modchk(int* result) {
  if (result != nullptr) *result = 0;
}

int fu_unkargs = 0;

void doargs() {
  if (fu_unkargs == 0) return;
  int kind = unitkind(fu_unkargs);
  if (kind == FK_RECORDS) {
    bincls(fu_unkargs);
  } else if (kind != FK_FREE) {
    iclose(fu_unkargs);
  }
  fu_unkargs = 0;
}
