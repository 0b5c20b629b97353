#include "regexp/RegularExpression.h"

#include <unordered_map>

namespace vel {

namespace {

// What every match of a subtree holds: Exact when it matches exactly one
// string (then the other fields are unused); Prefix and Suffix, strings
// every match begins or ends with; Best, the longest string known to occur
// inside every match.
struct RELiteralInfo {
  bool IsExact = false;
  std::string Exact, Prefix, Suffix, Best;
  const std::string& Pre() const { return IsExact ? Exact : Prefix; }
  const std::string& Suf() const { return IsExact ? Exact : Suffix; }
  const std::string& Inner() const { return IsExact ? Exact : Best; }
};

constexpr size_t kMaxLiteral = 4096;
// Prefilter strings are cut to this length: a longer needle saves little and
// costs its length again at every search window.
constexpr size_t kMaxNeedle = 256;

void KeepLongest(std::string& best, const std::string& s) {
  if (s.size() > best.size()) best = s;
}

RELiteralInfo Combine(const RENode_t* n, RELiteralInfo a, RELiteralInfo b) {
  RELiteralInfo r;
  switch (n->Op) {
    case reop_Char:
      if (n->StartChar == n->EndChar && sjis::IsTextCode(n->StartChar)) {
        r.IsExact = true;
        r.Exact = WCharToStr(n->StartChar);
      }
      break;
    case reop_Empty: r.IsExact = true; break;
    case reop_Concat: {
      if (a.IsExact && b.IsExact && a.Exact.size() + b.Exact.size() <= kMaxLiteral) {
        r.IsExact = true;
        r.Exact = std::move(a.Exact);
        r.Exact += b.Exact;
        break;
      }
      // Strings are moved out of the left part, so that a long chain of
      // characters costs the length of each new piece only.
      const std::string& aSuf = a.Suf();
      const std::string& bPre = b.Pre();
      size_t join = aSuf.size() + bPre.size();
      r.Best = a.IsExact ? std::string() : std::move(a.Best);
      KeepLongest(r.Best, b.Inner());
      if (join <= kMaxLiteral && join > r.Best.size()) r.Best = aSuf + bPre;
      if (b.IsExact && join <= kMaxLiteral) {
        r.Suffix = a.IsExact ? a.Exact : std::move(a.Suffix);
        r.Suffix += b.Exact;
      } else {
        r.Suffix = b.Suf();
      }
      if (a.IsExact) {
        r.Prefix = std::move(a.Exact);
        if (join <= kMaxLiteral) r.Prefix += bPre;
      } else {
        r.Prefix = std::move(a.Prefix);
      }
      KeepLongest(r.Best, r.Prefix);
      KeepLongest(r.Best, r.Suffix);
      break;
    }
    case reop_Union:
      if (a.IsExact && b.IsExact && a.Exact == b.Exact) r = std::move(a);
      break;
    default: break;  // closures may repeat zero times; anchors are decided later
  }
  return r;
}

// Bottom-up over the tree without recursion; a subtree's result is dropped
// (or moved) once its last parent has used it, so a long chain holds only a
// few results at a time.
RELiteralInfo LiteralOf(const RENode_t* root, size_t idLimit) {
  auto inner = [](const RENode_t* n) { return n->Op == reop_Concat || n->Op == reop_Union; };
  // Post-order: every child comes before each of its parents. uses counts
  // the parents still to come (-1: not reached yet).
  std::vector<int32_t> uses(idLimit, -1);
  std::vector<const RENode_t*> order;
  std::vector<std::pair<const RENode_t*, bool>> stack{{root, false}};
  while (!stack.empty()) {
    auto [n, expanded] = stack.back();
    stack.pop_back();
    if (expanded) {
      order.push_back(n);
      continue;
    }
    if (uses[n->Id] >= 0) continue;
    uses[n->Id] = 0;
    stack.push_back({n, true});
    if (inner(n))
      for (const RENode_t* c : {n->Right, n->Left})
        if (uses[c->Id] < 0) stack.push_back({c, false});
  }
  for (const RENode_t* n : order)
    if (inner(n)) {
      ++uses[n->Left->Id];
      ++uses[n->Right->Id];
    }
  std::unordered_map<uint32_t, RELiteralInfo> done;
  auto take = [&](const RENode_t* c) {
    auto it = done.find(c->Id);
    if (--uses[c->Id] > 0) return it->second;
    RELiteralInfo r = std::move(it->second);
    done.erase(it);
    return r;
  };
  for (const RENode_t* n : order) {
    RELiteralInfo a, b;
    if (inner(n)) {
      a = take(n->Left);
      b = take(n->Right);
    }
    done[n->Id] = Combine(n, std::move(a), std::move(b));
  }
  return std::move(done[root->Id]);
}

// The first bytes of s, at most kMaxNeedle, cut at a character boundary.
std::string Needle(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    size_t next = sjis::NextChar(s, i);
    if (next > kMaxNeedle) break;
    i = next;
  }
  return s.substr(0, i);
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
    parser.SplitRanges = false;
    parser.Run();
    LHeadWChar = GetLineHeadWChar();
    LTailWChar = GetLineTailWChar();
    TRE_NFA nfa(parser, LHeadWChar, LTailWChar);
    nfa.Run();
    auto dfa = std::make_unique<TRE_DFA>(nfa);
    dfa->Run();
    {
      RELiteralInfo info = LiteralOf(parser.Tree().HeadNode, parser.Tree().IdLimit());
      if (dfa->RequiredLiteral.empty()) dfa->RequiredLiteral = info.Inner();
      dfa->RequiredLiteral = Needle(dfa->RequiredLiteral);
      // Anchors are not literals, so a pattern that may begin with "^" has no prefix.
      if (!dfa->HasLHead) dfa->RequiredPrefix = Needle(info.Pre());
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

bool TMatchCORE::MatchStd(std::string_view t, size_t& start, size_t& end) {
  return GetCurrentDFA()->Search(t.data(), t.size(), 0, false, LineSeparator == mcls_LF, start, end, true);
}

bool TMatchCORE::SearchFrom(std::string_view t, size_t from, bool fromIsLineHead, size_t& start, size_t& end) {
  return GetCurrentDFA()->Search(t.data(), t.size(), from, fromIsLineHead, LineSeparator == mcls_LF, start, end);
}

}  // namespace vel
