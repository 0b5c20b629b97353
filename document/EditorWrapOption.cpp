#include "document/EditorWrapOption.h"

namespace vel {

TEditorWrapOption::TEditorWrapOption()
    : FFollowStr("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"),
      FLeadStr("（［｛「『([{｢"),
      FPunctuationStr("、。，．,.｡､") {}

void TEditorWrapOption::SetWrapByte(int v) {
  if (v < MinWrapByte) v = MinWrapByte;
  if (v > MaxWrapByte) v = MaxWrapByte;
  SetValue(FWrapByte, v);
}

bool TEditorWrapOption::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorWrapOption*>(&Source);
  if (!s) return false;
  FFollowRetMark = s->FFollowRetMark;
  FFollowPunctuation = s->FFollowPunctuation;
  FFollowStr = s->FFollowStr;
  FLeading = s->FLeading;
  FLeadStr = s->FLeadStr;
  FPunctuationStr = s->FPunctuationStr;
  FWordBreak = s->FWordBreak;
  FWrapByte = s->FWrapByte;
  Changed();
  return true;
}

}  // namespace vel
