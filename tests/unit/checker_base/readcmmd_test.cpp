// Reading the switches as a whole: the option globals that a command line
// leaves, in a working folder without configuration files.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "checker/base/cmmdline.h"
#include "checker/base/errmsg.h"
#include "checker/base/out.h"
#include "checker/tarvo.h"
#include "checker/common/filnam.h"
#include "checker/common/glo.h"
#include "checker/common/qmalloc.h"
#include "checker/common/tlink.h"

namespace fs = std::filesystem;

namespace {

class ReadcmmdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarvo_cmd_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    old = fs::current_path();
    fs::current_path(dir);
    setenv("TARVOCFG", dir.c_str(), 1);
    unsetenv("TARVOHOME");
  }
  void TearDown() override {
    fs::current_path(old);
    unsetenv("TARVOCFG");
    fs::remove_all(dir);
  }
  // Runs readcmmd on "tarvo" and the words; returns its result.
  int run(std::vector<std::string> words) {
    cmmdline_reset();
    out_reset();
    errmsg_reset();
    filnam_reset();
    file_storage = qcreate(0, "file");
    tlink* list = maketlink(file_storage);
    words.insert(words.begin(), "tarvo");
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    swtval* sw = nullptr;
    testing::internal::CaptureStdout();
    int r = readcmmd(sw, static_cast<int>(words.size()), argv.data(), list);
    report = testing::internal::GetCapturedStdout();
    return r;
  }
  fs::path dir, old;
  std::string report;
};

}  // namespace

TEST_F(ReadcmmdTest, DefaultsOfARun) {
  ASSERT_EQ(run({"a.f90"}), 0);
  EXPECT_EQ(Language, 2);
  EXPECT_EQ(compiler, 8u);
  EXPECT_EQ(Sizemode, 2);
  EXPECT_EQ(port_dialect, 2048);
  EXPECT_EQ(dias, std::vector<int32_t>{8});
  EXPECT_EQ(outwid, 79);
  EXPECT_EQ(nlpp, 0);
  EXPECT_EQ(topmark, 100);
  EXPECT_EQ(mkdep_opt, 1);
  EXPECT_EQ(numsrc, 1);
  EXPECT_EQ(exten, ".FOR");
  EXPECT_EQ(cppcmmd, "cpp -traditional-cpp -I/usr/lang/SC0.0/include");
  EXPECT_NE(report.find("a.f90  \n"), std::string::npos);
}

TEST_F(ReadcmmdTest, HelpAndNoArguments) {
  EXPECT_EQ(run({}), 2);
  EXPECT_NE(report.find("-W  WIDTH"), std::string::npos);
  EXPECT_EQ(run({"-?"}), 2);
  EXPECT_EQ(run({"-Mhelp", "a.f90"}), 1);
  EXPECT_EQ(run({"-Zti" "tle"}), 2);
  EXPECT_NE(report.find("Checker revision 5.00.14-QEN"), std::string::npos);
}

TEST_F(ReadcmmdTest, DialectsAndLanguage) {
  struct Row {
    std::vector<std::string> words;
    uint32_t compiler;
    int32_t sizemode;
    uint8_t language;
  };
  const std::vector<Row> rows = {
      {{"-Vcray", "a.f"}, 128, 4, 2},
      {{"-Vsgi", "a.f"}, 256, 16, 2},
      {{"-Vlahey", "a.f"}, 65536, 32, 2},
      {{"-Vdecnt", "a.f"}, 131074, 64, 2},
      {{"-Vdecvms", "a.f"}, 18, 8, 2},
      {{"-7", "a.f"}, 8, 2, 1},
      {{"-7", "-9", "a.f"}, 8, 2, 2},
      {{"-7", "-Mhpf", "a.f"}, 8, 2, 1},         // no HPF for Fortran 77
      {{"-Mhpf", "a.f"}, 8 | 32768, 2, 2},       // HPF adds its dialect bit
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.words[0]);
    ASSERT_EQ(run(r.words), 0);
    EXPECT_EQ(compiler, r.compiler);
    EXPECT_EQ(Sizemode, r.sizemode);
    EXPECT_EQ(Language, r.language);
  }
}

