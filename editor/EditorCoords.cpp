// Measures of the control: column maps, the three coordinate systems and the
// conversions between them, and the pixel geometry of the view.
#include <algorithm>

#include "editor/Editor.h"

namespace vel {

namespace {

int Size(const std::string& s) { return static_cast<int>(s.size()); }

int Digits(int n) {
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

}  // namespace

TColumnMapOptions TEditor::ColumnOptions() const {
  return FList->ColumnOptions();
}

std::string TEditor::StrToAttributes(const std::string& S) const { return vel::StrToAttributes(S, ColumnOptions()); }
std::string TEditor::ExpandTab(const std::string& S) const { return vel::ExpandTab(S, ColumnOptions()); }
int TEditor::ExpandLength(const std::string& S) const { return vel::ExpandLength(S, ColumnOptions()); }

std::string TEditor::ListStr(int Row) const {
  return Row >= 0 && Row < FList->Count() ? FList->Rows().Get(Row) : std::string();
}

TEditorRowAttribute TEditor::ListRows(int Row) const {
  return Row >= 0 && Row < FList->Count() ? FList->Rows().GetRows(Row) : raEof;
}

int TEditor::ListToken(int Row) const { return Row >= 0 && Row < FList->Count() ? FList->Rows().GetTokens(Row) : 0; }
int TEditor::ListBracket(int Row) const { return Row >= 0 && Row < FList->Count() ? FList->Rows().GetBrackets(Row) : -1; }

std::string TEditor::ListToStr(const TEditorStringList& List) const {
  std::string s;
  for (int r = 0; r < List.Count(); ++r) {
    s += List.Get(r);
    if (List.GetRows(r) == raCrlf) s += "\r\n";
  }
  return s;
}

std::string TEditor::ExpandListStr(int Row) const {
  std::string s;
  ExpandListStrTo(Row, s);
  return s;
}

void TEditor::ExpandListStrTo(int Row, std::string& Out) const {
  // Straight from the row: a long row is not copied twice.
  if (Row >= 0 && Row < FList->Count())
    vel::ExpandTabTo(FList->Rows().Get(Row), ColumnOptions(), Out);
  else
    Out.clear();
}

int TEditor::ExpandListLength(int Row) const { return DisplayLength(Row); }

int TEditor::DisplayLength(int Row) const {
  if (Row < 0 || Row >= FList->Count()) return 0;
  return vel::ExpandLength(FList->Rows().Get(Row), ColumnOptions());
}

int TEditor::MaxCol() const {
  if (FMaxRowLength < 0) {
    // A row can be no wider than its bytes times the tab width, so most rows
    // are passed over without being measured.
    const int T = FCaret->TabSpaceCount();
    const TColumnMapOptions o = ColumnOptions();
    int m = 0;
    for (int r = 0; r < FList->Count(); ++r) {
      const std::string& s = FList->Rows().Get(r);
      const long widest = static_cast<long>(s.size()) * T;
      if (widest <= m || widest <= MinMaxCol) continue;
      m = std::max(m, vel::ExpandLength(s, o));
    }
    FMaxRowLength = m;
  }
  return std::max(MinMaxCol, FMaxRowLength);
}

// Rows that shrank or left keep the limit where it was until the next full
// measure (a load or a rewrap); a limit too high only lets the view scroll
// further than needed.
void TEditor::RaiseMaxCol(int Start, int Count) const {
  if (FMaxRowLength < 0) return;
  const int end = std::min(Start + Count, FList->Count());
  for (int r = std::max(Start, 0); r < end; ++r) FMaxRowLength = std::max(FMaxRowLength, DisplayLength(r));
}

void TEditor::PosToRowCol(int X, int Y, bool Round, int& ACol, int& ARow) const {
  const int w = std::max(FColWidth, 1);
  int x = Round ? X + w / 2 - 1 - FLeftMargin : X - FLeftMargin;
  // Division rounding down, also left of the margin.
  int c = (x >= 0 ? x / w : -((-x + w - 1) / w)) + FTopCol;
  ACol = std::max(0, c);
  const int y = Y - FTopMargin, h = std::max(FRowHeight, 1);
  ARow = (y >= 0 ? y / h : -((-y + h - 1) / h)) + FTopRow;
}

void TEditor::SetCaretPosition(int& X, int& Y) const {
  X = FLeftMargin + (FCol - FTopCol) * FColWidth;
  Y = FTopMargin + (FRow - FTopRow) * FRowHeight;
  if (FCaret->Style() == csBrief && !FOverWrite) Y += FFontHeight - 2;
}

bool TEditor::ListInfoFromPos(int X, int Y, TEditorStrInfo& Info) const {
  Info = TEditorStrInfo{};
  if (FList->Count() == 0 || X < FLeftMargin || Y < FTopMargin) return false;
  int c, r;
  PosToRowCol(X, Y, true, c, r);
  if (r >= FList->Count()) return false;
  const std::string& s = FList->Rows().Get(r);
  const std::string a = StrToAttributes(s);
  if (c > Size(a)) {
    Info.Line = r;
    Info.CharIndex = Size(s);
    return false;
  }
  while (c > 0 && c < Size(a) && (a[c] == cmTrail || a[c] == cmTabBlank)) --c;
  Info.Line = r;
  Info.CharIndex = ColumnToIndex(s, c, ColumnOptions());
  return true;
}

TEditorStrInfo TEditor::StrInfoFromPos(int X, int Y) const {
  TEditorStrInfo info;
  if (!ListInfoFromPos(X, Y, info)) return TEditorStrInfo{};
  int c, r;
  PosToRowCol(X, Y, true, c, r);
  return TEditorStrInfo{RowToLines(r), ColToChar(r, c)};
}

int TEditor::ColToChar(int Row, int Col) const {
  if (Row == FList->Count() && Row >= 0 && Col >= 0) return 0;
  return vel::ColToChar(FList->Rows(), Row, Col, ColumnOptions());
}

int TEditor::CharFromPos(int X, int Y) const {
  TEditorStrInfo info;
  if (!ListInfoFromPos(X, Y, info)) return -1;
  return TextOffset(info.Line, info.CharIndex);
}

int TEditor::GetSelIndex(int FromRow, int ToRow, int Col) const {
  const int index = ToRow >= 0 && ToRow < FList->Count() ? ColumnToIndex(FList->Rows().Get(ToRow), Col, ColumnOptions()) : 0;
  return FList->TextOffset(ToRow, index) - FList->TextOffset(FromRow);
}

void TEditor::SetSelIndex(int FromRow, int Index) {
  const TRowCol p = FList->RowColAt(FromRow, Index);
  SetRowCol(p.Row, p.Col);
}

int TEditor::RowToLines(int Row) const { return FList->RowToLines(Row); }

int TEditor::CharIndexOf(int Row, int Col) const {
  if (Col <= 0) return 0;
  const std::string s = ListStr(Row);
  const TColumnMapOptions o = ColumnOptions();
  const int L = vel::ExpandLength(s, o);
  if (Col >= L) return Size(s) + (Col - L);
  return ColumnToIndex(s, Col, o);
}

int TEditor::TextOffset(int Row, int Index) const { return FList->TextOffset(Row, Index); }

int TEditor::GetTextLen() const { return FList->TextLength(); }

void TEditor::OffsetToRowCol(int64_t Offset, int& ARow, int& ACol) const {
  const TTextPos p = FList->OffsetToPos(Offset);
  ARow = p.Row;
  ACol = IndexToColumn(ListStr(p.Row), p.Index, ColumnOptions());
}

int TEditor::LeftbarWidth() const {
  const int count = FList->Count();
  int largest = FLeftbar->ShowNumberMode() == nmRow ? count - 1 : RowToLines(count - 1);
  if (!FLeftbar->ZeroBase()) ++largest;
  if (count > 0 && FList->Rows().GetRows(count - 1) == raCrlf) ++largest;
  const int digits = std::min(8, std::max(FLeftbar->Column(), Digits(std::max(largest, 0))));
  return FLeftbar->LeftMargin() + digits * FColWidth + FLeftbar->RightMargin() + 2;
}

int TEditor::RulerHeight() const { return FRuler->Visible() ? (FRuler->Edge() ? 11 : 10) : 0; }

void TEditor::InitDrawInfo() {
  if (!FWindow) return;
  TTextMetrics tm;
  {
    std::unique_ptr<ICanvas> canvas = FWindow->GetCanvas();
    canvas->SetFont(FFont);
    tm = canvas->GetTextMetrics();
  }
  FFontHeight = std::max(1, tm.Height + tm.ExternalLeading);
  FCharWidth = std::max(1, tm.AveCharWidth);
  FColWidth = FCharWidth + FMargin->Character();
  FRowHeight = FFontHeight + FMargin->Line() + FMargin->UnderlineMargin();
  FLeftMargin = FMargin->Left() + (FLeftbar->Visible() ? LeftbarWidth() : 0);
  FTopMargin = FMargin->Top() + RulerHeight();
  // The client rectangle is already without the scroll bars.
  const TRect client = FWindow->ClientRect();
  FClientWidth = client.Width();
  FClientHeight = client.Height();
  FVisibleRows = std::max(1, (FClientHeight - FTopMargin - 5) / FRowHeight);
  FVisibleCols = std::max(1, (FClientWidth - FLeftMargin - FColWidth / 2) / FColWidth);
  FList->SetScreenRows(FClientHeight / std::max(FRowHeight, 1));
}

}  // namespace vel
