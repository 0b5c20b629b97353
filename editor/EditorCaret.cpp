#include "editor/EditorCaret.h"

#include <algorithm>

#include "text/UpdateGuard.h"

namespace vel {

void TEditorCaret::SetStyle(TEditorCaretStyle Value) { SetValue(FStyle, Value); }

void TEditorCaret::SetTabSpaceCount(int Value) { SetValue(FTabSpaceCount, std::clamp(Value, 2, 8) & ~1); }

bool TEditorCaret::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorCaret*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  AutoCursor = s->AutoCursor;
  AutoIndent = s->AutoIndent;
  BackSpaceUnIndent = s->BackSpaceUnIndent;
  FCursors.Assign(s->FCursors);
  FreeCaret = s->FreeCaret;
  InTab = s->InTab;
  KeepCaret = s->KeepCaret;
  LockScroll = s->LockScroll;
  NextLine = s->NextLine;
  PrevSpaceIndent = s->PrevSpaceIndent;
  RowSelect = s->RowSelect;
  SelDragMode = s->SelDragMode;
  SelMove = s->SelMove;
  SoftTab = s->SoftTab;
  FStyle = s->FStyle;
  TabIndent = s->TabIndent;
  FTabSpaceCount = s->FTabSpaceCount;
  return true;
}

}  // namespace vel
