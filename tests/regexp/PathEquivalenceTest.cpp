// Every search path gives the same results: the default one, a state cache
// so small that it is emptied at every new state, and the table of longest
// ends used from the first match on. Random patterns and texts over a small
// alphabet with double-byte characters, CR, LF and NUL.
#include <gtest/gtest.h>

#include <random>

#include "regexp/AWKStr.h"

namespace vel {
namespace {

std::string RandomPattern(std::mt19937& rng, int depth) {
  static const std::vector<std::string> atoms = {"a", "b", "ア", "あ", ".", "[ab]", "[^a]", "\\n", "\\r",
                                                 "^", "$", "[ぁ-ん]", "\\x00", "c"};
  std::string out;
  int n = 1 + static_cast<int>(rng() % 3);
  for (int i = 0; i < n; ++i) {
    std::string item = depth > 0 && rng() % 5 == 0 ? "(" + RandomPattern(rng, depth - 1) + ")" : atoms[rng() % atoms.size()];
    static const char* const ops[] = {"", "", "", "*", "+", "?"};
    out += item + ops[rng() % 6];
  }
  if (rng() % 4 == 0) out += "|" + RandomPattern(rng, depth > 0 ? depth - 1 : 0);
  return out;
}

std::string RandomText(std::mt19937& rng, size_t maxLen) {
  static const std::vector<std::string> chars = {"a", "b", "c", "ア", "あ", "\n", "\r", "\r\n", std::string(1, '\0'),
                                                 "\x83", "ぃ"};
  std::string t;
  size_t n = rng() % maxLen;
  for (size_t i = 0; i < n; ++i) t += chars[rng() % chars.size()];
  return t;
}

struct Results {
  std::vector<int> Matches;
  std::vector<std::string> Texts;
  bool operator==(const Results&) const = default;
};

void PrintTo(const Results& r, std::ostream* o) {
  for (int m : r.Matches) *o << m << " ";
  for (const std::string& t : r.Texts) *o << "[" << t << "] ";
}

// Every operation of the object on the text, through the path its DFA is
// set to.
Results RunAll(TAWKStr& awk, const std::string& t) {
  Results r;
  int start, length;
  awk.Match(t, start, length);
  r.Matches.insert(r.Matches.end(), {start, length});
  size_t s, e;
  bool std = awk.MatchStd(t, s, e);
  r.Matches.insert(r.Matches.end(), {std, std ? static_cast<int>(s) : -1, std ? static_cast<int>(e) : -1});
  std::string g = t;
  r.Matches.push_back(awk.GSub("<&>", g));
  r.Texts.push_back(g);
  std::string one = t;
  r.Matches.push_back(awk.Sub("{&}", one));
  r.Texts.push_back(one);
  std::vector<std::string> fields;
  r.Matches.push_back(awk.Split(t, fields));
  r.Texts.insert(r.Texts.end(), fields.begin(), fields.end());
  return r;
}

TEST(PathEquivalence, EveryPathGivesTheSameResults) {
  const unsigned seed = 20261208;
  std::mt19937 rng(seed);
  for (int iter = 0; iter < 600; ++iter) {
    std::string p = RandomPattern(rng, 2);
    TAWKStr plain, tiny, table, both;
    for (TAWKStr* a : {&plain, &tiny, &table, &both}) {
      a->LineSeparator = iter % 2 ? mcls_LF : mcls_CRLF;
      a->SetRegExp(p);
    }
    tiny.GetCurrentDFA()->SetCacheBudget(0);
    table.GetCurrentDFA()->SetMatchAllWorkFactor(0);
    both.GetCurrentDFA()->SetCacheBudget(0);
    both.GetCurrentDFA()->SetMatchAllWorkFactor(0);
    for (int k = 0; k < 6; ++k) {
      // Now and then a long text, so that the default path too runs out of
      // its rescan budget and switches to the table midway.
      std::string t = RandomText(rng, k == 5 ? 400 : 24);
      Results want = RunAll(plain, t);
      EXPECT_EQ(RunAll(tiny, t), want) << "seed " << seed << " iter " << iter << " pattern " << p;
      EXPECT_EQ(RunAll(table, t), want) << "seed " << seed << " iter " << iter << " pattern " << p;
      EXPECT_EQ(RunAll(both, t), want) << "seed " << seed << " iter " << iter << " pattern " << p;
      if (HasFailure()) return;
    }
  }
}

// The result does not depend on where in a long line the same text stands:
// an empty match before a CR moves on by the CR alone when no LF follows.
TEST(PathEquivalence, EmptyMatchesBeforeALoneCrKeepDoubleByteCharactersWhole) {
  for (size_t n : {size_t{3}, size_t{300}, size_t{30000}}) {
    TAWKStr awk;
    awk.SetRegExp("(a*c)?");
    std::string s = std::string(n, 'a') + "\rアb";
    EXPECT_EQ(awk.GSub("-", s), static_cast<int>(n) + 3) << n;
    EXPECT_EQ(s.substr(s.size() - 9), "-a-\r-ア-b") << n;
    std::string crlf = "a\r\nb";
    EXPECT_EQ(awk.GSub("-", crlf), 3);
    EXPECT_EQ(crlf, "-a-\r\n-b");
  }
}

TEST(TMatchCORE, MatchStdDoesNotHonourAnchors) {
  struct Case {
    std::string pattern, text;
    bool found;
    size_t start, end;
  } cases[] = {
      {"^a|b", "ab", true, 1, 2},  {"a$|b", "ba", true, 0, 1}, {"^a", "a", false, 0, 0},
      {"a$", "a\r\n", false, 0, 0}, {"x*", "", true, 0, 0},     {"a^b", "a^b", true, 0, 3},
  };
  for (const Case& c : cases) {
    TMatchCORE m;
    m.SetRegExp(c.pattern);
    size_t s = 0, e = 0;
    ASSERT_EQ(m.MatchStd(c.text, s, e), c.found) << c.pattern;
    if (c.found) EXPECT_EQ(std::make_pair(s, e), std::make_pair(c.start, c.end)) << c.pattern;
  }
}

TEST(TAWKStr, SplitIsOneWalkAndEveryRestStartsALine) {
  TAWKStr awk;
  awk.SetRegExp("a|a*c");
  std::string s(80000, 'a');
  std::vector<std::string> list;
  EXPECT_EQ(awk.Split(s, list), 80001);
  EXPECT_EQ(list.front(), "");
  awk.SetRegExp("^x");
  EXPECT_EQ(awk.Split("xxa", list), 3);
  EXPECT_EQ(list, (std::vector<std::string>{"", "", "a"}));
  EXPECT_EQ(awk.Split("xaxbx", list), 2);
  EXPECT_EQ(list, (std::vector<std::string>{"", "axbx"}));
}

}  // namespace
}  // namespace vel
