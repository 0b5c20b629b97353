// The input method: a result string is inserted at once, and the characters
// the system then delivers for it are counted off and dropped. The caret
// hides while the candidate window covers it.
#include "editor/Editor.h"

namespace vel {

void TEditor::ImeStartComposition() {
  MoveCaret();
  MoveImeWindow(true);
}

bool TEditor::ImeResult(const std::string& Text) {
  if (FReadOnly || Text.empty() || FVs.DragState != TEditorViewState::dsNone || FVs.LeftDown) return false;
  PutStringToLine(Text);
  FVs.CharSkip += static_cast<int>(Text.size());
  SyncRulerMark();
  // Left to the system, which hands the same text over as characters.
  return false;
}

void TEditor::ImeCandidateWindow(bool Open) {
  if (Open == FVs.CandidateOpen) return;
  FVs.CandidateOpen = Open;
  if (Open)
    CaretBeginUpdate();
  else
    CaretEndUpdate();
}

}  // namespace vel
