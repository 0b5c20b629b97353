#pragma once
// Deterministic matching over a compiled NFA, built lazily: a DFA state is
// created the first time the text reaches it, and the state cache has a fixed
// memory budget; when it is spent the cache is emptied and the walk goes on
// from the current state. Work per character is thus bounded by the NFA size
// and memory by the budget, whatever the pattern.
//
// Characters are grouped into classes (codes that every transition treats
// alike); a two-level table maps a byte or a lead/trail pair to its class.
//
// Leftmost-longest search takes two passes. The forward pass starts a thread
// group at every character boundary and keeps the groups ordered by start, an
// NFA state living only in the earliest group that reached it; once a group
// accepts, later groups are dropped and no new ones start, so the pass ends at
// the longest end of the leftmost match. The backward pass runs the reversed
// automaton from that end to find the earliest start. Both are linear in the
// text they scan.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "regexp/RENFA.h"

namespace vel {

// First occurrence of needle in [p, p + n), or null; searched in windows, so
// that the cost follows the distance to the hit.
const char* REFindBytes(const char* p, size_t n, std::string_view needle);

class TRE_DFA {
 public:
  explicit TRE_DFA(const TRE_NFA& nfa);
  TRE_DFA(const TRE_DFA&) = delete;
  TRE_DFA& operator=(const TRE_DFA&) = delete;

  // Builds the class map and decides whether the pattern is a plain string.
  void Run();
  void CheckIfRegExpIsSimple();

  // Leftmost-longest match in text[from, size), starting on a character
  // boundary counted from `from`. Line heads are `from` (when fromIsLineHead)
  // and every position after an LF; line tails are before CR (before LF when
  // lfLineEnd) and the end of the text.
  // With ignoreAnchors, anchors match nowhere.
  bool Search(const char* text, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd, size_t& start,
              size_t& end, bool ignoreAnchors = false);
  // Every match in turn: the first search starts at `from`; onMatch gets each
  // match and returns where the next search starts (past the match, and past
  // at least one character after an empty one), or SIZE_MAX to stop. Later
  // searches start at a line head when the character before is an LF. When
  // repeated searches rescan too much (a match decided only far ahead), the
  // rest is done with a table of longest ends built in one backward pass, so
  // the whole walk stays linear in the text.
  // With everyStartIsLineHead, every search start is a line head (as when
  // each rest is searched as a string of its own). onMatch may return the
  // end of an empty match that lies past the search start, to search again
  // from there.
  void MatchAll(const char* text, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd,
                const std::function<size_t(size_t start, size_t end)>& onMatch, bool everyStartIsLineHead = false);
  // Scan work allowed per byte of text before MatchAll switches to the table
  // (0: the table from the start).
  void SetMatchAllWorkFactor(size_t f) { WorkFactor = f; }

  // Leftmost occurrence of the plain string of a simple pattern at a
  // character boundary counted from `from`.
  bool FindSimple(const char* text, size_t size, size_t from, size_t& start, size_t& end) const;

  // Whether text[0, size) holds any match (text start is a line head).
  bool Contains(const char* text, size_t size, bool lfLineEnd);
  // Whether a match starts exactly at pos (a character boundary).
  bool MatchAt(const char* text, size_t size, size_t pos, bool lineHead, bool lfLineEnd);

  bool HasLHead = false;
  bool HasLTail = false;
  bool RegExpIsSimple = false;
  std::string SimpleRegExp;
  // Bytes every match contains, and bytes every match begins with (empty
  // when none are known), for prefilters.
  std::string RequiredLiteral;
  std::string RequiredPrefix;

  size_t ClassCount() const { return NumClasses; }
  size_t CacheResets() const { return Resets; }
  void SetCacheBudget(size_t bytes) { Budget = bytes; }

 private:
  struct Cache {
    std::unordered_map<std::string, int> Ids;
    std::vector<const std::string*> Keys;
    std::vector<int32_t> Trans;
    std::vector<uint8_t> Info;
    size_t Bytes = 0;
  };
  void BuildNFAArrays(const TRE_NFA& nfa);
  void BuildClassMap();
  int Intern(Cache& c, std::string&& key, uint8_t info);
  void ResetCache(Cache& c);
  int FwdStart(bool lineHead, bool lf, bool noAnchors = false);
  int FwdAnchoredStart(bool lineHead, bool lf);
  bool Walk(const uint8_t* t, size_t size, size_t p, int st, bool firstOnly, size_t& last);
  // Returns SIZE_MAX, or the off-grid position at which onMatch asked to
  // go on.
  size_t MatchAllByTable(const uint8_t* t, size_t size, size_t from, bool fromIsLineHead, bool lfLineEnd,
                         const std::function<size_t(size_t, size_t)>& onMatch, bool everyStartIsLineHead);
  int RankIntern(std::string&& key);
  void RankReset();
  int RankCompute(int id, int cls, bool lf, std::vector<int32_t>& map);
  int FwdCompute(int id, int cls);
  int RevStart(bool lineEnd);
  int RevCompute(int id, int cls);
  void Closure(std::vector<int>& out, bool reverse);
  bool Step(int s, int cls, bool reverse, std::vector<int>& out);

  // The NFA in flat arrays, forward and reversed.
  struct Edge {
    WChar Lo, Hi;
    int To;
  };
  int NumStates = 0;
  std::vector<std::vector<Edge>> CharEdges, RevCharEdges;
  std::vector<std::vector<int>> EpsEdges, RevEpsEdges;
  std::vector<uint8_t> HasLTEdge, IsLHTarget;
  std::vector<int> SeedPlain, SeedHead;
  std::vector<WChar> LabelLo, LabelHi;
  std::vector<int> LHTargets;
  // States with a line-tail transition.
  std::vector<int> LTStates;

  // Classes: 0 is "no transition at all"; Invalid is a lead byte without a
  // trail; Eot is the end of the text (forward only).
  size_t NumClasses = 0;
  int ClsInvalid = 0, ClsEot = 0, ClsLF = 0, ClsCR = 0, Width = 0;
  std::vector<WChar> ClassRepr;
  uint16_t ByteInfo[256] = {};
  std::vector<uint16_t> DblMap;

  Cache Fwd, Rev;
  // The backward pass of MatchAll's table: states are rankings of NFA states
  // by value, groups separated; a transition also names the source group of
  // each new group (Maps from MapAt).
  struct RankCache {
    std::unordered_map<std::string, int> Ids;
    std::vector<const std::string*> Keys;
    std::vector<int32_t> Trans, MapAt, Maps;
    std::vector<int> Groups, EntryRank, HeadRank;
    size_t Bytes = 0;
  } Rank;
  int FwdStarts[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int RevStarts[2] = {-1, -1};
  size_t Budget = 16u << 20;
  size_t Resets = 0;
  size_t WorkFactor = 4;
  size_t WalkEnd = 0;
  std::vector<uint32_t> Mark;
  uint32_t Gen = 0;
  std::vector<int> Stack;
  std::vector<uint64_t> Boundary;
};

}  // namespace vel
