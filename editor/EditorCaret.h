#pragma once
// Caret behaviour switches. Most are plain fields read where they act; only the
// caret shape and the tab width notify, because the control must rebuild the
// caret or re-measure rows for them.
#include <cstdint>

#include "editor/EditorCursors.h"
#include "text/NotifyPersistent.h"

namespace vel {

enum TDragMode : uint8_t { dmManual, dmAutomatic };
enum TEditorCaretStyle : uint8_t { csDefault, csBrief };

class TEditorCaret : public TNotifyPersistent {
 public:
  TEditorCaret() = default;

  bool AutoCursor = true;
  bool AutoIndent = true;
  bool BackSpaceUnIndent = true;
  TEditorCursors& Cursors() { return FCursors; }
  const TEditorCursors& Cursors() const { return FCursors; }
  void SetCursors(const TEditorCursors& Value) { FCursors.Assign(Value); }
  bool FreeCaret = true;
  bool InTab = false;
  bool KeepCaret = false;
  bool LockScroll = false;
  bool NextLine = false;
  bool PrevSpaceIndent = false;
  bool RowSelect = true;
  TDragMode SelDragMode = dmAutomatic;
  bool SelMove = true;
  bool SoftTab = false;
  TEditorCaretStyle Style() const { return FStyle; }
  void SetStyle(TEditorCaretStyle Value);
  bool TabIndent = false;
  int TabSpaceCount() const { return FTabSpaceCount; }
  // Clamped to 2..8, then rounded down to an even width.
  void SetTabSpaceCount(int Value);

  // Copies every value as it is (no clamping) and reports one change.
  bool Assign(const TNotifyPersistent& Source) override;

 private:
  TEditorCursors FCursors;
  TEditorCaretStyle FStyle = csDefault;
  int FTabSpaceCount = 8;
};

}  // namespace vel
