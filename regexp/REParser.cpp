#include "regexp/REParser.h"

#include <algorithm>
#include <set>

namespace vel {

namespace {
// Bounds the tree so that a short pattern cannot exhaust memory through
// nesting or through ranges split into very many pieces.
constexpr size_t kMaxNodes = 400000;
constexpr int kMaxDepth = 2000;
}  // namespace

RENode_t* TREParseTree::NewNode() {
  Storage.push_back(std::make_unique<RENode_t>());
  return Storage.back().get();
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
  RENode_t* a = MakeLeaf(11, 12);
  RENode_t* b = MakeLeaf(1, 9);
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
    if (NodeCount() + static_cast<size_t>(last - first) * 2 > kMaxNodes)
      throw ERegExpParser(remsg::TooComplex, 0);
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

void TREParser::Fail(const char* msg) const { throw ERegExpParser(msg, static_cast<uint16_t>(Scanner.Index)); }

void TREParser::CheckSize() const {
  if (ParseTree.NodeCount() > kMaxNodes || Depth > kMaxDepth) Fail(remsg::TooComplex);
}

void TREParser::Run() {
  ParseTree.DisposeTree();
  Scanner.SetRegExpStr(Scanner.GetRegExpStr());
  Scanner.GetToken();
  ParseTree.HeadNode = Regexp();
  if (Scanner.Token != retk_End) Fail(remsg::ExtraChars);
  ParseTree.ForceCharClassUnique();
}

RENode_t* TREParser::Regexp() {
  RENode_t* n = term();
  while (Scanner.Token == retk_Union) {
    Scanner.GetToken();
    n = ParseTree.MakeInternalNode(reop_Union, n, term());
  }
  return n;
}

RENode_t* TREParser::term() {
  REToken_t t = Scanner.Token;
  if (t == retk_Union || t == retk_RPar || t == retk_End) return ParseTree.MakeInternalNode(reop_Empty, nullptr, nullptr);
  RENode_t* n = factor();
  while (Scanner.Token != retk_Union && Scanner.Token != retk_RPar && Scanner.Token != retk_End)
    n = ParseTree.MakeInternalNode(reop_Concat, n, factor());
  return n;
}

RENode_t* TREParser::factor() {
  RENode_t* x = primary();
  switch (Scanner.Token) {
    case retk_Star:
      Scanner.GetToken();
      return ParseTree.MakeInternalNode(reop_Closure, x, nullptr);
    case retk_Plus:
      Scanner.GetToken();
      return ParseTree.MakeInternalNode(reop_Concat, x, ParseTree.MakeInternalNode(reop_Closure, x, nullptr));
    case retk_QMark:
      Scanner.GetToken();
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
      Scanner.GetToken();
      return n;
    case retk_LPar:
      Scanner.GetToken();
      ++Depth;
      n = Regexp();
      --Depth;
      if (Scanner.Token != retk_RPar) Fail(remsg::NeedRPar);
      Scanner.GetToken();
      return n;
    case retk_LBra:
    case retk_LBraNeg:
      n = Scanner.Token == retk_LBra ? CharacterClass(ParseTree) : NegativeCharacterClass();
      if (Scanner.Token != retk_RBra) Fail(remsg::NeedRBra);
      Scanner.GetToken();
      return n;
    case retk_Dot:
      n = ParseTree.MakeAnyCharsNode();
      Scanner.GetToken();
      return n;
    case retk_LHead:
      n = ParseTree.MakeLHeadNode(Scanner.Symbol.StartChar);
      Scanner.GetToken();
      return n;
    case retk_LTail:
      n = ParseTree.MakeLTailNode(Scanner.Symbol.StartChar);
      Scanner.GetToken();
      return n;
    default: Fail(remsg::NeedPrimary);
  }
}

RENode_t* TREParser::CharacterClass(TREParseTree& tree) {
  auto leaf = [&]() {
    if (Scanner.Token == retk_CharClass) return tree.MakeLeaf(Scanner.Symbol.StartChar, Scanner.Symbol.EndChar);
    return tree.MakeLeaf(Scanner.Symbol.StartChar, Scanner.Symbol.StartChar);
  };
  Scanner.GetToken();
  if (Scanner.Token == retk_RBra) Fail(remsg::InvalidClass);
  RENode_t* n = leaf();
  for (;;) {
    Scanner.GetToken();
    if (Scanner.Token == retk_RBra) break;
    if (tree.NodeCount() > kMaxNodes) Fail(remsg::TooComplex);
    n = tree.MakeInternalNode(reop_Union, n, leaf());
  }
  return n;
}

RENode_t* TREParser::NegativeCharacterClass() {
  std::vector<std::pair<uint32_t, uint32_t>> pieces;
  {
    TREParseTree t;
    t.HeadNode = CharacterClass(t);
    t.ForceCharClassUnique();
    TREParseTree u;
    u.MakeAnyCharsNode();
    for (RENode_t* p : u.LeafList()) pieces.emplace_back(p->StartChar, p->EndChar);
    for (RENode_t* l : t.LeafList()) {
      std::vector<std::pair<uint32_t, uint32_t>> kept, added;
      for (auto& p : pieces) {
        if (p.second < l->StartChar || p.first > l->EndChar) {
          kept.push_back(p);
          continue;
        }
        if (p.first < l->StartChar) added.emplace_back(p.first, l->StartChar - 1u);
        if (p.second > l->EndChar) added.emplace_back(l->EndChar + 1u, p.second);
      }
      for (auto& a : added)
        if (std::find(kept.begin(), kept.end(), a) == kept.end()) kept.push_back(a);
      pieces.swap(kept);
    }
  }
  if (pieces.empty()) return ParseTree.MakeLeaf(RE_NoCharCode, RE_NoCharCode);
  RENode_t* n = ParseTree.MakeLeaf(static_cast<WChar>(pieces[0].first), static_cast<WChar>(pieces[0].second));
  for (size_t i = 1; i < pieces.size(); ++i)
    n = ParseTree.MakeInternalNode(reop_Union, n,
                                   ParseTree.MakeLeaf(static_cast<WChar>(pieces[i].first), static_cast<WChar>(pieces[i].second)));
  return n;
}

}  // namespace vel
