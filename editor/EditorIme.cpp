// The input method: a result string is inserted at once, and the characters
// the system then delivers for it are counted off and dropped. A result that
// comes while the left button is held (a press, a drag, a selection drag)
// waits for the release and then goes in at the caret, selecting nothing
// away: the rows must not change under a drag, and composed text is never
// dropped. The caret hides while the candidate window covers it.
#include "editor/Editor.h"

namespace vel {

void TEditor::ImeStartComposition() {
  MoveCaret();
  MoveImeWindow(true);
}

bool TEditor::ImeResult(const std::string& Text) {
  if (FReadOnly || Text.empty()) return false;
  if (FVs.DragState != TEditorViewState::dsNone || FVs.LeftDown)
    FVs.ImeHeld += Text;
  else
    PutStringToLine(Text);
  FVs.CharSkip += static_cast<int>(Text.size());
  SyncRulerMark();
  // Left to the system, which hands the same text over as characters.
  return false;
}

void TEditor::PutHeldImeResult() {
  if (FVs.ImeHeld.empty()) return;
  const std::string text = std::move(FVs.ImeHeld);
  FVs.ImeHeld.clear();
  if (FReadOnly) return;
  CleanSelection();
  PutStringToLine(text);
  SyncRulerMark();
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
