// Painting the text rows: every byte takes one column of fixed width, so a
// row is placed by columns and never measured. A row is one opaque output of
// its visible span in the default colours plus one output per token whose
// colours differ; with an italic colour anywhere the row is cleared first and
// every token drawn transparently, so slanted glyphs are not cut.
//
// Only the part of a row inside the piece being painted is handed to the
// canvas, cut at character boundaries, with an advance table of exactly that
// many entries: a row longer than any table is still drawn whole at any
// scroll position, and the cost of a row does not grow with its hidden part.
#include <algorithm>

#include "editor/Editor.h"
#include "syntax/EditorParser.h"
#include "text/Sjis.h"

namespace vel {

namespace {

int Size(const std::string& s) { return static_cast<int>(s.size()); }

bool Meets(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

bool Empty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

TFontSpec Styled(const TFontSpec& f, TFontStyles s) {
  TFontSpec r = f;
  r.Bold = s.Contains(fsBold);
  r.Italic = s.Contains(fsItalic);
  r.Underline = s.Contains(fsUnderline);
  r.StrikeOut = s.Contains(fsStrikeOut);
  return r;
}

TFontStyles StyleOf(const TFontSpec& f) {
  TFontStyles s;
  if (f.Bold) s.Include(fsBold);
  if (f.Italic) s.Include(fsItalic);
  if (f.Underline) s.Include(fsUnderline);
  if (f.StrikeOut) s.Include(fsStrikeOut);
  return s;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The columns [From, To) of S that cover pixels [Left, Right) of a row whose
// column 0 is at X, widened to whole characters. Scan is a character start
// at or before the first of those columns, where the walk may begin.
void Span(const std::string& S, int X, int W, int Left, int Right, int Scan, int& From, int& To) {
  const int n = Size(S);
  const int a = std::clamp(FloorDiv(Left - X, W), 0, n);
  const int b = std::clamp(FloorDiv(Right - X + W - 1, W), 0, n);
  int i = std::min(Scan, a);
  int start = i;
  // Characters are found by walking forward, never backwards.
  while (i < a) {
    start = i;
    i = static_cast<int>(sjis::NextChar(S, static_cast<size_t>(i)));
  }
  From = i == a ? a : start;
  while (i < b) i = static_cast<int>(sjis::NextChar(S, static_cast<size_t>(i)));
  To = std::min(i, n);
}

}  // namespace

// A canvas for drawing outside a paint pass, held while the drawing lasts.
class TDirectCanvas {
 public:
  TDirectCanvas(TEditorViewState& Vs, IWindow* W) : FVs(Vs) {
    if (!FVs.Canvas && W) {
      FOwn = W->GetCanvas();
      FVs.Canvas = FOwn.get();
    }
  }
  ~TDirectCanvas() {
    if (FOwn) FVs.Canvas = nullptr;
  }
  TDirectCanvas(const TDirectCanvas&) = delete;
  TDirectCanvas& operator=(const TDirectCanvas&) = delete;

 private:
  TEditorViewState& FVs;
  std::unique_ptr<ICanvas> FOwn;
};

ICanvas& TEditor::PaintCanvas() { return *FVs.Canvas; }

// One column per byte: a double-byte character advances by both of its
// columns at its lead byte, and its trail byte by nothing.
void TEditor::SetAdvances(const std::string& Piece) {
  std::vector<int>& a = FVs.Advances;
  a.assign(Piece.size(), FColWidth);
  for (size_t i = 0; i < Piece.size(); i = sjis::NextChar(Piece, i))
    if (sjis::CharLen(Piece, i) == 2) a[i] = 2 * FColWidth, a[i + 1] = 0;
}

void TEditor::SetColor(TColor Value) {
  if (Value == FVs.Color) return;
  FVs.Color = Value;
  Invalidate();
}

bool TEditor::ItalicMode() const {
  if (FFont.Italic) return true;
  const TEditorColors& c = FView->Colors();
  for (int i = 0; i < TEditorColors::Count; ++i)
    if (c.Items(i).Style().Contains(fsItalic)) return true;
  const TEditorBracketCollection& b = FView->Brackets();
  for (int i = 0; i < b.Count(); ++i)
    if (b.BracketItems(i).ItemColor().Style().Contains(fsItalic)) return true;
  return false;
}

void TEditor::Paint(ICanvas& Canvas, const TRect& Area) {
  ICanvas* old = FVs.Canvas;
  FVs.Canvas = &Canvas;
  struct TRestore {
    TEditorViewState& Vs;
    ICanvas* Old;
    ~TRestore() { Vs.Canvas = Old; }
  } restore{FVs, old};
  PaintRect(Area);
}

void TEditor::PaintRect(const TRect& Rect) {
  if (!FWindow) return;
  TDirectCanvas direct(FVs, FWindow);
  const int T = FTopMargin, L = FLeftMargin, W = FClientWidth, H = FClientHeight;
  const int rh = RulerHeight();
  {
    TCaretUpdate hold(*this);
    InitMarginBitmaps();
    ICanvas& c = PaintCanvas();
    if (Meets(Rect, {0, 0, L, T}) && FVs.OriginBase) c.Draw(0, 0, *FVs.OriginBase, {0, 0, L, T});
    if (FRuler->Visible() && Meets(Rect, {L, 0, W, rh})) PaintRuler();
    // Snapped to whole columns and whole rows.
    const int left = Rect.Left <= L ? L : L + (Rect.Left - L) / FColWidth * FColWidth;
    const int top = T + (std::max(Rect.Top, T) - T) / FRowHeight * FRowHeight;
    const int bottom = Rect.Bottom <= top ? top : T + (Rect.Bottom - T + FRowHeight - 1) / FRowHeight * FRowHeight;
    const int first = (top - T) / FRowHeight + FTopRow;
    const int last = first + (bottom - top) / FRowHeight - 1;
    if (FLeftbar->Visible() && Rect.Left < L - FMargin->Left() && last >= first) PaintLeftbar(first, last);
    // The strip between the left bar and the text, and the top margin when no
    // ruler covers it, belong to no row: nothing else paints them, and an
    // unpainted window shows whatever was there before.
    const TRect gap{L - FMargin->Left(), T, L, H};
    if (FMargin->Left() > 0 && Meets(Rect, gap)) c.FillRect(Intersect(Rect, gap), FVs.Color);
    const TRect above{L, rh, W, T};
    if (T > rh && Meets(Rect, above)) c.FillRect(Intersect(Rect, above), FVs.Color);
    if (Rect.Right > L && last >= first) {
      std::unique_ptr<IEditorRowParser> owner;
      if (const TEditorParserClass& cls = FList->GetParserClass()) owner = cls(std::string(), this, -1);
      TEditorParser* parser = dynamic_cast<TEditorParser*>(owner.get());
      const int X0 = L - FTopCol * FColWidth;
      const int pieceH = FFontHeight + (Selected() || FVs.Painting ? FMargin->UnderlineMargin() : 0);
      const int count = FList->Count();
      for (int r = first; r <= last; ++r) {
        const int y = T + (r - FTopRow) * FRowHeight;
        if (y >= H) break;
        const TRect piece{left, y, Rect.Right, y + pieceH};
        if (r < count) {
          std::string& s = FVs.RowText;
          ExpandListStrTo(r, s);
          if (Selected())
            PaintRectSelected(piece, X0, parser, r, s, y);
          else
            PaintLine(piece, X0, parser, r, s, y);
        } else {
          c.FillRect(piece, FVs.Color);
          if (FMarks->EofMark().Visible() && r == count && (count == 0 || FList->Rows().GetRows(count - 1) == raCrlf))
            DrawEof(X0, y);
        }
        // The gap between rows belongs to no row: kept in the control colour.
        if (pieceH < FRowHeight) c.FillRect({left, y + pieceH, Rect.Right, y + FRowHeight}, FVs.Color);
      }
      ReleaseHugeRowText();
    }
  }
  if (FMarks->Underline().Visible() && FUnderlineCount == 0 && !Selected() && FRow >= FTopRow &&
      FRow <= FTopRow + FVisibleRows)
    DrawUnderline(FRow);
}

// The row buffer is reused from row to row and paint to paint, but a huge
// row's storage is not kept for the life of the control.
void TEditor::ReleaseHugeRowText() {
  if (FVs.RowText.capacity() > (size_t{1} << 20)) std::string().swap(FVs.RowText);
}

void TEditor::DrawTextRect(const TRect& Rect, int X, bool Opaque, const std::string& S, int Y, int From, int To,
                           TColor Fg, TColor Bg) {
  ICanvas& c = PaintCanvas();
  if (From >= To) {
    if (Opaque) c.FillRect(Rect, Bg);
    return;
  }
  const std::string piece = S.substr(static_cast<size_t>(From), static_cast<size_t>(To - From));
  SetAdvances(piece);
  c.TextOut(X + From * FColWidth, Y, Rect, piece, FVs.Advances, Fg, Opaque ? Bg : clNone);
}

void TEditor::PaintLine(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S, int Y) {
  PaintPiece(Rect, X, Parser, Row, S, Y, false);
}

void TEditor::PaintLineSelected(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S,
                                int Y) {
  PaintPiece(Rect, X, Parser, Row, S, Y, true);
}

void TEditor::PaintPiece(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S, int Y,
                         bool Sel) {
  if (Empty(Rect)) return;
  ICanvas& c = PaintCanvas();
  if (FList->Rows().GetBrackets(Row) == -2) FList->UpdateBrackets(Row, false);
  const bool italic = ItalicMode();
  const TEditorColor& select = FView->Colors().Select();
  const TColor bg = Sel ? select.BkColor() : FVs.Color;
  const TColor fg = Sel ? select.Color() : FFont.Color;
  const TFontStyles fontStyle = StyleOf(FFont);
  const int n = Size(S);
  const int left = std::max(Rect.Left, FLeftMargin);
  const int colA = std::clamp(FloorDiv(left - X, FColWidth), 0, n);
  const int colB = std::clamp(FloorDiv(Rect.Right - X + FColWidth - 1, FColWidth), 0, n);
  // The tokens first: the last one starting before the view is where the
  // character walk may begin.
  std::vector<TPaintToken>& tokens = FVs.Tokens;
  tokens.clear();
  int scan = 0;
  // What the parser reads: the row, or the row joined to the next across a wrap.
  std::string joined;
  const std::string* parsed = &S;
  TRect clip = Rect;
  if (Parser && n > 0 && (n + 1) * FColWidth + X > FLeftMargin && colA < colB) {
    if (FList->GetWordWrap() && FList->Rows().GetRows(Row) == raWrapped && Row + 1 < FList->Count()) {
      // Tokens may cross the wrap: the parser reads on into the next row.
      joined = S + ExpandListStr(Row + 1);
      parsed = &joined;
      clip.Right = std::min(clip.Right, X + n * FColWidth);
    }
    const int bracket = FList->Rows().GetBrackets(Row), token = FList->Rows().GetTokens(Row);
    // A long row is read from a place near the view, found from the bytes
    // there, else kept from an earlier paint; and only up to a place past it.
    TParseResumeCache::TEntry* kept = nullptr;
    TParseResumeCache::TPoint start{-1, bracket};
    int stop = n;
    if (parsed == &S && n >= TParseResumeCache::kMinLength && Parser->CanResume()) {
      const TEditorParser::TSync sync = Parser->SyncAround(S, this, bracket, token, colA, colB);
      start = sync.From;
      stop = sync.End;
      if (start.Pos < 0 || colA - start.Pos > TParseResumeCache::kStep) {
        kept = FVs.Resume.Entry(Row, S, bracket, token, FView->Revision());
        const TParseResumeCache::TPoint* k = kept ? kept->Before(colA) : nullptr;
        if (k && k->Pos > start.Pos) start = *k;
      }
    }
    if (start.Pos >= 0) {
      Parser->ResumeFrom(S, this, start, stop);
      scan = start.Pos;
    } else {
      Parser->NewData(*parsed, this, bracket, token);
    }
    for (int k = Parser->Token(); k != toEof; k = Parser->NextToken()) {
      const int pos = Parser->SourcePos();
      if (pos >= n || pos > colB) break;
      if (pos <= colA) scan = pos;
      const int end = std::min(pos + Parser->TokenLength(), n);
      if (end >= colA) tokens.push_back({pos, end, Parser->TokenToEditorColor()});
      if (kept) kept->Offer(Parser->ResumePoint());
    }
  }
  int from, to;
  Span(S, X, FColWidth, left, Rect.Right, scan, from, to);
  c.SetFont(FFont);
  if (italic)
    c.FillRect(Rect, bg);
  else
    DrawTextRect(Rect, X, true, S, Y, from, to, fg, bg);
  bool styled = false;
  for (const TPaintToken& t : tokens) {
    const int a = std::max(t.Pos, from), b = std::min(t.End, to);
    if (a >= b) continue;
    const TEditorColor* tc = t.Color;
    const TColor tbg = tc ? tc->BkColor() : FVs.Color;
    const TColor tfg = tc ? tc->Color() : FFont.Color;
    const TFontStyles ts = tc ? tc->Style() : fontStyle;
    if (!italic && (Sel ? ts == fontStyle : (tbg == FVs.Color && tfg == FFont.Color && ts == fontStyle))) continue;
    c.SetFont(Styled(FFont, ts));
    styled = true;
    // An opaque output fills its whole clip: it must not reach past the
    // token's own columns, or it would wipe the tokens beside it. A
    // transparent one keeps the piece, so that slanted glyphs are not cut.
    const bool opaque = Sel ? !italic : (!italic || tbg != FVs.Color);
    const TRect cells = opaque ? Intersect(clip, {X + a * FColWidth, clip.Top, X + b * FColWidth, clip.Bottom}) : clip;
    DrawTextRect(cells, X, opaque, S, Y, a, b, Sel ? fg : tfg, Sel ? bg : tbg);
  }
  if (styled) c.SetFont(FFont);
  DoDrawLine(Rect, X, Y, Row, *parsed, Sel);
  const int end = X + n * FColWidth;
  if (end >= Rect.Left && end < Rect.Right) {
    const TEditorRowAttribute a = FList->Rows().GetRows(Row);
    if (FMarks->EofMark().Visible() && Row == FList->Count() - 1 && a == raEof)
      DrawEof(end, Y);
    else if (FMarks->RetMark().Visible() && a == raCrlf)
      Sel ? DrawRetMarkSelected(end, Y) : DrawRetMark(end, Y);
  }
}

bool TEditor::SelSpan(int Row, const TColRange& K, int& X0, int& X1) const {
  if (Row < K.StartRow || Row > K.EndRow) return false;
  const int off = FTopCol * FColWidth;
  auto colX = [&](int c) { return FLeftMargin + c * FColWidth - off; };
  if (FSelectionMode == smBox) {
    const std::string a = StrToAttributes(ListStr(Row));
    const int n = Size(a);
    int sc = std::min(K.StartCol, n), ec = std::min(K.EndCol, n);
    // A character straddling an edge: left out at the left, taken in at the right.
    if (sc < n && a[static_cast<size_t>(sc)] == cmTrail) ++sc;
    if (ec < n && a[static_cast<size_t>(ec)] == cmTrail) ++ec;
    X0 = colX(sc);
    X1 = colX(ec);
  } else {
    X0 = Row == K.StartRow ? colX(K.StartCol) : FLeftMargin;
    X1 = Row == K.EndRow ? colX(K.EndCol) : FClientWidth;
  }
  X0 = std::max(X0, FLeftMargin);
  X1 = std::min(X1, FClientWidth);
  return X1 > X0;
}

void TEditor::PaintRectSelected(const TRect& Rect, int X, TEditorParser* Parser, int Row, const std::string& S,
                                int Y) {
  int x0, x1;
  if (!SelSpan(Row, FSelCol, x0, x1)) {
    PaintLine(Rect, X, Parser, Row, S, Y);
    return;
  }
  PaintLine(Intersect(Rect, {Rect.Left, Rect.Top, x0, Rect.Bottom}), X, Parser, Row, S, Y);
  PaintLineSelected(Intersect(Rect, {x0, Rect.Top, x1, Rect.Bottom}), X, Parser, Row, S, Y);
  PaintLine(Intersect(Rect, {x1, Rect.Top, Rect.Right, Rect.Bottom}), X, Parser, Row, S, Y);
}

void TEditor::DoDrawLine(const TRect& ARect, int X, int Y, int Index, const std::string& LineStr, bool ASelected) {
  if (OnDrawLine) OnDrawLine(this, LineStr, X, Y, Index, ARect, ASelected);
}

void TEditor::DrawEof(int X, int Y) {
  if (!FWindow) return;
  TDirectCanvas direct(FVs, FWindow);
  TCaretUpdate hold(*this);
  static const std::string eof = "[EOF]";
  TRect clip = Intersect({X, Y, X + 6 * FColWidth, Y + FFontHeight}, {FLeftMargin, FTopMargin, FClientWidth, FClientHeight});
  if (Empty(clip)) return;
  ICanvas& c = PaintCanvas();
  c.SetFont(FFont);
  SetAdvances(eof);
  c.TextOut(X, Y, clip, eof, FVs.Advances, FMarks->EofMark().Color(), FVs.Color);
}

namespace {

void Arrow(ICanvas& c, int X, int Y, int W, int H, TColor Color) {
  const int x = X + W / 2;
  c.Line(x, Y + 6, x, Y + H - 4, Color);
  c.Line(x, Y + H - 4, x + 3, Y + H - 7, Color);
  c.Line(x, Y + H - 4, x - 3, Y + H - 7, Color);
}

}  // namespace

void TEditor::DrawRetMark(int X, int Y) {
  if (X < FLeftMargin || !FWindow) return;
  TDirectCanvas direct(FVs, FWindow);
  Arrow(PaintCanvas(), X, Y, FColWidth, FFontHeight, FMarks->RetMark().Color());
}

void TEditor::DrawRetMarkSelected(int X, int Y) {
  if (X < FLeftMargin || !FWindow) return;
  TDirectCanvas direct(FVs, FWindow);
  Arrow(PaintCanvas(), X, Y, FColWidth, FFontHeight, FView->Colors().Select().Color());
}

void TEditor::DrawSelection() {
  if (!FWindow) {
    FPrevSelCol = FSelCol;
    return;
  }
  TDirectCanvas direct(FVs, FWindow);
  TCaretUpdate hold(*this);
  FVs.Painting = true;
  struct TDone {
    TEditor& E;
    ~TDone() {
      E.FVs.Painting = false;
      E.FPrevSelCol = E.FSelCol;
    }
  } done{*this};
  const TColRange& p = FPrevSelCol;
  const TColRange& k = FSelCol;
  const int first = std::max(std::min(p.StartRow, k.StartRow), FTopRow);
  const int last = std::min({std::max(p.EndRow, k.EndRow), FTopRow + FVisibleRows, FList->Count() - 1});
  std::unique_ptr<IEditorRowParser> owner;
  if (const TEditorParserClass& cls = FList->GetParserClass()) owner = cls(std::string(), this, -1);
  TEditorParser* parser = dynamic_cast<TEditorParser*>(owner.get());
  const int X0 = FLeftMargin - FTopCol * FColWidth;
  const int h = FFontHeight + FMargin->UnderlineMargin();
  for (int r = first; r <= last; ++r) {
    int a0 = 0, a1 = 0, b0 = 0, b1 = 0;
    const bool was = SelSpan(r, p, a0, a1) && !(p.StartRow == p.EndRow && p.StartCol == p.EndCol);
    const bool is = SelSpan(r, k, b0, b1);
    if (!was) a0 = a1 = 0;
    if (!is) b0 = b1 = 0;
    if (a0 == b0 && a1 == b1) continue;
    const int y = FTopMargin + (r - FTopRow) * FRowHeight;
    std::string& s = FVs.RowText;
    ExpandListStrTo(r, s);
    // The pieces that changed state: the symmetric difference of the spans.
    std::vector<std::pair<int, int>> changed;
    if (!was || !is || a1 <= b0 || b1 <= a0) {
      if (was) changed.push_back({a0, a1});
      if (is) changed.push_back({b0, b1});
    } else {
      if (a0 != b0) changed.push_back({std::min(a0, b0), std::max(a0, b0)});
      if (a1 != b1) changed.push_back({std::min(a1, b1), std::max(a1, b1)});
    }
    for (auto [x0, x1] : changed)
      if (x1 > x0) PaintRectSelected({x0, y, x1, y + h}, X0, parser, r, s, y);
  }
  ReleaseHugeRowText();
}

void TEditor::InvalidateRow(int Row1, int Row2) {
  if (!FWindow) return;
  InvalidateRows(Row1, Row2);
  FWindow->Update();
}

void TEditor::LineScroll(int Row, int Count) {
  if (!FWindow || Count == 0) return;
  const int r = std::clamp(Row, FTopRow, FTopRow + FVisibleRows + 1);
  const int y = FTopMargin + (r - FTopRow) * FRowHeight;
  if (y >= FClientHeight) return;
  TUnderlineUpdate underline(*this);
  DoScroll(0, Count * FRowHeight, TRect{FLeftMargin, y, FClientWidth, FClientHeight});
}

}  // namespace vel
