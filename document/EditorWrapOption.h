#pragma once
// Word-wrap settings of a row list. Each setter reports only a real change.
#include <string>

#include "text/NotifyPersistent.h"

namespace vel {

class TEditorWrapOption : public TNotifyPersistent {
 public:
  TEditorWrapOption();

  bool Assign(const TNotifyPersistent& Source) override;

  bool GetFollowRetMark() const { return FFollowRetMark; }
  bool GetFollowPunctuation() const { return FFollowPunctuation; }
  const std::string& GetFollowStr() const { return FFollowStr; }
  bool GetLeading() const { return FLeading; }
  const std::string& GetLeadStr() const { return FLeadStr; }
  const std::string& GetPunctuationStr() const { return FPunctuationStr; }
  bool GetWordBreak() const { return FWordBreak; }
  int GetWrapByte() const { return FWrapByte; }

  void SetFollowRetMark(bool v) { SetValue(FFollowRetMark, v); }
  void SetFollowPunctuation(bool v) { SetValue(FFollowPunctuation, v); }
  void SetFollowStr(const std::string& v) { SetValue(FFollowStr, v); }
  void SetLeading(bool v) { SetValue(FLeading, v); }
  void SetLeadStr(const std::string& v) { SetValue(FLeadStr, v); }
  void SetPunctuationStr(const std::string& v) { SetValue(FPunctuationStr, v); }
  void SetWordBreak(bool v) { SetValue(FWordBreak, v); }
  // Clamped to 20..250.
  void SetWrapByte(int v);

  static constexpr int MinWrapByte = 20;
  static constexpr int MaxWrapByte = 250;

 private:
  bool FFollowRetMark = false;
  bool FFollowPunctuation = false;
  std::string FFollowStr;
  bool FLeading = false;
  std::string FLeadStr;
  std::string FPunctuationStr;
  bool FWordBreak = false;
  int FWrapByte = 80;
};

}  // namespace vel
