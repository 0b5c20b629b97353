// Patterns of any size either compile and match or raise a pattern error:
// nothing recurses per character or per group, so a small stack suffices.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#ifndef _WIN32
#include <pthread.h>
#endif

#include "regexp/AWKStr.h"
#include "regexp/Grep.h"

namespace vel {
namespace {

// Runs body on a thread with a 1 MB stack (the MinGW build runs it on the
// main thread, whose stack is the program's).
void OnSmallStack(const std::function<void()>& body) {
#ifdef _WIN32
  body();
#else
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 1 << 20);
  pthread_t th;
  auto run = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&th, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(th, nullptr);
  pthread_attr_destroy(&attr);
#endif
}

struct Found {
  int Start, Length;
  bool operator==(const Found&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Found& f) { return o << f.Start << "+" << f.Length; }

Found MatchOf(TAWKStr& awk, const std::string& t) {
  int s = 0, l = 0;
  awk.Match(t, s, l);
  return {s, l};
}

TEST(LongPattern, AMegabyteLiteralCompilesAndMatches) {
  OnSmallStack([] {
    std::mt19937 rng(12);
    std::string lit;
    while (lit.size() < (1u << 20)) lit += (rng() % 3 == 0) ? std::string("漢") : std::string(1, 'a' + rng() % 26);
    TAWKStr awk;
    awk.SetRegExp(lit);
    EXPECT_TRUE(awk.GetRegExpIsSimple());
    EXPECT_EQ(MatchOf(awk, "x" + lit + "y"), (Found{2, static_cast<int>(lit.size())}));
    EXPECT_EQ(MatchOf(awk, lit.substr(0, lit.size() - 1)), (Found{0, 0}));
    TGrep grep;
    grep.SetRegExp(lit);
    EXPECT_TRUE(grep.LineMatches("x" + lit));
  });
}

TEST(LongPattern, AHundredThousandMemberClassCompilesAndMatches) {
  OnSmallStack([] {
    const std::string members[] = {"a", "z", "あ", "漢", "\\]", "0-9", "ア-ン"};
    std::string cls;
    for (int i = 0; i < 100000; ++i) cls += members[i % 7];
    TAWKStr awk;
    awk.SetRegExp("[" + cls + "]+");
    EXPECT_EQ(MatchOf(awk, "bbaあ]5イz漢b"), (Found{3, 10}));
    awk.SetRegExp("[^" + cls + "]+");
    EXPECT_EQ(MatchOf(awk, std::string("a漢bい\x00" "c9", 9)), (Found{4, 5}));
  });
}

TEST(LongPattern, TenThousandAlternativesCompileAndMatchTheLongest) {
  OnSmallStack([] {
    std::string p;
    for (int i = 0; i < 10000; ++i) p += (i ? "|w" : "w") + std::to_string(i);
    TAWKStr awk;
    awk.SetRegExp(p);
    EXPECT_EQ(MatchOf(awk, "xw5000y"), (Found{2, 5}));
    EXPECT_EQ(MatchOf(awk, "xwy"), (Found{0, 0}));
    std::string s = "w12 w9999 w";
    EXPECT_EQ(awk.GSub("<&>", s), 2);
    EXPECT_EQ(s, "<w12> <w9999> w");
  });
}

TEST(LongPattern, TenThousandNestedGroupsCompileAndMatch) {
  OnSmallStack([] {
    TAWKStr awk;
    awk.SetRegExp(std::string(10000, '(') + "a" + std::string(10000, ')'));
    EXPECT_EQ(MatchOf(awk, "ba"), (Found{2, 1}));
    std::string plus = "a";
    for (int i = 0; i < 10000; ++i) plus = "(" + plus + ")+";
    awk.SetRegExp(plus);
    EXPECT_EQ(MatchOf(awk, "baaab"), (Found{2, 3}));
    std::string star = std::string(10000, '(') + "ab";
    for (int i = 0; i < 10000; ++i) star += i % 2 ? ")*" : ")?";
    awk.SetRegExp(star + "c");
    EXPECT_EQ(MatchOf(awk, "xababc"), (Found{2, 5}));
    // Unbalanced at the end: the error names the end of the pattern.
    try {
      awk.SetRegExp(std::string(10000, '(') + "a");
      ADD_FAILURE();
    } catch (const ERegExpParser& e) {
      EXPECT_STREQ(e.what(), "右(閉じ)括弧が必要です");
      EXPECT_EQ(e.Position, 10002u);
    }
  });
}

// Beyond the size limits: a pattern error with the position where the limit
// was passed, never a crash.
TEST(LongPattern, PatternsBeyondTheLimitsRaiseAPatternError) {
  OnSmallStack([] {
    TAWKStr awk;
    try {
      awk.SetRegExp(std::string(800000, '.'));
      ADD_FAILURE();
    } catch (const ERegExpParser& e) {
      EXPECT_STREQ(e.what(), "正規表現が大きすぎます。");
      EXPECT_GT(e.Position, 100000u);
      EXPECT_LT(e.Position, 800001u);
      EXPECT_EQ(e.ErrorPos, 0xFFFF);
    }
    // The engine is usable afterwards.
    awk.SetRegExp("b+");
    EXPECT_EQ(MatchOf(awk, "abbc"), (Found{2, 2}));
  });
}

}  // namespace
}  // namespace vel
