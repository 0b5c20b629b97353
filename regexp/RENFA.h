#pragma once
// Thompson construction from the parse tree, with explicit empty
// transitions. Here it is decided whether "^" and "$" are anchors: "^" when
// it leaves the entry state, "$" when it enters the exit state; otherwise
// they are the literal characters.
#include <unordered_map>
#include <vector>

#include "regexp/REParser.h"

namespace vel {

struct RECharClass_t {
  WChar StartChar = 0;
  WChar EndChar = 0;
};
inline constexpr RECharClass_t CONST_EMPTYCharClass{0xFFFF, 0xFFFF};

enum RENFAKind_t : uint8_t { nfak_Char, nfak_Empty, nfak_LHead, nfak_LTail };

struct RE_NFANode_t {
  RECharClass_t CharClass;
  RENFAKind_t Kind = nfak_Char;
  int TransitTo = 0;
};

class TRE_NFA {
 public:
  TRE_NFA(TREParser& parser, WChar lHeadWChar, WChar lTailWChar);
  void Run();
  int NumberNode();
  void AddTransition(int from, int to, RECharClass_t label, RENFAKind_t kind);
  // Builds node's automaton between from and to. Works on an explicit stack,
  // so no depth of the tree can exhaust the call stack. "x+" is built with
  // one copy of x looping back on itself, not two, so nested repetitions do
  // not double the automaton; only an x that holds a "^" and starts at the
  // entry state gets two copies, since there the first "^" is an anchor and
  // the repeated ones are literals.
  void GenerateStateList(const RENode_t* node, int from, int to);

  // Per state, its transitions in creation order.
  std::vector<std::vector<RE_NFANode_t>> StateList;
  int EntryState = 0;
  int ExitState = 1;
  bool HasLHead = false;
  bool HasLTail = false;
  WChar LHeadWChar;
  WChar LTailWChar;

 private:
  bool HoldsLHead(const RENode_t* node);
  TREParser& Parser;
  size_t TransitionCount = 0;
  const RENode_t* Current = nullptr;
  std::unordered_map<const RENode_t*, bool> LHeadInside;
};

}  // namespace vel
