// Global symbol store: physical records in memory and in the spill file,
// chains of physical records, bucket chains sorted by name.
#include <cstring>

#include "checker/common/mystring.h"
#include "tests/unit/checker_common/common_fixture.h"

class SymbolStore : public CommonTest {
 protected:
  void open(int32_t memglomax) {
    symt.memglomax = memglomax;
    opensymt();
  }
  // Adds a record of that name through lookup and instal; returns its number.
  int32_t add(const char* name, uint8_t sc = SC_FUNC_CODE, int32_t nitems = 0) {
    symrec r;
    int32_t rec = 0;
    lookup(name, r, &rec, 0);
    EXPECT_EQ(rec, 0) << name;
    symrec_clear(r);
    int32_t n = instal(name, r);
    symrec_setname(r, name);
    r.sc = sc;
    r.nitems = nitems;
    r.extra.assign(static_cast<size_t>(symrec_bytes(r) - symrec_header), 0);
    for (size_t i = 0; i < r.extra.size(); ++i) r.extra[i] = static_cast<uint8_t>(i * 7 + n);
    r.line = n * 10;
    writesymh(n, r);
    return n;
  }
  // Names of the bucket of name, in chain order.
  std::vector<std::string> chain(const char* name) {
    std::vector<std::string> names;
    for (int32_t n = hashtbl[hashy(name, static_cast<int>(std::strlen(name)))]; n != 0;) {
      symrec r;
      readsymi(n, r);
      names.push_back(r.namebuf);
      n = r.next;
    }
    return names;
  }
  static constexpr uint8_t SC_FUNC_CODE = 5;
};

TEST_F(SymbolStore, RecordLayoutIsBigEndianAtItsOffsets) {
  symrec r;
  symrec_clear(r);
  symrec_setname(r, "NAME");
  r.next = 0x01020304;
  r.sc = 2;
  r.type.code = 4;
  r.usage = 0xA0B0C0D0;
  r.nitems = 1;  // one dimension of 12 bytes
  r.extra.assign(12, 0xEE);
  std::vector<uint8_t> im;
  symrec_encode(r, im);
  ASSERT_EQ(im.size(), 144u);
  EXPECT_EQ(get_be32(im.data() + 4), 0x01020304u);
  EXPECT_EQ(im[8], 2);
  EXPECT_EQ(im[12], 4);
  EXPECT_EQ(im[16], 'p');
  EXPECT_EQ(get_be32(im.data() + 52), 0xA0B0C0D0u);
  EXPECT_EQ(get_be32(im.data() + 60), 0xFFFFFFFFu);  // file number -1 until set
  EXPECT_STREQ(reinterpret_cast<const char*>(im.data() + 92), "NAME");
  EXPECT_EQ(im[132], 0xEE);
  symrec back;
  EXPECT_TRUE(symrec_decode(back, im.data(), static_cast<int32_t>(im.size())));
  EXPECT_EQ(back.usage, 0xA0B0C0D0u);
  EXPECT_EQ(back.extra, r.extra);
  EXPECT_EQ(back.name, back.namebuf);
  EXPECT_FALSE(symrec_decode(back, im.data(), 140));  // too short for its item
}

TEST_F(SymbolStore, ItemSizesByStorageClass) {
  const int expected[21] = {0, 1, 12, 0, 8, 88, 88, 0, 0, 4, 4, 12, 0, 0, 4, 0, 12, 12, 12, 12, 12};
  for (int sc = 0; sc <= 20; ++sc) EXPECT_EQ(gtdatasiz(sc), expected[sc]) << sc;
  symrec r;
  symrec_clear(r);
  r.sc = 1;
  r.nitems = 5;  // 5 bytes rounded up to 8
  EXPECT_EQ(symrec_bytes(r), 140);
}

TEST_F(SymbolStore, LongNamesAreCutToTheField) {
  symrec r;
  symrec_clear(r);
  std::string longname(100, 'N');
  symrec_setname(r, longname.c_str());
  EXPECT_EQ(std::strlen(r.namebuf), 31u);
  std::memset(r.namebuf, 'X', sizeof r.namebuf);  // even without its NUL
  std::vector<uint8_t> im;
  symrec_encode(r, im);
  EXPECT_EQ(im[92 + 31], 0);
  EXPECT_EQ(im[124], 0);
}

