#include "regexp/RENFA.h"

namespace vel {

namespace {
// "x+" refers to x twice, so nested repetitions double the automaton; this
// bound turns such patterns into a pattern error instead of exhausting memory.
constexpr size_t kMaxNFATransitions = 300000;
}  // namespace

TRE_NFA::TRE_NFA(TREParser& parser, WChar lHeadWChar, WChar lTailWChar)
    : LHeadWChar(lHeadWChar), LTailWChar(lTailWChar), Parser(parser) {}

void TRE_NFA::Run() {
  StateList.clear();
  TransitionCount = 0;
  EntryState = NumberNode();
  ExitState = NumberNode();
  GenerateStateList(Parser.Tree().HeadNode, EntryState, ExitState);
}

int TRE_NFA::NumberNode() {
  StateList.emplace_back();
  return static_cast<int>(StateList.size()) - 1;
}

void TRE_NFA::AddTransition(int from, int to, RECharClass_t label, RENFAKind_t kind) {
  if (++TransitionCount > kMaxNFATransitions) throw ERegExpParser(remsg::TooComplex, 0);
  StateList[from].push_back(RE_NFANode_t{label, kind, to});
}

void TRE_NFA::GenerateStateList(const RENode_t* node, int from, int to) {
  if (!node) throw std::runtime_error(remsg::NfaFatal);
  switch (node->Op) {
    case reop_Char: AddTransition(from, to, {node->StartChar, node->EndChar}, nfak_Char); break;
    case reop_LHead:
      if (from == EntryState) {
        HasLHead = true;
        AddTransition(from, to, {LHeadWChar, LHeadWChar}, nfak_LHead);
      } else {
        AddTransition(from, to, {node->StartChar, node->EndChar}, nfak_Char);
      }
      break;
    case reop_LTail:
      if (to == ExitState) {
        HasLTail = true;
        AddTransition(from, to, {LTailWChar, LTailWChar}, nfak_LTail);
      } else {
        AddTransition(from, to, {node->StartChar, node->EndChar}, nfak_Char);
      }
      break;
    case reop_Concat: {
      int m = NumberNode();
      GenerateStateList(node->Left, from, m);
      GenerateStateList(node->Right, m, to);
      break;
    }
    case reop_Union:
      GenerateStateList(node->Left, from, to);
      GenerateStateList(node->Right, from, to);
      break;
    case reop_Closure: {
      int c = NumberNode(), d = NumberNode();
      AddTransition(from, c, CONST_EMPTYCharClass, nfak_Empty);
      GenerateStateList(node->Left, c, d);
      AddTransition(d, c, CONST_EMPTYCharClass, nfak_Empty);
      AddTransition(c, to, CONST_EMPTYCharClass, nfak_Empty);
      break;
    }
    case reop_Empty: AddTransition(from, to, CONST_EMPTYCharClass, nfak_Empty); break;
    default: throw std::runtime_error(remsg::NfaFatal);
  }
}

}  // namespace vel
