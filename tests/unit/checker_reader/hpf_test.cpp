// HPF directives, FORALL and EXTRINSIC over whole program units: each
// message of the directives is raised by a small unit while its valid
// neighbour raises none, and the bits and dimension flags that the
// directives leave on the symbols are read back.
#include <cstring>
#include <map>
#include <string>

#include "checker/reader/dispatch.h"
#include "checker/reader/hpfstmt.h"
#include "checker/reader/typedecl.h"
#include "tests/unit/checker_reader/reader_fixture.h"

namespace {

class Hpf : public ReaderTest {
 protected:
  // Reads the free-form source with the HPF option as set; every message
  // that was raised, by number and count.
  std::map<int32_t, int32_t> run(const std::string& src, int32_t hpf = 1) {
    SetUp();
    ropt.hpf = hpf;
    open_source(src, ".f90");
    prgbeg();
    parse();
    std::map<int32_t, int32_t> got;
    for (int32_t n = 1; n <= maxerrmsg; ++n) {
      if (ecat.errcnt[n] != 0) got[n] = ecat.errcnt[n];
    }
    srcend();
    return got;
  }

  static locsym* find(const char* name, int32_t cls = 0) {
    return getsym(name, static_cast<int32_t>(std::strlen(name)), 0, cls);
  }

