// The scroll bars and the mouse wheel. The vertical thumb position comes
// whole (32 bits), so a document of more than 65,535 rows scrolls to its
// end; the caret stays where it is unless LockScroll ties it to the view.
#include <algorithm>

#include "editor/Editor.h"
#include "platform/PopupMenu.h"

namespace vel {

void TEditor::ScrollView(TScrollBarKind Bar, int Delta, bool MoveCaretToo) {
  if (Bar == TScrollBarKind::Vertical) {
    const int target = std::clamp(FTopRow + Delta, 0, MaxTopRow());
    const int d = target - FTopRow;
    if (d == 0) return;
    TCaretUpdate hold(*this);
    SetTopRow(target);
    if (MoveCaretToo && FCaret->LockScroll) SetRow(FRow + d);
  } else {
    const int target = std::clamp(FTopCol + Delta, 0, MaxTopCol());
    if (target == FTopCol) return;
    TCaretUpdate hold(*this);
    SetTopCol(target);
  }
  SyncRulerMark();
}

void TEditor::Scrolled(const TScrollEvent& E) {
  if (FVs.DragState != TEditorViewState::dsNone) return;
  const bool vertical = E.Bar == TScrollBarKind::Vertical;
  const int top = vertical ? FTopRow : FTopCol;
  const int page = std::max(1, vertical ? FVisibleRows : FVisibleCols);
  const int last = vertical ? MaxTopRow() : MaxTopCol();
  int delta = 0;
  switch (E.Code) {
    case TScrollCode::LineUp: delta = -1; break;
    case TScrollCode::LineDown: delta = 1; break;
    case TScrollCode::PageUp: delta = -page; break;
    case TScrollCode::PageDown: delta = page; break;
    case TScrollCode::Top: delta = -top; break;
    case TScrollCode::Bottom: delta = last - top; break;
    case TScrollCode::ThumbPosition:
    case TScrollCode::ThumbTrack: delta = std::clamp(E.Pos, 0, last) - top; break;
    case TScrollCode::EndScroll: return;
  }
  ScrollView(E.Bar, delta, true);
}

bool TEditor::MouseWheel(const TWheelEvent& E) {
  if (FVs.DragState != TEditorViewState::dsNone || FVs.LeftDown) return true;
  const bool columns = E.Horizontal || (E.Shift & ssShift);
  int& rest = columns ? FVs.HWheelRest : FVs.WheelRest;
  // Fine-grained wheels send less than a notch at a time: kept until whole.
  // A turn of more than a screen's worth of notches is no different from one.
  rest += std::clamp(E.Delta, -120 * 1000, 120 * 1000);
  const int notches = rest / 120;
  rest -= notches * 120;
  if (notches == 0) return true;
  int lines = WheelScrollLines();
  if (lines == 0) return true;
  if (lines < 0) lines = columns ? FVisibleCols : FVisibleRows;
  if (columns)
    // Away from the user (or a tilt to the right) moves right.
    ScrollView(TScrollBarKind::Horizontal, E.Horizontal ? notches * lines : -notches * lines, false);
  else
    ScrollView(TScrollBarKind::Vertical, -notches * lines, true);
  return true;
}

}  // namespace vel
