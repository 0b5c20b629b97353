// Character codes, escapes, the scanner and every pattern error.
#include <gtest/gtest.h>

#include "regexp/AWKStr.h"
#include "regexp/REScanner.h"

namespace vel {
namespace {

TEST(GetWChar, ReadsSingleAndDoubleByteCharactersAndStopsAtTheEnd) {
  std::string s = "aあ";
  int i = 1;
  EXPECT_EQ(GetWChar(s, i), 'a');
  EXPECT_EQ(GetWChar(s, i), 0x82A0);
  EXPECT_EQ(i, 4);
  EXPECT_EQ(GetWChar(s, i), 0);
  EXPECT_EQ(i, 4);
  i = 0;
  EXPECT_EQ(GetWChar(s, i), 0);
  EXPECT_EQ(i, 0);
}

TEST(GetWChar, LeadByteAtTheEndRaisesAtItsIndex) {
  std::string s = "ab\x82";
  int i = 3;
  try {
    GetWChar(s, i);
    FAIL();
  } catch (const ERegExpParser& e) {
    EXPECT_STREQ(e.what(), "不正な２バイト文字コードです。");
    EXPECT_EQ(e.ErrorPos, 3);
  }
}

TEST(UnGetWChar, StepsBackOverWholeCharactersByLeadByteParity) {
  struct Case {
    std::string s;
    int from, to;
  } cases[] = {
      {"abc", 1, 1}, {"abc", 2, 1}, {"abc", 4, 3}, {"aあ", 4, 2}, {"aあb", 5, 4},
      // "ぁ" is 82 9F: its trail byte is a lead value, so parity decides.
      {"aぁぁ", 6, 4}, {"aぁぁb", 7, 6},
  };
  for (const Case& c : cases) {
    int i = c.from;
    UnGetWChar(c.s, i);
    EXPECT_EQ(i, c.to) << c.s << " from " << c.from;
  }
}

TEST(PCharGetWChar, StaysAtTheTerminator) {
  const char* text = "あx";
  const char* p = text;
  EXPECT_EQ(PCharGetWChar(p), 0x82A0);
  EXPECT_EQ(PCharGetWChar(p), 'x');
  EXPECT_EQ(PCharGetWChar(p), 0);
  EXPECT_EQ(p, text + 3);
}

TEST(WCharToStr, WritesOneOrTwoBytes) {
  EXPECT_EQ(WCharToStr('A'), "A");
  EXPECT_EQ(WCharToStr(0x82A0), "あ");
  EXPECT_EQ(WCharToStr(0x4142), "B");
}

TEST(Escapes, DecodeToTheirCodes) {
  struct Case {
    std::string after;  // text after the backslash
    WChar code;
    int endIndex;
  } cases[] = {
      {"n", 10, 2},         {"t", 9, 2},          {"r", 13, 2},          {"b", 8, 2},
      {"x41", 'A', 4},      {"101", 'A', 4},      {"x82a0", 0x82A0, 6}, {"0", 0, 2},
      {"x4142", 0x4142, 6}, {"x41420", 0x4142, 6}, {"177777", 0xFFFF, 7}, {".", '.', 2},
      {"\\", '\\', 2},      {"a", 'a', 2},        {"あ", 0x82A0, 3},    {"x4g", 4, 3},
  };
  for (const Case& c : cases) {
    int i = 1;
    EXPECT_EQ(GetQuotedWChar(c.after, i), c.code) << c.after;
    EXPECT_EQ(i, c.endIndex) << c.after;
  }
  EXPECT_EQ(QuoteMetaWChar("a.b*[あ]\\"), "a\\.b\\*\\[あ\\]\\\\");
  EXPECT_EQ(HexWCharToInt('f'), 15);
  EXPECT_EQ(HexWCharToInt('g'), -1);
  EXPECT_EQ(OctWCharToInt('8'), -1);
}

TEST(TREScanner, ProducesTokensInBothModes) {
  TREScanner sc("a\\*[^a-c\\]-]|(.)+?$^");
  std::vector<REToken_t> got;
  std::vector<WChar> chars;
  for (REToken_t t; (t = sc.GetToken()) != retk_End;) {
    got.push_back(t);
    chars.push_back(sc.Symbol.StartChar);
  }
  std::vector<REToken_t> want = {retk_Char, retk_Char,  retk_LBraNeg, retk_CharClass, retk_Char, retk_Char,
                                 retk_RBra, retk_Union, retk_LPar,    retk_Dot,       retk_RPar, retk_Plus,
                                 retk_QMark, retk_LTail, retk_LHead};
  EXPECT_EQ(got, want);
  EXPECT_EQ(chars[1], '*');
  EXPECT_EQ(chars[3], 'a');
  EXPECT_EQ(chars[4], ']');
  EXPECT_EQ(chars[5], '-');
}

TEST(TREScanner, DashBeforeClosingBracketIsAMember) {
  TREScanner sc("[a-]");
  EXPECT_EQ(sc.GetToken(), retk_LBra);
  EXPECT_EQ(sc.GetToken(), retk_Char);
  EXPECT_EQ(sc.Symbol.StartChar, 'a');
  EXPECT_EQ(sc.GetToken(), retk_Char);
  EXPECT_EQ(sc.Symbol.StartChar, '-');
  EXPECT_EQ(sc.GetToken(), retk_RBra);
  EXPECT_EQ(sc.GetToken(), retk_End);
}

// Every pattern error: its exact message and the position scanning stood at.
TEST(PatternErrors, CarryTheirMessageAndPosition) {
  struct Case {
    std::string pattern;
    std::string message;
    int pos;
  } cases[] = {
      {"a\x82", "不正な２バイト文字コードです。", 2},
      {"a\\", "\"\\\"の次には文字が必要です。", 3},
      {"\\xg", "不正な１６進数コード表記です。", 3},
      {"\\x", "不正な１６進数コード表記です。", 3},
      {"\\200000", "不正な８進数コード表記です。", 8},
      {"[", "右ブラケット\"]\"が必要です", 2},
      {"[abc", "右ブラケット\"]\"が必要です", 5},
      {"[a-", "右ブラケット\"]\"が必要です", 4},
      {"[z-a]", "不正なキャラクタ範囲です", 5},
      {"a)", "正規表現に余分な文字があります", 3},
      {"(a", "右(閉じ)括弧が必要です", 3},
      {"*a", "普通の文字、または左括弧\"(\"が必要です", 2},
      {"a**", "普通の文字、または左括弧\"(\"が必要です", 4},
      {"a|*", "普通の文字、または左括弧\"(\"が必要です", 4},
      {"a]", "普通の文字、または左括弧\"(\"が必要です", 3},
      {"[]", "不正なキャラクタクラス指定です。", 3},
      {"[^]", "不正なキャラクタクラス指定です。", 4},
  };
  for (const Case& c : cases) {
    TAWKStr awk;
    try {
      awk.SetRegExp(c.pattern);
      ADD_FAILURE() << "no error for " << c.pattern;
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.what(), c.message) << c.pattern;
      EXPECT_EQ(e.ErrorPos, c.pos) << c.pattern;
    }
    // The failed compilation leaves the empty pattern selected.
    EXPECT_EQ(awk.RegExp(), "");
    EXPECT_EQ(awk.CurrentIndex, 0u);
  }
}

// Forty nested repetitions are a valid pattern of a hundred bytes: "x+" is
// built with one copy of x, so the automaton stays small and nothing is refused.
TEST(PatternErrors, NestedRepetitionCompilesAndMatches) {
  std::string p = "a";
  for (int i = 0; i < 40; ++i) p = "(" + p + ")+";
  TAWKStr awk;
  awk.SetRegExp(p);
  int start, length;
  EXPECT_EQ(awk.Match("xaaay", start, length), 2);
  EXPECT_EQ(length, 3);
  EXPECT_EQ(awk.Match("xy", start, length), 0);
}

// A "^" repeated by "+" at the start is an anchor once and a literal after.
TEST(PatternErrors, RepeatedHeadIsAnAnchorOnlyTheFirstTime) {
  TAWKStr awk;
  awk.SetRegExp("(^a)+");
  int start, length;
  EXPECT_EQ(awk.Match("a^a^ab", start, length), 1);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(awk.Match("ba", start, length), 0);
  awk.SetRegExp("x(^a)+");
  EXPECT_EQ(awk.Match("x^a^a", start, length), 1);
  EXPECT_EQ(length, 5);
}

}  // namespace
}  // namespace vel
