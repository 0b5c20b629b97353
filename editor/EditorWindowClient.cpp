// The control as its window's client: input that edits, and a plain painter
// that writes each visible row's text in fixed columns with the selection in
// the highlight colours.
#include <algorithm>

#include "editor/Editor.h"

namespace vel {

bool TEditor::KeyDown(const TKeyEvent& E) {
  if (E.Key == vkDelete && !(E.Shift & (ssShift | ssCtrl | ssAlt))) {
    if (FReadOnly) return false;
    KeyDelete();
    return true;
  }
  return false;
}

void TEditor::Resized(int, int) { Resize(); }

bool TEditor::ImeResult(const std::string& Text) {
  if (FReadOnly) return false;
  PutStringToLine(Text);
  return true;
}

void TEditor::ImeCandidateWindow(bool Open) {
  if (Open)
    CaretBeginUpdate();
  else
    CaretEndUpdate();
}

void TEditor::Paint(ICanvas& Canvas, const TRect& Area) {
  Canvas.SetFont(FFont);
  Canvas.FillRect(Area, clWindow);
  const int count = FList->Count();
  const int first = std::max(0, (Area.Top - FTopMargin) / FRowHeight) + FTopRow;
  const int last = std::min(count - 1, (Area.Bottom - FTopMargin) / FRowHeight + FTopRow);
  const int x0 = FLeftMargin - FTopCol * FColWidth;
  for (int r = first; r <= last; ++r) {
    const int y = FTopMargin + (r - FTopRow) * FRowHeight;
    const std::string s = ExpandListStr(r);
    const int L = static_cast<int>(s.size());
    // Only the columns in view are written, from a character's start.
    int from = 0;
    while (from < std::min(FTopCol, L)) from += static_cast<int>(CharLength(s, static_cast<size_t>(from)));
    if (from > FTopCol) from -= 2;
    const int to = std::min(L, FTopCol + FVisibleCols + 2);
    if (from >= to) continue;
    std::string piece = s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    std::vector<int> advances(piece.size(), FColWidth);
    for (size_t i = 0; i < piece.size(); i += CharLength(piece, i))
      if (CharLength(piece, i) == 2) {
        advances[i] = 2 * FColWidth;
        advances[i + 1] = 0;
      }
    const int x = x0 + from * FColWidth;
    const TRect rowClip{FLeftMargin, y, FClientWidth, y + FFontHeight};
    Canvas.TextOut(x, y, rowClip, piece, advances, FFont.Color, clWindow);
    if (!Selected() || r < FSelCol.StartRow || r > FSelCol.EndRow) continue;
    int a = 0, b = L;
    if (FSelectionMode == smBox) {
      a = FSelCol.StartCol;
      b = FSelCol.EndCol;
    } else {
      if (r == FSelCol.StartRow) a = FSelCol.StartCol;
      if (r == FSelCol.EndRow) b = FSelCol.EndCol;
    }
    const TRect selClip{std::max(FLeftMargin, x0 + a * FColWidth), y, std::min(FClientWidth, x0 + b * FColWidth),
                        y + FFontHeight};
    if (selClip.Left < selClip.Right) Canvas.TextOut(x, y, selClip, piece, advances, clHighlightText, clHighlight);
  }
}

}  // namespace vel
