// The caret: placement on a row's column map, its system caret, and keeping
// it in view by scrolling.
#include <algorithm>

#include "editor/Editor.h"

namespace vel {

namespace {

char CodeAt(const std::string& a, int col) {
  return col >= 0 && col < static_cast<int>(a.size()) ? a[static_cast<size_t>(col)] : '\0';
}

}  // namespace

void TEditor::KeepCol(bool Vertical, int Value) {
  // The first remembered column wins until the next horizontal move, so Up
  // and Down keep aiming at the column where the vertical move began.
  if (Vertical && !FKeepColSet) {
    FKeepColSet = true;
    FKeepCol = Value;
  }
}

void TEditor::SetCol(int Value) {
  const int old = FCol;
  FCol = std::clamp(Value, 0, MaxCol());
  AdjustCol(false, FCol > old ? 1 : -1);
}

void TEditor::AdjustCol(bool Vertical, int Direction) {
  if (!Vertical)
    ForgetKeepCol();
  else if (FKeepColSet)
    FCol = std::min(FKeepCol, MaxCol());
  const std::string a = StrToAttributes(ListStr(FRow));
  const int L = static_cast<int>(a.size());
  const bool inTab = FCaret->InTab;
  if (!FCaret->FreeCaret && FCol > L) {
    if (FCaret->KeepCaret) KeepCol(Vertical, FCol);
    FCol = L;
  }
  if (CodeAt(a, FCol) == cmTrail) {
    KeepCol(Vertical, FCol);
    FCol += Direction > 0 ? 1 : -1;
  }
  if (!inTab && CodeAt(a, FCol) == cmTabBlank) {
    KeepCol(Vertical, FCol);
    while (CodeAt(a, FCol) == cmTabBlank) FCol += Direction > 0 ? 1 : -1;
  }
  if (FList->GetWordWrap() && FCol >= L) {
    const int W = FList->WrapOption().GetWrapByte();
    KeepCol(Vertical, FCol);
    if (ListRows(FRow) == raWrapped)
      FCol = std::max(0, L - 1);
    else if (FCol >= W)
      FCol = std::max(L, W - 1);
    if (CodeAt(a, FCol) == cmTrail) --FCol;
    if (!inTab)
      while (CodeAt(a, FCol) == cmTabBlank) --FCol;
  }
  FCol = std::max(FCol, 0);
  if (FCaretLock == 0) UpdateCaret();
}

void TEditor::SetRow(int Value) {
  const int count = FList->Count();
  int r = std::clamp(Value, 0, count);
  if (r == count && count > 0 && FList->Rows().GetRows(count - 1) != raCrlf) --r;
  if (r == FRow && FRow != count) return;
  TUnderlineUpdate underline(*this);
  FRow = r;
  AdjustCol(true, -1);
}

void TEditor::SetRowCol(int ARow, int ACol) {
  if (ARow == FRow && ACol == FCol) return;
  {
    TCaretUpdate hold(*this);
    TCaretLock lock(FCaretLock);
    SetRow(ARow);
    const std::string a = StrToAttributes(ListStr(FRow));
    if (CodeAt(a, ACol) == cmTrail) --ACol;
    if (!FCaret->InTab)
      while (CodeAt(a, ACol) == cmTabBlank) --ACol;
    SetCol(ACol);
  }
  if (FCaretLock == 0) UpdateCaret();
}

void TEditor::CaretBeginUpdate() {
  if (FCaretHideCount++ == 0) CaretHide();
}

void TEditor::CaretEndUpdate() {
  if (FCaretHideCount == 0) return;
  if (--FCaretHideCount == 0) CaretShow();
}

void TEditor::CaretShow() {
  if (!FWindow || !FWindow->Focused() || FCaretHideCount > 0 || FCaretShown || IsCaretNoClient()) return;
  FWindow->ShowCaret();
  FCaretShown = true;
}

void TEditor::CaretHide() {
  if (!FCaretShown) return;
  if (FWindow) FWindow->HideCaret();
  FCaretShown = false;
}

bool TEditor::IsCaretNoClient() const {
  return FRow < FTopRow || FRow > FTopRow + FVisibleRows || FCol < FTopCol || FCol > FTopCol + FVisibleCols;
}

void TEditor::RecreateCaret() {
  if (!Focused()) return;
  const std::string a = StrToAttributes(ListStr(FRow));
  const int w2 = CodeAt(a, FCol) == cmLead ? 2 * FCharWidth : FCharWidth;
  FWindow->DestroyCaret();
  FCaretShown = false;
  if (FOverWrite)
    FWindow->CreateCaret(w2, FFontHeight);
  else if (FCaret->Style() == csBrief)
    FWindow->CreateCaret(w2, 2);
  else
    FWindow->CreateCaret(2, FFontHeight);
}

void TEditor::ScrollCaret() {
  if (!Focused()) return;
  if (FRow < FTopRow)
    SetTopRow(FRow);
  else if (FRow > FTopRow + FVisibleRows - 1)
    SetTopRow(FRow - FVisibleRows + 1);
  if (FCol < FTopCol)
    SetTopCol(std::max(0, std::min(FCol, FTopCol - FVisibleCols / 4)));
  else if (FCol > FTopCol + FVisibleCols - 1)
    SetTopCol(std::min(std::max(FCol - FVisibleCols + 1, FTopCol + FVisibleCols / 4), MaxTopCol()));
}

void TEditor::MoveCaret() {
  if (!Focused()) return;
  int x, y;
  SetCaretPosition(x, y);
  FWindow->SetCaretPos(x, y);
  MoveImeWindow(false);
  if (OnCaretMoved) OnCaretMoved(this);
}

void TEditor::MoveImeWindow(bool Force) {
  if (!FWindow || !Focused()) return;
  // While a key repeats, moving the composition window on every step is
  // wasted work: the move waits for key-up or the next character.
  if (FVs.KeyRepeat && !Force) {
    FVs.ImePending = true;
    return;
  }
  FVs.ImePending = false;
  FWindow->SetImeCompositionWindow(FLeftMargin + (FCol - FTopCol) * FColWidth,
                                   FTopMargin + (FRow - FTopRow) * FRowHeight, FFont);
}

void TEditor::UpdateCaret() {
  RecreateCaret();
  ScrollCaret();
  MoveCaret();
  CaretShow();
  // Also when code moved the caret, not only input.
  SyncRulerMark();
}

int TEditor::MaxTopRow() const { return std::max(0, FList->Count() + FVisibleRows - 2); }

int TEditor::MaxTopCol() const { return std::max(0, MaxCol() - FVisibleCols / 2); }

void TEditor::InitScroll() {
  if (!FWindow) return;
  FTopRow = std::min(FTopRow, MaxTopRow());
  FTopCol = std::min(FTopCol, MaxTopCol());
  if (FScrollBars == ssVertical || FScrollBars == ssBoth)
    FWindow->SetScrollInfo(TScrollBarKind::Vertical,
                           TScrollInfo{0, std::max(FVisibleRows, MaxTopRow()), FVisibleRows, FTopRow});
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
    FWindow->SetScrollInfo(TScrollBarKind::Horizontal,
                           TScrollInfo{0, MaxCol() + FVisibleCols / 2, FVisibleCols, FTopCol});
}

void TEditor::SetTopRow(int Value) {
  if (!FWindow) return;
  const int v = std::clamp(Value, 0, FList->Count());
  if (v == FTopRow) return;
  TCaretUpdate hold(*this);
  TUnderlineUpdate underline(*this);
  const int delta = std::clamp(FTopRow - v, -(FVisibleRows + 1), FVisibleRows + 1);
  FTopRow = v;
  DoScroll(0, delta * FRowHeight, TRect{0, FTopMargin, FClientWidth, FClientHeight});
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    TScrollInfo info = FWindow->GetScrollInfo(TScrollBarKind::Vertical);
    info.Pos = FTopRow;
    FWindow->SetScrollInfo(TScrollBarKind::Vertical, info);
  }
  MoveImeWindow(false);
  DoTopRowChange();
}

