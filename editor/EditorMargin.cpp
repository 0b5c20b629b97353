#include "editor/EditorMargin.h"

#include <algorithm>

#include "text/UpdateGuard.h"

namespace vel {

void TEditorMargin::Set(int& Field, int Value) { SetValue(Field, std::clamp(Value, 0, 100)); }

bool TEditorMargin::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorMargin*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  TUpdateGuard g(*this);
  FCharacter = s->FCharacter;
  FLeft = s->FLeft;
  FLine = s->FLine;
  FTop = s->FTop;
  FUnderline = s->FUnderline;
  return true;
}

}  // namespace vel
