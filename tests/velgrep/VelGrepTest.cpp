// velgrep end to end: options, exit codes, messages, and a differential run
// against GNU grep in a Shift-JIS locale on random patterns and texts.
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "regexp/AWKStr.h"
#include "tests/velgrep/VelGrepTestUtil.h"

namespace vel {
namespace {

using namespace vel::test;

std::string ToUtf8(const std::string& cp932) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::string out(cp932.size() * 3 + 8, '\0');
  char* in = const_cast<char*>(cp932.data());
  size_t inLeft = cp932.size(), outLeft = out.size();
  char* o = out.data();
  iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Velgrep, OptionsOutputAndExitStatus) {
  Scratch sc;
  const std::string v = VelgrepPath();
  const std::string text = "apple\r\nbanana\rcherry\nアpple\nbandana";
  struct Case {
    std::string args, out;
    int status;
  } cases[] = {
      {"an", "banana\nbandana\n", 0},
      {"-n an", "2:banana\n5:bandana\n", 0},
      {"-c an", "2\n", 0},
      {"-o 'an+'", "an\nan\nan\nan\n", 0},
      {"-n -o 'a.a'", "2:ana\n5:ana\n", 0},
      {"-s '<&>' 'an'", "apple\nb<an><an>a\ncherry\nアpple\nb<an>d<an>a\n", 0},
      {"-c zzz", "0\n", 1},
      {"zzz", "", 1},
      {"'^c.*y$'", "cherry\n", 0},
      {"A", "", 1},
      {"-f 'ｱpple'", "アpple\n", 0},
      {"-nc an", "2\n", 0},
  };
  for (const Case& c : cases) {
    Result r = sc.Run(v + " " + c.args, text);
    EXPECT_EQ(r.Out, c.out) << c.args;
    EXPECT_EQ(r.Status, c.status) << c.args;
  }
}

TEST(Velgrep, FilesAreNamedWhenThereAreSeveral) {
  Scratch sc;
  fs::path a = sc.File("a.txt", "x1\ny\n"), b = sc.File("b.txt", "x2\n");
  Result r = sc.Run(VelgrepPath() + " -c x " + a.string() + " " + b.string());
  EXPECT_EQ(r.Out, a.string() + ":1\n" + b.string() + ":1\n");
  Result missing = sc.Run(VelgrepPath() + " x " + (sc.Dir / "none.txt").string());
  EXPECT_EQ(missing.Status, 2);
  EXPECT_NE(missing.Err.find("none.txt"), std::string::npos);
  // A folder cannot be read: an error, and the other files are still searched.
  Result folder = sc.Run(VelgrepPath() + " x " + sc.Dir.string() + " " + a.string());
  EXPECT_EQ(folder.Status, 2);
  EXPECT_EQ(folder.Out, a.string() + ":x1\n");
}

TEST(Velgrep, LineNumbersRunOnAcrossReadBlocks) {
  Scratch sc;
  std::string big;
  for (int i = 0; i < 2500000; ++i) big += (i % 2) ? "yy\r\n" : "zz\r";
  fs::path f = sc.File("big.txt", big + "marker\n");
  Result r = sc.Run(VelgrepPath() + " -n marker " + f.string());
  EXPECT_EQ(r.Out, "2500001:marker\n");
  Result c = sc.Run(VelgrepPath() + " -c y " + f.string());
  EXPECT_EQ(c.Out, "1250000\n");
}

// A file that receives the output is not searched: its own lines would be
// found again without end.
TEST(Velgrep, TheOutputFileIsNotSearched) {
  Scratch sc;
  sc.File("d/a.txt", "x1\n");
  sc.File("d/out.txt", "");
  Result r = sc.Run("cd '" + (sc.Dir / "d").string() + "' && " + VelgrepPath() + " -r x . > out.txt; echo $?; cat out.txt");
  EXPECT_EQ(r.Out, "2\n./a.txt:x1\n");
  EXPECT_EQ(r.Err, "velgrep: ./out.txt: input file is also the output\n");
  Result counted = sc.Run("cd '" + (sc.Dir / "d").string() + "' && " + VelgrepPath() + " -c x a.txt out.txt > out.txt; cat out.txt");
  EXPECT_EQ(counted.Out, "a.txt:1\nout.txt:0\n");
}

TEST(Velgrep, PatternErrorGoesToStandardErrorInUtf8) {
  Scratch sc;
  Result r = sc.Run(VelgrepPath() + " '(a'", "a\n");
  EXPECT_EQ(r.Status, 2);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, ToUtf8("velgrep: 右(閉じ)括弧が必要です (位置 3)") + "\n");
  Result usage = sc.Run(VelgrepPath());
  EXPECT_EQ(usage.Status, 2);
}

TEST(Velgrep, BytesPassThroughUnchanged) {
  Scratch sc;
  std::string line = std::string("\x82\xa0\xff\x80 \x01z", 7);
  Result r = sc.Run(VelgrepPath() + " z", line + "\n" + std::string("\x82", 1) + "\n");
  EXPECT_EQ(r.Out, line + "\n");
}

// --- Differential run against GNU grep. ---

