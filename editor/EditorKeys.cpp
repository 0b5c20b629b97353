// The keyboard: the navigation keys with their Shift and Ctrl rules, page
// scrolling, word steps, and characters on to the editing operations. Keys
// that edit or use the clipboard come through the popup menu's shortcuts.
#include <algorithm>

#include "editor/Editor.h"
#include "syntax/EditorParser.h"

namespace vel {

namespace {

bool IsNavigation(TVirtualKey k) { return k >= vkPrior && k <= vkDown; }

}  // namespace

bool TEditor::KeyDown(const TKeyEvent& E) {
  // While the mouse owns the selection, keys wait; a running drag still
  // hears Ctrl (copy) and Escape (cancel).
  if (FVs.DragState != TEditorViewState::dsNone || FVs.LeftDown) {
    if (FVs.DragState != TEditorViewState::dsDragging) return true;
    if (E.Key == vkControl) {
      SetCursorState(mcDraggingCopy);
      return true;
    }
    if (E.Key != vkEscape) return true;
    CancelSelDrag(true);
  }
  FVs.KeyRepeat = E.Repeat;
  const bool shift = (E.Shift & ssShift) != 0;
  const bool ctrl = (E.Shift & ssCtrl) != 0;
  if (E.Key == vkDelete) {
    KeyDelete();
    return true;
  }
  if ((E.Key == vkApps && !ctrl) || (E.Key == vkF10 && shift && !ctrl)) {
    int x, y;
    SetCaretPosition(x, y);
    ShowPopupMenu(x, y + FFontHeight);
    return true;
  }
  if (ctrl && EnsurePopupMenu().ShortCut(E.Key, E.Shift)) return true;
  if (!IsNavigation(E.Key)) return false;
  if (shift && !Selected())
    InitSelection();
  else if (!shift && Selected())
    CleanSelection();
  const int count = FList->Count();
  switch (E.Key) {
    case vkPrior:
      PageVScroll(1 - FVisibleRows);
      break;
    case vkNext:
      PageVScroll(FVisibleRows - 1);
      break;
    case vkHome:
      if (ctrl) SetRow(0);
      SetCol(0);
      break;
    case vkEnd:
      if (ctrl) SetRow(count);
      SetCol(DisplayLength(FRow));
      break;
    case vkLeft:
      if (ctrl) {
        int r = FRow, c = FCol;
        if (FindNextWordStart(r, c, -1)) SetRowCol(r, c);
      } else if (FCol > 0) {
        SetCol(FCol - 1);
      } else if (FRow > 0 && (ListRows(FRow - 1) == raWrapped || FCaret->NextLine)) {
        TCaretUpdate hold(*this);
        SetRowCol(FRow - 1, DisplayLength(FRow - 1));
      }
      break;
    case vkRight:
      if (ctrl) {
        int r = FRow, c = FCol;
        if (FindNextWordStart(r, c, 1)) SetRowCol(r, c);
      } else {
        const int old = FCol;
        SetCol(FCol + 1);
        if (FCol == old && FRow < count - 1 && ListRows(FRow) != raEof &&
            (FCaret->NextLine || ListRows(FRow) == raWrapped)) {
          TCaretUpdate hold(*this);
          SetRowCol(FRow + 1, 0);
        }
      }
      break;
    case vkUp: {
      if (FRow <= 0) break;
      // Held at the edge of the view, the key moves two rows a repeat.
      const int s = E.Repeat && FRow == FTopRow ? 2 : 1;
      if (ctrl) {
        SetTopRow(FTopRow - s);
        if (FRow > FTopRow + FVisibleRows - 1) SetRow(FRow - s);
      } else {
        SetRow(FRow - s);
      }
      break;
    }
    case vkDown: {
      const int s = E.Repeat && FRow == FTopRow + FVisibleRows - 1 ? 2 : 1;
      if (ctrl) {
        SetTopRow(std::min(FTopRow + s, MaxTopRow()));
        if (FRow < FTopRow) SetRow(FRow + s);
      } else if (ListRows(FRow) != raEof) {
        SetRow(FRow + s);
      }
      break;
    }
    default:
      break;
  }
  if (shift) SetSelection();
  SyncRulerMark();
  return true;
}

bool TEditor::KeyUp(const TKeyEvent& E) {
  FVs.KeyRepeat = false;
  if (FVs.ImePending) MoveImeWindow(true);
  if (E.Key == vkControl && FVs.DragState == TEditorViewState::dsDragging) SetCursorState(mcDragging);
  return false;
}

void TEditor::KeyPress(const TCharEvent& E) {
  if (FVs.CharSkip > 0) {
    // Already inserted from the input method's result.
    FVs.CharSkip = std::max(0, FVs.CharSkip - static_cast<int>(E.Char.size()));
    return;
  }
  if (FVs.DragState != TEditorViewState::dsNone || FVs.LeftDown) return;
  if (FVs.ImePending) MoveImeWindow(true);
  KeyChar(E.Char);
  SyncRulerMark();
}

void TEditor::PageVScroll(int Delta) {
  if (FTopRow == 0 && Delta < 0) {
    SetRow(0);
    return;
  }
  const int count = FList->Count();
  if (Delta > 0 && FTopRow >= count - 1 && ListRows(FTopRow) == raEof) return;
  TCaretUpdate hold(*this);
  const int old = FTopRow;
  SetTopRow(std::clamp(FTopRow + Delta, 0, count));
  // Without a window the view stays put, and so does the caret.
  SetRow(FRow + (FTopRow - old));
}

bool TEditor::FindNextWordStart(int& ARow, int& ACol, int Direction) const {
  const int count = FList->Count();
  if (ARow < 0 || ARow >= count) return false;
  // Plain tokens, whatever state the row is in: a word step ignores comments.
  std::unique_ptr<IEditorRowParser> owner;
  if (const TEditorParserClass& cls = FList->GetParserClass()) owner = cls(std::string(), this, -1);
  TEditorParser plain{std::string()};
  TEditorParser* p = dynamic_cast<TEditorParser*>(owner.get());
  if (!p) p = &plain;
  // Starts of the row's tokens that count as words.
  auto starts = [&](const std::string& s) {
    std::vector<int> r;
    p->NewData(s, this, -1, 0);
    for (int k = p->Token(); k != toEof; k = p->NextToken())
      if (k != toSymbol) r.push_back(p->SourcePos());
    return r;
  };
  int r = ARow, c = ACol;
  std::string s = ExpandListStr(r);
  if (Direction > 0) {
    if (c >= static_cast<int>(s.size()) && r < count - 1) {
      ++r;
      s = ExpandListStr(r);
      c = -1;
    }
    for (int pos : starts(s))
      if (pos > c) {
        ARow = r, ACol = pos;
        return true;
      }
    if (ListRows(r) == raWrapped && r + 1 < count)
      ARow = r + 1, ACol = 0;
    else
      ARow = r, ACol = static_cast<int>(s.size());
    return true;
  }
  if (c == 0) {
    if (r == 0) return false;
    --r;
    s = ExpandListStr(r);
    c = static_cast<int>(s.size());
    if (ListRows(r) == raCrlf) {
      ARow = r, ACol = c;
      return true;
    }
  }
  int found = -1;
  for (int pos : starts(s))
    if (pos < c) found = pos;
  if (found >= 0) {
    ARow = r, ACol = found;
  } else if (r > 0) {
    ARow = r - 1, ACol = DisplayLength(r - 1);
  } else {
    ARow = 0, ACol = 0;
  }
  return true;
}

}  // namespace vel