  // The HPF flags of dimension k (from 1) of a symbol.
  static int32_t dimflags(const locsym* s, int32_t k) {
    const arrdim* d = static_cast<const arrdim*>(s->arrspec);
    for (int32_t i = 1; i < k && d != nullptr; ++i) d = d->next;
    return d != nullptr ? d->second : -1;
  }
};

std::string show(const std::map<int32_t, int32_t>& got) {
  std::string out;
  for (const auto& [n, c] : got) out += " " + std::to_string(n) + "x" + std::to_string(c);
  return out.empty() ? " none" : out;
}

// A unit that raises the message once, and the same unit mended.
struct Pair {
  int32_t msg;
  const char* bad;
  const char* good;
};

const Pair pairs[] = {
    {5, "program p\ncommon /c/ x\n!hpf$ sequence /c\nend\n",
     "program p\ncommon /c/ x\n!hpf$ sequence /c/\nend\n"},
    {6, "subroutine s(a)\nreal a(10)\n!hpf$ dynamic a\nx = 1\n!hpf$ realign a(:) with *t(:)\nend\n",
     "subroutine s(a)\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with *t(:)\nend\n"},
    {6, "program p\nreal a(10)\n!hpf$ dynamic a\n!hpf$ processors q(2)\n!hpf$ redistribute a * (block)\nend\n",
     "program p\nreal a(10)\n!hpf$ dynamic a\n!hpf$ processors q(2)\nx = 1\n!hpf$ redistribute a (block)\nend\n"},
    {6, "program p\n!hpf$ processors q(2)\n!hpf$ processors r(2) s\nend\n",
     "program p\n!hpf$ processors q(2)\n!hpf$ processors r(2), s\nend\n"},
    {7, "program p\nreal a(10)\n!hpf$ distribute a(block\nend\n",
     "program p\nreal a(10)\n!hpf$ distribute a(block)\nend\n"},
    {7, "program p\nreal a(10)\nforall (i=1:10 a(i) = 0\nend\n",
     "program p\nreal a(10)\nforall (i=1:10) a(i) = 0\nend\n"},
    {16, "program p\nreal a(5)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(1:5\nend\n",
     "program p\nreal a(5)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(1:5)\nend\n"},
    {17, "program p\n!hpf$ template, dimension :: t\nend\n",
     "program p\n!hpf$ template, dimension(10) :: t\nend\n"},
    {17, "program p\ninteger i\n!hpf$ independent, new i\ndo i = 1, 2\nend do\nend\n",
     "program p\ninteger i\n!hpf$ independent, new (i)\ndo i = 1, 2\nend do\nend\n"},
    {20, "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:) b\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:)\nend\n"},
    {22, "program p\n!hpf$ processors, template :: x\nend\n",
     "program p\n!hpf$ processors, dimension(4) :: x\nend\n"},
    {22, "program p\n!hpf$ processors x\n!hpf$ template x\nend\n",
     "program p\n!hpf$ processors x\n!hpf$ template y\nend\n"},
    {24, "program p\n!hpf$ dynamic 1\nend\n", "program p\nreal a(2)\n!hpf$ dynamic a\nend\n"},
    {24, "program p\ncommon /c/ x\n!hpf$ nosequence //\nend\n",
     "program p\ncommon /c/ x\n!hpf$ nosequence /c/\nend\n"},
    {33, "program p\nreal a(10)\nforall (i) a(i) = 0\nend\n",
     "program p\nreal a(10)\nforall (i=1:10) a(i) = 0\nend\n"},
    {36, "program p\n!hpf$ independent x\ndo i = 1, 2\nend do\nend\n",
     "program p\n!hpf$ independent\ndo i = 1, 2\nend do\nend\n"},
    {80, "program p\nreal a(10)\nforall (i=1:10, a(i)) a(i) = 0\nend\n",
     "program p\nreal a(10)\nforall (i=1:10, a(i) > 0) a(i) = 0\nend\n"},
    {87, "program p\nreal a(10)\nforall (i=1, 10) a(i) = 0\nend\n",
     "program p\nreal a(10)\nforall (i=1: 10) a(i) = 0\nend\n"},
    {197, "subroutine s(k)\n!hpf$ independent, new (k)\ndo k = 1, 2\nend do\nend\n",
     "subroutine s(k)\n!hpf$ independent, new (j)\ndo j = 1, 2\nend do\nend\n"},
    {445, "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:, 1)\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10, 2)\n!hpf$ align a(:) with t(:, 1)\nend\n"},
    {553, "program p\nend forall\nend\n",
     "program p\nforall (i=1:2)\nend forall\nend\n"},
    {577, "program p\nreal a(2)\n!hpf$ dynamic, shared :: a\nend\n",
     "program p\nreal a(2)\n!hpf$ dynamic, distribute(block) :: a\nend\n"},
    {579, "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) to t(:)\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:)\nend\n"},
    {580, "program p\ncommon /c/ a(10)\n!hpf$ dynamic a\nend\n",
     "program p\nreal a(10)\n!hpf$ dynamic a\nend\n"},
    {581, "program p\ncommon /c/ t\n!hpf$ template t(10)\nend\n",
     "program p\ncommon /c/ u\n!hpf$ template t(10)\nend\n"},
    {582, "program p\nreal a(10, 10)\n!hpf$ template t(10, 10)\n!hpf$ align a(:, :) with t(:, 1)\nend\n",
     "program p\nreal a(10, 10)\n!hpf$ template t(10, 10)\n!hpf$ align a(:, *) with t(:, 1)\nend\n"},
    {583, "program p\nreal b(10, 10)\n!hpf$ template t(10)\n!hpf$ align with t :: b\nend\n",
     "program p\nreal b(10)\n!hpf$ template t(10)\n!hpf$ align with t :: b\nend\n"},
    {584, "program p\nreal a(6)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(1:10:2)\nend\n",
     "program p\nreal a(5)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(1:10:2)\nend\n"},
    {584, "program p\nreal a(5)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(1:10:3)\nend\n",
     "program p\nreal a(4)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(1:10:3)\nend\n"},
    {585, "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:, :) with t(:)\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:)\nend\n"},
    {586, "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ distribute a(block)\n!hpf$ align a(:) with t(:)\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ distribute t(block)\n!hpf$ align a(:) with t(:)\nend\n"},
    {587, "program p\nreal a(10)\n!hpf$ template t(10)\nx = 1\n!hpf$ realign a(:) with t(:)\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ dynamic a\nx = 1\n!hpf$ realign a(:) with t(:)\nend\n"},
    {589, "program p\nreal a(10)\n!hpf$ distribute a(block, block)\nend\n",
     "program p\nreal a(10, 10)\n!hpf$ distribute a(block, block)\nend\n"},
    {590, "program p\nreal a(10), q(2)\n!hpf$ distribute a(block) onto q\nend\n",
     "program p\nreal a(10)\n!hpf$ processors q(2)\n!hpf$ distribute a(block) onto q\nend\n"},
    {591, "program p\nreal a(10)\n!hpf$ processors q(2)\n!hpf$ distribute a(block, block) onto q\nend\n",
     "program p\nreal a(10, 10)\n!hpf$ processors q(2)\n!hpf$ distribute a(block, *) onto q\nend\n"},
    {592, "program p\nreal a(10)\n!hpf$ processors q(2, 2)\n!hpf$ distribute a onto q\nend\n",
     "program p\nreal a(10, 10)\n!hpf$ processors q(2, 2)\n!hpf$ distribute a onto q\nend\n"},
    {593, "program p\nreal a(100)\n!hpf$ processors q(4)\n!hpf$ distribute a(block(10)) onto q\nend\n",
     "program p\nreal a(100)\n!hpf$ processors q(4)\n!hpf$ distribute a(block(25)) onto q\nend\n"},
    {594, "program p\nreal a(10)\n!hpf$ distribute a(blocks)\nend\n",
     "program p\nreal a(10)\n!hpf$ distribute a(b)\nend\n"},
    {595, "extrinsic(1) subroutine s\nend\n", "extrinsic(hpf) subroutine s\nend\n"},
    {598, "subroutine s(a)\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:)\n!hpf$ inherit a\nend\n",
     "subroutine s(a)\nreal a(10)\n!hpf$ inherit a\nend\n"},
    {598, "subroutine s(a)\nreal a(10)\n!hpf$ template t(10)\n!hpf$ inherit a\n!hpf$ align a(:) with t(:)\nend\n",
     "subroutine s(a)\nreal a(10)\n!hpf$ template t(10)\n!hpf$ inherit a\n!hpf$ distribute t(block)\nend\n"},
    {608, "program p\nreal a(2)\n!hpf$ dynamic, dynamic :: a\nend\n",
     "program p\nreal a(2)\n!hpf$ dynamic :: a\nend\n"},
    {616, "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align with t(:) a\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align with t(:) :: a\nend\n"},
    {632, "program p\nreal a(10)\n!hpf$ inherit a\nend\n", "subroutine s(a)\nreal a(10)\n!hpf$ inherit a\nend\n"},
    {632, "program p\nreal a(10)\n!hpf$ distribute a * (block)\nend\n",
     "subroutine s(a)\nreal a(10)\n!hpf$ distribute a * (block)\nend\n"},
    {646, "program p\nreal a(10)\nforall (x=1:10) a(1) = 0\nend\n",
     "program p\nreal a(10)\nforall (i=1:10) a(i) = 0\nend\n"},
    {646, "program p\nreal a(10), x\n!hpf$ template t(10)\n!hpf$ align a(x) with t(*)\nend\n",
     "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(i) with t(i)\nend\n"},
    {584, "subroutine s(m)\nreal a(m, 3, 5)\n!hpf$ template t(10, 10)\n!hpf$ align a(:, *, :) with t(:, 1:4)\nend\n",
     "subroutine s(m)\nreal a(m, 3, 4)\n!hpf$ template t(10, 10)\n!hpf$ align a(:, *, :) with t(:, 1:4)\nend\n"},
    {746, "program p\nreal a(10)\n!hpf$ distribute a(cyclic(0))\nend\n",
     "program p\nreal a(10)\n!hpf$ distribute a(cyclic(1))\nend\n"},
    {747, "program p\nreal a(10)\nforall (i=1:10:0) a(i) = 0\nend\n",
     "program p\nreal a(10)\nforall (i=1:10:2) a(i) = 0\nend\n"},
    {748, "extrinsic(hpf) extrinsic(hpf) subroutine s\nend\n", "extrinsic(hpf) subroutine s\nend\n"},
    {759, "program p\n!hpf$ independent, old (i)\ndo i = 1, 2\nend do\nend\n",
     "program p\n!hpf$ independent, new (i)\ndo i = 1, 2\nend do\nend\n"},
    {760, "program p\ninteger, save :: i\n!hpf$ independent, new (i)\ndo i = 1, 2\nend do\nend\n",
     "program p\ninteger :: i\n!hpf$ independent, new (i)\ndo i = 1, 2\nend do\nend\n"},
    {768, "program p\nreal a(2, 2)\nforall (i=1:2)\nforall (i=1:2) a(i, i) = 0\nend forall\nend\n",
     "program p\nreal a(2, 2)\nforall (i=1:2)\nforall (j=1:2) a(i, j) = 0\nend forall\nend\n"},
    {799, "program p\nreal, save :: a(10)\n!hpf$ dynamic a\nend\n",
     "program p\nreal :: a(10)\n!hpf$ dynamic a\nend\n"},
    {800, "recursive extrinsic(hpf_local) subroutine s\nend\n",
     "recursive extrinsic(hpf) subroutine s\nend\n"},
    {800, "extrinsic(hpf_local) recursive subroutine s\nend\n",
     "extrinsic(hpf_local) subroutine s\nend\n"},
    {804, "extrinsic(hpf_local) subroutine s(a)\nreal a(10)\n!hpf$ sequence a\nend\n",
     "extrinsic(hpf_local) subroutine s(a)\nreal a(10)\n!hpf$ nosequence a\nend\n"},
};

}  // namespace

