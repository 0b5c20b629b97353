#include "editor/EditorCursors.h"

namespace vel {

TEditorCursors::TEditorCursors() : DragSelCopyCursor(crDragSelCopy), LeftMarginCursor(crRightArrow) {}

bool TEditorCursors::Assign(const TNotifyPersistent& Source) {
  auto* s = dynamic_cast<const TEditorCursors*>(&Source);
  if (!s) return TNotifyPersistent::Assign(Source);
  DefaultCursor = s->DefaultCursor;
  DragSelCursor = s->DragSelCursor;
  DragSelCopyCursor = s->DragSelCopyCursor;
  InSelCursor = s->InSelCursor;
  LeftMarginCursor = s->LeftMarginCursor;
  Changed();
  return true;
}

}  // namespace vel
