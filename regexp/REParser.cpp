#include "regexp/REParser.h"

#include <algorithm>

namespace vel {

RENode_t* TREParseTree::NewNode() {
  Storage.emplace_back();
  Storage.back().Pos = CurrentPos;
  Storage.back().Id = static_cast<uint32_t>(Storage.size() - 1);
  return &Storage.back();
}

RENode_t* TREParseTree::MakeInternalNode(REOperation_t op, RENode_t* left, RENode_t* right) {
  RENode_t* n = NewNode();
  n->Op = op;
  n->Left = left;
  n->Right = right;
  Internal.push_back(n);
  return n;
}

RENode_t* TREParseTree::MakeLeaf(WChar start, WChar end) {
  auto it = LeafIndex.find({start, end});
  if (it != LeafIndex.end()) return it->second;
  RENode_t* n = NewNode();
  n->Op = reop_Char;
  n->StartChar = start;
  n->EndChar = end;
  Leaves.push_back(n);
  LeafIndex[{start, end}] = n;
  return n;
}

RENode_t* TREParseTree::Check_and_MakeLeaf(WChar start, WChar end) {
  if (end < start) return nullptr;
  return MakeLeaf(start, end);
}

RENode_t* TREParseTree::MakeLHeadNode(WChar c) {
  RENode_t* n = MakeInternalNode(reop_LHead, nullptr, nullptr);
  n->StartChar = n->EndChar = c;
  return n;
}

RENode_t* TREParseTree::MakeLTailNode(WChar c) {
  RENode_t* n = MakeInternalNode(reop_LTail, nullptr, nullptr);
  n->StartChar = n->EndChar = c;
  return n;
}

RENode_t* TREParseTree::MakeAnyCharsNode() {
  // NUL is an ordinary character of the text, so it belongs to the set.
  RENode_t* a = MakeLeaf(11, 12);
  RENode_t* b = MakeLeaf(0, 9);
  RENode_t* c = MakeLeaf(14, 0xFCFC);
  return MakeInternalNode(reop_Union, MakeInternalNode(reop_Union, b, a), c);
}

void TREParseTree::ChangeLeaftoNode(RENode_t* leaf, RENode_t* left, RENode_t* right) {
  if (!left || !right) throw std::runtime_error(remsg::TreeFatal);
  auto it = std::find(Leaves.begin(), Leaves.end(), leaf);
  if (it == Leaves.end()) throw std::runtime_error(remsg::TreeFatal);
  Leaves.erase(it);
  LeafIndex.erase({leaf->StartChar, leaf->EndChar});
  leaf->Op = reop_Union;
  leaf->Left = left;
  leaf->Right = right;
  Internal.push_back(leaf);
}

// Every range boundary of every leaf cuts the code space into elementary
// intervals; a leaf spanning several of them becomes the union of its
// pieces (rewritten in place, so every reference sees the union).
void TREParseTree::ForceCharClassUnique() {
  std::vector<uint32_t> cuts;
  for (RENode_t* l : Leaves) {
    cuts.push_back(l->StartChar);
    cuts.push_back(static_cast<uint32_t>(l->EndChar) + 1);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  std::vector<RENode_t*> snapshot = Leaves;
  for (RENode_t* l : snapshot) {
    auto first = std::upper_bound(cuts.begin(), cuts.end(), static_cast<uint32_t>(l->StartChar));
    auto last = std::lower_bound(cuts.begin(), cuts.end(), static_cast<uint32_t>(l->EndChar) + 1);
    if (first >= last) continue;  // already elementary
    if (NodeCount() + static_cast<size_t>(last - first) * 2 > RE_MaxTreeNodes)
      throw ERegExpParser(remsg::TooLarge, l->Pos);
    std::vector<RENode_t*> pieces;
    uint32_t lo = l->StartChar;
    for (auto it = first; it <= last; ++it) {
      uint32_t hi = (it == last) ? static_cast<uint32_t>(l->EndChar) : *it - 1;
      pieces.push_back(MakeLeaf(static_cast<WChar>(lo), static_cast<WChar>(hi)));
      if (it != last) lo = *it;
    }
    RENode_t* left = pieces[0];
    for (size_t i = 1; i + 1 < pieces.size(); ++i) left = MakeInternalNode(reop_Union, left, pieces[i]);
    ChangeLeaftoNode(l, left, pieces.back());
  }
}

void TREParseTree::DisposeTree() {
  Storage.clear();
  Internal.clear();
  Leaves.clear();
  LeafIndex.clear();
  HeadNode = nullptr;
}

TREParser::TREParser(const std::string& regExpStr) : Scanner(regExpStr) {}

void TREParser::Fail(const char* msg) const { throw ERegExpParser(msg, static_cast<size_t>(Scanner.Index)); }

void TREParser::CheckSize() const {
  if (ParseTree.NodeCount() > RE_MaxTreeNodes) Fail(remsg::TooLarge);
}

void TREParser::NextToken() {
  ParseTree.CurrentPos = static_cast<uint32_t>(Scanner.Index);
  Scanner.GetToken();
}

void TREParser::Run() {
  ParseTree.DisposeTree();
  Scanner.SetRegExpStr(Scanner.GetRegExpStr());
  NextToken();
  ParseTree.HeadNode = Regexp();
  if (Scanner.Token != retk_End) Fail(remsg::ExtraChars);
  if (SplitRanges) ParseTree.ForceCharClassUnique();
}

// Alternatives of terms of factors, with groups handled on an explicit stack
// so that no nesting depth can exhaust the call stack.
RENode_t* TREParser::Regexp() {
  struct Open {
    RENode_t* Alt;
    RENode_t* Seq;
  };
  std::vector<Open> open;
  RENode_t* alt = nullptr;
  RENode_t* seq = nullptr;
  for (;;) {
    REToken_t t = Scanner.Token;
    if (t == retk_Union || t == retk_RPar || t == retk_End) {
      RENode_t* term = seq ? seq : ParseTree.MakeInternalNode(reop_Empty, nullptr, nullptr);
      alt = alt ? ParseTree.MakeInternalNode(reop_Union, alt, term) : term;
      seq = nullptr;
      if (t == retk_Union) {
        NextToken();
        continue;
      }
      if (open.empty()) return alt;
      if (t != retk_RPar) Fail(remsg::NeedRPar);
      NextToken();
      RENode_t* group = alt;
      alt = open.back().Alt;
      seq = open.back().Seq;
      open.pop_back();
      group = Postfix(group);
      seq = seq ? ParseTree.MakeInternalNode(reop_Concat, seq, group) : group;
      continue;
    }
    if (t == retk_LPar) {
      NextToken();
      open.push_back({alt, seq});
      alt = seq = nullptr;
      continue;
    }
    RENode_t* x = factor();
    seq = seq ? ParseTree.MakeInternalNode(reop_Concat, seq, x) : x;
  }
}

RENode_t* TREParser::term() {
  REToken_t t = Scanner.Token;
  if (t == retk_Union || t == retk_RPar || t == retk_End) return ParseTree.MakeInternalNode(reop_Empty, nullptr, nullptr);
  RENode_t* n = factor();
  while (Scanner.Token != retk_Union && Scanner.Token != retk_RPar && Scanner.Token != retk_End)
    n = ParseTree.MakeInternalNode(reop_Concat, n, factor());
  return n;
}

RENode_t* TREParser::factor() { return Postfix(primary()); }

RENode_t* TREParser::Postfix(RENode_t* x) {
  switch (Scanner.Token) {
    case retk_Star:
      NextToken();
      return ParseTree.MakeInternalNode(reop_Closure, x, nullptr);
    case retk_Plus:
      NextToken();
      return ParseTree.MakeInternalNode(reop_Concat, x, ParseTree.MakeInternalNode(reop_Closure, x, nullptr));
    case retk_QMark:
      NextToken();
      return ParseTree.MakeInternalNode(reop_Union, x, ParseTree.MakeInternalNode(reop_Empty, nullptr, nullptr));
    default: return x;
  }
}

RENode_t* TREParser::primary() {
  CheckSize();
  RENode_t* n = nullptr;
  switch (Scanner.Token) {
    case retk_Char:
      n = ParseTree.MakeLeaf(Scanner.Symbol.StartChar, Scanner.Symbol.StartChar);
      NextToken();
      return n;
    case retk_LPar:
      NextToken();
      n = Regexp();
      if (Scanner.Token != retk_RPar) Fail(remsg::NeedRPar);
      NextToken();
      return n;
    case retk_LBra:
    case retk_LBraNeg:
      n = Scanner.Token == retk_LBra ? CharacterClass(ParseTree) : NegativeCharacterClass();
      if (Scanner.Token != retk_RBra) Fail(remsg::NeedRBra);
      NextToken();
      return n;
    case retk_Dot:
      n = ParseTree.MakeAnyCharsNode();
      NextToken();
      return n;
    case retk_LHead:
      n = ParseTree.MakeLHeadNode(Scanner.Symbol.StartChar);
      NextToken();
      return n;
    case retk_LTail:
      n = ParseTree.MakeLTailNode(Scanner.Symbol.StartChar);
      NextToken();
      return n;
    default: Fail(remsg::NeedPrimary);
  }
}

RENode_t* TREParser::CharacterClass(TREParseTree& tree) {
  auto leaf = [&]() {
    if (Scanner.Token == retk_CharClass) return tree.MakeLeaf(Scanner.Symbol.StartChar, Scanner.Symbol.EndChar);
    return tree.MakeLeaf(Scanner.Symbol.StartChar, Scanner.Symbol.StartChar);
  };
  tree.CurrentPos = static_cast<uint32_t>(Scanner.Index);
  Scanner.GetToken();
  if (Scanner.Token == retk_RBra) Fail(remsg::InvalidClass);
  RENode_t* n = leaf();
  for (;;) {
    tree.CurrentPos = static_cast<uint32_t>(Scanner.Index);
    Scanner.GetToken();
    if (Scanner.Token == retk_RBra) break;
    if (tree.NodeCount() > RE_MaxTreeNodes) Fail(remsg::TooLarge);
    n = tree.MakeInternalNode(reop_Union, n, leaf());
  }
  ParseTree.CurrentPos = static_cast<uint32_t>(Scanner.Index);
  return n;
}

// The members, merged into disjoint sorted ranges, are cut out of the
// any-character set; the pieces left are joined in ascending order.
RENode_t* TREParser::NegativeCharacterClass() {
  std::vector<std::pair<uint32_t, uint32_t>> members;
  {
    TREParseTree t;
    t.HeadNode = CharacterClass(t);
    for (const RENode_t* l : t.LeafList()) members.emplace_back(l->StartChar, l->EndChar);
  }
  std::sort(members.begin(), members.end());
  std::vector<std::pair<uint32_t, uint32_t>> pieces;
  const std::pair<uint32_t, uint32_t> universe[] = {{0, 9}, {11, 12}, {14, 0xFCFC}};
  size_t m = 0;
  for (auto [lo, hi] : universe) {
    uint32_t at = lo;
    while (m < members.size() && members[m].second < at) ++m;
    for (size_t k = m; k < members.size() && members[k].first <= hi && at <= hi; ++k) {
      if (members[k].second < at) continue;
      if (members[k].first > at) pieces.emplace_back(at, members[k].first - 1);
      at = members[k].second + 1;
    }
    if (at <= hi) pieces.emplace_back(at, hi);
  }
  if (pieces.empty()) return ParseTree.MakeLeaf(RE_NoCharCode, RE_NoCharCode);
  RENode_t* n = ParseTree.MakeLeaf(static_cast<WChar>(pieces[0].first), static_cast<WChar>(pieces[0].second));
  for (size_t i = 1; i < pieces.size(); ++i)
    n = ParseTree.MakeInternalNode(reop_Union, n,
                                   ParseTree.MakeLeaf(static_cast<WChar>(pieces[i].first), static_cast<WChar>(pieces[i].second)));
  return n;
}

}  // namespace vel
