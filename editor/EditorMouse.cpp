// The mouse: clicks place the caret and an anchor, drags select (rows when
// the press was in the left margin), a press inside the selection can drag
// it elsewhere (Ctrl copies), and the pointer's shape follows what a press
// would do. Also the token and word queries by position.
#include <algorithm>
#include <cstdlib>

#include "editor/Editor.h"
#include "syntax/EditorParser.h"

namespace vel {

namespace {

// A point far past any screen is brought within reach, so that the pixel
// arithmetic below cannot overflow whatever a caller sends.
TMouseEvent Reachable(TMouseEvent E) {
  constexpr int kFar = 1 << 20;
  E.X = std::clamp(E.X, -kFar, kFar);
  E.Y = std::clamp(E.Y, -kFar, kFar);
  return E;
}

}  // namespace

void TEditor::SetCursorState(TEditorMouseCursorState Value) {
  if (Value == FVs.CursorState) return;
  FVs.CursorState = Value;
  ShowStateCursor();
}

void TEditor::ShowStateCursor() {
  if (!FCaret->AutoCursor || !FWindow) return;
  const TEditorCursors& c = FCaret->Cursors();
  switch (FVs.CursorState) {
    case mcClient: FWindow->SetCursor(c.DefaultCursor); break;
    case mcLeftMargin: FWindow->SetCursor(c.LeftMarginCursor); break;
    case mcInSel: FWindow->SetCursor(c.InSelCursor); break;
    case mcDragging: FWindow->SetCursor(c.DragSelCursor); break;
    case mcDraggingCopy: FWindow->SetCursor(c.DragSelCopyCursor); break;
  }
}

void TEditor::SetAnchor(int ARow, int ACol) {
  FAnchorRow = ARow;
  FAnchorIndex = CharIndexOf(ARow, ACol);
  FAnchorCol = std::min(ACol, DisplayLength(ARow));
}

void TEditor::MouseDown(const TMouseEvent& Event) {
  const TMouseEvent E = Reachable(Event);
  if (FWindow && !FWindow->Focused()) FWindow->SetFocus();
  if (E.Button != mbLeft || FVs.DragState != TEditorViewState::dsNone) return;
  FVs.LeftDown = true;
  if (FWindow) FWindow->SetCapture();
  int c, r;
  if (E.Shift & ssShift) {
    if (!Selected()) InitSelection();
    PosToRowCol(E.X, E.Y, true, c, r);
    SetRowCol(r, c);
    SetSelection();
    SyncRulerMark();
    return;
  }
  FVs.PressX = E.X;
  FVs.PressY = E.Y;
  PosToRowCol(E.X, E.Y, false, c, r);
  if (CanSelDrag() && E.X > FLeftMargin && IsSelectedArea(r, c)) {
    SetRowCol(r, c);
    if (FCaret->SelDragMode == dmAutomatic) {
      // The drag starts once the pointer moves; the button is no longer ours.
      FVs.DragState = TEditorViewState::dsPending;
      FVs.LeftDown = false;
    }
    SyncRulerMark();
    return;
  }
  PosToRowCol(E.X, E.Y, true, c, r);
  if (E.X < FLeftMargin && FCaret->RowSelect) {
    StartRowSelection(r);
  } else {
    TCaretUpdate hold(*this);
    CleanSelection();
    SetRowCol(r, c);
    InitSelection();
  }
  SyncRulerMark();
}

void TEditor::MouseMove(const TMouseEvent& Event) {
  const TMouseEvent E = Reachable(Event);
  const int half = std::max(1, FColWidth / 2);
  const bool moved = std::abs(E.X - FVs.PressX) >= half || std::abs(E.Y - FVs.PressY) >= half;
  int c, r;
  if (FVs.DragState == TEditorViewState::dsPending) {
    if (moved) {
      FVs.DragState = TEditorViewState::dsDragging;
      FSelDragging = true;
      SetCursorState(E.Shift & ssCtrl ? mcDraggingCopy : mcDragging);
    }
    if (FVs.DragState == TEditorViewState::dsPending) return;
  }
  if (FVs.DragState == TEditorViewState::dsDragging) {
    // The caret shows where the selection would land.
    PosToRowCol(E.X, E.Y, false, c, r);
    if (E.Y < FTopMargin) --r;
    SetRowCol(r, c);
    SyncRulerMark();
    return;
  }
  if (FVs.LeftDown && (E.Shift & ssLeft)) {
    PosToRowCol(E.X, E.Y, true, c, r);
    // Above the text the row above is aimed at, so the view scrolls up.
    if (E.Y < FTopMargin) --r;
    if (FVs.RowSelecting) {
      UpdateRowSelection(r);
    } else {
      SetRowCol(std::max(r, 0), c);
      if (Selected())
        UpdateSelection();
      else if (moved)
        SetSelection();
    }
    SyncRulerMark();
    return;
  }
  PosToRowCol(E.X, E.Y, false, c, r);
  if (E.X < FLeftMargin)
    SetCursorState(mcLeftMargin);
  else if (CanSelDrag() && IsSelectedArea(r, c))
    SetCursorState(mcInSel);
  else
    SetCursorState(mcClient);
}

void TEditor::MouseUp(const TMouseEvent& Event) {
  const TMouseEvent E = Reachable(Event);
  if (E.Button == mbRight) {
    if (FVs.DragState == TEditorViewState::dsNone && !FVs.LeftDown) ShowPopupMenu(E.X, E.Y);
    return;
  }
  if (E.Button != mbLeft) return;
  if (FVs.DragState == TEditorViewState::dsDragging)
    EndSelDrag(E.X, E.Y, (E.Shift & ssCtrl) != 0);
  else if (FVs.DragState == TEditorViewState::dsPending)
    CancelSelDrag();
  FVs.RowSelecting = false;
  FVs.LeftDown = false;
  if (FWindow) FWindow->ReleaseCapture();
  PutHeldImeResult();
  SyncRulerMark();
}

void TEditor::EndSelDrag(int X, int Y, bool Copy) {
  FVs.DragState = TEditorViewState::dsNone;
  FSelDragging = false;
  const TRect client{0, 0, FClientWidth, FClientHeight};
  const bool inside = X >= client.Left && X < client.Right && Y >= client.Top && Y < client.Bottom;
  if (!inside || IsSelectedArea(FRow, FCol))
    CleanSelection();
  else if (Copy)
    CopySelection(FRow, FCol);
  else
    MoveSelection(FRow, FCol);
  SetCursorState(mcClient);
}

void TEditor::CancelSelDrag(bool EscapeDown) {
  FVs.DragState = TEditorViewState::dsNone;
  FSelDragging = false;
  if (EscapeDown && FCaret->AutoCursor && FWindow) {
    FVs.CursorState = mcClient;
    FWindow->SetCursor(FCaret->Cursors().DefaultCursor);
  } else {
    SetCursorState(mcClient);
  }
  CleanSelection();
}

void TEditor::StartRowSelection(int R) {
  const int count = FList->Count();
  if (count == 0) return;
  R = std::clamp(R, 0, count);
  if (R == count && FList->Rows().GetRows(count - 1) == raEof) R = count - 1;
  TCaretUpdate hold(*this);
  CleanSelection();
  FVs.RowSelecting = true;
  FVs.RowSelAnchor = R;
  FVs.RowSelDown = true;
  FVs.RowSelAnchorEof = R < count && FList->Rows().GetRows(R) == raEof;
  if (FVs.RowSelAnchorEof) {
    // The last row has no line break: it is selected from its end back.
    SetRowCol(R, DisplayLength(R));
    InitSelection();
    SetRowCol(R, 0);
  } else {
    SetRowCol(R, 0);
    InitSelection();
    SetRowCol(R + 1, 0);
  }
  SetSelection();
}

void TEditor::UpdateRowSelection(int R) {
  if (!Selected() && FSelState != selPending) return;
  const int count = FList->Count();
  R = std::clamp(R, 0, count);
  if (R == count && count > 0 && FList->Rows().GetRows(count - 1) == raEof) R = count - 1;
  const int a = FVs.RowSelAnchor;
  // Whole rows either way: the anchor row stays selected when the pointer
  // crosses it.
  if (R < a) {
    if (FVs.RowSelAnchorEof)
      SetAnchor(a, DisplayLength(a));
    else
      SetAnchor(a + 1, 0);
    FVs.RowSelDown = false;
    SetRowCol(R, 0);
  } else {
    if (FVs.RowSelAnchorEof)
      SetAnchor(a, DisplayLength(a));
    else
      SetAnchor(a, 0);
    FVs.RowSelDown = true;
    if (R < count && FList->Rows().GetRows(R) == raEof)
      SetRowCol(R, FVs.RowSelAnchorEof && R == a ? 0 : DisplayLength(R));
    else
      SetRowCol(R + 1, 0);
  }
  SetSelection();
}

TEditorPopupMenu& TEditor::EnsurePopupMenu() {
  if (!FVs.Popup) FVs.Popup = std::make_unique<TEditorPopupMenu>(this);
  return *FVs.Popup;
}

void TEditor::ShowPopupMenu(int X, int Y) {
  if (!FWindow) return;
  EnsurePopupMenu().Popup(*FWindow, X, Y);
}

namespace {

struct TFoundToken {
  int FirstRow = 0, Pos = 0, Length = 0, Kind = 0;
  std::string Text;
};

// Token queries: the whole logical line holding the point is parsed from its
// first row, so that a token crossing a wrap is found whole.
bool FindToken(const TEditor& E, int X, int Y, bool UseEditor, bool Bracket, TFoundToken& F) {
  TEditorStrInfo info;
  if (!E.ListInfoFromPos(X, Y, info)) return false;
  int first = info.Line;
  while (first > 0 && E.ListRows(first - 1) == raWrapped) --first;
  std::string line;
  int offset = 0;
  for (int r = first; r < E.ListCount(); ++r) {
    if (r == info.Line) offset = static_cast<int>(line.size()) + info.CharIndex;
    line += E.ListStr(r);
    if (E.ListRows(r) != raWrapped) break;
  }
  std::unique_ptr<IEditorRowParser> owner;
  TEditorParser plain{std::string()};
  TEditorParser* p = &plain;
  if (UseEditor)
    if (const TEditorParserClass& cls = E.ScreenStringsPtr()->GetParserClass()) {
      owner = cls(std::string(), &E, -1);
      if (auto* q = dynamic_cast<TEditorParser*>(owner.get())) p = q;
    }
  p->NewData(line, UseEditor ? &E : nullptr, Bracket ? E.ListBracket(first) : -2, Bracket ? E.ListToken(first) : 0);
  for (int k = p->Token(); k != toEof; k = p->NextToken()) {
    const int pos = p->SourcePos();
    if (pos > offset) break;
    if (offset < pos + p->TokenLength()) {
      F = TFoundToken{first, pos, p->TokenLength(), k, p->TokenString()};
      return true;
    }
  }
  return false;
}

}  // namespace

bool TEditor::PosTokenString(int X, int Y, bool UseEditor, std::string& S, bool Bracket, int& Token) const {
  TFoundToken f;
  const bool found = FindToken(*this, X, Y, UseEditor, Bracket, f);
  S = f.Text;
  Token = f.Kind;
  return found;
}

void TEditor::SelectPosToken(int X, int Y, bool UseEditor, bool Bracket) {
  TFoundToken f;
  if (!FindToken(*this, X, Y, UseEditor, Bracket, f) || f.Length == 0) return;
  CleanSelection();
  SetSelStart(TextOffset(f.FirstRow, 0) + f.Pos);
  SetSelLength(f.Length);
}

std::string TEditor::WordFromPos(int X, int Y) const {
  std::string s;
  int t;
  PosTokenString(X, Y, false, s, false, t);
  return s;
}

std::string TEditor::TokenStringFromPos(int X, int Y) const {
  std::string s;
  int t;
  PosTokenString(X, Y, true, s, false, t);
  return s;
}

std::string TEditor::TokenStringBracketFromPos(int X, int Y) const {
  std::string s;
  int t;
  PosTokenString(X, Y, true, s, true, t);
  return s;
}

int TEditor::TokenFromPos(int X, int Y) const {
  std::string s;
  int t;
  PosTokenString(X, Y, true, s, false, t);
  return t;
}

int TEditor::TokenBracketFromPos(int X, int Y) const {
  std::string s;
  int t;
  PosTokenString(X, Y, true, s, true, t);
  return t;
}

void TEditor::SelectWordFromPos(int X, int Y) { SelectPosToken(X, Y, false, false); }
void TEditor::SelectTokenFromPos(int X, int Y) { SelectPosToken(X, Y, true, false); }
void TEditor::SelectTokenBracketFromPos(int X, int Y) { SelectPosToken(X, Y, true, true); }

namespace {

// The caret's point, one pixel inside its column so that rounding keeps it there.
void CaretPoint(const TEditor& E, int& X, int& Y) {
  X = E.LeftMargin() + (E.Col() - E.TopCol()) * E.ColWidth() + 1;
  Y = E.TopMargin() + (E.Row() - E.TopRow()) * E.RowHeight();
}

}  // namespace

std::string TEditor::WordFromCaret() const {
  int x, y;
  CaretPoint(*this, x, y);
  return WordFromPos(x, y);
}

std::string TEditor::TokenStringFromCaret() const {
  int x, y;
  CaretPoint(*this, x, y);
  return TokenStringFromPos(x, y);
}

std::string TEditor::TokenStringBracketFromCaret() const {
  int x, y;
  CaretPoint(*this, x, y);
  return TokenStringBracketFromPos(x, y);
}

int TEditor::TokenFromCaret() const {
  int x, y;
  CaretPoint(*this, x, y);
  return TokenFromPos(x, y);
}

int TEditor::TokenBracketFromCaret() const {
  int x, y;
  CaretPoint(*this, x, y);
  return TokenBracketFromPos(x, y);
}

void TEditor::SelectWordFromCaret() {
  int x, y;
  CaretPoint(*this, x, y);
  SelectWordFromPos(x, y);
}

void TEditor::SelectTokenFromCaret() {
  int x, y;
  CaretPoint(*this, x, y);
  SelectTokenFromPos(x, y);
}

void TEditor::SelectTokenBracketFromCaret() {
  int x, y;
  CaretPoint(*this, x, y);
  SelectTokenBracketFromPos(x, y);
}

}  // namespace vel