TEST_F(Hpf, EachMessageHasAFixtureAndAValidNeighbour) {
  for (const Pair& p : pairs) {
    std::map<int32_t, int32_t> bad = run(p.bad);
    std::map<int32_t, int32_t> want{{p.msg, 1}};
    EXPECT_EQ(bad, want) << p.msg << " for\n" << p.bad << "got" << show(bad);
    std::map<int32_t, int32_t> good = run(p.good);
    EXPECT_TRUE(good.empty()) << "neighbour of " << p.msg << ":\n" << p.good << "got" << show(good);
  }
}

TEST_F(Hpf, DistributionReachesTheAligneesThroughTheirTarget) {
  // The target is distributed before the alignment: the alignee is marked
  // at once; distributed after it: at the first executable statement.
  for (const char* order : {"!hpf$ distribute t(block) onto q\n!hpf$ align a(:) with t(:)\n",
                            "!hpf$ align a(:) with t(:)\n!hpf$ distribute t(block) onto q\n"}) {
    std::string src = std::string("program p\nreal a(10)\n!hpf$ processors q(2)\n!hpf$ template t(10)\n") +
                      order + "a = 0\nend\n";
    EXPECT_TRUE(run(src).empty()) << src;
    locsym* a = find("A");
    locsym* t = find("T");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(a->hpfbits, HPF_ALIGN | HPF_RESOLVED) << src;
    EXPECT_EQ(a->further, t);
    EXPECT_EQ(dimflags(a, 1), HD_ALIGN | HD_BLOCK) << src;
    EXPECT_EQ(t->sclass, SC_TEMPLATE);
    EXPECT_EQ(t->hpfbits, HPF_TEMPLATE | HPF_DISTRIBUTE);
    EXPECT_EQ(t->further, find("Q"));
    EXPECT_EQ(find("Q")->sclass, SC_PROCESSORS);
    EXPECT_EQ(find("Q")->hpfbits, HPF_PROCESSORS);
  }
}

