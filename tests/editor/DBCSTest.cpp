#include "text/DBCS.h"

#include <gtest/gtest.h>

#include "editor/EditorCursorNames.h"
#include "platform/Clipboard.h"
#include "platform/headless/Headless.h"

namespace vel {
namespace {

TEST(DBCS, BoundaryTestsScanFromTheStart) {
  const std::string s = "あa";  // 0x82 0xA0 'a'
  ASSERT_EQ(s.size(), 3u);
  struct {
    int index;
    bool first, second;
  } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, false, false}, {4, false, false}};
  for (auto& c : cases) {
    EXPECT_EQ(IsDBCS1(s, c.index), c.first) << c.index;
    EXPECT_EQ(IsDBCS2(s, c.index), c.second) << c.index;
  }
  // A trail byte that is itself a lead byte value is still a trail byte.
  const std::string t = "\x81\x81\x81";
  EXPECT_TRUE(IsDBCS1(t, 1));
  EXPECT_TRUE(IsDBCS2(t, 2));
  EXPECT_TRUE(IsDBCS1(t, 3));  // a lone lead byte at the end
  EXPECT_EQ(IndexChar(s, 3), 'a');
  EXPECT_EQ(IndexChar(s, 0), 0);
  EXPECT_EQ(IndexChar(s, 4), 0);
}

TEST(DBCS, IsIncludeMatchesOnlyOnCharacterBoundaries) {
  EXPECT_FALSE(IsInclude("A", "ア"));  // 0x83 0x41
  EXPECT_TRUE(IsInclude("A", "アA"));
  EXPECT_TRUE(IsInclude("。", "、。，"));
  EXPECT_FALSE(IsInclude("", "abc"));
  EXPECT_FALSE(IsInclude("abcd", "abc"));
  EXPECT_EQ(IncludeCharCount("13331", '3', 4), 3);
  EXPECT_EQ(IncludeCharCount("33", '3', 10), 2);
}

TEST(DBCS, StrToStringsSplitsAtEveryKindOfBreak) {
  struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb", {"a", "b"}},       {"a\r\n", {"a"}},         {"a\rb\nc", {"a", "b", "c"}},
      {"\n\r", {"", ""}},           {"", {}},                 {"\r\n\r\n", {"", ""}},
      {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
  };
  for (auto& c : cases) {
    std::vector<std::string> out{"old"};
    StrToStrings(c.text, out);
    EXPECT_EQ(out, c.lines);
  }
}

TEST(DBCS, SpacesAndTrimming) {
  EXPECT_EQ(TopSpace("  　a"), 4);
  EXPECT_EQ(TopSpace("\ta"), 0);
  EXPECT_EQ(TopSpace(""), -1);
  EXPECT_EQ(TrimLeftDBCS(" \t　 x　"), "x　");
  EXPECT_EQ(TabbedTrimRight("ab \t  "), "ab \t");
  EXPECT_EQ(TabbedTrimRight("ab  \r"), "ab");
  // 0x81 0x20 is not a pair (no trail byte is a blank): the blank is trimmed.
  EXPECT_EQ(TabbedTrimRight("a\x81 "), "a\x81");
  EXPECT_EQ(TabbedTrimRight("a\x81  \r\n"), "a\x81");
  EXPECT_EQ(TabbedTrimRight("aア  "), "aア");
  EXPECT_EQ(TabbedTrimRight("\x81\t "), "\x81\t");
}

TEST(DBCS, CharacterSafeCopyMovesTheEndsOntoBoundaries) {
  const std::string s = "aあいb";  // a, 2-3, 4-5, b at 6
  struct {
    std::string (*copy)(const std::string&, int&, int&);
    int index, count;
    std::string result;
    int newIndex, newCount;
  } cases[] = {
      {AnsiCopy, 3, 2, "", 4, 0},     {AnsiCopy, 2, 3, "あ", 2, 2},   {AnsiCopy, 3, 3, "い", 4, 2},
      {AnsiCopyE, 3, 2, "い", 4, 2},  {AnsiCopyE, 1, 2, "aあ", 1, 3}, {AnsiCopyW, 3, 2, "あい", 2, 4},
      {AnsiCopyW, 5, 9, "いb", 4, 3}, {AnsiCopy, -3, 5, "a", 1, 1},   {AnsiCopy, 1, 6, "aあいb", 1, 6},
  };
  for (auto& c : cases) {
    int index = c.index, count = c.count;
    EXPECT_EQ(c.copy(s, index, count), c.result) << c.index << "," << c.count;
    EXPECT_EQ(index, c.newIndex) << c.index << "," << c.count;
    EXPECT_EQ(count, c.newCount) << c.index << "," << c.count;
  }
  int index = 7, count = 2;
  EXPECT_EQ(AnsiCopy(s, index, count), "");
  index = -5, count = 3;
  EXPECT_EQ(AnsiCopy(s, index, count), "");

  std::string d = s;
  EXPECT_EQ(AnsiDelete(d, 3, 2), 0);
  EXPECT_EQ(d, s);
  EXPECT_EQ(AnsiDeleteE(d, 3, 2), 2);
  EXPECT_EQ(d, "aあb");
  d = s;
  EXPECT_EQ(AnsiDeleteW(d, 3, 1), 2);
  EXPECT_EQ(d, "aいb");
  d = s;
  EXPECT_EQ(AnsiDelete(d, 10, 3), 0);
  EXPECT_EQ(d, s);
}

