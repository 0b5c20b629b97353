// The clipboard, box paste, and dropping a dragged selection.
//
// A box copy goes to the clipboard twice: as plain text, and under the
// private "TEditor Box Type" format, whose presence makes a paste here a box
// paste; the same text from another program pastes as a stream.
#include <algorithm>

#include "editor/Editor.h"
#include "editor/EditorCursorNames.h"
#include "platform/Clipboard.h"

namespace vel {

namespace {

int Size(const std::string& s) { return static_cast<int>(s.size()); }

void PadTo(std::string& s, int n) {
  if (Size(s) < n) s.append(static_cast<size_t>(n - Size(s)), ' ');
}

}  // namespace

bool TEditor::CopyToClipboard() {
  if (!Selected()) return false;
  return Clipboard().SetText(GetSelText(), FSelectionMode == smBox ? CF_BOXTEXT : 0);
}

void TEditor::CutToClipboard() {
  // The text goes only once it is safely on the clipboard.
  if (CopyToClipboard()) DeleteSelection();
}

void TEditor::PasteFromClipboard() {
  if (FReadOnly) return;
  IClipboard& clip = Clipboard();
  if (!clip.HasText()) return;
  const std::optional<std::string> text = clip.GetText();
  if (!text) return;
  if (CF_BOXTEXT && clip.HasFormat(CF_BOXTEXT))
    SetSelTextBox(*text);
  else
    SetSelTextBuf(*text);
}

void TEditor::SetSelTextBox(const std::string& P) {
  if (FReadOnly) return;
  if (P.empty()) {
    DeleteSelection();
    return;
  }
  std::vector<std::string> lines;
  ForEachLine(P, [&](size_t b, size_t n) { lines.push_back(P.substr(b, n)); });
  if (lines.empty()) lines.emplace_back();
  const int count = FList->Count();
  const bool sel = Selected();
  const TIndexRange x = ClampedIndexRange();
  const int k = sel ? FSelCol.StartCol : FCol;
  const int R0 = sel ? x.StartRow : FRow;
  std::vector<TRemovedRow> removed;
  if (sel) removed = RemoveSelection();
  const int nRemoved = static_cast<int>(removed.size());
  // The first row of the document after those the selection supplied.
  const int base = !sel ? R0 : FSelectionMode == smLine ? x.EndRow + 1 : R0 + nRemoved;
  const int nLines = static_cast<int>(lines.size());
  std::string text;
  int target = 0, lastDocRow = sel ? std::min(x.EndRow, count - 1) : R0 - 1;
  const int total = std::max(nLines, nRemoved);
  for (int j = 0; j < total; ++j) {
    std::string row;
    TEditorRowAttribute attr = raCrlf;
    int at = 0;
    if (j < nRemoved) {
      row = std::move(removed[static_cast<size_t>(j)].Text);
      attr = removed[static_cast<size_t>(j)].Attribute;
      at = std::max(removed[static_cast<size_t>(j)].Insert, 0);
    } else if (const int docRow = base + (j - nRemoved); docRow < count) {
      row = FList->Rows().Get(docRow);
      attr = FList->Rows().GetRows(docRow);
      at = BoxLeftIndex(StrToAttributes(row), k + 1) - 1;
      lastDocRow = std::max(lastDocRow, docRow);
    } else {
      at = k;
    }
    if (j < nLines) {
      PadTo(row, at);
      row.insert(static_cast<size_t>(at), lines[static_cast<size_t>(j)]);
      // A row keeps its own ending, so a wrapped line stays one line; only
      // the last row gets a break, when rows are added below it.
      if (attr == raEof && j + 1 < total) attr = raCrlf;
      if (j == nLines - 1) target = Size(text) + at + Size(lines[static_cast<size_t>(j)]);
    }
    text += row;
    if (attr == raCrlf) text += "\r\n";
  }
  Apply(R0, std::max(lastDocRow, R0), text, target, true);
}

bool TEditor::CanSelDrag() const { return !FReadOnly && Selected() && FSelectionMode == smLine && FCaret->SelMove; }

void TEditor::CopySelection(int ARow, int ACol) {
  if (!CanSelDrag() || IsSelectedArea(ARow, ACol)) {
    CleanSelection();
    return;
  }
  const std::string text = GetSelText();
  CleanSelection();
  SetRowCol(ARow, ACol);
  SetSelTextBuf(text);
}

void TEditor::MoveSelection(int ARow, int ACol) {
  if (!CanSelDrag() || IsSelectedArea(ARow, ACol)) {
    CleanSelection();
    return;
  }
  const TIndexRange x = ClampedIndexRange();
  const int count = FList->Count();
  int dropRow = std::clamp(ARow, 0, count);
  if (dropRow == count && FList->Rows().GetRows(count - 1) != raCrlf) dropRow = count - 1;
  const int first = std::min(x.StartRow, dropRow);
  const int last = std::min(std::max(x.EndRow, dropRow), count - 1);
  std::string block = FList->RangeText(first, last - first + 1);
  // Offsets into the block, a line break counting two bytes.
  const int blockStart = FList->TextOffset(first);
  auto offset = [&](int row, int index) {
    return row < count ? FList->TextOffset(row, index) - blockStart : Size(block);
  };
  const int selStart = offset(x.StartRow, x.StartIndex);
  const int selEnd = x.EndRow < count ? offset(x.EndRow, x.EndIndex + 1) : Size(block);
  // The drop column taken back to its character's first column, as the caret would be.
  int dropCol = std::max(ACol, 0);
  if (dropRow < count) {
    const std::string a = StrToAttributes(FList->Rows().Get(dropRow));
    while (dropCol > 0 && dropCol < Size(a) && (a[static_cast<size_t>(dropCol)] == cmTrail ||
                                                  a[static_cast<size_t>(dropCol)] == cmTabBlank))
      --dropCol;
  }
  const int dropIndex = dropRow < count ? CharIndexOf(dropRow, dropCol) : 0;
  const int pad = dropRow < count ? std::max(0, dropIndex - Size(FList->Rows().Get(dropRow))) : 0;
  int dropOff = offset(dropRow, dropIndex);
  // Dropped at either of its own ends the text would not move: no step.
  if (pad == 0 && dropOff >= selStart && dropOff <= selEnd) {
    CleanSelection();
    return;
  }
  const std::string moved = block.substr(static_cast<size_t>(selStart), static_cast<size_t>(selEnd - selStart));
  block.erase(static_cast<size_t>(selStart), static_cast<size_t>(selEnd - selStart));
  if (dropOff >= selEnd) dropOff -= selEnd - selStart;
  block.insert(static_cast<size_t>(dropOff), std::string(static_cast<size_t>(pad), ' ') + moved);
  Apply(first, last, block, dropOff + pad + Size(moved), true);
}

}  // namespace vel
