#pragma once
// Thompson construction from the parse tree, with explicit empty
// transitions. Here it is decided whether "^" and "$" are anchors: "^" when
// it leaves the entry state, "$" when it enters the exit state; otherwise
// they are the literal characters.
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
  TREParser& Parser;
  size_t TransitionCount = 0;
};

}  // namespace vel