TEST_F(SymbolStore, ArgumentDescriptorRoundTrip) {
  argdesc a{};
  a.unkarg = 7;
  a.usage = 0x7002BE00;
  a.kind = 2;
  a.type.code = 14;
  a.type.tag = 'p';
  a.type.value = 80;
  a.size = 80;
  a.attrs = 0x73;
  a.ndims = 2;
  std::strcpy(a.name, "ARG");
  a.dimkind[0] = 1;
  a.dimkind[1] = 3;
  uint8_t b[argdesc_bytes];
  argdesc_put(a, b);
  EXPECT_EQ(b[8], 2);
  EXPECT_EQ(b[12], 14);
  EXPECT_EQ(get_be32(b + 20), 80u);
  EXPECT_EQ(b[29], 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(b + 30), "ARG");
  EXPECT_EQ(b[68], 3);
  argdesc back;
  argdesc_get(back, b);
  EXPECT_EQ(back.unkarg, 7);
  EXPECT_EQ(back.type.value, 80);
  EXPECT_STREQ(back.name, "ARG");
  EXPECT_EQ(back.dimkind[1], 3);
}

TEST_F(SymbolStore, WholeRecordsSpanPhysicalRecords) {
  open(100000);
  int32_t n = add("SUB", SC_FUNC_CODE, 3);  // 132 + 264 = 396 bytes: 4 physical records
  EXPECT_EQ(n, 1);
  EXPECT_EQ(symt.symcnt, 4);
  EXPECT_EQ(getnumsyms(), 4);
  symrec r;
  readsymb(n, r);
  EXPECT_STREQ(r.name, "SUB");
  ASSERT_EQ(r.extra.size(), 264u);
  for (size_t i = 0; i < r.extra.size(); ++i) EXPECT_EQ(r.extra[i], static_cast<uint8_t>(i * 7 + 1));
  EXPECT_EQ(r.line, 10);
  // Physical record 1 links to 2, 2 to 3, 3 to 4, 4 ends the chain.
  uint8_t phys[128];
  for (int32_t k = 1; k <= 4; ++k) {
    readsymt(k, phys);
    EXPECT_EQ(get_be32(phys + 124), k < 4 ? static_cast<uint32_t>(k + 1) : 0u) << k;
  }
}

TEST_F(SymbolStore, RewritingWithMoreDataKeepsTheOldChainAndAppends) {
  open(100000);
  int32_t a = add("A", SC_FUNC_CODE, 1);  // 220 bytes: records 1, 2
  int32_t b = add("B", 0, 0);             // 132 bytes: records 3, 4
  EXPECT_EQ(b, 3);
  symrec r;
  readsymb(a, r);
  r.nitems = 3;  // 396 bytes: 4 physical records
  r.extra.assign(264, 0x5A);
  writesymh(a, r);
  EXPECT_EQ(symt.symcnt, 6);
  uint8_t phys[128];
  readsymt(1, phys);
  EXPECT_EQ(get_be32(phys + 124), 2u);
  readsymt(2, phys);
  EXPECT_EQ(get_be32(phys + 124), 5u);
  readsymt(5, phys);
  EXPECT_EQ(get_be32(phys + 124), 6u);
  symrec back;
  readsymb(a, back);
  EXPECT_EQ(back.extra, r.extra);
  readsymb(b, back);
  EXPECT_STREQ(back.name, "B");
}

TEST_F(SymbolStore, ChainsAreSortedAndSharedPrefixesShareABucket) {
  open(100000);
  add("ABCDEFGHZ");
  add("ABCDEFGHA");
  add("ABCDEFGH");
  add("ABCDEFGHM");
  EXPECT_EQ(chain("ABCDEFGH"),
            (std::vector<std::string>{"ABCDEFGH", "ABCDEFGHA", "ABCDEFGHM", "ABCDEFGHZ"}));
  symrec r;
  int32_t rec = 0;
  lookup("ABCDEFGHM", r, &rec, 0);
  EXPECT_NE(rec, 0);
  EXPECT_STREQ(r.name, "ABCDEFGHM");
  rec = 0;
  lookup("ABCDEFGHQQQ", r, &rec, 2);  // the first 8 characters: the first of them
  EXPECT_STREQ(r.name, "ABCDEFGH");
  lookup("ABCDEFGHQQQ", r, &rec, 2);  // and on to the next one
  EXPECT_STREQ(r.name, "ABCDEFGHA");
  rec = 0;
  lookup("ABCDEFGHB", r, &rec, 0);
  EXPECT_EQ(rec, 0);
}

