#pragma once
// Parse tree and recursive-descent parser. Leaves are character ranges and
// are shared (one leaf per distinct range); after parsing the ranges are
// split so that any two leaves are the same node or disjoint. Negated
// classes become positive ones by subtracting their members from the
// any-character set.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "regexp/REScanner.h"

namespace vel {

enum REOperation_t : uint8_t { reop_Char, reop_LHead, reop_LTail, reop_Concat, reop_Union, reop_Closure, reop_Empty };

struct RENode_t {
  REOperation_t Op = reop_Empty;
  WChar StartChar = 0;
  WChar EndChar = 0;
  RENode_t* Left = nullptr;
  RENode_t* Right = nullptr;
  // Pattern position (1-based) at which the node was made, for errors found
  // after parsing.
  uint32_t Pos = 0;
  // Index of the node in its tree, for tables over the nodes.
  uint32_t Id = 0;
};

// Size limits of a compiled pattern. Every walk over the tree and the
// automaton is iterative, so nesting depth has no limit of its own; these
// bound memory (tens of bytes per node or transition).
constexpr size_t RE_MaxTreeNodes = size_t{1} << 21;
constexpr size_t RE_MaxNFATransitions = size_t{1} << 21;

// A class that excludes every character gets this leaf: no text produces the
// code, so the class matches nothing.
constexpr WChar RE_NoCharCode = 0xFFFC;

class TREParseTree {
 public:
  TREParseTree() = default;
  TREParseTree(const TREParseTree&) = delete;
  TREParseTree& operator=(const TREParseTree&) = delete;

  RENode_t* MakeInternalNode(REOperation_t op, RENode_t* left, RENode_t* right);
  RENode_t* MakeLeaf(WChar start, WChar end);
  RENode_t* Check_and_MakeLeaf(WChar start, WChar end);
  RENode_t* MakeLHeadNode(WChar c);
  RENode_t* MakeLTailNode(WChar c);
  RENode_t* MakeAnyCharsNode();
  void ChangeLeaftoNode(RENode_t* leaf, RENode_t* left, RENode_t* right);
  void ForceCharClassUnique();
  void DisposeTree();

  const std::vector<RENode_t*>& LeafList() const { return Leaves; }
  size_t NodeCount() const { return Leaves.size() + Internal.size(); }
  // One more than the largest node Id.
  size_t IdLimit() const { return Storage.size(); }
  RENode_t* HeadNode = nullptr;
  // Position given to the nodes made from now on.
  uint32_t CurrentPos = 0;

 private:
  std::deque<RENode_t> Storage;
  std::vector<RENode_t*> Internal;
  std::vector<RENode_t*> Leaves;
  std::map<std::pair<WChar, WChar>, RENode_t*> LeafIndex;
  RENode_t* NewNode();
};

class TREParser {
 public:
  explicit TREParser(const std::string& regExpStr);
  void Run();
  // Whether Run makes the leaf ranges pairwise disjoint. The automaton does
  // not need it (it groups characters by every range boundary itself), so
  // compilation skips the splitting, whose size can grow with the square of
  // the number of overlapping ranges.
  bool SplitRanges = true;
  TREParseTree& Tree() { return ParseTree; }

  RENode_t* Regexp();
  RENode_t* term();
  RENode_t* factor();
  RENode_t* primary();
  RENode_t* CharacterClass(TREParseTree& tree);
  RENode_t* NegativeCharacterClass();

 private:
  [[noreturn]] void Fail(const char* msg) const;
  void CheckSize() const;
  void NextToken();
  RENode_t* Postfix(RENode_t* x);
  TREScanner Scanner;
  TREParseTree ParseTree;
};

}  // namespace vel
