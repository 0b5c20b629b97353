#include "editor/EditorRuler.h"

#include <algorithm>

namespace vel {

void TEditorRuler::SetGaugeRange(int Value) { SetValue(FGaugeRange, std::clamp(Value, 8, 10) & ~1); }

bool TEditorRuler::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorRuler*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  FBkColor = s->FBkColor;
  FColor = s->FColor;
  FEdge = s->FEdge;
  FGaugeRange = s->FGaugeRange;
  FMarkColor = s->FMarkColor;
  FVisible = s->FVisible;
  Changed();
  return true;
}

}  // namespace vel
