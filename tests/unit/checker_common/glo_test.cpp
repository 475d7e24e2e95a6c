// Library tables: writing and reading back, and refusing damaged files in
// bounded time without ending the run.
#include <cstring>

#include "checker/common/glo.h"
#include "checker/common/mystring.h"
#include "tests/unit/checker_common/common_fixture.h"

class Library : public CommonTest {
 protected:
  void SetUp() override {
    CommonTest::SetUp();
    symt.memglomax = 100000;
    opensymt();
  }
  int32_t add(const char* name, uint8_t sc, int32_t nitems) {
    symrec r;
    int32_t rec = 0;
    lookup(name, r, &rec, 0);
    symrec_clear(r);
    int32_t n = instal(name, r);
    symrec_setname(r, name);
    r.sc = sc;
    r.nitems = nitems;
    r.extra.assign(static_cast<size_t>(symrec_bytes(r) - symrec_header), 0);
    for (size_t i = 0; i < r.extra.size(); ++i) r.extra[i] = static_cast<uint8_t>(i + n);
    r.line = n;
    writesymh(n, r);
    return n;
  }
  // A library with a few records, saved to lib.lbt; its bytes.
  std::string saved_library() {
    add("MAIN", 7, 0);
    add("SUB1", 6, 2);
    add("SUB2", 6, 0);
    add("COMBLK", 4, 3);
    lbtfilnam = path("lib");
    savlib();
    return read_file("lib.lbt");
  }
  // Reads name into a fresh store; true when it was accepted.
  bool read_back(const std::string& name) {
    closesymt();
    opensymt();
    captured_report().clear();
    lbtfilnam = path(name);
    getlib();
    return captured_report().find("incorrectly formatted") == std::string::npos &&
           captured_report().find("can't open") == std::string::npos;
  }
};

TEST_F(Library, EmptyStoreGivesHeaderAndZeroHashTable) {
  lbtfilnam = path("empty");
  savlib();
  std::string bytes = read_file("empty.lbt");
  ASSERT_EQ(bytes.size(), 4224u);
  EXPECT_EQ(bytes.substr(0, 18), std::string("Tarvo .LBT, #270c\0", 18));
  EXPECT_EQ(bytes.substr(18), std::string(4224 - 18, '\0'));  // count 0, zeros
  EXPECT_EQ(captured_report(), "Saved 0 entries in library " + path("empty.lbt") + "\n");
  EXPECT_TRUE(read_back("empty.lbt"));
  EXPECT_EQ(symt.symcnt, 0);
}

TEST_F(Library, SavedAndReadBackGivesTheSameRecordsAndBuckets) {
  std::string bytes = saved_library();
  int32_t count = symt.symcnt;
  ASSERT_EQ(bytes.size(), 4224u + 128u * static_cast<size_t>(count));
  EXPECT_EQ(get_be32(reinterpret_cast<const uint8_t*>(bytes.data()) + 18),
            static_cast<uint32_t>(count));
  std::vector<std::vector<uint8_t>> before;
  for (int32_t n = 1; n <= count; ++n) {
    std::vector<uint8_t> phys(128);
    readsymt(n, phys.data());
    before.push_back(phys);
  }
  int32_t heads[hashtbl_size];
  std::memcpy(heads, hashtbl, sizeof heads);
  ASSERT_TRUE(read_back("lib.lbt"));
  EXPECT_EQ(symt.symcnt, count);
  EXPECT_EQ(std::memcmp(heads, hashtbl, sizeof heads), 0);
  for (int32_t n = 1; n <= count; ++n) {
    std::vector<uint8_t> phys(128);
    readsymt(n, phys.data());
    EXPECT_EQ(phys, before[static_cast<size_t>(n - 1)]) << n;
  }
  symrec r;
  int32_t rec = 0;
  lookup("SUB1", r, &rec, 0);
  EXPECT_NE(rec, 0);
  EXPECT_EQ(r.nitems, 2);
  EXPECT_EQ(r.extra.size(), 176u);
  EXPECT_EQ(r.line, rec);
  // New records after a read go on from the table's count.
  EXPECT_EQ(add("ZNEW", 7, 0), count + 1);
}

TEST_F(Library, MissingTableStartsEmpty) {
  lbtfilnam = path("nothing");
  getlib();
  EXPECT_NE(captured_report().find("tarvo (info): can't open " + path("nothing.lbt") + " as input"),
            std::string::npos);
  EXPECT_NE(captured_report().find("tarvo (info): will create a new library file"),
            std::string::npos);
  EXPECT_EQ(symt.symcnt, 0);
}

