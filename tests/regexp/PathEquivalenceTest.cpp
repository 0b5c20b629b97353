// Every search path gives the same results: the default one, a state cache
// so small that it is emptied at every new state, and the table of longest
// ends used from the first match on. Random patterns and texts over a small
// alphabet with double-byte characters, CR, LF and NUL.
#include <gtest/gtest.h>

#include <random>

#include "regexp/AWKStr.h"
#include "regexp/Grep.h"
#include "text/Sjis.h"

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

// A pattern whose matches all end at a line tail decides a one-line text by
// walking back from its end; the answers are those of the forward walk.
TEST(PathEquivalence, LineTailPatternsDecideALineFromItsEnd) {
  std::mt19937 rng(20261209);
  static const std::vector<std::string> chars = {"a", "b", "c", "ア", "あ", std::string(1, '\0'), "\x83", "ぃ",
                                                 "\x88\x9f", "\x82\x82", " ", "\r", "\n"};
  int backward = 0;
  for (int iter = 0; iter < 800; ++iter) {
    std::string p = RandomPattern(rng, 2);
    p = iter % 3 == 0 ? p + "$" : "(" + p + ")$";
    if (iter % 5 == 0) p += "|" + RandomPattern(rng, 1) + "$";
    TAWKStr back, fwd;
    for (TAWKStr* a : {&back, &fwd}) {
      a->LineSeparator = iter % 2 ? mcls_LF : mcls_CRLF;
      a->SetRegExp(p);
    }
    TRE_DFA* dfa = back.GetCurrentDFA();
    TRE_DFA* plain = fwd.GetCurrentDFA();
    backward += dfa->EndsOnlyAtLineTail;
    plain->EndsOnlyAtLineTail = false;
    const bool lf = back.LineSeparator == mcls_LF;
    for (int k = 0; k < 8; ++k) {
      // Mostly one line; now and then a break, which the backward walk leaves alone.
      std::string t;
      for (size_t n = rng() % (k == 7 ? 300 : 16); n > 0; --n) t += chars[rng() % (k % 3 ? chars.size() - 2 : chars.size())];
      ASSERT_EQ(dfa->Contains(t.data(), t.size(), lf), plain->Contains(t.data(), t.size(), lf))
          << "iter " << iter << " pattern " << p << " text " << t;
      for (size_t from = 0; from <= t.size(); from += sjis::CharLen(t, from)) {
        size_t s1 = 0, e1 = 0, s2 = 0, e2 = 0;
        const bool head = from % 3 == 0;
        bool got = dfa->Search(t.data(), t.size(), from, head, lf, s1, e1);
        ASSERT_EQ(got, plain->Search(t.data(), t.size(), from, head, lf, s2, e2))
            << "iter " << iter << " pattern " << p << " text " << t << " from " << from;
        if (got) ASSERT_EQ(std::make_pair(s1, e1), std::make_pair(s2, e2)) << "pattern " << p << " text " << t;
        if (from == t.size()) break;
      }
      ASSERT_EQ(RunAll(back, t), RunAll(fwd, t)) << "iter " << iter << " pattern " << p << " text " << t;
    }
  }
  EXPECT_GT(backward, 400);
  for (const char* p : {"a|b$", "a$|b", "x*", "(a$)*"}) {
    TMatchCORE m;
    m.SetRegExp(p);
    EXPECT_FALSE(m.GetCurrentDFA()->EndsOnlyAtLineTail) << p;
  }
}