TEST_F(Hpf, AChainOfAlignmentsEndsAtItsLastTarget) {
  EXPECT_TRUE(run("program p\nreal a(10), b(10)\n!hpf$ template t(10)\n!hpf$ distribute t(cyclic)\n"
                  "!hpf$ align b(:) with t(:)\n!hpf$ align a(:) with b(:)\nend\n")
                  .empty());
  EXPECT_EQ(find("A")->further, find("T"));
  EXPECT_EQ(dimflags(find("A"), 1), HD_ALIGN | HD_CYCLIC);
}

TEST_F(Hpf, DimensionFlagsOfTheDistributionForms) {
  struct Case {
    const char* decl;   // the distribution of x, a dummy of rank 2
    int32_t first;      // flags of its dimensions
    int32_t second;
  } cases[] = {
      {"!hpf$ distribute x(block, cyclic(3))", HD_BLOCK, HD_CYCLIC},
      {"!hpf$ distribute x(*, block)", 0, HD_BLOCK},
      {"!hpf$ distribute x * (cyclic, *)", HD_CYCLIC | HD_STAR, HD_STAR},
      {"!hpf$ distribute x *", HD_STARALL, HD_STARALL},
      {"!hpf$ distribute * :: x", HD_STARALL, HD_STARALL},
      {"!hpf$ inherit x", HD_INHERIT, HD_INHERIT},
      {"!hpf$ align x(:, *) with *t(:)", HD_ALIGN | HD_STAR, 0},
      {"!hpf$ dynamic x\n!hpf$ align x(*, :) with t(:)\ny = 1\n!hpf$ realign x(*, :) with t(:)",
       0, HD_ALIGN | HD_REALIGN},
  };
  for (const Case& c : cases) {
    std::string src = std::string("subroutine s(x)\nreal x(10, 10)\n!hpf$ template t(10)\n") + c.decl + "\nend\n";
    EXPECT_TRUE(run(src).empty()) << src << show(run(src));
    locsym* x = find("X");
    EXPECT_EQ(dimflags(x, 1), c.first) << c.decl;
    EXPECT_EQ(dimflags(x, 2), c.second) << c.decl;
  }
}

