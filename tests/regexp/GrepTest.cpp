// Line reading and grep over files and buffers.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/headless/Headless.h"
#include "regexp/Grep.h"

namespace vel {
namespace {

class GrepFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    static int n = 0;
    std::string path = (std::filesystem::temp_directory_path() /
                        ("vel_grep_" + std::to_string(::getpid()) + "_" + std::to_string(n++) + ".txt"))
                           .string();
    std::ofstream(path, std::ios::binary) << bytes;
    Paths.push_back(path);
    return path;
  }
  void TearDown() override {
    for (auto& p : Paths) std::filesystem::remove(p);
    headless::SetProcessMessagesHook(nullptr);
  }
  std::vector<std::pair<int, std::string>> Grep(const std::string& pattern, const std::string& path) {
    TGrep g;
    std::vector<std::pair<int, std::string>> got;
    g.OnMatch = [&](TGrep*, const RE_LineInfo_t& info) { got.emplace_back(info.LineNo, info.Line); };
    g.SetRegExp(pattern);
    g.Grep(path);
    return got;
  }
  std::vector<std::string> Paths;
};

using Lines = std::vector<std::pair<int, std::string>>;

TEST_F(GrepFile, ReportsEachMatchingLineOnceWithItsNumber) {
  std::string f = Write("abc\r\nxabcabc\nnone\rabc");
  EXPECT_EQ(Grep("abc", f), (Lines{{1, "abc"}, {2, "xabcabc"}, {4, "abc"}}));
  EXPECT_EQ(Grep("^abc", f), (Lines{{1, "abc"}, {4, "abc"}}));
  EXPECT_EQ(Grep("abc$", f), (Lines{{1, "abc"}, {2, "xabcabc"}, {4, "abc"}}));
  EXPECT_EQ(Grep("n.n", f), (Lines{{3, "none"}}));
}

TEST_F(GrepFile, PlainStringsTakeTheStringPath) {
  TGrep g;
  g.SetRegExp("検索");
  EXPECT_TRUE(g.SelectedByStr());
  g.SetRegExp("検索+");
  EXPECT_FALSE(g.SelectedByStr());
  // The trail byte of "ア" is "A": no false hit.
  std::string f = Write("アB\nAB\n");
  EXPECT_EQ(Grep("AB", f), (Lines{{2, "AB"}}));
}

// A NUL byte is an ordinary character: kept in its line, matched by "." and
// by negated classes, never a line end.
TEST_F(GrepFile, NulIsAnOrdinaryCharacterAndLongLinesCrossBufferLoads) {
  std::string big(TTxtFile::BuffSize * 2 + 17, 'x');
  std::string f = Write(std::string("a\0b\n", 4) + big + "needle\r\n" + "tail");
  const Lines nulLine{{1, std::string("a\0b", 3)}};
  EXPECT_EQ(Grep("a.b", f), nulLine);
  EXPECT_EQ(Grep("a[^ ]b", f), nulLine);
  EXPECT_EQ(Grep("a\\000b", f), nulLine);
  EXPECT_TRUE(Grep("a b", f).empty());
  Lines got = Grep("needle", f);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].first, 2);
  EXPECT_EQ(got[0].second.size(), big.size() + 6);
  EXPECT_EQ(Grep("^tail$", f), (Lines{{3, "tail"}}));
}

// The file is one stream: the initial state's own acceptance counts for
// nothing, a pattern with a line break matches across lines, and "^" and "$"
// stand for the line breaks around a line.
TEST_F(GrepFile, TheFileIsSearchedAsOneStream) {
  std::string f = Write("ab\r\n\ncd\rxx\nef");
  EXPECT_EQ(Grep("x*", f), (Lines{{4, "xx"}}));
  EXPECT_EQ(Grep("b\nc?", f), (Lines{{1, "ab"}}));
  EXPECT_EQ(Grep("b\n\ncd", f), (Lines{{1, "ab"}}));
  EXPECT_EQ(Grep("\ncd", f), (Lines{{3, "cd"}}));
  EXPECT_EQ(Grep("^$", f), (Lines{{2, ""}}));
  EXPECT_EQ(Grep("$", f), (Lines{{1, "ab"}, {2, ""}, {3, "cd"}, {4, "xx"}, {5, "ef"}}));
  EXPECT_EQ(Grep("d$", f), (Lines{{3, "cd"}}));
}

TEST_F(GrepFile, EmptyFileReportsNothingAndMissingFileRaises) {
  EXPECT_TRUE(Grep("a*", Write("")).empty());
  EXPECT_THROW(Grep("a", "/nonexistent/vel/none.txt"), EFileNotFound);
}

TEST_F(GrepFile, CancelFromPendingMessagesEndsTheGrep) {
  std::string f = Write(std::string(TTxtFile::BuffSize * 3, 'a'));
  TGrep g;
  int pumped = 0;
  headless::SetProcessMessagesHook([&] {
    if (++pumped == 2) g.Cancel = true;
  });
  g.OnMatch = [](TGrep*, const RE_LineInfo_t&) {};
  g.SetRegExp("b");
  try {
    g.Grep(f);
    FAIL();
  } catch (const EGrepCancel& e) {
    EXPECT_STREQ(e.what(), "CancelRequest");
  }
}

TEST(TGrep, GrepBufferUsesThePrefilterAndCountsLines) {
  TGrep g;
  g.SetRegExp("[a-z]+@ex\\.com");
  std::string data = "x\r\nmail bob@ex.com\r\n@ex.com\nアbob@ex.com\rend";
  std::vector<std::pair<size_t, std::string>> got;
  size_t breaks = g.GrepBuffer(data.data(), data.size(), 1, true, [&](size_t n, std::string_view line) {
    got.emplace_back(n, std::string(line));
    return true;
  });
  EXPECT_EQ(got, (std::vector<std::pair<size_t, std::string>>{{2, "mail bob@ex.com"}, {4, "アbob@ex.com"}}));
  EXPECT_EQ(breaks, 4u);
  EXPECT_EQ(g.GetCurrentDFA()->RequiredLiteral, "@ex.com");
}

}  // namespace
}  // namespace vel

namespace vel {
namespace {

// Patterns with a literal prefix are tried at each occurrence of it that
// starts on a character boundary; the rest walk every line.
TEST(TGrep, GrepBufferReportsTheSameLinesWithAndWithoutAPrefix) {
  struct Case {
    std::string pattern, data;
    std::vector<size_t> lines;
  } cases[] = {
      {"Ab+", "アbb\nxAb\nぁアb\nぁAb\n", {2, 4}},
      {"\\\\x", "ソx\n\\x\r\n表\\x\n", {2, 3}},
      {"ab$", "abc\nxab\rab\r\n", {2, 3}},
      {"^ab", "xab\nab\n", {2}},
      {"http://[a-z]+", "http://\nahttp://x\n", {2}},
      {"(a|b)c", "ac\nbc\nc\n", {1, 2}},
      {"z*", "\n\nq", {1, 2, 3}},
  };
  for (const Case& c : cases) {
    TGrep g;
    g.SetRegExp(c.pattern);
    std::vector<size_t> got;
    g.GrepBuffer(c.data.data(), c.data.size(), 1, true, [&](size_t n, std::string_view) {
      got.push_back(n);
      return true;
    });
    EXPECT_EQ(got, c.lines) << c.pattern;
  }
}

}  // namespace
}  // namespace vel
