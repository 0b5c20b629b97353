// Dictionary expansion before parsing, and the fuzzy dictionary's groups.
#include <gtest/gtest.h>

#include "regexp/AWKStr.h"
#include "regexp/REPreProcessor.h"

namespace vel {
namespace {

std::string Fuzzy(const std::string& pattern) {
  TREPreProcessor pp;
  pp.FuzzyCharDicList.push_back(&RE_FuzzyCharDic());
  pp.UseFuzzyCharDic = true;
  pp.SetTargetRegExpStr(pattern);
  pp.Run();
  return pp.GetProcessedRegExpStr();
}

TEST(REPreProcessor, FuzzyPassExpandsLiteralsOnly) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"a", "(Ａ|ａ|A|a)"},
      {"ｶﾞ", "(が|ガ|ｶﾞ|か゛|カ゛)"},
      {"1+", "(1|１|一|①|Ⅰ|壱)+"},
      {"\\(", "(\\(|（)"},
      {"[ab]", "[ab]"},
      {"[^a]x*", "[^a](Ｘ|ｘ|X|x)*"},
      {".*", ".*"},
      {"漢", "漢"},
      {"ヴァ", "(ば|バ|ﾊﾞ|は゛|ハ゛|ヴァ|う゛ぁ|ウ゛ァ|ｳﾞｧ)"},
      {"ヴ漢", "(ぶ|ブ|ﾌﾞ|ふ゛|フ゛|ヴ|ウ゛|う゛|ｳﾞ)漢"},
      {"\\x41", "(Ａ|ａ|A|a)"},
      {"\\t", "\\t"},
  };
  for (const Case& c : cases) EXPECT_EQ(Fuzzy(c.in), c.out) << c.in;
}

TEST(REPreProcessor, WithoutSwitchesThePatternIsUnchanged) {
  TREPreProcessor pp;
  pp.FuzzyCharDicList.push_back(&RE_FuzzyCharDic());
  for (std::string p : {"a(b|c)*[x-z]\\.", "", "ア\\x41"}) {
    pp.SetTargetRegExpStr(p);
    pp.Run();
    EXPECT_EQ(pp.GetProcessedRegExpStr(), p);
  }
}

TEST(REPreProcessor, SynonymPassRunsBeforeTheFuzzyPass) {
  TREDictionary syn = {{"car", "auto"}};
  TREPreProcessor pp;
  pp.SynonymDicList.push_back(&syn);
  pp.UseSynonymDic = true;
  pp.SetTargetRegExpStr("a car!");
  pp.Run();
  EXPECT_EQ(pp.GetProcessedRegExpStr(), "a (car|auto)!");
  pp.FuzzyCharDicList.push_back(&RE_FuzzyCharDic());
  pp.UseFuzzyCharDic = true;
  pp.SetTargetRegExpStr("car!");
  pp.Run();
  EXPECT_EQ(pp.GetProcessedRegExpStr(),
            "((Ｃ|ｃ|C|c)(Ａ|ａ|A|a)(Ｒ|ｒ|R|r)|(Ａ|ａ|A|a)(Ｕ|ｕ|U|u)(Ｔ|ｔ|T|t)(Ｏ|ｏ|O|o))(!|！)");
}

TEST(REParseCommaText, ReadsQuotedAndUnquotedItems) {
  EXPECT_EQ(REParseCommaText("a, b ,\"c,d\",\"\"\"\","), (std::vector<std::string>{"a", "b", "c,d", "\""}));
  EXPECT_EQ(REParseCommaText("\"　\",\" \""), (std::vector<std::string>{"　", " "}));
}

TEST(RE_FuzzyCharDic, HasTheDocumentedGroups) {
  const TREDictionary& d = RE_FuzzyCharDic();
  ASSERT_EQ(d.size(), 145u);
  EXPECT_EQ(d[0], (TREDicGroup{"Ａ", "ａ", "A", "a"}));
  EXPECT_EQ(d[25], (TREDicGroup{"Ｚ", "ｚ", "Z", "z"}));
  EXPECT_EQ(d[27], (TREDicGroup{"1", "１", "一", "①", "Ⅰ", "壱"}));
  EXPECT_EQ(d[36], (TREDicGroup{"　", " "}));
  EXPECT_EQ(d[38], (TREDicGroup{"\"", "”"}));
  EXPECT_EQ(d[49], (TREDicGroup{"-", "ー", "－", "～", "ｰ"}));
  EXPECT_EQ(d[60], (TREDicGroup{"\\", "￥"}));
  EXPECT_EQ(d[67], (TREDicGroup{"~", "￣"}));
  EXPECT_EQ(d[68], (TREDicGroup{",", "､", "、", "，"}));
  EXPECT_EQ(d[72], (TREDicGroup{"ん", "ン", "ﾝ"}));
  EXPECT_EQ(d[86].size(), 9u);
  EXPECT_EQ(d[96], (TREDicGroup{"あ", "ア", "ｱ", "ぁ", "ァ", "ｧ"}));
  EXPECT_EQ(d[101], (TREDicGroup{"か", "カ", "ｶ"}));
  EXPECT_EQ(d[113], (TREDicGroup{"つ", "ツ", "ﾂ", "っ", "ッ", "ｯ"}));
  EXPECT_EQ(d[133], (TREDicGroup{"よ", "ヨ", "ﾖ", "ょ", "ョ", "ｮ"}));
  EXPECT_EQ(d[138], (TREDicGroup{"ろ", "ロ", "ﾛ"}));
  EXPECT_EQ(d[142], (TREDicGroup{"を", "ヲ", "ｦ", "うぉ", "ウォ", "ｳｫ"}));
  EXPECT_EQ(d[144], (TREDicGroup{"ﾟ", "゜"}));
}

// Characters of a string as separate items, for prefix tests.
std::vector<std::string> Chars(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    size_t n = REIsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

bool IsCharPrefix(const std::string& item, const std::string& of) {
  auto a = Chars(item), b = Chars(of);
  return a.size() <= b.size() && std::equal(a.begin(), a.end(), b.begin());
}

// A member stands for its whole group unless an earlier group (or an earlier,
// shorter item of its own group) claims its first characters: then the
// dictionary order decides, as documented for the overlapping items.
TEST(RE_FuzzyCharDic, EveryMemberFindsEveryOtherMemberOfItsGroup) {
  const TREDictionary& d = RE_FuzzyCharDic();
  TAWKStr awk;
  int checked = 0;
  for (size_t g = 0; g < d.size(); ++g) {
    for (const std::string& a : d[g]) {
      bool claimedEarlier = false;
      for (size_t h = 0; h <= g && !claimedEarlier; ++h)
        for (const std::string& item : d[h]) {
          if (h == g && item == a) break;
          if (IsCharPrefix(item, a)) {
            claimedEarlier = true;
            break;
          }
        }
      if (claimedEarlier) continue;
      awk.SetUseFuzzyCharDic(false);
      awk.SetRegExp(QuoteMetaWChar(a));
      awk.SetUseFuzzyCharDic(true);
      for (const std::string& b : d[g]) {
        int start, len;
        awk.Match("漢" + b + "漢", start, len);
        EXPECT_EQ(start, 3) << "group " << g << ": " << a << " -> " << b;
        EXPECT_EQ(len, static_cast<int>(b.size())) << "group " << g << ": " << a << " -> " << b;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 700);
}

}  // namespace
}  // namespace vel