struct Gen {
  std::mt19937 Rng;
  explicit Gen(unsigned seed) : Rng(seed) {}
  int Below(int n) { return static_cast<int>(Rng() % static_cast<unsigned>(n)); }
  std::string Atom() {
    static const std::vector<std::string> atoms = {
        "a", "b", "c", "A", "0", "1", " ", "あ", "ア", "表", "ソ", "ー", "ｱ", "ｶ", ".", "[ab]", "[a-c]",
        "[0-9]", "[^a]", "[^a-c]", "[aア]", "[^ア]", "[A-Z]", "[ｱｶ]", "[表ソ]", "[^表0]"};
    return atoms[Below(static_cast<int>(atoms.size()))];
  }
  std::string Piece(int depth) {
    std::string p = (depth > 0 && Below(5) == 0) ? "(" + Alt(depth - 1) + ")" : Atom();
    switch (Below(6)) {
      case 0: return p + "*";
      case 1: return p + "+";
      case 2: return p + "?";
      default: return p;
    }
  }
  std::string Branch(int depth) {
    std::string b;
    for (int n = 1 + Below(4); n > 0; --n) b += Piece(depth);
    return b;
  }
  std::string Alt(int depth) {
    std::string a = Branch(depth);
    while (Below(4) == 0) a += "|" + Branch(depth);
    return a;
  }
  // Anchors only where both syntaxes read them as anchors.
  std::string Pattern() {
    std::string p;
    for (int n = 1 + (Below(3) == 0); n > 0; --n) {
      std::string b = Branch(2);
      if (Below(5) == 0) b = "^" + b;
      if (Below(5) == 0) b += "$";
      p += (p.empty() ? "" : "|") + b;
    }
    return p;
  }
  std::string Text() {
    static const std::vector<std::string> chars = {"a", "b", "c", "A", "Z", "0", "1", "9", " ", "あ", "ア",
                                                   "表", "ソ", "ー", "ｱ", "ｶ", "漢", "x", "a", "b"};
    std::string t;
    for (int lines = 5; lines > 0; --lines) {
      for (int n = Below(14); n > 0; --n) t += chars[Below(static_cast<int>(chars.size()))];
      t += "\n";
    }
    return t;
  }
};

// grep prints every non-empty match with -o; velgrep -o must print the same.
TEST(Velgrep, AgreesWithGnuGrepInAShiftJisLocale) {
  std::string locpath = MakeSjisLocale();
  ASSERT_FALSE(locpath.empty()) << "could not build the ja_JP.SJIS locale with localedef "
                                   "(install the Debian 'locales' package)";
  Scratch sc;
  const unsigned seed = 5150;
  Gen gen(seed);
  const std::string v = VelgrepPath();
  int compared = 0;
  for (int i = 0; i < 1000; ++i) {
    std::string pattern = gen.Pattern();
    fs::path text = sc.File("text" + std::to_string(i % 2), gen.Text());
    Result ours = sc.Run(v + " -n -o " + Quote(pattern) + " " + text.string());
    // The empty back-reference in front sends grep to its regex matcher: its
    // DFA path misses matches after a partly matched double-byte branch
    // (grep 3.8 finds no "b" in "あb" with "b|あx").
    Result gnu = sc.Run("LOCPATH='" + locpath + "' LC_ALL=ja_JP.SJIS grep -n -o -E " + Quote("()\\1(" + pattern + ")") +
                        " " + text.string());
    ASSERT_TRUE(gnu.Status == 0 || gnu.Status == 1) << "grep failed on " << pattern << ": " << gnu.Err;
    ASSERT_EQ(ours.Out, gnu.Out) << "seed " << seed << " case " << i << " pattern " << pattern << "\ntext:\n"
                                 << Slurp(text);
    compared += 5;
  }
  EXPECT_GE(compared, 5000);
}

// Any bytes as a pattern: compiled, or refused with ERegExpParser.
TEST(Velgrep, RandomBytePatternsCompileOrRaisePatternErrors) {
  const unsigned seed = 99;
  std::mt19937 rng(seed);
  static const char meta[] = "^()|+*?.[]$\\-ax\x82\xa0";
  TAWKStr awk;
  int compiled = 0;
  for (int i = 0; i < 4000; ++i) {
    std::string p;
    int len = (i % 100 == 0) ? 1000 : static_cast<int>(rng() % 24);
    for (int k = 0; k < len; ++k)
      p += (rng() % 3) ? meta[rng() % (sizeof meta - 1)] : static_cast<char>(rng() % 256);
    awk.SetUseFuzzyCharDic(i % 2 == 1);
    try {
      awk.SetRegExp(p);
      ++compiled;
      int start, length;
      std::string text = "ab\x82\xa0x\n^$ax" + p;
      if (awk.Match(text, start, length)) {
        EXPECT_GE(start, 1);
        EXPECT_LE(start - 1 + length, static_cast<int>(text.size())) << "seed " << seed << " case " << i;
      }
    } catch (const ERegExpParser& e) {
      EXPECT_GT(std::string(e.what()).size(), 0u);
    }
  }
  EXPECT_GT(compiled, 400);
}

}  // namespace
}  // namespace vel
