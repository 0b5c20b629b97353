#include "regexp/RENFA.h"

namespace vel {

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
  if (++TransitionCount > RE_MaxNFATransitions) throw ERegExpParser(remsg::TooLarge, Current ? Current->Pos : 0);
  StateList[from].push_back(RE_NFANode_t{label, kind, to});
}

bool TRE_NFA::HoldsLHead(const RENode_t* node) {
  auto known = LHeadInside.find(node);
  if (known != LHeadInside.end()) return known->second;
  // Post-order over the shared subtrees, each node once.
  std::vector<std::pair<const RENode_t*, bool>> stack{{node, false}};
  while (!stack.empty()) {
    auto [n, expanded] = stack.back();
    stack.pop_back();
    if (!n || LHeadInside.count(n)) continue;
    if (!expanded) {
      stack.push_back({n, true});
      stack.push_back({n->Left, false});
      if (n->Op != reop_Char) stack.push_back({n->Right, false});
      continue;
    }
    bool holds = n->Op == reop_LHead;
    if (n->Op != reop_Char && n->Op != reop_LHead && n->Op != reop_LTail) {
      if (n->Left) holds = holds || LHeadInside[n->Left];
      if (n->Right) holds = holds || LHeadInside[n->Right];
    }
    LHeadInside[n] = holds;
  }
  return LHeadInside[node];
}

void TRE_NFA::GenerateStateList(const RENode_t* root, int from0, int to0) {
  struct Job {
    const RENode_t* Node;
    int From, To;
    bool Empty = false;  // an empty transition, queued to keep depth-first order
  };
  std::vector<Job> jobs{{root, from0, to0}};
  while (!jobs.empty()) {
    Job job = jobs.back();
    jobs.pop_back();
    const RENode_t* node = job.Node;
    int from = job.From, to = job.To;
    if (job.Empty) {
      AddTransition(from, to, CONST_EMPTYCharClass, nfak_Empty);
      continue;
    }
    if (!node) throw std::runtime_error(remsg::NfaFatal);
    Current = node;
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
        const RENode_t* r = node->Right;
        if (r && r->Op == reop_Closure && r->Left == node->Left &&
            !(from == EntryState && HoldsLHead(node->Left))) {
          // x+: from -> c, body c -> d, d -> c, d -> to.
          int c = NumberNode(), d = NumberNode();
          AddTransition(from, c, CONST_EMPTYCharClass, nfak_Empty);
          jobs.push_back({nullptr, d, to, true});
          jobs.push_back({nullptr, d, c, true});
          jobs.push_back({node->Left, c, d});
          break;
        }
        int m = NumberNode();
        jobs.push_back({node->Right, m, to});
        jobs.push_back({node->Left, from, m});
        break;
      }
      case reop_Union:
        jobs.push_back({node->Right, from, to});
        jobs.push_back({node->Left, from, to});
        break;
      case reop_Closure: {
        int c = NumberNode(), d = NumberNode();
        AddTransition(from, c, CONST_EMPTYCharClass, nfak_Empty);
        jobs.push_back({nullptr, c, to, true});
        jobs.push_back({nullptr, d, c, true});
        jobs.push_back({node->Left, c, d});
        break;
      }
      case reop_Empty: AddTransition(from, to, CONST_EMPTYCharClass, nfak_Empty); break;
      default: throw std::runtime_error(remsg::NfaFatal);
    }
  }
}

}  // namespace vel
