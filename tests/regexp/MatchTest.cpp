// Leftmost-longest matching: a table of cases, then random patterns over a
// tiny alphabet checked against a direct NFA simulation that tries every
// start and end.
#include <gtest/gtest.h>

#include <random>

#include "regexp/AWKStr.h"

namespace vel {
namespace {

struct MatchCase {
  std::string pattern, text;
  int start, length;
  TMatchCORE_LineSeparator sep = mcls_CRLF;
};

TEST(TAWKStr_Match, FindsTheLeftmostLongestMatch) {
  MatchCase cases[] = {
      {"ab*", "xabbby", 2, 4},
      {"x*", "abc", 1, 0},
      {"x*", "", 1, 0},
      {"^b", "ab\nbc", 4, 1},
      {"^a", "xa", 0, 0},
      {"a$", "ba\r\n", 2, 1},
      {"a$", "ab", 0, 0},
      {"a$", "ba", 2, 1},
      {"$", "abc", 4, 0},
      {"a$", "ba\r\n", 0, 0, mcls_LF},
      {"a$", "ba\nc", 2, 1, mcls_LF},
      {"a^b", "xa^b", 2, 3},
      {"$a", "x$a", 2, 2},
      {"a|ab|abc", "xabcd", 2, 3},
      {"(a|ab)(c|bcd)", "abcd", 1, 4},
      {"abcd|c", "abcd", 1, 4},
      {"b+", "aabbbcbb", 3, 3},
      {".", "\r\nx", 3, 1},
      {"[^a]", "a\rb", 3, 1},
      {"[^\\n]", "\nあ", 2, 2},
      // A trail byte that looks like ASCII never starts a match.
      {"A", "アA", 3, 1},
      {"\\\\", "ソ\\", 3, 1},
      {"ア", "xアy", 2, 2},
      {"[あ-ん]+", "abかなカ", 3, 4},
      {"[^\\x01-\\xfcfc]|z", "abz", 3, 1},
      {"(^a|b)+", "ab", 1, 2},
      {"^$", "a\n\nb", 3, 0, mcls_LF},
      // A literal "^" or "$" inside a class's range: every transition is followed.
      {"a^[!-z]", "xa^^", 2, 3},
      {"x[!-z]*^y", "x^^^y", 1, 5},
      {"[#-&]*$x", "$$$x", 1, 4},
      {"^$", "a\n\nb", 0, 0},
  };
  for (const MatchCase& c : cases) {
    TAWKStr awk;
    awk.LineSeparator = c.sep;
    awk.SetRegExp(c.pattern);
    int start, len;
    int r = awk.Match(c.text, start, len);
    EXPECT_EQ(start, c.start) << c.pattern << " on " << c.text;
    EXPECT_EQ(len, c.length) << c.pattern << " on " << c.text;
    EXPECT_EQ(r, start);
  }
}

TEST(TAWKStr_Match, FuzzyOptionMatchesKanaVariants) {
  TAWKStr awk;
  awk.SetRegExp("ｱ");
  awk.SetUseFuzzyCharDic(true);
  for (std::string t : {"あ", "ア", "ァ", "ｱ"}) {
    int start, len;
    EXPECT_EQ(awk.Match("x" + t, start, len), 2) << t;
  }
  awk.SetUseFuzzyCharDic(false);
  int start, len;
  EXPECT_EQ(awk.Match("xア", start, len), 0);
}

TEST(TRegularExpression, CachesThirtyCompiledPatterns) {
  TAWKStr awk;
  awk.SetRegExp("p0");
  awk.SetRegExp("p0");
  EXPECT_EQ(awk.CacheCount(), 2u);
  for (int i = 1; i <= 30; ++i) awk.SetRegExp("p" + std::to_string(i));
  EXPECT_EQ(awk.CacheCount(), 30u);
  EXPECT_EQ(awk.CachedPattern(0), "");
  EXPECT_EQ(awk.CachedPattern(1), "p30");
  for (size_t i = 0; i < awk.CacheCount(); ++i) EXPECT_NE(awk.CachedPattern(i), "p0");
  // A found entry stays where it is.
  awk.SetRegExp("p5");
  EXPECT_EQ(awk.CachedPattern(awk.CurrentIndex), "p5");
  EXPECT_EQ(awk.CachedPattern(1), "p30");
  // Fuzzy on and off are two entries.
  awk.SetUseFuzzyCharDic(true);
  EXPECT_EQ(awk.GetProcessedRegExp(), "(Ｐ|ｐ|P|p)(5|５|五|⑤|Ⅴ|伍)");
  EXPECT_EQ(awk.RegExp(), "p5");
}

TEST(TRegularExpression, AFailedCompilationKeepsNoPartialEntry) {
  TAWKStr awk;
  awk.SetRegExp("ok");
  size_t before = awk.CacheCount();
  EXPECT_THROW(awk.SetRegExp("(bad"), ERegExpParser);
  EXPECT_EQ(awk.CacheCount(), before);
  EXPECT_EQ(awk.CurrentIndex, 0u);
  EXPECT_EQ(awk.RegExp(), "");
  int start, len;
  EXPECT_EQ(awk.Match("abc", start, len), 1);
  EXPECT_EQ(len, 0);
}

// --- Oracle: the NFA simulated from every start, every end tried. ---

// Whether the character that ends at boundary pos is an LF (a trail byte 0x0A
// is not).
bool PrevIsLF(const std::string& t, size_t pos) {
  size_t q = 0, prev = 0;
  while (q < pos) {
    prev = q;
    q += (REIsLeadByte(static_cast<unsigned char>(t[q])) && q + 1 < t.size()) ? 2 : 1;
  }
  return pos > 0 && pos - prev == 1 && t[prev] == '\n';
}

struct Oracle {
  explicit Oracle(const std::string& p) : parser(p) {
    parser.Run();
    nfa = std::make_unique<TRE_NFA>(parser, RE_LineHeadWChar, RE_LineTailWChar);
    nfa->Run();
  }
  void Close(std::vector<bool>& set) const {
    std::vector<int> stack;
    for (size_t s = 0; s < set.size(); ++s)
      if (set[s]) stack.push_back(static_cast<int>(s));
    while (!stack.empty()) {
      int s = stack.back();
      stack.pop_back();
      for (const RE_NFANode_t& t : nfa->StateList[s])
        if (t.Kind == nfak_Empty && !set[t.TransitTo]) {
          set[t.TransitTo] = true;
          stack.push_back(t.TransitTo);
        }
    }
  }
  // Longest end of a match starting at s, or -1.
  long LongestAt(const std::string& t, size_t s, bool head, bool lf) const {
    size_t n = nfa->StateList.size();
    std::vector<bool> set(n);
    set[0] = true;
    if (head)
      for (const RE_NFANode_t& tr : nfa->StateList[0])
        if (tr.Kind == nfak_LHead) set[tr.TransitTo] = true;
    Close(set);
    long best = -1;
    for (size_t p = s;;) {
      bool lineEnd = p == t.size() || t[p] == (lf ? '\n' : '\r');
      for (size_t x = 0; x < n; ++x) {
        if (!set[x]) continue;
        if (x == 1) best = static_cast<long>(p);
        if (lineEnd)
          for (const RE_NFANode_t& tr : nfa->StateList[x])
            if (tr.Kind == nfak_LTail) best = static_cast<long>(p);
      }
      if (p == t.size()) break;
      size_t len = (REIsLeadByte(static_cast<unsigned char>(t[p])) && p + 1 < t.size()) ? 2 : 1;
      WChar c = len == 2 ? static_cast<WChar>(static_cast<unsigned char>(t[p]) << 8 | static_cast<unsigned char>(t[p + 1]))
                         : static_cast<unsigned char>(t[p]);
      bool valid = len == 2 || !REIsLeadByte(static_cast<unsigned char>(t[p]));
      std::vector<bool> next(n);
      bool any = false;
      for (size_t x = 0; x < n; ++x) {
        if (!set[x]) continue;
        for (const RE_NFANode_t& tr : nfa->StateList[x])
          if (valid && tr.Kind == nfak_Char && tr.CharClass.StartChar <= c && c <= tr.CharClass.EndChar) {
            next[tr.TransitTo] = true;
            any = true;
          }
      }
      if (!any) break;
      Close(next);
      set.swap(next);
      p += len;
    }
    return best;
  }
  bool Search(const std::string& t, size_t from, bool fromHead, bool lf, size_t& ms, size_t& me) const {
    for (size_t s = from; s <= t.size();) {
      bool head = s == from ? fromHead : PrevIsLF(t, s);
      long e = LongestAt(t, s, head, lf);
      if (e >= 0) {
        ms = s;
        me = static_cast<size_t>(e);
        return true;
      }
      if (s == t.size()) break;
      s += (REIsLeadByte(static_cast<unsigned char>(t[s])) && s + 1 < t.size()) ? 2 : 1;
    }
    return false;
  }
  TREParser parser;
  std::unique_ptr<TRE_NFA> nfa;
};

std::string RandomPattern(std::mt19937& rng, int depth) {
  static const std::vector<std::string> atoms = {"a", "b", "A", "あ", "ア", ".", "[ab]", "[^a]", "\\n",
                                                 "[a-zA]", "^", "$", "\\r", "ぁ"};
  std::uniform_int_distribution<int> pick(0, 9);
  std::string out;
  int n = 1 + static_cast<int>(rng() % 3);
  for (int i = 0; i < n; ++i) {
    std::string item;
    if (depth > 0 && pick(rng) < 2)
      item = "(" + RandomPattern(rng, depth - 1) + ")";
    else
      item = atoms[rng() % atoms.size()];
    int op = pick(rng);
    if (op == 0) item += "*";
    else if (op == 1) item += "+";
    else if (op == 2) item += "?";
    out += item;
  }
  if (pick(rng) < 2) out += "|" + RandomPattern(rng, depth - 1 < 0 ? 0 : depth - 1);
  return out;
}

std::string RandomText(std::mt19937& rng) {
  static const std::vector<std::string> chars = {"a", "b", "A", "あ", "ア", "\n", "\r", "x", "ぁ", "\x82"};
  std::string t;
  int n = static_cast<int>(rng() % 10);
  for (int i = 0; i < n; ++i) t += chars[rng() % chars.size()];
  return t;
}

TEST(TRE_DFA_Property, AgreesWithNFASimulationOnRandomPatterns) {
  const unsigned seed = 20261208;
  std::mt19937 rng(seed);
  for (int iter = 0; iter < 1500; ++iter) {
    std::string p = RandomPattern(rng, 2);
    Oracle oracle(p);
    TMatchCORE m;
    m.SetRegExp(p);
    TRE_DFA* dfa = m.GetCurrentDFA();
    if (iter % 3 == 0) dfa->SetCacheBudget(0);  // resets the cache on every new state
    for (int k = 0; k < 8; ++k) {
      std::string t = RandomText(rng);
      bool lf = rng() % 2;
      // Every match in turn, as velgrep -o and GSub walk a line.
      std::vector<std::pair<size_t, size_t>> want, stepped;
      size_t from = 0;
      bool head = true;
      for (int guard = 0; guard < 40 && from <= t.size(); ++guard) {
        size_t s1 = 0, e1 = 0, s2 = 0, e2 = 0;
        bool found = oracle.Search(t, from, head, lf, s1, e1);
        bool got = dfa->Search(t.data(), t.size(), from, head, lf, s2, e2);
        ASSERT_EQ(got, found) << "seed " << seed << " iter " << iter << " pattern " << p << " text " << t
                              << " from " << from << " head " << head << " lf " << lf;
        if (!found) break;
        want.emplace_back(s1, e1);
        stepped.emplace_back(s2, e2);
        if (e1 > s1) {
          from = e1;
        } else {
          if (e1 >= t.size()) break;
          from = e1 + ((REIsLeadByte(static_cast<unsigned char>(t[e1])) && e1 + 1 < t.size()) ? 2 : 1);
        }
        head = PrevIsLF(t, from);
      }
      ASSERT_EQ(stepped, want) << "seed " << seed << " iter " << iter << " pattern " << p << " text " << t;
      size_t s0, e0;
      ASSERT_EQ(dfa->Contains(t.data(), t.size(), lf), oracle.Search(t, 0, true, lf, s0, e0)) << p << " " << t;
      // The same walk through MatchAll, by repeated searches and by the table.
      for (size_t factor : {size_t{4}, size_t{0}}) {
        dfa->SetMatchAllWorkFactor(factor);
        std::vector<std::pair<size_t, size_t>> all;
        dfa->MatchAll(t.data(), t.size(), 0, true, lf, [&](size_t s, size_t e) -> size_t {
          all.emplace_back(s, e);
          if (all.size() >= 40) return SIZE_MAX;
          if (e > s) return e;
          if (e >= t.size()) return SIZE_MAX;
          return e + ((REIsLeadByte(static_cast<unsigned char>(t[e])) && e + 1 < t.size()) ? 2 : 1);
        });
        ASSERT_EQ(all, want) << "seed " << seed << " iter " << iter << " factor " << factor << " pattern " << p
                             << " text " << t << " lf " << lf;
      }
    }
  }
}

// Work is bounded: the subset construction would need 2^21 states here.
TEST(TRE_DFA_Bound, ExponentialPatternMatchesWithABoundedCache) {
  std::string p = "(a|b)*a";
  for (int i = 0; i < 20; ++i) p += "(a|b)";
  TMatchCORE m;
  m.SetRegExp(p);
  m.GetCurrentDFA()->SetCacheBudget(1 << 20);
  std::mt19937 rng(7);
  std::string t;
  for (int i = 0; i < 200000; ++i) t += (rng() & 1) ? 'a' : 'b';
  size_t s, e;
  ASSERT_TRUE(m.MatchStd(t, s, e));
  // Leftmost: the first position with an 'a' 20 characters before the end of a match.
  size_t first = t.find('a');
  EXPECT_EQ(s, 0u);
  EXPECT_EQ(e, t.size());
  EXPECT_LT(first, 30u);
  EXPECT_GT(m.GetCurrentDFA()->CacheResets(), 0u);
  std::string bs(100000, 'b');
  EXPECT_FALSE(m.MatchStd(bs, s, e));
}

TEST(TRE_DFA_Bound, StarFollowedByLiteralOnALongLineIsOnePass) {
  TMatchCORE m;
  m.SetRegExp("a*b");
  std::string t(1000000, 'a');
  size_t s, e;
  EXPECT_FALSE(m.MatchStd(t, s, e));
  t += 'b';
  ASSERT_TRUE(m.MatchStd(t, s, e));
  EXPECT_EQ(s, 0u);
  EXPECT_EQ(e, t.size());
}

}  // namespace
}  // namespace vel
