// Replacement text, Sub, GSub and Split.
#include <gtest/gtest.h>

#include "regexp/AWKStr.h"

namespace vel {
namespace {

TEST(TAWKStr, ReplacementTextExpandsAmpersandAndEscapes) {
  struct Case {
    std::string replacement, matched, out;
  } cases[] = {
      {"[&]", "a", "[a]"},       {"\\&", "a", "&"},         {"&&", "ab", "abab"},   {"\\n\\t", "a", "\n\t"},
      {"\\x41&", "b", "Ab"},     {"\\\\", "a", "\\"},       {"表&", "x", "表x"},    {"x\\y", "a", "xy"},
      {"ソ&", "q", "ソq"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TAWKStr::Substitute_MatchStr_For_ANDChar(c.replacement, c.matched), c.out) << c.replacement;
  EXPECT_THROW(TAWKStr::Substitute_MatchStr_For_ANDChar("a\\", "m"), ERegExpParser);
  EXPECT_EQ(TAWKStr::ProcessEscSeq("a\\.b\\x42\\101"), "a.bBA");
}

TEST(TAWKStr, SubReplacesTheFirstMatch) {
  TAWKStr awk;
  awk.SetRegExp("n+");
  std::string s = "bannnana";
  EXPECT_TRUE(awk.Sub("<&>", s));
  EXPECT_EQ(s, "ba<nnn>ana");
  std::string t = "xyz";
  EXPECT_FALSE(awk.Sub("-", t));
  EXPECT_EQ(t, "xyz");
}

TEST(TAWKStr, GSubReplacesEveryMatch) {
  struct Case {
    std::string pattern, replacement, in, out;
    int count;
  } cases[] = {
      {"a", "[&]", "banana", "b[a]n[a]n[a]", 3},
      {"x*", "-", "abc", "-a-b-c", 3},
      {"x*", "-", "", "-", 1},
      {"q", "-", "abc", "abc", 0},
      {"^a", "-", "aa\naa", "-a\n-a", 2},
      {"a$", "-", "aa\r\naa", "a-\r\na-", 2},
      {"x*", "-", "あい", "-あ-い", 2},
      {"A", "-", "アA", "ア-", 1},
      {"ab|b", "<&>", "abab", "<ab><ab>", 2},
  };
  for (const Case& c : cases) {
    TAWKStr awk;
    awk.SetRegExp(c.pattern);
    std::string s = c.in;
    EXPECT_EQ(awk.GSub(c.replacement, s), c.count) << c.pattern << " on " << c.in;
    EXPECT_EQ(s, c.out) << c.pattern << " on " << c.in;
  }
}

TEST(TAWKStr, GSubOverALongLineIsLinear) {
  TAWKStr awk;
  awk.SetRegExp("a*b");
  std::string s(500000, 'a');
  s += "b";
  EXPECT_EQ(awk.GSub("x", s), 1);
  EXPECT_EQ(s, "x");
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "aab,";
  EXPECT_EQ(awk.GSub("", many), 100000);
  EXPECT_EQ(many, std::string(100000, ','));
  // Each "a" is decided only at the end of the line (no "b" follows).
  awk.SetRegExp("a|a*b");
  std::string as(200000, 'a');
  EXPECT_EQ(awk.GSub("<&>", as), 200000);
  EXPECT_EQ(as.size(), 600000u);
  EXPECT_EQ(as.substr(0, 6), "<a><a>");
}

TEST(TAWKStr, SplitCutsAtTheMatches) {
  struct Case {
    std::string pattern, in;
    std::vector<std::string> fields;
  } cases[] = {
      {",", "a,b,,c", {"a", "b", "", "c"}},
      {",", ",a,", {"", "a", ""}},
      {",", "", {}},
      {",", "abc", {"abc"}},
      {"、+", "あ、、い、う", {"あ", "い", "う"}},
      {"x*", "ab", {"ab"}},
  };
  for (const Case& c : cases) {
    TAWKStr awk;
    awk.SetRegExp(c.pattern);
    std::vector<std::string> list;
    EXPECT_EQ(awk.Split(c.in, list), static_cast<int>(c.fields.size())) << c.pattern << " on " << c.in;
    EXPECT_EQ(list, c.fields) << c.pattern << " on " << c.in;
  }
}

TEST(TAWKStr, SelectsTheAnchoredProcedureOnlyForAnchors) {
  TAWKStr awk;
  awk.SetRegExp("ab");
  EXPECT_FALSE(awk.UsesMatchEX());
  awk.SetRegExp("^ab");
  EXPECT_TRUE(awk.UsesMatchEX());
  awk.SetRegExp("a$b");
  EXPECT_FALSE(awk.UsesMatchEX());
}

}  // namespace
}  // namespace vel