TEST_F(Library, DamagedTablesAreIncorrectlyFormatted) {
  std::string good = saved_library();
  auto patch32 = [](std::string s, size_t at, uint32_t v) {
    put_be32(reinterpret_cast<uint8_t*>(s.data()) + at, v);
    return s;
  };
  auto rec = [](int32_t n) { return 4224u + 128u * static_cast<size_t>(n - 1); };
  const uint8_t* g = reinterpret_cast<const uint8_t*>(good.data());
  int bucket_main = hashy("MAIN", 4);
  int32_t main_rec = static_cast<int32_t>(get_be32(g + 128 + 4 * bucket_main));
  int32_t sub1_rec = static_cast<int32_t>(get_be32(g + 128 + 4 * hashy("SUB1", 4)));
  ASSERT_NE(main_rec, 0);
  ASSERT_NE(sub1_rec, 0);
  struct Case { const char* what; std::string bytes; };
  std::string header_changed = good;
  header_changed[16] = 'd';
  const Case cases[] = {
      {"300 zero bytes", std::string(300, '\0')},
      {"empty file", std::string()},
      {"header only", good.substr(0, 128)},
      {"truncated", good.substr(0, good.size() - 1)},
      {"one record short", good.substr(0, good.size() - 128)},
      {"trailing bytes", good + "x"},
      {"header text", header_changed},
      {"count too large", patch32(good, 18, 0x7FFFFFFF)},
      {"negative count", patch32(good, 18, 0xFFFFFFFF)},
      {"bucket head out of range", patch32(good, 128 + 4 * 5, 999)},
      {"link out of range", patch32(good, rec(1) + 124, 999)},
      {"link to itself", patch32(good, rec(1) + 124, 1)},
      {"cyclic continuation", patch32(patch32(good, rec(2) + 124, 3), rec(3) + 124, 2)},
      {"cyclic bucket chain", patch32(good, rec(main_rec) + 4, static_cast<uint32_t>(main_rec))},
      {"record in the wrong bucket",
       patch32(patch32(good, 128 + 4 * bucket_main, 0), 128 + 4 * ((bucket_main + 1) % 1024),
               static_cast<uint32_t>(main_rec))},
      {"item count too large", patch32(good, rec(sub1_rec) + 36, 5)},
      {"item count negative", patch32(good, rec(sub1_rec) + 36, 0xFFFFFFFF)},
      {"host out of range", patch32(good, rec(main_rec) + 76, 1000)},
  };
  for (const Case& c : cases) {
    write_file("bad.lbt", c.bytes);
    EXPECT_FALSE(read_back("bad.lbt")) << c.what;
    EXPECT_NE(captured_report().find("tarvo (info): library " + path("bad.lbt") +
                                     " is incorrectly formatted"),
              std::string::npos)
        << c.what;
    EXPECT_NE(captured_report().find("will create a new library\n"), std::string::npos) << c.what;
    EXPECT_EQ(symt.symcnt, 0) << c.what;
    EXPECT_EQ(getnumsyms(), 0) << c.what;
  }
  // The reserved header bytes are not read.
  std::string reserved = good;
  reserved[100] = 'r';
  write_file("reserved.lbt", reserved);
  EXPECT_TRUE(read_back("reserved.lbt"));
}

TEST_F(Library, ValidatorAcceptsWhatTheWriterWrites) {
  std::string good = saved_library();
  EXPECT_TRUE(lbt_valid(reinterpret_cast<const uint8_t*>(good.data()),
                        static_cast<int64_t>(good.size())));
}

TEST_F(Library, FuzzSeedIsAValidTable) {
  std::ifstream in(std::string(TOOLKIT_SOURCE_DIR) + "/tests/fuzz/corpus/lbt/small.lbt",
                   std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  write_file("seed.lbt", ss.str());
  ASSERT_TRUE(read_back("seed.lbt"));
  EXPECT_EQ(symt.symcnt, 8);
  symrec r;
  int32_t rec = 0;
  lookup("SUB", r, &rec, 0);
  ASSERT_NE(rec, 0);
  argdesc a;
  argdesc_get(a, r.extra.data());
  EXPECT_STREQ(a.name, "X");
}

TEST_F(Library, HooksDoNothing) {
  int result = 7;
  comchk(&result);
  EXPECT_EQ(result, 0);
  result = 7;
  modchk(&result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(isLBTproc(), 0);
  EXPECT_EQ(glodupchk(), 0);
  EXPECT_EQ(glo_chk_infbody_against_ext(), 0);
}

using LibraryDeath = Library;

TEST_F(LibraryDeath, TableThatCannotBeWrittenIsFatal) {
  lbtfilnam = "/no/such/dir/lib";
  EXPECT_EXIT(savlib(), ::testing::ExitedWithCode(4),
              "tarvo \\(fatal\\): can't open /no/such/dir/lib.lbt as output");
}
