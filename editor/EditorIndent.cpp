// Indenting and unindenting the selected rows (line selection) or the text
// at a box's left edge, as one undo step. A row that is part of a wrapped
// line, or that would grow past the wrap width, is left as it is.
#include <algorithm>

#include "editor/Editor.h"

namespace vel {

namespace {

enum TShiftKind { skIndent, skUnIndent, skTabIndent, skTabUnIndent };

bool IsWhite(const std::string& s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  return b == ' ' || b == '\t' || b < 0x20 || (b == 0x81 && i + 1 < s.size() && s[i + 1] == '\x40');
}

}  // namespace

void TEditor::SelIndent() { ShiftSelection(skIndent); }
void TEditor::SelUnIndent() { ShiftSelection(skUnIndent); }
void TEditor::SelTabIndent() { ShiftSelection(skTabIndent); }
void TEditor::SelTabUnIndent() { ShiftSelection(skTabUnIndent); }

void TEditor::ShiftSelection(int Kind) {
  if (!Selected()) return;
  const TIndexRange x = ClampedIndexRange();
  const int count = FList->Count();
  const bool box = FSelectionMode == smBox;
  int first = x.StartRow, last = std::min(x.EndRow, count - 1);
  if (!box && x.EndIndex == -1 && x.EndRow > x.StartRow) last = std::min(last, x.EndRow - 1);
  if (first > last) return;
  const TColumnMapOptions o = ColumnOptions();
  const int edge = box ? FSelCol.StartCol : 0;
  // A changed row: the bytes [Start, Cut) of Old became Repl bytes of New.
  struct TShift {
    std::string Old, New;
    int Start = 0, Cut = 0, Repl = 0;
    bool Changed = false;
  };
  std::vector<TShift> shifts;
  std::string text;
  for (int r = first; r <= last; ++r) {
    const std::string& s = FList->Rows().Get(r);
    std::string out = s;
    TShift sh;
    const bool whole = FList->Rows().GetRows(r) != raWrapped && (r == 0 || FList->Rows().GetRows(r - 1) != raWrapped);
    if (whole && vel::ExpandLength(s, o) > edge - (box ? 0 : 1)) {
      // The run starts at the edge; a tab (or, for spaces, a full-width
      // space) that straddles the edge belongs to it, any other character
      // that straddles it is passed over.
      size_t i = 0;
      int col = 0;
      for (; i < s.size();) {
        const size_t len = CharLength(s, i);
        const int next = vel::IndexToColumn(s, static_cast<int>(i + len), o);
        if (next > edge) {
          const bool tab = s[i] == '\t';
          const bool wide = len == 2 && IsWhite(s, i);
          const bool spaces = Kind == skIndent || Kind == skUnIndent;
          if (col < edge && !((tab || wide) && spaces)) {
            i += len;
            col = next;
          }
          break;
        }
        i += len;
        col = next;
      }
      size_t end = i;
      while (end < s.size() && IsWhite(s, end)) end += CharLength(s, end);
      const int width = vel::IndexToColumn(s, static_cast<int>(end), o) - col;
      std::string repl;
      size_t cut = i;
      bool change = false;
      switch (Kind) {
        case skIndent:
          repl.assign(static_cast<size_t>(width + 1), ' ');
          cut = end;
          change = true;
          break;
        case skUnIndent:
          if (end > i && (s[i] == ' ' || s[i] == '\t' || (s[i] == '\x81' && CharLength(s, i) == 2))) {
            repl.assign(static_cast<size_t>(std::max(width - 1, 0)), ' ');
            cut = end;
            change = true;
          }
          break;
        case skTabIndent:
          repl = "\t";
          change = true;
          break;
        case skTabUnIndent:
          if (i < s.size() && s[i] == '\t') {
            cut = i + 1;
            change = true;
          }
          break;
      }
      if (change) {
        out = s.substr(0, i) + repl + s.substr(cut);
        const bool fits = !o.WordWrap || vel::ExpandLength(out, o) < o.WrapByte;
        if (fits) {
          sh = TShift{s, out, static_cast<int>(i), static_cast<int>(cut), static_cast<int>(repl.size()), true};
        } else {
          out = s;
        }
      }
    }
    text += out;
    FList->CheckCrlf(r, text);
    shifts.push_back(sh);
  }
  if (std::none_of(shifts.begin(), shifts.end(), [](const TShift& s) { return s.Changed; })) return;
  // A column moved with the text: mapped through the byte index, since a
  // later tab may absorb the indent's change of width and a column shifted by
  // it could land inside a double-byte character.
  auto moved = [&](int row, int col) {
    if (row < first || row > last) return col;
    const TShift& sh = shifts[static_cast<size_t>(row - first)];
    if (!sh.Changed) return col;
    const int oldLength = vel::ExpandLength(sh.Old, o);
    if (col >= oldLength) return col + vel::ExpandLength(sh.New, o) - oldLength;
    int index = vel::ColumnToIndex(sh.Old, col, o);
    if (index >= sh.Cut)
      index += sh.Repl - (sh.Cut - sh.Start);
    else if (index >= sh.Start)
      index = sh.Start + sh.Repl;
    return vel::IndexToColumn(sh.New, index, o);
  };
  TCaretUpdate hold(*this);
  TUnderlineUpdate underline(this);
  FList->UpdateList(first, last - first + 1, text);
  if (box) {
    // The box keeps its columns, but the text moved under them: the caret
    // and the anchor's index may now stand inside a character.
    AdjustCol(false, -1);
    const std::string anchorRow = ListStr(FAnchorRow);
    FAnchorIndex = static_cast<int>(sjis::CharStart(anchorRow, static_cast<size_t>(CharIndexOf(FAnchorRow, FAnchorCol))));
    UpdateSelection();
    return;
  }
  const bool empty = FSelCol.StartRow == FSelCol.EndRow && FSelCol.StartCol == FSelCol.EndCol;
  FAnchorCol = moved(FAnchorRow, FAnchorCol);
  FAnchorIndex = CharIndexOf(FAnchorRow, FAnchorCol);
  SetRowCol(FRow, moved(FRow, FCol));
  if (empty) {
    CleanSelection();
    return;
  }
  UpdateSelection();
}

}  // namespace vel
