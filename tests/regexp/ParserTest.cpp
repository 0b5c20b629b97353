// Parse tree shape, range splitting, negated classes and the automaton's
// anchor decisions.
#include <gtest/gtest.h>

#include <set>

#include "regexp/REDFA.h"
#include "regexp/REParser.h"

namespace vel {
namespace {

std::string Show(const RENode_t* n) {
  switch (n->Op) {
    case reop_Char:
      return n->StartChar == n->EndChar ? std::string(1, static_cast<char>(n->StartChar))
                                        : std::to_string(n->StartChar) + "-" + std::to_string(n->EndChar);
    case reop_LHead: return "^";
    case reop_LTail: return "$";
    case reop_Concat: return "Cat(" + Show(n->Left) + "," + Show(n->Right) + ")";
    case reop_Union: return "Or(" + Show(n->Left) + "," + Show(n->Right) + ")";
    case reop_Closure: return "Star(" + Show(n->Left) + ")";
    case reop_Empty: return "E";
  }
  return "?";
}

std::string Parse(const std::string& p) {
  TREParser parser(p);
  parser.Run();
  return Show(parser.Tree().HeadNode);
}

TEST(TREParser, BuildsTheDocumentedTreeShapes) {
  struct Case {
    std::string pattern, tree;
  } cases[] = {
      {"", "E"},
      {"()", "E"},
      {"a|", "Or(a,E)"},
      {"a|b|c", "Or(Or(a,b),c)"},
      {"abc", "Cat(Cat(a,b),c)"},
      {"a*", "Star(a)"},
      {"a+", "Cat(a,Star(a))"},
      {"a?", "Or(a,E)"},
      {"[ab]", "Or(a,b)"},
      {"^a$", "Cat(Cat(^,a),$)"},
      {".", "Or(Or(0-9,11-12),14-64764)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.pattern), c.tree) << c.pattern;
}

TEST(TREParser, PlusSharesOneSubtree) {
  TREParser parser("(ab)+");
  parser.Run();
  const RENode_t* h = parser.Tree().HeadNode;
  ASSERT_EQ(h->Op, reop_Concat);
  EXPECT_EQ(h->Left, h->Right->Left);
}

TEST(ForceCharClassUnique, SplitsOverlappingRangesIntoSharedPieces) {
  TREParser parser("[a-z][m-q]");
  parser.Run();
  std::set<std::pair<int, int>> leaves;
  for (const RENode_t* l : parser.Tree().LeafList()) leaves.insert({l->StartChar, l->EndChar});
  EXPECT_EQ(leaves, (std::set<std::pair<int, int>>{{'a', 'l'}, {'m', 'q'}, {'r', 'z'}}));
  const RENode_t* h = parser.Tree().HeadNode;
  EXPECT_EQ(Show(h->Left), "Or(Or(97-108,109-113),114-122)");
  EXPECT_EQ(h->Right->Op, reop_Char);
  EXPECT_EQ(h->Right->StartChar, 'm');
}

TEST(ForceCharClassUnique, LeavesArePairwiseDisjointAfterParsing) {
  for (std::string p : {"[a-f][c-k][e-e]x|[b-y]", "[!-z]|[0-9a-z]|.[^m]", "[\\x01-\\xfcfc][ab]"}) {
    TREParser parser(p);
    parser.Run();
    const auto& l = parser.Tree().LeafList();
    for (size_t i = 0; i < l.size(); ++i)
      for (size_t j = i + 1; j < l.size(); ++j)
        EXPECT_TRUE(l[i]->EndChar < l[j]->StartChar || l[j]->EndChar < l[i]->StartChar) << p;
  }
}

std::set<std::pair<int, int>> ClassRanges(const std::string& p) {
  TREParser parser(p);
  parser.Run();
  std::set<std::pair<int, int>> r;
  std::vector<const RENode_t*> stack{parser.Tree().HeadNode};
  while (!stack.empty()) {
    const RENode_t* n = stack.back();
    stack.pop_back();
    if (n->Op == reop_Char) r.insert({n->StartChar, n->EndChar});
    if (n->Left) stack.push_back(n->Left);
    if (n->Right) stack.push_back(n->Right);
  }
  return r;
}

TEST(NegativeCharacterClass, SubtractsMembersFromTheAnyCharacterSet) {
  using R = std::set<std::pair<int, int>>;
  // NUL is an ordinary character: in the set unless listed.
  EXPECT_EQ(ClassRanges("[^\\x01-\\x09]"), (R{{0, 0}, {11, 12}, {14, 0xFCFC}}));
  EXPECT_EQ(ClassRanges("[^\\x0b\\x0c]"), (R{{0, 9}, {14, 0xFCFC}}));
  EXPECT_EQ(ClassRanges("[^a]"), (R{{0, 9}, {11, 12}, {14, 96}, {98, 0xFCFC}}));
  EXPECT_EQ(ClassRanges("[^\\x00-\\x09]"), (R{{11, 12}, {14, 0xFCFC}}));
  EXPECT_EQ(ClassRanges("[^b-yc-da-c\\x00]"), (R{{1, 9}, {11, 12}, {14, 96}, {122, 0xFCFC}}));
  // Removing the whole universe leaves a class that matches nothing.
  EXPECT_EQ(ClassRanges("[^\\x00-\\xfcfc]"), (R{{RE_NoCharCode, RE_NoCharCode}}));
}

TEST(TRE_NFA, DecidesWhereHeadAndTailAreAnchors) {
  struct Case {
    std::string pattern;
    bool head, tail;
  } cases[] = {
      {"^a", true, false}, {"^a|^b", true, false}, {"(^a)b", true, false}, {"a^b", false, false},
      {"x*^", false, false}, {"^*", false, false}, {"a$", false, true}, {"a$|b$", false, true},
      {"(a|b$)", false, true}, {"a$b", false, false}, {"$*", false, false}, {"$a", false, false},
  };
  for (const Case& c : cases) {
    TREParser parser(c.pattern);
    parser.Run();
    TRE_NFA nfa(parser, RE_LineHeadWChar, RE_LineTailWChar);
    nfa.Run();
    EXPECT_EQ(nfa.HasLHead, c.head) << c.pattern;
    EXPECT_EQ(nfa.HasLTail, c.tail) << c.pattern;
  }
}

TEST(TRE_DFA, FindsPlainStringPatterns) {
  struct Case {
    std::string pattern;
    bool simple;
    std::string str;
  } cases[] = {
      {"abc", true, "abc"}, {"", true, ""},     {"\\x41\\x42", true, "AB"}, {"検索", true, "検索"},
      {"ab*", false, ""},   {"a|b", false, ""}, {"[ab]", false, ""},       {"^ab", false, ""},
      {"a|a", true, "a"},   {"a?", false, ""},
  };
  for (const Case& c : cases) {
    TREParser parser(c.pattern);
    parser.Run();
    TRE_NFA nfa(parser, RE_LineHeadWChar, RE_LineTailWChar);
    nfa.Run();
    TRE_DFA dfa(nfa);
    dfa.Run();
    EXPECT_EQ(dfa.RegExpIsSimple, c.simple) << c.pattern;
    EXPECT_EQ(dfa.SimpleRegExp, c.str) << c.pattern;
  }
}

}  // namespace
}  // namespace vel
