#pragma once
// Mouse cursors per pointer state. The two custom cursor indices are assigned
// by the editor unit's start-up code; a TEditorCursors made before that keeps
// whatever they were then (0, the default cursor, until registered).
#include "editor/EditorCursorNames.h"
#include "text/NotifyPersistent.h"
#include "platform/Cursors.h"

namespace vel {

class TEditorCursors : public TNotifyPersistent {
 public:
  TEditorCursors();

  // Plain values: they take effect at the next change of the pointer state.
  TCursor DefaultCursor = crIBeam;
  TCursor DragSelCursor = crDrag;
  TCursor DragSelCopyCursor;
  TCursor InSelCursor = crDefault;
  TCursor LeftMarginCursor;

  bool Assign(const TNotifyPersistent& Source) override;
};

}  // namespace vel
