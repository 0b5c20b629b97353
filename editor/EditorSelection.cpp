// The selection: an anchor and the caret give an index range (rows and char
// indices, for the text operations) and a column range (rows and display
// columns, for painting and boxes). A line selection runs through the text;
// a box covers the same columns on every row, also past the rows' ends.
#include <algorithm>

#include "editor/Editor.h"

namespace vel {

namespace {

int Size(const std::string& s) { return static_cast<int>(s.size()); }

int TabBlanksBefore(const std::string& a, int p) {
  return static_cast<int>(std::count(a.begin(), a.begin() + std::min(p, Size(a)), cmTabBlank));
}

}  // namespace

int TEditor::BoxLeftIndex(const std::string& A, int Position) {
  const int n = Size(A);
  int p = Position;
  auto code = [&](int q) { return q >= 1 && q <= n ? A[static_cast<size_t>(q - 1)] : '\0'; };
  // A character or tab that straddles the left edge is left out.
  if (code(p) == cmTrail)
    ++p;
  else
    while (code(p) == cmTabBlank) ++p;
  return p - TabBlanksBefore(A, p);
}

int TEditor::BoxRightIndex(const std::string& A, int Position) {
  const int n = Size(A);
  int p = std::min(Position, n);
  auto code = [&](int q) { return q >= 1 && q <= n ? A[static_cast<size_t>(q - 1)] : '\0'; };
  // A character or tab that straddles the right edge is taken in whole.
  if (code(p) == cmLead)
    ++p;
  else
    while (code(p) == cmTabBlank) --p;
  return p - TabBlanksBefore(A, p);
}

void TEditor::BoxSpan(const std::string& S, const TColumnMapOptions& O, int& From, int& Length) const {
  // The characters that start inside the box's columns; walked only as far
  // as its right edge, since every byte takes at least one column.
  const int sc = FSelCol.StartCol, ec = FSelCol.EndCol;
  const int T = std::max(O.TabSpaceCount, 1), W = O.WrapByte;
  const int n = Size(S);
  int col = 0, i = 0, first = -1, end = -1;
  while (i < n) {
    const int len = static_cast<int>(CharLength(S, static_cast<size_t>(i)));
    if (first < 0 && col >= sc) first = i;
    if (col >= ec) break;
    if (col >= sc) end = i + len;
    int width = len;
    if (S[static_cast<size_t>(i)] == '\t') {
      int blanks = T - 1 - col % T;
      if (O.WordWrap && W > 0) blanks = std::min(blanks, W - 1 - col % W);
      width += std::max(blanks, 0);
    }
    col += width;
    i += len;
  }
  // A row that ends left of the box takes text where padding would reach it.
  From = first >= 0 ? first : n + std::max(sc - col, 0);
  Length = end > From ? end - From : 0;
}

// The index range held inside the rows and on character boundaries,
// whatever happened to them since the selection was made (another control
// may edit the shared rows): a character cut by an end is taken in whole.
TEditor::TIndexRange TEditor::ClampedIndexRange() const {
  TIndexRange r = FSelIdx;
  const int count = FList->Count();
  r.StartRow = std::clamp(r.StartRow, 0, count);
  r.EndRow = std::clamp(r.EndRow, r.StartRow, count);
  const std::string first = ListStr(r.StartRow);
  r.StartIndex = static_cast<int>(sjis::CharStart(first, static_cast<size_t>(std::clamp(r.StartIndex, 0, Size(first)))));
  const std::string last = ListStr(r.EndRow);
  const auto end = static_cast<size_t>(std::clamp(r.EndIndex + 1, 0, Size(last)));
  const size_t start = sjis::CharStart(last, end);
  r.EndIndex = static_cast<int>(start == end ? end : sjis::NextChar(last, start)) - 1;
  if (r.StartRow == r.EndRow) r.EndIndex = std::max(r.EndIndex, r.StartIndex - 1);
  return r;
}

void TEditor::InitSelection() {
  CleanSelection();
  if (FList->Count() == 0) return;
  FSelState = selPending;
  FAnchorRow = FRow;
  FAnchorIndex = CaretIndex();
  FAnchorCol = FSelectionMode == smLine ? std::min(FCol, DisplayLength(FRow)) : FCol;
  FSelIdx = TIndexRange{FAnchorRow, FAnchorIndex, FAnchorRow, FAnchorIndex - 1};
  FSelCol = TColRange{FAnchorRow, FAnchorCol, FAnchorRow, FAnchorCol};
  FPrevSelCol = FSelCol;
}

void TEditor::StartSelection() {
  if (FSelState != selPending) return;
  if (FMarks->Underline().Visible() && FUnderlineCount == 0) HideUnderline(FRow);
  FSelState = selActive;
  UpdateSelection();
}

void TEditor::SetSelection() {
  if (FSelState == selPending)
    StartSelection();
  else if (FSelState == selActive)
    UpdateSelection();
}

void TEditor::UpdateSelection() {
  if (FSelState != selActive) return;
  const int rowLen = Size(ListStr(FRow));
  const int anchorLen = Size(ListStr(FAnchorRow));
  const int c = std::min(CaretIndex(), rowLen);
  const int ai = std::min(FAnchorIndex, anchorLen);
  TIndexRange& x = FSelIdx;
  x.StartRow = std::min(FAnchorRow, FRow);
  x.EndRow = std::max(FAnchorRow, FRow);
  if (FAnchorRow == FRow) {
    x.StartIndex = std::min(ai, c);
    x.EndIndex = std::max(ai, c) - 1;
  } else if (FAnchorRow < FRow) {
    x.StartIndex = ai;
    x.EndIndex = c - 1;
  } else {
    x.StartIndex = c;
    x.EndIndex = ai - 1;
  }
  TColRange& k = FSelCol;
  k.StartRow = x.StartRow;
  k.EndRow = x.EndRow;
  if (FSelectionMode == smBox) {
    k.StartCol = std::min(FAnchorCol, FCol);
    k.EndCol = std::max(FAnchorCol, FCol);
  } else {
    const int L = DisplayLength(FRow), AL = DisplayLength(FAnchorRow);
    if (FAnchorRow == FRow) {
      k.StartCol = std::min(std::min(FAnchorCol, FCol), L);
      k.EndCol = std::min(std::max(FAnchorCol, FCol), L);
    } else if (FAnchorRow < FRow) {
      k.StartCol = std::min(FAnchorCol, AL);
      k.EndCol = std::min(FCol, L);
    } else {
      k.StartCol = std::min(FCol, L);
      k.EndCol = std::min(FAnchorCol, AL);
    }
  }
  DrawSelection();
  DoSelectionChange(true);
}

void TEditor::CleanSelection() {
  const bool wasActive = FSelState == selActive;
  FSelState = selNone;
  if (!wasActive) return;
  if (!(FSelCol.StartRow == FSelCol.EndRow && FSelCol.StartCol == FSelCol.EndCol))
    InvalidateRows(FSelCol.StartRow - 1, FSelCol.EndRow);
  if (FMarks->Underline().Visible() && FUnderlineCount == 0) DrawUnderline(FRow);
  ForgetKeepCol();
  DoSelectionChange(false);
}

void TEditor::SetSelectionMode(TEditorSelectionMode Value) {
  if (Value == FSelectionMode || FSelDragging) return;
  FSelectionMode = Value;
  if (Selected()) {
    if (Value == smBox && FWindow) FWindow->SetCursor(FCaret->Cursors().DefaultCursor);
    UpdateSelection();
    Invalidate();
  }
  DoSelectionModeChange();
}

bool TEditor::IsSelectedArea(int Row, int Col) const {
  if (!Selected() || Row < FSelCol.StartRow || Row > FSelCol.EndRow) return false;
  return !((Row == FSelCol.StartRow && Col < FSelCol.StartCol) || (Row == FSelCol.EndRow && Col > FSelCol.EndCol - 1));
}

std::string TEditor::GetSelText() const {
  if (!Selected()) return std::string();
  const TIndexRange x = ClampedIndexRange();
  if (x.StartRow == x.EndRow) {
    const std::string s = ListStr(x.StartRow);
    return s.substr(static_cast<size_t>(std::min(x.StartIndex, Size(s))),
                    static_cast<size_t>(x.EndIndex - x.StartIndex + 1));
  }
  std::string t;
  if (FSelectionMode == smBox) {
    t.reserve(static_cast<size_t>(x.EndRow - x.StartRow + 1) *
              static_cast<size_t>(std::max(FSelCol.EndCol - FSelCol.StartCol, 0) + 4));
    const TColumnMapOptions o = ColumnOptions();
    for (int r = x.StartRow; r <= x.EndRow && r < FList->Count(); ++r) {
      const std::string& s = FList->Rows().Get(r);
      int from, length;
      BoxSpan(s, o, from, length);
      if (length > 0) t.append(s, static_cast<size_t>(from), static_cast<size_t>(length));
      t += "\r\n";
    }
    return t;
  }
  t.reserve(static_cast<size_t>(SelLength()));
  const TEditorStringList& l = FList->Rows();
  t.append(l.Get(x.StartRow), static_cast<size_t>(x.StartIndex));
  for (int r = x.StartRow; r < x.EndRow; ++r) {
    if (r > x.StartRow) t += l.Get(r);
    if (l.GetRows(r) == raCrlf) t += "\r\n";
  }
  if (x.EndRow < l.Count()) t.append(l.Get(x.EndRow), 0, static_cast<size_t>(x.EndIndex + 1));
  return t;
}

int TEditor::GetSelTextBuf(char* Buffer, int Size) const {
  if (!Buffer || Size <= 0) return 0;
  const std::string s = GetSelText();
  const int n = static_cast<int>(sjis::CharStart(s, static_cast<size_t>(std::min(static_cast<int>(s.size()), Size - 1))));
  std::copy(s.begin(), s.begin() + n, Buffer);
  Buffer[n] = '\0';
  return n;
}

int TEditor::SelLength() const {
  if (!Selected()) return 0;
  const TIndexRange x = ClampedIndexRange();
  if (x.StartRow == x.EndRow) return x.EndIndex - x.StartIndex + 1;
  if (FSelectionMode == smBox) {
    int n = 0;
    const TColumnMapOptions o = ColumnOptions();
    for (int r = x.StartRow; r <= x.EndRow && r < FList->Count(); ++r) {
      int from, length;
      BoxSpan(FList->Rows().Get(r), o, from, length);
      n += length + 2;
    }
    return n;
  }
  return FList->TextOffset(x.EndRow, x.EndIndex + 1) - FList->TextOffset(x.StartRow, x.StartIndex);
}

int TEditor::SelStart() const {
  if (Selected()) {
    const TIndexRange x = ClampedIndexRange();
    return TextOffset(x.StartRow, x.StartIndex);
  }
  return TextOffset(FRow, CaretIndex());
}

void TEditor::SetSelStart(int Value) {
  CleanSelection();
  int r, c;
  OffsetToRowCol(Value, r, c);
  SetRowCol(r, c);
}

void TEditor::SetSelLength(int Value) {
  if (FList->Count() == 0) return;
  if (FSelectionMode == smBox) SetSelectionMode(smLine);
  {
    TCaretUpdate hold(*this);
    TCaretLock lock(FCaretLock);
    if (Selected()) SetRowCol(FSelCol.StartRow, FSelCol.StartCol);
    if (Value > 0)
      SelectFromCaret(Value, true);
    else
      CleanSelection();
  }
  if (FCaretLock == 0) UpdateCaret();
}

void TEditor::SetSelRange(int Start, int End) {
  SetSelStart(Start);
  if (End <= Start || FList->Count() == 0) return;
  if (FSelectionMode == smBox) SetSelectionMode(smLine);
  {
    TCaretUpdate hold(*this);
    TCaretLock lock(FCaretLock);
    SelectFromCaret(End, false);
  }
  if (FCaretLock == 0) UpdateCaret();
}

void TEditor::SelectFromCaret(int64_t End, bool Relative) {
  InitSelection();
  if (Relative) End += SelStart();
  int r, c;
  OffsetToRowCol(End, r, c);
  SetRowCol(r, c);
  StartSelection();
}

void TEditor::SelectAll() {
  TCaretUpdate hold(*this);
  SetSelStart(0);
  SetSelLength(GetTextLen());
}

}  // namespace vel
