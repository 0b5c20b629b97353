#pragma once
// What the find and replace dialog keeps between its showings, shared by
// every page for the run: the two histories (newest first, no limit), the
// strings of the last accepted press and the four option flags as they were
// then, so that Cancel can put the check boxes back.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vel {

// The dialog's results, as the memo window acts on them.
enum TFindRequest : int { frCancel = 2, frFind = 3, frReplace = 4, frReplaceAll = 5 };

// Flag order: match case, whole word, regular expression, fuzzy.
using TFindFlags = std::array<bool, 4>;

class TFindDialogState {
 public:
  std::vector<std::string> FindHistory, ReplaceHistory;
  std::string FindText, ReplaceText;
  TFindFlags Saved{};

  // Find, Replace or Replace All pressed with these box contents.
  void Accept(TFindRequest Request, const std::string& Find, const std::string& Replace, const TFindFlags& Checks);
  // The check boxes' states after Cancel: the flags of the last accepted press.
  TFindFlags Cancel() const { return Saved; }
  // The saved flags as the editor's option set: bit n for option n.
  uint8_t Options() const;
};

// The result boxes' texts and captions.
std::string NotFoundText(const std::string& Find);
std::string ReplacedCountText(int Count);
inline constexpr char FindResultCaption[] = "検索結果";
inline constexpr char ReplaceResultCaption[] = "置換結果";

}  // namespace vel
