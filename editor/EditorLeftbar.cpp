#include "editor/EditorLeftbar.h"

#include <algorithm>

namespace vel {

void TEditorLeftbar::SetColumn(int Value) { SetValue(FColumn, std::clamp(Value, 1, 8)); }

bool TEditorLeftbar::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorLeftbar*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  FBkColor = s->FBkColor;
  FColor = s->FColor;
  FColumn = s->FColumn;
  FEdge = s->FEdge;
  FLeftMargin = s->FLeftMargin;
  FRightMargin = s->FRightMargin;
  FShowNumber = s->FShowNumber;
  FShowNumberMode = s->FShowNumberMode;
  FVisible = s->FVisible;
  FZeroBase = s->FZeroBase;
  FZeroLead = s->FZeroLead;
  Changed();
  return true;
}

}  // namespace vel
