#pragma once
// AWK-style string operations over the matcher: Match, Sub, GSub, Split.
// In a replacement "&" stands for the matched text, "\&" for a literal "&",
// and the usual escapes give their characters.
#include <string>
#include <vector>

#include "regexp/RegularExpression.h"

namespace vel {

class TAWKStr : public TMatchCORE {
 public:
  TAWKStr();
  void SetRegExp(const std::string& pattern) override;

  // 1-based start and byte length of the leftmost-longest match; 0 when none.
  int Match(const std::string& text, int& start, int& length);

  static std::string ProcessEscSeq(const std::string& s);
  static std::string Substitute_MatchStr_For_ANDChar(const std::string& replacement, const std::string& matched);
  bool Sub(const std::string& replacement, std::string& s);
  int GSub(const std::string& replacement, std::string& s);
  int Split(const std::string& s, std::vector<std::string>& list);

  // Whether the selected match procedure is the one that handles anchors.
  bool UsesMatchEX() const { return MatchEXSelected; }

 private:
  bool MatchEXSelected = false;
};

}  // namespace vel