// Skipping to a key byte of the first character, in the engine's walks and
// in grep's line selection, gives what a walk through every character gives.
TEST(PathEquivalence, SkippingToStartKeyBytesGivesTheSameResults) {
  std::mt19937 rng(20261211);
  static const std::vector<std::string> chars = {"a", "b", "c", "ア", "あ", "\n", "\r", "\r\n", std::string(1, '\0'),
                                                 "\x83", "\x88\x9f", "\x9f\x61", "\x9f\x9f", "ぃ", "x"};
  static const std::vector<std::string> extra = {"\x88\x9f", "\x9f\x9f", "\x9f\x61|ア", "(a|ア)b"};
  int skipping = 0;
  for (int iter = 0; iter < 500; ++iter) {
    std::string p = iter % 4 == 0 ? extra[rng() % extra.size()] + RandomPattern(rng, 1) : RandomPattern(rng, 2);
    TAWKStr skip, walk;
    TGrep grepSkip, grepWalk;
    for (TAWKStr* a : {&skip, &walk}) {
      a->LineSeparator = iter % 2 ? mcls_LF : mcls_CRLF;
      a->SetRegExp(p);
    }
    grepSkip.SetRegExp(p);
    grepWalk.SetRegExp(p);
    walk.GetCurrentDFA()->StartKeyBytes.clear();
    grepWalk.GetCurrentDFA()->StartKeyBytes.clear();
    skipping += !skip.GetCurrentDFA()->StartKeyBytes.empty();
    for (int k = 0; k < 6; ++k) {
      std::string t;
      for (size_t n = rng() % (k == 5 ? 400 : 30); n > 0; --n) t += chars[rng() % chars.size()];
      ASSERT_EQ(RunAll(skip, t), RunAll(walk, t)) << "iter " << iter << " pattern " << p << " text " << t;
      auto lines = [&](TGrep& g) {
        std::vector<std::string> out;
        g.GrepBuffer(t.data(), t.size(), 1, true, [&](size_t no, std::string_view line) {
          out.push_back(std::to_string(no) + ":" + std::string(line));
          return true;
        });
        return out;
      };
      ASSERT_EQ(lines(grepSkip), lines(grepWalk)) << "iter " << iter << " pattern " << p << " text " << t;
    }
  }
  EXPECT_GT(skipping, 150);
  TMatchCORE m;
  m.SetRegExp("(す|ス|ｽ)け");
  EXPECT_EQ(m.GetCurrentDFA()->StartKeyBytes.size(), 3u);
  for (const char* q : {"x*", "$|a", "[a-z]", "."}) {
    m.SetRegExp(q);
    EXPECT_EQ(m.GetCurrentDFA()->StartKeyBytes, "") << q;
  }
}

// A walk whose next search starts inside the match before (as a whole-word
// search resumes at a trailing blank) gives the matches of repeated
// searches, by searches and by the table alike.
TEST(PathEquivalence, MatchAllResumesInsideTheLastMatch) {
  std::mt19937 rng(20261210);
  for (int iter = 0; iter < 400; ++iter) {
    std::string p = RandomPattern(rng, 2);
    TMatchCORE m;
    m.SetRegExp(p);
    TRE_DFA* dfa = m.GetCurrentDFA();
    for (int k = 0; k < 4; ++k) {
      std::string t = RandomText(rng, k == 3 ? 300 : 24);
      // Next start: one character into the match, or past an empty one.
      auto next = [&](size_t s, size_t e) -> size_t {
        size_t n = s + (s < t.size() ? sjis::CharLen(t, s) : 1);
        if (e > n && (s + e) % 2 == 0) n = e;
        return n > t.size() ? SIZE_MAX : n;
      };
      std::vector<std::pair<size_t, size_t>> want;
      for (size_t pos = 0; pos != SIZE_MAX && want.size() < 60;) {
        size_t s, e;
        size_t prev = 0;
        for (size_t q = 0; q < pos; q += sjis::CharLen(t, q)) prev = q;
        bool head = pos == 0 || (pos - prev == 1 && t[prev] == '\n');
        if (!dfa->Search(t.data(), t.size(), pos, head, false, s, e)) break;
        want.emplace_back(s, e);
        pos = next(s, e);
      }
      for (size_t factor : {size_t{4}, size_t{0}}) {
        dfa->SetMatchAllWorkFactor(factor);
        std::vector<std::pair<size_t, size_t>> all;
        dfa->MatchAll(t.data(), t.size(), 0, true, false, [&](size_t s, size_t e) -> size_t {
          all.emplace_back(s, e);
          return all.size() >= 60 ? SIZE_MAX : next(s, e);
        });
        ASSERT_EQ(all, want) << "iter " << iter << " factor " << factor << " pattern " << p << " text " << t;
      }
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
