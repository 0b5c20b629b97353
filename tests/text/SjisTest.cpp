#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace vel::sjis;

TEST(Sjis, LeadBytesAreTheFixedRanges) {
  int leads = 0;
  for (int c = 0; c < 256; ++c) leads += IsLeadByte(static_cast<unsigned char>(c));
  EXPECT_EQ(leads, (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_FALSE(IsLeadByte(0xA0));  // half-width katakana are single bytes
  EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(Sjis, CharLenKeepsALastLeadByteAlone) {
  const std::string s = "aア\x82";  // ア is 83 41; a dangling lead at the end
  EXPECT_EQ(CharLen(s, 0), 1u);
  EXPECT_EQ(CharLen(s, 1), 2u);
  EXPECT_EQ(NextChar(s, 1), 3u);
  EXPECT_EQ(CharLen(s, 3), 1u);
}

TEST(Sjis, FoldingNeverTouchesHighBytes) {
  for (int c = 0x80; c < 256; ++c) {
    EXPECT_EQ(AsciiLower(static_cast<unsigned char>(c)), c);
    EXPECT_EQ(AsciiUpper(static_cast<unsigned char>(c)), c);
  }
  EXPECT_EQ(AsciiLower('Q'), 'q');
  EXPECT_EQ(AsciiUpper('q'), 'Q');
  EXPECT_EQ(WideLatinLower(0x8260), 0x8281);  // Ａ -> ａ
  EXPECT_EQ(WideLatinLower(0x8279), 0x829A);  // Ｚ -> ｚ
  EXPECT_EQ(WideLatinLower(0x8341), 0x8341);  // ア unchanged
}

TEST(Sjis, TextCodes) {
  EXPECT_TRUE(IsTextCode('a'));
  EXPECT_FALSE(IsTextCode(0x82));
  EXPECT_TRUE(IsTextCode(0x82A0));
  EXPECT_FALSE(IsTextCode(0x41A0));
  EXPECT_FALSE(IsTextCode(0x10000));
}

TEST(Sjis, ForEachLineSplitsAtEveryBreakKind) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
      {"a\r\n", {"a"}},           // no empty line after a final break
      {"\n\n", {"", ""}},
      {std::string("x\0y\n", 4), {std::string("x\0y", 3)}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> got;
    ForEachLine(c.text, [&](size_t b, size_t n) { got.push_back(c.text.substr(b, n)); });
    EXPECT_EQ(got, c.lines) << "text: " << c.text;
  }
}

TEST(Sjis, FindBreakAcrossWindowsAndCrOnlyText) {
  std::string s(10000, 'x');
  s[9000] = '\r';
  EXPECT_EQ(FindBreak(s.data(), s.data() + s.size()) - s.data(), 9000);
  s[5000] = '\n';
  EXPECT_EQ(FindBreak(s.data(), s.data() + s.size()) - s.data(), 5000);
  const std::string none(5000, 'y');
  EXPECT_EQ(FindBreak(none.data(), none.data() + none.size()), none.data() + none.size());
  // A CR-only text of many lines is split into every line.
  std::string crs;
  for (int i = 0; i < 20000; ++i) crs += "ab\r";
  size_t lines = 0;
  ForEachLine(crs, [&](size_t, size_t n) { lines += (n == 2); });
  EXPECT_EQ(lines, 20000u);
}
