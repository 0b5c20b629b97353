// Case folding by pattern rewriting, the whole-word rule, several patterns,
// and the file-name globs of --include and --exclude.
#include <gtest/gtest.h>

#include "regexp/Grep.h"
#include "tests/velgrep/VelGrepTestUtil.h"
#include "tools/velgrep/FileWalk.h"
#include "tools/velgrep/PatternText.h"

namespace vel {
namespace {

using namespace vel::test;
using namespace vel::velgrep;

TEST(FoldCasePattern, LettersBecomeClassesAndClassesWiden) {
  struct {
    const char* In;
    bool Fuzzy;
    const char* Out;
  } cases[] = {
      {"abC", false, "[aA][bB][Cc]"},
      {"a1.*", false, "[aA]1.*"},
      {"\x83\x41", false, "\x83\x41"},        // ア: its trail byte 0x41 is no letter
      {"\x83\x5Cz", false, "\x83\x5C[zZ]"},   // ソ: its trail byte is no escape
      {"\\x41", false, "[Aa]"},
      {"\\.\\n", false, "\\.\\n"},
      {"[a-c]", false, "[a-cA-C]"},
      {"[^x]", false, "[^xX]"},
      {"[a-]", false, "[aA-]"},              // a last "-" stays last
      {"[-a]", false, "[-aA]"},
      {"[!-~]", false, "[!-~a-zA-Z]"},
      {"[\\x41-\\x43]", false, "[\\x41-\\x43a-c]"},
      {"\x82\x60", false, "[\x82\x60\x82\x81]"},  // Ａ
      {"[\x82\x81-\x82\x83]", false, "[\x82\x81-\x82\x83\x82\x60-\x82\x62]"},
      {"abc", true, "abc"},                 // the fuzzy dictionary folds letters
      {"[a]", true, "[aA]"},
      {"(a|B)+", false, "([aA]|[Bb])+"},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldCasePattern(c.In, c.Fuzzy), c.Out) << c.In;
  EXPECT_THROW(FoldCasePattern("[ab", false), ERegExpParser);
}

TEST(FoldCasePattern, FoldedPatternsMatchBothCasesAndNeverATrailByte) {
  struct {
    const char* Pattern;
    const char* Line;
    bool Matches;
  } cases[] = {
      {"a", "A", true},
      {"A", "xa", true},
      {"a", "\x83\x41", false},          // ア = 83 41
      {"[a-z]", "\x83\x41", false},
      {"[^b]", "B", false},
      {"\\x61", "A", true},
      {"\x82\x81", "\x82\x60", true},      // ａ finds Ａ
      {"\x82\x60", "\x82\x81", true},
      {"a", "\x82\x81", false},           // no folding across widths
      {"ab+c", "xABBc", true},
      {"\x83\x5C" "a", "\x83\x5C" "A", true},  // ソa finds ソA
  };
  for (const auto& c : cases) {
    TGrep g;
    g.SetRegExp(FoldCasePattern(c.Pattern, false));
    EXPECT_EQ(g.LineMatches(c.Line), c.Matches) << c.Pattern << " on " << c.Line;
  }
}

TEST(Velgrep, IgnoreCaseAndWholeWordsEndToEnd) {
  Scratch sc;
  // ア is 83 41 ("A" as its trail byte); ｱ is B1; ａ is 82 81.
  sc.File("m.txt",
          "\x83\x41\n"
          "\x83\x41pple\n"
          "Apple pie\n"
          "\x82\x60\x82\x82\x82\x83\n"
          "foo\tbar\n"
          "foo\x81\x40" "bar\n"
          "xfoo bar\n"
          "foo\n"
          "foo.bar\n"
          "foo\x01\n");
  const std::string v = "cd '" + sc.Dir.string() + "' && " + VelgrepPath() + " ";
  struct {
    std::string Args, Out;
  } cases[] = {
      {"-i a m.txt", "Apple pie\nfoo\tbar\nfoo\x81\x40" "bar\nxfoo bar\nfoo.bar\n"},
      {"-ic A m.txt", "5\n"},
      {"-c A m.txt", "1\n"},
      {"-i '^a' m.txt", "Apple pie\n"},
      {"-io 'APP' m.txt", "App\n"},
      {"-i '\x82\x81\x82\x82' m.txt", "\x82\x60\x82\x82\x82\x83\n"},
      {"-n -w foo m.txt", "5:foo\tbar\n8:foo\n10:foo\x01\n"},
      {"-w -o 'bar|foo' m.txt", "foo\nbar\nbar\nfoo\nfoo\n"},
      {"-w -c 'ba.' m.txt", "2\n"},
      {"-wi 'APPLE' m.txt", "Apple pie\n"},
      {"-x -e foo -e 'Apple pie' m.txt", "Apple pie\nfoo\n"},
      {"-F -c 'foo.bar' m.txt", "1\n"},
      {"-w --color=always foo m.txt",
       "\33[01;31m\33[Kfoo\33[m\33[K\tbar\n\33[01;31m\33[Kfoo\33[m\33[K\n\33[01;31m\33[Kfoo\33[m\33[K\x01\n"},
      {"-w -s '[&]' 'o+|bar' m.txt", "\x83\x41\n\x83\x41pple\nApple pie\n\x82\x60\x82\x82\x82\x83\nfoo\t[bar]\n"
                                    "foo\x81\x40" "bar\nxfoo [bar]\nfoo\nfoo.bar\nfoo\x01\n"},
  };
  for (const auto& c : cases) {
    Result r = sc.Run(v + c.Args);
    EXPECT_EQ(r.Out, c.Out) << c.Args;
  }
}

TEST(Velgrep, SeveralPatternsAreCheckedOneByOne) {
  Scratch sc;
  sc.File("m.txt", "a)(b\nab\n");
  const std::string v = "cd '" + sc.Dir.string() + "' && " + VelgrepPath() + " ";
  // Each alone is wrong, though "(a)|(b)" joined would not be.
  Result bad = sc.Run(v + "-e 'a)|(b' m.txt");
  EXPECT_EQ(bad.Status, 2);
  EXPECT_EQ(bad.Out, "");
  Result two = sc.Run(v + "-c -e 'x' -e '' m.txt");
  EXPECT_EQ(two.Out, "2\n");
  Result usage = sc.Run(v + "--no-such-option x m.txt");
  EXPECT_EQ(usage.Status, 2);
  EXPECT_NE(usage.Err.find("unrecognized option '--no-such-option'"), std::string::npos);
  Result help = sc.Run(v + "--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("--fuzzy"), std::string::npos);
  EXPECT_NE(help.Out.find("not grep's -f FILE"), std::string::npos);
  Result abbreviated = sc.Run(v + "--ignore --cou A m.txt");
  EXPECT_EQ(abbreviated.Out, "2\n");
  Result conflict = sc.Run(v + "-v -s x a m.txt");
  EXPECT_EQ(conflict.Status, 2);
}

TEST(GlobMatch, ShellWildcards) {
  struct {
    const char* Glob;
    const char* Name;
    bool Matches;
  } cases[] = {
      {"*.txt", "a.txt", true},     {"*.txt", "a.txt.bak", false}, {"*", "", true},
      {"a?c", "abc", true},         {"a?c", "ac", false},          {"[ab]*", "bz", true},
      {"[!ab]*", "bz", false},      {"[^ab]*", "cz", true},        {"[a-c]x", "bx", true},
      {"\\*", "*", true},           {"\\*", "a", false},           {"*a*b*c", "xxaxxbxxc", true},
      {"*a*b*c", "xxaxxcxxb", false}, {"[", "[", true},            {"*/c.txt", "sub/c.txt", true},
      {"?", u8"会" ? "\xE4\xBC\x9A" : "", true},  // one UTF-8 character
  };
  for (const auto& c : cases) EXPECT_EQ(GlobMatch(c.Glob, c.Name), c.Matches) << c.Glob << " " << c.Name;
}

TEST(FileExcluded, LastMatchingGlobDecidesAndTheFirstSetsTheDefault) {
  using G = std::vector<std::pair<bool, std::string>>;
  EXPECT_FALSE(FileExcluded({}, "a.txt", false));
  EXPECT_FALSE(FileExcluded(G{{true, "*.txt"}}, "a.txt", false));
  EXPECT_TRUE(FileExcluded(G{{true, "*.txt"}}, "a.log", false));
  EXPECT_TRUE(FileExcluded(G{{false, "*.txt"}}, "a.txt", false));
  EXPECT_FALSE(FileExcluded(G{{false, "*.txt"}}, "a.log", false));
  EXPECT_TRUE(FileExcluded(G{{true, "*.txt"}, {false, "a*"}}, "a.txt", false));
  EXPECT_FALSE(FileExcluded(G{{false, "a*"}, {true, "*.txt"}}, "a.txt", false));
  EXPECT_FALSE(FileExcluded(G{{false, "a*"}, {true, "*.txt"}}, "b.log", false));
  // Command-line names: the whole name or any part after a slash.
  EXPECT_TRUE(FileExcluded(G{{false, "b.txt"}}, "memos/b.txt", true));
  EXPECT_TRUE(FileExcluded(G{{false, "memos/*"}}, "x/memos/b.txt", true));
  EXPECT_FALSE(FileExcluded(G{{false, "memos"}}, "memos/b.txt", true));
  EXPECT_TRUE(DirExcluded({"deep"}, "memos/sub/deep", true));
  EXPECT_FALSE(DirExcluded({"deep"}, "deeper", false));
}

}  // namespace
}  // namespace vel