TEST_F(ReadcmmdTest, PortabilityAndTheAnsiSwitch) {
  ASSERT_EQ(run({"-Pcray,sgi", "-a", "a.f"}), 0);
  EXPECT_EQ(port_dialect, 2048 | 128 | 256 | 4096);
  // The dialect list is made from the PORTABILITY dialects before the ANSI
  // switch adds its dialect to port_dialect.
  EXPECT_EQ(dias, (std::vector<int32_t>{8, 128, 256}));
  EXPECT_EQ(ndias, 3);
  ASSERT_EQ(run({"-7", "-a", "-Psun,cray", "a.f"}), 0);
  EXPECT_EQ(port_dialect, 2048 | 8 | 128 | 1);
  EXPECT_EQ(dias, (std::vector<int32_t>{8, 128}));   // the target's own bit is left out
}

TEST_F(ReadcmmdTest, LibraryAndDatabaseOptions) {
  ASSERT_EQ(run({"-g", "-Lmy.lbt", "a.f"}), 0);
  EXPECT_EQ(libopt, 1);
  EXPECT_EQ(lbtfilnam, "my.lbt");
  EXPECT_EQ(gloopt, 0);
  ASSERT_EQ(run({"-Bx.fdb", "a.f"}), 0);
  EXPECT_EQ(fdbopt, 1);
  EXPECT_EQ(gloopt, 1);
}

TEST_F(ReadcmmdTest, SourceFormAndSizes) {
  ASSERT_EQ(run({"-Rfree", "-2", "a.f"}), 0);
  EXPECT_EQ(flopt_srcform, 1);
  EXPECT_EQ(cmmdextopt, 1);
  EXPECT_EQ(cmmdintsiz, 2);
  EXPECT_EQ(cmmdlogsiz, 2);
  ASSERT_EQ(run({"-7", "a.f"}), 0);
  EXPECT_EQ(flopt_srcform, 2);   // Fortran 77 sources are fixed form
}

TEST_F(ReadcmmdTest, PreprocessorCommand) {
  ASSERT_EQ(run({"-DX=1", "-Iinc", "-Mcpp:-C", "-p", "a.F"}), 0);
  EXPECT_EQ(cppcmmd, "cpp -traditional-cpp -DX=1 -Iinc -I/usr/lang/SC0.0/include -C");
  EXPECT_EQ(cppargs, (std::vector<std::string>{"cpp", "-traditional-cpp", "-DX=1", "-Iinc",
                                               "-I/usr/lang/SC0.0/include", "-C"}));
  EXPECT_EQ(includepaths, std::vector<std::string>{"inc"});
  EXPECT_EQ(allthrucpp, 1);
}

TEST_F(ReadcmmdTest, ListingFileGeometry) {
  ASSERT_EQ(run({"-Srep", "-W100", "a.f"}), 0);
  EXPECT_EQ(nlpp, 60);
  EXPECT_EQ(outwid, 100);
  EXPECT_EQ(topmark, 58);
  EXPECT_TRUE(fs::exists(dir / "rep.lnt"));
  // The statistics and cross-reference files beside the listing, empty.
  EXPECT_TRUE(fs::exists(dir / "rep.stt"));
  EXPECT_TRUE(fs::exists(dir / "rep.xrf"));
  EXPECT_EQ(fs::file_size(dir / "rep.stt"), 0u);
}

TEST_F(ReadcmmdTest, SourceListing) {
  ASSERT_EQ(run({"src/a.f", "src/bb.f", "c.f", "lib.lbt", "src/a.f"}), 0);
  EXPECT_EQ(numsrc, 3);
  EXPECT_EQ(numlbt, 1);
  EXPECT_NE(report.find("\nDirectory src/\n\na.f   bb.f  \n\nc.f   \n"), std::string::npos) << report;
  ASSERT_EQ(run({"first.fdb", "b.f"}), 0);
  EXPECT_EQ(spcfdb, 1);
  EXPECT_EQ(numsrc, 1);
  EXPECT_EQ(fdbfilnam, "first.fdb");
}

// An illegal value from a configuration file names the file on the first
// line of the message, before the hint.
TEST_F(ReadcmmdTest, IllegalValueFromAConfigurationFileNamesIt) {
  { std::ofstream(dir / "tarvo.cfg") << "-W30\n"; }
  EXPECT_EXIT(run({"a.f"}), ::testing::ExitedWithCode(4),
              "tarvo \\(fatal\\): illegal switch value -W 30 \\(in [^\n]*tarvo.cfg\\)\n"
              "Try a page width between 40 and 499\\.");
}