TEST_F(Hpf, SequenceDirectivesMarkTheUnitAndTheirItems) {
  EXPECT_TRUE(run("program p\ncommon /com/ y\n!hpf$ nosequence\nend\n").empty());
  EXPECT_EQ(Status.hpfseq, 0x800);
  EXPECT_TRUE(run("program p\ncommon /com/ y\nreal x\n!hpf$ sequence :: /com/, x\nend\n").empty());
  EXPECT_EQ(Status.hpfseq, 0);
  EXPECT_EQ(find("COM", SC_COM)->hpfbits, HPF_SEQUENCE);
  EXPECT_EQ(find("X")->hpfbits, HPF_SEQUENCE);
  EXPECT_EQ(find("Y")->hpfbits, 0u);
}

TEST_F(Hpf, ExtrinsicKindsMarkTheProcedure) {
  struct Case {
    const char* prefix;
    uint32_t bits;
  } cases[] = {{"extrinsic(hpf) ", HPF_EXTRINSIC | HPF_EXTR_HPF},
               {"extrinsic(hpf_local) ", HPF_EXTRINSIC | HPF_EXTR_LOCAL},
               {"extrinsic(f77_local) ", HPF_EXTRINSIC},
               {"recursive extrinsic(hpf) ", HPF_EXTRINSIC | HPF_EXTR_HPF},
               {"", 0}};
  for (const Case& c : cases) {
    std::string src = std::string(c.prefix) + "subroutine s(a)\nreal a\nend\n";
    EXPECT_TRUE(run(src).empty()) << src;
    ASSERT_NE(find("S"), nullptr);
    EXPECT_EQ(find("S")->hpfbits, c.bits) << src;
    // Without the HPF option the prefix is read and leaves no bit.
    EXPECT_TRUE(run(src, 0).empty()) << src;
    EXPECT_EQ(find("S")->hpfbits, 0u) << src;
  }
}