TEST(DBCS, CopyOfALoneLeadByteNeverReadsPastTheString) {
  const std::string s = "ab\x82";
  int index = 3, count = 5;
  EXPECT_EQ(AnsiCopyE(s, index, count), "\x82");
  EXPECT_EQ(count, 1);
  index = 2, count = 2;
  EXPECT_EQ(AnsiCopy(s, index, count), "b");
}

TEST(DBCS, CharSets) {
  TCharSet set = StrToCharSet("ba漢a;");
  EXPECT_EQ(CharSetToStr(set), ";ab");
  EXPECT_TRUE(MailChars().test('@'));
  EXPECT_FALSE(MailChars().test('#'));
  EXPECT_TRUE(UrlChars().test('#'));
  EXPECT_FALSE(UrlChars().test('@'));
  EXPECT_TRUE(LeadBytes().test(0x81));
  EXPECT_FALSE(LeadBytes().test(0xA0));
}

TEST(DBCS, UrlScan) {
  struct {
    std::string text;
    bool found;
    int pos, len;
  } cases[] = {
      {"see http://a.b/cdefgh more", true, 5, 17}, {"HTTP://x.y", false, 0, 0},     {"www.", true, 1, 4},
      {"x https://e.jp/", true, 3, 13},           {"ftp:/z", true, 1, 6},          {"wwx.http", false, 0, 0},
      {"日本語www.a.jp」", true, 7, 8},
  };
  for (auto& c : cases) {
    int pos = -1, len = -1;
    EXPECT_EQ(IsUrl(c.text, pos, len), c.found) << c.text;
    EXPECT_EQ(pos, c.pos) << c.text;
    EXPECT_EQ(len, c.len) << c.text;
  }
}

TEST(DBCS, MailScan) {
  struct {
    std::string text;
    bool found;
    int pos, len;
  } cases[] = {
      {"to a.b@c.d. now", true, 4, 8}, {"x@y only", false, 0, 0},     {"@a@b.c", true, 2, 5},
      {"メールa@b.jpへ", true, 7, 6},  {"a.b@c", false, 0, 0},
  };
  for (auto& c : cases) {
    int pos = -1, len = -1;
    EXPECT_EQ(IsMail(c.text, pos, len), c.found) << c.text;
    EXPECT_EQ(pos, c.pos) << c.text;
    EXPECT_EQ(len, c.len) << c.text;
  }
}

// The one recogniser of mail addresses and URLs, which the colouring and
// the scans above use: the length of the one starting at the text's first
// byte, 0 when none starts there.
TEST(DBCS, MailAndUrlLengthAtAPlace) {
  struct {
    std::string Text;
    int MailLen, UrlLen;
  } cases[] = {
      {"tanaka@example.co.jp", 20, 0},
      {"sato.k@corp.example.jp.", 23, 0},
      {"a@b", 0, 0},
      {"a.b@c", 0, 0},
      {"a@.", 3, 0},
      {"x!$%&*@y;=?^_~.z", 16, 0},
      {"a@b.c d", 5, 0},
      {"a@b.c(d)", 5, 0},
      {"http://www.example.co.jp/a.html", 0, 31},
      {"https://x/?a=1&b=%20#top", 0, 24},
      {"ftp://h/+~_", 0, 11},
      {"www.", 0, 4},
      {"www.a<b", 0, 5},
      {"Www.a", 0, 0},
      {"http:", 0, 5},
      {"htt:x", 0, 0},
      {"wwwx.y@z.q", 10, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MailLength(c.Text.c_str()), static_cast<size_t>(c.MailLen)) << c.Text;
    EXPECT_EQ(UrlLength(c.Text.c_str()), static_cast<size_t>(c.UrlLen)) << c.Text;
  }
}

TEST(EditorUnit, StartUpRegistersTheBoxFormatAndTwoDistinctCursors) {
  InitEditorUnit();
  EXPECT_NE(CF_BOXTEXT, 0u);
  EXPECT_EQ(CF_BOXTEXT, Clipboard().RegisterFormat("TEditor Box Type"));
  EXPECT_GT(crRightArrow, 0);
  EXPECT_GT(crDragSelCopy, 0);
  EXPECT_NE(crRightArrow, crDragSelCopy);
  EXPECT_FALSE(CursorIsDefault(crRightArrow));
  EXPECT_FALSE(CursorIsDefault(crDragSelCopy));
  int next = GetUnUsedCursorIndex();
  EXPECT_TRUE(CursorIsDefault(next));
  EXPECT_NE(next, crRightArrow);
  EXPECT_NE(next, crDragSelCopy);
}

TEST(EditorUnit, CursorNamesRoundTrip) {
  InitEditorUnit();
  EXPECT_EQ(HCursorToString(crRightArrow), "crRightArrow");
  EXPECT_EQ(HCursorToString(crDragSelCopy), "crDragSelCopy");
  EXPECT_EQ(HCursorToString(crIBeam), "crIBeam");
  EXPECT_EQ(HStringToCursor("CRRIGHTARROW"), crRightArrow);
  EXPECT_EQ(HStringToCursor("crhandpoint"), crHandPoint);
  std::vector<std::string> names;
  HGetCursorValues([&](const std::string& n) { names.push_back(n); });
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[names.size() - 2], "crRightArrow");
  EXPECT_EQ(names.back(), "crDragSelCopy");
  for (const std::string& n : names) EXPECT_EQ(HCursorToString(HStringToCursor(n)), n);
}

}  // namespace
}  // namespace vel
