#include "regexp/RegularExpression.h"

#include <unordered_map>

namespace vel {

namespace {

// What every match of a subtree holds: Exact when it matches exactly one
// string; Prefix and Suffix, strings every match begins or ends with; Best,
// the longest string known to occur inside every match.
struct RELiteralInfo {
  bool IsExact = false;
  std::string Exact, Prefix, Suffix, Best;
};

constexpr size_t kMaxLiteral = 4096;

bool IsTextCode(WChar c) {
  return c < 256 ? !REIsLeadByte(static_cast<unsigned char>(c)) : REIsLeadByte(static_cast<unsigned char>(c >> 8));
}

const std::string& Longest(const std::string& a, const std::string& b) { return a.size() >= b.size() ? a : b; }

const RELiteralInfo& LiteralOf(const RENode_t* n, std::unordered_map<const RENode_t*, RELiteralInfo>& memo) {
  auto it = memo.find(n);
  if (it != memo.end()) return it->second;
  RELiteralInfo r;
  switch (n->Op) {
    case reop_Char:
      if (n->StartChar == n->EndChar && IsTextCode(n->StartChar)) {
        r.IsExact = true;
        r.Exact = r.Prefix = r.Suffix = r.Best = WCharToStr(n->StartChar);
      }
      break;
    case reop_Empty: r.IsExact = true; break;
    case reop_Concat: {
      RELiteralInfo a = LiteralOf(n->Left, memo);
      const RELiteralInfo& b = LiteralOf(n->Right, memo);
      if (a.IsExact && b.IsExact && a.Exact.size() + b.Exact.size() <= kMaxLiteral) {
        r.IsExact = true;
        r.Exact = r.Prefix = r.Suffix = r.Best = a.Exact + b.Exact;
        break;
      }
      r.Prefix = a.IsExact && a.Exact.size() + b.Prefix.size() <= kMaxLiteral ? a.Exact + b.Prefix : a.Prefix;
      r.Suffix = b.IsExact && a.Suffix.size() + b.Exact.size() <= kMaxLiteral ? a.Suffix + b.Exact : b.Suffix;
      std::string join = a.Suffix.size() + b.Prefix.size() <= kMaxLiteral ? a.Suffix + b.Prefix : std::string();
      r.Best = Longest(Longest(a.Best, b.Best), Longest(join, Longest(r.Prefix, r.Suffix)));
      break;
    }
    case reop_Union: {
      RELiteralInfo a = LiteralOf(n->Left, memo);
      const RELiteralInfo& b = LiteralOf(n->Right, memo);
      if (a.IsExact && b.IsExact && a.Exact == b.Exact) r = a;
      break;
    }
    default: break;  // closures may repeat zero times; anchors are decided later
  }
  return memo[n] = std::move(r);
}

}  // namespace

TRegularExpression::TRegularExpression() {
  Cache.push_back(Entry{std::string(), nullptr});
  CurrentIndex = 0;
  Translate(std::string());
}

TRegularExpression::~TRegularExpression() = default;

void TRegularExpression::Translate(const std::string& processed) {
  try {
    TREParser parser(processed);
    parser.Run();
    LHeadWChar = GetLineHeadWChar();
    LTailWChar = GetLineTailWChar();
    TRE_NFA nfa(parser, LHeadWChar, LTailWChar);
    nfa.Run();
    auto dfa = std::make_unique<TRE_DFA>(nfa);
    dfa->Run();
    {
      std::unordered_map<const RENode_t*, RELiteralInfo> memo;
      const RELiteralInfo& info = LiteralOf(parser.Tree().HeadNode, memo);
      if (dfa->RequiredLiteral.empty()) dfa->RequiredLiteral = info.IsExact ? info.Exact : info.Best;
      // Anchors are not literals, so a pattern that may begin with "^" has no prefix.
      if (!dfa->HasLHead) dfa->RequiredPrefix = info.IsExact ? info.Exact : info.Prefix;
    }
    Cache[CurrentIndex].DFA = std::move(dfa);
  } catch (...) {
    if (CurrentIndex != 0) Cache.erase(Cache.begin() + static_cast<std::ptrdiff_t>(CurrentIndex));
    CurrentIndex = 0;
    throw;
  }
}

void TRegularExpression::SetRegExp(const std::string& pattern) {
  PreProcessor.SetTargetRegExpStr(pattern);
  PreProcessor.Run();
  std::string p = PreProcessor.GetProcessedRegExpStr();
  try {
    size_t found = Cache.size();
    for (size_t i = 0; i < Cache.size(); ++i) {
      if (Cache[i].Pattern == p) {
        found = i;
        break;
      }
    }
    if (found < Cache.size()) {
      CurrentIndex = found;
    } else {
      if (Cache.size() >= CacheCapacity) Cache.pop_back();
      Cache.insert(Cache.begin() + 1, Entry{p, nullptr});
      CurrentIndex = 1;
      Translate(p);
    }
    FRegExp = pattern;
  } catch (...) {
    CurrentIndex = 0;
    FRegExp.clear();
    throw;
  }
}

void TRegularExpression::SetUseFuzzyCharDic(bool on) {
  PreProcessor.UseFuzzyCharDic = on;
  SetRegExp(FRegExp);
}

void TRegularExpression::SetUseSynonymDic(bool on) {
  PreProcessor.UseSynonymDic = on;
  SetRegExp(FRegExp);
}

bool TMatchCORE::SearchFrom(std::string_view t, size_t from, bool fromIsLineHead, size_t& start, size_t& end) {
  return GetCurrentDFA()->Search(t.data(), t.size(), from, fromIsLineHead, LineSeparator == mcls_LF, start, end);
}

}  // namespace vel