TEST_F(Hpf, ForallHeadersOpenConstructsOrStatements) {
  // A mask after the triplets; "j==k" is a mask, not a triplet; an integer
  // mask is only a portability note.
  for (const char* src : {"program p\nreal a(2, 2)\nforall (i=1:2, j=1:2, a(i, j) .ne. 0) a(i, j) = 1\nend\n",
                          "program p\nreal a(2)\nforall (i=1:2, j==k) a(i) = 0\nend\n",
                          "program p\nreal a(2)\nforall (i=1:2, k) a(i) = 0\nend\n"}) {
    EXPECT_TRUE(run(src).empty()) << src << show(run(src));
    EXPECT_EQ(nest.nestdep, 0) << src;
  }
  // The construct keeps its header's last index; a DO loop keeps its own
  // variable apart from a FORALL index.
  EXPECT_TRUE(run("program p\nreal a(2, 2)\nforall (i=1:2, j=1:2)\na(i, j) = 0\n").count(117));
  ASSERT_EQ(nest.nestdep, 1);
  EXPECT_EQ(nest.e[1].code, 12);
  EXPECT_EQ(nest.e[1].forall_index, "J");
  EXPECT_TRUE(run("program p\nreal a(2)\ndo i = 1, 2\nforall (i=1:2) a(i) = 0\nend do\nend\n").empty());
  // A header that cannot be read still opens a construct when it ends
  // with ")": its END FORALL finds it.
  std::map<int32_t, int32_t> got = run("program p\nreal a(2)\nforall (i=1 2)\nend forall\nend\n");
  EXPECT_EQ(got.count(553), 0u) << show(got);
}

TEST_F(Hpf, DirectivesAreCommentsWithoutTheOption) {
  const char* src =
      "program p\nreal a(10)\n!hpf$ template t(10)\n!hpf$ align a(:) with t(:) junk\n"
      "!hpf$ distribute a(nothing)\nend\n";
  EXPECT_TRUE(run(src, 0).empty());
  EXPECT_EQ(find("A")->hpfbits, 0u);
  EXPECT_FALSE(run(src, 1).empty());
  // On an ordinary line a directive keyword is passed over, also with the
  // option.
  EXPECT_TRUE(run("program p\nreal a(10)\ndistribute a(nothing)\nend\n", 1).empty());
  EXPECT_EQ(find("A")->hpfbits, 0u);
}

TEST_F(Hpf, FixedFormDirectivesInBothLanguageModes) {
  const char* src =
      "      PROGRAM P\n      REAL A(10), B(10, 4)\nCHPF$ PROCESSORS Q(2)\n*HPF$ TEMPLATE T(10)\n"
      "!HPF$ DISTRIBUTE T(BLOCK) ONTO Q\nChpf$ ALIGN A(:) WITH T(:)\nCHPF$ ALIGN (:, *) WITH T :: B\n"
      "      A(1) = 0\n      END\n";
  for (int32_t language : {1, 2}) {
    SetUp();
    ropt.hpf = 1;
    ropt.Language = language;
    open_source(src, ".f");
    prgbeg();
    parse();
    for (int32_t n = 1; n <= maxerrmsg; ++n) EXPECT_EQ(count(n), 0) << n << " in mode " << language;
    EXPECT_EQ(find("A")->hpfbits, HPF_ALIGN | HPF_RESOLVED) << language;
    EXPECT_EQ(dimflags(find("B"), 1), HD_ALIGN | HD_BLOCK) << language;
    EXPECT_EQ(dimflags(find("B"), 2), 0) << language;
    srcend();
  }
}

TEST_F(Hpf, BrokenDirectiveTextEndsWithMessages) {
  // Each line stands alone in a unit; each draws a message and the reading
  // goes on to the end of the unit.
  for (const char* line : {"!hpf$ align a(:, with t((", "!hpf$ align", "!hpf$ align a(:) to",
                           "!hpf$ align (:) with t(:) ::", "!hpf$ distribute (block(0)) onto ::",
                           "!hpf$ distribute a(block,", "!hpf$ distribute onto", "!hpf$ template, processors, dimension :: t",
                           "!hpf$ template t(", "!hpf$ processors q(2", "!hpf$ independent, new(",
                           "!hpf$ sequence /", "!hpf$ nosequence :", "!hpf$ inherit ,", "!hpf$ dynamic a b",
                           "!hpf$ distribute x onto x", "!hpf$ align a(:) with a(:, :)",
                           "!hpf$ realign a(:) with *t(:)"}) {
    std::string src = std::string("program p\nreal a(10), x\n") + line + "\nend\n";
    std::map<int32_t, int32_t> got = run(src);
    EXPECT_FALSE(got.empty()) << line;
    EXPECT_EQ(got.count(117), 0u) << line << show(got);
  }
}
