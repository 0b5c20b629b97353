#pragma once
// Parse tree and recursive-descent parser. Leaves are character ranges and
// are shared (one leaf per distinct range); after parsing the ranges are
// split so that any two leaves are the same node or disjoint. Negated
// classes become positive ones by subtracting their members from the
// any-character set.
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
};

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
  RENode_t* HeadNode = nullptr;

 private:
  std::vector<std::unique_ptr<RENode_t>> Storage;
  std::vector<RENode_t*> Internal;
  std::vector<RENode_t*> Leaves;
  std::map<std::pair<WChar, WChar>, RENode_t*> LeafIndex;
  RENode_t* NewNode();
};

class TREParser {
 public:
  explicit TREParser(const std::string& regExpStr);
  void Run();
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
  TREScanner Scanner;
  TREParseTree ParseTree;
  int Depth = 0;
};

}  // namespace vel
