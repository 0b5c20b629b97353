#include "editor/EditorMarks.h"

#include "text/UpdateGuard.h"

namespace vel {

void TEditorMark::SetColor(TColor Value) { SetValue(FColor, Value); }

void TEditorMark::SetVisible(bool Value) { SetValue(FVisible, Value); }

bool TEditorMark::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorMark*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  FColor = s->FColor;
  FVisible = s->FVisible;
  Changed();
  return true;
}

TEditorMarks::TEditorMarks() {
  for (TEditorMark* m : {&FEofMark, &FRetMark, &FUnderline})
    m->OnChange = [this](TNotifyPersistent* Sender) { ChangedProc(Sender); };
}

bool TEditorMarks::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorMarks*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  FEofMark.Assign(s->FEofMark);
  FRetMark.Assign(s->FRetMark);
  FUnderline.Assign(s->FUnderline);
  return true;
}

}  // namespace vel
