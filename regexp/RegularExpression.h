#pragma once
// The face of the engine: TRegularExpression compiles patterns (preprocess,
// parse, NFA, lazy DFA) and keeps the last 30 compiled ones; TMatchCORE finds
// the leftmost-longest match with line-head and line-tail anchors.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regexp/REDFA.h"
#include "regexp/REPreProcessor.h"

namespace vel {

class TRegularExpression {
 public:
  static constexpr size_t CacheCapacity = 30;

  TRegularExpression();
  TRegularExpression(const TRegularExpression&) = delete;
  TRegularExpression& operator=(const TRegularExpression&) = delete;
  virtual ~TRegularExpression();

  // Compiles the processed pattern into the current cache entry.
  virtual void Translate(const std::string& processed);
  virtual void SetRegExp(const std::string& pattern);
  virtual WChar GetLineHeadWChar() const { return RE_LineHeadWChar; }
  virtual WChar GetLineTailWChar() const { return RE_LineTailWChar; }

  const std::string& RegExp() const { return FRegExp; }
  const std::string& GetProcessedRegExp() const { return Cache[CurrentIndex].Pattern; }
  TRE_DFA* GetCurrentDFA() const { return Cache[CurrentIndex].DFA.get(); }
  bool GetHasLHead() const { return GetCurrentDFA()->HasLHead; }
  bool GetHasLTail() const { return GetCurrentDFA()->HasLTail; }
  bool GetRegExpIsSimple() const { return GetCurrentDFA()->RegExpIsSimple; }
  const std::string& GetSimpleRegExp() const { return GetCurrentDFA()->SimpleRegExp; }

  bool GetUseFuzzyCharDic() const { return PreProcessor.UseFuzzyCharDic; }
  void SetUseFuzzyCharDic(bool on);
  bool GetUseSynonymDic() const { return PreProcessor.UseSynonymDic; }
  void SetUseSynonymDic(bool on);
  TREDicList& GetListOfFuzzyCharDic() { return PreProcessor.FuzzyCharDicList; }
  TREDicList& GetListOfSynonymDic() { return PreProcessor.SynonymDicList; }

  size_t CacheCount() const { return Cache.size(); }
  const std::string& CachedPattern(size_t i) const { return Cache[i].Pattern; }
  size_t CurrentIndex = 0;

 protected:
  struct Entry {
    std::string Pattern;
    std::unique_ptr<TRE_DFA> DFA;
  };
  std::string FRegExp;
  std::vector<Entry> Cache;
  TREPreProcessor PreProcessor;
  WChar LHeadWChar = RE_LineHeadWChar;
  WChar LTailWChar = RE_LineTailWChar;
};

enum TMatchCORE_LineSeparator { mcls_CRLF = 0, mcls_LF = 1 };

class TMatchCORE : public TRegularExpression {
 public:
  TMatchCORE_LineSeparator LineSeparator = mcls_CRLF;

  // Leftmost-longest match in the text, anchors not honoured: "^" and "$"
  // that the automaton took as anchors match nowhere. Offsets are 0-based,
  // the end exclusive.
  bool MatchStd(std::string_view t, size_t& start, size_t& end);
  // Leftmost-longest match, the start of the text being a line head.
  bool MatchEX(std::string_view t, size_t& start, size_t& end) { return SearchFrom(t, 0, true, start, end); }
  // As MatchEX, but the start of the text is not a line head.
  bool MatchEX_Inside(std::string_view t, size_t& start, size_t& end) { return SearchFrom(t, 0, false, start, end); }
  // Search in t from offset `from` (a character boundary).
  bool SearchFrom(std::string_view t, size_t from, bool fromIsLineHead, size_t& start, size_t& end);
  bool IsLineEnd(WChar c) const { return c == (LineSeparator == mcls_LF ? 10 : 13); }
};

}  // namespace vel