TEST_F(SymbolStore, NamesLongerThanTheFieldFindTheirCutRecords) {
  open(100000);
  // 36 characters; the record keeps the first 31 (up to the first '6').
  const char* full = "A123456789B123456789C123456789D12345";
  const char* cut = "A123456789B123456789C123456789D";
  int32_t n = add(full);
  symrec r;
  int32_t rec = 0;
  lookup(full, r, &rec, 0);
  EXPECT_EQ(rec, n);
  rec = 0;
  lookup(cut, r, &rec, 0);
  EXPECT_EQ(rec, n);
  // Another name with the same first 31 characters is the same key.
  rec = 0;
  lookup("A123456789B123456789C123456789DZZZZZ", r, &rec, 0);
  EXPECT_EQ(rec, n);
  // The record hangs in the bucket of the name it keeps.
  EXPECT_EQ(chain(cut), std::vector<std::string>{cut});
}

TEST_F(SymbolStore, SameNameRecordsAreFoundInTurn) {
  open(100000);
  int32_t first = add("X");
  // A second record of the same name goes after the first.
  symrec r;
  int32_t rec = 0;
  lookup("X", r, &rec, 0);
  ASSERT_EQ(rec, first);
  lookup("X", r, &rec, 0);
  EXPECT_EQ(rec, 0);
  symrec_clear(r);
  int32_t second = instal("X", r);
  symrec_setname(r, "X");
  writesymh(second, r);
  rec = 0;
  lookup("X", r, &rec, 0);
  EXPECT_EQ(rec, first);
  lookup("X", r, &rec, 0);
  EXPECT_EQ(rec, second);
}

TEST_F(SymbolStore, EverythingSpillsWithoutMemoryBlocks) {
  open(63);
  for (int i = 0; i < 5; ++i) add(("S" + std::to_string(i)).c_str());
  EXPECT_EQ(getmemsyms(), 0);
  EXPECT_TRUE(symt.limitreached);
  for (int i = 0; i < 5; ++i) {
    symrec r;
    int32_t rec = 0;
    std::string name = "S" + std::to_string(i);
    lookup(name.c_str(), r, &rec, 0);
    EXPECT_EQ(rec, 2 * i + 1);
    EXPECT_EQ(r.line, (2 * i + 1) * 10);
  }
}

TEST_F(SymbolStore, NumbersStayValidAcrossTheOverflowToTheSpillFile) {
  open(128);  // two blocks of 64: records below 128 in memory
  std::vector<int32_t> nums;
  for (int i = 0; i < 100; ++i) nums.push_back(add(("V" + std::to_string(i)).c_str()));
  EXPECT_EQ(getmemsyms(), 128);
  EXPECT_GT(getnumsyms(), 128);
  for (int i = 0; i < 100; ++i) {
    symrec r;
    int32_t rec = 0;
    std::string name = "V" + std::to_string(i);
    lookup(name.c_str(), r, &rec, 0);
    EXPECT_EQ(rec, nums[static_cast<size_t>(i)]) << name;
    EXPECT_EQ(r.line, rec * 10);
  }
}

TEST_F(SymbolStore, InterfaceProcedureKinds) {
  EXPECT_EQ(isIntfProc(1u << 24), 1);
  EXPECT_EQ(isIntfProc((1u << 25) | (1u << 19)), 2);
  EXPECT_EQ(isIntfProc(0x80000), 3);
  EXPECT_EQ(isIntfProc(0x40000), 0);
}

using SymbolStoreDeath = SymbolStore;

TEST_F(SymbolStoreDeath, Misuse) {
  open(100000);
  uint8_t phys[128] = {};
  EXPECT_EXIT(readsymt(1, phys), ::testing::ExitedWithCode(4), "readsymt \\(rec #1\\)");
  EXPECT_EXIT(writesymt(5, phys), ::testing::ExitedWithCode(4), "illegal symbol table write");
  EXPECT_EXIT(
      {
        symrec r;
        symrec_clear(r);
        PSetQStructsym(&r.type, nullptr);
        writesymh(1, r);
      },
      ::testing::ExitedWithCode(4), "internal error in routine writesymh");
  EXPECT_EXIT(
      {
        symrec r;
        symrec_clear(r);
        r.sc = 5;
        r.nitems = 400;  // 35,332 bytes: past the ordinary limit
        r.extra.assign(35200, 1);
        writesymh(1, r);
        symrec back;
        readsymh(1, back);  // within the large limit
        if (back.extra.size() != 35200) std::exit(9);
        readsymb(1, back);
      },
      ::testing::ExitedWithCode(4), "readsymb \\(symbol size exceeded bigsym\\)");
}