void TEditor::SetTopCol(int Value) {
  if (!FWindow) return;
  const int v = std::clamp(Value, 0, MaxTopCol());
  if (v == FTopCol) return;
  TCaretUpdate hold(*this);
  const int delta = FTopCol - v;
  FTopCol = v;
  DoScroll(delta * FColWidth, 0, TRect{FLeftMargin, 0, FClientWidth, FClientHeight});
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
    TScrollInfo info = FWindow->GetScrollInfo(TScrollBarKind::Horizontal);
    info.Pos = FTopCol;
    FWindow->SetScrollInfo(TScrollBarKind::Horizontal, info);
  }
  MoveImeWindow(false);
  DoTopColChange();
}

void TEditor::UnderlineBeginUpdate() {
  if (FUnderlineCount++ == 0 && FMarks->Underline().Visible() && !Selected()) HideUnderline(FRow);
}

void TEditor::UnderlineEndUpdate() {
  if (FUnderlineCount == 0) return;
  if (--FUnderlineCount == 0 && FMarks->Underline().Visible() && !Selected()) DrawUnderline(FRow);
}

int TEditor::UnderlinePos(int Row) const {
  const int y = FTopMargin + FRowHeight * (Row - FTopRow) + FFontHeight;
  return y <= FTopMargin || y >= FClientHeight ? -1 : y;
}

void TEditor::DrawUnderline(int Row) {
  const int y = UnderlinePos(Row);
  if (!FWindow || y < 0) return;
  FWindow->GetCanvas()->Line(FLeftMargin, y, FClientWidth, y, FMarks->Underline().Color());
}

void TEditor::HideUnderline(int Row) {
  const int y = UnderlinePos(Row);
  if (!FWindow || y < 0) return;
  FWindow->GetCanvas()->Line(FLeftMargin, y, FClientWidth, y, Color());
}

}  // namespace vel
