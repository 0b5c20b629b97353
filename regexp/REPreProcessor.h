#pragma once
// Rewrites a pattern before parsing: runs of literal characters that a
// dictionary group contains are replaced by an alternation of the whole
// group. The synonym pass runs first, then the fuzzy pass on its output.
// Characters inside classes and non-literal tokens are copied unchanged.
#include <string>
#include <vector>

#include "regexp/REScanner.h"

namespace vel {

using TREDicGroup = std::vector<std::string>;
using TREDictionary = std::vector<TREDicGroup>;
// Dictionaries are referred to, not owned.
using TREDicList = std::vector<const TREDictionary*>;

struct RETokenInfo_t {
  REToken_t Token = retk_End;
  WChar Char = 0;
  int FromIndex = 0;
  int ToIndex = 0;
};

class TREPreProcessor;
using TREPreProcessorFindFunc = int (TREPreProcessor::*)(int from, int to);

class TREPreProcessor {
 public:
  explicit TREPreProcessor(const std::string& s = std::string());
  void SetTargetRegExpStr(const std::string& s) { Scanner.SetRegExpStr(s); }
  const std::string& GetTargetRegExpStr() const { return Scanner.GetRegExpStr(); }
  void Run();
  const std::string& GetProcessedRegExpStr() const { return ProcessedRegExpStr; }

  void Process(TREPreProcessorFindFunc find);
  int FindSynonym(int from, int to);
  int FindFuzzyWChar(int from, int to);
  int ReferToOneList(int from, int to, const TREDictionary& dic);
  void MakeTokenList();

  TREDicList SynonymDicList;
  TREDicList FuzzyCharDicList;
  bool UseFuzzyCharDic = false;
  bool UseSynonymDic = false;
  std::vector<RETokenInfo_t> TokenList;
  std::string ProcessedRegExpStr;
  std::string ReplaceText;

 private:
  TREScanner Scanner;
};

// Splits one row of comma text (quoted items with "" for a quote; unquoted
// items end at a comma or a byte <= 0x20).
std::vector<std::string> REParseCommaText(const std::string& row);

// The process-wide fuzzy dictionary, built once from its 145 rows.
const TREDictionary& RE_FuzzyCharDic();

}  // namespace vel
